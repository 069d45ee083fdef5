#pragma once
#include <cstdint>

#include "core/Hitbox.h"

// Collision and containment tests. Rectangles are whole numbers with inclusive edges and y
// growing downwards; the float records (Hitbox, ZoneRect, loose corners) are truncated toward
// zero first, so box tests are decided on integer pixels. Non-finite or huge corners are
// clamped before truncation. Polygon tests work on floats.
struct IntRect
{
    int32_t mLft;
    int32_t mTop;
    int32_t mRgt;
    int32_t mBot;
};

// A polygon given as two parallel coordinate arrays; vertex i is (rX[i], rY[i]) and the last
// joins the first. The record does not own the arrays.
struct PolygonArrays
{
    int32_t mCount;
    const float *rX;
    const float *rY;
};

// Far beyond any world coordinate, and small enough that differences stay inside i32. Float
// coordinates are clamped to it; coordinates read from files past it are refused.
#define GEOMETRY_COORDINATE_LIMIT 1000000000

// The truncation every float-taking test uses.
int32_t TruncateCoordinate(float pValue);
// A number a script gave for a place, a size or a distance, held to the limit the same way but
// kept a float: NaN becomes 0, infinities and larger values the limit.
float ClampCoordinate(double pValue);
IntRect TruncateCorners(float pLft, float pTop, float pRgt, float pBot);
IntRect TruncateHitbox(const Hitbox &pBox);
IntRect TruncateZoneRect(const ZoneRect &pRect);

bool PointInRectangle(int32_t pX, int32_t pY, IntRect pRect);

// Puts each pair of edges in order, left <= right and top <= bottom, as a rectangle given with a
// negative width or height means; true when a pair had to be swapped. Edges that are not numbers
// stay as they are.
bool OrderRectangleEdges(float &sLft, float &sTop, float &sRgt, float &sBot);

// The part both rectangles share; false, with the box the wrong way round, when they share none.
bool RectangleIntersection(IntRect pA, IntRect pB, IntRect &sBoth);
bool PointInFloatRectangle(int32_t pX, int32_t pY, float pLft, float pTop, float pRgt, float pBot);

// Touching edges overlap.
bool RectanglesOverlap(IntRect pA, IntRect pB);
bool HitboxOverlapsRectangle(Hitbox pBox, IntRect pRect);
bool HitboxesOverlap(Hitbox pA, Hitbox pB);
bool ZoneRectOverlapsRectangle(ZoneRect pZone, IntRect pRect);
bool ZoneRectOverlapsFloatRectangle(ZoneRect pZone, float pLft, float pTop, float pRgt, float pBot);
bool HitboxOverlapsZoneRect(Hitbox pBox, ZoneRect pZone);

// True when either lies wholly inside the other (equal rectangles are nested).
bool RectanglesNested(IntRect pA, IntRect pB);
bool HitboxRectangleNested(Hitbox pBox, IntRect pRect);
bool ZoneRectRectangleNested(ZoneRect pZone, IntRect pRect);
bool HitboxesNested(Hitbox pA, Hitbox pB);

// Share of A's area that B covers, 0.0 to 1.0. Widths here are right minus left, so
// rectangles that only touch overlap but cover nothing.
float RectangleOverlapFraction(IntRect pA, IntRect pB);
float HitboxOverlapFraction(Hitbox pBox, IntRect pRect);

// Polygon record: the vertex count as a float, then that many x, y pairs. Convex polygons
// whose vertices run clockwise on screen (y down); a point on an edge is inside. Fewer than
// three vertices contain nothing.
bool PointInPolygon(float pX, float pY, const float *pPolygon);
bool PointInPolygonArrays(float pX, float pY, int32_t pCount, const float *pXs, const float *pYs);

// Extent of the polygon's vertices turned by the angle (radians) about the origin, read along
// x: x cos a - y sin a. With fewer than three vertices nothing is written.
void ProjectPolygon(float &sMin, float &sMax, const float *pPolygon, float pAngle);
void ProjectPolygonArrays(float &sMin, float &sMax, PolygonArrays pPolygon, float pAngle);

// Separating-axis tests on each edge's normal (the array form also tries the axis an eighth
// of a turn from each edge). Touching intervals do not separate. A polygon of fewer than three
// vertices overlaps nothing.
bool PolygonsOverlap(const float *pA, const float *pB);
bool PolygonArraysOverlap(PolygonArrays pA, PolygonArrays pB);
bool HitboxOverlapsPolygonArrays(Hitbox pBox, PolygonArrays pPolygon);

float PointDistance(float pX1, float pX2, float pY1, float pY2);
float PointDistance3D(float pX1, float pX2, float pY1, float pY2, float pZ1, float pZ2);
// The middle of a box's edges, and how far apart two boxes' middles lie.
void HitboxCentre(Hitbox pBox, float &sX, float &sY);
void ZoneRectCentre(ZoneRect pRect, float &sX, float &sY);
float HitboxCentreDistance(const Hitbox &pA, const Hitbox &pB);

// The whole-number box holding every point (x, y) with pLft <= (float)x <= pRgt and
// pTop <= (float)y <= pBot: exact while the edges lie within 2^24, widened beyond so that float
// rounding never leaves a point out. False when no point can pass (an edge is not a number,
// or no whole number lies between an edge pair).
bool BoxHoldingFloatSpans(float pLft, float pRgt, float pTop, float pBot, IntRect &sBox);

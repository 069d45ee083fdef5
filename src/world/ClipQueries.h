#pragma once
#include <cstdint>

#include "core/Geometry.h"
#include "core/Hitbox.h"

class LevelClipMap;

// Solid-entity point test: true when some entity holds the point. The map manager passes the
// entity manager's IsPointInsideAny here, with the manager as the context.
typedef bool (*ClipEntityTest)(void *pContext, int32_t pX, int32_t pY);
// The same question for every point of a box (edges inclusive) at once: true when the point
// test would hold for at least one of them. Row and column scans ask it once per scan.
typedef bool (*ClipEntityBoxTest)(void *pContext, IntRect pBox);

// What every point, row and column test looks at. A null level means that no level is loaded,
// and then everything is solid. A null entity test means no entity is solid.
struct ClipWorld
{
    const LevelClipMap *rLevel;
    ClipEntityTest rEntityTest;
    void *rEntityContext;
    // Optional; without it scans ask the point test for every point.
    ClipEntityBoxTest rEntityBoxTest;
};

// The level's cells first (outside the level is solid), then the solid entities.
bool IsClipped(const ClipWorld &pWorld, int32_t pX, int32_t pY);

// Scans stop at the first clipped point. Ranges are half-open: y0 <= y < y1, x0 <= x < x1,
// so an empty range is free.
bool ColumnAllFree(const ClipWorld &pWorld, int32_t pX, int32_t pY0, int32_t pY1);
bool RowAllFree(const ClipWorld &pWorld, int32_t pY, int32_t pX0, int32_t pX1);
bool AnyClippedInRow(const ClipWorld &pWorld, int32_t pY, int32_t pX0, int32_t pX1);

// Every point of the box, edges truncated, with left <= x < right and top <= y < bottom: the
// cells a box standing on a floor or against a wall keeps free.
bool BoxAllFree(const ClipWorld &pWorld, const Hitbox &pBox);

// The lowest top (the largest y) at which a pW by pH box is wholly free, as BoxAllFree asks,
// with its left edge anywhere from pX0 to pX1 and its top anywhere from pTop0 to pTop1 (both
// inclusive): how far down a region something of that size can get. pTop0 - 1 when it fits
// nowhere there.
int32_t LowestFreeBoxTop(const ClipWorld &pWorld, int32_t pX0, int32_t pX1, int32_t pTop0, int32_t pTop1, int32_t pW, int32_t pH);

// Box tests truncate the edges toward zero. The bottom-row test looks at the row just below
// the box (its bottom edge is exclusive). Left and up look at the adjacent column or row;
// right and down skip the adjacent one and look one further out, so a wall with a one-unit
// gap to the right edge blocks while a two-unit gap does not.
bool AnyClippedInRowF(const ClipWorld &pWorld, const Hitbox &pBox);
bool IsBlockedLeft(const ClipWorld &pWorld, const Hitbox &pBox);
bool IsBlockedRight(const ClipWorld &pWorld, const Hitbox &pBox);
bool IsBlockedUp(const ClipWorld &pWorld, const Hitbox &pBox);
bool IsBlockedDown(const ClipWorld &pWorld, const Hitbox &pBox);

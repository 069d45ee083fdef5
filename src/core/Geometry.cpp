#include "core/Geometry.h"

#include <cmath>
#include <cstdlib>

namespace
{
    // Integers up to 2^24 turn to float exactly. Beyond, one moves by at most half a unit in
    // the float's last place, under 2^-23 of the value; twice that leaves room to spare.
    const double cExactLimit = 16777216.0;
    const double cRoundingShare = 1.0 / 4194304.0;
    const double cLargestSlack = 4294967296.0;

    int32_t ClampToInt(double pValue)
    {
        if(!(pValue > (double)INT32_MIN)) return INT32_MIN;
        if(!(pValue < (double)INT32_MAX)) return INT32_MAX;
        return (int32_t)pValue;
    }

    double WidenedPastRounding(double pEdge, double pOutward)
    {
        if(fabs(pEdge) < cExactLimit) return pEdge;
        return pEdge + pOutward * (1.0 + fmin(fabs(pEdge), cLargestSlack) * cRoundingShare);
    }

    bool SpanHolding(float pLo, float pHi, int32_t &sLo, int32_t &sHi)
    {
        if(!(pLo <= pHi)) return false;
        double tLo = WidenedPastRounding(ceil((double)pLo), -1.0);
        double tHi = WidenedPastRounding(floor((double)pHi), 1.0);
        if(tLo > tHi) return false;
        sLo = ClampToInt(tLo);
        sHi = ClampToInt(tHi);
        return true;
    }

    const float cDegreesPerRadian = 57.29578f;
    const float cQuarterTurn = 1.5707963f;
    const float cEighthTurn = 0.7853981f;
    const float cCoordinateLimit = (float)GEOMETRY_COORDINATE_LIMIT;

    int32_t PolygonCount(const float *pPolygon)
    {
        if(!pPolygon || !std::isfinite(pPolygon[0])) return 0;
        return TruncateCoordinate(pPolygon[0]);
    }

    float EdgeAngle(float pX0, float pY0, float pX1, float pY1)
    {
        return atan2f(pY1 - pY0, pX1 - pX0);
    }

    bool IntervalsSeparate(float pMinA, float pMaxA, float pMinB, float pMaxB)
    {
        return pMaxA < pMinB || pMaxB < pMinA;
    }

    // The projection turns vertices by the angle and reads x, which measures along
    // (cos a, -sin a); passing the negated axis angle measures along the axis itself.
    bool AxisSeparatesRecords(const float *pA, const float *pB, float pAxis)
    {
        float tMinA = 0.0f, tMaxA = 0.0f, tMinB = 0.0f, tMaxB = 0.0f;
        ProjectPolygon(tMinA, tMaxA, pA, -pAxis);
        ProjectPolygon(tMinB, tMaxB, pB, -pAxis);
        return IntervalsSeparate(tMinA, tMaxA, tMinB, tMaxB);
    }

    bool AxisSeparatesArrays(PolygonArrays pA, PolygonArrays pB, float pAxis)
    {
        float tMinA = 0.0f, tMaxA = 0.0f, tMinB = 0.0f, tMaxB = 0.0f;
        ProjectPolygonArrays(tMinA, tMaxA, pA, -pAxis);
        ProjectPolygonArrays(tMinB, tMaxB, pB, -pAxis);
        return IntervalsSeparate(tMinA, tMaxA, tMinB, tMaxB);
    }

    bool AnyEdgeSeparatesRecords(const float *pEdges, const float *pA, const float *pB)
    {
        int32_t tCount = PolygonCount(pEdges);
        const float *rVertices = pEdges + 1;
        for(int32_t i = 0; i < tCount; i++)
        {
            int32_t tNext = (i + 1) % tCount;
            float tEdge = EdgeAngle(rVertices[i * 2], rVertices[i * 2 + 1], rVertices[tNext * 2], rVertices[tNext * 2 + 1]);
            if(AxisSeparatesRecords(pA, pB, tEdge + cQuarterTurn)) return true;
        }
        return false;
    }

    bool AnyEdgeSeparatesArrays(PolygonArrays pEdges, PolygonArrays pA, PolygonArrays pB)
    {
        for(int32_t i = 0; i < pEdges.mCount; i++)
        {
            int32_t tNext = (i + 1) % pEdges.mCount;
            float tEdge = EdgeAngle(pEdges.rX[i], pEdges.rY[i], pEdges.rX[tNext], pEdges.rY[tNext]);
            if(AxisSeparatesArrays(pA, pB, tEdge + cQuarterTurn)) return true;
            if(AxisSeparatesArrays(pA, pB, tEdge + cEighthTurn)) return true;
        }
        return false;
    }

    bool ArraysUsable(PolygonArrays pPolygon)
    {
        return pPolygon.mCount >= 3 && pPolygon.rX && pPolygon.rY;
    }
}

int32_t TruncateCoordinate(float pValue)
{
    if(std::isnan(pValue)) return 0;
    if(pValue > cCoordinateLimit) pValue = cCoordinateLimit;
    if(pValue < -cCoordinateLimit) pValue = -cCoordinateLimit;
    return (int32_t)pValue;
}

float ClampCoordinate(double pValue)
{
    if(std::isnan(pValue)) return 0.0f;
    if(pValue > (double)GEOMETRY_COORDINATE_LIMIT) return cCoordinateLimit;
    if(pValue < -(double)GEOMETRY_COORDINATE_LIMIT) return -cCoordinateLimit;
    return (float)pValue;
}

IntRect TruncateCorners(float pLft, float pTop, float pRgt, float pBot)
{
    IntRect tRect = {TruncateCoordinate(pLft), TruncateCoordinate(pTop),
                     TruncateCoordinate(pRgt), TruncateCoordinate(pBot)};
    return tRect;
}

IntRect TruncateHitbox(const Hitbox &pBox)
{
    return TruncateCorners(pBox.mLft, pBox.mTop, pBox.mRgt, pBox.mBot);
}

IntRect TruncateZoneRect(const ZoneRect &pRect)
{
    return TruncateCorners(pRect.mLft, pRect.mTop, pRect.mRgt, pRect.mBot);
}

bool PointInRectangle(int32_t pX, int32_t pY, IntRect pRect)
{
    return pRect.mLft <= pX && pX <= pRect.mRgt && pRect.mTop <= pY && pY <= pRect.mBot;
}

bool OrderRectangleEdges(float &sLft, float &sTop, float &sRgt, float &sBot)
{
    bool tSwapped = false;
    if(sLft > sRgt)
    {
        const float tEdge = sLft;
        sLft = sRgt;
        sRgt = tEdge;
        tSwapped = true;
    }
    if(sTop > sBot)
    {
        const float tEdge = sTop;
        sTop = sBot;
        sBot = tEdge;
        tSwapped = true;
    }
    return tSwapped;
}

bool RectangleIntersection(IntRect pA, IntRect pB, IntRect &sBoth)
{
    sBoth.mLft = pA.mLft > pB.mLft ? pA.mLft : pB.mLft;
    sBoth.mTop = pA.mTop > pB.mTop ? pA.mTop : pB.mTop;
    sBoth.mRgt = pA.mRgt < pB.mRgt ? pA.mRgt : pB.mRgt;
    sBoth.mBot = pA.mBot < pB.mBot ? pA.mBot : pB.mBot;
    return sBoth.mLft <= sBoth.mRgt && sBoth.mTop <= sBoth.mBot;
}

bool PointInFloatRectangle(int32_t pX, int32_t pY, float pLft, float pTop, float pRgt, float pBot)
{
    return PointInRectangle(pX, pY, TruncateCorners(pLft, pTop, pRgt, pBot));
}

static bool SpansOverlap(int32_t pALo, int32_t pAHi, int32_t pBLo, int32_t pBHi)
{
    if(pBLo <= pALo && pALo <= pBHi) return true;
    if(pBLo <= pAHi && pAHi <= pBHi) return true;
    if(pALo >= pBLo && pAHi <= pBHi) return true;
    return pALo <= pBLo && pAHi >= pBHi;
}

bool RectanglesOverlap(IntRect pA, IntRect pB)
{
    return SpansOverlap(pA.mLft, pA.mRgt, pB.mLft, pB.mRgt) && SpansOverlap(pA.mTop, pA.mBot, pB.mTop, pB.mBot);
}

bool HitboxOverlapsRectangle(Hitbox pBox, IntRect pRect)
{
    return RectanglesOverlap(TruncateHitbox(pBox), pRect);
}

bool HitboxesOverlap(Hitbox pA, Hitbox pB)
{
    return RectanglesOverlap(TruncateHitbox(pA), TruncateHitbox(pB));
}

bool ZoneRectOverlapsRectangle(ZoneRect pZone, IntRect pRect)
{
    return RectanglesOverlap(TruncateZoneRect(pZone), pRect);
}

bool ZoneRectOverlapsFloatRectangle(ZoneRect pZone, float pLft, float pTop, float pRgt, float pBot)
{
    return RectanglesOverlap(TruncateZoneRect(pZone), TruncateCorners(pLft, pTop, pRgt, pBot));
}

bool HitboxOverlapsZoneRect(Hitbox pBox, ZoneRect pZone)
{
    return RectanglesOverlap(TruncateHitbox(pBox), TruncateZoneRect(pZone));
}

static bool Inside(IntRect pInner, IntRect pOuter)
{
    return pOuter.mLft <= pInner.mLft && pInner.mLft <= pOuter.mRgt && pInner.mLft <= pInner.mRgt &&
           pInner.mRgt <= pOuter.mRgt && pOuter.mTop <= pInner.mTop && pInner.mTop <= pOuter.mBot &&
           pInner.mTop <= pInner.mBot && pInner.mBot <= pOuter.mBot;
}

bool RectanglesNested(IntRect pA, IntRect pB)
{
    return Inside(pA, pB) || Inside(pB, pA);
}

bool HitboxRectangleNested(Hitbox pBox, IntRect pRect)
{
    return RectanglesNested(TruncateHitbox(pBox), pRect);
}

bool ZoneRectRectangleNested(ZoneRect pZone, IntRect pRect)
{
    return RectanglesNested(TruncateZoneRect(pZone), pRect);
}

bool HitboxesNested(Hitbox pA, Hitbox pB)
{
    return RectanglesNested(TruncateHitbox(pA), TruncateHitbox(pB));
}

float RectangleOverlapFraction(IntRect pA, IntRect pB)
{
    if(!RectanglesOverlap(pA, pB)) return 0.0f;
    int64_t tArea = ((int64_t)pA.mRgt - pA.mLft) * ((int64_t)pA.mBot - pA.mTop);
    if(tArea <= 0) return 0.0f;

    float tWidth = (float)(pA.mRgt < pB.mRgt ? pA.mRgt : pB.mRgt) - (float)(pA.mLft > pB.mLft ? pA.mLft : pB.mLft);
    float tHeight = (float)(pA.mBot < pB.mBot ? pA.mBot : pB.mBot) - (float)(pA.mTop > pB.mTop ? pA.mTop : pB.mTop);
    float tFraction = tWidth * tHeight / (float)tArea;
    if(tFraction >= 1.0f) return 1.0f;
    if(tFraction <= 0.0f) return 0.0f;
    return tFraction;
}

float HitboxOverlapFraction(Hitbox pBox, IntRect pRect)
{
    return RectangleOverlapFraction(TruncateHitbox(pBox), pRect);
}

bool PointInPolygon(float pX, float pY, const float *pPolygon)
{
    int32_t tCount = PolygonCount(pPolygon);
    if(tCount < 3) return false;

    const float *rVertices = pPolygon + 1;
    for(int32_t i = 0; i < tCount; i++)
    {
        int32_t tNext = (i + 1) % tCount;
        float tEndX = rVertices[tNext * 2];
        float tEndY = rVertices[tNext * 2 + 1];
        float tEdge = EdgeAngle(rVertices[i * 2], rVertices[i * 2 + 1], tEndX, tEndY) * cDegreesPerRadian;
        float tPoint = atan2f(tEndY - pY, tEndX - pX) * cDegreesPerRadian;
        while(tEdge < -180.0f) tEdge += 360.0f;
        while(tPoint < -180.0f) tPoint += 360.0f;

        bool tPasses = (tEdge - 180.0f <= tPoint && tPoint <= tEdge) ||
                       (tEdge - 180.0f <= tPoint - 360.0f && tPoint - 360.0f <= tEdge);
        if(!tPasses) return false;
    }
    return true;
}

bool PointInPolygonArrays(float pX, float pY, int32_t pCount, const float *pXs, const float *pYs)
{
    if(pCount < 3 || !pXs || !pYs) return false;
    float *tRecord = (float *)malloc(sizeof(float) * (1 + 2 * (size_t)pCount));
    if(!tRecord) return false;
    tRecord[0] = (float)pCount;
    for(int32_t i = 0; i < pCount; i++)
    {
        tRecord[1 + i * 2] = pXs[i];
        tRecord[2 + i * 2] = pYs[i];
    }
    bool tInside = PointInPolygon(pX, pY, tRecord);
    free(tRecord);
    return tInside;
}

static float TurnedX(float pX, float pY, float pCos, float pSin)
{
    return pX * pCos - pY * pSin;
}

void ProjectPolygon(float &sMin, float &sMax, const float *pPolygon, float pAngle)
{
    int32_t tCount = PolygonCount(pPolygon);
    if(tCount < 3) return;
    float tCos = cosf(pAngle);
    float tSin = sinf(pAngle);
    for(int32_t i = 0; i < tCount; i++)
    {
        float tValue = TurnedX(pPolygon[1 + i * 2], pPolygon[2 + i * 2], tCos, tSin);
        if(i == 0 || tValue < sMin) sMin = tValue;
        if(i == 0 || tValue > sMax) sMax = tValue;
    }
}

void ProjectPolygonArrays(float &sMin, float &sMax, PolygonArrays pPolygon, float pAngle)
{
    if(!ArraysUsable(pPolygon)) return;
    float tCos = cosf(pAngle);
    float tSin = sinf(pAngle);
    for(int32_t i = 0; i < pPolygon.mCount; i++)
    {
        float tValue = TurnedX(pPolygon.rX[i], pPolygon.rY[i], tCos, tSin);
        if(i == 0 || tValue < sMin) sMin = tValue;
        if(i == 0 || tValue > sMax) sMax = tValue;
    }
}

bool PolygonsOverlap(const float *pA, const float *pB)
{
    if(PolygonCount(pA) < 3 || PolygonCount(pB) < 3) return false;
    if(AnyEdgeSeparatesRecords(pA, pA, pB)) return false;
    return !AnyEdgeSeparatesRecords(pB, pA, pB);
}

bool PolygonArraysOverlap(PolygonArrays pA, PolygonArrays pB)
{
    if(!ArraysUsable(pA) || !ArraysUsable(pB)) return false;
    if(AnyEdgeSeparatesArrays(pA, pA, pB)) return false;
    return !AnyEdgeSeparatesArrays(pB, pA, pB);
}

bool HitboxOverlapsPolygonArrays(Hitbox pBox, PolygonArrays pPolygon)
{
    float tXs[4] = {pBox.mLft, pBox.mRgt, pBox.mRgt, pBox.mLft};
    float tYs[4] = {pBox.mTop, pBox.mTop, pBox.mBot, pBox.mBot};
    PolygonArrays tBox = {4, tXs, tYs};
    return PolygonArraysOverlap(tBox, pPolygon);
}

float PointDistance(float pX1, float pX2, float pY1, float pY2)
{
    float tDX = pX1 - pX2;
    float tDY = pY1 - pY2;
    return sqrtf(tDX * tDX + tDY * tDY);
}

float PointDistance3D(float pX1, float pX2, float pY1, float pY2, float pZ1, float pZ2)
{
    float tDX = pX1 - pX2;
    float tDY = pY1 - pY2;
    float tDZ = pZ1 - pZ2;
    return sqrtf(tDX * tDX + tDY * tDY + tDZ * tDZ);
}

void HitboxCentre(Hitbox pBox, float &sX, float &sY)
{
    sX = (pBox.mLft + pBox.mRgt) / 2.0f;
    sY = (pBox.mTop + pBox.mBot) / 2.0f;
}

void ZoneRectCentre(ZoneRect pRect, float &sX, float &sY)
{
    sX = (pRect.mLft + pRect.mRgt) / 2.0f;
    sY = (pRect.mTop + pRect.mBot) / 2.0f;
}

float HitboxCentreDistance(const Hitbox &pA, const Hitbox &pB)
{
    float tAX, tAY, tBX, tBY;
    HitboxCentre(pA, tAX, tAY);
    HitboxCentre(pB, tBX, tBY);
    return PointDistance(tAX, tBX, tAY, tBY);
}

bool BoxHoldingFloatSpans(float pLft, float pRgt, float pTop, float pBot, IntRect &sBox)
{
    IntRect tBox;
    if(!SpanHolding(pLft, pRgt, tBox.mLft, tBox.mRgt)) return false;
    if(!SpanHolding(pTop, pBot, tBox.mTop, tBox.mBot)) return false;
    sBox = tBox;
    return true;
}

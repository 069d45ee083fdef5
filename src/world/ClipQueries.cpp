#include "world/ClipQueries.h"

#include "core/Geometry.h"
#include "world/LevelClipMap.h"

bool IsClipped(const ClipWorld &pWorld, int32_t pX, int32_t pY)
{
    if(!pWorld.rLevel) return true;
    if(pWorld.rLevel->IsClipped(pX, pY)) return true;
    return pWorld.rEntityTest && pWorld.rEntityTest(pWorld.rEntityContext, pX, pY);
}

// A scan only answers whether some point is clipped, so it may ask in any order: the level's
// first point (floors and ceilings end most scans there), then the entities once for the whole
// scan (a wall of entities ends it before the level's other points), then the level's others.
// The scan is pCount points from (pX, pY), one step of (pStepX, pStepY) apart: a column or a row.
static bool LineAllFree(const ClipWorld &pWorld, int32_t pX, int32_t pY, int32_t pStepX, int32_t pStepY, int64_t pCount)
{
    if(pCount <= 0) return true;
    if(!pWorld.rLevel || !pWorld.rEntityBoxTest)
    {
        for(int64_t i = 0; i < pCount; i++)
        {
            if(IsClipped(pWorld, (int32_t)(pX + i * pStepX), (int32_t)(pY + i * pStepY))) return false;
        }
        return true;
    }
    if(pWorld.rLevel->IsClipped(pX, pY)) return false;
    IntRect tLine = {pX, pY, (int32_t)(pX + (pCount - 1) * pStepX), (int32_t)(pY + (pCount - 1) * pStepY)};
    if(pWorld.rEntityBoxTest(pWorld.rEntityContext, tLine)) return false;
    for(int64_t i = 1; i < pCount; i++)
    {
        if(pWorld.rLevel->IsClipped((int32_t)(pX + i * pStepX), (int32_t)(pY + i * pStepY))) return false;
    }
    return true;
}

bool ColumnAllFree(const ClipWorld &pWorld, int32_t pX, int32_t pY0, int32_t pY1)
{
    return LineAllFree(pWorld, pX, pY0, 0, 1, (int64_t)pY1 - pY0);
}

bool RowAllFree(const ClipWorld &pWorld, int32_t pY, int32_t pX0, int32_t pX1)
{
    return LineAllFree(pWorld, pX0, pY, 1, 0, (int64_t)pX1 - pX0);
}

bool BoxAllFree(const ClipWorld &pWorld, const Hitbox &pBox)
{
    const IntRect tBox = TruncateHitbox(pBox);
    for(int64_t y = tBox.mTop; y < tBox.mBot; y++)
    {
        if(!RowAllFree(pWorld, (int32_t)y, tBox.mLft, tBox.mRgt)) return false;
    }
    return true;
}

// Column by column of left edges, the rows free across the box's width are counted as they run
// on: each run of pH of them is a place the box fits, its top pH - 1 rows up.
int32_t LowestFreeBoxTop(const ClipWorld &pWorld, int32_t pX0, int32_t pX1, int32_t pTop0, int32_t pTop1, int32_t pW, int32_t pH)
{
    int64_t tLowest = (int64_t)pTop0 - 1;
    if(pW < 1 || pH < 1) return (int32_t)tLowest;
    const int64_t tLastRow = (int64_t)pTop1 + pH - 1;
    for(int64_t x = pX0; x <= pX1; x++)
    {
        int64_t tRun = 0;
        for(int64_t y = pTop0; y <= tLastRow; y++)
        {
            tRun = RowAllFree(pWorld, (int32_t)y, (int32_t)x, (int32_t)(x + pW)) ? tRun + 1 : 0;
            if(tRun >= pH && y - pH + 1 > tLowest) tLowest = y - pH + 1;
        }
    }
    return (int32_t)tLowest;
}

bool AnyClippedInRow(const ClipWorld &pWorld, int32_t pY, int32_t pX0, int32_t pX1)
{
    return !RowAllFree(pWorld, pY, pX0, pX1);
}

bool AnyClippedInRowF(const ClipWorld &pWorld, const Hitbox &pBox)
{
    return AnyClippedInRow(pWorld, TruncateCoordinate(pBox.mBot), TruncateCoordinate(pBox.mLft),
                           TruncateCoordinate(pBox.mRgt));
}

bool IsBlockedLeft(const ClipWorld &pWorld, const Hitbox &pBox)
{
    return !ColumnAllFree(pWorld, TruncateCoordinate(pBox.mLft - 1.0f), TruncateCoordinate(pBox.mTop),
                          TruncateCoordinate(pBox.mBot));
}

bool IsBlockedRight(const ClipWorld &pWorld, const Hitbox &pBox)
{
    return !ColumnAllFree(pWorld, TruncateCoordinate(pBox.mRgt + 1.0f), TruncateCoordinate(pBox.mTop),
                          TruncateCoordinate(pBox.mBot));
}

bool IsBlockedUp(const ClipWorld &pWorld, const Hitbox &pBox)
{
    return !RowAllFree(pWorld, TruncateCoordinate(pBox.mTop - 1.0f), TruncateCoordinate(pBox.mLft),
                       TruncateCoordinate(pBox.mRgt));
}

bool IsBlockedDown(const ClipWorld &pWorld, const Hitbox &pBox)
{
    return !RowAllFree(pWorld, TruncateCoordinate(pBox.mBot + 1.0f), TruncateCoordinate(pBox.mLft),
                       TruncateCoordinate(pBox.mRgt));
}

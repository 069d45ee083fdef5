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
bool ColumnAllFree(const ClipWorld &pWorld, int32_t pX, int32_t pY0, int32_t pY1)
{
    if(!pWorld.rLevel || !pWorld.rEntityBoxTest)
    {
        for(int32_t y = pY0; y < pY1; y++)
        {
            if(IsClipped(pWorld, pX, y)) return false;
        }
        return true;
    }
    if(pY0 >= pY1) return true;
    if(pWorld.rLevel->IsClipped(pX, pY0)) return false;
    IntRect tColumn = {pX, pY0, pX, pY1 - 1};
    if(pWorld.rEntityBoxTest(pWorld.rEntityContext, tColumn)) return false;
    for(int32_t y = pY0 + 1; y < pY1; y++)
    {
        if(pWorld.rLevel->IsClipped(pX, y)) return false;
    }
    return true;
}

bool RowAllFree(const ClipWorld &pWorld, int32_t pY, int32_t pX0, int32_t pX1)
{
    if(!pWorld.rLevel || !pWorld.rEntityBoxTest)
    {
        for(int32_t x = pX0; x < pX1; x++)
        {
            if(IsClipped(pWorld, x, pY)) return false;
        }
        return true;
    }
    if(pX0 >= pX1) return true;
    if(pWorld.rLevel->IsClipped(pX0, pY)) return false;
    IntRect tRow = {pX0, pY, pX1 - 1, pY};
    if(pWorld.rEntityBoxTest(pWorld.rEntityContext, tRow)) return false;
    for(int32_t x = pX0 + 1; x < pX1; x++)
    {
        if(pWorld.rLevel->IsClipped(x, pY)) return false;
    }
    return true;
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

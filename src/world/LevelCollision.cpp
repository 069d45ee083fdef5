#include "world/LevelCollision.h"

#include "core/Geometry.h"

#include <cmath>
#include <cstdio>

bool AllowBotSlopes = false;
bool AllowTopSlopes = false;
bool AllowAirWalk = false;
bool LadderTopsSolid = false;

namespace
{
    // Far beyond the iteration cap, yet small enough that the whole part fits an int32 and the
    // fraction survives; anything past it only ever moves the capped number of units anyway.
    const double cMoveLimit = 1.0e6;

    double SanitiseMove(double pValue)
    {
        if(std::isnan(pValue)) return 0.0;
        if(pValue > cMoveLimit) return cMoveLimit;
        if(pValue < -cMoveLimit) return -cMoveLimit;
        return pValue;
    }

    // Splits a move into whole units and carries its fraction through the box's remainder.
    int32_t WholeUnits(double pMove, float &sRemainder)
    {
        int32_t tUnits = (int32_t)std::trunc(pMove);
        double tRemainder = std::isfinite(sRemainder) ? sRemainder : 0.0;
        tRemainder += pMove - tUnits;
        if(tRemainder >= 1.0)
        {
            tRemainder -= 1.0;
            tUnits += 1;
        }
        if(tRemainder <= -1.0)
        {
            tRemainder += 1.0;
            tUnits -= 1;
        }
        sRemainder = (float)tRemainder;
        return tUnits;
    }

    // One horizontal unit. Returns the updated step-up permission: a climb uses it up.
    bool HorizontalUnit(const ClipWorld &pWorld, int32_t pUnits, bool pCanStepUp, bool pCanStepDown, Hitbox &sBox)
    {
        const int32_t tDir = pUnits > 0 ? 1 : -1;
        const int32_t tColumn = pUnits > 0 ? TruncateCoordinate(sBox.mRgt) : TruncateCoordinate(sBox.mLft) - 1;
        const int32_t tTop = TruncateCoordinate(sBox.mTop);
        const int32_t tBot = TruncateCoordinate(sBox.mBot);

        if(ColumnAllFree(pWorld, tColumn, tTop, tBot))
        {
            // Without air walk the box keeps to ground: a floor under the column ahead, or,
            // when it may follow a slope, a floor one box-width further down.
            bool tMove = AllowAirWalk || IsClipped(pWorld, tColumn, tBot);
            if(!tMove && pCanStepUp)
            {
                tMove = IsClipped(pWorld, tColumn, TruncateCoordinate(sBox.mBot + (sBox.mRgt - sBox.mLft) - 1.0f));
            }
            if(tMove) sBox.ShiftX((float)tDir);
        }
        // A step brings the box into one row it was not in. Climbing, the row above it, which
        // the up test looked at only over the box's own columns; sliding under a ceiling, the
        // row under its feet, which the down test skips (it looks one row further out). Both
        // must be free wherever the moved box will be, or the step would carry it into a
        // corner of the level.
        else if(pCanStepUp &&
                ColumnAllFree(pWorld, tColumn, TruncateCoordinate(sBox.mTop - 1.0f), TruncateCoordinate(sBox.mBot - 1.0f)))
        {
            sBox.ShiftX((float)tDir);
            sBox.ShiftY(-1.0f);
            pCanStepUp = false;
        }
        else if(pCanStepDown && ColumnAllFree(pWorld, tColumn, TruncateCoordinate(sBox.mTop + 1.0f), tBot) &&
                RowAllFree(pWorld, tBot, TruncateCoordinate(sBox.mLft + (float)tDir),
                           TruncateCoordinate(sBox.mRgt + (float)tDir)))
        {
            sBox.ShiftX((float)tDir);
            sBox.ShiftY(1.0f);
        }

        if(pCanStepUp)
        {
            // Walking down a slope: drop onto ground that is one unit lower.
            const int32_t tLft = TruncateCoordinate(sBox.mLft);
            const int32_t tRgt = TruncateCoordinate(sBox.mRgt);
            const int32_t tRow = TruncateCoordinate(sBox.mBot);
            if(RowAllFree(pWorld, tRow, tLft, tRgt) && !RowAllFree(pWorld, tRow + 1, tLft, tRgt)) sBox.ShiftY(1.0f);
        }
        return pCanStepUp;
    }

    void VerticalUnit(const ClipWorld &pWorld, int32_t pUnits, Hitbox &sBox)
    {
        const int32_t tDir = pUnits > 0 ? 1 : -1;
        const int32_t tRow = pUnits > 0 ? TruncateCoordinate(sBox.mBot) : TruncateCoordinate(sBox.mTop) - 1;
        if(RowAllFree(pWorld, tRow, TruncateCoordinate(sBox.mLft), TruncateCoordinate(sBox.mRgt)))
        {
            sBox.ShiftY((float)tDir);
        }
    }

    void ClearMovementFlags()
    {
        AllowBotSlopes = false;
        AllowTopSlopes = false;
        AllowAirWalk = false;
        LadderTopsSolid = false;
    }
}

void MoveWithCollision(const ClipWorld &pWorld, double pDX, double pDY, double pDZ, Hitbox &sBox)
{
    (void)pDZ;
    int32_t tUnitsX = WholeUnits(SanitiseMove(pDX), sBox.mRemainderX);
    int32_t tUnitsY = WholeUnits(SanitiseMove(pDY), sBox.mRemainderY);
    const bool tCallerLadderTops = LadderTopsSolid;

    int32_t tIterations = 0;
    while(tUnitsX != 0 || tUnitsY != 0)
    {
        if(tIterations >= COLLISION_MAX_ITERATIONS)
        {
            fprintf(stderr, "Movement loop got caught\n");
            break;
        }
        tIterations++;

        bool tCanStepUp = AllowBotSlopes && !IsBlockedUp(pWorld, sBox);
        const bool tCanStepDown = AllowTopSlopes && !IsBlockedDown(pWorld, sBox);

        if(tUnitsX != 0)
        {
            // Ladder tops are floors, never walls.
            LadderTopsSolid = false;
            tCanStepUp = HorizontalUnit(pWorld, tUnitsX, tCanStepUp, tCanStepDown, sBox);
            tUnitsX -= tUnitsX > 0 ? 1 : -1;
        }
        LadderTopsSolid = tCallerLadderTops;

        if(tUnitsY != 0)
        {
            VerticalUnit(pWorld, tUnitsY, sBox);
            tUnitsY -= tUnitsY > 0 ? 1 : -1;
        }
    }
    ClearMovementFlags();
}

namespace
{
    // The rows and columns next to the box that the wall crawl looks at, each tested only
    // when its rule asks; they are the side tests every mover uses.
    struct CrawlProbe
    {
        const ClipWorld &rWorld;
        const Hitbox &rBox;

        bool BelowFree() const { return !IsBlockedDown(rWorld, rBox); }
        bool AboveFree() const { return !IsBlockedUp(rWorld, rBox); }
        bool LeftFree() const { return !IsBlockedLeft(rWorld, rBox); }
        bool RightFree() const { return !IsBlockedRight(rWorld, rBox); }
    };

    int32_t ReadSurface(float pCode)
    {
        if(pCode == (float)WALLCRAWL_BELOW) return WALLCRAWL_BELOW;
        if(pCode == (float)WALLCRAWL_LEFT) return WALLCRAWL_LEFT;
        if(pCode == (float)WALLCRAWL_ABOVE) return WALLCRAWL_ABOVE;
        return WALLCRAWL_RIGHT;
    }

    // Each rule: does the surface end here (turn round the corner), else is the way ahead
    // blocked (turn onto the blocking surface), else advance along the surface.
    int32_t CrawlClockwise(const CrawlProbe &pProbe, int32_t pSurface, Hitbox &sBox)
    {
        switch(pSurface)
        {
        case WALLCRAWL_BELOW:
            if(pProbe.BelowFree()) { sBox.ShiftY(2.0f); return WALLCRAWL_LEFT; }
            if(!pProbe.RightFree()) return WALLCRAWL_RIGHT;
            sBox.ShiftX(1.0f);
            return pSurface;
        case WALLCRAWL_LEFT:
            if(pProbe.LeftFree()) { sBox.ShiftX(-1.0f); return WALLCRAWL_ABOVE; }
            if(!pProbe.BelowFree()) return WALLCRAWL_BELOW;
            sBox.ShiftY(1.0f);
            return pSurface;
        case WALLCRAWL_ABOVE:
            if(pProbe.AboveFree()) { sBox.ShiftY(-1.0f); return WALLCRAWL_RIGHT; }
            if(!pProbe.LeftFree()) return WALLCRAWL_LEFT;
            sBox.ShiftX(-1.0f);
            return pSurface;
        default:
            if(pProbe.RightFree()) { sBox.ShiftX(2.0f); return WALLCRAWL_BELOW; }
            if(!pProbe.AboveFree()) return WALLCRAWL_ABOVE;
            sBox.ShiftY(-1.0f);
            return pSurface;
        }
    }

    int32_t CrawlCounterClockwise(const CrawlProbe &pProbe, int32_t pSurface, Hitbox &sBox)
    {
        switch(pSurface)
        {
        case WALLCRAWL_BELOW:
            if(pProbe.BelowFree()) { sBox.ShiftY(2.0f); return WALLCRAWL_RIGHT; }
            if(!pProbe.LeftFree()) return WALLCRAWL_LEFT;
            sBox.ShiftX(-1.0f);
            return pSurface;
        case WALLCRAWL_LEFT:
            if(pProbe.LeftFree()) { sBox.ShiftX(-1.0f); return WALLCRAWL_BELOW; }
            if(!pProbe.AboveFree()) return WALLCRAWL_ABOVE;
            sBox.ShiftY(-1.0f);
            return pSurface;
        case WALLCRAWL_ABOVE:
            if(pProbe.AboveFree()) { sBox.ShiftY(-1.0f); return WALLCRAWL_LEFT; }
            if(!pProbe.RightFree()) return WALLCRAWL_RIGHT;
            sBox.ShiftX(1.0f);
            return pSurface;
        default:
            if(pProbe.RightFree()) { sBox.ShiftX(2.0f); return WALLCRAWL_ABOVE; }
            if(!pProbe.BelowFree()) return WALLCRAWL_BELOW;
            sBox.ShiftY(1.0f);
            return pSurface;
        }
    }
}

void WallCrawl(const ClipWorld &pWorld, int32_t pSteps, Hitbox &sBox)
{
    const bool tClockwise = pSteps >= 0;
    const int64_t tCount = tClockwise ? (int64_t)pSteps : -(int64_t)pSteps;
    const CrawlProbe tProbe = {pWorld, sBox};
    for(int64_t i = 0; i < tCount; i++)
    {
        const int32_t tSurface = ReadSurface(sBox.mOwnerZ);
        const int32_t tNext =
            tClockwise ? CrawlClockwise(tProbe, tSurface, sBox) : CrawlCounterClockwise(tProbe, tSurface, sBox);
        sBox.mOwnerZ = (float)tNext;
    }
}

void AccumulateFraction(double pPosition, float &sRemainder, int32_t &sWhole)
{
    if(!std::isfinite(pPosition)) return;
    double tRemainder = std::isfinite(sRemainder) ? sRemainder : 0.0;
    tRemainder += pPosition - sWhole;
    // Subtracting the whole part at once is what repeated single carries give, without a
    // loop whose length a wild position could make unbounded.
    double tCarry = std::trunc(tRemainder);
    if(tCarry > cMoveLimit) tCarry = cMoveLimit;
    if(tCarry < -cMoveLimit) tCarry = -cMoveLimit;
    sRemainder = (float)(tRemainder - tCarry);
    sWhole += (int32_t)tCarry;
}

#include "world/LevelCollision.h"
#include "TextLevel.h"
#include "support/TestText.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace
{
    // Rows of text kept alive for a TextLevel.
    struct Drawing
    {
        std::vector<std::string> mLines;
        std::vector<const char *> mRows;

        void Add(const std::string &pLine, int32_t pTimes = 1)
        {
            for(int32_t i = 0; i < pTimes; i++) mLines.push_back(pLine);
        }
        const char *const *Rows()
        {
            mRows.clear();
            for(const std::string &rLine : mLines) mRows.push_back(rLine.c_str());
            return mRows.data();
        }
        int32_t Count() const { return (int32_t)mLines.size(); }
    };

    // Open air above a thick floor starting at row 10; pStep solid cells at row 9 from
    // column 14 on make a one-unit step.
    void DrawFloor(Drawing &sDrawing, int32_t pWidth, bool pStep)
    {
        sDrawing.Add(std::string(pWidth, '.'), 9);
        sDrawing.Add(pStep ? std::string(14, '.') + std::string(pWidth - 14, '#') : std::string(pWidth, '.'));
        sDrawing.Add(std::string(pWidth, '#'), 6);
    }

    void ExpectBoxAt(const Hitbox &pBox, float pLft, float pTop)
    {
        EXPECT_FLOAT_EQ(pLft, pBox.mLft);
        EXPECT_FLOAT_EQ(pTop, pBox.mTop);
        EXPECT_FLOAT_EQ(pLft + 4.0f, pBox.mRgt);
        EXPECT_FLOAT_EQ(pTop + 4.0f, pBox.mBot);
        EXPECT_FLOAT_EQ(pLft, pBox.mOwnerX);
        EXPECT_FLOAT_EQ(pTop, pBox.mOwnerY);
    }

    bool AnyFlagSet()
    {
        return AllowBotSlopes || AllowTopSlopes || AllowAirWalk || LadderTopsSolid;
    }

    // A ladder the way the ladder zone answers: its top row is solid, left to right
    // inclusive, only while ladder tops count.
    struct Ladder
    {
        int32_t mLft;
        int32_t mTop;
        int32_t mRgt;
    };

    bool LadderTest(void *pContext, int32_t pX, int32_t pY)
    {
        const Ladder *rLadder = (const Ladder *)pContext;
        return LadderTopsSolid && pY == rLadder->mTop && pX >= rLadder->mLft && pX <= rLadder->mRgt;
    }

    class LevelCollision : public testing::Test
    {
    protected:
        void SetUp() override
        {
            AllowBotSlopes = AllowTopSlopes = AllowAirWalk = LadderTopsSolid = false;
        }
    };
}

TEST_F(LevelCollision, FractionsCarryThroughTheRemainder)
{
    Drawing tDrawing;
    DrawFloor(tDrawing, 40, false);
    TextLevel tLevel(tDrawing.Rows(), tDrawing.Count(), 8);
    ClipWorld tWorld = tLevel.World();
    Hitbox tBox = MakeBox(5, 6, 9, 10);

    MoveWithCollision(tWorld, 0.4, 0.0, 0.0, tBox);
    ExpectBoxAt(tBox, 5, 6);
    MoveWithCollision(tWorld, 0.4, 0.0, 0.0, tBox);
    ExpectBoxAt(tBox, 5, 6);
    MoveWithCollision(tWorld, 0.4, 0.0, 0.0, tBox);
    ExpectBoxAt(tBox, 6, 6);
    EXPECT_NEAR(0.2f, tBox.mRemainderX, 1e-5f);

    // Backwards the remainder runs down through zero to -1 before it spends a unit.
    for(int32_t i = 0; i < 2; i++) MoveWithCollision(tWorld, -0.5, 0.0, 0.0, tBox);
    ExpectBoxAt(tBox, 6, 6);
    MoveWithCollision(tWorld, -0.5, 0.0, 0.0, tBox);
    ExpectBoxAt(tBox, 5, 6);
    EXPECT_NEAR(-0.3f, tBox.mRemainderX, 1e-5f);

    // Each axis keeps its own remainder; only one carry per call.
    Hitbox tHigh = MakeBox(5, 0, 9, 4);
    MoveWithCollision(tWorld, 0.0, 0.5, 0.0, tHigh);
    MoveWithCollision(tWorld, 0.0, 0.5, 0.0, tHigh);
    ExpectBoxAt(tHigh, 5, 1);
    EXPECT_FLOAT_EQ(0.0f, tHigh.mRemainderX);
    tHigh.mRemainderY = 0.9f;
    MoveWithCollision(tWorld, 0.0, 1.9, 0.0, tHigh);
    ExpectBoxAt(tHigh, 5, 3);
    EXPECT_NEAR(0.8f, tHigh.mRemainderY, 1e-5f);
}

TEST_F(LevelCollision, StepClimbOnlyWithBottomSlopes)
{
    Drawing tDrawing;
    DrawFloor(tDrawing, 40, true);
    TextLevel tLevel(tDrawing.Rows(), tDrawing.Count(), 8);
    ClipWorld tWorld = tLevel.World();

    Hitbox tPlain = MakeBox(5, 6, 9, 10);
    MoveWithCollision(tWorld, 10.0, 0.0, 0.0, tPlain);
    ExpectBoxAt(tPlain, 10, 6);

    Hitbox tSloped = MakeBox(5, 6, 9, 10);
    AllowBotSlopes = true;
    MoveWithCollision(tWorld, 10.0, 0.0, 0.0, tSloped);
    ExpectBoxAt(tSloped, 15, 5);
    EXPECT_FALSE(AllowBotSlopes);

    // Walking back down, the box leaves the step and is pulled onto the lower floor.
    AllowBotSlopes = true;
    MoveWithCollision(tWorld, -10.0, 0.0, 0.0, tSloped);
    ExpectBoxAt(tSloped, 5, 6);

    // A ceiling right above the box forbids the climb.
    Drawing tLow;
    tLow.Add(std::string(40, '.'), 5);
    tLow.Add(std::string(40, '#'));
    tLow.Add(std::string(40, '.'), 3);
    tLow.Add(std::string(14, '.') + std::string(26, '#'));
    tLow.Add(std::string(40, '#'), 6);
    TextLevel tLowLevel(tLow.Rows(), tLow.Count(), 8);
    Hitbox tUnder = MakeBox(5, 6, 9, 10);
    AllowBotSlopes = true;
    MoveWithCollision(tLowLevel.World(), 10.0, 0.0, 0.0, tUnder);
    ExpectBoxAt(tUnder, 10, 6);
}

TEST_F(LevelCollision, LedgesHoldUnlessAirWalk)
{
    Drawing tDrawing;
    DrawFloor(tDrawing, 40, true);
    TextLevel tLevel(tDrawing.Rows(), tDrawing.Count(), 8);
    ClipWorld tWorld = tLevel.World();

    // On the step, the edge at column 14 is a ledge one unit high.
    Hitbox tPlain = MakeBox(15, 5, 19, 9);
    MoveWithCollision(tWorld, -10.0, 0.0, 0.0, tPlain);
    ExpectBoxAt(tPlain, 14, 5);

    // Air walk goes past the edge and stays up; only its own vertical move drops it.
    Hitbox tWalker = MakeBox(15, 5, 19, 9);
    AllowAirWalk = true;
    MoveWithCollision(tWorld, -10.0, 0.0, 0.0, tWalker);
    ExpectBoxAt(tWalker, 5, 5);
    EXPECT_FALSE(AllowAirWalk);
    MoveWithCollision(tWorld, 0.0, 3.0, 0.0, tWalker);
    ExpectBoxAt(tWalker, 5, 6);

    // A deep drop stops even a slope-following box: the ground is more than a box width down.
    Drawing tCliff;
    tCliff.Add(std::string(40, '.'), 10);
    tCliff.Add(std::string(20, '#') + std::string(20, '.'), 8);
    tCliff.Add(std::string(40, '#'));
    TextLevel tCliffLevel(tCliff.Rows(), tCliff.Count(), 8);
    Hitbox tEdge = MakeBox(14, 6, 18, 10);
    AllowBotSlopes = true;
    MoveWithCollision(tCliffLevel.World(), 8.0, 0.0, 0.0, tEdge);
    ExpectBoxAt(tEdge, 16, 6);
}

TEST_F(LevelCollision, TopSlopesSlideUnderLoweringCeilings)
{
    Drawing tDrawing;
    tDrawing.Add(std::string(40, '.'), 3);
    tDrawing.Add(std::string(14, '.') + std::string(26, '#'));
    tDrawing.Add(std::string(40, '.'), 10);
    TextLevel tLevel(tDrawing.Rows(), tDrawing.Count(), 8);
    ClipWorld tWorld = tLevel.World();

    Hitbox tPlain = MakeBox(5, 3, 9, 7);
    AllowAirWalk = true;
    MoveWithCollision(tWorld, 10.0, 0.0, 0.0, tPlain);
    ExpectBoxAt(tPlain, 10, 3);

    Hitbox tSliding = MakeBox(5, 3, 9, 7);
    AllowAirWalk = true;
    AllowTopSlopes = true;
    MoveWithCollision(tWorld, 10.0, 0.0, 0.0, tSliding);
    ExpectBoxAt(tSliding, 15, 4);
    EXPECT_FALSE(AllowTopSlopes);
}

// A step takes the box into one row it was not in: the climb into the row above, the slide
// under a ceiling into the row below. Where that row holds the corner of an overhang, or a
// one-unit ledge under its feet, the box stops rather than stepping into it.
TEST_F(LevelCollision, SlopeStepsNeverCarryTheBoxIntoSolidCells)
{
    // An overhang from column 14 whose lowest row is the one above the box's top, over a
    // one-unit step at the same column.
    const std::string tOpen(24, '.');
    const std::string tFromColumn14 = std::string(14, '.') + std::string(10, '#');
    Drawing tOverhang;
    tOverhang.Add(tFromColumn14, 6);
    tOverhang.Add(tOpen, 3);
    tOverhang.Add(tFromColumn14);
    tOverhang.Add(std::string(24, '#'));
    TextLevel tLevel(tOverhang.Rows(), tOverhang.Count(), 8);
    Hitbox tClimber = MakeBox(5, 6, 9, 10);
    AllowBotSlopes = true;
    MoveWithCollision(tLevel.World(), 10.0, 0.0, 0.0, tClimber);
    ExpectBoxAt(tClimber, 10, 6);

    // A ceiling from column 14 at the box's top row, and a one-unit ledge right under the
    // box's feet where the slide under it would put them.
    Drawing tLedge;
    tLedge.Add(tOpen, 2);
    tLedge.Add(tFromColumn14);
    tLedge.Add(tOpen, 3);
    tLedge.Add(std::string(10, '.') + "###" + std::string(11, '.'));
    tLedge.Add(tOpen);
    TextLevel tLedgeLevel(tLedge.Rows(), tLedge.Count(), 8);
    Hitbox tSlider = MakeBox(5, 2, 9, 6);
    AllowTopSlopes = true;
    AllowAirWalk = true;
    MoveWithCollision(tLedgeLevel.World(), 6.0, 0.0, 0.0, tSlider);
    ExpectBoxAt(tSlider, 10, 2);
}

TEST_F(LevelCollision, LadderTopsAreFloorsOnlyWhenAsked)
{
    Drawing tDrawing;
    tDrawing.Add(std::string(30, '.'), 20);
    tDrawing.Add(std::string(30, '#'), 4);
    TextLevel tLevel(tDrawing.Rows(), tDrawing.Count(), 8);
    Ladder tLadder = {10, 10, 14};
    ClipWorld tWorld = tLevel.World(LadderTest, &tLadder);

    Hitbox tFalling = MakeBox(10, 2, 14, 6);
    MoveWithCollision(tWorld, 0.0, 10.0, 0.0, tFalling);
    ExpectBoxAt(tFalling, 10, 12);

    Hitbox tLanding = MakeBox(10, 2, 14, 6);
    LadderTopsSolid = true;
    MoveWithCollision(tWorld, 0.0, 10.0, 0.0, tLanding);
    ExpectBoxAt(tLanding, 10, 6);
    EXPECT_FALSE(LadderTopsSolid);

    // The horizontal part never sees the ladder top, so it is no ground to walk on...
    LadderTopsSolid = true;
    MoveWithCollision(tWorld, 1.0, 0.0, 0.0, tLanding);
    ExpectBoxAt(tLanding, 10, 6);

    // ...but the vertical part of the same call sees it again.
    LadderTopsSolid = true;
    AllowAirWalk = true;
    MoveWithCollision(tWorld, 1.0, 3.0, 0.0, tLanding);
    ExpectBoxAt(tLanding, 11, 6);
}

TEST_F(LevelCollision, IterationCapCutsLongMoves)
{
    Drawing tDrawing;
    DrawFloor(tDrawing, 120, false);
    TextLevel tLevel(tDrawing.Rows(), tDrawing.Count(), 16);
    ClipWorld tWorld = tLevel.World();

    Hitbox tFifty = MakeBox(5, 6, 9, 10);
    testing::internal::CaptureStderr();
    MoveWithCollision(tWorld, 50.0, 0.0, 0.0, tFifty);
    EXPECT_EQ("", CapturedStderr());
    ExpectBoxAt(tFifty, 55, 6);

    Hitbox tEighty = MakeBox(5, 6, 9, 10);
    testing::internal::CaptureStderr();
    MoveWithCollision(tWorld, 80.0, 0.0, 0.0, tEighty);
    EXPECT_EQ("Movement loop got caught\n", CapturedStderr());
    ExpectBoxAt(tEighty, 55, 6);

    // The cap counts iterations, not units: each moves one unit on both axes.
    Hitbox tDiagonal = MakeBox(5, 0, 9, 4);
    AllowAirWalk = true;
    testing::internal::CaptureStderr();
    MoveWithCollision(tWorld, 60.0, -60.0, 0.0, tDiagonal);
    EXPECT_EQ("Movement loop got caught\n", CapturedStderr());
    EXPECT_FLOAT_EQ(55.0f, tDiagonal.mLft);
}

TEST_F(LevelCollision, WildMovesAreTamed)
{
    Drawing tDrawing;
    DrawFloor(tDrawing, 120, false);
    TextLevel tLevel(tDrawing.Rows(), tDrawing.Count(), 16);
    ClipWorld tWorld = tLevel.World();
    const double tNaN = std::numeric_limits<double>::quiet_NaN();
    const double tInf = std::numeric_limits<double>::infinity();

    Hitbox tBox = MakeBox(5, 6, 9, 10);
    MoveWithCollision(tWorld, tNaN, tNaN, 0.0, tBox);
    ExpectBoxAt(tBox, 5, 6);
    EXPECT_FLOAT_EQ(0.0f, tBox.mRemainderX);
    EXPECT_FLOAT_EQ(0.0f, tBox.mRemainderY);

    testing::internal::CaptureStderr();
    MoveWithCollision(tWorld, tInf, 0.0, 0.0, tBox);
    EXPECT_EQ("Movement loop got caught\n", CapturedStderr());
    ExpectBoxAt(tBox, 55, 6);
    EXPECT_TRUE(std::isfinite(tBox.mRemainderX));

    // A remainder spoiled elsewhere restarts from zero.
    tBox.mRemainderX = std::numeric_limits<float>::quiet_NaN();
    MoveWithCollision(tWorld, 0.5, 0.0, 0.0, tBox);
    MoveWithCollision(tWorld, 0.5, 0.0, 0.0, tBox);
    ExpectBoxAt(tBox, 56, 6);

    testing::internal::CaptureStderr();
    MoveWithCollision(tWorld, 0.0, -tInf, 0.0, tBox);
    EXPECT_EQ("Movement loop got caught\n", CapturedStderr());
    ExpectBoxAt(tBox, 56, 0);
    EXPECT_TRUE(std::isfinite(tBox.mRemainderY));
}

TEST_F(LevelCollision, NoLevelIsSolidAndFlagsAreOneShot)
{
    ClipWorld tNoLevel = {nullptr, nullptr, nullptr, nullptr};
    Hitbox tBox = MakeBox(5, 6, 9, 10);
    AllowBotSlopes = AllowTopSlopes = AllowAirWalk = LadderTopsSolid = true;
    MoveWithCollision(tNoLevel, 5.0, -5.0, 0.0, tBox);
    ExpectBoxAt(tBox, 5, 6);
    EXPECT_FALSE(AnyFlagSet());

    // A move of nothing still uses up the flags.
    AllowBotSlopes = AllowTopSlopes = AllowAirWalk = LadderTopsSolid = true;
    MoveWithCollision(tNoLevel, 0.0, 0.0, 0.0, tBox);
    EXPECT_FALSE(AnyFlagSet());

    WallCrawl(tNoLevel, 5, tBox);
    ExpectBoxAt(tBox, 5, 6);
}

namespace
{
    // A 10 by 10 block at columns and rows 20 to 29 in open space.
    class WallCrawlTest : public testing::Test
    {
    protected:
        WallCrawlTest()
        {
            mDrawing.Add(std::string(50, '.'), 20);
            mDrawing.Add(std::string(20, '.') + std::string(10, '#') + std::string(20, '.'), 10);
            mDrawing.Add(std::string(50, '.'), 20);
            mLevel = new TextLevel(mDrawing.Rows(), mDrawing.Count(), 16);
        }
        ~WallCrawlTest() override { delete mLevel; }

        bool BoxIsFree(const Hitbox &pBox) const
        {
            ClipWorld tWorld = mLevel->World();
            for(int32_t y = (int32_t)pBox.mTop; y < (int32_t)pBox.mBot; y++)
            {
                if(!RowAllFree(tWorld, y, (int32_t)pBox.mLft, (int32_t)pBox.mRgt)) return false;
            }
            return true;
        }

        // Crawls one step at a time until the box is back where it began with the same
        // surface; the number of steps taken, or -1 when it never returns.
        int32_t StepsAround(Hitbox &sBox, int32_t pDirection, bool *sSeen)
        {
            const Hitbox tStart = sBox;
            for(int32_t i = 1; i <= 400; i++)
            {
                WallCrawl(mLevel->World(), pDirection, sBox);
                if(!BoxIsFree(sBox)) return -1;
                sSeen[(int32_t)sBox.mOwnerZ] = true;
                if(sBox.mLft == tStart.mLft && sBox.mTop == tStart.mTop && sBox.mOwnerZ == tStart.mOwnerZ) return i;
            }
            return -1;
        }

        Drawing mDrawing;
        TextLevel *mLevel;
    };
}

TEST_F(WallCrawlTest, CornersTurnAndDropTwo)
{
    ClipWorld tWorld = mLevel->World();

    // Floor ends under a clockwise crawler: it turns down the right side.
    Hitbox tClockwise = MakeBox(30, 16, 34, 20);
    WallCrawl(tWorld, 1, tClockwise);
    ExpectBoxAt(tClockwise, 30, 18);
    EXPECT_FLOAT_EQ((float)WALLCRAWL_LEFT, tClockwise.mOwnerZ);

    // And under a counter-clockwise one at the left end: it turns down the left side.
    Hitbox tCounter = MakeBox(16, 16, 20, 20);
    WallCrawl(tWorld, -1, tCounter);
    ExpectBoxAt(tCounter, 16, 18);
    EXPECT_FLOAT_EQ((float)WALLCRAWL_RIGHT, tCounter.mOwnerZ);

    // Unknown surface codes act as the right-hand surface.
    Hitbox tOdd = MakeBox(15, 22, 19, 26);
    tOdd.mOwnerZ = 7.5f;
    WallCrawl(tWorld, 1, tOdd);
    ExpectBoxAt(tOdd, 15, 21);
    EXPECT_FLOAT_EQ((float)WALLCRAWL_RIGHT, tOdd.mOwnerZ);
}

TEST_F(WallCrawlTest, BlockedAheadTurnsWithoutMoving)
{
    Drawing tDrawing;
    tDrawing.Add(std::string(20, '.') + "#", 10);
    tDrawing.Add(std::string(21, '#'), 2);
    TextLevel tLevel(tDrawing.Rows(), tDrawing.Count(), 8);

    Hitbox tBox = MakeBox(15, 5, 19, 9);
    WallCrawl(tLevel.World(), 1, tBox);
    ExpectBoxAt(tBox, 15, 5);
    EXPECT_FLOAT_EQ((float)WALLCRAWL_RIGHT, tBox.mOwnerZ);
    WallCrawl(tLevel.World(), 1, tBox);
    ExpectBoxAt(tBox, 15, 4);

    // Steps of 0 do nothing.
    WallCrawl(tLevel.World(), 0, tBox);
    ExpectBoxAt(tBox, 15, 4);
}

TEST_F(WallCrawlTest, CirclesABlockBothWays)
{
    for(int32_t tDirection = -1; tDirection <= 1; tDirection += 2)
    {
        // Resting on the block's top, the box is on the path the rules keep to.
        Hitbox tBox = MakeBox(22, 16, 26, 20);
        bool tSeen[4] = {false, false, false, false};
        const int32_t tSteps = StepsAround(tBox, tDirection, tSeen);
        EXPECT_GT(tSteps, 40) << tDirection;
        for(int32_t s = 0; s < 4; s++) EXPECT_TRUE(tSeen[s]) << tDirection << " surface " << s;

        // Several laps in one call end where single steps do.
        Hitbox tBatch = MakeBox(22, 16, 26, 20);
        WallCrawl(mLevel->World(), tDirection * tSteps * 3, tBatch);
        ExpectBoxAt(tBatch, 22, 16);
        EXPECT_FLOAT_EQ(0.0f, tBatch.mOwnerZ);
    }
}

TEST(AccumulateFraction, CarriesWholeUnits)
{
    float tRemainder = 0.0f;
    int32_t tSteps[3];
    for(int32_t i = 0; i < 3; i++)
    {
        tSteps[i] = 0;
        AccumulateFraction(0.4, tRemainder, tSteps[i]);
    }
    EXPECT_EQ(0, tSteps[0]);
    EXPECT_EQ(0, tSteps[1]);
    EXPECT_EQ(1, tSteps[2]);

    tRemainder = 0.0f;
    int32_t tWhole = -2;
    AccumulateFraction(-2.6, tRemainder, tWhole);
    AccumulateFraction(-2.6, tRemainder, tWhole = -2);
    EXPECT_EQ(-3, tWhole);
    EXPECT_NEAR(-0.2f, tRemainder, 1e-5f);

    // A large remainder pays out all its whole units at once, keeping its sign.
    tRemainder = 5.5f;
    tWhole = 1;
    AccumulateFraction(1.0, tRemainder, tWhole);
    EXPECT_EQ(6, tWhole);
    EXPECT_FLOAT_EQ(0.5f, tRemainder);

    tWhole = 3;
    AccumulateFraction(std::numeric_limits<double>::infinity(), tRemainder, tWhole);
    EXPECT_EQ(3, tWhole);
    EXPECT_FLOAT_EQ(0.5f, tRemainder);
}

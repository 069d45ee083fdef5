#include "world/SolidIndex.h"

#include "support/SeededRandom.h"
#include "WorldLuaFixture.h"
#include "core/NamedLinkedList.h"
#include "world/Door.h"
#include "world/EntityManager.h"
#include "world/LadderZone.h"
#include "world/LevelCollision.h"
#include "world/MovingContainer.h"
#include "world/RootProjectile.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace
{
    // A projectile that, when told to, shifts its own box inside its update by writing the
    // box directly, and checks every point test asked meanwhile against a walk of the list.
    class Block : public RootProjectile
    {
    public:
        void Update() override
        {
            if(mDrift == 0.0f) return;
            mHitbox.mLft += mDrift;
            mHitbox.mRgt += mDrift;
            if(rDuring) rDuring(this);
        }
        float mDrift = 0.0f;
        void (*rDuring)(Block *pBlock) = nullptr;
    };

    // The entity part of the point test as a walk of the list (ladder tops stay off here).
    bool WalkContains(EntityManager *pManager, int32_t pX, int32_t pY)
    {
        NamedLinkedList *rList = pManager->GetEntityList();
        for(void *rData = rList->PushIterator(); rData; rData = rList->IterateNext())
        {
            if(((RootEntity *)rData)->ContainsPoint(pX, pY))
            {
                rList->PopIterator();
                return true;
            }
        }
        return false;
    }

    bool WalkContainsInBox(EntityManager *pManager, IntRect pBox)
    {
        for(int32_t y = pBox.mTop; y <= pBox.mBot; y++)
        {
            for(int32_t x = pBox.mLft; x <= pBox.mRgt; x++)
            {
                if(WalkContains(pManager, x, y)) return true;
            }
        }
        return false;
    }

    class SolidIndexTest : public WorldLuaFixture
    {
    public:
        void SetUp() override
        {
            WorldLuaFixture::SetUp();
            mManager = mEntities;
            mRandom.mState = 20261209u;
            LadderTopsSolid = false;
        }

        void TearDown() override
        {
            LadderTopsSolid = false;
            WorldLuaFixture::TearDown();
        }

        // Boxes from empty to huge, around the origin so negative cells are covered too. A huge
        // box reaches far out on one side only, so most of the probed area stays open.
        void Shape(Block *pBlock)
        {
            int32_t tKind = mRandom.Range(0, 9);
            float tW = (float)mRandom.Range(1, 40);
            float tH = (float)mRandom.Range(1, 40);
            float tX = (float)mRandom.Range(-300, 300) + (mRandom.Chance(20) ? 0.5f : 0.0f);
            float tY = (float)mRandom.Range(-300, 300);
            if(tKind == 0) tW = 0.0f;
            if(tKind == 1) tH = 0.5f;
            if(tKind == 2) tW = (float)mRandom.Range(300, 5000);
            if(tKind == 3)
            {
                tW = 1.0e9f;
                if(mRandom.Chance(50)) tX -= tW;
            }
            pBlock->SetDimensions(0.0f, 0.0f, tW, tH);
            pBlock->SetPosition(tX, tY);
        }

        Block *AddBlock()
        {
            Block *nBlock = new Block();
            Shape(nBlock);
            nBlock->SetObstacle(mRandom.Chance(70) ? 1 : 0);
            mManager->RegisterEntity("Block", nBlock, DeleteRootObject);
            mBlocks.push_back(nBlock);
            return nBlock;
        }

        // Every change a script or another entity can make, between or during the walks.
        void ChangeSomething()
        {
            int32_t tAction = mRandom.Range(0, 7);
            if(tAction == 0 || mBlocks.empty())
            {
                AddBlock();
                return;
            }
            size_t tPick = mRandom.Next() % mBlocks.size();
            Block *nBlock = mBlocks[tPick];
            if(tAction == 1) Shape(nBlock);
            if(tAction == 2) nBlock->SetObstacle(nBlock->IsObstacle() ? 0 : 1);
            if(tAction == 3) nBlock->SetPosition((float)mRandom.Range(-300, 300), (float)mRandom.Range(-300, 300));
            if(tAction == 4)
            {
                Hitbox *rBox = nBlock->GetHitboxPtr();
                rBox->mTop -= 7.0f;
                rBox->mBot += 3.0f;
            }
            if(tAction == 5) nBlock->Move(3.0f, -2.0f, 0.0f);
            if(tAction == 6)
            {
                mManager->RemoveEntity(nBlock);
                delete nBlock;
                mBlocks.erase(mBlocks.begin() + (long)tPick);
            }
            if(tAction == 7)
            {
                nBlock->SetDestruct(1);
                mBlocks.erase(mBlocks.begin() + (long)tPick);
            }
        }

        // An edge as a whole number, pulled in to the probed area when it lies far out.
        static int32_t Near(float pEdge)
        {
            float tEdge = pEdge < -400.0f ? -400.0f : (pEdge > 400.0f ? 400.0f : pEdge);
            return (int32_t)floorf(tEdge);
        }

        // Random points, plus every edge of every box and the points just outside them.
        void ExpectSameAnswers(const char *pWhen)
        {
            std::vector<std::pair<int32_t, int32_t>> tPoints;
            for(int32_t i = 0; i < 200; i++) tPoints.push_back({mRandom.Range(-360, 360), mRandom.Range(-360, 360)});
            for(Block *rBlock : mBlocks)
            {
                Hitbox tBox;
                rBlock->GetHitbox(tBox);
                int32_t tL = Near(tBox.mLft), tR = Near(tBox.mRgt), tT = Near(tBox.mTop), tB = Near(tBox.mBot);
                for(int32_t x : {tL - 1, tL, tR - 1, tR})
                {
                    for(int32_t y : {tT - 1, tT, tB - 1, tB}) tPoints.push_back({x, y});
                }
            }
            for(auto &rPoint : tPoints)
            {
                ASSERT_EQ(mManager->IsPointInsideAny(rPoint.first, rPoint.second),
                          WalkContains(mManager, rPoint.first, rPoint.second))
                    << pWhen << " at " << rPoint.first << ", " << rPoint.second;
            }
            for(int32_t i = 0; i < 60; i++)
            {
                auto &rPoint = tPoints[mRandom.Next() % tPoints.size()];
                int32_t tLength = mRandom.Range(0, 40);
                IntRect tScan = {rPoint.first, rPoint.second, rPoint.first, rPoint.second + tLength};
                if(mRandom.Chance(50)) tScan = {rPoint.first - tLength, rPoint.second, rPoint.first, rPoint.second};
                ASSERT_EQ(mManager->IsAnyPointInside(tScan), WalkContainsInBox(mManager, tScan))
                    << pWhen << " scan from " << tScan.mLft << ", " << tScan.mTop << " to " << tScan.mRgt << ", "
                    << tScan.mBot;
            }
        }

        EntityManager *mManager;
        Random mRandom;
        std::vector<Block *> mBlocks;
    };

    SolidIndexTest *xTest = nullptr;
}

TEST_F(SolidIndexTest, EveryClassThatHoldsPointsReachesAllOfThem)
{
    RootProjectile tProjectile;
    tProjectile.SetDimensions(0.0f, 0.0f, 16.0f, 16.0f);
    tProjectile.SetPosition(-8.5f, 3.0f);
    MovingContainer tPlatform;
    tPlatform.SetDimensions(0.0f, 0.0f, 40.0f, 8.0f);
    tPlatform.SetPosition(10.0f, -4.0f);
    Door tDoor;
    tDoor.SetRenderPos(-12.0f, -30.0f);
    LadderZone tLadder;
    tLadder.SetRect(-5.0f, 7.0f, 9.0f, 60.0f);
    LadderTopsSolid = true;

    IntRect tBox;
    EXPECT_EQ(tProjectile.GetSolidReach(tBox), SOLID_REACH_NONE);
    tProjectile.SetObstacle(1);
    RootEntity tPlain;
    EXPECT_EQ(tPlain.GetSolidReach(tBox), SOLID_REACH_NEVER);

    RootEntity *rSolids[] = {&tProjectile, &tPlatform, &tDoor, &tLadder};
    for(RootEntity *rEntity : rSolids)
    {
        ASSERT_EQ(rEntity->GetSolidReach(tBox), SOLID_REACH_BOX);
        int32_t tHeld = 0;
        for(int32_t y = -100; y <= 100; y++)
        {
            for(int32_t x = -100; x <= 100; x++)
            {
                if(!rEntity->ContainsPoint(x, y)) continue;
                tHeld++;
                ASSERT_TRUE(x >= tBox.mLft && x <= tBox.mRgt && y >= tBox.mTop && y <= tBox.mBot) << x << ", " << y;
            }
        }
        EXPECT_GT(tHeld, 0);
    }
}

TEST_F(SolidIndexTest, TheIndexAnswersAsAWalkOfTheListThroughAddsMovesAndRemovals)
{
    for(int32_t i = 0; i < 60; i++) AddBlock();
    ExpectSameAnswers("before any walk");
    for(int32_t tRound = 0; tRound < 40; tRound++)
    {
        int32_t tChanges = mRandom.Range(1, 6);
        for(int32_t i = 0; i < tChanges; i++) ChangeSomething();
        ExpectSameAnswers("after changes outside the walks");
        mManager->Update();
        ExpectSameAnswers("after the update walk");
    }
}

// Blocks drift inside their own update, with no word to the manager, and the point tests run
// during the walk (inside each drifting block's update, as a self-colliding mover's would).
TEST_F(SolidIndexTest, EntitiesMovingInsideTheirOwnHooksAreNeverMissed)
{
    xTest = this;
    for(int32_t i = 0; i < 40; i++)
    {
        Block *rBlock = AddBlock();
        rBlock->SetObstacle(1);
        rBlock->mDrift = (float)mRandom.Range(-70, 70);
        rBlock->rDuring = [](Block *) { xTest->ExpectSameAnswers("inside a drifting block's update"); };
    }
    mManager->Update();
    ExpectSameAnswers("after the drifting walk");
    for(int32_t tRound = 0; tRound < 5; tRound++)
    {
        for(int32_t i = 0; i < 3; i++) ChangeSomething();
        mManager->Update();
    }
    ExpectSameAnswers("after more walks");
    xTest = nullptr;
}

TEST_F(SolidIndexTest, AnEntityListedTwiceStaysSolidUntilBothEntriesGo)
{
    Block *nBlock = new Block();
    nBlock->SetDimensions(0.0f, 0.0f, 8.0f, 8.0f);
    nBlock->SetPosition(20.0f, 20.0f);
    nBlock->SetObstacle(1);
    mManager->RegisterEntity("First", nBlock);
    mManager->RegisterEntity("Second", nBlock);
    mManager->Update();
    mManager->RemoveEntity(nBlock);
    EXPECT_TRUE(mManager->IsPointInsideAny(24, 24));
    mManager->Update();
    EXPECT_TRUE(mManager->IsPointInsideAny(24, 24));
    mManager->RemoveEntity(nBlock);
    EXPECT_FALSE(mManager->IsPointInsideAny(24, 24));
    delete nBlock;
    mManager->Update();
    EXPECT_FALSE(mManager->IsPointInsideAny(24, 24));
}

TEST_F(SolidIndexTest, LadderTopsCountOnlyWhileTheMovementAsksForThem)
{
    RegisterLadderZoneLua(L);
    Run("Ladder_Create('Ladder', 100, 50, 110, 200)");
    IntRect tColumn = {105, 40, 105, 60};
    EXPECT_FALSE(mManager->IsPointInsideAny(105, 50));
    EXPECT_FALSE(mManager->IsAnyPointInside(tColumn));
    LadderTopsSolid = true;
    EXPECT_TRUE(mManager->IsPointInsideAny(105, 50));
    EXPECT_FALSE(mManager->IsPointInsideAny(105, 51));
    EXPECT_TRUE(mManager->IsAnyPointInside(tColumn));
    IntRect tBelowTop = {100, 51, 110, 60};
    EXPECT_FALSE(mManager->IsAnyPointInside(tBelowTop));
}

TEST(SolidIndexAloneTest, SettledEntitiesAreFoundThroughTheCellsAndWideList)
{
    SolidIndex tIndex;
    std::vector<RootProjectile *> tBoxes;
    Random tRandom = {5u};
    for(int32_t i = 0; i < 300; i++)
    {
        RootProjectile *nBox = new RootProjectile();
        float tSize = (i % 50 == 0) ? 3000.0f : (float)tRandom.Range(0, 30);
        nBox->SetDimensions(0.0f, 0.0f, tSize, tSize);
        nBox->SetPosition((float)tRandom.Range(-1000, 1000), (float)tRandom.Range(-1000, 1000));
        nBox->SetObstacle(1);
        tIndex.Add(nBox);
        tBoxes.push_back(nBox);
    }
    RootEntity tPlain;
    tIndex.Add(&tPlain);
    EXPECT_EQ(tIndex.GetCount(), 300);
    EXPECT_EQ(tIndex.GetLooseCount(), 300);
    tIndex.Settle();
    EXPECT_EQ(tIndex.GetLooseCount(), 0);

    for(int32_t tRound = 0; tRound < 3; tRound++)
    {
        for(int32_t i = 0; i < 3000; i++)
        {
            int32_t tX = tRandom.Range(-1100, 1100), tY = tRandom.Range(-1100, 1100);
            bool tWalk = false;
            for(RootProjectile *rBox : tBoxes) tWalk = tWalk || rBox->ContainsPoint(tX, tY);
            ASSERT_EQ(tIndex.AnyContains(tX, tY), tWalk) << tX << ", " << tY;
        }
        // Moved boxes stay loose until settled, and are found wherever they went meanwhile.
        for(int32_t i = 0; i < 40; i++)
        {
            RootProjectile *rBox = tBoxes[tRandom.Next() % tBoxes.size()];
            tIndex.MarkLoose(rBox);
            rBox->GetHitboxPtr()->mLft -= (float)tRandom.Range(0, 200);
        }
        if(tRound == 1) tIndex.Settle();
        for(size_t i = 0; i < tBoxes.size(); i += 3)
        {
            tIndex.Remove(tBoxes[i]);
            delete tBoxes[i];
            tBoxes.erase(tBoxes.begin() + (long)i);
        }
    }
    for(RootProjectile *nBox : tBoxes) delete nBox;
}

#include "PuppetEnemyWorld.h"

#include "skeleton/Skeleton.h"

// Enemies wearing the generated sample puppets, read from the game's data directory.
namespace
{
    class EnemyPuppetTest : public PuppetEnemyWorld
    {
    protected:
        // An enemy in puppet mode with puppet hitboxes, posed and facing right.
        Enemy *MakePuppetEnemy(const char *pPreset, float pX, float pY)
        {
            Enemy *rEnemy = MakeEnemy("Puppet", pX, pY, 40.0f, 10);
            rEnemy->SetUsePuppetHitboxes(1);
            EnemyAppearance *rAppearance = rEnemy->GetAppearance();
            testing::internal::CaptureStderr();
            rAppearance->BootPuppet(pPreset);
            CapturedStderr();
            rAppearance->SetFacing(1);
            rAppearance->SetPuppetAnimation("idle");
            rAppearance->SetPuppetAnimationTime(0.0f);
            return rEnemy;
        }

        // Counts draws as the appearance would, without GL.
        static void DrawTimes(Enemy *pEnemy, int32_t pTimes)
        {
            for(int32_t i = 0; i < pTimes; i++) pEnemy->GetAppearance()->GetPuppet()->Render();
            pEnemy->SetPuppetDrawn();
        }
    };
}

TEST_F(EnemyPuppetTest, PresetsBootTheirSkeletonsAndAnswerSlotQueries)
{
    EnemyAppearance tAppearance;
    float tX = -1.0f, tY = -1.0f;
    EXPECT_FALSE(tAppearance.GetSlotCenter(0, tX, tY));
    EXPECT_EQ(tAppearance.GetSlotRotation(0), 0.0f);

    testing::internal::CaptureStderr();
    tAppearance.BootPuppet("Goblin");
    std::string tErr = CapturedStderr();
    EXPECT_EQ(tErr.find("Using preset: Golbin\n"), 0u) << tErr;
    EXPECT_EQ(tErr.find("Error"), std::string::npos) << tErr;
    ASSERT_NE(tAppearance.GetPuppet(), nullptr);
    EXPECT_TRUE(tAppearance.GetPuppet()->IsBooted());
    EXPECT_FALSE(tAppearance.GetPuppet()->IsArtFlipped());
    EXPECT_EQ(tAppearance.GetPuppetSlotCount(), 7);

    // The head (setup slot 4) sits above the legs (slot 0): skeleton y grows upward.
    tAppearance.SetPuppetAnimation("idle");
    float tHeadX = 0.0f, tHeadY = 0.0f, tLegX = 0.0f, tLegY = 0.0f;
    EXPECT_TRUE(tAppearance.GetSlotCenter(4, tHeadX, tHeadY));
    EXPECT_TRUE(tAppearance.GetSlotCenter(0, tLegX, tLegY));
    EXPECT_GT(tHeadY, tLegY);
    EXPECT_EQ(tAppearance.GetSlotRotation(99), 0.0f);

    // A second boot replaces the first puppet; the tank's art is flipped.
    testing::internal::CaptureStderr();
    tAppearance.BootPuppet("DragonTank");
    tErr = CapturedStderr();
    EXPECT_EQ(tErr.find("Using preset: Dragon Tank\n"), 0u) << tErr;
    EXPECT_TRUE(tAppearance.GetPuppet()->IsBooted());
    EXPECT_TRUE(tAppearance.GetPuppet()->IsArtFlipped());
    EXPECT_EQ(tAppearance.GetPuppetSlotCount(), 6);

    // Frame-mode queries are unaffected by puppet mode.
    EXPECT_EQ(tAppearance.GetFrameIndex(), 0);
}

TEST_F(EnemyPuppetTest, PolygonsFollowTheSlotsOnceDrawnAndMirrorFacingLeft)
{
    Enemy *rEnemy = MakePuppetEnemy("Goblin", 200.0f, 300.0f);
    EnemyAppearance *rAppearance = rEnemy->GetAppearance();
    EnemyHitbox *rHitbox = rEnemy->GetEnemyHitbox();
    CorvelPuppet *rPuppet = rAppearance->GetPuppet();
    rPuppet->SetSlotBlocksBuster(5, 1);

    // Allocated with the blocks-buster flags, but nothing is placed before the first draw.
    rHitbox->UpdatePuppetHitboxes(rAppearance);
    ASSERT_EQ(rHitbox->GetPuppetHitboxCount(), 7);
    EXPECT_FALSE(rHitbox->ArePuppetPolygonsReady());
    EXPECT_EQ(rHitbox->GetPuppetHitboxes()[5].mBlocksBuster, 1);
    EXPECT_EQ(rHitbox->GetPuppetHitboxes()[4].mBlocksBuster, 0);
    EXPECT_EQ(rHitbox->GetPuppetHitboxes()[0].mCount, 0);

    DrawTimes(rEnemy, 1);
    rHitbox->UpdatePuppetHitboxes(rAppearance);
    EXPECT_TRUE(rHitbox->ArePuppetPolygonsReady());
    EXPECT_FALSE(rHitbox->IsPuppetDrawnEnough());
    const Hitbox *rBox = rEnemy->GetHitboxPtr();
    float tX[4], tY[4];
    for(int32_t i = 0; i < 7; i++)
    {
        const EnemyPuppetPolygon &rPolygon = rHitbox->GetPuppetHitboxes()[i];
        ASSERT_TRUE(rPuppet->GetSlotQuadXY(i, tX, tY)) << i;
        ASSERT_EQ(rPolygon.mCount, 4);
        for(int32_t v = 0; v < 4; v++)
        {
            EXPECT_FLOAT_EQ(rPolygon.mX[v], rBox->mLft + tX[v]);
            EXPECT_FLOAT_EQ(rPolygon.mY[v], rBox->mTop - tY[v]);
        }
    }

    // Facing left the puppet is drawn mirrored about the box's left edge; so are the polygons.
    rAppearance->SetFacing(0);
    DrawTimes(rEnemy, 7);
    rHitbox->UpdatePuppetHitboxes(rAppearance);
    EXPECT_TRUE(rHitbox->IsPuppetDrawnEnough());
    ASSERT_TRUE(rPuppet->GetSlotQuadXYReversed(3, tX, tY));
    const EnemyPuppetPolygon &rTorso = rHitbox->GetPuppetHitboxes()[3];
    for(int32_t v = 0; v < 4; v++)
    {
        EXPECT_FLOAT_EQ(rTorso.mX[v], rBox->mLft - tX[v]);
        EXPECT_FLOAT_EQ(rTorso.mY[v], rBox->mTop - tY[v]);
    }
}

TEST_F(EnemyPuppetTest, PolygonsTakeDamageOnlyOnceTheirPoseHasSettled)
{
    Enemy *rEnemy = MakePuppetEnemy("Goblin", 200.0f, 300.0f);
    EnemyAppearance *rAppearance = rEnemy->GetAppearance();
    EnemyHitbox *rHitbox = rEnemy->GetEnemyHitbox();
    rAppearance->GetPuppet()->SetSlotBlocksBuster(4, 1);
    DrawTimes(rEnemy, 1);
    rHitbox->UpdatePuppetHitboxes(rAppearance);

    // A shot whose top-left corner sits at the torso's centre, another at the head's.
    float tCX = 0.0f, tCY = 0.0f;
    const EnemyPuppetPolygon &rTorso = rHitbox->GetPuppetHitboxes()[3];
    for(int32_t v = 0; v < 4; v++)
    {
        tCX += rTorso.mX[v] / 4.0f;
        tCY += rTorso.mY[v] / 4.0f;
    }
    RootProjectile *rShot = MakeShot(tCX, tCY, 3);
    const int32_t tShotID = rShot->GetID();

    // Drawn once only: the pose has not settled and nothing is taken.
    rHitbox->CollectPuppetDamage(rEnemy->GetHealth());
    EXPECT_EQ(rHitbox->GetDamageThisTick(), 0);
    EXPECT_FALSE(rShot->GetDestruct());

    DrawTimes(rEnemy, 7);
    rHitbox->UpdatePuppetHitboxes(rAppearance);
    rHitbox->CollectPuppetDamage(rEnemy->GetHealth());
    EXPECT_EQ(rHitbox->GetDamageThisTick(), 3);
    ASSERT_TRUE(Alive(tShotID));
    EXPECT_TRUE(rShot->GetDestruct());

    // Through the head, which blocks buster shots: the damage counts, the shot is not used up.
    rShot->SetDestruct(0);
    float tHX = 0.0f, tHY = 0.0f;
    const EnemyPuppetPolygon &rHead = rHitbox->GetPuppetHitboxes()[4];
    for(int32_t v = 0; v < 4; v++)
    {
        tHX += rHead.mX[v] / 4.0f;
        tHY += rHead.mY[v] / 4.0f;
    }
    rShot->SetPosition(tHX, tHY);
    rHitbox->CollectPuppetDamage(rEnemy->GetHealth());
    EXPECT_EQ(rHitbox->GetDamageThisTick(), 3);
    EXPECT_FALSE(rShot->GetDestruct());

    // With IgnoreDamage nothing is taken at all.
    rHitbox->SetIgnoreDamage(1);
    rHitbox->CollectPuppetDamage(rEnemy->GetHealth());
    EXPECT_EQ(rHitbox->GetDamageThisTick(), 0);
}

TEST_F(EnemyPuppetTest, TheContactBoxHitsAndBlocksThroughThePolygons)
{
    Enemy *rEnemy = MakePuppetEnemy("Goblin", 200.0f, 300.0f);
    EnemyAppearance *rAppearance = rEnemy->GetAppearance();
    EnemyHitbox *rHitbox = rEnemy->GetEnemyHitbox();
    RootProjectile *rContact = rEnemy->GetContactProjectile();
    ASSERT_NE(rContact, nullptr);
    rAppearance->GetPuppet()->SetSlotBlocksBuster(3, 1);
    DrawTimes(rEnemy, 1);
    rHitbox->UpdatePuppetHitboxes(rAppearance);

    const EnemyPuppetPolygon &rTorso = rHitbox->GetPuppetHitboxes()[3];
    float tCX = 0.0f, tCY = 0.0f;
    for(int32_t v = 0; v < 4; v++)
    {
        tCX += rTorso.mX[v] / 4.0f;
        tCY += rTorso.mY[v] / 4.0f;
    }
    Hitbox tInside = Hitbox();
    tInside.mLft = tInside.mRgt = tCX;
    tInside.mTop = tInside.mBot = tCY;
    Hitbox tFar = Hitbox();
    tFar.mLft = tFar.mRgt = -500.0f;
    tFar.mTop = tFar.mBot = -500.0f;

    // Fewer than seven draws: the polygons neither hit nor block.
    EXPECT_FALSE(rContact->HitTestHitbox(tInside));
    EXPECT_FALSE(rContact->IsBusterBlocker());

    DrawTimes(rEnemy, 6);
    EXPECT_FALSE(rContact->HitTestHitbox(tFar));
    ASSERT_TRUE(rContact->HitTestHitbox(tInside));
    EXPECT_GE(rContact->GetPolygonIndex(), 0);
    EXPECT_EQ(rContact->IsBusterBlocker(), rAppearance->GetPuppet()->GetDrawnSlotBlocksBuster(rContact->GetPolygonIndex()) != 0);
    rContact->SetPolygonIndex(-1);
    EXPECT_FALSE(rContact->IsBusterBlocker());
}

TEST_F(EnemyPuppetTest, BlockingFlagsFollowTheirSlotWhenTheDrawOrderChanges)
{
    Enemy *rEnemy = MakePuppetEnemy("Goblin", 200.0f, 300.0f);
    EnemyAppearance *rAppearance = rEnemy->GetAppearance();
    EnemyHitbox *rHitbox = rEnemy->GetEnemyHitbox();
    CorvelPuppet *rPuppet = rAppearance->GetPuppet();
    Skeleton *rSkeleton = rPuppet->GetSkeleton();
    ASSERT_NE(rSkeleton, nullptr);
    ASSERT_GE(rSkeleton->mSlotCount, 5);
    rPuppet->SetSlotBlocksBuster(4, 1);
    DrawTimes(rEnemy, 8);
    rHitbox->UpdatePuppetHitboxes(rAppearance);
    EXPECT_EQ(rHitbox->GetPuppetHitboxes()[4].mBlocksBuster, 1);
    EXPECT_EQ(rHitbox->GetPuppetHitboxes()[3].mBlocksBuster, 0);

    // An animation that draws slot 4 before slot 3: the flag moves with the slot's polygon.
    Slot *rThird = rSkeleton->mDrawOrder[3];
    rSkeleton->mDrawOrder[3] = rSkeleton->mDrawOrder[4];
    rSkeleton->mDrawOrder[4] = rThird;
    rHitbox->UpdatePuppetHitboxes(rAppearance);
    EXPECT_EQ(rHitbox->GetPuppetHitboxes()[3].mBlocksBuster, 1);
    EXPECT_EQ(rHitbox->GetPuppetHitboxes()[4].mBlocksBuster, 0);
    EXPECT_EQ(rPuppet->GetDrawnSlotBlocksBuster(3), 1);
    EXPECT_EQ(rPuppet->GetSlotBlocksBuster(4), 1);
}

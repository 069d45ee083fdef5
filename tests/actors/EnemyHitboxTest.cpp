#include "support/EnemyWorld.h"

#include "core/render/Bitmap.h"
#include "core/render/CorvelAnimation.h"

using EnemyHitboxTest = EnemyWorld;

namespace
{
    // One animation of one frame, one box, facing 0 set at (x, 10) sized w by 20.
    void BuildOneBox(EnemyHitbox *pHitbox, float pX, float pW, int32_t pFrameWidth)
    {
        pHitbox->SetNumberOfHitboxes(1);
        pHitbox->SetNumberOfAnimations(1);
        pHitbox->SetNumberOfFramesForAnimation(0, 1);
        pHitbox->CalculateHitboxes();
        pHitbox->SetAnimationSize(pFrameWidth, 64);
        pHitbox->SetHitboxData(0, 0, 0, 0, pX, 10.0f, pW, 20.0f);
        pHitbox->CalculateMissingHitboxes();
    }
}

TEST_F(EnemyHitboxTest, MissingFacingsAreMirroredAboutTheFrameWidth)
{
    Enemy *rEnemy = MakeEnemy("Boxy", 200.0f, 300.0f, 40.0f, 5);
    EnemyHitbox *rHitbox = rEnemy->GetEnemyHitbox();
    BuildOneBox(rHitbox, 10.0f, 20.0f, 64);
    const EnemyHitboxRecord *rMirror = rHitbox->GetRecord(0, 0, 1, 0);
    ASSERT_NE(rMirror, nullptr);
    EXPECT_TRUE(rMirror->mSet);
    EXPECT_EQ(rMirror->mX, 34.0f);
    EXPECT_EQ(rMirror->mW, 20.0f);

    // A box starting left of the frame keeps its distance from the other edge.
    BuildOneBox(rHitbox, -5.0f, 10.0f, 64);
    EXPECT_EQ(rHitbox->GetRecord(0, 0, 1, 0)->mX, 59.0f);

    // Set for neither facing: the message unless told to ignore it.
    rHitbox->CalculateHitboxes();
    testing::internal::CaptureStderr();
    rHitbox->CalculateMissingHitboxes();
    rHitbox->SetIgnoreMissingHitboxData();
    rHitbox->CalculateMissingHitboxes();
    std::string tErr = CapturedStderr();
    EXPECT_EQ(tErr, "EnemyHitbox::CalculateMissingHitboxes error, Animation index 0, frame index 0, hitbox index 0 has no hitbox set "
                    "for either direction facing.\n");
}

TEST_F(EnemyHitboxTest, CountsChangedAfterTheTableWasBuiltNeverReachPastIt)
{
    Enemy *rEnemy = MakeEnemy("Boxy", 200.0f, 300.0f, 40.0f, 5);
    EnemyHitbox *rHitbox = rEnemy->GetEnemyHitbox();
    BuildOneBox(rHitbox, 0.0f, 10.0f, 64);
    // Grown counts after the table: records past its dimensions read as absent.
    rHitbox->SetNumberOfHitboxes(4);
    rHitbox->SetNumberOfAnimations(3);
    rHitbox->SetNumberOfFramesForAnimation(2, 50);
    testing::internal::CaptureStderr();
    rHitbox->SetHitboxData(2, 49, 1, 3, 1.0f, 1.0f, 1.0f, 1.0f);
    EXPECT_FALSE(rHitbox->IsHitboxDataSet(2, 49, 1, 3));
    EXPECT_EQ(rHitbox->GetRecord(2, 49, 1, 3), nullptr);
    rEnemy->SetUseBoundingBoxAsHitbox(0);
    rEnemy->GetAppearance()->SetAnimationsTotal(3);
    rEnemy->GetAppearance()->SetAnimationIndex(2);
    rEnemy->GetAppearance()->SetFacing(1);
    Tick(2);
    // Caps with a message.
    rHitbox->SetNumberOfHitboxes(100000);
    rHitbox->SetNumberOfAnimations(100000);
    rHitbox->SetNumberOfFramesForAnimation(0, 100000);
    std::string tErr = CapturedStderr();
    EXPECT_NE(tErr.find("100000 hitboxes asked for, at most 64 allowed"), std::string::npos);
    EXPECT_NE(tErr.find("100000 animations asked for, at most 256 allowed"), std::string::npos);
    EXPECT_NE(tErr.find("100000 frames asked for, at most 1024 allowed"), std::string::npos);
    EXPECT_EQ(rHitbox->GetBoxCount(), 4);

    // The checks of the setters, in their order.
    testing::internal::CaptureStderr();
    rHitbox->SetHitboxData(9, 0, 0, 0, 0.0f, 0.0f, 1.0f, 1.0f);
    rHitbox->SetHitboxData(0, 9, 0, 0, 0.0f, 0.0f, 1.0f, 1.0f);
    rHitbox->SetHitboxData(2, 0, -1, 0, 0.0f, 0.0f, 1.0f, 1.0f);
    rHitbox->SetHitboxData(2, 0, 0, 0, 0.0f, 0.0f, -1.0f, 1.0f);
    rHitbox->SetNumberOfHitboxes(0);
    rHitbox->SetAnimationSize(-1, 3);
    tErr = CapturedStderr();
    EXPECT_EQ(tErr, "EnemyHitbox::SetHitboxData error, Animation index given out of bounds.\n"
                    "EnemyHitbox:SetHitboxData error, frame index given is out of bounds.\n"
                    "EnemyHitbox::SetHitboxData error, direction facing not set.\n"
                    "EnemyHitbox::SetHitboxData error, size given of hitbox were negative values.\n"
                    "EnemyHitbox::SetNumberOfHitboxes error, number of hitboxes specified is less than 1.\n"
                    "EnemyHitbox::SetAnimationSize error, width or height specified is a negative value.\n");
}

TEST_F(EnemyHitboxTest, BoxesFollowTheFrameParkWithoutDataAndTakeTheGreatestHitOnce)
{
    Enemy *rEnemy = MakeEnemy("Boxy", 200.0f, 300.0f, 40.0f, 10);
    EnemyHitbox *rHitbox = rEnemy->GetEnemyHitbox();
    rHitbox->SetNumberOfHitboxes(2);
    rHitbox->SetNumberOfAnimations(1);
    rHitbox->SetNumberOfFramesForAnimation(0, 1);
    rHitbox->CalculateHitboxes();
    rHitbox->SetHitboxData(0, 0, 1, 0, 0.0f, 0.0f, 16.0f, 16.0f);
    rHitbox->SetHitboxData(0, 0, 1, 1, 10.0f, 0.0f, 16.0f, 16.0f);
    rEnemy->SetUseBoundingBoxAsHitbox(0);
    rEnemy->SetContactDamage(2);
    EnemyAppearance *rAppearance = rEnemy->GetAppearance();
    rAppearance->SetAnimationsTotal(1);
    rAppearance->SetAnimationIndex(0);
    rAppearance->SetFacing(1);
    rAppearance->SetAnimationOffsets(5.0f, -4.0f);
    EXPECT_EQ(rEnemy->GetContactProjectile()->GetTargetFlags(), PROJECTILE_TARGET_NONE);
    EXPECT_EQ(rHitbox->GetBox(1)->GetDamage(), 2);

    // One shot over both boxes counts once.
    MakeShot(216.0f, 298.0f, 2);
    Tick();
    Hitbox tBox;
    rHitbox->GetBox(1)->GetHitbox(tBox);
    EXPECT_EQ(tBox.mLft, 215.0f);
    EXPECT_EQ(tBox.mTop, 296.0f);
    EXPECT_EQ(tBox.mRgt, 231.0f);
    EXPECT_EQ(rEnemy->GetHealth()->GetHealth(), 7);

    // Facing 0 has no data: both boxes wait outside the world and nothing hits.
    rAppearance->SetFacing(0);
    MakeShot(216.0f, 298.0f, 2);
    Tick();
    rHitbox->GetBox(0)->GetHitbox(tBox);
    EXPECT_EQ(tBox.mOwnerX, -1000.0f);
    EXPECT_EQ(tBox.mOwnerY, -1000.0f);
    EXPECT_EQ(rEnemy->GetHealth()->GetHealth(), 7);
}

TEST_F(EnemyHitboxTest, AppearanceCountsTimeTogglesFacingAndChecksIndices)
{
    EnemyAppearance tAppearance;
    EXPECT_EQ(tAppearance.GetFrameIndex(), 0);
    tAppearance.SetFacing(0);
    EXPECT_TRUE(tAppearance.GetHorizontalFlip());
    tAppearance.SetFacing(1);
    EXPECT_FALSE(tAppearance.GetHorizontalFlip());
    tAppearance.SetFacing(1);
    EXPECT_FALSE(tAppearance.GetHorizontalFlip());

    tAppearance.SetAnimationsTotal(2);
    Hitbox tBox = Hitbox();
    tAppearance.SetAnimationIndex(0);
    tAppearance.Update(tBox);
    tAppearance.SetAnimationIndex(0);
    tAppearance.Update(tBox);
    EXPECT_EQ(tAppearance.GetTick(), 2);
    tAppearance.SetAnimationIndex(1);
    tAppearance.Update(tBox);
    EXPECT_EQ(tAppearance.GetTick(), 0);
    tAppearance.SetFrame(40);
    tAppearance.Update(tBox);
    EXPECT_EQ(tAppearance.GetTick(), 40);

    testing::internal::CaptureStderr();
    tAppearance.SetAnimationIndex(2);
    tAppearance.AllocateOverlays(1000);
    tAppearance.SetOverlay(0, 5, 0);
    EXPECT_EQ(EnemyAppearance::TranslateStringDirectionFacing("left"), -1);
    tAppearance.BootPuppet("goblin");
    tAppearance.BootPuppet("Goblin");
    std::string tErr = CapturedStderr();
    EXPECT_EQ(tAppearance.GetOverlayCount(), 256);
    EXPECT_EQ(tErr, "EnemyAppearance::SetAnimationIndex warning, Animation index out of bounds, 2.\n"
                    "EnemyAppearance::SetOverlay - Warning, Animation index out of bounds, 5.\n"
                    "EnemyAppearance::TranslateStringDirectionFacing: Failed, invalid direction given: left\n"
                    "EnemyAppearance: Failed to boot puppet, no type goblin\n"
                    "Using preset: Golbin\n"
                    "[CorvelPuppet] Booting with Data/Graphics/Goblin/goblins.png\n"
                    "[CorvelPuppet] Error occurred reading Data/Graphics/Goblin/goblins.atlas\n");
    // Not found from here: the puppet stays, takes its per-tick settings quietly, has no slots.
    EXPECT_TRUE(tAppearance.GetPuppetMode());
    testing::internal::CaptureStderr();
    tAppearance.SetPuppetAnimation("walk");
    tAppearance.SetPuppetAnimationTime(0.5f);
    EXPECT_EQ(CapturedStderr(), "");
    EXPECT_EQ(tAppearance.GetPuppetAnimPercent(), 0.5f);
    EXPECT_EQ(tAppearance.GetPuppetSlotCount(), 0);
    tAppearance.BootPuppet(nullptr);
    EXPECT_FALSE(tAppearance.GetPuppetMode());
    EXPECT_EQ(tAppearance.GetPuppet(), nullptr);

    // Slots shrunk under a stored index, a panic index out of range: nothing is read past the end.
    tAppearance.SetPanicAnimation(7);
    tAppearance.SetAnimationsTotal(0);
    EXPECT_EQ(tAppearance.GetFrameIndex(), 0);
    EXPECT_EQ(tAppearance.GetAnimation(1), nullptr);
    int32_t tW = -1, tH = -1;
    tAppearance.GetAnimationSize(7, tW, tH);
    EXPECT_EQ(tW, 0);
    EXPECT_EQ(tH, 0);
}

TEST_F(EnemyHitboxTest, BoxesCanBeTakenFromAFramesRectangles)
{
    // A frame without a texture still carries its rectangles; three of them for two boxes.
    Bitmap *nFrame = Bitmap::FromTexture(0);
    nFrame->SetFrameCount(3);
    nFrame->SetFrameRect(0, 2, 4, 12, 20);
    nFrame->SetFrameRect(1, 30, 0, 40, 8);
    nFrame->SetFrameRect(2, 1, 1, 2, 2);
    CorvelAnimation *nAnimation = new CorvelAnimation();
    nAnimation->SetTotalFrames(1);
    nAnimation->SetFrame(0, nFrame);

    Enemy *rEnemy = MakeEnemy("Derived", 200.0f, 300.0f, 40.0f, 5);
    rEnemy->GetAppearance()->SetAnimationsTotal(1);
    rEnemy->GetAppearance()->SetAnimation(0, nAnimation);
    EnemyHitbox *rHitbox = rEnemy->GetEnemyHitbox();
    rHitbox->SetNumberOfHitboxes(2);
    rHitbox->SetNumberOfAnimations(1);
    rHitbox->SetNumberOfFramesForAnimation(0, 1);
    rHitbox->CalculateHitboxes();
    rHitbox->DeriveFromAnimation(0, 0, 1);
    rHitbox->DeriveFromAnimation(0, 1, 1);
    rHitbox->DeriveFromAnimation(0, 0, 2);

    const EnemyHitboxRecord *rFirst = rHitbox->GetRecord(0, 0, 1, 0);
    const EnemyHitboxRecord *rSecond = rHitbox->GetRecord(0, 0, 1, 1);
    ASSERT_TRUE(rFirst && rSecond);
    EXPECT_TRUE(rFirst->mSet);
    EXPECT_EQ(rFirst->mX, 2.0f);
    EXPECT_EQ(rFirst->mY, 4.0f);
    EXPECT_EQ(rFirst->mW, 10.0f);
    EXPECT_EQ(rFirst->mH, 16.0f);
    EXPECT_EQ(rSecond->mX, 30.0f);
    EXPECT_EQ(rSecond->mH, 8.0f);
    EXPECT_FALSE(rHitbox->GetRecord(0, 0, 0, 0)->mSet);

    rEnemy->SetDestruct(1);
    Tick();
    delete nAnimation;
    delete nFrame;
}

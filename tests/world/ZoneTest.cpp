#include "WorldLuaFixture.h"
#include "core/NamedLinkedList.h"
#include "world/Checkpoint.h"
#include "world/DamageZone.h"
#include "world/LadderZone.h"
#include "world/LevelCollision.h"
#include "world/PushZone.h"
#include "world/SlideZone.h"
#include "world/SlipZone.h"
#include "world/ZoneTrigger.h"

namespace
{
    class ZoneTest : public WorldLuaFixture
    {
    protected:
        void SetUp() override
        {
            WorldLuaFixture::SetUp();
            RegisterLadderZoneLua(L);
            RegisterCheckpointLua(L);
            RegisterDamageZoneLua(L);
            RegisterSlipZoneLua(L);
            RegisterPushZoneLua(L);
            RegisterSlideZoneLua(L);
            ZoneTrigger::RegisterLuaFunctions(L);
        }

        void *Listed(const char *pList, const char *pName)
        {
            NamedLinkedList *rList = mEntities->GetSpecialList(pList);
            return rList ? rList->GetElementByName(pName) : nullptr;
        }
    };
}

TEST_F(ZoneTest, ZonesAreCentredOnTheirRectangleAndReportItsEdges)
{
    SlipZone tZone;
    EXPECT_STREQ(tZone.GetName(), "Unnamed Slipper");
    tZone.SetRect(10.0f, 20.0f, 30.0f, 60.0f);
    float tX, tY, tZ;
    tZone.GetPosition(tX, tY, tZ);
    EXPECT_FLOAT_EQ(tX, 20.0f);
    EXPECT_FLOAT_EQ(tY, 40.0f);
    EXPECT_FLOAT_EQ(tZ, 0.0f);

    Hitbox tBox = HitboxFromEdges(0.0f, 0.0f, 0.0f, 0.0f);
    tBox.mOwnerX = 99.0f;
    tZone.GetHitbox(tBox);
    EXPECT_FLOAT_EQ(tBox.mLft, 10.0f);
    EXPECT_FLOAT_EQ(tBox.mBot, 60.0f);
    EXPECT_FLOAT_EQ(tBox.mOwnerX, 99.0f);
}

TEST_F(ZoneTest, CheckpointsRefuseNegativeRespawnsAndActivateFromScripts)
{
    Checkpoint tUnnamed("");
    EXPECT_STREQ(tUnnamed.GetName(), "Checkpoint");
    EXPECT_EQ(tUnnamed.GetType(), TYPE_CHECKPOINT);
    float tX, tY;
    tUnnamed.GetCameraLocation(tX, tY);
    EXPECT_EQ(tX, -1.0f);
    EXPECT_EQ(tY, -1.0f);

    tUnnamed.SetRespawnLocation(30.0f, 40.0f);
    testing::internal::CaptureStderr();
    tUnnamed.SetRespawnLocation(-5.0f, 10.0f);
    tUnnamed.SetRespawnLocation(-5.0f, -10.0f);
    tUnnamed.SetRespawnLocation(5.0f, -10.0f);
    EXPECT_EQ(CapturedStderr(), "Error, checkpoint Checkpoint was given negative X value.\n"
                          "Error, checkpoint Checkpoint was given negative X value.\n"
                          "Error, checkpoint Checkpoint was given negative Y value.\n");
    tUnnamed.GetRespawnLocation(tX, tY);
    EXPECT_EQ(tX, 30.0f);
    EXPECT_EQ(tY, 40.0f);
    tUnnamed.SetRespawnLocation(0.0f, 0.0f);
    tUnnamed.GetRespawnLocation(tX, tY);
    EXPECT_EQ(tX + tY, 0.0f);

    int32_t tStack = mLibrary->GetActiveStackSize();
    Run("Checkpoint_Create('Gate', 100, 200, 32, 48)"
        " Checkpoint_SetProperty('Respawn Location', 110, 230)"
        " Checkpoint_SetProperty('Camera', -3, 5)"
        " before = Checkpoint_GetProperty('IsActivated')"
        " Checkpoint_Activate()"
        " after = Checkpoint_GetProperty('IsActivated')"
        " result = tostring(before) .. tostring(after)");
    EXPECT_EQ(GlobalString("result"), "falsetrue");
    Checkpoint *rGate = (Checkpoint *)Listed(CHECKPOINT_LIST_NAME, "Gate");
    ASSERT_NE(rGate, nullptr);
    EXPECT_EQ(mLibrary->GetActiveObject(), rGate);
    EXPECT_EQ(mLibrary->GetActiveStackSize(), tStack + 1);
    EXPECT_FLOAT_EQ(rGate->GetRect().mRgt, 132.0f);
    EXPECT_FLOAT_EQ(rGate->GetRect().mBot, 248.0f);
    rGate->GetRespawnLocation(tX, tY);
    EXPECT_EQ(tX + tY, 340.0f);
    rGate->GetCameraLocation(tX, tY);
    EXPECT_EQ(tX, -3.0f);

    testing::internal::CaptureStderr();
    Run("Checkpoint_Create('Short', 1, 2, 3)"
        " Checkpoint_SetProperty('Camera', 1)"
        " Checkpoint_GetProperty()");
    mLibrary->SetActiveObjectDirect(nullptr);
    Run("Checkpoint_Activate()");
    EXPECT_EQ(CapturedStderr(), "Checkpoint_Create: Failed, invalid argument list\n"
                          "Checkpoint_SetProperty: Failed, cannot resolve Camera with 2 args.\n"
                          "Checkpoint_GetProperty: Failed, invalid argument list\n"
                          "Checkpoint_Activate: Failed, rActiveObject was wrong type, or NULL.\n");
}

TEST_F(ZoneTest, DamageZonesHurtDeathPitsKillAndPropertiesCheckTheirObject)
{
    int32_t tStack = mLibrary->GetActiveStackSize();
    Run("DamageZone_Create('Spikes')"
        " DamageZone_SetProperty('RectangleWH', 10, 100, 50, 20)"
        " DamageZone_SetProperty('DamageToPlayer', 4)");
    DamageZone *rSpikes = (DamageZone *)Listed(DAMAGE_ZONE_LIST_NAME, "Spikes");
    ASSERT_NE(rSpikes, nullptr);
    EXPECT_EQ(mLibrary->GetActiveObject(), rSpikes);
    EXPECT_EQ(mLibrary->GetActiveStackSize(), tStack + 1);
    EXPECT_EQ(rSpikes->GetDamageToPlayer(), 4);
    EXPECT_TRUE(rSpikes->IsCollidingWithHitbox(HitboxFromEdges(0.0f, 80.0f, 10.0f, 100.0f)));
    EXPECT_FALSE(rSpikes->IsCollidingWithHitbox(HitboxFromEdges(0.0f, 80.0f, 9.0f, 99.0f)));
    EXPECT_FALSE(rSpikes->IsCollidingBelowTop(HitboxFromEdges(20.0f, 100.0f, 30.0f, 110.0f)));
    EXPECT_TRUE(rSpikes->IsCollidingBelowTop(HitboxFromEdges(20.0f, 101.0f, 30.0f, 110.0f)));

    Run("DamageZone_SetProperty('IsDeathPit', true)");
    EXPECT_TRUE(rSpikes->IsDeathPit());
    EXPECT_EQ(rSpikes->GetDamageToPlayer(), DAMAGEZONE_DEATH_PIT_DAMAGE);

    // A property call on anything but a damage zone is refused rather than written through.
    Checkpoint tCheckpoint("Other");
    mLibrary->SetActiveObjectDirect(&tCheckpoint);
    testing::internal::CaptureStderr();
    Run("DamageZone_SetProperty('Rectangle', 1, 2, 3, 4)");
    mLibrary->SetActiveObjectDirect(rSpikes);
    Run("DamageZone_SetProperty('Rectangle', 1, 2, 3) DamageZone_Create()");
    EXPECT_EQ(CapturedStderr(), "DamageZone_SetProperty: Failed, rActiveObject was wrong type, or NULL.\n"
                          "DamageZone_SetProperty: Cannot resolve Rectangle with 4 args.\n"
                          "DamageZone_Create: Failed, invalid argument list\n");
    EXPECT_FLOAT_EQ(tCheckpoint.GetRect().mRgt, 0.0f);
    EXPECT_EQ(mLibrary->GetActiveObject(), nullptr);

    // Clearing the lists at a map load must not leave the zone behind as the active object.
    mLibrary->SetActiveObjectDirect(rSpikes);
    mEntities->ResetSpecialLists();
    EXPECT_EQ(mLibrary->GetActiveObject(), nullptr);
}

// A rectangle given right to left or bottom to top is the same rectangle: the zone covers it and
// the line says which object was given it.
TEST_F(ZoneTest, ReversedRectanglesAreTakenInOrderAndNamed)
{
    testing::internal::CaptureStderr();
    Run("DamageZone_Create('Pit')"
        " DamageZone_SetProperty('Rectangle', 600, 520, 512, 470)"
        " DamageZone_Create('Spikes')"
        " DamageZone_SetProperty('RectangleWH', 100, 200, -40, 10)"
        " Checkpoint_Create('Flag', 300, 400, 20, -64)"
        " ZTrigger_Create('Hello')"
        " ZTrigger_SetProperty('HitboxesTotal', 2)"
        " ZTrigger_SetProperty('Hitbox', 1, 860, 448, 820, 330)");
    EXPECT_EQ(CapturedStderr(),
              "RootZone::SetRect warning, Pit was given a reversed rectangle (600, 520, 512, 470), taken as (512, 470, 600, 520).\n"
              "RootZone::SetRect warning, Spikes was given a reversed rectangle (100, 200, 60, 210), taken as (60, 200, 100, 210).\n"
              "RootZone::SetRect warning, Flag was given a reversed rectangle (300, 400, 320, 336), taken as (300, 336, 320, 400).\n"
              "ZoneTrigger::SetRect warning, Hello was given a reversed rectangle 1 (860, 448, 820, 330), taken as (820, 330, 860, 448).\n");

    DamageZone *rPit = (DamageZone *)Listed(DAMAGE_ZONE_LIST_NAME, "Pit");
    ASSERT_NE(rPit, nullptr);
    EXPECT_TRUE(rPit->IsCollidingWithHitbox(HitboxFromEdges(540.0f, 480.0f, 560.0f, 500.0f)));
    EXPECT_FALSE(rPit->IsCollidingWithHitbox(HitboxFromEdges(400.0f, 480.0f, 420.0f, 500.0f)));
    float tX, tY, tZ;
    rPit->GetPosition(tX, tY, tZ);
    EXPECT_FLOAT_EQ(tX, 556.0f);
    DamageZone *rSpikes = (DamageZone *)Listed(DAMAGE_ZONE_LIST_NAME, "Spikes");
    ASSERT_NE(rSpikes, nullptr);
    EXPECT_FALSE(rSpikes->IsCollidingWithHitbox(HitboxFromEdges(30.0f, 190.0f, 50.0f, 220.0f)));
    EXPECT_TRUE(rSpikes->IsCollidingWithHitbox(HitboxFromEdges(70.0f, 190.0f, 80.0f, 220.0f)));
    Checkpoint *rFlag = (Checkpoint *)Listed(CHECKPOINT_LIST_NAME, "Flag");
    ASSERT_NE(rFlag, nullptr);
    EXPECT_FLOAT_EQ(rFlag->GetRect().mTop, 336.0f);
    EXPECT_FLOAT_EQ(rFlag->GetRect().mBot, 400.0f);
    ZoneTrigger *rHello = dynamic_cast<ZoneTrigger *>(mEntities->GetEntity("Hello"));
    ASSERT_NE(rHello, nullptr);
    EXPECT_FLOAT_EQ(rHello->GetRect(1).mLft, 820.0f);
    EXPECT_FLOAT_EQ(rHello->GetRect(1).mBot, 448.0f);
}

TEST_F(ZoneTest, LadderTopsAreSolidOnlyForTheMovementThatAsks)
{
    RootObject *nActive = new Checkpoint("Active");
    mLibrary->SetActiveObjectDirect(nActive);
    Run("Ladder_Create('Ladder', 40, 100, 56, 200)");
    EXPECT_EQ(mLibrary->GetActiveObject(), nActive);
    LadderZone *rLadder = (LadderZone *)Listed(LADDER_LIST_NAME, "Ladder");
    ASSERT_NE(rLadder, nullptr);
    EXPECT_TRUE(rLadder->HasHitbox());

    LadderTopsSolid = false;
    EXPECT_FALSE(rLadder->ContainsPoint(48, 100));
    LadderTopsSolid = true;
    EXPECT_TRUE(rLadder->ContainsPoint(48, 100));
    EXPECT_TRUE(rLadder->ContainsPoint(40, 100));
    EXPECT_TRUE(rLadder->ContainsPoint(56, 100));
    EXPECT_FALSE(rLadder->ContainsPoint(57, 100));
    EXPECT_FALSE(rLadder->ContainsPoint(48, 101));
    LadderTopsSolid = false;

    testing::internal::CaptureStderr();
    Run("Ladder_Create('Short', 1, 2, 3)");
    EXPECT_EQ(CapturedStderr(), "Ladder_Create: Failed, invalid argument list\n");
    mLibrary->SetActiveObjectDirect(nullptr);
    delete nActive;
}

TEST_F(ZoneTest, PushSlideAndSlipZonesStoreWhatThePlayerReads)
{
    Run("Push_Create('Wind', 0, 0, 100, 50, -1.5, 0.25)"
        " Slide_Create('Ice', 0, 0, 10, 10, 2.5)"
        " Slide_Create('Mud', 0, 0, 10, 10, -1)"
        " Slide_Create('Sand', 0, 0, 10, 10, 0.5)"
        " Slip_Create('Oil', 5, 5, 15, 15)");
    PushZone *rWind = (PushZone *)Listed(PUSH_LIST_NAME, "Wind");
    ASSERT_NE(rWind, nullptr);
    float tX, tY;
    rWind->GetPush(tX, tY);
    EXPECT_FLOAT_EQ(tX, -1.5f);
    EXPECT_FLOAT_EQ(tY, 0.25f);
    EXPECT_FLOAT_EQ(((SlideZone *)Listed(SLIDE_LIST_NAME, "Ice"))->GetSlideAmount(), 1.0f);
    EXPECT_FLOAT_EQ(((SlideZone *)Listed(SLIDE_LIST_NAME, "Mud"))->GetSlideAmount(), 0.0f);
    EXPECT_FLOAT_EQ(((SlideZone *)Listed(SLIDE_LIST_NAME, "Sand"))->GetSlideAmount(), 0.5f);
    ASSERT_NE(Listed(SLIP_LIST_NAME, "Oil"), nullptr);
    EXPECT_FLOAT_EQ(((SlipZone *)Listed(SLIP_LIST_NAME, "Oil"))->GetRect().mRgt, 15.0f);

    testing::internal::CaptureStderr();
    Run("Push_Create('Wind', 0, 0, 100, 50, 1)"
        " Slide_Create('Ice', 0, 0, 10, 10)"
        " Slip_Create('Oil', 5, 5, 15, 15, 1)"
        " Slip_Create(nil, 5, 5, 15, 15)");
    EXPECT_EQ(CapturedStderr(), "Push_Create: Failed, invalid argument list\n"
                          "Slide_Create: Failed, invalid argument list\n"
                          "Slip_Create: Failed, invalid argument list\n"
                          "Slip_Create: Failed, invalid argument list\n");
    EXPECT_EQ(mEntities->GetSpecialList(SLIP_LIST_NAME)->GetCount(), 1);
}

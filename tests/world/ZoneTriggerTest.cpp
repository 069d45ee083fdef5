#include "WorldLuaFixture.h"

#include "actors/PlayerPony.h"
#include "core/LuaManager.h"
#include "world/ZoneTrigger.h"

namespace
{
    class ZoneTriggerTest : public WorldLuaFixture
    {
    protected:
        void SetUp() override
        {
            WorldLuaFixture::SetUp();
            ZoneTrigger::RegisterLuaFunctions(L);
            RegisterLuaManagerLua(L);
            RegisterDataLibraryLua(L);
            EntityManager::RegisterLua(L);
            mEntities->CreatePlayer();
            mPlayer = mEntities->GetPlayer();
            ASSERT_NE(mPlayer, nullptr);
            MovePlayer(100.0f, 100.0f);
        }

        void MovePlayer(float pX, float pY)
        {
            mPlayer->SetPositionAutoCenter(pX, pY, 0.0f);
            mPlayer->GetHitbox(mBox);
        }

        int32_t Calls()
        {
            lua_getglobal(L, "giZoneCalls");
            int32_t tCalls = (int32_t)lua_tointeger(L, -1);
            lua_pop(L, 1);
            return tCalls;
        }

        // A trigger with one rectangle well around the player's box and a second one far away.
        ZoneTrigger *MakeTrigger(bool pNoRefire)
        {
            std::string tRun = "ZTrigger_Create('Gate')\n"
                               "ZTrigger_SetProperty('HitboxesTotal', 2)\n"
                               "ZTrigger_SetProperty('Hitbox', 0, 1000, 1000, 1100, 1100)\n"
                               "ZTrigger_SetProperty('Hitbox', 1, 50, 50, 200, 200)\n"
                               "ZTrigger_SetProperty('CallData', '" + Script("ztrigger_fire.lua") + "', 7)\n"
                               "ZTrigger_SetProperty('NoRefire', " + (pNoRefire ? "true" : "false") + ")\n"
                               "DL_PopActiveEntity()\n";
            Run(tRun.c_str());
            return dynamic_cast<ZoneTrigger *>(mEntities->GetEntity("Gate"));
        }

        PlayerPony *mPlayer;
        Hitbox mBox;
    };
}

TEST_F(ZoneTriggerTest, RectanglesAreBoundedAndZeroOutsideTheirRange)
{
    ZoneTrigger tTrigger;
    EXPECT_EQ(tTrigger.GetType(), TYPE_ZONETRIGGER);
    EXPECT_EQ(tTrigger.GetActiveSlot(), -1);
    tTrigger.SetRectCount(-3);
    EXPECT_EQ(tTrigger.GetRectCount(), 0);
    EXPECT_FALSE(tTrigger.IsCollidingWith(mPlayer));

    tTrigger.SetRectCount(2);
    ZoneRect tRect = tTrigger.GetRect(1);
    EXPECT_EQ(tRect.mLft + tRect.mTop + tRect.mRgt + tRect.mBot, 0.0f);
    tTrigger.SetRect(2, 1.0f, 2.0f, 3.0f, 4.0f);
    tTrigger.SetRect(-1, 1.0f, 2.0f, 3.0f, 4.0f);
    tTrigger.SetRect(1, 5.0f, 6.0f, 7.0f, 8.0f);
    EXPECT_EQ(tTrigger.GetRect(1).mBot, 8.0f);
    EXPECT_EQ(tTrigger.GetRect(0).mLft, 0.0f);
    EXPECT_EQ(tTrigger.GetRect(-1).mLft, 0.0f);
    EXPECT_FALSE(tTrigger.IsCollidingWith(nullptr));

    testing::internal::CaptureStderr();
    tTrigger.SetRectCount(2000000000);
    EXPECT_NE(CapturedStderr().find("rectangles asked for"), std::string::npos);
    EXPECT_EQ(tTrigger.GetRectCount(), ZONETRIGGER_MAX_RECTS);
}

TEST_F(ZoneTriggerTest, FiresEveryTickOfContactWithoutNoRefire)
{
    ZoneTrigger *rTrigger = MakeTrigger(false);
    ASSERT_NE(rTrigger, nullptr);
    int32_t tStack = mLibrary->GetActiveStackSize();
    rTrigger->Update();
    rTrigger->Update();
    EXPECT_EQ(Calls(), 2);
    EXPECT_EQ(GlobalString("gsZoneArgument"), "7.000000");
    // The script ran with the trigger active and saw the slot it was entered through.
    EXPECT_EQ(GlobalString("giZoneSlot"), "1");
    EXPECT_EQ(mLibrary->GetActiveStackSize(), tStack);

    MovePlayer(600.0f, 600.0f);
    rTrigger->Update();
    EXPECT_EQ(Calls(), 2);
    EXPECT_EQ(rTrigger->GetActiveSlot(), 1);
    EXPECT_FALSE(rTrigger->IsInside());
}

TEST_F(ZoneTriggerTest, NoRefireFiresOncePerEntry)
{
    ZoneTrigger *rTrigger = MakeTrigger(true);
    ASSERT_NE(rTrigger, nullptr);
    rTrigger->Update();
    rTrigger->Update();
    rTrigger->Update();
    EXPECT_EQ(Calls(), 1);
    EXPECT_TRUE(rTrigger->IsInside());

    MovePlayer(600.0f, 600.0f);
    rTrigger->Update();
    EXPECT_EQ(Calls(), 1);
    MovePlayer(1050.0f, 1050.0f);
    rTrigger->Update();
    EXPECT_EQ(Calls(), 2);
    EXPECT_EQ(rTrigger->GetActiveSlot(), 0);

    // Through the entity manager's walk too.
    MovePlayer(600.0f, 600.0f);
    mEntities->Update();
    MovePlayer(100.0f, 100.0f);
    mEntities->Update();
    mEntities->Update();
    EXPECT_EQ(Calls(), 3);
}

TEST_F(ZoneTriggerTest, ATriggerWithoutScriptOrRectanglesNeverFires)
{
    Run("ZTrigger_Create('Empty') ZTrigger_SetProperty('HitboxesTotal', 1)"
        " ZTrigger_SetProperty('Hitbox', 0, 0, 0, 1000, 1000) DL_PopActiveEntity()");
    ZoneTrigger *rEmpty = dynamic_cast<ZoneTrigger *>(mEntities->GetEntity("Empty"));
    ASSERT_NE(rEmpty, nullptr);
    rEmpty->Update();
    EXPECT_EQ(rEmpty->GetActiveSlot(), -1);

    ZoneTrigger *rTrigger = MakeTrigger(false);
    EXPECT_EQ(rTrigger->GetCallNumber(), 7);
    // Call data without a number passes -1.
    Run("EM_PushEntity('Gate') ZTrigger_SetProperty('CallData', 'Other.lua') DL_PopActiveEntity()");
    EXPECT_STREQ(rTrigger->GetCallScript(), "Other.lua");
    EXPECT_EQ(rTrigger->GetCallNumber(), -1);
    Run(("EM_PushEntity('Gate') ZTrigger_SetProperty('CallData', '" + Script("ztrigger_fire.lua") + "')"
         " ZTrigger_SetProperty('HitboxesTotal', -3) DL_PopActiveEntity()").c_str());
    rTrigger->Update();
    EXPECT_EQ(Calls(), 0);
}

TEST_F(ZoneTriggerTest, GlobalsRefuseWrongTypesCountsAndObjects)
{
    int32_t tStack = mLibrary->GetActiveStackSize();
    testing::internal::CaptureStderr();
    Run("ZTrigger_Create() ZTrigger_Create({}) ZTrigger_Create('A', 'B')");
    std::string tErrors = CapturedStderr();
    EXPECT_NE(tErrors.find("ZTrigger_Create: Failed, invalid argument list\n"), std::string::npos);
    // Each failure pushed, so the script's pops stay balanced.
    EXPECT_EQ(mLibrary->GetActiveStackSize(), tStack + 3);
    EXPECT_EQ(mLibrary->GetActiveObject(), nullptr);

    testing::internal::CaptureStderr();
    Run("ZTrigger_SetProperty('HitboxesTotal', 2) r1 = ZTrigger_GetProperty('GetActiveHitboxSlot')");
    tErrors = CapturedStderr();
    EXPECT_NE(tErrors.find("ZTrigger_SetProperty:  Failed, invalid object\n"), std::string::npos);
    EXPECT_NE(tErrors.find("ZTrigger_GetProperty: Failed, rActiveObject was wrong type"), std::string::npos);
    EXPECT_EQ(GlobalString("r1"), "<nil>");

    // The player is an entity of another family: refused as well.
    Run("EM_PushEntity('Player')");
    testing::internal::CaptureStderr();
    Run("ZTrigger_SetProperty('NoRefire', true)");
    EXPECT_NE(CapturedStderr().find("invalid object"), std::string::npos);
    Run("DL_PopActiveEntity()");

    Run("ZTrigger_Create('T') ZTrigger_SetProperty('HitboxesTotal', 1)"
        " ZTrigger_SetProperty('Hitbox', 0, 1, 2, 3, 4)");
    testing::internal::CaptureStderr();
    Run("ZTrigger_SetProperty() ZTrigger_SetProperty(5)"
        " ZTrigger_SetProperty('Hitbox', 0, 'x', 2, 3, 4)"
        " ZTrigger_SetProperty('Hitbox', 1, 9, 9, 9, 9)"
        " ZTrigger_SetProperty('CallData', {}) ZTrigger_SetProperty('Bogus', 1)"
        " a, b, c, d = ZTrigger_GetProperty('GetDimensionsOfHitbox', 0)"
        " e, f, g, h = ZTrigger_GetProperty('GetDimensionsOfHitbox', -1)"
        " n = select('#', ZTrigger_GetProperty('GetDimensionsOfHitbox'))"
        " s = ZTrigger_GetProperty('GetActiveHitboxSlot')");
    tErrors = CapturedStderr();
    EXPECT_NE(tErrors.find("ZTrigger_SetProperty: Failed, invalid argument list"), std::string::npos);
    EXPECT_NE(tErrors.find("cannot resolve Hitbox with 6 args"), std::string::npos);
    EXPECT_NE(tErrors.find("cannot resolve Bogus with 2 args"), std::string::npos);
    EXPECT_NE(tErrors.find("cannot resolve GetDimensionsOfHitbox with 1 args"), std::string::npos);
    EXPECT_EQ(GlobalString("a") + GlobalString("b") + GlobalString("c") + GlobalString("d"), "1234");
    EXPECT_EQ(GlobalString("e") + GlobalString("f") + GlobalString("g") + GlobalString("h"), "0000");
    EXPECT_EQ(GlobalString("n"), "1");
    EXPECT_EQ(GlobalString("s"), "-1");
    EXPECT_EQ(lua_gettop(L), 0);
}

#include "world/MovingContainer.h"

#include "support/PlayerWorld.h"
#include "core/LuaBindingHelpers.h"
#include "core/LuaManager.h"
#include "support/TestText.h"

#include <string>

#include <cmath>

namespace
{
    // The path the native logic follows: tick -> position of the platform's top-left.
    float (*xPathX)(int32_t) = nullptr;
    float (*xPathY)(int32_t) = nullptr;
    int32_t xPathTick = 0;

    void FollowPath(RootProjectile *pPlatform)
    {
        xPathTick++;
        float tX, tY, tZ;
        pPlatform->GetPosition(tX, tY, tZ);
        pPlatform->SetPosition(xPathX ? xPathX(xPathTick) : tX, xPathY ? xPathY(xPathTick) : tY);
    }

    class MovingContainerTest : public PlayerWorld
    {
    protected:
        void SetUp() override
        {
            PlayerWorld::SetUp();
            xPathX = xPathY = nullptr;
            xPathTick = 0;
        }

        // A 64 by 16 platform with its top-left at (pX, pY), driven by the path functions.
        MovingContainer *AddPlatform(float pX, float pY)
        {
            MovingContainer *nPlatform = new MovingContainer();
            nPlatform->SetDimensions(0.0f, 0.0f, 64.0f, 16.0f);
            nPlatform->SetPosition(pX, pY);
            nPlatform->SetNativeLogic(FollowPath);
            EntityManager::Fetch()->RegisterEntity("Platform", nPlatform, DeleteRootObject);
            return nPlatform;
        }

        // Puts her on top of the platform and lets her settle there.
        void StandOn(MovingContainer *pPlatform, float pX)
        {
            mPlayer->SetPositionAutoCenter(pX, pPlatform->GetHitboxPtr()->mTop - 52.0f, 0.0f);
            Tick(3);
        }
    };
}

TEST_F(MovingContainerTest, StandingIsTheRowJustAboveTheTop)
{
    MovingContainer *rPlatform = AddPlatform(200.0f, 300.0f);
    mPlayer->SetPositionAutoCenter(210.0f, 248.0f, 0.0f);
    EXPECT_TRUE(rPlatform->IsPlayerOnPlatform());
    mPlayer->SetPositionAutoCenter(210.0f, 247.0f, 0.0f);
    EXPECT_FALSE(rPlatform->IsPlayerOnPlatform());
    mPlayer->SetPositionAutoCenter(264.0f, 248.0f, 0.0f);
    EXPECT_FALSE(rPlatform->IsPlayerOnPlatform());
    EXPECT_FALSE(rPlatform->IsEnemyOnPlatform());
    // Solid to the level collision without any obstacle flag, inclusive of its last unit.
    EXPECT_TRUE(rPlatform->ContainsPoint(263, 315));
    EXPECT_FALSE(rPlatform->ContainsPoint(264, 315));
}

TEST_F(MovingContainerTest, StillPlatformCarriesNobody)
{
    MovingContainer *rPlatform = AddPlatform(200.0f, 300.0f);
    StandOn(rPlatform, 210.0f);
    ASSERT_TRUE(mPlayer->IsOnGround());
    float tX = X();
    Tick(20);
    EXPECT_FLOAT_EQ(X(), tX);
    EXPECT_FLOAT_EQ(Y(), 248.0f);
}

TEST_F(MovingContainerTest, RiderFollowsABackAndForthPathAndItsTurns)
{
    // Right at 2 units a tick for 40 ticks, then back left at 2 units a tick.
    xPathX = [](int32_t t) { return 200.0f + 2.0f * (float)(t <= 40 ? t : 80 - t); };
    MovingContainer *rPlatform = AddPlatform(200.0f, 300.0f);
    StandOn(rPlatform, 210.0f);
    float tOffset = X() - rPlatform->GetHitboxPtr()->mLft;
    for(int32_t i = 0; i < 80; i++)
    {
        Tick();
        // Never thrown off at the turn: she keeps her place on the platform every tick.
        ASSERT_FLOAT_EQ(X() - rPlatform->GetHitboxPtr()->mLft, tOffset) << "tick " << i;
        ASSERT_FLOAT_EQ(Y(), 248.0f) << "tick " << i;
    }
    EXPECT_TRUE(rPlatform->IsPlayerOnPlatform());
}

TEST_F(MovingContainerTest, RiderStaysOnASinePath)
{
    MovingContainer *rPlatform = AddPlatform(250.0f, 300.0f);
    StandOn(rPlatform, 270.0f);
    xPathTick = 0;
    xPathX = [](int32_t t) { return 250.0f + 60.0f * sinf((float)t / 15.0f); };
    xPathY = [](int32_t t) { return 300.0f + 40.0f * sinf((float)t / 20.0f); };
    for(int32_t i = 0; i < 240; i++)
    {
        Tick();
        ASSERT_TRUE(rPlatform->IsPlayerOnPlatform()) << "tick " << i;
        ASSERT_LT(fabsf(X() - rPlatform->GetHitboxPtr()->mLft - 20.0f), 2.0f) << "tick " << i;
    }
}

TEST_F(MovingContainerTest, CarriedRiderStopsAtAWall)
{
    // The platform slides under the right wall (x 624 on); her box must stay out of it.
    xPathX = [](int32_t t) { return 500.0f + 3.0f * (float)t; };
    MovingContainer *rPlatform = AddPlatform(500.0f, 300.0f);
    StandOn(rPlatform, 540.0f);
    Tick(30);
    EXPECT_FLOAT_EQ(mPlayer->GetHitboxPtr()->mRgt, 624.0f);
    EXPECT_GT(rPlatform->GetHitboxPtr()->mLft, 560.0f);
}

// Pinned against the level, she stays out of it: a platform moving less than a unit a tick
// pushes her into the wall beside her, and one rising into her lifts her into the ceiling
// above her. Either, had it sunk her box into the level by fractions, would have held her
// there (no room to jump or fall out) until she walked away.
TEST_F(MovingContainerTest, APlatformNeverSinksHerIntoTheLevel)
{
    const ClipWorld tLevelOnly = {MapManager::Fetch()->GetClipWorld().rLevel, nullptr, nullptr, nullptr};
    xPathX = [](int32_t t) { return 60.0f - 0.9f * (float)t; };
    AddPlatform(60.0f, 360.0f);
    mPlayer->SetPositionAutoCenter(16.0f, 348.0f, 0.0f);
    for(int32_t i = 0; i < 130; i++)
    {
        Tick();
        ASSERT_TRUE(BoxAllFree(tLevelOnly, *mPlayer->GetHitboxPtr())) << "tick " << i << " at x " << X();
    }
    EXPECT_FLOAT_EQ(X(), 16.0f);
    SetKey(ALLEGRO_KEY_Z, true);
    Tick(5);
    EXPECT_LT(Y(), 348.0f - 20.0f) << "she jumps at once";
    SetKey(ALLEGRO_KEY_Z, false);
    EntityManager::Fetch()->ClearEntities();

    // A lift rising 0.7 a tick under a ceiling whose lowest row is y 209.
    FillSolid(150, 200, 300, 210);
    BuildLevel();
    const ClipWorld tCeilinged = {MapManager::Fetch()->GetClipWorld().rLevel, nullptr, nullptr, nullptr};
    xPathTick = 0;
    xPathX = nullptr;
    xPathY = [](int32_t t) { return 300.0f - 0.7f * (float)t; };
    MovingContainer *rLift = AddPlatform(200.0f, 300.0f);
    StandOn(rLift, 210.0f);
    for(int32_t i = 0; i < 70; i++)
    {
        Tick();
        ASSERT_TRUE(BoxAllFree(tCeilinged, *mPlayer->GetHitboxPtr())) << "tick " << i << " at y " << Y();
    }
    EXPECT_FLOAT_EQ(Y(), 210.0f);
}

// A platform moving into a rider it already holds would push the rider out at its far edge,
// through itself; it stops that move at once, so the move is given up without spending the
// collision's whole loop (and its "caught" message) every tick.
TEST_F(MovingContainerTest, ARiderInsideThePlatformIsNotPushedThroughIt)
{
    xPathX = [](int32_t t) { return 80.0f + 0.5f * (float)t; };
    AddPlatform(80.0f, 360.0f);
    mPlayer->SetPositionAutoCenter(81.0f, 348.0f, 0.0f);
    testing::internal::CaptureStderr();
    Tick(10);
    EXPECT_EQ(CapturedStderr().find("Movement loop got caught"), std::string::npos);
    EXPECT_FLOAT_EQ(X(), 81.0f);
}

TEST_F(MovingContainerTest, PlatformPushesFromTheSideAndLiftsFromBelow)
{
    // A platform at floor height moving left runs into her and shoves her along.
    xPathX = [](int32_t t) { return 300.0f - 2.0f * (float)t; };
    MovingContainer *rPusher = AddPlatform(300.0f, 384.0f);
    mPlayer->SetPositionAutoCenter(270.0f, 348.0f, 0.0f);
    Tick(2);
    Tick(20);
    EXPECT_FLOAT_EQ(mPlayer->GetHitboxPtr()->mRgt, rPusher->GetHitboxPtr()->mLft);
    EXPECT_LT(X(), 250.0f);
}

TEST_F(MovingContainerTest, RisingPlatformLiftsAndSinkingPlatformKeepsHer)
{
    xPathY = [](int32_t t) { return 300.0f - (float)(t <= 30 ? t : 60 - t); };
    MovingContainer *rPlatform = AddPlatform(200.0f, 300.0f);
    StandOn(rPlatform, 210.0f);
    for(int32_t i = 0; i < 60; i++)
    {
        Tick();
        ASSERT_FLOAT_EQ(mPlayer->GetHitboxPtr()->mBot, rPlatform->GetHitboxPtr()->mTop) << "tick " << i;
    }
}

// With no level loaded every cell reads solid to the level collision, which would hold her
// where she stands: the platform places her itself, carried, lifted and let down.
TEST_F(MovingContainerTest, WithoutALevelThePlatformPlacesHer)
{
    MovingContainer *rPlatform = AddPlatform(200.0f, 300.0f);
    StandOn(rPlatform, 210.0f);
    ASSERT_TRUE(mPlayer->IsOnGround());
    const float tOffset = X() - rPlatform->GetHitboxPtr()->mLft;
    MapManager::Fetch()->ClearLevel();
    xPathTick = 0;
    xPathX = [](int32_t t) { return 200.0f + 2.0f * (float)t; };
    xPathY = [](int32_t t) { return 300.0f - 2.0f * (float)(t <= 5 ? t : 10 - t); };
    for(int32_t i = 0; i < 10; i++)
    {
        rPlatform->Update();
        ASSERT_FLOAT_EQ(X() - rPlatform->GetHitboxPtr()->mLft, tOffset) << "update " << i;
        ASSERT_FLOAT_EQ(mPlayer->GetHitboxPtr()->mBot, rPlatform->GetHitboxPtr()->mTop) << "update " << i;
    }
}

TEST_F(MovingContainerTest, ReportedMovementIsUsedOnce)
{
    // A rider touching the platform's left side is pushed by a reported move even though
    // the box itself did not move this tick; the report is spent after one tick.
    MovingContainer *rPlatform = AddPlatform(200.0f, 384.0f);
    mPlayer->SetPositionAutoCenter(183.0f, 348.0f, 0.0f);
    rPlatform->SetMovementData(-2.0f, 0.0f);
    EntityManager::Fetch()->Update();
    EXPECT_FALSE(rPlatform->HasPendingMovement());
    EXPECT_FLOAT_EQ(mPlayer->GetHitboxPtr()->mRgt, 200.0f);
    mPlayer->SetPositionAutoCenter(183.0f, 348.0f, 0.0f);
    EntityManager::Fetch()->Update();
    EXPECT_FLOAT_EQ(X(), 183.0f);
}

TEST_F(MovingContainerTest, MapScriptDrivesAPlatform)
{
    LuaManager *nLua = new LuaManager();
    GetApplication()->mLuaManager = nLua;
    RegisterLuaBindings(nLua->GetState());
    testing::internal::CaptureStderr();
    EXPECT_TRUE(nLua->ExecuteFile(CORVEL_SOURCE_DIR "/tests/scripts/platform_bindings.lua"));
    std::string tErrors = CapturedStderr();
    lua_State *L = nLua->GetState();

    MovingContainer *rNamed = dynamic_cast<MovingContainer *>(EntityManager::Fetch()->GetEntity("Lift"));
    ASSERT_NE(rNamed, nullptr);
    EXPECT_TRUE(rNamed->HasPendingMovement());
    EXPECT_NE(EntityManager::Fetch()->GetEntity(MOVINGCONTAINER_DEFAULT_NAME), nullptr);
    lua_getglobal(L, "platform_log");
    EXPECT_STREQ(lua_tostring(L, -1), "true false nil");
    lua_pop(L, 1);
    EXPECT_EQ(lua_gettop(L), 0);
    EXPECT_NE(tErrors.find("MovingContainer_SetMovementData: Failed, invalid argument list"), std::string::npos);
    EXPECT_NE(tErrors.find("MovingContainer_IsPlayerOnPlatform: Failed, rActiveObject was wrong type"), std::string::npos);

    GetApplication()->mLuaManager = nullptr;
    delete nLua;
}

TEST_F(MovingContainerTest, OnlyTheMovementHandlerIsHandedOutAndTheStackIsAlwaysPushed)
{
    LuaManager *nLua = new LuaManager();
    GetApplication()->mLuaManager = nLua;
    RegisterLuaBindings(nLua->GetState());
    DataLibrary *rLibrary = DataLibrary::Fetch();
    MovingContainer *rPlatform = AddPlatform(200.0f, 300.0f);
    int32_t tStack = rLibrary->GetActiveStackSize();

    // Extra values after the key are taken and ignored.
    rLibrary->SetActiveObjectDirect(rPlatform);
    ASSERT_EQ(luaL_dostring(nLua->GetState(), "MovingContainer_PushPropertyAsActiveObject('AIMovementHandler', 1)"), 0);
    EXPECT_EQ(rLibrary->GetActiveObject(), (RootObject *)rPlatform->GetMovementHandler());
    EXPECT_EQ(rLibrary->GetActiveStackSize(), tStack + 1);
    EXPECT_EQ(rLibrary->PopActiveEntity(), (RootObject *)rPlatform->GetMovementHandler());

    testing::internal::CaptureStderr();
    rLibrary->SetActiveObjectDirect(rPlatform);
    ASSERT_EQ(luaL_dostring(nLua->GetState(), "MovingContainer_PushPropertyAsActiveObject('AIAttackHandler')"
                                              " DL_PopActiveEntity()"
                                              " MovingContainer_PushPropertyAsActiveObject()"
                                              " DL_PopActiveEntity()"
                                              " MovingContainer_PushPropertyAsActiveObject({})"
                                              " DL_PopActiveEntity()"),
              0);
    rLibrary->SetActiveObjectDirect(mPlayer);
    ASSERT_EQ(luaL_dostring(nLua->GetState(), "MovingContainer_PushPropertyAsActiveObject('AIMovementHandler')"), 0);
    EXPECT_EQ(rLibrary->GetActiveObject(), nullptr);
    EXPECT_EQ(rLibrary->PopActiveEntity(), nullptr);
    EXPECT_EQ(CapturedStderr(),
              "MovingContainer_PushPropertyAsActiveObject: Failed, AIAttackHandler does not match any property.\n"
              "MovingContainer_PushPropertyAsActiveObject: Failed, invalid argument list\n"
              "MovingContainer_PushPropertyAsActiveObject: Failed, invalid argument list\n"
              "MovingContainer_PushPropertyAsActiveObject: Failed, rActiveObject was wrong type, or NULL.\n");
    EXPECT_EQ(rLibrary->GetActiveStackSize(), tStack);

    GetApplication()->mLuaManager = nullptr;
    delete nLua;
}

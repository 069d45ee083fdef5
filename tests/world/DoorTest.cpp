#include "world/Door.h"

#include "support/PlayerWorld.h"
#include "core/Application.h"
#include "core/LuaManager.h"
#include "core/render/Bitmap.h"
#include "core/render/CorvelAnimation.h"
#include "world/Camera.h"
#include "world/CameraManager.h"
#include "support/TestText.h"

#include <cstdio>
#include <string>

namespace
{
    const float cDoorX = 300.0f;
    const float cDoorY = 328.0f;
    const int32_t cOpenTicks = 20;

    // The player world with a camera over the whole level, the door's sounds and animation,
    // and a door at x 300 whose trigger box ends where the door begins.
    class DoorTest : public PlayerWorld
    {
    protected:
        void SetUp() override
        {
            PlayerWorld::SetUp();
            Application *rApp = GetApplication();
            rApp->mCameraManager = new CameraManager();
            Camera *rCamera = CameraManager::Fetch()->GetActiveCamera();
            rCamera->SetBoundaries(0, 0, cWidth, cHeight);
            rCamera->ForceTo(0, 0);
            for(const char *rName : {"BossDoorOpen", "BossDoorClose"})
            {
                AudioPackage *nPackage = new AudioPackage(mLayer);
                nPackage->LoadSample(rName);
                AudioManager::Get()->AddSound(rName, nPackage);
            }
            CorvelAnimation *nAnimation = new CorvelAnimation();
            nAnimation->SetTotalFrames(2);
            nAnimation->SetTicksPerFrame((float)(cOpenTicks / 2));
            DataLibrary::Fetch()->AddPath("Root/Animations/Sprites/BossDoor/");
            DataLibrary::Fetch()->AddEntry(DOOR_ANIMATION_PATH, nAnimation, CorvelAnimation::DeleteThis, DL_KIND_ROOTOBJECT);

            mDoor = new Door();
            mDoor->SetRenderPos(cDoorX, cDoorY);
            mDoor->SetHitbox(276.0f, 300.0f, 24.0f, 100.0f);
            mDoor->SetStartCamera(80.0f, 60.0f);
            mDoor->SetEndCamera(160.0f, 60.0f);
            EntityManager::Fetch()->RegisterEntity("Door", mDoor, DeleteRootObject);
        }

        void TearDown() override
        {
            delete GetApplication()->mCameraManager;
            PlayerWorld::TearDown();
        }

        // One game tick: entities, then cameras, as the in-game gear runs them.
        void GameTick(int32_t pCount = 1)
        {
            for(int32_t i = 0; i < pCount; i++)
            {
                Tick();
                CameraManager::Fetch()->Update();
            }
        }

        Camera *Cam() { return CameraManager::Fetch()->GetActiveCamera(); }

        Door *mDoor = nullptr;
    };
}

TEST_F(DoorTest, HalfInsideDoesNotStartWhollyInsideDoes)
{
    mPlayer->SetPositionAutoCenter(270.0f, (float)(cFloorY - 52), 0.0f);
    GameTick();
    EXPECT_EQ(mDoor->GetState(), DOOR_IDLE);
    EXPECT_FALSE(mPlayer->IsControlLocked());

    AddEnemyShot(20.0f, 20.0f, 1);
    mPlayer->SetPositionAutoCenter(278.0f, (float)(cFloorY - 52), 0.0f);
    GameTick();
    EXPECT_EQ(mDoor->GetState(), DOOR_OPENING);
    EXPECT_TRUE(mDoor->IsRunning());
    EXPECT_TRUE(mPlayer->IsControlLocked());
    EXPECT_EQ(Plays("BossDoorOpen"), 1);
    EXPECT_TRUE(Cam()->HasScriptControl());
    // The projectile on screen was cleared by the update walk.
    EXPECT_EQ(EntityManager::Fetch()->CountProjectilesNamed("Test"), 0);
}

TEST_F(DoorTest, SequenceOpensPansWalksAndClosesTickByTick)
{
    FILE *nScript = fopen("door_post_exec.lua", "w");
    ASSERT_NE(nScript, nullptr);
    fputs("door_post_exec_ran = (door_post_exec_ran or 0) + 1\n", nScript);
    fclose(nScript);
    LuaManager *nLua = new LuaManager();
    GetApplication()->mLuaManager = nLua;
    mDoor->SetPostExecScript("door_post_exec.lua");

    mPlayer->SetPositionAutoCenter(278.0f, (float)(cFloorY - 52), 0.0f);
    GameTick();
    ASSERT_EQ(mDoor->GetState(), DOOR_OPENING);

    // Opening: the camera steps toward the start view, the door waits for its animation.
    int32_t tTicks = 1;
    while(mDoor->GetState() == DOOR_OPENING && tTicks < 200)
    {
        GameTick();
        tTicks++;
    }
    EXPECT_EQ(tTicks, cOpenTicks);
    ASSERT_EQ(mDoor->GetState(), DOOR_PASSING);
    EXPECT_EQ(Cam()->GetFrame().mLft, 80.0f);
    EXPECT_EQ(Cam()->GetFrame().mTop, 60.0f);

    // Passing: 76 units in 114 ticks, two of every three ticks; the close sound on tick 90.
    float tStartX = X();
    int32_t tCloseAt = -1;
    for(int32_t i = 1; i <= 114; i++)
    {
        GameTick();
        if(tCloseAt < 0 && Plays("BossDoorClose") == 1) tCloseAt = i;
        EXPECT_TRUE(mPlayer->IsControlLocked());
    }
    EXPECT_EQ(tCloseAt, DOOR_CLOSE_SOUND_TICK);
    EXPECT_FLOAT_EQ(X() - tStartX, 76.0f);
    EXPECT_EQ(mDoor->GetStepsWalked(), 76);
    EXPECT_EQ(Cam()->GetStepLimit(), DOOR_PAN_STEP_LIMIT);
    EXPECT_EQ(mDoor->GetState(), DOOR_PASSING);
    GameTick(5);
    EXPECT_EQ(mDoor->GetState(), DOOR_PASSING);
    EXPECT_FLOAT_EQ(X() - tStartX, 76.0f);
    // Pan tick 120 puts the camera on the end view.
    GameTick();
    ASSERT_EQ(mDoor->GetState(), DOOR_CLOSING);
    EXPECT_EQ(Cam()->GetFrame().mLft, 160.0f);
    EXPECT_EQ(Cam()->GetStepLimit(), 7);
    EXPECT_TRUE(mDoor->IsMoved());
    float tX, tY;
    mDoor->GetRenderPos(tX, tY);
    EXPECT_FLOAT_EQ(tX, cDoorX + 24.0f);
    EXPECT_TRUE(mDoor->ContainsPoint(324 + 24, 330));
    EXPECT_FALSE(mDoor->ContainsPoint(322, 330));
    EXPECT_EQ(mDoor->GetAnimationTick(), cOpenTicks - 1);

    // Closing plays back to the first tick, then hands control back and runs the script once.
    GameTick(cOpenTicks - 2);
    EXPECT_EQ(mDoor->GetState(), DOOR_CLOSING);
    EXPECT_TRUE(mPlayer->IsControlLocked());
    GameTick();
    EXPECT_EQ(mDoor->GetState(), DOOR_IDLE);
    EXPECT_FALSE(mDoor->IsRunning());
    EXPECT_FALSE(mPlayer->IsControlLocked());
    lua_getglobal(nLua->GetState(), "door_post_exec_ran");
    EXPECT_EQ(lua_tonumber(nLua->GetState(), -1), 1.0);
    lua_pop(nLua->GetState(), 1);
    EXPECT_EQ(Cam()->GetPipelineLock(), 1);
    // She stands past the door, so it does not start again.
    GameTick(30);
    EXPECT_EQ(mDoor->GetState(), DOOR_IDLE);

    // A reload with her back before the door undoes the shift once, however often it runs.
    mPlayer->SetPositionAutoCenter(100.0f, (float)(cFloorY - 52), 0.0f);
    EntityManager::Fetch()->ResetDoorsAhead();
    EntityManager::Fetch()->ResetDoorsAhead();
    mDoor->GetRenderPos(tX, tY);
    EXPECT_FLOAT_EQ(tX, cDoorX);
    EXPECT_FALSE(mDoor->IsMoved());

    GetApplication()->mLuaManager = nullptr;
    delete nLua;
    remove("door_post_exec.lua");
}

TEST_F(DoorTest, DoorBehindThePlayerStaysOpenOnReload)
{
    mPlayer->SetPositionAutoCenter(278.0f, (float)(cFloorY - 52), 0.0f);
    GameTick(400);
    ASSERT_TRUE(mDoor->IsMoved());
    EntityManager::Fetch()->ResetDoorsAhead();
    EXPECT_TRUE(mDoor->IsMoved());
}

TEST_F(DoorTest, SkipToCloseEndsSilentlyAndKeepsTheLock)
{
    mPlayer->AddControlLock(DOOR_CONTROL_LOCK);
    mDoor->SkipToClose();
    EXPECT_EQ(mDoor->GetState(), DOOR_CLOSING);
    EXPECT_EQ(mDoor->GetAnimationTick(), cOpenTicks - 1);
    GameTick(cOpenTicks - 1);
    EXPECT_EQ(mDoor->GetState(), DOOR_IDLE);
    EXPECT_EQ(Plays("BossDoorOpen"), 0);
    EXPECT_TRUE(mPlayer->IsControlLocked());
    mPlayer->RemoveControlLock(DOOR_CONTROL_LOCK);
}

TEST_F(DoorTest, UnreachableStartViewDoesNotLockThePlayerForEver)
{
    // The start view lies outside the camera's boundaries, so the frame can never match it.
    mDoor->SetStartCamera(-200.5f, 60.0f);
    mPlayer->SetPositionAutoCenter(278.0f, (float)(cFloorY - 52), 0.0f);
    GameTick(600);
    EXPECT_EQ(mDoor->GetState(), DOOR_IDLE);
    EXPECT_TRUE(mDoor->IsMoved());
    EXPECT_FALSE(mPlayer->IsControlLocked());
}

TEST_F(DoorTest, MissingAnimationStillRunsTheSequence)
{
    DataLibrary::Fetch()->Purge("Root/Animations/Sprites/BossDoor/", false);
    mPlayer->SetPositionAutoCenter(278.0f, (float)(cFloorY - 52), 0.0f);
    GameTick(400);
    EXPECT_EQ(mDoor->GetState(), DOOR_IDLE);
    EXPECT_FALSE(mPlayer->IsControlLocked());
}

TEST_F(DoorTest, MapScriptBuildsADoorThroughTheBindings)
{
    LuaManager *nLua = new LuaManager();
    GetApplication()->mLuaManager = nLua;
    RegisterLuaBindings(nLua->GetState());
    testing::internal::CaptureStderr();
    EXPECT_TRUE(nLua->ExecuteFile(CORVEL_SOURCE_DIR "/tests/scripts/door_bindings.lua"));
    std::string tErrors = CapturedStderr();

    Door *rDoor = dynamic_cast<Door *>(EntityManager::Fetch()->GetEntity("BossGate"));
    ASSERT_NE(rDoor, nullptr);
    float tX, tY;
    rDoor->GetRenderPos(tX, tY);
    EXPECT_FLOAT_EQ(tX, 300.0f);
    EXPECT_FLOAT_EQ(tY, 328.0f);
    EXPECT_STREQ(rDoor->GetPostExecScript(), "Data/Scripts/Boss.lua");
    EXPECT_NE(tErrors.find("Door_SetProperty:  Failed, cannot resolve RenderPos with 2 args\n"), std::string::npos);
    // SkipToClose after the pop found no door active; Door_Create without a name made nothing.
    EXPECT_EQ(rDoor->GetState(), DOOR_IDLE);
    EXPECT_NE(tErrors.find("Door_Create"), std::string::npos);
    lua_getglobal(nLua->GetState(), "door_top");
    EXPECT_EQ(lua_tonumber(nLua->GetState(), -1), 0.0);
    lua_pop(nLua->GetState(), 1);
    EXPECT_EQ(lua_gettop(nLua->GetState()), 0);

    // The start view was cut to whole units: a wholly-inside player runs the sequence to its end.
    EntityManager::Fetch()->RemoveEntity(mDoor);
    delete mDoor;
    mPlayer->SetPositionAutoCenter(278.0f, (float)(cFloorY - 52), 0.0f);
    GameTick(400);
    EXPECT_TRUE(rDoor->IsMoved());
    EXPECT_EQ(rDoor->GetState(), DOOR_IDLE);

    GetApplication()->mLuaManager = nullptr;
    delete nLua;
}

TEST_F(DoorTest, ClosedDoorIsAWallToTheLevelCollision)
{
    // With its trigger out of reach the door only blocks: running right she stops against it.
    mDoor->SetHitbox(0.0f, 0.0f, 1.0f, 1.0f);
    mPlayer->SetPositionAutoCenter(200.0f, (float)(cFloorY - 52), 0.0f);
    GameTick(5);
    SetKey(ALLEGRO_KEY_RIGHT, true);
    GameTick(60);
    SetKey(ALLEGRO_KEY_RIGHT, false);
    EXPECT_FLOAT_EQ(mPlayer->GetHitboxPtr()->mRgt, cDoorX - 1.0f);
    EXPECT_EQ(mDoor->GetState(), DOOR_IDLE);
}

#include "actors/PlayerPony.h"
#include "core/Application.h"
#include "core/LuaBindingHelpers.h"
#include "core/LuaManager.h"
#include "world/Camera.h"
#include "world/CameraManager.h"
#include "world/EntityManager.h"
#include "world/MapManager.h"
#include "support/ScratchFolder.h"
#include "support/TestText.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

namespace
{
    // Installs a camera manager and a map manager (for the zoom) in the Application and puts
    // back whatever was there.
    class CameraFixture : public testing::Test
    {
    protected:
        void SetUp() override
        {
            mPreviousCameras = GetApplication()->mCameraManager;
            mPreviousMap = GetApplication()->mMapManager;
            mCameras = new CameraManager();
            mMap = new MapManager();
            GetApplication()->mCameraManager = mCameras;
            GetApplication()->mMapManager = mMap;
        }

        void TearDown() override
        {
            RestoreEntities();
            GetApplication()->mCameraManager = mPreviousCameras;
            GetApplication()->mMapManager = mPreviousMap;
            delete mCameras;
            delete mMap;
        }

        Camera *Active() { return mCameras->GetActiveCamera(); }

        // An entity manager of the test's own with a player in it; the one it stands in for
        // comes back at RestoreEntities or, whatever the outcome, at tear-down.
        PlayerPony *SwapInPlayer()
        {
            mPreviousEntities = GetApplication()->mEntityManager;
            mEntities = new EntityManager();
            GetApplication()->mEntityManager = mEntities;
            mEntities->CreatePlayer();
            return PlayerPony::Get();
        }

        void RestoreEntities()
        {
            if(!mEntities) return;
            GetApplication()->mEntityManager = mPreviousEntities;
            delete mEntities;
            mEntities = nullptr;
        }

        CameraManager *mCameras = nullptr;
        EntityManager *mEntities = nullptr;
        EntityManager *mPreviousEntities = nullptr;
        MapManager *mMap = nullptr;
        CameraManager *mPreviousCameras = nullptr;
        MapManager *mPreviousMap = nullptr;
    };

    // Adds a real Lua manager whose state carries the camera globals.
    class CameraLuaFixture : public CameraFixture
    {
    protected:
        void SetUp() override
        {
            CameraFixture::SetUp();
            mPreviousLua = GetApplication()->mLuaManager;
            mLua = new LuaManager();
            GetApplication()->mLuaManager = mLua;
            L = mLua->GetState();
            RegisterCameraLua(L);
            CameraManager::RegisterLua(L);
        }

        void TearDown() override
        {
            GetApplication()->mLuaManager = mPreviousLua;
            delete mLua;
            CameraFixture::TearDown();
        }

        // Runs a chunk and returns what it printed; the stack must come back empty.
        std::string Run(const char *pCode)
        {
            testing::internal::CaptureStderr();
            EXPECT_EQ(luaL_dostring(L, pCode), 0) << pCode;
            EXPECT_EQ(lua_gettop(L), 0) << pCode;
            lua_settop(L, 0);
            return CapturedStderr();
        }

        LuaManager *mLua = nullptr;
        LuaManager *mPreviousLua = nullptr;
        lua_State *L = nullptr;
    };

    float Left(Camera *pCamera) { return pCamera->GetFrame().mLft; }
    float Top(Camera *pCamera) { return pCamera->GetFrame().mTop; }
}

TEST_F(CameraFixture, FollowMovesSevenUnitsPerTickUntilCentred)
{
    Camera *rCamera = Active();
    rCamera->SetBoundaries(0, 0, 1000, 360);
    ASSERT_FLOAT_EQ(rCamera->GetFrame().mOwnerX, 240.0f);

    // The focus stands 100 units right of the centre: 14 full steps and one of 2.
    for(int i = 1; i <= 14; i++)
    {
        rCamera->MoveToward(340.0f, 180.0f);
        EXPECT_FLOAT_EQ(Left(rCamera), 7.0f * i) << "tick " << i;
    }
    rCamera->MoveToward(340.0f, 180.0f);
    EXPECT_FLOAT_EQ(Left(rCamera), 100.0f);
    rCamera->MoveToward(340.0f, 180.0f);
    EXPECT_FLOAT_EQ(Left(rCamera), 100.0f);
    EXPECT_FLOAT_EQ(rCamera->GetFrame().mOwnerX, 340.0f);
    EXPECT_FLOAT_EQ(rCamera->GetFrame().mRgt, 580.0f);

    // Both axes move in the same tick, each by at most the step limit.
    rCamera->SetBoundaries(0, 0, 1000, 1000);
    rCamera->MoveToward(100.0f, 500.0f);
    EXPECT_FLOAT_EQ(Left(rCamera), 93.0f);
    EXPECT_FLOAT_EQ(Top(rCamera), 7.0f);

    rCamera->SetStepLimit(0);
    EXPECT_EQ(rCamera->GetStepLimit(), 7);
    rCamera->SetStepLimit(2);
    rCamera->MoveToward(100.0f, 500.0f);
    EXPECT_FLOAT_EQ(Top(rCamera), 9.0f);
}

TEST_F(CameraFixture, FrameIsClampedToItsBoundaries)
{
    Camera *rCamera = Active();
    rCamera->SetBoundaries(0, 0, 500, 400);
    for(int i = 0; i < 20; i++) rCamera->MoveToward(5000.0f, 5000.0f);
    Hitbox tFrame = rCamera->GetFrame();
    EXPECT_FLOAT_EQ(tFrame.mRgt, 500.0f);
    EXPECT_FLOAT_EQ(tFrame.mLft, 20.0f);
    EXPECT_FLOAT_EQ(tFrame.mBot, 400.0f);
    EXPECT_FLOAT_EQ(tFrame.mTop, 40.0f);
    EXPECT_FLOAT_EQ(tFrame.mOwnerX, 260.0f);
    EXPECT_FLOAT_EQ(tFrame.mOwnerY, 220.0f);

    for(int i = 0; i < 20; i++) rCamera->MoveToward(-5000.0f, -5000.0f);
    EXPECT_FLOAT_EQ(Left(rCamera), 0.0f);
    EXPECT_FLOAT_EQ(Top(rCamera), 0.0f);

    // A frame placed outside is pulled back in by the next step, size kept.
    rCamera->SetPosition(-300.0f, 900.0f);
    rCamera->Step(0, 0);
    EXPECT_FLOAT_EQ(Left(rCamera), 0.0f);
    EXPECT_FLOAT_EQ(Top(rCamera), 40.0f);
    EXPECT_FLOAT_EQ(rCamera->GetFrame().mRgt, 480.0f);

    // Non-finite or huge scripted targets move by the step limit, never by garbage.
    rCamera->MoveToward(NAN, 1e30f);
    EXPECT_FLOAT_EQ(Left(rCamera), 0.0f);
    EXPECT_FLOAT_EQ(Top(rCamera), 40.0f);
}

TEST_F(CameraFixture, MinimumZoomFollowsTheBoundariesAndFloorsTheMapZoom)
{
    Camera *rCamera = Active();
    rCamera->SetBoundaries(0, 0, 960, 720);
    EXPECT_FLOAT_EQ(rCamera->GetMinimumZoom(), 0.5f);
    rCamera->SetBoundaries(0, 0, 240, 720);
    EXPECT_FLOAT_EQ(rCamera->GetMinimumZoom(), 2.0f);
    rCamera->SetBoundaries(0, 0, 0, 0);
    EXPECT_FLOAT_EQ(rCamera->GetMinimumZoom(), 1.0f);
    rCamera->SetBoundaries(10, 0, 10, 720);
    EXPECT_FLOAT_EQ(rCamera->GetMinimumZoom(), 1.0f);

    // With the lock set, each update raises the map's zoom to the floor.
    rCamera->SetBoundaries(0, 0, 480, 360);
    mMap->SetZoom(0.5f);
    rCamera->Update();
    EXPECT_FLOAT_EQ(mMap->GetZoom(), 0.5f) << "the first update only takes the lock";
    EXPECT_TRUE(rCamera->GetPipelineLock());
    rCamera->Update();
    EXPECT_FLOAT_EQ(mMap->GetZoom(), 1.0f);
    mMap->SetZoom(1.5f);
    rCamera->Update();
    EXPECT_FLOAT_EQ(mMap->GetZoom(), 1.5f);

    // The frame is sized by the zoom.
    rCamera->SetBoundaries(0, 0, 2000, 2000);
    mMap->SetZoom(2.0f);
    rCamera->MoveToward(120.0f, 90.0f);
    Hitbox tFrame = rCamera->GetFrame();
    EXPECT_FLOAT_EQ(tFrame.mRgt - tFrame.mLft, 240.0f);
    EXPECT_FLOAT_EQ(tFrame.mBot - tFrame.mTop, 180.0f);
}

TEST_F(CameraFixture, BoxFittingZoomLagsByTheBand)
{
    Camera *rCamera = Active();
    rCamera->SetBoundaries(0, 0, 4000, 4000);
    // 959 - 0 + 1 = 960 wide wants 2.0; from 1.0 it is pulled to 1.9.
    rCamera->CenterOnBox(0, 0, 959, 100);
    EXPECT_FLOAT_EQ(mMap->GetZoom(), 1.9f);
    rCamera->CenterOnBox(0, 0, 959, 100);
    EXPECT_FLOAT_EQ(mMap->GetZoom(), 2.0f);
    rCamera->CenterOnBox(0, 0, 239, 100);
    EXPECT_FLOAT_EQ(mMap->GetZoom(), 0.6f);
    rCamera->CenterOnTarget(0, 0, 959, 100, true, false, false);
    EXPECT_FLOAT_EQ(mMap->GetZoom(), 0.6f);
}

TEST_F(CameraFixture, ActivityZonesFreezeOrConfineTheFrame)
{
    Camera *rCamera = Active();
    rCamera->SetBoundaries(0, 0, 2000, 2000);
    rCamera->SetPositiveActivity(1);
    rCamera->SetZonesTotal(1);
    rCamera->SetZone(0, 0, 0, 480, 360);
    for(int i = 0; i < 5; i++) rCamera->MoveToward(1000.0f, 1000.0f);
    EXPECT_FLOAT_EQ(Left(rCamera), 0.0f);
    EXPECT_FLOAT_EQ(Top(rCamera), 0.0f);

    // A zone wider than the frame lets it slide along x only.
    rCamera->SetZone(0, 0, 0, 600, 360);
    for(int i = 0; i < 40; i++) rCamera->MoveToward(1000.0f, 1000.0f);
    EXPECT_FLOAT_EQ(Left(rCamera), 120.0f);
    EXPECT_FLOAT_EQ(Top(rCamera), 0.0f);

    // An inactive zone confines nothing that could pass; no active zone at all freezes.
    rCamera->SetZoneActive(0, 0);
    rCamera->MoveToward(0.0f, 0.0f);
    EXPECT_FLOAT_EQ(Left(rCamera), 120.0f);

    // Out-of-range indices and negative totals are ignored.
    rCamera->SetZone(5, 0, 0, 10, 10);
    rCamera->SetZoneActive(-1, 1);
    rCamera->SetZonesTotal(-4);
    EXPECT_EQ(rCamera->GetZoneCount(), 0);
    rCamera->MoveToward(0.0f, 0.0f);
    EXPECT_FLOAT_EQ(Left(rCamera), 113.0f);

    rCamera->SetZonesTotal(2);
    rCamera->Reset();
    EXPECT_EQ(rCamera->GetZoneCount(), 0);
}

TEST_F(CameraFixture, PolygonsConfineTheFrame)
{
    Camera *rCamera = Active();
    rCamera->SetBoundaries(0, 0, 2000, 2000);
    rCamera->SetPolygonMode(1);
    rCamera->AddRectanglePolygon(0.0f, 0.0f, 600.0f, 360.0f);
    ASSERT_EQ(rCamera->GetPolygonCount(), 1);
    for(int i = 0; i < 40; i++) rCamera->MoveToward(2000.0f, 2000.0f);
    // The right probe sits one unit inside the right edge.
    EXPECT_FLOAT_EQ(Left(rCamera), 121.0f);
    EXPECT_FLOAT_EQ(Top(rCamera), 1.0f) << "the bottom probe is one unit inside, the top one is not";

    // A second polygon lower down joined to the first lets the frame pass into it.
    rCamera->AddRectanglePolygon(100.0f, 0.0f, 500.0f, 1000.0f);
    for(int i = 0; i < 200; i++) rCamera->MoveToward(2000.0f, 2000.0f);
    EXPECT_FLOAT_EQ(Top(rCamera), 641.0f);

    // Turning polygon mode off lifts the confinement.
    rCamera->SetPolygonMode(0);
    EXPECT_EQ(rCamera->GetPolygonCount(), 0);
    rCamera->MoveToward(2000.0f, 2000.0f);
    EXPECT_FLOAT_EQ(Top(rCamera), 648.0f);
}

TEST_F(CameraFixture, PusherPullsTheTopAtMostThreeUnitsPerTick)
{
    Camera *rCamera = Active();
    rCamera->SetBoundaries(0, 0, 2000, 2000);
    rCamera->AddPusher("Shaft", -1.0f, 200.0f, 0.0f, 0.0f, 100.0f, 100.0f);
    rCamera->AddPusher("Later", 500.0f, 500.0f, 0.0f, 0.0f, 100.0f, 100.0f);
    Hitbox tPlayer = {};
    tPlayer.mLft = 10.0f;
    tPlayer.mTop = 10.0f;
    tPlayer.mRgt = 20.0f;
    tPlayer.mBot = 30.0f;

    rCamera->ApplyPushers(tPlayer);
    ASSERT_TRUE(rCamera->HasLockPoint());
    rCamera->MoveToward(290.0f, 180.0f);
    EXPECT_FLOAT_EQ(Left(rCamera), 7.0f) << "x follows the focus";
    EXPECT_FLOAT_EQ(Top(rCamera), 3.0f);
    EXPECT_FALSE(rCamera->HasLockPoint()) << "one step consumes the lock point";

    rCamera->MoveToward(240.0f + 7.0f, 180.0f + 3.0f);
    EXPECT_FLOAT_EQ(Top(rCamera), 3.0f);

    // A box outside every region leaves things as they are.
    tPlayer.mLft = 500.0f;
    tPlayer.mRgt = 510.0f;
    rCamera->ApplyPushers(tPlayer);
    EXPECT_FALSE(rCamera->HasLockPoint());

    rCamera->Reset();
    EXPECT_EQ(rCamera->GetPusherCount(), 0);
}

TEST_F(CameraFixture, VoxelModeHoldsTheFrameAndWarnsOnVisibilityUntil2DReturns)
{
    Camera *rCamera = Active();
    rCamera->SetBoundaries(0, 0, 2000, 2000);
    rCamera->SetVoxelMode();
    EXPECT_TRUE(rCamera->IsVoxelMode());
    rCamera->Step(5, 5);
    rCamera->MoveToward(600.0f, 500.0f);
    rCamera->CenterOnBox(400, 400, 879, 759);
    EXPECT_FLOAT_EQ(0.0f, Left(rCamera));
    EXPECT_FLOAT_EQ(0.0f, Top(rCamera));

    testing::internal::CaptureStderr();
    EXPECT_TRUE(rCamera->IsIntRectVisible(10.5f, 10.5f, 20.0f, 20.0f));
    EXPECT_EQ("Warning:  Voxel Camera was queried for 2D frame visibility!\n", CapturedStderr());

    rCamera->Set2DMode();
    EXPECT_FALSE(rCamera->IsVoxelMode());
    testing::internal::CaptureStderr();
    rCamera->Step(5, 5);
    EXPECT_TRUE(rCamera->IsIntRectVisible(10.5f, 10.5f, 20.0f, 20.0f));
    EXPECT_EQ("", CapturedStderr());
    EXPECT_FLOAT_EQ(5.0f, Left(rCamera));
}

TEST_F(CameraFixture, ManagerKeepsADefaultAndAnActiveCamera)
{
    ASSERT_EQ(mCameras->GetCameraCount(), 1);
    Camera *rDefault = mCameras->GetCameraByName("Default");
    ASSERT_NE(rDefault, nullptr);
    EXPECT_EQ(Active(), rDefault);
    EXPECT_EQ(rDefault->GetType(), 0);
    EXPECT_FLOAT_EQ(rDefault->GetFrame().mRgt, 480.0f);
    EXPECT_FLOAT_EQ(rDefault->GetFrame().mBot, 360.0f);

    mCameras->RemoveCamera("Default");
    ASSERT_EQ(mCameras->GetCameraCount(), 1);
    EXPECT_NE(Active(), nullptr);
    EXPECT_EQ(Active(), mCameras->GetCameraByName("Default"));

    mCameras->AddCamera("Boss", 100, 0, 480, 360);
    mCameras->AddCamera("Boss", 900, 0, 480, 360);
    EXPECT_EQ(mCameras->GetCameraCount(), 3);
    mCameras->SetActiveCamera("Boss");
    EXPECT_FLOAT_EQ(Left(Active()), 100.0f);
    mCameras->SetActiveCamera("Nobody");
    EXPECT_EQ(mCameras->IsActiveMissing(), 1);
    EXPECT_FLOAT_EQ(Left(Active()), 100.0f);

    // Removing the active camera hands over to the first one left.
    mCameras->RemoveCamera("Boss");
    EXPECT_EQ(Active(), mCameras->GetCameraByIndex(0));
    EXPECT_FLOAT_EQ(Left(mCameras->GetCameraByName("Boss")), 900.0f);

    mCameras->Clear();
    EXPECT_EQ(mCameras->GetCameraCount(), 1);
    EXPECT_EQ(Active(), mCameras->GetCameraByName("Default"));
    EXPECT_EQ(CameraManager::Fetch(), mCameras);
}

TEST_F(CameraLuaFixture, SetPropertyBuildsZonesPolygonsAndPushers)
{
    Camera *rCamera = Active();
    EXPECT_EQ(Run("Camera_SetProperty('Boundaries', 0, 0, 960, 720)"), "");
    EXPECT_TRUE(rCamera->HasCustomBoundaries());
    EXPECT_FLOAT_EQ(rCamera->GetMinimumZoom(), 0.5f);

    Run("Camera_SetProperty('CurrentPos', 100, 50)");
    EXPECT_FLOAT_EQ(rCamera->GetFrame().mRgt, 580.0f);
    EXPECT_FLOAT_EQ(rCamera->GetFrame().mOwnerY, 230.0f);

    Run("Camera_SetProperty('ZonesTotal', 2) Camera_SetProperty('ZoneData', 1, 0, 0, 10, 10) "
        "Camera_SetProperty('ZoneData', 7, 0, 0, 10, 10) Camera_SetProperty('ZoneActivity', 9, true) "
        "Camera_SetProperty('PositiveActivity', true)");
    EXPECT_EQ(rCamera->GetZoneCount(), 2);
    // A count no map needs is cut to the cap, not handed to the allocator.
    EXPECT_EQ(Run("Camera_SetProperty('ZonesTotal', 1e300)"),
              "Camera_SetProperty:  ZonesTotal 2147483647 is more than 4096, using 4096.\n");
    EXPECT_EQ(rCamera->GetZoneCount(), 4096);
    Run("Camera_SetProperty('ZonesTotal', 2) Camera_SetProperty('ZoneData', 1, 0, 0, 10, 10)");
    EXPECT_EQ(rCamera->GetZoneCount(), 2);

    Run("Camera_SetProperty('PolygonMode', true) Camera_SetProperty('Rectangle', 0, 0, 10, 10) "
        "Camera_SetProperty('RectangleWH', 0, 0, 10, 10) Camera_SetProperty('Polygon', 3, 0, 0, 10, 0, 10, 10)");
    EXPECT_EQ(rCamera->GetPolygonCount(), 3);
    EXPECT_EQ(Run("Camera_SetProperty('Polygon', 2, 0, 0, 1, 1)"), "Camera_SetProperty:  Polygon must have at least 3 sides.\n");
    EXPECT_EQ(Run("Camera_SetProperty('Polygon', 4, 0, 0, 1, 1, 2, 2)"),
              "Camera_SetProperty:  Not enough arguments passed for 4 points.\n");
    EXPECT_EQ(Run("Camera_SetProperty('Polygon', 1073741824, 0, 0, 1, 1, 2, 2)"),
              "Camera_SetProperty:  Not enough arguments passed for 1073741824 points.\n");
    EXPECT_EQ(rCamera->GetPolygonCount(), 3);

    Run("Camera_SetProperty('NewPusher', 'Drop', -1, 200, 0, 0, 50, 50)");
    EXPECT_EQ(rCamera->GetPusherCount(), 1);

    Run("Camera_SetProperty('ScriptControl', 'Data/Scripts/Cam.lua')");
    EXPECT_STREQ(rCamera->GetScriptPath(), "Data/Scripts/Cam.lua");
    Run("Camera_SetProperty('ScriptControl', 'NULL')");
    EXPECT_FALSE(rCamera->HasScriptControl());

    EXPECT_EQ(Run("Camera_SetProperty('Boundaries', 0, 0)"), "Camera_SetProperty:  Failed to resolve Boundaries with 3 args\n");
    EXPECT_EQ(Run("Camera_SetProperty('Zoom', 2)"), "Camera_SetProperty:  Failed to resolve Zoom with 2 args\n");
    EXPECT_EQ(Run("Camera_SetProperty()"), "Camera_SetProperty:  Failed, invalid argument list\n");
}

TEST_F(CameraLuaFixture, CallFuncIsRefusedWhileThePipelineIsLocked)
{
    Camera *rCamera = Active();
    rCamera->SetBoundaries(0, 0, 2000, 2000);
    rCamera->Update();
    ASSERT_TRUE(rCamera->GetPipelineLock());
    EXPECT_EQ(Run("Camera_CallFunc('CenterOnPlayer')"), "Camera_CallFunc:  Failed, Camera's pipeline is locked\n");

    Run("Camera_ForceLockTo(false)");
    EXPECT_EQ(Run("Camera_CallFunc('CenterOnTarget', 340, 180)"), "");
    EXPECT_FLOAT_EQ(Left(rCamera), 7.0f);
    EXPECT_EQ(Run("Camera_CallFunc('CenterOnBox', 0, 0, 479, 359)"), "");
    EXPECT_FLOAT_EQ(Left(rCamera), 0.0f);
    EXPECT_EQ(Run("Camera_CallFunc('CenterOnBox', 0, 0, 479, 359, true, false, false)"), "");
    EXPECT_EQ(Run("Camera_CallFunc('CenterOnBox', 0, 0)"), "Camera_CallFunc:  Failed to resolve CenterOnBox with 3 args\n");
    EXPECT_EQ(Run("Camera_CallFunc()"), "Camera_CallFunc:  Failed, invalid argument list\n");
    EXPECT_EQ(Run("Camera_ForceLockTo()"), "Camera_ForceLockTo: Failed, invalid argument list\n");

    // The next update takes the lock back.
    rCamera->Update();
    EXPECT_TRUE(rCamera->GetPipelineLock());
}

TEST_F(CameraLuaFixture, ManagerGlobalsAddRemoveAndActivate)
{
    EXPECT_EQ(Run("CM_AddCamera('Side', 10, 20, 480, 360)"), "");
    EXPECT_EQ(mCameras->GetCameraCount(), 2);
    EXPECT_EQ(Run("CM_AddCamera('Side', 10, 20, 480)"), "CM_AddCamera:  Failed, invalid argument list\n");
    EXPECT_EQ(mCameras->GetCameraCount(), 2);

    Run("CM_SetActiveCamera('Side')");
    EXPECT_FLOAT_EQ(Top(Active()), 20.0f);
    Run("CM_SetActiveCamera('Nowhere')");
    EXPECT_EQ(mCameras->IsActiveMissing(), 1);
    EXPECT_FLOAT_EQ(Top(Active()), 20.0f);

    Run("CM_RemoveCamera('Side') CM_RemoveCamera('Default')");
    EXPECT_EQ(mCameras->GetCameraCount(), 1);
    EXPECT_EQ(Active(), mCameras->GetCameraByName("Default"));
    EXPECT_EQ(Run("CM_RemoveCamera()"), "CM_RemoveCamera:  Failed, invalid argument list\n");
    EXPECT_EQ(Run("CM_SetActiveCamera(1, 2)"), "CM_SetActiveCamera:  Failed, invalid argument list\n");
}

TEST_F(CameraLuaFixture, ControlScriptRunsWithItsTickCounterAndMayRemoveItsCamera)
{
    ScratchFolder tDir("camera");
    ASSERT_TRUE(tDir.IsMade());
    std::string tPath = tDir.File("Control.lua");
    ASSERT_TRUE(tDir.WriteText("Control.lua",
                               "gTicks = (gTicks or '') .. LM_GetScriptArgument(0) .. ';'\n"
                               "Camera_CallFunc('CenterOnTarget', 340, 180)\n"
                               "if LM_GetScriptArgument(0) == '2.000000' then CM_RemoveCamera('Scripted') end\n"));

    mCameras->AddCamera("Scripted", 0, 0, 480, 360);
    mCameras->SetActiveCamera("Scripted");
    Camera *rCamera = Active();
    rCamera->SetBoundaries(0, 0, 2000, 2000);
    rCamera->SetScriptControl(tPath.c_str());

    mCameras->Update();
    mCameras->Update();
    EXPECT_EQ(rCamera->GetScriptTicks(), 2);
    EXPECT_TRUE(rCamera->GetPipelineLock());
    EXPECT_FLOAT_EQ(Left(rCamera), 14.0f) << "calls from the control script are accepted";

    // The third run removes the camera it runs for; the manager falls back to "Default".
    mCameras->Update();
    EXPECT_EQ(mCameras->GetCameraCount(), 1);
    EXPECT_EQ(Active(), mCameras->GetCameraByName("Default"));
    lua_getglobal(L, "gTicks");
    EXPECT_STREQ(lua_tostring(L, -1), "0.000000;1.000000;2.000000;");
    lua_pop(L, 1);

    // "FAIL" keeps script control on but runs nothing.
    Active()->SetScriptControl("FAIL");
    mCameras->Update();
    EXPECT_EQ(Active()->GetScriptTicks(), 1);
    EXPECT_TRUE(Active()->HasScriptControl());
}

TEST_F(CameraFixture, UpdateFollowsThePlayersFocusOnceLocked)
{
    PlayerPony *rPlayer = SwapInPlayer();
    ASSERT_NE(rPlayer, nullptr);

    Camera *rCamera = Active();
    rCamera->SetBoundaries(0, 0, 2000, 2000);
    rPlayer->SetPositionAutoCenter(600.0f, 200.0f, 0.0f);
    float tFocusX = 0.0f, tFocusY = 0.0f;
    rPlayer->ComputeCameraFocus(tFocusX, tFocusY);
    ASSERT_GT(tFocusX, 500.0f);

    rCamera->Update();
    EXPECT_FLOAT_EQ(Left(rCamera), 0.0f) << "the first update only takes the lock";
    for(int i = 0; i < 100; i++) rCamera->Update();
    EXPECT_FLOAT_EQ(rCamera->GetFrame().mOwnerX, (float)(int)tFocusX);
    EXPECT_FLOAT_EQ(rCamera->GetFrame().mOwnerY, (float)(int)tFocusY);
}

TEST_F(CameraLuaFixture, CenterOnBoxTakesThePlayersAxesWhenAsked)
{
    PlayerPony *rPlayer = SwapInPlayer();
    ASSERT_NE(rPlayer, nullptr);
    rPlayer->SetPositionAutoCenter(900.0f, 700.0f, 0.0f);
    Hitbox tBox = *rPlayer->GetHitboxPtr();
    const float tPlayerX = (float)(int)((tBox.mLft + tBox.mRgt) / 2.0f);
    const float tPlayerY = (float)(int)((tBox.mTop + tBox.mBot - 120.0f) / 2.0f);

    Camera *rCamera = Active();
    rCamera->SetBoundaries(0, 0, 4000, 4000);
    // The box is centred on (400, 300); each call steps at most seven units, so call until still.
    struct Case
    {
        const char *mCall;
        float mX;
        float mY;
    };
    const Case cCases[] = {
        {"Camera_CallFunc('CenterOnBox', 300, 200, 500, 400, true, false, false)", 400.0f, 300.0f},
        {"Camera_CallFunc('CenterOnBox', 300, 200, 500, 400, true, true, false)", tPlayerX, 300.0f},
        {"Camera_CallFunc('CenterOnBox', 300, 200, 500, 400, true, false, true)", 400.0f, tPlayerY},
        {"Camera_CallFunc('CenterOnBox', 300, 200, 500, 400, true, true, true)", tPlayerX, tPlayerY},
        {"Camera_CallFunc('CenterOnBox', 300, 200, 500, 400, true, false, false)", 400.0f, 300.0f},
    };
    for(const Case &rCase : cCases)
    {
        for(int i = 0; i < 200; i++) EXPECT_EQ(Run(rCase.mCall), "");
        EXPECT_FLOAT_EQ(rCamera->GetFrame().mOwnerX, rCase.mX) << rCase.mCall;
        EXPECT_FLOAT_EQ(rCamera->GetFrame().mOwnerY, rCase.mY) << rCase.mCall;
    }
    EXPECT_FLOAT_EQ(rCamera->GetFrame().mRgt - rCamera->GetFrame().mLft, 480.0f) << "the zoom was kept";

    // Without a player the flags fall back to the box.
    RestoreEntities();
    ASSERT_EQ(PlayerPony::Get(), nullptr);
    for(int i = 0; i < 200; i++) Run("Camera_CallFunc('CenterOnBox', 200, 200, 400, 400, true, true, true)");
    EXPECT_FLOAT_EQ(rCamera->GetFrame().mOwnerX, 300.0f);
    EXPECT_FLOAT_EQ(rCamera->GetFrame().mOwnerY, 300.0f);
}

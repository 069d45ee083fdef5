#include "PlayerWorld.h"

#include "core/LuaBindingHelpers.h"
#include "core/LuaManager.h"
#include "world/Camera.h"
#include "world/CameraManager.h"

#include <string>

namespace
{
    // The whole Lua interface over the player's headless world, with a camera manager, so that
    // scripts can reach every family at once.
    class HostileScriptTest : public PlayerWorld
    {
    protected:
        void SetUp() override
        {
            PlayerWorld::SetUp();
            mLua = new LuaManager();
            GetApplication()->rLuaManager = mLua;
            GetApplication()->rCameraManager = new CameraManager();
            RegisterLuaBindings(mLua->GetState());
        }

        void TearDown() override
        {
            delete GetApplication()->rCameraManager;
            GetApplication()->rCameraManager = NULL;
            GetApplication()->rLuaManager = NULL;
            delete mLua;
            PlayerWorld::TearDown();
        }

        static std::string Script(const char *pName)
        {
            return std::string(CORVEL_SOURCE_DIR) + "/tests/scripts/" + pName;
        }

        LuaManager *mLua = NULL;
    };
}

// Under the sanitizers, an overflow or a negated lowest integer anywhere behind a binding ends
// the run; the caps keep counts from reaching the allocator.
TEST_F(HostileScriptTest, HostileNumbersReachNoOverflowAndNoHugeAllocation)
{
    lua_State *L = mLua->GetState();
    testing::internal::CaptureStderr();
    int tStatus = luaL_dofile(L, Script("hostile_numbers.lua").c_str());
    const std::string tLuaError = tStatus ? lua_tostring(L, -1) : "";
    for(int32_t i = 0; i < 10; i++)
    {
        Tick();
        GetApplication()->rCameraManager->Update();
    }
    const std::string tLog = testing::internal::GetCapturedStderr();
    ASSERT_EQ(0, tStatus) << tLuaError;
    EXPECT_EQ(0, lua_gettop(L));
    EXPECT_NE(std::string::npos, tLog.find("Camera_SetProperty:  ZonesTotal 2147483647 is more than 4096, using 4096.\n"));
    EXPECT_NE(std::string::npos, tLog.find("Anim_SetProperty:  TotalFrames 2147483647 is more than 4096, using 4096.\n"));
    Camera *rCamera = GetApplication()->rCameraManager->GetActiveCamera();
    ASSERT_NE(nullptr, rCamera);
    EXPECT_LE(rCamera->GetZoneCount(), CAMERA_MAX_ZONES);
}

// The lowest integer a script can give still reads back as a number the engine may negate.
TEST_F(HostileScriptTest, IntegersFromScriptsStayWithinTheNegatableRange)
{
    lua_State *L = mLua->GetState();
    lua_pushnumber(L, -1e300);
    lua_pushnumber(L, -2147483648.0);
    lua_pushnumber(L, 1e300);
    EXPECT_EQ(-INT32_MAX, LuaArgInteger(L, 1, 0));
    EXPECT_EQ(-INT32_MAX, LuaArgInteger(L, 2, 0));
    EXPECT_EQ(INT32_MAX, LuaArgInteger(L, 3, 0));
    lua_settop(L, 0);
}

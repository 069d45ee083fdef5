#include "ScriptedPlayerWorld.h"

#include "core/LuaBindingHelpers.h"
#include "core/render/Bitmap.h"
#include "world/Camera.h"

using HostileScriptTest = ScriptedPlayerWorld;

// Under the sanitizers, an overflow or a negated lowest integer anywhere behind a binding ends
// the run; the caps keep counts from reaching the allocator.
TEST_F(HostileScriptTest, HostileNumbersReachNoOverflowAndNoHugeAllocation)
{
    lua_State *L = mLua->GetState();
    const TextureDefaults tSavedDefaults = TextureDefaults::Get();
    lua_pushstring(L, Script("enemy_empty.lua").c_str());
    lua_setglobal(L, "gEmptyScript");
    testing::internal::CaptureStderr();
    int tStatus = luaL_dofile(L, Script("hostile_numbers.lua").c_str());
    TextureDefaults::Get() = tSavedDefaults;
    const std::string tLuaError = tStatus ? lua_tostring(L, -1) : "";
    for(int32_t i = 0; i < 10; i++)
    {
        Tick();
        CameraManager::Fetch()->Update();
    }
    const std::string tLog = CapturedStderr();
    ASSERT_EQ(0, tStatus) << tLuaError;
    EXPECT_EQ(0, lua_gettop(L));
    EXPECT_NE(std::string::npos, tLog.find("Camera_SetProperty:  ZonesTotal 2147483647 is more than 4096, using 4096.\n"));
    EXPECT_NE(std::string::npos, tLog.find("Anim_SetProperty:  TotalFrames 2147483647 is more than 4096, using 4096.\n"));
    Camera *rCamera = CameraManager::Fetch()->GetActiveCamera();
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

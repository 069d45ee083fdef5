#pragma once

#include "support/PlayerWorld.h"

#include "core/LuaBindingHelpers.h"
#include "core/LuaManager.h"
#include "world/CameraManager.h"
#include "support/TestText.h"

#include <string>

// The player's headless world with the whole Lua interface and a camera manager, so that
// scripts can reach every family at once while she plays.
class ScriptedPlayerWorld : public PlayerWorld
{
protected:
    void SetUp() override
    {
        PlayerWorld::SetUp();
        mLua = new LuaManager();
        GetApplication()->mLuaManager = mLua;
        GetApplication()->mCameraManager = new CameraManager();
        RegisterLuaBindings(mLua->GetState());
    }

    void TearDown() override
    {
        delete GetApplication()->mCameraManager;
        GetApplication()->mCameraManager = nullptr;
        GetApplication()->mLuaManager = nullptr;
        delete mLua;
        PlayerWorld::TearDown();
    }

    // Runs a chunk; a load or run error fails the test.
    void RunLua(const char *pChunk)
    {
        lua_State *L = mLua->GetState();
        int tStatus = luaL_dostring(L, pChunk);
        EXPECT_EQ(0, tStatus) << (tStatus ? lua_tostring(L, -1) : "");
        lua_settop(L, 0);
    }

    static std::string Script(const char *pName) { return TestScriptPath(pName); }

    LuaManager *mLua = nullptr;
};

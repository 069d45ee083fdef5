#pragma once

#include "core/Application.h"
#include "core/LuaBindingHelpers.h"
#include "core/LuaManager.h"
#include "core/data/DataLibrary.h"
#include "world/CameraManager.h"
#include "world/EntityManager.h"
#include "support/SavedApplication.h"
#include "support/TestText.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

// Boots the data library, Lua manager, entity manager (with its special lists; tests that need
// the player create it) and camera manager ("Default" over 0, 0, 480, 360) in place of the
// Application's own, and puts the originals back afterwards. Each test registers the binding
// families it drives.
class WorldLuaFixture : public testing::Test
{
protected:
    void SetUp() override
    {
        mSaved.Save();
        mLibrary = new DataLibrary();
        mLua = new LuaManager();
        mEntities = new EntityManager();
        mEntities->CreateSpecialLists();
        mCameras = new CameraManager();
        GetApplication()->mDataLibrary = mLibrary;
        GetApplication()->mLuaManager = mLua;
        GetApplication()->mEntityManager = mEntities;
        GetApplication()->mCameraManager = mCameras;
        GetApplication()->mMapManager = nullptr;
        L = mLua->GetState();
    }

    void TearDown() override
    {
        delete mEntities;
        delete mCameras;
        delete mLua;
        delete mLibrary;
        mSaved.Restore();
        SetLuaSilenceFlag(0);
    }

    // Runs a chunk of Lua; fails the test on a load or run error.
    void Run(const char *pText)
    {
        ASSERT_EQ(luaL_dostring(L, pText), 0) << lua_tostring(L, -1);
    }

    std::string GlobalString(const char *pName) { return LuaGlobalString(L, pName); }

    static std::string Script(const char *pName) { return TestScriptPath(pName); }

    SavedApplication mSaved;
    DataLibrary *mLibrary;
    LuaManager *mLua;
    EntityManager *mEntities;
    CameraManager *mCameras;
    lua_State *L;
};

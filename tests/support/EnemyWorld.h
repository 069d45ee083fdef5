#pragma once

#include "support/PlayerWorld.h"

#include "actors/AIAttack.h"
#include "actors/AIMovement.h"
#include "actors/Enemy.h"
#include "actors/EnemyAppearance.h"
#include "actors/EnemyHealth.h"
#include "actors/EnemyHitbox.h"
#include "core/DataList.h"
#include "core/LuaBindingHelpers.h"
#include "core/LuaManager.h"
#include "world/CameraManager.h"
#include "world/ProxyTrigger.h"
#include "world/SpawnManager.h"
#include "support/TestText.h"

#include <initializer_list>
#include <string>

void RegisterLuaBindings(lua_State *L);

// The player's headless world plus what enemies need: the Lua manager with every binding
// family, the default camera (0, 0, 480, 360) and the spawn manager with its presets.
class EnemyWorld : public PlayerWorld
{
protected:
    void SetUp() override
    {
        PlayerWorld::SetUp();
        Application *rApp = GetApplication();
        rApp->mLuaManager = new LuaManager();
        RegisterLuaBindings(LuaManager::Fetch()->GetState());
        rApp->mCameraManager = new CameraManager();
        rApp->mSpawnManager = new SpawnManager();
        EnemyPresets::Build(SpawnManager::Get());
        L = LuaManager::Fetch()->GetState();
    }

    void TearDown() override
    {
        Application *rApp = GetApplication();
        delete rApp->mEntityManager;
        rApp->mEntityManager = nullptr;
        delete rApp->mSpawnManager;
        delete rApp->mCameraManager;
        delete rApp->mLuaManager;
        rApp->mSpawnManager = nullptr;
        rApp->mCameraManager = nullptr;
        rApp->mLuaManager = nullptr;
        SetLuaSilenceFlag(0);
        PlayerWorld::TearDown();
    }

    // A registered enemy with a logic script (an empty one unless given), a box and health.
    Enemy *MakeEnemy(const char *pName, float pX, float pY, float pSize, int32_t pHealth, const char *pLogic = nullptr)
    {
        Enemy *nEnemy = new Enemy(pName);
        EntityManager::Fetch()->RegisterEntity(nEnemy->GetName(), nEnemy, DeleteRootObject);
        nEnemy->SetLogicScript(pLogic ? pLogic : Script("enemy_empty.lua").c_str());
        nEnemy->SetBoundingBoxSize(pSize, pSize);
        nEnemy->SetPositionAutoCenter(pX, pY, 0.0f);
        nEnemy->GetHealth()->SetHealth(pHealth);
        return nEnemy;
    }

    // A player shot (target flag 2) with a damage value, its box at (x, y) sized 8 by 8.
    RootProjectile *MakeShot(float pX, float pY, int32_t pDamage, bool pPiercing = false)
    {
        RootProjectile *nShot = new RootProjectile();
        nShot->SetTargetFlags(PROJECTILE_TARGET_ENEMIES);
        nShot->SetDamage(pDamage);
        nShot->SetPiercing(pPiercing ? 1 : 0);
        nShot->SetSelfMoving(1);
        nShot->SetBlockAutoOffscreenDestruction(1);
        nShot->SetImmuneToInterception(1);
        nShot->SetDimensions(0.0f, 0.0f, 8.0f, 8.0f);
        nShot->SetPosition(pX, pY);
        EntityManager::Fetch()->RegisterProjectile("TestShot", nShot, DeleteRootObject);
        return nShot;
    }

    bool Alive(int32_t pID)
    {
        return EntityManager::Fetch()->FindByID(pID) != nullptr;
    }

    void Run(const char *pText)
    {
        ASSERT_EQ(luaL_dostring(L, pText), 0) << lua_tostring(L, -1);
    }

    double GlobalNumber(const char *pName)
    {
        lua_getglobal(L, pName);
        double tValue = lua_tonumber(L, -1);
        lua_pop(L, 1);
        return tValue;
    }

    std::string GlobalString(const char *pName) { return LuaGlobalString(L, pName); }

    static std::string Script(const char *pName) { return TestScriptPath(pName); }

    // Runs a chunk with the object active and returns what it wrote to standard error. The
    // chunk must leave the active-object stack as it found it.
    std::string RunWithActive(RootObject *pActive, const char *pChunk)
    {
        DataLibrary *rLibrary = DataLibrary::Fetch();
        rLibrary->PushActiveEntity(pActive);
        testing::internal::CaptureStderr();
        Run(pChunk);
        std::string tErr = CapturedStderr();
        rLibrary->PopActiveEntity();
        EXPECT_EQ(rLibrary->GetActiveStackSize(), 0);
        return tErr;
    }

    static void ExpectLines(const std::string &pErr, std::initializer_list<const char *> pLines)
    {
        for(const char *rLine : pLines) EXPECT_NE(pErr.find(rLine), std::string::npos) << rLine;
    }

    lua_State *L;
};

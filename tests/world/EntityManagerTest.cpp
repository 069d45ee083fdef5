#include "world/EntityManager.h"

#include "core/Application.h"
#include "core/DataList.h"
#include "core/LuaBindingHelpers.h"
#include "core/LuaManager.h"
#include "core/data/DataLibrary.h"
#include "world/RootEntity.h"
#include "support/TestText.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace
{
    std::string xLog;

    // An entity that records its hooks in xLog and runs an optional action inside them.
    class ProbeEntity : public RootEntity
    {
    public:
        explicit ProbeEntity(const char *pName)
        {
            SetName(pName);
            mHasBox = false;
            mBox = Hitbox();
            mX = mY = 0.0f;
            sLive++;
        }
        ~ProbeEntity() override
        {
            xLog += std::string("~") + mName + " ";
            sLive--;
        }

        void Update() override
        {
            xLog += std::string("U:") + mName + " ";
            if(mOnUpdate) mOnUpdate(this);
            // Touches the object after the action, so a premature delete shows under ASan.
            mUpdatesDone++;
        }
        void OnDestroy() override
        {
            xLog += std::string("D:") + mName + " ";
            if(mOnDestroy) mOnDestroy(this);
        }
        void TickAlways() override { xLog += std::string("T:") + mName + " "; }
        bool HasHitbox() override { return mHasBox; }
        void GetHitbox(Hitbox &sBox) override { sBox = mBox; }
        void GetPosition(float &sX, float &sY, float &sZ) override
        {
            sX = mX;
            sY = mY;
            sZ = 0.0f;
        }
        bool IsSideBlocked(int32_t pSide) override { return pSide == 3; }

        std::function<void(ProbeEntity *)> mOnUpdate;
        std::function<void(ProbeEntity *)> mOnDestroy;
        bool mHasBox;
        Hitbox mBox;
        float mX, mY;
        int mUpdatesDone = 0;
        static int sLive;
    };
    int ProbeEntity::sLive = 0;

    class EnemyProbe : public ProbeEntity
    {
    public:
        explicit EnemyProbe(const char *pName) : ProbeEntity(pName) { mType = TYPE_ENEMY; }
    };

    // A deleter that checks the entity has already left the list when it runs.
    bool xDeleterSawItListed = false;
    void DeleteCheckingUnlinked(void *pEntity)
    {
        EntityManager *rManager = EntityManager::Fetch();
        if(rManager && rManager->GetEntityList()->ContainsData(pEntity)) xDeleterSawItListed = true;
        DeleteRootObject(pEntity);
    }

    class EntityManagerTest : public testing::Test
    {
    protected:
        void SetUp() override
        {
            xLog.clear();
            xDeleterSawItListed = false;
            ProbeEntity::sLive = 0;
            mLibrary = new DataLibrary();
            mManager = new EntityManager();
            mManager->CreateSpecialLists();
            mPreviousLibrary = GetApplication()->mDataLibrary;
            mPreviousManager = GetApplication()->mEntityManager;
            GetApplication()->mDataLibrary = mLibrary;
            GetApplication()->mEntityManager = mManager;
        }

        void TearDown() override
        {
            delete mManager;
            delete mLibrary;
            GetApplication()->mDataLibrary = mPreviousLibrary;
            GetApplication()->mEntityManager = mPreviousManager;
            EXPECT_EQ(ProbeEntity::sLive, 0);
        }

        ProbeEntity *Add(const char *pName)
        {
            ProbeEntity *nEntity = new ProbeEntity(pName);
            mManager->RegisterEntity(pName, nEntity, DeleteCheckingUnlinked);
            return nEntity;
        }

        DataLibrary *mLibrary;
        EntityManager *mManager;
        DataLibrary *mPreviousLibrary;
        EntityManager *mPreviousManager;
    };
}

TEST_F(EntityManagerTest, DestructionTiming)
{
    ProbeEntity *rA = Add("A");
    ProbeEntity *rB = Add("B");
    ProbeEntity *rC = Add("C");
    // A flags itself. C flags B, which already ran this tick, and appends D, which runs in
    // the same walk.
    rA->mOnUpdate = [](ProbeEntity *pSelf) { pSelf->SetDestruct(1); };
    rC->mOnUpdate = [this, rB](ProbeEntity *pSelf) {
        rB->SetDestruct(1);
        if(!mManager->GetEntity("D")) Add("D");
        pSelf->mOnUpdate = nullptr;
    };

    mManager->Update();
    EXPECT_EQ(xLog, "U:A D:A ~A U:B U:C U:D ");
    EXPECT_EQ(mManager->GetEntityList()->GetCount(), 3);

    xLog.clear();
    mManager->Update();
    EXPECT_EQ(xLog, "U:B D:B ~B U:C U:D ");
    EXPECT_FALSE(xDeleterSawItListed);
}

TEST_F(EntityManagerTest, DisabledEntitiesSkipUpdateButTickAlways)
{
    ProbeEntity *rA = Add("A");
    rA->SetEnabled(0);
    Add("B");
    mManager->Update();
    mManager->RunTickAlways();
    EXPECT_EQ(xLog, "U:B T:A T:B ");
    // Only exactly 1 counts as enabled.
    rA->SetEnabled(2);
    xLog.clear();
    mManager->Update();
    EXPECT_EQ(xLog, "U:B ");
}

TEST_F(EntityManagerTest, RemovingDuringTheWalk)
{
    ProbeEntity *nA = Add("A");
    ProbeEntity *rB = Add("B");
    ProbeEntity *nC = Add("C");
    Add("D");
    // The head detaches itself; B detaches C ahead of the walk. Both are the caller's now.
    nA->mOnUpdate = [this](ProbeEntity *pSelf) { mManager->RemoveEntity(pSelf); };
    rB->mOnUpdate = [this, nC](ProbeEntity *) { mManager->RemoveEntity(nC); };

    mManager->Update();
    EXPECT_EQ(xLog, "U:A U:B U:D ");
    EXPECT_EQ(mManager->GetEntityList()->GetCount(), 2);
    EXPECT_EQ(nA->mUpdatesDone, 1);
    delete nA;
    delete nC;
}

TEST_F(EntityManagerTest, ClearingDuringTheWalkDefersTheRunningEntity)
{
    ProbeEntity *nPlayer = new ProbeEntity("Player");
    mManager->RegisterEntity("Player", nPlayer, EntityManager::DeletePlayerEntry);
    Add("A");
    ProbeEntity *rB = Add("B");
    Add("C");
    int tLiveInsideHook = -1;
    rB->mOnUpdate = [this, &tLiveInsideHook](ProbeEntity *) {
        mManager->ClearEntities();
        tLiveInsideHook = ProbeEntity::sLive;
    };

    mManager->Update();
    // Inside B's hook A and C are gone but B itself still lives.
    EXPECT_EQ(tLiveInsideHook, 2);
    EXPECT_EQ(ProbeEntity::sLive, 1);
    EXPECT_EQ(xLog, "U:Player U:A U:B ~A ~C ~B ");
    EXPECT_EQ(mManager->GetEntityList()->GetCount(), 1);
    EXPECT_FALSE(xDeleterSawItListed);
    mManager->ClearEntities();
    EXPECT_EQ(mManager->GetEntityList()->GetCount(), 1);
    delete nPlayer;
}

TEST_F(EntityManagerTest, OnDestroyThatWipesItselfIsDeletedOnce)
{
    ProbeEntity *rA = Add("A");
    Add("B");
    rA->SetDestruct(1);
    rA->mOnDestroy = [this](ProbeEntity *) { mManager->ClearEntities(); };
    mManager->Update();
    EXPECT_EQ(xLog, "U:A D:A ~B ~A ");
    EXPECT_EQ(mManager->GetEntityList()->GetCount(), 0);
}

TEST_F(EntityManagerTest, ClearKeepsOnlyThePlayerEntry)
{
    ProbeEntity *nPlayer = new ProbeEntity("Player");
    mManager->RegisterEntity("Player", nPlayer, EntityManager::DeletePlayerEntry);
    for(int i = 0; i < 10; i++) Add(("E" + std::to_string(i)).c_str());
    // An entry registered without a deleter is dropped, not destroyed.
    ProbeEntity *nMech = new ProbeEntity("Mech");
    mManager->RegisterEntity("Mech", nMech);

    mManager->ClearEntities();
    EXPECT_EQ(mManager->GetEntityList()->GetCount(), 1);
    EXPECT_STREQ(mManager->GetEntityList()->GetNameByIndex(0), "Player");
    EXPECT_EQ(ProbeEntity::sLive, 2);
    EXPECT_FALSE(xDeleterSawItListed);

    // A script cannot destroy the player's entry; the flag is only cleared.
    nPlayer->SetDestruct(1);
    mManager->Update();
    EXPECT_EQ(mManager->GetEntityList()->GetCount(), 1);
    EXPECT_EQ(nPlayer->GetDestruct(), 0);
    delete nPlayer;
    delete nMech;
}

TEST_F(EntityManagerTest, LookupsAndCounts)
{
    ProbeEntity *rA = Add("PROJ|KestraShot|5");
    Add("PROJ|KestraShotBig|6");
    Add("PROJ|Other|7");
    EnemyProbe *nEnemy = new EnemyProbe("Bat");
    mManager->RegisterEntity("Bat", nEnemy, DeleteRootObject);

    EXPECT_EQ(mManager->CountProjectilesNamed("KestraShot"), 2);
    EXPECT_EQ(mManager->CountProjectilesNamed("Other"), 1);
    EXPECT_EQ(mManager->CountProjectilesNamed(nullptr), -1);
    EXPECT_EQ(mManager->FindByName("PROJ|Kes"), rA);
    EXPECT_EQ(mManager->FindByID(nEnemy->GetID()), nEnemy);
    EXPECT_EQ(mManager->FindByID(-5), nullptr);
    EXPECT_EQ(mManager->GetLastID(), nEnemy->GetID());

    NamedLinkedList *nEnemies = mManager->ListByType(TYPE_ENEMY);
    EXPECT_EQ(nEnemies->GetCount(), 1);
    delete nEnemies;

    mManager->Update();
    EXPECT_EQ(mManager->GetLastEnemyCount(), 1);
    nEnemy->SetDestruct(1);
    mManager->Update();
    EXPECT_EQ(mManager->GetLastEnemyCount(), 0);

    EXPECT_NE(mManager->GetSpecialList(SLIDE_LIST_NAME), nullptr);
    EXPECT_EQ(mManager->GetSpecialList("Nope"), nullptr);
}

TEST_F(EntityManagerTest, ThisResolvesOnlyToEntities)
{
    ProbeEntity *rA = Add("A");
    mLibrary->SetActiveObjectDirect(rA);
    EXPECT_EQ(mManager->GetEntity("this"), rA);
    EXPECT_EQ(mManager->GetEntity("THIS"), rA);

    RootObject tPlain;
    mLibrary->SetActiveObjectDirect(&tPlain);
    EXPECT_EQ(mManager->GetEntity("This"), nullptr);
    mLibrary->SetActiveObjectDirect(nullptr);
}

TEST_F(EntityManagerTest, DestroyedEntityLeavesTheActiveSlot)
{
    ProbeEntity *rA = Add("A");
    mLibrary->SetActiveObjectDirect(rA);
    rA->SetDestruct(1);
    mManager->Update();
    EXPECT_EQ(mLibrary->GetActiveObject(), nullptr);
}

TEST_F(EntityManagerTest, DistanceAndAngle)
{
    ProbeEntity *rA = Add("A");
    ProbeEntity *rB = Add("B");
    rB->mX = 3.0f;
    rB->mY = 4.0f;
    EXPECT_FLOAT_EQ(mManager->GetDistanceBetweenEntities("A", "B"), 5.0f);
    rB->mY = 0.0f;
    EXPECT_FLOAT_EQ(mManager->GetAngleBetweenEntities(rA, rB), 90.0f);
    EXPECT_FLOAT_EQ(mManager->GetAngleBetweenEntities("A", "Missing"), 361.0f);
    testing::internal::CaptureStderr();
    EXPECT_FLOAT_EQ(mManager->GetDistanceBetweenEntities("A", "Missing"), 10000.0f);
    EXPECT_NE(CapturedStderr().find("EntityManager::GetDistanceBetweenEntities:  Failed"), std::string::npos);
}

TEST_F(EntityManagerTest, RegisterSpecialObjectNeedsAList)
{
    ProbeEntity *nLadder = new ProbeEntity("Ladder");
    mManager->RegisterSpecialObject(LADDER_LIST_NAME, "L1", nLadder, DeleteRootObject);
    EXPECT_EQ(mManager->GetSpecialList(LADDER_LIST_NAME)->GetCount(), 1);
    mManager->ResetSpecialLists();
    EXPECT_EQ(mManager->GetSpecialList(LADDER_LIST_NAME)->GetCount(), 0);
    EXPECT_EQ(ProbeEntity::sLive, 0);
}

TEST_F(EntityManagerTest, SpecialObjectsLeaveByNameByNumberOrEverywhereUndestroyed)
{
    ProbeEntity *nFirst = new ProbeEntity("First");
    ProbeEntity *nSecond = new ProbeEntity("Second");
    ProbeEntity *nShared = new ProbeEntity("Shared");
    mManager->RegisterSpecialObject(SLIP_LIST_NAME, "Same", nFirst, DeleteRootObject);
    mManager->RegisterSpecialObject(SLIP_LIST_NAME, "Same", nSecond, DeleteRootObject);
    mManager->RegisterSpecialObject(SLIP_LIST_NAME, "Shared", nShared);
    mManager->RegisterSpecialObject(PUSH_LIST_NAME, "Shared", nShared, DeleteRootObject);
    mManager->RegisterSpecialObject(PUSH_LIST_NAME, "Again", nShared, DeleteRootObject);
    NamedLinkedList *rSlips = mManager->GetSpecialList(SLIP_LIST_NAME);

    // The first of a repeated name goes, destroyed by the list.
    mManager->RemoveSpecialObject(SLIP_LIST_NAME, "Same");
    EXPECT_EQ("~First ", xLog);
    EXPECT_EQ(nSecond, rSlips->GetElementByName("Same"));
    mManager->RemoveSpecialObjectByID(SLIP_LIST_NAME, nSecond->GetID());
    EXPECT_EQ("~First ~Second ", xLog);
    mManager->RemoveSpecialObjectByID(SLIP_LIST_NAME, -5);
    mManager->RemoveSpecialObjectByID(PARTICLE_LIST_NAME, nShared->GetID());
    mManager->RemoveSpecialObject("No List", "Shared");
    EXPECT_EQ(1, rSlips->GetCount());

    // Every entry of the object leaves every list; the object itself lives on.
    mManager->DetachFromSpecialLists(nShared);
    EXPECT_EQ(0, rSlips->GetCount());
    EXPECT_EQ(0, mManager->GetSpecialList(PUSH_LIST_NAME)->GetCount());
    EXPECT_EQ("~First ~Second ", xLog);
    // Entries registered without a deleter are only referenced.
    mManager->RegisterSpecialObject(SLIDE_LIST_NAME, "Shared", nShared);
    mManager->RemoveSpecialObject(SLIDE_LIST_NAME, "Shared");
    EXPECT_EQ(1, ProbeEntity::sLive);
    delete nShared;

    mManager->RegisterSpecialObject(LADDER_LIST_NAME, "L", new ProbeEntity("L"), DeleteRootObject);
    testing::internal::CaptureStderr();
    mManager->DumpSpecialLists();
    EXPECT_EQ("Special list Ladder List has 1 contents\nSpecial list Checkpoint List has 0 contents\n"
              "Special list Particle List has 0 contents\nSpecial list Damage Zone List has 0 contents\n"
              "Special list Slip List has 0 contents\nSpecial list Push List has 0 contents\n"
              "Special list Slide List has 0 contents\n",
              CapturedStderr());
}

TEST_F(EntityManagerTest, DebugPassOffersEveryEntityItsCube)
{
    class CubeProbe : public ProbeEntity
    {
    public:
        explicit CubeProbe(const char *pName) : ProbeEntity(pName) {}
        void RenderDebugCube() override { xLog += std::string("C:") + mName + " "; }
    };
    mManager->RegisterEntity("A", new CubeProbe("A"), DeleteRootObject);
    Add("Plain");
    mManager->RegisterEntity("B", new CubeProbe("B"), DeleteRootObject);
    mManager->RenderDebugCubes();
    EXPECT_EQ("C:A C:B ", xLog);
}

TEST(RootEntityTest, DefaultsAndBaseHooks)
{
    RootEntity tEntity;
    EXPECT_STREQ(tEntity.GetName(), "Unnamed Entity");
    EXPECT_EQ(tEntity.GetEnabled(), 1);
    EXPECT_FLOAT_EQ(tEntity.GetDepth(), -2.0f);
    EXPECT_EQ(tEntity.GetData()->GetStrictFlag(), 1);
    EXPECT_EQ(tEntity.GetData()->GetEntryCount(), 0);
    EXPECT_FALSE(tEntity.IsSideBlockedByName("Bottom"));

    testing::internal::CaptureStderr();
    float tX = 1, tY = 1, tZ = 1;
    tEntity.GetPositionV(tX, tY, tZ);
    std::string tOut = CapturedStderr();
    EXPECT_EQ(tX + tY + tZ, 0.0f);
    EXPECT_NE(tOut.find("Warning:  Entity of type 0 does not have a position function\n"), std::string::npos);
    EXPECT_NE(tOut.find("Id of this object is " + std::to_string(tEntity.GetID()) + "\n"), std::string::npos);

    testing::internal::CaptureStderr();
    Hitbox tBox = {};
    tBox.mLft = 7.0f;
    tEntity.GetHitbox(tBox);
    EXPECT_EQ(CapturedStderr(), "RootEntity::GetHitbox error, no subclass has implemented this function.\n");
    EXPECT_EQ(tBox.mLft, 7.0f);
}

TEST(RootEntityTest, SideNamesAreExact)
{
    ProbeEntity tEntity("S");
    EXPECT_TRUE(tEntity.IsSideBlockedByName("Bottom"));
    EXPECT_FALSE(tEntity.IsSideBlockedByName("bottom"));
    EXPECT_FALSE(tEntity.IsSideBlockedByName("Left"));
    EXPECT_FALSE(tEntity.IsSideBlockedByName(""));
    EXPECT_FALSE(tEntity.IsSideBlockedByName(nullptr));
}

// The RE_ and EM_ globals through a real Lua state, driven by the Lua manager.
class EntityBindingsTest : public EntityManagerTest
{
protected:
    void SetUp() override
    {
        EntityManagerTest::SetUp();
        mLua = new LuaManager();
        mPreviousLua = GetApplication()->mLuaManager;
        GetApplication()->mLuaManager = mLua;
        L = mLua->GetState();
        RegisterRootEntityLua(L);
        EntityManager::RegisterLua(L);
        RegisterDataListLua(L);
    }

    void TearDown() override
    {
        GetApplication()->mLuaManager = mPreviousLua;
        delete mLua;
        EntityManagerTest::TearDown();
    }

    bool Run(const char *pText)
    {
        int tTop = lua_gettop(L);
        bool tOk = mLua->RunChunkText(pText) && mLua->Execute();
        EXPECT_EQ(lua_gettop(L), tTop);
        return tOk;
    }

    std::string Global(const char *pName)
    {
        lua_getglobal(L, pName);
        std::string tResult = lua_isnil(L, -1) ? "nil" : (lua_isboolean(L, -1) ? (lua_toboolean(L, -1) ? "true" : "false") : lua_tostring(L, -1));
        lua_pop(L, 1);
        return tResult;
    }

    LuaManager *mLua;
    LuaManager *mPreviousLua;
    lua_State *L;
};

TEST_F(EntityBindingsTest, DataNeedsDefinitionFirst)
{
    ProbeEntity *rA = Add("A");
    mLibrary->SetActiveObjectDirect(rA);
    ASSERT_TRUE(Run("RE_SetData('HP', 'N', 4) v1 = RE_GetData('HP', 'N')"
                    " RE_DefineData('HP', 'N', 1) RE_SetData('HP', 'N', 9) v2 = RE_GetData('HP', 'N')"));
    EXPECT_EQ(Global("v1"), "0");
    EXPECT_EQ(Global("v2"), "9");
    EXPECT_EQ(mLibrary->GetActiveObject(), rA);
    EXPECT_EQ(rA->GetData()->GetEntryCount(), 1);

    // With no active object the read reports and gives back no value at all.
    mLibrary->SetActiveObjectDirect(nullptr);
    testing::internal::CaptureStderr();
    ASSERT_TRUE(Run("n = select('#', RE_GetData('HP', 'N'))"));
    EXPECT_EQ(CapturedStderr(), "RE_GetData: Failed, rActiveObject was wrong type, or NULL.\n");
    EXPECT_EQ(Global("n"), "0");
}

TEST_F(EntityBindingsTest, FlagsDepthAndSides)
{
    ProbeEntity *rA = Add("A");
    mLibrary->SetActiveObjectDirect(rA);
    ASSERT_TRUE(Run("RE_SetEnabledState(false) RE_SetDepth(3.5) s = RE_IsSideBlocked('Bottom') l = RE_IsSideBlocked('left')"));
    EXPECT_EQ(rA->GetEnabled(), 0);
    EXPECT_FLOAT_EQ(rA->GetDepth(), 3.5f);
    EXPECT_EQ(Global("s"), "true");
    EXPECT_EQ(Global("l"), "false");

    testing::internal::CaptureStderr();
    ASSERT_TRUE(Run("RE_SetEnabledState() e = RE_IsSideBlocked()"));
    std::string tOut = CapturedStderr();
    EXPECT_NE(tOut.find("RE_SetEnabledState:  Failed, invalid argument list\n"), std::string::npos);
    EXPECT_NE(tOut.find("RE_IsSideBlocked: Failed, invalid argument list\n"), std::string::npos);
    EXPECT_EQ(Global("e"), "nil");

    // A foreign active object is refused rather than written through.
    RootObject tPlain;
    mLibrary->SetActiveObjectDirect(&tPlain);
    testing::internal::CaptureStderr();
    ASSERT_TRUE(Run("b = RE_IsSideBlocked('Bottom') RE_SetDepth(1)"));
    EXPECT_NE(CapturedStderr().find("RE_IsSideBlocked: Failed, rActiveObject was wrong type, or NULL.\n"), std::string::npos);
    EXPECT_EQ(Global("b"), "nil");
    mLibrary->SetActiveObjectDirect(nullptr);
}

TEST_F(EntityBindingsTest, CollisionQueries)
{
    ProbeEntity *rA = Add("A");
    ProbeEntity *rB = Add("B");
    rA->mHasBox = true;
    rA->mBox.mRgt = rA->mBox.mBot = 10.0f;
    rB->mHasBox = true;
    rB->mBox.mLft = rB->mBox.mTop = 10.0f;
    rB->mBox.mRgt = rB->mBox.mBot = 20.0f;
    mLibrary->SetActiveObjectDirect(rA);
    ASSERT_TRUE(Run("self = RE_IsCollidingWith('This') other = RE_IsCollidingWith('B') none = RE_IsCollidingWith('Nobody')"
                    " ab = EM_AreEntitiesColliding('A', 'B') ar = EM_AreEntitiesColliding('A', 11, 11, 30, 30)"
                    " rr = EM_AreEntitiesColliding(0, 0, 5, 5, 6, 6, 9, 9)"));
    EXPECT_EQ(Global("self"), "true");
    EXPECT_EQ(Global("other"), "true");
    EXPECT_EQ(Global("none"), "false");
    EXPECT_EQ(Global("ab"), "true");
    EXPECT_EQ(Global("ar"), "false");
    EXPECT_EQ(Global("rr"), "false");

    testing::internal::CaptureStderr();
    ASSERT_TRUE(Run("m = EM_AreEntitiesColliding('Nobody', 0, 0, 1, 1) bad = EM_AreEntitiesColliding('A')"));
    EXPECT_NE(CapturedStderr().find("Failed "), std::string::npos);
    EXPECT_EQ(Global("m"), "false");
    EXPECT_EQ(Global("bad"), "nil");
    mLibrary->SetActiveObjectDirect(nullptr);
}

TEST_F(EntityBindingsTest, ManagerGlobals)
{
    ProbeEntity *rA = Add("A");
    ProbeEntity *rB = Add("B");
    mLibrary->SetActiveObjectDirect(rB);
    std::string tScript = "e1 = EM_Exists('A') e2 = EM_Exists('Z') id = EM_GetLastID()"
                          " ang = EM_GetAngleBetweenEntities('A', 'Missing') EM_PushEntity('By ID', " +
                          std::to_string(rA->GetID()) + ")";
    ASSERT_TRUE(Run(tScript.c_str()));
    EXPECT_EQ(Global("e1"), "true");
    EXPECT_EQ(Global("e2"), "false");
    EXPECT_EQ(Global("id"), std::to_string(rB->GetID()));
    EXPECT_EQ(Global("ang"), "361");
    EXPECT_EQ(mLibrary->GetActiveObject(), rA);
    mLibrary->PopActiveEntity();
    EXPECT_EQ(mLibrary->GetActiveObject(), rB);

    // An unknown id leaves no active object; the previous one waits on the stack.
    ASSERT_TRUE(Run("EM_PushEntity('By ID', -12345)"));
    EXPECT_EQ(mLibrary->GetActiveObject(), nullptr);
    mLibrary->PopActiveEntity();
    EXPECT_EQ(mLibrary->GetActiveObject(), rB);
    mLibrary->SetActiveObjectDirect(nullptr);

    // Entries of a list by list and name (never particles); a lookup key with another count or
    // type, or an unknown one, finds nothing without a word, the old object still pushed.
    ProbeEntity *nLadder = new ProbeEntity("Ladder");
    mManager->RegisterSpecialObject(LADDER_LIST_NAME, "L1", nLadder, DeleteRootObject);
    ASSERT_TRUE(Run("EM_PushEntity('SpecialList', 'Ladder List', 'L1')"));
    EXPECT_EQ(mLibrary->GetActiveObject(), nLadder);
    mLibrary->PopActiveEntity();
    testing::internal::CaptureStderr();
    const char *cFindNothing[] = {"EM_PushEntity('SpecialList', 'Ladder List', 'L2')", "EM_PushEntity('SpecialList', 'Particle List', 'L1')",
                                  "EM_PushEntity('SpecialList', 'Ladder List')", "EM_PushEntity('By ID', 'one')",
                                  "EM_PushEntity('By ID', 1, 2)", "EM_PushEntity('By Name', 'A')"};
    for(const char *rScript : cFindNothing)
    {
        mLibrary->SetActiveObjectDirect(rB);
        ASSERT_TRUE(Run(rScript));
        EXPECT_EQ(mLibrary->GetActiveObject(), nullptr) << rScript;
        mLibrary->PopActiveEntity();
        EXPECT_EQ(mLibrary->GetActiveObject(), rB) << rScript;
    }
    EXPECT_EQ(CapturedStderr(), "");
    mLibrary->SetActiveObjectDirect(nullptr);

    testing::internal::CaptureStderr();
    ASSERT_TRUE(Run("a1 = EM_GetAngleBetweenEntities('A') d1 = EM_GetDistanceBetweenEntities()"));
    std::string tOut = CapturedStderr();
    EXPECT_NE(tOut.find("EM_GetAngleBetweenEntities:  Failed, invalid argument list\n - Pushing dummy value of 0.0f\n"), std::string::npos);
    EXPECT_NE(tOut.find("EM_GetDistanceBetweenEntities:  Failed, invalid argument list\n - Pushing dummy value of 10000.0f\n"), std::string::npos);
    EXPECT_EQ(Global("a1"), "0");
    EXPECT_EQ(Global("d1"), "10000");
}

TEST_F(EntityBindingsTest, ScriptFlagsItsEntityFromInsideTheWalk)
{
    const std::string tScript = std::string(CORVEL_SOURCE_DIR) + "/tests/scripts/em_self_destruct.lua";
    ProbeEntity *rA = Add("A");
    Add("B");
    rA->mOnUpdate = [this, tScript](ProbeEntity *pSelf) {
        mLibrary->PushActiveEntity(pSelf);
        mLua->ExecuteFile(tScript.c_str());
        mLibrary->PopActiveEntity();
        mLibrary->PopActiveEntity();
    };
    mManager->Update();
    EXPECT_EQ(xLog, "U:A D:A ~A U:B D:B ~B ");
    EXPECT_EQ(mManager->GetEntityList()->GetCount(), 0);
}

TEST_F(EntityBindingsTest, AnEntitysScriptReachesItsOwnDataThroughEitherFamily)
{
    const std::string tScript = std::string(CORVEL_SOURCE_DIR) + "/tests/scripts/datalist_entity.lua";
    ProbeEntity *rA = Add("A");
    mLibrary->PushActiveEntity(rA);
    testing::internal::CaptureStderr();
    mLua->ExecuteFile(tScript.c_str());
    std::string tOut = CapturedStderr();
    mLibrary->PopActiveEntity();
    EXPECT_EQ(Global("gnHops"), "3");
    EXPECT_EQ(Global("gsColour"), "teal");
    EXPECT_EQ(Global("gnUndefined"), "0");
    EXPECT_EQ(tOut, "DataList::AddDataEntry:  Failed, strict flag is on and entry Undefined does not exist\n");
    EXPECT_EQ(rA->GetData()->GetEntryCount(), 2);
}

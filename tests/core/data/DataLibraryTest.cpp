#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>

#include "core/Application.h"
#include "core/LuaBindingHelpers.h"
#include "core/RootObject.h"
#include "core/data/CorvelLumpManager.h"
#include "core/data/DataLibrary.h"
#include "core/data/LumpWriter.h"
#include "support/ScratchFolder.h"
#include "support/TestText.h"

namespace
{
    int gDestroyed = 0;

    class TestObject : public RootObject
    {
    public:
        explicit TestObject(int32_t pType) { mType = pType; }
        ~TestObject() override { gDestroyed++; }
    };

    int gWatcherCalls = 0;
    void *gWatcherSaw = nullptr;
    void CountWatcher(void *pEntry)
    {
        gWatcherCalls++;
        gWatcherSaw = pEntry;
    }

    class DataLibraryTest : public ::testing::Test
    {
    protected:
        void SetUp() override
        {
            gDestroyed = 0;
            mPrevious = GetApplication()->mDataLibrary;
            mLibrary = new DataLibrary();
            GetApplication()->mDataLibrary = mLibrary;
            L = luaL_newstate();
            luaL_openlibs(L);
            RegisterDataLibraryLua(L);
        }
        void TearDown() override
        {
            lua_close(L);
            delete mLibrary;
            GetApplication()->mDataLibrary = mPrevious;
        }
        void Run(const char *pChunk)
        {
            ASSERT_EQ(0, luaL_dostring(L, pChunk)) << lua_tostring(L, -1);
        }
        // Runs an expression and returns its value as text ("nil", "true", numbers, strings).
        std::string Eval(const char *pExpression)
        {
            std::string tChunk = std::string("return tostring(") + pExpression + ")";
            int tTop = lua_gettop(L);
            if(luaL_dostring(L, tChunk.c_str()) != 0) return std::string("error: ") + lua_tostring(L, -1);
            std::string tResult = lua_tostring(L, -1);
            lua_settop(L, tTop);
            return tResult;
        }
        TestObject *AddObject(const char *pPath, int32_t pType)
        {
            mLibrary->AddPath(pPath);
            TestObject *nObject = new TestObject(pType);
            mLibrary->AddEntry(pPath, nObject, DeleteRootObject);
            return nObject;
        }

        DataLibrary *mLibrary;
        DataLibrary *mPrevious;
        lua_State *L;
    };
}

TEST_F(DataLibraryTest, PathsResolveByFourPartsAndIgnoreTheFirst)
{
    TestObject *rObject = AddObject("Root/Images/GUI/HealthBar/Cap", 5);
    mLibrary->SetQuiet(1);
    EXPECT_EQ(rObject, mLibrary->GetEntry("Root/Images/GUI/HealthBar/Cap"));
    EXPECT_EQ(rObject, mLibrary->GetEntry("Anything/Images/GUI/HealthBar/Cap"));
    EXPECT_EQ(rObject, mLibrary->GetEntry("Root/Images/GUI/HealthBar/Cap/ignored/tail"));
    EXPECT_EQ(nullptr, mLibrary->GetEntry("Root/images/GUI/HealthBar/Cap"));
    EXPECT_NE(nullptr, mLibrary->GetHeading("Root/Images/GUI/HealthBar"));

    // A section-only path makes only the section; an entry needs its heading.
    mLibrary->AddPath("Root/Fonts");
    EXPECT_NE(nullptr, mLibrary->GetSection("Root/Fonts"));
    EXPECT_EQ(nullptr, mLibrary->GetCatalogue("Root/Fonts/All"));
    TestObject *nLost = new TestObject(1);
    mLibrary->AddEntry("Root/Fonts/All/All/Sys", nLost, DeleteRootObject);
    EXPECT_EQ(nullptr, mLibrary->GetEntry("Root/Fonts/All/All/Sys"));
    delete nLost;

    char *nPart = DataLibraryPath::GetComponent("Root/Images/GUI/HealthBar/Cap", 2);
    EXPECT_STREQ("HealthBar", nPart);
    free(nPart);
    EXPECT_EQ(nullptr, DataLibraryPath::GetComponent("Root/Images", 1));
    EXPECT_EQ(nullptr, DataLibraryPath::GetComponent("Root/Images/A/B/C", 4));

    mLibrary->SetQuiet(0);
    testing::internal::CaptureStderr();
    mLibrary->GetEntry("Root/Images/GUI/HealthBar/Missing");
    mLibrary->SetQuiet(1);
    mLibrary->GetEntry("Root/Images/GUI/HealthBar/Quiet");
    std::string tOut = CapturedStderr();
    EXPECT_NE(std::string::npos, tOut.find("[DataLibrary] GetEntry(N):  Error, Root/Images/GUI/HealthBar/Missing not found\n"));
    EXPECT_EQ(std::string::npos, tOut.find("Quiet"));
}

TEST_F(DataLibraryTest, DuplicateEntriesFirstWinsAndRemoveTakesTheFirst)
{
    TestObject *rFirst = AddObject("Root/A/B/C/Same", 1);
    TestObject *rSecond = AddObject("Root/A/B/C/Same", 2);
    EXPECT_EQ(rFirst, mLibrary->GetEntry("Root/A/B/C/Same"));
    mLibrary->RemoveEntry("Root/A/B/C/Same");
    EXPECT_EQ(1, gDestroyed);
    EXPECT_EQ(rSecond, mLibrary->GetEntry("Root/A/B/C/Same"));
}

TEST_F(DataLibraryTest, OverlongComponentsAreNotFoundNeverTruncated)
{
    std::string tName255(255, 'n');
    std::string tPath = "Root/S/C/H/" + tName255;
    TestObject *rObject = AddObject(tPath.c_str(), 1);
    EXPECT_EQ(rObject, mLibrary->GetEntry(tPath.c_str()));

    // One character more would have matched the 255-character name if it were cut.
    std::string tLonger = tPath + "x";
    mLibrary->SetQuiet(1);
    EXPECT_EQ(nullptr, mLibrary->GetEntry(tLonger.c_str()));
    std::string tLongSection = "Root/" + std::string(300, 's') + "/C/H/E";
    mLibrary->AddPath(tLongSection.c_str());
    EXPECT_EQ(nullptr, mLibrary->GetSection(tLongSection.c_str()));
    EXPECT_EQ(nullptr, mLibrary->GetSection(("Root/" + std::string(255, 's')).c_str()));
    EXPECT_EQ(nullptr, DataLibraryPath::GetComponent(tLongSection.c_str(), 2));

    // A long first part is never compared, so it does no harm.
    std::string tLongRoot = std::string(400, 'r') + "/S/C/H/" + tName255;
    EXPECT_EQ(rObject, mLibrary->GetEntry(tLongRoot.c_str()));
}

TEST_F(DataLibraryTest, EntriesOfAnotherKindAreRefusedAndSaySo)
{
    mLibrary->AddPath("Root/Images/All/All/Pic");
    void *nBitmapLike = malloc(16);
    mLibrary->AddEntry("Root/Images/All/All/Pic", nBitmapLike, DeleteWithFree, DL_KIND_BITMAP);
    TestObject *rObject = AddObject("Root/Images/All/All/Obj", 7);
    mLibrary->SetQuiet(1);

    EXPECT_EQ(DL_KIND_BITMAP, mLibrary->GetEntryKind("Root/Images/All/All/Pic"));
    EXPECT_EQ(DL_KIND_ROOTOBJECT, mLibrary->GetEntryKind("Root/Images/All/All/Obj"));
    EXPECT_EQ(nBitmapLike, mLibrary->GetEntryOfKind("Root/Images/All/All/Pic", DL_KIND_BITMAP));

    // A lookup of the wrong kind is refused and named as such, even in a quiet lookup; a
    // quiet miss stays quiet.
    testing::internal::CaptureStderr();
    EXPECT_EQ(nullptr, mLibrary->GetEntryOfKind("Root/Images/All/All/Pic", DL_KIND_SCRIPTVARIABLE));
    EXPECT_EQ(nullptr, mLibrary->GetEntryOfKind("Root/Images/All/All/None", DL_KIND_SCRIPTVARIABLE));
    EXPECT_EQ("[DataLibrary] GetEntry(N):  Error, Root/Images/All/All/Pic holds a Bitmap, not a ScriptVariable\n",
              CapturedStderr());

    // Only objects with a type code may become active.
    testing::internal::CaptureStderr();
    Run("DL_SetActiveObject('Root/Images/All/All/Pic')");
    EXPECT_EQ("[DataLibrary] GetEntry(N):  Error, Root/Images/All/All/Pic holds a Bitmap, not a RootObject\n",
              CapturedStderr());
    EXPECT_EQ("false", Eval("DL_ActiveIsValid()"));
    Run("DL_SetActiveObject('Root/Images/All/All/Obj')");
    EXPECT_EQ(rObject, mLibrary->GetActiveObject());
    EXPECT_EQ("7", Eval("DL_GetActiveObjectType()"));

    // Script variables never overwrite or read other kinds.
    testing::internal::CaptureStderr();
    Run("VM_SetVar('Root/Images/All/All/Pic', 'S', 'text')");
    std::string tOut = CapturedStderr();
    EXPECT_EQ("VM_SetVar:  Failed, Root/Images/All/All/Pic is not a script variable\n", tOut);
    testing::internal::CaptureStderr();
    EXPECT_EQ("0", Eval("VM_GetVar('Root/Images/All/All/Pic', 'S')"));
    EXPECT_NE(std::string::npos, CapturedStderr().find("holds a Bitmap, not a ScriptVariable"));
    EXPECT_EQ("true", Eval("VM_Exists('Root/Images/All/All/Pic')"));

    // VM_RemVar removes whatever stands at the path, through its own deleter.
    Run("VM_RemVar('Root/Images/All/All/Pic')");
    EXPECT_EQ(-1, mLibrary->GetEntryKind("Root/Images/All/All/Pic"));
    EXPECT_EQ("false", Eval("VM_Exists('Root/Images/All/All/Pic')"));
    Run("VM_RemVar('Root/Images/All/All/Obj') VM_RemVar('Root/Images/All/All/Nothing')");
    EXPECT_EQ(-1, mLibrary->GetEntryKind("Root/Images/All/All/Obj"));
}

TEST_F(DataLibraryTest, ActiveStackRestoresPreviousObjectAndNone)
{
    TestObject *rA = AddObject("Root/E/All/All/A", 11);
    mLibrary->SetQuiet(1);
    Run("DL_SetActiveObject('Root/E/All/All/A')");
    Run("DL_PushActiveEntity()");
    EXPECT_EQ("false", Eval("DL_ActiveIsValid()"));
    Run("DL_SetActiveObject('Root/E/All/All/A')");
    Run("DL_PushActiveEntity()");
    Run("DL_PopActiveObject()");
    EXPECT_EQ(rA, mLibrary->GetActiveObject());
    Run("DL_PopActiveEntity()");
    EXPECT_EQ(rA, mLibrary->GetActiveObject());
    EXPECT_EQ(0, mLibrary->GetActiveStackSize());

    // "None" pushed is "none" popped; an empty stack pops to none.
    Run("DL_ClearActiveEntity() DL_PushActiveEntity() DL_SetActiveObject('Root/E/All/All/A') DL_PopActiveEntity()");
    EXPECT_EQ(nullptr, mLibrary->GetActiveObject());
    Run("DL_SetActiveObject('Root/E/All/All/A') DL_PopActiveEntity()");
    EXPECT_EQ(nullptr, mLibrary->GetActiveObject());

    mLibrary->SetActiveObjectDirect(rA);
    EXPECT_TRUE(mLibrary->ActiveIsType(11));
    EXPECT_TRUE(mLibrary->ActiveTypeInRange(10, 11));
    EXPECT_FALSE(mLibrary->ActiveTypeInRange(12, 20));
    EXPECT_EQ(rA, mLibrary->PopActiveEntity());
    testing::internal::CaptureStderr();
    EXPECT_EQ("-1", Eval("DL_GetActiveObjectType()"));
    EXPECT_EQ("DataLibrary::GetActiveObjectType warning, active object is currently NULL.\n",
              CapturedStderr());
}

TEST_F(DataLibraryTest, PurgeOfListsClearsActiveStateButPurgeOfEntryDoesNot)
{
    TestObject *nKeep = AddObject("Root/S/C/H/Keep", 1);
    AddObject("Root/S/C/H/Gone", 1);
    AddObject("Root/S/C/Other/X", 1);
    mLibrary->SetActiveObjectDirect(nKeep);
    Run("DL_PushActiveEntity()");
    mLibrary->SetActiveObjectDirect(nKeep);

    Run("DL_Purge('Root/S/C/H/Gone', false)");
    EXPECT_EQ(1, gDestroyed);
    EXPECT_EQ(nKeep, mLibrary->GetActiveObject());
    EXPECT_EQ(1, mLibrary->GetActiveStackSize());

    // Keep: the list leaves the tree but its objects live on.
    Run("DL_Purge('Root/S/C/H', true)");
    EXPECT_EQ(1, gDestroyed);
    EXPECT_EQ(nullptr, mLibrary->GetActiveObject());
    EXPECT_EQ(0, mLibrary->GetActiveStackSize());
    mLibrary->SetQuiet(1);
    EXPECT_EQ(nullptr, mLibrary->GetHeading("Root/S/C/H"));
    delete nKeep;
    gDestroyed = 0;

    Run("DL_Purge('Root/S', false)");
    EXPECT_EQ(1, gDestroyed);
    EXPECT_EQ(nullptr, mLibrary->GetSection("Root/S"));

    AddObject("Root/T/C/H/A", 1);
    AddObject("Root/U/C/H/B", 1);
    Run("DL_Purge('ALL', false)");
    EXPECT_EQ(3, gDestroyed);
    EXPECT_EQ(nullptr, mLibrary->GetSection("Root/T"));
    AddObject("Root/T/C/H/A", 1);
    EXPECT_NE(nullptr, mLibrary->GetEntry("Root/T/C/H/A"));
}

TEST_F(DataLibraryTest, DestroyedObjectsLeaveActiveSlotStackAndIndex)
{
    TestObject *rA = AddObject("Root/E/All/All/A", 1);
    TestObject *rB = AddObject("Root/E/All/All/B", 1);
    mLibrary->SetActiveObjectDirect(rA);
    EXPECT_EQ("1", Eval("DL_IndexDLObject()"));
    mLibrary->PushActiveEntity(rB);
    EXPECT_EQ("2", Eval("DL_IndexDLObject()"));
    mLibrary->PushActiveEntity(rA);

    mLibrary->RemoveEntry("Root/E/All/All/A");
    EXPECT_EQ(nullptr, mLibrary->GetActiveObject());
    EXPECT_EQ(nullptr, mLibrary->GetIndexedObject(1));
    EXPECT_EQ(rB, mLibrary->GetIndexedObject(2));
    // The stack keeps its depth; the destroyed object's place pops as none.
    EXPECT_EQ(2, mLibrary->GetActiveStackSize());
    mLibrary->PopActiveEntity();
    EXPECT_EQ(rB, mLibrary->GetActiveObject());
    mLibrary->PopActiveEntity();
    EXPECT_EQ(nullptr, mLibrary->GetActiveObject());

    // A full purge drops what it destroys, too.
    mLibrary->SetActiveObjectDirect(rB);
    Run("DL_Purge('ALL', false)");
    EXPECT_EQ(nullptr, mLibrary->GetActiveObject());
    EXPECT_EQ(nullptr, mLibrary->GetIndexedObject(2));

    // An object registered by reference is not destroyed, so it stays where it is.
    TestObject tOwned(3);
    mLibrary->AddPath("Root/R/R/R/Ref");
    mLibrary->RegisterPointer("Root/R/R/R/Ref", &tOwned, DL_KIND_ROOTOBJECT);
    Run("DL_SetActiveObject('Root/R/R/R/Ref')");
    mLibrary->RemoveEntry("Root/R/R/R/Ref");
    EXPECT_EQ(&tOwned, mLibrary->GetActiveObject());
    mLibrary->SetActiveObjectDirect(nullptr);
}

TEST_F(DataLibraryTest, HandlesCountFromOneAndRestartAfterClear)
{
    TestObject *rA = AddObject("Root/E/All/All/A", 1);
    EXPECT_EQ("0", Eval("DL_IndexDLObject()"));
    mLibrary->SetActiveObjectDirect(rA);
    EXPECT_EQ("1", Eval("DL_IndexDLObject()"));
    EXPECT_EQ("2", Eval("DL_IndexDLObject()"));
    Run("DL_ClearActiveEntity() DL_PushIndexedObject(2)");
    EXPECT_EQ(rA, mLibrary->GetActiveObject());
    Run("DL_PushIndexedObject(9)");
    EXPECT_EQ(nullptr, mLibrary->GetActiveObject());
    // The handle is read like any script number, also from its text.
    Run("DL_PushIndexedObject('1')");
    EXPECT_EQ(rA, mLibrary->GetActiveObject());
    Run("DL_PushIndexedObject(nil)");
    EXPECT_EQ(nullptr, mLibrary->GetActiveObject());
    Run("DL_ClearPointerIndex()");
    mLibrary->SetActiveObjectDirect(rA);
    EXPECT_EQ("1", Eval("DL_IndexDLObject()"));
    EXPECT_EQ(nullptr, mLibrary->GetIndexedObject(0));
}

TEST_F(DataLibraryTest, ScriptVariablesStoreNumbersAtFloatPrecisionAndStrings)
{
    Run("VM_SetVar('Root/Vars/Game/Flags/Count', 'N', 0.1)");
    ASSERT_EQ(0, luaL_dostring(L, "return VM_GetVar('Root/Vars/Game/Flags/Count', 'N')"));
    EXPECT_EQ((double)0.1f, lua_tonumber(L, -1));
    lua_settop(L, 0);
    EXPECT_EQ("NULL", Eval("VM_GetVar('Root/Vars/Game/Flags/Count', 'S')"));
    Run("VM_SetVar('Root/Vars/Game/Flags/Count', 'S', 'hello')");
    EXPECT_EQ("hello", Eval("VM_GetVar('Root/Vars/Game/Flags/Count', 'S')"));
    Run("VM_SetVar('Root/Vars/Game/Flags/Count', 'S', nil)");
    EXPECT_EQ("hello", Eval("VM_GetVar('Root/Vars/Game/Flags/Count', 'S')"));
    // "N" converts its value as Lua does: numeric text counts, anything else is 0.
    Run("VM_SetVar('Root/Vars/Game/Flags/Count', 'N', '2.5')");
    EXPECT_EQ("2.5", Eval("VM_GetVar('Root/Vars/Game/Flags/Count', 'N')"));
    Run("VM_SetVar('Root/Vars/Game/Flags/Count', 'N', nil)");
    EXPECT_EQ("0", Eval("VM_GetVar('Root/Vars/Game/Flags/Count', 'N')"));
    Run("VM_SetVar('Root/Vars/Game/Flags/Count', 'N', 0.1)");
    EXPECT_EQ("0", Eval("VM_GetVar('Root/Vars/Game/Flags/Missing', 'S')"));
    EXPECT_EQ("true", Eval("VM_Exists('Root/Vars/Game/Flags/Count')"));

    Run("VM_SetSaveFlag('Root/Vars/Game/Flags/Count', false)");
    ScriptVariable *rVariable = static_cast<ScriptVariable *>(
        mLibrary->GetEntryOfKind("Root/Vars/Game/Flags/Count", DL_KIND_SCRIPTVARIABLE));
    ASSERT_NE(nullptr, rVariable);
    EXPECT_EQ(0, rVariable->mSaveFlag);
    EXPECT_EQ("hello", Eval("VM_GetVar('Root/Vars/Game/Flags/Count', 'S')"));

    testing::internal::CaptureStderr();
    EXPECT_EQ("0", Eval("VM_GetVar('Root/Vars/Game/Flags/Count', 'Q')"));
    EXPECT_EQ("0", Eval("VM_GetVar('Root/Vars/Game/Flags/Count')"));
    EXPECT_EQ("false", Eval("VM_Exists()"));
    Run("VM_SetVar('Root/Vars/Game/Flags/Count', 'N')");
    Run("DL_Purge('Root/Vars')");
    std::string tOut = CapturedStderr();
    EXPECT_EQ("VM_GetVar:  Failed, can't resolve Q\n"
              "VM_GetVar:  Failed, invalid argument list\n"
              "VM_Exists:  Failed, invalid argument list\n"
              "VM_SetVar:  Failed, invalid argument list\n"
              "DL_Purge:  Failed, invalid argument list\n", tOut);

    // A path without heading and entry cannot hold a variable; nothing is left behind.
    Run("VM_SetVar('Root/Vars', 'N', 3)");
    EXPECT_EQ("false", Eval("VM_Exists('Root/Vars')"));

    Run("VM_RemVar('Root/Vars/Game/Flags/Count')");
    EXPECT_EQ("false", Eval("VM_Exists('Root/Vars/Game/Flags/Count')"));
    EXPECT_EQ(0, lua_gettop(L));
}

TEST_F(DataLibraryTest, WatchersHearTheirRemovalButNotShutdown)
{
    TestObject *rA = AddObject("Root/E/All/All/A", 1);
    gWatcherCalls = 0;
    mLibrary->AddWatcherList("Watch");
    mLibrary->AddWatcher("Watch", "Root/E/All/All/A", CountWatcher);
    mLibrary->RemoveWatcherList("Watch");
    EXPECT_EQ(1, gWatcherCalls);
    EXPECT_EQ(rA, gWatcherSaw);

    mLibrary->AddWatcherList("Late");
    mLibrary->AddWatcher("Late", "Root/E/All/All/A", CountWatcher);
    delete mLibrary;
    mLibrary = new DataLibrary();
    GetApplication()->mDataLibrary = mLibrary;
    EXPECT_EQ(1, gWatcherCalls);
}

// A picture with nowhere to go is not loaded (no texture without an owner), and the author
// is told which path could not take it.
TEST_F(DataLibraryTest, ImageBindingsLoadNothingWithoutAHeadingAndSaySo)
{
    CorvelLumpManager *rPreviousLumps = GetApplication()->mLumpManager;
    GetApplication()->mLumpManager = nullptr;
    mLibrary->AddPath("Root/Images/All/All");
    testing::internal::CaptureStderr();
    Run("DL_LoadBitmap('missing.png', 'Root/Images/None/All/Pic')");
    Run("DL_ExtractBitmap('LUMP', 'Root/Images/All/None/Pic')");
    Run("DL_ExtractPalette('LUMP', 'Root/Images/All/All')");
    Run("DL_ExtractBitmap('LUMP', 'Root/Images/All/All/Pic')");
    Run("DL_ExtractPalette('LUMP', 'Root/Images/All/All/Pal')");
    Run("DL_LoadBitmap('missing.png') DL_ExtractBitmap('LUMP') DL_PrintSysVars()");
    std::string tOut = CapturedStderr();
    EXPECT_EQ("DL_LoadBitmap:  Failed, the heading of Root/Images/None/All/Pic does not exist.\n"
              "DL_ExtractBitmap:  Failed, the heading of Root/Images/All/None/Pic does not exist.\n"
              "DL_ExtractPalette:  Failed, Root/Images/All/All names no entry.\n"
              "DL_ExtractBitmap:  Failed, no Bitmap named LUMP found.\n"
              "DL_ExtractPalette:  Failed, no Palette named LUMP found.\n"
              "DL_LoadBitmap:  Failed, invalid argument list\n"
              "DL_ExtractBitmap: Failed, invalid argument list\n"
              "DL_PrintSysVars:  Failed, invalid argument list\n", tOut);
    EXPECT_EQ(0, mLibrary->GetHeading("Root/Images/All/All")->GetCount());
    GetApplication()->mLumpManager = rPreviousLumps;
}

// Scripts and tools match the lines of a missing lump word for word and in order; the line
// naming the lump and its file follows them.
TEST_F(DataLibraryTest, AMissingImageLumpGivesTheFixedLinesThenItsName)
{
    ScratchFolder tFolder("nolump");
    ASSERT_TRUE(tFolder.IsMade());
    std::string tPath = tFolder.File("NoPictures.slf");
    LumpWriter tWriter;
    tWriter.SetHeader("No pictures");
    ASSERT_TRUE(tWriter.WriteToFile(tPath.c_str()));
    CorvelLumpManager tLumps;
    tLumps.Open(tPath.c_str());
    ASSERT_TRUE(tLumps.IsOpen());
    CorvelLumpManager *rPreviousLumps = GetApplication()->mLumpManager;
    GetApplication()->mLumpManager = &tLumps;
    mLibrary->AddPath("Root/Images/All/All");

    testing::internal::CaptureStderr();
    Run("DL_ExtractBitmap('NoSuchLump', 'Root/Images/All/All/Pic')");
    std::string tOut = CapturedStderr();
    EXPECT_EQ(std::string("Error in SLF file\n"
                          "Failed, can't find data\n"
                          "DL_ExtractBitmap:  Failed, no Bitmap named NoSuchLump found.\n"
                          "Lump NoSuchLump in ") +
                  tPath + "\n",
              tOut);
    EXPECT_EQ(0, mLibrary->GetHeading("Root/Images/All/All")->GetCount());
    GetApplication()->mLumpManager = rPreviousLumps;
}

TEST(DataLibraryBindings, ReportAndFallBackWithoutALibrary)
{
    DataLibrary *rPrevious = GetApplication()->mDataLibrary;
    GetApplication()->mDataLibrary = nullptr;
    lua_State *L = luaL_newstate();
    RegisterDataLibraryLua(L);
    testing::internal::CaptureStderr();
    ASSERT_EQ(0, luaL_dostring(L, "DL_AddPath('Root/A/B/C') return VM_GetVar('Root/A/B/C/D', 'N'), DL_ActiveIsValid()"));
    std::string tOut = CapturedStderr();
    EXPECT_EQ(2, lua_gettop(L));
    EXPECT_EQ(0, lua_tointeger(L, 1));
    EXPECT_FALSE(lua_toboolean(L, 2));
    EXPECT_NE(std::string::npos, tOut.find("DL_AddPath:  Failed, no DataLibrary.\n"));
    lua_close(L);
    GetApplication()->mDataLibrary = rPrevious;
}

TEST_F(DataLibraryTest, APartOfExactlyTheBufferSizeIsRefusedWhenAdded)
{
    const std::string t255(255, 'a');
    const std::string t256(256, 'a');

    DataLibraryPath tPath;
    tPath.Parse(("Root/" + t255).c_str());
    EXPECT_EQ(0, tPath.mTooLong);
    EXPECT_EQ(t255, tPath.mSectionName);
    tPath.Parse(("Root/S/C/H/" + t256).c_str());
    EXPECT_EQ(1, tPath.mTooLong);
    EXPECT_STREQ("", tPath.mSectionName);
    EXPECT_STREQ("", tPath.mEntryName);

    // Adding moves the current lists to what it made; a refused path leaves them where they were.
    mLibrary->AddPath("Root/Known/Cat/Head");
    NamedLinkedList *rSection = mLibrary->GetCurrentSection();
    NamedLinkedList *rCatalogue = mLibrary->GetCurrentCatalogue();
    NamedLinkedList *rHeading = mLibrary->GetCurrentHeading();
    ASSERT_NE(nullptr, rHeading);
    for(const std::string &rRefused : {"Root/" + t256, "Root/Known/" + t256, "Root/Known/Cat/" + t256,
                                       "Root/" + t256 + "/Cat/Head"})
    {
        mLibrary->AddPath(rRefused.c_str());
        EXPECT_EQ(rSection, mLibrary->GetCurrentSection()) << rRefused.size();
        EXPECT_EQ(rCatalogue, mLibrary->GetCurrentCatalogue()) << rRefused.size();
        EXPECT_EQ(rHeading, mLibrary->GetCurrentHeading()) << rRefused.size();
    }
    EXPECT_EQ(1, rSection->GetCount());
    EXPECT_EQ(1, rCatalogue->GetCount());
    EXPECT_EQ(0, rHeading->GetCount());

    // An entry name of 256 characters is not stored under any shorter name either.
    TestObject *nObject = new TestObject(1);
    mLibrary->AddEntry(("Root/Known/Cat/Head/" + t256).c_str(), nObject, DeleteRootObject);
    EXPECT_EQ(0, rHeading->GetCount());
    delete nObject;

    mLibrary->AddPath(("Root/Known/" + t255).c_str());
    EXPECT_EQ(2, rSection->GetCount());
    EXPECT_NE(rCatalogue, mLibrary->GetCurrentCatalogue());
    AddObject(("Root/Known/Cat/Head/" + t255).c_str(), 1);
    EXPECT_EQ(1, rHeading->GetCount());
}

#include "core/Application.h"
#include "core/DataList.h"
#include "core/LuaBindingHelpers.h"
#include "core/RootObject.h"
#include "core/Utilities.h"
#include "core/data/DataLibrary.h"
#include "support/TestText.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>

namespace
{
    // An object that scripts can make active and that carries its own script data.
    class ScriptedThing : public RootObject, public DataList
    {
    };


    float *NewFloat(float pValue)
    {
        float *nValue = (float *)malloc(sizeof(float));
        *nValue = pValue;
        return nValue;
    }

    class DataListBindingTest : public ::testing::Test
    {
    protected:
        void SetUp() override
        {
            mSavedLibrary = GetApplication()->mDataLibrary;
            mLibrary = new DataLibrary();
            GetApplication()->mDataLibrary = mLibrary;
            L = luaL_newstate();
            luaL_openlibs(L);
            RegisterDataListLua(L);
        }
        void TearDown() override
        {
            lua_close(L);
            GetApplication()->mDataLibrary = mSavedLibrary;
            delete mLibrary;
        }
        // Runs a chunk and returns what went to standard error; the stack must end empty.
        std::string Run(const char *pChunk)
        {
            testing::internal::CaptureStderr();
            EXPECT_EQ(luaL_dostring(L, pChunk), 0) << lua_tostring(L, -1);
            EXPECT_EQ(lua_gettop(L), 0);
            lua_settop(L, 0);
            return CapturedStderr();
        }
        DataLibrary *mSavedLibrary;
        DataLibrary *mLibrary;
        lua_State *L;
        ScriptedThing mThing;
    };
}

TEST(DataListStore, NamesAreUniqueExceptAnonymous)
{
    DataList tList;
    tList.AddNumberEntry("Speed", 1.0f);
    tList.AddNumberEntry("Speed", 2.5f);
    ASSERT_EQ(tList.GetEntryCount(), 1);
    EXPECT_FLOAT_EQ(*(float *)tList.GetDataEntry("Speed"), 2.5f);

    tList.AddStringEntry("X|Note", "a");
    tList.AddStringEntry("X|Note", "b");
    tList.AddStringEntry("X", "c");
    tList.AddStringEntry("X", "d");
    EXPECT_EQ(tList.GetEntryCount(), 5);
    EXPECT_STREQ((const char *)tList.GetDataEntry("X|Note"), "a");

    tList.AddStringEntry(nullptr, "ignored");
    tList.AddStringEntry("Speed", nullptr);
    EXPECT_FALSE(tList.AddDataEntryFreed("Nothing", nullptr));
    EXPECT_EQ(tList.GetEntryCount(), 5);

    tList.ClearEntries();
    EXPECT_EQ(tList.GetEntryCount(), 0);
    EXPECT_EQ(tList.GetDataEntry("Speed"), nullptr);
}

TEST(DataListStore, StrictFlagRefusesNewNames)
{
    DataList tList;
    tList.SetStrictFlag(1);
    float *nValue = NewFloat(3.0f);
    testing::internal::CaptureStderr();
    EXPECT_FALSE(tList.AddDataEntryFreed("Health", nValue));
    EXPECT_EQ(CapturedStderr(), "DataList::AddDataEntry:  Failed, strict flag is on and entry Health does not exist\n");
    EXPECT_EQ(tList.GetEntryCount(), 0);
    free(nValue);

    EXPECT_TRUE(tList.DefineDataEntry("Health", NewFloat(3.0f), DeleteWithFree, TYPEDVALUE_FLOAT));
    EXPECT_EQ(tList.GetStrictFlag(), 1);
    tList.AddNumberEntry("Health", 7.0f);
    ASSERT_EQ(tList.GetEntryCount(), 1);
    EXPECT_FLOAT_EQ(*(float *)tList.GetDataEntry("Health"), 7.0f);
    EXPECT_EQ(tList.GetDataEntryKind("Health"), TYPEDVALUE_FLOAT);
}

TEST(DataListStore, KindsFollowEntriesThroughReplacement)
{
    DataList tList;
    int tShared = 4;
    tList.AddNumberEntry("A", 1.0f);
    tList.AddStringEntry("B", "text");
    tList.AddDataEntryReferenced("C", &tShared);
    tList.AddStringEntry("A", "now text");
    EXPECT_EQ(tList.GetDataEntryKind("A"), TYPEDVALUE_STRING);
    EXPECT_EQ(tList.GetDataEntryKind("B"), TYPEDVALUE_STRING);
    EXPECT_EQ(tList.GetDataEntryKind("C"), TYPEDVALUE_NONE);
    EXPECT_EQ(tList.GetDataEntryKind("Missing"), TYPEDVALUE_NONE);
    tList.ClearEntries();
    EXPECT_EQ(tShared, 4);
}

TEST(DataListStore, NumbersAreFoundInPlaceAndOnlyAsNumbers)
{
    DataList tList;
    tList.AddNumberEntry("Speed", 2.0f);
    tList.AddStringEntry("Name", "four");
    float *rSpeed = FindDataNumber(&tList, "Speed");
    ASSERT_NE(rSpeed, nullptr);
    *rSpeed = 5.0f;
    float tValue = 0.0f;
    EXPECT_TRUE(ReadDataNumber(&tList, "Speed", tValue));
    EXPECT_FLOAT_EQ(tValue, 5.0f);
    EXPECT_EQ(FindDataNumber(&tList, "Name"), nullptr);
    EXPECT_FALSE(ReadDataNumber(&tList, "Name", tValue));
    EXPECT_EQ(FindDataNumber(&tList, "Missing"), nullptr);
    EXPECT_EQ(FindDataNumber(nullptr, "Speed"), nullptr);
}

TEST_F(DataListBindingTest, SetAndGetOnActiveObject)
{
    mLibrary->SetActiveObjectDirect(&mThing);
    EXPECT_EQ(Run("DataList_SetData('Speed', 'N', 2.5) DataList_SetData('Name', 'S', 'Kestra')"), "");
    EXPECT_EQ(Run("assert(DataList_GetData('Speed', 'N') == 2.5) assert(DataList_GetData('Name', 'S') == 'Kestra')"), "");
    // A missing entry or a read of the wrong kind gives the number 0.
    EXPECT_EQ(Run("assert(DataList_GetData('Missing', 'S') == 0) assert(DataList_GetData('Speed', 'S') == 0)"
                  " assert(DataList_GetData('Name', 'N') == 0)"), "");
}

TEST_F(DataListBindingTest, StrictListNeedsDefine)
{
    mThing.SetStrictFlag(1);
    mLibrary->SetActiveObjectDirect(&mThing);
    EXPECT_EQ(Run("DataList_SetData('Lives', 'N', 3)"),
              "DataList::AddDataEntry:  Failed, strict flag is on and entry Lives does not exist\n");
    EXPECT_EQ(mThing.GetEntryCount(), 0);
    EXPECT_EQ(Run("DataList_Define('Lives', 'N', 3) DataList_SetData('Lives', 'N', 4)"), "");
    EXPECT_EQ(mThing.GetStrictFlag(), 1);
    EXPECT_FLOAT_EQ(*(float *)mThing.GetDataEntry("Lives"), 4.0f);
}

TEST_F(DataListBindingTest, FailuresPrintTheirMessages)
{
    EXPECT_EQ(Run("DataList_SetData('A', 'N', 1)"), "DataList_SetData:  Failed, no active object\n");
    EXPECT_EQ(Run("assert(DataList_GetData('A', 'N') == 0)"), "DataList_GetData:  Failed, no active object\n");

    mLibrary->SetActiveObjectDirect(&mThing);
    EXPECT_EQ(Run("DataList_Define('A', 'N')"), "DataList_SetData:  Failed, invalid argument list\n");
    EXPECT_EQ(Run("DataList_SetData('A', 'B', 1)"), "DataList_SetData:  Failed, cannot resolve type B\n");
    EXPECT_EQ(Run("DataList_SetData('A', 'S', {})"), "DataList_SetData:  Failed, invalid argument list\n");
    EXPECT_EQ(Run("assert(DataList_GetData('A') == 0)"), "DataList_GetData:  Failed, invalid argument list\n");
    EXPECT_EQ(Run("assert(DataList_GetData('A', '%s%n') == 0)"), "DataList_GetData:  Failed, cannot resolve type %s%n\n");
    EXPECT_EQ(mThing.GetEntryCount(), 0);

    // An active object that carries no script data is not written through.
    RootObject tPlain;
    mLibrary->SetActiveObjectDirect(&tPlain);
    EXPECT_EQ(Run("DataList_SetData('A', 'N', 1)"), "DataList_SetData:  Failed, no active object\n");
}

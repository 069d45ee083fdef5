#include "core/Application.h"
#include "core/DebugPrint.h"
#include "core/LuaBindingHelpers.h"
#include "core/OptionsManager.h"
#include "core/Utilities.h"
#include "support/TestText.h"

#include <gtest/gtest.h>

#include <string>

namespace
{

    struct BuiltinOption
    {
        const char *mName;
        int32_t mType;
    };

    const BuiltinOption cBuiltins[] =
    {
        {"Fullscreen", 1}, {"MemoryMode", 1}, {"BlockDepthBuffer", 1}, {"BlockStencilBuffer", 1},
        {"OnlyLoadCrucialCharacters", 1}, {"StartWinX", 2}, {"StartWinY", 2}, {"WinSizeX", 2},
        {"WinSizeY", 2}, {"UseNoFBOsOnEntities", 1}, {"ForceImmediateUpload", 1},
        {"ForcePowerOfTwo", 1}, {"MusicVolume", 2}, {"SoundVolume", 2}, {"UseAntiAliasing", 1},
        {"DisableLighting", 1}, {"BlockExtraneousSprites", 1}, {"ForceLinearFilter", 1},
        {"LimitNPCDepths", 1}, {"NoAudioSuppression", 1}, {"ForceDirectAspectRatios", 1},
        {"ShowLuaStartupDebug", 1}, {"ShowStdStartupDebug", 1}, {"ShowOrbitDebug", 1},
        {"ShowManagerDebug", 1}, {"ShowClassDebug", 1}, {"ShowLoadDebug", 1},
        {"ShowSaveDebug", 1}, {"ShowLuaFormulaDebug", 1}, {"ForceAllDebug", 1},
    };
}

TEST(OptionsManagerTest, BuiltinsHaveTheirTypesAndDefaults)
{
    OptionsManager tOptions;
    for(const BuiltinOption &rOption : cBuiltins)
    {
        TypedValue *rValue = tOptions.FindOption(rOption.mName);
        ASSERT_NE(rValue, nullptr) << rOption.mName;
        EXPECT_EQ(rValue->mType, rOption.mType) << rOption.mName;
    }
    EXPECT_EQ(tOptions.GetInt("WinSizeX"), 800);
    EXPECT_EQ(tOptions.GetInt("WinSizeY"), 600);
    EXPECT_EQ(tOptions.GetInt("MusicVolume"), 75);
    EXPECT_EQ(tOptions.GetInt("SoundVolume"), 100);
    EXPECT_EQ(tOptions.GetInt("StartWinX"), 0);
    EXPECT_FALSE(tOptions.GetBool("Fullscreen"));
    EXPECT_EQ(tOptions.TakeErrorFlag(), 0);
}

TEST(OptionsManagerTest, FailedAccessGivesSentinelsAndRaisesTheFlag)
{
    OptionsManager tOptions;
    EXPECT_FALSE(tOptions.GetBool("WinSizeX"));
    EXPECT_EQ(tOptions.TakeErrorFlag(), 1);
    EXPECT_EQ(tOptions.TakeErrorFlag(), 0);

    EXPECT_EQ(tOptions.GetInt("Missing"), -700);
    EXPECT_EQ(tOptions.TakeErrorFlag(), 1);
    EXPECT_EQ(tOptions.GetFloat("WinSizeX"), -700.0f);
    EXPECT_EQ(tOptions.TakeErrorFlag(), 1);
    EXPECT_EQ(tOptions.GetInt(nullptr), -700);
    EXPECT_EQ(tOptions.TakeErrorFlag(), 1);

    // A mistyped or missing set changes nothing.
    tOptions.SetFloat("WinSizeX", 2.0f);
    EXPECT_EQ(tOptions.TakeErrorFlag(), 1);
    tOptions.SetBool("WinSizeX", true);
    EXPECT_EQ(tOptions.TakeErrorFlag(), 1);
    tOptions.SetInt("Missing", 5);
    EXPECT_EQ(tOptions.TakeErrorFlag(), 1);
    EXPECT_EQ(tOptions.GetInt("WinSizeX"), 800);

    tOptions.SetInt("WinSizeX", 1024);
    tOptions.SetBool("Fullscreen", true);
    EXPECT_EQ(tOptions.GetInt("WinSizeX"), 1024);
    EXPECT_TRUE(tOptions.GetBool("Fullscreen"));
    EXPECT_EQ(tOptions.TakeErrorFlag(), 0);

    float tHaste = 1.5f;
    tOptions.Bind("HasteRate", &tHaste, TYPEDVALUE_FLOAT);
    tOptions.SetFloat("HasteRate", 2.25f);
    EXPECT_EQ(tHaste, 2.25f);
    EXPECT_EQ(tOptions.GetInt("HasteRate"), -700);
    EXPECT_EQ(tOptions.TakeErrorFlag(), 1);
}

TEST(OptionsManagerTest, FirstBindOfANameShadowsLaterOnes)
{
    OptionsManager tOptions;
    int32_t tOther = 1234;
    tOptions.Bind("WinSizeX", &tOther, TYPEDVALUE_INT);
    EXPECT_EQ(tOptions.GetInt("WinSizeX"), 800);
    tOptions.SetInt("WinSizeX", 640);
    EXPECT_EQ(tOther, 1234);

    uint8_t tFlag = 1;
    tOptions.Bind(nullptr, &tFlag, TYPEDVALUE_BOOL);
    tOptions.Bind("Ignored", nullptr, TYPEDVALUE_BOOL);
    tOptions.Bind("Ignored", &tFlag, TYPEDVALUE_NONE);
    EXPECT_EQ(tOptions.FindOption("Ignored"), nullptr);
}

TEST(OptionsManagerTest, ForceAllDebugSetsSevenOfTheEightShowOptions)
{
    OptionsManager tOptions;
    tOptions.ApplyOptions();
    EXPECT_FALSE(tOptions.GetBool("ShowOrbitDebug"));

    tOptions.SetBool("ForceAllDebug", true);
    tOptions.ApplyOptions();
    const char *cSet[] = {"ShowLuaStartupDebug", "ShowStdStartupDebug", "ShowOrbitDebug",
                          "ShowManagerDebug", "ShowClassDebug", "ShowSaveDebug", "ShowLuaFormulaDebug"};
    for(const char *rName : cSet) EXPECT_TRUE(tOptions.GetBool(rName)) << rName;
    EXPECT_FALSE(tOptions.GetBool("ShowLoadDebug"));
    EXPECT_EQ(tOptions.TakeErrorFlag(), 0);
}

namespace
{
    // Runs the OM_ globals against a real Lua state, with the manager installed in the
    // Application the way the boot does it.
    class OptionsBindingsTest : public ::testing::Test
    {
    protected:
        void SetUp() override
        {
            mSaved = GetApplication()->mOptionsManager;
            mOptions = new OptionsManager();
            GetApplication()->mOptionsManager = mOptions;
            L = luaL_newstate();
            luaL_openlibs(L);
            RegisterOptionsManagerLua(L);
        }
        void TearDown() override
        {
            lua_close(L);
            GetApplication()->mOptionsManager = mSaved;
            delete mOptions;
        }
        std::string Run(const char *pChunk)
        {
            testing::internal::CaptureStderr();
            int tResult = luaL_dostring(L, pChunk);
            std::string tOutput = CapturedStderr();
            EXPECT_EQ(tResult, 0) << (tResult ? lua_tostring(L, -1) : "");
            EXPECT_EQ(lua_gettop(L), 0);
            return tOutput;
        }
        std::string Global(const char *pName)
        {
            lua_getglobal(L, pName);
            std::string tText = luaL_tolstring(L, -1, nullptr);
            lua_pop(L, 2);
            return tText;
        }
        OptionsManager *mSaved;
        OptionsManager *mOptions;
        lua_State *L;
    };
}

TEST_F(OptionsBindingsTest, DefineReadAndWriteOptions)
{
    EXPECT_EQ(Run("OM_DefineOption('ShowHitboxes', 'B', true)\n"
                  "OM_DefineOption('HasteRate', 'N', 1.75)\n"
                  "OM_DefineOption('Skipped', 'I', 3)\n"), "");
    EXPECT_TRUE(mOptions->GetBool("ShowHitboxes"));
    EXPECT_EQ(mOptions->GetFloat("HasteRate"), 1.75f);
    EXPECT_EQ(mOptions->GetInt("HasteRate"), -700);
    EXPECT_EQ(mOptions->FindOption("Skipped"), nullptr);

    EXPECT_EQ(Run("a = OM_GetOption('ShowHitboxes') b = OM_GetOption('HasteRate')\n"
                  "c = OM_GetOption('WinSizeX') d = OM_GetOption('Fullscreen')"), "");
    EXPECT_EQ(Global("a"), "true");
    EXPECT_EQ(Global("b"), "1.75");
    EXPECT_EQ(Global("c"), "800");
    EXPECT_EQ(Global("d"), "false");

    EXPECT_EQ(Run("OM_SetOption('WinSizeX', 1280.9) OM_SetOption('HasteRate', 0.5)\n"
                  "OM_SetOption('ShowHitboxes', nil) OM_SetOption('Fullscreen', 0)"), "");
    EXPECT_EQ(mOptions->GetInt("WinSizeX"), 1280);
    EXPECT_EQ(mOptions->GetFloat("HasteRate"), 0.5f);
    EXPECT_FALSE(mOptions->GetBool("ShowHitboxes"));
    EXPECT_TRUE(mOptions->GetBool("Fullscreen"));
}

TEST_F(OptionsBindingsTest, DefinedTagSwitchesOnItsTrace)
{
    Run("OM_DefineOption('Debug_MainLoop', 'B', true)");
    testing::internal::CaptureStderr();
    Debug::PushPrintTag("Debug_MainLoop", "[Main loop]\n");
    Debug::Print("tick\n");
    Debug::PopPrint("[/Main loop]\n");
    EXPECT_EQ(CapturedStderr(), "[Main loop]\n tick\n[/Main loop]\n");
}

TEST_F(OptionsBindingsTest, FailuresPrintAndPushTheSentinel)
{
    EXPECT_EQ(Run("a = OM_GetOption('NoSuchOption')"), "OM_GetOption:  Failed, option NoSuchOption not found\n");
    EXPECT_EQ(Global("a"), "-700");
    EXPECT_EQ(Run("a = OM_GetOption()"), "OM_GetOption:  Failed, invalid argument list\n");
    EXPECT_EQ(Global("a"), "-700");
    EXPECT_EQ(Run("a = OM_GetOption({})"), "OM_GetOption:  Failed, invalid argument list\n");
    EXPECT_EQ(Global("a"), "-700");

    EXPECT_EQ(Run("OM_SetOption('NoSuchOption', 1)"), "OM_SetOption:  Failed, option NoSuchOption not found\n");
    EXPECT_EQ(Run("OM_SetOption('WinSizeX')"), "OM_SetOption:  Failed, invalid argument list\n");
    EXPECT_EQ(mOptions->GetInt("WinSizeX"), 800);
    EXPECT_EQ(Run("OM_DefineOption('X', 'B')"), "OM_DefineOption: Failed, invalid argument list\n");
    EXPECT_EQ(mOptions->FindOption("X"), nullptr);
}

TEST_F(OptionsBindingsTest, ANumberOptionGivenSomethingElseWarnsAndKeepsItsValue)
{
    EXPECT_EQ(Run("OM_SetOption('WinSizeX', 'big') OM_SetOption('WinSizeY', {})"),
              "OM_SetOption:  Warning, option WinSizeX takes a number, not \"big\"; it keeps its value\n"
              "OM_SetOption:  Warning, option WinSizeY takes a number, not table; it keeps its value\n");
    EXPECT_EQ(mOptions->GetInt("WinSizeX"), 800);
    EXPECT_EQ(mOptions->GetInt("WinSizeY"), 600);
    // A text that reads as a number is a number.
    EXPECT_EQ(Run("OM_SetOption('WinSizeX', '1024')"), "");
    EXPECT_EQ(mOptions->GetInt("WinSizeX"), 1024);

    EXPECT_EQ(Run("OM_DefineOption('HasteRate', 'N', 'fast')"),
              "OM_DefineOption:  Warning, option HasteRate takes a number, not \"fast\"; it starts at 0\n");
    EXPECT_EQ(mOptions->GetFloat("HasteRate"), 0.0f);
    EXPECT_EQ(Run("OM_SetOption('HasteRate', 'slow')"),
              "OM_SetOption:  Warning, option HasteRate takes a number, not \"slow\"; it keeps its value\n");
    // Booleans take any value's truth, without a word.
    EXPECT_EQ(Run("OM_SetOption('Fullscreen', 'yes')"), "");
    EXPECT_TRUE(mOptions->GetBool("Fullscreen"));
}

TEST_F(OptionsBindingsTest, BindingsFailCleanlyBeforeTheManagerExists)
{
    GetApplication()->mOptionsManager = nullptr;
    std::string tOutput = Run("OM_DefineOption('GodMode', 'B', true)\n"
                              "a = OM_GetOption('WinSizeX')\n"
                              "OM_SetOption('WinSizeX', 5)\n");
    EXPECT_NE(tOutput.find("OM_DefineOption:"), std::string::npos);
    EXPECT_NE(tOutput.find("OM_GetOption:"), std::string::npos);
    EXPECT_NE(tOutput.find("OM_SetOption:"), std::string::npos);
    EXPECT_EQ(Global("a"), "-700");
    GetApplication()->mOptionsManager = mOptions;
    EXPECT_EQ(mOptions->FindOption("GodMode"), nullptr);
    EXPECT_EQ(mOptions->GetInt("WinSizeX"), 800);
}

TEST(OptionsManagerTest, StatusReportIsAlwaysFramed)
{
    // Without a GL context the size reads 0; the block is written all the same.
    testing::internal::CaptureStderr();
    ProgramStatusReport();
    std::string tOutput = CapturedStderr();
    EXPECT_EQ(tOutput.rfind("\n== Program Status Report: ==\n Max texture size: ", 0), 0u) << tOutput;
    EXPECT_NE(tOutput.find("\n==     End of Report      ==\n\n"), std::string::npos) << tOutput;
}

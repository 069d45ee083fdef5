#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "core/ConsoleCommands.h"
#include "core/LuaBindingHelpers.h"
#include "core/LuaManager.h"
#include "interface/GUIConsole.h"
#include "interface/VirtualConsole.h"
#include "ScreensFixture.h"
#include "support/TestText.h"

namespace
{
    std::string Row(const VirtualConsole &pConsole, int32_t pRow)
    {
        char tBuffer[VC_COLUMNS + 1];
        pConsole.GetRowText(pRow, tBuffer, sizeof(tBuffer));
        return tBuffer;
    }

    class VirtualConsoleTest : public ScreensFixture
    {
    protected:
        void SetUp() override
        {
            ScreensFixture::SetUp();
            mLua = new LuaManager();
            GetApplication()->mLuaManager = mLua;
            VirtualConsole::RegisterLua(mLua->GetState());
            ClearConsoleCommands();
            LuaManager::RegisterConsoleCommands();
        }
        void TearDown() override
        {
            ClearConsoleCommands();
            GetApplication()->mLuaManager = nullptr;
            delete mLua;
            ScreensFixture::TearDown();
        }
        // Queues typed characters as the control manager does for key presses.
        void Type(const char *pText)
        {
            ControlManager *rControls = ControlManager::Get();
            for(const char *c = pText; *c; c++)
            {
                int32_t tKey = ALLEGRO_KEY_SPACE;
                if(*c >= 'a' && *c <= 'z') tKey = ALLEGRO_KEY_A + (*c - 'a');
                if(*c == '/') tKey = ALLEGRO_KEY_SLASH;
                rControls->OnKey(tKey, -1, -1);
            }
        }
        double Global(const char *pName)
        {
            lua_State *L = mLua->GetState();
            lua_getglobal(L, pName);
            double tValue = lua_tonumber(L, -1);
            lua_pop(L, 1);
            return tValue;
        }
        LuaManager *mLua;
    };
}

TEST_F(VirtualConsoleTest, PrintingWrapsByWordsAtTheLimitOrCutsByMode)
{
    VirtualConsole tConsole;
    tConsole.Clear();
    std::string tLetters(85, 'a');
    tConsole.Print(tLetters.c_str());
    EXPECT_EQ(std::string(80, 'a'), Row(tConsole, 0));
    EXPECT_EQ(std::string(5, 'a') + std::string(75, ' '), Row(tConsole, 1));

    // Two words meeting the limit: the second starts the next row.
    tConsole.Clear();
    tConsole.SetCursor(75, 0);
    tConsole.Print("hello world");
    EXPECT_EQ("hello", Row(tConsole, 0).substr(75));
    EXPECT_EQ("world", Row(tConsole, 1).substr(0, 5));

    // A word cut by the limit moves whole to the next row.
    tConsole.Clear();
    tConsole.SetCursor(70, 0);
    tConsole.Print("one longword");
    EXPECT_EQ("one       ", Row(tConsole, 0).substr(70));
    EXPECT_EQ("longword", Row(tConsole, 1).substr(0, 8));

    tConsole.Clear();
    tConsole.SetWrapMode(1);
    tConsole.SetCursor(75, 0);
    tConsole.Print("hello world");
    EXPECT_EQ("hello", Row(tConsole, 0).substr(75));
    EXPECT_EQ(" world", Row(tConsole, 1).substr(0, 6));

    tConsole.Clear();
    tConsole.SetWrapMode(0);
    tConsole.SetCursor(75, 0);
    tConsole.Print("hello world");
    EXPECT_EQ(std::string(80, ' '), Row(tConsole, 1));
    EXPECT_EQ(1, tConsole.GetCursorRow());

    // The last row is reused, never scrolled past; the grid keeps its bounds.
    tConsole.SetCursor(0, 14);
    tConsole.NewLine();
    EXPECT_EQ(14, tConsole.GetCursorRow());
    tConsole.SetWrapMode(2);
    std::string tMany(400, 'b');
    tConsole.Print(tMany.c_str());
    EXPECT_EQ(14, tConsole.GetCursorRow());
    tConsole.SetChar(80, 0, 'x');
    tConsole.SetChar(0, 15, 'x');
    EXPECT_EQ(0, tConsole.GetChar(80, 0));
    tConsole.SetCursor(90, -1);
    EXPECT_EQ(14, tConsole.GetCursorRow());
}

TEST_F(VirtualConsoleTest, TypingEditsTheLineAndEnterRunsItAsACommand)
{
    VirtualConsole tConsole;
    // Not typing: characters are dropped until Enter begins a line.
    Type("ab");
    tConsole.Update();
    EXPECT_FALSE(tConsole.IsTyping());
    ControlManager::Get()->OnKey(ALLEGRO_KEY_ENTER, -1, -1);
    tConsole.Update();
    EXPECT_TRUE(tConsole.IsTyping());
    EXPECT_STREQ("", tConsole.GetTypedLine());

    Type("lmx");
    ControlManager::Get()->OnKey(ALLEGRO_KEY_BACKSPACE, -1, -1);
    tConsole.Update();
    EXPECT_STREQ("lm", tConsole.GetTypedLine());

    // The line is at most 79 characters.
    tConsole.BeginTyping();
    std::string tLong(100, 'q');
    Type(tLong.c_str());
    tConsole.Update();
    EXPECT_EQ(79u, strlen(tConsole.GetTypedLine()));

    // Enter runs the line through the console commands (here the macro form) and ends typing.
    mLua->NewMacro("bump", "giTyped = (giTyped or 0) + 7");
    tConsole.BeginTyping();
    Type("/bump");
    ControlManager::Get()->OnKey(ALLEGRO_KEY_ENTER, -1, -1);
    Type("zz");
    testing::internal::CaptureStderr();
    tConsole.Update();
    CapturedStderr();
    EXPECT_FALSE(tConsole.IsTyping());
    EXPECT_DOUBLE_EQ(7.0, Global("giTyped"));
    // What was queued after the Enter is dropped with the ended line.
    EXPECT_EQ(0, ControlManager::Get()->PopTypedCharacter());

    // Escape ends typing without running anything.
    tConsole.BeginTyping();
    ControlManager::Get()->OnKey(ALLEGRO_KEY_ESCAPE, -1, -1);
    tConsole.Update();
    EXPECT_FALSE(tConsole.IsTyping());
}

TEST_F(VirtualConsoleTest, DecisionsMoveWrapAndRunTheirScriptWhileNoDecisionsDoNothing)
{
    VirtualConsole tConsole;
    tConsole.Clear();
    // No decisions: Up, Down and Select change nothing and no marker is drawn.
    tConsole.BeginDecision();
    tConsole.FinalizeDecisions();
    Control("Up")->mPressed = 1;
    tConsole.Update();
    Control("Up")->mPressed = 0;
    Control("Select")->mPressed = 1;
    tConsole.Update();
    Control("Select")->mPressed = 0;
    EXPECT_EQ(0, tConsole.GetSelectedDecision());
    EXPECT_TRUE(tConsole.IsDecisionMode());
    for(int32_t r = 0; r < VC_ROWS; r++) EXPECT_NE('>', tConsole.GetChar(0, r));

    // Outside decision mode nothing is appended and the cursor stays.
    tConsole.ClearDecisions();
    tConsole.AppendDecision("x", "y", 1.0f);
    EXPECT_EQ(0, tConsole.GetDecisionCount());
    EXPECT_EQ(0, tConsole.GetCursorRow());

    const std::string cScript = std::string(CORVEL_SOURCE_DIR) + "/tests/scripts/vc_decision.lua";
    tConsole.BeginDecision();
    tConsole.AppendDecision("One", cScript.c_str(), 1.0f);
    tConsole.AppendDecision("Two", cScript.c_str(), 2.0f);
    tConsole.AppendDecision("Three", cScript.c_str(), 3.0f);
    tConsole.FinalizeDecisions();
    EXPECT_EQ("One", Row(tConsole, 0).substr(1, 3));
    Control("Up")->mPressed = 1;
    tConsole.Update();
    Control("Up")->mPressed = 0;
    EXPECT_EQ(2, tConsole.GetSelectedDecision());
    EXPECT_EQ('>', tConsole.GetChar(0, 2));
    EXPECT_EQ(' ', tConsole.GetChar(0, 0));
    Control("Down")->mPressed = 1;
    tConsole.Update();
    Control("Down")->mPressed = 0;
    EXPECT_EQ(0, tConsole.GetSelectedDecision());
    Control("Down")->mPressed = 1;
    tConsole.Update();
    Control("Down")->mPressed = 0;
    Control("Select")->mPressed = 1;
    tConsole.Update();
    Control("Select")->mPressed = 0;
    EXPECT_FALSE(tConsole.IsDecisionMode());
    EXPECT_EQ(0, tConsole.GetDecisionCount());
    EXPECT_DOUBLE_EQ(2.0, Global("gfChosen"));
}

TEST_F(VirtualConsoleTest, TheVCGlobalsReachTheOnScreenConsoleFromAScript)
{
    VirtualConsole *rConsole = FindScriptConsole();
    ASSERT_NE(nullptr, rConsole);
    lua_State *L = mLua->GetState();
    const std::string cDecision = std::string(CORVEL_SOURCE_DIR) + "/tests/scripts/vc_decision.lua";
    lua_pushstring(L, cDecision.c_str());
    lua_setglobal(L, "gsDecisionScript");
    testing::internal::CaptureStderr();
    EXPECT_TRUE(mLua->ExecuteFile((std::string(CORVEL_SOURCE_DIR) + "/tests/scripts/vc_dialogue.lua").c_str()));
    std::string tOut = CapturedStderr();

    EXPECT_NE(std::string::npos, tOut.find("VC_AppendDecision: Failed, invalid argument list")) << tOut;
    EXPECT_NE(std::string::npos, tOut.find("VC_SetLine: Failed, invalid argument list")) << tOut;
    EXPECT_NE(std::string::npos, tOut.find("VC_SetChar: Failed, invalid argument list")) << tOut;
    EXPECT_DOUBLE_EQ(0.0, Global("giStackAfter"));
    // The last VC_Clear blanked the grid; the decisions stand.
    EXPECT_EQ(2, rConsole->GetDecisionCount());
    EXPECT_EQ(std::string(80, ' '), Row(*rConsole, 0));

    // Without any console object the globals report and do nothing.
    mGUI->RemoveObject("Console");
    EXPECT_EQ(nullptr, FindScriptConsole());
    testing::internal::CaptureStderr();
    luaL_dostring(L, "VC_Clear()");
    tOut = CapturedStderr();
    EXPECT_NE(std::string::npos, tOut.find("VC_Clear")) << tOut;
}

TEST_F(VirtualConsoleTest, TheConsoleObjectLocksThePlayerOnlyWhenNothingElseDoesAndCloseHidesIt)
{
    GUIConsole *rConsole = dynamic_cast<GUIConsole *>(mGUI->FindObject("Console"));
    ASSERT_NE(nullptr, rConsole);
    rConsole->Show();
    EXPECT_TRUE(rConsole->GetConsole()->IsTyping());
    EXPECT_FALSE(rConsole->HandleEvent(-1, 0, 0));
    EXPECT_TRUE(mPlayer->IsControlLocked());
    EXPECT_FALSE(rConsole->HandleEvent(0, 0, 0));

    mPlayer->RemoveControlLock("ConsoleLock");
    mPlayer->AddControlLock("Cutscene");
    rConsole->HandleEvent(-1, 0, 0);
    mPlayer->RemoveControlLock("Cutscene");
    EXPECT_FALSE(mPlayer->IsControlLocked());

    mGUI->OpenScreen(rConsole);
    mPlayer->AddControlLock("ConsoleLock");
    mGUI->CloseTopScreen();
    EXPECT_FALSE(rConsole->IsVisible());
    EXPECT_FALSE(rConsole->GetConsole()->IsTyping());
    EXPECT_FALSE(mPlayer->IsControlLocked());
}

TEST_F(VirtualConsoleTest, ConsoleObjectsShowTheGlobalConsoleWhichEchoesEnteredCommands)
{
    // Without a global console an object keeps its own.
    GUIConsole *nPlain = new GUIConsole();
    VirtualConsole *rOwn = nPlain->GetConsole();
    nPlain->UseGlobalConsole();
    EXPECT_EQ(rOwn, nPlain->GetConsole());
    EXPECT_FALSE(nPlain->UsesGlobalConsole());

    VirtualConsole *nGlobal = new VirtualConsole();
    GetApplication()->mGlobalConsole = nGlobal;
    nPlain->UseGlobalConsole();
    EXPECT_EQ(nGlobal, nPlain->GetConsole());
    EXPECT_TRUE(nPlain->UsesGlobalConsole());
    // The object only shows the global console: deleting it leaves the console to its owner.
    delete nPlain;

    // Each command echoes its whole line, one row each, before it runs.
    mLua->NewMacro("bump", "giEchoed = 3");
    testing::internal::CaptureStderr();
    RunLuaCommand("LM \"giEchoed = 1\"");
    RunLuaCommand("LM_Execute");
    RunLuaCommand("/bump");
    CapturedStderr();
    EXPECT_EQ("LM \"giEchoed = 1\"", Row(*nGlobal, 0));
    EXPECT_EQ("LM_Execute", Row(*nGlobal, 1));
    EXPECT_EQ("LM_Call \"bump\"", Row(*nGlobal, 2));
    EXPECT_EQ(3, nGlobal->GetCursorRow());
    EXPECT_DOUBLE_EQ(3.0, Global("giEchoed"));

    GetApplication()->mGlobalConsole = nullptr;
    delete nGlobal;
}

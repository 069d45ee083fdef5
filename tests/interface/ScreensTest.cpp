#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>
#include <unistd.h>

#include "core/Gears.h"
#include "core/LuaBindingHelpers.h"
#include "interface/GUIButton.h"
#include "interface/GUISHealthBars.h"
#include "interface/GUISLevelSelectScreen.h"
#include "interface/GUISTitleScreen.h"
#include "interface/GUITextLine.h"
#include "world/Executors.h"
#include "ScreensFixture.h"
#include "support/ScratchFolder.h"

namespace
{
    class ScreensTest : public ScreensFixture
    {
    protected:
        void TearDown() override
        {
            if(mMaps) EXPECT_TRUE(mMaps->Remove());
            delete mMaps;
            GUISBossHealthBar::SetHealthReader(nullptr);
            ScreensFixture::TearDown();
        }

        // A folder of empty files under the given names, in place of the last one; returned with
        // a trailing "/".
        std::string MakeMaps(const std::vector<std::string> &pNames)
        {
            delete mMaps;
            mMaps = new ScratchFolder("maps");
            EXPECT_TRUE(mMaps->IsMade());
            for(const std::string &rName : pNames) mMaps->Write(rName.c_str(), nullptr, 0);
            return MapsFolder();
        }

        std::string MapsFolder() const { return mMaps->Path() + "/"; }

        GUISLevelSelectScreen *LevelSelect()
        {
            return dynamic_cast<GUISLevelSelectScreen *>(mGUI->FindObject("LevelSelectScreen"));
        }

        ScratchFolder *mMaps = nullptr;
    };

    RootEntity *xReadTarget = nullptr;
    int32_t ReadSeventeen(RootEntity *pTarget)
    {
        xReadTarget = pTarget;
        return 17;
    }
}

TEST_F(ScreensTest, TheRefillPaysOnePointEveryFifthEventUpToTheMissingHealth)
{
    GUIBaseObject *rBar = mGUI->FindObject("KestraHealthBar");
    ASSERT_NE(nullptr, rBar);
    mPlayer->SetHealth(15);
    mPlayer->SetPendingHeal(7);
    const int32_t cExpectHealth[3] = {16, 17, 18};
    const int32_t cExpectPending[3] = {2, 1, 0};
    for(int32_t tPoint = 0; tPoint < 3; tPoint++)
    {
        for(int32_t i = 0; i < 4; i++) EXPECT_FALSE(rBar->HandleEvent(i % 2 ? 0 : -1, 0, 0));
        // The paying event ends the dispatch, whatever its code.
        EXPECT_TRUE(rBar->HandleEvent(tPoint == 1 ? 1 : -1, 0, 0));
        EXPECT_EQ(cExpectHealth[tPoint], mPlayer->GetHealth());
        EXPECT_EQ(cExpectPending[tPoint], mPlayer->GetPendingHeal());
        EXPECT_EQ(tPoint + 1, CountSounds());
    }
    // Nothing pending: the counter restarts and nothing is paid.
    EXPECT_FALSE(rBar->HandleEvent(-1, 0, 0));

    // At full health the pending heal goes to the sub-tanks at once, silently.
    mPlayer->SetPendingHeal(5);
    EXPECT_FALSE(rBar->HandleEvent(-1, 0, 0));
    EXPECT_EQ(0, mPlayer->GetPendingHeal());
    EXPECT_EQ(18, mPlayer->GetHealth());
    EXPECT_EQ(3, CountSounds());

    EXPECT_EQ(0, HealthFrameVariant(18));
    EXPECT_EQ(1, HealthFrameVariant(20));
    EXPECT_EQ(1, HealthFrameVariant(21));
    EXPECT_EQ(7, HealthFrameVariant(32));
}

TEST_F(ScreensTest, TheBossBarReadsItsTargetOnlyWhileTheTargetExists)
{
    GUISBossHealthBar *rBoss = GetBossHealthBar();
    ASSERT_NE(nullptr, rBoss);
    EXPECT_EQ(-1, rBoss->GetTargetHealth());

    RootEntity *nEnemy = new RootEntity();
    EntityManager::Fetch()->RegisterEntity("Boss", nEnemy);
    GUISBossHealthBar::SetHealthReader(ReadSeventeen);
    rBoss->SetTargetEnemy(nEnemy);
    rBoss->Show();
    EXPECT_EQ(17, rBoss->GetTargetHealth());
    EXPECT_EQ(nEnemy, xReadTarget);

    // Map loading's code clears the target and hides the bar; other codes do nothing.
    rBoss->SetTarget(3);
    EXPECT_EQ(17, rBoss->GetTargetHealth());
    mGUI->SetBossHealthBarTarget(255);
    EXPECT_EQ(-1, rBoss->GetTargetHealth());
    EXPECT_FALSE(rBoss->IsVisible());

    // An enemy destroyed while it is the target is never read: the bar lets it go and hides.
    rBoss->SetTargetEnemy(nEnemy);
    rBoss->Show();
    xReadTarget = nullptr;
    EntityManager::Fetch()->RemoveEntity(nEnemy);
    delete nEnemy;
    EXPECT_EQ(-1, rBoss->GetTargetHealth());
    EXPECT_EQ(nullptr, xReadTarget);
    EXPECT_FALSE(rBoss->IsVisible());
    EXPECT_EQ(nullptr, rBoss->GetTargetEnemy());
}

TEST_F(ScreensTest, TheTitleHoldsItsFirstFrameThenAnimatesAndLeadsToTheLevelSelect)
{
    EXPECT_EQ(1, TitleFrameIndex(0));
    EXPECT_EQ(1, TitleFrameIndex(119));
    EXPECT_EQ(1, TitleFrameIndex(120));
    EXPECT_EQ(2, TitleFrameIndex(124));
    EXPECT_EQ(84, TitleFrameIndex(455));
    EXPECT_EQ(85, TitleFrameIndex(456));
    EXPECT_EQ(85, TitleFrameIndex(INT32_MAX));
    EXPECT_EQ(0, ThanksScreenFrame(7));
    EXPECT_EQ(3, ThanksScreenFrame(31));
    EXPECT_EQ(0, ThanksScreenFrame(32));
    EXPECT_EQ(5, ThanksPortraitFrame(47));

    ActivateTitleGear();
    GUISTitleScreen *rTitle = GetTitleScreen();
    ASSERT_NE(nullptr, rTitle);
    EXPECT_TRUE(rTitle->IsVisible());
    mPlayer->SetRespawnPosition(50.0f, 60.0f);
    // Every event is taken; a click changes nothing but the respawn point.
    EXPECT_TRUE(mGUI->Update(0));
    EXPECT_EQ(0, rTitle->GetTitleTicks());
    float tX = 0.0f, tY = 0.0f;
    mPlayer->GetRespawnPosition(tX, tY);
    EXPECT_FLOAT_EQ(-1.0f, tX);
    for(int32_t i = 0; i < 10; i++) Tick();
    EXPECT_EQ(10, rTitle->GetTitleTicks());

    // On the thanks page the title stands still; "Pause" returns to the title's start.
    rTitle->SetThanksMode(1);
    Tick();
    Tick();
    EXPECT_EQ(0, rTitle->GetTitleTicks());
    EXPECT_EQ(2, rTitle->GetThanksTicks());
    Tick("Pause");
    EXPECT_FALSE(rTitle->IsThanksMode());
    EXPECT_EQ(0, rTitle->GetTitleTicks());
    EXPECT_TRUE(rTitle->IsVisible());

    // "Pause" on the title opens the level select.
    Tick("Pause");
    EXPECT_FALSE(rTitle->IsVisible());
    EXPECT_TRUE(LevelSelect()->IsVisible());
    EXPECT_EQ(GetApplication()->rGearTick, LevelSelectGearTimer);

    // A script that ends the game asks for the thanks page; the title gear keeps that mode.
    lua_State *L = luaL_newstate();
    RegisterGUILua(L);
    ASSERT_EQ(0, luaL_dostring(L, "GUI_ForceToTitle(true)"));
    EXPECT_TRUE(rTitle->IsThanksMode());
    ActivateTitleGear();
    EXPECT_TRUE(rTitle->IsThanksMode());
    EXPECT_FALSE(LevelSelect()->IsVisible());
    ASSERT_EQ(0, luaL_dostring(L, "GUI_ForceToTitle(false)"));
    EXPECT_FALSE(rTitle->IsThanksMode());
    lua_close(L);
}

TEST_F(ScreensTest, MapNamesLoseAThreeLetterExtensionOnly)
{
    char tName[64];
    EXPECT_TRUE(MapNameFromPath("Data/Maps/FirstSteps.slf", tName, sizeof(tName)));
    EXPECT_STREQ("FirstSteps", tName);
    EXPECT_TRUE(MapNameFromPath("Data/Maps/ab", tName, sizeof(tName)));
    EXPECT_STREQ("ab", tName);
    EXPECT_TRUE(MapNameFromPath("Data/Maps/x.y", tName, sizeof(tName)));
    EXPECT_STREQ("x.y", tName);
    EXPECT_TRUE(MapNameFromPath("Data/Maps/Long.name", tName, sizeof(tName)));
    EXPECT_STREQ("Long.name", tName);
    EXPECT_FALSE(MapNameFromPath("Data/Maps/.slf", tName, sizeof(tName)));
    EXPECT_TRUE(MapNameFromPath("Data/Maps/Abcdefgh.lua", tName, 5));
    EXPECT_STREQ("Abcd", tName);
}

TEST_F(ScreensTest, TheLevelSelectListsTheFolderAndMovesOverItsLines)
{
    GUISLevelSelectScreen *rScreen = LevelSelect();
    ASSERT_NE(nullptr, rScreen);
    rScreen->OpenFolder(MakeMaps({"Beta.slf", "Alpha.slf", "gamma"}).c_str());
    EXPECT_TRUE(rScreen->IsVisible());
    EXPECT_EQ(3, rScreen->GetMapCount());
    EXPECT_STREQ("Alpha", rScreen->GetLine(0)->PeekText());
    EXPECT_STREQ("Beta", rScreen->GetLine(1)->PeekText());
    EXPECT_STREQ("gamma", rScreen->GetLine(2)->PeekText());
    EXPECT_STREQ(" ", rScreen->GetLine(3)->PeekText());
    EXPECT_STREQ("Beta", rScreen->GetMapExecutor(1)->GetLevelName());
    EXPECT_EQ(nullptr, rScreen->GetMapExecutor(3)->GetLevelName());
    EXPECT_EQ(4, rScreen->GetButton(0)->GetActionCount());

    // Up on the first line only sounds; the cursor stops on the last map.
    mLayer->ClearCalls();
    rScreen->HandleEvent(-1, 0, 0);
    EXPECT_EQ(0, CountSounds());
    Control("Up")->mPressed = 1;
    EXPECT_FALSE(rScreen->HandleEvent(-1, 0, 0));
    Control("Up")->mPressed = 0;
    EXPECT_EQ(0, rScreen->GetCurrentNavigationIndex());
    EXPECT_EQ(1, CountSounds());
    for(int32_t i = 0; i < 5; i++)
    {
        Control("GUI_Dn")->mPressed = 1;
        rScreen->HandleEvent(-1, 0, 0);
        Control("GUI_Dn")->mPressed = 0;
    }
    EXPECT_EQ(2, rScreen->GetCurrentNavigationIndex());
    float tRect[4];
    rScreen->GetCursorOutline(tRect);
    EXPECT_FLOAT_EQ(25.0f, tRect[0]);
    EXPECT_FLOAT_EQ(55.0f, tRect[1]);
    EXPECT_FLOAT_EQ(281.0f, tRect[2]);
    EXPECT_FLOAT_EQ(64.0f, tRect[3]);

    // Choosing runs the line's actions: the screen hides and the confirmation sounds.
    mLayer->ClearCalls();
    Control("Enter")->mPressed = 1;
    rScreen->HandleEvent(-1, 0, 0);
    Control("Enter")->mPressed = 0;
    EXPECT_FALSE(rScreen->IsVisible());
    EXPECT_EQ(1, CountSounds());

    // Reopening rescans and puts the cursor back on the first line.
    rScreen->OpenFolder(MapsFolder().c_str());
    EXPECT_EQ(0, rScreen->GetCurrentNavigationIndex());
    EXPECT_TRUE(rScreen->IsVisible());
}

TEST_F(ScreensTest, TheLevelSelectStartsALoneMapAtOnceAndShowsAtMostThirty)
{
    GUISLevelSelectScreen *rScreen = LevelSelect();
    rScreen->OpenFolder(MakeMaps({"Only.slf"}).c_str());
    EXPECT_EQ(1, rScreen->GetMapCount());
    mLayer->ClearCalls();
    // Even a mouse event starts it.
    rScreen->HandleEvent(0, 0, 0);
    EXPECT_FALSE(rScreen->IsVisible());
    EXPECT_EQ(1, CountSounds());
    EXPECT_TRUE(mMaps->Remove());

    // An empty folder: every line blank, the cursor stays on the first with no way down.
    rScreen->OpenFolder(MakeMaps({}).c_str());
    EXPECT_EQ(0, rScreen->GetMapCount());
    EXPECT_STREQ(" ", rScreen->GetLine(0)->PeekText());
    Control("Down")->mPressed = 1;
    rScreen->HandleEvent(-1, 0, 0);
    Control("Down")->mPressed = 0;
    EXPECT_EQ(0, rScreen->GetCurrentNavigationIndex());
    EXPECT_TRUE(mMaps->Remove());

    std::vector<std::string> tMany;
    for(int32_t i = 0; i < 31; i++)
    {
        char tName[32];
        snprintf(tName, sizeof(tName), "Map%02d.slf", i);
        tMany.push_back(tName);
    }
    rScreen->OpenFolder(MakeMaps(tMany).c_str());
    EXPECT_EQ(30, rScreen->GetMapCount());
    EXPECT_STREQ("Map00", rScreen->GetLine(0)->PeekText());
    EXPECT_STREQ("Map29", rScreen->GetLine(29)->PeekText());
    for(int32_t i = 0; i < 40; i++)
    {
        Control("Down")->mPressed = 1;
        rScreen->HandleEvent(-1, 0, 0);
        Control("Down")->mPressed = 0;
    }
    EXPECT_EQ(29, rScreen->GetCurrentNavigationIndex());
}

// A key typed into the console opened over the title or the level select is the console's:
// Enter, which also runs the typed line, neither leaves the title nor starts a map, and the
// arrows and Shoot (X, a letter typed too) move nothing; once the console is closed they work.
TEST_F(ScreensTest, KeysTheConsoleTakesNeitherLeaveTheTitleNorChooseAMap)
{
    auto fnToggleConsole = [this]() {
        Control("Console")->mPressed = 1;
        mGUI->UpdateHotkeys();
        Control("Console")->mPressed = 0;
    };
    ActivateTitleGear();
    fnToggleConsole();
    ASSERT_TRUE(mGUI->FindObject("Console")->IsVisible());
    Tick("Pause", "Enter");
    EXPECT_TRUE(GetTitleScreen()->IsVisible());
    EXPECT_FALSE(LevelSelect()->IsVisible());
    fnToggleConsole();
    Tick("Pause", "Enter");
    ASSERT_TRUE(LevelSelect()->IsVisible());

    GUISLevelSelectScreen *rScreen = LevelSelect();
    rScreen->OpenFolder(MakeMaps({"Alpha.slf", "Beta.slf"}).c_str());
    fnToggleConsole();
    ASSERT_TRUE(mGUI->FindObject("Console")->IsVisible());
    mLayer->ClearCalls();
    Tick("Down");
    Tick("Enter", "Pause");
    Tick("Shoot");
    EXPECT_TRUE(rScreen->IsVisible());
    EXPECT_EQ(0, rScreen->GetCurrentNavigationIndex());
    EXPECT_EQ(0, CountSounds());

    fnToggleConsole();
    Tick("Down");
    EXPECT_EQ(1, rScreen->GetCurrentNavigationIndex());
    Tick("Enter", "Pause");
    EXPECT_FALSE(rScreen->IsVisible());
}

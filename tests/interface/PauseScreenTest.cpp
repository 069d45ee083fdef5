#include <gtest/gtest.h>

#include <cstring>

#include "core/Gears.h"
#include "core/LuaManager.h"
#include "interface/GUISPauseScreen.h"
#include "support/TestText.h"
#include "ScreensFixture.h"

#include <lauxlib.h>

void RegisterLuaBindings(lua_State *L);

namespace
{
    class PauseScreenTest : public ScreensFixture
    {
    protected:
        void SetUp() override
        {
            ScreensFixture::SetUp();
            mPause = dynamic_cast<GUISPauseScreen *>(mGUI->FindObject("PauseScreen"));
            ASSERT_NE(nullptr, mPause);
            ActivateGameGear();
        }
        void TearDown() override
        {
            // Volumes are process-wide: put the start values back.
            AudioManager *rAudio = AudioManager::Get();
            rAudio->ChangeMusicVolume(-2.0f);
            rAudio->ChangeMusicVolume(0.5f);
            rAudio->ChangeSoundVolume(-2.0f);
            rAudio->ChangeSoundVolume(0.65f);
            ScreensFixture::TearDown();
        }

        // Opens the screen and lets its fade come far enough for "Pause" to act.
        void OpenReady()
        {
            mGUI->OpenScreen(mPause);
            for(int32_t i = 0; i < 28; i++) Tick();
        }

        // One tick in which the raw input was that key, mouse button or joystick button.
        void RawTick(int32_t pKey, int32_t pMouse, int32_t pJoystick, const char *pControl = nullptr)
        {
            ControlManager::Get()->OnKey(pKey, pMouse, pJoystick);
            Tick(pControl);
            ControlManager::Get()->ResetLastInput();
            ControlManager::Get()->ClearTypedCharacters();
        }

        void MoveTo(int32_t pNode)
        {
            mPause->SetCurrentNavigationNode(mPause->GetNavigationNode(pNode));
        }

        GUISPauseScreen *mPause;
    };
}

TEST_F(PauseScreenTest, OpeningFadesInAndPauseActsOnlyAfterTheFade)
{
    GUIBaseObject *rBar = mGUI->FindObject("KestraHealthBar");
    EXPECT_TRUE(rBar->IsVisible());
    mGUI->OpenScreen(mPause);
    EXPECT_EQ(PAUSE_PAGE_ESCAPE, mPause->GetPage());
    EXPECT_EQ(-15, mPause->GetFadeCounter());
    EXPECT_EQ(1, CountSounds());
    EXPECT_EQ(1, mGUI->GetFadeStep());

    for(int32_t i = 0; i < 14; i++) Tick();
    EXPECT_TRUE(rBar->IsVisible());
    Tick();
    EXPECT_FALSE(rBar->IsVisible());
    EXPECT_FLOAT_EQ(0.0f, mPause->GetAlpha());

    // Within 28 ticks of opening "Pause" does nothing; the 28th tick takes it.
    for(int32_t i = 0; i < 11; i++) Tick();
    Tick("Pause");
    EXPECT_TRUE(mGUI->IsTopScreen(mPause));
    Tick("Pause");
    EXPECT_FALSE(mGUI->IsScreenOpen(mPause));
    EXPECT_TRUE(rBar->IsVisible());
    EXPECT_EQ(44, mGUI->GetFadeCounter());
    // It stays visible one more tick, until its fade animation hides it.
    EXPECT_TRUE(mPause->IsVisible());
    Tick();
    EXPECT_FALSE(mPause->IsVisible());
}

TEST_F(PauseScreenTest, TheEscapeMenuMovesWithoutWrappingAndItsEntriesLeaveOrQuit)
{
    OpenReady();
    mLayer->ClearCalls();
    Tick("Up");
    EXPECT_EQ(0, mPause->GetEscapeCursor());
    EXPECT_EQ(1, CountSounds());
    Tick("Down");
    Tick("Down");
    Tick("Down");
    EXPECT_EQ(2, mPause->GetEscapeCursor());
    EXPECT_EQ(4, CountSounds());

    // The hotkey that closes other screens leaves this one; the menu does not read it.
    Tick("CloseGame");
    EXPECT_TRUE(mGUI->IsTopScreen(mPause));

    // With the console opened over it, keys typed there do not reach the menu.
    GUIBaseObject *rConsole = mGUI->FindObject("Console");
    mGUI->OpenScreen(rConsole);
    rConsole->Show();
    GetApplication()->mQuitFlag = 0;
    Tick("Pause");
    Tick("Up");
    EXPECT_EQ(0, GetApplication()->mQuitFlag);
    EXPECT_EQ(2, mPause->GetEscapeCursor());
    mGUI->CloseTopScreen();
    mPlayer->RemoveControlLock("ConsoleLock");

    Tick("Pause");
    EXPECT_EQ(1, GetApplication()->mQuitFlag);
    GetApplication()->mQuitFlag = 0;

    Tick("Up");
    Tick("Pause");
    EXPECT_EQ(0, mGUI->GetOpenScreenCount());
    EXPECT_EQ(GetApplication()->rGearTick, LevelSelectGearTimer);
}

TEST_F(PauseScreenTest, ShoulderKeysOpenThePagesAndSlideBetweenThem)
{
    OpenReady();
    Tick("ShoulderL");
    EXPECT_EQ(PAUSE_PAGE_STATUS, mPause->GetPage());

    // Both shoulders in one tick switch nothing and show both tabs.
    Tick("ShoulderL", "ShoulderR");
    EXPECT_EQ(PAUSE_PAGE_STATUS, mPause->GetPage());
    EXPECT_TRUE(mPause->IsPushLHeld());
    EXPECT_TRUE(mPause->IsPushRHeld());

    // "ShoulderR" on the status page slides to the password page over 30 ticks.
    Tick("ShoulderR");
    EXPECT_EQ(5, mPause->GetPage());
    EXPECT_EQ(PAUSE_PAGE_PASSWORD, mPause->GetTargetPage());
    for(int32_t i = 0; i < 29; i++) Tick();
    EXPECT_EQ(5, mPause->GetPage());
    Tick();
    EXPECT_EQ(PAUSE_PAGE_PASSWORD, mPause->GetPage());
    EXPECT_TRUE(mPause->NeedsRefresh());

    // "ShoulderL" steps 4 to 0, sliding the other way.
    Tick("ShoulderL");
    EXPECT_EQ(5, mPause->GetPage());
    EXPECT_EQ(-1, mPause->GetSlideStep());
    for(int32_t i = 0; i < 31; i++) Tick();
    EXPECT_EQ(PAUSE_PAGE_STATUS, mPause->GetPage());
    Tick("ShoulderL");
    for(int32_t i = 0; i < 31; i++) Tick();
    EXPECT_EQ(PAUSE_PAGE_OPTIONS, mPause->GetPage());

    // From a page "Pause" closes the screen; the next opening starts on the escape menu.
    Tick("Pause");
    EXPECT_FALSE(mGUI->IsScreenOpen(mPause));
    Tick();
    mGUI->OpenScreen(mPause);
    EXPECT_EQ(PAUSE_PAGE_ESCAPE, mPause->GetPage());
}

TEST_F(PauseScreenTest, TheOptionsPageRebindsFromTheNextRawInput)
{
    OpenReady();
    Tick("ShoulderR");
    ASSERT_EQ(PAUSE_PAGE_OPTIONS, mPause->GetPage());
    Tick();
    EXPECT_EQ(OPTIONS_NODE_COUNT, mPause->GetNavigationNodeCount());
    EXPECT_EQ(0, mPause->GetCurrentNavigationIndex());
    EXPECT_FLOAT_EQ(79.0f, mPause->GetReticuleRect(0).mY1);
    EXPECT_FLOAT_EQ(190.0f, mPause->GetReticuleRect(11).mY2);
    EXPECT_FLOAT_EQ(362.0f, mPause->GetReticuleRect(21).mX1);

    ControlState *rDash = Control("Dash");
    int32_t tDashSecondary = rDash->mKeySecondary;
    // The primary binding of "Dash" (node 4): the press that begins the wait is not taken.
    MoveTo(4);
    RawTick(ALLEGRO_KEY_X, -1, -1, "Shoot");
    EXPECT_EQ(180 - 1, mPause->GetInputDelay());
    EXPECT_EQ(ALLEGRO_KEY_C, rDash->mKeyPrimary);
    // During the wait the cursor does not move and "Pause" does not close the screen.
    Tick("Down");
    Tick("Pause");
    EXPECT_EQ(4, mPause->GetCurrentNavigationIndex());
    EXPECT_TRUE(mGUI->IsTopScreen(mPause));
    RawTick(ALLEGRO_KEY_V, -1, -1);
    EXPECT_EQ(ALLEGRO_KEY_V, rDash->mKeyPrimary);
    EXPECT_EQ(-1, rDash->mMousePrimary);
    EXPECT_EQ(-1, rDash->mJoystickPrimary);
    EXPECT_EQ(tDashSecondary, rDash->mKeySecondary);
    EXPECT_EQ(0, mPause->GetInputDelay());

    // A mouse button for the secondary set of "Shoot" (node 3), a joystick button for the
    // primary set of "Pause" (node 6).
    MoveTo(3);
    RawTick(-1, -1, -1, "Jump");
    RawTick(-1, 2, -1);
    ControlState *rShoot = Control("Shoot");
    EXPECT_EQ(-1, rShoot->mKeySecondary);
    EXPECT_EQ(2, rShoot->mMouseSecondary);
    MoveTo(6);
    RawTick(-1, -1, -1, "Shoot");
    RawTick(-1, -1, 5);
    EXPECT_EQ(5, Control("Pause")->mJoystickPrimary);
    EXPECT_EQ(-1, Control("Pause")->mKeyPrimary);

    // "CloseGame" during the wait clears the set.
    MoveTo(8);
    RawTick(-1, -1, -1, "Shoot");
    RawTick(ALLEGRO_KEY_K, -1, -1, "CloseGame");
    ControlState *rLeft = Control("ShoulderL");
    EXPECT_EQ(-1, rLeft->mKeyPrimary);
    EXPECT_EQ(-1, rLeft->mMousePrimary);
    EXPECT_EQ(-1, rLeft->mJoystickPrimary);
    EXPECT_TRUE(mGUI->IsTopScreen(mPause));

    // No input for the whole wait leaves the binding as it was.
    MoveTo(10);
    int32_t tRightKey = Control("ShoulderR")->mKeyPrimary;
    RawTick(-1, -1, -1, "Shoot");
    for(int32_t i = 0; i < 178; i++) Tick();
    EXPECT_EQ(1, mPause->GetInputDelay());
    Tick();
    EXPECT_EQ(0, mPause->GetInputDelay());
    EXPECT_EQ(tRightKey, Control("ShoulderR")->mKeyPrimary);

    // Down from either column of the last row reaches the double-tap entry; Up returns to
    // the primary column.
    Tick("Right");
    EXPECT_EQ(11, mPause->GetCurrentNavigationIndex());
    Tick("Down");
    EXPECT_EQ(12, mPause->GetCurrentNavigationIndex());
    Tick("Up");
    EXPECT_EQ(10, mPause->GetCurrentNavigationIndex());
}

TEST_F(PauseScreenTest, TheOptionsPageTogglesDoubleTapAndStepsVolumesWithinRange)
{
    OpenReady();
    Tick("ShoulderR");
    Tick();
    AudioManager *rAudio = AudioManager::Get();

    MoveTo(12);
    bool tFlag = mPlayer->GetOptionFlag();
    Tick("Shoot");
    EXPECT_NE(tFlag, mPlayer->GetOptionFlag());
    // ENTER is both "Enter" and "Pause": it toggles and closes in the same tick.
    Control("Enter")->mPressed = 1;
    Tick("Pause");
    Control("Enter")->mPressed = 0;
    EXPECT_EQ(tFlag, mPlayer->GetOptionFlag());
    EXPECT_FALSE(mGUI->IsScreenOpen(mPause));
    Tick();

    OpenReady();
    Tick("ShoulderR");
    Tick();
    MoveTo(15);
    // The playing track follows the music volume the page sets.
    AudioPackage *nTrack = new AudioPackage(mLayer);
    nTrack->LoadStream("Theme");
    rAudio->AddMusic("Theme", nTrack);
    rAudio->PlayMusic("Theme");
    Tick("Right");
    const AudioCall *rCall = mLayer->FindLastCall(AUDIO_CALL_SET_VOLUME, nTrack->GetHandle());
    ASSERT_NE(nullptr, rCall);
    EXPECT_NEAR(0.6f, rCall->mVolume, 1e-5f);
    rAudio->ChangeMusicVolume(-2.0f);
    Tick("Left");
    EXPECT_FLOAT_EQ(0.0f, AudioManager::GetMusicVolume());
    rAudio->ChangeMusicVolume(0.5f);
    EXPECT_FLOAT_EQ(184.0f, VolumeKnobX(AudioManager::GetMusicVolume()));
    for(int32_t i = 0; i < 7; i++) Tick("Right");
    EXPECT_FLOAT_EQ(1.0f, AudioManager::GetMusicVolume());
    EXPECT_FLOAT_EQ(234.0f, VolumeKnobX(AudioManager::GetMusicVolume()));
    EXPECT_EQ(15, mPause->GetCurrentNavigationIndex());

    MoveTo(16);
    float tSound = AudioManager::GetSoundVolume();
    Tick("Left");
    EXPECT_NEAR(tSound - 0.1f, AudioManager::GetSoundVolume(), 1e-5f);
    for(int32_t i = 0; i < 12; i++) Tick("Left");
    EXPECT_FLOAT_EQ(0.0f, AudioManager::GetSoundVolume());

    // Screen sizes and the sound entry take no action.
    MoveTo(18);
    Tick("Shoot");
    EXPECT_EQ(0, mPause->GetInputDelay());
    EXPECT_TRUE(mGUI->IsTopScreen(mPause));
}

// Below the bindings the keys walk the audio rows into the screen-size grid and back up to the
// last binding row, so every entry of the page can be reached and left.
TEST_F(PauseScreenTest, TheOptionsPageWalksFromTheAudioRowsThroughTheScreenSizes)
{
    OpenReady();
    Tick("ShoulderR");
    Tick();
    MoveTo(12);
    const char *cKeys[] = {"Down", "Down", "Down", "Down", "Right", "Down", "Left", "Down", "Right", "Up", "Left", "Up", "Up", "Up"};
    const int32_t cNodes[] = {14, 15, 16, 17, 18, 20, 19, 21, 20, 18, 17, 14, 12, 10};
    for(size_t i = 0; i < sizeof(cNodes) / sizeof(cNodes[0]); i++)
    {
        Tick(cKeys[i]);
        EXPECT_EQ(cNodes[i], mPause->GetCurrentNavigationIndex()) << "after key " << i;
    }
}

TEST_F(PauseScreenTest, StatusLinksFollowTheAvailableWeaponsAndSubTanks)
{
    int32_t tLinks[STATUS_NODE_COUNT][4];
    uint8_t tNone[8] = {0, 0, 0, 0, 0, 0, 0, 0};
    BuildStatusLinks(tNone, 0, tLinks);
    EXPECT_EQ(1, tLinks[0][NAV_DOWN]);
    EXPECT_EQ(1, tLinks[0][NAV_UP]);
    EXPECT_EQ(0, tLinks[1][NAV_UP]);
    EXPECT_EQ(0, tLinks[1][NAV_DOWN]);
    EXPECT_EQ(-1, tLinks[2][NAV_RIGHT]);

    uint8_t tTwo[8] = {1, 1, 0, 0, 0, 0, 0, 0};
    BuildStatusLinks(tTwo, 2, tLinks);
    EXPECT_EQ(2, tLinks[0][NAV_DOWN]);
    EXPECT_EQ(14, tLinks[0][NAV_UP]);
    EXPECT_EQ(2, tLinks[1][NAV_UP]);
    EXPECT_EQ(14, tLinks[1][NAV_DOWN]);
    EXPECT_EQ(3, tLinks[2][NAV_RIGHT]);
    EXPECT_EQ(-1, tLinks[2][NAV_LEFT]);
    EXPECT_EQ(2, tLinks[3][NAV_LEFT]);
    EXPECT_EQ(-1, tLinks[3][NAV_RIGHT]);
    EXPECT_EQ(-1, tLinks[4][NAV_LEFT]);
    EXPECT_EQ(15, tLinks[14][NAV_RIGHT]);
    EXPECT_EQ(14, tLinks[15][NAV_LEFT]);
    EXPECT_EQ(-1, tLinks[15][NAV_RIGHT]);
    EXPECT_EQ(-1, tLinks[16][NAV_UP]);

    uint8_t tGaps[8] = {0, 0, 1, 0, 0, 1, 0, 1};
    BuildStatusLinks(tGaps, 9, tLinks);
    EXPECT_EQ(4, tLinks[0][NAV_DOWN]);
    EXPECT_EQ(7, tLinks[4][NAV_RIGHT]);
    EXPECT_EQ(9, tLinks[7][NAV_RIGHT]);
    EXPECT_EQ(4, tLinks[7][NAV_LEFT]);
    EXPECT_EQ(-1, tLinks[17][NAV_RIGHT]);

    EXPECT_FLOAT_EQ(0.0f, StatusHealthBandStart(32, 144));
    EXPECT_FLOAT_EQ(18.0f / 144.0f, StatusHealthBandStart(30, 144));
    EXPECT_FLOAT_EQ(0.0f, StatusHealthBandStart(30, 0));
}

TEST_F(PauseScreenTest, TheStatusPageSelectsTheBusterAndExitsToTheLevelSelect)
{
    OpenReady();
    Tick("ShoulderL");
    mPause->InitWeaponRecords();
    EXPECT_STREQ("PRISM GALE", mPause->GetWeaponRecord(1).mCaption);
    EXPECT_EQ(5, mPause->GetWeaponRecord(5).mWeapon);
    Tick();
    ASSERT_EQ(STATUS_NODE_COUNT, mPause->GetNavigationNodeCount());
    EXPECT_EQ(0, mPause->GetCurrentNavigationIndex());
    EXPECT_FLOAT_EQ(217.0f, mPause->GetReticuleRect(0).mX1);
    EXPECT_FLOAT_EQ(-1000.0f, mPause->GetReticuleRect(1).mX1);

    // She carries all eight weapons: Down from the buster reaches the first of them, and Up
    // from the buster is the exit.
    mPlayer->SelectWeapon(3);
    Tick("Shoot");
    EXPECT_EQ(-1, mPlayer->GetSelectedWeapon());
    Tick("Down");
    EXPECT_EQ(2, mPause->GetCurrentNavigationIndex());
    Tick("Up");
    EXPECT_EQ(0, mPause->GetCurrentNavigationIndex());
    Tick("Up");
    EXPECT_EQ(1, mPause->GetCurrentNavigationIndex());
    Tick("Shoot");
    EXPECT_EQ(0, mGUI->GetOpenScreenCount());
    EXPECT_EQ(GetApplication()->rGearTick, LevelSelectGearTimer);
}

// The sample configuration binds the number keys 1 to 8 to the weapons in the order the status
// page shows them, and 9 to the buster.
TEST_F(PauseScreenTest, TheSampleNumberKeysFollowTheStatusPagesOrder)
{
    Application *rApp = GetApplication();
    rApp->mLuaManager = new LuaManager();
    lua_State *L = LuaManager::Fetch()->GetState();
    RegisterLuaBindings(L);
    testing::internal::CaptureStderr();
    const bool tRan = luaL_dofile(L, CORVEL_SOURCE_DIR "/game/Data/Scripts/SetupFuncs.lua") == 0 &&
                      luaL_dofile(L, CORVEL_SOURCE_DIR "/game/Configuration.lua") == 0;
    const std::string tErr = CapturedStderr();
    const std::string tLuaError = tRan ? "" : lua_tostring(L, -1);
    delete rApp->mLuaManager;
    rApp->mLuaManager = nullptr;
    ASSERT_TRUE(tRan) << tLuaError << tErr;

    mPause->InitWeaponRecords();
    char tName[16];
    for(int32_t p = 0; p < PAUSE_WEAPON_COUNT; p++)
    {
        snprintf(tName, sizeof(tName), "Weapon%i", mPause->GetWeaponRecord(p).mWeapon + 1);
        EXPECT_EQ(ALLEGRO_KEY_1 + p, Control(tName)->mKeyPrimary) << mPause->GetWeaponRecord(p).mCaption;
    }
    EXPECT_EQ(ALLEGRO_KEY_9, Control("Weapon9")->mKeyPrimary);
}

TEST_F(PauseScreenTest, UpperCaseCopiesStayWithinTheirBuffer)
{
    char tBuffer[8];
    memset(tBuffer, 'z', sizeof(tBuffer));
    EXPECT_EQ(tBuffer, CopyUpperCase(tBuffer, sizeof(tBuffer), "Return key"));
    EXPECT_STREQ("RETURN ", tBuffer);
    EXPECT_EQ(nullptr, CopyUpperCase(tBuffer, sizeof(tBuffer), nullptr));
    EXPECT_STREQ("RETURN ", tBuffer);
    CopyUpperCase(tBuffer, sizeof(tBuffer), "a-1_b");
    EXPECT_STREQ("A-1_B", tBuffer);
    float tX1 = 0.0f, tX2 = 0.0f;
    OptionsBindingSpan(122.0f, 27.0f, tX1, tX2);
    EXPECT_FLOAT_EQ(108.5f, tX1);
    EXPECT_FLOAT_EQ(147.5f, tX2);
}

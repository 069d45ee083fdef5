#include "core/Application.h"
#include "core/ControlBinding.h"
#include "core/ControlManager.h"
#include "core/LuaBindingHelpers.h"
#include "core/NamedLinkedList.h"
#include "core/render/DisplayManager.h"
#include "support/SavedApplication.h"
#include "support/TestText.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace
{

    // Sets a key the way al_key_down reads it.
    void SetKey(ALLEGRO_KEYBOARD_STATE &sState, int pKey, bool pDown)
    {
        unsigned int tBit = 1u << (pKey % 32);
        if(pDown) sState.__key_down__internal__[pKey / 32] |= tBit;
        else sState.__key_down__internal__[pKey / 32] &= ~tBit;
    }

    class ControlManagerTest : public testing::Test
    {
    protected:
        void SetUp() override
        {
            memset(&mKeyboard, 0, sizeof(mKeyboard));
            memset(&mMouse, 0, sizeof(mMouse));
            memset(&mJoystick, 0, sizeof(mJoystick));
            mControls = new ControlManager();
            mControls->BootDefaults();
        }
        void TearDown() override
        {
            GetApplication()->mControlManager = nullptr;
            delete mControls;
        }

        // One key event: the frame's keyboard state is re-read and lent again.
        void KeyEvent(int pKey, bool pDown)
        {
            SetKey(mKeyboard, pKey, pDown);
            mControls->LendKeyboardState(&mKeyboard);
        }

        ControlManager *mControls;
        ALLEGRO_KEYBOARD_STATE mKeyboard;
        ALLEGRO_MOUSE_STATE mMouse;
        ALLEGRO_JOYSTICK_STATE mJoystick;
    };
}

TEST_F(ControlManagerTest, DefaultsComeInOrderWithTheirKeysAndUnknownNamesReadZero)
{
    const char *cDefaults[] = {"Up", "Down", "Left", "Right", "Jump", "Shoot", "Dash", "Pause", "ShoulderL",
                               "ShoulderR", "GUI_Lf", "GUI_Up", "GUI_Rg", "GUI_Dn", "Enter", "ToggleFullscreen"};
    NamedLinkedList *rList = mControls->GetControlList();
    for(int i = 0; i < 16; i++) EXPECT_STREQ(rList->GetNameByIndex(i), cDefaults[i]);

    ControlState *rJump = mControls->GetControl("Jump");
    EXPECT_EQ(rJump->mKeyPrimary, 26);
    EXPECT_EQ(rJump->mKeySecondary, 75);
    EXPECT_EQ(rJump->mMousePrimary, -1);
    EXPECT_EQ(rJump->mJoystickSecondary, -1);
    EXPECT_EQ(rJump->mHeldTicks, -1);
    EXPECT_EQ(mControls->GetControl("Shoot")->mKeySecondary, 217);
    EXPECT_EQ(mControls->GetControl("ToggleFullscreen")->mKeyPrimary, 57);
    EXPECT_EQ(mControls->GetControl("Dash")->mKeySecondary, -1);

    // The hotkey controls exist unbound so scripts can bind them, and never trigger.
    for(const char *rName : {"Console", "CloseGame", "SpeedUp", "SlowDown", "ToggleHitboxes", "Select",
                             "CameraToggle", "DisplayCameraTopLeft", "ConnectToPlinkard", "Warp0", "Warp8"})
    {
        ControlState *rControl = (ControlState *)rList->GetElementByName(rName);
        ASSERT_NE(rControl, nullptr) << rName;
        EXPECT_EQ(rControl->mKeyPrimary, -1);
        EXPECT_EQ(rControl->mJoystickPrimary, -1);
    }
    for(int k = 1; k < ALLEGRO_KEY_MAX; k++) SetKey(mKeyboard, k, true);
    mControls->LendKeyboardState(&mKeyboard);
    mControls->Update();
    EXPECT_EQ(mControls->GetControl("Console")->mPressed, 0);
    EXPECT_EQ(mControls->GetControl("Jump")->mPressed, 1);

    // The scratch record is handed out zeroed even after a caller wrote into it.
    ControlState *rUnknown = mControls->GetControl("NoSuchControl");
    rUnknown->mPressed = 1;
    rUnknown = mControls->GetControl("NoSuchControl");
    EXPECT_EQ(rUnknown->mPressed, 0);
    EXPECT_EQ(rUnknown->mHeldTicks, 0);
    EXPECT_EQ(mControls->GetControl(nullptr), rUnknown);
}

TEST_F(ControlManagerTest, PressAndReleaseBetweenTwoTicksReportsNothing)
{
    KeyEvent(ALLEGRO_KEY_Z, true);
    KeyEvent(ALLEGRO_KEY_Z, false);
    mControls->Update();
    ControlState *rJump = mControls->GetControl("Jump");
    EXPECT_EQ(rJump->mPressed, 0);
    EXPECT_EQ(rJump->mHeld, 0);
    EXPECT_EQ(rJump->mReleased, 0);
    EXPECT_EQ(rJump->mHeldTicks, -1);
}

// The static queries read the booted manager's records, and answer no without one.
TEST_F(ControlManagerTest, StaticQueriesFollowTheBootedManagerAndSayNoWithoutOne)
{
    KeyEvent(ALLEGRO_KEY_Z, true);
    mControls->Update();
    EXPECT_FALSE(ControlManager::IsPressed("Jump"));
    GetApplication()->mControlManager = mControls;
    EXPECT_TRUE(ControlManager::IsPressed("Jump"));
    EXPECT_TRUE(ControlManager::IsHeld("Jump"));
    EXPECT_FALSE(ControlManager::IsPressed("Shoot"));
    EXPECT_FALSE(ControlManager::IsHeld("NoSuchControl"));
    mControls->Update();
    EXPECT_FALSE(ControlManager::IsPressed("Jump"));
    EXPECT_TRUE(ControlManager::IsHeld("Jump"));
}

TEST_F(ControlManagerTest, HeldCounterAdvancesOnlyInTicksAfterDeviceEvents)
{
    ControlState *rJump = mControls->GetControl("Jump");
    KeyEvent(ALLEGRO_KEY_Z, true);
    mControls->Update();
    EXPECT_EQ(rJump->mPressed, 1);
    EXPECT_EQ(rJump->mHeld, 1);
    EXPECT_EQ(rJump->mHeldTicks, 0);

    // No event: the state was consumed, the control stays held and the counter stands.
    mControls->Update();
    EXPECT_EQ(rJump->mPressed, 0);
    EXPECT_EQ(rJump->mHeld, 1);
    EXPECT_EQ(rJump->mHeldTicks, 0);

    KeyEvent(ALLEGRO_KEY_X, true);
    mControls->Update();
    EXPECT_EQ(rJump->mPressed, 0);
    EXPECT_EQ(rJump->mHeldTicks, 1);
    EXPECT_EQ(mControls->GetControl("Shoot")->mPressed, 1);
    KeyEvent(ALLEGRO_KEY_X, false);
    mControls->Update();
    EXPECT_EQ(rJump->mHeldTicks, 2);
    EXPECT_EQ(mControls->GetControl("Shoot")->mReleased, 1);

    KeyEvent(ALLEGRO_KEY_Z, false);
    mControls->Update();
    EXPECT_EQ(rJump->mReleased, 1);
    EXPECT_EQ(rJump->mHeld, 0);
    EXPECT_EQ(rJump->mHeldTicks, -1);
    EXPECT_EQ(rJump->mReleaseMarker, 1);
    mControls->Update();
    EXPECT_EQ(rJump->mReleased, 0);
    EXPECT_EQ(rJump->mReleaseMarker, 1);

    // The secondary key drives the same control; going down clears the marker.
    KeyEvent(ALLEGRO_KEY_SPACE, true);
    mControls->Update();
    EXPECT_EQ(rJump->mPressed, 1);
    EXPECT_EQ(rJump->mReleaseMarker, 0);

    mControls->ResetControlStates();
    EXPECT_EQ(rJump->mPressed, 0);
    EXPECT_EQ(rJump->mHeld, 0);
    EXPECT_EQ(rJump->mHeldTicks, 0);
}

TEST_F(ControlManagerTest, OnlyLentDevicesMoveAControl)
{
    mControls->SetBinding("Dash", 1, -1, 1, -1);
    ControlState *rDash = mControls->GetControl("Dash");

    // A keyboard event polls the key binding only; the mouse binding is not read.
    mMouse.buttons = 1;
    KeyEvent(ALLEGRO_KEY_C, true);
    mControls->Update();
    EXPECT_EQ(rDash->mPressed, 1);
    KeyEvent(ALLEGRO_KEY_C, false);
    mControls->Update();
    EXPECT_EQ(rDash->mReleased, 1);

    mControls->LendMouseState(&mMouse);
    mControls->Update();
    EXPECT_EQ(rDash->mPressed, 1);
    mMouse.buttons = 0;
    mControls->LendMouseState(&mMouse);
    mControls->Update();
    EXPECT_EQ(rDash->mReleased, 1);

    // A control with only a mouse binding ignores keyboard-only ticks entirely.
    mControls->SetBinding("Dash", 0, -1, -1, -1);
    mMouse.buttons = 1;
    mControls->LendMouseState(&mMouse);
    mControls->Update();
    EXPECT_EQ(rDash->mHeld, 1);
    KeyEvent(ALLEGRO_KEY_C, true);
    mControls->Update();
    EXPECT_EQ(rDash->mHeld, 1);
    EXPECT_EQ(rDash->mHeldTicks, 0);

    // Without a joystick in the Application a lent joystick state moves nothing.
    mControls->SetBinding("Jump", 0, -1, -1, 3);
    mJoystick.button[3] = 32767;
    mControls->LendJoystickState(&mJoystick);
    mControls->Update();
    EXPECT_EQ(mControls->GetControl("Jump")->mPressed, 0);
}

TEST(ControlBindingTest, JoystickCodesReadButtonsAndAxesTheJoystickHas)
{
    ALLEGRO_JOYSTICK_STATE tState;
    memset(&tState, 0, sizeof(tState));
    JoystickLayout tLayout;
    memset(&tLayout, 0, sizeof(tLayout));
    tLayout.mSticks = 2;
    tLayout.mAxes[0] = 2;
    tLayout.mAxes[1] = 2;
    tLayout.mButtons = 4;

    tState.button[3] = 1;
    tState.button[5] = 1;
    EXPECT_TRUE(JoystickCodeDown(&tState, &tLayout, 3));
    EXPECT_FALSE(JoystickCodeDown(&tState, &tLayout, 5));
    EXPECT_FALSE(JoystickCodeDown(&tState, nullptr, 3));
    EXPECT_FALSE(JoystickCodeDown(nullptr, &tLayout, 3));
    EXPECT_FALSE(JoystickCodeDown(&tState, &tLayout, -1));

    tState.stick[1].axis[0] = 0.5f;
    tState.stick[0].axis[1] = -0.3f;
    EXPECT_TRUE(JoystickCodeDown(&tState, &tLayout, 111));
    EXPECT_FALSE(JoystickCodeDown(&tState, &tLayout, 110));
    EXPECT_FALSE(JoystickCodeDown(&tState, &tLayout, 102));
    tState.stick[0].axis[1] = -0.31f;
    EXPECT_TRUE(JoystickCodeDown(&tState, &tLayout, 102));

    // Axes and sticks the joystick lacks are never read.
    tState.stick[0].axis[2] = 1.0f;
    tState.stick[2].axis[0] = 1.0f;
    EXPECT_FALSE(JoystickCodeDown(&tState, &tLayout, 105));
    EXPECT_FALSE(JoystickCodeDown(&tState, &tLayout, 121));
    EXPECT_FALSE(JoystickCodeDown(&tState, &tLayout, 100 + 17 * 10 + 1));
}

TEST(ControlBindingTest, KeyAndMouseReadsRefuseCodesOutsideTheDevice)
{
    ALLEGRO_KEYBOARD_STATE tKeys;
    memset(&tKeys, 0, sizeof(tKeys));
    memset(tKeys.__key_down__internal__, 0xff, sizeof(tKeys.__key_down__internal__));
    EXPECT_TRUE(KeyCodeDown(&tKeys, ALLEGRO_KEY_CAPSLOCK));
    EXPECT_FALSE(KeyCodeDown(&tKeys, 0));
    EXPECT_FALSE(KeyCodeDown(&tKeys, ALLEGRO_KEY_MAX));
    EXPECT_FALSE(KeyCodeDown(&tKeys, -5));
    EXPECT_FALSE(KeyCodeDown(nullptr, 1));

    ALLEGRO_MOUSE_STATE tMouse;
    memset(&tMouse, 0, sizeof(tMouse));
    tMouse.buttons = 2;
    EXPECT_TRUE(MouseButtonDown(&tMouse, 2));
    EXPECT_FALSE(MouseButtonDown(&tMouse, 1));
    tMouse.buttons = -1;
    EXPECT_TRUE(MouseButtonDown(&tMouse, 32));
    EXPECT_FALSE(MouseButtonDown(&tMouse, 0));
    EXPECT_FALSE(MouseButtonDown(&tMouse, 33));
}

TEST(ControlBindingTest, BindingTextsGiveTheirCodesAndBadTextsAreRefused)
{
    struct Case
    {
        const char *mText;
        bool mAccepted;
        int32_t mKey, mMouse, mJoystick;
    };
    const Case cCases[] =
    {
        {nullptr, true, -1, -1, -1},
        {"NULL", true, -1, -1, -1},
        {"KEY", true, -1, -1, -1},
        {"MOS", true, -1, -1, -1},
        {"KEY26", true, 26, -1, -1},
        {"KEY226", true, 226, -1, -1},
        {"MOS1", true, -1, 1, -1},
        {"MOS32", true, -1, 32, -1},
        {"JOYBTN3", true, -1, -1, 3},
        {"JOYBTN12", true, -1, -1, 12},
        {"JOYBTN07", true, -1, -1, 7},
        {"JOYSTK_1_0_P", true, -1, -1, 111},
        {"JOYSTK_1_0_N", true, -1, -1, 110},
        {"JOYSTK_0_2_P", true, -1, -1, 105},
        {"JOYSTK_9_4_P", true, -1, -1, 199},
        {"JOYSTK_1_0_Q", true, -1, -1, 110},
        {"KEY0", false, -1, -1, -1},
        {"KEY227", false, -1, -1, -1},
        {"KEYZ", false, -1, -1, -1},
        {"KEY2x", false, -1, -1, -1},
        {"MOS0", false, -1, -1, -1},
        {"MOS33", false, -1, -1, -1},
        {"JOYBTN", false, -1, -1, -1},
        {"JOYBTNx", false, -1, -1, -1},
        {"JOYBTN3x", false, -1, -1, -1},
        {"JOYSTK_1_0", false, -1, -1, -1},
        {"JOYSTK_1_5_P", false, -1, -1, -1},
        {"JOYSTK_a_0_P", false, -1, -1, -1},
        {"JOYPAD", false, -1, -1, -1},
        {"Banana", false, -1, -1, -1},
        {"", false, -1, -1, -1},
    };
    for(const Case &rCase : cCases)
    {
        ControlBindingSet tSet = {5, 5, 5};
        testing::internal::CaptureStderr();
        bool tAccepted = ParseBindingText(rCase.mText, tSet);
        CapturedStderr();
        const char *rShown = rCase.mText ? rCase.mText : "(null)";
        EXPECT_EQ(tAccepted, rCase.mAccepted) << rShown;
        EXPECT_EQ(tSet.mKey, rCase.mKey) << rShown;
        EXPECT_EQ(tSet.mMouseButton, rCase.mMouse) << rShown;
        EXPECT_EQ(tSet.mJoystick, rCase.mJoystick) << rShown;
    }

    ControlBindingSet tSet;
    testing::internal::CaptureStderr();
    ParseBindingText("JOYSTK_1_0_P", tSet);
    ParseBindingText("JOYBTN3", tSet);
    ParseBindingText("JOYSTK_1_0_Q", tSet);
    ParseBindingText("JOYPAD", tSet);
    ParseBindingText("Banana", tSet);
    std::string tOut = CapturedStderr();
    EXPECT_NE(tOut.find("Successfully bound JOYSTK_1_0_P to 111\n"), std::string::npos);
    EXPECT_NE(tOut.find("Set joystick button to 3\n"), std::string::npos);
    EXPECT_NE(tOut.find("Warning, type JOYSTK_1_0_Q should be P or N, assuming N for now.\n"), std::string::npos);
    EXPECT_NE(tOut.find("Warning, type JOYPAD is not a valid Joystick type.\n"), std::string::npos);
    EXPECT_NE(tOut.find("Warning, could not resolve control type Banana\n"), std::string::npos);
}

TEST_F(ControlManagerTest, RebindingReplacesASetAndResetsTheControl)
{
    ControlState *rJump = mControls->GetControl("Jump");
    KeyEvent(ALLEGRO_KEY_Z, true);
    mControls->Update();
    ASSERT_EQ(rJump->mHeld, 1);

    mControls->SetBindingByNames("Jump", "KEY24", "MOS2");
    EXPECT_EQ(rJump->mKeyPrimary, 24);
    EXPECT_EQ(rJump->mMousePrimary, -1);
    EXPECT_EQ(rJump->mKeySecondary, -1);
    EXPECT_EQ(rJump->mMouseSecondary, 2);
    EXPECT_EQ(rJump->mHeld, 0);
    EXPECT_EQ(rJump->mHeldTicks, -1);

    // A refused text leaves its set unbound.
    testing::internal::CaptureStderr();
    mControls->SetBindingByNames("Jump", "Banana", "KEY26");
    CapturedStderr();
    EXPECT_EQ(rJump->mKeyPrimary, -1);
    EXPECT_EQ(rJump->mKeySecondary, 26);

    ASSERT_NE(mControls->GetSecondaryBindingName("Jump"), nullptr);
    if(!al_is_keyboard_installed())
    {
        EXPECT_STREQ(mControls->GetSecondaryBindingName("Jump"), "Key 26");
    }
    EXPECT_EQ(mControls->GetPrimaryBindingName("Jump"), nullptr);
    EXPECT_EQ(mControls->GetPrimaryBindingName("NoSuchControl"), nullptr);

    mControls->SetBinding("NoSuchControl", 0, 1, 1, 1);
    mControls->SetBindingByNames("NoSuchControl", "KEY1", "KEY2");
    EXPECT_EQ(mControls->GetControl("NoSuchControl")->mKeyPrimary, 0);

    NamedLinkedList *nCopy = mControls->CopyControlList();
    ASSERT_EQ(nCopy->GetCount(), mControls->GetControlList()->GetCount());
    ControlState *rCopiedJump = (ControlState *)nCopy->GetElementByName("Jump");
    ASSERT_NE(rCopiedJump, nullptr);
    EXPECT_NE(rCopiedJump, rJump);
    EXPECT_EQ(rCopiedJump->mKeySecondary, 26);
    delete nCopy;
}

TEST_F(ControlManagerTest, TypedCharactersFollowShiftAndTheQueueIsCapped)
{
    int32_t tKey = 0, tMouse = 0, tJoystick = 0;
    mControls->GetLastInput(&tKey, &tMouse, &tJoystick);
    EXPECT_EQ(tKey, -1);
    EXPECT_EQ(tJoystick, -1);

    mControls->OnKey(ALLEGRO_KEY_H, -1, -1);
    mControls->OnKey(ALLEGRO_KEY_1, -1, -1);
    KeyEvent(ALLEGRO_KEY_LSHIFT, true);
    mControls->OnKey(ALLEGRO_KEY_H, -1, -1);
    mControls->OnKey(ALLEGRO_KEY_1, -1, -1);
    mControls->OnKey(ALLEGRO_KEY_SLASH, -1, -1);
    KeyEvent(ALLEGRO_KEY_LSHIFT, false);
    KeyEvent(ALLEGRO_KEY_RSHIFT, true);
    mControls->OnKey(ALLEGRO_KEY_QUOTE, -1, -1);
    mControls->OnKey(ALLEGRO_KEY_F1, -1, -1);
    mControls->OnKey(ALLEGRO_KEY_ENTER, -1, -1);
    mControls->OnKey(ALLEGRO_KEY_BACKSPACE, -1, -1);
    mControls->OnKey(ALLEGRO_KEY_ESCAPE, -1, -1);
    mControls->OnKey(-1, 2, -1);

    const uint8_t cExpected[] = {'h', '1', 'H', '!', '?', '"', 254, 255, 253};
    for(uint8_t tCharacter : cExpected) EXPECT_EQ(mControls->PopTypedCharacter(), tCharacter);
    EXPECT_EQ(mControls->PopTypedCharacter(), 0);

    mControls->GetLastInput(&tKey, &tMouse, &tJoystick);
    EXPECT_EQ(tKey, -1);
    EXPECT_EQ(tMouse, 2);
    EXPECT_EQ(tJoystick, -1);
    mControls->OnKey(-1, -1, 4);
    mControls->GetLastInput(nullptr, nullptr, &tJoystick);
    EXPECT_EQ(tJoystick, 4);
    mControls->ResetLastInput();
    mControls->GetLastInput(&tKey, &tMouse, &tJoystick);
    EXPECT_EQ(tMouse, -1);
    EXPECT_EQ(tJoystick, -1);

    // A queue nobody reads keeps only the newest characters.
    KeyEvent(ALLEGRO_KEY_RSHIFT, false);
    mControls->OnKey(ALLEGRO_KEY_A, -1, -1);
    for(int i = 0; i < cMaxTypedCharacters; i++) mControls->OnKey(ALLEGRO_KEY_B, -1, -1);
    int tCount = 0;
    while(mControls->PopTypedCharacter() == 'b') tCount++;
    EXPECT_EQ(tCount, cMaxTypedCharacters);

    mControls->OnKey(ALLEGRO_KEY_A, -1, -1);
    mControls->ClearTypedCharacters();
    EXPECT_EQ(mControls->PopTypedCharacter(), 0);
}

TEST(ControlMouseTest, WindowPixelsMapThroughTheLetterbox)
{
    ViewportRect tWhole = {0, 0, 0, 0};
    int32_t tX = -7, tY = -7;
    ASSERT_TRUE(MapWindowToView(400, 300, 800, 600, 480, 360, tWhole, tX, tY));
    EXPECT_EQ(tX, 240);
    EXPECT_EQ(tY, 180);

    // A wide window: bars left and right.
    ViewportRect tRect = {0, 0, 0, 0};
    int32_t tViewportW = 0, tViewportH = 0;
    FitViewport(1000, 600, 480, 360, false, tRect, tViewportW, tViewportH);
    ASSERT_EQ(tRect.mX, 100);
    ASSERT_TRUE(MapWindowToView(500, 300, 1000, 600, 480, 360, tRect, tX, tY));
    EXPECT_EQ(tX, 240);
    EXPECT_EQ(tY, 180);
    ASSERT_TRUE(MapWindowToView(100, 0, 1000, 600, 480, 360, tRect, tX, tY));
    EXPECT_EQ(tX, 0);
    EXPECT_EQ(tY, 0);

    // The rectangle is in GL coordinates: its y counts from the window's bottom.
    ViewportRect tLowHalf = {0, 0, 800, 300};
    ASSERT_TRUE(MapWindowToView(0, 300, 800, 600, 480, 360, tLowHalf, tX, tY));
    EXPECT_EQ(tY, 0);
    ASSERT_TRUE(MapWindowToView(0, 450, 800, 600, 480, 360, tLowHalf, tX, tY));
    EXPECT_EQ(tY, 180);

    tX = 11;
    tY = 12;
    EXPECT_FALSE(MapWindowToView(5, 5, 0, 600, 480, 360, tWhole, tX, tY));
    EXPECT_FALSE(MapWindowToView(5, 5, 800, 0, 480, 360, tRect, tX, tY));
    EXPECT_FALSE(MapWindowToView(5, 5, 800, 600, 480, 360, ViewportRect{0, 0, -3, 600}, tX, tY));
    EXPECT_EQ(tX, 11);
    EXPECT_EQ(tY, 12);
}

TEST_F(ControlManagerTest, MousePositionKeepsItsValueForAZeroWindow)
{
    Application *rApp = GetApplication();
    SavedApplication tSaved;
    tSaved.Save();
    rApp->mWindowWidth = 800;
    rApp->mWindowHeight = 600;
    rApp->mVirtualWidth = 480;
    rApp->mVirtualHeight = 360;
    DisplayManager::ComputeViewport();
    mControls->SetMousePosition(400, 300);
    int32_t tX = 0, tY = 0, tZ = 5;
    mControls->GetMousePosition(&tX, &tY, &tZ);
    EXPECT_EQ(tX, 240);
    EXPECT_EQ(tY, 180);
    EXPECT_EQ(tZ, 0);

    rApp->mWindowWidth = 0;
    rApp->mWindowHeight = 0;
    mControls->SetMousePosition(10, 10);
    mControls->GetMousePosition(&tX, &tY, nullptr);
    EXPECT_EQ(tX, 240);
    EXPECT_EQ(tY, 180);
    tSaved.Restore();
}

TEST_F(ControlManagerTest, RebindFromLuaBindsJoystickAndClearsKeys)
{
    lua_State *L = luaL_newstate();
    RegisterControlManagerLua(L);

    // Before the manager exists the call fails cleanly.
    testing::internal::CaptureStderr();
    ASSERT_EQ(luaL_dostring(L, "CM_Rebind('Jump', 'JOYBTN3', 'NULL')"), 0);
    EXPECT_NE(CapturedStderr().find("CM_Rebind:  Failed, no control manager exists yet"), std::string::npos);
    EXPECT_EQ(mControls->GetControl("Jump")->mKeyPrimary, 26);

    GetApplication()->mControlManager = mControls;
    testing::internal::CaptureStderr();
    ASSERT_EQ(luaL_dostring(L, "CM_Rebind('Jump', 'JOYBTN3', 'NULL')"), 0);
    ASSERT_EQ(luaL_dostring(L, "CM_Rebind('Jump', 'JOYBTN4')"), 0);
    ASSERT_EQ(luaL_dostring(L, "CM_Rebind('Jump', {}, 'NULL')"), 0);
    std::string tOut = CapturedStderr();
    EXPECT_NE(tOut.find("CM_Rebind: Failed, invalid argument list\n"), std::string::npos);
    EXPECT_EQ(lua_gettop(L), 0);

    ControlState *rJump = mControls->GetControl("Jump");
    EXPECT_EQ(rJump->mJoystickPrimary, 3);
    EXPECT_EQ(rJump->mKeyPrimary, -1);
    EXPECT_EQ(rJump->mKeySecondary, -1);
    KeyEvent(ALLEGRO_KEY_Z, true);
    KeyEvent(ALLEGRO_KEY_SPACE, true);
    mControls->Update();
    EXPECT_EQ(rJump->mPressed, 0);

    ASSERT_EQ(luaL_dostring(L, "CM_Rebind('Console', 'KEY60', nil)"), 0);
    EXPECT_EQ(mControls->GetControl("Console")->mKeyPrimary, 60);
    EXPECT_EQ(mControls->GetControl("Console")->mKeySecondary, -1);
    lua_close(L);
}

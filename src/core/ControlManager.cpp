#include "core/ControlManager.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "core/Application.h"
#include "core/DebugPrint.h"
#include "core/NamedLinkedList.h"
#include "core/Utilities.h"
#include "core/render/DisplayManager.h"

// Controls that nothing binds by default but that the debug hotkeys, the console, the
// rebinding screen, the level warps and the weapon hotkeys read. They exist unbound so that
// Configuration.lua can bind them with "CM_Rebind".
static const char *const cUnboundControls[] =
{
    "Select", "CameraToggle", "CloseGame", "Console", "SpeedUp", "SlowDown", "ToggleHitboxes",
    "DisplayCameraTopLeft", "ConnectToPlinkard",
    "Warp0", "Warp1", "Warp2", "Warp3", "Warp4", "Warp5", "Warp6", "Warp7", "Warp8",
    "Weapon1", "Weapon2", "Weapon3", "Weapon4", "Weapon5", "Weapon6", "Weapon7", "Weapon8", "Weapon9",
};

bool MapWindowToView(int32_t pWindowX, int32_t pWindowY, int32_t pWindowW, int32_t pWindowH,
                     int32_t pVirtualW, int32_t pVirtualH, const ViewportRect &pLetterbox,
                     int32_t &sViewX, int32_t &sViewY)
{
    if(pWindowW <= 0 || pWindowH <= 0) return false;
    int32_t tAreaX = 0;
    int32_t tAreaY = 0;
    int32_t tAreaW = pWindowW;
    int32_t tAreaH = pWindowH;
    if(pLetterbox.mW != 0 && pLetterbox.mH != 0)
    {
        tAreaX = pLetterbox.mX;
        tAreaW = pLetterbox.mW;
        tAreaH = pLetterbox.mH;
        tAreaY = pWindowH - pLetterbox.mY - pLetterbox.mH;
    }
    if(tAreaW <= 0 || tAreaH <= 0) return false;

    sViewX = (int32_t)((int64_t)pVirtualW * (pWindowX - tAreaX) / tAreaW);
    sViewY = (int32_t)((int64_t)pVirtualH * (pWindowY - tAreaY) / tAreaH);
    return true;
}

static char **NewNameArray(int32_t pCount)
{
    if(pCount <= 0) return nullptr;
    return (char **)calloc((size_t)pCount, sizeof(char *));
}

static void FreeNameArray(char **pNames, int32_t pCount)
{
    if(!pNames) return;
    for(int32_t i = 0; i < pCount; i++) free(pNames[i]);
    free(pNames);
}

static void ResetControlRecord(ControlState *pControl)
{
    pControl->mPressed = 0;
    pControl->mReleased = 0;
    pControl->mHeld = 0;
    pControl->mHeldTicks = -1;
    pControl->mReleaseMarker = 0;
}

ControlManager::ControlManager()
{
    // No input yet: a rebinding screen read before the first reset must not see key 0.
    mLastKey = -1;
    mLastMouseButton = -1;
    mLastJoystickButton = -1;
    mControlList = new NamedLinkedList(1);
    mScratchControl = (ControlState *)calloc(1, sizeof(ControlState));
    mMouseX = 0;
    mMouseY = 0;
    mKeyNameCount = 0;
    mKeyNames = nullptr;
    mMouseNameCount = 0;
    mMouseNames = nullptr;
    mJoystickNameCount = 0;
    mJoystickNames = nullptr;
    mTypedCharacters = new NamedLinkedList(1);
    rKeyboardState = nullptr;
    rMouseState = nullptr;
    rJoystickState = nullptr;
    BuildNames();
    BuildCharacterTable();
}

ControlManager::~ControlManager()
{
    delete mControlList;
    delete mTypedCharacters;
    free(mScratchControl);
    FreeNameArray(mKeyNames, mKeyNameCount);
    FreeNameArray(mMouseNames, mMouseNameCount);
    FreeNameArray(mJoystickNames, mJoystickNameCount);
}

ControlManager *ControlManager::Get()
{
    return GetApplication()->mControlManager;
}

// Without the devices installed (tests, a failed boot) the tables still cover every code, so
// a bound key always has a name to show.
void ControlManager::BuildNames()
{
    char tBuffer[32];
    bool tHasKeyboard = al_is_keyboard_installed();
    mKeyNameCount = ALLEGRO_KEY_MAX;
    mKeyNames = NewNameArray(mKeyNameCount);
    for(int32_t i = 0; mKeyNames && i < mKeyNameCount; i++)
    {
        if(tHasKeyboard)
        {
            ResetString(&mKeyNames[i], al_keycode_to_name(i));
        }
        else
        {
            snprintf(tBuffer, sizeof(tBuffer), "Key %i", i);
            ResetString(&mKeyNames[i], tBuffer);
        }
    }

    // Mouse buttons count from 1, so the table runs to the button count itself.
    mMouseNameCount = al_is_mouse_installed() ? (int32_t)al_get_mouse_num_buttons() + 1 : 0;
    mMouseNames = NewNameArray(mMouseNameCount);
    for(int32_t i = 0; mMouseNames && i < mMouseNameCount; i++)
    {
        snprintf(tBuffer, sizeof(tBuffer), "Mouse %i", i);
        ResetString(&mMouseNames[i], tBuffer);
    }
    if(!mMouseNames) mMouseNameCount = 0;

    ALLEGRO_JOYSTICK *rJoystick = nullptr;
    if(al_is_joystick_installed() && al_get_num_joysticks() > 0) rJoystick = al_get_joystick(0);
    mJoystickNameCount = rJoystick ? al_get_joystick_num_buttons(rJoystick) : 0;
    mJoystickNames = NewNameArray(mJoystickNameCount);
    for(int32_t i = 0; mJoystickNames && i < mJoystickNameCount; i++)
    {
        ResetString(&mJoystickNames[i], al_get_joystick_button_name(rJoystick, i));
    }
    if(!mJoystickNames) mJoystickNameCount = 0;
}

void ControlManager::BuildCharacterTable()
{
    memset(mCharacterTable, 0, sizeof(mCharacterTable));
    for(int32_t i = 0; i < 26; i++)
    {
        mCharacterTable[ALLEGRO_KEY_A + i][0] = (uint8_t)('a' + i);
        mCharacterTable[ALLEGRO_KEY_A + i][1] = (uint8_t)('A' + i);
    }
    const char *cShiftedDigits = ")!@#$%^&*(";
    for(int32_t i = 0; i < 10; i++)
    {
        mCharacterTable[ALLEGRO_KEY_0 + i][0] = (uint8_t)('0' + i);
        mCharacterTable[ALLEGRO_KEY_0 + i][1] = (uint8_t)cShiftedDigits[i];
    }

    struct { int32_t mKey; uint8_t mPlain; uint8_t mShifted; } cSymbols[] =
    {
        {ALLEGRO_KEY_TILDE, '`', '~'}, {ALLEGRO_KEY_MINUS, '-', '_'}, {ALLEGRO_KEY_EQUALS, '=', '+'},
        {ALLEGRO_KEY_OPENBRACE, '[', '{'}, {ALLEGRO_KEY_CLOSEBRACE, ']', '}'},
        {ALLEGRO_KEY_SEMICOLON, ';', ':'}, {ALLEGRO_KEY_QUOTE, '\'', '"'},
        {ALLEGRO_KEY_BACKSLASH, '\\', '|'}, {ALLEGRO_KEY_COMMA, ',', '<'},
        {ALLEGRO_KEY_FULLSTOP, '.', '>'}, {ALLEGRO_KEY_SLASH, '/', '?'}, {ALLEGRO_KEY_SPACE, ' ', ' '},
        {ALLEGRO_KEY_ESCAPE, cTypedEscape, cTypedEscape}, {ALLEGRO_KEY_BACKSPACE, cTypedBackspace, cTypedBackspace},
        {ALLEGRO_KEY_ENTER, cTypedEnter, cTypedEnter},
    };
    for(const auto &rSymbol : cSymbols)
    {
        mCharacterTable[rSymbol.mKey][0] = rSymbol.mPlain;
        mCharacterTable[rSymbol.mKey][1] = rSymbol.mShifted;
    }
}

void ControlManager::AddControl(const char *pName, int32_t pKeyPrimary, int32_t pKeySecondary)
{
    ControlState *nControl = (ControlState *)malloc(sizeof(ControlState));
    if(!nControl) return;
    nControl->mKeyPrimary = pKeyPrimary;
    nControl->mKeySecondary = pKeySecondary;
    nControl->mMousePrimary = -1;
    nControl->mMouseSecondary = -1;
    nControl->mJoystickPrimary = -1;
    nControl->mJoystickSecondary = -1;
    ResetControlRecord(nControl);
    mControlList->AddElement(pName, nControl);
}

void ControlManager::PrintJoystickBootDump()
{
    Debug::PushPrint(1, "[Joystick Boot] Begin dump\n");
    int32_t tCount = al_is_joystick_installed() ? al_get_num_joysticks() : 0;
    Debug::Print("Total Joysticks connected: %i\n", tCount);
    ALLEGRO_JOYSTICK *rJoystick = tCount > 0 ? al_get_joystick(0) : nullptr;
    if(rJoystick)
    {
        const char *rName = al_get_joystick_name(rJoystick);
        Debug::Print(" Joystick name: %s\n", rName ? rName : "");
        Debug::Print(" Buttons: %i\n", al_get_joystick_num_buttons(rJoystick));
        Debug::Print(" Sticks: %i\n", al_get_joystick_num_sticks(rJoystick));
    }
    else
    {
        Debug::Print(" Error:  Could not read joystick in slot 0.\n");
    }
    Debug::PopPrint("[Joystick Boot] End dump\n");
}

void ControlManager::BootDefaults()
{
    AddControl("Up", ALLEGRO_KEY_UP, ALLEGRO_KEY_W);
    AddControl("Down", ALLEGRO_KEY_DOWN, ALLEGRO_KEY_S);
    AddControl("Left", ALLEGRO_KEY_LEFT, ALLEGRO_KEY_A);
    AddControl("Right", ALLEGRO_KEY_RIGHT, ALLEGRO_KEY_D);
    AddControl("Jump", ALLEGRO_KEY_Z, ALLEGRO_KEY_SPACE);
    AddControl("Shoot", ALLEGRO_KEY_X, ALLEGRO_KEY_LCTRL);
    AddControl("Dash", ALLEGRO_KEY_C, -1);
    AddControl("Pause", ALLEGRO_KEY_ENTER, -1);
    AddControl("ShoulderL", ALLEGRO_KEY_Q, -1);
    AddControl("ShoulderR", ALLEGRO_KEY_E, -1);

    if(GetApplication()->mBootJoystick) PrintJoystickBootDump();

    AddControl("GUI_Lf", ALLEGRO_KEY_LEFT, -1);
    AddControl("GUI_Up", ALLEGRO_KEY_UP, -1);
    AddControl("GUI_Rg", ALLEGRO_KEY_RIGHT, -1);
    AddControl("GUI_Dn", ALLEGRO_KEY_DOWN, -1);
    AddControl("Enter", ALLEGRO_KEY_ENTER, -1);
    AddControl("ToggleFullscreen", ALLEGRO_KEY_F11, -1);

    for(const char *rName : cUnboundControls) AddControl(rName, -1, -1);
}

ControlState *ControlManager::GetControl(const char *pName)
{
    ControlState *rControl = pName ? (ControlState *)mControlList->GetElementByName(pName) : nullptr;
    if(rControl) return rControl;
    memset(mScratchControl, 0, sizeof(ControlState));
    return mScratchControl;
}

bool ControlManager::IsPressed(const char *pName)
{
    ControlManager *rControls = Get();
    return rControls && rControls->GetControl(pName)->mPressed;
}

bool ControlManager::IsHeld(const char *pName)
{
    ControlManager *rControls = Get();
    return rControls && rControls->GetControl(pName)->mHeld;
}

NamedLinkedList *ControlManager::CopyControlList()
{
    NamedLinkedList *nList = new NamedLinkedList(1);
    ControlState *rControl = (ControlState *)mControlList->PushIterator();
    while(rControl)
    {
        ControlState *nCopy = (ControlState *)malloc(sizeof(ControlState));
        if(nCopy)
        {
            memcpy(nCopy, rControl, sizeof(ControlState));
            nList->AddElement(mControlList->GetIteratorName(), nCopy);
        }
        rControl = (ControlState *)mControlList->IterateNext();
    }
    return nList;
}

void ControlManager::UpdateControl(const char *pName, ControlState *pControl, const JoystickLayout *pLayout)
{
    bool tBound = false;
    bool tDown = false;
    const int32_t cKeys[2] = {pControl->mKeyPrimary, pControl->mKeySecondary};
    const int32_t cButtons[2] = {pControl->mMousePrimary, pControl->mMouseSecondary};
    const int32_t cJoystickCodes[2] = {pControl->mJoystickPrimary, pControl->mJoystickSecondary};
    for(int32_t i = 0; i < 2; i++)
    {
        if(rKeyboardState && cKeys[i] != -1)
        {
            tBound = true;
            if(KeyCodeDown(rKeyboardState, cKeys[i])) tDown = true;
        }
        if(rMouseState && cButtons[i] != -1)
        {
            tBound = true;
            if(MouseButtonDown(rMouseState, cButtons[i])) tDown = true;
        }
        if(rJoystickState && cJoystickCodes[i] != -1)
        {
            tBound = true;
            if(JoystickCodeDown(rJoystickState, pLayout, cJoystickCodes[i])) tDown = true;
        }
    }

    pControl->mPressed = 0;
    pControl->mReleased = 0;
    if(tBound)
    {
        if(tDown)
        {
            pControl->mReleaseMarker = 0;
            if(pControl->mHeld == 1)
            {
                pControl->mHeldTicks++;
            }
            else
            {
                pControl->mPressed = 1;
                pControl->mHeldTicks = 0;
            }
        }
        else if(pControl->mHeld == 1)
        {
            pControl->mReleased = 1;
            pControl->mHeldTicks = -1;
            pControl->mReleaseMarker = 1;
        }
        pControl->mHeld = tDown ? 1 : 0;
    }
    Debug::Print("State of %s is %i\n", pName, (int)pControl->mHeld);
}

void ControlManager::Update()
{
    Debug::PushPrintTag("Debug_ControlManager", "[ControlManager Begin Update]\n");
    Debug::Print("Begin iteration of %i controls\n", mControlList->GetCount());

    JoystickLayout tLayout;
    const JoystickLayout *rLayout = nullptr;
    ALLEGRO_JOYSTICK *rJoystick = GetApplication()->rJoystick;
    if(rJoystickState && rJoystick)
    {
        ReadJoystickLayout(rJoystick, tLayout);
        rLayout = &tLayout;
    }

    ControlState *rControl = (ControlState *)mControlList->PushIterator();
    while(rControl)
    {
        UpdateControl(mControlList->GetIteratorName(), rControl, rLayout);
        rControl = (ControlState *)mControlList->IterateNext();
    }

    ClearDeviceStates();
    Debug::PopPrint("[ControlManager Complete Update]\n");
}

void ControlManager::ClearDeviceStates()
{
    rKeyboardState = nullptr;
    rMouseState = nullptr;
    rJoystickState = nullptr;
}

void ControlManager::OnKey(int32_t pKey, int32_t pMouseButton, int32_t pJoystickButton)
{
    mLastKey = pKey;
    mLastMouseButton = pMouseButton;
    mLastJoystickButton = pJoystickButton;
    if(pKey < 1 || pKey >= ALLEGRO_KEY_MAX) return;

    bool tShift = KeyCodeDown(rKeyboardState, ALLEGRO_KEY_LSHIFT) || KeyCodeDown(rKeyboardState, ALLEGRO_KEY_RSHIFT);
    uint8_t tCharacter = mCharacterTable[pKey][tShift ? 1 : 0];
    if(!tCharacter) return;

    // A queue nobody reads must not grow for the whole run.
    while(mTypedCharacters->GetCount() >= cMaxTypedCharacters) mTypedCharacters->RemoveHead();
    uint8_t *nCharacter = (uint8_t *)malloc(sizeof(uint8_t));
    if(!nCharacter) return;
    *nCharacter = tCharacter;
    mTypedCharacters->AddElement("X", nCharacter);
}

void ControlManager::ResetLastInput()
{
    mLastKey = -1;
    mLastMouseButton = -1;
    mLastJoystickButton = -1;
}

void ControlManager::GetLastInput(int32_t *sKey, int32_t *sMouseButton, int32_t *sJoystickButton)
{
    if(sKey) *sKey = mLastKey;
    if(sMouseButton) *sMouseButton = mLastMouseButton;
    if(sJoystickButton) *sJoystickButton = mLastJoystickButton;
}

uint8_t ControlManager::PopTypedCharacter()
{
    uint8_t *rCharacter = (uint8_t *)mTypedCharacters->GetHeadData();
    if(!rCharacter) return 0;
    uint8_t tCharacter = *rCharacter;
    mTypedCharacters->RemoveHead();
    return tCharacter;
}

void ControlManager::ClearTypedCharacters()
{
    mTypedCharacters->Clear();
}

void ControlManager::SetMousePosition(int32_t pWindowX, int32_t pWindowY)
{
    Application *rApp = GetApplication();
    MapWindowToView(pWindowX, pWindowY, rApp->mWindowWidth, rApp->mWindowHeight, rApp->mVirtualWidth,
                    rApp->mVirtualHeight, DisplayManager::GetLetterbox(), mMouseX, mMouseY);
}

void ControlManager::GetMousePosition(int32_t *sX, int32_t *sY, int32_t *sZ)
{
    if(sX) *sX = mMouseX;
    if(sY) *sY = mMouseY;
    if(sZ) *sZ = 0;
}

void ControlManager::ResetControlStates()
{
    ControlState *rControl = (ControlState *)mControlList->PushIterator();
    while(rControl)
    {
        rControl->mPressed = 0;
        rControl->mReleased = 0;
        rControl->mHeld = 0;
        rControl->mReleaseMarker = 0;
        rControl = (ControlState *)mControlList->IterateNext();
    }
}

const char *ControlManager::GetBindingName(int32_t pKey, int32_t pMouseButton, int32_t pJoystick)
{
    if(pKey >= 0 && pKey < mKeyNameCount) return mKeyNames[pKey];
    if(pMouseButton >= 0 && pMouseButton < mMouseNameCount) return mMouseNames[pMouseButton];
    if(pJoystick >= 0 && pJoystick < mJoystickNameCount) return mJoystickNames[pJoystick];
    return nullptr;
}

const char *ControlManager::GetPrimaryBindingName(const char *pControlName)
{
    ControlState *rControl = pControlName ? (ControlState *)mControlList->GetElementByName(pControlName) : nullptr;
    if(!rControl) return nullptr;
    return GetBindingName(rControl->mKeyPrimary, rControl->mMousePrimary, rControl->mJoystickPrimary);
}

const char *ControlManager::GetSecondaryBindingName(const char *pControlName)
{
    ControlState *rControl = pControlName ? (ControlState *)mControlList->GetElementByName(pControlName) : nullptr;
    if(!rControl) return nullptr;
    return GetBindingName(rControl->mKeySecondary, rControl->mMouseSecondary, rControl->mJoystickSecondary);
}

void ControlManager::SetBinding(const char *pControlName, uint8_t pSecondary, int32_t pKey, int32_t pMouseButton, int32_t pJoystick)
{
    ControlState *rControl = pControlName ? (ControlState *)mControlList->GetElementByName(pControlName) : nullptr;
    if(!rControl) return;
    if(pSecondary)
    {
        rControl->mKeySecondary = pKey;
        rControl->mMouseSecondary = pMouseButton;
        rControl->mJoystickSecondary = pJoystick;
    }
    else
    {
        rControl->mKeyPrimary = pKey;
        rControl->mMousePrimary = pMouseButton;
        rControl->mJoystickPrimary = pJoystick;
    }
    ResetControlRecord(rControl);
}

void ControlManager::SetBindingByNames(const char *pControlName, const char *pPrimaryText, const char *pSecondaryText)
{
    if(!pControlName || !mControlList->GetElementByName(pControlName)) return;
    ControlBindingSet tPrimary;
    ControlBindingSet tSecondary;
    ParseBindingText(pPrimaryText, tPrimary);
    ParseBindingText(pSecondaryText, tSecondary);
    SetBinding(pControlName, 0, tPrimary.mKey, tPrimary.mMouseButton, tPrimary.mJoystick);
    SetBinding(pControlName, 1, tSecondary.mKey, tSecondary.mMouseButton, tSecondary.mJoystick);
}

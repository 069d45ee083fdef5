#pragma once

#include <allegro5/allegro.h>
#include <cstdint>

#include "core/ControlBinding.h"

class NamedLinkedList;
struct ViewportRect;
struct lua_State;

// One named control: two binding sets and what the last ticks made of them.
// mHeldTicks is 0 in the tick the control went down and counts the further ticks in which
// its device reported while it stayed down; -1 when up or never pressed.
struct ControlState
{
    int32_t mKeyPrimary, mKeySecondary;
    int32_t mMousePrimary, mMouseSecondary;
    int32_t mJoystickPrimary, mJoystickSecondary;
    uint8_t mPressed;
    uint8_t mReleased;
    uint8_t mHeld;
    int32_t mHeldTicks;
    uint8_t mReleaseMarker;
};

// Special characters queued for keys that type no printable character.
static const uint8_t cTypedEscape = 253;
static const uint8_t cTypedEnter = 254;
static const uint8_t cTypedBackspace = 255;

// Longest typed-character queue; the oldest characters give way to new ones.
static const int32_t cMaxTypedCharacters = 256;

// Maps a window pixel to the logical view. The view lies in the letterbox rectangle (GL
// viewport coordinates, y from the window's bottom), or fills the window when the rectangle
// has no size. Returns false, leaving the outputs alone, when the window or the area to map
// through has no size.
bool MapWindowToView(int32_t pWindowX, int32_t pWindowY, int32_t pWindowW, int32_t pWindowH,
                     int32_t pVirtualW, int32_t pVirtualH, const ViewportRect &pLetterbox,
                     int32_t &sViewX, int32_t &sViewY);

// Turns raw device input into named controls. The event handler lends the frame's device
// states by pointer as their events arrive; Update reads each lent state once, in the next
// tick, then forgets it. So a device is polled only in the tick after one of its events, and
// between events a held control keeps its held flag and counter unchanged.
class ControlManager
{
public:
    ControlManager();
    ~ControlManager();

    // The manager held by the Application; null before boot builds it.
    static ControlManager *Get();

    void BootDefaults();

    // Never null: an unknown name gives a scratch record cleared to zero.
    ControlState *GetControl(const char *pName);
    // Whether the named control was pressed this tick, or is held; false without a manager or
    // for an unknown name, so code that only asks need not look for the manager first.
    static bool IsPressed(const char *pName);
    static bool IsHeld(const char *pName);
    NamedLinkedList *GetControlList() { return mControlList; }
    // A new owning list with a copy of every record under its name.
    NamedLinkedList *CopyControlList();

    void Update();

    // Device states live in the caller's frame; they are read in the next Update only.
    void LendKeyboardState(ALLEGRO_KEYBOARD_STATE *pState) { rKeyboardState = pState; }
    void LendMouseState(ALLEGRO_MOUSE_STATE *pState) { rMouseState = pState; }
    void LendJoystickState(ALLEGRO_JOYSTICK_STATE *pState) { rJoystickState = pState; }
    void ClearDeviceStates();

    // Records the raw input of a key down (key, -1, -1), a mouse button down (-1, button, -1)
    // or a joystick button down (-1, -1, button), and queues the key's typed character.
    void OnKey(int32_t pKey, int32_t pMouseButton, int32_t pJoystickButton);
    void ResetLastInput();
    // Each output may be null.
    void GetLastInput(int32_t *sKey, int32_t *sMouseButton, int32_t *sJoystickButton);

    // Oldest typed character, 0 when none.
    uint8_t PopTypedCharacter();
    void ClearTypedCharacters();

    // Window pixels in, view units stored. Kept unchanged when the window has no size.
    void SetMousePosition(int32_t pWindowX, int32_t pWindowY);
    void GetMousePosition(int32_t *sX, int32_t *sY, int32_t *sZ);

    // Pressed, released, held and release marker of every control to 0.
    void ResetControlStates();

    // Display names of a control's binding sets: the key's, else the mouse button's, else
    // the joystick button's; null when none applies or the control is unknown.
    const char *GetPrimaryBindingName(const char *pControlName);
    const char *GetSecondaryBindingName(const char *pControlName);

    // Replace one set of an existing control and reset its state; unknown names are ignored.
    void SetBinding(const char *pControlName, uint8_t pSecondary, int32_t pKey, int32_t pMouseButton, int32_t pJoystick);
    void SetBindingByNames(const char *pControlName, const char *pPrimaryText, const char *pSecondaryText);

private:
    void AddControl(const char *pName, int32_t pKeyPrimary, int32_t pKeySecondary);
    void PrintJoystickBootDump();
    void BuildNames();
    void BuildCharacterTable();
    void UpdateControl(const char *pName, ControlState *pControl, const JoystickLayout *pLayout);
    const char *GetBindingName(int32_t pKey, int32_t pMouseButton, int32_t pJoystick);

    int32_t mLastKey;
    int32_t mLastMouseButton;
    int32_t mLastJoystickButton;
    NamedLinkedList *mControlList;
    ControlState *mScratchControl;
    int32_t mMouseX;
    int32_t mMouseY;

    int32_t mKeyNameCount;
    char **mKeyNames;
    int32_t mMouseNameCount;
    char **mMouseNames;
    int32_t mJoystickNameCount;
    char **mJoystickNames;

    NamedLinkedList *mTypedCharacters;
    uint8_t mCharacterTable[ALLEGRO_KEY_MAX][2];

    ALLEGRO_KEYBOARD_STATE *rKeyboardState;
    ALLEGRO_MOUSE_STATE *rMouseState;
    ALLEGRO_JOYSTICK_STATE *rJoystickState;

    ControlManager(const ControlManager &) = delete;
    ControlManager &operator=(const ControlManager &) = delete;
};

// Registers "CM_Rebind".
void RegisterControlManagerLua(lua_State *L);

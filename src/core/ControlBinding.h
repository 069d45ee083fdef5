#pragma once

#include <allegro5/allegro.h>
#include <cstdint>

// One way of triggering a control: a key, a mouse button and a joystick code, each -1 when
// unbound. A joystick code of 0 to 99 is a button of joystick 0; 100 + stick * 10 + axis * 2
// + direction is an axis pushed past the dead zone (direction 0 negative, 1 positive).
struct ControlBindingSet
{
    int32_t mKey;
    int32_t mMouseButton;
    int32_t mJoystick;
};

static const int32_t cJoystickAxisBase = 100;

// Reads a binding text into a set (everything -1 first):
//   null, "NULL", "KEY", "MOS"        unbound
//   "KEY" and a decimal key code       that key ("KEY26" is Z)
//   "MOS" and a decimal button number  that mouse button, counted from 1 ("MOS1")
//   "JOYBTN" and one or two digits     that joystick button ("JOYBTN3", "JOYBTN12")
//   "JOYSTK", any character, the stick digit, any character, the axis digit, any
//   character, then "P" or "N"         that axis direction ("JOYSTK_1_0_P" is 111)
// A text that cannot be read is refused with a warning on standard error and leaves the
// set unbound. Returns false only for such a refusal.
bool ParseBindingText(const char *pText, ControlBindingSet &sSet);

// What a connected joystick offers. Filled from Allegro for the real joystick.
struct JoystickLayout
{
    int32_t mSticks;
    int32_t mAxes[_AL_MAX_JOYSTICK_STICKS];
    int32_t mButtons;
};

void ReadJoystickLayout(ALLEGRO_JOYSTICK *pJoystick, JoystickLayout &sLayout);

// Whether a joystick code is down in the state. False without a layout (no joystick), state
// or for a negative code, and for any stick, axis or button the joystick does not have.
bool JoystickCodeDown(const ALLEGRO_JOYSTICK_STATE *pState, const JoystickLayout *pLayout, int32_t pCode);

// Key and mouse reads that refuse codes outside the device's range instead of reading past
// the state.
bool KeyCodeDown(const ALLEGRO_KEYBOARD_STATE *pState, int32_t pKey);
bool MouseButtonDown(const ALLEGRO_MOUSE_STATE *pState, int32_t pButton);

#include "core/ControlBinding.h"

#include <cstring>

#include "core/DebugPrint.h"

static const int32_t cMaxMouseButton = 32;

static bool IsDigit(char pLetter)
{
    return pLetter >= '0' && pLetter <= '9';
}

static bool StartsWith(const char *pText, const char *pPrefix)
{
    return !strncmp(pText, pPrefix, strlen(pPrefix));
}

// Reads the decimal number after a prefix. An empty tail is "no number" (true, -1); a tail
// with anything but digits, or a value outside 1..pMax, is refused.
static bool ReadCodeTail(const char *pTail, int32_t pMax, int32_t &sCode)
{
    sCode = -1;
    if(!pTail[0]) return true;
    int32_t tValue = 0;
    for(const char *rLetter = pTail; *rLetter; rLetter++)
    {
        if(!IsDigit(*rLetter)) return false;
        tValue = tValue * 10 + (*rLetter - '0');
        if(tValue > pMax) return false;
    }
    if(tValue < 1) return false;
    sCode = tValue;
    return true;
}

static bool RefuseJoystickText(const char *pText)
{
    Debug::ForcePrint("Warning, type %s is not a valid Joystick type.\n", pText);
    return false;
}

static bool ParseJoystickText(const char *pText, ControlBindingSet &sSet)
{
    size_t tLength = strlen(pText);
    if(StartsWith(pText, "JOYBTN") && tLength >= 7)
    {
        if(!IsDigit(pText[6])) return RefuseJoystickText(pText);
        int32_t tCode = pText[6] - '0';
        if(tLength >= 8)
        {
            if(!IsDigit(pText[7])) return RefuseJoystickText(pText);
            tCode = tCode * 10 + (pText[7] - '0');
        }
        sSet.mJoystick = tCode;
        Debug::ForcePrint("Set joystick button to %i\n", tCode);
        return true;
    }

    if(StartsWith(pText, "JOYSTK") && tLength >= 12)
    {
        // An axis digit above 4 would carry into the stick number.
        if(!IsDigit(pText[7]) || !IsDigit(pText[9]) || pText[9] > '4') return RefuseJoystickText(pText);
        int32_t tCode = cJoystickAxisBase + (pText[7] - '0') * 10 + (pText[9] - '0') * 2;
        if(pText[11] == 'P')
        {
            tCode++;
            Debug::ForcePrint("Successfully bound %s to %i\n", pText, tCode);
        }
        else if(pText[11] == 'N')
        {
            Debug::ForcePrint("Successfully bound %s to %i\n", pText, tCode);
        }
        else
        {
            Debug::ForcePrint("Warning, type %s should be P or N, assuming N for now.\n", pText);
        }
        sSet.mJoystick = tCode;
        return true;
    }

    return RefuseJoystickText(pText);
}

bool ParseBindingText(const char *pText, ControlBindingSet &sSet)
{
    sSet.mKey = -1;
    sSet.mMouseButton = -1;
    sSet.mJoystick = -1;
    if(!pText || !strcmp(pText, "NULL")) return true;

    if(StartsWith(pText, "KEY") || StartsWith(pText, "MOS"))
    {
        bool tIsKey = StartsWith(pText, "KEY");
        int32_t tCode = -1;
        if(!ReadCodeTail(pText + 3, tIsKey ? ALLEGRO_KEY_MAX - 1 : cMaxMouseButton, tCode))
        {
            Debug::ForcePrint("Warning, could not resolve control type %s\n", pText);
            return false;
        }
        if(tIsKey) sSet.mKey = tCode;
        else sSet.mMouseButton = tCode;
        return true;
    }

    if(StartsWith(pText, "JOY")) return ParseJoystickText(pText, sSet);

    Debug::ForcePrint("Warning, could not resolve control type %s\n", pText);
    return false;
}

void ReadJoystickLayout(ALLEGRO_JOYSTICK *pJoystick, JoystickLayout &sLayout)
{
    memset(&sLayout, 0, sizeof(sLayout));
    if(!pJoystick) return;
    sLayout.mSticks = al_get_joystick_num_sticks(pJoystick);
    if(sLayout.mSticks > _AL_MAX_JOYSTICK_STICKS) sLayout.mSticks = _AL_MAX_JOYSTICK_STICKS;
    for(int32_t i = 0; i < sLayout.mSticks; i++) sLayout.mAxes[i] = al_get_joystick_num_axes(pJoystick, i);
    sLayout.mButtons = al_get_joystick_num_buttons(pJoystick);
}

bool JoystickCodeDown(const ALLEGRO_JOYSTICK_STATE *pState, const JoystickLayout *pLayout, int32_t pCode)
{
    if(!pState || !pLayout || pCode < 0) return false;

    if(pCode >= cJoystickAxisBase)
    {
        int32_t tStick = (pCode - cJoystickAxisBase) / 10;
        int32_t tAxis = ((pCode - cJoystickAxisBase) % 10) / 2;
        int32_t tDirection = (pCode - cJoystickAxisBase) % 2;
        if(tStick >= pLayout->mSticks || tStick >= _AL_MAX_JOYSTICK_STICKS) return false;
        if(tAxis >= pLayout->mAxes[tStick] || tAxis >= _AL_MAX_JOYSTICK_AXES) return false;
        float tPosition = pState->stick[tStick].axis[tAxis];
        return tDirection == 0 ? tPosition < -0.3f : tPosition > 0.3f;
    }

    if(pCode >= pLayout->mButtons || pCode >= _AL_MAX_JOYSTICK_BUTTONS) return false;
    return pState->button[pCode] != 0;
}

bool KeyCodeDown(const ALLEGRO_KEYBOARD_STATE *pState, int32_t pKey)
{
    if(!pState || pKey <= 0 || pKey >= ALLEGRO_KEY_MAX) return false;
    return al_key_down(pState, pKey);
}

bool MouseButtonDown(const ALLEGRO_MOUSE_STATE *pState, int32_t pButton)
{
    if(!pState || pButton < 1 || pButton > cMaxMouseButton) return false;
    return ((unsigned int)pState->buttons & (1u << (pButton - 1))) != 0;
}

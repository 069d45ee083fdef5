// The control-binding texts of CM_Rebind: the input is "control\nfirst\nsecond" (a missing
// line is nil; the texts may hold any bytes) handed to the binding as a script would. Every set
// that is read must name a code inside its device's range, and a tick of the control manager
// with every device present then reads each bound code from the device states.
#include <cstdint>
#include <cstring>

#include <lua.hpp>

#include "core/Application.h"
#include "core/ControlBinding.h"
#include "core/ControlManager.h"
#include "core/LuaManager.h"
#include "core/NamedLinkedList.h"
#include "support/FuzzSupport.h"

namespace
{
    volatile uint32_t xSink = 0;

    void CheckSet(const char *pWhat, int32_t pKey, int32_t pMouseButton, int32_t pJoystick)
    {
        if(pKey != -1 && (pKey < 1 || pKey >= ALLEGRO_KEY_MAX)) FuzzFail("%s: key code %i", pWhat, pKey);
        if(pMouseButton != -1 && (pMouseButton < 1 || pMouseButton > 32)) FuzzFail("%s: mouse button %i", pWhat, pMouseButton);
        if(pJoystick < -1) FuzzFail("%s: joystick code %i", pWhat, pJoystick);
        if(pJoystick >= cJoystickAxisBase)
        {
            int32_t tStick = (pJoystick - cJoystickAxisBase) / 10;
            int32_t tAxis = ((pJoystick - cJoystickAxisBase) % 10) / 2;
            if(tStick > 9 || tAxis > 4) FuzzFail("%s: joystick axis code %i", pWhat, pJoystick);
        }
    }

    // A device of every kind with the largest layout Allegro has, everything pressed.
    void ReadAllDevices(const ControlState *pControl)
    {
        ALLEGRO_KEYBOARD_STATE tKeyboard;
        ALLEGRO_MOUSE_STATE tMouse;
        ALLEGRO_JOYSTICK_STATE tJoystick;
        memset(&tKeyboard, 0xFF, sizeof(tKeyboard));
        memset(&tMouse, 0xFF, sizeof(tMouse));
        memset(&tJoystick, 0, sizeof(tJoystick));
        JoystickLayout tLayout;
        tLayout.mSticks = _AL_MAX_JOYSTICK_STICKS;
        for(int32_t i = 0; i < _AL_MAX_JOYSTICK_STICKS; i++) tLayout.mAxes[i] = _AL_MAX_JOYSTICK_AXES;
        tLayout.mButtons = _AL_MAX_JOYSTICK_BUTTONS;

        uint32_t tDown = 0;
        tDown += KeyCodeDown(&tKeyboard, pControl->mKeyPrimary) + KeyCodeDown(&tKeyboard, pControl->mKeySecondary);
        tDown += MouseButtonDown(&tMouse, pControl->mMousePrimary) + MouseButtonDown(&tMouse, pControl->mMouseSecondary);
        tDown += JoystickCodeDown(&tJoystick, &tLayout, pControl->mJoystickPrimary);
        tDown += JoystickCodeDown(&tJoystick, &tLayout, pControl->mJoystickSecondary);
        xSink = xSink + tDown;

        ControlManager *rControls = GetApplication()->mControlManager;
        rControls->LendKeyboardState(&tKeyboard);
        rControls->LendMouseState(&tMouse);
        rControls->LendJoystickState(&tJoystick);
        rControls->Update();
    }
}

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    Application *rApp = GetApplication();
    rApp->mLuaManager = new LuaManager();
    rApp->mControlManager = new ControlManager();
    rApp->mControlManager->BootDefaults();
    RegisterControlManagerLua(rApp->mLuaManager->GetState());
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *pData, size_t pSize)
{
    // Up to three lines; the last one runs to the end of the input.
    const char *rText = (const char *)pData;
    const char *rParts[3] = {nullptr, nullptr, nullptr};
    size_t tLengths[3] = {0, 0, 0};
    size_t tStart = 0;
    for(int32_t i = 0; i < 3 && tStart <= pSize; i++)
    {
        const char *rBreak = i < 2 ? (const char *)memchr(rText + tStart, '\n', pSize - tStart) : nullptr;
        size_t tEnd = rBreak ? (size_t)(rBreak - rText) : pSize;
        rParts[i] = rText + tStart;
        tLengths[i] = tEnd - tStart;
        tStart = tEnd + 1;
        if(!rBreak) break;
    }

    FuzzPrintStackGuard tGuard;
    lua_State *L = GetApplication()->mLuaManager->GetState();
    int tTop = lua_gettop(L);
    lua_getglobal(L, "CM_Rebind");
    for(int32_t i = 0; i < 3; i++)
    {
        if(rParts[i]) lua_pushlstring(L, rParts[i], tLengths[i]);
        else lua_pushnil(L);
    }
    if(lua_pcall(L, 3, LUA_MULTRET, 0) != 0) FuzzFail("CM_Rebind raised a Lua error: %s", lua_tostring(L, -1));
    if(lua_gettop(L) != tTop) FuzzFail("CM_Rebind left %i values on the stack", lua_gettop(L) - tTop);

    // The texts as the binding reads them: up to their first 0 byte.
    for(int32_t i = 1; i < 3; i++)
    {
        if(!rParts[i]) continue;
        char tCopy[512];
        size_t tLength = tLengths[i] < sizeof(tCopy) - 1 ? tLengths[i] : sizeof(tCopy) - 1;
        memcpy(tCopy, rParts[i], tLength);
        tCopy[tLength] = '\0';
        ControlBindingSet tSet;
        ParseBindingText(tCopy, tSet);
        CheckSet(tCopy, tSet.mKey, tSet.mMouseButton, tSet.mJoystick);
    }

    char tName[512];
    size_t tNameLength = rParts[0] && tLengths[0] < sizeof(tName) - 1 ? tLengths[0] : 0;
    if(rParts[0]) memcpy(tName, rParts[0], tNameLength);
    tName[tNameLength] = '\0';
    ControlManager *rControls = GetApplication()->mControlManager;
    ControlState *rControl = (ControlState *)rControls->GetControlList()->GetElementByName(tName);
    if(!rControl) return 0;
    CheckSet("first set", rControl->mKeyPrimary, rControl->mMousePrimary, rControl->mJoystickPrimary);
    CheckSet("second set", rControl->mKeySecondary, rControl->mMouseSecondary, rControl->mJoystickSecondary);
    const char *rNames[2] = {rControls->GetPrimaryBindingName(tName), rControls->GetSecondaryBindingName(tName)};
    for(const char *rBindingName : rNames)
    {
        if(rBindingName) xSink = xSink + (uint32_t)strlen(rBindingName);
    }
    ReadAllDevices(rControl);
    return 0;
}

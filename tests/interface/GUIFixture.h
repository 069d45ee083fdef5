#pragma once

// The GUI manager on a blank application, with objects that log the events they see.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>

#include "core/Application.h"
#include "core/ControlManager.h"
#include "core/Gears.h"
#include "core/LuaBindingHelpers.h"
#include "core/NamedLinkedList.h"
#include "core/OptionsManager.h"
#include "core/Utilities.h"
#include "interface/GUI.h"
#include "interface/GUIBaseObject.h"
#include "interface/GUIConsole.h"
#include "interface/SocketManager.h"
#include "interface/VirtualConsole.h"
#include "actors/PlayerPony.h"
#include "world/Camera.h"
#include "world/CameraManager.h"
#include "world/EntityManager.h"
#include "world/MapManager.h"
#include "support/BlankApplication.h"
#include "LoopbackPeer.h"

namespace
{
    // Every HandleEvent call appends "name(code,x,y)" plus the input-blocked state it saw.
    std::string xLog;

    class RecordingObject : public GUIBaseObject
    {
    public:
        RecordingObject(const char *pName, bool pConsumes) : mConsumes(pConsumes)
        {
            SetName(pName);
        }
        bool HandleEvent(int32_t pCode, int32_t pX, int32_t pY) override
        {
            GUI *rGUI = GetGUI();
            xLog += std::string(GetName()) + "(" + std::to_string(pCode) + "," + std::to_string(pX) + "," +
                    std::to_string(pY) + (rGUI && rGUI->IsInputBlocked() ? ",blocked" : "") + ") ";
            return mConsumes;
        }
        void OnOpen() override { xLog += std::string("open:") + GetName() + "(" + OpenState() + ") "; }
        void OnClose() override { xLog += std::string("close:") + GetName() + "(" + OpenState() + ") "; }
        void SetBlocksInput(uint8_t pFlag) { mBlocksInput = pFlag; }
        void SetKeepOpen(uint8_t pFlag) { mKeepOpen = pFlag; }

        bool mConsumes;

    private:
        // Whether the object is on the stack at the moment the hook runs.
        std::string OpenState()
        {
            GUI *rGUI = GetGUI();
            return (rGUI && rGUI->IsScreenOpen(this)) ? "on" : "off";
        }
    };

    class GUITest : public testing::Test
    {
    protected:
        void SetUp() override
        {
            mApplication.Enter();
            Application *rApp = GetApplication();
            rApp->mOptionsManager = new OptionsManager();
            rApp->mControlManager = new ControlManager();
            ControlManager::Get()->BootDefaults();
            rApp->mGUI = new GUI();
            mGUI = rApp->mGUI;
            xLog.clear();
        }

        void TearDown() override
        {
            Application *rApp = GetApplication();
            delete rApp->mGUI;
            delete rApp->mGlobalConsole;
            delete rApp->mControlManager;
            delete rApp->mOptionsManager;
            mApplication.Leave();
        }

        ControlState *Control(const char *pName)
        {
            return ControlManager::Get()->GetControl(pName);
        }

        // One hotkey pass with the named control pressed for that tick only.
        void PressAndRunHotkeys(const char *pName)
        {
            Control(pName)->mPressed = 1;
            mGUI->UpdateHotkeys();
            Control(pName)->mPressed = 0;
        }

        RecordingObject *AddRecorder(const char *pName, bool pConsumes, float pX1, float pY1, float pX2, float pY2)
        {
            RecordingObject *nObject = new RecordingObject(pName, pConsumes);
            nObject->SetRect(pX1, pY1, pX2, pY2);
            mGUI->AddObject(pName, nObject);
            return nObject;
        }

        BlankApplication mApplication;
        GUI *mGUI;
    };
}

#pragma once

#include <gtest/gtest.h>

#include "actors/PlayerPony.h"
#include "core/Application.h"
#include "core/ControlManager.h"
#include "core/OptionsManager.h"
#include "core/data/DataLibrary.h"
#include "interface/AudioManager.h"
#include "interface/AudioPackage.h"
#include "interface/GUI.h"
#include "support/RecordingAudioLayer.h"
#include "world/EntityManager.h"
#include "support/BlankApplication.h"

// The managers the screens read: options, controls, a recording audio manager with the menu
// sounds, the entity manager with the player, the data library and the GUI with its default
// objects. No display: nothing here draws.
class ScreensFixture : public testing::Test
{
protected:
    void SetUp() override
    {
        mApplication.Enter();
        Application *rApp = GetApplication();
        rApp->mDataLibrary = new DataLibrary();
        rApp->mOptionsManager = new OptionsManager();
        rApp->mControlManager = new ControlManager();
        ControlManager::Get()->BootDefaults();
        mLayer = new RecordingAudioLayer();
        rApp->mAudioManager = new AudioManager(mLayer);
        const char *cSounds[] = {"HealthRecover", "MenuChange", "MenuSelect", "StageSelected"};
        for(const char *rName : cSounds)
        {
            AudioPackage *nPackage = new AudioPackage(mLayer);
            nPackage->LoadSample(rName);
            AudioManager::Get()->AddSound(rName, nPackage);
        }
        rApp->mEntityManager = new EntityManager();
        EntityManager::Fetch()->CreatePlayer();
        rApp->mGUI = new GUI();
        GetGUI()->CreateDefaultObjects();
        mGUI = rApp->mGUI;
        mPlayer = PlayerPony::Get();
        mLayer->ClearCalls();
    }

    void TearDown() override
    {
        Application *rApp = GetApplication();
        delete rApp->mGUI;
        delete rApp->mEntityManager;
        delete rApp->mAudioManager;
        delete rApp->mControlManager;
        delete rApp->mOptionsManager;
        delete rApp->mDataLibrary;
        mApplication.Leave();
    }

    ControlState *Control(const char *pName)
    {
        return ControlManager::Get()->GetControl(pName);
    }

    // One GUI tick with the named controls pressed (and held) in it only.
    void Tick(const char *pA = nullptr, const char *pB = nullptr)
    {
        const char *cNames[2] = {pA, pB};
        for(const char *rName : cNames)
        {
            if(rName) Control(rName)->mPressed = Control(rName)->mHeld = 1;
        }
        mGUI->Update(-1);
        for(const char *rName : cNames)
        {
            if(rName) Control(rName)->mPressed = Control(rName)->mHeld = 0;
        }
    }

    int32_t CountSounds()
    {
        int32_t tCount = 0;
        for(int32_t i = 0; i < mLayer->GetCallCount(); i++)
        {
            if(mLayer->GetCall(i)->mKind == AUDIO_CALL_PLAY) tCount++;
        }
        return tCount;
    }

    BlankApplication mApplication;
    RecordingAudioLayer *mLayer;
    GUI *mGUI;
    PlayerPony *mPlayer;
};

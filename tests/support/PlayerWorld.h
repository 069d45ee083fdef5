#pragma once

#include "actors/BusterShot.h"
#include "actors/PlayerPony.h"
#include "core/Application.h"
#include "core/ControlManager.h"
#include "core/OptionsManager.h"
#include "core/Utilities.h"
#include "core/data/DataLibrary.h"
#include "core/data/LumpRecords.h"
#include "interface/AudioFlags.h"
#include "interface/AudioManager.h"
#include "interface/AudioPackage.h"
#include "support/RecordingAudioLayer.h"
#include "support/SavedApplication.h"
#include "world/EntityManager.h"
#include "world/LineArtLevel.h"
#include "world/MapManager.h"
#include "world/RootProjectile.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

// A headless world for the player: a 640 by 480 level (floor from y 400, walls left of x 16
// and from x 624), the managers the player talks to, recorded audio, and keyboard input
// scripted tick by tick through the real control manager.
class PlayerWorld : public testing::Test
{
protected:
    static const int32_t cWidth = 640;
    static const int32_t cHeight = 480;
    static const int32_t cFloorY = 400;

    void SetUp() override
    {
        Application *rApp = GetApplication();
        mSaved.Save();
        xBlockAllAudio = xBlockMusic = xBlockSound = 0;
        mGodMode = 0;
        mShowHitboxes = 0;
        memset(mSolid, 0, sizeof(mSolid));
        memset(&mKeys, 0, sizeof(mKeys));

        rApp->mDataLibrary = new DataLibrary();
        rApp->mOptionsManager = new OptionsManager();
        OptionsManager::Get()->Bind("GodMode", &mGodMode, TYPEDVALUE_BOOL);
        OptionsManager::Get()->Bind("ShowHitboxes", &mShowHitboxes, TYPEDVALUE_BOOL);
        rApp->mControlManager = new ControlManager();
        ControlManager::Get()->BootDefaults();
        mLayer = new RecordingAudioLayer();
        rApp->mAudioManager = new AudioManager(mLayer);
        rApp->mEntityManager = new EntityManager();
        EntityManager::Fetch()->CreatePlayer();
        EntityManager::Fetch()->CreateSpecialLists();
        rApp->mMapManager = new MapManager();
        rApp->mCameraManager = nullptr;
        rApp->mTransitionManager = nullptr;
        rApp->mLuaManager = nullptr;
        rApp->mGUI = nullptr;

        const char *cSounds[] = {"TeleportIn", "TeleportOut", "KestraDying", "KestraInjured", "Land", "Jump", "Dash",
                                 "BusterCharging", "Rank1BusterShot", "Rank2BusterShot", "Rank3BusterShot"};
        for(const char *rName : cSounds)
        {
            AudioPackage *nPackage = new AudioPackage(mLayer);
            nPackage->LoadSample(rName);
            AudioManager::Get()->AddSound(rName, nPackage);
        }

        FillSolid(0, cFloorY, cWidth, cHeight);
        FillSolid(0, 0, 16, cHeight);
        FillSolid(624, 0, cWidth, cHeight);
        BuildLevel();

        mPlayer = PlayerPony::Get();
        mPlayer->ResetForMapLoad();
        mPlayer->SetPositionAutoCenter(100.0f, (float)(cFloorY - 52), 0.0f);
    }

    void TearDown() override
    {
        Application *rApp = GetApplication();
        delete rApp->mMapManager;
        delete rApp->mEntityManager;
        delete rApp->mAudioManager;
        delete rApp->mControlManager;
        delete rApp->mOptionsManager;
        delete rApp->mDataLibrary;
        mSaved.Restore();
        xShotCooldown = 0;
    }

    void FillSolid(int32_t pX0, int32_t pY0, int32_t pX1, int32_t pY1)
    {
        for(int32_t y = pY0; y < pY1; y++)
        {
            for(int32_t x = pX0; x < pX1; x++) mSolid[y][x] = 1;
        }
    }

    // One chunk covering the whole level, packed the way map files store clips.
    void BuildLevel()
    {
        const int32_t tRowBytes = (cWidth + 7) / 8;
        uint8_t *tData = (uint8_t *)calloc((size_t)tRowBytes * cHeight, 1);
        for(int32_t y = 0; y < cHeight; y++)
        {
            for(int32_t x = 0; x < cWidth; x++)
            {
                if(mSolid[y][x]) tData[y * tRowBytes + x / 8] |= (uint8_t)(1u << (x % 8));
            }
        }
        ClipRecord tRecord = {(uint16_t)cWidth, (uint16_t)cHeight, (uint32_t)(tRowBytes * cHeight), tData};
        LineartLevel *nLevel = new LineartLevel();
        nLevel->SetChunkSize(cWidth, cHeight);
        nLevel->Allocate(1, 1);
        LineartChunk *nChunk = new LineartChunk();
        nChunk->SetClip(&tRecord);
        nLevel->SetChunk(0, 0, nChunk);
        free(tData);
        MapManager::Fetch()->SetLevel(nLevel);
    }

    void SetKey(int pKey, bool pDown)
    {
        unsigned int tBit = 1u << (pKey % 32);
        if(pDown) mKeys.__key_down__internal__[pKey / 32] |= tBit;
        else mKeys.__key_down__internal__[pKey / 32] &= ~tBit;
    }

    // One in-game tick: the controls read the keys, then every entity updates.
    void Tick(int32_t pCount = 1)
    {
        for(int32_t i = 0; i < pCount; i++)
        {
            ControlManager *rControls = ControlManager::Get();
            rControls->LendKeyboardState(&mKeys);
            rControls->Update();
            EntityManager::Fetch()->Update();
        }
    }

    float X()
    {
        return mPlayer->GetHitboxPtr()->mLft;
    }
    float Y()
    {
        return mPlayer->GetHitboxPtr()->mTop;
    }
    float VX()
    {
        float tX, tY;
        mPlayer->GetVelocity(tX, tY);
        return tX;
    }
    float VY()
    {
        float tX, tY;
        mPlayer->GetVelocity(tX, tY);
        return tY;
    }

    int32_t Plays(const char *pSound)
    {
        AudioPackage *rPackage = AudioManager::Get()->GetSound(pSound);
        return rPackage ? mLayer->CountCalls(AUDIO_CALL_SAMPLE_GET_CHANNEL, rPackage->GetHandle()) : -1;
    }

    // A free target-1 projectile standing still over the given box.
    RootProjectile *AddEnemyShot(float pX, float pY, int32_t pDamage)
    {
        RootProjectile *nShot = new RootProjectile();
        nShot->SetTargetFlags(PROJECTILE_TARGET_PLAYER);
        nShot->SetDimensions(0.0f, 0.0f, 30.0f, 60.0f);
        nShot->SetPosition(pX, pY);
        nShot->SetDamage(pDamage);
        nShot->SetBlockAutoOffscreenDestruction(1);
        EntityManager::Fetch()->RegisterProjectile("Test", nShot, DeleteRootObject);
        return nShot;
    }

    int32_t BusterShots()
    {
        return EntityManager::Fetch()->CountProjectilesNamed("KestraShot");
    }

    SavedApplication mSaved;
    uint8_t mGodMode;
    uint8_t mShowHitboxes;
    uint8_t mSolid[cHeight][cWidth];
    ALLEGRO_KEYBOARD_STATE mKeys;
    RecordingAudioLayer *mLayer = nullptr;
    PlayerPony *mPlayer = nullptr;
};

#include "interface/GUI.h"

#include <allegro5/allegro.h>
#include <cmath>
#include <cstdio>

#include "actors/PlayerPony.h"
#include "core/Application.h"
#include "core/ControlManager.h"
#include "core/DebugPrint.h"
#include "core/Gears.h"
#include "core/OptionsManager.h"
#include "core/render/DisplayManager.h"
#include "interface/GUIBaseObject.h"
#include "interface/GUIConsole.h"
#include "interface/GUISPauseScreen.h"
#include "interface/SocketManager.h"
#include "world/Camera.h"
#include "world/CameraManager.h"
#include "world/MapManager.h"

// The GUI's global hotkeys: the keys that work whatever screen is open, read once a tick.

// Frame rates of the game-speed hotkeys: the normal rate and the slow-motion rate.
static const float cNormalFrameRate = 60.0f;
static const float cSlowFrameRate = 10.0f;
// The haste rates the frame timer is trusted with: below one tick a second the game looks
// frozen, and far above what a frame can be drawn in the timer only floods the event queue.
static const float cLowestHasteRate = 1.0f;
static const float cHighestHasteRate = 1000.0f;

// Without a player nothing holds the controls locked.
static bool PlayerControlsUnlocked()
{
    PlayerPony *rPlayer = PlayerPony::Get();
    return !rPlayer || !rPlayer->IsControlLocked();
}

static bool IsUsableHasteRate(float pRate)
{
    return std::isfinite(pRate) && pRate >= cLowestHasteRate && pRate <= cHighestHasteRate;
}

// The game runs fast only while "SpeedUp" is held and slow only while "SlowDown" is held. A
// missing "HasteRate", or one the timer cannot be trusted with, keeps the normal rate rather
// than stalling the timer or flooding the queue; the refusal is said once per press.
void GUI::UpdateGameSpeed()
{
    float tRate = cNormalFrameRate;
    if(ControlManager::IsHeld("SpeedUp"))
    {
        OptionsManager *rOptions = OptionsManager::Get();
        float tHaste = rOptions ? rOptions->GetFloat("HasteRate") : 0.0f;
        if(IsUsableHasteRate(tHaste))
            tRate = tHaste;
        else if(rOptions && ControlManager::IsPressed("SpeedUp"))
            fprintf(stderr, "GUI: HasteRate %g is outside %g..%g, the game keeps %g ticks a second.\n", tHaste,
                    cLowestHasteRate, cHighestHasteRate, cNormalFrameRate);
    }
    else if(ControlManager::IsHeld("SlowDown"))
    {
        tRate = cSlowFrameRate;
    }

    Application *rApp = GetApplication();
    if(rApp->mFrameRate == tRate) return;
    rApp->mFrameRate = tRate;
    if(rApp->mTimer) al_set_timer_speed(rApp->mTimer, 1.0 / tRate);
}

void GUI::ToggleConsole(GUIBaseObject *pConsole)
{
    PlayerPony *rPlayer = PlayerPony::Get();
    if(!pConsole->IsVisible())
    {
        OpenScreen(pConsole);
        pConsole->Show();
        if(rPlayer) rPlayer->AddControlLock("ConsoleLock");
        return;
    }
    CloseScreen(pConsole);
    pConsole->Hide();
    if(rPlayer) rPlayer->RemoveControlLock("ConsoleLock");
}

void GUI::UpdateHotkeys()
{
    Debug::PushPrint(0, "[GUI] Update hotkeys\n");
    if(!IsAnimationListEmpty())
    {
        Debug::PopPrint("[GUI] Animation is blocking hotkeys\n");
        return;
    }

    Application *rApp = GetApplication();
    bool tInGame = rApp->rGearTick == GameGearTimer;
    bool tUnlocked = PlayerControlsUnlocked();
    GUIBaseObject *rPauseScreen = FindObject(PAUSE_SCREEN_NAME);
    GUIBaseObject *rConsole = FindObject(CONSOLE_NAME);

    if(ControlManager::IsPressed("Pause") && tUnlocked && tInGame && !IsConsoleShown())
    {
        if(rPauseScreen && !IsScreenOpen(rPauseScreen)) OpenScreen(rPauseScreen);
    }

    if(ControlManager::IsPressed("ToggleFullscreen"))
    {
        DisplayManager *rDisplay = DisplayManager::Get();
        if(rDisplay) rDisplay->ToggleFullscreen();
    }

    UpdateGameSpeed();

    if(ControlManager::IsPressed("CloseGame") && tUnlocked)
    {
        GUIBaseObject *rTop = GetTopScreen();
        if(rTop)
        {
            if(!rTop->IsKeptOpen()) CloseTopScreen();
        }
        else if(tInGame && rPauseScreen && !IsScreenOpen(rPauseScreen))
        {
            OpenScreen(rPauseScreen);
        }
    }

    MapManager *rMaps = MapManager::Fetch();
    for(int32_t i = 0; i < 9 && rMaps && tUnlocked; i++)
    {
        char tWarpName[8];
        snprintf(tWarpName, sizeof(tWarpName), "Warp%i", i);
        if(ControlManager::IsPressed(tWarpName)) rMaps->RunHotkey(i);
    }

    if(ControlManager::IsPressed("ToggleHitboxes"))
    {
        OptionsManager *rOptions = OptionsManager::Get();
        if(rOptions) rOptions->SetBool("ShowHitboxes", !rOptions->GetBool("ShowHitboxes"));
    }

    if(ControlManager::IsPressed("ConnectToPlinkard") && SocketManager::Fetch())
    {
        SocketManager::Fetch()->RequestToolLink();
    }

    if(ControlManager::IsPressed("DisplayCameraTopLeft"))
    {
        Camera *rCamera = CameraManager::ActiveCamera();
        if(rCamera)
        {
            Hitbox tFrame = rCamera->GetFrame();
            fprintf(stderr, "Camera %f %f\n", tFrame.mLft, tFrame.mTop);
        }
    }

    if(ControlManager::IsPressed("Console") && rConsole) ToggleConsole(rConsole);

    Debug::PopPrint("[GUI] Hotkey check finished\n");
}

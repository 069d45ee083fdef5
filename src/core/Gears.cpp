#include "core/Gears.h"

#include <allegro5/allegro.h>
#include <GL/gl.h>
#include <cstdio>

#include "actors/PlayerPony.h"
#include "core/Application.h"
#include "core/ControlManager.h"
#include "core/DebugPrint.h"
#include "core/render/DisplayManager.h"
#include "core/render/Font.h"
#include "core/render/GLState.h"
#include "interface/GUI.h"
#include "interface/GUISHealthBars.h"
#include "interface/GUISLevelSelectScreen.h"
#include "interface/GUISTitleScreen.h"
#include "interface/SocketManager.h"
#include "world/Camera.h"
#include "world/CameraManager.h"
#include "world/EntityManager.h"
#include "world/MapManager.h"
#include "world/SpawnManager.h"
#include "world/TransitionManager.h"

// Ticks still queued behind the one being handled that the game may work off by running
// several ticks before it draws; beyond that it runs slower instead of queueing without bound.
static const int64_t cMaxQueuedTicks = 30;

bool DropTimerBacklog(ALLEGRO_EVENT_QUEUE *pQueue, ALLEGRO_TIMER *pTimer, int64_t pEventCount)
{
    if(!pQueue || !pTimer) return false;
    if(al_get_timer_count(pTimer) - pEventCount <= cMaxQueuedTicks) return false;
    // Unregistering a source takes its events out of the queue and leaves every other event
    // (keys, the window) where it was.
    ALLEGRO_EVENT_SOURCE *rSource = al_get_timer_event_source(pTimer);
    al_unregister_event_source(pQueue, rSource);
    al_register_event_source(pQueue, rSource);
    return true;
}

void GameGearEventHandler(FrameRecord *pFrame)
{
    Application *rApp = GetApplication();
    ALLEGRO_EVENT tEvent = rApp->mCurrentEvent;
    ControlManager *rControls = ControlManager::Get();
    Debug::PushPrint(0, "[Event Handler] Begin %i\n", (int)tEvent.type);

    switch(tEvent.type)
    {
        case ALLEGRO_EVENT_TIMER:
            DropTimerBacklog(rApp->mEventQueue, rApp->mTimer, tEvent.timer.count);
            if(rApp->rGearTick) rApp->rGearTick(pFrame);
            break;
        case ALLEGRO_EVENT_DISPLAY_CLOSE:
            rApp->mQuitFlag = 1;
            break;
        case ALLEGRO_EVENT_KEY_DOWN:
        case ALLEGRO_EVENT_KEY_UP:
            al_get_keyboard_state(&pFrame->mKeyboardState);
            if(rControls)
            {
                rControls->LendKeyboardState(&pFrame->mKeyboardState);
                if(tEvent.type == ALLEGRO_EVENT_KEY_DOWN) rControls->OnKey(tEvent.keyboard.keycode, -1, -1);
            }
            break;
        case ALLEGRO_EVENT_MOUSE_AXES:
        case ALLEGRO_EVENT_MOUSE_ENTER_DISPLAY:
            if(rControls) rControls->SetMousePosition(tEvent.mouse.x, tEvent.mouse.y);
            break;
        case ALLEGRO_EVENT_MOUSE_BUTTON_DOWN:
            al_get_mouse_state(&pFrame->mMouseState);
            if(rControls)
            {
                rControls->LendMouseState(&pFrame->mMouseState);
                rControls->OnKey(-1, (int32_t)tEvent.mouse.button, -1);
            }
            Debug::PushPrint(0, "[Mouse Down] Begin\n");
            if(GetGUI()) GetGUI()->Update(0);
            Debug::PopPrint("[Mouse Down] Completed\n");
            break;
        case ALLEGRO_EVENT_MOUSE_BUTTON_UP:
            al_get_mouse_state(&pFrame->mMouseState);
            if(rControls) rControls->LendMouseState(&pFrame->mMouseState);
            Debug::PushPrint(0, "[Mouse Up] Begin\n");
            if(GetGUI()) GetGUI()->Update(1);
            Debug::PopPrint("[Mouse Up] Completed\n");
            break;
        case ALLEGRO_EVENT_JOYSTICK_AXIS:
        case ALLEGRO_EVENT_JOYSTICK_BUTTON_DOWN:
        case ALLEGRO_EVENT_JOYSTICK_BUTTON_UP:
            if(!rApp->rJoystick) break;
            al_get_joystick_state(rApp->rJoystick, &pFrame->mJoystickState);
            if(!rControls) break;
            rControls->LendJoystickState(&pFrame->mJoystickState);
            // Only a button going down is input for a rebinding screen: an axis event carries
            // no button, and a release would rebind the button that opened the wait.
            if(tEvent.type == ALLEGRO_EVENT_JOYSTICK_BUTTON_DOWN) rControls->OnKey(-1, -1, tEvent.joystick.button);
            break;
        default:
            break;
    }

    Debug::PopPrint("[Event Handler] Complete\n");
}

// A blocking transition freezes the world and is all that is drawn.
static bool TransitionBlocks()
{
    TransitionManager *rTransitions = TransitionManager::Get();
    return rTransitions && rTransitions->IsBlocking();
}

// The health bar pays out the player's pending heal while the world stands still.
static bool PlayerHealPending()
{
    PlayerPony *rPlayer = PlayerPony::Get();
    return rPlayer && rPlayer->GetPendingHeal() != 0;
}

// The opening every gear's tick shares: the music-tool link, the controls, then the GUI's
// hotkeys and update. The level select names the link in its trace; the game does not.
static void UpdateLinkControlsAndGUI(bool pTraceLink)
{
    if(pTraceLink) Debug::Print("Network\n");
    if(SocketManager::Fetch()) SocketManager::Fetch()->Update();
    Debug::Print("Controls\n");
    if(ControlManager::Get()) ControlManager::Get()->Update();
    GUI *rGUI = GetGUI();
    Debug::Print("Hotkeys\n");
    if(rGUI) rGUI->UpdateHotkeys();
    Debug::Print("GUI\n");
    if(rGUI) rGUI->Update(-1);
}

void GameGearTimer(FrameRecord *pFrame)
{
    Debug::PushPrintTag("Debug_GameGear", "[Timer] Begin\n");
    UpdateLinkControlsAndGUI(false);
    ControlManager *rControls = ControlManager::Get();
    GUI *rGUI = GetGUI();
    Debug::Print("Map Manager\n");
    if(MapManager::Fetch()) MapManager::Fetch()->Update();
    Debug::Print("Transition Manager\n");
    if(TransitionManager::Get()) TransitionManager::Get()->Update();
    Debug::Print("Spawn Manager\n");
    if(SpawnManager::Get()) SpawnManager::Get()->Update();

    // Entities and cameras run only while the GUI's pause screen exists and is not on top;
    // without a GUI there is no pause screen, so the world stands still.
    if(!TransitionBlocks() && !PlayerHealPending() && GUILetsWorldRun(rGUI))
    {
        Debug::Print("Entity Manager\n");
        if(EntityManager::Fetch()) EntityManager::Fetch()->Update();
        Debug::Print("Camera Manager\n");
        if(CameraManager::Fetch()) CameraManager::Fetch()->Update();
    }

    pFrame->mRedrawRequest = 1;
    Debug::PopPrint("[Timer] Complete\n");

    if(rGUI && rGUI->GetReturnToTitle()) ActivateTitleGear();
    if(rGUI) rGUI->SetReturnToTitle(0);

    if(rControls) rControls->ResetLastInput();
    if(EntityManager::Fetch()) EntityManager::Fetch()->RunTickAlways();
}

// Pending ticks run before a frame is drawn: a render is only worth it once the queue is
// drained and a tick has asked for one.
static bool RenderIsDue(FrameRecord *pFrame)
{
    Application *rApp = GetApplication();
    if(pFrame->mRedrawRequest != 1) return false;
    return !rApp->mEventQueue || al_is_event_queue_empty(rApp->mEventQueue);
}

// The shared opening of a frame: the gear's trace tag, and nothing drawn unless a render is
// due. True when the frame goes ahead; the caller then ends it with FinishRender.
static bool StartRender(FrameRecord *pFrame, const char *pTag, const char *pBegin, const char *pUnnecessary)
{
    Debug::PushPrintTag(pTag, pBegin);
    if(!RenderIsDue(pFrame))
    {
        Debug::PopPrint(pUnnecessary);
        return false;
    }
    Debug::Print("Clearing\n");
    pFrame->mRedrawRequest = 0;
    return true;
}

static void FinishRender(FrameRecord *pFrame, const char *pComplete)
{
    al_flip_display();
    GLState::End2D();
    UpdateFPS(pFrame);
    Debug::PopPrint(pComplete);
}

// The frame-rate text sits at 450 units, where four digits of the system font would run past
// the 480-unit view; it moves left just far enough to stay inside.
static const float cFrameRateLeft = 450.0f;
static const float cFrameRateTop = 10.0f;
static const float cFrameRateScale = 0.25f;
static const float cFrameRateMargin = 4.0f;

float FrameRateTextLeft(float pTextWidth, float pViewWidth)
{
    float tLatest = pViewWidth - cFrameRateMargin - pTextWidth;
    return tLatest < cFrameRateLeft ? tLatest : cFrameRateLeft;
}

// The measured rate in the top right corner, drawn only once the system font exists. The
// transform stays in the modelview matrix that End2D pops after the flip.
static void DrawFrameRate(bool pEnableBlend)
{
    Application *rApp = GetApplication();
    if(!rApp->rSystemFont) return;
    if(pEnableBlend) glEnable(GL_BLEND);
    char tText[32];
    snprintf(tText, sizeof(tText), "%04.1f", rApp->mMeasuredFrameRate);
    float tWidth = (float)rApp->rSystemFont->GetDrawnWidth(tText) * cFrameRateScale;
    glTranslatef(FrameRateTextLeft(tWidth, (float)rApp->mVirtualWidth), cFrameRateTop, 0.0f);
    glScalef(cFrameRateScale, -cFrameRateScale, 1.0f);
    rApp->rSystemFont->DrawText(0, 0, FONT_FLAG_CENTRE, tText);
}

void GameGearRender(FrameRecord *pFrame)
{
    if(!StartRender(pFrame, "Debug_GameGearRender", "[GameGear Render Begin]\n", "[GameGear Render Unnecessary]\n"))
        return;
    // The viewport is computed after the view is set, so it takes effect in the next frame.
    GLState::Begin2DView();
    DisplayManager::ComputeViewport();
    glClearDepth(1.0);
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    // Whoever tests the stencil clears it first, so clearing it here changes nothing drawn; a
    // clear of depth alone must keep the stencil bits that share its words, which costs a read
    // and a write of every pixel on a software rasteriser.
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);

    bool tBlocking = TransitionBlocks();
    GUI *rGUI = GetGUI();
    if(!tBlocking)
    {
        MapManager *rMap = MapManager::Fetch();
        if(rMap)
        {
            float tShakeX = 0.0f;
            float tShakeY = 0.0f;
            rMap->GetShakeOffset(tShakeX, tShakeY);
            glTranslatef(tShakeX, tShakeY, 0.0f);
            rMap->RenderBackgroundPacks();
        }
        if(EntityManager::Fetch()) EntityManager::Fetch()->Render();
        Debug::Print("Rendered Entities\n");
        if(rMap) rMap->Render();
        Debug::Print("Rendered Map\n");
        if(SpawnManager::Get()) SpawnManager::Get()->RenderHitboxes();
        Debug::Print("Spawn Manager\n");
        if(rGUI) rGUI->Render();
        Debug::Print("Rendered GUI\n");
    }
    if(TransitionManager::Get()) TransitionManager::Get()->Render();
    if(!tBlocking) Debug::Print("Rendered TransitionManager\n");
    if(rGUI) rGUI->RenderFade();
    DrawFrameRate(false);

    FinishRender(pFrame, "[GameGear Render Complete]\n");
}

void LevelSelectGearTimer(FrameRecord *pFrame)
{
    Debug::PushPrintTag("Debug_LevelSelectGear", "[Timer] Begin\n");
    UpdateLinkControlsAndGUI(true);
    Debug::Print("Transition Manager\n");
    if(TransitionManager::Get()) TransitionManager::Get()->Update();
    pFrame->mRedrawRequest = 1;
    Debug::PopPrint("[Timer] Complete\n");
}

void LevelSelectGearRender(FrameRecord *pFrame)
{
    if(!StartRender(pFrame, "Debug_LevelSelectGearRender", "[LevelSelectGear Render Begin]\n",
                    "[LevelSelectGear Render Unnecessary]\n"))
        return;
    DisplayManager::ComputeViewport();
    GLState::Begin2DView();
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glClear(GL_COLOR_BUFFER_BIT);

    if(!TransitionBlocks())
    {
        if(GetGUI()) GetGUI()->Render();
        Debug::Print("Rendered GUI\n");
    }
    if(TransitionManager::Get()) TransitionManager::Get()->Render();
    DrawFrameRate(true);

    FinishRender(pFrame, "[LevelSelectGear Render Complete]\n");
}

void TitleGearEventHandler(FrameRecord *pFrame)
{
    GameGearEventHandler(pFrame);
}

void TitleGearTimer(FrameRecord *pFrame)
{
    LevelSelectGearTimer(pFrame);
}

void TitleGearRender(FrameRecord *pFrame)
{
    LevelSelectGearRender(pFrame);
}

static void InstallGear(GearHandler pEvent, GearHandler pTick, GearHandler pRender)
{
    Application *rApp = GetApplication();
    rApp->rGearEventHandler = pEvent;
    rApp->rGearTick = pTick;
    rApp->rGearRender = pRender;
}

// The player's health bar shows only while a level is played.
static void SetPlayerBarVisible(bool pFlag)
{
    GUISKestraHealthBar *rBar = GetKestraHealthBar();
    if(rBar) rBar->SetVisible(pFlag);
}

void ActivateGameGear()
{
    InstallGear(GameGearEventHandler, GameGearTimer, GameGearRender);
    SetPlayerBarVisible(true);
}

// Leaving play drops every entity but the player, the zones' lists with them, and where the
// player would respawn.
static void ResetEntities()
{
    EntityManager *rEntities = EntityManager::Fetch();
    if(!rEntities) return;
    rEntities->ClearEntities();
    rEntities->ResetSpecialLists();
    if(SpawnManager::Get()) SpawnManager::Get()->Clear();
    if(rEntities->GetPlayer()) rEntities->GetPlayer()->ClearRespawnState();
}

// Zones, polygons, pushers and a control script belong to the level being left.
static void ResetActiveCamera()
{
    Camera *rCamera = CameraManager::ActiveCamera();
    if(rCamera) rCamera->Reset();
}

static void RunMapCleanScript()
{
    if(MapManager::Fetch()) MapManager::Fetch()->RunCleanScript();
}

// Out of play no enemy is shown on the boss bar.
static void DropBossBarTarget()
{
    GUISBossHealthBar *rBossBar = GetBossHealthBar();
    if(!rBossBar) return;
    rBossBar->SetTargetEnemy(nullptr);
    rBossBar->Hide();
}

void ActivateLevelSelectGear()
{
    InstallGear(GameGearEventHandler, LevelSelectGearTimer, LevelSelectGearRender);
    ResetActiveCamera();
    RunMapCleanScript();
    ResetEntities();
    DropBossBarTarget();
    GUISTitleScreen *rTitle = GetTitleScreen();
    if(rTitle) rTitle->SetVisible(false);
    GUISLevelSelectScreen *rLevelSelect = GetLevelSelectScreen();
    if(rLevelSelect) rLevelSelect->Open();
    SetPlayerBarVisible(false);
}

void ActivateTitleGear()
{
    InstallGear(TitleGearEventHandler, TitleGearTimer, TitleGearRender);
    ResetActiveCamera();
    RunMapCleanScript();
    ResetEntities();
    DropBossBarTarget();
    GUISLevelSelectScreen *rLevelSelect = GetLevelSelectScreen();
    if(rLevelSelect) rLevelSelect->SetVisible(false);
    GUISTitleScreen *rTitle = GetTitleScreen();
    if(rTitle) rTitle->Restart();
    SetPlayerBarVisible(false);
}

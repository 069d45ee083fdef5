#include "core/Application.h"

#include <allegro5/allegro.h>
#include <allegro5/allegro_font.h>
#include <allegro5/allegro_image.h>
#include <allegro5/allegro_primitives.h>
#include <allegro5/allegro_ttf.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <unistd.h>

#include "actors/AIAttack.h"
#include "actors/AIMovement.h"
#include "actors/Enemy.h"
#include "actors/EnemyHitbox.h"
#include "actors/PlayerPony.h"
#include "core/ControlManager.h"
#include "core/DataList.h"
#include "core/DebugPrint.h"
#include "core/Gears.h"
#include "core/LuaManager.h"
#include "core/NamedLinkedList.h"
#include "core/OptionsManager.h"
#include "core/QuitWatcher.h"
#include "core/Utilities.h"
#include "core/ConsoleCommands.h"
#include "core/data/CorvelLumpManager.h"
#include "core/data/DataLibrary.h"
#include "core/data/FileSystemScanner.h"
#include "core/data/LibraryHolder.h"
#include "core/render/Bitmap.h"
#include "core/render/CorvelAnimation.h"
#include "core/render/Drawing.h"
#include "core/render/Font.h"
#include "core/render/LoadingScreen.h"
#include "core/render/PaletteShader.h"
#include "core/render/PngPrefetch.h"
#include "core/render/WindowSystem.h"
#include "core/render/DisplayManager.h"
#include "interface/GUI.h"
#include "interface/GUISHealthBars.h"
#include "interface/VirtualConsole.h"
#include "core/render/GLEntryPoints.h"
#include "interface/AudioFlags.h"
#include "interface/AudioManager.h"
#include "interface/AudioPackage.h"
#include "interface/SocketManager.h"
#include "world/Camera.h"
#include "world/CameraManager.h"
#include "world/EntityManager.h"
#include "world/MapBGM.h"
#include "world/MapManager.h"
#include "world/Checkpoint.h"
#include "world/Door.h"
#include "world/MovingContainer.h"
#include "world/DamageZone.h"
#include "world/LadderZone.h"
#include "world/PushZone.h"
#include "world/RootEntity.h"
#include "world/RootProjectile.h"
#include "world/RootSprite.h"
#include "world/SlideZone.h"
#include "world/SlipZone.h"
#include "world/ProxyTrigger.h"
#include "world/SpawnManager.h"
#include "world/TransitionManager.h"
#include "world/ZoneTrigger.h"

static Application xApplication;

Application *GetApplication()
{
    return &xApplication;
}

// The system font is one of the library's entries, which a script may purge.
static void ReleaseSystemFont(void *pApplication, void *pObject)
{
    Application *rApp = (Application *)pApplication;
    if(rApp->rSystemFont == pObject) rApp->rSystemFont = nullptr;
}
static LibraryHolder xSystemFontHolder(&xApplication, ReleaseSystemFont);

void SetSystemFont(Font *pFont)
{
    xApplication.rSystemFont = xSystemFontHolder.Hold(pFont);
}

// Boot reads the quit flag as "the display failed", so a signal never writes it directly: the
// main loop copies the watcher's flag into it.
bool QuitRequested()
{
    return QuitSignalled() || xApplication.mQuitFlag == 1;
}

void InitApplicationDefaults()
{
    Application *rApp = &xApplication;
    delete rApp->mScannerStack;
    free(rApp->mProgramPath);
    free(rApp->mSkipToLevel);
    memset(rApp, 0, sizeof(Application));

    rApp->mScannerStack = new NamedLinkedList(1);
    rApp->mWindowWidth = 800;
    rApp->mWindowHeight = 600;
    rApp->mVirtualWidth = 480;
    rApp->mVirtualHeight = 360;
    rApp->mViewportWidth = 800;
    rApp->mViewportHeight = 600;
    rApp->mFrameRate = 60.0f;
    rApp->rGearEventHandler = GameGearEventHandler;
    rApp->rGearTick = GameGearTimer;
    rApp->rGearRender = GameGearRender;
    srand((unsigned)time(nullptr));
}

// Sends standard error to the file. The file is opened before anything is swapped, so a path
// that cannot be written leaves the log where it was instead of losing it.
static void RedirectStandardError(const char *pPath)
{
    int tFile = open(pPath, O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if(tFile < 0)
    {
        fprintf(stderr, "ParseCommandLine warning, cannot open %s for writing. The log stays on standard error.\n", pPath);
        return;
    }
    fflush(stderr);
    dup2(tFile, STDERR_FILENO);
    close(tFile);
    setvbuf(stderr, nullptr, _IONBF, 0);
}

void ParseCommandLine(int pArgc, char **pArgv)
{
    if(pArgc < 1 || !pArgv) return;
    Application *rApp = &xApplication;
    ResetString(&rApp->mProgramPath, pArgv[0]);

    // A switch's value word is not skipped: it is tested against the switches in its own turn.
    // Only a word that is neither a switch nor a value is unknown.
    bool tIsValue = false;
    for(int i = 1; i < pArgc; i++)
    {
        const char *rWord = pArgv[i];
        bool tWasValue = tIsValue;
        tIsValue = false;
        if(!rWord) continue;
        bool tHasValue = (i + 1 < pArgc) && pArgv[i + 1];
        if((!strcmp(rWord, "-redirect") || !strcmp(rWord, "-skipto")) && tHasValue) tIsValue = true;

        if(!strcmp(rWord, "-startupdebug")) rApp->mStartupDebug = 1;
        else if(!strcmp(rWord, "-redirect") && tHasValue) RedirectStandardError(pArgv[i + 1]);
        else if(!strcmp(rWord, "-blockaudio")) xBlockAllAudio = 1;
        else if(!strcmp(rWord, "-blockmusic")) xBlockMusic = 1;
        else if(!strcmp(rWord, "-blocksound")) xBlockSound = 1;
        else if(!strcmp(rWord, "-bootjoystick")) rApp->mBootJoystick = 1;
        else if(!strcmp(rWord, "-skipto") && tHasValue)
        {
            rApp->mSkipTo = 1;
            ResetString(&rApp->mSkipToLevel, pArgv[i + 1]);
            fprintf(stderr, "Skipping to level %s\n", rApp->mSkipToLevel);
        }
        else if(!strcmp(rWord, "-plinkard")) rApp->mToolLinkRequest = 1;
        else if(!strcmp(rWord, "-logfps")) rApp->mLogFPS = 1;
        else if(!tWasValue && strcmp(rWord, "-redirect") && strcmp(rWord, "-skipto"))
        {
            fprintf(stderr, "ParseCommandLine warning, unknown argument %s ignored.\n", rWord);
        }
    }
}

// Closes the boot's trace section and says which step failed.
static bool BootAllegroFailed(const char *pStep)
{
    Debug::PopPrintState();
    fprintf(stderr, "BootAllegro error, could not %s.\n", pStep);
    return false;
}

bool BootAllegro()
{
    Application *rApp = &xApplication;
    rApp->mQuitFlag = 1;
    Debug::PushPrint(rApp->mStartupDebug, "[Initializing Allegro]\n");

    InstallWindowSystemErrorHandler();
    if(!al_install_system(ALLEGRO_VERSION_INT, atexit)) return BootAllegroFailed("install the Allegro system");
    if(!al_init_font_addon()) return BootAllegroFailed("initialise the font addon");
    if(!al_init_image_addon()) return BootAllegroFailed("initialise the image addon");
    if(!al_init_ttf_addon()) return BootAllegroFailed("initialise the TTF addon");
    if(!al_init_primitives_addon()) return BootAllegroFailed("initialise the primitives addon");
    Debug::Print("Booted Addons\n");

    if(!al_install_keyboard()) return BootAllegroFailed("install the keyboard");
    Debug::Print("Booted Keyboard\n");
    if(!al_install_mouse()) return BootAllegroFailed("install the mouse");
    Debug::Print("Booted Mouse\n");
    if(!al_install_joystick()) return BootAllegroFailed("install the joystick subsystem");
    Debug::Print("Booted Joystick\n");

    rApp->mEventQueue = al_create_event_queue();
    if(!rApp->mEventQueue) return BootAllegroFailed("create the event queue");
    Debug::Print("Booted Event Queue\n");

    rApp->mTimer = al_create_timer(1.0 / rApp->mFrameRate);
    if(!rApp->mTimer) return BootAllegroFailed("create the timer");
    Debug::Print("Booted Timer with FPS %f\n", rApp->mFrameRate);

    al_init_timeout(&rApp->mEventTimeout, 0.06);
    rApp->mQuitFlag = 0;
    Debug::PopPrint("[Allegro] Finished init\n");
    return true;
}

bool BootManagers()
{
    Application *rApp = &xApplication;
    Debug::PushPrint(rApp->mStartupDebug, "[Begin Manager Boot]\n");

    rApp->mLumpManager = new CorvelLumpManager();
    rApp->mLuaManager = new LuaManager();
    RegisterLuaBindings(rApp->mLuaManager->GetState());

    rApp->mLuaManager->ExecuteFile("Bootstrap.lua");
    Debug::Print("Lua Manager\n");
    rApp->mLuaManager->ExecuteFile("Data/Scripts/SetupFuncs.lua");
    Debug::Print("Lua Defaults\n");

    rApp->mControlManager = new ControlManager();
    rApp->mControlManager->BootDefaults();
    Debug::Print("Control Manager\n");

    rApp->mOptionsManager = new OptionsManager();
    LuaManager::RegisterConsoleCommands();
    Debug::Print("Options Manager\n");

    // The configuration always comes from disk, even when an earlier script switched to a pack.
    rApp->mLuaManager->SetLoadFromDiskFlag(1);
    rApp->mLuaManager->ExecuteFile("Configuration.lua");
    rApp->mOptionsManager->ApplyOptions();
    Debug::Print("Configuration.lua\n");

    rApp->mDisplayManager = new DisplayManager();
    if(rApp->mQuitFlag)
    {
        Debug::PopPrintState();
        return false;
    }
    Debug::Print("Display Created\n");

    LoadGLEntryPoints();
    BootShaders();
    Debug::Print("Wrangle completed\n");

    rApp->mLoadingScreen = new LoadingScreen();
    rApp->mLoadingScreen->Boot();
    rApp->mLoadingScreen->Begin(LOADING_BOOT_STEPS);
    Debug::Print("Created LoadInterrupt\n");

    rApp->mDataLibrary = new DataLibrary();
    LoadInterrupt();
    Debug::Print("Created DataLibrary\n");

    rApp->mAudioManager = new AudioManager();
    rApp->mCameraManager = new CameraManager();
    rApp->mEntityManager = new EntityManager();
    rApp->mEntityManager->CreateSpecialLists();
    rApp->mEntityManager->CreatePlayer();
    rApp->mMapManager = new MapManager();
    rApp->mSocketManager = new SocketManager();
    rApp->mTransitionManager = new TransitionManager();
    rApp->mSpawnManager = new SpawnManager();
    EnemyPresets::Build(rApp->mSpawnManager);
    LoadInterrupt();
    Debug::Print("Created misc Managers\n");
    rApp->mGlobalConsole = new VirtualConsole();
    rApp->mGUI = new GUI();
    GUISBossHealthBar::SetHealthReader(Enemy::ReadHealthOf);
    Debug::Print("Created GUI\n");
    Debug::PopPrint("[Complete Manager Boot]\n");
    return true;
}

void RegisterEventSources(ALLEGRO_EVENT_QUEUE *pQueue)
{
    if(!pQueue) return;
    Application *rApp = &xApplication;
    if(rApp->mDisplay) al_register_event_source(pQueue, al_get_display_event_source(rApp->mDisplay));
    if(rApp->mTimer) al_register_event_source(pQueue, al_get_timer_event_source(rApp->mTimer));
    al_register_event_source(pQueue, al_get_keyboard_event_source());
    al_register_event_source(pQueue, al_get_mouse_event_source());
    al_register_event_source(pQueue, al_get_joystick_event_source());
    AttachQuitWatcher(pQueue);
}

void LoadResources()
{
    Debug::PushPrintTag("Debug_LoadResources", "[Loading Resources]\n");
    LuaManager *rLuaManager = LuaManager::Fetch();
    // The start-up script loads most of the game's pictures; workers decode ahead of it.
    StartPngPrefetch();
    if(rLuaManager) rLuaManager->ExecuteFile("Data/Scripts/Startup.lua");
    StopPngPrefetch();
    Debug::PopPrint("[Done Loading Resources]\n");
}

void PostProcess()
{
    Application *rApp = &xApplication;
    Debug::PushPrint(1, "[Post Process] Begin\n");

    ALLEGRO_BITMAP *tIcon = al_load_bitmap("Data/Graphics/Icon.png");
    if(tIcon && rApp->mDisplay)
    {
        al_set_display_icon(rApp->mDisplay, tIcon);
    }
    else
    {
        fprintf(stderr, "Error, Data/Graphics/Icon.png not found, cannot set the Tray Icon.\n");
    }
    // The window manager keeps its own copy of the icon.
    if(tIcon) al_destroy_bitmap(tIcon);
    LoadInterrupt();
    Debug::Print("Set icon\n");

    StartFreeType();
    Debug::Print("Booted icon\n");

    SetSystemFont(Font::LoadFreeType("Data/TransRobot.ttf"));
    DataLibrary *rLibrary = DataLibrary::Fetch();
    if(rApp->rSystemFont && rLibrary)
    {
        rLibrary->AddPath("Root/Fonts/All/All/");
        rLibrary->AddEntry("Root/Fonts/All/All/SystemFont", rApp->rSystemFont, DeleteFont, DL_KIND_FONT);
    }
    Debug::Print("Set system font\n");
    if(rApp->mGUI) rApp->mGUI->CreateDefaultObjects();
    Debug::Print("Created default objects\n");

    ProgramStatusReport();

    Debug::PushPrintTag("Debug_ExtensiveJoystick", "[Joystick Post] Begin\n");
    rApp->rJoystick = al_get_num_joysticks() > 0 ? al_get_joystick(0) : nullptr;
    Debug::Print("Joystick address is %p\n", (void *)rApp->rJoystick);
    Debug::PopPrint("[Joystick Post] Complete\n");

    Debug::Print("Booted spawn presets\n");
    if(rApp->mLoadingScreen) rApp->mLoadingScreen->PrintReport();
    Debug::Print("Printed loading report\n");

    if(!rApp->mSkipTo)
    {
        ActivateTitleGear();
        Debug::Print("Shifted to title screen\n");
    }
    else
    {
        char tPath[512];
        snprintf(tPath, sizeof(tPath), "Data/Maps/%s.slf", rApp->mSkipToLevel ? rApp->mSkipToLevel : "");
        FILE *fCheck = fopen(tPath, "rb");
        if(fCheck)
        {
            fclose(fCheck);
            ActivateGameGear();
            if(rApp->mMapManager) rApp->mMapManager->LoadMapFile(rApp->mSkipToLevel);
        }
        else
        {
            fprintf(stderr, "WARNING:  File %s not found.  Going to level select.\n", rApp->mSkipToLevel ? rApp->mSkipToLevel : "");
            ActivateLevelSelectGear();
        }
    }

    if(rApp->mToolLinkRequest)
    {
        rApp->mToolLinkRequest = 0;
        if(rApp->mSocketManager) rApp->mSocketManager->RequestToolLink();
    }

    Debug::PopPrint("[Post Process] Complete\n");
}

void RegisterLuaBindings(lua_State *L)
{
    if(!L) return;
    RegisterCorvelAnimationLua(L);
    RegisterCameraLua(L);
    RegisterProjLua(L);
    RegisterRootSpriteLua(L);
    RegisterDataListLua(L);
    RegisterRootEntityLua(L);
    RegisterLadderZoneLua(L);
    RegisterCheckpointLua(L);
    RegisterDoorLua(L);
    RegisterMovingContainerLua(L);
    RegisterDamageZoneLua(L);
    RegisterSlipZoneLua(L);
    RegisterPushZoneLua(L);
    RegisterSlideZoneLua(L);
    RegisterBitmapLua(L);
    RegisterFileSystemScannerLua(L);
    RegisterGUILua(L);
    RegisterDataLibraryLua(L);
    RegisterAudioManagerLua(L);
    RegisterAudioPackageLua(L);
    CameraManager::RegisterLua(L);
    RegisterControlManagerLua(L);
    RegisterDebugLua(L);
    RegisterDisplayManagerLua(L);
    EntityManager::RegisterLua(L);
    MapManager::RegisterLua(L);
    RegisterMapBGMLua(L);
    RegisterCorvelLumpManagerLua(L);
    TransitionManager::RegisterLua(L);
    RegisterOptionsManagerLua(L);
    RegisterPlayerLua(L);
    ZoneTrigger::RegisterLuaFunctions(L);
    RegisterEnemyLua(L);
    RegisterEnemyHitboxLua(L);
    RegisterAIMovementLua(L);
    RegisterAIAttackLua(L);
    ProxyTrigger::RegisterLuaFunctions(L);
    SpawnManager::RegisterLua(L);
    // Dialogue scripts print into the on-screen console and offer decisions through these.
    VirtualConsole::RegisterLua(L);
}

void UpdateFPS(FrameRecord *pFrame)
{
    UpdateFPSAt(pFrame, al_get_time());
}

void UpdateFPSAt(FrameRecord *pFrame, double pNow)
{
    if(!pFrame) return;
    Application *rApp = &xApplication;
    pFrame->mLastCheck = pNow;
    double tElapsed = pNow - pFrame->mSampleStart;
    if(tElapsed >= 1.0)
    {
        rApp->mMeasuredFrameRate = (float)(pFrame->mFramesCounted / tElapsed);
        if(rApp->mLogFPS) fprintf(stderr, "FPS: %f\n", rApp->mMeasuredFrameRate);
        pFrame->mFramesCounted = 0;
        pFrame->mSampleStart = pNow;
    }
    pFrame->mFramesCounted++;
}

// Shutdown leaves no manager pointer behind, so nothing reaches a deleted manager late.
template<typename T> static void DeleteAndClear(T *&pSlot)
{
    delete pSlot;
    pSlot = nullptr;
}

void CleanMemory()
{
    Application *rApp = &xApplication;
    Debug::PushPrint(rApp->mStartupDebug, "[Clean Memory] Begin\n");

    DeleteAndClear(rApp->mLoadingScreen);
    DeleteAndClear(rApp->mEntityManager);
    DeleteAndClear(rApp->mSpawnManager);
    DeleteAndClear(rApp->mLuaManager);
    ClearConsoleCommands();
    DeleteAndClear(rApp->mSocketManager);
    DeleteAndClear(rApp->mCameraManager);
    DeleteAndClear(rApp->mDisplayManager);
    DeleteAndClear(rApp->mControlManager);
    DeleteAndClear(rApp->mOptionsManager);
    DeleteAndClear(rApp->mAudioManager);
    DeleteAndClear(rApp->mMapManager);
    DeleteAndClear(rApp->mGUI);
    // After the GUI, whose console object only shows it.
    DeleteAndClear(rApp->mGlobalConsole);
    // The system font is one of the library's entries, so it goes with the library.
    DeleteAndClear(rApp->mDataLibrary);
    rApp->rSystemFont = nullptr;
    // Last of the managers, while the display still lives: it may hold a captured frame.
    DeleteAndClear(rApp->mTransitionManager);
    ReleaseDrawingLists();

    if(rApp->mTimer) al_destroy_timer(rApp->mTimer);
    rApp->mTimer = nullptr;
    AttachQuitWatcher(nullptr);
    if(rApp->mEventQueue) al_destroy_event_queue(rApp->mEventQueue);
    rApp->mEventQueue = nullptr;
    if(rApp->mDisplay) al_destroy_display(rApp->mDisplay);
    rApp->mDisplay = nullptr;

    DeleteAndClear(rApp->mScannerStack);
    Debug::PopPrint("[Clean Memory] Done\n");
}

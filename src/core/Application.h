#pragma once
#include <allegro5/allegro.h>
#include <cstdint>

class NamedLinkedList;
class LoadingScreen;
class LuaManager;
class SocketManager;
class CorvelLumpManager;
class EntityManager;
class MapManager;
class SpawnManager;
class AudioManager;
class CameraManager;
class DisplayManager;
class ControlManager;
class OptionsManager;
class TransitionManager;
class GUI;
class VirtualConsole;
class Font;
class DataLibrary;
struct lua_State;

// Kept by main for the whole loop and handed to every gear handler. The device states are
// filled by the event handler and lent to the control manager by pointer.
struct FrameRecord
{
    uint8_t mRedrawRequest;
    int32_t mFramesCounted;
    double mSampleStart;
    double mLastCheck;
    ALLEGRO_KEYBOARD_STATE mKeyboardState;
    ALLEGRO_MOUSE_STATE mMouseState;
    ALLEGRO_JOYSTICK_STATE mJoystickState;
};

typedef void (*GearHandler)(FrameRecord *pFrame);

// The one object that owns every manager and the run's settings. All fields are zero until
// InitApplicationDefaults runs; a manager whose subsystem is not built stays null and every
// user must check for that.
struct Application
{
    ALLEGRO_DISPLAY *mDisplay;
    ALLEGRO_EVENT_QUEUE *mEventQueue;
    ALLEGRO_EVENT mCurrentEvent;
    ALLEGRO_TIMEOUT mEventTimeout;
    ALLEGRO_TIMER *mTimer;
    // Allegro's own joystick record: looked up, never released here.
    ALLEGRO_JOYSTICK *rJoystick;
    LoadingScreen *mLoadingScreen;
    NamedLinkedList *mScannerStack;

    LuaManager *mLuaManager;
    SocketManager *mSocketManager;
    CorvelLumpManager *mLumpManager;
    EntityManager *mEntityManager;
    MapManager *mMapManager;
    SpawnManager *mSpawnManager;
    AudioManager *mAudioManager;
    CameraManager *mCameraManager;
    DisplayManager *mDisplayManager;
    ControlManager *mControlManager;
    OptionsManager *mOptionsManager;
    TransitionManager *mTransitionManager;
    GUI *mGUI;
    // The engine's one virtual console; the GUI's "Console" object shows it.
    VirtualConsole *mGlobalConsole;
    // One of the data library's entries; the library frees it. Set through SetSystemFont.
    Font *rSystemFont;
    DataLibrary *mDataLibrary;

    int32_t mWindowWidth, mWindowHeight;
    int32_t mVirtualWidth, mVirtualHeight;
    int32_t mViewportWidth, mViewportHeight;
    char *mProgramPath;
    volatile uint8_t mQuitFlag;
    float mFrameRate;
    float mMeasuredFrameRate;
    uint8_t mLogFPS;
    uint8_t mBootJoystick;
    uint8_t mSkipTo;
    char *mSkipToLevel;
    uint8_t mToolLinkRequest;
    uint8_t mStartupDebug;

    GearHandler rGearEventHandler;
    GearHandler rGearTick;
    GearHandler rGearRender;
};

Application *GetApplication();

// Stores the system font where a purge of its library entry can clear it.
void SetSystemFont(Font *pFont);

// SIGINT and SIGTERM ask for a quit: main starts the quit watcher first, before any thread
// starts, and the event queue RegisterEventSources fills is woken by a signal.
// QuitRequested tells whether a signal or the quit flag asks for one; long work (the main
// loop, running scripts) polls it.
bool QuitRequested();

// Start-up, in the order main runs them. Each boot step returns false at its first failure,
// after saying on standard error what failed.
void InitApplicationDefaults();
void ParseCommandLine(int pArgc, char **pArgv);
bool BootAllegro();
bool BootManagers();
void RegisterEventSources(ALLEGRO_EVENT_QUEUE *pQueue);
void LoadResources();
void PostProcess();
// Runs every binding family's Register<Family>Lua on the state: the one place they are called
// from, apart from the Lua manager's own "LM_" globals, which its constructor registers.
void RegisterLuaBindings(lua_State *L);

// Frame-rate meter, run by each render after the flip: once a second the measured rate is
// the frames counted over the time since the sample began. UpdateFPSAt takes the clock
// reading so the meter can be driven without Allegro.
void UpdateFPS(FrameRecord *pFrame);
void UpdateFPSAt(FrameRecord *pFrame, double pNow);

// Deletes the managers in shutdown order (each pointer nulled as it goes), then the timer,
// the event queue and the display.
void CleanMemory();

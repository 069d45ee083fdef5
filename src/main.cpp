#include <allegro5/allegro.h>
#include <cstdio>
#include <cstring>

#include "core/Application.h"
#include "core/ControlManager.h"
#include "core/DebugPrint.h"
#include "core/Gears.h"
#include "core/QuitWatcher.h"
#include "core/ShutdownNudge.h"
#include "core/render/WindowSystem.h"

// A quit signal wakes the loop's wait through the quit watcher's event; the timeout bounds how
// long a quit goes unseen when the watcher could not start and a plain handler took its place.
static const float cEventWaitSeconds = 0.06f;

// Frees what the game holds, then lets Allegro's exit hook end its threads without sitting out
// their wait timeouts.
static int Finish(int pStatus)
{
    CleanMemory();
    StartShutdownNudge();
    return pStatus;
}

int main(int argc, char **argv)
{
    StartQuitWatcher();
    InitApplicationDefaults();
    ParseCommandLine(argc, argv);
    Application *rApp = GetApplication();

    if(!BootAllegro())
    {
        fprintf(stderr, "Start-up failed while booting Allegro.\n");
        ReportUnreachableDisplay();
        return 1;
    }
    if(!BootManagers())
    {
        fprintf(stderr, "Start-up failed while booting the managers.\n");
        return Finish(1);
    }
    RegisterEventSources(rApp->mEventQueue);
    LoadResources();
    PostProcess();

    FrameRecord tFrame;
    memset(&tFrame, 0, sizeof(tFrame));
    if(QuitRequested()) return Finish(0);
    al_start_timer(rApp->mTimer);
    tFrame.mSampleStart = al_get_time();
    // Nothing has been lent yet: the frame's device states are only valid once an event fills them.
    if(ControlManager::Get()) ControlManager::Get()->ClearDeviceStates();

    Debug::PushPrint(0, "[Begin Main Loop]\n");
    while(rApp->mQuitFlag != 1)
    {
        Debug::PushPrintTag("Debug_MainLoop", "[Begin Main Iteration]\n");
        // No event, or a quit asked while the loop waited: neither earns a tick or a frame.
        if(!al_wait_for_event_timed(rApp->mEventQueue, &rApp->mCurrentEvent, cEventWaitSeconds) || QuitRequested())
        {
            if(QuitRequested()) rApp->mQuitFlag = 1;
            Debug::PopPrint("[Complete Main Iteration]\n");
            continue;
        }

        if(!rApp->rGearEventHandler) rApp->rGearEventHandler = GameGearEventHandler;
        rApp->rGearEventHandler(&tFrame);
        Debug::Print("Handled Event\n");

        if(!rApp->rGearRender) rApp->rGearRender = GameGearRender;
        rApp->rGearRender(&tFrame);
        Debug::Print("Handled Render\n");

        if(QuitRequested()) rApp->mQuitFlag = 1;
        Debug::PopPrint("[Complete Main Iteration]\n");
    }
    Debug::PopPrint("[End Main Loop]\n");

    return Finish(0);
}

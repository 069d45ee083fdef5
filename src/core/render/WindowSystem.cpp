#include "core/render/WindowSystem.h"

#include <X11/Xlib.h>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <unistd.h>

namespace
{
    // Every thread that talks to the server (the main loop, the event reader) may meet the end
    // on its own; the first one says so and ends the process, the others wait for that end,
    // so the lines come out once and whole.
    std::atomic_flag xEnding = ATOMIC_FLAG_INIT;

    // Straight to the descriptor: another thread may hold the standard error lock.
    void WriteLine(const char *pText, size_t pLength)
    {
        ssize_t tWritten = write(STDERR_FILENO, pText, pLength);
        (void)tWritten;
    }

    // Only async-signal-safe calls after the claim: another thread may be in the middle of
    // freeing something when the end comes.
    [[noreturn]] void EndAsLost()
    {
        static const char cMessage[] = "The connection to the window system was lost, the game ends now.\n";
        WriteLine(cMessage, sizeof(cMessage) - 1);
        _exit(LOST_WINDOW_SYSTEM_STATUS);
    }

    [[noreturn]] void WaitForTheEnd()
    {
        for(;;) pause();
    }

    int OnLostWindowSystem(Display *pDisplay)
    {
        if(xEnding.test_and_set()) WaitForTheEnd();
        EndAsLost();
    }

    // A request the server refused: the game's window destroyed by another client is the one
    // seen, and the game cannot draw on without it. Xlib's own handler exits from whichever
    // thread met the error, as its lost connection handler does, so the error is named in one
    // line and the game ends as on a lost connection. Errors arrive after the fact, so the
    // request named is the one refused, not the call that noticed it.
    int OnRefusedRequest(Display *pDisplay, XErrorEvent *pError)
    {
        if(xEnding.test_and_set()) WaitForTheEnd();
        char tName[128];
        tName[0] = '\0';
        XGetErrorText(pDisplay, pError->error_code, tName, sizeof(tName));
        tName[sizeof(tName) - 1] = '\0';
        char tCode[16];
        snprintf(tCode, sizeof(tCode), "%d", (int)pError->error_code);
        // Xlib names only the errors it knows; an extension's unknown one comes back as its number.
        const bool tNamed = tName[0] && strcmp(tName, tCode);
        char tLine[320];
        int tLength = snprintf(tLine, sizeof(tLine), "The window system refused request %d.%d on resource 0x%lx: error %d%s%s%s.\n",
                               (int)pError->request_code, (int)pError->minor_code, (unsigned long)pError->resourceid,
                               (int)pError->error_code, tNamed ? " (" : "", tNamed ? tName : "", tNamed ? ")" : "");
        if(tLength > 0) WriteLine(tLine, (size_t)tLength < sizeof(tLine) ? (size_t)tLength : sizeof(tLine) - 1);
        EndAsLost();
    }
}

void ReportUnreachableDisplay()
{
    Display *rDisplay = XOpenDisplay(nullptr);
    if(rDisplay)
    {
        XCloseDisplay(rDisplay);
        return;
    }
    const char *rName = getenv("DISPLAY");
    if(!rName || !rName[0]) fprintf(stderr, "No X display could be reached: DISPLAY is not set.\n");
    else fprintf(stderr, "No X display could be reached at DISPLAY=\"%.200s\".\n", rName);
}

void InstallWindowSystemErrorHandler()
{
    XSetIOErrorHandler(OnLostWindowSystem);
    XSetErrorHandler(OnRefusedRequest);
}

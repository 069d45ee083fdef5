#include "core/render/WindowSystem.h"

#include <X11/Xlib.h>
#include <atomic>
#include <unistd.h>

// Only async-signal-safe calls: another thread may hold the standard error lock or be in the
// middle of freeing something when the loss is noticed. Every thread that talks to the server
// (the main loop, the event reader) notices the loss on its own; the first one says so and ends
// the process, the others wait for that end, so the line comes out once and whole.
static int OnLostWindowSystem(Display *pDisplay)
{
    static const char cMessage[] = "The connection to the window system was lost, the game ends now.\n";
    static std::atomic_flag sReported = ATOMIC_FLAG_INIT;
    if(sReported.test_and_set())
    {
        for(;;) pause();
    }
    ssize_t tWritten = write(STDERR_FILENO, cMessage, sizeof(cMessage) - 1);
    (void)tWritten;
    _exit(LOST_WINDOW_SYSTEM_STATUS);
}

void InstallWindowSystemErrorHandler()
{
    XSetIOErrorHandler(OnLostWindowSystem);
}

#include "core/render/WindowSystem.h"

#include <X11/Xlib.h>
#include <unistd.h>

// Only async-signal-safe calls: another thread may hold the standard error lock or be in the
// middle of freeing something when the loss is noticed.
static int OnLostWindowSystem(Display *pDisplay)
{
    static const char cMessage[] = "The connection to the window system was lost, the game ends now.\n";
    ssize_t tWritten = write(STDERR_FILENO, cMessage, sizeof(cMessage) - 1);
    (void)tWritten;
    _exit(LOST_WINDOW_SYSTEM_STATUS);
}

void InstallWindowSystemErrorHandler()
{
    XSetIOErrorHandler(OnLostWindowSystem);
}

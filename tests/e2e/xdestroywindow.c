/* xdestroywindow WINDOW: destroys the window as another client of its X server would, leaving
 * the window's own client connected (killing the client, as xdotool and xkill do, closes its
 * connection instead). Exits 0 once the server has destroyed it, 1 when it could not. */
#include <X11/Xlib.h>
#include <stdio.h>
#include <stdlib.h>

static int xRefused = 0;

static int OnError(Display *pDisplay, XErrorEvent *pError)
{
    (void)pDisplay;
    xRefused = pError->error_code;
    return 0;
}

int main(int argc, char **argv)
{
    char *rEnd = NULL;
    unsigned long tWindow = argc == 2 ? strtoul(argv[1], &rEnd, 0) : 0;
    if(!tWindow || !rEnd || *rEnd)
    {
        fprintf(stderr, "usage: xdestroywindow WINDOW\n");
        return 1;
    }
    Display *rDisplay = XOpenDisplay(NULL);
    if(!rDisplay)
    {
        fprintf(stderr, "xdestroywindow: cannot open the display\n");
        return 1;
    }
    XSetErrorHandler(OnError);
    XDestroyWindow(rDisplay, (Window)tWindow);
    XSync(rDisplay, False);
    XCloseDisplay(rDisplay);
    if(xRefused) fprintf(stderr, "xdestroywindow: the server refused, error %d\n", xRefused);
    return xRefused ? 1 : 0;
}

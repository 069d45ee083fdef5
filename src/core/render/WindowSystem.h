#pragma once

// Exit status of a run whose connection to the X server was lost.
#define LOST_WINDOW_SYSTEM_STATUS 3

// Replaces Xlib's handlers for a lost connection (the server ended, the window's client was
// killed) and for a refused request (the window destroyed by another client). Xlib's own call
// exit(), which runs the exit handlers on whichever thread noticed the loss while the main
// thread carries on, so the process hangs or frees twice. Ours write one line to standard
// error, a refused request naming the error in a line before it, and end the process at once
// with LOST_WINDOW_SYSTEM_STATUS. Installed before Allegro opens its connection.
void InstallWindowSystemErrorHandler();

// After a failed start-up: says on standard error when no X display can be reached, naming the
// DISPLAY tried, since the step that failed (the mouse, say) does not tell. Says nothing when
// one can.
void ReportUnreachableDisplay();

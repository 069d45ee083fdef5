#pragma once

// Exit status of a run whose connection to the X server was lost.
#define LOST_WINDOW_SYSTEM_STATUS 3

// Replaces Xlib's handler for a lost connection (the server ended, the window was killed).
// Xlib's own calls exit(), which runs the exit handlers on whichever thread noticed the loss
// while the main thread carries on, so the process hangs or frees twice. Ours writes one
// line to standard error and ends the process at once with LOST_WINDOW_SYSTEM_STATUS.
// Installed before Allegro opens its connection.
void InstallWindowSystemErrorHandler();

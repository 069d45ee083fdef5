#pragma once

#include <allegro5/allegro.h>
#include <cstdint>

// SIGINT and SIGTERM are blocked in every thread and taken by one watcher thread in sigwait.
// A signal handler may only store a flag, and a flag does not end Allegro's event wait, so a
// quit used to go unseen until the next timer tick or wait timeout. The watcher is an
// ordinary thread: it sets the flag and emits an event into the main loop's queue, which
// wakes the loop at once.

// The event the watcher emits into an attached queue.
const ALLEGRO_EVENT_TYPE cQuitSignalEventType = ALLEGRO_GET_EVENT_TYPE('Q', 'S', 'i', 'g');

// Blocks SIGINT and SIGTERM in the caller and starts the watcher. Call it from main early, so
// later threads inherit the mask. A thread started before (a library's, say) keeps the signals
// unblocked; one that lands there runs a handler that passes it on to the watcher, so it is
// never fatal and still wakes the queue. Returns false when the mask or the thread cannot be
// set up; the handler then only sets the flag, with no event, and the main loop's wait
// timeout bounds how long a quit goes unseen. A second call does nothing and returns true.
bool StartQuitWatcher();

// True once the watcher has taken SIGINT or SIGTERM.
bool QuitSignalled();

// The main thread marks each outermost script run as it begins and ends, and when a stop is
// raised in it. A quit stops a running script at once, but not one whose error handler never
// returns: Lua runs that handler with hooks off. So once a signal has come, the watcher looks at
// the runs, and when one goes on for two seconds after a stop was raised in it, the watcher says
// on standard error that a script would not stop and ends the process as the signal's default
// action would, without the shutdown. A run in which no stop was raised (a slow boot, a long C
// call) is waited for, until a second SIGINT or SIGTERM comes: that one ends the process the
// same way at once, killed by the second signal, wherever the main thread is held up.
void NoteScriptRunBegins();
void NoteScriptStopRaised();
void NoteScriptRunEnds();

// The clock the watcher counts its grace by, and the quit check its pace: monotonic nanoseconds.
int64_t MonotonicNs();

// Makes a signal also emit a cQuitSignalEventType event into pQueue; a signal that came before
// the call is emitted at once. A null queue detaches and frees the event source: call it
// before the attached queue is destroyed.
void AttachQuitWatcher(ALLEGRO_EVENT_QUEUE *pQueue);

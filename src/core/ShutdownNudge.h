#pragma once

// Allegro's own threads (the X event reader, the file-descriptor watcher of the joystick
// driver, the timer) block in select or sleep with timeouts of up to a quarter of a second
// and look at their stop flag only when the wait ends. The exit hook joins them one after
// another, so an idle process took about a third of a second to end after its last message.
//
// The nudge is a thread that, every couple of milliseconds, sends a signal with an empty
// handler to every unnamed thread of the process but the caller. The blocking calls they sit
// in return early (select, poll and sleeps are never restarted), each thread sees its stop
// flag at once, and the joins end together. Other calls restart (SA_RESTART), and threads a
// library has named (the GL driver's workers) are left alone. It stops by itself once no such
// thread is left, or after two seconds.

// Starts the nudge on behalf of the calling thread, which it never signals. Returns false when
// the thread cannot be made; a second start while one runs does nothing and returns true.
bool StartShutdownNudge();

// Stops the nudge and waits for its thread; nothing in the game calls it, since the nudge
// ends with the process.
void StopShutdownNudge();

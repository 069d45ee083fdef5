#include "core/QuitWatcher.h"

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <pthread.h>
#include <unistd.h>

namespace
{
    std::atomic<bool> xStarted(false);
    // Also stored by the fallback handler, which may only touch lock-free atomics.
    std::atomic<bool> xSignalled(false);
    static_assert(ATOMIC_BOOL_LOCK_FREE == 2, "the quit flag must be safe to set from a handler");
    sigset_t xQuitSet;
    // Set once the watcher thread exists; the handler forwards to it from then on.
    std::atomic<bool> xWatcherReady(false);
    pthread_t xWatcherThread;
    // The signal that began the quit (none yet: 0), for the way the process ends when a script
    // will not stop; another one ends it at once.
    std::atomic<int> xQuitSignal(0);

    // The outermost script run: a serial number for each, whether one is going, and the serial
    // of the last run in which a stop was raised.
    std::atomic<uint64_t> xScriptSerial(0);
    std::atomic<bool> xScriptRunning(false);
    std::atomic<uint64_t> xStoppedSerial(0);
    const int64_t cScriptGraceNs = 2000000000;
    // How often the watcher looks at the runs once a signal has come.
    const struct timespec cWatchInterval = {0, 100000000};

    // Guards the source and the queue it is registered with against a detach while the
    // watcher emits.
    pthread_mutex_t xSourceLock = PTHREAD_MUTEX_INITIALIZER;
    ALLEGRO_EVENT_SOURCE xSource;
    ALLEGRO_EVENT_QUEUE *rAttachedQueue = nullptr;

    // Caller holds xSourceLock.
    void EmitQuitEvent()
    {
        if(!rAttachedQueue) return;
        ALLEGRO_EVENT tEvent;
        memset(&tEvent, 0, sizeof(tEvent));
        tEvent.user.type = cQuitSignalEventType;
        al_emit_user_event(&xSource, &tEvent, nullptr);
    }

    // Runs in a thread that does not block the quit signals: one a library started before the
    // watcher, or any thread when the watcher could not start. The signal is passed on to the
    // watcher, which blocks it and takes it in sigwait like one sent to the process.
    void OnQuitSignal(int pSignal)
    {
        int tSavedErrno = errno;
        xSignalled.store(true);
        if(xWatcherReady.load()) pthread_kill(xWatcherThread, pSignal);
        errno = tSavedErrno;
    }

    // Without it the default action of a signal that lands in such a thread ends the process.
    void InstallHandler()
    {
        struct sigaction tAction;
        memset(&tAction, 0, sizeof(tAction));
        tAction.sa_handler = OnQuitSignal;
        tAction.sa_flags = SA_RESTART;
        sigemptyset(&tAction.sa_mask);
        sigaddset(&tAction.sa_mask, SIGINT);
        sigaddset(&tAction.sa_mask, SIGTERM);
        sigaction(SIGINT, &tAction, nullptr);
        sigaction(SIGTERM, &tAction, nullptr);
    }

    const char *SignalName(int pSignal)
    {
        return pSignal == SIGINT ? "SIGINT" : "SIGTERM";
    }

    // Nothing of the game is cleaned up: the main thread is stuck, in a script or a call. The
    // line goes straight to the descriptor, since the stuck thread may hold the stream's lock,
    // and what the game printed is flushed only when its stream is free.
    void EndWithoutShutdown(int pSignal, const char *pWhy)
    {
        char tLine[200];
        int tLength = snprintf(tLine, sizeof(tLine), "Quit watcher: %s; the game ends without its shutdown.\n", pWhy);
        if(tLength > 0)
        {
            const size_t tSize = (size_t)tLength < sizeof(tLine) ? (size_t)tLength : sizeof(tLine) - 1;
            // With standard error gone there is no one left to tell.
            const ssize_t tWritten = write(STDERR_FILENO, tLine, tSize);
            (void)tWritten;
        }
        if(ftrylockfile(stdout) == 0)
        {
            fflush(stdout);
            funlockfile(stdout);
        }
        signal(pSignal, SIG_DFL);
        sigset_t tOne;
        sigemptyset(&tOne);
        sigaddset(&tOne, pSignal);
        pthread_sigmask(SIG_UNBLOCK, &tOne, nullptr);
        raise(pSignal);
        _exit(128 + pSignal);
    }

    void EndForStuckScript()
    {
        const int tSignal = xQuitSignal.load() == SIGINT ? SIGINT : SIGTERM;
        char tWhy[80];
        snprintf(tWhy, sizeof(tWhy), "a script would not stop after %s", SignalName(tSignal));
        EndWithoutShutdown(tSignal, tWhy);
    }

    // The first signal is waited out however long the quit takes, since a slow boot or a long
    // call is not stuck; a second one says the user will not wait, and nothing else could end
    // a main thread held in a C call that never returns.
    void EndForSecondSignal(int pSignal)
    {
        char tWhy[80];
        snprintf(tWhy, sizeof(tWhy), "%s came while the game was already quitting", SignalName(pSignal));
        EndWithoutShutdown(pSignal, tWhy);
    }

    // Called after every wait once a signal has come: a run that goes on for the grace time
    // after a stop was raised in it ends the process. A run in which no stop was raised is
    // waited for however long it takes: a slow loader or a long C call is not a stuck script,
    // and the stop reaches its Lua as soon as the run gets back there. A run that ends, or a
    // new one, starts the count over.
    void WatchScripts(uint64_t &sSerial, int64_t &sSince)
    {
        const int64_t tNow = MonotonicNs();
        uint64_t tSerial = xScriptRunning.load() ? xScriptSerial.load() : 0;
        if(xStoppedSerial.load() != tSerial) tSerial = 0;
        if(tSerial == 0 || tSerial != sSerial)
        {
            sSerial = tSerial;
            sSince = tNow;
            return;
        }
        if(tNow - sSince >= cScriptGraceNs) EndForStuckScript();
    }

    void *WatcherMain(void *pUnused)
    {
        // Named, so the shutdown nudge, which wakes only the libraries' unnamed threads, leaves
        // it in its wait.
        pthread_setname_np(pthread_self(), "quit-watcher");
        uint64_t tWatchedRun = 0;
        int64_t tRunSince = 0;
        for(;;)
        {
            // Before the first signal the wait has no end; after it, the watcher wakes to look
            // at the scripts.
            const bool tWatching = xSignalled.load();
            int tSignal = sigtimedwait(&xQuitSet, nullptr, tWatching ? &cWatchInterval : nullptr);
            if(tSignal > 0)
            {
                if(xQuitSignal.load() != 0) EndForSecondSignal(tSignal);
                xQuitSignal.store(tSignal);
                xSignalled.store(true);
                pthread_mutex_lock(&xSourceLock);
                EmitQuitEvent();
                pthread_mutex_unlock(&xSourceLock);
            }
            if(xSignalled.load()) WatchScripts(tWatchedRun, tRunSince);
        }
        return nullptr;
    }
}

bool StartQuitWatcher()
{
    if(xStarted.load()) return true;
    sigemptyset(&xQuitSet);
    sigaddset(&xQuitSet, SIGINT);
    sigaddset(&xQuitSet, SIGTERM);
    sigset_t tFormer;
    if(pthread_sigmask(SIG_BLOCK, &xQuitSet, &tFormer) != 0)
    {
        fprintf(stderr, "Quit watcher: cannot block the quit signals.\n");
        InstallHandler();
        return false;
    }

    pthread_attr_t tAttributes;
    pthread_attr_init(&tAttributes);
    pthread_attr_setdetachstate(&tAttributes, PTHREAD_CREATE_DETACHED);
    int tError = pthread_create(&xWatcherThread, &tAttributes, WatcherMain, nullptr);
    pthread_attr_destroy(&tAttributes);
    if(tError != 0)
    {
        pthread_sigmask(SIG_SETMASK, &tFormer, nullptr);
        fprintf(stderr, "Quit watcher: cannot start its thread (%s).\n", strerror(tError));
        InstallHandler();
        return false;
    }
    xWatcherReady.store(true);
    InstallHandler();
    xStarted.store(true);
    return true;
}

bool QuitSignalled()
{
    return xSignalled.load();
}

void NoteScriptRunBegins()
{
    xScriptSerial.fetch_add(1);
    xScriptRunning.store(true);
}

void NoteScriptStopRaised()
{
    xStoppedSerial.store(xScriptSerial.load());
}

int64_t MonotonicNs()
{
    struct timespec tNow;
    clock_gettime(CLOCK_MONOTONIC, &tNow);
    return (int64_t)tNow.tv_sec * 1000000000 + tNow.tv_nsec;
}

void NoteScriptRunEnds()
{
    xScriptRunning.store(false);
}

void AttachQuitWatcher(ALLEGRO_EVENT_QUEUE *pQueue)
{
    pthread_mutex_lock(&xSourceLock);
    if(rAttachedQueue)
    {
        al_destroy_user_event_source(&xSource);
        rAttachedQueue = nullptr;
    }
    if(pQueue)
    {
        al_init_user_event_source(&xSource);
        al_register_event_source(pQueue, &xSource);
        rAttachedQueue = pQueue;
        if(xSignalled.load()) EmitQuitEvent();
    }
    pthread_mutex_unlock(&xSourceLock);
}

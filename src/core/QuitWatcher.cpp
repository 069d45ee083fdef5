#include "core/QuitWatcher.h"

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <pthread.h>

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

    void *WatcherMain(void *pUnused)
    {
        // Named, so the shutdown nudge, which wakes only the libraries' unnamed threads, leaves
        // it in its wait.
        pthread_setname_np(pthread_self(), "quit-watcher");
        for(;;)
        {
            int tSignal = 0;
            if(sigwait(&xQuitSet, &tSignal) != 0) continue;
            xSignalled.store(true);
            pthread_mutex_lock(&xSourceLock);
            EmitQuitEvent();
            pthread_mutex_unlock(&xSourceLock);
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

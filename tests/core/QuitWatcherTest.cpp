#include <gtest/gtest.h>

#include <allegro5/allegro.h>
#include <cerrno>
#include <csignal>
#include <pthread.h>
#include <string>
#include <thread>
#include <unistd.h>

#include "core/QuitWatcher.h"

// A quit signal sent to the whole process, the way a shell or a supervisor sends it, is taken
// by the watcher, never by a thread started after the mask was set: it sets the flag and wakes
// a wait on the attached queue with its event. A thread started before the watcher (Allegro
// starts one for the X connection when a display is present) leaves the signals unblocked, so
// one stands here throughout; the signal may land in it and must not end the process. The
// process survives the first signal, wherever it lands; a second one, wherever it lands, ends
// the process at once with the watcher's line, killed by that second signal.
// The watcher, the blocked signals and the quit state last as long as the process, and a quit
// state left set would stop every later test's scripts, so the test runs in a child process of
// its own.
static void SignalsWakeTheAttachedQueue()
{
    ASSERT_TRUE(al_init());
    int tEarlyPipe[2];
    ASSERT_EQ(0, pipe(tEarlyPipe));
    std::thread tEarly([&]() {
        sigset_t tQuit;
        sigemptyset(&tQuit);
        sigaddset(&tQuit, SIGINT);
        sigaddset(&tQuit, SIGTERM);
        pthread_sigmask(SIG_UNBLOCK, &tQuit, nullptr);
        char tByte;
        while(read(tEarlyPipe[0], &tByte, 1) < 0 && errno == EINTR)
        {
        }
    });
    ASSERT_TRUE(StartQuitWatcher());
    EXPECT_TRUE(StartQuitWatcher());
    EXPECT_FALSE(QuitSignalled());

    ALLEGRO_EVENT_QUEUE *nQueue = al_create_event_queue();
    ASSERT_TRUE(nQueue);
    AttachQuitWatcher(nQueue);

    // A thread made now inherits the mask, so the signal cannot land in it.
    sigset_t tMask;
    bool tBlockedInLaterThread = false;
    std::thread tLater([&]() {
        pthread_sigmask(SIG_BLOCK, nullptr, &tMask);
        tBlockedInLaterThread = sigismember(&tMask, SIGTERM) && sigismember(&tMask, SIGINT);
    });
    tLater.join();
    EXPECT_TRUE(tBlockedInLaterThread);

    ASSERT_EQ(0, kill(getpid(), SIGTERM));
    ALLEGRO_EVENT tEvent;
    ASSERT_TRUE(al_wait_for_event_timed(nQueue, &tEvent, 10.0f));
    EXPECT_EQ(cQuitSignalEventType, tEvent.type);
    EXPECT_TRUE(QuitSignalled());

    // A queue attached after the signal is told at once.
    ALLEGRO_EVENT_QUEUE *nLateQueue = al_create_event_queue();
    ASSERT_TRUE(nLateQueue);
    AttachQuitWatcher(nLateQueue);
    EXPECT_TRUE(al_get_next_event(nLateQueue, &tEvent));
    EXPECT_EQ(cQuitSignalEventType, tEvent.type);

    AttachQuitWatcher(nullptr);
    al_destroy_event_queue(nLateQueue);
    al_destroy_event_queue(nQueue);
    if(testing::Test::HasFailure()) _exit(1);
    // The quit is under way; a second signal ends the process at once, as that signal would.
    ASSERT_EQ(0, kill(getpid(), SIGINT));
    // Only a guard against a hang: the watcher ends the process at once.
    sleep(20);
    _exit(2);
}

TEST(QuitWatcherTest, ProcessSignalWakesTheAttachedQueueAndASecondEndsTheProcess)
{
    const std::string tStyle = GTEST_FLAG_GET(death_test_style);
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(SignalsWakeTheAttachedQueue(), testing::KilledBySignal(SIGINT),
                "Quit watcher: SIGINT came while the game was already quitting; the game ends without its shutdown\\.");
    GTEST_FLAG_SET(death_test_style, tStyle);
    EXPECT_FALSE(QuitSignalled()) << "the signals were taken in this process";
}

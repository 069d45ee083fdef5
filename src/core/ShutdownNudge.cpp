#include "core/ShutdownNudge.h"

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <pthread.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace
{
    const int cNudgeSignal = SIGURG;
    const useconds_t cNudgeIntervalUs = 2000;
    const int cNudgeRounds = 1000;
    // Two scans in a row without a target: the joins are over.
    const int cIdleScansToStop = 2;

    std::atomic<bool> xRunning(false);
    std::atomic<bool> xStopRequested(false);
    pthread_t xThread;
    pid_t xCallerTid = 0;
    char xProcessName[32];

    void OnNudge(int pSignal)
    {
    }

    pid_t CurrentTid()
    {
        return (pid_t)syscall(SYS_gettid);
    }

    // The thread's name from /proc, without the newline; false when it cannot be read.
    bool ReadThreadName(const char *pPath, char *pOut, size_t pSize)
    {
        int tFile = open(pPath, O_RDONLY | O_CLOEXEC);
        if(tFile < 0) return false;
        ssize_t tRead = read(tFile, pOut, pSize - 1);
        close(tFile);
        if(tRead <= 0) return false;
        pOut[tRead] = '\0';
        char *rNewline = strchr(pOut, '\n');
        if(rNewline) *rNewline = '\0';
        return true;
    }

    // Signals every unnamed thread but the caller and the nudge; returns how many it reached.
    int NudgeOnce(pid_t pSelf)
    {
        DIR *rTasks = opendir("/proc/self/task");
        if(!rTasks) return 0;
        pid_t tProcess = getpid();
        int tReached = 0;
        struct dirent *rEntry;
        while((rEntry = readdir(rTasks)) != nullptr)
        {
            char *rEnd = nullptr;
            long tTid = strtol(rEntry->d_name, &rEnd, 10);
            if(rEnd == rEntry->d_name || *rEnd || tTid <= 0) continue;
            if((pid_t)tTid == pSelf || (pid_t)tTid == xCallerTid) continue;

            char tPath[64];
            char tName[32];
            snprintf(tPath, sizeof(tPath), "/proc/self/task/%ld/comm", tTid);
            if(!ReadThreadName(tPath, tName, sizeof(tName)) || strcmp(tName, xProcessName)) continue;
            if(syscall(SYS_tgkill, tProcess, (pid_t)tTid, cNudgeSignal) == 0) tReached++;
        }
        closedir(rTasks);
        return tReached;
    }

    void *NudgeMain(void *pUnused)
    {
        pid_t tSelf = CurrentTid();
        int tIdleScans = 0;
        for(int i = 0; i < cNudgeRounds && !xStopRequested.load(); i++)
        {
            tIdleScans = NudgeOnce(tSelf) ? 0 : tIdleScans + 1;
            if(tIdleScans >= cIdleScansToStop) break;
            usleep(cNudgeIntervalUs);
        }
        return nullptr;
    }
}

bool StartShutdownNudge()
{
    if(xRunning.load()) return true;
    if(!ReadThreadName("/proc/self/comm", xProcessName, sizeof(xProcessName))) return false;

    struct sigaction tAction;
    memset(&tAction, 0, sizeof(tAction));
    tAction.sa_handler = OnNudge;
    tAction.sa_flags = SA_RESTART;
    sigemptyset(&tAction.sa_mask);
    if(sigaction(cNudgeSignal, &tAction, nullptr) != 0) return false;

    xCallerTid = CurrentTid();
    xStopRequested.store(false);
    if(pthread_create(&xThread, nullptr, NudgeMain, nullptr) != 0) return false;
    xRunning.store(true);
    return true;
}

void StopShutdownNudge()
{
    if(!xRunning.load()) return;
    xStopRequested.store(true);
    pthread_join(xThread, nullptr);
    xRunning.store(false);
}

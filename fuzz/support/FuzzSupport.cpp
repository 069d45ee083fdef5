#include "support/FuzzSupport.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ftw.h>
#include <unistd.h>

#include "core/DebugPrint.h"

// Present under the sanitizers; the replay build of the normal tree has none.
extern "C" void __sanitizer_report_error_summary(const char *pSummary) __attribute__((weak));

namespace
{
    char xScratch[64] = {0};
    char xJoined[4096];

    int RemoveEntry(const char *pPath, const struct stat *, int, struct FTW *)
    {
        remove(pPath);
        return 0;
    }

    void RemoveScratch()
    {
        if(xScratch[0]) nftw(xScratch, RemoveEntry, 16, FTW_DEPTH | FTW_PHYS);
    }
}

const char *FuzzScratchDirectory()
{
    if(xScratch[0]) return xScratch;
    snprintf(xScratch, sizeof(xScratch), "/tmp/corvel_fuzz_XXXXXX");
    if(!mkdtemp(xScratch)) FuzzFail("cannot make a scratch directory under /tmp");
    atexit(RemoveScratch);
    return xScratch;
}

const char *FuzzScratchPath(const char *pRelative)
{
    int tWritten = snprintf(xJoined, sizeof(xJoined), "%s/%s", FuzzScratchDirectory(), pRelative);
    if(tWritten < 0 || (size_t)tWritten >= sizeof(xJoined)) FuzzFail("scratch path too long: %s", pRelative);
    return xJoined;
}

bool FuzzWriteFile(const char *pPath, const uint8_t *pData, size_t pSize)
{
    FILE *fOut = fopen(pPath, "wb");
    if(!fOut) return false;
    bool tOk = pSize == 0 || fwrite(pData, 1, pSize, fOut) == pSize;
    return fclose(fOut) == 0 && tOk;
}

void FuzzFail(const char *pFormat, ...)
{
    // The runner sends the target's standard error to /dev/null; the sanitizers' report channel
    // still reaches the log, and the abort that follows prints the stack.
    char tMessage[1024];
    int tPrefix = snprintf(tMessage, sizeof(tMessage), "fuzz invariant broken: ");
    va_list tArgs;
    va_start(tArgs, pFormat);
    vsnprintf(tMessage + tPrefix, sizeof(tMessage) - tPrefix, pFormat, tArgs);
    va_end(tArgs);
    fprintf(stderr, "%s\n", tMessage);
    if(__sanitizer_report_error_summary) __sanitizer_report_error_summary(tMessage);
    abort();
}

FuzzPrintStackGuard::FuzzPrintStackGuard()
{
    mSize = Debug::GetPrintStackSize();
}

FuzzPrintStackGuard::~FuzzPrintStackGuard()
{
    int32_t tSize = Debug::GetPrintStackSize();
    if(tSize != mSize) FuzzFail("debug print stack went from %i to %i entries", mSize, tSize);
}

#include "support/ScratchFolder.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ftw.h>
#include <sys/stat.h>

ScratchFolder::ScratchFolder(const char *pTag) : mRemoved(false)
{
    std::string tTemplate = std::string("/tmp/corvel_") + (pTag ? pTag : "scratch") + "_XXXXXX";
    if(mkdtemp(&tTemplate[0])) mPath = tTemplate;
    else fprintf(stderr, "ScratchFolder: could not make %s\n", tTemplate.c_str());
}

ScratchFolder::~ScratchFolder()
{
    if(!Remove()) fprintf(stderr, "ScratchFolder: could not remove %s\n", mPath.c_str());
}

std::string ScratchFolder::File(const char *pName) const
{
    return mPath + "/" + (pName ? pName : "");
}

bool ScratchFolder::Write(const char *pName, const void *pBytes, size_t pCount) const
{
    if(!IsMade() || !pName || (!pBytes && pCount)) return false;
    FILE *fOut = fopen(File(pName).c_str(), "wb");
    if(!fOut) return false;
    bool tWritten = pCount == 0 || fwrite(pBytes, 1, pCount, fOut) == pCount;
    return fclose(fOut) == 0 && tWritten;
}

bool ScratchFolder::WriteText(const char *pName, const char *pText) const
{
    return pText && Write(pName, pText, strlen(pText));
}

// Children go before their folder (FTW_DEPTH), and links are removed, never followed.
static int RemoveEntry(const char *pPath, const struct stat *, int, struct FTW *)
{
    return remove(pPath);
}

bool ScratchFolder::Remove()
{
    if(!IsMade() || mRemoved) return true;
    nftw(mPath.c_str(), RemoveEntry, 16, FTW_DEPTH | FTW_PHYS);
    struct stat tStat;
    mRemoved = lstat(mPath.c_str(), &tStat) != 0 && errno == ENOENT;
    return mRemoved;
}

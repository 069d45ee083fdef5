#include "core/data/MemoryFile.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sys/stat.h>

MemoryFile::MemoryFile(const char *pPath)
{
    mOpen = 0;
    mSize = 0;
    mBuffer = nullptr;
    mCursor = 0;
    if(!pPath) return;

    // fopen succeeds on a directory on Linux and its "length" is nonsense, so only a regular
    // file that fits the 32-bit size is read.
    FILE *fInput = fopen(pPath, "rb");
    if(!fInput) return;
    struct stat tInfo;
    if(fstat(fileno(fInput), &tInfo) != 0 || !S_ISREG(tInfo.st_mode) || tInfo.st_size < 0 ||
       (uint64_t)tInfo.st_size > 0xFFFFFFFFull)
    {
        fclose(fInput);
        return;
    }

    uint32_t tSize = (uint32_t)tInfo.st_size;
    uint8_t *nBuffer = static_cast<uint8_t *>(malloc(tSize > 0 ? tSize : 1));
    if(!nBuffer)
    {
        fclose(fInput);
        return;
    }
    size_t tRead = tSize > 0 ? fread(nBuffer, 1, tSize, fInput) : 0;
    fclose(fInput);
    if(tRead != tSize)
    {
        free(nBuffer);
        return;
    }
    mBuffer = nBuffer;
    mSize = tSize;
    mOpen = 1;
}

MemoryFile::~MemoryFile()
{
    free(mBuffer);
}

bool MemoryFile::Read(void *pDestination, uint32_t pSize, uint32_t pCount)
{
    if(!pDestination) return false;
    uint64_t tBytes = (uint64_t)pSize * (uint64_t)pCount;
    if(tBytes > GetRemaining()) return false;
    if(tBytes > 0) memcpy(pDestination, mBuffer + mCursor, (size_t)tBytes);
    mCursor += (uint32_t)tBytes;
    return true;
}

void MemoryFile::Seek(uint32_t pPosition)
{
    mCursor = pPosition;
}

void MemoryFile::Skip(uint32_t pCount)
{
    uint64_t tTarget = (uint64_t)mCursor + pCount;
    uint64_t tLast = mSize > 0 ? mSize - 1 : 0;
    mCursor = (uint32_t)(tTarget > tLast ? tLast : tTarget);
}

bool MemoryFile::SaveToFile(const char *pPath) const
{
    if(!pPath || !mOpen) return false;
    FILE *fOutput = fopen(pPath, "wb");
    if(!fOutput) return false;
    size_t tWritten = mSize > 0 ? fwrite(mBuffer, 1, mSize, fOutput) : 0;
    bool tClosed = fclose(fOutput) == 0;
    return tWritten == mSize && tClosed;
}

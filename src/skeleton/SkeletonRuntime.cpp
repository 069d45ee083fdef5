#include "skeleton/SkeletonRuntime.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sys/stat.h>

static RuntimeAllocateFunc xAllocate = malloc;
static RuntimeReleaseFunc xRelease = free;

void Runtime_setMalloc(RuntimeAllocateFunc pAllocate)
{
    xAllocate = pAllocate ? pAllocate : malloc;
}

void Runtime_setFree(RuntimeReleaseFunc pRelease)
{
    xRelease = pRelease ? pRelease : free;
}

void *Runtime_malloc(size_t pSize)
{
    return xAllocate(pSize == 0 ? 1 : pSize);
}

void *Runtime_calloc(size_t pCount, size_t pSize)
{
    if(pSize != 0 && pCount > (size_t)-1 / pSize) return nullptr;
    size_t tBytes = pCount * pSize;
    void *nMemory = Runtime_malloc(tBytes);
    if(nMemory) memset(nMemory, 0, tBytes == 0 ? 1 : tBytes);
    return nMemory;
}

void Runtime_free(void *pMemory)
{
    if(pMemory) xRelease(pMemory);
}

char *Runtime_copyStringLength(const char *pText, size_t pLength)
{
    if(!pText) return nullptr;
    char *nCopy = (char *)Runtime_malloc(pLength + 1);
    if(!nCopy) return nullptr;
    memcpy(nCopy, pText, pLength);
    nCopy[pLength] = 0;
    return nCopy;
}

char *Runtime_copyString(const char *pText)
{
    if(!pText) return nullptr;
    return Runtime_copyStringLength(pText, strlen(pText));
}

void Runtime_resetString(char **pSlot, const char *pText)
{
    if(*pSlot == pText) return;
    char *nCopy = Runtime_copyString(pText);
    Runtime_free(*pSlot);
    *pSlot = nCopy;
}

void Runtime_setError(char **pSlot, const char *pFirst, const char *pSecond)
{
    if(!pFirst) pFirst = "";
    if(!pSecond) pSecond = "";
    size_t tFirst = strlen(pFirst);
    if(tFirst > RUNTIME_ERROR_LENGTH) tFirst = RUNTIME_ERROR_LENGTH;
    size_t tSecond = strnlen(pSecond, RUNTIME_ERROR_LENGTH - tFirst);
    char *nText = (char *)Runtime_malloc(tFirst + tSecond + 1);
    if(nText)
    {
        memcpy(nText, pFirst, tFirst);
        memcpy(nText + tFirst, pSecond, tSecond);
        nText[tFirst + tSecond] = 0;
    }
    Runtime_free(*pSlot);
    *pSlot = nText;
}

char *Runtime_readFile(const char *pPath, int32_t *sLength)
{
    if(sLength) *sLength = 0;
    if(!pPath) return nullptr;
    struct stat tStat;
    if(stat(pPath, &tStat) != 0 || !S_ISREG(tStat.st_mode)) return nullptr;
    FILE *rFile = fopen(pPath, "rb");
    if(!rFile) return nullptr;
    char *nBuffer = nullptr;
    long tLength = -1;
    if(fseek(rFile, 0, SEEK_END) == 0) tLength = ftell(rFile);
    if(tLength >= 0 && tLength < INT32_MAX && fseek(rFile, 0, SEEK_SET) == 0)
    {
        nBuffer = (char *)Runtime_malloc((size_t)tLength + 1);
        if(nBuffer && fread(nBuffer, 1, (size_t)tLength, rFile) != (size_t)tLength)
        {
            Runtime_free(nBuffer);
            nBuffer = nullptr;
        }
    }
    fclose(rFile);
    if(!nBuffer) return nullptr;
    nBuffer[tLength] = 0;
    if(sLength) *sLength = (int32_t)tLength;
    return nBuffer;
}

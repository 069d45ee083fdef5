#include "core/Wildcards.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "core/Utilities.h"

WildcardPair **NewWildcardTable(int32_t pCount, ...)
{
    if(pCount <= 0) return nullptr;
    WildcardPair **nTable = (WildcardPair **)malloc(sizeof(WildcardPair *) * pCount);
    va_list tArgs;
    va_start(tArgs, pCount);
    for(int32_t i = 0; i < pCount; i++)
    {
        nTable[i] = (WildcardPair *)malloc(sizeof(WildcardPair));
        nTable[i]->mName = nullptr;
        nTable[i]->mValue = nullptr;
        ResetString(&nTable[i]->mName, va_arg(tArgs, const char *));
        ResetString(&nTable[i]->mValue, va_arg(tArgs, const char *));
    }
    va_end(tArgs);
    return nTable;
}

void FreeWildcardTable(int32_t pCount, WildcardPair **pTable)
{
    if(pCount <= 0 || !pTable) return;
    for(int32_t i = 0; i < pCount; i++)
    {
        if(!pTable[i]) continue;
        free(pTable[i]->mName);
        free(pTable[i]->mValue);
        free(pTable[i]);
    }
    free(pTable);
}

static void AppendBounded(char *pBuffer, size_t &sLength, const char *pText)
{
    while(*pText && sLength < 255) pBuffer[sLength++] = *pText++;
}

static const char *LookUpWildcard(const char *pWildcard, size_t pLength, WildcardPair **pTable, int32_t pCount)
{
    for(int32_t i = 0; i < pCount; i++)
    {
        const char *rName = pTable[i] ? pTable[i]->mName : nullptr;
        if(rName && strlen(rName) == pLength && !strncmp(rName, pWildcard, pLength)) return pTable[i]->mValue ? pTable[i]->mValue : "";
    }
    return "INVALID";
}

char *ExpandWildcards(const char *pTemplate, WildcardPair **pTable, int32_t pCount)
{
    if(!pTemplate) return nullptr;

    WildcardPair **rTable = pTable;
    WildcardPair **nDefaultTable = nullptr;
    if(!pTable || pCount <= 0)
    {
        nDefaultTable = NewWildcardTable(1, "<NONE>", "FAIL");
        rTable = nDefaultTable;
        pCount = 1;
    }

    char tBuffer[256];
    memset(tBuffer, 0, sizeof(tBuffer));
    size_t tLength = 0;
    bool tBroken = false;
    for(const char *rRead = pTemplate; *rRead; rRead++)
    {
        if(*rRead != '<')
        {
            if(tLength < 255) tBuffer[tLength++] = *rRead;
            continue;
        }
        const char *rClose = strchr(rRead, '>');
        if(!rClose)
        {
            tBroken = true;
            break;
        }
        size_t tWildcardLength = (size_t)(rClose - rRead) + 1;
        const char *rValue = LookUpWildcard(rRead, tWildcardLength, rTable, pCount);
        AppendBounded(tBuffer, tLength, rValue);
        rRead = rClose;
    }

    FreeWildcardTable(1, nDefaultTable);
    if(tBroken)
    {
        fprintf(stderr, "Broken wildcard detected in string %s\n", pTemplate);
        return nullptr;
    }
    char *nResult = nullptr;
    ResetString(&nResult, tBuffer);
    return nResult;
}

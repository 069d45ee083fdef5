#include "core/ScriptPackEntry.h"

#include <cstdlib>
#include <cstring>

ScriptPackEntry *NewScriptPackEntry(const char *pName, const char *pSource, uint32_t pSize)
{
    if(!pName || (!pSource && pSize > 0)) return nullptr;

    ScriptPackEntry *nEntry = (ScriptPackEntry *)calloc(1, sizeof(ScriptPackEntry));
    if(!nEntry) return nullptr;

    size_t tNameLen = strlen(pName);
    nEntry->mName = (char *)malloc(tNameLen + 1);
    nEntry->mSourceText = (char *)malloc((size_t)pSize + 1);
    if(!nEntry->mName || !nEntry->mSourceText)
    {
        DeleteScriptPackEntry(nEntry);
        return nullptr;
    }
    memcpy(nEntry->mName, pName, tNameLen + 1);
    if(pSize > 0) memcpy(nEntry->mSourceText, pSource, pSize);
    nEntry->mSourceText[pSize] = '\0';
    nEntry->mSourceSize = pSize;
    return nEntry;
}

void DeleteScriptPackEntry(ScriptPackEntry *pEntry)
{
    if(!pEntry) return;
    free(pEntry->mName);
    free(pEntry->mSourceText);
    free(pEntry->mCompiledChunk);
    free(pEntry);
}

#pragma once

#include <cstdint>

// One script of a script pack: the lump's text and, once compiled, its Lua binary chunk.
// The entry owns both buffers. The source is kept with a terminating 0 byte beyond
// mSourceSize so it can be printed safely; Lua only ever reads mSourceSize bytes.
struct ScriptPackEntry
{
    char *mName;
    uint32_t mSourceSize;
    char *mSourceText;
    uint32_t mCompiledSize;
    uint8_t *mCompiledChunk;
};

// A new entry holding copies of the name ("Data/Scripts/..." as the lookups expect) and of
// pSize bytes of source. Null when the name is null, or the source is null with a size.
ScriptPackEntry *NewScriptPackEntry(const char *pName, const char *pSource, uint32_t pSize);

// Frees the entry and its buffers; null is ignored.
void DeleteScriptPackEntry(ScriptPackEntry *pEntry);

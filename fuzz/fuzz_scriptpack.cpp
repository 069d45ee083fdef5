// Script packs: the input is a lump file booted as the Lua manager's script pack, the way
// "LM_BootTarballMode" boots one. Every lump is read as a script and compiled (never run); an
// entry found again by its own name holds the source of the first lump of that name, and
// loading it gives one chunk or none.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include <lua.hpp>

#include "core/Application.h"
#include "core/LuaManager.h"
#include "core/ScriptPackEntry.h"
#include "core/data/CorvelLumpManager.h"
#include "support/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *pData, size_t pSize)
{
    const char *rPath = FuzzScratchPath("Scripts.slf");
    if(!FuzzWriteFile(rPath, pData, pSize)) FuzzFail("cannot write %s", rPath);

    FuzzPrintStackGuard tGuard;
    Application *rApp = GetApplication();
    rApp->mLumpManager = new CorvelLumpManager();
    rApp->mLuaManager = new LuaManager();
    LuaManager *rLua = rApp->mLuaManager;
    rLua->BootScriptPack(rPath);

    lua_State *L = rLua->GetState();
    int32_t tCount = rLua->GetScriptPackCount();
    if(tCount > 0 && !rLua->IsScriptPackMode()) FuzzFail("%i scripts installed outside script-pack mode", tCount);
    if(tCount > (int32_t)rApp->mLumpManager->GetLumpCount()) FuzzFail("%i scripts from %u lumps", tCount, rApp->mLumpManager->GetLumpCount());

    // Names are looked up as a script names them: the pack's names start "Data/Scripts/". Of a
    // repeated name the first readable lump is the one kept.
    CorvelLumpManager *rLumps = rApp->mLumpManager;
    int32_t tLumpCount = (int32_t)rLumps->GetLumpCount();
    char **tSeen = (char **)calloc(tLumpCount > 0 ? (size_t)tLumpCount : 1, sizeof(char *));
    int32_t tSeenCount = 0;
    for(int32_t i = 0; tSeen && i < tLumpCount; i++)
    {
        ScriptPackEntry *rEntry = rLumps->ReadTarballLump(i);
        if(!rEntry) continue;
        bool tRepeated = false;
        for(int32_t k = 0; k < tSeenCount && !tRepeated; k++) tRepeated = !strcmp(tSeen[k], rEntry->mName);
        if(tRepeated)
        {
            DeleteScriptPackEntry(rEntry);
            continue;
        }
        tSeen[tSeenCount++] = strdup(rEntry->mName);

        // A name holding ".." is looked up without it and may find another entry or none; a
        // missed name would be read from the disk, which is not what is fuzzed here.
        ScriptPackEntry *rFound = rLua->FindScriptPackEntry(rEntry->mName);
        if(rFound && !strcmp(rFound->mName, rEntry->mName))
        {
            if(rFound->mSourceSize != rEntry->mSourceSize || memcmp(rFound->mSourceText, rEntry->mSourceText, rEntry->mSourceSize))
            {
                FuzzFail("%s found with another source than its first lump", rEntry->mName);
            }
            int tTop = lua_gettop(L);
            if(rLua->LoadFile(rEntry->mName)) lua_pop(L, 1);
            if(lua_gettop(L) != tTop) FuzzFail("loading %s left %i values on the stack", rEntry->mName, lua_gettop(L) - tTop);
        }
        DeleteScriptPackEntry(rEntry);
    }
    for(int32_t k = 0; k < tSeenCount; k++) free(tSeen[k]);
    free(tSeen);

    delete rApp->mLuaManager;
    rApp->mLuaManager = nullptr;
    delete rApp->mLumpManager;
    rApp->mLumpManager = nullptr;
    return 0;
}

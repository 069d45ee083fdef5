// The console command line: the input is one entered line (up to its first 0 byte), run by the
// console's dispatcher against the commands the engine registers. Each line gets a fresh Lua
// manager, so an input replays alone. Chunks that the line runs are held to an instruction
// budget and a memory ceiling, and cannot reach the file system or the process through the
// standard library; the engine's own "LM_" functions stay.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include <lua.hpp>

#include "core/Application.h"
#include "core/ConsoleCommands.h"
#include "core/LuaManager.h"
#include "core/Utilities.h"
#include "support/FuzzSupport.h"

namespace
{
    const int64_t cMemoryCeiling = 64 * 1024 * 1024;
    const int cInstructionBudget = 200000;

    // Blocks made before the allocator was swapped in are freed through it too, so the count
    // may go below zero.
    int64_t xLuaBytes = 0;

    void *CeilingAllocator(void *, void *pBlock, size_t pOldSize, size_t pNewSize)
    {
        int64_t tOld = pBlock ? (int64_t)pOldSize : 0;
        if(pNewSize == 0)
        {
            free(pBlock);
            xLuaBytes -= tOld;
            return nullptr;
        }
        if(pNewSize > cMemoryCeiling || xLuaBytes - tOld + (int64_t)pNewSize > cMemoryCeiling) return nullptr;
        void *nBlock = realloc(pBlock, pNewSize);
        if(nBlock) xLuaBytes = xLuaBytes - tOld + (int64_t)pNewSize;
        return nBlock;
    }

    void OutOfBudget(lua_State *L, lua_Debug *)
    {
        luaL_error(L, "instruction budget spent");
    }

    void Sandbox(lua_State *L)
    {
        const char *cRemoved[] = {"os", "io", "package", "require", "dofile", "loadfile", "debug"};
        for(const char *rName : cRemoved)
        {
            lua_pushnil(L);
            lua_setglobal(L, rName);
        }
        lua_sethook(L, OutOfBudget, LUA_MASKCOUNT, cInstructionBudget);
    }
}

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    LuaManager::RegisterConsoleCommands();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *pData, size_t pSize)
{
    char *tLine = (char *)malloc(pSize + 1);
    if(!tLine) return 0;
    memcpy(tLine, pData, pSize);
    tLine[pSize] = '\0';

    Application *rApp = GetApplication();
    rApp->mLuaManager = new LuaManager();
    lua_State *L = rApp->mLuaManager->GetState();
    if(!L) FuzzFail("no Lua state");
    xLuaBytes = 0;
    lua_setallocf(L, CeilingAllocator, nullptr);
    Sandbox(L);

    {
        FuzzPrintStackGuard tGuard;
        int tTop = lua_gettop(L);
        RunLuaCommand(tLine);
        if(lua_gettop(L) != tTop) FuzzFail("the command left %i values on the Lua stack", lua_gettop(L) - tTop);
        if(GetConsoleParseErrorFlag()) FuzzFail("the dispatcher left the parse error flag raised");
    }

    // Arguments as any command reads them.
    int32_t tCount = CountConsoleArguments(tLine);
    for(int32_t i = -1; i <= tCount; i++)
    {
        FindConsoleArgument(tLine, i);
        free(ParseQuotedConsoleArgument(tLine, i));
    }
    ClearConsoleParseErrorFlag();

    delete rApp->mLuaManager;
    rApp->mLuaManager = nullptr;
    free(tLine);
    return 0;
}

#include "core/LuaManager.h"

#include "core/Application.h"
#include "core/DebugPrint.h"
#include "core/NamedLinkedList.h"
#include "core/QuitWatcher.h"
#include "core/ScriptPackEntry.h"
#include "core/Utilities.h"
#include "core/data/CorvelLumpManager.h"
#include "core/data/DataLibrary.h"

extern "C" {
#include <lauxlib.h>
#include <lualib.h>
}

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace
{
    // Room for "%f" of any f32: 39 integer digits, a sign, the point and six decimals.
    const size_t cNumberTextSize = 64;

    struct MacroRecord
    {
        char *mText;
    };

    // Collects the pieces lua_dump writes. Each dump has its own buffer, so a dump that
    // writes nothing can never hand out the bytes of an earlier one.
    struct ChunkBuffer
    {
        uint8_t *mData;
        size_t mSize;
        size_t mCapacity;
        uint8_t mFailed;
    };

    int ChunkWriter(lua_State *L, const void *pPiece, size_t pSize, void *pUserData)
    {
        ChunkBuffer *rBuffer = (ChunkBuffer *)pUserData;
        if(pSize == 0) return 0;
        if(rBuffer->mSize + pSize > rBuffer->mCapacity)
        {
            size_t tNewCapacity = rBuffer->mCapacity ? rBuffer->mCapacity * 2 : 1024;
            while(tNewCapacity < rBuffer->mSize + pSize) tNewCapacity *= 2;
            uint8_t *rGrown = (uint8_t *)realloc(rBuffer->mData, tNewCapacity);
            if(!rGrown)
            {
                rBuffer->mFailed = 1;
                return 1;
            }
            rBuffer->mData = rGrown;
            rBuffer->mCapacity = tNewCapacity;
        }
        memcpy(rBuffer->mData + rBuffer->mSize, pPiece, pSize);
        rBuffer->mSize += pSize;
        return 0;
    }

    const char *ErrorText(lua_State *L)
    {
        const char *rText = lua_tostring(L, -1);
        return rText ? rText : "(error object is not a string)";
    }

    // VM instructions between two looks at the quit flag. A look that finds no quit costs a
    // clock read, so a script that runs Lua looks rarely. One whose time goes into C calls (a
    // long string.gsub, repeated) runs few instructions a second, so the count follows the time
    // between looks toward cQuitCheckNs; each outermost run starts at the low count, which a
    // short script never reaches, so a loop of slow calls is looked at within moments.
    const int cQuitCheckMostInstructions = 10000;
    const int cQuitCheckFirstInstructions = 100;
    const int64_t cQuitCheckNs = 20000000;
    int64_t xLastQuitCheckNs = 0;

    // Calls are looked at as well, for a flag test each. The count only follows the time of
    // what already ran: a loop of slow calls after quick work (a map script's endless loop
    // after its set-up) began at a count of up to ten thousand, minutes of calls between two
    // looks. So a run that was going when the quit came stops at its next call. One begun
    // after the quit keeps the count's rule alone, so a short one (a boot winding down) still
    // finishes.
    const int cQuitHookMask = LUA_MASKCOUNT | LUA_MASKCALL;
    bool xQuitBeforeRun = false;

    void StopScriptOnQuit(lua_State *L, lua_Debug *pDebug);

    // Fewer instructions to the next look when the last ones took long, more when they were quick.
    void PaceQuitChecks(lua_State *L)
    {
        const int64_t tNow = MonotonicNs();
        const int64_t tTook = tNow - xLastQuitCheckNs;
        xLastQuitCheckNs = tNow;
        const int64_t tCount = lua_gethookcount(L);
        int64_t tNext = tCount;
        if(tTook > cQuitCheckNs) tNext = tCount * cQuitCheckNs / tTook;
        else if(tTook < cQuitCheckNs / 2) tNext = tCount * 2;
        if(tNext < 1) tNext = 1;
        if(tNext > cQuitCheckMostInstructions) tNext = cQuitCheckMostInstructions;
        if(tNext != tCount) lua_sethook(L, StopScriptOnQuit, cQuitHookMask, (int)tNext);
    }

    // A script that never returns must not keep the game from quitting. The error unwinds
    // the script and is reported by whoever ran it. A script's own pcall, xpcall or coroutine
    // can catch it, so from the first stop on the hook runs at every instruction of the
    // stopped thread and of the main thread (new coroutines copy their creator's hook): any
    // instruction outside the catch raises again, and the script ends for good. Execute puts
    // the usual count back when the next outermost script begins.
    void StopScriptOnQuit(lua_State *L, lua_Debug *pDebug)
    {
        if(pDebug->event != LUA_HOOKCOUNT)
        {
            if(!QuitRequested() || xQuitBeforeRun) return;
        }
        else if(!QuitRequested())
        {
            PaceQuitChecks(L);
            return;
        }
        NoteScriptStopRaised();
        lua_sethook(L, StopScriptOnQuit, cQuitHookMask, 1);
        lua_rawgeti(L, LUA_REGISTRYINDEX, LUA_RIDX_MAINTHREAD);
        lua_State *rMain = lua_tothread(L, -1);
        lua_pop(L, 1);
        if(rMain) lua_sethook(rMain, StopScriptOnQuit, cQuitHookMask, 1);
        luaL_error(L, "script stopped, the game is quitting");
    }

    // Whether the file starts as a compiled chunk does, past what Lua's file loader skips
    // first (a byte-order mark, then a first line starting with '#').
    bool HoldsCompiledChunk(const char *pPath)
    {
        FILE *rFile = fopen(pPath, "rb");
        if(!rFile) return false;
        const char *cMark = "\xEF\xBB\xBF";
        int tChar = fgetc(rFile);
        for(int i = 0; i < 3 && tChar == (uint8_t)cMark[i]; i++) tChar = fgetc(rFile);
        if(tChar == '#')
        {
            while(tChar != EOF && tChar != '\n') tChar = fgetc(rFile);
            tChar = fgetc(rFile);
        }
        fclose(rFile);
        return tChar == LUA_SIGNATURE[0];
    }

    int CompareEntries(const void *pA, const void *pB)
    {
        const ScriptPackEntry *rA = *(const ScriptPackEntry *const *)pA;
        const ScriptPackEntry *rB = *(const ScriptPackEntry *const *)pB;
        return strcmp(rA->mName, rB->mName);
    }
}

LuaManager::LuaManager()
{
    mState = luaL_newstate();
    if(mState) luaL_openlibs(mState);
    if(mState) lua_sethook(mState, StopScriptOnQuit, cQuitHookMask, cQuitCheckFirstInstructions);

    mArgumentCount = 0;
    mArgumentFill = 0;
    mArguments = nullptr;

    mCallStack = new NamedLinkedList(1);

    mScriptPackMode = 0;
    mScriptPackCount = 0;
    mScriptPack = nullptr;

    mMacros = new NamedLinkedList(1);

    mPrecompiledFlag = 0;
    mLoadFromDiskFlag = 0;

    // The one registration outside the boot's list: scripts read their arguments through the
    // "LM_" globals, so every state the manager makes has them, whether or not that list runs.
    if(mState) RegisterLuaManagerLua(mState);
}

LuaManager::~LuaManager()
{
    if(mState) lua_close(mState);
    delete mMacros;
    delete mCallStack;
    ClearArguments();
    ClearScriptPack();
}

LuaManager *LuaManager::Fetch()
{
    return GetApplication()->mLuaManager;
}

void LuaManager::PushCallStackName(const char *pName)
{
    char *nCopy = CopyText(pName ? pName : "");
    if(nCopy) mCallStack->AddElementAsHead("X", nCopy);
}

void LuaManager::PopCallStackName()
{
    if(mCallStack->GetCount() > 0) mCallStack->RemoveHead();
}

const char *LuaManager::GetCallStackName(int32_t pDepth)
{
    if(pDepth < 0 || pDepth >= mCallStack->GetCount()) return nullptr;
    return (const char *)mCallStack->GetElementByIndex(pDepth);
}

int32_t LuaManager::GetCallStackDepth()
{
    return mCallStack->GetCount();
}

bool LuaManager::LoadFile(const char *pPath)
{
    if(!pPath || !mState) return false;

    if(mScriptPackMode && !mLoadFromDiskFlag)
    {
        ScriptPackEntry *rEntry = FindScriptPackEntry(pPath);
        if(rEntry) return LoadFromScriptPack(rEntry, pPath);
        fprintf(stderr, "Could not load file in tarball %s\n", pPath);
    }

    // Lua does not verify compiled chunks, and a damaged one can run wild; the engine compiles
    // only in memory, so a file on disk is read as script text and nothing else.
    mLoadFromDiskFlag = 0;
    if(luaL_loadfilex(mState, pPath, "t") != LUA_OK)
    {
        if(HoldsCompiledChunk(pPath))
            fprintf(stderr, "Lua Error during Loading: %s holds a compiled chunk; only script text is loaded\n", pPath);
        else
            fprintf(stderr, "Lua Error during Loading: %s\n", ErrorText(mState));
        lua_pop(mState, 1);
        return false;
    }
    mPrecompiledFlag = 0;
    PushCallStackName(pPath);
    return true;
}

bool LuaManager::CompileEntry(ScriptPackEntry *pEntry)
{
    free(pEntry->mCompiledChunk);
    pEntry->mCompiledChunk = nullptr;
    pEntry->mCompiledSize = 0;

    if(luaL_loadbufferx(mState, pEntry->mSourceText, pEntry->mSourceSize, "Tarball Chunk", "t") != LUA_OK) return false;

    ChunkBuffer tBuffer = {nullptr, 0, 0, 0};
    lua_dump(mState, ChunkWriter, &tBuffer);
    if(tBuffer.mFailed || tBuffer.mSize == 0)
    {
        free(tBuffer.mData);
        lua_pop(mState, 1);
        lua_pushstring(mState, "not enough memory to keep the compiled chunk");
        return false;
    }
    pEntry->mCompiledChunk = tBuffer.mData;
    pEntry->mCompiledSize = (uint32_t)tBuffer.mSize;
    return true;
}

bool LuaManager::LoadFromScriptPack(ScriptPackEntry *pEntry, const char *pPath)
{
    const char *rChunkName = "Tarball Chunk";
    if(!pEntry->mCompiledChunk)
    {
        // A source that does not compile is a load error, never an empty or stale chunk.
        if(!CompileEntry(pEntry))
        {
            fprintf(stderr, "Lua Error during Loading: %s\n", ErrorText(mState));
            lua_pop(mState, 1);
            return false;
        }
        lua_pop(mState, 1);
        rChunkName = "Compiled Chunk";
    }

    if(luaL_loadbufferx(mState, (const char *)pEntry->mCompiledChunk, pEntry->mCompiledSize, rChunkName, "b") != LUA_OK)
    {
        fprintf(stderr, "Lua Error during Loading: %s\n", ErrorText(mState));
        lua_pop(mState, 1);
        return false;
    }
    PushCallStackName(pPath);
    return true;
}

bool LuaManager::Execute()
{
    if(!mState) return false;
    int tTop = lua_gettop(mState);
    if(tTop < 1 || !lua_isfunction(mState, tTop)) return false;

    int tBase = tTop - 1;
    // The load pushed this run's name: one name means no other script is running.
    const bool tOutermost = GetCallStackDepth() == 1;
    if(tOutermost)
    {
        NoteScriptRunBegins();
        lua_sethook(mState, StopScriptOnQuit, cQuitHookMask, cQuitCheckFirstInstructions);
        xLastQuitCheckNs = MonotonicNs();
        xQuitBeforeRun = QuitRequested();
    }
    int tResult = lua_pcallk(mState, 0, LUA_MULTRET, 0, 0, nullptr);
    PopCallStackName();
    if(tOutermost) NoteScriptRunEnds();
    if(tResult != LUA_OK)
    {
        fprintf(stderr, "Lua Error during Execution: %s\n", ErrorText(mState));
        lua_settop(mState, tBase);
        return false;
    }

    // No engine caller reads a chunk's results; dropping them keeps runs made every tick
    // from growing the stack.
    lua_settop(mState, tBase);
    return true;
}

bool LuaManager::ExecuteFile(const char *pPath)
{
    if(!LoadFile(pPath)) return false;
    return Execute();
}

bool LuaManager::ExecuteLuaFile(const char *pPath, int32_t pCount, ...)
{
    SetArgumentCount(pCount);

    va_list tArgs;
    va_start(tArgs, pCount);
    for(int32_t i = 0; i < pCount; i++)
    {
        const char *rType = va_arg(tArgs, const char *);
        if(rType && rType[0] == 'N')
        {
            AddNumberArgument((float)va_arg(tArgs, double));
        }
        else if(rType && rType[0] == 'S')
        {
            AddStringArgument(va_arg(tArgs, const char *));
        }
        else
        {
            fprintf(stderr, "LuaManager::ExecuteLuaFile:  Error, cannot resolve type %s\n", rType ? rType : "(null)");
            break;
        }
    }
    va_end(tArgs);

    if(!LoadFile(pPath)) return false;
    return Execute();
}

void RunScriptAsActive(RootObject *pObject, const char *pPath, int32_t pArgs, double pNumber)
{
    LuaManager *rLua = LuaManager::Fetch();
    DataLibrary *rLibrary = DataLibrary::Fetch();
    if(!pPath || !rLua || !rLibrary) return;
    rLibrary->PushActiveEntity(pObject);
    if(pArgs == SCRIPT_ARGS_KEPT) rLua->ExecuteFile(pPath);
    else if(pArgs == SCRIPT_ARGS_NUMBER) rLua->ExecuteLuaFile(pPath, 1, "N", pNumber);
    else rLua->ExecuteLuaFile(pPath, 0);
    rLibrary->PopActiveEntity();
}

bool LuaManager::RunChunkText(const char *pText)
{
    if(!pText || !mState) return false;
    if(luaL_loadbufferx(mState, pText, strlen(pText), "Passed Chunk", "t") != LUA_OK)
    {
        fprintf(stderr, "Lua Error during Loading: %s\n", ErrorText(mState));
        lua_pop(mState, 1);
        return false;
    }
    PushCallStackName("");
    return true;
}

void LuaManager::SetArgumentCount(int32_t pCount)
{
    ClearArguments();
    if(pCount <= 0) return;
    mArguments = (char **)calloc((size_t)pCount, sizeof(char *));
    if(mArguments) mArgumentCount = pCount;
}

void LuaManager::AddNumberArgument(float pValue)
{
    if(mArgumentFill >= mArgumentCount) return;
    char tText[cNumberTextSize];
    snprintf(tText, sizeof(tText), "%f", (double)pValue);
    mArguments[mArgumentFill] = CopyText(tText);
    mArgumentFill++;
}

void LuaManager::AddStringArgument(const char *pText)
{
    if(!pText || mArgumentFill >= mArgumentCount) return;
    mArguments[mArgumentFill] = CopyText(pText);
    mArgumentFill++;
}

void LuaManager::ClearArguments()
{
    for(int32_t i = 0; i < mArgumentCount; i++) free(mArguments[i]);
    free(mArguments);
    mArguments = nullptr;
    mArgumentCount = 0;
    mArgumentFill = 0;
}

const char *LuaManager::GetArgument(int32_t pIndex) const
{
    if(pIndex < 0 || pIndex >= mArgumentCount) return nullptr;
    return mArguments[pIndex];
}

char *LuaManager::NormaliseScriptPath(const char *pPath)
{
    if(!pPath) return nullptr;
    size_t tLen = strlen(pPath);
    char *nResult = (char *)malloc(tLen + 1);
    if(!nResult) return nullptr;

    // Every component but the last is written with its trailing slash, so backing up over
    // one component means dropping that slash and then everything after the slash before it.
    size_t tOut = 0;
    const char *rStart = pPath;
    while(true)
    {
        const char *rEnd = strchr(rStart, '/');
        size_t tComponentLen = rEnd ? (size_t)(rEnd - rStart) : strlen(rStart);
        if(tComponentLen == 2 && rStart[0] == '.' && rStart[1] == '.')
        {
            if(tOut > 0) tOut--;
            while(tOut > 0 && nResult[tOut - 1] != '/') tOut--;
        }
        else
        {
            memcpy(nResult + tOut, rStart, tComponentLen);
            tOut += tComponentLen;
            if(rEnd) nResult[tOut++] = '/';
        }
        if(!rEnd) break;
        rStart = rEnd + 1;
    }
    nResult[tOut] = '\0';
    return nResult;
}

ScriptPackEntry *LuaManager::FindScriptPackEntry(const char *pPath)
{
    if(!pPath || !mScriptPack || mScriptPackCount < 1) return nullptr;
    char *tName = NormaliseScriptPath(pPath);
    if(!tName) return nullptr;

    ScriptPackEntry *rFound = nullptr;
    int32_t tLow = 0;
    int32_t tHigh = mScriptPackCount;
    while(tLow < tHigh)
    {
        int32_t tMid = tLow + (tHigh - tLow) / 2;
        int tCompare = strcmp(tName, mScriptPack[tMid]->mName);
        if(tCompare == 0)
        {
            rFound = mScriptPack[tMid];
            break;
        }
        if(tCompare < 0) tHigh = tMid;
        else tLow = tMid + 1;
    }
    free(tName);
    return rFound;
}

void LuaManager::ClearScriptPack()
{
    mScriptPackMode = 0;
    for(int32_t i = 0; i < mScriptPackCount; i++) DeleteScriptPackEntry(mScriptPack[i]);
    free(mScriptPack);
    mScriptPack = nullptr;
    mScriptPackCount = 0;
}

void LuaManager::InstallScriptPack(ScriptPackEntry **pEntries, int32_t pCount)
{
    ClearScriptPack();
    if(pCount < 0 || (!pEntries && pCount > 0)) pCount = 0;
    if(!mState)
    {
        for(int32_t i = 0; i < pCount; i++) DeleteScriptPackEntry(pEntries[i]);
        free(pEntries);
        return;
    }

    // Null records (lumps that could not be read) are dropped so every slot is searchable. Of a
    // repeated name the first is kept, as the lump file itself finds it: the search below would
    // otherwise land on any of them.
    int32_t tKept = 0;
    for(int32_t i = 0; i < pCount; i++)
    {
        bool tRepeated = false;
        for(int32_t k = 0; pEntries[i] && pEntries[i]->mName && k < tKept && !tRepeated; k++)
        {
            tRepeated = !strcmp(pEntries[k]->mName, pEntries[i]->mName);
        }
        if(tRepeated) fprintf(stderr, "Warning:  The script pack repeats %s; the first is kept\n", pEntries[i]->mName);
        if(pEntries[i] && pEntries[i]->mName && !tRepeated) pEntries[tKept++] = pEntries[i];
        else DeleteScriptPackEntry(pEntries[i]);
    }

    for(int32_t i = 0; i < tKept; i++)
    {
        if(!CompileEntry(pEntries[i]))
        {
            fprintf(stderr, "Warning:  There was an error in compilation of %i %s\n", i, pEntries[i]->mName);
        }
        lua_pop(mState, 1);
    }

    // Lump directories are sorted already; sorting again keeps the binary search honest for
    // packs that were not.
    if(tKept > 0) qsort(pEntries, (size_t)tKept, sizeof(ScriptPackEntry *), CompareEntries);

    mScriptPack = pEntries;
    mScriptPackCount = tKept;
    mScriptPackMode = 1;
}

void LuaManager::BootScriptPack(const char *pPath)
{
    ClearScriptPack();

    CorvelLumpManager *rLumps = CorvelLumpManager::Fetch();
    if(rLumps && pPath) rLumps->Open(pPath);
    if(!rLumps || !pPath || !rLumps->IsOpen())
    {
        Debug::ForcePrint("LuaManager:  Could not open tarball mode on %s\n", pPath ? pPath : "(null)");
        return;
    }

    int32_t tCount = (int32_t)rLumps->GetLumpCount();
    ScriptPackEntry **tEntries = nullptr;
    if(tCount > 0)
    {
        tEntries = (ScriptPackEntry **)calloc((size_t)tCount, sizeof(ScriptPackEntry *));
        if(!tEntries) tCount = 0;
    }
    for(int32_t i = 0; i < tCount; i++) tEntries[i] = rLumps->ReadTarballLump(i);

    InstallScriptPack(tEntries, tCount);
    Debug::ForcePrint("LuaManager:  Tarball is open!  %s\n", pPath);
}

void LuaManager::NewMacro(const char *pName, const char *pCode)
{
    if(!pName || !pCode || mMacros->GetElementByName(pName)) return;
    MacroRecord *nRecord = (MacroRecord *)malloc(sizeof(MacroRecord));
    if(!nRecord) return;
    nRecord->mText = CopyText(pCode);
    if(!nRecord->mText)
    {
        free(nRecord);
        return;
    }
    mMacros->AddElementWithDeleter(pName, nRecord, DeleteFirstMemberAndRecord);
}

void LuaManager::AppendMacro(const char *pName, const char *pCode)
{
    if(!pName || !pCode) return;
    MacroRecord *rRecord = (MacroRecord *)mMacros->GetElementByName(pName);
    if(!rRecord) return;

    size_t tOldLen = strlen(rRecord->mText);
    size_t tCodeLen = strlen(pCode);
    char *nText = (char *)malloc(tOldLen + 1 + tCodeLen + 1);
    if(!nText) return;
    memcpy(nText, rRecord->mText, tOldLen);
    nText[tOldLen] = '\n';
    memcpy(nText + tOldLen + 1, pCode, tCodeLen + 1);
    free(rRecord->mText);
    rRecord->mText = nText;
}

const char *LuaManager::GetMacro(const char *pName)
{
    if(!pName) return nullptr;
    MacroRecord *rRecord = (MacroRecord *)mMacros->GetElementByName(pName);
    return rRecord ? rRecord->mText : nullptr;
}

bool LuaManager::CallMacro(const char *pName)
{
    const char *rText = GetMacro(pName);
    if(!rText) return false;

    return RunChunkText(rText) && Execute();
}

bool LuaManager::FileExists(const char *pPath)
{
    if(!pPath) return false;
    FILE *fInfile = fopen(pPath, "rb");
    if(!fInfile) return false;
    fclose(fInfile);
    return true;
}

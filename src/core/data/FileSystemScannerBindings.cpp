#include <cstdio>

#include "core/Application.h"
#include "core/LuaBindingHelpers.h"
#include "core/NamedLinkedList.h"
#include "core/data/FileSystemScanner.h"

// The scanner the script opened last; reports when there is none.
static CorvelFileSystem *FetchTopScanner()
{
    Application *rApplication = GetApplication();
    NamedLinkedList *rStack = rApplication ? rApplication->mScannerStack : nullptr;
    CorvelFileSystem *rScanner = rStack ? static_cast<CorvelFileSystem *>(rStack->GetTailData()) : nullptr;
    if(!rScanner) fprintf(stderr, "FS_Reset:  Failed, no open CorvelFileSystem.\n");
    return rScanner;
}

static int Lua_FS_Open(lua_State *L)
{
    int tArgs = lua_gettop(L);
    const char *rPath = LuaArgString(L, 1, nullptr);
    if((tArgs != 1 && tArgs != 2) || !rPath) return LuaArgListError("FS_Open");

    Application *rApplication = GetApplication();
    if(!rApplication || !rApplication->mScannerStack)
    {
        fprintf(stderr, "FS_Open:  Failed, no scanner stack.\n");
        return 0;
    }
    CorvelFileSystem *nScanner = new CorvelFileSystem();
    if(tArgs == 2) nScanner->SetRecursive(LuaArgBoolean(L, 2, true) ? 1 : 0);
    nScanner->ScanDirectory(rPath);
    rApplication->mScannerStack->AddElementWithDeleter("X", nScanner, CorvelFileSystem::DeleteThis);
    return 0;
}

static int Lua_FS_Reset(lua_State *L)
{
    CorvelFileSystem *rScanner = FetchTopScanner();
    if(rScanner) rScanner->Reset();
    return 0;
}

static int Lua_FS_Iterate(lua_State *L)
{
    CorvelFileSystem *rScanner = FetchTopScanner();
    if(!rScanner)
    {
        lua_pushstring(L, "NULL");
        return 1;
    }
    const char *rPath = rScanner->GetCurrentPath();
    lua_pushstring(L, rPath ? rPath : "NULL");
    rScanner->Advance();
    return 1;
}

static int Lua_FS_Close(lua_State *L)
{
    Application *rApplication = GetApplication();
    if(!rApplication || !rApplication->mScannerStack) return 0;
    if(rApplication->mScannerStack->GetCount() > 0) rApplication->mScannerStack->RemoveTail();
    return 0;
}

static const luaL_Reg cFileSystemFunctions[] = {
    {"FS_Open", Lua_FS_Open},
    {"FS_Reset", Lua_FS_Reset},
    {"FS_Iterate", Lua_FS_Iterate},
    {"FS_Close", Lua_FS_Close},
    {nullptr, nullptr},
};

void RegisterFileSystemScannerLua(lua_State *L)
{
    RegisterLuaFunctions(L, cFileSystemFunctions);
}

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "core/LuaBindingHelpers.h"
#include "core/RootObject.h"
#include "core/Utilities.h"
#include "core/data/CorvelLumpManager.h"
#include "core/data/DataLibrary.h"
#include "core/render/Bitmap.h"
#include "core/render/Palette.h"

// Boot scripts run before the library exists; their calls report and fall back.
static DataLibrary *FetchLibrary(const char *pBindingName)
{
    DataLibrary *rLibrary = DataLibrary::Fetch();
    if(!rLibrary) fprintf(stderr, "%s:  Failed, no DataLibrary.\n", pBindingName);
    return rLibrary;
}

static int OldStyleArgListError(const char *pBindingName)
{
    fprintf(stderr, "%s:  Failed, invalid argument list\n", pBindingName);
    return 0;
}

// ---------------------------------------------------------------------------------------------
// "DL_" globals.

static int Lua_DL_AddPath(lua_State *L)
{
    const char *rPath = LuaArgString(L, 1, nullptr);
    if(lua_gettop(L) != 1 || !rPath) return OldStyleArgListError("DL_AddPath");
    DataLibrary *rLibrary = FetchLibrary("DL_AddPath");
    if(rLibrary) rLibrary->AddPath(rPath);
    return 0;
}

static int Lua_DL_SetActiveObject(lua_State *L)
{
    const char *rPath = LuaArgString(L, 1, nullptr);
    if(lua_gettop(L) != 1 || !rPath) return OldStyleArgListError("DL_SetActiveObject");
    DataLibrary *rLibrary = FetchLibrary("DL_SetActiveObject");
    if(rLibrary) rLibrary->SetActiveObject(rPath);
    return 0;
}

static int Lua_DL_Purge(lua_State *L)
{
    const char *rPath = LuaArgString(L, 1, nullptr);
    if(lua_gettop(L) != 2 || !rPath) return OldStyleArgListError("DL_Purge");
    DataLibrary *rLibrary = FetchLibrary("DL_Purge");
    if(!rLibrary) return 0;
    uint8_t tWasQuiet = rLibrary->GetQuiet();
    rLibrary->SetQuiet(1);
    rLibrary->Purge(rPath, LuaArgBoolean(L, 2, false));
    rLibrary->SetQuiet(tWasQuiet);
    return 0;
}

static int Lua_DL_PushActiveEntity(lua_State *L)
{
    DataLibrary *rLibrary = FetchLibrary("DL_PushActiveEntity");
    if(rLibrary) rLibrary->PushAndClearActive();
    return 0;
}

static int Lua_DL_PopActiveEntity(lua_State *L)
{
    DataLibrary *rLibrary = FetchLibrary("DL_PopActiveEntity");
    if(rLibrary) rLibrary->PopActiveEntity();
    return 0;
}

static int Lua_DL_ActiveIsValid(lua_State *L)
{
    DataLibrary *rLibrary = FetchLibrary("DL_ActiveIsValid");
    lua_pushboolean(L, rLibrary && rLibrary->ActiveIsValid());
    return 1;
}

static int Lua_DL_GetActiveObjectType(lua_State *L)
{
    DataLibrary *rLibrary = FetchLibrary("DL_GetActiveObjectType");
    lua_pushinteger(L, rLibrary ? rLibrary->GetActiveObjectType() : -1);
    return 1;
}

static int Lua_DL_ClearActiveEntity(lua_State *L)
{
    DataLibrary *rLibrary = FetchLibrary("DL_ClearActiveEntity");
    if(rLibrary) rLibrary->SetActiveObjectDirect(nullptr);
    return 0;
}

static int Lua_DL_IndexDLObject(lua_State *L)
{
    DataLibrary *rLibrary = FetchLibrary("DL_IndexDLObject");
    lua_pushinteger(L, rLibrary ? rLibrary->IndexObject(rLibrary->GetActiveObject()) : 0);
    return 1;
}

static int Lua_DL_PushIndexedObject(lua_State *L)
{
    if(lua_gettop(L) != 1) return OldStyleArgListError("DL_PushIndexedObject");
    DataLibrary *rLibrary = FetchLibrary("DL_PushIndexedObject");
    if(rLibrary) rLibrary->SetActiveObjectDirect(rLibrary->GetIndexedObject(LuaArgInteger(L, 1, 0)));
    return 0;
}

static int Lua_DL_ClearPointerIndex(lua_State *L)
{
    DataLibrary *rLibrary = FetchLibrary("DL_ClearPointerIndex");
    if(rLibrary) rLibrary->ClearPointerIndex();
    return 0;
}

static int Lua_DL_PrintSysVars(lua_State *L)
{
    if(lua_gettop(L) != 1) return OldStyleArgListError("DL_PrintSysVars");
    LuaArgString(L, 1, nullptr);
    return 0;
}

// Loading is skipped when the result would have nowhere to go, so no texture is made for an
// object that nobody would own; the author is told which path could not take it.
static bool PathCanHoldEntry(DataLibrary *pLibrary, const char *pPath, const char *pBindingName)
{
    uint8_t tWasQuiet = pLibrary->GetQuiet();
    pLibrary->SetQuiet(1);
    bool tHasHeading = pLibrary->GetHeading(pPath) != nullptr;
    pLibrary->SetQuiet(tWasQuiet);
    if(!tHasHeading)
    {
        fprintf(stderr, "%s:  Failed, the heading of %s does not exist.\n", pBindingName, pPath);
        return false;
    }
    char *nEntryName = DataLibraryPath::GetComponent(pPath, 3);
    bool tHasName = nEntryName != nullptr;
    free(nEntryName);
    if(!tHasName) fprintf(stderr, "%s:  Failed, %s names no entry.\n", pBindingName, pPath);
    return tHasName;
}

static int Lua_DL_LoadBitmap(lua_State *L)
{
    const char *rFile = LuaArgString(L, 1, nullptr);
    const char *rPath = LuaArgString(L, 2, nullptr);
    if(lua_gettop(L) != 2 || !rFile || !rPath) return OldStyleArgListError("DL_LoadBitmap");
    DataLibrary *rLibrary = FetchLibrary("DL_LoadBitmap");
    if(!rLibrary || !PathCanHoldEntry(rLibrary, rPath, "DL_LoadBitmap")) return 0;
    rLibrary->AddEntry(rPath, Bitmap::LoadFromFile(rFile), Bitmap::DeleteThis, DL_KIND_BITMAP);
    return 0;
}

static int Lua_DL_ExtractBitmap(lua_State *L)
{
    const char *rLump = LuaArgString(L, 1, nullptr);
    const char *rPath = LuaArgString(L, 2, nullptr);
    if(lua_gettop(L) != 2 || !rLump || !rPath) return LuaArgListError("DL_ExtractBitmap");
    DataLibrary *rLibrary = FetchLibrary("DL_ExtractBitmap");
    if(!rLibrary || !PathCanHoldEntry(rLibrary, rPath, "DL_ExtractBitmap")) return 0;
    CorvelLumpManager *rLumps = CorvelLumpManager::Fetch();
    CorvelLumpManager::FaultBlock tBlock(rLumps);
    Bitmap *nBitmap = rLumps ? rLumps->ExtractBitmap(rLump) : nullptr;
    if(!nBitmap)
    {
        fprintf(stderr, "DL_ExtractBitmap:  Failed, no Bitmap named %s found.\n", rLump);
        return 0;
    }
    rLibrary->AddEntry(rPath, nBitmap, Bitmap::DeleteThis, DL_KIND_BITMAP);
    return 0;
}

static int Lua_DL_ExtractPalette(lua_State *L)
{
    const char *rLump = LuaArgString(L, 1, nullptr);
    const char *rPath = LuaArgString(L, 2, nullptr);
    if(lua_gettop(L) != 2 || !rLump || !rPath) return LuaArgListError("DL_ExtractPalette");
    DataLibrary *rLibrary = FetchLibrary("DL_ExtractPalette");
    if(!rLibrary || !PathCanHoldEntry(rLibrary, rPath, "DL_ExtractPalette")) return 0;
    CorvelLumpManager *rLumps = CorvelLumpManager::Fetch();
    CorvelLumpManager::FaultBlock tBlock(rLumps);
    Palette *nPalette = rLumps ? rLumps->ExtractPalette(rLump) : nullptr;
    if(!nPalette)
    {
        fprintf(stderr, "DL_ExtractPalette:  Failed, no Palette named %s found.\n", rLump);
        return 0;
    }
    rLibrary->AddEntry(rPath, nPalette, DeletePalette, DL_KIND_PALETTE);
    return 0;
}

// ---------------------------------------------------------------------------------------------
// "VM_" globals: script variables. Only VM_RemVar acts on an entry of any kind.

static int Lua_VM_Exists(lua_State *L)
{
    const char *rPath = LuaArgString(L, 1, nullptr);
    if(lua_gettop(L) != 1 || !rPath)
    {
        OldStyleArgListError("VM_Exists");
        lua_pushboolean(L, 0);
        return 1;
    }
    DataLibrary *rLibrary = FetchLibrary("VM_Exists");
    lua_pushboolean(L, rLibrary && rLibrary->LookUpQuietly(rPath, -1) != nullptr);
    return 1;
}

static int Lua_VM_SetVar(lua_State *L)
{
    const char *rPath = LuaArgString(L, 1, nullptr);
    if(lua_gettop(L) != 3 || !rPath) return OldStyleArgListError("VM_SetVar");
    DataLibrary *rLibrary = FetchLibrary("VM_SetVar");
    if(!rLibrary) return 0;

    // Writing into another kind of entry would scribble over it; a variable added beside it
    // under the same name would never be found.
    int32_t tKind = rLibrary->GetEntryKind(rPath);
    if(tKind >= 0 && tKind != DL_KIND_SCRIPTVARIABLE)
    {
        fprintf(stderr, "VM_SetVar:  Failed, %s is not a script variable\n", rPath);
        return 0;
    }

    ScriptVariable *rVariable = static_cast<ScriptVariable *>(rLibrary->LookUpQuietly(rPath, DL_KIND_SCRIPTVARIABLE));
    bool tIsNew = !rVariable;
    if(tIsNew) rVariable = ScriptVariable::Create();

    const char *rType = LuaArgString(L, 2, nullptr);
    if(rType && !strcmp(rType, "S"))
    {
        const char *rText = LuaArgString(L, 3, nullptr);
        if(rText) ResetString(&rVariable->mString, rText);
    }
    else if(rType && !strcmp(rType, "N"))
    {
        rVariable->mNumber = (float)LuaArgNumber(L, 3, 0.0);
    }

    if(tIsNew)
    {
        rLibrary->AddPath(rPath);
        rLibrary->AddEntry(rPath, rVariable, ScriptVariable::DeleteThis, DL_KIND_SCRIPTVARIABLE);
        // A path without a heading or entry name cannot hold the variable.
        if(rLibrary->LookUpQuietly(rPath, DL_KIND_SCRIPTVARIABLE) != rVariable) ScriptVariable::DeleteThis(rVariable);
    }
    return 0;
}

static int Lua_VM_GetVar(lua_State *L)
{
    const char *rPath = LuaArgString(L, 1, nullptr);
    if(lua_gettop(L) != 2 || !rPath)
    {
        OldStyleArgListError("VM_GetVar");
        lua_pushinteger(L, 0);
        return 1;
    }
    DataLibrary *rLibrary = FetchLibrary("VM_GetVar");
    ScriptVariable *rVariable = rLibrary ? static_cast<ScriptVariable *>(rLibrary->LookUpQuietly(rPath, DL_KIND_SCRIPTVARIABLE)) : nullptr;
    if(!rVariable)
    {
        lua_pushinteger(L, 0);
        return 1;
    }

    const char *rType = LuaArgString(L, 2, nullptr);
    if(rType && !strcmp(rType, "N"))
    {
        lua_pushnumber(L, (double)rVariable->mNumber);
        return 1;
    }
    if(rType && !strcmp(rType, "S"))
    {
        lua_pushstring(L, rVariable->mString ? rVariable->mString : "NULL");
        return 1;
    }
    fprintf(stderr, "VM_GetVar:  Failed, can't resolve %s\n", rType ? rType : "NULL");
    lua_pushinteger(L, 0);
    return 1;
}

static int Lua_VM_RemVar(lua_State *L)
{
    const char *rPath = LuaArgString(L, 1, nullptr);
    if(lua_gettop(L) != 1 || !rPath) return OldStyleArgListError("VM_RemVar");
    DataLibrary *rLibrary = FetchLibrary("VM_RemVar");
    if(rLibrary) rLibrary->RemoveEntry(rPath);
    return 0;
}

static int Lua_VM_SetSaveFlag(lua_State *L)
{
    const char *rPath = LuaArgString(L, 1, nullptr);
    if(lua_gettop(L) != 2 || !rPath) return OldStyleArgListError("VM_SetSaveFlag");
    DataLibrary *rLibrary = FetchLibrary("VM_SetSaveFlag");
    ScriptVariable *rVariable = rLibrary ? static_cast<ScriptVariable *>(rLibrary->LookUpQuietly(rPath, DL_KIND_SCRIPTVARIABLE)) : nullptr;
    if(rVariable) rVariable->mSaveFlag = LuaArgBoolean(L, 2, false) ? 1 : 0;
    return 0;
}

// ---------------------------------------------------------------------------------------------

static const luaL_Reg cDataLibraryFunctions[] = {
    {"DL_AddPath", Lua_DL_AddPath},
    {"DL_SetActiveObject", Lua_DL_SetActiveObject},
    {"DL_Purge", Lua_DL_Purge},
    {"DL_PushActiveEntity", Lua_DL_PushActiveEntity},
    {"DL_PopActiveEntity", Lua_DL_PopActiveEntity},
    {"DL_PopActiveObject", Lua_DL_PopActiveEntity},
    {"DL_ActiveIsValid", Lua_DL_ActiveIsValid},
    {"DL_GetActiveObjectType", Lua_DL_GetActiveObjectType},
    {"DL_ClearActiveEntity", Lua_DL_ClearActiveEntity},
    {"DL_IndexDLObject", Lua_DL_IndexDLObject},
    {"DL_PushIndexedObject", Lua_DL_PushIndexedObject},
    {"DL_ClearPointerIndex", Lua_DL_ClearPointerIndex},
    {"DL_LoadBitmap", Lua_DL_LoadBitmap},
    {"DL_ExtractBitmap", Lua_DL_ExtractBitmap},
    {"DL_ExtractPalette", Lua_DL_ExtractPalette},
    {"DL_PrintSysVars", Lua_DL_PrintSysVars},
    {"VM_Exists", Lua_VM_Exists},
    {"VM_SetVar", Lua_VM_SetVar},
    {"VM_GetVar", Lua_VM_GetVar},
    {"VM_RemVar", Lua_VM_RemVar},
    {"VM_SetSaveFlag", Lua_VM_SetSaveFlag},
    {nullptr, nullptr},
};

void RegisterDataLibraryLua(lua_State *L)
{
    RegisterLuaFunctions(L, cDataLibraryFunctions);
}

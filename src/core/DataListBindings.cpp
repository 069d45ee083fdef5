#include "core/DataList.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "core/LuaBindingHelpers.h"
#include "core/RootObject.h"
#include "core/Utilities.h"
#include "core/data/DataLibrary.h"
#include "world/RootEntity.h"

// The active object's script data: the object itself when it is a DataList (interface objects
// are), else the entity's own data list. Anything else, or no library, reads as no active
// object, so a mis-typed object is never written through. The data bindings report a missing
// list themselves, after their argument check.
static DataList *FetchActiveDataList()
{
    DataList *rList = FetchActiveAs<DataList>();
    if(rList) return rList;
    RootEntity *rEntity = FetchActiveAs<RootEntity>();
    return rEntity ? rEntity->GetData() : nullptr;
}

// Define and SetData share their checks and report under one name.
static int StoreDataEntry(lua_State *L, DataList *pList, bool pDefine)
{
    if(lua_gettop(L) != 3)
    {
        fputs("DataList_SetData:  Failed, invalid argument list\n", stderr);
        return 0;
    }
    if(!pList)
    {
        fputs("DataList_SetData:  Failed, no active object\n", stderr);
        return 0;
    }

    const char *rName = LuaArgString(L, 1, nullptr);
    const char *rKind = LuaArgString(L, 2, "");
    void *nData = nullptr;
    int32_t tKind = TYPEDVALUE_NONE;
    if(!strcmp(rKind, "N"))
    {
        float *nNumber = (float *)malloc(sizeof(float));
        *nNumber = (float)LuaArgNumber(L, 3, 0.0);
        nData = nNumber;
        tKind = TYPEDVALUE_FLOAT;
    }
    else if(!strcmp(rKind, "S"))
    {
        const char *rText = LuaArgString(L, 3, nullptr);
        if(!rText)
        {
            fputs("DataList_SetData:  Failed, invalid argument list\n", stderr);
            return 0;
        }
        ResetString((char **)&nData, rText);
        tKind = TYPEDVALUE_STRING;
    }
    else
    {
        fprintf(stderr, "DataList_SetData:  Failed, cannot resolve type %s\n", rKind);
        return 0;
    }

    bool tTaken = pDefine ? pList->DefineDataEntry(rName, nData, DeleteWithFree, tKind)
                          : pList->AddDataEntry(rName, nData, DeleteWithFree, tKind);
    if(!tTaken) free(nData);
    return 0;
}

int DataListDefineOn(lua_State *L, DataList *pList)
{
    return StoreDataEntry(L, pList, true);
}

int DataListSetDataOn(lua_State *L, DataList *pList)
{
    return StoreDataEntry(L, pList, false);
}

int DataListGetDataOn(lua_State *L, DataList *pList)
{
    if(lua_gettop(L) != 2)
    {
        fputs("DataList_GetData:  Failed, invalid argument list\n", stderr);
        lua_pushnumber(L, 0);
        return 1;
    }
    if(!pList)
    {
        fputs("DataList_GetData:  Failed, no active object\n", stderr);
        lua_pushnumber(L, 0);
        return 1;
    }

    const char *rName = LuaArgString(L, 1, nullptr);
    const char *rKind = LuaArgString(L, 2, "");
    void *rData = pList->GetDataEntry(rName);
    int32_t tStoredKind = pList->GetDataEntryKind(rName);
    if(!strcmp(rKind, "N"))
    {
        if(rData && tStoredKind == TYPEDVALUE_FLOAT) lua_pushnumber(L, *(float *)rData);
        else lua_pushnumber(L, 0);
    }
    else if(!strcmp(rKind, "S"))
    {
        if(rData && tStoredKind == TYPEDVALUE_STRING) lua_pushstring(L, (const char *)rData);
        else lua_pushnumber(L, 0);
    }
    else
    {
        fprintf(stderr, "DataList_GetData:  Failed, cannot resolve type %s\n", rKind);
        lua_pushnumber(L, 0);
    }
    return 1;
}

static int DataList_Define(lua_State *L)
{
    return DataListDefineOn(L, FetchActiveDataList());
}

static int DataList_SetData(lua_State *L)
{
    return DataListSetDataOn(L, FetchActiveDataList());
}

static int DataList_GetData(lua_State *L)
{
    return DataListGetDataOn(L, FetchActiveDataList());
}

static const luaL_Reg cDataListFunctions[] = {
    {"DataList_Define", DataList_Define},
    {"DataList_SetData", DataList_SetData},
    {"DataList_GetData", DataList_GetData},
    {nullptr, nullptr},
};

void RegisterDataListLua(lua_State *L)
{
    RegisterLuaFunctions(L, cDataListFunctions);
}

#include "core/LuaPropertyTable.h"

#include <cstdio>
#include <cstring>

namespace
{
    bool ArgumentHasType(lua_State *L, int pIndex, char pLetter)
    {
        switch(pLetter)
        {
            case 'N':
                return LuaArgIsNumber(L, pIndex);
            case 'S':
                return LuaArgIsString(L, pIndex);
            case 'B':
                return pIndex <= lua_gettop(L) && lua_type(L, pIndex) == LUA_TBOOLEAN;
            default:
                // '.' and anything unknown take whatever was passed, even nothing.
                return true;
        }
    }
}

int LuaUnknownPropertyError(const char *pBindingName, const char *pKey, int32_t)
{
    return LuaPropertyError(pBindingName, pKey);
}

int LuaCouldNotResolveError(const char *pBindingName, const char *pKey, int32_t pArgCount)
{
    if(!pBindingName || !pKey) return 0;
    fprintf(stderr, "%s:  Failed, could not resolve %s with %i args\n", pBindingName, pKey, pArgCount);
    return 0;
}

bool LuaPropertyRowFits(lua_State *L, const char *pRowKey, int pRowArgs, const char *pRowTypes)
{
    if(!L || !pRowKey) return false;
    int tArgs = lua_gettop(L);
    if(pRowArgs >= 0 ? tArgs != pRowArgs : tArgs < -pRowArgs) return false;
    const char *rKey = LuaArgString(L, 1, nullptr);
    if(!rKey || strcmp(rKey, pRowKey)) return false;
    for(int i = 0; pRowTypes && pRowTypes[i]; i++)
    {
        if(!ArgumentHasType(L, 2 + i, pRowTypes[i])) return false;
    }
    return true;
}

int LuaReportPropertyMiss(lua_State *L, const char *pBindingName, LuaPropertyMissReport pReport, bool pPushNil)
{
    if(!L) return 0;
    if(pReport) pReport(pBindingName, LuaArgString(L, 1, ""), lua_gettop(L));
    if(!pPushNil) return 0;
    lua_pushnil(L);
    return 1;
}

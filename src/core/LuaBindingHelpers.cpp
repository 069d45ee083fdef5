#include "core/LuaBindingHelpers.h"

#include "core/Geometry.h"
#include "core/LuaManager.h"
#include "core/Utilities.h"

#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace
{
    uint8_t xSilenceFlag = 0;

    // The same for u32 values: negative numbers wrap the way a 32-bit store would.
    uint32_t NumberToUInt32(double pValue)
    {
        if(std::isnan(pValue)) return 0;
        if(pValue >= 4294967295.0) return UINT32_MAX;
        if(pValue < 0.0) return (uint32_t)LuaNumberToInteger(pValue);
        return (uint32_t)pValue;
    }

    bool HasArgument(lua_State *L, int pIndex)
    {
        return L && pIndex >= 1 && pIndex <= lua_gettop(L);
    }
}

uint8_t GetLuaSilenceFlag()
{
    return xSilenceFlag;
}

void SetLuaSilenceFlag(uint8_t pFlag)
{
    xSilenceFlag = pFlag ? 1 : 0;
}

int LuaArgListError(const char *pBindingName)
{
    if(!pBindingName || xSilenceFlag) return 0;
    fprintf(stderr, "%s: Failed, invalid argument list\n", pBindingName);
    return 0;
}

int LuaArgListErrorNil(const char *pBindingName, lua_State *L)
{
    LuaArgListError(pBindingName);
    return LuaPushNil(L);
}

int LuaActiveObjectTypeError(const char *pBindingName)
{
    if(!pBindingName || xSilenceFlag) return 0;
    fprintf(stderr, "%s: Failed, rActiveObject was wrong type, or NULL.\n", pBindingName);
    return 0;
}

int LuaActiveObjectTypeErrorNil(const char *pBindingName, lua_State *L)
{
    LuaActiveObjectTypeError(pBindingName);
    return LuaPushNil(L);
}

int LuaInvalidObjectError(const char *pBindingName)
{
    if(!pBindingName) return 0;
    fprintf(stderr, "%s:  Failed, invalid object\n", pBindingName);
    return 0;
}

int LuaResolveError(const char *pBindingName, const char *pPropertyName, int32_t pArgCount)
{
    if(!pBindingName || !pPropertyName || xSilenceFlag) return 0;
    fprintf(stderr, "%s: Failed, cannot resolve %s with %i args.\n", pBindingName, pPropertyName, pArgCount);
    return 0;
}

int LuaPropertyError(const char *pBindingName, const char *pPropertyName)
{
    if(!pBindingName || !pPropertyName) return 0;
    fprintf(stderr, "%s: Failed, %s does not match any property.\n", pBindingName, pPropertyName);
    return 0;
}

TypedValue *LuaReadTypedValue(lua_State *L, int pTypeIndex, int pValueIndex)
{
    if(!L || pTypeIndex < 1 || pValueIndex < 1 || pTypeIndex == pValueIndex) return nullptr;
    const char *rType = LuaArgString(L, pTypeIndex, nullptr);
    if(!rType) return nullptr;

    if(!strcmp(rType, "I"))
    {
        int32_t *nData = (int32_t *)malloc(sizeof(int32_t));
        if(!nData) return nullptr;
        *nData = LuaArgInteger(L, pValueIndex, 0);
        return NewTypedValue(nData, TYPEDVALUE_INT);
    }
    if(!strcmp(rType, "N"))
    {
        float *nData = (float *)malloc(sizeof(float));
        if(!nData) return nullptr;
        *nData = (float)LuaArgNumber(L, pValueIndex, 0.0);
        return NewTypedValue(nData, TYPEDVALUE_FLOAT);
    }
    if(!strcmp(rType, "UI"))
    {
        uint32_t *nData = (uint32_t *)malloc(sizeof(uint32_t));
        if(!nData) return nullptr;
        *nData = NumberToUInt32(LuaArgNumber(L, pValueIndex, 0.0));
        return NewTypedValue(nData, TYPEDVALUE_UNSIGNED);
    }
    if(!strcmp(rType, "S"))
    {
        // A value that is no string makes no record rather than a copy of nothing.
        const char *rText = LuaArgString(L, pValueIndex, nullptr);
        if(!rText) return nullptr;
        char *nData = CopyText(rText);
        if(!nData) return nullptr;
        return NewTypedValue(nData, TYPEDVALUE_STRING);
    }
    return nullptr;
}

void LuaReadIntoTypedValue(TypedValue *pValue, lua_State *L, int pIndex)
{
    if(!pValue || !pValue->rData || !L || pIndex < 1) return;

    if(pValue->mType == TYPEDVALUE_INT)
    {
        *(int32_t *)pValue->rData = LuaArgInteger(L, pIndex, 0);
    }
    else if(pValue->mType == TYPEDVALUE_UNSIGNED)
    {
        *(uint32_t *)pValue->rData = NumberToUInt32(std::trunc(LuaArgNumber(L, pIndex, 0.0)));
    }
    else if(pValue->mType == TYPEDVALUE_FLOAT)
    {
        *(float *)pValue->rData = (float)LuaArgInteger(L, pIndex, 0);
    }
}

int LuaPushTypedValue(TypedValue *pValue, lua_State *L)
{
    if(!L) return 0;
    if(!pValue || !pValue->rData || pValue->mType == TYPEDVALUE_NONE)
    {
        lua_pushnil(L);
        return 1;
    }

    switch(pValue->mType)
    {
        case TYPEDVALUE_INT:
            lua_pushinteger(L, *(int32_t *)pValue->rData);
            break;
        case TYPEDVALUE_UNSIGNED:
            lua_pushinteger(L, (lua_Integer)*(uint32_t *)pValue->rData);
            break;
        case TYPEDVALUE_FLOAT:
            lua_pushnumber(L, *(float *)pValue->rData);
            break;
        case TYPEDVALUE_STRING:
            lua_pushstring(L, (const char *)pValue->rData);
            break;
        default:
            // Booleans and unknown codes have no push of their own; one result is still promised.
            lua_pushnil(L);
            break;
    }
    return 1;
}

bool LuaArgIsNumber(lua_State *L, int pIndex)
{
    return HasArgument(L, pIndex) && lua_type(L, pIndex) == LUA_TNUMBER;
}

bool LuaArgIsString(lua_State *L, int pIndex)
{
    return HasArgument(L, pIndex) && lua_type(L, pIndex) == LUA_TSTRING;
}

// A plain cast of an out-of-range double is undefined, and scripts pass whatever they like.
// INT32_MIN is left out so that engine code may negate or take the size of any integer a
// script gave.
int32_t LuaNumberToInteger(double pValue)
{
    if(std::isnan(pValue)) return 0;
    if(pValue >= 2147483647.0) return INT32_MAX;
    if(pValue <= -2147483647.0) return -INT32_MAX;
    return (int32_t)pValue;
}

double LuaArgNumber(lua_State *L, int pIndex, double pFallback)
{
    if(!HasArgument(L, pIndex)) return pFallback;
    int tIsNumber = 0;
    double tValue = lua_tonumberx(L, pIndex, &tIsNumber);
    return tIsNumber ? tValue : pFallback;
}

int32_t LuaArgInteger(lua_State *L, int pIndex, int32_t pFallback)
{
    if(!HasArgument(L, pIndex)) return pFallback;
    int tIsNumber = 0;
    double tValue = lua_tonumberx(L, pIndex, &tIsNumber);
    return tIsNumber ? LuaNumberToInteger(tValue) : pFallback;
}

const char *LuaArgString(lua_State *L, int pIndex, const char *pFallback)
{
    if(!HasArgument(L, pIndex)) return pFallback;
    int tType = lua_type(L, pIndex);
    if(tType != LUA_TSTRING && tType != LUA_TNUMBER) return pFallback;
    const char *rText = lua_tostring(L, pIndex);
    return rText ? rText : pFallback;
}

bool LuaArgBoolean(lua_State *L, int pIndex, bool pFallback)
{
    if(!HasArgument(L, pIndex)) return pFallback;
    return lua_toboolean(L, pIndex) != 0;
}

uint8_t LuaArgFlag(lua_State *L, int pIndex)
{
    return LuaArgBoolean(L, pIndex, false) ? 1 : 0;
}

float LuaArgFloat(lua_State *L, int pIndex, float pFallback)
{
    return (float)LuaArgNumber(L, pIndex, pFallback);
}

float LuaArgCoordinate(lua_State *L, int pIndex)
{
    return ClampCoordinate(LuaArgNumber(L, pIndex, 0.0));
}

bool LuaArgsAreFinite(lua_State *L, int pFirst, int pLast, const char *pBindingName)
{
    for(int i = pFirst; i <= pLast; i++)
    {
        if(!LuaArgIsNumber(L, i)) continue;
        const double tValue = LuaArgNumber(L, i, 0.0);
        if(std::isfinite(tValue) && fabs(tValue) <= (double)FLT_MAX) continue;
        fprintf(stderr, "%s:  Failed, %g is not a finite number.\n", pBindingName ? pBindingName : "NULL", tValue);
        return false;
    }
    return true;
}

bool LuaArgsAreNumbers(lua_State *L, int pFirst, int pLast)
{
    for(int i = pFirst; i <= pLast; i++)
    {
        if(!LuaArgIsNumber(L, i)) return false;
    }
    return true;
}

int LuaPushNil(lua_State *L)
{
    if(!L) return 0;
    lua_pushnil(L);
    return 1;
}

int LuaPushStringOrNil(lua_State *L, const char *pText)
{
    if(!L) return 0;
    if(pText) lua_pushstring(L, pText);
    else lua_pushnil(L);
    return 1;
}

int LuaPushPair(lua_State *L, float pA, float pB)
{
    if(!L) return 0;
    lua_pushnumber(L, pA);
    lua_pushnumber(L, pB);
    return 2;
}

void RegisterLuaFunctions(lua_State *L, const luaL_Reg *pTable)
{
    if(!L || !pTable) return;
    for(const luaL_Reg *rEntry = pTable; rEntry->name; rEntry++)
    {
        if(!rEntry->func) continue;
        lua_pushcclosure(L, rEntry->func, 0);
        lua_setglobal(L, rEntry->name);
    }
}

void LuaCallerPlace(lua_State *L, char *sOut, size_t pSize)
{
    if(!sOut || pSize < 1) return;
    lua_Debug tInfo;
    if(!L || !lua_getstack(L, 1, &tInfo) || !lua_getinfo(L, "Sl", &tInfo))
    {
        snprintf(sOut, pSize, "(no script)");
        return;
    }
    const char *rFile = tInfo.source && tInfo.source[0] == '@' ? tInfo.source + 1 : nullptr;
    LuaManager *rLua = LuaManager::Fetch();
    const char *rRunning = rLua ? rLua->GetCallStackName(0) : nullptr;
    const int tLine = tInfo.currentline;
    if(!rFile)
    {
        snprintf(sOut, pSize, "%s:%d", rRunning ? rRunning : tInfo.short_src, tLine);
        return;
    }
    snprintf(sOut, pSize, "%s:%d", rFile, tLine);
    // A shared helper (one of SetupFuncs.lua's, say) made the call for the running script: the
    // author's mistake is on that script's line which called into the helper.
    if(!rRunning || !rRunning[0] || !strcmp(rRunning, rFile)) return;
    for(int tLevel = 2; lua_getstack(L, tLevel, &tInfo) && lua_getinfo(L, "Sl", &tInfo); tLevel++)
    {
        if(!tInfo.source || tInfo.source[0] != '@' || strcmp(tInfo.source + 1, rRunning)) continue;
        snprintf(sOut, pSize, "%s:%d (through %s:%d)", rRunning, tInfo.currentline, rFile, tLine);
        return;
    }
}

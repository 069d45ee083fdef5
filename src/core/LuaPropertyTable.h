#pragma once

#include <cstdint>

#include "core/LuaBindingHelpers.h"

// Bindings that take a key and values ("X_SetProperty('Speed', 2)") or a key and answer with
// values ("X_GetProperty('Speed')") keep their keys in a table of rows and hand the call to
// LuaCallProperty or LuaCallPropertyOrNil, instead of a chain of string compares.
//
// A row matches a call when its key equals argument 1, the call's whole argument count (key
// included) fits the row's count, and the arguments after the key are of the row's types.
// Rows are tried in table order, so one key may have several rows (other counts or types),
// and the first that fits wins. The table ends with a row whose key is null.

// A row's count is exact; LuaAtLeast(n) makes it a minimum instead.
constexpr int16_t LuaAtLeast(int16_t pCount)
{
    return (int16_t)-pCount;
}

// Type letters, one per argument after the key: 'N' a number, 'S' a string, 'B' a boolean,
// '.' anything. Arguments past the letters are not checked; null or "" checks none.
template <typename T>
struct LuaProperty
{
    const char *mKey;
    int16_t mArgs;
    const char *mTypes;
    // Acts on the target and returns the number of results it pushed. pArgs is the whole count.
    int (*rHandler)(lua_State *L, T *pTarget, int pArgs);
};

// What a binding says when no row takes its call; LuaResolveError has this shape. The return
// value is ignored. A null reporter keeps the miss quiet.
typedef int (*LuaPropertyMissReport)(const char *pBindingName, const char *pKey, int32_t pArgCount);

// LuaPropertyError in the reporter's shape: "<binding>: Failed, <key> does not match any
// property.", for bindings that name an unknown key without its count.
int LuaUnknownPropertyError(const char *pBindingName, const char *pKey, int32_t pArgCount);

// "<binding>:  Failed, could not resolve <key> with <n> args", never muted: the wording that
// more than one family's bindings print, kept as it was.
int LuaCouldNotResolveError(const char *pBindingName, const char *pKey, int32_t pArgCount);

// True when a row of that key, count and types takes the call on L's stack.
bool LuaPropertyRowFits(lua_State *L, const char *pRowKey, int pRowArgs, const char *pRowTypes);

// Calls pReport (when set) for the key at argument 1 and the call's count; pushes one nil
// when pPushNil is set. Returns the number of results pushed.
int LuaReportPropertyMiss(lua_State *L, const char *pBindingName, LuaPropertyMissReport pReport, bool pPushNil);

// Keeps the target out of template deduction, so that a table of a base class serves a
// derived target and a table of void takes a null target.
template <typename T>
struct LuaPropertyTarget
{
    typedef T *Pointer;
};

// The first row that takes the call on L's stack, or null. Reports nothing.
template <typename T>
const LuaProperty<T> *FindLuaProperty(const LuaProperty<T> *pTable, lua_State *L)
{
    if(!pTable || !L) return nullptr;
    for(const LuaProperty<T> *rRow = pTable; rRow->mKey; rRow++)
    {
        if(LuaPropertyRowFits(L, rRow->mKey, rRow->mArgs, rRow->mTypes)) return rRow;
    }
    return nullptr;
}

// The shared body of the two calls below.
template <typename T>
int LuaRunProperty(lua_State *L, const char *pBindingName, const LuaProperty<T> *pTable, T *pTarget,
                   LuaPropertyMissReport pReport, bool pNilOnMiss)
{
    const LuaProperty<T> *rRow = FindLuaProperty(pTable, L);
    if(rRow) return rRow->rHandler(L, pTarget, lua_gettop(L));
    return LuaReportPropertyMiss(L, pBindingName, pReport, pNilOnMiss);
}

// Runs the row that takes the call and returns its result count. Without one, reports
// through pReport and returns 0.
template <typename T>
int LuaCallProperty(lua_State *L, const char *pBindingName, const LuaProperty<T> *pTable,
                    typename LuaPropertyTarget<T>::Pointer pTarget, LuaPropertyMissReport pReport = LuaResolveError)
{
    return LuaRunProperty(L, pBindingName, pTable, pTarget, pReport, false);
}

// The same, but a miss answers one nil, so a script's read of an unknown key stays defined.
template <typename T>
int LuaCallPropertyOrNil(lua_State *L, const char *pBindingName, const LuaProperty<T> *pTable,
                         typename LuaPropertyTarget<T>::Pointer pTarget, LuaPropertyMissReport pReport = LuaResolveError)
{
    return LuaRunProperty(L, pBindingName, pTable, pTarget, pReport, true);
}

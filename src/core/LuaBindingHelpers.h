#pragma once

#include <cstdint>

extern "C" {
#include <lua.h>
#include <lualib.h>
#include <lauxlib.h>
}

struct TypedValue;

// The one shared place where bindings report failures and move values between Lua and C.
// Every binding follows the same shape: check the argument count and types, check that its
// manager exists, check the active object's type code, resolve the property, act, push its
// results. No binding raises a Lua error (nothing here calls luaL_check*), and none leaves
// extra values on the stack.

// While set, the argument-list, wrong-type and cannot-resolve reporters print nothing.
// The property reporter is never muted.
uint8_t GetLuaSilenceFlag();
void SetLuaSilenceFlag(uint8_t pFlag);

// Reporters print to standard error and return the number of Lua results the binding
// should return ("return LuaArgListError("X");").
int LuaArgListError(const char *pBindingName);
int LuaArgListErrorNil(const char *pBindingName, lua_State *L);
int LuaActiveObjectTypeError(const char *pBindingName);
int LuaActiveObjectTypeErrorNil(const char *pBindingName, lua_State *L);
// "<binding>:  Failed, invalid object", never muted: the trigger and sprite setters' wording.
int LuaInvalidObjectError(const char *pBindingName);
// The shape of the two object reporters, for fetches that report in a binding's own words.
typedef int (*LuaObjectMissReport)(const char *pBindingName);
int LuaResolveError(const char *pBindingName, const char *pPropertyName, int32_t pArgCount);
int LuaPropertyError(const char *pBindingName, const char *pPropertyName);

// Typed values: "I" integer (2), "N" float (3), "UI" unsigned (5), "S" string (4).
// Returns a new heap record (data and record on malloc) or null when the type text is
// unknown, the indices are not both >= 1 and distinct, or the state is null.
TypedValue *LuaReadTypedValue(lua_State *L, int pTypeIndex, int pValueIndex);

// Stores argument pIndex into an existing value of type 2, 3 or 5. Floats go through an
// integer on purpose: tuning scripts were written against that truncation (2.9 -> 2.0).
void LuaReadIntoTypedValue(TypedValue *pValue, lua_State *L, int pIndex);

// Pushes one result (nil for a missing record or data); 0 results without a state.
int LuaPushTypedValue(TypedValue *pValue, lua_State *L);

// Every integer a binding takes comes through here (LuaArgInteger and the typed-value readers
// use it): truncated toward zero and clamped to -INT32_MAX..INT32_MAX, NaN as 0, so that it
// can be negated; "UI" values below zero wrap as a 32-bit store would. A binding that computes
// an integer from script numbers converts the result with it too.
int32_t LuaNumberToInteger(double pValue);

// Safe argument readers. Each returns the fallback when the index is past the top or the
// value there is not of the wanted kind, so a binding never reads garbage or raises.
// LuaArgString never returns a string that Lua did not give (no conversion of tables etc.);
// numbers are accepted as strings the way lua_tostring converts them.
bool LuaArgIsNumber(lua_State *L, int pIndex);
bool LuaArgIsString(lua_State *L, int pIndex);
double LuaArgNumber(lua_State *L, int pIndex, double pFallback);
int32_t LuaArgInteger(lua_State *L, int pIndex, int32_t pFallback);
const char *LuaArgString(lua_State *L, int pIndex, const char *pFallback);
bool LuaArgBoolean(lua_State *L, int pIndex, bool pFallback);
// The boolean as a flag byte: 1 or 0 (0 when missing).
uint8_t LuaArgFlag(lua_State *L, int pIndex);
float LuaArgFloat(lua_State *L, int pIndex, float pFallback);
// A place, size, distance or angle from a script, held to the world's coordinate limit: NaN
// reads as 0 and anything larger as the limit, so no drawing or stepping takes it past a float.
float LuaArgCoordinate(lua_State *L, int pIndex);

// True when every argument from pFirst to pLast (inclusive) is a number.
bool LuaArgsAreNumbers(lua_State *L, int pFirst, int pLast);

// For a position or speed about to be stored: true when no number from pFirst to pLast is
// infinite, NaN or past what a float holds (arguments that are not numbers are left to the
// binding). Otherwise "<binding>:  Failed, <value> is not a finite number." names the first,
// never muted, and the binding keeps what it had. Such a value, once stored, could never be
// moved back by any sum.
bool LuaArgsAreFinite(lua_State *L, int pFirst, int pLast, const char *pBindingName);

// Pushes one nil: the answer of a getter whose fetch has already reported. Returns 1.
int LuaPushNil(lua_State *L);

// Pushes a string, or nil when it is null. Returns 1 (the result count).
int LuaPushStringOrNil(lua_State *L, const char *pText);

// Pushes two numbers (a position, a size). Returns 2.
int LuaPushPair(lua_State *L, float pA, float pB);

// Writes where the script that called the running binding stands, "path:line", for a message
// that must lead an author to the line: the calling function's file, or, for a chunk that
// carries no file name (one from a script pack), the running script's path. Where the caller is
// a function of another file called from the running script, "path:line (through file:line)":
// the running script's line first.
void LuaCallerPlace(lua_State *L, char *sOut, size_t pSize);

// Registers each {name, function} of a table ending in {nullptr, nullptr} as a global C function
// without upvalues. Nothing happens for a null state or table.
void RegisterLuaFunctions(lua_State *L, const luaL_Reg *pTable);

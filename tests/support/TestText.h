#pragma once

#include <gtest/gtest.h>
extern "C" {
#include <lua.h>
}

#include <cstdio>
#include <string>

// Text the fixtures read back: what a test captured from standard error, a test script's path,
// and a Lua global as a string ("<nil>" when it is not one).
inline std::string CapturedStderr()
{
    fflush(stderr);
    return testing::internal::GetCapturedStderr();
}

inline std::string TestScriptPath(const char *pName)
{
    return std::string(CORVEL_SOURCE_DIR) + "/tests/scripts/" + pName;
}

inline std::string LuaGlobalString(lua_State *L, const char *pName)
{
    lua_getglobal(L, pName);
    const char *rText = lua_tostring(L, -1);
    std::string tResult = rText ? rText : "<nil>";
    lua_pop(L, 1);
    return tResult;
}

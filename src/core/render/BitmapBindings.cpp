#include "core/render/Bitmap.h"

#include <cstring>

#include "core/LuaBindingHelpers.h"

// The setting a script key names; null for keys scripts may not change (base and max level
// stay with the engine).
static uint32_t *FetchTextureSetting(const char *pKey)
{
    if(!pKey) return 0;
    TextureDefaults &rDefaults = TextureDefaults::Get();
    if(!strcmp(pKey, "MagFilter")) return &rDefaults.mMagFilter;
    if(!strcmp(pKey, "MinFilter")) return &rDefaults.mMinFilter;
    if(!strcmp(pKey, "Wrap S")) return &rDefaults.mWrapS;
    if(!strcmp(pKey, "Wrap T")) return &rDefaults.mWrapT;
    return 0;
}

// ALB_SetTextureProperty(key, value): value is a GL enumeration as DM_GetEnumeration gives it.
static int Lua_ALB_SetTextureProperty(lua_State *L)
{
    if(lua_gettop(L) != 2) return LuaArgListError("ALB_SetTextureProperty");
    if(!LuaArgIsString(L, 1) || !LuaArgIsNumber(L, 2)) return LuaArgListError("ALB_SetTextureProperty");

    uint32_t *rSetting = FetchTextureSetting(LuaArgString(L, 1, 0));
    if(rSetting) *rSetting = (uint32_t)LuaArgInteger(L, 2, 0);
    return 0;
}

static const luaL_Reg cBitmapBindings[] =
{
    {"ALB_SetTextureProperty", Lua_ALB_SetTextureProperty},
    {NULL, NULL},
};

void RegisterBitmapBindings(lua_State *L)
{
    RegisterLuaFunctions(L, cBitmapBindings);
}

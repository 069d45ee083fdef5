#include "core/render/Bitmap.h"

#include "core/LuaBindingHelpers.h"
#include "core/LuaPropertyTable.h"

// The settings scripts may change; other keys (base and max level stay with the engine) are
// passed over without a word. Values are GL enumerations as DM_GetEnumeration gives them.
static const LuaProperty<TextureDefaults> cTextureSettings[] = {
    {"MagFilter", 2, "N", [](lua_State *L, TextureDefaults *d, int) { d->mMagFilter = (uint32_t)LuaArgInteger(L, 2, 0); return 0; }},
    {"MinFilter", 2, "N", [](lua_State *L, TextureDefaults *d, int) { d->mMinFilter = (uint32_t)LuaArgInteger(L, 2, 0); return 0; }},
    {"Wrap S", 2, "N", [](lua_State *L, TextureDefaults *d, int) { d->mWrapS = (uint32_t)LuaArgInteger(L, 2, 0); return 0; }},
    {"Wrap T", 2, "N", [](lua_State *L, TextureDefaults *d, int) { d->mWrapT = (uint32_t)LuaArgInteger(L, 2, 0); return 0; }},
    {nullptr, 0, nullptr, nullptr},
};

// ALB_SetTextureProperty(key, value).
static int Lua_ALB_SetTextureProperty(lua_State *L)
{
    if(lua_gettop(L) != 2) return LuaArgListError("ALB_SetTextureProperty");
    if(!LuaArgIsString(L, 1) || !LuaArgIsNumber(L, 2)) return LuaArgListError("ALB_SetTextureProperty");
    return LuaCallProperty(L, "ALB_SetTextureProperty", cTextureSettings, &TextureDefaults::Get(), nullptr);
}

static const luaL_Reg cBitmapBindings[] =
{
    {"ALB_SetTextureProperty", Lua_ALB_SetTextureProperty},
    {nullptr, nullptr},
};

void RegisterBitmapLua(lua_State *L)
{
    RegisterLuaFunctions(L, cBitmapBindings);
}

#include "core/render/CorvelAnimation.h"

#include <cstdio>
#include <cstdlib>

#include "core/LuaBindingHelpers.h"
#include "core/LuaPropertyTable.h"
#include "core/data/DataLibrary.h"
#include "core/render/Bitmap.h"

// The active animation; otherwise the binding says it has no object and gets null.
static CorvelAnimation *FetchActiveAnimation(const char *pBindingName)
{
    CorvelAnimation *rActive = FetchActiveAs<CorvelAnimation>(TYPE_CORVELANIMATION);
    if(!rActive) fprintf(stderr, "%s: Failed, invalid object\n", pBindingName);
    return rActive;
}

// Whether an entry added at the path would be stored: the heading must exist and the path
// must name an entry. Checked first, so a refused path never leaves an orphaned animation.
static bool PathCanHoldEntry(DataLibrary *pLibrary, const char *pPath)
{
    char *tEntryName = DataLibraryPath::GetComponent(pPath, 3);
    bool tHasEntry = tEntryName != nullptr;
    free(tEntryName);
    return tHasEntry && pLibrary->GetHeading(pPath) != nullptr;
}

// Anim_Create(path): a new animation at the path, pushed as the active object. The push happens
// even when the path cannot take it (then nothing becomes active), so the script's closing
// DL_PopActiveEntity stays balanced.
static int Lua_Anim_Create(lua_State *L)
{
    if(lua_gettop(L) != 1 || !LuaArgIsString(L, 1)) return LuaArgListError("Anim_Create");
    DataLibrary *rLibrary = DataLibrary::Fetch();
    if(!rLibrary)
    {
        fprintf(stderr, "Anim_Create: Failed, no data library\n");
        return 0;
    }

    const char *rPath = LuaArgString(L, 1, nullptr);
    CorvelAnimation *nAnimation = nullptr;
    if(PathCanHoldEntry(rLibrary, rPath))
    {
        nAnimation = new CorvelAnimation();
        rLibrary->AddEntry(rPath, nAnimation, CorvelAnimation::DeleteThis, DL_KIND_ROOTOBJECT);
    }
    rLibrary->PushActiveEntity(nAnimation);
    return 0;
}

// "Frame": index, image path and, for manual timing, ticks. A path to anything but a Bitmap
// reads as missing: the frame is stored as null.
static int SetFrameProperty(lua_State *L, CorvelAnimation *pAnimation, int pArgs)
{
    Bitmap *rBitmap = (Bitmap *)DataLibrary::Fetch()->GetEntryOfKind(LuaArgString(L, 3, nullptr), DL_KIND_BITMAP);
    int32_t tIndex = LuaArgInteger(L, 2, -1);
    if(pArgs == 3)
        pAnimation->SetFrame(tIndex, rBitmap);
    else
        pAnimation->SetFrameWithTicks(tIndex, rBitmap, LuaArgInteger(L, 4, 0));
    return 0;
}

static const LuaProperty<CorvelAnimation> cAnimationProperties[] = {
    {"TotalFrames", 2, "N", [](lua_State *L, CorvelAnimation *a, int) { a->SetTotalFrames(LuaArgInteger(L, 2, 0)); return 0; }},
    {"ManualTiming", 2, "B",
     [](lua_State *L, CorvelAnimation *a, int) { a->SetManualTiming(LuaArgBoolean(L, 2, false) ? 1 : 0); return 0; }},
    {"Frame", 3, "NS", SetFrameProperty},
    {"Frame", 4, "NSN", SetFrameProperty},
    {"TicksPerFrame", 2, "N", [](lua_State *L, CorvelAnimation *a, int) { a->SetTicksPerFrame((float)LuaArgNumber(L, 2, 1.0)); return 0; }},
    {nullptr, 0, nullptr, nullptr},
};

// The animation's own wording, never muted; a key that is not text reads as "(null)".
static int ReportAnimationMiss(const char *, const char *pKey, int32_t)
{
    fprintf(stderr, "Anim_SetProperty:  Failed to resolve %s\n", pKey ? pKey : "(null)");
    return 0;
}

// Anim_SetProperty(key, values...) on the active animation.
static int Lua_Anim_SetProperty(lua_State *L)
{
    if(lua_gettop(L) < 1) return LuaArgListError("Anim_SetProperty");

    CorvelAnimation *rAnimation = FetchActiveAnimation("Anim_SetProperty");
    if(!rAnimation) return 0;
    if(!LuaArgIsString(L, 1)) return ReportAnimationMiss("Anim_SetProperty", nullptr, lua_gettop(L));
    return LuaCallProperty(L, "Anim_SetProperty", cAnimationProperties, rAnimation, ReportAnimationMiss);
}

static const luaL_Reg cAnimationBindings[] =
{
    {"Anim_Create", Lua_Anim_Create},
    {"Anim_SetProperty", Lua_Anim_SetProperty},
    {nullptr, nullptr},
};

void RegisterCorvelAnimationLua(lua_State *L)
{
    RegisterLuaFunctions(L, cAnimationBindings);
}

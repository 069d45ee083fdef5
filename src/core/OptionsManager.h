#pragma once

#include <cstdint>

class NamedLinkedList;
struct TypedValue;
struct lua_State;

// The program's named, typed settings: 30 built-ins bound to fields of this object, plus
// whatever scripts define. Typed reads of a missing or mistyped option never fail loudly:
// they give a sentinel (false, -700, -700.0) and raise the error flag.
class OptionsManager
{
public:
    OptionsManager();
    ~OptionsManager();

    // The manager held by the Application; null before it is built.
    static OptionsManager *Get();

    // Appends an option under the name (no check for an existing name, so a second bind of a
    // name is shadowed by the first). Nothing happens for a null name or value, or type 0.
    // Bind leaves the value with its owner; BindOwned hands over a malloc'd value, which is
    // freed with the option.
    void Bind(const char *pName, void *pValue, int32_t pType);
    void BindOwned(const char *pName, void *pValue, int32_t pType);

    // The first option of that name, or null.
    TypedValue *FindOption(const char *pName);

    bool GetBool(const char *pName);
    int32_t GetInt(const char *pName);
    float GetFloat(const char *pName);
    void SetBool(const char *pName, bool pValue);
    void SetInt(const char *pName, int32_t pValue);
    void SetFloat(const char *pName, float pValue);

    // Returns the error flag and clears it.
    uint8_t TakeErrorFlag();

    // Run once after the configuration script: "ForceAllDebug" switches on the Show*Debug
    // options, all but "ShowLoadDebug", which only its own setting controls.
    void ApplyOptions();

private:
    void BindBuiltins();
    TypedValue *FindTyped(const char *pName, int32_t pType);

    uint8_t mErrorFlag;
    NamedLinkedList *mOptions;

    uint8_t mFullscreen;
    uint8_t mMemoryMode;
    uint8_t mBlockDepthBuffer;
    uint8_t mBlockStencilBuffer;
    uint8_t mOnlyLoadCrucialCharacters;
    int32_t mStartWinX;
    int32_t mStartWinY;
    int32_t mWinSizeX;
    int32_t mWinSizeY;
    uint8_t mUseNoFBOsOnEntities;
    uint8_t mForceImmediateUpload;
    uint8_t mForcePowerOfTwo;
    int32_t mMusicVolume;
    int32_t mSoundVolume;
    uint8_t mUseAntiAliasing;
    uint8_t mDisableLighting;
    uint8_t mBlockExtraneousSprites;
    uint8_t mForceLinearFilter;
    uint8_t mLimitNPCDepths;
    uint8_t mNoAudioSuppression;
    uint8_t mForceDirectAspectRatios;
    uint8_t mShowLuaStartupDebug;
    uint8_t mShowStdStartupDebug;
    uint8_t mShowOrbitDebug;
    uint8_t mShowManagerDebug;
    uint8_t mShowClassDebug;
    uint8_t mShowLoadDebug;
    uint8_t mShowSaveDebug;
    uint8_t mShowLuaFormulaDebug;
    uint8_t mForceAllDebug;

    OptionsManager(const OptionsManager &) = delete;
    OptionsManager &operator=(const OptionsManager &) = delete;
};

// Writes the status block (the GL texture size limit) to standard error. Needs a current GL
// context to give a meaningful size.
void ProgramStatusReport();

// Registers the "OM_" globals.
void RegisterOptionsManagerLua(lua_State *L);

#include "core/OptionsManager.h"

#include "core/Application.h"
#include "core/NamedLinkedList.h"
#include "core/Utilities.h"

#include <GL/gl.h>
#include <cstdio>
#include <cstdlib>

namespace
{
    const int32_t cMissingInt = -700;
    const float cMissingFloat = -700.0f;
}

OptionsManager::OptionsManager()
{
    mErrorFlag = 0;
    mOptions = new NamedLinkedList(1);

    mFullscreen = 0;
    mMemoryMode = 0;
    mBlockDepthBuffer = 0;
    mBlockStencilBuffer = 0;
    mOnlyLoadCrucialCharacters = 0;
    mStartWinX = 0;
    mStartWinY = 0;
    mWinSizeX = 800;
    mWinSizeY = 600;
    mUseNoFBOsOnEntities = 0;
    mForceImmediateUpload = 0;
    mForcePowerOfTwo = 0;
    mMusicVolume = 75;
    mSoundVolume = 100;
    mUseAntiAliasing = 0;
    mDisableLighting = 0;
    mBlockExtraneousSprites = 0;
    mForceLinearFilter = 0;
    mLimitNPCDepths = 0;
    mNoAudioSuppression = 0;
    mForceDirectAspectRatios = 0;
    mShowLuaStartupDebug = 0;
    mShowStdStartupDebug = 0;
    mShowOrbitDebug = 0;
    mShowManagerDebug = 0;
    mShowClassDebug = 0;
    mShowLoadDebug = 0;
    mShowSaveDebug = 0;
    mShowLuaFormulaDebug = 0;
    mForceAllDebug = 0;

    BindBuiltins();
}

OptionsManager::~OptionsManager()
{
    delete mOptions;
}

OptionsManager *OptionsManager::Get()
{
    return GetApplication()->mOptionsManager;
}

void OptionsManager::BindBuiltins()
{
    Bind("Fullscreen", &mFullscreen, TYPEDVALUE_BOOL);
    Bind("MemoryMode", &mMemoryMode, TYPEDVALUE_BOOL);
    Bind("BlockDepthBuffer", &mBlockDepthBuffer, TYPEDVALUE_BOOL);
    Bind("BlockStencilBuffer", &mBlockStencilBuffer, TYPEDVALUE_BOOL);
    Bind("OnlyLoadCrucialCharacters", &mOnlyLoadCrucialCharacters, TYPEDVALUE_BOOL);
    Bind("StartWinX", &mStartWinX, TYPEDVALUE_INT);
    Bind("StartWinY", &mStartWinY, TYPEDVALUE_INT);
    Bind("WinSizeX", &mWinSizeX, TYPEDVALUE_INT);
    Bind("WinSizeY", &mWinSizeY, TYPEDVALUE_INT);
    Bind("UseNoFBOsOnEntities", &mUseNoFBOsOnEntities, TYPEDVALUE_BOOL);
    Bind("ForceImmediateUpload", &mForceImmediateUpload, TYPEDVALUE_BOOL);
    Bind("ForcePowerOfTwo", &mForcePowerOfTwo, TYPEDVALUE_BOOL);
    Bind("MusicVolume", &mMusicVolume, TYPEDVALUE_INT);
    Bind("SoundVolume", &mSoundVolume, TYPEDVALUE_INT);
    Bind("UseAntiAliasing", &mUseAntiAliasing, TYPEDVALUE_BOOL);
    Bind("DisableLighting", &mDisableLighting, TYPEDVALUE_BOOL);
    Bind("BlockExtraneousSprites", &mBlockExtraneousSprites, TYPEDVALUE_BOOL);
    Bind("ForceLinearFilter", &mForceLinearFilter, TYPEDVALUE_BOOL);
    Bind("LimitNPCDepths", &mLimitNPCDepths, TYPEDVALUE_BOOL);
    Bind("NoAudioSuppression", &mNoAudioSuppression, TYPEDVALUE_BOOL);
    Bind("ForceDirectAspectRatios", &mForceDirectAspectRatios, TYPEDVALUE_BOOL);
    Bind("ShowLuaStartupDebug", &mShowLuaStartupDebug, TYPEDVALUE_BOOL);
    Bind("ShowStdStartupDebug", &mShowStdStartupDebug, TYPEDVALUE_BOOL);
    Bind("ShowOrbitDebug", &mShowOrbitDebug, TYPEDVALUE_BOOL);
    Bind("ShowManagerDebug", &mShowManagerDebug, TYPEDVALUE_BOOL);
    Bind("ShowClassDebug", &mShowClassDebug, TYPEDVALUE_BOOL);
    Bind("ShowLoadDebug", &mShowLoadDebug, TYPEDVALUE_BOOL);
    Bind("ShowSaveDebug", &mShowSaveDebug, TYPEDVALUE_BOOL);
    Bind("ShowLuaFormulaDebug", &mShowLuaFormulaDebug, TYPEDVALUE_BOOL);
    Bind("ForceAllDebug", &mForceAllDebug, TYPEDVALUE_BOOL);
}

void OptionsManager::Bind(const char *pName, void *pValue, int32_t pType)
{
    if(!pName || !pValue || pType == 0) return;
    TypedValue *nValue = NewTypedValue(pValue, pType);
    if(!nValue) return;
    mOptions->AddElementWithDeleter(pName, nValue, DeleteWithFree);
}

void OptionsManager::BindOwned(const char *pName, void *pValue, int32_t pType)
{
    if(!pName || !pValue || pType == 0) return;
    TypedValue *nValue = NewTypedValue(pValue, pType);
    if(!nValue) return;
    mOptions->AddElementWithDeleter(pName, nValue, DeleteTypedValueAndData);
}

TypedValue *OptionsManager::FindOption(const char *pName)
{
    if(!pName) return nullptr;
    return (TypedValue *)mOptions->GetElementByName(pName);
}

TypedValue *OptionsManager::FindTyped(const char *pName, int32_t pType)
{
    TypedValue *rValue = FindOption(pName);
    if(!rValue || rValue->mType != pType || !rValue->rData)
    {
        mErrorFlag = 1;
        return nullptr;
    }
    return rValue;
}

bool OptionsManager::GetBool(const char *pName)
{
    TypedValue *rValue = FindTyped(pName, TYPEDVALUE_BOOL);
    return rValue ? *(uint8_t *)rValue->rData != 0 : false;
}

int32_t OptionsManager::GetInt(const char *pName)
{
    TypedValue *rValue = FindTyped(pName, TYPEDVALUE_INT);
    return rValue ? *(int32_t *)rValue->rData : cMissingInt;
}

float OptionsManager::GetFloat(const char *pName)
{
    TypedValue *rValue = FindTyped(pName, TYPEDVALUE_FLOAT);
    return rValue ? *(float *)rValue->rData : cMissingFloat;
}

void OptionsManager::SetBool(const char *pName, bool pValue)
{
    TypedValue *rValue = FindTyped(pName, TYPEDVALUE_BOOL);
    if(rValue) *(uint8_t *)rValue->rData = pValue ? 1 : 0;
}

void OptionsManager::SetInt(const char *pName, int32_t pValue)
{
    TypedValue *rValue = FindTyped(pName, TYPEDVALUE_INT);
    if(rValue) *(int32_t *)rValue->rData = pValue;
}

void OptionsManager::SetFloat(const char *pName, float pValue)
{
    TypedValue *rValue = FindTyped(pName, TYPEDVALUE_FLOAT);
    if(rValue) *(float *)rValue->rData = pValue;
}

uint8_t OptionsManager::TakeErrorFlag()
{
    uint8_t tFlag = mErrorFlag;
    mErrorFlag = 0;
    return tFlag;
}

void OptionsManager::ApplyOptions()
{
    if(!GetBool("ForceAllDebug")) return;
    SetBool("ShowLuaStartupDebug", true);
    SetBool("ShowStdStartupDebug", true);
    SetBool("ShowOrbitDebug", true);
    SetBool("ShowManagerDebug", true);
    SetBool("ShowClassDebug", true);
    SetBool("ShowSaveDebug", true);
    SetBool("ShowLuaFormulaDebug", true);
}

void ProgramStatusReport()
{
    GLint tMaxTextureSize = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &tMaxTextureSize);
    fprintf(stderr, "\n== Program Status Report: ==\n");
    fprintf(stderr, " Max texture size: %i\n", (int)tMaxTextureSize);
    fprintf(stderr, "==     End of Report      ==\n\n");
}

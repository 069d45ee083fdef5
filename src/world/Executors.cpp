#include "world/Executors.h"

#include <cstdio>
#include <cstdlib>

#include "core/ControlManager.h"
#include "core/Gears.h"
#include "core/Utilities.h"
#include "interface/AudioManager.h"
#include "interface/GUI.h"
#include "interface/GUIBaseObject.h"
#include "world/MapManager.h"
#include "world/TransitionManager.h"

// A level-select line without a map carries no name; printf would be handed a null.
static const char *PrintableName(const char *pName)
{
    return pName ? pName : "(null)";
}

// ---------------------------------------------------------------------------------------------

TransExec_AnyToMap::TransExec_AnyToMap() : mLevelName(nullptr)
{
    mType = TYPE_TRANSEXEC_ANYTOMAP;
}

TransExec_AnyToMap::~TransExec_AnyToMap()
{
    free(mLevelName);
}

void TransExec_AnyToMap::SetLevelName(const char *pName)
{
    ResetString(&mLevelName, pName);
}

void TransExec_AnyToMap::Execute()
{
    fprintf(stderr, "Executed any to level %s\n", PrintableName(mLevelName));
    ControlManager *rControls = ControlManager::Get();
    if(rControls) rControls->ResetControlStates();
    MapManager *rMap = MapManager::Fetch();
    if(rMap) rMap->LoadMapFile(mLevelName);
    ActivateGameGear();
}

// ---------------------------------------------------------------------------------------------

TransExec_CauseTransition::TransExec_CauseTransition()
    : rExecutor(nullptr), mFadeOutSpeed(0.0f), mFadeInSpeed(0.0f)
{
}

TransExec_CauseTransition::~TransExec_CauseTransition()
{
}

void TransExec_CauseTransition::SetFadeSpeeds(float pFadeOut, float pFadeIn)
{
    mFadeOutSpeed = pFadeOut;
    mFadeInSpeed = pFadeIn;
}

void TransExec_CauseTransition::Execute()
{
    TransitionManager *rManager = TransitionManager::Get();
    if(!rManager) return;
    rManager->SetFadeSpeeds(mFadeOutSpeed, mFadeInSpeed);
    rManager->Begin(rExecutor, false);
}

// ---------------------------------------------------------------------------------------------

AudioExec_PlaySound::AudioExec_PlaySound() : mSoundName(nullptr)
{
}

AudioExec_PlaySound::~AudioExec_PlaySound()
{
    free(mSoundName);
}

void AudioExec_PlaySound::SetSoundName(const char *pName)
{
    ResetString(&mSoundName, pName);
}

void AudioExec_PlaySound::Execute()
{
    AudioManager *rAudio = AudioManager::Get();
    if(rAudio && mSoundName) rAudio->PlaySound(mSoundName);
}

// ---------------------------------------------------------------------------------------------

AudioExec_StopMusic::AudioExec_StopMusic() : mFadeFrames(0)
{
}

AudioExec_StopMusic::~AudioExec_StopMusic()
{
}

void AudioExec_StopMusic::Execute()
{
    AudioManager *rAudio = AudioManager::Get();
    if(!rAudio) return;
    if(mFadeFrames == 0) rAudio->StopMusic();
    else rAudio->FadeOutMusic(mFadeFrames);
}

// ---------------------------------------------------------------------------------------------

GUIExec_ShowHideObject::GUIExec_ShowHideObject() : mObjectName(nullptr), mShow(1)
{
}

GUIExec_ShowHideObject::~GUIExec_ShowHideObject()
{
    free(mObjectName);
}

void GUIExec_ShowHideObject::SetObjectName(const char *pName)
{
    ResetString(&mObjectName, pName);
}

void GUIExec_ShowHideObject::Execute()
{
    GUI *rGUI = GetGUI();
    GUIBaseObject *rObject = rGUI ? rGUI->FindObject(mObjectName) : nullptr;
    if(rObject) rObject->SetVisible(mShow != 0);
    fprintf(stderr, "Showed %s\n", PrintableName(mObjectName));
}

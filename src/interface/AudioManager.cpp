#include "interface/AudioManager.h"

#include <cstdio>
#include <cstring>

#include "core/Application.h"
#include "core/DebugPrint.h"
#include "core/NamedLinkedList.h"
#include "interface/AllegroAudioLayer.h"
#include "interface/AudioFlags.h"
#include "interface/AudioLayer.h"
#include "interface/AudioPackage.h"

static float xMusicVolume = 0.5f;
static float xSoundVolume = 0.65f;

static float ClampVolume(float pValue)
{
    if(pValue > 1.0f) return 1.0f;
    if(pValue >= 0.0f) return pValue;
    return 0.0f;
}

AudioManager::AudioManager()
{
    mLayer = new AllegroAudioLayer();
    Boot();
}

AudioManager::AudioManager(AudioLayer *pLayer)
{
    mLayer = pLayer;
    Boot();
}

void AudioManager::Boot()
{
    mMusicList = new NamedLinkedList(1);
    mSoundList = new NamedLinkedList(1);
    rCurrentMusic = nullptr;
    mSpeech = nullptr;
    rLastRegistered = nullptr;
    if(xBlockAllAudio) return;

    // No device is not fatal: the game runs on, silent, for the rest of the run.
    if(!mLayer || !mLayer->Init(cFrequency))
    {
        fprintf(stderr, "AudioManager:  Error booting sound system!\n");
        xBlockAllAudio = 1;
    }
}

AudioManager::~AudioManager()
{
    StopMusic();
    StopAllSounds();
    delete mMusicList;
    delete mSoundList;
    delete mSpeech;
    // Last, after every package has given back its handles.
    delete mLayer;
}

AudioManager *AudioManager::Get()
{
    return GetApplication()->mAudioManager;
}

void AudioManager::PlaySoundIfBooted(const char *pName)
{
    AudioManager *rManager = Get();
    if(rManager) rManager->PlaySound(pName);
}

float AudioManager::GetMusicVolume()
{
    return xMusicVolume;
}

float AudioManager::GetSoundVolume()
{
    return xSoundVolume;
}

void AudioManager::AddMusic(const char *pName, AudioPackage *pPackage)
{
    if(!pName || !pPackage) return;
    mMusicList->AddElementWithDeleter(pName, pPackage, &AudioPackage::DeleteThis);
    rLastRegistered = pPackage;
}

void AudioManager::AddSound(const char *pName, AudioPackage *pPackage)
{
    if(!pName || !pPackage) return;
    mSoundList->AddElementWithDeleter(pName, pPackage, &AudioPackage::DeleteThis);
    rLastRegistered = pPackage;
}

AudioPackage *AudioManager::GetMusic(const char *pName)
{
    if(!pName) return nullptr;
    return (AudioPackage *)mMusicList->GetElementByName(pName);
}

AudioPackage *AudioManager::GetSound(const char *pName)
{
    if(!pName) return nullptr;
    return (AudioPackage *)mSoundList->GetElementByName(pName);
}

void AudioManager::PlayMusic(const char *pName)
{
    if(xBlockMusic) return;
    if(!pName || !strcmp(pName, "NULL"))
    {
        if(rCurrentMusic) rCurrentMusic->FadeOut(cMusicChangeFadeFrames);
        return;
    }

    AudioPackage *rPackage = GetMusic(pName);
    if(!rPackage)
    {
        fprintf(stderr, "AudioManager:  Music %s is not registered.\n", pName);
        return;
    }
    if(rPackage == rCurrentMusic) return;

    if(rCurrentMusic) rCurrentMusic->FadeOut(cMusicChangeFadeFrames);
    rPackage->SetVolume(1.0f);
    rPackage->SetLocalVolume(xMusicVolume);
    rPackage->Play();
    rCurrentMusic = rPackage;
}

void AudioManager::FadeOutMusic(int32_t pFrames)
{
    if(xBlockMusic || !rCurrentMusic) return;
    rCurrentMusic->FadeOut(pFrames);
}

void AudioManager::StopMusic()
{
    if(xBlockMusic) return;
    AudioPackage *rPackage = (AudioPackage *)mMusicList->PushIterator();
    while(rPackage)
    {
        rPackage->Stop();
        rPackage = (AudioPackage *)mMusicList->IterateNext();
    }
    rCurrentMusic = nullptr;
}

void AudioManager::PlaySound(const char *pName)
{
    if(xBlockSound) return;
    AudioPackage *rPackage = GetSound(pName);
    if(!rPackage) return;
    rPackage->SetLocalVolume(xSoundVolume);
    rPackage->Play();
}

void AudioManager::PauseSound(const char *pName)
{
    if(xBlockSound) return;
    AudioPackage *rPackage = GetSound(pName);
    if(rPackage) rPackage->Pause();
}

void AudioManager::StopSound(const char *pName)
{
    if(xBlockSound) return;
    AudioPackage *rPackage = GetSound(pName);
    if(rPackage) rPackage->Stop();
}

void AudioManager::StopAllSounds()
{
    if(xBlockSound) return;
    AudioPackage *rPackage = (AudioPackage *)mSoundList->PushIterator();
    while(rPackage)
    {
        rPackage->Stop();
        rPackage = (AudioPackage *)mSoundList->IterateNext();
    }
}

void AudioManager::PlaySpeech(const char *pPath)
{
    StopSpeech();
    if(!pPath) return;
    mSpeech = new AudioPackage(mLayer);
    mSpeech->LoadStream(pPath);
    mSpeech->Play();
}

void AudioManager::StopSpeech()
{
    delete mSpeech;
    mSpeech = nullptr;
}

void AudioManager::ChangeMusicVolume(float pDelta)
{
    xMusicVolume = ClampVolume(xMusicVolume + pDelta);
    if(rCurrentMusic) rCurrentMusic->SetLocalVolume(xMusicVolume);
}

void AudioManager::ChangeSoundVolume(float pDelta)
{
    xSoundVolume = ClampVolume(xSoundVolume + pDelta);
}

#include "interface/AudioPackage.h"

#include <cstdio>

#include "core/DebugPrint.h"
#include "core/Geometry.h"
#include "interface/AudioFlags.h"
#include "interface/AudioLayer.h"

static float ClampUnit(float pValue)
{
    if(pValue < 0.0f) return 0.0f;
    if(pValue > 1.0f) return 1.0f;
    // NaN fails both tests above; treat it as silence rather than pass it on.
    if(pValue != pValue) return 0.0f;
    return pValue;
}

AudioPackage::AudioPackage(AudioLayer *pLayer)
{
    mVolume = 1.0f;
    mLocalVolume = 1.0f;
    mHandle = 0;
    mIsSample = 0;
    mIsStream = 0;
    mLoop = nullptr;
    rLayer = pLayer;
}

AudioPackage::~AudioPackage()
{
    // The stream goes first: once it is freed its loop sync can no longer read the record.
    if(mHandle && rLayer)
    {
        if(mIsStream)
        {
            rLayer->ChannelStop(mHandle);
            rLayer->StreamFree(mHandle);
        }
        else if(mIsSample)
        {
            rLayer->SampleFree(mHandle);
        }
    }
    delete mLoop;
}

void AudioPackage::DeleteThis(void *pPackage)
{
    delete (AudioPackage *)pPackage;
}

void AudioPackage::LoadSample(const char *pPath)
{
    if(xBlockAllAudio || !pPath || !rLayer || mHandle) return;
    mHandle = rLayer->SampleLoad(pPath, cMaxSamplePlaybacks);
    if(mHandle)
    {
        mIsSample = 1;
        Debug::Print("AudioManager:  Loaded %s to %u.\n", pPath, mHandle);
    }
    else
    {
        Debug::ForcePrint("AudioManager:  Error loading sample %s.\n", pPath);
    }
}

void AudioPackage::LoadStream(const char *pPath)
{
    if(xBlockAllAudio || !pPath || !rLayer || mHandle) return;
    mHandle = rLayer->StreamCreateFile(pPath);
    if(mHandle)
    {
        mIsStream = 1;
        Debug::Print("AudioManager:  Loaded %s to %u.\n", pPath, mHandle);
    }
    else
    {
        Debug::ForcePrint("AudioManager:  Error loading stream %s.\n", pPath);
    }
}

void AudioPackage::Play()
{
    if(xBlockAllAudio || !mHandle || !rLayer) return;
    if(mIsStream)
    {
        rLayer->ChannelSetVolume(mHandle, mVolume * mLocalVolume);
        rLayer->ChannelPlay(mHandle);
        return;
    }
    uint32_t tChannel = rLayer->SampleGetChannel(mHandle);
    if(!tChannel) return;
    rLayer->ChannelSetVolume(tChannel, mVolume * mLocalVolume);
    rLayer->ChannelPlay(tChannel);
}

void AudioPackage::SlideVolume(float pTarget, int32_t pFrames)
{
    if(pFrames < 0) pFrames = 0;
    uint32_t tMilliseconds = (uint32_t)TruncateCoordinate((float)(pFrames / 60.0 * 1000.0));
    rLayer->ChannelSlideVolume(mHandle, pTarget, tMilliseconds);
}

void AudioPackage::FadeOut(int32_t pFrames)
{
    if(!mIsStream || !mHandle || !rLayer) return;
    SlideVolume(0.0f, pFrames);
}

void AudioPackage::FadeTo(float pVolume, int32_t pFrames)
{
    if(!mIsStream || !mHandle || !rLayer) return;
    mVolume = ClampUnit(pVolume);
    SlideVolume(mVolume * mLocalVolume, pFrames);
}

void AudioPackage::Pause()
{
    if(!mIsStream || !mHandle || !rLayer) return;
    rLayer->ChannelPause(mHandle);
}

void AudioPackage::Stop()
{
    if(!mIsStream || !mHandle || !rLayer) return;
    rLayer->ChannelStop(mHandle);
}

void AudioPackage::ApplyVolume()
{
    if(mHandle && rLayer) rLayer->ChannelSetVolume(mHandle, mVolume * mLocalVolume);
}

void AudioPackage::SetVolume(float pVolume)
{
    mVolume = ClampUnit(pVolume);
    ApplyVolume();
}

void AudioPackage::SetLocalVolume(float pVolume)
{
    mLocalVolume = ClampUnit(pVolume);
    ApplyVolume();
}

void AudioPackage::LoopSync(uint32_t pChannel, void *pLoopRecord)
{
    AudioLoopRecord *rLoop = (AudioLoopRecord *)pLoopRecord;
    if(rLoop && rLoop->rLayer) rLoop->rLayer->ChannelSetPosition(pChannel, rLoop->mStartBytes);
}

void AudioPackage::ActivateLoop(float pStartSeconds, float pEndSeconds)
{
    if(!mIsStream || !mHandle || !rLayer || mLoop) return;
    mLoop = new AudioLoopRecord();
    mLoop->rLayer = rLayer;
    mLoop->mStartBytes = rLayer->ChannelSeconds2Bytes(mHandle, pStartSeconds);
    uint64_t tEndBytes = rLayer->ChannelSeconds2Bytes(mHandle, pEndSeconds);
    rLayer->ChannelSetSync(mHandle, tEndBytes, &AudioPackage::LoopSync, mLoop);
}

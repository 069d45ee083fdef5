#include "support/RecordingAudioLayer.h"

#include <cstdlib>
#include <cstring>
#include <cstdio>

RecordingAudioLayer::RecordingAudioLayer()
{
    mInitResult = true;
    mLoadsFail = false;
    mCalls = nullptr;
    mCallCount = 0;
    mCallCapacity = 0;
    mChannels = nullptr;
    mChannelCount = 0;
    mChannelCapacity = 0;
    rReportLiveHandles = nullptr;
    rReportStreamFrees = nullptr;
    mReportStream = 0;
}

RecordingAudioLayer::~RecordingAudioLayer()
{
    if(rReportLiveHandles) *rReportLiveHandles = CountLiveHandles();
    if(rReportStreamFrees) *rReportStreamFrees = CountCalls(AUDIO_CALL_STREAM_FREE, mReportStream);
    free(mCalls);
    free(mChannels);
}

AudioCall *RecordingAudioLayer::Record(AudioCallKind pKind, uint32_t pHandle)
{
    if(mCallCount >= mCallCapacity)
    {
        int32_t tCapacity = mCallCapacity ? mCallCapacity * 2 : 64;
        AudioCall *tGrown = (AudioCall *)realloc(mCalls, sizeof(AudioCall) * tCapacity);
        if(!tGrown) return nullptr;
        mCalls = tGrown;
        mCallCapacity = tCapacity;
    }
    AudioCall *rCall = &mCalls[mCallCount++];
    memset(rCall, 0, sizeof(AudioCall));
    rCall->mKind = pKind;
    rCall->mHandle = pHandle;
    return rCall;
}

RecordedChannel *RecordingAudioLayer::Channel(uint32_t pHandle)
{
    if(pHandle < 1 || pHandle > mChannelCount) return nullptr;
    RecordedChannel *rChannel = &mChannels[pHandle - 1];
    return rChannel->mExists ? rChannel : nullptr;
}

uint32_t RecordingAudioLayer::NewHandle(const char *pPath, uint8_t pIsSample, uint8_t pIsStream)
{
    if(mChannelCount >= mChannelCapacity)
    {
        uint32_t tCapacity = mChannelCapacity ? mChannelCapacity * 2 : 32;
        RecordedChannel *tGrown = (RecordedChannel *)realloc(mChannels, sizeof(RecordedChannel) * tCapacity);
        if(!tGrown) return 0;
        mChannels = tGrown;
        mChannelCapacity = tCapacity;
    }
    RecordedChannel *rChannel = &mChannels[mChannelCount++];
    memset(rChannel, 0, sizeof(RecordedChannel));
    rChannel->mExists = 1;
    rChannel->mIsSample = pIsSample;
    rChannel->mIsStream = pIsStream;
    rChannel->mVolume = 1.0f;
    return mChannelCount;
}

bool RecordingAudioLayer::Init(uint32_t pFrequency)
{
    Record(AUDIO_CALL_INIT, 0);
    return mInitResult;
}

uint32_t RecordingAudioLayer::SampleLoad(const char *pPath, uint32_t pMaxPlaybacks)
{
    uint32_t tHandle = (mLoadsFail || !pPath) ? 0 : NewHandle(pPath, 1, 0);
    AudioCall *rCall = Record(AUDIO_CALL_SAMPLE_LOAD, tHandle);
    if(rCall && pPath) snprintf(rCall->mPath, sizeof(rCall->mPath), "%s", pPath);
    return tHandle;
}

uint32_t RecordingAudioLayer::StreamCreateFile(const char *pPath)
{
    uint32_t tHandle = (mLoadsFail || !pPath) ? 0 : NewHandle(pPath, 0, 1);
    AudioCall *rCall = Record(AUDIO_CALL_STREAM_CREATE, tHandle);
    if(rCall && pPath) snprintf(rCall->mPath, sizeof(rCall->mPath), "%s", pPath);
    return tHandle;
}

void RecordingAudioLayer::SampleFree(uint32_t pSample)
{
    Record(AUDIO_CALL_SAMPLE_FREE, pSample);
    RecordedChannel *rChannel = Channel(pSample);
    if(rChannel && rChannel->mIsSample) rChannel->mExists = 0;
}

void RecordingAudioLayer::StreamFree(uint32_t pStream)
{
    Record(AUDIO_CALL_STREAM_FREE, pStream);
    RecordedChannel *rChannel = Channel(pStream);
    if(rChannel && rChannel->mIsStream) rChannel->mExists = 0;
}

uint32_t RecordingAudioLayer::SampleGetChannel(uint32_t pSample)
{
    RecordedChannel *rSample = Channel(pSample);
    uint32_t tHandle = (rSample && rSample->mIsSample) ? NewHandle(nullptr, 0, 0) : 0;
    AudioCall *rCall = Record(AUDIO_CALL_SAMPLE_GET_CHANNEL, pSample);
    if(rCall) rCall->mBytes = tHandle;
    return tHandle;
}

void RecordingAudioLayer::ChannelPlay(uint32_t pChannel)
{
    Record(AUDIO_CALL_PLAY, pChannel);
    RecordedChannel *rChannel = Channel(pChannel);
    if(!rChannel) return;
    rChannel->mPlaying = 1;
    rChannel->mPosition = 0;
}

void RecordingAudioLayer::ChannelSetVolume(uint32_t pHandle, float pVolume)
{
    AudioCall *rCall = Record(AUDIO_CALL_SET_VOLUME, pHandle);
    if(rCall) rCall->mVolume = pVolume;
    RecordedChannel *rChannel = Channel(pHandle);
    if(rChannel) rChannel->mVolume = pVolume;
}

void RecordingAudioLayer::ChannelSlideVolume(uint32_t pChannel, float pTarget, uint32_t pMilliseconds)
{
    AudioCall *rCall = Record(AUDIO_CALL_SLIDE_VOLUME, pChannel);
    if(rCall)
    {
        rCall->mVolume = pTarget;
        rCall->mMilliseconds = pMilliseconds;
    }
}

void RecordingAudioLayer::ChannelPause(uint32_t pChannel)
{
    Record(AUDIO_CALL_PAUSE, pChannel);
    RecordedChannel *rChannel = Channel(pChannel);
    if(rChannel) rChannel->mPlaying = 0;
}

void RecordingAudioLayer::ChannelStop(uint32_t pChannel)
{
    Record(AUDIO_CALL_STOP, pChannel);
    RecordedChannel *rChannel = Channel(pChannel);
    if(rChannel) rChannel->mPlaying = 0;
}

uint64_t RecordingAudioLayer::ChannelSeconds2Bytes(uint32_t pChannel, double pSeconds)
{
    uint64_t tBytes = (Channel(pChannel) && pSeconds > 0.0) ? (uint64_t)(pSeconds * (double)cBytesPerSecond) : 0;
    AudioCall *rCall = Record(AUDIO_CALL_SECONDS_TO_BYTES, pChannel);
    if(rCall)
    {
        rCall->mSeconds = pSeconds;
        rCall->mBytes = tBytes;
    }
    return tBytes;
}

void RecordingAudioLayer::ChannelSetPosition(uint32_t pChannel, uint64_t pBytes)
{
    AudioCall *rCall = Record(AUDIO_CALL_SET_POSITION, pChannel);
    if(rCall) rCall->mBytes = pBytes;
    RecordedChannel *rChannel = Channel(pChannel);
    if(rChannel) rChannel->mPosition = pBytes;
}

bool RecordingAudioLayer::ChannelSetSync(uint32_t pChannel, uint64_t pBytes, AudioSyncProc pProc, void *pUser)
{
    AudioCall *rCall = Record(AUDIO_CALL_SET_SYNC, pChannel);
    if(rCall) rCall->mBytes = pBytes;
    RecordedChannel *rChannel = Channel(pChannel);
    if(!rChannel || !rChannel->mIsStream || !pProc) return false;
    rChannel->rSyncProc = pProc;
    rChannel->rSyncUser = pUser;
    rChannel->mSyncBytes = pBytes;
    return true;
}

const AudioCall *RecordingAudioLayer::GetCall(int32_t pIndex) const
{
    if(pIndex < 0 || pIndex >= mCallCount) return nullptr;
    return &mCalls[pIndex];
}

int32_t RecordingAudioLayer::CountCalls(AudioCallKind pKind, uint32_t pHandle) const
{
    int32_t tCount = 0;
    for(int32_t i = 0; i < mCallCount; i++)
    {
        if(mCalls[i].mKind == pKind && mCalls[i].mHandle == pHandle) tCount++;
    }
    return tCount;
}

const AudioCall *RecordingAudioLayer::FindLastCall(AudioCallKind pKind, uint32_t pHandle) const
{
    for(int32_t i = mCallCount - 1; i >= 0; i--)
    {
        if(mCalls[i].mKind == pKind && mCalls[i].mHandle == pHandle) return &mCalls[i];
    }
    return nullptr;
}

const RecordedChannel *RecordingAudioLayer::GetChannel(uint32_t pHandle) const
{
    if(pHandle < 1 || pHandle > mChannelCount) return nullptr;
    const RecordedChannel *rChannel = &mChannels[pHandle - 1];
    return rChannel->mExists ? rChannel : nullptr;
}

int32_t RecordingAudioLayer::CountLiveHandles() const
{
    int32_t tCount = 0;
    for(uint32_t i = 0; i < mChannelCount; i++)
    {
        if(mChannels[i].mExists && (mChannels[i].mIsSample || mChannels[i].mIsStream)) tCount++;
    }
    return tCount;
}

void RecordingAudioLayer::ReachSyncPosition(uint32_t pStream)
{
    RecordedChannel *rChannel = Channel(pStream);
    if(!rChannel || !rChannel->rSyncProc) return;
    rChannel->mPosition = rChannel->mSyncBytes;
    rChannel->rSyncProc(pStream, rChannel->rSyncUser);
}


void RecordingAudioLayer::ReportAtDestruction(int32_t *pLiveHandles, int32_t *pStreamFrees, uint32_t pStream)
{
    rReportLiveHandles = pLiveHandles;
    rReportStreamFrees = pStreamFrees;
    mReportStream = pStream;
}

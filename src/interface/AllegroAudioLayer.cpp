#include "interface/AllegroAudioLayer.h"

#include <allegro5/allegro_acodec.h>
#include <cstdio>

#include "core/Geometry.h"
#include "core/NamedLinkedList.h"

enum
{
    CHANNEL_KIND_SAMPLE = 0,
    CHANNEL_KIND_SAMPLE_PLAYBACK = 1,
    CHANNEL_KIND_STREAM = 2,
};

// How often the worker moves slides and looks for syncs.
static const double cWorkerPeriod = 0.005;

// Stream buffering: small fragments keep a sync's overshoot past its position short.
static const size_t cStreamFragments = 4;
static const unsigned int cStreamFragmentFrames = 1024;

struct AllegroAudioChannel
{
    uint32_t mHandle;
    uint8_t mKind;
    uint32_t mOwnerSample;
    uint32_t mMaxPlaybacks;
    ALLEGRO_SAMPLE *rSample;
    ALLEGRO_SAMPLE_INSTANCE *mInstance;
    ALLEGRO_AUDIO_STREAM *mStream;
    ALLEGRO_SAMPLE *mOwnedSample;
    uint32_t mFrequency;
    uint32_t mChannelCount;

    float mVolume;
    uint8_t mSliding;
    float mSlideFrom;
    float mSlideTarget;
    double mSlideStart;
    double mSlideSeconds;

    uint8_t mWantPlaying;
    double mStartedAt;

    AudioSyncProc rSyncProc;
    void *rSyncUser;
    uint64_t mSyncBytes;
    uint8_t mSyncArmed;
};

static void DestroyChannel(void *pData)
{
    AllegroAudioChannel *nChannel = (AllegroAudioChannel *)pData;
    if(!nChannel) return;
    if(nChannel->mInstance) al_destroy_sample_instance(nChannel->mInstance);
    if(nChannel->mStream) al_destroy_audio_stream(nChannel->mStream);
    if(nChannel->mOwnedSample) al_destroy_sample(nChannel->mOwnedSample);
    delete nChannel;
}

static AllegroAudioChannel *NewChannelRecord(uint8_t pKind)
{
    AllegroAudioChannel *nChannel = new AllegroAudioChannel();
    nChannel->mKind = pKind;
    nChannel->mVolume = 1.0f;
    return nChannel;
}

static uint64_t BytesPerFrame(const AllegroAudioChannel *pChannel)
{
    return (uint64_t)pChannel->mChannelCount * 2;
}

static void ApplyGain(AllegroAudioChannel *pChannel, float pVolume)
{
    if(pChannel->mStream) al_set_audio_stream_gain(pChannel->mStream, pVolume);
    if(pChannel->mInstance) al_set_sample_instance_gain(pChannel->mInstance, pVolume);
}

static uint64_t CurrentBytes(AllegroAudioChannel *pChannel)
{
    if(pChannel->mStream)
    {
        double tSeconds = al_get_audio_stream_position_secs(pChannel->mStream);
        if(tSeconds < 0.0) tSeconds = 0.0;
        return (uint64_t)(tSeconds * pChannel->mFrequency) * BytesPerFrame(pChannel);
    }
    if(pChannel->mInstance) return (uint64_t)al_get_sample_instance_position(pChannel->mInstance) * BytesPerFrame(pChannel);
    return 0;
}

// The one lock of the layer, held for the scope of an entry point.
class LayerLock
{
public:
    explicit LayerLock(ALLEGRO_MUTEX *pLock) : rLock(pLock) { if(rLock) al_lock_mutex(rLock); }
    ~LayerLock() { if(rLock) al_unlock_mutex(rLock); }
private:
    ALLEGRO_MUTEX *rLock;
};

AllegroAudioLayer::AllegroAudioLayer()
{
    mVoice = nullptr;
    mMixer = nullptr;
    mLock = nullptr;
    mWorker = nullptr;
    mChannels = nullptr;
    mNextHandle = 0;
    mInstalledAudio = 0;
}

AllegroAudioLayer::~AllegroAudioLayer()
{
    Shutdown();
}

bool AllegroAudioLayer::Init(uint32_t pFrequency)
{
    if(mMixer) return true;
    if(!al_is_system_installed()) return false;
    if(!al_is_audio_installed())
    {
        if(!al_install_audio()) return false;
        mInstalledAudio = 1;
    }
    al_init_acodec_addon();

    mVoice = al_create_voice(pFrequency, ALLEGRO_AUDIO_DEPTH_INT16, ALLEGRO_CHANNEL_CONF_2);
    if(mVoice) mMixer = al_create_mixer(pFrequency, ALLEGRO_AUDIO_DEPTH_FLOAT32, ALLEGRO_CHANNEL_CONF_2);
    if(!mMixer || !al_attach_mixer_to_voice(mMixer, mVoice))
    {
        Shutdown();
        return false;
    }

    mLock = al_create_mutex_recursive();
    mChannels = new NamedLinkedList(1);
    mWorker = al_create_thread(&AllegroAudioLayer::WorkerMain, this);
    if(!mLock || !mWorker)
    {
        Shutdown();
        return false;
    }
    al_start_thread(mWorker);
    return true;
}

void AllegroAudioLayer::Shutdown()
{
    if(mWorker) al_destroy_thread(mWorker);
    mWorker = nullptr;

    // Playbacks go before the samples whose data they read.
    if(mChannels)
    {
        // Removing the head leaves the cursor before the new head, so the walk follows the
        // data CursorNext returns rather than the cursor node.
        AllegroAudioChannel *rChannel = (AllegroAudioChannel *)mChannels->SetCursorToHead();
        while(rChannel)
        {
            if(rChannel->mKind != CHANNEL_KIND_SAMPLE) mChannels->RemoveAtCursor();
            rChannel = (AllegroAudioChannel *)mChannels->CursorNext();
        }
        delete mChannels;
    }
    mChannels = nullptr;

    if(mMixer) al_destroy_mixer(mMixer);
    mMixer = nullptr;
    if(mVoice) al_destroy_voice(mVoice);
    mVoice = nullptr;
    if(mLock) al_destroy_mutex(mLock);
    mLock = nullptr;
    if(mInstalledAudio) al_uninstall_audio();
    mInstalledAudio = 0;
}

void *AllegroAudioLayer::WorkerMain(ALLEGRO_THREAD *pThread, void *pLayer)
{
    AllegroAudioLayer *rLayer = (AllegroAudioLayer *)pLayer;
    while(!al_get_thread_should_stop(pThread))
    {
        {
            LayerLock tLock(rLayer->mLock);
            rLayer->Pump(al_get_time());
        }
        al_rest(cWorkerPeriod);
    }
    return nullptr;
}

void AllegroAudioLayer::Pump(double pNow)
{
    AllegroAudioChannel *rChannel = (AllegroAudioChannel *)mChannels->PushIterator();
    while(rChannel)
    {
        if(rChannel->mSliding)
        {
            double tProgress = (pNow - rChannel->mSlideStart) / rChannel->mSlideSeconds;
            if(tProgress >= 1.0)
            {
                rChannel->mVolume = rChannel->mSlideTarget;
                rChannel->mSliding = 0;
            }
            else if(tProgress > 0.0)
            {
                rChannel->mVolume = rChannel->mSlideFrom + (rChannel->mSlideTarget - rChannel->mSlideFrom) * (float)tProgress;
            }
            ApplyGain(rChannel, rChannel->mVolume);
        }
        if(rChannel->mStream) PumpSync(rChannel);
        rChannel = (AllegroAudioChannel *)mChannels->IterateNext();
    }
}

void AllegroAudioLayer::PumpSync(AllegroAudioChannel *pChannel)
{
    if(!pChannel->mWantPlaying) return;
    bool tRanOut = !al_get_audio_stream_playing(pChannel->mStream);
    if(!pChannel->rSyncProc)
    {
        if(tRanOut) pChannel->mWantPlaying = 0;
        return;
    }

    uint64_t tBytes = CurrentBytes(pChannel);
    if(tBytes < pChannel->mSyncBytes && !tRanOut)
    {
        pChannel->mSyncArmed = 1;
        return;
    }
    if(!pChannel->mSyncArmed)
    {
        if(tRanOut) pChannel->mWantPlaying = 0;
        return;
    }

    pChannel->mSyncArmed = 0;
    pChannel->rSyncProc(pChannel->mHandle, pChannel->rSyncUser);

    // A callback that moved the position back keeps a finished stream going.
    if(CurrentBytes(pChannel) < pChannel->mSyncBytes)
    {
        pChannel->mSyncArmed = 1;
        if(tRanOut) al_set_audio_stream_playing(pChannel->mStream, true);
    }
    else if(tRanOut)
    {
        pChannel->mWantPlaying = 0;
    }
}

AllegroAudioChannel *AllegroAudioLayer::Find(uint32_t pHandle)
{
    if(!mChannels || !pHandle) return nullptr;
    char tName[16];
    snprintf(tName, sizeof(tName), "%u", pHandle);
    return (AllegroAudioChannel *)mChannels->GetElementByName(tName);
}

AllegroAudioChannel *AllegroAudioLayer::AddChannel(AllegroAudioChannel *pChannel)
{
    mNextHandle++;
    if(mNextHandle == 0) mNextHandle = 1;
    pChannel->mHandle = mNextHandle;
    char tName[16];
    snprintf(tName, sizeof(tName), "%u", pChannel->mHandle);
    mChannels->AddElementWithDeleter(tName, pChannel, &DestroyChannel);
    return pChannel;
}

uint32_t AllegroAudioLayer::SampleLoad(const char *pPath, uint32_t pMaxPlaybacks)
{
    if(!mMixer || !pPath || pMaxPlaybacks < 1) return 0;
    LayerLock tLock(mLock);
    ALLEGRO_SAMPLE *tSample = al_load_sample(pPath);
    if(!tSample) return 0;

    AllegroAudioChannel *nChannel = NewChannelRecord(CHANNEL_KIND_SAMPLE);
    nChannel->mOwnedSample = tSample;
    nChannel->rSample = tSample;
    nChannel->mMaxPlaybacks = pMaxPlaybacks;
    nChannel->mFrequency = al_get_sample_frequency(tSample);
    nChannel->mChannelCount = al_get_channel_count(al_get_sample_channels(tSample));
    return AddChannel(nChannel)->mHandle;
}

uint32_t AllegroAudioLayer::StreamCreateFile(const char *pPath)
{
    if(!mMixer || !pPath) return 0;
    LayerLock tLock(mLock);
    ALLEGRO_AUDIO_STREAM *tStream = al_load_audio_stream(pPath, cStreamFragments, cStreamFragmentFrames);
    if(!tStream) return 0;

    // Loaded streams start out playing; ours wait for ChannelPlay.
    al_set_audio_stream_playing(tStream, false);
    if(!al_attach_audio_stream_to_mixer(tStream, mMixer))
    {
        al_destroy_audio_stream(tStream);
        return 0;
    }

    AllegroAudioChannel *nChannel = NewChannelRecord(CHANNEL_KIND_STREAM);
    nChannel->mStream = tStream;
    nChannel->mFrequency = al_get_audio_stream_frequency(tStream);
    nChannel->mChannelCount = al_get_channel_count(al_get_audio_stream_channels(tStream));
    return AddChannel(nChannel)->mHandle;
}

void AllegroAudioLayer::SampleFree(uint32_t pSample)
{
    LayerLock tLock(mLock);
    AllegroAudioChannel *rSample = Find(pSample);
    if(!rSample || rSample->mKind != CHANNEL_KIND_SAMPLE) return;

    AllegroAudioChannel *rChannel = (AllegroAudioChannel *)mChannels->SetCursorToHead();
    while(rChannel)
    {
        if(rChannel->mKind == CHANNEL_KIND_SAMPLE_PLAYBACK && rChannel->mOwnerSample == pSample) mChannels->RemoveAtCursor();
        rChannel = (AllegroAudioChannel *)mChannels->CursorNext();
    }
    mChannels->RemoveElementByData(rSample);
}

void AllegroAudioLayer::StreamFree(uint32_t pStream)
{
    LayerLock tLock(mLock);
    AllegroAudioChannel *rStream = Find(pStream);
    if(!rStream || rStream->mKind != CHANNEL_KIND_STREAM) return;
    mChannels->RemoveElementByData(rStream);
}

uint32_t AllegroAudioLayer::SampleGetChannel(uint32_t pSample)
{
    LayerLock tLock(mLock);
    AllegroAudioChannel *rSample = Find(pSample);
    if(!rSample || rSample->mKind != CHANNEL_KIND_SAMPLE) return 0;

    // An idle playback first, then a new one while under the limit, else the oldest.
    AllegroAudioChannel *rOldest = nullptr;
    uint32_t tCount = 0;
    AllegroAudioChannel *rChannel = (AllegroAudioChannel *)mChannels->PushIterator();
    while(rChannel)
    {
        if(rChannel->mKind == CHANNEL_KIND_SAMPLE_PLAYBACK && rChannel->mOwnerSample == pSample)
        {
            tCount++;
            if(!al_get_sample_instance_playing(rChannel->mInstance))
            {
                mChannels->PopIterator();
                rChannel->mSliding = 0;
                rChannel->mVolume = rSample->mVolume;
                ApplyGain(rChannel, rChannel->mVolume);
                return rChannel->mHandle;
            }
            if(!rOldest || rChannel->mStartedAt < rOldest->mStartedAt) rOldest = rChannel;
        }
        rChannel = (AllegroAudioChannel *)mChannels->IterateNext();
    }

    if(tCount >= rSample->mMaxPlaybacks)
    {
        if(!rOldest) return 0;
        al_stop_sample_instance(rOldest->mInstance);
        rOldest->mSliding = 0;
        rOldest->mVolume = rSample->mVolume;
        ApplyGain(rOldest, rOldest->mVolume);
        return rOldest->mHandle;
    }

    ALLEGRO_SAMPLE_INSTANCE *tInstance = al_create_sample_instance(rSample->rSample);
    if(!tInstance) return 0;
    if(!al_attach_sample_instance_to_mixer(tInstance, mMixer))
    {
        al_destroy_sample_instance(tInstance);
        return 0;
    }
    AllegroAudioChannel *nChannel = NewChannelRecord(CHANNEL_KIND_SAMPLE_PLAYBACK);
    nChannel->mInstance = tInstance;
    nChannel->rSample = rSample->rSample;
    nChannel->mOwnerSample = pSample;
    nChannel->mFrequency = rSample->mFrequency;
    nChannel->mChannelCount = rSample->mChannelCount;
    nChannel->mVolume = rSample->mVolume;
    ApplyGain(nChannel, nChannel->mVolume);
    return AddChannel(nChannel)->mHandle;
}

void AllegroAudioLayer::ChannelPlay(uint32_t pChannel)
{
    LayerLock tLock(mLock);
    AllegroAudioChannel *rChannel = Find(pChannel);
    if(!rChannel) return;
    rChannel->mStartedAt = al_get_time();
    if(rChannel->mStream)
    {
        al_rewind_audio_stream(rChannel->mStream);
        al_set_audio_stream_playing(rChannel->mStream, true);
        rChannel->mWantPlaying = 1;
        rChannel->mSyncArmed = 1;
    }
    else if(rChannel->mInstance)
    {
        al_set_sample_instance_position(rChannel->mInstance, 0);
        al_play_sample_instance(rChannel->mInstance);
    }
}

void AllegroAudioLayer::ChannelSetVolume(uint32_t pHandle, float pVolume)
{
    LayerLock tLock(mLock);
    AllegroAudioChannel *rChannel = Find(pHandle);
    if(!rChannel) return;
    rChannel->mSliding = 0;
    rChannel->mVolume = pVolume;
    ApplyGain(rChannel, pVolume);
}

void AllegroAudioLayer::ChannelSlideVolume(uint32_t pChannel, float pTarget, uint32_t pMilliseconds)
{
    LayerLock tLock(mLock);
    AllegroAudioChannel *rChannel = Find(pChannel);
    if(!rChannel || rChannel->mKind == CHANNEL_KIND_SAMPLE) return;
    if(pMilliseconds == 0)
    {
        rChannel->mSliding = 0;
        rChannel->mVolume = pTarget;
        ApplyGain(rChannel, pTarget);
        return;
    }
    rChannel->mSliding = 1;
    rChannel->mSlideFrom = rChannel->mVolume;
    rChannel->mSlideTarget = pTarget;
    rChannel->mSlideStart = al_get_time();
    rChannel->mSlideSeconds = pMilliseconds / 1000.0;
}

void AllegroAudioLayer::ChannelPause(uint32_t pChannel)
{
    LayerLock tLock(mLock);
    AllegroAudioChannel *rChannel = Find(pChannel);
    if(!rChannel) return;
    if(rChannel->mStream) al_set_audio_stream_playing(rChannel->mStream, false);
    if(rChannel->mInstance) al_set_sample_instance_playing(rChannel->mInstance, false);
    rChannel->mWantPlaying = 0;
}

void AllegroAudioLayer::ChannelStop(uint32_t pChannel)
{
    LayerLock tLock(mLock);
    AllegroAudioChannel *rChannel = Find(pChannel);
    if(!rChannel) return;
    if(rChannel->mStream)
    {
        al_set_audio_stream_playing(rChannel->mStream, false);
        al_rewind_audio_stream(rChannel->mStream);
    }
    if(rChannel->mInstance) al_stop_sample_instance(rChannel->mInstance);
    rChannel->mWantPlaying = 0;
}

uint64_t AllegroAudioLayer::ChannelSeconds2Bytes(uint32_t pChannel, double pSeconds)
{
    LayerLock tLock(mLock);
    AllegroAudioChannel *rChannel = Find(pChannel);
    if(!rChannel || pSeconds <= 0.0) return 0;
    return (uint64_t)TruncateCoordinate((float)(pSeconds * rChannel->mFrequency)) * BytesPerFrame(rChannel);
}

void AllegroAudioLayer::ChannelSetPosition(uint32_t pChannel, uint64_t pBytes)
{
    LayerLock tLock(mLock);
    AllegroAudioChannel *rChannel = Find(pChannel);
    if(!rChannel || !rChannel->mFrequency || !rChannel->mChannelCount) return;
    uint64_t tFrame = pBytes / BytesPerFrame(rChannel);
    if(rChannel->mStream) al_seek_audio_stream_secs(rChannel->mStream, (double)tFrame / rChannel->mFrequency);
    if(rChannel->mInstance && tFrame < al_get_sample_instance_length(rChannel->mInstance))
        al_set_sample_instance_position(rChannel->mInstance, (unsigned int)tFrame);
}

bool AllegroAudioLayer::ChannelSetSync(uint32_t pChannel, uint64_t pBytes, AudioSyncProc pProc, void *pUser)
{
    LayerLock tLock(mLock);
    AllegroAudioChannel *rChannel = Find(pChannel);
    if(!rChannel || !rChannel->mStream || !pProc) return false;
    rChannel->rSyncProc = pProc;
    rChannel->rSyncUser = pUser;
    rChannel->mSyncBytes = pBytes;
    rChannel->mSyncArmed = CurrentBytes(rChannel) < pBytes ? 1 : 0;
    return true;
}

bool AllegroAudioLayer::IsChannelPlaying(uint32_t pChannel)
{
    LayerLock tLock(mLock);
    AllegroAudioChannel *rChannel = Find(pChannel);
    if(!rChannel) return false;
    if(rChannel->mStream) return al_get_audio_stream_playing(rChannel->mStream);
    if(rChannel->mInstance) return al_get_sample_instance_playing(rChannel->mInstance);
    return false;
}

float AllegroAudioLayer::GetChannelVolume(uint32_t pChannel)
{
    LayerLock tLock(mLock);
    AllegroAudioChannel *rChannel = Find(pChannel);
    return rChannel ? rChannel->mVolume : 0.0f;
}

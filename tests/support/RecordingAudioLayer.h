#pragma once

#include "interface/AudioLayer.h"

// The audio back end for tests: nothing is heard, every call is written down in order, and
// each handle keeps the state a real device would report (volume, playing, position, sync).
// Handles count up from 1 in the order they are made. A test drives a sync by hand with
// ReachSyncPosition, as if playback had got there.
enum AudioCallKind
{
    AUDIO_CALL_INIT,
    AUDIO_CALL_SAMPLE_LOAD,
    AUDIO_CALL_STREAM_CREATE,
    AUDIO_CALL_SAMPLE_FREE,
    AUDIO_CALL_STREAM_FREE,
    AUDIO_CALL_SAMPLE_GET_CHANNEL,
    AUDIO_CALL_PLAY,
    AUDIO_CALL_SET_VOLUME,
    AUDIO_CALL_SLIDE_VOLUME,
    AUDIO_CALL_PAUSE,
    AUDIO_CALL_STOP,
    AUDIO_CALL_SECONDS_TO_BYTES,
    AUDIO_CALL_SET_POSITION,
    AUDIO_CALL_SET_SYNC,
};

struct AudioCall
{
    AudioCallKind mKind;
    uint32_t mHandle;   // the handle acted on, or the one returned by a load
    float mVolume;      // SET_VOLUME, SLIDE_VOLUME
    uint32_t mMilliseconds;
    uint64_t mBytes;    // SET_POSITION, SET_SYNC, SECONDS_TO_BYTES (the result)
    double mSeconds;
    char mPath[128];
};

struct RecordedChannel
{
    uint8_t mExists;
    uint8_t mIsSample;
    uint8_t mIsStream;
    uint8_t mPlaying;
    float mVolume;
    uint64_t mPosition;
    AudioSyncProc rSyncProc;
    void *rSyncUser;
    uint64_t mSyncBytes;
};

class RecordingAudioLayer : public AudioLayer
{
public:
    // Byte positions here are seconds x 44100 x 4, a 16-bit stereo stream at 44.1 kHz.
    static const uint64_t cBytesPerSecond = 176400;

    RecordingAudioLayer();
    ~RecordingAudioLayer() override;

    // Behaviour of the pretend device: whether Init succeeds and whether loads succeed.
    void SetInitResult(bool pResult) { mInitResult = pResult; }
    void SetLoadsFail(bool pFail) { mLoadsFail = pFail; }

    bool Init(uint32_t pFrequency) override;
    uint32_t SampleLoad(const char *pPath, uint32_t pMaxPlaybacks) override;
    uint32_t StreamCreateFile(const char *pPath) override;
    void SampleFree(uint32_t pSample) override;
    void StreamFree(uint32_t pStream) override;
    uint32_t SampleGetChannel(uint32_t pSample) override;
    void ChannelPlay(uint32_t pChannel) override;
    void ChannelSetVolume(uint32_t pHandle, float pVolume) override;
    void ChannelSlideVolume(uint32_t pChannel, float pTarget, uint32_t pMilliseconds) override;
    void ChannelPause(uint32_t pChannel) override;
    void ChannelStop(uint32_t pChannel) override;
    uint64_t ChannelSeconds2Bytes(uint32_t pChannel, double pSeconds) override;
    void ChannelSetPosition(uint32_t pChannel, uint64_t pBytes) override;
    bool ChannelSetSync(uint32_t pChannel, uint64_t pBytes, AudioSyncProc pProc, void *pUser) override;

    // The call log.
    int32_t GetCallCount() const { return mCallCount; }
    const AudioCall *GetCall(int32_t pIndex) const;
    int32_t CountCalls(AudioCallKind pKind, uint32_t pHandle) const;
    // The last call of that kind on that handle, null when there is none.
    const AudioCall *FindLastCall(AudioCallKind pKind, uint32_t pHandle) const;
    void ClearCalls() { mCallCount = 0; }

    // Handle state; null for a handle never made or already freed.
    const RecordedChannel *GetChannel(uint32_t pHandle) const;
    int32_t CountLiveHandles() const;

    // Playback of the stream has reached its sync position: the sync, if any, runs.
    void ReachSyncPosition(uint32_t pStream);

    // The audio manager deletes its layer last, so a test that wants to see what the shutdown
    // freed asks the layer to write its final counts out as it goes.
    void ReportAtDestruction(int32_t *pLiveHandles, int32_t *pStreamFrees, uint32_t pStream);

private:
    AudioCall *Record(AudioCallKind pKind, uint32_t pHandle);
    RecordedChannel *Channel(uint32_t pHandle);
    uint32_t NewHandle(const char *pPath, uint8_t pIsSample, uint8_t pIsStream);

    bool mInitResult;
    bool mLoadsFail;
    int32_t *rReportLiveHandles;
    int32_t *rReportStreamFrees;
    uint32_t mReportStream;
    AudioCall *mCalls;
    int32_t mCallCount;
    int32_t mCallCapacity;
    RecordedChannel *mChannels;
    uint32_t mChannelCount;
    uint32_t mChannelCapacity;

    RecordingAudioLayer(const RecordingAudioLayer &) = delete;
    RecordingAudioLayer &operator=(const RecordingAudioLayer &) = delete;
};

#pragma once

#include <cstdint>

// Called by the layer, on its own mixing thread, when a stream's playback reaches a sync
// position. It may call back into the layer for that channel; the layer's lock is held, so a
// free of the channel on another thread waits until the callback has returned.
typedef void (*AudioSyncProc)(uint32_t pChannel, void *pUser);

// The few services the audio manager needs from a sound back end. Samples, sample channels
// and streams share one handle space; 0 is never a handle and stands for failure or "none".
// Byte positions come from ChannelSeconds2Bytes and are only ever handed back to the layer.
//
// Volume rules: ChannelSetVolume on a sample sets the volume its future channels start with;
// on a channel or stream it applies at once and cancels any slide running on it. A slide
// runs in real milliseconds, independent of the game's tick rate, and the channel keeps
// playing while and after it slides.
class AudioLayer
{
public:
    virtual ~AudioLayer() {}

    // Starts the default output device. False when there is none: the caller then keeps
    // audio off for the run and makes no other call that expects sound.
    virtual bool Init(uint32_t pFrequency) = 0;

    // From a file, whole. A sample offers at most pMaxPlaybacks channels at a time; when all
    // are busy the one that started longest ago is taken over.
    virtual uint32_t SampleLoad(const char *pPath, uint32_t pMaxPlaybacks) = 0;
    virtual uint32_t StreamCreateFile(const char *pPath) = 0;

    // Release a sample (with all its channels) or a stream. Once they return, no sync of
    // that handle runs any more.
    virtual void SampleFree(uint32_t pSample) = 0;
    virtual void StreamFree(uint32_t pStream) = 0;

    // A channel of the sample to play on, 0 when none can be had.
    virtual uint32_t SampleGetChannel(uint32_t pSample) = 0;

    // Playback from the start.
    virtual void ChannelPlay(uint32_t pChannel) = 0;
    virtual void ChannelSetVolume(uint32_t pHandle, float pVolume) = 0;
    virtual void ChannelSlideVolume(uint32_t pChannel, float pTarget, uint32_t pMilliseconds) = 0;
    virtual void ChannelPause(uint32_t pChannel) = 0;
    virtual void ChannelStop(uint32_t pChannel) = 0;

    virtual uint64_t ChannelSeconds2Bytes(uint32_t pChannel, double pSeconds) = 0;
    virtual void ChannelSetPosition(uint32_t pChannel, uint64_t pBytes) = 0;

    // Calls pProc each time playback reaches pBytes. False when the channel is unknown.
    virtual bool ChannelSetSync(uint32_t pChannel, uint64_t pBytes, AudioSyncProc pProc, void *pUser) = 0;
};

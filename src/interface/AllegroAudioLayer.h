#pragma once

#include "interface/AudioLayer.h"

#include <allegro5/allegro.h>
#include <allegro5/allegro_audio.h>

class NamedLinkedList;
struct AllegroAudioChannel;

// The sound back end on Allegro's audio addon: one voice and one mixer at the requested rate,
// samples as ALLEGRO_SAMPLEs with up to their limit of sample instances, streams as
// ALLEGRO_AUDIO_STREAMs fed by Allegro. A worker thread of its own runs every few
// milliseconds: it moves volume slides along by the real clock and fires syncs, so both keep
// time whatever the game's tick rate is. Every entry point takes the layer's (recursive)
// lock, which the worker also holds while a sync callback runs.
//
// A byte position is a frame count times channels times two (16-bit frames at the file's own
// rate). Syncs fire on the decoded position, which runs a fragment ahead of what is heard,
// and also when a stream runs off its end before the position was seen.
class AllegroAudioLayer : public AudioLayer
{
public:
    AllegroAudioLayer();
    ~AllegroAudioLayer() override;

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

    // For tests of the running device: whether the handle is audibly playing, and its volume
    // as the mixer has it now (including a slide's progress).
    bool IsChannelPlaying(uint32_t pChannel);
    float GetChannelVolume(uint32_t pChannel);

private:
    AllegroAudioChannel *Find(uint32_t pHandle);
    AllegroAudioChannel *AddChannel(AllegroAudioChannel *pChannel);
    void Shutdown();
    void Pump(double pNow);
    void PumpSync(AllegroAudioChannel *pChannel);
    static void *WorkerMain(ALLEGRO_THREAD *pThread, void *pLayer);

    ALLEGRO_VOICE *mVoice;
    ALLEGRO_MIXER *mMixer;
    ALLEGRO_MUTEX *mLock;
    ALLEGRO_THREAD *mWorker;
    NamedLinkedList *mChannels;
    uint32_t mNextHandle;
    uint8_t mInstalledAudio;

    AllegroAudioLayer(const AllegroAudioLayer &) = delete;
    AllegroAudioLayer &operator=(const AllegroAudioLayer &) = delete;
};

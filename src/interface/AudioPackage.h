#pragma once

#include <cstdint>

class AudioLayer;

// Written once, before the loop's sync is set, and read by the sync on the audio layer's
// thread; it lives as long as the stream does.
struct AudioLoopRecord
{
    uint64_t mStartBytes;
    AudioLayer *rLayer;
};

// One registered sound or music track: a sample (short sounds, up to five at once) or a
// stream (music and speech). The volume handed to the layer is always volume x local volume;
// the local volume is what the manager's music and sound settings drive.
// A package whose file failed to load has handle 0 and does nothing; so does every package
// while all audio is blocked.
class AudioPackage
{
public:
    static const uint32_t cMaxSamplePlaybacks = 5;

    explicit AudioPackage(AudioLayer *pLayer);
    ~AudioPackage();

    // The deleter the manager's lists use.
    static void DeleteThis(void *pPackage);

    void LoadSample(const char *pPath);
    void LoadStream(const char *pPath);

    void Play();
    // Streams only. Slides to silence over the frames at 60 per second; the volume fields
    // keep their values, so a later SetVolume is heard at once.
    void FadeOut(int32_t pFrames);
    // Streams only. The volume becomes pVolume (kept in 0.0..1.0) and the stream slides to it,
    // times the local volume, over the frames at 60 per second.
    void FadeTo(float pVolume, int32_t pFrames);
    void Pause();
    void Stop();

    void SetVolume(float pVolume);
    void SetLocalVolume(float pVolume);

    // Streams only, and only the first time: playback that reaches the end goes back to the
    // start, so after the first pass the track repeats start..end.
    void ActivateLoop(float pStartSeconds, float pEndSeconds);

    // The audio layer reports neither where playback stands nor whether it runs, so these
    // answer for every package: at the start, and not playing.
    float GetPosition() const { return 0.0f; }
    bool IsPlaying() const { return false; }
    float GetVolume() const { return mVolume; }
    float GetLocalVolume() const { return mLocalVolume; }
    uint32_t GetHandle() const { return mHandle; }
    bool IsSample() const { return mIsSample != 0; }
    bool IsStream() const { return mIsStream != 0; }
    const AudioLoopRecord *GetLoop() const { return mLoop; }

private:
    static void LoopSync(uint32_t pChannel, void *pLoopRecord);
    void ApplyVolume();
    void SlideVolume(float pTarget, int32_t pFrames);

    float mVolume;
    float mLocalVolume;
    uint32_t mHandle;
    uint8_t mIsSample;
    uint8_t mIsStream;
    AudioLoopRecord *mLoop;
    AudioLayer *rLayer;

    AudioPackage(const AudioPackage &) = delete;
    AudioPackage &operator=(const AudioPackage &) = delete;
};

// Registers the "AudioPackage_" globals.
struct lua_State;
void RegisterAudioPackageLua(lua_State *L);

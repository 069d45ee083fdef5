#pragma once

#include <cstdint>

class AudioLayer;
class AudioPackage;
class NamedLinkedList;

// All sound by name: scripts register music tracks and sounds, game code plays, fades and
// stops them. Music is blocked by "-blockmusic", sounds by "-blocksound", everything by
// "-blockaudio" or by a sound device that would not start; blocked operations do nothing,
// registration still makes packages. The one instance is created at boot and owned by the
// Application.
class AudioManager
{
public:
    // Fade of the outgoing track when the music changes: two seconds.
    static const int32_t cMusicChangeFadeFrames = 120;
    static const uint32_t cFrequency = 44100;

    // The Allegro back end; tests hand in their own layer. Either way the manager owns it.
    AudioManager();
    explicit AudioManager(AudioLayer *pLayer);
    ~AudioManager();

    static AudioManager *Get();

    // Process-wide volume settings, 0.0 to 1.0.
    static float GetMusicVolume();
    static float GetSoundVolume();

    AudioLayer *GetLayer() { return mLayer; }

    // The list takes the package; it becomes the last registered. Nothing for null arguments.
    void AddMusic(const char *pName, AudioPackage *pPackage);
    void AddSound(const char *pName, AudioPackage *pPackage);
    AudioPackage *GetMusic(const char *pName);
    AudioPackage *GetSound(const char *pName);
    AudioPackage *GetCurrentMusic() { return rCurrentMusic; }
    AudioPackage *GetLastRegistered() { return rLastRegistered; }
    AudioPackage *GetSpeech() { return mSpeech; }

    // A null or "NULL" name fades the current track out (it stays current). The current
    // track asked for again keeps playing untouched, even when it was faded. Another track
    // starts at once at full volume times the music volume while the old one fades out. An
    // unknown name warns and leaves the current track alone.
    void PlayMusic(const char *pName);
    void FadeOutMusic(int32_t pFrames);
    void StopMusic();

    void PlaySound(const char *pName);
    // Plays the named sound on the booted manager; nothing happens before boot.
    static void PlaySoundIfBooted(const char *pName);
    void PauseSound(const char *pName);
    void StopSound(const char *pName);
    void StopAllSounds();

    // Speech is streamed from a file path, not from a registered name; one at a time.
    void PlaySpeech(const char *pPath);
    void StopSpeech();

    // Both clamp the setting to 0.0..1.0. The music volume reaches the current track at
    // once; sounds take the sound volume when they next play.
    void ChangeMusicVolume(float pDelta);
    void ChangeSoundVolume(float pDelta);

private:
    void Boot();

    NamedLinkedList *mMusicList;
    NamedLinkedList *mSoundList;
    AudioPackage *rCurrentMusic;
    AudioPackage *mSpeech;
    AudioPackage *rLastRegistered;
    AudioLayer *mLayer;

    AudioManager(const AudioManager &) = delete;
    AudioManager &operator=(const AudioManager &) = delete;
};

// Registers the "AudioManager_" globals.
struct lua_State;
void RegisterAudioManagerLua(lua_State *L);

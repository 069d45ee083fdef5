#include "core/Application.h"
#include "core/LuaBindingHelpers.h"
#include "interface/AllegroAudioLayer.h"
#include "interface/AudioFlags.h"
#include "interface/AudioManager.h"
#include "interface/AudioPackage.h"
#include "support/RecordingAudioLayer.h"
#include "support/ScratchFolder.h"
#include "support/TestText.h"

#include <allegro5/allegro.h>
#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

namespace
{
    size_t CountLines(const std::string &pText, const std::string &pLine)
    {
        size_t tCount = 0;
        for(size_t tAt = pText.find(pLine); tAt != std::string::npos; tAt = pText.find(pLine, tAt + 1)) tCount++;
        return tCount;
    }

    void ResetAudioSettings()
    {
        xBlockAllAudio = xBlockMusic = xBlockSound = 0;
        // Back to the start values whatever an earlier test left.
        AudioManager tScratch(new RecordingAudioLayer());
        tScratch.ChangeMusicVolume(-2.0f);
        tScratch.ChangeMusicVolume(0.5f);
        tScratch.ChangeSoundVolume(-2.0f);
        tScratch.ChangeSoundVolume(0.65f);
    }

    // The volumes and blocks are process-wide: a test starts from the start values and leaves
    // them so for whatever runs next.
    struct StartAudioSettings
    {
        StartAudioSettings() { ResetAudioSettings(); }
        ~StartAudioSettings() { ResetAudioSettings(); }
    };

    class AudioManagerTest : public testing::Test
    {
    protected:
        void SetUp() override
        {
            mLayer = new RecordingAudioLayer();
            mManager = new AudioManager(mLayer);
            GetApplication()->mAudioManager = mManager;
        }

        void TearDown() override
        {
            GetApplication()->mAudioManager = nullptr;
            delete mManager;
            if(L) lua_close(L);
        }

        AudioPackage *AddTrack(const char *pName)
        {
            AudioPackage *nPackage = new AudioPackage(mLayer);
            nPackage->LoadStream(pName);
            mManager->AddMusic(pName, nPackage);
            return nPackage;
        }

        AudioPackage *AddSample(const char *pName)
        {
            AudioPackage *nPackage = new AudioPackage(mLayer);
            nPackage->LoadSample(pName);
            mManager->AddSound(pName, nPackage);
            return nPackage;
        }

        lua_State *Lua()
        {
            if(!L)
            {
                L = luaL_newstate();
                RegisterAudioManagerLua(L);
                RegisterAudioPackageLua(L);
            }
            return L;
        }

        void Run(const char *pChunk)
        {
            ASSERT_EQ(0, luaL_dostring(Lua(), pChunk)) << lua_tostring(Lua(), -1);
            EXPECT_EQ(0, lua_gettop(Lua()));
        }

        StartAudioSettings mSettings;
        RecordingAudioLayer *mLayer = nullptr;
        AudioManager *mManager = nullptr;
        lua_State *L = nullptr;
    };
}

TEST_F(AudioManagerTest, MusicChangesFadeTheOldTrackAndNeverRestartTheCurrentOne)
{
    AudioPackage *rFirst = AddTrack("First");
    AudioPackage *rSecond = AddTrack("Second");
    uint32_t tFirst = rFirst->GetHandle();
    uint32_t tSecond = rSecond->GetHandle();

    mManager->PlayMusic("First");
    EXPECT_EQ(rFirst, mManager->GetCurrentMusic());
    EXPECT_EQ(1, mLayer->CountCalls(AUDIO_CALL_PLAY, tFirst));
    EXPECT_FLOAT_EQ(0.5f, mLayer->GetChannel(tFirst)->mVolume);

    // Asked for again: untouched, also after it was faded.
    mManager->PlayMusic("First");
    mManager->FadeOutMusic(60);
    mManager->PlayMusic("First");
    EXPECT_EQ(1, mLayer->CountCalls(AUDIO_CALL_PLAY, tFirst));
    EXPECT_EQ(1, mLayer->CountCalls(AUDIO_CALL_SLIDE_VOLUME, tFirst));

    mManager->PlayMusic("Second");
    const AudioCall *rSlide = mLayer->FindLastCall(AUDIO_CALL_SLIDE_VOLUME, tFirst);
    ASSERT_NE(nullptr, rSlide);
    EXPECT_EQ(2000u, rSlide->mMilliseconds);
    EXPECT_FLOAT_EQ(0.0f, rSlide->mVolume);
    EXPECT_EQ(0, mLayer->CountCalls(AUDIO_CALL_STOP, tFirst));
    EXPECT_EQ(1, mLayer->CountCalls(AUDIO_CALL_PLAY, tSecond));
    EXPECT_FLOAT_EQ(1.0f, rSecond->GetVolume());
    EXPECT_FLOAT_EQ(0.5f, mLayer->GetChannel(tSecond)->mVolume);
    EXPECT_EQ(rSecond, mManager->GetCurrentMusic());

    // "NULL" fades the current track and keeps it current; so does a null name.
    mManager->PlayMusic("NULL");
    EXPECT_EQ(2000u, mLayer->FindLastCall(AUDIO_CALL_SLIDE_VOLUME, tSecond)->mMilliseconds);
    mManager->PlayMusic(nullptr);
    EXPECT_EQ(2, mLayer->CountCalls(AUDIO_CALL_SLIDE_VOLUME, tSecond));
    EXPECT_EQ(rSecond, mManager->GetCurrentMusic());

    mManager->StopMusic();
    EXPECT_EQ(nullptr, mManager->GetCurrentMusic());
    EXPECT_EQ(1, mLayer->CountCalls(AUDIO_CALL_STOP, tFirst));
    EXPECT_EQ(1, mLayer->CountCalls(AUDIO_CALL_STOP, tSecond));
}

TEST_F(AudioManagerTest, UnknownMusicWarnsAndLeavesTheCurrentTrackPlaying)
{
    AudioPackage *rTrack = AddTrack("Theme");
    mManager->PlayMusic("Theme");
    mLayer->ClearCalls();

    testing::internal::CaptureStderr();
    mManager->PlayMusic("Missing");
    EXPECT_EQ("AudioManager:  Music Missing is not registered.\n", CapturedStderr());
    EXPECT_EQ(0, mLayer->GetCallCount());
    EXPECT_EQ(rTrack, mManager->GetCurrentMusic());
}

TEST_F(AudioManagerTest, FadesLastTheirFramesAtSixtyPerSecondOnStreamsOnly)
{
    AudioPackage *rTrack = AddTrack("Theme");
    AudioPackage *rSound = AddSample("Blip");
    rTrack->SetVolume(0.8f);

    rTrack->FadeOut(30);
    EXPECT_EQ(500u, mLayer->FindLastCall(AUDIO_CALL_SLIDE_VOLUME, rTrack->GetHandle())->mMilliseconds);
    rTrack->FadeOut(1);
    EXPECT_EQ(16u, mLayer->FindLastCall(AUDIO_CALL_SLIDE_VOLUME, rTrack->GetHandle())->mMilliseconds);
    rTrack->FadeOut(-5);
    EXPECT_EQ(0u, mLayer->FindLastCall(AUDIO_CALL_SLIDE_VOLUME, rTrack->GetHandle())->mMilliseconds);
    // The package keeps its volume through a fade.
    EXPECT_FLOAT_EQ(0.8f, rTrack->GetVolume());
    // A fade to a volume keeps it, clamped, and slides to it times the local volume.
    rTrack->SetLocalVolume(0.5f);
    rTrack->FadeTo(1.5f, 120);
    const AudioCall *rSlide = mLayer->FindLastCall(AUDIO_CALL_SLIDE_VOLUME, rTrack->GetHandle());
    EXPECT_EQ(2000u, rSlide->mMilliseconds);
    EXPECT_FLOAT_EQ(0.5f, rSlide->mVolume);
    EXPECT_FLOAT_EQ(1.0f, rTrack->GetVolume());

    rSound->FadeOut(30);
    rSound->FadeTo(0.5f, 30);
    rSound->Pause();
    rSound->Stop();
    EXPECT_EQ(0, mLayer->CountCalls(AUDIO_CALL_SLIDE_VOLUME, rSound->GetHandle()));
    EXPECT_EQ(0, mLayer->CountCalls(AUDIO_CALL_PAUSE, rSound->GetHandle()));
    EXPECT_EQ(0, mLayer->CountCalls(AUDIO_CALL_STOP, rSound->GetHandle()));
}

TEST_F(AudioManagerTest, LoopIsSetOnceAndItsSyncSeeksBackToTheStart)
{
    AudioPackage *rTrack = AddTrack("Theme");
    uint32_t tHandle = rTrack->GetHandle();
    rTrack->ActivateLoop(2.0f, 8.0f);
    rTrack->ActivateLoop(1.0f, 3.0f);

    EXPECT_EQ(1, mLayer->CountCalls(AUDIO_CALL_SET_SYNC, tHandle));
    EXPECT_EQ(8 * RecordingAudioLayer::cBytesPerSecond, mLayer->FindLastCall(AUDIO_CALL_SET_SYNC, tHandle)->mBytes);
    ASSERT_NE(nullptr, rTrack->GetLoop());
    EXPECT_EQ(2 * RecordingAudioLayer::cBytesPerSecond, rTrack->GetLoop()->mStartBytes);

    mManager->PlayMusic("Theme");
    mLayer->ReachSyncPosition(tHandle);
    EXPECT_EQ(2 * RecordingAudioLayer::cBytesPerSecond, mLayer->GetChannel(tHandle)->mPosition);
    EXPECT_EQ(1, mLayer->CountCalls(AUDIO_CALL_SET_POSITION, tHandle));

    // Samples take no loop.
    AudioPackage *rSound = AddSample("Blip");
    rSound->ActivateLoop(0.0f, 1.0f);
    EXPECT_EQ(nullptr, rSound->GetLoop());
    EXPECT_EQ(0, mLayer->CountCalls(AUDIO_CALL_SET_SYNC, rSound->GetHandle()));
}

TEST_F(AudioManagerTest, VolumesAreClampedAndTheMusicVolumeIsHeardAtOnce)
{
    AudioPackage *rTrack = AddTrack("Theme");
    rTrack->SetVolume(1.5f);
    EXPECT_FLOAT_EQ(1.0f, rTrack->GetVolume());
    rTrack->SetLocalVolume(-0.25f);
    EXPECT_FLOAT_EQ(0.0f, rTrack->GetLocalVolume());
    rTrack->SetVolume(NAN);
    EXPECT_FLOAT_EQ(0.0f, rTrack->GetVolume());
    EXPECT_FLOAT_EQ(0.0f, mLayer->GetChannel(rTrack->GetHandle())->mVolume);

    mManager->PlayMusic("Theme");
    mManager->ChangeMusicVolume(0.3f);
    EXPECT_FLOAT_EQ(0.8f, AudioManager::GetMusicVolume());
    EXPECT_FLOAT_EQ(0.8f, mLayer->GetChannel(rTrack->GetHandle())->mVolume);
    mManager->ChangeMusicVolume(5.0f);
    EXPECT_FLOAT_EQ(1.0f, AudioManager::GetMusicVolume());
    EXPECT_FLOAT_EQ(1.0f, mLayer->GetChannel(rTrack->GetHandle())->mVolume);
    mManager->ChangeMusicVolume(-5.0f);
    EXPECT_FLOAT_EQ(0.0f, AudioManager::GetMusicVolume());

    mManager->ChangeSoundVolume(-0.1f);
    EXPECT_NEAR(0.55f, AudioManager::GetSoundVolume(), 1e-6);
    mManager->ChangeSoundVolume(9.0f);
    EXPECT_FLOAT_EQ(1.0f, AudioManager::GetSoundVolume());
}

TEST_F(AudioManagerTest, SoundsPlayOnAChannelAtTheSoundVolume)
{
    AudioPackage *rSound = AddSample("Blip");
    rSound->SetVolume(0.5f);
    mManager->PlaySound("Blip");
    mManager->PlaySound("Nothing");

    EXPECT_FLOAT_EQ(0.65f, rSound->GetLocalVolume());
    const AudioCall *rGet = mLayer->FindLastCall(AUDIO_CALL_SAMPLE_GET_CHANNEL, rSound->GetHandle());
    ASSERT_NE(nullptr, rGet);
    uint32_t tChannel = (uint32_t)rGet->mBytes;
    EXPECT_EQ(1, mLayer->CountCalls(AUDIO_CALL_PLAY, tChannel));
    EXPECT_FLOAT_EQ(0.5f * 0.65f, mLayer->GetChannel(tChannel)->mVolume);

    // Only streamed sounds can be stopped.
    AudioPackage *nCharge = new AudioPackage(mLayer);
    nCharge->LoadStream("Charge");
    mManager->AddSound("Charge", nCharge);
    mManager->PlaySound("Charge");
    mManager->StopSound("Charge");
    mManager->StopSound("Blip");
    EXPECT_EQ(1, mLayer->CountCalls(AUDIO_CALL_STOP, nCharge->GetHandle()));
    EXPECT_EQ(0, mLayer->CountCalls(AUDIO_CALL_STOP, tChannel));
}

TEST_F(AudioManagerTest, BlockSwitchesHold)
{
    AudioPackage *rTrack = AddTrack("Theme");
    AudioPackage *rSound = AddSample("Blip");

    xBlockMusic = 1;
    mManager->PlayMusic("Theme");
    EXPECT_EQ(nullptr, mManager->GetCurrentMusic());
    EXPECT_EQ(0, mLayer->CountCalls(AUDIO_CALL_PLAY, rTrack->GetHandle()));
    mManager->PlaySound("Blip");
    EXPECT_EQ(1, mLayer->CountCalls(AUDIO_CALL_SAMPLE_GET_CHANNEL, rSound->GetHandle()));

    xBlockMusic = 0;
    xBlockSound = 1;
    mManager->PlaySound("Blip");
    EXPECT_EQ(1, mLayer->CountCalls(AUDIO_CALL_SAMPLE_GET_CHANNEL, rSound->GetHandle()));
    mManager->PlayMusic("Theme");
    EXPECT_EQ(1, mLayer->CountCalls(AUDIO_CALL_PLAY, rTrack->GetHandle()));

    // With all audio blocked nothing loads or plays, but registration still makes packages.
    xBlockSound = 0;
    xBlockAllAudio = 1;
    mLayer->ClearCalls();
    Run("AudioManager_Register('Quiet', 'AsMusic', 'AsStream', 'quiet.wav')");
    AudioPackage *rQuiet = mManager->GetMusic("Quiet");
    ASSERT_NE(nullptr, rQuiet);
    EXPECT_EQ(0u, rQuiet->GetHandle());
    rTrack->Play();
    EXPECT_EQ(0, mLayer->GetCallCount());
}

TEST(AudioManagerBootTest, NoDeviceMeansAudioOffForTheRun)
{
    StartAudioSettings tSettings;
    RecordingAudioLayer *nLayer = new RecordingAudioLayer();
    nLayer->SetInitResult(false);
    testing::internal::CaptureStderr();
    AudioManager *nManager = new AudioManager(nLayer);
    EXPECT_EQ("AudioManager:  Error booting sound system!\n", CapturedStderr());
    EXPECT_EQ(1, xBlockAllAudio);

    AudioPackage *nTrack = new AudioPackage(nLayer);
    nTrack->LoadStream("theme.wav");
    nManager->AddMusic("Theme", nTrack);
    nManager->PlayMusic("Theme");
    EXPECT_EQ(0u, nTrack->GetHandle());
    EXPECT_EQ(1, nLayer->GetCallCount());
    delete nManager;

    // Blocked from the command line: the device is never tried.
    nLayer = new RecordingAudioLayer();
    nManager = new AudioManager(nLayer);
    EXPECT_EQ(0, nLayer->GetCallCount());
    delete nManager;
    xBlockAllAudio = 0;
}

TEST_F(AudioManagerTest, HandlesAreFreedWithTheirPackages)
{
    AudioPackage *rTrack = AddTrack("Theme");
    AddSample("Blip");
    rTrack->ActivateLoop(1.0f, 2.0f);
    mManager->PlaySpeech("line1.wav");
    uint32_t tFirstLine = mManager->GetSpeech()->GetHandle();
    mManager->PlaySpeech("line2.wav");
    EXPECT_EQ(1, mLayer->CountCalls(AUDIO_CALL_STREAM_FREE, tFirstLine));
    EXPECT_EQ(3, mLayer->CountLiveHandles());

    // The manager deletes its layer last; the layer reports what was still live at that point.
    int32_t tLiveAtEnd = -1, tTrackFrees = -1;
    mLayer->ReportAtDestruction(&tLiveAtEnd, &tTrackFrees, rTrack->GetHandle());
    delete mManager;
    mManager = nullptr;
    mLayer = nullptr;
    GetApplication()->mAudioManager = nullptr;
    EXPECT_EQ(0, tLiveAtEnd);
    // The loop's stream stops and is freed (so its sync is gone) before its record goes.
    EXPECT_EQ(1, tTrackFrees);
}

TEST_F(AudioManagerTest, FailedLoadsSayWhichFileAndLeaveAnInertPackage)
{
    mLayer->SetLoadsFail(true);
    testing::internal::CaptureStderr();
    AudioPackage *rSound = AddSample("Data/Audio/None.wav");
    AudioPackage *rTrack = AddTrack("Data/Audio/Gone.wav");
    std::string tOutput = CapturedStderr();
    EXPECT_NE(std::string::npos, tOutput.find("AudioManager:  Error loading sample Data/Audio/None.wav.\n"));
    EXPECT_NE(std::string::npos, tOutput.find("AudioManager:  Error loading stream Data/Audio/Gone.wav.\n"));

    mLayer->ClearCalls();
    rSound->Play();
    rTrack->Play();
    rTrack->FadeOut(30);
    rTrack->ActivateLoop(0.0f, 1.0f);
    EXPECT_EQ(0, mLayer->GetCallCount());
}

TEST_F(AudioManagerTest, ScriptsRegisterAndConfigureTheLastPackage)
{
    testing::internal::CaptureStderr();
    Run("AudioPackage_ActivateLoop(1.0, 2.0)");
    Run("AudioPackage_SetLocalVolume(0.5)");
    Run("AudioManager_Register('Theme', 'AsMusic', 'AsStream')");
    Run("AudioPackage_SetLocalVolume()");
    EXPECT_EQ("AudioPackage_ActivateLoop: Failed, rActiveObject was wrong type, or NULL.\n"
              "AudioPackage_SetLocalVolume: Failed, rActiveObject was wrong type, or NULL.\n"
              "AudioManager_Register: Failed, invalid argument list\n"
              "AudioPackage_SetLocalVolume: Failed, invalid argument list\n", CapturedStderr());

    Run("AudioManager_Register('Theme', 'AsMusic', 'AsStream', 'theme.wav')");
    Run("AudioPackage_ActivateLoop(2.0, 8.0)");
    Run("AudioPackage_SetLocalVolume(0.25)");
    Run("AudioManager_Register('Blip', 'AsSound', 'AsSample', 'blip.wav')");

    AudioPackage *rTheme = mManager->GetMusic("Theme");
    AudioPackage *rBlip = mManager->GetSound("Blip");
    ASSERT_NE(nullptr, rTheme);
    ASSERT_NE(nullptr, rBlip);
    EXPECT_TRUE(rTheme->IsStream());
    EXPECT_TRUE(rBlip->IsSample());
    EXPECT_FLOAT_EQ(0.5f, rTheme->GetLocalVolume());
    EXPECT_FLOAT_EQ(0.65f, rBlip->GetLocalVolume());
    // "SetLocalVolume" sets the package's own volume, the first factor.
    EXPECT_FLOAT_EQ(0.25f, rTheme->GetVolume());
    EXPECT_NE(nullptr, rTheme->GetLoop());
    EXPECT_EQ(rBlip, mManager->GetLastRegistered());
    EXPECT_EQ(nullptr, mManager->GetMusic("Blip"));

    Run("AudioManager_PlayMusic('Theme')");
    EXPECT_EQ(rTheme, mManager->GetCurrentMusic());
    // nil fades the track like "NULL", and is no bad argument list.
    testing::internal::CaptureStderr();
    Run("AudioManager_PlayMusic(nil)");
    EXPECT_EQ("", CapturedStderr());
    EXPECT_EQ(1, mLayer->CountCalls(AUDIO_CALL_SLIDE_VOLUME, rTheme->GetHandle()));
    EXPECT_EQ(rTheme, mManager->GetCurrentMusic());
    testing::internal::CaptureStderr();
    Run("AudioManager_PlayMusic() AudioManager_PlayMusic({})");
    EXPECT_EQ(2u, CountLines(CapturedStderr(), "AudioManager_PlayMusic: Failed, invalid argument list\n"));
    Run("AudioManager_PlaySound('Blip')");
    EXPECT_EQ(1, mLayer->CountCalls(AUDIO_CALL_SAMPLE_GET_CHANNEL, rBlip->GetHandle()));
    Run("AudioManager_StopMusic()");
    EXPECT_EQ(nullptr, mManager->GetCurrentMusic());
    Run("AudioManager_PlaySpeech('line.wav')");
    ASSERT_NE(nullptr, mManager->GetSpeech());
    EXPECT_EQ(1, mLayer->CountCalls(AUDIO_CALL_PLAY, mManager->GetSpeech()->GetHandle()));
}

// The real back end on ALSA's null output: a private HOME whose .asoundrc makes the default
// PCM a null sink, reached through OpenAL's ALSA back end, with no sound server to find. So the
// real layer plays, fades and loops on any machine, with or without a sound card.
namespace
{
    bool WriteToneWav(const char *pPath, double pSeconds)
    {
        const int32_t tRate = 44100;
        int32_t tFrames = (int32_t)(pSeconds * tRate);
        FILE *fOut = fopen(pPath, "wb");
        if(!fOut) return false;
        auto tPut32 = [&](uint32_t v) { unsigned char b[4] = {(unsigned char)v, (unsigned char)(v >> 8), (unsigned char)(v >> 16), (unsigned char)(v >> 24)}; fwrite(b, 1, 4, fOut); };
        auto tPut16 = [&](uint16_t v) { unsigned char b[2] = {(unsigned char)v, (unsigned char)(v >> 8)}; fwrite(b, 1, 2, fOut); };
        fwrite("RIFF", 1, 4, fOut); tPut32(36 + tFrames * 2); fwrite("WAVEfmt ", 1, 8, fOut);
        tPut32(16); tPut16(1); tPut16(1); tPut32(tRate); tPut32(tRate * 2); tPut16(2); tPut16(16);
        fwrite("data", 1, 4, fOut); tPut32(tFrames * 2);
        for(int32_t i = 0; i < tFrames; i++) tPut16((uint16_t)(int16_t)(8000.0 * sin(i * 440.0 * 2.0 * M_PI / tRate)));
        return fclose(fOut) == 0;
    }

    // Sets an environment variable for its lifetime and then puts back what was there.
    class ScopedEnv
    {
    public:
        ScopedEnv(const char *pName, const char *pValue) : mName(pName)
        {
            const char *rOld = getenv(pName);
            mHadOld = rOld != nullptr;
            if(rOld) mOld = rOld;
            setenv(pName, pValue, 1);
        }
        ~ScopedEnv()
        {
            if(mHadOld) setenv(mName.c_str(), mOld.c_str(), 1);
            else unsetenv(mName.c_str());
        }

    private:
        std::string mName;
        std::string mOld;
        bool mHadOld = false;
    };

    // A scratch HOME holding the null-output .asoundrc, with only OpenAL's ALSA back end and no
    // PulseAudio server to reach, for its lifetime.
    class NullAlsaHome
    {
    public:
        NullAlsaHome() : mDir("alsa")
        {
            if(!mDir.WriteText(".asoundrc", "pcm.!default { type null }\n")) return;
            mReady = true;
            mHome = new ScopedEnv("HOME", mDir.Path().c_str());
            mDrivers = new ScopedEnv("ALSOFT_DRIVERS", "alsa");
            mServer = new ScopedEnv("PULSE_SERVER", "unix:/nonexistent/corvel-no-server");
        }
        ~NullAlsaHome()
        {
            delete mServer;
            delete mDrivers;
            delete mHome;
        }
        bool IsReady() const { return mReady; }

    private:
        ScratchFolder mDir;
        bool mReady = false;
        ScopedEnv *mHome = nullptr;
        ScopedEnv *mDrivers = nullptr;
        ScopedEnv *mServer = nullptr;
    };
}

TEST(AllegroAudioLayerTest, NullOutputPlaysFadesAndLoopsThroughTheRealLayer)
{
    StartAudioSettings tSettings;
    ASSERT_TRUE(al_init());
    NullAlsaHome tHome;
    ASSERT_TRUE(tHome.IsReady());

    ScratchFolder tDir("audio");
    ASSERT_TRUE(tDir.IsMade());
    std::string tShort = tDir.File("short.wav");
    std::string tTheme = tDir.File("theme.wav");
    ASSERT_TRUE(WriteToneWav(tShort.c_str(), 0.3));
    ASSERT_TRUE(WriteToneWav(tTheme.c_str(), 1.0));

    testing::internal::CaptureStderr();
    AudioManager *nManager = new AudioManager();
    std::string tBoot = CapturedStderr();
    GetApplication()->mAudioManager = nManager;
    AllegroAudioLayer *rLayer = (AllegroAudioLayer *)nManager->GetLayer();

    AudioPackage *nLooped = new AudioPackage(rLayer);
    nLooped->LoadStream(tTheme.c_str());
    nManager->AddMusic("Looped", nLooped);
    nLooped->ActivateLoop(0.2f, 0.6f);
    AudioPackage *nOnce = new AudioPackage(rLayer);
    nOnce->LoadStream(tTheme.c_str());
    nManager->AddMusic("Once", nOnce);
    AudioPackage *nBlip = new AudioPackage(rLayer);
    nBlip->LoadSample(tShort.c_str());
    nManager->AddSound("Blip", nBlip);

    // The device must start: audio off here would mean the null output was not reached.
    ASSERT_EQ(0, xBlockAllAudio) << tBoot;
    EXPECT_EQ(std::string::npos, tBoot.find("Error booting sound system")) << tBoot;
    ASSERT_NE(0u, nLooped->GetHandle());
    ASSERT_NE(0u, nOnce->GetHandle());
    ASSERT_NE(0u, nBlip->GetHandle());

    // Five playbacks at once, and a sixth takes over the oldest.
    for(int i = 0; i < 6; i++) nManager->PlaySound("Blip");
    EXPECT_NE(0u, rLayer->SampleGetChannel(nBlip->GetHandle()));

    nManager->PlayMusic("Once");
    // A position callback of its own on the plain track: it fires once, as the play passes it.
    std::atomic<int> tPassed(0);
    ASSERT_TRUE(rLayer->ChannelSetSync(nOnce->GetHandle(), rLayer->ChannelSeconds2Bytes(nOnce->GetHandle(), 0.3),
                                       [](uint32_t, void *pUser) { (*(std::atomic<int> *)pUser)++; }, &tPassed));
    nManager->PlayMusic("Looped");
    EXPECT_TRUE(rLayer->IsChannelPlaying(nLooped->GetHandle()));
    EXPECT_FLOAT_EQ(0.5f, rLayer->GetChannelVolume(nLooped->GetHandle()));
    // The outgoing track slides down over two real seconds.
    al_rest(0.5);
    float tMidFade = rLayer->GetChannelVolume(nOnce->GetHandle());
    EXPECT_GT(tMidFade, 0.05f);
    EXPECT_LT(tMidFade, 0.5f);

    // Past its one-second end the unlooped track stops; the looped one plays on. The null
    // output runs in real time, so on a loaded machine the end may come a little late.
    double tDeadline = al_get_time() + 4.0;
    while(rLayer->IsChannelPlaying(nOnce->GetHandle()) && al_get_time() < tDeadline) al_rest(0.05);
    EXPECT_FALSE(rLayer->IsChannelPlaying(nOnce->GetHandle()));
    EXPECT_EQ(1, tPassed.load());
    EXPECT_TRUE(rLayer->IsChannelPlaying(nLooped->GetHandle()));

    nManager->FadeOutMusic(6);
    tDeadline = al_get_time() + 2.0;
    while(rLayer->GetChannelVolume(nLooped->GetHandle()) > 0.0f && al_get_time() < tDeadline) al_rest(0.02);
    EXPECT_FLOAT_EQ(0.0f, rLayer->GetChannelVolume(nLooped->GetHandle()));
    EXPECT_TRUE(rLayer->IsChannelPlaying(nLooped->GetHandle()));
    nManager->ChangeMusicVolume(0.0f);
    EXPECT_FLOAT_EQ(0.5f, rLayer->GetChannelVolume(nLooped->GetHandle()));

    nManager->StopMusic();
    EXPECT_FALSE(rLayer->IsChannelPlaying(nLooped->GetHandle()));

    GetApplication()->mAudioManager = nullptr;
    delete nManager;
    xBlockAllAudio = 0;
}

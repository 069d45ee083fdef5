#pragma once

#include <cstdint>

#include "world/RootExecutor.h"

// The executors that transitions and GUI buttons carry. String setters store their own copy;
// the destructors free them.

// Clears every control's states, loads the named map and enters the in-game gear. The gear is
// entered even when the map fails to load, so the game never stays on a black screen.
class TransExec_AnyToMap : public RootExecutor
{
public:
    TransExec_AnyToMap();
    ~TransExec_AnyToMap() override;

    void Execute() override;

    void SetLevelName(const char *pName);
    const char *GetLevelName() const { return mLevelName; }

private:
    char *mLevelName;

    TransExec_AnyToMap(const TransExec_AnyToMap &) = delete;
    TransExec_AnyToMap &operator=(const TransExec_AnyToMap &) = delete;
};

// Starts a transition that carries another executor. The inner executor is borrowed: neither
// this object nor the transition manager deletes it.
class TransExec_CauseTransition : public RootExecutor
{
public:
    TransExec_CauseTransition();
    ~TransExec_CauseTransition() override;

    void Execute() override;

    void SetExecutor(RootExecutor *pExecutor) { rExecutor = pExecutor; }
    RootExecutor *GetExecutor() const { return rExecutor; }
    void SetFadeSpeeds(float pFadeOut, float pFadeIn);

private:
    RootExecutor *rExecutor;
    float mFadeOutSpeed;
    float mFadeInSpeed;
};

class AudioExec_PlaySound : public RootExecutor
{
public:
    AudioExec_PlaySound();
    ~AudioExec_PlaySound() override;

    void Execute() override;

    void SetSoundName(const char *pName);
    const char *GetSoundName() const { return mSoundName; }

private:
    char *mSoundName;

    AudioExec_PlaySound(const AudioExec_PlaySound &) = delete;
    AudioExec_PlaySound &operator=(const AudioExec_PlaySound &) = delete;
};

// A fade length of 0 stops all music at once; otherwise the current track fades out over
// that many ticks.
class AudioExec_StopMusic : public RootExecutor
{
public:
    AudioExec_StopMusic();
    ~AudioExec_StopMusic() override;

    void Execute() override;

    void SetFadeFrames(int32_t pFrames) { mFadeFrames = pFrames; }
    int32_t GetFadeFrames() const { return mFadeFrames; }

private:
    int32_t mFadeFrames;
};

// Shows or hides the GUI object of that name; an unknown name changes nothing.
class GUIExec_ShowHideObject : public RootExecutor
{
public:
    GUIExec_ShowHideObject();
    ~GUIExec_ShowHideObject() override;

    void Execute() override;

    void SetObjectName(const char *pName);
    const char *GetObjectName() const { return mObjectName; }
    void SetShow(uint8_t pFlag) { mShow = pFlag; }
    uint8_t GetShow() const { return mShow; }

private:
    char *mObjectName;
    uint8_t mShow;

    GUIExec_ShowHideObject(const GUIExec_ShowHideObject &) = delete;
    GUIExec_ShowHideObject &operator=(const GUIExec_ShowHideObject &) = delete;
};

#pragma once
#include <cstdint>

#include "interface/GUIBaseObject.h"

class Bitmap;

#define TITLE_FRAME_COUNT 86
#define THANKS_PORTRAIT_FRAMES 6
#define THANKS_SCREEN_FRAMES 4

// Title frame shown after a number of ticks: frame 1 for two seconds, then one frame per 4
// ticks up to the last, which holds. Frame 0 is never shown.
int32_t TitleFrameIndex(int32_t pTicks);
// Frames of the thanks page's two small loops, every 8 ticks.
int32_t ThanksScreenFrame(int32_t pTicks);
int32_t ThanksPortraitFrame(int32_t pTicks);

// The title (an 86-frame animation that plays once and holds) and the thanks page shown after
// the game is finished (a picture with two small loops, faded in from black). It takes every
// event while visible; "Pause" leaves the thanks page for the title and the title for the
// level select.
class GUISTitleScreen : public GUIBaseObject
{
public:
    GUISTitleScreen();

    void LoadImages();
    void SetThanksMode(uint8_t pFlag);
    uint8_t IsThanksMode() const { return mThanksMode; }
    void Restart();
    int32_t GetTitleTicks() const { return mTitleTicks; }
    int32_t GetThanksTicks() const { return mThanksTicks; }

    bool HandleEvent(int32_t pCode, int32_t pX, int32_t pY) override;
    void Render() override;
    void ReleaseLibraryObject(void *pObject) override;

private:
    uint8_t mThanksMode;
    int32_t mTitleTicks;
    Bitmap *rTitleFrames[TITLE_FRAME_COUNT];
    int32_t mThanksTicks;
    Bitmap *rThanksImage;
    Bitmap *rPortraitFrames[THANKS_PORTRAIT_FRAMES];
    Bitmap *rScreenFrames[THANKS_SCREEN_FRAMES];
};

// The name the GUI files the title screen under, and the screen found by it.
#define TITLE_SCREEN_NAME "TitleScreen"
GUISTitleScreen *GetTitleScreen();

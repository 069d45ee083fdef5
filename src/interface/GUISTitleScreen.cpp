#include "interface/GUISTitleScreen.h"

#include <GL/gl.h>
#include <cstdio>

#include "actors/PlayerPony.h"
#include "core/ControlManager.h"
#include "core/Gears.h"
#include "core/data/DataLibrary.h"
#include "core/render/Bitmap.h"
#include "core/render/Drawing.h"
#include "core/render/GLState.h"
#include "interface/GUI.h"

static Bitmap *FindBitmap(const char *pPath)
{
    DataLibrary *rLibrary = DataLibrary::Fetch();
    return rLibrary ? static_cast<Bitmap *>(rLibrary->GetEntryOfKind(pPath, DL_KIND_BITMAP)) : nullptr;
}

// Counters stop at their top instead of wrapping negative, so the frame maths stays valid.
static void CountTick(int32_t &sTicks)
{
    if(sTicks < INT32_MAX) sTicks++;
}

int32_t TitleFrameIndex(int32_t pTicks)
{
    if(pTicks < 120) return 1;
    int32_t tFrame = (pTicks - 116) / 4;
    return tFrame > TITLE_FRAME_COUNT - 1 ? TITLE_FRAME_COUNT - 1 : tFrame;
}

int32_t ThanksScreenFrame(int32_t pTicks)
{
    return (pTicks % 32) / 8;
}

int32_t ThanksPortraitFrame(int32_t pTicks)
{
    return (pTicks % 48) / 8;
}

GUISTitleScreen::GUISTitleScreen()
{
    mThanksMode = 0;
    mTitleTicks = 0;
    mThanksTicks = 0;
    for(int32_t i = 0; i < TITLE_FRAME_COUNT; i++) rTitleFrames[i] = nullptr;
    rThanksImage = nullptr;
    for(int32_t i = 0; i < THANKS_PORTRAIT_FRAMES; i++) rPortraitFrames[i] = nullptr;
    for(int32_t i = 0; i < THANKS_SCREEN_FRAMES; i++) rScreenFrames[i] = nullptr;
}

void GUISTitleScreen::ReleaseLibraryObject(void *pObject)
{
    DropLibraryObject(rTitleFrames, TITLE_FRAME_COUNT, pObject);
    DropLibraryObject(rThanksImage, pObject);
    DropLibraryObject(rPortraitFrames, THANKS_PORTRAIT_FRAMES, pObject);
    DropLibraryObject(rScreenFrames, THANKS_SCREEN_FRAMES, pObject);
}

void GUISTitleScreen::LoadImages()
{
    char tName[64];
    for(int32_t i = 0; i < TITLE_FRAME_COUNT; i++)
    {
        snprintf(tName, sizeof(tName), "Root/Images/GUI/TitleScreen/TitleScreen%03i", i);
        rTitleFrames[i] = HoldLibraryObject(FindBitmap(tName));
    }
    rThanksImage = HoldLibraryObject(FindBitmap("Root/Images/GUI/ThanksForPlaying/ThanksForPlaying"));
    for(int32_t i = 0; i < THANKS_PORTRAIT_FRAMES; i++)
    {
        snprintf(tName, sizeof(tName), "Root/Images/GUI/ThanksForPlaying/Portrait%i", i);
        rPortraitFrames[i] = HoldLibraryObject(FindBitmap(tName));
    }
    // The screen loop plays 0, 1, 2, 1.
    const int32_t cScreenOrder[THANKS_SCREEN_FRAMES] = {0, 1, 2, 1};
    for(int32_t i = 0; i < THANKS_SCREEN_FRAMES; i++)
    {
        snprintf(tName, sizeof(tName), "Root/Images/GUI/ThanksForPlaying/Screen%i", cScreenOrder[i]);
        rScreenFrames[i] = HoldLibraryObject(FindBitmap(tName));
    }
}

void GUISTitleScreen::SetThanksMode(uint8_t pFlag)
{
    mThanksMode = pFlag;
    mTitleTicks = 0;
    mThanksTicks = 0;
}

void GUISTitleScreen::Restart()
{
    SetVisible(true);
    mTitleTicks = 0;
    mThanksTicks = 0;
}

bool GUISTitleScreen::HandleEvent(int32_t pCode, int32_t pX, int32_t pY)
{
    (void)pX;
    (void)pY;
    PlayerPony *rPlayer = PlayerPony::Get();
    if(rPlayer) rPlayer->SetRespawnPosition(-1.0f, -1.0f);
    if(pCode != -1) return true;

    if(!mThanksMode) CountTick(mTitleTicks);
    CountTick(mThanksTicks);

    GUI *rGUI = GetGUI();
    if(ControlManager::IsPressed("Pause") && !(rGUI && rGUI->IsConsoleShown()))
    {
        if(mThanksMode)
        {
            mThanksMode = 0;
            mTitleTicks = 0;
        }
        else
        {
            ActivateLevelSelectGear();
        }
    }
    return true;
}

void GUISTitleScreen::Render()
{
    if(!mThanksMode)
    {
        Bitmap *rFrame = rTitleFrames[TitleFrameIndex(mTitleTicks)];
        if(rFrame) rFrame->DrawAt(0, 0);
    }
    else
    {
        if(rThanksImage) rThanksImage->DrawAt(0, 0);
        Bitmap *rScreen = rScreenFrames[ThanksScreenFrame(mThanksTicks)];
        if(rScreen) rScreen->DrawAt(275, 150);
        Bitmap *rPortrait = rPortraitFrames[ThanksPortraitFrame(mThanksTicks)];
        if(rPortrait) rPortrait->DrawAt(150, 100);
        ColorRGBA tBlack;
        tBlack.Set(0.0f, 0.0f, 0.0f, 1.0f - (float)mThanksTicks / 60.0f);
        if(tBlack.a > 0.0f) ShadeView(tBlack);
    }
    DrawChildren();
}

GUISTitleScreen *GetTitleScreen()
{
    GUI *rGUI = GetGUI();
    return rGUI ? dynamic_cast<GUISTitleScreen *>(rGUI->FindObject(TITLE_SCREEN_NAME)) : nullptr;
}

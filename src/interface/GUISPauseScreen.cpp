#include "interface/GUISPauseScreen.h"

#include <GL/gl.h>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "actors/PlayerPony.h"
#include "core/Application.h"
#include "core/ControlManager.h"
#include "core/Gears.h"
#include "core/data/DataLibrary.h"
#include "core/render/Bitmap.h"
#include "core/render/Drawing.h"
#include "core/render/Font.h"
#include "core/render/GLState.h"
#include "interface/AudioManager.h"
#include "interface/GUI.h"
#include "interface/GUISHealthBars.h"

static const char *cImageNames[PAUSE_IMAGE_COUNT] =
{
    "PauseContinue", "PauseRestart", "PauseQuit", "Pause Base", "Password Base", "Keybindings Base",
    "EscapeA", "EscapeB", "EscapeC", "Push L", "Push R", "HealthBar", "Health Point", "IsSelectedBuster",
    "IsSelectedOther", "Password Arrow", "Reticule", "SoundBarA", "SoundBarB", "Subtank", "TextBox",
};

static const char *cWeaponImageNames[PAUSE_WEAPON_COUNT] =
{
    "Lightning Bit", "Nightmare Cutter", "Prism Gale", "Chaos Gun", "Sonic Blaster", "Permafrost Cannon",
    "Rock Wrecker", "Caustic Spray",
};

// Ticks of the screen's own fade, and how far it must have come before "Pause" acts.
static const float cFadeLength = 30.0f;
static const int32_t cPauseReadyCounter = 12;
static const int32_t cSlideTicks = 30;
static const float cQuarterTurn = 3.14159256f / 2.0f;

static Bitmap *FindBitmap(const char *pFolder, const char *pName)
{
    DataLibrary *rLibrary = DataLibrary::Fetch();
    if(!rLibrary) return nullptr;
    char tPath[256];
    int tLength = snprintf(tPath, sizeof(tPath), "%s%s", pFolder, pName);
    if(tLength < 0 || tLength >= (int)sizeof(tPath)) return nullptr;
    return static_cast<Bitmap *>(rLibrary->GetEntryOfKind(tPath, DL_KIND_BITMAP));
}

static void SetKestraBarVisible(bool pFlag)
{
    GUISKestraHealthBar *rBar = GetKestraHealthBar();
    if(rBar) rBar->SetVisible(pFlag);
}

GUISPauseScreen::GUISPauseScreen()
{
    SetName("GUISPauseScreen");
    mKeepOpen = 1;
    mPage = PAUSE_PAGE_ESCAPE;
    mFadeCounter = 0;
    mFadeStep = 1;
    mTargetPage = 0;
    mSlideCounter = 0;
    mSlideStep = 0;
    mPushLHeld = 0;
    mPushRHeld = 0;
    mEscapeCursor = 0;
    for(int32_t i = 0; i < PAUSE_IMAGE_COUNT; i++) rImages[i] = nullptr;
    mWeaponRecordsReady = 0;
    rKBCap = nullptr;
    for(int32_t i = 0; i < PAUSE_WEAPON_COUNT; i++)
    {
        rWeaponImages[i] = nullptr;
        memset(&mWeaponRecords[i], 0, sizeof(StatusWeaponRecord));
    }
    mMenuFont = nullptr;
    mMenuFontTried = 0;
    rPasswordNumbers = nullptr;
    mNeedsRefresh = 1;
    memset(mReticuleRects, 0, sizeof(mReticuleRects));
    mInputDelay = 0;
    mWaitBegan = 0;
    mDrainTank = -1;
    mDrainTicks = 0;
}

GUISPauseScreen::~GUISPauseScreen()
{
    for(int32_t i = 0; i < PAUSE_WEAPON_COUNT; i++) free(mWeaponRecords[i].mCaption);
    delete mMenuFont;
}

void GUISPauseScreen::LoadImages()
{
    for(int32_t i = 0; i < PAUSE_IMAGE_COUNT; i++)
        rImages[i] = HoldLibraryObject(FindBitmap("Root/Images/GUI/PauseMenu/", cImageNames[i]));
    rPasswordNumbers = HoldLibraryObject(FindBitmap("Root/Images/GUI/PauseMenu/", "Password Numbers"));
    rKBCap = HoldLibraryObject(FindBitmap("Root/Images/GUI/PauseMenu/", "KBCap"));
    for(int32_t i = 0; i < PAUSE_WEAPON_COUNT; i++)
        rWeaponImages[i] = HoldLibraryObject(FindBitmap("Root/Images/GUI/HealthBar/", cWeaponImageNames[i]));
}

void GUISPauseScreen::ReleaseLibraryObject(void *pObject)
{
    DropLibraryObject(rImages, PAUSE_IMAGE_COUNT, pObject);
    DropLibraryObject(rPasswordNumbers, pObject);
    DropLibraryObject(rKBCap, pObject);
    DropLibraryObject(rWeaponImages, PAUSE_WEAPON_COUNT, pObject);
    for(int32_t i = 0; i < PAUSE_WEAPON_COUNT; i++) DropLibraryObject(mWeaponRecords[i].rImage, pObject);
}

// The image font needs a GL context for its picture, so it is read on the first draw.
void GUISPauseScreen::LoadMenuFont()
{
    if(mMenuFontTried) return;
    mMenuFontTried = 1;
    FILE *fCheck = fopen("Data/Graphics/Text/MenuAlphabet.png", "rb");
    if(!fCheck) return;
    fclose(fCheck);
    mMenuFont = new Font("Data/Graphics/Text/MenuAlphabet.png");
}

void GUISPauseScreen::SetPage(int32_t pPage)
{
    mPage = pPage;
    mNeedsRefresh = 1;
    mSlideStep = 0;
    mSlideCounter = 0;
}

const ReticuleRect &GUISPauseScreen::GetReticuleRect(int32_t pIndex) const
{
    if(pIndex < 0 || pIndex >= PAUSE_NODE_COUNT) pIndex = 0;
    return mReticuleRects[pIndex];
}

void GUISPauseScreen::SetReticuleRect(int32_t pIndex, float pX1, float pY1, float pX2, float pY2)
{
    if(pIndex < 0 || pIndex >= PAUSE_NODE_COUNT) return;
    mReticuleRects[pIndex].mX1 = pX1;
    mReticuleRects[pIndex].mY1 = pY1;
    mReticuleRects[pIndex].mX2 = pX2;
    mReticuleRects[pIndex].mY2 = pY2;
}

const StatusWeaponRecord &GUISPauseScreen::GetWeaponRecord(int32_t pIndex) const
{
    if(pIndex < 0 || pIndex >= PAUSE_WEAPON_COUNT) pIndex = 0;
    return mWeaponRecords[pIndex];
}

void GUISPauseScreen::OnOpen()
{
    mPage = PAUSE_PAGE_ESCAPE;
    mFadeCounter = -15;
    mFadeStep = 1;
    mNeedsRefresh = 1;
    mVisible = 1;
    mSlideStep = 0;
    mSlideCounter = 0;
    mInputDelay = 0;
    GUI *rGUI = GetGUI();
    if(rGUI)
    {
        rGUI->AddFadeAnimation("GUISPauseFade", 1.0f, 0, this);
        ColorRGBA tClear;
        tClear.Set(0.0f, 0.0f, 0.0f, 0.0f);
        rGUI->StartFade(0, 15, 1, tClear);
    }
    AudioManager::PlaySoundIfBooted("MenuSelect");
}

void GUISPauseScreen::OnClose()
{
    mFadeCounter = 30;
    mFadeStep = -1;
    GUI *rGUI = GetGUI();
    if(rGUI)
    {
        GUIAnimation *rFade = rGUI->AddFadeAnimation("GUISPauseFade", 0.0f, 0, this);
        if(rFade) rFade->mHideWhenDone = 1;
        ColorRGBA tBlack;
        tBlack.Set(0.0f, 0.0f, 0.0f, 1.0f);
        rGUI->StartFade(44, 45, -1, tBlack);
    }
    SetKestraBarVisible(true);
}

bool GUISPauseScreen::HandleEvent(int32_t pCode, int32_t pX, int32_t pY)
{
    (void)pX;
    (void)pY;
    if(pCode != -1) return false;

    mFadeCounter += mFadeStep;
    mAlpha = (float)mFadeCounter / cFadeLength;
    if(mFadeCounter == 0) SetKestraBarVisible(false);

    PlayerPony *rPlayer = PlayerPony::Get();
    if(mDrainTank >= 0 && rPlayer && mDrainTank < rPlayer->GetSubtankCount())
    {
        RunDrain();
        return false;
    }

    if(mSlideStep != 0)
    {
        mSlideCounter += mSlideStep;
        if(mSlideCounter < 0 || mSlideCounter >= cSlideTicks)
        {
            mPage = mTargetPage;
            mSlideCounter = 0;
            mSlideStep = 0;
            mTargetPage = 0;
            mNeedsRefresh = 1;
        }
        return false;
    }

    // Keys belong to the top screen: typing into a console opened over this one, or the tick
    // in which the screen closed itself, moves nothing here.
    GUI *rGUI = GetGUI();
    if(!rGUI || !rGUI->IsTopScreen(this)) return false;
    if(mPage == PAUSE_PAGE_ESCAPE)
    {
        HandleEscapeInput();
        return false;
    }

    if(mPage == PAUSE_PAGE_STATUS) HandleStatusInput();
    else if(mPage == PAUSE_PAGE_OPTIONS) HandleOptionsInput();
    if(rGUI->IsTopScreen(this)) HandleSharedPageInput();
    return false;
}

void GUISPauseScreen::HandleEscapeInput()
{
    if(ControlManager::IsPressed("Up"))
    {
        if(mEscapeCursor > 0) mEscapeCursor--;
        AudioManager::PlaySoundIfBooted("MenuChange");
    }
    if(ControlManager::IsPressed("Down"))
    {
        if(mEscapeCursor < 2) mEscapeCursor++;
        AudioManager::PlaySoundIfBooted("MenuChange");
    }

    // The pages open from the escape menu by the same keys that switch between them.
    if(ControlManager::IsPressed("ShoulderL") && !ControlManager::IsHeld("ShoulderR"))
    {
        SetPage(PAUSE_PAGE_STATUS);
        AudioManager::PlaySoundIfBooted("MenuChange");
        return;
    }
    if(ControlManager::IsPressed("ShoulderR") && !ControlManager::IsHeld("ShoulderL"))
    {
        SetPage(PAUSE_PAGE_OPTIONS);
        AudioManager::PlaySoundIfBooted("MenuChange");
        return;
    }

    if(!ControlManager::IsPressed("Pause") || mFadeCounter <= cPauseReadyCounter) return;
    GUI *rGUI = GetGUI();
    if(mEscapeCursor == 0)
    {
        if(rGUI) rGUI->CloseScreen(this);
    }
    else if(mEscapeCursor == 1)
    {
        if(rGUI) rGUI->CloseScreen(this);
        ActivateLevelSelectGear();
    }
    else
    {
        GetApplication()->mQuitFlag = 1;
    }
    AudioManager::PlaySoundIfBooted("MenuSelect");
}

// A page switch slides the view: page 1 stands for the pair 2 and 0, page 3 for 4 and 2,
// page 5 for 0 and 4. Moving to the pair's second page counts up, to its first page down.
void GUISPauseScreen::StartSlide(int32_t pTarget, int32_t pStep)
{
    int32_t tFrom = mPage;
    mTargetPage = pTarget;
    mSlideStep = pStep;
    if(pStep > 0)
    {
        mPage = tFrom == 2 ? 1 : (tFrom == 4 ? 3 : 5);
        mSlideCounter = 0;
    }
    else
    {
        mPage = tFrom == 0 ? 1 : (tFrom == 2 ? 3 : 5);
        mSlideCounter = cSlideTicks;
    }
}

void GUISPauseScreen::HandleSharedPageInput()
{
    if(mInputDelay > 0)
    {
        mInputDelay--;
        return;
    }
    const char *cDirections[4] = {"Up", "Down", "Left", "Right"};
    const int32_t cMoves[4] = {NAV_UP, NAV_DOWN, NAV_LEFT, NAV_RIGHT};
    bool tMoved = false;
    for(int32_t i = 0; i < 4; i++)
    {
        if(!ControlManager::IsPressed(cDirections[i])) continue;
        MoveNavigation(cMoves[i]);
        tMoved = true;
    }
    if(tMoved) AudioManager::PlaySoundIfBooted("MenuChange");

    GUI *rGUI = GetGUI();
    if(ControlManager::IsPressed("Pause") && mFadeCounter > cPauseReadyCounter)
    {
        if(rGUI) rGUI->CloseScreen(this);
        AudioManager::PlaySoundIfBooted("MenuSelect");
        return;
    }

    bool tHeldL = ControlManager::IsHeld("ShoulderL");
    bool tHeldR = ControlManager::IsHeld("ShoulderR");
    int32_t tTarget = mPage;
    int32_t tStep = 0;
    mPushRHeld = tHeldR ? 1 : 0;
    if(tHeldR && ControlManager::IsPressed("ShoulderR") && !tHeldL)
    {
        tTarget = mPage - 2 < 0 ? 4 : mPage - 2;
        tStep = 1;
    }
    mPushLHeld = tHeldL ? 1 : 0;
    if(tHeldL && ControlManager::IsPressed("ShoulderL") && !tHeldR)
    {
        tTarget = mPage + 2 > 4 ? 0 : mPage + 2;
        tStep = -1;
    }
    if(tStep != 0)
    {
        mNeedsRefresh = 1;
        AudioManager::PlaySoundIfBooted("MenuChange");
        StartSlide(tTarget, tStep);
        return;
    }

    if(ControlManager::IsPressed("CloseGame") && mFadeCounter > cPauseReadyCounter && rGUI) rGUI->CloseScreen(this);
}

// One point of a sub-tank into the health every fourth tick, until the health is full or the
// tank is empty.
void GUISPauseScreen::RunDrain()
{
    PlayerPony *rPlayer = PlayerPony::Get();
    mDrainTicks++;
    if(mDrainTicks <= 3) return;
    mDrainTicks = 0;
    rPlayer->SetHealth(rPlayer->GetHealth() + 1);
    AudioManager::PlaySoundIfBooted("HealthRecover");
    float tFill = rPlayer->GetSubtankFill(mDrainTank) - 1.0f / 28.0f;
    if(tFill < 0.0f) tFill = 0.0f;
    rPlayer->DrainSubtank(mDrainTank, 1);
    if(rPlayer->GetHealth() >= rPlayer->GetMaxHealth() || tFill <= 0.0f)
    {
        mDrainTank = -1;
        rPlayer->NormaliseSubtanks();
    }
}

// ---------------------------------------------------------------------------------------------
// Drawing

void GUISPauseScreen::RenderPushImages()
{
    if(mPushLHeld && rImages[PAUSE_IMG_PUSH_L]) rImages[PAUSE_IMG_PUSH_L]->DrawAt(0, 0);
    if(mPushRHeld && rImages[PAUSE_IMG_PUSH_R]) rImages[PAUSE_IMG_PUSH_R]->DrawAt(0, 0);
}

// Four 8 by 8 corner pieces, each the texture square (0, 0)..(4/9, 4/9) mirrored towards the
// inside of the rectangle.
void GUISPauseScreen::RenderReticule(int32_t pNode)
{
    Bitmap *rReticule = rImages[PAUSE_IMG_RETICULE];
    if(!rReticule || pNode < 0 || pNode >= PAUSE_NODE_COUNT) return;
    const ReticuleRect &rRect = mReticuleRects[pNode];
    const float cT = 0.44444445f;
    rReticule->Bind();
    const float cCornerX[4] = {rRect.mX1, rRect.mX1, rRect.mX2, rRect.mX2};
    const float cCornerY[4] = {rRect.mY1, rRect.mY2, rRect.mY1, rRect.mY2};
    for(int32_t i = 0; i < 4; i++)
    {
        float tDX = (i < 2) ? 8.0f : -8.0f;
        float tDY = (i % 2 == 0) ? 8.0f : -8.0f;
        float tX = cCornerX[i], tY = cCornerY[i];
        DrawBoundTextureRect(tX, tY, tX + tDX, tY + tDY, 0.0f, 0.0f, cT, cT);
    }
}

void GUISPauseScreen::RenderPage(int32_t pPage)
{
    if(pPage == PAUSE_PAGE_STATUS)
    {
        RenderStatusPage();
    }
    else if(pPage == PAUSE_PAGE_OPTIONS)
    {
        RenderOptionsPage();
    }
    else if(pPage == PAUSE_PAGE_PASSWORD)
    {
        if(rImages[PAUSE_IMG_PASSWORD_BASE]) rImages[PAUSE_IMG_PASSWORD_BASE]->DrawAt(0, 0);
        RenderPushImages();
    }
}

void GUISPauseScreen::RenderSlide()
{
    const int32_t cFirst[3] = {2, 4, 0};
    const int32_t cSecond[3] = {0, 2, 4};
    int32_t tPair = (mPage - 1) / 2;
    if(tPair < 0 || tPair > 2) return;
    float tT = (float)mSlideCounter / (float)cSlideTicks;
    float tD = mSlideStep < 0 ? 1.0f - cosf(tT * cQuarterTurn) : sinf(tT * cQuarterTurn);
    float tW = (float)GetApplication()->mVirtualWidth;
    glPushMatrix();
    glTranslatef(-tW * tD, 0.0f, 0.0f);
    RenderPage(cFirst[tPair]);
    glTranslatef(tW, 0.0f, 0.0f);
    RenderPage(cSecond[tPair]);
    glPopMatrix();
}

void GUISPauseScreen::Render()
{
    if(mAlpha < 0.0f) return;
    LoadMenuFont();
    GLState::PushAll();
    glEnable(GL_TEXTURE_2D);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    if(mPage == PAUSE_PAGE_ESCAPE)
    {
        Bitmap *rEntry = rImages[PAUSE_IMG_CONTINUE + mEscapeCursor];
        if(rEntry) rEntry->DrawAt(0, 0);
    }
    else if(mPage % 2 == 0)
    {
        RenderPage(mPage);
    }
    else
    {
        RenderSlide();
    }

    ColorRGBA tShade;
    tShade.Set(0.0f, 0.0f, 0.0f, 1.0f - mAlpha);
    if(tShade.a > 0.0f) ShadeView(tShade);
    GLState::PopAll();
}

#include "world/RootSprite.h"

#include <GL/gl.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "core/DataList.h"
#include "core/Geometry.h"
#include "core/LuaManager.h"
#include "core/Utilities.h"
#include "core/data/DataLibrary.h"
#include "core/render/Bitmap.h"
#include "core/render/Drawing.h"
#include "core/render/CorvelAnimation.h"
#include "core/render/GLState.h"
#include "core/render/Palette.h"
#include "world/MapManager.h"

namespace
{
    const char *const cScrapPiece = "FUNCOVERRIDE_SCRAPPIECE";
    const char *const cPlayOnce = "FUNCOVERRIDE_PLAYONCE";
    const char *const cWater = "FUNCOVERRIDE_WATER";
    const float cScrapCentre = 30.0f;
    const int32_t cWaterOffsetY = -3;
    const float cWaterDepth = 13.0f;

    // Numbers a script stored in the sprite's data; a missing one, or a string, reads as 0 and
    // takes no additions, so the overrides never read a string as a float or write to nothing.
    float ReadNumber(RootSprite *pSprite, const char *pName)
    {
        float tValue = 0.0f;
        ReadDataNumber(pSprite->GetData(), pName, tValue);
        return tValue;
    }

    void AddToNumber(RootSprite *pSprite, const char *pName, float pAmount)
    {
        float *rValue = FindDataNumber(pSprite->GetData(), pName);
        if(rValue) *rValue += pAmount;
    }

    // A falling, blinking piece of scrap.
    void ScrapPieceUpdate(RootSprite *pSprite)
    {
        AddToNumber(pSprite, "iTimer", 1.0f);
        AddToNumber(pSprite, "fXPos", ReadNumber(pSprite, "fXSpeed"));
        AddToNumber(pSprite, "fYPos", ReadNumber(pSprite, "fYSpeed"));
        AddToNumber(pSprite, "fYSpeed", ReadNumber(pSprite, "fYAccel"));
        pSprite->SetPosition(ReadNumber(pSprite, "fXPos") - cScrapCentre, ReadNumber(pSprite, "fYPos") - cScrapCentre);
    }

    void ScrapPieceAnimate(RootSprite *pSprite)
    {
        const int32_t tTimer = TruncateCoordinate(ReadNumber(pSprite, "iTimer"));
        const int32_t tFrame = (tTimer % 4 < 2) ? SPRITE_FRAME_HIDDEN : TruncateCoordinate(ReadNumber(pSprite, "iFrame"));
        pSprite->SetAnimationProperties(0, tFrame, 0, 0);
    }

    void NoUpdate(RootSprite *)
    {
    }

    void PlayOnceAnimate(RootSprite *pSprite)
    {
        pSprite->SetAnimationProperties(0, SPRITE_FRAME_CLOCK, 0, 0);
    }

    // A water surface: its picture tiled over the pool, a few units above its top so the
    // waves show.
    void WaterAnimate(RootSprite *pSprite)
    {
        pSprite->UseOverRender(0, cWaterOffsetY, ReadNumber(pSprite, "fLeft"), ReadNumber(pSprite, "fTop"),
                               ReadNumber(pSprite, "fRight"), ReadNumber(pSprite, "fBottom") + cWaterDepth);
        pSprite->SetAnimationProperties(0, SPRITE_FRAME_CLOCK, 0, 0);
    }
}

RootSprite::RootSprite() : mHolder(this, ReleaseAnimation)
{
    mType = TYPE_ROOTSPRITE;
    mTicksAlive = 0;
    mLifetime = SPRITE_LIFETIME_ENDLESS;
    mOverOverlay = 1;
    rNativeUpdate = nullptr;
    mUpdateScript = nullptr;
    mHitbox = HitboxFromEdges(0.0f, 0.0f, 0.0f, 0.0f);
    mWidth = 0.0f;
    mHeight = 0.0f;
    mDrawZ = 0.0f;
    rNativeAnimate = nullptr;
    mAnimateScript = nullptr;
    mAnimationsTotal = 0;
    mAnimations = nullptr;
    mPalettePath = nullptr;
    mPaletteVariant = nullptr;
    mOverRenderPending = 0;
    mOverRenderOffsetX = 0;
    mOverRenderOffsetY = 0;
    memset(mOverRenderRect, 0, sizeof(mOverRenderRect));
    mMonoFlag = 0;
    mMonoScript = nullptr;
    mCurrentAnimation = -1;
    mCurrentFrame = SPRITE_FRAME_CLOCK;
    mPropertyA = 0;
    mPropertyB = 0;
    mFlip = 0;
    mRotation = 0;
}

RootSprite::~RootSprite()
{
    free(mMonoScript);
    free(mUpdateScript);
    free(mAnimateScript);
    free(mAnimations);
    free(mPalettePath);
    free(mPaletteVariant);
}

void RootSprite::ReleaseAnimation(void *pOwner, void *pObject)
{
    RootSprite *rSprite = static_cast<RootSprite *>(pOwner);
    for(int32_t i = 0; i < rSprite->mAnimationsTotal; i++)
    {
        if(rSprite->mAnimations[i] == pObject) rSprite->mAnimations[i] = nullptr;
    }
}

void RootSprite::GetPosition(float &sX, float &sY, float &sZ)
{
    sX = mHitbox.mOwnerX;
    sY = mHitbox.mOwnerY;
    sZ = mHitbox.mOwnerZ;
}

// --- Setup ----------------------------------------------------------------------------------

void RootSprite::SetPosition(float pX, float pY)
{
    mHitbox.mOwnerX = pX;
    mHitbox.mOwnerY = pY;
    mHitbox.mLft = pX - mWidth / 2.0f;
    mHitbox.mRgt = pX + mWidth / 2.0f;
    mHitbox.mTop = pY - mHeight / 2.0f;
    mHitbox.mBot = pY + mHeight / 2.0f;
}

void RootSprite::SetSize(float pW, float pH)
{
    mWidth = pW;
    mHeight = pH;
    SetPosition(mHitbox.mOwnerX, mHitbox.mOwnerY);
}

void RootSprite::SetLifetime(int32_t pTicks)
{
    if(pTicks != SPRITE_LIFETIME_FIRST_ANIMATION)
    {
        mLifetime = pTicks;
        return;
    }
    CorvelAnimation *rFirst = GetAnimation(0);
    if(rFirst) mLifetime = rFirst->GetTotalTicks();
}

void RootSprite::ClearRoutines()
{
    rNativeUpdate = nullptr;
    rNativeAnimate = nullptr;
}

void RootSprite::SetUpdatePath(const char *pPath)
{
    // Both routines go: an override's animate routine would otherwise hide the animate script
    // for the rest of the sprite's life.
    ClearRoutines();
    ResetString(&mUpdateScript, nullptr);
    if(!pPath) return;
    if(!strcmp(pPath, cScrapPiece))
    {
        rNativeUpdate = ScrapPieceUpdate;
        rNativeAnimate = ScrapPieceAnimate;
    }
    else if(!strcmp(pPath, cPlayOnce))
    {
        rNativeUpdate = NoUpdate;
        rNativeAnimate = PlayOnceAnimate;
    }
    else if(!strcmp(pPath, cWater))
    {
        rNativeUpdate = NoUpdate;
        rNativeAnimate = WaterAnimate;
    }
    else
    {
        ResetString(&mUpdateScript, pPath);
    }
}

void RootSprite::SetAnimatePath(const char *pPath)
{
    ResetString(&mAnimateScript, pPath);
}

void RootSprite::SetMonoScript(const char *pPath)
{
    ResetString(&mMonoScript, pPath);
    if(pPath) mMonoFlag = 1;
}

void RootSprite::SetAnimationsTotal(int32_t pCount)
{
    free(mAnimations);
    mAnimations = nullptr;
    mAnimationsTotal = 0;
    if(pCount <= 0) return;
    if(pCount > SPRITE_MAX_ANIMATIONS)
    {
        fprintf(stderr, "RootSprite %s: %i animations asked for, keeping %i.\n", mName ? mName : "", pCount, SPRITE_MAX_ANIMATIONS);
        pCount = SPRITE_MAX_ANIMATIONS;
    }
    mAnimations = (CorvelAnimation **)calloc((size_t)pCount, sizeof(CorvelAnimation *));
    if(!mAnimations)
    {
        fprintf(stderr, "RootSprite %s: could not allocate %i animations.\n", mName ? mName : "", pCount);
        return;
    }
    mAnimationsTotal = pCount;
}

void RootSprite::SetAnimation(int32_t pIndex, CorvelAnimation *pAnimation)
{
    if(pIndex < 0 || pIndex >= mAnimationsTotal) return;
    mAnimations[pIndex] = mHolder.Hold(pAnimation);
}

CorvelAnimation *RootSprite::GetAnimation(int32_t pIndex) const
{
    if(pIndex < 0 || pIndex >= mAnimationsTotal) return nullptr;
    return mAnimations[pIndex];
}

void RootSprite::SetAnimationProperties(int32_t pAnimation, int32_t pFrame, int32_t pA, int32_t pB)
{
    mCurrentAnimation = pAnimation;
    mCurrentFrame = pFrame;
    mPropertyA = pA;
    mPropertyB = pB;
}

void RootSprite::UseOverRender(int32_t pOffsetX, int32_t pOffsetY, float pX1, float pY1, float pX2, float pY2)
{
    mOverRenderPending = 1;
    mOverRenderOffsetX = pOffsetX;
    mOverRenderOffsetY = pOffsetY;
    mOverRenderRect[0] = pX1;
    mOverRenderRect[1] = pY1;
    mOverRenderRect[2] = pX2;
    mOverRenderRect[3] = pY2;
}

void RootSprite::SetPalettes(const char *pPath, const char *pVariant)
{
    ResetString(&mPalettePath, pPath);
    ResetString(&mPaletteVariant, pVariant);
}

void RootSprite::HugSurface()
{
    MapManager *rMap = MapManager::Fetch();
    ClipWorld tWorld = {};
    if(rMap) tWorld = rMap->GetClipWorld();
    HugSurfaceIn(tWorld);
}

void RootSprite::HugSurfaceIn(const ClipWorld &pWorld)
{
    int32_t tSteps = 0;
    while(tSteps < SPRITE_HUG_BUDGET && !IsClipped(pWorld, TruncateCoordinate(mHitbox.mOwnerX), TruncateCoordinate(mHitbox.mBot + 1.0f)))
    {
        SetPosition(mHitbox.mOwnerX, mHitbox.mOwnerY + 1.0f);
        tSteps++;
    }
    while(tSteps < SPRITE_HUG_BUDGET && IsClipped(pWorld, TruncateCoordinate(mHitbox.mOwnerX), TruncateCoordinate(mHitbox.mBot)))
    {
        SetPosition(mHitbox.mOwnerX, mHitbox.mOwnerY - 1.0f);
        tSteps++;
    }
}

void RootSprite::SpawnByScript(const char *pScript, const char *pName, float pX, float pY, float pNumber)
{
    LuaManager *rLua = LuaManager::Fetch();
    if(!rLua || !pScript || !pName) return;
    rLua->ExecuteLuaFile(pScript, 4, "S", pName, "N", (double)pX, "N", (double)pY, "N", (double)pNumber);
}

// --- Per tick -------------------------------------------------------------------------------

// Event -1 runs the script without arguments; others pass the event number.
void RootSprite::RunScript(const char *pPath, int32_t pEvent)
{
    if(pEvent < 0) RunScriptAsActive(this, pPath, SCRIPT_ARGS_NONE);
    else RunScriptAsActive(this, pPath, SCRIPT_ARGS_NUMBER, (double)pEvent);
}

void RootSprite::Update()
{
    // Other negative lifetimes count down for ever; the count rests at the floor instead of
    // wrapping round to a positive one.
    if(mLifetime != SPRITE_LIFETIME_ENDLESS && mLifetime != INT32_MIN)
    {
        mLifetime--;
        if(mLifetime == 0)
        {
            mDestruct = 1;
            return;
        }
    }
    mTicksAlive++;
    if(rNativeUpdate) rNativeUpdate(this);
    if(mMonoFlag) RunScript(mMonoScript, 1);
    else if(mUpdateScript) RunScript(mUpdateScript, -1);
}

// --- Drawing --------------------------------------------------------------------------------

Bitmap *RootSprite::ChooseFrame()
{
    mCurrentAnimation = -1;
    mCurrentFrame = SPRITE_FRAME_CLOCK;
    if(rNativeAnimate) rNativeAnimate(this);
    else if(mMonoFlag) RunScript(mMonoScript, 2);
    else if(mAnimateScript) RunScript(mAnimateScript, -1);

    CorvelAnimation *rAnimation = GetAnimation(mCurrentAnimation);
    if(!rAnimation) return nullptr;
    if(mCurrentFrame == SPRITE_FRAME_CLOCK) return rAnimation->GetFrameAtTick(mTicksAlive);
    if(mCurrentFrame == SPRITE_FRAME_HIDDEN) return nullptr;
    return rAnimation->GetFrame(mCurrentFrame);
}

void RootSprite::Render()
{
    Bitmap *rImage = ChooseFrame();
    if(!rImage) return;

    GLState::PushAll();
    bool tSwapped = false;
    DataLibrary *rLibrary = DataLibrary::Fetch();
    if(mPalettePath && mPaletteVariant && rLibrary)
    {
        Palette *rPalette = static_cast<Palette *>(rLibrary->GetEntryOfKind(mPalettePath, DL_KIND_PALETTE));
        if(rPalette)
        {
            rPalette->ApplySwap(mPaletteVariant);
            tSwapped = true;
        }
    }
    if(mOverRenderPending)
    {
        mOverRenderPending = 0;
        DrawOverRender(rImage);
    }
    else
    {
        DrawPicture(rImage);
    }
    if(tSwapped) EndPaletteSwap();
    GLState::PopAll();
}

void RootSprite::DrawPicture(Bitmap *pImage)
{
    glTranslatef(mHitbox.mLft, mHitbox.mTop, mDrawZ);
    pImage->Draw(0, 0, mFlip);
}

void RootSprite::DrawOverRender(Bitmap *pImage)
{
    const float tPictureW = (float)pImage->GetWidth();
    const float tPictureH = (float)pImage->GetHeight();
    if(tPictureW <= 0.0f || tPictureH <= 0.0f) return;
    glEnable(GL_TEXTURE_2D);
    pImage->Bind();
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    glTranslatef(mOverRenderRect[0], mOverRenderRect[1], 0.0f);
    const float tW = (float)TruncateCoordinate(mOverRenderRect[2] - mOverRenderRect[0]);
    const float tH = mOverRenderRect[3] - mOverRenderRect[1];
    const float tS0 = (float)mOverRenderOffsetX / tPictureW;
    const float tT0 = (float)mOverRenderOffsetY / tPictureH;
    const float tS1 = tS0 + tW / tPictureW;
    const float tT1 = tT0 + tH / tPictureH;
    float tLeft = 0.0f;
    float tRight = tW;
    if(mFlip & 1)
    {
        tLeft = tW;
        tRight = 0.0f;
    }
    // The texture's top row is t = 0, as everywhere in the engine.
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    DrawBoundTextureRect(tLeft, 0.0f, tRight, tH, tS0, tT0, tS1, tT1, mDrawZ);
}

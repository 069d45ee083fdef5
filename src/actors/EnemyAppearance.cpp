#include "actors/EnemyAppearance.h"

#include <GL/gl.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "actors/Enemy.h"
#include "core/Utilities.h"
#include "core/data/DataLibrary.h"
#include "core/render/Bitmap.h"
#include "core/render/CorvelAnimation.h"
#include "core/render/GLState.h"
#include "core/render/Palette.h"

EnemyAppearance::EnemyAppearance() : mHolder(this, ReleaseAnimation)
{
    mType = TYPE_ENEMYAPPEARANCE;
    rOwner = NULL;
    mFrameHeld = 0;
    mTick = 0;
    mAnimationsTotal = 0;
    mAnimationIndex = -1;
    mPreviousIndex = -1;
    mAnimations = NULL;
    mOffsetX = mOffsetY = 0.0f;
    mOwnerBox = Hitbox();
    mFacing = -1;
    mHorizontalFlip = 0;
    mPanicAnimation = -1;
    mDamageFlash = 0;
    mFlashCounter = 0;
    mPalettePath = NULL;
    mPaletteVariant = NULL;
    mOverlayCount = 0;
    mOverlays = NULL;
    mPuppetMode = 0;
    mPuppet = NULL;
}

EnemyAppearance::~EnemyAppearance()
{
    free(mAnimations);
    free(mPalettePath);
    free(mPaletteVariant);
    free(mOverlays);
}

void EnemyAppearance::ReleaseAnimation(void *pAppearance, void *pObject)
{
    EnemyAppearance *rAppearance = (EnemyAppearance *)pAppearance;
    for(int32_t i = 0; i < rAppearance->mAnimationsTotal; i++)
    {
        if(rAppearance->mAnimations[i] == pObject) rAppearance->mAnimations[i] = NULL;
    }
}

void EnemyAppearance::SetAnimationsTotal(int32_t pCount)
{
    free(mAnimations);
    mAnimations = NULL;
    mAnimationsTotal = 0;
    if(pCount < 1) return;
    if(pCount > APPEARANCE_MAX_ANIMATIONS)
    {
        fprintf(stderr, "EnemyAppearance::SetAnimationsTotal error, %i animations asked for, at most %i allowed.\n", pCount,
                APPEARANCE_MAX_ANIMATIONS);
        return;
    }
    mAnimations = (CorvelAnimation **)calloc((size_t)pCount, sizeof(CorvelAnimation *));
    mAnimationsTotal = pCount;
}

void EnemyAppearance::SetAnimation(int32_t pIndex, CorvelAnimation *pAnimation)
{
    if(!mAnimations || pIndex < 0 || pIndex >= mAnimationsTotal) return;
    mAnimations[pIndex] = pAnimation;
}

void EnemyAppearance::SetAnimationIndex(int32_t pIndex)
{
    if(pIndex == -1) return;
    if(pIndex < 0 || pIndex >= mAnimationsTotal)
    {
        fprintf(stderr, "EnemyAppearance::SetAnimationIndex warning, Animation index out of bounds, %i.\n", pIndex);
        return;
    }
    mPreviousIndex = mAnimationIndex;
    mAnimationIndex = pIndex;
    if(mPreviousIndex == -1) mPreviousIndex = pIndex;
}

void EnemyAppearance::SetFrame(int32_t pTick)
{
    mTick = pTick;
    mFrameHeld = 1;
}

void EnemyAppearance::SetFacing(int32_t pFacing)
{
    if(pFacing == -1) return;
    if(pFacing != mFacing) mHorizontalFlip = mHorizontalFlip ? 0 : 1;
    mFacing = pFacing;
}

void EnemyAppearance::SetPaletteData(const char *pPath, const char *pVariant)
{
    ResetString(&mPalettePath, pPath);
    ResetString(&mPaletteVariant, pVariant);
}

void EnemyAppearance::AllocateOverlays(int32_t pCount)
{
    if(pCount < 1) pCount = 0;
    if(pCount > APPEARANCE_MAX_OVERLAYS) pCount = APPEARANCE_MAX_OVERLAYS;
    free(mOverlays);
    mOverlays = pCount > 0 ? (AppearanceOverlay *)calloc((size_t)pCount, sizeof(AppearanceOverlay)) : NULL;
    mOverlayCount = pCount;
}

void EnemyAppearance::SetOverlay(int32_t pSlot, int32_t pAnimationIndex, int32_t pTick)
{
    if(pSlot < 0 || pSlot >= mOverlayCount) return;
    if(pAnimationIndex < 0 || pAnimationIndex >= mAnimationsTotal)
    {
        fprintf(stderr, "EnemyAppearance::SetOverlay - Warning, Animation index out of bounds, %i.\n", pAnimationIndex);
        return;
    }
    mOverlays[pSlot].mAnimationIndex = pAnimationIndex;
    mOverlays[pSlot].mTick = pTick;
}

const AppearanceOverlay *EnemyAppearance::GetOverlay(int32_t pSlot) const
{
    if(pSlot < 0 || pSlot >= mOverlayCount) return NULL;
    return &mOverlays[pSlot];
}

CorvelAnimation *EnemyAppearance::GetAnimation(int32_t pIndex) const
{
    if(!mAnimations || pIndex < 0 || pIndex >= mAnimationsTotal) return NULL;
    return mAnimations[pIndex];
}

int32_t EnemyAppearance::GetFrameIndex() const
{
    CorvelAnimation *rAnimation = GetAnimation(mAnimationIndex);
    if(!rAnimation) return 0;
    return rAnimation->GetFrameIndexAtTick(mTick);
}

void EnemyAppearance::GetAnimationSize(int32_t pIndex, int32_t &sWidth, int32_t &sHeight) const
{
    sWidth = 0;
    sHeight = 0;
    Bitmap *rFrame = FrameOf(pIndex, 0);
    if(!rFrame) return;
    sWidth = rFrame->GetTextureWidth();
    sHeight = rFrame->GetTextureHeight();
}

Bitmap *EnemyAppearance::FrameOf(int32_t pIndex, int32_t pTick) const
{
    CorvelAnimation *rAnimation = GetAnimation(pIndex);
    return rAnimation ? rAnimation->GetFrameAtTick(pTick) : NULL;
}

int32_t EnemyAppearance::TranslateStringDirectionFacing(const char *pText)
{
    if(pText && !strcmp(pText, "Left")) return 0;
    if(pText && !strcmp(pText, "Right")) return 1;
    fprintf(stderr, "EnemyAppearance::TranslateStringDirectionFacing: Failed, invalid direction given: %s\n", pText ? pText : "(null)");
    return -1;
}

// --- Puppet ---------------------------------------------------------------------------------

void EnemyAppearance::BootPuppet(const char *pType)
{
    mPuppetMode = 0;
    if(!pType) return;
    const char *rAtlas = NULL;
    if(!strcmp(pType, "Goblin"))
    {
        fprintf(stderr, "Using preset: Golbin\n");
        rAtlas = "Data/Graphics/Goblin/goblins.atlas";
    }
    else if(!strcmp(pType, "DragonTank"))
    {
        fprintf(stderr, "Using preset: Dragon Tank\n");
        rAtlas = "Data/Graphics/DragonTank/skeleton.atlas";
    }
    else
    {
        fprintf(stderr, "EnemyAppearance: Failed to boot puppet, no type %s\n", pType);
        return;
    }
    fprintf(stderr, "[CorvelPuppet] Error occurred reading %s\n", rAtlas);
}

int32_t EnemyAppearance::GetPuppetSlotCount() const
{
    return 0;
}

// Without a puppet the three puppet setters have nothing to act on.
void EnemyAppearance::SetPuppetAnimation(const char *)
{
}

void EnemyAppearance::SetPuppetAnimationTime(float)
{
}

void EnemyAppearance::SetSlotBlocksBuster(int32_t, uint8_t)
{
}

bool EnemyAppearance::GetSlotCenter(int32_t, float &, float &) const
{
    return false;
}

float EnemyAppearance::GetSlotRotation(int32_t) const
{
    return 0.0f;
}

// --- Per tick and drawing -------------------------------------------------------------------

void EnemyAppearance::Update(const Hitbox &pOwnerBox)
{
    mOwnerBox = pOwnerBox;
    if(mFrameHeld)
    {
        mFrameHeld = 0;
        return;
    }
    if(mAnimationIndex == mPreviousIndex)
    {
        mTick++;
    }
    else
    {
        mTick = 0;
        mPreviousIndex = mAnimationIndex;
    }
}

float EnemyAppearance::DepthOffset() const
{
    float tDepth = rOwner ? rOwner->GetDepth() : ROOTENTITY_NO_DEPTH;
    return tDepth == ROOTENTITY_NO_DEPTH ? -0.51f : tDepth;
}

void EnemyAppearance::DrawNormal(Bitmap *pFrame)
{
    glTranslatef(mOwnerBox.mOwnerX + mOffsetX, mOwnerBox.mOwnerY + mOffsetY, 0.0f);
    glEnable(GL_TEXTURE_2D);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    Palette *rPalette = NULL;
    DataLibrary *rLibrary = DataLibrary::Fetch();
    if(mPalettePath && mPaletteVariant && rLibrary) rPalette = (Palette *)rLibrary->GetEntryOfKind(mPalettePath, DL_KIND_PALETTE);
    if(rPalette) rPalette->ApplySwap(mPaletteVariant);
    pFrame->Draw(0, 0, mHorizontalFlip);
    for(int32_t i = 0; i < mOverlayCount; i++)
    {
        Bitmap *rOverlay = FrameOf(mOverlays[i].mAnimationIndex, mOverlays[i].mTick);
        if(rOverlay) rOverlay->Draw(0, 0, mHorizontalFlip);
    }
    if(rPalette) EndPaletteSwap();
}

// The frame and overlays mark the stencil; a white quad over their extent fills only the marks.
void EnemyAppearance::DrawFlash(Bitmap *pFrame)
{
    glTranslatef(mOwnerBox.mOwnerX + mOffsetX, mOwnerBox.mOwnerY + mOffsetY, 0.0f);
    glEnable(GL_TEXTURE_2D);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    glClearStencil(0);
    glEnable(GL_STENCIL_TEST);
    glClear(GL_STENCIL_BUFFER_BIT);
    glStencilFunc(GL_ALWAYS, 1, 1);
    glStencilOp(GL_ZERO, GL_ZERO, GL_REPLACE);
    int32_t tWidth = pFrame->GetTextureWidth();
    int32_t tHeight = pFrame->GetTextureHeight();
    pFrame->Draw(0, 0, mHorizontalFlip);
    for(int32_t i = 0; i < mOverlayCount; i++)
    {
        Bitmap *rOverlay = FrameOf(mOverlays[i].mAnimationIndex, mOverlays[i].mTick);
        if(!rOverlay) continue;
        rOverlay->Draw(0, 0, mHorizontalFlip);
        if(rOverlay->GetTextureWidth() > tWidth) tWidth = rOverlay->GetTextureWidth();
        if(rOverlay->GetTextureHeight() > tHeight) tHeight = rOverlay->GetTextureHeight();
    }
    glDisable(GL_TEXTURE_2D);
    glStencilFunc(GL_EQUAL, 1, 1);
    glStencilOp(GL_ZERO, GL_ZERO, GL_KEEP);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    glBegin(GL_QUADS);
    glVertex2f(0.0f, 0.0f);
    glVertex2f((float)tWidth, 0.0f);
    glVertex2f((float)tWidth, (float)tHeight);
    glVertex2f(0.0f, (float)tHeight);
    glEnd();
    glDisable(GL_STENCIL_TEST);
    glEnable(GL_TEXTURE_2D);
    mFlashCounter++;
    mDamageFlash = 0;
    if(mFlashCounter > 2) mFlashCounter = 0;
}

void EnemyAppearance::Render()
{
    if(mPuppetMode) return;
    Bitmap *rFrame = FrameOf(mAnimationIndex, mTick);
    if(!rFrame) return;
    GLState::PushAll();
    glTranslatef(0.0f, 0.0f, DepthOffset());
    if(mDamageFlash || mFlashCounter > 0) DrawFlash(rFrame);
    else DrawNormal(rFrame);
    GLState::PopAll();
}

void EnemyAppearance::RenderPanic()
{
    if(mPanicAnimation < 0) return;
    Bitmap *rFrame = FrameOf(mPanicAnimation, mTick);
    if(!rFrame) return;
    GLState::PushAll();
    glTranslatef(0.0f, 0.0f, DepthOffset());
    DrawNormal(rFrame);
    GLState::PopAll();
}

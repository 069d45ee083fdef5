#include "actors/EnemyAppearance.h"

#include <GL/gl.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "actors/Enemy.h"
#include "actors/EnemyHitbox.h"
#include "core/DebugPrint.h"
#include "core/Geometry.h"
#include "core/OptionsManager.h"
#include "core/Utilities.h"
#include "core/data/DataLibrary.h"
#include "core/render/Bitmap.h"
#include "core/render/CorvelAnimation.h"
#include "core/render/Drawing.h"
#include "core/render/GLState.h"
#include "core/render/Palette.h"
#include "skeleton/CorvelPuppet.h"
#include "world/Camera.h"
#include "world/CameraManager.h"
#include "world/RootEntity.h"

EnemyAppearance::EnemyAppearance() : mHolder(this, ReleaseAnimation)
{
    mType = TYPE_ENEMYAPPEARANCE;
    rOwner = nullptr;
    mFrameHeld = 0;
    mTick = 0;
    mAnimationsTotal = 0;
    mAnimationIndex = -1;
    mPreviousIndex = -1;
    mAnimations = nullptr;
    mOffsetX = mOffsetY = 0.0f;
    mOwnerBox = Hitbox();
    mFacing = -1;
    mHorizontalFlip = 0;
    mPanicAnimation = -1;
    mDamageFlash = 0;
    mFlashCounter = 0;
    mPalettePath = nullptr;
    mPaletteVariant = nullptr;
    mOverlayCount = 0;
    mOverlays = nullptr;
    mPuppetMode = 0;
    mPuppet = nullptr;
    mPuppetAnimPercent = 0.0f;
}

EnemyAppearance::~EnemyAppearance()
{
    free(mAnimations);
    free(mPalettePath);
    free(mPaletteVariant);
    free(mOverlays);
    delete mPuppet;
}

void EnemyAppearance::ReleaseAnimation(void *pAppearance, void *pObject)
{
    EnemyAppearance *rAppearance = (EnemyAppearance *)pAppearance;
    for(int32_t i = 0; i < rAppearance->mAnimationsTotal; i++)
    {
        if(rAppearance->mAnimations[i] == pObject) rAppearance->mAnimations[i] = nullptr;
    }
}

void EnemyAppearance::SetAnimationsTotal(int32_t pCount)
{
    free(mAnimations);
    mAnimations = nullptr;
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
    mAnimations[pIndex] = mHolder.Hold(pAnimation);
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
    // A script's tick is held to the world's limit, so the count has room to go on from it.
    if(pTick > GEOMETRY_COORDINATE_LIMIT) pTick = GEOMETRY_COORDINATE_LIMIT;
    if(pTick < -GEOMETRY_COORDINATE_LIMIT) pTick = -GEOMETRY_COORDINATE_LIMIT;
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
    mOverlays = pCount > 0 ? (AppearanceOverlay *)calloc((size_t)pCount, sizeof(AppearanceOverlay)) : nullptr;
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
    if(pSlot < 0 || pSlot >= mOverlayCount) return nullptr;
    return &mOverlays[pSlot];
}

CorvelAnimation *EnemyAppearance::GetAnimation(int32_t pIndex) const
{
    if(!mAnimations || pIndex < 0 || pIndex >= mAnimationsTotal) return nullptr;
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
    return rAnimation ? rAnimation->GetFrameAtTick(pTick) : nullptr;
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
    delete mPuppet;
    mPuppet = nullptr;
    mPuppetMode = 0;
    if(!pType) return;
    const char *rTexture, *rAtlas, *rSkeleton, *rSkin;
    uint8_t tArtFlipped;
    if(!strcmp(pType, "Goblin"))
    {
        fprintf(stderr, "Using preset: Golbin\n");
        rTexture = "Data/Graphics/Goblin/goblins.png";
        rAtlas = "Data/Graphics/Goblin/goblins.atlas";
        rSkeleton = "Data/Graphics/Goblin/goblins.json";
        rSkin = "goblin";
        tArtFlipped = 0;
    }
    else if(!strcmp(pType, "DragonTank"))
    {
        fprintf(stderr, "Using preset: Dragon Tank\n");
        rTexture = "Data/Graphics/DragonTank/skeleton.png";
        rAtlas = "Data/Graphics/DragonTank/skeleton.atlas";
        rSkeleton = "Data/Graphics/DragonTank/skeleton.json";
        rSkin = "skeleton.png";
        tArtFlipped = 1;
    }
    else
    {
        fprintf(stderr, "EnemyAppearance: Failed to boot puppet, no type %s\n", pType);
        return;
    }
    // A puppet whose files failed stays in place: it takes the per-tick settings and draws nothing.
    mPuppetMode = 1;
    mPuppet = new CorvelPuppet();
    mPuppet->Boot(rTexture, rAtlas, rSkeleton, rSkin);
    mPuppet->SetArtFlipped(tArtFlipped);
}

int32_t EnemyAppearance::GetPuppetSlotCount() const
{
    return mPuppet ? mPuppet->GetSlotCount() : 0;
}

int32_t EnemyAppearance::GetPuppetRenderCount() const
{
    return mPuppet ? mPuppet->GetRenderCount() : 0;
}

void EnemyAppearance::SetPuppetAnimation(const char *pName)
{
    if(mPuppet && pName) mPuppet->SetAnimation(pName);
}

void EnemyAppearance::SetPuppetAnimationTime(float pTime)
{
    if(!mPuppet) return;
    mPuppetAnimPercent = pTime;
    mPuppet->SetAnimationTime(pTime);
}

void EnemyAppearance::SetSlotBlocksBuster(int32_t pSlot, uint8_t pFlag)
{
    if(mPuppet) mPuppet->SetSlotBlocksBuster(pSlot, pFlag);
}

void EnemyAppearance::SetPuppetSkin(const char *pName)
{
    if(mPuppet && pName) mPuppet->SetSkin(pName);
}

bool EnemyAppearance::GetSlotCenter(int32_t pSlot, float &sX, float &sY) const
{
    if(!mPuppet) return false;
    mPuppet->GetSlotCenter(pSlot, &sX, &sY);
    return true;
}

float EnemyAppearance::GetSlotRotation(int32_t pSlot) const
{
    return mPuppet ? mPuppet->GetSlotBoneRotation(pSlot) : 0.0f;
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
        if(mTick < INT32_MAX) mTick++;
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
    Palette *rPalette = nullptr;
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
    glStencilFunc(GL_EQUAL, 1, 1);
    glStencilOp(GL_ZERO, GL_ZERO, GL_KEEP);
    DrawRectFilled(0.0f, 0.0f, (float)tWidth, (float)tHeight, ColorRGBA::FromFloats(1.0f, 1.0f, 1.0f));
    glDisable(GL_STENCIL_TEST);
    mFlashCounter++;
    mDamageFlash = 0;
    if(mFlashCounter > 2) mFlashCounter = 0;
}

static bool ShowHitboxes()
{
    OptionsManager *rOptions = OptionsManager::Get();
    return rOptions && rOptions->GetBool("ShowHitboxes");
}

void EnemyAppearance::DrawPuppet()
{
    GLState::PushAll();
    glTranslatef(mOwnerBox.mLft, mOwnerBox.mTop, 0.0f);
    const bool tShowHitboxes = ShowHitboxes();
    if(tShowHitboxes) RenderOutlineFromOrigin(mOwnerBox.mRgt - mOwnerBox.mLft, mOwnerBox.mBot - mOwnerBox.mTop);
    if(mPuppet)
    {
        if(mFacing == 0) glScalef(-1.0f, 1.0f, 1.0f);
        mPuppet->Render();
        if(mFacing == 0) glScalef(-1.0f, 1.0f, 1.0f);
        if(rOwner) rOwner->SetPuppetDrawn();
    }
    EnemyHitbox *rHitboxes = rOwner ? rOwner->GetEnemyHitbox() : nullptr;
    if(tShowHitboxes && mPuppet && rHitboxes)
    {
        glColor4f(1.0f, 0.0f, 0.0f, 1.0f);
        glDisable(GL_TEXTURE_2D);
        glDepthMask(GL_FALSE);
        glTranslatef(-mOwnerBox.mLft, -mOwnerBox.mTop, 0.0f);
        for(int32_t i = 0; i < rHitboxes->GetPuppetHitboxCount(); i++)
        {
            const EnemyPuppetPolygon *rPolygon = rHitboxes->GetPuppetHitboxes() + i;
            glBegin(GL_LINE_LOOP);
            for(int32_t v = 0; v < ENEMYHITBOX_POLYGON_VERTICES; v++) glVertex2f(rPolygon->mX[v], rPolygon->mY[v]);
            glEnd();
        }
        glEnable(GL_TEXTURE_2D);
        glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
        glDepthMask(GL_TRUE);
    }
    GLState::PopAll();
}

// The puppet marks the stencil as it draws; a white screen-sized quad then fills only the marks.
// The flash follows the flag the enemy sets each tick, so the frame-mode counter is not used.
void EnemyAppearance::RenderPuppetMode()
{
    Debug::PushPrint(0, "[Puppet Render] Begin\n");
    const bool tFlash = mDamageFlash || mFlashCounter > 0;
    if(tFlash)
    {
        glStencilMask(1);
        glColorMask(GL_FALSE, GL_FALSE, GL_FALSE, GL_FALSE);
        glDepthMask(GL_FALSE);
        glClearStencil(0);
        glEnable(GL_STENCIL_TEST);
        glClear(GL_STENCIL_BUFFER_BIT);
        glStencilFunc(GL_ALWAYS, 1, 255);
        glStencilOp(GL_ZERO, GL_ZERO, GL_REPLACE);
    }
    DrawPuppet();
    if(tFlash)
    {
        glStencilFunc(GL_EQUAL, 1, 255);
        glStencilOp(GL_ZERO, GL_ZERO, GL_KEEP);
        glStencilMask(0);
        glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
        glDepthMask(GL_TRUE);
        Camera *rCamera = CameraManager::ActiveCamera();
        if(rCamera) rCamera->RemoveTransform();
        DrawRectFilled(-480.0f, -360.0f, 480.0f, 360.0f, ColorRGBA::FromFloats(1.0f, 1.0f, 1.0f));
        if(rCamera) rCamera->ApplyTransform();
        glDisable(GL_STENCIL_TEST);
        // Left at 0 the write mask would stop every later stencil clear, the frame flash's too.
        glStencilMask(~0u);
    }
    Debug::PopPrint("[Puppet Render] Complete\n");
}

void EnemyAppearance::Render()
{
    if(mPuppetMode)
    {
        RenderPuppetMode();
        return;
    }
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

#include "actors/PlayerPony.h"

#include <GL/gl.h>
#include <cmath>

#include "actors/PlayerWeapon.h"
#include "core/OptionsManager.h"
#include "core/data/DataLibrary.h"
#include "core/render/Bitmap.h"
#include "core/render/CorvelAnimation.h"
#include "core/render/GLState.h"
#include "core/render/Palette.h"
#include "world/Camera.h"
#include "world/CameraManager.h"

namespace
{
    const int32_t cShootPoseTicks = 15;
    const int32_t cLadderShootPoseTicks = 11;
    const int32_t cLadderGrabTicks = 12;
    const int32_t cClimbCycle = 48;
    const int32_t cLandingPoseTicks = 4;
    const int32_t cBreathCycle = 150;
    const int32_t cTicksPerBreathFrame = 15;
    const int32_t cReadyBlinkCycle = 30;
    const int32_t cReadyShownTicks = 14;
    const int32_t cReadyLastTick = 89;
    const int32_t cBeamFirstTick = 85;
    const int32_t cBeamLastTick = 179;
    const int32_t cDeathEffectStart = 30;
    const int32_t cDeathEffectFrameTicks = 6;
    const float cFocusLift = 20.0f;
    const float cLeadRate = 0.03f;
    const float cLeadStepMax = 3.0f;

    // Frame 1 of the pose only once the shot is a few ticks old.
    int32_t StandShotFrame(int32_t pShotTimer)
    {
        return pShotTimer > 3 ? 1 : 0;
    }
}

// --- Animation choice -----------------------------------------------------------------------

void PlayerPony::ChooseGroundSlot(int32_t &sSlot, int32_t &sFrame)
{
    const bool tShooting = mShotTimer >= 0 && mShotTimer <= cShootPoseTicks;
    if(mStandingStill)
    {
        if(mGroundTimer >= 0 && mGroundTimer < cLandingPoseTicks)
        {
            sSlot = PLAYER_ANIM_AIR;
            sFrame = mGroundTimer < 2 ? 5 : 6;
        }
        else if(mIdleTimer >= 0 && mIdleTimer <= 2)
        {
            sSlot = PLAYER_ANIM_RUN_START;
            sFrame = 0;
        }
        else
        {
            sSlot = PLAYER_ANIM_IDLE;
            // A true quarter: with 18 max health, 4 still breathes hard.
            if(mHealth * 4 < mMaxHealth)
            {
                const int32_t tT = (mIdleTimer < 0 ? 0 : mIdleTimer) % cBreathCycle;
                sFrame = tT < cBreathCycle / 2 ? tT / cTicksPerBreathFrame : 4 - (tT - cBreathCycle / 2) / cTicksPerBreathFrame;
                if(sFrame < 0) sFrame = 0;
            }
            else if(mIdleTimer <= 269) sFrame = 5;
            else if(mIdleTimer >= 280 && mIdleTimer <= 289) sFrame = 7;
            else sFrame = 6;
        }
        if(tShooting)
        {
            sSlot = PLAYER_ANIM_STAND_SHOOT;
            sFrame = StandShotFrame(mShotTimer);
        }
        return;
    }

    if(mDashing)
    {
        sSlot = tShooting ? PLAYER_ANIM_DASH_SHOOT : PLAYER_ANIM_DASH;
        sFrame = mDashTimer > 4 ? 1 : 0;
    }
    else if(mRunStartTimer >= 0)
    {
        sSlot = PLAYER_ANIM_RUN_START;
        sFrame = 0;
    }
    else if(mDashEndTimer != -1)
    {
        sSlot = PLAYER_ANIM_DASH;
        sFrame = 0;
    }
    else
    {
        if(mGroundTimer == 0) mAnimTick = 4;
        sSlot = tShooting ? PLAYER_ANIM_RUN_SHOOT : PLAYER_ANIM_RUN;
        sFrame = -1;
    }
}

void PlayerPony::ChooseAirSlot(int32_t &sSlot, int32_t &sFrame)
{
    const bool tShooting = mShotTimer >= 0 && mShotTimer <= cShootPoseTicks;
    if(mWallSliding)
    {
        sSlot = tShooting ? PLAYER_ANIM_WALL_SLIDE_SHOOT : PLAYER_ANIM_WALL_SLIDE;
        sFrame = mWallSlideTimer < 6 ? 0 : (mWallSlideTimer < 12 ? 1 : 2);
    }
    else if(mWallKicking && mWallKickTimer >= 0 && mWallKickTimer < 6)
    {
        sSlot = tShooting ? PLAYER_ANIM_WALL_KICK_SHOOT : PLAYER_ANIM_WALL_KICK;
        sFrame = mWallKickTimer > 1 ? 1 : 0;
    }
    else if(mDashing)
    {
        sSlot = tShooting ? PLAYER_ANIM_DASH_SHOOT : PLAYER_ANIM_DASH;
        sFrame = mDashTimer > 4 ? 1 : 0;
    }
    else if(!mFalling)
    {
        sSlot = tShooting ? PLAYER_ANIM_AIR_SHOOT : PLAYER_ANIM_AIR;
        sFrame = mAirTimer < 3 ? 0 : (mAirTimer < 7 ? 1 : 2);
    }
    else
    {
        sSlot = tShooting ? PLAYER_ANIM_AIR_SHOOT : PLAYER_ANIM_AIR;
        sFrame = mAirTimer <= 2 ? 2 : (mAirTimer <= 6 ? 3 : 4);
    }
}

// Ladder, ground or air pose; injury over it, death over that. The shooting variants come
// from the pose choosers and so never show while injured or dying.
void PlayerPony::ChooseSlotAndFrame(int32_t &sSlot, int32_t &sFrame)
{
    mOnLadderDraw = 0;
    if(mOnLadder)
    {
        mOnLadderDraw = 1;
        if(mLadderTimer < cLadderGrabTicks)
        {
            sSlot = PLAYER_ANIM_LADDER_GRAB;
            sFrame = 0;
        }
        else if(mLadderTopPose >= 0)
        {
            sSlot = PLAYER_ANIM_LADDER_TOP;
            sFrame = mLadderTopPose;
        }
        else if(mShotTimer >= 0 && mShotTimer <= cLadderShootPoseTicks)
        {
            sSlot = PLAYER_ANIM_LADDER_SHOOT;
            sFrame = mShotTimer / 6 + (mFacingLeft ? 2 : 0);
        }
        else
        {
            sSlot = PLAYER_ANIM_CLIMB;
            sFrame = -1;
            mAnimTick = ((mLadderClimb % cClimbCycle) + cClimbCycle) % cClimbCycle;
        }
    }
    else if(mOnGround)
    {
        ChooseGroundSlot(sSlot, sFrame);
    }
    else
    {
        ChooseAirSlot(sSlot, sFrame);
    }

    if(mInjuryTimer != -1)
    {
        sSlot = PLAYER_ANIM_INJURED;
        sFrame = -1;
        mAnimTick = mInjuryTimer;
    }
    if(mDying)
    {
        sSlot = PLAYER_ANIM_DYING;
        sFrame = -1;
        mAnimTick = mDeathTimer;
    }
}

Bitmap *PlayerPony::ChooseAnimationFrame()
{
    if(mFrozen) return rCurrentAnim ? rCurrentAnim->GetFrame(mShownFrame) : nullptr;
    if(mTeleporting) return nullptr;

    int32_t tSlot = -1;
    int32_t tFrame = -1;
    if(mForcedSlot >= 0 && mForcedFrame >= 0 && mForcedSlot < PLAYER_ANIMATION_SLOTS)
    {
        tSlot = mForcedSlot;
        tFrame = mForcedFrame;
    }
    else
    {
        ChooseSlotAndFrame(tSlot, tFrame);
    }

    rPreviousAnim = rCurrentAnim;
    rCurrentAnim = (tSlot >= 0 && tSlot < PLAYER_ANIMATION_SLOTS) ? rAnimSlots[tSlot] : nullptr;
    if(!rCurrentAnim) return nullptr;
    if(tFrame >= 0)
    {
        mShownFrame = tFrame;
        return rCurrentAnim->GetFrame(tFrame);
    }
    mShownFrame = rCurrentAnim->GetFrameIndexAtTick(mAnimTick);
    return rCurrentAnim->GetFrameAtTick(mAnimTick);
}

// --- Drawing --------------------------------------------------------------------------------

void PlayerPony::Render()
{
    // Riding, she shows as the mech, which draws itself.
    if(rMech)
    {
        ChooseMechAnimation();
        return;
    }
    Camera *rCamera = CameraManager::ActiveCamera();
    if(!rCamera || !rCamera->IsRectVisible(mHitbox)) return;
    if(IsFlickerHidden()) return;

    GLState::PushAll();
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    if(mTeleporting && mTeleportTimer % cReadyBlinkCycle <= cReadyShownTicks && mTeleportTimer <= cReadyLastTick)
    {
        DataLibrary *rLibrary = DataLibrary::Fetch();
        Bitmap *rReady = rLibrary ? (Bitmap *)rLibrary->GetEntryOfKind("Root/Images/Kestra/Misc/Ready", DL_KIND_BITMAP) : nullptr;
        if(rReady)
        {
            rCamera->RemoveTransform();
            rReady->DrawAtOrigin();
            rCamera->ApplyTransform();
        }
    }

    glTranslatef(mHitbox.mLft, mHitbox.mTop, -0.5f);
    Bitmap *rFrame = ChooseAnimationFrame();
    float tXOffset = mDrawOffsetX;
    bool tFlip = mKickEffectTimer > 0 ? mKickFacing != 0 : mFacingLeft != 0;
    if(mOnLadderDraw) tFlip = false;
    if(tFlip) tXOffset += 4.0f;

    // Without a drawn frame the sparks keep the anchor of the last one.
    if(rFrame && !mDying)
    {
        PlayerWeapon *rWeapon = GetWeapon(mSelectedWeapon);
        if(rWeapon) rWeapon->ApplyPalette();
        rFrame->Draw((int32_t)tXOffset, (int32_t)mDrawOffsetY, tFlip ? 1 : 0);
        if(rWeapon) EndPaletteSwap();
        BitmapFrameRect tRect = rFrame->GetFrameRect(0);
        mSparkAnchorX = (int32_t)((float)tRect.mX1 + mDrawOffsetX - 5.0f);
        mSparkAnchorY = (int32_t)((float)tRect.mY1 + mDrawOffsetY - 20.0f);
        if(mOnLadderDraw) mSparkAnchorX += 6;
    }
    RenderChargeSparks(tFlip);
    RenderEffects(tXOffset);
    RenderHitbox();
    GLState::PopAll();
}

// The teleport beam and the death burst, drawn in the body's space.
void PlayerPony::RenderEffects(float pXOffset)
{
    CorvelAnimation *rBeam = rAnimSlots[PLAYER_ANIM_TELEPORT_BEAM];
    if(mTeleporting && rBeam && mTeleportTimer >= cBeamFirstTick && mTeleportTimer <= cBeamLastTick)
    {
        Bitmap *rFrame = rBeam->GetFrameAtTick(mTeleportTimer - (cBeamFirstTick - 1));
        if(rFrame) rFrame->Draw((int32_t)(pXOffset - 121.5f), (int32_t)(mDrawOffsetY - 498.0f), 0);
    }

    CorvelAnimation *rGround = rAnimSlots[PLAYER_ANIM_DEATH_GROUND];
    CorvelAnimation *rAir = rAnimSlots[PLAYER_ANIM_DEATH_AIR];
    if(!mDying || !rGround || !rAir) return;
    CorvelAnimation *rEffect = mOnGround ? rGround : rAir;
    const int32_t tFrames = mOnGround ? 16 : 14;
    const float tX = mOnGround ? pXOffset - 82.5f : pXOffset - 102.5f;
    const float tY = mOnGround ? mDrawOffsetY - 498.0f : mDrawOffsetY - 378.0f;
    Bitmap *rFrame = nullptr;
    if(mDeathTimer < cDeathEffectStart) rFrame = rEffect->GetFrame(0);
    else if(mDeathTimer < cDeathEffectStart + tFrames * cDeathEffectFrameTicks) rFrame = rEffect->GetFrameAtTick(mDeathTimer - cDeathEffectStart);
    if(rFrame) rFrame->Draw((int32_t)tX, (int32_t)tY, 0);
}

// Each edge green while its contact flag is set, red otherwise.
void PlayerPony::RenderHitbox()
{
    OptionsManager *rOptions = OptionsManager::Get();
    if(!rOptions || !rOptions->GetBool("ShowHitboxes")) return;
    const float tW = mHitbox.mRgt - mHitbox.mLft;
    const float tH = mHitbox.mBot - mHitbox.mTop;
    const float cEdges[4][4] = {{0.0f, 0.0f, tW, 0.0f}, {tW, 0.0f, tW, tH}, {tW, tH, 0.0f, tH}, {0.0f, tH, 0.0f, 0.0f}};
    const uint8_t cFlags[4] = {mCeiling, mWallReachRight, mOnGround, mWallReachLeft};
    glDisable(GL_TEXTURE_2D);
    glBegin(GL_LINES);
    for(int32_t i = 0; i < 4; i++)
    {
        if(cFlags[i]) glColor4f(0.0f, 1.0f, 0.0f, 1.0f);
        else glColor4f(1.0f, 0.0f, 0.0f, 1.0f);
        glVertex2f(cEdges[i][0], cEdges[i][1]);
        glVertex2f(cEdges[i][2], cEdges[i][3]);
    }
    glEnd();
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    glEnable(GL_TEXTURE_2D);
}

void PlayerPony::RenderStatusPortrait()
{
    CorvelAnimation *rIdle = rAnimSlots[PLAYER_ANIM_IDLE];
    Bitmap *rFrame = rIdle ? rIdle->GetFrame(5) : nullptr;
    if(!rFrame) return;
    PlayerWeapon *rWeapon = GetWeapon(mSelectedWeapon);
    if(rWeapon) rWeapon->ApplyPalette();
    rFrame->DrawAtOrigin();
    if(rWeapon) EndPaletteSwap();
}

// --- Camera focus ---------------------------------------------------------------------------

float PlayerPony::FocusAxis(int32_t pMode, float pFocus, float pCentre, float pA, float pB, float pVelocity, float &sOffset)
{
    if(pMode == 1)
    {
        if(pFocus > pCentre + pB) return pCentre + truncf(pFocus - (pCentre + pB));
        if(pFocus < pCentre + pA) return pCentre - truncf((pCentre + pA) - pFocus);
        return pCentre;
    }
    if(pMode == 2)
    {
        if(pVelocity > 0.0f) sOffset += 1.0f;
        else if(pVelocity < 0.0f) sOffset -= 1.0f;
    }
    else if(pMode == 3)
    {
        if(pVelocity > 0.0f) sOffset += fminf((pB - sOffset) * cLeadRate, cLeadStepMax);
        else if(pVelocity < 0.0f) sOffset += fmaxf((-pB - sOffset) * cLeadRate, -cLeadStepMax);
    }
    else
    {
        return pFocus;
    }
    if(sOffset > pB) sOffset = pB;
    if(sOffset < -pB) sOffset = -pB;
    return pFocus + sOffset;
}

void PlayerPony::ComputeCameraFocus(float &sX, float &sY)
{
    const float tX = (mHitbox.mLft + mHitbox.mRgt) / 2.0f;
    const float tY = (mHitbox.mTop + mHitbox.mBot) / 2.0f - cFocusLift;
    Camera *rCamera = CameraManager::ActiveCamera();
    Hitbox tFrame;
    if(rCamera) tFrame = rCamera->GetFrame();
    else tFrame.mOwnerX = tFrame.mOwnerY = 0.0f;
    sX = FocusAxis(mCamXMode, tX, tFrame.mOwnerX, mCamXA, mCamXB, mVelX, mCamXOffset);
    sY = FocusAxis(mCamYMode, tY, tFrame.mOwnerY, mCamYA, mCamYB, mVelY, mCamYOffset);
}

// A negative mode keeps the axis' running offset; any other mode starts it again from 0.
void PlayerPony::SetCameraVars(int32_t pXMode, float pXA, float pXB, int32_t pYMode, float pYA, float pYB)
{
    mCamXMode = (uint8_t)(pXMode < 0 ? -(int64_t)pXMode : pXMode);
    if(pXMode >= 0) mCamXOffset = 0.0f;
    mCamXA = pXA;
    mCamXB = pXB;
    mCamYMode = (uint8_t)(pYMode < 0 ? -(int64_t)pYMode : pYMode);
    if(pYMode >= 0) mCamYOffset = 0.0f;
    mCamYA = pYA;
    mCamYB = pYB;
}

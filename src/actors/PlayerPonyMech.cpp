#include "actors/PlayerPony.h"

#include <cstdio>

#include "actors/MechSuit.h"
#include "actors/PlayerPonyTuning.h"
#include "core/ControlManager.h"
#include "interface/AudioManager.h"
#include "world/LevelCollision.h"
#include "world/MapManager.h"

// Riding the mech: the movement step, the boarding and leaving, and the mech's animation.

namespace
{
    const char *cMechLock = "Zererozez";
    const int32_t cEntryTicks = 32;
    const int32_t cLandingStillTicks = 8;
    const int32_t cMechDashFullTicks = 36;
    const int32_t cMechDashSlowTicks = 8;
    const int32_t cShortTimerLast = 7;

    void PlaySound(const char *pName)
    {
        AudioManager::PlaySoundIfBooted(pName);
    }

    // A short timer: counts 0 to 7, then stops at -1 and restarts the animation.
    void StepShortTimer(int32_t &sTimer, int32_t &sAnimTick)
    {
        if(sTimer < 0 || sTimer > cShortTimerLast) return;
        sTimer++;
        if(sTimer <= cShortTimerLast) return;
        sTimer = -1;
        sAnimTick = 0;
    }
}

void PlayerPony::BoardMech(MechSuit *pMech)
{
    if(rMech || !pMech) return;
    mMechEntryTimer = cEntryTicks;
    rMech = pMech;
    AddControlLock(cMechLock);
    float tX, tY, tZ;
    pMech->GetPosition(tX, tY, tZ);
    mBoxW = MECH_WIDTH;
    mBoxH = MECH_HEIGHT;
    mHitbox.mOwnerX = tX;
    mHitbox.mOwnerY = tY;
    RebuildHitbox();
    fputs("Mech control activated!\n", stderr);
}

void PlayerPony::LeaveMech()
{
    if(!rMech) return;
    MechSuit *rWasRidden = rMech;
    rMech = nullptr;
    rWasRidden->ReleaseRider();
    RestoreFootBox();
    // Left during the entry animation: the lock it holds would otherwise stay for good.
    if(mMechEntryTimer >= 0) RemoveControlLock(cMechLock);
    mMechEntryTimer = -1;
    fputs("Mech control deactivated!\n", stderr);
}

void PlayerPony::ForgetMech(MechSuit *pMech)
{
    if(!pMech || rMech != pMech) return;
    rMech = nullptr;
    RestoreFootBox();
    if(mMechEntryTimer >= 0) RemoveControlLock(cMechLock);
    mMechEntryTimer = -1;
}

void PlayerPony::RestoreFootBox()
{
    mBoxW = cFootW;
    mBoxH = cFootH;
    mHitbox.mOwnerX = mHitbox.mLft;
    mHitbox.mOwnerY = mHitbox.mTop;
    RebuildHitbox();
}

void PlayerPony::UpdateMechMovement()
{
    if(!mControlSnapshot || !rMech) return;
    ControlState *tControls[CTL_COUNT];
    if(!FetchMoveControls(tControls)) return;

    // The mech cannot shoot: a charge she brought in is dropped.
    EndCharge(false);
    if(AdvanceInjury()) mInvulnCounter = cDefaultInvulnerability;

    // Set down inside the floor (a warp or a script placing her by her foot box), the mech
    // would be held fast: it climbs out first.
    MapManager *rMap = MapManager::Fetch();
    if(rMap) RiseOutOfSolid(rMap->GetClipWorld(), mHitbox, (int32_t)MECH_HEIGHT);
    ProbeContacts();
    bool tGround = mOnGround != 0;
    // A dismount ends the whole step: there is no mech left to move.
    if(tGround ? !MechGroundStep(tControls) : !MechAirStep(tControls)) return;

    mVelX += mAccelX;
    mVelY += mAccelY;
    if(mKickEffectTimer > 0) mKickEffectTimer--;
    ClampVelocity(-mCapY);
    mVelX += mPushX;
    mVelY += mPushY;
    mPushX = mPushY = mPushZ = 0.0f;

    RebuildHitbox();
    if(rMap)
    {
        ArmMoveFlags(tGround);
        MoveWithCollision(rMap->GetClipWorld(), mVelX, mVelY, 0.0, mHitbox);
    }
    RebuildHitbox();
    rMech->SetPosition(mHitbox.mLft, mHitbox.mTop);
    AllowBotSlopes = false;
    AllowTopSlopes = false;
    ProbeContacts();
    mKnockbackPending = 0;

    if(mMechEntryTimer > 0) mMechEntryTimer--;
    else if(mMechEntryTimer == 0)
    {
        mMechEntryTimer = -1;
        RemoveControlLock(cMechLock);
    }
    ApplyWeaponHotkeys();
}

bool PlayerPony::MechGroundStep(ControlState **pControls)
{
    const MoveDirections tDir = ReadDirections(pControls);
    if(tDir.mUp && pControls[CTL_JUMP]->mPressed)
    {
        LeaveMech();
        return false;
    }
    SteerMech(tDir.mLeft, tDir.mRight);
    UpdateMechDashControl(pControls[CTL_DASH]);
    RunMechDash();
    StepShortTimer(mRunStartTimer, mAnimTick);
    StepShortTimer(mTurnTimer, mAnimTick);
    SettleOnGround();
    CountGroundTick(tDir.mLeft || tDir.mRight);
    StartMechJump(pControls[CTL_JUMP]->mPressed != 0, tDir.mLeft, tDir.mRight);
    if(mShotTimer != -1) mShotTimer++;
    HoldMechForKnockback();
    if(mIdleTimer != -1) mIdleTimer++;
    return true;
}

// Just landed it stands fast; otherwise, unless dashing, it walks where she steers, turning
// first, and stands when she does not.
void PlayerPony::SteerMech(bool pLeft, bool pRight)
{
    if(mGroundTimer <= cLandingStillTicks)
    {
        mVelX = 0.0f;
        mStandingStill = 1;
        return;
    }
    if(mDashing) return;
    if(pLeft || pRight)
    {
        mIdleTimer = -1;
        mDashEndTimer = -1;
        if(pLeft != (mFacingLeft != 0))
        {
            mAnimTick = 0;
            mTurnTimer = 0;
            mRunStartTimer = 0;
        }
        mFacingLeft = pLeft ? 1 : 0;
        mStandingStill = 0;
        mVelX = pLeft ? -mRunSpeed : mRunSpeed;
        return;
    }
    if(!mStandingStill)
    {
        mStandingStill = 1;
        mAnimTick = 0;
        mTurnTimer = 0;
    }
    mVelX = 0.0f;
    mRunStartTimer = 0;
}

// Dash pressed starts a dash the way she faces; letting go of it ends one.
void PlayerPony::UpdateMechDashControl(ControlState *pDash)
{
    if(!mDashEnabled) return;
    if(pDash->mPressed && !mDashing)
    {
        mDashing = 1;
        mDashTimer = 0;
        mVelX = mFacingLeft ? -mDashSpeed : mDashSpeed;
        mStandingStill = 0;
        SpawnDashKickup();
        PlaySound("Dash");
    }
    else if(!pDash->mHeld)
    {
        if(mDashing) mDashEndTimer = 0;
        mDashing = 0;
        mDashTimer = -1;
    }
}

// A dash runs at full speed, then slows to a stop; a wall ahead cuts it short.
void PlayerPony::RunMechDash()
{
    if(!mDashing)
    {
        mDashTimer = -1;
        if(mDashEndTimer != -1) mDashEndTimer++;
        return;
    }
    const float tFacing = mFacingLeft ? -1.0f : 1.0f;
    if(mFacingLeft ? mBlockedLeft : mBlockedRight)
    {
        mDashEndTimer = 0;
        mDashTimer = -1;
    }
    if(mDashTimer >= 0 && mDashTimer < cMechDashFullTicks)
    {
        if(mDashTimer > 4 && mDashTimer % 4 == 0) SpawnDustCloud();
        mDashTimer++;
        mVelX = mDashSpeed * tFacing;
    }
    else if(mDashTimer >= cMechDashFullTicks && mDashTimer < cMechDashFullTicks + cMechDashSlowTicks)
    {
        mDashTimer++;
        mDashEndTimer = 0;
        mVelX = mDashSpeed * tFacing * (1.0f - (float)(mDashTimer - cMechDashFullTicks) / (float)cMechDashSlowTicks);
    }
    else if(mDashTimer >= cMechDashFullTicks + cMechDashSlowTicks)
    {
        mDashing = 0;
        mDashTimer = -1;
        mDashEndTimer = -1;
        mTurnTimer = -1;
        mRunStartTimer = -1;
        mStandingStill = 1;
    }
}

// A jump leaves at run speed, or dash speed from a dash, the way she steers (or dashes).
void PlayerPony::StartMechJump(bool pJump, bool pLeft, bool pRight)
{
    if(!pJump)
    {
        mVelY = 0.0f;
        return;
    }
    mJumpRising = 1;
    mAirTimer = 0;
    mVelY = mJumpSpeed;
    PlaySound("Jump");
    float tSpeed = mDashing ? mDashSpeed : mRunSpeed;
    mDashJump = mMechDashJump = mDashing ? 1 : 0;
    if(pLeft || (mDashing && mFacingLeft)) mVelX = -tSpeed;
    else if(pRight || (mDashing && !mFacingLeft)) mVelX = tSpeed;
    else mVelX = 0.0f;
}

// A hit stops the mech dead; it stands while she is injured.
void PlayerPony::HoldMechForKnockback()
{
    if(mKnockbackPending)
    {
        mVelX = mVelY = 0.0f;
        mKnockbackPending = 0;
    }
    else if(mInjuryTimer != -1)
    {
        mVelX = 0.0f;
    }
}

bool PlayerPony::MechAirStep(ControlState **pControls)
{
    float tSpeed = mRunSpeed;
    if(mDashJump)
    {
        tSpeed = mDashSpeed;
        mDashing = 0;
    }
    mStandingStill = 0;
    if(mAirTimer < 1) mDashing = 0;

    const MoveDirections tDir = ReadDirections(pControls);
    if(tDir.mUp && pControls[CTL_JUMP]->mPressed)
    {
        LeaveMech();
        return false;
    }

    if(tDir.mLeft)
    {
        mVelX = -tSpeed;
        mFacingLeft = 1;
        mKnockedBack = 0;
    }
    else if(tDir.mRight)
    {
        mVelX = tSpeed;
        mFacingLeft = 0;
        mKnockedBack = 0;
    }
    else if(!mKnockedBack)
    {
        mVelX = 0.0f;
    }

    if(mInWater) SinkInWater(true);
    if(mJumpRising && mCeiling) mVelY = 0.0f;
    AdvanceAirTimers();

    if(mShotTimer != -1) mShotTimer++;
    if(mKnockbackPending)
    {
        mVelX = 0.0f;
        mDashJump = 0;
        mJumpRising = 0;
        mVelY = 0.0f;
        mKnockbackPending = 0;
    }
    else if(mInjuryTimer != -1)
    {
        mVelX = 0.0f;
    }
    mIdleTimer = -1;
    return true;
}

void PlayerPony::ChooseMechAnimation()
{
    if(!rMech) return;
    rMech->SetFlip(mFacingLeft != 0);
    const int32_t tJumpAnim = mMechDashJump ? MECH_ANIM_RUN_JUMP : MECH_ANIM_JUMP;
    if(mMechEntryTimer >= 0)
    {
        rMech->SetAnimation(MECH_ANIM_POWER_UP, true, 31 - mMechEntryTimer);
    }
    else if(!mOnGround)
    {
        int32_t tFrame;
        if(mFalling) tFrame = mAirTimer < 3 ? 2 : 3;
        else tFrame = mAirTimer <= 1 ? 0 : (mAirTimer < 11 ? 1 : 2);
        rMech->SetAnimation(mDashJump ? MECH_ANIM_RUN_JUMP : MECH_ANIM_JUMP, false, tFrame);
    }
    else if(mGroundTimer >= 0 && mGroundTimer <= 9)
    {
        if(tJumpAnim == MECH_ANIM_RUN_JUMP) rMech->SetAnimation(MECH_ANIM_RUN_JUMP, false, mGroundTimer / 5 + 4);
        else rMech->SetAnimation(MECH_ANIM_JUMP, false, 4);
    }
    else if(mStandingStill)
    {
        if(mDashEndTimer != -1) rMech->SetAnimation(MECH_ANIM_DASH_STOP, false, 0);
        else if(mTurnTimer != -1) rMech->SetAnimation(MECH_ANIM_WALK_START, false, 0);
        else rMech->SetAnimation(MECH_ANIM_IDLE, false, 0);
    }
    else if(mRunStartTimer != -1)
    {
        rMech->SetAnimation(MECH_ANIM_WALK_START, false, 0);
    }
    else if(mDashEndTimer != -1)
    {
        rMech->SetAnimation(MECH_ANIM_DASH_STOP, false, 0);
    }
    else if(mDashing)
    {
        rMech->SetAnimation(MECH_ANIM_RAM, true, mAnimTick);
    }
    else
    {
        rMech->SetAnimation(MECH_ANIM_WALK, true, mAnimTick);
    }
}

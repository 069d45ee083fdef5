#include "actors/PlayerPony.h"

#include "actors/PlayerPonyTuning.h"
#include "core/ControlManager.h"
#include "core/Geometry.h"
#include "core/NamedLinkedList.h"
#include "interface/AudioManager.h"
#include "world/ClipQueries.h"
#include "world/EntityManager.h"
#include "world/MapManager.h"
#include "world/RootZone.h"

namespace
{
    // A ladder is caught by its upper part only: its box counts this much shorter at the bottom.
    const float cLadderCatchTrim = 32.0f;
    const float cStandOnLadderReach = 26.0f;
    const float cGrabFromTopReach = 12.0f;
    const int32_t cGrabFromTopTimer = 12;
    const float cClimbStep = 2.0f;
    const float cStepOffReach = 16.0f;
    const float cStepOffHeight = 26.0f;
    const float cLadderHalfWidth = 7.5f;
    const float cTopPoseReach = 24.0f;
    const float cMidPoseReach = 32.0f;
    const float cLadderDrawOffsetY = -46.0f;
    const float cNormalDrawOffsetY = -30.0f;
    const int32_t cLadderSettleTicks = 11;
    const int32_t cLadderShotPause = 12;
    const int32_t cLeftShotClimbFrame = 28;

    // The lowest row of the box itself, not the row under it.
    bool FeetInsideSolid(const ClipWorld &pWorld, const Hitbox &pBox)
    {
        return AnyClippedInRow(pWorld, TruncateCoordinate(pBox.mBot) - 1, TruncateCoordinate(pBox.mLft),
                               TruncateCoordinate(pBox.mRgt));
    }
}

RootZone *PlayerPony::FindLadder(bool pUp)
{
    NamedLinkedList *rList = EntityManager::FetchSpecialList(LADDER_LIST_NAME);
    if(!rList) return nullptr;

    RootZone *rFound = nullptr;
    ZoneRect tRect;
    for(void *rData = rList->PushIterator(); rData; rData = rList->IterateNext())
    {
        RootZone *rZone = (RootZone *)rData;
        tRect = rZone->GetRect();
        tRect.mBot -= cLadderCatchTrim;
        if(!HitboxOverlapsZoneRect(mHitbox, tRect)) continue;
        rFound = rZone;
        rList->PopIterator();
        break;
    }
    if(!rFound) return nullptr;

    if(pUp) return mHitbox.mBot > tRect.mTop ? rFound : nullptr;

    if(mHitbox.mTop >= tRect.mBot - cLadderCatchTrim) return nullptr;
    if(mHitbox.mBot - tRect.mTop < cStandOnLadderReach)
    {
        // Standing on the ladder's top: sink into it. The box's y becomes the middle of the
        // shifted box, so the next rebuild from x, y lowers the box to the climbing height.
        mDrawOffsetY = cLadderDrawOffsetY;
        mHitbox.mBot -= 10.0f;
        mHitbox.mTop = mHitbox.mBot - mBoxH;
        mHitbox.mOwnerY = (mHitbox.mTop + mHitbox.mBot) / 2.0f;
    }
    return rFound;
}

void PlayerPony::GrabLadder(RootZone *pLadder)
{
    rLadder = pLadder;
    if(!pLadder) return;
    ZoneRect tRect = pLadder->GetRect();
    mOnLadder = 1;
    mLadderTimer = 0;
    mLadderClimb = 0;
    mHitbox.mLft = (tRect.mLft + tRect.mRgt) / 2.0f - cLadderHalfWidth;
    mHitbox.mRgt = mHitbox.mLft + mBoxW;
    mHitbox.mOwnerX = mHitbox.mLft;
    mVelX = mVelY = mVelZ = 0.0f;
    mShotTimer = -1;
    if(mHitbox.mBot - tRect.mTop <= cGrabFromTopReach) mLadderTimer = cGrabFromTopTimer;
}

void PlayerPony::LeaveLadder()
{
    mOnLadder = 0;
    rLadder = nullptr;
    mDrawOffsetY = cNormalDrawOffsetY;
}

void PlayerPony::UpdateLadder()
{
    mVelX = mVelY = mVelZ = 0.0f;
    mLadderTimer++;
    ControlState *tControls[CTL_COUNT];
    if(!rLadder || !FetchMoveControls(tControls))
    {
        LeaveLadder();
        return;
    }
    const MoveDirections tDir = ReadDirections(tControls);

    // Jumping off drops the player; the rest of the step has no ladder to work with.
    if(tControls[CTL_JUMP]->mPressed)
    {
        LeaveLadder();
        return;
    }

    const ZoneRect tRect = rLadder->GetRect();
    if((mShotTimer == -1 || mShotTimer > cLadderShotPause) && mLadderTimer > cLadderSettleTicks)
    {
        if(tDir.mUp)
        {
            mLadderClimb++;
            mHitbox.ShiftY(-cClimbStep);
            if(mHitbox.mBot - tRect.mTop <= cStepOffReach)
            {
                // Steps off onto the top: the box ends standing on the ladder's top edge.
                mHitbox.mOwnerY = tRect.mTop - cStepOffHeight - mBoxH / 2.0f;
                RebuildHitbox();
                LeaveLadder();
                StandAfterLadder();
                return;
            }
        }
        else if(tDir.mDown)
        {
            mLadderClimb--;
            mHitbox.ShiftY(cClimbStep);
            if(ReachLadderFoot()) return;
            if(mHitbox.mBot - cLadderCatchTrim >= tRect.mBot)
            {
                LeaveLadder();
                return;
            }
        }
    }

    const float tBelowTop = mHitbox.mBot - tRect.mTop;
    if(tBelowTop < cTopPoseReach)
    {
        mLadderTopPose = 1;
        mDrawOffsetY = cLadderDrawOffsetY;
    }
    else if(tBelowTop < cMidPoseReach)
    {
        mLadderTopPose = 0;
        mDrawOffsetY = cLadderDrawOffsetY;
    }
    else
    {
        mLadderTopPose = -1;
        mDrawOffsetY = cNormalDrawOffsetY;
    }

    if((mShotTimer == -1 || mShotTimer > cLadderSettleTicks) && (tDir.mLeft || tDir.mRight)) mFacingLeft = tDir.mLeft ? 1 : 0;
    if(mShotTimer != -1) mShotTimer++;
    UpdateLadderShooting(tControls[CTL_SHOOT], tDir.mLeft, tDir.mRight, mLadderTopPose == -1 && mLadderTimer > cLadderSettleTicks);
}

// Off the ladder onto solid footing: she stands there as if long landed.
void PlayerPony::StandAfterLadder()
{
    mOnGround = 1;
    mGroundTimer = 100;
    mFalling = 0;
    mAirTimer = -1;
    mJumpRising = 0;
    mStandingStill = 1;
}

// A ladder that stands on the floor ends there: her feet stop on the floor instead of
// climbing on down into it (the ladder's own end lies some way below her feet).
bool PlayerPony::ReachLadderFoot()
{
    MapManager *rMap = MapManager::Fetch();
    if(!rMap) return false;
    const ClipWorld tWorld = rMap->GetClipWorld();
    for(float tLift = 0.0f; tLift < cClimbStep && FeetInsideSolid(tWorld, mHitbox); tLift += 1.0f) mHitbox.ShiftY(-1.0f);
    if(!AnyClippedInRowF(tWorld, mHitbox)) return false;
    LeaveLadder();
    StandAfterLadder();
    return true;
}

// Mid-ladder the player turns and shoots; near the top or while settling Shoot only charges,
// and a release there ends the charge without a shot.
void PlayerPony::UpdateLadderShooting(ControlState *pShoot, bool pLeft, bool pRight, bool pMidLadder)
{
    if(pShoot->mPressed)
    {
        if(pMidLadder)
        {
            if(pLeft || pRight) mFacingLeft = pLeft ? 1 : 0;
            Shoot();
            mLadderClimb = mFacingLeft ? cLeftShotClimbFrame : 0;
        }
        mCharging = 1;
        mCharge = 0;
    }
    else if(pShoot->mHeld)
    {
        mCharge++;
        if(mCharge == cChargeSoundTick) AudioManager::PlaySoundIfBooted("BusterCharging");
    }
    else if(pShoot->mReleased)
    {
        EndCharge(pMidLadder && mCharge > cChargeShotAbove);
    }
}

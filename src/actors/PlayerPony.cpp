#include "actors/PlayerPony.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "actors/MechSuit.h"
#include "actors/PlayerPonyTuning.h"
#include "actors/PlayerWeapon.h"
#include "core/ControlManager.h"
#include "core/DebugPrint.h"
#include "core/Geometry.h"
#include "core/NamedLinkedList.h"
#include "core/OptionsManager.h"
#include "core/render/CorvelAnimation.h"
#include "interface/AudioManager.h"
#include "world/Camera.h"
#include "world/CameraManager.h"
#include "world/Checkpoint.h"
#include "world/DamageZone.h"
#include "world/EntityManager.h"
#include "world/MapManager.h"
#include "world/RootProjectile.h"

namespace
{
    const int32_t cStartHealth = 1;
    const int32_t cMaxHealth = 18;
    const float cBoxStart = 100.0f;
    // The first ticks of invulnerability ignore projectiles altogether.
    const int32_t cInvulnerabilityGrace = 15;
    const int32_t cDeathPitDamage = 200;
    const int32_t cDeathTicks = 168;
    const int32_t cDeathSoundTick = 30;
    const int32_t cDeathTeleportOutTick = 54;
    const int32_t cTeleportFadeTicks = 90;
    const int32_t cTeleportSoundTick = 100;
    const int32_t cTeleportLastTick = 179;
    const int32_t cTeleportDropLimit = 256;
    const char *const cTraceTag = "Debug_PlayerPony";

    void StopSound(const char *pName)
    {
        AudioManager *rAudio = AudioManager::Get();
        if(rAudio) rAudio->StopSound(pName);
    }

    bool GodMode()
    {
        OptionsManager *rOptions = OptionsManager::Get();
        return rOptions && rOptions->GetBool("GodMode");
    }
}

PlayerPony::PlayerPony() : mLibraryHolder(this, ReleaseLibraryObject)
{
    mType = TYPE_PLAYERPONY;
    SetName("Player");

    mDashEnabled = 1;
    mKnockbackPending = 0;
    mKnockedBack = 0;
    mPitHitSpared = 0;
    mInjuryTimer = -1;
    mInvulnCounter = 0;
    mInvulnLength = 0;
    mInvulnStart = -1;
    mHealth = cStartHealth;
    mPendingHeal = 0;
    mMaxHealth = cMaxHealth;

    mGravity = 0.3875f;
    mWallSlideGravity = 0.3875f;
    mFallCap = 6.975f;
    mWallSlideFallCap = 2.7125f;
    mRiseCap = -8.06f;
    mRunSpeed = 3.1f;
    mDashSpeed = 5.425f;
    mJumpSpeed = -8.06f;
    mKnockbackX = 2.0f;
    mKnockbackY = -3.5f;

    mInSlipZone = 0;
    mVelX = mVelY = mVelZ = 0.0f;
    mPushX = mPushY = mPushZ = 0.0f;
    mAccelX = 0.0f;
    mAccelY = 0.5f;
    mAccelZ = 0.0f;
    mCapX = 15.5f;
    mCapY = 155.0f;
    mCapZ = 0.0f;
    mDrawOffsetX = -40.0f;
    mDrawOffsetY = -30.0f;
    memset(&mHitbox, 0, sizeof(mHitbox));
    mBoxW = cFootW;
    mBoxH = cFootH;
    mHitbox.mOwnerX = cBoxStart;
    mHitbox.mOwnerY = cBoxStart;
    RebuildHitbox();

    mCeiling = mBlockedLeft = mBlockedRight = mWallReachLeft = mWallReachRight = 0;
    mFacingLeft = mStandingStill = mOnGround = mFalling = mWallSliding = mWallKicking = 0;
    mDashing = mDashJump = mInWater = 0;
    mKickEffectTimer = 0;
    mKickFacing = 0;
    mJumpRising = 0;

    mIdleTimer = mRunStartTimer = mDashTimer = mDashEndTimer = -1;
    mAirTimer = mGroundTimer = mWallSlideTimer = mWallKickTimer = mShotTimer = -1;
    mKickLockLeft = mKickLockRight = 0;
    mSinceDashTimer = 0;

    mForcedSlot = mForcedFrame = -1;
    mAnimTick = 0;
    mOnLadderDraw = 0;
    mShownFrame = 0;
    mFrozen = mAnimateWhileFrozen = 0;
    rPreviousAnim = rCurrentAnim = nullptr;
    for(int32_t i = 0; i < PLAYER_ANIMATION_SLOTS; i++) rAnimSlots[i] = nullptr;
    for(int32_t i = 0; i < PLAYER_CHARGE_ANIMATION_SLOTS; i++) rChargeAnimSlots[i] = nullptr;
    mMoveEnabled = 1;
    mMoveDisabled = 0;

    mControlSnapshot = nullptr;
    mControlLockList = new NamedLinkedList(1);
    mControlsLocked = 0;
    mDoubleTapOption = 1;
    mDoubleTapTimer = -1;
    mDoubleTapLeft = 0;
    mAirDashEnabled = 1;
    mAirDashAvailable = 0;

    mCharging = 0;
    mCharge = -1;
    mSelectedWeapon = PLAYER_NO_WEAPON;
    for(int32_t i = 0; i < PLAYER_WEAPON_SLOTS; i++) mWeapons[i] = CreatePlayerWeapon(i);

    mMechDashJump = 0;
    mMechEntryTimer = 0;
    mTurnTimer = -1;
    rMech = nullptr;

    mOnLadder = 0;
    mLadderTopPose = 0;
    mLadderTimer = 0;
    mLadderClimb = 0;
    rLadder = nullptr;

    mStartX = mStartY = 0.0f;
    rActiveCheckpoint = nullptr;
    mSparkAnchorX = 16;
    mSparkAnchorY = -20;
    ResetChargeSparks(mSparks, CHARGE_SPARK_COUNT);
    mSparkClock = 0;
    mDying = 0;
    mDeathTimer = -1;
    mTeleporting = 0;
    mTeleportTimer = 0;
    mRespawnX = mRespawnY = -1.0f;

    mSubtankCount = 0;
    mSubtankCapacity = 28;
    mSubtankFill[0] = 1.0f;
    mSubtankFill[1] = 0.75f;
    mSubtankFill[2] = 0.5f;
    mSubtankFill[3] = 0.25f;

    mCamXMode = mCamYMode = 0;
    mCamXOffset = mCamYOffset = 0.0f;
    mCamXA = mCamXB = mCamYA = mCamYB = 0.0f;
}

PlayerPony::~PlayerPony()
{
    for(int32_t i = 0; i < PLAYER_WEAPON_SLOTS; i++) delete mWeapons[i];
    if(rMech) rMech->ReleaseRider();
    delete mControlSnapshot;
    delete mControlLockList;
}

PlayerPony *PlayerPony::Get()
{
    EntityManager *rEntities = EntityManager::Fetch();
    return rEntities ? rEntities->GetPlayer() : nullptr;
}

// --- Geometry -------------------------------------------------------------------------------

void PlayerPony::RebuildHitbox()
{
    mHitbox.mLft = mHitbox.mOwnerX;
    mHitbox.mTop = mHitbox.mOwnerY;
    mHitbox.mRgt = mHitbox.mOwnerX + mBoxW;
    mHitbox.mBot = mHitbox.mOwnerY + mBoxH;
}

void PlayerPony::GetPosition(float &sX, float &sY, float &sZ)
{
    sX = mHitbox.mOwnerX;
    sY = mHitbox.mOwnerY;
    sZ = mHitbox.mOwnerZ;
}

void PlayerPony::GetSize(float &sW, float &sH)
{
    sW = mHitbox.mRgt - mHitbox.mLft;
    sH = mHitbox.mBot - mHitbox.mTop;
}

void PlayerPony::SetPositionAutoCenter(float pX, float pY, float pZ)
{
    mHitbox.mOwnerX = pX;
    mHitbox.mOwnerY = pY;
    mHitbox.mOwnerZ = pZ;
    mHitbox.mPlacedZ = pZ;
    mHitbox.mPlacedZCopy = pZ;
    RebuildHitbox();
}

bool PlayerPony::IsSideContact(int32_t pSide)
{
    return pSide == 3 && mOnGround;
}

void PlayerPony::ApplyPush(float pX, float pY, float pZ)
{
    mPushX += pX;
    mPushY += pY;
    mPushZ += pZ;
}

// --- Accessors ------------------------------------------------------------------------------

int32_t PlayerPony::GetWeaponAmmo(int32_t pSlot) const
{
    PlayerWeapon *rWeapon = GetWeapon(pSlot);
    return rWeapon ? rWeapon->GetAmmoBarHeight() : -1;
}

PlayerWeapon *PlayerPony::GetWeapon(int32_t pSlot) const
{
    if(pSlot < 0 || pSlot >= PLAYER_WEAPON_SLOTS) return nullptr;
    return mWeapons[pSlot];
}

float PlayerPony::GetSubtankFill(int32_t pIndex) const
{
    if(pIndex < 0 || pIndex >= mSubtankCount || pIndex >= PLAYER_SUBTANK_MAX) return 0.0f;
    return mSubtankFill[pIndex];
}

void PlayerPony::ReleaseLibraryObject(void *pPlayer, void *pObject)
{
    PlayerPony *rPlayer = (PlayerPony *)pPlayer;
    for(int32_t i = 0; i < PLAYER_ANIMATION_SLOTS; i++)
    {
        if(rPlayer->rAnimSlots[i] == pObject) rPlayer->rAnimSlots[i] = nullptr;
    }
    for(int32_t i = 0; i < PLAYER_CHARGE_ANIMATION_SLOTS; i++)
    {
        if(rPlayer->rChargeAnimSlots[i] == pObject) rPlayer->rChargeAnimSlots[i] = nullptr;
    }
    if(rPlayer->rCurrentAnim == pObject) rPlayer->rCurrentAnim = nullptr;
    if(rPlayer->rPreviousAnim == pObject) rPlayer->rPreviousAnim = nullptr;
    for(int32_t i = 0; i < CHARGE_SPARK_COUNT; i++)
    {
        if(rPlayer->mSparks[i].rAnimation == pObject) rPlayer->mSparks[i].rAnimation = nullptr;
    }
}

void PlayerPony::SetAnimationSlot(int32_t pIndex, CorvelAnimation *pAnimation)
{
    if(pIndex < 0 || pIndex >= PLAYER_ANIMATION_SLOTS) return;
    rAnimSlots[pIndex] = mLibraryHolder.Hold(pAnimation);
}

CorvelAnimation *PlayerPony::GetAnimationSlot(int32_t pIndex) const
{
    if(pIndex < 0 || pIndex >= PLAYER_ANIMATION_SLOTS) return nullptr;
    return rAnimSlots[pIndex];
}

void PlayerPony::SetChargeAnimationSlot(int32_t pIndex, CorvelAnimation *pAnimation)
{
    if(pIndex < 0 || pIndex >= PLAYER_CHARGE_ANIMATION_SLOTS) return;
    rChargeAnimSlots[pIndex] = mLibraryHolder.Hold(pAnimation);
}

void PlayerPony::GetCheckpointLocation(float &sX, float &sY) const
{
    sX = -1.0f;
    sY = -1.0f;
    if(rActiveCheckpoint) rActiveCheckpoint->GetCameraLocation(sX, sY);
}

void PlayerPony::SelectWeapon(int32_t pSlot)
{
    if(pSlot < PLAYER_NO_WEAPON) return;
    if(pSlot >= PLAYER_WEAPON_SLOTS) pSlot = PLAYER_NO_WEAPON;
    mSelectedWeapon = pSlot;
}

// --- Map loading and the gears --------------------------------------------------------------

void PlayerPony::ResetForMapLoad()
{
    mHealth = mMaxHealth;
    mInWater = 0;
    mKnockbackPending = 0;
    mPitHitSpared = 0;
    mInjuryTimer = -1;
    StopSound("BusterCharging");
}

void PlayerPony::ClearRespawnState()
{
    mRespawnX = -1.0f;
    mRespawnY = -1.0f;
    // Released properly, so the mech can be boarded again and her box is her own.
    LeaveMech();
    LeaveLadder();
    rActiveCheckpoint = nullptr;
}

// The checkpoint and the ladder live in the special lists; once those are rebuilt for another
// map, the old pointers and the old map's respawn point mean nothing.
void PlayerPony::ForgetSpecialObjects()
{
    rActiveCheckpoint = nullptr;
    LeaveLadder();
    mRespawnX = -1.0f;
    mRespawnY = -1.0f;
}

void PlayerPony::ForgetSpecialObject(const void *pObject)
{
    if(!pObject) return;
    if((const void *)rActiveCheckpoint == pObject) rActiveCheckpoint = nullptr;
    if((const void *)rLadder == pObject) LeaveLadder();
}

void PlayerPony::StopAndClearInput()
{
    ClearControlEdges();
    mVelX = mVelY = mVelZ = 0.0f;
}

// --- Update ---------------------------------------------------------------------------------

void PlayerPony::Update()
{
    MapManager *rMap = MapManager::Fetch();
    if(!rMap || !rMap->HasLevel()) return;
    Debug::PushPrintTag(cTraceTag, "[PlayerPony] Update Begin\n");

    if(mFrozen)
    {
        mFrozen = 0;
        if(mAnimateWhileFrozen && rPreviousAnim && rPreviousAnim == rAnimSlots[PLAYER_ANIM_RUN])
        {
            mAnimTick++;
            mShownFrame = rPreviousAnim->GetFrameIndexAtTick(mAnimTick);
        }
        mAnimateWhileFrozen = 0;
        Debug::PopPrint("[PlayerPony] Update completed normally.\n");
        return;
    }

    if(mTeleporting)
    {
        TickTeleport();
        Debug::PopPrint("[PlayerPony] Complete - Spawning case\n");
        return;
    }

    Debug::Print("Death case.\n");
    if(mDying)
    {
        Debug::Print(" Still dying!\n");
        TickDeath();
        Debug::Print(" Completed Still dying case.\n");
    }
    else
    {
        Debug::Print(" Not dying.  Check damage zones.\n");
        CheckDamageZones();
        Debug::Print(" Check projectile collisions.\n");
        if(!mKnockbackPending) CheckProjectiles();
        Debug::Print(" Completed normal no-death case.\n");
    }

    Debug::Print("Checkpoints.\n");
    UpdateCheckpoints();

    Debug::Print("Controls.\n");
    if(IsControlLocked())
    {
        mControlsLocked = 1;
        ClearControlEdges();
    }
    else
    {
        mControlsLocked = 0;
        RefreshControlSnapshot();
    }

    Debug::Print("Positioning.\n");
    RebuildHitbox();

    Debug::Print("Mode Update.\n");
    if(!mMoveDisabled)
    {
        if(rMech) UpdateMechMovement();
        else UpdateMovement();
    }

    if(mInvulnCounter > 0) mInvulnCounter--;
    mAnimTick++;
    UpdateChargeSparks();

    Camera *rCamera = CameraManager::ActiveCamera();
    if(rCamera) rCamera->ApplyPushers(mHitbox);
    Debug::PopPrint("[PlayerPony] Update completed normally.\n");
}

// --- Teleport, death, respawn ---------------------------------------------------------------

void PlayerPony::BeginTeleportIn()
{
    // A map left in mid-jump must not carry its motion into the drop below: the probe treats
    // a rising player as airborne and would let the drop run through the floor.
    mVelX = mVelY = mVelZ = 0.0f;
    mJumpRising = 0;
    mDashing = 0;
    mDashJump = 0;
    mWallKicking = 0;
    mWallKickTimer = -1;
    mKickLockLeft = mKickLockRight = 0;
    mWallSliding = 0;
    mWallSlideTimer = -1;

    mTeleporting = 1;
    mTeleportTimer = 0;
    float tX = mRespawnX != -1.0f ? mRespawnX : mStartX;
    float tY = mRespawnY != -1.0f ? mRespawnY : mStartY;
    SetPositionAutoCenter(tX, tY, 0.0f);
    ProbeContacts();

    int32_t tSteps = 0;
    while(tSteps < cTeleportDropLimit && !mOnGround)
    {
        mHitbox.ShiftY(1.0f);
        ProbeContacts();
        tSteps++;
    }
    mRespawnX = tX;
    mRespawnY = tY + (float)tSteps;
}

void PlayerPony::TickTeleport()
{
    mDying = 0;
    MapManager *rMap = MapManager::Fetch();
    if(mTeleportTimer < cTeleportFadeTicks)
    {
        mHealth = mMaxHealth;
        if(rMap) rMap->SetOverlayColor(0.0f, 0.0f, 0.0f, 1.0f - (float)mTeleportTimer / (float)cTeleportFadeTicks);
    }
    else if(mTeleportTimer == cTeleportFadeTicks)
    {
        if(rMap) rMap->SetOverlayColor(0.0f, 0.0f, 0.0f, -1.0f);
    }

    mTeleportTimer++;
    if(mTeleportTimer == cTeleportSoundTick) AudioManager::PlaySoundIfBooted("TeleportIn");
    if(mTeleportTimer <= cTeleportLastTick) return;

    mTeleporting = 0;
    mControlLockList->Clear();
    ProbeContacts();
    if(mOnGround)
    {
        mStandingStill = 1;
        mRunStartTimer = 0;
        mIdleTimer = 4;
        mGroundTimer = 100;
    }
    mFacingLeft = 0;
}

void PlayerPony::TickDeath()
{
    if(mCharging || mCharge != -1) StopSound("BusterCharging");
    mCharging = 0;
    mCharge = -1;
    if(mDeathTimer == cDeathSoundTick) AudioManager::PlaySoundIfBooted("KestraDying");
    if(mDeathTimer == cDeathTeleportOutTick) AudioManager::PlaySoundIfBooted("TeleportOut");
    mDeathTimer++;
    if(mDeathTimer < cDeathTicks) return;

    mDying = 0;
    mDeathTimer = -1;
    RemoveControlLock("Death");
    mInjuryTimer = -1;
    Respawn();
}

void PlayerPony::Respawn()
{
    LeaveMech();
    EntityManager *rEntities = EntityManager::Fetch();
    MechSuit *rMapMech = rEntities ? dynamic_cast<MechSuit *>(rEntities->GetEntity(MECH_ENTITY_NAME)) : nullptr;
    if(rMapMech) rMapMech->ReturnToPlace();
    if(rActiveCheckpoint)
    {
        rActiveCheckpoint->GetRespawnLocation(mRespawnX, mRespawnY);
    }
    else
    {
        mRespawnX = mStartX;
        mRespawnY = mStartY;
    }
    MapManager *rMap = MapManager::Fetch();
    if(rMap) rMap->StartWarpTransition();
    BeginTeleportIn();
    mKnockbackPending = 0;
    mInjuryTimer = -1;
    mInvulnCounter = 0;
}

// --- Damage ---------------------------------------------------------------------------------

void PlayerPony::CheckDamageZones()
{
    NamedLinkedList *rZones = EntityManager::FetchSpecialList(DAMAGE_ZONE_LIST_NAME);
    if(!rZones || mDying || mTeleporting) return;

    int32_t tDamage = 0;
    bool tInPit = false;
    for(void *rData = rZones->PushIterator(); rData; rData = rZones->IterateNext())
    {
        DamageZone *rZone = (DamageZone *)rData;
        if(rZone->IsDeathPit())
        {
            if(!rZone->IsCollidingBelowTop(mHitbox)) continue;
            tDamage = cDeathPitDamage;
            tInPit = true;
            rZones->PopIterator();
            break;
        }
        if(mInvulnCounter > 0 || mInjuryTimer != -1) continue;
        if(!rZone->IsCollidingWithHitbox(mHitbox)) continue;
        if(rZone->GetDamageToPlayer() > tDamage) tDamage = rZone->GetDamageToPlayer();
    }

    if(tInPit && GodMode())
    {
        SparePitHit();
        return;
    }
    mPitHitSpared = 0;
    if(!GodMode()) mHealth -= tDamage;
    if(tDamage > 0) ReactToHit();
}

// GodMode spares her in a death pit, but nothing lifts her out of it, and a hit begun anew on
// every tick she lies there would keep its lock on her, and with it the pause key, for good. So
// the pit's hit plays once, and when it is over and she is still in the pit she is brought back
// as after a death, at the last checkpoint or the start.
void PlayerPony::SparePitHit()
{
    if(mInjuryTimer != -1) return;
    if(mPitHitSpared)
    {
        mPitHitSpared = 0;
        Respawn();
        return;
    }
    mPitHitSpared = 1;
    ReactToHit();
}

void PlayerPony::CheckProjectiles()
{
    Debug::PushPrintTag(cTraceTag, "[Player] Running Projectile Collisions.\n");
    if(ControlManager::IsPressed("SlapMe"))
    {
        mHealth--;
        ReactToHit();
        Debug::PopPrint("[Player] Completed Projectile Collisions.\n");
        return;
    }
    if(ControlManager::IsPressed("KillMe"))
    {
        mHealth = 0;
        ReactToHit();
        Debug::PopPrint("[Player] Completed Projectile Collisions.\n");
        return;
    }

    xProjectileLastHitPlayer = 0;
    const bool tLate = mInjuryTimer == -1 && mInvulnCounter > 0 && mInvulnCounter < mInvulnStart - cInvulnerabilityGrace;
    if(mInjuryTimer != -1 || (mInvulnCounter > 0 && !tLate))
    {
        Debug::PopPrint("[Player] Completed, invulnerable.\n");
        return;
    }

    RebuildHitbox();
    EntityManager *rEntities = EntityManager::Fetch();
    NamedLinkedList *tHits = rEntities ? rEntities->FindProjectileHitA(PROJECTILE_TARGET_PLAYER, mHitbox) : nullptr;
    if(!tHits)
    {
        Debug::PopPrint("[Player] Completed, no projectile list returned.\n");
        return;
    }
    if(tHits->GetCount() < 1)
    {
        delete tHits;
        Debug::PopPrint("[Player] Completed, projectile list was empty.\n");
        return;
    }

    int32_t tDamage = 0;
    int32_t tHeal = 0;
    bool tTimed = false;
    RootProjectile *rHitter = nullptr;
    for(void *rData = tHits->PushIterator(); rData; rData = tHits->IterateNext())
    {
        RootProjectile *rProjectile = (RootProjectile *)rData;
        if(rProjectile->GetDamage() < 0)
        {
            tHeal = rProjectile->GetDamage();
            rProjectile->SetDestruct(1);
            tHits->PopIterator();
            break;
        }
        if(rProjectile->GetDamage() > tDamage)
        {
            rHitter = rProjectile;
            tDamage = rProjectile->GetDamage();
            mInvulnLength = rProjectile->GetInvincibleTimerTicks();
        }
        if(rProjectile->HasInvincibleTimer()) tTimed = true;
    }
    if(rHitter)
    {
        if(!rHitter->HasOwner()) rHitter->SetDestruct(1);
        else rHitter->NotifyOwnerEnemy();
        xProjectileLastHitPlayer = rHitter->GetID();
    }
    delete tHits;

    if(tHeal < 0) mPendingHeal = -tHeal;
    if(tLate && !tTimed)
    {
        Debug::PopPrint("[Player] Completed, knockback case.\n");
        return;
    }
    if(mDying)
    {
        Debug::PopPrint("[Player] Completed, still dying, ignore damage\n");
        return;
    }
    if(!GodMode() && (tTimed || !tLate))
    {
        if(tLate) tDamage /= 2;
        mHealth -= tDamage;
    }
    if(tDamage > 0) ReactToHit();
    Debug::PopPrint("[Player] Completed Projectile Collisions.\n");
}

void PlayerPony::ReactToHit()
{
    if(mHealth > 0)
    {
        mKnockbackPending = 1;
        mInjuryTimer = 0;
        AddControlLock("Injury");
    }
    else
    {
        mDying = 1;
        mDeathTimer = 0;
        AddControlLock("Death");
    }
    AudioManager::PlaySoundIfBooted("KestraInjured");
    LeaveLadder();
}

// A running injury counts up; true on the tick it ends, its lock gone.
bool PlayerPony::AdvanceInjury()
{
    if(mInjuryTimer == -1) return false;
    mInjuryTimer++;
    if(mInjuryTimer <= cInjuryLastTick) return false;
    mInjuryTimer = -1;
    RemoveControlLock("Injury");
    return true;
}

void PlayerPony::TickInjury()
{
    if(!AdvanceInjury()) return;
    mInvulnCounter = mInvulnLength < 1 ? cDefaultInvulnerability : mInvulnLength;
    mInvulnStart = mInvulnCounter;
}

// --- Checkpoints ----------------------------------------------------------------------------

void PlayerPony::UpdateCheckpoints()
{
    NamedLinkedList *rList = EntityManager::FetchSpecialList(CHECKPOINT_LIST_NAME);
    if(!rList)
    {
        fputs("PlayerPony::CheckpointUpdate warning, checkpoint list does not exist.\n", stderr);
        return;
    }
    for(void *rData = rList->PushIterator(); rData; rData = rList->IterateNext())
    {
        Checkpoint *rCheckpoint = (Checkpoint *)rData;
        if(!rCheckpoint->IsActivated() && HitboxOverlapsZoneRect(mHitbox, rCheckpoint->GetRect()))
        {
            rCheckpoint->Activate();
        }
        if(rCheckpoint->IsActivated()) rActiveCheckpoint = rCheckpoint;
    }
}

// --- Sub-tanks ------------------------------------------------------------------------------

void PlayerPony::FillSubtanks(int32_t pAmount)
{
    if(mSubtankCount < 1 || mSubtankCapacity < 1) return;
    for(int32_t i = 0; i < mSubtankCount && i < PLAYER_SUBTANK_MAX; i++)
    {
        if(mSubtankFill[i] >= 1.0f) continue;
        mSubtankFill[i] += (float)pAmount / (float)mSubtankCapacity;
        if(mSubtankFill[i] > 1.0f) mSubtankFill[i] = 1.0f;
        AudioManager::PlaySoundIfBooted("SubtankFill");
        return;
    }
}

void PlayerPony::DrainSubtank(int32_t pIndex, int32_t pAmount)
{
    if(pIndex < 0 || pIndex >= mSubtankCount || pIndex >= PLAYER_SUBTANK_MAX || mSubtankCapacity < 1) return;
    mSubtankFill[pIndex] -= (float)pAmount / (float)mSubtankCapacity;
    if(mSubtankFill[pIndex] < 0.0f) mSubtankFill[pIndex] = 0.0f;
}

void PlayerPony::NormaliseSubtanks()
{
    float tTotal = 0.0f;
    for(int32_t i = 0; i < mSubtankCount && i < PLAYER_SUBTANK_MAX; i++) tTotal += mSubtankFill[i];
    for(int32_t i = 0; i < mSubtankCount && i < PLAYER_SUBTANK_MAX; i++)
    {
        mSubtankFill[i] = tTotal > 1.0f ? 1.0f : tTotal;
        tTotal -= mSubtankFill[i];
    }
}

#pragma once
#include <cstdint>

#include "actors/ChargeSpark.h"
#include "core/Hitbox.h"
#include "core/data/LibraryHolder.h"
#include "world/RootEntity.h"

class Bitmap;
class Checkpoint;
class CorvelAnimation;
class MechSuit;
class NamedLinkedList;
class PlayerWeapon;
class RootZone;
struct ControlState;

#define PLAYER_ANIMATION_SLOTS 26
#define PLAYER_CHARGE_ANIMATION_SLOTS 2
#define PLAYER_SUBTANK_MAX 4
#define PLAYER_WEAPON_SLOTS 8
#define PLAYER_NO_WEAPON -1

// Animation slots the scripts fill; the render picks one of them every frame.
enum PlayerAnimationSlot : int32_t
{
    PLAYER_ANIM_IDLE = 1,
    PLAYER_ANIM_RUN_START = 2,
    PLAYER_ANIM_RUN = 3,
    PLAYER_ANIM_AIR = 4,
    PLAYER_ANIM_RUN_SHOOT = 5,
    PLAYER_ANIM_AIR_SHOOT = 6,
    PLAYER_ANIM_DASH = 7,
    PLAYER_ANIM_DASH_SHOOT = 8,
    PLAYER_ANIM_STAND_SHOOT = 10,
    PLAYER_ANIM_DYING = 12,
    PLAYER_ANIM_WALL_SLIDE = 13,
    PLAYER_ANIM_WALL_KICK = 14,
    PLAYER_ANIM_WALL_SLIDE_SHOOT = 15,
    PLAYER_ANIM_WALL_KICK_SHOOT = 16,
    PLAYER_ANIM_INJURED = 17,
    PLAYER_ANIM_LADDER_GRAB = 18,
    PLAYER_ANIM_CLIMB = 19,
    PLAYER_ANIM_LADDER_TOP = 20,
    PLAYER_ANIM_TELEPORT_BEAM = 22,
    PLAYER_ANIM_DEATH_GROUND = 23,
    PLAYER_ANIM_DEATH_AIR = 24,
    PLAYER_ANIM_LADDER_SHOOT = 25,
};

// The one player character. The entity manager creates it, lists it under "Player" with an
// entry that never frees it, and deletes it at shutdown.
//
// Each tick the update runs its phases in a fixed order: frozen frame, teleport-in, death or
// damage intake, checkpoints, controls, positioning, movement, invulnerability, animation
// clock and charge sparks, camera pushers. The hitbox's x and y are its top-left corner.
//
// Controls are read from the player's own snapshot of the control records, refreshed only
// while no control lock is held, so anything that takes control away (a hit, death, a door,
// the console, a script) adds its own lock name and removes only that name.
//
// The class is split by concern: PlayerPony.cpp (states, damage, death, checkpoints),
// PlayerPonyControls.cpp (locks, snapshot), PlayerPonyMovement.cpp and PlayerPonyLadder.cpp
// (physics), PlayerPonyMech.cpp (riding the mech), PlayerPonyRender.cpp (animation, drawing,
// camera focus), BusterShot.cpp (shots) and ChargeSpark.cpp (charge sparks); the tuning that
// several of them share is in PlayerPonyTuning.h.
class PlayerPony : public RootEntity
{
public:
    PlayerPony();
    virtual ~PlayerPony();

    // The entity manager's player; constructs nothing.
    static PlayerPony *Get();

    // RootEntity overrides.
    void GetPosition(float &sX, float &sY, float &sZ) override;
    void GetSize(float &sW, float &sH) override;
    bool HasHitbox() override { return true; }
    void GetHitbox(Hitbox &sHitbox) override { sHitbox = mHitbox; }
    void SetPositionAutoCenter(float pX, float pY, float pZ) override;
    bool IsSideContact(int32_t pSide) override;
    void ApplyPush(float pX, float pY, float pZ) override;
    void Update() override;
    void Render() override;

    // The movement switch of the map manager and the camera, separate from the entity's own
    // enabled flag (which the "Player_" globals and the entity manager use).
    void Enable() { mMoveEnabled = 1; mMoveDisabled = 0; }
    void Disable() { mMoveEnabled = 0; mMoveDisabled = 1; }

    // Plain accessors.
    Hitbox *GetHitboxPtr() { return &mHitbox; }
    bool IsFacingLeft() const { return mFacingLeft != 0; }
    int32_t GetHealth() const { return mHealth; }
    int32_t GetPendingHeal() const { return mPendingHeal; }
    int32_t GetMaxHealth() const { return mMaxHealth; }
    void SetHealth(int32_t pHealth) { mHealth = pHealth; }
    void SetPendingHeal(int32_t pHeal) { mPendingHeal = pHeal; }
    void GetRespawnPosition(float &sX, float &sY) const { sX = mRespawnX; sY = mRespawnY; }
    void SetRespawnPosition(float pX, float pY) { mRespawnX = pX; mRespawnY = pY; }
    void SetStartPosition(float pX, float pY) { mStartX = pX; mStartY = pY; }
    int32_t GetSelectedWeapon() const { return mSelectedWeapon; }
    int32_t GetWeaponAmmo(int32_t pSlot) const;
    int32_t GetSubtankCount() const { return mSubtankCount; }
    float GetSubtankFill(int32_t pIndex) const;
    bool GetOptionFlag() const { return mDoubleTapOption != 0; }
    void SetOptionFlag(bool pFlag) { mDoubleTapOption = pFlag ? 1 : 0; }
    void FreezeForFrame() { mFrozen = 1; }
    void SetAnimateWhileFrozen(bool pFlag) { mAnimateWhileFrozen = pFlag ? 1 : 0; }
    void SetInWater(bool pFlag) { mInWater = pFlag ? 1 : 0; }
    bool IsInWater() const { return mInWater != 0; }
    void SetForcedAnimation(int32_t pSlot, int32_t pFrame) { mForcedSlot = pSlot; mForcedFrame = pFrame; }
    void SetAnimationSlot(int32_t pIndex, CorvelAnimation *pAnimation);
    CorvelAnimation *GetAnimationSlot(int32_t pIndex) const;
    void SetChargeAnimationSlot(int32_t pIndex, CorvelAnimation *pAnimation);
    void GetCheckpointLocation(float &sX, float &sY) const;
    Checkpoint *GetActiveCheckpoint() const { return rActiveCheckpoint; }
    bool IsControlDown(const char *pName);
    void SelectWeapon(int32_t pSlot);
    // The weapon of a slot 0 to 7; null outside.
    PlayerWeapon *GetWeapon(int32_t pSlot) const;

    // State reads for the rest of the game and for tests.
    void GetVelocity(float &sX, float &sY) const { sX = mVelX; sY = mVelY; }
    void SetVelocity(float pX, float pY) { mVelX = pX; mVelY = pY; }
    bool IsOnGround() const { return mOnGround != 0; }
    bool IsDashing() const { return mDashing != 0; }
    bool IsWallSliding() const { return mWallSliding != 0; }
    bool IsWallKicking() const { return mWallKicking != 0; }
    bool IsOnLadder() const { return mOnLadder != 0; }
    bool IsDying() const { return mDying != 0; }
    bool IsTeleporting() const { return mTeleporting != 0; }
    bool IsCharging() const { return mCharging != 0; }
    int32_t GetCharge() const { return mCharge; }
    int32_t GetInjuryTimer() const { return mInjuryTimer; }
    int32_t GetInvulnerability() const { return mInvulnCounter; }
    int32_t GetTeleportTimer() const { return mTeleportTimer; }
    int32_t GetDeathTimer() const { return mDeathTimer; }
    int32_t GetShotTimer() const { return mShotTimer; }
    int32_t GetAnimationTick() const { return mAnimTick; }
    int32_t GetShownFrame() const { return mShownFrame; }
    CorvelAnimation *GetCurrentAnimation() const { return rCurrentAnim; }
    // While invulnerable the body is hidden on two ticks out of four.
    bool IsFlickerHidden() const { return mInvulnCounter > 0 && mInvulnCounter % 4 <= 1; }

    // Map loading, the gears and the mech.
    void ResetForMapLoad();
    void ClearRespawnState();
    // The entity manager's special lists are about to be rebuilt: drop everything that
    // points into them.
    void ForgetSpecialObjects();
    // One object is leaving the special lists: drop it when it is her checkpoint or ladder.
    void ForgetSpecialObject(const void *pObject);
    void StopAndClearInput();
    void BeginTeleportIn();
    void Respawn();

    // Sub-tanks.
    void FillSubtanks(int32_t pAmount);
    void DrainSubtank(int32_t pIndex, int32_t pAmount);
    void NormaliseSubtanks();

    // Control locks and the control snapshot.
    bool IsControlLocked() const;
    void AddControlLock(const char *pName);
    void RemoveControlLock(const char *pName);
    void RemoveControlLocksByPrefix(const char *pPrefix);
    void RefreshControlSnapshot();
    void ClearControlEdges();
    NamedLinkedList *GetControlSnapshot() const { return mControlSnapshot; }

    // Movement.
    void UpdateMovement();
    void ProbeContacts();
    void UpdateGroundMovement();
    void UpdateAirMovement();
    void UpdateLadder();
    RootZone *FindLadder(bool pUp);
    void GrabLadder(RootZone *pLadder);
    void LeaveLadder();
    bool IsInSlipZone();
    void SpawnDashKickup();
    void SpawnDustCloud();
    void SpawnDustCloudSlide();

    // Riding the mech. BoardMech is called by the mech when it takes her; LeaveMech sets her
    // back on foot and releases it; ForgetMech is the mech's own notice that it is going away.
    void BoardMech(MechSuit *pMech);
    void LeaveMech();
    void ForgetMech(MechSuit *pMech);
    MechSuit *GetMech() const { return rMech; }
    int32_t GetMechEntryTimer() const { return mMechEntryTimer; }
    void UpdateMechMovement();
    void ChooseMechAnimation();

    // Shots and charge sparks.
    void Shoot();
    bool FireSelectedWeapon();
    void GetShotOrigin(uint8_t &sFacingRight, float &sDX, float &sDY);
    void UpdateChargeSparks();
    void RenderChargeSparks(bool pFlipped);
    int32_t CountLiveSparks() const;

    // Drawing and camera.
    Bitmap *ChooseAnimationFrame();
    void RenderHitbox();
    void RenderStatusPortrait();
    void ComputeCameraFocus(float &sX, float &sY);
    void SetCameraVars(int32_t pXMode, float pXA, float pXB, int32_t pYMode, float pYA, float pYB);

    // Indices into the controls FetchMoveControls fills, shared by the ground, air, ladder
    // and mech steps.
    enum MoveControl
    {
        CTL_UP,
        CTL_DOWN,
        CTL_LEFT,
        CTL_RIGHT,
        CTL_JUMP,
        CTL_SHOOT,
        CTL_DASH,
        CTL_COUNT,
    };

    // The directions held, opposed ones cancelling.
    struct MoveDirections
    {
        bool mUp, mDown, mLeft, mRight;
    };

private:
    // Her animations (slots, the current and previous one, the sparks') belong to the data
    // library; one it destroys is dropped wherever she keeps it.
    static void ReleaseLibraryObject(void *pPlayer, void *pObject);
    void RebuildHitbox();
    void TickTeleport();
    void TickDeath();
    void CheckDamageZones();
    void CheckProjectiles();
    void ReactToHit();
    void UpdateCheckpoints();
    void SparePitHit();
    bool AdvanceInjury();
    void TickInjury();
    void EndCharge(bool pFire);
    void UpdateShootControl(ControlState *pShoot, bool pUseLatch);
    void ApplyWeaponHotkeys();
    void StartDash(bool pOnGround);
    // Phases shared by the steps on foot and in the mech.
    static MoveDirections ReadDirections(ControlState **pControls);
    static void ArmMoveFlags(bool pGround);
    void ClampVelocity(float pRiseLimit);
    bool CatchLadder(const MoveDirections &pDir);
    void SettleOnGround();
    void EndWallSlide();
    bool CountGroundTick(bool pSteering);
    void AdvanceAirTimers();
    void SinkInWater(bool pSlowGravity);
    // Phases of the ground step, in their order.
    void SteerOnGround(ControlState **pControls, const MoveDirections &pDir, float pFooting, bool &sDashRequest);
    void UpdateGroundDash(ControlState **pControls, bool pDashRequest);
    void StepRunStartTimer();
    void StartGroundJump(ControlState *pJump);
    void ApplyGroundKnockback();
    // The mech's steps and the phases of its ground step, in their order.
    bool MechGroundStep(ControlState **pControls);
    bool MechAirStep(ControlState **pControls);
    void SteerMech(bool pLeft, bool pRight);
    void UpdateMechDashControl(ControlState *pDash);
    void RunMechDash();
    void StartMechJump(bool pJump, bool pLeft, bool pRight);
    void HoldMechForKnockback();
    void RestoreFootBox();
    void EndAirDash();
    void UpdateWallSlide(bool pLeft, bool pRight);
    void UpdateWallKick(ControlState *pJump, ControlState *pDash);
    void UpdateDoubleTap(bool pPressed, bool pLeft, bool &sDashRequest);
    bool ReachLadderFoot();
    void StandAfterLadder();
    void UpdateLadderShooting(ControlState *pShoot, bool pLeft, bool pRight, bool pMidLadder);
    bool FetchMoveControls(ControlState **sControls);
    float FootingFactor();
    bool IsKeepingDash(ControlState *pDash, ControlState *pLeft, ControlState *pRight);
    void ChooseSlotAndFrame(int32_t &sSlot, int32_t &sFrame);
    void ChooseGroundSlot(int32_t &sSlot, int32_t &sFrame);
    void ChooseAirSlot(int32_t &sSlot, int32_t &sFrame);
    void RenderEffects(float pXOffset);
    float FocusAxis(int32_t pMode, float pFocus, float pCentre, float pA, float pB, float pVelocity, float &sOffset);

    // Health and damage.
    uint8_t mDashEnabled;
    uint8_t mKnockbackPending;
    uint8_t mKnockedBack;
    uint8_t mPitHitSpared;
    int32_t mInjuryTimer;
    int32_t mInvulnCounter;
    int32_t mInvulnLength;
    int32_t mInvulnStart;
    int32_t mHealth;
    int32_t mPendingHeal;
    int32_t mMaxHealth;

    // Physics constants.
    float mGravity;
    float mWallSlideGravity;
    float mFallCap;
    float mWallSlideFallCap;
    float mRiseCap;
    float mRunSpeed;
    float mDashSpeed;
    float mJumpSpeed;
    float mKnockbackX;
    float mKnockbackY;

    // Motion.
    uint8_t mInSlipZone;
    float mVelX, mVelY, mVelZ;
    float mPushX, mPushY, mPushZ;
    float mAccelX, mAccelY, mAccelZ;
    float mCapX, mCapY, mCapZ;
    float mDrawOffsetX, mDrawOffsetY;
    Hitbox mHitbox;
    float mBoxW, mBoxH;

    // Contacts and state flags.
    uint8_t mCeiling;
    uint8_t mBlockedLeft;
    uint8_t mBlockedRight;
    uint8_t mWallReachLeft;
    uint8_t mWallReachRight;
    uint8_t mFacingLeft;
    uint8_t mStandingStill;
    uint8_t mOnGround;
    uint8_t mFalling;
    uint8_t mWallSliding;
    uint8_t mWallKicking;
    uint8_t mDashing;
    uint8_t mDashJump;
    uint8_t mInWater;
    int32_t mKickEffectTimer;
    uint8_t mKickFacing;
    uint8_t mJumpRising;

    // Timers.
    int32_t mIdleTimer;
    int32_t mRunStartTimer;
    int32_t mDashTimer;
    int32_t mDashEndTimer;
    int32_t mAirTimer;
    int32_t mGroundTimer;
    int32_t mWallSlideTimer;
    int32_t mWallKickTimer;
    int32_t mShotTimer;
    uint8_t mKickLockLeft;
    uint8_t mKickLockRight;
    int32_t mSinceDashTimer;

    // Animation.
    int32_t mForcedSlot;
    int32_t mForcedFrame;
    int32_t mAnimTick;
    uint8_t mOnLadderDraw;
    int32_t mShownFrame;
    uint8_t mFrozen;
    uint8_t mAnimateWhileFrozen;
    CorvelAnimation *rPreviousAnim;
    CorvelAnimation *rCurrentAnim;
    CorvelAnimation *rAnimSlots[PLAYER_ANIMATION_SLOTS];
    CorvelAnimation *rChargeAnimSlots[PLAYER_CHARGE_ANIMATION_SLOTS];
    LibraryHolder mLibraryHolder;
    uint8_t mMoveEnabled;
    uint8_t mMoveDisabled;

    // Controls.
    NamedLinkedList *mControlSnapshot;
    NamedLinkedList *mControlLockList;
    uint8_t mControlsLocked;
    uint8_t mDoubleTapOption;
    int32_t mDoubleTapTimer;
    uint8_t mDoubleTapLeft;
    uint8_t mAirDashEnabled;
    uint8_t mAirDashAvailable;

    // Buster.
    uint8_t mCharging;
    int32_t mCharge;
    int32_t mSelectedWeapon;
    PlayerWeapon *mWeapons[PLAYER_WEAPON_SLOTS];

    // Mech.
    uint8_t mMechDashJump;
    int32_t mMechEntryTimer;
    int32_t mTurnTimer;
    MechSuit *rMech;

    // Ladder.
    uint8_t mOnLadder;
    int32_t mLadderTopPose;
    int32_t mLadderTimer;
    int32_t mLadderClimb;
    RootZone *rLadder;

    // Start, checkpoint, sparks, death, teleport, respawn.
    float mStartX, mStartY;
    Checkpoint *rActiveCheckpoint;
    int32_t mSparkAnchorX, mSparkAnchorY;
    ChargeSpark mSparks[CHARGE_SPARK_COUNT];
    int32_t mSparkClock;
    uint8_t mDying;
    int32_t mDeathTimer;
    uint8_t mTeleporting;
    int32_t mTeleportTimer;
    float mRespawnX, mRespawnY;

    // Sub-tanks.
    int32_t mSubtankCount;
    int32_t mSubtankCapacity;
    float mSubtankFill[PLAYER_SUBTANK_MAX];

    // Camera focus settings.
    uint8_t mCamXMode, mCamYMode;
    float mCamXOffset, mCamYOffset;
    float mCamXA, mCamXB, mCamYA, mCamYB;
};

// Registers the "Player_" globals.
void RegisterPlayerLua(lua_State *L);

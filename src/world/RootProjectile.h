#pragma once
#include <cstdint>

#include "core/Geometry.h"
#include "core/data/LibraryHolder.h"
#include "core/render/Drawing.h"
#include "world/RootEntity.h"

class Bitmap;
class CorvelAnimation;
class NamedLinkedList;
class RootProjectile;

// Native routines that stand in for a logic or render script, and the frame callback of the
// weapon projectiles (it answers the frame and writes the drawing offsets).
typedef void (*ProjectileRoutine)(RootProjectile *pProjectile);
typedef Bitmap *(*ProjectileFrameCallback)(RootProjectile *pProjectile, int32_t &sXOffset, int32_t &sYOffset);

// Event codes handed to the hook scripts as their one "N" argument.
enum ProjectileHookCode : int32_t
{
    PROJECTILE_HOOK_LOGIC = 0,
    PROJECTILE_HOOK_RENDER = 1,
    PROJECTILE_HOOK_BLOCK = 2,
    PROJECTILE_HOOK_IMPACT = 3,
    PROJECTILE_HOOK_BUSTERTARGET = 4,
    PROJECTILE_HOOK_DESTRUCT = 5,
    PROJECTILE_HOOK_RESET = 6,
};

// A plain projectile left outside the camera frame by more than this many units is destroyed.
#define PROJECTILE_OFFSCREEN_MARGIN 160.0f

// Base of every projectile; type codes 200 to 299 all name a RootProjectile. The entity
// manager reads the target flags and buster flag directly and asks the hit tests through the
// virtual table.
//
// Target flags: bit 1 = can hit the player, bit 2 = can hit enemies.
// Owner id: object number of the entity the projectile belongs to (an enemy's contact box or
// hitbox box), 0 for a free projectile.
//
// Update is a template: it counts the tick, moves by the speeds (unless the projectile steers
// itself), applies the off-screen rule (unless blocked), then calls the hooks in this order:
// RunLogic; for a buster shot the blocker sweep and RunBlockScript; for a buster target the
// buster sweep, RunBusterTargetScript and the shot's RunImpactScript; for anything else
// RunImpactScript when it overlaps the player; last InterceptProjectile for every projectile
// it overlaps, unless immune. Subclasses override the hooks; the base hooks run the script
// paths with the projectile pushed as the library's active object.
//
// A kind that scripts make as a plain projectile cannot be a subclass; it plugs in through
// native routines instead. A logic script path that names an override (FindProjectileOverride,
// world/FlameProjectile.h) installs its routines in place of the script; any other path, or
// null, removes them.
// - Native logic: called by the base RunLogic once a tick when no logic script is set, after
//   the move and the off-screen rule. It may place the projectile and set its destruct flag;
//   RunLogic refits the box to the position afterwards.
// - Native render: called first by the base Render. It picks the frame with SetFrame (or
//   keeps the last one); Render draws that frame at the draw offsets cut to whole units.
// - Frame callback: asked by Render when there is no native render. It returns the frame
//   (null draws no picture) and writes its whole-unit drawing offsets.
// Without these, Render takes the frame from the animation path, else from the render script.
class RootProjectile : public RootEntity
{
public:
    RootProjectile();
    virtual ~RootProjectile();

    uint8_t GetTargetFlags() const { return mTargetFlags; }
    uint8_t IsBuster() const { return mIsBuster; }
    int32_t GetOwnerID() const { return mOwnerID; }

    // The tests the entity manager's hit sweeps call.
    virtual bool HitTestHitbox(Hitbox pOther);
    virtual bool HitTestPolygon(PolygonArrays pPolygon);

    // RootEntity overrides.
    void GetPosition(float &sX, float &sY, float &sZ) override;
    bool IsSideBlocked(int32_t pSide) override;
    bool ContainsPoint(int32_t pX, int32_t pY) override;
    SolidReach GetSolidReach(IntRect &sBox) override;
    bool HasHitbox() override { return true; }
    void GetHitbox(Hitbox &sHitbox) override { sHitbox = mHitbox; }
    void OnDestroy() override;
    void Reset() override;
    void Update() override;
    void Render() override;

    // Hooks.
    virtual void RunBlockScript();
    virtual void RunImpactScript();
    virtual void RunBusterTargetScript();
    virtual void RunLogic();
    virtual void InterceptProjectile(RootProjectile *pOther);

    // Placement.
    void SetPosition(float pX, float pY);
    void SetDimensions(float pLft, float pTop, float pRgt, float pBot);
    void UpdateHitbox();
    void SetSpeeds(float pX, float pY) { mSpeedX = pX; mSpeedY = pY; }
    void GetSpeeds(float &sX, float &sY, float &sZ) const;
    // Whoever writes through it may move an obstacle, so the entity manager hears of it.
    Hitbox *GetHitboxPtr();
    void Move(float pDX, float pDY, float pDZ);
    void MoveBySpeeds();
    void WallCrawl(int32_t pSteps);

    // Scripts. Each setter stores a copy; null clears.
    void SetLogicScript(const char *pPath);
    void SetRenderScript(const char *pPath);
    void SetBlockScript(const char *pPath);
    void SetImpactScript(const char *pPath);
    void SetDestructScript(const char *pPath);
    void SetResetScript(const char *pPath);
    void SetBusterTarget(uint8_t pFlag, const char *pPath);
    const char *GetLogicScript() const { return mLogicScript; }
    const char *GetRenderScript() const { return mRenderScript; }
    const char *GetBlockScript() const { return mBlockScript; }
    const char *GetImpactScript() const { return mImpactScript; }
    const char *GetDestructScript() const { return mDestructScript; }
    const char *GetResetScript() const { return mResetScript; }
    const char *GetBusterTargetScript() const { return mBusterTargetScript; }
    uint8_t IsBusterTarget() const { return mBusterTarget; }
    bool HasNativeLogic() const { return rNativeLogic != nullptr; }
    bool HasNativeRender() const { return rNativeRender != nullptr; }
    void SetNativeLogic(ProjectileRoutine pRoutine) { rNativeLogic = pRoutine; }
    void SetNativeRender(ProjectileRoutine pRoutine) { rNativeRender = pRoutine; }
    void SetNativeFrameCallback(ProjectileFrameCallback pCallback) { rFrameCallback = pCallback; }

    // Flags and numbers.
    int32_t GetTicksAlive() const { return mTicksAlive; }
    uint8_t GetIgnoreDamage() const { return mIgnoreDamage; }
    void SetIgnoreDamage(uint8_t pFlag) { mIgnoreDamage = pFlag; }
    void SetTargetFlags(uint8_t pFlags) { mTargetFlags = pFlags; }
    int32_t GetDamage() const { return mDamage; }
    void SetDamage(int32_t pDamage) { mDamage = pDamage; }
    int32_t GetDamageCounter() const { return mDamageCounter; }
    void AddDamageCounter(int32_t pAmount) { mDamageCounter += pAmount; }
    void SetIsBuster(uint8_t pFlag) { mIsBuster = pFlag; }
    uint8_t GetSelfMoving() const { return mSelfMoving; }
    void SetSelfMoving(uint8_t pFlag) { mSelfMoving = pFlag; }
    uint8_t GetWeaponFlagA() const { return mWeaponFlagA; }
    void SetWeaponFlagA(uint8_t pFlag) { mWeaponFlagA = pFlag; }
    uint8_t GetWeaponFlagC() const { return mWeaponFlagC; }
    void SetWeaponFlagC(uint8_t pFlag) { mWeaponFlagC = pFlag; }
    uint8_t IsPiercing() const { return mPiercing; }
    void SetPiercing(uint8_t pFlag) { mPiercing = pFlag; }
    uint8_t GetHitOnce() const { return mHitOnce; }
    void SetHitOnce(uint8_t pFlag) { mHitOnce = pFlag; }
    uint8_t HasInvincibleTimer() const { return mInvincibleTimerFlag; }
    int32_t GetInvincibleTimerTicks() const { return mInvincibleTimerTicks; }
    void SetInvincibleTimer(uint8_t pFlag, int32_t pTicks);
    uint8_t IsReflecting() const { return mIsReflecting; }
    void SetReflecting(uint8_t pFlag) { mIsReflecting = pFlag; }
    uint8_t GetIgnoreClips() const { return mIgnoreClips; }
    void SetIgnoreClips(uint8_t pFlag) { mIgnoreClips = pFlag; }
    uint8_t IsImmuneToInterception() const { return mImmuneToInterception; }
    void SetImmuneToInterception(uint8_t pFlag) { mImmuneToInterception = pFlag; }
    uint8_t HasOwner() const { return mOwnerPresent; }
    void SetOwnerID(int32_t pID);
    // The enemy whose puppet polygons stand in for this box in the hit tests; held by object
    // number, so a destroyed enemy is never reached.
    void SetOwnerEnemy(RootEntity *pEnemy);
    uint8_t HasOwnerEnemy() const { return mOwnerEnemyPresent; }
    // Tells the owning enemy (found by owner id) that one of its boxes struck the player.
    void NotifyOwnerEnemy();
    uint8_t GetBlockAutoOffscreenDestruction() const { return mBlockOffscreen; }
    void SetBlockAutoOffscreenDestruction(uint8_t pFlag) { mBlockOffscreen = pFlag; }
    uint8_t GetBusterBlockerFlag() const { return mBusterBlocker; }
    void SetBusterBlocker(uint8_t pFlag) { mBusterBlocker = pFlag; }
    uint8_t IsObstacle() const { return mIsObstacle; }
    void SetObstacle(uint8_t pFlag);
    int32_t GetPolygonIndex() const { return mPolygonIndex; }
    void SetPolygonIndex(int32_t pIndex) { mPolygonIndex = pIndex; }

    // Drawing.
    int32_t GetFlipFlag() const { return mFlipFlag; }
    void SetFlipFlag(int32_t pFlag) { mFlipFlag = pFlag; }
    float GetRotation() const { return mRotation; }
    void SetRotation(float pDegrees) { mRotation = pDegrees; }
    void SetUnderlay(float pR, float pG, float pB);
    uint8_t GetShowUnderlay() const { return mShowUnderlay; }
    void SetAnimationDrawingOffsets(float pX, float pY);
    void GetAnimationDrawingOffsets(float &sX, float &sY) const;
    void SetAnimationLibraryPath(const char *pPath);
    const char *GetAnimationLibraryPath() const { return mAnimationPath; }
    void ResetAnimationTimer() { mAnimationTimer = 0; }
    int32_t GetAnimationTimer() const { return mAnimationTimer; }
    void SetIgnoreNoAnimationError(uint8_t pFlag) { mIgnoreNoAnimationError = pFlag; }
    void SetFrame(const char *pAnimationPath, int32_t pFrame, float pXOffset, float pYOffset);
    Bitmap *GetFrame() const { return rFrame; }
    Bitmap *GetProjectileAnimationFrame();

    // Hit bookkeeping.
    void AddHitRecord(int32_t pID);
    bool IsInHitList(int32_t pID) const;
    bool IsBusterBlocker();

protected:
    // Runs a script path with the projectile active and the event code as its "N" argument.
    void RunHookScript(const char *pPath, int32_t pCode);
    void ApplyOffscreenRule();
    void RunHitSweeps();
    // The reach of a ContainsPoint that holds the hitbox's points, right and bottom edges out.
    SolidReach HitboxReach(IntRect &sBox) const;

    uint8_t mIgnoreDamage;
    int32_t mTicksAlive;
    uint8_t mSelfMoving;
    ProjectileRoutine rNativeLogic;
    char *mLogicScript;
    uint8_t mIsObstacle;
    uint8_t mImmuneToInterception;
    uint8_t mWeaponFlagA;
    uint8_t mPiercing;
    int32_t mDamage;
    int32_t mDamageCounter;
    uint8_t mWeaponFlagC;
    uint8_t mInvincibleTimerFlag;
    int32_t mInvincibleTimerTicks;
    uint8_t mIsBuster;
    uint8_t mBusterBlocker;
    uint8_t mBusterTarget;
    char *mBusterTargetScript;
    uint8_t mTargetFlags;
    uint8_t mHitOnce;
    NamedLinkedList *mHitList;
    uint8_t mIsReflecting;
    uint8_t mIgnoreClips;
    uint8_t mBlockOffscreen;
    float mOffsetLft;
    float mOffsetTop;
    float mOffsetRgt;
    float mOffsetBot;
    float mOffsetUnusedA;
    float mOffsetUnusedB;
    Hitbox mHitbox;
    int32_t mPolygonIndex;
    uint8_t mOwnerEnemyPresent;
    int32_t mOwnerEnemyID;
    uint8_t mOwnerPresent;
    int32_t mOwnerID;
    char *mImpactScript;
    char *mBlockScript;
    char *mDestructScript;
    char *mResetScript;
    float mSpeedX;
    float mSpeedY;
    float mSpeedZ;
    int32_t mFlipFlag;
    int32_t mAnimationTimer;
    float mRotation;
    uint8_t mShowUnderlay;
    ColorRGBA mUnderlayColour;
    ProjectileRoutine rNativeRender;
    ProjectileFrameCallback rFrameCallback;
    float mDrawOffsetX;
    float mDrawOffsetY;
    char *mAnimationPath;
    uint8_t mIgnoreNoAnimationError;
    Bitmap *rFrame;
    char *mRenderScript;

private:
    // The frame is a library entry; a script may purge it between setting and drawing it.
    static void ReleaseFrame(void *pProjectile, void *pObject);
    LibraryHolder mFrameHolder;
};

// The animation stored at a library path, or null when the entry is missing or is not an
// animation.
CorvelAnimation *LookUpAnimation(const char *pPath);

// Sets the destruct flag of every projectile in the entity list but the moving platforms; the
// entity manager's next update deletes them.
void DestroyAllProjectiles();

// Object number of the projectile that the player's damage intake recorded as having hit the
// player this tick; 0 when none. The player clears and sets it, "HitLastTick" reads it.
extern int32_t xProjectileLastHitPlayer;

// Registers the "Proj_" globals.
void RegisterProjLua(lua_State *L);

#pragma once
#include <cstdint>

#include "core/Hitbox.h"
#include "world/RootEntity.h"

class AIAttackHandler;
class AIMovementHandler;
class EnemyAppearance;
class EnemyHealth;
class EnemyHitbox;
class RootProjectile;

#define ENEMY_DEFAULT_NAME "Unnamed Enemy"
#define ENEMY_DAMAGE_TABLE_SIZE 32
// Extra margin around the view outside of which an enemy despawns.
#define ENEMY_DESPAWN_MARGIN 125.0f
// The respawn wait a dying enemy hands to its spawn point.
#define ENEMY_RESPAWN_TICKS 240.0f

// Every scripted enemy and boss. The class has no behaviour of its own kind: constructor and
// logic scripts fill its five components (appearance, health, per-frame hitboxes, movement
// and attack queues) and drive it through the "Enemy_" bindings.
//
// Its contact projectile and hitbox boxes are entities the entity manager owns. The enemy
// keeps pointers to them only while they live: a projectile that names this enemy as its
// owner reports its destruction (ForgetOwnedProjectile), and the enemy gives up its claim on
// them (owner id cleared, destruct flag set) before it goes, so neither side ever reaches a
// freed object whichever is destroyed first.
class Enemy : public RootEntity
{
public:
    explicit Enemy(const char *pName);
    ~Enemy() override;

    // RootEntity overrides.
    void GetPosition(float &sX, float &sY, float &sZ) override;
    bool HasHitbox() override { return true; }
    void GetHitbox(Hitbox &sHitbox) override { sHitbox = mHitbox; }
    void SetPositionAutoCenter(float pX, float pY, float pZ) override;
    bool IsSideBlocked(int32_t pSide) override;
    void ApplyPush(float, float, float) override {}
    void Update() override;
    void TickAlways() override { mHitPlayer = 0; }
    void Render() override;

    void UpdateHitbox();
    void SetBoundingBoxSize(float pWidth, float pHeight);

    // Components.
    EnemyAppearance *GetAppearance() const { return mAppearance; }
    EnemyHealth *GetHealth() const { return mHealth; }
    EnemyHitbox *GetEnemyHitbox() const { return mHitboxes; }
    AIMovementHandler *GetMovementHandler() const { return mMovementHandler; }
    AIAttackHandler *GetAttackHandler() const { return mAttackHandler; }
    RootProjectile *GetContactProjectile() const { return rContact; }
    Hitbox *GetHitboxPtr() { return &mHitbox; }

    // Properties.
    void SetLogicScript(const char *pPath);
    void SetDestructionScript(const char *pPath);
    void SetHitReactionScript(const char *pPath);
    void SetDamageSoundEffect(const char *pName);
    void SetInvincibleSoundEffect(const char *pName);
    void SetInvincibleMaxTime(int32_t pTicks) { mInvincibleMaxTime = pTicks; }
    void SetAllowDeath(uint8_t pFlag) { mAllowDeath = pFlag; }
    void SetIgnorePlatformCollision(uint8_t pFlag) { mIgnorePlatformCollision = pFlag; }
    void SetShowUnderlayHitbox(uint8_t pFlag) { mShowUnderlay = pFlag; }
    void SetDoNotDespawnOffScreen() { mDoNotDespawn = 1; }
    void SetSpawnPointCoordinates(float pX, float pY) { mSpawnX = pX; mSpawnY = pY; }
    void SetSpawnPointId(int32_t pID) { mSpawnPointID = pID; }
    void SetHitPlayer() { mHitPlayer = 1; }
    void SetIgnoreDamage(uint8_t pFlag);
    void SetContactDamage(int32_t pDamage);
    int32_t GetContactDamage() const;
    void SetUseBoundingBoxAsHitbox(uint8_t pFlag);
    void SetBusterBlocker(uint8_t pFlag);
    void SetUsePuppetHitboxes(uint8_t pFlag);
    void SetWaitTimeBeforeEnabled(int32_t pTicks);
    void SetDamageTakenFrom(int32_t pIndex, int32_t pValue);
    void SetMoveEntityFlag(const char *pFlagName, uint8_t pValue);
    void OverrideAppearance(int32_t pAnimationIndex, int32_t pFrame, int32_t pFacing);
    void SetPuppetDrawn() { mPuppetDrawn = 1; }

    const char *GetLogicScript() const { return mLogicScript; }
    uint8_t GetIgnorePlatformCollision() const { return mIgnorePlatformCollision; }
    uint8_t GetHitPlayer() const { return mHitPlayer; }
    void GetSpawnPointCoordinates(float &sX, float &sY) const { sX = mSpawnX; sY = mSpawnY; }
    int32_t GetSpawnPointId() const { return mSpawnPointID; }
    uint8_t GetAllowBotSlopes() const { return mAllowBotSlopes; }
    uint8_t GetAllowTopSlopes() const { return mAllowTopSlopes; }
    uint8_t GetAllowAirWalk() const { return mAllowAirWalk; }
    uint8_t GetUseBoundingBoxAsHitbox() const { return mUseBoxAsHitbox; }
    uint8_t GetPuppetDrawn() const { return mPuppetDrawn; }
    int32_t GetInvulnerability() const { return mInvulnerability; }
    int32_t GetWeaponCInvulnerability() const { return mWeaponCInvulnerability; }
    int32_t GetDamageThisTick() const { return mDamageThisTick; }
    int32_t GetDamageTakenFrom(int32_t pIndex) const;
    int32_t GetWaitTimeLeft() const { return mWaitLeft; }

    // Queries.
    int32_t GetDamageFromProjectile(RootProjectile *pProjectile) const;
    bool IsOffScreen() const;
    bool IsOutsideDespawnArea() const;
    bool IsSideMovable(bool pLeft);
    float GetDistanceFromEntity(RootEntity *pEntity);
    // Loads the three movement flags into the level collision for the next collision move.
    void LoadMovementFlags() const;

    void RunDestructionScript();
    // Takes the contact projectile out of the entity manager (the enemy then owns it) and
    // clears the hitboxes.
    void DetachCollision();
    void ForgetOwnedProjectile(RootProjectile *pProjectile);

    // A projectile that names an owner reports its destruction here.
    static void OwnedProjectileGone(int32_t pOwnerID, RootProjectile *pProjectile);
    // The live enemy with that object number, or null.
    static Enemy *FindLive(int32_t pID);
    // Makes a new, registered enemy what its constructor script says: the enemy becomes active
    // over the caller's object, then the script at pPath (none: nothing runs; nor without Lua)
    // runs with the pArgCount texts as its only arguments (a null slot passes ""). The enemy stays
    // pushed for the caller to pop. Without a library nothing happens and false is returned;
    // false too when the script could not be loaded (its own line says why; the enemy is pushed).
    static bool RunConstructor(Enemy *pEnemy, const char *pPath, int32_t pArgCount, const char *const *pArgs);
    static void KillAllEnemies();

    // The boss health bar's target (the bar holds it by object number) and how the bar reads
    // its health; boot installs ReadHealthOf as the bar's reader.
    static void BecomeBossBarTarget(Enemy *pEnemy);
    static void PurgeBossBarTarget();
    static Enemy *GetBossBarTarget();
    static int32_t ReadHealthOf(RootEntity *pTarget);

private:
    void CheckBoundingBoxDamage();
    void TakeDamageIntake();
    void ApplyOutcome(int32_t pFirstDamage);
    void UpdateAppearance();

    int32_t mWaitSetting;
    int32_t mWaitLeft;
    int32_t mSpawnPointID;
    float mSpawnX, mSpawnY;
    float mOffsetLft, mOffsetTop, mOffsetRgt, mOffsetBot;
    Hitbox mHitbox;
    uint8_t mUseBoxAsHitbox;
    RootProjectile *rContact;
    uint8_t mOwnsContact;
    AIMovementHandler *mMovementHandler;
    uint8_t mIgnorePlatformCollision;
    uint8_t mHitPlayer;
    AIAttackHandler *mAttackHandler;
    uint8_t mOverridePending;
    int32_t mOverrideFrame;
    int32_t mOverrideAnimation;
    int32_t mOverrideFacing;
    EnemyAppearance *mAppearance;
    uint8_t mIgnoreDamage;
    EnemyHitbox *mHitboxes;
    uint8_t mUsePuppetHitboxes;
    EnemyHealth *mHealth;
    int32_t mDamageThisTick;
    uint8_t mWeaponCMark;
    char *mDestructionScript;
    int32_t mWeaponCInvulnerability;
    int32_t mInvulnerability;
    int32_t mInvincibleMaxTime;
    int8_t mDamageTakenFrom[ENEMY_DAMAGE_TABLE_SIZE];
    char *mInvincibleSound;
    char *mDamageSound;
    uint8_t mAllowDeath;
    char *mLogicScript;
    char *mHitReactionScript;
    uint8_t mDoNotDespawn;
    uint8_t mAllowBotSlopes, mAllowTopSlopes, mAllowAirWalk;
    uint8_t mShowUnderlay;
    uint8_t mPuppetDrawn;
};

// The enemy whose damage intake is running a projectile's impact or block hook; null
// otherwise. Weapon projectiles read it from inside those hooks.
extern Enemy *xEnemyStruck;

// The "Warning, current active object is not Enemy type." check of the "Enemy_" bindings.
bool IsEnemyActive();

// Registers the "Enemy_", "Enemy_Appearance_" and "Enemy_Health_" globals.
void RegisterEnemyLua(lua_State *L);

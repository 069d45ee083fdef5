#pragma once
#include <cstdint>

#include "core/Hitbox.h"
#include "core/RootObject.h"

class Enemy;
class EnemyAppearance;
class EnemyHealth;
class RootProjectile;
struct lua_State;

#define ENEMYHITBOX_MAX_BOXES 64
#define ENEMYHITBOX_MAX_ANIMATIONS 256
#define ENEMYHITBOX_MAX_FRAMES 1024
#define ENEMYHITBOX_POLYGON_VERTICES 4
// Where a box without data in the current frame waits: it can neither hurt nor be hit.
#define ENEMYHITBOX_PARK -1000.0f

struct EnemyHitboxRecord
{
    float mX;
    float mY;
    float mW;
    float mH;
    uint8_t mSet;
};

// One puppet slot's quad in world space. A slot that shows no region has no vertices, so it
// neither hits nor is hit instead of keeping where it last was.
struct EnemyPuppetPolygon
{
    int32_t mCount;
    float mX[ENEMYHITBOX_POLYGON_VERTICES];
    float mY[ENEMYHITBOX_POLYGON_VERTICES];
    uint8_t mBlocksBuster;
};

// An enemy's per-frame damage boxes and its damage intake through them. The boxes are
// projectiles owned by the entity manager; this object refers to them by slot and learns of
// their destruction through the enemy (ForgetBox), so it never touches a freed box. The
// record table keeps the dimensions it was built with; every access checks against them, so
// counts changed after the table was built can never reach past it.
class EnemyHitbox : public RootObject
{
public:
    EnemyHitbox();
    ~EnemyHitbox() override;

    void SetOwner(Enemy *pOwner) { rOwner = pOwner; }
    void SetNumberOfHitboxes(int32_t pCount);
    void SetNumberOfAnimations(int32_t pCount);
    void SetNumberOfFramesForAnimation(int32_t pAnimation, int32_t pFrames);
    void SetAnimationSize(int32_t pWidth, int32_t pHeight);
    void CalculateHitboxes();
    void SetHitboxData(int32_t pAnimation, int32_t pFrame, int32_t pFacing, int32_t pBox, float pX, float pY, float pW, float pH);
    bool IsHitboxDataSet(int32_t pAnimation, int32_t pFrame, int32_t pFacing, int32_t pBox);
    void CalculateMissingHitboxes();
    void SetIgnoreMissingHitboxData() { mIgnoreMissing = 1; }
    void DeriveFromAnimation(int32_t pAnimation, int32_t pFrame, int32_t pFacing);
    void ClearHitboxes();
    void SetIgnoreDamage(uint8_t pFlag) { mIgnoreDamage = pFlag; }
    void SetDamage(int32_t pDamage);
    void SetBusterBlocker(uint8_t pFlag);
    void MakeBoxActive(int32_t pIndex);

    int32_t GetBoxCount() const { return mBoxCount; }
    RootProjectile *GetBox(int32_t pIndex) const;
    int32_t GetNumberOfAnimations() const { return mAnimationCount; }
    int32_t GetDamageThisTick() const { return mDamageThisTick; }
    uint8_t GetWeaponCMark() const { return mWeaponCMark; }
    uint8_t GetBusterBlocker() const { return mBusterBlocker; }
    const EnemyHitboxRecord *GetRecord(int32_t pAnimation, int32_t pFrame, int32_t pFacing, int32_t pBox) const;
    // The enemy passes on the destruction of one of its boxes.
    void ForgetBox(RootProjectile *pBox);
    // Marks every box for destruction and lets go of them (the enemy leaves the world).
    void ReleaseBoxes();

    void Update(const Hitbox &pOwnerBox, EnemyAppearance *pAppearance, EnemyHealth *pHealth);
    void CollectDamage(int32_t pAnimation, int32_t pFrame, int32_t pFacing, EnemyHealth *pHealth);
    // One polygon per puppet slot, following the slots once the puppet has been drawn.
    void UpdatePuppetHitboxes(EnemyAppearance *pAppearance);
    // Box-mode intake until the polygons are ready, then the polygons once the puppet has
    // been drawn often enough for its pose to be settled.
    void CollectPuppetDamage(EnemyHealth *pHealth);
    int32_t GetPuppetHitboxCount() const { return mPolygonCount; }
    const EnemyPuppetPolygon *GetPuppetHitboxes() const { return mPolygons; }
    uint8_t ArePuppetPolygonsReady() const { return mPolygonsReady; }
    uint8_t IsPuppetDrawnEnough() const { return mPuppetDrawnEnough; }

private:
    EnemyHitboxRecord *RecordAt(int32_t pAnimation, int32_t pFrame, int32_t pFacing, int32_t pBox) const;
    void FreeTable();

    RootProjectile **mBoxes;
    int32_t mBoxCount;
    EnemyHitboxRecord **mTable;
    int32_t mTableAnimations;
    int32_t *mTableFrames;
    int32_t mTableBoxes;
    uint8_t mIgnoreMissing;
    uint8_t mBusterBlocker;
    int32_t mAnimationCount;
    int32_t mAnimationWidth;
    int32_t mAnimationHeight;
    int32_t *mFrames;
    int32_t mDamageThisTick;
    uint8_t mIgnoreDamage;
    uint8_t mWeaponCMark;
    Enemy *rOwner;
    uint8_t mPolygonsReady;
    uint8_t mPuppetDrawnEnough;
    int32_t mPolygonCount;
    EnemyPuppetPolygon *mPolygons;
};

bool IsEnemyHitboxActive();

// Registers the "Hitbox_" globals.
void RegisterEnemyHitboxLua(lua_State *L);

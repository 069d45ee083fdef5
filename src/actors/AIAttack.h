#pragma once
#include <cstdint>

#include "core/Hitbox.h"
#include "core/RootObject.h"

class NamedLinkedList;
class RootProjectile;
struct lua_State;

enum AIAttackKind : int32_t
{
    AIATTACK_LEMON = 1,
    AIATTACK_SPAWN_ENEMY = 2,
};

#define AIATTACK_MAX_ATTACKS 10
#define AIATTACK_MAX_ARGUMENTS 64

// One queued attack of an enemy. Update is the template: wait the delay before, create the
// effect once through the CreateAttack hook (given the owner's box), wait the delay after,
// then report done. With delays b and a the effect happens on update b + 1 and the attack is
// done on update b + 1 + a.
class AIAttack : public RootObject
{
public:
    AIAttack();
    virtual ~AIAttack();

    virtual void CreateAttack(const Hitbox &pBox) = 0;
    void Update(const Hitbox &pBox);

    void SetDelayBeforeCreatingAttack(int32_t pTicks) { mDelayBefore = pTicks < 0 ? 0 : pTicks; }
    void SetDelayAfterCreatingAttack(int32_t pTicks) { mDelayAfter = pTicks < 0 ? 0 : pTicks; }
    void SetAnimationIndex(int32_t pIndex) { mAnimationIndex = pIndex; }
    void SetAnimationDirectionFacing(int32_t pFacing) { mAnimationFacing = pFacing; }
    void SetOffsetPosition(float pX, float pY) { mOffsetX = pX; mOffsetY = pY; }
    void SetDamage(int32_t pDamage) { if(pDamage >= 0) mDamage = pDamage; }

    uint8_t IsDone() const { return mDone; }
    uint8_t IsCreated() const { return mCreated; }
    int32_t GetKind() const { return mKind; }
    int32_t GetAnimationIndex() const { return mAnimationIndex; }
    int32_t GetAnimationDirectionFacing() const { return mAnimationFacing; }
    int32_t GetDamage() const { return mDamage; }

protected:
    int32_t mDelayBefore;
    int32_t mDelayAfter;
    int32_t mKind;
    uint8_t mDone;
    uint8_t mCreated;
    int32_t mAnimationIndex;
    int32_t mAnimationFacing;
    float mOffsetX, mOffsetY;
    int32_t mDamage;

private:
    AIAttack(const AIAttack &) = delete;
    AIAttack &operator=(const AIAttack &) = delete;
};

// Fires one projectile that the script configured beforehand. The attack owns the projectile
// until it is fired; then the entity manager does.
class AILemonAttack : public AIAttack
{
public:
    AILemonAttack();
    ~AILemonAttack() override;
    void CreateAttack(const Hitbox &pBox) override;
    RootProjectile *GetProjectile() const { return mProjectile; }

private:
    RootProjectile *mProjectile;
};

// Creates a new enemy from a constructor script, with stored text arguments.
class AISpawnEnemyAttack : public AIAttack
{
public:
    AISpawnEnemyAttack();
    ~AISpawnEnemyAttack() override;
    void CreateAttack(const Hitbox &pBox) override;
    void SetEnemyName(const char *pName);
    void SetConstructorScript(const char *pPath);
    void SetNumberOfConstructorArguments(int32_t pCount);
    void AddScriptArgument(const char *pText);
    int32_t GetArgumentsFilled() const { return mFilled; }

private:
    void FreeArguments();

    char *mEnemyName;
    char *mConstructorPath;
    int32_t mArgumentCount;
    char **mArguments;
    int32_t mFilled;
};

// The queue of up to 10 attacks of one enemy.
class AIAttackHandler : public RootObject
{
public:
    AIAttackHandler();
    ~AIAttackHandler() override;

    void CreateAttack(int32_t pKind);
    void Update(const Hitbox &pBox);
    bool IsDoneCreatingAttacks() const;
    int32_t GetCount() const;
    AIAttack *GetFirstAttack();
    AIAttack *GetLastAttack();
    // An attack's effect may run a script that asks for this (a spawned enemy's constructor
    // reaching back to its parent); the queue is then emptied once that attack has returned.
    void ClearAllAttacks();
    void SetCreateAllAttacksAtOnce(uint8_t pFlag) { mAllAtOnce = pFlag; }
    uint8_t GetCreateAllAttacksAtOnce() const { return mAllAtOnce; }

private:
    NamedLinkedList *mAttacks;
    uint8_t mAllAtOnce;
    uint8_t mUpdating;
    uint8_t mClearPending;
};

bool IsAIAttackActive();
bool IsAILemonAttackActive();
bool IsAISpawnEnemyAttackActive();
bool IsAIAttackHandlerActive();

// Registers the "AIAttackHandler_", "AIAttack_", "AILemonAttack_" and "AISpawnEnemyAttack_"
// globals.
void RegisterAIAttackLua(lua_State *L);

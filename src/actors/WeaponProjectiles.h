#pragma once
#include <cstdint>

#include "world/EntityManager.h"
#include "world/RootProjectile.h"

class Enemy;
class RootEntity;

// The projectiles of the five working special weapons. Each hurts enemies (target flags 2,
// the buster flag) and runs native behaviour in place of scripts: its logic hook moves it,
// and where it reacts to being deflected, to hitting an enemy or to being touched, it
// overrides the block, impact or interception hook.
//
// The enemy being struck is published by the enemy's damage checks around the impact and
// block hooks, and by a buster blocker that an enemy owns around the block hook; a blocker
// that no enemy owns publishes none, so every reaction takes a null enemy in its stride.

class LightningBitProjectile : public RootProjectile
{
public:
    LightningBitProjectile();

    void RunLogic() override;
    void RunBlockScript() override;
    void RunImpactScript() override;
    void Render() override;

    // Calls the lightning down where the bit is: also what a second press of Shoot does.
    void Strike(RootEntity *pStruck);
    bool IsStriking() const { return mStriking != 0; }
    int32_t GetCountdown() const { return mCountdown; }

private:
    void Hop();

    uint8_t mTravelsLeft;
    uint8_t mFirstTick;
    uint8_t mAirborne;
    uint8_t mStriking;
    int32_t mCountdown;
};

class NightmareCutterProjectile : public RootProjectile
{
public:
    NightmareCutterProjectile(bool pLarge, float pAngle);

    void RunLogic() override;
    void RunBlockScript() override;
    void RunImpactScript() override;
    void Render() override;

    // A cutter's reaction to a hit (pStruck may be null): a large one splits; any bursts and is gone.
    void Shatter(RootEntity *pStruck);
    bool IsLarge() const { return mLarge != 0; }
    float GetAngle() const { return mAngle; }

private:
    void Split(RootEntity *pStruck);
    void Burst();

    uint8_t mLarge;
    float mAngle;
};

class PermafrostShieldProjectile : public RootProjectile
{
public:
    PermafrostShieldProjectile();

    void RunLogic() override;
    void InterceptProjectile(RootProjectile *pOther) override;
    void Render() override;
};

#define PRISMATIC_SPLIT_ANGLE 0.785385f

class PrismaticBeamProjectile : public RootProjectile
{
public:
    PrismaticBeamProjectile();

    void RunLogic() override;
    void RunBlockScript() override;
    void RunImpactScript() override;
    void Render() override;

    // The partner is kept by object number and looked up live before each use.
    void SetPartner(PrismaticBeamProjectile *pPartner);
    void SetPhase(int32_t pDegrees) { mPhase = pDegrees; }
    void SplitBeam(RootEntity *pStruck, bool pPassOn);

    bool IsSplit() const { return mSplit != 0; }
    int32_t GetPhase() const { return mPhase; }
    int32_t GetDistance() const { return mDistance; }
    int32_t GetStartDelay() const { return mStartDelay; }
    float GetSplitAngle() const { return mSplitAngle; }

private:
    void ApplySplitSpeeds();
    PrismaticBeamProjectile *FindPartner();

    uint8_t mSplit;
    int32_t mDistance;
    int32_t mPhase;
    float mSavedSpeed;
    int32_t mPartnerID;
    float mSplitAngle;
    int32_t mStartDelay;
};

class RockWreckerProjectile : public RootProjectile
{
public:
    RockWreckerProjectile();
    virtual ~RockWreckerProjectile();

    void RunLogic() override;
    void Render() override;

    // Fire pressed again: throws what it holds. False when it holds nothing or has thrown.
    bool Throw();
    bool IsSeeking() const { return mSeeking != 0; }
    bool IsThrown() const { return mThrown != 0; }
    Enemy *GetHeld() const { return mHeld; }

private:
    Enemy *FindTarget();
    void Seek();
    void Grab(Enemy *pEnemy);
    void Carry();

    uint8_t mSeeking;
    uint8_t mThrown;
    int32_t mTargetID;
    Enemy *mHeld;
};

// The projectiles of the three weapons that fire nothing: a pane the size of the shield that
// neither acts nor draws, and is never used up by a hit. Nothing makes them yet.
class InertWeaponProjectile : public RootProjectile
{
public:
    InertWeaponProjectile();

    void RunLogic() override {}
    void Render() override {}
};

class ChaosBlasterProjectile : public InertWeaponProjectile
{
};

class SonicBusterProjectile : public InertWeaponProjectile
{
};

class CausticSprayProjectile : public InertWeaponProjectile
{
};

#include "actors/BusterShot.h"

#include "actors/PlayerPony.h"
#include "actors/PlayerWeapon.h"
#include "core/LuaManager.h"
#include "core/RootObject.h"
#include "core/render/CorvelAnimation.h"
#include "interface/AudioManager.h"
#include "world/EntityManager.h"
#include "world/RootProjectile.h"
#include "world/RootSprite.h"

int32_t xShotCooldown = 0;

namespace
{
    // One rank's fixed numbers; positions are relative to the shooter's box corner plus the
    // pose offsets (mirrored when shooting left).
    struct BusterRank
    {
        uint8_t mPiercing;
        float mRight;
        float mBottom;
        int32_t mDamage;
        const char *mBlockScript;
        const char *mImpactScript;
        float mRightX, mLeftX, mY;
        int32_t mFlipLeft;
        ProjectileFrameCallback rFrame;
        const char *mSpawnScript;
        float mSpawnRightX, mSpawnLeftX, mSpawnY;
        const char *mSound;
    };

    Bitmap *FrameAt(const char *pPath, int32_t pTick)
    {
        CorvelAnimation *rAnimation = LookUpAnimation(pPath);
        return rAnimation ? rAnimation->GetFrameAtTick(pTick) : nullptr;
    }

    Bitmap *RankOneFrame(RootProjectile *pShot, int32_t &sX, int32_t &sY)
    {
        (void)pShot;
        sX = -82;
        sY = -76;
        CorvelAnimation *rAnimation = LookUpAnimation("Root/Animations/Projectiles/All/Lemon");
        return rAnimation ? rAnimation->GetFrame(0) : nullptr;
    }

    Bitmap *RankTwoFrame(RootProjectile *pShot, int32_t &sX, int32_t &sY)
    {
        sX = -42;
        sY = -70;
        if(pShot->GetTicksAlive() < 4) return nullptr;
        return FrameAt("Root/Animations/Projectiles/All/BusterMediumCycle", pShot->GetTicksAlive() - 4);
    }

    Bitmap *RankThreeFrame(RootProjectile *pShot, int32_t &sX, int32_t &sY)
    {
        sX = -56;
        sY = -45;
        if(pShot->GetTicksAlive() < 6) return nullptr;
        return FrameAt("Root/Animations/Projectiles/All/BusterFullCycle", pShot->GetTicksAlive() - 6);
    }

    const BusterRank cRanks[3] = {
        {0, 12.0f, 9.0f, 0, "Data/Scripts/Enemies/Buster/Rank1Blocked.lua", "Data/Scripts/Enemies/Buster/Rank1Impact.lua",
         15.0f, -3.0f, 8.0f, 0, RankOneFrame, nullptr, 0.0f, 0.0f, 0.0f, "Rank1BusterShot"},
        {1, 56.0f, 24.0f, 1, "Data/Scripts/Enemies/Buster/Rank2Blocked.lua", "Data/Scripts/Enemies/Buster/Rank2Impact.lua",
         -20.0f, -10.0f, 0.0f, 1, RankTwoFrame, "Data/Scripts/Sprites/BusterMedSpawn.lua", 12.0f, -100.0f, -18.0f,
         "Rank2BusterShot"},
        {1, 48.0f, 48.0f, 2, "Data/Scripts/Enemies/Buster/Rank3Blocked.lua", "Data/Scripts/Enemies/Buster/Rank3Impact.lua",
         -25.0f, 10.0f, -10.0f, 1, RankThreeFrame, "Data/Scripts/Sprites/BusterFullSpawn.lua", 8.0f, -35.0f, -25.0f,
         "Rank3BusterShot"},
    };
}

void SpawnEffectScript(const char *pPath, float pX, float pY, bool pMirrored)
{
    RootSprite::SpawnByScript(pPath, "X", pX, pY, pMirrored ? 1.0f : 0.0f);
}

int32_t BusterRankForCharge(int32_t pCharge)
{
    if(pCharge >= BUSTER_RANK3_CHARGE) return 3;
    if(pCharge >= BUSTER_RANK2_CHARGE) return 2;
    return 1;
}

RootProjectile *CreateBusterShot(int32_t pRank, bool pShootRight, float pLft, float pTop, float pDX, float pDY)
{
    if(pRank < 1) pRank = 1;
    if(pRank > 3) pRank = 3;
    const BusterRank &rRank = cRanks[pRank - 1];

    RootProjectile *nShot = new RootProjectile();
    nShot->SetBlockAutoOffscreenDestruction(0);
    nShot->SetIgnoreClips(1);
    nShot->SetIsBuster(1);
    nShot->SetPiercing(rRank.mPiercing);
    nShot->SetTargetFlags(PROJECTILE_TARGET_ENEMIES);
    nShot->SetDimensions(0.0f, 0.0f, rRank.mRight, rRank.mBottom);
    nShot->SetDamage(rRank.mDamage);
    nShot->SetBlockScript(rRank.mBlockScript);
    nShot->SetImpactScript(rRank.mImpactScript);
    if(pShootRight)
    {
        nShot->SetPosition(pLft + rRank.mRightX + pDX, pTop + rRank.mY + pDY);
        nShot->SetSpeeds(BUSTER_SHOT_SPEED, 0.0f);
    }
    else
    {
        nShot->SetPosition(pLft + rRank.mLeftX - pDX, pTop + rRank.mY + pDY);
        nShot->SetSpeeds(-BUSTER_SHOT_SPEED, 0.0f);
        nShot->SetFlipFlag(rRank.mFlipLeft);
    }
    nShot->SetNativeFrameCallback(rRank.rFrame);

    if(rRank.mSpawnScript)
    {
        const float tX = pShootRight ? pLft + rRank.mSpawnRightX + pDX : pLft + rRank.mSpawnLeftX - pDX;
        SpawnEffectScript(rRank.mSpawnScript, tX, pTop + rRank.mSpawnY + pDY, !pShootRight);
    }

    AudioManager *rAudio = AudioManager::Get();
    if(pRank == 1)
    {
        if(xShotCooldown == 0 && rAudio) rAudio->PlaySound(rRank.mSound);
    }
    else
    {
        if(rAudio) rAudio->PlaySound(rRank.mSound);
        xShotCooldown = BUSTER_COOLDOWN_TICKS;
    }
    return nShot;
}

// --- The player's side ----------------------------------------------------------------------

void PlayerPony::GetShotOrigin(uint8_t &sFacingRight, float &sDX, float &sDY)
{
    const bool tWallSliding = mFalling && mWallSliding && !mOnGround;
    sFacingRight = mFacingLeft ? 0 : 1;
    if(tWallSliding) sFacingRight = sFacingRight ? 0 : 1;

    float tDX = 0.0f;
    float tDY = 0.0f;
    if(mOnLadder)
    {
        tDX = mFacingLeft ? 0.0f : -4.0f;
        tDY = -3.0f;
    }
    else if(mOnGround)
    {
        if(!mStandingStill && mRunStartTimer == -1)
        {
            const bool tDashPose = mDashing || mDashEndTimer != -1;
            tDX = tDashPose ? 15.0f : 9.0f;
            tDY = tDashPose ? 7.0f : 1.0f;
        }
    }
    else if(mDashing)
    {
        tDX = 15.0f;
        tDY = 7.0f;
    }
    else if(tWallSliding)
    {
        tDX = 10.0f;
        tDY = 3.0f;
    }
    else if(mFalling)
    {
        tDX = -7.0f;
    }
    else if(mWallKicking && mWallKickTimer >= 0 && mWallKickTimer < 6)
    {
        tDX = -3.0f;
        tDY = -3.0f;
    }
    else
    {
        tDY = -7.0f;
    }
    sDX = tDX + 10.0f;
    sDY = tDY + 5.0f;
}

// With a special weapon selected the buster stays silent; only the weapon may fire.
void PlayerPony::Shoot()
{
    if(mSelectedWeapon >= 0 && mSelectedWeapon < PLAYER_WEAPON_SLOTS)
    {
        FireSelectedWeapon();
        return;
    }
    EntityManager *rEntities = EntityManager::Fetch();
    if(!rEntities || rEntities->CountProjectilesNamed(BUSTER_SHOT_KIND) >= BUSTER_SHOT_LIMIT) return;

    mShotTimer = 0;
    uint8_t tFacingRight = 1;
    float tDX = 0.0f;
    float tDY = 0.0f;
    GetShotOrigin(tFacingRight, tDX, tDY);
    RootProjectile *nShot = CreateBusterShot(BusterRankForCharge(mCharge), tFacingRight != 0, mHitbox.mLft, mHitbox.mTop, tDX, tDY);
    rEntities->RegisterProjectile(BUSTER_SHOT_KIND, nShot, DeleteRootObject);
}

bool PlayerPony::FireSelectedWeapon()
{
    PlayerWeapon *rWeapon = GetWeapon(mSelectedWeapon);
    if(!rWeapon || !rWeapon->HasAmmo()) return false;
    mShotTimer = 0;
    rWeapon->Fire();
    return true;
}

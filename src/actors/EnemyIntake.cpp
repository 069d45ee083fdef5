#include "actors/EnemyIntake.h"

#include <cstddef>

#include "actors/Enemy.h"
#include "core/NamedLinkedList.h"
#include "world/EntityManager.h"
#include "world/RootProjectile.h"

EnemyIntake::EnemyIntake(Enemy *pOwner)
{
    rOwner = pOwner;
    mBest = 0;
    mBestID = 0;
    mBestWeaponC = 0;
    mHookRan = 0;
    mSeenCount = 0;
}

bool EnemyIntake::Seen(int32_t pID)
{
    for(int32_t i = 0; i < mSeenCount; i++)
    {
        if(mSeen[i] == pID) return true;
    }
    if(mSeenCount < ENEMY_INTAKE_MAX_SEEN) mSeen[mSeenCount++] = pID;
    return false;
}

void EnemyIntake::Walk(NamedLinkedList *pHits, int32_t pHealth, bool pBoundingBox, bool pBlocks)
{
    if(!pHits) return;
    EntityManager *rEntities = EntityManager::Fetch();
    int32_t tIDs[ENEMY_INTAKE_MAX_SEEN];
    int32_t tCount = 0;
    for(void *rData = pHits->PushIterator(); rData; rData = pHits->IterateNext())
    {
        if(tCount < ENEMY_INTAKE_MAX_SEEN) tIDs[tCount++] = ((RootProjectile *)rData)->GetID();
    }
    const int32_t tOwnerID = rOwner->GetID();
    const int32_t tInvulnerable = rOwner->GetInvulnerability();
    for(int32_t n = 0; n < tCount; n++)
    {
        RootProjectile *rShot = (RootProjectile *)pHits->GetElementByIndex(n);
        if(mHookRan)
        {
            RootEntity *rEntity = rEntities ? rEntities->FindByID(tIDs[n]) : nullptr;
            rShot = (rEntity && IsProjectileType(rEntity->GetType()))
                        ? static_cast<RootProjectile *>(rEntity)
                        : nullptr;
        }
        if(!rShot || rShot->IsInHitList(tOwnerID)) continue;
        if(!pBoundingBox && rShot->IsReflecting()) continue;
        if(Seen(tIDs[n])) continue;

        const int32_t tDamage = rOwner->GetDamageFromProjectile(rShot);
        bool tUseUp;
        if(rShot->GetWeaponFlagA()) tUseUp = false;
        else if(rShot->IsPiercing()) tUseUp = tDamage < pHealth && (!pBoundingBox || tInvulnerable < 1);
        else tUseUp = tDamage < pHealth || tDamage < 2 || (pBoundingBox && tInvulnerable > 0);

        if(pBlocks)
        {
            Enemy *rPrevious = xEnemyStruck;
            xEnemyStruck = rOwner;
            rShot->RunBlockScript();
            xEnemyStruck = rPrevious;
            mHookRan = 1;
            RootEntity *rStill = rEntities ? rEntities->FindByID(tIDs[n]) : nullptr;
            rShot = (rStill == rShot) ? rShot : nullptr;
        }
        else if(tUseUp)
        {
            Enemy *rPrevious = xEnemyStruck;
            xEnemyStruck = rOwner;
            rShot->SetDestruct(1);
            rShot->RunImpactScript();
            mHookRan = 1;
            RootEntity *rStill = rEntities ? rEntities->FindByID(tIDs[n]) : nullptr;
            rShot = (rStill == rShot) ? rShot : nullptr;
            if(rShot && rShot->GetHitOnce()) rShot->AddHitRecord(tOwnerID);
            xEnemyStruck = rPrevious;
        }
        if(!rShot) continue;
        if(tDamage > mBest && (pBoundingBox || !rShot->IsReflecting()))
        {
            mBest = tDamage;
            mBestID = tIDs[n];
            mBestWeaponC = rShot->GetWeaponFlagC();
        }
    }
}

int32_t EnemyIntake::Finish(uint8_t &sWeaponCMark)
{
    sWeaponCMark = mBestWeaponC;
    EntityManager *rEntities = EntityManager::Fetch();
    RootEntity *rBest = (mBestID && rEntities) ? rEntities->FindByID(mBestID) : nullptr;
    if(rBest && IsProjectileType(rBest->GetType()))
    {
        static_cast<RootProjectile *>(rBest)->AddDamageCounter(mBest);
    }
    return mBest;
}

#include "actors/WeaponProjectiles.h"

#include <GL/gl.h>
#include <cmath>

#include "actors/Enemy.h"
#include "actors/EnemyAppearance.h"
#include "actors/EnemyHealth.h"
#include "actors/PlayerPony.h"
#include "core/DataList.h"
#include "core/NamedLinkedList.h"
#include "core/Geometry.h"
#include "world/EntityManager.h"

namespace
{
    const float cSeekSpeed = 5.0f;
    const float cGrabReach = 20.0f;
    const int32_t cGrabbableHealth = 2;
    const float cScoreLimit = 10000.0f;
    const float cCarryOffset = 16.0f;
    const float cLandReach = 10.0f;
    const float cThrowX = 7.0f;
    const float cThrowY = -5.0f;
    const float cThrowGravity = 0.25f;
}

RockWreckerProjectile::RockWreckerProjectile()
{
    SetTargetFlags(PROJECTILE_TARGET_ENEMIES);
    SetIsBuster(1);
    SetIgnoreClips(1);
    SetWeaponFlagA(1);
    SetDamage(0);
    SetDimensions(0.0f, 0.0f, 3.0f, 3.0f);
    mSeeking = 1;
    mThrown = 0;
    mTargetID = -1;
    mHeld = nullptr;
}

RockWreckerProjectile::~RockWreckerProjectile()
{
    delete mHeld;
}

// The target is kept by object number: enemies made from one preset share their name.
Enemy *RockWreckerProjectile::FindTarget()
{
    EntityManager *rManager = EntityManager::Fetch();
    if(!rManager) return nullptr;
    Enemy *rKnown = mTargetID >= 0 ? Enemy::FindLive(mTargetID) : nullptr;
    if(rKnown) return rKnown;

    float tX, tY;
    HitboxCentre(mHitbox, tX, tY);
    Enemy *rBest = nullptr;
    NamedLinkedList *rList = rManager->GetEntityList();
    for(void *rData = rList->PushIterator(); rData; rData = rList->IterateNext())
    {
        RootEntity *rEntity = (RootEntity *)rData;
        if(rEntity->GetType() != TYPE_ENEMY || rEntity->GetDestruct()) continue;
        DataList *rScript = rEntity->GetData();
        if(!rScript || !rScript->GetDataEntry("bCanBeThrown")) continue;
        Hitbox tBox;
        rEntity->GetHitbox(tBox);
        float tEX, tEY;
        HitboxCentre(tBox, tEX, tEY);
        float tScore = sqrtf((tEX - tX) * (tEX - tX) + (tEY - tY) * (tEY - tY));
        if(tScore >= 0.0f && tScore < cScoreLimit) rBest = static_cast<Enemy *>(rEntity);
    }
    mTargetID = rBest ? rBest->GetID() : -1;
    return rBest;
}

void RockWreckerProjectile::Seek()
{
    Enemy *rTarget = FindTarget();
    if(!rTarget) return;
    float tEX, tEY;
    HitboxCentre(*rTarget->GetHitboxPtr(), tEX, tEY);
    float tDX = tEX - mHitbox.mOwnerX;
    float tDY = tEY - mHitbox.mOwnerY;
    float tDistance = sqrtf(tDX * tDX + tDY * tDY);
    if(tDistance < cGrabReach)
    {
        SetWeaponFlagA(1);
        if(rTarget->GetHealth()->GetHealth() <= cGrabbableHealth) Grab(rTarget);
    }
    float tAngle = atan2f(tDY, tDX);
    mSpeedX = cSeekSpeed * cosf(tAngle);
    mSpeedY = cSeekSpeed * sinf(tAngle);
}

// The enemy leaves the world whole: its contact box goes with it, its hitboxes are dropped,
// and from now on the grabber owns it.
void RockWreckerProjectile::Grab(Enemy *pEnemy)
{
    EntityManager *rManager = EntityManager::Fetch();
    if(!rManager || !pEnemy) return;
    pEnemy->DetachCollision();
    rManager->RemoveEntity(pEnemy);
    mHeld = pEnemy;
    mSeeking = 0;
    mTargetID = -1;
}

void RockWreckerProjectile::Carry()
{
    PlayerPony *rPlayer = PlayerPony::Get();
    Hitbox *rBox = mHeld->GetHitboxPtr();
    float tW = rBox->mRgt - rBox->mLft;
    float tH = rBox->mBot - rBox->mTop;
    float tCX = mHitbox.mLft + 1.5f;
    float tCY = mHitbox.mTop + 1.5f;
    rBox->mLft = tCX - tW / 2.0f;
    rBox->mTop = tCY - tH / 2.0f;
    rBox->mRgt = rBox->mLft + tW;
    rBox->mBot = rBox->mTop + tH;
    rBox->mOwnerX = rBox->mLft;
    rBox->mOwnerY = rBox->mTop;
    EnemyAppearance *rLook = mHeld->GetAppearance();
    if(rLook)
    {
        if(!rLook->HasPanicAnimation()) rLook->SetAnimationIndex(0);
        rLook->Update(*rBox);
    }
    if(mThrown || !rPlayer) return;

    Hitbox *rHer = rPlayer->GetHitboxPtr();
    bool tLeft = rPlayer->IsFacingLeft();
    float tX = tLeft ? rHer->mLft - cCarryOffset : rHer->mRgt + cCarryOffset;
    float tY = rHer->mTop + cCarryOffset;
    if(rLook) rLook->SetFacing(tLeft ? 0 : 1);
    float tDX = tX - mHitbox.mOwnerX;
    float tDY = tY - mHitbox.mOwnerY;
    float tDistance = sqrtf(tDX * tDX + tDY * tDY);
    if(tDistance < cLandReach)
    {
        mSpeedX = tDX;
        mSpeedY = tDY;
        return;
    }
    float tAngle = atan2f(tDY, tDX);
    mSpeedX = cSeekSpeed * cosf(tAngle);
    mSpeedY = cSeekSpeed * sinf(tAngle);
}

bool RockWreckerProjectile::Throw()
{
    if(!mHeld || mThrown) return false;
    PlayerPony *rPlayer = PlayerPony::Get();
    mThrown = 1;
    mSpeedY = cThrowY;
    mSpeedX = (rPlayer && rPlayer->IsFacingLeft()) ? -cThrowX : cThrowX;
    Hitbox *rBox = mHeld->GetHitboxPtr();
    SetDimensions(0.0f, 0.0f, rBox->mRgt - rBox->mLft, rBox->mBot - rBox->mTop);
    mDamageCounter = 0;
    RootProjectile *rContact = mHeld->GetContactProjectile();
    SetDamage(rContact ? rContact->GetDamage() : 0);
    return true;
}

void RockWreckerProjectile::RunLogic()
{
    if(mSeeking) Seek();
    else if(mHeld) Carry();
    if(mThrown)
    {
        mSpeedY += cThrowGravity;
        bool tBlocked = false;
        for(int32_t i = 0; i < 4 && !tBlocked; i++) tBlocked = IsSideBlocked(i);
        if(tBlocked || GetDamageCounter() > 0)
        {
            if(mHeld) mHeld->RunDestructionScript();
            mDestruct = 1;
        }
    }
    UpdateHitbox();
}

void RockWreckerProjectile::Render()
{
    if(mHeld)
    {
        EnemyAppearance *rLook = mHeld->GetAppearance();
        if(rLook && rLook->HasPanicAnimation()) rLook->RenderPanic();
        else mHeld->Render();
    }
    glTranslatef(mHitbox.mLft, mHitbox.mTop, 0.0f);
    RenderHitboxOutline(mHitbox);
    glTranslatef(-mHitbox.mLft, -mHitbox.mTop, 0.0f);
}

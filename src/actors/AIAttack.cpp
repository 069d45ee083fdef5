#include "actors/AIAttack.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "actors/Enemy.h"
#include "core/LuaManager.h"
#include "core/NamedLinkedList.h"
#include "core/Utilities.h"
#include "core/data/DataLibrary.h"
#include "world/EntityManager.h"
#include "world/RootProjectile.h"

namespace
{
    // A script may still hold an attack as the library's active object when the queue goes.
    void DeleteAttack(void *pAttack)
    {
        DataLibrary *rLibrary = DataLibrary::Fetch();
        if(rLibrary) rLibrary->ForgetObject(pAttack);
        delete (AIAttack *)pAttack;
    }
}

// --- AIAttack -------------------------------------------------------------------------------

AIAttack::AIAttack()
{
    mType = TYPE_AIATTACK;
    mDelayBefore = 0;
    mDelayAfter = 0;
    mKind = 0;
    mDone = 0;
    mCreated = 0;
    mAnimationIndex = -1;
    mAnimationFacing = -1;
    mOffsetX = mOffsetY = 0.0f;
    mDamage = 0;
}

AIAttack::~AIAttack()
{
}

void AIAttack::Update(const Hitbox &pBox)
{
    if(mDelayBefore >= 1)
    {
        mDelayBefore--;
        return;
    }
    if(!mCreated)
    {
        mCreated = 1;
        CreateAttack(pBox);
    }
    if(mDelayAfter < 1) mDone = 1;
    else mDelayAfter--;
}

// --- AILemonAttack --------------------------------------------------------------------------

AILemonAttack::AILemonAttack()
{
    mKind = AIATTACK_LEMON;
    mProjectile = new RootProjectile();
}

AILemonAttack::~AILemonAttack()
{
    if(!mProjectile) return;
    DataLibrary *rLibrary = DataLibrary::Fetch();
    if(rLibrary) rLibrary->ForgetObject(mProjectile);
    delete mProjectile;
}

void AILemonAttack::CreateAttack(const Hitbox &pBox)
{
    EntityManager *rEntities = EntityManager::Fetch();
    if(!mProjectile || !rEntities) return;
    if(mAnimationFacing == 1) mProjectile->SetPosition(pBox.mRgt - mOffsetX, pBox.mOwnerY + mOffsetY);
    else mProjectile->SetPosition(pBox.mOwnerX + mOffsetX, pBox.mOwnerY + mOffsetY);
    mProjectile->SetDamage(mDamage);
    mProjectile->SetTargetFlags(1);
    rEntities->RegisterProjectile("ENEMY_LEMON_PROJECTILE", mProjectile, DeleteRootObject);
    mProjectile = nullptr;
}

// --- AISpawnEnemyAttack ---------------------------------------------------------------------

AISpawnEnemyAttack::AISpawnEnemyAttack()
{
    mKind = AIATTACK_SPAWN_ENEMY;
    mEnemyName = nullptr;
    mConstructorPath = nullptr;
    mArgumentCount = 0;
    mArguments = nullptr;
    mFilled = 0;
}

AISpawnEnemyAttack::~AISpawnEnemyAttack()
{
    FreeArguments();
    free(mEnemyName);
    free(mConstructorPath);
}

void AISpawnEnemyAttack::FreeArguments()
{
    for(int32_t i = 0; i < mArgumentCount; i++) free(mArguments[i]);
    free(mArguments);
    mArguments = nullptr;
    mArgumentCount = 0;
    mFilled = 0;
}

void AISpawnEnemyAttack::SetEnemyName(const char *pName)
{
    if(pName && pName[0]) ResetString(&mEnemyName, pName);
}

void AISpawnEnemyAttack::SetConstructorScript(const char *pPath)
{
    if(pPath && pPath[0]) ResetString(&mConstructorPath, pPath);
}

void AISpawnEnemyAttack::SetNumberOfConstructorArguments(int32_t pCount)
{
    if(pCount < 1) return;
    if(pCount > AIATTACK_MAX_ARGUMENTS)
    {
        fprintf(stderr, "AISpawnEnemyAttack::SetNumberOfConstructorArguments error, %i arguments asked for, at most %i allowed.\n",
                pCount, AIATTACK_MAX_ARGUMENTS);
        return;
    }
    FreeArguments();
    mArguments = (char **)calloc((size_t)pCount, sizeof(char *));
    mArgumentCount = pCount;
}

void AISpawnEnemyAttack::AddScriptArgument(const char *pText)
{
    if(!pText || !pText[0] || !mArguments) return;
    if(mFilled >= mArgumentCount)
    {
        fprintf(stderr, "AISpawnEnemyAttack::AddScriptArgument error, no more arguments can be added.\n");
        return;
    }
    ResetString(&mArguments[mFilled], pText);
    mFilled++;
}

void AISpawnEnemyAttack::CreateAttack(const Hitbox &pBox)
{
    EntityManager *rEntities = EntityManager::Fetch();
    DataLibrary *rLibrary = DataLibrary::Fetch();
    if(!rEntities || !rLibrary) return;
    Enemy *nEnemy = new Enemy(mEnemyName);
    float tX = (mAnimationFacing == 1) ? pBox.mOwnerX - mOffsetX : pBox.mOwnerX + mOffsetX;
    nEnemy->SetPositionAutoCenter(tX, pBox.mOwnerY + mOffsetY, 0.0f);
    rEntities->RegisterEntity(nEnemy->GetName(), nEnemy, DeleteRootObject);
    Enemy::RunConstructor(nEnemy, mConstructorPath, mArgumentCount, mArguments);
    rLibrary->PopActiveEntity();
}

// --- AIAttackHandler ------------------------------------------------------------------------

AIAttackHandler::AIAttackHandler()
{
    mType = TYPE_AIATTACKHANDLER;
    mAttacks = new NamedLinkedList(1);
    mAllAtOnce = 0;
    mUpdating = 0;
    mClearPending = 0;
}

AIAttackHandler::~AIAttackHandler()
{
    delete mAttacks;
}

void AIAttackHandler::CreateAttack(int32_t pKind)
{
    if(mAttacks->GetCount() >= AIATTACK_MAX_ATTACKS)
    {
        fprintf(stderr, "AIAttackHandler::CreateAttack warning, max number of attacks that can be created reached. Check your scripts.\n");
        return;
    }
    if(pKind == AIATTACK_LEMON) mAttacks->AddElementWithDeleter("LEMON_PROJECTILE", new AILemonAttack(), DeleteAttack);
    else if(pKind == AIATTACK_SPAWN_ENEMY) mAttacks->AddElementWithDeleter("SPAWN_ENEMY", new AISpawnEnemyAttack(), DeleteAttack);
}

void AIAttackHandler::ClearAllAttacks()
{
    if(mUpdating)
    {
        mClearPending = 1;
        return;
    }
    mAttacks->Clear();
}

void AIAttackHandler::Update(const Hitbox &pBox)
{
    if(mAttacks->GetCount() < 1) return;
    mUpdating = 1;
    int32_t tIndex = 0;
    AIAttack *rAttack = (AIAttack *)mAttacks->GetElementByIndex(0);
    while(rAttack)
    {
        rAttack->Update(pBox);
        if(mClearPending) break;
        if(rAttack->IsDone())
        {
            mAttacks->RemoveElementByIndex(tIndex);
            tIndex = 0;
        }
        else
        {
            tIndex++;
        }
        if(!mAllAtOnce) break;
        rAttack = (AIAttack *)mAttacks->GetElementByIndex(tIndex);
    }
    mUpdating = 0;
    if(mClearPending)
    {
        mClearPending = 0;
        mAttacks->Clear();
    }
    if(mAttacks->GetCount() < 1) mAllAtOnce = 0;
}

bool AIAttackHandler::IsDoneCreatingAttacks() const
{
    return mAttacks->GetCount() < 1;
}

int32_t AIAttackHandler::GetCount() const
{
    return mAttacks->GetCount();
}

AIAttack *AIAttackHandler::GetFirstAttack()
{
    return (AIAttack *)mAttacks->GetHeadData();
}

AIAttack *AIAttackHandler::GetLastAttack()
{
    return (AIAttack *)mAttacks->GetTailData();
}

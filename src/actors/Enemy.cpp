#include "actors/Enemy.h"

#include <GL/gl.h>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "actors/AIAttack.h"
#include "actors/AIMovement.h"
#include "actors/EnemyAppearance.h"
#include "actors/EnemyHealth.h"
#include "actors/EnemyHitbox.h"
#include "actors/EnemyIntake.h"
#include "core/DataList.h"
#include "core/DebugPrint.h"
#include "core/LuaManager.h"
#include "core/NamedLinkedList.h"
#include "core/OptionsManager.h"
#include "core/Utilities.h"
#include "core/data/DataLibrary.h"
#include "core/render/Drawing.h"
#include "interface/AudioManager.h"
#include "interface/GUISHealthBars.h"
#include "world/Camera.h"
#include "world/CameraManager.h"
#include "world/ClipQueries.h"
#include "world/EntityManager.h"
#include "world/LevelCollision.h"
#include "world/MapManager.h"
#include "world/RootProjectile.h"
#include "world/SpawnManager.h"

Enemy *xEnemyStruck = nullptr;

namespace
{
    const char *const cTraceTag = "Debug_Enemy";

    bool CameraFrame(Hitbox &sFrame)
    {
        Camera *rCamera = CameraManager::ActiveCamera();
        if(!rCamera) return false;
        sFrame = rCamera->GetFrame();
        return true;
    }

    bool OverlapsStrict(const Hitbox &pFrame, const Hitbox &pBox, float pMargin)
    {
        return pFrame.mLft - pMargin < pBox.mRgt && pBox.mTop < pFrame.mBot + pMargin && pBox.mLft < pFrame.mRgt + pMargin &&
               pFrame.mTop - pMargin < pBox.mBot;
    }

    void PlaySoundNamed(const char *pName)
    {
        AudioManager *rAudio = AudioManager::Get();
        if(pName && rAudio) rAudio->PlaySound(pName);
    }

}

// --- Construction ---------------------------------------------------------------------------

Enemy::Enemy(const char *pName)
{
    mType = TYPE_ENEMY;
    SetName((pName && pName[0]) ? pName : ENEMY_DEFAULT_NAME);
    mMovementHandler = new AIMovementHandler();
    mMovementHandler->SetOwner(this);
    mAttackHandler = new AIAttackHandler();
    mAppearance = new EnemyAppearance();
    mAppearance->SetOwner(this);
    mHitboxes = new EnemyHitbox();
    mHitboxes->SetOwner(this);

    rContact = new RootProjectile();
    mOwnsContact = 0;
    rContact->SetTargetFlags(PROJECTILE_TARGET_PLAYER);
    rContact->SetDamage(0);
    rContact->SetName(mName);
    rContact->SetBlockAutoOffscreenDestruction(1);
    rContact->SetOwnerID(mObjectID);
    rContact->SetImmuneToInterception(1);
    EntityManager *rEntities = EntityManager::Fetch();
    if(rEntities) rEntities->RegisterProjectile(mName, rContact, DeleteRootObject);
    else mOwnsContact = 1;

    mHealth = new EnemyHealth();
    mWaitSetting = 0;
    mWaitLeft = 0;
    mSpawnPointID = 0;
    mSpawnX = mSpawnY = 0.0f;
    mOffsetLft = mOffsetTop = mOffsetRgt = mOffsetBot = 0.0f;
    mHitbox = Hitbox();
    mUseBoxAsHitbox = 1;
    mIgnorePlatformCollision = 0;
    mHitPlayer = 0;
    mOverridePending = 0;
    mOverrideFrame = 0;
    mOverrideAnimation = 0;
    mOverrideFacing = 0;
    mIgnoreDamage = 0;
    mUsePuppetHitboxes = 0;
    mDamageThisTick = 0;
    mWeaponCMark = 0;
    mDestructionScript = nullptr;
    mWeaponCInvulnerability = 0;
    mInvulnerability = 0;
    mInvincibleMaxTime = 0;
    for(int32_t i = 0; i < ENEMY_DAMAGE_TABLE_SIZE; i++)
    {
        int8_t tDamage = 1;
        if(i == 1) tDamage = 2;
        else if(i >= 2 && i <= 4) tDamage = 3;
        else if(i >= 5 && i <= 20) tDamage = (i % 2) ? 2 : 3;
        mDamageTakenFrom[i] = tDamage;
    }
    mInvincibleSound = nullptr;
    mDamageSound = nullptr;
    mAllowDeath = 1;
    mLogicScript = nullptr;
    mHitReactionScript = nullptr;
    mDoNotDespawn = 0;
    mAllowBotSlopes = mAllowTopSlopes = mAllowAirWalk = 0;
    mShowUnderlay = 0;
    mPuppetDrawn = 0;

    rContact->SetPosition(mHitbox.mOwnerX, mHitbox.mOwnerY);
    rContact->SetDimensions(0.0f, 0.0f, 0.0f, 0.0f);
}

Enemy::~Enemy()
{
    // The bar finds its target by object number, so it could not read this enemy once gone;
    // it is still told, so that it hides at once.
    GUISBossHealthBar *rBar = GetBossHealthBar();
    if(rBar && rBar->GetTargetEnemy() == this) PurgeBossBarTarget();
    if(xEnemyStruck == this) xEnemyStruck = nullptr;
    DataLibrary *rLibrary = DataLibrary::Fetch();
    if(rLibrary)
    {
        rLibrary->ForgetObject(mMovementHandler);
        rLibrary->ForgetObject(mAttackHandler);
        rLibrary->ForgetObject(mAppearance);
        rLibrary->ForgetObject(mHitboxes);
        rLibrary->ForgetObject(mHealth);
    }
    delete mMovementHandler;
    delete mAttackHandler;
    delete mAppearance;
    delete mHitboxes;
    delete mHealth;
    if(rContact)
    {
        RootProjectile *rOld = rContact;
        rContact = nullptr;
        rOld->SetOwnerID(0);
        if(mOwnsContact)
        {
            if(rLibrary) rLibrary->ForgetObject(rOld);
            delete rOld;
        }
        else
        {
            rOld->SetDestruct(1);
        }
    }
    free(mDestructionScript);
    free(mInvincibleSound);
    free(mDamageSound);
    free(mLogicScript);
    free(mHitReactionScript);
}

// --- Ownership of the boxes -----------------------------------------------------------------

bool Enemy::RunConstructor(Enemy *pEnemy, const char *pPath, int32_t pArgCount, const char *const *pArgs)
{
    DataLibrary *rLibrary = DataLibrary::Fetch();
    if(!pEnemy || !rLibrary) return false;
    rLibrary->PushActiveEntity(pEnemy);
    LuaManager *rLua = LuaManager::Fetch();
    if(!rLua) return true;
    rLua->SetArgumentCount(pArgCount);
    for(int32_t i = 0; i < pArgCount; i++) rLua->AddStringArgument(pArgs[i] ? pArgs[i] : "");
    if(!pPath) return true;
    if(!rLua->LoadFile(pPath)) return false;
    rLua->Execute();
    return true;
}

Enemy *Enemy::FindLive(int32_t pID)
{
    EntityManager *rEntities = EntityManager::Fetch();
    if(!rEntities || pID == 0) return nullptr;
    RootEntity *rEntity = rEntities->FindByID(pID);
    if(!rEntity || rEntity->GetType() != TYPE_ENEMY) return nullptr;
    return static_cast<Enemy *>(rEntity);
}

void Enemy::OwnedProjectileGone(int32_t pOwnerID, RootProjectile *pProjectile)
{
    Enemy *rOwner = FindLive(pOwnerID);
    if(rOwner) rOwner->ForgetOwnedProjectile(pProjectile);
}

void Enemy::ForgetOwnedProjectile(RootProjectile *pProjectile)
{
    if(!pProjectile) return;
    if(rContact == pProjectile)
    {
        rContact = nullptr;
        mOwnsContact = 0;
    }
    mHitboxes->ForgetBox(pProjectile);
}

void Enemy::DetachCollision()
{
    EntityManager *rEntities = EntityManager::Fetch();
    if(rContact && !mOwnsContact && rEntities)
    {
        rEntities->RemoveEntity(rContact);
        mOwnsContact = 1;
    }
    mHitboxes->ClearHitboxes();
}

void Enemy::KillAllEnemies()
{
    EntityManager *rEntities = EntityManager::Fetch();
    if(!rEntities) return;
    NamedLinkedList *nEnemies = rEntities->ListByType(TYPE_ENEMY);
    for(void *rData = nEnemies->PushIterator(); rData; rData = nEnemies->IterateNext())
    {
        ((RootEntity *)rData)->SetDestruct(1);
    }
    delete nEnemies;
}

void Enemy::BecomeBossBarTarget(Enemy *pEnemy)
{
    GUISBossHealthBar *rBar = GetBossHealthBar();
    if(!rBar || !pEnemy) return;
    rBar->SetTargetEnemy(pEnemy);
    rBar->Show();
}

void Enemy::PurgeBossBarTarget()
{
    GUISBossHealthBar *rBar = GetBossHealthBar();
    if(!rBar) return;
    rBar->SetTargetEnemy(nullptr);
    rBar->Hide();
}

Enemy *Enemy::GetBossBarTarget()
{
    GUISBossHealthBar *rBar = GetBossHealthBar();
    RootEntity *rTarget = rBar ? rBar->GetTargetEnemy() : nullptr;
    return (rTarget && rTarget->GetType() == TYPE_ENEMY) ? static_cast<Enemy *>(rTarget) : nullptr;
}

int32_t Enemy::ReadHealthOf(RootEntity *pTarget)
{
    if(!pTarget || pTarget->GetType() != TYPE_ENEMY) return 0;
    return static_cast<Enemy *>(pTarget)->GetHealth()->GetHealth();
}

// --- Geometry -------------------------------------------------------------------------------

void Enemy::GetPosition(float &sX, float &sY, float &sZ)
{
    sX = mHitbox.mOwnerX;
    sY = mHitbox.mOwnerY;
    sZ = mHitbox.mOwnerZ;
}

void Enemy::SetPositionAutoCenter(float pX, float pY, float pZ)
{
    mHitbox.mOwnerX = pX;
    mHitbox.mOwnerY = pY;
    mHitbox.mOwnerZ = pZ;
    if(rContact) rContact->SetPosition(pX, pY);
    UpdateHitbox();
}

void Enemy::UpdateHitbox()
{
    mHitbox.mLft = mHitbox.mOwnerX + mOffsetLft;
    mHitbox.mRgt = mHitbox.mOwnerX + mOffsetRgt;
    mHitbox.mTop = mHitbox.mOwnerY + mOffsetTop;
    mHitbox.mBot = mHitbox.mOwnerY + mOffsetBot;
}

void Enemy::SetBoundingBoxSize(float pWidth, float pHeight)
{
    if(pWidth < 0.0f || pHeight < 0.0f)
    {
        fprintf(stderr, "Enemy::SetBoundingBoxSize failed, negative width or height specified.\n");
        return;
    }
    mOffsetLft = 0.0f;
    mOffsetTop = 0.0f;
    mOffsetRgt = pWidth;
    mOffsetBot = pHeight;
    UpdateHitbox();
}

bool Enemy::IsSideBlocked(int32_t pSide)
{
    ClipWorld tWorld = MapManager::CurrentClipWorld();
    if(pSide == 0) return IsBlockedLeft(tWorld, mHitbox);
    if(pSide == 1) return IsBlockedRight(tWorld, mHitbox);
    if(pSide == 2) return IsBlockedUp(tWorld, mHitbox);
    if(pSide == 3) return IsBlockedDown(tWorld, mHitbox);
    return false;
}

bool Enemy::IsOffScreen() const
{
    Hitbox tFrame;
    if(!CameraFrame(tFrame)) return false;
    return !OverlapsStrict(tFrame, mHitbox, 0.0f);
}

bool Enemy::IsOutsideDespawnArea() const
{
    if(mDoNotDespawn) return false;
    Hitbox tFrame;
    if(!CameraFrame(tFrame)) return false;
    return !OverlapsStrict(tFrame, mHitbox, ENEMY_DESPAWN_MARGIN);
}

void Enemy::LoadMovementFlags() const
{
    AllowBotSlopes = mAllowBotSlopes != 0;
    AllowTopSlopes = mAllowTopSlopes != 0;
    AllowAirWalk = mAllowAirWalk != 0;
}

// The whole record is restored, remainders included, so the trial leaves no trace.
bool Enemy::IsSideMovable(bool pLeft)
{
    Hitbox tSaved = mHitbox;
    LoadMovementFlags();
    MoveWithCollision(MapManager::CurrentClipWorld(), pLeft ? -1.0 : 1.0, 0.0, 0.0, mHitbox);
    bool tMoved = mHitbox.mOwnerX != tSaved.mOwnerX;
    mHitbox = tSaved;
    UpdateHitbox();
    return tMoved;
}

float Enemy::GetDistanceFromEntity(RootEntity *pEntity)
{
    if(!pEntity)
    {
        fprintf(stderr, "Enemy::GetDistanceFromEntity error, RootEntity is null.\n");
        return 0.0f;
    }
    Hitbox tOther = Hitbox();
    pEntity->GetHitbox(tOther);
    float tDX = (tOther.mLft + tOther.mRgt) / 2.0f - (mHitbox.mLft + mHitbox.mRgt) / 2.0f;
    float tDY = (tOther.mTop + tOther.mBot) / 2.0f - (mHitbox.mTop + mHitbox.mBot) / 2.0f;
    return sqrtf(tDX * tDX + tDY * tDY);
}

// --- Properties -----------------------------------------------------------------------------

void Enemy::SetLogicScript(const char *pPath)
{
    ResetString(&mLogicScript, pPath);
}

void Enemy::SetDestructionScript(const char *pPath)
{
    ResetString(&mDestructionScript, pPath);
}

void Enemy::SetHitReactionScript(const char *pPath)
{
    ResetString(&mHitReactionScript, pPath);
}

void Enemy::SetDamageSoundEffect(const char *pName)
{
    ResetString(&mDamageSound, pName);
}

void Enemy::SetInvincibleSoundEffect(const char *pName)
{
    ResetString(&mInvincibleSound, pName);
}

void Enemy::SetIgnoreDamage(uint8_t pFlag)
{
    mIgnoreDamage = pFlag;
    mHitboxes->SetIgnoreDamage(pFlag);
}

void Enemy::SetContactDamage(int32_t pDamage)
{
    if(pDamage < 0) return;
    if(rContact) rContact->SetDamage(pDamage);
    mHitboxes->SetDamage(pDamage);
}

int32_t Enemy::GetContactDamage() const
{
    return rContact ? rContact->GetDamage() : 0;
}

void Enemy::SetUseBoundingBoxAsHitbox(uint8_t pFlag)
{
    mUseBoxAsHitbox = pFlag;
    if(rContact) rContact->SetTargetFlags(pFlag ? PROJECTILE_TARGET_PLAYER : PROJECTILE_TARGET_NONE);
}

void Enemy::SetBusterBlocker(uint8_t pFlag)
{
    if(!mUseBoxAsHitbox) mHitboxes->SetBusterBlocker(pFlag);
    else if(rContact) rContact->SetBusterBlocker(pFlag);
}

void Enemy::SetUsePuppetHitboxes(uint8_t pFlag)
{
    mUsePuppetHitboxes = pFlag;
    if(pFlag && rContact) rContact->SetOwnerEnemy(this);
}

void Enemy::SetWaitTimeBeforeEnabled(int32_t pTicks)
{
    if(pTicks <= 0) return;
    mWaitSetting = pTicks;
    mWaitLeft = pTicks;
}

// Values beyond a signed byte are clamped rather than wrapped (200 would read as -56).
void Enemy::SetDamageTakenFrom(int32_t pIndex, int32_t pValue)
{
    if(pIndex < 0 || pIndex >= ENEMY_DAMAGE_TABLE_SIZE) return;
    if(pValue > 127) pValue = 127;
    if(pValue < -128) pValue = -128;
    mDamageTakenFrom[pIndex] = (int8_t)pValue;
}

int32_t Enemy::GetDamageTakenFrom(int32_t pIndex) const
{
    if(pIndex < 0 || pIndex >= ENEMY_DAMAGE_TABLE_SIZE) return 0;
    return mDamageTakenFrom[pIndex];
}

void Enemy::SetMoveEntityFlag(const char *pFlagName, uint8_t pValue)
{
    if(!pFlagName) return;
    if(!strcmp(pFlagName, "AllowBotSlopes")) mAllowBotSlopes = pValue;
    else if(!strcmp(pFlagName, "AllowTopSlopes")) mAllowTopSlopes = pValue;
    else if(!strcmp(pFlagName, "AllowAirWalk")) mAllowAirWalk = pValue;
    else fprintf(stderr, "Error in AIMovement, can't set flag %s\n", pFlagName);
}

void Enemy::OverrideAppearance(int32_t pAnimationIndex, int32_t pFrame, int32_t pFacing)
{
    mOverrideAnimation = pAnimationIndex;
    mOverrideFrame = pFrame;
    mOverrideFacing = pFacing;
    mOverridePending = 1;
}

int32_t Enemy::GetDamageFromProjectile(RootProjectile *pProjectile) const
{
    if(!pProjectile) return 0;
    int32_t tDamage = pProjectile->GetDamage();
    if(tDamage < 0) return 0;
    if(tDamage < ENEMY_DAMAGE_TABLE_SIZE) return mDamageTakenFrom[tDamage];
    return tDamage;
}

// --- Scripts --------------------------------------------------------------------------------

void Enemy::RunDestructionScript()
{
    RunScriptAsActive(this, mDestructionScript);
}

// --- Per tick -------------------------------------------------------------------------------

void Enemy::CheckBoundingBoxDamage()
{
    mDamageThisTick = 0;
    mWeaponCMark = 0;
    EntityManager *rEntities = EntityManager::Fetch();
    if(mIgnoreDamage || !rEntities) return;
    NamedLinkedList *nHits = rEntities->FindProjectileHitA(PROJECTILE_TARGET_ENEMIES, mHitbox);
    EnemyIntake tIntake(this);
    tIntake.Walk(nHits, mHealth->GetHealth(), true);
    delete nHits;
    mDamageThisTick = tIntake.Finish(mWeaponCMark);
}

void Enemy::TakeDamageIntake()
{
    mWeaponCMark = 0;
    if(mUsePuppetHitboxes)
    {
        mHitboxes->UpdatePuppetHitboxes(mAppearance);
        mHitboxes->CollectPuppetDamage(mHealth);
        mDamageThisTick = mHitboxes->GetDamageThisTick();
        mWeaponCMark = mHitboxes->GetWeaponCMark();
    }
    else if(mUseBoxAsHitbox)
    {
        mDamageThisTick = 0;
        if(!IsOffScreen()) CheckBoundingBoxDamage();
    }
    else
    {
        mHitboxes->Update(mHitbox, mAppearance, mHealth);
        mDamageThisTick = mHitboxes->GetDamageThisTick();
        mWeaponCMark = mHitboxes->GetWeaponCMark();
    }
    if(IsOffScreen() || (rContact && rContact->IsBusterBlocker()) || mHitboxes->GetBusterBlocker())
    {
        mDamageThisTick = 0;
        mWeaponCMark = 0;
    }
}

void Enemy::ApplyOutcome(int32_t pFirstDamage)
{
    if(mHealth->GetHealth() < 1)
    {
        if(!mAllowDeath) return;
        mDestruct = 1;
        if(rContact)
        {
            rContact->Disable();
            rContact->SetDestruct(1);
        }
        RunDestructionScript();
        SpawnManager *rSpawns = SpawnManager::Get();
        RootEntity *rPoint = rSpawns ? rSpawns->FindById(mSpawnPointID) : nullptr;
        if(rPoint) SetDataNumber(rPoint->GetData(), "RespawnTimer", ENEMY_RESPAWN_TICKS);
        return;
    }
    if(pFirstDamage < 1 || (mInvulnerability < 1 && mWeaponCInvulnerability < 1))
    {
        if(mDamageThisTick <= 0) return;
        PlaySoundNamed(mDamageSound);
        if(mWeaponCMark) mWeaponCInvulnerability = mInvincibleMaxTime;
        else mInvulnerability = mInvincibleMaxTime;
        RunScriptAsActive(this, mHitReactionScript);
        return;
    }
    PlaySoundNamed(mInvincibleSound);
}

void Enemy::Update()
{
    Debug::PushPrintTag(cTraceTag, "Updating %s\n", mName);
    if(mWaitLeft > -1) mWaitLeft--;
    if(mWaitLeft > 0)
    {
        Debug::PopPrint("Wait time %d before %s enabled\n", mWaitLeft, mName);
        return;
    }
    if(!mLogicScript)
    {
        Debug::PopPrint("No logic script\n");
        return;
    }
    if(mDestruct)
    {
        Debug::PopPrint("Self destructing\n");
        return;
    }
    if(IsOutsideDespawnArea())
    {
        mDestruct = 1;
        if(rContact) rContact->SetDestruct(1);
        Debug::PopPrint("Boundaries exceeded\n");
        return;
    }

    TakeDamageIntake();
    const int32_t tFirstDamage = mDamageThisTick;
    if(mInvulnerability > 0)
    {
        mInvulnerability--;
        if(mInvulnerability > 0) mDamageThisTick = 0;
    }
    if(mWeaponCInvulnerability > 0) mWeaponCInvulnerability--;
    mHealth->TakeDamage(mDamageThisTick);
    ApplyOutcome(tFirstDamage);

    RunScriptAsActive(this, mLogicScript);

    // The flags are one-shot for the next collision move; a handler that made none (a delay,
    // a script control, an empty queue) must not leave them set for the next entity's move.
    LoadMovementFlags();
    mMovementHandler->Update(mHitbox);
    AllowBotSlopes = AllowTopSlopes = AllowAirWalk = false;
    UpdateHitbox();
    mAttackHandler->Update(mHitbox);

    if(rContact)
    {
        rContact->SetPosition(mHitbox.mOwnerX, mHitbox.mOwnerY);
        rContact->SetDimensions(mOffsetLft, mOffsetTop, mOffsetRgt, mOffsetBot);
    }
    UpdateAppearance();
    mAppearance->Update(mHitbox);
    Debug::PopPrint("Done\n");
}

void Enemy::UpdateAppearance()
{
    bool tFlash = mHealth->WasHitThisTick() || (mInvulnerability != 0 && (mInvincibleMaxTime - mInvulnerability) % 6 < 3);
    mAppearance->SetDamageFlash(tFlash ? 1 : 0);
    if(mOverridePending)
    {
        mOverridePending = 0;
        mAppearance->SetAnimationIndex(mOverrideAnimation);
        mAppearance->SetFrame(mOverrideFrame);
        mAppearance->SetFacing(mOverrideFacing == 1 ? 0 : 1);
        return;
    }
    int32_t tIndex = -1;
    int32_t tFacing = -1;
    AIAttack *rAttack = mAttackHandler->GetFirstAttack();
    if(rAttack)
    {
        tIndex = rAttack->GetAnimationIndex();
        tFacing = rAttack->GetAnimationDirectionFacing();
    }
    AIMovement *rMovement = mMovementHandler->GetCurrentMovement();
    if((tIndex == -1 || tFacing == -1) && rMovement)
    {
        tIndex = rMovement->GetAnimationIndex();
        tFacing = rMovement->GetAnimationDirectionFacing();
    }
    mAppearance->SetAnimationIndex(tIndex);
    mAppearance->SetFacing(tFacing);
}

void Enemy::Render()
{
    if(mEnabled != 1 || mWaitLeft >= 1) return;
    if(mShowUnderlay)
    {
        glTranslatef(0.0f, 0.0f, -0.51f);
        DrawRectFilled(mHitbox.mLft, mHitbox.mTop, mHitbox.mRgt, mHitbox.mBot, ColorRGBA::FromFloats(0.0f, 0.5f, 0.0f));
        glTranslatef(0.0f, 0.0f, 0.51f);
    }
    mAppearance->Render();
}

#include "world/RootProjectile.h"

#include <GL/gl.h>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "actors/Enemy.h"
#include "actors/EnemyAppearance.h"
#include "actors/EnemyHitbox.h"
#include "actors/PlayerPony.h"
#include "core/Geometry.h"
#include "core/LuaManager.h"
#include "core/NamedLinkedList.h"
#include "core/OptionsManager.h"
#include "core/Utilities.h"
#include "core/data/DataLibrary.h"
#include "core/render/Bitmap.h"
#include "core/render/CorvelAnimation.h"
#include "core/render/Drawing.h"
#include "skeleton/CorvelPuppet.h"
#include "world/Camera.h"
#include "world/CameraManager.h"
#include "world/ClipQueries.h"
#include "world/EntityManager.h"
#include "world/FlameProjectile.h"
#include "world/LevelCollision.h"
#include "world/MapManager.h"

int32_t xProjectileLastHitPlayer = 0;

namespace
{
    bool CornerOfBoxInPolygon(const Hitbox &pBox, PolygonArrays pPolygon)
    {
        const float cXs[4] = {pBox.mLft, pBox.mRgt, pBox.mRgt, pBox.mLft};
        const float cYs[4] = {pBox.mTop, pBox.mTop, pBox.mBot, pBox.mBot};
        for(int32_t i = 0; i < 4; i++)
        {
            if(PointInPolygonArrays(cXs[i], cYs[i], pPolygon.mCount, pPolygon.rX, pPolygon.rY)) return true;
        }
        return false;
    }

    bool IsEntityAlive(int32_t pID)
    {
        EntityManager *rManager = EntityManager::Fetch();
        return rManager && rManager->FindByID(pID);
    }
}

CorvelAnimation *LookUpAnimation(const char *pPath)
{
    DataLibrary *rLibrary = DataLibrary::Fetch();
    if(!pPath || !rLibrary) return nullptr;
    RootObject *rObject = (RootObject *)rLibrary->GetEntryOfKind(pPath, DL_KIND_ROOTOBJECT);
    if(!rObject || rObject->GetType() != TYPE_CORVELANIMATION) return nullptr;
    return dynamic_cast<CorvelAnimation *>(rObject);
}

// Platforms stay, since a same-map reload does not rebuild them and the path before a boss
// door would be gone for the rest of the visit.
void DestroyAllProjectiles()
{
    EntityManager *rManager = EntityManager::Fetch();
    if(!rManager) return;
    NamedLinkedList *rList = rManager->GetEntityList();
    for(void *rData = rList->PushIterator(); rData; rData = rList->IterateNext())
    {
        RootEntity *rEntity = (RootEntity *)rData;
        int32_t tType = rEntity->GetType();
        if(IsProjectileType(tType) && tType != TYPE_MOVINGCONTAINER) rEntity->SetDestruct(1);
    }
}

// --- Construction ---------------------------------------------------------------------------

RootProjectile::RootProjectile() : mFrameHolder(this, ReleaseFrame)
{
    mType = TYPE_ROOTPROJECTILE;
    mIgnoreDamage = 0;
    mTicksAlive = 0;
    mSelfMoving = 0;
    rNativeLogic = nullptr;
    mLogicScript = nullptr;
    mIsObstacle = 0;
    mImmuneToInterception = 0;
    mWeaponFlagA = 0;
    mPiercing = 0;
    mDamage = 0;
    mDamageCounter = 0;
    mWeaponFlagC = 0;
    mInvincibleTimerFlag = 0;
    mInvincibleTimerTicks = 0;
    mIsBuster = 0;
    mBusterBlocker = 0;
    mBusterTarget = 0;
    mBusterTargetScript = nullptr;
    mTargetFlags = 0;
    mHitOnce = 0;
    mHitList = new NamedLinkedList(0);
    mIsReflecting = 0;
    mIgnoreClips = 1;
    mBlockOffscreen = 0;
    mOffsetLft = mOffsetTop = mOffsetRgt = mOffsetBot = 0.0f;
    mOffsetUnusedA = mOffsetUnusedB = 0.0f;
    mHitbox = Hitbox();
    mPolygonIndex = -1;
    mOwnerEnemyPresent = 0;
    mOwnerEnemyID = 0;
    mOwnerPresent = 0;
    mOwnerID = 0;
    mImpactScript = nullptr;
    mBlockScript = nullptr;
    mDestructScript = nullptr;
    mResetScript = nullptr;
    mSpeedX = mSpeedY = mSpeedZ = 0.0f;
    mFlipFlag = 0;
    mAnimationTimer = 0;
    mRotation = 0.0f;
    mShowUnderlay = 0;
    mUnderlayColour.Set(0.0f, 0.0f, 0.0f, 1.0f);
    rNativeRender = nullptr;
    rFrameCallback = nullptr;
    mDrawOffsetX = mDrawOffsetY = 0.0f;
    mAnimationPath = nullptr;
    mIgnoreNoAnimationError = 0;
    rFrame = nullptr;
    mRenderScript = nullptr;
}

// An enemy's box tells its owner that it is going, so the enemy never keeps a freed box.
RootProjectile::~RootProjectile()
{
    if(mOwnerID != 0) Enemy::OwnedProjectileGone(mOwnerID, this);
    delete mHitList;
    free(mLogicScript);
    free(mRenderScript);
    free(mBlockScript);
    free(mImpactScript);
    free(mBusterTargetScript);
    free(mDestructScript);
    free(mResetScript);
    free(mAnimationPath);
}

// --- Geometry -------------------------------------------------------------------------------

void RootProjectile::GetPosition(float &sX, float &sY, float &sZ)
{
    sX = mHitbox.mOwnerX;
    sY = mHitbox.mOwnerY;
    sZ = mHitbox.mOwnerZ;
}

bool RootProjectile::IsSideBlocked(int32_t pSide)
{
    ClipWorld tWorld = MapManager::CurrentClipWorld();
    if(pSide == 0) return IsBlockedLeft(tWorld, mHitbox);
    if(pSide == 1) return IsBlockedUp(tWorld, mHitbox);
    if(pSide == 2) return IsBlockedRight(tWorld, mHitbox);
    if(pSide == 3) return IsBlockedDown(tWorld, mHitbox);
    return false;
}

bool RootProjectile::ContainsPoint(int32_t pX, int32_t pY)
{
    if(!mIsObstacle) return false;
    return pX >= mHitbox.mLft && pX <= mHitbox.mRgt - 1.0f && pY >= mHitbox.mTop && pY <= mHitbox.mBot - 1.0f;
}

SolidReach RootProjectile::GetSolidReach(IntRect &sBox)
{
    return mIsObstacle ? HitboxReach(sBox) : SOLID_REACH_NONE;
}

SolidReach RootProjectile::HitboxReach(IntRect &sBox) const
{
    return BoxHoldingFloatSpans(mHitbox.mLft, mHitbox.mRgt - 1.0f, mHitbox.mTop, mHitbox.mBot - 1.0f, sBox)
               ? SOLID_REACH_BOX
               : SOLID_REACH_NONE;
}

Hitbox *RootProjectile::GetHitboxPtr()
{
    EntityManager::NoteShapeChange(this);
    return &mHitbox;
}

void RootProjectile::SetObstacle(uint8_t pFlag)
{
    EntityManager::NoteShapeChange(this);
    mIsObstacle = pFlag;
}

void RootProjectile::SetPosition(float pX, float pY)
{
    mHitbox.mOwnerX = pX;
    mHitbox.mOwnerY = pY;
    UpdateHitbox();
}

void RootProjectile::SetDimensions(float pLft, float pTop, float pRgt, float pBot)
{
    mOffsetLft = pLft;
    mOffsetTop = pTop;
    mOffsetRgt = pRgt;
    mOffsetBot = pBot;
    UpdateHitbox();
}

void RootProjectile::UpdateHitbox()
{
    EntityManager::NoteShapeChange(this);
    mHitbox.mLft = mHitbox.mOwnerX + mOffsetLft;
    mHitbox.mTop = mHitbox.mOwnerY + mOffsetTop;
    mHitbox.mRgt = mHitbox.mOwnerX + mOffsetRgt;
    mHitbox.mBot = mHitbox.mOwnerY + mOffsetBot;
}

void RootProjectile::GetSpeeds(float &sX, float &sY, float &sZ) const
{
    sX = mSpeedX;
    sY = mSpeedY;
    sZ = mSpeedZ;
}

void RootProjectile::Move(float pDX, float pDY, float pDZ)
{
    EntityManager::NoteShapeChange(this);
    if(mIgnoreClips)
    {
        mHitbox.ShiftX(pDX);
        mHitbox.ShiftY(pDY);
        return;
    }
    MoveWithCollision(MapManager::CurrentClipWorld(), pDX, pDY, pDZ, mHitbox);
}

void RootProjectile::MoveBySpeeds()
{
    Move(mSpeedX, mSpeedY, 0.0f);
}

void RootProjectile::WallCrawl(int32_t pSteps)
{
    EntityManager::NoteShapeChange(this);
    ::WallCrawl(MapManager::CurrentClipWorld(), pSteps, mHitbox);
    UpdateHitbox();
}

// --- Flags and scripts ----------------------------------------------------------------------

void RootProjectile::SetLogicScript(const char *pPath)
{
    ResetString(&mLogicScript, nullptr);
    rNativeLogic = nullptr;
    rNativeRender = nullptr;
    if(!pPath) return;
    const ProjectileOverride *rOverride = FindProjectileOverride(pPath);
    if(rOverride)
    {
        rNativeLogic = rOverride->rLogic;
        rNativeRender = rOverride->rRender;
        return;
    }
    ResetString(&mLogicScript, pPath);
}

void RootProjectile::SetRenderScript(const char *pPath)
{
    ResetString(&mRenderScript, pPath);
}

void RootProjectile::SetBlockScript(const char *pPath)
{
    ResetString(&mBlockScript, pPath);
}

void RootProjectile::SetImpactScript(const char *pPath)
{
    ResetString(&mImpactScript, pPath);
}

void RootProjectile::SetDestructScript(const char *pPath)
{
    ResetString(&mDestructScript, pPath);
}

void RootProjectile::SetResetScript(const char *pPath)
{
    ResetString(&mResetScript, pPath);
}

void RootProjectile::SetBusterTarget(uint8_t pFlag, const char *pPath)
{
    mBusterTarget = pFlag;
    ResetString(&mBusterTargetScript, pPath);
}

void RootProjectile::SetInvincibleTimer(uint8_t pFlag, int32_t pTicks)
{
    mInvincibleTimerFlag = pFlag;
    mInvincibleTimerTicks = pTicks;
}

void RootProjectile::SetOwnerID(int32_t pID)
{
    mOwnerID = pID;
    mOwnerPresent = pID != 0 ? 1 : 0;
}

void RootProjectile::SetOwnerEnemy(RootEntity *pEnemy)
{
    mOwnerEnemyPresent = pEnemy ? 1 : 0;
    mOwnerEnemyID = pEnemy ? pEnemy->GetID() : 0;
}

void RootProjectile::NotifyOwnerEnemy()
{
    Enemy *rOwner = mOwnerPresent ? Enemy::FindLive(mOwnerID) : nullptr;
    if(rOwner) rOwner->SetHitPlayer();
}

void RootProjectile::SetUnderlay(float pR, float pG, float pB)
{
    mShowUnderlay = 1;
    mUnderlayColour.Set(pR, pG, pB, 1.0f);
}

void RootProjectile::SetAnimationDrawingOffsets(float pX, float pY)
{
    mDrawOffsetX = pX;
    mDrawOffsetY = pY;
}

void RootProjectile::GetAnimationDrawingOffsets(float &sX, float &sY) const
{
    sX = mDrawOffsetX;
    sY = mDrawOffsetY;
}

void RootProjectile::SetAnimationLibraryPath(const char *pPath)
{
    ResetString(&mAnimationPath, pPath);
}

void RootProjectile::ReleaseFrame(void *pProjectile, void *pObject)
{
    RootProjectile *rProjectile = (RootProjectile *)pProjectile;
    if(rProjectile->rFrame == pObject) rProjectile->rFrame = nullptr;
}

void RootProjectile::SetFrame(const char *pAnimationPath, int32_t pFrame, float pXOffset, float pYOffset)
{
    if(!pAnimationPath) return;
    CorvelAnimation *rAnimation = LookUpAnimation(pAnimationPath);
    if(!rAnimation)
    {
        fprintf(stderr, "RootProject:  SetFrame - Error, no Animation %s\n", pAnimationPath);
        return;
    }
    rFrame = mFrameHolder.Hold(rAnimation->GetFrame(pFrame));
    mDrawOffsetX = pXOffset;
    mDrawOffsetY = pYOffset;
}

Bitmap *RootProjectile::GetProjectileAnimationFrame()
{
    CorvelAnimation *rAnimation = LookUpAnimation(mAnimationPath);
    if(!rAnimation)
    {
        if(!mIgnoreNoAnimationError)
        {
            fprintf(stderr, "RootProjectile::GetProjectileAnimationFrame: Error, no Animation matched the library path %s.\n",
                    mAnimationPath ? mAnimationPath : "(null)");
        }
        return nullptr;
    }
    return rAnimation->GetFrameAtTick(mAnimationTimer);
}

// --- Hits -----------------------------------------------------------------------------------

void RootProjectile::AddHitRecord(int32_t pID)
{
    mHitList->AddElement("X", (void *)(intptr_t)pID);
}

bool RootProjectile::IsInHitList(int32_t pID) const
{
    for(void *rData = mHitList->PushIterator(); rData; rData = mHitList->IterateNext())
    {
        if((int32_t)(intptr_t)rData == pID)
        {
            mHitList->PopIterator();
            return true;
        }
    }
    return false;
}

// With an owner enemy the puppet's polygons decide; until its puppet has been drawn seven
// times the polygons have no settled pose and neither block nor are hit.
static bool OwnerPuppetSettled(Enemy *pEnemy)
{
    return pEnemy && pEnemy->GetAppearance()->GetPuppetRenderCount() >= 7;
}

bool RootProjectile::IsBusterBlocker()
{
    if(mOwnerEnemyPresent)
    {
        Enemy *rEnemy = Enemy::FindLive(mOwnerEnemyID);
        if(!OwnerPuppetSettled(rEnemy) || mPolygonIndex == -1) return false;
        CorvelPuppet *rPuppet = rEnemy->GetAppearance()->GetPuppet();
        return rPuppet && rPuppet->GetDrawnSlotBlocksBuster(mPolygonIndex);
    }
    return mBusterBlocker != 0;
}

bool RootProjectile::HitTestHitbox(Hitbox pOther)
{
    if(mOwnerEnemyPresent)
    {
        Enemy *rEnemy = Enemy::FindLive(mOwnerEnemyID);
        if(!OwnerPuppetSettled(rEnemy)) return false;
        EnemyHitbox *rHitboxes = rEnemy->GetEnemyHitbox();
        const EnemyPuppetPolygon *rPolygons = rHitboxes->GetPuppetHitboxes();
        for(int32_t i = 0; i < rHitboxes->GetPuppetHitboxCount(); i++)
        {
            PolygonArrays tShape;
            tShape.mCount = rPolygons[i].mCount;
            tShape.rX = rPolygons[i].mX;
            tShape.rY = rPolygons[i].mY;
            if(CornerOfBoxInPolygon(pOther, tShape))
            {
                mPolygonIndex = i;
                return true;
            }
        }
        return false;
    }
    return HitboxesOverlap(pOther, mHitbox);
}

bool RootProjectile::HitTestPolygon(PolygonArrays pPolygon)
{
    return CornerOfBoxInPolygon(mHitbox, pPolygon);
}

// --- Hooks ----------------------------------------------------------------------------------

void RootProjectile::RunHookScript(const char *pPath, int32_t pCode)
{
    RunScriptAsActive(this, pPath, SCRIPT_ARGS_NUMBER, (double)pCode);
}

void RootProjectile::OnDestroy()
{
    RunHookScript(mDestructScript, PROJECTILE_HOOK_DESTRUCT);
}

void RootProjectile::Reset()
{
    RunHookScript(mResetScript, PROJECTILE_HOOK_RESET);
}

void RootProjectile::RunBlockScript()
{
    RunHookScript(mBlockScript, PROJECTILE_HOOK_BLOCK);
}

void RootProjectile::RunImpactScript()
{
    RunHookScript(mImpactScript, PROJECTILE_HOOK_IMPACT);
}

void RootProjectile::RunBusterTargetScript()
{
    mDestruct = 1;
    RunHookScript(mBusterTargetScript, PROJECTILE_HOOK_BUSTERTARGET);
}

void RootProjectile::RunLogic()
{
    if(mLogicScript) RunHookScript(mLogicScript, PROJECTILE_HOOK_LOGIC);
    else if(rNativeLogic) rNativeLogic(this);
    UpdateHitbox();
}

void RootProjectile::InterceptProjectile(RootProjectile *)
{
}

// --- Update ---------------------------------------------------------------------------------

// Both tests read the position shifted so the box's top-left sits on it. The shift is
// computed on a copy rather than applied to the stored position, which would drift by
// rounding each tick. A buster shot goes as soon as that shifted box leaves the view.
void RootProjectile::ApplyOffscreenRule()
{
    Camera *rCamera = CameraManager::ActiveCamera();
    if(!rCamera) return;
    const float tX = mHitbox.mOwnerX - mOffsetLft;
    const float tY = mHitbox.mOwnerY - mOffsetTop;
    if(mIsBuster)
    {
        Hitbox tShifted = mHitbox;
        tShifted.mOwnerX = tX;
        tShifted.mOwnerY = tY;
        tShifted.mLft = tX + mOffsetLft;
        tShifted.mTop = tY + mOffsetTop;
        tShifted.mRgt = tX + mOffsetRgt;
        tShifted.mBot = tY + mOffsetBot;
        if(!rCamera->IsRectVisible(tShifted)) mDestruct = 1;
        return;
    }
    Hitbox tFrame = rCamera->GetFrame();
    if(tX < tFrame.mLft - PROJECTILE_OFFSCREEN_MARGIN || tX > tFrame.mRgt + PROJECTILE_OFFSCREEN_MARGIN ||
       tY < tFrame.mTop - PROJECTILE_OFFSCREEN_MARGIN || tY > tFrame.mBot + PROJECTILE_OFFSCREEN_MARGIN)
    {
        mDestruct = 1;
    }
}

// Hooks run from here may destroy other projectiles, so a projectile taken from a sweep is
// looked up again before it is used after a script has run.
void RootProjectile::RunHitSweeps()
{
    EntityManager *rManager = EntityManager::Fetch();
    if(!rManager) return;

    if(mIsBuster)
    {
        NamedLinkedList *nHits = rManager->FindProjectileHitA(PROJECTILE_TARGET_PLAYER, mHitbox);
        for(void *rData = nHits->PushIterator(); rData; rData = nHits->IterateNext())
        {
            RootProjectile *rBlocker = (RootProjectile *)rData;
            if(!rBlocker->IsBusterBlocker()) continue;
            rBlocker->SetPolygonIndex(-1);
            nHits->PopIterator();
            // The block hook may ask which enemy stopped the shot; null for a free blocker.
            Enemy *rPrevious = xEnemyStruck;
            xEnemyStruck = Enemy::FindLive(rBlocker->GetOwnerID());
            RunBlockScript();
            xEnemyStruck = rPrevious;
            break;
        }
        delete nHits;
    }
    else if(mBusterTarget)
    {
        NamedLinkedList *nHits = rManager->FindProjectileHitA(PROJECTILE_TARGET_ENEMIES, mHitbox);
        for(void *rData = nHits->PushIterator(); rData; rData = nHits->IterateNext())
        {
            RootProjectile *rShot = (RootProjectile *)rData;
            if(!rShot->IsBuster()) continue;
            nHits->PopIterator();
            int32_t tShotID = rShot->GetID();
            uint8_t tPiercing = rShot->IsPiercing();
            RunBusterTargetScript();
            if(!tPiercing && IsEntityAlive(tShotID)) rShot->RunImpactScript();
            break;
        }
        delete nHits;
    }
    else
    {
        PlayerPony *rPlayer = rManager->GetPlayer();
        if(rPlayer)
        {
            Hitbox tPlayerBox = Hitbox();
            static_cast<RootEntity *>(rPlayer)->GetHitbox(tPlayerBox);
            if(HitboxesOverlap(mHitbox, tPlayerBox)) RunImpactScript();
        }
    }

    if(mImmuneToInterception) return;
    NamedLinkedList *nHits = rManager->FindProjectileHitA(PROJECTILE_TARGET_ALL, mHitbox);
    for(void *rData = nHits->PushIterator(); rData; rData = nHits->IterateNext())
    {
        if(rData != this) InterceptProjectile((RootProjectile *)rData);
    }
    delete nHits;
}

void RootProjectile::Update()
{
    mTicksAlive++;
    if(!mSelfMoving) MoveBySpeeds();
    if(!mBlockOffscreen) ApplyOffscreenRule();
    RunLogic();
    RunHitSweeps();
}

// --- Drawing --------------------------------------------------------------------------------

void RootProjectile::Render()
{
    OptionsManager *rOptions = OptionsManager::Get();
    bool tShow = rOptions && rOptions->GetBool("ShowHitboxes");
    float tOffsetX = 0.0f;
    float tOffsetY = 0.0f;
    Bitmap *rImage = nullptr;

    if(rNativeRender)
    {
        rNativeRender(this);
        rImage = rFrame;
        tOffsetX = (float)TruncateCoordinate(mDrawOffsetX);
        tOffsetY = (float)TruncateCoordinate(mDrawOffsetY);
    }
    else if(rFrameCallback)
    {
        int32_t tX = 0;
        int32_t tY = 0;
        rImage = rFrameCallback(this, tX, tY);
        tOffsetX = (float)tX;
        tOffsetY = (float)tY;
    }
    else if(mAnimationPath)
    {
        rImage = GetProjectileAnimationFrame();
        mAnimationTimer++;
        tOffsetX = mDrawOffsetX;
        tOffsetY = mDrawOffsetY;
    }
    else if(mRenderScript)
    {
        rFrame = nullptr;
        RunHookScript(mRenderScript, PROJECTILE_HOOK_RENDER);
        rImage = rFrame;
        tOffsetX = mDrawOffsetX;
        tOffsetY = mDrawOffsetY;
    }

    if(!rImage && !tShow && !mShowUnderlay) return;
    float tZ = (mDepth != ROOTENTITY_NO_DEPTH) ? mDepth : 0.0f;
    float tLft = mHitbox.mLft;
    float tTop = mHitbox.mTop;
    float tWidth = (float)TruncateCoordinate(mHitbox.mRgt - mHitbox.mLft);
    float tHeight = (float)TruncateCoordinate(mHitbox.mBot - mHitbox.mTop);
    glTranslatef(tLft, tTop, tZ);

    if(rImage)
    {
        glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
        glEnable(GL_TEXTURE_2D);
        float tHalfW = (float)TruncateCoordinate(tWidth / 2.0f);
        float tHalfH = (float)TruncateCoordinate(tHeight / 2.0f);
        if(mRotation != 0.0f)
        {
            glTranslatef(tHalfW, tHalfH, 0.0f);
            glRotatef(mRotation, 0.0f, 0.0f, 1.0f);
            glTranslatef(-tHalfW, -tHalfH, 0.0f);
        }
        glTranslatef(tOffsetX, tOffsetY, 0.0f);
        rImage->Draw(0, 0, mFlipFlag);
        glTranslatef(-tOffsetX, -tOffsetY, 0.0f);
        if(mRotation != 0.0f)
        {
            glTranslatef(tHalfW, tHalfH, 0.0f);
            glRotatef(-mRotation, 0.0f, 0.0f, 1.0f);
            glTranslatef(-tHalfW, -tHalfH, 0.0f);
        }
    }

    if(mShowUnderlay)
    {
        glTranslatef(tOffsetX, tOffsetY, 0.0f);
        DrawRectFilled(0.0f, 0.0f, tWidth, tHeight, mUnderlayColour);
        glTranslatef(-tOffsetX, -tOffsetY, 0.0f);
    }

    if(tShow) RenderHitboxRect(0.0f, 0.0f, tWidth, tHeight);

    glTranslatef(-tLft, -tTop, -tZ);
}

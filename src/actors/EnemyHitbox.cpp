#include "actors/EnemyHitbox.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "actors/Enemy.h"
#include "actors/EnemyAppearance.h"
#include "actors/EnemyHealth.h"
#include "actors/EnemyIntake.h"
#include "core/Geometry.h"
#include "core/NamedLinkedList.h"
#include "core/data/DataLibrary.h"
#include "core/render/Bitmap.h"
#include "core/render/CorvelAnimation.h"
#include "skeleton/CorvelPuppet.h"
#include "world/EntityManager.h"
#include "world/RootProjectile.h"

EnemyHitbox::EnemyHitbox()
{
    mType = TYPE_ENEMYHITBOX;
    mBoxes = nullptr;
    mBoxCount = 0;
    mTable = nullptr;
    mTableAnimations = 0;
    mTableFrames = nullptr;
    mTableBoxes = 0;
    mIgnoreMissing = 0;
    mBusterBlocker = 0;
    mAnimationCount = 0;
    mAnimationWidth = 0;
    mAnimationHeight = 0;
    mFrames = nullptr;
    mDamageThisTick = 0;
    mIgnoreDamage = 0;
    mWeaponCMark = 0;
    rOwner = nullptr;
    mPolygonsReady = 0;
    mPuppetDrawnEnough = 0;
    mPolygonCount = 0;
    mPolygons = nullptr;
}

EnemyHitbox::~EnemyHitbox()
{
    ClearHitboxes();
    delete[] mPolygons;
}

// --- Boxes ----------------------------------------------------------------------------------

void EnemyHitbox::ReleaseBoxes()
{
    for(int32_t i = 0; i < mBoxCount; i++)
    {
        if(!mBoxes[i]) continue;
        mBoxes[i]->SetOwnerID(0);
        mBoxes[i]->SetDestruct(1);
    }
    free(mBoxes);
    mBoxes = nullptr;
    mBoxCount = 0;
}

void EnemyHitbox::ForgetBox(RootProjectile *pBox)
{
    for(int32_t i = 0; i < mBoxCount; i++)
    {
        if(mBoxes[i] == pBox) mBoxes[i] = nullptr;
    }
}

RootProjectile *EnemyHitbox::GetBox(int32_t pIndex) const
{
    if(pIndex < 0 || pIndex >= mBoxCount) return nullptr;
    return mBoxes[pIndex];
}

void EnemyHitbox::SetNumberOfHitboxes(int32_t pCount)
{
    if(pCount < 1)
    {
        fprintf(stderr, "EnemyHitbox::SetNumberOfHitboxes error, number of hitboxes specified is less than 1.\n");
        return;
    }
    if(pCount > ENEMYHITBOX_MAX_BOXES)
    {
        fprintf(stderr, "EnemyHitbox::SetNumberOfHitboxes error, %i hitboxes asked for, at most %i allowed.\n", pCount, ENEMYHITBOX_MAX_BOXES);
        return;
    }
    ReleaseBoxes();
    EntityManager *rEntities = EntityManager::Fetch();
    mBoxes = (RootProjectile **)calloc((size_t)pCount, sizeof(RootProjectile *));
    mBoxCount = pCount;
    for(int32_t i = 0; i < pCount; i++)
    {
        char tName[32];
        snprintf(tName, sizeof(tName), "Hitbox%i", i);
        RootProjectile *nBox = new RootProjectile();
        nBox->SetName(tName);
        nBox->SetTargetFlags(PROJECTILE_TARGET_PLAYER);
        nBox->SetBlockAutoOffscreenDestruction(1);
        nBox->SetOwnerID(rOwner ? rOwner->GetID() : 0);
        nBox->SetImmuneToInterception(1);
        nBox->SetBusterBlocker(mBusterBlocker);
        nBox->SetPosition(ENEMYHITBOX_PARK, ENEMYHITBOX_PARK);
        mBoxes[i] = nBox;
        if(rEntities) rEntities->RegisterProjectile(tName, nBox, DeleteRootObject);
    }
}

void EnemyHitbox::SetDamage(int32_t pDamage)
{
    if(pDamage < 0) return;
    for(int32_t i = 0; i < mBoxCount; i++)
    {
        if(mBoxes[i]) mBoxes[i]->SetDamage(pDamage);
    }
}

void EnemyHitbox::SetBusterBlocker(uint8_t pFlag)
{
    mBusterBlocker = pFlag;
    for(int32_t i = 0; i < mBoxCount; i++)
    {
        if(mBoxes[i]) mBoxes[i]->SetBusterBlocker(pFlag);
    }
}

void EnemyHitbox::MakeBoxActive(int32_t pIndex)
{
    DataLibrary *rLibrary = DataLibrary::Fetch();
    RootProjectile *rBox = GetBox(pIndex);
    if(rLibrary && rBox) rLibrary->SetActiveObjectDirect(rBox);
}

// --- Counts and the table -------------------------------------------------------------------

void EnemyHitbox::SetNumberOfAnimations(int32_t pCount)
{
    if(pCount < 1)
    {
        fprintf(stderr, "EnemyHitbox::SetNumberOfAnimations error, number of Animations specified is less than 1.\n");
        return;
    }
    if(pCount > ENEMYHITBOX_MAX_ANIMATIONS)
    {
        fprintf(stderr, "EnemyHitbox::SetNumberOfAnimations error, %i animations asked for, at most %i allowed.\n", pCount,
                ENEMYHITBOX_MAX_ANIMATIONS);
        return;
    }
    free(mFrames);
    mFrames = (int32_t *)calloc((size_t)pCount, sizeof(int32_t));
    mAnimationCount = pCount;
}

void EnemyHitbox::SetNumberOfFramesForAnimation(int32_t pAnimation, int32_t pFrames)
{
    if(pAnimation < 0 || pAnimation >= mAnimationCount)
    {
        fprintf(stderr, "EnemyHitbox::SetNumberOfFramesForAnimation error, Animation index specified is out of bounds. %d\n", pAnimation);
        return;
    }
    if(pFrames < 1)
    {
        fprintf(stderr, "EnemyHitbox::SetNumberOfFramesForAnimation error, number of frames specified is less than 1.\n");
        return;
    }
    if(!mFrames)
    {
        fprintf(stderr, "EnemyHitbox::SetNumberOfFramesForAnimation error, number of Animations was not set.\n");
        return;
    }
    if(pFrames > ENEMYHITBOX_MAX_FRAMES)
    {
        fprintf(stderr, "EnemyHitbox::SetNumberOfFramesForAnimation error, %i frames asked for, at most %i allowed.\n", pFrames,
                ENEMYHITBOX_MAX_FRAMES);
        return;
    }
    mFrames[pAnimation] = pFrames;
}

void EnemyHitbox::SetAnimationSize(int32_t pWidth, int32_t pHeight)
{
    if(pWidth < 0 || pHeight < 0)
    {
        fprintf(stderr, "EnemyHitbox::SetAnimationSize error, width or height specified is a negative value.\n");
        return;
    }
    mAnimationWidth = pWidth;
    mAnimationHeight = pHeight;
}

void EnemyHitbox::FreeTable()
{
    for(int32_t a = 0; a < mTableAnimations; a++) free(mTable[a]);
    free(mTable);
    free(mTableFrames);
    mTable = nullptr;
    mTableFrames = nullptr;
    mTableAnimations = 0;
    mTableBoxes = 0;
}

void EnemyHitbox::CalculateHitboxes()
{
    if(!mFrames)
    {
        fprintf(stderr, "EnemyHitbox::CalculateHitboxes error, number of Animations was not set.\n");
        return;
    }
    FreeTable();
    mTableAnimations = mAnimationCount;
    mTableBoxes = mBoxCount;
    mTable = (EnemyHitboxRecord **)calloc((size_t)mTableAnimations, sizeof(EnemyHitboxRecord *));
    mTableFrames = (int32_t *)calloc((size_t)mTableAnimations, sizeof(int32_t));
    for(int32_t a = 0; a < mTableAnimations; a++)
    {
        mTableFrames[a] = mFrames[a];
        size_t tCount = (size_t)mFrames[a] * 2 * (size_t)mTableBoxes;
        mTable[a] = tCount ? (EnemyHitboxRecord *)calloc(tCount, sizeof(EnemyHitboxRecord)) : nullptr;
    }
}

EnemyHitboxRecord *EnemyHitbox::RecordAt(int32_t pAnimation, int32_t pFrame, int32_t pFacing, int32_t pBox) const
{
    if(!mTable || pAnimation < 0 || pAnimation >= mTableAnimations || !mTable[pAnimation]) return nullptr;
    if(pFrame < 0 || pFrame >= mTableFrames[pAnimation] || pFacing < 0 || pFacing > 1) return nullptr;
    if(pBox < 0 || pBox >= mTableBoxes) return nullptr;
    return &mTable[pAnimation][((size_t)pFrame * 2 + (size_t)pFacing) * (size_t)mTableBoxes + (size_t)pBox];
}

const EnemyHitboxRecord *EnemyHitbox::GetRecord(int32_t pAnimation, int32_t pFrame, int32_t pFacing, int32_t pBox) const
{
    return RecordAt(pAnimation, pFrame, pFacing, pBox);
}

void EnemyHitbox::SetHitboxData(int32_t pAnimation, int32_t pFrame, int32_t pFacing, int32_t pBox, float pX, float pY, float pW, float pH)
{
    if(pAnimation < 0 || pAnimation >= mAnimationCount)
    {
        fprintf(stderr, "EnemyHitbox::SetHitboxData error, Animation index given out of bounds.\n");
        return;
    }
    if(!mFrames)
    {
        fprintf(stderr, "EnemyHitbox::SetHitboxData error, number of Animations was not set.");
        return;
    }
    if(pFrame < 0 || pFrame >= mFrames[pAnimation])
    {
        fprintf(stderr, "EnemyHitbox:SetHitboxData error, frame index given is out of bounds.\n");
        return;
    }
    if(pFacing == -1)
    {
        fprintf(stderr, "EnemyHitbox::SetHitboxData error, direction facing not set.\n");
        return;
    }
    if(pW < 0.0f || pH < 0.0f)
    {
        fprintf(stderr, "EnemyHitbox::SetHitboxData error, size given of hitbox were negative values.\n");
        return;
    }
    EnemyHitboxRecord *rRecord = RecordAt(pAnimation, pFrame, pFacing, pBox);
    if(!rRecord) return;
    rRecord->mX = pX;
    rRecord->mY = pY;
    rRecord->mW = pW;
    rRecord->mH = pH;
    rRecord->mSet = 1;
}

bool EnemyHitbox::IsHitboxDataSet(int32_t pAnimation, int32_t pFrame, int32_t pFacing, int32_t pBox)
{
    if(pAnimation < 0 || pAnimation >= mAnimationCount)
    {
        fprintf(stderr, "EnemyHitbox::IsHitboxDataSet error, Animation index specified is out of bounds.\n");
        return false;
    }
    if(pBox < 0 || pBox >= mBoxCount)
    {
        fprintf(stderr, "EnemyHitbox::IsHitboxDataSet error, hitbox index specified is out of bounds.\n");
        return false;
    }
    if(!mFrames || pFrame < 0 || pFrame >= mFrames[pAnimation])
    {
        fprintf(stderr, "EnemyHitbox::IsHitboxDataSet error, frames were never set or frame index is out of bounds %d.\n", pFrame);
        return false;
    }
    EnemyHitboxRecord *rRecord = RecordAt(pAnimation, pFrame, pFacing, pBox);
    return rRecord && rRecord->mSet;
}

// Mirrors about the frame's width: W - x - w keeps the box's distance from the other edge,
// also for boxes that start left of the frame (negative x).
void EnemyHitbox::CalculateMissingHitboxes()
{
    for(int32_t a = 0; a < mTableAnimations; a++)
    {
        for(int32_t f = 0; f < mTableFrames[a]; f++)
        {
            for(int32_t i = 0; i < mTableBoxes; i++)
            {
                EnemyHitboxRecord *rLeft = RecordAt(a, f, 0, i);
                EnemyHitboxRecord *rRight = RecordAt(a, f, 1, i);
                if(!rLeft || !rRight) continue;
                if(rLeft->mSet && rRight->mSet) continue;
                if(!rLeft->mSet && !rRight->mSet)
                {
                    if(!mIgnoreMissing)
                    {
                        fprintf(stderr,
                                "EnemyHitbox::CalculateMissingHitboxes error, Animation index %i, frame index %i, hitbox index %i has no "
                                "hitbox set for either direction facing.\n",
                                a, f, i);
                    }
                    continue;
                }
                EnemyHitboxRecord *rFrom = rLeft->mSet ? rLeft : rRight;
                EnemyHitboxRecord *rTo = rLeft->mSet ? rRight : rLeft;
                *rTo = *rFrom;
                rTo->mX = (float)((int64_t)mAnimationWidth - TruncateCoordinate(rFrom->mX)) - rFrom->mW;
                rTo->mSet = 1;
            }
        }
    }
}

void EnemyHitbox::DeriveFromAnimation(int32_t pAnimation, int32_t pFrame, int32_t pFacing)
{
    if(!rOwner || pFacing < 0 || pFacing > 1) return;
    EnemyAppearance *rAppearance = rOwner->GetAppearance();
    CorvelAnimation *rAnimation = rAppearance ? rAppearance->GetAnimation(pAnimation) : nullptr;
    if(!rAnimation || pFrame < 0 || pFrame >= rAnimation->GetFrameCount()) return;
    Bitmap *rBitmap = rAnimation->GetFrame(pFrame);
    if(!rBitmap) return;
    for(int32_t r = 0; r < rBitmap->GetFrameCount() && r < mTableBoxes; r++)
    {
        EnemyHitboxRecord *rRecord = RecordAt(pAnimation, pFrame, pFacing, r);
        if(!rRecord) continue;
        BitmapFrameRect tRect = rBitmap->GetFrameRect(r);
        rRecord->mX = tRect.mX1;
        rRecord->mY = tRect.mY1;
        rRecord->mW = (float)((int32_t)tRect.mX2 - (int32_t)tRect.mX1);
        rRecord->mH = (float)((int32_t)tRect.mY2 - (int32_t)tRect.mY1);
        rRecord->mSet = 1;
    }
}

void EnemyHitbox::ClearHitboxes()
{
    ReleaseBoxes();
    FreeTable();
    free(mFrames);
    mFrames = nullptr;
    mAnimationCount = 0;
}

// --- Per tick -------------------------------------------------------------------------------

void EnemyHitbox::Update(const Hitbox &pOwnerBox, EnemyAppearance *pAppearance, EnemyHealth *pHealth)
{
    mDamageThisTick = 0;
    mWeaponCMark = 0;
    if(!pAppearance)
    {
        fprintf(stderr, "EnemyHitbox::Update warning, EnemyAppearance pointer is NULL. No updates performed.\n");
        return;
    }
    const int32_t tAnimation = pAppearance->GetAnimationIndex();
    const int32_t tFrame = pAppearance->GetFrameIndex();
    const int32_t tFacing = pAppearance->GetFacing();
    if(tAnimation < 0 || tAnimation >= mAnimationCount)
    {
        fprintf(stderr, "EnemyHitbox::Update error, number of Animations set for hitboxes to account for does not match actual number of "
                        "Animations enemy has.\n");
        return;
    }
    if(!mFrames || tFrame < 0 || tFrame >= mFrames[tAnimation])
    {
        fprintf(stderr,
                "EnemyHitbox::Update error, number of frames set for hitboxes to account for does not match actual number of frames "
                "Animation index %d has.\n",
                tAnimation);
        return;
    }
    if(tFacing == -1)
    {
        fprintf(stderr, "EnemyHitbox::Update error, direction facing from EnemyAppearance not set.\n");
        return;
    }
    float tOffsetX, tOffsetY;
    pAppearance->GetDrawOffset(tOffsetX, tOffsetY);
    const float tOriginX = tOffsetX + pOwnerBox.mOwnerX;
    const float tOriginY = tOffsetY + pOwnerBox.mOwnerY;
    for(int32_t i = 0; i < mBoxCount; i++)
    {
        RootProjectile *rBox = mBoxes[i];
        if(!rBox) continue;
        const EnemyHitboxRecord *rRecord = RecordAt(tAnimation, tFrame, tFacing, i);
        if(rRecord && rRecord->mSet)
        {
            rBox->SetPosition(tOriginX + rRecord->mX, tOriginY + rRecord->mY);
            rBox->SetDimensions(0.0f, 0.0f, rRecord->mW, rRecord->mH);
        }
        else
        {
            rBox->SetPosition(ENEMYHITBOX_PARK, ENEMYHITBOX_PARK);
        }
    }
    CollectDamage(tAnimation, tFrame, tFacing, pHealth);
}

void EnemyHitbox::CollectDamage(int32_t pAnimation, int32_t pFrame, int32_t pFacing, EnemyHealth *pHealth)
{
    mDamageThisTick = 0;
    mWeaponCMark = 0;
    EntityManager *rEntities = EntityManager::Fetch();
    if(mIgnoreDamage || pFacing == -1 || !rOwner || !rEntities) return;
    const int32_t tHealth = pHealth ? pHealth->GetHealth() : 0;
    EnemyIntake tIntake(rOwner);
    for(int32_t i = 0; i < mBoxCount; i++)
    {
        RootProjectile *rBox = mBoxes[i];
        const EnemyHitboxRecord *rRecord = RecordAt(pAnimation, pFrame, pFacing, i);
        if(!rBox || !rRecord || !rRecord->mSet || rBox->GetIgnoreDamage()) continue;
        Hitbox tBox;
        rBox->GetHitbox(tBox);
        NamedLinkedList *nHits = rEntities->FindProjectileHitA(PROJECTILE_TARGET_ENEMIES, tBox);
        tIntake.Walk(nHits, tHealth, false);
        delete nHits;
    }
    mDamageThisTick = tIntake.Finish(mWeaponCMark);
}

void EnemyHitbox::UpdatePuppetHitboxes(EnemyAppearance *pAppearance)
{
    CorvelPuppet *rPuppet = pAppearance ? pAppearance->GetPuppet() : nullptr;
    if(!rPuppet) return;
    const int32_t tSlots = rPuppet->GetSlotCount();
    if(tSlots < 1) return;
    if(tSlots != mPolygonCount)
    {
        delete[] mPolygons;
        mPolygons = new EnemyPuppetPolygon[tSlots];
        mPolygonCount = tSlots;
        for(int32_t i = 0; i < tSlots; i++) mPolygons[i].mCount = 0;
    }
    // Read every tick: scripts may change the flags, and animations the draw order.
    for(int32_t i = 0; i < mPolygonCount; i++) mPolygons[i].mBlocksBuster = rPuppet->GetDrawnSlotBlocksBuster(i);
    if(!rOwner || !rOwner->GetPuppetDrawn()) return;
    // Facing left the puppet is drawn mirrored about the box's left edge; the polygons follow
    // it there, wound the other way so they stay the same shape.
    const Hitbox *rBox = rOwner->GetHitboxPtr();
    const bool tMirrored = pAppearance->GetFacing() == 0;
    for(int32_t i = 0; i < mPolygonCount; i++)
    {
        EnemyPuppetPolygon &rPolygon = mPolygons[i];
        float tX[ENEMYHITBOX_POLYGON_VERTICES], tY[ENEMYHITBOX_POLYGON_VERTICES];
        const bool tShown = tMirrored ? rPuppet->GetSlotQuadXYReversed(i, tX, tY) : rPuppet->GetSlotQuadXY(i, tX, tY);
        if(!tShown)
        {
            rPolygon.mCount = 0;
            continue;
        }
        rPolygon.mCount = ENEMYHITBOX_POLYGON_VERTICES;
        for(int32_t v = 0; v < ENEMYHITBOX_POLYGON_VERTICES; v++)
        {
            rPolygon.mX[v] = tMirrored ? rBox->mLft - tX[v] : rBox->mLft + tX[v];
            rPolygon.mY[v] = rBox->mTop - tY[v];
        }
    }
    mPolygonsReady = 1;
    if(rPuppet->GetRenderCount() > 7) mPuppetDrawnEnough = 1;
}

void EnemyHitbox::CollectPuppetDamage(EnemyHealth *pHealth)
{
    mDamageThisTick = 0;
    mWeaponCMark = 0;
    EntityManager *rEntities = EntityManager::Fetch();
    if(mIgnoreDamage || !rOwner || !rEntities || !mPolygonsReady) return;
    if(!rOwner->GetPuppetDrawn() || !mPuppetDrawnEnough) return;
    const int32_t tHealth = pHealth ? pHealth->GetHealth() : 0;
    EnemyIntake tIntake(rOwner);
    for(int32_t i = 0; i < mPolygonCount; i++)
    {
        const EnemyPuppetPolygon &rPolygon = mPolygons[i];
        if(rPolygon.mCount < 1) continue;
        PolygonArrays tShape;
        tShape.mCount = rPolygon.mCount;
        tShape.rX = rPolygon.mX;
        tShape.rY = rPolygon.mY;
        NamedLinkedList *nHits = rEntities->FindProjectileHitB(PROJECTILE_TARGET_ENEMIES, tShape);
        tIntake.Walk(nHits, tHealth, false, rPolygon.mBlocksBuster != 0);
        delete nHits;
    }
    mDamageThisTick = tIntake.Finish(mWeaponCMark);
}

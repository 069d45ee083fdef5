#include "world/MovingContainer.h"

#include <cmath>

#include "actors/AIMovement.h"
#include "actors/Enemy.h"
#include "actors/PlayerPony.h"
#include "core/Geometry.h"
#include "core/NamedLinkedList.h"
#include "core/data/DataLibrary.h"
#include "world/EntityManager.h"
#include "world/LevelCollision.h"
#include "world/MapManager.h"

namespace
{
    const float cPieceLimit = (float)COLLISION_MAX_ITERATIONS;
    const float cFarthestSlide = 1.0e6f;

    // A platform or rider a script moved far away still gives a rectangle in range.
    IntRect Rect(float pLft, float pTop, float pRgt, float pBot)
    {
        return TruncateCorners(pLft, pTop, pRgt, pBot);
    }

    // The first row the level collision finds solid: a platform between whole units is solid
    // from the next one down, and that is where a rider's feet rest.
    float SolidTop(const Hitbox &pBox)
    {
        return ceilf(pBox.mTop);
    }

    bool Overlap(IntRect pA, IntRect pB)
    {
        return RectanglesOverlap(pA, pB);
    }

    // The rider's box placed with its left and top at the given values.
    void PlaceRider(RootEntity *pRider, float pLft, float pTop, float pZ)
    {
        pRider->SetPositionAutoCenter(pLft, pTop, pZ);
    }

    // Moves the box along one axis through the level collision, so that a rider stops at walls,
    // floors and ceilings rather than being shoved into them. The collision moves whole units,
    // at most its cap in one call: a longer move goes in pieces for as long as they go through
    // (a rider the platform already holds is stopped by it at once, and must not cost a
    // caught loop every tick). The fraction left over is taken only where the box stays out
    // of solid cells; taken unchecked, a push of less than a unit a tick would sink her into
    // a wall a fraction at a time.
    void SlideBox(Hitbox &sBox, float pDistance, bool pVertical)
    {
        // No platform moves that far in a tick; the bound keeps the count of pieces finite.
        if(!std::isfinite(pDistance) || fabsf(pDistance) > cFarthestSlide) return;
        // Without a level every cell reads solid, and nothing would move: the rider is placed.
        MapManager *rMap = MapManager::Fetch();
        if(!rMap || !rMap->HasLevel())
        {
            if(pVertical) sBox.ShiftY(pDistance);
            else sBox.ShiftX(pDistance);
            return;
        }
        const ClipWorld tWorld = rMap->GetClipWorld();
        const float tTarget = (pVertical ? sBox.mTop : sBox.mLft) + pDistance;
        float tWhole = truncf(pDistance);
        while(tWhole != 0.0f)
        {
            const float tPiece = fmaxf(-cPieceLimit, fminf(cPieceLimit, tWhole));
            const float tFrom = pVertical ? sBox.mTop : sBox.mLft;
            sBox.mRemainderX = 0.0f;
            sBox.mRemainderY = 0.0f;
            AllowAirWalk = true;
            const double tDX = pVertical ? 0.0 : (double)tPiece;
            MoveWithCollision(tWorld, tDX, pVertical ? (double)tPiece : 0.0, 0.0, sBox);
            const float tMoved = (pVertical ? sBox.mTop : sBox.mLft) - tFrom;
            if(fabsf(tMoved - tPiece) >= 0.5f) return;
            tWhole -= tPiece;
        }
        Hitbox tExact = sBox;
        if(pVertical) tExact.ShiftY(tTarget - sBox.mTop);
        else tExact.ShiftX(tTarget - sBox.mLft);
        if(BoxAllFree(tWorld, tExact)) sBox = tExact;
    }

    // A carried or pushed rider slides sideways, a lifted one upward, and is placed where its
    // box came to rest.
    void SlideRider(RootEntity *pRider, Hitbox pBox, float pDistance, bool pVertical)
    {
        SlideBox(pBox, pDistance, pVertical);
        pRider->SetPositionAutoCenter(pBox.mLft, pBox.mTop, pBox.mPlacedZ);
    }

    bool PlayerHolds(RootEntity *pRider, const char *pControl)
    {
        return pRider->GetType() == TYPE_PLAYERPONY && static_cast<PlayerPony *>(pRider)->IsControlDown(pControl);
    }
}

MovingContainer::MovingContainer()
{
    mType = TYPE_MOVINGCONTAINER;
    SetName(MOVINGCONTAINER_DEFAULT_NAME);
    mPending = 0;
    mHandler = new AIMovementHandler();
    mPendingDX = 0.0f;
    mPendingDY = 0.0f;
}

MovingContainer::~MovingContainer()
{
    // A script may still hold the handler as its active object.
    DataLibrary *rLibrary = DataLibrary::Fetch();
    if(rLibrary) rLibrary->ForgetObject(mHandler);
    mHandler->ClearAllMovements();
    delete mHandler;
}

void MovingContainer::SetMovementData(float pDX, float pDY)
{
    mPending = 1;
    mPendingDX = pDX;
    mPendingDY = pDY;
}

bool MovingContainer::IsRiderCandidate(RootEntity *pEntity)
{
    if(!pEntity) return false;
    if(pEntity->GetType() == TYPE_PLAYERPONY) return true;
    if(pEntity->GetType() != TYPE_ENEMY) return false;
    return !static_cast<Enemy *>(pEntity)->GetIgnorePlatformCollision();
}

bool MovingContainer::IsStandingOn(RootEntity *pRider)
{
    if(!pRider) return false;
    Hitbox tBox;
    pRider->GetHitbox(tBox);
    return Overlap(Rect(tBox.mLft, tBox.mBot - 1.0f, tBox.mRgt - 1.0f, tBox.mBot - 1.0f),
                   Rect(mHitbox.mLft, SolidTop(mHitbox) - 1.0f, mHitbox.mRgt - 1.0f, SolidTop(mHitbox) - 1.0f));
}

bool MovingContainer::IsPlayerOnPlatform()
{
    return IsStandingOn(PlayerPony::Get());
}

bool MovingContainer::IsEnemyOnPlatform()
{
    EntityManager *rManager = EntityManager::Fetch();
    if(!rManager) return false;
    NamedLinkedList *rList = rManager->GetEntityList();
    for(void *rData = rList->PushIterator(); rData; rData = rList->IterateNext())
    {
        RootEntity *rEntity = (RootEntity *)rData;
        if(rEntity->GetType() == TYPE_PLAYERPONY || !IsRiderCandidate(rEntity)) continue;
        if(IsStandingOn(rEntity))
        {
            rList->PopIterator();
            return true;
        }
    }
    return false;
}

bool MovingContainer::ContainsPoint(int32_t pX, int32_t pY)
{
    return pX >= mHitbox.mLft && pX <= mHitbox.mRgt - 1.0f && pY >= mHitbox.mTop && pY <= mHitbox.mBot - 1.0f;
}

SolidReach MovingContainer::GetSolidReach(IntRect &sBox)
{
    return HitboxReach(sBox);
}

void MovingContainer::CarryHorizontally(RootEntity *pRider, float pDX, const Hitbox &pOld, const Hitbox &pLevel)
{
    // Every rule reads the rider's box as it was before any of them moved it.
    Hitbox tRider;
    pRider->GetHitbox(tRider);
    const Hitbox &rNew = mHitbox;
    float tNewTop = SolidTop(pLevel);
    IntRect tLeftColumn = Rect(tRider.mLft, tRider.mTop, tRider.mLft, tRider.mBot - 1.0f);
    IntRect tRightColumn = Rect(tRider.mRgt - 1.0f, tRider.mTop, tRider.mRgt - 1.0f, tRider.mBot - 1.0f);
    IntRect tBottomRow = Rect(tRider.mLft, tRider.mBot - 1.0f, tRider.mRgt - 1.0f, tRider.mBot - 1.0f);
    IntRect tAboveOld = Rect(pOld.mLft, tNewTop - 1.0f, pOld.mRgt - 1.0f, tNewTop - 1.0f);
    float tLeft = tRider.mLft;

    if(pDX > 0.0f)
    {
        if(Overlap(tLeftColumn, Rect(pOld.mLft, tNewTop, rNew.mRgt - 1.0f, pLevel.mBot - 1.0f))) tLeft = rNew.mRgt;
        if(Overlap(tBottomRow, tAboveOld)) tLeft += rNew.mRgt - pOld.mRgt;
        else if(PlayerHolds(pRider, "Right") &&
                Overlap(tRightColumn, Rect(pOld.mLft - 1.0f, tNewTop, pOld.mLft - 1.0f, pLevel.mBot - 1.0f)))
        {
            tLeft += (rNew.mLft - 1.0f) - (tRider.mRgt - 1.0f);
        }
    }
    else
    {
        if(Overlap(tRightColumn, Rect(rNew.mLft, tNewTop, pOld.mRgt - 1.0f, pLevel.mBot - 1.0f)))
        {
            tLeft += (rNew.mLft - 1.0f) - (tRider.mRgt - 1.0f);
        }
        if(Overlap(tBottomRow, tAboveOld)) tLeft += rNew.mRgt - pOld.mRgt;
        if(PlayerHolds(pRider, "Left") && Overlap(tLeftColumn, Rect(pOld.mRgt, tNewTop, pOld.mRgt, pLevel.mBot - 1.0f)))
        {
            tLeft += rNew.mRgt - tRider.mLft;
        }
    }
    if(tLeft != tRider.mLft) SlideRider(pRider, tRider, tLeft - tRider.mLft, false);
}

void MovingContainer::CarryVertically(RootEntity *pRider, float pDY, const Hitbox &pOld)
{
    Hitbox tRider;
    pRider->GetHitbox(tRider);
    const Hitbox &rNew = mHitbox;

    if(pDY > 0.0f)
    {
        bool tOverOld = (tRider.mLft >= pOld.mLft && tRider.mLft <= pOld.mRgt) ||
                        (tRider.mRgt >= pOld.mLft && tRider.mRgt <= pOld.mRgt);
        if(!pRider->IsSideContact(3) || !tOverOld || fabsf(tRider.mBot - SolidTop(pOld)) >= 2.0f) return;
        MapManager *rMap = MapManager::Fetch();
        if(rMap && rMap->HasLevel())
        {
            // Whole units, rounded up: the platform stops her flush on its top, where a rounded
            // down move would leave her hanging a fraction above it.
            tRider.mRemainderY = 0.0f;
            MoveWithCollision(rMap->GetClipWorld(), 0.0, ceil((double)pDY + 1.0), 0.0, tRider);
        }
        else if(std::isfinite(pDY))
        {
            // Nothing to stop her on the platform's top without a level: she sinks with it.
            tRider.ShiftY(pDY);
        }
        PlaceRider(pRider, tRider.mLft, tRider.mTop, 0.0f);
        return;
    }

    IntRect tBottomRow = Rect(tRider.mLft, tRider.mBot - 1.0f, tRider.mRgt - 1.0f, tRider.mBot - 1.0f);
    IntRect tTopRow = Rect(tRider.mLft, tRider.mTop, tRider.mRgt - 1.0f, tRider.mTop);
    float tNewTop = SolidTop(rNew);
    if(Overlap(tBottomRow, Rect(rNew.mLft, tNewTop, rNew.mRgt - 1.0f, pOld.mBot - 1.0f)))
    {
        SlideRider(pRider, tRider, (tNewTop - 1.0f) - (tRider.mBot - 1.0f), true);
    }
    else if(Overlap(tTopRow, Rect(rNew.mLft, rNew.mBot - 1.0f, rNew.mRgt - 1.0f, pOld.mBot)) && PlayerHolds(pRider, "Jump"))
    {
        PlaceRider(pRider, tRider.mLft, rNew.mBot - 1.0f, tRider.mPlacedZ);
    }
}

void MovingContainer::CarryRider(RootEntity *pRider, float pDX, float pDY, const Hitbox &pOldBox)
{
    if(!pRider) return;
    // A move on a slant is taken in two parts, judged at the height where she stands at the
    // time: a rising platform lifts her first and then carries her, a sinking one carries her
    // and then lets her down. So a platform rising into her feet never counts as pushing her
    // from the side, and one already sunk below her still carries her.
    if(pDY < 0.0f)
    {
        CarryVertically(pRider, pDY, pOldBox);
        if(pDX != 0.0f) CarryHorizontally(pRider, pDX, pOldBox, mHitbox);
        return;
    }
    if(pDX != 0.0f) CarryHorizontally(pRider, pDX, pOldBox, pOldBox);
    if(pDY != 0.0f) CarryVertically(pRider, pDY, pOldBox);
}

void MovingContainer::Update()
{
    EntityManager::NoteShapeChange(this);
    Hitbox tOld = mHitbox;
    RunLogic();
    if(mHandler->GetCurrentMovement())
    {
        mHandler->Update(mHitbox);
        mHitbox.mOwnerX = mHitbox.mLft - mOffsetLft;
        mHitbox.mOwnerY = mHitbox.mTop - mOffsetTop;
    }

    // Riders follow what the box really did this tick; a platform whose logic only reported
    // its move (without moving the box) carries them by the reported amount.
    float tDX = mHitbox.mLft - tOld.mLft;
    float tDY = mHitbox.mTop - tOld.mTop;
    if(mPending)
    {
        if(tDX == 0.0f && tDY == 0.0f)
        {
            tDX = mPendingDX;
            tDY = mPendingDY;
        }
        mPending = 0;
        mPendingDX = mPendingDY = 0.0f;
    }
    else if(tDX == 0.0f && tDY == 0.0f)
    {
        return;
    }
    UpdateHitbox();

    EntityManager *rManager = EntityManager::Fetch();
    if(!rManager) return;
    NamedLinkedList *rList = rManager->GetEntityList();
    for(void *rData = rList->PushIterator(); rData; rData = rList->IterateNext())
    {
        RootEntity *rEntity = (RootEntity *)rData;
        if(IsRiderCandidate(rEntity)) CarryRider(rEntity, tDX, tDY, tOld);
    }
}

#include "actors/AIMovement.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "actors/Enemy.h"
#include "core/Geometry.h"
#include "core/LuaManager.h"
#include "core/NamedLinkedList.h"
#include "core/Utilities.h"
#include "core/data/DataLibrary.h"
#include "world/ClipQueries.h"
#include "world/EntityManager.h"
#include "world/LevelCollision.h"
#include "world/MapManager.h"
#include "world/RootEntity.h"

namespace
{
    const char *const cListNames[] = {"", "AIR_MOVEMENT", "AIR_MOVEMENT_SIN", "GROUND_MOVEMENT", "SCRIPT_CONTROL"};

    // A script control may be the library's active object while its queue is emptied.
    void DeleteMovement(void *pMovement)
    {
        DataLibrary *rLibrary = DataLibrary::Fetch();
        if(rLibrary) rLibrary->ForgetObject(pMovement);
        delete (AIMovement *)pMovement;
    }

    // The "Timer" entry points into the movement itself: only its record is freed.
    void DeleteRecordOnly(void *pValue)
    {
        free(pValue);
    }

    // Cap on the truncated magnitude, as the air kinds have always capped.
    float CapTruncated(float pSpeed, float pCap)
    {
        if(abs(TruncateCoordinate(pSpeed)) > pCap) return pSpeed < 0.0f ? -pCap : pCap;
        return pSpeed;
    }

    float CapExact(float pSpeed, float pCap)
    {
        if(fabsf(pSpeed) > pCap) return pSpeed < 0.0f ? -pCap : pCap;
        return pSpeed;
    }
}

// --- AIMovement -----------------------------------------------------------------------------

AIMovement::AIMovement()
{
    mMovementType = AIMOVE_NONE;
    mStartBox = nullptr;
    mDestination = Hitbox();
    mTargetName = nullptr;
    mHasDestination = 0;
    mDone = 0;
    mIgnoreCollision = 0;
    mDelaySetting = 0;
    mDelayLeft = 0;
    mDurationSetting = -1;
    mDurationLeft = -1;
    mSpeedX = mSpeedY = 0.0f;
    mLastStepX = mLastStepY = 0.0f;
    mAccelX = mAccelY = 0.0f;
    mCapX = mCapY = AIMOVE_DEFAULT_SPEED_CAP;
    mGravity = 0.0f;
    mAnimationIndex = -1;
    mAnimationFacing = -1;
    mAllowBotSlopes = mAllowTopSlopes = mAllowAirWalk = 0;
}

AIMovement::~AIMovement()
{
    delete mStartBox;
    free(mTargetName);
}

void AIMovement::SetDestinationPosition(float pX, float pY)
{
    mDestination.mOwnerX = pX;
    mDestination.mOwnerY = pY;
    mHasDestination = 1;
}

void AIMovement::SetDestinationTarget(const char *pName)
{
    if(!pName || !pName[0])
    {
        fprintf(stderr, "AIMovement::SetDestinationTarget error, no target name specified.\n");
        return;
    }
    ResetString(&mTargetName, pName);
}

void AIMovement::SetSpeed(float pX, float pY)
{
    mSpeedX = pX;
    mSpeedY = pY;
}

void AIMovement::SetAcceleration(float pX, float pY)
{
    mAccelX = pX;
    mAccelY = pY;
}

void AIMovement::SetSpeedCap(float pX, float pY)
{
    mCapX = pX < 0.0f ? 0.0f : pX;
    mCapY = pY < 0.0f ? 0.0f : pY;
}

void AIMovement::SetDelayBeforeMoving(float pTicks)
{
    if(pTicks < 0.0f) return;
    mDelaySetting = TruncateCoordinate(pTicks);
    mDelayLeft = mDelaySetting;
}

void AIMovement::SetDurationToMove(int32_t pSteps)
{
    mDurationSetting = pSteps;
    mDurationLeft = pSteps;
}

void AIMovement::SetSlopeFlags(uint8_t pBot, uint8_t pTop, uint8_t pAirWalk)
{
    mAllowBotSlopes = pBot;
    mAllowTopSlopes = pTop;
    mAllowAirWalk = pAirWalk;
}

void AIMovement::Reset()
{
    mDone = 0;
    mDelayLeft = mDelaySetting;
    mDurationLeft = mDurationSetting;
}

void AIMovement::MoveBox(Hitbox &sBox, float pDX, float pDY)
{
    if(mIgnoreCollision)
    {
        sBox.ShiftX(pDX);
        sBox.ShiftY(pDY);
        return;
    }
    MoveWithCollision(MapManager::CurrentClipWorld(), pDX, pDY, 0.0, sBox);
}

void AIMovement::StepAndAccelerate(Hitbox &sBox, float pVX, float pVY, bool pTruncatedCaps)
{
    MoveBox(sBox, pVX, pVY);
    mLastStepX = pVX;
    mLastStepY = pVY;
    mSpeedX += mAccelX;
    mSpeedY += mAccelY + mGravity;
    float (*rCap)(float, float) = pTruncatedCaps ? CapTruncated : CapExact;
    mSpeedX = rCap(mSpeedX, mCapX);
    mSpeedY = rCap(mSpeedY, mCapY);
}

// A target that is missing ends the movement here: stepping on would fly toward (0, 0).
void AIMovement::Update(Hitbox &sBox)
{
    if(!mHasDestination && !mTargetName)
    {
        fprintf(stderr, "AIMovement::Update warning, no destination position or target name was sets.\n");
        mDone = 1;
        return;
    }
    if(mTargetName && !mHasDestination)
    {
        EntityManager *rEntities = EntityManager::Fetch();
        RootEntity *rTarget = rEntities ? rEntities->GetEntity(mTargetName) : nullptr;
        if(!rTarget)
        {
            fprintf(stderr, "AIMovement::Update warning, target name does not exist.\n");
            mDone = 1;
            return;
        }
        float tX, tY, tZ;
        rTarget->GetPosition(tX, tY, tZ);
        SetDestinationPosition(tX, tY);
    }
    if(mDelayLeft >= 1)
    {
        mDelayLeft--;
        return;
    }
    if(mDurationLeft == 0)
    {
        mDone = 1;
        return;
    }
    Step(sBox);
    if(mDurationLeft > 0)
    {
        mDurationLeft--;
        if(mDurationLeft == 0) mDone = 1;
    }
}

// --- AIAirMovement --------------------------------------------------------------------------

AIAirMovement::AIAirMovement()
{
    mMovementType = AIMOVE_AIR;
    mIgnoreCollision = 1;
}

namespace
{
    float AirAxisStep(float pSpeed, float pBox, float pDestination)
    {
        float tStep = pSpeed;
        if(pSpeed > 0.0f)
        {
            if(pBox > pDestination) tStep = -pSpeed;
            else if(pBox == pDestination) tStep = 0.0f;
            if(abs(TruncateCoordinate(pDestination - pBox)) < pSpeed) tStep = pDestination - pBox;
        }
        else if(pSpeed < 0.0f && pDestination < pBox)
        {
            tStep = -pSpeed;
        }
        return tStep;
    }
}

void AIAirMovement::Step(Hitbox &sBox)
{
    if(sBox.mOwnerX == mDestination.mOwnerX && sBox.mOwnerY == mDestination.mOwnerY)
    {
        mDone = 1;
        return;
    }
    float tVX = AirAxisStep(mSpeedX, sBox.mOwnerX, mDestination.mOwnerX);
    float tVY = AirAxisStep(mSpeedY, sBox.mOwnerY, mDestination.mOwnerY);
    StepAndAccelerate(sBox, tVX, tVY, true);
}

// --- AIAirMovementSin -----------------------------------------------------------------------

AIAirMovementSin::AIAirMovementSin()
{
    mMovementType = AIMOVE_AIR_SIN;
    mIgnoreCollision = 1;
    mStepCount = 0;
    mSteps = 0;
    mStartPending = 0;
    mAngle = 0.0f;
    mPathLength = 0.0f;
    mStartX = mStartY = 0.0f;
}

void AIAirMovementSin::SetDestinationPosition(float pX, float pY)
{
    AIMovement::SetDestinationPosition(pX, pY);
    mStartPending = 1;
    mStepCount = 0;
    mSteps = mDurationLeft;
}

void AIAirMovementSin::SetDestinationTarget(const char *)
{
}

void AIAirMovementSin::Reset()
{
    AIMovement::Reset();
    mStartPending = 1;
    mStepCount = 0;
    mSteps = mDurationSetting;
}

void AIAirMovementSin::Step(Hitbox &sBox)
{
    mStepCount++;
    if(mStepCount >= mSteps)
    {
        mDone = 1;
        return;
    }
    if(mStartPending)
    {
        mStartPending = 0;
        mStartX = sBox.mOwnerX;
        mStartY = sBox.mOwnerY;
        mPathLength = (float)mSteps * mSpeedX;
        mAngle = atan2f(mDestination.mOwnerY - mStartY, mDestination.mOwnerX - mStartX);
    }
    float tT = (float)mStepCount / (float)mSteps;
    float tWobble = 5.0f * sinf(tT * 6.2831855f);
    float tNewX = mStartX + mPathLength * tT * cosf(mAngle) + tWobble * cosf(mAngle - 1.5707963f);
    float tNewY = mStartY + mPathLength * tT * sinf(mAngle) + tWobble * sinf(mAngle - 1.5707963f);
    mLastStepX = tNewX - sBox.mOwnerX;
    mLastStepY = tNewY - sBox.mOwnerY;
    sBox.ShiftX(mLastStepX);
    sBox.ShiftY(mLastStepY);
    mSpeedX = CapTruncated(mSpeedX + mAccelX, mCapX);
}

// --- AIGroundMovement -----------------------------------------------------------------------

AIGroundMovement::AIGroundMovement()
{
    mMovementType = AIMOVE_GROUND;
    mGravity = AIMOVE_STANDARD_GRAVITY;
    mCapY = 4.5f;
}

void AIGroundMovement::Step(Hitbox &sBox)
{
    if(!mStartBox)
    {
        mStartBox = new Hitbox();
        *mStartBox = sBox;
    }
    const float tStartX = mStartBox->mOwnerX;
    const float tDestX = mDestination.mOwnerX;
    const bool tArrived = (tStartX < tDestX) ? (sBox.mOwnerX >= tDestX) : (sBox.mOwnerX <= tDestX);
    if(tArrived && IsBlockedDown(MapManager::CurrentClipWorld(), sBox))
    {
        mDone = 1;
        return;
    }
    float tVX = mSpeedX;
    if(mSpeedX > 0.0f && tDestX < tStartX) tVX = -mSpeedX;
    else if(mSpeedX < 0.0f && tDestX < tStartX) tVX = -mSpeedX;
    float tVY = mSpeedY;
    if(!mIgnoreCollision)
    {
        AllowBotSlopes = mAllowBotSlopes != 0;
        AllowTopSlopes = mAllowTopSlopes != 0;
        AllowAirWalk = mAllowAirWalk != 0;
    }
    StepAndAccelerate(sBox, tVX, tVY, false);
}

// --- AIScriptControl ------------------------------------------------------------------------

AIScriptControl::AIScriptControl()
{
    mMovementType = AIMOVE_SCRIPT;
    mCapX = mCapY = 0.0f;
    mDelaySetting = mDelayLeft = 0;
    mFrameCounter = 0;
    mScriptPath = nullptr;
    rOwner = nullptr;
    mProperties = new NamedLinkedList(1);
    TypedValue *nTimer = NewTypedValue(&mFrameCounter, 2);
    mProperties->AddElementWithDeleter("Timer", nTimer, DeleteRecordOnly);
}

AIScriptControl::~AIScriptControl()
{
    delete mProperties;
    free(mScriptPath);
}

void AIScriptControl::Update(Hitbox &sBox)
{
    Step(sBox);
}

void AIScriptControl::Step(Hitbox &)
{
    // Only a step whose script can run counts a frame.
    if(!mScriptPath || !LuaManager::Fetch() || !DataLibrary::Fetch()) return;
    mFrameCounter++;
    RunScriptAsActive(this, mScriptPath);
}

void AIScriptControl::SetScript(const char *pPath)
{
    ResetString(&mScriptPath, pPath);
    Hitbox tUnused = Hitbox();
    Step(tUnused);
}

void AIScriptControl::SetOwner(Enemy *pOwner)
{
    if(rOwner || !pOwner) return;
    rOwner = pOwner;
}

TypedValue *AIScriptControl::GetProperty(const char *pName)
{
    if(!pName) return nullptr;
    return (TypedValue *)mProperties->GetElementByName(pName);
}

void AIScriptControl::DefineProperty(const char *pName, TypedValue *pValue)
{
    if(!pValue) return;
    if(!pName || !pName[0])
    {
        DeleteTypedValueAndData(pValue);
        return;
    }
    mProperties->AddElementWithDeleter(pName, pValue, DeleteTypedValueAndData);
}

// --- AIMovementHandler ----------------------------------------------------------------------

AIMovementHandler::AIMovementHandler()
{
    mType = TYPE_AIMOVEMENTHANDLER;
    rOwner = nullptr;
    mMovements = new NamedLinkedList(1);
    mLoopMovements = 0;
    mCurrentIndex = 0;
    mUpdating = 0;
    mClearPending = 0;
}

AIMovementHandler::~AIMovementHandler()
{
    delete mMovements;
}

void AIMovementHandler::AddMovement(int32_t pType)
{
    if(mMovements->GetCount() >= AIMOVE_MAX_MOVEMENTS)
    {
        fprintf(stderr, "AIMovementHandler::AddMovement warning, max number of movements that can be created reached. Check your scripts\n");
        return;
    }
    AIMovement *nMovement = nullptr;
    if(pType == AIMOVE_AIR) nMovement = new AIAirMovement();
    else if(pType == AIMOVE_AIR_SIN) nMovement = new AIAirMovementSin();
    else if(pType == AIMOVE_GROUND) nMovement = new AIGroundMovement();
    else if(pType == AIMOVE_SCRIPT)
    {
        AIScriptControl *nScript = new AIScriptControl();
        nScript->SetOwner(rOwner);
        nMovement = nScript;
    }
    if(!nMovement) return;
    mMovements->AddElementWithDeleter(cListNames[pType], nMovement, DeleteMovement);
    if(rOwner) nMovement->SetSlopeFlags(rOwner->GetAllowBotSlopes(), rOwner->GetAllowTopSlopes(), rOwner->GetAllowAirWalk());
}

void AIMovementHandler::DeleteAll()
{
    mMovements->Clear();
    mLoopMovements = 0;
    mCurrentIndex = 0;
}

void AIMovementHandler::ClearAllMovements()
{
    if(mUpdating)
    {
        mClearPending = 1;
        return;
    }
    DeleteAll();
}

void AIMovementHandler::Update(Hitbox &sBox)
{
    if(mMovements->GetCount() < 1) return;
    mUpdating = 1;
    mCurrentIndex = 0;
    AIMovement *rMovement = (AIMovement *)mMovements->GetElementByIndex(0);
    while(rMovement && !mClearPending)
    {
        if(!rMovement->IsDone())
        {
            rMovement->Update(sBox);
            break;
        }
        if(!mLoopMovements)
        {
            mMovements->RemoveElementByIndex(mCurrentIndex);
            mCurrentIndex = 0;
        }
        else
        {
            mCurrentIndex++;
        }
        rMovement = (AIMovement *)mMovements->GetElementByIndex(mCurrentIndex);
    }
    mUpdating = 0;
    if(mClearPending)
    {
        mClearPending = 0;
        DeleteAll();
        return;
    }
    AIMovement *rLast = GetLastMovement();
    if(mLoopMovements && rLast && rLast->IsDone()) ResetAll();
}

bool AIMovementHandler::IsDoneMoving()
{
    for(void *rData = mMovements->PushIterator(); rData; rData = mMovements->IterateNext())
    {
        if(!((AIMovement *)rData)->IsDone())
        {
            mMovements->PopIterator();
            return false;
        }
    }
    return true;
}

bool AIMovementHandler::IsEmpty() const
{
    return mMovements->GetCount() < 1;
}

int32_t AIMovementHandler::GetCount() const
{
    return mMovements->GetCount();
}

AIMovement *AIMovementHandler::GetCurrentMovement()
{
    return (AIMovement *)mMovements->GetElementByIndex(mCurrentIndex);
}

AIMovement *AIMovementHandler::GetLastMovement()
{
    return (AIMovement *)mMovements->GetTailData();
}

void AIMovementHandler::ResetAll()
{
    for(void *rData = mMovements->PushIterator(); rData; rData = mMovements->IterateNext())
    {
        ((AIMovement *)rData)->Reset();
    }
}

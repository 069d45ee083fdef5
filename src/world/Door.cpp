#include "world/Door.h"

#include <GL/gl.h>
#include <cstdlib>

#include "actors/Enemy.h"
#include "actors/PlayerPony.h"
#include "core/Geometry.h"
#include "core/LuaManager.h"
#include "core/NamedLinkedList.h"
#include "core/Utilities.h"
#include "core/data/DataLibrary.h"
#include "core/render/Bitmap.h"
#include "core/render/CorvelAnimation.h"
#include "interface/AudioManager.h"
#include "world/Camera.h"
#include "world/CameraManager.h"
#include "world/EntityManager.h"
#include "world/RootProjectile.h"

namespace
{
    // A map without the door's picture runs the sequence all the same, and says nothing
    // about it every tick.
    CorvelAnimation *DoorAnimation()
    {
        DataLibrary *rLibrary = DataLibrary::Fetch();
        if(!rLibrary || !rLibrary->Exists(DOOR_ANIMATION_PATH)) return nullptr;
        return LookUpAnimation(DOOR_ANIMATION_PATH);
    }

    int32_t AnimationTotal()
    {
        CorvelAnimation *rAnimation = DoorAnimation();
        return rAnimation ? rAnimation->GetTotalTicks() : 0;
    }

    void ClearScreen()
    {
        Enemy::KillAllEnemies();
        DestroyAllProjectiles();
    }
}

Door::Door()
{
    mType = TYPE_DOOR;
    SetName("Unnamed Door");
    mRenderX = mRenderY = 0.0f;
    mTrigger = HitboxFromEdges(0.0f, 0.0f, 0.0f, 0.0f);
    mStartCamX = mStartCamY = 0.0f;
    mEndCamX = mEndCamY = 0.0f;
    mPostExecScript = nullptr;
    mMoved = 0;
    mLastCamX = mLastCamY = 0.0f;
    ClearRun();
}

Door::~Door()
{
    free(mPostExecScript);
}

void Door::SetRenderPos(float pX, float pY)
{
    EntityManager::NoteShapeChange(this);
    mRenderX = pX;
    mRenderY = pY;
}

void Door::SetHitbox(float pX, float pY, float pW, float pH)
{
    mTrigger = HitboxFromEdges(pX, pY, pX + pW, pY + pH);
}

// Camera targets are whole units: a fractional view could never be matched by the frame.
void Door::SetStartCamera(float pX, float pY)
{
    mStartCamX = (float)TruncateCoordinate(pX);
    mStartCamY = (float)TruncateCoordinate(pY);
}

void Door::SetEndCamera(float pX, float pY)
{
    mEndCamX = (float)TruncateCoordinate(pX);
    mEndCamY = (float)TruncateCoordinate(pY);
}

void Door::SetPostExecScript(const char *pPath)
{
    ResetString(&mPostExecScript, pPath);
}

void Door::SkipToClose()
{
    mSkip = 1;
    mRunning = 1;
    mState = DOOR_CLOSING;
    int32_t tTotal = AnimationTotal();
    if(tTotal > 0) mAnimTick = tTotal - 1;
}

void Door::ResetAhead()
{
    PlayerPony *rPlayer = PlayerPony::Get();
    if(!rPlayer || rPlayer->GetHitboxPtr()->mLft >= mTrigger.mLft) return;
    if(mMoved)
    {
        EntityManager::NoteShapeChange(this);
        mRenderX -= (float)DOOR_WIDTH;
        mMoved = 0;
    }
    ClearRun();
}

void Door::ClearRun()
{
    mRunning = 0;
    mState = DOOR_IDLE;
    mStepsWalked = 0;
    mPanTimer = 0;
    mSkip = 0;
    mAnimTick = 0;
    mHaveLastCam = 0;
}

bool Door::ContainsPoint(int32_t pX, int32_t pY)
{
    float tX = (float)pX;
    float tY = (float)pY;
    return tX >= mRenderX - 1.0f && tX <= mRenderX + (float)DOOR_WIDTH && tY >= mRenderY &&
           tY <= mRenderY + (float)DOOR_HEIGHT;
}

SolidReach Door::GetSolidReach(IntRect &sBox)
{
    float tRgt = mRenderX + (float)DOOR_WIDTH;
    float tBot = mRenderY + (float)DOOR_HEIGHT;
    return BoxHoldingFloatSpans(mRenderX - 1.0f, tRgt, mRenderY, tBot, sBox) ? SOLID_REACH_BOX : SOLID_REACH_NONE;
}

void Door::Start()
{
    mRunning = 1;
    mState = DOOR_OPENING;
    mAnimTick = 0;
    mPanTimer = 0;
    mStepsWalked = 0;
    mHaveLastCam = 0;
    Camera *rCamera = CameraManager::ActiveCamera();
    if(rCamera) rCamera->SetScriptControl(CAMERA_SCRIPT_NONE);
    PlayerPony *rPlayer = PlayerPony::Get();
    if(rPlayer) rPlayer->AddControlLock(DOOR_CONTROL_LOCK);
    AudioManager::PlaySoundIfBooted("BossDoorOpen");
    ClearScreen();
}

bool Door::CameraArrived(float pX, float pY)
{
    Camera *rCamera = CameraManager::ActiveCamera();
    if(!rCamera) return true;
    Hitbox tFrame = rCamera->GetFrame();
    bool tStalled = mHaveLastCam && tFrame.mLft == mLastCamX && tFrame.mTop == mLastCamY;
    mLastCamX = tFrame.mLft;
    mLastCamY = tFrame.mTop;
    mHaveLastCam = 1;
    if(tFrame.mLft == pX && tFrame.mTop == pY) return true;
    if(!tStalled) return false;
    rCamera->SetPosition(pX, pY);
    return true;
}

void Door::UpdateOpening()
{
    // The tick stops at the last frame: the animation wraps, and a door waiting for the
    // camera must stay open rather than replay.
    int32_t tTotal = AnimationTotal();
    if(mAnimTick < tTotal) mAnimTick++;
    Camera *rCamera = CameraManager::ActiveCamera();
    if(rCamera)
    {
        rCamera->CenterOnTarget((int32_t)mStartCamX, (int32_t)mStartCamY, (int32_t)mStartCamX + CAMERA_VIEW_WIDTH,
                                (int32_t)mStartCamY + CAMERA_VIEW_HEIGHT, true, false, false);
    }
    if(CameraArrived(mStartCamX, mStartCamY) && mAnimTick >= tTotal)
    {
        mState = DOOR_PASSING;
        mAnimTick = 0;
        mStepsWalked = 0;
        mHaveLastCam = 0;
    }
    PlayerPony *rPlayer = PlayerPony::Get();
    if(rPlayer)
    {
        rPlayer->FreezeForFrame();
        rPlayer->SetAnimateWhileFrozen(false);
    }
}

void Door::UpdatePassing()
{
    Camera *rCamera = CameraManager::ActiveCamera();
    mPanTimer++;
    float tT = (float)mPanTimer / (float)DOOR_PAN_TICKS;
    if(tT > 1.0f) tT = 1.0f;
    if(rCamera)
    {
        rCamera->SetStepLimit(DOOR_PAN_STEP_LIMIT);
        if(tT >= 1.0f) rCamera->SetPosition(mEndCamX, mEndCamY);
        else rCamera->SetPosition(mStartCamX + (mEndCamX - mStartCamX) * tT, mStartCamY + (mEndCamY - mStartCamY) * tT);
    }

    PlayerPony *rPlayer = PlayerPony::Get();
    mAnimTick++;
    if(rPlayer && mAnimTick % 3 < 2 && mStepsWalked < DOOR_WALK_STEPS)
    {
        float tX, tY, tZ;
        rPlayer->GetPosition(tX, tY, tZ);
        rPlayer->SetPositionAutoCenter(tX + 1.0f, tY, tZ);
        mStepsWalked++;
    }
    if(mAnimTick == DOOR_CLOSE_SOUND_TICK) AudioManager::PlaySoundIfBooted("BossDoorClose");

    bool tAtEnd = !rCamera || (rCamera->GetFrame().mLft == mEndCamX && rCamera->GetFrame().mTop == mEndCamY);
    if(tAtEnd && mStepsWalked >= DOOR_WALK_STEPS)
    {
        mMoved = 1;
        mState = DOOR_CLOSING;
        if(rCamera) rCamera->SetStepLimit(-1);
        EntityManager::NoteShapeChange(this);
        mRenderX += (float)DOOR_WIDTH;
        mAnimTick = AnimationTotal() - 1;
    }
    if(rPlayer)
    {
        rPlayer->FreezeForFrame();
        rPlayer->SetAnimateWhileFrozen(true);
    }
}

void Door::UpdateClosing()
{
    mAnimTick--;
    if(mSkip && mAnimTick < 1)
    {
        mSkip = 0;
        mRunning = 0;
        mState = DOOR_IDLE;
        return;
    }
    if(mAnimTick < 1)
    {
        mRunning = 0;
        mState = DOOR_IDLE;
        PlayerPony *rPlayer = PlayerPony::Get();
        if(rPlayer) rPlayer->RemoveControlLock(DOOR_CONTROL_LOCK);
        LuaManager *rLua = LuaManager::Fetch();
        if(rLua && mPostExecScript) rLua->ExecuteFile(mPostExecScript);
    }
    Camera *rCamera = CameraManager::ActiveCamera();
    if(rCamera) rCamera->SetPipelineLock(1);
}

void Door::Update()
{
    if(!mRunning)
    {
        PlayerPony *rPlayer = PlayerPony::Get();
        if(!rPlayer || !HitboxesNested(*rPlayer->GetHitboxPtr(), mTrigger)) return;
        Start();
    }
    if(mState == DOOR_OPENING) UpdateOpening();
    else if(mState == DOOR_PASSING) UpdatePassing();
    else if(mState == DOOR_CLOSING) UpdateClosing();
}

void Door::Render()
{
    glTranslatef(mTrigger.mLft, mTrigger.mTop, 0.0f);
    RenderHitboxOutline(mTrigger);
    glTranslatef(-mTrigger.mLft, -mTrigger.mTop, 0.0f);

    if(mState == DOOR_PASSING) return;
    CorvelAnimation *rAnimation = DoorAnimation();
    Bitmap *rFrame = rAnimation ? rAnimation->GetFrameAtTick(mAnimTick) : nullptr;
    if(!rFrame) return;
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    glEnable(GL_TEXTURE_2D);
    rFrame->Draw(TruncateCoordinate(mRenderX), TruncateCoordinate(mRenderY), 0);
}

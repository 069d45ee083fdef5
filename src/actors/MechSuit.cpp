#include "actors/MechSuit.h"

#include <GL/gl.h>

#include "actors/PlayerPony.h"
#include "core/Geometry.h"
#include "core/data/DataLibrary.h"
#include "core/render/Bitmap.h"
#include "core/render/CorvelAnimation.h"
#include "core/render/GLState.h"
#include "world/ClipQueries.h"
#include "world/LevelCollision.h"
#include "world/MapManager.h"
#include "world/RootProjectile.h"

namespace
{
    const char *cAnimationPaths[MECH_ANIMATION_COUNT] = {
        "Root/Animations/Enemies/MechBase/Idle",    "Root/Animations/Enemies/MechBase/PowerUp",
        "Root/Animations/Enemies/MechBase/Walk",    "Root/Animations/Enemies/MechBase/WalkStart",
        "Root/Animations/Enemies/MechBase/Slam",    "Root/Animations/Enemies/MechBase/Punch",
        "Root/Animations/Enemies/MechBase/Charge",  "Root/Animations/Enemies/MechBase/RunJump",
        "Root/Animations/Enemies/MechBase/Jump",    "Root/Animations/Enemies/MechBase/Ram",
        "Root/Animations/Enemies/MechBase/Crack",   "Root/Animations/Enemies/MechBase/Turn",
        "Root/Animations/Enemies/MechBase/DashStop",
    };
    const int32_t cPowerDownTicks = 31;
    const float cFallStep = 0.5f;
    const float cFallCap = 5.0f;
    const float cPunchInset = 29.0f;

    CorvelAnimation *LookUpMechAnimation(int32_t pIndex)
    {
        DataLibrary *rLibrary = DataLibrary::Fetch();
        if(!rLibrary || !rLibrary->Exists(cAnimationPaths[pIndex])) return nullptr;
        return LookUpAnimation(cAnimationPaths[pIndex]);
    }
}

bool RiseOutOfSolid(const ClipWorld &pWorld, Hitbox &sBox, int32_t pMostRise)
{
    if(BoxAllFree(pWorld, sBox)) return false;
    Hitbox tBox = sBox;
    for(int32_t i = 0; i < pMostRise; i++)
    {
        tBox.ShiftY(-1.0f);
        if(!BoxAllFree(pWorld, tBox)) continue;
        sBox = tBox;
        return true;
    }
    return false;
}

MechSuit::MechSuit()
{
    SetName("Unnamed Mech Suit");
    mFrameBox[0] = 68.0f;
    mFrameBox[1] = 79.0f;
    mFrameBox[2] = 98.0f;
    mFrameBox[3] = 146.0f;
    mHitbox = HitboxFromEdges(0.0f, 0.0f, MECH_WIDTH, MECH_HEIGHT);
    mFlip = 0;
    mTimed = 1;
    mAnimIndex = 0;
    mFrame = 0;
    mTick = 0;
    mPowerDownCounter = 0;
    mFallSpeed = 0.0f;
    mRidden = 0;
    mRemountDelay = 0;
    rRider = nullptr;
}

MechSuit::~MechSuit()
{
    if(rRider) rRider->ForgetMech(this);
}

void MechSuit::GetPosition(float &sX, float &sY, float &sZ)
{
    sX = mHitbox.mLft;
    sY = mHitbox.mTop;
    sZ = 0.0f;
}

void MechSuit::SetPosition(float pX, float pY)
{
    mHitbox.mLft = pX;
    mHitbox.mTop = pY;
    UpdateHitbox();
}

void MechSuit::UpdateHitbox()
{
    mHitbox.mRgt = mHitbox.mLft + (mFrameBox[2] - mFrameBox[0]);
    mHitbox.mBot = mHitbox.mTop + (mFrameBox[3] - mFrameBox[1]);
    mHitbox.mOwnerX = mHitbox.mLft;
    mHitbox.mOwnerY = mHitbox.mTop;
}

void MechSuit::SetRider(PlayerPony *pRider, bool pRidden)
{
    rRider = pRider;
    mRidden = pRidden ? 1 : 0;
    if(!pRidden) return;
    if(!pRider || pRider != PlayerPony::Get())
    {
        ReleaseRider();
        return;
    }
    pRider->BoardMech(this);
}

void MechSuit::ReleaseRider()
{
    if(!rRider) return;
    mRemountDelay = MECH_REMOUNT_DELAY;
    mRidden = 0;
    rRider = nullptr;
    mPowerDownCounter = 0;
}

void MechSuit::SetAnimation(int32_t pIndex, bool pTimed, int32_t pValue)
{
    mAnimIndex = pIndex;
    mTimed = pTimed ? 1 : 0;
    if(pTimed) mTick = pValue;
    else mFrame = pValue;
}

void MechSuit::Update()
{
    if(mPowerDownCounter != -1)
    {
        // The power-up animation runs backwards while the machine winds down.
        mPowerDownCounter++;
        mTimed = 1;
        mAnimIndex = MECH_ANIM_POWER_UP;
        mTick = cPowerDownTicks + 1 - mPowerDownCounter;
        if(mPowerDownCounter > cPowerDownTicks)
        {
            mTimed = 0;
            mAnimIndex = MECH_ANIM_IDLE;
            mFrame = 1;
            mPowerDownCounter = -1;
        }
    }
    if(mRemountDelay > 0) mRemountDelay--;

    // Standing inside the floor (sunk by a platform, placed low, left there by a rider) it would
    // hold her fast once boarded.
    MapManager *rMap = MapManager::Fetch();
    if(!rRider && rMap) RiseOutOfSolid(rMap->GetClipWorld(), mHitbox, (int32_t)MECH_HEIGHT);

    PlayerPony *rPlayer = PlayerPony::Get();
    if(mRemountDelay == 0 && !rRider && rPlayer && HitboxesOverlap(*rPlayer->GetHitboxPtr(), mHitbox))
    {
        SetRider(rPlayer, true);
        rPlayer->StopAndClearInput();
    }

    if(rRider || !rMap) return;
    ClipWorld tWorld = rMap->GetClipWorld();
    if(AnyClippedInRowF(tWorld, mHitbox)) return;
    mFallSpeed += cFallStep;
    if(mFallSpeed > cFallCap) mFallSpeed = cFallCap;
    MoveWithCollision(tWorld, 0.0, mFallSpeed, 0.0, mHitbox);
    mHitbox.mOwnerX = mHitbox.mLft;
    mHitbox.mOwnerY = mHitbox.mTop;
}

// Her death starts the level over: the mech goes back to where the map placed it. One the
// map did not place stays where it stands.
void MechSuit::ReturnToPlace()
{
    MapManager *rMap = MapManager::Fetch();
    if(!rMap || rRider) return;
    int32_t tX, tY;
    rMap->GetMechLocation(tX, tY);
    if(tX < 0 || tY < 0) return;
    SetPosition((float)tX, (float)tY);
}

void MechSuit::Render()
{
    if(mAnimIndex < 0 || mAnimIndex >= MECH_ANIMATION_COUNT) return;
    CorvelAnimation *rAnimation = LookUpMechAnimation(mAnimIndex);
    Bitmap *rFrame = nullptr;
    if(rAnimation) rFrame = mTimed ? rAnimation->GetFrameAtTick(mTick) : rAnimation->GetFrame(mFrame);

    GLState::PushAll();
    glTranslatef(mHitbox.mLft, mHitbox.mTop, 0.0f);
    RenderHitboxOutline(mHitbox);
    // The body lies at the frame box inside the frame (further in for the punch's wider frame);
    // a mirrored frame shows it mirrored about the frame's full width, so facing left the
    // frame is shifted to put the body's far edge on the box's left.
    const float tInset = mAnimIndex == MECH_ANIM_PUNCH ? cPunchInset : 0.0f;
    float tShiftX = -(mFrameBox[0] + tInset);
    if(mFlip && rFrame) tShiftX = -((float)rFrame->GetTextureWidth() - mFrameBox[2] - tInset);
    glTranslatef(tShiftX, -(mFrameBox[1] + tInset), 0.0f);
    glTranslatef(0.0f, 0.0f, mRidden ? -0.49f : -0.51f);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    if(rFrame) rFrame->Draw(0, 0, mFlip ? 1 : 0);
    GLState::PopAll();
}

#pragma once
#include <cstdint>

#include "core/Hitbox.h"
#include "core/RootObject.h"

class Enemy;
class NamedLinkedList;
struct lua_State;

enum AIMovementKind : int32_t
{
    AIMOVE_NONE = 0,
    AIMOVE_AIR = 1,
    AIMOVE_AIR_SIN = 2,
    AIMOVE_GROUND = 3,
    AIMOVE_SCRIPT = 4,
};

#define AIMOVE_MAX_MOVEMENTS 20
#define AIMOVE_DEFAULT_SPEED_CAP 8.5f
#define AIMOVE_STANDARD_GRAVITY 0.25f

// One step of an enemy's (or a platform's) movement queue. Every kind moves the owner's
// Hitbox record in place: its owner x and y are the owner's position, its edges follow.
//
// Update is the shared template for the air, sine and ground kinds: it resolves the target
// once, waits out the delay, then calls Step while the duration lasts. Step is the one hook
// each kind provides: move the box by one tick's displacement and adjust the speed. A step
// sets done when the kind's own finishing rule is met. The script control replaces Update.
//
// Movements are RootObjects (type code 0) only so that a script control can be the library's
// active object; the AISC_ bindings tell it apart by its class, not by the code.
class AIMovement : public RootObject
{
public:
    AIMovement();
    virtual ~AIMovement();

    int32_t GetMovementType() const { return mMovementType; }
    virtual void SetDestinationPosition(float pX, float pY);
    virtual void SetDestinationTarget(const char *pName);
    virtual void SetSpeed(float pX, float pY);
    virtual void SetAcceleration(float pX, float pY);
    virtual void SetSpeedCap(float pX, float pY);
    virtual void Update(Hitbox &sBox);
    virtual void Step(Hitbox &sBox) = 0;
    // Restores the delay and duration so the movement can run again (looping queues).
    virtual void Reset();

    void SetGravity(float pGravity) { mGravity = pGravity; }
    void SetDelayBeforeMoving(float pTicks);
    void SetDurationToMove(int32_t pSteps);
    void SetAnimationIndex(int32_t pIndex) { mAnimationIndex = pIndex; }
    void SetAnimationDirectionFacing(int32_t pFacing) { mAnimationFacing = pFacing; }
    void SetIgnoreEnvironmentCollision(uint8_t pFlag) { mIgnoreCollision = pFlag; }
    void SetSlopeFlags(uint8_t pBot, uint8_t pTop, uint8_t pAirWalk);
    void SetDone() { mDone = 1; }

    uint8_t IsDone() const { return mDone; }
    void GetSpeed(float &sX, float &sY) const { sX = mSpeedX; sY = mSpeedY; }
    void GetLastStep(float &sX, float &sY) const { sX = mLastStepX; sY = mLastStepY; }
    uint8_t GetIgnoreEnvironmentCollision() const { return mIgnoreCollision; }
    int32_t GetDelayLeft() const { return mDelayLeft; }
    int32_t GetDurationLeft() const { return mDurationLeft; }
    int32_t GetAnimationIndex() const { return mAnimationIndex; }
    int32_t GetAnimationDirectionFacing() const { return mAnimationFacing; }
    float GetGravity() const { return mGravity; }

protected:
    // Moves the box by (dx, dy): straight when collision is ignored, else through the level.
    void MoveBox(Hitbox &sBox, float pDX, float pDY);
    // Moves the box by this tick's step, keeps it as the last step, then accelerates (gravity
    // on y) and caps the speeds: on the truncated magnitude when pTruncatedCaps, else exactly.
    void StepAndAccelerate(Hitbox &sBox, float pVX, float pVY, bool pTruncatedCaps);

    int32_t mMovementType;
    Hitbox *mStartBox;
    Hitbox mDestination;
    char *mTargetName;
    uint8_t mHasDestination;
    uint8_t mDone;
    uint8_t mIgnoreCollision;
    int32_t mDelaySetting;
    int32_t mDelayLeft;
    int32_t mDurationSetting;
    int32_t mDurationLeft;
    float mSpeedX, mSpeedY;
    float mLastStepX, mLastStepY;
    float mAccelX, mAccelY;
    float mCapX, mCapY;
    float mGravity;
    int32_t mAnimationIndex;
    int32_t mAnimationFacing;
    uint8_t mAllowBotSlopes, mAllowTopSlopes, mAllowAirWalk;

private:
    AIMovement(const AIMovement &) = delete;
    AIMovement &operator=(const AIMovement &) = delete;
};

// Flies straight at the destination, snapping onto it once closer than one step.
class AIAirMovement : public AIMovement
{
public:
    AIAirMovement();
    void Step(Hitbox &sBox) override;
};

// Flies a fixed number of steps along the line to the destination with a sine wobble.
// The duration must be set before the destination: the destination fixes the step count.
class AIAirMovementSin : public AIMovement
{
public:
    AIAirMovementSin();
    void SetDestinationPosition(float pX, float pY) override;
    void SetDestinationTarget(const char *pName) override;
    void Step(Hitbox &sBox) override;
    // Also re-arms the path, so a looping queue flies it again from where the box then is.
    void Reset() override;

private:
    int32_t mStepCount;
    int32_t mSteps;
    uint8_t mStartPending;
    float mAngle;
    float mPathLength;
    float mStartX, mStartY;
};

// Walks in the x direction fixed by where it started, under gravity, until it stands on
// ground at or past the destination x.
class AIGroundMovement : public AIMovement
{
public:
    AIGroundMovement();
    void Step(Hitbox &sBox) override;
};

// Hands the owner to a script every tick. Never done by itself.
class AIScriptControl : public AIMovement
{
public:
    AIScriptControl();
    ~AIScriptControl() override;

    void Update(Hitbox &sBox) override;
    void Step(Hitbox &sBox) override;
    void SetScript(const char *pPath);
    void SetOwner(Enemy *pOwner);
    Enemy *GetOwner() const { return rOwner; }
    int32_t GetFrameCounter() const { return mFrameCounter; }
    // The typed value under the name, or null.
    struct TypedValue *GetProperty(const char *pName);
    // Appends a typed value the list then owns; null or a nameless one is freed.
    void DefineProperty(const char *pName, struct TypedValue *pValue);

private:
    int32_t mFrameCounter;
    char *mScriptPath;
    Enemy *rOwner;
    NamedLinkedList *mProperties;
};

// The queue of up to 20 movements of one enemy or platform. The owner may be null (platform).
class AIMovementHandler : public RootObject
{
public:
    AIMovementHandler();
    ~AIMovementHandler() override;

    void SetOwner(Enemy *pOwner) { rOwner = pOwner; }
    Enemy *GetOwner() const { return rOwner; }
    void AddMovement(int32_t pType);
    void Update(Hitbox &sBox);
    bool IsDoneMoving();
    bool IsEmpty() const;
    int32_t GetCount() const;
    AIMovement *GetCurrentMovement();
    AIMovement *GetLastMovement();
    void ResetAll();
    // A script run from a movement's own step may ask for this; the queue is then emptied
    // once that step has returned, so the running movement is never freed under itself.
    void ClearAllMovements();
    void SetLoopMovements(uint8_t pFlag) { mLoopMovements = pFlag; }
    uint8_t GetLoopMovements() const { return mLoopMovements; }

private:
    void DeleteAll();

    Enemy *rOwner;
    NamedLinkedList *mMovements;
    uint8_t mLoopMovements;
    int32_t mCurrentIndex;
    uint8_t mUpdating;
    uint8_t mClearPending;
};

bool IsAIMovementHandlerActive();

// Registers the "AIMovementHandler_" and "AISC_" globals.
void RegisterAIMovementLua(lua_State *L);

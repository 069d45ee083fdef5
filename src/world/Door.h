#pragma once
#include <cstdint>

#include "core/Hitbox.h"
#include "world/RootEntity.h"

struct lua_State;

#define DOOR_ANIMATION_PATH "Root/Animations/Sprites/BossDoor/BossDoor"
#define DOOR_CONTROL_LOCK "DoorControl"
#define DOOR_WIDTH 24
#define DOOR_HEIGHT 72
#define DOOR_WALK_STEPS 76
#define DOOR_PAN_TICKS 120
#define DOOR_CLOSE_SOUND_TICK 90
#define DOOR_PAN_STEP_LIMIT 4

enum DoorState : int32_t
{
    DOOR_IDLE = 0,
    DOOR_OPENING = 1,
    DOOR_PASSING = 2,
    DOOR_CLOSING = 3,
};

// The boss door: a solid block that, once the player stands wholly inside its trigger box,
// locks her controls, clears the screen of enemies and projectiles, opens, pans the camera
// from the start view to the end view while walking her through, closes behind her and runs
// its post-exec script.
//
// The door keeps no pointers to other objects: the player, the camera and its animation are
// looked up on every tick, so anything destroyed under it is simply not found.
//
// The camera normally reaches the start and end views exactly. When it cannot (a view outside
// the camera's boundaries, fractional coordinates), a tick on which the camera made no
// progress counts as arriving, so the player is never left locked for ever.
class Door : public RootEntity
{
public:
    Door();
    virtual ~Door();

    void SetRenderPos(float pX, float pY);
    void SetHitbox(float pX, float pY, float pW, float pH);
    void SetStartCamera(float pX, float pY);
    void SetEndCamera(float pX, float pY);
    void SetPostExecScript(const char *pPath);
    void SkipToClose();
    // Map loading: a door that lies ahead of the player returns to its closed state.
    void ResetAhead();

    bool ContainsPoint(int32_t pX, int32_t pY) override;
    SolidReach GetSolidReach(IntRect &sBox) override;
    void Update() override;
    void Render() override;

    int32_t GetState() const { return mState; }
    bool IsRunning() const { return mRunning != 0; }
    bool IsMoved() const { return mMoved != 0; }
    int32_t GetStepsWalked() const { return mStepsWalked; }
    int32_t GetAnimationTick() const { return mAnimTick; }
    int32_t GetPanTimer() const { return mPanTimer; }
    void GetRenderPos(float &sX, float &sY) const { sX = mRenderX; sY = mRenderY; }
    const char *GetPostExecScript() const { return mPostExecScript; }

private:
    // Back to idle with no run under way; where the door stands is left alone.
    void ClearRun();
    void Start();
    void UpdateOpening();
    void UpdatePassing();
    void UpdateClosing();
    // True when the camera's frame sits on (pX, pY), or did not move since the last tick.
    bool CameraArrived(float pX, float pY);

    float mRenderX, mRenderY;
    Hitbox mTrigger;
    float mStartCamX, mStartCamY;
    float mEndCamX, mEndCamY;
    int32_t mPanTimer;
    char *mPostExecScript;
    uint8_t mMoved;
    uint8_t mRunning;
    int32_t mState;
    int32_t mStepsWalked;
    uint8_t mSkip;
    int32_t mAnimTick;
    float mLastCamX, mLastCamY;
    uint8_t mHaveLastCam;
};

// Registers the "Door_" globals.
void RegisterDoorLua(lua_State *L);

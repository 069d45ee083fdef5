#pragma once
#include <cstddef>
#include <cstdint>

#include "core/Hitbox.h"
#include "world/RootEntity.h"

class NamedLinkedList;
struct lua_State;

// The logical view every camera frame starts from, in world units.
#define CAMERA_VIEW_WIDTH 480
#define CAMERA_VIEW_HEIGHT 360
#define CAMERA_DEFAULT_STEP_LIMIT 7
// A pusher's vertical pull is gentler than the follow speed so a forced scroll never jerks.
#define CAMERA_PUSHER_MAX_DY 3
// A target coordinate of -1 in a pusher leaves that axis to the ordinary follow.
#define CAMERA_PUSHER_FREE_AXIS -1.0f
// A script path that names no script: script control stays on but nothing runs.
#define CAMERA_SCRIPT_NONE "FAIL"
// Most activity zones one camera holds; scripts give the count.
#define CAMERA_MAX_ZONES 4096

// An activity zone: while positive activity is on, the frame may only stand where it and an
// active zone are nested.
struct CameraZone
{
    uint8_t mActive;
    float mLft;
    float mTop;
    float mRgt;
    float mBot;
};

// A region that, while the player stands in it, pulls the frame's top-left corner toward a
// target on the next movement step. The two leading floats are the target.
struct CameraPusher
{
    float mTargetLft;
    float mTargetTop;
    float mRegionLft;
    float mRegionTop;
    float mRegionRgt;
    float mRegionBot;
};

// The view onto the world: a frame in world units that follows a focus a bounded number of
// units per tick, stays inside its boundaries and may be confined by zones and polygons.
//
// The frame is a Hitbox whose x and y fields hold the frame's centre; every operation that
// moves the frame keeps the centre current, except SetSize, which leaves it to the boundary
// clamp at the end of the next step.
//
// Who moves the camera is decided by the pipeline lock: while it is set, Update follows the
// player and scripted calls (Camera_CallFunc) are refused; a cleared lock accepts calls until
// the next Update sets it again. Under script control the lock is clear exactly while the
// control script runs.
//
// Zoom is the map manager's; the camera reads it to size the frame and writes the floor of it.
class Camera : public RootEntity
{
public:
    Camera(float pX, float pY, float pW, float pH);
    virtual ~Camera();

    Hitbox GetFrame() const { return mFrame; }
    void GetBoundaries(float &sLft, float &sTop, float &sRgt, float &sBot) const;
    float GetScale() const { return mScale; }
    float GetMinimumZoom() const { return mMinimumZoom; }
    int32_t GetStepLimit() const { return mStepLimit; }
    uint8_t GetPipelineLock() const { return mPipelineLock; }
    uint8_t HasScriptControl() const { return mScriptControl; }
    const char *GetScriptPath() const { return mScriptPath; }
    int32_t GetScriptTicks() const { return mScriptTicks; }
    int32_t GetZoneCount() const { return mZoneCount; }
    int32_t GetPolygonCount() const;
    int32_t GetPusherCount() const;

    bool IsRectVisible(Hitbox pBox) const;
    bool IsIntRectVisible(float pLft, float pTop, float pRgt, float pBot) const;

    // Model-view translation into and out of the view.
    void ApplyTransform() const;
    void RemoveTransform() const;

    void ForceTo(int32_t pLft, int32_t pTop);
    void SetPosition(float pX, float pY);
    void SetSize(int32_t pW, int32_t pH);
    void SetBoundaries(int32_t pLft, int32_t pTop, int32_t pRgt, int32_t pBot);
    void SetCustomBoundariesFlag(uint8_t pFlag) { mCustomBoundaries = pFlag ? 1 : 0; }
    bool HasCustomBoundaries() const { return mCustomBoundaries != 0; }
    // 2D mode is the only one the game uses. In voxel mode the moves below do nothing and the
    // 2D visibility tests warn that they were asked.
    void Set2DMode();
    void SetVoxelMode();
    bool IsVoxelMode() const { return mVoxelMode != 0; }
    void SetStepLimit(int32_t pLimit);
    void SetPipelineLock(uint8_t pFlag) { mPipelineLock = pFlag ? 1 : 0; }
    void SetScriptControl(const char *pPath);

    // Zones: indices outside the array are ignored; a count of 0 or less leaves no zones, one
    // above CAMERA_MAX_ZONES is reported and cut to it.
    void SetZonesTotal(int32_t pCount);
    void SetZone(int32_t pIndex, int32_t pLft, int32_t pTop, int32_t pRgt, int32_t pBot);
    void SetZoneActive(int32_t pIndex, uint8_t pFlag);
    void SetPositiveActivity(uint8_t pFlag) { mPositiveActivity = pFlag ? 1 : 0; }

    // Polygons: records of a float vertex count and that many x, y pairs, convex and wound
    // clockwise on screen. AddPolygon takes ownership of the malloc'd record.
    void SetPolygonMode(uint8_t pFlag);
    void AddPolygon(float *pRecord);
    // A four-vertex polygon over (x, y, x + w, y + h), corners in clockwise screen order.
    void AddRectanglePolygon(float pX, float pY, float pW, float pH);

    void AddPusher(const char *pName, float pTargetLft, float pTargetTop, float pX, float pY, float pW, float pH);
    void ApplyPushers(Hitbox pBox);
    bool HasLockPoint() const { return rLockPoint != nullptr; }

    void Reset();

    // Movement. Each runs only in 2D mode.
    void Step(int32_t pDX, int32_t pDY);
    void MoveToward(float pX, float pY);
    void CenterOnPlayer();
    void SettleOn(const Hitbox &pBox);
    void CenterOnBox(int32_t pLft, int32_t pTop, int32_t pRgt, int32_t pBot);
    void CenterOnTarget(int32_t pLft, int32_t pTop, int32_t pRgt, int32_t pBot, bool pKeepZoom, bool pPlayerX, bool pPlayerY);

    virtual void Update();
    virtual void Render();

private:
    bool PassesZoneTest(const Hitbox &pFrame) const;
    bool PassesPolygonTest(const Hitbox &pFrame) const;
    void ClampToBoundaries();
    void RecomputeCentre();
    void RaiseZoomToFloor();

    uint8_t mCustomBoundaries;
    uint8_t mPolygonMode;
    NamedLinkedList *mPolygons;
    CameraPusher *rLockPoint;
    NamedLinkedList *mPushers;
    uint8_t m2DMode;
    float mScale;
    Hitbox mFrame;
    float mBoundLft;
    float mBoundTop;
    float mBoundRgt;
    float mBoundBot;
    float mMinimumZoom;
    int32_t mStepLimit;
    uint8_t mPositiveActivity;
    int32_t mZoneCount;
    CameraZone *mZones;
    uint8_t mPipelineLock;
    uint8_t mScriptControl;
    char *mScriptPath;
    int32_t mScriptTicks;
    uint8_t mVoxelMode;
    uint8_t mWheelRemembered;
    int32_t mRememberedWheel;
};

// Registers the "Camera_" globals.
void RegisterCameraLua(lua_State *L);

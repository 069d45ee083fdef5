#include "world/Camera.h"

#include <GL/gl.h>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "actors/PlayerPony.h"
#include "core/ControlManager.h"
#include "core/Geometry.h"
#include "core/LuaManager.h"
#include "core/NamedLinkedList.h"
#include "core/Utilities.h"
#include "world/MapManager.h"

// Zoom per unit of the mouse wheel's third coordinate.
static const float cWheelZoomFactor = 0.05f;
// How far the box-fitting zoom may lag behind the box before it is pulled along.
static const float cZoomBand = 0.1f;
// Players are framed a little above their middle so more of what lies ahead shows.
static const float cPlayerLiftY = 120.0f;

// The frame is sized by the map manager's zoom. A zoom that is not a positive finite number
// would size the frame to nothing or to infinity, so it counts as 1.0.
static float FetchZoom()
{
    MapManager *rMap = MapManager::Fetch();
    float tZoom = rMap ? rMap->GetZoom() : 1.0f;
    if(!std::isfinite(tZoom) || tZoom <= 0.0f) return 1.0f;
    return tZoom;
}

static void StoreZoom(float pZoom)
{
    MapManager *rMap = MapManager::Fetch();
    if(rMap && std::isfinite(pZoom)) rMap->SetZoom(pZoom);
}

// Whole-unit distances, with non-finite or huge inputs (scripted targets) clamped first.
static int32_t TruncateDistance(double pValue)
{
    return TruncateCoordinate((float)pValue);
}

Camera::Camera(float pX, float pY, float pW, float pH)
{
    mCustomBoundaries = 0;
    mPolygonMode = 0;
    mPolygons = new NamedLinkedList(1);
    rLockPoint = nullptr;
    mPushers = new NamedLinkedList(1);
    m2DMode = 1;
    mVoxelMode = 0;
    mScale = 1.0f;
    memset(&mFrame, 0, sizeof(mFrame));
    mFrame.mLft = pX;
    mFrame.mTop = pY;
    mFrame.mRgt = pX + pW;
    mFrame.mBot = pY + pH;
    RecomputeCentre();
    mBoundLft = 0.0f;
    mBoundTop = 0.0f;
    mBoundRgt = (float)CAMERA_VIEW_WIDTH;
    mBoundBot = (float)CAMERA_VIEW_HEIGHT;
    mMinimumZoom = 1.0f;
    mStepLimit = CAMERA_DEFAULT_STEP_LIMIT;
    mPositiveActivity = 0;
    mZoneCount = 0;
    mZones = nullptr;
    mPipelineLock = 0;
    mScriptControl = 0;
    mScriptPath = nullptr;
    mScriptTicks = 0;
    mWheelRemembered = 0;
    mRememberedWheel = 0;
}

Camera::~Camera()
{
    delete mPolygons;
    delete mPushers;
    free(mZones);
    free(mScriptPath);
}

void Camera::GetBoundaries(float &sLft, float &sTop, float &sRgt, float &sBot) const
{
    sLft = mBoundLft;
    sTop = mBoundTop;
    sRgt = mBoundRgt;
    sBot = mBoundBot;
}

int32_t Camera::GetPolygonCount() const
{
    return mPolygons->GetCount();
}

int32_t Camera::GetPusherCount() const
{
    return mPushers->GetCount();
}

bool Camera::IsRectVisible(Hitbox pBox) const
{
    if(mVoxelMode) fprintf(stderr, "Warning:  Voxel Camera was queried for 2D frame visibility!\n");
    return HitboxesOverlap(pBox, mFrame);
}

bool Camera::IsIntRectVisible(float pLft, float pTop, float pRgt, float pBot) const
{
    return IsRectVisible(HitboxFromEdges((float)TruncateCoordinate(pLft), (float)TruncateCoordinate(pTop),
                                         (float)TruncateCoordinate(pRgt), (float)TruncateCoordinate(pBot)));
}

void Camera::ApplyTransform() const
{
    glTranslatef(-mFrame.mLft, -mFrame.mTop, 0.0f);
}

void Camera::RemoveTransform() const
{
    glTranslatef(mFrame.mLft, mFrame.mTop, 0.0f);
}

void Camera::RecomputeCentre()
{
    mFrame.mOwnerX = (mFrame.mLft + mFrame.mRgt) / 2.0f;
    mFrame.mOwnerY = (mFrame.mTop + mFrame.mBot) / 2.0f;
}

void Camera::ForceTo(int32_t pLft, int32_t pTop)
{
    float tW = mFrame.mRgt - mFrame.mLft;
    float tH = mFrame.mBot - mFrame.mTop;
    mFrame.mLft = (float)pLft;
    mFrame.mTop = (float)pTop;
    mFrame.mRgt = mFrame.mLft + tW;
    mFrame.mBot = mFrame.mTop + tH;
    RecomputeCentre();
    fprintf(stderr, "Forced camera to %i %i\n", pLft, pTop);
}

void Camera::SetPosition(float pX, float pY)
{
    mFrame.mLft = pX;
    mFrame.mTop = pY;
    mFrame.mRgt = pX + (float)CAMERA_VIEW_WIDTH;
    mFrame.mBot = pY + (float)CAMERA_VIEW_HEIGHT;
    RecomputeCentre();
}

void Camera::SetSize(int32_t pW, int32_t pH)
{
    mFrame.mRgt = mFrame.mLft + (float)pW;
    mFrame.mBot = mFrame.mTop + (float)pH;
}

void Camera::SetBoundaries(int32_t pLft, int32_t pTop, int32_t pRgt, int32_t pBot)
{
    mBoundLft = (float)pLft;
    mBoundTop = (float)pTop;
    mBoundRgt = (float)pRgt;
    mBoundBot = (float)pBot;
    if(pRgt == pLft || pBot == pTop)
    {
        mMinimumZoom = 1.0f;
        return;
    }
    float tZoomX = (float)CAMERA_VIEW_WIDTH / (float)((int64_t)pRgt - pLft);
    float tZoomY = (float)CAMERA_VIEW_HEIGHT / (float)((int64_t)pBot - pTop);
    mMinimumZoom = tZoomX > tZoomY ? tZoomX : tZoomY;
}

// Map loading sets 2D mode before the map script runs; it also hands the player its movement
// step back.
void Camera::Set2DMode()
{
    m2DMode = 1;
    mVoxelMode = 0;
    PlayerPony *rPlayer = PlayerPony::Get();
    if(rPlayer) rPlayer->Enable();
}

void Camera::SetVoxelMode()
{
    m2DMode = 0;
    mVoxelMode = 1;
}

void Camera::SetStepLimit(int32_t pLimit)
{
    mStepLimit = pLimit < 1 ? CAMERA_DEFAULT_STEP_LIMIT : pLimit;
}

void Camera::SetScriptControl(const char *pPath)
{
    ResetString(&mScriptPath, pPath);
    mScriptControl = mScriptPath ? 1 : 0;
    mScriptTicks = 0;
}

void Camera::SetZonesTotal(int32_t pCount)
{
    free(mZones);
    mZones = nullptr;
    mZoneCount = 0;
    if(pCount <= 0) return;
    if(pCount > CAMERA_MAX_ZONES)
    {
        fprintf(stderr, "Camera_SetProperty:  ZonesTotal %i is more than %i, using %i.\n", pCount, CAMERA_MAX_ZONES,
                CAMERA_MAX_ZONES);
        pCount = CAMERA_MAX_ZONES;
    }
    mZones = (CameraZone *)calloc((size_t)pCount, sizeof(CameraZone));
    if(!mZones)
    {
        fprintf(stderr, "Camera::SetZonesTotal:  Failed to allocate %i zones.\n", pCount);
        return;
    }
    mZoneCount = pCount;
}

void Camera::SetZone(int32_t pIndex, int32_t pLft, int32_t pTop, int32_t pRgt, int32_t pBot)
{
    if(pIndex < 0 || pIndex >= mZoneCount) return;
    mZones[pIndex].mActive = 1;
    mZones[pIndex].mLft = (float)pLft;
    mZones[pIndex].mTop = (float)pTop;
    mZones[pIndex].mRgt = (float)pRgt;
    mZones[pIndex].mBot = (float)pBot;
}

void Camera::SetZoneActive(int32_t pIndex, uint8_t pFlag)
{
    if(pIndex < 0 || pIndex >= mZoneCount) return;
    mZones[pIndex].mActive = pFlag ? 1 : 0;
}

void Camera::SetPolygonMode(uint8_t pFlag)
{
    mPolygonMode = pFlag ? 1 : 0;
    if(!mPolygonMode) mPolygons->Clear();
}

void Camera::AddPolygon(float *pRecord)
{
    if(!pRecord) return;
    mPolygons->AddElement("Polygon", pRecord);
}

void Camera::AddRectanglePolygon(float pX, float pY, float pW, float pH)
{
    float *nRecord = (float *)malloc(sizeof(float) * 9);
    if(!nRecord) return;
    nRecord[0] = 4.0f;
    nRecord[1] = pX;
    nRecord[2] = pY;
    nRecord[3] = pX + pW;
    nRecord[4] = pY;
    nRecord[5] = pX + pW;
    nRecord[6] = pY + pH;
    nRecord[7] = pX;
    nRecord[8] = pY + pH;
    AddPolygon(nRecord);
}

void Camera::AddPusher(const char *pName, float pTargetLft, float pTargetTop, float pX, float pY, float pW, float pH)
{
    CameraPusher *nPusher = (CameraPusher *)malloc(sizeof(CameraPusher));
    if(!nPusher) return;
    nPusher->mTargetLft = pTargetLft;
    nPusher->mTargetTop = pTargetTop;
    nPusher->mRegionLft = pX;
    nPusher->mRegionTop = pY;
    nPusher->mRegionRgt = pX + pW;
    nPusher->mRegionBot = pY + pH;
    mPushers->AddElementWithDeleter(pName, nPusher, DeleteWithFree);
}

void Camera::ApplyPushers(Hitbox pBox)
{
    CameraPusher *rPusher = (CameraPusher *)mPushers->PushIterator();
    while(rPusher)
    {
        Hitbox tRegion;
        memset(&tRegion, 0, sizeof(tRegion));
        tRegion.mLft = rPusher->mRegionLft;
        tRegion.mTop = rPusher->mRegionTop;
        tRegion.mRgt = rPusher->mRegionRgt;
        tRegion.mBot = rPusher->mRegionBot;
        if(HitboxesOverlap(tRegion, pBox))
        {
            rLockPoint = rPusher;
            mPushers->PopIterator();
            return;
        }
        rPusher = (CameraPusher *)mPushers->IterateNext();
    }
}

void Camera::Reset()
{
    mPolygons->Clear();
    rLockPoint = nullptr;
    mPushers->Clear();
    mPositiveActivity = 0;
    free(mZones);
    mZones = nullptr;
    mZoneCount = 0;
    mScriptControl = 0;
    free(mScriptPath);
    mScriptPath = nullptr;
}

bool Camera::PassesZoneTest(const Hitbox &pFrame) const
{
    if(!mPositiveActivity || !mZones || mScriptControl) return true;
    for(int32_t i = 0; i < mZoneCount; i++)
    {
        if(!mZones[i].mActive) continue;
        IntRect tZone = TruncateCorners(mZones[i].mLft, mZones[i].mTop, mZones[i].mRgt, mZones[i].mBot);
        if(HitboxRectangleNested(pFrame, tZone)) return true;
    }
    return false;
}

// The four probe points sit one unit inside the right and bottom edges (and the first one
// inside the left edge), so a frame lying exactly on a polygon's edge still counts as inside.
bool Camera::PassesPolygonTest(const Hitbox &pFrame) const
{
    if(!mPolygonMode || mPolygons->GetCount() < 1 || mScriptControl) return true;
    float tLft = pFrame.mLft, tTop = pFrame.mTop, tRgt = pFrame.mRgt, tBot = pFrame.mBot;
    float *rPolygon = (float *)mPolygons->PushIterator();
    while(rPolygon)
    {
        if(PointInPolygon(tLft + 1.0f, tTop, rPolygon) && PointInPolygon(tLft, tBot - 1.0f, rPolygon) &&
           PointInPolygon(tRgt - 1.0f, tTop, rPolygon) && PointInPolygon(tRgt - 1.0f, tBot - 1.0f, rPolygon))
        {
            mPolygons->PopIterator();
            return true;
        }
        rPolygon = (float *)mPolygons->IterateNext();
    }
    return false;
}

void Camera::ClampToBoundaries()
{
    float tW = mFrame.mRgt - mFrame.mLft;
    float tH = mFrame.mBot - mFrame.mTop;
    if(mFrame.mLft <= mBoundLft)
    {
        mFrame.mLft = mBoundLft;
        mFrame.mRgt = mBoundLft + tW;
    }
    if(mFrame.mRgt >= mBoundRgt)
    {
        mFrame.mRgt = mBoundRgt;
        mFrame.mLft = mBoundRgt - tW;
    }
    if(mFrame.mTop <= mBoundTop)
    {
        mFrame.mTop = mBoundTop;
        mFrame.mBot = mBoundTop + tH;
    }
    if(mFrame.mBot >= mBoundBot)
    {
        mFrame.mBot = mBoundBot;
        mFrame.mTop = mBoundBot - tH;
    }
    RecomputeCentre();
}

// Moves one unit at a time, alternating the axes, and keeps a unit only when the moved frame
// passes the zone and polygon tests; a refused unit is lost rather than retried, so a frame
// pressed against a zone edge slides along it instead of stopping.
void Camera::Step(int32_t pDX, int32_t pDY)
{
    if(!m2DMode) return;
    int32_t tSteps = mStepLimit;
    Hitbox tWork = mFrame;

    if(rLockPoint)
    {
        if(rLockPoint->mTargetLft != CAMERA_PUSHER_FREE_AXIS)
        {
            pDX = TruncateDistance((double)rLockPoint->mTargetLft - mFrame.mLft);
        }
        if(rLockPoint->mTargetTop != CAMERA_PUSHER_FREE_AXIS)
        {
            pDY = TruncateDistance((double)rLockPoint->mTargetTop - mFrame.mTop);
            if(pDY > CAMERA_PUSHER_MAX_DY) pDY = CAMERA_PUSHER_MAX_DY;
            if(pDY < -CAMERA_PUSHER_MAX_DY) pDY = -CAMERA_PUSHER_MAX_DY;
        }
    }

    do
    {
        if(pDX != 0)
        {
            float tUnit = pDX > 0 ? 1.0f : -1.0f;
            tWork.ShiftX(tUnit);
            pDX += pDX > 0 ? -1 : 1;
            if(PassesZoneTest(tWork) && PassesPolygonTest(tWork)) mFrame = tWork;
            else tWork = mFrame;
        }
        if(pDY != 0)
        {
            float tUnit = pDY > 0 ? 1.0f : -1.0f;
            tWork.ShiftY(tUnit);
            pDY += pDY > 0 ? -1 : 1;
            if(PassesZoneTest(tWork) && PassesPolygonTest(tWork)) mFrame = tWork;
            else tWork = mFrame;
        }
        tSteps--;
    } while(tSteps > 0 && (pDX != 0 || pDY != 0));

    ClampToBoundaries();
    rLockPoint = nullptr;
}

void Camera::MoveToward(float pX, float pY)
{
    if(!m2DMode) return;
    float tZoom = FetchZoom();
    SetSize(TruncateDistance((double)CAMERA_VIEW_WIDTH / tZoom), TruncateDistance((double)CAMERA_VIEW_HEIGHT / tZoom));
    Step(TruncateDistance((double)pX - mFrame.mOwnerX), TruncateDistance((double)pY - mFrame.mOwnerY));
}

void Camera::CenterOnPlayer()
{
    PlayerPony *rPlayer = PlayerPony::Get();
    if(!rPlayer) return;
    float tX = 0.0f;
    float tY = 0.0f;
    rPlayer->ComputeCameraFocus(tX, tY);
    MoveToward((float)TruncateCoordinate(tX), (float)TruncateCoordinate(tY));
}

// A map is entered with the frame where the last one left it, and the first update, which
// brings it toward her, comes after the entities' first tick: an enemy its script made near her
// would take that stale frame for the view and despawn at once. The frame goes onto her box's
// centre, inside the new boundaries, unless a script drives the camera or its zones or polygons
// would refuse that frame.
void Camera::SettleOn(const Hitbox &pBox)
{
    if(!m2DMode || mScriptControl) return;
    Hitbox tWork = mFrame;
    tWork.ShiftX((float)TruncateDistance((pBox.mLft + pBox.mRgt) / 2.0 - mFrame.mOwnerX));
    tWork.ShiftY((float)TruncateDistance((pBox.mTop + pBox.mBot) / 2.0 - mFrame.mOwnerY));
    if(!PassesZoneTest(tWork) || !PassesPolygonTest(tWork)) return;
    mFrame = tWork;
    ClampToBoundaries();
}

void Camera::CenterOnBox(int32_t pLft, int32_t pTop, int32_t pRgt, int32_t pBot)
{
    CenterOnTarget(pLft, pTop, pRgt, pBot, false, false, false);
}

void Camera::CenterOnTarget(int32_t pLft, int32_t pTop, int32_t pRgt, int32_t pBot, bool pKeepZoom, bool pPlayerX, bool pPlayerY)
{
    if(!m2DMode) return;

    if(!pKeepZoom)
    {
        float tZoom = FetchZoom();
        float tWanted = (float)((int64_t)pRgt - pLft + 1) / (float)CAMERA_VIEW_WIDTH;
        if(tWanted > tZoom + cZoomBand) tZoom = tWanted - cZoomBand;
        else if(tWanted < tZoom - cZoomBand) tZoom = tWanted + cZoomBand;
        else tZoom = tWanted;
        StoreZoom(tZoom);
    }

    // 64-bit sums: scripted boxes near the integer limits must not wrap.
    int64_t tX = ((int64_t)pLft + pRgt) / 2;
    int64_t tY = ((int64_t)pTop + pBot) / 2;
    PlayerPony *rPlayer = (pPlayerX || pPlayerY) ? PlayerPony::Get() : nullptr;
    if(rPlayer)
    {
        Hitbox tBox = *rPlayer->GetHitboxPtr();
        if(pPlayerX) tX = TruncateCoordinate((tBox.mLft + tBox.mRgt) / 2.0f);
        if(pPlayerY) tY = TruncateCoordinate((tBox.mTop + tBox.mBot - cPlayerLiftY / FetchZoom()) / 2.0f);
    }
    MoveToward((float)tX, (float)tY);
}

// Raises the map's zoom to this camera's floor. The wheel term follows the control manager's
// third mouse coordinate, which stays 0 until a wheel feeds it.
void Camera::RaiseZoomToFloor()
{
    int32_t tWheel = 0;
    ControlManager *rControls = ControlManager::Get();
    if(rControls) rControls->GetMousePosition(nullptr, nullptr, &tWheel);
    if(!mWheelRemembered)
    {
        mRememberedWheel = tWheel;
        mWheelRemembered = 1;
    }
    float tZoom = FetchZoom() + (float)(tWheel - mRememberedWheel) * cWheelZoomFactor;
    if(tZoom < mMinimumZoom) tZoom = mMinimumZoom;
    StoreZoom(tZoom);
    mRememberedWheel = tWheel;
}

void Camera::Update()
{
    if(mScriptControl)
    {
        mPipelineLock = 0;
        LuaManager *rLua = LuaManager::Fetch();
        if(rLua && mScriptPath && strcmp(mScriptPath, CAMERA_SCRIPT_NONE))
        {
            rLua->ExecuteLuaFile(mScriptPath, 1, "N", (double)mScriptTicks);
        }
        mScriptTicks++;
        mPipelineLock = 1;
        return;
    }

    if(mPipelineLock)
    {
        RaiseZoomToFloor();
        CenterOnPlayer();
        return;
    }

    mPipelineLock = 1;
}

void Camera::Render()
{
    if(!mPositiveActivity) return;
    for(int32_t i = 0; i < mZoneCount; i++)
    {
        glBegin(GL_LINE_STRIP);
        glVertex2f(mZones[i].mLft, mZones[i].mTop);
        glVertex2f(mZones[i].mRgt, mZones[i].mTop);
        glVertex2f(mZones[i].mRgt, mZones[i].mBot);
        glVertex2f(mZones[i].mLft, mZones[i].mBot);
        glVertex2f(mZones[i].mLft, mZones[i].mTop);
        glEnd();
    }
}

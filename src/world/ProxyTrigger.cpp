#include "world/ProxyTrigger.h"

#include <GL/gl.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "actors/Enemy.h"
#include "core/DataList.h"
#include "core/Geometry.h"
#include "core/LuaManager.h"
#include "core/OptionsManager.h"
#include "core/Utilities.h"
#include "core/data/DataLibrary.h"
#include "core/render/GLState.h"
#include "world/Camera.h"
#include "world/CameraManager.h"
#include "world/EntityManager.h"
#include "world/RootZone.h"

// --- ProxyTrigger ---------------------------------------------------------------------------

ProxyTrigger::ProxyTrigger()
{
    mType = TYPE_PROXYTRIGGER;
    mRect = ZoneRect();
    mArmed = 0;
    rCheck = nullptr;
    rAction = nullptr;
    rDebug = DefaultOutline;
}

ProxyTrigger::~ProxyTrigger()
{
}

void ProxyTrigger::SetRect(float pLft, float pTop, float pRgt, float pBot)
{
    TakeEdgesInOrder("ProxyTrigger::SetRect", GetName(), -1, pLft, pTop, pRgt, pBot);
    mRect.mLft = pLft;
    mRect.mTop = pTop;
    mRect.mRgt = pRgt;
    mRect.mBot = pBot;
}

void ProxyTrigger::SetRoutines(ProxyCheckRoutine pCheck, ProxyActionRoutine pAction)
{
    mArmed = 1;
    rCheck = pCheck;
    rAction = pAction;
}

void ProxyTrigger::SetDebugRoutine(ProxyActionRoutine pRoutine)
{
    rDebug = pRoutine;
    if(rDebug) rDebug(this);
}

void ProxyTrigger::Update()
{
    if(!mArmed || !rAction) return;
    if(rCheck && !rCheck(this)) return;
    rAction(this);
}

void ProxyTrigger::Render()
{
    if(rDebug) rDebug(this);
}

void ProxyTrigger::DefaultOutline(ProxyTrigger *pTrigger)
{
    OptionsManager *rOptions = OptionsManager::Get();
    if(!pTrigger || !rOptions || !rOptions->GetBool("ShowHitboxes")) return;
    ZoneRect tRect = pTrigger->GetRect();
    float tWidth = tRect.mRgt - tRect.mLft;
    float tHeight = tRect.mBot - tRect.mTop;
    GLState::PushAll();
    glDisable(GL_TEXTURE_2D);
    glColor4f(0.792f, 0.666f, 0.819f, 1.0f);
    glTranslatef(tRect.mLft, tRect.mTop, 0.0f);
    glBegin(GL_LINE_LOOP);
    glVertex2f(0.0f, 0.0f);
    glVertex2f(tWidth, 0.0f);
    glVertex2f(tWidth, tHeight);
    glVertex2f(0.0f, tHeight);
    glEnd();
    GLState::PopAll();
}

// --- EnemySpawnTrigger ----------------------------------------------------------------------

namespace
{
    // [pLow, pHigh] meets [pA, pB].
    bool SpansMeet(float pLow, float pHigh, float pA, float pB)
    {
        return pLow <= pB && pA <= pHigh;
    }

    // Along one axis: the view's near edge runs from 0 to pTravel, so the band before it has
    // its outer line from -FAR to pTravel - FAR, the band after it from pView + FAR to pTravel +
    // pView + FAR. Either line must be able to fall inside [pLow, pHigh].
    bool OuterLineCanCross(float pLow, float pHigh, float pTravel, float pView)
    {
        const float tFar = (float)SPAWN_BAND_FAR;
        return SpansMeet(pLow, pHigh, -tFar, pTravel - tFar) || SpansMeet(pLow, pHigh, pView + tFar, pTravel + pView + tFar);
    }

    // Across: the band reaches SIDE past the view's edges, wherever the view stands.
    bool BandCanReachAcross(float pLow, float pHigh, float pTravel, float pView)
    {
        const float tSide = (float)SPAWN_BAND_SIDE;
        return pLow < pTravel + pView + tSide && pHigh > -tSide;
    }
}

bool SpawnBandCanReach(const ZoneRect &pBox, float pLevelW, float pLevelH, float pViewW, float pViewH)
{
    const float tTravelX = pLevelW > pViewW ? pLevelW - pViewW : 0.0f;
    const float tTravelY = pLevelH > pViewH ? pLevelH - pViewH : 0.0f;
    const bool tFromSide = OuterLineCanCross(pBox.mLft, pBox.mRgt, tTravelX, pViewW) &&
                           BandCanReachAcross(pBox.mTop, pBox.mBot, tTravelY, pViewH);
    const bool tFromEnd = OuterLineCanCross(pBox.mTop, pBox.mBot, tTravelY, pViewH) &&
                          BandCanReachAcross(pBox.mLft, pBox.mRgt, tTravelX, pViewW);
    return tFromSide || tFromEnd;
}

EnemySpawnTrigger::EnemySpawnTrigger()
{
    mFromSpawnRecord = 0;
    mToldSpent = 0;
    mArmed = 1;
    rCheck = SpawnCheck;
    rAction = SpawnAction;
    rDebug = DefaultOutline;
}

void EnemySpawnTrigger::Rearm()
{
    DataList *rData = GetData();
    SetDataNumber(rData, "HasSpawned", 0.0f);
    SetDataNumber(rData, "IsActivated", 0.0f);
    SetDataNumber(rData, "RespawnTimer", 0.0f);
    mToldSpent = 0;
}

bool EnemySpawnTrigger::SpawnCheck(ProxyTrigger *pTrigger)
{
    DataList *rData = pTrigger->GetData();
    float tActivated = DefineDataNumber(rData, "IsActivated", 0.0f);
    const char *rName = ReadDataString(rData, "EnemyName");
    if(!rName) return false;
    EntityManager *rEntities = EntityManager::Fetch();
    if(!rEntities || rEntities->GetEntity(rName)) return false;

    float tTimer = DefineDataNumber(rData, "RespawnTimer", 0.0f) - 1.0f;
    SetDataNumber(rData, "RespawnTimer", tTimer);
    if(tTimer > 0.0f) return false;

    Camera *rCamera = CameraManager::ActiveCamera();
    if(!rCamera) return false;
    // A script may park the camera anywhere a float reaches; the clamped truncation keeps the
    // widened bands inside the integer range.
    const IntRect tFrame = TruncateHitbox(rCamera->GetFrame());
    const int32_t L = tFrame.mLft;
    const int32_t T = tFrame.mTop;
    const int32_t R = tFrame.mRgt;
    const int32_t B = tFrame.mBot;
    const IntRect cBands[4] = {
        {L - SPAWN_BAND_FAR, T - SPAWN_BAND_SIDE, L - SPAWN_BAND_NEAR, B + SPAWN_BAND_SIDE},
        {L - SPAWN_BAND_SIDE, T - SPAWN_BAND_FAR, R + SPAWN_BAND_SIDE, T - SPAWN_BAND_NEAR},
        {R + SPAWN_BAND_NEAR, T - SPAWN_BAND_SIDE, R + SPAWN_BAND_FAR, B + SPAWN_BAND_SIDE},
        {L - SPAWN_BAND_SIDE, B + SPAWN_BAND_NEAR, R + SPAWN_BAND_SIDE, B + SPAWN_BAND_FAR},
    };
    const ZoneRect tRect = pTrigger->GetRect();
    const float cOuter[4] = {(float)(L - SPAWN_BAND_FAR), (float)(T - SPAWN_BAND_FAR), (float)(R + SPAWN_BAND_FAR),
                             (float)(B + SPAWN_BAND_FAR)};
    bool tTouched = false;
    bool tEntered = false;
    for(int32_t i = 0; i < 4; i++)
    {
        if(!ZoneRectOverlapsRectangle(tRect, cBands[i])) continue;
        tTouched = true;
        bool tHorizontal = (i == 0 || i == 2);
        float tLow = tHorizontal ? tRect.mLft : tRect.mTop;
        float tHigh = tHorizontal ? tRect.mRgt : tRect.mBot;
        if(tLow <= cOuter[i] && cOuter[i] <= tHigh) tEntered = true;
    }

    bool tSpawn = false;
    if(tEntered)
    {
        if(tActivated == 0.0f)
        {
            tActivated = 1.0f;
            tSpawn = true;
        }
    }
    else if(tTouched && tActivated == 0.0f)
    {
        tActivated = 1.0f;
    }
    else if(!tTouched && tActivated == 1.0f)
    {
        tActivated = 0.0f;
    }
    SetDataNumber(rData, "IsActivated", tActivated);
    return tSpawn;
}

void EnemySpawnTrigger::SpawnAction(ProxyTrigger *pTrigger)
{
    DataList *rData = pTrigger->GetData();
    const char *rName = ReadDataString(rData, "EnemyName");
    const char *rScript = ReadDataString(rData, "PathToConstructorScript");
    float tX = 0.0f, tY = 0.0f, tCanRespawn = 0.0f;
    if(!rName || !rScript || !ReadDataNumber(rData, "SpawnPositionX", tX) || !ReadDataNumber(rData, "SpawnPositionY", tY)) return;
    float tHasSpawned = DefineDataNumber(rData, "HasSpawned", 0.0f);
    if(!ReadDataNumber(rData, "CanRespawn", tCanRespawn)) return;
    if(tHasSpawned == 1.0f && tCanRespawn == 0.0f)
    {
        // The view has come for an enemy this point will never make again; an author waiting
        // for it learns why, once.
        EnemySpawnTrigger *rPoint = static_cast<EnemySpawnTrigger *>(pTrigger);
        if(!rPoint->mToldSpent)
        {
            rPoint->mToldSpent = 1;
            fprintf(stderr, "SpawnManager: %s (%s) will not spawn again: it has spawned once and its CanRespawn is 0\n",
                    rPoint->GetName(), rName);
        }
        return;
    }

    EntityManager *rEntities = EntityManager::Fetch();
    DataLibrary *rLibrary = DataLibrary::Fetch();
    if(!rEntities || !rLibrary) return;
    // The data list may change under a constructor script; keep private copies.
    char *nName = nullptr;
    char *nScript = nullptr;
    ResetString(&nName, rName);
    ResetString(&nScript, rScript);
    Enemy *nEnemy = new Enemy(nName);
    nEnemy->SetSpawnPointCoordinates(tX, tY);
    nEnemy->SetPositionAutoCenter(tX, tY, 0.0f);
    nEnemy->SetSpawnPointId(pTrigger->GetID());
    rEntities->RegisterEntity(nName, nEnemy, DeleteRootObject);
    const int32_t tEnemyID = nEnemy->GetID();
    Enemy::RunConstructor(nEnemy, nScript, 0, nullptr);
    rLibrary->PopActiveEntity();
    SetDataNumber(rData, "HasSpawned", 1.0f);
    Enemy *rStill = Enemy::FindLive(tEnemyID);
    if(rStill) rStill->SetPositionAutoCenter(tX, tY, 0.0f);
    free(nName);
    free(nScript);
}

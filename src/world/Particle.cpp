#include "world/Particle.h"

#include <GL/gl.h>
#include <cmath>
#include <cstdlib>

#include "core/Geometry.h"
#include "core/NamedLinkedList.h"
#include "world/EntityManager.h"
#include "world/LevelCollision.h"
#include "world/MapManager.h"

namespace
{
    const float cExplosionSpread = 0.3926990f;
    const float cExplosionSpeed = 5.0f;
    const float cPointSize = 4.0f;

    // The debris routine as the particle runs it: against the loaded map, or, without a map
    // manager, a world that is solid everywhere.
    bool DebrisBehaviour(Particle *pParticle)
    {
        MapManager *rMap = MapManager::Fetch();
        ClipWorld tWorld = {};
        if(rMap) tWorld = rMap->GetClipWorld();
        return StepDebris(pParticle, tWorld);
    }

    int32_t Sign(int32_t pValue)
    {
        return pValue > 0 ? 1 : -1;
    }
}

Particle::Particle()
{
    mX = 0.0f;
    mY = 0.0f;
    mZ = 0.0f;
    mColour.r = 1.0f;
    mColour.g = 1.0f;
    mColour.b = 1.0f;
    mColour.a = 1.0f;
    mDone = 0;
    mLifetime = -1;
    rBehaviour = nullptr;
    mBehaviourData = nullptr;
}

Particle::~Particle()
{
    free(mBehaviourData);
}

void Particle::DeleteThis(void *pParticle)
{
    delete static_cast<Particle *>(pParticle);
}

void Particle::SetPosition(float pX, float pY, float pZ)
{
    mX = pX;
    mY = pY;
    mZ = pZ;
}

void Particle::GetPosition(float &sX, float &sY, float &sZ) const
{
    sX = mX;
    sY = mY;
    sZ = mZ;
}

void Particle::SetBehaviour(ParticleBehaviour pBehaviour, void *pData)
{
    if(pData != mBehaviourData) free(mBehaviourData);
    rBehaviour = pBehaviour;
    mBehaviourData = pData;
}

void Particle::Update()
{
    if(mLifetime > 0)
    {
        mLifetime--;
        if(mLifetime == 0)
        {
            mDone = 1;
            return;
        }
        if(mLifetime <= PARTICLE_FADE_TICKS) mColour.a = (float)mLifetime / (float)PARTICLE_FADE_TICKS;
    }
    if(!rBehaviour || rBehaviour(this)) mDone = 1;
}

void Particle::AddToBatch(float *pBatch, int32_t &sCount) const
{
    if(!pBatch) return;
    float *rEntry = pBatch + (size_t)sCount * PARTICLE_BATCH_FLOATS;
    rEntry[0] = mX;
    rEntry[1] = mY;
    rEntry[2] = mZ;
    rEntry[3] = mColour.r;
    rEntry[4] = mColour.g;
    rEntry[5] = mColour.b;
    rEntry[6] = mColour.a;
    sCount++;
}

void Particle::MakeDebris(float pSpeedX, float pSpeedY)
{
    DebrisState *nState = (DebrisState *)calloc(1, sizeof(DebrisState));
    if(!nState) return;
    nState->mSpeedX = pSpeedX;
    nState->mSpeedY = pSpeedY;
    SetBehaviour(DebrisBehaviour, nState);
}

bool StepDebris(Particle *pParticle, const ClipWorld &pWorld)
{
    if(!pParticle) return true;
    DebrisState *rState = static_cast<DebrisState *>(pParticle->GetBehaviourData());
    if(!rState) return true;
    float tX, tY, tZ;
    pParticle->GetPosition(tX, tY, tZ);

    rState->mSpeedY += DEBRIS_GRAVITY;
    int32_t tStepsX = TruncateCoordinate(rState->mSpeedX);
    int32_t tStepsY = TruncateCoordinate(rState->mSpeedY);
    AccumulateFraction(rState->mSpeedX, rState->mRemainderX, tStepsX);
    AccumulateFraction(rState->mSpeedY, rState->mRemainderY, tStepsY);

    while(tStepsX != 0 || tStepsY != 0)
    {
        const float tPrevX = truncf(tX);
        const float tPrevY = truncf(tY);
        if(tStepsX != 0)
        {
            const int32_t tDir = Sign(tStepsX);
            tX += (float)tDir;
            tStepsX -= tDir;
            if(IsClipped(pWorld, TruncateCoordinate(tX), TruncateCoordinate(tY)))
            {
                tX = tPrevX;
                rState->mRemainderX -= (float)tStepsX * 0.5f;
                tStepsX = 0;
                rState->mSpeedX = -rState->mSpeedX * 0.5f;
            }
        }
        if(tStepsY != 0)
        {
            const int32_t tDir = Sign(tStepsY);
            tY += (float)tDir;
            tStepsY -= tDir;
            if(IsClipped(pWorld, TruncateCoordinate(tX), TruncateCoordinate(tY)))
            {
                tY = tPrevY;
                tStepsY = 0;
                rState->mRemainderY = 0.0f;
                // A bounce that leaves less than one unit a tick of speed either way ends the
                // bouncing, so debris comes to rest on the ground.
                rState->mSpeedY = -rState->mSpeedY * 0.35f;
                if(fabsf(rState->mSpeedY) <= 1.0f) rState->mSpeedY = 0.0f;
                rState->mSpeedX *= 0.9f;
                if(fabsf(rState->mSpeedX) <= 0.05f) rState->mSpeedX = 0.0f;
            }
        }
    }
    pParticle->SetPosition(tX, tY, tZ);
    return false;
}

void UpdateParticles(NamedLinkedList *pList)
{
    if(!pList) return;
    for(void *rData = pList->SetCursorToHead(); rData; rData = pList->CursorNext())
    {
        Particle *rParticle = static_cast<Particle *>(rData);
        rParticle->Update();
        if(rParticle->IsDone()) pList->RemoveAtCursor();
    }
}

float *BuildParticleBatch(NamedLinkedList *pList, int32_t &sCount)
{
    sCount = 0;
    if(!pList || pList->GetCount() < 1) return nullptr;
    float *nBatch = (float *)malloc((size_t)pList->GetCount() * PARTICLE_BATCH_FLOATS * sizeof(float));
    if(!nBatch) return nullptr;
    for(void *rData = pList->PushIterator(); rData; rData = pList->IterateNext())
    {
        static_cast<Particle *>(rData)->AddToBatch(nBatch, sCount);
    }
    return nBatch;
}

void RenderParticles(NamedLinkedList *pList)
{
    int32_t tCount = 0;
    float *nBatch = BuildParticleBatch(pList, tCount);
    if(!nBatch) return;
    glDisable(GL_TEXTURE_2D);
    glPointSize(cPointSize);
    glBegin(GL_POINTS);
    for(int32_t i = 0; i < tCount; i++)
    {
        const float *rEntry = nBatch + (size_t)i * PARTICLE_BATCH_FLOATS;
        glColor4f(rEntry[3], rEntry[4], rEntry[5], rEntry[6]);
        glVertex3f(rEntry[0], rEntry[1], rEntry[2]);
    }
    glEnd();
    glEnable(GL_TEXTURE_2D);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    free(nBatch);
}

void StartDebris(float pX, float pY, float pZ, ColorRGBA pColour, int32_t pLifetime, float pSpeedX, float pSpeedY)
{
    EntityManager *rEntities = EntityManager::Fetch();
    if(!rEntities) return;
    Particle *nParticle = new Particle();
    nParticle->SetPosition(pX, pY, pZ);
    nParticle->SetColour(pColour);
    nParticle->MakeDebris(pSpeedX, pSpeedY);
    nParticle->SetLifetime(pLifetime);
    rEntities->AddParticle(nParticle);
}

void SpawnParticleExplosion(int32_t pX, int32_t pY, float pAngle)
{
    if(!EntityManager::Fetch()) return;
    const int32_t tCount = rand() % 71 + 30;
    for(int32_t i = 0; i < tCount; i++)
    {
        const float tAngle = (float)(rand() % 20001 - 10000) / 10000.0f * cExplosionSpread + pAngle;
        ColorRGBA tColour;
        tColour.r = (float)(rand() % 256) / 255.0f;
        tColour.g = (float)(rand() % 256) / 255.0f;
        tColour.b = (float)(rand() % 256) / 255.0f;
        tColour.a = 1.0f;
        const int32_t tLifetime = 150 + rand() % 45;
        StartDebris((float)pX, (float)pY, DEBRIS_DEPTH, tColour, tLifetime, cosf(tAngle) * cExplosionSpeed,
                    sinf(tAngle) * cExplosionSpeed);
    }
}

#include "world/Checkpoint.h"

#include <cstdio>

Checkpoint::Checkpoint(const char *pName)
{
    mType = TYPE_CHECKPOINT;
    SetName((pName && pName[0]) ? pName : "Checkpoint");
    mActivated = 0;
    mRespawnX = 0.0f;
    mRespawnY = 0.0f;
    mCameraX = -1.0f;
    mCameraY = -1.0f;
}

Checkpoint::~Checkpoint()
{
}

void Checkpoint::GetRespawnLocation(float &sX, float &sY) const
{
    sX = mRespawnX;
    sY = mRespawnY;
}

void Checkpoint::GetCameraLocation(float &sX, float &sY) const
{
    sX = mCameraX;
    sY = mCameraY;
}

void Checkpoint::SetRespawnLocation(float pX, float pY)
{
    if(pX < 0.0f)
    {
        fprintf(stderr, "Error, checkpoint %s was given negative X value.\n", mName);
        return;
    }
    if(pY < 0.0f)
    {
        fprintf(stderr, "Error, checkpoint %s was given negative Y value.\n", mName);
        return;
    }
    mRespawnX = pX;
    mRespawnY = pY;
}

void Checkpoint::SetCameraLocation(float pX, float pY)
{
    mCameraX = pX;
    mCameraY = pY;
}

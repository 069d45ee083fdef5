#include "skeleton/PuppetEntity.h"

#include <GL/gl.h>

#include "actors/PlayerPony.h"
#include "core/render/GLState.h"
#include "skeleton/CorvelPuppet.h"

PuppetEntity::PuppetEntity() : mHitbox(), mFrameCounter(0), mPuppet(new CorvelPuppet())
{
    mType = TYPE_ROOTOBJECT;
}

PuppetEntity::~PuppetEntity()
{
    delete mPuppet;
}

void PuppetEntity::Update()
{
    PlayerPony *rPlayer = PlayerPony::Get();
    if(rPlayer)
    {
        rPlayer->GetHitbox(mHitbox);
        mHitbox.ShiftX(100.0f);
    }
    mFrameCounter++;
}

void PuppetEntity::Render()
{
    GLState::PushAll();
    glTranslatef(mHitbox.mLft, mHitbox.mTop, 0.0f);
    RenderHitboxOutline(mHitbox);
    if(mPuppet)
    {
        glTranslatef(0.0f, 150.0f, 0.0f);
        mPuppet->Render();
    }
    GLState::PopAll();
}

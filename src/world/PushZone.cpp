#include "world/PushZone.h"

PushZone::PushZone()
{
    SetName("Unnamed Pusher");
    mPushX = 0.0f;
    mPushY = 0.0f;
}

PushZone::~PushZone()
{
}

void PushZone::GetPush(float &sX, float &sY) const
{
    sX = mPushX;
    sY = mPushY;
}

void PushZone::SetPush(float pX, float pY)
{
    mPushX = pX;
    mPushY = pY;
}

#pragma once

#include "world/RootZone.h"

struct lua_State;

// A region whose push the player physics adds to the player's motion inside it.
class PushZone : public RootZone
{
public:
    PushZone();
    virtual ~PushZone();

    void GetPush(float &sX, float &sY) const;
    void SetPush(float pX, float pY);

private:
    float mPushX;
    float mPushY;
};

// Registers the "Push_" globals.
void RegisterPushZoneLua(lua_State *L);

#pragma once

#include "world/RootZone.h"

struct lua_State;

// A region where the ground slides the player; the amount is kept within 0 to 1.
class SlideZone : public RootZone
{
public:
    SlideZone();
    virtual ~SlideZone();

    float GetSlideAmount() const { return mSlideAmount; }
    void SetSlideAmount(float pAmount);

private:
    float mSlideAmount;
};

// Registers the "Slide_" globals.
void RegisterSlideZoneLua(lua_State *L);

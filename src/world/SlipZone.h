#pragma once

#include "world/RootZone.h"

struct lua_State;

// A slippery region; being in "Slip List" is all it offers.
class SlipZone : public RootZone
{
public:
    SlipZone();
    virtual ~SlipZone();
};

// Registers the "Slip_" globals.
void RegisterSlipZoneLua(lua_State *L);

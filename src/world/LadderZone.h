#pragma once
#include <cstdint>

#include "world/RootZone.h"

struct lua_State;

// A climbable region. Its top row is solid ground, but only for the level-collision movement
// while it asks for ladder tops (the LadderTopsSolid flag), so the player can stand on a
// ladder and still climb down into it.
class LadderZone : public RootZone
{
public:
    LadderZone();
    virtual ~LadderZone();

    bool ContainsPoint(int32_t pX, int32_t pY) override;
    SolidReach GetSolidReach(IntRect &sBox) override;
    bool HasHitbox() override { return true; }
    // The outline, drawn only under "ShowHitboxes".
    void Render() override;
};

// Registers the "Ladder_" globals.
void RegisterLadderZoneLua(lua_State *L);

#pragma once
#include <cstdint>

#include "world/RootZone.h"

struct lua_State;

// Hurts the player who overlaps it. A death pit kills whatever its damage says.
#define DAMAGEZONE_DEATH_PIT_DAMAGE 100

class DamageZone : public RootZone
{
public:
    DamageZone();
    virtual ~DamageZone();

    int32_t GetDamageToPlayer() const;
    void SetDamageToPlayer(int32_t pDamage) { mDamageToPlayer = pDamage; }
    bool IsDeathPit() const { return mDeathPit != 0; }
    void SetDeathPit(uint8_t pFlag) { mDeathPit = pFlag; }

    bool IsCollidingWithHitbox(Hitbox pBox) const;
    // Overlapping, with the box's top strictly below the zone's top.
    bool IsCollidingBelowTop(Hitbox pBox) const;

private:
    int32_t mDamageToPlayer;
    uint8_t mDeathPit;
};

// Registers the "DamageZone_" globals.
void RegisterDamageZoneLua(lua_State *L);

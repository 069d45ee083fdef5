#pragma once
#include <cstdint>

#include "core/Geometry.h"
#include "world/RootEntity.h"

// Base of every projectile; type codes 200 to 299 all name a RootProjectile. The entity
// manager reads the target flags and buster flag directly and asks the hit tests through the
// virtual table, so it needs nothing more of the family than this declaration.
//
// Target flags: bit 1 = can hit the player, bit 2 = can hit enemies.
// Owner id: object number of the entity the projectile belongs to (an enemy's contact box or
// hitbox box), 0 for a free projectile.
class RootProjectile : public RootEntity
{
public:
    RootProjectile();
    virtual ~RootProjectile();

    uint8_t GetTargetFlags() const { return mTargetFlags; }
    uint8_t IsBuster() const { return mIsBuster; }
    int32_t GetOwnerID() const { return mOwnerID; }

    // The tests the entity manager's hit sweeps call.
    virtual bool HitTestHitbox(Hitbox pOther);
    virtual bool HitTestPolygon(PolygonArrays pPolygon);

protected:
    uint8_t mTargetFlags;
    uint8_t mIsBuster;
    int32_t mOwnerID;
};

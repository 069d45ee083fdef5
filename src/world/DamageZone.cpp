#include "world/DamageZone.h"

#include "core/Geometry.h"

DamageZone::DamageZone()
{
    SetName("Unnamed Damage Zone");
    mDamageToPlayer = 0;
    mDeathPit = 0;
}

DamageZone::~DamageZone()
{
}

int32_t DamageZone::GetDamageToPlayer() const
{
    return mDeathPit ? DAMAGEZONE_DEATH_PIT_DAMAGE : mDamageToPlayer;
}

bool DamageZone::IsCollidingWithHitbox(Hitbox pBox) const
{
    return HitboxOverlapsZoneRect(pBox, mRect);
}

bool DamageZone::IsCollidingBelowTop(Hitbox pBox) const
{
    return IsCollidingWithHitbox(pBox) && pBox.mTop > mRect.mTop;
}

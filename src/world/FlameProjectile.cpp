#include "world/FlameProjectile.h"

#include <cmath>
#include <cstring>

#include "core/DataList.h"
#include "core/Geometry.h"
#include "core/Utilities.h"

namespace
{
    const char *const cFlameAnimation = "Root/Animations/Enemies/DragonTank/FlameSprite";
    const float cFlameSpeed = 5.0f;
    const float cFlameLifetime = 60.0f;
    const float cTicksPerFrame = 11.0f;
    const float cDrawOffsetX = -9.0f;
    const float cDrawOffsetY = -19.0f;

    const ProjectileOverride cDragonFlame = {DragonFlameLogic, DragonFlameRender};
}

const ProjectileOverride *FindProjectileOverride(const char *pPath)
{
    if(pPath && !strcmp(pPath, PROJECTILE_OVERRIDE_DRAGONFLAME)) return &cDragonFlame;
    return nullptr;
}

void DragonFlameLogic(RootProjectile *pProjectile)
{
    float *rAngle = FindDataNumber(pProjectile->GetData(), "fAngle");
    float *rLifetime = FindDataNumber(pProjectile->GetData(), "iLifetime");
    float tAngle = rAngle ? *rAngle : 0.0f;
    Hitbox tBox;
    pProjectile->GetHitbox(tBox);
    pProjectile->SetPosition(tBox.mOwnerX + cosf(tAngle) * cFlameSpeed, tBox.mOwnerY + sinf(tAngle) * cFlameSpeed);
    if(!rLifetime) return;
    *rLifetime -= 1.0f;
    if(*rLifetime < 1.0f) pProjectile->SetDestruct(1);
}

void DragonFlameRender(RootProjectile *pProjectile)
{
    float *rLifetime = FindDataNumber(pProjectile->GetData(), "iLifetime");
    float tLifetime = rLifetime ? *rLifetime : 0.0f;
    const int32_t tTick = TruncateCoordinate((cFlameLifetime - tLifetime) / cTicksPerFrame);
    pProjectile->SetFrame(cFlameAnimation, tTick, cDrawOffsetX, cDrawOffsetY);
}

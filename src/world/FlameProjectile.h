#pragma once

#include "world/RootProjectile.h"

// The logic script text that installs the dragon tank's native flame routines instead of a
// script.
#define PROJECTILE_OVERRIDE_DRAGONFLAME "OVERRIDE_DRAGONFLAME"

// Native routines that a logic script path stands for; either may be null.
struct ProjectileOverride
{
    ProjectileRoutine rLogic;
    ProjectileRoutine rRender;
};

// The routines the path names, or null when the path is an ordinary script (or null).
const ProjectileOverride *FindProjectileOverride(const char *pPath);

// The dragon tank's flame, driven by two numbers its script stores in the projectile's data.
// Logic: flies five units a tick along "fAngle" (radians; absent reads as 0) and counts
// "iLifetime" down, setting the destruct flag once it falls below 1; without a lifetime it
// flies on. Render: shows the flame animation's frame for the lifetime spent out of 60, eleven
// ticks a frame.
void DragonFlameLogic(RootProjectile *pProjectile);
void DragonFlameRender(RootProjectile *pProjectile);

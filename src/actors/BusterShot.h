#pragma once
#include <cstdint>

class RootProjectile;

// Registration kind of the player's buster shots; at most three may live at once.
#define BUSTER_SHOT_KIND "KestraShot"
#define BUSTER_SHOT_LIMIT 3
#define BUSTER_SHOT_SPEED 9.0f
// A rank 2 or rank 3 shot silences the rank 1 shot sound for this many movement steps.
#define BUSTER_COOLDOWN_TICKS 15
// Charge ticks from which a release fires rank 2, and rank 3.
#define BUSTER_RANK2_CHARGE 30
#define BUSTER_RANK3_CHARGE 80

// The shot cool-down shared by the buster and the special weapons. The player's movement
// step lowers it by one while above 0. Main thread only.
extern int32_t xShotCooldown;

// 1, 2 or 3 by the ticks the shot was charged.
int32_t BusterRankForCharge(int32_t pCharge);

// A new, unregistered buster projectile of the rank, placed from the shooter's box corner
// (pLft, pTop) and the pose offsets, flying right or left. Also starts the rank's spawn effect
// and plays its sound (rank 1 only while the cool-down is 0), and arms the cool-down for
// ranks 2 and 3.
RootProjectile *CreateBusterShot(int32_t pRank, bool pShootRight, float pLft, float pTop, float pDX, float pDY);

// Runs an effect script with the arguments ("X", x, y, mirrored) the sprite scripts expect.
void SpawnEffectScript(const char *pPath, float pX, float pY, bool pMirrored);

#pragma once
#include <cstdint>

// Her tuning that more than one of her files uses: on foot and in the mech, on the ladder and
// in her states. A number that one file alone uses stays beside its use.

// Her own box, on foot; riding, she takes the mech's.
const float cFootW = 19.0f;
const float cFootH = 52.0f;

// An injury ends once its timer passes this tick. Invulnerability follows for the hit's own
// length, or for the default (always the default while riding).
const int32_t cInjuryLastTick = 23;
const int32_t cDefaultInvulnerability = 120;

// Water slows the fall; kept in double precision as the products are.
const double cWaterFactor = 0.55;

// A held Shoot sounds its charge at this tick and fires a charged shot once above the next.
const int32_t cChargeSoundTick = 30;
const int32_t cChargeShotAbove = 29;

#pragma once

#include <cstdint>

// Longest spawn name that fits its 32-byte field with the terminator.
#define LUMP_SPAWN_NAME_MAX 31

// One record of a map's spawn lump: the enemy preset to place and where. The lump reader makes
// them, the map manager keeps the current map's list, and the spawn manager turns each into a
// spawn point.
struct SpawnRecord
{
    char mName[LUMP_SPAWN_NAME_MAX + 1];
    int32_t mX;
    int32_t mY;
};

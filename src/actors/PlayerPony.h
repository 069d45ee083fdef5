#pragma once

#include "world/RootEntity.h"

// The player character. The entity manager creates it, lists it under "Player" with an entry
// that never frees it, and deletes it at shutdown.
class PlayerPony : public RootEntity
{
public:
    PlayerPony();
    virtual ~PlayerPony();
};

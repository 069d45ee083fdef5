#pragma once
#include <cstdint>

#include "world/RootProjectile.h"

class AIMovementHandler;
struct lua_State;

#define MOVINGCONTAINER_DEFAULT_NAME "Unnamed Platform"

// A moving platform: a projectile box that is solid to every clip query and that carries,
// pushes and lifts the player and enemies standing on or touching it.
//
// Each tick its logic (script or native routine) runs, then its movement handler's current
// movement moves its box; the platform does not move by speeds, is never destroyed off screen
// and runs no hit sweeps. Its move for the tick is the box's real displacement, or, when the
// box did not move, the displacement the logic reported ("MovingContainer_SetMovementData").
// Riders follow that displacement the same tick, so a platform that turns or moves on a curve
// keeps its riders on it.
//
// The platform keeps no pointers to its riders: they are found in the entity list each tick.
class MovingContainer : public RootProjectile
{
public:
    MovingContainer();
    virtual ~MovingContainer();

    AIMovementHandler *GetMovementHandler() const { return mHandler; }
    void SetMovementData(float pDX, float pDY);
    bool HasPendingMovement() const { return mPending != 0; }

    static bool IsRiderCandidate(RootEntity *pEntity);
    // True when the rider's bottom row touches the row just above the platform's top.
    bool IsStandingOn(RootEntity *pRider);
    bool IsPlayerOnPlatform();
    bool IsEnemyOnPlatform();
    void CarryRider(RootEntity *pRider, float pDX, float pDY, const Hitbox &pOldBox);

    bool ContainsPoint(int32_t pX, int32_t pY) override;
    SolidReach GetSolidReach(IntRect &sBox) override;
    void Update() override;

private:
    // pLevel gives the platform's height for the rules: the box at the height she stands on.
    void CarryHorizontally(RootEntity *pRider, float pDX, const Hitbox &pOldBox, const Hitbox &pLevel);
    void CarryVertically(RootEntity *pRider, float pDY, const Hitbox &pOldBox);

    uint8_t mPending;
    AIMovementHandler *mHandler;
    float mPendingDX;
    float mPendingDY;
};

// Registers the "MovingContainer_" globals.
void RegisterMovingContainerLua(lua_State *L);

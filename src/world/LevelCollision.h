#pragma once
#include <cstdint>

#include "core/Hitbox.h"
#include "world/ClipQueries.h"

// One-shot movement modifiers, all false. A caller sets the ones it wants immediately before
// MoveWithCollision, which clears all four when it returns. Main thread only: nothing else may
// move a box between setting them and the call.
//   AllowBotSlopes  horizontal movement may climb one unit when blocked, and the box is pulled
//                   down one unit onto ground that is one unit lower
//   AllowTopSlopes  horizontal movement blocked ahead may continue one unit lower
//   AllowAirWalk    horizontal movement ignores whether there is ground ahead
//   LadderTopsSolid ladder tops count as solid while the entity manager's point test runs;
//                   the movement drops it for its horizontal units and restores it after
extern bool AllowBotSlopes;
extern bool AllowTopSlopes;
extern bool AllowAirWalk;
extern bool LadderTopsSolid;

// Wall-crawl surface codes, kept in the box's mOwnerZ while it crawls. Any other value acts as
// the right-hand surface.
enum WallCrawlSurface : int32_t
{
    WALLCRAWL_BELOW = 0,
    WALLCRAWL_LEFT = 1,
    WALLCRAWL_RIGHT = 2,
    WALLCRAWL_ABOVE = 3,
};

// A call moves no more than this many units per axis.
#define COLLISION_MAX_ITERATIONS 50

// Moves the box in place, one world unit at a time, alternating a horizontal and a vertical
// unit. Fractions of a unit collect in the box's remainders and are spent once they make a
// whole unit (at most one carry per axis per call). More than the iteration cap prints
// "Movement loop got caught" and leaves the rest of the move undone. dz is not used. A NaN
// move counts as none and infinite or huge ones are clamped, so script-set speeds cannot
// wreck a box.
void MoveWithCollision(const ClipWorld &pWorld, double pDX, double pDY, double pDZ, Hitbox &sBox);

// Moves |pSteps| units around the surfaces of solid shapes, clockwise for pSteps >= 0, else
// counter-clockwise, updating the surface code in mOwnerZ. A step that only turns a corner
// changes the code without moving the box.
void WallCrawl(const ClipWorld &pWorld, int32_t pSteps, Hitbox &sBox);

// Sub-unit accumulator: remainder += position - whole, then whole remainders move into whole
// (toward zero, so the remainder keeps the sign it had). A non-finite position adds nothing.
void AccumulateFraction(double pPosition, float &sRemainder, int32_t &sWhole);

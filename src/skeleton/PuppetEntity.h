#pragma once

#include <cstdint>

#include "core/Hitbox.h"
#include "world/RootEntity.h"

class CorvelPuppet;

// A world object that carries one puppet and follows the player, 100 units to her right.
// Nothing in the game makes one; the puppet it owns is never booted by it.
class PuppetEntity : public RootEntity
{
public:
    PuppetEntity();
    ~PuppetEntity() override;

    // Copies the player's box shifted 100 units right (left, right and the owner's x) and
    // counts the frame; without a player only the frame is counted.
    void Update() override;
    // Outlines the box under "ShowHitboxes" and draws the puppet 150 units below its top.
    void Render() override;

    void GetHitbox(Hitbox &sHitbox) override { sHitbox = mHitbox; }
    int32_t GetFrameCounter() const { return mFrameCounter; }
    CorvelPuppet *GetPuppet() const { return mPuppet; }

private:
    Hitbox mHitbox;
    int32_t mFrameCounter;
    CorvelPuppet *mPuppet;
};

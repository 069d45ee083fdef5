#pragma once
#include <cstdint>

class Enemy;
class NamedLinkedList;

// Projectiles one intake tracks; hits beyond these in one tick are not counted.
#define ENEMY_INTAKE_MAX_SEEN 64

// One tick's damage intake from the player's projectiles: the projectiles to use up, the
// greatest single hit (hits never add up) and the projectile that dealt it. Hooks run while
// walking may destroy projectiles, so after the first hook every later one is looked up again
// by object number before it is touched.
class EnemyIntake
{
public:
    explicit EnemyIntake(Enemy *pOwner);
    // One sweep's hits. The bounding-box rules also use up any shot while invulnerable and
    // spare piercing ones then; the box rules skip reflecting projectiles.
    // Through a shape that blocks buster shots, each shot's block hook runs instead of it
    // being used up; its damage still counts unless the hook turned it back.
    void Walk(NamedLinkedList *pHits, int32_t pHealth, bool pBoundingBox, bool pBlocks = false);
    // Credits the strongest projectile and gives the damage of the tick.
    int32_t Finish(uint8_t &sWeaponCMark);

private:
    bool Seen(int32_t pID);

    Enemy *rOwner;
    int32_t mBest;
    int32_t mBestID;
    uint8_t mBestWeaponC;
    uint8_t mHookRan;
    int32_t mSeen[ENEMY_INTAKE_MAX_SEEN];
    int32_t mSeenCount;
};

#pragma once
#include <cstdint>

#include "interface/GUIBaseObject.h"

class Bitmap;
class PlayerPony;

#define HEALTHBAR_WEAPON_COUNT 8

// Frame variant of the player's bar for a maximum health: one per two points above 18.
int32_t HealthFrameVariant(int32_t pMaxHealth);

// One event of the slow refill: pays one point of the player's pending heal every 5th call
// (capping the pending heal to the missing health first), or banks it all in the sub-tanks at
// full health. True on the paying event. The counter is the caller's.
bool RunHealthRefill(PlayerPony *pPlayer, int32_t &sRefillTicks);

// The player's health, the selected weapon's energy and the weapon selector ring, drawn at the
// view's top left. Its events also pay out the pending heal, one point every 5th event.
class GUISKestraHealthBar : public GUIBaseObject
{
public:
    GUISKestraHealthBar();

    // Looks the thirteen pictures up once; the missing ones stay null.
    virtual void LoadImages();

    bool HandleEvent(int32_t pCode, int32_t pX, int32_t pY) override;
    void Render() override;
    void ReleaseLibraryObject(void *pObject) override;

private:
    void RenderPoints(PlayerPony *pPlayer);
    void RenderWeapon(PlayerPony *pPlayer);
    void RenderRing(PlayerPony *pPlayer);

    uint8_t mImagesLoaded;
    int32_t mRefillTicks;
    Bitmap *rCap;
    Bitmap *rWeapons[HEALTHBAR_WEAPON_COUNT];
    Bitmap *rFrame;
    Bitmap *rPoint;
    Bitmap *rSelectors;
    Bitmap *rSelectedSelector;
};

// Reads the health of the boss bar's target; installed by the family the target belongs to.
class RootEntity;
typedef int32_t (*BossHealthReader)(RootEntity *pTarget);

// The health of one target enemy as chips over a frame. The target is held by its object
// number and looked up in the entity manager on every read, so a destroyed enemy is never
// read: the bar then drops the target and hides, as map loading's code 255 does.
class GUISBossHealthBar : public GUIBaseObject
{
public:
    GUISBossHealthBar();

    static void SetHealthReader(BossHealthReader pReader);

    // Null clears the target.
    void SetTargetEnemy(RootEntity *pEnemy);
    // The target while it still exists, else null (and the target is dropped).
    RootEntity *GetTargetEnemy();
    // The target's health, -1 without a target.
    int32_t GetTargetHealth();
    void SetTarget(int32_t pCode) override;
    void Render() override;
    void ReleaseLibraryObject(void *pObject) override;

private:
    Bitmap *rFrameImage;
    Bitmap *rChipImage;
    uint8_t mImagesTried;
    int32_t mTargetID;
};

// The names the GUI files the two bars under, and the bars found by them.
#define KESTRA_HEALTH_BAR_NAME "KestraHealthBar"
#define BOSS_HEALTH_BAR_NAME "BossHealthBar"
GUISKestraHealthBar *GetKestraHealthBar();
GUISBossHealthBar *GetBossHealthBar();

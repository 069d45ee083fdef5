#pragma once
#include <cstdint>

class RootProjectile;

#define WEAPON_AMMO_BAR_HEIGHT 28
#define WEAPON_PALETTE_PATH "Root/Other/Palettes/Kestra/All"
#define WEAPON_SHOT_SOUND "Rank1BusterShot"
#define PRISMATIC_BEAM_COOLDOWN 60
#define WEAPON_DEFAULT_NAME "Not Set"
#define WEAPON_DEFAULT_PALETTE "Palette1"

// Registration kinds of the weapon projectiles; the weapons find their live projectiles by
// the registered name's prefix "PROJ|<kind>|".
#define LIGHTNING_BIT_KIND "Lightning Bit"
#define NCUTTER_LARGE_KIND "NCutter Large"
#define NCUTTER_SMALL_KIND "NCutter Small"
#define PERMAFROST_SHIELD_KIND "PermafrostShield"
#define PRISMATIC_BEAM_KIND "Prismatic Beam"
#define ROCK_WRECKER_KIND "RockWreckerGrabber"

// One of the player's eight special weapons. The player owns them, fires the selected one
// when its HasAmmo answers true, and calls Tick on all eight from every movement step.
//
// Hooks: HasAmmo (whether a press of Shoot may fire now), Fire (spends ammunition and makes
// the weapon's projectile; does nothing at 0 ammunition), Tick (per movement step; empty
// unless a weapon keeps a timer).
class PlayerWeapon
{
public:
    // Unnamed, in the player's own colours, with no ammunition count.
    PlayerWeapon();
    PlayerWeapon(const char *pName, const char *pPalette, int32_t pMaxAmmo);
    virtual ~PlayerWeapon();

    virtual bool HasAmmo();
    virtual void Fire();
    virtual void Tick();

    const char *GetName() const { return mName; }
    const char *GetPaletteName() const { return mPalette; }
    int32_t GetAmmo() const { return mAmmo; }
    int32_t GetMaxAmmo() const { return mMaxAmmo; }
    // Clamped to 0 .. maximum for a weapon that keeps a count.
    void SetAmmo(int32_t pAmmo);
    // -1 without a count; otherwise ammo / maximum of the bar's 28 units, truncated.
    int32_t GetAmmoBarHeight() const;
    void ApplyPalette() const;

    // The player's shot origin, and the spawn point the weapons use from it.
    static void GetShotOrigin(uint8_t &sFacingRight, float &sDX, float &sDY);
    static void GetSpawnPoint(float pRightX, float pLeftX, float pDownY, uint8_t &sFacingRight, float &sX, float &sY);
    static void PlayShotSound();
    static bool ProjectileExists(const char *pKind);
    static void Register(const char *pKind, RootProjectile *pProjectile);

protected:
    void SpendAmmo();

    char *mName;
    char *mPalette;
    int32_t mMaxAmmo;
    int32_t mAmmo;

private:
    PlayerWeapon(const PlayerWeapon &) = delete;
    PlayerWeapon &operator=(const PlayerWeapon &) = delete;
};

class LightningBit : public PlayerWeapon
{
public:
    LightningBit();
    void Fire() override;
};

class NightmareCutter : public PlayerWeapon
{
public:
    NightmareCutter();
    bool HasAmmo() override;
    void Fire() override;
};

class PrismaticBeam : public PlayerWeapon
{
public:
    PrismaticBeam();
    bool HasAmmo() override;
    void Fire() override;
    void Tick() override;
    int32_t GetCooldown() const { return mCooldown; }

private:
    int32_t mCooldown;
};

class PermafrostShield : public PlayerWeapon
{
public:
    PermafrostShield();
    bool HasAmmo() override { return true; }
    void Fire() override;
};

class RockWrecker : public PlayerWeapon
{
public:
    RockWrecker();
    bool HasAmmo() override { return true; }
    void Fire() override;
};

// Slots 3, 4 and 7: carried and shown, but they fire nothing.
class InertWeapon : public PlayerWeapon
{
public:
    InertWeapon(const char *pName, const char *pPalette) : PlayerWeapon(pName, pPalette, WEAPON_AMMO_BAR_HEIGHT) {}
    bool HasAmmo() override { return false; }
};

class ChaosBlaster : public InertWeapon
{
public:
    ChaosBlaster() : InertWeapon("ChaosBlaster", "Palette5") {}
};

class SonicBuster : public InertWeapon
{
public:
    SonicBuster() : InertWeapon("SonicBuster", "Palette4") {}
};

class CausticSpray : public InertWeapon
{
public:
    CausticSpray() : InertWeapon("CausticSpray", "Palette9") {}
};

// The weapon of a slot 0 to 7, new; null outside.
PlayerWeapon *CreatePlayerWeapon(int32_t pSlot);

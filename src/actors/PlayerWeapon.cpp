#include "actors/PlayerWeapon.h"

#include <cstdio>
#include <cstdlib>

#include "actors/BusterShot.h"
#include "actors/PlayerPony.h"
#include "actors/WeaponProjectiles.h"
#include "core/Utilities.h"
#include "core/data/DataLibrary.h"
#include "core/render/Palette.h"
#include "interface/AudioManager.h"
#include "world/EntityManager.h"

namespace
{
    const float cBitSpeed = 9.0f;
    const float cCutterSpeedX = 9.0f;
    const float cCutterSpeedY = 5.0f;
    const float cCutterLeftAngle = 3.14154f;
    const float cBeamSpeed = 9.0f;
    const float cGrabberSpeed = 5.0f;
}

PlayerWeapon::PlayerWeapon() : PlayerWeapon(WEAPON_DEFAULT_NAME, WEAPON_DEFAULT_PALETTE, -1)
{
}

PlayerWeapon::PlayerWeapon(const char *pName, const char *pPalette, int32_t pMaxAmmo)
{
    mName = nullptr;
    mPalette = nullptr;
    ResetString(&mName, pName);
    ResetString(&mPalette, pPalette);
    mMaxAmmo = pMaxAmmo;
    mAmmo = pMaxAmmo;
}

PlayerWeapon::~PlayerWeapon()
{
    free(mName);
    free(mPalette);
}

bool PlayerWeapon::HasAmmo()
{
    return mAmmo > 0;
}

void PlayerWeapon::Fire()
{
}

void PlayerWeapon::Tick()
{
}

void PlayerWeapon::SetAmmo(int32_t pAmmo)
{
    if(mMaxAmmo < 1) return;
    if(pAmmo < 0) pAmmo = 0;
    if(pAmmo > mMaxAmmo) pAmmo = mMaxAmmo;
    mAmmo = pAmmo;
}

int32_t PlayerWeapon::GetAmmoBarHeight() const
{
    if(mAmmo == -1 || mMaxAmmo < 1) return -1;
    if(mAmmo == 0) return 0;
    return (int32_t)((int64_t)mAmmo * WEAPON_AMMO_BAR_HEIGHT / mMaxAmmo);
}

void PlayerWeapon::ApplyPalette() const
{
    DataLibrary *rLibrary = DataLibrary::Fetch();
    if(!rLibrary || !rLibrary->Exists(WEAPON_PALETTE_PATH)) return;
    Palette *rPalette = (Palette *)rLibrary->GetEntryOfKind(WEAPON_PALETTE_PATH, DL_KIND_PALETTE);
    if(rPalette) rPalette->ApplySwap(mPalette);
}

void PlayerWeapon::SpendAmmo()
{
    if(mAmmo > 0) mAmmo--;
}

void PlayerWeapon::GetShotOrigin(uint8_t &sFacingRight, float &sDX, float &sDY)
{
    sFacingRight = 1;
    sDX = sDY = 0.0f;
    PlayerPony *rPlayer = PlayerPony::Get();
    if(rPlayer) rPlayer->GetShotOrigin(sFacingRight, sDX, sDY);
}

// The point in front of her muzzle: pRightX and pLeftX are the distances from her box's left
// edge when facing right and left, pDownY from its top.
void PlayerWeapon::GetSpawnPoint(float pRightX, float pLeftX, float pDownY, uint8_t &sFacingRight, float &sX, float &sY)
{
    float tDX, tDY;
    GetShotOrigin(sFacingRight, tDX, tDY);
    PlayerPony *rPlayer = PlayerPony::Get();
    Hitbox tBox = rPlayer ? *rPlayer->GetHitboxPtr() : Hitbox();
    sX = sFacingRight ? tBox.mLft + pRightX + tDX : tBox.mLft - pLeftX - tDX;
    sY = tBox.mTop + pDownY + tDY;
}

void PlayerWeapon::PlayShotSound()
{
    if(xShotCooldown == 0) AudioManager::PlaySoundIfBooted(WEAPON_SHOT_SOUND);
}

bool PlayerWeapon::ProjectileExists(const char *pKind)
{
    EntityManager *rManager = EntityManager::Fetch();
    if(!rManager) return false;
    char tPrefix[EM_PROJECTILE_NAME_MAX + 1];
    snprintf(tPrefix, sizeof(tPrefix), "PROJ|%s|", pKind);
    return rManager->FindByName(tPrefix) != nullptr;
}

void PlayerWeapon::Register(const char *pKind, RootProjectile *pProjectile)
{
    EntityManager *rManager = EntityManager::Fetch();
    if(!rManager)
    {
        delete pProjectile;
        return;
    }
    rManager->RegisterProjectile(pKind, pProjectile, DeleteRootObject);
}

// --- Lightning Bit --------------------------------------------------------------------------

LightningBit::LightningBit() : PlayerWeapon("Lightning Bit", "Palette2", WEAPON_AMMO_BAR_HEIGHT)
{
}

// A bit already out is struck down instead, at no cost.
void LightningBit::Fire()
{
    if(mAmmo <= 0) return;
    char tPrefix[EM_PROJECTILE_NAME_MAX + 1];
    snprintf(tPrefix, sizeof(tPrefix), "PROJ|%s|", LIGHTNING_BIT_KIND);
    EntityManager *rManager = EntityManager::Fetch();
    LightningBitProjectile *rBit = rManager ? dynamic_cast<LightningBitProjectile *>(rManager->FindByName(tPrefix)) : nullptr;
    if(rBit)
    {
        if(!rBit->IsStriking()) rBit->Strike(nullptr);
        return;
    }

    uint8_t tRight;
    float tX, tY;
    GetSpawnPoint(15.0f, 3.0f, 8.0f, tRight, tX, tY);
    SpendAmmo();
    LightningBitProjectile *nBit = new LightningBitProjectile();
    nBit->SetPosition(tX, tY);
    nBit->SetSpeeds(tRight ? cBitSpeed : -cBitSpeed, 0.0f);
    PlayShotSound();
    Register(LIGHTNING_BIT_KIND, nBit);
}

// --- Nightmare Cutter -----------------------------------------------------------------------

NightmareCutter::NightmareCutter() : PlayerWeapon("Nightmare Cutter", "Palette3", 14)
{
}

bool NightmareCutter::HasAmmo()
{
    if(ProjectileExists(NCUTTER_LARGE_KIND)) return false;
    return mAmmo > 0;
}

void NightmareCutter::Fire()
{
    if(mAmmo <= 0) return;
    SpendAmmo();
    uint8_t tRight;
    float tX, tY;
    GetSpawnPoint(15.0f, 3.0f, 8.0f, tRight, tX, tY);
    NightmareCutterProjectile *nCutter = new NightmareCutterProjectile(true, tRight ? 0.0f : cCutterLeftAngle);
    nCutter->SetPosition(tX, tY);
    nCutter->SetSpeeds(cCutterSpeedX, cCutterSpeedY);
    PlayShotSound();
    Register(NCUTTER_LARGE_KIND, nCutter);
}

// --- Prismatic Beam -------------------------------------------------------------------------

PrismaticBeam::PrismaticBeam() : PlayerWeapon("Prismatic Beam", "Palette8", 14)
{
    mCooldown = 0;
}

bool PrismaticBeam::HasAmmo()
{
    if(mCooldown > 0) return false;
    return mAmmo > 0;
}

void PrismaticBeam::Fire()
{
    if(mAmmo <= 0) return;
    SpendAmmo();
    uint8_t tRight;
    float tX, tY;
    GetSpawnPoint(17.0f, 1.0f, 9.0f, tRight, tX, tY);
    PrismaticBeamProjectile *nFirst = new PrismaticBeamProjectile();
    PrismaticBeamProjectile *nSecond = new PrismaticBeamProjectile();
    nFirst->SetPosition(tX, tY);
    nSecond->SetPosition(tX, tY);
    nFirst->SetSpeeds(tRight ? cBeamSpeed : -cBeamSpeed, 0.0f);
    nSecond->SetSpeeds(tRight ? cBeamSpeed : -cBeamSpeed, 0.0f);
    nSecond->SetPhase(180);
    Register(PRISMATIC_BEAM_KIND, nFirst);
    Register(PRISMATIC_BEAM_KIND, nSecond);
    nFirst->SetPartner(nSecond);
    nSecond->SetPartner(nFirst);
    PlayShotSound();
    mCooldown = PRISMATIC_BEAM_COOLDOWN;
}

void PrismaticBeam::Tick()
{
    if(mCooldown > 0) mCooldown--;
}

// --- Permafrost Shield ----------------------------------------------------------------------

PermafrostShield::PermafrostShield() : PlayerWeapon("PermafrostShield", "Palette7", WEAPON_AMMO_BAR_HEIGHT)
{
}

void PermafrostShield::Fire()
{
    if(mAmmo <= 0 || ProjectileExists(PERMAFROST_SHIELD_KIND)) return;
    uint8_t tRight;
    float tX, tY;
    GetSpawnPoint(15.0f, 3.0f, 8.0f, tRight, tX, tY);
    SpendAmmo();
    PermafrostShieldProjectile *nShield = new PermafrostShieldProjectile();
    nShield->SetPosition(tX, tY);
    nShield->SetSpeeds(0.0f, 0.0f);
    PlayShotSound();
    Register(PERMAFROST_SHIELD_KIND, nShield);
}

// --- Rock Wrecker ---------------------------------------------------------------------------

RockWrecker::RockWrecker() : PlayerWeapon("Rock Wrecker", "Palette6", WEAPON_AMMO_BAR_HEIGHT)
{
}

// Spends nothing. A grabber already out throws what it holds instead.
void RockWrecker::Fire()
{
    if(mAmmo <= 0) return;
    char tPrefix[EM_PROJECTILE_NAME_MAX + 1];
    snprintf(tPrefix, sizeof(tPrefix), "PROJ|%s|", ROCK_WRECKER_KIND);
    EntityManager *rManager = EntityManager::Fetch();
    RootEntity *rExisting = rManager ? rManager->FindByName(tPrefix) : nullptr;
    if(rExisting)
    {
        RockWreckerProjectile *rGrabber = dynamic_cast<RockWreckerProjectile *>(rExisting);
        if(rGrabber) rGrabber->Throw();
        return;
    }
    uint8_t tRight;
    float tX, tY;
    GetSpawnPoint(15.0f, 3.0f, 8.0f, tRight, tX, tY);
    RockWreckerProjectile *nGrabber = new RockWreckerProjectile();
    nGrabber->SetPosition(tX, tY);
    nGrabber->SetSpeeds(tRight ? cGrabberSpeed : -cGrabberSpeed, 0.0f);
    PlayShotSound();
    Register(ROCK_WRECKER_KIND, nGrabber);
}

// --- Slots ----------------------------------------------------------------------------------

PlayerWeapon *CreatePlayerWeapon(int32_t pSlot)
{
    switch(pSlot)
    {
        case 0: return new LightningBit();
        case 1: return new NightmareCutter();
        case 2: return new PrismaticBeam();
        case 3: return new ChaosBlaster();
        case 4: return new SonicBuster();
        case 5: return new PermafrostShield();
        case 6: return new RockWrecker();
        case 7: return new CausticSpray();
        default: return nullptr;
    }
}

#pragma once
#include <cstdint>

#include "core/RootObject.h"

// An enemy's health. Any value may be stored here; the Lua binding refuses values below 1.
class EnemyHealth : public RootObject
{
public:
    EnemyHealth();

    int32_t GetHealth() const { return mHealth; }
    void SetHealth(int32_t pHealth) { mHealth = pHealth; }
    uint8_t GetInvincibleFlag() const { return mInvincible; }
    void SetInvincibleFlag(uint8_t pFlag) { mInvincible = pFlag; }
    uint8_t GetSecondWindFlag() const { return mSecondWind; }
    void SetSecondWindFlag(uint8_t pFlag) { mSecondWind = pFlag; }
    uint8_t WasHitThisTick() const { return mHitThisTick; }

    // Positive damage lowers the health unless invincible; a second wind leaves 1, once.
    void TakeDamage(int32_t pDamage);

private:
    int32_t mHealth;
    uint8_t mInvincible;
    uint8_t mSecondWind;
    uint8_t mHitThisTick;
};

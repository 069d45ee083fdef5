#include "actors/EnemyHealth.h"

EnemyHealth::EnemyHealth()
{
    mType = TYPE_ENEMYHEALTH;
    mHealth = 1;
    mInvincible = 0;
    mSecondWind = 0;
    mHitThisTick = 0;
}

void EnemyHealth::TakeDamage(int32_t pDamage)
{
    mHitThisTick = 0;
    if(pDamage <= 0 || mInvincible) return;
    mHealth -= pDamage;
    mHitThisTick = 1;
    if(mSecondWind && mHealth < 1)
    {
        mHealth = 1;
        mSecondWind = 0;
    }
}

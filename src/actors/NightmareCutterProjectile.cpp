#include "actors/WeaponProjectiles.h"

#include <GL/gl.h>
#include <cmath>
#include <cstdlib>

#include "actors/Enemy.h"
#include "actors/PlayerWeapon.h"
#include "core/NamedLinkedList.h"
#include "interface/AudioManager.h"
#include "world/EntityManager.h"
#include "world/Particle.h"

namespace
{
    const float cSpread = 0.261795f;
    const float cLoneAngles[3] = {1.57077f, 3.66513f, 5.75949f};
    const float cSmallSpeed = 9.0f;
    // Shards of a burst fly off at random angles over most of a turn.
    const int32_t cShardCount = 7;
    const float cShardArc = 5.323165f;
    const float cShardSpeed = 5.0f;
    const int32_t cShardLifetime = 120;
    const ColorRGBA cShardColour = {0.951f, 0.9f, 0.8f, 1.0f};

    float AngleToCutter(EntityManager *pManager, RootEntity *pEnemy, RootEntity *pCutter)
    {
        return pManager->GetAngleBetweenEntities(pEnemy, pCutter) * 0.017453f + 1.570796f;
    }
}

NightmareCutterProjectile::NightmareCutterProjectile(bool pLarge, float pAngle)
{
    SetTargetFlags(PROJECTILE_TARGET_ENEMIES);
    SetIsBuster(1);
    SetSelfMoving(1);
    SetIgnoreClips(1);
    SetDamage(1);
    mLarge = pLarge ? 1 : 0;
    mAngle = pAngle;
    if(mLarge) SetDimensions(-5.0f, -23.0f, 5.0f, 23.0f);
    else SetDimensions(-3.0f, -3.0f, 3.0f, 3.0f);
}

void NightmareCutterProjectile::RunLogic()
{
    SetPosition(mHitbox.mOwnerX + cosf(mAngle) * mSpeedX, mHitbox.mOwnerY + sinf(mAngle) * mSpeedX);
}

void NightmareCutterProjectile::Split(RootEntity *pStruck)
{
    EntityManager *rManager = EntityManager::Fetch();
    if(!rManager) return;
    float tAngles[3];
    NamedLinkedList *nEnemies = rManager->ListByType(TYPE_ENEMY);
    if(!nEnemies) return;

    if(nEnemies->GetCount() < 2)
    {
        for(int32_t i = 0; i < 3; i++) tAngles[i] = cLoneAngles[i];
    }
    else
    {
        // The others, nearest first; the one just hit is left out.
        RootEntity *rOthers[3] = {nullptr, nullptr, nullptr};
        float tDistances[3] = {0.0f, 0.0f, 0.0f};
        int32_t tCount = 0;
        int32_t tLeft = 0;
        for(void *rData = nEnemies->PushIterator(); rData; rData = nEnemies->IterateNext())
        {
            RootEntity *rEnemy = (RootEntity *)rData;
            if(rEnemy == pStruck) continue;
            tLeft++;
            float tDistance = rManager->GetDistanceBetweenEntities(rEnemy, this);
            int32_t tAt = tCount < 3 ? tCount : 3;
            while(tAt > 0 && tDistances[tAt - 1] > tDistance)
            {
                if(tAt < 3)
                {
                    rOthers[tAt] = rOthers[tAt - 1];
                    tDistances[tAt] = tDistances[tAt - 1];
                }
                tAt--;
            }
            if(tAt < 3)
            {
                rOthers[tAt] = rEnemy;
                tDistances[tAt] = tDistance;
                if(tCount < 3) tCount++;
            }
        }
        if(tLeft == 0)
        {
            for(int32_t i = 0; i < 3; i++) tAngles[i] = cLoneAngles[i];
        }
        else if(tLeft == 1)
        {
            float tA = AngleToCutter(rManager, rOthers[0], this);
            tAngles[0] = tA;
            tAngles[1] = tA + cSpread;
            tAngles[2] = tA - cSpread;
        }
        else if(tLeft == 2)
        {
            tAngles[0] = AngleToCutter(rManager, rOthers[0], this);
            tAngles[1] = AngleToCutter(rManager, rOthers[1], this);
            tAngles[2] = (tAngles[0] + tAngles[1]) / 2.0f;
        }
        else
        {
            for(int32_t i = 0; i < 3; i++) tAngles[i] = AngleToCutter(rManager, rOthers[i], this);
        }
    }
    delete nEnemies;

    for(int32_t i = 0; i < 3; i++)
    {
        NightmareCutterProjectile *nSmall = new NightmareCutterProjectile(false, tAngles[i]);
        nSmall->SetPosition(mHitbox.mOwnerX, mHitbox.mOwnerY);
        nSmall->SetSpeeds(cSmallSpeed, 0.0f);
        if(pStruck) nSmall->AddHitRecord(pStruck->GetID());
        PlayerWeapon::Register(NCUTTER_SMALL_KIND, nSmall);
    }
}

void NightmareCutterProjectile::Burst()
{
    for(int32_t i = 0; i < cShardCount; i++)
    {
        const float tAngle = (float)(rand() % 1001) / 1000.0f * cShardArc;
        StartDebris(mHitbox.mOwnerX, mHitbox.mBot, DEBRIS_DEPTH, cShardColour, cShardLifetime, cosf(tAngle) * cShardSpeed,
                    sinf(tAngle) * cShardSpeed);
    }
}

void NightmareCutterProjectile::Shatter(RootEntity *pStruck)
{
    if(mLarge) Split(pStruck);
    Burst();
    mDestruct = 1;
}

// The enemy that deflected a large cutter is left out of its split, as the one it hits is.
void NightmareCutterProjectile::RunBlockScript()
{
    Shatter(xEnemyStruck);
    AudioManager::PlaySoundIfBooted("BusterDeflect");
}

void NightmareCutterProjectile::RunImpactScript()
{
    Shatter(xEnemyStruck);
}

void NightmareCutterProjectile::Render()
{
    float tCX = (mHitbox.mLft + mHitbox.mRgt) / 2.0f;
    float tCY = (mHitbox.mTop + mHitbox.mBot) / 2.0f;
    float tRadius = (mHitbox.mBot - mHitbox.mTop) / 2.0f;
    glLineWidth(3.0f);
    glDisable(GL_TEXTURE_2D);
    glPushMatrix();
    glTranslatef(tCX, tCY, 0.0f);
    glRotatef(mAngle * 57.29578f, 0.0f, 0.0f, 1.0f);
    const float cColours[2][4] = {{0.901f, 0.8f, 0.384f, 1.0f}, {0.76f, 0.612f, 0.0f, 1.0f}};
    const float cScales[2] = {1.0f, 0.75f};
    for(int32_t tArc = 0; tArc < 2; tArc++)
    {
        glColor4fv(cColours[tArc]);
        glBegin(GL_LINE_STRIP);
        for(int32_t i = 0; i < 13; i++)
        {
            float tAngle = (float)(-90 + i * 15) * 0.017453f;
            glVertex2f(cosf(tAngle) * tRadius * cScales[tArc], sinf(tAngle) * tRadius);
        }
        glEnd();
    }
    glPopMatrix();
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    glEnable(GL_TEXTURE_2D);
    glLineWidth(1.0f);
}

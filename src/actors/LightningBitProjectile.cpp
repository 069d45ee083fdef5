#include "actors/WeaponProjectiles.h"

#include <GL/gl.h>
#include <cmath>
#include <cstdlib>

#include "actors/Enemy.h"
#include "core/Geometry.h"
#include "interface/AudioManager.h"
#include "world/LevelCollision.h"
#include "world/MapManager.h"
#include "world/Particle.h"

namespace
{
    const float cBitSize = 3.0f;
    const float cHopSpeed = -5.0f;
    const float cMaxCrawl = 3.0f;
    const float cGravity = 0.25f;
    const float cFallCap = 5.0f;
    const float cBounce = -0.75f;
    const int32_t cStrikeCountdown = 3;
    const int32_t cStrikeDamage = 2;
    // A column dropped onto the floor stops after this many units even over a bottomless pit.
    const int32_t cDropLimit = 4096;
    // Sparks thrown up from the foot of the column, fanned about straight up.
    const float cSparkDegrees[7] = {235.0f, 245.0f, 260.0f, 270.0f, 280.0f, 295.0f, 305.0f};
    const float cSparkSpeed = 10.0f;
    const int32_t cSparkLifetime = 45;
    const ColorRGBA cSparkColour = {0.55f, 0.55f, 0.55f, 1.0f};
    const float cFractions[9] = {-1.0f, -0.5f, -0.25f, -0.125f, 0.0f, 0.125f, 0.25f, 0.5f, 1.0f};

    bool IsFree(int32_t pX, int32_t pY)
    {
        MapManager *rMap = MapManager::Fetch();
        return !rMap || !rMap->IsClipped(pX, pY);
    }

    bool RowFree(float pY, float pX0, float pX1)
    {
        int32_t tY = TruncateCoordinate(pY);
        for(int32_t x = TruncateCoordinate(pX0); x <= TruncateCoordinate(pX1); x++)
        {
            if(!IsFree(x, tY)) return false;
        }
        return true;
    }

    bool ColumnFree(float pX, float pY0, float pY1)
    {
        int32_t tX = TruncateCoordinate(pX);
        for(int32_t y = TruncateCoordinate(pY0); y <= TruncateCoordinate(pY1); y++)
        {
            if(!IsFree(tX, y)) return false;
        }
        return true;
    }
}

LightningBitProjectile::LightningBitProjectile()
{
    SetTargetFlags(PROJECTILE_TARGET_ENEMIES);
    SetIsBuster(1);
    SetIgnoreClips(0);
    SetDamage(1);
    SetDimensions(0.0f, 0.0f, cBitSize, cBitSize);
    mTravelsLeft = 0;
    mFirstTick = 1;
    mAirborne = 1;
    mStriking = 0;
    mCountdown = cStrikeCountdown;
}

void LightningBitProjectile::RunLogic()
{
    if(mStriking)
    {
        mCountdown--;
        if(mCountdown == 1)
        {
            SetDamage(cStrikeDamage);
            SetWeaponFlagA(1);
            SetPiercing(1);
        }
        else if(mCountdown < 1)
        {
            mDestruct = 1;
        }
        UpdateHitbox();
        return;
    }
    Hop();
    UpdateHitbox();
}

void LightningBitProjectile::Hop()
{
    if(mFirstTick)
    {
        mFirstTick = 0;
        mTravelsLeft = mSpeedX <= 0.0f ? 1 : 0;
        if(mSpeedX > cMaxCrawl) mSpeedX = cMaxCrawl;
        if(mSpeedX < -cMaxCrawl) mSpeedX = -cMaxCrawl;
        mSpeedY = cHopSpeed;
    }

    // The box's right and bottom edges lie just outside it, as for the level collision, so the
    // cells beyond it start there.
    Hitbox &rBox = mHitbox;
    if(mSpeedY < 0.0f && !RowFree(rBox.mTop - 1.0f, rBox.mLft, rBox.mRgt - 1.0f)) mSpeedY = 0.0f;
    float tAhead = mSpeedX >= 0.0f ? rBox.mRgt : rBox.mLft - 1.0f;
    if(!ColumnFree(tAhead, rBox.mTop, rBox.mBot - 1.0f)) mSpeedX *= cBounce;
    if(!RowFree(rBox.mBot, rBox.mLft, rBox.mRgt - 1.0f))
    {
        mAirborne = 0;
        Strike(nullptr);
        return;
    }
    mSpeedY += cGravity;
    if(mSpeedY > cFallCap) mSpeedY = cFallCap;
    Move(mSpeedX, mSpeedY, 0.0f);
}

void LightningBitProjectile::Strike(RootEntity *pStruck)
{
    if(mStriking) return;
    SetDamage(cStrikeDamage);
    mStriking = 1;
    SetHitOnce(1);
    if(pStruck) AddHitRecord(pStruck->GetID());
    AudioManager::PlaySoundIfBooted("LightningStrike");
    SetDimensions(-5.0f, -397.0f, 5.0f, 3.0f);
    for(int32_t i = 0; i < cDropLimit && RowFree(mHitbox.mBot, mHitbox.mLft, mHitbox.mRgt - 1.0f); i++)
    {
        SetPosition(mHitbox.mOwnerX, mHitbox.mOwnerY + 1.0f);
    }
    for(float rDegrees : cSparkDegrees)
    {
        const float tAngle = rDegrees * 0.017453f;
        StartDebris(mHitbox.mOwnerX, mHitbox.mBot, DEBRIS_DEPTH, cSparkColour, cSparkLifetime, cosf(tAngle) * cSparkSpeed,
                    sinf(tAngle) * cSparkSpeed);
    }
}

// The column spares the enemy that deflected the bit, as it spares one the bit hit.
void LightningBitProjectile::RunBlockScript()
{
    Strike(xEnemyStruck);
}

// The enemy's damage check marks the bit for removal before this hook; the lightning it calls
// down lives on.
void LightningBitProjectile::RunImpactScript()
{
    Strike(xEnemyStruck);
    mDestruct = 0;
}

void LightningBitProjectile::Render()
{
    float tWidth = mHitbox.mRgt - mHitbox.mLft;
    float tHeight = mHitbox.mBot - mHitbox.mTop;
    float tDepth = mDepth == ROOTENTITY_NO_DEPTH ? 0.0f : mDepth;
    glLineWidth(3.0f);
    glDisable(GL_TEXTURE_2D);
    glTranslatef(mHitbox.mLft, mHitbox.mTop, tDepth);
    if(!mStriking)
    {
        glBegin(GL_LINE_LOOP);
        for(int32_t i = 0; i < 12; i++)
        {
            float tAngle = (float)(i * 30) * 0.017453f;
            glVertex2f(1.5f + cosf(tAngle) * 1.5f, 1.5f + sinf(tAngle) * 1.5f);
        }
        glEnd();
    }
    else
    {
        // A zig-zag that swings back across the middle after every step to one side.
        glColor4f(1.0f, 0.0f, 1.0f, 1.0f);
        glPushMatrix();
        glTranslatef(tWidth, 0.0f, 0.0f);
        glBegin(GL_LINE_STRIP);
        glVertex2f(1.5f, 0.0f);
        glVertex2f(0.0f, 0.0f);
        float tY = 0.0f;
        int32_t tIndex = 4;
        while(true)
        {
            tY += (float)(rand() % 70 + 30) / 10.0f;
            if(tY > tHeight) break;
            if(tIndex == 4) tIndex = rand() % 9;
            else if(tIndex > 4) tIndex = rand() % 4;
            else tIndex = 4 + rand() % 4;
            glVertex2f(tWidth * cFractions[tIndex], tY);
        }
        glVertex2f(1.5f, tHeight);
        glEnd();
        glPopMatrix();
    }
    glTranslatef(-mHitbox.mLft, -mHitbox.mTop, -tDepth);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    glEnable(GL_TEXTURE_2D);
    glLineWidth(1.0f);
}

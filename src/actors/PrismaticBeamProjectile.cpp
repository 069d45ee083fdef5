#include "actors/WeaponProjectiles.h"

#include <GL/gl.h>
#include <cmath>

#include "actors/Enemy.h"
#include "core/Geometry.h"
#include "core/OptionsManager.h"
#include "interface/AudioManager.h"
#include "world/Camera.h"
#include "world/CameraManager.h"
#include "world/EntityManager.h"

namespace
{
    const int32_t cBeamDamage = 3;
    const int32_t cSplitDamage = 2;
    const float cVisibleMargin = 65.0f;
    const float cDegree = 0.017453f;
    const uint8_t cColours[6][3] = {{102, 47, 138}, {29, 152, 212}, {98, 187, 77},
                                    {253, 246, 174}, {244, 112, 50}, {238, 65, 67}};

    // A script may set any speed: the step is truncated through the checked conversion, and
    // the distance, which only grows, rests at the coordinate limit instead of wrapping.
    int32_t Travelled(int32_t pDistance, int32_t pStep)
    {
        const int64_t tSum = (int64_t)pDistance + pStep;
        return tSum > GEOMETRY_COORDINATE_LIMIT ? GEOMETRY_COORDINATE_LIMIT : (int32_t)tSum;
    }
}

PrismaticBeamProjectile::PrismaticBeamProjectile()
{
    mType = TYPE_PRISMATICBEAMPROJECTILE;
    SetTargetFlags(PROJECTILE_TARGET_ENEMIES);
    SetIsBuster(1);
    SetIgnoreClips(1);
    SetBlockAutoOffscreenDestruction(1);
    SetDamage(cBeamDamage);
    SetDimensions(0.0f, -15.0f, 3.0f, 15.0f);
    mSplit = 0;
    mDistance = 0;
    mPhase = 0;
    mSavedSpeed = 0.0f;
    mPartnerID = -1;
    mSplitAngle = 0.0f;
    mStartDelay = 0;
}

void PrismaticBeamProjectile::SetPartner(PrismaticBeamProjectile *pPartner)
{
    mPartnerID = pPartner ? pPartner->GetID() : -1;
}

// The partner may have been destroyed in the meantime: only a live beam answers.
PrismaticBeamProjectile *PrismaticBeamProjectile::FindPartner()
{
    EntityManager *rManager = EntityManager::Fetch();
    if(!rManager || mPartnerID < 0) return nullptr;
    RootEntity *rEntity = rManager->FindByID(mPartnerID);
    if(!rEntity || rEntity == this || rEntity->GetType() != TYPE_PRISMATICBEAMPROJECTILE || rEntity->GetDestruct()) return nullptr;
    return static_cast<PrismaticBeamProjectile *>(rEntity);
}

void PrismaticBeamProjectile::ApplySplitSpeeds()
{
    mSpeedX = cosf(mSplitAngle - 3.1415926f) * mSavedSpeed;
    mSpeedY = sinf(mSplitAngle - 3.1415926f) * mSavedSpeed;
}

void PrismaticBeamProjectile::RunLogic()
{
    if(mStartDelay >= 1)
    {
        mSpeedX = mSpeedY = 0.0f;
        mStartDelay--;
        UpdateHitbox();
        return;
    }
    if(mSplit)
    {
        ApplySplitSpeeds();
        mDistance = Travelled(mDistance, TruncateCoordinate(fabsf(mSavedSpeed)));
    }
    else
    {
        int32_t tStep = TruncateCoordinate(fabsf(mSpeedX));
        mPhase += mSpeedX >= 0.0f ? tStep : -tStep;
        while(mPhase >= 361) mPhase -= 360;
        while(mPhase < 0) mPhase += 360;
        mDistance = Travelled(mDistance, tStep);
        float tTop = -(sinf((float)(mPhase + 65) * cDegree * 3.0f) * 12.0f + 3.4f);
        SetDimensions(mOffsetLft, tTop, mOffsetRgt, tTop + 6.8f);
    }
    UpdateHitbox();

    Camera *rCamera = CameraManager::ActiveCamera();
    if(rCamera && !rCamera->IsIntRectVisible(mHitbox.mLft - cVisibleMargin, mHitbox.mOwnerY - cVisibleMargin,
                                             mHitbox.mRgt + cVisibleMargin, mHitbox.mOwnerY + cVisibleMargin))
    {
        mDestruct = 1;
    }
}

void PrismaticBeamProjectile::SplitBeam(RootEntity *pStruck, bool pPassOn)
{
    if(mSplit) return;
    mSplit = 1;
    if(pPassOn)
    {
        PrismaticBeamProjectile *rPartner = FindPartner();
        if(rPartner)
        {
            rPartner->SplitBeam(pStruck, false);
            rPartner->SetPosition(mHitbox.mOwnerX, mHitbox.mOwnerY);
            if(pStruck) rPartner->AddHitRecord(pStruck->GetID());
            if(rPartner->GetID() > GetID()) rPartner->mStartDelay = 2;
        }
    }
    mSplitAngle = mPhase < 180 ? PRISMATIC_SPLIT_ANGLE : -PRISMATIC_SPLIT_ANGLE;
    mSavedSpeed = mSpeedX;
    ApplySplitSpeeds();
    SetDimensions(-5.0f, -5.0f, 5.0f, 5.0f);
    mDistance = 0;
    SetDamage(cSplitDamage);
    if(pStruck) AddHitRecord(pStruck->GetID());
}

void PrismaticBeamProjectile::RunBlockScript()
{
    SplitBeam(xEnemyStruck, true);
    AudioManager::PlaySoundIfBooted("BusterDeflect");
}

// The enemy's damage check marks the beam for removal before this hook; a beam that splits
// on the hit lives on.
void PrismaticBeamProjectile::RunImpactScript()
{
    SplitBeam(xEnemyStruck, true);
    mDestruct = 0;
}

void PrismaticBeamProjectile::Render()
{
    float tDepth = (mDepth == ROOTENTITY_NO_DEPTH) ? -0.52f : mDepth;
    glLineWidth(3.0f);
    glDisable(GL_TEXTURE_2D);
    glPushMatrix();
    glTranslatef(mHitbox.mLft, mHitbox.mTop, tDepth);
    if(!mSplit)
    {
        float tTail = (float)mDistance / 4.0f;
        for(int32_t i = 0; i < 6; i++)
        {
            glBegin(GL_LINE_STRIP);
            for(int32_t t = 0; t <= mDistance; t++)
            {
                float tW = (float)(mPhase + t) * cDegree * 3.0f;
                float tShade = 0.75f + 0.25f * cosf(tW);
                int32_t tWrap = ((mPhase + t) * 3) % 360;
                float tZ = (tWrap < 90 || tWrap > 269) ? 0.01f : 0.0f;
                // t counts back from the head; the last quarter fades in from the tail.
                float tFromTail = (float)(mDistance - t);
                float tAlpha = (tTail > 0.0f && tFromTail < tTail) ? tFromTail / tTail : 1.0f;
                float tX = mSpeedX >= 0.0f ? -(float)t : (float)t;
                glColor4f(cColours[i][0] / 255.0f * tShade, cColours[i][1] / 255.0f * tShade,
                          cColours[i][2] / 255.0f * tShade, tAlpha);
                glVertex3f(tX, (float)i * 1.7f + 12.0f * sinf(tW), tZ);
            }
            glEnd();
        }
    }
    else
    {
        float tHalfW = (mHitbox.mRgt - mHitbox.mLft) / 2.0f;
        float tHalfH = (mHitbox.mBot - mHitbox.mTop) / 2.0f;
        glTranslatef(tHalfW, tHalfH, 0.0f);
        glRotatef(mSplitAngle * 57.29578f, 0.0f, 0.0f, 1.0f);
        glTranslatef(-tHalfW, -tHalfH, 0.0f);
        glBegin(GL_LINES);
        for(int32_t i = 0; i < 6; i++)
        {
            glColor4ub(cColours[i][0], cColours[i][1], cColours[i][2], 255);
            glVertex2f(0.0f, (float)i * 0.8f);
            glVertex2f((float)mDistance, (float)i * 0.8f);
        }
        glEnd();
    }
    glPopMatrix();
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    glEnable(GL_TEXTURE_2D);
    glLineWidth(1.0f);
    glTranslatef(mHitbox.mLft, mHitbox.mTop, 0.0f);
    RenderHitboxOutline(mHitbox);
    glTranslatef(-mHitbox.mLft, -mHitbox.mTop, 0.0f);
}

#include "actors/WeaponProjectiles.h"

#include <GL/gl.h>

#include "actors/PlayerPony.h"
#include "core/DataList.h"
#include "core/Utilities.h"
#include "core/render/CorvelAnimation.h"

namespace
{
    const int32_t cShieldEndurance = 7;
    const float cPaneWidth = 15.0f;
    const float cPaneHeight = 55.0f;
    const char *const cShieldAnimation = "Root/Animations/Projectiles/All/PermafrostShield";

    // The pane of ice reaches 4 units past the box on every side.
    Bitmap *ShieldFrame(RootProjectile *pShield, int32_t &sX, int32_t &sY)
    {
        sX = -4;
        sY = -4;
        CorvelAnimation *rAnimation = LookUpAnimation(cShieldAnimation);
        return rAnimation ? rAnimation->GetFrameAtTick(pShield->GetTicksAlive()) : nullptr;
    }

    void NegateNumber(DataList *pData, const char *pName)
    {
        float *rValue = FindDataNumber(pData, pName);
        if(rValue) *rValue = -*rValue;
    }
}

PermafrostShieldProjectile::PermafrostShieldProjectile()
{
    SetTargetFlags(PROJECTILE_TARGET_ENEMIES);
    SetIsBuster(1);
    SetIgnoreClips(0);
    SetWeaponFlagA(1);
    SetDamage(1);
    SetDimensions(0.0f, 0.0f, cPaneWidth, cPaneHeight);
    SetNativeFrameCallback(ShieldFrame);
}

InertWeaponProjectile::InertWeaponProjectile()
{
    SetWeaponFlagA(1);
    SetDimensions(0.0f, 0.0f, cPaneWidth, cPaneHeight);
}

void PermafrostShieldProjectile::RunLogic()
{
    PlayerPony *rPlayer = PlayerPony::Get();
    if(rPlayer)
    {
        Hitbox *rBox = rPlayer->GetHitboxPtr();
        SetPosition(rPlayer->IsFacingLeft() ? rBox->mLft - 25.0f : rBox->mRgt + 10.0f, rBox->mTop);
    }
    if(GetDamageCounter() >= cShieldEndurance) mDestruct = 1;
}

// A shot aimed at her that touches the shield turns round and hurts enemies instead.
void PermafrostShieldProjectile::InterceptProjectile(RootProjectile *pOther)
{
    if(!pOther || pOther->IsImmuneToInterception()) return;
    uint8_t tFlags = pOther->GetTargetFlags();
    if(!(tFlags & PROJECTILE_TARGET_PLAYER)) return;
    pOther->SetTargetFlags((uint8_t)((tFlags | PROJECTILE_TARGET_ENEMIES) - 1));
    float tX, tY, tZ;
    pOther->GetSpeeds(tX, tY, tZ);
    pOther->SetSpeeds(-tX, -tY);
    DataList *rData = pOther->GetData();
    if(!rData) return;
    NegateNumber(rData, "fXSpeed");
    NegateNumber(rData, "fYSpeed");
    float *rFacing = FindDataNumber(rData, "iFacing");
    if(rFacing) *rFacing = (*rFacing == 0.0f) ? 1.0f : 0.0f;
}

// The game's picture of the shield when it is loaded; without it, a dark blue outline.
void PermafrostShieldProjectile::Render()
{
    if(LookUpAnimation(cShieldAnimation))
    {
        RootProjectile::Render();
        return;
    }
    glLineWidth(3.0f);
    glDisable(GL_TEXTURE_2D);
    glColor4f(0.0f, 0.0f, 0.7f, 1.0f);
    glBegin(GL_LINE_LOOP);
    glVertex2f(mHitbox.mLft, mHitbox.mTop);
    glVertex2f(mHitbox.mRgt, mHitbox.mTop);
    glVertex2f(mHitbox.mRgt, mHitbox.mBot);
    glVertex2f(mHitbox.mLft, mHitbox.mBot);
    glEnd();
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    glEnable(GL_TEXTURE_2D);
    glLineWidth(1.0f);
}

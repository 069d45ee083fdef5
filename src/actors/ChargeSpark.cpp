#include "actors/ChargeSpark.h"

#include <cstdio>
#include <cstdlib>

#include "actors/PlayerPony.h"
#include "core/render/Bitmap.h"
#include "core/render/CorvelAnimation.h"
#include "world/RootProjectile.h"

namespace
{
    const int32_t cSparkVariants = 6;
    const int32_t cTicksPerSparkFrame = 3;
    const int32_t cBigSparkOffsetX = 6;
    const int32_t cBigSparkOffsetY = 3;
    const int32_t cWallSlideSparkShift = 12;
}

void ResetChargeSparks(ChargeSpark *pSparks, int32_t pCount)
{
    if(!pSparks) return;
    for(int32_t i = 0; i < pCount; i++)
    {
        pSparks[i].mAge = -1;
        pSparks[i].rAnimation = nullptr;
        pSparks[i].mBig = 0;
    }
}

void BuildChargeSparkPath(char *sBuffer, size_t pSize, bool pBig, int32_t pVariant)
{
    if(!sBuffer || pSize < 1) return;
    if(pVariant < 0 || pVariant >= cSparkVariants) pVariant = 0;
    snprintf(sBuffer, pSize, "Root/Animations/Kestra/BusterCharge/%s%c", pBig ? "Simmer" : "Charge", 'A' + pVariant);
}

void TickChargeSparks(ChargeSpark *pSparks, int32_t pCount, int32_t &sClock, int32_t pCharge)
{
    if(!pSparks) return;
    if(pCharge < CHARGE_SPARK_START)
    {
        ResetChargeSparks(pSparks, pCount);
        sClock = 0;
        return;
    }

    for(int32_t i = 0; i < pCount; i++)
    {
        if(pSparks[i].mAge < 0) continue;
        pSparks[i].mAge++;
        if(pSparks[i].mAge >= CHARGE_SPARK_LIFETIME)
        {
            pSparks[i].mAge = -1;
            pSparks[i].rAnimation = nullptr;
            pSparks[i].mBig = 0;
        }
    }

    sClock++;
    if(sClock % CHARGE_SPARK_INTERVAL != 0) return;
    for(int32_t i = 0; i < pCount; i++)
    {
        if(pSparks[i].mAge >= 0) continue;
        const bool tBig = pCharge > CHARGE_SPARK_BIG_ABOVE;
        char tPath[64];
        BuildChargeSparkPath(tPath, sizeof(tPath), tBig, rand() % cSparkVariants);
        pSparks[i].mAge = 0;
        pSparks[i].rAnimation = LookUpAnimation(tPath);
        pSparks[i].mBig = tBig ? 1 : 0;
        return;
    }
}

// --- The player's side ----------------------------------------------------------------------

void PlayerPony::UpdateChargeSparks()
{
    TickChargeSparks(mSparks, CHARGE_SPARK_COUNT, mSparkClock, mCharge);
    for(int32_t i = 0; i < CHARGE_SPARK_COUNT; i++) mLibraryHolder.Hold(mSparks[i].rAnimation);
}

int32_t PlayerPony::CountLiveSparks() const
{
    int32_t tCount = 0;
    for(int32_t i = 0; i < CHARGE_SPARK_COUNT; i++)
    {
        if(mSparks[i].mAge >= 0) tCount++;
    }
    return tCount;
}

int32_t ChargeSparkDrawX(int32_t pBoxW, int32_t pAnchorX, int32_t pFrameWidth, bool pFlipped, bool pWallSliding,
                         bool pBig, bool pFacingLeft)
{
    int32_t tX = pFlipped ? pBoxW - pAnchorX - pFrameWidth : pAnchorX;
    if(pWallSliding && !pFlipped) tX -= cWallSlideSparkShift;
    if(pBig) tX += pFacingLeft ? -cBigSparkOffsetX : cBigSparkOffsetX;
    return tX;
}

// Drawn in the body's space (translated to the box's top-left), mirrored with the body.
void PlayerPony::RenderChargeSparks(bool pFlipped)
{
    for(int32_t i = 0; i < CHARGE_SPARK_COUNT; i++)
    {
        const ChargeSpark &rSpark = mSparks[i];
        if(rSpark.mAge < 0 || !rSpark.rAnimation) continue;
        Bitmap *rFrame = rSpark.rAnimation->GetFrame(rSpark.mAge / cTicksPerSparkFrame);
        if(!rFrame) continue;
        const int32_t tSparkX = ChargeSparkDrawX((int32_t)mBoxW, mSparkAnchorX, rFrame->GetTextureWidth(), pFlipped,
                                                 mWallSliding != 0, rSpark.mBig != 0, mFacingLeft != 0);
        const int32_t tSparkY = rSpark.mBig ? mSparkAnchorY + cBigSparkOffsetY : mSparkAnchorY;
        rFrame->Draw(tSparkX, tSparkY, pFlipped ? 1 : 0);
    }
}

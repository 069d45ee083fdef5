#include "core/render/Palette.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "core/NamedLinkedList.h"
#include "core/Utilities.h"
#include "core/render/DisplayManager.h"
#include "core/render/GLEntryPoints.h"

#define PALETTE_SWAP_PROGRAM "XPaletteSwap"

Palette::Palette()
    : mColourCount(0), mBaseColours(nullptr), mCurrentVariantName(nullptr), rCurrentVariantColours(nullptr),
      mVariants(new NamedLinkedList(1))
{
}

Palette::~Palette()
{
    free(mBaseColours);
    free(mCurrentVariantName);
    delete mVariants;
}

void Palette::Clear()
{
    mColourCount = 0;
    free(mBaseColours);
    mBaseColours = nullptr;
    free(mCurrentVariantName);
    mCurrentVariantName = nullptr;
    rCurrentVariantColours = nullptr;
    mVariants->Clear();
}

void Palette::SetColourCount(int32_t pCount)
{
    Clear();
    if (pCount < 1) return;
    mBaseColours = (ColorRGBA *)calloc((size_t)pCount, sizeof(ColorRGBA));
    if (!mBaseColours) return;
    mColourCount = pCount;
}

void Palette::SetBaseColour(int32_t pIndex, ColorRGBA pColour)
{
    if (pIndex < 0 || pIndex >= mColourCount) return;
    mBaseColours[pIndex] = pColour;
}

void Palette::AddVariant(const char *pName)
{
    if (!pName || mColourCount < 1) return;
    ColorRGBA *tColours = (ColorRGBA *)calloc((size_t)mColourCount, sizeof(ColorRGBA));
    if (!tColours) return;
    mVariants->AddElementWithDeleter(pName, tColours, DeleteWithFree);
    ResetString(&mCurrentVariantName, pName);
    rCurrentVariantColours = tColours;
}

void Palette::SetVariantColour(const char *pName, int32_t pIndex, ColorRGBA pColour)
{
    if (!pName || pIndex < 0 || pIndex >= mColourCount) return;
    if (!mCurrentVariantName || strcmp(pName, mCurrentVariantName) != 0)
    {
        ColorRGBA *rFound = (ColorRGBA *)mVariants->GetElementByName(pName);
        if (!rFound) return;
        ResetString(&mCurrentVariantName, pName);
        rCurrentVariantColours = rFound;
    }
    if (rCurrentVariantColours) rCurrentVariantColours[pIndex] = pColour;
}

const ColorRGBA *Palette::GetVariantColours(const char *pName)
{
    if (!pName) return nullptr;
    return (const ColorRGBA *)mVariants->GetElementByName(pName);
}

int32_t Palette::GetVariantCount() const
{
    return mVariants->GetCount();
}

void Palette::ApplySwap(const char *pVariantName)
{
    const ColorRGBA *rVariant = GetVariantColours(pVariantName);
    if (!rVariant) return;
    DisplayManager *rDisplay = DisplayManager::Fetch();
    if (!rDisplay) return;
    rDisplay->UseProgram(PALETTE_SWAP_PROGRAM);
    uint32_t tProgram = rDisplay->GetCurrentProgram();
    if (!tProgram || !xglGetUniformLocation || !xglUniform1i || !xglUniform4f) return;

    xglUniform1i(xglGetUniformLocation(tProgram, "uTotalColors"), mColourCount);
    int32_t tPairs = mColourCount < PALETTE_MAX_SWAP_COLOURS ? mColourCount : PALETTE_MAX_SWAP_COLOURS;
    char tName[32];
    for (int32_t i = 0; i < tPairs; i++)
    {
        const ColorRGBA &rSrc = mBaseColours[i];
        const ColorRGBA &rDst = rVariant[i];
        snprintf(tName, sizeof(tName), "uSrcColor[%i]", i);
        xglUniform4f(xglGetUniformLocation(tProgram, tName), rSrc.r, rSrc.g, rSrc.b, 1.0f);
        snprintf(tName, sizeof(tName), "uDstColor[%i]", i);
        xglUniform4f(xglGetUniformLocation(tProgram, tName), rDst.r, rDst.g, rDst.b, 1.0f);
    }
}

void EndPaletteSwap()
{
    DisplayManager *rDisplay = DisplayManager::Fetch();
    if (rDisplay)
        rDisplay->UseProgram(nullptr);
    else if (xglUseProgram)
        xglUseProgram(0);
}

void DeletePalette(void *pPalette)
{
    delete (Palette *)pPalette;
}

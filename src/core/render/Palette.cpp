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

namespace
{
    // The display manager's current program when the uniform entry points are there, else 0.
    uint32_t SwapProgram()
    {
        DisplayManager *rDisplay = DisplayManager::Get();
        if (!rDisplay || !xglGetUniformLocation || !xglUniform1i || !xglUniform4f) return 0;
        return rDisplay->GetCurrentProgram();
    }

    void LoadSwapPair(uint32_t pProgram, int32_t pIndex, const ColorRGBA &pSource, const ColorRGBA &pDestination)
    {
        char tName[32];
        snprintf(tName, sizeof(tName), "uSrcColor[%i]", pIndex);
        xglUniform4f(xglGetUniformLocation(pProgram, tName), pSource.r, pSource.g, pSource.b, 1.0f);
        snprintf(tName, sizeof(tName), "uDstColor[%i]", pIndex);
        xglUniform4f(xglGetUniformLocation(pProgram, tName), pDestination.r, pDestination.g, pDestination.b, 1.0f);
    }
}

void Palette::ApplySwap(const char *pVariantName)
{
    const ColorRGBA *rVariant = GetVariantColours(pVariantName);
    if (!rVariant) return;
    DisplayManager *rDisplay = DisplayManager::Get();
    if (!rDisplay) return;
    rDisplay->UseProgram(PALETTE_SWAP_PROGRAM);
    uint32_t tProgram = SwapProgram();
    if (!tProgram) return;

    xglUniform1i(xglGetUniformLocation(tProgram, "uTotalColors"), mColourCount);
    int32_t tPairs = mColourCount < PALETTE_MAX_SWAP_COLOURS ? mColourCount : PALETTE_MAX_SWAP_COLOURS;
    for (int32_t i = 0; i < tPairs; i++) LoadSwapPair(tProgram, i, mBaseColours[i], rVariant[i]);
}

void SetSmallSwapColourCount(int32_t pCount)
{
    uint32_t tProgram = SwapProgram();
    if (!tProgram) return;
    int32_t tCount = pCount < PALETTE_SMALL_SWAP_COLOURS ? pCount : PALETTE_SMALL_SWAP_COLOURS;
    xglUniform1i(xglGetUniformLocation(tProgram, "uTotalColors"), tCount);
}

void SetSmallSwapColourPair(int32_t pIndex, ColorRGBA pSource, ColorRGBA pDestination)
{
    if (pIndex < 0 || pIndex >= PALETTE_SMALL_SWAP_COLOURS) return;
    uint32_t tProgram = SwapProgram();
    if (tProgram) LoadSwapPair(tProgram, pIndex, pSource, pDestination);
}

void EndPaletteSwap()
{
    DisplayManager *rDisplay = DisplayManager::Get();
    if (rDisplay)
        rDisplay->UseProgram(nullptr);
    else if (xglUseProgram)
        xglUseProgram(0);
}

void DeletePalette(void *pPalette)
{
    delete (Palette *)pPalette;
}

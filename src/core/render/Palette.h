#pragma once

#include <cstdint>

#include "core/render/Drawing.h"

class NamedLinkedList;

// Most colour pairs the swap shader has room for; a larger palette still reports its full
// count to the shader, which clamps.
#define PALETTE_MAX_SWAP_COLOURS 128
// The smaller uniform builders below serve swap programs that hold only 32 pairs.
#define PALETTE_SMALL_SWAP_COLOURS 32

// A list of base colours and any number of named variants, each a replacement for every base
// colour. Drawing between ApplySwap and EndPaletteSwap goes through the palette-swap program,
// which replaces each base colour of a texel by the variant's colour.
class Palette
{
public:
    Palette();
    ~Palette();

    // Clears the palette; a positive count makes room for that many base colours (black
    // until set).
    void SetColourCount(int32_t pCount);
    void SetBaseColour(int32_t pIndex, ColorRGBA pColour);

    // Appends a variant (black until set) under the name, which becomes the current one.
    // Names may repeat; lookups find the first.
    void AddVariant(const char *pName);
    // The current variant is used as it is; another name is looked up first (and becomes
    // current when found). An unknown name or index sets nothing.
    void SetVariantColour(const char *pName, int32_t pIndex, ColorRGBA pColour);
    void Clear();

    // Makes the palette-swap program current and loads the base/variant pairs into it.
    // Nothing happens for a null or unknown variant name.
    void ApplySwap(const char *pVariantName);

    int32_t GetColourCount() const { return mColourCount; }
    const ColorRGBA *GetBaseColours() const { return mBaseColours; }
    const char *GetCurrentVariantName() const { return mCurrentVariantName; }
    const ColorRGBA *GetCurrentVariantColours() const { return rCurrentVariantColours; }
    // The first variant of that name, or null.
    const ColorRGBA *GetVariantColours(const char *pName);
    int32_t GetVariantCount() const;

private:
    int32_t mColourCount;
    ColorRGBA *mBaseColours;
    char *mCurrentVariantName;
    ColorRGBA *rCurrentVariantColours;
    NamedLinkedList *mVariants;

    Palette(const Palette &) = delete;
    Palette &operator=(const Palette &) = delete;
};

// Uniform builders for a program of at most 32 colour pairs, acting on the display manager's
// current program (nothing when there is none). The first sets "uTotalColors" to the count,
// capped at 32; the second sets pair i (0..31, others ignored) with alpha 1.0.
void SetSmallSwapColourCount(int32_t pCount);
void SetSmallSwapColourPair(int32_t pIndex, ColorRGBA pSource, ColorRGBA pDestination);

// Ends a swap: the fixed pipeline draws again.
void EndPaletteSwap();

// Deleter for lists and library entries that own a Palette; null is ignored.
void DeletePalette(void *pPalette);

#pragma once

#include <cstdint>

// Where a picture drawn with the alpha test (alpha > 0) can change the framebuffer. Its fully
// transparent texels are discarded anyway, so a drawing routine may leave their parts out and
// draw the rest of the same quad through scissor boxes: the geometry does not change, so every
// pixel still drawn samples exactly the texel it sampled before, and the picture stays the same
// while the rasteriser skips the empty parts.
//
// The picture is cut into square cells. A cell with no visible texel is skipped, but the band
// of one texel on either side of every cell border is drawn whenever a cell touching it has a
// visible texel: a pixel whose sample point (and the two by two footprint of linear filtering)
// can reach a visible texel is drawn whichever way rounding puts it near a border.

// A box of window pixels as glScissor takes it: y counts up from the bottom of the window.
struct CoverageBox
{
    int32_t mX;
    int32_t mY;
    int32_t mW;
    int32_t mH;
};

// Texel coordinates to window coordinates: x = scale x * s + offset x, y = scale y * t + offset y,
// where s counts texel columns and t the rows in the order the picture's data holds them.
struct CoverageMapping
{
    double mScaleX;
    double mOffsetX;
    double mScaleY;
    double mOffsetY;
};

// Runs of bands [first, end) on both axes that are drawn.
struct CoverageBandRect
{
    int32_t mFirstColumn;
    int32_t mFirstRow;
    int32_t mEndColumn;
    int32_t mEndRow;
};

typedef void (*CoverageBoxFunc)(const CoverageBox &pBox, void *pContext);

class AlphaCoverage
{
public:
    // From tightly packed RGBA bytes, the first row first; null for a null buffer or a size
    // below one texel.
    static AlphaCoverage *FromRGBA(const uint8_t *pData, int32_t pWidth, int32_t pHeight);
    // A picture whose texels cannot be read: all of it is drawn.
    static AlphaCoverage *Whole(int32_t pWidth, int32_t pHeight);
    ~AlphaCoverage();

    // No texel of the picture is visible: nothing needs drawing.
    bool IsEmpty() const { return mRectCount == 0; }
    int32_t GetRectCount() const { return mRectCount; }

    // Calls the function once for every box of window pixels to draw under the mapping, clipped
    // to the clip box; the boxes never overlap, so no pixel is blended twice.
    void ForEachBox(const CoverageMapping &pMapping, const CoverageBox &pClip, CoverageBoxFunc pFunc,
                    void *pContext) const;

private:
    AlphaCoverage();
    bool BuildBands(int32_t pWidth, int32_t pHeight);
    bool CollectRects(const uint8_t *pVisibleCells);

    int32_t mColumnCells;
    int32_t mRowCells;
    // Texel coordinates of the band edges on each axis: band k runs from edge k to edge k + 1.
    int32_t mColumnEdgeCount;
    int32_t *mColumnEdges;
    int32_t mRowEdgeCount;
    int32_t *mRowEdges;
    int32_t mRectCount;
    CoverageBandRect *mRects;

    AlphaCoverage(const AlphaCoverage &) = delete;
    AlphaCoverage &operator=(const AlphaCoverage &) = delete;
};

// The window pixels whose centres lie in texels [first, end) of one axis under
// window = scale * texel + offset, within [clip start, clip start + length); false when none.
bool MapTexelSpan(double pScale, double pOffset, double pFirst, double pEnd, int32_t pClipStart, int32_t pClipLength,
                  int32_t &sStart, int32_t &sEnd);

// Rows [first, end) of tightly packed RGBA bytes, the first row first, between the first and
// the last that hold a texel with alpha above 0; first == end when none does.
void FindVisibleRows(const uint8_t *pData, int32_t pWidth, int32_t pHeight, int32_t &sFirst, int32_t &sEnd);

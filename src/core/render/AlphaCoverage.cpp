#include "core/render/AlphaCoverage.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

namespace
{
    // Cells are at least this many texels across, and a picture has at most so many cells a
    // side: small enough to skip the empty sky between tiles, large enough that a chunk costs
    // a handful of boxes.
    const int32_t cMinCellSize = 16;
    const int32_t cMaxCellsPerSide = 32;
    // Past this many boxes a picture is drawn through the one box around all of them: each box
    // is a draw call, and a scattered picture would cost more in calls than it saves in pixels.
    const int32_t cMaxRects = 64;
    // Beyond the clip box an edge's place no longer matters; clamping keeps it an int.
    const double cEdgeSlack = 2.0;

    int32_t CellSize(int32_t pLength)
    {
        int32_t tSize = (pLength + cMaxCellsPerSide - 1) / cMaxCellsPerSide;
        return tSize < cMinCellSize ? cMinCellSize : tSize;
    }

    // Band edges of one axis: one texel either side of every cell border, the picture's own
    // edges included. Outside the picture there is nothing to rasterise, but a pixel on the
    // seam with a neighbouring picture belongs to whichever quad the rasteriser gives it, so the
    // box must not cut it off. The last cell takes the remainder, so every band has a width.
    int32_t *NewBandEdges(int32_t pLength, int32_t pCellSize, int32_t pCells, int32_t &sCount)
    {
        sCount = 2 * pCells;
        int32_t *nEdges = (int32_t *)malloc(sizeof(int32_t) * (size_t)sCount);
        if(!nEdges) return nullptr;
        nEdges[0] = -1;
        for(int32_t i = 1; i < pCells; i++)
        {
            nEdges[2 * i - 1] = i * pCellSize - 1;
            nEdges[2 * i] = i * pCellSize + 1;
        }
        nEdges[sCount - 1] = pLength + 1;
        return nEdges;
    }

    // The window pixels whose centres lie at or past a window coordinate start at this index.
    int32_t PixelEdge(double pWindow, double pLow, double pHigh)
    {
        // Written so that a mapping gone to NaN lands on the low edge rather than in the cast.
        if(!(pWindow >= pLow)) pWindow = pLow;
        if(pWindow > pHigh) pWindow = pHigh;
        return (int32_t)ceil(pWindow - 0.5);
    }

    void MapEdges(const int32_t *pEdges, int32_t pCount, double pScale, double pOffset, int32_t pClipStart,
                  int32_t pClipLength, int32_t *pPixels)
    {
        const double tLow = (double)pClipStart - cEdgeSlack;
        const double tHigh = (double)pClipStart + (double)pClipLength + cEdgeSlack;
        for(int32_t i = 0; i < pCount; i++) pPixels[i] = PixelEdge(pScale * pEdges[i] + pOffset, tLow, tHigh);
    }

    // Pixels [sStart, sEnd) between two mapped edges, clipped; false when none are left.
    bool ClipSpan(int32_t pA, int32_t pB, int32_t pClipStart, int32_t pClipLength, int32_t &sStart, int32_t &sEnd)
    {
        sStart = pA < pB ? pA : pB;
        sEnd = pA < pB ? pB : pA;
        if(sStart < pClipStart) sStart = pClipStart;
        if(sEnd > pClipStart + pClipLength) sEnd = pClipStart + pClipLength;
        return sStart < sEnd;
    }
}

AlphaCoverage::AlphaCoverage()
    : mColumnCells(0), mRowCells(0), mColumnEdgeCount(0), mColumnEdges(nullptr), mRowEdgeCount(0),
      mRowEdges(nullptr), mRectCount(0), mRects(nullptr)
{
}

AlphaCoverage::~AlphaCoverage()
{
    free(mColumnEdges);
    free(mRowEdges);
    free(mRects);
}

bool AlphaCoverage::BuildBands(int32_t pWidth, int32_t pHeight)
{
    const int32_t tCellW = CellSize(pWidth);
    const int32_t tCellH = CellSize(pHeight);
    mColumnCells = pWidth / tCellW < 1 ? 1 : pWidth / tCellW;
    mRowCells = pHeight / tCellH < 1 ? 1 : pHeight / tCellH;
    mColumnEdges = NewBandEdges(pWidth, tCellW, mColumnCells, mColumnEdgeCount);
    mRowEdges = NewBandEdges(pHeight, tCellH, mRowCells, mRowEdgeCount);
    return mColumnEdges && mRowEdges;
}

AlphaCoverage *AlphaCoverage::Whole(int32_t pWidth, int32_t pHeight)
{
    if(pWidth < 1 || pHeight < 1) return nullptr;
    AlphaCoverage *nCoverage = new AlphaCoverage();
    uint8_t tVisible = 1;
    nCoverage->mColumnCells = 1;
    nCoverage->mRowCells = 1;
    nCoverage->mColumnEdges = NewBandEdges(pWidth, pWidth, 1, nCoverage->mColumnEdgeCount);
    nCoverage->mRowEdges = NewBandEdges(pHeight, pHeight, 1, nCoverage->mRowEdgeCount);
    if(!nCoverage->mColumnEdges || !nCoverage->mRowEdges || !nCoverage->CollectRects(&tVisible))
    {
        delete nCoverage;
        return nullptr;
    }
    return nCoverage;
}

AlphaCoverage *AlphaCoverage::FromRGBA(const uint8_t *pData, int32_t pWidth, int32_t pHeight)
{
    if(!pData || pWidth < 1 || pHeight < 1) return nullptr;
    AlphaCoverage *nCoverage = new AlphaCoverage();
    if(!nCoverage->BuildBands(pWidth, pHeight))
    {
        delete nCoverage;
        return nullptr;
    }
    const int32_t tCellW = CellSize(pWidth);
    const int32_t tCellH = CellSize(pHeight);
    const int32_t tColumns = nCoverage->mColumnCells;
    const int32_t tRows = nCoverage->mRowCells;
    uint8_t *tVisible = (uint8_t *)calloc((size_t)tColumns * tRows, 1);
    if(!tVisible)
    {
        delete nCoverage;
        return nullptr;
    }
    for(int32_t t = 0; t < pHeight; t++)
    {
        const int32_t tRow = t / tCellH < tRows ? t / tCellH : tRows - 1;
        const uint8_t *rAlpha = pData + (size_t)t * pWidth * 4 + 3;
        for(int32_t s = 0; s < pWidth; s++)
        {
            if(rAlpha[(size_t)s * 4] == 0) continue;
            const int32_t tColumn = s / tCellW < tColumns ? s / tCellW : tColumns - 1;
            tVisible[(size_t)tRow * tColumns + tColumn] = 1;
        }
    }
    bool tBuilt = nCoverage->CollectRects(tVisible);
    free(tVisible);
    if(!tBuilt)
    {
        delete nCoverage;
        return nullptr;
    }
    return nCoverage;
}

// Band k touches cell k / 2 and, when k is odd (a border band), cell k / 2 + 1 as well.
bool AlphaCoverage::CollectRects(const uint8_t *pVisibleCells)
{
    const int32_t tBandColumns = mColumnEdgeCount - 1;
    const int32_t tBandRows = mRowEdgeCount - 1;
    int32_t tCapacity = 16;
    CoverageBandRect *nRects = (CoverageBandRect *)malloc(sizeof(CoverageBandRect) * (size_t)tCapacity);
    if(!nRects) return false;
    int32_t tCount = 0;
    for(int32_t by = 0; by < tBandRows; by++)
    {
        const int32_t tCellTop = by / 2;
        const int32_t tCellBottom = (by + 1) / 2;
        int32_t bx = 0;
        while(bx < tBandColumns)
        {
            int32_t tRunEnd = bx;
            while(tRunEnd < tBandColumns)
            {
                const int32_t tCellLeft = tRunEnd / 2;
                const int32_t tCellRight = (tRunEnd + 1) / 2;
                bool tDrawn = false;
                for(int32_t cy = tCellTop; cy <= tCellBottom && !tDrawn; cy++)
                {
                    for(int32_t cx = tCellLeft; cx <= tCellRight && !tDrawn; cx++)
                    {
                        tDrawn = pVisibleCells[(size_t)cy * mColumnCells + cx] != 0;
                    }
                }
                if(!tDrawn) break;
                tRunEnd++;
            }
            if(tRunEnd == bx)
            {
                bx++;
                continue;
            }
            // A run spanning the same bands as a box that reached the row above extends it.
            bool tExtended = false;
            for(int32_t i = 0; i < tCount && !tExtended; i++)
            {
                CoverageBandRect &rRect = nRects[i];
                if(rRect.mEndRow != by || rRect.mFirstColumn != bx || rRect.mEndColumn != tRunEnd) continue;
                rRect.mEndRow = by + 1;
                tExtended = true;
            }
            if(!tExtended)
            {
                if(tCount == tCapacity)
                {
                    tCapacity *= 2;
                    CoverageBandRect *nGrown = (CoverageBandRect *)realloc(nRects, sizeof(CoverageBandRect) * (size_t)tCapacity);
                    if(!nGrown)
                    {
                        free(nRects);
                        return false;
                    }
                    nRects = nGrown;
                }
                nRects[tCount].mFirstColumn = bx;
                nRects[tCount].mFirstRow = by;
                nRects[tCount].mEndColumn = tRunEnd;
                nRects[tCount].mEndRow = by + 1;
                tCount++;
            }
            bx = tRunEnd;
        }
    }
    if(tCount > cMaxRects)
    {
        CoverageBandRect tAll = nRects[0];
        for(int32_t i = 1; i < tCount; i++)
        {
            const CoverageBandRect &rRect = nRects[i];
            if(rRect.mFirstColumn < tAll.mFirstColumn) tAll.mFirstColumn = rRect.mFirstColumn;
            if(rRect.mFirstRow < tAll.mFirstRow) tAll.mFirstRow = rRect.mFirstRow;
            if(rRect.mEndColumn > tAll.mEndColumn) tAll.mEndColumn = rRect.mEndColumn;
            if(rRect.mEndRow > tAll.mEndRow) tAll.mEndRow = rRect.mEndRow;
        }
        nRects[0] = tAll;
        tCount = 1;
    }
    mRects = nRects;
    mRectCount = tCount;
    return true;
}

void AlphaCoverage::ForEachBox(const CoverageMapping &pMapping, const CoverageBox &pClip, CoverageBoxFunc pFunc,
                               void *pContext) const
{
    if(!pFunc || mRectCount == 0 || pClip.mW < 1 || pClip.mH < 1) return;
    // Two edges a cell, and at most cMaxCellsPerSide cells a side.
    int32_t tColumns[2 * cMaxCellsPerSide];
    int32_t tRows[2 * cMaxCellsPerSide];
    if(mColumnEdgeCount > (int32_t)(sizeof(tColumns) / sizeof(tColumns[0])) ||
       mRowEdgeCount > (int32_t)(sizeof(tRows) / sizeof(tRows[0])))
    {
        return;
    }
    MapEdges(mColumnEdges, mColumnEdgeCount, pMapping.mScaleX, pMapping.mOffsetX, pClip.mX, pClip.mW, tColumns);
    MapEdges(mRowEdges, mRowEdgeCount, pMapping.mScaleY, pMapping.mOffsetY, pClip.mY, pClip.mH, tRows);
    for(int32_t i = 0; i < mRectCount; i++)
    {
        const CoverageBandRect &rRect = mRects[i];
        CoverageBox tBox;
        int32_t tEnd = 0;
        if(!ClipSpan(tColumns[rRect.mFirstColumn], tColumns[rRect.mEndColumn], pClip.mX, pClip.mW, tBox.mX, tEnd)) continue;
        tBox.mW = tEnd - tBox.mX;
        if(!ClipSpan(tRows[rRect.mFirstRow], tRows[rRect.mEndRow], pClip.mY, pClip.mH, tBox.mY, tEnd)) continue;
        tBox.mH = tEnd - tBox.mY;
        pFunc(tBox, pContext);
    }
}

bool MapTexelSpan(double pScale, double pOffset, double pFirst, double pEnd, int32_t pClipStart, int32_t pClipLength,
                  int32_t &sStart, int32_t &sEnd)
{
    const double tLow = (double)pClipStart - cEdgeSlack;
    const double tHigh = (double)pClipStart + (double)pClipLength + cEdgeSlack;
    return ClipSpan(PixelEdge(pScale * pFirst + pOffset, tLow, tHigh), PixelEdge(pScale * pEnd + pOffset, tLow, tHigh),
                    pClipStart, pClipLength, sStart, sEnd);
}

void FindVisibleRows(const uint8_t *pData, int32_t pWidth, int32_t pHeight, int32_t &sFirst, int32_t &sEnd)
{
    sFirst = 0;
    sEnd = 0;
    if(!pData || pWidth < 1 || pHeight < 1) return;
    bool tFound = false;
    for(int32_t t = 0; t < pHeight; t++)
    {
        const uint8_t *rAlpha = pData + (size_t)t * pWidth * 4 + 3;
        bool tVisible = false;
        for(int32_t s = 0; s < pWidth && !tVisible; s++) tVisible = rAlpha[(size_t)s * 4] != 0;
        if(!tVisible) continue;
        if(!tFound) sFirst = t;
        tFound = true;
        sEnd = t + 1;
    }
}

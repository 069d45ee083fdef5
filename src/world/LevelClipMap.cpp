#include "world/LevelClipMap.h"

#include "core/data/LumpRecords.h"

#include <cstdlib>

namespace
{
    const uint32_t cDefaultChunkSize = 256;
}

LevelClipMap::LevelClipMap()
    : mColumns(0), mRows(0), mChunkWidth(cDefaultChunkSize), mChunkHeight(cDefaultChunkSize), mChunks(nullptr)
{
}

LevelClipMap::~LevelClipMap()
{
    free(mChunks);
}

bool LevelClipMap::Allocate(uint32_t pColumns, uint32_t pRows)
{
    if(mChunks || mColumns != 0 || mRows != 0 || pColumns == 0 || pRows == 0) return false;
    mChunks = (ChunkMask *)calloc((size_t)pColumns * pRows, sizeof(ChunkMask));
    if(!mChunks) return false;
    mColumns = pColumns;
    mRows = pRows;
    return true;
}

void LevelClipMap::SetChunkSize(uint32_t pWidth, uint32_t pHeight)
{
    if(pWidth == 0 || pHeight == 0) return;
    mChunkWidth = pWidth;
    mChunkHeight = pHeight;
}

bool LevelClipMap::SetChunkMask(uint32_t pColumn, uint32_t pRow, const uint8_t *pCells, uint32_t pClipColumns,
                                uint32_t pClipRows)
{
    if(!mChunks || pColumn >= mColumns || pRow >= mRows) return false;
    ChunkMask &rEntry = mChunks[(size_t)pColumn * mRows + pRow];
    if(!pCells || pClipColumns == 0 || pClipRows == 0)
    {
        rEntry.rCells = nullptr;
        rEntry.mClipColumns = 0;
        rEntry.mClipRows = 0;
        return true;
    }
    rEntry.rCells = pCells;
    rEntry.mClipColumns = pClipColumns;
    rEntry.mClipRows = pClipRows;
    return true;
}

bool LevelClipMap::IsClipped(int32_t pX, int32_t pY) const
{
    const uint32_t tX = (uint32_t)pX;
    const uint32_t tY = (uint32_t)pY;
    const uint32_t tColumn = tX / mChunkWidth;
    const uint32_t tRow = tY / mChunkHeight;
    if(tColumn >= mColumns || tRow >= mRows) return true;
    if(!mChunks) return false;

    const ChunkMask &rEntry = mChunks[(size_t)tColumn * mRows + tRow];
    if(!rEntry.rCells) return false;
    const uint32_t tCellX = tX % mChunkWidth;
    const uint32_t tCellY = tY % mChunkHeight;
    if(tCellX >= rEntry.mClipColumns || tCellY >= rEntry.mClipRows) return false;
    return rEntry.rCells[(size_t)tCellX * rEntry.mClipRows + tCellY] != 0;
}

uint8_t *LevelClipMap::NewMaskFromClipRecord(const ClipRecord *pRecord)
{
    if(!pRecord || pRecord->mColumns == 0 || pRecord->mRows == 0) return nullptr;
    uint8_t *nCells = (uint8_t *)malloc((size_t)pRecord->mColumns * pRecord->mRows);
    if(!nCells) return nullptr;
    for(int32_t c = 0; c < pRecord->mColumns; c++)
    {
        for(int32_t r = 0; r < pRecord->mRows; r++)
        {
            nCells[(size_t)c * pRecord->mRows + r] = ClipRecordCell(pRecord, c, r);
        }
    }
    return nCells;
}

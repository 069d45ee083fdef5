#pragma once

#include <cstdint>

#include "core/data/SpawnRecord.h"

// Plain records decoded from map lumps. The world code builds its level, chunks and spawn
// points from them, so the lump reader never depends on the world. Each record and the
// buffers it points to are malloc'd by the reader and belong to the caller.

// Map type that describes a grid of line-art chunks.
#define LUMP_MAPTYPE_LINEART 1

// Grid sizes above this cannot be named: chunk lumps carry column and row as three digits.
#define LUMP_MAX_GRID 999

struct MapInfoRecord
{
    uint8_t mMapType;
    int32_t mColumns;
    int32_t mRows;
    int32_t mUnusedA;
    int32_t mChunkWidth;
    int32_t mChunkHeight;
    int32_t mUnusedB;
    char *mImagePrefixA;
    char *mImagePrefixB;
    char *mClipPrefix;
    uint8_t mLevelNumber;
    char *mLevelName;
};

// Collision data as stored: rows top to bottom, each row packed eight columns to a byte,
// least significant bit first, every row starting on a new byte.
struct ClipRecord
{
    uint16_t mColumns;
    uint16_t mRows;
    uint32_t mDataSize;
    uint8_t *mData;
};

void FreeMapInfoRecord(MapInfoRecord *pRecord);
void FreeClipRecord(ClipRecord *pRecord);

// Bytes a packed clip of this size needs.
uint32_t ClipRowBytes(uint16_t pColumns);
uint64_t ClipDataBytes(uint16_t pColumns, uint16_t pRows);

// 1 when the cell is solid; cells outside the clip, or a clip without data, read 0.
uint8_t ClipRecordCell(const ClipRecord *pRecord, int32_t pColumn, int32_t pRow);

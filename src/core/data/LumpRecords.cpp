#include "core/data/LumpRecords.h"

#include <cstdlib>

void FreeMapInfoRecord(MapInfoRecord *pRecord)
{
    if(!pRecord) return;
    free(pRecord->mImagePrefixA);
    free(pRecord->mImagePrefixB);
    free(pRecord->mClipPrefix);
    free(pRecord->mLevelName);
    free(pRecord);
}

void FreeClipRecord(ClipRecord *pRecord)
{
    if(!pRecord) return;
    free(pRecord->mData);
    free(pRecord);
}

uint32_t ClipRowBytes(uint16_t pColumns)
{
    return ((uint32_t)pColumns + 7) / 8;
}

uint64_t ClipDataBytes(uint16_t pColumns, uint16_t pRows)
{
    return (uint64_t)ClipRowBytes(pColumns) * pRows;
}

uint8_t ClipRecordCell(const ClipRecord *pRecord, int32_t pColumn, int32_t pRow)
{
    if(!pRecord || !pRecord->mData) return 0;
    if(pColumn < 0 || pRow < 0 || pColumn >= pRecord->mColumns || pRow >= pRecord->mRows) return 0;
    uint64_t tIndex = (uint64_t)pRow * ClipRowBytes(pRecord->mColumns) + (uint32_t)pColumn / 8;
    if(tIndex >= pRecord->mDataSize) return 0;
    return (pRecord->mData[tIndex] >> (pColumn % 8)) & 1;
}

#include "core/data/LumpWriter.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "core/NamedLinkedList.h"

// First member is the body so that the list's shared deleter frees both.
struct PendingLump
{
    uint8_t *mBody;
    uint32_t mSize;
    char mTag[LUMP_TAG_SIZE];
};

LumpBody::LumpBody()
{
    mData = nullptr;
    mSize = 0;
    mCapacity = 0;
    mFailed = 0;
}

LumpBody::~LumpBody()
{
    free(mData);
}

bool LumpBody::Reserve(uint32_t pExtra)
{
    if(mFailed) return false;
    if(pExtra > 0xFFFFFFFFu - mSize)
    {
        mFailed = 1;
        return false;
    }
    if(mSize + pExtra <= mCapacity) return true;

    uint64_t tWanted = mCapacity < 64 ? 64 : (uint64_t)mCapacity * 2;
    while(tWanted < (uint64_t)mSize + pExtra) tWanted *= 2;
    if(tWanted > 0xFFFFFFFFu) tWanted = 0xFFFFFFFFu;
    uint8_t *tGrown = (uint8_t *)realloc(mData, (size_t)tWanted);
    if(!tGrown)
    {
        mFailed = 1;
        return false;
    }
    mData = tGrown;
    mCapacity = (uint32_t)tWanted;
    return true;
}

void LumpBody::PutBytes(const void *pData, uint32_t pCount)
{
    if(pCount == 0) return;
    if(!pData)
    {
        mFailed = 1;
        return;
    }
    if(!Reserve(pCount)) return;
    memcpy(mData + mSize, pData, pCount);
    mSize += pCount;
}

void LumpBody::PutU8(uint8_t pValue)
{
    PutBytes(&pValue, 1);
}

void LumpBody::PutU16(uint16_t pValue)
{
    uint8_t tBytes[2] = {(uint8_t)(pValue & 0xFF), (uint8_t)(pValue >> 8)};
    PutBytes(tBytes, 2);
}

void LumpBody::PutU32(uint32_t pValue)
{
    uint8_t tBytes[4] = {(uint8_t)(pValue & 0xFF), (uint8_t)((pValue >> 8) & 0xFF),
                         (uint8_t)((pValue >> 16) & 0xFF), (uint8_t)(pValue >> 24)};
    PutBytes(tBytes, 4);
}

void LumpBody::PutI32(int32_t pValue)
{
    PutU32((uint32_t)pValue);
}

void LumpBody::PutName(const char *pText)
{
    size_t tLength = pText ? strlen(pText) : 0;
    if(tLength > LUMP_NAME_MAX)
    {
        mFailed = 1;
        return;
    }
    PutU8((uint8_t)tLength);
    PutBytes(pText, (uint32_t)tLength);
}

uint8_t *LumpBody::Release(uint32_t *pSize)
{
    uint8_t *tData = mData;
    if(pSize) *pSize = mSize;
    mData = nullptr;
    mSize = 0;
    mCapacity = 0;
    return tData;
}

LumpWriter::LumpWriter()
{
    memset(mHeader, 0, sizeof(mHeader));
    mLumps = new NamedLinkedList(1);
}

LumpWriter::~LumpWriter()
{
    delete mLumps;
}

void LumpWriter::SetHeader(const char *pText)
{
    memset(mHeader, 0, sizeof(mHeader));
    if(!pText) return;
    size_t tLength = strlen(pText);
    memcpy(mHeader, pText, tLength < sizeof(mHeader) ? tLength : sizeof(mHeader));
}

int32_t LumpWriter::GetLumpCount() const
{
    return mLumps->GetCount();
}

bool LumpWriter::AddBody(const char *pName, const char *pTag, LumpBody *pBody)
{
    if(!pName || !pTag || pBody->HasFailed()) return false;
    size_t tLength = strlen(pName);
    if(tLength < 1 || tLength > LUMP_NAME_MAX || mLumps->GetElementByName(pName)) return false;

    PendingLump *nLump = (PendingLump *)calloc(1, sizeof(PendingLump));
    if(!nLump) return false;
    size_t tTagLength = strlen(pTag);
    memcpy(nLump->mTag, pTag, tTagLength < LUMP_TAG_SIZE ? tTagLength : LUMP_TAG_SIZE);
    nLump->mBody = pBody->Release(&nLump->mSize);
    mLumps->AddElementWithDeleter(pName, nLump, DeleteFirstMemberAndRecord);
    return true;
}

bool LumpWriter::AddRaw(const char *pName, const char *pTag, const uint8_t *pBody, uint32_t pSize)
{
    LumpBody tBody;
    tBody.PutBytes(pBody, pSize);
    return AddBody(pName, pTag, &tBody);
}

bool LumpWriter::AddImage(const char *pName, const LumpImageLayout *pLayout)
{
    if(!pLayout || (pLayout->mFrameCount > 0 && !pLayout->rFrames)) return false;
    LumpBody tBody;
    tBody.PutU8(pLayout->mCompression);
    if(pLayout->mCompression != 0)
    {
        tBody.PutI32(pLayout->mFullWidth);
        tBody.PutI32(pLayout->mFullHeight);
        tBody.PutI32(pLayout->mOffsetX);
        tBody.PutI32(pLayout->mOffsetY);
        tBody.PutI32(pLayout->mWidth);
        tBody.PutI32(pLayout->mHeight);
        tBody.PutU32(pLayout->mDataSize);
        tBody.PutBytes(pLayout->rData, pLayout->mDataSize);
        tBody.PutU8(pLayout->mFrameCount);
        for(int32_t i = 0; i < pLayout->mFrameCount * 2; i++) tBody.PutI32(pLayout->rFrames[i]);
    }
    return AddBody(pName, "IMAGE", &tBody);
}

bool LumpWriter::AddPalette(const char *pName, uint32_t pColours, const uint8_t *pBase,
                            uint32_t pVariants, const char *const *pVariantNames, const uint8_t *const *pVariantColours)
{
    if(pColours > 0xFFFFFFFFu / 3) return false;
    if(pVariants > 0 && (!pVariantNames || !pVariantColours)) return false;
    LumpBody tBody;
    tBody.PutU32(pColours);
    tBody.PutBytes(pBase, pColours * 3);
    tBody.PutU32(pVariants);
    for(uint32_t i = 0; i < pVariants; i++)
    {
        if(!pVariantNames[i]) return false;
        tBody.PutName(pVariantNames[i]);
        tBody.PutBytes(pVariantColours[i], pColours * 3);
    }
    return AddBody(pName, "PALETTE", &tBody);
}

LumpImageLayout RGBAImageLayout(int32_t pWidth, int32_t pHeight, const uint8_t *pPixels)
{
    LumpImageLayout tLayout;
    memset(&tLayout, 0, sizeof(tLayout));
    tLayout.mCompression = 1;
    tLayout.mFullWidth = tLayout.mWidth = pWidth;
    tLayout.mFullHeight = tLayout.mHeight = pHeight;
    tLayout.rData = pPixels;
    tLayout.mDataSize = (uint32_t)pWidth * 4 * (uint32_t)pHeight;
    return tLayout;
}

MapInfoRecord LineArtMapInfo(int32_t pColumns, int32_t pRows, int32_t pChunkWidth, int32_t pChunkHeight,
                             const char *pImagePrefixA, const char *pImagePrefixB, const char *pClipPrefix,
                             const char *pLevelName)
{
    MapInfoRecord tInfo;
    memset(&tInfo, 0, sizeof(tInfo));
    tInfo.mMapType = LUMP_MAPTYPE_LINEART;
    tInfo.mColumns = pColumns;
    tInfo.mRows = pRows;
    tInfo.mChunkWidth = pChunkWidth;
    tInfo.mChunkHeight = pChunkHeight;
    tInfo.mImagePrefixA = (char *)pImagePrefixA;
    tInfo.mImagePrefixB = (char *)pImagePrefixB;
    tInfo.mClipPrefix = (char *)pClipPrefix;
    tInfo.mLevelName = (char *)pLevelName;
    return tInfo;
}

bool LumpWriter::AddMapInfo(const char *pName, const MapInfoRecord *pInfo)
{
    if(!pInfo) return false;
    LumpBody tBody;
    tBody.PutU8(pInfo->mMapType);
    if(pInfo->mMapType == LUMP_MAPTYPE_LINEART)
    {
        tBody.PutI32(pInfo->mColumns);
        tBody.PutI32(pInfo->mRows);
        tBody.PutI32(pInfo->mUnusedA);
        tBody.PutI32(pInfo->mChunkWidth);
        tBody.PutI32(pInfo->mChunkHeight);
        tBody.PutI32(pInfo->mUnusedB);
        tBody.PutName(pInfo->mImagePrefixA);
        tBody.PutName(pInfo->mImagePrefixB);
        tBody.PutName(pInfo->mClipPrefix);
        tBody.PutU8(pInfo->mLevelNumber);
        tBody.PutName(pInfo->mLevelName);
    }
    return AddBody(pName, "MAPINFO", &tBody);
}

bool LumpWriter::AddClip(const char *pName, uint16_t pColumns, uint16_t pRows, const uint8_t *pCells)
{
    if(!pCells && (uint32_t)pColumns * pRows > 0) return false;
    uint32_t tRowBytes = ClipRowBytes(pColumns);
    uint64_t tTotal = ClipDataBytes(pColumns, pRows);

    LumpBody tBody;
    tBody.PutU8(0);
    tBody.PutU16(pColumns);
    tBody.PutU16(pRows);
    tBody.PutU32((uint32_t)tTotal);
    uint8_t tRow[8192];
    for(uint32_t r = 0; r < pRows; r++)
    {
        memset(tRow, 0, tRowBytes);
        for(uint32_t c = 0; c < pColumns; c++)
        {
            if(pCells[(size_t)r * pColumns + c]) tRow[c / 8] |= (uint8_t)(1 << (c % 8));
        }
        tBody.PutBytes(tRow, tRowBytes);
    }
    return AddBody(pName, "CLIP", &tBody);
}

bool LumpWriter::AddSpawns(const char *pName, uint32_t pCount, const SpawnRecord *pRecords)
{
    if(pCount > 0 && !pRecords) return false;
    LumpBody tBody;
    tBody.PutU32(pCount);
    for(uint32_t i = 0; i < pCount; i++)
    {
        size_t tLength = strnlen(pRecords[i].mName, sizeof(pRecords[i].mName));
        if(tLength > LUMP_SPAWN_NAME_MAX) return false;
        tBody.PutU8((uint8_t)tLength);
        tBody.PutBytes(pRecords[i].mName, (uint32_t)tLength);
        tBody.PutI32(pRecords[i].mX);
        tBody.PutI32(pRecords[i].mY);
    }
    return AddBody(pName, "SPAWNDAT", &tBody);
}

bool LumpWriter::AddScript(const char *pName, const char *pText, uint32_t pSize)
{
    LumpBody tBody;
    tBody.PutU32(pSize);
    tBody.PutBytes(pText, pSize);
    return AddBody(pName, "SCRIPT", &tBody);
}

uint8_t *LumpWriter::Build(uint32_t *pSize)
{
    if(pSize) *pSize = 0;
    mLumps->Sort(0);

    // Directory size first: every lump position is absolute and follows the directory.
    uint64_t tTotal = LUMP_DIRECTORY_START;
    int32_t tCount = mLumps->GetCount();
    for(int32_t i = 0; i < tCount; i++) tTotal += 1 + strlen(mLumps->GetNameByIndex(i)) + 8;
    uint64_t tDirectoryEnd = tTotal;
    for(int32_t i = 0; i < tCount; i++)
    {
        PendingLump *rLump = (PendingLump *)mLumps->GetElementByIndex(i);
        tTotal += LUMP_TAG_SIZE + (uint64_t)rLump->mSize;
    }
    if(tTotal > 0xFFFFFFFFu) return nullptr;

    LumpBody tFile;
    tFile.PutBytes(mHeader, LUMP_HEADER_SIZE);
    tFile.PutU32((uint32_t)tCount);
    uint64_t tPosition = tDirectoryEnd;
    for(int32_t i = 0; i < tCount; i++)
    {
        PendingLump *rLump = (PendingLump *)mLumps->GetElementByIndex(i);
        tFile.PutName(mLumps->GetNameByIndex(i));
        tFile.PutU32((uint32_t)tPosition);
        tFile.PutU32(rLump->mSize);
        tPosition += LUMP_TAG_SIZE + (uint64_t)rLump->mSize;
    }
    for(int32_t i = 0; i < tCount; i++)
    {
        PendingLump *rLump = (PendingLump *)mLumps->GetElementByIndex(i);
        tFile.PutBytes(rLump->mTag, LUMP_TAG_SIZE);
        tFile.PutBytes(rLump->mBody, rLump->mSize);
    }
    if(tFile.HasFailed()) return nullptr;
    return tFile.Release(pSize);
}

bool LumpWriter::WriteToFile(const char *pPath)
{
    if(!pPath) return false;
    uint32_t tSize = 0;
    uint8_t *tData = Build(&tSize);
    if(!tData) return false;

    FILE *fOutfile = fopen(pPath, "wb");
    bool tOk = fOutfile && fwrite(tData, 1, tSize, fOutfile) == tSize;
    if(fOutfile && fclose(fOutfile) != 0) tOk = false;
    free(tData);
    return tOk;
}

#include "core/data/CorvelLumpManager.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "core/Application.h"
#include "core/DebugPrint.h"
#include "core/Geometry.h"
#include "core/ScriptPackEntry.h"
#include "core/data/LumpWriter.h"
#include "core/data/MemoryFile.h"
#include "core/render/Bitmap.h"
#include "core/render/Palette.h"

#define SCRIPT_PACK_PREFIX "Data/Scripts/"
#define LUMP_ERROR_DETAIL_MAX 160

namespace
{
    bool CoordinateInRange(int32_t pValue)
    {
        return pValue >= -GEOMETRY_COORDINATE_LIMIT && pValue <= GEOMETRY_COORDINATE_LIMIT;
    }

    // Formats whose payload size follows from width and height alone; a single-colour picture
    // (flag 7) holds one pixel whatever its size.
    bool PayloadFollowsSize(uint8_t pFlag)
    {
        return pFlag == 1 || (pFlag >= 3 && pFlag <= 6);
    }

    // The first fault of an image's layout, written into sFault: a full size without pixels,
    // offsets no drawing position could take, or a payload longer than the size needs (the
    // size is wrong). False when the layout is sound.
    bool DescribeDamagedLayout(const ImageRecord *pRecord, int64_t pNeeded, char *sFault, size_t pSize)
    {
        if(pRecord->mFullWidth < 1 || pRecord->mFullHeight < 1)
        {
            snprintf(sFault, pSize, " has full size %i by %i", pRecord->mFullWidth, pRecord->mFullHeight);
            return true;
        }
        if(!CoordinateInRange(pRecord->mOffsetX) || !CoordinateInRange(pRecord->mOffsetY))
        {
            snprintf(sFault, pSize, " has offset %i %i", pRecord->mOffsetX, pRecord->mOffsetY);
            return true;
        }
        if(PayloadFollowsSize(pRecord->mCompressionFlag) && pNeeded > 0 && pRecord->mDataSize > pNeeded)
        {
            snprintf(sFault, pSize, " is %i by %i but holds %i bytes", pRecord->mWidth, pRecord->mHeight, pRecord->mDataSize);
            return true;
        }
        return false;
    }

    int CompareStarts(const void *pA, const void *pB)
    {
        const uint32_t tA = *(const uint32_t *)pA;
        const uint32_t tB = *(const uint32_t *)pB;
        return tA < tB ? -1 : (tA > tB ? 1 : 0);
    }

    struct SortedName
    {
        const char *rName;
        uint32_t mIndex;
    };

    int CompareSortedNames(const void *pA, const void *pB)
    {
        const SortedName *rA = (const SortedName *)pA;
        const SortedName *rB = (const SortedName *)pB;
        int tCompare = strcmp(rA->rName, rB->rName);
        if(tCompare != 0) return tCompare;
        return rA->mIndex < rB->mIndex ? -1 : (rA->mIndex > rB->mIndex ? 1 : 0);
    }
}

CorvelLumpManager::CorvelLumpManager() : mCursor(nullptr, 0)
{
    mOpen = 0;
    mOpenPath = nullptr;
    mFile = nullptr;
    memset(mHeader, 0, sizeof(mHeader));
    mLumpCount = 0;
    mDirectory = nullptr;
    mSortedOrder = nullptr;
    mLumpEnds = nullptr;
    mQuietNextImageFailure = 0;
    mLumpEnd = 0;
    mPendingFault[0] = '\0';
    mFaultBlockDepth = 0;
}

CorvelLumpManager::~CorvelLumpManager()
{
    Close();
}

CorvelLumpManager *CorvelLumpManager::Fetch()
{
    return GetApplication()->mLumpManager;
}

CorvelLumpManager::FaultBlock::FaultBlock(CorvelLumpManager *pLumps) : rLumps(pLumps)
{
    if(rLumps) rLumps->mFaultBlockDepth++;
}

CorvelLumpManager::FaultBlock::~FaultBlock()
{
    if(!rLumps) return;
    rLumps->mFaultBlockDepth--;
    if(rLumps->mFaultBlockDepth < 1) rLumps->FlushFault();
}

// Every damaged or missing lump gives the same first line, which scripts and tools match on.
// The line naming the lump, its file and what is wrong with it waits until the messages of
// the read that found the fault have all been given, so that they stand together.
void CorvelLumpManager::ReportFault(const char *pName, const char *pFault, ...)
{
    FlushFault();
    char tFault[LUMP_ERROR_DETAIL_MAX];
    va_list tArgs;
    va_start(tArgs, pFault);
    vsnprintf(tFault, sizeof(tFault), pFault, tArgs);
    va_end(tArgs);
    Debug::ForcePrint("Error in SLF file\n");
    snprintf(mPendingFault, sizeof(mPendingFault), "Lump %s in %s%s\n", pName ? pName : "NULL",
             mOpenPath ? mOpenPath : "NULL", tFault);
    if(mFaultBlockDepth < 1) FlushFault();
}

// A lump that is missing, of the wrong kind, or shorter than its contents.
void CorvelLumpManager::ReportBadLump(const char *pName)
{
    ReportFault(pName, "%s", "");
}

void CorvelLumpManager::FlushFault()
{
    if(!mPendingFault[0]) return;
    Debug::ForcePrint("%s", mPendingFault);
    mPendingFault[0] = '\0';
}

void CorvelLumpManager::Close()
{
    mOpen = 0;
    free(mOpenPath);
    mOpenPath = nullptr;
    delete mFile;
    mFile = nullptr;
    for(uint32_t i = 0; mDirectory && i < mLumpCount; i++) free(mDirectory[i].mName);
    free(mDirectory);
    mDirectory = nullptr;
    free(mSortedOrder);
    mSortedOrder = nullptr;
    free(mLumpEnds);
    mLumpEnds = nullptr;
    mLumpCount = 0;
    memset(mHeader, 0, sizeof(mHeader));
    mCursor = LumpReader(nullptr, 0);
}

void CorvelLumpManager::ResetCursor()
{
    mCursor = LumpReader(mFile ? mFile->GetBuffer() : nullptr, mFile ? mFile->GetSize() : 0);
}

void CorvelLumpManager::Open(const char *pPath)
{
    if(!pPath) return;
    if(mOpen && mOpenPath && !strcmp(mOpenPath, pPath)) return;

    Close();
    mOpen = 1;
    mFile = new MemoryFile(pPath);
    if(!mFile->IsOpen())
    {
        fprintf(stderr, "CorvelLumpManager:  Error, could not find %s\n", pPath);
        Close();
        return;
    }

    // The header and the whole directory must fit: the lookups and every body read depend on
    // them. An empty file lands here too.
    size_t tLength = strlen(pPath);
    mOpenPath = (char *)malloc(tLength + 1);
    if(!mOpenPath || !ReadDirectory() || !SortDirectory() || !FindLumpEnds())
    {
        fprintf(stderr, "CorvelLumpManager:  Error, %s is not a lump file\n", pPath);
        Close();
        return;
    }
    memcpy(mOpenPath, pPath, tLength + 1);
}

bool CorvelLumpManager::ReadDirectory()
{
    ResetCursor();
    uint32_t tCount = 0;
    mCursor.ReadBytes(mHeader, LUMP_HEADER_SIZE);
    mHeader[LUMP_HEADER_SIZE] = '\0';
    mCursor.ReadU32(&tCount);

    // Each entry takes at least its length byte and two words: a count that cannot fit is
    // refused before anything is allocated for it.
    if(mCursor.HasFailed() || tCount > mCursor.GetRemaining() / 9) return false;
    if(tCount == 0) return true;
    mDirectory = (LumpDirectoryEntry *)calloc(tCount, sizeof(LumpDirectoryEntry));
    if(!mDirectory) return false;

    // Positions are checked when a lump is sought, so one lump pointing past the end costs only
    // that lump.
    for(uint32_t i = 0; i < tCount; i++)
    {
        LumpDirectoryEntry *rEntry = &mDirectory[i];
        rEntry->mName = mCursor.ReadNewName();
        mLumpCount = i + 1;
        mCursor.ReadU32(&rEntry->mPosition);
        mCursor.ReadU32(&rEntry->mSecondWord);
        if(mCursor.HasFailed()) return false;
    }
    return true;
}

bool CorvelLumpManager::SortDirectory()
{
    if(mLumpCount == 0) return true;
    SortedName *tNames = (SortedName *)malloc(sizeof(SortedName) * mLumpCount);
    mSortedOrder = (uint32_t *)malloc(sizeof(uint32_t) * mLumpCount);
    if(!tNames || !mSortedOrder)
    {
        free(tNames);
        return false;
    }
    for(uint32_t i = 0; i < mLumpCount; i++)
    {
        tNames[i].rName = mDirectory[i].mName;
        tNames[i].mIndex = i;
    }
    qsort(tNames, mLumpCount, sizeof(SortedName), CompareSortedNames);
    for(uint32_t i = 0; i < mLumpCount; i++) mSortedOrder[i] = tNames[i].mIndex;
    free(tNames);
    return true;
}

// A lump runs up to the nearest lump placed after it. The last one gets UINT32_MAX: the
// cursor already stops every read at the end of the file.
bool CorvelLumpManager::FindLumpEnds()
{
    if(mLumpCount == 0) return true;
    uint32_t *tStarts = (uint32_t *)malloc(sizeof(uint32_t) * mLumpCount);
    mLumpEnds = (uint32_t *)malloc(sizeof(uint32_t) * mLumpCount);
    if(!tStarts || !mLumpEnds)
    {
        free(tStarts);
        return false;
    }
    for(uint32_t i = 0; i < mLumpCount; i++) tStarts[i] = mDirectory[i].mPosition;
    qsort(tStarts, mLumpCount, sizeof(uint32_t), CompareStarts);
    for(uint32_t i = 0; i < mLumpCount; i++)
    {
        // The first start past this lump's own.
        uint32_t tLow = 0;
        uint32_t tHigh = mLumpCount;
        while(tLow < tHigh)
        {
            const uint32_t tMid = tLow + (tHigh - tLow) / 2;
            if(tStarts[tMid] <= mDirectory[i].mPosition) tLow = tMid + 1;
            else tHigh = tMid;
        }
        mLumpEnds[i] = tLow < mLumpCount ? tStarts[tLow] : UINT32_MAX;
    }
    free(tStarts);
    return true;
}

int32_t CorvelLumpManager::FindLump(const char *pName) const
{
    if(!pName || !mDirectory || !mSortedOrder) return -1;
    int64_t tLow = 0;
    int64_t tHigh = (int64_t)mLumpCount - 1;
    while(tLow <= tHigh)
    {
        int64_t tMid = (tLow + tHigh) / 2;
        int tCompare = strcmp(pName, mDirectory[mSortedOrder[tMid]].mName);
        if(tCompare == 0)
        {
            // Of a repeated name the first in the file wins; it sorts first among its equals.
            while(tMid > 0 && !strcmp(pName, mDirectory[mSortedOrder[tMid - 1]].mName)) tMid--;
            return (int32_t)mSortedOrder[tMid];
        }
        if(tCompare < 0) tHigh = tMid - 1;
        else tLow = tMid + 1;
    }
    return -1;
}

CorvelLumpManager::SeekResult CorvelLumpManager::Seek(const char *pName, const char *pType)
{
    FaultBlock tBlock(this);
    if(!mOpen || !pName || !pType) return cSeekMissing;
    Debug::PushPrint(0, "Seeking to %s\n", pName);

    int32_t tSlot = FindLump(pName);
    if(tSlot == -1)
    {
        Debug::PopPrint("Lump wasn't found\n");
        return cSeekMissing;
    }
    Debug::Print("Slot %i\n", tSlot);
    Debug::Print("Position %i\n", (int32_t)mDirectory[tSlot].mPosition);

    char tTag[LUMP_TAG_SIZE + 1];
    ResetCursor();
    mCursor.Seek(mDirectory[tSlot].mPosition);
    mCursor.ReadBytes(tTag, LUMP_TAG_SIZE);
    tTag[LUMP_TAG_SIZE] = '\0';
    mLumpEnd = mLumpEnds[tSlot];
    if(mCursor.HasFailed())
    {
        ReportFault(pName, " lies past the end of the file");
        Debug::PopPrint("Lump was of the wrong type\n");
        return cSeekPastEnd;
    }
    Debug::Print("Check %s vs %s\n", tTag, pType);

    if(!strncmp(tTag, pType, strlen(pType)))
    {
        Debug::PopPrint("Finished, Header was %s\n", tTag);
        return cSeekFound;
    }
    Debug::PopPrint("Lump was of the wrong type\n");
    return cSeekWrongType;
}

bool CorvelLumpManager::SeekToLump(const char *pName, const char *pType)
{
    return Seek(pName, pType) == cSeekFound;
}

bool CorvelLumpManager::SeekToIndex(int32_t pIndex)
{
    if(!mOpen || pIndex < 0 || (uint32_t)pIndex >= mLumpCount) return false;
    ResetCursor();
    mCursor.Seek(mDirectory[pIndex].mPosition);
    return mCursor.Skip(LUMP_TAG_SIZE);
}

ImageRecord *CorvelLumpManager::ReadImageRecord(const char *pName)
{
    FaultBlock tBlock(this);
    if(!mOpen || !pName) return nullptr;

    // The quiet flag covers only the one read that follows it, whether or not that read
    // finds its lump; otherwise a found second layer would silence the next missing image.
    uint8_t tQuiet = mQuietNextImageFailure;
    mQuietNextImageFailure = 0;

    Debug::PushPrint(0, "Loading Image Data %s\n", pName);
    ImageRecord *nRecord = (ImageRecord *)calloc(1, sizeof(ImageRecord));
    if(!nRecord)
    {
        Debug::PopPrintState();
        return nullptr;
    }
    nRecord->TakeTextureDefaults();

    SeekResult tSeek = Seek(pName, "IMAGE");
    if(tSeek != cSeekFound)
    {
        // Only an absent lump may be quiet; one that is there but damaged is always named.
        if(tSeek == cSeekWrongType || (tSeek == cSeekMissing && !tQuiet)) ReportBadLump(pName);
        Debug::PopPrintState();
        ImageRecord::Free(nRecord);
        return nullptr;
    }

    mCursor.ReadU8(&nRecord->mCompressionFlag);
    Debug::Print("Compress type %i\n", nRecord->mCompressionFlag);
    if(!mCursor.HasFailed() && nRecord->mCompressionFlag == 0)
    {
        Debug::ForcePrint("Compression error in %s\n", pName);
        Debug::PopPrintState();
        return nRecord;
    }
    mCursor.ReadI32(&nRecord->mFullWidth);
    mCursor.ReadI32(&nRecord->mFullHeight);
    Debug::Print("Statistcs read %i %i\n", nRecord->mFullWidth, nRecord->mFullHeight);
    mCursor.ReadI32(&nRecord->mOffsetX);
    mCursor.ReadI32(&nRecord->mOffsetY);
    mCursor.ReadI32(&nRecord->mWidth);
    mCursor.ReadI32(&nRecord->mHeight);
    mCursor.ReadI32(&nRecord->mDataSize);
    Debug::Print("Raw data to read: %s %i bytes\n", pName, nRecord->mDataSize);

    // A picture without pixels would upload nothing and leave its chunk undrawn.
    if(!mCursor.HasFailed() && (nRecord->mWidth == 0 || nRecord->mHeight == 0))
    {
        ReportFault(pName, " is %i by %i", nRecord->mWidth, nRecord->mHeight);
        Debug::PopPrintState();
        ImageRecord::Free(nRecord);
        return nullptr;
    }

    // The upload reads as many bytes as the picture needs, whatever the lump says it holds.
    const int64_t tNeeded = RequiredImageDataSize(nRecord->mWidth, nRecord->mHeight, nRecord->mCompressionFlag);
    bool tSound = !mCursor.HasFailed() && nRecord->mDataSize >= 0 && nRecord->mWidth >= 0 && nRecord->mHeight >= 0 &&
                  tNeeded <= nRecord->mDataSize;
    char tFault[LUMP_ERROR_DETAIL_MAX];
    if(tSound && DescribeDamagedLayout(nRecord, tNeeded, tFault, sizeof(tFault)))
    {
        ReportFault(pName, "%s", tFault);
        Debug::PopPrintState();
        ImageRecord::Free(nRecord);
        return nullptr;
    }
    // A full size no map could hold draws the mirrored picture nowhere; the rest of the
    // picture is sound, so it still loads.
    if(tSound && (nRecord->mFullWidth > GEOMETRY_COORDINATE_LIMIT || nRecord->mFullHeight > GEOMETRY_COORDINATE_LIMIT))
        ReportFault(pName, " has full size %i by %i, past the coordinate limit", nRecord->mFullWidth, nRecord->mFullHeight);
    if(tSound)
    {
        nRecord->mData = mCursor.ReadNewBytes((uint32_t)nRecord->mDataSize);
        Debug::Print("Data read successfully\n");
        mCursor.ReadU8(&nRecord->mFrameCount);
        // Frames claimed past the lump's end would be read from the next lump's bytes: only
        // those inside it are kept. A file cut short is refused whole by the cursor.
        const uint32_t tAt = mCursor.GetPosition();
        const uint32_t tRoom = tAt < mLumpEnd ? (mLumpEnd - tAt) / (uint32_t)sizeof(ImageFrameRecord) : 0;
        if(!mCursor.HasFailed() && nRecord->mFrameCount > tRoom)
        {
            ReportFault(pName, " claims %i frames, its lump holds %i; the rest are dropped", nRecord->mFrameCount, (int)tRoom);
            nRecord->mFrameCount = (uint8_t)tRoom;
        }
        if(nRecord->mFrameCount > 0 && !mCursor.HasFailed())
        {
            nRecord->mFrames = (ImageFrameRecord *)calloc(nRecord->mFrameCount, sizeof(ImageFrameRecord));
            if(!nRecord->mFrames) tSound = false;
            for(int32_t i = 0; tSound && i < nRecord->mFrameCount; i++)
            {
                mCursor.ReadI32(&nRecord->mFrames[i].mA);
                mCursor.ReadI32(&nRecord->mFrames[i].mB);
            }
        }
        tSound = tSound && !mCursor.HasFailed();
    }
    if(!tSound)
    {
        ReportBadLump(pName);
        Debug::PopPrintState();
        ImageRecord::Free(nRecord);
        return nullptr;
    }
    Debug::PopPrint("Image data loaded\n");
    return nRecord;
}

Bitmap *CorvelLumpManager::ExtractBitmap(const char *pName)
{
    FaultBlock tBlock(this);
    if(!mOpen || !pName) return nullptr;
    Debug::PushPrint(0, "Loading Image %s\n", pName);
    ImageRecord *nRecord = ReadImageRecord(pName);
    if(!nRecord)
    {
        Debug::ForcePrint("Failed, can't find data\n");
        Debug::PopPrintState();
        return nullptr;
    }

    uint32_t tTexture = UploadImageRecord(nRecord);
    if(!tTexture)
    {
        Debug::ForcePrint("Failed, error uploading the data\n");
        Debug::PopPrintState();
        ImageRecord::Free(nRecord);
        return nullptr;
    }

    Bitmap *nBitmap = new Bitmap();
    nBitmap->SetTexture(tTexture, 1);
    nBitmap->TakeImageLayout(nRecord);
    Debug::PopPrint("Lump uploaded successfully\n");
    ImageRecord::Free(nRecord);
    return nBitmap;
}

void CorvelLumpManager::ImageLump(const char *pFirstName, const char *pSecondName, ImageRecord **pFirst, ImageRecord **pSecond)
{
    if(pFirst) *pFirst = nullptr;
    if(pSecond) *pSecond = nullptr;
    Debug::PushPrint(0, "[Begin ImageLump] %s\n", pFirstName ? pFirstName : "NULL");
    ImageRecord *tFirst = ReadImageRecord(pFirstName);
    ImageRecord *tSecond = nullptr;
    if(pSecondName)
    {
        mQuietNextImageFailure = 1;
        tSecond = ReadImageRecord(pSecondName);
        mQuietNextImageFailure = 0;
    }
    if(pFirst) *pFirst = tFirst;
    else ImageRecord::Free(tFirst);
    if(pSecond) *pSecond = tSecond;
    else ImageRecord::Free(tSecond);
    Debug::PopPrint("[Complete ImageLump]\n");
}

Palette *CorvelLumpManager::ExtractPalette(const char *pName)
{
    FaultBlock tBlock(this);
    if(!mOpen || !pName) return nullptr;
    Debug::PushPrint(1, "Loading Palette Data %s\n", pName);
    if(!SeekToLump(pName, "PALETTE"))
    {
        ReportBadLump(pName);
        Debug::PopPrintState();
        return nullptr;
    }

    // Counts come from the file: each is held against the bytes left before it sizes anything.
    uint32_t tColours = 0;
    mCursor.ReadU32(&tColours);
    bool tSound = !mCursor.HasFailed() && tColours <= mCursor.GetRemaining() / 3 && tColours <= 0x7FFFFFFF;
    Palette *nPalette = new Palette();
    if(tSound)
    {
        nPalette->SetColourCount((int32_t)tColours);
        Debug::Print("Read out %i colors\n", (int32_t)tColours);
        uint8_t tRGB[3];
        for(uint32_t i = 0; i < tColours; i++)
        {
            mCursor.ReadBytes(tRGB, 3);
            nPalette->SetBaseColour((int32_t)i, ColorRGBA::FromBytes(tRGB[0], tRGB[1], tRGB[2]));
        }

        uint32_t tVariants = 0;
        mCursor.ReadU32(&tVariants);
        uint64_t tVariantBytes = 1 + (uint64_t)tColours * 3;
        tSound = !mCursor.HasFailed() && (uint64_t)tVariants * tVariantBytes <= mCursor.GetRemaining();
        for(uint32_t v = 0; tSound && v < tVariants; v++)
        {
            char *tVariantName = mCursor.ReadNewName();
            if(!tVariantName) break;
            nPalette->AddVariant(tVariantName);
            for(uint32_t i = 0; i < tColours; i++)
            {
                mCursor.ReadBytes(tRGB, 3);
                nPalette->SetVariantColour(tVariantName, (int32_t)i, ColorRGBA::FromBytes(tRGB[0], tRGB[1], tRGB[2]));
            }
            free(tVariantName);
        }
        tSound = tSound && !mCursor.HasFailed();
    }
    if(!tSound)
    {
        ReportBadLump(pName);
        Debug::PopPrintState();
        delete nPalette;
        return nullptr;
    }
    Debug::PopPrintState();
    return nPalette;
}

int32_t CorvelLumpManager::GetMapType(const char *pName)
{
    FaultBlock tBlock(this);
    Debug::PushPrint(0, "Finding map type in %s\n", pName ? pName : "NULL");
    uint8_t tType = 0;
    if(SeekToLump(pName, "MAPINFO") && mCursor.ReadU8(&tType))
    {
        Debug::PopPrint("Map type %i\n", tType);
        return tType;
    }
    Debug::PopPrint("Error in SLF file\n");
    return -1;
}

MapInfoRecord *CorvelLumpManager::ReadMapInfo(const char *pName)
{
    FaultBlock tBlock(this);
    Debug::PushPrint(0, "[Begin GetLineartLevel] %s\n", pName ? pName : "NULL");
    if(!mOpen || !pName)
    {
        Debug::PopPrint("[Fail GetLineartLevel] Error in SLF file\n");
        return nullptr;
    }
    if(GetMapType(pName) != LUMP_MAPTYPE_LINEART)
    {
        Debug::PopPrint("[Fail GetLineartLevel] Map is the wrong type\n");
        return nullptr;
    }

    MapInfoRecord *nInfo = (MapInfoRecord *)calloc(1, sizeof(MapInfoRecord));
    if(!nInfo)
    {
        Debug::PopPrint("[Fail GetLineartLevel] Error in SLF file\n");
        return nullptr;
    }
    nInfo->mMapType = LUMP_MAPTYPE_LINEART;
    mCursor.ReadI32(&nInfo->mColumns);
    mCursor.ReadI32(&nInfo->mRows);
    mCursor.ReadI32(&nInfo->mUnusedA);
    mCursor.ReadI32(&nInfo->mChunkWidth);
    mCursor.ReadI32(&nInfo->mChunkHeight);
    mCursor.ReadI32(&nInfo->mUnusedB);
    nInfo->mImagePrefixA = mCursor.ReadNewName();
    nInfo->mImagePrefixB = mCursor.ReadNewName();
    nInfo->mClipPrefix = mCursor.ReadNewName();
    mCursor.ReadU8(&nInfo->mLevelNumber);
    nInfo->mLevelName = mCursor.ReadNewName();

    // Chunk lumps carry column and row as three digits; a grid beyond that cannot be named
    // and a negative one would size the grid from garbage.
    if(mCursor.HasFailed() || nInfo->mColumns < 1 || nInfo->mRows < 1 || nInfo->mColumns > LUMP_MAX_GRID ||
       nInfo->mRows > LUMP_MAX_GRID)
    {
        FreeMapInfoRecord(nInfo);
        ReportBadLump(pName);
        Debug::PopPrint("[Fail GetLineartLevel] Error in SLF file\n");
        return nullptr;
    }
    // Both sizes 0 keep the default; any other size must be a real one on both axes.
    const bool tDefaultSize = nInfo->mChunkWidth == 0 && nInfo->mChunkHeight == 0;
    if(!tDefaultSize && (nInfo->mChunkWidth < 1 || nInfo->mChunkHeight < 1))
    {
        ReportFault(pName, " has chunk size %i by %i", nInfo->mChunkWidth, nInfo->mChunkHeight);
        FreeMapInfoRecord(nInfo);
        Debug::PopPrint("[Fail GetLineartLevel] Error in SLF file\n");
        return nullptr;
    }
    Debug::PopPrint("[Complete GetLineartLevel]\n");
    return nInfo;
}

ClipRecord *CorvelLumpManager::ClipLump(const char *pName)
{
    FaultBlock tBlock(this);
    Debug::PushPrint(0, "[Begin ClipLump] %s\n", pName ? pName : "NULL");
    if(!SeekToLump(pName, "CLIP"))
    {
        Debug::ForcePrint("[Fail ClipLump] %s Not found.\n", pName ? pName : "NULL");
        Debug::PopPrintState();
        return nullptr;
    }

    ClipRecord *nClip = (ClipRecord *)calloc(1, sizeof(ClipRecord));
    uint8_t tUnused = 0;
    bool tSound = nClip != nullptr;
    if(tSound)
    {
        mCursor.ReadU8(&tUnused);
        mCursor.ReadU16(&nClip->mColumns);
        mCursor.ReadU16(&nClip->mRows);
        mCursor.ReadU32(&nClip->mDataSize);
        // A clip shorter than its rows need would leave cells to be read from beyond it.
        tSound = !mCursor.HasFailed() && nClip->mDataSize >= ClipDataBytes(nClip->mColumns, nClip->mRows);
    }
    if(tSound && nClip->mDataSize > 0)
    {
        nClip->mData = mCursor.ReadNewBytes(nClip->mDataSize);
        tSound = nClip->mData != nullptr;
    }
    if(!tSound)
    {
        FreeClipRecord(nClip);
        ReportBadLump(pName);
        Debug::PopPrintState();
        return nullptr;
    }
    Debug::PopPrint("[Complete ClipLump]\n");
    return nClip;
}

SpawnRecord *CorvelLumpManager::SpawnDatLump(const char *pName, int32_t *pCount)
{
    FaultBlock tBlock(this);
    if(pCount) *pCount = 0;
    Debug::PushPrint(1, "[Begin SpawnDatLump] %s\n", pName ? pName : "NULL");
    if(!pCount || !SeekToLump(pName, "SPAWNDAT"))
    {
        Debug::ForcePrint("[Fail SpawnDatLump] %s Not found.\n", pName ? pName : "NULL");
        Debug::PopPrintState();
        return nullptr;
    }

    // A record is at least its length byte and two words.
    uint32_t tCount = 0;
    mCursor.ReadU32(&tCount);
    if(mCursor.HasFailed() || tCount > mCursor.GetRemaining() / 9)
    {
        ReportBadLump(pName);
        Debug::PopPrintState();
        return nullptr;
    }
    Debug::Print("Number of spawns: %i\n", (int32_t)tCount);
    if(tCount == 0)
    {
        Debug::PopPrint("[Complete SpawnDatLump]\n");
        return nullptr;
    }

    // A spawn far outside any world is dropped alone; the others still spawn.
    SpawnRecord *nRecords = (SpawnRecord *)calloc(tCount, sizeof(SpawnRecord));
    uint32_t tKept = 0;
    for(uint32_t i = 0; nRecords && i < tCount && !mCursor.HasFailed(); i++)
    {
        SpawnRecord &rRecord = nRecords[tKept];
        uint8_t tCut = 0;
        mCursor.ReadNameInto(rRecord.mName, sizeof(rRecord.mName), &tCut);
        if(tCut) Debug::ForcePrint("[SpawnDatLump] Warning, spawn %i name cut to %s\n", (int32_t)i, rRecord.mName);
        mCursor.ReadI32(&rRecord.mX);
        mCursor.ReadI32(&rRecord.mY);
        if(mCursor.HasFailed()) break;
        if(CoordinateInRange(rRecord.mX) && CoordinateInRange(rRecord.mY))
        {
            tKept++;
            continue;
        }
        // The read goes on without the spawn: the drop is named at once, not as the read's end.
        ReportFault(pName, " drops spawn %i %s at %i %i", (int32_t)i, rRecord.mName, rRecord.mX, rRecord.mY);
        FlushFault();
    }
    if(!nRecords || mCursor.HasFailed())
    {
        free(nRecords);
        ReportBadLump(pName);
        Debug::PopPrintState();
        return nullptr;
    }
    if(tKept == 0)
    {
        free(nRecords);
        Debug::PopPrint("[Complete SpawnDatLump]\n");
        return nullptr;
    }
    *pCount = (int32_t)tKept;
    Debug::PopPrint("[Complete SpawnDatLump]\n");
    return nRecords;
}

ScriptPackEntry *CorvelLumpManager::ReadTarballLump(int32_t pIndex)
{
    FaultBlock tBlock(this);
    Debug::PushPrint(0, "Loading Tarball Data %i\n", pIndex);
    if(!SeekToIndex(pIndex))
    {
        if(mOpen && pIndex >= 0 && (uint32_t)pIndex < mLumpCount) ReportBadLump(mDirectory[pIndex].mName);
        Debug::PopPrintState();
        return nullptr;
    }

    size_t tPathSize = sizeof(SCRIPT_PACK_PREFIX) + strlen(mDirectory[pIndex].mName);
    char *tPath = (char *)malloc(tPathSize);
    uint32_t tSize = 0;
    mCursor.ReadU32(&tSize);
    uint8_t *tSource = mCursor.ReadNewBytes(tSize);
    ScriptPackEntry *nEntry = nullptr;
    if(tPath && tSource)
    {
        snprintf(tPath, tPathSize, "%s%s", SCRIPT_PACK_PREFIX, mDirectory[pIndex].mName);
        nEntry = NewScriptPackEntry(tPath, (const char *)tSource, tSize);
    }
    free(tPath);
    free(tSource);
    if(!nEntry)
    {
        ReportBadLump(mDirectory[pIndex].mName);
        Debug::PopPrintState();
        return nullptr;
    }
    Debug::PopPrint("Tarball data loaded\n");
    return nEntry;
}

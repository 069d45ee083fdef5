// The lump-file reader: the input is a whole ".slf" file. Whatever the directory names, every
// reader is run on every lump, and what each hands back is read to its last byte, so a record
// that claims more than it holds shows up as a sanitizer report.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "core/ScriptPackEntry.h"
#include "core/data/CorvelLumpManager.h"
#include "core/data/LumpReader.h"
#include "core/data/LumpRecords.h"
#include "core/data/LumpWriter.h"
#include "core/render/Bitmap.h"
#include "core/render/Palette.h"
#include "support/FuzzSupport.h"

namespace
{
    // The sum keeps the reads from being optimised away.
    volatile uint32_t xSink = 0;

    void ReadAll(const uint8_t *pData, int64_t pSize)
    {
        uint32_t tSum = 0;
        for(int64_t i = 0; i < pSize; i++) tSum += pData[i];
        xSink = xSink + tSum;
    }

    void CheckImage(CorvelLumpManager &rLumps, const char *pName)
    {
        ImageRecord *rImage = rLumps.ReadImageRecord(pName);
        if(!rImage) return;
        int64_t tNeeded = RequiredImageDataSize(rImage->mWidth, rImage->mHeight, rImage->mCompressionFlag);
        if(rImage->mCompressionFlag != 0)
        {
            if(tNeeded > rImage->mDataSize) FuzzFail("image %s holds %i bytes, needs %lli", pName, rImage->mDataSize, (long long)tNeeded);
            if(rImage->mDataSize > 0 && !rImage->mData) FuzzFail("image %s has no data", pName);
            ReadAll(rImage->mData, rImage->mDataSize);
        }
        if(rImage->mFrameCount > 0 && rImage->mFrames) ReadAll((const uint8_t *)rImage->mFrames, rImage->mFrameCount * (int64_t)sizeof(ImageFrameRecord));
        ImageRecord::Free(rImage);
    }

    void CheckPalette(CorvelLumpManager &rLumps, const char *pName)
    {
        Palette *rPalette = rLumps.ExtractPalette(pName);
        if(!rPalette) return;
        int32_t tColours = rPalette->GetColourCount();
        if(tColours > 0) ReadAll((const uint8_t *)rPalette->GetBaseColours(), tColours * (int64_t)sizeof(ColorRGBA));
        const char *rVariant = rPalette->GetCurrentVariantName();
        const ColorRGBA *rColours = rVariant ? rPalette->GetVariantColours(rVariant) : nullptr;
        if(rColours && tColours > 0) ReadAll((const uint8_t *)rColours, tColours * (int64_t)sizeof(ColorRGBA));
        delete rPalette;
    }

    void CheckMapInfo(CorvelLumpManager &rLumps, const char *pName)
    {
        rLumps.GetMapType(pName);
        MapInfoRecord *rInfo = rLumps.ReadMapInfo(pName);
        if(!rInfo) return;
        if(rInfo->mColumns < 1 || rInfo->mRows < 1 || rInfo->mColumns > LUMP_MAX_GRID || rInfo->mRows > LUMP_MAX_GRID)
        {
            FuzzFail("map information %s passed with a %i by %i grid", pName, rInfo->mColumns, rInfo->mRows);
        }
        const char *cTexts[4] = {rInfo->mImagePrefixA, rInfo->mImagePrefixB, rInfo->mClipPrefix, rInfo->mLevelName};
        for(const char *rText : cTexts)
        {
            if(rText) ReadAll((const uint8_t *)rText, (int64_t)strlen(rText));
        }
        FreeMapInfoRecord(rInfo);
    }

    void CheckClip(CorvelLumpManager &rLumps, const char *pName)
    {
        ClipRecord *rClip = rLumps.ClipLump(pName);
        if(!rClip) return;
        uint32_t tSolid = 0;
        for(int32_t r = -1; r <= rClip->mRows; r++)
        {
            for(int32_t c = -1; c <= rClip->mColumns; c++) tSolid += ClipRecordCell(rClip, c, r);
        }
        xSink = xSink + tSolid;
        FreeClipRecord(rClip);
    }

    void CheckSpawns(CorvelLumpManager &rLumps, const char *pName)
    {
        int32_t tCount = -1;
        SpawnRecord *rSpawns = rLumps.SpawnDatLump(pName, &tCount);
        if(!rSpawns && tCount != 0) FuzzFail("spawn lump %s gave no records but a count of %i", pName, tCount);
        for(int32_t i = 0; rSpawns && i < tCount; i++)
        {
            if(!memchr(rSpawns[i].mName, 0, sizeof(rSpawns[i].mName))) FuzzFail("spawn name %i of %s is not terminated", i, pName);
        }
        free(rSpawns);
    }

    void CheckScript(CorvelLumpManager &rLumps, int32_t pIndex)
    {
        ScriptPackEntry *rEntry = rLumps.ReadTarballLump(pIndex);
        if(!rEntry) return;
        ReadAll((const uint8_t *)rEntry->mSourceText, (int64_t)rEntry->mSourceSize + 1);
        ReadAll((const uint8_t *)rEntry->mName, (int64_t)strlen(rEntry->mName));
        DeleteScriptPackEntry(rEntry);
    }
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *pData, size_t pSize)
{
    if(pSize > 0xFFFFFFFFu) return 0;
    const char *rPath = FuzzScratchPath("Input.slf");
    if(!FuzzWriteFile(rPath, pData, pSize)) FuzzFail("cannot write %s", rPath);

    FuzzPrintStackGuard tGuard;
    CorvelLumpManager tLumps;
    tLumps.Open(rPath);
    if(!tLumps.IsOpen()) return 0;

    // The directory as the file states it, read independently of the manager. Its order is the
    // file's, and of a repeated name the first in the file is the one found.
    LumpReader tReader(pData, (uint32_t)pSize);
    tReader.Skip(LUMP_HEADER_SIZE);
    uint32_t tCount = 0;
    tReader.ReadU32(&tCount);
    if(tCount != tLumps.GetLumpCount()) FuzzFail("directory states %u lumps, the manager holds %u", tCount, tLumps.GetLumpCount());
    char **tNames = (char **)calloc(tCount ? tCount : 1, sizeof(char *));
    if(!tNames) return 0;
    for(uint32_t i = 0; i < tCount; i++)
    {
        tNames[i] = tReader.ReadNewName();
        tReader.Skip(8);
        if(!tNames[i]) FuzzFail("the manager opened a file whose directory entry %u cannot be read", i);
    }

    for(uint32_t i = 0; i < tCount; i++)
    {
        const char *rName = tNames[i];
        uint32_t tFirst = 0;
        while(strcmp(tNames[tFirst], rName)) tFirst++;
        int32_t tFound = tLumps.FindLump(rName);
        if(tFound != (int32_t)tFirst) FuzzFail("lump %u (%s) is found at %i, its first place is %u", i, rName, tFound, tFirst);

        CheckImage(tLumps, rName);
        CheckPalette(tLumps, rName);
        CheckMapInfo(tLumps, rName);
        CheckClip(tLumps, rName);
        CheckSpawns(tLumps, rName);
        CheckScript(tLumps, (int32_t)i);
    }
    for(uint32_t i = 0; i < tCount; i++) free(tNames[i]);
    free(tNames);
    tLumps.FindLump("");
    tLumps.SeekToLump("", "");
    tLumps.SeekToIndex(-1);
    tLumps.SeekToIndex((int32_t)tCount);
    return 0;
}

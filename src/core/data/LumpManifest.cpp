#include "core/data/LumpManifest.h"

#include <allegro5/allegro.h>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "core/data/LumpWriter.h"

#define MANIFEST_MAX_TOKENS 256
#define MANIFEST_MAX_VARIANTS 256
#define MANIFEST_PATH_SIZE 4096

namespace
{
    struct ManifestState
    {
        FILE *fManifest;
        const char *rManifestPath;
        char mDirectory[MANIFEST_PATH_SIZE];
        int32_t mLine;
        char *mLineBuffer;
        size_t mLineCapacity;
        char *mTokens[MANIFEST_MAX_TOKENS];
        int32_t mTokenCount;
        uint8_t mInClipRows;
        LumpWriter *rWriter;
    };

    // Every check below says what went wrong and returns false, so its caller can stop.
    bool Fail(ManifestState *pState, const char *pMessage, const char *pDetail)
    {
        fprintf(stderr, "slfpack: %s:%i: %s%s%s\n", pState->rManifestPath, pState->mLine, pMessage,
                pDetail ? " " : "", pDetail ? pDetail : "");
        return false;
    }

    bool Expect(ManifestState *pState, bool pCondition, const char *pWhat)
    {
        return pCondition || Fail(pState, pWhat, nullptr);
    }

    enum ReadResult
    {
        READ_LINE,
        READ_END,
        READ_FAILED,
    };

    // Splits the next line in place.
    ReadResult ReadTokens(ManifestState *pState)
    {
        pState->mTokenCount = 0;
        ssize_t tRead = getline(&pState->mLineBuffer, &pState->mLineCapacity, pState->fManifest);
        if(tRead < 0) return READ_END;
        pState->mLine++;

        char *rCursor = pState->mLineBuffer;
        while(*rCursor)
        {
            while(*rCursor == ' ' || *rCursor == '\t' || *rCursor == '\r' || *rCursor == '\n') rCursor++;
            if(!*rCursor) break;
            // Clip rows start with '#' for a solid cell, so no comments inside a clip block.
            if(pState->mTokenCount == 0 && *rCursor == '#' && !pState->mInClipRows) break;
            if(pState->mTokenCount >= MANIFEST_MAX_TOKENS)
            {
                Fail(pState, "too many tokens on the line", nullptr);
                return READ_FAILED;
            }

            char tEnd = ' ';
            if(*rCursor == '"')
            {
                tEnd = '"';
                rCursor++;
            }
            pState->mTokens[pState->mTokenCount++] = rCursor;
            while(*rCursor && (tEnd == '"' ? *rCursor != '"' : (*rCursor != ' ' && *rCursor != '\t' && *rCursor != '\r' && *rCursor != '\n'))) rCursor++;
            if(tEnd == '"' && *rCursor != '"')
            {
                Fail(pState, "unterminated quote", nullptr);
                return READ_FAILED;
            }
            if(*rCursor) *rCursor++ = '\0';
        }
        return READ_LINE;
    }

    // The next non-blank line of a block ("end" is left to the caller); false at a failure or
    // at the end of the manifest, which the block's name says is early.
    bool ReadBlockLine(ManifestState *pState, const char *pUnfinished)
    {
        while(true)
        {
            ReadResult tResult = ReadTokens(pState);
            if(tResult == READ_FAILED) return false;
            if(tResult == READ_END) return Fail(pState, pUnfinished, nullptr);
            if(pState->mTokenCount > 0) return true;
        }
    }

    bool IsEnd(const ManifestState *pState)
    {
        return pState->mTokenCount == 1 && !strcmp(pState->mTokens[0], "end");
    }

    bool ParseInt(ManifestState *pState, const char *pText, int64_t pMin, int64_t pMax, int32_t *pOut)
    {
        char *rEnd = nullptr;
        long long tValue = strtoll(pText, &rEnd, 10);
        if(!*pText || *rEnd || tValue < pMin || tValue > pMax) return Fail(pState, "bad or out-of-range number", pText);
        *pOut = (int32_t)tValue;
        return true;
    }

    bool ParseColour(ManifestState *pState, const char *pText, uint8_t *pRGB)
    {
        if(*pText == '#') pText++;
        char *rEnd = nullptr;
        unsigned long tValue = strtoul(pText, &rEnd, 16);
        if(strlen(pText) != 6 || *rEnd) return Fail(pState, "bad colour (want RRGGBB)", pText);
        pRGB[0] = (uint8_t)(tValue >> 16);
        pRGB[1] = (uint8_t)(tValue >> 8);
        pRGB[2] = (uint8_t)tValue;
        return true;
    }

    bool ResolvePath(ManifestState *pState, const char *pPath, char *pOut, size_t pSize)
    {
        int tWritten = pPath[0] == '/' ? snprintf(pOut, pSize, "%s", pPath) : snprintf(pOut, pSize, "%s%s", pState->mDirectory, pPath);
        if(tWritten < 0 || (size_t)tWritten >= pSize) return Fail(pState, "path too long", pPath);
        return true;
    }

    // A new buffer with the RGBA bytes of the picture the manifest names, top row first, or null
    // after a message.
    uint8_t *LoadPixels(ManifestState *pState, const char *pFile, int32_t *pWidth, int32_t *pHeight)
    {
        char tPath[MANIFEST_PATH_SIZE];
        if(!ResolvePath(pState, pFile, tPath, sizeof(tPath))) return nullptr;
        al_set_new_bitmap_format(ALLEGRO_PIXEL_FORMAT_ABGR_8888_LE);
        al_set_new_bitmap_flags(ALLEGRO_MEMORY_BITMAP | ALLEGRO_NO_PREMULTIPLIED_ALPHA);
        ALLEGRO_BITMAP *nImage = al_load_bitmap(tPath);
        if(!nImage)
        {
            Fail(pState, "cannot load image", tPath);
            return nullptr;
        }

        int32_t tWidth = al_get_bitmap_width(nImage);
        int32_t tHeight = al_get_bitmap_height(nImage);
        size_t tRowBytes = (size_t)tWidth * 4;
        uint8_t *nPixels = (uint8_t *)malloc(tRowBytes * (size_t)tHeight + 1);
        ALLEGRO_LOCKED_REGION *rLocked = nPixels ? al_lock_bitmap(nImage, ALLEGRO_PIXEL_FORMAT_ABGR_8888_LE, ALLEGRO_LOCK_READONLY) : nullptr;
        if(!rLocked)
        {
            free(nPixels);
            al_destroy_bitmap(nImage);
            Fail(pState, "cannot read image", tPath);
            return nullptr;
        }
        for(int32_t y = 0; y < tHeight; y++)
        {
            const uint8_t *rRow = (const uint8_t *)rLocked->data + (ptrdiff_t)y * rLocked->pitch;
            memcpy(nPixels + (size_t)y * tRowBytes, rRow, tRowBytes);
        }
        al_unlock_bitmap(nImage);
        al_destroy_bitmap(nImage);
        *pWidth = tWidth;
        *pHeight = tHeight;
        return nPixels;
    }

    bool AddImage(ManifestState *pState)
    {
        if(!Expect(pState, pState->mTokenCount >= 3 && (pState->mTokenCount - 3) % 4 == 0, "image NAME FILE [X1 Y1 X2 Y2]...")) return false;
        int32_t tFrameCount = (pState->mTokenCount - 3) / 4;
        if(!Expect(pState, tFrameCount <= 255, "at most 255 frames")) return false;

        int32_t tWidth = 0;
        int32_t tHeight = 0;
        uint8_t *tPixels = LoadPixels(pState, pState->mTokens[2], &tWidth, &tHeight);
        if(!tPixels) return false;

        int32_t tFrames[255 * 2];
        for(int32_t i = 0; i < tFrameCount; i++)
        {
            int32_t tCorners[4];
            for(int32_t k = 0; k < 4; k++)
            {
                if(!ParseInt(pState, pState->mTokens[3 + i * 4 + k], 0, 65535, &tCorners[k]))
                {
                    free(tPixels);
                    return false;
                }
            }
            tFrames[i * 2] = (int32_t)((uint32_t)tCorners[0] | ((uint32_t)tCorners[1] << 16));
            tFrames[i * 2 + 1] = (int32_t)((uint32_t)tCorners[2] | ((uint32_t)tCorners[3] << 16));
        }

        LumpImageLayout tLayout = RGBAImageLayout(tWidth, tHeight, tPixels);
        tLayout.mFrameCount = (uint8_t)tFrameCount;
        tLayout.rFrames = tFrames;
        bool tAdded = pState->rWriter->AddImage(pState->mTokens[1], &tLayout);
        free(tPixels);
        return Expect(pState, tAdded, "image lump refused (bad or repeated name)");
    }

    // The smallest box (x0, y0, x1, y1, the last two past its end) holding every pixel that is
    // not fully clear; false when the picture has none.
    bool FindDrawnBox(const uint8_t *pPixels, int32_t pWidth, int32_t pHeight, int32_t sBox[4])
    {
        sBox[0] = pWidth;
        sBox[1] = pHeight;
        sBox[2] = 0;
        sBox[3] = 0;
        for(int32_t y = 0; y < pHeight; y++)
        {
            for(int32_t x = 0; x < pWidth; x++)
            {
                if(pPixels[((size_t)y * (size_t)pWidth + (size_t)x) * 4 + 3] == 0) continue;
                if(x < sBox[0]) sBox[0] = x;
                if(y < sBox[1]) sBox[1] = y;
                if(x + 1 > sBox[2]) sBox[2] = x + 1;
                if(y + 1 > sBox[3]) sBox[3] = y + 1;
            }
        }
        return sBox[2] > sBox[0] && sBox[3] > sBox[1];
    }

    // The picture less its clear border, keeping where the rest sat and the picture's size, so
    // that it draws where it was drawn.
    bool AddTrimmedImage(ManifestState *pState)
    {
        if(!Expect(pState, pState->mTokenCount == 3, "trimmed NAME FILE")) return false;
        int32_t tWidth = 0;
        int32_t tHeight = 0;
        uint8_t *tPixels = LoadPixels(pState, pState->mTokens[2], &tWidth, &tHeight);
        if(!tPixels) return false;

        int32_t tBox[4];
        if(!FindDrawnBox(tPixels, tWidth, tHeight, tBox))
        {
            free(tPixels);
            return Fail(pState, "nothing drawn in", pState->mTokens[2]);
        }
        const int32_t tKeptW = tBox[2] - tBox[0];
        const int32_t tKeptH = tBox[3] - tBox[1];
        const size_t tRowBytes = (size_t)tKeptW * 4;
        uint8_t *nKept = (uint8_t *)malloc(tRowBytes * (size_t)tKeptH);
        if(!nKept)
        {
            free(tPixels);
            return Fail(pState, "out of memory for", pState->mTokens[2]);
        }
        for(int32_t y = 0; y < tKeptH; y++)
        {
            const uint8_t *rRow = tPixels + ((size_t)(tBox[1] + y) * (size_t)tWidth + (size_t)tBox[0]) * 4;
            memcpy(nKept + (size_t)y * tRowBytes, rRow, tRowBytes);
        }
        LumpImageLayout tLayout = RGBAImageLayout(tKeptW, tKeptH, nKept);
        tLayout.mOffsetX = tBox[0];
        tLayout.mOffsetY = tBox[1];
        tLayout.mFullWidth = tWidth;
        tLayout.mFullHeight = tHeight;
        bool tAdded = pState->rWriter->AddImage(pState->mTokens[1], &tLayout);
        free(nKept);
        free(tPixels);
        return Expect(pState, tAdded, "image lump refused (bad or repeated name)");
    }

    bool AddScript(ManifestState *pState)
    {
        if(!Expect(pState, pState->mTokenCount == 3, "script NAME FILE")) return false;
        char tPath[MANIFEST_PATH_SIZE];
        if(!ResolvePath(pState, pState->mTokens[2], tPath, sizeof(tPath))) return false;
        FILE *fInput = fopen(tPath, "rb");
        if(!fInput) return Fail(pState, "cannot open script", tPath);

        size_t tCapacity = 4096;
        size_t tSize = 0;
        char *tText = (char *)malloc(tCapacity);
        bool tSound = tText != nullptr;
        size_t tRead;
        while(tSound && (tRead = fread(tText + tSize, 1, tCapacity - tSize, fInput)) > 0)
        {
            tSize += tRead;
            if(tSize == tCapacity)
            {
                char *tGrown = tSize <= 0xFFFFFFFFu ? (char *)realloc(tText, tCapacity * 2) : nullptr;
                tSound = tGrown != nullptr;
                if(tGrown) tText = tGrown;
                tCapacity *= 2;
            }
        }
        fclose(fInput);
        bool tAdded = tSound && pState->rWriter->AddScript(pState->mTokens[1], tText, (uint32_t)tSize);
        free(tText);
        if(!tSound) return Fail(pState, "cannot read script", tPath);
        return Expect(pState, tAdded, "script lump refused (bad or repeated name)");
    }

    bool AddMapInfo(ManifestState *pState)
    {
        if(!Expect(pState, pState->mTokenCount >= 3, "mapinfo NAME TYPE ...")) return false;
        MapInfoRecord tInfo;
        memset(&tInfo, 0, sizeof(tInfo));
        int32_t tType = 0;
        if(!ParseInt(pState, pState->mTokens[2], 0, 255, &tType)) return false;
        tInfo.mMapType = (uint8_t)tType;
        if(tInfo.mMapType == LUMP_MAPTYPE_LINEART)
        {
            if(!Expect(pState, pState->mTokenCount == 12, "mapinfo NAME 1 COLUMNS ROWS CHUNKWIDTH CHUNKHEIGHT PREFIX1 PREFIX2 CLIPPREFIX LEVELNUMBER LEVELNAME")) return false;
            int32_t tLevelNumber = 0;
            if(!ParseInt(pState, pState->mTokens[3], 1, LUMP_MAX_GRID, &tInfo.mColumns) ||
               !ParseInt(pState, pState->mTokens[4], 1, LUMP_MAX_GRID, &tInfo.mRows) ||
               !ParseInt(pState, pState->mTokens[5], 0, 65535, &tInfo.mChunkWidth) ||
               !ParseInt(pState, pState->mTokens[6], 0, 65535, &tInfo.mChunkHeight) ||
               !ParseInt(pState, pState->mTokens[10], 0, 255, &tLevelNumber))
            {
                return false;
            }
            tInfo.mImagePrefixA = pState->mTokens[7];
            tInfo.mImagePrefixB = pState->mTokens[8];
            tInfo.mClipPrefix = pState->mTokens[9];
            tInfo.mLevelNumber = (uint8_t)tLevelNumber;
            tInfo.mLevelName = pState->mTokens[11];
        }
        else if(!Expect(pState, pState->mTokenCount == 3, "mapinfo NAME TYPE (types other than 1 take nothing more)"))
        {
            return false;
        }
        return Expect(pState, pState->rWriter->AddMapInfo(pState->mTokens[1], &tInfo), "mapinfo lump refused");
    }

    // The cells of a clip block, read up to its "end".
    bool ReadClipRows(ManifestState *pState, uint8_t *pCells, int32_t pColumns, int32_t pRows)
    {
        int32_t tRow = 0;
        while(true)
        {
            if(!ReadBlockLine(pState, "clip without \"end\"")) return false;
            if(IsEnd(pState)) return true;
            if(!Expect(pState, pState->mTokenCount == 1 && tRow < pRows, "clip row: one word of '#' and '.', at most ROWS rows")) return false;
            size_t tLength = strlen(pState->mTokens[0]);
            if(!Expect(pState, tLength <= (size_t)pColumns, "clip row longer than COLUMNS")) return false;
            for(size_t c = 0; c < tLength; c++) pCells[(size_t)tRow * pColumns + c] = pState->mTokens[0][c] == '#';
            tRow++;
        }
    }

    bool AddClip(ManifestState *pState)
    {
        if(!Expect(pState, pState->mTokenCount == 4, "clip NAME COLUMNS ROWS")) return false;
        int32_t tColumns = 0;
        int32_t tRows = 0;
        if(!ParseInt(pState, pState->mTokens[2], 0, 65535, &tColumns) || !ParseInt(pState, pState->mTokens[3], 0, 65535, &tRows)) return false;
        char *tName = strdup(pState->mTokens[1]);
        uint8_t *tCells = (uint8_t *)calloc((size_t)tColumns * tRows + 1, 1);
        bool tSound = Expect(pState, tName && tCells, "out of memory");
        if(tSound)
        {
            pState->mInClipRows = 1;
            tSound = ReadClipRows(pState, tCells, tColumns, tRows);
            pState->mInClipRows = 0;
        }
        bool tAdded = tSound && pState->rWriter->AddClip(tName, (uint16_t)tColumns, (uint16_t)tRows, tCells);
        free(tCells);
        free(tName);
        return tSound && Expect(pState, tAdded, "clip lump refused (bad or repeated name)");
    }

    // The spawn lines of a block, read up to its "end" into a growing array.
    bool ReadSpawnLines(ManifestState *pState, SpawnRecord **pRecords, uint32_t *pCount)
    {
        uint32_t tCapacity = 16;
        *pRecords = (SpawnRecord *)calloc(tCapacity, sizeof(SpawnRecord));
        if(!Expect(pState, *pRecords != nullptr, "out of memory")) return false;
        while(true)
        {
            if(!ReadBlockLine(pState, "spawns without \"end\"")) return false;
            if(IsEnd(pState)) return true;
            if(!Expect(pState, pState->mTokenCount == 3, "spawn line: PRESET X Y")) return false;
            if(!Expect(pState, strlen(pState->mTokens[0]) <= LUMP_SPAWN_NAME_MAX, "spawn name longer than 31 characters")) return false;
            if(*pCount == tCapacity)
            {
                SpawnRecord *tGrown = (SpawnRecord *)realloc(*pRecords, (size_t)tCapacity * 2 * sizeof(SpawnRecord));
                if(!Expect(pState, tGrown != nullptr, "out of memory")) return false;
                *pRecords = tGrown;
                tCapacity *= 2;
            }
            SpawnRecord *rRecord = &(*pRecords)[*pCount];
            memset(rRecord, 0, sizeof(SpawnRecord));
            snprintf(rRecord->mName, sizeof(rRecord->mName), "%s", pState->mTokens[0]);
            if(!ParseInt(pState, pState->mTokens[1], INT32_MIN, INT32_MAX, &rRecord->mX) ||
               !ParseInt(pState, pState->mTokens[2], INT32_MIN, INT32_MAX, &rRecord->mY))
            {
                return false;
            }
            (*pCount)++;
        }
    }

    bool AddSpawns(ManifestState *pState)
    {
        if(!Expect(pState, pState->mTokenCount == 2, "spawns NAME")) return false;
        char *tName = strdup(pState->mTokens[1]);
        SpawnRecord *tRecords = nullptr;
        uint32_t tCount = 0;
        bool tSound = Expect(pState, tName != nullptr, "out of memory") && ReadSpawnLines(pState, &tRecords, &tCount);
        bool tAdded = tSound && pState->rWriter->AddSpawns(tName, tCount, tRecords);
        free(tRecords);
        free(tName);
        return tSound && Expect(pState, tAdded, "spawns lump refused (bad or repeated name)");
    }

    struct PaletteBlock
    {
        uint8_t *mBase;
        uint32_t mColours;
        uint32_t mVariants;
        char *mVariantNames[MANIFEST_MAX_VARIANTS];
        uint8_t *mVariantColours[MANIFEST_MAX_VARIANTS];
    };

    // The colours of the line's tokens from pFirst on, into a new buffer.
    bool ReadColours(ManifestState *pState, int32_t pFirst, uint32_t pCount, uint8_t **pOut)
    {
        *pOut = (uint8_t *)malloc((size_t)pCount * 3);
        if(!Expect(pState, *pOut != nullptr, "out of memory")) return false;
        for(uint32_t i = 0; i < pCount; i++)
        {
            if(!ParseColour(pState, pState->mTokens[pFirst + i], *pOut + i * 3)) return false;
        }
        return true;
    }

    // The base and variant lines of a block, read up to its "end".
    bool ReadPaletteLines(ManifestState *pState, PaletteBlock *pBlock)
    {
        while(true)
        {
            if(!ReadBlockLine(pState, "palette without \"end\"")) return false;
            if(IsEnd(pState)) return true;
            if(!strcmp(pState->mTokens[0], "base"))
            {
                if(!Expect(pState, !pBlock->mBase && pState->mTokenCount >= 2, "one \"base\" line with at least one colour")) return false;
                pBlock->mColours = (uint32_t)pState->mTokenCount - 1;
                if(!ReadColours(pState, 1, pBlock->mColours, &pBlock->mBase)) return false;
                continue;
            }
            if(!Expect(pState, !strcmp(pState->mTokens[0], "variant") && pBlock->mBase, "\"variant\" lines follow the \"base\" line") ||
               !Expect(pState, (uint32_t)pState->mTokenCount == pBlock->mColours + 2, "a variant has as many colours as the base") ||
               !Expect(pState, pBlock->mVariants < MANIFEST_MAX_VARIANTS, "too many variants"))
            {
                return false;
            }
            uint32_t tVariant = pBlock->mVariants++;
            pBlock->mVariantNames[tVariant] = strdup(pState->mTokens[1]);
            if(!Expect(pState, pBlock->mVariantNames[tVariant] != nullptr, "out of memory")) return false;
            if(!ReadColours(pState, 2, pBlock->mColours, &pBlock->mVariantColours[tVariant])) return false;
        }
    }

    bool AddPalette(ManifestState *pState)
    {
        if(!Expect(pState, pState->mTokenCount == 2, "palette NAME")) return false;
        char *tName = strdup(pState->mTokens[1]);
        PaletteBlock tBlock;
        memset(&tBlock, 0, sizeof(tBlock));
        bool tSound = Expect(pState, tName != nullptr, "out of memory") && ReadPaletteLines(pState, &tBlock) &&
                      Expect(pState, tBlock.mBase != nullptr, "palette without a \"base\" line");
        bool tAdded = tSound && pState->rWriter->AddPalette(tName, tBlock.mColours, tBlock.mBase, tBlock.mVariants,
                                                            tBlock.mVariantNames, tBlock.mVariantColours);
        for(uint32_t v = 0; v < tBlock.mVariants; v++)
        {
            free(tBlock.mVariantNames[v]);
            free(tBlock.mVariantColours[v]);
        }
        free(tBlock.mBase);
        free(tName);
        return tSound && Expect(pState, tAdded, "palette lump refused (bad or repeated name)");
    }

    bool ReadDirective(ManifestState *pState)
    {
        const char *rDirective = pState->mTokens[0];
        if(!strcmp(rDirective, "header"))
        {
            if(!Expect(pState, pState->mTokenCount == 2, "header TEXT")) return false;
            pState->rWriter->SetHeader(pState->mTokens[1]);
            return true;
        }
        if(!strcmp(rDirective, "image")) return AddImage(pState);
        if(!strcmp(rDirective, "trimmed")) return AddTrimmedImage(pState);
        if(!strcmp(rDirective, "script")) return AddScript(pState);
        if(!strcmp(rDirective, "mapinfo")) return AddMapInfo(pState);
        if(!strcmp(rDirective, "clip")) return AddClip(pState);
        if(!strcmp(rDirective, "spawns")) return AddSpawns(pState);
        if(!strcmp(rDirective, "palette")) return AddPalette(pState);
        return Fail(pState, "unknown directive", rDirective);
    }
}

bool ReadLumpManifest(FILE *pManifest, const char *pManifestPath, LumpWriter *pWriter)
{
    if(!pManifest || !pManifestPath || !pWriter) return false;
    ManifestState tState;
    memset(&tState, 0, sizeof(tState));
    tState.fManifest = pManifest;
    tState.rManifestPath = pManifestPath;
    tState.rWriter = pWriter;

    const char *rSlash = strrchr(pManifestPath, '/');
    size_t tDirectoryLength = rSlash ? (size_t)(rSlash - pManifestPath) + 1 : 0;
    if(tDirectoryLength >= sizeof(tState.mDirectory)) return Fail(&tState, "manifest path too long", nullptr);
    memcpy(tState.mDirectory, pManifestPath, tDirectoryLength);

    bool tSound = true;
    while(tSound)
    {
        ReadResult tResult = ReadTokens(&tState);
        if(tResult == READ_END) break;
        tSound = tResult == READ_LINE && (tState.mTokenCount == 0 || ReadDirective(&tState));
    }
    free(tState.mLineBuffer);
    return tSound;
}

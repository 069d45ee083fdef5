// slfpack: writes a lump file (".slf") from a text manifest.
//
// Usage: slfpack MANIFEST OUTPUT.slf
//
// Manifest format. One directive per line. Blank lines and lines whose first non-blank
// character is '#' are ignored. Tokens are separated by blanks or tabs; a token in double
// quotes may hold blanks. File paths are relative to the manifest's directory. Lump names
// are 1 to 255 bytes; each name may appear once. The directory is written sorted by name
// (strcmp order), whatever the order of the manifest.
//
//   header TEXT
//       The 16 header bytes (longer text is cut). Default: "Corvel lump file".
//   image NAME FILE.png [X1 Y1 X2 Y2]...
//       IMAGE lump with the picture's RGBA bytes, top row first, compression flag 1, full
//       size = picture size, offsets 0. Each group of four numbers adds a frame rectangle.
//   script NAME FILE
//       Script lump holding the file's bytes. Script packs name lumps by their path under
//       "Data/Scripts/", e.g. "Maps/Intro.lua".
//   mapinfo NAME TYPE
//       MAPINFO lump of a map type other than 1 (the type byte only).
//   mapinfo NAME 1 COLUMNS ROWS CHUNKWIDTH CHUNKHEIGHT PREFIX1 PREFIX2 CLIPPREFIX LEVELNUMBER LEVELNAME
//       MAPINFO lump of a line-art map: the chunk grid, chunk size (0 0 keeps 256 x 256), the
//       lump-name prefixes of the two image layers and of the clips, and the level's number
//       and name.
//   clip NAME COLUMNS ROWS
//   ...rows...
//   end
//       CLIP lump drawn as text: up to ROWS lines, top row first, one character per column,
//       '#' solid and any other character free. Missing rows and the ends of short lines
//       are free; characters beyond COLUMNS are an error.
//   spawns NAME
//   PRESET X Y
//   ...
//   end
//       SPAWNDAT lump: one line per spawn, the enemy preset name (at most 31 characters)
//       and its integer position.
//   palette NAME
//   base RRGGBB [RRGGBB]...
//   variant VARIANTNAME RRGGBB [RRGGBB]...
//   ...
//   end
//       PALETTE lump: the base colours, then any number of variants, each with exactly as
//       many colours as the base. Colours are six hexadecimal digits, '#' in front allowed.

#include <allegro5/allegro.h>
#include <allegro5/allegro_image.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "core/data/LumpWriter.h"

#define MAX_TOKENS 256
#define MAX_PALETTE_VARIANTS 256

struct ManifestState
{
    FILE *fManifest;
    const char *rManifestPath;
    char mDirectory[4096];
    int32_t mLine;
    char *mLineBuffer;
    size_t mLineCapacity;
    char *mTokens[MAX_TOKENS];
    int32_t mTokenCount;
    uint8_t mInClipRows;
    LumpWriter *rWriter;
};

static void Fail(ManifestState *pState, const char *pMessage, const char *pDetail)
{
    fprintf(stderr, "slfpack: %s:%i: %s%s%s\n", pState->rManifestPath, pState->mLine, pMessage,
            pDetail ? " " : "", pDetail ? pDetail : "");
    exit(1);
}

// Splits the line buffer in place; false at the end of the manifest.
static bool ReadTokens(ManifestState *pState)
{
    pState->mTokenCount = 0;
    ssize_t tRead = getline(&pState->mLineBuffer, &pState->mLineCapacity, pState->fManifest);
    if(tRead < 0) return false;
    pState->mLine++;

    char *rCursor = pState->mLineBuffer;
    while(*rCursor)
    {
        while(*rCursor == ' ' || *rCursor == '\t' || *rCursor == '\r' || *rCursor == '\n') rCursor++;
        if(!*rCursor) break;
        // Clip rows start with '#' for a solid cell, so no comments inside a clip block.
        if(pState->mTokenCount == 0 && *rCursor == '#' && !pState->mInClipRows) break;
        if(pState->mTokenCount >= MAX_TOKENS) Fail(pState, "too many tokens on the line", nullptr);

        char tEnd = ' ';
        if(*rCursor == '"')
        {
            tEnd = '"';
            rCursor++;
        }
        pState->mTokens[pState->mTokenCount++] = rCursor;
        while(*rCursor && (tEnd == '"' ? *rCursor != '"' : (*rCursor != ' ' && *rCursor != '\t' && *rCursor != '\r' && *rCursor != '\n'))) rCursor++;
        if(tEnd == '"' && *rCursor != '"') Fail(pState, "unterminated quote", nullptr);
        if(*rCursor) *rCursor++ = '\0';
    }
    return true;
}

static int32_t ParseInt(ManifestState *pState, const char *pText, int64_t pMin, int64_t pMax)
{
    char *rEnd = nullptr;
    long long tValue = strtoll(pText, &rEnd, 10);
    if(!*pText || *rEnd || tValue < pMin || tValue > pMax) Fail(pState, "bad or out-of-range number", pText);
    return (int32_t)tValue;
}

static void ParseColour(ManifestState *pState, const char *pText, uint8_t *pRGB)
{
    if(*pText == '#') pText++;
    char *rEnd = nullptr;
    unsigned long tValue = strtoul(pText, &rEnd, 16);
    if(strlen(pText) != 6 || *rEnd) Fail(pState, "bad colour (want RRGGBB)", pText);
    pRGB[0] = (uint8_t)(tValue >> 16);
    pRGB[1] = (uint8_t)(tValue >> 8);
    pRGB[2] = (uint8_t)tValue;
}

static void ResolvePath(ManifestState *pState, const char *pPath, char *pOut, size_t pSize)
{
    int tWritten = pPath[0] == '/' ? snprintf(pOut, pSize, "%s", pPath) : snprintf(pOut, pSize, "%s%s", pState->mDirectory, pPath);
    if(tWritten < 0 || (size_t)tWritten >= pSize) Fail(pState, "path too long", pPath);
}

static void Expect(ManifestState *pState, bool pCondition, const char *pWhat)
{
    if(!pCondition) Fail(pState, pWhat, nullptr);
}

static void AddImage(ManifestState *pState)
{
    Expect(pState, pState->mTokenCount >= 3 && (pState->mTokenCount - 3) % 4 == 0, "image NAME FILE [X1 Y1 X2 Y2]...");
    int32_t tFrameCount = (pState->mTokenCount - 3) / 4;
    Expect(pState, tFrameCount <= 255, "at most 255 frames");

    char tPath[4096];
    ResolvePath(pState, pState->mTokens[2], tPath, sizeof(tPath));
    al_set_new_bitmap_format(ALLEGRO_PIXEL_FORMAT_ABGR_8888_LE);
    al_set_new_bitmap_flags(ALLEGRO_MEMORY_BITMAP | ALLEGRO_NO_PREMULTIPLIED_ALPHA);
    ALLEGRO_BITMAP *rImage = al_load_bitmap(tPath);
    if(!rImage) Fail(pState, "cannot load image", tPath);

    int32_t tWidth = al_get_bitmap_width(rImage);
    int32_t tHeight = al_get_bitmap_height(rImage);
    uint32_t tRowBytes = (uint32_t)tWidth * 4;
    uint8_t *tPixels = (uint8_t *)malloc((size_t)tRowBytes * tHeight + 1);
    ALLEGRO_LOCKED_REGION *rLocked = al_lock_bitmap(rImage, ALLEGRO_PIXEL_FORMAT_ABGR_8888_LE, ALLEGRO_LOCK_READONLY);
    if(!tPixels || !rLocked) Fail(pState, "cannot read image", tPath);
    for(int32_t y = 0; y < tHeight; y++)
    {
        const uint8_t *rRow = (const uint8_t *)rLocked->data + (ptrdiff_t)y * rLocked->pitch;
        memcpy(tPixels + (size_t)y * tRowBytes, rRow, tRowBytes);
    }
    al_unlock_bitmap(rImage);
    al_destroy_bitmap(rImage);

    int32_t tFrames[255 * 2];
    for(int32_t i = 0; i < tFrameCount; i++)
    {
        int32_t tX1 = ParseInt(pState, pState->mTokens[3 + i * 4], 0, 65535);
        int32_t tY1 = ParseInt(pState, pState->mTokens[4 + i * 4], 0, 65535);
        int32_t tX2 = ParseInt(pState, pState->mTokens[5 + i * 4], 0, 65535);
        int32_t tY2 = ParseInt(pState, pState->mTokens[6 + i * 4], 0, 65535);
        tFrames[i * 2] = (int32_t)((uint32_t)tX1 | ((uint32_t)tY1 << 16));
        tFrames[i * 2 + 1] = (int32_t)((uint32_t)tX2 | ((uint32_t)tY2 << 16));
    }

    LumpImageLayout tLayout;
    memset(&tLayout, 0, sizeof(tLayout));
    tLayout.mCompression = 1;
    tLayout.mFullWidth = tLayout.mWidth = tWidth;
    tLayout.mFullHeight = tLayout.mHeight = tHeight;
    tLayout.rData = tPixels;
    tLayout.mDataSize = tRowBytes * (uint32_t)tHeight;
    tLayout.mFrameCount = (uint8_t)tFrameCount;
    tLayout.rFrames = tFrames;
    bool tAdded = pState->rWriter->AddImage(pState->mTokens[1], &tLayout);
    free(tPixels);
    Expect(pState, tAdded, "image lump refused (bad or repeated name)");
}

static void AddScript(ManifestState *pState)
{
    Expect(pState, pState->mTokenCount == 3, "script NAME FILE");
    char tPath[4096];
    ResolvePath(pState, pState->mTokens[2], tPath, sizeof(tPath));
    FILE *fInput = fopen(tPath, "rb");
    if(!fInput) Fail(pState, "cannot open script", tPath);
    size_t tCapacity = 4096, tSize = 0;
    char *tText = (char *)malloc(tCapacity);
    size_t tRead;
    while(tText && (tRead = fread(tText + tSize, 1, tCapacity - tSize, fInput)) > 0)
    {
        tSize += tRead;
        if(tSize == tCapacity)
        {
            tCapacity *= 2;
            tText = (char *)realloc(tText, tCapacity);
        }
    }
    fclose(fInput);
    Expect(pState, tText && tSize <= 0xFFFFFFFFu, "cannot read script");
    bool tAdded = pState->rWriter->AddScript(pState->mTokens[1], tText, (uint32_t)tSize);
    free(tText);
    Expect(pState, tAdded, "script lump refused (bad or repeated name)");
}

static void AddMapInfo(ManifestState *pState)
{
    Expect(pState, pState->mTokenCount >= 3, "mapinfo NAME TYPE ...");
    MapInfoRecord tInfo;
    memset(&tInfo, 0, sizeof(tInfo));
    tInfo.mMapType = (uint8_t)ParseInt(pState, pState->mTokens[2], 0, 255);
    if(tInfo.mMapType == LUMP_MAPTYPE_LINEART)
    {
        Expect(pState, pState->mTokenCount == 12, "mapinfo NAME 1 COLUMNS ROWS CHUNKWIDTH CHUNKHEIGHT PREFIX1 PREFIX2 CLIPPREFIX LEVELNUMBER LEVELNAME");
        tInfo.mColumns = ParseInt(pState, pState->mTokens[3], 1, LUMP_MAX_GRID);
        tInfo.mRows = ParseInt(pState, pState->mTokens[4], 1, LUMP_MAX_GRID);
        tInfo.mChunkWidth = ParseInt(pState, pState->mTokens[5], 0, 65535);
        tInfo.mChunkHeight = ParseInt(pState, pState->mTokens[6], 0, 65535);
        tInfo.mImagePrefixA = pState->mTokens[7];
        tInfo.mImagePrefixB = pState->mTokens[8];
        tInfo.mClipPrefix = pState->mTokens[9];
        tInfo.mLevelNumber = (uint8_t)ParseInt(pState, pState->mTokens[10], 0, 255);
        tInfo.mLevelName = pState->mTokens[11];
    }
    else
    {
        Expect(pState, pState->mTokenCount == 3, "mapinfo NAME TYPE (types other than 1 take nothing more)");
    }
    Expect(pState, pState->rWriter->AddMapInfo(pState->mTokens[1], &tInfo), "mapinfo lump refused");
}

static void AddClip(ManifestState *pState)
{
    Expect(pState, pState->mTokenCount == 4, "clip NAME COLUMNS ROWS");
    char *tName = strdup(pState->mTokens[1]);
    int32_t tColumns = ParseInt(pState, pState->mTokens[2], 0, 65535);
    int32_t tRows = ParseInt(pState, pState->mTokens[3], 0, 65535);
    uint8_t *tCells = (uint8_t *)calloc((size_t)tColumns * tRows + 1, 1);
    Expect(pState, tName && tCells, "out of memory");

    int32_t tRow = 0;
    pState->mInClipRows = 1;
    while(true)
    {
        Expect(pState, ReadTokens(pState), "clip without \"end\"");
        if(pState->mTokenCount == 0) continue;
        if(pState->mTokenCount == 1 && !strcmp(pState->mTokens[0], "end")) break;
        Expect(pState, pState->mTokenCount == 1 && tRow < tRows, "clip row: one word of '#' and '.', at most ROWS rows");
        size_t tLength = strlen(pState->mTokens[0]);
        Expect(pState, tLength <= (size_t)tColumns, "clip row longer than COLUMNS");
        for(size_t c = 0; c < tLength; c++) tCells[(size_t)tRow * tColumns + c] = pState->mTokens[0][c] == '#';
        tRow++;
    }
    pState->mInClipRows = 0;
    bool tAdded = pState->rWriter->AddClip(tName, (uint16_t)tColumns, (uint16_t)tRows, tCells);
    free(tCells);
    free(tName);
    Expect(pState, tAdded, "clip lump refused (bad or repeated name)");
}

static void AddSpawns(ManifestState *pState)
{
    Expect(pState, pState->mTokenCount == 2, "spawns NAME");
    char *tName = strdup(pState->mTokens[1]);
    uint32_t tCount = 0, tCapacity = 16;
    SpawnRecord *tRecords = (SpawnRecord *)calloc(tCapacity, sizeof(SpawnRecord));
    Expect(pState, tName && tRecords, "out of memory");
    while(true)
    {
        Expect(pState, ReadTokens(pState), "spawns without \"end\"");
        if(pState->mTokenCount == 0) continue;
        if(pState->mTokenCount == 1 && !strcmp(pState->mTokens[0], "end")) break;
        Expect(pState, pState->mTokenCount == 3, "spawn line: PRESET X Y");
        Expect(pState, strlen(pState->mTokens[0]) <= LUMP_SPAWN_NAME_MAX, "spawn name longer than 31 characters");
        if(tCount == tCapacity)
        {
            tCapacity *= 2;
            tRecords = (SpawnRecord *)realloc(tRecords, tCapacity * sizeof(SpawnRecord));
            Expect(pState, tRecords != nullptr, "out of memory");
        }
        memset(&tRecords[tCount], 0, sizeof(SpawnRecord));
        snprintf(tRecords[tCount].mName, sizeof(tRecords[tCount].mName), "%s", pState->mTokens[0]);
        tRecords[tCount].mX = ParseInt(pState, pState->mTokens[1], INT32_MIN, INT32_MAX);
        tRecords[tCount].mY = ParseInt(pState, pState->mTokens[2], INT32_MIN, INT32_MAX);
        tCount++;
    }
    bool tAdded = pState->rWriter->AddSpawns(tName, tCount, tRecords);
    free(tRecords);
    free(tName);
    Expect(pState, tAdded, "spawns lump refused (bad or repeated name)");
}

static void AddPalette(ManifestState *pState)
{
    Expect(pState, pState->mTokenCount == 2, "palette NAME");
    char *tName = strdup(pState->mTokens[1]);
    uint8_t *tBase = nullptr;
    uint32_t tColours = 0, tVariants = 0;
    char *tVariantNames[MAX_PALETTE_VARIANTS];
    uint8_t *tVariantColours[MAX_PALETTE_VARIANTS];
    while(true)
    {
        Expect(pState, ReadTokens(pState), "palette without \"end\"");
        if(pState->mTokenCount == 0) continue;
        if(pState->mTokenCount == 1 && !strcmp(pState->mTokens[0], "end")) break;
        if(!strcmp(pState->mTokens[0], "base"))
        {
            Expect(pState, !tBase && pState->mTokenCount >= 2, "one \"base\" line with at least one colour");
            tColours = (uint32_t)pState->mTokenCount - 1;
            tBase = (uint8_t *)malloc(tColours * 3);
            Expect(pState, tBase != nullptr, "out of memory");
            for(uint32_t i = 0; i < tColours; i++) ParseColour(pState, pState->mTokens[1 + i], tBase + i * 3);
            continue;
        }
        Expect(pState, !strcmp(pState->mTokens[0], "variant") && tBase, "\"variant\" lines follow the \"base\" line");
        Expect(pState, (uint32_t)pState->mTokenCount == tColours + 2, "a variant has as many colours as the base");
        Expect(pState, tVariants < MAX_PALETTE_VARIANTS, "too many variants");
        tVariantNames[tVariants] = strdup(pState->mTokens[1]);
        tVariantColours[tVariants] = (uint8_t *)malloc(tColours * 3);
        Expect(pState, tVariantNames[tVariants] && tVariantColours[tVariants], "out of memory");
        for(uint32_t i = 0; i < tColours; i++) ParseColour(pState, pState->mTokens[2 + i], tVariantColours[tVariants] + i * 3);
        tVariants++;
    }
    Expect(pState, tBase != nullptr, "palette without a \"base\" line");
    bool tAdded = pState->rWriter->AddPalette(tName, tColours, tBase, tVariants, tVariantNames, tVariantColours);
    for(uint32_t v = 0; v < tVariants; v++)
    {
        free(tVariantNames[v]);
        free(tVariantColours[v]);
    }
    free(tBase);
    free(tName);
    Expect(pState, tAdded, "palette lump refused (bad or repeated name)");
}

int main(int argc, char **argv)
{
    if(argc != 3)
    {
        fprintf(stderr, "usage: slfpack MANIFEST OUTPUT.slf\n");
        return 2;
    }
    if(!al_init() || !al_init_image_addon())
    {
        fprintf(stderr, "slfpack: cannot start the image loader\n");
        return 1;
    }

    ManifestState tState;
    memset(&tState, 0, sizeof(tState));
    tState.rManifestPath = argv[1];
    tState.fManifest = fopen(argv[1], "rb");
    if(!tState.fManifest)
    {
        fprintf(stderr, "slfpack: cannot open %s\n", argv[1]);
        return 1;
    }
    const char *rSlash = strrchr(argv[1], '/');
    size_t tDirectoryLength = rSlash ? (size_t)(rSlash - argv[1]) + 1 : 0;
    if(tDirectoryLength >= sizeof(tState.mDirectory)) Fail(&tState, "manifest path too long", nullptr);
    memcpy(tState.mDirectory, argv[1], tDirectoryLength);

    LumpWriter tWriter;
    tWriter.SetHeader("Corvel lump file");
    tState.rWriter = &tWriter;
    while(ReadTokens(&tState))
    {
        if(tState.mTokenCount == 0) continue;
        const char *rDirective = tState.mTokens[0];
        if(!strcmp(rDirective, "header"))
        {
            Expect(&tState, tState.mTokenCount == 2, "header TEXT");
            tWriter.SetHeader(tState.mTokens[1]);
        }
        else if(!strcmp(rDirective, "image")) AddImage(&tState);
        else if(!strcmp(rDirective, "script")) AddScript(&tState);
        else if(!strcmp(rDirective, "mapinfo")) AddMapInfo(&tState);
        else if(!strcmp(rDirective, "clip")) AddClip(&tState);
        else if(!strcmp(rDirective, "spawns")) AddSpawns(&tState);
        else if(!strcmp(rDirective, "palette")) AddPalette(&tState);
        else Fail(&tState, "unknown directive", rDirective);
    }
    fclose(tState.fManifest);
    free(tState.mLineBuffer);

    if(!tWriter.WriteToFile(argv[2]))
    {
        fprintf(stderr, "slfpack: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}

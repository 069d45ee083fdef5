// genlevelart: turns a tile layout of a line-art level into its chunk pictures and a slfpack
// manifest that carries the clip masks as text.
//
//     genlevelart LAYOUT.txt OUTPUT_DIR
//
// writes OUTPUT_DIR/Map.slfm and the pictures under OUTPUT_DIR/chunks/. The layout it reads
// (directives, then one character a tile) is described for map authors in tools/MAPS.md, the
// one place that lists the tiles; IsSolid below is what each tile means to the clip masks.

#include <allegro5/allegro.h>
#include <allegro5/allegro_font.h>
#include <allegro5/allegro_image.h>
#include <allegro5/allegro_primitives.h>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sys/stat.h>

namespace
{
    const int32_t cMaxGrid = 999;
    const int32_t cMaxChunk = 4096;
    const size_t cLineSize = 4096;
    const size_t cTextSize = 256;
    const int32_t cMaxSpawns = 100;
    const int32_t cMaxSigns = 32;
    const size_t cSignText = 64;
    ALLEGRO_FONT *xSignFont = nullptr;

    struct SpawnLine
    {
        char mPreset[32];
        int32_t mX;
        int32_t mY;
    };

    struct SignLine
    {
        int32_t mX;
        int32_t mY;
        char mText[cSignText];
    };

    struct Layout
    {
        int32_t mColumns;
        int32_t mRows;
        int32_t mChunkSize;
        int32_t mTileSize;
        char mPrefixA[cTextSize];
        char mPrefixB[cTextSize];
        char mClipPrefix[cTextSize];
        int32_t mLevelNumber;
        char mLevelName[cTextSize];
        int32_t mTileColumns;
        int32_t mTileRows;
        char *mTiles;
        SpawnLine mSpawns[cMaxSpawns];
        int32_t mSpawnCount;
        SignLine mSigns[cMaxSigns];
        int32_t mSignCount;
    };

    char TileAt(const Layout &pLayout, int32_t pTileX, int32_t pTileY)
    {
        if(pTileX < 0 || pTileY < 0 || pTileX >= pLayout.mTileColumns || pTileY >= pLayout.mTileRows) return '.';
        return pLayout.mTiles[(size_t)pTileY * pLayout.mTileColumns + pTileX];
    }

    // Whether world unit (x, y) is solid.
    bool IsSolid(const Layout &pLayout, int32_t pX, int32_t pY)
    {
        const int32_t tT = pLayout.mTileSize;
        const char tTile = TileAt(pLayout, pX / tT, pY / tT);
        const int32_t tX = pX % tT;
        const int32_t tY = pY % tT;
        switch(tTile)
        {
            case '#':
            case '~': return true;
            case '/': return tY >= tT - 1 - tX;
            case '\\': return tY >= tX;
            case '=': return tY < tT / 2;
            default: return false;
        }
    }

    bool IsSurface(const Layout &pLayout, int32_t pX, int32_t pY)
    {
        for(int32_t i = 1; i <= 3; i++)
        {
            if(!IsSolid(pLayout, pX, pY - i)) return true;
        }
        return false;
    }

    // A row of steel teeth, two to a tile, standing on the tile's bottom edge and reaching up
    // three quarters of it. The left flank is lit, the right one shaded.
    bool SpikeColour(const Layout &pLayout, int32_t pX, int32_t pY, ALLEGRO_COLOR &sColour)
    {
        const int32_t tT = pLayout.mTileSize;
        if(TileAt(pLayout, pX / tT, pY / tT) != '^') return false;
        const int32_t tTooth = tT / 2 > 0 ? tT / 2 : 1;
        const int32_t tAcross = 2 * (pX % tTooth) + 1 - tTooth;
        const int32_t tFromCentre = tAcross < 0 ? -tAcross : tAcross;
        const int32_t tHeight = (3 * tT / 4) * (tTooth - tFromCentre) / tTooth;
        if(tT - 1 - pY % tT >= tHeight) return false;
        sColour = tAcross < 0 ? al_map_rgb(220, 222, 230) : al_map_rgb(150, 152, 168);
        return true;
    }

    // Rails at the tile's sides and two rungs to a tile.
    bool LadderColour(const Layout &pLayout, int32_t pX, int32_t pY, ALLEGRO_COLOR &sColour)
    {
        const int32_t tT = pLayout.mTileSize;
        if(TileAt(pLayout, pX / tT, pY / tT) != 'H') return false;
        const int32_t tX = pX % tT;
        const int32_t tY = pY % tT;
        const bool tRail = tX < 2 || tX >= tT - 2;
        const bool tRung = (tY % (tT / 2)) < 2;
        if(!tRail && !tRung) return false;
        sColour = al_map_rgb(200, 150, 60);
        return true;
    }

    // Colour of world unit (x, y) on layer 1: clear air (the map's background packs show
    // through it), ladders in it, grass on every surface, earth below it with a faint tile
    // check, stone for ledges.
    ALLEGRO_COLOR Layer1Colour(const Layout &pLayout, int32_t pX, int32_t pY)
    {
        if(!IsSolid(pLayout, pX, pY))
        {
            ALLEGRO_COLOR tLadder;
            if(LadderColour(pLayout, pX, pY, tLadder)) return tLadder;
            return al_map_rgba(0, 0, 0, 0);
        }
        const int32_t tT = pLayout.mTileSize;
        const bool tCheck = ((pX / tT) + (pY / tT)) % 2 == 0;
        const char tTile = TileAt(pLayout, pX / tT, pY / tT);
        if(tTile == '=') return tCheck ? al_map_rgb(128, 128, 140) : al_map_rgb(112, 112, 124);
        // Ice must not read as grass: she cannot stop on it.
        if(tTile == '~')
        {
            if(IsSurface(pLayout, pX, pY)) return al_map_rgb(235, 250, 255);
            return tCheck ? al_map_rgb(150, 200, 230) : al_map_rgb(130, 185, 220);
        }
        if(IsSurface(pLayout, pX, pY)) return al_map_rgb(70, 170, 60);
        return tCheck ? al_map_rgb(132, 92, 56) : al_map_rgb(120, 82, 50);
    }

    // Layer 2: spikes over a transparent ground.
    ALLEGRO_COLOR Layer2Colour(const Layout &pLayout, int32_t pX, int32_t pY)
    {
        ALLEGRO_COLOR tSpike;
        if(SpikeColour(pLayout, pX, pY, tSpike)) return tSpike;
        return al_map_rgba(0, 0, 0, 0);
    }

    bool ChunkHasSpikes(const Layout &pLayout, int32_t pColumn, int32_t pRow)
    {
        const int32_t tPerChunk = pLayout.mChunkSize / pLayout.mTileSize;
        for(int32_t y = 0; y < tPerChunk; y++)
        {
            for(int32_t x = 0; x < tPerChunk; x++)
            {
                if(TileAt(pLayout, pColumn * tPerChunk + x, pRow * tPerChunk + y) == '^') return true;
            }
        }
        return false;
    }

    // Signs on the first layer, behind her: a post from the ground up to a board that holds
    // the text in the built-in 8 by 8 font, a line per '|'. Drawn into the chunk whose top-left
    // corner is (pChunkX, pChunkY); a sign across a chunk edge is cut there and drawn on.
    void DrawSigns(const Layout &pLayout, int32_t pChunkX, int32_t pChunkY)
    {
        if(!xSignFont || pLayout.mSignCount < 1) return;
        ALLEGRO_TRANSFORM tPlace;
        al_identity_transform(&tPlace);
        al_translate_transform(&tPlace, (float)-pChunkX, (float)-pChunkY);
        al_use_transform(&tPlace);
        for(int32_t i = 0; i < pLayout.mSignCount; i++)
        {
            const SignLine &rSign = pLayout.mSigns[i];
            char tLines[cSignText];
            memcpy(tLines, rSign.mText, sizeof(tLines));
            int32_t tLineCount = 1;
            size_t tLongest = 0;
            size_t tRun = 0;
            for(size_t c = 0; tLines[c]; c++)
            {
                if(tLines[c] == '|')
                {
                    tLines[c] = '\0';
                    tLineCount++;
                    tRun = 0;
                    continue;
                }
                tRun++;
                if(tRun > tLongest) tLongest = tRun;
            }
            const float tHalf = 4.0f * (float)tLongest + 4.0f;
            const float tBottom = (float)rSign.mY - 24.0f;
            const float tTop = tBottom - 10.0f * (float)tLineCount - 4.0f;
            const float tX = (float)rSign.mX;
            al_draw_filled_rectangle(tX - 2.0f, tBottom, tX + 2.0f, (float)rSign.mY, al_map_rgb(110, 75, 40));
            al_draw_filled_rectangle(tX - tHalf - 2.0f, tTop - 2.0f, tX + tHalf + 2.0f, tBottom, al_map_rgb(110, 75, 40));
            al_draw_filled_rectangle(tX - tHalf, tTop, tX + tHalf, tBottom - 2.0f, al_map_rgb(236, 214, 160));
            const char *rLine = tLines;
            for(int32_t l = 0; l < tLineCount; l++)
            {
                al_draw_text(xSignFont, al_map_rgb(60, 35, 15), tX, tTop + 2.0f + 10.0f * (float)l, ALLEGRO_ALIGN_CENTRE, rLine);
                rLine += strlen(rLine) + 1;
            }
        }
        al_identity_transform(&tPlace);
        al_use_transform(&tPlace);
    }

    bool WritePicture(const Layout &pLayout, int32_t pColumn, int32_t pRow, int32_t pLayer, const char *pPath)
    {
        const int32_t tS = pLayout.mChunkSize;
        ALLEGRO_BITMAP *nBitmap = al_create_bitmap(tS, tS);
        if(!nBitmap) return false;
        al_lock_bitmap(nBitmap, ALLEGRO_PIXEL_FORMAT_ANY, ALLEGRO_LOCK_WRITEONLY);
        al_set_target_bitmap(nBitmap);
        for(int32_t y = 0; y < tS; y++)
        {
            for(int32_t x = 0; x < tS; x++)
            {
                const int32_t tX = pColumn * tS + x;
                const int32_t tY = pRow * tS + y;
                al_put_pixel(x, y, pLayer == 0 ? Layer1Colour(pLayout, tX, tY) : Layer2Colour(pLayout, tX, tY));
            }
        }
        al_unlock_bitmap(nBitmap);
        if(pLayer == 0) DrawSigns(pLayout, pColumn * tS, pRow * tS);
        bool tSaved = al_save_bitmap(pPath, nBitmap);
        al_destroy_bitmap(nBitmap);
        return tSaved;
    }

    // Reads a double-quoted text (or one word) after the given position into pOut.
    void ReadText(const char *pFrom, char *pOut, size_t pSize)
    {
        while(*pFrom == ' ' || *pFrom == '\t') pFrom++;
        const char tEnd = *pFrom == '"' ? '"' : ' ';
        if(*pFrom == '"') pFrom++;
        size_t i = 0;
        while(pFrom[i] && pFrom[i] != tEnd && pFrom[i] != '\n' && pFrom[i] != '\r' && i + 1 < pSize)
        {
            pOut[i] = pFrom[i];
            i++;
        }
        pOut[i] = '\0';
    }

    bool Fail(const char *pPath, int32_t pLine, const char *pWhat)
    {
        fprintf(stderr, "genlevelart: %s:%i: %s\n", pPath, pLine, pWhat);
        return false;
    }

    bool ReadLayout(const char *pPath, Layout &sLayout)
    {
        FILE *fIn = fopen(pPath, "r");
        if(!fIn) return Fail(pPath, 0, "cannot open");
        char tLine[cLineSize];
        int32_t tLineNumber = 0;
        int32_t tTileRow = -1;
        bool tSound = true;
        while(tSound && fgets(tLine, sizeof(tLine), fIn))
        {
            tLineNumber++;
            tLine[strcspn(tLine, "\r\n")] = '\0';
            if(tTileRow >= 0)
            {
                if(!strcmp(tLine, "end"))
                {
                    tTileRow = -2;
                    continue;
                }
                if(tTileRow >= sLayout.mTileRows)
                {
                    tSound = Fail(pPath, tLineNumber, "more tile rows than the grid holds");
                    break;
                }
                size_t tLength = strlen(tLine);
                if(tLength > (size_t)sLayout.mTileColumns)
                {
                    tSound = Fail(pPath, tLineNumber, "tile row longer than the grid");
                    break;
                }
                memcpy(&sLayout.mTiles[(size_t)tTileRow * sLayout.mTileColumns], tLine, tLength);
                tTileRow++;
                continue;
            }
            if(tLine[0] == '#' || tLine[0] == '\0') continue;
            if(!strncmp(tLine, "grid ", 5))
            {
                if(sscanf(tLine + 5, "%i %i %i %i", &sLayout.mColumns, &sLayout.mRows, &sLayout.mChunkSize,
                          &sLayout.mTileSize) != 4 || sLayout.mColumns < 1 || sLayout.mRows < 1 ||
                   sLayout.mColumns > cMaxGrid || sLayout.mRows > cMaxGrid || sLayout.mTileSize < 2 ||
                   sLayout.mChunkSize < sLayout.mTileSize || sLayout.mChunkSize > cMaxChunk ||
                   sLayout.mChunkSize % sLayout.mTileSize != 0)
                {
                    tSound = Fail(pPath, tLineNumber, "grid needs COLUMNS ROWS CHUNKSIZE TILESIZE, the chunk a whole number of tiles");
                }
            }
            else if(!strncmp(tLine, "prefixes ", 9))
            {
                if(sscanf(tLine + 9, "%255s %255s %255s", sLayout.mPrefixA, sLayout.mPrefixB, sLayout.mClipPrefix) != 3)
                {
                    tSound = Fail(pPath, tLineNumber, "prefixes needs three names");
                }
            }
            else if(!strncmp(tLine, "level ", 6))
            {
                char *rEnd = nullptr;
                long tNumber = strtol(tLine + 6, &rEnd, 10);
                if(rEnd == tLine + 6 || tNumber < 0 || tNumber > 255) tSound = Fail(pPath, tLineNumber, "level needs NUMBER NAME");
                sLayout.mLevelNumber = (int32_t)tNumber;
                if(tSound) ReadText(rEnd, sLayout.mLevelName, sizeof(sLayout.mLevelName));
            }
            else if(!strncmp(tLine, "spawn ", 6))
            {
                SpawnLine &rSpawn = sLayout.mSpawns[sLayout.mSpawnCount < cMaxSpawns ? sLayout.mSpawnCount : 0];
                if(sLayout.mSpawnCount >= cMaxSpawns) tSound = Fail(pPath, tLineNumber, "more than 100 spawns");
                else if(sscanf(tLine + 6, "%31s %i %i", rSpawn.mPreset, &rSpawn.mX, &rSpawn.mY) != 3)
                {
                    tSound = Fail(pPath, tLineNumber, "spawn needs PRESET X Y");
                }
                else sLayout.mSpawnCount++;
            }
            else if(!strncmp(tLine, "sign ", 5))
            {
                SignLine &rSign = sLayout.mSigns[sLayout.mSignCount < cMaxSigns ? sLayout.mSignCount : 0];
                int tUsed = 0;
                if(sLayout.mSignCount >= cMaxSigns) tSound = Fail(pPath, tLineNumber, "more than 32 signs");
                else if(sscanf(tLine + 5, "%i %i%n", &rSign.mX, &rSign.mY, &tUsed) != 2 || tUsed < 1)
                {
                    tSound = Fail(pPath, tLineNumber, "sign needs X Y TEXT");
                }
                else
                {
                    ReadText(tLine + 5 + tUsed, rSign.mText, sizeof(rSign.mText));
                    if(!rSign.mText[0]) tSound = Fail(pPath, tLineNumber, "sign needs X Y TEXT");
                    else sLayout.mSignCount++;
                }
            }
            else if(!strcmp(tLine, "tiles"))
            {
                if(sLayout.mColumns < 1) tSound = Fail(pPath, tLineNumber, "tiles before grid");
                if(!tSound) break;
                const int32_t tPerChunk = sLayout.mChunkSize / sLayout.mTileSize;
                sLayout.mTileColumns = sLayout.mColumns * tPerChunk;
                sLayout.mTileRows = sLayout.mRows * tPerChunk;
                sLayout.mTiles = (char *)malloc((size_t)sLayout.mTileColumns * sLayout.mTileRows);
                if(!sLayout.mTiles) tSound = Fail(pPath, tLineNumber, "out of memory");
                else memset(sLayout.mTiles, '.', (size_t)sLayout.mTileColumns * sLayout.mTileRows);
                tTileRow = 0;
            }
            else
            {
                tSound = Fail(pPath, tLineNumber, "unknown directive");
            }
        }
        fclose(fIn);
        if(tSound && tTileRow != -2) tSound = Fail(pPath, tLineNumber, "no tiles ... end block");
        if(tSound && (!sLayout.mPrefixA[0] || !sLayout.mClipPrefix[0])) tSound = Fail(pPath, tLineNumber, "no prefixes");
        return tSound;
    }

    bool WriteManifest(const Layout &pLayout, const char *pOutDir)
    {
        char tPath[1024];
        snprintf(tPath, sizeof(tPath), "%s/Map.slfm", pOutDir);
        FILE *fOut = fopen(tPath, "w");
        if(!fOut) return Fail(tPath, 0, "cannot write");

        fprintf(fOut, "# Generated by genlevelart; edit the layout instead.\n");
        fprintf(fOut, "header \"Kestra map\"\n");
        fprintf(fOut, "mapinfo AMapInfo 1 %i %i %i %i %s %s %s %i \"%s\"\n", pLayout.mColumns, pLayout.mRows,
                pLayout.mChunkSize, pLayout.mChunkSize, pLayout.mPrefixA, pLayout.mPrefixB, pLayout.mClipPrefix,
                pLayout.mLevelNumber, pLayout.mLevelName);
        bool tSound = true;
        char tPicture[1024];
        for(int32_t c = 0; c < pLayout.mColumns && tSound; c++)
        {
            for(int32_t r = 0; r < pLayout.mRows && tSound; r++)
            {
                snprintf(tPicture, sizeof(tPicture), "%s/chunks/%s%03i%03i.png", pOutDir, pLayout.mPrefixA, c, r);
                tSound = WritePicture(pLayout, c, r, 0, tPicture);
                fprintf(fOut, "image %s%03i%03i chunks/%s%03i%03i.png\n", pLayout.mPrefixA, c, r, pLayout.mPrefixA, c, r);
                if(tSound && ChunkHasSpikes(pLayout, c, r))
                {
                    snprintf(tPicture, sizeof(tPicture), "%s/chunks/%s%03i%03i.png", pOutDir, pLayout.mPrefixB, c, r);
                    tSound = WritePicture(pLayout, c, r, 1, tPicture);
                    fprintf(fOut, "image %s%03i%03i chunks/%s%03i%03i.png\n", pLayout.mPrefixB, c, r, pLayout.mPrefixB, c, r);
                }

                fprintf(fOut, "clip %s%03i%03i %i %i\n", pLayout.mClipPrefix, c, r, pLayout.mChunkSize, pLayout.mChunkSize);
                for(int32_t y = 0; y < pLayout.mChunkSize; y++)
                {
                    for(int32_t x = 0; x < pLayout.mChunkSize; x++)
                    {
                        fputc(IsSolid(pLayout, c * pLayout.mChunkSize + x, r * pLayout.mChunkSize + y) ? '#' : '.', fOut);
                    }
                    fputc('\n', fOut);
                }
                fprintf(fOut, "end\n");
            }
        }
        if(pLayout.mSpawnCount > 0)
        {
            fprintf(fOut, "spawns BSpawnInfo\n");
            for(int32_t i = 0; i < pLayout.mSpawnCount; i++)
            {
                fprintf(fOut, "%s %i %i\n", pLayout.mSpawns[i].mPreset, pLayout.mSpawns[i].mX, pLayout.mSpawns[i].mY);
            }
            fprintf(fOut, "end\n");
        }
        if(!tSound) fprintf(stderr, "genlevelart: cannot write the pictures under %s/chunks\n", pOutDir);
        fclose(fOut);
        return tSound;
    }
}

int main(int pArgc, char **pArgv)
{
    if(pArgc != 3)
    {
        fprintf(stderr, "usage: genlevelart LAYOUT.txt OUTPUT_DIR\n");
        return 1;
    }
    if(!al_init() || !al_init_image_addon() || !al_init_primitives_addon() || !al_init_font_addon())
    {
        fprintf(stderr, "genlevelart: Allegro could not start\n");
        return 1;
    }
    al_set_new_bitmap_flags(ALLEGRO_MEMORY_BITMAP);
    xSignFont = al_create_builtin_font();

    Layout tLayout;
    memset(&tLayout, 0, sizeof(tLayout));
    bool tSound = ReadLayout(pArgv[1], tLayout);
    if(tSound)
    {
        char tChunks[1024];
        snprintf(tChunks, sizeof(tChunks), "%s/chunks", pArgv[2]);
        mkdir(pArgv[2], 0755);
        mkdir(tChunks, 0755);
        tSound = WriteManifest(tLayout, pArgv[2]);
    }
    free(tLayout.mTiles);
    if(xSignFont) al_destroy_font(xSignFont);
    return tSound ? 0 : 1;
}

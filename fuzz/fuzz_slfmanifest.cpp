// slfpack's manifest reader: the input is a manifest, read from memory as if it stood in the
// scratch directory beside a 2 by 2 picture "Pic.png" and a script "Script.lua". A manifest that
// reads without a mistake must give a file that the engine opens with every lump in it.
#include <allegro5/allegro.h>
#include <allegro5/allegro_image.h>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "core/data/CorvelLumpManager.h"
#include "core/data/LumpManifest.h"
#include "core/data/LumpWriter.h"
#include "support/FuzzSupport.h"

namespace
{
    // The reader takes a clip's cells as one byte each before it packs them, as the tool always
    // has; a clip near 65535 by 65535 is a legal manifest that needs gigabytes, which is the
    // fuzzer's memory limit and not a fault. Such inputs are passed over, found with the reader's
    // own tokenising (blanks, tabs, quotes).
    const int64_t cMaxClipCells = 1 << 22;

    bool IsBlank(char pLetter)
    {
        return pLetter == ' ' || pLetter == '\t' || pLetter == '\r' || pLetter == '\n';
    }

    // The first four tokens of the line at pLine (ending at a newline or pEnd), quotes removed.
    int32_t FirstTokens(const char *pLine, const char *pEnd, char pTokens[4][32])
    {
        int32_t tCount = 0;
        const char *rCursor = pLine;
        while(tCount < 4 && rCursor < pEnd && *rCursor != '\n')
        {
            while(rCursor < pEnd && *rCursor != '\n' && IsBlank(*rCursor)) rCursor++;
            if(rCursor >= pEnd || *rCursor == '\n') break;
            bool tQuoted = *rCursor == '"';
            if(tQuoted) rCursor++;
            size_t tLength = 0;
            while(rCursor < pEnd && *rCursor != '\n' && (tQuoted ? *rCursor != '"' : !IsBlank(*rCursor)))
            {
                if(tLength < 31) pTokens[tCount][tLength++] = *rCursor;
                rCursor++;
            }
            if(tQuoted && rCursor < pEnd && *rCursor == '"') rCursor++;
            pTokens[tCount][tLength] = '\0';
            tCount++;
        }
        return tCount;
    }

    bool AsksForAHugeClip(const char *pText, size_t pSize)
    {
        const char *rEnd = pText + pSize;
        for(const char *rLine = pText; rLine < rEnd;)
        {
            char tTokens[4][32];
            if(FirstTokens(rLine, rEnd, tTokens) == 4 && !strcmp(tTokens[0], "clip"))
            {
                // The reader refuses sizes outside 0..65535 before it allocates.
                long long tColumns = strtoll(tTokens[2], nullptr, 10);
                long long tRows = strtoll(tTokens[3], nullptr, 10);
                bool tInRange = tColumns >= 0 && tColumns <= 65535 && tRows >= 0 && tRows <= 65535;
                if(tInRange && (int64_t)tColumns * tRows > cMaxClipCells) return true;
            }
            const char *rBreak = (const char *)memchr(rLine, '\n', (size_t)(rEnd - rLine));
            rLine = rBreak ? rBreak + 1 : rEnd;
        }
        return false;
    }

    // Device and process files never end or change under the reader.
    bool NamesASystemFile(const char *pText, size_t pSize)
    {
        const char *cRoots[] = {"/dev", "/proc", "/sys"};
        for(const char *rRoot : cRoots)
        {
            size_t tLength = strlen(rRoot);
            for(size_t i = 0; i + tLength <= pSize; i++)
            {
                if(!memcmp(pText + i, rRoot, tLength)) return true;
            }
        }
        return false;
    }

    char xManifestPath[4096];
}

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    if(!al_init() || !al_init_image_addon()) FuzzFail("cannot start Allegro's image loader");
    al_set_new_bitmap_flags(ALLEGRO_MEMORY_BITMAP);
    ALLEGRO_BITMAP *rPicture = al_create_bitmap(2, 2);
    if(!rPicture) FuzzFail("cannot make the picture");
    al_set_target_bitmap(rPicture);
    al_clear_to_color(al_map_rgba(48, 96, 208, 255));
    al_put_pixel(1, 1, al_map_rgba(240, 160, 32, 255));
    al_set_target_bitmap(nullptr);
    bool tSaved = al_save_bitmap(FuzzScratchPath("Pic.png"), rPicture);
    al_destroy_bitmap(rPicture);
    if(!tSaved) FuzzFail("cannot save the picture");

    const char cScript[] = "MapM_SetPlayerStart(12, 20, 0)\n";
    if(!FuzzWriteFile(FuzzScratchPath("Script.lua"), (const uint8_t *)cScript, sizeof(cScript) - 1)) FuzzFail("cannot write the script");
    snprintf(xManifestPath, sizeof(xManifestPath), "%s", FuzzScratchPath("Fuzz.slfm"));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *pData, size_t pSize)
{
    const char *rText = (const char *)pData;
    if(pSize == 0 || AsksForAHugeClip(rText, pSize) || NamesASystemFile(rText, pSize)) return 0;

    FILE *fManifest = fmemopen((void *)pData, pSize, "r");
    if(!fManifest) FuzzFail("cannot read %zu bytes as a stream", pSize);
    LumpWriter tWriter;
    bool tRead = ReadLumpManifest(fManifest, xManifestPath, &tWriter);
    fclose(fManifest);
    if(!tRead) return 0;

    uint32_t tSize = 0;
    uint8_t *tFile = tWriter.Build(&tSize);
    if(!tFile) FuzzFail("a manifest that read cleanly gave no file");
    const char *rPath = FuzzScratchPath("Fuzz.slf");
    bool tWritten = FuzzWriteFile(rPath, tFile, tSize);
    free(tFile);
    if(!tWritten) FuzzFail("cannot write %s", rPath);

    CorvelLumpManager tLumps;
    tLumps.Open(rPath);
    if(!tLumps.IsOpen()) FuzzFail("the engine refused the file a manifest gave");
    if((int32_t)tLumps.GetLumpCount() != tWriter.GetLumpCount())
    {
        FuzzFail("the manifest gave %i lumps, the engine found %u", tWriter.GetLumpCount(), tLumps.GetLumpCount());
    }
    return 0;
}

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <unistd.h>

#include "core/data/CorvelLumpManager.h"
#include "core/data/LumpWriter.h"
#include "world/LineArtLevel.h"

namespace
{

// A 16 by 16 grid of 256-unit chunks (4096 by 4096 world units). Each chunk has a first
// layer of one RGBA pixel, so the file stays small and the figure measures the level side:
// the directory lookups, the image records and the unpacking of 256 clips of 8 KiB each.
const int kGrid = 16;
const int kChunk = 256;

char xMapPath[256] = "";

void RemoveMap()
{
    if(xMapPath[0]) unlink(xMapPath);
}

const char *MapPath()
{
    if(xMapPath[0]) return xMapPath;
    snprintf(xMapPath, sizeof(xMapPath), "/tmp/corvel_mapload_%d.slf", (int)getpid());

    LumpWriter tWriter;
    MapInfoRecord tInfo = LineArtMapInfo(kGrid, kGrid, kChunk, kChunk, "LA", "LB", "CL", "Bench");
    tWriter.AddMapInfo("AMapInfo", &tInfo);

    uint8_t *tCells = (uint8_t *)malloc(kChunk * kChunk);
    for(int i = 0; i < kChunk * kChunk; i++) tCells[i] = (i % 5) == 0;
    const uint8_t tPixel[4] = {40, 120, 200, 255};
    LumpImageLayout tLayout;
    memset(&tLayout, 0, sizeof(tLayout));
    tLayout.mCompression = 7;
    tLayout.mFullWidth = tLayout.mWidth = kChunk;
    tLayout.mFullHeight = tLayout.mHeight = kChunk;
    tLayout.rData = tPixel;
    tLayout.mDataSize = sizeof(tPixel);
    char tName[32];
    for(int c = 0; c < kGrid; c++)
    {
        for(int r = 0; r < kGrid; r++)
        {
            snprintf(tName, sizeof(tName), "LA%03i%03i", c, r);
            tWriter.AddImage(tName, &tLayout);
            snprintf(tName, sizeof(tName), "CL%03i%03i", c, r);
            tWriter.AddClip(tName, kChunk, kChunk, tCells);
        }
    }
    free(tCells);
    if(!tWriter.WriteToFile(xMapPath)) xMapPath[0] = '\0';
    atexit(RemoveMap);
    return xMapPath;
}

// Opening the file and building and precaching its level, as a map load does before the
// script runs.
void BM_LoadSixteenBySixteenChunkMap(benchmark::State &pState)
{
    const char *rPath = MapPath();
    if(!rPath[0])
    {
        pState.SkipWithError("could not write the map");
        return;
    }
    CorvelLumpManager tLumps;
    for(auto _ : pState)
    {
        tLumps.Close();
        tLumps.Open(rPath);
        LineartLevel *nLevel = GetLineartLevel(&tLumps, "AMapInfo");
        bool tLoaded = nLevel && LevelPrecache(&tLumps, nLevel);
        benchmark::DoNotOptimize(tLoaded);
        delete nLevel;
    }
    pState.SetItemsProcessed(pState.iterations() * kGrid * kGrid);
}
BENCHMARK(BM_LoadSixteenBySixteenChunkMap)->Unit(benchmark::kMillisecond);

// Point tests spread over the loaded level; constant time whatever the grid.
void BM_LoadedLevelPointTests(benchmark::State &pState)
{
    const char *rPath = MapPath();
    CorvelLumpManager tLumps;
    tLumps.Open(rPath);
    LineartLevel *nLevel = GetLineartLevel(&tLumps, "AMapInfo");
    if(!nLevel || !LevelPrecache(&tLumps, nLevel))
    {
        delete nLevel;
        pState.SkipWithError("could not load the map");
        return;
    }
    int32_t tX = 0;
    for(auto _ : pState)
    {
        tX = (tX + 257) % (kGrid * kChunk);
        benchmark::DoNotOptimize(nLevel->IsClipped(tX, (tX * 7) % (kGrid * kChunk)));
    }
    delete nLevel;
}
BENCHMARK(BM_LoadedLevelPointTests);

}

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sys/resource.h>
#include <unistd.h>

#include "core/data/CorvelLumpManager.h"
#include "core/data/LumpWriter.h"
#include "core/render/Bitmap.h"

namespace
{

// A map the size of a real level: 8 x 4 chunks of 256 x 256, two RGBA layers and a clip each
// (about 16 MiB).
const int kColumns = 8;
const int kRows = 4;
const int kChunk = 256;

char xMapPath[256] = "";

const char *MapPath()
{
    char *sPath = xMapPath;
    if(sPath[0]) return sPath;
    snprintf(sPath, sizeof(xMapPath), "/tmp/corvel_lumpbench_%d.slf", (int)getpid());

    LumpWriter tWriter;
    uint32_t tPixelBytes = kChunk * kChunk * 4;
    uint8_t *tPixels = (uint8_t *)malloc(tPixelBytes);
    uint8_t *tCells = (uint8_t *)malloc(kChunk * kChunk);
    for(uint32_t i = 0; i < tPixelBytes; i++) tPixels[i] = (uint8_t)(i * 31);
    for(int i = 0; i < kChunk * kChunk; i++) tCells[i] = (i % 7) == 0;

    MapInfoRecord tInfo = LineArtMapInfo(kColumns, kRows, kChunk, kChunk, "LayerA", "LayerB", "Clip", "Bench");
    tWriter.AddMapInfo("AMapInfo", &tInfo);

    LumpImageLayout tLayout = RGBAImageLayout(kChunk, kChunk, tPixels);
    for(int c = 0; c < kColumns; c++)
    {
        for(int r = 0; r < kRows; r++)
        {
            char tName[32];
            snprintf(tName, sizeof(tName), "LayerA%03i%03i", c, r);
            tWriter.AddImage(tName, &tLayout);
            snprintf(tName, sizeof(tName), "LayerB%03i%03i", c, r);
            tWriter.AddImage(tName, &tLayout);
            snprintf(tName, sizeof(tName), "Clip%03i%03i", c, r);
            tWriter.AddClip(tName, kChunk, kChunk, tCells);
        }
    }
    free(tPixels);
    free(tCells);
    if(!tWriter.WriteToFile(sPath)) sPath[0] = '\0';
    return sPath;
}

long PeakResidentKiB()
{
    struct rusage tUsage;
    getrusage(RUSAGE_SELF, &tUsage);
    return tUsage.ru_maxrss;
}

// Opens the map and decodes every image lump of both layers, the work of a level precache
// short of the upload. Peak memory: the file held whole plus the largest record alive.
void BM_OpenMapAndReadAllImages(benchmark::State &state)
{
    const char *rPath = MapPath();
    if(!rPath[0])
    {
        state.SkipWithError("could not write the map file");
        return;
    }
    int64_t tImageBytes = 0;
    int64_t tPeakLive = 0;
    for(auto _ : state)
    {
        CorvelLumpManager tManager;
        tManager.Open(rPath);
        if(!tManager.IsOpen())
        {
            state.SkipWithError("could not open the map file");
            return;
        }
        int64_t tLive = 0;
        for(int c = 0; c < kColumns; c++)
        {
            for(int r = 0; r < kRows; r++)
            {
                char tNameA[32], tNameB[32];
                snprintf(tNameA, sizeof(tNameA), "LayerA%03i%03i", c, r);
                snprintf(tNameB, sizeof(tNameB), "LayerB%03i%03i", c, r);
                ImageRecord *tFirst = nullptr, *tSecond = nullptr;
                tManager.ImageLump(tNameA, tNameB, &tFirst, &tSecond);
                int64_t tPair = (tFirst ? tFirst->mDataSize : 0) + (tSecond ? tSecond->mDataSize : 0);
                tImageBytes += tPair;
                tLive = tPair > tLive ? tPair : tLive;
                benchmark::DoNotOptimize(tFirst);
                ImageRecord::Free(tFirst);
                ImageRecord::Free(tSecond);
            }
        }
        tPeakLive = tLive;
    }
    FILE *fMap = fopen(rPath, "rb");
    long tFileBytes = 0;
    if(fMap)
    {
        fseek(fMap, 0, SEEK_END);
        tFileBytes = ftell(fMap);
        fclose(fMap);
    }
    state.SetBytesProcessed(tImageBytes);
    state.counters["images"] = kColumns * kRows * 2;
    state.counters["file_KiB"] = (double)tFileBytes / 1024.0;
    state.counters["peak_live_KiB"] = (double)(tFileBytes + tPeakLive) / 1024.0;
    state.counters["peak_rss_KiB"] = (double)PeakResidentKiB();
}
BENCHMARK(BM_OpenMapAndReadAllImages)->Unit(benchmark::kMillisecond);

// Lookups alone: the binary search over the map's directory.
void BM_FindLump(benchmark::State &state)
{
    const char *rPath = MapPath();
    CorvelLumpManager tManager;
    tManager.Open(rPath);
    if(!tManager.IsOpen())
    {
        state.SkipWithError("could not open the map file");
        return;
    }
    int32_t tFound = 0;
    for(auto _ : state)
    {
        tFound += tManager.FindLump("LayerB004002") >= 0;
        tFound += tManager.FindLump("Missing") >= 0;
    }
    benchmark::DoNotOptimize(tFound);
}
BENCHMARK(BM_FindLump);

// Removes the generated map when the benchmark program ends.
struct MapCleanup
{
    ~MapCleanup()
    {
        if(xMapPath[0]) unlink(xMapPath);
    }
} xMapCleanup;

} // namespace

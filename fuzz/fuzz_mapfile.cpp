// Map loading from a lump file: the input is "Data/Maps/Fuzz.slf", loaded the way a map change
// loads it (map information, level, every chunk's layers and clip, the world reset). A level
// that loads is then streamed over its whole area with stand-in graphics hooks, whose upload
// reads every byte the real one would, and its clip is queried around every chunk's edges.
// Every spawn kept lies inside the coordinate limit.
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

#include "core/Application.h"
#include "core/Geometry.h"
#include "core/LuaManager.h"
#include "core/data/CorvelLumpManager.h"
#include "core/data/LumpRecords.h"
#include "core/render/Bitmap.h"
#include "core/render/LoadingScreen.h"
#include "support/FuzzSupport.h"
#include "world/Camera.h"
#include "world/CameraManager.h"
#include "world/LineArtLevel.h"
#include "world/MapManager.h"

namespace
{
    // A legal grid of up to 999 by 999 chunks takes its time to load: under the sanitizers some
    // 40 microseconds a chunk, so the largest grids would pass for hangs, and large ones crowd
    // out everything else in a 30-second run. Larger grids than this are passed over; nothing
    // sized by the grid differs between this and the largest.
    const int64_t cMaxChunks = 1 << 12;

    volatile uint32_t xSink = 0;
    char xHome[PATH_MAX];

    uint32_t CheckingUpload(ImageRecord *pImage)
    {
        if(!pImage) FuzzFail("a chunk layer without an image was uploaded");
        int64_t tNeeded = RequiredImageDataSize(pImage->mWidth, pImage->mHeight, pImage->mCompressionFlag);
        if(tNeeded > pImage->mDataSize) FuzzFail("a chunk image of %i bytes would upload %lli", pImage->mDataSize, (long long)tNeeded);
        if(tNeeded > 0) xSink = xSink + pImage->mData[0] + pImage->mData[tNeeded - 1];
        return tNeeded > 0 ? 1 : 0;
    }

    void NoRelease(uint32_t, uint32_t)
    {
    }

    bool IsGridTooSlow(const char *pPath)
    {
        CorvelLumpManager tLumps;
        tLumps.Open(pPath);
        MapInfoRecord *rInfo = tLumps.IsOpen() ? tLumps.ReadMapInfo("AMapInfo") : nullptr;
        bool tTooSlow = rInfo && (int64_t)rInfo->mColumns * rInfo->mRows > cMaxChunks;
        FreeMapInfoRecord(rInfo);
        return tTooSlow;
    }

    // Streams the level under frames that sweep its whole area, then asks the clip map about the
    // cells on both sides of every chunk edge and beyond the level.
    void ExerciseLevel(MapManager *pMap)
    {
        LineartLevel *rLevel = pMap->GetLevel();
        if(!rLevel) return;
        int32_t tWidth = 0;
        int32_t tHeight = 0;
        rLevel->GetSize(tWidth, tHeight);
        uint32_t tColumns = 0;
        uint32_t tRows = 0;
        rLevel->GetGridSize(tColumns, tRows);
        int32_t tChunkW = (int32_t)rLevel->GetChunkWidth();
        int32_t tChunkH = (int32_t)rLevel->GetChunkHeight();

        const float cView = 320.0f;
        for(float tY = -cView; tY <= (float)tHeight + cView; tY += (float)tHeight / 2.0f + cView)
        {
            for(float tX = -cView; tX <= (float)tWidth + cView; tX += (float)tWidth / 2.0f + cView)
            {
                rLevel->Update(tX, tY, tX + cView, tY + cView);
            }
        }
        pMap->Update();

        uint32_t tSolid = 0;
        for(uint32_t c = 0; c <= tColumns && c < 8; c++)
        {
            for(uint32_t r = 0; r <= tRows && r < 8; r++)
            {
                int32_t tX = (int32_t)c * tChunkW;
                int32_t tY = (int32_t)r * tChunkH;
                for(int32_t d = -1; d <= 1; d++) tSolid += pMap->IsClipped(tX + d, tY + d) + pMap->IsClipped(tX + d, tY - d);
            }
        }
        tSolid += pMap->IsClipped(-1, -1) + pMap->IsClipped(tWidth, tHeight) + pMap->IsClipped(INT_MAX, INT_MIN);
        xSink = xSink + tSolid;
    }

    // Positions widened by a view or a box must stay in the int range.
    void CheckSpawns(const MapManager *pMap)
    {
        int32_t tCount = 0;
        const SpawnRecord *rRecords = pMap->GetSpawnRecords(tCount);
        for(int32_t i = 0; rRecords && i < tCount; i++)
        {
            if(llabs(rRecords[i].mX) > GEOMETRY_COORDINATE_LIMIT || llabs(rRecords[i].mY) > GEOMETRY_COORDINATE_LIMIT)
                FuzzFail("spawn %i at %i %i was kept", i, rRecords[i].mX, rRecords[i].mY);
        }
    }
}

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    FuzzScratchDirectory();
    mkdir(FuzzScratchPath("Data"), 0755);
    mkdir(FuzzScratchPath("Data/Maps"), 0755);
    mkdir(FuzzScratchPath("Data/Scripts"), 0755);
    mkdir(FuzzScratchPath("Data/Scripts/Maps"), 0755);

    Application *rApp = GetApplication();
    rApp->mLuaManager = new LuaManager();
    rApp->mLumpManager = new CorvelLumpManager();
    rApp->mCameraManager = new CameraManager();
    rApp->mMapManager = new MapManager();
    rApp->mLoadingScreen = new LoadingScreen();
    MapManager::RegisterLua(rApp->mLuaManager->GetState());
    RegisterCameraLua(rApp->mLuaManager->GetState());
    LineartLevel::SetGraphicsHooks(CheckingUpload, NoRelease);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *pData, size_t pSize)
{
    const char *rPath = FuzzScratchPath("Data/Maps/Fuzz.slf");
    if(!FuzzWriteFile(rPath, pData, pSize)) FuzzFail("cannot write the map");
    if(IsGridTooSlow(rPath)) return 0;

    // The map manager reads from the working directory; libFuzzer writes its files after the
    // input returns, from where it started.
    if(!getcwd(xHome, sizeof(xHome)) || chdir(FuzzScratchDirectory()) != 0) FuzzFail("cannot enter the scratch directory");
    {
        FuzzPrintStackGuard tGuard;
        Application *rApp = GetApplication();
        // Each input starts from no open file and no level, so that it replays alone.
        rApp->mLumpManager->Close();
        rApp->mMapManager->ClearLevel();
        rApp->mMapManager->LoadMapFile("Fuzz");
        ExerciseLevel(rApp->mMapManager);
        CheckSpawns(rApp->mMapManager);
    }
    if(chdir(xHome) != 0) FuzzFail("cannot go back to %s", xHome);
    return 0;
}

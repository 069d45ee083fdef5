#include "core/Application.h"
#include "core/DebugPrint.h"
#include "core/LuaManager.h"
#include "core/data/CorvelLumpManager.h"
#include "core/data/LumpWriter.h"
#include "core/render/LoadingScreen.h"
#include "support/SavedApplication.h"
#include "support/ScratchFolder.h"
#include "world/Camera.h"
#include "world/CameraManager.h"
#include "world/LineArtLevel.h"
#include "world/MapManager.h"
#include "support/TestText.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace
{
    // The script of the test maps counts its runs and records its argument, so a test can tell
    // whether and how it ran.
    const char *cMapScript =
        "gnRuns = (gnRuns or 0) + 1\n"
        "gsArgument = LM_GetScriptArgument(0)\n"
        "MapM_SetPlayerStart(12, 20, 0)\n"
        "gbFloorSolid = MapM_GetWorldClip(5, 31)\n"
        "gbAirFree = not MapM_GetWorldClip(5, 5)\n";

    // Runs each test in a fresh directory holding Data/Maps and Data/Scripts/Maps, with its own
    // Lua, lump, camera and map managers in the Application, and puts everything back after.
    class MapManagerTest : public ::testing::Test
    {
    protected:
        void SetUp() override
        {
            ASSERT_TRUE(mFolder.IsMade());
            ASSERT_NE(nullptr, getcwd(mPreviousDirectory, sizeof(mPreviousDirectory)));
            ASSERT_EQ(0, chdir(mFolder.Path().c_str()));
            mkdir("Data", 0755);
            mkdir("Data/Maps", 0755);
            mkdir("Data/Scripts", 0755);
            mkdir("Data/Scripts/Maps", 0755);

            Application *rApp = GetApplication();
            mSaved.Save();
            rApp->mLuaManager = new LuaManager();
            rApp->mLumpManager = new CorvelLumpManager();
            rApp->mCameraManager = new CameraManager();
            rApp->mMapManager = new MapManager();
            rApp->mLoadingScreen = new LoadingScreen();
            rApp->mEntityManager = nullptr;
            rApp->mEventQueue = nullptr;
            MapManager::RegisterLua(LuaManager::Fetch()->GetState());
            RegisterCameraLua(LuaManager::Fetch()->GetState());
            mMap = rApp->mMapManager;
            mStackSize = Debug::GetPrintStackSize();
        }

        void TearDown() override
        {
            EXPECT_EQ(mStackSize, Debug::GetPrintStackSize());
            Application *rApp = GetApplication();
            delete rApp->mMapManager;
            delete rApp->mCameraManager;
            delete rApp->mLumpManager;
            delete rApp->mLuaManager;
            delete rApp->mLoadingScreen;
            mSaved.Restore();
            EXPECT_EQ(0, chdir(mPreviousDirectory));
            EXPECT_TRUE(mFolder.Remove());
        }

        // A 2 by 2 grid of 16-unit chunks: a floor on the bottom row of the lower chunks.
        static void AddLevel(LumpWriter &pWriter)
        {
            MapInfoRecord tInfo = LineArtMapInfo(2, 2, 16, 16, "IA", "IB", "CL", "Trial");
            pWriter.AddMapInfo("AMapInfo", &tInfo);

            uint8_t tEmpty[16 * 16];
            uint8_t tFloor[16 * 16];
            memset(tEmpty, 0, sizeof(tEmpty));
            memset(tFloor, 0, sizeof(tFloor));
            for(int32_t x = 0; x < 16; x++) tFloor[15 * 16 + x] = 1;
            uint8_t tPixels[16 * 16 * 4];
            memset(tPixels, 90, sizeof(tPixels));
            LumpImageLayout tLayout = RGBAImageLayout(16, 16, tPixels);
            char tName[16];
            for(int32_t c = 0; c < 2; c++)
            {
                for(int32_t r = 0; r < 2; r++)
                {
                    snprintf(tName, sizeof(tName), "CL%03i%03i", c, r);
                    pWriter.AddClip(tName, 16, 16, r == 1 ? tFloor : tEmpty);
                    snprintf(tName, sizeof(tName), "IA%03i%03i", c, r);
                    pWriter.AddImage(tName, &tLayout);
                }
            }
        }

        static void WriteMap(LumpWriter &pWriter, const char *pName)
        {
            std::string tPath = std::string("Data/Maps/") + pName + ".slf";
            ASSERT_TRUE(pWriter.WriteToFile(tPath.c_str()));
        }

        static void WriteText(const char *pPath, const char *pText)
        {
            FILE *fOut = fopen(pPath, "w");
            ASSERT_NE(nullptr, fOut);
            fputs(pText, fOut);
            fclose(fOut);
        }

        static void WriteLevelMap(const char *pName)
        {
            LumpWriter tWriter;
            AddLevel(tWriter);
            WriteMap(tWriter, pName);
            std::string tScript = std::string("Data/Scripts/Maps/") + pName + ".lua";
            WriteText(tScript.c_str(), cMapScript);
        }

        // Runs a load with standard error captured into sOut.
        bool Load(const char *pName, std::string &sOut)
        {
            testing::internal::CaptureStderr();
            bool tResult = mMap->LoadMapFile(pName);
            sOut = CapturedStderr();
            return tResult;
        }

        double LuaNumber(const char *pGlobal)
        {
            lua_State *L = LuaManager::Fetch()->GetState();
            lua_getglobal(L, pGlobal);
            double tValue = lua_isnumber(L, -1) ? lua_tonumber(L, -1) : -1.0;
            lua_pop(L, 1);
            return tValue;
        }

        std::string LuaString(const char *pGlobal)
        {
            lua_State *L = LuaManager::Fetch()->GetState();
            lua_getglobal(L, pGlobal);
            std::string tValue = lua_isstring(L, -1) ? lua_tostring(L, -1) : "";
            lua_pop(L, 1);
            return tValue;
        }

        bool LuaBool(const char *pGlobal)
        {
            lua_State *L = LuaManager::Fetch()->GetState();
            lua_getglobal(L, pGlobal);
            bool tValue = lua_toboolean(L, -1) != 0;
            lua_pop(L, 1);
            return tValue;
        }

        void RunLua(const char *pCode)
        {
            LuaManager *rLua = LuaManager::Fetch();
            ASSERT_TRUE(rLua->RunChunkText(pCode));
            rLua->Execute();
        }

        Camera *ActiveCamera() { return CameraManager::Fetch()->GetActiveCamera(); }

        ScratchFolder mFolder{"maps"};
        char mPreviousDirectory[PATH_MAX];
        SavedApplication mSaved;
        MapManager *mMap = nullptr;
        int32_t mStackSize = 0;
    };

    // Positions of the texts in order; npos for the first one missing.
    size_t FindInOrder(const std::string &pText, const std::vector<const char *> &pParts)
    {
        size_t tAt = 0;
        for(const char *rPart : pParts)
        {
            tAt = pText.find(rPart, tAt);
            if(tAt == std::string::npos) return tAt;
        }
        return tAt;
    }
}

TEST_F(MapManagerTest, AMapLoadsItsLevelRunsItsScriptAndFitsTheCamera)
{
    WriteLevelMap("Trial");
    std::string tOut;
    ASSERT_TRUE(Load("Trial", tOut));
    EXPECT_EQ(std::string::npos, tOut.find("Warning")) << tOut;
    EXPECT_NE(std::string::npos,
              FindInOrder(tOut, {"[LoadMapFile] Begin\n", "Pathname was Trial\n", "Modified to Data/Maps/Trial.slf\n",
                                 "Map type was 1\n", "Map was 2D Line Art 2Depth\n", "Precaching level\n",
                                 "Storing sizes\n", "Finished 2D Line Art 2Depth\n", "Executing Lua\n", "Complete!\n",
                                 "Setting Camera\n", "[LoadMapFile] Done\n"}))
        << tOut;

    ASSERT_TRUE(mMap->HasLevel());
    EXPECT_STREQ("Trial", mMap->GetMapName());
    EXPECT_EQ(nullptr, mMap->GetPreviousMapName());
    int32_t tW = 0, tH = 0;
    mMap->GetLevel()->GetSize(tW, tH);
    EXPECT_EQ(32, tW);
    EXPECT_EQ(32, tH);

    // The script ran once with -2, and its clip queries already saw the new level.
    EXPECT_EQ(1.0, LuaNumber("gnRuns"));
    EXPECT_EQ("-2.000000", LuaString("gsArgument"));
    EXPECT_TRUE(LuaBool("gbFloorSolid"));
    EXPECT_TRUE(LuaBool("gbAirFree"));
    float tX = 0.0f, tY = 0.0f, tZ = 0.0f;
    mMap->GetPlayerStart(tX, tY, tZ);
    EXPECT_EQ(12.0f, tX);
    EXPECT_EQ(20.0f, tY);

    // Clip queries reach the level through the manager; outside it is solid.
    EXPECT_TRUE(mMap->IsClipped(20, 31));
    EXPECT_FALSE(mMap->IsClipped(20, 30));
    EXPECT_TRUE(mMap->IsClipped(-1, 0));

    float tL = 0, tT = 0, tR = 0, tB = 0;
    ActiveCamera()->GetBoundaries(tL, tT, tR, tB);
    EXPECT_EQ(32.0f, tR);
    EXPECT_EQ(32.0f, tB);
    EXPECT_EQ(0, GetApplication()->mLoadingScreen->GetSuppress());
}

TEST_F(MapManagerTest, ReloadingTheSameMapKeepsTheScriptsWorkAndAnotherMapRunsAgain)
{
    WriteLevelMap("Trial");
    WriteLevelMap("Other");
    std::string tOut;
    ASSERT_TRUE(Load("Trial", tOut));
    ASSERT_TRUE(Load("Trial", tOut));
    EXPECT_EQ(1.0, LuaNumber("gnRuns"));
    EXPECT_EQ(std::string::npos, tOut.find("Executing Lua"));
    EXPECT_STREQ("Trial", mMap->GetPreviousMapName());
    // Without its script the start falls back to the default.
    float tX = 0.0f, tY = 0.0f, tZ = 0.0f;
    mMap->GetPlayerStart(tX, tY, tZ);
    EXPECT_EQ(50.0f, tX);
    EXPECT_TRUE(mMap->HasLevel());

    ASSERT_TRUE(Load("Other", tOut));
    EXPECT_EQ(2.0, LuaNumber("gnRuns"));
    ASSERT_TRUE(Load("Trial", tOut));
    EXPECT_EQ(3.0, LuaNumber("gnRuns"));

    // Leaving for the menus forgets the map, so entering it again runs its script.
    mMap->RunCleanScript();
    EXPECT_FALSE(mMap->HasLevel());
    EXPECT_EQ(nullptr, mMap->GetMapName());
    ASSERT_TRUE(Load("Trial", tOut));
    EXPECT_EQ(4.0, LuaNumber("gnRuns"));
}

TEST_F(MapManagerTest, ScriptBoundariesWinAndMapsWithoutALevelLoadEmpty)
{
    // A type-2 map holds no level: it loads, the old level goes, and the bounds shrink to
    // nothing unless its script sets its own.
    WriteLevelMap("Trial");
    std::string tOut;
    ASSERT_TRUE(Load("Trial", tOut));
    {
        LumpWriter tWriter;
        MapInfoRecord tInfo;
        memset(&tInfo, 0, sizeof(tInfo));
        tInfo.mMapType = 2;
        tWriter.AddMapInfo("AMapInfo", &tInfo);
        WriteMap(tWriter, "Flat");
    }
    ASSERT_TRUE(Load("Flat", tOut));
    EXPECT_NE(std::string::npos, tOut.find("Map type was 2\n"));
    EXPECT_NE(std::string::npos, tOut.find("[LoadMapFile] Warning, no script for map Flat: neither "
                                           "Data/Scripts/Maps/Flat.lua nor Data/Scripts/Maps/Flat/0Init.lua exists\n"))
        << tOut;
    EXPECT_FALSE(mMap->HasLevel());
    EXPECT_TRUE(mMap->IsClipped(5, 5));
    float tL = 0, tT = 0, tR = 0, tB = 0;
    ActiveCamera()->GetBoundaries(tL, tT, tR, tB);
    EXPECT_EQ(0.0f, tR);
    EXPECT_EQ(0.0f, tB);

    WriteLevelMap("Bounded");
    WriteText("Data/Scripts/Maps/Bounded.lua", "Camera_SetProperty(\"Boundaries\", 0, 0, 900, 700)\n");
    ASSERT_TRUE(Load("Bounded", tOut));
    ActiveCamera()->GetBoundaries(tL, tT, tR, tB);
    EXPECT_EQ(900.0f, tR);
    EXPECT_EQ(700.0f, tB);
}

TEST_F(MapManagerTest, MissingAndCorruptMapsFailWithTheirMessageAndTheGameGoesOn)
{
    WriteLevelMap("Trial");
    std::string tOut;
    ASSERT_TRUE(Load("Trial", tOut));

    EXPECT_FALSE(Load("Nowhere", tOut));
    EXPECT_NE(std::string::npos, tOut.find("[LoadMapFile] Failed, file i/o error.\n"));
    EXPECT_EQ(0, GetApplication()->mLoadingScreen->GetSuppress());
    EXPECT_FALSE(mMap->LoadMapFile(nullptr));

    // Not a lump file at all: the directory runs past the end.
    WriteText("Data/Maps/Garbage.slf", "0123456789abcdef\xff\xff\xff\x7f");
    EXPECT_FALSE(Load("Garbage", tOut));
    EXPECT_NE(std::string::npos, tOut.find("[LoadMapFile] Failed, file i/o error.\n"));

    // A lump file without map information.
    {
        LumpWriter tWriter;
        tWriter.AddScript("Readme", "x", 1);
        WriteMap(tWriter, "NoInfo");
    }
    EXPECT_FALSE(Load("NoInfo", tOut));
    EXPECT_NE(std::string::npos, tOut.find("[LoadMapFile] Failed, type was invalid or no MapInfo found.\n"));

    // Map information whose clips do not match its chunks loads without their masks; one whose
    // grid is cut short is refused.
    {
        LumpWriter tWriter;
        MapInfoRecord tInfo = LineArtMapInfo(1, 1, 32, 32, "IA", "IB", "CL", nullptr);
        tWriter.AddMapInfo("AMapInfo", &tInfo);
        uint8_t tCells[16 * 16];
        memset(tCells, 1, sizeof(tCells));
        tWriter.AddClip("CL000000", 16, 16, tCells);
        WriteMap(tWriter, "Mismatch");
    }
    EXPECT_TRUE(Load("Mismatch", tOut));
    EXPECT_NE(std::string::npos, tOut.find("[Fail ClipLump] CL000000 is 16 by 16, the chunks are 32 by 32.\n")) << tOut;
    EXPECT_TRUE(mMap->HasLevel());
    EXPECT_FALSE(mMap->IsClipped(1, 1));
    {
        uint8_t tBody[1 + 8] = {LUMP_MAPTYPE_LINEART, 2, 0, 0, 0, 2, 0, 0, 0};
        LumpWriter tWriter;
        tWriter.AddRaw("AMapInfo", "MAPINFO", tBody, sizeof(tBody));
        WriteMap(tWriter, "Short");
    }
    EXPECT_FALSE(Load("Short", tOut));
    EXPECT_NE(std::string::npos, tOut.find("[LoadMapFile] Failed, problem loading level.\n"));
    EXPECT_FALSE(mMap->HasLevel());
    EXPECT_TRUE(mMap->IsClipped(1, 1));

    // After every failure the game can still load a good map.
    EXPECT_EQ(0, GetApplication()->mLoadingScreen->GetSuppress());
    ASSERT_TRUE(Load("Trial", tOut));
    EXPECT_TRUE(mMap->HasLevel());
}

TEST_F(MapManagerTest, AWordInTheLastNumericArgumentIsRefused)
{
    RunLua("MapM_SetPlayerStart(100, 200, 0) MapM_SetWarpZone(4, 1, 2, 30, 40)");
    testing::internal::CaptureStderr();
    RunLua("MapM_SetPlayerStart(5, 6, 'z') MapM_SetWarpZone(3, 7, 'y') MapM_SetWarpZone(4, 9, 9, 9, 'cy')"
           " MapM_SetOverlayColor(0.2, 0.3, 0.4, 'a') MapM_Shake(3, 'long')");
    std::string tOut = CapturedStderr();
    EXPECT_EQ("MapM_SetPlayerStart: Failed, invalid argument list\n"
              "MapM_SetWarpZone: Failed, invalid argument list\n"
              "MapM_SetWarpZone: Failed, invalid argument list\n"
              "MapM_SetOverlayColor: Failed, invalid argument list\n"
              "MapM_Shake: Failed, invalid argument list\n",
              tOut);

    float tX = 0.0f, tY = 0.0f, tZ = 0.0f;
    mMap->GetPlayerStart(tX, tY, tZ);
    EXPECT_EQ(100.0f, tX);
    EXPECT_EQ(200.0f, tY);
    EXPECT_EQ(100.0f, mMap->GetWarpZone(3).mX);
    EXPECT_EQ(200.0f, mMap->GetWarpZone(3).mY);
    EXPECT_EQ(1.0f, mMap->GetWarpZone(4).mX);
    EXPECT_EQ(40.0f, mMap->GetWarpZone(4).mCameraY);
    EXPECT_FALSE(mMap->IsOverlayOn());
    EXPECT_FALSE(mMap->IsShaking());
    EXPECT_EQ(0, lua_gettop(LuaManager::Fetch()->GetState()));
}

TEST_F(MapManagerTest, ScriptSettingsShakeOverlayAndWarpZones)
{
    RunLua("MapM_Shake(3, 0.5)");
    ASSERT_TRUE(mMap->IsShaking());
    EXPECT_EQ(30, mMap->GetShakeTicksLeft());
    float tX = 0.0f, tY = 0.0f;
    mMap->Update();
    mMap->GetShakeOffset(tX, tY);
    // 29/30 of the way through ten swings.
    EXPECT_NEAR(sinf(29.0f / 30.0f * 62.83185f) * 3.0f, tX, 1e-4);
    EXPECT_EQ(0.0f, tY);
    for(int32_t i = 0; i < 29; i++) mMap->Update();
    EXPECT_FALSE(mMap->IsShaking());
    mMap->GetShakeOffset(tX, tY);
    EXPECT_EQ(0.0f, tX);

    RunLua("MapM_Shake(0, 1)");
    EXPECT_FALSE(mMap->IsShaking());
    RunLua("MapM_Shake(2, 1e300)");
    EXPECT_TRUE(mMap->IsShaking());
    EXPECT_EQ(INT32_MAX, mMap->GetShakeTicksLeft());
    // No time at all starts no shake and leaves the running one.
    RunLua("MapM_Shake(2, -1e300) MapM_Shake(2, 0/0)");
    EXPECT_EQ(INT32_MAX, mMap->GetShakeTicksLeft());

    RunLua("MapM_SetOverlayColor(0.2, 0.3, 0.4, 0.5)");
    EXPECT_TRUE(mMap->IsOverlayOn());
    RunLua("MapM_SetOverlayColor(0.2, 0.3, 0.4, 0)");
    EXPECT_FALSE(mMap->IsOverlayOn());

    RunLua("MapM_SetPlayerStart(100, 200, 0) MapM_SetWarpZone(3, 7, 8) MapM_SetWarpZone(4, 1, 2, 30, 40)"
           " MapM_SetWarpZone(9, 5, 5)");
    EXPECT_EQ(100.0f, mMap->GetWarpZone(0).mX);
    EXPECT_EQ(200.0f, mMap->GetWarpZone(8).mY);
    EXPECT_EQ(7.0f, mMap->GetWarpZone(3).mX);
    EXPECT_EQ(-1.0f, mMap->GetWarpZone(3).mCameraX);
    EXPECT_EQ(40.0f, mMap->GetWarpZone(4).mCameraY);

    // The debug warps: a zone without a camera place centres the view on itself.
    testing::internal::CaptureStderr();
    mMap->RunHotkey(3);
    EXPECT_EQ(-233.0f, ActiveCamera()->GetFrame().mLft);
    EXPECT_EQ(-172.0f, ActiveCamera()->GetFrame().mTop);
    mMap->RunHotkey(4);
    EXPECT_EQ(30.0f, ActiveCamera()->GetFrame().mLft);
    EXPECT_EQ(40.0f, ActiveCamera()->GetFrame().mTop);
    mMap->RunHotkey(9);
    mMap->RunHotkey(-1);
    EXPECT_EQ(30.0f, ActiveCamera()->GetFrame().mLft);
    EXPECT_EQ("Forced camera to -233 -172\nForced camera to 30 40\n", CapturedStderr());

    RunLua("MapM_SetZererozezLocation(12.9, -3.5)");
    int32_t tMX = 0, tMY = 0;
    mMap->GetMechLocation(tMX, tMY);
    EXPECT_EQ(12, tMX);
    EXPECT_EQ(-3, tMY);

    // Bad argument lists only report; no map means everything is solid.
    testing::internal::CaptureStderr();
    RunLua("gbWrong = MapM_GetWorldClip(1) MapM_Shake(1) gbClip = MapM_GetWorldClip(3, 3)");
    std::string tOut = CapturedStderr();
    EXPECT_NE(std::string::npos, tOut.find("MapM_GetWorldClip: Failed, invalid argument list\n"));
    EXPECT_NE(std::string::npos, tOut.find("MapM_Shake: Failed, invalid argument list\n"));
    EXPECT_FALSE(LuaBool("gbWrong"));
    EXPECT_TRUE(LuaBool("gbClip"));

    mMap->SetZoom(5.0f);
    EXPECT_EQ(2.0f, mMap->GetZoom());
    mMap->SetZoom(NAN);
    EXPECT_EQ(0.4f, mMap->GetZoom());
}

TEST_F(MapManagerTest, TheSpawnLumpIsReadAndItsRecordsKeptForAutomaticSpawning)
{
    {
        LumpWriter tWriter;
        AddLevel(tWriter);
        SpawnRecord tSpawns[2];
        memset(tSpawns, 0, sizeof(tSpawns));
        strcpy(tSpawns[0].mName, "Bat");
        tSpawns[0].mX = 40;
        tSpawns[0].mY = -8;
        strcpy(tSpawns[1].mName, "Tick");
        tSpawns[1].mX = 300;
        tSpawns[1].mY = 12;
        tWriter.AddSpawns("BSpawnInfo", 2, tSpawns);
        WriteMap(tWriter, "Spawning");
    }
    WriteLevelMap("Trial");

    std::string tOut;
    ASSERT_TRUE(Load("Spawning", tOut));
    EXPECT_NE(std::string::npos,
              FindInOrder(tOut, {"Finished 2D Line Art 2Depth\n", "[Begin SpawnDatLump] BSpawnInfo\n",
                                 "Number of spawns: 2\n", "[Complete SpawnDatLump]\n", "[LoadMapFile] Done\n"}))
        << tOut;
    int32_t tCount = -1;
    const SpawnRecord *rRecords = mMap->GetSpawnRecords(tCount);
    ASSERT_EQ(2, tCount);
    ASSERT_NE(nullptr, rRecords);
    EXPECT_STREQ("Bat", rRecords[0].mName);
    EXPECT_EQ(40, rRecords[0].mX);
    EXPECT_EQ(-8, rRecords[0].mY);
    EXPECT_STREQ("Tick", rRecords[1].mName);
    EXPECT_EQ(300, rRecords[1].mX);

    // A map without the lump says so even with every trace off, and leaves no records behind.
    ASSERT_TRUE(Load("Trial", tOut));
    EXPECT_NE(std::string::npos, tOut.find("[Fail SpawnDatLump] BSpawnInfo Not found.\n")) << tOut;
    EXPECT_EQ(nullptr, mMap->GetSpawnRecords(tCount));
    EXPECT_EQ(0, tCount);

    // Leaving the game forgets the map's records.
    ASSERT_TRUE(Load("Spawning", tOut));
    mMap->RunCleanScript();
    EXPECT_EQ(nullptr, mMap->GetSpawnRecords(tCount));
    EXPECT_EQ(0, tCount);
}

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "core/Application.h"
#include "core/DebugPrint.h"
#include "core/LuaBindingHelpers.h"
#include "core/ScriptPackEntry.h"
#include "core/data/CorvelLumpManager.h"
#include "core/data/LumpReader.h"
#include "core/data/LumpWriter.h"
#include "core/render/Bitmap.h"
#include "LumpScratchTest.h"
#include "core/render/Palette.h"
#include "support/TestText.h"

namespace
{

const uint8_t kPixels2x2[16] = {255, 0, 0, 255, 0, 255, 0, 255, 0, 0, 255, 255, 9, 8, 7, 6};
const uint8_t kPixels4x2[32] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16,
                                17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 31, 32};
const char kScript[] = "return 1 + 2";

// Clip of 10 x 3 cells: a diagonal plus the whole last column.
uint8_t ClipFixtureCell(int c, int r)
{
    return (c == r || c == 9) ? 1 : 0;
}

LumpImageLayout MakeImage(uint8_t pFlag, int32_t pW, int32_t pH, const uint8_t *pData, uint32_t pSize)
{
    LumpImageLayout tLayout;
    memset(&tLayout, 0, sizeof(tLayout));
    tLayout.mCompression = pFlag;
    tLayout.mFullWidth = tLayout.mWidth = pW;
    tLayout.mFullHeight = tLayout.mHeight = pH;
    tLayout.rData = pData;
    tLayout.mDataSize = pSize;
    return tLayout;
}

// One lump of every kind, the layout a small map and a script pack would use.
void AddFixtureLumps(LumpWriter &pWriter)
{
    pWriter.SetHeader("Test lump file");

    MapInfoRecord tInfo;
    memset(&tInfo, 0, sizeof(tInfo));
    tInfo.mMapType = 1;
    tInfo.mColumns = 2;
    tInfo.mRows = 1;
    tInfo.mChunkWidth = 16;
    tInfo.mChunkHeight = 16;
    tInfo.mImagePrefixA = (char *)"LA";
    tInfo.mImagePrefixB = (char *)"LB";
    tInfo.mClipPrefix = (char *)"CL";
    tInfo.mLevelNumber = 3;
    tInfo.mLevelName = (char *)"Test Level";
    ASSERT_TRUE(pWriter.AddMapInfo("AMapInfo", &tInfo));

    int32_t tFrames[4] = {16 + 32 * 65536, 48 + 64 * 65536, 1 + 2 * 65536, 3 + 4 * 65536};
    LumpImageLayout tImage = MakeImage(1, 2, 2, kPixels2x2, sizeof(kPixels2x2));
    tImage.mFullWidth = 8;
    tImage.mFullHeight = 6;
    tImage.mOffsetX = 3;
    tImage.mOffsetY = 2;
    tImage.mFrameCount = 2;
    tImage.rFrames = tFrames;
    ASSERT_TRUE(pWriter.AddImage("LA000000", &tImage));
    tImage = MakeImage(7, 1, 1, kPixels2x2, 4);
    ASSERT_TRUE(pWriter.AddImage("LA001000", &tImage));
    tImage = MakeImage(1, 4, 2, kPixels4x2, sizeof(kPixels4x2));
    ASSERT_TRUE(pWriter.AddImage("LB000000", &tImage));

    uint8_t tCells[30];
    for(int r = 0; r < 3; r++)
        for(int c = 0; c < 10; c++) tCells[r * 10 + c] = ClipFixtureCell(c, r);
    ASSERT_TRUE(pWriter.AddClip("CL000000", 10, 3, tCells));

    SpawnRecord tSpawns[2];
    memset(tSpawns, 0, sizeof(tSpawns));
    strcpy(tSpawns[0].mName, "Flamingo");
    tSpawns[0].mX = 120;
    tSpawns[0].mY = -40;
    strcpy(tSpawns[1].mName, "MechBase");
    tSpawns[1].mX = 7;
    tSpawns[1].mY = 9;
    ASSERT_TRUE(pWriter.AddSpawns("BSpawnInfo", 2, tSpawns));

    const uint8_t tBase[6] = {255, 0, 0, 0, 0, 255};
    const uint8_t tGreen[6] = {0, 255, 0, 0, 128, 0};
    const uint8_t tGrey[6] = {51, 51, 51, 102, 102, 102};
    const char *tNames[2] = {"Green", "Grey"};
    const uint8_t *tColours[2] = {tGreen, tGrey};
    ASSERT_TRUE(pWriter.AddPalette("Pal", 2, tBase, 2, tNames, tColours));

    ASSERT_TRUE(pWriter.AddScript("Scripts/A.lua", kScript, sizeof(kScript) - 1));
}

// A refusal's fixed first line straight above its naming line, at whatever indentation the
// trace around the read gives them.
bool HasRefusal(const std::string &pOutput, const std::string &pNaming)
{
    const std::string cFirst = "Error in SLF file\n";
    size_t tAt = pOutput.find(pNaming + "\n");
    if(tAt == std::string::npos) return false;
    size_t tFirst = pOutput.rfind(cFirst, tAt);
    return tFirst != std::string::npos && pOutput.find_first_not_of(' ', tFirst + cFirst.size()) == tAt;
}

std::vector<uint8_t> BuildBytes(LumpWriter &pWriter)
{
    uint32_t tSize = 0;
    uint8_t *tData = pWriter.Build(&tSize);
    std::vector<uint8_t> tBytes;
    if(tData) tBytes.assign(tData, tData + tSize);
    free(tData);
    return tBytes;
}

std::vector<uint8_t> FixtureBytes()
{
    LumpWriter tWriter;
    AddFixtureLumps(tWriter);
    return BuildBytes(tWriter);
}

struct DirectoryInfo
{
    std::vector<std::string> mNames;
    std::vector<uint32_t> mPositions;
    uint32_t mEnd;
};

// Reads the directory of a well-formed file with the bounded reader, independently of the manager.
DirectoryInfo ParseDirectory(const std::vector<uint8_t> &pBytes)
{
    DirectoryInfo tInfo;
    LumpReader tReader(pBytes.data(), (uint32_t)pBytes.size());
    uint32_t tCount = 0;
    tReader.Skip(16);
    tReader.ReadU32(&tCount);
    for(uint32_t i = 0; i < tCount; i++)
    {
        char *tName = tReader.ReadNewName();
        uint32_t tPosition = 0, tSecond = 0;
        tReader.ReadU32(&tPosition);
        tReader.ReadU32(&tSecond);
        tInfo.mNames.push_back(tName ? tName : "");
        tInfo.mPositions.push_back(tPosition);
        free(tName);
    }
    tInfo.mEnd = tReader.GetPosition();
    return tInfo;
}

class LumpFileTest : public LumpScratchTest {};

// Runs the reader that fits each fixture lump; bit i is set when lump i (directory order) read.
uint32_t ReadEveryLump(CorvelLumpManager &pManager, const DirectoryInfo &pDirectory)
{
    uint32_t tRead = 0;
    for(size_t i = 0; i < pDirectory.mNames.size(); i++)
    {
        const char *rName = pDirectory.mNames[i].c_str();
        bool tOk = false;
        if(!strcmp(rName, "AMapInfo"))
        {
            MapInfoRecord *tInfo = pManager.ReadMapInfo(rName);
            tOk = tInfo != nullptr;
            FreeMapInfoRecord(tInfo);
        }
        else if(!strncmp(rName, "LA", 2) || !strncmp(rName, "LB", 2))
        {
            ImageRecord *tImage = pManager.ReadImageRecord(rName);
            if(tImage && tImage->mCompressionFlag != 0)
            {
                EXPECT_NE(tImage->mData, nullptr);
                EXPECT_GE((int64_t)tImage->mDataSize, RequiredImageDataSize(tImage->mWidth, tImage->mHeight, tImage->mCompressionFlag));
            }
            tOk = tImage != nullptr;
            ImageRecord::Free(tImage);
        }
        else if(!strcmp(rName, "CL000000"))
        {
            ClipRecord *tClip = pManager.ClipLump(rName);
            if(tClip)
            {
                EXPECT_GE((uint64_t)tClip->mDataSize, ClipDataBytes(tClip->mColumns, tClip->mRows));
            }
            tOk = tClip != nullptr;
            FreeClipRecord(tClip);
        }
        else if(!strcmp(rName, "BSpawnInfo"))
        {
            int32_t tCount = -1;
            SpawnRecord *tSpawns = pManager.SpawnDatLump(rName, &tCount);
            for(int32_t s = 0; s < tCount; s++) EXPECT_LE(strlen(tSpawns[s].mName), 31u);
            tOk = tSpawns != nullptr;
            free(tSpawns);
        }
        else if(!strcmp(rName, "Pal"))
        {
            Palette *tPalette = pManager.ExtractPalette(rName);
            tOk = tPalette != nullptr;
            delete tPalette;
        }
        else
        {
            ScriptPackEntry *tEntry = pManager.ReadTarballLump((int32_t)i);
            tOk = tEntry != nullptr;
            DeleteScriptPackEntry(tEntry);
        }
        if(tOk) tRead |= 1u << i;
    }
    return tRead;
}

TEST_F(LumpFileTest, EveryLumpKindRoundTripsThroughTheWriter)
{
    std::vector<uint8_t> tBytes = FixtureBytes();
    ASSERT_FALSE(tBytes.empty());
    std::string tPath = WriteFile("fixture.slf", tBytes);

    CorvelLumpManager tManager;
    tManager.Open(tPath.c_str());
    ASSERT_TRUE(tManager.IsOpen());
    EXPECT_STREQ(tManager.GetOpenPath(), tPath.c_str());
    EXPECT_EQ(tManager.GetLumpCount(), 8u);

    EXPECT_EQ(tManager.GetMapType("AMapInfo"), 1);
    MapInfoRecord *tInfo = tManager.ReadMapInfo("AMapInfo");
    ASSERT_NE(tInfo, nullptr);
    EXPECT_EQ(tInfo->mColumns, 2);
    EXPECT_EQ(tInfo->mRows, 1);
    EXPECT_EQ(tInfo->mChunkWidth, 16);
    EXPECT_EQ(tInfo->mChunkHeight, 16);
    EXPECT_STREQ(tInfo->mImagePrefixA, "LA");
    EXPECT_STREQ(tInfo->mImagePrefixB, "LB");
    EXPECT_STREQ(tInfo->mClipPrefix, "CL");
    EXPECT_EQ(tInfo->mLevelNumber, 3);
    EXPECT_STREQ(tInfo->mLevelName, "Test Level");
    FreeMapInfoRecord(tInfo);

    ImageRecord *tImage = tManager.ReadImageRecord("LA000000");
    ASSERT_NE(tImage, nullptr);
    EXPECT_EQ(tImage->mCompressionFlag, 1);
    EXPECT_EQ(tImage->mWidth, 2);
    EXPECT_EQ(tImage->mHeight, 2);
    EXPECT_EQ(tImage->mFullWidth, 8);
    EXPECT_EQ(tImage->mFullHeight, 6);
    EXPECT_EQ(tImage->mOffsetX, 3);
    EXPECT_EQ(tImage->mOffsetY, 2);
    ASSERT_EQ(tImage->mDataSize, 16);
    EXPECT_EQ(memcmp(tImage->mData, kPixels2x2, 16), 0);
    ASSERT_EQ(tImage->mFrameCount, 2);
    EXPECT_EQ(tImage->mFrames[0].mA, 16 + 32 * 65536);
    EXPECT_EQ(tImage->mFrames[1].mB, 3 + 4 * 65536);
    ImageRecord::Free(tImage);

    ClipRecord *tClip = tManager.ClipLump("CL000000");
    ASSERT_NE(tClip, nullptr);
    EXPECT_EQ(tClip->mColumns, 10);
    EXPECT_EQ(tClip->mRows, 3);
    EXPECT_EQ(tClip->mDataSize, 6u);
    for(int r = 0; r < 3; r++)
        for(int c = 0; c < 10; c++) EXPECT_EQ(ClipRecordCell(tClip, c, r), ClipFixtureCell(c, r)) << c << "," << r;
    EXPECT_EQ(ClipRecordCell(tClip, 10, 0), 0);
    EXPECT_EQ(ClipRecordCell(tClip, -1, 0), 0);
    FreeClipRecord(tClip);

    int32_t tCount = 0;
    testing::internal::CaptureStderr();
    SpawnRecord *tSpawns = tManager.SpawnDatLump("BSpawnInfo", &tCount);
    std::string tOutput = CapturedStderr();
    EXPECT_NE(tOutput.find("[Begin SpawnDatLump] BSpawnInfo"), std::string::npos);
    EXPECT_NE(tOutput.find("Number of spawns: 2"), std::string::npos);
    ASSERT_EQ(tCount, 2);
    EXPECT_STREQ(tSpawns[0].mName, "Flamingo");
    EXPECT_EQ(tSpawns[0].mX, 120);
    EXPECT_EQ(tSpawns[0].mY, -40);
    EXPECT_STREQ(tSpawns[1].mName, "MechBase");
    free(tSpawns);

    testing::internal::CaptureStderr();
    Palette *tPalette = tManager.ExtractPalette("Pal");
    CapturedStderr();
    ASSERT_NE(tPalette, nullptr);
    ASSERT_EQ(tPalette->GetColourCount(), 2);
    EXPECT_FLOAT_EQ(tPalette->GetBaseColours()[0].r, 1.0f);
    EXPECT_FLOAT_EQ(tPalette->GetBaseColours()[1].b, 1.0f);
    EXPECT_FLOAT_EQ(tPalette->GetBaseColours()[1].a, 1.0f);
    EXPECT_EQ(tPalette->GetVariantCount(), 2);
    const ColorRGBA *rGrey = tPalette->GetVariantColours("Grey");
    ASSERT_NE(rGrey, nullptr);
    EXPECT_FLOAT_EQ(rGrey[1].g, 102.0f / 255.0f);
    delete tPalette;

    int32_t tScriptIndex = tManager.FindLump("Scripts/A.lua");
    ASSERT_GE(tScriptIndex, 0);
    ScriptPackEntry *tEntry = tManager.ReadTarballLump(tScriptIndex);
    ASSERT_NE(tEntry, nullptr);
    EXPECT_STREQ(tEntry->mName, "Data/Scripts/Scripts/A.lua");
    ASSERT_EQ(tEntry->mSourceSize, sizeof(kScript) - 1);
    EXPECT_EQ(memcmp(tEntry->mSourceText, kScript, sizeof(kScript) - 1), 0);
    DeleteScriptPackEntry(tEntry);
    EXPECT_EQ(tManager.ReadTarballLump(-1), nullptr);
    EXPECT_EQ(tManager.ReadTarballLump(8), nullptr);

    tManager.Close();
    EXPECT_FALSE(tManager.IsOpen());
    EXPECT_EQ(tManager.GetOpenPath(), nullptr);
    EXPECT_EQ(tManager.GetLumpCount(), 0u);
    EXPECT_EQ(tManager.ReadImageRecord("LA000000"), nullptr);
}

TEST_F(LumpFileTest, BinarySearchFindsEveryNameOfALargeDirectory)
{
    LumpWriter tWriter;
    const uint8_t tBody[1] = {0};
    // Added out of order on purpose: the writer sorts, so the search must find all of them.
    for(int i = 0; i < 300; i++)
    {
        char tName[32];
        snprintf(tName, sizeof(tName), "%c%04d", (i % 2) ? 'a' : 'B', (i * 7919) % 1000);
        tWriter.AddRaw(tName, "RAW", tBody, 1);
    }
    EXPECT_FALSE(tWriter.AddRaw("B0000", "RAW", tBody, 1));
    std::vector<uint8_t> tBytes = BuildBytes(tWriter);
    DirectoryInfo tDirectory = ParseDirectory(tBytes);
    std::string tPath = WriteFile("many.slf", tBytes);

    CorvelLumpManager tManager;
    tManager.Open(tPath.c_str());
    ASSERT_TRUE(tManager.IsOpen());
    ASSERT_EQ(tManager.GetLumpCount(), tDirectory.mNames.size());
    for(size_t i = 0; i < tDirectory.mNames.size(); i++)
    {
        if(i > 0)
        {
            EXPECT_LT(strcmp(tDirectory.mNames[i - 1].c_str(), tDirectory.mNames[i].c_str()), 0);
        }
        EXPECT_EQ(tManager.FindLump(tDirectory.mNames[i].c_str()), (int32_t)i);
    }
    EXPECT_EQ(tManager.FindLump("B"), -1);
    EXPECT_EQ(tManager.FindLump("zzzz"), -1);
    EXPECT_EQ(tManager.FindLump("A0000"), -1);
    EXPECT_EQ(tManager.FindLump(nullptr), -1);

    LumpWriter tEmptyWriter;
    std::string tEmpty = WriteFile("empty.slf", BuildBytes(tEmptyWriter));
    tManager.Open(tEmpty.c_str());
    ASSERT_TRUE(tManager.IsOpen());
    EXPECT_EQ(tManager.GetLumpCount(), 0u);
    EXPECT_EQ(tManager.FindLump("B0000"), -1);
}

TEST_F(LumpFileTest, TagsMatchByThePrefixOfTheExpectedType)
{
    LumpWriter tWriter;
    AddFixtureLumps(tWriter);
    std::vector<uint8_t> tFixture = FixtureBytes();
    DirectoryInfo tDirectory = ParseDirectory(tFixture);
    // Re-use the body of a real image lump under a longer tag.
    size_t tIndex = 0;
    while(tDirectory.mNames[tIndex] != "LA001000") tIndex++;
    uint32_t tStart = tDirectory.mPositions[tIndex] + 10;
    uint32_t tEnd = tIndex + 1 < tDirectory.mPositions.size() ? tDirectory.mPositions[tIndex + 1] : (uint32_t)tFixture.size();
    ASSERT_TRUE(tWriter.AddRaw("Odd", "IMAGEXXXXX", tFixture.data() + tStart, tEnd - tStart));
    std::string tPath = WriteFile("tags.slf", BuildBytes(tWriter));

    CorvelLumpManager tManager;
    tManager.Open(tPath.c_str());
    ASSERT_TRUE(tManager.IsOpen());
    EXPECT_TRUE(tManager.SeekToLump("Odd", "IMAGE"));
    EXPECT_FALSE(tManager.SeekToLump("Odd", "IMAGEXXXXXY"));
    ImageRecord *tImage = tManager.ReadImageRecord("Odd");
    ASSERT_NE(tImage, nullptr);
    EXPECT_EQ(tImage->mCompressionFlag, 7);
    ImageRecord::Free(tImage);

    // A lump of another type is refused by every typed reader.
    testing::internal::CaptureStderr();
    EXPECT_EQ(tManager.ReadImageRecord("CL000000"), nullptr);
    EXPECT_EQ(tManager.ClipLump("LA000000"), nullptr);
    EXPECT_EQ(tManager.GetMapType("Pal"), -1);
    EXPECT_EQ(tManager.ExtractPalette("AMapInfo"), nullptr);
    std::string tOutput = CapturedStderr();
    EXPECT_NE(tOutput.find("Error in SLF file"), std::string::npos);
    EXPECT_NE(tOutput.find("[Fail ClipLump] LA000000 Not found."), std::string::npos);
}

TEST_F(LumpFileTest, ReopeningTheOpenPathKeepsTheFileAsItWas)
{
    std::vector<uint8_t> tBytes = FixtureBytes();
    std::string tPath = WriteFile("reopen.slf", tBytes);
    CorvelLumpManager tManager;
    tManager.Open(tPath.c_str());
    ASSERT_EQ(tManager.GetLumpCount(), 8u);

    LumpWriter tOther;
    const uint8_t tBody[1] = {1};
    tOther.AddRaw("Only", "RAW", tBody, 1);
    WriteFile("reopen.slf", BuildBytes(tOther));
    tManager.Open(tPath.c_str());
    EXPECT_EQ(tManager.GetLumpCount(), 8u);
    EXPECT_GE(tManager.FindLump("Pal"), 0);

    // A different path replaces it; a missing one leaves nothing open.
    testing::internal::CaptureStderr();
    tManager.Open((mDirectory + "/missing.slf").c_str());
    std::string tOutput = CapturedStderr();
    EXPECT_NE(tOutput.find("CorvelLumpManager:  Error, could not find " + mDirectory + "/missing.slf"), std::string::npos);
    EXPECT_FALSE(tManager.IsOpen());
    EXPECT_EQ(tManager.GetLumpCount(), 0u);
    tManager.Open(mDirectory.c_str());
    EXPECT_FALSE(tManager.IsOpen());
}

TEST_F(LumpFileTest, BodiesThatDoNotFitTheirSizesAreRefused)
{
    LumpWriter tWriter;
    // Claims 4 x 4 RGBA but holds only 16 bytes: the upload would read 64.
    LumpImageLayout tShort = MakeImage(1, 4, 4, kPixels4x2, 16);
    ASSERT_TRUE(tWriter.AddImage("ShortImage", &tShort));
    LumpImageLayout tNegative = MakeImage(1, -2, 2, kPixels4x2, 16);
    ASSERT_TRUE(tWriter.AddImage("NegativeImage", &tNegative));
    LumpImageLayout tZero = MakeImage(0, 0, 0, nullptr, 0);
    ASSERT_TRUE(tWriter.AddImage("ZeroImage", &tZero));

    // Clip of 16 x 4 claiming 2 bytes where 8 are needed.
    const uint8_t tShortClip[] = {0, 16, 0, 4, 0, 2, 0, 0, 0, 0xFF, 0xFF};
    ASSERT_TRUE(tWriter.AddRaw("ShortClip", "CLIP", tShortClip, sizeof(tShortClip)));

    MapInfoRecord tInfo;
    memset(&tInfo, 0, sizeof(tInfo));
    tInfo.mMapType = 1;
    tInfo.mColumns = 1000;
    tInfo.mRows = 1;
    ASSERT_TRUE(tWriter.AddMapInfo("HugeGrid", &tInfo));
    tInfo.mColumns = 0;
    ASSERT_TRUE(tWriter.AddMapInfo("EmptyGrid", &tInfo));
    tInfo.mColumns = 3;
    tInfo.mChunkWidth = -5;
    ASSERT_TRUE(tWriter.AddMapInfo("NegativeChunk", &tInfo));
    tInfo.mMapType = 2;
    ASSERT_TRUE(tWriter.AddMapInfo("OtherType", &tInfo));

    // A 40-character spawn name, then a count that promises more records than there are.
    LumpBody tLong;
    tLong.PutU32(1);
    tLong.PutName("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789abcd");
    tLong.PutI32(5);
    tLong.PutI32(6);
    ASSERT_TRUE(tWriter.AddRaw("LongSpawn", "SPAWNDAT", tLong.GetData(), tLong.GetSize()));
    const uint8_t tOverCount[] = {200, 0, 0, 0, 1, 'A', 0, 0, 0, 0, 0, 0, 0, 0};
    ASSERT_TRUE(tWriter.AddRaw("OverCount", "SPAWNDAT", tOverCount, sizeof(tOverCount)));
    const uint8_t tHugePalette[] = {0xFF, 0xFF, 0xFF, 0x0F, 1, 2, 3};
    ASSERT_TRUE(tWriter.AddRaw("HugePalette", "PALETTE", tHugePalette, sizeof(tHugePalette)));
    const uint8_t tLongScript[] = {100, 0, 0, 0, 'x'};
    ASSERT_TRUE(tWriter.AddRaw("zLongScript", "SCRIPT", tLongScript, sizeof(tLongScript)));

    std::string tPath = WriteFile("bodies.slf", BuildBytes(tWriter));
    CorvelLumpManager tManager;
    tManager.Open(tPath.c_str());
    ASSERT_TRUE(tManager.IsOpen());

    testing::internal::CaptureStderr();
    EXPECT_EQ(tManager.ReadImageRecord("ShortImage"), nullptr);
    EXPECT_EQ(tManager.ReadImageRecord("NegativeImage"), nullptr);
    EXPECT_EQ(tManager.ClipLump("ShortClip"), nullptr);
    EXPECT_EQ(tManager.ReadMapInfo("HugeGrid"), nullptr);
    EXPECT_EQ(tManager.ReadMapInfo("EmptyGrid"), nullptr);
    EXPECT_EQ(tManager.ReadMapInfo("OtherType"), nullptr);
    EXPECT_EQ(tManager.GetMapType("OtherType"), 2);
    int32_t tCount = -1;
    EXPECT_EQ(tManager.SpawnDatLump("OverCount", &tCount), nullptr);
    EXPECT_EQ(tCount, 0);
    EXPECT_EQ(tManager.ExtractPalette("HugePalette"), nullptr);
    EXPECT_EQ(tManager.ReadTarballLump(tManager.FindLump("zLongScript")), nullptr);
    std::string tOutput = CapturedStderr();
    // Each refusal names its lump.
    for(const char *rName : {"ShortImage", "NegativeImage", "ShortClip", "HugeGrid", "OverCount", "HugePalette", "zLongScript"})
    {
        EXPECT_TRUE(HasRefusal(tOutput, "Lump " + std::string(rName) + " in " + tPath)) << rName << "\n" << tOutput;
    }

    testing::internal::CaptureStderr();
    EXPECT_EQ(tManager.ReadMapInfo("NegativeChunk"), nullptr);
    EXPECT_EQ(CapturedStderr(),
              "Error in SLF file\nLump NegativeChunk in " + tPath + " has chunk size -5 by 0\n");

    testing::internal::CaptureStderr();
    SpawnRecord *tSpawns = tManager.SpawnDatLump("LongSpawn", &tCount);
    tOutput = CapturedStderr();
    ASSERT_EQ(tCount, 1);
    EXPECT_STREQ(tSpawns[0].mName, "ABCDEFGHIJKLMNOPQRSTUVWXYZ01234");
    EXPECT_EQ(tSpawns[0].mX, 5);
    EXPECT_EQ(tSpawns[0].mY, 6);
    EXPECT_NE(tOutput.find("cut"), std::string::npos);
    free(tSpawns);

    // Compression 0: the record comes back empty and no Bitmap is made.
    testing::internal::CaptureStderr();
    EXPECT_EQ(tManager.ExtractBitmap("ZeroImage"), nullptr);
    tOutput = CapturedStderr();
    EXPECT_NE(tOutput.find("Compression error in ZeroImage"), std::string::npos);
    EXPECT_NE(tOutput.find("Failed, error uploading the data"), std::string::npos);
}

TEST_F(LumpFileTest, LayoutsNoPictureOrWorldCouldHaveAreRefusedNamingFileAndLump)
{
    LumpWriter tWriter;
    LumpImageLayout tImage = MakeImage(1, 2, 2, kPixels2x2, sizeof(kPixels2x2));
    tImage.mFullWidth = 0;
    ASSERT_TRUE(tWriter.AddImage("NoFullWidth", &tImage));
    tImage = MakeImage(1, 2, 2, kPixels2x2, sizeof(kPixels2x2));
    tImage.mOffsetX = INT32_MAX - 1;
    ASSERT_TRUE(tWriter.AddImage("FarOffset", &tImage));
    tImage.mOffsetX = 0;
    tImage.mOffsetY = INT32_MIN;
    ASSERT_TRUE(tWriter.AddImage("FarOffsetY", &tImage));
    // Sixteen bytes are two rows of two pixels, not one.
    tImage = MakeImage(1, 2, 1, kPixels2x2, sizeof(kPixels2x2));
    ASSERT_TRUE(tWriter.AddImage("ShortHeight", &tImage));
    // A single colour holds one pixel whatever its size; a picture may sit off its frame's corner.
    tImage = MakeImage(7, 64, 64, kPixels2x2, sizeof(kPixels2x2));
    tImage.mOffsetX = -12;
    ASSERT_TRUE(tWriter.AddImage("SolidColour", &tImage));

    MapInfoRecord tInfo = LineArtMapInfo(2, 2, 0, 16, "LA", "LB", "CL", "Level");
    ASSERT_TRUE(tWriter.AddMapInfo("HalfChunk", &tInfo));
    tInfo.mChunkWidth = 16;
    tInfo.mChunkHeight = -16;
    ASSERT_TRUE(tWriter.AddMapInfo("NegativeHeight", &tInfo));
    tInfo.mChunkWidth = tInfo.mChunkHeight = 0;
    ASSERT_TRUE(tWriter.AddMapInfo("DefaultChunk", &tInfo));

    SpawnRecord tSpawns[4];
    memset(tSpawns, 0, sizeof(tSpawns));
    const int32_t cPlaces[4][2] = {{10, 20}, {INT32_MAX, 5}, {30, -2147483000}, {-40, 50}};
    for(int32_t i = 0; i < 4; i++)
    {
        snprintf(tSpawns[i].mName, sizeof(tSpawns[i].mName), "Bat%i", i);
        tSpawns[i].mX = cPlaces[i][0];
        tSpawns[i].mY = cPlaces[i][1];
    }
    ASSERT_TRUE(tWriter.AddSpawns("FarSpawns", 4, tSpawns));
    ASSERT_TRUE(tWriter.AddSpawns("OnlyFar", 1, tSpawns + 1));

    std::string tPath = WriteFile("layouts.slf", BuildBytes(tWriter));
    CorvelLumpManager tManager;
    tManager.Open(tPath.c_str());
    ASSERT_TRUE(tManager.IsOpen());
    auto Refusal = [&tPath](const char *pName, const char *pDetail) {
        return "Error in SLF file\nLump " + std::string(pName) + " in " + tPath + pDetail + "\n";
    };

    testing::internal::CaptureStderr();
    for(const char *rName : {"NoFullWidth", "FarOffset", "FarOffsetY", "ShortHeight"})
    {
        EXPECT_EQ(tManager.ReadImageRecord(rName), nullptr) << rName;
    }
    EXPECT_EQ(tManager.ReadMapInfo("HalfChunk"), nullptr);
    EXPECT_EQ(tManager.ReadMapInfo("NegativeHeight"), nullptr);
    EXPECT_EQ(CapturedStderr(),
              Refusal("NoFullWidth", " has full size 0 by 2") + Refusal("FarOffset", " has offset 2147483646 0") +
                  Refusal("FarOffsetY", " has offset 0 -2147483648") + Refusal("ShortHeight", " is 2 by 1 but holds 16 bytes") +
                  Refusal("HalfChunk", " has chunk size 0 by 16") + Refusal("NegativeHeight", " has chunk size 16 by -16"));

    ImageRecord *nSolid = tManager.ReadImageRecord("SolidColour");
    ASSERT_NE(nSolid, nullptr);
    EXPECT_EQ(nSolid->mOffsetX, -12);
    ImageRecord::Free(nSolid);
    MapInfoRecord *nDefault = tManager.ReadMapInfo("DefaultChunk");
    ASSERT_NE(nDefault, nullptr);
    EXPECT_EQ(nDefault->mChunkWidth, 0);
    FreeMapInfoRecord(nDefault);

    // Spawns past the coordinate limit are dropped alone, each named.
    testing::internal::CaptureStderr();
    int32_t tCount = -1;
    SpawnRecord *nKept = tManager.SpawnDatLump("FarSpawns", &tCount);
    const std::string tDropped = CapturedStderr();
    EXPECT_TRUE(HasRefusal(tDropped, "Lump FarSpawns in " + tPath + " drops spawn 1 Bat1 at 2147483647 5")) << tDropped;
    EXPECT_TRUE(HasRefusal(tDropped, "Lump FarSpawns in " + tPath + " drops spawn 2 Bat2 at 30 -2147483000")) << tDropped;
    ASSERT_EQ(tCount, 2);
    EXPECT_STREQ(nKept[0].mName, "Bat0");
    EXPECT_STREQ(nKept[1].mName, "Bat3");
    EXPECT_EQ(nKept[1].mX, -40);
    EXPECT_EQ(nKept[1].mY, 50);
    free(nKept);
    testing::internal::CaptureStderr();
    EXPECT_EQ(tManager.SpawnDatLump("OnlyFar", &tCount), nullptr);
    EXPECT_EQ(tCount, 0);
    EXPECT_NE(CapturedStderr().find("OnlyFar in " + tPath + " drops spawn 0 Bat1"), std::string::npos);
}

// Damage that leaves a drawable picture: it loads, and the lump is named with what is wrong.
TEST_F(LumpFileTest, PicturesWithAbsurdFramesOrFullSizeLoadNamingTheLump)
{
    LumpWriter tWriter;
    LumpBody tGreedy;
    tGreedy.PutU8(1);
    for(int32_t tValue : {2, 2, 0, 0, 2, 2, 16}) tGreedy.PutI32(tValue);
    tGreedy.PutBytes(kPixels2x2, sizeof(kPixels2x2));
    tGreedy.PutU8(3);
    tGreedy.PutI32(11);
    tGreedy.PutI32(12);
    ASSERT_TRUE(tWriter.AddRaw("Greedy", "IMAGE", tGreedy.GetData(), tGreedy.GetSize()));
    LumpImageLayout tImage = MakeImage(1, 4, 2, kPixels4x2, sizeof(kPixels4x2));
    ASSERT_TRUE(tWriter.AddImage("Next", &tImage));
    tImage = MakeImage(1, 2, 2, kPixels2x2, sizeof(kPixels2x2));
    tImage.mFullHeight = INT32_MAX;
    ASSERT_TRUE(tWriter.AddImage("Tall", &tImage));

    std::string tPath = WriteFile("oddities.slf", BuildBytes(tWriter));
    CorvelLumpManager tManager;
    tManager.Open(tPath.c_str());
    ASSERT_TRUE(tManager.IsOpen());

    testing::internal::CaptureStderr();
    ImageRecord *nGreedy = tManager.ReadImageRecord("Greedy");
    EXPECT_EQ(CapturedStderr(), "Error in SLF file\nLump Greedy in " + tPath + " claims 3 frames, its lump holds 1; the rest are dropped\n");
    ASSERT_NE(nGreedy, nullptr);
    ASSERT_EQ(nGreedy->mFrameCount, 1);
    EXPECT_EQ(nGreedy->mFrames[0].mA, 11);
    EXPECT_EQ(nGreedy->mFrames[0].mB, 12);
    ImageRecord::Free(nGreedy);

    testing::internal::CaptureStderr();
    ImageRecord *nTall = tManager.ReadImageRecord("Tall");
    EXPECT_EQ(CapturedStderr(), "Error in SLF file\nLump Tall in " + tPath + " has full size 2 by 2147483647, past the coordinate limit\n");
    ASSERT_NE(nTall, nullptr);
    EXPECT_EQ(nTall->mFullHeight, INT32_MAX);
    EXPECT_EQ(nTall->mDataSize, 16);
    ImageRecord::Free(nTall);
}

TEST_F(LumpFileTest, MissingSecondLayerIsSilentButOnlyForThatRead)
{
    std::string tPath = WriteFile("layers.slf", FixtureBytes());
    CorvelLumpManager tManager;
    tManager.Open(tPath.c_str());

    ImageRecord *tFirst = nullptr, *tSecond = nullptr;
    testing::internal::CaptureStderr();
    tManager.ImageLump("LA001000", "LB001000", &tFirst, &tSecond);
    std::string tOutput = CapturedStderr();
    EXPECT_NE(tFirst, nullptr);
    EXPECT_EQ(tSecond, nullptr);
    EXPECT_EQ(tOutput.find("Error in SLF file"), std::string::npos);
    ImageRecord::Free(tFirst);

    // Both layers found: a later missing image must still be reported.
    tManager.ImageLump("LA000000", "LB000000", &tFirst, &tSecond);
    EXPECT_NE(tFirst, nullptr);
    EXPECT_NE(tSecond, nullptr);
    ImageRecord::Free(tFirst);
    ImageRecord::Free(tSecond);
    testing::internal::CaptureStderr();
    EXPECT_EQ(tManager.ReadImageRecord("LA005005"), nullptr);
    tOutput = CapturedStderr();
    EXPECT_NE(tOutput.find("Error in SLF file"), std::string::npos);
}

// Every prefix of a valid file: it opens only when the whole directory fits, and a lump reads
// exactly when its whole body lies inside the prefix.
TEST_F(LumpFileTest, EveryTruncationIsRefusedWithoutReadingPastTheEnd)
{
    std::vector<uint8_t> tBytes = FixtureBytes();
    DirectoryInfo tDirectory = ParseDirectory(tBytes);

    for(size_t tLength = 0; tLength < tBytes.size(); tLength++)
    {
        std::string tPath = WriteFile("cut.slf", tBytes, tLength);
        CorvelLumpManager tManager;
        testing::internal::CaptureStderr();
        tManager.Open(tPath.c_str());
        uint32_t tRead = tManager.IsOpen() ? ReadEveryLump(tManager, tDirectory) : 0;
        std::string tOutput = CapturedStderr();

        bool tShouldOpen = tLength >= tDirectory.mEnd;
        ASSERT_EQ(tManager.IsOpen(), tShouldOpen) << "length " << tLength;
        if(!tShouldOpen)
        {
            EXPECT_NE(tOutput.find("is not a lump file"), std::string::npos) << "length " << tLength;
            continue;
        }
        uint32_t tExpected = 0;
        for(size_t i = 0; i < tDirectory.mPositions.size(); i++)
        {
            uint32_t tEnd = i + 1 < tDirectory.mPositions.size() ? tDirectory.mPositions[i + 1] : (uint32_t)tBytes.size();
            if(tEnd <= tLength) tExpected |= 1u << i;
        }
        ASSERT_EQ(tRead, tExpected) << "length " << tLength;
        EXPECT_NE(tOutput.find("Error in SLF file"), std::string::npos) << "length " << tLength;
    }
}

TEST_F(LumpFileTest, RandomCorruptionNeverCrashesOrYieldsOversizedRecords)
{
    std::vector<uint8_t> tGood = FixtureBytes();
    DirectoryInfo tDirectory = ParseDirectory(tGood);
    std::mt19937 tRandom(12345);
    int32_t tOpened = 0;
    for(int tRound = 0; tRound < 1000; tRound++)
    {
        std::vector<uint8_t> tBytes = tGood;
        int tChanges = 1 + (int)(tRandom() % 6);
        for(int c = 0; c < tChanges; c++)
        {
            size_t tAt = tRandom() % tBytes.size();
            // Half the changes hit the directory and the counts of the bodies' heads.
            if(tRandom() % 2) tAt = tRandom() % (tDirectory.mEnd + 40 < tBytes.size() ? tDirectory.mEnd + 40 : tBytes.size());
            tBytes[tAt] = (tRandom() % 3 == 0) ? 0xFF : (uint8_t)tRandom();
        }
        std::string tPath = WriteFile("noise.slf", tBytes);
        CorvelLumpManager tManager;
        testing::internal::CaptureStderr();
        tManager.Open(tPath.c_str());
        if(tManager.IsOpen())
        {
            tOpened++;
            DirectoryInfo tNow = ParseDirectory(tBytes);
            ReadEveryLump(tManager, tNow);
            for(int32_t i = -1; i <= (int32_t)tManager.GetLumpCount(); i++) DeleteScriptPackEntry(tManager.ReadTarballLump(i));
        }
        CapturedStderr();
    }
    EXPECT_GT(tOpened, 0);
}

TEST_F(LumpFileTest, LuaBindingsDriveTheApplicationsManager)
{
    std::string tPath = WriteFile("lua.slf", FixtureBytes());
    Application *rApp = GetApplication();
    CorvelLumpManager *rSaved = rApp->mLumpManager;
    CorvelLumpManager tManager;
    rApp->mLumpManager = &tManager;

    lua_State *L = luaL_newstate();
    luaL_openlibs(L);
    RegisterCorvelLumpManagerLua(L);
    lua_pushstring(L, tPath.c_str());
    lua_setglobal(L, "gPath");

    const char *tScript =
        "SLF_Open(gPath)\n"
        "assert(SLF_IsFileOpen() == true)\n"
        "assert(SLF_GetOpenPath() == gPath)\n"
        "SLF_Open()\n"
        "SLF_Open(gPath, 2)\n"
        "SLF_Open({})\n"
        "assert(SLF_GetOpenPath() == gPath)\n"
        "SLF_Close()\n"
        "assert(SLF_IsFileOpen() == false)\n"
        "assert(SLF_GetOpenPath() == 'NULL')\n";
    testing::internal::CaptureStderr();
    int tTop = lua_gettop(L);
    int tResult = luaL_dostring(L, tScript);
    std::string tOutput = CapturedStderr();
    EXPECT_EQ(tResult, 0) << (tResult ? lua_tostring(L, -1) : "");
    EXPECT_EQ(lua_gettop(L), tTop);
    EXPECT_NE(tOutput.find("CorvelLumpManager: Failed, invalid argument list"), std::string::npos);

    // Without a manager the bindings give their empty results.
    rApp->mLumpManager = nullptr;
    EXPECT_EQ(luaL_dostring(L, "SLF_Open(gPath) SLF_Close() assert(SLF_IsFileOpen() == false) assert(SLF_GetOpenPath() == 'NULL')"), 0);
    lua_close(L);
    rApp->mLumpManager = rSaved;
}

TEST_F(LumpFileTest, ARepeatedNameInAPackedFileOpensAndTheFirstWins)
{
    // Two names of one length, then the second made equal to the first: every length byte and
    // position stays right, so the lookup meets the repeated name itself.
    LumpWriter tWriter;
    const char tFirst[] = "return 'first'";
    const char tSecond[] = "return 'second'";
    ASSERT_TRUE(tWriter.AddScript("Twin1", tFirst, sizeof(tFirst) - 1));
    ASSERT_TRUE(tWriter.AddScript("Twin2", tSecond, sizeof(tSecond) - 1));
    std::vector<uint8_t> tBytes = BuildBytes(tWriter);
    DirectoryInfo tDirectory = ParseDirectory(tBytes);
    ASSERT_EQ(tDirectory.mNames.size(), 2u);
    ASSERT_EQ(tDirectory.mNames[1], "Twin2");

    size_t tSecondName = 21 + 5 + 8 + 1;
    ASSERT_EQ(0, memcmp(&tBytes[tSecondName], "Twin2", 5));
    ASSERT_EQ(tBytes[tSecondName - 1], 5);
    tBytes[tSecondName + 4] = '1';
    ASSERT_EQ(ParseDirectory(tBytes).mNames[1], "Twin1");
    std::string tPath = WriteFile("repeated.slf", tBytes);

    CorvelLumpManager tManager;
    testing::internal::CaptureStderr();
    tManager.Open(tPath.c_str());
    EXPECT_EQ("", CapturedStderr());
    ASSERT_TRUE(tManager.IsOpen());
    EXPECT_EQ(tManager.GetLumpCount(), 2u);
    EXPECT_EQ(tManager.FindLump("Twin1"), 0);
    EXPECT_EQ(tManager.FindLump("Twin2"), -1);

    // Each entry keeps its own body, read by its index.
    const char *cBodies[2] = {tFirst, tSecond};
    for(int32_t i = 0; i < 2; i++)
    {
        ScriptPackEntry *nEntry = tManager.ReadTarballLump(i);
        ASSERT_NE(nEntry, nullptr) << i;
        EXPECT_EQ(std::string(cBodies[i]), std::string(nEntry->mSourceText, nEntry->mSourceSize)) << i;
        DeleteScriptPackEntry(nEntry);
    }
}

} // namespace

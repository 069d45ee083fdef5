#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>
#include <utility>
#include <vector>

#include "core/DebugPrint.h"
#include "core/ScriptPackEntry.h"
#include "core/data/CorvelLumpManager.h"
#include "core/data/LumpWriter.h"
#include "core/render/Bitmap.h"
#include "LumpScratchTest.h"
#include "support/TestText.h"

// How the lump manager reads a directory it cannot trust: out of order, with repeated names,
// with lumps past the end, or not a lump file at all.
namespace
{

// A lump file written by hand, entries in the order given, each lump a "SCRIPT" tag and its text
// as a script-pack body, so a read tells which entry was reached.
std::vector<uint8_t> HandWrittenFile(const std::vector<std::pair<std::string, std::string>> &pEntries)
{
    LumpBody tHead;
    tHead.PutBytes("Hand written....", 16);
    tHead.PutU32((uint32_t)pEntries.size());
    uint32_t tPosition = 20;
    for(const auto &rEntry : pEntries) tPosition += 1 + (uint32_t)rEntry.first.size() + 8;
    LumpBody tBodies;
    for(const auto &rEntry : pEntries)
    {
        tHead.PutName(rEntry.first.c_str());
        tHead.PutU32(tPosition + tBodies.GetSize());
        tHead.PutU32(0);
        tBodies.PutBytes("SCRIPT\0\0\0\0", 10);
        tBodies.PutU32((uint32_t)rEntry.second.size());
        tBodies.PutBytes(rEntry.second.data(), (uint32_t)rEntry.second.size());
    }
    std::vector<uint8_t> tBytes(tHead.GetData(), tHead.GetData() + tHead.GetSize());
    tBytes.insert(tBytes.end(), tBodies.GetData(), tBodies.GetData() + tBodies.GetSize());
    return tBytes;
}

std::string ScriptText(CorvelLumpManager &pManager, const char *pName)
{
    ScriptPackEntry *tEntry = pManager.ReadTarballLump(pManager.FindLump(pName));
    std::string tText = tEntry ? std::string(tEntry->mSourceText, tEntry->mSourceSize) : "";
    DeleteScriptPackEntry(tEntry);
    return tText;
}

// A small map as the packer writes it: "AMapInfo" is the first entry, then "LA000000".
std::vector<uint8_t> MapBytes()
{
    LumpWriter tWriter;
    MapInfoRecord tInfo = LineArtMapInfo(1, 1, 2, 2, "LA", "LB", "CL", "Trial");
    tWriter.AddMapInfo("AMapInfo", &tInfo);
    const uint8_t tPixels[16] = {255, 0, 0, 255, 0, 255, 0, 255, 0, 0, 255, 255, 9, 8, 7, 6};
    LumpImageLayout tImage = RGBAImageLayout(2, 2, tPixels);
    tWriter.AddImage("LA000000", &tImage);
    uint32_t tSize = 0;
    uint8_t *tData = tWriter.Build(&tSize);
    std::vector<uint8_t> tBytes;
    if(tData) tBytes.assign(tData, tData + tSize);
    free(tData);
    return tBytes;
}

class LumpDirectoryTest : public LumpScratchTest {};

}

TEST_F(LumpDirectoryTest, UnsortedAndRepeatedDirectoriesOpenAndFindEveryName)
{
    // Reverse order and shuffled order: every name is found at its own index.
    std::vector<std::pair<std::string, std::string>> tEntries;
    for(int i = 0; i < 40; i++)
    {
        char tName[16];
        snprintf(tName, sizeof(tName), "L%02d", (i * 17) % 40);
        tEntries.push_back({tName, std::string("body of ") + tName});
    }
    tEntries.push_back({"Dup", "first"});
    tEntries.push_back({"A", "a"});
    tEntries.push_back({"Dup", "second"});
    tEntries.push_back({"Dup", "third"});
    tEntries.push_back({"Zed", "z"});
    std::string tPath = WriteFile("unsorted.slf", HandWrittenFile(tEntries));

    CorvelLumpManager tManager;
    testing::internal::CaptureStderr();
    tManager.Open(tPath.c_str());
    EXPECT_EQ("", CapturedStderr());
    ASSERT_TRUE(tManager.IsOpen());
    ASSERT_EQ(tEntries.size(), tManager.GetLumpCount());
    for(size_t i = 0; i < tEntries.size(); i++)
    {
        if(tEntries[i].first == "Dup") continue;
        EXPECT_EQ((int32_t)i, tManager.FindLump(tEntries[i].first.c_str())) << tEntries[i].first;
        EXPECT_EQ(tEntries[i].second, ScriptText(tManager, tEntries[i].first.c_str()));
    }
    // Of a repeated name the first in the file wins; indices stay those of the file.
    EXPECT_EQ(40, tManager.FindLump("Dup"));
    EXPECT_EQ("first", ScriptText(tManager, "Dup"));
    ScriptPackEntry *tThird = tManager.ReadTarballLump(43);
    ASSERT_NE(nullptr, tThird);
    EXPECT_EQ("third", std::string(tThird->mSourceText, tThird->mSourceSize));
    DeleteScriptPackEntry(tThird);
    EXPECT_EQ(-1, tManager.FindLump("L40"));
    EXPECT_EQ(-1, tManager.FindLump("B"));

    // A packed map whose first name is renamed past the second, out of order, still reads.
    std::vector<uint8_t> tSwapped = MapBytes();
    tSwapped[21] = 'Z';
    tManager.Open(WriteFile("swapped.slf", tSwapped).c_str());
    ASSERT_TRUE(tManager.IsOpen());
    EXPECT_EQ(0, tManager.FindLump("ZMapInfo"));
    EXPECT_EQ(1, tManager.GetMapType("ZMapInfo"));
    EXPECT_EQ(1, tManager.FindLump("LA000000"));
    ImageRecord *tImage = tManager.ReadImageRecord("LA000000");
    ASSERT_NE(nullptr, tImage);
    EXPECT_EQ(2, tImage->mWidth);
    ImageRecord::Free(tImage);
}

TEST_F(LumpDirectoryTest, ALumpPastTheEndIsRefusedAloneAndABrokenDirectoryIsNoLumpFile)
{
    std::vector<uint8_t> tGood = MapBytes();

    // The map information points nine bytes before the end: its tag cannot fit.
    std::vector<uint8_t> tPastEnd = tGood;
    uint32_t tFar = (uint32_t)tGood.size() - 9;
    memcpy(&tPastEnd[21 + 8], &tFar, 4);
    CorvelLumpManager tManager;
    testing::internal::CaptureStderr();
    const std::string tPastEndPath = WriteFile("pastend.slf", tPastEnd);
    tManager.Open(tPastEndPath.c_str());
    ASSERT_TRUE(tManager.IsOpen());
    EXPECT_EQ(-1, tManager.GetMapType("AMapInfo"));
    EXPECT_EQ(nullptr, tManager.ReadMapInfo("AMapInfo"));
    ImageRecord *tImage = tManager.ReadImageRecord("LA000000");
    EXPECT_NE(nullptr, tImage);
    ImageRecord::Free(tImage);
    std::string tOutput = CapturedStderr();
    EXPECT_NE(std::string::npos, tOutput.find("Error in SLF file\nLump AMapInfo in " + tPastEndPath + " lies past the end of the file\n")) << tOutput;
    EXPECT_EQ(std::string::npos, tOutput.find("LA000000")) << tOutput;

    // A script lump past the end is named too, and the rest of the pack still reads.
    std::vector<uint8_t> tScripts = HandWrittenFile({{"A.lua", "one"}, {"B.lua", "two"}});
    uint32_t tBeyond = (uint32_t)tScripts.size() + 100;
    memcpy(&tScripts[20 + 1 + 5], &tBeyond, 4);
    const std::string tScriptsPath = WriteFile("scripts.slf", tScripts);
    tManager.Open(tScriptsPath.c_str());
    ASSERT_TRUE(tManager.IsOpen());
    testing::internal::CaptureStderr();
    EXPECT_EQ(nullptr, tManager.ReadTarballLump(0));
    tOutput = CapturedStderr();
    EXPECT_NE(std::string::npos, tOutput.find("Error in SLF file\nLump A.lua in " + tScriptsPath + "\n")) << tOutput;
    EXPECT_EQ("two", ScriptText(tManager, "B.lua"));

    struct Damage
    {
        const char *mWhat;
        std::vector<uint8_t> mBytes;
    };
    std::vector<Damage> tCases;
    std::vector<uint8_t> tHugeCount = tGood;
    tHugeCount[16] = 0xFF;
    tHugeCount[17] = 0xFF;
    tHugeCount[18] = 0xFF;
    tHugeCount[19] = 0x7F;
    tCases.push_back({"count beyond the file", tHugeCount});
    std::vector<uint8_t> tNulName = tGood;
    tNulName[23] = 0;
    tCases.push_back({"name holding a 0 byte", tNulName});
    tCases.push_back({"empty file", std::vector<uint8_t>()});
    tCases.push_back({"header cut short", std::vector<uint8_t>(tGood.begin(), tGood.begin() + 12)});

    for(const Damage &rCase : tCases)
    {
        std::string tPath = WriteFile("damaged.slf", rCase.mBytes);
        testing::internal::CaptureStderr();
        tManager.Open(tPath.c_str());
        tOutput = CapturedStderr();
        EXPECT_FALSE(tManager.IsOpen()) << rCase.mWhat;
        EXPECT_EQ(tManager.GetLumpCount(), 0u) << rCase.mWhat;
        EXPECT_EQ(tManager.GetOpenPath(), nullptr) << rCase.mWhat;
        EXPECT_NE(tOutput.find("CorvelLumpManager:  Error, " + tPath + " is not a lump file\n"), std::string::npos)
            << rCase.mWhat << ": " << tOutput;
        EXPECT_EQ(tOutput.find("could not find"), std::string::npos) << rCase.mWhat;
    }
}

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>

#include "core/data/CorvelLumpManager.h"
#include "core/data/LumpManifest.h"
#include "core/data/LumpWriter.h"
#include "core/render/Palette.h"
#include "support/ScratchFolder.h"
#include "support/TestText.h"

namespace
{
    // Reads the text as a manifest at /tmp/<name>; standard error goes to sErrors.
    bool ReadText(const char *pText, LumpWriter &pWriter, std::string &sErrors)
    {
        FILE *fText = fmemopen((void *)pText, strlen(pText), "r");
        EXPECT_NE(nullptr, fText);
        if(!fText) return false;
        testing::internal::CaptureStderr();
        bool tRead = ReadLumpManifest(fText, "/tmp/Test.slfm", &pWriter);
        sErrors = CapturedStderr();
        fclose(fText);
        return tRead;
    }

    struct BadManifest
    {
        const char *mText;
        const char *mMessage;
    };

    // Every mistake stops the reading with the manifest's name, the line and what is wrong;
    // nothing read after it is kept, and nothing leaks (the sanitizer tree checks).
    TEST(LumpManifestTest, MistakesAreReportedWithTheirLine)
    {
        const BadManifest cCases[] = {
            {"\n# fine\nbogus thing\n", "slfpack: /tmp/Test.slfm:3: unknown directive bogus\n"},
            {"header \"open\n", "slfpack: /tmp/Test.slfm:1: unterminated quote\n"},
            {"header a b\n", "slfpack: /tmp/Test.slfm:1: header TEXT\n"},
            {"mapinfo A 1 0 1 8 8 LA LB CL 1 N\n", "slfpack: /tmp/Test.slfm:1: bad or out-of-range number 0\n"},
            {"mapinfo A 1 1 1 8 8 LA LB CL 256 N\n", "slfpack: /tmp/Test.slfm:1: bad or out-of-range number 256\n"},
            {"mapinfo A 2 extra\n", "slfpack: /tmp/Test.slfm:1: mapinfo NAME TYPE (types other than 1 take nothing more)\n"},
            {"clip C 2 1\n##\n", "slfpack: /tmp/Test.slfm:2: clip without \"end\"\n"},
            {"clip C 2 1\n###\nend\n", "slfpack: /tmp/Test.slfm:2: clip row longer than COLUMNS\n"},
            {"clip C 2 1\n##\n#.\nend\n", "slfpack: /tmp/Test.slfm:3: clip row: one word of '#' and '.', at most ROWS rows\n"},
            {"spawns S\nFlamingo 1\nend\n", "slfpack: /tmp/Test.slfm:2: spawn line: PRESET X Y\n"},
            {"spawns S\nFlamingo 1 2147483648\nend\n", "slfpack: /tmp/Test.slfm:2: bad or out-of-range number 2147483648\n"},
            {"spawns S\nAbcdefghijklmnopqrstuvwxyzABCDEF 1 2\nend\n", "slfpack: /tmp/Test.slfm:2: spawn name longer than 31 characters\n"},
            {"palette P\nbase 112233\nvariant V 11223\nend\n", "slfpack: /tmp/Test.slfm:3: bad colour (want RRGGBB) 11223\n"},
            {"palette P\nbase 112233\nvariant V 112233 445566\nend\n", "slfpack: /tmp/Test.slfm:3: a variant has as many colours as the base\n"},
            {"palette P\nvariant V 112233\nend\n", "slfpack: /tmp/Test.slfm:2: \"variant\" lines follow the \"base\" line\n"},
            {"palette P\nbase 112233\nbase 445566\nend\n", "slfpack: /tmp/Test.slfm:3: one \"base\" line with at least one colour\n"},
            {"palette P\nend\n", "slfpack: /tmp/Test.slfm:2: palette without a \"base\" line\n"},
            {"palette P\nbase 112233\n", "slfpack: /tmp/Test.slfm:2: palette without \"end\"\n"},
            {"script S.lua /nonexistent/S.lua\n", "slfpack: /tmp/Test.slfm:1: cannot open script /nonexistent/S.lua\n"},
            {"image I NoSuchPicture.png\n", "slfpack: /tmp/Test.slfm:1: cannot load image /tmp/NoSuchPicture.png\n"},
            {"image I Pic.png 0 0 1\n", "slfpack: /tmp/Test.slfm:1: image NAME FILE [X1 Y1 X2 Y2]...\n"},
            {"mapinfo Same 2\nmapinfo Same 3\n", "slfpack: /tmp/Test.slfm:2: mapinfo lump refused\n"},
            {"spawns Same\nend\nclip Same 0 0\nend\n", "slfpack: /tmp/Test.slfm:4: clip lump refused (bad or repeated name)\n"},
        };
        for(const BadManifest &rCase : cCases)
        {
            LumpWriter tWriter;
            std::string tErrors;
            EXPECT_FALSE(ReadText(rCase.mText, tWriter, tErrors)) << rCase.mText;
            EXPECT_EQ(rCase.mMessage, tErrors) << rCase.mText;
        }

        std::string tLong(300, 'x');
        std::string tText = "mapinfo " + tLong + " 2\n";
        LumpWriter tWriter;
        std::string tErrors;
        EXPECT_FALSE(ReadText(tText.c_str(), tWriter, tErrors));
        EXPECT_EQ("slfpack: /tmp/Test.slfm:1: mapinfo lump refused\n", tErrors);
        EXPECT_EQ(0, tWriter.GetLumpCount());
    }

    // Blocks, blank lines and comments read from memory give lumps the engine reads back: a '#'
    // row inside a clip is cells, not a comment, and quoted tokens keep their blanks.
    TEST(LumpManifestTest, BlocksReadBackThroughTheLumpReader)
    {
        const char *cText =
            "# Kestra's test pack\n"
            "header \"Kestra test\"\n"
            "\n"
            "clip CL000000 3 3\n"
            "#.#\n"
            "\n"
            "##\n"
            "end\n"
            "spawns BSpawnInfo\n"
            "\t\"Stalactite Small\"   -5 7\n"
            "end\n"
            "palette Kestra\n"
            "base #3060D0 2040A0\n"
            "variant Ember C03828 801C14\n"
            "end\n"
            "mapinfo AMapInfo 1 1 1 3 3 LA LB CL 2 \"First Steps\"\n";
        LumpWriter tWriter;
        std::string tErrors;
        ASSERT_TRUE(ReadText(cText, tWriter, tErrors)) << tErrors;
        EXPECT_EQ("", tErrors);
        EXPECT_EQ(4, tWriter.GetLumpCount());

        ScratchFolder tFolder("manifest");
        ASSERT_TRUE(tFolder.IsMade());
        std::string tPath = tFolder.File("map.slf");
        ASSERT_TRUE(tWriter.WriteToFile(tPath.c_str()));
        CorvelLumpManager tLumps;
        tLumps.Open(tPath.c_str());
        ASSERT_TRUE(tLumps.IsOpen());

        ClipRecord *nClip = tLumps.ClipLump("CL000000");
        ASSERT_NE(nullptr, nClip);
        EXPECT_EQ(1, ClipRecordCell(nClip, 0, 0));
        EXPECT_EQ(0, ClipRecordCell(nClip, 1, 0));
        EXPECT_EQ(1, ClipRecordCell(nClip, 2, 0));
        EXPECT_EQ(1, ClipRecordCell(nClip, 1, 1));
        EXPECT_EQ(0, ClipRecordCell(nClip, 2, 1));
        EXPECT_EQ(0, ClipRecordCell(nClip, 0, 2));
        FreeClipRecord(nClip);

        int32_t tCount = 0;
        testing::internal::CaptureStderr();
        SpawnRecord *nSpawns = tLumps.SpawnDatLump("BSpawnInfo", &tCount);
        Palette *nPalette = tLumps.ExtractPalette("Kestra");
        CapturedStderr();
        ASSERT_EQ(1, tCount);
        EXPECT_STREQ("Stalactite Small", nSpawns[0].mName);
        EXPECT_EQ(-5, nSpawns[0].mX);
        EXPECT_EQ(7, nSpawns[0].mY);
        free(nSpawns);
        ASSERT_NE(nullptr, nPalette);
        EXPECT_EQ(2, nPalette->GetColourCount());
        ASSERT_NE(nullptr, nPalette->GetVariantColours("Ember"));
        delete nPalette;

        MapInfoRecord *nInfo = tLumps.ReadMapInfo("AMapInfo");
        ASSERT_NE(nullptr, nInfo);
        EXPECT_STREQ("First Steps", nInfo->mLevelName);
        EXPECT_EQ(2, nInfo->mLevelNumber);
        FreeMapInfoRecord(nInfo);
        tLumps.Close();
    }
}

#include <gtest/gtest.h>

#include <allegro5/allegro.h>
#include <allegro5/allegro_image.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>
#include <vector>

#include "core/ScriptPackEntry.h"
#include "core/data/CorvelLumpManager.h"
#include "core/render/Bitmap.h"
#include "core/render/Palette.h"
#include "support/ScratchFolder.h"
#include "support/TestText.h"

namespace
{

class SlfPackTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        mTool = std::string(CORVEL_BINARY_DIR) + "/slfpack";
        if(access(mTool.c_str(), X_OK) != 0) GTEST_SKIP() << "slfpack not built";
        ASSERT_TRUE(al_init());
        ASSERT_TRUE(al_init_image_addon());
        ASSERT_TRUE(mFolder.IsMade());
        mDirectory = mFolder.Path();
    }

    struct Dot
    {
        int mX, mY;
        ALLEGRO_COLOR mColour;
    };

    // A picture of the background colour with the dots on it, saved in the scratch folder
    // under the name; its path.
    std::string WritePicture(const char *pName, int pWidth, int pHeight, ALLEGRO_COLOR pBackground, std::vector<Dot> pDots)
    {
        al_set_new_bitmap_flags(ALLEGRO_MEMORY_BITMAP);
        ALLEGRO_BITMAP *nImage = al_create_bitmap(pWidth, pHeight);
        EXPECT_NE(nImage, nullptr);
        if(!nImage) return "";
        al_set_target_bitmap(nImage);
        al_clear_to_color(pBackground);
        for(const Dot &rDot : pDots) al_put_pixel(rDot.mX, rDot.mY, rDot.mColour);
        std::string tPng = mDirectory + "/" + pName;
        EXPECT_TRUE(al_save_bitmap(tPng.c_str(), nImage));
        al_set_target_bitmap(nullptr);
        al_destroy_bitmap(nImage);
        return tPng;
    }

    std::string mTool;
    ScratchFolder mFolder{"slfpack"};
    std::string mDirectory;
};

// The packer reads its manifest and writes a file the manager reads back.
TEST_F(SlfPackTest, BuildsAFileFromItsManifest)
{
    // A 3 x 2 picture whose top-left pixel is red and bottom-right one blue.
    WritePicture("pic.png", 3, 2, al_map_rgba(0, 255, 0, 255),
                 {{0, 0, al_map_rgba(255, 0, 0, 255)}, {2, 1, al_map_rgba(0, 0, 255, 255)}});

    ASSERT_TRUE(mFolder.WriteText("intro.lua", "x = 1\n"));

    std::string tManifest = mDirectory + "/map.txt";
    FILE *fManifest = fopen(tManifest.c_str(), "wb");
    ASSERT_NE(fManifest, nullptr);
    fputs("# sample\n"
          "header \"Kestra map\"\n"
          "mapinfo AMapInfo 1 1 1 8 3 LA LB CL 4 \"First Level\"\n"
          "image LA000000 pic.png 0 0 2 1 1 1 3 2\n"
          "script Maps/Intro.lua intro.lua\n"
          "clip CL000000 8 3\n"
          "#......#\n"
          "\n"
          ".##\n"
          "end\n"
          "spawns BSpawnInfo\n"
          "Flamingo 10 -20\n"
          "\"Stalactite Small\" 30 40\n"
          "end\n"
          "palette Pal\n"
          "base ff0000 #00ff00\n"
          "variant Dark 800000 008000\n"
          "end\n", fManifest);
    fclose(fManifest);

    std::string tOut = mDirectory + "/map.slf";
    std::string tCommand = mTool + " " + tManifest + " " + tOut;
    ASSERT_EQ(system(tCommand.c_str()), 0);

    CorvelLumpManager tManager;
    tManager.Open(tOut.c_str());
    ASSERT_TRUE(tManager.IsOpen());
    EXPECT_EQ(tManager.GetLumpCount(), 6u);

    MapInfoRecord *tInfo = tManager.ReadMapInfo("AMapInfo");
    ASSERT_NE(tInfo, nullptr);
    EXPECT_STREQ(tInfo->mLevelName, "First Level");
    EXPECT_EQ(tInfo->mChunkHeight, 3);
    FreeMapInfoRecord(tInfo);

    ImageRecord *tImage = tManager.ReadImageRecord("LA000000");
    ASSERT_NE(tImage, nullptr);
    EXPECT_EQ(tImage->mWidth, 3);
    EXPECT_EQ(tImage->mHeight, 2);
    ASSERT_EQ(tImage->mDataSize, 24);
    // Top row first, bytes R, G, B, A.
    EXPECT_EQ(tImage->mData[0], 255);
    EXPECT_EQ(tImage->mData[1], 0);
    EXPECT_EQ(tImage->mData[22], 255);
    EXPECT_EQ(tImage->mData[23], 255);
    ASSERT_EQ(tImage->mFrameCount, 2);
    EXPECT_EQ(tImage->mFrames[0].mB, 2 + 1 * 65536);
    EXPECT_EQ(tImage->mFrames[1].mA, 1 + 1 * 65536);
    ImageRecord::Free(tImage);

    ClipRecord *tClip = tManager.ClipLump("CL000000");
    ASSERT_NE(tClip, nullptr);
    EXPECT_EQ(ClipRecordCell(tClip, 0, 0), 1);
    EXPECT_EQ(ClipRecordCell(tClip, 7, 0), 1);
    EXPECT_EQ(ClipRecordCell(tClip, 1, 0), 0);
    EXPECT_EQ(ClipRecordCell(tClip, 1, 1), 1);
    EXPECT_EQ(ClipRecordCell(tClip, 3, 1), 0);
    EXPECT_EQ(ClipRecordCell(tClip, 0, 2), 0);
    FreeClipRecord(tClip);

    int32_t tCount = 0;
    testing::internal::CaptureStderr();
    SpawnRecord *tSpawns = tManager.SpawnDatLump("BSpawnInfo", &tCount);
    Palette *tPalette = tManager.ExtractPalette("Pal");
    CapturedStderr();
    ASSERT_EQ(tCount, 2);
    EXPECT_STREQ(tSpawns[1].mName, "Stalactite Small");
    EXPECT_EQ(tSpawns[0].mY, -20);
    free(tSpawns);
    ASSERT_NE(tPalette, nullptr);
    const ColorRGBA *rDark = tPalette->GetVariantColours("Dark");
    ASSERT_NE(rDark, nullptr);
    EXPECT_NEAR(rDark[0].r, 128.0f / 255.0f, 1e-6);
    delete tPalette;

    ScriptPackEntry *tEntry = tManager.ReadTarballLump(tManager.FindLump("Maps/Intro.lua"));
    ASSERT_NE(tEntry, nullptr);
    EXPECT_STREQ(tEntry->mName, "Data/Scripts/Maps/Intro.lua");
    EXPECT_STREQ(tEntry->mSourceText, "x = 1\n");
    DeleteScriptPackEntry(tEntry);

    // A manifest mistake names its line and writes nothing.
    FILE *fBad = fopen(tManifest.c_str(), "wb");
    fputs("clip C 4 1\n#####\nend\n", fBad);
    fclose(fBad);
    std::string tBadOut = mDirectory + "/bad.slf";
    EXPECT_NE(system((mTool + " " + tManifest + " " + tBadOut + " 2>/dev/null").c_str()), 0);
    EXPECT_NE(access(tBadOut.c_str(), F_OK), 0);
}

// A trimmed picture keeps only its drawn part, with the offset of that part and the whole
// picture's size, so the engine draws it where it stood; a picture with nothing drawn is refused.
TEST_F(SlfPackTest, TrimmedPicturesKeepTheirPlace)
{
    // 10 x 8, clear but for a red pixel at (4, 5) and a blue one at (6, 6); and one all clear.
    WritePicture("drawn.png", 10, 8, al_map_rgba(0, 0, 0, 0),
                 {{4, 5, al_map_rgba(255, 0, 0, 255)}, {6, 6, al_map_rgba(0, 0, 255, 255)}});
    WritePicture("empty.png", 10, 8, al_map_rgba(0, 0, 0, 0), {});

    std::string tManifest = mDirectory + "/overlays.txt";
    FILE *fManifest = fopen(tManifest.c_str(), "wb");
    ASSERT_NE(fManifest, nullptr);
    fputs("trimmed Drawn drawn.png\n", fManifest);
    fclose(fManifest);
    std::string tOut = mDirectory + "/overlays.slf";
    ASSERT_EQ(system((mTool + " " + tManifest + " " + tOut).c_str()), 0);

    CorvelLumpManager tManager;
    tManager.Open(tOut.c_str());
    ASSERT_TRUE(tManager.IsOpen());
    ImageRecord *tImage = tManager.ReadImageRecord("Drawn");
    ASSERT_NE(tImage, nullptr);
    EXPECT_EQ(4, tImage->mOffsetX);
    EXPECT_EQ(5, tImage->mOffsetY);
    EXPECT_EQ(3, tImage->mWidth);
    EXPECT_EQ(2, tImage->mHeight);
    EXPECT_EQ(10, tImage->mFullWidth);
    EXPECT_EQ(8, tImage->mFullHeight);
    ASSERT_EQ(24, tImage->mDataSize);
    // The red pixel opens the first row, the blue one closes the last.
    EXPECT_EQ(255, tImage->mData[0]);
    EXPECT_EQ(255, tImage->mData[3]);
    EXPECT_EQ(0, tImage->mData[7]);
    EXPECT_EQ(255, tImage->mData[22]);
    EXPECT_EQ(255, tImage->mData[23]);
    ImageRecord::Free(tImage);
    tManager.Close();

    fManifest = fopen(tManifest.c_str(), "wb");
    ASSERT_NE(fManifest, nullptr);
    fputs("trimmed Empty empty.png\n", fManifest);
    fclose(fManifest);
    std::string tError = mDirectory + "/error.txt";
    std::string tEmptyOut = mDirectory + "/empty.slf";
    EXPECT_NE(system((mTool + " " + tManifest + " " + tEmptyOut + " 2>" + tError).c_str()), 0);
    EXPECT_NE(access(tEmptyOut.c_str(), F_OK), 0);
    FILE *fError = fopen(tError.c_str(), "rb");
    ASSERT_NE(fError, nullptr);
    char tLine[512] = {0};
    EXPECT_NE(fgets(tLine, sizeof(tLine), fError), nullptr);
    fclose(fError);
    EXPECT_EQ("slfpack: " + tManifest + ":1: nothing drawn in empty.png\n", std::string(tLine));
}

} // namespace

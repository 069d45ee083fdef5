#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

#include "core/data/CorvelLumpManager.h"
#include "core/data/LumpRecords.h"
#include "core/render/Bitmap.h"
#include "support/ScratchFolder.h"

namespace
{
    // RGBA bytes of pixel (x, y) of an uncompressed image record, top row first.
    const uint8_t *PixelAt(const ImageRecord *pImage, int32_t pX, int32_t pY)
    {
        return &pImage->mData[((size_t)pY * pImage->mWidth + pX) * 4];
    }

    // The same as text, for readable comparisons.
    std::string Pixel(const ImageRecord *pImage, int32_t pX, int32_t pY)
    {
        const uint8_t *p = PixelAt(pImage, pX, pY);
        char tText[32];
        snprintf(tText, sizeof(tText), "%i %i %i %i", p[0], p[1], p[2], p[3]);
        return tText;
    }
}

// Each test builds a map from a layout with the content tools, in a fresh temporary directory,
// and reads it back; the directory goes with the test.
class GenLevelArtTest : public ::testing::Test
{
protected:
    ScratchFolder mFolder{"levelart"};
    CorvelLumpManager mLumps;

    // Runs genlevelart and slfpack on the layout and opens the map; false when the tools are
    // missing.
    bool Build(const char *pLayout)
    {
        std::string tArt = std::string(CORVEL_BINARY_DIR) + "/genlevelart";
        std::string tPack = std::string(CORVEL_BINARY_DIR) + "/slfpack";
        if(access(tArt.c_str(), X_OK) != 0 || access(tPack.c_str(), X_OK) != 0) return false;
        EXPECT_TRUE(mFolder.IsMade());
        std::string tLayout = mFolder.File("Layout.txt");
        bool tWritten = mFolder.WriteText("Layout.txt", pLayout);
        EXPECT_TRUE(tWritten);
        if(!tWritten) return false;
        std::string tMap = mFolder.File("Art.slf");
        std::string tCommand = tArt + " " + tLayout + " " + mFolder.Path() + " > /dev/null && " + tPack + " " +
                               mFolder.File("Map.slfm") + " " + tMap;
        EXPECT_EQ(system(tCommand.c_str()), 0);
        mLumps.Open(tMap.c_str());
        EXPECT_TRUE(mLumps.IsOpen());
        return true;
    }

    void TearDown() override
    {
        mLumps.Close();
        EXPECT_TRUE(mFolder.Remove());
    }
};

// The player is drawn between the two image layers, so whatever she climbs must be on the
// first layer and whatever she stands in on the second: ladders behind her, spikes in front.
TEST_F(GenLevelArtTest, LaddersGoBehindThePlayerAndSpikesInFront)
{
    // Two 32-unit chunks of 16-unit tiles: a ladder in the left one, spikes in the right one.
    if(!Build("grid 2 1 32 16\nprefixes LA LB CL\nlevel 1 \"Art\"\ntiles\nH...\n##^#\nend\n")) GTEST_SKIP() << "content tools not built";
    ASSERT_TRUE(mLumps.IsOpen());
    ImageRecord *tLadderBack = mLumps.ReadImageRecord("LA000000");
    ImageRecord *tSpikeBack = mLumps.ReadImageRecord("LA001000");
    ImageRecord *tSpikeFront = mLumps.ReadImageRecord("LB001000");
    ASSERT_NE(tLadderBack, nullptr);
    ASSERT_NE(tSpikeBack, nullptr);
    ASSERT_NE(tSpikeFront, nullptr);
    // A chunk with nothing in front of her has no second layer at all.
    EXPECT_EQ(mLumps.FindLump("LB000000"), -1);

    // The ladder's left rail and its first rung, on the first layer.
    EXPECT_EQ(Pixel(tLadderBack, 0, 8), "200 150 60 255");
    EXPECT_EQ(Pixel(tLadderBack, 8, 0), "200 150 60 255");
    // A tooth rising from the bottom of the spike tile: steel on the second layer, transparent
    // above it; the first layer is clear air there, for the map's background to show through.
    const uint8_t *rTooth = PixelAt(tSpikeFront, 3, 31);
    EXPECT_EQ(rTooth[3], 255);
    EXPECT_EQ(PixelAt(tSpikeFront, 3, 0)[3], 0);
    EXPECT_EQ(PixelAt(tSpikeBack, 3, 31)[3], 0);
    EXPECT_EQ(PixelAt(tSpikeBack, 3, 0)[3], 0);

    ImageRecord::Free(tLadderBack);
    ImageRecord::Free(tSpikeBack);
    ImageRecord::Free(tSpikeFront);
}

// Ice is ground she stands on but must not look like grass; a sign is scenery behind her, drawn
// on the first layer and never solid, with its post standing on the ground point it was given.
TEST_F(GenLevelArtTest, IceIsSolidButNotGrassAndSignsAreScenery)
{
    if(!Build("grid 1 1 64 16\nprefixes LA LB CL\nlevel 1 \"Art\"\nsign 40 48 \"AB|C\"\ntiles\n....\n....\n....\n~~##\nend\n"))
    {
        GTEST_SKIP() << "content tools not built";
    }
    ASSERT_TRUE(mLumps.IsOpen());
    ImageRecord *tBack = mLumps.ReadImageRecord("LA000000");
    ClipRecord *tClip = mLumps.ClipLump("CL000000");
    ASSERT_NE(tBack, nullptr);
    ASSERT_NE(tClip, nullptr);

    EXPECT_EQ(ClipRecordCell(tClip, 4, 50), 1);
    EXPECT_EQ(Pixel(tBack, 4, 48), "235 250 255 255");
    EXPECT_EQ(Pixel(tBack, 36, 48), "70 170 60 255");
    // The post, from the ground up to the board's foot 24 units above it: drawn, not solid.
    EXPECT_EQ(Pixel(tBack, 40, 47), "110 75 40 255");
    EXPECT_EQ(Pixel(tBack, 40, 25), "110 75 40 255");
    EXPECT_EQ(ClipRecordCell(tClip, 40, 40), 0);
    // A board two lines high and wide enough for "AB" with a margin, frame and all.
    EXPECT_EQ(Pixel(tBack, 29, 5), "236 214 160 255");
    EXPECT_EQ(Pixel(tBack, 27, 10), "110 75 40 255");
    EXPECT_EQ(PixelAt(tBack, 25, 10)[3], 0);
    EXPECT_EQ(ClipRecordCell(tClip, 29, 5), 0);

    FreeClipRecord(tClip);
    ImageRecord::Free(tBack);
}

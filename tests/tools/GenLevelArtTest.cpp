#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

#include "core/data/CorvelLumpManager.h"
#include "core/render/Bitmap.h"

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

// The player is drawn between the two image layers, so whatever she climbs must be on the
// first layer and whatever she stands in on the second: ladders behind her, spikes in front.
TEST(GenLevelArtTest, LaddersGoBehindThePlayerAndSpikesInFront)
{
    std::string tArt = std::string(CORVEL_BINARY_DIR) + "/genlevelart";
    std::string tPack = std::string(CORVEL_BINARY_DIR) + "/slfpack";
    if(access(tArt.c_str(), X_OK) != 0 || access(tPack.c_str(), X_OK) != 0) GTEST_SKIP() << "content tools not built";
    char tTemplate[] = "/tmp/corvel_levelart_XXXXXX";
    ASSERT_NE(mkdtemp(tTemplate), nullptr);
    std::string tDirectory = tTemplate;

    // Two 32-unit chunks of 16-unit tiles: a ladder in the left one, spikes in the right one.
    std::string tLayout = tDirectory + "/Layout.txt";
    FILE *fOut = fopen(tLayout.c_str(), "w");
    ASSERT_NE(fOut, nullptr);
    fputs("grid 2 1 32 16\nprefixes LA LB CL\nlevel 1 \"Art\"\ntiles\nH...\n##^#\nend\n", fOut);
    fclose(fOut);
    std::string tMap = tDirectory + "/Art.slf";
    std::string tCommand = tArt + " " + tLayout + " " + tDirectory + " > /dev/null && " + tPack + " " + tDirectory +
                           "/Map.slfm " + tMap;
    ASSERT_EQ(system(tCommand.c_str()), 0);

    CorvelLumpManager tLumps;
    tLumps.Open(tMap.c_str());
    ASSERT_TRUE(tLumps.IsOpen());
    ImageRecord *tLadderBack = tLumps.ReadImageRecord("LA000000");
    ImageRecord *tSpikeBack = tLumps.ReadImageRecord("LA001000");
    ImageRecord *tSpikeFront = tLumps.ReadImageRecord("LB001000");
    ASSERT_NE(tLadderBack, nullptr);
    ASSERT_NE(tSpikeBack, nullptr);
    ASSERT_NE(tSpikeFront, nullptr);
    // A chunk with nothing in front of her has no second layer at all.
    EXPECT_EQ(tLumps.FindLump("LB000000"), -1);

    // The ladder's left rail and its first rung, on the first layer.
    EXPECT_EQ(Pixel(tLadderBack, 0, 8), "200 150 60 255");
    EXPECT_EQ(Pixel(tLadderBack, 8, 0), "200 150 60 255");
    // A tooth rising from the bottom of the spike tile: steel on the second layer, transparent
    // above it; the first layer shows only sky there.
    const uint8_t *rTooth = PixelAt(tSpikeFront, 3, 31);
    EXPECT_EQ(rTooth[3], 255);
    EXPECT_NE(rTooth[2], 235);
    EXPECT_EQ(PixelAt(tSpikeFront, 3, 0)[3], 0);
    const uint8_t *rSky = PixelAt(tSpikeBack, 3, 31);
    EXPECT_EQ(rSky[2], 235);
    EXPECT_EQ(rSky[3], 255);

    ImageRecord::Free(tLadderBack);
    ImageRecord::Free(tSpikeBack);
    ImageRecord::Free(tSpikeFront);
    tLumps.Close();
    ASSERT_EQ(system(("rm -rf '" + tDirectory + "'").c_str()), 0);
}

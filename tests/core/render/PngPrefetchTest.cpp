#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include <png.h>

#include "core/render/PngPrefetch.h"
#include "support/ScratchFolder.h"
#include "support/TestText.h"

namespace
{
    // An 8 by 4 RGBA picture whose bytes all depend on the seed.
    std::vector<uint8_t> SeededPixels(int pSeed)
    {
        std::vector<uint8_t> tPixels(8 * 4 * 4);
        for(size_t i = 0; i < tPixels.size(); i++) tPixels[i] = (uint8_t)(pSeed * 31 + i * 3);
        return tPixels;
    }

    bool WriteSeededPng(const char *pPath, int pSeed)
    {
        std::vector<uint8_t> tPixels = SeededPixels(pSeed);
        png_image tImage;
        memset(&tImage, 0, sizeof(tImage));
        tImage.version = PNG_IMAGE_VERSION;
        tImage.width = 8;
        tImage.height = 4;
        tImage.format = PNG_FORMAT_RGBA;
        return png_image_write_to_file(&tImage, pPath, 0, tPixels.data(), 0, nullptr) != 0;
    }

    // Takes the file and expects the seed's pixels.
    void ExpectTaken(const char *pPath, int pSeed, PngBuffer *pBuffer)
    {
        int32_t tW = 0, tH = 0;
        ASSERT_EQ(PNG_DECODED, TakePngPixels(pPath, pBuffer, &tW, &tH)) << pPath;
        EXPECT_EQ(8, tW);
        EXPECT_EQ(4, tH);
        std::vector<uint8_t> tExpected = SeededPixels(pSeed);
        EXPECT_EQ(0, memcmp(tExpected.data(), pBuffer->mData, tExpected.size())) << pPath;
    }
}

// Files taken in folder order come from the workers, each with its own pixels; files taken out
// of order, or again, or after the prefetch stopped, are still right; a broken file nobody
// takes says nothing, and one that is taken fails where it is taken.
TEST(PngPrefetchTest, ServesLookAheadAndStaysRightWhenTheGuessIsWrong)
{
    ScratchFolder tDir{"png"};
    const int cCount = 20;
    char tName[32];
    for(int i = 0; i < cCount; i++)
    {
        snprintf(tName, sizeof(tName), "Pic%02d.png", i);
        ASSERT_TRUE(WriteSeededPng(tDir.File(tName).c_str(), i));
    }
    ASSERT_TRUE(tDir.WriteText("Pic10x.png", "not a picture"));
    std::string tPaths[cCount];
    for(int i = 0; i < cCount; i++)
    {
        snprintf(tName, sizeof(tName), "Pic%02d.png", i);
        tPaths[i] = tDir.File(tName);
    }

    PngBuffer tBuffer = {nullptr, 0};
    int32_t tHitsBefore = GetPngPrefetchHits();
    ASSERT_TRUE(StartPngPrefetch());
    testing::internal::CaptureStderr();
    for(int i = 0; i < 12; i++) ExpectTaken(tPaths[i].c_str(), i, &tBuffer);
    ExpectTaken(tPaths[17].c_str(), 17, &tBuffer);
    ExpectTaken(tPaths[3].c_str(), 3, &tBuffer);
    ExpectTaken(tPaths[18].c_str(), 18, &tBuffer);
    ExpectTaken(tPaths[18].c_str(), 18, &tBuffer);
    std::string tQuiet = CapturedStderr();
    EXPECT_EQ("", tQuiet);
    // Eleven of the first twelve were queued by the one before them; 18 after 17 once.
    EXPECT_GE(GetPngPrefetchHits() - tHitsBefore, 12);

    int32_t tW = 0, tH = 0;
    EXPECT_EQ(PNG_NOT_PNG, TakePngPixels(tDir.File("Pic10x.png").c_str(), &tBuffer, &tW, &tH));
    // Taking Pic10x looked ahead to Pic11-Pic18 only, so Pic19 is read after it is broken.
    ASSERT_TRUE(tDir.WriteText("Pic19.png", "\x89PNG\r\n\x1a\n cut short"));
    testing::internal::CaptureStderr();
    EXPECT_EQ(PNG_FAILED, TakePngPixels(tPaths[19].c_str(), &tBuffer, &tW, &tH));
    EXPECT_NE(std::string::npos, CapturedStderr().find("Pic19.png"));
    StopPngPrefetch();

    ExpectTaken(tPaths[5].c_str(), 5, &tBuffer);
    FreePngBuffer(&tBuffer);
}

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include <allegro5/allegro.h>
#include <allegro5/allegro_image.h>
#include <png.h>

#include "core/render/PngDecoder.h"
#include "support/ScratchFolder.h"

namespace
{
    // Writes a PNG of the given type; pRows holds the file's own samples, row after row.
    bool WritePng(const char *pPath, int pWidth, int pHeight, int pDepth, int pColourType, int pInterlace,
                  const std::vector<uint8_t> &pRows, const png_color *pPalette = nullptr, int pPaletteSize = 0,
                  const png_byte *pAlphas = nullptr, int pAlphaCount = 0)
    {
        FILE *rFile = fopen(pPath, "wb");
        if(!rFile) return false;
        png_structp rPng = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
        png_infop rInfo = png_create_info_struct(rPng);
        if(setjmp(png_jmpbuf(rPng)))
        {
            png_destroy_write_struct(&rPng, &rInfo);
            fclose(rFile);
            return false;
        }
        png_init_io(rPng, rFile);
        png_set_IHDR(rPng, rInfo, pWidth, pHeight, pDepth, pColourType, pInterlace, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
        if(pPalette) png_set_PLTE(rPng, rInfo, pPalette, pPaletteSize);
        if(pAlphas) png_set_tRNS(rPng, rInfo, pAlphas, pAlphaCount, nullptr);
        png_write_info(rPng, rInfo);
        size_t tRowBytes = png_get_rowbytes(rPng, rInfo);
        std::vector<png_bytep> tRows(pHeight);
        for(int y = 0; y < pHeight; y++) tRows[y] = (png_bytep)&pRows[tRowBytes * y];
        png_write_image(rPng, tRows.data());
        png_write_end(rPng, nullptr);
        png_destroy_write_struct(&rPng, &rInfo);
        return fclose(rFile) == 0;
    }

    bool WriteBytes(const char *pPath, const uint8_t *pBytes, size_t pLength)
    {
        FILE *rFile = fopen(pPath, "wb");
        if(!rFile) return false;
        bool tGood = fwrite(pBytes, 1, pLength, rFile) == pLength;
        return fclose(rFile) == 0 && tGood;
    }

    // Allegro's reading of the same file, as RGBA rows top first: what the game used to upload.
    std::vector<uint8_t> ReadThroughAllegro(const char *pPath, int32_t *pWidth, int32_t *pHeight)
    {
        std::vector<uint8_t> tPixels;
        al_set_new_bitmap_format(ALLEGRO_PIXEL_FORMAT_ABGR_8888_LE);
        al_set_new_bitmap_flags(ALLEGRO_MEMORY_BITMAP | ALLEGRO_NO_PREMULTIPLIED_ALPHA);
        ALLEGRO_BITMAP *nImage = al_load_bitmap_flags(pPath, ALLEGRO_NO_PREMULTIPLIED_ALPHA);
        if(!nImage) return tPixels;
        *pWidth = al_get_bitmap_width(nImage);
        *pHeight = al_get_bitmap_height(nImage);
        ALLEGRO_LOCKED_REGION *rLocked = al_lock_bitmap(nImage, ALLEGRO_PIXEL_FORMAT_ABGR_8888_LE, ALLEGRO_LOCK_READONLY);
        for(int32_t y = 0; rLocked && y < *pHeight; y++)
        {
            const uint8_t *rRow = (const uint8_t *)rLocked->data + (ptrdiff_t)y * rLocked->pitch;
            tPixels.insert(tPixels.end(), rRow, rRow + (size_t)*pWidth * 4);
        }
        if(rLocked) al_unlock_bitmap(nImage);
        al_destroy_bitmap(nImage);
        return tPixels;
    }

    // Decodes the file both ways and expects the same size and the same bytes.
    void ExpectSameAsAllegro(const char *pPath)
    {
        int32_t tAllegroW = 0, tAllegroH = 0;
        std::vector<uint8_t> tExpected = ReadThroughAllegro(pPath, &tAllegroW, &tAllegroH);
        ASSERT_FALSE(tExpected.empty()) << pPath;

        PngBuffer tPixels = {nullptr, 0};
        int32_t tW = 0, tH = 0;
        ASSERT_EQ(PNG_DECODED, DecodePngFile(pPath, &tPixels, &tW, &tH)) << pPath;
        EXPECT_EQ(tAllegroW, tW) << pPath;
        EXPECT_EQ(tAllegroH, tH) << pPath;
        ASSERT_GE(tPixels.mCapacity, tExpected.size());
        EXPECT_EQ(0, memcmp(tExpected.data(), tPixels.mData, tExpected.size())) << pPath;
        FreePngBuffer(&tPixels);
    }

    class PngDecoderTest : public ::testing::Test
    {
    protected:
        static void SetUpTestSuite()
        {
            ASSERT_TRUE(al_init());
            ASSERT_TRUE(al_init_image_addon());
        }
        ScratchFolder mDir{"png"};
    };
}

// Every colour type the game could be handed comes out as the RGBA Allegro gave before, so the
// textures are the same whichever way a picture is stored.
TEST_F(PngDecoderTest, EveryColourTypeMatchesAllegro)
{
    const int cW = 5, cH = 3;
    std::vector<uint8_t> tRGBA, tRGB, tGrey16, tIndexed, tGreyAlpha;
    for(int i = 0; i < cW * cH; i++)
    {
        uint8_t tR = (uint8_t)(i * 17), tG = (uint8_t)(255 - i * 9), tB = (uint8_t)(i * 5 + 3), tA = (uint8_t)(i * 16);
        tRGBA.insert(tRGBA.end(), {tR, tG, tB, tA});
        tRGB.insert(tRGB.end(), {tR, tG, tB});
        tGrey16.insert(tGrey16.end(), {tR, tG});
        tIndexed.push_back((uint8_t)(i % 4));
        tGreyAlpha.insert(tGreyAlpha.end(), {tB, tA});
    }
    const png_color cPalette[4] = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {9, 8, 7}};
    const png_byte cAlphas[3] = {0, 128, 255};

    ASSERT_TRUE(WritePng(mDir.File("rgba.png").c_str(), cW, cH, 8, PNG_COLOR_TYPE_RGBA, PNG_INTERLACE_NONE, tRGBA));
    ExpectSameAsAllegro(mDir.File("rgba.png").c_str());
    ASSERT_TRUE(WritePng(mDir.File("rgb.png").c_str(), cW, cH, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, tRGB));
    ExpectSameAsAllegro(mDir.File("rgb.png").c_str());
    ASSERT_TRUE(WritePng(mDir.File("grey16.png").c_str(), cW, cH, 16, PNG_COLOR_TYPE_GRAY, PNG_INTERLACE_NONE, tGrey16));
    ExpectSameAsAllegro(mDir.File("grey16.png").c_str());
    ASSERT_TRUE(WritePng(mDir.File("greyalpha.png").c_str(), cW, cH, 8, PNG_COLOR_TYPE_GRAY_ALPHA, PNG_INTERLACE_NONE, tGreyAlpha));
    ExpectSameAsAllegro(mDir.File("greyalpha.png").c_str());
    ASSERT_TRUE(WritePng(mDir.File("indexed.png").c_str(), cW, cH, 8, PNG_COLOR_TYPE_PALETTE, PNG_INTERLACE_NONE, tIndexed, cPalette, 4, cAlphas, 3));
    ExpectSameAsAllegro(mDir.File("indexed.png").c_str());
    ASSERT_TRUE(WritePng(mDir.File("interlaced.png").c_str(), cW, cH, 8, PNG_COLOR_TYPE_RGBA, PNG_INTERLACE_ADAM7, tRGBA));
    ExpectSameAsAllegro(mDir.File("interlaced.png").c_str());
}

// The game's own pictures: the loading screen's, read at every boot.
TEST_F(PngDecoderTest, TheGamesPicturesMatchAllegro)
{
    std::string tFolder = std::string(CORVEL_SOURCE_DIR) + "/game/Data/Graphics/Loading/";
    for(const char *rName : {"Background.png", "LoadImage0.png", "LoadImage7.png"})
    {
        std::string tPath = tFolder + rName;
        if(access(tPath.c_str(), R_OK) != 0) GTEST_SKIP() << tPath << " not built";
        ExpectSameAsAllegro(tPath.c_str());
    }
}

// What is not a PNG is left to the other loaders; what is a broken PNG fails without a buffer.
TEST_F(PngDecoderTest, RefusesWhatItCannotRead)
{
    PngBuffer tPixels = {nullptr, 0};
    int32_t tW = 0, tH = 0;
    EXPECT_EQ(PNG_FAILED, DecodePngFile(mDir.File("missing.png").c_str(), &tPixels, &tW, &tH));
    EXPECT_EQ(PNG_FAILED, DecodePngFile(nullptr, &tPixels, &tW, &tH));

    ASSERT_TRUE(mDir.WriteText("text.png", "not a picture at all"));
    EXPECT_EQ(PNG_NOT_PNG, DecodePngFile(mDir.File("text.png").c_str(), &tPixels, &tW, &tH));
    EXPECT_EQ(nullptr, tPixels.mData);

    // A good file cut short, and the same file with one byte of its pixel stream changed: the
    // chunk's CRC no longer matches.
    std::vector<uint8_t> tRGBA(16 * 16 * 4);
    for(size_t i = 0; i < tRGBA.size(); i++) tRGBA[i] = (uint8_t)(i * 7);
    ASSERT_TRUE(WritePng(mDir.File("good.png").c_str(), 16, 16, 8, PNG_COLOR_TYPE_RGBA, PNG_INTERLACE_NONE, tRGBA));
    FILE *rFile = fopen(mDir.File("good.png").c_str(), "rb");
    ASSERT_NE(nullptr, rFile);
    std::vector<uint8_t> tBytes(4096);
    tBytes.resize(fread(tBytes.data(), 1, tBytes.size(), rFile));
    fclose(rFile);
    ASSERT_GT(tBytes.size(), 80u);

    ASSERT_TRUE(WriteBytes(mDir.File("cut.png").c_str(), tBytes.data(), tBytes.size() / 2));
    EXPECT_EQ(PNG_FAILED, DecodePngFile(mDir.File("cut.png").c_str(), &tPixels, &tW, &tH));

    // The first IDAT's data starts after the signature (8), IHDR (25) and the IDAT header (8).
    tBytes[8 + 25 + 8 + 4] ^= 0x40;
    ASSERT_TRUE(WriteBytes(mDir.File("damaged.png").c_str(), tBytes.data(), tBytes.size()));
    EXPECT_EQ(PNG_FAILED, DecodePngFile(mDir.File("damaged.png").c_str(), &tPixels, &tW, &tH));

    // The buffer a failure leaves behind still serves the next picture.
    ASSERT_EQ(PNG_DECODED, DecodePngFile(mDir.File("good.png").c_str(), &tPixels, &tW, &tH));
    EXPECT_EQ(16, tW);
    EXPECT_EQ(0, memcmp(tRGBA.data(), tPixels.mData, tRGBA.size()));
    FreePngBuffer(&tPixels);
    EXPECT_EQ(nullptr, tPixels.mData);
    EXPECT_EQ(0u, tPixels.mCapacity);
}

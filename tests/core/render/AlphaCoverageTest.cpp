#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <vector>

#include "core/render/AlphaCoverage.h"

namespace
{
    struct Picture
    {
        Picture(int32_t pW, int32_t pH) : mW(pW), mH(pH), mData((size_t)pW * pH * 4, 0) {}
        void SetAlpha(int32_t pX, int32_t pY, uint8_t pAlpha) { mData[((size_t)pY * mW + pX) * 4 + 3] = pAlpha; }
        bool Visible(int32_t pX, int32_t pY) const
        {
            if(pX < 0) pX = 0;
            if(pY < 0) pY = 0;
            if(pX >= mW) pX = mW - 1;
            if(pY >= mH) pY = mH - 1;
            return mData[((size_t)pY * mW + pX) * 4 + 3] != 0;
        }
        int32_t mW;
        int32_t mH;
        std::vector<uint8_t> mData;
    };

    void CollectBox(const CoverageBox &pBox, void *pContext)
    {
        static_cast<std::vector<CoverageBox> *>(pContext)->push_back(pBox);
    }

    std::vector<CoverageBox> Boxes(const AlphaCoverage &pCoverage, const CoverageMapping &pMapping, const CoverageBox &pClip)
    {
        std::vector<CoverageBox> tBoxes;
        pCoverage.ForEachBox(pMapping, pClip, CollectBox, &tBoxes);
        return tBoxes;
    }

    const CoverageMapping cIdentity = {1.0, 0.0, 1.0, 0.0};
    const CoverageBox cWideClip = {-100, -100, 400, 400};

    // Texel coordinate of a window pixel's centre on one axis.
    double SamplePoint(int32_t pPixel, double pScale, double pOffset)
    {
        return ((double)pPixel + 0.5 - pOffset) / pScale;
    }

    // Whether a sample near (s, t) can take anything from a visible texel: the nearest texel, or
    // any of the two by two that linear filtering blends, at the point or a hair either side of
    // it (the rasteriser's own rounding).
    bool SampleReachesVisible(const Picture &pPicture, double pS, double pT)
    {
        const double cHair = 0.01;
        for(double tDS = -cHair; tDS <= cHair; tDS += cHair)
        {
            for(double tDT = -cHair; tDT <= cHair; tDT += cHair)
            {
                const double tS = pS + tDS;
                const double tT = pT + tDT;
                if(pPicture.Visible((int32_t)floor(tS), (int32_t)floor(tT))) return true;
                const int32_t tX = (int32_t)floor(tS - 0.5);
                const int32_t tY = (int32_t)floor(tT - 0.5);
                for(int32_t i = 0; i < 4; i++)
                {
                    if(pPicture.Visible(tX + (i & 1), tY + (i >> 1))) return true;
                }
            }
        }
        return false;
    }
}

TEST(AlphaCoverageTest, EmptyPicturesDrawNothingAndOpaqueOnesOneBoxOverTheirQuad)
{
    Picture tClear(64, 64);
    AlphaCoverage *nClear = AlphaCoverage::FromRGBA(tClear.mData.data(), 64, 64);
    ASSERT_NE(nClear, nullptr);
    EXPECT_TRUE(nClear->IsEmpty());
    EXPECT_TRUE(Boxes(*nClear, cIdentity, cWideClip).empty());
    delete nClear;

    Picture tOpaque(64, 48);
    for(int32_t y = 0; y < 48; y++)
        for(int32_t x = 0; x < 64; x++) tOpaque.SetAlpha(x, y, 255);
    AlphaCoverage *nOpaque = AlphaCoverage::FromRGBA(tOpaque.mData.data(), 64, 48);
    ASSERT_NE(nOpaque, nullptr);
    std::vector<CoverageBox> tBoxes = Boxes(*nOpaque, cIdentity, cWideClip);
    ASSERT_EQ(tBoxes.size(), 1u);
    // A texel beyond every edge: a pixel on the seam with the next picture is never cut off.
    EXPECT_EQ(tBoxes[0].mX, -1);
    EXPECT_EQ(tBoxes[0].mY, -1);
    EXPECT_EQ(tBoxes[0].mW, 66);
    EXPECT_EQ(tBoxes[0].mH, 50);

    // What lies outside the clip box is cut off, and a picture wholly outside gives no box.
    tBoxes = Boxes(*nOpaque, cIdentity, CoverageBox{10, 20, 30, 100});
    ASSERT_EQ(tBoxes.size(), 1u);
    EXPECT_EQ(tBoxes[0].mX, 10);
    EXPECT_EQ(tBoxes[0].mW, 30);
    EXPECT_EQ(tBoxes[0].mY, 20);
    EXPECT_EQ(tBoxes[0].mH, 29);
    EXPECT_TRUE(Boxes(*nOpaque, CoverageMapping{1.0, 500.0, 1.0, 0.0}, cWideClip).empty());
    delete nOpaque;

    EXPECT_EQ(AlphaCoverage::FromRGBA(nullptr, 4, 4), nullptr);
    EXPECT_EQ(AlphaCoverage::FromRGBA(tClear.mData.data(), 0, 4), nullptr);
    EXPECT_EQ(AlphaCoverage::Whole(0, 4), nullptr);
}

TEST(AlphaCoverageTest, OneVisibleTexelDrawsItsCellAndTheBordersAroundIt)
{
    // Cells of 16: texel (20, 40) lies in cell (1, 2), texels 16..31 by 32..47.
    Picture tPicture(64, 64);
    tPicture.SetAlpha(20, 40, 1);
    AlphaCoverage *nCoverage = AlphaCoverage::FromRGBA(tPicture.mData.data(), 64, 64);
    ASSERT_NE(nCoverage, nullptr);
    std::vector<CoverageBox> tBoxes = Boxes(*nCoverage, cIdentity, cWideClip);
    ASSERT_EQ(tBoxes.size(), 1u);
    EXPECT_EQ(tBoxes[0].mX, 15);
    EXPECT_EQ(tBoxes[0].mW, 18);
    EXPECT_EQ(tBoxes[0].mY, 31);
    EXPECT_EQ(tBoxes[0].mH, 18);

    // A mirrored, scaled mapping lands the same cell mirrored: texels 15..33 at x = 100 - 2s.
    tBoxes = Boxes(*nCoverage, CoverageMapping{-2.0, 100.0, 2.0, 0.0}, cWideClip);
    ASSERT_EQ(tBoxes.size(), 1u);
    EXPECT_EQ(tBoxes[0].mX, 34);
    EXPECT_EQ(tBoxes[0].mW, 36);
    delete nCoverage;

    // A picture whose texels cannot be read is drawn whole.
    AlphaCoverage *nWhole = AlphaCoverage::Whole(10, 5);
    ASSERT_NE(nWhole, nullptr);
    tBoxes = Boxes(*nWhole, cIdentity, cWideClip);
    ASSERT_EQ(tBoxes.size(), 1u);
    EXPECT_EQ(tBoxes[0].mW, 12);
    EXPECT_EQ(tBoxes[0].mH, 7);
    delete nWhole;
}

// Every pixel whose sample can reach a visible texel is drawn exactly once, and no pixel is
// drawn twice, whatever the picture, scale, mirroring or fractional placement.
TEST(AlphaCoverageTest, EveryPixelThatCanShowAVisibleTexelIsDrawnOnceAndNoneTwice)
{
    uint32_t tSeed = 12345;
    auto Next = [&tSeed](uint32_t pRange) {
        tSeed = tSeed * 1103515245u + 12345u;
        return (tSeed >> 8) % pRange;
    };
    const double cScales[] = {0.3, 0.6, 1.0, 5.0 / 3.0, 2.5};
    int32_t tCheckedVisible = 0;
    for(int32_t tRound = 0; tRound < 40; tRound++)
    {
        const int32_t tW = 20 + (int32_t)Next(60);
        const int32_t tH = 20 + (int32_t)Next(60);
        Picture tPicture(tW, tH);
        // A few blobs, some faint, and now and then a scatter that overflows the box limit.
        const int32_t tBlobs = tRound % 7 == 6 ? 200 : 1 + (int32_t)Next(4);
        for(int32_t b = 0; b < tBlobs; b++)
        {
            const int32_t tX = (int32_t)Next(tW);
            const int32_t tY = (int32_t)Next(tH);
            const int32_t tSize = tBlobs > 10 ? 1 : 1 + (int32_t)Next(6);
            for(int32_t y = tY; y < tY + tSize && y < tH; y++)
                for(int32_t x = tX; x < tX + tSize && x < tW; x++) tPicture.SetAlpha(x, y, (uint8_t)(1 + Next(255)));
        }
        AlphaCoverage *nCoverage = AlphaCoverage::FromRGBA(tPicture.mData.data(), tW, tH);
        ASSERT_NE(nCoverage, nullptr);

        CoverageMapping tMapping;
        tMapping.mScaleX = cScales[Next(5)] * (Next(2) ? 1.0 : -1.0);
        tMapping.mScaleY = cScales[Next(5)] * (Next(2) ? 1.0 : -1.0);
        tMapping.mOffsetX = (tMapping.mScaleX < 0 ? 200.0 : 10.0) + Next(1000) / 1000.0;
        tMapping.mOffsetY = (tMapping.mScaleY < 0 ? 200.0 : 10.0) + Next(4) * 0.25;
        const CoverageBox tClip = {(int32_t)Next(30), (int32_t)Next(30), 220, 220};
        std::vector<CoverageBox> tBoxes = Boxes(*nCoverage, tMapping, tClip);
        EXPECT_LE(tBoxes.size(), 64u);

        for(int32_t py = tClip.mY; py < tClip.mY + tClip.mH; py++)
        {
            for(int32_t px = tClip.mX; px < tClip.mX + tClip.mW; px++)
            {
                int32_t tHits = 0;
                for(const CoverageBox &rBox : tBoxes)
                {
                    if(px >= rBox.mX && px < rBox.mX + rBox.mW && py >= rBox.mY && py < rBox.mY + rBox.mH) tHits++;
                }
                ASSERT_LE(tHits, 1) << "pixel " << px << "," << py << " in round " << tRound;
                const double tS = SamplePoint(px, tMapping.mScaleX, tMapping.mOffsetX);
                const double tT = SamplePoint(py, tMapping.mScaleY, tMapping.mOffsetY);
                if(tS < 0.0 || tS >= tW || tT < 0.0 || tT >= tH) continue;
                if(!SampleReachesVisible(tPicture, tS, tT)) continue;
                tCheckedVisible++;
                ASSERT_EQ(tHits, 1) << "pixel " << px << "," << py << " left out in round " << tRound;
            }
        }
        delete nCoverage;
    }
    EXPECT_GT(tCheckedVisible, 1000);
}

TEST(AlphaCoverageTest, VisibleRowsAndTexelSpansForPicturesDrawnByRows)
{
    Picture tPicture(8, 10);
    int32_t tFirst = -1;
    int32_t tEnd = -1;
    FindVisibleRows(tPicture.mData.data(), 8, 10, tFirst, tEnd);
    EXPECT_EQ(tFirst, tEnd);
    tPicture.SetAlpha(7, 3, 1);
    tPicture.SetAlpha(0, 6, 255);
    FindVisibleRows(tPicture.mData.data(), 8, 10, tFirst, tEnd);
    EXPECT_EQ(tFirst, 3);
    EXPECT_EQ(tEnd, 7);
    FindVisibleRows(nullptr, 8, 10, tFirst, tEnd);
    EXPECT_EQ(tFirst, tEnd);

    // Texels 2..5 at 5/3 pixels a texel start at 3.33 and end at 8.33: pixels 3 to 7 have their
    // centres there. Mirrored, the same span counts down from 100; clipping trims it.
    int32_t tStart = 0;
    int32_t tStop = 0;
    ASSERT_TRUE(MapTexelSpan(5.0 / 3.0, 0.0, 2.0, 5.0, 0, 100, tStart, tStop));
    EXPECT_EQ(tStart, 3);
    EXPECT_EQ(tStop, 8);
    ASSERT_TRUE(MapTexelSpan(-2.0, 100.0, 2.0, 5.0, 0, 200, tStart, tStop));
    EXPECT_EQ(tStart, 90);
    EXPECT_EQ(tStop, 96);
    ASSERT_TRUE(MapTexelSpan(-2.0, 100.0, 2.0, 5.0, 92, 200, tStart, tStop));
    EXPECT_EQ(tStart, 92);
    EXPECT_FALSE(MapTexelSpan(1.0, 500.0, 2.0, 5.0, 0, 100, tStart, tStop));
}

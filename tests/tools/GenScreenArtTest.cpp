#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>
#include <vector>

#include "core/render/PngDecoder.h"
#include "interface/GUISPauseScreen.h"
#include "support/ScratchFolder.h"

namespace
{
    // One generated picture, asked which of its pixels are drawn.
    struct Picture
    {
        PngBuffer mBuffer = {nullptr, 0};
        int32_t mWidth = 0;
        int32_t mHeight = 0;

        Picture() = default;
        Picture(const Picture &) = delete;
        Picture &operator=(const Picture &) = delete;
        ~Picture() { FreePngBuffer(&mBuffer); }

        bool Drawn(int32_t pX, int32_t pY) const
        {
            if(pX < 0 || pY < 0 || pX >= mWidth || pY >= mHeight) return false;
            return mBuffer.mData[((size_t)pY * (size_t)mWidth + (size_t)pX) * 4 + 3] != 0;
        }
    };

    // A box in view units, open at its edges: two boxes that only touch do not overlap.
    struct Box
    {
        float mX1, mY1, mX2, mY2;
        bool Overlaps(const Box &pOther) const
        {
            return mX1 < pOther.mX2 && pOther.mX1 < mX2 && mY1 < pOther.mY2 && pOther.mY1 < mY2;
        }
    };

    // Runs the screen-art generator (and the one drawing the menu alphabet) once into a scratch
    // folder, and reads their pictures back.
    class GenScreenArtTest : public testing::Test
    {
    protected:
        static void SetUpTestSuite()
        {
            std::string tBinary = std::string(CORVEL_BINARY_DIR) + "/";
            if(access((tBinary + "genscreenart").c_str(), X_OK) != 0 || access((tBinary + "genimages").c_str(), X_OK) != 0) return;
            sFolder = new ScratchFolder("genscreenart");
            if(!sFolder->IsMade()) return;
            sRoot = sFolder->Path() + "/";
            sMade = system((tBinary + "genscreenart " + sRoot + "Screens > /dev/null").c_str()) == 0 &&
                    system((tBinary + "genimages " + sRoot + " > /dev/null").c_str()) == 0;
        }

        static void TearDownTestSuite()
        {
            delete sFolder;
            sFolder = nullptr;
            sRoot.clear();
        }

        void SetUp() override
        {
            if(sRoot.empty()) GTEST_SKIP() << "genscreenart or genimages not built";
            ASSERT_TRUE(sMade) << "the generators failed";
        }

        void Load(const char *pName, Picture &sPicture)
        {
            std::string tPath = sRoot + pName + ".png";
            ASSERT_EQ(DecodePngFile(tPath.c_str(), &sPicture.mBuffer, &sPicture.mWidth, &sPicture.mHeight), PNG_DECODED)
                << tPath;
        }

        static ScratchFolder *sFolder;
        static std::string sRoot;
        static bool sMade;
    };

    ScratchFolder *GenScreenArtTest::sFolder = nullptr;
    std::string GenScreenArtTest::sRoot;
    bool GenScreenArtTest::sMade = false;

    // The view's pixels, each owned by the first piece of the HUD drawn on it. A piece drawn on
    // a pixel another piece owns is a clash, written down once per pair with its first pixel.
    class ViewOwners
    {
    public:
        ViewOwners() : mOwners(480 * 360, nullptr) {}

        void Mark(int32_t pX, int32_t pY, const char *pPiece)
        {
            if(pX < 0 || pY < 0 || pX >= 480 || pY >= 360) return;
            const char *&rOwner = mOwners[(size_t)pY * 480 + (size_t)pX];
            if(!rOwner) rOwner = pPiece;
            if(rOwner == pPiece) return;
            std::string tPair = std::string(rOwner) + " and " + pPiece;
            if(mClashes.find(tPair) == std::string::npos)
                mClashes += tPair + " at " + std::to_string(pX) + ", " + std::to_string(pY) + "\n";
        }

        // Every drawn pixel of the picture's columns x0 .. x0 + w - 1, at (pLeft, pTop) onward.
        void MarkPicture(const Picture &pPicture, int32_t pX0, int32_t pW, int32_t pLeft, int32_t pTop, const char *pPiece)
        {
            for(int32_t y = 0; y < pPicture.mHeight; y++)
                for(int32_t x = 0; x < pW; x++)
                    if(pPicture.Drawn(pX0 + x, y)) Mark(pLeft + x, pTop + y, pPiece);
        }

        std::string mClashes;

    private:
        std::vector<const char *> mOwners;
    };

    // The player's bar draws its frame at (16, 16), the weapon cell (every energy of every weapon,
    // or the buster's cap) at (16, 115) and each selector circle's 17 by 17 cell at (x - 1, y + 96)
    // for its place (x, y) in the sheet; the boss bar's frame and the "READY" of a stage's start
    // stand where they are drawn in their view-sized pictures. No two of them share a pixel.
    TEST_F(GenScreenArtTest, HudPiecesNeverShareAPixel)
    {
        ViewOwners tView;
        const char *const cTube = "the health tube";
        const char *const cCell = "the weapon cell";
        const char *const cRing = "the selector ring";

        Picture tFrame;
        Load("Screens/HealthFrame", tFrame);
        ASSERT_EQ(45 * 8, tFrame.mWidth);
        for(int32_t k = 0; k < 8; k++) tView.MarkPicture(tFrame, 45 * k, 45, 16, 16, cTube);

        const char *const cWeapons[8] = {"Lightning Bit", "Nightmare Cutter", "Prism Gale", "Chaos Gun",
                                         "Sonic Blaster", "Permafrost Cannon", "Rock Wrecker", "Caustic Spray"};
        for(const char *rWeapon : cWeapons)
        {
            Picture tStrip;
            Load((std::string("Screens/Weapon ") + rWeapon).c_str(), tStrip);
            ASSERT_EQ(45 * 29, tStrip.mWidth) << rWeapon;
            for(int32_t f = 0; f < 29; f++) tView.MarkPicture(tStrip, 45 * f, 45, 16, 115, cCell);
        }
        Picture tCap;
        Load("Screens/HealthCap", tCap);
        tView.MarkPicture(tCap, 0, tCap.mWidth, 16, 115, cCell);

        const int32_t cRingX[8] = {51, 62, 60, 43, 19, 2, 0, 11};
        const int32_t cRingY[8] = {6, 24, 47, 62, 62, 47, 24, 6};
        for(const char *rSheet : {"Screens/SelectorsA", "Screens/SelectorsB"})
        {
            Picture tSheet;
            Load(rSheet, tSheet);
            for(int32_t i = 0; i < 8; i++)
                for(int32_t v = 0; v < 17; v++)
                    for(int32_t u = 0; u < 17; u++)
                        if(tSheet.Drawn(cRingX[i] + u, cRingY[i] + v)) tView.Mark(cRingX[i] - 1 + u, cRingY[i] + 96 + v, cRing);
        }

        Picture tBoss;
        Load("Screens/BossHealthBar", tBoss);
        ASSERT_EQ(480, tBoss.mWidth);
        tView.MarkPicture(tBoss, 0, tBoss.mWidth, 0, 0, "the boss bar");
        Picture tReady;
        Load("Screens/Ready", tReady);
        ASSERT_EQ(480, tReady.mWidth);
        tView.MarkPicture(tReady, 0, tReady.mWidth, 0, 0, "READY");

        EXPECT_EQ("", tView.mClashes);
    }

    // The options page frames its chosen entry with the reticule's four corner pieces (8 by 8
    // texels, one unit each, mirrored towards the inside of the entry's rectangle). The page's
    // texts stand 1.05 times the alphabet's size, each letter one cell and one unit after the
    // last. Wherever the page puts a rectangle, no texel of a corner lies on a letter's pixel.
    TEST_F(GenScreenArtTest, OptionsReticuleKeepsOffTheLettersItFrames)
    {
        Picture tAlphabet;
        Load("Text/MenuAlphabet", tAlphabet);
        Picture tReticule;
        Load("Screens/Reticule", tReticule);
        const int32_t tCell = tAlphabet.mWidth / 128;
        const float cScale = 1.05f;

        auto TextWidth = [&](const char *pText) { return (int32_t)strlen(pText) * (tCell + 1); };
        auto LetterBoxes = [&](float pX, float pY, const char *pText) {
            std::vector<Box> tBoxes;
            for(size_t k = 0; pText[k]; k++)
            {
                float tLeft = pX + (float)(k + 1) * (float)(tCell + 1) * cScale;
                for(int32_t r = 0; r < tAlphabet.mHeight; r++)
                    for(int32_t c = 0; c < tCell; c++)
                        if(tAlphabet.Drawn((unsigned char)pText[k] * tCell + c, r))
                            tBoxes.push_back({tLeft + c * cScale, pY + r * cScale, tLeft + (c + 1) * cScale, pY + (r + 1) * cScale});
            }
            return tBoxes;
        };
        auto CornerBoxes = [&](float pX1, float pY1, float pX2, float pY2) {
            std::vector<Box> tBoxes;
            for(int32_t v = 0; v < 8; v++)
                for(int32_t u = 0; u < 8; u++)
                {
                    if(!tReticule.Drawn(u, v)) continue;
                    tBoxes.push_back({pX1 + u, pY1 + v, pX1 + u + 1, pY1 + v + 1});
                    tBoxes.push_back({pX1 + u, pY2 - v - 1, pX1 + u + 1, pY2 - v});
                    tBoxes.push_back({pX2 - u - 1, pY1 + v, pX2 - u, pY1 + v + 1});
                    tBoxes.push_back({pX2 - u - 1, pY2 - v - 1, pX2 - u, pY2 - v});
                }
            return tBoxes;
        };
        auto ExpectApart = [&](const std::vector<Box> &pLetters, const std::vector<Box> &pCorners, const char *pText) {
            ASSERT_FALSE(pLetters.empty()) << pText;
            ASSERT_FALSE(pCorners.empty());
            size_t tTouched = 0;
            for(const Box &rLetter : pLetters)
                for(const Box &rCorner : pCorners)
                    if(rLetter.Overlaps(rCorner)) tTouched++;
            EXPECT_EQ(0u, tTouched) << "the reticule lies on \"" << pText << "\"";
        };

        // A binding name centred on its column, its rectangle spanning its measured width.
        for(const char *rName : {"Z", "X", "SPACE", "RETURN", "CONTROL_L", "NULL", "PAD_ASTERISK"})
        {
            for(float tCentre : {122.0f, 192.0f})
            {
                float tX1 = 0.0f, tX2 = 0.0f;
                OptionsBindingSpan(tCentre, (float)TextWidth(rName), tX1, tX2);
                float tLeft = (float)((int32_t)tCentre - TextWidth(rName) / 2);
                ExpectApart(LetterBoxes(tLeft, 82.0f, rName), CornerBoxes(tX1, 79.0f, tX2, 90.0f), rName);
            }
        }
        // The double-tap dash and sound words, from x = 152 to 12 past their width.
        for(const char *rWord : {"ENABLED", "DISABLED"})
        {
            float tX2 = 164.0f + (float)TextWidth(rWord);
            ExpectApart(LetterBoxes(151.0f, 202.0f, rWord), CornerBoxes(152.0f, 199.0f, tX2, 210.0f), rWord);
            ExpectApart(LetterBoxes(151.0f, 253.0f, rWord), CornerBoxes(152.0f, 250.0f, tX2, 261.0f), rWord);
        }
        // The screen sizes and full screen, each at its own place in its own rectangle.
        struct Fixed
        {
            const char *mText;
            float mX, mY, mX1, mY1, mX2, mY2;
        };
        const Fixed cFixed[] = {
            {"480X360", 341, 292, 343, 289, 396, 300}, {"960X720", 401, 292, 403, 289, 457, 300},
            {"1440X1080", 321, 312, 325, 309, 389, 322}, {"1920X1440", 392, 312, 395, 309, 457, 322},
            {"FULLSCREEN", 362, 332, 362, 329, 438, 340},
        };
        for(const Fixed &rEntry : cFixed)
            ExpectApart(LetterBoxes(rEntry.mX, rEntry.mY, rEntry.mText), CornerBoxes(rEntry.mX1, rEntry.mY1, rEntry.mX2, rEntry.mY2),
                        rEntry.mText);
    }
}

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>

#include "core/render/PngDecoder.h"
#include "support/ScratchFolder.h"

// The pause pages draw their texts at fixed points, 1.05 times the menu alphabet's size, and the
// image font moves one cell and one pixel before each letter. With the alphabet genimages draws,
// the closest neighbours on the options and status pages stand apart, "MUSIC:" ends clear of its
// track (a gap of 3 units, 5 pixels in the default window of 800 by 600), and the
// longest texts on the right end inside the page frame (inner edge at x = 464) and left of the
// exit box (x = 380).
TEST(GenImagesTest, MenuAlphabetKeepsThePauseTextsApart)
{
    std::string tTool = std::string(CORVEL_BINARY_DIR) + "/genimages";
    if(access(tTool.c_str(), X_OK) != 0) GTEST_SKIP() << "genimages not built";
    ScratchFolder tFolder("genimages");
    ASSERT_TRUE(tFolder.IsMade());
    std::string tRoot = tFolder.Path() + "/";
    ASSERT_EQ(system((tTool + " " + tRoot + " > /dev/null").c_str()), 0);

    PngBuffer tBuffer = {nullptr, 0};
    int32_t tWidth = 0, tHeight = 0;
    ASSERT_EQ(DecodePngFile((tRoot + "Text/MenuAlphabet.png").c_str(), &tBuffer, &tWidth, &tHeight), PNG_DECODED);
    const int32_t tCell = tWidth / 128;
    ASSERT_EQ(tCell * 128, tWidth);
    // Columns of a letter's cell up to its last lit one.
    auto InkWidth = [&](unsigned char pCode) {
        int32_t tInk = 0;
        for(int32_t y = 0; y < tHeight; y++)
            for(int32_t x = 0; x < tCell; x++)
                if(tBuffer.mData[((size_t)y * tWidth + pCode * tCell + x) * 4 + 3] && x + 1 > tInk) tInk = x + 1;
        return tInk;
    };

    const float cScale = 1.05f;
    const float tAdvance = (float)(tCell + 1) * cScale;
    auto Left = [&](float pX) { return pX + tAdvance; };
    auto Right = [&](float pX, const char *pText) {
        size_t tLength = strlen(pText);
        return pX + (float)tLength * tAdvance + (float)InkWidth((unsigned char)pText[tLength - 1]) * cScale;
    };
    // Centred texts start half their unscaled width left of the centre, in whole units.
    auto Centred = [&](int32_t pCentre, const char *pText) {
        return (float)(pCentre - (int32_t)strlen(pText) * (tCell + 1) / 2);
    };

    // Options page.
    EXPECT_LT(Right(Centred(122, "PRIMARY"), "PRIMARY"), Left(Centred(192, "SECONDARY")));
    EXPECT_LT(Right(44, "CYCLE L:"), Left(Centred(122, "CONTROL_L")));
    EXPECT_LT(Right(Centred(122, "CONTROL_L"), "CONTROL_L"), Left(Centred(192, "CONTROL_L")));
    EXPECT_LT(Right(44, "DOUBLE-TAP DASH:"), Left(151));
    EXPECT_LT(Right(92, "MUSIC:"), 131.0f) << "comes within 3 units of the music track";
    EXPECT_LT(Right(341, "480X360"), Left(401));
    EXPECT_LT(Right(321, "1440X1080"), Left(392));
    EXPECT_LT(Right(392, "1920X1440"), 464.0f);
    // Status page.
    EXPECT_LT(Right(282, "KB BUSTER"), Left(351));
    EXPECT_LT(Right(52, "WEAPONRY (FIRE TO SELECT)"), 217.0f) << "runs under the buster's cap";
    EXPECT_LT(Right(303, "ENERGY MANAGEMENT"), 464.0f);
    EXPECT_LT(Right(342, "PERMAFROST CANNON"), 464.0f);
    EXPECT_LT(Right(252, "NIGHTMARE CUTTER"), 380.0f);

    FreePngBuffer(&tBuffer);

    ASSERT_TRUE(tFolder.Remove());
}

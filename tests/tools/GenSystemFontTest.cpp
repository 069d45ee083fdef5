#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

#include "core/render/Font.h"
#include "support/ScratchFolder.h"

// The level select draws a map name at a quarter of the system font's 60 pixels, its baseline
// on the bottom edge of the cursor box, whose top edge is 9 units above; the box's lines are 2
// pixels wide, a whole unit each side of the edge in the smallest window. Every printable
// letter must sit inside that box, clear of both lines, and a unit and a half clear of the
// left one at the pen, so a name does not seem to touch its box.
TEST(GenSystemFontTest, EveryLetterFitsInsideTheLevelSelectBox)
{
    std::string tTool = std::string(CORVEL_BINARY_DIR) + "/gensystemfont";
    if(access(tTool.c_str(), X_OK) != 0) GTEST_SKIP() << "gensystemfont not built";
    ScratchFolder tFolder("sysfont");
    ASSERT_TRUE(tFolder.IsMade());
    std::string tFontPath = tFolder.File("System.ttf");
    ASSERT_EQ(system((tTool + " " + tFontPath).c_str()), 0);

    FT_Library tLibrary = nullptr;
    ASSERT_EQ(FT_Init_FreeType(&tLibrary), 0);
    FT_Face tFace = nullptr;
    ASSERT_EQ(FT_New_Face(tLibrary, tFontPath.c_str(), 0, &tFace), 0);
    FT_Set_Pixel_Sizes(tFace, 0, FONT_PIXEL_HEIGHT);
    FontGlyph *tTable = (FontGlyph *)calloc(FONT_GLYPH_COUNT, sizeof(FontGlyph));
    ASSERT_NE(tTable, nullptr);
    int32_t tHeight = 0;
    uint8_t *tAtlas = RenderGlyphAtlas(tFace, tTable, &tHeight);
    ASSERT_NE(tAtlas, nullptr);

    const float cUnit = 4.0f; // pixels of the 60-pixel font per unit at a quarter scale
    const FontGlyph &rSpace = tTable[' '];
    EXPECT_TRUE(rSpace.mPresent);
    for(int c = 33; c < 127; c++)
    {
        const FontGlyph &rGlyph = tTable[c];
        ASSERT_TRUE(rGlyph.mPresent) << "no letter for " << (char)c;
        ASSERT_GT(rGlyph.mWidth, 0.0f) << (char)c;
        float tTop = (float)rGlyph.mBearingY / cUnit;
        float tBottom = ((float)rGlyph.mBearingY - rGlyph.mHeight) / cUnit;
        float tLeft = (float)rGlyph.mLeft / cUnit;
        EXPECT_GT(tBottom, 1.0f) << (char)c << " reaches the baseline's line";
        EXPECT_LT(tTop, 8.0f) << (char)c << " reaches the top line";
        EXPECT_GT(tLeft, 2.5f) << (char)c << " comes within a unit and a half of the left line";
        // Letters stand apart: each one ends before the next one's pen position plus its indent.
        EXPECT_LT(rGlyph.mWidth, (float)rGlyph.mAdvance) << (char)c;
    }

    free(tAtlas);
    free(tTable);
    FT_Done_Face(tFace);
    FT_Done_FreeType(tLibrary);
    ASSERT_TRUE(tFolder.Remove());
}

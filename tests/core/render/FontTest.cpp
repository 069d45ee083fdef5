#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>

#include <GL/gl.h>
#include <allegro5/allegro.h>

#include "core/Application.h"
#include "core/Gears.h"
#include "core/data/DataLibrary.h"
#include "core/render/Bitmap.h"
#include "core/render/Font.h"
#include "core/render/GLState.h"
#include "support/RenderTestDisplay.h"
#include "support/ScratchFolder.h"

namespace
{
    const char *kDejaVu = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";

    FontGlyph Sized(int32_t pWidth, int32_t pHeight)
    {
        FontGlyph tGlyph;
        memset(&tGlyph, 0, sizeof(tGlyph));
        tGlyph.mPresent = 1;
        tGlyph.mWidth = (float)pWidth;
        tGlyph.mHeight = (float)pHeight;
        return tGlyph;
    }

    bool Overlaps(const FontGlyph &a, const FontGlyph &b)
    {
        return a.mAtlasX < b.mAtlasX + b.mWidth && b.mAtlasX < a.mAtlasX + a.mWidth &&
               a.mAtlasY < b.mAtlasY + b.mHeight && b.mAtlasY < a.mAtlasY + a.mHeight;
    }

    // DejaVu Sans at the system font's size with its glyph table and atlas, released however the
    // test ends. mFace stays null when the font is not installed.
    struct DejaVuAtlas
    {
        FT_Library mLibrary = nullptr;
        bool mLibraryReady = false;
        FT_Face mFace = nullptr;
        FontGlyph *mTable = nullptr;
        uint8_t *mAtlas = nullptr;
        int32_t mHeight = 0;

        DejaVuAtlas()
        {
            mLibraryReady = FT_Init_FreeType(&mLibrary) == 0;
            if (!mLibraryReady) return;
            if (FT_New_Face(mLibrary, kDejaVu, 0, &mFace) != 0)
            {
                mFace = nullptr;
                return;
            }
            FT_Set_Pixel_Sizes(mFace, 0, FONT_PIXEL_HEIGHT);
            mTable = (FontGlyph *)calloc(FONT_GLYPH_COUNT, sizeof(FontGlyph));
            mAtlas = RenderGlyphAtlas(mFace, mTable, &mHeight);
        }
        DejaVuAtlas(const DejaVuAtlas &) = delete;
        DejaVuAtlas &operator=(const DejaVuAtlas &) = delete;
        ~DejaVuAtlas()
        {
            free(mAtlas);
            free(mTable);
            if (mFace) FT_Done_Face(mFace);
            if (mLibraryReady) FT_Done_FreeType(mLibrary);
        }
    };
}

TEST(FontLayoutTest, RowsWrapOnlyWhenWiderThanTheAtlas)
{
    FontGlyph tGlyphs[5] = {Sized(500, 10), Sized(500, 30), Sized(24, 20), Sized(1, 5), Sized(7, 8)};
    tGlyphs[4].mPresent = 0;
    int32_t tHeight = LayOutGlyphAtlas(tGlyphs, 5, 1024);

    // 500 + 500 + 24 is exactly 1024 and stays on the first row.
    EXPECT_EQ(tGlyphs[0].mAtlasX, 0.0f);
    EXPECT_EQ(tGlyphs[1].mAtlasX, 500.0f);
    EXPECT_EQ(tGlyphs[2].mAtlasX, 1000.0f);
    EXPECT_EQ(tGlyphs[2].mAtlasY, 0.0f);
    // The next one starts the second row at x 0, below the tallest of the first row.
    EXPECT_EQ(tGlyphs[3].mAtlasX, 0.0f);
    EXPECT_EQ(tGlyphs[3].mAtlasY, 30.0f);
    // An absent glyph takes no room and is not placed.
    EXPECT_EQ(tGlyphs[4].mAtlasX, 0.0f);
    EXPECT_EQ(tGlyphs[4].mAtlasY, 0.0f);
    EXPECT_EQ(tHeight, 35);

    EXPECT_EQ(LayOutGlyphAtlas(tGlyphs, 0, 1024), 0);
    EXPECT_EQ(LayOutGlyphAtlas(nullptr, 5, 1024), 0);
}

TEST(FontLayoutTest, CoverageBecomesOpaqueFrom192)
{
    uint8_t tTexel[4];
    CoverageToTexel(191, tTexel);
    EXPECT_EQ(tTexel[0], 191);
    EXPECT_EQ(tTexel[2], 191);
    EXPECT_EQ(tTexel[3], 0);
    CoverageToTexel(192, tTexel);
    EXPECT_EQ(tTexel[1], 192);
    EXPECT_EQ(tTexel[3], 192);
    CoverageToTexel(0, tTexel);
    EXPECT_EQ(tTexel[3], 0);
}

// The system font's text must fit where it is drawn: the frame-rate text is measured by the
// advances of its glyphs and kept inside the 480-unit view.
TEST(FontLayoutTest, DrawnWidthSumsAdvancesAndTheFrameRateFitsTheView)
{
    DejaVuAtlas tDejaVu;
    ASSERT_TRUE(tDejaVu.mLibraryReady);
    if (!tDejaVu.mFace) GTEST_SKIP() << "DejaVu Sans is not installed";
    ASSERT_NE(tDejaVu.mAtlas, nullptr);
    const FontGlyph *tTable = tDejaVu.mTable;

    const int32_t tSix = tTable['6'].mAdvance;
    ASSERT_GT(tSix, 0);
    EXPECT_EQ(GlyphAdvanceWidth(tTable, "60.0"), tSix + tTable['0'].mAdvance * 2 + tTable['.'].mAdvance);
    // Codes without a drawable glyph take no room.
    EXPECT_EQ(GlyphAdvanceWidth(tTable, "6\x01" "6\xC9"), 2 * tSix);
    EXPECT_EQ(GlyphAdvanceWidth(tTable, ""), 0);
    EXPECT_EQ(GlyphAdvanceWidth(tTable, nullptr), 0);
    EXPECT_EQ(GlyphAdvanceWidth(nullptr, "60.0"), 0);

    // A narrow text keeps its place; any measured rate, even a hasted "1000.0", ends inside.
    EXPECT_EQ(FrameRateTextLeft(10.0f, 480.0f), 450.0f);
    for (const char *rText : {"00.0", "60.0", "59.9", "120.0", "1000.0"})
    {
        float tWidth = GlyphAdvanceWidth(tTable, rText) * 0.25f;
        float tLeft = FrameRateTextLeft(tWidth, 480.0f);
        EXPECT_LE(tLeft, 450.0f) << rText;
        EXPECT_LT(tLeft + tWidth, 480.0f) << rText;
        EXPECT_GT(tLeft + tWidth, 470.0f) << rText;
    }
}

TEST(FontLayoutTest, DejaVuAtlasHoldsEveryGlyphOnceInsideItsBounds)
{
    DejaVuAtlas tDejaVu;
    ASSERT_TRUE(tDejaVu.mLibraryReady);
    if (!tDejaVu.mFace) GTEST_SKIP() << "DejaVu Sans is not installed";
    ASSERT_NE(tDejaVu.mAtlas, nullptr);
    FT_Face tFace = tDejaVu.mFace;
    const FontGlyph *tTable = tDejaVu.mTable;
    const uint8_t *tAtlas = tDejaVu.mAtlas;
    const int32_t tHeight = tDejaVu.mHeight;
    ASSERT_GT(tHeight, FONT_PIXEL_HEIGHT);

    EXPECT_TRUE(tTable['A'].mPresent);
    EXPECT_TRUE(tTable[0xC9].mPresent); // Latin-1 letters are cached too
    EXPECT_FALSE(tTable[1].mPresent);   // control codes have no glyph
    EXPECT_TRUE(tTable[' '].mPresent);
    EXPECT_EQ(tTable[' '].mWidth, 0.0f);
    EXPECT_GT(tTable[' '].mAdvance, 0);

    int32_t tPresent = 0;
    for (int32_t i = 0; i < FONT_GLYPH_COUNT; i++)
    {
        const FontGlyph &a = tTable[i];
        if (!a.mPresent) continue;
        tPresent++;
        EXPECT_GE(a.mAtlasX, 0.0f);
        EXPECT_LE(a.mAtlasX + a.mWidth, (float)FONT_ATLAS_WIDTH) << "code " << i;
        EXPECT_LE(a.mAtlasY + a.mHeight, (float)tHeight) << "code " << i;
        for (int32_t j = i + 1; j < FONT_GLYPH_COUNT; j++)
        {
            if (!tTable[j].mPresent || a.mWidth == 0 || tTable[j].mWidth == 0) continue;
            EXPECT_FALSE(Overlaps(a, tTable[j])) << "codes " << i << " and " << j;
        }
    }
    EXPECT_GT(tPresent, 150);

    // Every texel follows the coverage rule, and the copy matches FreeType's picture of 'A'.
    int32_t tOpaque = 0;
    for (size_t p = 0; p < (size_t)FONT_ATLAS_WIDTH * tHeight; p++)
    {
        const uint8_t *t = &tAtlas[p * 4];
        ASSERT_TRUE(t[3] == 0 || (t[3] >= 192 && t[3] == t[0]));
        ASSERT_TRUE(t[0] == t[1] && t[1] == t[2]);
        if (t[3]) tOpaque++;
    }
    EXPECT_GT(tOpaque, 1000);

    ASSERT_EQ(FT_Load_Glyph(tFace, FT_Get_Char_Index(tFace, 'A'), FT_LOAD_RENDER), 0);
    const FT_Bitmap &rBitmap = tFace->glyph->bitmap;
    ASSERT_EQ((float)rBitmap.width, tTable['A'].mWidth);
    for (uint32_t r = 0; r < rBitmap.rows; r++)
    {
        for (uint32_t k = 0; k < rBitmap.width; k++)
        {
            size_t p = ((size_t)(tTable['A'].mAtlasY + r) * FONT_ATLAS_WIDTH + (size_t)(tTable['A'].mAtlasX + k)) * 4;
            ASSERT_EQ(tAtlas[p], rBitmap.buffer[r * rBitmap.pitch + k]);
        }
    }

}

TEST(FontTest, UnloadedFontsMeasureOneAndCannotBeOpenedWithoutAFile)
{
    Font tFont;
    EXPECT_FALSE(tFont.IsLoaded());
    EXPECT_EQ(tFont.GetTextWidth("Hello"), 1);
    EXPECT_EQ(tFont.GetTextWidth(nullptr), 1);

    ASSERT_TRUE(StartFreeType());
    EXPECT_TRUE(StartFreeType());
    Font *tMissing = Font::LoadFreeType("/nonexistent/NoSuchFont.ttf");
    EXPECT_TRUE(tMissing->IsFreeType());
    EXPECT_FALSE(tMissing->IsLoaded());
    delete tMissing;
    Font *tNull = Font::LoadFreeType(nullptr);
    EXPECT_FALSE(tNull->IsLoaded());
    DeleteFont(tNull);
    DeleteFont(nullptr);
}

TEST(FontTest, CurrentFontComesOnlyFromAFontEntry)
{
    Application *rApp = GetApplication();
    DataLibrary *tLibrary = new DataLibrary();
    rApp->mDataLibrary = tLibrary;
    tLibrary->SetVerbose(0);
    tLibrary->AddPath("Root/Fonts/All/All/");
    Font *tFont = new Font();
    tLibrary->AddEntry("Root/Fonts/All/All/SystemFont", tFont, DeleteFont, DL_KIND_FONT);
    Bitmap *tBitmap = new Bitmap();
    tLibrary->AddEntry("Root/Fonts/All/All/NotAFont", tBitmap, Bitmap::DeleteThis, DL_KIND_BITMAP);

    SetCurrentFontByPath("Root/Fonts/All/All/SystemFont");
    EXPECT_EQ(GetCurrentFont(), tFont);
    SetCurrentFontByPath("Root/Fonts/All/All/NotAFont");
    EXPECT_EQ(GetCurrentFont(), nullptr);
    SetCurrentFont(tFont);
    EXPECT_EQ(GetCurrentFont(), tFont);
    SetCurrentFontByPath("Root/Fonts/All/All/Missing");
    EXPECT_EQ(GetCurrentFont(), nullptr);

    rApp->mDataLibrary = nullptr;
    delete tLibrary;
    SetCurrentFontByPath("Root/Fonts/All/All/SystemFont");
    EXPECT_EQ(GetCurrentFont(), nullptr);
}

class FontGLTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { sHaveDisplay = OpenTestDisplay(480, 360); }
    static void TearDownTestSuite() { CloseTestDisplay(); }
    void SetUp() override
    {
        if (!sHaveDisplay) GTEST_SKIP() << "no OpenGL display";
        ASSERT_TRUE(StartFreeType());
    }

    static void ReadModelview(float *pMatrix, GLint &sDepth)
    {
        glGetFloatv(GL_MODELVIEW_MATRIX, pMatrix);
        glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &sDepth);
    }

    static void ExpectMatrixKept(const float *pBefore, GLint pDepthBefore)
    {
        float tAfter[16];
        GLint tDepth = 0;
        ReadModelview(tAfter, tDepth);
        EXPECT_EQ(tDepth, pDepthBefore);
        for (int i = 0; i < 16; i++) EXPECT_FLOAT_EQ(tAfter[i], pBefore[i]) << "element " << i;
    }

    // Counts bright pixels in the back buffer.
    static int32_t CountLitPixels()
    {
        Application *rApp = GetApplication();
        int32_t tW = rApp->mWindowWidth, tH = rApp->mWindowHeight;
        uint8_t *tPixels = (uint8_t *)malloc((size_t)tW * tH * 4);
        glReadPixels(0, 0, tW, tH, GL_RGBA, GL_UNSIGNED_BYTE, tPixels);
        int32_t tLit = 0;
        for (int32_t i = 0; i < tW * tH; i++)
            if (tPixels[i * 4] > 128) tLit++;
        free(tPixels);
        return tLit;
    }

    static bool sHaveDisplay;
};

bool FontGLTest::sHaveDisplay = false;

TEST_F(FontGLTest, FreeTypeFontCachesAnAtlasAndDrawsWithoutMovingTheMatrix)
{
    Font *tFont = Font::LoadFreeType(kDejaVu);
    if (!tFont->IsLoaded())
    {
        delete tFont;
        GTEST_SKIP() << "DejaVu Sans is not installed";
    }
    ASSERT_NE(tFont->GetCacheTexture(), 0u);
    glBindTexture(GL_TEXTURE_2D, tFont->GetCacheTexture());
    GLint tW = 0, tH = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &tW);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &tH);
    EXPECT_EQ(tW, FONT_ATLAS_WIDTH);
    EXPECT_EQ((float)tH, tFont->GetAtlasHeight());
    ASSERT_NE(tFont->GetGlyph('A'), nullptr);
    EXPECT_TRUE(glIsList(tFont->GetGlyph('A')->mDisplayList));
    EXPECT_EQ(tFont->GetTextWidth("Wide text"), 0);

    GLState::Begin2D(480, 360);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    float tBefore[16];
    GLint tDepth = 0;
    ReadModelview(tBefore, tDepth);

    // Centring a FreeType font changes nothing (its measured width is 0); scale x is spent
    // by the draw, scale y stays.
    tFont->SetScaleX(0.5f);
    tFont->SetScaleY(0.75f);
    tFont->DrawText(100, 150, FONT_FLAG_CENTRE, "HI");
    ExpectMatrixKept(tBefore, tDepth);
    EXPECT_EQ(tFont->GetScaleX(), 1.0f);
    EXPECT_EQ(tFont->GetScaleY(), 0.75f);
    EXPECT_GT(CountLitPixels(), 100);

    // A scaled draw at the origin pushes no attributes but still restores the matrix.
    tFont->SetScaleY(2.0f);
    tFont->DrawTextAt(0, 0, "Hi");
    ExpectMatrixKept(tBefore, tDepth);
    tFont->DrawText(10, 10, FONT_FLAG_SWAP_T, "\xC9\xFF high bytes skip");
    ExpectMatrixKept(tBefore, tDepth);
    tFont->DrawTextAt(10, 10, nullptr);
    ExpectMatrixKept(tBefore, tDepth);

    tFont->BindCacheTexture();
    tFont->DrawTextList("list text");
    ExpectMatrixKept(tBefore, tDepth);
    EXPECT_EQ(glGetError(), (GLenum)GL_NO_ERROR);
    GLState::End2D();
    delete tFont;
}

TEST_F(FontGLTest, ImageFontMeasuresCellsAndKeepsTheMatrix)
{
    ScratchFolder tDir("font");
    ASSERT_TRUE(tDir.IsMade());
    std::string tPath = tDir.File("Alphabet.png");
    al_set_new_bitmap_flags(ALLEGRO_MEMORY_BITMAP);
    ALLEGRO_BITMAP *tPicture = al_create_bitmap(1024, 8);
    ALLEGRO_BITMAP *rOldTarget = al_get_target_bitmap();
    al_set_target_bitmap(tPicture);
    al_clear_to_color(al_map_rgb(255, 255, 255));
    al_set_target_bitmap(rOldTarget);
    ASSERT_TRUE(al_save_bitmap(tPath.c_str(), tPicture));
    al_destroy_bitmap(tPicture);
    al_set_new_bitmap_flags(0);

    Font tFont(tPath.c_str());
    ASSERT_TRUE(tFont.IsLoaded());
    EXPECT_TRUE(tFont.IsImageFont());
    EXPECT_EQ(tFont.GetTextWidth("ABCDE"), 45);
    EXPECT_EQ(tFont.GetTextWidth(nullptr), 36);

    GLState::Begin2D(480, 360);
    float tBefore[16];
    GLint tDepth = 0;
    ReadModelview(tBefore, tDepth);
    tFont.SetScaleY(3.0f);
    tFont.DrawTextAt(0, 0, "scaled at the origin");
    ExpectMatrixKept(tBefore, tDepth);
    tFont.SetOffset(4, 5);
    tFont.DrawText(240, 100, FONT_FLAG_CENTRE, "centred");
    ExpectMatrixKept(tBefore, tDepth);
    int16_t tX = 0, tY = 0;
    tFont.GetOffset(tX, tY);
    EXPECT_EQ(tX, 4);
    EXPECT_EQ(tY, 5);
    GLState::End2D();
    EXPECT_TRUE(tDir.Remove());

    // A missing picture gives zero-wide cells: one pixel a character, nothing drawn.
    Font tMissing("/nonexistent/Alphabet.png");
    EXPECT_TRUE(tMissing.IsLoaded());
    EXPECT_EQ(tMissing.GetTextWidth("ABC"), 3);
    GLState::Begin2D(480, 360);
    ReadModelview(tBefore, tDepth);
    tMissing.DrawTextAt(10, 10, "ABC");
    ExpectMatrixKept(tBefore, tDepth);
    GLState::End2D();
}

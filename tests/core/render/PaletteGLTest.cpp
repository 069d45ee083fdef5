#include <gtest/gtest.h>

#include <cstdio>
#include <unistd.h>

#include <GL/gl.h>
#include <GL/glext.h>
#include <allegro5/allegro_opengl.h>

#include "core/Application.h"
#include "core/render/DisplayManager.h"
#include "core/render/GLEntryPoints.h"
#include "core/render/GLState.h"
#include "core/render/Palette.h"
#include "core/render/PaletteShader.h"
#include "support/RenderTestDisplay.h"

namespace
{
    bool SameColour(const ColorRGBA *pA, ColorRGBA pB)
    {
        return pA && pA->r == pB.r && pA->g == pB.g && pA->b == pB.b && pA->a == pB.a;
    }
}

TEST(PaletteTest, ColourCountClearsAndBoundsEveryIndex)
{
    Palette tPalette;
    tPalette.AddVariant("Early");
    EXPECT_EQ(tPalette.GetVariantCount(), 0); // no colours yet

    tPalette.SetColourCount(2);
    tPalette.SetBaseColour(0, ColorRGBA::FromBytes(255, 0, 0));
    tPalette.SetBaseColour(2, ColorRGBA::FromBytes(1, 2, 3));
    tPalette.SetBaseColour(-1, ColorRGBA::FromBytes(1, 2, 3));
    EXPECT_TRUE(SameColour(&tPalette.GetBaseColours()[0], ColorRGBA::FromBytes(255, 0, 0)));
    EXPECT_TRUE(SameColour(&tPalette.GetBaseColours()[1], ColorRGBA{0, 0, 0, 0}));

    tPalette.AddVariant("Blue");
    tPalette.SetVariantColour("Blue", 5, ColorRGBA::FromBytes(9, 9, 9));
    tPalette.SetVariantColour(nullptr, 0, ColorRGBA::FromBytes(9, 9, 9));
    tPalette.SetVariantColour("Nope", 0, ColorRGBA::FromBytes(9, 9, 9));
    EXPECT_STREQ(tPalette.GetCurrentVariantName(), "Blue");
    EXPECT_TRUE(SameColour(&tPalette.GetVariantColours("Blue")[0], ColorRGBA{0, 0, 0, 0}));

    tPalette.SetColourCount(0);
    EXPECT_EQ(tPalette.GetColourCount(), 0);
    EXPECT_EQ(tPalette.GetVariantCount(), 0);
    EXPECT_EQ(tPalette.GetCurrentVariantName(), nullptr);
    EXPECT_EQ(tPalette.GetVariantColours("Blue"), nullptr);
    DeletePalette(nullptr);
}

TEST(PaletteTest, CurrentVariantIsWrittenWithoutLookingItUpAgain)
{
    Palette *tPalette = new Palette();
    tPalette->SetColourCount(3);
    tPalette->AddVariant("A");
    tPalette->AddVariant("B");
    const ColorRGBA *rFirstA = tPalette->GetCurrentVariantColours();
    tPalette->SetVariantColour("A", 1, ColorRGBA::FromBytes(10, 20, 30));
    EXPECT_STREQ(tPalette->GetCurrentVariantName(), "A");
    EXPECT_NE(tPalette->GetCurrentVariantColours(), rFirstA);
    EXPECT_TRUE(SameColour(&tPalette->GetVariantColours("A")[1], ColorRGBA::FromBytes(10, 20, 30)));

    // A second "A" becomes current; writing "A" now goes to it, while lookups find the first.
    tPalette->AddVariant("A");
    const ColorRGBA *rSecondA = tPalette->GetCurrentVariantColours();
    tPalette->SetVariantColour("A", 2, ColorRGBA::FromBytes(7, 7, 7));
    EXPECT_TRUE(SameColour(&rSecondA[2], ColorRGBA::FromBytes(7, 7, 7)));
    EXPECT_TRUE(SameColour(&tPalette->GetVariantColours("A")[2], ColorRGBA{0, 0, 0, 0}));
    EXPECT_EQ(tPalette->GetVariantCount(), 3);
    DeletePalette(tPalette);
}

class PaletteGLTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        sHaveDisplay = OpenTestDisplay(480, 360);
        if (!sHaveDisplay) return;
        sGetUniformiv = (PFNGLGETUNIFORMIVPROC)al_get_opengl_proc_address("glGetUniformiv");
        sGetUniformfv = (PFNGLGETUNIFORMFVPROC)al_get_opengl_proc_address("glGetUniformfv");
        char tOld[1024];
        if (!getcwd(tOld, sizeof(tOld))) return;
        if (chdir(CORVEL_SOURCE_DIR "/game") == 0)
        {
            BootShaders();
            if (chdir(tOld) != 0) perror("chdir");
        }
    }
    static void TearDownTestSuite()
    {
        EndPaletteSwap();
        CloseTestDisplay();
    }
    void SetUp() override
    {
        if (!sHaveDisplay) GTEST_SKIP() << "no OpenGL display";
    }

    static GLint CurrentProgram()
    {
        GLint tProgram = -1;
        glGetIntegerv(GL_CURRENT_PROGRAM, &tProgram);
        return tProgram;
    }

    static bool sHaveDisplay;
    static PFNGLGETUNIFORMIVPROC sGetUniformiv;
    static PFNGLGETUNIFORMFVPROC sGetUniformfv;
};

bool PaletteGLTest::sHaveDisplay = false;
PFNGLGETUNIFORMIVPROC PaletteGLTest::sGetUniformiv = nullptr;
PFNGLGETUNIFORMFVPROC PaletteGLTest::sGetUniformfv = nullptr;

TEST_F(PaletteGLTest, ShaderFilesCompileAndLink)
{
    DisplayManager *rDisplay = DisplayManager::Get();
    rDisplay->UseProgram("XPaletteSwap");
    GLuint tProgram = rDisplay->GetCurrentProgram();
    ASSERT_NE(tProgram, 0u);
    GLint tLinked = 0;
    xglGetProgramiv(tProgram, GL_LINK_STATUS, &tLinked);
    EXPECT_EQ(tLinked, GL_TRUE);
    EXPECT_GE(xglGetUniformLocation(tProgram, "uTotalColors"), 0);
    EXPECT_GE(xglGetUniformLocation(tProgram, "uSrcColor[127]"), 0);
    EXPECT_GE(xglGetUniformLocation(tProgram, "uDstColor[127]"), 0);
    EndPaletteSwap();
    EXPECT_EQ(CurrentProgram(), 0);
}

TEST_F(PaletteGLTest, LargePaletteReportsItsCountButLoadsAtMost128Pairs)
{
    ASSERT_NE(sGetUniformiv, nullptr);
    Palette tPalette;
    tPalette.SetColourCount(200);
    for (int32_t i = 0; i < 200; i++)
        tPalette.SetBaseColour(i, ColorRGBA::FromBytesRGBA((uint8_t)i, 1, 2, 77));
    tPalette.AddVariant("Swap");
    for (int32_t i = 0; i < 200; i++)
        tPalette.SetVariantColour("Swap", i, ColorRGBA::FromBytesRGBA(3, (uint8_t)i, 4, 0));
    while (glGetError() != GL_NO_ERROR) {}

    tPalette.ApplySwap("Swap");
    EXPECT_EQ(glGetError(), (GLenum)GL_NO_ERROR);
    GLuint tProgram = DisplayManager::Get()->GetCurrentProgram();
    ASSERT_NE(tProgram, 0u);
    EXPECT_EQ((GLint)tProgram, CurrentProgram());

    GLint tTotal = 0;
    sGetUniformiv(tProgram, xglGetUniformLocation(tProgram, "uTotalColors"), &tTotal);
    EXPECT_EQ(tTotal, 200);
    float tSrc[4], tDst[4];
    sGetUniformfv(tProgram, xglGetUniformLocation(tProgram, "uSrcColor[127]"), tSrc);
    sGetUniformfv(tProgram, xglGetUniformLocation(tProgram, "uDstColor[127]"), tDst);
    EXPECT_FLOAT_EQ(tSrc[0], 127.0f / 255.0f);
    EXPECT_FLOAT_EQ(tSrc[3], 1.0f); // stored alpha is ignored
    EXPECT_FLOAT_EQ(tDst[1], 127.0f / 255.0f);
    EXPECT_FLOAT_EQ(tDst[3], 1.0f);

    // An unknown or missing variant leaves the program as it was, current or not.
    tPalette.ApplySwap("Unknown");
    EXPECT_EQ((GLint)tProgram, CurrentProgram());
    EndPaletteSwap();
    tPalette.ApplySwap("Unknown");
    tPalette.ApplySwap(nullptr);
    EXPECT_EQ(CurrentProgram(), 0);
}

TEST_F(PaletteGLTest, SmallBuildersCapTheCountAt32AndSetOnlyPairsInRange)
{
    ASSERT_NE(sGetUniformfv, nullptr);
    DisplayManager *rDisplay = DisplayManager::Get();
    rDisplay->UseProgram("XPaletteSwap");
    GLuint tProgram = rDisplay->GetCurrentProgram();
    ASSERT_NE(tProgram, 0u);

    GLint tTotal = 0;
    SetSmallSwapColourCount(200);
    sGetUniformiv(tProgram, xglGetUniformLocation(tProgram, "uTotalColors"), &tTotal);
    EXPECT_EQ(tTotal, 32);
    SetSmallSwapColourCount(5);
    sGetUniformiv(tProgram, xglGetUniformLocation(tProgram, "uTotalColors"), &tTotal);
    EXPECT_EQ(tTotal, 5);

    ColorRGBA tMarker = ColorRGBA::FromBytesRGBA(9, 9, 9, 0);
    SetSmallSwapColourPair(31, ColorRGBA::FromBytesRGBA(255, 0, 0, 0), ColorRGBA::FromBytesRGBA(0, 255, 0, 0));
    SetSmallSwapColourPair(32, tMarker, tMarker);
    SetSmallSwapColourPair(-1, tMarker, tMarker);
    float tSrc[4], tDst[4], tBeyond[4];
    sGetUniformfv(tProgram, xglGetUniformLocation(tProgram, "uSrcColor[31]"), tSrc);
    sGetUniformfv(tProgram, xglGetUniformLocation(tProgram, "uDstColor[31]"), tDst);
    sGetUniformfv(tProgram, xglGetUniformLocation(tProgram, "uSrcColor[32]"), tBeyond);
    EXPECT_FLOAT_EQ(tSrc[0], 1.0f);
    EXPECT_FLOAT_EQ(tSrc[3], 1.0f);
    EXPECT_FLOAT_EQ(tDst[1], 1.0f);
    EXPECT_FLOAT_EQ(tDst[3], 1.0f);
    EXPECT_NE(tBeyond[0], 9.0f / 255.0f);
    EndPaletteSwap();
}

TEST_F(PaletteGLTest, SwapReplacesBaseColoursWhenDrawing)
{
    // Two texels: a palette colour and one that is not in the palette.
    const uint8_t tPixels[8] = {200, 30, 40, 255, 90, 90, 90, 255};
    GLuint tTexture = 0;
    glGenTextures(1, &tTexture);
    glBindTexture(GL_TEXTURE_2D, tTexture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, 2, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, tPixels);

    Palette tPalette;
    tPalette.SetColourCount(2);
    tPalette.SetBaseColour(0, ColorRGBA::FromBytes(10, 10, 10));
    tPalette.SetBaseColour(1, ColorRGBA::FromBytes(200, 30, 40));
    tPalette.AddVariant("Blue");
    tPalette.SetVariantColour("Blue", 0, ColorRGBA::FromBytes(1, 1, 1));
    tPalette.SetVariantColour("Blue", 1, ColorRGBA::FromBytes(0, 0, 250));

    auto DrawAndRead = [&](uint8_t *pLeft, uint8_t *pRight) {
        GLState::Begin2D(480, 360);
        glDisable(GL_DEPTH_TEST);
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        glEnable(GL_TEXTURE_2D);
        glBindTexture(GL_TEXTURE_2D, tTexture);
        glColor4f(1, 1, 1, 1);
        glBegin(GL_QUADS);
        glTexCoord2f(0, 0); glVertex2f(0, 0);
        glTexCoord2f(1, 0); glVertex2f(200, 0);
        glTexCoord2f(1, 1); glVertex2f(200, 100);
        glTexCoord2f(0, 1); glVertex2f(0, 100);
        glEnd();
        GLState::End2D();
        glReadPixels(50, 300, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pLeft);
        glReadPixels(150, 300, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pRight);
    };

    uint8_t tLeft[4], tRight[4];
    tPalette.ApplySwap("Blue");
    DrawAndRead(tLeft, tRight);
    EndPaletteSwap();
    EXPECT_EQ(tLeft[0], 0);
    EXPECT_EQ(tLeft[1], 0);
    EXPECT_EQ(tLeft[2], 250);
    EXPECT_EQ(tRight[0], 90);
    EXPECT_EQ(tRight[2], 90);

    DrawAndRead(tLeft, tRight);
    EXPECT_EQ(tLeft[0], 200);
    EXPECT_EQ(tLeft[2], 40);
    glDeleteTextures(1, &tTexture);
}

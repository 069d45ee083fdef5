#include <gtest/gtest.h>

#include <GL/gl.h>
#include <unistd.h>

#include "support/RenderTestDisplay.h"
#include "core/data/DataLibrary.h"
#include "core/render/Bitmap.h"
#include "core/render/CorvelAnimation.h"
#include "core/render/GLState.h"
#include "core/render/Palette.h"
#include "core/render/PaletteShader.h"
#include "world/RootSprite.h"

// A sprite with palettes set draws through the palette swap and ends it afterwards.
class SpritePaletteGLTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        sHaveDisplay = OpenTestDisplay(480, 360);
        if(!sHaveDisplay) return;
        char tOld[1024];
        if(!getcwd(tOld, sizeof(tOld))) return;
        if(chdir(CORVEL_SOURCE_DIR "/game") == 0)
        {
            BootShaders();
            if(chdir(tOld) != 0) perror("chdir");
        }
    }
    static void TearDownTestSuite()
    {
        EndPaletteSwap();
        CloseTestDisplay();
    }
    void SetUp() override
    {
        if(!sHaveDisplay) GTEST_SKIP() << "no OpenGL display";
        rSavedLibrary = GetApplication()->mDataLibrary;
        mLibrary = new DataLibrary();
        GetApplication()->mDataLibrary = mLibrary;
    }
    void TearDown() override
    {
        if(!sHaveDisplay) return;
        delete mLibrary;
        GetApplication()->mDataLibrary = rSavedLibrary;
    }

    static uint32_t PixelAt(int32_t pX, int32_t pY)
    {
        uint8_t tPixel[4] = {0, 0, 0, 0};
        glFinish();
        glReadPixels(pX, 360 - 1 - pY, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, tPixel);
        return ((uint32_t)tPixel[0] << 24) | ((uint32_t)tPixel[1] << 16) | ((uint32_t)tPixel[2] << 8) | 0xFF;
    }

    static bool sHaveDisplay;
    DataLibrary *rSavedLibrary = nullptr;
    DataLibrary *mLibrary = nullptr;
};

bool SpritePaletteGLTest::sHaveDisplay = false;

TEST_F(SpritePaletteGLTest, PalettedSpritesSwapTheirBaseColours)
{
    const uint8_t tRed[16] = {200, 30, 40, 255, 200, 30, 40, 255, 200, 30, 40, 255, 200, 30, 40, 255};
    Bitmap *nPicture = Bitmap::FromRGBA(tRed, 2, 2);
    CorvelAnimation tAnimation;
    tAnimation.SetTotalFrames(1);
    tAnimation.SetFrame(0, nPicture);
    Palette *nPalette = new Palette();
    nPalette->SetColourCount(1);
    nPalette->SetBaseColour(0, ColorRGBA::FromBytes(200, 30, 40));
    nPalette->AddVariant("Blue");
    nPalette->SetVariantColour("Blue", 0, ColorRGBA::FromBytes(0, 0, 250));
    mLibrary->AddPath("Root/Other/Palettes/Test/");
    mLibrary->AddEntry("Root/Other/Palettes/Test/Swap", nPalette, DeletePalette, DL_KIND_PALETTE);

    RootSprite tSprite;
    tSprite.SetAnimationsTotal(1);
    tSprite.SetAnimation(0, &tAnimation);
    tSprite.SetUpdatePath("FUNCOVERRIDE_PLAYONCE");
    tSprite.SetSize(2.0f, 2.0f);
    tSprite.SetPosition(11.0f, 11.0f);

    auto Draw = [&]() {
        GLState::Begin2D(480, 360);
        glDisable(GL_DEPTH_TEST);
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        tSprite.Render();
        GLState::End2D();
    };

    Draw();
    EXPECT_EQ(PixelAt(10, 10), 0xC81E28FFu);

    tSprite.SetPalettes("Root/Other/Palettes/Test/Swap", "Blue");
    Draw();
    EXPECT_EQ(PixelAt(10, 10), 0x0000FAFFu);
    GLint tProgram = -1;
    glGetIntegerv(GL_CURRENT_PROGRAM, &tProgram);
    EXPECT_EQ(tProgram, 0);

    // A path that holds no palette draws the picture as it is.
    tSprite.SetPalettes("Root/Other/Palettes/Test/Missing", "Blue");
    Draw();
    EXPECT_EQ(PixelAt(10, 10), 0xC81E28FFu);
    delete nPicture;
}

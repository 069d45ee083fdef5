#include <gtest/gtest.h>

#include <GL/gl.h>

#include "support/RenderTestDisplay.h"
#include "actors/WeaponProjectiles.h"
#include "core/Application.h"
#include "core/data/DataLibrary.h"
#include "core/render/Bitmap.h"
#include "core/render/CorvelAnimation.h"
#include "core/render/GLState.h"

// The Permafrost Shield shows the game's pane of ice, 4 units past its box on every side, once
// the picture is loaded; a game without it still sees the shield as a dark blue outline.
class ShieldRenderGLTest : public DisplaySuite
{
protected:
    void SetUp() override
    {
        DisplaySuite::SetUp();
        if(IsSkipped()) return;
        Application *rApp = GetApplication();
        rSavedLibrary = rApp->mDataLibrary;
        rApp->mDataLibrary = new DataLibrary();
        mShield = new PermafrostShieldProjectile();
        mShield->SetPosition(100.0f, 100.0f);
    }

    void TearDown() override
    {
        if(!sHaveDisplay) return;
        delete mShield;
        Application *rApp = GetApplication();
        delete rApp->mDataLibrary;
        rApp->mDataLibrary = rSavedLibrary;
        delete mPane;
    }

    // One opaque red frame the size of the pane, as the game's animation.
    void LoadPane()
    {
        static uint8_t sPixels[23 * 63 * 4];
        for(int32_t i = 0; i < 23 * 63; i++)
        {
            sPixels[i * 4] = 220;
            sPixels[i * 4 + 3] = 255;
        }
        CorvelAnimation *nAnimation = new CorvelAnimation();
        nAnimation->SetTotalFrames(1);
        nAnimation->SetTicksPerFrame(8.0f);
        mPane = Bitmap::FromRGBA(sPixels, 23, 63);
        nAnimation->SetFrame(0, mPane);
        DataLibrary *rLibrary = DataLibrary::Fetch();
        rLibrary->AddPath("Root/Animations/Projectiles/All/");
        rLibrary->AddEntry("Root/Animations/Projectiles/All/PermafrostShield", nAnimation, CorvelAnimation::DeleteThis,
                           DL_KIND_ROOTOBJECT);
    }

    void Draw()
    {
        BeginSpriteFrame(0, 0, 0);
        mShield->Render();
        EndSpriteFrame();
    }

    DataLibrary *rSavedLibrary = nullptr;
    PermafrostShieldProjectile *mShield = nullptr;
    Bitmap *mPane = nullptr;
};


TEST_F(ShieldRenderGLTest, PictureCoversTheBoxAndItsMarginElseAnOutline)
{
    uint8_t tPixel[4];
    // Box (100, 100) to (115, 155): the outline runs along its left edge, its middle is empty.
    Draw();
    ReadViewPixel(100, 127, tPixel);
    EXPECT_GT(tPixel[2], 100);
    EXPECT_LT(tPixel[0], 40);
    ReadViewPixel(107, 127, tPixel);
    EXPECT_EQ(tPixel[0] + tPixel[1] + tPixel[2], 0);

    LoadPane();
    Draw();
    for(int32_t tX : {97, 107, 117})
    {
        ReadViewPixel(tX, 127, tPixel);
        EXPECT_EQ(tPixel[0], 220) << "x " << tX;
        EXPECT_EQ(tPixel[2], 0) << "x " << tX;
    }
    ReadViewPixel(98, 97, tPixel);
    EXPECT_EQ(tPixel[0], 220);
    // Past the pane's margin the view is untouched.
    ReadViewPixel(94, 127, tPixel);
    EXPECT_EQ(tPixel[0] + tPixel[1] + tPixel[2], 0);
    ReadViewPixel(120, 127, tPixel);
    EXPECT_EQ(tPixel[0] + tPixel[1] + tPixel[2], 0);
}

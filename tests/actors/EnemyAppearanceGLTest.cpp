#include <gtest/gtest.h>

#include <GL/gl.h>

#include "support/RenderTestDisplay.h"
#include "actors/EnemyAppearance.h"
#include "core/render/Bitmap.h"
#include "core/render/CorvelAnimation.h"
#include "core/render/GLState.h"
#include "skeleton/CorvelPuppet.h"
#include "support/TestText.h"

#include <unistd.h>

// The appearance's drawing on a real display: the frame at its offset, mirrored by facing,
// and the damage flash, a white silhouette cut out through the stencil buffer.
class EnemyAppearanceGLTest : public DisplaySuite
{
protected:
    void SetUp() override
    {
        DisplaySuite::SetUp();
        if(IsSkipped()) return;
        // An 8 by 4 frame: its left half opaque red, its right half clear.
        uint8_t tPixels[8 * 4 * 4] = {};
        for(int32_t y = 0; y < 4; y++)
        {
            for(int32_t x = 0; x < 4; x++)
            {
                uint8_t *rTexel = &tPixels[(y * 8 + x) * 4];
                rTexel[0] = 200;
                rTexel[3] = 255;
            }
        }
        mFrame = Bitmap::FromRGBA(tPixels, 8, 4);
        mAnimation = new CorvelAnimation();
        mAnimation->SetTotalFrames(1);
        mAnimation->SetTicksPerFrame(10.0f);
        mAnimation->SetFrame(0, mFrame);
        mAppearance.SetAnimationsTotal(1);
        mAppearance.SetAnimation(0, mAnimation);
        mAppearance.SetAnimationIndex(0);
    }
    void TearDown() override
    {
        delete mAnimation;
        delete mFrame;
    }

    // Draws the appearance scaled up 10 times at (x, y), then reads view points (vx, vy).
    void Draw(float pX, float pY)
    {
        Hitbox tBox = Hitbox();
        tBox.mOwnerX = pX;
        tBox.mOwnerY = pY;
        mAppearance.Update(tBox);
        BeginSpriteFrame(0, 0, 0.5f);
        glScalef(10.0f, 10.0f, 1.0f);
        mAppearance.Render();
        EndSpriteFrame();
    }

    Bitmap *mFrame = nullptr;
    CorvelAnimation *mAnimation = nullptr;
    EnemyAppearance mAppearance;
};

TEST_F(EnemyAppearanceGLTest, TheFlashWhitensOnlyTheFrameForThreeDrawnFrames)
{
    GLint tStencilBits = 0;
    glGetIntegerv(GL_STENCIL_BITS, &tStencilBits);
    ASSERT_GT(tStencilBits, 0) << "the display has no stencil buffer";
    uint8_t tLeft[4], tRight[4];

    // Facing right draws as stored: red on the left half, background on the right.
    mAppearance.SetFacing(1);
    mAppearance.SetFacing(1);
    mAppearance.SetHorizontalFlip(0);
    Draw(2.0f, 2.0f);
    ReadViewPixel(35, 35, tLeft);
    ReadViewPixel(75, 35, tRight);
    EXPECT_EQ(tLeft[0], 200);
    EXPECT_NEAR(tRight[2], 128, 1);

    // Three drawn frames of white silhouette, the clear half untouched, then the colours again.
    mAppearance.SetDamageFlash(1);
    for(int32_t i = 0; i < 3; i++)
    {
        Draw(2.0f, 2.0f);
        ReadViewPixel(35, 35, tLeft);
        ReadViewPixel(75, 35, tRight);
        EXPECT_EQ(tLeft[0], 255) << i;
        EXPECT_EQ(tLeft[1], 255) << i;
        EXPECT_EQ(tRight[0], 0) << i;
        EXPECT_NEAR(tRight[2], 128, 1) << i;
    }
    EXPECT_EQ(mAppearance.GetFlashCounter(), 0);
    Draw(2.0f, 2.0f);
    ReadViewPixel(35, 35, tLeft);
    EXPECT_EQ(tLeft[0], 200);
    EXPECT_EQ(tLeft[1], 0);

    // Mirrored, the red half moves to the right.
    mAppearance.SetHorizontalFlip(1);
    Draw(2.0f, 2.0f);
    ReadViewPixel(35, 35, tLeft);
    ReadViewPixel(75, 35, tRight);
    EXPECT_EQ(tLeft[0], 0);
    EXPECT_EQ(tRight[0], 200);
}

// The generated goblin, its box's top left at (100, 100): the torso lies about 34 below that.
TEST_F(EnemyAppearanceGLTest, APuppetFlashWhitensOnlyThePuppet)
{
    char tPreviousDir[512];
    ASSERT_NE(getcwd(tPreviousDir, sizeof(tPreviousDir)), nullptr);
    ASSERT_EQ(chdir(CORVEL_SOURCE_DIR "/game"), 0);
    EnemyAppearance tAppearance;
    testing::internal::CaptureStderr();
    tAppearance.BootPuppet("Goblin");
    CapturedStderr();
    ASSERT_EQ(chdir(tPreviousDir), 0);
    ASSERT_TRUE(tAppearance.GetPuppet()->IsBooted());
    tAppearance.SetFacing(1);
    tAppearance.SetPuppetAnimation("idle");
    tAppearance.SetPuppetAnimationTime(0.0f);

    Hitbox tBox = Hitbox();
    tBox.mLft = 100.0f;
    tBox.mTop = 100.0f;
    tBox.mRgt = 140.0f;
    tBox.mBot = 164.0f;
    tAppearance.Update(tBox);
    uint8_t tTorso[4], tAway[4];
    for(int32_t tFlash = 0; tFlash < 2; tFlash++)
    {
        tAppearance.SetDamageFlash(tFlash);
        BeginSpriteFrame(0, 0, 0.5f);
        tAppearance.Render();
        EndSpriteFrame();
        ReadViewPixel(100, 134, tTorso);
        ReadViewPixel(300, 300, tAway);
        if(tFlash)
        {
            EXPECT_EQ(tTorso[0], 255);
            EXPECT_EQ(tTorso[1], 255);
            EXPECT_EQ(tTorso[2], 255);
        }
        else
        {
            EXPECT_GT(tTorso[0], 90);
            EXPECT_LT(tTorso[2], 90);
        }
        EXPECT_EQ(tAway[0], 0) << tFlash;
        EXPECT_NEAR(tAway[2], 128, 1) << tFlash;
    }
    // The flash left the stencil writable: the frame flash that follows still cuts its shape.
    GLint tMask = 0;
    glGetIntegerv(GL_STENCIL_WRITEMASK, &tMask);
    EXPECT_NE(tMask & 1, 0);
    EXPECT_EQ(tAppearance.GetPuppet()->GetRenderCount(), 2);
}

#include <gtest/gtest.h>

#include "support/GLTestContext.h"
#include "SkeletonFixtures.h"
#include "support/ScratchFolder.h"
#include "core/render/Bitmap.h"
#include "skeleton/CorvelPuppet.h"
#include "support/TestText.h"

#include <string>

namespace
{
    // 64 x 32: the sample atlas's "head" rectangle red, "body" green, the rest blue.
    Bitmap *PaintedTexture(const char *pPath)
    {
        static uint8_t sPixels[64 * 32 * 4];
        for(int32_t y = 0; y < 32; y++)
        {
            for(int32_t x = 0; x < 64; x++)
            {
                uint8_t *rPixel = sPixels + (y * 64 + x) * 4;
                bool tHead = x >= 2 && x < 22 && y >= 4 && y < 14;
                bool tBody = x >= 30 && x < 40 && y >= 4 && y < 14;
                rPixel[0] = tHead ? 255 : 0;
                rPixel[1] = tBody ? 255 : 0;
                rPixel[2] = tHead || tBody ? 0 : 255;
                rPixel[3] = 255;
            }
        }
        return Bitmap::FromRGBA(sPixels, 64, 32);
    }

    Bitmap *NoTexture(const char *pPath)
    {
        return new Bitmap();
    }

    class CorvelPuppetGLTest : public GLTestContext
    {
    protected:
        void SetUp() override
        {
            GLTestContext::SetUp();
            if(IsSkipped()) return;
            ASSERT_TRUE(mDir.WriteText("sample.atlas", cSampleAtlas));
            ASSERT_TRUE(mDir.WriteText("sample.json", cSampleSkeleton));
            snprintf(mAtlas, sizeof(mAtlas), "%s", mDir.File("sample.atlas").c_str());
            snprintf(mSkeleton, sizeof(mSkeleton), "%s", mDir.File("sample.json").c_str());
        }
        void TearDown() override { CorvelPuppet::SetTextureLoader(nullptr); }

        // The puppet drawn 60 units down, so its y-up quads land inside the window.
        void Draw(CorvelPuppet &pPuppet)
        {
            glClear(GL_COLOR_BUFFER_BIT);
            glPushMatrix();
            glTranslatef(0.0f, 60.0f, 0.0f);
            pPuppet.Render();
            glPopMatrix();
        }

        static uint32_t Rgb(int32_t pX, int32_t pY) { return ReadPixel(pX, pY) >> 8; }

        ScratchFolder mDir{"skeleton"};
        char mAtlas[600];
        char mSkeleton[600];
    };
}

TEST_F(CorvelPuppetGLTest, SlotsDrawAsTexturedQuadsInDrawOrderWithTheirColour)
{
    CorvelPuppet::SetTextureLoader(PaintedTexture);
    CorvelPuppet tPuppet;
    tPuppet.Boot("painted.png", mAtlas, mSkeleton, nullptr);
    ASSERT_EQ(1, tPuppet.IsBooted());

    // Without an animation nothing is drawn.
    Draw(tPuppet);
    EXPECT_EQ(0x000000u, Rgb(10, 20));

    // The head (on the arm, 5..15 by 10..50 after the y flip) covers the body (30..50).
    tPuppet.SetAnimation("spin");
    Draw(tPuppet);
    EXPECT_EQ(0xFF0000u, Rgb(10, 20));
    EXPECT_EQ(0xFF0000u, Rgb(10, 40));
    EXPECT_EQ(0x000000u, Rgb(30, 30));
    EXPECT_EQ(0x000000u, Rgb(10, 55));

    const GLint tDepth = ModelviewDepth();
    // At 1.75 the head shows nothing, so the body's green shows through.
    tPuppet.SetAnimationTime(1.75f);
    Draw(tPuppet);
    EXPECT_EQ(0x00FF00u, Rgb(10, 40));
    EXPECT_EQ(0x000000u, Rgb(10, 20));
    EXPECT_EQ(2, tPuppet.GetRenderCount());

    // The colour is put back to white and the transform is untouched.
    GLfloat tColour[4];
    glGetFloatv(GL_CURRENT_COLOR, tColour);
    EXPECT_FLOAT_EQ(1.0f, tColour[0]);
    EXPECT_FLOAT_EQ(1.0f, tColour[3]);
    EXPECT_EQ(tDepth, ModelviewDepth());
}

TEST_F(CorvelPuppetGLTest, AMissingTextureDrawsNothingButStillCounts)
{
    CorvelPuppet::SetTextureLoader(NoTexture);
    CorvelPuppet tPuppet;
    tPuppet.Boot("missing.png", mAtlas, mSkeleton, nullptr);
    ASSERT_EQ(1, tPuppet.IsBooted());
    tPuppet.SetAnimation("spin");
    Draw(tPuppet);
    EXPECT_EQ(0x000000u, Rgb(10, 20));
    EXPECT_EQ(1, tPuppet.GetRenderCount());
}

TEST_F(CorvelPuppetGLTest, AnEmptyPictureFileIsNamedAndDrawsNothing)
{
    ASSERT_TRUE(mDir.WriteText("empty.png", ""));
    CorvelPuppet tPuppet;
    testing::internal::CaptureStderr();
    tPuppet.Boot(mDir.File("empty.png").c_str(), mAtlas, mSkeleton, nullptr);
    const std::string tErr = CapturedStderr();
    EXPECT_NE(std::string::npos, tErr.find(std::string("[CorvelPuppet] Error occurred loading ") + mDir.File("empty.png"))) << tErr;
    ASSERT_EQ(1, tPuppet.IsBooted());
    tPuppet.SetAnimation("spin");
    Draw(tPuppet);
    EXPECT_EQ(0x000000u, Rgb(10, 20));
}

TEST_F(CorvelPuppetGLTest, TheGeneratedGoblinLoadsItsPictureAndDraws)
{
    std::string tCommand = std::string(CORVEL_BINARY_DIR) + "/genpuppets " + mDir.Path() + " > /dev/null";
    ASSERT_EQ(0, system(tCommand.c_str()));
    std::string tStem = mDir.Path() + "/Goblin/goblins";
    CorvelPuppet tPuppet;
    tPuppet.Boot((tStem + ".png").c_str(), (tStem + ".atlas").c_str(), (tStem + ".json").c_str(), "goblin");
    ASSERT_EQ(1, tPuppet.IsBooted());
    tPuppet.SetAnimation("idle");
    glClear(GL_COLOR_BUFFER_BIT);
    glPushMatrix();
    // The feet stand at y = -64: drawn from the window's top left, they reach its bottom.
    glTranslatef(32.0f, 0.0f, 0.0f);
    tPuppet.Render();
    glPopMatrix();
    // The torso's brown, around (0, -34) in the skeleton.
    uint32_t tTorso = Rgb(32, 34);
    EXPECT_GT((tTorso >> 16) & 0xFF, 90u) << std::hex << tTorso;
    EXPECT_LT(tTorso & 0xFF, 90u) << std::hex << tTorso;
    EXPECT_EQ(0x000000u, Rgb(2, 2));
}

#include <gtest/gtest.h>

#include <GL/gl.h>
#include <cstring>
#include <vector>

#include "../core/render/RenderTestDisplay.h"
#include "core/render/Bitmap.h"
#include "core/render/GLState.h"
#include "world/Camera.h"
#include "world/MapBGM.h"

// Packs clear above and below their scenery are drawn only over the rows that can show it; the
// picture and depth must be exactly those of the whole quad. Under the alpha test "alpha above
// a millionth" no 8-bit texel passes or fails differently from "above 0", but the packs then
// draw their whole quads, which gives the reference.
class MapBGMGLTest : public ::testing::Test
{
protected:
    static const int32_t cWindowW = 800;
    static const int32_t cWindowH = 600;

    static void SetUpTestSuite() { sHaveDisplay = OpenTestDisplay(cWindowW, cWindowH); }
    static void TearDownTestSuite() { CloseTestDisplay(); }

    void SetUp() override
    {
        if(!sHaveDisplay) GTEST_SKIP() << "no OpenGL display";
        // Hills: clear on top, a ragged ridge with faint edges, solid below, two clear rows
        // at the bottom. Ground: solid only in its last rows, so the top edge of its quad may
        // wrap onto them.
        mHills = Picture(40, 30, [](int32_t x, int32_t y) -> uint8_t {
            const int32_t tRidge = 8 + (x * 7) % 6;
            if(y >= 28 || y < tRidge) return 0;
            return y == tRidge ? 90 : 255;
        });
        mGround = Picture(16, 20, [](int32_t x, int32_t y) -> uint8_t { return y >= 17 ? 255 : 0; });
        AddPack("Hills", mHills, -30.0f, 200.0f, 560.0f, 300.0f, 3.0f, 1.0f, -0.9f);
        AddPack("Ground", mGround, 0.0f, 250.0f, 512.0f, 330.0f, 5.0f, 0.75f, -0.85f);
    }

    void TearDown() override
    {
        if(!sHaveDisplay) return;
        mPacks.Clear();
        delete mHills;
        delete mGround;
    }

    template <typename F> static Bitmap *Picture(int32_t pW, int32_t pH, F pAlpha)
    {
        std::vector<uint8_t> tPixels((size_t)pW * pH * 4);
        for(int32_t y = 0; y < pH; y++)
        {
            for(int32_t x = 0; x < pW; x++)
            {
                uint8_t *rTexel = &tPixels[((size_t)y * pW + x) * 4];
                rTexel[0] = (uint8_t)(x * 6);
                rTexel[1] = (uint8_t)(y * 8);
                rTexel[2] = 120;
                rTexel[3] = pAlpha(x, y);
            }
        }
        return Bitmap::FromRGBA(tPixels.data(), pW, pH);
    }

    void AddPack(const char *pName, Bitmap *pImage, float pLft, float pTop, float pRgt, float pBot, float pAcross,
                 float pDown, float pDepth)
    {
        BackgroundPack *nPack = new BackgroundPack();
        nPack->rImage = pImage;
        nPack->mActive = 1;
        nPack->mLft = pLft;
        nPack->mTop = pTop;
        nPack->mRgt = pRgt;
        nPack->mBot = pBot;
        nPack->mAppearancesX = pAcross;
        nPack->mAppearancesY = pDown;
        nPack->mDepth = pDepth;
        mPacks.AddPack(pName, nPack);
    }

    void Frame(float pAlphaReference, float pX, float pY, const GLint *pViewport, std::vector<uint8_t> &sColour,
               std::vector<uint32_t> &sDepth)
    {
        Camera tCamera(pX, pY, 480.0f, 360.0f);
        GLState::Begin2D(480, 360);
        glViewport(0, 0, cWindowW, cWindowH);
        glClearColor(0.1f, 0.2f, 0.3f, 1.0f);
        glClearDepth(1.0);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glViewport(pViewport[0], pViewport[1], pViewport[2], pViewport[3]);
        glDisable(GL_BLEND);
        glEnable(GL_DEPTH_TEST);
        glDepthFunc(GL_LEQUAL);
        glEnable(GL_ALPHA_TEST);
        glAlphaFunc(GL_GREATER, pAlphaReference);
        mPacks.Render(&tCamera);
        GLState::End2D();
        glFinish();
        sColour.assign((size_t)cWindowW * cWindowH * 4, 0);
        sDepth.assign((size_t)cWindowW * cWindowH, 0);
        glReadPixels(0, 0, cWindowW, cWindowH, GL_RGBA, GL_UNSIGNED_BYTE, sColour.data());
        glReadPixels(0, 0, cWindowW, cWindowH, GL_DEPTH_COMPONENT, GL_UNSIGNED_INT, sDepth.data());
    }

    static bool sHaveDisplay;
    MapBGM mPacks;
    Bitmap *mHills = nullptr;
    Bitmap *mGround = nullptr;
};

bool MapBGMGLTest::sHaveDisplay = false;

TEST_F(MapBGMGLTest, DrawingOnlyTheVisibleRowsChangesNoPixelAndNoDepth)
{
    const GLint cViewports[][4] = {{0, 0, 800, 600}, {100, 30, 600, 450}, {13, 7, 200, 150}};
    const float cFrames[][2] = {{0.0f, 0.0f}, {7.3f, 10.7f}, {32.5f, 0.5f}, {-20.0f, 60.0f}, {70.25f, -3.1f}};
    std::vector<uint8_t> tColourA, tColourB;
    std::vector<uint32_t> tDepthA, tDepthB;
    for(const GLint *rViewport : cViewports)
    {
        for(const float *rFrame : cFrames)
        {
            Frame(1.0e-6f, rFrame[0], rFrame[1], rViewport, tColourA, tDepthA);
            Frame(0.0f, rFrame[0], rFrame[1], rViewport, tColourB, tDepthB);
            int32_t tDrawn = 0;
            int32_t tColourDiffs = 0;
            int32_t tDepthDiffs = 0;
            for(size_t i = 0; i < tDepthA.size(); i++)
            {
                if(tDepthA[i] != 0xFFFFFFFFu) tDrawn++;
                if(tDepthA[i] != tDepthB[i]) tDepthDiffs++;
                if(memcmp(&tColourA[i * 4], &tColourB[i * 4], 4) != 0) tColourDiffs++;
            }
            EXPECT_EQ(tColourDiffs, 0) << "viewport " << rViewport[2] << " frame " << rFrame[0] << "," << rFrame[1];
            EXPECT_EQ(tDepthDiffs, 0) << "viewport " << rViewport[2] << " frame " << rFrame[0] << "," << rFrame[1];
            EXPECT_GT(tDrawn, 100) << "viewport " << rViewport[2] << " frame " << rFrame[0] << "," << rFrame[1];
        }
    }
}

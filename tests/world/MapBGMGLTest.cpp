#include <gtest/gtest.h>

#include <GL/gl.h>
#include <vector>

#include "support/FrameComparison.h"
#include "support/RenderTestDisplay.h"
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
    static void SetUpTestSuite() { sHaveDisplay = OpenTestDisplay(800, 600); }
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

    void Scene(float pAlphaReference, float pX, float pY)
    {
        Camera tCamera(pX, pY, 480.0f, 360.0f);
        glDisable(GL_BLEND);
        glEnable(GL_DEPTH_TEST);
        glDepthFunc(GL_LEQUAL);
        glEnable(GL_ALPHA_TEST);
        glAlphaFunc(GL_GREATER, pAlphaReference);
        mPacks.Render(&tCamera);
    }

    static bool sHaveDisplay;
    MapBGM mPacks;
    Bitmap *mHills = nullptr;
    Bitmap *mGround = nullptr;
};

bool MapBGMGLTest::sHaveDisplay = false;

TEST_F(MapBGMGLTest, DrawingOnlyTheVisibleRowsChangesNoPixelAndNoDepth)
{
    ExpectSameFrames([this](int32_t pWay, float pX, float pY) { Scene(pWay == 0 ? 1.0e-6f : 0.0f, pX, pY); }, 100);
}

#include <gtest/gtest.h>

#include <GL/gl.h>
#include <cstdlib>

#include "support/FrameComparison.h"
#include "support/RenderTestDisplay.h"
#include "core/render/Bitmap.h"
#include "core/render/Drawing.h"
#include "core/render/GLState.h"
#include "world/LineArtLevel.h"

// The level leaves out the empty parts of its chunks and the chunks off the window; the picture
// and the depth it leaves behind must be exactly those of drawing every chunk in range whole.
class LineArtLevelGLTest : public ::testing::Test
{
protected:
    static const int32_t cWindowW = 800;
    static const int32_t cWindowH = 600;
    static const int32_t cChunk = 64;

    static void SetUpTestSuite() { sHaveDisplay = OpenTestDisplay(cWindowW, cWindowH); }
    static void TearDownTestSuite() { CloseTestDisplay(); }

    void SetUp() override
    {
        if(!sHaveDisplay) GTEST_SKIP() << "no OpenGL display";
        GLint tDepthBits = 0;
        glGetIntegerv(GL_DEPTH_BITS, &tDepthBits);
        ASSERT_GT(tDepthBits, 0);
        mLevel = new LineartLevel();
        ASSERT_TRUE(mLevel->Allocate(4, 2));
        mLevel->SetChunkSize(cChunk, cChunk);
        for(uint32_t c = 0; c < 4; c++)
        {
            for(uint32_t r = 0; r < 2; r++)
            {
                LineartChunk *nChunk = new LineartChunk();
                nChunk->SetImages(Picture(c * 2 + r, false), (c + r) % 2 ? Picture(c * 2 + r, true) : nullptr);
                mLevel->SetChunk(c, r, nChunk);
            }
        }
    }

    void TearDown() override
    {
        delete mLevel;
    }

    // Ground, walls and ledges of opaque texels with faint edges on the first layer; sparse
    // spikes on the second. Every third chunk's first layer is trimmed: a smaller picture
    // placed inside the chunk.
    static ImageRecord *Picture(uint32_t pSeed, bool pSecond)
    {
        const bool tTrimmed = !pSecond && pSeed % 3 == 1;
        const int32_t tW = tTrimmed ? 45 : cChunk;
        const int32_t tH = tTrimmed ? 37 : cChunk;
        ImageRecord *nImage = (ImageRecord *)calloc(1, sizeof(ImageRecord));
        nImage->mCompressionFlag = 1;
        nImage->mWidth = tW;
        nImage->mHeight = tH;
        nImage->mFullWidth = nImage->mFullHeight = cChunk;
        nImage->mOffsetX = tTrimmed ? 7 : 0;
        nImage->mOffsetY = tTrimmed ? 11 : 0;
        nImage->mDataSize = tW * tH * 4;
        nImage->mData = (uint8_t *)calloc((size_t)nImage->mDataSize, 1);
        for(int32_t y = 0; y < tH; y++)
        {
            for(int32_t x = 0; x < tW; x++)
            {
                uint8_t *rTexel = nImage->mData + ((size_t)y * tW + x) * 4;
                uint8_t tAlpha = 0;
                if(pSecond) tAlpha = ((x * 7 + y * 3 + (int32_t)pSeed) % 41 == 0) ? 255 : 0;
                else if(y > tH - 12 || x < 5) tAlpha = 255;
                else if(y > tH - 14 || x == 5) tAlpha = 96;
                else if(y == 20 + (int32_t)pSeed % 9 && x > 20 && x < 40) tAlpha = 200;
                rTexel[0] = (uint8_t)(x * 4 + pSeed * 30);
                rTexel[1] = (uint8_t)(y * 4);
                rTexel[2] = pSecond ? 250 : (uint8_t)(pSeed * 50);
                rTexel[3] = tAlpha;
            }
        }
        return nImage;
    }

    // The chunks in range with every layer drawn whole through its display list, as the level
    // drew them before it cut anything out. (Lists matter: a quad straight from glBegin may be
    // split into triangles differently, and pixel centres on a texel edge then round the other
    // way.)
    void RenderWhole(float pLeft, float pTop, float pRight, float pBottom)
    {
        GLState::PushAll();
        glTranslatef(-pLeft, -pTop, -0.75f);
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        glEnable(GL_ALPHA_TEST);
        glAlphaFunc(GL_GREATER, 0.0f);
        glEnable(GL_TEXTURE_2D);
        glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
        const CoverageBox tClip = {0, 0, cWindowW, cWindowH};
        LineartRange tRange = mLevel->ComputeRange(pLeft, pTop, pRight, pBottom);
        for(int32_t c = tRange.mFirstColumn; c < tRange.mEndColumn; c++)
        {
            for(int32_t r = tRange.mFirstRow; r < tRange.mEndRow; r++)
            {
                LineartChunk *rChunk = mLevel->GetChunk(c, r);
                if(!rChunk) continue;
                glTranslatef((float)(c * cChunk), (float)(r * cChunk), 0.0f);
                rChunk->Render(nullptr, tClip);
                glTranslatef((float)(-c * cChunk), (float)(-r * cChunk), 0.0f);
            }
        }
        GLState::PopAll();
    }

    // A half-transparent figure standing between the two layers, then the level.
    void Scene(bool pWhole, float pLeft, float pTop)
    {
        const float tRight = pLeft + 480.0f;
        const float tBottom = pTop + 360.0f;
        mLevel->Update(pLeft, pTop, tRight, tBottom);
        GLState::PushAll();
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        glTranslatef(0.0f, 0.0f, -0.5f);
        DrawRectFilled(100.0f - pLeft, 40.0f - pTop, 150.0f - pLeft, 120.0f - pTop, ColorRGBA{0.9f, 0.1f, 0.1f, 0.6f});
        GLState::PopAll();
        if(pWhole) RenderWhole(pLeft, pTop, tRight, tBottom);
        else mLevel->Render(pLeft, pTop, tRight, tBottom);
    }

    static bool sHaveDisplay;
    LineartLevel *mLevel = nullptr;
};

bool LineArtLevelGLTest::sHaveDisplay = false;

TEST_F(LineArtLevelGLTest, LeavingOutEmptyPartsAndHiddenChunksChangesNoPixelAndNoDepth)
{
    ExpectSameFrames([this](int32_t pWay, float pLeft, float pTop) { Scene(pWay == 0, pLeft, pTop); }, 500);
}

#include <gtest/gtest.h>

#include <cstring>

#include "support/GLTestContext.h"
#include "core/Application.h"
#include "interface/GUI.h"
#include "interface/GUIBaseObject.h"
#include "support/BlankApplication.h"

namespace
{
    // Fills its rectangle with one colour, tinted by the alpha Draw set.
    class SwatchObject : public GUIBaseObject
    {
    public:
        SwatchObject(float pR, float pG, float pB) : mR(pR), mG(pG), mB(pB) {}
        void Render() override
        {
            mRenders++;
            GLfloat tColour[4];
            glGetFloatv(GL_CURRENT_COLOR, tColour);
            DrawRectFilled(mX1, mY1, mX2, mY2, ColorRGBA{mR, mG, mB, tColour[3]});
            GUIBaseObject::Render();
        }
        float mR, mG, mB;
        int32_t mRenders = 0;
    };

    class GUIRenderGLTest : public GLTestContext
    {
    protected:
        void SetUp() override
        {
            GLTestContext::SetUp();
            if(IsSkipped()) return;
            mApplication.Enter();
            mGUI = new GUI();
            GetApplication()->mGUI = mGUI;
            mReady = true;
        }
        void TearDown() override
        {
            if(!mReady) return;
            delete mGUI;
            mApplication.Leave();
        }

        BlankApplication mApplication;
        GUI *mGUI = nullptr;
        bool mReady = false;
    };
}

TEST_F(GUIRenderGLTest, TheHeadObjectIsDrawnOnTopAndDrawNowSkipsTheNextPass)
{
    SwatchObject *nFront = new SwatchObject(1, 0, 0);
    SwatchObject *nBack = new SwatchObject(0, 0, 1);
    nFront->SetRect(0, 0, 10, 10);
    nBack->SetRect(0, 0, 20, 20);
    mGUI->AddObject("Front", nFront);
    mGUI->AddObject("Back", nBack);

    mGUI->Render();
    EXPECT_EQ(0xFF0000FFu, ReadPixel(5, 5));
    EXPECT_EQ(0x0000FFFFu, ReadPixel(15, 15));

    // Drawn at once, then skipped by the regular pass, then drawn again.
    nFront->DrawNow();
    EXPECT_EQ(1 + 1, nFront->mRenders);
    mGUI->Render();
    EXPECT_EQ(2, nFront->mRenders);
    mGUI->Render();
    EXPECT_EQ(3, nFront->mRenders);

    // A hidden object is not drawn; the colour is left opaque white afterwards.
    nFront->Hide();
    glClear(GL_COLOR_BUFFER_BIT);
    mGUI->Render();
    EXPECT_EQ(0x0000FFFFu, ReadPixel(5, 5));
    GLfloat tColour[4];
    glGetFloatv(GL_CURRENT_COLOR, tColour);
    EXPECT_FLOAT_EQ(1.0f, tColour[3]);
}

TEST_F(GUIRenderGLTest, TheFadeOverlayIsDrawnOnlyWhileTheFadeMoves)
{
    mGUI->RenderFade();
    EXPECT_EQ(0x00000000u, ReadPixel(32, 32));

    mGUI->StartFade(0, 2, 1, ColorRGBA{1, 1, 1, 0});
    mGUI->Update(-1);
    mGUI->RenderFade();
    uint32_t tPixel = ReadPixel(32, 32);
    EXPECT_NEAR(0x80, (int)(tPixel >> 24), 2);

    glClear(GL_COLOR_BUFFER_BIT);
    mGUI->Update(-1);
    mGUI->RenderFade();
    EXPECT_EQ(0x00000000u, ReadPixel(32, 32));
}

#include <gtest/gtest.h>

#include <cstring>

#include "support/GLTestContext.h"
#include "core/Application.h"
#include "core/NamedLinkedList.h"
#include "core/render/DisplayManager.h"
#include "world/RootExecutor.h"
#include "world/TransitionManager.h"
#include "support/BlankApplication.h"

namespace
{
    class NothingExecutor : public RootExecutor
    {
    public:
        void Execute() override { mRuns++; }
        int32_t mRuns = 0;
    };

    // The view is the whole 64 x 64 window, so the capture is the window itself.
    class TransitionManagerGLTest : public GLTestContext
    {
    protected:
        void SetUp() override
        {
            GLTestContext::SetUp();
            if(IsSkipped()) return;
            mApplication.Enter();
            Application *rApp = GetApplication();
            rApp->mWindowWidth = rApp->mVirtualWidth = cSize;
            rApp->mWindowHeight = rApp->mVirtualHeight = cSize;
            DisplayManager::ComputeViewport();
            mManager = new TransitionManager();
            rApp->mTransitionManager = mManager;
            mReady = true;
        }
        void TearDown() override
        {
            if(!mReady) return;
            delete mManager;
            mApplication.Leave();
            DisplayManager::ComputeViewport();
        }

        // Red over the top half, blue under it.
        void DrawScene()
        {
            DrawRectFilled(0, 0, cSize, cSize / 2, ColorRGBA{1, 0, 0, 1});
            DrawRectFilled(0, cSize / 2, cSize, cSize, ColorRGBA{0, 0, 1, 1});
        }

        BlankApplication mApplication;
        TransitionManager *mManager = nullptr;
        bool mReady = false;
    };
}

TEST_F(TransitionManagerGLTest, TheCapturedFrameIsShownUprightWhileFadingAndFreedAfterwards)
{
    NothingExecutor tExecutor;
    DrawScene();
    mManager->Begin(&tExecutor, false);
    GLint tDepth = ModelviewDepth();
    mManager->Render();
    EXPECT_EQ(TRANSITION_FADE_OUT, mManager->GetState());
    uint32_t tTexture = mManager->GetTexture();
    ASSERT_NE(0u, tTexture);
    int32_t tW = 0, tH = 0;
    GetTextureLevelSize(tTexture, tW, tH);
    EXPECT_EQ(64, tW);
    EXPECT_EQ(64, tH);
    EXPECT_EQ(tDepth, ModelviewDepth());
    EXPECT_FALSE(glIsEnabled(GL_BLEND));

    // The live scene is gone; the frozen frame stands in for it, top row at the top.
    glClear(GL_COLOR_BUFFER_BIT);
    mManager->Render();
    EXPECT_EQ(0xFF0000u, ReadPixel(10, 5) >> 8);
    EXPECT_EQ(0x0000FFu, ReadPixel(10, 60) >> 8);

    // Darker with each tick of the fade, drawn the same whatever the caller translated by.
    mManager->Update();
    glClear(GL_COLOR_BUFFER_BIT);
    glTranslatef(20.0f, 20.0f, 0.0f);
    mManager->Render();
    glLoadIdentity();
    uint32_t tRed = ReadPixel(10, 5) >> 24;
    EXPECT_GE(tRed, 225u);
    EXPECT_LE(tRed, 232u);

    // At black and after the executor only the overlay is drawn over the live scene.
    for(int32_t i = 0; i < 10; i++) mManager->Update();
    EXPECT_EQ(TRANSITION_FADE_IN, mManager->GetState());
    glClear(GL_COLOR_BUFFER_BIT);
    DrawScene();
    mManager->Render();
    EXPECT_EQ(0x000000u, ReadPixel(10, 60) >> 8);

    while(mManager->GetState() != TRANSITION_IDLE) mManager->Update();
    EXPECT_EQ(0u, mManager->GetTexture());
    EXPECT_FALSE(glIsTexture(tTexture));
    EXPECT_EQ(1, tExecutor.mRuns);
}

TEST_F(TransitionManagerGLTest, ARestartFreesTheEarlierCapture)
{
    NothingExecutor tExecutor;
    mManager->Begin(&tExecutor, false);
    mManager->Render();
    uint32_t tFirst = mManager->GetTexture();
    ASSERT_NE(0u, tFirst);
    mManager->Begin(&tExecutor, false);
    mManager->Render();
    EXPECT_NE(0u, mManager->GetTexture());
    EXPECT_FALSE(glIsTexture(tFirst));
}

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include <GL/gl.h>

#include "core/Application.h"
#include "core/render/Bitmap.h"
#include "core/render/LoadingScreen.h"
#include "support/RenderTestDisplay.h"
#include "support/TestText.h"

// The screen keeps Allegro's clock, so the system must be up (no display is needed).
class LoadingScreenTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { ASSERT_TRUE(al_init()); }
};

namespace
{
    // Puts a fresh screen in the Application for the hook to find and takes it out again.
    struct InstalledScreen
    {
        LoadingScreen *mScreen;
        InstalledScreen() : mScreen(new LoadingScreen())
        {
            GetApplication()->mLoadingScreen = mScreen;
        }
        ~InstalledScreen()
        {
            delete mScreen;
        }
    };
}

TEST_F(LoadingScreenTest, BeginResetsCountersAndKeepsAtLeastOneStep)
{
    LoadingScreen tScreen;
    EXPECT_EQ(tScreen.GetExpected(), 1);
    EXPECT_FALSE(tScreen.IsActive());
    tScreen.Begin(LOADING_BOOT_STEPS);
    double tStart = tScreen.GetLastRedrawTime();
    tScreen.Advance(tStart + 1.0);
    tScreen.Advance(tStart + 2.0);
    EXPECT_EQ(tScreen.GetCalls(), 2);
    tScreen.Begin(0);
    EXPECT_EQ(tScreen.GetExpected(), 1);
    EXPECT_EQ(tScreen.GetCalls(), 0);
    EXPECT_EQ(tScreen.GetFrames(), 0);
    tScreen.Begin(-5);
    EXPECT_EQ(tScreen.GetExpected(), 1);
}

TEST_F(LoadingScreenTest, CallsWithinOneSixtiethCountButRedrawOnce)
{
    LoadingScreen tScreen;
    tScreen.Begin(LOADING_BOOT_STEPS);
    double t = tScreen.GetLastRedrawTime();
    EXPECT_FALSE(tScreen.Advance(t + 0.0166));
    EXPECT_TRUE(tScreen.Advance(t + 0.02));
    EXPECT_FALSE(tScreen.Advance(t + 0.03));
    EXPECT_EQ(tScreen.GetCalls(), 3);
    EXPECT_EQ(tScreen.GetFrames(), 1);
    EXPECT_DOUBLE_EQ(tScreen.GetLastRedrawTime(), t + 0.02);
}

TEST_F(LoadingScreenTest, FramePictureAdvancesEveryEightRedrawsAndWraps)
{
    LoadingScreen tScreen;
    tScreen.Begin(LOADING_BOOT_STEPS);
    double t = tScreen.GetLastRedrawTime();
    int32_t tSeen[72];
    for (int32_t i = 0; i < 72; i++)
    {
        t += 0.02;
        ASSERT_TRUE(tScreen.Advance(t));
        tSeen[i] = tScreen.GetFrameIndex();
    }
    // Redraw n (1-based) shows picture (n / 8) mod 8.
    EXPECT_EQ(tSeen[0], 0);  // redraw 1
    EXPECT_EQ(tSeen[6], 0);  // redraw 7
    EXPECT_EQ(tSeen[7], 1);  // redraw 8
    EXPECT_EQ(tSeen[15], 2); // redraw 16
    EXPECT_EQ(tSeen[62], 7); // redraw 63
    EXPECT_EQ(tSeen[63], 0); // redraw 64 starts over
}

TEST_F(LoadingScreenTest, ProgressIsAFractionClampedToFull)
{
    LoadingScreen tScreen;
    tScreen.Begin(4);
    double t = tScreen.GetLastRedrawTime();
    EXPECT_FLOAT_EQ(tScreen.GetProgress(), 0.0f);
    tScreen.Advance(t);
    EXPECT_FLOAT_EQ(tScreen.GetProgress(), 0.25f);
    for (int32_t i = 0; i < 10; i++) tScreen.Advance(t);
    EXPECT_FLOAT_EQ(tScreen.GetProgress(), 1.0f);
}

TEST_F(LoadingScreenTest, HookCountsOnlyWhileActiveAndNotSuppressed)
{
    InstalledScreen tInstalled;
    LoadingScreen *rScreen = tInstalled.mScreen;
    rScreen->Begin(LOADING_BOOT_STEPS);

    LoadInterrupt();
    EXPECT_EQ(rScreen->GetCalls(), 0); // not booted: inactive

    rScreen->SetActive(1);
    rScreen->SetSuppress(1);
    LoadInterrupt();
    EXPECT_EQ(rScreen->GetCalls(), 0);

    rScreen->SetSuppress(0);
    LoadInterrupt();
    LoadInterrupt();
    EXPECT_EQ(rScreen->GetCalls(), 2);

    GetApplication()->mLoadingScreen = nullptr;
    LoadInterrupt(); // no screen at all
    GetApplication()->mLoadingScreen = rScreen;
}

TEST_F(LoadingScreenTest, ReportPrintsTheCounterAndEndsTheScreen)
{
    InstalledScreen tInstalled;
    LoadingScreen *rScreen = tInstalled.mScreen;
    rScreen->SetActive(1);
    rScreen->Begin(LOADING_BOOT_STEPS);
    for (int32_t i = 0; i < 12; i++) LoadInterrupt();

    testing::internal::CaptureStderr();
    rScreen->PrintReport();
    std::string tText = CapturedStderr();
    EXPECT_EQ(tText, "[Load Interrupt]\n Completed loading action!\n Counter was 12/587\n");

    // Uploads after boot no longer reach the screen.
    LoadInterrupt();
    EXPECT_EQ(rScreen->GetCalls(), 12);
}

TEST_F(LoadingScreenTest, DeletingTheApplicationsScreenRemovesTheHook)
{
    LoadingScreen *tScreen = new LoadingScreen();
    GetApplication()->mLoadingScreen = tScreen;
    SetLoadInterruptHook(LoadInterrupt);
    delete tScreen;
    EXPECT_EQ(GetApplication()->mLoadingScreen, nullptr);
    EXPECT_EQ(GetLoadInterruptHook(), nullptr);
}

class LoadingScreenGLTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { sHaveDisplay = OpenTestDisplay(480, 360); }
    static void TearDownTestSuite() { CloseTestDisplay(); }
    void SetUp() override
    {
        if (!sHaveDisplay) GTEST_SKIP() << "no OpenGL display";
    }
    static bool sHaveDisplay;
};

bool LoadingScreenGLTest::sHaveDisplay = false;

TEST_F(LoadingScreenGLTest, RedrawShowsTheBarFilledToTheProgress)
{
    InstalledScreen tInstalled;
    LoadingScreen *rScreen = tInstalled.mScreen;
    // Without the picture files the pictures are skipped; the bar still draws.
    rScreen->Boot();
    EXPECT_EQ(GetLoadInterruptHook(), &LoadInterrupt);
    rScreen->Begin(4);
    double t = rScreen->GetLastRedrawTime();
    rScreen->Advance(t);
    ASSERT_TRUE(rScreen->Advance(t + 1.0)); // half way

    GLint tDepth = 0;
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &tDepth);
    rScreen->Draw();
    GLint tDepthAfter = 0;
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &tDepthAfter);
    EXPECT_EQ(tDepthAfter, tDepth);

    // The window is the 480 by 360 view, so window row 10 is view row 350, inside the bar,
    // which is filled up to x = 478 * 0.5 + 1.
    uint8_t tFilled[4] = {0, 0, 0, 0};
    uint8_t tEmpty[4] = {0, 0, 0, 0};
    glReadPixels(100, 10, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, tFilled);
    glReadPixels(400, 10, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, tEmpty);
    EXPECT_EQ(tFilled[0], 0);
    EXPECT_EQ(tFilled[1], 255);
    EXPECT_EQ(tEmpty[1], 0);
    rScreen->Render();
    EXPECT_EQ(glGetError(), (GLenum)GL_NO_ERROR);
}

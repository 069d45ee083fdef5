#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <unistd.h>

#include "core/Application.h"
#include "core/LuaBindingHelpers.h"
#include "core/render/DisplayManager.h"
#include "support/ScratchFolder.h"
#include "support/TestText.h"

namespace
{
    struct Fit
    {
        ViewportRect mRect;
        int32_t mViewportW;
        int32_t mViewportH;
    };

    Fit FitFrom(int32_t pW, int32_t pH, bool pForce, ViewportRect pStart = {0, 0, 0, 0})
    {
        Fit tFit = {pStart, -1, -1};
        FitViewport(pW, pH, 480, 360, pForce, tFit.mRect, tFit.mViewportW, tFit.mViewportH);
        return tFit;
    }

    void ExpectRect(const ViewportRect &pRect, int32_t pX, int32_t pY, int32_t pW, int32_t pH)
    {
        EXPECT_EQ(pX, pRect.mX);
        EXPECT_EQ(pY, pRect.mY);
        EXPECT_EQ(pW, pRect.mW);
        EXPECT_EQ(pH, pRect.mH);
    }
}

TEST(FitViewportTest, AspectFitLetterboxesAndCentres)
{
    // The default window matches the view: a zero rectangle, the whole window is used,
    // even when an earlier frame left a rectangle behind.
    Fit tSame = FitFrom(800, 600, false, {5, 5, 5, 5});
    ExpectRect(tSame.mRect, 0, 0, 0, 0);
    EXPECT_EQ(800, tSame.mViewportW);
    EXPECT_EQ(600, tSame.mViewportH);

    Fit tWide = FitFrom(1280, 720, false);
    ExpectRect(tWide.mRect, 160, 0, 960, 720);
    EXPECT_EQ(960, tWide.mViewportW);
    EXPECT_EQ(720, tWide.mViewportH);

    Fit tTall = FitFrom(800, 800, false);
    ExpectRect(tTall.mRect, 0, 100, 800, 600);
    EXPECT_EQ(800, tTall.mViewportW);
    EXPECT_EQ(600, tTall.mViewportH);

    // Odd margins truncate toward zero and the rectangle keeps the rest.
    Fit tOdd = FitFrom(1001, 600, false);
    ExpectRect(tOdd.mRect, 100, 0, 801, 600);
}

TEST(FitViewportTest, WholeMultiplesGrowOnlyWithRoomToSpare)
{
    Fit tLarge = FitFrom(1024, 768, true);
    ExpectRect(tLarge.mRect, 32, 24, 960, 720);
    EXPECT_EQ(1024, tLarge.mViewportW);
    EXPECT_EQ(768, tLarge.mViewportH);

    // Exactly twice the view is not strictly larger, so the single size stays.
    ExpectRect(FitFrom(960, 720, true).mRect, 240, 180, 480, 360);
    // Both sides must have room: a wide but short window stays at one multiple.
    ExpectRect(FitFrom(2000, 700, true).mRect, 760, 170, 480, 360);
    // Smaller than the view: the single size, centred with negative offsets.
    ExpectRect(FitFrom(400, 300, true).mRect, -40, -30, 480, 360);
}

TEST(FitViewportTest, DegenerateSizesLeaveTheRectangle)
{
    ViewportRect tRect = {1, 2, 3, 4};
    int32_t tW = -1, tH = -1;
    FitViewport(640, 480, 0, 360, false, tRect, tW, tH);
    ExpectRect(tRect, 1, 2, 3, 4);
    EXPECT_EQ(640, tW);
    EXPECT_EQ(480, tH);

    // A zero window (a failed or minimised display) in aspect mode divides by nothing.
    FitViewport(0, 0, 480, 360, false, tRect, tW, tH);
    ExpectRect(tRect, 1, 2, 3, 4);
    EXPECT_EQ(0, tW);
    EXPECT_EQ(0, tH);
}

TEST(ClampWindowSizeTest, OnlySidesPastTheLargestMonitorOrDriverLimitAreCut)
{
    int32_t tW = 800, tH = 600;
    EXPECT_FALSE(ClampWindowSize(tW, tH, 1024, 768));
    EXPECT_EQ(800, tW);
    EXPECT_EQ(600, tH);
    tW = 1024;
    tH = 0;
    EXPECT_FALSE(ClampWindowSize(tW, tH, 1024, 768));
    EXPECT_EQ(0, tH);
    // Without a known monitor only the driver's limit stands.
    tW = 16384;
    tH = 16384;
    EXPECT_FALSE(ClampWindowSize(tW, tH, 0, 0));

    testing::internal::CaptureStderr();
    tW = 100000;
    tH = 600;
    EXPECT_TRUE(ClampWindowSize(tW, tH, 1024, 768));
    EXPECT_EQ(1024, tW);
    EXPECT_EQ(600, tH);
    tW = -5;
    tH = INT32_MAX;
    EXPECT_TRUE(ClampWindowSize(tW, tH, 0, 0));
    EXPECT_EQ(-5, tW);
    EXPECT_EQ(16384, tH);
    tW = 40000;
    tH = 40000;
    EXPECT_TRUE(ClampWindowSize(tW, tH, 50000, 50000));
    EXPECT_EQ(16384, tW);
    EXPECT_EQ(16384, tH);
    EXPECT_EQ("Display of size 100000 by 600 is larger than a display can be made, using 1024 by 600.\n"
              "Display of size -5 by 2147483647 is larger than a display can be made, using -5 by 16384.\n"
              "Display of size 40000 by 40000 is larger than a display can be made, using 16384 by 16384.\n",
              CapturedStderr());
}

TEST(GLEnumerationTest, TableLookupAndUnknownNames)
{
    BuildGLEnumerations();
    EXPECT_EQ(10497u, GetGLEnumeration("GL_REPEAT"));
    EXPECT_EQ(0x2601u, GetGLEnumeration("GL_LINEAR"));
    EXPECT_EQ(0x812Fu, GetGLEnumeration("GL_CLAMP_TO_EDGE"));
    EXPECT_EQ(0u, GetGLEnumeration(nullptr));

    testing::internal::CaptureStderr();
    EXPECT_EQ(0u, GetGLEnumeration("GL_NOT_A_NAME"));
    std::string tOut = CapturedStderr();
    EXPECT_NE(std::string::npos, tOut.find("Error locating enumeration GL_NOT_A_NAME\n"));
}

TEST(GLEnumerationTest, BindingAlwaysAnswersOneInteger)
{
    lua_State *L = luaL_newstate();
    RegisterDisplayManagerLua(L);
    DisplayManager *rSaved = GetApplication()->mDisplayManager;
    GetApplication()->mDisplayManager = nullptr;

    // Wrong argument count: the shared report and a 0.
    testing::internal::CaptureStderr();
    ASSERT_EQ(LUA_OK, luaL_dostring(L, "return DM_GetEnumeration()"));
    EXPECT_EQ("DM_GetEnumeration: Failed, invalid argument list\n", CapturedStderr());
    ASSERT_EQ(1, lua_gettop(L));
    EXPECT_EQ(0, lua_tointeger(L, -1));
    lua_settop(L, 0);

    // Before the display exists there is no table to read.
    testing::internal::CaptureStderr();
    ASSERT_EQ(LUA_OK, luaL_dostring(L, "return DM_GetEnumeration('GL_REPEAT')"));
    EXPECT_NE(std::string::npos, CapturedStderr().find("no display manager"));
    ASSERT_EQ(1, lua_gettop(L));
    EXPECT_EQ(0, lua_tointeger(L, -1));

    GetApplication()->mDisplayManager = rSaved;
    lua_close(L);
}

TEST(ReadTextFileTest, WholeFileOrNothing)
{
    EXPECT_EQ(nullptr, ReadTextFile(nullptr));
    EXPECT_EQ(nullptr, ReadTextFile("/nonexistent/file.txt"));

    ScratchFolder tFolder("text");
    ASSERT_TRUE(tFolder.WriteText("shader.txt", ""));
    std::string tPath = tFolder.File("shader.txt");
    EXPECT_EQ(nullptr, ReadTextFile(tPath.c_str()));

    ASSERT_TRUE(tFolder.WriteText("shader.txt", "void main()\n{\n}\n"));
    char *tText = ReadTextFile(tPath.c_str());
    ASSERT_NE(nullptr, tText);
    EXPECT_STREQ("void main()\n{\n}\n", tText);
    free(tText);
}

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "SkeletonFixtures.h"
#include "support/ScratchFolder.h"
#include "core/render/Bitmap.h"
#include "skeleton/CorvelPuppet.h"
#include "skeleton/Skeleton.h"
#include "support/TestText.h"

namespace
{
    const float cTolerance = 1e-3f;

    int32_t xLoads = 0;
    uint8_t xSuppressedDuringLoad = 0;

    // A texture record of 64 x 32 without a GL texture: the puppet counts its draws but sends
    // nothing to GL.
    Bitmap *FakeTexture(const char *pPath)
    {
        xLoads++;
        xSuppressedDuringLoad = GetLoadInterruptSuppressed();
        Bitmap *nBitmap = new Bitmap();
        nBitmap->SetSize(64, 32);
        nBitmap->SetTextureSize(64, 32);
        return nBitmap;
    }

    ::testing::AssertionResult SameAngle(float pExpected, float pActual)
    {
        float tDifference = fmodf(pExpected - pActual, 360.0f);
        if(tDifference < 0) tDifference += 360.0f;
        if(tDifference < 1e-3f || 360.0f - tDifference < 1e-3f) return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << pActual << " is not " << pExpected << " modulo 360";
    }

    class CorvelPuppetTest : public ::testing::Test
    {
    protected:
        void SetUp() override
        {
            CorvelPuppet::SetTextureLoader(FakeTexture);
            xLoads = 0;
            ASSERT_TRUE(mDir.WriteText("sample.atlas", cSampleAtlas));
            ASSERT_TRUE(mDir.WriteText("sample.json", cSampleSkeleton));
            snprintf(mAtlas, sizeof(mAtlas), "%s", mDir.File("sample.atlas").c_str());
            snprintf(mSkeleton, sizeof(mSkeleton), "%s", mDir.File("sample.json").c_str());
        }
        void TearDown() override { CorvelPuppet::SetTextureLoader(nullptr); }

        void BootSample(CorvelPuppet &sPuppet, const char *pSkin = nullptr)
        {
            sPuppet.Boot("sample.png", mAtlas, mSkeleton, pSkin);
        }

        ScratchFolder mDir{"skeleton"};
        char mAtlas[600];
        char mSkeleton[600];
    };
}

TEST_F(CorvelPuppetTest, BootsAndAnswersSlotQueriesInTheSetupPose)
{
    CorvelPuppet tPuppet;
    EXPECT_EQ(0, tPuppet.IsBooted());
    BootSample(tPuppet);
    ASSERT_EQ(1, tPuppet.IsBooted());
    EXPECT_EQ(1, xLoads);
    EXPECT_EQ(2, tPuppet.GetSlotCount());

    float tX = -1, tY = -1;
    tPuppet.GetSlotCenter(1, &tX, &tY);
    EXPECT_NEAR(10.0f, tX, cTolerance);
    EXPECT_NEAR(30.0f, tY, cTolerance);
    tPuppet.GetSlotCenter(0, &tX, &tY);
    EXPECT_NEAR(10.0f, tX, cTolerance);
    EXPECT_NEAR(20.0f, tY, cTolerance);
    EXPECT_FLOAT_EQ(90.0f, tPuppet.GetSlotBoneRotation(1));
    EXPECT_FLOAT_EQ(90.0f, tPuppet.GetSlotBoneRotation(0));

    float tQuad[8];
    ASSERT_TRUE(tPuppet.GetSlotQuad(1, tQuad));
    const float cHead[8] = {15, 10, 5, 10, 5, 50, 15, 50};
    for(int32_t i = 0; i < 8; i++) EXPECT_NEAR(cHead[i], tQuad[i], cTolerance) << i;
    float tXs[4], tYs[4];
    ASSERT_TRUE(tPuppet.GetSlotQuadXY(1, tXs, tYs));
    EXPECT_NEAR(5.0f, tXs[1], cTolerance);
    EXPECT_NEAR(50.0f, tYs[2], cTolerance);
    ASSERT_TRUE(tPuppet.GetSlotQuadXYReversed(1, tXs, tYs));
    EXPECT_NEAR(cHead[6], tXs[1], cTolerance);
    EXPECT_NEAR(cHead[2], tXs[3], cTolerance);
    EXPECT_NEAR(cHead[4], tXs[2], cTolerance);
    EXPECT_NEAR(cHead[0], tXs[0], cTolerance);

    // The slot count itself is out of range for every query.
    tX = tY = -7;
    tPuppet.GetSlotCenter(2, &tX, &tY);
    EXPECT_EQ(-7, tX);
    EXPECT_FALSE(tPuppet.GetSlotQuad(2, tQuad));
    EXPECT_FALSE(tPuppet.GetSlotQuadXY(-1, tXs, tYs));
    EXPECT_FALSE(tPuppet.GetSlotQuadXYReversed(2, tXs, tYs));
    EXPECT_EQ(0.0f, tPuppet.GetSlotBoneRotation(2));
    tPuppet.SetSlotBlocksBuster(1, 1);
    tPuppet.SetSlotBlocksBuster(2, 1);
    tPuppet.SetSlotBlocksBuster(-1, 1);
    EXPECT_EQ(1, tPuppet.GetSlotBlocksBuster(1));
    EXPECT_EQ(0, tPuppet.GetSlotBlocksBuster(0));
    EXPECT_EQ(0, tPuppet.GetSlotBlocksBuster(2));
    tPuppet.SetArtFlipped(1);
    EXPECT_EQ(1, tPuppet.IsArtFlipped());
}

TEST_F(CorvelPuppetTest, AnimationTimeDrivesTheSlots)
{
    CorvelPuppet tPuppet;
    BootSample(tPuppet);
    tPuppet.SetAnimation("spin");
    EXPECT_STREQ("spin", tPuppet.GetAnimationName());
    EXPECT_EQ(0.0f, tPuppet.GetAnimationTime());

    float tX = 0, tY = 0;
    tPuppet.SetAnimationTime(0.5f);
    tPuppet.GetSlotCenter(1, &tX, &tY);
    EXPECT_NEAR(11.0f, tX, cTolerance);
    EXPECT_NEAR(35.0f, tY, cTolerance);
    EXPECT_TRUE(SameAngle(135.0f, tPuppet.GetSlotBoneRotation(1)));

    // Past the attachment key at 1.5 the head shows nothing: no quad, centre untouched.
    tPuppet.SetAnimationTime(1.75f);
    float tQuad[8];
    EXPECT_FALSE(tPuppet.GetSlotQuad(1, tQuad));
    tX = tY = -3;
    tPuppet.GetSlotCenter(1, &tX, &tY);
    EXPECT_EQ(-3, tX);
    EXPECT_TRUE(SameAngle(180.0f, tPuppet.GetSlotBoneRotation(1)));
    EXPECT_TRUE(tPuppet.GetSlotQuad(0, tQuad));

    // Looping: 2.5 is 0.5 again.
    tPuppet.SetAnimationTime(2.5f);
    tPuppet.GetSlotCenter(1, &tX, &tY);
    EXPECT_NEAR(11.0f, tX, cTolerance);
    EXPECT_NEAR(35.0f, tY, cTolerance);
    EXPECT_TRUE(SameAngle(135.0f, tPuppet.GetSlotBoneRotation(1)));

    // Times that are not finite are ignored.
    tPuppet.SetAnimationTime(NAN);
    tPuppet.SetAnimationTime(INFINITY);
    EXPECT_FLOAT_EQ(2.5f, tPuppet.GetAnimationTime());
    tPuppet.GetSlotCenter(1, &tX, &tY);
    EXPECT_NEAR(11.0f, tX, cTolerance);

    // A name that matches nothing is stored; the pose stays and the time is still kept.
    tPuppet.SetAnimation("nothing");
    testing::internal::CaptureStderr();
    tPuppet.SetAnimationTime(0.25f);
    EXPECT_NE(std::string::npos, CapturedStderr().find("Error in Animation nothing: "));
    EXPECT_FLOAT_EQ(0.25f, tPuppet.GetAnimationTime());
    tPuppet.GetSlotCenter(1, &tX, &tY);
    EXPECT_NEAR(11.0f, tX, cTolerance);
}

TEST_F(CorvelPuppetTest, RenderCountsOnlyWhenBootedWithAnAnimation)
{
    CorvelPuppet tPuppet;
    tPuppet.Render();
    tPuppet.SetAnimation("spin");
    tPuppet.Render();
    EXPECT_EQ(0, tPuppet.GetRenderCount());
    BootSample(tPuppet);
    tPuppet.Render();
    EXPECT_EQ(1, tPuppet.GetRenderCount());

    CorvelPuppet tNoAnimation;
    BootSample(tNoAnimation);
    tNoAnimation.Render();
    EXPECT_EQ(0, tNoAnimation.GetRenderCount());
    for(int32_t i = 0; i < 8; i++) tPuppet.Render();
    EXPECT_EQ(9, tPuppet.GetRenderCount());
}

TEST_F(CorvelPuppetTest, FailedBootsStoreWhatTheyAreAskedAndAnswerNothing)
{
    CorvelPuppet tMissingAtlas;
    testing::internal::CaptureStderr();
    tMissingAtlas.Boot("x.png", mDir.File("missing.atlas").c_str(), mSkeleton, nullptr);
    EXPECT_NE(std::string::npos, CapturedStderr().find("[CorvelPuppet] Error occurred reading"));
    EXPECT_EQ(0, tMissingAtlas.IsBooted());
    EXPECT_EQ(0, xLoads);

    CorvelPuppet tMissingSkeleton;
    testing::internal::CaptureStdout();
    tMissingSkeleton.Boot("x.png", mAtlas, mDir.File("missing.json").c_str(), nullptr);
    std::string tOut = testing::internal::GetCapturedStdout();
    EXPECT_NE(std::string::npos, tOut.find("Error: Unable to read skeleton file: ")) << tOut;
    EXPECT_EQ(0, tMissingSkeleton.IsBooted());

    // Every tick an enemy sets the animation and its time: stored, silent, nothing drawn.
    testing::internal::CaptureStderr();
    for(int32_t i = 0; i < 3; i++)
    {
        tMissingSkeleton.SetAnimation("spin");
        tMissingSkeleton.SetAnimationTime((float)i);
        tMissingSkeleton.SetSkin("goblin");
        tMissingSkeleton.Render();
    }
    EXPECT_EQ("", CapturedStderr());
    EXPECT_STREQ("spin", tMissingSkeleton.GetAnimationName());
    EXPECT_FLOAT_EQ(2.0f, tMissingSkeleton.GetAnimationTime());
    EXPECT_EQ(0, tMissingSkeleton.GetRenderCount());
    EXPECT_EQ(0, tMissingSkeleton.GetSlotCount());
    float tQuad[8];
    EXPECT_FALSE(tMissingSkeleton.GetSlotQuad(0, tQuad));
    EXPECT_EQ(0.0f, tMissingSkeleton.GetSlotBoneRotation(0));
    EXPECT_EQ(0, tMissingSkeleton.GetSlotBlocksBuster(0));

    // Missing paths do nothing at all.
    CorvelPuppet tNoPaths;
    tNoPaths.Boot(nullptr, mAtlas, mSkeleton, nullptr);
    tNoPaths.Boot("x.png", nullptr, mSkeleton, nullptr);
    EXPECT_EQ(0, tNoPaths.IsBooted());
}

TEST_F(CorvelPuppetTest, ArtThatCannotBeDrawnIsNamedAndThePuppetStillPoses)
{
    // "body" reaches past the 64-pixel texture's right edge; "tail" starts left of it.
    std::string tAtlas = cSampleAtlas;
    tAtlas.replace(tAtlas.find("xy: 30, 4"), 9, "xy: 60, 4");
    tAtlas += "tail\n  rotate: false\n  xy: -1, 0\n  size: 4, 4\n  orig: 4, 4\n  offset: 0, 0\n  index: -1\n";
    ASSERT_TRUE(mDir.WriteText("off.atlas", tAtlas.c_str()));
    CorvelPuppet tPuppet;
    testing::internal::CaptureStderr();
    tPuppet.Boot("sample.png", mDir.File("off.atlas").c_str(), mSkeleton, nullptr);
    const std::string tRegions = CapturedStderr();
    const std::string tPrefix = std::string("[CorvelPuppet] Error in ") + mDir.File("off.atlas") + ", region ";
    EXPECT_NE(std::string::npos, tRegions.find(tPrefix + "body lies outside sample.png, dropped\n")) << tRegions;
    EXPECT_NE(std::string::npos, tRegions.find(tPrefix + "tail lies outside sample.png, dropped\n")) << tRegions;
    EXPECT_EQ(std::string::npos, tRegions.find("region head")) << tRegions;
    ASSERT_EQ(1, tPuppet.IsBooted());
    float tQuad[8];
    EXPECT_TRUE(tPuppet.GetSlotQuad(1, tQuad));

    // An empty picture file loads as a texture without pixels.
    CorvelPuppet::SetTextureLoader([](const char *) { return new Bitmap(); });
    CorvelPuppet tBlank;
    testing::internal::CaptureStderr();
    tBlank.Boot("empty.png", mAtlas, mSkeleton, nullptr);
    EXPECT_NE(std::string::npos, CapturedStderr().find("[CorvelPuppet] Error occurred loading empty.png\n"));
    EXPECT_EQ(1, tBlank.IsBooted());
    EXPECT_TRUE(tBlank.GetSlotQuad(1, tQuad));
}

TEST_F(CorvelPuppetTest, RebootingReplacesTheOldStateAndTheLoadFlagIsRestored)
{
    CorvelPuppet tPuppet;
    SetLoadInterruptSuppressed(1);
    BootSample(tPuppet);
    EXPECT_EQ(1, xSuppressedDuringLoad);
    EXPECT_EQ(1, GetLoadInterruptSuppressed());
    SetLoadInterruptSuppressed(0);
    tPuppet.SetSlotBlocksBuster(0, 1);
    BootSample(tPuppet);
    EXPECT_EQ(1, xSuppressedDuringLoad);
    EXPECT_EQ(0, GetLoadInterruptSuppressed());
    EXPECT_EQ(2, xLoads);
    EXPECT_EQ(1, tPuppet.IsBooted());
    EXPECT_EQ(0, tPuppet.GetSlotBlocksBuster(0));

    // A failed reboot leaves the puppet not booted, holding nothing.
    testing::internal::CaptureStdout();
    tPuppet.Boot("x.png", mAtlas, mDir.File("missing.json").c_str(), nullptr);
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(0, tPuppet.IsBooted());
    EXPECT_EQ(0, tPuppet.GetSlotCount());
}

TEST_F(CorvelPuppetTest, SkinsByNameAtBootAndLater)
{
    ASSERT_TRUE(mDir.WriteText("skins.json", R"({"bones":[{"name":"root"}],
      "slots":[{"name":"hat","bone":"root","attachment":"head"}],
      "skins":{"red":{"hat":{"head":{"width":10,"height":10}}},"blue":{"hat":{"head":{"width":40,"height":40}}}}})"));
    CorvelPuppet tPuppet;
    tPuppet.Boot("x.png", mAtlas, mDir.File("skins.json").c_str(), "red");
    ASSERT_EQ(1, tPuppet.IsBooted());
    float tQuad[8];
    ASSERT_TRUE(tPuppet.GetSlotQuad(0, tQuad));
    EXPECT_NEAR(-5.0f, tQuad[0], cTolerance);
    tPuppet.SetSkin("blue");
    ASSERT_TRUE(tPuppet.GetSlotQuad(0, tQuad));
    EXPECT_NEAR(-20.0f, tQuad[0], cTolerance);
    tPuppet.SetSkin("green");
    tPuppet.SetSkin(nullptr);
    ASSERT_TRUE(tPuppet.GetSlotQuad(0, tQuad));
    EXPECT_NEAR(-20.0f, tQuad[0], cTolerance);

    // A skin that matches nothing at boot leaves no skin: the hat has nothing to show.
    CorvelPuppet tNoSkin;
    tNoSkin.Boot("x.png", mAtlas, mDir.File("skins.json").c_str(), "skeleton.png");
    ASSERT_EQ(1, tNoSkin.IsBooted());
    EXPECT_FALSE(tNoSkin.GetSlotQuad(0, tQuad));
}

TEST(CorvelPuppetQuad, TextureCoordinatesComeFromThePixelRectangle)
{
    AtlasRegion tRegion = {};
    tRegion.mX = 2;
    tRegion.mY = 4;
    tRegion.mWidth = 20;
    tRegion.mHeight = 10;
    const float cCorners[8] = {15, 10, 5, 10, 5, 50, 15, 50};
    float tTex[8], tVertices[8];
    ASSERT_TRUE(CorvelPuppet::ComputeRegionQuad(cCorners, &tRegion, 64, 32, tTex, tVertices));
    const float cTex[8] = {2 / 64.0f, 14 / 32.0f, 2 / 64.0f, 4 / 32.0f, 22 / 64.0f, 4 / 32.0f, 22 / 64.0f, 14 / 32.0f};
    const float cVertices[8] = {15, -10, 5, -10, 5, -50, 15, -50};
    for(int32_t i = 0; i < 8; i++)
    {
        EXPECT_FLOAT_EQ(cTex[i], tTex[i]) << i;
        EXPECT_FLOAT_EQ(cVertices[i], tVertices[i]) << i;
    }
    // A rotated region covers height x width pixels and is sampled turned back.
    tRegion.mRotate = 1;
    ASSERT_TRUE(CorvelPuppet::ComputeRegionQuad(cCorners, &tRegion, 64, 32, tTex, tVertices));
    const float cRotated[8] = {12 / 64.0f, 24 / 32.0f, 2 / 64.0f, 24 / 32.0f, 2 / 64.0f, 4 / 32.0f, 12 / 64.0f, 4 / 32.0f};
    for(int32_t i = 0; i < 8; i++) EXPECT_FLOAT_EQ(cRotated[i], tTex[i]) << i;
    // No texture size, no quad; nor for a region that leaves the texture on any side.
    EXPECT_FALSE(CorvelPuppet::ComputeRegionQuad(cCorners, &tRegion, 0, 32, tTex, tVertices));
    EXPECT_FALSE(CorvelPuppet::ComputeRegionQuad(cCorners, &tRegion, 11, 32, tTex, tVertices));
    EXPECT_TRUE(CorvelPuppet::ComputeRegionQuad(cCorners, &tRegion, 12, 24, tTex, tVertices));
    EXPECT_FALSE(CorvelPuppet::ComputeRegionQuad(cCorners, &tRegion, 12, 23, tTex, tVertices));
    tRegion.mX = INT32_MAX;
    EXPECT_FALSE(CorvelPuppet::ComputeRegionQuad(cCorners, &tRegion, 64, 32, tTex, tVertices));
    tRegion.mX = 2;
    tRegion.mY = -1;
    EXPECT_FALSE(CorvelPuppet::ComputeRegionQuad(cCorners, &tRegion, 64, 32, tTex, tVertices));
}

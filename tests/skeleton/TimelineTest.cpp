#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "SkeletonFixtures.h"
#include "skeleton/Animation.h"
#include "skeleton/Attachment.h"
#include "skeleton/Skeleton.h"

namespace
{
    const float cTolerance = 1e-4f;

    // Angles compared on the circle.
    ::testing::AssertionResult SameAngle(float pExpected, float pActual)
    {
        float tDifference = fmodf(pExpected - pActual, 360.0f);
        if(tDifference < 0) tDifference += 360.0f;
        if(tDifference < 1e-3f || 360.0f - tDifference < 1e-3f) return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << pActual << " is not " << pExpected << " modulo 360";
    }

    class SkeletonTimelines : public ::testing::Test
    {
    protected:
        void SetUp() override
        {
            ASSERT_NE(nullptr, mSample.mData);
            mSkeleton = Skeleton_create(mSample.mData);
            Skeleton_setToSetupPose(mSkeleton);
            mArm = mSkeleton->mBones[1];
        }
        void TearDown() override
        {
            Skeleton_dispose(mSkeleton);
            for(Timeline *nTimeline : mOwned) Timeline_dispose(nTimeline);
        }
        template <typename Kind> Kind *Own(Kind *pTimeline)
        {
            mOwned.push_back(&pTimeline->mSuper);
            return pTimeline;
        }
        CurveTimeline *OwnCurve(CurveTimeline *pTimeline)
        {
            mOwned.push_back(&pTimeline->mSuper);
            return pTimeline;
        }
        void Apply(const void *pTimeline, float pTime, float pAlpha = 1.0f)
        {
            Timeline_apply((const Timeline *)pTimeline, mSkeleton, 0.0f, pTime, nullptr, pAlpha);
        }

        SampleSkeleton mSample;
        Skeleton *mSkeleton = nullptr;
        Bone *mArm = nullptr;
        std::vector<Timeline *> mOwned;
    };
}

TEST(SkeletonCurves, BinarySearchFindsTheNextKeyFrame)
{
    const float cTimes[4] = {0, 1, 2, 3};
    EXPECT_EQ(2, Animation_binarySearch(cTimes, 4, 1.5f, 1));
    EXPECT_EQ(2, Animation_binarySearch(cTimes, 4, 1.0f, 1));
    EXPECT_EQ(1, Animation_binarySearch(cTimes, 4, 0.5f, 1));
    EXPECT_EQ(3, Animation_binarySearch(cTimes, 4, 2.5f, 1));
    EXPECT_EQ(1, Animation_binarySearch(cTimes, 2, 0.5f, 1));
    const float cPairs[6] = {0, 10, 1, 20, 2, 30};
    EXPECT_EQ(4, Animation_binarySearch(cPairs, 6, 1.5f, 2));
}

TEST(SkeletonCurves, StoredDifferencesAndPercentsAtTheSubdivisionConstants)
{
    CurveTimeline *nTimeline = RotateTimeline_create(3);
    CurveTimeline_setCurve(nTimeline, 0, 0.25f, 0.0f, 0.75f, 1.0f);
    const float cStored[6] = {0.082f, 0.028f, 0.012f, 0.048f, -0.003f, -0.012f};
    for(int32_t i = 0; i < 6; i++) EXPECT_NEAR(cStored[i], nTimeline->mCurves[i], 1e-6f) << i;
    EXPECT_NEAR(0.5f, CurveTimeline_getCurvePercent(nTimeline, 0, 0.5f), 1e-5f);
    EXPECT_NEAR(0.042553f, CurveTimeline_getCurvePercent(nTimeline, 0, 0.1f), 1e-5f);

    CurveTimeline_setCurve(nTimeline, 1, 0.5f, 0.0f, 1.0f, 1.0f);
    EXPECT_NEAR(0.281673f, CurveTimeline_getCurvePercent(nTimeline, 1, 0.5f), 1e-5f);
    EXPECT_NEAR(0.080137f, CurveTimeline_getCurvePercent(nTimeline, 1, 0.25f), 1e-5f);
    EXPECT_NEAR(0.906988f, CurveTimeline_getCurvePercent(nTimeline, 1, 0.95f), 1e-5f);

    CurveTimeline_setStepped(nTimeline, 0);
    EXPECT_EQ(CURVE_STEPPED, nTimeline->mCurves[0]);
    EXPECT_EQ(0.0f, CurveTimeline_getCurvePercent(nTimeline, 0, 0.7f));
    CurveTimeline_setLinear(nTimeline, 0);
    EXPECT_FLOAT_EQ(0.7f, CurveTimeline_getCurvePercent(nTimeline, 0, 0.7f));
    // The last key frame has no segment: a curve there changes nothing and is not written.
    CurveTimeline_setCurve(nTimeline, 2, 0.1f, 0.1f, 0.9f, 0.9f);
    CurveTimeline_setStepped(nTimeline, 5);
    EXPECT_FLOAT_EQ(0.3f, CurveTimeline_getCurvePercent(nTimeline, 2, 0.3f));
    Timeline_dispose(&nTimeline->mSuper);
}

TEST(SkeletonCurves, ControlPointsOutsideTheSquareGiveNoNaN)
{
    CurveTimeline *nTimeline = RotateTimeline_create(2);
    const float cPoints[][4] = {{1, 0, 1, 1}, {0, 5, 1, -5}, {3, 3, -2, -2}, {1e30f, 1, -1e30f, 1}, {0, 0, 0, 0}};
    for(const auto &rPoints : cPoints)
    {
        CurveTimeline_setCurve(nTimeline, 0, rPoints[0], rPoints[1], rPoints[2], rPoints[3]);
        for(float p = 0.0f; p <= 1.0f; p += 0.05f)
            EXPECT_TRUE(std::isfinite(CurveTimeline_getCurvePercent(nTimeline, 0, p))) << rPoints[0] << " at " << p;
    }
    Timeline_dispose(&nTimeline->mSuper);
}

TEST_F(SkeletonTimelines, RotateBeforeOnBetweenAndAfterItsKeys)
{
    CurveTimeline *rRotate = OwnCurve(RotateTimeline_create(2));
    rRotate->mIndex = 1;
    RotateTimeline_setFrame(rRotate, 0, 0.5f, 0.0f);
    RotateTimeline_setFrame(rRotate, 1, 1.5f, 90.0f);
    mSample.mData->mBones[1]->mRotation = 10.0f;
    mArm->mRotation = 7.0f;
    Apply(rRotate, 0.25f);
    EXPECT_FLOAT_EQ(7.0f, mArm->mRotation);
    Apply(rRotate, 0.5f);
    EXPECT_TRUE(SameAngle(10.0f, mArm->mRotation));
    Apply(rRotate, 0.75f);
    EXPECT_TRUE(SameAngle(32.5f, mArm->mRotation));
    Apply(rRotate, 1.5f);
    EXPECT_TRUE(SameAngle(100.0f, mArm->mRotation));
    Apply(rRotate, 9.0f);
    EXPECT_TRUE(SameAngle(100.0f, mArm->mRotation));
    // Half weight moves half way.
    mArm->mRotation = 10.0f;
    Apply(rRotate, 2.0f, 0.5f);
    EXPECT_TRUE(SameAngle(55.0f, mArm->mRotation));
}

TEST_F(SkeletonTimelines, RotateTakesTheShortWayAndHugeAnglesNeverHang)
{
    CurveTimeline *rRotate = OwnCurve(RotateTimeline_create(2));
    rRotate->mIndex = 1;
    RotateTimeline_setFrame(rRotate, 0, 0.0f, 350.0f);
    RotateTimeline_setFrame(rRotate, 1, 1.0f, 10.0f);
    Apply(rRotate, 0.5f);
    EXPECT_TRUE(SameAngle(0.0f, mArm->mRotation));
    Apply(rRotate, 0.25f);
    EXPECT_TRUE(SameAngle(-5.0f, mArm->mRotation));

    RotateTimeline_setFrame(rRotate, 0, 0.0f, 1e30f);
    RotateTimeline_setFrame(rRotate, 1, 1.0f, INFINITY);
    Apply(rRotate, 0.5f);
    Apply(rRotate, 2.0f);
    EXPECT_TRUE(std::isfinite(mArm->mRotation));
}

TEST_F(SkeletonTimelines, TranslateAndScaleAreRelativeToTheSetupPose)
{
    CurveTimeline *rTranslate = OwnCurve(TranslateTimeline_create(2));
    rTranslate->mIndex = 1;
    TranslateTimeline_setFrame(rTranslate, 0, 0.0f, 0.0f, 0.0f);
    TranslateTimeline_setFrame(rTranslate, 1, 2.0f, 10.0f, -4.0f);
    mArm->mX = 42.0f;
    Apply(rTranslate, -0.5f);
    EXPECT_FLOAT_EQ(42.0f, mArm->mX);
    Apply(rTranslate, 0.0f);
    EXPECT_FLOAT_EQ(5.0f, mArm->mX);
    Apply(rTranslate, 0.5f);
    EXPECT_FLOAT_EQ(7.5f, mArm->mX);
    EXPECT_FLOAT_EQ(-1.0f, mArm->mY);
    Apply(rTranslate, 2.0f);
    EXPECT_FLOAT_EQ(15.0f, mArm->mX);
    EXPECT_FLOAT_EQ(-4.0f, mArm->mY);
    Apply(rTranslate, 3.0f);
    EXPECT_FLOAT_EQ(15.0f, mArm->mX);

    CurveTimeline *rScale = OwnCurve(ScaleTimeline_create(2));
    rScale->mIndex = 1;
    TranslateTimeline_setFrame(rScale, 0, 0.0f, 1.0f, 1.0f);
    TranslateTimeline_setFrame(rScale, 1, 1.0f, 3.0f, 2.0f);
    Apply(rScale, 0.5f);
    EXPECT_FLOAT_EQ(2.0f, mArm->mScaleX);
    EXPECT_FLOAT_EQ(1.5f, mArm->mScaleY);
    // The key is added to the data scale - 1: the root's data scaleX is 2.
    rScale->mIndex = 0;
    Apply(rScale, 0.0f);
    EXPECT_FLOAT_EQ(2.0f, mSkeleton->rRoot->mScaleX);
    Apply(rScale, 1.0f);
    EXPECT_FLOAT_EQ(4.0f, mSkeleton->rRoot->mScaleX);
    EXPECT_FLOAT_EQ(2.0f, mSkeleton->rRoot->mScaleY);
}

TEST_F(SkeletonTimelines, SteppedSegmentsHoldUntilTheNextKey)
{
    CurveTimeline *rTranslate = OwnCurve(TranslateTimeline_create(3));
    rTranslate->mIndex = 1;
    TranslateTimeline_setFrame(rTranslate, 0, 0.0f, 0.0f, 0.0f);
    TranslateTimeline_setFrame(rTranslate, 1, 1.0f, 10.0f, 0.0f);
    TranslateTimeline_setFrame(rTranslate, 2, 2.0f, 20.0f, 0.0f);
    CurveTimeline_setStepped(rTranslate, 0);
    Apply(rTranslate, 0.99f);
    EXPECT_FLOAT_EQ(5.0f, mArm->mX);
    Apply(rTranslate, 1.0f);
    EXPECT_FLOAT_EQ(15.0f, mArm->mX);
    Apply(rTranslate, 1.5f);
    EXPECT_FLOAT_EQ(20.0f, mArm->mX);
}

TEST_F(SkeletonTimelines, ColourInterpolatesAndSetsTheLastKeyWhateverTheWeight)
{
    CurveTimeline *rColour = OwnCurve(ColorTimeline_create(2));
    rColour->mIndex = 1;
    ColorTimeline_setFrame(rColour, 0, 0.0f, 1.0f, 0.0f, 0.0f, 128.0f / 255.0f);
    ColorTimeline_setFrame(rColour, 1, 1.0f, 0.0f, 1.0f, 0.0f, 1.0f);
    Slot *rHead = mSkeleton->mSlots[1];
    rHead->mR = 0.25f;
    Apply(rColour, -1.0f);
    EXPECT_FLOAT_EQ(0.25f, rHead->mR);
    Apply(rColour, 0.5f);
    EXPECT_NEAR(0.5f, rHead->mR, cTolerance);
    EXPECT_NEAR(0.5f, rHead->mG, cTolerance);
    EXPECT_NEAR(0.0f, rHead->mB, cTolerance);
    EXPECT_NEAR(0.75098f, rHead->mA, cTolerance);
    Apply(rColour, 0.5f, 0.5f);
    EXPECT_NEAR(0.5f, rHead->mR, cTolerance);
    rHead->mR = 1.0f;
    Apply(rColour, 0.5f, 0.5f);
    EXPECT_NEAR(0.75f, rHead->mR, cTolerance);
    Apply(rColour, 4.0f, 0.5f);
    EXPECT_FLOAT_EQ(0.0f, rHead->mR);
    EXPECT_FLOAT_EQ(1.0f, rHead->mG);
    EXPECT_FLOAT_EQ(1.0f, rHead->mA);
}

TEST_F(SkeletonTimelines, AttachmentAndDrawOrderChangeOnlyFromTheirFirstKey)
{
    AttachmentTimeline *rAttach = Own(AttachmentTimeline_create(2));
    rAttach->mSlotIndex = 1;
    AttachmentTimeline_setFrame(rAttach, 0, 0.5f, "head");
    AttachmentTimeline_setFrame(rAttach, 1, 1.5f, nullptr);
    Slot *rHead = mSkeleton->mSlots[1];
    Slot_setAttachment(rHead, nullptr);
    Apply(rAttach, 0.25f);
    EXPECT_EQ(nullptr, rHead->rAttachment);
    Apply(rAttach, 0.5f);
    ASSERT_NE(nullptr, rHead->rAttachment);
    EXPECT_STREQ("head", rHead->rAttachment->mName);
    Apply(rAttach, 1.5f);
    EXPECT_EQ(nullptr, rHead->rAttachment);
    Apply(rAttach, 1.0f);
    EXPECT_NE(nullptr, rHead->rAttachment);

    DrawOrderTimeline *rOrder = Own(DrawOrderTimeline_create(2, 2));
    const int32_t cSwapped[2] = {1, 0};
    DrawOrderTimeline_setFrame(rOrder, 0, 1.0f, cSwapped);
    DrawOrderTimeline_setFrame(rOrder, 1, 2.0f, nullptr);
    Apply(rOrder, 0.5f);
    EXPECT_EQ(mSkeleton->mSlots[0], mSkeleton->mDrawOrder[0]);
    Apply(rOrder, 1.0f);
    EXPECT_EQ(mSkeleton->mSlots[1], mSkeleton->mDrawOrder[0]);
    EXPECT_EQ(mSkeleton->mSlots[0], mSkeleton->mDrawOrder[1]);
    Apply(rOrder, 2.5f);
    EXPECT_EQ(mSkeleton->mSlots[0], mSkeleton->mDrawOrder[0]);
}

TEST_F(SkeletonTimelines, EventsFireBetweenTheTwoTimesIncludingTheFirstKeyAndAcrossALoop)
{
    EventTimeline *rEvents = Own(EventTimeline_create(2));
    EventData *rData = mSample.mData->mEvents[0];
    EventTimeline_setFrame(rEvents, 0, 0.5f, Event_create(rData));
    EventTimeline_setFrame(rEvents, 1, 1.0f, Event_create(rData));
    // Replacing a frame's event releases the old one.
    EventTimeline_setFrame(rEvents, 1, 1.0f, Event_create(rData));
    Event *tBuffer[8];
    EventList tList = {tBuffer, 0, 8};

    Timeline_apply(&rEvents->mSuper, mSkeleton, 0.25f, 1.1f, &tList, 1.0f);
    ASSERT_EQ(2, tList.mCount);
    EXPECT_EQ(rEvents->mEvents[0], tBuffer[0]);
    EXPECT_EQ(rEvents->mEvents[1], tBuffer[1]);

    tList.mCount = 0;
    Timeline_apply(&rEvents->mSuper, mSkeleton, 0.5f, 0.75f, &tList, 1.0f);
    EXPECT_EQ(1, tList.mCount);
    tList.mCount = 0;
    Timeline_apply(&rEvents->mSuper, mSkeleton, 0.6f, 0.75f, &tList, 1.0f);
    EXPECT_EQ(0, tList.mCount);
    tList.mCount = 0;
    Timeline_apply(&rEvents->mSuper, mSkeleton, 1.9f, 0.6f, &tList, 1.0f);
    ASSERT_EQ(1, tList.mCount);
    EXPECT_EQ(rEvents->mEvents[0], tBuffer[0]);
    // A wrapped pass from before the last key fires it too; the list never overflows.
    EventList tSmall = {tBuffer, 0, 1};
    Timeline_apply(&rEvents->mSuper, mSkeleton, 0.75f, 0.6f, &tSmall, 1.0f);
    EXPECT_EQ(1, tSmall.mCount);
    EXPECT_EQ(rEvents->mEvents[1], tBuffer[0]);
    // No list, nothing collected.
    Timeline_apply(&rEvents->mSuper, mSkeleton, 0.0f, 2.0f, nullptr, 1.0f);
}

TEST_F(SkeletonTimelines, AnimationsLoopByTheirDurationAndIgnoreTimesThatAreNotFinite)
{
    Animation *rSpin = SkeletonData_findAnimation(mSample.mData, "spin");
    ASSERT_NE(nullptr, rSpin);
    Animation_apply(rSpin, mSkeleton, 0.0f, 5.0f, 1, nullptr);
    // Time 5 over a duration of 2 is time 1.
    EXPECT_TRUE(SameAngle(90.0f, mArm->mRotation));
    EXPECT_FLOAT_EQ(10.0f, mArm->mX);
    EXPECT_FLOAT_EQ(-2.0f, mArm->mY);
    Animation_apply(rSpin, mSkeleton, 0.0f, 5.0f, 0, nullptr);
    EXPECT_FLOAT_EQ(15.0f, mArm->mX);
    EXPECT_EQ(nullptr, mSkeleton->mSlots[1]->rAttachment);

    const float cBad[] = {NAN, INFINITY, -INFINITY};
    for(float tBad : cBad)
    {
        Animation_apply(rSpin, mSkeleton, 0.0f, tBad, 1, nullptr);
        Animation_apply(rSpin, mSkeleton, tBad, 0.5f, 1, nullptr);
    }
    EXPECT_FLOAT_EQ(15.0f, mArm->mX);

    // Duration 0: the time is used as it stands.
    Animation *nStill = Animation_create("still", 1);
    CurveTimeline *nTranslate = TranslateTimeline_create(1);
    nTranslate->mIndex = 1;
    TranslateTimeline_setFrame(nTranslate, 0, 0.0f, 1.0f, 1.0f);
    nStill->mTimelines[0] = &nTranslate->mSuper;
    Animation_apply(nStill, mSkeleton, 0.0f, 7.0f, 1, nullptr);
    EXPECT_FLOAT_EQ(6.0f, mArm->mX);
    Animation_dispose(nStill);
}

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "SkeletonFixtures.h"
#include "skeleton/Attachment.h"
#include "skeleton/Skeleton.h"

namespace
{
    const float cTolerance = 1e-4f;

    void ExpectCorners(const float pExpected[8], const float pActual[8])
    {
        for(int32_t i = 0; i < 8; i++) EXPECT_NEAR(pExpected[i], pActual[i], cTolerance) << "value " << i;
    }

    class SkeletonPose : public ::testing::Test
    {
    protected:
        void SetUp() override
        {
            ASSERT_NE(nullptr, mSample.mData);
            mSkeleton = Skeleton_create(mSample.mData);
            ASSERT_NE(nullptr, mSkeleton);
            Skeleton_setToSetupPose(mSkeleton);
            Skeleton_updateWorldTransform(mSkeleton);
        }
        void TearDown() override { Skeleton_dispose(mSkeleton); }

        SampleSkeleton mSample;
        Skeleton *mSkeleton = nullptr;
    };
}

TEST_F(SkeletonPose, TwoBoneChainWorldTransformsWorkedOutByHand)
{
    Bone *rRoot = mSkeleton->rRoot;
    EXPECT_NEAR(0.0f, rRoot->mM00, cTolerance);
    EXPECT_NEAR(-1.0f, rRoot->mM01, cTolerance);
    EXPECT_NEAR(2.0f, rRoot->mM10, cTolerance);
    EXPECT_NEAR(0.0f, rRoot->mM11, cTolerance);
    EXPECT_FLOAT_EQ(10.0f, rRoot->mWorldX);
    EXPECT_FLOAT_EQ(20.0f, rRoot->mWorldY);

    Bone *rArm = Skeleton_findBone(mSkeleton, "arm");
    ASSERT_NE(nullptr, rArm);
    EXPECT_EQ(rRoot, rArm->rParent);
    EXPECT_NEAR(10.0f, rArm->mWorldX, cTolerance);
    EXPECT_NEAR(30.0f, rArm->mWorldY, cTolerance);
    EXPECT_FLOAT_EQ(90.0f, rArm->mWorldRotation);
    EXPECT_FLOAT_EQ(2.0f, rArm->mWorldScaleX);
    EXPECT_FLOAT_EQ(1.0f, rArm->mWorldScaleY);

    // Without inherited rotation the arm keeps its own angle; its place still follows the root.
    mSample.mData->mBones[1]->mInheritRotation = 0;
    mSample.mData->mBones[1]->mInheritScale = 0;
    rArm->mRotation = 30.0f;
    Skeleton_updateWorldTransform(mSkeleton);
    EXPECT_FLOAT_EQ(30.0f, rArm->mWorldRotation);
    EXPECT_FLOAT_EQ(1.0f, rArm->mWorldScaleX);
    EXPECT_NEAR(10.0f, rArm->mWorldX, cTolerance);
    EXPECT_NEAR(30.0f, rArm->mWorldY, cTolerance);

    // Flips: the root's place is mirrored and the matrix rows negated.
    mSkeleton->mFlipX = 1;
    mSkeleton->mFlipY = 1;
    Skeleton_updateWorldTransform(mSkeleton);
    EXPECT_FLOAT_EQ(-10.0f, rRoot->mWorldX);
    EXPECT_FLOAT_EQ(-20.0f, rRoot->mWorldY);
    EXPECT_NEAR(1.0f, rRoot->mM01, cTolerance);
    EXPECT_NEAR(-2.0f, rRoot->mM10, cTolerance);
    // The y-down flag undoes the y flip of the matrix.
    Bone_setYDown(1);
    Skeleton_updateWorldTransform(mSkeleton);
    EXPECT_NEAR(2.0f, rRoot->mM10, cTolerance);
    Bone_setYDown(0);
}

TEST_F(SkeletonPose, RegionCornersInBoneAndWorldSpace)
{
    RegionAttachment *rHead = (RegionAttachment *)Skeleton_getAttachmentForSlotName(mSkeleton, "head", "head");
    ASSERT_NE(nullptr, rHead);
    const float cHead[8] = {-10, -5, -10, 5, 10, 5, 10, -5};
    ExpectCorners(cHead, rHead->mOffset);
    float tWorld[8];
    RegionAttachment_computeWorldVertices(rHead, 0, 0, Skeleton_findBone(mSkeleton, "arm"), tWorld);
    const float cHeadWorld[8] = {15, 10, 5, 10, 5, 50, 15, 50};
    ExpectCorners(cHeadWorld, tWorld);

    // A trimmed region: 10 x 10 of a 20 x 20 picture, offset 5, 5.
    RegionAttachment *rBody = (RegionAttachment *)Skeleton_getAttachmentForSlotName(mSkeleton, "body", "body");
    ASSERT_NE(nullptr, rBody);
    const float cBody[8] = {-5, -5, -5, 5, 5, 5, 5, -5};
    ExpectCorners(cBody, rBody->mOffset);
    RegionAttachment_computeWorldVertices(rBody, 0, 0, mSkeleton->rRoot, tWorld);
    const float cBodyWorld[8] = {15, 10, 5, 10, 5, 30, 15, 30};
    ExpectCorners(cBodyWorld, tWorld);
    rBody->mWidth = 40;
    rBody->mHeight = 40;
    RegionAttachment_updateOffset(rBody);
    const float cBodyLarge[8] = {-10, -10, -10, 10, 10, 10, 10, -10};
    ExpectCorners(cBodyLarge, rBody->mOffset);

    // Turned a quarter.
    rHead->mRotation = 90;
    RegionAttachment_updateOffset(rHead);
    const float cTurned[8] = {5, -10, -5, -10, -5, 10, 5, 10};
    ExpectCorners(cTurned, rHead->mOffset);

    // An untrimmed size of 0 gives a degenerate quad, not infinities.
    rBody->mRegionOriginalWidth = 0;
    rBody->mRegionOriginalHeight = 0;
    RegionAttachment_updateOffset(rBody);
    for(float tValue : rBody->mOffset) EXPECT_TRUE(std::isfinite(tValue));

    // Texture coordinates, plain and rotated.
    RegionAttachment_setUVs(rHead, 0.1f, 0.2f, 0.3f, 0.4f, 0);
    const float cPlain[8] = {0.1f, 0.4f, 0.1f, 0.2f, 0.3f, 0.2f, 0.3f, 0.4f};
    ExpectCorners(cPlain, rHead->mUvs);
    RegionAttachment_setUVs(rHead, 0.1f, 0.2f, 0.3f, 0.4f, 1);
    const float cRotated[8] = {0.3f, 0.4f, 0.1f, 0.4f, 0.1f, 0.2f, 0.3f, 0.2f};
    ExpectCorners(cRotated, rHead->mUvs);
}

TEST_F(SkeletonPose, BoundingBoxVerticesFollowTheBone)
{
    BoundingBoxAttachment *nBox = BoundingBoxAttachment_create("box");
    float tVertices[4] = {1, 0, 0, 1};
    nBox->mVertices = tVertices;
    nBox->mVerticesCount = 4;
    float tWorld[4];
    BoundingBoxAttachment_computeWorldVertices(nBox, 1, 1, mSkeleton->rRoot, tWorld);
    EXPECT_NEAR(11.0f, tWorld[0], cTolerance);
    EXPECT_NEAR(23.0f, tWorld[1], cTolerance);
    EXPECT_NEAR(10.0f, tWorld[2], cTolerance);
    EXPECT_NEAR(21.0f, tWorld[3], cTolerance);
    nBox->mVertices = nullptr;
    nBox->mVerticesCount = 0;
    Attachment_dispose(&nBox->mSuper);
}

TEST_F(SkeletonPose, SetupPoseLookupsAndAttachments)
{
    EXPECT_EQ(1, Skeleton_findSlotIndex(mSkeleton, "head"));
    EXPECT_EQ(-1, Skeleton_findSlotIndex(mSkeleton, "nope"));
    EXPECT_EQ(nullptr, Skeleton_findSlot(mSkeleton, nullptr));
    Slot *rHead = Skeleton_findSlot(mSkeleton, "head");
    EXPECT_FLOAT_EQ(128.0f / 255.0f, rHead->mA);
    EXPECT_STREQ("head", rHead->rAttachment->mName);
    EXPECT_EQ(mSkeleton->mSlots[1], mSkeleton->mDrawOrder[1]);

    EXPECT_EQ(0, Skeleton_setAttachment(mSkeleton, "head", "nope"));
    EXPECT_EQ(0, Skeleton_setAttachment(mSkeleton, "nope", "head"));
    EXPECT_EQ(1, Skeleton_setAttachment(mSkeleton, "head", nullptr));
    EXPECT_EQ(nullptr, rHead->rAttachment);
    EXPECT_EQ(nullptr, Skeleton_getAttachmentForSlotIndex(mSkeleton, -1, "head"));
    EXPECT_EQ(nullptr, Skeleton_getAttachmentForSlotIndex(mSkeleton, 2, "head"));

    rHead->rBone->mX = 99;
    Skeleton_update(mSkeleton, 2.0f);
    Skeleton_setToSetupPose(mSkeleton);
    EXPECT_FLOAT_EQ(5.0f, rHead->rBone->mX);
    EXPECT_STREQ("head", rHead->rAttachment->mName);
    EXPECT_FLOAT_EQ(0.0f, Slot_getAttachmentTime(rHead));
    Skeleton_update(mSkeleton, 0.5f);
    EXPECT_FLOAT_EQ(0.5f, Slot_getAttachmentTime(rHead));
    Slot_setAttachmentTime(rHead, 1.5f);
    EXPECT_FLOAT_EQ(1.5f, Slot_getAttachmentTime(rHead));
}

TEST(SkeletonSkins, SwitchingSkinsSwapsOnlyWhatTheOldSkinShowed)
{
    SampleSkeleton tSample(R"({"bones":[{"name":"root"}],
      "slots":[{"name":"hat","bone":"root","attachment":"head"},{"name":"face","bone":"root","attachment":"body"}],
      "skins":{"default":{"face":{"body":{}}},
               "A":{"hat":{"head":{"width":1}},"face":{"body":{"width":2}}},
               "B":{"hat":{"head":{"width":3}},"face":{"body":{"width":4}}}}})");
    ASSERT_NE(nullptr, tSample.mData) << tSample.mReader->mError;
    Skeleton *nSkeleton = Skeleton_create(tSample.mData);
    Skeleton_setToSetupPose(nSkeleton);
    Slot *rHat = nSkeleton->mSlots[0];
    Slot *rFace = nSkeleton->mSlots[1];
    // No skin: the hat has no default attachment, the face shows the default one.
    EXPECT_EQ(nullptr, rHat->rAttachment);
    Attachment *rDefaultBody = Skin_getAttachment(tSample.mData->rDefaultSkin, 1, "body");
    EXPECT_EQ(rDefaultBody, rFace->rAttachment);

    EXPECT_EQ(1, Skeleton_setSkinByName(nSkeleton, "A"));
    Skeleton_setToSetupPose(nSkeleton);
    Skin *rA = SkeletonData_findSkin(tSample.mData, "A");
    Skin *rB = SkeletonData_findSkin(tSample.mData, "B");
    EXPECT_EQ(Skin_getAttachment(rA, 0, "head"), rHat->rAttachment);
    EXPECT_EQ(Skin_getAttachment(rA, 1, "body"), rFace->rAttachment);

    // The face now shows the default skin's attachment: switching to B leaves it alone.
    Slot_setAttachment(rFace, rDefaultBody);
    EXPECT_EQ(0, Skeleton_setSkinByName(nSkeleton, "C"));
    EXPECT_EQ(rA, nSkeleton->rSkin);
    EXPECT_EQ(1, Skeleton_setSkinByName(nSkeleton, "B"));
    EXPECT_EQ(rB, nSkeleton->rSkin);
    EXPECT_EQ(Skin_getAttachment(rB, 0, "head"), rHat->rAttachment);
    EXPECT_EQ(rDefaultBody, rFace->rAttachment);
    EXPECT_EQ(1, Skeleton_setSkinByName(nSkeleton, nullptr));
    EXPECT_EQ(nullptr, nSkeleton->rSkin);
    Skeleton_dispose(nSkeleton);
}

TEST(SkeletonSkins, SkeletonNeedsBones)
{
    SkeletonData *nData = SkeletonData_create();
    EXPECT_EQ(nullptr, Skeleton_create(nData));
    EXPECT_EQ(nullptr, Skeleton_create(nullptr));
    SkeletonData_dispose(nData);
}

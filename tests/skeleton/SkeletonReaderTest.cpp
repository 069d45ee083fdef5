#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "SkeletonFixtures.h"
#include "support/ScratchFolder.h"
#include "skeleton/Animation.h"
#include "skeleton/Attachment.h"
#include "skeleton/AttachmentLoader.h"
#include "skeleton/Skeleton.h"
#include "skeleton/SkeletonRuntime.h"
#include "support/TestText.h"

namespace
{
    // Every key the reader knows, most away from their defaults, read at scale 2.
    const char *const cEveryKey = R"({
     "bones":[{"name":"root","length":4,"x":1,"y":2,"rotation":30,"ScaleX":0.5,"scaleY":3,"inheritScale":false,"inheritRotation":0},
              {"name":"child","parent":"root"}],
     "slots":[{"name":"a","bone":"root","color":"00ff0040","attachment":"head","additive":1},
              {"name":"b","bone":"child"},
              {"name":"c","bone":"child","color":"ff00ff"}],
     "skins":{"default":{"a":{"head":{"x":1,"y":-1,"scaleX":2,"scaleY":0.5,"rotation":45,"width":10,"height":6},
                              "other":{"name":"body"}},
                         "b":{"box":{"type":"boundingbox","vertices":[1,2,3,4,5]}},
                         "nosuchslot":{"head":{}}},
              "blue":{"a":{"head":{}}}},
     "events":{"hit":{"int":7,"float":1.5,"string":"pow"},"plain":{}},
     "animations":{"all":{
       "bones":{"root":{"rotate":[{"time":0,"angle":10,"curve":"stepped"},{"time":1,"angle":20,"curve":[0.25,0,0.75,1]}],
                        "translate":[{"time":0,"x":1,"y":2,"curve":[0.5,0,1,1]},{"time":3,"x":3,"y":4}],
                        "scale":[{"time":0.5,"x":2,"y":3}]}},
       "slots":{"a":{"color":[{"time":0,"color":"ff0000ff"},{"time":2,"color":"00ff00ff"}],
                     "attachment":[{"time":0,"name":"head"},{"time":1}]}},
       "events":[{"time":0.25,"name":"hit"},{"time":0.75,"name":"plain","int":2,"float":0.5,"string":"s"}],
       "drawOrder":[{"time":0.5,"offsets":[{"slot":"c","offset":-2}]},{"time":1.5}]},
      "empty":{}}})";

    // An atlas that names the regions cEveryKey's skins ask for.
    const char *const cEveryKeyAtlas = "page.png\nformat: RGBA8888\nfilter: Nearest,Nearest\nrepeat: none\n"
                                       "head\nrotate: false\nxy: 0, 0\nsize: 10, 6\norig: 10, 6\noffset: 0, 0\nindex: -1\n"
                                       "body\nrotate: false\nxy: 10, 0\nsize: 4, 4\norig: 4, 4\noffset: 0, 0\nindex: -1\n";

    struct Reader
    {
        explicit Reader(const char *pAtlas = cSampleAtlas, float pScale = 1.0f)
        {
            mAtlas = Atlas_readAtlas(pAtlas, (int32_t)strlen(pAtlas), "");
            mReader = SkeletonJson_create(mAtlas);
            mReader->mScale = pScale;
        }
        ~Reader()
        {
            SkeletonData_dispose(mData);
            SkeletonJson_dispose(mReader);
            Atlas_dispose(mAtlas);
        }
        SkeletonData *Read(const char *pText)
        {
            SkeletonData_dispose(mData);
            mData = SkeletonJson_readSkeletonData(mReader, pText);
            return mData;
        }
        const char *Error() const { return mReader->mError ? mReader->mError : ""; }
        Atlas *mAtlas;
        SkeletonJson *mReader;
        SkeletonData *mData = nullptr;
    };
}

TEST(SkeletonReader, SampleSkeletonReadsBonesSlotsSkinsEventsAndAnimations)
{
    SampleSkeleton tSample;
    SkeletonData *rData = tSample.mData;
    ASSERT_NE(nullptr, rData) << tSample.mReader->mError;
    EXPECT_EQ(nullptr, tSample.mReader->mError);
    ASSERT_EQ(2, rData->mBoneCount);
    EXPECT_EQ(rData->mBones[0], rData->mBones[1]->rParent);
    EXPECT_FLOAT_EQ(2.0f, rData->mBones[0]->mScaleX);
    EXPECT_EQ(1, SkeletonData_findSlotIndex(rData, "head"));
    EXPECT_EQ(-1, SkeletonData_findSlotIndex(rData, "Head"));
    SlotData *rHead = SkeletonData_findSlot(rData, "head");
    EXPECT_FLOAT_EQ(1.0f, rHead->mR);
    EXPECT_FLOAT_EQ(0.0f, rHead->mG);
    EXPECT_FLOAT_EQ(128.0f / 255.0f, rHead->mA);
    EXPECT_STREQ("head", rHead->mAttachmentName);
    ASSERT_NE(nullptr, rData->rDefaultSkin);
    EXPECT_EQ(rData->rDefaultSkin, SkeletonData_findSkin(rData, "default"));
    EXPECT_EQ(3, SkeletonData_findEvent(rData, "step")->mIntValue);
    Animation *rSpin = SkeletonData_findAnimation(rData, "spin");
    ASSERT_NE(nullptr, rSpin);
    EXPECT_FLOAT_EQ(2.0f, rSpin->mDuration);
    EXPECT_EQ(4, rSpin->mTimelineCount);
}

TEST(SkeletonReader, EveryKeyDefaultAndTheScale)
{
    Reader tReader(cEveryKeyAtlas, 2.0f);
    SkeletonData *rData = tReader.Read(cEveryKey);
    ASSERT_NE(nullptr, rData) << tReader.Error();

    BoneData *rRoot = rData->mBones[0];
    EXPECT_FLOAT_EQ(8.0f, rRoot->mLength);
    EXPECT_FLOAT_EQ(2.0f, rRoot->mX);
    EXPECT_FLOAT_EQ(4.0f, rRoot->mY);
    EXPECT_FLOAT_EQ(30.0f, rRoot->mRotation);
    EXPECT_FLOAT_EQ(0.5f, rRoot->mScaleX);
    EXPECT_FLOAT_EQ(3.0f, rRoot->mScaleY);
    EXPECT_EQ(0, rRoot->mInheritScale);
    EXPECT_EQ(0, rRoot->mInheritRotation);
    BoneData *rChild = rData->mBones[1];
    EXPECT_FLOAT_EQ(0.0f, rChild->mLength);
    EXPECT_FLOAT_EQ(0.0f, rChild->mX);
    EXPECT_FLOAT_EQ(1.0f, rChild->mScaleX);
    EXPECT_FLOAT_EQ(1.0f, rChild->mScaleY);
    EXPECT_EQ(1, rChild->mInheritScale);
    EXPECT_EQ(1, rChild->mInheritRotation);

    SlotData *rA = rData->mSlots[0];
    EXPECT_FLOAT_EQ(0.0f, rA->mR);
    EXPECT_FLOAT_EQ(1.0f, rA->mG);
    EXPECT_FLOAT_EQ(64.0f / 255.0f, rA->mA);
    EXPECT_EQ(1, rA->mAdditiveBlending);
    SlotData *rB = rData->mSlots[1];
    EXPECT_FLOAT_EQ(1.0f, rB->mR);
    EXPECT_FLOAT_EQ(1.0f, rB->mA);
    EXPECT_EQ(nullptr, rB->mAttachmentName);
    EXPECT_EQ(0, rB->mAdditiveBlending);
    // Seven characters: every component -1.
    EXPECT_FLOAT_EQ(-1.0f, rData->mSlots[2]->mR);
    EXPECT_FLOAT_EQ(-1.0f, rData->mSlots[2]->mA);

    ASSERT_EQ(2, rData->mSkinCount);
    Skin *rDefault = rData->rDefaultSkin;
    RegionAttachment *rHead = (RegionAttachment *)Skin_getAttachment(rDefault, 0, "head");
    ASSERT_NE(nullptr, rHead);
    EXPECT_FLOAT_EQ(2.0f, rHead->mX);
    EXPECT_FLOAT_EQ(-2.0f, rHead->mY);
    EXPECT_FLOAT_EQ(2.0f, rHead->mScaleX);
    EXPECT_FLOAT_EQ(0.5f, rHead->mScaleY);
    EXPECT_FLOAT_EQ(45.0f, rHead->mRotation);
    EXPECT_FLOAT_EQ(20.0f, rHead->mWidth);
    EXPECT_FLOAT_EQ(12.0f, rHead->mHeight);
    // "name" picks the region, the key names the entry; size defaults to 32, scaled.
    RegionAttachment *rOther = (RegionAttachment *)Skin_getAttachment(rDefault, 0, "other");
    ASSERT_NE(nullptr, rOther);
    EXPECT_STREQ("body", rOther->mSuper.mName);
    EXPECT_FLOAT_EQ(64.0f, rOther->mWidth);
    EXPECT_FLOAT_EQ(1.0f, rOther->mScaleX);
    // Entries are listed last-added first.
    EXPECT_STREQ("other", Skin_getAttachmentName(rDefault, 0, 0));
    EXPECT_STREQ("head", Skin_getAttachmentName(rDefault, 0, 1));
    EXPECT_EQ(nullptr, Skin_getAttachmentName(rDefault, 0, 2));
    // Bounding box vertices are scaled and read in pairs.
    BoundingBoxAttachment *rBox = (BoundingBoxAttachment *)Skin_getAttachment(rDefault, 1, "box");
    ASSERT_NE(nullptr, rBox);
    EXPECT_EQ(ATTACHMENT_BOUNDING_BOX, rBox->mSuper.mType);
    ASSERT_EQ(4, rBox->mVerticesCount);
    EXPECT_FLOAT_EQ(2.0f, rBox->mVertices[0]);
    EXPECT_FLOAT_EQ(8.0f, rBox->mVertices[3]);

    EventData *rHit = SkeletonData_findEvent(rData, "hit");
    EXPECT_EQ(7, rHit->mIntValue);
    EXPECT_FLOAT_EQ(1.5f, rHit->mFloatValue);
    EXPECT_STREQ("pow", rHit->mStringValue);
    EventData *rPlain = SkeletonData_findEvent(rData, "plain");
    EXPECT_EQ(0, rPlain->mIntValue);
    EXPECT_EQ(nullptr, rPlain->mStringValue);

    Animation *rAll = SkeletonData_findAnimation(rData, "all");
    ASSERT_NE(nullptr, rAll);
    EXPECT_EQ(7, rAll->mTimelineCount);
    EXPECT_FLOAT_EQ(3.0f, rAll->mDuration);
    CurveTimeline *rRotate = (CurveTimeline *)rAll->mTimelines[0];
    EXPECT_EQ(CURVE_STEPPED, rRotate->mCurves[0]);
    EXPECT_EQ(1, rRotate->mSegmentCount);
    CurveTimeline *rTranslate = (CurveTimeline *)rAll->mTimelines[1];
    EXPECT_FLOAT_EQ(2.0f, rTranslate->mFrames[1]);
    EXPECT_FLOAT_EQ(8.0f, rTranslate->mFrames[5]);
    EXPECT_NE(0.0f, rTranslate->mCurves[0]);
    // Scale keys are not scaled.
    CurveTimeline *rScale = (CurveTimeline *)rAll->mTimelines[2];
    EXPECT_FLOAT_EQ(2.0f, rScale->mFrames[1]);
    EventTimeline *rEvents = (EventTimeline *)rAll->mTimelines[5];
    EXPECT_EQ(7, rEvents->mEvents[0]->mIntValue);
    EXPECT_STREQ("pow", rEvents->mEvents[0]->mStringValue);
    EXPECT_EQ(2, rEvents->mEvents[1]->mIntValue);
    EXPECT_STREQ("s", rEvents->mEvents[1]->mStringValue);
    AttachmentTimeline *rAttach = (AttachmentTimeline *)rAll->mTimelines[4];
    EXPECT_STREQ("head", rAttach->mAttachmentNames[0]);
    EXPECT_EQ(nullptr, rAttach->mAttachmentNames[1]);
    DrawOrderTimeline *rOrder = (DrawOrderTimeline *)rAll->mTimelines[6];
    ASSERT_NE(nullptr, rOrder->mDrawOrders[0]);
    EXPECT_EQ(2, rOrder->mDrawOrders[0][0]);
    EXPECT_EQ(0, rOrder->mDrawOrders[0][1]);
    EXPECT_EQ(1, rOrder->mDrawOrders[0][2]);
    EXPECT_EQ(nullptr, rOrder->mDrawOrders[1]);

    Animation *rEmpty = SkeletonData_findAnimation(rData, "empty");
    ASSERT_NE(nullptr, rEmpty);
    EXPECT_EQ(0, rEmpty->mTimelineCount);
    EXPECT_FLOAT_EQ(0.0f, rEmpty->mDuration);
}

TEST(SkeletonReader, DrawOrderOffsetsOverFourSlots)
{
    Reader tReader;
    SkeletonData *rData = tReader.Read(R"({"bones":[{"name":"r"}],
      "slots":[{"name":"s0","bone":"r"},{"name":"s1","bone":"r"},{"name":"s2","bone":"r"},{"name":"s3","bone":"r"}],
      "animations":{"a":{"draworder":[{"time":0,"offsets":[{"slot":"s2","offset":-2}]},
                                      {"time":1,"offsets":[{"slot":"s0","offset":3},{"slot":"s1","offset":1}]}]}}})");
    ASSERT_NE(nullptr, rData) << tReader.Error();
    DrawOrderTimeline *rOrder = (DrawOrderTimeline *)rData->mAnimations[0]->mTimelines[0];
    const int32_t cFirst[4] = {2, 0, 1, 3};
    const int32_t cSecond[4] = {2, 3, 1, 0};
    for(int32_t i = 0; i < 4; i++)
    {
        EXPECT_EQ(cFirst[i], rOrder->mDrawOrders[0][i]) << i;
        EXPECT_EQ(cSecond[i], rOrder->mDrawOrders[1][i]) << i;
    }
}

TEST(SkeletonReader, BrokenSetupFailsWithItsMessage)
{
    struct Case
    {
        const char *mText;
        const char *mError;
    };
    const Case cCases[] = {
        {"{\"bones\": [", "Invalid skeleton JSON: "},
        {"{}", "Skeleton has no bones"},
        {"{\"bones\": []}", "Skeleton has no bones"},
        {"{\"bones\": 5}", "Skeleton has no bones"},
        {R"({"bones":[{"name":"a","parent":"b"},{"name":"b"}]})", "Parent bone not found: b"},
        {R"({"bones":[{"name":"a","parent":7}]})", "Parent bone not found: "},
        {R"({"bones":[{"x":1}]})", "Bone has no name: "},
        {R"({"bones":[{"name":3}]})", "Bone has no name: "},
        {R"({"bones":[{"name":"a"}],"slots":[{"name":"s"}]})", "Slot bone not found: "},
        {R"({"bones":[{"name":"a"}],"slots":[{"name":"s","bone":"zz"}]})", "Slot bone not found: zz"},
        {R"({"bones":[{"name":"a"}],"slots":[{"bone":"a"}]})", "Slot has no name: "},
        {R"({"bones":[{"name":"a"}],"slots":[{"name":"s","bone":"a"}],"skins":{"default":{"s":{"x":{"type":"regionsequence"}}}}})",
         "Unknown attachment type: 1"},
        {R"({"bones":[{"name":"a"}],"slots":[{"name":"s","bone":"a"}],"skins":{"default":{"s":{"x":{"type":"mesh"}}}}})",
         "Unknown attachment type: mesh"},
        {R"({"bones":[{"name":"a"}],"slots":[{"name":"s","bone":"a"}],"skins":{"default":{"s":{"x":{"type":4}}}}})",
         "Unknown attachment type: "},
        {R"({"bones":[{"name":"a"}],"slots":[{"name":"s","bone":"a"}],"skins":{"default":{"s":{"missing":{}}}}})",
         "Region not found: missing"},
    };
    for(const Case &rCase : cCases)
    {
        Reader tReader;
        EXPECT_EQ(nullptr, tReader.Read(rCase.mText)) << rCase.mText;
        EXPECT_EQ(0, strncmp(rCase.mError, tReader.Error(), strlen(rCase.mError))) << rCase.mText << " -> " << tReader.Error();
        if(strchr(rCase.mError, ':') && rCase.mError[strlen(rCase.mError) - 1] != ' ')
        {
            EXPECT_STREQ(rCase.mError, tReader.Error());
        }
    }

    Reader tAt;
    tAt.Read("{\"bones\": [1 2]}");
    EXPECT_STREQ("Invalid skeleton JSON: 2]}", tAt.Error());

    // A later good read clears the old error.
    Reader tAgain;
    tAgain.Read("{}");
    ASSERT_NE(nullptr, tAgain.Read(cSampleSkeleton));
    EXPECT_EQ(nullptr, tAgain.mReader->mError);
}

TEST(SkeletonReader, BadAnimationsAreLeftOutAndTheRestIsKept)
{
    struct Case
    {
        const char *mAnimation;
        const char *mError;
    };
    const Case cCases[] = {
        {R"({"bones":{"nobone":{"rotate":[{"time":0}]}}})", "Bone not found: nobone"},
        {R"({"bones":{"root":{"shear":[{"time":0}]}}})", "Invalid timeline type for a bone: shear"},
        {R"({"slots":{"noslot":{"color":[{"time":0}]}}})", "Slot not found: noslot"},
        {R"({"slots":{"body":{"flash":[{"time":0}]}}})", "Invalid timeline type for a slot: flash"},
        {R"({"events":[{"time":0,"name":"nope"}]})", "Event not found: nope"},
        {R"({"events":[{"time":0}]})", "Event not found: "},
        {R"({"draworder":[{"time":0,"offsets":[{"slot":"nope"}]}]})", "Slot not found: nope"},
        {R"({"draworder":[{"time":0,"offsets":[{"offset":1}]}]})", "Slot not found: "},
        {R"({"draworder":[{"time":0,"offsets":[{"slot":"head","offset":5}]}]})", "Invalid draw order offset for slot: head"},
        {R"({"draworder":[{"time":0,"offsets":[{"slot":"body","offset":-1}]}]})", "Invalid draw order offset for slot: body"},
        {R"({"draworder":[{"time":0,"offsets":[{"slot":"head","offset":-1},{"slot":"body"}]}]})",
         "Invalid draw order offset for slot: body"},
        {R"({"draworder":[{"time":0,"offsets":[{"slot":"body","offset":1},{"slot":"head","offset":0}]}]})",
         "Invalid draw order offset for slot: head"},
    };
    for(const Case &rCase : cCases)
    {
        char tText[2048];
        snprintf(tText, sizeof(tText),
                 R"({"bones":[{"name":"root"}],"slots":[{"name":"body","bone":"root"},{"name":"head","bone":"root"}],
                    "animations":{"good":{"bones":{"root":{"rotate":[{"time":0,"angle":1}]}}},"bad":%s,"later":{}}})",
                 rCase.mAnimation);
        Reader tReader;
        testing::internal::CaptureStderr();
        SkeletonData *rData = tReader.Read(tText);
        const std::string tErr = CapturedStderr();
        EXPECT_NE(tErr.find("SkeletonJson: skeleton text: animation bad cannot be read (" + std::string(rCase.mError) + "), dropped\n"),
                  std::string::npos)
            << tErr;
        ASSERT_NE(nullptr, rData) << rCase.mAnimation;
        EXPECT_STREQ(rCase.mError, tReader.Error()) << rCase.mAnimation;
        EXPECT_EQ(2, rData->mAnimationCount);
        EXPECT_NE(nullptr, SkeletonData_findAnimation(rData, "good"));
        EXPECT_NE(nullptr, SkeletonData_findAnimation(rData, "later"));
        EXPECT_EQ(nullptr, SkeletonData_findAnimation(rData, "bad"));
    }

    // Read from a file, the line names the file.
    Reader tReader;
    ScratchFolder tDir{"skeleton"};
    ASSERT_TRUE(tDir.WriteText("walker.json", R"({"bones":[{"name":"root"}],"animations":{"walk":{"bones":{"hip":{"rotate":[]}}}}})"));
    const std::string tPath = tDir.File("walker.json");
    testing::internal::CaptureStderr();
    SkeletonData *nData = SkeletonJson_readSkeletonDataFile(tReader.mReader, tPath.c_str());
    EXPECT_EQ("SkeletonJson: " + tPath + ": animation walk cannot be read (Bone not found: hip), dropped\n", CapturedStderr());
    ASSERT_NE(nullptr, nData);
    EXPECT_EQ(0, nData->mAnimationCount);
    SkeletonData_dispose(nData);
}

TEST(SkeletonReader, OddInputThatOnceCrashedReadsSafely)
{
    Reader tReader;
    // Empty key-frame arrays, a curve on the last frame, short curve arrays, a colour frame
    // without a colour, a bounding box without vertices, an attachment frame without a name and
    // a skin entry under a slot that does not exist.
    SkeletonData *rData = tReader.Read(R"({"bones":[{"name":"root"}],
      "slots":[{"name":"s","bone":"root","color":12}],
      "skins":{"default":{"s":{"box":{"type":"boundingbox"}},"ghost":{"head":{}}}},
      "animations":{"a":{"bones":{"root":{"rotate":[],"translate":[{"time":1,"x":1,"curve":[0.1,0.2,0.3,0.4]}],
                                          "scale":[{"time":0,"curve":[1,2]},{"time":1,"curve":"stepped"}]}},
                         "slots":{"s":{"color":[{"time":0}],"attachment":[{"time":0}, {"time":1,"name":5}]}},
                         "events":[],"draworder":[]}}})");
    ASSERT_NE(nullptr, rData) << tReader.Error();
    EXPECT_EQ(nullptr, tReader.mReader->mError);
    EXPECT_FLOAT_EQ(1.0f, rData->mSlots[0]->mR);
    BoundingBoxAttachment *rBox = (BoundingBoxAttachment *)Skin_getAttachment(rData->rDefaultSkin, 0, "box");
    ASSERT_NE(nullptr, rBox);
    EXPECT_EQ(0, rBox->mVerticesCount);
    EXPECT_EQ(nullptr, Skin_getAttachment(rData->rDefaultSkin, -1, "head"));
    Animation *rAnimation = rData->mAnimations[0];
    // Rotate, events and draw order had no key frames and were not made.
    EXPECT_EQ(4, rAnimation->mTimelineCount);
    EXPECT_FLOAT_EQ(1.0f, rAnimation->mDuration);
    CurveTimeline *rScale = (CurveTimeline *)rAnimation->mTimelines[1];
    EXPECT_EQ(CURVE_LINEAR, rScale->mCurves[0]);
    CurveTimeline *rColour = (CurveTimeline *)rAnimation->mTimelines[2];
    EXPECT_FLOAT_EQ(-1.0f, rColour->mFrames[1]);
}

TEST(SkeletonReader, SetupNumbersNotFiniteAndSkinsForMissingSlotsAreDroppedAndNamed)
{
    Reader tReader;
    ScratchFolder tDir{"skeleton"};
    ASSERT_TRUE(tDir.WriteText("bad.json", R"({"bones":[{"name":"root","x":1e39,"y":3,"rotation":-1e40},
                                                     {"name":"arm","parent":"root","scaleX":1e39}],
      "slots":[{"name":"s","bone":"arm","attachment":"head"},{"name":"t","bone":"root"}],
      "skins":{"default":{"s":{"head":{"x":2,"width":1e39}},"t":{"box":{"type":"boundingbox","vertices":[1,-1e39,3,4]}},
                          "ghost":{"head":{}}},
               "other":[{"head":{}}]}})"));
    const std::string tPath = tDir.File("bad.json");
    testing::internal::CaptureStderr();
    SkeletonData *nData = SkeletonJson_readSkeletonDataFile(tReader.mReader, tPath.c_str());
    const std::string tErr = CapturedStderr();
    ASSERT_NE(nullptr, nData) << tReader.Error();
    const std::string tPrefix = "SkeletonJson: " + tPath + ": ";
    EXPECT_EQ(tPrefix + "bone root has x not finite, dropped\n" + tPrefix + "bone root has rotation not finite, dropped\n" + tPrefix +
                  "bone arm has scaleX not finite, dropped\n" + tPrefix + "attachment head has width not finite, dropped\n" +
                  tPrefix + "attachment box has vertices not finite, dropped\n" + tPrefix +
                  "skin default names no slot ghost, its entries dropped\n" + tPrefix + "skin other names no slot , its entries dropped\n",
              tErr);
    EXPECT_EQ(0.0f, nData->mBones[0]->mX);
    EXPECT_EQ(3.0f, nData->mBones[0]->mY);
    EXPECT_EQ(0.0f, nData->mBones[0]->mRotation);
    EXPECT_EQ(1.0f, nData->mBones[1]->mScaleX);
    RegionAttachment *rHead = (RegionAttachment *)Skin_getAttachment(nData->rDefaultSkin, 0, "head");
    ASSERT_NE(nullptr, rHead);
    EXPECT_EQ(2.0f, rHead->mX);
    EXPECT_EQ(32.0f, rHead->mWidth);
    BoundingBoxAttachment *rBox = (BoundingBoxAttachment *)Skin_getAttachment(nData->rDefaultSkin, 1, "box");
    ASSERT_NE(nullptr, rBox);
    EXPECT_EQ(0.0f, rBox->mVertices[1]);
    EXPECT_EQ(3.0f, rBox->mVertices[2]);

    // Posed, the region's corners are all numbers.
    Skeleton *nSkeleton = Skeleton_create(nData);
    ASSERT_NE(nullptr, nSkeleton);
    Skeleton_setToSetupPose(nSkeleton);
    Skeleton_updateWorldTransform(nSkeleton);
    float tCorners[8];
    RegionAttachment_computeWorldVertices(rHead, 0.0f, 0.0f, nSkeleton->mSlots[0]->rBone, tCorners);
    for(float tCorner : tCorners) EXPECT_TRUE(std::isfinite(tCorner));
    Skeleton_dispose(nSkeleton);
    SkeletonData_dispose(nData);

    // Text read without a file is named as such.
    testing::internal::CaptureStderr();
    EXPECT_NE(nullptr, tReader.Read(R"({"bones":[{"name":"root","length":-1e39}]})"));
    EXPECT_EQ("SkeletonJson: skeleton text: bone root has length not finite, dropped\n", CapturedStderr());
}

// Key frames and curves of 1e400 (infinite), a bone and a key a hundred quintillion units out,
// and a skins section renamed away: each is named, the frame or curve dropped, the number put back
// to its default, and what is left poses to numbers.
TEST(SkeletonReader, AbsurdAnimationNumbersAndMissingSkinsAreDroppedAndNamed)
{
    Reader tReader;
    testing::internal::CaptureStderr();
    SkeletonData *rData = tReader.Read(R"({"bones":[{"name":"root","x":1e20,"y":5}],
      "slots":[{"name":"s","bone":"root","attachment":"head"}],
      "skin":{"default":{"s":{"head":{}}}},
      "animations":{"walk":{
        "bones":{"root":{"rotate":[{"time":0,"angle":10,"curve":[0.25,1e400,0.75,1]},{"time":1e400,"angle":20},{"time":1,"angle":30}],
                         "translate":[{"time":0,"x":1e20,"y":2},{"time":2,"x":4}]}},
        "slots":{"s":{"attachment":[{"time":-1e400,"name":null},{"time":0.5,"name":"head"}]}}}}})");
    const std::string tErr = CapturedStderr();
    ASSERT_NE(nullptr, rData) << tReader.Error();
    const std::string tPrefix = "SkeletonJson: skeleton text: ";
    EXPECT_EQ(tPrefix + "bone root has x out of range, dropped\n" + tPrefix +
                  "no skins, so none of its 1 slots shows anything\n" + tPrefix +
                  "animation walk, bone root rotate key 1 has time not finite, dropped\n" + tPrefix +
                  "animation walk, bone root rotate key 0 has curve not finite, dropped\n" + tPrefix +
                  "animation walk, bone root translate key 0 has x out of range, dropped\n" + tPrefix +
                  "animation walk, slot s attachment key 0 has time not finite, dropped\n",
              tErr);
    EXPECT_EQ(0.0f, rData->mBones[0]->mX);
    EXPECT_EQ(5.0f, rData->mBones[0]->mY);
    ASSERT_EQ(1, rData->mAnimationCount);
    Animation *rWalk = rData->mAnimations[0];
    ASSERT_EQ(3, rWalk->mTimelineCount);
    EXPECT_FLOAT_EQ(2.0f, rWalk->mDuration);
    CurveTimeline *rRotate = (CurveTimeline *)rWalk->mTimelines[0];
    ASSERT_EQ(4, rRotate->mFramesLength);
    EXPECT_EQ(1.0f, rRotate->mFrames[2]);
    EXPECT_EQ(30.0f, rRotate->mFrames[3]);
    EXPECT_EQ(CURVE_LINEAR, rRotate->mCurves[0]);
    CurveTimeline *rTranslate = (CurveTimeline *)rWalk->mTimelines[1];
    EXPECT_EQ(0.0f, rTranslate->mFrames[1]);
    EXPECT_EQ(2.0f, rTranslate->mFrames[2]);
    AttachmentTimeline *rShow = (AttachmentTimeline *)rWalk->mTimelines[2];
    ASSERT_EQ(1, rShow->mFrameCount);
    EXPECT_EQ(0.5f, rShow->mFrames[0]);

    Skeleton *nSkeleton = Skeleton_create(rData);
    ASSERT_NE(nullptr, nSkeleton);
    for(float tTime : {0.0f, 0.5f, 1.5f, 3.0f})
    {
        Animation_apply(rWalk, nSkeleton, 0.0f, tTime, 0, nullptr);
        Skeleton_updateWorldTransform(nSkeleton);
        EXPECT_TRUE(std::isfinite(nSkeleton->mBones[0]->mWorldX) && std::isfinite(nSkeleton->mBones[0]->mM00)) << tTime;
    }
    Skeleton_dispose(nSkeleton);
}

TEST(SkeletonReader, MissingFileAndFileReading)
{
    Reader tReader;
    EXPECT_EQ(nullptr, SkeletonJson_readSkeletonDataFile(tReader.mReader, "/nonexistent/skeleton.json"));
    EXPECT_STREQ("Unable to read skeleton file: /nonexistent/skeleton.json", tReader.Error());

    ScratchFolder tDir{"skeleton"};
    ASSERT_TRUE(tDir.WriteText("s.json", cSampleSkeleton));
    SkeletonData *nData = SkeletonJson_readSkeletonDataFile(tReader.mReader, tDir.File("s.json").c_str());
    ASSERT_NE(nullptr, nData);
    EXPECT_EQ(2, nData->mSlotCount);
    SkeletonData_dispose(nData);
}

TEST(SkeletonReader, ColourComponentsAreStrictHexPairs)
{
    EXPECT_FLOAT_EQ(1.0f, SkeletonJson_colorComponent("ff000080", 0));
    EXPECT_FLOAT_EQ(128.0f / 255.0f, SkeletonJson_colorComponent("ff000080", 3));
    EXPECT_FLOAT_EQ(171.0f / 255.0f, SkeletonJson_colorComponent("00AB0000", 1));
    EXPECT_FLOAT_EQ(-1.0f, SkeletonJson_colorComponent("ff00008", 0));
    EXPECT_FLOAT_EQ(-1.0f, SkeletonJson_colorComponent("ff0000800", 0));
    EXPECT_FLOAT_EQ(-1.0f, SkeletonJson_colorComponent(nullptr, 0));
    // Signs, blanks and non-hex are bad pairs; only that component is -1.
    EXPECT_FLOAT_EQ(-1.0f, SkeletonJson_colorComponent("-1000000", 0));
    EXPECT_FLOAT_EQ(-1.0f, SkeletonJson_colorComponent("00 f0000", 1));
    EXPECT_FLOAT_EQ(-1.0f, SkeletonJson_colorComponent("0000+f00", 2));
    EXPECT_FLOAT_EQ(0.0f, SkeletonJson_colorComponent("0000+f00", 3));
    EXPECT_FLOAT_EQ(-1.0f, SkeletonJson_colorComponent("zz000000", 0));
}

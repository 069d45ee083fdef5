#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "SkeletonFixtures.h"
#include "support/ScratchFolder.h"
#include "skeleton/Atlas.h"
#include "skeleton/Attachment.h"
#include "skeleton/AttachmentLoader.h"
#include "skeleton/SkeletonRuntime.h"
#include "support/TestText.h"

namespace
{
    Atlas *Read(const char *pText, const char *pDirectory = "")
    {
        return Atlas_readAtlas(pText, (int32_t)strlen(pText), pDirectory);
    }

    const char *const cPageHeader = "page.png\nformat: RGBA8888\nfilter: Linear,Linear\nrepeat: none\n";
}

TEST(SkeletonAtlas, SampleAtlasPagesAndRegions)
{
    Atlas *nAtlas = Read(cSampleAtlas);
    ASSERT_NE(nullptr, nAtlas);
    AtlasPage *rPage = nAtlas->mPages;
    ASSERT_NE(nullptr, rPage);
    EXPECT_EQ(nullptr, rPage->mNext);
    EXPECT_STREQ("test.png", rPage->mName);
    EXPECT_EQ(6, rPage->mFormat);
    EXPECT_EQ(1, rPage->mMinFilter);
    EXPECT_EQ(1, rPage->mMagFilter);
    EXPECT_EQ(0, rPage->mUWrap);
    EXPECT_EQ(0, rPage->mVWrap);
    EXPECT_EQ(123, rPage->mWidth);
    EXPECT_EQ(456, rPage->mHeight);

    AtlasRegion *rHead = Atlas_findRegion(nAtlas, "head");
    ASSERT_NE(nullptr, rHead);
    EXPECT_EQ(rPage, rHead->rPage);
    EXPECT_EQ(0, rHead->mRotate);
    EXPECT_EQ(2, rHead->mX);
    EXPECT_EQ(4, rHead->mY);
    EXPECT_EQ(20, rHead->mWidth);
    EXPECT_EQ(10, rHead->mHeight);
    EXPECT_FLOAT_EQ(2.0f / 123.0f, rHead->mU);
    EXPECT_FLOAT_EQ(4.0f / 456.0f, rHead->mV);
    EXPECT_FLOAT_EQ(22.0f / 123.0f, rHead->mUMax);
    EXPECT_FLOAT_EQ(14.0f / 456.0f, rHead->mVMax);
    EXPECT_EQ(-1, rHead->mIndex);
    EXPECT_EQ(nullptr, rHead->mSplits);

    AtlasRegion *rBody = Atlas_findRegion(nAtlas, "body");
    ASSERT_NE(nullptr, rBody);
    EXPECT_EQ(rBody, rHead->mNext);
    EXPECT_EQ(20, rBody->mOriginalWidth);
    EXPECT_EQ(20, rBody->mOriginalHeight);
    EXPECT_EQ(5, rBody->mOffsetX);
    EXPECT_EQ(5, rBody->mOffsetY);
    EXPECT_EQ(nullptr, Atlas_findRegion(nAtlas, "Head"));
    Atlas_dispose(nAtlas);
}

TEST(SkeletonAtlas, NamesWrapsRotationSplitsPadsAndCarriageReturns)
{
    const char *cText = "a.png\r\nformat: MipMap\r\nfilter: MipMap, Nearest\r\nrepeat: xy\r\n"
                        "r1\r\n rotate: true\r\n xy: 10, 20\r\n size: 30, 40\r\n split: 1, 2, 3, 4\r\n pad: 5, 6, 7, 8\r\n"
                        " orig: 50, 60\r\n offset: 1, 2\r\n index: 3\r\n"
                        "r2\r\n rotate:\r\n xy: 0, 0\r\n size: 1, 1\r\n split: 9, 9, 9, 9\r\n orig: 2, 2\r\n offset: 0, 0\r\n index: 0\r\n"
                        "\r\n"
                        "b.png\nformat: Alpha\nfilter: Linear,Linear\nrepeat: y\n"
                        "r3\nrotate: false\nxy: 0, 0\nsize: 4, 4\norig: 4, 4\noffset: 0, 0\nindex: 7\n"
                        "\n"
                        "c.png\nformat: Unknown\nfilter: Linear,Linear\nrepeat: both\n";
    Atlas *nAtlas = Read(cText);
    ASSERT_NE(nullptr, nAtlas);
    AtlasPage *rA = nAtlas->mPages;
    // "MipMap" matches the last name it begins: index 6.
    EXPECT_STREQ("a.png", rA->mName);
    EXPECT_EQ(-1, rA->mFormat);
    EXPECT_EQ(6, rA->mMinFilter);
    EXPECT_EQ(0, rA->mMagFilter);
    EXPECT_EQ(2, rA->mUWrap);
    EXPECT_EQ(1, rA->mVWrap);
    AtlasPage *rB = rA->mNext;
    ASSERT_NE(nullptr, rB);
    EXPECT_EQ(0, rB->mFormat);
    EXPECT_EQ(1, rB->mUWrap);
    EXPECT_EQ(2, rB->mVWrap);
    AtlasPage *rC = rB->mNext;
    ASSERT_NE(nullptr, rC);
    EXPECT_EQ(-1, rC->mFormat);
    EXPECT_EQ(2, rC->mUWrap);
    EXPECT_EQ(2, rC->mVWrap);

    AtlasRegion *r1 = Atlas_findRegion(nAtlas, "r1");
    ASSERT_NE(nullptr, r1);
    EXPECT_EQ(1, r1->mRotate);
    EXPECT_FLOAT_EQ((10.0f + 40.0f) / 123.0f, r1->mUMax);
    EXPECT_FLOAT_EQ((20.0f + 30.0f) / 456.0f, r1->mVMax);
    ASSERT_NE(nullptr, r1->mSplits);
    ASSERT_NE(nullptr, r1->mPads);
    EXPECT_EQ(4, r1->mSplits[3]);
    EXPECT_EQ(5, r1->mPads[0]);
    EXPECT_EQ(50, r1->mOriginalWidth);
    EXPECT_EQ(60, r1->mOriginalHeight);
    EXPECT_EQ(1, r1->mOffsetX);
    EXPECT_EQ(2, r1->mOffsetY);
    EXPECT_EQ(3, r1->mIndex);
    // An empty rotate value counts as true; splits without pads take the next tuple as orig.
    AtlasRegion *r2 = Atlas_findRegion(nAtlas, "r2");
    ASSERT_NE(nullptr, r2);
    EXPECT_EQ(1, r2->mRotate);
    ASSERT_NE(nullptr, r2->mSplits);
    EXPECT_EQ(nullptr, r2->mPads);
    EXPECT_EQ(2, r2->mOriginalWidth);
    EXPECT_EQ(rB, Atlas_findRegion(nAtlas, "r3")->rPage);
    Atlas_dispose(nAtlas);
}

TEST(SkeletonAtlas, BadOrigAndOffsetTuplesFallBackInsteadOfKeepingOldValues)
{
    char tText[512];
    snprintf(tText, sizeof(tText), "%sr\nrotate: false\nxy: 1, 2\nsize: 8, 6\norig: none\noffset: bad\nindex: 0\n", cPageHeader);
    Atlas *nAtlas = Read(tText);
    ASSERT_NE(nullptr, nAtlas);
    AtlasRegion *rRegion = nAtlas->mRegions;
    EXPECT_EQ(8, rRegion->mOriginalWidth);
    EXPECT_EQ(6, rRegion->mOriginalHeight);
    EXPECT_EQ(0, rRegion->mOffsetX);
    EXPECT_EQ(0, rRegion->mOffsetY);
    Atlas_dispose(nAtlas);
}

// Region numbers of 1e20, inf, NaN or past the coordinate limit are named with the atlas and the
// region and read as their defaults; the region and the ones after it still read.
TEST(SkeletonAtlas, RegionNumbersThatAreNotWholeOrInRangeAreNamedAndPutBack)
{
    std::string tText = std::string(cPageHeader) +
                        "r\nrotate: false\nxy: 1e20, 5\nsize: 10, inf\norig: NaN, 99999999999\noffset: 2147483648, -3\nindex: 1e20\n"
                        "next\nrotate: false\nxy: 1, 2\nsize: 3, 4\norig: 3, 4\noffset: 0, 0\nindex: -1\n";
    testing::internal::CaptureStderr();
    Atlas *nAtlas = Read(tText.c_str());
    EXPECT_EQ("Atlas: atlas text: region r has xy 1e20, not a whole number, read as 0\n"
              "Atlas: atlas text: region r has size inf, not a whole number, read as 0\n"
              "Atlas: atlas text: region r has orig NaN, not a whole number, read as 10\n"
              "Atlas: atlas text: region r has orig 99999999999, out of range, read as 0\n"
              "Atlas: atlas text: region r has offset 2147483648, out of range, read as 0\n"
              "Atlas: atlas text: region r has index 1e20, not a whole number, read as -1\n",
              CapturedStderr());
    ASSERT_NE(nullptr, nAtlas);
    AtlasRegion *rRegion = Atlas_findRegion(nAtlas, "r");
    ASSERT_NE(nullptr, rRegion);
    EXPECT_EQ(0, rRegion->mX);
    EXPECT_EQ(5, rRegion->mY);
    EXPECT_EQ(10, rRegion->mWidth);
    EXPECT_EQ(0, rRegion->mHeight);
    EXPECT_EQ(10, rRegion->mOriginalWidth);
    EXPECT_EQ(0, rRegion->mOriginalHeight);
    EXPECT_EQ(0, rRegion->mOffsetX);
    EXPECT_EQ(-3, rRegion->mOffsetY);
    EXPECT_EQ(-1, rRegion->mIndex);
    ASSERT_NE(nullptr, Atlas_findRegion(nAtlas, "next"));
    EXPECT_EQ(2, Atlas_findRegion(nAtlas, "next")->mY);
    Atlas_dispose(nAtlas);

    // Read from a file, the messages name the file.
    ScratchFolder tDir{"skeleton"};
    ASSERT_TRUE(tDir.WriteText("bad.atlas", tText.c_str()));
    testing::internal::CaptureStderr();
    nAtlas = Atlas_readAtlasFile(tDir.File("bad.atlas").c_str());
    const std::string tErr = CapturedStderr();
    EXPECT_EQ(0u, tErr.find(std::string("Atlas: ") + tDir.File("bad.atlas") + ": region r has xy 1e20")) << tErr;
    Atlas_dispose(nAtlas);
}

TEST(SkeletonAtlas, MalformedTextFailsAsAWhole)
{
    const char *cBroken[] = {
        "page.png\n",
        "page.png\nformat RGBA8888\nfilter: Linear,Linear\nrepeat: none\n",
        "page.png\nformat: RGBA8888\nfilter: Linear\nrepeat: none\n",
        "page.png\nformat: RGBA8888\nfilter: Linear,Linear\n",
        // A page "size:" line before the format shifts every line after it.
        "page.png\nsize: 64, 64\nformat: RGBA8888\nfilter: Linear,Linear\nrepeat: none\n",
        "page.png\nformat: RGBA8888\nfilter: Linear,Linear\nrepeat: none\nr\nrotate: false\nxy: 1, 2, 3\nsize: 1, 1\norig: 1, 1\noffset: 0, 0\nindex: 0\n",
        "page.png\nformat: RGBA8888\nfilter: Linear,Linear\nrepeat: none\nr\nrotate: false\nxy: 1, 2\nsize: 1\norig: 1, 1\noffset: 0, 0\nindex: 0\n",
        "page.png\nformat: RGBA8888\nfilter: Linear,Linear\nrepeat: none\nr\nrotate: false\nxy: 1, 2\nsize: 1, 1\norig: 1, 1\noffset: 0, 0\n",
        "page.png\nformat: RGBA8888\nfilter: Linear,Linear\nrepeat: none\nr\nrotate: false\nxy: 1, 2\nsize: 1, 1\norig: 1, 1\noffset: 0, 0\nindex 4\n",
    };
    for(const char *rText : cBroken) EXPECT_EQ(nullptr, Read(rText)) << rText;
    // High bytes trim safely and become part of the names.
    Atlas *nAtlas = Read("\xff\xa0page\xe9\nformat: RGBA8888\nfilter: Linear,Linear\nrepeat: none\n");
    ASSERT_NE(nullptr, nAtlas);
    EXPECT_STREQ("\xff\xa0page\xe9", nAtlas->mPages->mName);
    Atlas_dispose(nAtlas);
    EXPECT_NE(nullptr, nAtlas = Read(""));
    Atlas_dispose(nAtlas);
}

TEST(SkeletonAtlas, DirectoryOfAPath)
{
    struct Case
    {
        const char *mPath;
        const char *mDirectory;
    };
    const Case cCases[] = {{"Data/Graphics/Goblin/goblins.atlas", "Data/Graphics/Goblin"},
                           {"goblins.atlas", ""},
                           {"/goblins.atlas", "/"},
                           {"a\\b/c\\d.atlas", "a\\b/c"},
                           {"a/b\\", "a/b"}};
    for(const Case &rCase : cCases)
    {
        char *nDirectory = Atlas_directoryOf(rCase.mPath);
        EXPECT_STREQ(rCase.mDirectory, nDirectory) << rCase.mPath;
        Runtime_free(nDirectory);
    }
}

TEST(SkeletonAtlas, FileReadingAndTheAttachmentLoader)
{
    ScratchFolder tDir{"skeleton"};
    ASSERT_TRUE(tDir.WriteText("sample.atlas", cSampleAtlas));
    Atlas *nAtlas = Atlas_readAtlasFile(tDir.File("sample.atlas").c_str());
    ASSERT_NE(nullptr, nAtlas);
    EXPECT_EQ(nullptr, Atlas_readAtlasFile(tDir.File("missing.atlas").c_str()));

    AtlasAttachmentLoader *nLoader = AtlasAttachmentLoader_create(nAtlas);
    AttachmentLoader *rLoader = &nLoader->mSuper;
    Attachment *nHead = AttachmentLoader_newAttachment(rLoader, nullptr, ATTACHMENT_REGION, "head");
    ASSERT_NE(nullptr, nHead);
    RegionAttachment *rHead = (RegionAttachment *)nHead;
    EXPECT_EQ(Atlas_findRegion(nAtlas, "head"), rHead->rRendererObject);
    EXPECT_FLOAT_EQ(20.0f, rHead->mRegionOriginalWidth);
    EXPECT_FLOAT_EQ(2.0f / 123.0f, rHead->mUvs[REGION_BLX]);
    EXPECT_FLOAT_EQ(14.0f / 456.0f, rHead->mUvs[REGION_BLY]);
    EXPECT_EQ(nullptr, rLoader->mError1);

    EXPECT_EQ(nullptr, AttachmentLoader_newAttachment(rLoader, nullptr, ATTACHMENT_REGION, "nope"));
    EXPECT_STREQ("Region not found: ", rLoader->mError1);
    EXPECT_STREQ("nope", rLoader->mError2);
    Attachment *nBox = AttachmentLoader_newAttachment(rLoader, nullptr, ATTACHMENT_BOUNDING_BOX, "box");
    ASSERT_NE(nullptr, nBox);
    EXPECT_EQ(nullptr, rLoader->mError1);
    EXPECT_EQ(nullptr, AttachmentLoader_newAttachment(rLoader, nullptr, 9, "x"));
    EXPECT_STREQ("Unknown attachment type: ", rLoader->mError1);
    EXPECT_STREQ("9", rLoader->mError2);

    Attachment_dispose(nHead);
    Attachment_dispose(nBox);
    AttachmentLoader_dispose(&nLoader->mSuper);
    Atlas_dispose(nAtlas);
}

#include <gtest/gtest.h>

#include "core/Application.h"
#include "core/data/DataLibrary.h"
#include "core/data/LibraryHolder.h"
#include "core/render/Bitmap.h"
#include "core/render/CorvelAnimation.h"

namespace
{
    // Keeps one pointer and counts what it is told about.
    struct Keeper
    {
        void *rKept = nullptr;
        int32_t mCalls = 0;
        LibraryHolder mHolder{this, Release};

        static void Release(void *pKeeper, void *pObject)
        {
            Keeper *rKeeper = (Keeper *)pKeeper;
            rKeeper->mCalls++;
            if(rKeeper->rKept == pObject) rKeeper->rKept = nullptr;
        }
    };

    class LibraryHolderTest : public ::testing::Test
    {
    protected:
        void SetUp() override
        {
            mPrevious = GetApplication()->mDataLibrary;
            mLibrary = new DataLibrary();
            GetApplication()->mDataLibrary = mLibrary;
            mLibrary->SetQuiet(1);
        }
        void TearDown() override
        {
            delete mLibrary;
            GetApplication()->mDataLibrary = mPrevious;
        }

        Bitmap *AddPicture(const char *pPath)
        {
            mLibrary->AddPath(pPath);
            Bitmap *nPicture = new Bitmap();
            mLibrary->AddEntry(pPath, nPicture, Bitmap::DeleteThis, DL_KIND_BITMAP);
            return nPicture;
        }

        DataLibrary *mLibrary = nullptr;
        DataLibrary *mPrevious = nullptr;
    };
}

// Every way the library destroys an entry tells the holders first; keeping the objects, or
// an entry registered by reference, tells nobody.
TEST_F(LibraryHolderTest, HoldersHearOfEveryDestroyedEntryOnly)
{
    Keeper tKeeper;
    tKeeper.rKept = AddPicture("Root/Images/A/B/One");
    mLibrary->RemoveEntry("Root/Images/A/B/One");
    EXPECT_EQ(nullptr, tKeeper.rKept);

    tKeeper.rKept = AddPicture("Root/Images/A/B/Two");
    mLibrary->Purge("Root/Images/A/B/Two", false);
    EXPECT_EQ(nullptr, tKeeper.rKept);

    tKeeper.rKept = AddPicture("Root/Images/A/B/Three");
    mLibrary->Purge("Root/Images/", false);
    EXPECT_EQ(nullptr, tKeeper.rKept);

    tKeeper.rKept = AddPicture("Root/Images/A/B/Four");
    mLibrary->Purge("ALL", false);
    EXPECT_EQ(nullptr, tKeeper.rKept);

    Bitmap *nKeptPicture = AddPicture("Root/Images/A/B/Five");
    tKeeper.rKept = nKeptPicture;
    const int32_t tCalls = tKeeper.mCalls;
    mLibrary->Purge("Root/Images/", true);
    Bitmap tByReference;
    mLibrary->AddPath("Root/Images/A/B/");
    mLibrary->RegisterPointer("Root/Images/A/B/Ref", &tByReference, DL_KIND_BITMAP);
    mLibrary->Purge("ALL", false);
    EXPECT_EQ(tCalls, tKeeper.mCalls);
    EXPECT_EQ(nKeptPicture, tKeeper.rKept);
    delete nKeptPicture;

    tKeeper.rKept = AddPicture("Root/Images/A/B/Six");
    delete mLibrary;
    mLibrary = nullptr;
    EXPECT_EQ(nullptr, tKeeper.rKept);
    mLibrary = new DataLibrary();
    GetApplication()->mDataLibrary = mLibrary;
}

// A holder that is gone is never called; the others still are, whatever order they went in.
TEST_F(LibraryHolderTest, DestroyedHoldersLeaveTheList)
{
    Keeper *nFirst = new Keeper();
    Keeper *nMiddle = new Keeper();
    Keeper *nLast = new Keeper();
    nFirst->rKept = nMiddle->rKept = nLast->rKept = AddPicture("Root/Images/A/B/One");
    delete nMiddle;
    mLibrary->Purge("ALL", false);
    EXPECT_EQ(nullptr, nFirst->rKept);
    EXPECT_EQ(nullptr, nLast->rKept);
    delete nFirst;
    delete nLast;
    // Under the sanitizers a freed holder still listed would be touched here.
    Keeper tRemaining;
    int tObject = 0;
    LibraryHolder::ReleaseEverywhere(&tObject);
    EXPECT_EQ(1, tRemaining.mCalls);
}

// An animation's frames are the library's pictures: a purged picture leaves an empty frame,
// the others stay.
TEST_F(LibraryHolderTest, AnimationFramesOfPurgedPicturesBecomeEmpty)
{
    Bitmap *rGone = AddPicture("Root/Images/A/Gone/Frame");
    Bitmap *rKept = AddPicture("Root/Images/A/Kept/Frame");
    CorvelAnimation tAnimation;
    tAnimation.SetTotalFrames(3);
    tAnimation.SetFrame(0, rGone);
    tAnimation.SetFrame(1, rKept);
    tAnimation.SetFrame(2, rGone);
    mLibrary->Purge("Root/Images/A/Gone/", false);
    EXPECT_EQ(nullptr, tAnimation.GetFrame(0));
    EXPECT_EQ(rKept, tAnimation.GetFrame(1));
    EXPECT_EQ(nullptr, tAnimation.GetFrame(2));
}

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

        void Keep(void *pObject)
        {
            rKept = mHolder.Hold(pObject);
        }

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
    tKeeper.Keep(AddPicture("Root/Images/A/B/One"));
    mLibrary->RemoveEntry("Root/Images/A/B/One");
    EXPECT_EQ(nullptr, tKeeper.rKept);

    tKeeper.Keep(AddPicture("Root/Images/A/B/Two"));
    mLibrary->Purge("Root/Images/A/B/Two", false);
    EXPECT_EQ(nullptr, tKeeper.rKept);

    tKeeper.Keep(AddPicture("Root/Images/A/B/Three"));
    mLibrary->Purge("Root/Images/", false);
    EXPECT_EQ(nullptr, tKeeper.rKept);

    tKeeper.Keep(AddPicture("Root/Images/A/B/Four"));
    mLibrary->Purge("ALL", false);
    EXPECT_EQ(nullptr, tKeeper.rKept);

    Bitmap *nKeptPicture = AddPicture("Root/Images/A/B/Five");
    tKeeper.Keep(nKeptPicture);
    const int32_t tCalls = tKeeper.mCalls;
    mLibrary->Purge("Root/Images/", true);
    Bitmap tByReference;
    mLibrary->AddPath("Root/Images/A/B/");
    mLibrary->RegisterPointer("Root/Images/A/B/Ref", &tByReference, DL_KIND_BITMAP);
    mLibrary->Purge("ALL", false);
    EXPECT_EQ(tCalls, tKeeper.mCalls);
    EXPECT_EQ(nKeptPicture, tKeeper.rKept);
    delete nKeptPicture;

    tKeeper.Keep(AddPicture("Root/Images/A/B/Six"));
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
    Bitmap *rPicture = AddPicture("Root/Images/A/B/One");
    nFirst->Keep(rPicture);
    nMiddle->Keep(rPicture);
    nLast->Keep(rPicture);
    delete nMiddle;
    mLibrary->Purge("ALL", false);
    EXPECT_EQ(nullptr, nFirst->rKept);
    EXPECT_EQ(nullptr, nLast->rKept);

    int tObject = 0;
    Keeper tRemaining;
    nFirst->Keep(&tObject);
    tRemaining.Keep(&tObject);
    nLast->Keep(&tObject);
    delete nFirst;
    delete nLast;
    // Under the sanitizers a freed holder still listed would be touched here.
    LibraryHolder::ReleaseEverywhere(&tObject);
    EXPECT_EQ(1, tRemaining.mCalls);
    EXPECT_EQ(nullptr, tRemaining.rKept);
}

// Forgetting an object tells the holders that keep it, once each however often they stored
// it, and no other: among a thousand held objects the rest keep theirs and hear nothing.
TEST_F(LibraryHolderTest, OnlyAnObjectsOwnHoldersHearOfIt)
{
    const int32_t cCount = 1000;
    Keeper *nKeepers = new Keeper[cCount];
    int32_t *nObjects = new int32_t[cCount];
    Keeper tSharing[3];
    int32_t tShared = 0;
    for(int32_t i = 0; i < cCount; i++)
    {
        nKeepers[i].Keep(&nObjects[i]);
        nKeepers[i].Keep(&nObjects[i]);
        nKeepers[i].mHolder.Hold(&tShared);
    }
    for(Keeper &rKeeper : tSharing) rKeeper.Keep(&tShared);

    for(int32_t i = 0; i < cCount; i += 2) LibraryHolder::ReleaseEverywhere(&nObjects[i]);
    for(int32_t i = 0; i < cCount; i++)
    {
        SCOPED_TRACE(i);
        ASSERT_EQ(i % 2 ? (void *)&nObjects[i] : nullptr, nKeepers[i].rKept);
        ASSERT_EQ(i % 2 ? 0 : 1, nKeepers[i].mCalls);
    }

    LibraryHolder::ReleaseEverywhere(&tShared);
    LibraryHolder::ReleaseEverywhere(&tShared);
    for(Keeper &rKeeper : tSharing)
    {
        EXPECT_EQ(nullptr, rKeeper.rKept);
        EXPECT_EQ(1, rKeeper.mCalls);
    }
    EXPECT_EQ(1, nKeepers[1].mCalls);
    EXPECT_EQ(&nObjects[1], nKeepers[1].rKept);
    delete[] nKeepers;
    delete[] nObjects;
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

#include "core/NamedLinkedList.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

namespace
{
    int xDeleteCount = 0;
    void CountingDelete(void *pData)
    {
        xDeleteCount++;
        free(pData);
    }

    int *NewInt(int pValue)
    {
        int *nValue = (int *)malloc(sizeof(int));
        *nValue = pValue;
        return nValue;
    }

    // Five counted entries "A".."E" holding 0..4.
    class NamedLinkedListTest : public ::testing::Test
    {
    protected:
        void SetUp() override
        {
            xDeleteCount = 0;
            const char *tNames[] = {"A", "B", "C", "D", "E"};
            for(int i = 0; i < 5; i++) mList.AddElementWithDeleter(tNames[i], NewInt(i), CountingDelete);
        }
        // Forward and backward walks agree with the count, and the ends are terminated.
        void ExpectConsistent()
        {
            int tForward = 0, tBackward = 0;
            for(void *rData = mList.GetElementByIndex(0); rData; rData = mList.GetElementByIndex(++tForward)) {}
            EXPECT_EQ(tForward, mList.GetCount());
            for(void *rData = mList.SetCursorToTail(); rData; rData = mList.CursorPrev()) tBackward++;
            EXPECT_EQ(tBackward, mList.GetCount());
            if(mList.GetCount() == 0)
            {
                EXPECT_EQ(mList.GetHeadData(), nullptr);
                EXPECT_EQ(mList.GetTailData(), nullptr);
            }
        }
        NamedLinkedList mList;
    };
}

TEST(NamedLinkedListBasics, AnonymousNamesOnlyThroughAddElement)
{
    NamedLinkedList tList(0);
    int tA, tB, tC;
    tList.AddElement("X|Goblin|12", &tA);
    tList.AddElementWithDeleter("X|Goblin|13", &tB, DeleteNothing);
    tList.AddElementAsHead("X|Head", &tC);
    tList.AddElement(nullptr, &tA);
    EXPECT_STREQ(tList.GetNameByIndex(0), "X|Head");
    EXPECT_STREQ(tList.GetNameByIndex(1), "X");
    EXPECT_STREQ(tList.GetNameByIndex(2), "X|Goblin|13");
    EXPECT_STREQ(tList.GetNameByIndex(3), "");
    EXPECT_EQ(tList.GetNameByIndex(4), nullptr);
    EXPECT_EQ(tList.GetNameByIndex(-1), nullptr);
}

TEST(NamedLinkedListBasics, LookupsTakeFirstMatch)
{
    NamedLinkedList tList(0);
    int tA, tB, tC;
    tList.AddElement("Boss", &tA);
    tList.AddElement("BossHealthBar", &tB);
    tList.AddElement("Boss", &tC);
    EXPECT_EQ(tList.GetElementByName("Boss"), &tA);
    EXPECT_EQ(tList.GetElementByName("Bos"), nullptr);
    EXPECT_EQ(tList.GetElementByName(nullptr), nullptr);
    EXPECT_EQ(tList.GetElementByPartialName("BossH"), &tB);
    EXPECT_EQ(tList.GetElementByPartialName("Boss"), &tA);
    EXPECT_EQ(tList.GetElementByPartialName(""), nullptr);
    EXPECT_EQ(tList.GetElementByPartialName(nullptr), nullptr);
    EXPECT_EQ(tList.GetIndexByName("BossHealthBar"), 1);
    EXPECT_EQ(tList.GetIndexByName("Nope"), -1);
    EXPECT_EQ(tList.GetIndexOfData(&tC), 2);
    EXPECT_EQ(tList.GetIndexOfData(nullptr), -1);
    EXPECT_TRUE(tList.ContainsData(&tB));
    EXPECT_FALSE(tList.ContainsData(nullptr));

    int tD;
    EXPECT_EQ(tList.SetDataByName("Boss", &tD), &tA);
    EXPECT_EQ(tList.GetElementByName("Boss"), &tD);
    EXPECT_EQ(tList.SetDataByName("Nope", &tA), nullptr);
}

TEST(NamedLinkedListBasics, DeletersRunExactlyOnce)
{
    xDeleteCount = 0;
    int tAlive = 7;
    {
        NamedLinkedList tList;
        tList.AddElementWithDeleter("counted", NewInt(1), CountingDelete);
        tList.AddElementWithDeleter("kept", &tAlive, DeleteNothing);
        tList.AddElement("freed", NewInt(2));
        tList.AddElementWithDeleter("counted2", NewInt(3), CountingDelete);
        EXPECT_EQ(tList.RemoveElementByName("kept"), nullptr);
        EXPECT_EQ(tAlive, 7);
        EXPECT_EQ(tList.RemoveElementByName("counted"), nullptr);
        EXPECT_EQ(xDeleteCount, 1);
        EXPECT_EQ(tList.RemoveElementByName("counted"), nullptr);
        EXPECT_EQ(xDeleteCount, 1);
    }
    EXPECT_EQ(xDeleteCount, 2);

    NamedLinkedList tBorrowing(0);
    int *nValue = NewInt(5);
    tBorrowing.AddElementWithDeleter("v", nValue, CountingDelete);
    EXPECT_EQ(tBorrowing.RemoveHead(), nValue);
    EXPECT_EQ(xDeleteCount, 2);
    free(nValue);
}

TEST(NamedLinkedListBasics, FirstMemberDeleters)
{
    struct Record { char *mText; int mOther; };
    Record tStack = {strdup("macro"), 1};
    DeleteFirstMember(&tStack);
    EXPECT_EQ(tStack.mText, nullptr);

    NamedLinkedList tList;
    Record *nRecord = (Record *)malloc(sizeof(Record));
    nRecord->mText = strdup("ai");
    tList.AddElementWithDeleter("r", nRecord, DeleteFirstMemberAndRecord);
    tList.Clear();
    EXPECT_EQ(tList.GetCount(), 0);
}

TEST_F(NamedLinkedListTest, RemovingTheOnlyEntryEmptiesTheList)
{
    NamedLinkedList tList;
    tList.AddElement("only", NewInt(1));
    tList.RemoveTail();
    EXPECT_EQ(tList.GetCount(), 0);
    EXPECT_EQ(tList.GetHeadData(), nullptr);
    EXPECT_EQ(tList.GetTailData(), nullptr);
    EXPECT_EQ(tList.RemoveHead(), nullptr);
    EXPECT_EQ(tList.RemoveElementByIndex(0), nullptr);
}

TEST_F(NamedLinkedListTest, RemoveAtCursorHeadMiddleTail)
{
    // Head: no cursor afterwards, so CursorNext continues with the new head.
    mList.SetCursorToHead();
    mList.RemoveAtCursor();
    EXPECT_EQ(mList.GetCursorNode(), nullptr);
    EXPECT_EQ(*(int *)mList.CursorNext(), 1);

    // Middle: the cursor falls back to the previous entry.
    mList.CursorNext();
    mList.RemoveAtCursor();
    EXPECT_STREQ(mList.GetCursorName(), "B");
    EXPECT_EQ(*(int *)mList.CursorNext(), 3);

    // Tail: the cursor stands on the new tail and nothing follows.
    mList.SetCursorToTail();
    mList.RemoveAtCursor();
    EXPECT_STREQ(mList.GetCursorName(), "D");
    EXPECT_EQ(mList.CursorNext(), nullptr);
    EXPECT_EQ(mList.GetCursorNode(), nullptr);

    EXPECT_EQ(xDeleteCount, 3);
    EXPECT_EQ(mList.RemoveAtCursor(), nullptr);
    ExpectConsistent();
}

TEST_F(NamedLinkedListTest, FilteringWalkRemovesEveryOtherEntry)
{
    for(void *rData = mList.SetCursorToHead(); rData; rData = mList.CursorNext())
    {
        if(*(int *)rData % 2 == 0) mList.RemoveAtCursor();
    }
    ASSERT_EQ(mList.GetCount(), 2);
    EXPECT_STREQ(mList.GetNameByIndex(0), "B");
    EXPECT_STREQ(mList.GetNameByIndex(1), "D");
    ExpectConsistent();
}

TEST_F(NamedLinkedListTest, DetachReturnsDataWhateverTheFlag)
{
    int *nData = (int *)mList.GetElementByIndex(2);
    ASSERT_TRUE(mList.SetCursorToData(nData));
    EXPECT_EQ(mList.DetachAtCursor(), nData);
    EXPECT_EQ(xDeleteCount, 0);
    EXPECT_EQ(mList.GetOwnsContents(), 1);
    free(nData);
    EXPECT_FALSE(mList.SetCursorToData(nData));
    EXPECT_EQ(mList.GetCursorNode(), nullptr);
}

TEST_F(NamedLinkedListTest, RemovalByOtherMeansMovesCursorOff)
{
    mList.SetCursorToTail();
    mList.RemoveElementByName("E");
    EXPECT_STREQ(mList.GetCursorName(), "D");

    mList.SetCursorToHead();
    mList.RemoveElementByIndex(0);
    EXPECT_EQ(mList.GetCursorNode(), nullptr);
    EXPECT_STREQ(mList.GetNameByIndex(0), "B");

    mList.CursorNext();
    mList.CursorNext();
    mList.RemoveElementByData(mList.GetElementByName("C"));
    EXPECT_STREQ(mList.GetCursorName(), "B");
    ExpectConsistent();
}

TEST_F(NamedLinkedListTest, NestedIterationsRestoreDepth)
{
    NamedLinkedList tEmpty;
    EXPECT_EQ(tEmpty.PushIterator(), nullptr);
    EXPECT_EQ(tEmpty.GetIteratorDepth(), 0);
    EXPECT_EQ(tEmpty.IterateNext(), nullptr);

    int tPairs = 0;
    for(void *rOuter = mList.PushIterator(); rOuter; rOuter = mList.IterateNext())
    {
        EXPECT_EQ(mList.GetIteratorDepth(), 1);
        for(void *rInner = mList.PushIterator(); rInner; rInner = mList.IterateNext())
        {
            tPairs++;
            EXPECT_EQ(mList.GetIteratorDepth(), 2);
        }
        EXPECT_EQ(*(int *)rOuter, mList.GetIndexByName(mList.GetIteratorName()));
    }
    EXPECT_EQ(tPairs, 25);
    EXPECT_EQ(mList.GetIteratorDepth(), 0);

    // The cursor goes to the entry the innermost walk stands on, and nowhere without a walk.
    mList.PushIterator();
    mList.IterateNext();
    EXPECT_STREQ(mList.GetIteratorName(), "B");
    EXPECT_TRUE(mList.SetCursorToIteration());
    EXPECT_STREQ(mList.GetCursorName(), "B");
    mList.PushIterator();
    EXPECT_TRUE(mList.SetCursorToIteration());
    EXPECT_STREQ(mList.GetCursorName(), "A");
    mList.PopIterator();
    mList.PopIterator();
    EXPECT_EQ(mList.GetIteratorDepth(), 0);
    EXPECT_FALSE(mList.SetCursorToIteration());
    EXPECT_EQ(mList.GetCursorNode(), nullptr);
    mList.PushIterator();
    mList.PushIterator();
    mList.ClearIterators();
    EXPECT_EQ(mList.GetIteratorDepth(), 0);
    EXPECT_EQ(mList.GetIteratorName(), nullptr);
}

TEST_F(NamedLinkedListTest, RemovalUnderOpenIterationsKeepsWalksValid)
{
    // Outer walk stands on "C"; an inner walk removes head, the outer's own entry and the tail.
    mList.PushIterator();
    mList.IterateNext();
    mList.IterateNext();
    ASSERT_STREQ(mList.GetIteratorName(), "C");

    mList.PushIterator();
    mList.RemoveHead();
    EXPECT_EQ(mList.GetIteratorName(), nullptr);
    EXPECT_FALSE(mList.SetCursorToIteration());
    EXPECT_EQ(*(int *)mList.IterateNext(), 1);
    mList.RemoveElementByName("C");
    mList.RemoveTail();
    mList.PopIterator();

    EXPECT_STREQ(mList.GetIteratorName(), "B");
    EXPECT_EQ(*(int *)mList.IterateNext(), 3);
    EXPECT_EQ(mList.IterateNext(), nullptr);
    EXPECT_EQ(mList.GetIteratorDepth(), 0);

    // Clearing under an open walk ends it on the next step.
    mList.PushIterator();
    mList.Clear();
    EXPECT_EQ(mList.IterateNext(), nullptr);
    EXPECT_EQ(mList.GetIteratorDepth(), 0);
    EXPECT_EQ(xDeleteCount, 5);
}

TEST_F(NamedLinkedListTest, SortBothWaysRelinks)
{
    NamedLinkedList tList(0);
    int tData[4];
    const char *tNames[] = {"delta", "alpha", "charlie", "bravo"};
    for(int i = 0; i < 4; i++) tList.AddElement(tNames[i], &tData[i]);

    tList.Sort(0);
    const char *tAscending[] = {"alpha", "bravo", "charlie", "delta"};
    for(int i = 0; i < 4; i++) EXPECT_STREQ(tList.GetNameByIndex(i), tAscending[i]);
    EXPECT_EQ(tList.GetHeadData(), &tData[1]);
    EXPECT_EQ(tList.GetTailData(), &tData[0]);

    tList.Sort(1);
    const char *tBackward[] = {"alpha", "bravo", "charlie", "delta"};
    int i = 0;
    for(void *rData = tList.SetCursorToTail(); rData; rData = tList.CursorPrev()) EXPECT_STREQ(tList.GetCursorName(), tBackward[i++]);
    EXPECT_EQ(i, 4);
    EXPECT_EQ(tList.GetHeadData(), &tData[0]);
}

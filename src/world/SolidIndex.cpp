#include "world/SolidIndex.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "core/Utilities.h"
#include "world/RootEntity.h"

namespace
{
    // Cells are 32 units square. A box over more than 16 cells is kept in the wide list, so a
    // huge box costs one prefilter per query rather than thousands of filings.
    const int32_t cCellShift = 5;
    const int64_t cMaxFiledCells = 16;
    const int32_t cFirstBuckets = 256;
    const int32_t cFirstSlots = 64;

    const uint8_t cFiledNowhere = 0;
    const uint8_t cFiledInCells = 1;
    const uint8_t cFiledWide = 2;

    int32_t CellOf(int32_t pValue)
    {
        return (int32_t)((int64_t)pValue >> cCellShift);
    }

    // The index cannot answer without its tables, and a wrong answer would let things pass
    // through walls, so running out of memory ends the program with a message.
    void *Reallocated(void *pOld, size_t pBytes)
    {
        void *nBlock = realloc(pOld, pBytes);
        if(nBlock) return nBlock;
        fprintf(stderr, "SolidIndex: out of memory asking for %zu bytes\n", pBytes);
        abort();
    }

    void *Zeroed(size_t pCount, size_t pSize)
    {
        void *nBlock = Reallocated(nullptr, pCount * pSize);
        memset(nBlock, 0, pCount * pSize);
        return nBlock;
    }

    // Asks every point of the part of the box inside the entity's box; 64-bit counters, as
    // either edge may be the last int32.
    bool HoldsPointInPart(RootEntity *pEntity, const IntRect &pEntityBox, const IntRect &pBox)
    {
        IntRect tPart;
        if(!RectangleIntersection(pEntityBox, pBox, tPart)) return false;
        for(int64_t y = tPart.mTop; y <= tPart.mBot; y++)
        {
            for(int64_t x = tPart.mLft; x <= tPart.mRgt; x++)
            {
                if(pEntity->ContainsPoint((int32_t)x, (int32_t)y)) return true;
            }
        }
        return false;
    }
}

bool EntityHoldsPointIn(RootEntity *pEntity, const IntRect &pBox)
{
    IntRect tReach;
    if(pEntity->GetSolidReach(tReach) != SOLID_REACH_BOX) return false;
    return HoldsPointInPart(pEntity, tReach, pBox);
}

struct SolidIndex::Entry
{
    // Null while the entry is free; mNextFree then chains the free entries.
    RootEntity *rEntity;
    int32_t mNextFree;
    int32_t mListings;
    // Where the entry is filed and the box it was filed under.
    uint8_t mFiling;
    IntRect mBox;
    IntRect mCells;
    int32_t mWidePosition;
    uint8_t mLoose;
    int32_t mLoosePosition;
};

void SolidIndex::Push(FilingList &sList, int32_t pEntry)
{
    if(sList.mCount == sList.mCapacity)
    {
        int32_t tCapacity = sList.mCapacity ? sList.mCapacity * 2 : 4;
        sList.mItems = (Filing *)Reallocated(sList.mItems, sizeof(Filing) * (size_t)tCapacity);
        sList.mCapacity = tCapacity;
    }
    Filing &rFiling = sList.mItems[sList.mCount++];
    rFiling.mBox = mEntries[pEntry].mBox;
    rFiling.mEntry = pEntry;
}

SolidIndex::SolidIndex()
{
    mEntries = nullptr;
    mEntryCapacity = 0;
    mCount = 0;
    mFreeHead = -1;
    mSlots = (Slot *)Zeroed(cFirstSlots, sizeof(Slot));
    mSlotMask = cFirstSlots - 1;
    mBuckets = (FilingList *)Zeroed(cFirstBuckets, sizeof(FilingList));
    mBucketMask = cFirstBuckets - 1;
    mFiledCount = 0;
    memset(&mWide, 0, sizeof(mWide));
    memset(&mLoose, 0, sizeof(mLoose));
}

SolidIndex::~SolidIndex()
{
    for(int32_t i = 0; i <= mBucketMask; i++) free(mBuckets[i].mItems);
    free(mBuckets);
    free(mSlots);
    free(mEntries);
    free(mWide.mItems);
    free(mLoose.mItems);
}

// --- Entity to entry ------------------------------------------------------------------------

int32_t SolidIndex::FindEntry(RootEntity *pEntity) const
{
    uint32_t i = HashPointer(pEntity) & (uint32_t)mSlotMask;
    while(mSlots[i].rEntity)
    {
        if(mSlots[i].rEntity == pEntity) return mSlots[i].mEntry;
        i = (i + 1) & (uint32_t)mSlotMask;
    }
    return -1;
}

void SolidIndex::InsertSlot(RootEntity *pEntity, int32_t pEntry)
{
    if((mCount + 1) * 2 > mSlotMask + 1) GrowSlots();
    uint32_t i = HashPointer(pEntity) & (uint32_t)mSlotMask;
    while(mSlots[i].rEntity) i = (i + 1) & (uint32_t)mSlotMask;
    mSlots[i].rEntity = pEntity;
    mSlots[i].mEntry = pEntry;
}

void SolidIndex::GrowSlots()
{
    Slot *nOld = mSlots;
    int32_t tOldSize = mSlotMask + 1;
    mSlots = (Slot *)Zeroed((size_t)tOldSize * 2, sizeof(Slot));
    mSlotMask = tOldSize * 2 - 1;
    for(int32_t i = 0; i < tOldSize; i++)
    {
        if(!nOld[i].rEntity) continue;
        uint32_t j = HashPointer(nOld[i].rEntity) & (uint32_t)mSlotMask;
        while(mSlots[j].rEntity) j = (j + 1) & (uint32_t)mSlotMask;
        mSlots[j] = nOld[i];
    }
    free(nOld);
}

// Linear probing: deleting shifts later members of the same run back, so no tombstones.
void SolidIndex::EraseSlot(RootEntity *pEntity)
{
    uint32_t tMask = (uint32_t)mSlotMask;
    uint32_t i = HashPointer(pEntity) & tMask;
    while(mSlots[i].rEntity != pEntity)
    {
        if(!mSlots[i].rEntity) return;
        i = (i + 1) & tMask;
    }
    uint32_t j = i;
    while(true)
    {
        j = (j + 1) & tMask;
        if(!mSlots[j].rEntity) break;
        uint32_t tHome = HashPointer(mSlots[j].rEntity) & tMask;
        // The member at j may fill the hole at i unless its home lies cyclically in (i, j].
        bool tHomeBetween = (i <= j) ? (tHome > i && tHome <= j) : (tHome > i || tHome <= j);
        if(tHomeBetween) continue;
        mSlots[i] = mSlots[j];
        i = j;
    }
    mSlots[i].rEntity = nullptr;
}

// --- Filing ---------------------------------------------------------------------------------

SolidIndex::FilingList &SolidIndex::BucketOf(int32_t pCellX, int32_t pCellY) const
{
    uint32_t tHash = (uint32_t)pCellX * 0x9E3779B1u + (uint32_t)pCellY * 0x85EBCA77u;
    tHash ^= tHash >> 15;
    return mBuckets[tHash & (uint32_t)mBucketMask];
}

void SolidIndex::File(int32_t pEntry)
{
    Entry &rEntry = mEntries[pEntry];
    IntRect tCells = {CellOf(rEntry.mBox.mLft), CellOf(rEntry.mBox.mTop), CellOf(rEntry.mBox.mRgt),
                      CellOf(rEntry.mBox.mBot)};
    int64_t tCellCount = ((int64_t)tCells.mRgt - tCells.mLft + 1) * ((int64_t)tCells.mBot - tCells.mTop + 1);
    if(tCellCount > cMaxFiledCells)
    {
        rEntry.mFiling = cFiledWide;
        rEntry.mWidePosition = mWide.mCount;
        Push(mWide, pEntry);
        return;
    }
    rEntry.mFiling = cFiledInCells;
    rEntry.mCells = tCells;
    for(int32_t x = tCells.mLft; x <= tCells.mRgt; x++)
    {
        for(int32_t y = tCells.mTop; y <= tCells.mBot; y++)
        {
            Push(BucketOf(x, y), pEntry);
        }
    }
    mFiledCount += (int32_t)tCellCount;
    if(mFiledCount > mBucketMask + 1) GrowBuckets();
}

void SolidIndex::Unfile(int32_t pEntry)
{
    Entry &rEntry = mEntries[pEntry];
    if(rEntry.mFiling == cFiledWide) DropFromList(mWide, rEntry.mWidePosition, true);
    if(rEntry.mFiling == cFiledInCells)
    {
        const IntRect &rCells = rEntry.mCells;
        for(int32_t x = rCells.mLft; x <= rCells.mRgt; x++)
        {
            for(int32_t y = rCells.mTop; y <= rCells.mBot; y++)
            {
                FilingList &rBucket = BucketOf(x, y);
                for(int32_t i = 0; i < rBucket.mCount; i++)
                {
                    if(rBucket.mItems[i].mEntry != pEntry) continue;
                    rBucket.mItems[i] = rBucket.mItems[--rBucket.mCount];
                    break;
                }
                mFiledCount--;
            }
        }
    }
    rEntry.mFiling = cFiledNowhere;
}

void SolidIndex::GrowBuckets()
{
    for(int32_t i = 0; i <= mBucketMask; i++) free(mBuckets[i].mItems);
    free(mBuckets);
    int32_t tSize = (mBucketMask + 1) * 2;
    while(tSize < mFiledCount) tSize *= 2;
    mBuckets = (FilingList *)Zeroed((size_t)tSize, sizeof(FilingList));
    mBucketMask = tSize - 1;
    mFiledCount = 0;
    for(int32_t i = 0; i < mEntryCapacity; i++)
    {
        if(!mEntries[i].rEntity || mEntries[i].mFiling != cFiledInCells) continue;
        File(i);
    }
}

// Swap-removes position pPosition of the wide or loose list, keeping the moved entry's
// position current.
void SolidIndex::DropFromList(FilingList &sList, int32_t pPosition, bool pWide)
{
    sList.mItems[pPosition] = sList.mItems[--sList.mCount];
    int32_t tLast = sList.mItems[pPosition].mEntry;
    if(pWide) mEntries[tLast].mWidePosition = pPosition;
    else mEntries[tLast].mLoosePosition = pPosition;
}

// --- Membership -----------------------------------------------------------------------------

void SolidIndex::Add(RootEntity *pEntity)
{
    if(!pEntity) return;
    int32_t tHeld = FindEntry(pEntity);
    if(tHeld >= 0)
    {
        mEntries[tHeld].mListings++;
        return;
    }
    IntRect tBox;
    if(pEntity->GetSolidReach(tBox) == SOLID_REACH_NEVER) return;

    if(mFreeHead < 0)
    {
        int32_t tCapacity = mEntryCapacity ? mEntryCapacity * 2 : 16;
        mEntries = (Entry *)Reallocated(mEntries, sizeof(Entry) * (size_t)tCapacity);
        for(int32_t i = tCapacity - 1; i >= mEntryCapacity; i--)
        {
            mEntries[i].rEntity = nullptr;
            mEntries[i].mNextFree = mFreeHead;
            mFreeHead = i;
        }
        mEntryCapacity = tCapacity;
    }
    int32_t tEntry = mFreeHead;
    Entry &rEntry = mEntries[tEntry];
    mFreeHead = rEntry.mNextFree;
    memset(&rEntry, 0, sizeof(rEntry));
    rEntry.rEntity = pEntity;
    rEntry.mListings = 1;
    rEntry.mFiling = cFiledNowhere;
    InsertSlot(pEntity, tEntry);
    mCount++;
    MarkLoose(pEntity);
}

void SolidIndex::Remove(RootEntity *pEntity)
{
    if(!pEntity) return;
    int32_t tEntry = FindEntry(pEntity);
    if(tEntry < 0 || --mEntries[tEntry].mListings > 0) return;
    Unfile(tEntry);
    Entry &rEntry = mEntries[tEntry];
    if(rEntry.mLoose) DropFromList(mLoose, rEntry.mLoosePosition, false);
    EraseSlot(pEntity);
    rEntry.rEntity = nullptr;
    rEntry.mNextFree = mFreeHead;
    mFreeHead = tEntry;
    mCount--;
}

// A loose entry keeps its old filing: that may still be right, and the loose list asks the
// entity in any case.
void SolidIndex::MarkLoose(RootEntity *pEntity)
{
    if(!pEntity) return;
    int32_t tEntry = FindEntry(pEntity);
    if(tEntry >= 0) MarkEntryLoose(tEntry);
}

void SolidIndex::MarkLooseIfFiled(RootEntity *pEntity)
{
    if(!pEntity || (mFiledCount == 0 && mWide.mCount == 0)) return;
    int32_t tEntry = FindEntry(pEntity);
    if(tEntry >= 0 && mEntries[tEntry].mFiling != cFiledNowhere) MarkEntryLoose(tEntry);
}

void SolidIndex::MarkEntryLoose(int32_t pEntry)
{
    if(mEntries[pEntry].mLoose) return;
    mEntries[pEntry].mLoose = 1;
    mEntries[pEntry].mLoosePosition = mLoose.mCount;
    Push(mLoose, pEntry);
}

void SolidIndex::Settle()
{
    for(int32_t i = 0; i < mLoose.mCount; i++)
    {
        int32_t tEntry = mLoose.mItems[i].mEntry;
        Entry &rEntry = mEntries[tEntry];
        rEntry.mLoose = 0;
        IntRect tBox;
        if(rEntry.rEntity->GetSolidReach(tBox) != SOLID_REACH_BOX)
        {
            Unfile(tEntry);
            continue;
        }
        // Most solids stand still: nothing to refile.
        if(rEntry.mFiling != cFiledNowhere && !memcmp(&tBox, &rEntry.mBox, sizeof(tBox))) continue;
        Unfile(tEntry);
        rEntry.mBox = tBox;
        File(tEntry);
    }
    mLoose.mCount = 0;
}

// --- Queries --------------------------------------------------------------------------------

bool SolidIndex::AskList(const FilingList &pList, int32_t pX, int32_t pY, bool pPrefilter) const
{
    for(int32_t i = 0; i < pList.mCount; i++)
    {
        const Filing &rFiling = pList.mItems[i];
        if(pPrefilter && !PointInRectangle(pX, pY, rFiling.mBox)) continue;
        if(mEntries[rFiling.mEntry].rEntity->ContainsPoint(pX, pY)) return true;
    }
    return false;
}

bool SolidIndex::AnyContains(int32_t pX, int32_t pY) const
{
    if(mFiledCount > 0 && AskList(BucketOf(CellOf(pX), CellOf(pY)), pX, pY, true)) return true;
    if(mWide.mCount > 0 && AskList(mWide, pX, pY, true)) return true;
    return mLoose.mCount > 0 && AskList(mLoose, pX, pY, false);
}

bool SolidIndex::AskListInBox(const FilingList &pList, const IntRect &pBox) const
{
    for(int32_t i = 0; i < pList.mCount; i++)
    {
        const Filing &rFiling = pList.mItems[i];
        if(!RectanglesOverlap(rFiling.mBox, pBox)) continue;
        if(HoldsPointInPart(mEntries[rFiling.mEntry].rEntity, rFiling.mBox, pBox)) return true;
    }
    return false;
}

// Loose entities are asked for their reach now, so a stale filing never hides them.
bool SolidIndex::AnyContainsInBox(const IntRect &pBox) const
{
    if(pBox.mLft > pBox.mRgt || pBox.mTop > pBox.mBot) return false;
    if(mFiledCount > 0)
    {
        IntRect tCells = {CellOf(pBox.mLft), CellOf(pBox.mTop), CellOf(pBox.mRgt), CellOf(pBox.mBot)};
        int64_t tCellCount = ((int64_t)tCells.mRgt - tCells.mLft + 1) * ((int64_t)tCells.mBot - tCells.mTop + 1);
        if(tCellCount > mEntryCapacity)
        {
            // Fewer entries than cells: asking each filed entry is cheaper than each cell.
            for(int32_t i = 0; i < mEntryCapacity; i++)
            {
                const Entry &rEntry = mEntries[i];
                if(!rEntry.rEntity || rEntry.mFiling != cFiledInCells) continue;
                if(HoldsPointInPart(rEntry.rEntity, rEntry.mBox, pBox)) return true;
            }
        }
        else
        {
            for(int64_t x = tCells.mLft; x <= tCells.mRgt; x++)
            {
                for(int64_t y = tCells.mTop; y <= tCells.mBot; y++)
                {
                    if(AskListInBox(BucketOf((int32_t)x, (int32_t)y), pBox)) return true;
                }
            }
        }
    }
    if(mWide.mCount > 0 && AskListInBox(mWide, pBox)) return true;
    for(int32_t i = 0; i < mLoose.mCount; i++)
    {
        if(EntityHoldsPointIn(mEntries[mLoose.mItems[i].mEntry].rEntity, pBox)) return true;
    }
    return false;
}

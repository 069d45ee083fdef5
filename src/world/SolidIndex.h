#pragma once
#include <cstdint>

#include "core/Geometry.h"

class RootEntity;

// What an entity's ContainsPoint may answer, as the point index sees it.
enum SolidReach : uint8_t
{
    // The class never holds a point; the index does not keep it.
    SOLID_REACH_NEVER = 0,
    // It holds no point now, but may later.
    SOLID_REACH_NONE = 1,
    // Every point it holds now lies inside the box given with it.
    SOLID_REACH_BOX = 2,
};

// True when the entity's ContainsPoint accepts some point of the box; only the part of the box
// inside the entity's reach is walked.
bool EntityHoldsPointIn(RootEntity *pEntity, const IntRect &pBox);

// Which entity holds a point, found through a spatial hash of the boxes their GetSolidReach
// answers. The index only narrows the candidates: the answer is always the entities' own
// ContainsPoint, so a box may be larger than what it stands for.
//
// Staleness: an entity is "loose" from MarkLoose until the next Settle. Loose entities are
// asked directly by every query, wherever their filed box is, so an entity may move freely
// while loose. The owner marks an entity loose before anything that may change its answer
// runs, and settles only when nothing is moving (no hook on the call stack).
class SolidIndex
{
public:
    SolidIndex();
    ~SolidIndex();

    // A new entity starts loose. Entities whose reach is SOLID_REACH_NEVER and nulls are
    // ignored. An entity listed more than once is added once per listing and stays held until
    // as many removals.
    void Add(RootEntity *pEntity);
    void Remove(RootEntity *pEntity);
    // Ignored for entities not held.
    void MarkLoose(RootEntity *pEntity);
    // The same, but only for an entity that held points when last settled: one that held none
    // can only start to through a change that marks it loose in any case.
    void MarkLooseIfFiled(RootEntity *pEntity);
    // Files every loose entity under the box its reach gives now.
    void Settle();

    bool AnyContains(int32_t pX, int32_t pY) const;
    // Whether some entity holds some point of the box (edges inclusive).
    bool AnyContainsInBox(const IntRect &pBox) const;

    int32_t GetCount() const { return mCount; }
    int32_t GetLooseCount() const { return mLoose.mCount; }

private:
    struct Entry;
    // One entry under one cell, or in the wide or loose list. The box rides along so a query
    // scans one array; loose filings leave it unused.
    struct Filing
    {
        IntRect mBox;
        int32_t mEntry;
    };
    struct FilingList
    {
        Filing *mItems;
        int32_t mCount;
        int32_t mCapacity;
    };
    struct Slot
    {
        RootEntity *rEntity;
        int32_t mEntry;
    };

    int32_t FindEntry(RootEntity *pEntity) const;
    void InsertSlot(RootEntity *pEntity, int32_t pEntry);
    void EraseSlot(RootEntity *pEntity);
    void GrowSlots();
    void MarkEntryLoose(int32_t pEntry);
    // Appends the entry with its filed box.
    void Push(FilingList &sList, int32_t pEntry);
    void File(int32_t pEntry);
    void Unfile(int32_t pEntry);
    void GrowBuckets();
    FilingList &BucketOf(int32_t pCellX, int32_t pCellY) const;
    void DropFromList(FilingList &sList, int32_t pPosition, bool pWide);
    bool AskList(const FilingList &pList, int32_t pX, int32_t pY, bool pPrefilter) const;
    bool AskListInBox(const FilingList &pList, const IntRect &pBox) const;

    Entry *mEntries;
    int32_t mEntryCapacity;
    int32_t mCount;
    int32_t mFreeHead;

    Slot *mSlots;
    int32_t mSlotMask;

    FilingList *mBuckets;
    int32_t mBucketMask;
    int32_t mFiledCount;

    FilingList mWide;
    FilingList mLoose;

    SolidIndex(const SolidIndex &) = delete;
    SolidIndex &operator=(const SolidIndex &) = delete;
};

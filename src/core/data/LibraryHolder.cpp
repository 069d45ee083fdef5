#include "core/data/LibraryHolder.h"

#include "core/Utilities.h"

// One per object that some holder keeps, with the holders that keep it.
struct HeldObject
{
    void *rObject;
    HeldObject *rNextInBucket;
    LibraryHolderLink *rFirstHolder;
};

// One holder keeping one object: a member of the object's list and of the holder's.
struct LibraryHolderLink
{
    HeldObject *rHeld;
    LibraryHolder *rHolder;
    LibraryHolderLink *rPrevOfObject;
    LibraryHolderLink *rNextOfObject;
    LibraryHolderLink *rPrevOfHolder;
    LibraryHolderLink *rNextOfHolder;
};

namespace
{
    // Held objects by address. Constant-initialised, so holders that are file-level objects
    // may be made in any order.
    const uint32_t cFirstBuckets = 256;
    HeldObject **xBuckets = nullptr;
    uint32_t xBucketMask = 0;
    uint32_t xHeldCount = 0;

    HeldObject **BucketOf(const void *pObject)
    {
        return &xBuckets[HashPointer(pObject) & xBucketMask];
    }

    HeldObject *FindHeld(const void *pObject)
    {
        if(!xBuckets) return nullptr;
        for(HeldObject *rHeld = *BucketOf(pObject); rHeld; rHeld = rHeld->rNextInBucket)
        {
            if(rHeld->rObject == pObject) return rHeld;
        }
        return nullptr;
    }

    // Keeps the chains about one record long, so finding an object never walks the others.
    void GrowBuckets()
    {
        HeldObject **rOld = xBuckets;
        const uint32_t tOldCount = rOld ? xBucketMask + 1 : 0;
        const uint32_t tCount = rOld ? tOldCount * 2 : cFirstBuckets;
        xBuckets = new HeldObject *[tCount]();
        xBucketMask = tCount - 1;
        for(uint32_t i = 0; i < tOldCount; i++)
        {
            HeldObject *rHeld = rOld[i];
            while(rHeld)
            {
                HeldObject *rNext = rHeld->rNextInBucket;
                HeldObject **rBucket = BucketOf(rHeld->rObject);
                rHeld->rNextInBucket = *rBucket;
                *rBucket = rHeld;
                rHeld = rNext;
            }
        }
        delete[] rOld;
    }

    HeldObject *AddHeld(void *pObject)
    {
        if(!xBuckets || xHeldCount > xBucketMask) GrowBuckets();
        HeldObject *nHeld = new HeldObject{pObject, nullptr, nullptr};
        HeldObject **rBucket = BucketOf(pObject);
        nHeld->rNextInBucket = *rBucket;
        *rBucket = nHeld;
        xHeldCount++;
        return nHeld;
    }

    // Takes the record out of its bucket; the caller deletes it.
    void RemoveHeld(HeldObject *pHeld)
    {
        for(HeldObject **rSlot = BucketOf(pHeld->rObject); *rSlot; rSlot = &(*rSlot)->rNextInBucket)
        {
            if(*rSlot != pHeld) continue;
            *rSlot = pHeld->rNextInBucket;
            xHeldCount--;
            return;
        }
    }
}

LibraryHolder::LibraryHolder(void *pOwner, LibraryReleaseFunc pRelease)
    : rOwner(pOwner), rRelease(pRelease), rFirstLink(nullptr)
{
}

LibraryHolder::~LibraryHolder()
{
    while(rFirstLink)
    {
        LibraryHolderLink *rLink = rFirstLink;
        HeldObject *rHeld = rLink->rHeld;
        Detach(rLink);
        delete rLink;
        if(rHeld->rFirstHolder) continue;
        RemoveHeld(rHeld);
        delete rHeld;
    }
}

void LibraryHolder::Detach(LibraryHolderLink *pLink)
{
    if(pLink->rPrevOfObject) pLink->rPrevOfObject->rNextOfObject = pLink->rNextOfObject;
    else pLink->rHeld->rFirstHolder = pLink->rNextOfObject;
    if(pLink->rNextOfObject) pLink->rNextOfObject->rPrevOfObject = pLink->rPrevOfObject;

    if(pLink->rPrevOfHolder) pLink->rPrevOfHolder->rNextOfHolder = pLink->rNextOfHolder;
    else pLink->rHolder->rFirstLink = pLink->rNextOfHolder;
    if(pLink->rNextOfHolder) pLink->rNextOfHolder->rPrevOfHolder = pLink->rPrevOfHolder;
}

// The holder's own list is searched, not the object's: an animation every enemy shares has
// thousands of holders, a holder a few objects.
void LibraryHolder::Note(void *pObject)
{
    if(!pObject) return;
    for(LibraryHolderLink *rLink = rFirstLink; rLink; rLink = rLink->rNextOfHolder)
    {
        if(rLink->rHeld->rObject == pObject) return;
    }
    HeldObject *rHeld = FindHeld(pObject);
    if(!rHeld) rHeld = AddHeld(pObject);
    LibraryHolderLink *nLink = new LibraryHolderLink{rHeld, this, nullptr, rHeld->rFirstHolder, nullptr, rFirstLink};
    if(rHeld->rFirstHolder) rHeld->rFirstHolder->rPrevOfObject = nLink;
    rHeld->rFirstHolder = nLink;
    if(rFirstLink) rFirstLink->rPrevOfHolder = nLink;
    rFirstLink = nLink;
}

// Each link is gone before its holder hears, so nothing a release does can reach a freed one.
void LibraryHolder::ReleaseEverywhere(void *pObject)
{
    HeldObject *rHeld = pObject ? FindHeld(pObject) : nullptr;
    if(!rHeld) return;
    RemoveHeld(rHeld);
    while(rHeld->rFirstHolder)
    {
        LibraryHolderLink *rLink = rHeld->rFirstHolder;
        LibraryHolder *rHolder = rLink->rHolder;
        Detach(rLink);
        delete rLink;
        if(rHolder->rRelease) rHolder->rRelease(rHolder->rOwner, pObject);
    }
    delete rHeld;
}

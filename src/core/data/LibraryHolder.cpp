#include "core/data/LibraryHolder.h"

// Constant-initialised, so holders that are file-level objects may register in any order.
LibraryHolder *LibraryHolder::xFirst = nullptr;

LibraryHolder::LibraryHolder(void *pOwner, LibraryReleaseFunc pRelease)
    : rOwner(pOwner), rRelease(pRelease), rPrevious(nullptr), rNext(xFirst)
{
    if(xFirst) xFirst->rPrevious = this;
    xFirst = this;
}

LibraryHolder::~LibraryHolder()
{
    if(rPrevious) rPrevious->rNext = rNext;
    else xFirst = rNext;
    if(rNext) rNext->rPrevious = rPrevious;
}

void LibraryHolder::ReleaseEverywhere(void *pObject)
{
    if(!pObject) return;
    for(LibraryHolder *rHolder = xFirst; rHolder; rHolder = rHolder->rNext)
    {
        if(rHolder->rRelease) rHolder->rRelease(rHolder->rOwner, pObject);
    }
}

#include "core/data/LibraryHolder.h"

// Constant-initialised, so holders that are file-level objects may register in any order.
LibraryHolder *LibraryHolder::sFirst = nullptr;

LibraryHolder::LibraryHolder(void *pOwner, LibraryReleaseFunc pRelease)
    : rOwner(pOwner), rRelease(pRelease), rPrevious(nullptr), rNext(sFirst)
{
    if(sFirst) sFirst->rPrevious = this;
    sFirst = this;
}

LibraryHolder::~LibraryHolder()
{
    if(rPrevious) rPrevious->rNext = rNext;
    else sFirst = rNext;
    if(rNext) rNext->rPrevious = rPrevious;
}

void LibraryHolder::ReleaseEverywhere(void *pObject)
{
    if(!pObject) return;
    for(LibraryHolder *rHolder = sFirst; rHolder; rHolder = rHolder->rNext)
    {
        if(rHolder->rRelease) rHolder->rRelease(rHolder->rOwner, pObject);
    }
}

#pragma once

#include <cstdint>

// Called with the holder's owner and an object the data library is about to destroy; the
// owner drops every pointer it keeps to that object.
typedef void (*LibraryReleaseFunc)(void *pOwner, void *pObject);

struct LibraryHolderLink;

// Anything outside the data library that keeps pointers to objects the library owns (the
// system font, her animations, an animation's frames). A script may purge any path at any
// moment, so before the library destroys one of its objects it tells the holders that keep
// it, and no holder is left pointing at freed memory. A holder is a member of the object that
// keeps the pointers (or a file-level object for a file's own pointers).
//
// Every pointer a holder's owner stores goes through Hold; only the holders that hold an
// object hear of it, so forgetting an object costs its own holders, however many entities and
// holders exist. A holder stays listed for an object until the object goes or the holder
// does, even after its owner has stored something else in that place: the release function
// checks what the owner still keeps.
class LibraryHolder
{
public:
    LibraryHolder(void *pOwner, LibraryReleaseFunc pRelease);
    ~LibraryHolder();

    // Lists this holder for the object (once, however often it is held; nothing for null)
    // and gives the object back, so a store reads "rImage = mHolder.Hold(...)".
    template <typename T> T *Hold(T *pObject)
    {
        Note(pObject);
        return pObject;
    }

    // Tells every holder that holds the object that it is going; nothing for null.
    static void ReleaseEverywhere(void *pObject);

private:
    void Note(void *pObject);
    static void Detach(LibraryHolderLink *pLink);

    void *rOwner;
    LibraryReleaseFunc rRelease;
    LibraryHolderLink *rFirstLink;

    LibraryHolder(const LibraryHolder &) = delete;
    LibraryHolder &operator=(const LibraryHolder &) = delete;
};

#pragma once

#include <cstdint>

// Called with the holder's owner and an object the data library is about to destroy; the
// owner drops every pointer it keeps to that object.
typedef void (*LibraryReleaseFunc)(void *pOwner, void *pObject);

// Anything outside the data library that keeps pointers to objects the library owns (the
// system font, her animations, an animation's frames). A script may purge any path at any
// moment, so before the library destroys one of its objects it tells every holder, and no
// holder is left pointing at freed memory. A holder is a member of the object that keeps the
// pointers (or a file-level object for a file's own pointers) and is listed, process-wide, for
// exactly as long as it exists.
class LibraryHolder
{
public:
    LibraryHolder(void *pOwner, LibraryReleaseFunc pRelease);
    ~LibraryHolder();

    // Tells every holder that the object is going; nothing for null.
    static void ReleaseEverywhere(void *pObject);

private:
    void *rOwner;
    LibraryReleaseFunc rRelease;
    LibraryHolder *rPrevious;
    LibraryHolder *rNext;

    static LibraryHolder *sFirst;

    LibraryHolder(const LibraryHolder &) = delete;
    LibraryHolder &operator=(const LibraryHolder &) = delete;
};

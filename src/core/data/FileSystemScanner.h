#pragma once
#include <cstdint>

struct lua_State;

// Longest path a listing holds; deeper entries are left out.
#define FS_MAX_PATH 511
// Nested directories deeper than this are not descended into.
#define FS_MAX_DEPTH 32

struct FileSystemEntry
{
    char *mPath;
    uint8_t mIsParentEntry;
};

// Lists a directory, by default with all its subdirectories, as a sorted array of paths built
// from the path the caller gave ("Data/Maps/" lists "Data/Maps/..", then "Data/Maps/A.slf"...),
// whatever form the platform reports names in. Paths use "/" and directories end in "/".
// The ".." entry comes first, then strcmp order. Unreadable directories and symbolic links to
// directories are listed but not descended into, so a link loop cannot recurse forever.
class CorvelFileSystem
{
public:
    CorvelFileSystem();
    ~CorvelFileSystem();

    void ScanDirectory(const char *pPath);

    int32_t GetEntryCount() const { return mEntryCount; }
    FileSystemEntry *GetEntry(int32_t pIndex);
    const char *GetRootPath() const { return mRootPath; }
    // The entry's own string (still owned by the entry), or null outside the listing.
    const char *GetCurrentPath();
    int32_t GetCursor() const { return mCursor; }
    void Reset() { mCursor = 0; }
    void Advance() { mCursor++; }

    void SetRecursive(uint8_t pFlag) { mRecursive = pFlag; }
    void SetSkipDirectories(uint8_t pFlag) { mSkipDirectories = pFlag; }
    void SetNoParentEntry(uint8_t pFlag) { mNoParentEntry = pFlag; }

    static void DeleteThis(void *pScanner);

private:
    void Clear();
    void AddEntry(const char *pPath, uint8_t pIsParent);
    void ScanInto(const char *pDirectory, int32_t pDepth);

    int32_t mEntryCount;
    FileSystemEntry **mEntries;
    uint8_t mRecursing;
    char *mRootPath;
    int32_t mCursor;
    uint8_t mSkipDirectories;
    uint8_t mNoParentEntry;
    uint8_t mRecursive;
    int32_t mCapacity;

    CorvelFileSystem(const CorvelFileSystem &) = delete;
    CorvelFileSystem &operator=(const CorvelFileSystem &) = delete;
};

// New heap copy of the text after the last "/" or "\" (the whole text when there is none);
// null for null.
char *GetFileNameFromPath(const char *pPath);

void RegisterFileSystemScannerLua(lua_State *L);

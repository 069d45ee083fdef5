#pragma once

#include <cstdint>

#include "core/data/LumpReader.h"
#include "core/data/LumpRecords.h"

class MemoryFile;
class Bitmap;
class Palette;
struct ImageRecord;
struct ScriptPackEntry;
struct lua_State;

// One directory entry of the open lump file.
struct LumpDirectoryEntry
{
    uint32_t mPosition;
    uint32_t mSecondWord;
    char *mName;
};

// Holds at most one open lump file (".slf"), read whole into memory. Lumps are found by a
// binary search over a copy of the directory sorted in memory, so a file whose directory is out
// of order still finds every name, and of a repeated name the first in the file wins; indices
// stay those of the file. A file whose header or directory does not fit is not a lump file and
// is refused whole. Every lump is read through one bounded cursor: a lump whose tag or fields
// run past the end of the file is refused alone, through that reader's normal failure (null,
// -1 or an empty count) and a message naming it. Records handed out belong to the caller.
#define LUMP_FAULT_LINE_MAX 768

class CorvelLumpManager
{
public:
    // While one is alive, the line naming a damaged lump waits; the last to go gives it. Each
    // read holds one, so the naming line follows the read's own messages; a caller that adds
    // its own message about the read holds one around both.
    class FaultBlock
    {
    public:
        explicit FaultBlock(CorvelLumpManager *pLumps);
        ~FaultBlock();

    private:
        CorvelLumpManager *rLumps;
        FaultBlock(const FaultBlock &) = delete;
        FaultBlock &operator=(const FaultBlock &) = delete;
    };

    CorvelLumpManager();
    ~CorvelLumpManager();

    // The instance the Application holds; constructs nothing.
    static CorvelLumpManager *Fetch();

    // Opening the path that is open already changes nothing (not even the cursor).
    void Open(const char *pPath);
    void Close();
    bool IsOpen() const { return mOpen != 0; }
    const char *GetOpenPath() const { return mOpenPath; }
    uint32_t GetLumpCount() const { return mLumpCount; }

    int32_t FindLump(const char *pName) const;
    // True when the lump exists and its tag starts with pType; the cursor then stands at the body.
    bool SeekToLump(const char *pName, const char *pType);
    // Moves to the lump at that directory index and reads its tag unchecked.
    bool SeekToIndex(int32_t pIndex);

    // Images. The record carries the texture defaults of the moment it was made. A record of
    // any compression flag is read (flag 0 comes back without its fields); whether it can be
    // uploaded is the upload's to say.
    ImageRecord *ReadImageRecord(const char *pName);
    Bitmap *ExtractBitmap(const char *pName);
    // A chunk's two layers; a missing second layer is silent. Either output may be null.
    void ImageLump(const char *pFirstName, const char *pSecondName, ImageRecord **pFirst, ImageRecord **pSecond);

    Palette *ExtractPalette(const char *pName);

    // Map information: the type byte, or -1. ReadMapInfo gives the whole record of a line-art
    // map (grid 1..999 on both axes; chunk sizes both 0 for the default, or both positive), or null.
    int32_t GetMapType(const char *pName);
    MapInfoRecord *ReadMapInfo(const char *pName);

    ClipRecord *ClipLump(const char *pName);

    // An array of *pCount records, or null with *pCount = 0. Names longer than 31 characters
    // are cut to 31 with a warning; records placed past the coordinate limit are dropped.
    SpawnRecord *SpawnDatLump(const char *pName, int32_t *pCount);

    // The script of the lump at that index as "Data/Scripts/" + its name, or null.
    ScriptPackEntry *ReadTarballLump(int32_t pIndex);

private:
    enum SeekResult
    {
        cSeekFound,
        cSeekMissing,
        cSeekWrongType,
        cSeekPastEnd
    };
    SeekResult Seek(const char *pName, const char *pType);
    bool FindLumpEnds();
    bool ReadDirectory();
    bool SortDirectory();
    void ResetCursor();
    void ReportFault(const char *pName, const char *pFault, ...) __attribute__((format(printf, 3, 4)));
    void ReportBadLump(const char *pName);
    void FlushFault();

    uint8_t mOpen;
    char *mOpenPath;
    MemoryFile *mFile;
    char mHeader[17];
    uint32_t mLumpCount;
    LumpDirectoryEntry *mDirectory;
    // Directory indices in strcmp order of their names; equal names in file order.
    uint32_t *mSortedOrder;
    // Per directory index, where that lump ends (see FindLumpEnds).
    uint32_t *mLumpEnds;
    uint8_t mQuietNextImageFailure;
    // Where the lump the last seek found ends: the next lump's start (UINT32_MAX for the last).
    uint32_t mLumpEnd;
    char mPendingFault[LUMP_FAULT_LINE_MAX];
    int32_t mFaultBlockDepth;

    LumpReader mCursor;

    CorvelLumpManager(const CorvelLumpManager &) = delete;
    CorvelLumpManager &operator=(const CorvelLumpManager &) = delete;
};

void RegisterCorvelLumpManagerLua(lua_State *L);

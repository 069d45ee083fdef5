#pragma once
#include <cstdint>

#include "core/NamedLinkedList.h"

class RootObject;
struct lua_State;

// Every entry of the tree remembers what it is, so a lookup that wants one kind never hands a
// caller an object of another (a Bitmap read as a ScriptVariable, a Palette made active).
enum DataLibraryKind : int32_t
{
    DL_KIND_FROM_DELETER = -1, // AddEntry derives the kind from the deleter it is given
    DL_KIND_OTHER = 0,
    DL_KIND_ROOTOBJECT = 1,    // the pointer stored is the RootObject* itself
    DL_KIND_BITMAP = 2,
    DL_KIND_PALETTE = 3,
    DL_KIND_FONT = 4,
    DL_KIND_SCRIPTVARIABLE = 5,
};

// What a heading list holds for each entry: the object, the deleter the adder gave, the kind.
// Walk a heading (GetHeading) expecting these records, not bare objects.
struct DataLibraryEntry
{
    void *rObject;
    DeleteFunctionPtr rDeleter;
    int32_t mKind;
};

// A script variable: a number kept at float precision, a string, and a save flag.
struct ScriptVariable
{
    float mNumber;
    char *mString;
    uint8_t mSaveFlag;

    static ScriptVariable *Create();       // 0.0, "NULL", save flag 1
    static void DeleteThis(void *pVariable); // frees the string and the record
};

#define DL_NAME_BUFFER 256

// A parsed five-part path "Root/Section/Catalogue/Heading/Entry". The first part is skipped.
// A part longer than the buffers can hold marks the whole path as too long: such a path
// resolves to nothing, so it can never match a shorter name by truncation.
struct DataLibraryPath
{
    char mSectionName[DL_NAME_BUFFER];
    char mCatalogueName[DL_NAME_BUFFER];
    char mHeadingName[DL_NAME_BUFFER];
    char mEntryName[DL_NAME_BUFFER];
    NamedLinkedList *rSection;
    NamedLinkedList *rCatalogue;
    NamedLinkedList *rHeading;
    void *rEntry;
    DataLibraryEntry *rEntryRecord;
    uint8_t mTooLong;

    void Parse(const char *pPath);

    // New heap copy (free) of part 0..3 (section, catalogue, heading, entry); null when the
    // index is outside 0..3, the part is empty or the path is too long.
    static char *GetComponent(const char *pPath, int32_t pIndex);
};

typedef void (*DataLibraryWatcherFunc)(void *pEntry);

// The engine's one resource tree and the hand-over point between scripts and engine objects.
// The active object is what every family's property bindings act on. Engine code that runs a
// script or binding for an object brackets the work with PushActiveEntity / PopActiveEntity so
// the caller's active object survives nested work.
//
// Only RootObject-derived objects can be active (their type code is what bindings check).
// Whenever the library destroys an object it also drops it from the active slot, the stack
// (its places become "none", keeping pushes and pops balanced) and the handle index, and
// first tells every LibraryHolder, so engine objects that keep pointers to its entries drop
// them; owners that destroy an object the library refers to call ForgetObject for the same
// effect.
class DataLibrary
{
public:
    DataLibrary();
    ~DataLibrary();

    // The instance held by the Application; null before boot creates it.
    static DataLibrary *Fetch();

    // Lookups. A null result is reported (unless quiet or not verbose).
    NamedLinkedList *GetSection(const char *pPath);
    NamedLinkedList *GetCatalogue(const char *pPath);
    NamedLinkedList *GetHeading(const char *pPath);
    void *GetEntry(const char *pPath);
    // The entry only when it was added with that kind; another kind gives null and is reported
    // as the wrong kind.
    void *GetEntryOfKind(const char *pPath, int32_t pKind);
    // A lookup whose miss is an answer, not an error: nothing is reported. A kind below 0 takes
    // an entry of any kind.
    void *LookUpQuietly(const char *pPath, int32_t pKind);
    // Kind of the entry at the path, -1 when there is none. Never reported.
    int32_t GetEntryKind(const char *pPath);
    bool Exists(const char *pPath);

    // Tree building.
    void AddPath(const char *pPath);
    void AddEntry(const char *pPath, void *pObject, DeleteFunctionPtr pDeleter,
                  int32_t pKind = DL_KIND_FROM_DELETER);
    void RegisterPointer(const char *pPath, void *pObject, int32_t pKind = DL_KIND_OTHER);
    // The heading owns its entries, so the entry's deleter runs.
    void RemoveEntry(const char *pPath);
    // "ALL", an entry, or the deepest list the path names. With keep set, the objects under a
    // removed list are not destroyed (an entry is destroyed either way).
    void Purge(const char *pPath, bool pKeepObjects);

    // Active object and its stack.
    void SetActiveObject(const char *pPath);
    RootObject *GetActiveObject() const { return rActiveObject; }
    void SetActiveObjectDirect(RootObject *pObject) { rActiveObject = pObject; }
    bool ActiveIsValid() const { return rActiveObject != nullptr; }
    bool ActiveIsType(int32_t pCode) const;
    bool ActiveTypeInRange(int32_t pLow, int32_t pHigh) const;
    int32_t GetActiveObjectType() const;
    void PushActiveEntity(RootObject *pObject);
    void PushAndClearActive();
    RootObject *PopActiveEntity();
    int32_t GetActiveStackSize() const { return mActiveEntityStack->GetCount(); }

    // Handles for scripts.
    int32_t IndexObject(RootObject *pObject);
    RootObject *GetIndexedObject(int32_t pHandle);
    void ClearPointerIndex();

    // Drops every reference the library and the holders keep to an object that is going.
    void ForgetObject(void *pObject);

    // Watchers.
    void AddWatcherList(const char *pName);
    void AddWatcher(const char *pListName, const char *pPath, DataLibraryWatcherFunc pCallback);
    void RemoveWatcherList(const char *pName);

    uint8_t GetQuiet() const { return mQuiet; }
    void SetQuiet(uint8_t pFlag) { mQuiet = pFlag; }
    uint8_t GetVerbose() const { return mVerbose; }
    void SetVerbose(uint8_t pFlag) { mVerbose = pFlag; }

    NamedLinkedList *GetCurrentSection() const { return rCurrentSection; }
    NamedLinkedList *GetCurrentCatalogue() const { return rCurrentCatalogue; }
    NamedLinkedList *GetCurrentHeading() const { return rCurrentHeading; }

private:
    void Resolve(DataLibraryPath &pPath);
    // A heap path (the caller deletes it), parsed and resolved against the tree.
    DataLibraryPath *NewResolvedPath(const char *pPath);
    // The resolved part at pDepth (0 section, 1 catalogue, 2 heading, 3 entry); a miss is
    // reported under pLabel.
    void *LookUpPart(const char *pPath, int32_t pDepth, const char *pLabel);
    void ReportMissing(const char *pLabel, const char *pPath);
    // Always said (unless not verbose): an entry of another kind is a fault, never a probe's answer.
    void ReportWrongKind(const char *pLabel, const char *pPath, int32_t pFound, int32_t pWanted);
    void ForgetTree(NamedLinkedList *pList, int32_t pDepth);
    void KeepTreeObjects(NamedLinkedList *pList, int32_t pDepth);
    void ClearActiveState();

    uint8_t mVerbose;
    NamedLinkedList *mRootList;
    NamedLinkedList *mActiveEntityStack;
    NamedLinkedList *mPointerIndex;
    NamedLinkedList *mWatcherLists;
    int32_t mNextHandle;
    RootObject *mSentinel;
    uint8_t mQuiet;
    RootObject *rActiveObject;
    NamedLinkedList *rCurrentSection;
    NamedLinkedList *rCurrentCatalogue;
    NamedLinkedList *rCurrentHeading;

    DataLibrary(const DataLibrary &) = delete;
    DataLibrary &operator=(const DataLibrary &) = delete;
};

// The active object as a T, or null: no library, nothing active, a type code outside
// pLow..pHigh, or another class. The class is checked as well as the code, so a code that
// names the wrong class can never hand out a bad pointer. Says nothing: each binding family
// reports a miss in its own words.
template <typename T>
T *FetchActiveInRange(int32_t pLow, int32_t pHigh)
{
    DataLibrary *rLibrary = DataLibrary::Fetch();
    if(!rLibrary || !rLibrary->ActiveTypeInRange(pLow, pHigh)) return nullptr;
    return dynamic_cast<T *>(rLibrary->GetActiveObject());
}

// The same for a family with one type code.
template <typename T>
T *FetchActiveAs(int32_t pCode)
{
    return FetchActiveInRange<T>(pCode, pCode);
}

// The same for a family without a code of its own: only the class is checked.
template <typename T>
T *FetchActiveAs()
{
    return FetchActiveInRange<T>(INT32_MIN, INT32_MAX);
}

// The actors' type check: true when the active object has that code; otherwise, with or without
// a library, "Warning, current active object is not <name> type. <address>" and false.
bool ActiveIsTypeOrWarn(int32_t pCode, const char *pTypeName);

// The opening of the bindings that push the active object and then act on the one that was
// active: sObject gets pFetch's answer, asked (and so reported) only when pAsk is set, so a call
// that lacks its key says only that; the push happens either way, so the script's pop stays
// balanced. False without a library, when nothing is fetched or pushed.
template <typename T, typename F>
bool FetchThenPushActive(bool pAsk, F pFetch, T *&sObject)
{
    sObject = nullptr;
    DataLibrary *rLibrary = DataLibrary::Fetch();
    if(!rLibrary) return false;
    if(pAsk) sObject = pFetch();
    rLibrary->PushAndClearActive();
    return true;
}

// Set while the library's destructor tears down the watcher lists.
uint8_t IsDataLibraryShuttingDown();

void RegisterDataLibraryLua(lua_State *L);

#include "core/data/DataLibrary.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "core/Application.h"
#include "core/DebugPrint.h"
#include "core/RootObject.h"
#include "core/Utilities.h"
#include "core/data/LibraryHolder.h"

static uint8_t xLibraryShuttingDown = 0;

uint8_t IsDataLibraryShuttingDown()
{
    return xLibraryShuttingDown;
}

// ---------------------------------------------------------------------------------------------
// Records owned by the tree and the side lists.

struct DataLibraryHandle
{
    int32_t mHandle;
    RootObject *rObject;
};

struct DataLibraryWatcher
{
    char *mPath;
    DataLibraryWatcherFunc rCallback;
};

static void DeleteList(void *pList)
{
    delete static_cast<NamedLinkedList *>(pList);
}

static void DeleteEntryRecord(void *pRecord)
{
    DataLibraryEntry *nRecord = static_cast<DataLibraryEntry *>(pRecord);
    if(nRecord->rDeleter)
        nRecord->rDeleter(nRecord->rObject);
    else
        free(nRecord->rObject);
    free(nRecord);
}

// Entries registered by reference outlive their removal from the tree, so nothing that refers
// to them has to be dropped.
static bool EntryDestroysObject(const DataLibraryEntry *pRecord)
{
    return pRecord->rDeleter != DeleteNothing;
}

static void WatcherDoesNothing(void *pEntry)
{
}

// A watcher learns that it is being dropped by one last call with the entry it watched. While
// the library itself is going away the tree is already gone, so there is nothing to show it.
static void DeleteWatcher(void *pRecord)
{
    DataLibraryWatcher *nWatcher = static_cast<DataLibraryWatcher *>(pRecord);
    if(!xLibraryShuttingDown && nWatcher->mPath && nWatcher->rCallback)
    {
        DataLibrary *rLibrary = DataLibrary::Fetch();
        nWatcher->rCallback(rLibrary ? rLibrary->GetEntry(nWatcher->mPath) : nullptr);
    }
    free(nWatcher->mPath);
    free(nWatcher);
}

ScriptVariable *ScriptVariable::Create()
{
    ScriptVariable *nVariable = static_cast<ScriptVariable *>(malloc(sizeof(ScriptVariable)));
    nVariable->mNumber = 0.0f;
    nVariable->mString = nullptr;
    ResetString(&nVariable->mString, "NULL");
    nVariable->mSaveFlag = 1;
    return nVariable;
}

void ScriptVariable::DeleteThis(void *pVariable)
{
    if(!pVariable) return;
    ScriptVariable *nVariable = static_cast<ScriptVariable *>(pVariable);
    free(nVariable->mString);
    free(nVariable);
}

// ---------------------------------------------------------------------------------------------
// Paths.

void DataLibraryPath::Parse(const char *pPath)
{
    mSectionName[0] = mCatalogueName[0] = mHeadingName[0] = mEntryName[0] = '\0';
    rSection = rCatalogue = rHeading = nullptr;
    rEntry = nullptr;
    rEntryRecord = nullptr;
    mTooLong = 0;
    if(!pPath) return;

    char *rBuffers[4] = {mSectionName, mCatalogueName, mHeadingName, mEntryName};
    const char *rCursor = pPath;

    // The first part names the tree and is never compared.
    while(*rCursor && *rCursor != '/') rCursor++;
    if(*rCursor == '/') rCursor++;

    for(int i = 0; i < 4 && *rCursor; i++)
    {
        int32_t tLength = 0;
        while(rCursor[tLength] && rCursor[tLength] != '/') tLength++;
        if(tLength > DL_NAME_BUFFER - 1)
        {
            mTooLong = 1;
            mSectionName[0] = mCatalogueName[0] = mHeadingName[0] = mEntryName[0] = '\0';
            return;
        }
        memcpy(rBuffers[i], rCursor, tLength);
        rBuffers[i][tLength] = '\0';
        rCursor += tLength;
        if(*rCursor == '/') rCursor++;
    }
}

char *DataLibraryPath::GetComponent(const char *pPath, int32_t pIndex)
{
    if(pIndex < 0 || pIndex > 3) return nullptr;
    DataLibraryPath *nPath = new DataLibraryPath;
    nPath->Parse(pPath);
    const char *rNames[4] = {nPath->mSectionName, nPath->mCatalogueName, nPath->mHeadingName, nPath->mEntryName};
    char *nCopy = nullptr;
    if(rNames[pIndex][0] != '\0') ResetString(&nCopy, rNames[pIndex]);
    delete nPath;
    return nCopy;
}

// ---------------------------------------------------------------------------------------------
// Construction.

DataLibrary::DataLibrary()
{
    xLibraryShuttingDown = 0;
    mVerbose = 1;
    mRootList = new NamedLinkedList(1);
    mActiveEntityStack = new NamedLinkedList(0);
    mPointerIndex = new NamedLinkedList(1);
    mWatcherLists = new NamedLinkedList(1);
    mNextHandle = 1;
    mSentinel = new RootObject();
    mQuiet = 0;
    rActiveObject = nullptr;
    rCurrentSection = rCurrentCatalogue = rCurrentHeading = nullptr;
}

DataLibrary::~DataLibrary()
{
    // Holders that outlive the library must not keep pointers into it.
    ForgetTree(mRootList, 0);
    delete mRootList;
    delete mActiveEntityStack;
    delete mPointerIndex;
    xLibraryShuttingDown = 1;
    delete mWatcherLists;
    delete mSentinel;
}

DataLibrary *DataLibrary::Fetch()
{
    return GetApplication()->mDataLibrary;
}

// ---------------------------------------------------------------------------------------------
// Lookups.

void DataLibrary::Resolve(DataLibraryPath &pPath)
{
    pPath.rSection = pPath.rCatalogue = pPath.rHeading = nullptr;
    pPath.rEntry = nullptr;
    pPath.rEntryRecord = nullptr;
    if(pPath.mTooLong) return;

    if(pPath.mSectionName[0] == '\0') return;
    pPath.rSection = static_cast<NamedLinkedList *>(mRootList->GetElementByName(pPath.mSectionName));
    if(!pPath.rSection || pPath.mCatalogueName[0] == '\0') return;
    pPath.rCatalogue = static_cast<NamedLinkedList *>(pPath.rSection->GetElementByName(pPath.mCatalogueName));
    if(!pPath.rCatalogue || pPath.mHeadingName[0] == '\0') return;
    pPath.rHeading = static_cast<NamedLinkedList *>(pPath.rCatalogue->GetElementByName(pPath.mHeadingName));
    if(!pPath.rHeading || pPath.mEntryName[0] == '\0') return;
    pPath.rEntryRecord = static_cast<DataLibraryEntry *>(pPath.rHeading->GetElementByName(pPath.mEntryName));
    if(pPath.rEntryRecord) pPath.rEntry = pPath.rEntryRecord->rObject;
}

void *DataLibrary::LookUpQuietly(const char *pPath, int32_t pKind)
{
    const uint8_t tWasQuiet = mQuiet;
    mQuiet = 1;
    void *rEntry = pKind < 0 ? GetEntry(pPath) : GetEntryOfKind(pPath, pKind);
    mQuiet = tWasQuiet;
    return rEntry;
}

void DataLibrary::ReportMissing(const char *pLabel, const char *pPath)
{
    if(mVerbose != 1 || mQuiet) return;
    Debug::ForcePrint("[DataLibrary] %s:  Error, %s not found\n", pLabel, pPath ? pPath : "NULL");
}

static const char *KindName(int32_t pKind)
{
    switch(pKind)
    {
        case DL_KIND_ROOTOBJECT: return "RootObject";
        case DL_KIND_BITMAP: return "Bitmap";
        case DL_KIND_PALETTE: return "Palette";
        case DL_KIND_FONT: return "Font";
        case DL_KIND_SCRIPTVARIABLE: return "ScriptVariable";
        default: return "plain entry";
    }
}

void DataLibrary::ReportWrongKind(const char *pLabel, const char *pPath, int32_t pFound, int32_t pWanted)
{
    if(mVerbose != 1) return;
    Debug::ForcePrint("[DataLibrary] %s:  Error, %s holds a %s, not a %s\n", pLabel, pPath ? pPath : "NULL",
                      KindName(pFound), KindName(pWanted));
}

DataLibraryPath *DataLibrary::NewResolvedPath(const char *pPath)
{
    DataLibraryPath *nPath = new DataLibraryPath;
    nPath->Parse(pPath);
    Resolve(*nPath);
    return nPath;
}

void *DataLibrary::LookUpPart(const char *pPath, int32_t pDepth, const char *pLabel)
{
    DataLibraryPath *nPath = NewResolvedPath(pPath);
    void *rParts[4] = {nPath->rSection, nPath->rCatalogue, nPath->rHeading, nPath->rEntry};
    void *rResult = rParts[pDepth];
    delete nPath;
    if(!rResult) ReportMissing(pLabel, pPath);
    return rResult;
}

NamedLinkedList *DataLibrary::GetSection(const char *pPath)
{
    return static_cast<NamedLinkedList *>(LookUpPart(pPath, 0, "GetSection(N)"));
}

NamedLinkedList *DataLibrary::GetCatalogue(const char *pPath)
{
    return static_cast<NamedLinkedList *>(LookUpPart(pPath, 1, "GetCatalogue(N)"));
}

NamedLinkedList *DataLibrary::GetHeading(const char *pPath)
{
    return static_cast<NamedLinkedList *>(LookUpPart(pPath, 2, "GetHeading(N)"));
}

void *DataLibrary::GetEntry(const char *pPath)
{
    return LookUpPart(pPath, 3, "GetEntry(N)");
}

void *DataLibrary::GetEntryOfKind(const char *pPath, int32_t pKind)
{
    DataLibraryPath *nPath = NewResolvedPath(pPath);
    void *rResult = nullptr;
    int32_t tFound = nPath->rEntryRecord ? nPath->rEntryRecord->mKind : -1;
    if(nPath->rEntryRecord && tFound == pKind) rResult = nPath->rEntry;
    delete nPath;
    if(!rResult && tFound >= 0) ReportWrongKind("GetEntry(N)", pPath, tFound, pKind);
    else if(!rResult) ReportMissing("GetEntry(N)", pPath);
    return rResult;
}

int32_t DataLibrary::GetEntryKind(const char *pPath)
{
    DataLibraryPath *nPath = NewResolvedPath(pPath);
    int32_t tKind = nPath->rEntryRecord ? nPath->rEntryRecord->mKind : -1;
    delete nPath;
    return tKind;
}

bool DataLibrary::Exists(const char *pPath)
{
    return GetEntry(pPath) != nullptr;
}

// ---------------------------------------------------------------------------------------------
// Building and removing.

void DataLibrary::AddPath(const char *pPath)
{
    if(!pPath) return;
    DataLibraryPath *nPath = NewResolvedPath(pPath);
    if(nPath->mTooLong)
    {
        delete nPath;
        return;
    }
    rCurrentSection = nPath->rSection;
    rCurrentCatalogue = nPath->rCatalogue;
    rCurrentHeading = nPath->rHeading;

    if(nPath->mSectionName[0] != '\0' && !rCurrentSection)
    {
        rCurrentSection = new NamedLinkedList(1);
        mRootList->AddElementWithDeleter(nPath->mSectionName, rCurrentSection, DeleteList);
    }
    if(nPath->mCatalogueName[0] != '\0' && rCurrentSection && !rCurrentCatalogue)
    {
        rCurrentCatalogue = new NamedLinkedList(1);
        rCurrentSection->AddElementWithDeleter(nPath->mCatalogueName, rCurrentCatalogue, DeleteList);
    }
    if(nPath->mHeadingName[0] != '\0' && rCurrentCatalogue && !rCurrentHeading)
    {
        rCurrentHeading = new NamedLinkedList(1);
        rCurrentCatalogue->AddElementWithDeleter(nPath->mHeadingName, rCurrentHeading, DeleteList);
    }
    delete nPath;
}

void DataLibrary::AddEntry(const char *pPath, void *pObject, DeleteFunctionPtr pDeleter, int32_t pKind)
{
    if(!pPath || !pObject) return;
    DataLibraryPath *nPath = NewResolvedPath(pPath);
    if(nPath->rHeading && nPath->mEntryName[0] != '\0')
    {
        if(pKind == DL_KIND_FROM_DELETER)
        {
            pKind = DL_KIND_OTHER;
            if(pDeleter == DeleteRootObject) pKind = DL_KIND_ROOTOBJECT;
            else if(pDeleter == ScriptVariable::DeleteThis) pKind = DL_KIND_SCRIPTVARIABLE;
        }
        DataLibraryEntry *nRecord = static_cast<DataLibraryEntry *>(malloc(sizeof(DataLibraryEntry)));
        nRecord->rObject = pObject;
        nRecord->rDeleter = pDeleter;
        nRecord->mKind = pKind;
        nPath->rHeading->AddElementWithDeleter(nPath->mEntryName, nRecord, DeleteEntryRecord);
    }
    delete nPath;
}

void DataLibrary::RegisterPointer(const char *pPath, void *pObject, int32_t pKind)
{
    AddEntry(pPath, pObject, DeleteNothing, pKind);
}

void DataLibrary::RemoveEntry(const char *pPath)
{
    if(!pPath) return;
    DataLibraryPath *nPath = NewResolvedPath(pPath);
    if(nPath->rEntryRecord)
    {
        if(EntryDestroysObject(nPath->rEntryRecord)) ForgetObject(nPath->rEntry);
        nPath->rHeading->RemoveElementByData(nPath->rEntryRecord);
    }
    delete nPath;
}

void DataLibrary::ForgetTree(NamedLinkedList *pList, int32_t pDepth)
{
    for(void *rData = pList->PushIterator(); rData; rData = pList->IterateNext())
    {
        if(pDepth < 3)
            ForgetTree(static_cast<NamedLinkedList *>(rData), pDepth + 1);
        else if(EntryDestroysObject(static_cast<DataLibraryEntry *>(rData)))
            ForgetObject(static_cast<DataLibraryEntry *>(rData)->rObject);
    }
}

// Kept objects belong to whoever still refers to them; only the tree's own lists and records
// go away, so nothing of the library's is left unreachable.
void DataLibrary::KeepTreeObjects(NamedLinkedList *pList, int32_t pDepth)
{
    for(void *rData = pList->PushIterator(); rData; rData = pList->IterateNext())
    {
        if(pDepth < 3)
            KeepTreeObjects(static_cast<NamedLinkedList *>(rData), pDepth + 1);
        else
            static_cast<DataLibraryEntry *>(rData)->rDeleter = DeleteNothing;
    }
}

void DataLibrary::ClearActiveState()
{
    mActiveEntityStack->Clear();
    rActiveObject = nullptr;
}

void DataLibrary::Purge(const char *pPath, bool pKeepObjects)
{
    if(!pPath) return;

    if(!strcmp(pPath, "ALL"))
    {
        // Kept objects stay alive for whoever refers to them; destroyed ones must not linger
        // in the active slot, the stack or the index.
        if(pKeepObjects)
            KeepTreeObjects(mRootList, 0);
        else
            ForgetTree(mRootList, 0);
        delete mRootList;
        mRootList = new NamedLinkedList(1);
        rCurrentSection = rCurrentCatalogue = rCurrentHeading = nullptr;
        return;
    }

    DataLibraryPath *nPath = NewResolvedPath(pPath);
    if(nPath->rEntryRecord)
    {
        if(EntryDestroysObject(nPath->rEntryRecord)) ForgetObject(nPath->rEntry);
        nPath->rHeading->RemoveElementByData(nPath->rEntryRecord);
        delete nPath;
        return;
    }

    NamedLinkedList *rParent = nullptr, *rRemoved = nullptr;
    int32_t tDepth = 0;
    if(nPath->rHeading)
    {
        rParent = nPath->rCatalogue;
        rRemoved = nPath->rHeading;
        tDepth = 3;
    }
    else if(nPath->rCatalogue)
    {
        rParent = nPath->rSection;
        rRemoved = nPath->rCatalogue;
        tDepth = 2;
    }
    else if(nPath->rSection)
    {
        rParent = mRootList;
        rRemoved = nPath->rSection;
        tDepth = 1;
    }
    delete nPath;
    if(!rRemoved) return;

    if(pKeepObjects)
        KeepTreeObjects(rRemoved, tDepth);
    else
        ForgetTree(rRemoved, tDepth);
    rParent->RemoveElementByData(rRemoved);
    rCurrentSection = rCurrentCatalogue = rCurrentHeading = nullptr;
    ClearActiveState();
}

// ---------------------------------------------------------------------------------------------
// Active object.

void DataLibrary::SetActiveObject(const char *pPath)
{
    rActiveObject = static_cast<RootObject *>(GetEntryOfKind(pPath, DL_KIND_ROOTOBJECT));
}

bool DataLibrary::ActiveIsType(int32_t pCode) const
{
    return rActiveObject && rActiveObject->GetType() == pCode;
}

bool DataLibrary::ActiveTypeInRange(int32_t pLow, int32_t pHigh) const
{
    if(!rActiveObject) return false;
    int32_t tType = rActiveObject->GetType();
    return pLow <= tType && tType <= pHigh;
}

bool ActiveIsTypeOrWarn(int32_t pCode, const char *pTypeName)
{
    DataLibrary *rLibrary = DataLibrary::Fetch();
    if(rLibrary && rLibrary->ActiveIsType(pCode)) return true;
    fprintf(stderr, "Warning, current active object is not %s type. %p\n", pTypeName,
            rLibrary ? (void *)rLibrary->GetActiveObject() : nullptr);
    return false;
}

int32_t DataLibrary::GetActiveObjectType() const
{
    if(!rActiveObject)
    {
        fprintf(stderr, "DataLibrary::GetActiveObjectType warning, active object is currently NULL.\n");
        return -1;
    }
    return rActiveObject->GetType();
}

void DataLibrary::PushActiveEntity(RootObject *pObject)
{
    mActiveEntityStack->AddElementAsHead("X|DL_ActiveEntity", rActiveObject ? rActiveObject : mSentinel);
    rActiveObject = pObject;
}

void DataLibrary::PushAndClearActive()
{
    PushActiveEntity(nullptr);
}

RootObject *DataLibrary::PopActiveEntity()
{
    RootObject *rWasActive = rActiveObject;
    RootObject *rTop = static_cast<RootObject *>(mActiveEntityStack->GetHeadData());
    if(mActiveEntityStack->GetCount() > 0) mActiveEntityStack->RemoveHead();
    rActiveObject = (rTop == mSentinel) ? nullptr : rTop;
    return rWasActive;
}

// ---------------------------------------------------------------------------------------------
// Handles.

int32_t DataLibrary::IndexObject(RootObject *pObject)
{
    if(!pObject) return 0;
    DataLibraryHandle *nRecord = static_cast<DataLibraryHandle *>(malloc(sizeof(DataLibraryHandle)));
    nRecord->mHandle = mNextHandle;
    nRecord->rObject = pObject;
    mPointerIndex->AddElementWithDeleter("X", nRecord, DeleteWithFree);
    mNextHandle++;
    return nRecord->mHandle;
}

RootObject *DataLibrary::GetIndexedObject(int32_t pHandle)
{
    if(pHandle == 0) return nullptr;
    for(void *rData = mPointerIndex->PushIterator(); rData; rData = mPointerIndex->IterateNext())
    {
        DataLibraryHandle *rRecord = static_cast<DataLibraryHandle *>(rData);
        if(rRecord->mHandle == pHandle)
        {
            mPointerIndex->PopIterator();
            return rRecord->rObject;
        }
    }
    return nullptr;
}

void DataLibrary::ClearPointerIndex()
{
    mPointerIndex->Clear();
    mNextHandle = 1;
}

void DataLibrary::ForgetObject(void *pObject)
{
    if(!pObject || pObject == static_cast<void *>(mSentinel)) return;
    LibraryHolder::ReleaseEverywhere(pObject);
    if(static_cast<void *>(rActiveObject) == pObject) rActiveObject = nullptr;

    // Stack places stay, as "none", so every later pop still matches its push.
    for(void *rData = mActiveEntityStack->SetCursorToHead(); rData; rData = mActiveEntityStack->CursorNext())
    {
        if(rData == pObject) mActiveEntityStack->GetCursorNode()->rData = mSentinel;
    }

    for(void *rData = mPointerIndex->SetCursorToHead(); rData; rData = mPointerIndex->CursorNext())
    {
        if(static_cast<void *>(static_cast<DataLibraryHandle *>(rData)->rObject) == pObject)
            mPointerIndex->RemoveAtCursor();
    }
}

// ---------------------------------------------------------------------------------------------
// Watchers.

void DataLibrary::AddWatcherList(const char *pName)
{
    if(!pName) return;
    mWatcherLists->AddElementWithDeleter(pName, new NamedLinkedList(1), DeleteList);
}

void DataLibrary::AddWatcher(const char *pListName, const char *pPath, DataLibraryWatcherFunc pCallback)
{
    if(!pListName) return;
    NamedLinkedList *rList = static_cast<NamedLinkedList *>(mWatcherLists->GetElementByName(pListName));
    if(!rList) return;
    DataLibraryWatcher *nWatcher = static_cast<DataLibraryWatcher *>(malloc(sizeof(DataLibraryWatcher)));
    nWatcher->mPath = nullptr;
    ResetString(&nWatcher->mPath, pPath);
    nWatcher->rCallback = pCallback ? pCallback : WatcherDoesNothing;
    rList->AddElementWithDeleter("X", nWatcher, DeleteWatcher);
}

void DataLibrary::RemoveWatcherList(const char *pName)
{
    if(!pName) return;
    mWatcherLists->RemoveElementByName(pName);
}

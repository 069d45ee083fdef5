#include "core/data/FileSystemScanner.h"

#include <allegro5/allegro.h>
#include <cstdlib>
#include <cstring>
#include <sys/stat.h>

#include "core/DebugPrint.h"
#include "core/Utilities.h"

CorvelFileSystem::CorvelFileSystem()
{
    mEntryCount = 0;
    mEntries = nullptr;
    mRecursing = 0;
    mRootPath = nullptr;
    mCursor = 0;
    mSkipDirectories = 0;
    mNoParentEntry = 0;
    mRecursive = 1;
    mCapacity = 0;
}

CorvelFileSystem::~CorvelFileSystem()
{
    Clear();
}

void CorvelFileSystem::DeleteThis(void *pScanner)
{
    delete static_cast<CorvelFileSystem *>(pScanner);
}

void CorvelFileSystem::Clear()
{
    for(int32_t i = 0; i < mEntryCount; i++)
    {
        free(mEntries[i]->mPath);
        free(mEntries[i]);
    }
    free(mEntries);
    mEntries = nullptr;
    mEntryCount = 0;
    mCapacity = 0;
    ResetString(&mRootPath, nullptr);
}

FileSystemEntry *CorvelFileSystem::GetEntry(int32_t pIndex)
{
    if(pIndex < 0 || pIndex >= mEntryCount) return nullptr;
    return mEntries[pIndex];
}

const char *CorvelFileSystem::GetCurrentPath()
{
    FileSystemEntry *rEntry = GetEntry(mCursor);
    return rEntry ? rEntry->mPath : nullptr;
}

void CorvelFileSystem::AddEntry(const char *pPath, uint8_t pIsParent)
{
    if(mEntryCount >= mCapacity)
    {
        int32_t tNewCapacity = mCapacity < 16 ? 16 : mCapacity * 2;
        FileSystemEntry **nEntries = static_cast<FileSystemEntry **>(realloc(mEntries, sizeof(FileSystemEntry *) * tNewCapacity));
        if(!nEntries) return;
        mEntries = nEntries;
        mCapacity = tNewCapacity;
    }
    FileSystemEntry *nEntry = static_cast<FileSystemEntry *>(malloc(sizeof(FileSystemEntry)));
    if(!nEntry) return;
    nEntry->mPath = nullptr;
    ResetString(&nEntry->mPath, pPath);
    nEntry->mIsParentEntry = pIsParent;
    mEntries[mEntryCount] = nEntry;
    mEntryCount++;
}

// Copies the text with "\" turned into "/" and exactly one "/" at the end. False when the
// result would not fit the buffer.
static bool MakeDirectoryPath(char *pBuffer, size_t pBufferSize, const char *pPath)
{
    size_t tLength = strlen(pPath);
    if(tLength == 0) return false;
    while(tLength > 1 && (pPath[tLength - 1] == '/' || pPath[tLength - 1] == '\\')) tLength--;
    if(tLength + 2 > pBufferSize) return false;
    for(size_t i = 0; i < tLength; i++) pBuffer[i] = pPath[i] == '\\' ? '/' : pPath[i];
    if(tLength == 0 || pBuffer[tLength - 1] != '/') pBuffer[tLength++] = '/';
    pBuffer[tLength] = '\0';
    return true;
}

// Descending follows real directories only: a symbolic link to a directory could lead back
// up the tree.
static bool IsSymbolicLink(const char *pPath)
{
    struct stat tInfo;
    return lstat(pPath, &tInfo) == 0 && S_ISLNK(tInfo.st_mode);
}

void CorvelFileSystem::ScanInto(const char *pDirectory, int32_t pDepth)
{
    char tBase[FS_MAX_PATH + 2];
    if(!MakeDirectoryPath(tBase, sizeof(tBase), pDirectory)) return;
    size_t tBaseLength = strlen(tBase);

    ALLEGRO_FS_ENTRY *nDirectory = al_create_fs_entry(tBase);
    if(!nDirectory) return;
    if(!al_open_directory(nDirectory))
    {
        al_destroy_fs_entry(nDirectory);
        return;
    }

    ALLEGRO_FS_ENTRY *nItem;
    while((nItem = al_read_directory(nDirectory)) != nullptr)
    {
        // The platform reports full names; the listing keeps the caller's form of the path.
        const char *rFullName = al_get_fs_entry_name(nItem);
        const char *rBaseName = rFullName ? rFullName : "";
        for(const char *c = rBaseName; *c; c++)
        {
            if(*c == '/' || *c == '\\') rBaseName = c + 1;
        }
        bool tIsDirectory = (al_get_fs_entry_mode(nItem) & ALLEGRO_FILEMODE_ISDIR) != 0;
        size_t tNameLength = strlen(rBaseName);
        size_t tPathLength = tBaseLength + tNameLength + (tIsDirectory ? 1 : 0);

        if(tNameLength > 0 && tPathLength <= FS_MAX_PATH)
        {
            char tPath[FS_MAX_PATH + 1];
            memcpy(tPath, tBase, tBaseLength);
            for(size_t i = 0; i < tNameLength; i++) tPath[tBaseLength + i] = rBaseName[i] == '\\' ? '/' : rBaseName[i];
            tPath[tBaseLength + tNameLength] = '\0';

            if(tIsDirectory && mRecursive && pDepth < FS_MAX_DEPTH && !IsSymbolicLink(tPath))
            {
                uint8_t tWasRecursing = mRecursing;
                mRecursing = 1;
                ScanInto(tPath, pDepth + 1);
                mRecursing = tWasRecursing;
            }
            if(!(tIsDirectory && mSkipDirectories))
            {
                if(tIsDirectory)
                {
                    tPath[tPathLength - 1] = '/';
                    tPath[tPathLength] = '\0';
                }
                AddEntry(tPath, 0);
            }
        }
        al_destroy_fs_entry(nItem);
    }
    al_close_directory(nDirectory);
    al_destroy_fs_entry(nDirectory);
}

static int CompareEntries(const void *pA, const void *pB)
{
    const FileSystemEntry *rA = *static_cast<FileSystemEntry *const *>(pA);
    const FileSystemEntry *rB = *static_cast<FileSystemEntry *const *>(pB);
    if(rA->mIsParentEntry != rB->mIsParentEntry) return rA->mIsParentEntry ? -1 : 1;
    return strcmp(rA->mPath, rB->mPath);
}

void CorvelFileSystem::ScanDirectory(const char *pPath)
{
    Clear();
    mCursor = 0;
    if(!pPath) return;

    char tRoot[FS_MAX_PATH + 2];
    if(!MakeDirectoryPath(tRoot, sizeof(tRoot), pPath)) return;
    ResetString(&mRootPath, tRoot);

    if(!mNoParentEntry && strlen(tRoot) + 2 <= FS_MAX_PATH)
    {
        char tParent[FS_MAX_PATH + 1];
        memcpy(tParent, tRoot, strlen(tRoot));
        memcpy(tParent + strlen(tRoot), "..", 3);
        AddEntry(tParent, 1);
    }

    mRecursing = 0;
    ScanInto(tRoot, 0);

    if(mEntryCount > 1) qsort(mEntries, mEntryCount, sizeof(FileSystemEntry *), CompareEntries);

    Debug::PushPrint(0, "Directory scanned: %s\n", mRootPath);
    Debug::Print("Found %i elements.\n", mEntryCount);
    for(int32_t i = 0; i < mEntryCount; i++) Debug::Print(" %s\n", mEntries[i]->mPath);
    Debug::PopPrint("Done.\n");
}

char *GetFileNameFromPath(const char *pPath)
{
    if(!pPath) return nullptr;
    const char *rStart = pPath;
    for(const char *c = pPath; *c; c++)
    {
        if(*c == '/' || *c == '\\') rStart = c + 1;
    }
    char *nCopy = nullptr;
    ResetString(&nCopy, rStart);
    return nCopy;
}

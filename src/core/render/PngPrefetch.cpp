#include "core/render/PngPrefetch.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <pthread.h>

namespace
{
    const int cWorkerCount = 3;
    // How many files past the one taken are queued; also the number of slots.
    const int cLookAhead = 8;
    const size_t cPathSize = 512;
    // A folder with more PNG files than this is only partly looked ahead in.
    const int cMaxListed = 1024;

    enum SlotState
    {
        SLOT_EMPTY,
        SLOT_QUEUED,
        SLOT_DECODING,
        SLOT_DONE
    };

    struct Slot
    {
        SlotState mState;
        // Set when a guess turned out wrong while a worker was on it: the worker drops it.
        bool mAbandoned;
        char mPath[cPathSize];
        PngDecodeResult mResult;
        int32_t mWidth;
        int32_t mHeight;
        PngBuffer mPixels;
    };

    // The sorted PNG names of the last folder looked in, so a run of loads from one folder
    // reads the listing once.
    struct Listing
    {
        char mFolder[cPathSize];
        char **mNames;
        int mCount;
    };

    pthread_mutex_t xLock = PTHREAD_MUTEX_INITIALIZER;
    pthread_cond_t xWorkReady = PTHREAD_COND_INITIALIZER;
    pthread_cond_t xSlotDone = PTHREAD_COND_INITIALIZER;
    pthread_t xWorkers[cWorkerCount];
    int xWorkersRunning = 0;
    bool xStopping = false;
    Slot xSlots[cLookAhead];
    Listing xListing = {{0}, nullptr, 0};
    int32_t xHits = 0;

    void ClearSlot(Slot *pSlot)
    {
        FreePngBuffer(&pSlot->mPixels);
        pSlot->mState = SLOT_EMPTY;
        pSlot->mAbandoned = false;
        pSlot->mPath[0] = '\0';
    }

    // With the lock held.
    Slot *FindSlot(const char *pPath)
    {
        for(int i = 0; i < cLookAhead; i++)
        {
            if(xSlots[i].mState != SLOT_EMPTY && !xSlots[i].mAbandoned && !strcmp(xSlots[i].mPath, pPath)) return &xSlots[i];
        }
        return nullptr;
    }

    void *WorkerMain(void *pUnused)
    {
        pthread_mutex_lock(&xLock);
        while(!xStopping)
        {
            Slot *rSlot = nullptr;
            for(int i = 0; i < cLookAhead && !rSlot; i++)
            {
                if(xSlots[i].mState == SLOT_QUEUED) rSlot = &xSlots[i];
            }
            if(!rSlot)
            {
                pthread_cond_wait(&xWorkReady, &xLock);
                continue;
            }

            // The slot is this worker's until it is done: others skip it, and the main thread
            // only marks it abandoned.
            rSlot->mState = SLOT_DECODING;
            char tPath[cPathSize];
            memcpy(tPath, rSlot->mPath, cPathSize);
            PngBuffer tPixels = rSlot->mPixels;
            rSlot->mPixels.mData = nullptr;
            rSlot->mPixels.mCapacity = 0;
            pthread_mutex_unlock(&xLock);

            int32_t tWidth = 0, tHeight = 0;
            PngDecodeResult tResult = DecodePngFile(tPath, &tPixels, &tWidth, &tHeight, true);

            pthread_mutex_lock(&xLock);
            rSlot->mPixels = tPixels;
            if(rSlot->mAbandoned)
            {
                ClearSlot(rSlot);
                continue;
            }
            rSlot->mResult = tResult;
            rSlot->mWidth = tWidth;
            rSlot->mHeight = tHeight;
            rSlot->mState = SLOT_DONE;
            pthread_cond_broadcast(&xSlotDone);
        }
        pthread_mutex_unlock(&xLock);
        return nullptr;
    }

    void FreeListing()
    {
        for(int i = 0; i < xListing.mCount; i++) free(xListing.mNames[i]);
        free(xListing.mNames);
        xListing.mNames = nullptr;
        xListing.mCount = 0;
        xListing.mFolder[0] = '\0';
    }

    int CompareNames(const void *pA, const void *pB)
    {
        return strcmp(*(char *const *)pA, *(char *const *)pB);
    }

    bool EndsWithPng(const char *pName)
    {
        size_t tLength = strlen(pName);
        return tLength > 4 && !strcmp(pName + tLength - 4, ".png");
    }

    // Reads the folder's PNG names into the listing, sorted, unless it holds that folder already.
    void ListFolder(const char *pFolder)
    {
        if(xListing.mNames && !strcmp(xListing.mFolder, pFolder)) return;
        FreeListing();
        snprintf(xListing.mFolder, sizeof(xListing.mFolder), "%s", pFolder);
        DIR *rFolder = opendir(pFolder[0] ? pFolder : ".");
        if(!rFolder) return;
        xListing.mNames = (char **)malloc(sizeof(char *) * cMaxListed);
        struct dirent *rEntry;
        while(xListing.mNames && xListing.mCount < cMaxListed && (rEntry = readdir(rFolder)) != nullptr)
        {
            if(!EndsWithPng(rEntry->d_name)) continue;
            char *nName = strdup(rEntry->d_name);
            if(nName) xListing.mNames[xListing.mCount++] = nName;
        }
        closedir(rFolder);
        if(xListing.mCount > 1) qsort(xListing.mNames, xListing.mCount, sizeof(char *), CompareNames);
    }

    // With the lock held: drops the guesses that are no longer ahead of the file just taken,
    // and queues the next files of its folder into the free slots.
    void QueueAfter(const char *pPath)
    {
        const char *rSlash = strrchr(pPath, '/');
        size_t tFolderLength = rSlash ? (size_t)(rSlash - pPath) + 1 : 0;
        if(tFolderLength >= cPathSize) return;
        char tFolder[cPathSize];
        memcpy(tFolder, pPath, tFolderLength);
        tFolder[tFolderLength] = '\0';
        ListFolder(tFolder);

        int tStart = xListing.mCount;
        for(int i = 0; i < xListing.mCount; i++)
        {
            if(!strcmp(xListing.mNames[i], pPath + tFolderLength))
            {
                tStart = i + 1;
                break;
            }
        }
        int tEnd = tStart + cLookAhead < xListing.mCount ? tStart + cLookAhead : xListing.mCount;
        char tAhead[cLookAhead][cPathSize];
        int tAheadCount = 0;
        for(int i = tStart; i < tEnd; i++)
        {
            int tWritten = snprintf(tAhead[tAheadCount], cPathSize, "%s%s", tFolder, xListing.mNames[i]);
            if(tWritten > 0 && (size_t)tWritten < cPathSize) tAheadCount++;
        }

        for(int s = 0; s < cLookAhead; s++)
        {
            Slot *rSlot = &xSlots[s];
            if(rSlot->mState == SLOT_EMPTY || rSlot->mAbandoned) continue;
            bool tStillAhead = false;
            for(int i = 0; i < tAheadCount && !tStillAhead; i++) tStillAhead = !strcmp(rSlot->mPath, tAhead[i]);
            if(tStillAhead) continue;
            if(rSlot->mState == SLOT_DECODING) rSlot->mAbandoned = true;
            else ClearSlot(rSlot);
        }

        bool tQueued = false;
        for(int i = 0; i < tAheadCount; i++)
        {
            if(FindSlot(tAhead[i])) continue;
            Slot *rFree = nullptr;
            for(int s = 0; s < cLookAhead && !rFree; s++)
            {
                if(xSlots[s].mState == SLOT_EMPTY) rFree = &xSlots[s];
            }
            if(!rFree) break;
            memcpy(rFree->mPath, tAhead[i], cPathSize);
            rFree->mState = SLOT_QUEUED;
            tQueued = true;
        }
        if(tQueued) pthread_cond_broadcast(&xWorkReady);
    }
}

bool StartPngPrefetch()
{
    if(xWorkersRunning > 0) return true;
    pthread_mutex_lock(&xLock);
    xStopping = false;
    pthread_mutex_unlock(&xLock);
    for(int i = 0; i < cWorkerCount; i++)
    {
        if(pthread_create(&xWorkers[xWorkersRunning], nullptr, WorkerMain, nullptr) == 0) xWorkersRunning++;
    }
    return xWorkersRunning > 0;
}

void StopPngPrefetch()
{
    pthread_mutex_lock(&xLock);
    xStopping = true;
    pthread_cond_broadcast(&xWorkReady);
    pthread_mutex_unlock(&xLock);
    for(int i = 0; i < xWorkersRunning; i++) pthread_join(xWorkers[i], nullptr);
    xWorkersRunning = 0;

    for(int i = 0; i < cLookAhead; i++) ClearSlot(&xSlots[i]);
    FreeListing();
}

PngDecodeResult TakePngPixels(const char *pPath, PngBuffer *pBuffer, int32_t *pWidth, int32_t *pHeight)
{
    if(!pPath || !pBuffer || !pWidth || !pHeight) return PNG_FAILED;
    if(xWorkersRunning == 0) return DecodePngFile(pPath, pBuffer, pWidth, pHeight);

    bool tServed = false;
    pthread_mutex_lock(&xLock);
    Slot *rSlot = FindSlot(pPath);
    while(rSlot && rSlot->mState != SLOT_DONE) pthread_cond_wait(&xSlotDone, &xLock);
    if(rSlot && rSlot->mResult == PNG_DECODED)
    {
        // The caller's buffer goes to the slot, to be reused by the next decode there.
        PngBuffer tSwap = *pBuffer;
        *pBuffer = rSlot->mPixels;
        rSlot->mPixels = tSwap;
        *pWidth = rSlot->mWidth;
        *pHeight = rSlot->mHeight;
        tServed = true;
        xHits++;
    }
    if(rSlot)
    {
        PngBuffer tKeep = rSlot->mPixels;
        rSlot->mPixels.mData = nullptr;
        rSlot->mPixels.mCapacity = 0;
        ClearSlot(rSlot);
        rSlot->mPixels = tKeep;
    }
    QueueAfter(pPath);
    pthread_mutex_unlock(&xLock);

    if(tServed) return PNG_DECODED;
    return DecodePngFile(pPath, pBuffer, pWidth, pHeight);
}

int32_t GetPngPrefetchHits()
{
    pthread_mutex_lock(&xLock);
    int32_t tHits = xHits;
    pthread_mutex_unlock(&xLock);
    return tHits;
}

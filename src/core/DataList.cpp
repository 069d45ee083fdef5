#include "core/DataList.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "core/Utilities.h"

DataList::DataList()
{
    mStrictFlag = 0;
    mChangedFlag = 0;
    mEntries = new NamedLinkedList(1);
    mEntryKinds = new NamedLinkedList(1);
}

DataList::~DataList()
{
    delete mEntries;
    delete mEntryKinds;
}

uint8_t DataList::IsChanged()
{
    return mChangedFlag;
}

int32_t DataList::GetEntryCount()
{
    return mEntries->GetCount();
}

void *DataList::GetDataEntry(const char *pName)
{
    return mEntries->GetElementByName(pName);
}

int32_t DataList::GetDataEntryKind(const char *pName)
{
    int32_t *rKind = (int32_t *)mEntryKinds->GetElementByIndex(mEntries->GetIndexByName(pName));
    return rKind ? *rKind : TYPEDVALUE_NONE;
}

void DataList::ClearChangedFlag()
{
    mChangedFlag = 0;
}

bool DataList::DefineDataEntry(const char *pName, void *pData, DeleteFunctionPtr pDeleter, int32_t pKind)
{
    uint8_t tOldStrict = mStrictFlag;
    mStrictFlag = 0;
    bool tTaken = AddDataEntry(pName, pData, pDeleter, pKind);
    mStrictFlag = tOldStrict;
    return tTaken;
}

bool DataList::AddDataEntry(const char *pName, void *pData, DeleteFunctionPtr pDeleter, int32_t pKind)
{
    if(!pName || !pData) return false;

    bool tAnonymous = !strcmp(pName, "X") || !strncmp(pName, "X|", 2);
    bool tReplaced = false;
    if(!tAnonymous)
    {
        int32_t tIndex;
        while((tIndex = mEntries->GetIndexByName(pName)) != -1)
        {
            mEntries->RemoveElementByIndex(tIndex);
            mEntryKinds->RemoveElementByIndex(tIndex);
            tReplaced = true;
        }
    }

    if(mStrictFlag && !tReplaced)
    {
        fprintf(stderr, "DataList::AddDataEntry:  Failed, strict flag is on and entry %s does not exist\n", pName);
        return false;
    }

    int32_t *nKind = (int32_t *)malloc(sizeof(int32_t));
    *nKind = pKind;
    mEntries->AddElementWithDeleter(pName, pData, pDeleter);
    mEntryKinds->AddElementWithDeleter(pName, nKind, DeleteWithFree);
    return true;
}

bool DataList::AddDataEntryFreed(const char *pName, void *pData)
{
    return AddDataEntry(pName, pData, DeleteWithFree);
}

bool DataList::AddDataEntryReferenced(const char *pName, void *pData)
{
    return AddDataEntry(pName, pData, DeleteNothing);
}

void DataList::AddNumberEntry(const char *pName, float pValue)
{
    if(!pName) return;
    float *nValue = (float *)malloc(sizeof(float));
    *nValue = pValue;
    if(!AddDataEntry(pName, nValue, DeleteWithFree, TYPEDVALUE_FLOAT)) free(nValue);
}

void DataList::AddStringEntry(const char *pName, const char *pText)
{
    if(!pName || !pText) return;
    char *nText = nullptr;
    ResetString(&nText, pText);
    if(!AddDataEntry(pName, nText, DeleteWithFree, TYPEDVALUE_STRING)) free(nText);
}

void DataList::ClearEntries()
{
    mEntries->Clear();
    mEntryKinds->Clear();
}

// --- Typed entries of engine objects' lists -----------------------------------------------

float *FindDataNumber(DataList *pList, const char *pName)
{
    if(!pList || !pName || pList->GetDataEntryKind(pName) != TYPEDVALUE_FLOAT) return nullptr;
    return (float *)pList->GetDataEntry(pName);
}

bool ReadDataNumber(DataList *pList, const char *pName, float &sValue)
{
    float *rValue = FindDataNumber(pList, pName);
    if(!rValue) return false;
    sValue = *rValue;
    return true;
}

float DefineDataNumber(DataList *pList, const char *pName, float pFallback)
{
    float tValue = pFallback;
    if(ReadDataNumber(pList, pName, tValue)) return tValue;
    SetDataNumber(pList, pName, pFallback);
    return pFallback;
}

// Entity lists are strict, so the engine's own entries are defined, not merely set.
void SetDataNumber(DataList *pList, const char *pName, float pValue)
{
    if(!pList || !pName) return;
    float *nValue = (float *)malloc(sizeof(float));
    *nValue = pValue;
    if(!pList->DefineDataEntry(pName, nValue, DeleteWithFree, TYPEDVALUE_FLOAT)) free(nValue);
}

void SetDataString(DataList *pList, const char *pName, const char *pText)
{
    if(!pList || !pName || !pText) return;
    char *nText = nullptr;
    ResetString(&nText, pText);
    if(!pList->DefineDataEntry(pName, nText, DeleteWithFree, TYPEDVALUE_STRING)) free(nText);
}

const char *ReadDataString(DataList *pList, const char *pName)
{
    if(!pList || !pName || pList->GetDataEntryKind(pName) != TYPEDVALUE_STRING) return nullptr;
    return (const char *)pList->GetDataEntry(pName);
}

#pragma once
#include <cstdint>

#include "core/NamedLinkedList.h"

struct lua_State;

// A named store of script data: numbers (heap f32) and strings (heap copies) under names.
// Names are unique except "X" and names that begin with "X|", which accumulate. With the
// strict flag on, a value can only replace an existing one, not introduce a new name.
//
// Each entry remembers what kind of value it holds (TYPEDVALUE_FLOAT, TYPEDVALUE_STRING, or
// TYPEDVALUE_NONE for data added without a kind), so a script that reads an entry as the wrong
// kind gets 0 rather than a float read as text or a short string read as a float.
//
// Every add goes through the virtual AddDataEntry, so a subclass that overrides it sees them
// all. The adds return whether the list took the data; data not taken stays the caller's.
class DataList
{
public:
    DataList();
    virtual ~DataList();

    virtual uint8_t IsChanged();
    virtual int32_t GetEntryCount();
    virtual void *GetDataEntry(const char *pName);
    virtual void ClearChangedFlag();
    virtual bool DefineDataEntry(const char *pName, void *pData, DeleteFunctionPtr pDeleter, int32_t pKind = 0);
    virtual bool AddDataEntry(const char *pName, void *pData, DeleteFunctionPtr pDeleter, int32_t pKind = 0);
    virtual bool AddDataEntryFreed(const char *pName, void *pData);
    virtual bool AddDataEntryReferenced(const char *pName, void *pData);
    virtual void AddNumberEntry(const char *pName, float pValue);
    virtual void AddStringEntry(const char *pName, const char *pText);
    virtual void ClearEntries();

    void SetStrictFlag(uint8_t pFlag) { mStrictFlag = pFlag; }
    uint8_t GetStrictFlag() const { return mStrictFlag; }

    // Kind of the first entry with that name; TYPEDVALUE_NONE when missing or untyped.
    int32_t GetDataEntryKind(const char *pName);

protected:
    uint8_t mStrictFlag;
    uint8_t mChangedFlag;

private:
    NamedLinkedList *mEntries;
    // Kinds of the entries, kept index for index beside them.
    NamedLinkedList *mEntryKinds;

    DataList(const DataList &) = delete;
    DataList &operator=(const DataList &) = delete;
};

// Numbers in a DataList: a missing entry or one that holds no number reads as not found.
// FindDataNumber gives the number where the list keeps it, so a caller may change it in place.
float *FindDataNumber(DataList *pList, const char *pName);
bool ReadDataNumber(DataList *pList, const char *pName, float &sValue);
// Reads the number, first defining it with the fallback when missing.
float DefineDataNumber(DataList *pList, const char *pName, float pFallback);
void SetDataNumber(DataList *pList, const char *pName, float pValue);
void SetDataString(DataList *pList, const char *pName, const char *pText);
const char *ReadDataString(DataList *pList, const char *pName);

// Registers "DataList_Define", "DataList_SetData" and "DataList_GetData".
void RegisterDataListLua(lua_State *L);

// The bodies of those globals acting on a given list (null reads as no active object), with
// the same checks, messages and results. Bindings of objects that hold a DataList as a member
// run these on it rather than making the list itself the active object.
int DataListDefineOn(lua_State *L, DataList *pList);
int DataListSetDataOn(lua_State *L, DataList *pList);
int DataListGetDataOn(lua_State *L, DataList *pList);

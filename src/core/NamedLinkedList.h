#pragma once
#include <cstdint>

// Releases an entry's data when an owning list drops the entry.
typedef void (*DeleteFunctionPtr)(void *);

// Shared deleters for list entries.
void DeleteWithFree(void *pData);             // free(pData)
void DeleteNothing(void *pData);              // the entry only references its data
void DeleteFirstMember(void *pData);          // frees the pointer held in the record's first field
void DeleteFirstMemberAndRecord(void *pData); // frees that pointer, then the record

struct NamedLinkedListNode
{
    char *mName;
    NamedLinkedListNode *rNext;
    NamedLinkedListNode *rPrev;
    void *rData;
    DeleteFunctionPtr rDeleter;
};

struct NamedLinkedListIterator
{
    NamedLinkedListNode *rNode;
    NamedLinkedListIterator *rBelow;
};

// The engine's general container: a doubly linked list of named entries with one cursor and a
// stack of nested iterations. Lookups are linear and take the first match from the head.
//
// Walking: a walk pushes an iteration, uses the data the push returned and calls IterateNext
// until it returns null; a walk that stops early must call PopIterator. A null data pointer
// ends such a walk early with its iteration still open, so walked lists hold no null data.
// Removal while walking uses the cursor: SetCursorToHead, per entry RemoveAtCursor (or
// DetachAtCursor) or nothing, then CursorNext.
//
// Removal guard: whatever removes an entry (by name, index, data, head, tail or cursor), the
// cursor and every open iteration that stood on it are moved to the entry before it. When the
// head is removed they are left "before the head": the cursor becomes null (so CursorNext
// continues with the new head) and an iteration's next IterateNext returns the new head.
// No cursor or iteration is ever left on a freed node.
//
// An owning list destroys an entry's data on removal through the entry's deleter, or with
// free when the entry has none. Sort does not move the cursor or iterations.
class NamedLinkedList
{
public:
    NamedLinkedList(uint8_t pOwnsContents = 1);
    ~NamedLinkedList();

    int32_t GetCount() const { return mCount; }
    void SetOwnsContents(uint8_t pFlag) { mOwnsContents = pFlag; }
    uint8_t GetOwnsContents() const { return mOwnsContents; }
    void *GetHeadData();
    void *GetTailData();
    int32_t GetIteratorDepth() const { return mIteratorDepth; }

    // Adding: each copies the name and returns the data given. AddElement stores a name that
    // begins with "X|" as "X" (anonymous entries); the others copy the name whole. A null
    // name is stored as "".
    void *AddElement(const char *pName, void *pData);
    void *AddElementWithDeleter(const char *pName, void *pData, DeleteFunctionPtr pDeleter);
    void *AddElementAsHead(const char *pName, void *pData);
    void *AddElementAsHeadWithDeleter(const char *pName, void *pData, DeleteFunctionPtr pDeleter);
    void *SetDataByName(const char *pName, void *pData);

    // Removing: returns the entry's data when the list does not own its contents, else
    // destroys it and returns null.
    void *RemoveHead();
    void *RemoveTail();
    void *RemoveElementByName(const char *pName);
    void *RemoveElementByIndex(int32_t pIndex);
    void RemoveElementByData(void *pData);
    void *RemoveAtCursor();
    void *DetachAtCursor();
    void Clear();

    // Lookups.
    void *GetElementByName(const char *pName);
    void *GetElementByPartialName(const char *pKey);
    void *GetElementByIndex(int32_t pIndex);
    const char *GetNameByIndex(int32_t pIndex);
    int32_t GetIndexByName(const char *pName);
    int32_t GetIndexOfData(void *pData);
    bool ContainsData(void *pData);

    // Cursor.
    void *SetCursorToHead();
    void *SetCursorToTail();
    void *CursorNext();
    void *CursorPrev();
    const char *GetCursorName();
    NamedLinkedListNode *GetCursorNode();
    bool SetCursorToData(void *pData);
    // The cursor to the entry the innermost walk stands on; false (cursor null) when no walk
    // is open or it stands before the head.
    bool SetCursorToIteration();

    // Nested iterations.
    void *PushIterator();
    void *IterateNext();
    const char *GetIteratorName();
    void PopIterator();
    void ClearIterators();

    // Orders entries by name (strcmp), ascending, or descending when the flag is 1.
    void Sort(uint8_t pDescending);

private:
    NamedLinkedListNode *NewNode(const char *pName, void *pData, DeleteFunctionPtr pDeleter);
    void LinkAtTail(NamedLinkedListNode *pNode);
    void LinkAtHead(NamedLinkedListNode *pNode);
    NamedLinkedListNode *NodeByIndex(int32_t pIndex);
    NamedLinkedListNode *NodeByName(const char *pName);
    NamedLinkedListNode *NodeByData(void *pData);
    void *RemoveNode(NamedLinkedListNode *pNode);

    NamedLinkedListNode *mHead;
    NamedLinkedListNode *mTail;
    NamedLinkedListNode *mCursor;
    int32_t mCount;
    uint8_t mOwnsContents;
    int32_t mIteratorDepth;
    NamedLinkedListIterator *mIteratorStack;

    NamedLinkedList(const NamedLinkedList &) = delete;
    NamedLinkedList &operator=(const NamedLinkedList &) = delete;
};

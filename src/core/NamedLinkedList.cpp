#include "core/NamedLinkedList.h"

#include <cstdlib>
#include <cstring>

void DeleteWithFree(void *pData)
{
    free(pData);
}

void DeleteNothing(void *pData)
{
}

void DeleteFirstMember(void *pData)
{
    if(!pData) return;
    void **rFirst = (void **)pData;
    free(*rFirst);
    *rFirst = nullptr;
}

void DeleteFirstMemberAndRecord(void *pData)
{
    if(!pData) return;
    DeleteFirstMember(pData);
    free(pData);
}

static char *CopyName(const char *pName)
{
    if(!pName) pName = "";
    size_t tLength = strlen(pName);
    char *nName = (char *)malloc(tLength + 1);
    memcpy(nName, pName, tLength + 1);
    return nName;
}

NamedLinkedList::NamedLinkedList(uint8_t pOwnsContents)
{
    mHead = nullptr;
    mTail = nullptr;
    mCursor = nullptr;
    mCount = 0;
    mOwnsContents = pOwnsContents;
    mIteratorDepth = 0;
    mIteratorStack = nullptr;
}

NamedLinkedList::~NamedLinkedList()
{
    Clear();
    ClearIterators();
}

void *NamedLinkedList::GetHeadData()
{
    return mHead ? mHead->rData : nullptr;
}

void *NamedLinkedList::GetTailData()
{
    return mTail ? mTail->rData : nullptr;
}

NamedLinkedListNode *NamedLinkedList::NewNode(const char *pName, void *pData, DeleteFunctionPtr pDeleter)
{
    NamedLinkedListNode *nNode = (NamedLinkedListNode *)malloc(sizeof(NamedLinkedListNode));
    nNode->mName = CopyName(pName);
    nNode->rNext = nullptr;
    nNode->rPrev = nullptr;
    nNode->rData = pData;
    nNode->rDeleter = pDeleter;
    return nNode;
}

void NamedLinkedList::LinkAtTail(NamedLinkedListNode *pNode)
{
    pNode->rPrev = mTail;
    if(mTail) mTail->rNext = pNode;
    else mHead = pNode;
    mTail = pNode;
    mCount++;
}

void NamedLinkedList::LinkAtHead(NamedLinkedListNode *pNode)
{
    pNode->rNext = mHead;
    if(mHead) mHead->rPrev = pNode;
    else mTail = pNode;
    mHead = pNode;
    mCount++;
}

void *NamedLinkedList::AddElement(const char *pName, void *pData)
{
    if(pName && pName[0] == 'X' && pName[1] == '|') pName = "X";
    LinkAtTail(NewNode(pName, pData, nullptr));
    return pData;
}

void *NamedLinkedList::AddElementWithDeleter(const char *pName, void *pData, DeleteFunctionPtr pDeleter)
{
    LinkAtTail(NewNode(pName, pData, pDeleter));
    return pData;
}

void *NamedLinkedList::AddElementAsHead(const char *pName, void *pData)
{
    LinkAtHead(NewNode(pName, pData, nullptr));
    return pData;
}

void *NamedLinkedList::AddElementAsHeadWithDeleter(const char *pName, void *pData, DeleteFunctionPtr pDeleter)
{
    LinkAtHead(NewNode(pName, pData, pDeleter));
    return pData;
}

void *NamedLinkedList::SetDataByName(const char *pName, void *pData)
{
    NamedLinkedListNode *rNode = NodeByName(pName);
    if(!rNode) return nullptr;
    void *rOld = rNode->rData;
    rNode->rData = pData;
    return rOld;
}

NamedLinkedListNode *NamedLinkedList::NodeByIndex(int32_t pIndex)
{
    if(pIndex < 0 || pIndex >= mCount) return nullptr;
    NamedLinkedListNode *rNode = mHead;
    for(int32_t i = 0; i < pIndex && rNode; i++) rNode = rNode->rNext;
    return rNode;
}

NamedLinkedListNode *NamedLinkedList::NodeByName(const char *pName)
{
    if(!pName) return nullptr;
    for(NamedLinkedListNode *rNode = mHead; rNode; rNode = rNode->rNext)
    {
        if(!strcmp(rNode->mName, pName)) return rNode;
    }
    return nullptr;
}

NamedLinkedListNode *NamedLinkedList::NodeByData(void *pData)
{
    if(!pData) return nullptr;
    for(NamedLinkedListNode *rNode = mHead; rNode; rNode = rNode->rNext)
    {
        if(rNode->rData == pData) return rNode;
    }
    return nullptr;
}

// Every removal passes here, so this is where the cursor and open iterations are moved off
// the node before it is freed.
void *NamedLinkedList::RemoveNode(NamedLinkedListNode *pNode)
{
    if(!pNode) return nullptr;

    if(mCursor == pNode) mCursor = pNode->rPrev;
    for(NamedLinkedListIterator *rIter = mIteratorStack; rIter; rIter = rIter->rBelow)
    {
        if(rIter->rNode == pNode) rIter->rNode = pNode->rPrev;
    }

    if(pNode->rPrev) pNode->rPrev->rNext = pNode->rNext;
    else mHead = pNode->rNext;
    if(pNode->rNext) pNode->rNext->rPrev = pNode->rPrev;
    else mTail = pNode->rPrev;
    mCount--;

    void *rData = pNode->rData;
    if(mOwnsContents)
    {
        if(pNode->rDeleter) pNode->rDeleter(rData);
        else free(rData);
        rData = nullptr;
    }
    free(pNode->mName);
    free(pNode);
    return rData;
}

void *NamedLinkedList::RemoveHead()
{
    return RemoveNode(mHead);
}

void *NamedLinkedList::RemoveTail()
{
    return RemoveNode(mTail);
}

void *NamedLinkedList::RemoveElementByName(const char *pName)
{
    return RemoveNode(NodeByName(pName));
}

void *NamedLinkedList::RemoveElementByIndex(int32_t pIndex)
{
    return RemoveNode(NodeByIndex(pIndex));
}

void NamedLinkedList::RemoveElementByData(void *pData)
{
    RemoveNode(NodeByData(pData));
}

void *NamedLinkedList::RemoveAtCursor()
{
    return RemoveNode(mCursor);
}

void *NamedLinkedList::DetachAtCursor()
{
    uint8_t tOldFlag = mOwnsContents;
    mOwnsContents = 0;
    void *rData = RemoveNode(mCursor);
    mOwnsContents = tOldFlag;
    return rData;
}

void NamedLinkedList::Clear()
{
    while(mHead) RemoveNode(mHead);
    mCursor = nullptr;
}

void *NamedLinkedList::GetElementByName(const char *pName)
{
    NamedLinkedListNode *rNode = NodeByName(pName);
    return rNode ? rNode->rData : nullptr;
}

void *NamedLinkedList::GetElementByPartialName(const char *pKey)
{
    if(!pKey || !pKey[0]) return nullptr;
    size_t tLength = strlen(pKey);
    for(NamedLinkedListNode *rNode = mHead; rNode; rNode = rNode->rNext)
    {
        if(!strncmp(rNode->mName, pKey, tLength)) return rNode->rData;
    }
    return nullptr;
}

void *NamedLinkedList::GetElementByIndex(int32_t pIndex)
{
    NamedLinkedListNode *rNode = NodeByIndex(pIndex);
    return rNode ? rNode->rData : nullptr;
}

const char *NamedLinkedList::GetNameByIndex(int32_t pIndex)
{
    NamedLinkedListNode *rNode = NodeByIndex(pIndex);
    return rNode ? rNode->mName : nullptr;
}

int32_t NamedLinkedList::GetIndexByName(const char *pName)
{
    if(!pName) return -1;
    int32_t i = 0;
    for(NamedLinkedListNode *rNode = mHead; rNode; rNode = rNode->rNext, i++)
    {
        if(!strcmp(rNode->mName, pName)) return i;
    }
    return -1;
}

int32_t NamedLinkedList::GetIndexOfData(void *pData)
{
    if(!pData) return -1;
    int32_t i = 0;
    for(NamedLinkedListNode *rNode = mHead; rNode; rNode = rNode->rNext, i++)
    {
        if(rNode->rData == pData) return i;
    }
    return -1;
}

bool NamedLinkedList::ContainsData(void *pData)
{
    return NodeByData(pData) != nullptr;
}

void *NamedLinkedList::SetCursorToHead()
{
    mCursor = mHead;
    return mCursor ? mCursor->rData : nullptr;
}

void *NamedLinkedList::SetCursorToTail()
{
    mCursor = mTail;
    return mCursor ? mCursor->rData : nullptr;
}

void *NamedLinkedList::CursorNext()
{
    mCursor = mCursor ? mCursor->rNext : mHead;
    return mCursor ? mCursor->rData : nullptr;
}

void *NamedLinkedList::CursorPrev()
{
    mCursor = mCursor ? mCursor->rPrev : mTail;
    return mCursor ? mCursor->rData : nullptr;
}

const char *NamedLinkedList::GetCursorName()
{
    return mCursor ? mCursor->mName : nullptr;
}

NamedLinkedListNode *NamedLinkedList::GetCursorNode()
{
    return mCursor;
}

bool NamedLinkedList::SetCursorToData(void *pData)
{
    mCursor = NodeByData(pData);
    return mCursor != nullptr;
}

bool NamedLinkedList::SetCursorToIteration()
{
    mCursor = mIteratorStack ? mIteratorStack->rNode : nullptr;
    return mCursor != nullptr;
}

void *NamedLinkedList::PushIterator()
{
    if(!mHead) return nullptr;
    NamedLinkedListIterator *nIter = (NamedLinkedListIterator *)malloc(sizeof(NamedLinkedListIterator));
    nIter->rNode = mHead;
    nIter->rBelow = mIteratorStack;
    mIteratorStack = nIter;
    mIteratorDepth++;
    return mHead->rData;
}

// An iteration whose node is null stands before the head (its entry was removed from the
// head), so advancing it yields the current head.
void *NamedLinkedList::IterateNext()
{
    if(!mIteratorStack) return nullptr;
    NamedLinkedListIterator *rIter = mIteratorStack;
    rIter->rNode = rIter->rNode ? rIter->rNode->rNext : mHead;
    if(!rIter->rNode)
    {
        PopIterator();
        return nullptr;
    }
    return rIter->rNode->rData;
}

const char *NamedLinkedList::GetIteratorName()
{
    if(!mIteratorStack || !mIteratorStack->rNode) return nullptr;
    return mIteratorStack->rNode->mName;
}

void NamedLinkedList::PopIterator()
{
    if(!mIteratorStack) return;
    NamedLinkedListIterator *nTop = mIteratorStack;
    mIteratorStack = nTop->rBelow;
    free(nTop);
    mIteratorDepth--;
}

void NamedLinkedList::ClearIterators()
{
    while(mIteratorStack) PopIterator();
    mIteratorDepth = 0;
}

static int CompareNodesAscending(const void *pA, const void *pB)
{
    const NamedLinkedListNode *rA = *(const NamedLinkedListNode *const *)pA;
    const NamedLinkedListNode *rB = *(const NamedLinkedListNode *const *)pB;
    return strcmp(rA->mName, rB->mName);
}

static int CompareNodesDescending(const void *pA, const void *pB)
{
    return CompareNodesAscending(pB, pA);
}

void NamedLinkedList::Sort(uint8_t pDescending)
{
    if(mCount < 2) return;
    NamedLinkedListNode **tNodes = (NamedLinkedListNode **)malloc(sizeof(NamedLinkedListNode *) * mCount);
    int32_t i = 0;
    for(NamedLinkedListNode *rNode = mHead; rNode && i < mCount; rNode = rNode->rNext) tNodes[i++] = rNode;
    qsort(tNodes, mCount, sizeof(NamedLinkedListNode *), pDescending == 1 ? CompareNodesDescending : CompareNodesAscending);

    for(i = 0; i < mCount; i++)
    {
        tNodes[i]->rPrev = (i > 0) ? tNodes[i - 1] : nullptr;
        tNodes[i]->rNext = (i < mCount - 1) ? tNodes[i + 1] : nullptr;
    }
    mHead = tNodes[0];
    mTail = tNodes[mCount - 1];
    free(tNodes);
}

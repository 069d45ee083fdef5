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
    *rFirst = NULL;
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
    mHead = NULL;
    mTail = NULL;
    mCursor = NULL;
    mCount = 0;
    mOwnsContents = pOwnsContents;
    mIteratorDepth = 0;
    mIteratorStack = NULL;
}

NamedLinkedList::~NamedLinkedList()
{
    Clear();
    ClearIterators();
}

void *NamedLinkedList::GetHeadData()
{
    return mHead ? mHead->rData : NULL;
}

void *NamedLinkedList::GetTailData()
{
    return mTail ? mTail->rData : NULL;
}

NamedLinkedListNode *NamedLinkedList::NewNode(const char *pName, void *pData, DeleteFunctionPtr pDeleter)
{
    NamedLinkedListNode *nNode = (NamedLinkedListNode *)malloc(sizeof(NamedLinkedListNode));
    nNode->mName = CopyName(pName);
    nNode->rNext = NULL;
    nNode->rPrev = NULL;
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
    LinkAtTail(NewNode(pName, pData, NULL));
    return pData;
}

void *NamedLinkedList::AddElementWithDeleter(const char *pName, void *pData, DeleteFunctionPtr pDeleter)
{
    LinkAtTail(NewNode(pName, pData, pDeleter));
    return pData;
}

void *NamedLinkedList::AddElementAsHead(const char *pName, void *pData)
{
    LinkAtHead(NewNode(pName, pData, NULL));
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
    if(!rNode) return NULL;
    void *rOld = rNode->rData;
    rNode->rData = pData;
    return rOld;
}

NamedLinkedListNode *NamedLinkedList::NodeByIndex(int32_t pIndex)
{
    if(pIndex < 0 || pIndex >= mCount) return NULL;
    NamedLinkedListNode *rNode = mHead;
    for(int32_t i = 0; i < pIndex && rNode; i++) rNode = rNode->rNext;
    return rNode;
}

NamedLinkedListNode *NamedLinkedList::NodeByName(const char *pName)
{
    if(!pName) return NULL;
    for(NamedLinkedListNode *rNode = mHead; rNode; rNode = rNode->rNext)
    {
        if(!strcmp(rNode->mName, pName)) return rNode;
    }
    return NULL;
}

NamedLinkedListNode *NamedLinkedList::NodeByData(void *pData)
{
    if(!pData) return NULL;
    for(NamedLinkedListNode *rNode = mHead; rNode; rNode = rNode->rNext)
    {
        if(rNode->rData == pData) return rNode;
    }
    return NULL;
}

// Every removal passes here, so this is where the cursor and open iterations are moved off
// the node before it is freed.
void *NamedLinkedList::RemoveNode(NamedLinkedListNode *pNode)
{
    if(!pNode) return NULL;

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
        rData = NULL;
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
    mCursor = NULL;
}

void *NamedLinkedList::GetElementByName(const char *pName)
{
    NamedLinkedListNode *rNode = NodeByName(pName);
    return rNode ? rNode->rData : NULL;
}

void *NamedLinkedList::GetElementByPartialName(const char *pKey)
{
    if(!pKey || !pKey[0]) return NULL;
    size_t tLength = strlen(pKey);
    for(NamedLinkedListNode *rNode = mHead; rNode; rNode = rNode->rNext)
    {
        if(!strncmp(rNode->mName, pKey, tLength)) return rNode->rData;
    }
    return NULL;
}

void *NamedLinkedList::GetElementByIndex(int32_t pIndex)
{
    NamedLinkedListNode *rNode = NodeByIndex(pIndex);
    return rNode ? rNode->rData : NULL;
}

const char *NamedLinkedList::GetNameByIndex(int32_t pIndex)
{
    NamedLinkedListNode *rNode = NodeByIndex(pIndex);
    return rNode ? rNode->mName : NULL;
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
    return NodeByData(pData) != NULL;
}

void *NamedLinkedList::SetCursorToHead()
{
    mCursor = mHead;
    return mCursor ? mCursor->rData : NULL;
}

void *NamedLinkedList::SetCursorToTail()
{
    mCursor = mTail;
    return mCursor ? mCursor->rData : NULL;
}

void *NamedLinkedList::CursorNext()
{
    mCursor = mCursor ? mCursor->rNext : mHead;
    return mCursor ? mCursor->rData : NULL;
}

void *NamedLinkedList::CursorPrev()
{
    mCursor = mCursor ? mCursor->rPrev : mTail;
    return mCursor ? mCursor->rData : NULL;
}

const char *NamedLinkedList::GetCursorName()
{
    return mCursor ? mCursor->mName : NULL;
}

NamedLinkedListNode *NamedLinkedList::GetCursorNode()
{
    return mCursor;
}

bool NamedLinkedList::SetCursorToData(void *pData)
{
    mCursor = NodeByData(pData);
    return mCursor != NULL;
}

void *NamedLinkedList::PushIterator()
{
    if(!mHead) return NULL;
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
    if(!mIteratorStack) return NULL;
    NamedLinkedListIterator *rIter = mIteratorStack;
    rIter->rNode = rIter->rNode ? rIter->rNode->rNext : mHead;
    if(!rIter->rNode)
    {
        PopIterator();
        return NULL;
    }
    return rIter->rNode->rData;
}

const char *NamedLinkedList::GetIteratorName()
{
    if(!mIteratorStack || !mIteratorStack->rNode) return NULL;
    return mIteratorStack->rNode->mName;
}

void NamedLinkedList::PopIterator()
{
    if(!mIteratorStack) return;
    NamedLinkedListIterator *rTop = mIteratorStack;
    mIteratorStack = rTop->rBelow;
    free(rTop);
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
        tNodes[i]->rPrev = (i > 0) ? tNodes[i - 1] : NULL;
        tNodes[i]->rNext = (i < mCount - 1) ? tNodes[i + 1] : NULL;
    }
    mHead = tNodes[0];
    mTail = tNodes[mCount - 1];
    free(tNodes);
}

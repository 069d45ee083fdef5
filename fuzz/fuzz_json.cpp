// The skeleton runtime's JSON parser on raw bytes: no read past the input, no unbounded
// recursion, a tree whose sizes match its children.
#include <cstdint>
#include <cstdlib>

#include "skeleton/Json.h"

static void CheckSizes(const JsonNode *pNode)
{
    for(; pNode; pNode = pNode->mNext)
    {
        int32_t tChildren = 0;
        for(const JsonNode *rChild = pNode->mChild; rChild; rChild = rChild->mNext) tChildren++;
        if(tChildren != pNode->mSize) abort();
        if(pNode->mType == JSON_OBJECT)
        {
            for(const JsonNode *rChild = pNode->mChild; rChild; rChild = rChild->mNext)
            {
                if(!rChild->mName) abort();
            }
        }
        // Containers are at most JSON_MAX_DEPTH deep, so this recursion is bounded.
        CheckSizes(pNode->mChild);
    }
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *pData, size_t pSize)
{
    JsonNode *nRoot = Json_createWithLength((const char *)pData, pSize);
    if(nRoot)
    {
        CheckSizes(nRoot);
        Json_getItem(nRoot, "bones");
        Json_getFloat(nRoot, "x", 0.0f);
        Json_getString(nRoot, "name", nullptr);
    }
    else if(!Json_getError() || Json_getError() < (const char *)pData || Json_getError() > (const char *)pData + pSize)
        abort();
    Json_dispose(nRoot);
    return 0;
}

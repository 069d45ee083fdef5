// The atlas reader on line mutations: missing lines, lines without a colon or comma, high
// bytes, carriage returns. Whatever reads must be a consistent page and region list.
#include <cstdint>
#include <cstdlib>

#include "skeleton/Atlas.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *pData, size_t pSize)
{
    if(pSize > 1 << 20) return 0;
    Atlas *nAtlas = Atlas_readAtlas((const char *)pData, (int32_t)pSize, "Data/Graphics");
    if(nAtlas)
    {
        for(const AtlasRegion *rRegion = nAtlas->mRegions; rRegion; rRegion = rRegion->mNext)
        {
            if(!rRegion->rPage || !rRegion->mName) abort();
            if(Atlas_findRegion(nAtlas, rRegion->mName) == nullptr) abort();
        }
    }
    Atlas_dispose(nAtlas);
    return 0;
}

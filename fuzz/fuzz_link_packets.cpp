// The music-tool link's packet reader and handler, fed what a peer could send. The first
// byte sets the size of the reads the bytes arrive in, so packets split and coalesce the way
// a stream delivers them.
#include <cstddef>
#include <cstdint>

#include "interface/CorvelSocket.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *pData, size_t pSize)
{
    if(pSize < 1) return 0;

    size_t tReadSize = (size_t)pData[0] + 1;
    CorvelSocket tLink;
    tLink.Boot();
    for(size_t tOffset = 1; tOffset < pSize && tLink.IsOpen(); tOffset += tReadSize)
    {
        size_t tChunk = pSize - tOffset < tReadSize ? pSize - tOffset : tReadSize;
        tLink.ReceiveBytes(pData + tOffset, (uint32_t)tChunk);
    }
    return 0;
}

#include "core/ByteStream.h"

#include <cstdlib>
#include <cstring>

void WriteBytes(const void *pSource, int32_t pCount, uint32_t *pPosition, uint8_t *pBuffer)
{
    if(!pSource || pCount <= 0 || !pPosition || !pBuffer) return;
    memcpy(pBuffer + *pPosition, pSource, (size_t)pCount);
    *pPosition += (uint32_t)pCount;
}

void WriteUInt32(uint32_t pValue, uint32_t *pPosition, uint8_t *pBuffer)
{
    uint8_t tBytes[4];
    for(int i = 0; i < 4; i++) tBytes[i] = (uint8_t)((pValue >> (8 * i)) & 0xFF);
    WriteBytes(tBytes, 4, pPosition, pBuffer);
}

void WriteInt32(int32_t pValue, uint32_t *pPosition, uint8_t *pBuffer)
{
    WriteUInt32((uint32_t)pValue, pPosition, pBuffer);
}

void WriteFloat32(float pValue, uint32_t *pPosition, uint8_t *pBuffer)
{
    uint32_t tBits;
    memcpy(&tBits, &pValue, 4);
    WriteUInt32(tBits, pPosition, pBuffer);
}

void WriteString(const char *pText, uint32_t *pPosition, uint8_t *pBuffer)
{
    if(!pText) return;
    WriteBytes(pText, (int32_t)strlen(pText) + 1, pPosition, pBuffer);
}

uint32_t ReadUInt32(uint32_t *pPosition, const uint8_t *pBuffer)
{
    if(!pPosition || !pBuffer) return 0;
    const uint8_t *rBytes = pBuffer + *pPosition;
    uint32_t tValue = (uint32_t)rBytes[0] | ((uint32_t)rBytes[1] << 8) | ((uint32_t)rBytes[2] << 16) | ((uint32_t)rBytes[3] << 24);
    *pPosition += 4;
    return tValue;
}

int32_t ReadInt32(uint32_t *pPosition, const uint8_t *pBuffer)
{
    return (int32_t)ReadUInt32(pPosition, pBuffer);
}

float ReadFloat32(uint32_t *pPosition, const uint8_t *pBuffer)
{
    uint32_t tBits = ReadUInt32(pPosition, pBuffer);
    float tValue;
    memcpy(&tValue, &tBits, 4);
    return tValue;
}

char *ReadString(uint32_t *pPosition, const uint8_t *pBuffer)
{
    if(!pPosition || !pBuffer) return nullptr;
    const char *rText = (const char *)(pBuffer + *pPosition);
    size_t tLength = strlen(rText);
    char *nText = (char *)malloc(tLength + 1);
    memcpy(nText, rText, tLength + 1);
    *pPosition += (uint32_t)(tLength + 1);
    return nText;
}

void *ReadBytes(int32_t pCount, uint32_t *pPosition, const uint8_t *pBuffer)
{
    if(pCount <= 0 || !pPosition || !pBuffer) return nullptr;
    void *nBlock = malloc((size_t)pCount);
    memcpy(nBlock, pBuffer + *pPosition, (size_t)pCount);
    *pPosition += (uint32_t)pCount;
    return nBlock;
}

void ReadBytesInto(void *pDestination, int32_t pCount, uint32_t *pPosition, const uint8_t *pBuffer)
{
    if(!pDestination || pCount <= 0 || !pPosition || !pBuffer) return;
    memcpy(pDestination, pBuffer + *pPosition, (size_t)pCount);
    *pPosition += (uint32_t)pCount;
}

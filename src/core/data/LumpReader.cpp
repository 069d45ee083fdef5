#include "core/data/LumpReader.h"

#include <cstdlib>
#include <cstring>

LumpReader::LumpReader(const uint8_t *pData, uint32_t pLength)
{
    rData = pData;
    mLength = pData ? pLength : 0;
    mPosition = 0;
    mFailed = 0;
}

bool LumpReader::Seek(uint32_t pPosition)
{
    if(mFailed || pPosition > mLength)
    {
        mFailed = 1;
        return false;
    }
    mPosition = pPosition;
    return true;
}

bool LumpReader::Take(uint32_t pCount)
{
    if(mFailed || pCount > mLength - mPosition)
    {
        mFailed = 1;
        return false;
    }
    return true;
}

bool LumpReader::Skip(uint32_t pCount)
{
    if(!Take(pCount)) return false;
    mPosition += pCount;
    return true;
}

bool LumpReader::ReadBytes(void *pDestination, uint32_t pCount)
{
    if(!pDestination || !Take(pCount))
    {
        mFailed = 1;
        if(pDestination && pCount <= mLength) memset(pDestination, 0, pCount);
        return false;
    }
    if(pCount > 0) memcpy(pDestination, rData + mPosition, pCount);
    mPosition += pCount;
    return true;
}

bool LumpReader::ReadU8(uint8_t *pOut)
{
    return ReadBytes(pOut, 1);
}

bool LumpReader::ReadU16(uint16_t *pOut)
{
    uint8_t tBytes[2];
    bool tOk = ReadBytes(tBytes, 2);
    *pOut = tOk ? (uint16_t)(tBytes[0] | (tBytes[1] << 8)) : 0;
    return tOk;
}

bool LumpReader::ReadU32(uint32_t *pOut)
{
    uint8_t tBytes[4];
    bool tOk = ReadBytes(tBytes, 4);
    *pOut = tOk ? ((uint32_t)tBytes[0] | ((uint32_t)tBytes[1] << 8) | ((uint32_t)tBytes[2] << 16) | ((uint32_t)tBytes[3] << 24)) : 0;
    return tOk;
}

bool LumpReader::ReadI32(int32_t *pOut)
{
    uint32_t tValue;
    bool tOk = ReadU32(&tValue);
    *pOut = (int32_t)tValue;
    return tOk;
}

uint8_t *LumpReader::ReadNewBytes(uint32_t pCount)
{
    if(!Take(pCount)) return nullptr;
    uint8_t *nBuffer = (uint8_t *)malloc((size_t)pCount + 1);
    if(!nBuffer)
    {
        mFailed = 1;
        return nullptr;
    }
    ReadBytes(nBuffer, pCount);
    nBuffer[pCount] = 0;
    return nBuffer;
}

char *LumpReader::ReadNewName()
{
    uint8_t tLength;
    if(!ReadU8(&tLength)) return nullptr;
    char *nName = (char *)ReadNewBytes(tLength);
    if(nName && strlen(nName) != tLength)
    {
        free(nName);
        mFailed = 1;
        return nullptr;
    }
    return nName;
}

bool LumpReader::ReadNameInto(char *pDestination, uint32_t pCapacity, uint8_t *pWasCut)
{
    if(pWasCut) *pWasCut = 0;
    if(!pDestination || pCapacity < 1)
    {
        mFailed = 1;
        return false;
    }
    pDestination[0] = '\0';
    uint8_t tLength;
    if(!ReadU8(&tLength) || !Take(tLength)) return false;

    uint32_t tKept = tLength < pCapacity - 1 ? tLength : pCapacity - 1;
    ReadBytes(pDestination, tKept);
    pDestination[tKept] = '\0';
    Skip(tLength - tKept);
    if(strlen(pDestination) != tKept)
    {
        mFailed = 1;
        pDestination[0] = '\0';
        return false;
    }
    if(pWasCut && tKept < tLength) *pWasCut = 1;
    return !mFailed;
}

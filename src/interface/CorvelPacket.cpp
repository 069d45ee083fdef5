#include "interface/CorvelPacket.h"

#include <cstring>

namespace
{
    void WriteU32LE(uint8_t *pOut, uint32_t pValue)
    {
        pOut[0] = (uint8_t)(pValue & 0xFF);
        pOut[1] = (uint8_t)((pValue >> 8) & 0xFF);
        pOut[2] = (uint8_t)((pValue >> 16) & 0xFF);
        pOut[3] = (uint8_t)((pValue >> 24) & 0xFF);
    }

    bool LengthAllowed(uint32_t pLength)
    {
        return pLength >= PACKET_HEADER_SIZE && pLength <= PACKET_SIZE_MAX;
    }
}

uint32_t ReadU32LE(const uint8_t *pBytes)
{
    return (uint32_t)pBytes[0] | ((uint32_t)pBytes[1] << 8) | ((uint32_t)pBytes[2] << 16) | ((uint32_t)pBytes[3] << 24);
}

int32_t ReadI32LE(const uint8_t *pBytes)
{
    return (int32_t)ReadU32LE(pBytes);
}

bool BuildPacket(CorvelPacket *pPacket, uint16_t pType, const void *pPayload, uint32_t pSize)
{
    if(!pPacket) return false;
    memset(pPacket, 0, sizeof(CorvelPacket));
    if(pSize > PACKET_PAYLOAD_MAX || (!pPayload && pSize > 0)) return false;
    pPacket->mType = pType;
    pPacket->mLength = pSize + PACKET_HEADER_SIZE;
    if(pSize > 0) memcpy(pPacket->mPayload, pPayload, pSize);
    return true;
}

void BuildEnemiesPacket(CorvelPacket *pPacket, int32_t pCount)
{
    uint8_t tPayload[PACKET_ENEMIES_PAYLOAD_SIZE] = {};
    memcpy(tPayload, "Enemies", 8);
    WriteU32LE(tPayload + PACKET_ENEMIES_NAME_SIZE, (uint32_t)pCount);
    BuildPacket(pPacket, PACKET_TYPE_ENEMIES, tPayload, sizeof(tPayload));
}

uint32_t EncodePacket(const CorvelPacket *pPacket, uint8_t *pOut, uint32_t pCapacity)
{
    if(!pPacket || !pOut || !LengthAllowed(pPacket->mLength) || pCapacity < pPacket->mLength) return 0;
    WriteU32LE(pOut, pPacket->mLength);
    pOut[4] = (uint8_t)(pPacket->mType & 0xFF);
    pOut[5] = (uint8_t)(pPacket->mType >> 8);
    memcpy(pOut + PACKET_HEADER_SIZE, pPacket->mPayload, pPacket->mLength - PACKET_HEADER_SIZE);
    return pPacket->mLength;
}

uint32_t PacketPayloadSize(const CorvelPacket *pPacket)
{
    if(!pPacket || pPacket->mLength < PACKET_HEADER_SIZE) return 0;
    uint32_t tSize = pPacket->mLength - PACKET_HEADER_SIZE;
    return tSize > PACKET_PAYLOAD_MAX ? PACKET_PAYLOAD_MAX : tSize;
}

void PrintablePayload(const CorvelPacket *pPacket, char *pOut, uint32_t pCapacity)
{
    if(!pOut || pCapacity == 0) return;
    uint32_t tSize = PacketPayloadSize(pPacket);
    uint32_t i = 0;
    for(; i < tSize && i + 1 < pCapacity; i++)
    {
        uint8_t tByte = pPacket->mPayload[i];
        if(tByte == 0) break;
        pOut[i] = (tByte >= 0x20 && tByte < 0x7F) ? (char)tByte : '.';
    }
    pOut[i] = '\0';
}

PacketReader::PacketReader()
{
    Reset();
}

void PacketReader::Reset()
{
    memset(mBuffer, 0, sizeof(mBuffer));
    mHeld = 0;
    mExpected = 0;
    mBroken = 0;
    mBadLength = 0;
}

int32_t PacketReader::Feed(const uint8_t *pData, uint32_t pSize, uint32_t *sUsed, CorvelPacket *sPacket)
{
    if(sUsed) *sUsed = 0;
    if(mBroken) return READER_BAD_LENGTH;
    if(!pData || !sUsed || !sPacket) return READER_NEED_MORE;

    uint32_t tUsed = 0;
    while(tUsed < pSize)
    {
        // The length field first; once it is whole, it says how much more belongs to this
        // packet, and a length no packet can have breaks the stream.
        uint32_t tWant = mHeld < 4 ? 4 : mExpected;
        uint32_t tTake = tWant - mHeld;
        if(tTake > pSize - tUsed) tTake = pSize - tUsed;
        memcpy(mBuffer + mHeld, pData + tUsed, tTake);
        mHeld += tTake;
        tUsed += tTake;

        if(mHeld == 4 && mExpected == 0)
        {
            uint32_t tLength = ReadU32LE(mBuffer);
            if(!LengthAllowed(tLength))
            {
                mBroken = 1;
                mBadLength = tLength;
                *sUsed = tUsed;
                return READER_BAD_LENGTH;
            }
            mExpected = tLength;
        }
        if(mExpected != 0 && mHeld == mExpected)
        {
            memset(sPacket, 0, sizeof(CorvelPacket));
            sPacket->mLength = mExpected;
            sPacket->mType = (uint16_t)(mBuffer[4] | (mBuffer[5] << 8));
            memcpy(sPacket->mPayload, mBuffer + PACKET_HEADER_SIZE, mExpected - PACKET_HEADER_SIZE);
            mHeld = 0;
            mExpected = 0;
            *sUsed = tUsed;
            return READER_PACKET;
        }
    }
    *sUsed = tUsed;
    return READER_NEED_MORE;
}

#pragma once

#include <cstdint>

// The music-tool packet. On the wire: u32 length (payload size + 6), u16 type, then the
// payload, all little-endian; only `length` bytes travel. In memory a packet is always the
// full record, zeroed past its payload.
#define PACKET_HEADER_SIZE 6
#define PACKET_PAYLOAD_MAX 258
#define PACKET_SIZE_MAX (PACKET_HEADER_SIZE + PACKET_PAYLOAD_MAX)

#define PACKET_TYPE_TEXT 0
#define PACKET_TYPE_CLOSE 1
#define PACKET_TYPE_HANDSHAKE_REQUEST 2
#define PACKET_TYPE_IDENTIFY 3
#define PACKET_TYPE_ENEMIES 4

// The enemies report: a NUL-padded name field, then the i32 count.
#define PACKET_ENEMIES_NAME_SIZE 32
#define PACKET_ENEMIES_PAYLOAD_SIZE 36

struct CorvelPacket
{
    uint32_t mLength;
    uint16_t mType;
    uint8_t mPayload[PACKET_PAYLOAD_MAX];
};

// Fills the record: zeroed, the type, length = size + 6 and the payload copied. A payload
// over 258 bytes (or a null one with a size) is refused: false, the record left zeroed.
bool BuildPacket(CorvelPacket *pPacket, uint16_t pType, const void *pPayload, uint32_t pSize);

// The enemies report for a count of live enemies.
void BuildEnemiesPacket(CorvelPacket *pPacket, int32_t pCount);

// The bytes a packet puts on the wire, 0 when its length lies outside 6 to 264 or the
// output is too small.
uint32_t EncodePacket(const CorvelPacket *pPacket, uint8_t *pOut, uint32_t pCapacity);

// The payload's meaningful bytes (length - 6, at most 258).
uint32_t PacketPayloadSize(const CorvelPacket *pPacket);

// Copies the payload for printing into pOut (NUL-terminated, at most pCapacity - 1 bytes):
// it stops at a NUL, and every byte that is not printable ASCII becomes '.'.
void PrintablePayload(const CorvelPacket *pPacket, char *pOut, uint32_t pCapacity);

// Reads little-endian values from a byte buffer the caller has checked the length of.
uint32_t ReadU32LE(const uint8_t *pBytes);
int32_t ReadI32LE(const uint8_t *pBytes);

// Cuts a byte stream into packets, whatever the reads that deliver it: one read may carry
// several packets, a packet may arrive over several reads.
class PacketReader
{
public:
    enum
    {
        READER_NEED_MORE = 0,
        READER_PACKET = 1,
        READER_BAD_LENGTH = 2,
    };

    PacketReader();

    // Takes bytes from the front of pData until a packet is complete or the data runs out;
    // *sUsed is how many it took. READER_PACKET fills sPacket (zeroed past its payload);
    // READER_BAD_LENGTH means the stream is broken: the reader stays in that state (see
    // GetBadLength) until Reset. Call again with the rest of the data for more packets.
    int32_t Feed(const uint8_t *pData, uint32_t pSize, uint32_t *sUsed, CorvelPacket *sPacket);

    void Reset();
    // Bytes of an unfinished packet held so far.
    uint32_t GetHeldBytes() const { return mHeld; }
    uint32_t GetBadLength() const { return mBadLength; }

private:
    uint8_t mBuffer[PACKET_SIZE_MAX];
    uint32_t mHeld;
    uint32_t mExpected;
    uint8_t mBroken;
    uint32_t mBadLength;
};

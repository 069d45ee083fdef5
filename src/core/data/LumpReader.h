#pragma once

#include <cstdint>

// Bounded little-endian cursor over a block of bytes that someone else owns.
// Every read is checked against the block's length. The first read that would pass the
// end fails, copies nothing, and makes every later read fail too ("sticky"), so a reader
// may run a whole record's reads and test HasFailed once at the end. A failed read leaves
// its output zeroed (null for the allocating reads).
class LumpReader
{
public:
    LumpReader(const uint8_t *pData, uint32_t pLength);

    uint32_t GetPosition() const { return mPosition; }
    uint32_t GetLength() const { return mLength; }
    uint32_t GetRemaining() const { return mLength - mPosition; }
    bool HasFailed() const { return mFailed != 0; }

    // Seeking clears nothing: a reader that failed stays failed. Seek beyond the end fails.
    bool Seek(uint32_t pPosition);
    bool Skip(uint32_t pCount);

    bool ReadU8(uint8_t *pOut);
    bool ReadU16(uint16_t *pOut);
    bool ReadU32(uint32_t *pOut);
    bool ReadI32(int32_t *pOut);
    bool ReadBytes(void *pDestination, uint32_t pCount);

    // A new malloc'd copy of the next pCount bytes, with one 0 byte after them so text
    // can be printed safely. Null on a short read or when memory runs out.
    uint8_t *ReadNewBytes(uint32_t pCount);

    // A u8 length followed by that many bytes, as a new malloc'd C string. A name holding a
    // 0 byte is refused (it would read as a different, shorter name).
    char *ReadNewName();

    // The same, into a caller buffer of pCapacity bytes (terminator included). A longer
    // name is cut to fit and *pWasCut set; the cursor still moves past the whole name.
    bool ReadNameInto(char *pDestination, uint32_t pCapacity, uint8_t *pWasCut);

private:
    bool Take(uint32_t pCount);

    const uint8_t *rData;
    uint32_t mLength;
    uint32_t mPosition;
    uint8_t mFailed;
};

#pragma once
#include <cstdint>

// A whole file held in memory and handed out by raw reads and seeks. Only a regular file that
// is read completely opens; anything else (a directory, a missing file, a short read) leaves
// the file closed with no buffer. Reads never pass the end of the buffer.
class MemoryFile
{
public:
    MemoryFile(const char *pPath);
    ~MemoryFile();

    bool IsOpen() const { return mOpen != 0; }
    uint32_t GetSize() const { return mSize; }
    uint32_t GetCursor() const { return mCursor; }
    uint8_t *GetBuffer() const { return mBuffer; }

    // Copies size x count bytes from the cursor and advances past them. A request that would
    // pass the end copies nothing, leaves the cursor and returns false.
    bool Read(void *pDestination, uint32_t pSize, uint32_t pCount);
    void Seek(uint32_t pPosition);
    // Cursor + n, kept at or below size - 1 (at 0 for an empty file).
    void Skip(uint32_t pCount);
    // Bytes left between the cursor and the end (0 when the cursor stands past it).
    uint32_t GetRemaining() const { return mCursor < mSize ? mSize - mCursor : 0; }

    bool SaveToFile(const char *pPath) const;

private:
    uint8_t mOpen;
    uint32_t mSize;
    uint8_t *mBuffer;
    uint32_t mCursor;

    MemoryFile(const MemoryFile &) = delete;
    MemoryFile &operator=(const MemoryFile &) = delete;
};

#pragma once

#include <cstdint>

#include "core/data/LumpRecords.h"

class NamedLinkedList;

// Layout constants shared by the reader and the writer.
#define LUMP_HEADER_SIZE 16
#define LUMP_TAG_SIZE 10
#define LUMP_DIRECTORY_START (LUMP_HEADER_SIZE + 4)
#define LUMP_NAME_MAX 255

// A growing little-endian byte buffer. A failed allocation or an oversized value marks the
// buffer failed; it then ignores further writes and the writer refuses to use it.
class LumpBody
{
public:
    LumpBody();
    ~LumpBody();

    void PutU8(uint8_t pValue);
    void PutU16(uint16_t pValue);
    void PutU32(uint32_t pValue);
    void PutI32(int32_t pValue);
    void PutBytes(const void *pData, uint32_t pCount);
    // A u8 length and the text's bytes; texts longer than 255 bytes fail the buffer.
    void PutName(const char *pText);

    const uint8_t *GetData() const { return mData; }
    uint32_t GetSize() const { return mSize; }
    bool HasFailed() const { return mFailed != 0; }

    // Hands the buffer to the caller (malloc'd) and empties this body.
    uint8_t *Release(uint32_t *pSize);

private:
    bool Reserve(uint32_t pExtra);

    uint8_t *mData;
    uint32_t mSize;
    uint32_t mCapacity;
    uint8_t mFailed;

    LumpBody(const LumpBody &) = delete;
    LumpBody &operator=(const LumpBody &) = delete;
};

// What an IMAGE lump holds. Frames are pairs of i32, mFrameCount of them.
struct LumpImageLayout
{
    uint8_t mCompression;
    int32_t mFullWidth, mFullHeight;
    int32_t mOffsetX, mOffsetY;
    int32_t mWidth, mHeight;
    const uint8_t *rData;
    uint32_t mDataSize;
    uint8_t mFrameCount;
    const int32_t *rFrames;
};

// A compressed IMAGE of pWidth x pHeight RGBA pixels (pWidth * 4 * pHeight bytes) with no
// offset and no frames; the layout only points at pPixels.
LumpImageLayout RGBAImageLayout(int32_t pWidth, int32_t pHeight, const uint8_t *pPixels);

// Map information for a line-art grid, ready for AddMapInfo. The record only points at the
// texts given (the writer copies them when the lump is added); the level number is 0.
MapInfoRecord LineArtMapInfo(int32_t pColumns, int32_t pRows, int32_t pChunkWidth, int32_t pChunkHeight,
                             const char *pImagePrefixA, const char *pImagePrefixB, const char *pClipPrefix,
                             const char *pLevelName);

// Collects named lumps and writes them as one lump file, its directory sorted in strcmp
// order so that the reader's binary search finds every name. Each Add call copies what it
// is given and returns false (adding nothing) for a missing or over-long name, a bad
// argument, or a body that could not be built.
class LumpWriter
{
public:
    LumpWriter();
    ~LumpWriter();

    // The 16 header bytes are kept as text and never checked; longer text is cut.
    void SetHeader(const char *pText);
    int32_t GetLumpCount() const;

    // Any tag (cut or NUL-padded to 10 bytes) and body, as they stand.
    bool AddRaw(const char *pName, const char *pTag, const uint8_t *pBody, uint32_t pSize);

    bool AddImage(const char *pName, const LumpImageLayout *pLayout);
    // pBase holds pColours x (r, g, b); each variant's colours likewise.
    bool AddPalette(const char *pName, uint32_t pColours, const uint8_t *pBase,
                    uint32_t pVariants, const char *const *pVariantNames, const uint8_t *const *pVariantColours);
    // Map types other than the line-art grid store only the type byte.
    bool AddMapInfo(const char *pName, const MapInfoRecord *pInfo);
    // pCells: pColumns x pRows bytes, row by row from the top, non-zero = solid.
    bool AddClip(const char *pName, uint16_t pColumns, uint16_t pRows, const uint8_t *pCells);
    bool AddSpawns(const char *pName, uint32_t pCount, const SpawnRecord *pRecords);
    bool AddScript(const char *pName, const char *pText, uint32_t pSize);

    // The whole file as a new malloc'd buffer, or null when it would not fit 32-bit offsets.
    uint8_t *Build(uint32_t *pSize);
    bool WriteToFile(const char *pPath);

private:
    bool AddBody(const char *pName, const char *pTag, LumpBody *pBody);

    char mHeader[LUMP_HEADER_SIZE];
    NamedLinkedList *mLumps;

    LumpWriter(const LumpWriter &) = delete;
    LumpWriter &operator=(const LumpWriter &) = delete;
};

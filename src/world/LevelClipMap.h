#pragma once
#include <cstdint>

struct ClipRecord;

// The solid cells of a chunked level: a grid of square chunks, each lending a mask of one
// byte per world unit (1 = solid), indexed [column][row] like the chunk grid itself. The
// level that owns the chunks lends their masks here, so the point test is one division into
// the grid and one byte lookup however large the level is.
//
// The map never owns a mask. Whoever lends one clears its entry (SetChunkMask with null) or
// destroys the map before freeing the mask. One mask may be lent to any number of chunks.
class LevelClipMap
{
public:
    LevelClipMap();
    ~LevelClipMap();

    // Only while the grid is still 0 by 0 and both counts are non-zero; every chunk starts
    // without a mask. False when refused or out of memory.
    bool Allocate(uint32_t pColumns, uint32_t pRows);

    // Chunks are 256 by 256 world units unless both sizes are non-zero here.
    void SetChunkSize(uint32_t pWidth, uint32_t pHeight);

    // Lends the mask of chunk (pColumn, pRow): pClipColumns x pClipRows bytes, indexed
    // [column][row]. A null mask (or a zero size) leaves the chunk without one, never solid.
    // False, with nothing stored, outside the grid.
    bool SetChunkMask(uint32_t pColumn, uint32_t pRow, const uint8_t *pCells, uint32_t pClipColumns,
                      uint32_t pClipRows);

    // Coordinates are taken as unsigned, so negative ones lie outside the grid. Outside the
    // grid is solid; a chunk without a mask is not; otherwise the chunk's cell. A mask smaller
    // than its chunk leaves the cells it does not cover free.
    bool IsClipped(int32_t pX, int32_t pY) const;

    uint32_t GetColumns() const { return mColumns; }
    uint32_t GetRows() const { return mRows; }
    uint32_t GetChunkWidth() const { return mChunkWidth; }
    uint32_t GetChunkHeight() const { return mChunkHeight; }

    // Unpacks a stored clip (rows top to bottom, eight columns a byte, least significant bit
    // first) into a new malloc'd mask of mColumns x mRows bytes indexed [column][row], the
    // layout SetChunkMask takes. Null for a null or empty record or when out of memory.
    static uint8_t *NewMaskFromClipRecord(const ClipRecord *pRecord);

private:
    struct ChunkMask
    {
        const uint8_t *rCells;
        uint32_t mClipColumns;
        uint32_t mClipRows;
    };

    uint32_t mColumns;
    uint32_t mRows;
    uint32_t mChunkWidth;
    uint32_t mChunkHeight;
    // mColumns x mRows entries, entry (c, r) at c * mRows + r.
    ChunkMask *mChunks;
};

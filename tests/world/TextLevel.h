#pragma once

#include "world/ClipQueries.h"
#include "world/LevelClipMap.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

// A level drawn as text for tests: one character per world unit, '#' solid, anything else
// free, rows top to bottom. The text is cut into square chunks; each chunk's mask is owned
// here and lent to the clip map.
class TextLevel
{
public:
    TextLevel(const char *const *pRows, int32_t pRowCount, uint32_t pChunkSize)
    {
        int32_t tWidth = 0;
        for(int32_t r = 0; r < pRowCount; r++)
        {
            if((int32_t)strlen(pRows[r]) > tWidth) tWidth = (int32_t)strlen(pRows[r]);
        }
        mColumns = ((uint32_t)tWidth + pChunkSize - 1) / pChunkSize;
        mRows = ((uint32_t)pRowCount + pChunkSize - 1) / pChunkSize;
        mMap.SetChunkSize(pChunkSize, pChunkSize);
        mMap.Allocate(mColumns, mRows);
        mMasks = (uint8_t **)calloc((size_t)mColumns * mRows, sizeof(uint8_t *));
        for(uint32_t c = 0; c < mColumns; c++)
        {
            for(uint32_t r = 0; r < mRows; r++)
            {
                uint8_t *nMask = (uint8_t *)calloc((size_t)pChunkSize * pChunkSize, 1);
                for(uint32_t x = 0; x < pChunkSize; x++)
                {
                    for(uint32_t y = 0; y < pChunkSize; y++)
                    {
                        const uint32_t tX = c * pChunkSize + x;
                        const uint32_t tY = r * pChunkSize + y;
                        if(tY >= (uint32_t)pRowCount || tX >= strlen(pRows[tY])) continue;
                        nMask[x * pChunkSize + y] = pRows[tY][tX] == '#' ? 1 : 0;
                    }
                }
                mMasks[c * mRows + r] = nMask;
                mMap.SetChunkMask(c, r, nMask, pChunkSize, pChunkSize);
            }
        }
    }

    ~TextLevel()
    {
        for(uint32_t i = 0; i < mColumns * mRows; i++) free(mMasks[i]);
        free(mMasks);
    }

    TextLevel(const TextLevel &) = delete;
    TextLevel &operator=(const TextLevel &) = delete;

    ClipWorld World(ClipEntityTest pEntityTest = nullptr, void *pContext = nullptr) const
    {
        ClipWorld tWorld = {&mMap, pEntityTest, pContext, nullptr};
        return tWorld;
    }

    LevelClipMap &Map() { return mMap; }

private:
    LevelClipMap mMap;
    uint32_t mColumns;
    uint32_t mRows;
    uint8_t **mMasks;
};

// A box with its owner at the top-left corner and no remainders.
inline Hitbox MakeBox(float pLft, float pTop, float pRgt, float pBot)
{
    Hitbox tBox = HitboxFromEdges(pLft, pTop, pRgt, pBot);
    tBox.mOwnerX = pLft;
    tBox.mOwnerY = pTop;
    return tBox;
}

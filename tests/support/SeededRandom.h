#pragma once
#include <cstdint>

// A small generator with a fixed seed, so randomised tests replay the same cases on every run.
struct Random
{
    uint32_t mState;
    uint32_t Next()
    {
        mState = mState * 1664525u + 1013904223u;
        return mState >> 8;
    }
    int32_t Range(int32_t pLo, int32_t pHi)
    {
        uint64_t tWidth = (uint64_t)((int64_t)pHi - pLo + 1);
        uint64_t tWide = ((uint64_t)Next() << 24) ^ Next();
        return (int32_t)(pLo + (int64_t)(tWide % tWidth));
    }
    bool Chance(int32_t pPercent) { return Range(0, 99) < pPercent; }
};

#pragma once

#include <cstdint>

#include "core/RootObject.h"
#include "core/data/LibraryHolder.h"

class Bitmap;
struct lua_State;

// Most frames one animation holds; scripts give the count.
#define ANIMATION_MAX_FRAMES 4096

// A flip-book: frames (Bitmaps owned by their own library entries, never by the animation;
// a frame whose Bitmap the library destroys becomes null) and a timing rule that maps a tick
// count (1/60 s) to a frame, looping every total ticks.
// Frames last ticks-per-frame each, or, under manual timing, their own tick counts.
// No GL is touched here, so timing works without a display.
class CorvelAnimation : public RootObject
{
public:
    CorvelAnimation();
    ~CorvelAnimation() override;

    // Deleter for the data library.
    static void DeleteThis(void *pAnimation);

    // A new table of null frames; total ticks follow from ticks per frame. Under manual timing
    // the per-frame ticks stay sized to the frames (kept values, new frames last 1 tick).
    // A count above ANIMATION_MAX_FRAMES is reported and cut to it.
    void SetTotalFrames(int32_t pCount);
    // Turning it on gives every frame 1 tick; total ticks are left as they are until the
    // first frame with ticks is set.
    void SetManualTiming(uint8_t pOn);
    void SetFrame(int32_t pIndex, Bitmap *pBitmap);
    // Only under manual timing; total ticks become the sum of all frames' ticks.
    void SetFrameWithTicks(int32_t pIndex, Bitmap *pBitmap, int32_t pTicks);
    // 0.0 means 1.0.
    void SetTicksPerFrame(float pTicks);

    int32_t GetFrameCount() const { return mFrameCount; }
    int32_t GetTotalTicks() const { return mTotalTicks; }
    float GetTicksPerFrame() const { return mTicksPerFrame; }
    uint8_t IsManualTiming() const { return mManualTiming; }
    int32_t GetFrameTicks(int32_t pIndex) const;

    int32_t GetFrameIndexAtTick(int32_t pTick) const;
    Bitmap *GetFrameAtTick(int32_t pTick) const;
    Bitmap *GetFrame(int32_t pIndex) const;

private:
    void ResizeTickTable(int32_t pCount);
    void RecomputeTotalFromRate();
    static void ReleaseFrame(void *pAnimation, void *pObject);

    int32_t mFrameCount;
    Bitmap **mFrames;
    int32_t mTotalTicks;
    float mTicksPerFrame;
    uint8_t mManualTiming;
    int32_t *mFrameTicks;
    int32_t mFrameTicksCount;
    LibraryHolder mHolder;

    CorvelAnimation(const CorvelAnimation &) = delete;
    CorvelAnimation &operator=(const CorvelAnimation &) = delete;
};

void RegisterCorvelAnimationLua(lua_State *L);

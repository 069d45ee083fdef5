#pragma once
#include <cstdint>

#include "interface/GUIBaseObject.h"

class Bitmap;

// A picture: one bitmap, or a sequence of frames played at a number of ticks per frame.
// Drawn whole (optionally scaled), as a source sub-rectangle, or stretched to a set size.
class GUIImage : public GUIBaseObject
{
public:
    GUIImage();
    ~GUIImage() override;

    // "NULL" or an unknown name means no bitmap. Sizes the rectangle unless a size is set.
    void SetBitmapByName(const char *pPath);
    void SetBitmap(Bitmap *pBitmap);
    Bitmap *GetBitmap() const { return rBitmap; }
    // Replaces the bitmap after that many events.
    void QueueBitmap(Bitmap *pBitmap, int32_t pDelay);
    void SetScale(float pScale) { mScale = pScale; }
    void SetSourceRect(float pX, float pY, float pW, float pH);
    void SetStretchSize(float pW, float pH);
    // The frames are borrowed; ticks per frame below 1 count as 1.
    void SetFrames(Bitmap **pFrames, int32_t pCount, int32_t pTicksPerFrame);
    int32_t GetFrameTick() const { return mFrameTick; }
    // The bitmap drawn now: the current frame of a sequence, else the bitmap.
    Bitmap *GetShownBitmap() const;

    bool HandleEvent(int32_t pCode, int32_t pX, int32_t pY) override;
    void Render() override;
    void ReleaseLibraryObject(void *pObject) override;

private:
    Bitmap *rBitmap;
    Bitmap *rQueued;
    int32_t mQueueDelay;
    float mScale;
    uint8_t mUseSource;
    float mSource[4];
    uint8_t mUseStretch;
    float mStretchW;
    float mStretchH;
    Bitmap **mFrames;
    int32_t mFrameCount;
    int32_t mTicksPerFrame;
    int32_t mFrameTick;
};

class GUISmartImage;
typedef void (*GUISmartImageRenderer)(GUISmartImage *pImage);

// Draws through a callback its owner supplies.
class GUISmartImage : public GUIBaseObject
{
public:
    GUISmartImage();
    void SetRenderer(GUISmartImageRenderer pRenderer) { rRenderer = pRenderer; }
    void Render() override;

private:
    GUISmartImageRenderer rRenderer;
};

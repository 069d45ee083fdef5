#pragma once
#include <cstdint>

#include "interface/GUIBaseObject.h"

class Bitmap;
class RootExecutor;

enum ScrollBarListener
{
    SCROLL_VALUE_CHANGED = 0,
    SCROLL_DRAG_STARTED = 1,
    SCROLL_DRAG_ENDED = 2,
};

// A horizontal track with a thumb at a value from 0 to 1. Pressing the bar starts a drag in
// which the thumb follows the pointer; listeners hear of value changes and of the drag's
// start and end.
class GUIScrollBarH : public GUIBaseObject
{
public:
    GUIScrollBarH();
    ~GUIScrollBarH() override;

    // base + each suffix names the track, thumb and pressed-thumb pictures; the track sizes
    // the rectangle.
    void SetImages(const char *pBase, const char *pTrack, const char *pThumb, const char *pPressed);
    // Clamped to 0..1; tells the value listener.
    void SetValue(float pValue);
    float GetValue() const { return mValue; }
    bool IsDragging() const { return mDragging != 0; }
    // Replaces a listener (an owned one is deleted).
    void SetListener(int32_t pWhich, RootExecutor *pExecutor, bool pOwned);

    bool HandleEvent(int32_t pCode, int32_t pX, int32_t pY) override;
    void Render() override;
    void ReleaseLibraryObject(void *pObject) override;
    // Draws the track around the thumb, through the stencil buffer.
    virtual void RenderThumb();

protected:
    void Notify(int32_t pWhich);
    void DrawTrackAndThumb(float pTravel, bool pAlongY);

    uint8_t mUseThumbRenderer;
    Bitmap *rTrack;
    Bitmap *rThumb;
    Bitmap *rThumbPressed;
    uint8_t mDragging;
    int32_t mDragStartY;
    float mDragStartValue;
    float mValue;
    RootExecutor *rListeners[3];
    uint8_t mListenerOwned[3];
};

// The vertical bar moves its thumb relative to where the press began.
class GUIScrollBarV : public GUIScrollBarH
{
public:
    GUIScrollBarV();
    bool HandleEvent(int32_t pCode, int32_t pX, int32_t pY) override;
    void Render() override;
};

// The vertical bar's value for a drag: the travel d is the pointer's movement since the press
// scaled by the view's height over the window's width plus 0.2.
float VerticalDragValue(int32_t pPointerY, int32_t pStartY, float pStartValue, float pBarHeight,
                        float pVirtualHeight, float pWindowWidth);

#pragma once
#include <cstdint>

#include "interface/GUIBaseObject.h"

class Bitmap;
class CorvelAnimation;
class NamedLinkedList;
class RootExecutor;

// Frame range of one visual state of an animated button.
struct ButtonStateFrames
{
    int32_t mFirst;
    int32_t mLast;
    float mTicksPerFrame;
    uint8_t mClamp;
};

// Frame of a state range after some ticks in that state: past the last frame it holds the
// last one (clamp) or wraps back into the range; a one-frame range stays on it.
int32_t ButtonAnimationFrame(const ButtonStateFrames &pRange, int32_t pStateTicks);

// A clickable area with an image per state (idle, hover, pressed, disabled) and a list of
// actions run on a click: a press on the button followed by a release on it. In toggle mode
// each click flips the toggled state, which then chooses the image.
class GUIButton : public GUIBaseObject
{
public:
    GUIButton();
    ~GUIButton() override;

    void SetImages(Bitmap *pIdle, Bitmap *pHover, Bitmap *pPress, Bitmap *pDisabled);
    void SetImagesByName(const char *pIdle, const char *pHover, const char *pPress, const char *pDisabled);
    // base + "Idle", "Hover", "Press" and, with the flag, "Disabled".
    void SetImagesByBaseName(const char *pBase, bool pWithDisabled);
    void SetAnimation(const char *pPath);
    void SetStateFrames(int32_t pState, int32_t pFirst, int32_t pLast, float pTicksPerFrame, uint8_t pClamp);
    void SetHitOffsets(float pX1, float pY1, float pX2, float pY2);
    void SetToggleMode(uint8_t pToggleMode, uint8_t pToggled);
    void SetDisabled(uint8_t pFlag) { mDisabled = pFlag ? 1 : 0; }
    uint8_t IsToggled() const { return mToggled; }
    int32_t GetStateTicks() const { return mStateTicks; }
    // The picture of a state (0 idle, 1 hover, 2 pressed, 3 disabled); null when it has none.
    Bitmap *GetImage(int32_t pState) const { return (pState >= 0 && pState < 4) ? rImages[pState] : nullptr; }

    // Vertices are in the button's own coordinates.
    void SetPolygonVertexCount(int32_t pCount);
    void SetPolygonVertex(int32_t pIndex, float pX, float pY);

    // Null is ignored; owned actions are deleted with the button.
    void AddAction(RootExecutor *pExecutor, bool pOwned);
    void ClearActions();
    RootExecutor *GetAction(int32_t pIndex);
    int32_t GetActionCount() const;
    void RunActions();
    // Pressed and released on the button; clears both.
    bool WasClicked();
    // 0 idle, 1 hover, 2 pressed (or toggled), 3 disabled.
    int32_t GetVisualState() const;

    bool HitTest(int32_t pX, int32_t pY) override;
    bool HandleEvent(int32_t pCode, int32_t pX, int32_t pY) override;
    void Render() override;
    void ReleaseLibraryObject(void *pObject) override;

private:
    Bitmap *StateImage() const;

    uint8_t mPressed;
    uint8_t mHovered;
    uint8_t mReleased;
    uint8_t mDisabled;
    Bitmap *rImages[4];
    uint8_t mUseAnimation;
    int32_t mStateTicks;
    CorvelAnimation *rAnimation;
    ButtonStateFrames mFrames[4];
    uint8_t mToggleMode;
    uint8_t mToggled;
    float mHitOffsets[4];
    NamedLinkedList *mActions;
    uint8_t mUsePolygon;
    float *mPolygon;
};

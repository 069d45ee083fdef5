#pragma once
#include <cstdint>

class GUIBaseObject;
struct GUIAnimation;

typedef void (*GUIAnimationStep)(GUIAnimation *pAnimation);

// One running animation of a GUI object. The GUI manager steps every record once per tick
// (after its delay has run out) and retires it once the step has set the done flag, calling
// the target's Hide then when hideWhenDone is set. The data block belongs to the record.
struct GUIAnimation
{
    uint8_t mDone;
    uint8_t mHideWhenDone;
    GUIBaseObject *rTarget;
    void *mData;
    GUIAnimationStep rStep;
    int32_t mDelay;
};

// Data blocks of the three kinds.
struct GUIMoveData
{
    int32_t mTargetX;
    int32_t mTargetY;
    float mSpeed;
};

struct GUISlideData
{
    int32_t mStartX;
    int32_t mStartY;
    int32_t mTargetX;
    int32_t mTargetY;
    int32_t mTick;
    int32_t mTicks;
};

struct GUIFadeData
{
    float mStartAlpha;
    float mEndAlpha;
    int32_t mTick;
    int32_t mTicks;
};

// Straight move of the top-left corner towards a point at a fixed speed per tick.
void StepMoveAnimation(GUIAnimation *pAnimation);
// Eased slide of the corner from its start to a point over a number of ticks.
void StepSlideAnimation(GUIAnimation *pAnimation);
// Linear change of the object's alpha over a number of ticks; 0 ticks sets it at once.
void StepFadeAnimation(GUIAnimation *pAnimation);

// New records (record and block on malloc), or null for a null target.
GUIAnimation *CreateMoveAnimation(GUIBaseObject *pTarget, int32_t pX, int32_t pY, float pSpeed);
GUIAnimation *CreateSlideAnimation(GUIBaseObject *pTarget, int32_t pX, int32_t pY, int32_t pTicks);
GUIAnimation *CreateFadeAnimation(GUIBaseObject *pTarget, float pEndAlpha, int32_t pTicks);

// Deleter of the manager's animation list: frees the data block and the record.
void DeleteGUIAnimation(void *pAnimation);

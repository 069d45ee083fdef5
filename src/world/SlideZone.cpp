#include "world/SlideZone.h"

SlideZone::SlideZone()
{
    SetName("Unnamed Slider");
    mSlideAmount = 0.0f;
}

SlideZone::~SlideZone()
{
}

void SlideZone::SetSlideAmount(float pAmount)
{
    if(!(pAmount > 0.0f)) pAmount = 0.0f;
    if(pAmount > 1.0f) pAmount = 1.0f;
    mSlideAmount = pAmount;
}

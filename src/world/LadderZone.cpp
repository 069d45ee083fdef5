#include "world/LadderZone.h"

#include <GL/gl.h>

#include "world/LevelCollision.h"

LadderZone::LadderZone()
{
    SetName("Unnamed Ladder");
}

LadderZone::~LadderZone()
{
}

bool LadderZone::ContainsPoint(int32_t pX, int32_t pY)
{
    if(!LadderTopsSolid) return false;
    return (float)pY == mRect.mTop && (float)pX >= mRect.mLft && (float)pX <= mRect.mRgt;
}

// Whether ladder tops count is a movement flag, not the ladder's shape, so the box is its top
// row whatever the flag says.
SolidReach LadderZone::GetSolidReach(IntRect &sBox)
{
    return BoxHoldingFloatSpans(mRect.mLft, mRect.mRgt, mRect.mTop, mRect.mTop, sBox) ? SOLID_REACH_BOX
                                                                                        : SOLID_REACH_NONE;
}

void LadderZone::Render()
{
    glTranslatef(mRect.mLft, mRect.mTop, 0.0f);
    RenderZoneRectOutline(mRect);
    glTranslatef(-mRect.mLft, -mRect.mTop, 0.0f);
}

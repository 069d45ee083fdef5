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

void LadderZone::Render()
{
    glTranslatef(mRect.mLft, mRect.mTop, 0.0f);
    RenderZoneRectOutline(mRect);
    glTranslatef(-mRect.mLft, -mRect.mTop, 0.0f);
}

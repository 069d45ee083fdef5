#include "world/RootEntity.h"

#include <GL/gl.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "core/DataList.h"
#include "core/OptionsManager.h"
#include "core/Utilities.h"

RootEntity::RootEntity()
{
    mName = nullptr;
    ResetString(&mName, "Unnamed Entity");
    mEnabled = 1;
    mTag = 0;
    mDebugColour[0] = 0.0f;
    mDebugColour[1] = 0.0f;
    mDebugColour[2] = 0.0f;
    mDebugColour[3] = 0.0f;
    mData = new DataList();
    mData->SetStrictFlag(1);
    mDepth = ROOTENTITY_NO_DEPTH;
    mDestruct = 0;
}

RootEntity::~RootEntity()
{
    free(mName);
    delete mData;
}

void RootEntity::SetName(const char *pName)
{
    ResetString(&mName, pName);
}

void RootEntity::SetDebugColour(float pR, float pG, float pB, float pA)
{
    mDebugColour[0] = pR;
    mDebugColour[1] = pG;
    mDebugColour[2] = pB;
    mDebugColour[3] = pA;
}

bool RootEntity::IsSideBlockedByName(const char *pSide)
{
    if(!pSide) return false;
    if(!strcmp(pSide, "Left")) return IsSideBlocked(0);
    if(!strcmp(pSide, "Top")) return IsSideBlocked(1);
    if(!strcmp(pSide, "Right")) return IsSideBlocked(2);
    if(!strcmp(pSide, "Bottom")) return IsSideBlocked(3);
    return false;
}

void RootEntity::UpdateIfEnabled()
{
    if(mEnabled == 1) Update();
}

void RootEntity::GetPosition(float &sX, float &sY, float &sZ)
{
    fprintf(stderr, "Warning:  Entity of type %i does not have a position function\n", mType);
    fprintf(stderr, "Id of this object is %i\n", mObjectID);
    sX = 0.0f;
    sY = 0.0f;
    sZ = 0.0f;
}

void RootEntity::GetSize(float &sW, float &sH)
{
    sW = 0.0f;
    sH = 0.0f;
}

bool RootEntity::IsSideBlocked(int32_t)
{
    return false;
}

bool RootEntity::ContainsPoint(int32_t, int32_t)
{
    return false;
}

SolidReach RootEntity::GetSolidReach(IntRect &)
{
    return SOLID_REACH_NEVER;
}

bool RootEntity::HasHitbox()
{
    return false;
}

void RootEntity::GetHitbox(Hitbox &)
{
    fprintf(stderr, "RootEntity::GetHitbox error, no subclass has implemented this function.\n");
}

void RootEntity::SetPositionAutoCenter(float, float, float)
{
    fprintf(stderr, "RootEntity::SetPositionAutoCenter error, no subclass has implemented this function.\n");
}

bool RootEntity::IsSideContact(int32_t)
{
    return false;
}

void RootEntity::ApplyPush(float, float, float)
{
}

void RootEntity::OnDestroy()
{
}

void RootEntity::Reset()
{
}

void RootEntity::Update()
{
}

void RootEntity::TickAlways()
{
}

void RootEntity::Render()
{
}

void RootEntity::RenderDebugCube()
{
}

void RootEntity::RenderZoneRectOutline(ZoneRect pRect)
{
    RenderHitboxRect(pRect.mLft, pRect.mTop, pRect.mRgt, pRect.mBot);
}

void RootEntity::RenderHitboxOutline(Hitbox pHitbox)
{
    RenderHitboxRect(pHitbox.mLft, pHitbox.mTop, pHitbox.mRgt, pHitbox.mBot);
}

void RootEntity::RenderHitboxRect(float pLft, float pTop, float pRgt, float pBot)
{
    OptionsManager *rOptions = OptionsManager::Get();
    if(!rOptions || !rOptions->GetBool("ShowHitboxes")) return;
    RenderOutlineFromOrigin(pRgt - pLft, pBot - pTop);
}

void RenderOutlineFromOrigin(float pWidth, float pHeight)
{
    glDisable(GL_TEXTURE_2D);
    glColor4f(1.0f, 0.0f, 0.0f, 1.0f);
    glBegin(GL_LINE_LOOP);
    glVertex2f(0.0f, 0.0f);
    glVertex2f(pWidth, 0.0f);
    glVertex2f(pWidth, pHeight);
    glVertex2f(0.0f, pHeight);
    glEnd();
    glEnable(GL_TEXTURE_2D);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
}

#include "world/ZoneTrigger.h"

#include <GL/gl.h>
#include <cstdio>
#include <cstdlib>

#include "actors/PlayerPony.h"
#include "core/Geometry.h"
#include "core/LuaManager.h"
#include "core/OptionsManager.h"
#include "core/Utilities.h"
#include "world/RootZone.h"

ZoneTrigger::ZoneTrigger()
{
    mType = TYPE_ZONETRIGGER;
    mRectCount = 0;
    mRects = nullptr;
    mActiveSlot = -1;
    mCallScript = nullptr;
    mCallNumber = -1;
    mNoRefire = 0;
    mInside = 0;
}

ZoneTrigger::~ZoneTrigger()
{
    free(mRects);
    free(mCallScript);
}

void ZoneTrigger::SetRectCount(int32_t pCount)
{
    free(mRects);
    mRects = nullptr;
    mRectCount = 0;
    if(pCount <= 0) return;
    if(pCount > ZONETRIGGER_MAX_RECTS)
    {
        fprintf(stderr, "ZoneTrigger %s: %i rectangles asked for, keeping %i.\n", mName ? mName : "", pCount, ZONETRIGGER_MAX_RECTS);
        pCount = ZONETRIGGER_MAX_RECTS;
    }
    mRects = (ZoneRect *)calloc((size_t)pCount, sizeof(ZoneRect));
    if(!mRects)
    {
        fprintf(stderr, "ZoneTrigger %s: could not allocate %i rectangles.\n", mName ? mName : "", pCount);
        return;
    }
    mRectCount = pCount;
}

void ZoneTrigger::SetRect(int32_t pIndex, float pLft, float pTop, float pRgt, float pBot)
{
    if(pIndex < 0 || pIndex >= mRectCount) return;
    TakeEdgesInOrder("ZoneTrigger::SetRect", GetName(), pIndex, pLft, pTop, pRgt, pBot);
    mRects[pIndex].mLft = pLft;
    mRects[pIndex].mTop = pTop;
    mRects[pIndex].mRgt = pRgt;
    mRects[pIndex].mBot = pBot;
}

ZoneRect ZoneTrigger::GetRect(int32_t pIndex) const
{
    ZoneRect tRect = {};
    if(pIndex >= 0 && pIndex < mRectCount) tRect = mRects[pIndex];
    return tRect;
}

void ZoneTrigger::SetCallData(const char *pScript, int32_t pNumber)
{
    ResetString(&mCallScript, pScript);
    mCallNumber = pNumber;
}

bool ZoneTrigger::IsCollidingWith(RootEntity *pEntity)
{
    if(!pEntity) return false;
    Hitbox tBox = {};
    pEntity->GetHitbox(tBox);
    for(int32_t i = 0; i < mRectCount; i++)
    {
        if(HitboxOverlapsZoneRect(tBox, mRects[i]))
        {
            mActiveSlot = i;
            return true;
        }
    }
    return false;
}

void ZoneTrigger::Update()
{
    if(!mCallScript) return;
    if(!IsCollidingWith(PlayerPony::Get()))
    {
        mInside = 0;
        return;
    }
    if(mNoRefire && mInside) return;

    // Set before the script runs: a script that destroys the trigger or moves the player
    // must not make the same entry fire twice.
    mInside = 1;
    RunScriptAsActive(this, mCallScript, SCRIPT_ARGS_NUMBER, (double)mCallNumber);
}

void ZoneTrigger::Render()
{
    OptionsManager *rOptions = OptionsManager::Get();
    if(!rOptions || !rOptions->GetBool("ShowHitboxes")) return;
    for(int32_t i = 0; i < mRectCount; i++)
    {
        glTranslatef(mRects[i].mLft, mRects[i].mTop, 0.0f);
        RenderZoneRectOutline(mRects[i]);
        glTranslatef(-mRects[i].mLft, -mRects[i].mTop, 0.0f);
    }
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
}

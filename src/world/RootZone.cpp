#include "world/RootZone.h"

#include <cstdio>

#include "core/Geometry.h"
#include "core/LuaBindingHelpers.h"
#include "core/data/DataLibrary.h"
#include "world/EntityManager.h"

RootZone::RootZone()
{
    SetName("Unnamed Zone");
    mRect = ZoneRect();
}

RootZone::~RootZone()
{
}

void RootZone::GetPosition(float &sX, float &sY, float &sZ)
{
    sX = mRect.mCentreX;
    sY = mRect.mCentreY;
    sZ = 0.0f;
}

void RootZone::GetHitbox(Hitbox &sHitbox)
{
    sHitbox.mLft = mRect.mLft;
    sHitbox.mTop = mRect.mTop;
    sHitbox.mRgt = mRect.mRgt;
    sHitbox.mBot = mRect.mBot;
}

void RootZone::SetRect(float pLft, float pTop, float pRgt, float pBot)
{
    TakeEdgesInOrder("RootZone::SetRect", GetName(), -1, pLft, pTop, pRgt, pBot);
    mRect.mLft = pLft;
    mRect.mTop = pTop;
    mRect.mRgt = pRgt;
    mRect.mBot = pBot;
    mRect.mCentreX = (pLft + pRgt) / 2.0f;
    mRect.mCentreY = (pTop + pBot) / 2.0f;
}

void TakeEdgesInOrder(const char *pMethod, const char *pOwner, int32_t pIndex, float &sLft, float &sTop, float &sRgt,
                      float &sBot)
{
    const float tGiven[4] = {sLft, sTop, sRgt, sBot};
    if(!OrderRectangleEdges(sLft, sTop, sRgt, sBot)) return;
    char tIndex[16] = "";
    if(pIndex >= 0) snprintf(tIndex, sizeof(tIndex), " %i", (int)pIndex);
    fprintf(stderr, "%s warning, %s was given a reversed rectangle%s (%g, %g, %g, %g), taken as (%g, %g, %g, %g).\n",
            pMethod, pOwner ? pOwner : "", tIndex, tGiven[0], tGiven[1], tGiven[2], tGiven[3], sLft, sTop, sRgt, sBot);
}

void DeleteZone(void *pZone)
{
    RootZone *nZone = static_cast<RootZone *>(pZone);
    if(!nZone) return;
    DataLibrary *rLibrary = DataLibrary::Fetch();
    if(rLibrary) rLibrary->ForgetObject(static_cast<RootObject *>(nZone));
    delete nZone;
}

bool RegisterZone(const char *pListName, RootZone *pZone)
{
    EntityManager *rManager = EntityManager::Fetch();
    if(!pZone) return false;
    if(!rManager || !rManager->GetSpecialList(pListName))
    {
        delete pZone;
        return false;
    }
    rManager->RegisterSpecialObject(pListName, pZone->GetName(), pZone, DeleteZone);
    return true;
}

bool ReadZoneCreateArguments(lua_State *L, int pCount, const char *pBinding, const char *&sName, float sEdges[4])
{
    if(lua_gettop(L) != pCount || !LuaArgIsString(L, 1) || !LuaArgsAreNumbers(L, 2, pCount))
    {
        LuaArgListError(pBinding);
        return false;
    }
    sName = LuaArgString(L, 1, nullptr);
    for(int i = 0; i < 4; i++) sEdges[i] = (float)LuaArgNumber(L, i + 2, 0.0);
    return true;
}

#include "world/MapBGM.h"

#include <GL/gl.h>
#include <cstdlib>

#include "core/NamedLinkedList.h"
#include "core/data/DataLibrary.h"
#include "core/render/Bitmap.h"
#include "core/render/GLState.h"
#include "world/Camera.h"

BackgroundPack::BackgroundPack() : mHolder(this, ReleaseImage)
{
    mActive = 0;
    mDepth = 0.0f;
    rImage = NULL;
    mLft = 0.0f;
    mTop = 0.0f;
    mRgt = 0.0f;
    mBot = 0.0f;
    mAppearancesX = 1.0f;
    mAppearancesY = 1.0f;
    mForceScrollX = 0;
    mForceScrollY = 0;
}

BackgroundPack::~BackgroundPack()
{
}

void BackgroundPack::ReleaseImage(void *pOwner, void *pObject)
{
    BackgroundPack *rPack = static_cast<BackgroundPack *>(pOwner);
    if(rPack->rImage != pObject) return;
    rPack->rImage = NULL;
    rPack->mActive = 0;
}

void BackgroundPack::SetImage(const char *pPath)
{
    DataLibrary *rLibrary = DataLibrary::Fetch();
    rImage = (rLibrary && pPath) ? static_cast<Bitmap *>(rLibrary->GetEntryOfKind(pPath, DL_KIND_BITMAP)) : NULL;
    if(!rImage) mActive = 0;
}

void BackgroundPack::Activate()
{
    if(rImage) mActive = 1;
}

void BackgroundPack::SetAppearances(float pX, float pY)
{
    if(!rImage || !(pX > 0.0f) || !(pY > 0.0f)) return;
    if(rImage->GetWidth() == 0 || rImage->GetHeight() == 0) return;
    mAppearancesX = pX;
    mAppearancesY = pY;
}

// --- Parallax -------------------------------------------------------------------------------

BackgroundPlacement ComputeBackgroundPlacement(const BackgroundPack &pPack, const Hitbox &pFrame,
                                               float pTextureW, float pTextureH)
{
    BackgroundPlacement tPlace = {};
    const float tWidth = pPack.mRgt - pPack.mLft;
    const float tHeight = pPack.mBot - pPack.mTop;

    float tExtraX = 0.0f;
    const bool tSpansX = pFrame.mRgt >= pPack.mRgt && pPack.mLft >= pFrame.mLft;
    if(!tSpansX && tWidth >= BGPACK_SCROLL_MIN_WIDTH)
    {
        float tFx = (pFrame.mLft - pPack.mLft) / tWidth;
        if(tFx < 0.0f && pPack.mForceScrollX) tExtraX = -tFx;
        if(tFx > 1.0f && pPack.mForceScrollX) tExtraX = tFx - 1.0f;
        if(tFx < 0.0f) tFx = 0.0f;
        if(tFx > 1.0f) tFx = 1.0f;
        tPlace.mFractionX = tFx;
    }

    // A pack exactly one screen high has no room to scroll in: it stays put rather than
    // dividing by zero.
    const bool tSpansY = pFrame.mBot >= pPack.mBot && pPack.mTop >= pFrame.mTop;
    const float tRoomY = tHeight - BGPACK_SCROLL_MIN_HEIGHT;
    if(!tSpansY && tHeight >= BGPACK_SCROLL_MIN_HEIGHT && tRoomY > 0.0f)
    {
        float tFy = (pFrame.mTop - pPack.mTop) / tRoomY;
        if(tFy < 0.0f) tFy = 0.0f;
        if(tFy > 1.0f) tFy = 1.0f;
        tPlace.mFractionY = tFy;
    }

    const float tSpanX = pTextureW * pPack.mAppearancesX;
    const float tSpanY = pTextureH * pPack.mAppearancesY;
    tPlace.mOffsetX = tPlace.mFractionX * (tWidth - tSpanX);
    if(pTextureW > 0.0f) tPlace.mScrollU = tExtraX * (tWidth - tSpanX) / pTextureW;
    if(tSpanY > tHeight) tPlace.mOffsetY = tPlace.mFractionY * (tSpanY - tHeight);
    else tPlace.mOffsetY = tPlace.mFractionY * (tHeight - tSpanY);
    return tPlace;
}

// --- The map's packs ------------------------------------------------------------------------

// The library forgets a pack before it goes, so one left active by a map script never
// dangles there.
static void DeleteBackgroundPack(void *pPack)
{
    if(!pPack) return;
    DataLibrary *rLibrary = DataLibrary::Fetch();
    if(rLibrary) rLibrary->ForgetObject(pPack);
    delete static_cast<BackgroundPack *>(pPack);
}

MapBGM::MapBGM()
{
    mPacks = new NamedLinkedList(1);
}

MapBGM::~MapBGM()
{
    delete mPacks;
}

void MapBGM::AddPack(const char *pName, BackgroundPack *pPack)
{
    if(!pPack) return;
    mPacks->AddElementWithDeleter(pName, pPack, DeleteBackgroundPack);
}

BackgroundPack *MapBGM::GetPack(const char *pName)
{
    return static_cast<BackgroundPack *>(mPacks->GetElementByName(pName));
}

int32_t MapBGM::GetCount() const
{
    return mPacks->GetCount();
}

void MapBGM::Clear()
{
    mPacks->Clear();
}

void MapBGM::Render(const Camera *pCamera)
{
    if(!pCamera) return;
    const Hitbox tFrame = pCamera->GetFrame();
    for(void *rData = mPacks->PushIterator(); rData; rData = mPacks->IterateNext())
    {
        BackgroundPack *rPack = static_cast<BackgroundPack *>(rData);
        Bitmap *rImage = rPack->rImage;
        if(!rPack->mActive || !rImage) continue;
        if(!(rPack->mAppearancesX > 0.0f) || !(rPack->mAppearancesY > 0.0f)) continue;
        if(!pCamera->IsIntRectVisible(rPack->mLft, rPack->mTop, rPack->mRgt, rPack->mBot)) continue;

        const BackgroundPlacement tPlace = ComputeBackgroundPlacement(
            *rPack, tFrame, (float)rImage->GetTextureWidth(), (float)rImage->GetTextureHeight());
        GLState::PushAll();
        glTranslatef(rPack->mLft - tFrame.mLft, rPack->mTop - tFrame.mTop, rPack->mDepth);
        glTranslatef(tPlace.mOffsetX, tPlace.mOffsetY, 0.0f);
        glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
        glEnable(GL_TEXTURE_2D);
        rImage->Bind();
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
        rImage->ApplyOffset();
        const float tW = (float)rImage->GetWidth() * rPack->mAppearancesX;
        const float tH = (float)rImage->GetHeight() * rPack->mAppearancesY;
        const float tU = tPlace.mScrollU;
        // The texture's top row is t = 0, as everywhere in the engine.
        glBegin(GL_QUADS);
        glTexCoord2f(tU, 0.0f);
        glVertex2f(0.0f, 0.0f);
        glTexCoord2f(tU + rPack->mAppearancesX, 0.0f);
        glVertex2f(tW, 0.0f);
        glTexCoord2f(tU + rPack->mAppearancesX, rPack->mAppearancesY);
        glVertex2f(tW, tH);
        glTexCoord2f(tU, rPack->mAppearancesY);
        glVertex2f(0.0f, tH);
        glEnd();
        rImage->RemoveOffset();
        GLState::PopAll();
    }
}

#include "interface/GUIImage.h"

#include <GL/gl.h>
#include <cstdlib>
#include <cstring>

#include "core/data/DataLibrary.h"
#include "core/render/Bitmap.h"
#include "core/render/Drawing.h"
#include "core/render/GLState.h"

GUIImage::GUIImage()
{
    mType = TYPE_GUIIMAGE;
    SetName("Unnamed GUI Image");
    rBitmap = nullptr;
    rQueued = nullptr;
    mQueueDelay = 0;
    mScale = 0.0f;
    mUseSource = 0;
    memset(mSource, 0, sizeof(mSource));
    mUseStretch = 0;
    mStretchW = 0.0f;
    mStretchH = 0.0f;
    mFrames = nullptr;
    mFrameCount = 0;
    mTicksPerFrame = 1;
    mFrameTick = 0;
}

GUIImage::~GUIImage()
{
    free(mFrames);
}

// A purged frame leaves a gap in the sequence; the other frames play on.
void GUIImage::ReleaseLibraryObject(void *pObject)
{
    DropLibraryObject(rBitmap, pObject);
    DropLibraryObject(rQueued, pObject);
    DropLibraryObject(mFrames, mFrameCount, pObject);
}

void GUIImage::SetBitmapByName(const char *pPath)
{
    DataLibrary *rLibrary = DataLibrary::Fetch();
    if(!pPath || !strcmp(pPath, "NULL") || !rLibrary)
    {
        SetBitmap(nullptr);
        return;
    }
    SetBitmap(static_cast<Bitmap *>(rLibrary->GetEntryOfKind(pPath, DL_KIND_BITMAP)));
}

void GUIImage::SetBitmap(Bitmap *pBitmap)
{
    rBitmap = HoldLibraryObject(pBitmap);
    if(!rBitmap || mUseStretch) return;
    float tScale = mScale == 0.0f ? 1.0f : mScale;
    SetSize((float)rBitmap->GetWidth() * tScale, (float)rBitmap->GetHeight() * tScale);
}

void GUIImage::QueueBitmap(Bitmap *pBitmap, int32_t pDelay)
{
    rQueued = HoldLibraryObject(pBitmap);
    mQueueDelay = pDelay < 1 ? 1 : pDelay;
}

void GUIImage::SetSourceRect(float pX, float pY, float pW, float pH)
{
    mUseSource = 1;
    mSource[0] = pX;
    mSource[1] = pY;
    mSource[2] = pW;
    mSource[3] = pH;
}

void GUIImage::SetStretchSize(float pW, float pH)
{
    mUseStretch = 1;
    mStretchW = pW;
    mStretchH = pH;
    SetSize(pW, pH);
}

void GUIImage::SetFrames(Bitmap **pFrames, int32_t pCount, int32_t pTicksPerFrame)
{
    free(mFrames);
    mFrames = nullptr;
    mFrameCount = 0;
    mFrameTick = 0;
    mTicksPerFrame = pTicksPerFrame < 1 ? 1 : pTicksPerFrame;
    if(!pFrames || pCount < 1) return;
    mFrames = (Bitmap **)malloc(sizeof(Bitmap *) * (size_t)pCount);
    if(!mFrames) return;
    for(int32_t i = 0; i < pCount; i++) mFrames[i] = HoldLibraryObject(pFrames[i]);
    mFrameCount = pCount;
}

Bitmap *GUIImage::GetShownBitmap() const
{
    if(mFrameCount > 0) return mFrames[mFrameTick / mTicksPerFrame];
    return rBitmap;
}

bool GUIImage::HandleEvent(int32_t pCode, int32_t pX, int32_t pY)
{
    (void)pCode;
    (void)pX;
    (void)pY;
    if(mQueueDelay > 0)
    {
        mQueueDelay--;
        if(mQueueDelay == 0) SetBitmap(rQueued);
    }
    if(mFrameCount > 0)
    {
        if(!IsVisible()) mFrameTick = 0;
        else mFrameTick = (mFrameTick + 1) % (mFrameCount * mTicksPerFrame);
    }
    return false;
}

void GUIImage::Render()
{
    Bitmap *rShown = GetShownBitmap();
    GLState::PushAll();
    glTranslatef(mX1, mY1, 0.0f);
    if(rShown)
    {
        ColorRGBA tWhite;
        tWhite.Set(1.0f, 1.0f, 1.0f, GetEffectiveAlpha());
        if(mUseSource)
        {
            rShown->Bind();
            float tW = (float)rShown->GetTextureWidth(), tH = (float)rShown->GetTextureHeight();
            if(tW > 0.0f && tH > 0.0f)
            {
                float tDestW = mUseStretch ? mStretchW : mSource[2];
                float tDestH = mUseStretch ? mStretchH : mSource[3];
                DrawBoundTextureRect(0.0f, 0.0f, tDestW, tDestH, mSource[0] / tW, mSource[1] / tH,
                                     (mSource[0] + mSource[2]) / tW, (mSource[1] + mSource[3]) / tH);
            }
        }
        else if(mUseStretch)
        {
            DrawTextureRegionScaled(rShown->GetTexture(), tWhite, (float)rShown->GetTextureWidth(),
                                    (float)rShown->GetTextureHeight(), 0.0f, 0.0f, mStretchW, mStretchH, 0);
        }
        else if(mScale != 0.0f)
        {
            glScalef(mScale, mScale, 1.0f);
            rShown->DrawAtOrigin();
            glScalef(1.0f / mScale, 1.0f / mScale, 1.0f);
        }
        else
        {
            rShown->DrawAtOrigin();
        }
    }
    DrawChildren();
    GLState::PopAll();
}

GUISmartImage::GUISmartImage()
{
    mType = TYPE_GUISMARTIMAGE;
    SetName("Unnamed GUI SmartImage");
    rRenderer = nullptr;
}

void GUISmartImage::Render()
{
    if(rRenderer) rRenderer(this);
}

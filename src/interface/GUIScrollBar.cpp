#include "interface/GUIScrollBar.h"

#include <GL/gl.h>
#include <cstdio>

#include "core/Application.h"
#include "core/ControlManager.h"
#include "core/data/DataLibrary.h"
#include "core/render/Bitmap.h"
#include "core/render/GLState.h"
#include "interface/GUI.h"
#include "world/RootExecutor.h"

static Bitmap *LookUpJoined(const char *pBase, const char *pSuffix)
{
    DataLibrary *rLibrary = DataLibrary::Fetch();
    if(!rLibrary || !pBase || !pSuffix) return nullptr;
    char tName[256];
    int tLength = snprintf(tName, sizeof(tName), "%s%s", pBase, pSuffix);
    if(tLength < 0 || tLength >= (int)sizeof(tName)) return nullptr;
    return static_cast<Bitmap *>(rLibrary->GetEntryOfKind(tName, DL_KIND_BITMAP));
}

float VerticalDragValue(int32_t pPointerY, int32_t pStartY, float pStartValue, float pBarHeight,
                        float pVirtualHeight, float pWindowWidth)
{
    float tFactor = (pWindowWidth > 0.0f ? pVirtualHeight / pWindowWidth : 0.0f) + 0.2f;
    int32_t tTravel = (int32_t)((float)(pPointerY - pStartY) * tFactor);
    if(tTravel < -pStartY) return 0.0f;
    if((float)tTravel > pBarHeight) return 1.0f;
    if(pBarHeight <= 0.0f) return pStartValue;
    return pStartValue + (float)tTravel / pBarHeight;
}

GUIScrollBarH::GUIScrollBarH()
{
    mType = TYPE_GUISCROLLBARH;
    SetName("Unnamed GUI ScrollBarH");
    mUseThumbRenderer = 1;
    rTrack = nullptr;
    rThumb = nullptr;
    rThumbPressed = nullptr;
    mDragging = 0;
    mDragStartY = 0;
    mDragStartValue = 0.0f;
    mValue = 0.0f;
    for(int32_t i = 0; i < 3; i++)
    {
        rListeners[i] = nullptr;
        mListenerOwned[i] = 0;
    }
}

GUIScrollBarH::~GUIScrollBarH()
{
    for(int32_t i = 0; i < 3; i++)
    {
        if(mListenerOwned[i]) delete rListeners[i];
    }
}

void GUIScrollBarH::ReleaseLibraryObject(void *pObject)
{
    DropLibraryObject(rTrack, pObject);
    DropLibraryObject(rThumb, pObject);
    DropLibraryObject(rThumbPressed, pObject);
}

void GUIScrollBarH::SetImages(const char *pBase, const char *pTrack, const char *pThumb, const char *pPressed)
{
    rTrack = HoldLibraryObject(LookUpJoined(pBase, pTrack));
    rThumb = HoldLibraryObject(LookUpJoined(pBase, pThumb));
    rThumbPressed = HoldLibraryObject(LookUpJoined(pBase, pPressed));
    if(rTrack) SetSize((float)rTrack->GetWidth(), (float)rTrack->GetHeight());
}

void GUIScrollBarH::SetValue(float pValue)
{
    if(pValue < 0.0f) pValue = 0.0f;
    if(pValue > 1.0f) pValue = 1.0f;
    mValue = pValue;
    Notify(SCROLL_VALUE_CHANGED);
}

void GUIScrollBarH::SetListener(int32_t pWhich, RootExecutor *pExecutor, bool pOwned)
{
    if(pWhich < 0 || pWhich > 2) return;
    if(mListenerOwned[pWhich] && rListeners[pWhich] != pExecutor) delete rListeners[pWhich];
    rListeners[pWhich] = pExecutor;
    mListenerOwned[pWhich] = pOwned ? 1 : 0;
}

void GUIScrollBarH::Notify(int32_t pWhich)
{
    if(rListeners[pWhich]) rListeners[pWhich]->Run();
}

bool GUIScrollBarH::HandleEvent(int32_t pCode, int32_t pX, int32_t pY)
{
    (void)pY;
    GUI *rGUI = GetGUI();
    if(rGUI && rGUI->IsInputBlocked()) return false;
    if(pCode == 0 && mHover)
    {
        mDragging = 1;
        Notify(SCROLL_DRAG_STARTED);
    }
    else if(pCode == 1 && mDragging)
    {
        Notify(SCROLL_DRAG_ENDED);
        mDragging = 0;
    }
    else if(pCode == -1 && mDragging)
    {
        if(pX < mX1) SetValue(0.0f);
        else if(pX > mX2) SetValue(1.0f);
        else SetValue(mX2 > mX1 ? (float)(int32_t)(pX - mX1) / (mX2 - mX1) : 0.0f);
    }
    return false;
}

void GUIScrollBarH::DrawTrackAndThumb(float pTravel, bool pAlongY)
{
    if(rTrack) rTrack->DrawAtOrigin();
    Bitmap *rShownThumb = (mDragging && rThumbPressed) ? rThumbPressed : rThumb;
    if(!rShownThumb) return;
    float tShift = pTravel * mValue;
    if(pAlongY) rShownThumb->DrawAt(0, (int32_t)tShift);
    else rShownThumb->DrawAt((int32_t)tShift, 0);
}

void GUIScrollBarH::Render()
{
    GLState::PushAll();
    glTranslatef(mX1, mY1, 0.0f);
    if(mUseThumbRenderer)
    {
        RenderThumb();
    }
    else
    {
        float tTravel = (rTrack && rThumb) ? (float)(rTrack->GetWidth() - rThumb->GetWidth()) : 0.0f;
        DrawTrackAndThumb(tTravel, false);
    }
    DrawChildren();
    GLState::PopAll();
}

// The thumb marks the stencil where it is drawn; the track then fills only the rest.
void GUIScrollBarH::RenderThumb()
{
    Bitmap *rShownThumb = (mDragging && rThumbPressed) ? rThumbPressed : rThumb;
    float tTravel = (rTrack && rThumb) ? (float)(rTrack->GetWidth() - rThumb->GetWidth()) : 0.0f;
    int32_t tShift = (int32_t)(tTravel * mValue);
    glClearStencil(0);
    glClear(GL_STENCIL_BUFFER_BIT);
    glEnable(GL_STENCIL_TEST);
    glStencilFunc(GL_ALWAYS, 1, 0xFF);
    glStencilOp(GL_KEEP, GL_KEEP, GL_INCR);
    if(rShownThumb) rShownThumb->DrawAt(tShift, 0);
    glStencilFunc(GL_EQUAL, 0, 0xFF);
    glStencilOp(GL_KEEP, GL_KEEP, GL_KEEP);
    if(rTrack) rTrack->DrawAtOrigin();
    glDisable(GL_STENCIL_TEST);
}

GUIScrollBarV::GUIScrollBarV()
{
    SetName("Unnamed GUI ScrollBarV");
    mUseThumbRenderer = 0;
}

bool GUIScrollBarV::HandleEvent(int32_t pCode, int32_t pX, int32_t pY)
{
    (void)pX;
    GUI *rGUI = GetGUI();
    if(rGUI && rGUI->IsInputBlocked()) return false;
    if(pCode == 0 && mHover)
    {
        mDragging = 1;
        Notify(SCROLL_DRAG_STARTED);
        int32_t tMouseX = 0, tMouseY = 0, tMouseZ = 0;
        ControlManager *rControls = ControlManager::Get();
        if(rControls) rControls->GetMousePosition(&tMouseX, &tMouseY, &tMouseZ);
        mDragStartY = tMouseY;
        mDragStartValue = mValue;
    }
    else if(pCode == 1)
    {
        if(mDragging) Notify(SCROLL_DRAG_ENDED);
        mDragging = 0;
    }
    else if(pCode == -1 && mDragging && pY != 0)
    {
        Application *rApp = GetApplication();
        SetValue(VerticalDragValue(pY, mDragStartY, mDragStartValue, mY2 - mY1, (float)rApp->mVirtualHeight,
                                   (float)rApp->mWindowWidth));
    }
    return false;
}

void GUIScrollBarV::Render()
{
    GLState::PushAll();
    glTranslatef(mX1, mY1, 0.0f);
    float tTravel = rThumb ? GetHeight() - (float)rThumb->GetHeight() : 0.0f;
    DrawTrackAndThumb(tTravel, true);
    DrawChildren();
    GLState::PopAll();
}

#include "interface/GUIButton.h"

#include <GL/gl.h>
#include <cstdio>
#include <cstdlib>

#include "core/Geometry.h"
#include "core/NamedLinkedList.h"
#include "core/data/DataLibrary.h"
#include "core/render/Bitmap.h"
#include "core/render/CorvelAnimation.h"
#include "core/render/GLState.h"
#include "interface/GUI.h"
#include "world/RootExecutor.h"

static const int32_t cImageNameSize = 256;

static Bitmap *LookUpBitmap(const char *pPath)
{
    DataLibrary *rLibrary = DataLibrary::Fetch();
    if(!rLibrary || !pPath) return nullptr;
    return static_cast<Bitmap *>(rLibrary->GetEntryOfKind(pPath, DL_KIND_BITMAP));
}

static void DeleteExecutor(void *pExecutor)
{
    delete static_cast<RootExecutor *>(pExecutor);
}

int32_t ButtonAnimationFrame(const ButtonStateFrames &pRange, int32_t pStateTicks)
{
    float tTicksPerFrame = pRange.mTicksPerFrame == 0.0f ? 1.0f : pRange.mTicksPerFrame;
    int32_t tStep = (int32_t)((float)pStateTicks / tTicksPerFrame);
    int32_t tFrame = pRange.mFirst + tStep;
    if(tFrame <= pRange.mLast) return tFrame;
    int32_t tSpan = pRange.mLast - pRange.mFirst;
    if(pRange.mClamp || tSpan < 1) return pRange.mLast;
    return pRange.mFirst + (tStep % tSpan);
}

GUIButton::GUIButton()
{
    mType = TYPE_GUIBUTTON;
    SetName("Unnamed Button");
    mPressed = 0;
    mHovered = 0;
    mReleased = 0;
    mDisabled = 0;
    for(int32_t i = 0; i < 4; i++)
    {
        rImages[i] = nullptr;
        mFrames[i].mFirst = 0;
        mFrames[i].mLast = 0;
        mFrames[i].mTicksPerFrame = 1.0f;
        mFrames[i].mClamp = 0;
        mHitOffsets[i] = 0.0f;
    }
    mUseAnimation = 0;
    mStateTicks = 0;
    rAnimation = nullptr;
    mToggleMode = 0;
    mToggled = 0;
    mActions = new NamedLinkedList(1);
    mUsePolygon = 0;
    mPolygon = nullptr;
}

GUIButton::~GUIButton()
{
    delete mActions;
    free(mPolygon);
}

void GUIButton::ReleaseLibraryObject(void *pObject)
{
    DropLibraryObject(rImages, 4, pObject);
    DropLibraryObject(rAnimation, pObject);
}

void GUIButton::SetImages(Bitmap *pIdle, Bitmap *pHover, Bitmap *pPress, Bitmap *pDisabled)
{
    rImages[0] = HoldLibraryObject(pIdle);
    rImages[1] = HoldLibraryObject(pHover);
    rImages[2] = HoldLibraryObject(pPress);
    rImages[3] = HoldLibraryObject(pDisabled);
}

void GUIButton::SetImagesByName(const char *pIdle, const char *pHover, const char *pPress, const char *pDisabled)
{
    SetImages(LookUpBitmap(pIdle), LookUpBitmap(pHover), LookUpBitmap(pPress), LookUpBitmap(pDisabled));
}

// A base name too long for the buffer names no picture, so it sets none rather than a cut one.
void GUIButton::SetImagesByBaseName(const char *pBase, bool pWithDisabled)
{
    if(!pBase) return;
    const char *cSuffixes[4] = {"Idle", "Hover", "Press", "Disabled"};
    for(int32_t i = 0; i < 4; i++)
    {
        rImages[i] = nullptr;
        if(i == 3 && !pWithDisabled) break;
        char tName[cImageNameSize];
        int tLength = snprintf(tName, sizeof(tName), "%s%s", pBase, cSuffixes[i]);
        if(tLength < 0 || tLength >= cImageNameSize) continue;
        rImages[i] = HoldLibraryObject(LookUpBitmap(tName));
    }
}

void GUIButton::SetAnimation(const char *pPath)
{
    DataLibrary *rLibrary = DataLibrary::Fetch();
    RootObject *rObject = rLibrary ? static_cast<RootObject *>(rLibrary->GetEntryOfKind(pPath, DL_KIND_ROOTOBJECT)) : nullptr;
    rAnimation = (rObject && rObject->GetType() == TYPE_CORVELANIMATION)
                     ? HoldLibraryObject(static_cast<CorvelAnimation *>(rObject))
                     : nullptr;
    mUseAnimation = 1;
}

void GUIButton::SetStateFrames(int32_t pState, int32_t pFirst, int32_t pLast, float pTicksPerFrame, uint8_t pClamp)
{
    if(pState < 0 || pState > 3) return;
    mFrames[pState].mFirst = pFirst;
    mFrames[pState].mLast = pLast;
    mFrames[pState].mTicksPerFrame = pTicksPerFrame;
    mFrames[pState].mClamp = pClamp;
}

void GUIButton::SetHitOffsets(float pX1, float pY1, float pX2, float pY2)
{
    mHitOffsets[0] = pX1;
    mHitOffsets[1] = pY1;
    mHitOffsets[2] = pX2;
    mHitOffsets[3] = pY2;
}

void GUIButton::SetToggleMode(uint8_t pToggleMode, uint8_t pToggled)
{
    mToggleMode = pToggleMode ? 1 : 0;
    mToggled = pToggled ? 1 : 0;
}

// The polygon record is the vertex count followed by that many x, y pairs, as PointInPolygon
// reads it.
void GUIButton::SetPolygonVertexCount(int32_t pCount)
{
    free(mPolygon);
    mPolygon = nullptr;
    mUsePolygon = 0;
    if(pCount < 3) return;
    mPolygon = (float *)calloc((size_t)(1 + pCount * 2), sizeof(float));
    if(!mPolygon) return;
    mPolygon[0] = (float)pCount;
    mUsePolygon = 1;
}

void GUIButton::SetPolygonVertex(int32_t pIndex, float pX, float pY)
{
    if(!mPolygon || pIndex < 0 || pIndex >= (int32_t)mPolygon[0]) return;
    mPolygon[1 + pIndex * 2] = pX;
    mPolygon[2 + pIndex * 2] = pY;
}

void GUIButton::AddAction(RootExecutor *pExecutor, bool pOwned)
{
    if(!pExecutor) return;
    mActions->AddElementWithDeleter("X", pExecutor, pOwned ? DeleteExecutor : DeleteNothing);
}

void GUIButton::ClearActions()
{
    mActions->Clear();
}

RootExecutor *GUIButton::GetAction(int32_t pIndex)
{
    return static_cast<RootExecutor *>(mActions->GetElementByIndex(pIndex));
}

int32_t GUIButton::GetActionCount() const
{
    return mActions->GetCount();
}

void GUIButton::RunActions()
{
    RootExecutor *rAction = static_cast<RootExecutor *>(mActions->PushIterator());
    while(rAction)
    {
        rAction->Run();
        rAction = static_cast<RootExecutor *>(mActions->IterateNext());
    }
}

bool GUIButton::WasClicked()
{
    bool tClicked = mPressed && mReleased;
    if(tClicked) mPressed = mReleased = 0;
    return tClicked;
}

bool GUIButton::HitTest(int32_t pX, int32_t pY)
{
    return PointInFloatRectangle(pX, pY, mX1 + mHitOffsets[0], mY1 + mHitOffsets[1], mX2 + mHitOffsets[2],
                                 mY2 + mHitOffsets[3]);
}

bool GUIButton::HandleEvent(int32_t pCode, int32_t pX, int32_t pY)
{
    if(mDisabled) return false;
    if(mStateTicks < INT32_MAX) mStateTicks++;
    GUI *rGUI = GetGUI();
    if(rGUI && rGUI->IsInputBlocked()) return false;
    if(mUsePolygon && mPolygon)
    {
        mHover = PointInPolygon((float)(int32_t)(pX - mX1), (float)(int32_t)(pY - mY1), mPolygon) ? 1 : 0;
    }

    if(pCode == -1)
    {
        if(mHover != mHovered) mStateTicks = 0;
        mHovered = mHover;
        return false;
    }
    if(pCode == 0)
    {
        if(mHover != mPressed) mStateTicks = 0;
        mPressed = mHover;
        return mPressed != 0;
    }
    if(pCode == 1)
    {
        if(mHover != mReleased) mStateTicks = 0;
        mReleased = mHover;
        if(WasClicked())
        {
            mToggled = mToggled ? 0 : 1;
            RunActions();
            return true;
        }
    }
    return false;
}

int32_t GUIButton::GetVisualState() const
{
    if(mDisabled) return 3;
    if(mToggleMode) return mToggled ? 2 : 0;
    if(mPressed) return 2;
    if(mHovered) return 1;
    return 0;
}

Bitmap *GUIButton::StateImage() const
{
    int32_t tState = GetVisualState();
    if(!mUseAnimation) return rImages[tState];
    if(!rAnimation) return nullptr;
    return rAnimation->GetFrame(ButtonAnimationFrame(mFrames[tState], mStateTicks));
}

void GUIButton::Render()
{
    Bitmap *rImage = StateImage();
    GLState::PushAll();
    glEnable(GL_TEXTURE_2D);
    GLState::BlendByAlphaDroppingClear();
    glTranslatef(mX1, mY1, 0.0f);
    if(rImage) rImage->DrawAtOrigin();
    DrawChildren();
    GLState::PopAll();
}

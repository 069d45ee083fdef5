#include "interface/GUIBaseObject.h"

#include <GL/gl.h>
#include <cstdlib>
#include <cstring>

#include "core/DebugPrint.h"
#include "core/Geometry.h"
#include "core/NamedLinkedList.h"
#include "core/render/GLState.h"
#include "interface/GUI.h"

void DeleteGUIObject(void *pObject)
{
    delete static_cast<GUIBaseObject *>(pObject);
}

GUIBaseObject::GUIBaseObject() : mLibraryHolder(this, ReleaseFromLibrary)
{
    mType = TYPE_GUIBASEOBJECT;
    SetName("Unnamed GUI Object");
    mX1 = 0.0f;
    mY1 = 0.0f;
    mX2 = 0.0f;
    mY2 = 0.0f;
    mCentreX = 0.0f;
    mCentreY = 0.0f;
    mVisible = 1;
    mSkipNextDraw = 0;
    mAlpha = 1.0f;
    mInheritAlpha = 1;
    mChildren = new NamedLinkedList(1);
    mBlocksInput = 0;
    mKeepOpen = 0;
    mNavCount = 0;
    mNavNodes = nullptr;
    rNavCurrent = nullptr;
    rParent = nullptr;
    mHover = 0;
}

GUIBaseObject::~GUIBaseObject()
{
    delete mChildren;
    free(mNavNodes);
}

void GUIBaseObject::ReleaseFromLibrary(void *pOwner, void *pObject)
{
    static_cast<GUIBaseObject *>(pOwner)->ReleaseLibraryObject(pObject);
}

void GUIBaseObject::ReleaseLibraryObject(void *pObject)
{
}

bool GUIBaseObject::HitTest(int32_t pX, int32_t pY)
{
    return PointInFloatRectangle(pX, pY, mX1, mY1, mX2, mY2);
}

void GUIBaseObject::SetRect(float pX1, float pY1, float pX2, float pY2)
{
    mX1 = pX1;
    mY1 = pY1;
    mX2 = pX2;
    mY2 = pY2;
    mCentreX = (pX1 + pX2) / 2.0f;
    mCentreY = (pY1 + pY2) / 2.0f;
}

void GUIBaseObject::SetTarget(int32_t pCode)
{
}

void GUIBaseObject::Show()
{
    mVisible = 1;
}

void GUIBaseObject::Hide()
{
    mVisible = 0;
}

void GUIBaseObject::OnOpen()
{
}

void GUIBaseObject::OnClose()
{
}

bool GUIBaseObject::HandleEvent(int32_t pCode, int32_t pX, int32_t pY)
{
    return false;
}

void GUIBaseObject::Render()
{
    GLState::PushAll();
    glTranslatef(mX1, mY1, 0.0f);
    DrawChildren();
    GLState::PopAll();
}

void GUIBaseObject::GetRect(float *sRect) const
{
    if(!sRect) return;
    sRect[0] = mX1;
    sRect[1] = mY1;
    sRect[2] = mX2;
    sRect[3] = mY2;
    sRect[4] = mCentreX;
    sRect[5] = mCentreY;
}

void GUIBaseObject::SetPosition(float pX, float pY)
{
    SetRect(pX, pY, pX + GetWidth(), pY + GetHeight());
}

void GUIBaseObject::SetSize(float pW, float pH)
{
    SetRect(mX1, mY1, mX1 + pW, mY1 + pH);
}

void GUIBaseObject::SetRectBySize(float pX, float pY, float pW, float pH)
{
    SetRect(pX, pY, pX + pW, pY + pH);
}

void GUIBaseObject::LocalToScreen(int32_t &sX, int32_t &sY) const
{
    for(const GUIBaseObject *rObject = this; rObject; rObject = rObject->rParent)
    {
        sX += (int32_t)rObject->mX1;
        sY += (int32_t)rObject->mY1;
    }
}

bool GUIBaseObject::IsVisible() const
{
    if(!mVisible) return false;
    return !rParent || rParent->IsVisible();
}

void GUIBaseObject::SetVisible(bool pFlag)
{
    if(pFlag) Show();
    else Hide();
}

void GUIBaseObject::ToggleVisible()
{
    if(mVisible) Hide();
    else Show();
}

float GUIBaseObject::GetEffectiveAlpha() const
{
    if(mInheritAlpha && rParent) return mAlpha * rParent->GetEffectiveAlpha();
    return mAlpha;
}

void GUIBaseObject::GetPath(char *sBuffer, int32_t pSize) const
{
    if(!sBuffer || pSize < 1) return;
    if(rParent) rParent->GetPath(sBuffer, pSize);
    else sBuffer[0] = '\0';

    size_t tUsed = strnlen(sBuffer, (size_t)pSize - 1);
    sBuffer[tUsed] = '\0';
    const char *rName = mName ? mName : "";
    size_t tRoom = (size_t)pSize - 1 - tUsed;
    size_t tNameLen = strlen(rName);
    if(tNameLen > tRoom) tNameLen = tRoom;
    memcpy(sBuffer + tUsed, rName, tNameLen);
    tUsed += tNameLen;
    if(tUsed < (size_t)pSize - 1) sBuffer[tUsed++] = '/';
    sBuffer[tUsed] = '\0';
}

void GUIBaseObject::AddChild(const char *pName, GUIBaseObject *pChild)
{
    if(!pName || !pChild) return;
    mChildren->AddElementWithDeleter(pName, pChild, DeleteGUIObject);
    pChild->SetName(pName);
    pChild->SetParent(this);
}

// A subtree about to be deleted must not stay reachable from the manager's animations or
// screen stack.
void GUIBaseObject::ForgetSubtree(GUIBaseObject *pObject)
{
    GUI *rGUI = GetGUI();
    if(rGUI && pObject) rGUI->ForgetObject(pObject);
}

void GUIBaseObject::RemoveChild(const char *pName)
{
    GUIBaseObject *rChild = static_cast<GUIBaseObject *>(mChildren->GetElementByName(pName));
    if(!rChild) return;
    ForgetSubtree(rChild);
    mChildren->RemoveElementByName(pName);
}

void GUIBaseObject::RemoveChild(GUIBaseObject *pChild)
{
    if(!pChild || !mChildren->ContainsData(pChild)) return;
    ForgetSubtree(pChild);
    mChildren->RemoveElementByData(pChild);
}

GUIBaseObject *GUIBaseObject::DetachChild(const char *pName)
{
    GUIBaseObject *rChild = static_cast<GUIBaseObject *>(mChildren->GetElementByName(pName));
    return DetachChild(rChild);
}

GUIBaseObject *GUIBaseObject::DetachChild(GUIBaseObject *pChild)
{
    if(!pChild || !mChildren->SetCursorToData(pChild)) return nullptr;
    mChildren->DetachAtCursor();
    pChild->SetParent(nullptr);
    return pChild;
}

void GUIBaseObject::ClearChildren()
{
    GUIBaseObject *rChild = static_cast<GUIBaseObject *>(mChildren->PushIterator());
    while(rChild)
    {
        ForgetSubtree(rChild);
        rChild = static_cast<GUIBaseObject *>(mChildren->IterateNext());
    }
    mChildren->Clear();
}

GUIBaseObject *GUIBaseObject::FindChild(const char *pName)
{
    if(!pName) return nullptr;
    GUIBaseObject *rChild = static_cast<GUIBaseObject *>(mChildren->PushIterator());
    while(rChild)
    {
        const char *rEntryName = mChildren->GetIteratorName();
        GUIBaseObject *rFound = (rEntryName && !strcmp(rEntryName, pName)) ? rChild : rChild->FindChild(pName);
        if(rFound)
        {
            mChildren->PopIterator();
            return rFound;
        }
        rChild = static_cast<GUIBaseObject *>(mChildren->IterateNext());
    }
    return nullptr;
}

bool GUIBaseObject::Contains(const GUIBaseObject *pObject) const
{
    for(const GUIBaseObject *rObject = pObject; rObject; rObject = rObject->rParent)
    {
        if(rObject == this) return true;
    }
    return false;
}

void GUIBaseObject::SendToBack()
{
    GUI *rGUI = GetGUI();
    if(rGUI) rGUI->SendToBack(this);
}

void GUIBaseObject::BringToFront()
{
    GUI *rGUI = GetGUI();
    if(rGUI) rGUI->BringToFront(this);
}

void GUIBaseObject::SetNavigationNodeCount(int32_t pCount)
{
    free(mNavNodes);
    mNavNodes = nullptr;
    rNavCurrent = nullptr;
    mNavCount = pCount > 0 ? pCount : 0;
    if(mNavCount > 0) mNavNodes = static_cast<NavigationNode *>(calloc((size_t)mNavCount, sizeof(NavigationNode)));
    if(!mNavNodes) mNavCount = 0;
}

NavigationNode *GUIBaseObject::GetNavigationNode(int32_t pIndex) const
{
    if(pIndex < 0 || pIndex >= mNavCount) return nullptr;
    return &mNavNodes[pIndex];
}

void GUIBaseObject::SetNavigationNode(int32_t pIndex, int32_t pLeft, int32_t pUp, int32_t pRight, int32_t pDown)
{
    NavigationNode *rNode = GetNavigationNode(pIndex);
    if(!rNode) return;
    rNode->rLeft = GetNavigationNode(pLeft);
    rNode->rUp = GetNavigationNode(pUp);
    rNode->rRight = GetNavigationNode(pRight);
    rNode->rDown = GetNavigationNode(pDown);
}

int32_t GUIBaseObject::GetCurrentNavigationIndex() const
{
    for(int32_t i = 0; i < mNavCount; i++)
    {
        if(rNavCurrent == &mNavNodes[i]) return i;
    }
    return 0;
}

void GUIBaseObject::MoveNavigation(int32_t pDirection)
{
    if(!rNavCurrent) return;
    NavigationNode *rNext = nullptr;
    if(pDirection == NAV_LEFT) rNext = rNavCurrent->rLeft;
    else if(pDirection == NAV_UP) rNext = rNavCurrent->rUp;
    else if(pDirection == NAV_RIGHT) rNext = rNavCurrent->rRight;
    else if(pDirection == NAV_DOWN) rNext = rNavCurrent->rDown;
    if(rNext) rNavCurrent = rNext;
}

bool GUIBaseObject::Dispatch(int32_t pCode, int32_t pX, int32_t pY)
{
    Debug::PushPrint(0, "%s updates\n", mName);
    mHover = HitTest(pX, pY) ? 1 : 0;
    if(mVisible != 1)
    {
        Debug::PopPrint("Was invisible\n");
        return false;
    }

    // Everything below the top screen, the screen included, sees input as the top screen's.
    GUI *rGUI = GetGUI();
    uint8_t tOuterFlag = rGUI ? rGUI->IsTopScreenInput() : 0;
    if(rGUI && rGUI->IsTopScreen(this)) rGUI->SetTopScreenInput(1);

    int32_t tLocalX = pX - (int32_t)mX1;
    int32_t tLocalY = pY - (int32_t)mY1;
    GUIBaseObject *rChild = static_cast<GUIBaseObject *>(mChildren->PushIterator());
    while(rChild)
    {
        Debug::Print("Check object %s\n", rChild->GetName());
        if(rChild->Dispatch(pCode, tLocalX, tLocalY))
        {
            mChildren->PopIterator();
            if(rGUI) rGUI->SetTopScreenInput(tOuterFlag);
            Debug::PopPrint("Sub object handled the event\n");
            return true;
        }
        rChild = static_cast<GUIBaseObject *>(mChildren->IterateNext());
    }

    bool tResult = HandleEvent(pCode, pX, pY);
    if(rGUI) rGUI->SetTopScreenInput(tOuterFlag);
    Debug::PopPrint("Event handling status: %i\n", tResult ? 1 : 0);
    return tResult;
}

void GUIBaseObject::Draw()
{
    if(mSkipNextDraw)
    {
        mSkipNextDraw = 0;
        return;
    }
    if(mVisible != 1) return;
    glColor4f(1.0f, 1.0f, 1.0f, mAlpha);
    Render();
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
}

void GUIBaseObject::DrawNow()
{
    Draw();
    mSkipNextDraw = 1;
}

void GUIBaseObject::DrawChildren()
{
    GUIBaseObject *rChild = static_cast<GUIBaseObject *>(mChildren->SetCursorToTail());
    while(rChild)
    {
        rChild->Draw();
        rChild = static_cast<GUIBaseObject *>(mChildren->CursorPrev());
    }
}

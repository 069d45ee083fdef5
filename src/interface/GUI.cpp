#include "interface/GUI.h"

#include <GL/gl.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "core/Application.h"
#include "core/ControlManager.h"
#include "core/DebugPrint.h"
#include "core/NamedLinkedList.h"
#include "core/Utilities.h"
#include "core/render/Drawing.h"
#include "core/render/GLState.h"
#include "interface/GUIBaseObject.h"
#include "interface/GUIConsole.h"
#include "interface/GUISHealthBars.h"
#include "interface/GUISLevelSelectScreen.h"
#include "interface/GUISPauseScreen.h"
#include "interface/GUISTitleScreen.h"
#include "interface/GUITextLine.h"
#include "interface/VirtualConsole.h"

// Longest object path the listings print.
static const int32_t cPathBufferSize = 256;

GUI::GUI()
{
    mLastEventCode = -1;
    mObjects = new NamedLinkedList(1);
    mAnimations = new NamedLinkedList(1);
    mTopScreenInput = 0;
    mOpenScreens = new NamedLinkedList(0);
    mFadeColour.Set(0.0f, 0.0f, 0.0f, 0.0f);
    mFadeCounter = 0;
    mFadeStep = 0;
    mFadeLength = 0;
    mMouseHeld = 0;
    mClickX = 0.0f;
    mClickY = 0.0f;
    mReturnToTitle = 0;
}

GUI::~GUI()
{
    delete mObjects;
    delete mAnimations;
    delete mOpenScreens;
}

GUI *GetGUI()
{
    return GetApplication()->mGUI;
}

bool GUILetsWorldRun(GUI *pGUI)
{
    if(!pGUI) return false;
    GUIBaseObject *rPauseScreen = pGUI->FindObject(PAUSE_SCREEN_NAME);
    return rPauseScreen && !pGUI->IsTopScreen(rPauseScreen);
}

// ---------------------------------------------------------------------------------------------
// Objects

void GUI::AddObject(const char *pName, GUIBaseObject *pObject)
{
    if(!pName || !pObject) return;
    mObjects->AddElementWithDeleter(pName, pObject, DeleteGUIObject);
}

void GUI::RemoveObject(const char *pName)
{
    RemoveObject(static_cast<GUIBaseObject *>(mObjects->GetElementByName(pName)));
}

void GUI::RemoveObject(GUIBaseObject *pObject)
{
    if(!pObject || !mObjects->ContainsData(pObject)) return;
    ForgetObject(pObject);
    mObjects->RemoveElementByData(pObject);
}

GUIBaseObject *GUI::DetachObject(const char *pName)
{
    return DetachObject(static_cast<GUIBaseObject *>(mObjects->GetElementByName(pName)));
}

GUIBaseObject *GUI::DetachObject(GUIBaseObject *pObject)
{
    if(!pObject || !mObjects->SetCursorToData(pObject)) return nullptr;
    mObjects->DetachAtCursor();
    return pObject;
}

void GUI::ForgetObject(GUIBaseObject *pObject)
{
    if(!pObject) return;
    GUIAnimation *rAnimation = static_cast<GUIAnimation *>(mAnimations->SetCursorToHead());
    while(rAnimation)
    {
        if(pObject->Contains(rAnimation->rTarget)) mAnimations->RemoveAtCursor();
        rAnimation = static_cast<GUIAnimation *>(mAnimations->CursorNext());
    }
    GUIBaseObject *rScreen = static_cast<GUIBaseObject *>(mOpenScreens->SetCursorToHead());
    while(rScreen)
    {
        if(pObject->Contains(rScreen)) mOpenScreens->DetachAtCursor();
        rScreen = static_cast<GUIBaseObject *>(mOpenScreens->CursorNext());
    }
}

NamedLinkedList *GUI::ListHolding(GUIBaseObject *pObject)
{
    if(!pObject) return nullptr;
    NamedLinkedList *rList = pObject->GetParent() ? pObject->GetParent()->GetChildList() : mObjects;
    return (rList && rList->ContainsData(pObject)) ? rList : nullptr;
}

// The entry keeps its name and stays owned; only its place changes.
void GUI::MoveWithinList(GUIBaseObject *pObject, bool pToHead)
{
    NamedLinkedList *rList = ListHolding(pObject);
    if(!rList || !rList->SetCursorToData(pObject)) return;
    char *tName = nullptr;
    ResetString(&tName, rList->GetCursorName());
    rList->DetachAtCursor();
    if(pToHead) rList->AddElementAsHeadWithDeleter(tName, pObject, DeleteGUIObject);
    else rList->AddElementWithDeleter(tName, pObject, DeleteGUIObject);
    free(tName);
}

void GUI::SendToBack(GUIBaseObject *pObject)
{
    MoveWithinList(pObject, false);
}

void GUI::BringToFront(GUIBaseObject *pObject)
{
    MoveWithinList(pObject, true);
}

GUIBaseObject *GUI::FindObject(const char *pName)
{
    if(!pName) return nullptr;
    GUIBaseObject *rObject = static_cast<GUIBaseObject *>(mObjects->PushIterator());
    while(rObject)
    {
        const char *rEntryName = mObjects->GetIteratorName();
        GUIBaseObject *rFound = (rEntryName && !strcmp(rEntryName, pName)) ? rObject : rObject->FindChild(pName);
        if(rFound)
        {
            mObjects->PopIterator();
            return rFound;
        }
        rObject = static_cast<GUIBaseObject *>(mObjects->IterateNext());
    }
    return nullptr;
}

bool GUI::AnyVisible()
{
    GUIBaseObject *rObject = static_cast<GUIBaseObject *>(mObjects->PushIterator());
    while(rObject)
    {
        if(rObject->IsVisible())
        {
            mObjects->PopIterator();
            return true;
        }
        rObject = static_cast<GUIBaseObject *>(mObjects->IterateNext());
    }
    return false;
}

void GUI::HideAll()
{
    GUIBaseObject *rObject = static_cast<GUIBaseObject *>(mObjects->PushIterator());
    while(rObject)
    {
        rObject->SetVisible(false);
        rObject = static_cast<GUIBaseObject *>(mObjects->IterateNext());
    }
}

void GUI::ListObjects()
{
    fprintf(stderr, "GUI Object listing:\n");
    GUIBaseObject *rObject = static_cast<GUIBaseObject *>(mObjects->PushIterator());
    while(rObject)
    {
        char tPath[cPathBufferSize];
        memset(tPath, 0, sizeof(tPath));
        rObject->GetPath(tPath, cPathBufferSize);
        fprintf(stderr, "%s\n", tPath);
        rObject = static_cast<GUIBaseObject *>(mObjects->IterateNext());
    }
}

void GUI::ListObjectTree(GUIBaseObject *pObject)
{
    char tPath[cPathBufferSize];
    memset(tPath, 0, sizeof(tPath));
    pObject->GetPath(tPath, cPathBufferSize);
    fprintf(stderr, "%s\n", tPath);
    NamedLinkedList *rChildren = pObject->GetChildList();
    GUIBaseObject *rChild = static_cast<GUIBaseObject *>(rChildren->PushIterator());
    while(rChild)
    {
        ListObjectTree(rChild);
        rChild = static_cast<GUIBaseObject *>(rChildren->IterateNext());
    }
}

void GUI::ListObjectsRecursive()
{
    fprintf(stderr, "GUI Recursive Object listing:\n");
    GUIBaseObject *rObject = static_cast<GUIBaseObject *>(mObjects->PushIterator());
    while(rObject)
    {
        ListObjectTree(rObject);
        rObject = static_cast<GUIBaseObject *>(mObjects->IterateNext());
    }
}

// ---------------------------------------------------------------------------------------------
// Screens

void GUI::OpenScreen(GUIBaseObject *pObject)
{
    if(!pObject) return;
    pObject->OnOpen();
    mOpenScreens->AddElementAsHead(pObject->GetName(), pObject);
}

void GUI::CloseTopScreen()
{
    if(mOpenScreens->GetCount() < 1) return;
    GUIBaseObject *rScreen = static_cast<GUIBaseObject *>(mOpenScreens->RemoveHead());
    if(rScreen) rScreen->OnClose();
}

// A screen that is no longer on top (another screen opened over it, or "CloseGame" already
// popped it) is taken out by identity, so closing it never closes the screen above it.
void GUI::CloseScreen(GUIBaseObject *pObject)
{
    if(IsTopScreen(pObject))
    {
        CloseTopScreen();
        return;
    }
    if(!pObject || !mOpenScreens->SetCursorToData(pObject)) return;
    mOpenScreens->DetachAtCursor();
    pObject->OnClose();
}

bool GUI::IsConsoleShown()
{
    GUIBaseObject *rConsole = FindObject(CONSOLE_NAME);
    return rConsole && rConsole->IsVisible();
}

bool GUI::IsTopScreen(GUIBaseObject *pObject)
{
    return pObject && mOpenScreens->GetCount() > 0 && mOpenScreens->GetHeadData() == pObject;
}

bool GUI::IsScreenOpen(GUIBaseObject *pObject)
{
    return pObject && mOpenScreens->ContainsData(pObject);
}

GUIBaseObject *GUI::GetTopScreen()
{
    if(mOpenScreens->GetCount() < 1) return nullptr;
    return static_cast<GUIBaseObject *>(mOpenScreens->GetHeadData());
}

int32_t GUI::GetOpenScreenCount()
{
    return mOpenScreens->GetCount();
}

bool GUI::IsInputBlocked()
{
    if(mTopScreenInput) return false;
    GUIBaseObject *rTop = GetTopScreen();
    return rTop && rTop->IsInputBlocking();
}

// ---------------------------------------------------------------------------------------------
// Ticks, drawing and fades

bool GUI::Update(int32_t pEventCode)
{
    Debug::PushPrint(0, "[GUI] Begin Update %i\n", pEventCode);
    mLastEventCode = pEventCode;

    if(mFadeStep != 0)
    {
        mFadeCounter += mFadeStep;
        if(mFadeCounter < 0 || mFadeCounter >= mFadeLength) mFadeStep = 0;
        else if(mFadeLength != 0) mFadeColour.a = (float)mFadeCounter / (float)mFadeLength;
    }

    int32_t tMouseX = 0, tMouseY = 0, tMouseZ = 0;
    ControlManager *rControls = ControlManager::Get();
    if(rControls) rControls->GetMousePosition(&tMouseX, &tMouseY, &tMouseZ);

    if(pEventCode == -1)
    {
        Debug::Print("Animation List\n");
        RunAnimations();
        if(mMouseHeld)
        {
            mClickX = (float)tMouseX;
            mClickY = (float)tMouseY;
        }
    }
    else if(pEventCode == 0 || pEventCode == 1)
    {
        mMouseHeld = (pEventCode == 0) ? 1 : 0;
        mClickX = (float)tMouseX;
        mClickY = (float)tMouseY;
    }

    mTopScreenInput = 0;
    Debug::Print("Sub-Objects\n");
    bool tConsumed = false;
    GUIBaseObject *rObject = static_cast<GUIBaseObject *>(mObjects->PushIterator());
    while(rObject)
    {
        if(rObject->Dispatch(pEventCode, tMouseX, tMouseY))
        {
            mObjects->PopIterator();
            tConsumed = true;
            break;
        }
        rObject = static_cast<GUIBaseObject *>(mObjects->IterateNext());
    }

    UpdateWatermark();
    Debug::PopPrint("[GUI] Completed Update\n");
    return tConsumed;
}

void GUI::RunAnimations()
{
    GUIAnimation *rAnimation = static_cast<GUIAnimation *>(mAnimations->SetCursorToHead());
    while(rAnimation)
    {
        if(rAnimation->mDelay < 1)
        {
            if(rAnimation->rStep) rAnimation->rStep(rAnimation);
        }
        else
        {
            rAnimation->mDelay--;
        }

        if(rAnimation->mDone)
        {
            GUIBaseObject *rHideTarget = rAnimation->mHideWhenDone ? rAnimation->rTarget : nullptr;
            mAnimations->RemoveAtCursor();
            if(rHideTarget) rHideTarget->Hide();
        }
        rAnimation = static_cast<GUIAnimation *>(mAnimations->CursorNext());
    }
}

// The watermark is always shown and always the back-most object.
void GUI::UpdateWatermark()
{
    GUIBaseObject *rWatermark = FindObject("Watermark");
    if(!rWatermark) return;
    rWatermark->Show();
    rWatermark->SendToBack();
}

void GUI::Render()
{
    Debug::PushPrint(0, "[GUI] Begin rendering\n");
    GLState::PushAll();
    glEnable(GL_TEXTURE_2D);
    GLState::BlendByAlphaDroppingClear();

    int32_t tRendered = 0;
    GUIBaseObject *rObject = static_cast<GUIBaseObject *>(mObjects->SetCursorToTail());
    while(rObject)
    {
        rObject->Draw();
        tRendered++;
        rObject = static_cast<GUIBaseObject *>(mObjects->CursorPrev());
    }

    GLState::PopAll();
    Debug::Print("Rendered %i objects\n", tRendered);
    Debug::PopPrint("[GUI] Finished rendering\n");
}

void GUI::RenderFade()
{
    if(mFadeStep == 0) return;
    GLState::PushAttrib();
    ShadeView(mFadeColour);
    GLState::PopAttrib();
}

void GUI::StartFade(int32_t pCounter, int32_t pLength, int32_t pStep, ColorRGBA pColour)
{
    mFadeColour = pColour;
    mFadeCounter = pCounter;
    mFadeStep = pStep;
    mFadeLength = pLength;
}

// ---------------------------------------------------------------------------------------------
// Animations

void GUI::AddAnimation(const char *pName, GUIAnimation *pAnimation)
{
    if(!pName || !pAnimation) return;
    mAnimations->AddElementWithDeleter(pName, pAnimation, DeleteGUIAnimation);
}

GUIAnimation *GUI::AddMoveAnimation(const char *pName, int32_t pX, int32_t pY, float pSpeed, GUIBaseObject *pObject)
{
    if(!pName || !pObject) return nullptr;
    GUIAnimation *nAnimation = CreateMoveAnimation(pObject, pX, pY, pSpeed);
    AddAnimation(pName, nAnimation);
    return nAnimation;
}

GUIAnimation *GUI::AddSlideAnimation(const char *pName, int32_t pX, int32_t pY, int32_t pTicks, GUIBaseObject *pObject)
{
    if(!pName || !pObject) return nullptr;
    while(mAnimations->GetElementByName(pName)) mAnimations->RemoveElementByName(pName);
    GUIAnimation *nAnimation = CreateSlideAnimation(pObject, pX, pY, pTicks);
    AddAnimation(pName, nAnimation);
    return nAnimation;
}

GUIAnimation *GUI::AddFadeAnimation(const char *pName, float pEndAlpha, int32_t pTicks, GUIBaseObject *pObject)
{
    if(!pName || !pObject) return nullptr;
    while(mAnimations->GetElementByName(pName)) mAnimations->RemoveElementByName(pName);
    GUIAnimation *nAnimation = CreateFadeAnimation(pObject, pEndAlpha, pTicks);
    AddAnimation(pName, nAnimation);
    return nAnimation;
}

bool GUI::HasAnimation(const char *pName)
{
    return pName && mAnimations->GetElementByName(pName) != nullptr;
}

bool GUI::IsAnimationListEmpty()
{
    return mAnimations->GetCount() == 0;
}

// ---------------------------------------------------------------------------------------------
// Other

void GUI::SetBossHealthBarTarget(int32_t pCode)
{
    GUIBaseObject *rBar = FindObject(BOSS_HEALTH_BAR_NAME);
    if(rBar) rBar->SetTarget(pCode);
}

void GUI::GetMouseClickCoords(float &sX, float &sY) const
{
    sX = mClickX;
    sY = mClickY;
}

void GUI::CreateDefaultObjects()
{
    GUIConsole *nConsole = new GUIConsole();
    nConsole->SetName(CONSOLE_NAME);
    nConsole->Hide();
    nConsole->SetRect(0.0f, 0.0f, 480.0f, 160.0f);
    nConsole->UseGlobalConsole();
    nConsole->GetConsole()->Print("Welcome to CorvelConsole v1.0!\n");
    nConsole->GetConsole()->NewLine();
    AddObject(CONSOLE_NAME, nConsole);

    GUISBossHealthBar *nBossBar = new GUISBossHealthBar();
    nBossBar->SetName(BOSS_HEALTH_BAR_NAME);
    nBossBar->SetVisible(false);
    AddObject(BOSS_HEALTH_BAR_NAME, nBossBar);

    GUISKestraHealthBar *nPlayerBar = new GUISKestraHealthBar();
    nPlayerBar->SetName(KESTRA_HEALTH_BAR_NAME);
    nPlayerBar->SetVisible(false);
    AddObject(KESTRA_HEALTH_BAR_NAME, nPlayerBar);

    GUISLevelSelectScreen *nLevelSelect = new GUISLevelSelectScreen();
    nLevelSelect->SetName(LEVEL_SELECT_SCREEN_NAME);
    nLevelSelect->SetVisible(false);
    AddObject(LEVEL_SELECT_SCREEN_NAME, nLevelSelect);
    nLevelSelect->Build();

    GUISTitleScreen *nTitle = new GUISTitleScreen();
    nTitle->SetName(TITLE_SCREEN_NAME);
    nTitle->SetVisible(false);
    nTitle->LoadImages();
    AddObject(TITLE_SCREEN_NAME, nTitle);

    GUISPauseScreen *nPause = new GUISPauseScreen();
    nPause->SetName(PAUSE_SCREEN_NAME);
    nPause->SetVisible(false);
    nPause->SetAlpha(0.0f);
    nPause->LoadImages();
    AddObject(PAUSE_SCREEN_NAME, nPause);

    GUITextLine *nWatermark = new GUITextLine();
    nWatermark->SetName("Watermark");
    nWatermark->SetRectBySize(0.0f, 390.0f, 256.0f, 64.0f);
    nWatermark->SetScale(0.25f);
    nWatermark->SetFontByName("Root/Fonts/All/All/SystemFont");
    nWatermark->SetVisible(true);
    nWatermark->SetText("Kestra sample build");
    AddObject("Watermark", nWatermark);
    nWatermark->SendToBack();
}

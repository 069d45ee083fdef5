#include "interface/GUISLevelSelectScreen.h"

#include <GL/gl.h>
#include <cstdlib>
#include <cstring>

#include "actors/PlayerPony.h"
#include "core/ControlManager.h"
#include "core/data/FileSystemScanner.h"
#include "core/render/Drawing.h"
#include "core/render/GLState.h"
#include "interface/AudioManager.h"
#include "interface/GUI.h"
#include "interface/GUIButton.h"
#include "interface/GUITextLine.h"
#include "world/Executors.h"


bool MapNameFromPath(const char *pPath, char *sName, int32_t pSize)
{
    if(!sName || pSize < 1) return false;
    sName[0] = '\0';
    char *tFile = GetFileNameFromPath(pPath);
    if(!tFile) return false;
    size_t tLength = strlen(tFile);
    // Only a name of at least four characters can hold a dot and a three-letter extension.
    if(tLength >= 4 && tFile[tLength - 4] == '.') tLength -= 4;
    if(tLength > (size_t)pSize - 1) tLength = (size_t)pSize - 1;
    memcpy(sName, tFile, tLength);
    sName[tLength] = '\0';
    free(tFile);
    return tLength > 0;
}

GUISLevelSelectScreen::GUISLevelSelectScreen()
{
    mMapCount = 0;
    for(int32_t i = 0; i < LEVEL_SELECT_LINES; i++)
    {
        rLines[i] = nullptr;
        rButtons[i] = nullptr;
        mMapExecutors[i] = nullptr;
    }
}

// The map executors are the screen's: the buttons' transitions only borrow them.
GUISLevelSelectScreen::~GUISLevelSelectScreen()
{
    for(int32_t i = 0; i < LEVEL_SELECT_LINES; i++) delete mMapExecutors[i];
}

void GUISLevelSelectScreen::Build()
{
    if(mMapExecutors[0]) return;
    SetNavigationNodeCount(LEVEL_SELECT_LINES);
    for(int32_t i = 0; i < LEVEL_SELECT_LINES; i++)
    {
        GUITextLine *nLine = new GUITextLine();
        nLine->SetRectBySize(25.0f, 65.0f + 15.0f * (float)i, 256.0f, 15.0f);
        nLine->SetFontByName("Root/Fonts/All/All/SystemFont");
        nLine->SetText("SampleText");
        nLine->SetScale(0.25f);
        AddChild("X", nLine);
        rLines[i] = nLine;

        GUIButton *nButton = new GUIButton();
        nButton->SetRectBySize(25.0f, 25.0f + 15.0f * (float)i, 256.0f, 14.0f);
        AddChild("X", nButton);
        rButtons[i] = nButton;

        mMapExecutors[i] = new TransExec_AnyToMap();

        TransExec_CauseTransition *nTransition = new TransExec_CauseTransition();
        nTransition->SetExecutor(mMapExecutors[i]);
        nTransition->SetFadeSpeeds(1.0f / 30.0f, 0.0f);
        nButton->AddAction(nTransition, true);
        GUIExec_ShowHideObject *nHide = new GUIExec_ShowHideObject();
        nHide->SetObjectName(LEVEL_SELECT_SCREEN_NAME);
        nHide->SetShow(0);
        nButton->AddAction(nHide, true);
        AudioExec_StopMusic *nStop = new AudioExec_StopMusic();
        nStop->SetFadeFrames(30);
        nButton->AddAction(nStop, true);
        AudioExec_PlaySound *nSound = new AudioExec_PlaySound();
        nSound->SetSoundName("StageSelected");
        nButton->AddAction(nSound, true);

        SetNavigationNode(i, -1, i - 1, -1, i + 1 < LEVEL_SELECT_LINES ? i + 1 : -1);
    }
}

void GUISLevelSelectScreen::Open()
{
    OpenFolder("Data/Maps/");
}

void GUISLevelSelectScreen::OpenFolder(const char *pFolder)
{
    SetVisible(true);
    AudioManager *rAudio = AudioManager::Get();
    if(rAudio) rAudio->PlayMusic("StageSelect");
    if(!mMapExecutors[0]) Build();

    CorvelFileSystem *nScan = new CorvelFileSystem();
    nScan->ScanDirectory(pFolder);
    mMapCount = 0;
    for(int32_t i = 0; i < LEVEL_SELECT_LINES; i++)
    {
        SetNavigationNode(i, -1, i - 1, -1, i + 1 < LEVEL_SELECT_LINES ? i + 1 : -1);
        FileSystemEntry *rEntry = nScan->GetEntry(i + 1);
        char tName[FS_MAX_PATH + 1];
        if(rEntry && MapNameFromPath(rEntry->mPath, tName, sizeof(tName)))
        {
            rLines[i]->SetText(tName);
            mMapExecutors[i]->SetLevelName(tName);
            mMapCount++;
            continue;
        }
        rLines[i]->SetText(" ");
        mMapExecutors[i]->SetLevelName(nullptr);
        NavigationNode *rAbove = GetNavigationNode(i - 1);
        if(rAbove) rAbove->rDown = nullptr;
    }
    SetCurrentNavigationNode(GetNavigationNode(0));
    delete nScan;
}

GUITextLine *GUISLevelSelectScreen::GetLine(int32_t pIndex) const
{
    return (pIndex >= 0 && pIndex < LEVEL_SELECT_LINES) ? rLines[pIndex] : nullptr;
}

GUIButton *GUISLevelSelectScreen::GetButton(int32_t pIndex) const
{
    return (pIndex >= 0 && pIndex < LEVEL_SELECT_LINES) ? rButtons[pIndex] : nullptr;
}

TransExec_AnyToMap *GUISLevelSelectScreen::GetMapExecutor(int32_t pIndex) const
{
    return (pIndex >= 0 && pIndex < LEVEL_SELECT_LINES) ? mMapExecutors[pIndex] : nullptr;
}

bool GUISLevelSelectScreen::HandleEvent(int32_t pCode, int32_t pX, int32_t pY)
{
    (void)pCode;
    (void)pX;
    (void)pY;
    PlayerPony *rPlayer = PlayerPony::Get();
    if(rPlayer) rPlayer->SetRespawnPosition(-1.0f, -1.0f);
    if(mMapCount == 1 && rButtons[0]) rButtons[0]->RunActions();
    GUI *rGUI = GetGUI();
    if(rGUI && rGUI->IsConsoleShown()) return false;

    bool tUp = ControlManager::IsPressed("Up") || ControlManager::IsPressed("GUI_Up");
    bool tDown = ControlManager::IsPressed("Down") || ControlManager::IsPressed("GUI_Dn");
    if(tUp) MoveNavigation(NAV_UP);
    if(tDown) MoveNavigation(NAV_DOWN);
    if(tUp || tDown) AudioManager::PlaySoundIfBooted("MenuChange");

    if(ControlManager::IsPressed("Shoot") || ControlManager::IsPressed("Enter"))
    {
        GUIButton *rButton = rButtons[GetCurrentNavigationIndex()];
        if(rButton) rButton->RunActions();
    }
    return false;
}

void GUISLevelSelectScreen::GetCursorOutline(float *sRect) const
{
    if(!sRect) return;
    GUIButton *rButton = rButtons[GetCurrentNavigationIndex()];
    sRect[0] = rButton ? rButton->GetX1() : 0.0f;
    sRect[1] = rButton ? rButton->GetY1() : 0.0f;
    sRect[2] = rButton ? rButton->GetX2() : 0.0f;
    sRect[3] = rButton ? rButton->GetY2() - 5.0f : 0.0f;
}

void GUISLevelSelectScreen::Render()
{
    if(mMapCount == 1) return;
    GLState::PushAll();
    glTranslatef(mX1, mY1, 0.0f);
    DrawChildren();
    if(GetCurrentNavigationNode())
    {
        float tRect[4];
        GetCursorOutline(tRect);
        ColorRGBA tWhite;
        tWhite.Set(1.0f, 1.0f, 1.0f, 1.0f);
        glDisable(GL_TEXTURE_2D);
        DrawRectOutline(tRect[0], tRect[1], tRect[2], tRect[3], tWhite, 2.0f);
        glEnable(GL_TEXTURE_2D);
    }
    GLState::PopAll();
}

GUISLevelSelectScreen *GetLevelSelectScreen()
{
    GUI *rGUI = GetGUI();
    return rGUI ? dynamic_cast<GUISLevelSelectScreen *>(rGUI->FindObject(LEVEL_SELECT_SCREEN_NAME)) : nullptr;
}

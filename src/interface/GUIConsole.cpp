#include "interface/GUIConsole.h"

#include <GL/gl.h>

#include "actors/PlayerPony.h"
#include "core/render/Drawing.h"
#include "core/render/GLState.h"
#include "interface/GUI.h"
#include "interface/VirtualConsole.h"

GUIConsole::GUIConsole()
{
    SetName("Unnamed GUI Console");
    mUsesGlobalConsole = 0;
    rConsole = new VirtualConsole();
}

GUIConsole::~GUIConsole()
{
    if(!mUsesGlobalConsole) delete rConsole;
}

void GUIConsole::UseGlobalConsole()
{
    VirtualConsole *rGlobal = VirtualConsole::FetchGlobal();
    if(mUsesGlobalConsole || !rGlobal) return;
    mUsesGlobalConsole = 1;
    delete rConsole;
    rConsole = rGlobal;
}

void GUIConsole::Show()
{
    GUIBaseObject::Show();
    rConsole->BeginTyping();
}

void GUIConsole::Hide()
{
    GUIBaseObject::Hide();
    rConsole->EndTyping();
}

void GUIConsole::OnClose()
{
    Hide();
    PlayerPony *rPlayer = PlayerPony::Get();
    if(rPlayer) rPlayer->RemoveControlLock("ConsoleLock");
}

bool GUIConsole::HandleEvent(int32_t pCode, int32_t pX, int32_t pY)
{
    (void)pX;
    (void)pY;
    if(pCode != -1) return false;
    PlayerPony *rPlayer = PlayerPony::Get();
    if(rPlayer && !rPlayer->IsControlLocked()) rPlayer->AddControlLock("ConsoleLock");
    rConsole->Update();
    return false;
}

void GUIConsole::Render()
{
    float tW = GetWidth();
    float tH = GetHeight();
    GLState::PushAll();
    glTranslatef(mX1, mY1, 0.0f);
    ColorRGBA tWhite;
    tWhite.Set(1.0f, 1.0f, 1.0f, 1.0f);
    ColorRGBA tBlack;
    tBlack.Set(0.0f, 0.0f, 0.0f, 1.0f);
    DrawRectOutline(0.0f, 0.0f, tW, tH, tWhite, 5.0f);
    glDisable(GL_TEXTURE_2D);
    DrawRectFilled(2.5f, 2.5f, tW - 2.5f, tH - 2.5f, tBlack);
    glEnable(GL_TEXTURE_2D);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    rConsole->Render();
    DrawChildren();
    GLState::PopAll();
}

// Type code 3000 is shared by every plain GUI object, so the class is asked, not the code.
VirtualConsole *FindScriptConsole()
{
    GUI *rGUI = GetGUI();
    if(!rGUI) return nullptr;
    GUIConsole *rConsole = dynamic_cast<GUIConsole *>(rGUI->FindObject("MasterConsole"));
    if(!rConsole) rConsole = dynamic_cast<GUIConsole *>(rGUI->FindObject(CONSOLE_NAME));
    return rConsole ? rConsole->GetConsole() : nullptr;
}

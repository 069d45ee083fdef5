#include "interface/GUISPauseScreen.h"

#include <GL/gl.h>
#include <cstring>

#include "actors/PlayerPony.h"
#include "core/Application.h"
#include "core/ControlManager.h"
#include "core/render/Bitmap.h"
#include "core/render/DisplayManager.h"
#include "core/render/Drawing.h"
#include "core/render/Font.h"
#include "core/render/GLState.h"
#include "interface/AudioFlags.h"
#include "interface/AudioManager.h"

const char *const RebindControlNames[REBIND_CONTROL_COUNT] = {"Jump", "Shoot", "Dash", "Pause", "ShoulderL", "ShoulderR"};

// Ticks the page waits for a new binding.
static const int32_t cRebindWait = 180;
static const float cVolumeStep = 0.1f;

char *CopyUpperCase(char *sDest, int32_t pSize, const char *pSource)
{
    if(!pSource || !sDest || pSize < 1) return nullptr;
    int32_t i = 0;
    for(; i < pSize - 1 && pSource[i]; i++)
    {
        char c = pSource[i];
        sDest[i] = (c >= 'a' && c <= 'z') ? (char)(c - 'a' + 'A') : c;
    }
    sDest[i] = '\0';
    return sDest;
}

void OptionsBindingSpan(float pCentreX, float pTextWidth, float &sX1, float &sX2)
{
    sX1 = pCentreX - pTextWidth / 2.0f;
    sX2 = pCentreX + 12.0f + pTextWidth / 2.0f;
}

float VolumeKnobX(float pVolume)
{
    return 134.0f + 100.0f * pVolume;
}

void GUISPauseScreen::BuildOptionsNavigation()
{
    if(!mNeedsRefresh) return;
    mNeedsRefresh = 0;
    SetNavigationNodeCount(OPTIONS_NODE_COUNT);
    SetCurrentNavigationNode(GetNavigationNode(0));
    for(int32_t r = 0; r < REBIND_CONTROL_COUNT; r++)
    {
        float tY1 = 79.0f + 20.0f * (float)r, tY2 = 90.0f + 20.0f * (float)r;
        bool tLast = r == REBIND_CONTROL_COUNT - 1;
        SetNavigationNode(2 * r, -1, r == 0 ? -1 : 2 * r - 2, 2 * r + 1, tLast ? OPTIONS_NODE_DOUBLE_TAP_DASH : 2 * r + 2);
        mReticuleRects[2 * r].mY1 = tY1;
        mReticuleRects[2 * r].mY2 = tY2;
        SetNavigationNode(2 * r + 1, 2 * r, r == 0 ? -1 : 2 * r - 1, -1, tLast ? OPTIONS_NODE_DOUBLE_TAP_DASH : 2 * r + 3);
        mReticuleRects[2 * r + 1].mY1 = tY1;
        mReticuleRects[2 * r + 1].mY2 = tY2;
    }
    SetNavigationNode(OPTIONS_NODE_DOUBLE_TAP_DASH, -1, OPTIONS_NODE_LAST_PRIMARY, -1, OPTIONS_NODE_SOUND);
    SetReticuleRect(OPTIONS_NODE_DOUBLE_TAP_DASH, 172, 199, 224, 210);
    SetNavigationNode(OPTIONS_NODE_SOUND, -1, OPTIONS_NODE_DOUBLE_TAP_DASH, -1, OPTIONS_NODE_MUSIC_VOLUME);
    SetReticuleRect(OPTIONS_NODE_SOUND, 151, 250, 151, 261);
    SetNavigationNode(OPTIONS_NODE_MUSIC_VOLUME, -1, OPTIONS_NODE_SOUND, -1, OPTIONS_NODE_SFX_VOLUME);
    SetReticuleRect(OPTIONS_NODE_MUSIC_VOLUME, 134, 270, 234, 281);
    SetNavigationNode(OPTIONS_NODE_SFX_VOLUME, -1, OPTIONS_NODE_MUSIC_VOLUME, -1, OPTIONS_NODE_SIZE_480);
    SetReticuleRect(OPTIONS_NODE_SFX_VOLUME, 134, 290, 234, 301);
    SetNavigationNode(OPTIONS_NODE_SIZE_480, OPTIONS_NODE_SOUND, OPTIONS_NODE_SOUND, OPTIONS_NODE_SIZE_960, OPTIONS_NODE_SIZE_1440);
    SetReticuleRect(OPTIONS_NODE_SIZE_480, 343, 289, 396, 300);
    SetNavigationNode(OPTIONS_NODE_SIZE_960, OPTIONS_NODE_SIZE_480, -1, -1, OPTIONS_NODE_SIZE_1920);
    SetReticuleRect(OPTIONS_NODE_SIZE_960, 403, 289, 457, 300);
    SetNavigationNode(OPTIONS_NODE_SIZE_1440, OPTIONS_NODE_SOUND, OPTIONS_NODE_SIZE_480, OPTIONS_NODE_SIZE_1920, OPTIONS_NODE_FULLSCREEN);
    SetReticuleRect(OPTIONS_NODE_SIZE_1440, 325, 309, 389, 322);
    SetNavigationNode(OPTIONS_NODE_SIZE_1920, OPTIONS_NODE_SIZE_1440, OPTIONS_NODE_SIZE_960, -1, OPTIONS_NODE_FULLSCREEN);
    SetReticuleRect(OPTIONS_NODE_SIZE_1920, 395, 309, 457, 322);
    SetNavigationNode(OPTIONS_NODE_FULLSCREEN, OPTIONS_NODE_SIZE_1440, OPTIONS_NODE_SIZE_1440, OPTIONS_NODE_SIZE_1920, -1);
    SetReticuleRect(OPTIONS_NODE_FULLSCREEN, 362, 329, 438, 340);
}

void GUISPauseScreen::HandleOptionsInput()
{
    BuildOptionsNavigation();
    int32_t tNode = GetCurrentNavigationIndex();
    ControlManager *rControls = ControlManager::Get();
    mWaitBegan = 0;

    if(mInputDelay <= 0)
    {
        bool tEnter = ControlManager::IsPressed("Enter");
        if(ControlManager::IsPressed("Shoot") || ControlManager::IsPressed("Jump") || tEnter)
        {
            PlayerPony *rPlayer = PlayerPony::Get();
            if(tNode >= 0 && tNode <= OPTIONS_NODE_LAST_SECONDARY)
            {
                mInputDelay = cRebindWait;
                mWaitBegan = 1;
            }
            else if(tNode == OPTIONS_NODE_DOUBLE_TAP_DASH)
            {
                if(rPlayer) rPlayer->SetOptionFlag(!rPlayer->GetOptionFlag());
            }
            else if(tNode == OPTIONS_NODE_FULLSCREEN && !tEnter)
            {
                DisplayManager *rDisplay = DisplayManager::Get();
                if(rDisplay) rDisplay->ToggleFullscreen();
            }
        }

        AudioManager *rAudio = AudioManager::Get();
        if(rAudio && (tNode == OPTIONS_NODE_MUSIC_VOLUME || tNode == OPTIONS_NODE_SFX_VOLUME))
        {
            if(ControlManager::IsPressed("Left"))
            {
                if(tNode == OPTIONS_NODE_MUSIC_VOLUME) rAudio->ChangeMusicVolume(-cVolumeStep);
                else rAudio->ChangeSoundVolume(-cVolumeStep);
            }
            if(ControlManager::IsPressed("Right"))
            {
                if(tNode == OPTIONS_NODE_MUSIC_VOLUME) rAudio->ChangeMusicVolume(cVolumeStep);
                else rAudio->ChangeSoundVolume(cVolumeStep);
            }
        }
    }

    // The key that began the wait is still this tick's raw input; the wait reads the next ones.
    if(mInputDelay <= 0 || mWaitBegan || !rControls) return;
    int32_t tKey = -1, tMouse = -1, tJoystick = -1;
    rControls->GetLastInput(&tKey, &tMouse, &tJoystick);
    if(tKey == -1 && tMouse == -1 && tJoystick == -1) return;
    int32_t tRow = tNode / 2;
    if(tRow >= REBIND_CONTROL_COUNT) return;
    if(ControlManager::IsPressed("CloseGame")) tKey = tMouse = tJoystick = -1;
    rControls->SetBinding(RebindControlNames[tRow], (uint8_t)(tNode % 2), tKey, tMouse, tJoystick);
    mInputDelay = 1;
}

void GUISPauseScreen::RenderOptionsPage()
{
    GLState::PushAll();
    if(rImages[PAUSE_IMG_KEYBINDINGS_BASE]) rImages[PAUSE_IMG_KEYBINDINGS_BASE]->DrawAt(0, 0);
    int32_t tNode = GetCurrentNavigationIndex();
    RenderOptionsBindings();
    DrawRectFilled(51.0f, 194.0f, 226.0f, 196.0f, ColorRGBA::FromBytes(179, 255, 128));
    RenderOptionsSettings();
    RenderOptionsVolumes();
    RenderPushImages();
    RenderReticule(tNode);
    if(mInputDelay > 0) RenderOptionsRebindPrompt(tNode);
    GLState::PopAll();
}

// The headings, the row names and each control's two binding names, centred on their columns;
// each name's width places its reticule. The font's vertical scale lasts for the whole page.
void GUISPauseScreen::RenderOptionsBindings()
{
    Font *rFont = mMenuFont;
    if(!rFont) return;
    ControlManager *rControls = ControlManager::Get();
    rFont->SetScaleY(1.05f);
    rFont->DrawTextAt(54, 42, "CONTROLS");
    const char *cRowNames[7] = {"JUMP:", "FIRE:", "DASH:", "PAUSE:", "CYCLE L:", "CYCLE R:", "DOUBLE-TAP DASH:"};
    for(int32_t i = 0; i < 7; i++) rFont->DrawTextAt(44, 82 + 20 * i, cRowNames[i]);
    rFont->DrawText(122, 62, FONT_FLAG_CENTRE, "PRIMARY");
    rFont->DrawText(192, 62, FONT_FLAG_CENTRE, "SECONDARY");
    for(int32_t r = 0; r < REBIND_CONTROL_COUNT && rControls; r++)
    {
        const char *rNames[2] = {rControls->GetPrimaryBindingName(RebindControlNames[r]),
                                 rControls->GetSecondaryBindingName(RebindControlNames[r])};
        const float cCentres[2] = {122.0f, 192.0f};
        for(int32_t c = 0; c < 2; c++)
        {
            char tUpper[256];
            const char *rShown = CopyUpperCase(tUpper, sizeof(tUpper), rNames[c]);
            rFont->DrawText((int32_t)cCentres[c], 82 + 20 * r, FONT_FLAG_CENTRE, rShown);
            float tWidth = (float)rFont->GetTextWidth(rNames[c] ? rNames[c] : "NULL");
            OptionsBindingSpan(cCentres[c], tWidth, mReticuleRects[2 * r + c].mX1, mReticuleRects[2 * r + c].mX2);
        }
    }
}

// Below the separator: the double-tap dash and sound words (their widths place their
// reticules), the audio captions, and the statistics and screen-size texts.
void GUISPauseScreen::RenderOptionsSettings()
{
    Font *rFont = mMenuFont;
    if(!rFont) return;
    PlayerPony *rPlayer = PlayerPony::Get();
    const char *rDashWord = (rPlayer && rPlayer->GetOptionFlag()) ? "ENABLED" : "DISABLED";
    rFont->DrawTextAt(44, 202, "DOUBLE-TAP DASH:");
    RenderOptionsWord(OPTIONS_NODE_DOUBLE_TAP_DASH, 202, rDashWord);

    rFont->DrawTextAt(52, 234, "AUDIO");
    rFont->DrawTextAt(92, 253, "SOUND:");
    rFont->DrawTextAt(92, 273, "MUSIC:");
    rFont->DrawTextAt(92, 293, "SFX:");
    const char *rSoundWord = (xBlockAllAudio || !AudioManager::Get()) ? "DISABLED" : "ENABLED";
    RenderOptionsWord(OPTIONS_NODE_SOUND, 253, rSoundWord);

    rFont->DrawTextAt(313, 33, "STATISTICS");
    rFont->DrawTextAt(353, 274, "SCREEN SIZE");
    rFont->DrawTextAt(341, 292, "480X360");
    rFont->DrawTextAt(401, 292, "960X720");
    rFont->DrawTextAt(321, 312, "1440X1080");
    rFont->DrawTextAt(392, 312, "1920X1440");
    rFont->DrawTextAt(362, 332, "FULLSCREEN");
}

// A setting's word, whose width places its reticule.
void GUISPauseScreen::RenderOptionsWord(int32_t pNode, int32_t pY, const char *pWord)
{
    mMenuFont->DrawTextAt(151, pY, pWord);
    mReticuleRects[pNode].mX1 = 152.0f;
    mReticuleRects[pNode].mX2 = 164.0f + (float)mMenuFont->GetTextWidth(pWord);
}

// The music and sound tracks with a knob at each volume.
void GUISPauseScreen::RenderOptionsVolumes()
{
    ColorRGBA tBarColour;
    tBarColour.Set(0.7019608f, 1.0f, 0.5f, 1.0f);
    float tMusicX = VolumeKnobX(AudioManager::GetMusicVolume());
    float tSoundX = VolumeKnobX(AudioManager::GetSoundVolume());
    DrawRectFilled(134.0f, 274.0f, 234.0f, 276.0f, tBarColour);
    DrawRectFilled(134.0f, 294.0f, 234.0f, 296.0f, tBarColour);
    DrawRectFilled(tMusicX, 271.0f, tMusicX + 2.0f, 279.0f, tBarColour);
    DrawRectFilled(tSoundX, 291.0f, tSoundX + 2.0f, 299.0f, tBarColour);
}

// While the page waits for a new binding: the page shaded, the text box, and which control.
void GUISPauseScreen::RenderOptionsRebindPrompt(int32_t pNode)
{
    ColorRGBA tShade;
    tShade.Set(0.0f, 0.0f, 0.0f, 0.5f);
    ShadeView(tShade);
    if(rImages[PAUSE_IMG_TEXTBOX]) rImages[PAUSE_IMG_TEXTBOX]->DrawAt(0, 0);
    if(!mMenuFont) return;
    int32_t tRow = pNode / 2;
    mMenuFont->SetScaleX(1.5f);
    mMenuFont->DrawText(220, 150, FONT_FLAG_CENTRE, "Rebind key:");
    mMenuFont->SetScaleX(1.5f);
    mMenuFont->DrawText(220, 180, FONT_FLAG_CENTRE, tRow < REBIND_CONTROL_COUNT ? RebindControlNames[tRow] : "");
}

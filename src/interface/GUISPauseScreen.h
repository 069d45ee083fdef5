#pragma once
#include <cstdint>

#include "interface/GUIBaseObject.h"

class Bitmap;
class Font;
class PlayerPony;

#define PAUSE_IMAGE_COUNT 21
#define PAUSE_WEAPON_COUNT 8
#define PAUSE_NODE_COUNT 22
#define REBIND_CONTROL_COUNT 6
#define STATUS_NODE_COUNT 18

// The name the GUI files the pause screen under: the world runs only while an object of that
// name exists and is not the top screen.
#define PAUSE_SCREEN_NAME "PauseScreen"

// The pause screen's pictures under "Root/Images/GUI/PauseMenu/", in loading order.
enum PauseImage
{
    PAUSE_IMG_CONTINUE = 0,
    PAUSE_IMG_RESTART,
    PAUSE_IMG_QUIT,
    PAUSE_IMG_PAUSE_BASE,
    PAUSE_IMG_PASSWORD_BASE,
    PAUSE_IMG_KEYBINDINGS_BASE,
    PAUSE_IMG_ESCAPE_A,
    PAUSE_IMG_ESCAPE_B,
    PAUSE_IMG_ESCAPE_C,
    PAUSE_IMG_PUSH_L,
    PAUSE_IMG_PUSH_R,
    PAUSE_IMG_HEALTHBAR,
    PAUSE_IMG_HEALTH_POINT,
    PAUSE_IMG_SELECTED_BUSTER,
    PAUSE_IMG_SELECTED_OTHER,
    PAUSE_IMG_PASSWORD_ARROW,
    PAUSE_IMG_RETICULE,
    PAUSE_IMG_SOUNDBAR_A,
    PAUSE_IMG_SOUNDBAR_B,
    PAUSE_IMG_SUBTANK,
    PAUSE_IMG_TEXTBOX,
};

// Pages of the screen. The odd values stand for the slides between two pages.
enum PausePage
{
    PAUSE_PAGE_ESCAPE = -1,
    PAUSE_PAGE_STATUS = 0,
    PAUSE_PAGE_OPTIONS = 2,
    PAUSE_PAGE_PASSWORD = 4,
};

struct ReticuleRect
{
    float mX1, mY1, mX2, mY2;
};

// One special weapon as the status page shows it.
struct StatusWeaponRecord
{
    int32_t mWeapon;
    Bitmap *rImage;
    char *mCaption;
    int32_t mCaptionX, mCaptionY;
    int32_t mLineX1, mLineX2, mLineY1, mLineY2;
};

// The controls the options page rebinds, in row order.
extern const char *const RebindControlNames[REBIND_CONTROL_COUNT];

// The options page's navigation nodes. The rebinding cells come first, two a row (primary, then
// secondary) in the order of RebindControlNames; no node 13 is linked.
enum OptionsNode : int32_t
{
    OPTIONS_NODE_LAST_PRIMARY = 2 * (REBIND_CONTROL_COUNT - 1),
    OPTIONS_NODE_LAST_SECONDARY = OPTIONS_NODE_LAST_PRIMARY + 1,
    OPTIONS_NODE_DOUBLE_TAP_DASH = 12,
    OPTIONS_NODE_SOUND = 14,
    OPTIONS_NODE_MUSIC_VOLUME = 15,
    OPTIONS_NODE_SFX_VOLUME = 16,
    OPTIONS_NODE_SIZE_480 = 17,
    OPTIONS_NODE_SIZE_960 = 18,
    OPTIONS_NODE_SIZE_1440 = 19,
    OPTIONS_NODE_SIZE_1920 = 20,
    OPTIONS_NODE_FULLSCREEN = 21,
    OPTIONS_NODE_COUNT,
};

// Copies the text with a..z made capitals, always terminated within the size; null for a null
// source (the destination is then left alone).
char *CopyUpperCase(char *sDest, int32_t pSize, const char *pSource);

// The options page's reticule for a binding name of width w centred on x: x - w/2 to
// x + 12 + w/2.
void OptionsBindingSpan(float pCentreX, float pTextWidth, float &sX1, float &sX2);
// Where a volume's knob stands on its track.
float VolumeKnobX(float pVolume);
// The first texture row (as a fraction of the picture's height) of the status page's health
// band for a maximum health.
float StatusHealthBandStart(int32_t pMaxHealth, int32_t pImageHeight);

// Links (left, up, right, down; -1 for none) of the status page's 18 nodes, for which of the
// eight page positions hold an available weapon and how many sub-tanks the player has.
void BuildStatusLinks(const uint8_t *pAvailable, int32_t pSubtankCount, int32_t sLinks[STATUS_NODE_COUNT][4]);

// The pause screen: opened over the frozen game on an escape menu (continue, back to the level
// select, quit), with three pages behind it (status, options, password) that the shoulder keys
// slide between. From the escape menu "ShoulderL" opens the status page and "ShoulderR" the
// options page. It keeps itself open against "CloseGame" and handles that key itself.
class GUISPauseScreen : public GUIBaseObject
{
public:
    GUISPauseScreen();
    ~GUISPauseScreen() override;

    void LoadImages();

    void OnOpen() override;
    void OnClose() override;
    bool HandleEvent(int32_t pCode, int32_t pX, int32_t pY) override;
    void Render() override;
    // The menu font is the screen's own, never the library's.
    void ReleaseLibraryObject(void *pObject) override;

    int32_t GetPage() const { return mPage; }
    // Shows a page at once, without a slide.
    void SetPage(int32_t pPage);
    int32_t GetFadeCounter() const { return mFadeCounter; }
    int32_t GetEscapeCursor() const { return mEscapeCursor; }
    int32_t GetInputDelay() const { return mInputDelay; }
    int32_t GetTargetPage() const { return mTargetPage; }
    int32_t GetSlideStep() const { return mSlideStep; }
    uint8_t IsPushLHeld() const { return mPushLHeld; }
    uint8_t IsPushRHeld() const { return mPushRHeld; }
    uint8_t NeedsRefresh() const { return mNeedsRefresh; }
    const ReticuleRect &GetReticuleRect(int32_t pIndex) const;
    void SetReticuleRect(int32_t pIndex, float pX1, float pY1, float pX2, float pY2);
    const StatusWeaponRecord &GetWeaponRecord(int32_t pIndex) const;

    // Options page.
    void BuildOptionsNavigation();
    void HandleOptionsInput();
    void RenderOptionsPage();
    // Status page.
    void InitWeaponRecords();
    void BuildStatusNavigation();
    void HandleStatusInput();
    void RenderStatusPage();

private:
    void HandleEscapeInput();
    void HandleSharedPageInput();
    void RunDrain();
    void StartSlide(int32_t pTarget, int32_t pStep);
    void RenderPage(int32_t pPage);
    void RenderSlide();
    void RenderReticule(int32_t pNode);
    void RenderPushImages();
    // The options page's steps, in drawing order.
    void RenderOptionsBindings();
    void RenderOptionsSettings();
    void RenderOptionsWord(int32_t pNode, int32_t pY, const char *pWord);
    void RenderOptionsVolumes();
    void RenderOptionsRebindPrompt(int32_t pNode);
    // The status page's steps, in drawing order.
    void RenderStatusCaptions();
    void RenderStatusPortrait(PlayerPony *pPlayer);
    void RenderStatusHealth(PlayerPony *pPlayer);
    void RenderStatusWeapons(PlayerPony *pPlayer);
    void RenderStatusExit();
    void RenderStatusSubtanks(PlayerPony *pPlayer);
    void LoadMenuFont();

    int32_t mPage;
    int32_t mFadeCounter;
    int32_t mFadeStep;
    int32_t mTargetPage;
    int32_t mSlideCounter;
    int32_t mSlideStep;
    uint8_t mPushLHeld;
    uint8_t mPushRHeld;
    int32_t mEscapeCursor;
    Bitmap *rImages[PAUSE_IMAGE_COUNT];
    uint8_t mWeaponRecordsReady;
    Bitmap *rKBCap;
    Bitmap *rWeaponImages[PAUSE_WEAPON_COUNT];
    StatusWeaponRecord mWeaponRecords[PAUSE_WEAPON_COUNT];
    Font *mMenuFont;
    uint8_t mMenuFontTried;
    Bitmap *rPasswordNumbers;
    uint8_t mNeedsRefresh;
    ReticuleRect mReticuleRects[PAUSE_NODE_COUNT];
    int32_t mInputDelay;
    // Set in the tick a binding wait begins: that tick's raw input is the key that began it.
    uint8_t mWaitBegan;
    int32_t mDrainTank;
    int32_t mDrainTicks;
};

// genscreenart: draws the pictures of the game's screens: the title animation, the thanks
// page, the player's health bar pieces (frame variants, weapon energy strips, selector ring
// sheets), the boss bar frame and the pause screen's pages, overlays, reticule and sub-tank.
//
//     genscreenart OUTPUT_DIRECTORY
//
// Data/Scripts/GUIImages.lua loads them from "Data/Graphics/Generated/Screens/". Every picture
// is drawn with flat colours; text uses Allegro's built-in 8 by 8 font at whole multiples.
#include "ArtCanvas.h"
#include "ArtText.h"
#include <cmath>

#define VIEW_W 480
#define VIEW_H 360
#define TITLE_FRAMES 86
#define ENERGY_FRAMES 29

static ALLEGRO_FONT *xFont = nullptr;

static void Text(float pX, float pY, float pScale, ALLEGRO_COLOR pColour, const char *pText)
{
    DrawScaledText(xFont, pColour, pX, pY, pScale, pText);
}

static void CentredText(float pCentreX, float pY, float pScale, ALLEGRO_COLOR pColour, const char *pText)
{
    float tWidth = (float)al_get_text_width(xFont, pText) * pScale;
    Text(pCentreX - tWidth / 2.0f, pY, pScale, pColour, pText);
}

static void Box(float pX1, float pY1, float pX2, float pY2, ALLEGRO_COLOR pFill, ALLEGRO_COLOR pEdge)
{
    al_draw_filled_rectangle(pX1, pY1, pX2, pY2, pEdge);
    al_draw_filled_rectangle(pX1 + 2, pY1 + 2, pX2 - 2, pY2 - 2, pFill);
}

// A small bird in side view, the size of a 32 by 32 cell at scale 1.
static void Bird(float pX, float pY, float pScale, float pWing)
{
    ALLEGRO_TRANSFORM tOld;
    UseScaledPlacement(pX, pY, pScale, &tOld);
    ALLEGRO_COLOR tBody = al_map_rgb(0x30, 0x60, 0xD0), tWing = al_map_rgb(0x20, 0x40, 0xA0);
    al_draw_filled_ellipse(14, 18, 9, 8, tBody);
    al_draw_filled_ellipse(16, 21, 5, 4, al_map_rgb(0xF0, 0xE0, 0xB0));
    al_draw_filled_circle(21, 10, 6, tBody);
    al_draw_filled_triangle(26, 8, 31, 11, 26, 13, al_map_rgb(0xF0, 0xA0, 0x20));
    al_draw_filled_rectangle(22, 7, 25, 10, al_map_rgb(255, 255, 255));
    al_draw_filled_rectangle(23, 8, 25, 10, al_map_rgb(16, 16, 16));
    float tTipY = 21.0f - 12.0f * pWing;
    al_draw_filled_triangle(11, 15, 19, 18, 3, tTipY, tWing);
    al_use_transform(&tOld);
}

static void Sky(int pShift)
{
    for(int y = 0; y < VIEW_H; y += 4)
    {
        int t = y * 255 / VIEW_H;
        al_draw_filled_rectangle(0, y, VIEW_W, y + 4, al_map_rgb(20 + t / 5, 30 + t / 3, 70 + t / 2));
    }
    for(int i = 0; i < 6; i++)
    {
        float tX = (float)((i * 97 + pShift) % (VIEW_W + 120)) - 60.0f;
        al_draw_filled_ellipse(tX, 60.0f + 35.0f * (float)(i % 3), 40, 10, al_map_rgb(90, 110, 160));
    }
    al_draw_filled_rectangle(0, 300, VIEW_W, VIEW_H, al_map_rgb(40, 110, 60));
}

// Frame 1 is held for two seconds, then the bird flies in and the title drops into place, and
// the last frame holds. The prompt stands on every frame: a player who looks for what to press
// should not have to wait out the animation to be told.
static void MakeTitleFrames()
{
    for(int f = 0; f < TITLE_FRAMES; f++)
    {
        ALLEGRO_BITMAP *nFrame = NewCanvas(VIEW_W, VIEW_H);
        Sky(f * 3);
        float tT = f <= 1 ? 0.0f : (float)(f - 1) / (float)(TITLE_FRAMES - 2);
        float tBirdX = -80.0f + 320.0f * (tT > 0.7f ? 1.0f : tT / 0.7f);
        Bird(tBirdX, 190.0f, 3.0f, (f % 4 < 2) ? 1.0f : -0.6f);
        float tTitleY = -60.0f + 140.0f * (tT > 0.5f ? 1.0f : tT / 0.5f);
        CentredText(VIEW_W / 2 + 3, tTitleY + 3, 7.0f, al_map_rgb(10, 20, 50), "KESTRA");
        CentredText(VIEW_W / 2, tTitleY, 7.0f, al_map_rgb(250, 240, 200), "KESTRA");
        CentredText(VIEW_W / 2, 320, 2.0f, al_map_rgb(255, 255, 255), "PRESS ENTER");
        char tName[64];
        snprintf(tName, sizeof(tName), "TitleScreen%03i", f);
        Save(nFrame, tName);
    }
}

static void MakeThanksPage()
{
    ALLEGRO_BITMAP *nPage = NewCanvas(VIEW_W, VIEW_H);
    Sky(0);
    CentredText(VIEW_W / 2, 40, 4.0f, al_map_rgb(250, 240, 200), "THANKS FOR");
    CentredText(VIEW_W / 2, 80, 4.0f, al_map_rgb(250, 240, 200), "PLAYING");
    Save(nPage, "ThanksForPlaying");
    for(int i = 0; i < 6; i++)
    {
        ALLEGRO_BITMAP *nPortrait = NewCanvas(64, 64);
        Bird(0, 0, 2.0f, sinf((float)i / 6.0f * 6.2831853f));
        char tName[32];
        snprintf(tName, sizeof(tName), "Portrait%i", i);
        Save(nPortrait, tName);
    }
    for(int i = 0; i < 3; i++)
    {
        ALLEGRO_BITMAP *nScreen = NewCanvas(64, 48);
        Box(0, 0, 64, 48, al_map_rgb(20, 20, 30), al_map_rgb(160, 160, 170));
        al_draw_filled_rectangle(8 + 16 * i, 16, 24 + 16 * i, 32, al_map_rgb(80, 220, 120));
        char tName[32];
        snprintf(tName, sizeof(tName), "Screen%i", i);
        Save(nScreen, tName);
    }
}

// Frame variant k holds a tube for 18 + 2k points above the 45 by 45 weapon cell.
static void MakeHealthBarPieces()
{
    ALLEGRO_BITMAP *nFrame = NewCanvas(45 * 8, 144);
    for(int k = 0; k < 8; k++)
    {
        float tX = 45.0f * (float)k;
        float tTop = 45.0f - 6.0f * (float)k - 3.0f;
        al_draw_filled_rectangle(tX + 16, tTop, tX + 30, 101, al_map_rgb(30, 30, 40));
        al_draw_filled_rectangle(tX + 18, tTop + 2, tX + 28, 99, al_map_rgb(10, 10, 14));
    }
    Save(nFrame, "HealthFrame");

    ALLEGRO_BITMAP *nPoint = NewCanvas(8, 3);
    al_draw_filled_rectangle(0, 0, 8, 2, al_map_rgb(250, 230, 120));
    Save(nPoint, "HealthPoint");

    const unsigned char cColours[8][3] = {{240, 240, 90}, {170, 60, 200}, {120, 220, 250}, {230, 60, 60},
                                          {90, 160, 250}, {200, 240, 255}, {170, 120, 70}, {120, 230, 80}};
    const char *cNames[8] = {"Lightning Bit", "Nightmare Cutter", "Prism Gale", "Chaos Gun", "Sonic Blaster",
                             "Permafrost Cannon", "Rock Wrecker", "Caustic Spray"};
    for(int w = 0; w < 8; w++)
    {
        ALLEGRO_BITMAP *nStrip = NewCanvas(45 * ENERGY_FRAMES, 45);
        for(int f = 0; f < ENERGY_FRAMES; f++)
        {
            float tX = 45.0f * (float)f;
            int tEnergy = 28 - f;
            Box(tX, 0, tX + 45, 45, al_map_rgb(20, 20, 30), al_map_rgb(120, 120, 140));
            float tLevel = 41.0f - 37.0f * (float)tEnergy / 28.0f;
            al_draw_filled_rectangle(tX + 16, tLevel, tX + 29, 41, al_map_rgb(cColours[w][0], cColours[w][1], cColours[w][2]));
        }
        char tName[64];
        snprintf(tName, sizeof(tName), "Weapon %s", cNames[w]);
        Save(nStrip, tName);
    }

    const int cRingX[8] = {51, 62, 60, 43, 19, 2, 0, 11};
    const int cRingY[8] = {6, 24, 47, 62, 62, 47, 24, 6};
    for(int s = 0; s < 2; s++)
    {
        ALLEGRO_BITMAP *nSheet = NewCanvas(80, 80);
        for(int i = 0; i < 8; i++)
        {
            ALLEGRO_COLOR tFill = s ? al_map_rgb(255, 220, 60) : al_map_rgb(90, 90, 110);
            al_draw_filled_circle(cRingX[i] + 8.5f, cRingY[i] + 8.5f, 7.5f, al_map_rgb(20, 20, 20));
            al_draw_filled_circle(cRingX[i] + 8.5f, cRingY[i] + 8.5f, 5.5f, tFill);
        }
        Save(nSheet, s ? "SelectorsB" : "SelectorsA");
    }

    ALLEGRO_BITMAP *nBoss = NewCanvas(20, 108);
    Box(0, 0, 20, 108, al_map_rgb(10, 10, 14), al_map_rgb(180, 60, 60));
    Save(nBoss, "BossHealthBar");
}

// The escape menu: three entries, the one under the cursor highlighted.
static void MakeEscapeMenus()
{
    const char *cEntries[3] = {"CONTINUE", "LEVEL SELECT", "QUIT GAME"};
    const char *cFiles[3] = {"PauseContinue", "PauseRestart", "PauseQuit"};
    for(int c = 0; c < 3; c++)
    {
        ALLEGRO_BITMAP *nMenu = NewCanvas(VIEW_W, VIEW_H);
        al_draw_filled_rectangle(0, 0, VIEW_W, VIEW_H, al_map_rgb(16, 20, 40));
        CentredText(VIEW_W / 2, 60, 4.0f, al_map_rgb(250, 240, 200), "PAUSED");
        for(int i = 0; i < 3; i++)
        {
            bool tOn = i == c;
            Box(140, 140 + 50 * i, 340, 180 + 50 * i, tOn ? al_map_rgb(60, 90, 170) : al_map_rgb(30, 34, 60),
                tOn ? al_map_rgb(255, 230, 90) : al_map_rgb(90, 90, 120));
            CentredText(VIEW_W / 2, 152 + 50 * i, 2.0f, al_map_rgb(255, 255, 255), cEntries[i]);
        }
        Text(20, 330, 1.0f, al_map_rgb(180, 180, 200), "Q: STATUS   E: OPTIONS");
        Save(nMenu, cFiles[c]);
    }
}

// The frame-rate text takes the top right corner above y = 10, so the page's name is centred
// and the shoulder keys' marks sit below it. The frame leaves room for the longest captions
// the pages place near the right edge (they end near x = 455).
static void PageBase(const char *pFile, const char *pTitle, ALLEGRO_COLOR pTint)
{
    ALLEGRO_BITMAP *nPage = NewCanvas(VIEW_W, VIEW_H);
    al_draw_filled_rectangle(0, 0, VIEW_W, VIEW_H, pTint);
    Box(14, 24, 466, 346, al_map_rgb(14, 30, 22), al_map_rgb(90, 200, 110));
    CentredText(VIEW_W / 2, 8, 1.0f, al_map_rgb(200, 255, 200), pTitle);
    Text(2, 14, 1.0f, al_map_rgb(200, 255, 200), "<Q");
    Text(462, 14, 1.0f, al_map_rgb(200, 255, 200), "E>");
    CentredText(VIEW_W / 2, 350, 1.0f, al_map_rgb(200, 255, 200), "ESCAPE: BACK TO PLAY");
    Save(nPage, pFile);
}

static void MakePauseOverlays()
{
    PageBase("Pause Base", "STATUS", al_map_rgb(10, 40, 30));
    PageBase("Keybindings Base", "OPTIONS", al_map_rgb(10, 30, 44));
    PageBase("Password Base", "PASSWORD", al_map_rgb(40, 20, 44));

    for(int i = 0; i < 2; i++)
    {
        ALLEGRO_BITMAP *nPush = NewCanvas(VIEW_W, VIEW_H);
        float tX = i == 0 ? 0.0f : 460.0f;
        al_draw_filled_rectangle(tX, 12, tX + 20, 24, al_map_rgb(255, 230, 90));
        Text(tX + 2, 14, 1.0f, al_map_rgb(20, 20, 20), i == 0 ? "<Q" : "E>");
        Save(nPush, i == 0 ? "Push L" : "Push R");
    }

    const char *cEscapes[3] = {"EscapeA", "EscapeB", "EscapeC"};
    for(int i = 0; i < 3; i++)
    {
        ALLEGRO_BITMAP *nEscape = NewCanvas(VIEW_W, VIEW_H);
        bool tOn = i == 2;
        Box(380, 300, 440, 330, tOn ? al_map_rgb(170, 60, 60) : al_map_rgb(50, 30, 30),
            tOn ? al_map_rgb(255, 230, 90) : al_map_rgb(140, 90, 90));
        CentredText(410, 311, 1.0f, al_map_rgb(255, 255, 255), "EXIT");
        Save(nEscape, cEscapes[i]);
    }

    // Health bands 18 rows tall, one every 9 rows: band m - 18 .. is the one for maximum m.
    ALLEGRO_BITMAP *nBar = NewCanvas(106, 144);
    for(int b = 0; b <= 14; b++)
    {
        float tY = 9.0f * (float)b;
        float tLength = 106.0f - 3.0f * (float)b;
        al_draw_filled_rectangle(0, tY, tLength, tY + 18, al_map_rgb(30, 60, 40));
        al_draw_filled_rectangle(1, tY + 6, tLength - 1, tY + 12, al_map_rgb(10, 20, 14));
    }
    Save(nBar, "HealthBar");

    ALLEGRO_BITMAP *nPoint = NewCanvas(2, 6);
    al_draw_filled_rectangle(0, 0, 2, 6, al_map_rgb(250, 230, 120));
    Save(nPoint, "Health Point");

    ALLEGRO_BITMAP *nCap = NewCanvas(45, 45);
    Box(0, 0, 45, 45, al_map_rgb(30, 60, 130), al_map_rgb(200, 200, 220));
    CentredText(22.5f, 18, 1.0f, al_map_rgb(255, 255, 255), "KB");
    Save(nCap, "KBCap");

    ALLEGRO_BITMAP *nBuster = NewCanvas(49, 50);
    al_draw_rectangle(1, 1, 48, 49, al_map_rgb(255, 230, 90), 2);
    Save(nBuster, "IsSelectedBuster");
    ALLEGRO_BITMAP *nOther = NewCanvas(40, 41);
    al_draw_rectangle(1, 1, 39, 40, al_map_rgb(255, 230, 90), 2);
    Save(nOther, "IsSelectedOther");

    // The corner piece fills the texture square [0, 4/9]: 8 of the 18 texels.
    ALLEGRO_BITMAP *nReticule = NewCanvas(18, 18);
    al_draw_filled_rectangle(0, 0, 8, 2, al_map_rgb(255, 255, 255));
    al_draw_filled_rectangle(0, 0, 2, 8, al_map_rgb(255, 255, 255));
    Save(nReticule, "Reticule");

    // Empty tank 0..17, highlighted 17..36, contents 37..43.
    ALLEGRO_BITMAP *nTank = NewCanvas(44, 30);
    Box(0, 0, 17, 30, al_map_rgb(20, 20, 30), al_map_rgb(140, 140, 160));
    Box(17, 0, 36, 30, al_map_rgb(20, 20, 30), al_map_rgb(255, 230, 90));
    al_draw_filled_rectangle(37, 0, 43, 30, al_map_rgb(90, 200, 250));
    Save(nTank, "Subtank");

    ALLEGRO_BITMAP *nTextBox = NewCanvas(VIEW_W, VIEW_H);
    Box(110, 130, 330, 200, al_map_rgb(20, 24, 50), al_map_rgb(255, 230, 90));
    Save(nTextBox, "TextBox");

    ALLEGRO_BITMAP *nArrow = NewCanvas(8, 8);
    al_draw_filled_triangle(0, 0, 8, 4, 0, 8, al_map_rgb(255, 230, 90));
    Save(nArrow, "Password Arrow");
    ALLEGRO_BITMAP *nNumbers = NewCanvas(80, 8);
    for(int i = 0; i < 10; i++)
    {
        char tDigit[2] = {(char)('0' + i), '\0'};
        Text((float)(8 * i), 0, 1.0f, al_map_rgb(255, 255, 255), tDigit);
    }
    Save(nNumbers, "Password Numbers");
    for(int i = 0; i < 2; i++)
    {
        ALLEGRO_BITMAP *nSoundBar = NewCanvas(100, 4);
        al_draw_filled_rectangle(0, 0, 100, 4, i ? al_map_rgb(180, 255, 130) : al_map_rgb(60, 90, 50));
        Save(nSoundBar, i ? "SoundBarB" : "SoundBarA");
    }
}

int main(int argc, char **argv)
{
    if(!StartArtTool("genscreenart", argc, argv)) return 1;
    if(!al_init_font_addon())
    {
        fprintf(stderr, "genscreenart: cannot start Allegro\n");
        return 1;
    }
    xFont = al_create_builtin_font();
    if(!xFont)
    {
        fprintf(stderr, "genscreenart: cannot make the built-in font\n");
        return 1;
    }

    MakeThanksPage();
    MakeHealthBarPieces();
    MakeEscapeMenus();
    MakePauseOverlays();
    // Written last: the build takes the last title frame as the mark of a finished run.
    MakeTitleFrames();

    al_destroy_font(xFont);
    return 0;
}

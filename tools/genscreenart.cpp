// genscreenart: draws the pictures of the game's screens: the title animation, the thanks
// page, the player's health bar pieces (frame variants, weapon energy strips, the buster's cap,
// selector ring sheets), the boss bar's frame and chip, the "READY" of a stage's start and the
// pause screen's pages, overlays, reticule and sub-tank.
//
//     genscreenart OUTPUT_DIRECTORY
//
// Data/Scripts/GUIImages.lua loads them from "Data/Graphics/Generated/Screens/"; the boss bar's
// frame and "READY" are drawn where they stand in the view and packed trimmed, with their place,
// from Data/Sources/Overlays.manifest. Every picture is drawn with flat colours; text uses
// Allegro's built-in 8 by 8 font at whole multiples.
#include "ArtCanvas.h"
#include "ArtText.h"
#include <cmath>

#define VIEW_W 480
#define VIEW_H 360
#define TITLE_FRAMES 86
#define ENERGY_FRAMES 29

// The player's bar stands at (16, 16): its tube ends above the weapon's gauge, a square with
// rounded corners in the middle of the 45 by 45 weapon cell at (16, 115), and the selector
// ring's circles stand around that gauge, 31 to 34 units from its centre. The status page
// shows the same gauges, its connectors ending at their top and bottom edges.
#define GAUGE_HALF 17.0f
#define GAUGE_CORNER 4.0f
#define TUBE_BOTTOM 101.0f
// The boss bar's frame, right of the view opposite the player's bar: 32 chips of 3 units from
// 6 units inside its top-left corner.
#define BOSS_BAR_X 444.0f
#define BOSS_BAR_Y 16.0f
#define BOSS_BAR_W 20.0f
#define BOSS_BAR_H 108.0f

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

// The clouds drift in three rows from pCloudTop down, 35 units apart.
static void Sky(int pShift, float pCloudTop)
{
    for(int y = 0; y < VIEW_H; y += 4)
    {
        int t = y * 255 / VIEW_H;
        al_draw_filled_rectangle(0, y, VIEW_W, y + 4, al_map_rgb(20 + t / 5, 30 + t / 3, 70 + t / 2));
    }
    for(int i = 0; i < 6; i++)
    {
        float tX = (float)((i * 97 + pShift) % (VIEW_W + 120)) - 60.0f;
        al_draw_filled_ellipse(tX, pCloudTop + 35.0f * (float)(i % 3), 40, 10, al_map_rgb(90, 110, 160));
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
        Sky(f * 3, 60.0f);
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

// A framed view of the goal she reached: the flag on its hill under the sun, flying in the
// breeze. Frames 0, 1 and 2 are three beats of the flag; the page plays them 0, 1, 2, 1.
static void GoalPicture(int pBeat)
{
    al_draw_filled_rectangle(3, 3, 61, 45, al_map_rgb(110, 170, 230));
    al_draw_filled_rectangle(3, 27, 61, 45, al_map_rgb(90, 150, 220));
    al_draw_filled_circle(50, 12, 5, al_map_rgb(255, 220, 90));
    al_draw_filled_ellipse(14, 10, 7, 3, al_map_rgb(235, 240, 250));
    al_draw_filled_ellipse(32, 45, 30, 14, al_map_rgb(60, 150, 70));
    al_draw_filled_rectangle(3, 41, 61, 45, al_map_rgb(50, 120, 60));
    // The pole stands on the hill's top; the flag's free corner rises and falls with the beat.
    al_draw_filled_rectangle(30, 13, 32, 32, al_map_rgb(230, 230, 230));
    const float tTip = 17.0f + 3.0f * (float)(pBeat - 1);
    al_draw_filled_triangle(32, 13, 32, 23, 47, tTip, al_map_rgb(230, 60, 60));
    al_draw_filled_triangle(32, 13, 40, 15 + (float)pBeat, 32, 19, al_map_rgb(250, 120, 100));
    // The frame over the picture's edges, with a darker inner edge.
    ALLEGRO_COLOR tFrame = al_map_rgb(120, 80, 40);
    al_draw_filled_rectangle(0, 0, 64, 3, tFrame);
    al_draw_filled_rectangle(0, 45, 64, 48, tFrame);
    al_draw_filled_rectangle(0, 3, 3, 45, tFrame);
    al_draw_filled_rectangle(61, 3, 64, 45, tFrame);
    al_draw_rectangle(3.5f, 3.5f, 60.5f, 44.5f, al_map_rgb(70, 45, 20), 1.0f);
}

// The page itself holds the title high above the portrait (at 150, 100) and the picture (at
// 275, 150), with the clouds below the title, and says how to leave it.
static void MakeThanksPage()
{
    ALLEGRO_BITMAP *nPage = NewCanvas(VIEW_W, VIEW_H);
    Sky(0, 100.0f);
    CentredText(VIEW_W / 2 + 2, 18, 4.0f, al_map_rgb(10, 20, 50), "THANKS FOR");
    CentredText(VIEW_W / 2, 16, 4.0f, al_map_rgb(250, 240, 200), "THANKS FOR");
    CentredText(VIEW_W / 2 + 2, 54, 4.0f, al_map_rgb(10, 20, 50), "PLAYING");
    CentredText(VIEW_W / 2, 52, 4.0f, al_map_rgb(250, 240, 200), "PLAYING");
    CentredText(VIEW_W / 2, 320, 2.0f, al_map_rgb(255, 255, 255), "PRESS ENTER");
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
        GoalPicture(i);
        char tName[32];
        snprintf(tName, sizeof(tName), "Screen%i", i);
        Save(nScreen, tName);
    }
}

// A square of half-size pHalf about (pX, pY) with corners rounded by pCorner, drawn row by row
// from pFromY down, so a gauge fills from its bottom with flat colours only.
static void RoundedRows(float pX, float pY, float pHalf, float pCorner, float pFromY, ALLEGRO_COLOR pColour)
{
    for(int y = (int)(pY - pHalf); y < (int)(pY + pHalf); y++)
    {
        float tMid = fabsf((float)y + 0.5f - pY);
        if((float)y + 0.5f < pFromY || tMid > pHalf) continue;
        float tInto = tMid - (pHalf - pCorner);
        float tCut = tInto > 0.0f ? pCorner - sqrtf(pCorner * pCorner - tInto * tInto) : 0.0f;
        float tHalf = floorf(pHalf - tCut + 0.5f);
        al_draw_filled_rectangle(pX - tHalf, (float)y, pX + tHalf, (float)y + 1, pColour);
    }
}

// The weapon cell's gauge: a rimmed square in the middle of the 45 by 45 cell, filled from the
// bottom to the level (0 to 1).
static void Gauge(float pLeft, float pLevel, ALLEGRO_COLOR pFill)
{
    const float tX = pLeft + 22.5f, tY = 22.5f;
    RoundedRows(tX, tY, GAUGE_HALF, GAUGE_CORNER, -1.0f, al_map_rgb(120, 120, 140));
    RoundedRows(tX, tY, GAUGE_HALF - 2.0f, GAUGE_CORNER - 1.0f, -1.0f, al_map_rgb(20, 20, 30));
    const float tInner = GAUGE_HALF - 4.0f;
    RoundedRows(tX, tY, tInner, 1.0f, tY + tInner - 2.0f * tInner * pLevel, pFill);
}

// Frame variant k holds a tube for 18 + 2k points above the 45 by 45 weapon cell.
static void MakeHealthBarPieces()
{
    ALLEGRO_BITMAP *nFrame = NewCanvas(45 * 8, 144);
    for(int k = 0; k < 8; k++)
    {
        float tX = 45.0f * (float)k;
        float tTop = 45.0f - 6.0f * (float)k - 3.0f;
        al_draw_filled_rectangle(tX + 16, tTop, tX + 30, TUBE_BOTTOM, al_map_rgb(30, 30, 40));
        al_draw_filled_rectangle(tX + 18, tTop + 2, tX + 28, TUBE_BOTTOM - 2, al_map_rgb(10, 10, 14));
    }
    Save(nFrame, "HealthFrame");

    // The buster keeps no energy: its cell shows a full gauge marked with its letters.
    ALLEGRO_BITMAP *nCap = NewCanvas(45, 45);
    Gauge(0, 1.0f, al_map_rgb(60, 110, 200));
    CentredText(22.5f, 19, 1.0f, al_map_rgb(255, 255, 255), "KB");
    Save(nCap, "HealthCap");

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
            Gauge(45.0f * (float)f, (float)(28 - f) / 28.0f, al_map_rgb(cColours[w][0], cColours[w][1], cColours[w][2]));
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

    ALLEGRO_BITMAP *nBoss = NewCanvas(VIEW_W, VIEW_H);
    Box(BOSS_BAR_X, BOSS_BAR_Y, BOSS_BAR_X + BOSS_BAR_W, BOSS_BAR_Y + BOSS_BAR_H, al_map_rgb(10, 10, 14), al_map_rgb(180, 60, 60));
    Save(nBoss, "BossHealthBar");
    ALLEGRO_BITMAP *nChip = NewCanvas(8, 3);
    al_draw_filled_rectangle(0, 0, 8, 1, al_map_rgb(255, 150, 120));
    al_draw_filled_rectangle(0, 1, 8, 2, al_map_rgb(220, 60, 50));
    Save(nChip, "HealthChip");
}

// Shown over the view while she arrives; drawn where it stands in the view.
static void MakeReady()
{
    ALLEGRO_BITMAP *nReady = NewCanvas(VIEW_W, VIEW_H);
    CentredText(VIEW_W / 2 + 3, 143, 3.0f, al_map_rgb(60, 30, 0), "READY");
    CentredText(VIEW_W / 2, 140, 3.0f, al_map_rgb(255, 220, 60), "READY");
    Save(nReady, "Ready");
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
static ALLEGRO_BITMAP *PageBase(const char *pTitle, ALLEGRO_COLOR pTint)
{
    ALLEGRO_BITMAP *nPage = NewCanvas(VIEW_W, VIEW_H);
    al_draw_filled_rectangle(0, 0, VIEW_W, VIEW_H, pTint);
    Box(14, 24, 466, 346, al_map_rgb(14, 30, 22), al_map_rgb(90, 200, 110));
    CentredText(VIEW_W / 2, 8, 1.0f, al_map_rgb(200, 255, 200), pTitle);
    Text(2, 14, 1.0f, al_map_rgb(200, 255, 200), "<Q");
    Text(462, 14, 1.0f, al_map_rgb(200, 255, 200), "E>");
    CentredText(VIEW_W / 2, 350, 1.0f, al_map_rgb(200, 255, 200), "ESCAPE: BACK TO PLAY");
    return nPage;
}

// The status page's wing armour, spread behind her back where the portrait stands (her back
// near x = 122 about y = 100) and reaching left to where the connector from "PEGASUS WINGS"
// ends (85, 100). The portrait, drawn over the page, covers its root.
static void ArmourWing()
{
    ALLEGRO_COLOR tEdge = al_map_rgb(60, 70, 100);
    ALLEGRO_COLOR tPlate = al_map_rgb(170, 185, 215);
    ALLEGRO_COLOR tShade = al_map_rgb(130, 145, 180);
    al_draw_filled_triangle(126, 90, 126, 104, 84, 99, tEdge);
    al_draw_filled_triangle(125, 92, 125, 102, 87, 99, tPlate);
    al_draw_filled_triangle(125, 99, 125, 109, 93, 107, tEdge);
    al_draw_filled_triangle(124, 101, 124, 107, 96, 106, tShade);
    al_draw_filled_triangle(125, 105, 125, 114, 101, 115, tEdge);
    al_draw_filled_triangle(124, 107, 124, 112, 104, 114, tShade);
}

static void MakePauseOverlays()
{
    ALLEGRO_BITMAP *nStatus = PageBase("STATUS", al_map_rgb(10, 40, 30));
    ArmourWing();
    Save(nStatus, "Pause Base");
    Save(PageBase("OPTIONS", al_map_rgb(10, 30, 44)), "Keybindings Base");
    Save(PageBase("PASSWORD", al_map_rgb(40, 20, 44)), "Password Base");

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

    // The corner piece fills the texture square [0, 4/9]: 8 of the 18 texels, one unit each.
    // Its foot reaches 3 units in from the rectangle's side: the options page's texts start 6
    // units inside their rectangles on the left and end 4 or more inside on the right, in the
    // rows the feet share with them.
    ALLEGRO_BITMAP *nReticule = NewCanvas(18, 18);
    al_draw_filled_rectangle(0, 0, 3, 2, al_map_rgb(255, 255, 255));
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
    MakeReady();
    MakeEscapeMenus();
    MakePauseOverlays();
    // Written last: the build takes the last title frame as the mark of a finished run.
    MakeTitleFrames();

    al_destroy_font(xFont);
    return 0;
}

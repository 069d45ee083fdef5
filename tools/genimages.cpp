// genimages: draws the sample game's pictures: the window icon, the loading screen, the menu
// alphabet, the frames of the player bird Kestra and a palette test card.
//
//     genimages GRAPHICS_DIRECTORY
//
// GRAPHICS_DIRECTORY is the game's "Data/Graphics/". The engine reads some of these by fixed
// name ("Icon.png", "Loading/LoadImage0.png".."LoadImage7.png", "Loading/Background.png",
// "Text/MenuAlphabet.png"); the rest go under "Generated/", where the start-up scripts and
// the lump manifest in "Data/Sources/" pick them up.
//
// Every picture is drawn with flat colours and no anti-aliasing, because the palette swap
// replaces colours by exact match: a blended edge pixel would keep its original colour.
#include "ArtCanvas.h"
#include "ArtText.h"
#include "MenuGlyphs.h"
#include <cmath>

// Kestra's four swappable colours, in the order of the "Kestra" palette lump
// (Data/Sources/Kestra.manifest). Change both together.
static const unsigned char cBody[3] = {0x30, 0x60, 0xD0};
static const unsigned char cWing[3] = {0x20, 0x40, 0xA0};
static const unsigned char cBelly[3] = {0xF0, 0xE0, 0xB0};
static const unsigned char cBeak[3] = {0xF0, 0xA0, 0x20};

#define KESTRA_FRAME_SIZE 32
#define LOADING_FRAMES 8

static ALLEGRO_COLOR Rgb(const unsigned char *pRGB)
{
    return al_map_rgb(pRGB[0], pRGB[1], pRGB[2]);
}

// Saves under the graphics directory, making the folder, and frees the picture.
static void Save(ALLEGRO_BITMAP *pBitmap, const char *pFolder, const char *pName)
{
    char tFolder[4096];
    char tPath[4096];
    int tA = snprintf(tFolder, sizeof(tFolder), "%s%s", xRoot, pFolder);
    int tB = snprintf(tPath, sizeof(tPath), "%s%s%s", xRoot, pFolder, pName);
    if(tA < 0 || tB < 0 || (size_t)tA >= sizeof(tFolder) || (size_t)tB >= sizeof(tPath))
    {
        fprintf(stderr, "genimages: path too long for %s\n", pName);
        exit(1);
    }
    if(tFolder[0] && !MakeArtFolder(tFolder))
    {
        fprintf(stderr, "genimages: cannot make the folder %s\n", tFolder);
        exit(1);
    }
    al_set_target_bitmap(nullptr);
    if(!al_save_bitmap(tPath, pBitmap))
    {
        fprintf(stderr, "genimages: cannot write %s\n", tPath);
        exit(1);
    }
    al_destroy_bitmap(pBitmap);
}

// One pose of the bird, facing right in a 32 by 32 cell (scaled by the current transform).
struct KestraPose
{
    float mBob;      // body drop in pixels
    float mWingLift; // -1 wing down, 0 folded, 1 raised
    int mLegPhase;   // 0..3 stride, -1 legs tucked
    bool mBlink;
};

static void DrawKestra(const KestraPose &pPose)
{
    const float tY = pPose.mBob;
    ALLEGRO_COLOR tBody = Rgb(cBody);
    ALLEGRO_COLOR tWing = Rgb(cWing);
    ALLEGRO_COLOR tBeak = Rgb(cBeak);

    // Legs first, so the body covers their tops.
    if(pPose.mLegPhase < 0)
    {
        al_draw_filled_rectangle(12, 24 + tY, 18, 26 + tY, tBeak);
    }
    else
    {
        static const float cStride[4] = {-3.0f, 0.0f, 3.0f, 0.0f};
        float tFront = cStride[pPose.mLegPhase % 4];
        al_draw_filled_rectangle(16 + tFront, 24 + tY, 18 + tFront, 31, tBeak);
        al_draw_filled_rectangle(11 - tFront, 24 + tY, 13 - tFront, 31, tBeak);
    }

    al_draw_filled_triangle(7, 15 + tY, 0, 22 + tY, 7, 23 + tY, tWing);
    al_draw_filled_ellipse(14, 18 + tY, 9, 8, tBody);
    al_draw_filled_ellipse(16, 21 + tY, 5, 4, Rgb(cBelly));
    al_draw_filled_circle(21, 10 + tY, 6, tBody);
    al_draw_filled_triangle(26, 8 + tY, 31, 11 + tY, 26, 13 + tY, tBeak);

    if(pPose.mBlink)
    {
        al_draw_filled_rectangle(21, 9 + tY, 25, 10 + tY, al_map_rgb(16, 16, 16));
    }
    else
    {
        al_draw_filled_rectangle(22, 7 + tY, 25, 10 + tY, al_map_rgb(255, 255, 255));
        al_draw_filled_rectangle(23, 8 + tY, 25, 10 + tY, al_map_rgb(16, 16, 16));
    }

    // The wing hinges at the shoulder and swings up or down from the folded position.
    const float tHingeX = 11.0f;
    const float tHingeY = 15.0f + tY;
    const float tAngle = pPose.mWingLift * 1.1f;
    const float tTipX = tHingeX - 8.0f * cosf(tAngle);
    const float tTipY = tHingeY + 6.0f - 12.0f * sinf(tAngle);
    al_draw_filled_triangle(tHingeX, tHingeY, tHingeX + 8.0f, tHingeY + 3.0f, tTipX, tTipY, tWing);
}

static void DrawKestraFrame(const char *pName, KestraPose pPose)
{
    ALLEGRO_BITMAP *nCanvas = NewCanvas(KESTRA_FRAME_SIZE, KESTRA_FRAME_SIZE);
    DrawKestra(pPose);
    Save(nCanvas, "Generated/Kestra/", pName);
}

static void MakeKestraFrames()
{
    DrawKestraFrame("Idle0.png", {0.0f, 0.0f, 1, false});
    DrawKestraFrame("Idle1.png", {1.0f, -0.2f, 1, false});
    DrawKestraFrame("Blink.png", {0.0f, 0.0f, 1, true});
    for(int i = 0; i < 4; i++)
    {
        char tName[32];
        snprintf(tName, sizeof(tName), "Run%i.png", i);
        DrawKestraFrame(tName, {(i % 2) ? 1.0f : 0.0f, (i % 2) ? 0.4f : -0.3f, i, false});
    }
    DrawKestraFrame("Jump.png", {-1.0f, 1.0f, -1, false});
}

static void MakeIcon()
{
    ALLEGRO_BITMAP *nCanvas = NewCanvas(32, 32);
    DrawKestra({0.0f, 0.6f, 1, false});
    Save(nCanvas, "", "Icon.png");
}

static void MakeLoadingScreen(ALLEGRO_FONT *pFont)
{
    // The engine stretches the background over 480 by 340 and the frames over 96 by 96.
    ALLEGRO_BITMAP *nBackground = NewCanvas(480, 340);
    for(int y = 0; y < 340; y++)
    {
        float t = y / 339.0f;
        al_draw_filled_rectangle(0, y, 480, y + 1, al_map_rgb(20 + (int)(60 * t), 30 + (int)(90 * t), 80 + (int)(120 * t)));
    }
    al_draw_filled_circle(120, 420, 170, al_map_rgb(30, 90, 50));
    al_draw_filled_circle(380, 440, 190, al_map_rgb(40, 110, 60));
    DrawScaledText(pFont, al_map_rgb(10, 20, 50), 100, 84, 6.0f, "KESTRA");
    DrawScaledText(pFont, al_map_rgb(250, 240, 200), 96, 80, 6.0f, "KESTRA");
    DrawScaledText(pFont, al_map_rgb(250, 240, 200), 312, 300, 2.0f, "Loading");
    Save(nBackground, "Loading/", "Background.png");

    // One wing beat over the eight frames.
    for(int i = 0; i < LOADING_FRAMES; i++)
    {
        ALLEGRO_BITMAP *nFrame = NewCanvas(96, 96);
        ALLEGRO_TRANSFORM tScale;
        al_identity_transform(&tScale);
        al_scale_transform(&tScale, 3.0f, 3.0f);
        al_use_transform(&tScale);
        float tPhase = (float)i / LOADING_FRAMES * 2.0f * (float)M_PI;
        DrawKestra({-2.0f * sinf(tPhase), cosf(tPhase), -1, false});
        al_identity_transform(&tScale);
        al_use_transform(&tScale);
        char tName[32];
        snprintf(tName, sizeof(tName), "LoadImage%i.png", i);
        Save(nFrame, "Loading/", tName);
    }
}

// The image font: 128 cells of MENU_GLYPH_WIDTH by MENU_GLYPH_HEIGHT in one row, cell c holding
// character code c, drawn pixel by pixel so the letters stay crisp when the pages scale them.
static void MakeMenuAlphabet()
{
    ALLEGRO_BITMAP *nSheet = NewCanvas(128 * MENU_GLYPH_WIDTH, MENU_GLYPH_HEIGHT);
    for(int g = 0; g < MENU_GLYPH_COUNT; g++)
    {
        const char *rRows = cMenuGlyphs[g];
        const int tLeft = (MENU_GLYPH_FIRST + g) * MENU_GLYPH_WIDTH;
        int tX = 0, tY = 0;
        for(const char *c = rRows; *c && tY < MENU_GLYPH_HEIGHT; c++)
        {
            if(*c == ' ')
            {
                tX = 0;
                tY++;
                continue;
            }
            if(*c == '#' && tX < MENU_GLYPH_WIDTH)
                al_draw_filled_rectangle(tLeft + tX, tY, tLeft + tX + 1, tY + 1, al_map_rgb(255, 255, 255));
            tX++;
        }
    }
    Save(nSheet, "Text/", "MenuAlphabet.png");
}

// Four stripes of Kestra's swappable colours over a strip of colours that must never change.
static void MakePaletteTestCard()
{
    ALLEGRO_BITMAP *nCard = NewCanvas(64, 24);
    const unsigned char *cStripes[4] = {cBody, cWing, cBelly, cBeak};
    for(int i = 0; i < 4; i++) al_draw_filled_rectangle(i * 16, 0, i * 16 + 16, 16, Rgb(cStripes[i]));
    al_draw_filled_rectangle(0, 16, 32, 24, al_map_rgb(255, 255, 255));
    al_draw_filled_rectangle(32, 16, 64, 24, al_map_rgb(16, 16, 16));
    Save(nCard, "Generated/", "PaletteTest.png");
}

int main(int argc, char **argv)
{
    if(!StartArtTool("genimages", argc, argv)) return 1;
    if(!al_init_font_addon())
    {
        fprintf(stderr, "genimages: cannot start Allegro\n");
        return 1;
    }
    ALLEGRO_FONT *rFont = al_create_builtin_font();
    if(!rFont)
    {
        fprintf(stderr, "genimages: cannot make the built-in font\n");
        return 1;
    }

    MakeIcon();
    MakeLoadingScreen(rFont);
    MakeMenuAlphabet();
    MakeKestraFrames();
    MakePaletteTestCard();

    al_destroy_font(rFont);
    return 0;
}

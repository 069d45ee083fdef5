// genshotart: draws the pictures of Kestra's buster: the shots of its three ranks, the sparks
// of a charge, the muzzle flashes and the burst where a shot strikes, the dust her feet kick
// up, and the Permafrost Shield's pane of ice.
//
//     genshotart OUTPUT_DIRECTORY
//
// OUTPUT_DIRECTORY is the same "Data/Graphics/Generated/Player/" that genplayerart fills. The
// engine draws most of these from fixed offsets relative to a box, so the pictures carry
// transparent margins that put their subject where that offset lands.
#include "ArtCanvas.h"
#include <cmath>

#define SPARK_FRAMES 11

// Buster shots. The engine draws each at a fixed offset from the shot's box, so every picture
// puts the shot's centre where that offset says the box centre is.
static void MakeShots()
{
    ALLEGRO_BITMAP *nLemon = NewCanvas(96, 88);
    al_draw_filled_ellipse(88, 80.5f, 7, 5, al_map_rgb(250, 200, 40));
    al_draw_filled_ellipse(89, 79.5f, 4, 3, al_map_rgb(255, 250, 190));
    Outline(nLemon);
    Save(nLemon, "Lemon00");

    for(int i = 0; i < 4; i++)
    {
        const float tWobble = (i % 2) ? 2.0f : 0.0f;
        ALLEGRO_BITMAP *nMedium = NewCanvas(141, 96);
        al_draw_filled_triangle(44, 82, 84, 72 - tWobble, 84, 92 + tWobble, al_map_rgb(60, 200, 120));
        al_draw_filled_ellipse(88, 82, 14 + tWobble, 10, al_map_rgb(90, 240, 150));
        al_draw_filled_ellipse(90, 82, 8, 6, al_map_rgb(230, 255, 230));
        SaveNumbered(nMedium, "BusterMedium", i);

        ALLEGRO_BITMAP *nFull = NewCanvas(161, 120);
        const float tFlame = (i % 2) ? 4.0f : 0.0f;
        al_draw_filled_triangle(40 - tFlame, 69, 90, 45, 90, 93, al_map_rgb(240, 120, 40));
        al_draw_filled_triangle(54, 56 - tFlame, 92, 52, 80, 69, al_map_rgb(250, 170, 60));
        al_draw_filled_triangle(54, 82 + tFlame, 92, 86, 80, 69, al_map_rgb(250, 170, 60));
        al_draw_filled_circle(92, 69, 22, al_map_rgb(255, 150, 60));
        al_draw_filled_circle(94, 69, 15 - (i % 2), al_map_rgb(255, 220, 120));
        al_draw_filled_circle(96, 69, 8, al_map_rgb(255, 255, 235));
        SaveNumbered(nFull, "BusterFull", i);
    }
}

// Charge sparks: motes drawn from six directions into her chest. The engine draws them from
// 45 units left of and 50 above her box's corner, so her chest is (54.5, 70) here.
static void MakeSparks()
{
    const float tCX = 54.5f, tCY = 70.0f;
    static const char cLetters[] = "ABCDEF";
    for(int tBig = 0; tBig < 2; tBig++)
    {
        for(int v = 0; v < 6; v++)
        {
            const float tAngle = (v * 60.0f + 30.0f) * (float)M_PI / 180.0f;
            for(int i = 0; i < SPARK_FRAMES; i++)
            {
                ALLEGRO_BITMAP *nCanvas = NewCanvas(100, 120);
                const float tDistance = (tBig ? 32.0f : 26.0f) * (1.0f - i / (float)SPARK_FRAMES);
                const float tX = tCX + cosf(tAngle) * tDistance, tY = tCY + sinf(tAngle) * tDistance;
                const float tTailX = tCX + cosf(tAngle) * (tDistance + 8), tTailY = tCY + sinf(tAngle) * (tDistance + 8);
                ALLEGRO_COLOR tEdge = tBig ? al_map_rgb(255, 120, 200) : al_map_rgb(120, 230, 255);
                const float tSize = tBig ? 4.0f : 2.5f;
                al_draw_line(tX, tY, tTailX, tTailY, tEdge, tBig ? 2.0f : 1.0f);
                al_draw_filled_triangle(tX - tSize, tY, tX, tY - tSize, tX + tSize, tY, tEdge);
                al_draw_filled_triangle(tX - tSize, tY, tX, tY + tSize, tX + tSize, tY, tEdge);
                al_draw_filled_rectangle(tX - 1, tY - 1, tX + 1, tY + 1, al_map_rgb(255, 255, 255));
                char tStem[64];
                snprintf(tStem, sizeof(tStem), "%s%c", tBig ? "Simmer" : "Charge", cLetters[v]);
                SaveNumbered(nCanvas, tStem, i);
            }
        }
    }
}

// ---------------------------------------------------------------------------------------------
// Small effects that the sprite scripts play once.
static void MakeEffects()
{
    ALLEGRO_COLOR tDust = al_map_rgb(220, 210, 190);
    ALLEGRO_COLOR tShade = al_map_rgb(170, 160, 140);
    for(int i = 0; i < 4; i++)
    {
        const float tGrow = (float)i;
        ALLEGRO_BITMAP *nPuff = NewCanvas(24, 16);
        al_draw_filled_circle(8 - tGrow * 0.5f, 10 - tGrow * 0.5f, 4 + tGrow * 0.6f, i < 3 ? tDust : tShade);
        al_draw_filled_circle(15 + tGrow * 0.5f, 9 - tGrow * 0.7f, 3 + tGrow * 0.5f, tShade);
        SaveNumbered(nPuff, "DustCloud", i);

        ALLEGRO_BITMAP *nSmall = NewCanvas(16, 12);
        al_draw_filled_circle(7, 8 - tGrow, 2 + tGrow * 0.5f, i < 2 ? tDust : tShade);
        SaveNumbered(nSmall, "DustSlide", i);

        // Kick-up: dust thrown back along the ground behind the push-off.
        ALLEGRO_BITMAP *nKick = NewCanvas(100, 64);
        for(int k = 0; k < 4; k++)
        {
            const float tX = 66 - k * 9 - tGrow * 6;
            const float tY = 58 - k * 2 - tGrow * 2;
            al_draw_filled_circle(tX, tY, 3 + k * 0.6f + tGrow * 0.4f, k % 2 ? tShade : tDust);
        }
        al_draw_line(70 - tGrow * 4, 62, 40 - tGrow * 10, 60 - tGrow, tDust, 2.0f);
        SaveNumbered(nKick, "DashKickup", i);
    }
    // Muzzle flashes at the buster's mouth: the medium one centred at (10, 35) of 112 by 64,
    // the full one at (14, 42) of 52 by 72, so mirrored copies land at the other hand.
    for(int i = 0; i < 3; i++)
    {
        const float tR = 6.0f + i * 3.0f;
        ALLEGRO_BITMAP *nMed = NewCanvas(112, 64);
        al_draw_filled_circle(10, 35, tR, al_map_rgb(90, 240, 150));
        al_draw_filled_circle(10, 35, tR * 0.5f, al_map_rgb(230, 255, 230));
        SaveNumbered(nMed, "FlashMedium", i);

        ALLEGRO_BITMAP *nFull = NewCanvas(52, 72);
        al_draw_filled_circle(14, 42, tR + 3, al_map_rgb(255, 150, 60));
        al_draw_filled_triangle(14, 42 - tR, 14 + tR * 2.5f, 42, 14, 42 + tR, al_map_rgb(255, 200, 90));
        al_draw_filled_circle(14, 42, tR * 0.6f, al_map_rgb(255, 255, 235));
        SaveNumbered(nFull, "FlashFull", i);

        // A hit: a burst of rays where a shot struck.
        ALLEGRO_BITMAP *nHit = NewCanvas(32, 32);
        for(int k = 0; k < 8; k++)
        {
            const float tAngle = k * (float)M_PI / 4.0f + i * 0.2f;
            al_draw_line(16 + cosf(tAngle) * (2 + i * 3), 16 + sinf(tAngle) * (2 + i * 3), 16 + cosf(tAngle) * (7 + i * 4),
                         16 + sinf(tAngle) * (7 + i * 4), al_map_rgb(255, 240, 160), 2.0f);
        }
        SaveNumbered(nHit, "ShotHit", i);
    }
}

// The Permafrost Shield: a pane of ice over the shield's 15 by 55 box, drawn 4 units outside
// it on every side, with a glint that slides down between the two frames.
static void MakeShield()
{
    for(int i = 0; i < 2; i++)
    {
        ALLEGRO_BITMAP *nPane = NewCanvas(23, 63);
        al_draw_filled_rounded_rectangle(1, 1, 22, 62, 4, 4, al_map_rgba(150, 210, 255, 170));
        al_draw_filled_rounded_rectangle(4, 4, 19, 59, 2, 2, al_map_rgba(90, 160, 240, 150));
        const float tGlint = 10.0f + 22.0f * (float)i;
        al_draw_filled_triangle(5, tGlint + 10, 18, tGlint, 18, tGlint + 4, al_map_rgba(240, 250, 255, 230));
        al_draw_filled_triangle(5, tGlint + 24, 18, tGlint + 14, 18, tGlint + 16, al_map_rgba(220, 240, 255, 200));
        al_draw_rounded_rectangle(1, 1, 22, 62, 4, 4, al_map_rgb(220, 245, 255), 2);
        SaveNumbered(nPane, "PermafrostShield", i);
    }
}

int main(int argc, char **argv)
{
    if(!StartArtTool("genshotart", argc, argv)) return 1;
    MakeShots();
    MakeSparks();
    MakeShield();
    MakeEffects();
    return 0;
}

// genenemyart: draws the sample game's enemies, one PNG per frame, into one folder.
//
//     genenemyart OUTPUT_DIRECTORY
//
// Every kind faces right; the engine mirrors them. The Crawler's body is drawn in the
// "Enemies" palette's base colours (game/Data/Sources/Enemies.manifest), so its variants can
// swap them exactly; keep the two in step.

#include <cmath>

#include "ArtCanvas.h"

namespace
{
    ALLEGRO_COLOR Hex(unsigned pRGB)
    {
        return al_map_rgb((pRGB >> 16) & 0xFF, (pRGB >> 8) & 0xFF, pRGB & 0xFF);
    }

    // Gloomwing, 32 by 24: a dark bat with its wings up (0) or down (1).
    void MakeGloomwing()
    {
        for(int f = 0; f < 2; f++)
        {
            ALLEGRO_BITMAP *nCanvas = NewCanvas(32, 24);
            float tTip = f == 0 ? 2.0f : 20.0f;
            al_draw_filled_triangle(16, 12, 1, tTip, 8, 14, Hex(0x503070));
            al_draw_filled_triangle(16, 12, 31, tTip, 24, 14, Hex(0x503070));
            al_draw_filled_circle(16, 13, 6, Hex(0x6A4090));
            al_draw_filled_circle(19, 11, 1.5f, Hex(0xF0E040));
            Outline(nCanvas);
            SaveNumbered(nCanvas, "Gloomwing", f);
        }
    }

    // Driftbell, 24 by 24: a jelly whose skirt swings between two frames.
    void MakeDriftbell()
    {
        for(int f = 0; f < 2; f++)
        {
            ALLEGRO_BITMAP *nCanvas = NewCanvas(24, 24);
            al_draw_filled_pieslice(12, 12, 10, ALLEGRO_PI, ALLEGRO_PI, Hex(0x60C0E0));
            for(int i = 0; i < 4; i++)
            {
                float tX = 5.0f + 4.5f * (float)i + (f == 0 ? 0.0f : 1.5f);
                al_draw_line(tX, 12, tX + (f == 0 ? -1.5f : 1.5f), 22, Hex(0xA0E0F0), 2.0f);
            }
            al_draw_filled_circle(9, 8, 1.5f, Hex(0xFFFFFF));
            Outline(nCanvas);
            SaveNumbered(nCanvas, "Driftbell", f);
        }
    }

    // Crawler, 32 by 20, two walking frames; shell 0xA05020 and legs 0x602810 are the palette's.
    void MakeCrawler()
    {
        for(int f = 0; f < 2; f++)
        {
            ALLEGRO_BITMAP *nCanvas = NewCanvas(32, 20);
            for(int i = 0; i < 3; i++)
            {
                float tX = 8.0f + 8.0f * (float)i;
                float tSwing = ((i + f) % 2 == 0) ? -2.0f : 2.0f;
                al_draw_line(tX, 12, tX + tSwing, 19, Hex(0x602810), 2.0f);
            }
            al_draw_filled_ellipse(16, 10, 13, 7, Hex(0xA05020));
            al_draw_filled_circle(27, 9, 2.0f, Hex(0xF0F0F0));
            Outline(nCanvas);
            SaveNumbered(nCanvas, "Crawler", f);
        }
    }

    // Sentinel, 24 by 24: an eye in a steel ring; frame 1 glows before it fires.
    void MakeSentinel()
    {
        for(int f = 0; f < 2; f++)
        {
            ALLEGRO_BITMAP *nCanvas = NewCanvas(24, 24);
            al_draw_filled_circle(12, 12, 11, Hex(0x707888));
            al_draw_filled_circle(12, 12, 7, f == 0 ? Hex(0xD02020) : Hex(0xFFA040));
            al_draw_filled_circle(15, 12, 3, Hex(0x200808));
            Outline(nCanvas);
            SaveNumbered(nCanvas, "Sentinel", f);
        }
    }

    // Hive, 40 by 40: a hanging nest whose mouth opens (frame 1) while it releases a swarmer.
    void MakeHive()
    {
        for(int f = 0; f < 2; f++)
        {
            ALLEGRO_BITMAP *nCanvas = NewCanvas(40, 40);
            al_draw_filled_ellipse(20, 20, 17, 19, Hex(0xC09030));
            for(int i = 0; i < 4; i++) al_draw_line(5, 8.0f + 8.0f * (float)i, 35, 8.0f + 8.0f * (float)i, Hex(0x906820), 2.0f);
            al_draw_filled_circle(20, 30, f == 0 ? 3.0f : 6.0f, Hex(0x301808));
            Outline(nCanvas);
            SaveNumbered(nCanvas, "Hive", f);
        }
    }

    // Warden, 64 by 64: the boss, a horned shell on legs; frame 1 rears up to fire.
    void MakeWarden()
    {
        for(int f = 0; f < 2; f++)
        {
            ALLEGRO_BITMAP *nCanvas = NewCanvas(64, 64);
            const float tLift = f == 0 ? 0.0f : -6.0f;
            al_draw_filled_rectangle(12, 48, 18, 63, Hex(0x404040));
            al_draw_filled_rectangle(44, 48, 50, 63, Hex(0x404040));
            al_draw_filled_ellipse(30, 36 + tLift, 26, 16, Hex(0x385828));
            al_draw_filled_triangle(44, 26 + tLift, 62, 10 + tLift, 52, 32 + tLift, Hex(0xE0D8C0));
            al_draw_filled_circle(48, 34 + tLift, 3, Hex(0xF03020));
            Outline(nCanvas);
            SaveNumbered(nCanvas, "Warden", f);
        }
    }

    // A shot that must read against any backdrop: a white-hot core in a saturated ring with a
    // dark rim, drawn in a picture one unit wider than its box on every side. Frame 1 swells
    // the core, so the shot pulses as it flies.
    void MakeShot(const char *pStem, int pBox, unsigned pRing, unsigned pHalo)
    {
        for(int f = 0; f < 2; f++)
        {
            const int tSize = pBox + 2;
            const float tMid = (float)tSize / 2.0f;
            ALLEGRO_BITMAP *nCanvas = NewCanvas(tSize, tSize);
            al_draw_filled_circle(tMid, tMid, (float)pBox / 2.0f, Hex(pRing));
            al_draw_filled_circle(tMid, tMid, (float)pBox / 2.0f - 2.0f, Hex(pHalo));
            al_draw_filled_circle(tMid, tMid, f == 0 ? 1.5f : 2.5f, Hex(0xFFFFFF));
            Outline(nCanvas);
            SaveNumbered(nCanvas, pStem, f);
        }
    }
}

int main(int argc, char **argv)
{
    if(!StartArtTool("genenemyart", argc, argv)) return 1;
    MakeGloomwing();
    MakeDriftbell();
    MakeCrawler();
    MakeSentinel();
    MakeHive();
    MakeWarden();
    MakeShot("EyeShot", 12, 0xFF3020, 0xFFC060);
    MakeShot("WardenShot", 14, 0xC020F0, 0xFF90FF);
    return 0;
}

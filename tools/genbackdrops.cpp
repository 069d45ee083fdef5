// genbackdrops: draws the parallax layers behind the sample maps, one PNG each, with flat
// colours: for FirstSteps a sky gradient, a band of far hills and a band of near bushes; for
// the Hollow a cave wall, hanging stalactites and a band of boulders; for ForgeGate a furnace
// glow, a row of smokestacks and a band of girders; and the see-through water that fills the
// pits. Each repeats across without a seam, since the background packs and the water sprites
// tile them.
//
//     build/genbackdrops game/Data/Graphics/Generated/Backdrops
#include "ArtCanvas.h"

#include <cmath>

namespace
{
    const float cPi = 3.14159265f;

    // Top to bottom from deep blue to pale blue, with two soft cloud bands.
    void DrawSky()
    {
        const int tW = 64;
        const int tH = 512;
        ALLEGRO_BITMAP *nSky = NewCanvas(tW, tH);
        for(int y = 0; y < tH; y++)
        {
            const float tF = (float)y / (float)(tH - 1);
            for(int x = 0; x < tW; x++)
            {
                float tCloud = sinf((float)x / (float)tW * 2.0f * cPi) * 6.0f;
                bool tBand = fabsf((float)y - 120.0f - tCloud) < 5.0f || fabsf((float)y - 230.0f + tCloud) < 4.0f;
                unsigned char tR = (unsigned char)(60 + 120 * tF);
                unsigned char tG = (unsigned char)(110 + 100 * tF);
                unsigned char tB = (unsigned char)(200 + 50 * tF);
                if(tBand)
                {
                    tR = (unsigned char)(tR + (255 - tR) / 2);
                    tG = (unsigned char)(tG + (255 - tG) / 2);
                    tB = (unsigned char)(tB + (255 - tB) / 2);
                }
                al_put_pixel(x, y, al_map_rgb(tR, tG, tB));
            }
        }
        Save(nSky, "Sky");
    }

    // Rolling hills whose outline is a sum of whole sine periods, so the picture tiles.
    void DrawBand(const char *pName, int pW, int pH, float pBase, float pSwing, int pPeriods,
                  ALLEGRO_COLOR pTop, ALLEGRO_COLOR pBody)
    {
        ALLEGRO_BITMAP *nBand = NewCanvas(pW, pH);
        for(int x = 0; x < pW; x++)
        {
            const float tA = (float)x / (float)pW * 2.0f * cPi;
            const float tRidge = pBase - pSwing * (0.6f * sinf(tA * (float)pPeriods) + 0.4f * sinf(tA * (float)(pPeriods * 3)));
            for(int y = 0; y < pH; y++)
            {
                if((float)y < tRidge) continue;
                al_put_pixel(x, y, (float)y < tRidge + 4.0f ? pTop : pBody);
            }
        }
        Save(nBand, pName);
    }

    // A still backdrop from pTop at the top to pBottom at the bottom, with faint level strata
    // every pStrata rows (none when 0), waving by whole periods so the picture tiles across.
    void DrawGradient(const char *pName, const unsigned char *pTop, const unsigned char *pBottom, int pStrata)
    {
        const int tW = 64;
        const int tH = 512;
        ALLEGRO_BITMAP *nWall = NewCanvas(tW, tH);
        for(int y = 0; y < tH; y++)
        {
            const float tF = (float)y / (float)(tH - 1);
            for(int x = 0; x < tW; x++)
            {
                float tShade = 1.0f;
                if(pStrata > 0)
                {
                    const float tWave = 3.0f * sinf((float)x / (float)tW * 2.0f * cPi);
                    if(((int)((float)y + tWave) % pStrata) < 3) tShade = 1.25f;
                }
                unsigned char tRGB[3];
                for(int c = 0; c < 3; c++)
                {
                    float tValue = ((float)pTop[c] + ((float)pBottom[c] - (float)pTop[c]) * tF) * tShade;
                    tRGB[c] = (unsigned char)(tValue > 255.0f ? 255.0f : tValue);
                }
                al_put_pixel(x, y, al_map_rgb(tRGB[0], tRGB[1], tRGB[2]));
            }
        }
        Save(nWall, pName);
    }

    // Stalactites hanging from the top edge: eight teeth of set lengths across the width, each
    // with a paler tip; the longest reach down into the view of a player on the floor.
    void DrawStalactites()
    {
        const int tW = 256;
        const int tH = 224;
        const float cLengths[8] = {170, 60, 120, 36, 206, 90, 50, 140};
        ALLEGRO_BITMAP *nRow = NewCanvas(tW, tH);
        for(int x = 0; x < tW; x++)
        {
            const int tTooth = x / 32;
            const float tFromCentre = fabsf((float)(x % 32) - 15.5f) / 16.0f;
            const float tLength = 8.0f + cLengths[tTooth] * (1.0f - tFromCentre);
            for(int y = 0; y < tH && (float)y < tLength; y++)
            {
                const bool tTip = (float)y > tLength - 6.0f;
                al_put_pixel(x, y, tTip ? al_map_rgb(120, 104, 128) : al_map_rgb(62, 52, 70));
            }
        }
        Save(nRow, "CaveStalactites");
    }

    // Smokestacks rising from the bottom edge, with lit windows; clear above them.
    void DrawSmokestacks()
    {
        const int tW = 256;
        const int tH = 192;
        struct Stack { int mX, mWidth, mTop; };
        const Stack cStacks[5] = {{8, 26, 40}, {52, 40, 110}, {110, 18, 20}, {150, 56, 96}, {218, 24, 56}};
        ALLEGRO_BITMAP *nRow = NewCanvas(tW, tH);
        for(const Stack &rStack : cStacks)
        {
            al_draw_filled_rectangle(rStack.mX, rStack.mTop, rStack.mX + rStack.mWidth, tH, al_map_rgb(46, 30, 34));
            al_draw_filled_rectangle(rStack.mX - 2, rStack.mTop, rStack.mX + rStack.mWidth + 2, rStack.mTop + 6,
                                     al_map_rgb(70, 44, 44));
            for(int y = rStack.mTop + 16; y + 6 < tH; y += 22)
            {
                for(int x = rStack.mX + 4; x + 5 <= rStack.mX + rStack.mWidth - 3; x += 10)
                    al_draw_filled_rectangle(x, y, x + 5, y + 6, al_map_rgb(250, 170, 60));
            }
        }
        Save(nRow, "ForgeStacks");
    }

    // A truss: a top and a bottom beam with posts every 32 columns and crossed braces between
    // them; clear above the top beam.
    void DrawGirders()
    {
        const int tW = 128;
        const int tH = 128;
        const int tTop = 64;
        const int tBottom = 120;
        ALLEGRO_COLOR tSteel = al_map_rgb(96, 70, 60);
        ALLEGRO_COLOR tEdge = al_map_rgb(150, 104, 80);
        ALLEGRO_BITMAP *nTruss = NewCanvas(tW, tH);
        for(int x = 0; x < tW; x++)
        {
            const int tBay = x % 32;
            const float tRise = (float)tBay / 32.0f * (float)(tBottom - tTop);
            for(int y = tTop; y < tH; y++)
            {
                const bool tBeam = y < tTop + 6 || (y >= tBottom && y < tBottom + 6);
                const bool tPost = tBay < 4 && y < tBottom + 6;
                const bool tBrace = y < tBottom && (fabsf((float)(y - tTop) - tRise) < 2.5f ||
                                                    fabsf((float)(tBottom - y) - tRise) < 2.5f);
                if(y == tTop || y == tBottom) al_put_pixel(x, y, tEdge);
                else if(tBeam || tPost || tBrace) al_put_pixel(x, y, tSteel);
            }
        }
        Save(nTruss, "ForgeGirders");
    }

    // Translucent water with a pale crest along the top; the body below repeats downward.
    void DrawWater()
    {
        const int tW = 32;
        const int tH = 64;
        ALLEGRO_BITMAP *nWater = NewCanvas(tW, tH);
        for(int x = 0; x < tW; x++)
        {
            const int tCrest = 2 + (int)(1.5f * sinf((float)x / (float)tW * 2.0f * cPi));
            for(int y = 0; y < tH; y++)
            {
                if(y < tCrest) continue;
                if(y < tCrest + 2) al_put_pixel(x, y, al_map_rgba(200, 230, 255, 220));
                else al_put_pixel(x, y, al_map_rgba(40, 110, 200, 150));
            }
        }
        Save(nWater, "Water");
    }
}

int main(int argc, char **argv)
{
    if(!StartArtTool("genbackdrops", argc, argv)) return 1;
    DrawSky();
    DrawBand("Hills", 256, 128, 60.0f, 30.0f, 2, al_map_rgb(150, 170, 200), al_map_rgb(110, 130, 170));
    DrawWater();
    const unsigned char cCaveTop[3] = {44, 36, 54}, cCaveBottom[3] = {18, 14, 24};
    DrawGradient("CaveWall", cCaveTop, cCaveBottom, 48);
    DrawStalactites();
    DrawBand("CaveBoulders", 128, 128, 84.0f, 18.0f, 2, al_map_rgb(92, 80, 100), al_map_rgb(50, 42, 60));
    const unsigned char cForgeTop[3] = {26, 18, 24}, cForgeBottom[3] = {150, 60, 24};
    DrawGradient("ForgeGlow", cForgeTop, cForgeBottom, 0);
    DrawSmokestacks();
    DrawGirders();
    // Written last: the build takes it as the mark of a finished run.
    DrawBand("Bushes", 128, 128, 70.0f, 14.0f, 3, al_map_rgb(70, 140, 80), al_map_rgb(40, 100, 60));
    return 0;
}

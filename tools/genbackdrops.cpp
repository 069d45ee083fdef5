// genbackdrops: draws the parallax layers behind the sample maps, one PNG each, with flat
// colours: a sky gradient, a band of far hills and a band of near bushes, and the see-through
// water that fills the pits. Each repeats across without a seam, since the background packs
// and the water sprites tile them.
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
    DrawBand("Bushes", 128, 128, 70.0f, 14.0f, 3, al_map_rgb(70, 140, 80), al_map_rgb(40, 100, 60));
    return 0;
}

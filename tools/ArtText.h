// ArtText.h: text for the art tools that draw words into their pictures.
#pragma once
#include <allegro5/allegro.h>
#include <allegro5/allegro_font.h>

// Text in the built-in 8 by 8 font, scaled by whole multiples so it stays crisp.
static void DrawScaledText(ALLEGRO_FONT *pFont, ALLEGRO_COLOR pColour, float pX, float pY, float pScale, const char *pText)
{
    ALLEGRO_TRANSFORM tOld;
    al_copy_transform(&tOld, al_get_current_transform());
    ALLEGRO_TRANSFORM tScale;
    al_identity_transform(&tScale);
    al_scale_transform(&tScale, pScale, pScale);
    al_translate_transform(&tScale, pX, pY);
    al_use_transform(&tScale);
    al_draw_text(pFont, pColour, 0, 0, 0, pText);
    al_use_transform(&tOld);
}

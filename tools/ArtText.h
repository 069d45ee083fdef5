// ArtText.h: text for the art tools that draw words into their pictures, and the scaled
// placement it shares with their small drawings.
#pragma once
#include <allegro5/allegro.h>
#include <allegro5/allegro_font.h>

// Scales by pScale about the origin, then moves to (pX, pY); the transform in use before is
// kept in sOld for the caller to restore.
static void UseScaledPlacement(float pX, float pY, float pScale, ALLEGRO_TRANSFORM *sOld)
{
    al_copy_transform(sOld, al_get_current_transform());
    ALLEGRO_TRANSFORM tPlace;
    al_identity_transform(&tPlace);
    al_scale_transform(&tPlace, pScale, pScale);
    al_translate_transform(&tPlace, pX, pY);
    al_use_transform(&tPlace);
}

// Text in the built-in 8 by 8 font, scaled by whole multiples so it stays crisp.
static void DrawScaledText(ALLEGRO_FONT *pFont, ALLEGRO_COLOR pColour, float pX, float pY, float pScale, const char *pText)
{
    ALLEGRO_TRANSFORM tOld;
    UseScaledPlacement(pX, pY, pScale, &tOld);
    al_draw_text(pFont, pColour, 0, 0, 0, pText);
    al_use_transform(&tOld);
}

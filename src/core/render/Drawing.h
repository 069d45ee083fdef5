#pragma once

#include <cstdint>

// A colour of four channels, each 0.0 to 1.0. Passed by value to every drawing call.
struct ColorRGBA
{
    float r;
    float g;
    float b;
    float a;

    static ColorRGBA FromBytes(uint8_t pR, uint8_t pG, uint8_t pB);
    static ColorRGBA FromBytesRGBA(uint8_t pR, uint8_t pG, uint8_t pB, uint8_t pA);
    static ColorRGBA FromFloats(float pR, float pG, float pB);
    void Set(float pR, float pG, float pB, float pA);
};

// Immediate-mode 2D drawing over OpenGL 1.x, inside the y-down 2D view. Regions start at the
// texture's origin and are measured in texture pixels. Flags of the textured quad: 0 plain,
// odd with bit 1 clear mirrored left to right, exactly 2 mirrored top to bottom, bits 0 and 1
// both mirrored both ways (the last two always show the whole texture); other values draw
// nothing. Every call needs a current GL context.
void DrawTexturedQuad(uint32_t pTexture, ColorRGBA pColor, float pCentreX, float pCentreY,
                      float pAngle, float pScaleX, float pScaleY, float pRegionW, float pRegionH,
                      float pX, float pY, int32_t pFlags);

void DrawTextureRegion(uint32_t pTexture, ColorRGBA pColor, float pRegionW, float pRegionH,
                       float pX, float pY, int32_t pFlags);
void DrawTexture(uint32_t pTexture, ColorRGBA pColor, float pX, float pY, int32_t pFlags);
void DrawTextureWhite(uint32_t pTexture, float pX, float pY, int32_t pFlags);
void DrawTextureRegionWhite(uint32_t pTexture, float pRegionW, float pRegionH, float pX, float pY,
                            int32_t pFlags);
void DrawTextureRegionScaled(uint32_t pTexture, ColorRGBA pColor, float pRegionW, float pRegionH,
                             float pX, float pY, float pDestW, float pDestH, int32_t pFlags);
void DrawTextureRegionScaledWhite(uint32_t pTexture, float pRegionW, float pRegionH, float pX,
                                  float pY, float pDestW, float pDestH, int32_t pFlags);
void DrawTextureRotatedScaled(uint32_t pTexture, ColorRGBA pColor, float pCentreX, float pCentreY,
                              float pX, float pY, float pScaleX, float pScaleY, float pAngle,
                              int32_t pFlags);
void DrawTextureRotated(uint32_t pTexture, ColorRGBA pColor, float pCentreX, float pCentreY,
                        float pX, float pY, float pAngle, int32_t pFlags);
void DrawTextureRotatedWhite(uint32_t pTexture, float pCentreX, float pCentreY, float pX, float pY,
                             float pAngle, int32_t pFlags);
void DrawTextureRotatedScaledWhite(uint32_t pTexture, float pCentreX, float pCentreY, float pX,
                                   float pY, float pScaleX, float pScaleY, float pAngle,
                                   int32_t pFlags);
// The whole texture on the unit square of the current matrix.
void DrawTextureUnitList(uint32_t pTexture, ColorRGBA pColor);

// One quad of whatever texture is bound, in the current matrix, with no colour set: the
// texture point (s1, t1) lands on the corner (x1, y1) and (s2, t2) on (x2, y2); swapping either
// pair mirrors the picture. pZ is the quad's depth.
void DrawBoundTextureRect(float pX1, float pY1, float pX2, float pY2, float pS1, float pT1, float pS2, float pT2,
                          float pZ = 0.0f);
// The same for any four corners: x, y pairs in drawing order, each with its texture point.
void DrawBoundTextureQuad(const float pCorners[8], const float pTexCoords[8], float pZ = 0.0f);

// Untextured shapes. Each leaves texturing enabled and the current colour opaque white.
void DrawRectOutline(float pX1, float pY1, float pX2, float pY2, ColorRGBA pColor, float pLineWidth);
void DrawRectFilled(float pX1, float pY1, float pX2, float pY2, ColorRGBA pColor);
// The list holds the vertex count (a float, truncated) followed by that many x, y pairs.
void DrawPolygon(const float *pList, ColorRGBA pColor, float pScale);
// The whole logical view filled with the colour, blended over what is drawn by its alpha: the
// fades and shades of the screens and transitions. Blending stays on; like the shapes above,
// it leaves texturing on and the colour white.
void ShadeView(ColorRGBA pColor);

void ApplyColor(ColorRGBA pColor);
void ApplyColorWithAlpha(ColorRGBA pColor, float pAlpha);

// Draw-colour table: 256 entries (zero until set). A selected entry tints Bitmap::Draw, either
// until cleared or for the next draw only. Indices outside 0..255 are ignored.
void SetDrawColorIndex(int32_t pIndex);
void SetDrawColorIndexOnce(int32_t pIndex);
void ClearDrawColor();
void SetDrawColorEntryRGB(int32_t pIndex, uint8_t pR, uint8_t pG, uint8_t pB);
void SetDrawColorEntryRGBA(int32_t pIndex, uint8_t pR, uint8_t pG, uint8_t pB, uint8_t pA);
void SetDrawColorEntry(int32_t pIndex, ColorRGBA pColor);
// The selected entry's colour; false (and white) when none is selected. A one-shot selection
// is used up by this call.
bool TakeDrawColor(ColorRGBA &sColor);

// Width and height of level 0 of a texture, read from GL (binds it).
void GetTextureLevelSize(uint32_t pTexture, int32_t &sWidth, int32_t &sHeight);

// The unit-quad display lists are built lazily in the current context. They must be released
// while that context still lives: at shutdown before the display is destroyed (and by anything
// that destroys one context and goes on drawing in another).
void ReleaseDrawingLists();

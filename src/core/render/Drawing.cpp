#include "core/render/Drawing.h"

#include <GL/gl.h>

#include "core/Application.h"
#include "core/render/GLState.h"

ColorRGBA ColorRGBA::FromBytes(uint8_t pR, uint8_t pG, uint8_t pB)
{
    return FromBytesRGBA(pR, pG, pB, 255);
}

ColorRGBA ColorRGBA::FromBytesRGBA(uint8_t pR, uint8_t pG, uint8_t pB, uint8_t pA)
{
    ColorRGBA tColor;
    tColor.r = pR / 255.0f;
    tColor.g = pG / 255.0f;
    tColor.b = pB / 255.0f;
    tColor.a = pA / 255.0f;
    return tColor;
}

ColorRGBA ColorRGBA::FromFloats(float pR, float pG, float pB)
{
    ColorRGBA tColor;
    tColor.Set(pR, pG, pB, 1.0f);
    return tColor;
}

void ColorRGBA::Set(float pR, float pG, float pB, float pA)
{
    r = pR;
    g = pG;
    b = pB;
    a = pA;
}

namespace
{
    const ColorRGBA cWhite = {1.0f, 1.0f, 1.0f, 1.0f};

    // Texture coordinates at the unit square's corners (0,0) and (1,1), one row per
    // orientation, indexed by the flip mode: plain, left-right, top-bottom, both. Row 0 of the
    // texture (t = 0) is the picture's top row, so the plain list puts t = 0 at the top edge.
    const float cUnitQuadCoords[4][4] =
    {
        {0.0f, 0.0f, 1.0f, 1.0f},
        {1.0f, 0.0f, 0.0f, 1.0f},
        {0.0f, 1.0f, 1.0f, 0.0f},
        {1.0f, 1.0f, 0.0f, 0.0f},
    };

    // One set for the back end, one for DrawTextureUnitList; 0 = not built.
    GLuint xQuadListBase = 0;
    GLuint xUnitListBase = 0;

    ColorRGBA xDrawColors[256];
    int32_t xDrawColorIndex = -1;
    uint8_t xDrawColorOnce = 0;

    GLuint BuildQuadLists()
    {
        GLuint tBase = glGenLists(4);
        if(tBase == 0) return 0;
        for(int i = 0; i < 4; i ++)
        {
            const float *rC = cUnitQuadCoords[i];
            glNewList(tBase + i, GL_COMPILE);
            DrawBoundTextureRect(0.0f, 0.0f, 1.0f, 1.0f, rC[0], rC[1], rC[2], rC[3]);
            glEndList();
        }
        return tBase;
    }

    void FinishShape()
    {
        glEnable(GL_TEXTURE_2D);
        glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    }
}

void GetTextureLevelSize(uint32_t pTexture, int32_t &sWidth, int32_t &sHeight)
{
    GLint tWidth = 0, tHeight = 0;
    glBindTexture(GL_TEXTURE_2D, pTexture);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &tWidth);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &tHeight);
    sWidth = tWidth;
    sHeight = tHeight;
}

void DrawTexturedQuad(uint32_t pTexture, ColorRGBA pColor, float pCentreX, float pCentreY,
                      float pAngle, float pScaleX, float pScaleY, float pRegionW, float pRegionH,
                      float pX, float pY, int32_t pFlags)
{
    if(pScaleX == 0.0f || pScaleY == 0.0f || pTexture == 0) return;

    int32_t tW = 0, tH = 0;
    GetTextureLevelSize(pTexture, tW, tH);
    // A texture without contents has no size to divide by.
    if(tW < 1 || tH < 1) return;

    if(xQuadListBase == 0) xQuadListBase = BuildQuadLists();

    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glBindTexture(GL_TEXTURE_2D, pTexture);
    glTranslatef(pX, pY, 0.0f);
    glScalef(tW * pScaleX, tH * pScaleY, 1.0f);

    if(pAngle != 0.0f && pRegionW != 0.0f && pRegionH != 0.0f)
    {
        float tCX = pCentreX / pRegionW;
        float tCY = pCentreY / pRegionH;
        glTranslatef(tCX, tCY, 0.0f);
        glRotatef(pAngle, 0.0f, 0.0f, 1.0f);
        glTranslatef(-tCX, -tCY, 0.0f);
    }

    glColor4f(pColor.r, pColor.g, pColor.b, pColor.a);

    float tU = pRegionW / tW;
    float tV = pRegionH / tH;
    bool tBit0 = (pFlags & 1) != 0;
    bool tBit1 = (pFlags & 2) != 0;
    if(pFlags == 0 || (tBit0 && !tBit1))
    {
        float tLeft = tBit0 ? tU : 0.0f;
        float tRight = tBit0 ? 0.0f : tU;
        DrawBoundTextureRect(0.0f, 0.0f, tU, tV, tLeft, 0.0f, tRight, tV);
    }
    else if(tBit0 && tBit1)
    {
        if(xQuadListBase) glCallList(xQuadListBase + 3);
    }
    else if(pFlags == 2)
    {
        if(xQuadListBase) glCallList(xQuadListBase + 2);
    }

    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
}

void DrawTextureRegion(uint32_t pTexture, ColorRGBA pColor, float pRegionW, float pRegionH,
                       float pX, float pY, int32_t pFlags)
{
    DrawTexturedQuad(pTexture, pColor, 0.0f, 0.0f, 0.0f, 1.0f, 1.0f, pRegionW, pRegionH, pX, pY, pFlags);
}

void DrawTexture(uint32_t pTexture, ColorRGBA pColor, float pX, float pY, int32_t pFlags)
{
    if(pTexture == 0) return;
    int32_t tW = 0, tH = 0;
    GetTextureLevelSize(pTexture, tW, tH);
    DrawTextureRegion(pTexture, pColor, (float)tW, (float)tH, pX, pY, pFlags);
}

void DrawTextureWhite(uint32_t pTexture, float pX, float pY, int32_t pFlags)
{
    DrawTexture(pTexture, cWhite, pX, pY, pFlags);
}

void DrawTextureRegionWhite(uint32_t pTexture, float pRegionW, float pRegionH, float pX, float pY,
                            int32_t pFlags)
{
    DrawTextureRegion(pTexture, cWhite, pRegionW, pRegionH, pX, pY, pFlags);
}

void DrawTextureRegionScaled(uint32_t pTexture, ColorRGBA pColor, float pRegionW, float pRegionH,
                             float pX, float pY, float pDestW, float pDestH, int32_t pFlags)
{
    // An empty region has no scale; drawing it would divide by zero.
    if(pRegionW == 0.0f || pRegionH == 0.0f) return;
    DrawTexturedQuad(pTexture, pColor, 0.0f, 0.0f, 0.0f, pDestW / pRegionW, pDestH / pRegionH,
                     pRegionW, pRegionH, pX, pY, pFlags);
}

void DrawTextureRegionScaledWhite(uint32_t pTexture, float pRegionW, float pRegionH, float pX,
                                  float pY, float pDestW, float pDestH, int32_t pFlags)
{
    DrawTextureRegionScaled(pTexture, cWhite, pRegionW, pRegionH, pX, pY, pDestW, pDestH, pFlags);
}

void DrawTextureRotatedScaled(uint32_t pTexture, ColorRGBA pColor, float pCentreX, float pCentreY,
                              float pX, float pY, float pScaleX, float pScaleY, float pAngle,
                              int32_t pFlags)
{
    if(pTexture == 0) return;
    int32_t tW = 0, tH = 0;
    GetTextureLevelSize(pTexture, tW, tH);
    DrawTexturedQuad(pTexture, pColor, pCentreX, pCentreY, pAngle, pScaleX, pScaleY,
                     (float)tW, (float)tH, pX, pY, pFlags);
}

void DrawTextureRotated(uint32_t pTexture, ColorRGBA pColor, float pCentreX, float pCentreY,
                        float pX, float pY, float pAngle, int32_t pFlags)
{
    DrawTextureRotatedScaled(pTexture, pColor, pCentreX, pCentreY, pX, pY, 1.0f, 1.0f, pAngle, pFlags);
}

void DrawTextureRotatedWhite(uint32_t pTexture, float pCentreX, float pCentreY, float pX, float pY,
                             float pAngle, int32_t pFlags)
{
    DrawTextureRotated(pTexture, cWhite, pCentreX, pCentreY, pX, pY, pAngle, pFlags);
}

void DrawTextureRotatedScaledWhite(uint32_t pTexture, float pCentreX, float pCentreY, float pX,
                                   float pY, float pScaleX, float pScaleY, float pAngle,
                                   int32_t pFlags)
{
    DrawTextureRotatedScaled(pTexture, cWhite, pCentreX, pCentreY, pX, pY, pScaleX, pScaleY, pAngle, pFlags);
}

void DrawTextureUnitList(uint32_t pTexture, ColorRGBA pColor)
{
    if(xUnitListBase == 0) xUnitListBase = BuildQuadLists();
    glBindTexture(GL_TEXTURE_2D, pTexture);
    glColor4f(pColor.r, pColor.g, pColor.b, pColor.a);
    if(xUnitListBase) glCallList(xUnitListBase);
}

void DrawBoundTextureRect(float pX1, float pY1, float pX2, float pY2, float pS1, float pT1, float pS2, float pT2,
                          float pZ)
{
    const float tCorners[8] = {pX1, pY1, pX2, pY1, pX2, pY2, pX1, pY2};
    const float tTexCoords[8] = {pS1, pT1, pS2, pT1, pS2, pT2, pS1, pT2};
    DrawBoundTextureQuad(tCorners, tTexCoords, pZ);
}

void DrawBoundTextureQuad(const float pCorners[8], const float pTexCoords[8], float pZ)
{
    glBegin(GL_QUADS);
    for(int32_t i = 0; i < 8; i += 2)
    {
        glTexCoord2f(pTexCoords[i], pTexCoords[i + 1]);
        glVertex3f(pCorners[i], pCorners[i + 1], pZ);
    }
    glEnd();
}

void DrawRectOutline(float pX1, float pY1, float pX2, float pY2, ColorRGBA pColor, float pLineWidth)
{
    glDisable(GL_TEXTURE_2D);
    glColor4f(pColor.r, pColor.g, pColor.b, pColor.a);
    glLineWidth(pLineWidth);
    glBegin(GL_LINE_LOOP);
        glVertex2f(pX1, pY1);
        glVertex2f(pX2, pY1);
        glVertex2f(pX2, pY2);
        glVertex2f(pX1, pY2);
    glEnd();
    FinishShape();
}

void DrawRectFilled(float pX1, float pY1, float pX2, float pY2, ColorRGBA pColor)
{
    glDisable(GL_TEXTURE_2D);
    glColor4f(pColor.r, pColor.g, pColor.b, pColor.a);
    glBegin(GL_QUADS);
        glVertex2f(pX1, pY1);
        glVertex2f(pX2, pY1);
        glVertex2f(pX2, pY2);
        glVertex2f(pX1, pY2);
    glEnd();
    FinishShape();
}

void DrawPolygon(const float *pList, ColorRGBA pColor, float pScale)
{
    if(!pList) return;
    int32_t tCount = (pList[0] >= 0.0f && pList[0] < 65536.0f) ? (int32_t)pList[0] : 0;
    glDisable(GL_TEXTURE_2D);
    glColor4f(pColor.r, pColor.g, pColor.b, pColor.a);
    glBegin(GL_POLYGON);
    for(int32_t i = 0; i < tCount; i ++)
    {
        glVertex2f(pList[1 + i * 2] * pScale, pList[2 + i * 2] * pScale);
    }
    glEnd();
    FinishShape();
}

void ShadeView(ColorRGBA pColor)
{
    Application *rApp = GetApplication();
    GLState::BlendByAlpha();
    DrawRectFilled(0.0f, 0.0f, (float)rApp->mVirtualWidth, (float)rApp->mVirtualHeight, pColor);
}

void ApplyColor(ColorRGBA pColor)
{
    glColor4f(pColor.r, pColor.g, pColor.b, pColor.a);
}

void ApplyColorWithAlpha(ColorRGBA pColor, float pAlpha)
{
    glColor4f(pColor.r, pColor.g, pColor.b, pAlpha);
}

void SetDrawColorIndex(int32_t pIndex)
{
    if(pIndex < 0 || pIndex > 255) return;
    xDrawColorIndex = pIndex;
    xDrawColorOnce = 0;
}

void SetDrawColorIndexOnce(int32_t pIndex)
{
    if(pIndex < 0 || pIndex > 255) return;
    xDrawColorIndex = pIndex;
    xDrawColorOnce = 1;
}

void ClearDrawColor()
{
    xDrawColorIndex = -1;
    xDrawColorOnce = 0;
}

void SetDrawColorEntryRGB(int32_t pIndex, uint8_t pR, uint8_t pG, uint8_t pB)
{
    SetDrawColorEntry(pIndex, ColorRGBA::FromBytes(pR, pG, pB));
}

void SetDrawColorEntryRGBA(int32_t pIndex, uint8_t pR, uint8_t pG, uint8_t pB, uint8_t pA)
{
    SetDrawColorEntry(pIndex, ColorRGBA::FromBytesRGBA(pR, pG, pB, pA));
}

void SetDrawColorEntry(int32_t pIndex, ColorRGBA pColor)
{
    if(pIndex < 0 || pIndex > 255) return;
    xDrawColors[pIndex] = pColor;
}

bool TakeDrawColor(ColorRGBA &sColor)
{
    if(xDrawColorIndex < 0)
    {
        sColor = cWhite;
        return false;
    }
    sColor = xDrawColors[xDrawColorIndex];
    if(xDrawColorOnce) ClearDrawColor();
    return true;
}

void ReleaseDrawingLists()
{
    if(xQuadListBase) glDeleteLists(xQuadListBase, 4);
    if(xUnitListBase) glDeleteLists(xUnitListBase, 4);
    xQuadListBase = 0;
    xUnitListBase = 0;
}

#include "core/render/Font.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <GL/gl.h>

#include "core/data/DataLibrary.h"
#include "core/data/LibraryHolder.h"
#include "core/render/Bitmap.h"
#include "core/render/Drawing.h"
#include "core/render/GLState.h"

namespace
{
    FT_Library gFreeTypeLibrary = nullptr;
    Font *rCurrentFont = nullptr;

    // The current font is usually a library entry, which a script may purge.
    void ReleaseCurrentFont(void *pOwner, void *pObject)
    {
        if(rCurrentFont == pObject) rCurrentFont = nullptr;
    }
    LibraryHolder xCurrentFontHolder(nullptr, ReleaseCurrentFont);

    // Bytes past 127 have never drawn (they were read as negative codes that no face maps),
    // and text relies on that to hide stray high bytes.
    const FontGlyph *DrawableGlyph(const FontGlyph *pTable, char pChar)
    {
        unsigned char tCode = (unsigned char)pChar;
        if (!pTable || tCode >= 128 || !pTable[tCode].mPresent) return nullptr;
        return &pTable[tCode];
    }
}

bool StartFreeType()
{
    if (gFreeTypeLibrary) return true;
    if (FT_Init_FreeType(&gFreeTypeLibrary) != 0)
    {
        gFreeTypeLibrary = nullptr;
        fprintf(stderr, "FreeType could not be started.\n");
        return false;
    }
    return true;
}

FT_Library GetFreeTypeLibrary()
{
    return gFreeTypeLibrary;
}

int32_t LayOutGlyphAtlas(FontGlyph *pGlyphs, int32_t pCount, int32_t pAtlasWidth)
{
    if (!pGlyphs || pCount < 1) return 0;
    int32_t tX = 0;
    int32_t tY = 0;
    int32_t tRowHeight = 0;
    for (int32_t i = 0; i < pCount; i++)
    {
        FontGlyph &rGlyph = pGlyphs[i];
        if (!rGlyph.mPresent) continue;
        int32_t tWidth = (int32_t)rGlyph.mWidth;
        int32_t tHeight = (int32_t)rGlyph.mHeight;
        rGlyph.mAtlasX = (float)tX;
        rGlyph.mAtlasY = (float)tY;
        if (tHeight > tRowHeight) tRowHeight = tHeight;
        tX += tWidth;
        if (tX > pAtlasWidth)
        {
            tX = tWidth;
            tY += tRowHeight;
            tRowHeight = tHeight;
            rGlyph.mAtlasX = 0.0f;
            rGlyph.mAtlasY = (float)tY;
        }
    }
    return tY + tRowHeight;
}

void CoverageToTexel(uint8_t pCoverage, uint8_t *pTexel)
{
    if (!pTexel) return;
    pTexel[0] = pCoverage;
    pTexel[1] = pCoverage;
    pTexel[2] = pCoverage;
    pTexel[3] = pCoverage >= 192 ? pCoverage : 0;
}

uint8_t *RenderGlyphAtlas(FT_Face pFace, FontGlyph *pTable, int32_t *pHeight)
{
    if (pHeight) *pHeight = 0;
    if (!pFace || !pTable || !pHeight) return nullptr;
    memset(pTable, 0, sizeof(FontGlyph) * FONT_GLYPH_COUNT);

    // The slot holds one rendered glyph at a time, so metrics are taken first and the
    // pictures copied in a second pass once the layout is known.
    for (int32_t c = 0; c < FONT_GLYPH_COUNT; c++)
    {
        FT_UInt tIndex = FT_Get_Char_Index(pFace, (FT_ULong)c);
        if (tIndex == 0 || FT_Load_Glyph(pFace, tIndex, FT_LOAD_RENDER) != 0) continue;
        FT_GlyphSlot rSlot = pFace->glyph;
        FontGlyph &rGlyph = pTable[c];
        rGlyph.mPresent = 1;
        rGlyph.mWidth = (float)rSlot->bitmap.width;
        rGlyph.mHeight = (float)rSlot->bitmap.rows;
        rGlyph.mLeft = (int32_t)(rSlot->metrics.horiBearingX >> 6);
        rGlyph.mBearingY = (int32_t)(rSlot->metrics.horiBearingY >> 6);
        rGlyph.mAdvance = (int32_t)(rSlot->advance.x >> 6);
    }

    int32_t tHeight = LayOutGlyphAtlas(pTable, FONT_GLYPH_COUNT, FONT_ATLAS_WIDTH);
    if (tHeight < 1) return nullptr;
    size_t tBytes = (size_t)FONT_ATLAS_WIDTH * (size_t)tHeight * 4;
    uint8_t *tBuffer = (uint8_t *)calloc(tBytes, 1);
    if (!tBuffer) return nullptr;

    for (int32_t c = 0; c < FONT_GLYPH_COUNT; c++)
    {
        FontGlyph &rGlyph = pTable[c];
        if (!rGlyph.mPresent) continue;
        FT_UInt tIndex = FT_Get_Char_Index(pFace, (FT_ULong)c);
        if (FT_Load_Glyph(pFace, tIndex, FT_LOAD_RENDER) != 0) continue;
        const FT_Bitmap &rBitmap = pFace->glyph->bitmap;
        int32_t tRows = (int32_t)rBitmap.rows;
        int32_t tCols = (int32_t)rBitmap.width;
        if (rBitmap.pixel_mode != FT_PIXEL_MODE_GRAY || !rBitmap.buffer || rBitmap.pitch < tCols) continue;
        int32_t tAtlasX = (int32_t)rGlyph.mAtlasX;
        int32_t tAtlasY = (int32_t)rGlyph.mAtlasY;
        for (int32_t r = 0; r < tRows && tAtlasY + r < tHeight; r++)
        {
            const uint8_t *rRow = rBitmap.buffer + (size_t)r * (size_t)rBitmap.pitch;
            for (int32_t k = 0; k < tCols && tAtlasX + k < FONT_ATLAS_WIDTH; k++)
            {
                size_t tPixel = ((size_t)(tAtlasY + r) * FONT_ATLAS_WIDTH + (size_t)(tAtlasX + k)) * 4;
                CoverageToTexel(rRow[k], &tBuffer[tPixel]);
            }
        }
    }
    *pHeight = tHeight;
    return tBuffer;
}

Font::Font()
    : mLoaded(0), mIsFreeType(0), mFace(nullptr), mCacheGlyphs(1), mCacheTexture(0), mGlyphs(nullptr),
      mAtlasWidth((float)FONT_ATLAS_WIDTH), mAtlasHeight(0.0f), mOffsetX(0), mOffsetY(0),
      mScaleX(1.0f), mScaleY(1.0f), mImageFont(0), mImage(nullptr)
{
}

Font::Font(const char *pImagePath) : Font()
{
    mImageFont = 1;
    mImage = Bitmap::LoadFromFile(pImagePath);
    // A missing picture still makes a loaded font: its cells are zero wide, so it draws
    // nothing visible, and text laid out with it keeps one pixel per character.
    mLoaded = 1;
    if (!mImage || mImage->GetTexture() == 0)
        fprintf(stderr, "Font: Failed to load image font %s\n", pImagePath ? pImagePath : "NULL");
}

Font *Font::LoadFreeType(const char *pFontPath)
{
    Font *tFont = new Font();
    tFont->mIsFreeType = 1;
    FT_Library rLibrary = GetFreeTypeLibrary();
    if (!rLibrary || !pFontPath || FT_New_Face(rLibrary, pFontPath, 0, &tFont->mFace) != 0)
    {
        tFont->mFace = nullptr;
        fprintf(stderr, "Font: Failed to open font %s\n", pFontPath ? pFontPath : "NULL");
        return tFont;
    }
    FT_Set_Pixel_Sizes(tFont->mFace, 0, FONT_PIXEL_HEIGHT);
    fprintf(stderr, "Booted font with %li glyphs\n", (long)tFont->mFace->num_glyphs);
    tFont->mLoaded = 1;
    if (tFont->mCacheGlyphs) tFont->BuildGlyphCache();
    return tFont;
}

Font::~Font()
{
    delete mImage;
    if (mCacheGlyphs && mGlyphs)
    {
        if (mCacheTexture) glDeleteTextures(1, &mCacheTexture);
        for (int32_t i = 0; i < FONT_GLYPH_COUNT; i++)
        {
            if (mGlyphs[i].mDisplayList) glDeleteLists(mGlyphs[i].mDisplayList, 1);
        }
        free(mGlyphs);
    }
    if (mFace) FT_Done_Face(mFace);
}

void Font::BuildGlyphCache()
{
    mGlyphs = (FontGlyph *)calloc(FONT_GLYPH_COUNT, sizeof(FontGlyph));
    if (!mGlyphs) return;
    glEnable(GL_TEXTURE_2D);

    int32_t tHeight = 0;
    uint8_t *tBuffer = RenderGlyphAtlas(mFace, mGlyphs, &tHeight);
    if (!tBuffer) return;
    mAtlasWidth = (float)FONT_ATLAS_WIDTH;
    mAtlasHeight = (float)tHeight;

    glGenTextures(1, &mCacheTexture);
    glBindTexture(GL_TEXTURE_2D, mCacheTexture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, FONT_ATLAS_WIDTH, tHeight, 0, GL_RGBA, GL_UNSIGNED_BYTE, tBuffer);
    free(tBuffer);
    fprintf(stderr, "Font precaching has been completed!\n");

    for (int32_t i = 0; i < FONT_GLYPH_COUNT; i++)
    {
        if (mGlyphs[i].mPresent) CompileGlyphList(mGlyphs[i], GL_COMPILE);
    }
}

void Font::EmitGlyphQuad(const FontGlyph &pGlyph, bool pSwapT)
{
    float tLeft = (float)pGlyph.mLeft;
    float tTop = (float)pGlyph.mBearingY - pGlyph.mHeight;
    float tRight = tLeft + pGlyph.mWidth;
    float tBottom = tTop + pGlyph.mHeight;
    float tS0 = pGlyph.mAtlasX / mAtlasWidth;
    float tS1 = (pGlyph.mAtlasX + pGlyph.mWidth) / mAtlasWidth;
    float tT0 = mAtlasHeight > 0.0f ? pGlyph.mAtlasY / mAtlasHeight : 0.0f;
    float tT1 = mAtlasHeight > 0.0f ? (pGlyph.mAtlasY + pGlyph.mHeight) / mAtlasHeight : 0.0f;
    if (pSwapT)
    {
        float tSwap = tT0;
        tT0 = tT1;
        tT1 = tSwap;
    }
    // Corners left top, left bottom, right bottom, right top: the winding decides which pixels on
    // a glyph's edges are lit, and the letters are laid out for this one.
    const float tCorners[8] = {tLeft, tTop, tLeft, tBottom, tRight, tBottom, tRight, tTop};
    const float tTexCoords[8] = {tS0, tT1, tS0, tT0, tS1, tT0, tS1, tT1};
    DrawBoundTextureQuad(tCorners, tTexCoords);
}

void Font::CompileGlyphList(FontGlyph &pGlyph, uint32_t pMode)
{
    GLuint tList = glGenLists(1);
    if (tList == 0)
    {
        if (pMode == GL_COMPILE_AND_EXECUTE) EmitGlyphQuad(pGlyph, false);
        return;
    }
    glNewList(tList, pMode);
    EmitGlyphQuad(pGlyph, false);
    glEndList();
    pGlyph.mDisplayList = tList;
}

int32_t Font::GetTextWidth(const char *pText) const
{
    if (!mLoaded) return 1;
    if (!pText) pText = "NULL";
    if (!mImageFont || !mImage) return 0;
    return (int32_t)strlen(pText) * (mImage->GetWidth() / FONT_IMAGE_CELLS + 1);
}

int32_t GlyphAdvanceWidth(const FontGlyph *pTable, const char *pText)
{
    if (!pTable || !pText) return 0;
    int32_t tWidth = 0;
    for (const char *c = pText; *c; c++)
    {
        const FontGlyph *rGlyph = DrawableGlyph(pTable, *c);
        if (rGlyph) tWidth += rGlyph->mAdvance;
    }
    return tWidth;
}

int32_t Font::GetDrawnWidth(const char *pText) const
{
    if (!mLoaded) return 0;
    if (mImageFont) return GetTextWidth(pText);
    return GlyphAdvanceWidth(mGlyphs, pText ? pText : "NULL");
}

void Font::BindCacheTexture()
{
    if (mCacheGlyphs && mCacheTexture) glBindTexture(GL_TEXTURE_2D, mCacheTexture);
}

const FontGlyph *Font::GetGlyph(uint8_t pCode) const
{
    if (!mGlyphs || !mGlyphs[pCode].mPresent) return nullptr;
    return &mGlyphs[pCode];
}

void Font::DrawTextAt(int32_t pX, int32_t pY, const char *pText)
{
    DrawText(pX, pY, 0, pText);
}

void Font::DrawText(int32_t pX, int32_t pY, int32_t pFlags, const char *pText)
{
    if (!mLoaded) return;
    if (!pText) pText = "NULL";

    // The matrix is always saved so that a scaled draw, even one at the origin, leaves the
    // caller's matrix exactly as it was.
    bool tPushAll = pX != 0 || pY != 0 || pFlags != 0 || mOffsetX != 0 || mOffsetY != 0;
    if (tPushAll)
    {
        GLState::PushAll();
    }
    else
    {
        glMatrixMode(GL_MODELVIEW);
        glPushMatrix();
    }

    if (pFlags & FONT_FLAG_CENTRE) pX = pX - GetTextWidth(pText) / 2;
    glTranslatef((float)(mOffsetX + pX), (float)(mOffsetY + pY), 0.0f);
    if (mScaleX != 1.0f)
        glScalef(mScaleX, mScaleX, 1.0f);
    else if (mScaleY != 1.0f)
        glScalef(mScaleY, mScaleY, 1.0f);

    if (mImageFont)
        DrawImageCells(pText);
    else
        DrawGlyphs(pFlags, pText);
    mScaleX = 1.0f;

    if (tPushAll)
    {
        GLState::PopAll();
    }
    else
    {
        glMatrixMode(GL_MODELVIEW);
        glPopMatrix();
    }
}

void Font::DrawImageCells(const char *pText)
{
    if (!mImage) return;
    float tCellW = (float)(mImage->GetWidth() / FONT_IMAGE_CELLS);
    float tCellH = (float)mImage->GetHeight();
    for (const char *c = pText; *c; c++)
    {
        float tCode = (float)(unsigned char)*c;
        glTranslatef(tCellW + 1.0f, 0.0f, 0.0f);
        mImage->Bind();
        glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
        // The cells keep the cached glyphs' winding, for the same reason.
        const float tCorners[8] = {0.0f, tCellH, 0.0f, 0.0f, tCellW, 0.0f, tCellW, tCellH};
        const float tTexCoords[8] = {tCode / 128.0f, 1.0f, tCode / 128.0f, 0.0f, (tCode + 1.0f) / 128.0f, 0.0f,
                                     (tCode + 1.0f) / 128.0f, 1.0f};
        DrawBoundTextureQuad(tCorners, tTexCoords);
    }
}

void Font::DrawGlyphs(int32_t pFlags, const char *pText)
{
    if (!mGlyphs) return;
    glEnable(GL_TEXTURE_2D);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    glBindTexture(GL_TEXTURE_2D, mCacheTexture);
    bool tSwapT = (pFlags & FONT_FLAG_SWAP_T) != 0;
    for (const char *c = pText; *c; c++)
    {
        unsigned char tCode = (unsigned char)*c;
        if (!DrawableGlyph(mGlyphs, *c)) continue;
        FontGlyph &rGlyph = mGlyphs[tCode];
        // The glyph's list holds the unswapped coordinates, so a swapped glyph is drawn
        // directly rather than baked into the list.
        if (tSwapT)
            EmitGlyphQuad(rGlyph, true);
        else if (rGlyph.mDisplayList == 0)
            CompileGlyphList(rGlyph, GL_COMPILE_AND_EXECUTE);
        else
            glCallList(rGlyph.mDisplayList);
        glTranslatef((float)rGlyph.mAdvance, 0.0f, 0.0f);
    }
}

void Font::DrawTextList(const char *pText)
{
    if (!mIsFreeType || !mCacheGlyphs || !mFace || !mGlyphs || !pText) return;
    int32_t tTotal = 0;
    for (const char *c = pText; *c; c++)
    {
        unsigned char tCode = (unsigned char)*c;
        if (!DrawableGlyph(mGlyphs, *c)) continue;
        FontGlyph &rGlyph = mGlyphs[tCode];
        if (rGlyph.mDisplayList == 0) CompileGlyphList(rGlyph, GL_COMPILE);
        if (rGlyph.mDisplayList) glCallList(rGlyph.mDisplayList);
        glTranslatef((float)rGlyph.mAdvance, 0.0f, 0.0f);
        tTotal += rGlyph.mAdvance;
    }
    glTranslatef((float)-tTotal, 0.0f, 0.0f);
}

void SetCurrentFont(Font *pFont)
{
    rCurrentFont = xCurrentFontHolder.Hold(pFont);
}

void SetCurrentFontByPath(const char *pPath)
{
    DataLibrary *rLibrary = DataLibrary::Fetch();
    SetCurrentFont(rLibrary ? (Font *)rLibrary->GetEntryOfKind(pPath, DL_KIND_FONT) : nullptr);
}

Font *GetCurrentFont()
{
    return rCurrentFont;
}

void DeleteFont(void *pFont)
{
    delete (Font *)pFont;
}

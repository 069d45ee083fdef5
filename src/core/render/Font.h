#pragma once

#include <cstdint>

#include <ft2build.h>
#include FT_FREETYPE_H

class Bitmap;

// Draw flags of Font::DrawText.
#define FONT_FLAG_CENTRE 8   // x is the centre of the text (by GetTextWidth)
#define FONT_FLAG_SWAP_T 32  // top and bottom texture coordinates of each glyph swapped

#define FONT_PIXEL_HEIGHT 60
#define FONT_ATLAS_WIDTH 1024
#define FONT_GLYPH_COUNT 256
#define FONT_IMAGE_CELLS 128

// One character code of a FreeType font: where its picture sits in the cache atlas, its
// display list, and the metrics kept from rendering so drawing needs no FreeType calls.
struct FontGlyph
{
    float mAtlasX;
    float mAtlasY;
    float mWidth;
    float mHeight;
    uint32_t mDisplayList; // 0 until compiled
    uint8_t mPresent;      // the face has a glyph for the code
    int32_t mLeft;         // horizontal bearing, pixels
    int32_t mBearingY;     // vertical bearing, pixels
    int32_t mAdvance;      // horizontal advance, pixels
};

// Places glyphs left to right in rows of the atlas width; a glyph that would make its row
// wider starts the next one. Only present glyphs take room. Returns the atlas height.
int32_t LayOutGlyphAtlas(FontGlyph *pGlyphs, int32_t pCount, int32_t pAtlasWidth);

// How far the glyphs of the text advance the pen, in pixels: the drawn width of a line of a
// FreeType font. Codes without a drawable glyph take no room.
int32_t GlyphAdvanceWidth(const FontGlyph *pTable, const char *pText);

// A coverage value as an atlas texel: grey of that value, opaque only from 192 up, so the
// soft edge of a glyph is cut away by blending.
void CoverageToTexel(uint8_t pCoverage, uint8_t *pTexel);

// Renders codes 0..255 of the face, lays them out and returns a new RGBA atlas (malloc) of
// FONT_ATLAS_WIDTH by *pHeight pixels, filling the table. Null (height 0) when the face has
// none of the codes or memory runs out. Needs no GL.
uint8_t *RenderGlyphAtlas(FT_Face pFace, FontGlyph *pTable, int32_t *pHeight);

// The process's one FreeType library handle. Start is idempotent; false when FreeType
// cannot start.
bool StartFreeType();
FT_Library GetFreeTypeLibrary();

// Text drawn with OpenGL, from an image font (one picture of 128 cells in a row) or a
// FreeType font rendered once at FONT_PIXEL_HEIGHT into a cached atlas with one display list
// per glyph. Drawing needs a GL context and draws in the current matrix; the matrix is as it
// was afterwards. Scale x lasts for one draw, scale y until it is set again.
class Font
{
public:
    Font();
    // Image font from a picture file.
    explicit Font(const char *pImagePath);
    ~Font();

    // FreeType font from a font file, using the process's library (StartFreeType first).
    // Never null; the font is not loaded when the face cannot be made.
    static Font *LoadFreeType(const char *pFontPath);

    bool IsLoaded() const { return mLoaded != 0; }
    bool IsFreeType() const { return mIsFreeType != 0; }
    bool IsImageFont() const { return mImageFont != 0; }

    void SetScaleX(float pScale) { mScaleX = pScale; }
    void SetScaleY(float pScale) { mScaleY = pScale; }
    float GetScaleX() const { return mScaleX; }
    float GetScaleY() const { return mScaleY; }
    void GetOffset(int16_t &sX, int16_t &sY) const { sX = mOffsetX; sY = mOffsetY; }
    void SetOffset(int16_t pX, int16_t pY) { mOffsetX = pX; mOffsetY = pY; }

    // 1 when not loaded; 0 for a FreeType font (so centring does not move it); for an image
    // font each character takes a cell and one pixel.
    int32_t GetTextWidth(const char *pText) const;
    // The width the text takes when drawn, in the font's pixels (before any scale): the glyph
    // advances of a FreeType font, GetTextWidth of an image font, 0 when not loaded.
    int32_t GetDrawnWidth(const char *pText) const;

    void BindCacheTexture();
    uint32_t GetCacheTexture() const { return mCacheTexture; }
    float GetAtlasHeight() const { return mAtlasHeight; }
    const FontGlyph *GetGlyph(uint8_t pCode) const;

    void DrawText(int32_t pX, int32_t pY, int32_t pFlags, const char *pText);
    void DrawTextAt(int32_t pX, int32_t pY, const char *pText);
    // Glyph lists only, for callers compiling text into their own display lists; the caller
    // binds the cache texture first.
    void DrawTextList(const char *pText);

private:
    void BuildGlyphCache();
    void DrawImageCells(const char *pText);
    void DrawGlyphs(int32_t pFlags, const char *pText);
    void CompileGlyphList(FontGlyph &pGlyph, uint32_t pMode);
    void EmitGlyphQuad(const FontGlyph &pGlyph, bool pSwapT);

    uint8_t mLoaded;
    uint8_t mIsFreeType;
    FT_Face mFace;
    uint8_t mCacheGlyphs;
    uint32_t mCacheTexture;
    FontGlyph *mGlyphs;
    float mAtlasWidth;
    float mAtlasHeight;
    int16_t mOffsetX;
    int16_t mOffsetY;
    float mScaleX;
    float mScaleY;
    uint8_t mImageFont;
    Bitmap *mImage;

    Font(const Font &) = delete;
    Font &operator=(const Font &) = delete;
};

// The process-wide current font.
void SetCurrentFont(Font *pFont);
void SetCurrentFontByPath(const char *pPath);
Font *GetCurrentFont();

// Deleter for lists and library entries that own a Font; null is ignored.
void DeleteFont(void *pFont);

#pragma once

#include <cstdint>

#include "core/render/Drawing.h"

// Row order, engine-wide: the first row of every pixel buffer handed to an upload is the
// picture's TOP row, exactly as image files and our packed IMAGE lumps store it. An upload puts
// that row at texture coordinate t = 0, and every drawing call (Bitmap::Draw, DrawUnitQuad, the
// textured-quad back end) puts t = 0 at the quad's top edge (the smaller y of the 2D view).
// Code that builds its own textured quads must do the same: t = 0 at the top.

// The six GL settings applied to every upload, process-wide. Scripts change the filters and
// wraps through "ALB_SetTextureProperty".
struct TextureDefaults
{
    uint32_t mMinFilter;
    uint32_t mMagFilter;
    uint32_t mBaseLevel;
    uint32_t mMaxLevel;
    uint32_t mWrapS;
    uint32_t mWrapT;

    static TextureDefaults &Get();
};

// One frame record of an image lump: two i32, packed into a Bitmap frame rectangle.
struct ImageFrameRecord
{
    int32_t mA;
    int32_t mB;
};

// A decoded IMAGE lump on its way to the upload. Made with malloc by the lump reader and
// released by its user through ImageRecord::Free. It carries its own texture settings, copied
// from the defaults when it was made, so a later change of the defaults does not reach it.
struct ImageRecord
{
    uint8_t *mData;
    int32_t mOffsetX;
    int32_t mOffsetY;
    int32_t mWidth;
    int32_t mHeight;
    int32_t mFullWidth;
    int32_t mFullHeight;
    uint32_t mExistingTexture;
    uint8_t mCompressionFlag;
    int32_t mDataSize;
    uint8_t mFrameCount;
    ImageFrameRecord *mFrames;
    TextureDefaults mSettings;

    void TakeTextureDefaults();

    // Frees the data, the frame records and the record; nothing for null.
    static void Free(ImageRecord *pRecord);
};

// A frame rectangle of a Bitmap: x1, y1, x2, y2.
struct BitmapFrameRect
{
    uint16_t mX1;
    uint16_t mY1;
    uint16_t mX2;
    uint16_t mY2;
};

// One picture: a GL texture plus where its trimmed contents sit inside the full image, and an
// optional table of frame rectangles. Needs a GL context for everything that touches the
// texture; the numbers alone can be used without one.
class Bitmap
{
public:
    Bitmap();
    ~Bitmap();

    // Factories. Each returns a Bitmap even when the picture could not be made: it then has
    // texture 0, size 0 and draws nothing.
    static Bitmap *FromTexture(uint32_t pTexture);
    static Bitmap *LoadFromFile(const char *pPath);
    static Bitmap *FromRGBA(const uint8_t *pData, int32_t pWidth, int32_t pHeight);

    // Deleter for owning lists and the data library; nothing for null.
    static void DeleteThis(void *pBitmap);

    int32_t GetWidth() const { return mWidth; }
    int32_t GetHeight() const { return mHeight; }
    int32_t GetTextureWidth() const { return mFullWidth; }
    int32_t GetTextureHeight() const { return mFullHeight; }
    int32_t GetOffsetX() const { return mOffsetX; }
    int32_t GetOffsetY() const { return mOffsetY; }
    uint32_t GetTexture() const { return mTexture; }
    uint8_t GetFlag() const { return mFlag; }
    uint8_t OwnsTexture() const { return mOwnsTexture; }

    void SetSize(int32_t pWidth, int32_t pHeight);
    void SetOffset(int32_t pX, int32_t pY);
    void SetTextureSize(int32_t pWidth, int32_t pHeight);
    void SetFlag(uint8_t pFlag) { mFlag = pFlag; }
    // Gives up the current texture (deleted when owned) and takes the new one. Handing back
    // the texture it already holds changes nothing, so it never keeps a deleted name.
    void SetTexture(uint32_t pTexture, uint8_t pOwns);
    void Bind() const;

    // Frame rectangles start zeroed; out-of-range indices are ignored (read as zero).
    void SetFrameCount(int32_t pCount);
    void SetFrameRect(int32_t pIndex, uint16_t pX1, uint16_t pY1, uint16_t pX2, uint16_t pY2);
    void SetFrameRectPacked(int32_t pIndex, int32_t pA, int32_t pB);
    int32_t GetFrameCount() const { return mFrameCount; }
    BitmapFrameRect GetFrameRect(int32_t pIndex) const;

    // Takes the sizes, offsets and frame rectangles of a decoded lump image; not its pixels.
    void TakeImageLayout(const ImageRecord *pRecord);

    // Where Draw puts the texture for a flip mode: 0 plain, 1 mirrored left to right, 2 top to
    // bottom, 3 both; the mirrored modes keep the trimmed picture in the mirrored full image.
    void GetDrawPosition(int32_t pX, int32_t pY, int32_t pFlip, int32_t &sX, int32_t &sY) const;

    // Drawing (current GL context, 2D view).
    void Draw(int32_t pX, int32_t pY, int32_t pFlip) const;
    void DrawAtOrigin() const;
    void DrawAt(int32_t pX, int32_t pY) const;
    void DrawTinted(ColorRGBA pColor, int32_t pX, int32_t pY, int32_t pFlip) const;
    void DrawRegion(int32_t pRegionW, int32_t pRegionH, int32_t pX, int32_t pY, int32_t pFlip) const;
    void DrawRegionScaled(int32_t pRegionW, int32_t pRegionH, int32_t pX, int32_t pY,
                          int32_t pDestW, int32_t pDestH, int32_t pFlip) const;
    void DrawRotated(int32_t pCentreX, int32_t pCentreY, int32_t pX, int32_t pY, float pAngle,
                     int32_t pFlip) const;
    void DrawRotatedCentred(int32_t pX, int32_t pY, float pAngle, int32_t pFlip) const;
    void DrawUnitQuad() const;
    void ApplyOffset() const;
    void RemoveOffset() const;
    void RotateAboutCentre(float pAngle, float pDirection) const;

private:
    int32_t mOffsetX;
    int32_t mOffsetY;
    int32_t mWidth;
    int32_t mHeight;
    int32_t mFullWidth;
    int32_t mFullHeight;
    uint8_t mFlag;
    uint8_t mOwnsTexture;
    uint32_t mTexture;
    int32_t mFrameCount;
    BitmapFrameRect *mFrameRects;

    Bitmap(const Bitmap &) = delete;
    Bitmap &operator=(const Bitmap &) = delete;
};

// Called once by every upload (the loading screen redraws from it) unless suppressed.
typedef void (*LoadInterruptFunc)();
void SetLoadInterruptHook(LoadInterruptFunc pHook);
LoadInterruptFunc GetLoadInterruptHook();
void SetLoadInterruptSuppressed(uint8_t pFlag);
uint8_t GetLoadInterruptSuppressed();

// The one upload path of the engine. Compression flags: 1 RGBA bytes, 3..6 S3TC DXT1 RGB,
// DXT1 RGBA, DXT3, DXT5, 7 one RGBA pixel (size forced to 1 by 1); 0 and 2 upload nothing;
// anything else is warned about. Gives the texture name or 0. A new name is made only for an
// upload that will happen. The size is not compared with the picture here (internal callers
// pass a nominal 4); data that comes from files goes through UploadImageData.
uint32_t UploadTexture(const void *pData, int32_t pWidth, int32_t pHeight, uint32_t pExisting,
                       int32_t pFlag, int32_t pDataSize);
uint32_t UploadRGBA(const void *pData, int32_t pWidth, int32_t pHeight);
uint32_t UploadSolidPixel(const uint8_t pRGBA[4], uint32_t pExisting);

// Bytes a picture of this size needs under a compression flag; 0 for flags that upload
// nothing or sizes below 1. 64-bit so that no file-given size can wrap.
int64_t RequiredImageDataSize(int32_t pWidth, int32_t pHeight, int32_t pFlag);

// Upload of raw pixel data read from a file or lump: refused (0, nothing made) when the data is
// shorter than the picture needs, so GL never reads past the buffer.
uint32_t UploadImageData(const uint8_t *pData, int32_t pWidth, int32_t pHeight, uint32_t pExisting,
                         int32_t pFlag, int32_t pDataSize);

// Uploads a record with its own texture settings and puts the defaults back afterwards.
uint32_t UploadImageRecord(const ImageRecord *pRecord);

// Loads an image file through Allegro (image addon initialised) as RGBA and uploads it.
uint32_t LoadTextureFromFile(const char *pPath);

int32_t HighestSetBit(int32_t pValue);

struct lua_State;
void RegisterBitmapLua(lua_State *L);

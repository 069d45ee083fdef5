#include "core/render/Bitmap.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <allegro5/allegro.h>
#include <GL/gl.h>
#include <GL/glext.h>

#include "core/render/GLEntryPoints.h"
#include "core/render/PngPrefetch.h"

// ---- Process-wide upload state ---------------------------------------------------------------

TextureDefaults &TextureDefaults::Get()
{
    static TextureDefaults sDefaults = {GL_NEAREST, GL_NEAREST, 0, 0, GL_CLAMP_TO_BORDER, GL_CLAMP_TO_BORDER};
    return sDefaults;
}

namespace
{
    LoadInterruptFunc xLoadInterruptHook = nullptr;
    uint8_t xLoadInterruptSuppressed = 0;
}

void SetLoadInterruptHook(LoadInterruptFunc pHook) { xLoadInterruptHook = pHook; }
LoadInterruptFunc GetLoadInterruptHook() { return xLoadInterruptHook; }
void SetLoadInterruptSuppressed(uint8_t pFlag) { xLoadInterruptSuppressed = pFlag; }
uint8_t GetLoadInterruptSuppressed() { return xLoadInterruptSuppressed; }

// ---- ImageRecord -----------------------------------------------------------------------------

void ImageRecord::TakeTextureDefaults()
{
    mSettings = TextureDefaults::Get();
}

void ImageRecord::Free(ImageRecord *pRecord)
{
    if(!pRecord) return;
    free(pRecord->mData);
    free(pRecord->mFrames);
    free(pRecord);
}

// ---- Bitmap ----------------------------------------------------------------------------------

Bitmap::Bitmap()
    : mOffsetX(0), mOffsetY(0), mWidth(0), mHeight(0), mFullWidth(0), mFullHeight(0),
      mFlag(0), mOwnsTexture(1), mTexture(0), mFrameCount(0), mFrameRects(nullptr)
{
}

Bitmap::~Bitmap()
{
    if(mOwnsTexture && mTexture != 0)
    {
        GLuint tName = mTexture;
        glDeleteTextures(1, &tName);
    }
    free(mFrameRects);
}

Bitmap *Bitmap::FromTexture(uint32_t pTexture)
{
    Bitmap *nBitmap = new Bitmap();
    nBitmap->mTexture = pTexture;
    nBitmap->mOwnsTexture = 1;
    if(pTexture != 0)
    {
        int32_t tW = 0, tH = 0;
        GetTextureLevelSize(pTexture, tW, tH);
        nBitmap->SetSize(tW, tH);
        nBitmap->SetTextureSize(tW, tH);
    }
    return nBitmap;
}

Bitmap *Bitmap::LoadFromFile(const char *pPath)
{
    return FromTexture(LoadTextureFromFile(pPath));
}

Bitmap *Bitmap::FromRGBA(const uint8_t *pData, int32_t pWidth, int32_t pHeight)
{
    return FromTexture(UploadRGBA(pData, pWidth, pHeight));
}

void Bitmap::DeleteThis(void *pBitmap)
{
    delete (Bitmap *)pBitmap;
}

void Bitmap::SetSize(int32_t pWidth, int32_t pHeight)
{
    mWidth = pWidth;
    mHeight = pHeight;
}

void Bitmap::SetOffset(int32_t pX, int32_t pY)
{
    mOffsetX = pX;
    mOffsetY = pY;
}

void Bitmap::SetTextureSize(int32_t pWidth, int32_t pHeight)
{
    mFullWidth = pWidth;
    mFullHeight = pHeight;
}

void Bitmap::SetTexture(uint32_t pTexture, uint8_t pOwns)
{
    if(pTexture != 0 && pTexture == mTexture)
    {
        mOwnsTexture = pOwns;
        return;
    }
    if(mOwnsTexture && mTexture != 0)
    {
        GLuint tName = mTexture;
        glDeleteTextures(1, &tName);
        mTexture = 0;
        mOwnsTexture = 0;
    }
    if(pTexture != 0)
    {
        mTexture = pTexture;
        mOwnsTexture = pOwns;
    }
}

void Bitmap::Bind() const
{
    glBindTexture(GL_TEXTURE_2D, mTexture);
}

void Bitmap::SetFrameCount(int32_t pCount)
{
    free(mFrameRects);
    mFrameRects = nullptr;
    mFrameCount = 0;
    if(pCount < 1) return;
    mFrameRects = (BitmapFrameRect *)calloc((size_t)pCount, sizeof(BitmapFrameRect));
    if(mFrameRects) mFrameCount = pCount;
}

void Bitmap::SetFrameRect(int32_t pIndex, uint16_t pX1, uint16_t pY1, uint16_t pX2, uint16_t pY2)
{
    if(pIndex < 0 || pIndex >= mFrameCount) return;
    mFrameRects[pIndex].mX1 = pX1;
    mFrameRects[pIndex].mY1 = pY1;
    mFrameRects[pIndex].mX2 = pX2;
    mFrameRects[pIndex].mY2 = pY2;
}

void Bitmap::SetFrameRectPacked(int32_t pIndex, int32_t pA, int32_t pB)
{
    uint32_t tA = (uint32_t)pA;
    uint32_t tB = (uint32_t)pB;
    SetFrameRect(pIndex, (uint16_t)(tA & 0xFFFF), (uint16_t)(tA >> 16), (uint16_t)(tB & 0xFFFF), (uint16_t)(tB >> 16));
}

BitmapFrameRect Bitmap::GetFrameRect(int32_t pIndex) const
{
    BitmapFrameRect tRect = {0, 0, 0, 0};
    if(pIndex < 0 || pIndex >= mFrameCount) return tRect;
    return mFrameRects[pIndex];
}

void Bitmap::TakeImageLayout(const ImageRecord *pRecord)
{
    if(!pRecord) return;
    SetOffset(pRecord->mOffsetX, pRecord->mOffsetY);
    SetTextureSize(pRecord->mFullWidth, pRecord->mFullHeight);
    SetSize(pRecord->mWidth, pRecord->mHeight);
    SetFrameCount(pRecord->mFrames ? pRecord->mFrameCount : 0);
    for(int32_t i = 0; i < GetFrameCount(); i++) SetFrameRectPacked(i, pRecord->mFrames[i].mA, pRecord->mFrames[i].mB);
}

// ---- Bitmap drawing --------------------------------------------------------------------------

namespace
{
    int32_t SaturateToInt32(int64_t pValue)
    {
        if(pValue > INT32_MAX) return INT32_MAX;
        if(pValue < INT32_MIN) return INT32_MIN;
        return (int32_t)pValue;
    }
}

void Bitmap::GetDrawPosition(int32_t pX, int32_t pY, int32_t pFlip, int32_t &sX, int32_t &sY) const
{
    // Sizes and offsets may come from a lump file as any 32-bit value: the sums are taken wide
    // and held to the int range instead of wrapping.
    int64_t tMirrorX = (int64_t)mFullWidth - mWidth - mOffsetX;
    int64_t tMirrorY = (int64_t)mFullHeight - mHeight - mOffsetY;
    int64_t tX = pX;
    int64_t tY = pY;
    if(pFlip == 0)      { tX += mOffsetX; tY += mOffsetY; }
    else if(pFlip == 1) { tX += tMirrorX; tY += mOffsetY; }
    else if(pFlip == 2) { tX += mOffsetX; tY += tMirrorY; }
    else if(pFlip == 3) { tX += tMirrorX; tY += tMirrorY; }
    sX = SaturateToInt32(tX);
    sY = SaturateToInt32(tY);
}

void Bitmap::Draw(int32_t pX, int32_t pY, int32_t pFlip) const
{
    int32_t tX = 0, tY = 0;
    GetDrawPosition(pX, pY, pFlip, tX, tY);
    ColorRGBA tColor;
    if(TakeDrawColor(tColor))
        DrawTexture(mTexture, tColor, (float)tX, (float)tY, pFlip);
    else
        DrawTextureWhite(mTexture, (float)tX, (float)tY, pFlip);
}

void Bitmap::DrawAtOrigin() const
{
    Draw(0, 0, 0);
}

void Bitmap::DrawAt(int32_t pX, int32_t pY) const
{
    Draw(pX, pY, 0);
}

void Bitmap::DrawTinted(ColorRGBA pColor, int32_t pX, int32_t pY, int32_t pFlip) const
{
    DrawTexture(mTexture, pColor, (float)pX, (float)pY, pFlip);
}

void Bitmap::DrawRegion(int32_t pRegionW, int32_t pRegionH, int32_t pX, int32_t pY, int32_t pFlip) const
{
    DrawTextureRegionWhite(mTexture, (float)pRegionW, (float)pRegionH,
                           (float)(pX + mOffsetX), (float)(pY + mOffsetY), pFlip);
}

void Bitmap::DrawRegionScaled(int32_t pRegionW, int32_t pRegionH, int32_t pX, int32_t pY,
                              int32_t pDestW, int32_t pDestH, int32_t pFlip) const
{
    DrawTextureRegionScaledWhite(mTexture, (float)pRegionW, (float)pRegionH,
                                 (float)(pX + mOffsetX), (float)(pY + mOffsetY),
                                 (float)(pDestW - mOffsetX), (float)(pDestH - mOffsetY), pFlip);
}

void Bitmap::DrawRotated(int32_t pCentreX, int32_t pCentreY, int32_t pX, int32_t pY, float pAngle,
                         int32_t pFlip) const
{
    DrawTextureRotatedWhite(mTexture, (float)pCentreX, (float)pCentreY,
                            (float)(pX + mOffsetX), (float)(pY + mOffsetY), pAngle, pFlip);
}

void Bitmap::DrawRotatedCentred(int32_t pX, int32_t pY, float pAngle, int32_t pFlip) const
{
    DrawRotated(mWidth / 2, mHeight / 2, pX, pY, pAngle, pFlip);
}

void Bitmap::DrawUnitQuad() const
{
    DrawBoundTextureRect(0.0f, 0.0f, (float)mWidth, (float)mHeight, 0.0f, 0.0f, 1.0f, 1.0f);
}

void Bitmap::ApplyOffset() const
{
    glTranslatef((float)mOffsetX, (float)mOffsetY, 0.0f);
}

void Bitmap::RemoveOffset() const
{
    glTranslatef((float)-mOffsetX, (float)-mOffsetY, 0.0f);
}

void Bitmap::RotateAboutCentre(float pAngle, float pDirection) const
{
    float tCX = (float)(mWidth / 2);
    float tCY = (float)(mHeight / 2);
    glTranslatef(tCX, tCY, 0.0f);
    glRotatef(pAngle, 0.0f, 0.0f, pDirection);
    glTranslatef(-tCX, -tCY, 0.0f);
}

// ---- Uploads ---------------------------------------------------------------------------------

namespace
{
    GLenum CompressedFormatOf(int32_t pFlag)
    {
        switch(pFlag)
        {
            case 3: return GL_COMPRESSED_RGB_S3TC_DXT1_EXT;
            case 4: return GL_COMPRESSED_RGBA_S3TC_DXT1_EXT;
            case 5: return GL_COMPRESSED_RGBA_S3TC_DXT3_EXT;
            default: return GL_COMPRESSED_RGBA_S3TC_DXT5_EXT;
        }
    }
}

uint32_t UploadTexture(const void *pData, int32_t pWidth, int32_t pHeight, uint32_t pExisting,
                       int32_t pFlag, int32_t pDataSize)
{
    if(!pData || pWidth < 1 || pHeight < 1 || pDataSize < 1) return 0;

    glBindTexture(GL_TEXTURE_2D, 0);

    // The flag is judged before a name is made, so a refused upload leaks no texture name.
    if(pFlag == 0 || pFlag == 2) return 0;
    if(pFlag < 0 || pFlag > 7)
    {
        fprintf(stderr, "Warning: %i is not a valid compression flag!\n", pFlag);
        return 0;
    }
    if(pFlag == 7)
    {
        pWidth = 1;
        pHeight = 1;
    }

    GLuint tTexture = pExisting;
    if(tTexture == 0) glGenTextures(1, &tTexture);

    const TextureDefaults &rDefaults = TextureDefaults::Get();
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, tTexture);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glPixelZoom(1.0f, -1.0f);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, rDefaults.mMinFilter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, rDefaults.mMagFilter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_BASE_LEVEL, rDefaults.mBaseLevel);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, rDefaults.mMaxLevel);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, rDefaults.mWrapS);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, rDefaults.mWrapT);

    if(pFlag == 1 || pFlag == 7)
    {
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, pWidth, pHeight, 0, GL_RGBA, GL_UNSIGNED_BYTE, pData);
    }
    else if(xglCompressedTexImage2D)
    {
        xglCompressedTexImage2D(GL_TEXTURE_2D, 0, CompressedFormatOf(pFlag), pWidth, pHeight, 0, pDataSize, pData);
    }

    if(xLoadInterruptHook && xLoadInterruptSuppressed != 1) xLoadInterruptHook();
    return tTexture;
}

uint32_t UploadRGBA(const void *pData, int32_t pWidth, int32_t pHeight)
{
    return UploadTexture(pData, pWidth, pHeight, 0, 1, 4);
}

uint32_t UploadSolidPixel(const uint8_t pRGBA[4], uint32_t pExisting)
{
    return UploadTexture(pRGBA, 1, 1, pExisting, 7, 4);
}

int64_t RequiredImageDataSize(int32_t pWidth, int32_t pHeight, int32_t pFlag)
{
    if(pWidth < 1 || pHeight < 1) return 0;
    int64_t tBlocks = ((int64_t)pWidth + 3) / 4 * (((int64_t)pHeight + 3) / 4);
    switch(pFlag)
    {
        case 1:
        {
            // Both sides may be near 2^31: the pixel count still fits, four bytes each may not.
            int64_t tPixels = (int64_t)pWidth * pHeight;
            return tPixels > INT64_MAX / 4 ? INT64_MAX : tPixels * 4;
        }
        case 3:
        case 4: return tBlocks * 8;
        case 5:
        case 6: return tBlocks * 16;
        case 7: return 4;
        default: return 0;
    }
}

uint32_t UploadImageData(const uint8_t *pData, int32_t pWidth, int32_t pHeight, uint32_t pExisting,
                         int32_t pFlag, int32_t pDataSize)
{
    int64_t tNeeded = RequiredImageDataSize(pWidth, pHeight, pFlag);
    if(tNeeded > 0 && (int64_t)pDataSize < tNeeded) return 0;
    return UploadTexture(pData, pWidth, pHeight, pExisting, pFlag, pDataSize);
}

uint32_t UploadImageRecord(const ImageRecord *pRecord)
{
    if(!pRecord) return 0;
    TextureDefaults &rDefaults = TextureDefaults::Get();
    TextureDefaults tSaved = rDefaults;
    rDefaults = pRecord->mSettings;
    uint32_t tTexture = UploadImageData(pRecord->mData, pRecord->mWidth, pRecord->mHeight,
                                        pRecord->mExistingTexture, pRecord->mCompressionFlag,
                                        pRecord->mDataSize);
    rDefaults = tSaved;
    return tTexture;
}

// A new buffer of RGBA rows, top row first and packed tight, from any format Allegro reads.
static uint8_t *LoadPixelsThroughAllegro(const char *pPath, int32_t *pWidth, int32_t *pHeight)
{
    // Allegro keeps these per thread; put them back so later loads elsewhere are not affected.
    int tOldFormat = al_get_new_bitmap_format();
    int tOldFlags = al_get_new_bitmap_flags();
    al_set_new_bitmap_format(ALLEGRO_PIXEL_FORMAT_ABGR_8888_LE);
    al_set_new_bitmap_flags(ALLEGRO_MEMORY_BITMAP | ALLEGRO_MIN_LINEAR | ALLEGRO_NO_PREMULTIPLIED_ALPHA);
    ALLEGRO_BITMAP *nImage = al_load_bitmap_flags(pPath, ALLEGRO_NO_PREMULTIPLIED_ALPHA);
    al_set_new_bitmap_format(tOldFormat);
    al_set_new_bitmap_flags(tOldFlags);
    if(!nImage) return nullptr;

    int32_t tWidth = al_get_bitmap_width(nImage);
    int32_t tHeight = al_get_bitmap_height(nImage);
    ALLEGRO_LOCKED_REGION *rLocked = al_lock_bitmap(nImage, ALLEGRO_PIXEL_FORMAT_ABGR_8888_LE, ALLEGRO_LOCK_READONLY);
    size_t tRowBytes = (size_t)tWidth * 4;
    uint8_t *nBuffer = (rLocked && tWidth > 0 && tHeight > 0) ? (uint8_t *)malloc(tRowBytes * (size_t)tHeight) : nullptr;
    if(nBuffer)
    {
        for(int32_t y = 0; y < tHeight; y ++)
        {
            const uint8_t *rRow = (const uint8_t *)rLocked->data + (ptrdiff_t)y * rLocked->pitch;
            memcpy(nBuffer + tRowBytes * y, rRow, tRowBytes);
        }
        *pWidth = tWidth;
        *pHeight = tHeight;
    }
    if(rLocked) al_unlock_bitmap(nImage);
    al_destroy_bitmap(nImage);
    return nBuffer;
}

uint32_t LoadTextureFromFile(const char *pPath)
{
    if(!pPath) return 0;

    // PNG, the game's own format, is read straight into the upload buffer, which stays for
    // the next picture; anything else goes through Allegro's loaders.
    static PngBuffer sPixels = {nullptr, 0};
    int32_t tWidth = 0;
    int32_t tHeight = 0;
    PngDecodeResult tResult = TakePngPixels(pPath, &sPixels, &tWidth, &tHeight);
    if(tResult == PNG_DECODED) return UploadRGBA(sPixels.mData, tWidth, tHeight);
    if(tResult != PNG_NOT_PNG) return 0;

    uint8_t *tPixels = LoadPixelsThroughAllegro(pPath, &tWidth, &tHeight);
    if(!tPixels) return 0;
    uint32_t tTexture = UploadRGBA(tPixels, tWidth, tHeight);
    free(tPixels);
    return tTexture;
}

int32_t HighestSetBit(int32_t pValue)
{
    uint32_t tValue = (uint32_t)pValue;
    if(tValue == 0) return 0;
    uint32_t tBit = 1;
    while(tValue > 1)
    {
        tValue >>= 1;
        tBit <<= 1;
    }
    return (int32_t)tBit;
}

#include "world/LineArtLevel.h"

#include <GL/gl.h>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "core/DebugPrint.h"
#include "core/Geometry.h"
#include "core/OptionsManager.h"
#include "core/Utilities.h"
#include "core/data/CorvelLumpManager.h"
#include "core/data/LumpRecords.h"
#include "core/render/Bitmap.h"
#include "core/render/GLState.h"
#include "core/render/LoadingScreen.h"

namespace
{
    // Layer 1 sits this far back; layer 2 is drawn nearer by the offset.
    const float cLevelDepth = -0.75f;
    const float cSecondLayerOffset = 0.5f;

    // Prefix (at most 255 bytes) plus six digits and the terminator.
    const size_t cChunkNameSize = 272;

    uint32_t DefaultUpload(ImageRecord *pImage)
    {
        // Chunks meet edge to edge: clamping keeps the neighbour's texels out of the seam.
        pImage->mSettings.mMinFilter = GL_LINEAR;
        pImage->mSettings.mMagFilter = GL_NEAREST;
        pImage->mSettings.mWrapS = GL_CLAMP_TO_EDGE;
        pImage->mSettings.mWrapT = GL_CLAMP_TO_EDGE;
        return UploadImageRecord(pImage);
    }

    void DefaultRelease(uint32_t pTexture, uint32_t pDisplayList)
    {
        if(pTexture != 0)
        {
            GLuint tName = pTexture;
            glDeleteTextures(1, &tName);
        }
        if(pDisplayList != 0) glDeleteLists(pDisplayList, 1);
    }

    // Only plain RGBA data can be read texel by texel; other layers are drawn whole.
    AlphaCoverage *NewLayerCoverage(const ImageRecord *pImage)
    {
        if(!pImage) return nullptr;
        if(pImage->mCompressionFlag == 1 && pImage->mWidth > 0 && pImage->mHeight > 0 &&
           pImage->mDataSize >= RequiredImageDataSize(pImage->mWidth, pImage->mHeight, 1))
        {
            return AlphaCoverage::FromRGBA(pImage->mData, pImage->mWidth, pImage->mHeight);
        }
        return AlphaCoverage::Whole(pImage->mWidth, pImage->mHeight);
    }

    struct LayerBoxDraw
    {
        LineartLayer *rLayer;
        float mDepth;
    };

    LineartUploadFunc xUpload = DefaultUpload;
    LineartReleaseFunc xRelease = DefaultRelease;
    int32_t xResidentTextures = 0;

    // A script may park the camera anywhere a float reaches, infinities and NaN included.
    int32_t ClampRangeStart(double pValue)
    {
        int32_t tValue = TruncateCoordinate((float)pValue);
        return tValue < 1 ? 0 : tValue;
    }

    int32_t ClampRangeEnd(double pValue, uint32_t pCount)
    {
        if(pValue >= (double)pCount) return (int32_t)pCount;
        int32_t tValue = TruncateCoordinate((float)pValue);
        return tValue < 0 ? 0 : tValue;
    }
}

// ---- Chunks ------------------------------------------------------------------------------------

LineartChunk::LineartChunk()
    : mKeepImages(1), mClipColumns(0), mClipRows(0), mMask(nullptr), mUnseen(-1)
{
    memset(mLayers, 0, sizeof(mLayers));
}

LineartChunk::~LineartChunk()
{
    Unload();
    for(int32_t i = 0; i < LINEART_LAYER_COUNT; i++)
    {
        ImageRecord::Free(mLayers[i].mImage);
        delete mLayers[i].mCoverage;
    }
    free(mMask);
}

void LineartChunk::SetImages(ImageRecord *pFirst, ImageRecord *pSecond)
{
    Unload();
    ImageRecord *rImages[LINEART_LAYER_COUNT] = {pFirst, pSecond};
    for(int32_t i = 0; i < LINEART_LAYER_COUNT; i++)
    {
        ImageRecord::Free(mLayers[i].mImage);
        delete mLayers[i].mCoverage;
        mLayers[i].mImage = rImages[i];
        mLayers[i].mCoverage = NewLayerCoverage(rImages[i]);
    }
}

bool LineartChunk::SetClip(const ClipRecord *pClip)
{
    free(mMask);
    mMask = nullptr;
    mClipColumns = 0;
    mClipRows = 0;
    if(!pClip || pClip->mColumns == 0 || pClip->mRows == 0) return true;
    mMask = LevelClipMap::NewMaskFromClipRecord(pClip);
    if(!mMask) return false;
    mClipColumns = pClip->mColumns;
    mClipRows = pClip->mRows;
    return true;
}

bool LineartChunk::IsClipped(uint32_t pX, uint32_t pY) const
{
    if(!mMask || pX >= mClipColumns || pY >= mClipRows) return false;
    return mMask[(size_t)pX * mClipRows + pY] != 0;
}

const ImageRecord *LineartChunk::GetImage(int32_t pLayer) const
{
    if(pLayer < 0 || pLayer >= LINEART_LAYER_COUNT) return nullptr;
    return mLayers[pLayer].mImage;
}

const Bitmap *LineartChunk::GetBitmap(int32_t pLayer) const
{
    if(pLayer < 0 || pLayer >= LINEART_LAYER_COUNT) return nullptr;
    return mLayers[pLayer].mBitmap;
}

bool LineartChunk::UploadLayer(LineartLayer &rLayer)
{
    uint32_t tTexture = xUpload(rLayer.mImage);
    if(tTexture == 0)
    {
        // The picture would be refused the same way every time it came into view, with its
        // warning each time: the layer is let go and the chunk stays undrawn where it was.
        ImageRecord::Free(rLayer.mImage);
        rLayer.mImage = nullptr;
        delete rLayer.mCoverage;
        rLayer.mCoverage = nullptr;
        return false;
    }
    const ImageRecord *rImage = rLayer.mImage;
    // The chunk frees the texture itself through the release hook.
    Bitmap *nBitmap = new Bitmap();
    nBitmap->SetTexture(tTexture, 0);
    nBitmap->SetSize(rImage->mWidth, rImage->mHeight);
    nBitmap->SetOffset(rImage->mOffsetX, rImage->mOffsetY);
    nBitmap->SetTextureSize(rImage->mFullWidth, rImage->mFullHeight);
    rLayer.mBitmap = nBitmap;
    xResidentTextures++;
    return true;
}

void LineartChunk::Upload()
{
    if(mLayers[0].mBitmap || !mLayers[0].mImage) return;
    if(!UploadLayer(mLayers[0])) return;
    if(mLayers[1].mImage) UploadLayer(mLayers[1]);
}

void LineartChunk::Unload()
{
    for(int32_t i = 0; i < LINEART_LAYER_COUNT; i++)
    {
        LineartLayer &rLayer = mLayers[i];
        if(!rLayer.mBitmap && rLayer.mDisplayList == 0) continue;
        xRelease(rLayer.mBitmap ? rLayer.mBitmap->GetTexture() : 0, rLayer.mDisplayList);
        if(rLayer.mBitmap) xResidentTextures--;
        delete rLayer.mBitmap;
        rLayer.mBitmap = nullptr;
        rLayer.mDisplayList = 0;
    }
}

void LineartChunk::DrawLayer(LineartLayer &rLayer, float pDepth, const CoverageMapping *pMapping, const CoverageBox &pClip)
{
    if(!pMapping || !rLayer.mCoverage)
    {
        if(pMapping) glScissor(pClip.mX, pClip.mY, pClip.mW, pClip.mH);
        ExecuteLayer(rLayer, pDepth);
        return;
    }
    // The unit quad puts texel (s, t) at (offset x + s, offset y + t) in the chunk.
    const Bitmap *rBitmap = rLayer.mBitmap;
    CoverageMapping tLayer;
    tLayer.mScaleX = pMapping->mScaleX;
    tLayer.mOffsetX = pMapping->mOffsetX + pMapping->mScaleX * rBitmap->GetOffsetX();
    tLayer.mScaleY = pMapping->mScaleY;
    tLayer.mOffsetY = pMapping->mOffsetY + pMapping->mScaleY * rBitmap->GetOffsetY();
    LayerBoxDraw tDraw = {&rLayer, pDepth};
    rLayer.mCoverage->ForEachBox(tLayer, pClip, DrawLayerBox, &tDraw);
}

void LineartChunk::DrawLayerBox(const CoverageBox &pBox, void *pContext)
{
    LayerBoxDraw *rDraw = static_cast<LayerBoxDraw *>(pContext);
    glScissor(pBox.mX, pBox.mY, pBox.mW, pBox.mH);
    ExecuteLayer(*rDraw->rLayer, rDraw->mDepth);
}

void LineartChunk::ExecuteLayer(LineartLayer &rLayer, float pDepth)
{
    if(rLayer.mDisplayList != 0)
    {
        glCallList(rLayer.mDisplayList);
        return;
    }
    rLayer.mDisplayList = glGenLists(1);
    if(rLayer.mDisplayList != 0) glNewList(rLayer.mDisplayList, GL_COMPILE_AND_EXECUTE);
    if(pDepth != 0.0f) glTranslatef(0.0f, 0.0f, pDepth);
    rLayer.mBitmap->Bind();
    rLayer.mBitmap->ApplyOffset();
    rLayer.mBitmap->DrawUnitQuad();
    rLayer.mBitmap->RemoveOffset();
    if(pDepth != 0.0f) glTranslatef(0.0f, 0.0f, -pDepth);
    if(rLayer.mDisplayList != 0) glEndList();
}

void LineartChunk::RenderMask()
{
    if(!mMask) return;
    glDisable(GL_TEXTURE_2D);
    glColor4f(0.0f, 0.0f, 1.0f, 1.0f);
    glPointSize(1.0f);
    glBegin(GL_POINTS);
    for(uint32_t c = 0; c < mClipColumns; c++)
    {
        for(uint32_t r = 0; r < mClipRows; r++)
        {
            if(mMask[(size_t)c * mClipRows + r]) glVertex2f((float)c, (float)r);
        }
    }
    glEnd();
    glEnable(GL_TEXTURE_2D);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
}

void LineartChunk::Render(const CoverageMapping *pMapping, const CoverageBox &pClip)
{
    if(!mLayers[0].mBitmap) return;
    DrawLayer(mLayers[0], 0.0f, pMapping, pClip);
    if(mLayers[1].mBitmap) DrawLayer(mLayers[1], cSecondLayerOffset, pMapping, pClip);
    OptionsManager *rOptions = OptionsManager::Get();
    if(!rOptions || !rOptions->GetBool("ShowHitboxes")) return;
    if(pMapping) glScissor(pClip.mX, pClip.mY, pClip.mW, pClip.mH);
    RenderMask();
}

// ---- Level -------------------------------------------------------------------------------------

LineartLevel::LineartLevel()
    : mColumns(0), mRows(0), mImagePrefixA(nullptr), mImagePrefixB(nullptr), mClipPrefix(nullptr),
      mChunkWidth(LINEART_DEFAULT_CHUNK_SIZE), mChunkHeight(LINEART_DEFAULT_CHUNK_SIZE), mChunks(nullptr),
      mLevelNumber(0), mLevelName(nullptr)
{
}

LineartLevel::~LineartLevel()
{
    if(mChunks)
    {
        for(size_t i = 0; i < (size_t)mColumns * mRows; i++) delete mChunks[i];
        free(mChunks);
    }
    free(mImagePrefixA);
    free(mImagePrefixB);
    free(mClipPrefix);
    free(mLevelName);
}

bool LineartLevel::Allocate(uint32_t pColumns, uint32_t pRows)
{
    if(mChunks || mColumns != 0 || mRows != 0 || pColumns == 0 || pRows == 0) return false;
    LineartChunk **nChunks = (LineartChunk **)calloc((size_t)pColumns * pRows, sizeof(LineartChunk *));
    if(!nChunks) return false;
    if(!mClipMap.Allocate(pColumns, pRows))
    {
        free(nChunks);
        return false;
    }
    mChunks = nChunks;
    mColumns = pColumns;
    mRows = pRows;
    return true;
}

void LineartLevel::SetChunk(uint32_t pColumn, uint32_t pRow, LineartChunk *pChunk)
{
    if(!mChunks || pColumn >= mColumns || pRow >= mRows)
    {
        delete pChunk;
        return;
    }
    LineartChunk *&tSlot = mChunks[(size_t)pColumn * mRows + pRow];
    if(tSlot == pChunk) return;
    // The map must stop reading the old mask before it is freed.
    mClipMap.SetChunkMask(pColumn, pRow, nullptr, 0, 0);
    delete tSlot;
    tSlot = pChunk;
    if(!pChunk) return;
    pChunk->SetUnseen(-1);
    mClipMap.SetChunkMask(pColumn, pRow, pChunk->GetMask(), pChunk->GetClipColumns(), pChunk->GetClipRows());
}

LineartChunk *LineartLevel::GetChunk(uint32_t pColumn, uint32_t pRow) const
{
    if(!mChunks || pColumn >= mColumns || pRow >= mRows) return nullptr;
    return mChunks[(size_t)pColumn * mRows + pRow];
}

void LineartLevel::SetChunkSize(uint32_t pWidth, uint32_t pHeight)
{
    if(pWidth == 0 || pHeight == 0) return;
    mChunkWidth = pWidth;
    mChunkHeight = pHeight;
    mClipMap.SetChunkSize(pWidth, pHeight);
}

void LineartLevel::SetNames(const char *pImagePrefixA, const char *pImagePrefixB, const char *pClipPrefix)
{
    ResetString(&mImagePrefixA, pImagePrefixA);
    ResetString(&mImagePrefixB, pImagePrefixB);
    ResetString(&mClipPrefix, pClipPrefix);
}

void LineartLevel::GetNames(const char *&sImagePrefixA, const char *&sImagePrefixB, const char *&sClipPrefix) const
{
    sImagePrefixA = mImagePrefixA;
    sImagePrefixB = mImagePrefixB;
    sClipPrefix = mClipPrefix;
}

void LineartLevel::SetLevelInfo(uint8_t pNumber, const char *pName)
{
    mLevelNumber = pNumber;
    ResetString(&mLevelName, pName);
}

void LineartLevel::GetGridSize(uint32_t &sColumns, uint32_t &sRows) const
{
    sColumns = mColumns;
    sRows = mRows;
}

void LineartLevel::GetSize(int32_t &sWidth, int32_t &sHeight) const
{
    sWidth = (int32_t)(mChunkWidth * mColumns);
    sHeight = (int32_t)(mChunkHeight * mRows);
}

LineartRange LineartLevel::ComputeRange(float pLeft, float pTop, float pRight, float pBottom) const
{
    LineartRange tRange;
    const double tW = (double)mChunkWidth;
    const double tH = (double)mChunkHeight;
    tRange.mFirstColumn = ClampRangeStart(pLeft / tW - LINEART_RANGE_MARGIN);
    tRange.mFirstRow = ClampRangeStart(pTop / tH - LINEART_RANGE_MARGIN);
    tRange.mEndColumn = ClampRangeEnd(pRight / tW + LINEART_RANGE_MARGIN, mColumns);
    tRange.mEndRow = ClampRangeEnd(pBottom / tH + LINEART_RANGE_MARGIN, mRows);
    return tRange;
}

void LineartLevel::Update(float pLeft, float pTop, float pRight, float pBottom)
{
    if(!mChunks) return;
    const size_t tCount = (size_t)mColumns * mRows;
    for(size_t i = 0; i < tCount; i++)
    {
        LineartChunk *rChunk = mChunks[i];
        if(!rChunk || rChunk->GetUnseen() < 0) continue;
        rChunk->SetUnseen(rChunk->GetUnseen() + 1);
        if(rChunk->GetUnseen() > LINEART_UNSEEN_LIMIT)
        {
            rChunk->Unload();
            rChunk->SetUnseen(-1);
        }
    }

    LoadingScreen *rScreen = GetLoadingScreen();
    uint8_t tOldSuppress = rScreen ? rScreen->GetSuppress() : 0;
    if(rScreen) rScreen->SetSuppress(1);
    LineartRange tRange = ComputeRange(pLeft, pTop, pRight, pBottom);
    for(int32_t c = tRange.mFirstColumn; c < tRange.mEndColumn; c++)
    {
        for(int32_t r = tRange.mFirstRow; r < tRange.mEndRow; r++)
        {
            LineartChunk *rChunk = mChunks[(size_t)c * mRows + r];
            if(!rChunk) continue;
            rChunk->Upload();
            rChunk->SetUnseen(0);
        }
    }
    if(rScreen) rScreen->SetSuppress(tOldSuppress);
}

void LineartLevel::Render(float pLeft, float pTop, float pRight, float pBottom)
{
    if(!mChunks) return;
    GLState::PushAll();
    glTranslatef(-pLeft, -pTop, cLevelDepth);
    GLState::BlendByAlphaDroppingClear();
    glEnable(GL_TEXTURE_2D);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    // Where the level lands in the window; a transform that is not a plain scale and shift
    // leaves every layer drawn whole.
    CoverageMapping tLevel;
    CoverageBox tClip;
    const bool tBoxes = GLState::GetWindowMapping(tLevel, tClip);
    if(tBoxes) glEnable(GL_SCISSOR_TEST);

    LineartRange tRange = ComputeRange(pLeft, pTop, pRight, pBottom);
    for(int32_t c = tRange.mFirstColumn; c < tRange.mEndColumn; c++)
    {
        for(int32_t r = tRange.mFirstRow; r < tRange.mEndRow; r++)
        {
            LineartChunk *rChunk = mChunks[(size_t)c * mRows + r];
            if(!rChunk) continue;
            const float tX = (float)((uint32_t)c * mChunkWidth);
            const float tY = (float)((uint32_t)r * mChunkHeight);
            CoverageMapping tChunk = tLevel;
            tChunk.mOffsetX += tLevel.mScaleX * tX;
            tChunk.mOffsetY += tLevel.mScaleY * tY;
            glTranslatef(tX, tY, 0.0f);
            rChunk->Render(tBoxes ? &tChunk : nullptr, tClip);
            glTranslatef(-tX, -tY, 0.0f);
        }
    }
    GLState::PopAll();
}

int32_t LineartLevel::GetResidentTextureCount()
{
    return xResidentTextures;
}

void LineartLevel::SetGraphicsHooks(LineartUploadFunc pUpload, LineartReleaseFunc pRelease)
{
    xUpload = pUpload ? pUpload : DefaultUpload;
    xRelease = pRelease ? pRelease : DefaultRelease;
}

// ---- Reading from the lump file -----------------------------------------------------------------

LineartLevel *GetLineartLevel(CorvelLumpManager *pLumps, const char *pName)
{
    if(!pLumps) return nullptr;
    MapInfoRecord *nInfo = pLumps->ReadMapInfo(pName);
    if(!nInfo) return nullptr;

    // Every chunk's clip must match the chunk size, and a clip cannot be larger than its u16
    // sizes allow; a larger chunk could only be a corrupt file, and would overflow the level
    // size in world units.
    if(nInfo->mChunkWidth > LINEART_MAX_CHUNK_SIZE || nInfo->mChunkHeight > LINEART_MAX_CHUNK_SIZE ||
       nInfo->mColumns < 1 || nInfo->mRows < 1 || nInfo->mColumns > LUMP_MAX_GRID || nInfo->mRows > LUMP_MAX_GRID)
    {
        Debug::ForcePrint("[Fail GetLineartLevel] Chunk size %i %i or grid %i %i out of range\n", nInfo->mChunkWidth,
                          nInfo->mChunkHeight, nInfo->mColumns, nInfo->mRows);
        FreeMapInfoRecord(nInfo);
        return nullptr;
    }

    LineartLevel *nLevel = new LineartLevel();
    if(!nLevel->Allocate((uint32_t)nInfo->mColumns, (uint32_t)nInfo->mRows))
    {
        FreeMapInfoRecord(nInfo);
        delete nLevel;
        return nullptr;
    }
    nLevel->SetChunkSize((uint32_t)nInfo->mChunkWidth, (uint32_t)nInfo->mChunkHeight);
    nLevel->SetNames(nInfo->mImagePrefixA, nInfo->mImagePrefixB, nInfo->mClipPrefix);
    nLevel->SetLevelInfo(nInfo->mLevelNumber, nInfo->mLevelName);
    FreeMapInfoRecord(nInfo);
    return nLevel;
}

bool LevelPrecache(CorvelLumpManager *pLumps, LineartLevel *pLevel)
{
    if(!pLumps || !pLevel) return false;
    const char *rPrefixA = nullptr;
    const char *rPrefixB = nullptr;
    const char *rClipPrefix = nullptr;
    pLevel->GetNames(rPrefixA, rPrefixB, rClipPrefix);
    uint32_t tColumns = 0;
    uint32_t tRows = 0;
    pLevel->GetGridSize(tColumns, tRows);

    Debug::PushPrint(0, "[Begin Level Precache]\n");
    Debug::Print("Names %s %s %s\n", rPrefixA ? rPrefixA : "NULL", rPrefixB ? rPrefixB : "NULL",
                 rClipPrefix ? rClipPrefix : "NULL");
    Debug::Print("Sizes %i %i\n", (int32_t)tColumns, (int32_t)tRows);

    char tNameA[cChunkNameSize];
    char tNameB[cChunkNameSize];
    char tClipName[cChunkNameSize];
    for(uint32_t c = 0; c < tColumns; c++)
    {
        for(uint32_t r = 0; r < tRows; r++)
        {
            snprintf(tNameA, sizeof(tNameA), "%s%03i%03i", rPrefixA ? rPrefixA : "", (int32_t)c, (int32_t)r);
            snprintf(tNameB, sizeof(tNameB), "%s%03i%03i", rPrefixB ? rPrefixB : "", (int32_t)c, (int32_t)r);
            snprintf(tClipName, sizeof(tClipName), "%s%03i%03i", rClipPrefix ? rClipPrefix : "", (int32_t)c, (int32_t)r);

            LineartChunk *nChunk = new LineartChunk();
            ImageRecord *nFirst = nullptr;
            ImageRecord *nSecond = nullptr;
            pLumps->ImageLump(tNameA, tNameB, &nFirst, &nSecond);
            nChunk->SetImages(nFirst, nSecond);

            // A clip of the wrong size is dropped like a missing one: the chunk has no mask
            // and the level still loads.
            ClipRecord *nClip = pLumps->ClipLump(tClipName);
            if(nClip && (nClip->mColumns != pLevel->GetChunkWidth() || nClip->mRows != pLevel->GetChunkHeight()))
            {
                Debug::ForcePrint("[Fail ClipLump] %s is %i by %i, the chunks are %i by %i.\n", tClipName,
                                  nClip->mColumns, nClip->mRows, (int32_t)pLevel->GetChunkWidth(),
                                  (int32_t)pLevel->GetChunkHeight());
                FreeClipRecord(nClip);
                nClip = nullptr;
            }
            bool tSound = nChunk->SetClip(nClip);
            FreeClipRecord(nClip);
            if(!tSound)
            {
                delete nChunk;
                Debug::PopPrintState();
                return false;
            }
            pLevel->SetChunk(c, r, nChunk);
        }
    }
    Debug::PopPrint("[Complete Level Precache]\n");
    return true;
}

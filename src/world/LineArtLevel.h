#pragma once
#include <cstdint>

#include "core/render/AlphaCoverage.h"
#include "world/LevelClipMap.h"

class Bitmap;
class CorvelLumpManager;
struct ClipRecord;
struct ImageRecord;

#define LINEART_LAYER_COUNT 2
// Chunks stay resident while they have been out of the camera's range for at most this many
// ticks.
#define LINEART_UNSEEN_LIMIT 300
// Chunks beyond the view on every side that are kept ready.
#define LINEART_RANGE_MARGIN 2
// A clip is one cell per world unit and stores its size as u16, so no chunk can be larger.
#define LINEART_MAX_CHUNK_SIZE 65535
#define LINEART_DEFAULT_CHUNK_SIZE 256

// How chunk layers reach and leave the graphics card. The defaults go through GL; a test or a
// run without a display installs its own pair. Upload gives a texture name or 0; release
// frees a texture and a display list (either may be 0).
typedef uint32_t (*LineartUploadFunc)(ImageRecord *pImage);
typedef void (*LineartReleaseFunc)(uint32_t pTexture, uint32_t pDisplayList);

// Chunks [first, end) on both axes.
struct LineartRange
{
    int32_t mFirstColumn;
    int32_t mFirstRow;
    int32_t mEndColumn;
    int32_t mEndRow;
};

// One image layer of a chunk. The decoded image stays in memory after upload, so a chunk that
// was unloaded can be uploaded again. The coverage, worked out once when the image is set,
// says which parts of the layer can show anything (null: draw all of it).
struct LineartLayer
{
    uint32_t mDisplayList;
    ImageRecord *mImage;
    Bitmap *mBitmap;
    AlphaCoverage *mCoverage;
};

// One square of the level: two image layers and a mask of one byte per world unit, indexed
// [column][row], 1 = solid.
class LineartChunk
{
public:
    LineartChunk();
    ~LineartChunk();

    // Takes both records (either may be null); the old ones are released.
    void SetImages(ImageRecord *pFirst, ImageRecord *pSecond);
    // Unpacks a stored clip into the mask; null leaves the chunk without one (never solid).
    // False when the mask could not be made.
    bool SetClip(const ClipRecord *pClip);

    bool IsClipped(uint32_t pX, uint32_t pY) const;
    const uint8_t *GetMask() const { return mMask; }
    uint32_t GetClipColumns() const { return mClipColumns; }
    uint32_t GetClipRows() const { return mClipRows; }
    const ImageRecord *GetImage(int32_t pLayer) const;
    const Bitmap *GetBitmap(int32_t pLayer) const;

    // -1 while the textures are not resident, else the ticks since the chunk was last in range.
    int32_t GetUnseen() const { return mUnseen; }
    void SetUnseen(int32_t pTicks) { mUnseen = pTicks; }

    // Nothing when layer 1 is already uploaded or has no image. A layer whose upload fails
    // stops the upload; the chunk then stays undrawn.
    void Upload();
    // Frees the textures and display lists; the images stay.
    void Unload();
    // Needs a GL context: the display lists are compiled on the first draw. With a mapping of
    // the chunk's own coordinates to the window (and the scissor test on), each layer is drawn
    // only through the boxes where it can show anything, within the clip box; without one,
    // whole.
    void Render(const CoverageMapping *pMapping, const CoverageBox &pClip);

private:
    bool UploadLayer(LineartLayer &rLayer);
    void DrawLayer(LineartLayer &rLayer, float pDepth, const CoverageMapping *pMapping, const CoverageBox &pClip);
    static void DrawLayerBox(const CoverageBox &pBox, void *pContext);
    // Calls the layer's display list, compiling it on the first draw.
    static void ExecuteLayer(LineartLayer &rLayer, float pDepth);
    void RenderMask();

    uint8_t mKeepImages;
    uint32_t mClipColumns;
    uint32_t mClipRows;
    LineartLayer mLayers[LINEART_LAYER_COUNT];
    uint8_t *mMask;
    int32_t mUnseen;

    LineartChunk(const LineartChunk &) = delete;
    LineartChunk &operator=(const LineartChunk &) = delete;
};

// A map of type 1: a grid of chunks, streamed to the graphics card around the camera. Every
// chunk lends its mask to the level's clip map, which the clip queries read.
class LineartLevel
{
public:
    LineartLevel();
    ~LineartLevel();

    // Only while the grid is 0 by 0 and both counts are non-zero; all chunks start missing.
    bool Allocate(uint32_t pColumns, uint32_t pRows);
    // Inside the grid the chunk is stored (replacing and destroying any there) with its unseen
    // counter at -1; outside it is destroyed.
    void SetChunk(uint32_t pColumn, uint32_t pRow, LineartChunk *pChunk);
    LineartChunk *GetChunk(uint32_t pColumn, uint32_t pRow) const;
    // Ignored unless both are non-zero.
    void SetChunkSize(uint32_t pWidth, uint32_t pHeight);
    void SetNames(const char *pImagePrefixA, const char *pImagePrefixB, const char *pClipPrefix);
    void GetNames(const char *&sImagePrefixA, const char *&sImagePrefixB, const char *&sClipPrefix) const;
    void SetLevelInfo(uint8_t pNumber, const char *pName);
    uint8_t GetLevelNumber() const { return mLevelNumber; }
    const char *GetLevelName() const { return mLevelName; }

    void GetGridSize(uint32_t &sColumns, uint32_t &sRows) const;
    uint32_t GetChunkWidth() const { return mChunkWidth; }
    uint32_t GetChunkHeight() const { return mChunkHeight; }
    // World units: chunk size times the grid.
    void GetSize(int32_t &sWidth, int32_t &sHeight) const;

    // Outside the grid (negative coordinates included) is solid; a missing chunk or one
    // without a mask is not.
    bool IsClipped(int32_t pX, int32_t pY) const { return mClipMap.IsClipped(pX, pY); }
    const LevelClipMap *GetClipMap() const { return &mClipMap; }

    // The chunks under the view frame and two more on every side, clamped to the grid.
    LineartRange ComputeRange(float pLeft, float pTop, float pRight, float pBottom) const;

    // Per tick, with the active camera's frame: ages the resident chunks, unloading those
    // unseen for more than 300 ticks, then uploads every chunk in range and marks it seen.
    void Update(float pLeft, float pTop, float pRight, float pBottom);
    // Draws the chunks in range, translated by the frame's top-left; chunks and the empty parts
    // of their layers that cannot reach the window are left out. Needs a GL context.
    void Render(float pLeft, float pTop, float pRight, float pBottom);

    // Process-wide: textures of chunk layers now on the graphics card.
    static int32_t GetResidentTextureCount();
    // Null restores the GL default of either hook.
    static void SetGraphicsHooks(LineartUploadFunc pUpload, LineartReleaseFunc pRelease);

private:
    uint32_t mColumns;
    uint32_t mRows;
    char *mImagePrefixA;
    char *mImagePrefixB;
    char *mClipPrefix;
    uint32_t mChunkWidth;
    uint32_t mChunkHeight;
    // mColumns x mRows, chunk (c, r) at c * mRows + r.
    LineartChunk **mChunks;
    uint8_t mLevelNumber;
    char *mLevelName;
    LevelClipMap mClipMap;

    LineartLevel(const LineartLevel &) = delete;
    LineartLevel &operator=(const LineartLevel &) = delete;
};

// Builds an empty level from the type-1 map information lump of the open lump file, or null
// when the lump is missing, of another type, or describes a grid or chunk size that no clip
// could match.
LineartLevel *GetLineartLevel(CorvelLumpManager *pLumps, const char *pName);

// Reads every chunk's two image layers and clip into the level. A missing or damaged lump, or a
// clip whose size differs from the chunk size, leaves that chunk without the layer or mask. False,
// with the chunks read so far kept, only when memory runs out.
bool LevelPrecache(CorvelLumpManager *pLumps, LineartLevel *pLevel);

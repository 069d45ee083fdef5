#pragma once
#include <cstdint>

#include "core/Hitbox.h"
#include "core/RootObject.h"
#include "core/data/LibraryHolder.h"

class Bitmap;
class Camera;
class NamedLinkedList;
struct lua_State;

// Packs narrower or lower than one screen never scroll on that axis.
#define BGPACK_SCROLL_MIN_WIDTH 480.0f
#define BGPACK_SCROLL_MIN_HEIGHT 360.0f

// One tiled picture behind the level, placed over a world rectangle. It is a RootObject only
// so that map scripts can make it the active object while they set it up.
class BackgroundPack : public RootObject
{
public:
    BackgroundPack();
    virtual ~BackgroundPack();

    // The name the map's packs list it under, for the messages about it.
    void SetName(const char *pName);
    const char *GetName() const { return mName ? mName : ""; }

    uint8_t mActive;
    float mDepth;
    Bitmap *rImage;
    float mLft;
    float mTop;
    float mRgt;
    float mBot;
    float mAppearancesX;
    float mAppearancesY;
    uint8_t mForceScrollX;
    uint8_t mForceScrollY;
    // Texel rows [first, end) of the image that hold anything visible, read back from its
    // texture on the first draw (null image: not read yet).
    Bitmap *rMeasuredImage;
    int32_t mVisibleFirstRow;
    int32_t mVisibleEndRow;

    // The image at a library path, or none when the path holds no picture. A path that holds no
    // picture, or a picture without pixels (its file was missing), is named with the pack, after
    // pCaller: who set it and where, so the author finds the line.
    void SetImage(const char *pPath, const char *pCaller);
    // Only with an image: a pack without one never draws.
    void Activate();
    // Stored only when both counts are positive and the image has a size.
    void SetAppearances(float pX, float pY);

private:
    static void ReleaseImage(void *pOwner, void *pObject);
    LibraryHolder mHolder;
    char *mName;
};

// Where a pack's picture sits for one camera frame.
struct BackgroundPlacement
{
    float mFractionX;
    float mFractionY;
    float mOffsetX;
    float mOffsetY;
    // Texture scroll across, in repeats of the texture, from force scrolling past an edge.
    float mScrollU;
};

// The parallax of one pack: the camera's place inside the pack's rectangle, as a fraction of
// the room the picture has to move. Texture sizes of 0 or less give no scrolling.
BackgroundPlacement ComputeBackgroundPlacement(const BackgroundPack &pPack, const Hitbox &pFrame,
                                               float pTextureW, float pTextureH);

// The map's background packs, in drawing order. Owns them.
class MapBGM
{
public:
    MapBGM();
    ~MapBGM();

    // Adds under the name (replacing nothing: names may repeat), which the pack takes as its own,
    // and takes ownership.
    void AddPack(const char *pName, BackgroundPack *pPack);
    BackgroundPack *GetPack(const char *pName);
    int32_t GetCount() const;
    void Clear();

    // Draws every active pack the camera sees, behind the level.
    void Render(const Camera *pCamera);

private:
    NamedLinkedList *mPacks;

    MapBGM(const MapBGM &) = delete;
    MapBGM &operator=(const MapBGM &) = delete;
};

// Registers the "MapBGM_" globals.
void RegisterMapBGMLua(lua_State *L);

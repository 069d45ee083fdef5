#pragma once

#include <cstdint>

// A texture atlas: pages (texture files) and the named rectangles on them that attachments
// show. Read from the atlas text format, where only line positions count, never key names.

// Format names, index 0 to 6, and filter names, index 0 to 6.
extern const char *const cAtlasFormatNames[7];
extern const char *const cAtlasFilterNames[7];

struct AtlasPage
{
    char *mName;
    int32_t mFormat;
    int32_t mMinFilter, mMagFilter;
    int32_t mUWrap, mVWrap;
    // For the host's texture hooks.
    void *rRendererObject;
    int32_t mWidth, mHeight;
    AtlasPage *mNext;
};

struct AtlasRegion
{
    char *mName;
    int32_t mX, mY, mWidth, mHeight;
    float mU, mV, mUMax, mVMax;
    int32_t mOffsetX, mOffsetY;
    int32_t mOriginalWidth, mOriginalHeight;
    int32_t mIndex;
    int32_t mRotate;
    int32_t *mSplits;
    int32_t *mPads;
    AtlasPage *rPage;
    AtlasRegion *mNext;
};

struct Atlas
{
    AtlasPage *mPages;
    AtlasRegion *mRegions;
};

// Host hooks: the page's texture is made when the page's header has been read, and released
// when the atlas is disposed. The host sets the page's renderer object, width and height.
void Host_createAtlasTexture(AtlasPage *pPage, const char *pPath);
void Host_disposeAtlasTexture(AtlasPage *pPage);

// Null when the text is malformed (everything read so far is released).
Atlas *Atlas_readAtlas(const char *pText, int32_t pLength, const char *pDirectory);
// Reads the file through the host's file hook; pages are looked for beside it.
Atlas *Atlas_readAtlasFile(const char *pPath);
AtlasRegion *Atlas_findRegion(const Atlas *pAtlas, const char *pName);
void Atlas_dispose(Atlas *pAtlas);

// The directory part of an atlas path, as a new heap string (empty when the path has no
// separator; the separator itself when it is the first character).
char *Atlas_directoryOf(const char *pPath);

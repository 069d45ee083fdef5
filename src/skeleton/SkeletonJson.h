#pragma once

#include <cstddef>
#include <cstdint>

struct Animation;
struct Atlas;
struct AttachmentLoader;
struct JsonNode;
struct SkeletonData;

// Builds a SkeletonData from skeleton JSON text. Lengths, positions and sizes read are
// multiplied by the scale.
struct SkeletonJson
{
    float mScale;
    AttachmentLoader *rAttachmentLoader;
    // The last failure, at most 256 characters; null when none.
    char *mError;
    int32_t mOwnsLoader;
    // The file being read, for the messages about values dropped; null while reading text.
    const char *rPath;
};

// A reader with an atlas-backed attachment loader that it owns.
SkeletonJson *SkeletonJson_create(Atlas *pAtlas);
// A reader over a loader it does not own.
SkeletonJson *SkeletonJson_createWithLoader(AttachmentLoader *pLoader);
void SkeletonJson_dispose(SkeletonJson *pReader);

// Null with the error text set when the document, a bone, a slot or a skin is bad. A bad
// animation is left out and sets the error text, and the data is still returned. A number that
// cannot be used (SkeletonJson_numberFault) reads as its default, a key frame whose time cannot
// be used and a curve with such a number are left out, and so are skin entries under a slot the
// skeleton lacks; each is named on standard error, as is a skeleton with slots and no skins.
SkeletonData *SkeletonJson_readSkeletonData(SkeletonJson *pReader, const char *pText);
SkeletonData *SkeletonJson_readSkeletonDataLength(SkeletonJson *pReader, const char *pText, size_t pLength);
// "Unable to read skeleton file: " and the path when the file hook gives nothing.
SkeletonData *SkeletonJson_readSkeletonDataFile(SkeletonJson *pReader, const char *pPath);

// One member of "animations": a new Animation, or null with the error text set.
Animation *SkeletonJson_readAnimation(SkeletonJson *pReader, JsonNode *pAnimation, SkeletonData *pData);

// Why a number read from a file cannot be used: "not finite", or "out of range" beyond the
// engine's coordinate limit either way (no length, angle, scale or time comes near it); null
// when it can.
const char *SkeletonJson_numberFault(float pValue);
// The document the reader's messages name: the file's path, or "skeleton text".
const char *SkeletonJson_source(const SkeletonJson *pReader);

// Component 0 to 3 (red, green, blue, alpha) of an "RRGGBBAA" text: the two hex digits / 255;
// -1 when the text is not exactly eight characters or the pair is not two hex digits.
float SkeletonJson_colorComponent(const char *pText, int32_t pIndex);

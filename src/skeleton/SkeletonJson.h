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
// animation is left out and sets the error text, and the data is still returned. A setup number
// that is not finite reads as its default, and skin entries under a slot the skeleton lacks are
// left out; each is named on standard error.
SkeletonData *SkeletonJson_readSkeletonData(SkeletonJson *pReader, const char *pText);
SkeletonData *SkeletonJson_readSkeletonDataLength(SkeletonJson *pReader, const char *pText, size_t pLength);
// "Unable to read skeleton file: " and the path when the file hook gives nothing.
SkeletonData *SkeletonJson_readSkeletonDataFile(SkeletonJson *pReader, const char *pPath);

// One member of "animations": a new Animation, or null with the error text set.
Animation *SkeletonJson_readAnimation(SkeletonJson *pReader, JsonNode *pAnimation, SkeletonData *pData);

// Component 0 to 3 (red, green, blue, alpha) of an "RRGGBBAA" text: the two hex digits / 255;
// -1 when the text is not exactly eight characters or the pair is not two hex digits.
float SkeletonJson_colorComponent(const char *pText, int32_t pIndex);

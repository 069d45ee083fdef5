#pragma once

#include <cstdint>

struct Atlas;
struct Attachment;
struct Skin;
struct AttachmentLoader;

struct AttachmentLoaderFunctions
{
    // Null with the error texts set on failure; null without them to skip the entry.
    Attachment *(*mNewAttachment)(AttachmentLoader *pLoader, Skin *pSkin, int32_t pType, const char *pName);
    void (*mDispose)(AttachmentLoader *pLoader);
};

// Makes the attachments the skeleton reader asks for. Its two error texts describe the last
// failure until the next request.
struct AttachmentLoader
{
    char *mError1;
    char *mError2;
    const AttachmentLoaderFunctions *rFunctions;
};

// Clears both error texts, then asks the loader.
Attachment *AttachmentLoader_newAttachment(AttachmentLoader *pLoader, Skin *pSkin, int32_t pType, const char *pName);
void AttachmentLoader_dispose(AttachmentLoader *pLoader);
void AttachmentLoader_setError(AttachmentLoader *pLoader, const char *pError1, const char *pError2);

// Region attachments from the atlas's regions (not owned) and bounding boxes; every other
// kind fails with "Unknown attachment type: " and its number.
struct AtlasAttachmentLoader
{
    AttachmentLoader mSuper;
    Atlas *rAtlas;
};

AtlasAttachmentLoader *AtlasAttachmentLoader_create(Atlas *pAtlas);

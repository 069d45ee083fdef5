#include "skeleton/AttachmentLoader.h"

#include <cstdio>

#include "skeleton/Atlas.h"
#include "skeleton/Attachment.h"
#include "skeleton/SkeletonRuntime.h"

Attachment *AttachmentLoader_newAttachment(AttachmentLoader *pLoader, Skin *pSkin, int32_t pType, const char *pName)
{
    Runtime_free(pLoader->mError1);
    Runtime_free(pLoader->mError2);
    pLoader->mError1 = nullptr;
    pLoader->mError2 = nullptr;
    return pLoader->rFunctions->mNewAttachment(pLoader, pSkin, pType, pName);
}

void AttachmentLoader_dispose(AttachmentLoader *pLoader)
{
    if(!pLoader) return;
    Runtime_free(pLoader->mError1);
    Runtime_free(pLoader->mError2);
    pLoader->rFunctions->mDispose(pLoader);
}

void AttachmentLoader_setError(AttachmentLoader *pLoader, const char *pError1, const char *pError2)
{
    Runtime_resetString(&pLoader->mError1, pError1);
    Runtime_resetString(&pLoader->mError2, pError2);
}

static Attachment *AtlasAttachmentLoader_newAttachment(AttachmentLoader *pLoader, Skin *pSkin, int32_t pType,
                                                       const char *pName)
{
    AtlasAttachmentLoader *rSelf = (AtlasAttachmentLoader *)pLoader;
    if(pType == ATTACHMENT_REGION)
    {
        AtlasRegion *rRegion = Atlas_findRegion(rSelf->rAtlas, pName);
        if(!rRegion)
        {
            AttachmentLoader_setError(pLoader, "Region not found: ", pName);
            return nullptr;
        }
        RegionAttachment *nAttachment = RegionAttachment_create(pName);
        if(!nAttachment) return nullptr;
        nAttachment->rRendererObject = rRegion;
        RegionAttachment_setUVs(nAttachment, rRegion->mU, rRegion->mV, rRegion->mUMax, rRegion->mVMax, rRegion->mRotate);
        nAttachment->mRegionOffsetX = (float)rRegion->mOffsetX;
        nAttachment->mRegionOffsetY = (float)rRegion->mOffsetY;
        nAttachment->mRegionWidth = (float)rRegion->mWidth;
        nAttachment->mRegionHeight = (float)rRegion->mHeight;
        nAttachment->mRegionOriginalWidth = (float)rRegion->mOriginalWidth;
        nAttachment->mRegionOriginalHeight = (float)rRegion->mOriginalHeight;
        return &nAttachment->mSuper;
    }
    if(pType == ATTACHMENT_BOUNDING_BOX)
    {
        BoundingBoxAttachment *nBox = BoundingBoxAttachment_create(pName);
        return nBox ? &nBox->mSuper : nullptr;
    }
    char tNumber[16];
    snprintf(tNumber, sizeof(tNumber), "%d", pType);
    AttachmentLoader_setError(pLoader, "Unknown attachment type: ", tNumber);
    return nullptr;
}

static void AtlasAttachmentLoader_dispose(AttachmentLoader *pLoader)
{
    Runtime_free(pLoader);
}

static const AttachmentLoaderFunctions cAtlasLoaderFunctions = {AtlasAttachmentLoader_newAttachment,
                                                               AtlasAttachmentLoader_dispose};

AtlasAttachmentLoader *AtlasAttachmentLoader_create(Atlas *pAtlas)
{
    AtlasAttachmentLoader *nLoader = (AtlasAttachmentLoader *)Runtime_calloc(1, sizeof(AtlasAttachmentLoader));
    if(!nLoader) return nullptr;
    nLoader->mSuper.rFunctions = &cAtlasLoaderFunctions;
    nLoader->rAtlas = pAtlas;
    return nLoader;
}

#include "skeleton/SkeletonJson.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "core/Geometry.h"
#include "skeleton/Animation.h"
#include "skeleton/Atlas.h"
#include "skeleton/Attachment.h"
#include "skeleton/AttachmentLoader.h"
#include "skeleton/Json.h"
#include "skeleton/SkeletonData.h"
#include "skeleton/SkeletonRuntime.h"

SkeletonJson *SkeletonJson_createWithLoader(AttachmentLoader *pLoader)
{
    SkeletonJson *nReader = (SkeletonJson *)Runtime_calloc(1, sizeof(SkeletonJson));
    if(!nReader) return nullptr;
    nReader->mScale = 1.0f;
    nReader->rAttachmentLoader = pLoader;
    return nReader;
}

SkeletonJson *SkeletonJson_create(Atlas *pAtlas)
{
    AtlasAttachmentLoader *nLoader = AtlasAttachmentLoader_create(pAtlas);
    if(!nLoader) return nullptr;
    SkeletonJson *nReader = SkeletonJson_createWithLoader(&nLoader->mSuper);
    if(!nReader)
    {
        AttachmentLoader_dispose(&nLoader->mSuper);
        return nullptr;
    }
    nReader->mOwnsLoader = 1;
    return nReader;
}

void SkeletonJson_dispose(SkeletonJson *pReader)
{
    if(!pReader) return;
    if(pReader->mOwnsLoader) AttachmentLoader_dispose(pReader->rAttachmentLoader);
    Runtime_free(pReader->mError);
    Runtime_free(pReader);
}

static int32_t HexDigit(char pChar)
{
    if(pChar >= '0' && pChar <= '9') return pChar - '0';
    if(pChar >= 'a' && pChar <= 'f') return pChar - 'a' + 10;
    if(pChar >= 'A' && pChar <= 'F') return pChar - 'A' + 10;
    return -1;
}

float SkeletonJson_colorComponent(const char *pText, int32_t pIndex)
{
    if(!pText || pIndex < 0 || pIndex > 3 || strlen(pText) != 8) return -1.0f;
    int32_t tHigh = HexDigit(pText[pIndex * 2]);
    int32_t tLow = HexDigit(pText[pIndex * 2 + 1]);
    if(tHigh < 0 || tLow < 0) return -1.0f;
    return (float)(tHigh * 16 + tLow) / 255.0f;
}

// Fails the whole read: releases what was built. A null first text keeps the error a step set.
static SkeletonData *Fail(SkeletonJson *pReader, JsonNode *pRoot, SkeletonData *pData, const char *pFirst, const char *pSecond)
{
    if(pFirst) Runtime_setError(&pReader->mError, pFirst, pSecond);
    else if(!pReader->mError) Runtime_setError(&pReader->mError, "Out of memory", "");
    SkeletonData_dispose(pData);
    Json_dispose(pRoot);
    return nullptr;
}

const char *SkeletonJson_source(const SkeletonJson *pReader)
{
    return pReader->rPath ? pReader->rPath : "skeleton text";
}

const char *SkeletonJson_numberFault(float pValue)
{
    if(!std::isfinite(pValue)) return "not finite";
    if(fabsf(pValue) > (float)GEOMETRY_COORDINATE_LIMIT) return "out of range";
    return nullptr;
}

// Numbers past the float range read as infinite, and every corner posed from one would be NaN;
// a finite but absurd one would put the part off any map.
static float ReadFinite(SkeletonJson *pReader, JsonNode *pObject, const char *pKey, float pDefault, float pScale,
                        const char *pKind, const char *pName)
{
    const float tValue = Json_getFloat(pObject, pKey, pDefault) * pScale;
    const char *rFault = SkeletonJson_numberFault(tValue);
    if(!rFault) return tValue;
    fprintf(stderr, "SkeletonJson: %s: %s %s has %s %s, dropped\n", SkeletonJson_source(pReader), pKind, pName, pKey, rFault);
    return pDefault * pScale;
}

static bool ReadBones(SkeletonJson *pReader, JsonNode *pBones, SkeletonData *pData)
{
    const float tScale = pReader->mScale;
    pData->mBones = (BoneData **)Runtime_calloc((size_t)pBones->mSize, sizeof(BoneData *));
    if(!pData->mBones) return false;
    for(JsonNode *rBone = pBones->mChild; rBone; rBone = rBone->mNext)
    {
        BoneData *rParent = nullptr;
        if(Json_getItem(rBone, "parent"))
        {
            const char *rParentName = Json_getString(rBone, "parent", nullptr);
            rParent = SkeletonData_findBone(pData, rParentName);
            if(!rParent)
            {
                Runtime_setError(&pReader->mError, "Parent bone not found: ", rParentName);
                return false;
            }
        }
        const char *rName = Json_getString(rBone, "name", nullptr);
        if(!rName)
        {
            Runtime_setError(&pReader->mError, "Bone has no name: ", "");
            return false;
        }
        BoneData *nBone = BoneData_create(rName, rParent);
        if(!nBone) return false;
        pData->mBones[pData->mBoneCount++] = nBone;
        nBone->mLength = ReadFinite(pReader, rBone, "length", 0.0f, tScale, "bone", rName);
        nBone->mX = ReadFinite(pReader, rBone, "x", 0.0f, tScale, "bone", rName);
        nBone->mY = ReadFinite(pReader, rBone, "y", 0.0f, tScale, "bone", rName);
        nBone->mRotation = ReadFinite(pReader, rBone, "rotation", 0.0f, 1.0f, "bone", rName);
        nBone->mScaleX = ReadFinite(pReader, rBone, "scaleX", 1.0f, 1.0f, "bone", rName);
        nBone->mScaleY = ReadFinite(pReader, rBone, "scaleY", 1.0f, 1.0f, "bone", rName);
        nBone->mInheritScale = Json_getInt(rBone, "inheritScale", 1);
        nBone->mInheritRotation = Json_getInt(rBone, "inheritRotation", 1);
    }
    if(pData->mBoneCount > 0) return true;
    Runtime_setError(&pReader->mError, "Skeleton has no bones", "");
    return false;
}

static bool ReadSlots(SkeletonJson *pReader, JsonNode *pSlots, SkeletonData *pData)
{
    pData->mSlots = (SlotData **)Runtime_calloc((size_t)pSlots->mSize, sizeof(SlotData *));
    if(!pData->mSlots) return false;
    for(JsonNode *rSlot = pSlots->mChild; rSlot; rSlot = rSlot->mNext)
    {
        const char *rBoneName = Json_getString(rSlot, "bone", nullptr);
        BoneData *rBone = SkeletonData_findBone(pData, rBoneName);
        if(!rBone)
        {
            Runtime_setError(&pReader->mError, "Slot bone not found: ", rBoneName);
            return false;
        }
        const char *rName = Json_getString(rSlot, "name", nullptr);
        if(!rName)
        {
            Runtime_setError(&pReader->mError, "Slot has no name: ", "");
            return false;
        }
        SlotData *nSlot = SlotData_create(rName, rBone);
        if(!nSlot) return false;
        pData->mSlots[pData->mSlotCount++] = nSlot;
        // A colour that is not text keeps the default white.
        const char *rColour = Json_getString(rSlot, "color", nullptr);
        if(rColour)
        {
            nSlot->mR = SkeletonJson_colorComponent(rColour, 0);
            nSlot->mG = SkeletonJson_colorComponent(rColour, 1);
            nSlot->mB = SkeletonJson_colorComponent(rColour, 2);
            nSlot->mA = SkeletonJson_colorComponent(rColour, 3);
        }
        SlotData_setAttachmentName(nSlot, Json_getString(rSlot, "attachment", nullptr));
        nSlot->mAdditiveBlending = Json_getInt(rSlot, "additive", 0);
    }
    return true;
}

// One skin entry's attachment; false when reading must fail (error set), true with null to skip.
static bool ReadAttachment(SkeletonJson *pReader, Skin *pSkin, JsonNode *pEntry, Attachment **sAttachment)
{
    *sAttachment = nullptr;
    const float tScale = pReader->mScale;
    const char *rName = Json_getString(pEntry, "name", pEntry->mName);
    if(!rName) rName = pEntry->mName;
    const char *rType = Json_getString(pEntry, "type", "region");
    int32_t tType = -1;
    if(rType && strcmp(rType, "region") == 0) tType = ATTACHMENT_REGION;
    else if(rType && strcmp(rType, "regionsequence") == 0) tType = ATTACHMENT_REGION_SEQUENCE;
    else if(rType && strcmp(rType, "boundingbox") == 0) tType = ATTACHMENT_BOUNDING_BOX;
    if(tType < 0)
    {
        Runtime_setError(&pReader->mError, "Unknown attachment type: ", rType);
        return false;
    }

    AttachmentLoader *rLoader = pReader->rAttachmentLoader;
    Attachment *nAttachment = AttachmentLoader_newAttachment(rLoader, pSkin, tType, rName);
    if(!nAttachment)
    {
        if(!rLoader->mError1) return true;
        Runtime_setError(&pReader->mError, rLoader->mError1, rLoader->mError2);
        return false;
    }

    if(nAttachment->mType == ATTACHMENT_REGION || nAttachment->mType == ATTACHMENT_REGION_SEQUENCE)
    {
        RegionAttachment *rRegion = (RegionAttachment *)nAttachment;
        rRegion->mX = ReadFinite(pReader, pEntry, "x", 0.0f, tScale, "attachment", rName);
        rRegion->mY = ReadFinite(pReader, pEntry, "y", 0.0f, tScale, "attachment", rName);
        rRegion->mScaleX = ReadFinite(pReader, pEntry, "scaleX", 1.0f, 1.0f, "attachment", rName);
        rRegion->mScaleY = ReadFinite(pReader, pEntry, "scaleY", 1.0f, 1.0f, "attachment", rName);
        rRegion->mRotation = ReadFinite(pReader, pEntry, "rotation", 0.0f, 1.0f, "attachment", rName);
        rRegion->mWidth = ReadFinite(pReader, pEntry, "width", 32.0f, tScale, "attachment", rName);
        rRegion->mHeight = ReadFinite(pReader, pEntry, "height", 32.0f, tScale, "attachment", rName);
        RegionAttachment_updateOffset(rRegion);
    }
    else if(nAttachment->mType == ATTACHMENT_BOUNDING_BOX)
    {
        // Vertices come in x, y pairs: an odd last value is dropped.
        BoundingBoxAttachment *rBox = (BoundingBoxAttachment *)nAttachment;
        JsonNode *rVertices = Json_getItem(pEntry, "vertices");
        int32_t tCount = rVertices ? rVertices->mSize & ~1 : 0;
        if(tCount > 0)
        {
            rBox->mVertices = (float *)Runtime_calloc((size_t)tCount, sizeof(float));
            if(!rBox->mVertices)
            {
                Attachment_dispose(nAttachment);
                return false;
            }
            rBox->mVerticesCount = tCount;
            JsonNode *rValue = rVertices->mChild;
            const char *rDropped = nullptr;
            for(int32_t i = 0; i < tCount && rValue; i++, rValue = rValue->mNext)
            {
                rBox->mVertices[i] = rValue->mValueFloat * tScale;
                const char *rFault = SkeletonJson_numberFault(rBox->mVertices[i]);
                if(!rFault) continue;
                rBox->mVertices[i] = 0.0f;
                if(!rDropped) rDropped = rFault;
            }
            if(rDropped)
                fprintf(stderr, "SkeletonJson: %s: attachment %s has vertices %s, dropped\n", SkeletonJson_source(pReader),
                        rName, rDropped);
        }
    }
    *sAttachment = nAttachment;
    return true;
}

static bool ReadSkins(SkeletonJson *pReader, JsonNode *pSkins, SkeletonData *pData)
{
    pData->mSkins = (Skin **)Runtime_calloc((size_t)pSkins->mSize, sizeof(Skin *));
    if(!pData->mSkins) return false;
    for(JsonNode *rSkinNode = pSkins->mChild; rSkinNode; rSkinNode = rSkinNode->mNext)
    {
        if(!rSkinNode->mName) continue;
        Skin *nSkin = Skin_create(rSkinNode->mName);
        if(!nSkin) return false;
        pData->mSkins[pData->mSkinCount++] = nSkin;
        if(strcmp(rSkinNode->mName, "default") == 0) pData->rDefaultSkin = nSkin;
        for(JsonNode *rSlotNode = rSkinNode->mChild; rSlotNode; rSlotNode = rSlotNode->mNext)
        {
            // Entries under a slot the skeleton does not have could never be shown.
            int32_t tSlotIndex = SkeletonData_findSlotIndex(pData, rSlotNode->mName);
            if(tSlotIndex < 0)
            {
                fprintf(stderr, "SkeletonJson: %s: skin %s names no slot %s, its entries dropped\n", SkeletonJson_source(pReader),
                        rSkinNode->mName, rSlotNode->mName ? rSlotNode->mName : "");
                continue;
            }
            for(JsonNode *rEntry = rSlotNode->mChild; rEntry; rEntry = rEntry->mNext)
            {
                if(!rEntry->mName) continue;
                Attachment *nAttachment = nullptr;
                if(!ReadAttachment(pReader, nSkin, rEntry, &nAttachment)) return false;
                if(nAttachment) Skin_addAttachment(nSkin, tSlotIndex, rEntry->mName, nAttachment);
            }
        }
    }
    return true;
}

static bool ReadEvents(JsonNode *pEvents, SkeletonData *pData)
{
    pData->mEvents = (EventData **)Runtime_calloc((size_t)pEvents->mSize, sizeof(EventData *));
    if(!pData->mEvents) return false;
    for(JsonNode *rEvent = pEvents->mChild; rEvent; rEvent = rEvent->mNext)
    {
        if(!rEvent->mName) continue;
        EventData *nEvent = EventData_create(rEvent->mName);
        if(!nEvent) return false;
        pData->mEvents[pData->mEventCount++] = nEvent;
        nEvent->mIntValue = Json_getInt(rEvent, "int", 0);
        nEvent->mFloatValue = Json_getFloat(rEvent, "float", 0.0f);
        nEvent->mStringValue = Runtime_copyString(Json_getString(rEvent, "string", nullptr));
    }
    return true;
}

static bool ReadAnimations(SkeletonJson *pReader, JsonNode *pAnimations, SkeletonData *pData)
{
    pData->mAnimations = (Animation **)Runtime_calloc((size_t)pAnimations->mSize, sizeof(Animation *));
    if(!pData->mAnimations) return false;
    for(JsonNode *rAnimation = pAnimations->mChild; rAnimation; rAnimation = rAnimation->mNext)
    {
        if(!rAnimation->mName) continue;
        Animation *nAnimation = SkeletonJson_readAnimation(pReader, rAnimation, pData);
        if(nAnimation) pData->mAnimations[pData->mAnimationCount++] = nAnimation;
        // The rest of the skeleton is still usable; whoever plays this one later is told only
        // that it is missing, so the file and the reason are given here.
        else fprintf(stderr, "SkeletonJson: %s: animation %s cannot be read (%s), dropped\n", SkeletonJson_source(pReader),
                     rAnimation->mName, pReader->mError ? pReader->mError : "Out of memory");
    }
    return true;
}

SkeletonData *SkeletonJson_readSkeletonDataLength(SkeletonJson *pReader, const char *pText, size_t pLength)
{
    Runtime_free(pReader->mError);
    pReader->mError = nullptr;

    JsonNode *nRoot = Json_createWithLength(pText, pLength);
    if(!nRoot)
    {
        // The failing text is copied within the document's length.
        char tAt[RUNTIME_ERROR_LENGTH + 1] = "";
        const char *rError = Json_getError();
        if(rError && pText && rError >= pText && rError <= pText + pLength)
        {
            size_t tCount = (size_t)(pText + pLength - rError);
            if(tCount > RUNTIME_ERROR_LENGTH) tCount = RUNTIME_ERROR_LENGTH;
            memcpy(tAt, rError, tCount);
            tAt[tCount] = 0;
        }
        Runtime_setError(&pReader->mError, "Invalid skeleton JSON: ", tAt);
        return nullptr;
    }

    SkeletonData *nData = SkeletonData_create();
    if(!nData) return Fail(pReader, nRoot, nullptr, "Out of memory", "");

    JsonNode *rBones = Json_getItem(nRoot, "bones");
    if(!rBones || rBones->mSize <= 0) return Fail(pReader, nRoot, nData, "Skeleton has no bones", "");
    if(!ReadBones(pReader, rBones, nData)) return Fail(pReader, nRoot, nData, nullptr, nullptr);

    JsonNode *rSlots = Json_getItem(nRoot, "slots");
    if(rSlots && !ReadSlots(pReader, rSlots, nData)) return Fail(pReader, nRoot, nData, nullptr, nullptr);

    JsonNode *rSkins = Json_getItem(nRoot, "skins");
    if(rSkins && !ReadSkins(pReader, rSkins, nData)) return Fail(pReader, nRoot, nData, nullptr, nullptr);
    // Slots show only what a skin gives them.
    if(nData->mSlotCount > 0 && nData->mSkinCount == 0)
        fprintf(stderr, "SkeletonJson: %s: no skins, so none of its %i slots shows anything\n", SkeletonJson_source(pReader),
                (int)nData->mSlotCount);

    JsonNode *rEvents = Json_getItem(nRoot, "events");
    if(rEvents && !ReadEvents(rEvents, nData)) return Fail(pReader, nRoot, nData, "Out of memory", "");

    JsonNode *rAnimations = Json_getItem(nRoot, "animations");
    if(rAnimations && !ReadAnimations(pReader, rAnimations, nData)) return Fail(pReader, nRoot, nData, "Out of memory", "");

    Json_dispose(nRoot);
    return nData;
}

SkeletonData *SkeletonJson_readSkeletonData(SkeletonJson *pReader, const char *pText)
{
    return SkeletonJson_readSkeletonDataLength(pReader, pText, pText ? strlen(pText) : 0);
}

SkeletonData *SkeletonJson_readSkeletonDataFile(SkeletonJson *pReader, const char *pPath)
{
    int32_t tLength = 0;
    char *nText = Host_readFile(pPath, &tLength);
    if(!nText)
    {
        Runtime_setError(&pReader->mError, "Unable to read skeleton file: ", pPath);
        return nullptr;
    }
    pReader->rPath = pPath;
    SkeletonData *nData = SkeletonJson_readSkeletonDataLength(pReader, nText, (size_t)tLength);
    pReader->rPath = nullptr;
    Runtime_free(nText);
    return nData;
}

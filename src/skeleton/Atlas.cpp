#include "skeleton/Atlas.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "core/Geometry.h"
#include "skeleton/SkeletonRuntime.h"

const char *const cAtlasFormatNames[7] = {"Alpha", "Intensity", "LuminanceAlpha", "RGB565", "RGBA4444", "RGB888", "RGBA8888"};
const char *const cAtlasFilterNames[7] = {"Nearest", "Linear", "MipMap", "MipMapNearestNearest", "MipMapLinearNearest",
                                          "MipMapNearestLinear", "MipMapLinearLinear"};

namespace
{
    // A piece of the atlas text: [mBegin, mEnd).
    struct TextSpan
    {
        const char *mBegin;
        const char *mEnd;
    };

    bool IsSpace(char pChar)
    {
        return isspace((unsigned char)pChar) != 0;
    }

    void Trim(TextSpan &sSpan)
    {
        while(sSpan.mBegin < sSpan.mEnd && IsSpace(*sSpan.mBegin)) sSpan.mBegin++;
        while(sSpan.mEnd > sSpan.mBegin && IsSpace(sSpan.mEnd[-1])) sSpan.mEnd--;
    }

    // Cuts the next line off the text, trimmed; false at the end of the text.
    bool ReadLine(TextSpan &sText, TextSpan &sLine)
    {
        if(sText.mBegin >= sText.mEnd) return false;
        const char *tEnd = (const char *)memchr(sText.mBegin, '\n', (size_t)(sText.mEnd - sText.mBegin));
        if(!tEnd) tEnd = sText.mEnd;
        sLine.mBegin = sText.mBegin;
        sLine.mEnd = tEnd;
        sText.mBegin = tEnd < sText.mEnd ? tEnd + 1 : tEnd;
        Trim(sLine);
        return true;
    }

    // "key: value": the value after the first colon, trimmed.
    bool ReadValue(TextSpan &sText, TextSpan &sValue)
    {
        TextSpan tLine;
        if(!ReadLine(sText, tLine)) return false;
        const char *tColon = (const char *)memchr(tLine.mBegin, ':', (size_t)(tLine.mEnd - tLine.mBegin));
        if(!tColon) return false;
        sValue.mBegin = tColon + 1;
        sValue.mEnd = tLine.mEnd;
        Trim(sValue);
        return true;
    }

    // "key: a, b[, c[, d]]": the count of values (2 to 4), 0 on failure.
    int32_t ReadTuple(TextSpan &sText, TextSpan sValues[4])
    {
        TextSpan tLine;
        if(!ReadLine(sText, tLine)) return 0;
        const char *tColon = (const char *)memchr(tLine.mBegin, ':', (size_t)(tLine.mEnd - tLine.mBegin));
        if(!tColon) return 0;
        const char *tRead = tColon + 1;
        int32_t i = 0;
        for(; i < 3; i++)
        {
            const char *tComma = (const char *)memchr(tRead, ',', (size_t)(tLine.mEnd - tRead));
            if(!tComma) break;
            sValues[i].mBegin = tRead;
            sValues[i].mEnd = tComma;
            Trim(sValues[i]);
            tRead = tComma + 1;
        }
        if(i == 0) return 0;
        sValues[i].mBegin = tRead;
        sValues[i].mEnd = tLine.mEnd;
        Trim(sValues[i]);
        return i + 1;
    }

    // Where the atlas came from and which region is being read, for the messages about it.
    struct RegionReading
    {
        const char *rSource;
        const AtlasRegion *rRegion;
    };

    void ReportNumber(const RegionReading &pReading, const char *pKey, const TextSpan &pSpan, const char *pFault, int32_t pRead)
    {
        const int tLength = (int)(pSpan.mEnd - pSpan.mBegin);
        fprintf(stderr, "Atlas: %s: region %s has %s %.*s, %s, read as %i\n", pReading.rSource,
                pReading.rRegion->mName ? pReading.rRegion->mName : "", pKey, tLength > 32 ? 32 : tLength, pSpan.mBegin,
                pFault, (int)pRead);
    }

    // A whole number: an optional sign and decimal digits, no further from 0 than the engine's
    // coordinate limit. Anything else (a fraction, an exponent, "inf", "nan", a word) is named
    // and reads as the default.
    int32_t ReadWhole(const RegionReading &pReading, const char *pKey, const TextSpan &pSpan, int32_t pDefault)
    {
        const char *tRead = pSpan.mBegin;
        const bool tNegative = tRead < pSpan.mEnd && *tRead == '-';
        if(tRead < pSpan.mEnd && (*tRead == '-' || *tRead == '+')) tRead++;
        int64_t tValue = 0;
        bool tDigits = tRead < pSpan.mEnd;
        for(; tRead < pSpan.mEnd && tDigits; tRead++)
        {
            tDigits = *tRead >= '0' && *tRead <= '9';
            // Past the limit the value only has to stay past it.
            if(tDigits && tValue <= GEOMETRY_COORDINATE_LIMIT) tValue = tValue * 10 + (*tRead - '0');
        }
        const char *rFault = nullptr;
        if(!tDigits) rFault = "not a whole number";
        else if(tValue > GEOMETRY_COORDINATE_LIMIT) rFault = "out of range";
        if(!rFault) return (int32_t)(tNegative ? -tValue : tValue);
        ReportNumber(pReading, pKey, pSpan, rFault, pDefault);
        return pDefault;
    }

    // The value equals pWord's leading characters (the empty value included).
    bool IsPrefixOf(const TextSpan &pSpan, const char *pWord)
    {
        size_t tLength = (size_t)(pSpan.mEnd - pSpan.mBegin);
        return tLength <= strlen(pWord) && strncmp(pSpan.mBegin, pWord, tLength) == 0;
    }

    // Index of the first name, from the last to the first, whose leading characters equal the
    // value over the value's own length; -1 when none does.
    int32_t IndexOf(const char *const *pNames, int32_t pCount, const TextSpan &pSpan)
    {
        size_t tLength = (size_t)(pSpan.mEnd - pSpan.mBegin);
        for(int32_t i = pCount - 1; i >= 0; i--)
        {
            if(strlen(pNames[i]) >= tLength && strncmp(pNames[i], pSpan.mBegin, tLength) == 0) return i;
        }
        return -1;
    }

    // A tuple of exactly two whole numbers; each that is not one reads as 0.
    bool ReadPair(const RegionReading &pReading, const char *pKey, TextSpan &sText, int32_t &sA, int32_t &sB)
    {
        TextSpan tValues[4];
        if(ReadTuple(sText, tValues) != 2) return false;
        sA = ReadWhole(pReading, pKey, tValues[0], 0);
        sB = ReadWhole(pReading, pKey, tValues[1], 0);
        return true;
    }

    int32_t *CopyFour(const RegionReading &pReading, const char *pKey, const TextSpan pValues[4])
    {
        int32_t *nArray = (int32_t *)Runtime_calloc(4, sizeof(int32_t));
        if(!nArray) return nullptr;
        for(int32_t i = 0; i < 4; i++) nArray[i] = ReadWhole(pReading, pKey, pValues[i], 0);
        return nArray;
    }

    char *PagePath(const char *pDirectory, const TextSpan &pName)
    {
        size_t tDirLength = strlen(pDirectory);
        size_t tNameLength = (size_t)(pName.mEnd - pName.mBegin);
        bool tSlash = tDirLength > 0 && pDirectory[tDirLength - 1] != '/' && pDirectory[tDirLength - 1] != '\\';
        char *nPath = (char *)Runtime_malloc(tDirLength + (tSlash ? 1 : 0) + tNameLength + 1);
        if(!nPath) return nullptr;
        memcpy(nPath, pDirectory, tDirLength);
        size_t tAt = tDirLength;
        if(tSlash) nPath[tAt++] = '/';
        memcpy(nPath + tAt, pName.mBegin, tNameLength);
        nPath[tAt + tNameLength] = 0;
        return nPath;
    }

    // The three header lines of a page, then the host's texture hook.
    bool ReadPageHeader(TextSpan &sText, AtlasPage *pPage, const char *pDirectory, const TextSpan &pName)
    {
        TextSpan tValue;
        TextSpan tValues[4];
        if(!ReadValue(sText, tValue)) return false;
        pPage->mFormat = IndexOf(cAtlasFormatNames, 7, tValue);
        if(!ReadTuple(sText, tValues)) return false;
        pPage->mMinFilter = IndexOf(cAtlasFilterNames, 7, tValues[0]);
        pPage->mMagFilter = IndexOf(cAtlasFilterNames, 7, tValues[1]);
        if(!ReadValue(sText, tValue)) return false;
        if(IsPrefixOf(tValue, "none"))
        {
            pPage->mUWrap = 0;
            pPage->mVWrap = 0;
        }
        else if(tValue.mBegin < tValue.mEnd && *tValue.mBegin == 'x')
        {
            pPage->mUWrap = 2;
            pPage->mVWrap = 1;
        }
        else if(tValue.mBegin < tValue.mEnd && *tValue.mBegin == 'y')
        {
            pPage->mUWrap = 1;
            pPage->mVWrap = 2;
        }
        else
        {
            pPage->mUWrap = 2;
            pPage->mVWrap = 2;
        }
        char *nPath = PagePath(pDirectory, pName);
        if(!nPath) return false;
        Host_createAtlasTexture(pPage, nPath);
        Runtime_free(nPath);
        return true;
    }

    bool ReadRegionRest(const RegionReading &pReading, TextSpan &sText, AtlasRegion *pRegion);

    bool ReadRegion(const char *pSource, TextSpan &sText, AtlasRegion *pRegion)
    {
        const RegionReading tReading = {pSource, pRegion};
        TextSpan tValue;
        if(!ReadValue(sText, tValue)) return false;
        pRegion->mRotate = IsPrefixOf(tValue, "true");

        if(!ReadPair(tReading, "xy", sText, pRegion->mX, pRegion->mY)) return false;
        if(!ReadPair(tReading, "size", sText, pRegion->mWidth, pRegion->mHeight)) return false;
        // A page the host gave no size keeps every texture coordinate at 0.
        const AtlasPage *rPage = pRegion->rPage;
        if(rPage->mWidth <= 0 || rPage->mHeight <= 0) return ReadRegionRest(tReading, sText, pRegion);
        float tPageW = (float)rPage->mWidth;
        float tPageH = (float)rPage->mHeight;
        const float tX = (float)pRegion->mX, tY = (float)pRegion->mY;
        const float tW = (float)pRegion->mWidth, tH = (float)pRegion->mHeight;
        pRegion->mU = tX / tPageW;
        pRegion->mV = tY / tPageH;
        pRegion->mUMax = (tX + (pRegion->mRotate ? tH : tW)) / tPageW;
        pRegion->mVMax = (tY + (pRegion->mRotate ? tW : tH)) / tPageH;
        return ReadRegionRest(tReading, sText, pRegion);
    }

    // What follows a region's size: optional splits and pads, untrimmed size, offset, index.
    bool ReadRegionRest(const RegionReading &pReading, TextSpan &sText, AtlasRegion *pRegion)
    {
        TextSpan tValue;
        TextSpan tValues[4];
        int32_t tCount = ReadTuple(sText, tValues);
        if(tCount == 4)
        {
            pRegion->mSplits = CopyFour(pReading, "split", tValues);
            tCount = ReadTuple(sText, tValues);
            if(tCount == 4)
            {
                pRegion->mPads = CopyFour(pReading, "pad", tValues);
                tCount = ReadTuple(sText, tValues);
            }
        }
        // An unreadable untrimmed size means the region is not trimmed.
        pRegion->mOriginalWidth = tCount >= 2 ? ReadWhole(pReading, "orig", tValues[0], pRegion->mWidth) : pRegion->mWidth;
        pRegion->mOriginalHeight = tCount >= 2 ? ReadWhole(pReading, "orig", tValues[1], pRegion->mHeight) : pRegion->mHeight;

        // A bad offset line reads as no offset and does not stop the region.
        if(ReadTuple(sText, tValues) >= 2)
        {
            pRegion->mOffsetX = ReadWhole(pReading, "offset", tValues[0], 0);
            pRegion->mOffsetY = ReadWhole(pReading, "offset", tValues[1], 0);
        }

        if(!ReadValue(sText, tValue)) return false;
        pRegion->mIndex = ReadWhole(pReading, "index", tValue, -1);
        return true;
    }
}

static Atlas *ReadAtlasText(const char *pText, int32_t pLength, const char *pDirectory, const char *pSource);

char *Atlas_directoryOf(const char *pPath)
{
    if(!pPath) return Runtime_copyString("");
    const char *tSlash = strrchr(pPath, '/');
    const char *tBackslash = strrchr(pPath, '\\');
    const char *tLast = tSlash > tBackslash ? tSlash : tBackslash;
    if(!tLast) return Runtime_copyString("");
    if(tLast == pPath) return Runtime_copyStringLength(pPath, 1);
    return Runtime_copyStringLength(pPath, (size_t)(tLast - pPath));
}

Atlas *Atlas_readAtlas(const char *pText, int32_t pLength, const char *pDirectory)
{
    return ReadAtlasText(pText, pLength, pDirectory, "atlas text");
}

// The reader itself; pSource names the atlas in the messages about its numbers.
static Atlas *ReadAtlasText(const char *pText, int32_t pLength, const char *pDirectory, const char *pSource)
{
    if(!pText || pLength < 0) return nullptr;
    if(!pDirectory) pDirectory = "";
    Atlas *nAtlas = (Atlas *)Runtime_calloc(1, sizeof(Atlas));
    if(!nAtlas) return nullptr;
    TextSpan tText = {pText, pText + pLength};
    AtlasPage *rPage = nullptr;
    AtlasPage *rLastPage = nullptr;
    AtlasRegion *rLastRegion = nullptr;
    TextSpan tLine;
    bool tFailed = false;
    while(!tFailed && ReadLine(tText, tLine))
    {
        if(tLine.mBegin == tLine.mEnd)
        {
            rPage = nullptr;
            continue;
        }
        if(!rPage)
        {
            AtlasPage *nPage = (AtlasPage *)Runtime_calloc(1, sizeof(AtlasPage));
            if(!nPage)
            {
                tFailed = true;
                break;
            }
            nPage->mName = Runtime_copyStringLength(tLine.mBegin, (size_t)(tLine.mEnd - tLine.mBegin));
            if(rLastPage) rLastPage->mNext = nPage;
            else nAtlas->mPages = nPage;
            rLastPage = nPage;
            rPage = nPage;
            tFailed = !ReadPageHeader(tText, nPage, pDirectory, tLine);
            continue;
        }
        AtlasRegion *nRegion = (AtlasRegion *)Runtime_calloc(1, sizeof(AtlasRegion));
        if(!nRegion)
        {
            tFailed = true;
            break;
        }
        nRegion->mName = Runtime_copyStringLength(tLine.mBegin, (size_t)(tLine.mEnd - tLine.mBegin));
        nRegion->rPage = rPage;
        if(rLastRegion) rLastRegion->mNext = nRegion;
        else nAtlas->mRegions = nRegion;
        rLastRegion = nRegion;
        tFailed = !ReadRegion(pSource, tText, nRegion);
    }
    if(tFailed)
    {
        Atlas_dispose(nAtlas);
        return nullptr;
    }
    return nAtlas;
}

Atlas *Atlas_readAtlasFile(const char *pPath)
{
    int32_t tLength = 0;
    char *nText = Host_readFile(pPath, &tLength);
    if(!nText) return nullptr;
    char *nDirectory = Atlas_directoryOf(pPath);
    Atlas *nAtlas = nDirectory ? ReadAtlasText(nText, tLength, nDirectory, pPath) : nullptr;
    Runtime_free(nDirectory);
    Runtime_free(nText);
    return nAtlas;
}

AtlasRegion *Atlas_findRegion(const Atlas *pAtlas, const char *pName)
{
    if(!pAtlas || !pName) return nullptr;
    for(AtlasRegion *rRegion = pAtlas->mRegions; rRegion; rRegion = rRegion->mNext)
    {
        if(rRegion->mName && strcmp(rRegion->mName, pName) == 0) return rRegion;
    }
    return nullptr;
}

void Atlas_dispose(Atlas *pAtlas)
{
    if(!pAtlas) return;
    AtlasPage *rPage = pAtlas->mPages;
    while(rPage)
    {
        AtlasPage *rNext = rPage->mNext;
        Host_disposeAtlasTexture(rPage);
        Runtime_free(rPage->mName);
        Runtime_free(rPage);
        rPage = rNext;
    }
    AtlasRegion *rRegion = pAtlas->mRegions;
    while(rRegion)
    {
        AtlasRegion *rNext = rRegion->mNext;
        Runtime_free(rRegion->mName);
        Runtime_free(rRegion->mSplits);
        Runtime_free(rRegion->mPads);
        Runtime_free(rRegion);
        rRegion = rNext;
    }
    Runtime_free(pAtlas);
}

#include "skeleton/Json.h"

#include <cctype>
#include <cfloat>
#include <cmath>
#include <cstring>

#include "skeleton/SkeletonRuntime.h"

namespace
{
    // One parse: the text's end bounds every read.
    struct JsonCursor
    {
        const char *mEnd;
    };

    const char *xError = nullptr;

    JsonNode *NewNode()
    {
        return (JsonNode *)Runtime_calloc(1, sizeof(JsonNode));
    }

    const char *Fail(const char *pAt)
    {
        xError = pAt;
        return nullptr;
    }

    const char *SkipSpace(const JsonCursor &pCursor, const char *pAt)
    {
        while(pAt && pAt < pCursor.mEnd && (unsigned char)*pAt >= 1 && (unsigned char)*pAt <= 32) pAt++;
        return pAt;
    }

    bool Matches(const JsonCursor &pCursor, const char *pAt, const char *pWord)
    {
        size_t tLength = strlen(pWord);
        return (size_t)(pCursor.mEnd - pAt) >= tLength && strncmp(pAt, pWord, tLength) == 0;
    }

    // Four hex digits at pAt, or -1.
    int32_t ReadHex4(const JsonCursor &pCursor, const char *pAt)
    {
        if(pCursor.mEnd - pAt < 4) return -1;
        int32_t tValue = 0;
        for(int32_t i = 0; i < 4; i++)
        {
            unsigned char tDigit = (unsigned char)pAt[i];
            tValue <<= 4;
            if(tDigit >= '0' && tDigit <= '9') tValue |= tDigit - '0';
            else if(tDigit >= 'a' && tDigit <= 'f') tValue |= tDigit - 'a' + 10;
            else if(tDigit >= 'A' && tDigit <= 'F') tValue |= tDigit - 'A' + 10;
            else return -1;
        }
        return tValue;
    }

    int32_t EncodeUtf8(uint32_t pCode, char *sOut)
    {
        if(pCode < 0x80)
        {
            sOut[0] = (char)pCode;
            return 1;
        }
        if(pCode < 0x800)
        {
            sOut[0] = (char)(0xC0 | (pCode >> 6));
            sOut[1] = (char)(0x80 | (pCode & 0x3F));
            return 2;
        }
        if(pCode < 0x10000)
        {
            sOut[0] = (char)(0xE0 | (pCode >> 12));
            sOut[1] = (char)(0x80 | ((pCode >> 6) & 0x3F));
            sOut[2] = (char)(0x80 | (pCode & 0x3F));
            return 3;
        }
        sOut[0] = (char)(0xF0 | (pCode >> 18));
        sOut[1] = (char)(0x80 | ((pCode >> 12) & 0x3F));
        sOut[2] = (char)(0x80 | ((pCode >> 6) & 0x3F));
        sOut[3] = (char)(0x80 | (pCode & 0x3F));
        return 4;
    }

    // Reads a quoted string starting at the quote into a new heap text. The decoded text is
    // never longer than the quoted source, which sizes the buffer.
    const char *ParseString(const JsonCursor &pCursor, const char *pAt, char **sText)
    {
        const char *tStart = pAt + 1;
        const char *tScan = tStart;
        while(tScan < pCursor.mEnd && *tScan != '"')
        {
            if(*tScan == '\\') tScan++;
            tScan++;
        }
        if(tScan >= pCursor.mEnd) return Fail(pAt);

        char *nText = (char *)Runtime_malloc((size_t)(tScan - tStart) + 1);
        if(!nText) return Fail(pAt);
        char *tOut = nText;
        const char *tRead = tStart;
        while(tRead < tScan)
        {
            if(*tRead != '\\')
            {
                *tOut++ = *tRead++;
                continue;
            }
            tRead++;
            char tEscape = *tRead++;
            switch(tEscape)
            {
            case 'b': *tOut++ = '\b'; break;
            case 'f': *tOut++ = '\f'; break;
            case 'n': *tOut++ = '\n'; break;
            case 'r': *tOut++ = '\r'; break;
            case 't': *tOut++ = '\t'; break;
            case 'u':
            {
                int32_t tCode = ReadHex4(pCursor, tRead);
                if(tCode < 0 || tRead + 4 > tScan)
                {
                    Runtime_free(nText);
                    return Fail(tRead);
                }
                tRead += 4;
                uint32_t tPoint = (uint32_t)tCode;
                // A lone low surrogate and code point 0 are dropped; so is a high surrogate that
                // no low surrogate follows.
                if(tPoint == 0 || (tPoint >= 0xDC00 && tPoint <= 0xDFFF)) break;
                if(tPoint >= 0xD800 && tPoint <= 0xDBFF)
                {
                    if(tScan - tRead < 6 || tRead[0] != '\\' || tRead[1] != 'u') break;
                    int32_t tLow = ReadHex4(pCursor, tRead + 2);
                    if(tLow < 0xDC00 || tLow > 0xDFFF) break;
                    tRead += 6;
                    tPoint = 0x10000 + (((tPoint & 0x3FF) << 10) | ((uint32_t)tLow & 0x3FF));
                }
                tOut += EncodeUtf8(tPoint, tOut);
                break;
            }
            default: *tOut++ = tEscape; break;
            }
        }
        *tOut = 0;
        *sText = nText;
        return tScan + 1;
    }

    const char *ParseNumber(const JsonCursor &pCursor, const char *pAt, JsonNode *pNode)
    {
        const char *tRead = pAt;
        double tSign = 1.0;
        double tDigits = 0.0;
        int32_t tScale = 0;
        if(tRead < pCursor.mEnd && *tRead == '-')
        {
            tSign = -1.0;
            tRead++;
        }
        if(tRead >= pCursor.mEnd || !isdigit((unsigned char)*tRead)) return Fail(pAt);
        while(tRead < pCursor.mEnd && *tRead == '0') tRead++;
        while(tRead < pCursor.mEnd && isdigit((unsigned char)*tRead)) tDigits = tDigits * 10.0 + (*tRead++ - '0');
        if(tRead < pCursor.mEnd && *tRead == '.' && tRead + 1 < pCursor.mEnd && isdigit((unsigned char)tRead[1]))
        {
            tRead++;
            while(tRead < pCursor.mEnd && isdigit((unsigned char)*tRead))
            {
                tDigits = tDigits * 10.0 + (*tRead++ - '0');
                if(tScale > -100000) tScale--;
            }
        }
        int32_t tExponent = 0;
        if(tRead < pCursor.mEnd && (*tRead == 'e' || *tRead == 'E'))
        {
            tRead++;
            int32_t tExponentSign = 1;
            if(tRead < pCursor.mEnd && (*tRead == '+' || *tRead == '-')) tExponentSign = *tRead++ == '-' ? -1 : 1;
            while(tRead < pCursor.mEnd && isdigit((unsigned char)*tRead))
            {
                // Beyond this every double is already 0 or infinite; saturate instead of wrapping.
                if(tExponent < 100000) tExponent = tExponent * 10 + (*tRead - '0');
                tRead++;
            }
            tExponent *= tExponentSign;
        }

        double tValue = 0.0;
        if(tDigits != 0.0)
        {
            if(std::isinf(tDigits)) tValue = tDigits;
            else tValue = tDigits * pow(10.0, (double)(tScale + tExponent));
            if(std::isnan(tValue)) tValue = 0.0;
        }
        tValue *= tSign;

        if(tValue > FLT_MAX) pNode->mValueFloat = INFINITY;
        else if(tValue < -FLT_MAX) pNode->mValueFloat = -INFINITY;
        else pNode->mValueFloat = (float)tValue;
        if(tValue >= 2147483647.0) pNode->mValueInt = INT32_MAX;
        else if(tValue <= -2147483648.0) pNode->mValueInt = INT32_MIN;
        else pNode->mValueInt = (int32_t)tValue;
        pNode->mType = JSON_NUMBER;
        return tRead;
    }

    const char *ParseValue(const JsonCursor &pCursor, const char *pAt, JsonNode *pNode, int32_t pDepth);

    // Elements of an array (pObject false) or members of an object, from after the opening
    // bracket to after the closing one.
    const char *ParseContainer(const JsonCursor &pCursor, const char *pAt, JsonNode *pNode, bool pObject,
                               int32_t pDepth)
    {
        const char tClose = pObject ? '}' : ']';
        pNode->mType = pObject ? JSON_OBJECT : JSON_ARRAY;
        if(pDepth >= JSON_MAX_DEPTH) return Fail(pAt);
        const char *tRead = SkipSpace(pCursor, pAt + 1);
        if(tRead < pCursor.mEnd && *tRead == tClose) return tRead + 1;

        JsonNode *rLast = nullptr;
        while(true)
        {
            JsonNode *nChild = NewNode();
            if(!nChild) return Fail(tRead);
            if(rLast)
            {
                rLast->mNext = nChild;
                nChild->mPrev = rLast;
            }
            else pNode->mChild = nChild;
            rLast = nChild;
            pNode->mSize++;

            if(pObject)
            {
                tRead = SkipSpace(pCursor, tRead);
                if(tRead >= pCursor.mEnd || *tRead != '"') return Fail(tRead);
                tRead = ParseString(pCursor, tRead, &nChild->mName);
                if(!tRead) return nullptr;
                tRead = SkipSpace(pCursor, tRead);
                if(tRead >= pCursor.mEnd || *tRead != ':') return Fail(tRead);
                tRead++;
            }
            tRead = SkipSpace(pCursor, ParseValue(pCursor, SkipSpace(pCursor, tRead), nChild, pDepth + 1));
            if(!tRead) return nullptr;
            if(tRead >= pCursor.mEnd) return Fail(tRead);
            if(*tRead == tClose) return tRead + 1;
            if(*tRead != ',') return Fail(tRead);
            tRead++;
        }
    }

    const char *ParseValue(const JsonCursor &pCursor, const char *pAt, JsonNode *pNode, int32_t pDepth)
    {
        if(!pAt) return nullptr;
        if(pAt >= pCursor.mEnd) return Fail(pAt);
        if(Matches(pCursor, pAt, "null"))
        {
            pNode->mType = JSON_NULL;
            return pAt + 4;
        }
        if(Matches(pCursor, pAt, "false"))
        {
            pNode->mType = JSON_FALSE;
            return pAt + 5;
        }
        if(Matches(pCursor, pAt, "true"))
        {
            pNode->mType = JSON_TRUE;
            pNode->mValueInt = 1;
            return pAt + 4;
        }
        if(*pAt == '"')
        {
            pNode->mType = JSON_STRING;
            return ParseString(pCursor, pAt, &pNode->mValueString);
        }
        if(*pAt == '-' || isdigit((unsigned char)*pAt)) return ParseNumber(pCursor, pAt, pNode);
        if(*pAt == '[') return ParseContainer(pCursor, pAt, pNode, false, pDepth);
        if(*pAt == '{') return ParseContainer(pCursor, pAt, pNode, true, pDepth);
        return Fail(pAt);
    }
}

JsonNode *Json_createWithLength(const char *pText, size_t pLength)
{
    xError = nullptr;
    if(!pText) return nullptr;
    JsonCursor tCursor = {pText + pLength};
    JsonNode *nRoot = NewNode();
    if(!nRoot) return nullptr;
    if(!ParseValue(tCursor, SkipSpace(tCursor, pText), nRoot, 0))
    {
        Json_dispose(nRoot);
        return nullptr;
    }
    return nRoot;
}

JsonNode *Json_create(const char *pText)
{
    return Json_createWithLength(pText, pText ? strlen(pText) : 0);
}

void Json_dispose(JsonNode *pNode)
{
    // Children are spliced into the sibling chain right after their parent, so the whole tree
    // is released in one walk whatever its depth or width.
    while(pNode)
    {
        if(pNode->mChild)
        {
            JsonNode *rLastChild = pNode->mChild;
            while(rLastChild->mNext) rLastChild = rLastChild->mNext;
            rLastChild->mNext = pNode->mNext;
            pNode->mNext = pNode->mChild;
            pNode->mChild = nullptr;
        }
        JsonNode *rNext = pNode->mNext;
        Runtime_free(pNode->mValueString);
        Runtime_free(pNode->mName);
        Runtime_free(pNode);
        pNode = rNext;
    }
}

JsonNode *Json_getItem(JsonNode *pObject, const char *pKey)
{
    if(!pObject || !pKey) return nullptr;
    for(JsonNode *rChild = pObject->mChild; rChild; rChild = rChild->mNext)
    {
        if(rChild->mName && strcasecmp(rChild->mName, pKey) == 0) return rChild;
    }
    return nullptr;
}

const char *Json_getString(JsonNode *pObject, const char *pKey, const char *pDefault)
{
    JsonNode *rItem = Json_getItem(pObject, pKey);
    return rItem ? rItem->mValueString : pDefault;
}

float Json_getFloat(JsonNode *pObject, const char *pKey, float pDefault)
{
    JsonNode *rItem = Json_getItem(pObject, pKey);
    return rItem ? rItem->mValueFloat : pDefault;
}

int32_t Json_getInt(JsonNode *pObject, const char *pKey, int32_t pDefault)
{
    JsonNode *rItem = Json_getItem(pObject, pKey);
    return rItem ? rItem->mValueInt : pDefault;
}

const char *Json_getError()
{
    return xError;
}

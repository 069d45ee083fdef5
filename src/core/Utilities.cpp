#include "core/Utilities.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "core/DebugPrint.h"
#include "core/NamedLinkedList.h"

static uint8_t xConsoleParseError = 0;

char *CopyText(const char *pText)
{
    if(!pText) return nullptr;
    size_t tLength = strlen(pText);
    char *nCopy = (char *)malloc(tLength + 1);
    if(nCopy) memcpy(nCopy, pText, tLength + 1);
    return nCopy;
}

void ResetString(char **pSlot, const char *pText)
{
    if(!pSlot || *pSlot == pText) return;
    // Copied before the old text goes, so a text that lies inside the old one survives.
    char *nCopy = CopyText(pText);
    free(*pSlot);
    *pSlot = nCopy;
}

TypedValue *NewTypedValue(void *pData, int32_t pType)
{
    TypedValue *nValue = (TypedValue *)malloc(sizeof(TypedValue));
    nValue->rData = pData;
    nValue->mType = pType;
    return nValue;
}

void DeleteTypedValueAndData(void *pValue)
{
    TypedValue *nValue = (TypedValue *)pValue;
    if(!nValue) return;
    free(nValue->rData);
    free(nValue);
}

float GetRandomFraction()
{
    return (float)(rand() % 1001) / 1000.0f;
}

uint32_t HashPointer(const void *pPointer)
{
    uint64_t tValue = (uint64_t)(uintptr_t)pPointer;
    tValue ^= tValue >> 17;
    tValue *= 0x9E3779B97F4A7C15ull;
    return (uint32_t)(tValue >> 32);
}

void CopyBytes(void *pDestination, const void *pSource, int32_t pCount)
{
    if(!pDestination || !pSource || pCount <= 0) return;
    memcpy(pDestination, pSource, (size_t)pCount);
}

static bool IsBlank(char pLetter)
{
    return pLetter == ' ' || pLetter == '\t';
}

static bool IsOpenQuote(const char *pLine, int32_t pPosition)
{
    return pLine[pPosition] == '"' && (pPosition == 0 || pLine[pPosition - 1] != '\\');
}

int32_t CountConsoleArguments(const char *pLine)
{
    return FindConsoleArgument(pLine, -1);
}

int32_t FindConsoleArgument(const char *pLine, int32_t pIndex)
{
    if(!pLine)
    {
        xConsoleParseError = 1;
        return 0;
    }

    int32_t tArgument = -1;
    bool tInQuote = false;
    bool tAfterBlanks = false;
    for(int32_t i = 0; pLine[i]; i++)
    {
        bool tQuote = IsOpenQuote(pLine, i);
        if(!tInQuote && !tQuote && IsBlank(pLine[i]))
        {
            tAfterBlanks = true;
            continue;
        }
        if(tAfterBlanks)
        {
            tAfterBlanks = false;
            tArgument++;
            if(tArgument == pIndex) return i;
        }
        if(tQuote) tInQuote = !tInQuote;
    }

    if(pIndex == -1) return tArgument + 1;
    xConsoleParseError = 1;
    return 0;
}

char *ParseQuotedConsoleArgument(const char *pLine, int32_t pIndex)
{
    Debug::PushPrint(1, "[Parsing] %s\n", pLine ? pLine : "(null)");
    if(!pLine || pIndex < 0)
    {
        xConsoleParseError = 1;
        Debug::PopPrint("[Parsing] Failed, invalid header.\n");
        return nullptr;
    }

    int32_t tStart = FindConsoleArgument(pLine, pIndex);
    if(tStart == 0)
    {
        xConsoleParseError = 1;
        Debug::PopPrint("[Parsing] 0th Letter is invalid.\n");
        return nullptr;
    }
    if(pLine[tStart] != '"')
    {
        xConsoleParseError = 1;
        Debug::PopPrint("[Parsing] String was not a quote-surrounded string, starting at %i.\n", tStart);
        return nullptr;
    }

    char *nResult = (char *)malloc(strlen(pLine) + 1);
    int32_t tLength = 0;
    for(int32_t i = tStart + 1; pLine[i]; i++)
    {
        if(pLine[i] == '\\' && pLine[i + 1] == '"')
        {
            nResult[tLength++] = '"';
            i++;
            continue;
        }
        if(pLine[i] == '"') break;
        nResult[tLength++] = pLine[i];
    }
    nResult[tLength] = '\0';
    Debug::PopPrint("[Parsing] Completed %s\n", nResult);
    return nResult;
}

uint8_t GetConsoleParseErrorFlag()
{
    return xConsoleParseError;
}

void ClearConsoleParseErrorFlag()
{
    xConsoleParseError = 0;
}

void AddByteElement(NamedLinkedList *pList, const char *pName, uint8_t pValue)
{
    if(!pList) return;
    uint8_t *nByte = (uint8_t *)malloc(1);
    *nByte = pValue;
    pList->AddElement(pName, nByte);
}

void AddElementIfData(NamedLinkedList *pList, const char *pName, void *pData)
{
    if(!pList || !pData) return;
    pList->AddElement(pName, pData);
}

char *IntegerToText(int32_t pValue)
{
    char tBuffer[16];
    snprintf(tBuffer, sizeof(tBuffer), "%d", (int)pValue);
    char *nText = nullptr;
    ResetString(&nText, tBuffer);
    return nText;
}

int32_t CountDecimalCharacters(int32_t pValue)
{
    if(pValue == 0) return 1;
    int32_t tCount = 10;
    int64_t tMagnitude = pValue;
    if(tMagnitude < 0)
    {
        tCount = 11;
        tMagnitude = -tMagnitude;
    }
    // INT32_MIN has ten digits too; its magnitude fits only in 64 bits.
    int64_t tDivisor = 1000000000;
    while(tDivisor > 1 && tMagnitude / tDivisor == 0)
    {
        tDivisor /= 10;
        tCount--;
    }
    return tCount;
}

void TrimLeadingBlanks(char *pText)
{
    if(!pText) return;
    size_t tSkip = 0;
    while(pText[tSkip] == ' ' || pText[tSkip] == '\t') tSkip++;
    if(tSkip == 0 || pText[tSkip] == '\0') return;
    memmove(pText, pText + tSkip, strlen(pText + tSkip) + 1);
}

// Appends as much of the text as fits in a 256-byte buffer already holding sLength characters.
static void AppendBounded(char *pBuffer, size_t &sLength, const char *pText)
{
    while(*pText && sLength < 255) pBuffer[sLength++] = *pText++;
}

char *FormatText(const char *pFormat, ...)
{
    if(!pFormat) return nullptr;
    char tBuffer[256];
    memset(tBuffer, 0, sizeof(tBuffer));
    size_t tLength = 0;

    va_list tArgs;
    va_start(tArgs, pFormat);
    for(const char *rRead = pFormat; *rRead; rRead++)
    {
        if(*rRead != '%')
        {
            if(tLength < 255) tBuffer[tLength++] = *rRead;
            continue;
        }
        char tDirective = rRead[1];
        if(tDirective == 'i')
        {
            char tNumber[16];
            snprintf(tNumber, sizeof(tNumber), "%d", (int)va_arg(tArgs, int32_t));
            AppendBounded(tBuffer, tLength, tNumber);
            rRead++;
        }
        else if(tDirective == 's')
        {
            const char *rText = va_arg(tArgs, const char *);
            if(rText) AppendBounded(tBuffer, tLength, rText);
            rRead++;
        }
        else if(tDirective == 'f')
        {
            char tNumber[64];
            snprintf(tNumber, sizeof(tNumber), "%.2f", va_arg(tArgs, double));
            AppendBounded(tBuffer, tLength, tNumber);
            rRead++;
        }
    }
    va_end(tArgs);

    char *nResult = nullptr;
    ResetString(&nResult, tBuffer);
    return nResult;
}

float PlaceholderFloat(int32_t pA, int32_t pB)
{
    (void)pA;
    (void)pB;
    return 0.0f;
}

int32_t PlaceholderInteger(int32_t pA, int32_t pB)
{
    return (int32_t)PlaceholderFloat(pA, pB);
}

int32_t PlaceholderZero()
{
    return 0;
}

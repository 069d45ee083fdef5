#include "core/data/MemoryFile.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sys/stat.h>

MemoryFile::MemoryFile(const char *pPath)
{
    mOpen = 0;
    mSize = 0;
    mBuffer = nullptr;
    mCursor = 0;
    if(!pPath) return;

    // fopen succeeds on a directory on Linux and its "length" is nonsense, so only a regular
    // file that fits the 32-bit size is read.
    FILE *fInput = fopen(pPath, "rb");
    if(!fInput) return;
    struct stat tInfo;
    if(fstat(fileno(fInput), &tInfo) != 0 || !S_ISREG(tInfo.st_mode) || tInfo.st_size < 0 ||
       (uint64_t)tInfo.st_size > 0xFFFFFFFFull)
    {
        fclose(fInput);
        return;
    }

    uint32_t tSize = (uint32_t)tInfo.st_size;
    uint8_t *nBuffer = static_cast<uint8_t *>(malloc(tSize > 0 ? tSize : 1));
    if(!nBuffer)
    {
        fclose(fInput);
        return;
    }
    size_t tRead = tSize > 0 ? fread(nBuffer, 1, tSize, fInput) : 0;
    fclose(fInput);
    if(tRead != tSize)
    {
        free(nBuffer);
        return;
    }
    mBuffer = nBuffer;
    mSize = tSize;
    mOpen = 1;
}

MemoryFile::~MemoryFile()
{
    free(mBuffer);
}

bool MemoryFile::Read(void *pDestination, uint32_t pSize, uint32_t pCount)
{
    if(!pDestination) return false;
    uint64_t tBytes = (uint64_t)pSize * (uint64_t)pCount;
    if(tBytes > GetRemaining()) return false;
    if(tBytes > 0) memcpy(pDestination, mBuffer + mCursor, (size_t)tBytes);
    mCursor += (uint32_t)tBytes;
    return true;
}

void MemoryFile::Seek(uint32_t pPosition)
{
    mCursor = pPosition;
}

void MemoryFile::Skip(uint32_t pCount)
{
    uint64_t tTarget = (uint64_t)mCursor + pCount;
    uint64_t tLast = mSize > 0 ? mSize - 1 : 0;
    mCursor = (uint32_t)(tTarget > tLast ? tLast : tTarget);
}

bool MemoryFile::SaveToFile(const char *pPath) const
{
    if(!pPath || !mOpen) return false;
    FILE *fOutput = fopen(pPath, "wb");
    if(!fOutput) return false;
    size_t tWritten = mSize > 0 ? fwrite(mBuffer, 1, mSize, fOutput) : 0;
    bool tClosed = fclose(fOutput) == 0;
    return tWritten == mSize && tClosed;
}

namespace
{
    // Digits ReadInt takes when the caller sets no limit.
    const int32_t cDefaultMaxDigits = 129;

    bool IsBlank(uint8_t pByte)
    {
        return pByte == ' ' || pByte == '\t';
    }
}

bool MemoryFile::AtLineEnd(uint32_t pPosition) const
{
    if(pPosition >= mSize) return false;
    if(mBuffer[pPosition] == '\n') return true;
    return mBuffer[pPosition] == '\r' && pPosition + 1 < mSize && mBuffer[pPosition + 1] == '\n';
}

uint32_t MemoryFile::PastLineEnd(uint32_t pPosition) const
{
    return mBuffer[pPosition] == '\r' ? pPosition + 2 : pPosition + 1;
}

char *MemoryFile::CopyRange(uint32_t pStart, uint32_t pEnd) const
{
    uint32_t tLength = pEnd > pStart ? pEnd - pStart : 0;
    char *nText = (char *)malloc((size_t)tLength + 1);
    if(!nText) return nullptr;
    if(tLength > 0) memcpy(nText, mBuffer + pStart, tLength);
    nText[tLength] = '\0';
    return nText;
}

void MemoryFile::SkipWhitespace()
{
    while(mCursor < mSize && (IsBlank(mBuffer[mCursor]) || mBuffer[mCursor] == '\r' || mBuffer[mCursor] == '\n'))
    {
        mCursor++;
    }
}

void MemoryFile::SkipLine()
{
    while(mCursor < mSize && !AtLineEnd(mCursor)) mCursor++;
    if(mCursor < mSize) mCursor = PastLineEnd(mCursor);
}

void MemoryFile::SkipLines(int32_t pCount)
{
    for(int32_t i = 0; i < pCount && mCursor < mSize; i++) SkipLine();
}

void MemoryFile::SkipCommentLines(char pComment)
{
    SkipWhitespace();
    while(mCursor < mSize && mBuffer[mCursor] == (uint8_t)pComment)
    {
        SkipLine();
        SkipWhitespace();
    }
}

char *MemoryFile::ReadLine()
{
    if(mCursor >= mSize) return nullptr;
    uint32_t tStart = mCursor;
    while(mCursor < mSize && !AtLineEnd(mCursor)) mCursor++;
    char *nLine = CopyRange(tStart, mCursor);
    if(mCursor < mSize) mCursor = PastLineEnd(mCursor);
    return nLine;
}

char *MemoryFile::ReadToken(bool pSkipAfter)
{
    // Leading whitespace is passed first, so a reader that loops on tokens always advances.
    SkipWhitespace();
    if(mCursor >= mSize) return nullptr;
    uint32_t tStart = mCursor;
    bool tQuoted = false;
    while(mCursor < mSize)
    {
        uint8_t tByte = mBuffer[mCursor];
        if(tByte == '"') tQuoted = !tQuoted;
        else if(!tQuoted && (IsBlank(tByte) || AtLineEnd(mCursor))) break;
        mCursor++;
    }

    uint32_t tEnd = mCursor;
    if(tEnd - tStart >= 2 && mBuffer[tStart] == '"' && mBuffer[tEnd - 1] == '"')
    {
        tStart++;
        tEnd--;
    }
    char *nToken = CopyRange(tStart, tEnd);
    if(pSkipAfter) SkipWhitespace();
    return nToken;
}

int32_t MemoryFile::ReadInt(int32_t pMaxDigits, bool pSkipAfter)
{
    if(pMaxDigits <= 0) pMaxDigits = cDefaultMaxDigits;
    int64_t tValue = 0;
    for(int32_t i = 0; i < pMaxDigits && mCursor < mSize; i++)
    {
        uint8_t tByte = mBuffer[mCursor];
        if(tByte < '0' || tByte > '9') break;
        tValue = tValue * 10 + (tByte - '0');
        if(tValue > INT32_MAX) tValue = INT32_MAX;
        mCursor++;
    }
    if(pSkipAfter) SkipWhitespace();
    return (int32_t)tValue;
}

bool MemoryFile::ReadPaddedRows(uint8_t *pDestination, int32_t pWidth, int32_t pHeight, int32_t pPaddedWidth,
                                int32_t pPaddedHeight, int32_t pBytesPerPixel)
{
    if(!pDestination || pWidth < 0 || pHeight < 0 || pBytesPerPixel < 1) return false;
    if(pWidth > pPaddedWidth || pHeight > pPaddedHeight) return false;

    // Widths and heights are at most 2^31 and bytes per pixel too, so the products fit in 64 bits
    // but not always in memory: anything the file cannot supply is refused first.
    uint64_t tRowBytes = (uint64_t)pWidth * (uint64_t)pBytesPerPixel;
    uint64_t tPaddedRowBytes = (uint64_t)pPaddedWidth * (uint64_t)pBytesPerPixel;
    if(tRowBytes > 0 && (uint64_t)pHeight > GetRemaining() / tRowBytes) return false;
    if(pPaddedHeight > 0 && tPaddedRowBytes > SIZE_MAX / (uint64_t)pPaddedHeight) return false;

    uint8_t *rWrite = pDestination;
    size_t tTopPadding = (size_t)(tPaddedRowBytes * (uint64_t)(pPaddedHeight - pHeight));
    memset(rWrite, 0, tTopPadding);
    rWrite += tTopPadding;
    for(int32_t r = 0; r < pHeight; r++)
    {
        if(tRowBytes > 0) memcpy(rWrite, mBuffer + mCursor, (size_t)tRowBytes);
        mCursor += (uint32_t)tRowBytes;
        memset(rWrite + tRowBytes, 0, (size_t)(tPaddedRowBytes - tRowBytes));
        rWrite += tPaddedRowBytes;
    }
    return true;
}

// The memory file's text readers and padded-row reader: the input is a whole file. Its first
// byte picks the comment character, its next ones the shape of a padded picture; then every
// reader is run over the whole file, and what each hands back must lie within the file.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "core/data/MemoryFile.h"
#include "support/FuzzSupport.h"

namespace
{
    volatile uint32_t xSink = 0;

    // A text handed out by a reader is never longer than the file and is read to its end.
    void Take(char *pText, uint32_t pFileSize)
    {
        if(!pText) return;
        size_t tLength = strlen(pText);
        if(tLength > pFileSize) FuzzFail("a reader gave %zu characters from a file of %u bytes", tLength, pFileSize);
        for(size_t i = 0; i < tLength; i++) xSink = xSink + (uint8_t)pText[i];
        free(pText);
    }

    void CheckCursor(const MemoryFile &pFile, const char *pReader)
    {
        if(pFile.GetCursor() > pFile.GetSize()) FuzzFail("%s left the cursor at %u in %u bytes", pReader, pFile.GetCursor(), pFile.GetSize());
    }
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *pData, size_t pSize)
{
    if(pSize < 4 || pSize > 0x10000) return 0;
    const char *rPath = FuzzScratchPath("Input.txt");
    if(!FuzzWriteFile(rPath, pData, pSize)) FuzzFail("cannot write %s", rPath);
    MemoryFile tFile(rPath);
    if(!tFile.IsOpen()) FuzzFail("a regular file of %zu bytes did not open", pSize);
    uint32_t tSize = tFile.GetSize();

    tFile.SkipCommentLines((char)pData[0]);
    CheckCursor(tFile, "SkipCommentLines");
    while(char *nToken = tFile.ReadToken(true))
    {
        Take(nToken, tSize);
        CheckCursor(tFile, "ReadToken");
        xSink = xSink + (uint32_t)tFile.ReadInt(pData[1] % 12, true);
        CheckCursor(tFile, "ReadInt");
    }

    tFile.Seek(0);
    while(char *nLine = tFile.ReadLine())
    {
        Take(nLine, tSize);
        CheckCursor(tFile, "ReadLine");
    }
    tFile.Seek(0);
    tFile.SkipLines(pData[1]);
    CheckCursor(tFile, "SkipLines");

    // A picture of at most 16 by 16 pixels of 1 to 4 bytes, as wide and tall as the bytes say.
    int32_t tPaddedWidth = pData[2] % 17;
    int32_t tPaddedHeight = pData[3] % 17;
    int32_t tWidth = tPaddedWidth - pData[1] % 3;
    int32_t tHeight = tPaddedHeight - pData[0] % 3;
    int32_t tBytes = pData[2] % 4 + 1;
    size_t tPictureSize = (size_t)tPaddedWidth * tPaddedHeight * tBytes;
    uint8_t *nPicture = (uint8_t *)malloc(tPictureSize ? tPictureSize : 1);
    if(!nPicture) return 0;
    tFile.Seek(4);
    if(tFile.ReadPaddedRows(nPicture, tWidth, tHeight, tPaddedWidth, tPaddedHeight, tBytes))
    {
        for(size_t i = 0; i < tPictureSize; i++) xSink = xSink + nPicture[i];
    }
    CheckCursor(tFile, "ReadPaddedRows");
    free(nPicture);
    return 0;
}

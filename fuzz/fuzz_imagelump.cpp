// The image-lump decoder: the input is the body of one IMAGE lump (what follows its tag). It is
// packed into a lump file beside a well-formed image and decoded the ways the engine decodes
// images: alone, as a chunk's first layer and as its second. The pixels a record claims are
// read to the last byte the upload would read, and its layout is taken into a Bitmap (no
// texture) and placed for every flip, as drawing does. A kept record has a full size and
// offsets inside the coordinate limit.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "core/Geometry.h"
#include "core/data/CorvelLumpManager.h"
#include "core/data/LumpWriter.h"
#include "core/render/Bitmap.h"
#include "support/FuzzSupport.h"

namespace
{
    volatile uint32_t xSink = 0;

    // Everything the upload and a draw would take from the record.
    void UseRecord(const ImageRecord *pRecord)
    {
        if(!pRecord) return;
        int64_t tNeeded = RequiredImageDataSize(pRecord->mWidth, pRecord->mHeight, pRecord->mCompressionFlag);
        if(pRecord->mCompressionFlag != 0)
        {
            if(tNeeded > pRecord->mDataSize) FuzzFail("record holds %i bytes, the upload reads %lli", pRecord->mDataSize, (long long)tNeeded);
            if(tNeeded > 0) xSink = xSink + pRecord->mData[0] + pRecord->mData[tNeeded - 1];
            if(pRecord->mFullWidth < 1 || pRecord->mFullHeight < 1) FuzzFail("a record without a full size was kept");
            if(llabs(pRecord->mOffsetX) > GEOMETRY_COORDINATE_LIMIT || llabs(pRecord->mOffsetY) > GEOMETRY_COORDINATE_LIMIT)
                FuzzFail("a record offset by %i %i was kept", pRecord->mOffsetX, pRecord->mOffsetY);
        }

        Bitmap tBitmap;
        tBitmap.TakeImageLayout(pRecord);
        for(int32_t i = -1; i <= tBitmap.GetFrameCount(); i++)
        {
            BitmapFrameRect tRect = tBitmap.GetFrameRect(i);
            xSink = xSink + tRect.mX1 + tRect.mY2;
        }
        for(int32_t tFlip = 0; tFlip < 4; tFlip++)
        {
            int32_t tX = 0;
            int32_t tY = 0;
            tBitmap.GetDrawPosition(100, -100, tFlip, tX, tY);
            xSink = xSink + (uint32_t)tX + (uint32_t)tY;
        }
    }
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *pData, size_t pSize)
{
    if(pSize > 0x7FFFFFFFu) return 0;

    // A 1 by 1 picture named so that the fuzzed lump sits between it and the directory's end.
    uint8_t tPixel[4] = {48, 96, 208, 255};
    LumpImageLayout tLayout = RGBAImageLayout(1, 1, tPixel);

    LumpWriter tWriter;
    tWriter.AddImage("LA000000", &tLayout);
    tWriter.AddRaw("LB000000", "IMAGE", pData, (uint32_t)pSize);
    uint32_t tFileSize = 0;
    uint8_t *tFile = tWriter.Build(&tFileSize);
    if(!tFile) FuzzFail("the writer could not build a file around %zu bytes", pSize);
    const char *rPath = FuzzScratchPath("Image.slf");
    bool tWritten = FuzzWriteFile(rPath, tFile, tFileSize);
    free(tFile);
    if(!tWritten) FuzzFail("cannot write %s", rPath);

    FuzzPrintStackGuard tGuard;
    CorvelLumpManager tLumps;
    tLumps.Open(rPath);
    if(!tLumps.IsOpen()) FuzzFail("a file the writer built did not open");

    ImageRecord *rAlone = tLumps.ReadImageRecord("LB000000");
    UseRecord(rAlone);
    ImageRecord::Free(rAlone);

    ImageRecord *rFirst = nullptr;
    ImageRecord *rSecond = nullptr;
    tLumps.ImageLump("LB000000", "LA000000", &rFirst, &rSecond);
    if(!rSecond) FuzzFail("the well-formed second layer was lost after the fuzzed first");
    UseRecord(rFirst);
    ImageRecord::Free(rFirst);
    ImageRecord::Free(rSecond);

    tLumps.ImageLump("LA000000", "LB000000", &rFirst, &rSecond);
    if(!rFirst) FuzzFail("the well-formed first layer was lost before the fuzzed second");
    UseRecord(rSecond);
    ImageRecord::Free(rFirst);
    ImageRecord::Free(rSecond);
    return 0;
}

#include "core/render/PngDecoder.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <png.h>

namespace
{
    // Large enough for any picture the game draws, small enough that width x height x 4 and the
    // row table fit easily in memory and in 32 bits.
    const png_uint_32 cMaxSide = 16384;

    // The error pointer is the path, or null for a quiet decode.
    void OnPngError(png_structp pPng, png_const_charp pMessage)
    {
        const char *rPath = (const char *)png_get_error_ptr(pPng);
        if(rPath) fprintf(stderr, "DecodePngFile: %s: %s\n", rPath, pMessage);
        png_longjmp(pPng, 1);
    }

    void OnPngWarning(png_structp pPng, png_const_charp pMessage)
    {
    }

    // Everything setjmp may return to lives here, so nothing it needs is a local that the
    // long jump could leave stale.
    struct DecodeState
    {
        FILE *mFile;
        png_structp mPng;
        png_infop mInfo;
        PngBuffer *mBuffer;
        png_bytep *mRows;
    };

    void ReleaseState(DecodeState *pState)
    {
        if(pState->mPng) png_destroy_read_struct(&pState->mPng, pState->mInfo ? &pState->mInfo : nullptr, nullptr);
        free(pState->mRows);
        if(pState->mFile) fclose(pState->mFile);
    }

    // Runs the decode proper; false after a message. Kept apart from setjmp's caller so the
    // state it fills is reached only through the pointer.
    bool ReadImage(DecodeState *pState, const char *pPath, bool pQuiet, int32_t *pWidth, int32_t *pHeight)
    {
        png_structp rPng = pState->mPng;
        png_infop rInfo = pState->mInfo;
        png_init_io(rPng, pState->mFile);
        png_set_sig_bytes(rPng, 8);
        png_set_option(rPng, PNG_IGNORE_ADLER32, PNG_OPTION_ON);
        png_set_user_limits(rPng, cMaxSide, cMaxSide);
        png_read_info(rPng, rInfo);

        png_uint_32 tWidth = 0, tHeight = 0;
        int tDepth = 0, tColourType = 0;
        png_get_IHDR(rPng, rInfo, &tWidth, &tHeight, &tDepth, &tColourType, nullptr, nullptr, nullptr);
        if(tWidth < 1 || tHeight < 1 || tWidth > cMaxSide || tHeight > cMaxSide)
        {
            if(!pQuiet) fprintf(stderr, "DecodePngFile: %s: size %u by %u refused\n", pPath, (unsigned)tWidth, (unsigned)tHeight);
            return false;
        }

        // Every colour type comes out as 8-bit RGBA.
        png_set_expand(rPng);
        png_set_strip_16(rPng);
        if(tColourType == PNG_COLOR_TYPE_GRAY || tColourType == PNG_COLOR_TYPE_GRAY_ALPHA) png_set_gray_to_rgb(rPng);
        png_set_add_alpha(rPng, 0xFF, PNG_FILLER_AFTER);
        png_set_interlace_handling(rPng);
        png_read_update_info(rPng, rInfo);

        size_t tRowBytes = (size_t)tWidth * 4;
        if(png_get_rowbytes(rPng, rInfo) != tRowBytes)
        {
            if(!pQuiet) fprintf(stderr, "DecodePngFile: %s: unexpected row size\n", pPath);
            return false;
        }
        PngBuffer *rBuffer = pState->mBuffer;
        size_t tNeeded = tRowBytes * tHeight;
        if(rBuffer->mCapacity < tNeeded)
        {
            uint8_t *rGrown = (uint8_t *)realloc(rBuffer->mData, tNeeded);
            if(rGrown)
            {
                rBuffer->mData = rGrown;
                rBuffer->mCapacity = tNeeded;
            }
        }
        pState->mRows = (png_bytep *)malloc(sizeof(png_bytep) * tHeight);
        if(rBuffer->mCapacity < tNeeded || !pState->mRows)
        {
            if(!pQuiet) fprintf(stderr, "DecodePngFile: %s: out of memory\n", pPath);
            return false;
        }
        for(png_uint_32 y = 0; y < tHeight; y++) pState->mRows[y] = rBuffer->mData + tRowBytes * y;
        png_read_image(rPng, pState->mRows);
        png_read_end(rPng, nullptr);
        *pWidth = (int32_t)tWidth;
        *pHeight = (int32_t)tHeight;
        return true;
    }
}

PngDecodeResult DecodePngFile(const char *pPath, PngBuffer *pBuffer, int32_t *pWidth, int32_t *pHeight, bool pQuiet)
{
    if(!pPath || !pBuffer || !pWidth || !pHeight) return PNG_FAILED;

    DecodeState tState = {nullptr, nullptr, nullptr, pBuffer, nullptr};
    tState.mFile = fopen(pPath, "rb");
    if(!tState.mFile) return PNG_FAILED;

    png_byte tSignature[8];
    if(fread(tSignature, 1, sizeof(tSignature), tState.mFile) != sizeof(tSignature) || png_sig_cmp(tSignature, 0, sizeof(tSignature)))
    {
        fclose(tState.mFile);
        return PNG_NOT_PNG;
    }

    tState.mPng = png_create_read_struct(PNG_LIBPNG_VER_STRING, pQuiet ? nullptr : (png_voidp)pPath, OnPngError, OnPngWarning);
    if(tState.mPng) tState.mInfo = png_create_info_struct(tState.mPng);
    if(!tState.mPng || !tState.mInfo)
    {
        ReleaseState(&tState);
        return PNG_FAILED;
    }

    DecodeState *volatile rState = &tState;
    volatile bool tDecoded = false;
    if(setjmp(png_jmpbuf(tState.mPng)) == 0) tDecoded = ReadImage(rState, pPath, pQuiet, pWidth, pHeight);
    ReleaseState(rState);
    return tDecoded ? PNG_DECODED : PNG_FAILED;
}

void FreePngBuffer(PngBuffer *pBuffer)
{
    if(!pBuffer) return;
    free(pBuffer->mData);
    pBuffer->mData = nullptr;
    pBuffer->mCapacity = 0;
}

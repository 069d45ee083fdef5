#pragma once

#include <cstddef>
#include <cstdint>

// Reads PNG files straight into the buffer the texture upload takes, without Allegro's
// detour through a memory bitmap (which opened each file twice, once to guess its type, and
// was then copied row by row into a second buffer).

enum PngDecodeResult
{
    PNG_DECODED,
    PNG_NOT_PNG,  // the file exists but does not start with the PNG signature
    PNG_FAILED    // missing, unreadable, damaged or too large; a message is on standard error
};

// Pixels land in a buffer the caller keeps from one picture to the next, so a run of loads
// reuses the same pages instead of faulting in fresh ones for every picture.
struct PngBuffer
{
    uint8_t *mData;
    size_t mCapacity;
};

// Decodes the file into the buffer, grown as needed: width x height x 4 bytes, RGBA, top row
// first, rows packed tight, whatever the file's colour type and depth (palettes, grey, 16-bit
// channels and transparency chunks are expanded; no alpha means opaque). The contents are
// undefined unless PNG_DECODED is returned. The zlib checksum of the pixel stream is not
// verified, as that is a pass over every decoded byte; the CRC of every chunk still is, and a
// damaged stream still fails to inflate. A quiet decode prints nothing on failure.
PngDecodeResult DecodePngFile(const char *pPath, PngBuffer *pBuffer, int32_t *pWidth, int32_t *pHeight, bool pQuiet = false);

// Frees the buffer's memory and leaves it empty.
void FreePngBuffer(PngBuffer *pBuffer);

#pragma once

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

// Decodes the file into a new malloc'd buffer of width x height x 4 bytes, RGBA, top row first,
// rows packed tight, whatever the file's colour type and depth (palettes, grey, 16-bit
// channels and transparency chunks are expanded; no alpha means opaque). The zlib checksum of
// the pixel stream is not verified, as that is a pass over every decoded byte; the CRC of every
// chunk still is, and a damaged stream still fails to inflate.
PngDecodeResult DecodePngFile(const char *pPath, uint8_t **pPixels, int32_t *pWidth, int32_t *pHeight);

#pragma once

#include <cstdint>

#include "core/render/PngDecoder.h"

// The start-up scripts load a few hundred pictures one after another, nearly always in the
// order their folder lists them. While the prefetch runs, every picture taken also queues the
// next few PNG files of its folder (by name) for worker threads to decode, so the main thread,
// busy uploading and redrawing the loading screen, mostly finds the next picture's pixels
// ready. Nothing is uploaded or kept that was not asked for: a guess that was wrong only costs
// a worker's time, and its pixels are dropped. A file rewritten between its look-ahead and its
// load would give the pixels read first, which is why the prefetch runs only around the
// start-up script, when nothing writes pictures.

// Starts the workers; taking pictures then queues look-ahead. Returns false when no worker
// could be made (taking still works, decoding on the caller's thread).
bool StartPngPrefetch();

// Stops and joins the workers and drops every decoded picture not taken.
void StopPngPrefetch();

// The file's pixels in the caller's buffer, as DecodePngFile gives them: from a worker when
// one has decoded (or is decoding) it, else decoded here. A worker's failure is not trusted:
// the file is decoded again here, so its message comes out where the load happens.
PngDecodeResult TakePngPixels(const char *pPath, PngBuffer *pBuffer, int32_t *pWidth, int32_t *pHeight);

// How many pictures so far were served from a worker's decode (for tests and reports).
int32_t GetPngPrefetchHits();

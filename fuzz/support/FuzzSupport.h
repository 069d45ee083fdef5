#pragma once

#include <cstddef>
#include <cstdint>

// Shared by the fuzz targets. A target that finds its input unacceptable in a way the engine
// should have refused calls FuzzFail, which aborts, so libFuzzer keeps the input.

// A private directory for this run, made on the first call and removed with its contents when
// the process exits normally. The process's working directory is not changed.
const char *FuzzScratchDirectory();

// The scratch directory joined with a relative path, in a static buffer (valid until the next
// call).
const char *FuzzScratchPath(const char *pRelative);

// Writes the bytes as the whole file; false when it cannot.
bool FuzzWriteFile(const char *pPath, const uint8_t *pData, size_t pSize);

// Reports a broken invariant with the target's message and aborts.
[[noreturn]] void FuzzFail(const char *pFormat, ...) __attribute__((format(printf, 1, 2)));

// Aborts when a call left the debug print stack at another depth than it found it.
class FuzzPrintStackGuard
{
public:
    FuzzPrintStackGuard();
    ~FuzzPrintStackGuard();

private:
    int32_t mSize;
};

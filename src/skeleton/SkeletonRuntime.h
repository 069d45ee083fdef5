#pragma once

#include <cstddef>
#include <cstdint>

// Base layer of the skeletal-animation runtime: replaceable memory hooks through which every
// record is allocated, bounded string helpers, the error-text rule and the whole-file reader.
// The runtime is made of plain records with create and dispose functions; main thread only.

typedef void *(*RuntimeAllocateFunc)(size_t pSize);
typedef void (*RuntimeReleaseFunc)(void *pMemory);

void Runtime_setMalloc(RuntimeAllocateFunc pAllocate);
void Runtime_setFree(RuntimeReleaseFunc pRelease);

void *Runtime_malloc(size_t pSize);
// Count x size bytes, zeroed; null when the product overflows or the hook fails.
void *Runtime_calloc(size_t pCount, size_t pSize);
void Runtime_free(void *pMemory);

// Heap copy through the allocate hook; null for null.
char *Runtime_copyString(const char *pText);
// Heap copy of the first pLength bytes, terminated.
char *Runtime_copyStringLength(const char *pText, size_t pLength);
// Frees *pSlot and stores a copy of pText (or null).
void Runtime_resetString(char **pSlot, const char *pText);

// Most characters an error text holds.
#define RUNTIME_ERROR_LENGTH 256

// Replaces *pSlot with pFirst followed by at most (256 - its length) characters of pSecond.
// Either text may be null (read as empty).
void Runtime_setError(char **pSlot, const char *pFirst, const char *pSecond);

// Reads a whole file with mode "rb" into a buffer from the allocate hook, with one terminating
// zero byte after the contents that *sLength does not count. Null when the path is not a
// regular readable file or any step fails. The caller releases the buffer with Runtime_free.
char *Runtime_readFile(const char *pPath, int32_t *sLength);

// File hook the host supplies (the puppet's forwards to Runtime_readFile): same contract.
char *Host_readFile(const char *pPath, int32_t *sLength);

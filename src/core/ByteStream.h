#pragma once
#include <cstdint>

// Packs values back to back into a caller's buffer: 32-bit numbers as four bytes, least
// significant first; texts as their characters and a 0 byte; raw blocks as the bytes alone.
// The caller keeps the byte offset and passes it by pointer; each call starts there and
// advances it by what it took. The calls do not know the buffer's size, so the caller sizes
// it for what it writes. A null buffer or position makes every call a no-op that leaves the
// position unchanged (reads then give 0, 0.0 or null), as does a count <= 0.
void WriteBytes(const void *pSource, int32_t pCount, uint32_t *pPosition, uint8_t *pBuffer);
void WriteInt32(int32_t pValue, uint32_t *pPosition, uint8_t *pBuffer);
void WriteUInt32(uint32_t pValue, uint32_t *pPosition, uint8_t *pBuffer);
void WriteFloat32(float pValue, uint32_t *pPosition, uint8_t *pBuffer);
void WriteString(const char *pText, uint32_t *pPosition, uint8_t *pBuffer);

uint32_t ReadUInt32(uint32_t *pPosition, const uint8_t *pBuffer);
int32_t ReadInt32(uint32_t *pPosition, const uint8_t *pBuffer);
float ReadFloat32(uint32_t *pPosition, const uint8_t *pBuffer);
char *ReadString(uint32_t *pPosition, const uint8_t *pBuffer);
void *ReadBytes(int32_t pCount, uint32_t *pPosition, const uint8_t *pBuffer);
void ReadBytesInto(void *pDestination, int32_t pCount, uint32_t *pPosition, const uint8_t *pBuffer);

#pragma once
#include <cstdint>

// A whole file held in memory and handed out by raw reads and seeks. Only a regular file that
// is read completely opens; anything else (a directory, a missing file, a short read) leaves
// the file closed with no buffer. Reads never pass the end of the buffer.
class MemoryFile
{
public:
    MemoryFile(const char *pPath);
    ~MemoryFile();

    bool IsOpen() const { return mOpen != 0; }
    uint32_t GetSize() const { return mSize; }
    uint32_t GetCursor() const { return mCursor; }
    uint8_t *GetBuffer() const { return mBuffer; }

    // Copies size x count bytes from the cursor and advances past them. A request that would
    // pass the end copies nothing, leaves the cursor and returns false.
    bool Read(void *pDestination, uint32_t pSize, uint32_t pCount);
    void Seek(uint32_t pPosition);
    // Cursor + n, kept at or below size - 1 (at 0 for an empty file).
    void Skip(uint32_t pCount);
    // Bytes left between the cursor and the end (0 when the cursor stands past it).
    uint32_t GetRemaining() const { return mCursor < mSize ? mSize - mCursor : 0; }

    // Writes the whole buffer to the path in binary mode. False when the file is not open or
    // the write does not complete.
    bool SaveToFile(const char *pPath) const;

    // Text readers. None reads past the end of the buffer; a cursor standing at or past the
    // end reads nothing. A line ends at CR LF or at a lone LF, whichever the file uses.
    void SkipWhitespace();
    void SkipLine();
    void SkipLines(int32_t pCount);
    // Whitespace, then every whole line that begins with the comment character.
    void SkipCommentLines(char pComment);
    // New heap string of the rest of the line (its end not included); the cursor moves past
    // the line end. Null when nothing is left.
    char *ReadLine();
    // New heap string of the next token, after any whitespace before it: it ends at a blank,
    // a tab, a line end or the end of the buffer, except inside double quotes, and a pair of
    // quotes around it is removed. With pSkipAfter the whitespace after it is skipped too.
    // Null when nothing is left.
    char *ReadToken(bool pSkipAfter);
    // Up to pMaxDigits decimal digits (no sign; 129 when 0 or less) as a number, saturated at
    // the largest i32. 0 when no digit stands at the cursor.
    int32_t ReadInt(int32_t pMaxDigits, bool pSkipAfter);

    // Fills pDestination, which holds padded width x padded height x bytes per pixel bytes:
    // first (padded height - height) rows of zeros, then height rows of width x bytes per pixel
    // bytes from the file, each padded with zeros to the padded width. False, with nothing
    // written and the cursor left, when the sizes do not fit together or the file holds too
    // few bytes.
    bool ReadPaddedRows(uint8_t *pDestination, int32_t pWidth, int32_t pHeight, int32_t pPaddedWidth,
                        int32_t pPaddedHeight, int32_t pBytesPerPixel);

private:
    bool AtLineEnd(uint32_t pPosition) const;
    // Position just past the line end at pPosition (CR LF: two bytes, LF: one).
    uint32_t PastLineEnd(uint32_t pPosition) const;
    char *CopyRange(uint32_t pStart, uint32_t pEnd) const;

    uint8_t mOpen;
    uint32_t mSize;
    uint8_t *mBuffer;
    uint32_t mCursor;

    MemoryFile(const MemoryFile &) = delete;
    MemoryFile &operator=(const MemoryFile &) = delete;
};

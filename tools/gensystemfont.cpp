// gensystemfont: writes the system font, a TrueType font made from the menu alphabet's
// letters (MenuGlyphs.h), each lit cell a rectangle of outline.
//
//     gensystemfont OUTPUT.ttf
//
// The engine renders the system font 60 pixels to the em and the level select draws it at a
// quarter of that, one line every 15 units with its cursor box from 9 units above the
// baseline down to the baseline. So the letters are small and float above the baseline: a
// row is 3.2 pixels, the letters' 8 rows stand from 1.25 to 7.65 units above the baseline,
// and every letter starts 3 units right of the pen, which stands on the box's left edge: the
// box's 2-unit lines pass around them, with a clear gap on the left.
// The console draws the same font at 0.18, where a window of 800 by 600 shows one pixel for
// every 3.33 of the font's: cells 5 pixels wide and rows as tall as the box allows keep every
// stroke on screen there. The frame-rate text and the watermark draw with it too.
#include "MenuGlyphs.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#define UNITS_PER_EM 1200
#define CELL_W 100                                // font units: 5 pixels at 60 to the em
#define CELL_H 64                                 // 3.2 pixels
#define LIFT 100                                  // bottom of the lowest row above the baseline
#define INDENT 240                                // left of the first column from the pen
#define ADVANCE ((MENU_GLYPH_WIDTH + 1) * CELL_W) // one cell of room between letters
#define GLYPH_COUNT (MENU_GLYPH_COUNT + 1)        // .notdef, then codes 32..126
#define MAX_RUNS (MENU_GLYPH_WIDTH * MENU_GLYPH_HEIGHT)

// A growing big-endian byte buffer; running out of memory ends the tool.
struct Bytes
{
    uint8_t *mData = nullptr;
    size_t mSize = 0;
    size_t mRoom = 0;

    Bytes() = default;
    Bytes(const Bytes &) = delete;
    Bytes &operator=(const Bytes &) = delete;

    void Grow(size_t pMore)
    {
        if(mSize + pMore <= mRoom) return;
        size_t tRoom = mRoom ? mRoom * 2 : 4096;
        while(tRoom < mSize + pMore) tRoom *= 2;
        uint8_t *nData = (uint8_t *)realloc(mData, tRoom);
        if(!nData)
        {
            fprintf(stderr, "gensystemfont: out of memory\n");
            exit(1);
        }
        mData = nData;
        mRoom = tRoom;
    }
    void U8(uint32_t pValue) { Grow(1); mData[mSize++] = (uint8_t)pValue; }
    void U16(uint32_t pValue) { U8(pValue >> 8); U8(pValue); }
    void U32(uint32_t pValue) { U16(pValue >> 16); U16(pValue); }
    void Append(const Bytes &pOther)
    {
        Grow(pOther.mSize);
        if(pOther.mSize) memcpy(mData + mSize, pOther.mData, pOther.mSize);
        mSize += pOther.mSize;
    }
    void PadTo4() { while(mSize % 4) U8(0); }
    ~Bytes() { free(mData); }
};

// One horizontal run of lit cells in one row, as a rectangle in font units (y up).
struct Run
{
    int mX0, mY0, mX1, mY1;
};

static int CollectRuns(const char *pRows, Run *sRuns)
{
    int tCount = 0, tRow = 0, tColumn = 0, tStart = -1;
    for(const char *c = pRows;; c++)
    {
        bool tLit = *c == '#';
        if(tStart >= 0 && !tLit && tCount < MAX_RUNS)
        {
            int tTop = LIFT + (MENU_GLYPH_HEIGHT - tRow) * CELL_H;
            sRuns[tCount++] = {INDENT + tStart * CELL_W, tTop - CELL_H, INDENT + tColumn * CELL_W, tTop};
            tStart = -1;
        }
        if(!*c) break;
        if(*c == ' ')
        {
            tRow++;
            tColumn = 0;
            continue;
        }
        if(tLit && tStart < 0) tStart = tColumn;
        tColumn++;
    }
    return tCount;
}

struct Metrics
{
    int mPoints = 0, mContours = 0;
    int mXMin = 0, mYMin = 0, mXMax = 0, mYMax = 0;
};

// One simple glyph: a clockwise rectangle per run, every point on the curve, coordinates as
// 16-bit deltas; its bounds and sizes go to sMetrics. An empty glyph writes nothing.
static void WriteGlyph(Bytes &pGlyf, const Run *pRuns, int pCount, Metrics &sMetrics)
{
    if(pCount == 0) return;
    Metrics tBox;
    tBox.mXMin = tBox.mYMin = 1 << 20;
    tBox.mXMax = tBox.mYMax = -(1 << 20);
    for(int i = 0; i < pCount; i++)
    {
        if(pRuns[i].mX0 < tBox.mXMin) tBox.mXMin = pRuns[i].mX0;
        if(pRuns[i].mY0 < tBox.mYMin) tBox.mYMin = pRuns[i].mY0;
        if(pRuns[i].mX1 > tBox.mXMax) tBox.mXMax = pRuns[i].mX1;
        if(pRuns[i].mY1 > tBox.mYMax) tBox.mYMax = pRuns[i].mY1;
    }
    tBox.mContours = pCount;
    tBox.mPoints = pCount * 4;
    sMetrics = tBox;

    pGlyf.U16((uint32_t)pCount);
    pGlyf.U16((uint16_t)tBox.mXMin);
    pGlyf.U16((uint16_t)tBox.mYMin);
    pGlyf.U16((uint16_t)tBox.mXMax);
    pGlyf.U16((uint16_t)tBox.mYMax);
    for(int i = 0; i < pCount; i++) pGlyf.U16((uint32_t)(i * 4 + 3));
    pGlyf.U16(0); // no instructions
    for(int i = 0; i < pCount * 4; i++) pGlyf.U8(0x01);
    int tPrevious = 0;
    for(int i = 0; i < pCount; i++)
    {
        const int tX[4] = {pRuns[i].mX0, pRuns[i].mX0, pRuns[i].mX1, pRuns[i].mX1};
        for(int p = 0; p < 4; p++)
        {
            pGlyf.U16((uint16_t)(tX[p] - tPrevious));
            tPrevious = tX[p];
        }
    }
    tPrevious = 0;
    for(int i = 0; i < pCount; i++)
    {
        const int tY[4] = {pRuns[i].mY0, pRuns[i].mY1, pRuns[i].mY1, pRuns[i].mY0};
        for(int p = 0; p < 4; p++)
        {
            pGlyf.U16((uint16_t)(tY[p] - tPrevious));
            tPrevious = tY[p];
        }
    }
    pGlyf.PadTo4();
}

struct Table
{
    const char *mTag;
    Bytes mBytes;
};

int main(int argc, char **argv)
{
    if(argc != 2)
    {
        fprintf(stderr, "usage: gensystemfont OUTPUT.ttf\n");
        return 1;
    }

    Table tTables[7] = {{"cmap", {}}, {"glyf", {}}, {"head", {}}, {"hhea", {}}, {"hmtx", {}}, {"loca", {}}, {"maxp", {}}};
    Bytes &rCmap = tTables[0].mBytes, &rGlyf = tTables[1].mBytes, &rHead = tTables[2].mBytes;
    Bytes &rHhea = tTables[3].mBytes, &rHmtx = tTables[4].mBytes, &rLoca = tTables[5].mBytes;
    Bytes &rMaxp = tTables[6].mBytes;

    Metrics tFont;
    tFont.mXMin = tFont.mYMin = 1 << 20;
    rLoca.U32(0);
    rHmtx.U16(ADVANCE);
    rHmtx.U16(0);
    rLoca.U32(0); // .notdef is empty
    for(int g = 0; g < MENU_GLYPH_COUNT; g++)
    {
        Run tRuns[MAX_RUNS];
        int tCount = CollectRuns(cMenuGlyphs[g], tRuns);
        Metrics tGlyph;
        WriteGlyph(rGlyf, tRuns, tCount, tGlyph);
        rLoca.U32((uint32_t)rGlyf.mSize);
        rHmtx.U16(ADVANCE);
        rHmtx.U16((uint16_t)(tCount ? tGlyph.mXMin : 0));
        if(tCount == 0) continue;
        if(tGlyph.mPoints > tFont.mPoints) tFont.mPoints = tGlyph.mPoints;
        if(tGlyph.mContours > tFont.mContours) tFont.mContours = tGlyph.mContours;
        if(tGlyph.mXMin < tFont.mXMin) tFont.mXMin = tGlyph.mXMin;
        if(tGlyph.mYMin < tFont.mYMin) tFont.mYMin = tGlyph.mYMin;
        if(tGlyph.mXMax > tFont.mXMax) tFont.mXMax = tGlyph.mXMax;
        if(tGlyph.mYMax > tFont.mYMax) tFont.mYMax = tGlyph.mYMax;
    }

    // One segment maps codes 32..126 to glyphs 1..95; the closing segment is required.
    rCmap.U16(0);
    rCmap.U16(1);
    rCmap.U16(3);
    rCmap.U16(1);
    rCmap.U32(12);
    rCmap.U16(4);
    rCmap.U16(32);
    rCmap.U16(0);
    rCmap.U16(4); // two segments
    rCmap.U16(4);
    rCmap.U16(1);
    rCmap.U16(0);
    rCmap.U16(MENU_GLYPH_FIRST + MENU_GLYPH_COUNT - 1);
    rCmap.U16(0xFFFF);
    rCmap.U16(0);
    rCmap.U16(MENU_GLYPH_FIRST);
    rCmap.U16(0xFFFF);
    rCmap.U16((uint16_t)(1 - MENU_GLYPH_FIRST));
    rCmap.U16(1);
    rCmap.U16(0);
    rCmap.U16(0);

    rHead.U32(0x00010000);
    rHead.U32(0x00010000);
    rHead.U32(0);          // checksum adjustment, unchecked by readers
    rHead.U32(0x5F0F3CF5);
    rHead.U16(0x0009);     // baseline at y = 0, whole-pixel sizes
    rHead.U16(UNITS_PER_EM);
    for(int i = 0; i < 4; i++) rHead.U32(0); // created, modified
    rHead.U16((uint16_t)tFont.mXMin);
    rHead.U16((uint16_t)tFont.mYMin);
    rHead.U16((uint16_t)tFont.mXMax);
    rHead.U16((uint16_t)tFont.mYMax);
    rHead.U16(0);
    rHead.U16(8);
    rHead.U16(2);
    rHead.U16(1);          // long loca offsets
    rHead.U16(0);

    rHhea.U32(0x00010000);
    rHhea.U16((uint16_t)(tFont.mYMax + CELL_H));
    rHhea.U16((uint16_t)-CELL_H);
    rHhea.U16(0);
    rHhea.U16(ADVANCE);
    rHhea.U16(0);
    rHhea.U16(0);
    rHhea.U16((uint16_t)tFont.mXMax);
    rHhea.U16(1);
    rHhea.U16(0);
    rHhea.U16(0);
    for(int i = 0; i < 5; i++) rHhea.U16(0);
    rHhea.U16(GLYPH_COUNT);

    rMaxp.U32(0x00010000);
    rMaxp.U16(GLYPH_COUNT);
    rMaxp.U16((uint32_t)tFont.mPoints);
    rMaxp.U16((uint32_t)tFont.mContours);
    rMaxp.U16(0);
    rMaxp.U16(0);
    rMaxp.U16(2);
    for(int i = 0; i < 8; i++) rMaxp.U16(0);

    // The table directory, tables in tag order, each starting on four bytes.
    Bytes tFile;
    const int tTableCount = (int)(sizeof(tTables) / sizeof(tTables[0]));
    tFile.U32(0x00010000);
    tFile.U16((uint32_t)tTableCount);
    tFile.U16(64); // search range for 7 tables: 16 x 4
    tFile.U16(2);
    tFile.U16((uint32_t)(tTableCount * 16 - 64));
    uint32_t tOffset = 12 + 16 * (uint32_t)tTableCount;
    for(int i = 0; i < tTableCount; i++)
    {
        Bytes &rTable = tTables[i].mBytes;
        uint32_t tSum = 0;
        rTable.PadTo4();
        for(size_t b = 0; b + 3 < rTable.mSize; b += 4)
            tSum += ((uint32_t)rTable.mData[b] << 24) | ((uint32_t)rTable.mData[b + 1] << 16) |
                    ((uint32_t)rTable.mData[b + 2] << 8) | rTable.mData[b + 3];
        for(int c = 0; c < 4; c++) tFile.U8((uint8_t)tTables[i].mTag[c]);
        tFile.U32(tSum);
        tFile.U32(tOffset);
        tFile.U32((uint32_t)rTable.mSize);
        tOffset += (uint32_t)rTable.mSize;
    }
    for(int i = 0; i < tTableCount; i++) tFile.Append(tTables[i].mBytes);

    FILE *fOut = fopen(argv[1], "wb");
    if(!fOut || fwrite(tFile.mData, 1, tFile.mSize, fOut) != tFile.mSize || fclose(fOut) != 0)
    {
        fprintf(stderr, "gensystemfont: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}

#include "core/data/LumpRecords.h"
#include "world/ClipQueries.h"
#include "world/LevelClipMap.h"
#include "TextLevel.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace
{
    // 16 by 8 units in 4-unit chunks: a 4 by 2 grid.
    const char *const cRows[] = {
        "................",
        "................",
        "......#.........",
        "................",
        "..........#.....",
        "................",
        "###.........####",
        "################",
    };

    // A stand-in for the entity manager: one solid point, and a count of the questions asked.
    struct PointEntity
    {
        int32_t mX;
        int32_t mY;
        int32_t mAsked;
    };

    bool PointEntityTest(void *pContext, int32_t pX, int32_t pY)
    {
        PointEntity *rEntity = (PointEntity *)pContext;
        rEntity->mAsked++;
        return pX == rEntity->mX && pY == rEntity->mY;
    }

    // The same entity asked for a whole box at once.
    bool PointEntityBoxTest(void *pContext, IntRect pBox)
    {
        PointEntity *rEntity = (PointEntity *)pContext;
        rEntity->mAsked++;
        return PointInRectangle(rEntity->mX, rEntity->mY, pBox);
    }
}

TEST(LevelClipMap, PointTestOverGridAndChunks)
{
    TextLevel tLevel(cRows, 8, 4);
    const LevelClipMap &rMap = tLevel.Map();
    EXPECT_EQ(4u, rMap.GetColumns());
    EXPECT_EQ(2u, rMap.GetRows());

    // Cells in different chunks land in the right mask at the right place.
    EXPECT_TRUE(rMap.IsClipped(6, 2));
    EXPECT_TRUE(rMap.IsClipped(10, 4));
    EXPECT_FALSE(rMap.IsClipped(2, 5));
    EXPECT_FALSE(rMap.IsClipped(5, 2));
    EXPECT_FALSE(rMap.IsClipped(6, 3));
    EXPECT_TRUE(rMap.IsClipped(15, 7));

    // Outside the grid is solid on every side, negative coordinates included.
    EXPECT_TRUE(rMap.IsClipped(-1, 0));
    EXPECT_TRUE(rMap.IsClipped(0, -1));
    EXPECT_TRUE(rMap.IsClipped(16, 0));
    EXPECT_TRUE(rMap.IsClipped(0, 8));
    EXPECT_TRUE(rMap.IsClipped(INT32_MIN, INT32_MIN));
}

TEST(LevelClipMap, MissingAndShortMasks)
{
    LevelClipMap tMap;
    tMap.SetChunkSize(4, 0);
    EXPECT_EQ(256u, tMap.GetChunkWidth());
    tMap.SetChunkSize(4, 4);
    EXPECT_FALSE(tMap.Allocate(0, 2));
    ASSERT_TRUE(tMap.Allocate(2, 2));
    EXPECT_FALSE(tMap.Allocate(3, 3));

    // A chunk inside the grid without a mask is never solid.
    EXPECT_FALSE(tMap.IsClipped(1, 1));
    EXPECT_FALSE(tMap.IsClipped(7, 7));

    // A mask smaller than its chunk covers only its own cells.
    uint8_t tCells[4] = {1, 1, 1, 1};
    EXPECT_TRUE(tMap.SetChunkMask(1, 1, tCells, 2, 2));
    EXPECT_TRUE(tMap.IsClipped(5, 5));
    EXPECT_FALSE(tMap.IsClipped(6, 5));
    EXPECT_FALSE(tMap.IsClipped(5, 6));

    EXPECT_FALSE(tMap.SetChunkMask(2, 0, tCells, 2, 2));
    EXPECT_TRUE(tMap.SetChunkMask(1, 1, nullptr, 0, 0));
    EXPECT_FALSE(tMap.IsClipped(5, 5));
}

TEST(LevelClipMap, UnpacksStoredClipLeastSignificantBitFirst)
{
    // 10 columns need two bytes a row; row 0 sets columns 0 and 9, row 1 sets column 3.
    uint8_t tData[4] = {0x01, 0x02, 0x08, 0x00};
    ClipRecord tRecord = {10, 2, 4, tData};
    uint8_t *tMask = LevelClipMap::NewMaskFromClipRecord(&tRecord);
    ASSERT_NE(nullptr, tMask);
    for(int32_t c = 0; c < 10; c++)
    {
        for(int32_t r = 0; r < 2; r++)
        {
            const bool tSolid = (r == 0 && (c == 0 || c == 9)) || (r == 1 && c == 3);
            EXPECT_EQ(tSolid ? 1 : 0, tMask[c * 2 + r]) << c << "," << r;
        }
    }
    free(tMask);

    ClipRecord tEmpty = {0, 0, 0, nullptr};
    EXPECT_EQ(nullptr, LevelClipMap::NewMaskFromClipRecord(&tEmpty));
    EXPECT_EQ(nullptr, LevelClipMap::NewMaskFromClipRecord(nullptr));
}

TEST(ClipQueries, NoLevelIsSolidEverywhere)
{
    ClipWorld tWorld = {nullptr, nullptr, nullptr, nullptr};
    Hitbox tBox = MakeBox(10, 10, 14, 14);
    EXPECT_TRUE(IsClipped(tWorld, 5, 5));
    EXPECT_FALSE(ColumnAllFree(tWorld, 5, 0, 3));
    EXPECT_FALSE(RowAllFree(tWorld, 5, 0, 3));
    EXPECT_TRUE(AnyClippedInRow(tWorld, 5, 0, 3));
    EXPECT_TRUE(AnyClippedInRowF(tWorld, tBox));
    EXPECT_TRUE(IsBlockedLeft(tWorld, tBox));
    EXPECT_TRUE(IsBlockedRight(tWorld, tBox));
    EXPECT_TRUE(IsBlockedUp(tWorld, tBox));
    EXPECT_TRUE(IsBlockedDown(tWorld, tBox));

    // An empty range holds no point, so it is free even without a level.
    EXPECT_TRUE(ColumnAllFree(tWorld, 5, 3, 3));
    EXPECT_TRUE(RowAllFree(tWorld, 5, 3, 3));
}

TEST(ClipQueries, EntitiesFillFreeCellsOnly)
{
    TextLevel tLevel(cRows, 8, 4);
    PointEntity tEntity = {3, 3, 0};
    ClipWorld tWorld = tLevel.World(PointEntityTest, &tEntity);

    EXPECT_TRUE(IsClipped(tWorld, 3, 3));
    EXPECT_FALSE(IsClipped(tWorld, 4, 3));
    tEntity.mAsked = 0;
    EXPECT_TRUE(IsClipped(tWorld, 6, 2));
    EXPECT_EQ(0, tEntity.mAsked);

    // Scans stop at the first clipped point: (3, 3) is the second point of this row.
    tEntity.mAsked = 0;
    EXPECT_FALSE(RowAllFree(tWorld, 3, 2, 12));
    EXPECT_EQ(2, tEntity.mAsked);
    EXPECT_FALSE(ColumnAllFree(tWorld, 3, 0, 5));
    EXPECT_TRUE(ColumnAllFree(tWorld, 3, 0, 3));
}

// A scan asks the level point by point and the entities once; the answers are those of the
// point-by-point scan for every entity place, scan and empty range.
TEST(ClipQueries, ScansAskTheEntitiesOnceAndAnswerAsPointByPoint)
{
    TextLevel tLevel(cRows, 8, 4);
    PointEntity tEntity = {3, 3, 0};
    ClipWorld tByPoint = tLevel.World(PointEntityTest, &tEntity);
    ClipWorld tByBox = tByPoint;
    tByBox.rEntityBoxTest = PointEntityBoxTest;

    tEntity.mAsked = 0;
    EXPECT_FALSE(RowAllFree(tByBox, 3, 0, 12));
    EXPECT_EQ(1, tEntity.mAsked);
    tEntity.mAsked = 0;
    EXPECT_FALSE(ColumnAllFree(tByBox, 6, 2, 6));
    EXPECT_EQ(0, tEntity.mAsked);

    for(int32_t tX = -1; tX <= 16; tX += 3)
    {
        for(int32_t tY = -1; tY <= 8; tY++)
        {
            tEntity.mX = tX;
            tEntity.mY = tY;
            for(int32_t tFrom = -2; tFrom <= 17; tFrom++)
            {
                for(int32_t tTo = tFrom - 1; tTo <= tFrom + 6; tTo++)
                {
                    for(int32_t tAt = -1; tAt <= 16; tAt += 5)
                    {
                        ASSERT_EQ(RowAllFree(tByBox, tAt, tFrom, tTo), RowAllFree(tByPoint, tAt, tFrom, tTo));
                        ASSERT_EQ(ColumnAllFree(tByBox, tAt, tFrom, tTo), ColumnAllFree(tByPoint, tAt, tFrom, tTo));
                    }
                }
            }
            Hitbox tBox = MakeBox((float)tX - 2.0f, (float)tY - 1.0f, (float)tX + 1.0f, (float)tY + 2.0f);
            EXPECT_EQ(IsBlockedLeft(tByBox, tBox), IsBlockedLeft(tByPoint, tBox));
            EXPECT_EQ(IsBlockedRight(tByBox, tBox), IsBlockedRight(tByPoint, tBox));
            EXPECT_EQ(IsBlockedUp(tByBox, tBox), IsBlockedUp(tByPoint, tBox));
            EXPECT_EQ(IsBlockedDown(tByBox, tBox), IsBlockedDown(tByPoint, tBox));
        }
    }

    // Without a level everything is solid, box test or not.
    ClipWorld tNoLevel = {nullptr, PointEntityTest, &tEntity, PointEntityBoxTest};
    EXPECT_FALSE(RowAllFree(tNoLevel, 5, 0, 3));
    EXPECT_TRUE(RowAllFree(tNoLevel, 5, 3, 3));
}

TEST(ClipQueries, RowsColumnsAndBoxSides)
{
    TextLevel tLevel(cRows, 8, 4);
    ClipWorld tWorld = tLevel.World();

    EXPECT_TRUE(RowAllFree(tWorld, 6, 3, 12));
    EXPECT_TRUE(AnyClippedInRow(tWorld, 6, 3, 13));
    EXPECT_TRUE(ColumnAllFree(tWorld, 6, 3, 6));
    EXPECT_FALSE(ColumnAllFree(tWorld, 6, 0, 6));

    // A 2 by 2 box standing on the floor at row 6: its bottom row test reads row 6.
    Hitbox tOnFloor = MakeBox(1, 4, 3, 6);
    EXPECT_TRUE(AnyClippedInRowF(tWorld, tOnFloor));
    Hitbox tInAir = MakeBox(4, 3, 6, 5);
    EXPECT_FALSE(AnyClippedInRowF(tWorld, tInAir));

    // The wall at column 12 (rows 6 and 7): a one-unit gap to the right edge blocks, two do not.
    EXPECT_TRUE(IsBlockedRight(tWorld, MakeBox(9, 5, 11, 7)));
    EXPECT_FALSE(IsBlockedRight(tWorld, MakeBox(8, 5, 10, 7)));

    // Left and up look at the adjacent column and row.
    EXPECT_TRUE(IsBlockedLeft(tWorld, MakeBox(3, 5, 5, 7)));
    EXPECT_FALSE(IsBlockedLeft(tWorld, MakeBox(4, 4, 6, 6)));
    EXPECT_TRUE(IsBlockedUp(tWorld, MakeBox(6, 3, 8, 5)));
    EXPECT_FALSE(IsBlockedUp(tWorld, MakeBox(7, 3, 9, 5)));

    // Down skips the row right under the box: the floor at row 6 is seen from a box whose
    // bottom edge is at 5, one unit above it, but not from one a unit higher.
    EXPECT_TRUE(IsBlockedDown(tWorld, MakeBox(1, 3, 3, 5)));
    EXPECT_FALSE(IsBlockedDown(tWorld, MakeBox(1, 2, 3, 4)));
    EXPECT_FALSE(IsBlockedDown(tWorld, MakeBox(4, 3, 6, 5)));

    // Edges are truncated toward zero before the scans.
    EXPECT_TRUE(IsBlockedRight(tWorld, MakeBox(9.7f, 5.2f, 11.9f, 7.9f)));
}

TEST(ClipQueries, ABoxIsFreeWhenNoCellInsideItsEdgesIsSolid)
{
    TextLevel tLevel(cRows, 8, 4);
    ClipWorld tWorld = tLevel.World();
    // Standing on the floor (row 6), its bottom edge on the floor's top: free.
    EXPECT_TRUE(BoxAllFree(tWorld, MakeBox(1, 4, 3, 6)));
    // One cell sunk into the floor, or the lone cell at (6, 2) inside the box: not free.
    EXPECT_FALSE(BoxAllFree(tWorld, MakeBox(1, 5, 3, 7)));
    EXPECT_FALSE(BoxAllFree(tWorld, MakeBox(5, 1, 8, 4)));
    // Reaching past the level's left or top edge is reaching into solid.
    EXPECT_FALSE(BoxAllFree(tWorld, MakeBox(-1, 1, 2, 3)));
    EXPECT_FALSE(BoxAllFree(tWorld, MakeBox(7, -2, 9, 1)));
    EXPECT_TRUE(BoxAllFree(tWorld, MakeBox(7, 0, 9, 1)));
}

TEST(ClipQueries, TheLowestFreeTopOfABoxOverARangeOfPlaces)
{
    TextLevel tLevel(cRows, 8, 4);
    ClipWorld tWorld = tLevel.World();
    // The dip in the floor (row 6, columns 3 to 11) takes a 2 by 2 box one row lower than the
    // floor either side of it; a place whose box would hold the lone cell at (10, 4) is not free.
    EXPECT_EQ(5, LowestFreeBoxTop(tWorld, 3, 10, 0, 7, 2, 2));
    EXPECT_EQ(4, LowestFreeBoxTop(tWorld, 0, 1, 0, 7, 2, 2));
    EXPECT_EQ(4, LowestFreeBoxTop(tWorld, 3, 10, 0, 7, 2, 3));
    EXPECT_EQ(1, LowestFreeBoxTop(tWorld, 9, 10, 0, 7, 2, 3));
    // Below that cell the dip leaves exactly two free rows: room for a box exactly that tall.
    EXPECT_EQ(5, LowestFreeBoxTop(tWorld, 9, 10, 0, 7, 2, 2));
    // The top range bounds the answer; beyond the level nothing fits.
    EXPECT_EQ(2, LowestFreeBoxTop(tWorld, 3, 10, 0, 2, 2, 2));
    EXPECT_EQ(-1, LowestFreeBoxTop(tWorld, -5, -3, 0, 7, 2, 2));
}

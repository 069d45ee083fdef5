#include "core/Geometry.h"

#include "support/SeededRandom.h"

#include <gtest/gtest.h>

#include <cmath>

namespace
{
    IntRect Rect(int32_t pLft, int32_t pTop, int32_t pRgt, int32_t pBot)
    {
        IntRect tRect = {pLft, pTop, pRgt, pBot};
        return tRect;
    }

    // Squares and slanted shapes in both polygon forms.
    struct Shape
    {
        float mRecord[1 + 2 * 8];
        float mXs[8];
        float mYs[8];
        int32_t mCount;

        Shape(std::initializer_list<float> pCoords)
        {
            mCount = (int32_t)pCoords.size() / 2;
            mRecord[0] = (float)mCount;
            int32_t i = 0;
            for(float tValue : pCoords)
            {
                mRecord[1 + i] = tValue;
                if(i % 2 == 0) mXs[i / 2] = tValue;
                else mYs[i / 2] = tValue;
                i++;
            }
        }

        PolygonArrays Arrays() const
        {
            PolygonArrays tArrays = {mCount, mXs, mYs};
            return tArrays;
        }
    };

    Shape Square(float pLft, float pTop, float pRgt, float pBot)
    {
        return Shape({pLft, pTop, pRgt, pTop, pRgt, pBot, pLft, pBot});
    }

    void ExpectOverlapBothForms(const Shape &pA, const Shape &pB, bool pExpected)
    {
        EXPECT_EQ(PolygonsOverlap(pA.mRecord, pB.mRecord), pExpected);
        EXPECT_EQ(PolygonsOverlap(pB.mRecord, pA.mRecord), pExpected);
        EXPECT_EQ(PolygonArraysOverlap(pA.Arrays(), pB.Arrays()), pExpected);
        EXPECT_EQ(PolygonArraysOverlap(pB.Arrays(), pA.Arrays()), pExpected);
    }
}

TEST(GeometryTest, RectangleTestsTruncateAndIncludeEdges)
{
    // 10.9 .. 19.99 is tested as 10 .. 19.
    EXPECT_TRUE(HitboxesOverlap(HitboxFromEdges(10.9f, 0, 19.99f, 5), HitboxFromEdges(19.0f, 0, 25, 5)));
    EXPECT_FALSE(HitboxesOverlap(HitboxFromEdges(10.9f, 0, 19.99f, 5), HitboxFromEdges(20.0f, 0, 25, 5)));
    EXPECT_TRUE(HitboxOverlapsRectangle(HitboxFromEdges(0, 0, 9.9f, 9.9f), Rect(9, 9, 20, 20)));

    // Sharing only a corner point.
    EXPECT_TRUE(RectanglesOverlap(Rect(0, 0, 10, 10), Rect(10, 10, 20, 20)));
    EXPECT_FALSE(RectanglesOverlap(Rect(0, 0, 10, 10), Rect(11, 0, 20, 10)));
    // One inside the other, either order.
    EXPECT_TRUE(RectanglesOverlap(Rect(0, 0, 10, 10), Rect(2, 2, 4, 4)));
    EXPECT_TRUE(RectanglesOverlap(Rect(2, 2, 4, 4), Rect(0, 0, 10, 10)));

    ZoneRect tZone = {0, 0, 10, 10, 0, 0};
    EXPECT_TRUE(HitboxOverlapsZoneRect(HitboxFromEdges(10.5f, 10.5f, 30, 30), tZone));
    EXPECT_TRUE(ZoneRectOverlapsFloatRectangle(tZone, 10.7f, 0, 12, 3));

    EXPECT_TRUE(PointInRectangle(10, 0, Rect(0, 0, 10, 10)));
    EXPECT_FALSE(PointInFloatRectangle(11, 0, 0, 0, 10.99f, 10));

    // The shared part keeps shared edges; a corner alone is a one-point box.
    IntRect tBoth;
    ASSERT_TRUE(RectangleIntersection(Rect(0, 0, 10, 10), Rect(5, -5, 20, 3), tBoth));
    EXPECT_EQ(tBoth.mLft, 5);
    EXPECT_EQ(tBoth.mTop, 0);
    EXPECT_EQ(tBoth.mRgt, 10);
    EXPECT_EQ(tBoth.mBot, 3);
    ASSERT_TRUE(RectangleIntersection(Rect(0, 0, 10, 10), Rect(10, 10, 20, 20), tBoth));
    EXPECT_EQ(tBoth.mLft, tBoth.mRgt);
    EXPECT_FALSE(RectangleIntersection(Rect(0, 0, 10, 10), Rect(11, 0, 20, 10), tBoth));
}

TEST(GeometryTest, NestingIsEitherWay)
{
    EXPECT_TRUE(RectanglesNested(Rect(0, 0, 10, 10), Rect(0, 0, 10, 10)));
    EXPECT_TRUE(RectanglesNested(Rect(2, 2, 4, 4), Rect(0, 0, 10, 10)));
    EXPECT_TRUE(RectanglesNested(Rect(0, 0, 10, 10), Rect(2, 2, 4, 4)));
    EXPECT_FALSE(RectanglesNested(Rect(0, 0, 10, 10), Rect(5, 5, 15, 15)));
    EXPECT_TRUE(HitboxesNested(HitboxFromEdges(0.5f, 0.5f, 9.9f, 9.9f), HitboxFromEdges(0, 0, 9, 9)));
}

TEST(GeometryTest, OverlapFractionOfA)
{
    IntRect tA = Rect(0, 0, 10, 10);
    EXPECT_FLOAT_EQ(RectangleOverlapFraction(tA, Rect(5, 0, 20, 10)), 0.5f);
    EXPECT_FLOAT_EQ(RectangleOverlapFraction(tA, Rect(-5, -5, 20, 20)), 1.0f);
    EXPECT_FLOAT_EQ(RectangleOverlapFraction(tA, Rect(2, 2, 4, 4)), 0.04f);
    EXPECT_FLOAT_EQ(RectangleOverlapFraction(tA, Rect(10, 0, 20, 10)), 0.0f);
    EXPECT_FLOAT_EQ(RectangleOverlapFraction(Rect(5, 0, 5, 10), Rect(0, 0, 10, 10)), 0.0f);
    // An area past the i32 range still gives a share, not an overflowed one.
    EXPECT_FLOAT_EQ(RectangleOverlapFraction(Rect(0, 0, 100000, 100000), Rect(0, 0, 50000, 100000)), 0.5f);
}

TEST(GeometryTest, NonFiniteCornersAreClampedBeforeTruncation)
{
    EXPECT_EQ(TruncateCoordinate(NAN), 0);
    EXPECT_GT(TruncateCoordinate(INFINITY), 0);
    EXPECT_LT(TruncateCoordinate(-1.0e30f), 0);
    EXPECT_EQ(TruncateCoordinate(-3.7f), -3);
    EXPECT_FALSE(HitboxesOverlap(HitboxFromEdges(NAN, NAN, NAN, NAN), HitboxFromEdges(100, 100, 200, 200)));
}

TEST(GeometryTest, ReversedEdgesAreSwappedPairByPair)
{
    float tL = 50.0f, tT = 10.0f, tR = 20.0f, tB = 40.0f;
    EXPECT_TRUE(OrderRectangleEdges(tL, tT, tR, tB));
    EXPECT_EQ(tL, 20.0f);
    EXPECT_EQ(tR, 50.0f);
    EXPECT_EQ(tT, 10.0f);
    EXPECT_EQ(tB, 40.0f);
    tT = 90.0f;
    EXPECT_TRUE(OrderRectangleEdges(tL, tT, tR, tB));
    EXPECT_EQ(tT, 40.0f);
    EXPECT_EQ(tB, 90.0f);
    EXPECT_EQ(tL, 20.0f);
    // Ordered, flat or not a number: left alone.
    EXPECT_FALSE(OrderRectangleEdges(tL, tT, tR, tB));
    float tN = NAN, tZero = 5.0f, tSame = 5.0f;
    EXPECT_FALSE(OrderRectangleEdges(tN, tZero, tR, tSame));
    EXPECT_TRUE(std::isnan(tN));
}

TEST(GeometryTest, BoxAndZoneTruncationKeepEachCornerInItsPlace)
{
    IntRect tLoose = TruncateCorners(-3.7f, 2.9f, NAN, 1.0e30f);
    EXPECT_EQ(tLoose.mLft, -3);
    EXPECT_EQ(tLoose.mTop, 2);
    EXPECT_EQ(tLoose.mRgt, 0);
    EXPECT_GT(tLoose.mBot, 0);

    Hitbox tBox = HitboxFromEdges(10.9f, -0.5f, 19.99f, 7.1f);
    tBox.mOwnerX = 99.0f;
    IntRect tFromBox = TruncateHitbox(tBox);
    EXPECT_EQ(tFromBox.mLft, 10);
    EXPECT_EQ(tFromBox.mTop, 0);
    EXPECT_EQ(tFromBox.mRgt, 19);
    EXPECT_EQ(tFromBox.mBot, 7);

    ZoneRect tZone = {1.5f, 2.5f, 3.5f, 4.5f, 50.0f, 60.0f};
    IntRect tFromZone = TruncateZoneRect(tZone);
    EXPECT_EQ(tFromZone.mLft, 1);
    EXPECT_EQ(tFromZone.mTop, 2);
    EXPECT_EQ(tFromZone.mRgt, 3);
    EXPECT_EQ(tFromZone.mBot, 4);
}

TEST(GeometryTest, PointInPolygonNeedsClockwiseOrder)
{
    Shape tSquare = Square(0, 0, 10, 10);
    EXPECT_TRUE(PointInPolygon(5, 5, tSquare.mRecord));
    EXPECT_FALSE(PointInPolygon(15, 5, tSquare.mRecord));
    EXPECT_TRUE(PointInPolygon(10, 5, tSquare.mRecord));

    Shape tReversed({0, 10, 10, 10, 10, 0, 0, 0});
    EXPECT_FALSE(PointInPolygon(5, 5, tReversed.mRecord));
    EXPECT_FALSE(PointInPolygon(15, 5, tReversed.mRecord));

    EXPECT_TRUE(PointInPolygonArrays(5, 5, 4, tSquare.mXs, tSquare.mYs));
    EXPECT_FALSE(PointInPolygonArrays(5, 5, 2, tSquare.mXs, tSquare.mYs));
    EXPECT_FALSE(PointInPolygon(5, 5, nullptr));
    Shape tEmpty({});
    EXPECT_FALSE(PointInPolygon(0, 0, tEmpty.mRecord));
}

TEST(GeometryTest, ProjectionIsTheTurnedXAndSkipsDegeneratePolygons)
{
    Shape tSquare = Square(0, 0, 10, 10);
    float tMin = 0, tMax = 0;
    ProjectPolygon(tMin, tMax, tSquare.mRecord, 0.0f);
    EXPECT_FLOAT_EQ(tMin, 0.0f);
    EXPECT_FLOAT_EQ(tMax, 10.0f);
    // A quarter turn maps (x, y) to x = -y.
    ProjectPolygonArrays(tMin, tMax, tSquare.Arrays(), 1.5707963f);
    EXPECT_NEAR(tMin, -10.0f, 1e-4);
    EXPECT_NEAR(tMax, 0.0f, 1e-4);

    Shape tLine({0, 0, 5, 5});
    tMin = 123.0f;
    tMax = 456.0f;
    ProjectPolygon(tMin, tMax, tLine.mRecord, 0.3f);
    EXPECT_EQ(tMin, 123.0f);
    EXPECT_EQ(tMax, 456.0f);
}

TEST(GeometryTest, PolygonOverlapInBothForms)
{
    ExpectOverlapBothForms(Square(0, 0, 10, 10), Square(5, 5, 15, 15), true);
    ExpectOverlapBothForms(Square(0, 0, 10, 10), Square(11, 0, 21, 10), false);
    ExpectOverlapBothForms(Square(0, 0, 10, 10), Square(2, 2, 4, 4), true);
    ExpectOverlapBothForms(Square(0, 0, 10, 10), Square(10, 0, 20, 10), true);
}

TEST(GeometryTest, PolygonsSharingAnEdgeOverlap)
{
    // Side by side and one above the other, squares of different sizes.
    ExpectOverlapBothForms(Square(0, 0, 10, 10), Square(10, 2, 14, 6), true);
    ExpectOverlapBothForms(Square(0, 0, 10, 10), Square(0, 10, 10, 30), true);
    ExpectOverlapBothForms(Square(-20, -20, -10, -10), Square(-10, -20, 0, -10), true);

    // A square cut along its diagonal: the two halves share the slanted edge.
    Shape tLower({0, 0, 10, 10, 0, 10});
    Shape tUpper({0, 0, 10, 0, 10, 10});
    ExpectOverlapBothForms(tLower, tUpper, true);
    // A triangle standing on a square's top edge.
    ExpectOverlapBothForms(Shape({0, -8, 10, 0, 0, 0}), Square(0, 0, 10, 10), true);
    // A hitbox whose left side is the polygon's right side.
    EXPECT_TRUE(HitboxOverlapsPolygonArrays(HitboxFromEdges(10, 0, 20, 10), Square(0, 0, 10, 10).Arrays()));

    // One unit apart they no longer touch.
    ExpectOverlapBothForms(Square(0, 0, 10, 10), Square(11, 2, 14, 6), false);
    EXPECT_FALSE(HitboxOverlapsPolygonArrays(HitboxFromEdges(11, 0, 20, 10), Square(0, 0, 10, 10).Arrays()));
}

TEST(GeometryTest, SlantedEdgeSeparatesOnItsTrueNormal)
{
    // The triangle's long edge runs corner to corner; the square sits beside it, clear of it,
    // but inside the triangle's bounding box.
    Shape tTriangle({0, 0, 10, 10, 0, 10});
    Shape tSquare = Square(6, 0, 10, 3);
    ExpectOverlapBothForms(tTriangle, tSquare, false);
    EXPECT_FALSE(HitboxOverlapsPolygonArrays(HitboxFromEdges(6, 0, 10, 3), tTriangle.Arrays()));

    // Moved across the edge it does overlap.
    ExpectOverlapBothForms(tTriangle, Square(2, 5, 6, 8), true);
    EXPECT_TRUE(HitboxOverlapsPolygonArrays(HitboxFromEdges(2, 5, 6, 8), tTriangle.Arrays()));

    // A diamond and a square whose corners face each other across a gap.
    Shape tDiamond({5, 0, 10, 5, 5, 10, 0, 5});
    ExpectOverlapBothForms(tDiamond, Square(8.5f, 8.5f, 12, 12), false);
}

TEST(GeometryTest, DegeneratePolygonsOverlapNothing)
{
    Shape tLine({0, 0, 10, 10});
    ExpectOverlapBothForms(tLine, Square(0, 0, 10, 10), false);
}

TEST(GeometryTest, Distances)
{
    EXPECT_FLOAT_EQ(PointDistance(0, 3, 0, 4), 5.0f);
    EXPECT_FLOAT_EQ(PointDistance3D(0, 1, 0, 2, 0, 2), 3.0f);
}

TEST(GeometryTest, CentresOfBoxes)
{
    Hitbox tA = {};
    tA.mLft = 0.0f; tA.mTop = 0.0f; tA.mRgt = 6.0f; tA.mBot = 8.0f;
    Hitbox tB = tA;
    tB.mLft = 6.0f; tB.mRgt = 12.0f; tB.mTop = 8.0f; tB.mBot = 16.0f;
    EXPECT_FLOAT_EQ(HitboxCentreDistance(tA, tB), 10.0f);
    float tX, tY;
    HitboxCentre(tB, tX, tY);
    EXPECT_FLOAT_EQ(tX, 9.0f);
    EXPECT_FLOAT_EQ(tY, 12.0f);
    ZoneRect tZone = {-4.0f, 2.0f, 4.0f, 6.0f, 99.0f, 99.0f};
    ZoneRectCentre(tZone, tX, tY);
    EXPECT_FLOAT_EQ(tX, 0.0f);
    EXPECT_FLOAT_EQ(tY, 4.0f);
}

TEST(SolidReachTest, TheBoxHoldsExactlyTheWholeNumbersBetweenSmallEdges)
{
    IntRect tBox;
    ASSERT_TRUE(BoxHoldingFloatSpans(0.0f, 15.0f, -3.5f, 2.5f, tBox));
    EXPECT_EQ(tBox.mLft, 0);
    EXPECT_EQ(tBox.mRgt, 15);
    EXPECT_EQ(tBox.mTop, -3);
    EXPECT_EQ(tBox.mBot, 2);
    ASSERT_TRUE(BoxHoldingFloatSpans(4.0f, 4.0f, 4.0f, 4.0f, tBox));
    EXPECT_EQ(tBox.mLft, 4);
    EXPECT_EQ(tBox.mRgt, 4);

    // No whole number between the edges, edges the wrong way round, or not numbers at all.
    EXPECT_FALSE(BoxHoldingFloatSpans(0.25f, 0.75f, 0.0f, 1.0f, tBox));
    EXPECT_FALSE(BoxHoldingFloatSpans(0.0f, -1.0f, 0.0f, 1.0f, tBox));
    EXPECT_FALSE(BoxHoldingFloatSpans(NAN, 1.0f, 0.0f, 1.0f, tBox));
    EXPECT_FALSE(BoxHoldingFloatSpans(0.0f, 1.0f, 0.0f, NAN, tBox));

    // Infinite edges reach the ends of the whole numbers.
    ASSERT_TRUE(BoxHoldingFloatSpans(-INFINITY, INFINITY, 0.0f, 0.0f, tBox));
    EXPECT_EQ(tBox.mLft, INT32_MIN);
    EXPECT_EQ(tBox.mRgt, INT32_MAX);
}

TEST(SolidReachTest, LargeEdgesNeverLeaveOutAWholeNumberThatRoundsInside)
{
    Random tRandom = {77u};
    for(int32_t i = 0; i < 2000; i++)
    {
        float tLo = (float)tRandom.Range(-2000000000, 2000000000);
        float tHi = tLo + (float)tRandom.Range(0, 400);
        IntRect tBox;
        ASSERT_TRUE(BoxHoldingFloatSpans(tLo, tHi, 0.0f, 0.0f, tBox));
        for(int64_t x = (int64_t)tLo - 600; x <= (int64_t)tHi + 600; x += 1 + tRandom.Range(0, 9))
        {
            if(x < INT32_MIN || x > INT32_MAX) continue;
            float tAsFloat = (float)(int32_t)x;
            if(tAsFloat < tLo || tAsFloat > tHi) continue;
            ASSERT_GE(x, tBox.mLft) << tLo << " .. " << tHi;
            ASSERT_LE(x, tBox.mRgt) << tLo << " .. " << tHi;
        }
    }
}

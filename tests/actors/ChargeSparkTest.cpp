#include <gtest/gtest.h>

#include "actors/ChargeSpark.h"

// A spark facing left must cover the mirror image, about the box's centre, of the span it
// covers facing right; the picture's own width is part of that.
TEST(ChargeSparkPosition, FlippedSparkMirrorsItsWholeSpanAboutTheBoxCentre)
{
    const int32_t cBoxW = 19;
    const int32_t cAnchors[] = {-40, 0, 16, 35};
    const int32_t cWidths[] = {1, 24, 99, 128};
    for(int32_t tAnchor : cAnchors)
    {
        for(int32_t tWidth : cWidths)
        {
            const int32_t tRightLeft = ChargeSparkDrawX(cBoxW, tAnchor, tWidth, false, false, false, false);
            const int32_t tLeftLeft = ChargeSparkDrawX(cBoxW, tAnchor, tWidth, true, false, false, true);
            EXPECT_EQ(tRightLeft, tAnchor);
            // Left edge of one span plus right edge of the other is the box's full width.
            EXPECT_EQ(tLeftLeft + tWidth, cBoxW - tRightLeft) << "anchor " << tAnchor << ", width " << tWidth;
            EXPECT_EQ(tRightLeft + tWidth, cBoxW - tLeftLeft);
        }
    }

    // A 99-wide picture at anchor 16 once landed at 3, its body over her right-hand side.
    EXPECT_EQ(ChargeSparkDrawX(cBoxW, 16, 99, true, false, false, true), -96);
}

TEST(ChargeSparkPosition, BigSparksStandOffByFacingAndWallSlideShiftsOnlyUnflipped)
{
    EXPECT_EQ(ChargeSparkDrawX(19, 16, 24, false, false, true, false), 22);
    EXPECT_EQ(ChargeSparkDrawX(19, 16, 24, true, false, true, true), -27);
    // Wall sliding unflipped faces away from the wall on the right: the sparks move left.
    EXPECT_EQ(ChargeSparkDrawX(19, 16, 24, false, true, false, false), 4);
    EXPECT_EQ(ChargeSparkDrawX(19, 16, 24, true, true, false, true), -21);
}

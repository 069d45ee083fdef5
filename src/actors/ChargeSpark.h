#pragma once
#include <cstddef>
#include <cstdint>

class CorvelAnimation;

#define CHARGE_SPARK_COUNT 10
// Ticks a spark lives; it shows frame age / 3.
#define CHARGE_SPARK_LIFETIME 33
#define CHARGE_SPARK_INTERVAL 5
// Charge ticks at which the sparks start, and at which they turn into the big set.
#define CHARGE_SPARK_START 30
#define CHARGE_SPARK_BIG_ABOVE 79

// One spark of the charge glow beside the player's body. A free record has age -1.
struct ChargeSpark
{
    int32_t mAge;
    CorvelAnimation *rAnimation;
    uint8_t mBig;
};

// Frees every record.
void ResetChargeSparks(ChargeSpark *pSparks, int32_t pCount);

// Writes the library path of a spark animation: the charge set or, for big sparks, the
// simmer set, with its last letter chosen by pVariant (0 to 5 give A to F).
void BuildChargeSparkPath(char *sBuffer, size_t pSize, bool pBig, int32_t pVariant);

// One tick of the spark records: while the charge is below the start every spark goes and the
// clock restarts; otherwise a new spark takes the first free record every fifth tick. Live
// sparks age and are freed at the end of their life.
void TickChargeSparks(ChargeSpark *pSparks, int32_t pCount, int32_t &sClock, int32_t pCharge);

// Left edge, in the body's space (the box's top-left at 0), of a spark picture pFrameWidth
// wide. Unflipped it sits at the anchor; flipped, the whole picture is mirrored about the
// box's centre, so its left edge lands at boxW - anchor - width (a flipped draw mirrors the
// picture inside its own width). Wall sliding unflipped moves it further left; big sparks
// stand off by a fixed step in the facing's direction.
int32_t ChargeSparkDrawX(int32_t pBoxW, int32_t pAnchorX, int32_t pFrameWidth, bool pFlipped, bool pWallSliding,
                         bool pBig, bool pFacingLeft);

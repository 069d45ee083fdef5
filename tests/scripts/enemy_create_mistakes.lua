-- A map author's Enemy_Create calls in the 640 by 480 test level: a box reaching below the
-- bottom edge, one past the right edge, one wholly inside, and a constructor that is not there.
Enemy_Create("Sunk", gPlacedCtor, "300", "470")
DL_PopActiveEntity()
Enemy_Create("Beyond", gPlacedCtor, "630", "300")
DL_PopActiveEntity()
Enemy_Create("Inside", gPlacedCtor, "300", "300")
DL_PopActiveEntity()
Enemy_Create("Lost", gMissingCtor, "300", "300")
DL_PopActiveEntity()

#include "world/SlipZone.h"

SlipZone::SlipZone()
{
    SetName("Unnamed Slipper");
}

SlipZone::~SlipZone()
{
}

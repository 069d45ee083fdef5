// SkeletonFuzzAtlas.h: an atlas with every region the sample puppets and the fuzz seeds name,
// shared by the skeleton fuzz targets.
#pragma once

#include <cstdio>
#include <cstring>

#include "skeleton/Atlas.h"

static Atlas *MakeFuzzAtlas()
{
    static const char *const cNames[] = {"head", "body", "torso", "arm", "leg", "club", "tread0", "tread1", "hull", "turret", "cannon"};
    static char sText[4096];
    size_t tUsed = (size_t)snprintf(sText, sizeof(sText), "page.png\nformat: RGBA8888\nfilter: Linear,Linear\nrepeat: none\n");
    for(const char *rName : cNames)
    {
        tUsed += (size_t)snprintf(sText + tUsed, sizeof(sText) - tUsed,
                                  "%s\nrotate: false\nxy: 2, 4\nsize: 20, 10\norig: 20, 12\noffset: 0, 1\nindex: -1\n", rName);
    }
    return Atlas_readAtlas(sText, (int32_t)strlen(sText), "");
}

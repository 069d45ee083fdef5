#pragma once

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <unistd.h>

#include "skeleton/Atlas.h"
#include "skeleton/SkeletonData.h"
#include "skeleton/SkeletonJson.h"

// A two-bone skeleton, worked out by hand in the tests: root at (10, 20) turned 90 degrees with
// scaleX 2, arm 5 along it; "body" on the root, "head" on the arm.
static const char *const cSampleSkeleton = R"({
 "bones":[{"name":"root","x":10,"y":20,"rotation":90,"scaleX":2},
          {"name":"arm","parent":"root","x":5}],
 "slots":[{"name":"body","bone":"root","attachment":"body"},
          {"name":"head","bone":"arm","color":"ff000080","attachment":"head"}],
 "skins":{"default":{"body":{"body":{"width":20,"height":20}},
                     "head":{"head":{"width":20,"height":10}}}},
 "events":{"step":{"int":3}},
 "animations":{"spin":{
   "bones":{"arm":{"rotate":[{"time":0,"angle":0},{"time":1,"angle":90}],
                   "translate":[{"time":0,"x":0,"y":0},{"time":2,"x":10,"y":-4}]}},
   "slots":{"head":{"attachment":[{"time":0,"name":"head"},{"time":1.5,"name":null}]}},
   "events":[{"time":0.5,"name":"step"}]}}})";

// "head" 20 x 10 untrimmed at (2, 4); "body" a 10 x 10 trim of a 20 x 20 picture at (30, 4).
static const char *const cSampleAtlas =
    "\n"
    "test.png\n"
    "format: RGBA8888\n"
    "filter: Linear,Linear\n"
    "repeat: none\n"
    "head\n"
    "  rotate: false\n"
    "  xy: 2, 4\n"
    "  size: 20, 10\n"
    "  orig: 20, 10\n"
    "  offset: 0, 0\n"
    "  index: -1\n"
    "body\n"
    "  rotate: false\n"
    "  xy: 30, 4\n"
    "  size: 10, 10\n"
    "  orig: 20, 20\n"
    "  offset: 5, 5\n"
    "  index: -1\n";

// The sample atlas and skeleton read in memory; the caller disposes through Release.
struct SampleSkeleton
{
    SampleSkeleton(const char *pSkeleton = cSampleSkeleton)
    {
        mAtlas = Atlas_readAtlas(cSampleAtlas, (int32_t)strlen(cSampleAtlas), "");
        mReader = SkeletonJson_create(mAtlas);
        mData = SkeletonJson_readSkeletonData(mReader, pSkeleton);
    }
    ~SampleSkeleton()
    {
        SkeletonData_dispose(mData);
        SkeletonJson_dispose(mReader);
        Atlas_dispose(mAtlas);
    }
    Atlas *mAtlas;
    SkeletonJson *mReader;
    SkeletonData *mData;
};

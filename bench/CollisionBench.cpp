#include "core/Application.h"
#include "core/Hitbox.h"
#include "world/ClipQueries.h"
#include "world/EntityManager.h"
#include "world/LevelClipMap.h"
#include "world/LevelCollision.h"
#include "world/RootProjectile.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdlib>

namespace
{
    const uint32_t cChunk = 256;

    // One chunk pattern for every chunk: a floor band with a one-unit step and a wall, so boxes
    // walk, climb and stop. Sharing it keeps huge grids cheap to build.
    uint8_t *NewPatternMask()
    {
        uint8_t *nCells = (uint8_t *)calloc((size_t)cChunk * cChunk, 1);
        for(uint32_t x = 0; x < cChunk; x++)
        {
            for(uint32_t y = 0; y < cChunk; y++)
            {
                bool tSolid = y >= 200 && y < 216;
                tSolid = tSolid || (y == 199 && x >= 128 && x < 192);
                tSolid = tSolid || (x >= 240 && x < 248 && y >= 120 && y < 200);
                nCells[x * cChunk + y] = tSolid ? 1 : 0;
            }
        }
        return nCells;
    }

    struct BenchLevel
    {
        LevelClipMap mMap;
        uint8_t *mMask;
        uint32_t mSide;
        // Chunks that have had cells painted in own a copy of the pattern.
        uint8_t **mOwnMasks;

        explicit BenchLevel(uint32_t pSide) : mMask(NewPatternMask()), mSide(pSide)
        {
            mMap.SetChunkSize(cChunk, cChunk);
            mMap.Allocate(pSide, pSide);
            mOwnMasks = (uint8_t **)calloc((size_t)pSide * pSide, sizeof(uint8_t *));
            for(uint32_t c = 0; c < pSide; c++)
            {
                for(uint32_t r = 0; r < pSide; r++) mMap.SetChunkMask(c, r, mMask, cChunk, cChunk);
            }
        }
        ~BenchLevel()
        {
            for(uint32_t i = 0; i < mSide * mSide; i++) free(mOwnMasks[i]);
            free(mOwnMasks);
            free(mMask);
        }

        // Makes the cells of a box solid, as if it were part of the level.
        void Paint(int32_t pLft, int32_t pTop, int32_t pSize)
        {
            for(int32_t x = pLft; x < pLft + pSize; x++)
            {
                for(int32_t y = pTop; y < pTop + pSize; y++)
                {
                    uint32_t c = (uint32_t)x / cChunk, r = (uint32_t)y / cChunk;
                    if(c >= mSide || r >= mSide) continue;
                    uint8_t *&rOwn = mOwnMasks[c * mSide + r];
                    if(!rOwn)
                    {
                        rOwn = NewPatternMask();
                        mMap.SetChunkMask(c, r, rOwn, cChunk, cChunk);
                    }
                    rOwn[(x % cChunk) * cChunk + y % cChunk] = 1;
                }
            }
        }
    };

    Hitbox MakeBox(float pLft, float pTop, float pW, float pH)
    {
        Hitbox tBox = HitboxFromEdges(pLft, pTop, pLft + pW, pTop + pH);
        tBox.mOwnerX = pLft;
        tBox.mOwnerY = pTop;
        return tBox;
    }

    bool ManagerPointTest(void *pContext, int32_t pX, int32_t pY)
    {
        return ((EntityManager *)pContext)->IsPointInsideAny(pX, pY);
    }

    bool ManagerBoxTest(void *pContext, IntRect pBox)
    {
        return ((EntityManager *)pContext)->IsAnyPointInside(pBox);
    }

    // A registered entity that walks its own box back and forth through the world, the way
    // enemies and projectiles move with collision from their update.
    class WalkingBox : public RootProjectile
    {
    public:
        WalkingBox(const ClipWorld *pWorld, float pLft, float pTop, float pSpeed) : rWorld(pWorld), mSpeed(pSpeed)
        {
            mHitbox = MakeBox(pLft, pTop, 16, 32);
        }
        void Update() override
        {
            const float tOldLft = mHitbox.mLft;
            AllowBotSlopes = true;
            MoveWithCollision(*rWorld, mSpeed, 4.0, 0.0, mHitbox);
            if(mHitbox.mLft == tOldLft) mSpeed = -mSpeed;
        }
        const ClipWorld *rWorld;
        double mSpeed;
    };

    // A solid obstacle; when asked to, it steps one unit sideways every tick, so the point
    // index has to follow it.
    class SolidBlock : public RootProjectile
    {
    public:
        SolidBlock(float pLft, float pTop, bool pMoves) : mMoves(pMoves)
        {
            SetObstacle(1);
            SetDimensions(0.0f, 0.0f, 16.0f, 16.0f);
            SetPosition(pLft, pTop);
            mStep = 1.0f;
        }
        void Update() override
        {
            if(!mMoves) return;
            if(mTicksAlive++ % 32 == 0) mStep = -mStep;
            SetPosition(mHitbox.mOwnerX + mStep, mHitbox.mOwnerY);
        }
        bool mMoves;
        float mStep;
    };
}

// Point tests spread over the whole level: the cost should not grow with the grid.
static void BM_IsClippedByMapSize(benchmark::State &pState)
{
    const uint32_t tSide = (uint32_t)pState.range(0);
    BenchLevel tLevel(tSide);
    ClipWorld tWorld = {&tLevel.mMap, nullptr, nullptr, nullptr};
    const uint32_t tSize = tSide * cChunk;
    uint32_t tSeed = 12345;
    int64_t tSolid = 0;
    for(auto _ : pState)
    {
        tSeed = tSeed * 1664525u + 1013904223u;
        const int32_t tX = (int32_t)((tSeed >> 8) % tSize);
        const int32_t tY = (int32_t)((tSeed * 2654435761u >> 8) % tSize);
        tSolid += IsClipped(tWorld, tX, tY);
    }
    benchmark::DoNotOptimize(tSolid);
    pState.counters["world_units"] = (double)tSize;
}
BENCHMARK(BM_IsClippedByMapSize)->Arg(1)->Arg(8)->Arg(64)->Arg(256)->Arg(999);

// Point tests the way movement asks them: a 64 by 64 neighbourhood in the middle of the
// level, so only the grid lookup itself is measured, not cache misses across a huge grid.
static void BM_IsClippedLocalByMapSize(benchmark::State &pState)
{
    const uint32_t tSide = (uint32_t)pState.range(0);
    BenchLevel tLevel(tSide);
    ClipWorld tWorld = {&tLevel.mMap, nullptr, nullptr, nullptr};
    const int32_t tCentre = (int32_t)(tSide * cChunk / 2);
    uint32_t tStep = 0;
    int64_t tSolid = 0;
    for(auto _ : pState)
    {
        tStep++;
        tSolid += IsClipped(tWorld, tCentre + (int32_t)(tStep & 63), tCentre + (int32_t)((tStep >> 6) & 63));
    }
    benchmark::DoNotOptimize(tSolid);
}
BENCHMARK(BM_IsClippedLocalByMapSize)->Arg(1)->Arg(8)->Arg(64)->Arg(256)->Arg(999);

// A 16 by 32 box walking and falling by (7, 7) with the player's ground flags, against a level
// and the entity manager holding a number of solid entities far away.
static void BM_MoveWithCollisionEntities(benchmark::State &pState)
{
    BenchLevel tLevel(8);
    EntityManager *rPrevious = GetApplication()->mEntityManager;
    EntityManager *tManager = new EntityManager();
    GetApplication()->mEntityManager = tManager;
    for(int32_t i = 0; i < (int32_t)pState.range(0); i++)
    {
        SolidBlock *nBlock = new SolidBlock((float)(1800 + (i % 10) * 20), (float)(1800 + (i / 10 % 10) * 20), false);
        nBlock->SetDimensions(0.0f, 0.0f, 11.0f, 11.0f);
        tManager->RegisterEntity("Solid", nBlock, DeleteRootObject);
    }
    // New entities are settled into the index by the next walk.
    tManager->Update();
    ClipWorld tWorld = {&tLevel.mMap, ManagerPointTest, tManager, ManagerBoxTest};
    Hitbox tBox = MakeBox(10, 150, 16, 32);
    double tDX = 7.0;
    for(auto _ : pState)
    {
        const float tOldLft = tBox.mLft;
        AllowBotSlopes = true;
        AllowAirWalk = true;
        MoveWithCollision(tWorld, tDX, 7.0, 0.0, tBox);
        if(tBox.mLft == tOldLft || tBox.mLft < 10 || tBox.mRgt > 1500) tDX = -tDX;
    }
    GetApplication()->mEntityManager = rPrevious;
    delete tManager;
}
BENCHMARK(BM_MoveWithCollisionEntities)->Arg(0)->Arg(100)->Arg(1000);

// One tick of 1,000 boxes moving through the same level.
static void BM_MoveThousandBoxes(benchmark::State &pState)
{
    BenchLevel tLevel(8);
    ClipWorld tWorld = {&tLevel.mMap, nullptr, nullptr, nullptr};
    const int32_t tCount = 1000;
    Hitbox *tBoxes = new Hitbox[tCount];
    double *tSpeeds = new double[tCount];
    for(int32_t i = 0; i < tCount; i++)
    {
        tBoxes[i] = MakeBox((float)(20 + (i % 40) * 48), (float)(150 + (i / 40) * 256 % 1792), 16, 32);
        tSpeeds[i] = (i % 2) ? 3.5 : -3.5;
    }
    for(auto _ : pState)
    {
        for(int32_t i = 0; i < tCount; i++)
        {
            const float tOldLft = tBoxes[i].mLft;
            AllowBotSlopes = true;
            MoveWithCollision(tWorld, tSpeeds[i], 4.0, 0.0, tBoxes[i]);
            if(tBoxes[i].mLft == tOldLft) tSpeeds[i] = -tSpeeds[i];
        }
    }
    pState.SetItemsProcessed(pState.iterations() * tCount);
    delete[] tBoxes;
    delete[] tSpeeds;
}
BENCHMARK(BM_MoveThousandBoxes);

// One tick of the entity manager's update walk: 1,000 registered entities each move with
// collision among a number of solid obstacles. Arguments: how many obstacles; whether they step
// sideways every tick; where they are: 0 floating just above the movers' heads, in the same
// index cells but never touched, so the movement is exactly that of the tick against the level
// alone (no obstacles, no entity test); 1 standing on the floors in the movers' way; 2 the
// same boxes painted into the level instead, the level-alone tick with that same movement.
static void BM_TickThousandMoversAmongSolids(benchmark::State &pState)
{
    const int32_t tSolids = (int32_t)pState.range(0);
    const bool tSolidsMove = pState.range(1) != 0;
    const bool tPainted = pState.range(2) == 2;
    const float tSolidTop = pState.range(2) ? 184.0f : 130.0f;
    BenchLevel tLevel(8);
    EntityManager *rPrevious = GetApplication()->mEntityManager;
    EntityManager *tManager = new EntityManager();
    GetApplication()->mEntityManager = tManager;
    ClipWorld tWorld = {&tLevel.mMap, nullptr, nullptr, nullptr};
    if(tSolids > 0 && !tPainted) tWorld = {&tLevel.mMap, ManagerPointTest, tManager, ManagerBoxTest};

    uint32_t tSeed = 977;
    for(int32_t i = 0; i < tSolids; i++)
    {
        tSeed = tSeed * 1664525u + 1013904223u;
        const float tX = (float)(40 + (tSeed >> 8) % 1960);
        const float tY = tSolidTop + (float)((i % 8) * 256);
        if(tPainted) tLevel.Paint((int32_t)tX, (int32_t)tY, 16);
        else tManager->RegisterEntity("Solid", new SolidBlock(tX, tY, tSolidsMove), DeleteRootObject);
    }
    for(int32_t i = 0; i < 1000; i++)
    {
        WalkingBox *nBox = new WalkingBox(&tWorld, (float)(20 + (i % 40) * 48), (float)(150 + (i / 40) * 256 % 1792),
                                          (i % 2) ? 3.5f : -3.5f);
        tManager->RegisterEntity("Walker", nBox, DeleteRootObject);
    }
    for(auto _ : pState)
    {
        tManager->Update();
    }
    pState.SetItemsProcessed(pState.iterations() * 1000);

    GetApplication()->mEntityManager = rPrevious;
    delete tManager;
}
BENCHMARK(BM_TickThousandMoversAmongSolids)->Args({0, 0, 0})->Args({1000, 0, 0})->Args({1000, 1, 0})->Args({1000, 0, 1})->Args({1000, 0, 2})->Unit(benchmark::kMicrosecond);

#include "world/Particle.h"

#include "core/Application.h"
#include "core/NamedLinkedList.h"
#include "core/data/LumpRecords.h"
#include "core/render/GLState.h"
#include "world/EntityManager.h"
#include "world/LineArtLevel.h"
#include "world/MapManager.h"

#include <allegro5/allegro.h>
#include <allegro5/allegro_opengl.h>
#include <benchmark/benchmark.h>

#include <cstdlib>

namespace
{
    const int32_t cLevelSide = 1024;

    // A 1024-unit square level with a floor 64 units thick, so debris falls, bounces and
    // slides the way it does in play.
    void InstallLevel()
    {
        const int32_t tRowBytes = (cLevelSide + 7) / 8;
        uint8_t *nData = (uint8_t *)calloc((size_t)tRowBytes * cLevelSide, 1);
        for(int32_t y = cLevelSide - 64; y < cLevelSide; y++)
        {
            for(int32_t x = 0; x < tRowBytes; x++) nData[y * tRowBytes + x] = 0xFF;
        }
        ClipRecord tRecord = {(uint16_t)cLevelSide, (uint16_t)cLevelSide, (uint32_t)(tRowBytes * cLevelSide), nData};
        LineartLevel *nLevel = new LineartLevel();
        nLevel->SetChunkSize(cLevelSide, cLevelSide);
        nLevel->Allocate(1, 1);
        LineartChunk *nChunk = new LineartChunk();
        nChunk->SetClip(&tRecord);
        nLevel->SetChunk(0, 0, nChunk);
        free(nData);
        GetApplication()->mMapManager->SetLevel(nLevel);
    }

    // Endless debris spread over the level, as a burst of explosions leaves it.
    void FillParticles(EntityManager *pManager, int64_t pCount)
    {
        srand(11);
        for(int64_t i = 0; i < pCount; i++)
        {
            Particle *nParticle = new Particle();
            nParticle->SetPosition((float)(rand() % cLevelSide), (float)(rand() % (cLevelSide - 80)), -0.515f);
            nParticle->MakeDebris((float)(rand() % 1000 - 500) / 100.0f, (float)(rand() % 1000 - 500) / 100.0f);
            pManager->AddParticle(nParticle);
        }
    }

    struct ParticleWorld
    {
        Application mSaved;
        ParticleWorld()
        {
            mSaved = *GetApplication();
            GetApplication()->mEntityManager = new EntityManager();
            GetApplication()->mEntityManager->CreateSpecialLists();
            GetApplication()->mMapManager = new MapManager();
            InstallLevel();
        }
        ~ParticleWorld()
        {
            delete GetApplication()->mMapManager;
            delete GetApplication()->mEntityManager;
            *GetApplication() = mSaved;
        }
    };
}

// One tick of n live debris particles: the update step and the batch the drawing is made from.
static void BM_ParticlesUpdateAndBatch(benchmark::State &pState)
{
    ParticleWorld tWorld;
    EntityManager *rManager = GetApplication()->mEntityManager;
    FillParticles(rManager, pState.range(0));
    NamedLinkedList *rList = rManager->GetSpecialList(PARTICLE_LIST_NAME);
    for(auto _ : pState)
    {
        UpdateParticles(rList);
        int32_t tCount = 0;
        float *nBatch = BuildParticleBatch(rList, tCount);
        benchmark::DoNotOptimize(nBatch);
        free(nBatch);
    }
    pState.SetItemsProcessed(pState.iterations() * pState.range(0));
}
BENCHMARK(BM_ParticlesUpdateAndBatch)->Arg(10000);

// The same tick drawn for real: update, then the points into an OpenGL window (Xvfb and Mesa
// do here). Skipped where no display can be opened.
static void BM_ParticlesUpdateAndDraw(benchmark::State &pState)
{
    if(!al_init())
    {
        pState.SkipWithError("Allegro did not start");
        return;
    }
    al_set_new_display_flags(ALLEGRO_OPENGL | ALLEGRO_WINDOWED);
    ALLEGRO_DISPLAY *rDisplay = al_create_display(800, 600);
    if(!rDisplay)
    {
        pState.SkipWithError("no display");
        return;
    }
    {
        ParticleWorld tWorld;
        EntityManager *rManager = GetApplication()->mEntityManager;
        FillParticles(rManager, pState.range(0));
        NamedLinkedList *rList = rManager->GetSpecialList(PARTICLE_LIST_NAME);
        GLState::Begin2DView();
        for(auto _ : pState)
        {
            UpdateParticles(rList);
            RenderParticles(rList);
            glFinish();
        }
        pState.SetItemsProcessed(pState.iterations() * pState.range(0));
    }
    al_destroy_display(rDisplay);
}
BENCHMARK(BM_ParticlesUpdateAndDraw)->Arg(10000)->Unit(benchmark::kMillisecond);

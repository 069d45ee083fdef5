#pragma once
#include <cstdint>

#include "core/render/Drawing.h"
#include "world/ClipQueries.h"

class NamedLinkedList;
class Particle;

// Answers true when the particle has finished.
typedef bool (*ParticleBehaviour)(Particle *pParticle);

// Floats of one batch entry: x, y, z, then r, g, b, a.
#define PARTICLE_BATCH_FLOATS 7
// Over the last this many ticks of its lifetime a particle fades out.
#define PARTICLE_FADE_TICKS 90
// Depth of the debris that explosions and weapon hits throw.
#define DEBRIS_DEPTH -0.515f
// Per-tick fall of debris.
#define DEBRIS_GRAVITY 0.25f

// State of a debris particle: speeds and the sub-unit remainders of its moves.
struct DebrisState
{
    float mSpeedX;
    float mSpeedY;
    float mRemainderX;
    float mRemainderY;
};

// A cheap coloured point of an explosion or of debris. Not an entity: the entity manager keeps
// particles in its "Particle List", steps them every tick and draws them all as one batch of
// points.
class Particle
{
public:
    Particle();
    ~Particle();

    void SetPosition(float pX, float pY, float pZ);
    void GetPosition(float &sX, float &sY, float &sZ) const;
    void SetColour(ColorRGBA pColour) { mColour = pColour; }
    ColorRGBA GetColour() const { return mColour; }
    // Ticks left; 0 or less means no countdown.
    void SetLifetime(int32_t pTicks) { mLifetime = pTicks; }
    int32_t GetLifetime() const { return mLifetime; }
    bool IsDone() const { return mDone != 0; }
    void *GetBehaviourData() const { return mBehaviourData; }
    // Takes ownership of malloc'd data, freeing what was there.
    void SetBehaviour(ParticleBehaviour pBehaviour, void *pData);

    // One tick: the lifetime counts down (fading over the last ticks), then the behaviour
    // runs. Without a behaviour, or when it answers true, the particle is done.
    void Update();
    // Writes the entry at sCount into the batch and counts it.
    void AddToBatch(float *pBatch, int32_t &sCount) const;
    // The particle becomes debris with these speeds: it falls, bounces through the level and
    // lives until its lifetime runs out.
    void MakeDebris(float pSpeedX, float pSpeedY);

    // Deleter of the particle list.
    static void DeleteThis(void *pParticle);

private:
    float mX;
    float mY;
    float mZ;
    ColorRGBA mColour;
    uint8_t mDone;
    int32_t mLifetime;
    ParticleBehaviour rBehaviour;
    void *mBehaviourData;

    Particle(const Particle &) = delete;
    Particle &operator=(const Particle &) = delete;
};

// One tick of a debris particle against the given world: gravity, then unit steps along both
// axes with bounces off whatever is solid. Answers false (debris ends by its lifetime only);
// true when the particle holds no debris state.
bool StepDebris(Particle *pParticle, const ClipWorld &pWorld);

// The particle list's per-tick step: every particle updates; finished ones are destroyed.
void UpdateParticles(NamedLinkedList *pList);
// Fills a new batch from the list in list order; the caller frees it. Null for no particles.
float *BuildParticleBatch(NamedLinkedList *pList, int32_t &sCount);
// Draws the list as one run of 4-unit points, each in its own colour, in the current view.
// Texturing is off during the run and back on after it.
void RenderParticles(NamedLinkedList *pList);
// Starts one debris particle and hands it to the entity manager's particle list; nothing
// without an entity manager.
void StartDebris(float pX, float pY, float pZ, ColorRGBA pColour, int32_t pLifetime, float pSpeedX, float pSpeedY);
// 30 to 100 debris particles of random colours flying out within pi/8 either side of the
// angle (radians), added to the entity manager's particle list.
void SpawnParticleExplosion(int32_t pX, int32_t pY, float pAngle);

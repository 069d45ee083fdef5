#include "WorldLuaFixture.h"
#include "TextLevel.h"

#include "core/NamedLinkedList.h"
#include "world/Particle.h"

#include <cmath>
#include <cstdlib>

namespace
{
    // 40 by 24 units: solid from row 20 down, and a wall from column 30 rightward.
    const char *const cRows[] = {
        "..............................##########", "..............................##########",
        "..............................##########", "..............................##########",
        "..............................##########", "..............................##########",
        "..............................##########", "..............................##########",
        "..............................##########", "..............................##########",
        "..............................##########", "..............................##########",
        "..............................##########", "..............................##########",
        "..............................##########", "..............................##########",
        "..............................##########", "..............................##########",
        "..............................##########", "..............................##########",
        "########################################", "########################################",
        "########################################", "########################################",
    };

    bool NeverFinishes(Particle *)
    {
        return false;
    }

    DebrisState *Debris(Particle &pParticle)
    {
        return static_cast<DebrisState *>(pParticle.GetBehaviourData());
    }

    float Y(const Particle &pParticle)
    {
        float tX, tY, tZ;
        pParticle.GetPosition(tX, tY, tZ);
        return tY;
    }

    float X(const Particle &pParticle)
    {
        float tX, tY, tZ;
        pParticle.GetPosition(tX, tY, tZ);
        return tX;
    }
}

TEST(Particle, FadesOverTheLastNinetyTicksAndEndsWithItsLifetime)
{
    Particle tParticle;
    tParticle.SetLifetime(100);
    tParticle.SetBehaviour(NeverFinishes, nullptr);
    for(int32_t i = 0; i < 9; i++) tParticle.Update();
    EXPECT_EQ(tParticle.GetLifetime(), 91);
    EXPECT_FLOAT_EQ(tParticle.GetColour().a, 1.0f);
    tParticle.Update();
    EXPECT_FLOAT_EQ(tParticle.GetColour().a, 1.0f);
    for(int32_t i = 0; i < 45; i++) tParticle.Update();
    EXPECT_EQ(tParticle.GetLifetime(), 45);
    EXPECT_FLOAT_EQ(tParticle.GetColour().a, 0.5f);
    for(int32_t i = 0; i < 44; i++) tParticle.Update();
    EXPECT_FALSE(tParticle.IsDone());
    EXPECT_NEAR(tParticle.GetColour().a, 1.0f / 90.0f, 1e-6f);
    tParticle.Update();
    EXPECT_TRUE(tParticle.IsDone());

    // Without a behaviour a particle lasts one step; an endless one lives on its behaviour.
    Particle tBare;
    tBare.Update();
    EXPECT_TRUE(tBare.IsDone());
    Particle tEndless;
    tEndless.SetBehaviour(NeverFinishes, nullptr);
    for(int32_t i = 0; i < 500; i++) tEndless.Update();
    EXPECT_FALSE(tEndless.IsDone());
    EXPECT_FLOAT_EQ(tEndless.GetColour().a, 1.0f);
}

TEST(Particle, DebrisBouncesOffTheFloorWithAThirdOfItsSpeedAndComesToRest)
{
    TextLevel tLevel(cRows, 24, 8);
    const ClipWorld tWorld = tLevel.World();
    Particle tParticle;
    tParticle.SetPosition(10.0f, 10.0f, -0.5f);
    tParticle.MakeDebris(1.0f, 3.75f);
    // Speeds 4.0, 4.25, 4.5 down: 4, 4 and (with the remainders) 4 more units, the last of
    // which is the floor at row 20.
    EXPECT_FALSE(StepDebris(&tParticle, tWorld));
    EXPECT_FLOAT_EQ(Y(tParticle), 14.0f);
    StepDebris(&tParticle, tWorld);
    EXPECT_FLOAT_EQ(Y(tParticle), 18.0f);
    EXPECT_FLOAT_EQ(Debris(tParticle)->mRemainderY, 0.25f);
    StepDebris(&tParticle, tWorld);
    EXPECT_FLOAT_EQ(Y(tParticle), 19.0f);
    EXPECT_FLOAT_EQ(Debris(tParticle)->mSpeedY, -4.5f * 0.35f);
    EXPECT_FLOAT_EQ(Debris(tParticle)->mRemainderY, 0.0f);
    EXPECT_FLOAT_EQ(Debris(tParticle)->mSpeedX, 0.9f);
    // Up again: -1.575 + 0.25 is one unit up.
    StepDebris(&tParticle, tWorld);
    EXPECT_FLOAT_EQ(Y(tParticle), 18.0f);
    EXPECT_FLOAT_EQ(Debris(tParticle)->mSpeedY, -1.325f);

    // The second landing is slow enough that the bounce ends there; every touch of the ground
    // takes a tenth of the sideways speed, and it snaps to 0 once within 0.05.
    for(int32_t i = 0; i < 200; i++) StepDebris(&tParticle, tWorld);
    EXPECT_FLOAT_EQ(Y(tParticle), 19.0f);
    EXPECT_GE(Debris(tParticle)->mSpeedY, 0.0f);
    EXPECT_LT(Debris(tParticle)->mSpeedY, 1.0f);
    EXPECT_EQ(Debris(tParticle)->mSpeedX, 0.0f);
    const float tRestX = X(tParticle);
    for(int32_t i = 0; i < 20; i++) StepDebris(&tParticle, tWorld);
    EXPECT_FLOAT_EQ(X(tParticle), tRestX);
    EXPECT_FLOAT_EQ(Y(tParticle), 19.0f);
}

TEST(Particle, DebrisHittingAWallReversesAndHalvesItsSideSpeed)
{
    TextLevel tLevel(cRows, 24, 8);
    const ClipWorld tWorld = tLevel.World();
    Particle tParticle;
    tParticle.SetPosition(27.0f, 10.0f, 0.0f);
    tParticle.MakeDebris(4.0f, -0.25f);
    StepDebris(&tParticle, tWorld);
    // 28 and 29 are free, 30 is the wall: back to 29 with one step unused.
    EXPECT_FLOAT_EQ(X(tParticle), 29.0f);
    EXPECT_FLOAT_EQ(Y(tParticle), 10.0f);
    EXPECT_FLOAT_EQ(Debris(tParticle)->mSpeedX, -2.0f);
    EXPECT_FLOAT_EQ(Debris(tParticle)->mRemainderX, -0.5f);
    StepDebris(&tParticle, tWorld);
    EXPECT_FLOAT_EQ(X(tParticle), 27.0f);

    // Without debris state the routine reports the particle finished.
    Particle tPlain;
    EXPECT_TRUE(StepDebris(&tPlain, tWorld));
    EXPECT_TRUE(StepDebris(nullptr, tWorld));
}

TEST(Particle, BatchesHoldSevenFloatsInListOrder)
{
    NamedLinkedList tList(1);
    for(int32_t i = 0; i < 3; i++)
    {
        Particle *nParticle = new Particle();
        nParticle->SetPosition((float)i, (float)(i * 10), -0.5f);
        ColorRGBA tColour = {0.25f, 0.5f, 0.75f, 1.0f};
        nParticle->SetColour(tColour);
        tList.AddElementWithDeleter("X", nParticle, Particle::DeleteThis);
    }
    int32_t tCount = -1;
    float *nBatch = BuildParticleBatch(&tList, tCount);
    ASSERT_NE(nBatch, nullptr);
    EXPECT_EQ(tCount, 3);
    const float tSecond[PARTICLE_BATCH_FLOATS] = {1.0f, 10.0f, -0.5f, 0.25f, 0.5f, 0.75f, 1.0f};
    for(int32_t i = 0; i < PARTICLE_BATCH_FLOATS; i++) EXPECT_FLOAT_EQ(nBatch[PARTICLE_BATCH_FLOATS + i], tSecond[i]);
    free(nBatch);

    // Particles without behaviour are done after one step and leave the list.
    UpdateParticles(&tList);
    EXPECT_EQ(tList.GetCount(), 0);
    EXPECT_EQ(BuildParticleBatch(&tList, tCount), nullptr);
    EXPECT_EQ(tCount, 0);
}

using ParticleExplosionTest = WorldLuaFixture;

TEST_F(ParticleExplosionTest, ExplosionsFlyOutWithinTheSpreadAndExpire)
{
    EntityManager::RegisterLua(L);
    srand(7);
    Run("EM_ParticleExplosion(100.9, 50.2, 0)");
    NamedLinkedList *rList = mEntities->GetSpecialList(PARTICLE_LIST_NAME);
    ASSERT_NE(rList, nullptr);
    const int32_t tCount = rList->GetCount();
    EXPECT_GE(tCount, 30);
    EXPECT_LE(tCount, 100);
    for(void *rData = rList->PushIterator(); rData; rData = rList->IterateNext())
    {
        Particle *rParticle = static_cast<Particle *>(rData);
        float tX, tY, tZ;
        rParticle->GetPosition(tX, tY, tZ);
        EXPECT_EQ(tX, 100.0f);
        EXPECT_EQ(tY, 50.0f);
        EXPECT_FLOAT_EQ(tZ, -0.515f);
        EXPECT_GE(rParticle->GetLifetime(), 150);
        EXPECT_LE(rParticle->GetLifetime(), 194);
        const DebrisState *rState = static_cast<DebrisState *>(rParticle->GetBehaviourData());
        ASSERT_NE(rState, nullptr);
        EXPECT_NEAR(std::hypot(rState->mSpeedX, rState->mSpeedY), 5.0f, 1e-4f);
        EXPECT_LE(std::fabs(std::atan2(rState->mSpeedY, rState->mSpeedX)), 0.3926991f);
    }

    // Every particle is gone once the longest lifetime has run out.
    for(int32_t i = 0; i < 193; i++) mEntities->Update();
    EXPECT_GT(rList->GetCount(), 0);
    mEntities->Update();
    EXPECT_EQ(rList->GetCount(), 0);

    testing::internal::CaptureStderr();
    Run("EM_ParticleExplosion(1, 2) EM_ParticleExplosion(1, 2, 'x') EM_ParticleExplosion(1, 2, 3, 4)");
    std::string tErrors = CapturedStderr();
    EXPECT_NE(tErrors.find("EM_ParticleExplosion: Failed, invalid argument list"), std::string::npos);
    EXPECT_EQ(rList->GetCount(), 0);
    EXPECT_EQ(lua_gettop(L), 0);
}

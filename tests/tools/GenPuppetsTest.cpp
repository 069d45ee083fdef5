#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "support/ScratchFolder.h"
#include "core/render/Bitmap.h"
#include "skeleton/Animation.h"
#include "skeleton/CorvelPuppet.h"
#include "skeleton/Skeleton.h"
#include "skeleton/SkeletonData.h"

namespace
{
    Bitmap *SizedTexture(const char *pPath)
    {
        Bitmap *nBitmap = new Bitmap();
        nBitmap->SetTextureSize(128, 64);
        return nBitmap;
    }

    bool PoseIsFinite(const Skeleton *pSkeleton)
    {
        for(int32_t i = 0; i < pSkeleton->mBoneCount; i++)
        {
            const Bone *rBone = pSkeleton->mBones[i];
            const float cValues[] = {rBone->mWorldX, rBone->mWorldY, rBone->mM00, rBone->mM01, rBone->mM10, rBone->mM11};
            for(float tValue : cValues)
            {
                if(!std::isfinite(tValue)) return false;
            }
        }
        return true;
    }

    // Boots one generated puppet and plays every animation through two loops.
    void PlayEveryAnimation(const std::string &pStem, const char *pSkin, int32_t pSlots, const char *pAnimations[3])
    {
        CorvelPuppet tPuppet;
        tPuppet.Boot((pStem + ".png").c_str(), (pStem + ".atlas").c_str(), (pStem + ".json").c_str(), pSkin);
        ASSERT_EQ(1, tPuppet.IsBooted()) << pStem;
        ASSERT_EQ(pSlots, tPuppet.GetSlotCount());
        float tQuad[8];
        int32_t tShown = 0;
        for(int32_t i = 0; i < pSlots; i++) tShown += tPuppet.GetSlotQuad(i, tQuad) ? 1 : 0;
        // Every slot but a bounding box shows a region in the setup pose.
        EXPECT_GE(tShown, pSlots - 1) << pStem;
        for(int32_t a = 0; a < 3; a++)
        {
            SkeletonData *rData = tPuppet.GetSkeleton()->rData;
            ASSERT_NE(nullptr, SkeletonData_findAnimation(rData, pAnimations[a])) << pAnimations[a];
            tPuppet.SetAnimation(pAnimations[a]);
            for(float t = 0.0f; t < 3.0f; t += 1.0f / 60.0f)
            {
                tPuppet.SetAnimationTime(t);
                ASSERT_TRUE(PoseIsFinite(tPuppet.GetSkeleton())) << pAnimations[a] << " at " << t;
            }
        }
    }
}

TEST(GenPuppets, WritesBothPresetsAndTheyPlay)
{
    ScratchFolder tDir{"puppets"};
    std::string tCommand = std::string(CORVEL_BINARY_DIR) + "/genpuppets " + tDir.Path();
    ASSERT_EQ(0, system(tCommand.c_str()));
    CorvelPuppet::SetTextureLoader(SizedTexture);
    const char *cGoblin[3] = {"idle", "walk", "attack"};
    PlayEveryAnimation(tDir.Path() + "/Goblin/goblins", "goblin", 7, cGoblin);
    const char *cTank[3] = {"idle", "roll", "fire"};
    // The tank's preset names a skin it does not have: the default skin shows.
    PlayEveryAnimation(tDir.Path() + "/DragonTank/skeleton", "skeleton.png", 6, cTank);
    CorvelPuppet::SetTextureLoader(nullptr);
}

#include "support/PlayerWorld.h"
#include "skeleton/CorvelPuppet.h"
#include "skeleton/PuppetEntity.h"

namespace
{
    class PuppetEntityTest : public PlayerWorld
    {
    };
}

TEST_F(PuppetEntityTest, FollowsThePlayer100UnitsToTheRightWithAPuppetNeverBooted)
{
    PuppetEntity tEntity;
    EXPECT_EQ(TYPE_ROOTOBJECT, tEntity.GetType());
    ASSERT_NE(nullptr, tEntity.GetPuppet());
    EXPECT_EQ(0, tEntity.GetPuppet()->IsBooted());
    Hitbox tBox;
    tEntity.GetHitbox(tBox);
    EXPECT_EQ(0.0f, tBox.mLft);

    Hitbox tPlayer;
    mPlayer->GetHitbox(tPlayer);
    tEntity.Update();
    tEntity.GetHitbox(tBox);
    EXPECT_FLOAT_EQ(tPlayer.mLft + 100.0f, tBox.mLft);
    EXPECT_FLOAT_EQ(tPlayer.mRgt + 100.0f, tBox.mRgt);
    EXPECT_FLOAT_EQ(tPlayer.mOwnerX + 100.0f, tBox.mOwnerX);
    EXPECT_FLOAT_EQ(tPlayer.mTop, tBox.mTop);
    EXPECT_FLOAT_EQ(tPlayer.mBot, tBox.mBot);
    EXPECT_EQ(1, tEntity.GetFrameCounter());
    tEntity.Update();
    EXPECT_EQ(2, tEntity.GetFrameCounter());
}

TEST(PuppetEntityAlone, UpdatesWithoutAPlayer)
{
    PuppetEntity tEntity;
    tEntity.Update();
    EXPECT_EQ(1, tEntity.GetFrameCounter());
}

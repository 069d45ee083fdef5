#include "WorldLuaFixture.h"
#include "TextLevel.h"

#include "core/DataList.h"
#include "core/render/Bitmap.h"
#include "core/render/CorvelAnimation.h"
#include "world/RootSprite.h"

#include <string>
#include <vector>

namespace
{
    class RootSpriteTest : public WorldLuaFixture
    {
    protected:
        void SetUp() override
        {
            WorldLuaFixture::SetUp();
            RegisterRootSpriteLua(L);
            RegisterLuaManagerLua(L);
            RegisterDataLibraryLua(L);
            RegisterRootEntityLua(L);
            EntityManager::RegisterLua(L);
            // Three pictures without textures, and an animation of them at 5 ticks a frame.
            mLibrary->AddPath("Root/Images/Test/Puff/");
            mLibrary->AddPath("Root/Animations/Test/Effects/");
            CorvelAnimation *nAnimation = new CorvelAnimation();
            nAnimation->SetTotalFrames(3);
            nAnimation->SetTicksPerFrame(5.0f);
            for(int32_t i = 0; i < 3; i++)
            {
                mFrames[i] = new Bitmap();
                mFrames[i]->SetSize(8, 8);
                std::string tPath = "Root/Images/Test/Puff/" + std::to_string(i);
                mLibrary->AddEntry(tPath.c_str(), mFrames[i], Bitmap::DeleteThis, DL_KIND_BITMAP);
                nAnimation->SetFrame(i, mFrames[i]);
            }
            mLibrary->AddEntry("Root/Animations/Test/Effects/Puff", nAnimation, CorvelAnimation::DeleteThis, DL_KIND_ROOTOBJECT);
            mAnimation = nAnimation;
        }

        // A sprite made by script, with the animation in slot 0; left active.
        RootSprite *MakeSprite(const char *pName, const char *pExtra = "")
        {
            std::string tRun = std::string("Sprite_Create('") + pName + "')"
                               " Sprite_SetProperty('AnimationsTotal', 1)"
                               " Sprite_SetProperty('Animation', 0, 'Root/Animations/Test/Effects/Puff') " + pExtra;
            Run(tRun.c_str());
            return dynamic_cast<RootSprite *>(mEntities->GetEntity(pName));
        }

        Bitmap *mFrames[3];
        CorvelAnimation *mAnimation;
    };
}

TEST_F(RootSpriteTest, LifetimesCountDownToDestructionOrRunForever)
{
    RootSprite tSprite;
    EXPECT_EQ(tSprite.GetType(), TYPE_ROOTSPRITE);
    EXPECT_EQ(tSprite.GetLifetime(), SPRITE_LIFETIME_ENDLESS);
    // The first animation's length, before any animation is set: nothing changes.
    tSprite.SetLifetime(SPRITE_LIFETIME_FIRST_ANIMATION);
    EXPECT_EQ(tSprite.GetLifetime(), SPRITE_LIFETIME_ENDLESS);
    tSprite.SetAnimationsTotal(1);
    tSprite.SetAnimation(0, mAnimation);
    tSprite.SetLifetime(SPRITE_LIFETIME_FIRST_ANIMATION);
    EXPECT_EQ(tSprite.GetLifetime(), 15);
    for(int32_t i = 0; i < 14; i++) tSprite.Update();
    EXPECT_EQ(tSprite.GetDestruct(), 0);
    EXPECT_EQ(tSprite.GetTicksAlive(), 14);
    tSprite.Update();
    EXPECT_EQ(tSprite.GetDestruct(), 1);
    EXPECT_EQ(tSprite.GetTicksAlive(), 14);

    RootSprite tOne;
    tOne.SetLifetime(1);
    tOne.Update();
    EXPECT_EQ(tOne.GetDestruct(), 1);

    // 0 counts past zero to -1 and then lives for ever.
    RootSprite tZero;
    tZero.SetLifetime(0);
    for(int32_t i = 0; i < 100; i++) tZero.Update();
    EXPECT_EQ(tZero.GetDestruct(), 0);
    EXPECT_EQ(tZero.GetLifetime(), SPRITE_LIFETIME_ENDLESS);

    // A script's huge negative lifetime stops at the floor rather than wrapping to a countdown.
    RootSprite *rFar = MakeSprite("Far", "Sprite_SetProperty('Lifetime', -1e300) DL_PopActiveEntity()");
    ASSERT_NE(rFar, nullptr);
    for(int32_t i = 0; i < 3; i++) rFar->Update();
    EXPECT_EQ(rFar->GetLifetime(), INT32_MIN);
    EXPECT_EQ(rFar->GetDestruct(), 0);
}

TEST_F(RootSpriteTest, FramesFollowTheClockOrTheHookAndCanBeHidden)
{
    RootSprite *rSprite = MakeSprite("Puff", "Sprite_SetProperty('UpdatePath', 'FUNCOVERRIDE_PLAYONCE')"
                                             " Sprite_SetProperty('Lifetime', -2) DL_PopActiveEntity()");
    ASSERT_NE(rSprite, nullptr);
    EXPECT_EQ(rSprite->GetLifetime(), 15);
    EXPECT_EQ(rSprite->ChooseFrame(), mFrames[0]);
    for(int32_t i = 0; i < 5; i++) rSprite->Update();
    EXPECT_EQ(rSprite->ChooseFrame(), mFrames[1]);
    for(int32_t i = 0; i < 5; i++) rSprite->Update();
    EXPECT_EQ(rSprite->ChooseFrame(), mFrames[2]);
    // Through the entity manager it is gone once its animation has played.
    for(int32_t i = 0; i < 5; i++) mEntities->Update();
    EXPECT_EQ(mEntities->GetEntity("Puff"), nullptr);

    // A mono script picks: a set frame, hidden, a missing slot, the clock.
    RootSprite *rMono = MakeSprite("Mono", ("Sprite_SetProperty('MonoScript', '" + Script("sprite_mono.lua") + "')"
                                            " Sprite_SetProperty('Position', 7, 8) DL_PopActiveEntity()").c_str());
    ASSERT_NE(rMono, nullptr);
    Run("gaSpritePick = {0, 2}");
    EXPECT_EQ(rMono->ChooseFrame(), mFrames[2]);
    Run("gaSpritePick = {0, -2}");
    EXPECT_EQ(rMono->ChooseFrame(), nullptr);
    EXPECT_EQ(rMono->GetCurrentFrame(), SPRITE_FRAME_HIDDEN);
    Run("gaSpritePick = {1, 0}");
    EXPECT_EQ(rMono->ChooseFrame(), nullptr);
    Run("gaSpritePick = {0, 7}");
    EXPECT_EQ(rMono->ChooseFrame(), nullptr);
    rMono->Update();
    Run("gaSpritePick = {0, -1}");
    EXPECT_EQ(rMono->ChooseFrame(), mFrames[0]);
    // Without a pick nothing is drawn: each frame starts with no animation chosen.
    Run("gaSpritePick = nil");
    EXPECT_EQ(rMono->ChooseFrame(), nullptr);
    EXPECT_EQ(rMono->GetCurrentAnimation(), -1);
    EXPECT_EQ(GlobalString("gsSpriteEvents"), "2 2 2 2 1 2 2 ");
    EXPECT_EQ(GlobalString("gfSpriteX"), "7");

    // A purged animation leaves an empty slot, never a dangling one.
    mLibrary->Purge("Root/Animations/Test/Effects/Puff", false);
    EXPECT_EQ(rMono->GetAnimation(0), nullptr);
    Run("gaSpritePick = {0, -1}");
    EXPECT_EQ(rMono->ChooseFrame(), nullptr);
}

TEST_F(RootSpriteTest, ScrapPiecesFallAndBlink)
{
    RootSprite *rScrap = MakeSprite("Scrap", "Sprite_SetProperty('UpdatePath', 'FUNCOVERRIDE_SCRAPPIECE')"
                                             " RE_DefineData('iTimer', 'N', 0) RE_DefineData('iFrame', 'N', 1)"
                                             " RE_DefineData('fXPos', 'N', 100) RE_DefineData('fYPos', 'N', 50)"
                                             " RE_DefineData('fXSpeed', 'N', 2) RE_DefineData('fYSpeed', 'N', -3)"
                                             " RE_DefineData('fYAccel', 'N', 0.5) DL_PopActiveEntity()");
    ASSERT_NE(rScrap, nullptr);
    float tX, tY, tZ;
    rScrap->Update();
    rScrap->GetPosition(tX, tY, tZ);
    EXPECT_FLOAT_EQ(tX, 102.0f - 30.0f);
    EXPECT_FLOAT_EQ(tY, 47.0f - 30.0f);
    rScrap->Update();
    rScrap->GetPosition(tX, tY, tZ);
    EXPECT_FLOAT_EQ(tX, 104.0f - 30.0f);
    EXPECT_FLOAT_EQ(tY, 44.5f - 30.0f);
    // Timer 2 and 3 show frame iFrame; 4 and 5 hide it.
    EXPECT_EQ(rScrap->ChooseFrame(), mFrames[1]);
    rScrap->Update();
    EXPECT_EQ(rScrap->ChooseFrame(), mFrames[1]);
    rScrap->Update();
    EXPECT_EQ(rScrap->ChooseFrame(), nullptr);
    EXPECT_EQ(rScrap->GetCurrentFrame(), SPRITE_FRAME_HIDDEN);

    // Without its data the override reads zeros and writes nothing.
    RootSprite tBare;
    tBare.SetUpdatePath("FUNCOVERRIDE_SCRAPPIECE");
    tBare.Update();
    tBare.GetPosition(tX, tY, tZ);
    EXPECT_FLOAT_EQ(tX, -30.0f);
    EXPECT_EQ(tBare.ChooseFrame(), nullptr);

    // Another path drops the override: an animate script takes over again.
    tBare.SetUpdatePath("Data/Nothing.lua");
    tBare.SetAnimatePath(Script("sprite_mono.lua").c_str());
    tBare.ChooseFrame();
    EXPECT_EQ(GlobalString("gsSpriteEvents"), "-1 ");
}

TEST_F(RootSpriteTest, WaterTilesItsPoolOncePerFrame)
{
    RootSprite *rWater = MakeSprite("Pool", "Sprite_SetProperty('UpdatePath', 'FUNCOVERRIDE_WATER')"
                                            " RE_DefineData('fLeft', 'N', 10) RE_DefineData('fTop', 'N', 20)"
                                            " RE_DefineData('fRight', 'N', 60) RE_DefineData('fBottom', 'N', 40)"
                                            " DL_PopActiveEntity()");
    ASSERT_NE(rWater, nullptr);
    EXPECT_EQ(rWater->IsOverRenderPending(), 0);
    EXPECT_EQ(rWater->ChooseFrame(), mFrames[0]);
    EXPECT_EQ(rWater->IsOverRenderPending(), 1);
    EXPECT_EQ(rWater->GetCurrentAnimation(), 0);
    EXPECT_EQ(rWater->GetCurrentFrame(), SPRITE_FRAME_CLOCK);

    // Sprite_UseOverRender asks for one tiled drawing.
    RootSprite *rTile = MakeSprite("Tile", "Sprite_UseOverRender(0, 0, 0, 0, 32, 32)");
    EXPECT_EQ(rTile->IsOverRenderPending(), 1);
    testing::internal::CaptureStderr();
    Run("Sprite_UseOverRender(0, 0, 0, 0, 32) Sprite_UseOverRender(0, 0, 0, 0, 32, 'x') DL_PopActiveEntity()"
        " Sprite_UseOverRender(0, 0, 0, 0, 32, 32)");
    std::string tErrors = CapturedStderr();
    EXPECT_NE(tErrors.find("Sprite_UseOverRender: Failed, invalid argument list"), std::string::npos);
    EXPECT_NE(tErrors.find("Sprite_UseOverRender: Failed, rActiveObject was wrong type"), std::string::npos);
}

TEST_F(RootSpriteTest, HuggingASurfaceMovesFiftyUnitsAtMost)
{
    std::vector<std::string> tText(16, std::string(16, '.'));
    for(int32_t y = 8; y < 16; y++) tText[y] = std::string(16, '#');
    std::vector<const char *> tRows;
    for(auto &rRow : tText) tRows.push_back(rRow.c_str());
    TextLevel tLevel(tRows.data(), 16, 16);
    RootSprite tSprite;
    tSprite.SetSize(4.0f, 4.0f);
    // The ground's top row is 8; the box's bottom edge is exclusive, so it settles at 7.
    tSprite.SetPosition(5.0f, 0.0f);
    tSprite.HugSurfaceIn(tLevel.World());
    EXPECT_FLOAT_EQ(tSprite.GetBox().mBot, 7.0f);
    // Sunk two units into the ground: lifted out to the same place.
    tSprite.SetPosition(5.0f, 7.0f);
    tSprite.HugSurfaceIn(tLevel.World());
    EXPECT_FLOAT_EQ(tSprite.GetBox().mBot, 7.0f);

    // Sixty units of air below: fifty down and no more.
    std::vector<std::string> tTall(128, std::string(16, '.'));
    for(int32_t y = 72; y < 128; y++) tTall[y] = std::string(16, '#');
    tRows.clear();
    for(auto &rRow : tTall) tRows.push_back(rRow.c_str());
    TextLevel tDeep(tRows.data(), 128, 16);
    tSprite.SetPosition(5.0f, 10.0f);
    tSprite.HugSurfaceIn(tDeep.World());
    EXPECT_FLOAT_EQ(tSprite.GetBox().mOwnerY, 60.0f);
}

TEST_F(RootSpriteTest, GlobalsRefuseWrongTypesCountsAndObjects)
{
    int32_t tStack = mLibrary->GetActiveStackSize();
    testing::internal::CaptureStderr();
    Run("Sprite_Create() Sprite_Create('A', 'B', 'C')");
    EXPECT_EQ(mLibrary->GetActiveStackSize(), tStack + 2);
    Run("Sprite_SetProperty('Flip', 1) r = Sprite_GetProperty('Position')");
    std::string tErrors = CapturedStderr();
    EXPECT_NE(tErrors.find("Sprite_Create: Failed, invalid argument list"), std::string::npos);
    EXPECT_NE(tErrors.find("Sprite_SetProperty:  Failed, invalid object\n"), std::string::npos);
    EXPECT_NE(tErrors.find("Sprite_GetProperty: Failed, rActiveObject was wrong type"), std::string::npos);
    EXPECT_EQ(GlobalString("r"), "<nil>");

    Run(("Sprite_Create('Made', '" + Script("sprite_create.lua") + "') x, y = Sprite_GetProperty('Position')").c_str());
    EXPECT_EQ(GlobalString("gsCreateArgument"), "0.000000");
    EXPECT_EQ(GlobalString("x") + "," + GlobalString("y"), "50,60");
    RootSprite *rMade = dynamic_cast<RootSprite *>(mEntities->GetEntity("Made"));
    ASSERT_NE(rMade, nullptr);
    EXPECT_FLOAT_EQ(rMade->GetBox().mLft, 40.0f);
    EXPECT_FLOAT_EQ(rMade->GetBox().mTop, 55.0f);

    testing::internal::CaptureStderr();
    Run("Sprite_SetProperty() Sprite_SetProperty('Flip') Sprite_SetProperty('Flip', 'x')"
        " Sprite_SetProperty('AnimationsTotal', 2)"
        " Sprite_SetProperty('Animation', 0, 'Root/Images/Test/Puff/0')"
        " Sprite_SetProperty('Animation', 1, 'Root/Nowhere/At/All/X')"
        " Sprite_SetProperty('Animation', 5, 'Root/Animations/Test/Effects/Puff')"
        " Sprite_SetProperty('Position', 1) Sprite_SetAnimationProperties(1, 2, 3)"
        " Sprite_SetProperty('Palettes', 'Root/P', 'Red')"
        " n = select('#', Sprite_GetProperty('Size'))");
    tErrors = CapturedStderr();
    EXPECT_NE(tErrors.find("Sprite_SetProperty: Failed, cannot function with no args.\n"), std::string::npos);
    EXPECT_NE(tErrors.find("Sprite_SetProperty:  Failed, could not resolve Flip with 1 args\n"), std::string::npos);
    EXPECT_NE(tErrors.find("Sprite_SetProperty:  Failed, could not resolve Flip with 2 args\n"), std::string::npos);
    EXPECT_NE(tErrors.find("Sprite_SetProperty:  Failed, Animation Root/Images/Test/Puff/0 was in error\n"), std::string::npos);
    EXPECT_NE(tErrors.find("Sprite_SetProperty:  Failed, Animation Root/Nowhere/At/All/X was in error\n"), std::string::npos);
    EXPECT_NE(tErrors.find("Sprite_SetAnimationProperties: Failed, invalid argument list"), std::string::npos);
    EXPECT_NE(tErrors.find("Sprite_GetProperty: Failed, cannot resolve Size"), std::string::npos);
    EXPECT_EQ(rMade->GetAnimation(0), nullptr);
    EXPECT_EQ(rMade->GetAnimation(1), nullptr);
    EXPECT_EQ(GlobalString("n"), "1");

    testing::internal::CaptureStderr();
    Run("Sprite_SetProperty('AnimationsTotal', 2e9)");
    EXPECT_NE(CapturedStderr().find("animations asked for"), std::string::npos);
    EXPECT_EQ(rMade->GetAnimationsTotal(), SPRITE_MAX_ANIMATIONS);

    // A zone trigger or the player is not a sprite.
    mEntities->CreatePlayer();
    testing::internal::CaptureStderr();
    Run("EM_PushEntity('Player') Sprite_HugSurface() Sprite_SetProperty('Flip', 1) DL_PopActiveEntity()");
    tErrors = CapturedStderr();
    EXPECT_NE(tErrors.find("Sprite_HugSurface: Failed, rActiveObject was wrong type"), std::string::npos);
    EXPECT_NE(tErrors.find("Sprite_SetProperty:  Failed, invalid object"), std::string::npos);
    EXPECT_EQ(lua_gettop(L), 0);
}

#include "world/RootProjectile.h"

#include "actors/PlayerPony.h"

#include "WorldLuaFixture.h"
#include "core/DataList.h"
#include "core/NamedLinkedList.h"
#include "core/Utilities.h"
#include "world/Checkpoint.h"
#include "world/FlameProjectile.h"
#include "world/LevelCollision.h"

#include <cstdlib>
#include <cstring>

namespace
{
    class ProjectileTest : public WorldLuaFixture
    {
    protected:
        void SetUp() override
        {
            WorldLuaFixture::SetUp();
            RegisterProjLua(L);
            mHook = Script("proj_hook.lua");
        }

        // A registered projectile with its box 0..pSize to the right of and below the position.
        RootProjectile *Add(const char *pKind, float pX, float pY, float pSize)
        {
            RootProjectile *nProjectile = new RootProjectile();
            nProjectile->SetDimensions(0.0f, 0.0f, pSize, pSize);
            nProjectile->SetPosition(pX, pY);
            mEntities->RegisterProjectile(pKind, nProjectile, DeleteRootObject);
            return nProjectile;
        }

        std::string Log() { return GlobalString("proj_hook_log"); }

        std::string mHook;
    };

    // Stands in for the moving platform family, which shares the projectile bindings.
    class PlatformLike : public RootProjectile
    {
    public:
        PlatformLike() { mType = TYPE_MOVINGCONTAINER; }
    };
}

TEST_F(ProjectileTest, OffscreenRulesFollowTheCameraFrame)
{
    // A fresh projectile ignores the level (with no map everything is solid) and moves freely.
    RootProjectile *rFree = Add("Free", 100.0f, 100.0f, 8.0f);
    rFree->SetSpeeds(3.0f, -4.0f);
    rFree->Update();
    float tX, tY, tZ;
    rFree->GetPosition(tX, tY, tZ);
    EXPECT_FLOAT_EQ(tX, 103.0f);
    EXPECT_FLOAT_EQ(tY, 96.0f);
    EXPECT_FALSE(rFree->GetDestruct());

    // 160 units beyond the 480-wide frame is still kept; one more is gone.
    RootProjectile *rEdge = Add("Edge", 640.0f, 100.0f, 8.0f);
    RootProjectile *rBeyond = Add("Beyond", 100.0f, -161.0f, 8.0f);
    rEdge->Update();
    rBeyond->Update();
    EXPECT_FALSE(rEdge->GetDestruct());
    EXPECT_TRUE(rBeyond->GetDestruct());

    RootProjectile *rKept = Add("Kept", 5000.0f, 5000.0f, 8.0f);
    rKept->SetBlockAutoOffscreenDestruction(1);
    rKept->Update();
    EXPECT_FALSE(rKept->GetDestruct());

    // The margin is measured from the position moved onto the box's top-left corner.
    RootProjectile *rCentred = Add("Centred", 645.0f, 100.0f, 0.0f);
    rCentred->SetDimensions(-8.0f, -8.0f, 8.0f, 8.0f);
    rCentred->Update();
    EXPECT_TRUE(rCentred->GetDestruct());
    rCentred->GetPosition(tX, tY, tZ);
    EXPECT_FLOAT_EQ(tX, 645.0f);

    // A buster shot goes as soon as its box no longer touches the view.
    RootProjectile *rTouching = Add("Shot", 480.0f, 100.0f, 12.0f);
    RootProjectile *rOutside = Add("Shot", 481.0f, 100.0f, 12.0f);
    rTouching->SetIsBuster(1);
    rOutside->SetIsBuster(1);
    rTouching->Update();
    rOutside->Update();
    EXPECT_FALSE(rTouching->GetDestruct());
    EXPECT_TRUE(rOutside->GetDestruct());

    // The buster test, too, reads the box moved so its top-left sits on the position.
    RootProjectile *rCentredShot = Add("Shot", 485.0f, 100.0f, 0.0f);
    rCentredShot->SetDimensions(-8.0f, -8.0f, 8.0f, 8.0f);
    rCentredShot->SetIsBuster(1);
    rCentredShot->Update();
    EXPECT_TRUE(rCentredShot->GetDestruct());
    rCentredShot->GetPosition(tX, tY, tZ);
    EXPECT_FLOAT_EQ(tX, 485.0f);
}

TEST_F(ProjectileTest, ObstaclesHoldPointsInsideTheirBoxOnly)
{
    RootProjectile *rBox = Add("Block", 0.0f, 0.0f, 16.0f);
    EXPECT_FALSE(rBox->ContainsPoint(15, 15));
    rBox->SetObstacle(1);
    EXPECT_TRUE(rBox->ContainsPoint(15, 15));
    EXPECT_TRUE(rBox->ContainsPoint(0, 0));
    EXPECT_FALSE(rBox->ContainsPoint(16, 5));
    EXPECT_FALSE(rBox->ContainsPoint(5, 16));
    EXPECT_TRUE(mEntities->IsPointInsideAny(8, 8));

    const float cXs[3] = {14.0f, 30.0f, 14.0f};
    const float cYs[3] = {14.0f, 14.0f, 30.0f};
    EXPECT_TRUE(rBox->HitTestPolygon({3, cXs, cYs}));
    const float cFarXs[3] = {20.0f, 30.0f, 20.0f};
    EXPECT_FALSE(rBox->HitTestPolygon({3, cFarXs, cYs}));
}

TEST_F(ProjectileTest, HooksRunWithTheProjectileActiveAndTheirEventCode)
{
    RootProjectile *rShot = Add("Hooked", 100.0f, 50.0f, 8.0f);
    rShot->SetBlockAutoOffscreenDestruction(1);
    rShot->SetLogicScript(mHook.c_str());
    rShot->SetResetScript(mHook.c_str());
    rShot->SetDestructScript(mHook.c_str());
    int32_t tStack = mLibrary->GetActiveStackSize();

    mEntities->Update();
    mEntities->ResetAll();
    rShot->SetDestruct(1);
    mEntities->Update();
    EXPECT_EQ(Log(), "100:0.000000 100:6.000000 100:0.000000 100:5.000000 ");
    EXPECT_EQ(mLibrary->GetActiveStackSize(), tStack);
    EXPECT_EQ(mLibrary->GetActiveObject(), nullptr);
    EXPECT_EQ(mEntities->CountProjectilesNamed("Hooked"), 0);
}

TEST_F(ProjectileTest, BusterTargetsBlockersAndPiercingShots)
{
    // A target struck by a piercing shot runs its own hook and goes; the shot flies on unhurt.
    RootProjectile *rTarget = Add("Target", 10.0f, 10.0f, 16.0f);
    rTarget->SetBusterTarget(1, mHook.c_str());
    RootProjectile *rPiercing = Add("Buster", 20.0f, 20.0f, 8.0f);
    rPiercing->SetIsBuster(1);
    rPiercing->SetPiercing(1);
    rPiercing->SetTargetFlags(PROJECTILE_TARGET_ENEMIES);
    rPiercing->SetImpactScript(mHook.c_str());
    rTarget->Update();
    EXPECT_TRUE(rTarget->GetDestruct());
    EXPECT_FALSE(rPiercing->GetDestruct());
    EXPECT_EQ(Log(), "10:4.000000 ");

    // A plain shot runs its impact hook as well.
    RootProjectile *rTargetB = Add("Target", 200.0f, 10.0f, 16.0f);
    rTargetB->SetBusterTarget(1, nullptr);
    RootProjectile *rPlain = Add("Buster", 205.0f, 12.0f, 8.0f);
    rPlain->SetIsBuster(1);
    rPlain->SetTargetFlags(PROJECTILE_TARGET_ENEMIES);
    rPlain->SetImpactScript(mHook.c_str());
    rTargetB->Update();
    EXPECT_TRUE(rTargetB->GetDestruct());
    EXPECT_EQ(Log(), "10:4.000000 205:3.000000 ");

    // A buster shot meeting a blocker runs its block hook and clears the blocker's polygon.
    RootProjectile *rNotBlocking = Add("Shield", 300.0f, 100.0f, 32.0f);
    rNotBlocking->SetTargetFlags(PROJECTILE_TARGET_PLAYER);
    rNotBlocking->SetPolygonIndex(3);
    RootProjectile *rShield = Add("Shield", 300.0f, 100.0f, 32.0f);
    rShield->SetTargetFlags(PROJECTILE_TARGET_PLAYER);
    rShield->SetPolygonIndex(3);
    rShield->SetBusterBlocker(1);
    RootProjectile *rBlocked = Add("Buster", 310.0f, 110.0f, 8.0f);
    rBlocked->SetIsBuster(1);
    rBlocked->SetBlockScript(mHook.c_str());
    rBlocked->Update();
    EXPECT_EQ(rShield->GetPolygonIndex(), -1);
    EXPECT_EQ(rNotBlocking->GetPolygonIndex(), 3);
    EXPECT_EQ(Log(), "10:4.000000 205:3.000000 310:2.000000 ");
}

TEST_F(ProjectileTest, CreateAndPropertyDispatchByArgumentCount)
{
    RootObject *nBefore = new Checkpoint("Before");
    mLibrary->SetActiveObjectDirect(nBefore);
    int32_t tStack = mLibrary->GetActiveStackSize();

    // A bad argument list still saves the active object and leaves none active.
    testing::internal::CaptureStderr();
    Run("Proj_Create('A', 'B')");
    EXPECT_EQ(CapturedStderr(), "Proj_Create: Failed, invalid argument list\n");
    EXPECT_EQ(mLibrary->GetActiveObject(), nullptr);
    EXPECT_EQ(mLibrary->GetActiveStackSize(), tStack + 1);

    Run("Proj_Create('Spark')");
    RootProjectile *rSpark = dynamic_cast<RootProjectile *>(mLibrary->GetActiveObject());
    ASSERT_NE(rSpark, nullptr);
    EXPECT_STREQ(rSpark->GetName(), "Spark");
    char tName[64];
    snprintf(tName, sizeof(tName), "PROJ|Spark|%i", rSpark->GetID());
    EXPECT_EQ(mEntities->GetEntity(tName), rSpark);

    testing::internal::CaptureStderr();
    Run("Proj_SetProperty('Speeds', 2, 3)");
    Run("Proj_SetProperty('Position')");
    Run("x = Proj_GetProperty('Nope')");
    EXPECT_EQ(CapturedStderr(), "Proj_SetProperty: Failed, cannot resolve Speeds with 3 args.\n"
                          "Proj_SetProperty: Failed, cannot resolve Position with 1 args.\n"
                          "Proj_GetProperty: Failed, cannot resolve Nope with 1 args.\n");
    float tX, tY, tZ;
    rSpark->GetSpeeds(tX, tY, tZ);
    EXPECT_EQ(tX, 0.0f);

    Run("Proj_SetProperty('Speeds', 2, 3, 99)"
        " Proj_SetProperty('Position', 10, 20)"
        " Proj_SetProperty('Dimensions', -4, -2, 6, 8)"
        " Proj_SetProperty('TargetFlags', 258)"
        " Proj_SetProperty('IgnoreNoAnimationError')"
        " Proj_SetProperty('InvincibleTimer', true, 45)"
        " sx, sy, sz = Proj_GetProperty('Speeds')"
        " cx, cy = Proj_GetProperty('Center')"
        " w, h = Proj_GetProperty('WidthAndHeight')"
        " side = Proj_GetProperty('IsSideBlocked', 7)"
        " clips = Proj_GetProperty('IgnoreClips')"
        " result = string.format('%g %g %g|%g %g|%g %g|%s %s', sx, sy, sz, cx, cy, w, h,"
        "   tostring(side), tostring(clips))");
    EXPECT_EQ(GlobalString("result"), "2 3 0|11 23|10 10|false true");

    // Numbers no sum could bring back are refused by name and value, and nothing changes.
    testing::internal::CaptureStderr();
    Run("Proj_SetProperty('Position', 1/0, 5) Proj_SetProperty('Speeds', 4, -1/0, 0)"
        " px, py = Proj_GetProperty('Position') sx, sy = Proj_GetProperty('Speeds')"
        " result = string.format('%g %g|%g %g', px, py, sx, sy)");
    EXPECT_EQ(CapturedStderr(), "Proj_SetProperty:  Failed, inf is not a finite number.\n"
                                "Proj_SetProperty:  Failed, -inf is not a finite number.\n");
    EXPECT_EQ(GlobalString("result"), "10 20|2 3");
    EXPECT_EQ(rSpark->GetTargetFlags(), 2);
    EXPECT_EQ(rSpark->GetInvincibleTimerTicks(), 45);

    xProjectileLastHitPlayer = rSpark->GetID();
    Run("hit = Proj_GetProperty('HitLastTick')");
    xProjectileLastHitPlayer = 0;
    Run("nohit = Proj_GetProperty('HitLastTick')");
    Run("result = tostring(hit) .. tostring(nohit)");
    EXPECT_EQ(GlobalString("result"), "truefalse");

    // Any projectile kind is accepted; other objects are refused.
    PlatformLike tPlatform;
    mLibrary->SetActiveObjectDirect(&tPlatform);
    Run("Proj_SetProperty('Damage', 7)");
    EXPECT_EQ(tPlatform.GetDamage(), 7);
    mLibrary->SetActiveObjectDirect(nBefore);
    testing::internal::CaptureStderr();
    Run("Proj_SetProperty('Damage', 7) v = Proj_GetProperty('Position')");
    EXPECT_EQ(CapturedStderr(), "Proj_SetProperty: Failed, rActiveObject was wrong type, or NULL.\n"
                          "Proj_GetProperty: Failed, rActiveObject was wrong type, or NULL.\n");
    mLibrary->SetActiveObjectDirect(nullptr);
    mLibrary->ForgetObject(nBefore);
    delete nBefore;
}

TEST_F(ProjectileTest, DragonFlameOverrideAndLogicScripts)
{
    RootProjectile *rFlame = Add("Flame", 50.0f, 50.0f, 8.0f);
    rFlame->SetLogicScript(PROJECTILE_OVERRIDE_DRAGONFLAME);
    EXPECT_EQ(rFlame->GetLogicScript(), nullptr);
    EXPECT_TRUE(rFlame->HasNativeLogic());
    EXPECT_TRUE(rFlame->HasNativeRender());

    float *nAngle = (float *)malloc(sizeof(float));
    *nAngle = 0.0f;
    rFlame->GetData()->DefineDataEntry("fAngle", nAngle, DeleteWithFree, TYPEDVALUE_FLOAT);
    float *nLifetime = (float *)malloc(sizeof(float));
    *nLifetime = 2.0f;
    rFlame->GetData()->DefineDataEntry("iLifetime", nLifetime, DeleteWithFree, TYPEDVALUE_FLOAT);
    rFlame->RunLogic();
    float tX, tY, tZ;
    rFlame->GetPosition(tX, tY, tZ);
    EXPECT_FLOAT_EQ(tX, 55.0f);
    EXPECT_FLOAT_EQ(tY, 50.0f);
    EXPECT_FALSE(rFlame->GetDestruct());
    rFlame->RunLogic();
    EXPECT_TRUE(rFlame->GetDestruct());

    // Missing data leaves the flame in flight rather than reading nothing.
    RootProjectile *rBare = Add("Flame", 0.0f, 0.0f, 8.0f);
    rBare->SetLogicScript(PROJECTILE_OVERRIDE_DRAGONFLAME);
    rBare->RunLogic();
    rBare->GetPosition(tX, tY, tZ);
    EXPECT_FLOAT_EQ(tX, 5.0f);

    // Only the exact override text installs routines; an ordinary path stays a script.
    EXPECT_EQ(FindProjectileOverride(nullptr), nullptr);
    EXPECT_EQ(FindProjectileOverride("OVERRIDE_DRAGONFLAME.lua"), nullptr);
    rFlame->SetLogicScript(mHook.c_str());
    EXPECT_FALSE(rFlame->HasNativeLogic());
    EXPECT_FALSE(rFlame->HasNativeRender());
    EXPECT_STREQ(rFlame->GetLogicScript(), mHook.c_str());
}

TEST_F(ProjectileTest, MovesAndLookupsLeaveNoStrayState)
{
    Run("Proj_Create('Mover')");
    RootProjectile *rMover = dynamic_cast<RootProjectile *>(mLibrary->GetActiveObject());
    ASSERT_NE(rMover, nullptr);

    // A move that ignores the clips spends no collision move, so it must not arm air walk.
    AllowAirWalk = false;
    Run("Proj_RunMove(4, 5, 0)");
    EXPECT_FALSE(AllowAirWalk);
    float tX, tY, tZ;
    rMover->GetPosition(tX, tY, tZ);
    EXPECT_FLOAT_EQ(tX, 4.0f);
    EXPECT_FLOAT_EQ(tY, 5.0f);

    testing::internal::CaptureStderr();
    Run("Proj_RunMove(1, 2)");
    EXPECT_EQ(CapturedStderr(), "Proj_RunMove: Failed, invalid argument list\n");

    // Only animations answer an animation path, whatever else sits there.
    mLibrary->AddPath("Root/Images/Test/Shots/Thing");
    Checkpoint *nStranger = new Checkpoint("Stranger");
    mLibrary->AddEntry("Root/Images/Test/Shots/Thing", nStranger, DeleteRootObject, DL_KIND_ROOTOBJECT);
    EXPECT_EQ(LookUpAnimation("Root/Images/Test/Shots/Thing"), nullptr);
    testing::internal::CaptureStderr();
    rMover->SetFrame("Root/Images/Test/Shots/Thing", 0, 1.0f, 2.0f);
    EXPECT_EQ(CapturedStderr(), "RootProject:  SetFrame - Error, no Animation Root/Images/Test/Shots/Thing\n");

    // DestroyAllProjectiles marks every projectile kind but the platforms, and nothing else.
    Checkpoint *nOther = new Checkpoint("Other");
    mEntities->RegisterEntity("Other", nOther, DeleteRootObject);
    PlatformLike *nPlatform = new PlatformLike();
    mEntities->RegisterProjectile("Platform", nPlatform, DeleteRootObject);
    DestroyAllProjectiles();
    EXPECT_TRUE(rMover->GetDestruct());
    EXPECT_FALSE(nPlatform->GetDestruct());
    EXPECT_FALSE(nOther->GetDestruct());
}

TEST_F(ProjectileTest, PlainProjectilesRunTheirImpactHookOnThePlayer)
{
    mEntities->CreatePlayer();
    PlayerPony *rPlayer = mEntities->GetPlayer();
    ASSERT_NE(rPlayer, nullptr);
    Hitbox *rBox = rPlayer->GetHitboxPtr();
    rBox->mLft = 100.0f;
    rBox->mTop = 100.0f;
    rBox->mRgt = 116.0f;
    rBox->mBot = 132.0f;

    RootProjectile *rTouching = Add("Bullet", 116.0f, 120.0f, 4.0f);
    RootProjectile *rMissing = Add("Bullet", 117.0f, 120.0f, 4.0f);
    rTouching->SetImpactScript(mHook.c_str());
    rMissing->SetImpactScript(mHook.c_str());
    rTouching->Update();
    rMissing->Update();
    EXPECT_EQ(Log(), "116:3.000000 ");
}

#include "support/EnemyWorld.h"

#include "core/Geometry.h"
#include "world/LevelCollision.h"

using EnemyBindingsTest = EnemyWorld;

TEST_F(EnemyBindingsTest, AScriptBuildsAndQueriesAnEnemyAndBadCallsOnlyReport)
{
    Run(("gEmptyLogic = '" + Script("enemy_empty.lua") + "' gCtorPath = '" + Script("enemy_constructor.lua") + "'").c_str());
    testing::internal::CaptureStderr();
    ASSERT_TRUE(LuaManager::Fetch()->ExecuteFile(Script("enemy_bindings.lua").c_str()));
    std::string tErr = CapturedStderr();
    EXPECT_EQ(DataLibrary::Fetch()->GetActiveStackSize(), 0);
    EXPECT_EQ(GlobalString("gResults"), "20 30 120 200 120 200 140.69999694824 230.19999694824 130.35000610352 215.10000610352 6 2 Scripted "
                                        "Left false true");
    EXPECT_EQ(GlobalString("gCounts"), "000");
    EXPECT_EQ(GlobalNumber("gHealthAfter"), 0.0);
    EXPECT_EQ(GlobalString("gCtorArgs"), "0:-,-");
    EXPECT_EQ(GlobalString("gWrongActive"), "false");
    EXPECT_EQ(GlobalString("gNoMovements"), "false");

    Enemy *rEnemy = (Enemy *)EntityManager::Fetch()->GetEntity("Scripted");
    ASSERT_NE(rEnemy, nullptr);
    EXPECT_EQ(rEnemy->GetDamageTakenFrom(0), 4);
    EXPECT_TRUE(rEnemy->GetAllowAirWalk());

    ExpectLines(tErr, {
        "Enemy_Health_SetProperty(Health): Failed, health cannot be less than 1.\n",
        "Error in AIMovement, can't set flag Fly\n",
        "Enemy_Appearance_SetProperty: Error, Animation Root/Nothing/Here failed to resolve.\n",
        "Enemy_GetProperty: Failed, cannot resolve Nonsense with 1 args.\n",
        "Enemy_IsSideBlocked: Failed, invalid side given. Use Left|Right|Top|Bottom\n",
        "Enemy_GetProperty: Failed, invalid argument list\n",
        "Enemy_SetProperty: Failed, cannot resolve Position with 2 args.\n",
        "Enemy_SetProperty: Cannot resolve with 0 args.\n",
        "Enemy_Health_SetProperty: Failed, Armour does not match any property.\n",
        "Warning, current active object is not Enemy type.",
        "Warning, current active object is not EnemyHitbox type.",
        "Warning, current active object is not AIMovementHandler type.",
    });

    // The constructor ran once with the two text arguments.
    Run(("Enemy_Create('Third', '" + Script("enemy_constructor.lua") + "', 'one', 'two') DL_PopActiveEntity()").c_str());
    EXPECT_EQ(GlobalString("gCtorArgs"), "2:one,two");
}

// Each mistake is named with the enemy and the script line that made it: a box that reaches out
// of the map on any side stands in what counts as solid, and a constructor path that leads
// nowhere leaves the enemy unmade, which the loader's own line does not tell.
TEST_F(EnemyBindingsTest, EnemyCreateNamesAnEnemyOutsideTheMapOrWithoutItsConstructor)
{
    const std::string tScript = Script("enemy_create_mistakes.lua");
    const std::string tMissing = Script("NoSuchEnemy/CConstructor.lua");
    Run(("gPlacedCtor = '" + Script("enemy_placed.lua") + "' gMissingCtor = '" + tMissing + "'").c_str());
    testing::internal::CaptureStderr();
    ASSERT_TRUE(LuaManager::Fetch()->ExecuteFile(tScript.c_str()));
    const std::string tErr = CapturedStderr();
    for(const std::string &rLine : {
            "Enemy_Create: " + tScript + ":3: Sunk stands at (300, 470) to (320, 490), outside the 640 by 480 map",
            "Enemy_Create: " + tScript + ":5: Beyond stands at (630, 300) to (650, 320), outside the 640 by 480 map",
            "Enemy_Create: " + tScript + ":9: Lost's constructor " + tMissing + " could not be loaded",
        })
    {
        EXPECT_NE(tErr.find(rLine), std::string::npos) << rLine << "\n" << tErr;
    }
    EXPECT_EQ(tErr.find("Inside"), std::string::npos) << tErr;
}

TEST_F(EnemyBindingsTest, HitboxAndMovementBindingsCheckTheirCounts)
{
    Enemy *rEnemy = MakeEnemy("Boxy", 200.0f, 100.0f, 20.0f, 5);
    std::string tErr = RunWithActive(rEnemy,
        "Enemy_PushPropertyAsActiveObject('Hitbox')"
        "Hitbox_SetProperty('NumberOfHitboxes', 2) Hitbox_SetProperty('NumberOfAnimations', 1)"
        "Hitbox_SetProperty('NumberOfFramesPerAnimation', 0, 2) Hitbox_AllocateHitboxData()"
        "Hitbox_SetProperty('AnimationSize', 64, 64)"
        "Hitbox_SetProperty('Hitbox', 0, 1, 'Right', 1, 4, 5, 10, 12)"
        "Hitbox_SetProperty('Hitbox', 0, 1, 'Right', 1, 4, 5, 10)"
        "Hitbox_CalculateMissingHitboxes() Hitbox_SetProperty()"
        "Hitbox_SetProperty('IgnoreMissingHitboxData', 1) Hitbox_SetProperty('Shape', 1)"
        "DL_PopActiveEntity()"
        "Enemy_PushPropertyAsActiveObject('AIMovementHandler')"
        "AIMovementHandler_SetProperty('LoopMovements', true)"
        "gDelay = AIMovementHandler_GetProperty('GetCurrentMovementDelay')"
        "AIMovementHandler_AddMovement('SCRIPT_CONTROL') AIMovementHandler_AddMovement()"
        "AIMovementHandler_AddMovement('AIR_MOVEMENT') AIMovementHandler_SetProperty('DelayBeforeMoving', 7)"
        "AIMovementHandler_SetProperty('Speed', 1) AIMovementHandler_ApplyStandardGravity()"
        "gDelay2 = AIMovementHandler_GetProperty('GetCurrentMovementDelay')"
        "AIMovementHandler_GetProperty('Delay') AIMovementHandler_GetProperty('GetCurrentMovementDelay', 1)"
        "AIMovementHandler_SetProperty('Bogus', 1)"
        "DL_PopActiveEntity() Enemy_PushPropertyAsActiveObject('Banana') DL_PopActiveEntity()");
    EXPECT_EQ(rEnemy->GetEnemyHitbox()->GetRecord(0, 1, 0, 1)->mX, 50.0f);
    EXPECT_EQ(GlobalNumber("gDelay"), 0.0);
    EXPECT_EQ(GlobalNumber("gDelay2"), 7.0);
    EXPECT_EQ(rEnemy->GetMovementHandler()->GetLastMovement()->GetGravity(), 0.25f);
    ExpectLines(tErr, {
        "Hitbox_SetProperty: Failed, cannot resolve Hitbox with 8 args.\n",
        "Hitbox_SetProperty: Failed, invalid argument list\n",
        "AIMovementHandler_SetProperty: AIMovementHandler has no AIMovements.\n",
        "AIMovementHandler_GetProperty: AIMovementHandler has no AIMovements.\n",
        "AIMovementHandler_AddMovement: Error, invalid movement type specified.",
        "AIMovementHandler_AddMovement: Failed, no movement type specified.\n",
        "AIMovementHandler_SetProperty: Failed, cannot resolve Speed with 2 args.\n",
        "Enemy_PushPropertyAsActiveObject: Failed, Banana does not match any property.\n",
        "Hitbox_SetProperty: Failed, cannot resolve IgnoreMissingHitboxData with 2 args.\n",
        "Hitbox_SetProperty: Failed, cannot resolve Shape with 2 args.\n",
        "AIMovementHandler_GetProperty: Failed, cannot resolve Delay with 1 args.\n",
        "AIMovementHandler_GetProperty: Failed, cannot resolve GetCurrentMovementDelay with 2 args.\n",
        "AIMovementHandler_SetProperty: Failed, cannot resolve Bogus with 2 args.\n",
    });
}

TEST_F(EnemyBindingsTest, SideQueriesAndScriptedMovesUseTheLevel)
{
    // Against the left wall (x < 16), standing on the floor (y >= 400).
    Enemy *rEnemy = MakeEnemy("Walled", 16.0f, 380.0f, 20.0f, 5);
    rEnemy->SetMoveEntityFlag("AllowAirWalk", 1);
    DataLibrary::Fetch()->PushActiveEntity(rEnemy);
    Run("gSides = tostring(Enemy_IsSideBlocked('Left')) .. tostring(Enemy_IsSideBlocked('Right')) .. "
        "tostring(Enemy_IsSideBlocked('Bottom')) .. tostring(Enemy_IsSideBlocked('Top'))"
        "gMovable = tostring(Enemy_IsSideMovable('Left')) .. tostring(Enemy_IsSideMovable('Right'))"
        "Enemy_ExecMove(-5, 0, 0) gAfterWall = Enemy_GetProperty('Position')"
        "Enemy_ExecMove(7, -30, 0) gX, gY = Enemy_GetProperty('Position')");
    DataLibrary::Fetch()->PopActiveEntity();
    EXPECT_EQ(GlobalString("gSides"), "truefalsetruefalse");
    EXPECT_EQ(GlobalString("gMovable"), "falsetrue");
    EXPECT_EQ(GlobalNumber("gAfterWall"), 16.0);
    EXPECT_EQ(GlobalNumber("gX"), 23.0);
    EXPECT_EQ(GlobalNumber("gY"), 350.0);
    Hitbox tBox;
    rEnemy->GetHitbox(tBox);
    EXPECT_EQ(tBox.mRgt, 43.0f);
    EXPECT_FALSE(AllowBotSlopes || AllowTopSlopes || AllowAirWalk);
}

TEST_F(EnemyBindingsTest, AppearanceHealthAndChildKeysKeepTheirCountsAndMessages)
{
    Enemy *rEnemy = MakeEnemy("Keyed", 200.0f, 100.0f, 20.0f, 5);
    std::string tErr = RunWithActive(rEnemy,
        "gFacing = select('#', Enemy_Appearance_GetProperty('AnimationDirectionFacing'))"
        "gIndex = Enemy_Appearance_GetProperty('AnimationIndex', 'extra', 'args')"
        "gSize = select('#', Enemy_Appearance_GetProperty('AnimationSize'))"
        "gBogus = select('#', Enemy_Appearance_GetProperty('Bogus', 1))"
        "Enemy_Appearance_SetProperty('AnimationIndex') Enemy_Appearance_SetProperty()"
        "Enemy_Health_SetProperty('InvincibleFlag') Enemy_Health_SetProperty('Health')"
        "Enemy_Health_SetProperty('InvincibleFlag', true, 'ignored') Enemy_Health_SetProperty('SecondWindFlagFlag', true)"
        "Enemy_Health_SetProperty()"
        "Enemy_SetProperty('DoNotDespawnOffScreen', 1) Enemy_SetProperty({})"
        "gHealthCount = select('#', Enemy_GetProperty('Health', 1))"
        "Enemy_PushPropertyAsActiveObject('Hitbox', 'extra') gHitboxType = DL_GetActiveObjectType() DL_PopActiveEntity()"
        "Enemy_PushPropertyAsActiveObject('AIAttackHandler') gAttackType = DL_GetActiveObjectType() DL_PopActiveEntity()"
        "Enemy_PushPropertyAsActiveObject() gEmpty = tostring(DL_ActiveIsValid()) DL_PopActiveEntity()");
    EXPECT_EQ(GlobalNumber("gFacing"), 0.0);
    EXPECT_EQ(GlobalNumber("gIndex"), -1.0);
    EXPECT_EQ(GlobalNumber("gSize"), 0.0);
    EXPECT_EQ(GlobalNumber("gBogus"), 0.0);
    EXPECT_EQ(GlobalNumber("gHealthCount"), 0.0);
    EXPECT_EQ(GlobalNumber("gHitboxType"), (double)TYPE_ENEMYHITBOX);
    EXPECT_EQ(GlobalNumber("gAttackType"), (double)TYPE_AIATTACKHANDLER);
    EXPECT_EQ(GlobalString("gEmpty"), "false");
    EXPECT_TRUE(rEnemy->GetHealth()->GetInvincibleFlag());
    EXPECT_TRUE(rEnemy->GetHealth()->GetSecondWindFlag());
    EXPECT_EQ(rEnemy->GetHealth()->GetHealth(), 5);
    ExpectLines(tErr, {
        "Enemy_Appearance_GetProperty(AnimationDirectionFacing): Error, returned a direction that is not currently translateable: -1\n",
        "Enemy_Appearance_GetProperty: Failed, cannot resolve AnimationSize with 1 args.\n",
        "Enemy_Appearance_GetProperty: Failed, cannot resolve Bogus with 2 args.\n",
        "Enemy_Appearance_SetProperty: Failed, cannot resolve AnimationIndex with 1 args.\n",
        "Enemy_Appearance_SetProperty: Failed, invalid argument list\n",
        "Enemy_Health_SetProperty(InvincibleFlag): Failed, invalid argument list.\n",
        "Enemy_Health_SetProperty(Health): Failed, invalid argument list.\n",
        "Enemy_Health_SetProperty: Failed, Cannot resolve with 0 args.\n",
        "Enemy_SetProperty: Failed, cannot resolve DoNotDespawnOffScreen with 2 args.\n",
        "Enemy_SetProperty: Failed, cannot resolve  with 1 args.\n",
        "Enemy_GetProperty: Failed, cannot resolve Health with 2 args.\n",
        "Enemy_PushPropertyAsActiveObject: Failed, invalid argument list\n",
    });
}

// Numbers a script may give that no sum could bring back: a position is refused by name and
// value, and an animation tick at the top of the integers is held to the world's limit, from
// where it can count on.
TEST_F(EnemyBindingsTest, NumbersPastTheWorldAreRefusedOrHeldInRange)
{
    Enemy *rEnemy = MakeEnemy("Far", 200.0f, 100.0f, 20.0f, 5);
    float tX, tY, tZ;
    rEnemy->GetPosition(tX, tY, tZ);
    std::string tErr = RunWithActive(rEnemy, "Enemy_SetProperty('Position', 0/0, 5) Enemy_SetProperty('Position', 5, 1/0)"
                                             " Enemy_OverrideAppearance(0, 2147483647, 0)");
    EXPECT_NE(tErr.find("Enemy_SetProperty:  Failed, "), std::string::npos) << tErr;
    EXPECT_NE(tErr.find("nan is not a finite number.\nEnemy_SetProperty:  Failed, inf is not a finite number.\n"),
              std::string::npos) << tErr;
    float tNowX, tNowY;
    rEnemy->GetPosition(tNowX, tNowY, tZ);
    EXPECT_EQ(tNowX, tX);
    EXPECT_EQ(tNowY, tY);
    Tick(3);
    EXPECT_GE(rEnemy->GetAppearance()->GetTick(), GEOMETRY_COORDINATE_LIMIT);
    EXPECT_LE(rEnemy->GetAppearance()->GetTick(), GEOMETRY_COORDINATE_LIMIT + 3);
}

// The push bindings look at the active object before they push, but a call without its key on
// an object of another kind says only that the key is missing, and still pushes once.
TEST_F(EnemyBindingsTest, PushBindingsWithoutAKeyOnAnotherKindReportOnlyTheKey)
{
    Enemy *rEnemy = MakeEnemy("Keyless", 200.0f, 100.0f, 20.0f, 5);
    std::string tErr = RunWithActive(rEnemy->GetEnemyHitbox(), "Enemy_PushPropertyAsActiveObject() DL_PopActiveEntity()");
    tErr += RunWithActive(rEnemy,
        "Hitbox_PushProjectile() DL_PopActiveEntity()"
        "AILemonAttack_PushPropertyAsActiveObject() DL_PopActiveEntity()"
        "AIAttackHandler_CreateAttack() DL_PopActiveEntity()"
        "MovingContainer_PushPropertyAsActiveObject() DL_PopActiveEntity()");
    EXPECT_EQ(tErr, "Enemy_PushPropertyAsActiveObject: Failed, invalid argument list\n"
                    "Hitbox_PushProjectile: Failed, invalid argument list\n"
                    "AILemonAttack_PushPropertyAsActiveObject: Failed, invalid argument list\n"
                    "AIAttackHandler_CreateAttack: No attack type specified.\n"
                    "MovingContainer_PushPropertyAsActiveObject: Failed, invalid argument list\n");
}

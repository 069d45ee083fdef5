#include "support/PlayerWorld.h"

#include "core/LuaBindingHelpers.h"
#include "core/render/Bitmap.h"
#include "core/render/CorvelAnimation.h"
#include "support/TestText.h"

#include <string>

namespace
{
    class PlayerBindingsTest : public PlayerWorld
    {
    protected:
        void SetUp() override
        {
            PlayerWorld::SetUp();
            L = luaL_newstate();
            luaL_openlibs(L);
            RegisterPlayerLua(L);
        }
        void TearDown() override
        {
            lua_close(L);
            PlayerWorld::TearDown();
        }

        std::string Run(const char *pChunk)
        {
            testing::internal::CaptureStderr();
            EXPECT_EQ(0, luaL_dostring(L, pChunk)) << lua_tostring(L, -1);
            return CapturedStderr();
        }

        double Global(const char *pName)
        {
            lua_getglobal(L, pName);
            double tValue = lua_tonumber(L, -1);
            lua_pop(L, 1);
            return tValue;
        }

        lua_State *L = nullptr;
    };
}

TEST_F(PlayerBindingsTest, PositionDimensionsAndCenter)
{
    EXPECT_EQ(Run("Player_SetPosition(40, 60, 0)"), "");
    Run("x, y = Player_GetPosition() l, t, r, b = Player_GetProperty('Dimensions') cx, cy = Player_GetCenter()");
    EXPECT_EQ(Global("x"), 40.0);
    EXPECT_EQ(Global("y"), 60.0);
    EXPECT_EQ(Global("r"), 59.0);
    EXPECT_EQ(Global("b"), 112.0);
    EXPECT_EQ(Global("cx"), 49.5);
    EXPECT_EQ(Global("cy"), 86.0);
    EXPECT_EQ(Run("Player_SetPosition(1, 2)"), "Player_SetPosition:  Failed, invalid argument lmIst\n");
    EXPECT_EQ(Run("n = select('#', Player_GetProperty('Dimensions', 1))"),
              "Player_GetProperty: Failed, cannot resolve Dimensions with 2 args.\n");
    EXPECT_EQ(Global("n"), 0.0);
    EXPECT_EQ(Run("Player_GetProperty()"), "Player_GetProperty: Failed, invalid argument list\n");
    EXPECT_EQ(lua_gettop(L), 0);
}

// A position no sum could bring back is refused by name and value; she stays where she was.
TEST_F(PlayerBindingsTest, APositionThatIsNoFiniteNumberIsRefused)
{
    Run("Player_SetPosition(40, 60, 0)");
    EXPECT_EQ(Run("Player_SetPosition(1/0, 5, 0) Player_SetPosition(5, -1/0, 0) Player_SetPosition(5, 5, 1e39)"),
              "Player_SetPosition:  Failed, inf is not a finite number.\n"
              "Player_SetPosition:  Failed, -inf is not a finite number.\n"
              "Player_SetPosition:  Failed, 1e+39 is not a finite number.\n");
    EXPECT_NE(Run("Player_SetPosition(0/0, 0/0, 0)").find("nan is not a finite number.\n"), std::string::npos);
    Run("x, y = Player_GetPosition()");
    EXPECT_EQ(Global("x"), 40.0);
    EXPECT_EQ(Global("y"), 60.0);
}

TEST_F(PlayerBindingsTest, AnimationSlotsTakeOnlyAnimations)
{
    DataLibrary *rLibrary = DataLibrary::Fetch();
    CorvelAnimation *nAnimation = new CorvelAnimation();
    rLibrary->AddPath("Root/Animations/Kestra/Body/");
    rLibrary->AddEntry("Root/Animations/Kestra/Body/Idle", nAnimation, CorvelAnimation::DeleteThis, DL_KIND_ROOTOBJECT);
    rLibrary->AddPath("Root/Images/Kestra/Misc/");
    rLibrary->AddEntry("Root/Images/Kestra/Misc/Ready", new Bitmap(), Bitmap::DeleteThis, DL_KIND_BITMAP);

    EXPECT_EQ(Run("Player_SetProperty('Animation', 1, 'Root/Animations/Kestra/Body/Idle')"), "");
    EXPECT_EQ(mPlayer->GetAnimationSlot(1), nAnimation);
    EXPECT_EQ(Run("Player_SetProperty('Animation', 26, 'Root/Animations/Kestra/Body/Idle')"), "");
    const std::string tWrongKind = Run("Player_SetProperty('Animation', 1, 'Root/Images/Kestra/Misc/Ready')");
    EXPECT_NE(tWrongKind.find("Player_SetProperty:  Error setting Animation Root/Images/Kestra/Misc/Ready\n"), std::string::npos);
    EXPECT_EQ(mPlayer->GetAnimationSlot(1), nAnimation);
    const std::string tMissing = Run("Player_SetProperty('ChargeAnim', 0, 'Root/Nothing/A/B/C')");
    EXPECT_NE(tMissing.find("Player_SetProperty:  Error setting charge Animation Root/Nothing/A/B/C\n"), std::string::npos);
    EXPECT_EQ(Run("Player_SetProperty('Animation', 1, 'NULL')"), "");
    EXPECT_EQ(mPlayer->GetAnimationSlot(1), nullptr);
    EXPECT_EQ(Run("Player_SetProperty('Bogus', 1)"), "Player_SetProperty: Failed, cannot resolve Bogus with 2 args.\n");
}

TEST_F(PlayerBindingsTest, PushesWaterLocksAndEnabling)
{
    Tick(2);
    const float tStart = X();
    Run("Player_SetProperty('XPush', 4)");
    Tick();
    EXPECT_NEAR(X() - tStart, 4.0f, 1.0f);
    Tick();
    EXPECT_NEAR(X() - tStart, 4.0f, 1.0f);

    Run("Player_SetProperty('IsInWater', true)");
    EXPECT_TRUE(mPlayer->IsInWater());

    Run("Player_AddControlLock('Cutscene')");
    EXPECT_TRUE(mPlayer->IsControlLocked());
    Run("Player_RemControlLock('Cutscene')");
    EXPECT_FALSE(mPlayer->IsControlLocked());
    EXPECT_EQ(Run("Player_AddControlLock()"), "Player_AddControlLock: Failed, invalid argument list\n");

    Run("Player_Disable()");
    EXPECT_EQ(mPlayer->GetEnabled(), 0);
    Run("Player_Enable()");
    EXPECT_EQ(mPlayer->GetEnabled(), 1);

    EXPECT_EQ(Run("Player_SetCameraVars(1, 2, 3)"), "Player_SetCameraVars: Failed, invalid argument list\n");
    Run("Player_PushSelf()");
    EXPECT_EQ(DataLibrary::Fetch()->GetActiveObject(), mPlayer);
    EXPECT_EQ(lua_gettop(L), 0);
}

TEST_F(PlayerBindingsTest, KeysAnswerOnlyTheirCountsAndTypes)
{
    // A slot path that is not text, or any key given the wrong count, is not resolved at all.
    EXPECT_EQ(Run("Player_SetProperty('Animation', 1, 5)"), "Player_SetProperty: Failed, cannot resolve Animation with 3 args.\n");
    EXPECT_EQ(Run("Player_SetProperty('ChargeAnim', 1)"), "Player_SetProperty: Failed, cannot resolve ChargeAnim with 2 args.\n");
    EXPECT_EQ(Run("Player_SetProperty('ForceAnim', 1)"), "Player_SetProperty: Failed, cannot resolve ForceAnim with 2 args.\n");
    EXPECT_EQ(Run("Player_SetProperty('YPush', 1, 2)"), "Player_SetProperty: Failed, cannot resolve YPush with 3 args.\n");
    EXPECT_EQ(Run("Player_SetProperty('IsInWater')"), "Player_SetProperty: Failed, cannot resolve IsInWater with 1 args.\n");
    EXPECT_EQ(Run("Player_SetProperty(4)"), "Player_SetProperty: Failed, invalid argument list\n");
    EXPECT_EQ(Run("Player_SetProperty({})"), "Player_SetProperty: Failed, invalid argument list\n");
    EXPECT_EQ(Run("n = select('#', Player_GetProperty('Center', 2))"), "Player_GetProperty: Failed, cannot resolve Center with 2 args.\n");
    EXPECT_EQ(Global("n"), 0.0);
    EXPECT_EQ(Run("n = select('#', Player_GetProperty('Speed'))"), "Player_GetProperty: Failed, cannot resolve Speed with 1 args.\n");
    EXPECT_EQ(Run("cx, cy = Player_GetProperty('Center')"), "");
    EXPECT_EQ(Run("Player_SetProperty('ForceAnim', 2, 3) Player_SetProperty('IsInWater', false)"), "");
    EXPECT_FALSE(mPlayer->IsInWater());
    EXPECT_EQ(lua_gettop(L), 0);
}

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

#include "core/Application.h"
#include "core/Gears.h"
#include "core/NamedLinkedList.h"
#include "BlankApplication.h"

class GearsTest : public testing::Test
{
protected:
    void SetUp() override
    {
        mApplication.Enter();
        memset(&mFrame, 0, sizeof(mFrame));
    }

    void TearDown() override
    {
        mApplication.Leave();
    }

    void Deliver(ALLEGRO_EVENT_TYPE pType)
    {
        GetApplication()->mCurrentEvent.type = pType;
        GetApplication()->rGearEventHandler(&mFrame);
    }

    BlankApplication mApplication;
    FrameRecord mFrame;
};

TEST_F(GearsTest, ActivationInstallsTheSharedHandlers)
{
    Application *rApp = GetApplication();
    ActivateLevelSelectGear();
    EXPECT_EQ(GameGearEventHandler, rApp->rGearEventHandler);
    EXPECT_EQ(LevelSelectGearTimer, rApp->rGearTick);
    EXPECT_EQ(LevelSelectGearRender, rApp->rGearRender);

    ActivateTitleGear();
    EXPECT_EQ(TitleGearEventHandler, rApp->rGearEventHandler);
    EXPECT_EQ(TitleGearTimer, rApp->rGearTick);
    EXPECT_EQ(TitleGearRender, rApp->rGearRender);

    ActivateGameGear();
    EXPECT_EQ(GameGearEventHandler, rApp->rGearEventHandler);
    EXPECT_EQ(GameGearTimer, rApp->rGearTick);
    EXPECT_EQ(GameGearRender, rApp->rGearRender);
}

TEST_F(GearsTest, TimerEventsRunTheCurrentTick)
{
    // Every gear's tick asks for a redraw; the title forwards through the shared handler.
    ActivateTitleGear();
    Deliver(ALLEGRO_EVENT_TIMER);
    EXPECT_EQ(1, mFrame.mRedrawRequest);

    mFrame.mRedrawRequest = 0;
    ActivateGameGear();
    Deliver(ALLEGRO_EVENT_TIMER);
    EXPECT_EQ(1, mFrame.mRedrawRequest);
    EXPECT_EQ(0, GetApplication()->mQuitFlag);
}

TEST_F(GearsTest, ClosingTheWindowQuits)
{
    ActivateLevelSelectGear();
    Deliver(ALLEGRO_EVENT_DISPLAY_CLOSE);
    EXPECT_EQ(1, GetApplication()->mQuitFlag);
    EXPECT_EQ(0, mFrame.mRedrawRequest);
}

TEST_F(GearsTest, JoystickEventsWithoutAJoystickAreIgnored)
{
    ActivateGameGear();
    memset(&mFrame.mJoystickState, 0x5A, sizeof(mFrame.mJoystickState));
    Deliver(ALLEGRO_EVENT_JOYSTICK_BUTTON_DOWN);
    Deliver(ALLEGRO_EVENT_JOYSTICK_AXIS);
    const unsigned char *rBytes = reinterpret_cast<const unsigned char *>(&mFrame.mJoystickState);
    for(size_t i = 0; i < sizeof(mFrame.mJoystickState); i++) ASSERT_EQ(0x5A, rBytes[i]);
    EXPECT_EQ(0, mFrame.mRedrawRequest);
}

TEST_F(GearsTest, RenderWithoutARequestDrawsNothing)
{
    // No tick asked for a frame, so neither render touches GL (there is no context here).
    ActivateGameGear();
    GetApplication()->rGearRender(&mFrame);
    ActivateLevelSelectGear();
    GetApplication()->rGearRender(&mFrame);
    EXPECT_EQ(0, mFrame.mRedrawRequest);
}

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

#include "core/Application.h"
#include "core/Gears.h"
#include "core/NamedLinkedList.h"
#include "support/BlankApplication.h"

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

// A timer far faster than the game can tick leaves at most a bounded backlog in the queue,
// and events of other sources stay queued.
TEST_F(GearsTest, QueuedTimerTicksAreDroppedBeyondABound)
{
    ASSERT_TRUE(al_init());
    ALLEGRO_EVENT_QUEUE *nQueue = al_create_event_queue();
    ALLEGRO_TIMER *nTimer = al_create_timer(1.0 / 2000.0);
    ALLEGRO_EVENT_SOURCE tUserSource;
    al_init_user_event_source(&tUserSource);
    ASSERT_TRUE(nQueue && nTimer);
    al_register_event_source(nQueue, &tUserSource);
    al_register_event_source(nQueue, al_get_timer_event_source(nTimer));

    ALLEGRO_EVENT tEvent;
    al_start_timer(nTimer);
    ASSERT_TRUE(al_wait_for_event_timed(nQueue, &tEvent, 1.0f));
    ASSERT_EQ(ALLEGRO_EVENT_TIMER, tEvent.type);
    // A tick handled at once leaves nothing to drop.
    EXPECT_FALSE(DropTimerBacklog(nQueue, nTimer, al_get_timer_count(nTimer)));

    ALLEGRO_EVENT tUser;
    memset(&tUser, 0, sizeof(tUser));
    tUser.user.type = 1025;
    al_emit_user_event(&tUserSource, &tUser, nullptr);
    al_rest(0.2);
    al_stop_timer(nTimer);

    Application *rApp = GetApplication();
    rApp->mEventQueue = nQueue;
    rApp->mTimer = nTimer;
    ActivateGameGear();
    rApp->mCurrentEvent = tEvent;
    rApp->rGearEventHandler(&mFrame);
    EXPECT_EQ(1, mFrame.mRedrawRequest);

    int32_t tTimerEvents = 0, tUserEvents = 0;
    while(al_get_next_event(nQueue, &tEvent))
    {
        if(tEvent.type == ALLEGRO_EVENT_TIMER) tTimerEvents++;
        if(tEvent.type == 1025) tUserEvents++;
    }
    EXPECT_LE(tTimerEvents, 30);
    EXPECT_EQ(1, tUserEvents);

    rApp->mEventQueue = nullptr;
    rApp->mTimer = nullptr;
    al_destroy_user_event_source(&tUserSource);
    al_destroy_timer(nTimer);
    al_destroy_event_queue(nQueue);
}

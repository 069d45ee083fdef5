#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>

#include "core/Application.h"
#include "core/ControlManager.h"
#include "core/Gears.h"
#include "core/LuaBindingHelpers.h"
#include "core/NamedLinkedList.h"
#include "core/OptionsManager.h"
#include "core/Utilities.h"
#include "interface/GUI.h"
#include "interface/GUIBaseObject.h"
#include "interface/SocketManager.h"
#include "actors/PlayerPony.h"
#include "world/Camera.h"
#include "world/CameraManager.h"
#include "world/EntityManager.h"
#include "world/MapManager.h"
#include "../core/BlankApplication.h"
#include "LoopbackPeer.h"

namespace
{
    // Every HandleEvent call appends "name(code,x,y)" plus the input-blocked state it saw.
    std::string xLog;

    class RecordingObject : public GUIBaseObject
    {
    public:
        RecordingObject(const char *pName, bool pConsumes) : mConsumes(pConsumes)
        {
            SetName(pName);
        }
        bool HandleEvent(int32_t pCode, int32_t pX, int32_t pY) override
        {
            GUI *rGUI = GUI::Fetch();
            xLog += std::string(GetName()) + "(" + std::to_string(pCode) + "," + std::to_string(pX) + "," +
                    std::to_string(pY) + (rGUI && rGUI->IsInputBlocked() ? ",blocked" : "") + ") ";
            return mConsumes;
        }
        void OnOpen() override { xLog += std::string("open:") + GetName() + "(" + OpenState() + ") "; }
        void OnClose() override { xLog += std::string("close:") + GetName() + "(" + OpenState() + ") "; }
        void SetBlocksInput(uint8_t pFlag) { mBlocksInput = pFlag; }
        void SetKeepOpen(uint8_t pFlag) { mKeepOpen = pFlag; }

        bool mConsumes;

    private:
        // Whether the object is on the stack at the moment the hook runs.
        std::string OpenState()
        {
            GUI *rGUI = GUI::Fetch();
            return (rGUI && rGUI->IsScreenOpen(this)) ? "on" : "off";
        }
    };

    class GUITest : public testing::Test
    {
    protected:
        void SetUp() override
        {
            mApplication.Enter();
            Application *rApp = GetApplication();
            rApp->rOptionsManager = new OptionsManager();
            rApp->rControlManager = new ControlManager();
            rApp->rControlManager->BootDefaults();
            rApp->rGUI = new GUI();
            mGUI = rApp->rGUI;
            xLog.clear();
        }

        void TearDown() override
        {
            Application *rApp = GetApplication();
            delete rApp->rGUI;
            delete rApp->rControlManager;
            delete rApp->rOptionsManager;
            mApplication.Leave();
        }

        ControlState *Control(const char *pName)
        {
            return GetApplication()->rControlManager->GetControl(pName);
        }

        // One hotkey pass with the named control pressed for that tick only.
        void PressAndRunHotkeys(const char *pName)
        {
            Control(pName)->mPressed = 1;
            mGUI->UpdateHotkeys();
            Control(pName)->mPressed = 0;
        }

        RecordingObject *AddRecorder(const char *pName, bool pConsumes, float pX1, float pY1, float pX2, float pY2)
        {
            RecordingObject *nObject = new RecordingObject(pName, pConsumes);
            nObject->SetRect(pX1, pY1, pX2, pY2);
            mGUI->AddObject(pName, nObject);
            return nObject;
        }

        BlankApplication mApplication;
        GUI *mGUI;
    };
}

TEST_F(GUITest, EventsReachChildrenFirstAndTheFirstConsumerEndsTheDispatch)
{
    RecordingObject *rFront = AddRecorder("Front", false, 0, 0, 100, 100);
    RecordingObject *rB = new RecordingObject("B", false);
    RecordingObject *rC = new RecordingObject("C", false);
    rFront->AddChild("B", rB);
    rFront->AddChild("C", rC);
    AddRecorder("Back", false, 0, 0, 100, 100);

    // Nobody consumes: children head to tail, then the parent, then the next top-level object.
    EXPECT_FALSE(mGUI->Update(-1));
    EXPECT_EQ("B(-1,0,0) C(-1,0,0) Front(-1,0,0) Back(-1,0,0) ", xLog);

    // The second child consumes: its parent and every later object hear nothing.
    xLog.clear();
    rC->mConsumes = true;
    EXPECT_TRUE(mGUI->Update(0));
    EXPECT_EQ("B(0,0,0) C(0,0,0) ", xLog);
    EXPECT_EQ(0, mGUI->GetLastEventCode());

    // A consuming front object keeps the event from the back object.
    xLog.clear();
    rC->mConsumes = false;
    rFront->mConsumes = true;
    EXPECT_TRUE(mGUI->Update(1));
    EXPECT_EQ("B(1,0,0) C(1,0,0) Front(1,0,0) ", xLog);
}

TEST_F(GUITest, ChildrenGetTruncatedLocalCoordinatesAndHiddenObjectsOnlyTrackHover)
{
    ControlManager *rControls = GetApplication()->rControlManager;
    rControls->SetMousePosition(400, 300);
    int32_t tMouseX = 0, tMouseY = 0;
    rControls->GetMousePosition(&tMouseX, &tMouseY, NULL);

    RecordingObject *rParent = AddRecorder("Parent", false, 10.7f, 20.2f, 400.0f, 300.0f);
    RecordingObject *rChild = new RecordingObject("Child", false);
    rChild->SetRect((float)(tMouseX - 10), (float)(tMouseY - 20), (float)(tMouseX - 10), (float)(tMouseY - 20));
    rParent->AddChild("Child", rChild);

    mGUI->Update(-1);
    std::string tChildLocal = std::to_string(tMouseX - 10) + "," + std::to_string(tMouseY - 20);
    EXPECT_EQ("Child(-1," + tChildLocal + ") Parent(-1," + std::to_string(tMouseX) + "," + std::to_string(tMouseY) + ") ", xLog);
    EXPECT_TRUE(rChild->IsHovered());

    // Hidden: the hover flag still follows the pointer, but nobody handles the event.
    xLog.clear();
    rParent->Hide();
    rParent->SetRect(0, 0, 1, 1);
    EXPECT_FALSE(mGUI->Update(0));
    EXPECT_EQ("", xLog);
    EXPECT_FALSE(rParent->IsHovered());

    // A visible child of a hidden parent is not visible.
    rChild->SetVisible(true);
    EXPECT_FALSE(rChild->IsVisible());
}

TEST_F(GUITest, ScreenStackOpensAndClosesInOrderWithItsHooks)
{
    RecordingObject *rA = AddRecorder("A", false, 0, 0, 1, 1);
    RecordingObject *rB = AddRecorder("B", false, 0, 0, 1, 1);

    mGUI->CloseTopScreen();
    mGUI->OpenScreen(NULL);
    EXPECT_EQ(0, mGUI->GetOpenScreenCount());
    EXPECT_EQ(NULL, mGUI->GetTopScreen());

    mGUI->OpenScreen(rA);
    mGUI->OpenScreen(rB);
    EXPECT_EQ(2, mGUI->GetOpenScreenCount());
    EXPECT_TRUE(mGUI->IsTopScreen(rB));
    EXPECT_FALSE(mGUI->IsTopScreen(rA));
    EXPECT_TRUE(mGUI->IsScreenOpen(rA));

    mGUI->CloseTopScreen();
    EXPECT_EQ(rA, mGUI->GetTopScreen());
    mGUI->CloseTopScreen();
    EXPECT_EQ(0, mGUI->GetOpenScreenCount());
    // OnOpen runs before the push, OnClose after the pop.
    EXPECT_EQ("open:A(off) open:B(off) close:B(off) close:A(off) ", xLog);
}

TEST_F(GUITest, ABlockingTopScreenBlocksPointerInputOutsideItsSubtreeOnly)
{
    RecordingObject *rScreen = AddRecorder("Screen", false, 0, 0, 1, 1);
    RecordingObject *rButton = new RecordingObject("Button", false);
    rScreen->AddChild("Button", rButton);
    AddRecorder("Other", false, 0, 0, 1, 1);

    rScreen->SetBlocksInput(1);
    EXPECT_FALSE(mGUI->IsInputBlocked());
    mGUI->OpenScreen(rScreen);
    EXPECT_TRUE(mGUI->IsInputBlocked());

    xLog.clear();
    mGUI->Update(-1);
    EXPECT_EQ("Button(-1,0,0) Screen(-1,0,0) Other(-1,0,0,blocked) ", xLog);
    EXPECT_FALSE(mGUI->IsTopScreenInput());

    // The flag is restored when a child of the top screen consumes the event, too.
    xLog.clear();
    rButton->mConsumes = true;
    mGUI->Update(-1);
    EXPECT_EQ("Button(-1,0,0) ", xLog);
    EXPECT_FALSE(mGUI->IsTopScreenInput());

    rScreen->SetBlocksInput(0);
    EXPECT_FALSE(mGUI->IsInputBlocked());
}

TEST_F(GUITest, FadesRiseAndFallOverTheirTicksAndStopAtTheirEnds)
{
    mGUI->StartFade(0, 15, 1, ColorRGBA{0, 0, 0, 0});
    for(int i = 1; i <= 14; i++)
    {
        mGUI->Update(-1);
        ASSERT_EQ(1, mGUI->GetFadeStep()) << "tick " << i;
        EXPECT_FLOAT_EQ(i / 15.0f, mGUI->GetFadeColour().a) << "tick " << i;
    }
    mGUI->Update(-1);
    EXPECT_EQ(0, mGUI->GetFadeStep());

    mGUI->StartFade(44, 45, -1, ColorRGBA{0, 0, 0, 1});
    for(int i = 1; i <= 44; i++) mGUI->Update(-1);
    EXPECT_EQ(-1, mGUI->GetFadeStep());
    EXPECT_FLOAT_EQ(0.0f, mGUI->GetFadeColour().a);
    mGUI->Update(-1);
    EXPECT_EQ(0, mGUI->GetFadeStep());

    // Mouse events step the fade as well.
    mGUI->StartFade(0, 4, 1, ColorRGBA{0, 0, 0, 0});
    mGUI->Update(0);
    EXPECT_FLOAT_EQ(0.25f, mGUI->GetFadeColour().a);
}

TEST_F(GUITest, MoveSlideAndFadeAnimationsStepOncePerTick)
{
    RecordingObject *rObject = AddRecorder("Object", false, 0, 0, 10, 20);

    // Move: 3 units a tick towards (9, 0), arriving when the step would overshoot.
    ASSERT_NE(nullptr, mGUI->AddMoveAnimation("Move", 9, 0, -3.0f, rObject));
    mGUI->Update(-1);
    EXPECT_NEAR(3.0f, rObject->GetX1(), 1e-4);
    EXPECT_FLOAT_EQ(10.0f, rObject->GetWidth());
    mGUI->Update(-1);
    mGUI->Update(-1);
    EXPECT_NEAR(9.0f, rObject->GetX1(), 1e-4);
    EXPECT_TRUE(mGUI->HasAnimation("Move"));
    mGUI->Update(-1);
    EXPECT_FLOAT_EQ(9.0f, rObject->GetX1());
    EXPECT_TRUE(mGUI->IsAnimationListEmpty());

    // Slide from (9, 0) to (109, 0) over 4 ticks, eased by a quarter sine.
    mGUI->AddSlideAnimation("Slide", 109, 0, 4, rObject);
    const float tExpected[3] = {9 + (float)(int)(sinf(0.25f * 3.14159256f / 2) * 100 + 0.05f),
                                9 + (float)(int)(sinf(0.5f * 3.14159256f / 2) * 100 + 0.05f),
                                9 + (float)(int)(sinf(0.75f * 3.14159256f / 2) * 100 + 0.05f)};
    for(int i = 0; i < 3; i++)
    {
        mGUI->Update(-1);
        EXPECT_FLOAT_EQ(tExpected[i], rObject->GetX1()) << "tick " << i + 1;
    }
    mGUI->Update(-1);
    EXPECT_FLOAT_EQ(109.0f, rObject->GetX1());
    EXPECT_TRUE(mGUI->IsAnimationListEmpty());

    // A slide of no ticks arrives on its first step instead of dividing by zero.
    mGUI->AddSlideAnimation("Slide", 5, 6, 0, rObject);
    mGUI->Update(-1);
    EXPECT_FLOAT_EQ(5.0f, rObject->GetX1());
    EXPECT_FLOAT_EQ(6.0f, rObject->GetY1());
    EXPECT_TRUE(mGUI->IsAnimationListEmpty());

    // Fade from alpha 1 to 0 over 4 ticks, then hide; a delay holds the first step back.
    GUIAnimation *rFade = mGUI->AddFadeAnimation("Fade", 0.0f, 4, rObject);
    rFade->mHideWhenDone = 1;
    rFade->mDelay = 1;
    mGUI->Update(-1);
    EXPECT_FLOAT_EQ(1.0f, rObject->GetAlpha());
    const float tAlphas[3] = {0.75f, 0.5f, 0.25f};
    for(int i = 0; i < 3; i++)
    {
        mGUI->Update(-1);
        EXPECT_FLOAT_EQ(tAlphas[i], rObject->GetAlpha());
    }
    EXPECT_TRUE(rObject->IsVisible());
    mGUI->Update(-1);
    EXPECT_FLOAT_EQ(0.0f, rObject->GetAlpha());
    EXPECT_FALSE(rObject->IsVisible());
    EXPECT_TRUE(mGUI->IsAnimationListEmpty());

    // A fade of 0 ticks sets the end alpha on its first step. Mouse events step nothing.
    mGUI->AddFadeAnimation("Fade", 0.6f, 0, rObject);
    mGUI->Update(0);
    EXPECT_FLOAT_EQ(0.0f, rObject->GetAlpha());
    mGUI->Update(-1);
    EXPECT_FLOAT_EQ(0.6f, rObject->GetAlpha());
}

TEST_F(GUITest, SlideAndFadeReplaceTheirNamesakesAndMovesAccumulate)
{
    RecordingObject *rObject = AddRecorder("Object", false, 0, 0, 10, 10);
    EXPECT_EQ(nullptr, mGUI->AddFadeAnimation("Fade", 1.0f, 5, NULL));
    EXPECT_EQ(nullptr, mGUI->AddMoveAnimation(NULL, 1, 1, 1.0f, rObject));
    EXPECT_EQ(nullptr, mGUI->AddSlideAnimation("Slide", 1, 1, 1, NULL));

    // The longer fade and slide are replaced by one-tick ones, so one tick empties the list.
    mGUI->AddFadeAnimation("Fade", 0.0f, 30, rObject);
    mGUI->AddFadeAnimation("Fade", 0.0f, 1, rObject);
    mGUI->AddSlideAnimation("Slide", 0, 50, 30, rObject);
    mGUI->AddSlideAnimation("Slide", 0, 50, 1, rObject);
    mGUI->Update(-1);
    EXPECT_TRUE(mGUI->IsAnimationListEmpty());

    // Two moves under one name both run: two units along x in one tick.
    rObject->SetPosition(0, 0);
    mGUI->AddMoveAnimation("Move", 50, 0, 1.0f, rObject);
    mGUI->AddMoveAnimation("Move", 50, 0, 1.0f, rObject);
    mGUI->Update(-1);
    EXPECT_NEAR(2.0f, rObject->GetX1(), 1e-4);
}

TEST_F(GUITest, RemovingAnObjectDropsItsAnimationsAndItsPlaceOnTheStack)
{
    RecordingObject *rKeep = AddRecorder("Keep", false, 0, 0, 10, 10);
    RecordingObject *rGone = AddRecorder("Gone", false, 0, 0, 10, 10);
    RecordingObject *rChild = new RecordingObject("Child", false);
    rGone->AddChild("Child", rChild);

    mGUI->AddMoveAnimation("Child", 100, 0, 1.0f, rChild);
    mGUI->AddMoveAnimation("Keep", 100, 0, 1.0f, rKeep);
    mGUI->OpenScreen(rKeep);
    mGUI->OpenScreen(rChild);

    mGUI->RemoveObject("Gone");
    EXPECT_EQ(nullptr, mGUI->FindObject("Gone"));
    EXPECT_FALSE(mGUI->HasAnimation("Child"));
    EXPECT_TRUE(mGUI->HasAnimation("Keep"));
    EXPECT_EQ(rKeep, mGUI->GetTopScreen());
    mGUI->Update(-1);
    EXPECT_NEAR(1.0f, rKeep->GetX1(), 1e-4);

    // Removing a child drops what pointed at it, too; detaching leaves it alive.
    RecordingObject *rLeaf = new RecordingObject("Leaf", false);
    rKeep->AddChild("Leaf", rLeaf);
    mGUI->AddFadeAnimation("Leaf", 0.0f, 5, rLeaf);
    rKeep->RemoveChild("Leaf");
    EXPECT_FALSE(mGUI->HasAnimation("Leaf"));

    GUIBaseObject *rDetached = mGUI->DetachObject("Keep");
    EXPECT_EQ(rKeep, rDetached);
    EXPECT_EQ(nullptr, mGUI->FindObject("Keep"));
    EXPECT_TRUE(mGUI->HasAnimation("Keep"));
    mGUI->ForgetObject(rDetached);
    EXPECT_FALSE(mGUI->HasAnimation("Keep"));
    EXPECT_EQ(0, mGUI->GetOpenScreenCount());
    delete rDetached;
}

TEST_F(GUITest, DefaultObjectsComeInOrderAndTheWatermarkStaysVisibleAtTheBack)
{
    mGUI->CreateDefaultObjects();
    NamedLinkedList *rObjects = mGUI->GetObjectList();
    const char *cOrder[7] = {"Console", "BossHealthBar", "KestraHealthBar", "LevelSelectScreen", "TitleScreen",
                             "PauseScreen", "Watermark"};
    ASSERT_EQ(7, rObjects->GetCount());
    for(int i = 0; i < 7; i++)
    {
        EXPECT_STREQ(cOrder[i], rObjects->GetNameByIndex(i));
        GUIBaseObject *rObject = mGUI->FindObject(cOrder[i]);
        ASSERT_NE(nullptr, rObject);
        EXPECT_STREQ(cOrder[i], rObject->GetName());
        EXPECT_EQ(i == 6 ? TYPE_GUITEXTLINE : TYPE_GUIBASEOBJECT, rObject->GetType());
    }
    EXPECT_FALSE(mGUI->FindObject("Console")->IsVisible());
    EXPECT_FALSE(mGUI->FindObject("PauseScreen")->IsVisible());
    EXPECT_FLOAT_EQ(0.0f, mGUI->FindObject("PauseScreen")->GetAlpha());
    EXPECT_FLOAT_EQ(160.0f, mGUI->FindObject("Console")->GetY2());

    // Whatever is added later, each update puts the watermark back at the tail, shown.
    GUIBaseObject *rWatermark = mGUI->FindObject("Watermark");
    mGUI->AddObject("Late", new GUIBaseObject());
    rWatermark->Hide();
    mGUI->Update(-1);
    EXPECT_EQ(rWatermark, rObjects->GetTailData());
    EXPECT_STREQ("Watermark", rObjects->GetNameByIndex(rObjects->GetCount() - 1));
    EXPECT_TRUE(rWatermark->IsVisible());
    EXPECT_TRUE(mGUI->AnyVisible());

    mGUI->HideAll();
    EXPECT_FALSE(mGUI->AnyVisible());
    EXPECT_EQ(nullptr, mGUI->FindObject(NULL));
    EXPECT_EQ(nullptr, mGUI->FindObject("Nothing"));
}

TEST_F(GUITest, TheWorldRunsOnlyWhileThePauseScreenExistsAndIsNotOnTop)
{
    EXPECT_FALSE(GUILetsWorldRun(NULL));
    EXPECT_FALSE(GUILetsWorldRun(mGUI));

    mGUI->CreateDefaultObjects();
    GUIBaseObject *rPause = mGUI->FindObject("PauseScreen");
    EXPECT_TRUE(GUILetsWorldRun(mGUI));

    mGUI->OpenScreen(rPause);
    EXPECT_FALSE(GUILetsWorldRun(mGUI));

    // Another screen over the pause screen lets the world run again.
    mGUI->OpenScreen(mGUI->FindObject("Console"));
    EXPECT_TRUE(GUILetsWorldRun(mGUI));
    mGUI->CloseTopScreen();
    EXPECT_FALSE(GUILetsWorldRun(mGUI));
    mGUI->CloseTopScreen();
    EXPECT_TRUE(GUILetsWorldRun(mGUI));

    mGUI->RemoveObject("PauseScreen");
    EXPECT_FALSE(GUILetsWorldRun(mGUI));
}

TEST_F(GUITest, PauseAndCloseGameHotkeysOpenAndCloseThePauseScreen)
{
    mGUI->CreateDefaultObjects();
    GUIBaseObject *rPause = mGUI->FindObject("PauseScreen");
    GUIBaseObject *rConsole = mGUI->FindObject("Console");

    // Outside the game gear "Pause" does nothing.
    ActivateTitleGear();
    PressAndRunHotkeys("Pause");
    EXPECT_EQ(0, mGUI->GetOpenScreenCount());

    // Nor while the console is visible, nor while an animation is listed.
    ActivateGameGear();
    rConsole->Show();
    PressAndRunHotkeys("Pause");
    EXPECT_EQ(0, mGUI->GetOpenScreenCount());
    rConsole->Hide();
    mGUI->AddFadeAnimation("Busy", 1.0f, 0, rConsole);
    PressAndRunHotkeys("Pause");
    PressAndRunHotkeys("CloseGame");
    EXPECT_EQ(0, mGUI->GetOpenScreenCount());
    mGUI->Update(-1);

    PressAndRunHotkeys("Pause");
    EXPECT_TRUE(mGUI->IsTopScreen(rPause));
    // Opening starts the screen's fade animation, which holds the hotkeys for one tick.
    EXPECT_TRUE(mGUI->HasAnimation("GUISPauseFade"));
    mGUI->Update(-1);
    PressAndRunHotkeys("Pause");
    EXPECT_EQ(1, mGUI->GetOpenScreenCount());

    // The pause screen handles "CloseGame" itself, so the hotkey leaves it open; with no
    // screen open the hotkey opens it.
    PressAndRunHotkeys("CloseGame");
    EXPECT_TRUE(mGUI->IsTopScreen(rPause));
    mGUI->CloseTopScreen();
    mGUI->Update(-1);
    PressAndRunHotkeys("CloseGame");
    EXPECT_TRUE(mGUI->IsTopScreen(rPause));
    mGUI->Update(-1);
    RecordingObject *rMenu = AddRecorder("Menu", false, 0, 0, 1, 1);
    mGUI->OpenScreen(rMenu);
    PressAndRunHotkeys("CloseGame");
    EXPECT_TRUE(mGUI->IsTopScreen(rPause));

    // A screen that keeps itself open survives "CloseGame".
    RecordingObject *rKept = AddRecorder("Kept", false, 0, 0, 1, 1);
    rKept->SetKeepOpen(1);
    mGUI->OpenScreen(rKept);
    PressAndRunHotkeys("CloseGame");
    EXPECT_TRUE(mGUI->IsTopScreen(rKept));

    // Outside the game "CloseGame" does not open the pause screen.
    ActivateLevelSelectGear();
    mGUI->CloseTopScreen();
    mGUI->CloseTopScreen();
    PressAndRunHotkeys("CloseGame");
    EXPECT_EQ(0, mGUI->GetOpenScreenCount());
}

TEST_F(GUITest, ControlLocksStopPauseAndCloseGameAndTheConsoleTogglesItsLock)
{
    Application *rApp = GetApplication();
    rApp->rEntityManager = new EntityManager();
    rApp->rEntityManager->CreatePlayer();
    PlayerPony *rPlayer = PlayerPony::Get();
    ASSERT_NE(nullptr, rPlayer);
    mGUI->CreateDefaultObjects();
    GUIBaseObject *rPause = mGUI->FindObject("PauseScreen");
    GUIBaseObject *rConsole = mGUI->FindObject("Console");
    ActivateGameGear();

    rApp->rMapManager = new MapManager();
    rApp->rMapManager->SetWarpZone(3, 300.0f, 200.0f, -1.0f, -1.0f);
    rPlayer->SetPositionAutoCenter(50.0f, 50.0f, 0.0f);
    float tStartX = 0.0f, tStartY = 0.0f, tZ = 0.0f;
    rPlayer->GetPosition(tStartX, tStartY, tZ);

    // A locked player can neither pause, nor close a screen, nor warp.
    rPlayer->AddControlLock("Cutscene");
    PressAndRunHotkeys("Pause");
    PressAndRunHotkeys("CloseGame");
    PressAndRunHotkeys("Warp3");
    EXPECT_EQ(0, mGUI->GetOpenScreenCount());
    float tX = 0.0f, tY = 0.0f;
    rPlayer->GetPosition(tX, tY, tZ);
    EXPECT_FLOAT_EQ(tStartX, tX);
    EXPECT_FLOAT_EQ(tStartY, tY);
    RecordingObject *rMenu = AddRecorder("Menu", false, 0, 0, 1, 1);
    mGUI->OpenScreen(rMenu);
    PressAndRunHotkeys("CloseGame");
    EXPECT_TRUE(mGUI->IsTopScreen(rMenu));
    mGUI->CloseTopScreen();
    rPlayer->RemoveControlLock("Cutscene");

    // Unlocked, the numbered warp moves the player.
    PressAndRunHotkeys("Warp3");
    rPlayer->GetPosition(tX, tY, tZ);
    EXPECT_NE(tStartX, tX);
    EXPECT_NE(tStartY, tY);

    // The console opens as a screen and locks the player; a second press closes it again.
    PressAndRunHotkeys("Console");
    EXPECT_TRUE(rConsole->IsVisible());
    EXPECT_TRUE(mGUI->IsTopScreen(rConsole));
    EXPECT_TRUE(rPlayer->IsControlLocked());
    PressAndRunHotkeys("Console");
    EXPECT_FALSE(rConsole->IsVisible());
    EXPECT_EQ(0, mGUI->GetOpenScreenCount());
    EXPECT_FALSE(rPlayer->IsControlLocked());

    // Closing the console when another screen stands above it leaves that screen open.
    RecordingObject *rOther = AddRecorder("Other", false, 0, 0, 1, 1);
    PressAndRunHotkeys("Console");
    mGUI->OpenScreen(rOther);
    PressAndRunHotkeys("Console");
    EXPECT_TRUE(mGUI->IsTopScreen(rOther));
    EXPECT_EQ(1, mGUI->GetOpenScreenCount());
    EXPECT_FALSE(rConsole->IsVisible());
    mGUI->CloseTopScreen();

    // "CloseGame" pops the console, which then hides and frees the player; the next console
    // press opens it again instead of popping another screen.
    PressAndRunHotkeys("Console");
    rPlayer->RemoveControlLock("ConsoleLock");
    PressAndRunHotkeys("CloseGame");
    EXPECT_EQ(0, mGUI->GetOpenScreenCount());
    EXPECT_FALSE(rConsole->IsVisible());
    EXPECT_FALSE(rPlayer->IsControlLocked());
    mGUI->OpenScreen(rOther);
    PressAndRunHotkeys("Console");
    EXPECT_TRUE(mGUI->IsScreenOpen(rOther));
    EXPECT_TRUE(mGUI->IsTopScreen(rConsole));
    EXPECT_TRUE(rConsole->IsVisible());
    PressAndRunHotkeys("Console");
    EXPECT_TRUE(mGUI->IsTopScreen(rOther));
    EXPECT_FALSE(rConsole->IsVisible());
    (void)rPause;

    delete rApp->rMapManager;
    rApp->rMapManager = NULL;
    delete rApp->rEntityManager;
    rApp->rEntityManager = NULL;
}

TEST_F(GUITest, GameSpeedFollowsTheHeldSpeedKeysAndHitboxesToggle)
{
    Application *rApp = GetApplication();
    OptionsManager *rOptions = rApp->rOptionsManager;

    // Without a "HasteRate" option, speeding up keeps the normal rate.
    Control("SpeedUp")->mHeld = 1;
    mGUI->UpdateHotkeys();
    EXPECT_FLOAT_EQ(60.0f, rApp->mFrameRate);

    float *nHaste = (float *)malloc(sizeof(float));
    *nHaste = 120.0f;
    rOptions->BindOwned("HasteRate", nHaste, TYPEDVALUE_FLOAT);
    Control("SlowDown")->mHeld = 1;
    mGUI->UpdateHotkeys();
    EXPECT_FLOAT_EQ(120.0f, rApp->mFrameRate);

    Control("SpeedUp")->mHeld = 0;
    mGUI->UpdateHotkeys();
    EXPECT_FLOAT_EQ(10.0f, rApp->mFrameRate);

    Control("SlowDown")->mHeld = 0;
    mGUI->UpdateHotkeys();
    EXPECT_FLOAT_EQ(60.0f, rApp->mFrameRate);

    // Rates the timer cannot be trusted with keep the normal rate.
    const float cBadRates[] = {-5.0f, 0.0f, 0.5f, 1e9f, INFINITY, -INFINITY, NAN};
    for(float tBad : cBadRates)
    {
        *nHaste = tBad;
        Control("SpeedUp")->mHeld = 1;
        mGUI->UpdateHotkeys();
        EXPECT_FLOAT_EQ(60.0f, rApp->mFrameRate) << tBad;
        Control("SpeedUp")->mHeld = 0;
        mGUI->UpdateHotkeys();
    }
    *nHaste = 1000.0f;
    Control("SpeedUp")->mHeld = 1;
    mGUI->UpdateHotkeys();
    EXPECT_FLOAT_EQ(1000.0f, rApp->mFrameRate);
    Control("SpeedUp")->mHeld = 0;
    mGUI->UpdateHotkeys();

    uint8_t *nShow = (uint8_t *)malloc(1);
    *nShow = 0;
    rOptions->BindOwned("ShowHitboxes", nShow, TYPEDVALUE_BOOL);
    PressAndRunHotkeys("ToggleHitboxes");
    EXPECT_TRUE(rOptions->GetBool("ShowHitboxes"));
    mGUI->UpdateHotkeys();
    EXPECT_TRUE(rOptions->GetBool("ShowHitboxes"));
    PressAndRunHotkeys("ToggleHitboxes");
    EXPECT_FALSE(rOptions->GetBool("ShowHitboxes"));
}

TEST_F(GUITest, ClickCoordinatesFollowTheMouseWhileTheButtonIsHeld)
{
    ControlManager *rControls = GetApplication()->rControlManager;
    int32_t tX = 0, tY = 0;
    float tClickX = 0, tClickY = 0;

    rControls->SetMousePosition(100, 100);
    rControls->GetMousePosition(&tX, &tY, NULL);
    mGUI->Update(0);
    mGUI->GetMouseClickCoords(tClickX, tClickY);
    EXPECT_FLOAT_EQ((float)tX, tClickX);
    EXPECT_FLOAT_EQ((float)tY, tClickY);
    EXPECT_TRUE(mGUI->IsMouseHeld());

    rControls->SetMousePosition(300, 200);
    rControls->GetMousePosition(&tX, &tY, NULL);
    mGUI->Update(-1);
    mGUI->GetMouseClickCoords(tClickX, tClickY);
    EXPECT_FLOAT_EQ((float)tX, tClickX);
    EXPECT_FLOAT_EQ((float)tY, tClickY);

    rControls->SetMousePosition(500, 400);
    rControls->GetMousePosition(&tX, &tY, NULL);
    mGUI->Update(1);
    EXPECT_FALSE(mGUI->IsMouseHeld());
    rControls->SetMousePosition(700, 500);
    mGUI->Update(-1);
    // Other codes leave the record alone.
    mGUI->Update(7);
    mGUI->GetMouseClickCoords(tClickX, tClickY);
    EXPECT_FLOAT_EQ((float)tX, tClickX);
    EXPECT_FLOAT_EQ((float)tY, tClickY);
}

TEST_F(GUITest, ObjectTreePathsLookupsAndListOrder)
{
    GUIBaseObject *nA = new GUIBaseObject();
    nA->SetName("A");
    mGUI->AddObject("A", nA);
    GUIBaseObject *nB = new GUIBaseObject();
    GUIBaseObject *nC = new GUIBaseObject();
    GUIBaseObject *nD = new GUIBaseObject();
    nA->AddChild("B", nB);
    nB->AddChild("C", nC);
    nA->AddChild("D", nD);
    nA->AddChild(NULL, nD);
    nA->AddChild("E", NULL);
    EXPECT_EQ(2, nA->GetChildList()->GetCount());

    char tPath[256];
    nC->GetPath(tPath, sizeof(tPath));
    EXPECT_STREQ("A/B/C/", tPath);
    // A short buffer cuts the path and stays terminated.
    char tShort[5];
    nC->GetPath(tShort, sizeof(tShort));
    EXPECT_STREQ("A/B/", tShort);
    nC->GetPath(tShort, 3);
    EXPECT_STREQ("A/", tShort);

    EXPECT_EQ(nC, mGUI->FindObject("C"));
    EXPECT_EQ(nC, nA->FindChild("C"));
    EXPECT_EQ(nullptr, nB->FindChild("D"));
    EXPECT_EQ(nA, nC->GetParent()->GetParent());

    nA->SetRect(10.9f, 20.5f, 50, 50);
    nB->SetRect(5.5f, 1, 9, 9);
    int32_t tX = 0, tY = 0;
    nC->LocalToScreen(tX, tY);
    EXPECT_EQ(15, tX);
    EXPECT_EQ(21, tY);

    nA->SetAlpha(0.5f);
    nB->SetAlpha(0.5f);
    EXPECT_FLOAT_EQ(0.25f, nB->GetEffectiveAlpha());
    nB->SetInheritAlpha(0);
    EXPECT_FLOAT_EQ(0.5f, nB->GetEffectiveAlpha());

    // Moving within the parent's list keeps the entry names.
    nB->SendToBack();
    EXPECT_STREQ("D", nA->GetChildList()->GetNameByIndex(0));
    EXPECT_STREQ("B", nA->GetChildList()->GetNameByIndex(1));
    nB->BringToFront();
    EXPECT_EQ(nB, nA->GetChildList()->GetHeadData());
    EXPECT_STREQ("B", nA->GetChildList()->GetNameByIndex(0));

    GUIBaseObject *nTop = new GUIBaseObject();
    mGUI->AddObject("Top", nTop);
    nTop->BringToFront();
    EXPECT_STREQ("Top", mGUI->GetObjectList()->GetNameByIndex(0));

    EXPECT_EQ(nD, nA->DetachChild("D"));
    EXPECT_EQ(nullptr, nD->GetParent());
    delete nD;
    nA->ClearChildren();
    EXPECT_EQ(0, nA->GetChildList()->GetCount());
}

TEST_F(GUITest, NavigationNodesLinkWithinTheTableOnly)
{
    GUIBaseObject tMenu;
    tMenu.SetNavigationNodeCount(3);
    tMenu.SetNavigationNode(0, -1, -1, -1, 1);
    tMenu.SetNavigationNode(1, -1, 0, -1, 2);
    tMenu.SetNavigationNode(2, -1, 1, 7, -1);
    tMenu.SetNavigationNode(3, 0, 0, 0, 0);
    EXPECT_EQ(nullptr, tMenu.GetNavigationNode(2)->rRight);

    tMenu.MoveNavigation(NAV_DOWN);
    EXPECT_EQ(nullptr, tMenu.GetCurrentNavigationNode());
    tMenu.SetCurrentNavigationNode(tMenu.GetNavigationNode(0));
    tMenu.MoveNavigation(NAV_UP);
    EXPECT_EQ(0, tMenu.GetCurrentNavigationIndex());
    tMenu.MoveNavigation(NAV_DOWN);
    tMenu.MoveNavigation(NAV_DOWN);
    tMenu.MoveNavigation(NAV_DOWN);
    EXPECT_EQ(2, tMenu.GetCurrentNavigationIndex());

    tMenu.SetNavigationNodeCount(0);
    EXPECT_EQ(0, tMenu.GetNavigationNodeCount());
    EXPECT_EQ(nullptr, tMenu.GetNavigationNode(0));
    EXPECT_EQ(nullptr, tMenu.GetCurrentNavigationNode());
    EXPECT_EQ(0, tMenu.GetCurrentNavigationIndex());
}

TEST_F(GUITest, LuaGlobalsCheckTheirArgumentsAndReachTheManager)
{
    lua_State *L = luaL_newstate();
    RegisterGUILua(L);

    testing::internal::CaptureStderr();
    ASSERT_EQ(0, luaL_dostring(L, "GUI_ForceToTitle()"));
    EXPECT_EQ("GUI_ForceToTitle: Failed, invalid argument list\n", testing::internal::GetCapturedStderr());
    EXPECT_EQ(0, mGUI->GetReturnToTitle());

    ASSERT_EQ(0, luaL_dostring(L, "GUI_ForceToTitle(true)"));
    EXPECT_EQ(1, mGUI->GetReturnToTitle());
    EXPECT_EQ(0, lua_gettop(L));

    mGUI->Update(0);
    ASSERT_EQ(0, luaL_dostring(L, "x, y = GUI_GetMouseClickCoords()"));
    float tX = 0, tY = 0;
    mGUI->GetMouseClickCoords(tX, tY);
    lua_getglobal(L, "x");
    lua_getglobal(L, "y");
    EXPECT_DOUBLE_EQ(tX, lua_tonumber(L, -2));
    EXPECT_DOUBLE_EQ(tY, lua_tonumber(L, -1));
    lua_pop(L, 2);

    // In world units the click is offset by the active camera's corner, which the
    // "DisplayCameraTopLeft" hotkey prints.
    CameraManager *nCameras = new CameraManager();
    GetApplication()->rCameraManager = nCameras;
    nCameras->AddCamera("Test", 100, 50, 480, 360);
    nCameras->SetActiveCamera("Test");
    ASSERT_EQ(0, luaL_dostring(L, "wx, wy = GUI_GetMouseClickCoordsInWorld()"));
    lua_getglobal(L, "wx");
    lua_getglobal(L, "wy");
    EXPECT_DOUBLE_EQ(tX + 100.0, lua_tonumber(L, -2));
    EXPECT_DOUBLE_EQ(tY + 50.0, lua_tonumber(L, -1));
    lua_pop(L, 2);
    testing::internal::CaptureStderr();
    PressAndRunHotkeys("DisplayCameraTopLeft");
    EXPECT_EQ("Camera 100.000000 50.000000\n", testing::internal::GetCapturedStderr());
    GetApplication()->rCameraManager = NULL;
    delete nCameras;
    lua_close(L);
}

TEST_F(GUITest, TheToolLinkHotkeyAsksForTheLinkThatTheNextTickOpens)
{
    LoopbackPeer tPeer;
    SocketManager *nSockets = new SocketManager();
    nSockets->SetToolLinkPort(tPeer.Port());
    GetApplication()->rSocketManager = nSockets;
    FrameRecord tFrame;
    memset(&tFrame, 0, sizeof(tFrame));

    testing::internal::CaptureStderr();
    ActivateTitleGear();
    PressAndRunHotkeys("ConnectToPlinkard");
    EXPECT_TRUE(nSockets->IsToolLinkRequested());
    EXPECT_FALSE(nSockets->HasLink("Plinkard"));
    TitleGearTimer(&tFrame);
    EXPECT_FALSE(nSockets->IsToolLinkRequested());
    EXPECT_TRUE(nSockets->HasLink("Plinkard"));

    // The game tick updates the links too: a peer that leaves is gone after the next one.
    for(int i = 0; i < 2000 && !tPeer.TryAccept(); i++) usleep(1000);
    ASSERT_GE(tPeer.Client(), 0);
    tPeer.CloseClient();
    ActivateGameGear();
    for(int i = 0; i < 2000 && nSockets->HasLink("Plinkard"); i++)
    {
        usleep(1000);
        GameGearTimer(&tFrame);
    }
    EXPECT_FALSE(nSockets->HasLink("Plinkard"));
    testing::internal::GetCapturedStderr();
    GetApplication()->rSocketManager = NULL;
    delete nSockets;
}

TEST_F(GUITest, TheGameTickFreezesTheWorldUnderThePauseScreenAndHonoursTheTitleRequest)
{
    FrameRecord tFrame;
    memset(&tFrame, 0, sizeof(tFrame));
    mGUI->CreateDefaultObjects();
    ActivateGameGear();

    // The Enter key going down before a game tick presses "Pause", which the tick's hotkeys
    // turn into the pause screen.
    ALLEGRO_KEYBOARD_STATE tKeyboard;
    memset(&tKeyboard, 0, sizeof(tKeyboard));
    tKeyboard.__key_down__internal__[ALLEGRO_KEY_ENTER / 32] |= 1u << (ALLEGRO_KEY_ENTER % 32);
    GetApplication()->rControlManager->LendKeyboardState(&tKeyboard);
    GameGearTimer(&tFrame);
    EXPECT_TRUE(mGUI->IsTopScreen(mGUI->FindObject("PauseScreen")));
    EXPECT_EQ(-1, mGUI->GetLastEventCode());

    // A return-to-title request switches the gear at the end of the same tick and is cleared.
    mGUI->SetReturnToTitle(1);
    GameGearTimer(&tFrame);
    EXPECT_EQ(TitleGearTimer, GetApplication()->rGearTick);
    EXPECT_EQ(0, mGUI->GetReturnToTitle());
}

TEST_F(GUITest, EveryNumberedWarpHotkeyGoesToItsOwnZone)
{
    Application *rApp = GetApplication();
    rApp->rEntityManager = new EntityManager();
    rApp->rEntityManager->CreatePlayer();
    PlayerPony *rPlayer = PlayerPony::Get();
    ASSERT_NE(nullptr, rPlayer);
    mGUI->CreateDefaultObjects();
    ActivateGameGear();
    rApp->rMapManager = new MapManager();
    for(int32_t i = 0; i < 9; i++) rApp->rMapManager->SetWarpZone(i, 100.0f * (i + 1), 50.0f * (i + 2), -1.0f, -1.0f);

    // Each zone is somewhere else, so a hotkey that ran another zone's warp lands her wrongly.
    for(int32_t i = 0; i < 9; i++)
    {
        char tName[8];
        snprintf(tName, sizeof(tName), "Warp%i", i);
        rPlayer->SetHealth(1);
        PressAndRunHotkeys(tName);
        float tX = 0.0f, tY = 0.0f, tZ = 0.0f;
        rPlayer->GetPosition(tX, tY, tZ);
        rPlayer->SetPositionAutoCenter(100.0f * (i + 1), 50.0f * (i + 2), 0.0f);
        float tWantX = 0.0f, tWantY = 0.0f;
        rPlayer->GetPosition(tWantX, tWantY, tZ);
        EXPECT_FLOAT_EQ(tWantX, tX) << tName;
        EXPECT_FLOAT_EQ(tWantY, tY) << tName;
        EXPECT_EQ(rPlayer->GetMaxHealth(), rPlayer->GetHealth()) << tName << " heals her";
    }
    delete rApp->rMapManager;
    rApp->rMapManager = NULL;
    delete rApp->rEntityManager;
    rApp->rEntityManager = NULL;
}

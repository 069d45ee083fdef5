#include "GUIFixture.h"

TEST_F(GUITest, EventsReachChildrenFirstAndTheFirstConsumerEndsTheDispatch)
{
    RecordingObject *rFront = AddRecorder("Front", false, 0, 0, 100, 100);
    RecordingObject *nB = new RecordingObject("B", false);
    RecordingObject *nC = new RecordingObject("C", false);
    rFront->AddChild("B", nB);
    rFront->AddChild("C", nC);
    AddRecorder("Back", false, 0, 0, 100, 100);

    // Nobody consumes: children head to tail, then the parent, then the next top-level object.
    EXPECT_FALSE(mGUI->Update(-1));
    EXPECT_EQ("B(-1,0,0) C(-1,0,0) Front(-1,0,0) Back(-1,0,0) ", xLog);

    // The second child consumes: its parent and every later object hear nothing.
    xLog.clear();
    nC->mConsumes = true;
    EXPECT_TRUE(mGUI->Update(0));
    EXPECT_EQ("B(0,0,0) C(0,0,0) ", xLog);
    EXPECT_EQ(0, mGUI->GetLastEventCode());

    // A consuming front object keeps the event from the back object.
    xLog.clear();
    nC->mConsumes = false;
    rFront->mConsumes = true;
    EXPECT_TRUE(mGUI->Update(1));
    EXPECT_EQ("B(1,0,0) C(1,0,0) Front(1,0,0) ", xLog);
}

TEST_F(GUITest, ChildrenGetTruncatedLocalCoordinatesAndHiddenObjectsOnlyTrackHover)
{
    ControlManager *rControls = ControlManager::Get();
    rControls->SetMousePosition(400, 300);
    int32_t tMouseX = 0, tMouseY = 0;
    rControls->GetMousePosition(&tMouseX, &tMouseY, nullptr);

    RecordingObject *rParent = AddRecorder("Parent", false, 10.7f, 20.2f, 400.0f, 300.0f);
    RecordingObject *nChild = new RecordingObject("Child", false);
    nChild->SetRect((float)(tMouseX - 10), (float)(tMouseY - 20), (float)(tMouseX - 10), (float)(tMouseY - 20));
    rParent->AddChild("Child", nChild);

    mGUI->Update(-1);
    std::string tChildLocal = std::to_string(tMouseX - 10) + "," + std::to_string(tMouseY - 20);
    EXPECT_EQ("Child(-1," + tChildLocal + ") Parent(-1," + std::to_string(tMouseX) + "," + std::to_string(tMouseY) + ") ", xLog);
    EXPECT_TRUE(nChild->IsHovered());

    // Hidden: the hover flag still follows the pointer, but nobody handles the event.
    xLog.clear();
    rParent->Hide();
    rParent->SetRect(0, 0, 1, 1);
    EXPECT_FALSE(mGUI->Update(0));
    EXPECT_EQ("", xLog);
    EXPECT_FALSE(rParent->IsHovered());

    // A visible child of a hidden parent is not visible.
    nChild->SetVisible(true);
    EXPECT_FALSE(nChild->IsVisible());
}

TEST_F(GUITest, ScreenStackOpensAndClosesInOrderWithItsHooks)
{
    RecordingObject *rA = AddRecorder("A", false, 0, 0, 1, 1);
    RecordingObject *rB = AddRecorder("B", false, 0, 0, 1, 1);

    mGUI->CloseTopScreen();
    mGUI->OpenScreen(nullptr);
    EXPECT_EQ(0, mGUI->GetOpenScreenCount());
    EXPECT_EQ(nullptr, mGUI->GetTopScreen());

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
    RecordingObject *nButton = new RecordingObject("Button", false);
    rScreen->AddChild("Button", nButton);
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
    nButton->mConsumes = true;
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
    EXPECT_EQ(nullptr, mGUI->AddFadeAnimation("Fade", 1.0f, 5, nullptr));
    EXPECT_EQ(nullptr, mGUI->AddMoveAnimation(nullptr, 1, 1, 1.0f, rObject));
    EXPECT_EQ(nullptr, mGUI->AddSlideAnimation("Slide", 1, 1, 1, nullptr));

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
    RecordingObject *nChild = new RecordingObject("Child", false);
    rGone->AddChild("Child", nChild);

    mGUI->AddMoveAnimation("Child", 100, 0, 1.0f, nChild);
    mGUI->AddMoveAnimation("Keep", 100, 0, 1.0f, rKeep);
    mGUI->OpenScreen(rKeep);
    mGUI->OpenScreen(nChild);

    mGUI->RemoveObject("Gone");
    EXPECT_EQ(nullptr, mGUI->FindObject("Gone"));
    EXPECT_FALSE(mGUI->HasAnimation("Child"));
    EXPECT_TRUE(mGUI->HasAnimation("Keep"));
    EXPECT_EQ(rKeep, mGUI->GetTopScreen());
    mGUI->Update(-1);
    EXPECT_NEAR(1.0f, rKeep->GetX1(), 1e-4);

    // Removing a child drops what pointed at it, too; detaching leaves it alive.
    RecordingObject *nLeaf = new RecordingObject("Leaf", false);
    rKeep->AddChild("Leaf", nLeaf);
    mGUI->AddFadeAnimation("Leaf", 0.0f, 5, nLeaf);
    rKeep->RemoveChild("Leaf");
    EXPECT_FALSE(mGUI->HasAnimation("Leaf"));

    GUIBaseObject *nDetached = mGUI->DetachObject("Keep");
    EXPECT_EQ(rKeep, nDetached);
    EXPECT_EQ(nullptr, mGUI->FindObject("Keep"));
    EXPECT_TRUE(mGUI->HasAnimation("Keep"));
    mGUI->ForgetObject(nDetached);
    EXPECT_FALSE(mGUI->HasAnimation("Keep"));
    EXPECT_EQ(0, mGUI->GetOpenScreenCount());
    delete nDetached;
}

TEST_F(GUITest, DefaultObjectsComeInOrderAndTheWatermarkStaysVisibleAtTheBack)
{
    GetApplication()->mGlobalConsole = new VirtualConsole();
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
    // The console object shows the global console, which greets on its first row.
    VirtualConsole *rGlobal = GetApplication()->mGlobalConsole;
    EXPECT_EQ(rGlobal, dynamic_cast<GUIConsole *>(mGUI->FindObject("Console"))->GetConsole());
    char tRow[VC_COLUMNS + 1];
    rGlobal->GetRowText(0, tRow, sizeof(tRow));
    EXPECT_STREQ("Welcome to CorvelConsole v1.0!\n", tRow);
    EXPECT_EQ(1, rGlobal->GetCursorRow());
    EXPECT_EQ(0, rGlobal->GetCursorColumn());

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
    EXPECT_EQ(nullptr, mGUI->FindObject(nullptr));
    EXPECT_EQ(nullptr, mGUI->FindObject("Nothing"));
}

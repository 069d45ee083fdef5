#include "GUIFixture.h"
#include "support/TestText.h"

// The hotkeys, the world's run rule, the object tree and the Lua globals, on the same manager.
class GUIHotkeysTest : public GUITest
{
protected:
    // An entity manager holding the player, and the GUI's default objects.
    PlayerPony *AddPlayerAndDefaultObjects()
    {
        GetApplication()->mEntityManager = new EntityManager();
        EntityManager::Fetch()->CreatePlayer();
        mGUI->CreateDefaultObjects();
        return PlayerPony::Get();
    }
};

TEST_F(GUIHotkeysTest, TheWorldRunsOnlyWhileThePauseScreenExistsAndIsNotOnTop)
{
    EXPECT_FALSE(GUILetsWorldRun(nullptr));
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

TEST_F(GUIHotkeysTest, PauseAndCloseGameHotkeysOpenAndCloseThePauseScreen)
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

TEST_F(GUIHotkeysTest, ControlLocksStopPauseAndCloseGameAndTheConsoleTogglesItsLock)
{
    Application *rApp = GetApplication();
    PlayerPony *rPlayer = AddPlayerAndDefaultObjects();
    ASSERT_NE(nullptr, rPlayer);
    GUIBaseObject *rPause = mGUI->FindObject("PauseScreen");
    GUIBaseObject *rConsole = mGUI->FindObject("Console");
    ActivateGameGear();

    rApp->mMapManager = new MapManager();
    MapManager::Fetch()->SetWarpZone(3, 300.0f, 200.0f, -1.0f, -1.0f);
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

    delete rApp->mMapManager;
    rApp->mMapManager = nullptr;
    delete rApp->mEntityManager;
    rApp->mEntityManager = nullptr;
}

TEST_F(GUIHotkeysTest, GameSpeedFollowsTheHeldSpeedKeysAndHitboxesToggle)
{
    Application *rApp = GetApplication();
    OptionsManager *rOptions = OptionsManager::Get();

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

TEST_F(GUIHotkeysTest, ClickCoordinatesFollowTheMouseWhileTheButtonIsHeld)
{
    ControlManager *rControls = ControlManager::Get();
    int32_t tX = 0, tY = 0;
    float tClickX = 0, tClickY = 0;

    rControls->SetMousePosition(100, 100);
    rControls->GetMousePosition(&tX, &tY, nullptr);
    mGUI->Update(0);
    mGUI->GetMouseClickCoords(tClickX, tClickY);
    EXPECT_FLOAT_EQ((float)tX, tClickX);
    EXPECT_FLOAT_EQ((float)tY, tClickY);
    EXPECT_TRUE(mGUI->IsMouseHeld());

    rControls->SetMousePosition(300, 200);
    rControls->GetMousePosition(&tX, &tY, nullptr);
    mGUI->Update(-1);
    mGUI->GetMouseClickCoords(tClickX, tClickY);
    EXPECT_FLOAT_EQ((float)tX, tClickX);
    EXPECT_FLOAT_EQ((float)tY, tClickY);

    rControls->SetMousePosition(500, 400);
    rControls->GetMousePosition(&tX, &tY, nullptr);
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

TEST_F(GUIHotkeysTest, ObjectTreePathsLookupsAndListOrder)
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
    nA->AddChild(nullptr, nD);
    nA->AddChild("E", nullptr);
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

TEST_F(GUIHotkeysTest, NavigationNodesLinkWithinTheTableOnly)
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

TEST_F(GUIHotkeysTest, LuaGlobalsCheckTheirArgumentsAndReachTheManager)
{
    lua_State *L = luaL_newstate();
    RegisterGUILua(L);

    testing::internal::CaptureStderr();
    ASSERT_EQ(0, luaL_dostring(L, "GUI_ForceToTitle()"));
    EXPECT_EQ("GUI_ForceToTitle: Failed, invalid argument list\n", CapturedStderr());
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
    GetApplication()->mCameraManager = nCameras;
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
    EXPECT_EQ("Camera 100.000000 50.000000\n", CapturedStderr());
    GetApplication()->mCameraManager = nullptr;
    delete nCameras;
    lua_close(L);
}

TEST_F(GUIHotkeysTest, TheToolLinkHotkeyAsksForTheLinkThatTheNextTickOpens)
{
    LoopbackPeer tPeer;
    SocketManager *nSockets = new SocketManager();
    nSockets->SetToolLinkPort(tPeer.Port());
    GetApplication()->mSocketManager = nSockets;
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
    CapturedStderr();
    GetApplication()->mSocketManager = nullptr;
    delete nSockets;
}

TEST_F(GUIHotkeysTest, TheGameTickFreezesTheWorldUnderThePauseScreenAndHonoursTheTitleRequest)
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
    ControlManager::Get()->LendKeyboardState(&tKeyboard);
    GameGearTimer(&tFrame);
    EXPECT_TRUE(mGUI->IsTopScreen(mGUI->FindObject("PauseScreen")));
    EXPECT_EQ(-1, mGUI->GetLastEventCode());

    // A return-to-title request switches the gear at the end of the same tick and is cleared.
    mGUI->SetReturnToTitle(1);
    GameGearTimer(&tFrame);
    EXPECT_EQ(TitleGearTimer, GetApplication()->rGearTick);
    EXPECT_EQ(0, mGUI->GetReturnToTitle());
}

TEST_F(GUIHotkeysTest, EveryNumberedWarpHotkeyGoesToItsOwnZone)
{
    Application *rApp = GetApplication();
    PlayerPony *rPlayer = AddPlayerAndDefaultObjects();
    ASSERT_NE(nullptr, rPlayer);
    ActivateGameGear();
    rApp->mMapManager = new MapManager();
    for(int32_t i = 0; i < 9; i++) MapManager::Fetch()->SetWarpZone(i, 100.0f * (i + 1), 50.0f * (i + 2), -1.0f, -1.0f);

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
    delete rApp->mMapManager;
    rApp->mMapManager = nullptr;
    delete rApp->mEntityManager;
    rApp->mEntityManager = nullptr;
}

#include "core/Application.h"
#include "core/ControlManager.h"
#include "core/Gears.h"
#include "core/LuaBindingHelpers.h"
#include "core/LuaManager.h"
#include "core/data/CorvelLumpManager.h"
#include "core/data/DataLibrary.h"
#include "core/render/LoadingScreen.h"
#include "interface/AudioManager.h"
#include "interface/AudioPackage.h"
#include "interface/GUI.h"
#include "interface/GUIBaseObject.h"
#include "support/RecordingAudioLayer.h"
#include "world/EntityManager.h"
#include "world/Executors.h"
#include "world/MapManager.h"
#include "world/RootEntity.h"
#include "world/TransitionManager.h"
#include "support/BlankApplication.h"
#include "support/TestText.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace
{
    // Counts its runs and its deletion in the test's own counters, so a test can tell whether
    // the manager ran and freed it without touching it after it is gone. An optional hook runs
    // inside Execute, and the executor writes to itself after the hook: a deletion during its
    // own run shows under the address sanitizer.
    struct ExecutorLog
    {
        int32_t mRuns = 0;
        int32_t mDeletes = 0;
    };

    class CountingExecutor : public RootExecutor
    {
    public:
        explicit CountingExecutor(ExecutorLog *pLog) : rLog(pLog) {}
        ~CountingExecutor() override { rLog->mDeletes++; }
        void Execute() override
        {
            if(rDuringRun) rDuringRun(this);
            mRunsSeen++;
            rLog->mRuns++;
        }

        ExecutorLog *rLog;
        void (*rDuringRun)(CountingExecutor *) = nullptr;
        int32_t mRunsSeen = 0;
    };

    class CountingEntity : public RootEntity
    {
    public:
        void Update() override { mUpdates++; }
        int32_t mUpdates = 0;
    };

    // A transition manager, data library, Lua manager with the "TM_" globals, controls, GUI and
    // an audio manager on the recording layer stand in for the Application's own; everything is
    // put back afterwards.
    class TransitionManagerTest : public testing::Test
    {
    protected:
        void SetUp() override
        {
            mApplication.Enter();
            Application *rApp = GetApplication();
            rApp->mDataLibrary = new DataLibrary();
            rApp->mLuaManager = new LuaManager();
            rApp->mControlManager = new ControlManager();
            ControlManager::Get()->BootDefaults();
            rApp->mGUI = new GUI();
            mLayer = new RecordingAudioLayer();
            rApp->mAudioManager = new AudioManager(mLayer);
            rApp->mTransitionManager = new TransitionManager();
            mManager = rApp->mTransitionManager;
            L = LuaManager::Fetch()->GetState();
            TransitionManager::RegisterLua(L);
        }

        void TearDown() override
        {
            Application *rApp = GetApplication();
            delete rApp->mTransitionManager;
            delete rApp->mMapManager;
            delete rApp->mLumpManager;
            delete rApp->mLoadingScreen;
            delete rApp->mEntityManager;
            delete rApp->mAudioManager;
            delete rApp->mGUI;
            delete rApp->mControlManager;
            delete rApp->mLuaManager;
            delete rApp->mDataLibrary;
            mApplication.Leave();
            SetLuaSilenceFlag(0);
        }

        void Run(const char *pChunk)
        {
            ASSERT_EQ(0, luaL_dostring(L, pChunk)) << lua_tostring(L, -1);
            EXPECT_EQ(0, lua_gettop(L));
        }

        void Ticks(int32_t pCount)
        {
            for(int32_t i = 0; i < pCount; i++) mManager->Update();
        }

        int32_t CountAudioCalls(AudioCallKind pKind)
        {
            int32_t tCount = 0;
            for(int32_t i = 0; i < mLayer->GetCallCount(); i++)
                if(mLayer->GetCall(i)->mKind == pKind) tCount++;
            return tCount;
        }

        BlankApplication mApplication;
        TransitionManager *mManager = nullptr;
        RecordingAudioLayer *mLayer = nullptr;
        lua_State *L = nullptr;
    };
}

TEST_F(TransitionManagerTest, DefaultSpeedsBlackOnTickTenRunOnElevenBackAfterTenMore)
{
    ExecutorLog tLog;
    mManager->Begin(new CountingExecutor(&tLog), true);
    EXPECT_EQ(TRANSITION_CAPTURE, mManager->GetState());
    EXPECT_FALSE(mManager->IsBlocking());

    // Nothing moves until a frame has been captured.
    Ticks(5);
    EXPECT_EQ(TRANSITION_CAPTURE, mManager->GetState());
    EXPECT_FLOAT_EQ(0.0f, mManager->GetAlpha());
    mManager->TakeCapture(0);
    EXPECT_EQ(TRANSITION_FADE_OUT, mManager->GetState());

    for(int32_t tTick = 1; tTick <= 9; tTick++)
    {
        mManager->Update();
        ASSERT_EQ(TRANSITION_FADE_OUT, mManager->GetState()) << "tick " << tTick;
        ASSERT_LT(mManager->GetAlpha(), 1.0f);
        ASSERT_TRUE(mManager->IsBlocking());
    }
    mManager->Update();
    EXPECT_EQ(TRANSITION_EXECUTE, mManager->GetState());
    EXPECT_EQ(1.0f, mManager->GetAlpha());
    EXPECT_TRUE(mManager->IsBlocking());
    EXPECT_EQ(0, tLog.mRuns);

    mManager->Update();
    EXPECT_EQ(1, tLog.mRuns);
    EXPECT_EQ(1, tLog.mDeletes);
    EXPECT_EQ(nullptr, mManager->GetExecutor());
    EXPECT_EQ(TRANSITION_FADE_IN, mManager->GetState());
    EXPECT_FALSE(mManager->IsBlocking());

    for(int32_t tTick = 1; tTick <= 9; tTick++)
    {
        mManager->Update();
        ASSERT_EQ(TRANSITION_FADE_IN, mManager->GetState()) << "fade-in tick " << tTick;
    }
    mManager->Update();
    EXPECT_EQ(TRANSITION_RELEASE, mManager->GetState());
    EXPECT_EQ(0.0f, mManager->GetAlpha());
    mManager->Update();
    EXPECT_EQ(TRANSITION_IDLE, mManager->GetState());
    EXPECT_EQ(1, tLog.mRuns);
}

TEST_F(TransitionManagerTest, FadeSpeedsFallBackToTheDefaultAndSetTheTickCounts)
{
    mManager->SetFadeSpeeds(0.0f, 0.05f);
    EXPECT_FLOAT_EQ(0.1f, mManager->GetFadeOutSpeed());
    EXPECT_FLOAT_EQ(0.05f, mManager->GetFadeInSpeed());
    mManager->SetFadeSpeeds(-3.0f, 0.0f);
    EXPECT_FLOAT_EQ(0.1f, mManager->GetFadeOutSpeed());
    EXPECT_FLOAT_EQ(0.1f, mManager->GetFadeInSpeed());

    // The respawn's one-thirtieth reaches black on the thirtieth tick; the rounded 0.0333333
    // needs one more.
    const float cSpeeds[2] = {1.0f / 30.0f, 0.0333333f};
    const int32_t cTicks[2] = {30, 31};
    for(int i = 0; i < 2; i++)
    {
        ExecutorLog tLog;
        mManager->SetFadeSpeeds(cSpeeds[i], 0.0f);
        mManager->Begin(new CountingExecutor(&tLog), true);
        mManager->TakeCapture(0);
        int32_t tTicks = 0;
        while(mManager->GetState() == TRANSITION_FADE_OUT && tTicks < 100)
        {
            mManager->Update();
            tTicks++;
        }
        EXPECT_EQ(cTicks[i], tTicks);
        Ticks(12);
        EXPECT_EQ(TRANSITION_IDLE, mManager->GetState());
        EXPECT_EQ(1, tLog.mRuns);
        EXPECT_EQ(1, tLog.mDeletes);
    }
}

TEST_F(TransitionManagerTest, OnlyOwnedExecutorsAreDeleted)
{
    ExecutorLog tBorrowedLog, tReplacedLog, tKeptLog;
    CountingExecutor tBorrowed(&tBorrowedLog);

    // A borrowed executor runs and survives.
    mManager->Begin(&tBorrowed, false);
    mManager->TakeCapture(0);
    Ticks(25);
    EXPECT_EQ(TRANSITION_IDLE, mManager->GetState());
    EXPECT_EQ(1, tBorrowedLog.mRuns);
    EXPECT_EQ(0, tBorrowedLog.mDeletes);

    // An owned executor replaced before it ran is deleted unrun; the restart starts over.
    CountingExecutor *nReplaced = new CountingExecutor(&tReplacedLog);
    mManager->Begin(nReplaced, true);
    mManager->TakeCapture(0);
    Ticks(4);
    mManager->Begin(nReplaced, true);
    EXPECT_EQ(0, tReplacedLog.mDeletes) << "the same executor handed in again stays";
    EXPECT_EQ(TRANSITION_CAPTURE, mManager->GetState());
    EXPECT_EQ(0.0f, mManager->GetAlpha());
    mManager->Begin(&tBorrowed, false);
    EXPECT_EQ(1, tReplacedLog.mDeletes);
    EXPECT_EQ(0, tReplacedLog.mRuns);

    // Null is ignored; an owned executor left unrun goes with the manager.
    mManager->Begin(nullptr, true);
    EXPECT_EQ(&tBorrowed, mManager->GetExecutor());
    mManager->Begin(new CountingExecutor(&tKeptLog), true);
    delete mManager;
    GetApplication()->mTransitionManager = mManager = nullptr;
    EXPECT_EQ(1, tKeptLog.mDeletes);
    EXPECT_EQ(0, tBorrowedLog.mDeletes);
    GetApplication()->mTransitionManager = mManager = new TransitionManager();
}

namespace
{
    ExecutorLog xFollowUpLog;

    void BeginFollowUp(CountingExecutor *)
    {
        TransitionManager::Get()->Begin(new CountingExecutor(&xFollowUpLog), true);
    }

    void BeginSelfOnce(CountingExecutor *pSelf)
    {
        if(pSelf->mRunsSeen == 0) TransitionManager::Get()->Begin(pSelf, true);
    }
}

TEST_F(TransitionManagerTest, AnExecutorThatStartsATransitionIsNotDeletedWhileItRuns)
{
    xFollowUpLog = ExecutorLog();
    ExecutorLog tLog;
    CountingExecutor *nFirst = new CountingExecutor(&tLog);
    nFirst->rDuringRun = BeginFollowUp;
    mManager->Begin(nFirst, true);
    mManager->TakeCapture(0);
    Ticks(11);

    // The first ran to its end and was freed afterwards; the new transition stands.
    EXPECT_EQ(1, tLog.mRuns);
    EXPECT_EQ(1, tLog.mDeletes);
    EXPECT_EQ(TRANSITION_CAPTURE, mManager->GetState());
    EXPECT_EQ(0.0f, mManager->GetAlpha());
    ASSERT_NE(nullptr, mManager->GetExecutor());
    EXPECT_TRUE(mManager->OwnsExecutor());

    mManager->TakeCapture(0);
    Ticks(11);
    EXPECT_EQ(1, xFollowUpLog.mRuns);
    EXPECT_EQ(1, xFollowUpLog.mDeletes);

    // An executor that hands itself in again keeps living and runs once more.
    ExecutorLog tSelfLog;
    CountingExecutor *nSelf = new CountingExecutor(&tSelfLog);
    nSelf->rDuringRun = BeginSelfOnce;
    mManager->Begin(nSelf, true);
    mManager->TakeCapture(0);
    Ticks(11);
    EXPECT_EQ(1, tSelfLog.mRuns);
    EXPECT_EQ(0, tSelfLog.mDeletes);
    EXPECT_EQ(nSelf, mManager->GetExecutor());
    mManager->TakeCapture(0);
    Ticks(11);
    EXPECT_EQ(2, tSelfLog.mRuns);
    EXPECT_EQ(1, tSelfLog.mDeletes);
}

TEST_F(TransitionManagerTest, CauseTransitionSetsSpeedsAndBorrowsItsExecutor)
{
    ExecutorLog tLog;
    CountingExecutor tInner(&tLog);
    TransExec_CauseTransition tCause;
    tCause.SetExecutor(&tInner);
    tCause.SetFadeSpeeds(1.0f / 30.0f, 0.0f);
    tCause.Run();
    EXPECT_FLOAT_EQ(1.0f / 30.0f, mManager->GetFadeOutSpeed());
    EXPECT_FLOAT_EQ(0.1f, mManager->GetFadeInSpeed());
    EXPECT_EQ(&tInner, mManager->GetExecutor());
    EXPECT_FALSE(mManager->OwnsExecutor());
    mManager->TakeCapture(0);
    Ticks(60);
    EXPECT_EQ(TRANSITION_IDLE, mManager->GetState());
    EXPECT_EQ(1, tLog.mRuns);
    EXPECT_EQ(0, tLog.mDeletes);
}

TEST_F(TransitionManagerTest, MapExecutorClearsControlsAndEntersTheGameGearEvenWhenTheMapFails)
{
    Application *rApp = GetApplication();
    rApp->mLumpManager = new CorvelLumpManager();
    rApp->mLoadingScreen = new LoadingScreen();
    rApp->mMapManager = new MapManager();
    ActivateLevelSelectGear();
    ControlState *rJump = ControlManager::Get()->GetControl("Jump");
    rJump->mPressed = rJump->mHeld = 1;

    TransExec_AnyToMap tExecutor;
    EXPECT_EQ(TYPE_TRANSEXEC_ANYTOMAP, tExecutor.GetType());
    tExecutor.SetLevelName("NoSuchMapAnywhere");
    testing::internal::CaptureStderr();
    tExecutor.Run();
    std::string tOutput = CapturedStderr();
    EXPECT_NE(std::string::npos, tOutput.find("Executed any to level NoSuchMapAnywhere\n"));
    EXPECT_EQ(0, rJump->mPressed);
    EXPECT_EQ(0, rJump->mHeld);
    EXPECT_EQ(GameGearTimer, rApp->rGearTick);

    // A level-select line without a map: no name to print, still into the game gear.
    ActivateLevelSelectGear();
    TransExec_AnyToMap tNameless;
    testing::internal::CaptureStderr();
    tNameless.Run();
    EXPECT_NE(std::string::npos, CapturedStderr().find("Executed any to level (null)\n"));
    EXPECT_EQ(GameGearTimer, rApp->rGearTick);
}

TEST_F(TransitionManagerTest, ShowHideExecutorActsOnlyOnAKnownObject)
{
    GUIBaseObject *nBox = new GUIBaseObject();
    GetGUI()->AddObject("Box", nBox);
    nBox->SetVisible(true);

    GUIExec_ShowHideObject tHide;
    EXPECT_EQ(TYPE_ROOTEXECUTOR, tHide.GetType());
    EXPECT_EQ(1, tHide.GetShow());
    tHide.SetObjectName("Box");
    tHide.SetShow(0);
    testing::internal::CaptureStderr();
    tHide.Run();
    EXPECT_EQ("Showed Box\n", CapturedStderr());
    EXPECT_EQ(0, nBox->GetVisibleFlag());

    GUIExec_ShowHideObject tShow;
    tShow.SetObjectName("Box");
    testing::internal::CaptureStderr();
    tShow.Run();
    EXPECT_EQ("Showed Box\n", CapturedStderr());
    EXPECT_EQ(1, nBox->GetVisibleFlag());

    tHide.SetObjectName("Missing");
    testing::internal::CaptureStderr();
    tHide.Run();
    EXPECT_EQ("Showed Missing\n", CapturedStderr());
    EXPECT_EQ(1, nBox->GetVisibleFlag());
}

TEST_F(TransitionManagerTest, AudioExecutorsPlayTheSoundAndStopOrFadeTheMusic)
{
    AudioManager *rAudio = AudioManager::Get();
    AudioPackage *nSound = new AudioPackage(mLayer);
    nSound->LoadSample("Confirm");
    rAudio->AddSound("Confirm", nSound);
    AudioPackage *nTrack = new AudioPackage(mLayer);
    nTrack->LoadStream("Theme");
    rAudio->AddMusic("Theme", nTrack);

    AudioExec_PlaySound tPlay;
    tPlay.SetSoundName("Confirm");
    int32_t tPlaysBefore = CountAudioCalls(AUDIO_CALL_PLAY);
    tPlay.Run();
    EXPECT_EQ(tPlaysBefore + 1, CountAudioCalls(AUDIO_CALL_PLAY));
    AudioExec_PlaySound tUnnamed;
    tUnnamed.Run();
    EXPECT_EQ(tPlaysBefore + 1, CountAudioCalls(AUDIO_CALL_PLAY));

    // Thirty ticks of fade: half a second, the track stays current.
    rAudio->PlayMusic("Theme");
    AudioExec_StopMusic tFade;
    tFade.SetFadeFrames(30);
    tFade.Run();
    const AudioCall *rSlide = mLayer->FindLastCall(AUDIO_CALL_SLIDE_VOLUME, nTrack->GetHandle());
    ASSERT_NE(nullptr, rSlide);
    EXPECT_EQ(500u, rSlide->mMilliseconds);
    EXPECT_EQ(nTrack, rAudio->GetCurrentMusic());
    EXPECT_EQ(0, mLayer->CountCalls(AUDIO_CALL_STOP, nTrack->GetHandle()));

    AudioExec_StopMusic tStop;
    tStop.Run();
    EXPECT_EQ(nullptr, rAudio->GetCurrentMusic());
    EXPECT_EQ(1, mLayer->CountCalls(AUDIO_CALL_STOP, nTrack->GetHandle()));
}

TEST_F(TransitionManagerTest, ScriptsBuildAndStartAMapTransition)
{
    DataLibrary *rLibrary = DataLibrary::Fetch();
    ExecutorLog tLog;
    CountingExecutor tCallerObject(&tLog);
    rLibrary->SetActiveObjectDirect(&tCallerObject);
    int32_t tStack = rLibrary->GetActiveStackSize();

    Run("TM_SetupTransition('MapTarget')");
    ASSERT_TRUE(rLibrary->ActiveIsType(TYPE_TRANSEXEC_ANYTOMAP));
    EXPECT_EQ(tStack + 1, rLibrary->GetActiveStackSize());
    TransExec_AnyToMap *rExecutor = static_cast<TransExec_AnyToMap *>(rLibrary->GetActiveObject());

    Run("TM_ExecutorSetProperty('MapPath', 'Harbour')\n"
        "TM_ExecutorSetProperty('FadeSpeeds', 0, 0.05)\n");
    EXPECT_STREQ("Harbour", rExecutor->GetLevelName());
    EXPECT_FLOAT_EQ(0.1f, mManager->GetFadeOutSpeed());
    EXPECT_FLOAT_EQ(0.05f, mManager->GetFadeInSpeed());

    Run("TM_ExecTransition()");
    EXPECT_EQ(&tCallerObject, rLibrary->GetActiveObject());
    EXPECT_EQ(tStack, rLibrary->GetActiveStackSize());
    EXPECT_EQ(rExecutor, mManager->GetExecutor());
    EXPECT_TRUE(mManager->OwnsExecutor());
    EXPECT_EQ(TRANSITION_CAPTURE, mManager->GetState());

    // Run to the end: the script's executor loads (no map manager here) and is freed.
    ActivateLevelSelectGear();
    mManager->TakeCapture(0);
    testing::internal::CaptureStderr();
    Ticks(11);
    EXPECT_NE(std::string::npos, CapturedStderr().find("Executed any to level Harbour\n"));
    EXPECT_EQ(GameGearTimer, GetApplication()->rGearTick);
    EXPECT_EQ(nullptr, mManager->GetExecutor());
    rLibrary->SetActiveObjectDirect(nullptr);
}

TEST_F(TransitionManagerTest, ScriptMistakesAreReportedAndChangeNothing)
{
    DataLibrary *rLibrary = DataLibrary::Fetch();
    ExecutorLog tLog;
    CountingExecutor tOther(&tLog);

    testing::internal::CaptureStderr();
    Run("TM_SetupTransition()\n"
        "TM_SetupTransition('Elsewhere', 2)\n"
        "TM_ExecutorSetProperty()\n"
        "TM_ExecutorSetProperty('FadeSpeeds', 0.5)\n"
        "TM_ExecutorSetProperty('Colour', 1, 2, 3)\n");
    EXPECT_EQ("TM_SetupTransition: Failed, invalid argument list\n"
              "TM_SetupTransition: Error, cannot resolve Elsewhere with 2 args\n"
              "TM_ExecutorSetProperty: Failed, invalid argument list\n"
              "TM_ExecutorSetProperty: Error, cannot resolve FadeSpeeds with 2 args\n"
              "TM_ExecutorSetProperty: Error, cannot resolve Colour with 4 args\n",
              CapturedStderr());
    EXPECT_EQ(0, rLibrary->GetActiveStackSize());
    EXPECT_EQ(nullptr, rLibrary->GetActiveObject());

    // A map path needs the map executor itself; other executors share its type range.
    rLibrary->SetActiveObjectDirect(&tOther);
    testing::internal::CaptureStderr();
    Run("TM_ExecutorSetProperty('MapPath', 'Harbour')");
    EXPECT_EQ("TM_ExecutorSetProperty: Failed, rActiveObject was wrong type, or NULL.\n", CapturedStderr());

    // Starting with something that is not an executor does nothing at all.
    CountingEntity tEntity;
    rLibrary->PushActiveEntity(&tEntity);
    testing::internal::CaptureStderr();
    Run("TM_ExecTransition()");
    EXPECT_EQ("", CapturedStderr());
    EXPECT_EQ(&tEntity, rLibrary->GetActiveObject());
    EXPECT_EQ(1, rLibrary->GetActiveStackSize());
    EXPECT_EQ(TRANSITION_IDLE, mManager->GetState());
    rLibrary->PopActiveEntity();
    rLibrary->SetActiveObjectDirect(nullptr);
}

TEST_F(TransitionManagerTest, ABlockingTransitionFreezesTheWorldInTheGameTick)
{
    Application *rApp = GetApplication();
    rApp->mEntityManager = new EntityManager();
    EntityManager::Fetch()->CreateSpecialLists();
    CountingEntity *nEntity = new CountingEntity();
    EntityManager::Fetch()->RegisterEntity("Counter", nEntity, DeleteRootObject);
    GetGUI()->AddObject("PauseScreen", new GUIBaseObject());
    FrameRecord tFrame;
    memset(&tFrame, 0, sizeof(tFrame));

    ExecutorLog tLog;
    CountingExecutor tExecutor(&tLog);
    ActivateGameGear();
    GameGearTimer(&tFrame);
    EXPECT_EQ(1, nEntity->mUpdates);

    // Capture pending: not blocking yet. Then ten frozen ticks to black; the tick that runs
    // the executor ends the block before the entities' turn, so the world moves again in it.
    mManager->Begin(&tExecutor, false);
    GameGearTimer(&tFrame);
    EXPECT_EQ(2, nEntity->mUpdates);
    mManager->TakeCapture(0);
    for(int32_t i = 0; i < 10; i++) GameGearTimer(&tFrame);
    EXPECT_EQ(2, nEntity->mUpdates);
    EXPECT_EQ(0, tLog.mRuns);
    GameGearTimer(&tFrame);
    EXPECT_EQ(1, tLog.mRuns);
    EXPECT_EQ(3, nEntity->mUpdates);
    EXPECT_EQ(TRANSITION_FADE_IN, mManager->GetState());

    // The level-select tick drives the fade too.
    float tAlpha = mManager->GetAlpha();
    LevelSelectGearTimer(&tFrame);
    EXPECT_LT(mManager->GetAlpha(), tAlpha);
}

TEST_F(TransitionManagerTest, MapTransitionOwnsItsExecutorAndFreesItOnceRun)
{
    mManager->BeginMapTransition("Harbour", 1.0f / 30.0f, 0.0f);
    ASSERT_NE(nullptr, mManager->GetExecutor());
    EXPECT_TRUE(mManager->OwnsExecutor());
    EXPECT_EQ(TYPE_TRANSEXEC_ANYTOMAP, mManager->GetExecutor()->GetType());
    EXPECT_STREQ("Harbour", static_cast<TransExec_AnyToMap *>(mManager->GetExecutor())->GetLevelName());
    EXPECT_FLOAT_EQ(1.0f / 30.0f, mManager->GetFadeOutSpeed());
    EXPECT_FLOAT_EQ(0.1f, mManager->GetFadeInSpeed());
    EXPECT_EQ(TRANSITION_CAPTURE, mManager->GetState());

    // Run to the end without a map manager; the sanitizer build sees a leak if it stays.
    testing::internal::CaptureStderr();
    mManager->TakeCapture(0);
    Ticks(31);
    EXPECT_NE(std::string::npos, CapturedStderr().find("Executed any to level Harbour\n"));
    EXPECT_EQ(nullptr, mManager->GetExecutor());
    EXPECT_FALSE(mManager->OwnsExecutor());

    // The map manager's warp (the player's respawn) goes the same way.
    GetApplication()->mMapManager = new MapManager();
    mManager->SetFadeSpeeds(0.5f, 0.5f);
    MapManager::Fetch()->StartWarpTransition();
    ASSERT_NE(nullptr, mManager->GetExecutor());
    EXPECT_EQ(TYPE_TRANSEXEC_ANYTOMAP, mManager->GetExecutor()->GetType());
    EXPECT_TRUE(mManager->OwnsExecutor());
    EXPECT_FLOAT_EQ(1.0f / 30.0f, mManager->GetFadeOutSpeed());
    EXPECT_FLOAT_EQ(0.1f, mManager->GetFadeInSpeed());
}

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <unistd.h>

#include "core/Application.h"
#include "core/Gears.h"
#include "core/LuaBindingHelpers.h"
#include "core/NamedLinkedList.h"
#include "core/RootObject.h"
#include "interface/AudioFlags.h"
#include "support/ScratchFolder.h"
#include "support/BlankApplication.h"
#include "support/TestText.h"

// Each test gets a freshly defaulted Application and leaves the one it found in place, so
// suites that keep managers in it are not disturbed.
class ApplicationTest : public testing::Test
{
protected:
    void SetUp() override
    {
        mApplication.Enter();
        xBlockAllAudio = xBlockMusic = xBlockSound = 0;
    }

    void TearDown() override
    {
        Application *rApp = GetApplication();
        free(rApp->mProgramPath);
        free(rApp->mSkipToLevel);
        mApplication.Leave();
        xBlockAllAudio = xBlockMusic = xBlockSound = 0;
    }

    void Parse(int pArgc, const char **pArgv)
    {
        ParseCommandLine(pArgc, const_cast<char **>(pArgv));
    }

    BlankApplication mApplication;
};

TEST_F(ApplicationTest, DefaultsBeforeAnyOptions)
{
    Application *rApp = GetApplication();
    EXPECT_EQ(800, rApp->mWindowWidth);
    EXPECT_EQ(600, rApp->mWindowHeight);
    EXPECT_EQ(480, rApp->mVirtualWidth);
    EXPECT_EQ(360, rApp->mVirtualHeight);
    EXPECT_EQ(800, rApp->mViewportWidth);
    EXPECT_EQ(600, rApp->mViewportHeight);
    EXPECT_FLOAT_EQ(60.0f, rApp->mFrameRate);
    EXPECT_EQ(0, rApp->mQuitFlag);
    ASSERT_NE(nullptr, rApp->mScannerStack);
    EXPECT_EQ(0, rApp->mScannerStack->GetCount());
    EXPECT_EQ(GameGearEventHandler, rApp->rGearEventHandler);
    EXPECT_EQ(GameGearTimer, rApp->rGearTick);
    EXPECT_EQ(GameGearRender, rApp->rGearRender);
}

TEST_F(ApplicationTest, CommandLineFlags)
{
    const char *tArgs[] = {"kestra", "-startupdebug", "-blockaudio", "-blockmusic", "-blocksound",
                           "-bootjoystick", "-plinkard", "-logfps", "-unknown", "-LOGFPS"};
    testing::internal::CaptureStderr();
    Parse(10, tArgs);
    // Words that are no switch are ignored with a warning each; switches are case-sensitive.
    EXPECT_EQ("ParseCommandLine warning, unknown argument -unknown ignored.\n"
              "ParseCommandLine warning, unknown argument -LOGFPS ignored.\n",
              CapturedStderr());
    Application *rApp = GetApplication();
    EXPECT_STREQ("kestra", rApp->mProgramPath);
    EXPECT_EQ(1, rApp->mStartupDebug);
    EXPECT_EQ(1, xBlockAllAudio);
    EXPECT_EQ(1, xBlockMusic);
    EXPECT_EQ(1, xBlockSound);
    EXPECT_EQ(1, rApp->mBootJoystick);
    EXPECT_EQ(1, rApp->mToolLinkRequest);
    EXPECT_EQ(1, rApp->mLogFPS);
    EXPECT_EQ(0, rApp->mSkipTo);
}

TEST_F(ApplicationTest, SkipToTakesTheNextWordAndNothingWhenLast)
{
    Application *rApp = GetApplication();
    const char *tLast[] = {"kestra", "-logfps", "-skipto"};
    Parse(3, tLast);
    EXPECT_EQ(0, rApp->mSkipTo);
    EXPECT_EQ(nullptr, rApp->mSkipToLevel);

    // The value word is itself tested as a switch, so "-logfps" is both the level and a flag.
    testing::internal::CaptureStderr();
    const char *tArgs[] = {"kestra", "-skipto", "Forest", "-skipto", "-plinkard"};
    Parse(5, tArgs);
    std::string tOut = CapturedStderr();
    EXPECT_EQ(1, rApp->mSkipTo);
    EXPECT_STREQ("-plinkard", rApp->mSkipToLevel);
    EXPECT_EQ(1, rApp->mToolLinkRequest);
    EXPECT_EQ("Skipping to level Forest\nSkipping to level -plinkard\n", tOut);
}

TEST_F(ApplicationTest, NoArgumentsChangeNothing)
{
    ParseCommandLine(0, nullptr);
    EXPECT_EQ(nullptr, GetApplication()->mProgramPath);
}

TEST_F(ApplicationTest, RedirectToUnwritablePathKeepsStandardError)
{
    const char *tArgs[] = {"kestra", "-redirect", "/nonexistent-dir/sub/log.txt"};
    testing::internal::CaptureStderr();
    Parse(3, tArgs);
    fprintf(stderr, "still here\n");
    std::string tOut = CapturedStderr();
    EXPECT_EQ("ParseCommandLine warning, cannot open /nonexistent-dir/sub/log.txt for writing. "
              "The log stays on standard error.\nstill here\n", tOut);

    // As the last word it has no file and does nothing.
    const char *tLast[] = {"kestra", "-redirect"};
    testing::internal::CaptureStderr();
    Parse(2, tLast);
    fprintf(stderr, "after\n");
    EXPECT_EQ("after\n", CapturedStderr());
}

TEST_F(ApplicationTest, RedirectSendsLaterLinesToTheFile)
{
    ScratchFolder tFolder("redirect");
    ASSERT_TRUE(tFolder.WriteText("stderr.txt", ""));
    std::string tPath = tFolder.File("stderr.txt");

    fflush(stderr);
    int tSavedErr = dup(STDERR_FILENO);
    const char *tArgs[] = {"kestra", "-redirect", tPath.c_str()};
    Parse(3, tArgs);
    fprintf(stderr, "into the file\n");
    fflush(stderr);
    dup2(tSavedErr, STDERR_FILENO);
    close(tSavedErr);

    char tBuffer[64] = {0};
    FILE *fRead = fopen(tPath.c_str(), "r");
    ASSERT_NE(nullptr, fRead);
    size_t tRead = fread(tBuffer, 1, sizeof(tBuffer) - 1, fRead);
    fclose(fRead);
    EXPECT_EQ(strlen("into the file\n"), tRead);
    EXPECT_STREQ("into the file\n", tBuffer);
}

namespace
{
    int xDestroyed = 0;
    class CountedObject : public RootObject
    {
    public:
        CountedObject() { mType = TYPE_DOOR; }
        ~CountedObject() override { xDestroyed++; }
    };
}

// Every family's globals come from the boot's one list (the Lua manager adds its own "LM_" ones
// to the state it makes), the console's and the background packs' included.
TEST(LuaRegistrationTest, TheBootListRegistersEveryFamilysGlobals)
{
    lua_State *L = luaL_newstate();
    RegisterLuaBindings(L);
    int32_t tFunctions = 0;
    lua_pushglobaltable(L);
    lua_pushnil(L);
    while(lua_next(L, -2))
    {
        if(lua_iscfunction(L, -1)) tFunctions++;
        lua_pop(L, 1);
    }
    lua_pop(L, 1);
    EXPECT_EQ(187, tFunctions);
    for(const char *rName : {"Anim_Create", "Camera_CallFunc", "Proj_Create", "Sprite_Create", "DataList_Define",
                             "RE_ApplyPush", "Ladder_Create", "Checkpoint_Activate", "Door_Create",
                             "MovingContainer_Create", "DamageZone_Create", "Slip_Create", "Push_Create", "Slide_Create",
                             "ALB_SetTextureProperty", "FS_Close", "GUI_ForceToTitle", "DL_ActiveIsValid", "VM_Exists",
                             "AudioManager_PlayMusic", "AudioPackage_ActivateLoop", "CM_AddCamera", "CM_Rebind",
                             "Debug_DropEvents", "DM_GetEnumeration", "EM_AreEntitiesColliding", "MapM_GetWorldClip",
                             "MapBGM_CreatePack", "SLF_Close", "TM_ExecTransition", "OM_DefineOption",
                             "Player_AddControlLock", "ZTrigger_Create", "Enemy_AllocateOverlays", "Hitbox_AllocateHitboxData",
                             "AIMovementHandler_AddMovement", "AISC_DefineProperty", "AIAttackHandler_ClearAllAttacks",
                             "PTrigger_Create", "SpawnManager_AddSpawn", "VC_SetChar"})
    {
        lua_getglobal(L, rName);
        EXPECT_TRUE(lua_iscfunction(L, -1)) << rName;
        lua_pop(L, 1);
    }
    lua_close(L);
}

TEST(RootObjectTest, NumbersFollowOneCounterAcrossClasses)
{
    RootObject *tFirst = new RootObject();
    CountedObject *tSecond = new CountedObject();
    EXPECT_GT(tFirst->GetID(), 0);
    EXPECT_EQ(tFirst->GetID() + 1, tSecond->GetID());
    EXPECT_EQ(tSecond->GetID() + 1, NextObjectID());
    EXPECT_EQ(TYPE_ROOTOBJECT, tFirst->GetType());
    EXPECT_EQ(TYPE_DOOR, tSecond->GetType());

    // The entity lists' deleter goes through the virtual destructor and ignores null.
    xDestroyed = 0;
    DeleteRootObject(tSecond);
    DeleteRootObject(nullptr);
    EXPECT_EQ(1, xDestroyed);
    delete tFirst;
}

TEST_F(ApplicationTest, FrameRateMeterReportsOncePerSecond)
{
    Application *rApp = GetApplication();
    FrameRecord tFrame;
    memset(&tFrame, 0, sizeof(tFrame));
    tFrame.mSampleStart = 10.0;

    // Sixty frames drawn within the first second: nothing is measured yet.
    for(int i = 0; i < 60; i++) UpdateFPSAt(&tFrame, 10.0 + i / 60.0);
    EXPECT_FLOAT_EQ(0.0f, rApp->mMeasuredFrameRate);
    EXPECT_EQ(60, tFrame.mFramesCounted);

    // At the one-second mark the rate is the sixty frames over 1.0 s; the sample restarts
    // and this frame is the first of the next one.
    rApp->mLogFPS = 1;
    testing::internal::CaptureStderr();
    UpdateFPSAt(&tFrame, 11.0);
    EXPECT_EQ("FPS: 60.000000\n", CapturedStderr());
    EXPECT_FLOAT_EQ(60.0f, rApp->mMeasuredFrameRate);
    EXPECT_DOUBLE_EQ(11.0, tFrame.mSampleStart);
    EXPECT_DOUBLE_EQ(11.0, tFrame.mLastCheck);
    EXPECT_EQ(1, tFrame.mFramesCounted);

    // A slow second: 30 frames over 1.5 s.
    rApp->mLogFPS = 0;
    for(int i = 1; i < 30; i++) UpdateFPSAt(&tFrame, 11.0 + i * 0.05);
    UpdateFPSAt(&tFrame, 12.5);
    EXPECT_FLOAT_EQ(20.0f, rApp->mMeasuredFrameRate);
}

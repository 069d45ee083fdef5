#include "core/Application.h"
#include "core/DebugPrint.h"
#include "core/LuaBindingHelpers.h"
#include "core/OptionsManager.h"
#include "core/Utilities.h"
#include "support/TestText.h"

#include <allegro5/allegro.h>
#include <gtest/gtest.h>

#include <string>

namespace
{
    // The print stack is process-wide: every case starts from an empty stack and no options
    // manager, and leaves it that way.
    class DebugPrintTest : public ::testing::Test
    {
    protected:
        void SetUp() override
        {
            mSavedOptions = GetApplication()->mOptionsManager;
            GetApplication()->mOptionsManager = nullptr;
            ASSERT_EQ(Debug::GetPrintStackSize(), 0);
            ASSERT_EQ(Debug::GetPrintDepth(), 0);
        }
        void TearDown() override
        {
            while(Debug::GetPrintStackSize() > 0) Debug::PopPrintState();
            GetApplication()->mOptionsManager = mSavedOptions;
        }
        OptionsManager *mSavedOptions;
    };

}

TEST_F(DebugPrintTest, NestedOnSectionsIndentAsATree)
{
    testing::internal::CaptureStderr();
    Debug::PushPrint(1, "[A %i]\n", 1);
    Debug::Print("a\n");
    Debug::PushPrint(1, "[B]\n");
    Debug::Print("b %s\n", "x");
    EXPECT_EQ(Debug::GetPrintDepth(), 2);
    Debug::PopPrint("[/B]\n");
    Debug::Print("a2\n");
    Debug::PopPrint("[/A]\n");
    EXPECT_EQ(CapturedStderr(), "[A 1]\n a\n [B]\n  b x\n [/B]\n a2\n[/A]\n");
    EXPECT_EQ(Debug::GetPrintDepth(), 0);
    EXPECT_EQ(Debug::GetPrintStackSize(), 0);
}

TEST_F(DebugPrintTest, OffSectionsSilenceTheirLinesButNotNestedOnSections)
{
    testing::internal::CaptureStderr();
    Debug::PushPrint(1, "[A]\n");
    Debug::PushPrint(0, "[off]\n");
    Debug::Print("hidden\n");
    EXPECT_EQ(Debug::GetPrintDepth(), 1);
    Debug::PushPrint(1, "[inner]\n");
    Debug::Print("shown\n");
    Debug::PopPrint("[/inner]\n");
    Debug::Print("hidden too\n");
    Debug::PopPrint("[/off]\n");
    Debug::Print("a\n");
    Debug::PopPrint("[/A]\n");
    EXPECT_EQ(CapturedStderr(), "[A]\n [inner]\n  shown\n [/inner]\n a\n[/A]\n");

    testing::internal::CaptureStderr();
    Debug::Print("empty stack prints nothing\n");
    EXPECT_EQ(CapturedStderr(), "");
}

TEST_F(DebugPrintTest, PopOnEmptyStackDoesNothing)
{
    testing::internal::CaptureStderr();
    Debug::PopPrintState();
    Debug::PopPrint("never\n");
    EXPECT_EQ(CapturedStderr(), "");
    EXPECT_EQ(Debug::GetPrintStackSize(), 0);
    EXPECT_EQ(Debug::GetPrintDepth(), 0);

    // The stack still works afterwards, depth not driven negative.
    testing::internal::CaptureStderr();
    Debug::PushPrint(1, "[A]\n");
    Debug::Print("a\n");
    Debug::PopPrint("[/A]\n");
    EXPECT_EQ(CapturedStderr(), "[A]\n a\n[/A]\n");
}

TEST_F(DebugPrintTest, TagWithoutOptionsManagerStillPairsWithItsPop)
{
    testing::internal::CaptureStderr();
    Debug::PushPrint(1, "[A]\n");
    Debug::PushPrintTag("Debug_MainLoop", "[tag]\n");
    EXPECT_EQ(Debug::GetPrintStackSize(), 2);
    Debug::Print("hidden\n");
    Debug::PopPrint("[/tag]\n");
    Debug::PushPrintTag(nullptr, "[null tag]\n");
    Debug::PopPrint("[/null tag]\n");
    Debug::Print("a\n");
    Debug::PopPrint("[/A]\n");
    EXPECT_EQ(CapturedStderr(), "[A]\n a\n[/A]\n");
    EXPECT_EQ(Debug::GetPrintStackSize(), 0);

    // "TRUE" needs no option.
    testing::internal::CaptureStderr();
    Debug::PushPrintTag("TRUE", "[always]\n");
    Debug::Print("in\n");
    Debug::PopPrint("[/always]\n");
    EXPECT_EQ(CapturedStderr(), "[always]\n in\n[/always]\n");
}

TEST_F(DebugPrintTest, TagReadsTheBooleanOption)
{
    OptionsManager tOptions;
    uint8_t tTraceOn = 1;
    tOptions.Bind("Debug_Test", &tTraceOn, TYPEDVALUE_BOOL);
    GetApplication()->mOptionsManager = &tOptions;

    testing::internal::CaptureStderr();
    Debug::PushPrintTag("Debug_Test", "[on]\n");
    Debug::PushPrintTag("Debug_Undefined", "[off]\n");
    Debug::Print("hidden\n");
    Debug::PopPrint("[/off]\n");
    Debug::Print("in\n");
    Debug::PopPrint("[/on]\n");
    EXPECT_EQ(CapturedStderr(), "[on]\n in\n[/on]\n");
    EXPECT_EQ(Debug::GetPrintStackSize(), 0);
    GetApplication()->mOptionsManager = nullptr;
}

TEST_F(DebugPrintTest, ForcePrintIgnoresTheStateButKeepsTheIndentation)
{
    testing::internal::CaptureStderr();
    Debug::ForcePrint("bare %i\n", 7);
    Debug::PushPrint(1, "[A]\n");
    Debug::PushPrint(0, "[off]\n");
    Debug::ForcePrint("forced\n");
    Debug::PopPrint("[/off]\n");
    Debug::PopPrint("[/A]\n");
    EXPECT_EQ(CapturedStderr(), "bare 7\n[A]\n forced\n[/A]\n");
}

TEST_F(DebugPrintTest, LuaGlobalsPrintScriptTextLiterally)
{
    lua_State *L = luaL_newstate();
    RegisterDebugLua(L);

    testing::internal::CaptureStderr();
    ASSERT_EQ(luaL_dostring(L,
        "Debug_PushPrint(true, '[100%s %n]\\n')\n"
        "Debug_Print('50%d done\\n')\n"
        "Debug_ForcePrint('%x\\n')\n"
        "Debug_PopPrint('[/%s]\\n')\n"), 0);
    EXPECT_EQ(CapturedStderr(), "[100%s %n]\n 50%d done\n %x\n[/%s]\n");
    EXPECT_EQ(Debug::GetPrintStackSize(), 0);

    // Wrong counts are ignored; a text that is not a string prints nothing but still pushes
    // and pops, so sections stay paired.
    testing::internal::CaptureStderr();
    ASSERT_EQ(luaL_dostring(L,
        "Debug_PushPrint(true)\n"
        "Debug_PopPrint()\n"
        "Debug_PushPrint(true, {})\n"
        "Debug_PushPrintS('Debug_MainLoop', nil)\n"
        "Debug_PushPrintS(nil, 'tagless\\n')\n"), 0);
    EXPECT_EQ(Debug::GetPrintStackSize(), 3);
    ASSERT_EQ(luaL_dostring(L, "Debug_Print('seen\\n') Debug_PopPrint({}) Debug_PopPrint(false) Debug_PopPrint('[/]\\n')"), 0);
    EXPECT_EQ(CapturedStderr(), "[/]\n");
    EXPECT_EQ(Debug::GetPrintStackSize(), 0);
    EXPECT_EQ(lua_gettop(L), 0);
    lua_close(L);
}

TEST_F(DebugPrintTest, DropEventsEmptiesTheApplicationQueue)
{
    lua_State *L = luaL_newstate();
    RegisterDebugLua(L);

    // No queue yet: nothing happens.
    ALLEGRO_EVENT_QUEUE *rSavedQueue = GetApplication()->mEventQueue;
    GetApplication()->mEventQueue = nullptr;
    ASSERT_EQ(luaL_dostring(L, "Debug_DropEvents()"), 0);

    ASSERT_TRUE(al_install_system(ALLEGRO_VERSION_INT, nullptr));
    ALLEGRO_EVENT_QUEUE *nQueue = al_create_event_queue();
    ALLEGRO_EVENT_SOURCE tSource;
    al_init_user_event_source(&tSource);
    al_register_event_source(nQueue, &tSource);
    ALLEGRO_EVENT tEvent = {};
    tEvent.user.type = ALLEGRO_GET_EVENT_TYPE('T', 'e', 's', 't');
    al_emit_user_event(&tSource, &tEvent, nullptr);
    al_emit_user_event(&tSource, &tEvent, nullptr);
    ASSERT_FALSE(al_is_event_queue_empty(nQueue));

    GetApplication()->mEventQueue = nQueue;
    ASSERT_EQ(luaL_dostring(L, "Debug_DropEvents(1)"), 0);
    EXPECT_FALSE(al_is_event_queue_empty(nQueue));
    ASSERT_EQ(luaL_dostring(L, "Debug_DropEvents()"), 0);
    EXPECT_TRUE(al_is_event_queue_empty(nQueue));

    GetApplication()->mEventQueue = rSavedQueue;
    al_destroy_event_queue(nQueue);
    al_destroy_user_event_source(&tSource);
    lua_close(L);
}

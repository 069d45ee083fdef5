#include <gtest/gtest.h>

#include <string>

#include "core/Application.h"
#include "core/LuaBindingHelpers.h"
#include "core/data/DataLibrary.h"
#include "core/render/Bitmap.h"
#include "core/render/CorvelAnimation.h"
#include "support/TestText.h"

namespace
{
    // Frame timing needs no GL: frames are only pointers here (Bitmaps without textures).
    TEST(CorvelAnimationTest, NewAnimationShowsNothingAtEveryTick)
    {
        CorvelAnimation tAnim;
        EXPECT_EQ(TYPE_CORVELANIMATION, tAnim.GetType());
        EXPECT_EQ(1, tAnim.GetTotalTicks());
        for(int32_t tTick : {-5, 0, 1, 7, 1000})
        {
            EXPECT_EQ(0, tAnim.GetFrameIndexAtTick(tTick));
            EXPECT_EQ(nullptr, tAnim.GetFrameAtTick(tTick));
        }
    }

    TEST(CorvelAnimationTest, FractionalTicksPerFrameLoopOverTotal)
    {
        CorvelAnimation tAnim;
        tAnim.SetTotalFrames(4);
        tAnim.SetTicksPerFrame(2.5f);
        ASSERT_EQ(10, tAnim.GetTotalTicks());
        const int32_t cExpected[10] = {0, 0, 0, 1, 1, 2, 2, 2, 3, 3};
        for(int32_t t = 0; t < 10; t ++)
        {
            EXPECT_EQ(cExpected[t], tAnim.GetFrameIndexAtTick(t)) << "tick " << t;
            EXPECT_EQ(cExpected[t], tAnim.GetFrameIndexAtTick(t + 30)) << "tick " << t + 30;
        }
        EXPECT_EQ(0, tAnim.GetFrameIndexAtTick(-3));

        // Zero means one tick a frame; the total follows the rate.
        tAnim.SetTicksPerFrame(0.0f);
        EXPECT_FLOAT_EQ(1.0f, tAnim.GetTicksPerFrame());
        EXPECT_EQ(4, tAnim.GetTotalTicks());
        EXPECT_EQ(3, tAnim.GetFrameIndexAtTick(7));
    }

    TEST(CorvelAnimationTest, ManualTimingWalksPerFrameTicks)
    {
        Bitmap tA, tB, tC;
        CorvelAnimation tAnim;
        tAnim.SetTotalFrames(3);
        tAnim.SetManualTiming(1);
        EXPECT_EQ(3, tAnim.GetTotalTicks());

        tAnim.SetFrameWithTicks(0, &tA, 5);
        EXPECT_EQ(7, tAnim.GetTotalTicks()); // unset frames count one tick each
        tAnim.SetFrameWithTicks(1, &tB, 1);
        tAnim.SetFrameWithTicks(2, &tC, 10);
        ASSERT_EQ(16, tAnim.GetTotalTicks());
        EXPECT_EQ(0, tAnim.GetFrameIndexAtTick(4));
        EXPECT_EQ(1, tAnim.GetFrameIndexAtTick(5));
        EXPECT_EQ(2, tAnim.GetFrameIndexAtTick(6));
        EXPECT_EQ(1, tAnim.GetFrameIndexAtTick(21));
        EXPECT_EQ(&tB, tAnim.GetFrameAtTick(21));
        EXPECT_EQ(&tC, tAnim.GetFrameAtTick(15));

        // Out-of-range frames are ignored; without manual timing, ticks cannot be set.
        tAnim.SetFrameWithTicks(3, &tA, 100);
        tAnim.SetFrameWithTicks(-1, &tA, 100);
        EXPECT_EQ(16, tAnim.GetTotalTicks());
        CorvelAnimation tPlain;
        tPlain.SetTotalFrames(2);
        tPlain.SetFrameWithTicks(0, &tA, 9);
        EXPECT_EQ(nullptr, tPlain.GetFrame(0));
        EXPECT_EQ(2, tPlain.GetTotalTicks());
    }

    // The per-frame tick table must follow the frame count under manual timing, or reads and
    // writes run past it.
    TEST(CorvelAnimationTest, TotalFramesKeepsTickTableSized)
    {
        Bitmap tA;
        CorvelAnimation tAnim;
        tAnim.SetTotalFrames(2);
        tAnim.SetManualTiming(1);
        tAnim.SetFrameWithTicks(1, &tA, 4);
        EXPECT_EQ(5, tAnim.GetTotalTicks());

        tAnim.SetTotalFrames(6);
        EXPECT_EQ(6, tAnim.GetTotalTicks()); // rate rule until the next frame with ticks
        tAnim.SetFrameWithTicks(5, &tA, 3);
        EXPECT_EQ(1 + 4 + 1 + 1 + 1 + 3, tAnim.GetTotalTicks());
        EXPECT_EQ(4, tAnim.GetFrameTicks(1));
        EXPECT_EQ(5, tAnim.GetFrameIndexAtTick(9));
        EXPECT_EQ(&tA, tAnim.GetFrameAtTick(9));

        // Manual timing switched on before any frames exist, then frames arrive.
        CorvelAnimation tEarly;
        tEarly.SetManualTiming(1);
        tEarly.SetTotalFrames(3);
        tEarly.SetFrameWithTicks(2, &tA, 2);
        EXPECT_EQ(4, tEarly.GetTotalTicks());
        EXPECT_EQ(2, tEarly.GetFrameIndexAtTick(3));

        // Shrinking keeps the walk inside the table.
        tAnim.SetTotalFrames(1);
        tAnim.SetFrameWithTicks(0, &tA, 2);
        EXPECT_EQ(2, tAnim.GetTotalTicks());
        EXPECT_EQ(0, tAnim.GetFrameIndexAtTick(1));
        tAnim.SetTotalFrames(0);
        EXPECT_EQ(0, tAnim.GetFrameIndexAtTick(1));
        EXPECT_EQ(nullptr, tAnim.GetFrameAtTick(1));
    }

    TEST(CorvelAnimationTest, ExtremeScriptValuesStayInRange)
    {
        CorvelAnimation tAnim;
        tAnim.SetTotalFrames(3);
        tAnim.SetTicksPerFrame(1.0e30f);
        EXPECT_EQ(INT32_MAX, tAnim.GetTotalTicks());
        EXPECT_EQ(0, tAnim.GetFrameIndexAtTick(INT32_MAX - 1));
        tAnim.SetTicksPerFrame(1.0e-30f);
        EXPECT_EQ(0, tAnim.GetTotalTicks());
        EXPECT_EQ(0, tAnim.GetFrameIndexAtTick(50));
        tAnim.SetTicksPerFrame(-2.0f);
        EXPECT_EQ(0, tAnim.GetFrameIndexAtTick(50));
        // A frame count no animation needs is cut to the cap, not handed to the allocator.
        testing::internal::CaptureStderr();
        tAnim.SetTotalFrames(INT32_MAX);
        EXPECT_EQ("Anim_SetProperty:  TotalFrames 2147483647 is more than 4096, using 4096.\n",
                  CapturedStderr());
        EXPECT_EQ(ANIMATION_MAX_FRAMES, tAnim.GetFrameCount());
        EXPECT_EQ(nullptr, tAnim.GetFrame(ANIMATION_MAX_FRAMES - 1));
        tAnim.SetTotalFrames(-4);
        EXPECT_EQ(0, tAnim.GetFrameCount());
    }

    class CorvelAnimationBindingTest : public ::testing::Test
    {
    protected:
        void SetUp() override
        {
            mPrevious = GetApplication()->mDataLibrary;
            mLibrary = new DataLibrary();
            GetApplication()->mDataLibrary = mLibrary;
            L = luaL_newstate();
            RegisterCorvelAnimationLua(L);
            RegisterDataLibraryLua(L);
            mLibrary->AddPath("Root/Images/Test/Frames/");
            mLibrary->AddEntry("Root/Images/Test/Frames/A", &mFrameA, NoDelete, DL_KIND_BITMAP);
            mLibrary->AddEntry("Root/Images/Test/Frames/B", &mFrameB, NoDelete, DL_KIND_BITMAP);
            mLibrary->AddPath("Root/Animations/Test/Anims/");
        }
        void TearDown() override
        {
            lua_close(L);
            delete mLibrary;
            GetApplication()->mDataLibrary = mPrevious;
        }
        static void NoDelete(void *) {}
        std::string Run(const char *pChunk)
        {
            testing::internal::CaptureStderr();
            int tTop = lua_gettop(L);
            EXPECT_EQ(0, luaL_dostring(L, pChunk)) << lua_tostring(L, -1);
            EXPECT_EQ(tTop, lua_gettop(L));
            return CapturedStderr();
        }
        CorvelAnimation *Anim(const char *pPath)
        {
            return (CorvelAnimation *)mLibrary->GetEntryOfKind(pPath, DL_KIND_ROOTOBJECT);
        }

        lua_State *L = nullptr;
        DataLibrary *mLibrary = nullptr;
        DataLibrary *mPrevious = nullptr;
        Bitmap mFrameA, mFrameB;
    };

    TEST_F(CorvelAnimationBindingTest, ScriptBuildsAnimationInOrder)
    {
        Run("Anim_Create('Root/Animations/Test/Anims/Walk')\n"
            "Anim_SetProperty('TotalFrames', 3)\n"
            "Anim_SetProperty('ManualTiming', true)\n"
            "Anim_SetProperty('Frame', 0, 'Root/Images/Test/Frames/A', 5)\n"
            "Anim_SetProperty('Frame', 1, 'Root/Images/Test/Frames/B')\n"
            "Anim_SetProperty('Frame', 2, 'Root/Images/Test/Frames/Missing')\n"
            "DL_PopActiveEntity()\n");
        CorvelAnimation *rAnim = Anim("Root/Animations/Test/Anims/Walk");
        ASSERT_NE(nullptr, rAnim);
        EXPECT_FALSE(mLibrary->ActiveIsValid());
        EXPECT_EQ(0, mLibrary->GetActiveStackSize());
        EXPECT_EQ(3, rAnim->GetFrameCount());
        EXPECT_EQ(7, rAnim->GetTotalTicks());
        EXPECT_EQ(&mFrameA, rAnim->GetFrame(0));
        EXPECT_EQ(&mFrameB, rAnim->GetFrame(1));
        EXPECT_EQ(nullptr, rAnim->GetFrame(2));

        Run("Anim_Create('Root/Animations/Test/Anims/Idle')\n"
            "Anim_SetProperty('TotalFrames', 2)\n"
            "Anim_SetProperty('TicksPerFrame', 0)\n"
            "DL_PopActiveEntity()\n");
        EXPECT_EQ(2, Anim("Root/Animations/Test/Anims/Idle")->GetTotalTicks());
    }

    TEST_F(CorvelAnimationBindingTest, FailuresAreReportedAndChangeNothing)
    {
        EXPECT_EQ("Anim_Create: Failed, invalid argument list\n", Run("Anim_Create()"));
        EXPECT_EQ("Anim_SetProperty: Failed, invalid argument list\n", Run("Anim_SetProperty()"));
        EXPECT_EQ("Anim_SetProperty: Failed, invalid object\n", Run("Anim_SetProperty('TotalFrames', 2)"));

        Run("Anim_Create('Root/Animations/Test/Anims/Run')");
        EXPECT_EQ("Anim_SetProperty:  Failed to resolve Colour\n", Run("Anim_SetProperty('Colour', 2)"));
        EXPECT_EQ("Anim_SetProperty:  Failed to resolve TotalFrames\n", Run("Anim_SetProperty('TotalFrames', 2, 3)"));
        EXPECT_NE(std::string::npos, Run("Anim_SetProperty(nil, 2)").find("Failed to resolve"));
        EXPECT_EQ(0, Anim("Root/Animations/Test/Anims/Run")->GetFrameCount());

        // A Bitmap path cannot become the object an animation binding writes into.
        Run("DL_PopActiveEntity() DL_SetActiveObject('Root/Images/Test/Frames/A')");
        EXPECT_EQ("Anim_SetProperty: Failed, invalid object\n", Run("Anim_SetProperty('TotalFrames', 2)"));

        // These are the binding's own messages, not the shared reporters: silencing the
        // reporters does not hide them.
        SetLuaSilenceFlag(1);
        EXPECT_EQ("Anim_SetProperty: Failed, invalid object\n", Run("Anim_SetProperty('TotalFrames', 2)"));
        Run("Anim_Create('Root/Animations/Test/Anims/Quiet')");
        EXPECT_EQ("Anim_SetProperty:  Failed to resolve Colour\n", Run("Anim_SetProperty('Colour', 2)"));
        Run("DL_PopActiveEntity()");
        SetLuaSilenceFlag(0);
    }

    TEST_F(CorvelAnimationBindingTest, ValuesOfTheWrongKindOrCountAreNotResolved)
    {
        Run("Anim_Create('Root/Animations/Test/Anims/Typed') Anim_SetProperty('TotalFrames', 2)");
        EXPECT_EQ("Anim_SetProperty:  Failed to resolve TotalFrames\n", Run("Anim_SetProperty('TotalFrames', 'many')"));
        EXPECT_EQ("Anim_SetProperty:  Failed to resolve ManualTiming\n", Run("Anim_SetProperty('ManualTiming', 1)"));
        EXPECT_EQ("Anim_SetProperty:  Failed to resolve TicksPerFrame\n", Run("Anim_SetProperty('TicksPerFrame', true)"));
        EXPECT_EQ("Anim_SetProperty:  Failed to resolve Frame\n", Run("Anim_SetProperty('Frame', 0)"));
        EXPECT_EQ("Anim_SetProperty:  Failed to resolve Frame\n", Run("Anim_SetProperty('Frame', 'first', 'Root/Images/Test/Frames/A')"));
        EXPECT_EQ("Anim_SetProperty:  Failed to resolve Frame\n", Run("Anim_SetProperty('Frame', 0, {})"));
        EXPECT_EQ("Anim_SetProperty:  Failed to resolve Frame\n", Run("Anim_SetProperty('Frame', 0, 'Root/Images/Test/Frames/A', 'x')"));
        EXPECT_EQ("Anim_SetProperty:  Failed to resolve Frame\n",
                  Run("Anim_SetProperty('Frame', 0, 'Root/Images/Test/Frames/A', 1, 2)"));
        EXPECT_EQ("Anim_SetProperty:  Failed to resolve (null)\n", Run("Anim_SetProperty({}, 1)"));
        EXPECT_EQ("", Run("Anim_SetProperty('Frame', 1, 'Root/Images/Test/Frames/B')"));
        Run("DL_PopActiveEntity()");
        CorvelAnimation *rAnim = Anim("Root/Animations/Test/Anims/Typed");
        ASSERT_NE(nullptr, rAnim);
        EXPECT_EQ(nullptr, rAnim->GetFrame(0));
        EXPECT_EQ(&mFrameB, rAnim->GetFrame(1));
    }

    TEST_F(CorvelAnimationBindingTest, FramePathOfAnotherKindStoresNull)
    {
        Run("Anim_Create('Root/Animations/Test/Anims/Other')\n"
            "Anim_SetProperty('TotalFrames', 1)\n"
            "Anim_SetProperty('Frame', 0, 'Root/Animations/Test/Anims/Other')\n"
            "DL_PopActiveEntity()\n");
        EXPECT_EQ(nullptr, Anim("Root/Animations/Test/Anims/Other")->GetFrame(0));
    }

    // Without a heading the animation could not be stored: none is made, but a push still
    // happens so the script's pop stays balanced and leaves the earlier active object.
    TEST_F(CorvelAnimationBindingTest, MissingHeadingMakesNoOrphan)
    {
        Run("Anim_Create('Root/Animations/Test/Anims/Keep')");
        RootObject *rKeep = mLibrary->GetActiveObject();
        ASSERT_NE(nullptr, rKeep);
        Run("Anim_Create('Root/Animations/Nowhere/Else/Lost')");
        EXPECT_FALSE(mLibrary->ActiveIsValid());
        EXPECT_EQ("Anim_SetProperty: Failed, invalid object\n", Run("Anim_SetProperty('TotalFrames', 2)"));
        Run("DL_PopActiveEntity()");
        EXPECT_EQ(rKeep, mLibrary->GetActiveObject());
        Run("DL_PopActiveEntity()");
    }

    TEST(CorvelAnimationBindingNoLibraryTest, BindingsWithoutLibraryDoNothing)
    {
        DataLibrary *rPrevious = GetApplication()->mDataLibrary;
        GetApplication()->mDataLibrary = nullptr;
        lua_State *L = luaL_newstate();
        RegisterCorvelAnimationLua(L);
        testing::internal::CaptureStderr();
        EXPECT_EQ(0, luaL_dostring(L, "Anim_Create('Root/A/B/C/D') Anim_SetProperty('TotalFrames', 2)"));
        std::string tErr = CapturedStderr();
        EXPECT_NE(std::string::npos, tErr.find("Anim_Create: Failed"));
        EXPECT_NE(std::string::npos, tErr.find("Anim_SetProperty: Failed, invalid object"));
        EXPECT_EQ(0, lua_gettop(L));
        lua_close(L);
        GetApplication()->mDataLibrary = rPrevious;
    }
}

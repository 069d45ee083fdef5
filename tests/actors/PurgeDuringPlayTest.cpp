#include "ScriptedPlayerWorld.h"

#include "core/data/DataLibrary.h"
#include "core/render/Bitmap.h"
#include "core/render/CorvelAnimation.h"
#include "core/render/Font.h"
#include "core/render/Palette.h"
#include "world/RootProjectile.h"

#include <allegro5/allegro.h>
#include <string>

namespace
{
    const char *const cFrame = "Root/Images/Kestra/Body/Frame00";
    const char *const cIdle = "Root/Animations/Kestra/Body/Idle";
    const char *const cFont = "Root/Fonts/All/All/SystemFont";

    // A script may purge any path while she plays. Every engine object that keeps pointers to
    // library entries (the system and current fonts, her animation slots and sparks, the
    // animations' frames, a projectile's frame) must afterwards hold either nothing or what
    // the library still has; under the sanitizers, any use of a freed entry ends the run.
    class PurgeDuringPlayTest : public ScriptedPlayerWorld, public testing::WithParamInterface<const char *>
    {
    protected:
        void SetUp() override
        {
            ScriptedPlayerWorld::SetUp();
            mLibrary = DataLibrary::Fetch();
            const char *cPictures[] = {"Root/Images/Kestra/Body/Frame00", "Root/Images/Kestra/Body/Frame01",
                                       "Root/Images/Kestra/Body/Spark00", "Root/Images/Kestra/Body/Spark01",
                                       "Root/Images/Kestra/Misc/Ready"};
            for(const char *rPath : cPictures)
            {
                mLibrary->AddPath(rPath);
                Bitmap *nPicture = new Bitmap();
                nPicture->SetSize(19, 52);
                nPicture->SetFrameCount(1);
                nPicture->SetFrameRect(0, 0, 0, 19, 52);
                mLibrary->AddEntry(rPath, nPicture, Bitmap::DeleteThis, DL_KIND_BITMAP);
            }
            mLibrary->AddPath("Root/Other/Palettes/Kestra/");
            mLibrary->AddEntry("Root/Other/Palettes/Kestra/All", new Palette(), DeletePalette, DL_KIND_PALETTE);
            mLibrary->AddPath(cFont);
            SetSystemFont(new Font());
            mLibrary->AddEntry(cFont, GetApplication()->rSystemFont, DeleteFont, DL_KIND_FONT);
            SetCurrentFontByPath(cFont);
            ASSERT_EQ(0, luaL_dofile(mLua->GetState(), Script("purge_content.lua").c_str()));

            mShot = AddEnemyShot(300.0f, 100.0f, 0);
            mShot->SetTargetFlags(0);
            mShot->SetFrame(cIdle, 0, 0.0f, 0.0f);
            mLibrary->SetQuiet(1);
        }

        void TearDown() override
        {
            SetCurrentFont(nullptr);
            ScriptedPlayerWorld::TearDown();
        }

        void ExpectHoldersMatchTheLibrary(const char *pWhen)
        {
            SCOPED_TRACE(pWhen);
            Bitmap *rFrame = (Bitmap *)mLibrary->GetEntryOfKind(cFrame, DL_KIND_BITMAP);
            CorvelAnimation *rIdle = LookUpAnimation(cIdle);
            EXPECT_EQ(rIdle, mPlayer->GetAnimationSlot(PLAYER_ANIM_IDLE));
            if(rIdle)
            {
                EXPECT_EQ(rFrame, rIdle->GetFrame(0));
            }
            EXPECT_EQ(rFrame, mShot->GetFrame());
            Font *rFont = (Font *)mLibrary->GetEntryOfKind(cFont, DL_KIND_FONT);
            EXPECT_EQ(rFont, GetApplication()->rSystemFont);
            EXPECT_EQ(rFont, GetCurrentFont());
        }

        // She charges the buster until the big sparks show, runs, and lets the shot go;
        // every tick draws her and the projectiles (no GL context: the drawing calls do
        // nothing, but every frame she picks is read).
        void Play(int32_t pTicks)
        {
            // Her shot's spawn effect runs a sample-game script this world does not have.
            testing::internal::CaptureStderr();
            for(int32_t i = 0; i < pTicks; i++)
            {
                SetKey(ALLEGRO_KEY_X, i < pTicks - 10);
                SetKey(ALLEGRO_KEY_RIGHT, i > pTicks / 2);
                Tick();
                mPlayer->Render();
                mShot->Render();
                Bitmap *rShown = mPlayer->ChooseAnimationFrame();
                if(rShown)
                {
                    EXPECT_EQ(1, rShown->GetFrameCount());
                }
            }
            CapturedStderr();
        }

        DataLibrary *mLibrary = nullptr;
        RootProjectile *mShot = nullptr;
    };
}

TEST_P(PurgeDuringPlayTest, HoldersForgetWhatAScriptPurges)
{
    ASSERT_NE(nullptr, mPlayer->GetAnimationSlot(PLAYER_ANIM_IDLE));
    ASSERT_NE(nullptr, mShot->GetFrame());
    Play(100);
    ExpectHoldersMatchTheLibrary("before the purge");

    RunLua((std::string("DL_Purge('") + GetParam() + "', false)").c_str());
    ExpectHoldersMatchTheLibrary("after the purge");
    Play(100);
    ExpectHoldersMatchTheLibrary("after playing on");
    EXPECT_FALSE(mPlayer->IsControlLocked());
}

INSTANTIATE_TEST_SUITE_P(EachTopLevelPath, PurgeDuringPlayTest,
                         testing::Values("Root/Images/", "Root/Animations/", "Root/Fonts/", "Root/Other/", "ALL",
                                         "Root/Animations/Kestra/Body/Idle", "Root/Images/Kestra/Body/"));

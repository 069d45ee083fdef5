#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../core/render/GLTestContext.h"
#include "actors/PlayerPony.h"
#include "core/Application.h"
#include "core/ControlManager.h"
#include "core/OptionsManager.h"
#include "core/data/DataLibrary.h"
#include "core/render/Bitmap.h"
#include "core/render/CorvelAnimation.h"
#include "core/render/Font.h"
#include "interface/GUI.h"
#include "interface/GUIButton.h"
#include "interface/GUIImage.h"
#include "interface/GUISPauseScreen.h"
#include "interface/GUIScrollBar.h"
#include "interface/GUITextLine.h"
#include "world/EntityManager.h"
#include "../core/BlankApplication.h"

namespace
{
    const char *const cFontPath = "Root/Fonts/All/All/SystemFont";
    const char *const cWidgets = "Root/Images/GUI/Widgets/";
    const char *const cButtonAnimation = "Root/Animations/GUI/Widgets/Button";

    // Every picture the screens look up, and the widgets' own.
    const char *const cPictures[] = {
        "Root/Images/GUI/TitleScreen/TitleScreen001", "Root/Images/GUI/HealthBar/Frame",
        "Root/Images/GUI/HealthBar/Point", "Root/Images/GUI/HealthBar/Cap",
        "Root/Images/GUI/HealthBar/SelectorsA", "Root/Images/GUI/HealthBar/SelectorsB",
        "Root/Images/GUI/HealthBar/Lightning Bit", "Root/Images/GUI/Overlay/BossHealthBar",
        "Root/Images/GUI/Overlay/HealthChip", "Root/Images/GUI/PauseMenu/PauseContinue",
        "Root/Images/GUI/PauseMenu/Pause Base", "Root/Images/GUI/PauseMenu/Reticule",
        "Root/Images/GUI/PauseMenu/KBCap",
        "Root/Images/GUI/Widgets/Picture", "Root/Images/GUI/Widgets/ButtonIdle",
        "Root/Images/GUI/Widgets/ButtonHover", "Root/Images/GUI/Widgets/ButtonPress",
        "Root/Images/GUI/Widgets/ButtonDisabled", "Root/Images/GUI/Widgets/Track",
        "Root/Images/GUI/Widgets/Thumb", "Root/Images/GUI/Widgets/ThumbPressed",
    };

    void DrawNothing(GUISmartImage *pImage)
    {
    }

    // Every kind of interface object on screen at once, holding library fonts, pictures and an
    // animation, while a script purges part of the library. Each object must afterwards hold
    // only what the library still has and draw on without the rest; under the sanitizers any
    // draw from a freed entry ends the run.
    class GUIPurgeGLTest : public GLTestContext, public testing::WithParamInterface<const char *>
    {
    protected:
        void SetUp() override
        {
            GLTestContext::SetUp();
            if(IsSkipped()) return;
            mApplication.Enter();
            Application *rApp = GetApplication();
            rApp->rDataLibrary = new DataLibrary();
            rApp->rOptionsManager = new OptionsManager();
            rApp->rControlManager = new ControlManager();
            rApp->rControlManager->BootDefaults();
            rApp->rEntityManager = new EntityManager();
            rApp->rEntityManager->CreatePlayer();
            rApp->rGUI = new GUI();
            mGUI = rApp->rGUI;
            mLibrary = rApp->rDataLibrary;
            mReady = true;
            // The screens look up far more pictures than these; the misses are expected.
            mLibrary->SetQuiet(1);

            for(const char *rPath : cPictures) AddPicture(rPath);
            ASSERT_TRUE(StartFreeType());
            Font *nFont = Font::LoadFreeType("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf");
            ASSERT_TRUE(nFont->IsLoaded());
            mLibrary->AddPath(cFontPath);
            mLibrary->AddEntry(cFontPath, nFont, DeleteFont, DL_KIND_FONT);
            CorvelAnimation *nAnimation = new CorvelAnimation();
            nAnimation->SetTotalFrames(1);
            nAnimation->SetFrame(0, Picture("Root/Images/GUI/Widgets/ButtonIdle"));
            mLibrary->AddPath(cButtonAnimation);
            mLibrary->AddEntry(cButtonAnimation, nAnimation, CorvelAnimation::DeleteThis, DL_KIND_ROOTOBJECT);

            mGUI->CreateDefaultObjects();
            BuildWidgets();
            const char *cScreens[] = {"TitleScreen", "KestraHealthBar", "BossHealthBar", "PauseScreen",
                                      "LevelSelectScreen"};
            for(const char *rName : cScreens)
            {
                GUIBaseObject *rScreen = mGUI->FindObject(rName);
                ASSERT_NE(nullptr, rScreen) << rName;
                rScreen->Show();
                rScreen->SetAlpha(1.0f);
            }
            mPause = dynamic_cast<GUISPauseScreen *>(mGUI->FindObject("PauseScreen"));
            ASSERT_NE(nullptr, mPause);
            mPause->SetPage(PAUSE_PAGE_STATUS);
        }

        void TearDown() override
        {
            if(!mReady) return;
            Application *rApp = GetApplication();
            delete rApp->rGUI;
            delete rApp->rEntityManager;
            delete rApp->rControlManager;
            delete rApp->rOptionsManager;
            delete rApp->rDataLibrary;
            mApplication.Leave();
        }

        void AddPicture(const char *pPath)
        {
            std::vector<uint8_t> tPixels(8 * 8 * 4, 255);
            mLibrary->AddPath(pPath);
            mLibrary->AddEntry(pPath, Bitmap::FromRGBA(tPixels.data(), 8, 8), Bitmap::DeleteThis, DL_KIND_BITMAP);
        }

        Bitmap *Picture(const char *pPath)
        {
            return static_cast<Bitmap *>(mLibrary->GetEntryOfKind(pPath, DL_KIND_BITMAP));
        }

        void BuildWidgets()
        {
            mLine = new GUITextLine();
            mLine->SetFontByName(cFontPath);
            mLine->SetText("Purged");
            mGUI->AddObject("Line", mLine);

            GUIButton *nButton = new GUIButton();
            nButton->SetImagesByBaseName("Root/Images/GUI/Widgets/Button", true);
            nButton->SetRectBySize(0.0f, 0.0f, 8.0f, 8.0f);
            mGUI->AddObject("Button", nButton);
            GUIButton *nAnimated = new GUIButton();
            nAnimated->SetAnimation(cButtonAnimation);
            nAnimated->SetRectBySize(8.0f, 0.0f, 8.0f, 8.0f);
            mGUI->AddObject("AnimatedButton", nAnimated);

            mImage = new GUIImage();
            mImage->SetBitmapByName("Root/Images/GUI/Widgets/Picture");
            mGUI->AddObject("Image", mImage);
            mSequence = new GUIImage();
            Bitmap *tFrames[2] = {Picture("Root/Images/GUI/Widgets/Picture"), Picture("Root/Images/GUI/Widgets/Thumb")};
            mSequence->SetFrames(tFrames, 2, 1);
            mSequence->QueueBitmap(Picture("Root/Images/GUI/Widgets/Track"), 2);
            mGUI->AddObject("Sequence", mSequence);

            GUISmartImage *nSmart = new GUISmartImage();
            nSmart->SetRenderer(DrawNothing);
            mGUI->AddObject("SmartImage", nSmart);

            GUIScrollBarH *nBarH = new GUIScrollBarH();
            nBarH->SetImages(cWidgets, "Track", "Thumb", "ThumbPressed");
            mGUI->AddObject("ScrollBarH", nBarH);
            GUIScrollBarV *nBarV = new GUIScrollBarV();
            nBarV->SetImages(cWidgets, "Track", "Thumb", "ThumbPressed");
            mGUI->AddObject("ScrollBarV", nBarV);
        }

        // A few ticks and frames of everything. The title takes every event while it shows, so
        // the picture sequence below it is ticked by hand.
        void Run()
        {
            for(int32_t i = 0; i < 3; i++)
            {
                mGUI->Update(-1);
                mSequence->HandleEvent(-1, 0, 0);
                mGUI->Render();
            }
            glFinish();
        }

        void ExpectHoldersMatchTheLibrary()
        {
            Font *rFont = static_cast<Font *>(mLibrary->GetEntryOfKind(cFontPath, DL_KIND_FONT));
            EXPECT_EQ(rFont, mLine->GetFont());
            GUITextLine *rWatermark = dynamic_cast<GUITextLine *>(mGUI->FindObject("Watermark"));
            ASSERT_NE(nullptr, rWatermark);
            EXPECT_EQ(rFont, rWatermark->GetFont());
            EXPECT_EQ(Picture("Root/Images/GUI/Widgets/Picture"), mImage->GetBitmap());
            EXPECT_EQ(Picture("Root/Images/GUI/Widgets/Track"), mSequence->GetBitmap());
            EXPECT_EQ(Picture("Root/Images/GUI/HealthBar/Lightning Bit"), mPause->GetWeaponRecord(0).rImage);
        }

        BlankApplication mApplication;
        DataLibrary *mLibrary = nullptr;
        GUI *mGUI = nullptr;
        GUISPauseScreen *mPause = nullptr;
        GUITextLine *mLine = nullptr;
        GUIImage *mImage = nullptr;
        GUIImage *mSequence = nullptr;
        bool mReady = false;
    };
}

TEST_P(GUIPurgeGLTest, ObjectsLetGoOfPurgedEntriesAndDrawOn)
{
    Run();
    ExpectHoldersMatchTheLibrary();
    ASSERT_NE(nullptr, mLine->GetFont());
    ASSERT_NE(nullptr, mSequence->GetBitmap());

    mLibrary->Purge(GetParam(), false);
    ExpectHoldersMatchTheLibrary();
    Run();
    EXPECT_EQ(GL_NO_ERROR, glGetError());
}

INSTANTIATE_TEST_SUITE_P(EachTopLevelPath, GUIPurgeGLTest,
                         testing::Values("Root/Images/", "Root/Animations/", "Root/Fonts/", "Root/Other/", "ALL"));

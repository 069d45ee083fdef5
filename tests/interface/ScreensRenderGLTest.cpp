#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>
#include <vector>

#include "support/GLTestContext.h"
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
#include "interface/GUIScrollBar.h"
#include "interface/GUITextLine.h"
#include "interface/GUISHealthBars.h"
#include "interface/AudioManager.h"
#include "interface/GUISLevelSelectScreen.h"
#include "interface/GUISPauseScreen.h"
#include "interface/GUISTitleScreen.h"
#include "world/EntityManager.h"
#include "support/BlankApplication.h"
#include "support/ScratchFolder.h"

namespace
{
    // The screens drawn into the 64 by 64 test view, with solid-colour pictures standing in
    // for the game's art.
    class ScreensRenderGLTest : public GLTestContext
    {
    protected:
        void SetUp() override
        {
            GLTestContext::SetUp();
            if(IsSkipped()) return;
            mApplication.Enter();
            Application *rApp = GetApplication();
            rApp->mDataLibrary = new DataLibrary();
            rApp->mOptionsManager = new OptionsManager();
            rApp->mControlManager = new ControlManager();
            ControlManager::Get()->BootDefaults();
            rApp->mEntityManager = new EntityManager();
            EntityManager::Fetch()->CreatePlayer();
            rApp->mGUI = new GUI();
            mGUI = rApp->mGUI;
            mReady = true;
        }
        void TearDown() override
        {
            if(!mReady) return;
            Application *rApp = GetApplication();
            delete rApp->mGUI;
            delete rApp->mEntityManager;
            delete rApp->mControlManager;
            delete rApp->mOptionsManager;
            delete rApp->mDataLibrary;
            mApplication.Leave();
        }

        // A picture of one opaque colour (0xRRGGBB) under that library path.
        void AddSolid(const char *pFolder, const char *pName, int32_t pW, int32_t pH, uint32_t pRGB)
        {
            std::vector<uint8_t> tPixels((size_t)(pW * pH * 4));
            for(size_t i = 0; i < tPixels.size(); i += 4)
            {
                tPixels[i] = (uint8_t)(pRGB >> 16);
                tPixels[i + 1] = (uint8_t)(pRGB >> 8);
                tPixels[i + 2] = (uint8_t)pRGB;
                tPixels[i + 3] = 255;
            }
            DataLibrary::Fetch()->AddPath(pFolder);
            DataLibrary::Fetch()->AddEntry((std::string(pFolder) + pName).c_str(),
                                           Bitmap::FromRGBA(tPixels.data(), pW, pH), Bitmap::DeleteThis,
                                           DL_KIND_BITMAP);
        }

        void Clear()
        {
            glClear(GL_COLOR_BUFFER_BIT);
        }

        BlankApplication mApplication;
        GUI *mGUI = nullptr;
        bool mReady = false;
    };
}

TEST_F(ScreensRenderGLTest, TheTitleDrawsTheFrameOfItsTick)
{
    AddSolid("Root/Images/GUI/TitleScreen/", "TitleScreen001", 64, 64, 0xFF0000);
    AddSolid("Root/Images/GUI/TitleScreen/", "TitleScreen002", 64, 64, 0x00FF00);
    mGUI->CreateDefaultObjects();
    GUISTitleScreen *rTitle = GetTitleScreen();
    rTitle->Restart();
    rTitle->Draw();
    EXPECT_EQ(0xFF0000FFu, ReadPixel(32, 32));
    for(int32_t i = 0; i < 124; i++) rTitle->HandleEvent(-1, 0, 0);
    Clear();
    rTitle->Draw();
    EXPECT_EQ(0x00FF00FFu, ReadPixel(32, 32));
    // A missing frame draws nothing.
    for(int32_t i = 0; i < 8; i++) rTitle->HandleEvent(-1, 0, 0);
    Clear();
    rTitle->Draw();
    EXPECT_EQ(0x00000000u, ReadPixel(32, 32));
}

TEST_F(ScreensRenderGLTest, PlayerHealthPointsFillTheBarFromTheBottom)
{
    AddSolid("Root/Images/GUI/HealthBar/", "Point", 8, 3, 0xFFFF00);
    mGUI->CreateDefaultObjects();
    GUIBaseObject *rBar = mGUI->FindObject("KestraHealthBar");
    rBar->Show();
    PlayerPony *rPlayer = PlayerPony::Get();
    // Maximum 18: the top point stands at y 16 + 45 = 61, x 16 + 19 = 35.
    rPlayer->SetHealth(18);
    rBar->Draw();
    EXPECT_EQ(0xFFFF00FFu, ReadPixel(38, 62));
    EXPECT_EQ(0x00000000u, ReadPixel(38, 59));
    // One point missing leaves the top 3 units empty.
    rPlayer->SetHealth(17);
    Clear();
    rBar->Draw();
    EXPECT_EQ(0x00000000u, ReadPixel(38, 62));
}

TEST_F(ScreensRenderGLTest, TheLevelSelectOutlinesTheCursorLineUnlessOneMapStartsAtOnce)
{
    ScratchFolder tMaps("glmaps");
    ASSERT_TRUE(tMaps.IsMade());
    for(const char *rName : {"A.slf", "B.slf"}) ASSERT_TRUE(tMaps.Write(rName, nullptr, 0));
    mGUI->CreateDefaultObjects();
    GUISLevelSelectScreen *rScreen = GetLevelSelectScreen();
    rScreen->OpenFolder((tMaps.Path() + "/").c_str());
    rScreen->Draw();
    // The outline of line 0 runs from (25, 25) to (281, 34).
    EXPECT_EQ(0xFFFFFFFFu, ReadPixel(40, 25));
    EXPECT_EQ(0xFFFFFFFFu, ReadPixel(25, 30));
    EXPECT_EQ(0x00000000u, ReadPixel(40, 30));

    EXPECT_EQ(0, unlink(tMaps.File("B.slf").c_str()));
    rScreen->OpenFolder((tMaps.Path() + "/").c_str());
    Clear();
    rScreen->Draw();
    EXPECT_EQ(0x00000000u, ReadPixel(40, 25));
    EXPECT_TRUE(tMaps.Remove());
}

TEST_F(ScreensRenderGLTest, TheOptionsPageDrawsTheReticuleCornersAndTheVolumeKnob)
{
    // The reticule's corner piece is the top-left 8 by 8 of an 18 by 18 picture.
    std::vector<uint8_t> tPixels(18 * 18 * 4, 0);
    for(int32_t y = 0; y < 8; y++)
    {
        for(int32_t x = 0; x < 8; x++)
        {
            for(int32_t c = 0; c < 4; c++) tPixels[(size_t)((y * 18 + x) * 4 + c)] = 255;
        }
    }
    DataLibrary::Fetch()->AddPath("Root/Images/GUI/PauseMenu/");
    DataLibrary::Fetch()->AddEntry("Root/Images/GUI/PauseMenu/Reticule", Bitmap::FromRGBA(tPixels.data(), 18, 18),
                                   Bitmap::DeleteThis, DL_KIND_BITMAP);
    mGUI->CreateDefaultObjects();
    GUISPauseScreen *rPause = dynamic_cast<GUISPauseScreen *>(mGUI->FindObject("PauseScreen"));
    ASSERT_NE(nullptr, rPause);
    rPause->BuildOptionsNavigation();
    rPause->SetCurrentNavigationNode(rPause->GetNavigationNode(15));

    // The music entry's rectangle (134, 270)-(234, 281) brought to (4, 5) of the view.
    glTranslatef(-130.0f, -265.0f, 0.0f);
    rPause->RenderOptionsPage();
    glTranslatef(130.0f, 265.0f, 0.0f);
    EXPECT_EQ(0xFFFFFFFFu, ReadPixel(6, 7));
    EXPECT_EQ(0x00000000u, ReadPixel(14, 7));
    // The track at y 274..276 and the knob at x = 134 + 100 x volume, 2 units wide.
    float tKnob = VolumeKnobX(AudioManager::GetMusicVolume()) - 130.0f;
    EXPECT_EQ(0xB3FF80FFu, ReadPixel(30, 10));
    EXPECT_EQ(0xB3FF80FFu, ReadPixel((int32_t)tKnob, 7));
    EXPECT_EQ(0x00000000u, ReadPixel((int32_t)tKnob + 4, 7));
}

TEST_F(ScreensRenderGLTest, TheThanksPageFadesInFromBlackOverOneSecond)
{
    AddSolid("Root/Images/GUI/ThanksForPlaying/", "ThanksForPlaying", 64, 64, 0xFF0000);
    mGUI->CreateDefaultObjects();
    GUISTitleScreen *rTitle = GetTitleScreen();
    rTitle->SetThanksMode(1);
    rTitle->Restart();
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    rTitle->Draw();
    EXPECT_EQ(0x000000u, ReadPixel(10, 10) >> 8);
    for(int32_t i = 0; i < 30; i++) rTitle->HandleEvent(-1, 0, 0);
    Clear();
    rTitle->Draw();
    EXPECT_NEAR(0x80, (int)(ReadPixel(10, 10) >> 24), 3);
    for(int32_t i = 0; i < 30; i++) rTitle->HandleEvent(-1, 0, 0);
    Clear();
    rTitle->Draw();
    EXPECT_EQ(0xFF0000u, ReadPixel(10, 10) >> 8);
    // The title's own counter stood still meanwhile.
    EXPECT_EQ(0, rTitle->GetTitleTicks());
}

// A disabled button's pictures can be purged one by one while it shows: it lets go of each and
// draws on, disabled, with what is left; under the sanitizers a draw from a freed picture ends
// the run.
TEST_F(ScreensRenderGLTest, ADisabledButtonLetsGoOfEachPurgedPictureAndDrawsOn)
{
    const char *const cFolder = "Root/Images/GUI/Widgets/";
    const char *const cStates[4] = {"ButtonIdle", "ButtonHover", "ButtonPress", "ButtonDisabled"};
    const uint32_t cColours[4] = {0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF};
    for(int32_t i = 0; i < 4; i++) AddSolid(cFolder, cStates[i], 8, 8, cColours[i]);
    GUIButton *nButton = new GUIButton();
    nButton->SetImagesByBaseName("Root/Images/GUI/Widgets/Button", true);
    nButton->SetRectBySize(0.0f, 0.0f, 8.0f, 8.0f);
    nButton->SetDisabled(1);
    mGUI->AddObject("Button", nButton);
    nButton->Draw();
    EXPECT_EQ(0x0000FFFFu, ReadPixel(4, 4));

    for(int32_t tPurged : {3, 0, 1, 2})
    {
        SCOPED_TRACE(cStates[tPurged]);
        DataLibrary::Fetch()->Purge((std::string(cFolder) + cStates[tPurged]).c_str(), false);
        EXPECT_EQ(nullptr, nButton->GetImage(tPurged));
        for(int32_t i = 0; i < 4; i++)
        {
            const std::string tPath = std::string(cFolder) + cStates[i];
            EXPECT_EQ(DataLibrary::Fetch()->GetEntryOfKind(tPath.c_str(), DL_KIND_BITMAP), nButton->GetImage(i)) << i;
        }
        Clear();
        nButton->Draw();
        glFinish();
        EXPECT_EQ(0x00000000u, ReadPixel(4, 4));
        EXPECT_EQ(GL_NO_ERROR, glGetError());
    }
}

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
    class GUIPurgeGLTest : public ScreensRenderGLTest, public testing::WithParamInterface<const char *>
    {
    protected:
        void SetUp() override
        {
            ScreensRenderGLTest::SetUp();
            if(IsSkipped()) return;
            mLibrary = DataLibrary::Fetch();
            // The screens look up far more pictures than these; the misses are expected.
            mLibrary->SetQuiet(1);

            for(const char *rPath : cPictures)
            {
                const std::string tPath = rPath;
                const size_t tSlash = tPath.rfind('/') + 1;
                AddSolid(tPath.substr(0, tSlash).c_str(), tPath.substr(tSlash).c_str(), 8, 8, 0xFFFFFF);
            }
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

        DataLibrary *mLibrary = nullptr;
        GUISPauseScreen *mPause = nullptr;
        GUITextLine *mLine = nullptr;
        GUIImage *mImage = nullptr;
        GUIImage *mSequence = nullptr;
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

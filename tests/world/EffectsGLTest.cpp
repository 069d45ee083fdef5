#include <gtest/gtest.h>

#include "support/BlankApplication.h"
#include "support/GLTestContext.h"
#include "core/OptionsManager.h"
#include "core/Utilities.h"
#include "core/render/Bitmap.h"
#include "core/render/CorvelAnimation.h"
#include "world/Camera.h"
#include "world/CameraManager.h"
#include "world/EntityManager.h"
#include "world/MapBGM.h"
#include "world/Particle.h"
#include "world/RootSprite.h"
#include "world/ZoneTrigger.h"

namespace
{
    const uint32_t cRed = 0xFF0000FF;
    const uint32_t cBlue = 0x0000FFFF;

    // A picture whose left column is red and right column blue, two by two.
    Bitmap *TwoColumns()
    {
        const uint8_t tPixels[16] = {255, 0, 0, 255, 0, 0, 255, 255, 255, 0, 0, 255, 0, 0, 255, 255};
        return Bitmap::FromRGBA(tPixels, 2, 2);
    }

    class EffectsGLTest : public GLTestContext
    {
    protected:
        void SetUp() override
        {
            GLTestContext::SetUp();
            if(IsSkipped()) return;
            mApplication.Enter();
            mOptions = new OptionsManager();
            GetApplication()->mOptionsManager = mOptions;
            mReady = true;
        }
        void TearDown() override
        {
            if(!mReady) return;
            delete mOptions;
            mApplication.Leave();
        }

        static void ExpectStateUntouched(GLint pDepth)
        {
            EXPECT_EQ(ModelviewDepth(), pDepth);
            EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
            GLfloat tColour[4];
            glGetFloatv(GL_CURRENT_COLOR, tColour);
            EXPECT_FLOAT_EQ(tColour[0] + tColour[1] + tColour[2] + tColour[3], 4.0f);
            GLfloat tMatrix[16];
            glGetFloatv(GL_MODELVIEW_MATRIX, tMatrix);
            EXPECT_FLOAT_EQ(tMatrix[12], 0.0f);
            EXPECT_FLOAT_EQ(tMatrix[13], 0.0f);
        }

        BlankApplication mApplication;
        OptionsManager *mOptions = nullptr;
        bool mReady = false;
    };
}

TEST_F(EffectsGLTest, ZoneTriggerOutlinesLeaveTexturingAndColourAsFound)
{
    uint8_t *nShow = (uint8_t *)malloc(1);
    *nShow = 1;
    mOptions->BindOwned("ShowHitboxes", nShow, TYPEDVALUE_BOOL);
    ZoneTrigger tTrigger;
    tTrigger.SetRectCount(2);
    tTrigger.SetRect(0, 4.0f, 4.0f, 20.0f, 20.0f);
    tTrigger.SetRect(1, 30.0f, 30.0f, 40.0f, 40.0f);
    const GLint tDepth = ModelviewDepth();
    tTrigger.Render();
    ExpectStateUntouched(tDepth);
    // The outlines run along the rectangles' edges, on one side of the pixel boundary or
    // the other.
    EXPECT_TRUE(ReadPixel(3, 12) == cRed || ReadPixel(4, 12) == cRed);
    EXPECT_TRUE(ReadPixel(35, 29) == cRed || ReadPixel(35, 30) == cRed);
    EXPECT_EQ(ReadPixel(12, 12), 0u);
}

TEST_F(EffectsGLTest, OverRenderTilesThePictureOnceThenDrawsItPlain)
{
    Bitmap *nPicture = TwoColumns();
    ASSERT_NE(nPicture->GetTexture(), 0u);
    CorvelAnimation tAnimation;
    tAnimation.SetTotalFrames(1);
    tAnimation.SetFrame(0, nPicture);
    RootSprite tSprite;
    tSprite.SetAnimationsTotal(1);
    tSprite.SetAnimation(0, &tAnimation);
    tSprite.SetUpdatePath("FUNCOVERRIDE_PLAYONCE");
    tSprite.SetSize(2.0f, 2.0f);
    tSprite.SetPosition(41.0f, 41.0f);
    tSprite.UseOverRender(0, 0, 0.0f, 0.0f, 8.0f, 4.0f);

    const GLint tDepth = ModelviewDepth();
    tSprite.Render();
    ExpectStateUntouched(tDepth);
    // Repeated across the rectangle: red, blue, red, blue...
    EXPECT_EQ(ReadPixel(0, 1), cRed);
    EXPECT_EQ(ReadPixel(1, 1), cBlue);
    EXPECT_EQ(ReadPixel(6, 3), cRed);
    EXPECT_EQ(ReadPixel(7, 3), cBlue);
    EXPECT_EQ(ReadPixel(8, 1), 0u);
    EXPECT_EQ(ReadPixel(40, 40), 0u);
    EXPECT_EQ(tSprite.IsOverRenderPending(), 0);

    // The next frame draws the picture in the box, mirrored with flip 1.
    glClear(GL_COLOR_BUFFER_BIT);
    tSprite.SetFlip(1);
    tSprite.Render();
    EXPECT_EQ(ReadPixel(40, 40), cBlue);
    EXPECT_EQ(ReadPixel(41, 40), cRed);
    EXPECT_EQ(ReadPixel(0, 1), 0u);
    delete nPicture;
}

TEST_F(EffectsGLTest, BackgroundPacksDrawAtTheirParallaxPlace)
{
    // One green pixel, repeated eight times each way over an 8 by 8 pack at (10, 20).
    const uint8_t tGreen[4] = {0, 255, 0, 255};
    Bitmap *nPicture = Bitmap::FromRGBA(tGreen, 1, 1);
    BackgroundPack *nPack = new BackgroundPack();
    nPack->rImage = nPicture;
    nPack->mActive = 1;
    nPack->mLft = 10.0f;
    nPack->mTop = 20.0f;
    nPack->mRgt = 18.0f;
    nPack->mBot = 28.0f;
    nPack->mAppearancesX = 8.0f;
    nPack->mAppearancesY = 8.0f;
    MapBGM tPacks;
    tPacks.AddPack("Green", nPack);

    // The camera 4 units right of the origin moves the pack 4 units left on screen.
    Camera tCamera(4.0f, 0.0f, 64.0f, 64.0f);
    const GLint tDepth = ModelviewDepth();
    tPacks.Render(&tCamera);
    ExpectStateUntouched(tDepth);
    EXPECT_EQ(ReadPixel(6, 20), 0x00FF00FFu);
    EXPECT_EQ(ReadPixel(13, 27), 0x00FF00FFu);
    EXPECT_EQ(ReadPixel(14, 20), 0u);
    EXPECT_EQ(ReadPixel(5, 20), 0u);

    // Inactive or out of view: nothing.
    glClear(GL_COLOR_BUFFER_BIT);
    nPack->mActive = 0;
    tPacks.Render(&tCamera);
    EXPECT_EQ(ReadPixel(6, 20), 0u);
    tPacks.Clear();
    delete nPicture;
}

TEST_F(EffectsGLTest, SpritesAreDrawnAgainAboveTheOverlayInTheCameraView)
{
    Bitmap *nPicture = TwoColumns();
    CorvelAnimation tAnimation;
    tAnimation.SetTotalFrames(1);
    tAnimation.SetFrame(0, nPicture);
    EntityManager *nEntities = new EntityManager();
    CameraManager *nCameras = new CameraManager();
    GetApplication()->mEntityManager = nEntities;
    GetApplication()->mCameraManager = nCameras;
    nCameras->GetActiveCamera()->ForceTo(100, 0);

    RootSprite *nSprite = new RootSprite();
    nSprite->SetAnimationsTotal(1);
    nSprite->SetAnimation(0, &tAnimation);
    nSprite->SetUpdatePath("FUNCOVERRIDE_PLAYONCE");
    nSprite->SetSize(2.0f, 2.0f);
    nSprite->SetPosition(111.0f, 11.0f);
    nEntities->RegisterEntity("Puff", nSprite, DeleteRootObject);

    const GLint tDepth = ModelviewDepth();
    nEntities->RenderAboveOverlay();
    ExpectStateUntouched(tDepth);
    EXPECT_EQ(ReadPixel(10, 10), cRed);
    EXPECT_EQ(ReadPixel(11, 10), cBlue);

    delete nEntities;
    delete nCameras;
    delete nPicture;
}

TEST_F(EffectsGLTest, TheEntityManagerDrawsItsParticlesAsFourUnitPoints)
{
    EntityManager *nEntities = new EntityManager();
    nEntities->CreateSpecialLists();
    CameraManager *nCameras = new CameraManager();
    GetApplication()->mEntityManager = nEntities;
    GetApplication()->mCameraManager = nCameras;
    nCameras->GetActiveCamera()->ForceTo(100, 0);
    glDisable(GL_DEPTH_TEST);

    Particle *nGreen = new Particle();
    nGreen->SetPosition(120.0f, 20.0f, 0.0f);
    nGreen->SetColour(ColorRGBA{0.0f, 1.0f, 0.0f, 1.0f});
    nEntities->AddParticle(nGreen);
    // A faded particle blends half into the black behind it.
    Particle *nFaded = new Particle();
    nFaded->SetPosition(140.0f, 40.0f, 0.0f);
    nFaded->SetColour(ColorRGBA{1.0f, 0.0f, 0.0f, 0.5f});
    nEntities->AddParticle(nFaded);

    const GLint tDepth = ModelviewDepth();
    nEntities->Render();
    ExpectStateUntouched(tDepth);
    EXPECT_EQ(ReadPixel(19, 19), 0x00FF00FFu);
    EXPECT_EQ(ReadPixel(21, 21), 0x00FF00FFu);
    EXPECT_EQ(ReadPixel(23, 23), 0u);
    const uint32_t tFaded = ReadPixel(40, 40);
    EXPECT_NEAR((int)(tFaded >> 24), 128, 2);
    EXPECT_EQ((tFaded >> 8) & 0xFFFFu, 0u);

    delete nEntities;
    delete nCameras;
}

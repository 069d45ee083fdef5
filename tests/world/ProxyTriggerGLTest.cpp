#include <gtest/gtest.h>

#include <GL/gl.h>

#include "support/RenderTestDisplay.h"
#include "support/SavedApplication.h"
#include "core/OptionsManager.h"
#include "core/Utilities.h"
#include "core/render/GLState.h"
#include "world/Camera.h"
#include "world/CameraManager.h"
#include "world/EntityManager.h"
#include "world/ProxyTrigger.h"
#include "world/SpawnManager.h"
#include "world/ZoneTrigger.h"

// Trigger outlines drawn as the game draws them: the entity manager's triggers, then the
// spawn manager's points, while "ShowHitboxes" is on.
class ProxyTriggerGLTest : public DisplaySuite
{
protected:
    void SetUp() override
    {
        DisplaySuite::SetUp();
        if(IsSkipped()) return;
        mSaved.Save();
        Application *rApp = GetApplication();
        rApp->mDataLibrary = nullptr;
        rApp->mOptionsManager = new OptionsManager();
        OptionsManager::Get()->Bind("ShowHitboxes", &mShow, TYPEDVALUE_BOOL);
        rApp->mCameraManager = new CameraManager();
        rApp->mEntityManager = new EntityManager();
        rApp->mEntityManager->CreateSpecialLists();
        rApp->mSpawnManager = new SpawnManager();
    }
    void TearDown() override
    {
        if(!sHaveDisplay) return;
        Application *rApp = GetApplication();
        delete rApp->mSpawnManager;
        delete rApp->mEntityManager;
        delete rApp->mCameraManager;
        delete rApp->mOptionsManager;
        mSaved.Restore();
    }

    void DrawFrame()
    {
        GLState::Begin2D(480, 360);
        glDisable(GL_DEPTH_TEST);
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        EntityManager::Fetch()->Render();
        SpawnManager::Get()->RenderHitboxes();
        GLState::End2D();
    }

    // How many lit pixels the view square (x - 2, y - 2)..(x + 2, y + 2) holds.
    static int32_t LitPixels(int32_t pX, int32_t pY)
    {
        uint8_t tPixels[5 * 5 * 4];
        glReadPixels(pX - 2, 359 - (pY + 2), 5, 5, GL_RGBA, GL_UNSIGNED_BYTE, tPixels);
        int32_t tCount = 0;
        for(int32_t i = 0; i < 25; i++)
        {
            const uint8_t *rPixel = &tPixels[i * 4];
            if(rPixel[0] > 100 || rPixel[1] > 100 || rPixel[2] > 100) tCount++;
        }
        return tCount;
    }

    SavedApplication mSaved;
    uint8_t mShow = 0;
};

// A trigger a script made, a zone trigger and a spawn point, side by side: at every camera
// position each outline's top edge lies on its trigger's top edge in the view, and nothing is
// drawn inside them; with the hitbox view off nothing is drawn at all.
TEST_F(ProxyTriggerGLTest, EveryTriggerOutlineStaysOnItsTriggerWhereverTheCameraIs)
{
    ProxyTrigger *nScripted = new ProxyTrigger();
    nScripted->SetName("Pit");
    nScripted->SetRect(40.0f, 300.0f, 120.0f, 380.0f);
    EntityManager::Fetch()->RegisterEntity(nScripted->GetName(), nScripted, DeleteRootObject);
    ZoneTrigger *nZone = new ZoneTrigger();
    nZone->SetName("Zone");
    nZone->SetRectCount(1);
    nZone->SetRect(0, 200.0f, 300.0f, 280.0f, 380.0f);
    EntityManager::Fetch()->RegisterEntity(nZone->GetName(), nZone, DeleteRootObject);
    EnemySpawnTrigger *nPoint = new EnemySpawnTrigger();
    nPoint->SetName("Point");
    nPoint->SetRect(360.0f, 300.0f, 440.0f, 380.0f);
    SpawnManager::Get()->AddSpawnPoint(nPoint);
    const float cLefts[3] = {40.0f, 200.0f, 360.0f};

    DrawFrame();
    for(float tLft : cLefts) EXPECT_EQ(LitPixels((int32_t)tLft + 40, 300), 0);

    mShow = 1;
    testing::internal::CaptureStderr();
    const int32_t cViews[][2] = {{0, 0}, {0, 152}, {30, 100}, {10, 200}};
    for(const int32_t *rView : cViews)
    {
        CameraManager::Fetch()->GetActiveCamera()->ForceTo(rView[0], rView[1]);
        DrawFrame();
        for(float tLft : cLefts)
        {
            SCOPED_TRACE(testing::Message() << "camera at " << rView[0] << ", " << rView[1] << "; trigger at " << tLft);
            const int32_t tX = (int32_t)tLft + 40 - rView[0];
            EXPECT_GT(LitPixels(tX, 300 - rView[1]), 0);
            EXPECT_EQ(LitPixels(tX, 340 - rView[1]), 0);
        }
    }
    testing::internal::GetCapturedStderr();
}

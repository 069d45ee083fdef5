#include <gtest/gtest.h>

#include <GL/gl.h>

#include "support/RenderTestDisplay.h"
#include "support/SavedApplication.h"
#include "core/OptionsManager.h"
#include "core/Utilities.h"
#include "core/render/GLState.h"
#include "world/Camera.h"
#include "world/CameraManager.h"
#include "world/ProxyTrigger.h"

// A trigger draws its outline, in the camera's view, only while "ShowHitboxes" is on.
class ProxyTriggerGLTest : public DisplaySuite
{
protected:
    void SetUp() override
    {
        DisplaySuite::SetUp();
        if(IsSkipped()) return;
        mSaved.Save();
        GetApplication()->mOptionsManager = new OptionsManager();
        OptionsManager::Get()->Bind("ShowHitboxes", &mShow, TYPEDVALUE_BOOL);
        GetApplication()->mCameraManager = new CameraManager();
    }
    void TearDown() override
    {
        if(!sHaveDisplay) return;
        delete GetApplication()->mCameraManager;
        delete GetApplication()->mOptionsManager;
        mSaved.Restore();
    }

    // How many pixels of the outline's colour lie in the view square (x0, y0)..(x0 + 4, y0 + 4).
    int32_t OutlinePixels(ProxyTrigger &pTrigger, int32_t pX0, int32_t pY0)
    {
        GLState::Begin2D(480, 360);
        glDisable(GL_DEPTH_TEST);
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        pTrigger.Render();
        GLState::End2D();
        uint8_t tPixels[5 * 5 * 4];
        glReadPixels(pX0, 359 - (pY0 + 4), 5, 5, GL_RGBA, GL_UNSIGNED_BYTE, tPixels);
        int32_t tCount = 0;
        for(int32_t i = 0; i < 25; i++)
        {
            const uint8_t *rPixel = &tPixels[i * 4];
            if(rPixel[0] > 190 && rPixel[1] > 150 && rPixel[1] < 190 && rPixel[2] > 195) tCount++;
        }
        return tCount;
    }

    SavedApplication mSaved;
    uint8_t mShow = 0;
};

TEST_F(ProxyTriggerGLTest, TheOutlineShowsOnlyWithTheHitboxViewAndFollowsTheCamera)
{
    ProxyTrigger tTrigger;
    tTrigger.SetRect(40.0f, 40.0f, 72.0f, 72.0f);
    EXPECT_EQ(OutlinePixels(tTrigger, 54, 38), 0);
    mShow = 1;
    EXPECT_GT(OutlinePixels(tTrigger, 54, 38), 0);
    EXPECT_EQ(OutlinePixels(tTrigger, 54, 54), 0);
    // The view moved 20 right: the outline's top edge is drawn 20 further left.
    CameraManager::Fetch()->GetActiveCamera()->ForceTo(20, 0);
    EXPECT_GT(OutlinePixels(tTrigger, 34, 38), 0);
    EXPECT_EQ(OutlinePixels(tTrigger, 54, 38), 0);
}

#pragma once

#include <allegro5/allegro.h>
#include <cstdlib>
#include <gtest/gtest.h>
#include <allegro5/allegro_image.h>
#include <GL/gl.h>
#include <cstdint>

#include "core/Application.h"
#include "core/render/DisplayManager.h"
#include "core/render/GLState.h"
#include "core/render/GLEntryPoints.h"

// A real OpenGL display for the GL suites, made through the display manager the way boot
// makes it, and removed again so other suites see an Application without one. Returns false
// (the suite skips) when no display can be made, e.g. without an X server.
inline bool OpenTestDisplay(int32_t pWidth, int32_t pHeight)
{
    if (!getenv("DISPLAY") || !al_init()) return false;
    al_init_image_addon();
    Application *rApp = GetApplication();
    if (rApp->mDisplayManager) return rApp->mDisplay != nullptr;
    rApp->mWindowWidth = pWidth;
    rApp->mWindowHeight = pHeight;
    rApp->mVirtualWidth = 480;
    rApp->mVirtualHeight = 360;
    rApp->mDisplayManager = new DisplayManager();
    if (!rApp->mDisplay)
    {
        delete rApp->mDisplayManager;
        rApp->mDisplayManager = nullptr;
        rApp->mQuitFlag = 0;
        return false;
    }
    LoadGLEntryPoints();
    return true;
}

inline void CloseTestDisplay()
{
    Application *rApp = GetApplication();
    delete rApp->mDisplayManager;
    rApp->mDisplayManager = nullptr;
    if (rApp->mDisplay) al_destroy_display(rApp->mDisplay);
    rApp->mDisplay = nullptr;
}

// A suite that draws on a real display: one display for the whole suite, and every test
// skipped when none can be made. A derived SetUp calls this one and returns if IsSkipped().
class DisplaySuite : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        sHaveDisplay = OpenTestDisplay(480, 360);
    }
    static void TearDownTestSuite()
    {
        CloseTestDisplay();
    }
    void SetUp() override
    {
        if(!sHaveDisplay) GTEST_SKIP() << "no OpenGL display";
    }

    static inline bool sHaveDisplay = false;
};

// The colour at view point (x, y) of a 480 by 360 test display: GL counts rows from the bottom.
inline void ReadViewPixel(int32_t pViewX, int32_t pViewY, uint8_t *sPixel)
{
    glReadPixels(pViewX, 359 - pViewY, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, sPixel);
}

// Starts a frame on the 480 by 360 test display drawn as the game draws sprites: no depth test,
// only texels with some alpha, colour and stencil cleared. EndSpriteFrame puts the state back.
inline void BeginSpriteFrame(float pRed, float pGreen, float pBlue)
{
    GLState::Begin2D(480, 360);
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_ALPHA_TEST);
    glAlphaFunc(GL_GREATER, 0.0f);
    glClearColor(pRed, pGreen, pBlue, 1);
    glClearStencil(0);
    glClear(GL_COLOR_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
}

inline void EndSpriteFrame()
{
    glDisable(GL_ALPHA_TEST);
    GLState::End2D();
}

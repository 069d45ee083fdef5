#pragma once

#include <cstdint>
#include <cstdlib>

#include <allegro5/allegro.h>
#include <allegro5/allegro_image.h>
#include <GL/gl.h>

#include "core/render/Drawing.h"
#include "core/render/GLEntryPoints.h"

// One OpenGL window shared by a GL test suite: SetUpTestSuite opens it, SetUp skips when there
// is none (no X server), TearDownTestSuite releases the drawing lists and closes it. Each test
// starts with a cleared 64 x 64 y-down 2D view, texturing on, blending off.
class GLTestContext : public ::testing::Test
{
public:
    static const int32_t cSize = 64;

    static void SetUpTestSuite()
    {
        sDisplay = nullptr;
        if(!getenv("DISPLAY") || !al_init() || !al_init_image_addon()) return;
        al_set_new_display_flags(ALLEGRO_WINDOWED | ALLEGRO_OPENGL);
        sDisplay = al_create_display(cSize, cSize);
        if(!sDisplay) return;
        LoadGLEntryPoints();
        // Lists built in an earlier suite's context are gone with it; start a fresh set here.
        ReleaseDrawingLists();
    }

    static void TearDownTestSuite()
    {
        if(!sDisplay) return;
        ReleaseDrawingLists();
        al_destroy_display(sDisplay);
        sDisplay = nullptr;
    }

protected:
    void SetUp() override
    {
        if(!sDisplay) GTEST_SKIP() << "no display can be created (no $DISPLAY); run under Xvfb";
        al_set_target_backbuffer(sDisplay);
        glViewport(0, 0, cSize, cSize);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(0, cSize, cSize, 0, -1, 1);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glDisable(GL_DEPTH_TEST);
        glDisable(GL_BLEND);
        glDisable(GL_ALPHA_TEST);
        glEnable(GL_TEXTURE_2D);
        glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
        glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
        glClear(GL_COLOR_BUFFER_BIT);
    }

    // RGBA of the window pixel at (x, y) counted from the top left, as 0xRRGGBBAA.
    static uint32_t ReadPixel(int32_t pX, int32_t pY)
    {
        uint8_t tPixel[4] = {0, 0, 0, 0};
        glFinish();
        glReadPixels(pX, cSize - 1 - pY, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, tPixel);
        return ((uint32_t)tPixel[0] << 24) | ((uint32_t)tPixel[1] << 16) | ((uint32_t)tPixel[2] << 8) | tPixel[3];
    }

    static GLint ModelviewDepth()
    {
        GLint tDepth = 0;
        glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &tDepth);
        return tDepth;
    }

    static ALLEGRO_DISPLAY *sDisplay;
};

inline ALLEGRO_DISPLAY *GLTestContext::sDisplay = nullptr;

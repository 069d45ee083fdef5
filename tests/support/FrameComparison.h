#pragma once

#include <gtest/gtest.h>

#include <GL/gl.h>
#include <cstring>
#include <vector>

#include "core/render/GLState.h"

// Draws one scene two ways in an 800 x 600 window and expects the same colour and depth in
// every pixel: over the whole window (magnified 5 / 3), a letterbox (1.25, where pixel centres
// meet texel edges), and a small viewport (minified), at frames on whole units, on half units
// and off the scene. The scene function gets the way (0 the reference, 1 the one under test),
// the frame's top-left and runs inside the 480 x 360 view with the viewport set and both
// buffers cleared. The reference must draw at least the given number of pixels each time.
template <typename SceneFunc> void ExpectSameFrames(SceneFunc pScene, int32_t pMinDrawn)
{
    const int32_t cW = 800;
    const int32_t cH = 600;
    const GLint cViewports[][4] = {{0, 0, 800, 600}, {100, 30, 600, 450}, {13, 7, 200, 150}};
    const float cFrames[][2] = {{0.0f, 0.0f}, {7.3f, 10.7f}, {32.5f, 0.5f}, {-20.0f, 60.0f}, {70.25f, -3.1f}};
    std::vector<uint8_t> tColour[2];
    std::vector<uint32_t> tDepth[2];
    for(const GLint *rViewport : cViewports)
    {
        for(const float *rFrame : cFrames)
        {
            for(int32_t tWay = 0; tWay < 2; tWay++)
            {
                GLState::Begin2D(480, 360);
                glViewport(0, 0, cW, cH);
                glClearColor(0.2f, 0.3f, 0.5f, 1.0f);
                glClearDepth(1.0);
                glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
                glViewport(rViewport[0], rViewport[1], rViewport[2], rViewport[3]);
                pScene(tWay, rFrame[0], rFrame[1]);
                GLState::End2D();
                glFinish();
                tColour[tWay].assign((size_t)cW * cH * 4, 0);
                tDepth[tWay].assign((size_t)cW * cH, 0);
                glReadPixels(0, 0, cW, cH, GL_RGBA, GL_UNSIGNED_BYTE, tColour[tWay].data());
                glReadPixels(0, 0, cW, cH, GL_DEPTH_COMPONENT, GL_UNSIGNED_INT, tDepth[tWay].data());
            }
            int32_t tDrawn = 0;
            int32_t tColourDiffs = 0;
            int32_t tDepthDiffs = 0;
            for(size_t i = 0; i < tDepth[0].size(); i++)
            {
                if(tDepth[0][i] != 0xFFFFFFFFu) tDrawn++;
                if(tDepth[0][i] != tDepth[1][i]) tDepthDiffs++;
                if(memcmp(&tColour[0][i * 4], &tColour[1][i * 4], 4) != 0) tColourDiffs++;
            }
            EXPECT_EQ(tColourDiffs, 0) << "viewport " << rViewport[2] << " frame " << rFrame[0] << "," << rFrame[1];
            EXPECT_EQ(tDepthDiffs, 0) << "viewport " << rViewport[2] << " frame " << rFrame[0] << "," << rFrame[1];
            EXPECT_GT(tDrawn, pMinDrawn) << "viewport " << rViewport[2] << " frame " << rFrame[0] << "," << rFrame[1];
        }
    }
}

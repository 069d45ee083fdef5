#pragma once

#include <cstdint>

#include "core/render/AlphaCoverage.h"

// Pushing and popping of OpenGL state around drawing, and the 2D projection every frame uses.
// All of them need a current GL context.
namespace GLState
{
    // Modelview matrix and every attribute group.
    void PushAll();
    void PopAll();
    void PushAttrib();
    void PopAttrib();

    // Orthographic projection of w by h units with y growing downwards; pushes the projection
    // and modelview matrices and every attribute group. End2D undoes it.
    void Begin2D(int32_t pWidth, int32_t pHeight);

    // Begin2D over the logical view, then the viewport of the letterbox rectangle when it has
    // a size (a zero rectangle leaves the whole window as the viewport).
    void Begin2DView();

    void End2D();

    // Blending by the source's alpha: what is drawn covers what lies under it as far as it is
    // opaque.
    void BlendByAlpha();
    // Fragments of alpha 0 are dropped, so a picture's clear texels write neither colour nor
    // depth.
    void DropClearFragments();
    // Both of the above.
    void BlendByAlphaDroppingClear();

    // A perspective projection for drawing in depth, y growing downwards like the 2D view:
    // the near plane (z = -1) spans x -1..1 and y -0.75..0.75 (the view's 4:3), the far one
    // lies at z = -256. Pushes the projection and modelview matrices, both identity, and every
    // attribute group; End3D pops them. The game itself draws only in 2D.
    void Begin3D();
    void End3D();

    // How the current modelview, projection and viewport place the xy plane in the window, and
    // the window box drawing can reach (the viewport, within the scissor box when that is on).
    // False when the transform rotates, shears, lets z move x or y, or divides by w.
    bool GetWindowMapping(CoverageMapping &sMapping, CoverageBox &sClip);
}

#include "core/render/GLState.h"

#include <GL/gl.h>

#include "core/Application.h"
#include "core/render/DisplayManager.h"

// Every attribute group: what a drawing routine changes is restored whatever it touched.
static const GLbitfield cAllAttributes = 0xFFFFF;

void GLState::PushAll()
{
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glPushAttrib(cAllAttributes);
}

void GLState::PopAll()
{
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    glPopAttrib();
}

void GLState::PushAttrib()
{
    glPushAttrib(cAllAttributes);
}

void GLState::PopAttrib()
{
    glPopAttrib();
}

void GLState::Begin2D(int32_t pWidth, int32_t pHeight)
{
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0.0, pWidth, pHeight, 0.0, 0.0, 1.0);
    glPushMatrix();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glPushMatrix();
    glPushAttrib(cAllAttributes);
}

void GLState::Begin2DView()
{
    Application *rApp = GetApplication();
    Begin2D(rApp->mVirtualWidth, rApp->mVirtualHeight);
    const ViewportRect &rRect = DisplayManager::GetLetterbox();
    if (rRect.mW != 0 && rRect.mH != 0)
    {
        glViewport(rRect.mX, rRect.mY, rRect.mW, rRect.mH);
    }
}

void GLState::End2D()
{
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glPopAttrib();
}

void GLState::BlendByAlpha()
{
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
}

void GLState::DropClearFragments()
{
    glEnable(GL_ALPHA_TEST);
    glAlphaFunc(GL_GREATER, 0.0f);
}

void GLState::BlendByAlphaDroppingClear()
{
    BlendByAlpha();
    DropClearFragments();
}

void GLState::Begin3D()
{
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glPushMatrix();
    glFrustum(-1.0, 1.0, 0.75, -0.75, 1.0, 256.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glPushMatrix();
    glPushAttrib(cAllAttributes);
}

// Both projections push the same two matrices and the attributes, so one set of pops undoes
// either.
void GLState::End3D()
{
    End2D();
}

bool GLState::GetWindowMapping(CoverageMapping &sMapping, CoverageBox &sClip)
{
    GLdouble tModel[16];
    GLdouble tProjection[16];
    GLint tViewport[4];
    glGetDoublev(GL_MODELVIEW_MATRIX, tModel);
    glGetDoublev(GL_PROJECTION_MATRIX, tProjection);
    glGetIntegerv(GL_VIEWPORT, tViewport);
    // Column-major: element (row r, column c) sits at c * 4 + r.
    GLdouble tAll[16];
    for(int32_t c = 0; c < 4; c++)
    {
        for(int32_t r = 0; r < 4; r++)
        {
            GLdouble tSum = 0.0;
            for(int32_t k = 0; k < 4; k++) tSum += tProjection[k * 4 + r] * tModel[c * 4 + k];
            tAll[c * 4 + r] = tSum;
        }
    }
    const GLdouble tW = tAll[15];
    if(tAll[1] != 0.0 || tAll[4] != 0.0 || tAll[8] != 0.0 || tAll[9] != 0.0) return false;
    if(tAll[3] != 0.0 || tAll[7] != 0.0 || tAll[11] != 0.0 || tW == 0.0) return false;
    const double tHalfW = tViewport[2] * 0.5;
    const double tHalfH = tViewport[3] * 0.5;
    sMapping.mScaleX = tAll[0] / tW * tHalfW;
    sMapping.mOffsetX = tViewport[0] + (tAll[12] / tW + 1.0) * tHalfW;
    sMapping.mScaleY = tAll[5] / tW * tHalfH;
    sMapping.mOffsetY = tViewport[1] + (tAll[13] / tW + 1.0) * tHalfH;

    sClip.mX = tViewport[0];
    sClip.mY = tViewport[1];
    sClip.mW = tViewport[2];
    sClip.mH = tViewport[3];
    if(glIsEnabled(GL_SCISSOR_TEST))
    {
        GLint tScissor[4];
        glGetIntegerv(GL_SCISSOR_BOX, tScissor);
        const int32_t tRight = sClip.mX + sClip.mW < tScissor[0] + tScissor[2] ? sClip.mX + sClip.mW : tScissor[0] + tScissor[2];
        const int32_t tTop = sClip.mY + sClip.mH < tScissor[1] + tScissor[3] ? sClip.mY + sClip.mH : tScissor[1] + tScissor[3];
        if(tScissor[0] > sClip.mX) sClip.mX = tScissor[0];
        if(tScissor[1] > sClip.mY) sClip.mY = tScissor[1];
        sClip.mW = tRight > sClip.mX ? tRight - sClip.mX : 0;
        sClip.mH = tTop > sClip.mY ? tTop - sClip.mY : 0;
    }
    return true;
}

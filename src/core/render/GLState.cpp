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

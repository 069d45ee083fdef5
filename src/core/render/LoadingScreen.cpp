#include "core/render/LoadingScreen.h"

#include <allegro5/allegro.h>
#include <cstdio>

#include <GL/gl.h>

#include "core/Application.h"
#include "core/DebugPrint.h"
#include "core/render/Bitmap.h"
#include "core/render/Drawing.h"
#include "core/render/GLState.h"

#define LOADING_REDRAW_INTERVAL 0.01667
#define LOADING_BAR_HEIGHT 20
#define LOADING_FRAME_SIZE 96

namespace
{
    void DrawPicture(Bitmap *pImage, float pLeft, float pTop, float pRight, float pBottom)
    {
        // A picture that failed to load has no texture and would show as a white block.
        if (!pImage || pImage->GetTexture() == 0) return;
        pImage->Bind();
        glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
        DrawBoundTextureRect(pLeft, pTop, pRight, pBottom, 0.0f, 0.0f, 1.0f, 1.0f);
    }
}

LoadingScreen *GetLoadingScreen()
{
    return GetApplication()->mLoadingScreen;
}

LoadingScreen::LoadingScreen()
    : mActive(0), mCalls(0), mFrames(0), mExpected(1), mFrameDivisor(8), mNoBackground(0),
      mBackground(nullptr), mLastRedrawTime(0.0), mSuppress(0)
{
    for (int32_t i = 0; i < LOADING_FRAME_COUNT; i++) mFrameImages[i] = nullptr;
}

LoadingScreen::~LoadingScreen()
{
    for (int32_t i = 0; i < LOADING_FRAME_COUNT; i++) delete mFrameImages[i];
    delete mBackground;
    Application *rApp = GetApplication();
    if (rApp->mLoadingScreen == this)
    {
        rApp->mLoadingScreen = nullptr;
        SetLoadInterruptHook(nullptr);
    }
}

void LoadingScreen::Boot()
{
    mActive = 1;
    char tPath[64];
    for (int32_t i = 0; i < LOADING_FRAME_COUNT; i++)
    {
        snprintf(tPath, sizeof(tPath), "Data/Graphics/Loading/LoadImage%i.png", (int)i);
        delete mFrameImages[i];
        mFrameImages[i] = Bitmap::LoadFromFile(tPath);
    }
    delete mBackground;
    mBackground = Bitmap::LoadFromFile("Data/Graphics/Loading/Background.png");
    SetLoadInterruptHook(LoadInterrupt);
}

void LoadingScreen::Begin(int32_t pExpected)
{
    mLastRedrawTime = al_get_time();
    mFrames = 0;
    mCalls = 0;
    mExpected = pExpected < 1 ? 1 : pExpected;
}

void LoadingScreen::PrintReport()
{
    fprintf(stderr, "[Load Interrupt]\n");
    fprintf(stderr, " Completed loading action!\n");
    fprintf(stderr, " Counter was %i/%i\n", (int)mCalls, (int)mExpected);
    mActive = 0;
}

bool LoadingScreen::Advance(double pNow)
{
    mCalls++;
    if (pNow - mLastRedrawTime <= LOADING_REDRAW_INTERVAL) return false;
    mLastRedrawTime = pNow;
    mFrames++;
    return true;
}

int32_t LoadingScreen::GetFrameIndex() const
{
    return (mFrames / mFrameDivisor) % LOADING_FRAME_COUNT;
}

float LoadingScreen::GetProgress() const
{
    float tProgress = (float)mCalls / (float)mExpected;
    if (tProgress < 0.0f) return 0.0f;
    if (tProgress > 1.0f) return 1.0f;
    return tProgress;
}

void LoadingScreen::Render()
{
    if (!GetApplication()->mDisplay) return;
    Draw();
    al_flip_display();
}

void LoadingScreen::Draw()
{
    Application *rApp = GetApplication();
    if (!rApp->mDisplay) return;
    float tW = (float)rApp->mVirtualWidth;
    float tH = (float)rApp->mVirtualHeight;
    float tBarTop = tH - LOADING_BAR_HEIGHT;

    GLState::Begin2DView();
    glClearDepth(1.0);
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    GLState::BlendByAlpha();
    glEnable(GL_ALPHA_TEST);
    glAlphaFunc(GL_GEQUAL, 0.0f);

    glEnable(GL_TEXTURE_2D);
    if (!mNoBackground) DrawPicture(mBackground, 0.0f, 0.0f, tW, tBarTop);
    DrawPicture(mFrameImages[GetFrameIndex()], 0.0f, tBarTop - LOADING_FRAME_SIZE, (float)LOADING_FRAME_SIZE, tBarTop);

    glDisable(GL_TEXTURE_2D);
    glColor4f(0.0f, 0.5f, 0.0f, 1.0f);
    glBegin(GL_LINE_LOOP);
    glVertex2f(0.0f, tBarTop);
    glVertex2f(tW, tBarTop);
    glVertex2f(tW, tH);
    glVertex2f(0.0f, tH);
    glEnd();

    float tFill = (tW - 2.0f) * GetProgress() + 1.0f;
    DrawRectFilled(1.0f, tBarTop + 1.0f, tFill, tH - 1.0f, ColorRGBA::FromFloats(0.0f, 1.0f, 0.0f));

    GLState::End2D();
}

void LoadInterrupt()
{
    Debug::PushPrint(0, "[LoadInterrupt] Begin\n");
    LoadingScreen *rScreen = GetLoadingScreen();
    if (!rScreen || !rScreen->IsActive() || rScreen->GetSuppress() == 1)
    {
        Debug::PopPrint("[LoadInterrupt] Suppressed\n");
        return;
    }
    if (!rScreen->Advance(al_get_time()))
    {
        Debug::PopPrint("[LoadInterrupt] Too Soon\n");
        return;
    }
    rScreen->Render();
    Debug::PopPrint("[LoadInterrupt] Finished normally\n");
}

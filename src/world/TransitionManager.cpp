#include "world/TransitionManager.h"

#include <GL/gl.h>

#include "core/Application.h"
#include "core/data/DataLibrary.h"
#include "core/render/DisplayManager.h"
#include "core/render/Drawing.h"
#include "core/render/GLState.h"
#include "world/Executors.h"
#include "world/RootExecutor.h"

TransitionManager::TransitionManager()
    : mOwnsExecutor(0), rExecutor(nullptr), mState(TRANSITION_IDLE), mAlpha(0.0f),
      mFadeOutSpeed(TRANSITION_DEFAULT_FADE_SPEED), mFadeInSpeed(TRANSITION_DEFAULT_FADE_SPEED),
      mTexture(0)
{
}

TransitionManager::~TransitionManager()
{
    SetExecutor(nullptr, false);
    ReleaseTexture();
}

TransitionManager *TransitionManager::Get()
{
    return GetApplication()->mTransitionManager;
}

void TransitionManager::SetFadeSpeeds(float pFadeOut, float pFadeIn)
{
    mFadeOutSpeed = pFadeOut > 0.0f ? pFadeOut : TRANSITION_DEFAULT_FADE_SPEED;
    mFadeInSpeed = pFadeIn > 0.0f ? pFadeIn : TRANSITION_DEFAULT_FADE_SPEED;
}

// Script-made executors may still sit in the library's active slot or stack.
void TransitionManager::DeleteExecutor(RootExecutor *pExecutor)
{
    if(!pExecutor) return;
    DataLibrary *rLibrary = DataLibrary::Fetch();
    if(rLibrary) rLibrary->ForgetObject(pExecutor);
    delete pExecutor;
}

void TransitionManager::SetExecutor(RootExecutor *pExecutor, bool pOwns)
{
    if(mOwnsExecutor && rExecutor != pExecutor) DeleteExecutor(rExecutor);
    rExecutor = pExecutor;
    mOwnsExecutor = pOwns ? 1 : 0;
}

void TransitionManager::Begin(RootExecutor *pExecutor, bool pOwns)
{
    if(!pExecutor) return;
    SetExecutor(pExecutor, pOwns);
    mState = TRANSITION_CAPTURE;
    mAlpha = 0.0f;
}

void TransitionManager::BeginMapTransition(const char *pMapName, float pFadeOut, float pFadeIn)
{
    TransExec_AnyToMap *nExecutor = new TransExec_AnyToMap();
    nExecutor->SetLevelName(pMapName);
    SetFadeSpeeds(pFadeOut, pFadeIn);
    Begin(nExecutor, true);
}

bool TransitionManager::IsBlocking() const
{
    return mState == TRANSITION_FADE_OUT || mState == TRANSITION_EXECUTE;
}

void TransitionManager::Update()
{
    switch(mState)
    {
        case TRANSITION_FADE_OUT:
            mAlpha += mFadeOutSpeed;
            if(mAlpha >= 1.0f)
            {
                mAlpha = 1.0f;
                mState = TRANSITION_EXECUTE;
            }
            break;
        case TRANSITION_EXECUTE:
        {
            // The executor is detached and the fade-in set before it runs: whatever it starts
            // (another transition, even one carrying itself) stands, and it is not deleted
            // under its own feet.
            RootExecutor *rRunning = rExecutor;
            bool tOwned = mOwnsExecutor != 0;
            rExecutor = nullptr;
            mOwnsExecutor = 0;
            mState = TRANSITION_FADE_IN;
            if(rRunning) rRunning->Run();
            if(tOwned && rRunning != rExecutor) DeleteExecutor(rRunning);
            break;
        }
        case TRANSITION_FADE_IN:
            mAlpha -= mFadeInSpeed;
            if(mAlpha <= 0.0f)
            {
                mAlpha = 0.0f;
                mState = TRANSITION_RELEASE;
            }
            break;
        case TRANSITION_RELEASE:
            ReleaseTexture();
            mState = TRANSITION_IDLE;
            break;
        default:
            break;
    }
}

void TransitionManager::TakeCapture(uint32_t pTexture)
{
    if(mState != TRANSITION_CAPTURE) return;
    ReleaseTexture();
    mTexture = pTexture;
    mState = TRANSITION_FADE_OUT;
}

void TransitionManager::ReleaseTexture()
{
    if(mTexture == 0) return;
    GLuint tTexture = mTexture;
    glDeleteTextures(1, &tTexture);
    mTexture = 0;
}

// Copies the letterboxed view out of the back buffer, at the viewport's own size.
static uint32_t CaptureViewport()
{
    Application *rApp = GetApplication();
    ViewportRect tRect = DisplayManager::GetLetterbox();
    if(tRect.mW <= 0 || tRect.mH <= 0)
    {
        tRect.mX = 0;
        tRect.mY = 0;
        tRect.mW = rApp->mWindowWidth;
        tRect.mH = rApp->mWindowHeight;
    }
    if(tRect.mW <= 0 || tRect.mH <= 0) return 0;

    GLuint tTexture = 0;
    glGenTextures(1, &tTexture);
    if(tTexture == 0) return 0;
    glBindTexture(GL_TEXTURE_2D, tTexture);
    glReadBuffer(GL_BACK);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
    glCopyTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, tRect.mX, tRect.mY, tRect.mW, tRect.mH, 0);
    return tTexture;
}

void TransitionManager::Render()
{
    if(mState == TRANSITION_IDLE) return;
    GLState::PushAll();
    // Over the whole view whatever the caller translated by (the screen shake).
    glLoadIdentity();

    if(mState == TRANSITION_CAPTURE) TakeCapture(CaptureViewport());

    Application *rApp = GetApplication();
    float tViewW = (float)rApp->mVirtualWidth;
    float tViewH = (float)rApp->mVirtualHeight;
    if(mState == TRANSITION_FADE_OUT && mTexture)
    {
        int32_t tTexW = 0, tTexH = 0;
        GetTextureLevelSize(mTexture, tTexW, tTexH);
        // Back-buffer rows run bottom to top: the flip puts the frame's top row at the top.
        ColorRGBA tWhite = {1.0f, 1.0f, 1.0f, 1.0f};
        glEnable(GL_TEXTURE_2D);
        DrawTextureRegionScaled(mTexture, tWhite, (float)tTexW, (float)tTexH, 0.0f, 0.0f, tViewW, tViewH, 2);
    }

    ColorRGBA tBlack = {0.0f, 0.0f, 0.0f, mAlpha};
    ShadeView(tBlack);

    GLState::PopAll();
}

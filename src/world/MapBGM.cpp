#include "world/MapBGM.h"

#include <GL/gl.h>
#include <GL/glext.h>
#include <cstdio>
#include <cstdlib>

#include "core/NamedLinkedList.h"
#include "core/Utilities.h"
#include "core/data/DataLibrary.h"
#include "core/render/Bitmap.h"
#include "core/render/Drawing.h"
#include "core/render/GLState.h"
#include "world/Camera.h"

BackgroundPack::BackgroundPack() : mHolder(this, ReleaseImage), mName(nullptr)
{
    mActive = 0;
    mDepth = 0.0f;
    rImage = nullptr;
    mLft = 0.0f;
    mTop = 0.0f;
    mRgt = 0.0f;
    mBot = 0.0f;
    mAppearancesX = 1.0f;
    mAppearancesY = 1.0f;
    mForceScrollX = 0;
    mForceScrollY = 0;
    rMeasuredImage = nullptr;
    mVisibleFirstRow = 0;
    mVisibleEndRow = 0;
}

BackgroundPack::~BackgroundPack()
{
    free(mName);
}

void BackgroundPack::SetName(const char *pName)
{
    ResetString(&mName, pName);
}

void BackgroundPack::ReleaseImage(void *pOwner, void *pObject)
{
    BackgroundPack *rPack = static_cast<BackgroundPack *>(pOwner);
    if(rPack->rImage != pObject) return;
    rPack->rImage = nullptr;
    rPack->rMeasuredImage = nullptr;
    rPack->mActive = 0;
}

void BackgroundPack::SetImage(const char *pPath, const char *pCaller)
{
    DataLibrary *rLibrary = DataLibrary::Fetch();
    rImage = (rLibrary && pPath) ? mHolder.Hold(static_cast<Bitmap *>(rLibrary->LookUpQuietly(pPath, DL_KIND_BITMAP))) : nullptr;
    rMeasuredImage = nullptr;
    if(!rImage)
    {
        mActive = 0;
        fprintf(stderr, "%s: warning, pack %s names %s, which holds no picture; the pack draws nothing.\n", pCaller,
                GetName(), pPath ? pPath : "no path");
    }
    else if(rImage->GetWidth() < 1 || rImage->GetHeight() < 1)
    {
        fprintf(stderr, "%s: warning, pack %s shows %s, a picture with no pixels (its file was missing or "
                        "unreadable); the pack draws nothing.\n", pCaller, GetName(), pPath);
    }
}

void BackgroundPack::Activate()
{
    if(rImage) mActive = 1;
}

void BackgroundPack::SetAppearances(float pX, float pY)
{
    if(!rImage || !(pX > 0.0f) || !(pY > 0.0f)) return;
    if(rImage->GetWidth() == 0 || rImage->GetHeight() == 0) return;
    mAppearancesX = pX;
    mAppearancesY = pY;
}

// --- Parallax -------------------------------------------------------------------------------

BackgroundPlacement ComputeBackgroundPlacement(const BackgroundPack &pPack, const Hitbox &pFrame,
                                               float pTextureW, float pTextureH)
{
    BackgroundPlacement tPlace = {};
    const float tWidth = pPack.mRgt - pPack.mLft;
    const float tHeight = pPack.mBot - pPack.mTop;

    float tExtraX = 0.0f;
    const bool tSpansX = pFrame.mRgt >= pPack.mRgt && pPack.mLft >= pFrame.mLft;
    if(!tSpansX && tWidth >= BGPACK_SCROLL_MIN_WIDTH)
    {
        float tFx = (pFrame.mLft - pPack.mLft) / tWidth;
        if(tFx < 0.0f && pPack.mForceScrollX) tExtraX = -tFx;
        if(tFx > 1.0f && pPack.mForceScrollX) tExtraX = tFx - 1.0f;
        if(tFx < 0.0f) tFx = 0.0f;
        if(tFx > 1.0f) tFx = 1.0f;
        tPlace.mFractionX = tFx;
    }

    // A pack exactly one screen high has no room to scroll in: it stays put rather than
    // dividing by zero.
    const bool tSpansY = pFrame.mBot >= pPack.mBot && pPack.mTop >= pFrame.mTop;
    const float tRoomY = tHeight - BGPACK_SCROLL_MIN_HEIGHT;
    if(!tSpansY && tHeight >= BGPACK_SCROLL_MIN_HEIGHT && tRoomY > 0.0f)
    {
        float tFy = (pFrame.mTop - pPack.mTop) / tRoomY;
        if(tFy < 0.0f) tFy = 0.0f;
        if(tFy > 1.0f) tFy = 1.0f;
        tPlace.mFractionY = tFy;
    }

    const float tSpanX = pTextureW * pPack.mAppearancesX;
    const float tSpanY = pTextureH * pPack.mAppearancesY;
    tPlace.mOffsetX = tPlace.mFractionX * (tWidth - tSpanX);
    if(pTextureW > 0.0f) tPlace.mScrollU = tExtraX * (tWidth - tSpanX) / pTextureW;
    if(tSpanY > tHeight) tPlace.mOffsetY = tPlace.mFractionY * (tSpanY - tHeight);
    else tPlace.mOffsetY = tPlace.mFractionY * (tHeight - tSpanY);
    return tPlace;
}

// --- The map's packs ------------------------------------------------------------------------

// The library forgets a pack before it goes, so one left active by a map script never
// dangles there.
static void DeleteBackgroundPack(void *pPack)
{
    if(!pPack) return;
    DataLibrary *rLibrary = DataLibrary::Fetch();
    if(rLibrary) rLibrary->ForgetObject(pPack);
    delete static_cast<BackgroundPack *>(pPack);
}

MapBGM::MapBGM()
{
    mPacks = new NamedLinkedList(1);
}

MapBGM::~MapBGM()
{
    delete mPacks;
}

void MapBGM::AddPack(const char *pName, BackgroundPack *pPack)
{
    if(!pPack) return;
    pPack->SetName(pName);
    mPacks->AddElementWithDeleter(pName, pPack, DeleteBackgroundPack);
}

BackgroundPack *MapBGM::GetPack(const char *pName)
{
    return static_cast<BackgroundPack *>(mPacks->GetElementByName(pName));
}

int32_t MapBGM::GetCount() const
{
    return mPacks->GetCount();
}

void MapBGM::Clear()
{
    mPacks->Clear();
}

// The pack's quad from (0, 0) to (w, h) in the current matrix. The texture's top row is t = 0,
// as everywhere in the engine.
static void DrawPackQuad(const BackgroundPack &pPack, float pU, float pW, float pH)
{
    DrawBoundTextureRect(0.0f, 0.0f, pW, pH, pU, 0.0f, pU + pPack.mAppearancesX, pPack.mAppearancesY);
}

// A pack whose picture is clear above and below its scenery (hills, bushes) draws its quad
// only over the window rows that can show a visible texel row; the alpha test would discard
// the rest anyway. Only where that holds exactly: one repeat down at most (quad row y samples
// texel row y), nearest filtering, the alpha test passing alpha above 0 alone, plain texturing.
// Each row edge of the quad gets one texel of its own, since a sample there may wrap to the
// picture's other edge. False, with nothing drawn, where the rows cannot be used.
static bool DrawVisibleRows(BackgroundPack &rPack, float pU, float pW, float pH)
{
    if(!(rPack.mAppearancesY <= 1.0f)) return false;
    GLint tFunc = 0;
    GLfloat tReference = -1.0f;
    GLint tMin = 0;
    GLint tMag = 0;
    GLint tEnvMode = 0;
    GLint tProgram = 0;
    glGetIntegerv(GL_ALPHA_TEST_FUNC, &tFunc);
    glGetFloatv(GL_ALPHA_TEST_REF, &tReference);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &tMin);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &tMag);
    glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &tEnvMode);
    glGetIntegerv(GL_CURRENT_PROGRAM, &tProgram);
    if(!glIsEnabled(GL_ALPHA_TEST) || tFunc != GL_GREATER || tReference != 0.0f) return false;
    if(tMin != GL_NEAREST || tMag != GL_NEAREST || tEnvMode != GL_MODULATE || tProgram != 0) return false;

    if(rPack.rMeasuredImage != rPack.rImage)
    {
        GLint tTexW = 0;
        GLint tTexH = 0;
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &tTexW);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &tTexH);
        if(tTexW < 1 || tTexH < 1 || tTexW != rPack.rImage->GetWidth() || tTexH != rPack.rImage->GetHeight()) return false;
        uint8_t *tPixels = (uint8_t *)malloc((size_t)tTexW * tTexH * 4);
        if(!tPixels) return false;
        // Rows of four-byte texels always meet the default pack alignment.
        glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, tPixels);
        FindVisibleRows(tPixels, tTexW, tTexH, rPack.mVisibleFirstRow, rPack.mVisibleEndRow);
        free(tPixels);
        rPack.rMeasuredImage = rPack.rImage;
    }

    CoverageMapping tMapping;
    CoverageBox tClip;
    if(!GLState::GetWindowMapping(tMapping, tClip)) return false;
    // Row bands in texel rows: both edges of the quad and the visible rows with a texel either
    // side, sorted and merged where they meet, so no pixel is drawn twice.
    double tBands[3][2] = {{-1.0, 1.0}, {pH - 1.0, pH + 1.0}, {0.0, 0.0}};
    int32_t tCount = 2;
    if(rPack.mVisibleFirstRow < rPack.mVisibleEndRow)
    {
        tBands[2][0] = rPack.mVisibleFirstRow - 1.0;
        tBands[2][1] = rPack.mVisibleEndRow + 1.0;
        tCount = 3;
    }
    for(int32_t i = 1; i < tCount; i++)
    {
        for(int32_t j = i; j > 0 && tBands[j][0] < tBands[j - 1][0]; j--)
        {
            double tSwap[2] = {tBands[j][0], tBands[j][1]};
            tBands[j][0] = tBands[j - 1][0];
            tBands[j][1] = tBands[j - 1][1];
            tBands[j - 1][0] = tSwap[0];
            tBands[j - 1][1] = tSwap[1];
        }
    }
    glEnable(GL_SCISSOR_TEST);
    for(int32_t i = 0; i < tCount; i++)
    {
        const double tStart = tBands[i][0];
        double tEnd = tBands[i][1];
        while(i + 1 < tCount && tBands[i + 1][0] <= tEnd)
        {
            i++;
            if(tBands[i][1] > tEnd) tEnd = tBands[i][1];
        }
        int32_t tFirst = 0;
        int32_t tLast = 0;
        if(!MapTexelSpan(tMapping.mScaleY, tMapping.mOffsetY, tStart, tEnd, tClip.mY, tClip.mH, tFirst, tLast)) continue;
        glScissor(tClip.mX, tFirst, tClip.mW, tLast - tFirst);
        DrawPackQuad(rPack, pU, pW, pH);
    }
    return true;
}

void MapBGM::Render(const Camera *pCamera)
{
    if(!pCamera) return;
    const Hitbox tFrame = pCamera->GetFrame();
    for(void *rData = mPacks->PushIterator(); rData; rData = mPacks->IterateNext())
    {
        BackgroundPack *rPack = static_cast<BackgroundPack *>(rData);
        Bitmap *rImage = rPack->rImage;
        if(!rPack->mActive || !rImage) continue;
        if(!(rPack->mAppearancesX > 0.0f) || !(rPack->mAppearancesY > 0.0f)) continue;
        if(!pCamera->IsIntRectVisible(rPack->mLft, rPack->mTop, rPack->mRgt, rPack->mBot)) continue;

        const BackgroundPlacement tPlace = ComputeBackgroundPlacement(
            *rPack, tFrame, (float)rImage->GetTextureWidth(), (float)rImage->GetTextureHeight());
        GLState::PushAll();
        glTranslatef(rPack->mLft - tFrame.mLft, rPack->mTop - tFrame.mTop, rPack->mDepth);
        glTranslatef(tPlace.mOffsetX, tPlace.mOffsetY, 0.0f);
        glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
        glEnable(GL_TEXTURE_2D);
        rImage->Bind();
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
        rImage->ApplyOffset();
        const float tW = (float)rImage->GetWidth() * rPack->mAppearancesX;
        const float tH = (float)rImage->GetHeight() * rPack->mAppearancesY;
        if(!DrawVisibleRows(*rPack, tPlace.mScrollU, tW, tH)) DrawPackQuad(*rPack, tPlace.mScrollU, tW, tH);
        rImage->RemoveOffset();
        GLState::PopAll();
    }
}

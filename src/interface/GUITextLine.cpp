#include "interface/GUITextLine.h"

#include <GL/gl.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "core/Utilities.h"
#include "core/data/DataLibrary.h"
#include "core/render/Font.h"
#include "core/render/GLState.h"

// The font draws upwards from its baseline; the line's baseline sits this far below its top.
static const float cBaselineOffset = 31.0f;

GUITextLine::GUITextLine()
{
    mType = TYPE_GUITEXTLINE;
    SetName("Unnamed GUI TextLine");
    mText = nullptr;
    mFitWidth = 0;
    mCentre = 0;
    mAlignRight = 0;
    mXOffset = 0.0f;
    rFont = nullptr;
    mColour.Set(1.0f, 1.0f, 1.0f, 1.0f);
    mTextWidth = 0.0f;
    mScale = 1.0f;
    mDisplayList = 0;
}

GUITextLine::~GUITextLine()
{
    DropDisplayList();
    free(mText);
}

void GUITextLine::DropDisplayList()
{
    if(mDisplayList) glDeleteLists(mDisplayList, 1);
    mDisplayList = 0;
}

void GUITextLine::SetText(const char *pText)
{
    mXOffset = 0.0f;
    mTextWidth = 0.0f;
    ResetString(&mText, pText);
    DropDisplayList();
    if(!rFont || !mText) return;

    mTextWidth = (float)rFont->GetTextWidth(mText);
    if(mFitWidth) SetSize(mTextWidth, GetHeight());
    else if(mCentre) mXOffset = (GetWidth() - mTextWidth) / 2.0f;
    else if(mAlignRight) mXOffset = GetWidth() - mTextWidth;
}

void GUITextLine::SetNumber(int32_t pValue)
{
    char tBuffer[16];
    snprintf(tBuffer, sizeof(tBuffer), "%d", pValue);
    SetText(tBuffer);
}

void BuildFloatFormat(char *sFormat, int32_t pSize, int32_t pDecimals)
{
    if(!sFormat || pSize < 1) return;
    if(pDecimals < 0) pDecimals = 0;
    if(pDecimals > 9) pDecimals = 9;
    snprintf(sFormat, (size_t)pSize, "%%0.%if", pDecimals);
}

void GUITextLine::SetFloat(float pValue, int32_t pDecimals)
{
    char tFormat[8];
    BuildFloatFormat(tFormat, sizeof(tFormat), pDecimals);
    char tBuffer[64];
    snprintf(tBuffer, sizeof(tBuffer), tFormat, pValue);
    SetText(tBuffer);
}

// The joined text is allocated to its full length, so no pair of texts is cut.
void GUITextLine::AppendText(const char *pText)
{
    if(!pText) return;
    size_t tOld = mText ? strlen(mText) : 0;
    size_t tAdd = strlen(pText);
    char *nJoined = (char *)malloc(tOld + tAdd + 1);
    if(!nJoined) return;
    if(tOld) memcpy(nJoined, mText, tOld);
    memcpy(nJoined + tOld, pText, tAdd);
    nJoined[tOld + tAdd] = '\0';
    SetText(nJoined);
    free(nJoined);
}

void GUITextLine::AppendChar(char pCharacter)
{
    char tText[2] = {pCharacter, '\0'};
    AppendText(tText);
}

char *GUITextLine::GetText() const
{
    char *nCopy = nullptr;
    ResetString(&nCopy, mText);
    return nCopy;
}

void GUITextLine::SetFont(Font *pFont)
{
    rFont = HoldLibraryObject(pFont);
}

void GUITextLine::SetFontByName(const char *pPath)
{
    DataLibrary *rLibrary = DataLibrary::Fetch();
    SetFont(rLibrary ? static_cast<Font *>(rLibrary->GetEntryOfKind(pPath, DL_KIND_FONT)) : nullptr);
}

// The compiled list holds the font's glyphs; the line keeps its text and draws nothing.
void GUITextLine::ReleaseLibraryObject(void *pObject)
{
    if(rFont != pObject) return;
    rFont = nullptr;
    DropDisplayList();
}

void GUITextLine::SetColour(float pR, float pG, float pB, float pA)
{
    mColour.Set(pR, pG, pB, pA);
}

void GUITextLine::SetFitWidth(uint8_t pFlag)
{
    mFitWidth = pFlag ? 1 : 0;
    if(mFitWidth) mCentre = mAlignRight = 0;
}

void GUITextLine::SetCentre(uint8_t pFlag)
{
    mCentre = pFlag ? 1 : 0;
    if(mCentre) mFitWidth = mAlignRight = 0;
}

void GUITextLine::SetAlignRight(uint8_t pFlag)
{
    mAlignRight = pFlag ? 1 : 0;
    if(mAlignRight) mFitWidth = mCentre = 0;
}

void GUITextLine::SetDefaults()
{
    SetFontByName("Root/Fonts/All/All/Intuitive");
    mColour = ColorRGBA::FromBytes(120, 68, 30);
    mScale = 1.0f;
}

void GUITextLine::Render()
{
    GLState::PushAll();
    glTranslatef(mX1, mY1, 0.0f);
    glScalef(1.0f, -1.0f, 1.0f);
    if(mCentre && rFont) glTranslatef((float)(int32_t)((GetWidth() - mTextWidth * mScale) / 2.0f), 0.0f, 0.0f);
    if(rFont && mText)
    {
        rFont->BindCacheTexture();
        if(!mDisplayList)
        {
            mDisplayList = glGenLists(1);
            glNewList(mDisplayList, GL_COMPILE_AND_EXECUTE);
            glTranslatef(0.0f, cBaselineOffset, 0.0f);
            glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
            glScalef(mScale, mScale, mScale);
            rFont->DrawTextList(mText);
            glScalef(1.0f / mScale, 1.0f / mScale, 1.0f / mScale);
            glTranslatef(0.0f, -cBaselineOffset, 0.0f);
            glEndList();
        }
        else
        {
            glCallList(mDisplayList);
        }
    }
    glScalef(1.0f, -1.0f, 1.0f);
    DrawChildren();
    GLState::PopAll();
}

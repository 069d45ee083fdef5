#pragma once
#include <cstdint>

#include "core/render/Drawing.h"
#include "interface/GUIBaseObject.h"

class Font;

// One line of text in a font. The width of the text is measured when it is set, so layout
// modes (fit the rectangle to the text, centre it, align it right) apply at once; drawing
// compiles the text into a display list that lives until the text changes.
class GUITextLine : public GUIBaseObject
{
public:
    GUITextLine();
    ~GUITextLine() override;

    void SetText(const char *pText);
    void SetNumber(int32_t pValue);
    void SetFloat(float pValue, int32_t pDecimals);
    void AppendText(const char *pText);
    void AppendChar(char pCharacter);
    // A new copy (malloc) the caller frees; null when there is no text.
    char *GetText() const;
    const char *PeekText() const { return mText; }
    int32_t GetTextWidth() const { return (int32_t)mTextWidth; }
    float GetXOffset() const { return mXOffset; }

    void SetFont(Font *pFont);
    void SetFontByName(const char *pPath);
    Font *GetFont() const { return rFont; }
    void SetColour(float pR, float pG, float pB, float pA);
    ColorRGBA GetColour() const { return mColour; }
    void SetScale(float pScale) { mScale = pScale; }
    float GetScale() const { return mScale; }
    // The three modes exclude each other: setting one clears the other two.
    void SetFitWidth(uint8_t pFlag);
    void SetCentre(uint8_t pFlag);
    void SetAlignRight(uint8_t pFlag);
    void SetDefaults();

    void Render() override;
    void ReleaseLibraryObject(void *pObject) override;

private:
    void DropDisplayList();

    char *mText;
    uint8_t mFitWidth;
    uint8_t mCentre;
    uint8_t mAlignRight;
    float mXOffset;
    Font *rFont;
    ColorRGBA mColour;
    float mTextWidth;
    float mScale;
    uint32_t mDisplayList;
};

// printf format of SetFloat for a number of decimals, clamped to 0..9 ("%0.Nf").
void BuildFloatFormat(char *sFormat, int32_t pSize, int32_t pDecimals);

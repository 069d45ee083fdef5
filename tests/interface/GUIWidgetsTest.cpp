#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "interface/GUIButton.h"
#include "interface/GUIImage.h"
#include "interface/GUIScrollBar.h"
#include "interface/GUITextLine.h"
#include "world/RootExecutor.h"
#include "ScreensFixture.h"

namespace
{
    class CountingExecutor : public RootExecutor
    {
    public:
        explicit CountingExecutor(int32_t *pCounter) : rCounter(pCounter) {}
        void Execute() override { (*rCounter)++; }
        int32_t *rCounter;
    };

    class GUIWidgetsTest : public ScreensFixture
    {
    protected:
        // Dispatch as the GUI does: hover first, then the handler.
        bool Event(GUIBaseObject *pObject, int32_t pCode, int32_t pX, int32_t pY)
        {
            return pObject->Dispatch(pCode, pX, pY);
        }
    };
}

TEST_F(GUIWidgetsTest, AButtonClicksOnlyWhenPressedAndReleasedOnItAndConsumesPressAndClick)
{
    GUIButton *nButton = new GUIButton();
    nButton->SetRect(10, 10, 50, 30);
    mGUI->AddObject("Button", nButton);
    int32_t tRuns = 0;
    nButton->AddAction(new CountingExecutor(&tRuns), true);
    CountingExecutor tBorrowed(&tRuns);
    nButton->AddAction(&tBorrowed, false);
    nButton->AddAction(nullptr, true);
    EXPECT_EQ(2, nButton->GetActionCount());

    // A tick never consumes; hovering shows the hover state.
    EXPECT_FALSE(Event(nButton, -1, 20, 20));
    EXPECT_EQ(1, nButton->GetVisualState());
    // Press on, release on: both consumed, actions run head to tail once each.
    EXPECT_TRUE(Event(nButton, 0, 20, 20));
    EXPECT_EQ(2, nButton->GetVisualState());
    EXPECT_TRUE(Event(nButton, 1, 21, 21));
    EXPECT_EQ(2, tRuns);

    // Press on, release off: no click. Press off, release on: no click either.
    EXPECT_TRUE(Event(nButton, 0, 20, 20));
    EXPECT_FALSE(Event(nButton, 1, 80, 80));
    EXPECT_FALSE(Event(nButton, 0, 80, 80));
    EXPECT_FALSE(Event(nButton, 1, 20, 20));
    EXPECT_EQ(2, tRuns);

    // Disabled, nothing reacts; the hit offsets widen the area.
    nButton->SetDisabled(1);
    EXPECT_FALSE(Event(nButton, 0, 20, 20));
    EXPECT_EQ(3, nButton->GetVisualState());
    nButton->SetDisabled(0);
    nButton->SetHitOffsets(-20, 0, 0, 0);
    EXPECT_TRUE(nButton->HitTest(-5, 20));

    // Toggle mode flips on each click and shows the toggled state.
    nButton->SetToggleMode(1, 0);
    Event(nButton, 0, 20, 20);
    Event(nButton, 1, 20, 20);
    EXPECT_TRUE(nButton->IsToggled());
    EXPECT_EQ(2, nButton->GetVisualState());
    nButton->ClearActions();
    EXPECT_EQ(0, nButton->GetActionCount());
}

TEST_F(GUIWidgetsTest, APolygonButtonHitsInsideItsPolygonOnly)
{
    GUIButton *nButton = new GUIButton();
    nButton->SetRect(100, 100, 200, 200);
    mGUI->AddObject("Triangle", nButton);
    nButton->SetPolygonVertexCount(3);
    nButton->SetPolygonVertex(0, 0, 0);
    nButton->SetPolygonVertex(1, 100, 0);
    nButton->SetPolygonVertex(2, 0, 100);
    nButton->SetPolygonVertex(7, 50, 50);
    // Inside the rectangle but past the diagonal: not pressed.
    EXPECT_FALSE(Event(nButton, 0, 190, 190));
    EXPECT_TRUE(Event(nButton, 0, 110, 110));
    nButton->SetPolygonVertexCount(2);
    EXPECT_TRUE(Event(nButton, 0, 190, 190));
}

TEST_F(GUIWidgetsTest, ButtonFramesClampOrWrapAndLongImageNamesAreRefused)
{
    ButtonStateFrames tRange = {2, 5, 2.0f, 1};
    EXPECT_EQ(2, ButtonAnimationFrame(tRange, 0));
    EXPECT_EQ(3, ButtonAnimationFrame(tRange, 3));
    EXPECT_EQ(5, ButtonAnimationFrame(tRange, 40));
    tRange.mClamp = 0;
    EXPECT_EQ(2 + (6 % 3), ButtonAnimationFrame(tRange, 12));
    ButtonStateFrames tSingle = {4, 4, 0.0f, 0};
    EXPECT_EQ(4, ButtonAnimationFrame(tSingle, 99));

    GUIButton tButton;
    std::string tLong(400, 'A');
    tButton.SetImagesByBaseName(tLong.c_str(), true);
    EXPECT_EQ(0, tButton.GetVisualState());
}

TEST_F(GUIWidgetsTest, TextLinesFormatNumbersAndJoinTextsOfAnyLength)
{
    char tFormat[8];
    BuildFloatFormat(tFormat, sizeof(tFormat), 12);
    EXPECT_STREQ("%0.9f", tFormat);
    BuildFloatFormat(tFormat, sizeof(tFormat), -3);
    EXPECT_STREQ("%0.0f", tFormat);

    GUITextLine tLine;
    tLine.SetFloat(2.5f, -3);
    EXPECT_STREQ("2", tLine.PeekText());
    tLine.SetFloat(1.0f / 3.0f, 12);
    EXPECT_STREQ("0.333333343", tLine.PeekText());
    tLine.SetNumber(-42);
    EXPECT_STREQ("-42", tLine.PeekText());

    // The join is not limited to a fixed buffer.
    std::string tLong(300, 'x');
    tLine.SetText(tLong.c_str());
    tLine.AppendText(tLong.c_str());
    tLine.AppendChar('!');
    EXPECT_EQ(601u, strlen(tLine.PeekText()));
    char *tCopy = tLine.GetText();
    EXPECT_NE(tCopy, tLine.PeekText());
    EXPECT_EQ('!', tCopy[600]);
    free(tCopy);

    // The modes exclude each other; without a font the text has no width or offset.
    tLine.SetFitWidth(1);
    tLine.SetCentre(1);
    tLine.SetRect(0, 0, 100, 10);
    tLine.SetText("abc");
    EXPECT_EQ(0, tLine.GetTextWidth());
    EXPECT_FLOAT_EQ(0.0f, tLine.GetXOffset());
    EXPECT_FLOAT_EQ(100.0f, tLine.GetWidth());
    tLine.SetDefaults();
    EXPECT_FLOAT_EQ(120.0f / 255.0f, tLine.GetColour().r);
}

TEST_F(GUIWidgetsTest, ImagesPlayTheirFramesAndScrollBarsClampTheirValue)
{
    GUIImage *nImage = new GUIImage();
    mGUI->AddObject("Image", nImage);
    Bitmap *cFrames[3] = {(Bitmap *)0x10, (Bitmap *)0x20, (Bitmap *)0x30};
    nImage->SetFrames(cFrames, 3, 2);
    for(int32_t i = 0; i < 5; i++) nImage->HandleEvent(-1, 0, 0);
    EXPECT_EQ(cFrames[2], nImage->GetShownBitmap());
    nImage->HandleEvent(-1, 0, 0);
    EXPECT_EQ(cFrames[0], nImage->GetShownBitmap());
    nImage->SetVisible(false);
    nImage->HandleEvent(-1, 0, 0);
    EXPECT_EQ(0, nImage->GetFrameTick());
    nImage->SetFrames(nullptr, 0, 1);
    nImage->SetBitmapByName("NULL");
    EXPECT_EQ(nullptr, nImage->GetShownBitmap());

    GUIScrollBarH *nBar = new GUIScrollBarH();
    nBar->SetRect(100, 0, 200, 10);
    mGUI->AddObject("Bar", nBar);
    int32_t tStarts = 0, tChanges = 0, tEnds = 0;
    nBar->SetListener(SCROLL_DRAG_STARTED, new CountingExecutor(&tStarts), true);
    nBar->SetListener(SCROLL_VALUE_CHANGED, new CountingExecutor(&tChanges), true);
    nBar->SetListener(SCROLL_DRAG_ENDED, new CountingExecutor(&tEnds), true);
    EXPECT_FALSE(Event(nBar, 0, 150, 5));
    EXPECT_TRUE(nBar->IsDragging());
    EXPECT_FALSE(nBar->HandleEvent(-1, 125, 5));
    EXPECT_FLOAT_EQ(0.25f, nBar->GetValue());
    nBar->HandleEvent(-1, 90, 5);
    EXPECT_FLOAT_EQ(0.0f, nBar->GetValue());
    nBar->HandleEvent(-1, 500, 5);
    EXPECT_FLOAT_EQ(1.0f, nBar->GetValue());
    nBar->HandleEvent(1, 500, 5);
    EXPECT_EQ(1, tStarts);
    EXPECT_EQ(3, tChanges);
    EXPECT_EQ(1, tEnds);
    nBar->SetValue(7.0f);
    EXPECT_FLOAT_EQ(1.0f, nBar->GetValue());

    // The vertical bar: 360 / 800 + 0.2 = 0.65 units per pointer pixel.
    EXPECT_FLOAT_EQ(0.5f + 13.0f / 100.0f, VerticalDragValue(120, 100, 0.5f, 100.0f, 360.0f, 800.0f));
    EXPECT_FLOAT_EQ(1.0f, VerticalDragValue(400, 100, 0.5f, 100.0f, 360.0f, 800.0f));
    EXPECT_FLOAT_EQ(0.0f, VerticalDragValue(-100, 50, 0.5f, 100.0f, 360.0f, 800.0f));
}

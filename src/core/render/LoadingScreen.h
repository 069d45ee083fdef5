#pragma once

#include <cstdint>

class Bitmap;

#define LOADING_FRAME_COUNT 8
#define LOADING_BOOT_STEPS 587

// While the game boots the main loop is not running, so the progress screen is redrawn from
// inside the loading work: every texture upload calls the load-interrupt hook, which counts
// the call and redraws at most once per 1/60 s. One instance, owned by the Application.
class LoadingScreen
{
public:
    LoadingScreen();
    ~LoadingScreen();

    // Loads the eight animation frames "Data/Graphics/Loading/LoadImage0.png" .. "7.png" and
    // the background "Data/Graphics/Loading/Background.png", activates the screen and
    // installs the hook.
    void Boot();
    // Starts counting afresh towards the given number of steps (at least 1).
    void Begin(int32_t pExpected);
    void HideBackground() { mNoBackground = 1; }

    // Prints the counter. Boot is over once it is printed, so the screen also stops drawing:
    // uploads made during play must not flash it and flip the display mid-frame.
    void PrintReport();

    // One hook call at the given time (seconds): counts it and tells whether a redraw is
    // due, recording the redraw when it is.
    bool Advance(double pNow);
    // Draws the screen into the back buffer / draws and flips the display. Nothing without
    // a display.
    void Draw();
    void Render();

    // Which animation frame and how much of the bar the next redraw shows.
    int32_t GetFrameIndex() const;
    float GetProgress() const;

    uint8_t IsActive() const { return mActive; }
    void SetActive(uint8_t pFlag) { mActive = pFlag; }
    // Set around work whose uploads must not redraw (map loads, line-art chunks).
    uint8_t GetSuppress() const { return mSuppress; }
    void SetSuppress(uint8_t pFlag) { mSuppress = pFlag; }
    int32_t GetCalls() const { return mCalls; }
    int32_t GetFrames() const { return mFrames; }
    int32_t GetExpected() const { return mExpected; }
    double GetLastRedrawTime() const { return mLastRedrawTime; }

private:
    uint8_t mActive;
    int32_t mCalls;
    int32_t mFrames;
    int32_t mExpected;
    int32_t mFrameDivisor;
    uint8_t mNoBackground;
    Bitmap *mFrameImages[LOADING_FRAME_COUNT];
    Bitmap *mBackground;
    double mLastRedrawTime;
    uint8_t mSuppress;

    LoadingScreen(const LoadingScreen &) = delete;
    LoadingScreen &operator=(const LoadingScreen &) = delete;
};

// The instance held by the Application, or null.
LoadingScreen *GetLoadingScreen();

// The hook itself (installed with SetLoadInterruptHook): redraws the Application's loading
// screen when it is due.
void LoadInterrupt();

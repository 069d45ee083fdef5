#pragma once

#include <cstdint>

class RootExecutor;
struct lua_State;

// Default fade speed: alpha change per tick, so a fade takes ten ticks.
#define TRANSITION_DEFAULT_FADE_SPEED 0.1f

enum TransitionState
{
    TRANSITION_IDLE = 0,
    TRANSITION_CAPTURE = 1,   // the next render copies the frame into the texture
    TRANSITION_FADE_OUT = 2,
    TRANSITION_EXECUTE = 3,   // the next tick runs the executor
    TRANSITION_FADE_IN = 4,
    TRANSITION_RELEASE = 5,   // the next tick frees the texture
};

// Scene changes: freezes the last drawn frame into a texture, fades it to black, runs one
// executor at full black and fades the live scene back in. While it blocks (fade-out and
// execute) the in-game tick freezes the world and the renders draw only the transition.
//
// The executor is either owned (deleted once it has run, or when a new transition replaces
// it unrun) or borrowed. The executor that is running is detached first, so a transition that
// it begins (a map script asking for another map) neither deletes it nor is undone by it.
//
// Only Render touches GL (the capture and the overlay), and Update frees the captured
// texture only when there is one; without a display a driver moves past the capture with
// TakeCapture(0). One instance, made at boot after the map manager.
class TransitionManager
{
public:
    TransitionManager();
    ~TransitionManager();

    // Registers the "TM_" globals.
    static void RegisterLua(lua_State *L);

    // The instance held by the Application; constructs nothing.
    static TransitionManager *Get();

    // Each speed that is not greater than 0 becomes the default.
    void SetFadeSpeeds(float pFadeOut, float pFadeIn);
    float GetFadeOutSpeed() const { return mFadeOutSpeed; }
    float GetFadeInSpeed() const { return mFadeInSpeed; }

    // Deletes the current executor when it is owned (and not the one handed in), then keeps
    // the new one with its ownership flag.
    void SetExecutor(RootExecutor *pExecutor, bool pOwns);
    RootExecutor *GetExecutor() const { return rExecutor; }
    bool OwnsExecutor() const { return mOwnsExecutor != 0; }

    // Starts (or restarts) a transition that runs the executor at full black. Null is ignored.
    void Begin(RootExecutor *pExecutor, bool pOwns);

    // A transition into the named map (copied) with these fade speeds; the manager owns the
    // map executor. What a respawn or warp uses.
    void BeginMapTransition(const char *pMapName, float pFadeOut, float pFadeIn);

    // Fade-out and execute.
    bool IsBlocking() const;
    int32_t GetState() const { return mState; }
    float GetAlpha() const { return mAlpha; }
    uint32_t GetTexture() const { return mTexture; }

    // One tick.
    void Update();

    // One frame, after the GUI, in the logical view. Needs a GL context.
    void Render();

    // The render's capture step: keeps the texture (freeing an earlier capture) and starts the
    // fade-out. Nothing unless a capture is due.
    void TakeCapture(uint32_t pTexture);

private:
    void ReleaseTexture();
    void DeleteExecutor(RootExecutor *pExecutor);

    uint8_t mOwnsExecutor;
    RootExecutor *rExecutor;
    int32_t mState;
    float mAlpha;
    float mFadeOutSpeed;
    float mFadeInSpeed;
    uint32_t mTexture;

    TransitionManager(const TransitionManager &) = delete;
    TransitionManager &operator=(const TransitionManager &) = delete;
};

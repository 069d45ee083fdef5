#pragma once
#include <cstdint>

#include "interface/GUIBaseObject.h"

class VirtualConsole;

// Shows its virtual console (the default "Console" object's is the game's one console) over
// the game, framed, and feeds it one update per tick. While
// shown it takes typed lines; while on screen it holds the player's controls with
// "ConsoleLock" unless some other lock already holds them.
class GUIConsole : public GUIBaseObject
{
public:
    GUIConsole();
    ~GUIConsole() override;

    VirtualConsole *GetConsole() const { return rConsole; }
    // Once only: drops its own console and shows the engine's global one from then on. Nothing
    // happens while there is no global console.
    void UseGlobalConsole();
    bool UsesGlobalConsole() const { return mUsesGlobalConsole != 0; }

    void Show() override;
    void Hide() override;
    // Leaving the screen stack (also by "CloseGame") hides the console and frees the player.
    void OnClose() override;
    bool HandleEvent(int32_t pCode, int32_t pX, int32_t pY) override;
    void Render() override;

private:
    // Set once the console shown is the global one, which the Application owns.
    uint8_t mUsesGlobalConsole;
    VirtualConsole *rConsole;
};

// The name the GUI files its own console under (scripts may add a "MasterConsole").
#define CONSOLE_NAME "Console"

// The console of the GUI object "MasterConsole", else of "Console"; null when neither is one.
VirtualConsole *FindScriptConsole();

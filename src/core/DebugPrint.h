#pragma once

#include <cstdint>

struct lua_State;

// Process-wide stack of trace states. Lines print only while the top state is on, indented
// one blank per open "on" section, so nested traces read as a tree on standard error. A
// section's begin and end lines stand one blank left of the lines printed inside it.
// With an empty stack every print is off. Main thread only.
namespace Debug
{
    // Pushing an "on" state deepens the indentation; popping an empty stack does nothing.
    void PushPrintState(uint8_t pState);
    void PopPrintState();

    void PushPrint(uint8_t pState, const char *pFormat, ...) __attribute__((format(printf, 2, 3)));

    // The state is 1 for the tag "TRUE", else the boolean option named by the tag. Every call
    // pushes exactly one state, off when the tag is null or there is no options manager yet,
    // so the matching PopPrint always stays balanced. A null format pushes without printing.
    void PushPrintTag(const char *pTag, const char *pFormat, ...) __attribute__((format(printf, 2, 3)));

    // The state PushPrintTag would push for this tag.
    uint8_t ReadTagState(const char *pTag);

    void Print(const char *pFormat, ...) __attribute__((format(printf, 1, 2)));
    void PopPrint(const char *pFormat, ...) __attribute__((format(printf, 1, 2)));

    // Prints whatever the top state, at the current indentation.
    void ForcePrint(const char *pFormat, ...) __attribute__((format(printf, 1, 2)));

    // Number of open "on" states, and of all states.
    int32_t GetPrintDepth();
    int32_t GetPrintStackSize();
}

// Registers the "Debug_" globals.
void RegisterDebugLua(lua_State *L);

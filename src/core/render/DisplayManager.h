#pragma once

#include <cstdint>

class NamedLinkedList;
struct lua_State;

// Where the logical view lands inside the window, in window pixels. A zero width or height
// means the whole window is the viewport.
struct ViewportRect
{
    int32_t mX;
    int32_t mY;
    int32_t mW;
    int32_t mH;
};

// Fits a logical view into a window. Aspect mode letterboxes with centred bars; the
// force-direct mode scales by whole multiples only and centres (negative offsets when the
// window is smaller than the view). Some inputs leave the rectangle as it was (a zero view
// width or, in aspect mode, a zero window width), so it is passed in and out. The viewport
// size is the window size except where the aspect fit shrinks it to the rectangle.
void FitViewport(int32_t pWindowW, int32_t pWindowH, int32_t pVirtualW, int32_t pVirtualH,
                 bool pForceDirect, ViewportRect &sRect, int32_t &sViewportW, int32_t &sViewportH);

// Cuts each side of a window size that is larger than the largest monitor (pMax; 0 when none
// is known) or than any GL driver makes (16384), saying so on standard error; true when it
// cut. Sizes below 1 are left for the display creation to refuse.
bool ClampWindowSize(int32_t &sWidth, int32_t &sHeight, int32_t pMaxWidth, int32_t pMaxHeight);

// Owns the one OpenGL window and the GLSL programs and shaders, each kept by name. One
// instance, held by the Application.
class DisplayManager
{
public:
    // Creates the display from the options. When it cannot be created the reason goes to
    // standard error and the Application's quit flag is set; the caller must check it.
    DisplayManager();
    ~DisplayManager();

    static DisplayManager *Get();

    // Fits the logical view into the current window size (option "ForceDirectAspectRatios"
    // picks the mode) and stores the result in the Application and the letterbox rectangle.
    static void ComputeViewport();
    static const ViewportRect &GetLetterbox();

    void ToggleFullscreen();

    void RegisterProgram(const char *pName);
    void RegisterShader(const char *pName, const char *pPath, bool pIsVertex);
    void AttachShader(const char *pProgramName, const char *pShaderName);
    void CompileShaders();
    void LinkProgram(const char *pName);
    // A known name becomes the current program; an unknown one leaves GL as it was but
    // clears the current program; null switches the fixed pipeline back on.
    void UseProgram(const char *pName);
    uint32_t GetCurrentProgram() const { return mCurrentProgram; }

private:
    uint8_t mBooted;
    NamedLinkedList *mProgramList;
    NamedLinkedList *mShaderList;
    uint8_t mFullscreenWindow;
    uint32_t mCurrentProgram;

    DisplayManager(const DisplayManager &) = delete;
    DisplayManager &operator=(const DisplayManager &) = delete;
};

// The table of GL enumeration names scripts may use; built once with the display.
void BuildGLEnumerations();
// 0 for a null name or before the table exists; an unknown name is reported and gives 0.
uint32_t GetGLEnumeration(const char *pName);

// Whole text file as a new NUL-terminated heap buffer; null for a null path, a file that
// cannot be read, or an empty file.
char *ReadTextFile(const char *pPath);

// Registers the "DM_" globals.
void RegisterDisplayManagerLua(lua_State *L);

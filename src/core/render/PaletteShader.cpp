#include "core/render/PaletteShader.h"

#include "core/DebugPrint.h"
#include "core/render/DisplayManager.h"

void BootShaders()
{
    Debug::PushPrint(0, "[GL Shaders] Begin\n");
    DisplayManager *rDisplay = DisplayManager::Get();
    if (!rDisplay)
    {
        Debug::PopPrint("[GL Shaders] No display manager\n");
        return;
    }

    Debug::Print("Register Program\n");
    rDisplay->RegisterProgram("XPaletteSwap");

    Debug::Print("Register Shader\n");
    rDisplay->RegisterShader("PaletteSwapVert", "Shaders/PaletteSwap.vert", true);
    rDisplay->RegisterShader("PaletteSwapFrag", "Shaders/PaletteSwap.frag", false);

    Debug::Print("Attaching\n");
    rDisplay->AttachShader("XPaletteSwap", "PaletteSwapVert");
    rDisplay->AttachShader("XPaletteSwap", "PaletteSwapFrag");

    Debug::Print("Compiling\n");
    rDisplay->CompileShaders();

    Debug::Print("Linking\n");
    rDisplay->LinkProgram("XPaletteSwap");

    Debug::PopPrint("[GL Shaders] Done\n");
}

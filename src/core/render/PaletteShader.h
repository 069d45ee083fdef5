#pragma once

// Builds the palette-swap program "XPaletteSwap" from "Shaders/PaletteSwap.vert" and
// "Shaders/PaletteSwap.frag" (relative to the working directory) in the display manager.
// Needs the display and the GL entry points; does nothing without a display manager.
void BootShaders();

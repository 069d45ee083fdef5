#pragma once

#include <cstdint>

// Blocks requested on the command line; the audio manager reads them when it boots.
extern uint8_t xBlockAllAudio;
extern uint8_t xBlockMusic;
extern uint8_t xBlockSound;

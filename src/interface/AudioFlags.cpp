#include "interface/AudioFlags.h"

uint8_t xBlockAllAudio = 0;
uint8_t xBlockMusic = 0;
uint8_t xBlockSound = 0;

#pragma once

#include <allegro5/allegro.h>
#include <cstdint>

struct FrameRecord;

// Called with each timer event: when more than a bounded number of ticks are queued behind
// it (the game cannot keep up with the rate), the queued ticks are dropped. True when it
// dropped them.
bool DropTimerBacklog(ALLEGRO_EVENT_QUEUE *pQueue, ALLEGRO_TIMER *pTimer, int64_t pEventCount);

// A gear is one mode of the program: an event handler, a tick and a render held by the
// Application. All three gears share the event handler, and the title gear forwards to the
// level-select tick and render; the gears differ in what their activation resets. A switch
// takes effect from the next event, since the main loop reads the handlers afresh each time.
void GameGearEventHandler(FrameRecord *pFrame);
void GameGearTimer(FrameRecord *pFrame);
void GameGearRender(FrameRecord *pFrame);

// Left edge, in view units, of the frame-rate text of the given drawn width: at 450, or as far
// left as it takes for the whole text to end a small margin inside the view.
float FrameRateTextLeft(float pTextWidth, float pViewWidth);

void LevelSelectGearTimer(FrameRecord *pFrame);
void LevelSelectGearRender(FrameRecord *pFrame);

void TitleGearEventHandler(FrameRecord *pFrame);
void TitleGearTimer(FrameRecord *pFrame);
void TitleGearRender(FrameRecord *pFrame);

void ActivateGameGear();
void ActivateLevelSelectGear();
void ActivateTitleGear();

#pragma once
#include <cstdint>

#include "interface/GUIBaseObject.h"

class GUIButton;
class GUITextLine;
class TransExec_AnyToMap;

#define LEVEL_SELECT_LINES 30

// The name a map file is listed under: the file name of the path with a three-letter
// extension cut off. Written into the buffer, always terminated; false for no name.
bool MapNameFromPath(const char *pPath, char *sName, int32_t pSize);

// Up to 30 map names from "Data/Maps/" with a keyboard cursor. Choosing a line starts a
// transition into that map, hides the screen, stops the music and plays a confirmation sound;
// with exactly one map it starts at once.
class GUISLevelSelectScreen : public GUIBaseObject
{
public:
    GUISLevelSelectScreen();
    ~GUISLevelSelectScreen() override;

    void Build();
    void Open();
    // Scans a folder other than the game's, for tests and tools.
    void OpenFolder(const char *pFolder);
    int32_t GetMapCount() const { return mMapCount; }
    GUITextLine *GetLine(int32_t pIndex) const;
    GUIButton *GetButton(int32_t pIndex) const;
    TransExec_AnyToMap *GetMapExecutor(int32_t pIndex) const;
    // The outline drawn around the cursor line: x1, y1, x2, y2.
    void GetCursorOutline(float *sRect) const;

    bool HandleEvent(int32_t pCode, int32_t pX, int32_t pY) override;
    void Render() override;

private:
    int32_t mMapCount;
    GUITextLine *rLines[LEVEL_SELECT_LINES];
    GUIButton *rButtons[LEVEL_SELECT_LINES];
    TransExec_AnyToMap *mMapExecutors[LEVEL_SELECT_LINES];
};

// The name the GUI files the level select screen under, and the screen found by it.
#define LEVEL_SELECT_SCREEN_NAME "LevelSelectScreen"
GUISLevelSelectScreen *GetLevelSelectScreen();

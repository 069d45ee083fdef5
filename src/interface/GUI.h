#pragma once
#include <cstdint>

#include "core/render/Drawing.h"
#include "interface/GUIAnimation.h"

class GUIBaseObject;
class NamedLinkedList;
struct lua_State;

// Owns every interface object drawn over the game and runs them: one ordered list of
// top-level objects (the head is the front-most: events go head to tail, drawing tail to
// head), the GUI animations, the stack of open screens (the head is the top screen and owns
// input), a full-screen colour fade, the mouse click record and the global hotkeys.
// One instance, held by the Application.
class GUI
{
public:
    GUI();
    ~GUI();

    // Objects. AddObject hands the object over; removal deletes it, detaching gives it back.
    void AddObject(const char *pName, GUIBaseObject *pObject);
    void RemoveObject(const char *pName);
    void RemoveObject(GUIBaseObject *pObject);
    GUIBaseObject *DetachObject(const char *pName);
    GUIBaseObject *DetachObject(GUIBaseObject *pObject);
    void SendToBack(GUIBaseObject *pObject);
    void BringToFront(GUIBaseObject *pObject);
    // Depth first by entry name: each top-level entry, then its subtree, in list order.
    GUIBaseObject *FindObject(const char *pName);
    bool AnyVisible();
    void HideAll();
    void ListObjects();
    void ListObjectsRecursive();
    NamedLinkedList *GetObjectList() const { return mObjects; }
    // Drops the animations and open-screen entries that point into the object's subtree;
    // run before the subtree is deleted.
    void ForgetObject(GUIBaseObject *pObject);

    // Screen stack. OpenScreen does not check for an object already open.
    void OpenScreen(GUIBaseObject *pObject);
    void CloseTopScreen();
    // Closes that screen wherever it stands on the stack (the top screen as CloseTopScreen).
    void CloseScreen(GUIBaseObject *pObject);
    bool IsTopScreen(GUIBaseObject *pObject);
    bool IsScreenOpen(GUIBaseObject *pObject);
    GUIBaseObject *GetTopScreen();
    int32_t GetOpenScreenCount();
    bool IsTopScreenInput() const { return mTopScreenInput == 1; }
    void SetTopScreenInput(uint8_t pFlag) { mTopScreenInput = pFlag; }
    // True while the top screen blocks pointer input and the event is not the top screen's.
    bool IsInputBlocked();
    // While the console is shown the keys are its own: what is typed into it must not also
    // pause the game or drive the title or the level select behind it.
    bool IsConsoleShown();

    // One tick (-1), mouse down (0) or mouse up (1); true when an object consumed it.
    bool Update(int32_t pEventCode);
    int32_t GetLastEventCode() const { return mLastEventCode; }
    void Render();
    void RenderFade();
    void StartFade(int32_t pCounter, int32_t pLength, int32_t pStep, ColorRGBA pColour);
    int32_t GetFadeStep() const { return mFadeStep; }
    int32_t GetFadeCounter() const { return mFadeCounter; }
    ColorRGBA GetFadeColour() const { return mFadeColour; }

    // Animations. The slide and the fade replace every animation listed under their name.
    void AddAnimation(const char *pName, GUIAnimation *pAnimation);
    GUIAnimation *AddMoveAnimation(const char *pName, int32_t pX, int32_t pY, float pSpeed, GUIBaseObject *pObject);
    GUIAnimation *AddSlideAnimation(const char *pName, int32_t pX, int32_t pY, int32_t pTicks, GUIBaseObject *pObject);
    GUIAnimation *AddFadeAnimation(const char *pName, float pEndAlpha, int32_t pTicks, GUIBaseObject *pObject);
    bool HasAnimation(const char *pName);
    bool IsAnimationListEmpty();

    void SetBossHealthBarTarget(int32_t pCode);
    void GetMouseClickCoords(float &sX, float &sY) const;
    bool IsMouseHeld() const { return mMouseHeld == 1; }

    // The game tick switches to the title gear when this is set, and clears it every tick.
    uint8_t GetReturnToTitle() const { return mReturnToTitle; }
    void SetReturnToTitle(uint8_t pFlag) { mReturnToTitle = pFlag; }

    void CreateDefaultObjects();
    // The global hotkeys, read once a tick; they live in GUIHotkeys.cpp with their helpers.
    void UpdateHotkeys();

private:
    void RunAnimations();
    void UpdateWatermark();
    void UpdateGameSpeed();
    void ToggleConsole(GUIBaseObject *pConsole);
    void ListObjectTree(GUIBaseObject *pObject);
    NamedLinkedList *ListHolding(GUIBaseObject *pObject);
    void MoveWithinList(GUIBaseObject *pObject, bool pToHead);

    int32_t mLastEventCode;
    NamedLinkedList *mObjects;
    NamedLinkedList *mAnimations;
    uint8_t mTopScreenInput;
    NamedLinkedList *mOpenScreens;
    ColorRGBA mFadeColour;
    int32_t mFadeCounter;
    int32_t mFadeStep;
    int32_t mFadeLength;
    uint8_t mMouseHeld;
    float mClickX;
    float mClickY;
    uint8_t mReturnToTitle;

    GUI(const GUI &) = delete;
    GUI &operator=(const GUI &) = delete;
};

// The manager held by the Application; null before boot builds it.
GUI *GetGUI();

// The in-game tick's rule for the world: entities and cameras run only while the GUI exists,
// has a "PauseScreen" object, and that object is not the top screen.
bool GUILetsWorldRun(GUI *pGUI);

// Registers the "GUI_" globals.
void RegisterGUILua(lua_State *L);

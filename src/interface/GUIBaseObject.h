#pragma once
#include <cstdint>

#include "core/DataList.h"
#include "core/data/LibraryHolder.h"
#include "world/RootEntity.h"

class NamedLinkedList;

// One cell of a menu's keyboard cursor: its neighbours in the same table, null where none.
struct NavigationNode
{
    NavigationNode *rLeft;
    NavigationNode *rUp;
    NavigationNode *rRight;
    NavigationNode *rDown;
};

// Directions for MoveNavigation, in the order of the node's links.
enum NavigationDirection
{
    NAV_LEFT = 0,
    NAV_UP = 1,
    NAV_RIGHT = 2,
    NAV_DOWN = 3,
};

// Base of every interface object: a named rectangle in its parent's coordinates (the logical
// view for a top-level object) that can be shown, hidden, faded, nested and offered events.
// The object owns its children; events reach children before their parent, front-most (head)
// child first, and the first handler that returns true ends the dispatch. Drawing runs the
// other way (tail first), so the head child is drawn on top.
//
// Hooks for subclasses (all virtual, called by the non-virtual machinery here):
//   HitTest    whether a point in the parent's coordinates is on the object (Dispatch sets hover)
//   SetRect    every rectangle change goes through it (SetPosition, SetSize, SetRectBySize)
//   SetTarget  a code from the GUI manager (the boss bar uses it)
//   Show/Hide  visibility changes; SetVisible and ToggleVisible call them
//   OnOpen/OnClose  the object was pushed on / popped off the GUI's screen stack
//   HandleEvent  the object's own handling of a tick (-1), mouse down (0) or mouse up (1),
//              called only when no child took the event; x, y in the parent's coordinates
//   Render     draws the object (Draw has already set the colour to the object's alpha); the
//              base translates to the corner and draws the children
//   ReleaseLibraryObject  the data library is about to destroy one of its entries (a script
//              may purge any path): an object that keeps pointers to library fonts, pictures
//              or animations drops every one to that entry and draws without it. It hears only
//              of the entries it stored through HoldLibraryObject
// The RootEntity operations are inherited unchanged.
class GUIBaseObject : public RootEntity, public DataList
{
public:
    GUIBaseObject();
    virtual ~GUIBaseObject();

    virtual bool HitTest(int32_t pX, int32_t pY);
    virtual void SetRect(float pX1, float pY1, float pX2, float pY2);
    virtual void SetTarget(int32_t pCode);
    virtual void Show();
    virtual void Hide();
    virtual void OnOpen();
    virtual void OnClose();
    virtual bool HandleEvent(int32_t pCode, int32_t pX, int32_t pY);
    virtual void Render() override;
    virtual void ReleaseLibraryObject(void *pObject);

    // Geometry. The rectangle record is x1, y1, x2, y2, centre x, centre y.
    void GetRect(float *sRect) const;
    float GetX1() const { return mX1; }
    float GetY1() const { return mY1; }
    float GetX2() const { return mX2; }
    float GetY2() const { return mY2; }
    float GetWidth() const { return mX2 - mX1; }
    float GetHeight() const { return mY2 - mY1; }
    void SetPosition(float pX, float pY);
    void SetSize(float pW, float pH);
    void SetRectBySize(float pX, float pY, float pW, float pH);
    void LocalToScreen(int32_t &sX, int32_t &sY) const;

    // Visibility and alpha. IsVisible also needs every ancestor visible.
    bool IsVisible() const;
    uint8_t GetVisibleFlag() const { return mVisible; }
    void SetVisible(bool pFlag);
    void ToggleVisible();
    float GetAlpha() const { return mAlpha; }
    void SetAlpha(float pAlpha) { mAlpha = pAlpha; }
    void SetInheritAlpha(uint8_t pFlag) { mInheritAlpha = pFlag; }
    float GetEffectiveAlpha() const;

    bool IsInputBlocking() const { return mBlocksInput == 1; }
    bool IsKeptOpen() const { return mKeepOpen == 1; }
    bool IsHovered() const { return mHover == 1; }
    GUIBaseObject *GetParent() const { return rParent; }
    void SetParent(GUIBaseObject *pParent) { rParent = pParent; }
    NamedLinkedList *GetChildList() const { return mChildren; }

    // Writes the names from the top-level ancestor down to this object, each followed by "/",
    // into the buffer; the text is cut at the buffer's size and always terminated.
    void GetPath(char *sBuffer, int32_t pSize) const;

    // Children. The object owns them; removal deletes them (and the GUI forgets every
    // animation and open screen that pointed into the removed subtree), detaching does not.
    void AddChild(const char *pName, GUIBaseObject *pChild);
    void RemoveChild(const char *pName);
    void RemoveChild(GUIBaseObject *pChild);
    GUIBaseObject *DetachChild(const char *pName);
    GUIBaseObject *DetachChild(GUIBaseObject *pChild);
    void ClearChildren();
    GUIBaseObject *FindChild(const char *pName);
    // True when the object is this one or lies anywhere below it.
    bool Contains(const GUIBaseObject *pObject) const;

    // Moves the object to the tail (drawn first, offered events last) or the head of the list
    // that holds it. Done by the GUI manager.
    void SendToBack();
    void BringToFront();

    // Navigation table. Links are node indices; an index outside the table means no neighbour.
    void SetNavigationNodeCount(int32_t pCount);
    void SetNavigationNode(int32_t pIndex, int32_t pLeft, int32_t pUp, int32_t pRight, int32_t pDown);
    void SetCurrentNavigationNode(NavigationNode *pNode) { rNavCurrent = pNode; }
    int32_t GetNavigationNodeCount() const { return mNavCount; }
    NavigationNode *GetNavigationNode(int32_t pIndex) const;
    NavigationNode *GetCurrentNavigationNode() const { return rNavCurrent; }
    // Position of the current node in the table, 0 when there is none.
    int32_t GetCurrentNavigationIndex() const;
    // Moves the cursor to the neighbour in that direction when there is one.
    void MoveNavigation(int32_t pDirection);

    // Events and drawing.
    bool Dispatch(int32_t pCode, int32_t pX, int32_t pY);
    void Draw();
    void DrawNow();
    void SkipNextDraw() { mSkipNextDraw = 1; }
    void DrawChildren();

protected:
    // Every library entry an object keeps is stored through this, or its purge goes unheard.
    template<typename T> T *HoldLibraryObject(T *pObject)
    {
        return mLibraryHolder.Hold(pObject);
    }
    // Null the slots that hold the library entry that is going.
    template<typename T> static void DropLibraryObject(T *&sSlot, const void *pObject)
    {
        if(sSlot == pObject) sSlot = nullptr;
    }
    template<typename T> static void DropLibraryObject(T **sSlots, int32_t pCount, const void *pObject)
    {
        for(int32_t i = 0; i < pCount; i++) DropLibraryObject(sSlots[i], pObject);
    }

    float mX1, mY1, mX2, mY2;
    float mCentreX, mCentreY;
    uint8_t mVisible;
    uint8_t mSkipNextDraw;
    float mAlpha;
    uint8_t mInheritAlpha;
    NamedLinkedList *mChildren;
    uint8_t mBlocksInput;
    uint8_t mKeepOpen;
    int32_t mNavCount;
    NavigationNode *mNavNodes;
    NavigationNode *rNavCurrent;
    GUIBaseObject *rParent;
    uint8_t mHover;

private:
    void ForgetSubtree(GUIBaseObject *pObject);
    static void ReleaseFromLibrary(void *pOwner, void *pObject);

    LibraryHolder mLibraryHolder;
};

// Deleter for lists that own GUI objects: deletes through the virtual destructor.
void DeleteGUIObject(void *pObject);

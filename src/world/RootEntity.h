#pragma once
#include <cstdint>

#include "core/Geometry.h"
#include "core/Hitbox.h"
#include "core/RootObject.h"
#include "world/SolidIndex.h"

class DataList;
struct lua_State;

// Base of every object that lives in a map and of every GUI object. The entity manager drives
// all of them through the virtual operations below without knowing their class.
//
// Template-method hooks: the manager calls the non-virtual UpdateIfEnabled, which calls the
// Update hook only while the enabled byte is exactly 1; TickAlways runs on every entity at the
// end of every in-game tick, enabled or not, frozen world or not. OnDestroy runs just before
// the manager deletes an entity whose destruct flag is set; Reset runs when a map is loaded.
// Render draws the entity (the manager ignores the enabled flag while drawing, so an entity
// that should not show hides itself here).
//
// Hooks a subclass is expected to provide and whose base versions only complain:
// GetPosition (two warning lines, yields 0, 0, 0), GetHitbox (leaves the record untouched),
// SetPositionAutoCenter. The others have quiet defaults (false, zeros, nothing).
//
// The outline helpers draw in the current model-view: a subclass's Render translates to the
// box's left and top, calls RenderHitboxOutline or RenderZoneRectOutline, and translates back.
// They draw only while the "ShowHitboxes" option is on.
class RootEntity : public RootObject
{
public:
    RootEntity();
    virtual ~RootEntity();

    const char *GetName() const { return mName; }
    void SetName(const char *pName);
    void Enable() { mEnabled = 1; }
    void Disable() { mEnabled = 0; }
    void SetEnabled(uint8_t pFlag) { mEnabled = pFlag; }
    uint8_t GetEnabled() const { return mEnabled; }
    float GetDepth() const { return mDepth; }
    void SetDepth(float pDepth) { mDepth = pDepth; }
    int32_t GetTag() const { return mTag; }
    void SetTag(int32_t pTag) { mTag = pTag; }
    void SetDebugColour(float pR, float pG, float pB, float pA);
    DataList *GetData() const { return mData; }
    uint8_t GetDestruct() const { return mDestruct; }
    void SetDestruct(uint8_t pFlag) { mDestruct = pFlag; }

    void GetPositionV(float &sX, float &sY, float &sZ) { GetPosition(sX, sY, sZ); }
    // "Left", "Top", "Right" and "Bottom" (exact case) ask IsSideBlocked with 0 to 3.
    bool IsSideBlockedByName(const char *pSide);
    void UpdateIfEnabled();

    // Geometry.
    virtual void GetPosition(float &sX, float &sY, float &sZ);
    virtual void GetSize(float &sW, float &sH);
    virtual bool IsSideBlocked(int32_t pSide);
    virtual bool ContainsPoint(int32_t pX, int32_t pY);
    // The entity manager's point index reads this instead of asking every entity: a class that
    // overrides ContainsPoint overrides it too, answering a box that holds every point
    // ContainsPoint accepts now. Whatever changes those answers outside the entity's own hooks
    // calls EntityManager::NoteShapeChange first, and so does whatever turns an entity that
    // holds no point into one that does, even inside its hooks. The base holds no point, ever.
    virtual SolidReach GetSolidReach(IntRect &sBox);
    virtual bool HasHitbox();
    virtual void GetHitbox(Hitbox &sHitbox);
    virtual void SetPositionAutoCenter(float pX, float pY, float pZ);
    virtual bool IsSideContact(int32_t pSide);
    virtual void ApplyPush(float pX, float pY, float pZ);

    // Lifecycle hooks.
    virtual void OnDestroy();
    virtual void Reset();
    virtual void Update();
    virtual void TickAlways();

    // Drawing.
    virtual void Render();
    // A slot for subclasses that want a debug marker (the entity manager's debug pass calls
    // it); the base draws none.
    virtual void RenderDebugCube();
    virtual void RenderZoneRectOutline(ZoneRect pRect);
    virtual void RenderHitboxOutline(Hitbox pHitbox);
    virtual void RenderHitboxRect(float pLft, float pTop, float pRgt, float pBot);

protected:
    char *mName;
    uint8_t mEnabled;
    int32_t mTag;
    float mDebugColour[4];
    DataList *mData;
    float mDepth;
    uint8_t mDestruct;

private:
    RootEntity(const RootEntity &) = delete;
    RootEntity &operator=(const RootEntity &) = delete;
};

// Depth value meaning "none given"; classes that translate by depth use 0 instead.
#define ROOTENTITY_NO_DEPTH -2.0f

// The red debug outline of a box of the given size, drawn from the current origin; leaves
// texturing on and the colour white.
void RenderOutlineFromOrigin(float pWidth, float pHeight);

// Registers the "RE_" globals.
void RegisterRootEntityLua(lua_State *L);

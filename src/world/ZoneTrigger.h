#pragma once
#include <cstdint>

#include "core/Hitbox.h"
#include "world/RootEntity.h"

struct lua_State;

// The most rectangles one trigger may hold; scripts asking for more get this many and a
// message, so a typo cannot ask for gigabytes.
#define ZONETRIGGER_MAX_RECTS 4096

// Runs a script when the player touches any of its rectangles. Map scripts use it for cut-ins,
// doors and music changes. With NoRefire the script runs once per entry instead of on every
// tick of contact.
class ZoneTrigger : public RootEntity
{
public:
    ZoneTrigger();
    virtual ~ZoneTrigger();

    // Registers the "ZTrigger_" globals.
    static void RegisterLuaFunctions(lua_State *L);

    // Frees the rectangles; below 0 counts as 0; a positive count gets zero-filled rectangles.
    void SetRectCount(int32_t pCount);
    int32_t GetRectCount() const { return mRectCount; }
    // Out-of-range indices are ignored; the two further floats stay as they were.
    void SetRect(int32_t pIndex, float pLft, float pTop, float pRgt, float pBot);
    // A copy, all zero outside the range.
    ZoneRect GetRect(int32_t pIndex) const;
    // Copies the script; the number is what the script receives as its one argument.
    void SetCallData(const char *pScript, int32_t pNumber);
    const char *GetCallScript() const { return mCallScript; }
    int32_t GetCallNumber() const { return mCallNumber; }
    void SetNoRefire(uint8_t pFlag) { mNoRefire = pFlag; }
    int32_t GetActiveSlot() const { return mActiveSlot; }
    bool IsInside() const { return mInside != 0; }

    // First rectangle (in index order) the entity's hitbox overlaps becomes the active slot.
    // No hit leaves the active slot as it was.
    bool IsCollidingWith(RootEntity *pEntity);

    void Update() override;
    void Render() override;

private:
    int32_t mRectCount;
    ZoneRect *mRects;
    int32_t mActiveSlot;
    char *mCallScript;
    int32_t mCallNumber;
    uint8_t mNoRefire;
    uint8_t mInside;
};

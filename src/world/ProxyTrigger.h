#pragma once
#include <cstdint>

#include "core/Hitbox.h"
#include "world/RootEntity.h"

class DataList;
class ProxyTrigger;
struct lua_State;

typedef bool (*ProxyCheckRoutine)(ProxyTrigger *pTrigger);
typedef void (*ProxyActionRoutine)(ProxyTrigger *pTrigger);

// Distances of the four spawn bands outside the view edges: they reach from 10 to 30 units
// out, and 20 units past the corners.
#define SPAWN_BAND_NEAR 10
#define SPAWN_BAND_FAR 30
#define SPAWN_BAND_SIDE 20

// Whether some view of pViewW by pViewH kept inside a level of pLevelW by pLevelH can bring a
// spawn band across the box so that the spawn check counts it as entered: a band's outer line
// inside the box's span while the band reaches the box across. A box that no such view reaches
// never spawns: in a level little larger than the view, the middle is never crossed.
bool SpawnBandCanReach(const ZoneRect &pBox, float pLevelW, float pLevelH, float pViewW, float pViewH);

// An invisible rectangle with two plain routines: a check that decides each tick whether it
// fires and an action run when it does, plus a debug routine that Render calls.
class ProxyTrigger : public RootEntity
{
public:
    ProxyTrigger();
    ~ProxyTrigger() override;

    // Registers the "PTrigger_" globals.
    static void RegisterLuaFunctions(lua_State *L);

    ZoneRect GetRect() const { return mRect; }
    void SetRect(float pLft, float pTop, float pRgt, float pBot);
    ProxyCheckRoutine GetCheckRoutine() const { return rCheck; }
    void SetRoutines(ProxyCheckRoutine pCheck, ProxyActionRoutine pAction);
    // Stores the routine and calls it once at once.
    void SetDebugRoutine(ProxyActionRoutine pRoutine);
    uint8_t IsArmed() const { return mArmed; }

    void Update() override;
    void Render() override;

    // Draws the rectangle's outline while "ShowHitboxes" is on, in level coordinates: whoever
    // draws the trigger has put the camera's view in place, as for every entity.
    static void DefaultOutline(ProxyTrigger *pTrigger);

protected:
    ZoneRect mRect;
    uint8_t mArmed;
    ProxyCheckRoutine rCheck;
    ProxyActionRoutine rAction;
    ProxyActionRoutine rDebug;
};

// A spawn point: creates its enemy when the view scrolls close to its rectangle. What varies
// per point lives in its DataList ("EnemyName", "PathToConstructorScript", "SpawnPositionX",
// "SpawnPositionY", "CanRespawn", "HasSpawned", "IsActivated", "RespawnTimer").
class EnemySpawnTrigger : public ProxyTrigger
{
public:
    EnemySpawnTrigger();

    // Made from a spawn record of the map file, not by a script: a reload of the same map
    // remakes these, while the map's script, which does not run again, cannot remake its own.
    bool IsFromSpawnRecord() const { return mFromSpawnRecord != 0; }
    void SetFromSpawnRecord() { mFromSpawnRecord = 1; }
    // As when it was made: not spawned, its latch open, no respawn wait. A map load that keeps
    // the point has taken its enemy away; left latched, it would not bring it back.
    void Rearm();

    static bool SpawnCheck(ProxyTrigger *pTrigger);
    static void SpawnAction(ProxyTrigger *pTrigger);

private:
    uint8_t mFromSpawnRecord;
    // Whether it has said that, spent, it will not spawn again (it says so once).
    uint8_t mToldSpent;
};

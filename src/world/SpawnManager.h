#pragma once
#include <cstdint>

class EnemySpawnTrigger;
class NamedLinkedList;
class RootEntity;
struct SpawnRecord;
struct lua_State;

#define ENEMY_PRESET_COUNT 30
#define ENEMY_PRESET_NAME_MAX 32
#define ENEMY_PRESET_PATH_MAX 256

// An enemy kind a map or script can name: its constructor script and its spawn box.
struct EnemyPreset
{
    char mName[ENEMY_PRESET_NAME_MAX];
    char mConstructorPath[ENEMY_PRESET_PATH_MAX];
    float mWidth;
    float mHeight;
};

class SpawnManager;

namespace EnemyPresets
{
    // Fills the manager's preset table (the end of start-up); a null manager is ignored.
    void Build(SpawnManager *pManager);
}

// Owns the current map's enemy spawn points, updates them every tick and draws their boxes
// for debugging; holds the fixed table of enemy presets. One instance, made at boot.
class SpawnManager
{
public:
    SpawnManager();
    ~SpawnManager();

    // Registers the "SpawnManager_" globals.
    static void RegisterLua(lua_State *L);

    // The instance held by the Application; constructs nothing.
    static SpawnManager *Get();

    const EnemyPreset *FindPreset(const char *pName) const;
    const EnemyPreset *GetPreset(int32_t pIndex) const;

    void AddSpawnPoint(EnemySpawnTrigger *pPoint);
    bool ConfigureFromPreset(const char *pPresetName, EnemySpawnTrigger *pPoint, const char *pSpawnName, float pX, float pY);
    void AutoSpawn(int32_t pCount, const SpawnRecord *pRecords);
    // Names on standard error each record of AutoSpawn whose spawn point no view of a level of
    // pLevelW by pLevelH comes near enough to set off (SpawnBandCanReach): it would never spawn.
    void ReportUnreachableRecords(int32_t pCount, const SpawnRecord *pRecords, float pLevelW, float pLevelH) const;
    // The same for the spawn points scripts built by hand, once the map script has run: each
    // that lacks an entry it needs, whose rectangle has no area (no "Hitbox" given), or that no
    // view comes near enough to set off, is named with the reason.
    void ReportScriptPointsThatNeverSpawn(float pLevelW, float pLevelH) const;
    // Removes the points made from spawn records, keeping those scripts made; a reload of the
    // same map, whose script does not run again, remakes only the records' points.
    void ClearRecordPoints();
    // Rearms every spawn point (EnemySpawnTrigger::Rearm); a reload of the same map keeps its
    // script's points and takes their enemies away.
    void RearmAll();
    // A constructor script run by a spawn point may ask for this; the points then go once
    // the update walk is over, so the running one is never freed under itself.
    void Clear();
    RootEntity *FindById(int32_t pID);
    int32_t GetSpawnPointCount() const;
    NamedLinkedList *GetSpawnPoints() const { return mSpawnPoints; }

    void Update();
    void RenderHitboxes();

private:
    NamedLinkedList *mSpawnPoints;
    uint8_t mUpdating;
    uint8_t mClearPending;
    EnemyPreset mPresets[ENEMY_PRESET_COUNT];
    friend void EnemyPresets::Build(SpawnManager *pManager);

    SpawnManager(const SpawnManager &) = delete;
    SpawnManager &operator=(const SpawnManager &) = delete;
};

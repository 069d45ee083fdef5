#pragma once
#include <cstdint>

#include "core/Hitbox.h"
#include "world/ClipQueries.h"

class CorvelLumpManager;
class LineartLevel;
class MapBGM;
struct SpawnRecord;
struct lua_State;

#define MAP_WARP_ZONE_COUNT 9
#define MAP_ZOOM_MIN 0.4f
#define MAP_ZOOM_MAX 2.0f
// Where the player stands when the map's script names no start.
#define MAP_DEFAULT_START 50.0f
// The boss health bar's target code for "no boss": the bar hides.
#define MAP_BOSS_BAR_NO_TARGET 255
// The number map scripts receive as their one argument.
#define MAP_SCRIPT_ARGUMENT -2.0

// A place the debug hotkeys warp the player to; a camera coordinate of -1 centres the view on
// the place instead.
struct MapWarpZone
{
    float mX;
    float mY;
    float mCameraX;
    float mCameraY;
};

// Holds the current map: its name, the line-art level built from its file, the player start,
// the warp zones, the colour overlay, the screen shake and the zoom. One instance, made at boot
// after the entity manager.
class MapManager
{
public:
    MapManager();
    ~MapManager();

    // Registers the "MapM_" globals.
    static void RegisterLua(lua_State *L);

    // The instance held by the Application; constructs nothing.
    static MapManager *Fetch();
    // The booted manager's clip world; without a manager nothing is loaded, so all is solid.
    static ClipWorld CurrentClipWorld();

    // Opens "Data/Maps/<name>.slf", builds its level, resets the world and, when the map differs
    // from the one loaded before, runs its script. True when the map is running; on failure the
    // trace says which step failed and the game goes on.
    bool LoadMapFile(const char *pName);

    const char *GetMapName() const { return mMapName; }
    const char *GetPreviousMapName() const { return mPreviousMapName; }

    // Per in-game tick, also while the world is frozen: streams the level's chunks and runs
    // the shake down.
    void Update();
    // After the entities: the level, then the overlay.
    void Render();
    // Before the entities: the background packs, with the active camera's parallax.
    void RenderBackgroundPacks();
    MapBGM *GetBackgrounds() const { return mBackgrounds; }
    void GetShakeOffset(float &sX, float &sY) const;

    void SetPlayerStart(float pX, float pY, float pZ);
    void GetPlayerStart(float &sX, float &sY, float &sZ) const;
    void SetWarpZone(int32_t pIndex, float pX, float pY, float pCameraX, float pCameraY);
    MapWarpZone GetWarpZone(int32_t pIndex) const;
    // The numbered debug warps (0 to 8): puts the player at that warp zone, healed, and forces
    // the camera to the zone's camera place, or centres the view on the zone when it has none.
    // Other numbers do nothing.
    void RunHotkey(int32_t pIndex);
    // Reloads the current map through a transition (a slow fade-out, the default fade-in); the
    // transition manager owns the map executor. The player's respawn and warps use it.
    void StartWarpTransition();
    void SetOverlayColor(float pR, float pG, float pB, float pA);
    bool IsOverlayOn() const { return mOverlayOn != 0; }
    void SetMechLocation(int32_t pX, int32_t pY);
    void GetMechLocation(int32_t &sX, int32_t &sY) const;
    // Places the mech at the mech location when the location is set and none is listed.
    void PlaceMech();
    void Shake(float pMagnitude, int32_t pTicks);
    bool IsShaking() const { return mShakeActive != 0; }
    int32_t GetShakeTicksLeft() const { return mShakeTicksLeft; }

    // Leaving the game: drops the level, runs "Data/Scripts/Maps/<name> Clean.lua" when it
    // exists, forgets both names.
    void RunCleanScript();

    // The records of the current map's spawn lump ("BSpawnInfo"), in file order, for automatic
    // spawning; null with a count of 0 when the map has none.
    const SpawnRecord *GetSpawnRecords(int32_t &sCount) const;

    bool HasLevel() const { return mHasLevel && mLevel; }
    LineartLevel *GetLevel() const { return mLevel; }
    // Takes the level, deleting the old one; null is ignored.
    void SetLevel(LineartLevel *pLevel);
    void ClearLevel();
    float GetZoom() const { return mZoom; }
    void SetZoom(float pZoom);

    // What the clip queries and movement read: the level's cells (none without a level, so
    // everything is solid) and the entity manager's solid entities.
    ClipWorld GetClipWorld() const;
    // Her box on foot with its top-left at (pX, pY), where the start or a respawn puts her.
    static Hitbox FootBoxAt(float pX, float pY);
    // Whether she can move in that box: a level is loaded, holds the whole box and has no solid
    // cell under it (beyond the level everything is solid).
    bool IsBoxFreeInLevel(const Hitbox &pBox) const;
    bool IsClipped(int32_t pX, int32_t pY) const;
    bool GetWorldClip(int32_t pX, int32_t pY) const { return IsClipped(pX, pY); }

private:
    void RunMapScript(const char *pName);
    void FitCameraToLevel(int32_t pWidth, int32_t pHeight);
    void PrepareCamera();
    void FailLoad(const char *pMessage);
    void PlacePlayer(bool pEntering);
    // Names on standard error a mistake of the map being loaded: the map, the script that set
    // it up when one ran, then the printf-formatted text. The game plays on.
    void ReportMistake(const char *pFormat, ...) __attribute__((format(printf, 2, 3)));
    // Where she is placed, every cell of her box must be free of the level, or she cannot move.
    void ReportBlockedPlacement(int32_t pLevelWidth, int32_t pLevelHeight);
    // Each death pit must let her box's top, or the mech's when the map places one, sink below
    // its top somewhere within it, or it never kills.
    void ReportHarmlessPits(int32_t pLevelWidth, int32_t pLevelHeight);
    void ReadSpawnRecords(CorvelLumpManager *pLumps);
    void ClearSpawnRecords();

    char *mMapName;
    char *mPreviousMapName;
    float mZoom;
    uint8_t mHasLevel;
    LineartLevel *mLevel;
    float mStartX;
    float mStartY;
    float mStartZ;
    uint8_t mOverlayOn;
    float mOverlayColor[4];
    MapWarpZone mWarpZones[MAP_WARP_ZONE_COUNT];
    uint8_t mShakeActive;
    float mShakeMagnitude;
    int32_t mShakeTicksLeft;
    int32_t mShakeDuration;
    int32_t mMechX;
    int32_t mMechY;
    MapBGM *mBackgrounds;
    SpawnRecord *mSpawnRecords;
    int32_t mSpawnRecordCount;
    // The map script that ran for this map (kept through reloads, which do not run it), named
    // in the load-time warnings; null when there was none.
    char *mScriptPath;

    MapManager(const MapManager &) = delete;
    MapManager &operator=(const MapManager &) = delete;
};

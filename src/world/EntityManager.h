#pragma once
#include <cstdint>

#include "core/Geometry.h"
#include "core/Hitbox.h"
#include "core/NamedLinkedList.h"

class Particle;
class RootEntity;
class RootProjectile;
class PlayerPony;
class SolidIndex;
struct lua_State;

// Projectile target flags asked for by the hit sweeps.
#define PROJECTILE_TARGET_NONE 0
#define PROJECTILE_TARGET_PLAYER 1
#define PROJECTILE_TARGET_ENEMIES 2
#define PROJECTILE_TARGET_ALL 255

// The special lists, in the order they are created. Scripts name them with the same words
// (EM_PushEntity's "SpecialList"), so a list is always asked for through these.
#define LADDER_LIST_NAME "Ladder List"
#define CHECKPOINT_LIST_NAME "Checkpoint List"
#define PARTICLE_LIST_NAME "Particle List"
#define DAMAGE_ZONE_LIST_NAME "Damage Zone List"
#define SLIP_LIST_NAME "Slip List"
#define PUSH_LIST_NAME "Push List"
#define SLIDE_LIST_NAME "Slide List"

#define EM_PROJECTILE_NAME_MAX 255
#define EM_RUNNING_MAX 32

// Owns every world object of the running game. The entity list's order is the order of update,
// of the always-run pass and of drawing. Entities flagged for destruction are destroyed late:
// by the update walk, right after their own update.
//
// Walk safety: scripts run from inside an entity's hooks may register, detach or destroy any
// entity, the running one included. The walks use list iterations, which the list moves back
// when their entry is removed, and an entity whose hook is still on the call stack is unlinked
// at once but deleted only when its hook returns. Every removal unlinks an entry before its
// deleter runs, so a deleter that looks entities up never finds the one being destroyed.
//
// Point tests: IsPointInsideAny asks a spatial index of the entities that can be solid rather
// than walking the list. An entity is loose (asked on every test) from the moment anything may
// change its answer until the walks settle it, which they do between one entity's hooks and
// the next, when nothing can be mid-move. Its own hooks are covered by the walks; everything
// else calls NoteShapeChange before the change.
class EntityManager
{
public:
    EntityManager();
    ~EntityManager();

    // Registers the "EM_" globals.
    static void RegisterLua(lua_State *L);

    // The instance held by the Application; null before boot creates it.
    static EntityManager *Fetch();

    // The player's entry: references the player, never frees it. ClearEntities keeps exactly
    // the entries that carry this deleter.
    static void DeletePlayerEntry(void *pEntity);
    // Boot calls it once, right after construction: makes the player and lists it first,
    // under "Player", with DeletePlayerEntry. Does nothing when the player exists.
    void CreatePlayer();

    // Registration. Null names or entities are ignored.
    void RegisterEntity(const char *pName, RootEntity *pEntity, DeleteFunctionPtr pDeleter);
    void RegisterEntity(const char *pName, RootEntity *pEntity);
    // Registers under "PROJ|<kind>|<object number>" (at most 255 characters).
    void RegisterProjectile(const char *pKindName, RootProjectile *pProjectile, DeleteFunctionPtr pDeleter);
    // Unlinks without destroying; the caller keeps the object.
    void RemoveEntity(RootEntity *pEntity);
    // Destroys every entry but the player's, without OnDestroy.
    void ClearEntities();
    void ResetAll();
    // Map loading: every boss door that lies ahead of the player closes again.
    void ResetDoorsAhead();

    // Lookups. "This" (any case) is the library's active object when that is an entity.
    RootEntity *GetEntity(const char *pName);
    RootEntity *FindByName(const char *pPrefix);
    RootEntity *FindByID(int32_t pID);
    PlayerPony *GetPlayer() const { return mPlayer; }
    NamedLinkedList *GetEntityList() const { return mEntityList; }
    NamedLinkedList *GetSpecialList(const char *pName);
    // The booted manager's named special list; null before boot or when there is none.
    static NamedLinkedList *FetchSpecialList(const char *pName);
    // New non-owning lists in list order; the caller deletes the list, not its entities.
    NamedLinkedList *ListByType(int32_t pType);
    NamedLinkedList *ListByTypeRange(int32_t pMin, int32_t pMax);
    // Entities whose registered name begins with "PROJ|<kind>"; -1 for a null kind.
    int32_t CountProjectilesNamed(const char *pKindName);
    bool IsPointInsideAny(int32_t pX, int32_t pY);
    // Call before changing what an entity's ContainsPoint answers (moving or resizing it,
    // turning it solid or not). Reaches the booted manager; entities it does not hold are
    // ignored.
    static void NoteShapeChange(RootEntity *pEntity);
    // True when IsPointInsideAny holds for at least one point of the box (edges inclusive).
    bool IsAnyPointInside(IntRect pBox);
    float GetDistanceBetweenEntities(RootEntity *pA, RootEntity *pB);
    float GetDistanceBetweenEntities(const char *pA, const char *pB);
    float GetAngleBetweenEntities(RootEntity *pA, RootEntity *pB);
    float GetAngleBetweenEntities(const char *pA, const char *pB);
    int32_t GetLastID() const { return mLastID; }
    // Enemies (type 11) that survived the last update walk.
    int32_t GetLastEnemyCount() const { return mLastEnemyCount; }

    // The special lists named above. Each owns its entries.
    void CreateSpecialLists();
    void ResetSpecialLists();
    void RegisterSpecialObject(const char *pListName, const char *pEntryName, void *pObject, DeleteFunctionPtr pDeleter);
    // The list only refers to the object; whoever made it keeps and frees it.
    void RegisterSpecialObject(const char *pListName, const char *pEntryName, void *pObject);
    // Removal from one list; the list's deleter destroys the entry. By name takes the first
    // entry of that name, by number the first whose object number it is. Every list but
    // "Particle List" holds RootObjects; particles carry no number, so that list is never
    // searched by one.
    void RemoveSpecialObject(const char *pListName, const char *pEntryName);
    void RemoveSpecialObjectByID(const char *pListName, int32_t pID);
    // Unlinks the object from every special list without destroying it.
    void DetachFromSpecialLists(void *pObject);
    // Prints each list's name and entry count to standard error.
    void DumpSpecialLists();
    // Hands a particle to "Particle List", which owns it from then on.
    void AddParticle(Particle *pParticle);

    // Projectile target list, cached for the flag it was last built for (0: not built).
    void BuildTargetList(uint8_t pFlag);
    uint8_t GetTargetFlag() const { return mTargetFlag; }
    int32_t GetTargetListCount() const;
    // New non-owning lists (entries "X") of the targeted projectiles that hit; the caller
    // deletes the list.
    NamedLinkedList *FindProjectileHitA(uint8_t pFlag, Hitbox pHitbox);
    NamedLinkedList *FindProjectileHitB(uint8_t pFlag, PolygonArrays pPolygon);
    // Destroys every projectile that is neither a buster shot nor owned by another entity.
    void WipeProjectiles();

    // Per tick and drawing.
    void Update();
    void RunTickAlways();
    void Render();
    // After the map's colour overlay: every sprite that stays above it, drawn once more in the
    // active camera's view.
    void RenderAboveOverlay();
    // Debugging aid: every entity's RenderDebugCube, in list order.
    void RenderDebugCubes();
    // Puts the active camera's view on the GL matrix: what is drawn after it stands where it
    // is in the level. Nothing without a camera.
    static void ApplyActiveCamera();

private:
    bool IsRunning(RootEntity *pEntity);
    // Calls the hook on every entity in list order, each marked as running meanwhile.
    void RunOnEach(void (RootEntity::*pHook)());
    // Running a hook marks its entity loose for the point index when it is solid; popping the
    // last one settles.
    void PushRunning(RootEntity *pEntity);
    void PopRunning();
    void FlushParked();
    bool CursorToEntity(RootEntity *pEntity);
    void DestroyEntity(RootEntity *pEntity);
    bool StillListed(RootEntity *pEntity, int32_t pRemovalsBefore);
    // "Ladder List" entries with a hitbox that hold a point of the box.
    bool AnyLadderTopIn(const IntRect &pBox);
    // Unlinks the entry under the list's cursor, destroying it through its deleter or not; the
    // player first lets go of it.
    void RemoveSpecialAtCursor(NamedLinkedList *pList, bool pDestroy);
    NamedLinkedList *CollectProjectileHits(uint8_t pFlag, const Hitbox *pHitbox, const PolygonArrays *pPolygon);

    PlayerPony *mPlayer;
    int32_t mLastID;
    NamedLinkedList *mEntityList;
    uint8_t mTargetFlag;
    NamedLinkedList *mTargetList;
    NamedLinkedList *mSpecialLists;

    int32_t mLastEnemyCount;
    uint8_t mUpdating;
    // Incremented by every unlink from the entity list, so a walk can tell cheaply whether the
    // entity it just ran might have left the list.
    int32_t mRemovalCount;
    RootEntity *rRunning[EM_RUNNING_MAX];
    int32_t mRunningDepth;
    // Destroyed while their hook was running: unlinked, deleted when the hook returns.
    NamedLinkedList *mParked;
    SolidIndex *mSolids;

    EntityManager(const EntityManager &) = delete;
    EntityManager &operator=(const EntityManager &) = delete;
};

#include "world/EntityManager.h"

#include <GL/gl.h>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <strings.h>

#include "actors/PlayerPony.h"
#include "core/Application.h"
#include "core/DebugPrint.h"
#include "core/OptionsManager.h"
#include "core/data/DataLibrary.h"
#include "core/render/GLState.h"
#include "interface/CorvelPacket.h"
#include "interface/SocketManager.h"
#include "world/Camera.h"
#include "world/CameraManager.h"
#include "world/Door.h"
#include "world/LevelCollision.h"
#include "world/Particle.h"
#include "world/RootEntity.h"
#include "world/RootProjectile.h"
#include "world/RootSprite.h"
#include "world/SolidIndex.h"

namespace
{
    const char *const cSpecialListNames[] = {LADDER_LIST_NAME, CHECKPOINT_LIST_NAME, PARTICLE_LIST_NAME,
                                             DAMAGE_ZONE_LIST_NAME, SLIP_LIST_NAME, PUSH_LIST_NAME, SLIDE_LIST_NAME};
    const int32_t cSpecialListCount = 7;

    void DeleteSpecialList(void *pList)
    {
        delete (NamedLinkedList *)pList;
    }
}

EntityManager::EntityManager()
{
    mPlayer = nullptr;
    mLastID = 0;
    mEntityList = new NamedLinkedList(1);
    mTargetFlag = PROJECTILE_TARGET_NONE;
    mTargetList = new NamedLinkedList(0);
    mSpecialLists = new NamedLinkedList(1);
    mLastEnemyCount = 0;
    mUpdating = 0;
    mRemovalCount = 0;
    mRunningDepth = 0;
    mParked = new NamedLinkedList(1);
    mSolids = new SolidIndex();
}

EntityManager::~EntityManager()
{
    // Entities go first: their destructors may still look the player up.
    ClearEntities();
    delete mPlayer;
    delete mEntityList;
    delete mTargetList;
    delete mSpecialLists;
    delete mParked;
    delete mSolids;
}

EntityManager *EntityManager::Fetch()
{
    return GetApplication()->mEntityManager;
}

void EntityManager::DeletePlayerEntry(void *)
{
}

void EntityManager::CreatePlayer()
{
    if(mPlayer) return;
    mPlayer = new PlayerPony();
    mEntityList->AddElementWithDeleter("Player", mPlayer, DeletePlayerEntry);
    mSolids->Add(mPlayer);
}

// --- Registration ---------------------------------------------------------------------------

void EntityManager::RegisterEntity(const char *pName, RootEntity *pEntity, DeleteFunctionPtr pDeleter)
{
    if(!pName || !pEntity) return;
    mEntityList->AddElementWithDeleter(pName, pEntity, pDeleter);
    mSolids->Add(pEntity);
    mLastID = pEntity->GetID();
}

void EntityManager::RegisterEntity(const char *pName, RootEntity *pEntity)
{
    RegisterEntity(pName, pEntity, DeleteNothing);
}

void EntityManager::RegisterProjectile(const char *pKindName, RootProjectile *pProjectile, DeleteFunctionPtr pDeleter)
{
    if(!pKindName || !pProjectile) return;
    char tName[EM_PROJECTILE_NAME_MAX + 1];
    snprintf(tName, sizeof(tName), "PROJ|%s|%i", pKindName, pProjectile->GetID());
    RegisterEntity(tName, pProjectile, pDeleter);
    BuildTargetList(PROJECTILE_TARGET_NONE);
}

void EntityManager::RemoveEntity(RootEntity *pEntity)
{
    if(!pEntity) return;
    if(mEntityList->SetCursorToData(pEntity))
    {
        mEntityList->DetachAtCursor();
        mRemovalCount++;
        mSolids->Remove(pEntity);
    }
    BuildTargetList(PROJECTILE_TARGET_NONE);
}

void EntityManager::ClearEntities()
{
    for(void *rData = mEntityList->PushIterator(); rData; rData = mEntityList->IterateNext())
    {
        RootEntity *rEntity = (RootEntity *)rData;
        CursorToEntity(rEntity);
        if(mEntityList->GetCursorNode()->rDeleter == DeletePlayerEntry) continue;
        DestroyEntity(rEntity);
    }
    BuildTargetList(PROJECTILE_TARGET_NONE);
}

void EntityManager::RunOnEach(void (RootEntity::*pHook)())
{
    for(void *rData = mEntityList->PushIterator(); rData; rData = mEntityList->IterateNext())
    {
        RootEntity *rEntity = (RootEntity *)rData;
        PushRunning(rEntity);
        (rEntity->*pHook)();
        PopRunning();
    }
}

void EntityManager::ResetAll()
{
    RunOnEach(&RootEntity::Reset);
}

void EntityManager::ResetDoorsAhead()
{
    for(void *rData = mEntityList->PushIterator(); rData; rData = mEntityList->IterateNext())
    {
        RootEntity *rEntity = (RootEntity *)rData;
        if(rEntity->GetType() == TYPE_DOOR) static_cast<Door *>(rEntity)->ResetAhead();
    }
}

// --- Destruction ----------------------------------------------------------------------------

bool EntityManager::IsRunning(RootEntity *pEntity)
{
    for(int32_t i = 0; i < mRunningDepth && i < EM_RUNNING_MAX; i++)
    {
        if(rRunning[i] == pEntity) return true;
    }
    return false;
}

void EntityManager::PushRunning(RootEntity *pEntity)
{
    mSolids->MarkLooseIfFiled(pEntity);
    if(mRunningDepth < EM_RUNNING_MAX) rRunning[mRunningDepth] = pEntity;
    mRunningDepth++;
}

void EntityManager::PopRunning()
{
    if(mRunningDepth > 0) mRunningDepth--;
    if(mParked->GetCount() > 0) FlushParked();
    if(mRunningDepth == 0) mSolids->Settle();
}

void EntityManager::FlushParked()
{
    for(void *rData = mParked->PushIterator(); rData; rData = mParked->IterateNext())
    {
        RootEntity *rEntity = (RootEntity *)rData;
        if(IsRunning(rEntity)) continue;
        DataLibrary *rLibrary = DataLibrary::Fetch();
        if(rLibrary) rLibrary->ForgetObject(rEntity);
        mParked->RemoveElementByData(rEntity);
    }
}

// The walks that destroy entities stand on the one they destroy: taking its entry from there,
// not by a search from the head, keeps clearing a map from growing with the square of its
// entities.
bool EntityManager::CursorToEntity(RootEntity *pEntity)
{
    if(mEntityList->SetCursorToIteration() && mEntityList->GetCursorNode()->rData == pEntity) return true;
    return mEntityList->SetCursorToData(pEntity);
}

// Unlinks first, then destroys, so nothing the deleter runs can reach the entry. An entity
// whose hook is on the call stack waits in the parked list until that hook returns.
void EntityManager::DestroyEntity(RootEntity *pEntity)
{
    if(!CursorToEntity(pEntity)) return;
    DeleteFunctionPtr rDeleter = mEntityList->GetCursorNode()->rDeleter;
    mEntityList->DetachAtCursor();
    mRemovalCount++;
    mSolids->Remove(pEntity);
    if(IsProjectileType(pEntity->GetType())) BuildTargetList(PROJECTILE_TARGET_NONE);

    if(IsRunning(pEntity))
    {
        mParked->AddElementWithDeleter("Parked", pEntity, rDeleter);
        return;
    }
    DataLibrary *rLibrary = DataLibrary::Fetch();
    if(rLibrary) rLibrary->ForgetObject(pEntity);
    if(rDeleter) rDeleter(pEntity);
    else free(pEntity);
}

bool EntityManager::StillListed(RootEntity *pEntity, int32_t pRemovalsBefore)
{
    if(mRemovalCount == pRemovalsBefore) return true;
    return mEntityList->ContainsData(pEntity);
}

void EntityManager::WipeProjectiles()
{
    BuildTargetList(PROJECTILE_TARGET_NONE);
    for(void *rData = mEntityList->PushIterator(); rData; rData = mEntityList->IterateNext())
    {
        RootEntity *rEntity = (RootEntity *)rData;
        if(!IsProjectileType(rEntity->GetType())) continue;
        RootProjectile *rProjectile = static_cast<RootProjectile *>(rEntity);
        // Enemies hold their contact and hitbox boxes by pointer; those go with their enemy.
        if(rProjectile->IsBuster() || rProjectile->GetOwnerID() != 0) continue;
        DestroyEntity(rEntity);
    }
}

// --- Lookups --------------------------------------------------------------------------------

RootEntity *EntityManager::GetEntity(const char *pName)
{
    if(!pName) return nullptr;
    if(!strcasecmp(pName, "This"))
    {
        DataLibrary *rLibrary = DataLibrary::Fetch();
        if(!rLibrary) return nullptr;
        return dynamic_cast<RootEntity *>(rLibrary->GetActiveObject());
    }
    return (RootEntity *)mEntityList->GetElementByName(pName);
}

RootEntity *EntityManager::FindByName(const char *pPrefix)
{
    return (RootEntity *)mEntityList->GetElementByPartialName(pPrefix);
}

RootEntity *EntityManager::FindByID(int32_t pID)
{
    for(void *rData = mEntityList->PushIterator(); rData; rData = mEntityList->IterateNext())
    {
        if(((RootEntity *)rData)->GetID() == pID)
        {
            mEntityList->PopIterator();
            return (RootEntity *)rData;
        }
    }
    return nullptr;
}

NamedLinkedList *EntityManager::GetSpecialList(const char *pName)
{
    if(!pName) return nullptr;
    return (NamedLinkedList *)mSpecialLists->GetElementByName(pName);
}

NamedLinkedList *EntityManager::FetchSpecialList(const char *pName)
{
    EntityManager *rManager = Fetch();
    return rManager ? rManager->GetSpecialList(pName) : nullptr;
}

NamedLinkedList *EntityManager::ListByType(int32_t pType)
{
    return ListByTypeRange(pType, pType);
}

NamedLinkedList *EntityManager::ListByTypeRange(int32_t pMin, int32_t pMax)
{
    NamedLinkedList *nList = new NamedLinkedList(0);
    for(void *rData = mEntityList->PushIterator(); rData; rData = mEntityList->IterateNext())
    {
        int32_t tType = ((RootEntity *)rData)->GetType();
        if(tType >= pMin && tType <= pMax) nList->AddElement(mEntityList->GetIteratorName(), rData);
    }
    return nList;
}

int32_t EntityManager::CountProjectilesNamed(const char *pKindName)
{
    if(!pKindName) return -1;
    char tPrefix[EM_PROJECTILE_NAME_MAX + 1];
    snprintf(tPrefix, sizeof(tPrefix), "PROJ|%s", pKindName);
    size_t tLength = strlen(tPrefix);

    int32_t tCount = 0;
    for(void *rData = mEntityList->PushIterator(); rData; rData = mEntityList->IterateNext())
    {
        if(!strncmp(mEntityList->GetIteratorName(), tPrefix, tLength)) tCount++;
    }
    return tCount;
}

void EntityManager::NoteShapeChange(RootEntity *pEntity)
{
    EntityManager *rManager = Fetch();
    if(rManager) rManager->mSolids->MarkLoose(pEntity);
}

bool EntityManager::IsPointInsideAny(int32_t pX, int32_t pY)
{
    if(mSolids->AnyContains(pX, pY)) return true;
    IntRect tPoint = {pX, pY, pX, pY};
    return LadderTopsSolid && AnyLadderTopIn(tPoint);
}

bool EntityManager::IsAnyPointInside(IntRect pBox)
{
    if(mSolids->AnyContainsInBox(pBox)) return true;
    return LadderTopsSolid && AnyLadderTopIn(pBox);
}

bool EntityManager::AnyLadderTopIn(const IntRect &pBox)
{
    NamedLinkedList *rLadders = GetSpecialList(LADDER_LIST_NAME);
    if(!rLadders) return false;
    for(void *rData = rLadders->PushIterator(); rData; rData = rLadders->IterateNext())
    {
        RootEntity *rLadder = (RootEntity *)rData;
        if(rLadder->HasHitbox() && EntityHoldsPointIn(rLadder, pBox))
        {
            rLadders->PopIterator();
            return true;
        }
    }
    return false;
}

float EntityManager::GetDistanceBetweenEntities(RootEntity *pA, RootEntity *pB)
{
    if(!pA || !pB)
    {
        fprintf(stderr, "EntityManager::GetDistanceBetweenEntities:  Failed, one of the entities %p/%p is invalid\n",
                (void *)pA, (void *)pB);
        return 10000.0f;
    }
    float tXA, tYA, tZA, tXB, tYB, tZB;
    pA->GetPosition(tXA, tYA, tZA);
    pB->GetPosition(tXB, tYB, tZB);
    return PointDistance(tXA, tXB, tYA, tYB);
}

float EntityManager::GetDistanceBetweenEntities(const char *pA, const char *pB)
{
    return GetDistanceBetweenEntities(GetEntity(pA), GetEntity(pB));
}

float EntityManager::GetAngleBetweenEntities(RootEntity *pA, RootEntity *pB)
{
    if(!pA || !pB) return 361.0f;
    float tXA, tYA, tZA, tXB, tYB, tZB;
    pA->GetPosition(tXA, tYA, tZA);
    pB->GetPosition(tXB, tYB, tZB);
    return atan2f(tYB - tYA, tXB - tXA) * 57.29578f + 90.0f;
}

float EntityManager::GetAngleBetweenEntities(const char *pA, const char *pB)
{
    return GetAngleBetweenEntities(GetEntity(pA), GetEntity(pB));
}

// --- Special lists --------------------------------------------------------------------------

void EntityManager::CreateSpecialLists()
{
    for(int32_t i = 0; i < cSpecialListCount; i++)
    {
        mSpecialLists->AddElementWithDeleter(cSpecialListNames[i], new NamedLinkedList(1), DeleteSpecialList);
    }
}

void EntityManager::ResetSpecialLists()
{
    // The player points into these lists (its checkpoint and ladder).
    if(mPlayer) mPlayer->ForgetSpecialObjects();
    mSpecialLists->Clear();
    CreateSpecialLists();
}

void EntityManager::RegisterSpecialObject(const char *pListName, const char *pEntryName, void *pObject,
                                          DeleteFunctionPtr pDeleter)
{
    if(!pListName || !pEntryName || !pObject) return;
    NamedLinkedList *rList = GetSpecialList(pListName);
    if(!rList)
    {
        Debug::ForcePrint("EM::RegisterSpecialObject:  Error, no sub-list %s\n", pListName);
        return;
    }
    rList->AddElementWithDeleter(pEntryName, pObject, pDeleter);
}

void EntityManager::RegisterSpecialObject(const char *pListName, const char *pEntryName, void *pObject)
{
    RegisterSpecialObject(pListName, pEntryName, pObject, DeleteNothing);
}

void EntityManager::RemoveSpecialAtCursor(NamedLinkedList *pList, bool pDestroy)
{
    // The player holds her checkpoint and ladder by pointer; she must not keep one that goes.
    if(mPlayer) mPlayer->ForgetSpecialObject(pList->GetCursorNode()->rData);
    if(pDestroy) pList->RemoveAtCursor();
    else pList->DetachAtCursor();
}

void EntityManager::RemoveSpecialObject(const char *pListName, const char *pEntryName)
{
    if(!pListName || !pEntryName) return;
    NamedLinkedList *rList = GetSpecialList(pListName);
    if(!rList) return;
    for(void *rData = rList->SetCursorToHead(); rData; rData = rList->CursorNext())
    {
        if(strcmp(rList->GetCursorName(), pEntryName)) continue;
        RemoveSpecialAtCursor(rList, true);
        return;
    }
}

void EntityManager::RemoveSpecialObjectByID(const char *pListName, int32_t pID)
{
    if(!pListName || !strcmp(pListName, PARTICLE_LIST_NAME)) return;
    NamedLinkedList *rList = GetSpecialList(pListName);
    if(!rList) return;
    for(void *rData = rList->SetCursorToHead(); rData; rData = rList->CursorNext())
    {
        if(((RootObject *)rData)->GetID() != pID) continue;
        RemoveSpecialAtCursor(rList, true);
        return;
    }
}

void EntityManager::DetachFromSpecialLists(void *pObject)
{
    if(!pObject) return;
    for(void *rData = mSpecialLists->PushIterator(); rData; rData = mSpecialLists->IterateNext())
    {
        NamedLinkedList *rList = (NamedLinkedList *)rData;
        for(void *rEntry = rList->SetCursorToHead(); rEntry; rEntry = rList->CursorNext())
        {
            if(rEntry == pObject) RemoveSpecialAtCursor(rList, false);
        }
    }
}

void EntityManager::DumpSpecialLists()
{
    for(void *rData = mSpecialLists->PushIterator(); rData; rData = mSpecialLists->IterateNext())
    {
        fprintf(stderr, "Special list %s has %d contents\n", mSpecialLists->GetIteratorName(),
                ((NamedLinkedList *)rData)->GetCount());
    }
}

// --- Projectile target list -----------------------------------------------------------------

void EntityManager::BuildTargetList(uint8_t pFlag)
{
    Debug::PushPrint(0, "[Entities] Construct Projectile List %i\n", pFlag);
    if(pFlag == PROJECTILE_TARGET_NONE)
    {
        mTargetFlag = PROJECTILE_TARGET_NONE;
        mTargetList->Clear();
        Debug::PopPrint("[Entities] Done list, passed PROJECTILE_TARGET_NONE\n");
        return;
    }
    if(pFlag == mTargetFlag)
    {
        Debug::PopPrint("[Entities] Done list, passed same flag as before.\n");
        return;
    }

    mTargetList->Clear();
    for(void *rData = mEntityList->PushIterator(); rData; rData = mEntityList->IterateNext())
    {
        RootEntity *rEntity = (RootEntity *)rData;
        if(rEntity->GetDestruct() || !IsProjectileType(rEntity->GetType())) continue;
        RootProjectile *rProjectile = static_cast<RootProjectile *>(rEntity);
        Debug::Print("%s is a projectile, flag is %i\n", mEntityList->GetIteratorName(), rProjectile->GetTargetFlags());
        if(pFlag & rProjectile->GetTargetFlags()) mTargetList->AddElement("X", rProjectile);
    }
    mTargetFlag = pFlag;
    Debug::PopPrint("[Entities] Done constructing list, has %i entries.\n", mTargetList->GetCount());
}

int32_t EntityManager::GetTargetListCount() const
{
    return mTargetList->GetCount();
}

NamedLinkedList *EntityManager::CollectProjectileHits(uint8_t pFlag, const Hitbox *pHitbox, const PolygonArrays *pPolygon)
{
    BuildTargetList(pFlag);
    NamedLinkedList *nHits = new NamedLinkedList(0);
    for(void *rData = mTargetList->PushIterator(); rData; rData = mTargetList->IterateNext())
    {
        RootProjectile *rProjectile = (RootProjectile *)rData;
        if(rProjectile->GetDestruct()) continue;
        bool tHit = pHitbox ? rProjectile->HitTestHitbox(*pHitbox) : rProjectile->HitTestPolygon(*pPolygon);
        if(tHit) nHits->AddElement("X", rProjectile);
    }
    return nHits;
}

NamedLinkedList *EntityManager::FindProjectileHitA(uint8_t pFlag, Hitbox pHitbox)
{
    return CollectProjectileHits(pFlag, &pHitbox, nullptr);
}

NamedLinkedList *EntityManager::FindProjectileHitB(uint8_t pFlag, PolygonArrays pPolygon)
{
    return CollectProjectileHits(pFlag, nullptr, &pPolygon);
}

// --- Per tick -------------------------------------------------------------------------------

// The music tool hears the number of live enemies once per tick while the world runs.
static void ReportEnemiesToTool(int32_t pCount)
{
    SocketManager *rSockets = SocketManager::Fetch();
    if(!rSockets || !rSockets->HasLink(SocketManager::cToolLinkName)) return;
    CorvelPacket tPacket;
    BuildEnemiesPacket(&tPacket, pCount);
    rSockets->SendPacket(SocketManager::cToolLinkName, &tPacket);
}

void EntityManager::Update()
{
    if(mUpdating)
    {
        fputs("EntityManager::Update warning, called during its own update. Ignored.\n", stderr);
        return;
    }
    mUpdating = 1;
    Debug::PushPrintTag("Debug_EntityManager", "[Entity Manager] Update Begin\n");
    Debug::Print("Size of list in Entity Manager %i\n", mEntityList->GetCount());

    int32_t tEnemies = 0;
    for(void *rData = mEntityList->PushIterator(); rData; rData = mEntityList->IterateNext())
    {
        RootEntity *rEntity = (RootEntity *)rData;
        Debug::Print("Updating %p %i %s %d- ", rData, rEntity->GetType(), mEntityList->GetIteratorName(), rEntity->GetID());

        int32_t tRemovals = mRemovalCount;
        PushRunning(rEntity);
        rEntity->UpdateIfEnabled();
        PopRunning();
        Debug::Print("Done\n");
        if(!StillListed(rEntity, tRemovals)) continue;

        if(!rEntity->GetDestruct())
        {
            if(rEntity->GetType() == TYPE_ENEMY) tEnemies++;
            continue;
        }

        // The player's entry never leaves the list; a script asking it to only clears the flag.
        CursorToEntity(rEntity);
        if(mEntityList->GetCursorNode()->rDeleter == DeletePlayerEntry)
        {
            rEntity->SetDestruct(0);
            continue;
        }
        if(IsProjectileType(rEntity->GetType())) BuildTargetList(PROJECTILE_TARGET_NONE);
        tRemovals = mRemovalCount;
        PushRunning(rEntity);
        rEntity->OnDestroy();
        PopRunning();
        if(StillListed(rEntity, tRemovals)) DestroyEntity(rEntity);
    }
    mLastEnemyCount = tEnemies;
    ReportEnemiesToTool(tEnemies);
    UpdateParticles(GetSpecialList(PARTICLE_LIST_NAME));

    Debug::PopPrint("[Entity Manager] Update Complete\n");
    mUpdating = 0;
}

void EntityManager::AddParticle(Particle *pParticle)
{
    RegisterSpecialObject(PARTICLE_LIST_NAME, "X", pParticle, Particle::DeleteThis);
}

void EntityManager::RunTickAlways()
{
    RunOnEach(&RootEntity::TickAlways);
}

void EntityManager::ApplyActiveCamera()
{
    Camera *rCamera = CameraManager::ActiveCamera();
    if(!rCamera) return;
    glScalef(rCamera->GetScale(), rCamera->GetScale(), rCamera->GetScale());
    rCamera->ApplyTransform();
}

void EntityManager::RenderAboveOverlay()
{
    glPushMatrix();
    ApplyActiveCamera();
    for(void *rData = mEntityList->PushIterator(); rData; rData = mEntityList->IterateNext())
    {
        RootEntity *rEntity = (RootEntity *)rData;
        if(rEntity->GetType() < TYPE_ROOTSPRITE || rEntity->GetType() > TYPE_SPRITE_LAST) continue;
        if(!static_cast<RootSprite *>(rEntity)->IsOverOverlay()) continue;
        PushRunning(rEntity);
        rEntity->Render();
        PopRunning();
    }
    glPopMatrix();
}

void EntityManager::RenderDebugCubes()
{
    RunOnEach(&RootEntity::RenderDebugCube);
}

void EntityManager::Render()
{
    Debug::PushPrintTag("Debug_EntityManagerRender", "[Entity Manager] Render Begin\n");
    GLState::PushAll();
    GLState::BlendByAlphaDroppingClear();
    ApplyActiveCamera();
    RenderParticles(GetSpecialList(PARTICLE_LIST_NAME));

    for(void *rData = mEntityList->PushIterator(); rData; rData = mEntityList->IterateNext())
    {
        RootEntity *rEntity = (RootEntity *)rData;
        Debug::Print("Rendering %p %i %s - ", rData, rEntity->GetType(), mEntityList->GetIteratorName());
        PushRunning(rEntity);
        rEntity->Render();
        PopRunning();
        Debug::Print("Done\n");
    }
    Debug::PopPrint("[Entity Manager] Render Complete\n");

    OptionsManager *rOptions = OptionsManager::Get();
    NamedLinkedList *rLadders = GetSpecialList(LADDER_LIST_NAME);
    if(rOptions && rOptions->GetBool("ShowHitboxes") && rLadders)
    {
        for(void *rData = rLadders->PushIterator(); rData; rData = rLadders->IterateNext())
        {
            ((RootEntity *)rData)->Render();
        }
    }
    GLState::PopAll();
}

#include "world/SpawnManager.h"

#include <GL/gl.h>
#include <cstdio>
#include <cstring>

#include "core/Application.h"
#include "core/DataList.h"
#include "core/NamedLinkedList.h"
#include "core/OptionsManager.h"
#include "core/data/DataLibrary.h"
#include "core/data/LumpRecords.h"
#include "world/Camera.h"
#include "world/EntityManager.h"
#include "world/ProxyTrigger.h"

namespace
{
    // A script may hold a spawn point as its active object; the library lets go of it first.
    void DeleteSpawnPoint(void *pPoint)
    {
        DataLibrary *rLibrary = DataLibrary::Fetch();
        if(rLibrary) rLibrary->ForgetObject(pPoint);
        delete (RootEntity *)pPoint;
    }

    struct PresetRow
    {
        const char *mName;
        const char *mFolder;
        float mSize;
    };

    const PresetRow cPresetRows[ENEMY_PRESET_COUNT] = {
        {"AnglerPony", "AnglerPony", 81.0f},
        {"BadgerTank", "BadgerTank", 48.0f},
        {"Butterfly", "Butterfly", 10.0f},
        {"Buzzshot", "Buzzshot", 26.0f},
        {"Dusterbot", "Dusterbot", 37.0f},
        {"Flamingo", "FlamingoBot", 45.0f},
        {"Jellyfish", "Jellyfish", 23.0f},
        {"Sentinel", "Sentinel", 22.0f},
        {"SquirrelBomber", "SquirrelBomber", 36.0f},
        {"Terrorsprite", "Terrorsprite", 25.0f},
        {"Unibot", "Unibot", 52.0f},
        {"Tick", "Tick", 31.0f},
        {"Wasp", "Wasp", 57.0f},
        {"DrillJumper", "DrillJumper", 26.0f},
        {"Killbot", "Killbot", 62.0f},
        {"Dragonfly", "Dragonfly", 62.0f},
        {"Earthbot", "Earthbot", 57.0f},
        {"WheelBot", "WheelBot", 62.0f},
        {"Electrishrimp", "Electrishrimp", 62.0f},
        {"GreatBlight", "GreatBlight", 62.0f},
        {"Enemy8", "Enemy8", 62.0f},
        {"StalactiteBaseA", "StalactiteBases/StalactiteBaseA", 62.0f},
        {"StalactiteBaseB", "StalactiteBases/StalactiteBaseB", 62.0f},
        {"DuoShooter", "DuoShooter", 62.0f},
        {"Hummingbird", "Hummingbird", 32.0f},
        {"Springer", "Springer", 48.0f},
        {"Bat", "Bat", 40.0f},
        {"Axepony", "Axepony", 47.0f},
        {"FlyingSquirrel", "FlyingSquirrel", 32.0f},
        {"EquiTerra", "EquiTerra", 55.0f},
    };
}

SpawnManager::SpawnManager()
{
    mSpawnPoints = new NamedLinkedList(1);
    mUpdating = 0;
    mClearPending = 0;
    memset(mPresets, 0, sizeof(mPresets));
}

SpawnManager::~SpawnManager()
{
    delete mSpawnPoints;
}

SpawnManager *SpawnManager::Get()
{
    return GetApplication()->mSpawnManager;
}

void EnemyPresets::Build(SpawnManager *pManager)
{
    if(!pManager) return;
    for(int32_t i = 0; i < ENEMY_PRESET_COUNT; i++)
    {
        EnemyPreset &rPreset = pManager->mPresets[i];
        snprintf(rPreset.mName, sizeof(rPreset.mName), "%s", cPresetRows[i].mName);
        snprintf(rPreset.mConstructorPath, sizeof(rPreset.mConstructorPath), "Data/Scripts/Enemies/%s/CConstructor.lua",
                 cPresetRows[i].mFolder);
        rPreset.mWidth = cPresetRows[i].mSize;
        rPreset.mHeight = cPresetRows[i].mSize;
    }
}

const EnemyPreset *SpawnManager::FindPreset(const char *pName) const
{
    if(!pName) return nullptr;
    for(int32_t i = 0; i < ENEMY_PRESET_COUNT; i++)
    {
        if(mPresets[i].mName[0] && !strcmp(mPresets[i].mName, pName)) return &mPresets[i];
    }
    return nullptr;
}

const EnemyPreset *SpawnManager::GetPreset(int32_t pIndex) const
{
    if(pIndex < 0 || pIndex >= ENEMY_PRESET_COUNT) return nullptr;
    return &mPresets[pIndex];
}

void SpawnManager::AddSpawnPoint(EnemySpawnTrigger *pPoint)
{
    if(!pPoint) return;
    mSpawnPoints->AddElementWithDeleter(pPoint->GetName(), pPoint, DeleteSpawnPoint);
}

bool SpawnManager::ConfigureFromPreset(const char *pPresetName, EnemySpawnTrigger *pPoint, const char *pSpawnName, float pX, float pY)
{
    if(!pPresetName || !pPoint || !pSpawnName) return false;
    const EnemyPreset *rPreset = FindPreset(pPresetName);
    if(!rPreset) return false;
    DataList *rData = pPoint->GetData();
    SetDataString(rData, "EnemyName", pSpawnName);
    SetDataString(rData, "PathToConstructorScript", rPreset->mConstructorPath);
    SetDataNumber(rData, "SpawnPositionX", pX);
    SetDataNumber(rData, "SpawnPositionY", pY);
    SetDataNumber(rData, "CanRespawn", 1.0f);
    pPoint->SetRect(pX, pY, pX + rPreset->mWidth, pY + rPreset->mHeight);
    return true;
}

// The spawn point of record i: "AutoSpawn" and two digits, distinct for the first 100.
static void AutoSpawnName(int32_t pIndex, char *sName, size_t pSize)
{
    snprintf(sName, pSize, "AutoSpawn%c%c", (char)('0' + (pIndex / 10) % 10), (char)('0' + pIndex % 10));
}

void SpawnManager::AutoSpawn(int32_t pCount, const SpawnRecord *pRecords)
{
    if(pCount < 1 || !pRecords) return;
    for(int32_t i = 0; i < pCount; i++)
    {
        char tName[16];
        AutoSpawnName(i, tName, sizeof(tName));
        EnemySpawnTrigger *nPoint = new EnemySpawnTrigger();
        nPoint->SetName(tName);
        char tPreset[LUMP_SPAWN_NAME_MAX + 1];
        snprintf(tPreset, sizeof(tPreset), "%s", pRecords[i].mName);
        if(ConfigureFromPreset(tPreset, nPoint, tName, (float)pRecords[i].mX, (float)pRecords[i].mY))
        {
            nPoint->SetFromSpawnRecord();
            AddSpawnPoint(nPoint);
            continue;
        }
        fprintf(stderr, "SpawnManager: Error processing %s to %s\n", tPreset, tName);
        delete nPoint;
    }
}

// When no view of the level comes near enough to the box to set its spawn point off, says so,
// naming the point and what it makes (pWhat).
static void ReportOutOfReach(const char *pPoint, const char *pWhat, const ZoneRect &pBox, float pLevelW, float pLevelH)
{
    if(SpawnBandCanReach(pBox, pLevelW, pLevelH, (float)CAMERA_VIEW_WIDTH, (float)CAMERA_VIEW_HEIGHT)) return;
    fprintf(stderr,
            "SpawnManager: %s (%s at %.0f, %.0f) will never spawn: in a %.0f by %.0f map no view comes within %i units of "
            "it from outside; move it toward an edge the view scrolls to, or make the map larger\n",
            pPoint, pWhat, pBox.mLft, pBox.mTop, pLevelW, pLevelH, SPAWN_BAND_FAR);
}

void SpawnManager::ReportUnreachableRecords(int32_t pCount, const SpawnRecord *pRecords, float pLevelW, float pLevelH) const
{
    if(pCount < 1 || !pRecords || !(pLevelW > 0.0f) || !(pLevelH > 0.0f)) return;
    for(int32_t i = 0; i < pCount; i++)
    {
        char tPreset[LUMP_SPAWN_NAME_MAX + 1];
        snprintf(tPreset, sizeof(tPreset), "%s", pRecords[i].mName);
        const EnemyPreset *rPreset = FindPreset(tPreset);
        if(!rPreset) continue;
        ZoneRect tBox = {};
        tBox.mLft = (float)pRecords[i].mX;
        tBox.mTop = (float)pRecords[i].mY;
        tBox.mRgt = tBox.mLft + rPreset->mWidth;
        tBox.mBot = tBox.mTop + rPreset->mHeight;
        char tName[16];
        AutoSpawnName(i, tName, sizeof(tName));
        ReportOutOfReach(tName, tPreset, tBox, pLevelW, pLevelH);
    }
}

namespace
{
    struct SpawnEntry
    {
        const char *mName;
        bool mIsText;
    };

    // What a spawn point must hold before it spawns anything (the check and the spawn read them).
    const SpawnEntry cNeededEntries[] = {
        {"EnemyName", true},       {"PathToConstructorScript", true}, {"SpawnPositionX", false},
        {"SpawnPositionY", false}, {"CanRespawn", false},
    };

    // The first needed entry the data lacks, or holds as the other kind; null when none.
    const SpawnEntry *MissingEntry(DataList *pData)
    {
        for(const SpawnEntry &rEntry : cNeededEntries)
        {
            float tNumber = 0.0f;
            bool tHeld = rEntry.mIsText ? ReadDataString(pData, rEntry.mName) != nullptr : ReadDataNumber(pData, rEntry.mName, tNumber);
            if(!tHeld) return &rEntry;
        }
        return nullptr;
    }
}

void SpawnManager::ReportScriptPointsThatNeverSpawn(float pLevelW, float pLevelH) const
{
    for(void *rData = mSpawnPoints->PushIterator(); rData; rData = mSpawnPoints->IterateNext())
    {
        EnemySpawnTrigger *rPoint = (EnemySpawnTrigger *)rData;
        if(rPoint->IsFromSpawnRecord()) continue;
        const char *rEnemy = ReadDataString(rPoint->GetData(), "EnemyName");
        if(!rEnemy) rEnemy = "no EnemyName";
        const SpawnEntry *rMissing = MissingEntry(rPoint->GetData());
        const ZoneRect tBox = rPoint->GetRect();
        if(rMissing)
        {
            fprintf(stderr, "SpawnManager: %s (%s) spawns nothing until it has the %s entry \"%s\"\n", rPoint->GetName(),
                    rEnemy, rMissing->mIsText ? "text" : "number", rMissing->mName);
        }
        else if(!(tBox.mRgt > tBox.mLft) || !(tBox.mBot > tBox.mTop))
        {
            fprintf(stderr,
                    "SpawnManager: %s (%s) will never spawn: its rectangle (%g, %g, %g, %g) has no area; "
                    "\"Hitbox\" sets its left, top, right and bottom\n",
                    rPoint->GetName(), rEnemy, tBox.mLft, tBox.mTop, tBox.mRgt, tBox.mBot);
        }
        else if(pLevelW > 0.0f && pLevelH > 0.0f)
        {
            ReportOutOfReach(rPoint->GetName(), rEnemy, tBox, pLevelW, pLevelH);
        }
    }
}

void SpawnManager::ClearRecordPoints()
{
    for(void *rData = mSpawnPoints->SetCursorToHead(); rData; rData = mSpawnPoints->CursorNext())
    {
        if(((EnemySpawnTrigger *)rData)->IsFromSpawnRecord()) mSpawnPoints->RemoveAtCursor();
    }
}

void SpawnManager::RearmAll()
{
    for(void *rData = mSpawnPoints->PushIterator(); rData; rData = mSpawnPoints->IterateNext())
    {
        ((EnemySpawnTrigger *)rData)->Rearm();
    }
}

void SpawnManager::Clear()
{
    if(mUpdating)
    {
        mClearPending = 1;
        return;
    }
    mSpawnPoints->Clear();
}

RootEntity *SpawnManager::FindById(int32_t pID)
{
    for(void *rData = mSpawnPoints->PushIterator(); rData; rData = mSpawnPoints->IterateNext())
    {
        if(((RootEntity *)rData)->GetID() == pID)
        {
            mSpawnPoints->PopIterator();
            return (RootEntity *)rData;
        }
    }
    return nullptr;
}

int32_t SpawnManager::GetSpawnPointCount() const
{
    return mSpawnPoints->GetCount();
}

void SpawnManager::Update()
{
    mUpdating = 1;
    for(void *rData = mSpawnPoints->PushIterator(); rData; rData = mSpawnPoints->IterateNext())
    {
        ((RootEntity *)rData)->UpdateIfEnabled();
        if(mClearPending)
        {
            mSpawnPoints->PopIterator();
            break;
        }
    }
    mUpdating = 0;
    if(mClearPending)
    {
        mClearPending = 0;
        mSpawnPoints->Clear();
    }
}

void SpawnManager::RenderHitboxes()
{
    OptionsManager *rOptions = OptionsManager::Get();
    if(!rOptions || !rOptions->GetBool("ShowHitboxes")) return;
    // The points are drawn where they stand in the level, as the entities are.
    glPushMatrix();
    EntityManager::ApplyActiveCamera();
    for(void *rData = mSpawnPoints->PushIterator(); rData; rData = mSpawnPoints->IterateNext())
    {
        ((RootEntity *)rData)->Render();
    }
    glPopMatrix();
}

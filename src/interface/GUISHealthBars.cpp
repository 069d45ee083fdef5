#include "interface/GUISHealthBars.h"

#include <GL/gl.h>

#include "actors/PlayerPony.h"
#include "core/data/DataLibrary.h"
#include "core/render/Bitmap.h"
#include "core/render/Drawing.h"
#include "core/render/GLState.h"
#include "interface/AudioManager.h"
#include "interface/GUI.h"
#include "world/EntityManager.h"

// Selector cells of the ring, per weapon slot: their corner in the sheet; on screen each is
// shifted by (-17, 80).
static const int32_t cRingX[HEALTHBAR_WEAPON_COUNT] = {51, 62, 60, 43, 19, 2, 0, 11};
static const int32_t cRingY[HEALTHBAR_WEAPON_COUNT] = {6, 24, 47, 62, 62, 47, 24, 6};
static const char *cWeaponImages[HEALTHBAR_WEAPON_COUNT] =
{
    "Root/Images/GUI/HealthBar/Lightning Bit", "Root/Images/GUI/HealthBar/Nightmare Cutter",
    "Root/Images/GUI/HealthBar/Prism Gale", "Root/Images/GUI/HealthBar/Chaos Gun",
    "Root/Images/GUI/HealthBar/Sonic Blaster", "Root/Images/GUI/HealthBar/Permafrost Cannon",
    "Root/Images/GUI/HealthBar/Rock Wrecker", "Root/Images/GUI/HealthBar/Caustic Spray",
};

static Bitmap *FindBitmap(const char *pPath)
{
    DataLibrary *rLibrary = DataLibrary::Fetch();
    return rLibrary ? static_cast<Bitmap *>(rLibrary->GetEntryOfKind(pPath, DL_KIND_BITMAP)) : nullptr;
}

// A quad showing the columns u1..u2 of the bound texture at full height (t = 0 at the top, as
// every upload stores the picture).
static void StripQuad(float pX1, float pY1, float pX2, float pY2, float pU1, float pU2)
{
    DrawBoundTextureRect(pX1, pY1, pX2, pY2, pU1, 0.0f, pU2, 1.0f);
}

int32_t HealthFrameVariant(int32_t pMaxHealth)
{
    return (pMaxHealth - 18) / 2;
}

bool RunHealthRefill(PlayerPony *pPlayer, int32_t &sRefillTicks)
{
    if(!pPlayer) return false;
    int32_t tPending = pPlayer->GetPendingHeal();
    if(tPending == 0)
    {
        sRefillTicks = 0;
        return false;
    }
    int32_t tHealth = pPlayer->GetHealth();
    int32_t tMax = pPlayer->GetMaxHealth();
    if(tHealth == tMax)
    {
        pPlayer->FillSubtanks(tPending);
        pPlayer->SetPendingHeal(0);
        return false;
    }

    sRefillTicks++;
    if(sRefillTicks % 5 != 0) return false;
    if(tPending > tMax - tHealth) tPending = tMax - tHealth;
    AudioManager::PlaySoundIfBooted("HealthRecover");
    pPlayer->SetHealth(tHealth + 1);
    pPlayer->SetPendingHeal(tPending - 1);
    return true;
}

GUISKestraHealthBar::GUISKestraHealthBar()
{
    mImagesLoaded = 0;
    mRefillTicks = 0;
    rCap = nullptr;
    for(int32_t i = 0; i < HEALTHBAR_WEAPON_COUNT; i++) rWeapons[i] = nullptr;
    rFrame = nullptr;
    rPoint = nullptr;
    rSelectors = nullptr;
    rSelectedSelector = nullptr;
}

void GUISKestraHealthBar::LoadImages()
{
    if(mImagesLoaded) return;
    mImagesLoaded = 1;
    rCap = HoldLibraryObject(FindBitmap("Root/Images/GUI/HealthBar/Cap"));
    for(int32_t i = 0; i < HEALTHBAR_WEAPON_COUNT; i++) rWeapons[i] = HoldLibraryObject(FindBitmap(cWeaponImages[i]));
    rFrame = HoldLibraryObject(FindBitmap("Root/Images/GUI/HealthBar/Frame"));
    rPoint = HoldLibraryObject(FindBitmap("Root/Images/GUI/HealthBar/Point"));
    rSelectors = HoldLibraryObject(FindBitmap("Root/Images/GUI/HealthBar/SelectorsA"));
    rSelectedSelector = HoldLibraryObject(FindBitmap("Root/Images/GUI/HealthBar/SelectorsB"));
}

void GUISKestraHealthBar::ReleaseLibraryObject(void *pObject)
{
    DropLibraryObject(rCap, pObject);
    DropLibraryObject(rWeapons, HEALTHBAR_WEAPON_COUNT, pObject);
    DropLibraryObject(rFrame, pObject);
    DropLibraryObject(rPoint, pObject);
    DropLibraryObject(rSelectors, pObject);
    DropLibraryObject(rSelectedSelector, pObject);
}

bool GUISKestraHealthBar::HandleEvent(int32_t pCode, int32_t pX, int32_t pY)
{
    (void)pCode;
    (void)pX;
    (void)pY;
    return RunHealthRefill(PlayerPony::Get(), mRefillTicks);
}

void GUISKestraHealthBar::Render()
{
    LoadImages();
    PlayerPony *rPlayer = PlayerPony::Get();
    if(!rPlayer) return;
    GLState::PushAll();
    glTranslatef(16.0f, 16.0f, 0.0f);

    if(rFrame && rFrame->GetTextureWidth() > 0)
    {
        float tW = (float)rFrame->GetTextureWidth();
        int32_t tVariant = HealthFrameVariant(rPlayer->GetMaxHealth());
        rFrame->Bind();
        StripQuad(0.0f, 0.0f, 45.0f, 144.0f, (float)tVariant * 45.0f / tW, (float)(tVariant + 1) * 45.0f / tW);
    }
    RenderPoints(rPlayer);
    RenderWeapon(rPlayer);
    RenderRing(rPlayer);
    GLState::PopAll();
}

// Points are 3 units tall and fill the bar from the bottom; the bar grows upwards by 3 units
// per point of maximum above 18.
void GUISKestraHealthBar::RenderPoints(PlayerPony *pPlayer)
{
    if(!rPoint) return;
    int32_t tHealth = pPlayer->GetHealth();
    int32_t tMax = pPlayer->GetMaxHealth();
    GLState::PushAll();
    glTranslatef(19.0f, 45.0f, 0.0f);
    glTranslatef(0.0f, -3.0f * (float)(tMax - 18), 0.0f);
    glTranslatef(0.0f, 3.0f * (float)(tMax - tHealth), 0.0f);
    rPoint->Bind();
    for(int32_t i = 0; i < tHealth; i++)
    {
        rPoint->DrawUnitQuad();
        glTranslatef(0.0f, 3.0f, 0.0f);
    }
    GLState::PopAll();
}

void GUISKestraHealthBar::RenderWeapon(PlayerPony *pPlayer)
{
    int32_t tSlot = pPlayer->GetSelectedWeapon();
    int32_t tAmmo = (tSlot >= 0) ? pPlayer->GetWeaponAmmo(tSlot) : -1;
    if(tSlot < 0 || tSlot >= HEALTHBAR_WEAPON_COUNT || tAmmo == -1)
    {
        if(rCap) rCap->DrawAt(0, 99);
        return;
    }
    Bitmap *rStrip = rWeapons[tSlot];
    if(!rStrip || rStrip->GetTextureWidth() < 1) return;
    float tW = (float)rStrip->GetTextureWidth();
    rStrip->Bind();
    StripQuad(0.0f, 99.0f, 45.0f, 144.0f, (float)(28 - tAmmo) * 45.0f / tW, (float)(29 - tAmmo) * 45.0f / tW);
}

// Each cell is cut from its sheet with the sheet's top row at t = 0, so no wrap mode matters.
void GUISKestraHealthBar::RenderRing(PlayerPony *pPlayer)
{
    if(!rSelectors || !rSelectedSelector) return;
    int32_t tSelected = pPlayer->GetSelectedWeapon();
    for(int32_t i = 0; i < HEALTHBAR_WEAPON_COUNT; i++)
    {
        if(pPlayer->GetWeaponAmmo(i) == -1) continue;
        Bitmap *rSheet = (i == tSelected) ? rSelectedSelector : rSelectors;
        float tW = (float)rSheet->GetTextureWidth(), tH = (float)rSheet->GetTextureHeight();
        if(tW < 1.0f || tH < 1.0f) continue;
        float tX = (float)cRingX[i], tY = (float)cRingY[i];
        rSheet->Bind();
        DrawBoundTextureRect(tX - 17.0f, tY + 80.0f, tX, tY + 97.0f, tX / tW, tY / tH, (tX + 17.0f) / tW, (tY + 17.0f) / tH);
    }
}

// ---------------------------------------------------------------------------------------------

static BossHealthReader xBossHealthReader = nullptr;

void GUISBossHealthBar::SetHealthReader(BossHealthReader pReader)
{
    xBossHealthReader = pReader;
}

GUISBossHealthBar::GUISBossHealthBar()
{
    rFrameImage = nullptr;
    rChipImage = nullptr;
    mImagesTried = 0;
    mTargetID = 0;
}

void GUISBossHealthBar::SetTargetEnemy(RootEntity *pEnemy)
{
    mTargetID = pEnemy ? pEnemy->GetID() : 0;
}

RootEntity *GUISBossHealthBar::GetTargetEnemy()
{
    if(mTargetID == 0) return nullptr;
    EntityManager *rEntities = EntityManager::Fetch();
    RootEntity *rTarget = rEntities ? rEntities->FindByID(mTargetID) : nullptr;
    if(!rTarget) SetTarget(255);
    return rTarget;
}

int32_t GUISBossHealthBar::GetTargetHealth()
{
    RootEntity *rTarget = GetTargetEnemy();
    if(!rTarget) return -1;
    return xBossHealthReader ? xBossHealthReader(rTarget) : 0;
}

void GUISBossHealthBar::SetTarget(int32_t pCode)
{
    if(pCode != 255) return;
    mTargetID = 0;
    Hide();
}

void GUISBossHealthBar::ReleaseLibraryObject(void *pObject)
{
    DropLibraryObject(rFrameImage, pObject);
    DropLibraryObject(rChipImage, pObject);
}

void GUISBossHealthBar::Render()
{
    if(!mImagesTried)
    {
        mImagesTried = 1;
        rFrameImage = HoldLibraryObject(FindBitmap("Root/Images/GUI/Overlay/BossHealthBar"));
        rChipImage = HoldLibraryObject(FindBitmap("Root/Images/GUI/Overlay/HealthChip"));
    }
    if(!rFrameImage || !rChipImage) return;
    int32_t tHealth = GetTargetHealth();
    if(tHealth < 0) return;

    GLState::PushAll();
    rFrameImage->Bind();
    rFrameImage->ApplyOffset();
    rFrameImage->DrawUnitQuad();
    glTranslatef(6.0f, 6.0f, 0.0f);
    glTranslatef(0.0f, (float)(32 - tHealth) * 3.0f, 0.0f);
    rChipImage->Bind();
    for(int32_t i = 0; i < tHealth; i++)
    {
        rChipImage->DrawUnitQuad();
        glTranslatef(0.0f, 3.0f, 0.0f);
    }
    GLState::PopAll();
}

GUISKestraHealthBar *GetKestraHealthBar()
{
    GUI *rGUI = GetGUI();
    return rGUI ? dynamic_cast<GUISKestraHealthBar *>(rGUI->FindObject(KESTRA_HEALTH_BAR_NAME)) : nullptr;
}

GUISBossHealthBar *GetBossHealthBar()
{
    GUI *rGUI = GetGUI();
    return rGUI ? dynamic_cast<GUISBossHealthBar *>(rGUI->FindObject(BOSS_HEALTH_BAR_NAME)) : nullptr;
}

#include "interface/GUISPauseScreen.h"

#include <GL/gl.h>
#include <cstdlib>

#include "actors/PlayerPony.h"
#include "core/ControlManager.h"
#include "core/Gears.h"
#include "core/Utilities.h"
#include "core/data/DataLibrary.h"
#include "core/render/Bitmap.h"
#include "core/render/Drawing.h"
#include "core/render/Font.h"
#include "core/render/GLState.h"
#include "interface/GUI.h"

// The status page's weapons in page order: the player's slot, the energy strip, the caption
// and its place, and the connector from the caption to the weapon.
struct StatusWeaponLayout
{
    int32_t mWeapon;
    const char *mImage;
    const char *mCaption;
    int32_t mCaptionX, mCaptionY;
    int32_t mLineX1, mLineY1, mLineX2, mLineY2;
};

static const StatusWeaponLayout cWeaponLayout[PAUSE_WEAPON_COUNT] =
{
    {0, "Lightning Bit", "LIGHTNING BIT", 52, 192, 60, 202, 60, 230},
    {2, "Prism Gale", "PRISM GALE", 102, 212, 110, 220, 110, 231},
    {4, "Sonic Blaster", "SONIC BLASTER", 79, 282, 150, 282, 156, 274},
    {6, "Rock Wrecker", "ROCK WRECKER", 163, 292, 210, 273, 210, 286},
    {1, "Nightmare Cutter", "NIGHTMARE CUTTER", 252, 302, 270, 274, 270, 294},
    {5, "Permafrost Cannon", "PERMAFROST CANNON", 342, 282, 333, 273, 340, 280},
    {3, "Chaos Gun", "CHAOS GUN", 323, 212, 370, 219, 370, 231},
    {7, "Caustic Spray", "CAUSTIC SPRAY", 351, 192, 420, 201, 420, 230},
};

// Nodes of the status page.
static const int32_t cBusterNode = 0;
static const int32_t cExitNode = 1;
static const int32_t cFirstWeaponNode = 2;
static const int32_t cFirstTankNode = 14;
static const float cOffView[4] = {-1000.0f, 1000.0f, 1000.0f, 1000.0f};

float StatusHealthBandStart(int32_t pMaxHealth, int32_t pImageHeight)
{
    if(pImageHeight < 1) return 0.0f;
    return (float)((32 - pMaxHealth) * 18 / 2) / (float)pImageHeight;
}

void BuildStatusLinks(const uint8_t *pAvailable, int32_t pSubtankCount, int32_t sLinks[STATUS_NODE_COUNT][4])
{
    for(int32_t i = 0; i < STATUS_NODE_COUNT; i++)
    {
        for(int32_t d = 0; d < 4; d++) sLinks[i][d] = -1;
    }
    if(pSubtankCount < 0) pSubtankCount = 0;
    if(pSubtankCount > STATUS_NODE_COUNT - cFirstTankNode) pSubtankCount = STATUS_NODE_COUNT - cFirstTankNode;

    int32_t tFirstWeapon = -1;
    for(int32_t p = 0; p < PAUSE_WEAPON_COUNT && tFirstWeapon < 0; p++)
    {
        if(pAvailable[p]) tFirstWeapon = cFirstWeaponNode + p;
    }
    bool tHasTank = pSubtankCount > 0;

    sLinks[cBusterNode][NAV_UP] = tHasTank ? cFirstTankNode : cExitNode;
    sLinks[cBusterNode][NAV_DOWN] = tFirstWeapon >= 0 ? tFirstWeapon : cExitNode;
    sLinks[cExitNode][NAV_UP] = tFirstWeapon >= 0 ? tFirstWeapon : cBusterNode;
    sLinks[cExitNode][NAV_DOWN] = tHasTank ? cFirstTankNode : cBusterNode;

    for(int32_t p = 0; p < PAUSE_WEAPON_COUNT; p++)
    {
        int32_t *rLinks = sLinks[cFirstWeaponNode + p];
        rLinks[NAV_UP] = cBusterNode;
        rLinks[NAV_DOWN] = cExitNode;
        if(!pAvailable[p]) continue;
        for(int32_t q = p - 1; q >= 0; q--)
        {
            if(!pAvailable[q]) continue;
            rLinks[NAV_LEFT] = cFirstWeaponNode + q;
            break;
        }
        for(int32_t q = p + 1; q < PAUSE_WEAPON_COUNT; q++)
        {
            if(!pAvailable[q]) continue;
            rLinks[NAV_RIGHT] = cFirstWeaponNode + q;
            break;
        }
    }

    for(int32_t n = 0; n < pSubtankCount; n++)
    {
        int32_t *rLinks = sLinks[cFirstTankNode + n];
        rLinks[NAV_LEFT] = n == 0 ? -1 : cFirstTankNode + n - 1;
        rLinks[NAV_UP] = cExitNode;
        rLinks[NAV_RIGHT] = n == pSubtankCount - 1 ? -1 : cFirstTankNode + n + 1;
        rLinks[NAV_DOWN] = cBusterNode;
    }
}

static Bitmap *FindWeaponBitmap(const char *pName)
{
    DataLibrary *rLibrary = DataLibrary::Fetch();
    if(!rLibrary) return nullptr;
    char tPath[128];
    int tLength = snprintf(tPath, sizeof(tPath), "Root/Images/GUI/HealthBar/%s", pName);
    if(tLength < 0 || tLength >= (int)sizeof(tPath)) return nullptr;
    return static_cast<Bitmap *>(rLibrary->GetEntryOfKind(tPath, DL_KIND_BITMAP));
}

static bool WeaponAvailable(PlayerPony *pPlayer, int32_t pWeapon)
{
    return pPlayer && pPlayer->GetWeaponAmmo(pWeapon) != -1;
}

void GUISPauseScreen::InitWeaponRecords()
{
    if(mWeaponRecordsReady) return;
    for(int32_t p = 0; p < PAUSE_WEAPON_COUNT; p++)
    {
        const StatusWeaponLayout &rLayout = cWeaponLayout[p];
        StatusWeaponRecord &rRecord = mWeaponRecords[p];
        rRecord.mWeapon = rLayout.mWeapon;
        rRecord.rImage = HoldLibraryObject(FindWeaponBitmap(rLayout.mImage));
        ResetString(&rRecord.mCaption, rLayout.mCaption);
        rRecord.mCaptionX = rLayout.mCaptionX;
        rRecord.mCaptionY = rLayout.mCaptionY;
        rRecord.mLineX1 = rLayout.mLineX1;
        rRecord.mLineY1 = rLayout.mLineY1;
        rRecord.mLineX2 = rLayout.mLineX2;
        rRecord.mLineY2 = rLayout.mLineY2;
    }
    mWeaponRecordsReady = 1;
}

void GUISPauseScreen::BuildStatusNavigation()
{
    if(!mWeaponRecordsReady || !mNeedsRefresh) return;
    mNeedsRefresh = 0;
    PlayerPony *rPlayer = PlayerPony::Get();
    if(rPlayer) rPlayer->NormaliseSubtanks();
    int32_t tTanks = rPlayer ? rPlayer->GetSubtankCount() : 0;
    if(tTanks > STATUS_NODE_COUNT - cFirstTankNode) tTanks = STATUS_NODE_COUNT - cFirstTankNode;

    SetNavigationNodeCount(STATUS_NODE_COUNT);
    SetCurrentNavigationNode(GetNavigationNode(cBusterNode));
    SetReticuleRect(cBusterNode, 217, 165, 264, 214);
    int32_t tSelected = rPlayer ? rPlayer->GetSelectedWeapon() : -1;
    uint8_t tAvailable[PAUSE_WEAPON_COUNT];
    bool tSelectionFound = false;
    for(int32_t p = 0; p < PAUSE_WEAPON_COUNT; p++)
    {
        tAvailable[p] = WeaponAvailable(rPlayer, mWeaponRecords[p].mWeapon) ? 1 : 0;
        if(tSelected != -1 && !tSelectionFound && mWeaponRecords[p].mWeapon == tSelected)
        {
            SetCurrentNavigationNode(GetNavigationNode(cFirstWeaponNode + p));
            tSelectionFound = true;
        }
    }

    int32_t tLinks[STATUS_NODE_COUNT][4];
    BuildStatusLinks(tAvailable, tTanks, tLinks);
    SetNavigationNode(cBusterNode, tLinks[0][0], tLinks[0][1], tLinks[0][2], tLinks[0][3]);
    SetNavigationNode(cExitNode, tLinks[1][0], tLinks[1][1], tLinks[1][2], tLinks[1][3]);
    SetReticuleRect(cExitNode, cOffView[0], cOffView[1], cOffView[2], cOffView[3]);
    for(int32_t p = 0; p < PAUSE_WEAPON_COUNT; p++)
    {
        int32_t tNode = cFirstWeaponNode + p;
        SetNavigationNode(tNode, tLinks[tNode][0], tLinks[tNode][1], tLinks[tNode][2], tLinks[tNode][3]);
        SetReticuleRect(tNode, 54.0f + 49.0f * (float)p, 238.0f, 92.0f + 49.0f * (float)p, 276.0f);
    }
    for(int32_t n = 0; n < tTanks; n++)
    {
        int32_t tNode = cFirstTankNode + n;
        SetNavigationNode(tNode, tLinks[tNode][0], tLinks[tNode][1], tLinks[tNode][2], tLinks[tNode][3]);
        SetReticuleRect(tNode, cOffView[0], cOffView[1], cOffView[2], cOffView[3]);
    }
}

void GUISPauseScreen::HandleStatusInput()
{
    BuildStatusNavigation();
    int32_t tNode = GetCurrentNavigationIndex();
    if(!ControlManager::IsPressed("Shoot")) return;
    PlayerPony *rPlayer = PlayerPony::Get();
    NavigationNode *rCurrent = GetCurrentNavigationNode();

    for(int32_t p = 0; p < PAUSE_WEAPON_COUNT; p++)
    {
        NavigationNode *rWeaponNode = GetNavigationNode(cFirstWeaponNode + p);
        if(!rCurrent || rCurrent != rWeaponNode) continue;
        if(rPlayer) rPlayer->SelectWeapon(mWeaponRecords[p].mWeapon);
        NavigationNode *rBuster = GetNavigationNode(cBusterNode);
        NavigationNode *rExit = GetNavigationNode(cExitNode);
        if(rBuster) rBuster->rDown = rWeaponNode;
        if(rExit) rExit->rUp = rWeaponNode;
        return;
    }
    if(rCurrent && rCurrent == GetNavigationNode(cBusterNode))
    {
        if(rPlayer) rPlayer->SelectWeapon(-1);
        return;
    }
    if(rCurrent && rCurrent == GetNavigationNode(cExitNode))
    {
        GUI *rGUI = GetGUI();
        if(rGUI) rGUI->CloseScreen(this);
        ActivateLevelSelectGear();
        return;
    }
    if(rPlayer && tNode >= cFirstTankNode && tNode < cFirstTankNode + rPlayer->GetSubtankCount() &&
       rPlayer->GetHealth() < rPlayer->GetMaxHealth())
    {
        mDrainTank = tNode - cFirstTankNode;
        mDrainTicks = 0;
    }
}

// The armour captions and the connectors from them to the portrait, as the page places them.
struct StatusCaption
{
    int32_t mX, mY;
    const char *mText;
};

static const StatusCaption cStatusCaptions[] =
{
    {62, 42, "KB ARMOR"}, {132, 62, "AMPLIFIER"}, {163, 92, "BUSTER"}, {164, 131, "CHESTPLATE"},
    {64, 113, "REAR"}, {67, 124, "LEGS"}, {52, 72, "PEGASUS"}, {58, 84, "WINGS"},
    {303, 32, "ENERGY MANAGEMENT"}, {52, 172, "WEAPONRY (FIRE TO SELECT)"}, {282, 192, "KB BUSTER"},
};

static const float cArmourConnectors[][4] =
{
    {146, 80, 154, 72}, {144, 100, 154, 94}, {154, 94, 159, 94}, {146, 119, 160, 133}, {68, 93, 75, 100},
    {75, 100, 85, 100}, {75, 133, 103, 143}, {103, 143, 110, 136}, {103, 143, 135, 135}, {267, 195, 279, 195},
};

// Green lines two units wide, drawn as one batch: x1, y1, x2, y2 each.
static void DrawConnectors(const float (*pLines)[4], int32_t pCount)
{
    glLineWidth(2.0f);
    glColor4f(0.0f, 0.7568f, 0.0f, 1.0f);
    glDisable(GL_TEXTURE_2D);
    glBegin(GL_LINES);
    for(int32_t i = 0; i < pCount; i++)
    {
        glVertex2f(pLines[i][0], pLines[i][1]);
        glVertex2f(pLines[i][2], pLines[i][3]);
    }
    glEnd();
    glEnable(GL_TEXTURE_2D);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
}

void GUISPauseScreen::RenderStatusPage()
{
    PlayerPony *rPlayer = PlayerPony::Get();
    if(rImages[PAUSE_IMG_PAUSE_BASE]) rImages[PAUSE_IMG_PAUSE_BASE]->DrawAt(0, 0);
    RenderStatusCaptions();
    RenderStatusPortrait(rPlayer);
    DrawConnectors(cArmourConnectors, (int32_t)(sizeof(cArmourConnectors) / sizeof(cArmourConnectors[0])));
    RenderStatusHealth(rPlayer);
    if(rKBCap) RenderStatusWeapons(rPlayer);
    RenderStatusExit();
    RenderStatusSubtanks(rPlayer);
    RenderPushImages();
    RenderReticule(GetCurrentNavigationIndex());
}

void GUISPauseScreen::RenderStatusCaptions()
{
    if(!mMenuFont) return;
    mMenuFont->SetScaleY(1.05f);
    for(const StatusCaption &rCaption : cStatusCaptions) mMenuFont->DrawTextAt(rCaption.mX, rCaption.mY, rCaption.mText);
}

void GUISPauseScreen::RenderStatusPortrait(PlayerPony *pPlayer)
{
    if(!pPlayer) return;
    glTranslatef(79.0f, 51.0f, 0.0f);
    pPlayer->RenderStatusPortrait();
    glTranslatef(-79.0f, -51.0f, 0.0f);
}

// One 18-row band of the bar picture per maximum health, then a mark per point of health.
void GUISPauseScreen::RenderStatusHealth(PlayerPony *pPlayer)
{
    Bitmap *rBar = rImages[PAUSE_IMG_HEALTHBAR];
    Bitmap *rPoint = rImages[PAUSE_IMG_HEALTH_POINT];
    if(!rBar || !rPoint || !pPlayer || rBar->GetHeight() <= 0) return;
    float tT0 = StatusHealthBandStart(pPlayer->GetMaxHealth(), rBar->GetHeight());
    float tT1 = tT0 + 18.0f / (float)rBar->GetHeight();
    rBar->Bind();
    DrawBoundTextureRect(301.0f, 53.0f, 407.0f, 71.0f, 0.0f, tT0, 1.0f, tT1);
    for(int32_t i = 0; i < pPlayer->GetHealth(); i++) rPoint->DrawAt(304 + 3 * i, 60);
}

// The buster's cap, then each available weapon's energy frame with its caption and connector.
void GUISPauseScreen::RenderStatusWeapons(PlayerPony *pPlayer)
{
    int32_t tSelected = pPlayer ? pPlayer->GetSelectedWeapon() : -1;
    rKBCap->DrawAt(218, 168);
    if(tSelected == -1 && rImages[PAUSE_IMG_SELECTED_BUSTER]) rImages[PAUSE_IMG_SELECTED_BUSTER]->DrawAt(217, 166);
    InitWeaponRecords();
    for(int32_t p = 0; p < PAUSE_WEAPON_COUNT; p++)
    {
        StatusWeaponRecord &rRecord = mWeaponRecords[p];
        if(!rRecord.rImage || !WeaponAvailable(pPlayer, rRecord.mWeapon)) continue;
        int32_t tEnergy = pPlayer->GetWeaponAmmo(rRecord.mWeapon);
        float tW = (float)rRecord.rImage->GetTextureWidth();
        if(tW < 1.0f) continue;
        float tS0 = (float)(28 - tEnergy) * 45.0f / tW, tS1 = tS0 + 45.0f / tW;
        rRecord.rImage->Bind();
        glTranslatef(51.0f + 49.0f * (float)p, 234.0f, 0.0f);
        DrawBoundTextureRect(0.0f, 0.0f, 45.0f, 45.0f, tS0, 0.0f, tS1, 1.0f);
        glTranslatef(-(51.0f + 49.0f * (float)p), -234.0f, 0.0f);
        if(mMenuFont) mMenuFont->DrawTextAt(rRecord.mCaptionX, rRecord.mCaptionY, rRecord.mCaption);
        const float tLine[1][4] = {{(float)rRecord.mLineX1, (float)rRecord.mLineY1, (float)rRecord.mLineX2, (float)rRecord.mLineY2}};
        DrawConnectors(tLine, 1);
        if(rRecord.mWeapon == tSelected && rImages[PAUSE_IMG_SELECTED_OTHER])
            rImages[PAUSE_IMG_SELECTED_OTHER]->DrawAt(54 + 49 * p, 237);
    }
}

void GUISPauseScreen::RenderStatusExit()
{
    if(!rImages[PAUSE_IMG_ESCAPE_A] || !rImages[PAUSE_IMG_ESCAPE_B] || !rImages[PAUSE_IMG_ESCAPE_C]) return;
    NavigationNode *rCurrent = GetCurrentNavigationNode();
    bool tOnExit = rCurrent && rCurrent == GetNavigationNode(cExitNode);
    rImages[tOnExit ? PAUSE_IMG_ESCAPE_C : PAUSE_IMG_ESCAPE_B]->DrawAt(0, 0);
}

// Each tank from its strip: empty 0..17, highlighted 17..36 while the cursor is on it, and the
// contents 37..43 rising from the bottom of their column with the fill.
void GUISPauseScreen::RenderStatusSubtanks(PlayerPony *pPlayer)
{
    Bitmap *rTank = rImages[PAUSE_IMG_SUBTANK];
    if(!rTank || !pPlayer || rTank->GetTextureWidth() <= 0 || rTank->GetTextureHeight() <= 0) return;
    NavigationNode *rCurrent = GetCurrentNavigationNode();
    float tW = (float)rTank->GetTextureWidth(), tH = (float)rTank->GetTextureHeight();
    rTank->Bind();
    for(int32_t n = 0; n < pPlayer->GetSubtankCount() && n < STATUS_NODE_COUNT - cFirstTankNode; n++)
    {
        bool tCurrent = rCurrent && rCurrent == GetNavigationNode(cFirstTankNode + n);
        float tS0 = tCurrent ? 17.0f / tW : 0.0f, tS1 = tCurrent ? 36.0f / tW : 17.0f / tW;
        float tX = 290.0f + 31.0f * (float)n;
        glTranslatef(tX, 110.0f, 0.0f);
        DrawBoundTextureRect(0.0f, 0.0f, 17.0f, 30.0f, tS0, 0.0f, tS1, 1.0f);
        float tFill = pPlayer->GetSubtankFill(n);
        if(tFill > 0.0f)
        {
            float tTop = 1.0f - 20.0f * tFill / tH;
            glTranslatef(6.0f, 4.0f, 0.0f);
            DrawBoundTextureRect(0.0f, 22.0f - 22.0f * tFill, 6.0f, 22.0f, 37.0f / tW, tTop, 43.0f / tW, 1.0f);
            glTranslatef(-6.0f, -4.0f, 0.0f);
        }
        glTranslatef(-tX, -110.0f, 0.0f);
    }
}

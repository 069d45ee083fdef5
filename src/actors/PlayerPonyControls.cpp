#include "actors/PlayerPony.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "core/ControlManager.h"
#include "core/NamedLinkedList.h"

// --- Control locks --------------------------------------------------------------------------

bool PlayerPony::IsControlLocked() const
{
    return mControlLockList->GetCount() > 0;
}

void PlayerPony::AddControlLock(const char *pName)
{
    if(!pName || mControlLockList->GetElementByName(pName)) return;
    void *nBlock = malloc(1);
    if(!nBlock) return;
    *(uint8_t *)nBlock = 1;
    mControlLockList->AddElement(pName, nBlock);
}

void PlayerPony::RemoveControlLock(const char *pName)
{
    if(!pName) return;
    mControlLockList->RemoveElementByName(pName);
}

void PlayerPony::RemoveControlLocksByPrefix(const char *pPrefix)
{
    if(!pPrefix) return;
    const size_t tLength = strlen(pPrefix);
    for(void *rData = mControlLockList->SetCursorToHead(); rData; rData = mControlLockList->CursorNext())
    {
        if(!strncmp(mControlLockList->GetCursorName(), pPrefix, tLength)) mControlLockList->RemoveAtCursor();
    }
}

// --- Control snapshot -----------------------------------------------------------------------

void PlayerPony::RefreshControlSnapshot()
{
    ControlManager *rControls = ControlManager::Get();
    if(!rControls) return;
    NamedLinkedList *rSource = rControls->GetControlList();
    if(!rSource) return;

    if(mControlSnapshot && mControlSnapshot->GetCount() == rSource->GetCount())
    {
        ControlState *rCopy = (ControlState *)mControlSnapshot->PushIterator();
        ControlState *rOriginal = (ControlState *)rSource->PushIterator();
        while(rCopy && rOriginal)
        {
            memcpy(rCopy, rOriginal, sizeof(ControlState));
            rCopy = (ControlState *)mControlSnapshot->IterateNext();
            rOriginal = (ControlState *)rSource->IterateNext();
        }
        // The lists have the same length, so both walks end together; this only guards a
        // list that changed under the walk.
        if(rCopy) mControlSnapshot->PopIterator();
        if(rOriginal) rSource->PopIterator();
        return;
    }

    delete mControlSnapshot;
    mControlSnapshot = rControls->CopyControlList();
}

void PlayerPony::ClearControlEdges()
{
    if(!mControlSnapshot) return;
    for(void *rData = mControlSnapshot->PushIterator(); rData; rData = mControlSnapshot->IterateNext())
    {
        ControlState *rControl = (ControlState *)rData;
        rControl->mPressed = 0;
        rControl->mReleased = 0;
        rControl->mHeld = 0;
    }
}

bool PlayerPony::IsControlDown(const char *pName)
{
    if(!pName || !mControlSnapshot) return false;
    const char *cOpposites[4][2] = {{"Up", "Down"}, {"Down", "Up"}, {"Left", "Right"}, {"Right", "Left"}};
    for(int32_t i = 0; i < 4; i++)
    {
        if(strcmp(pName, cOpposites[i][0])) continue;
        ControlState *rControl = (ControlState *)mControlSnapshot->GetElementByName(cOpposites[i][0]);
        ControlState *rOpposite = (ControlState *)mControlSnapshot->GetElementByName(cOpposites[i][1]);
        if(!rControl || !rControl->mHeld) return false;
        return !rOpposite || !rOpposite->mHeld;
    }
    if(strcmp(pName, "Jump") && strcmp(pName, "Shoot") && strcmp(pName, "Dash")) return false;
    ControlState *rControl = (ControlState *)mControlSnapshot->GetElementByName(pName);
    return rControl && rControl->mHeld;
}

// The seven controls the ground, air and ladder steps read, in the order Up, Down, Left,
// Right, Jump, Shoot, Dash; false when any is missing from the snapshot.
bool PlayerPony::FetchMoveControls(ControlState **sControls)
{
    if(!mControlSnapshot) return false;
    const char *cNames[CTL_COUNT] = {"Up", "Down", "Left", "Right", "Jump", "Shoot", "Dash"};
    for(int32_t i = 0; i < CTL_COUNT; i++)
    {
        sControls[i] = (ControlState *)mControlSnapshot->GetElementByName(cNames[i]);
        if(!sControls[i]) return false;
    }
    return true;
}

// "Weapon1" to "Weapon9": the first one pressed selects its slot; the ninth selects the buster.
void PlayerPony::ApplyWeaponHotkeys()
{
    if(!mControlSnapshot) return;
    char tName[16];
    for(int32_t n = 1; n <= 9; n++)
    {
        snprintf(tName, sizeof(tName), "Weapon%i", n);
        ControlState *rControl = (ControlState *)mControlSnapshot->GetElementByName(tName);
        if(!rControl || !rControl->mPressed) continue;
        SelectWeapon(n - 1);
        return;
    }
}

#pragma once
#include <cstdint>

#include "world/RootZone.h"

struct lua_State;

// Where the player respawns after a death and where the camera is placed on the reload.
// Activated by the player's checkpoint logic or by a script, and never deactivated.
// A camera location of -1, -1 means none was given.
class Checkpoint : public RootZone
{
public:
    // An empty or null name gives "Checkpoint".
    explicit Checkpoint(const char *pName);
    virtual ~Checkpoint();

    bool IsActivated() const { return mActivated != 0; }
    void Activate() { mActivated = 1; }
    void GetRespawnLocation(float &sX, float &sY) const;
    void GetCameraLocation(float &sX, float &sY) const;
    // Negative coordinates are refused with a message and change nothing.
    void SetRespawnLocation(float pX, float pY);
    void SetCameraLocation(float pX, float pY);

private:
    uint8_t mActivated;
    float mRespawnX;
    float mRespawnY;
    float mCameraX;
    float mCameraY;
};

// Registers the "Checkpoint_" globals.
void RegisterCheckpointLua(lua_State *L);

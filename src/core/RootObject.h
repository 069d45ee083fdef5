#pragma once
#include <cstdint>

// Type codes that the Lua bindings compare with the active object's code before acting.
// Families occupy ranges: projectiles 200-299, sprites 300-399, triggers 400-499, executors 20000-20001.
enum EntityTypeId : int32_t
{
    TYPE_ROOTOBJECT = 0,
    TYPE_PLAYERPONY = 10,
    TYPE_ENEMY = 11,
    TYPE_AIMOVEMENTHANDLER = 12,
    TYPE_AIATTACKHANDLER = 13,
    TYPE_ENEMYAPPEARANCE = 14,
    TYPE_ENEMYHEALTH = 15,
    TYPE_AIATTACK = 16,
    TYPE_ENEMYHITBOX = 17,
    TYPE_CHECKPOINT = 18,
    TYPE_CORVELANIMATION = 101,
    TYPE_DOOR = 102,
    TYPE_ROOTPROJECTILE = 200,
    TYPE_MOVINGCONTAINER = 201,
    TYPE_PRISMATICBEAMPROJECTILE = 204,
    TYPE_PROJECTILE_LAST = 299,
    TYPE_ROOTSPRITE = 300,
    TYPE_SPRITE_LAST = 399,
    TYPE_ZONETRIGGER = 400,
    TYPE_PROXYTRIGGER = 401,
    TYPE_TRIGGER_LAST = 499,
    TYPE_GUIBASEOBJECT = 3000,
    TYPE_GUIBUTTON = 3010,
    TYPE_GUIIMAGE = 3100,
    TYPE_GUISMARTIMAGE = 3101,
    TYPE_GUITEXTLINE = 3200,
    TYPE_GUISCROLLBARH = 3300,
    TYPE_ROOTEXECUTOR = 20000,
    TYPE_TRANSEXEC_ANYTOMAP = 20001,
};

// Every projectile kind's code lies in the projectile family's range.
inline bool IsProjectileType(int32_t pType)
{
    return pType >= TYPE_ROOTPROJECTILE && pType <= TYPE_PROJECTILE_LAST;
}

// Root of the engine's object families. Every object takes a number from one process-wide
// counter, so numbers are unique for the whole run and usable as registration names.
class RootObject
{
public:
    RootObject();
    virtual ~RootObject();

    int32_t GetType() const { return mType; }
    int32_t GetID() const { return mObjectID; }

protected:
    int32_t mType;
    int32_t mObjectID;
};

int32_t NextObjectID();

// Deleter for entity lists: deletes through the virtual destructor; null is ignored.
void DeleteRootObject(void *pObject);

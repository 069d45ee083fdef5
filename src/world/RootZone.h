#pragma once
#include <cstdint>

#include "core/Hitbox.h"
#include "world/RootEntity.h"

struct lua_State;

// A passive rectangle that changes how the player lives in a region. Zones run no logic: the
// create bindings place each one in a special list of the entity manager, which owns it, and
// the player code reads those lists every tick. They are not in the entity list, so they get
// no Update and no TickAlways.
//
// The rectangle holds edges; its two further floats hold the rectangle's centre, which is
// what GetPosition answers.
class RootZone : public RootEntity
{
public:
    RootZone();
    virtual ~RootZone();

    void GetPosition(float &sX, float &sY, float &sZ) override;
    // Writes the four edges and leaves the rest of the record as it was.
    void GetHitbox(Hitbox &sHitbox) override;

    virtual void SetRect(float pLft, float pTop, float pRgt, float pBot);
    ZoneRect GetRect() const { return mRect; }

protected:
    ZoneRect mRect;
};

// Scripts give zone and trigger rectangles as edges. One given the wrong way round (a negative
// width or height) is taken in order, with a warning naming the method, the owner and, for an
// owner of several rectangles, its index (-1: none).
void TakeEdgesInOrder(const char *pMethod, const char *pOwner, int32_t pIndex, float &sLft, float &sTop, float &sRgt,
                      float &sBot);

// Deleter of the special lists' zone entries: the library forgets the zone before it goes, so
// a zone left active by its create binding never dangles there.
void DeleteZone(void *pZone);

// Hands a new zone to the named special list under its own name. When the entity manager or
// the list is missing the zone is deleted and false returned.
bool RegisterZone(const char *pListName, RootZone *pZone);

// Reads the create bindings' "name, left, top, right, bottom" and any numbers after them;
// with exactly pCount arguments of those types it fills the name and edges and answers true,
// otherwise it prints the argument-list message naming the binding and answers false.
bool ReadZoneCreateArguments(lua_State *L, int pCount, const char *pBinding, const char *&sName, float sEdges[4]);

// The create bindings' shared start: a new zone of the family, named and placed from the
// arguments, or null (with the argument-list message) when they do not fit. The binding sets
// what its family adds from arguments 6 on and hands the zone to RegisterZone, which takes null.
template <typename ZoneType>
ZoneType *NewZoneFromArguments(lua_State *L, int pCount, const char *pBinding)
{
    const char *rName = nullptr;
    float tEdges[4];
    if(!ReadZoneCreateArguments(L, pCount, pBinding, rName, tEdges)) return nullptr;
    ZoneType *nZone = new ZoneType();
    nZone->SetName(rName);
    nZone->SetRect(tEdges[0], tEdges[1], tEdges[2], tEdges[3]);
    return nZone;
}

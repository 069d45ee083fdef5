#include "core/RootObject.h"

static int32_t xLastObjectID = 0;

int32_t NextObjectID()
{
    xLastObjectID++;
    return xLastObjectID;
}

RootObject::RootObject() : mType(TYPE_ROOTOBJECT), mObjectID(NextObjectID())
{
}

RootObject::~RootObject()
{
}

void DeleteRootObject(void *pObject)
{
    delete static_cast<RootObject *>(pObject);
}

#include "world/RootExecutor.h"

RootExecutor::RootExecutor()
{
    mType = TYPE_ROOTEXECUTOR;
}

RootExecutor::~RootExecutor()
{
}

void RootExecutor::Run()
{
    Execute();
}

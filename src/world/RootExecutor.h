#pragma once

#include "core/RootObject.h"

// One deferred action: a transition runs it at full black, a GUI button runs its list of them
// on a click. Callers start it through Run; subclasses supply the action in the one hook,
// Execute. An executor may be run any number of times (a level-select line runs its map
// executor on every click), so Execute must not consume its own settings.
class RootExecutor : public RootObject
{
public:
    RootExecutor();
    virtual ~RootExecutor();

    virtual void Execute() = 0;

    void Run();
};

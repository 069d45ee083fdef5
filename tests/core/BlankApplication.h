#pragma once

#include <cstring>

#include "core/Application.h"
#include "core/NamedLinkedList.h"

// Gives a test a blank, freshly defaulted Application and puts back the one it found, so
// suites that keep managers in it are not disturbed. Managers the test adds to the blank one
// are the test's to free before Leave.
class BlankApplication
{
public:
    void Enter()
    {
        memcpy(&mSaved, GetApplication(), sizeof(Application));
        memset(GetApplication(), 0, sizeof(Application));
        InitApplicationDefaults();
    }

    void Leave()
    {
        delete GetApplication()->mScannerStack;
        memcpy(GetApplication(), &mSaved, sizeof(Application));
    }

private:
    Application mSaved;
};

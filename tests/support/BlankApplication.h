#pragma once

#include <cstring>

#include "core/Application.h"
#include "core/NamedLinkedList.h"
#include "support/SavedApplication.h"

// Gives a test a blank, freshly defaulted Application and puts back the one it found, so
// suites that keep managers in it are not disturbed. Managers the test adds to the blank one
// are the test's to free before Leave.
class BlankApplication
{
public:
    void Enter()
    {
        mSaved.Save();
        memset(GetApplication(), 0, sizeof(Application));
        InitApplicationDefaults();
    }

    void Leave()
    {
        delete GetApplication()->mScannerStack;
        mSaved.Restore();
    }

private:
    SavedApplication mSaved;
};

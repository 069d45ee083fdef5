#pragma once

#include "core/Application.h"

// The Application as a test found it, put back whole when the test is done, so managers a test
// puts in it never reach the suites that follow. What the test made is the test's to free
// before Restore.
class SavedApplication
{
public:
    void Save() { mSaved = *GetApplication(); }
    void Restore() { *GetApplication() = mSaved; }

private:
    Application mSaved;
};

// A fixture for tests that write lump files of their own: a scratch directory removed with
// everything written to it, and a check that every reader leaves the print stack as it found
// it, on every path.
#pragma once
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>
#include <vector>

#include "core/DebugPrint.h"
#include "support/ScratchFolder.h"

class LumpScratchTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(mFolder.IsMade());
        mDirectory = mFolder.Path();
        mStackSize = Debug::GetPrintStackSize();
    }

    void TearDown() override
    {
        EXPECT_EQ(Debug::GetPrintStackSize(), mStackSize);
    }

    // Writes the first pLength bytes, so a test can cut a file short.
    std::string WriteFile(const char *pName, const std::vector<uint8_t> &pBytes, size_t pLength)
    {
        EXPECT_TRUE(mFolder.Write(pName, pBytes.data(), pLength));
        return mFolder.File(pName);
    }

    std::string WriteFile(const char *pName, const std::vector<uint8_t> &pBytes)
    {
        return WriteFile(pName, pBytes, pBytes.size());
    }

    ScratchFolder mFolder{"lump"};
    std::string mDirectory;
    int32_t mStackSize;
};

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

class LumpScratchTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        char tTemplate[] = "/tmp/corvel_lump_XXXXXX";
        ASSERT_NE(mkdtemp(tTemplate), nullptr);
        mDirectory = tTemplate;
        mStackSize = Debug::GetPrintStackSize();
    }

    void TearDown() override
    {
        EXPECT_EQ(Debug::GetPrintStackSize(), mStackSize);
        for(const std::string &rPath : mFiles) unlink(rPath.c_str());
        rmdir(mDirectory.c_str());
    }

    // Writes the first pLength bytes, so a test can cut a file short.
    std::string WriteFile(const char *pName, const std::vector<uint8_t> &pBytes, size_t pLength)
    {
        std::string tPath = mDirectory + "/" + pName;
        FILE *fOut = fopen(tPath.c_str(), "wb");
        EXPECT_NE(fOut, nullptr);
        if(fOut)
        {
            if(pLength > 0) fwrite(pBytes.data(), 1, pLength, fOut);
            fclose(fOut);
        }
        mFiles.push_back(tPath);
        return tPath;
    }

    std::string WriteFile(const char *pName, const std::vector<uint8_t> &pBytes)
    {
        return WriteFile(pName, pBytes, pBytes.size());
    }

    std::string mDirectory;
    std::vector<std::string> mFiles;
    int32_t mStackSize;
};

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "core/Application.h"
#include "core/LuaBindingHelpers.h"
#include "core/NamedLinkedList.h"
#include "core/data/FileSystemScanner.h"
#include "core/data/MemoryFile.h"
#include "support/ScratchFolder.h"
#include "support/TestText.h"

namespace
{
    void WriteFile(const std::string &pPath, const char *pText)
    {
        FILE *fOut = fopen(pPath.c_str(), "wb");
        ASSERT_NE(nullptr, fOut);
        fwrite(pText, 1, strlen(pText), fOut);
        fclose(fOut);
    }

    // Builds a run directory in /tmp and works inside it, so listings use relative paths the
    // way the game's run directory does.
    class ScannerTest : public ::testing::Test
    {
    protected:
        void SetUp() override
        {
            ASSERT_NE(nullptr, getcwd(mOldCwd, sizeof(mOldCwd)));
            ASSERT_TRUE(mRoot.IsMade());
            ASSERT_EQ(0, chdir(mRoot.Path().c_str()));
            mkdir("Data", 0755);
            mkdir("Data/Maps", 0755);
            mkdir("Data/Maps/Sub", 0755);
            WriteFile("Data/Maps/b.slf", "b");
            WriteFile("Data/Maps/A.slf", "A");
            WriteFile("Data/Maps/a.slf", "a");
            WriteFile("Data/Maps/Sub/c.slf", "c");
        }
        void TearDown() override
        {
            ASSERT_EQ(0, chdir(mOldCwd));
            ASSERT_TRUE(mRoot.Remove());
        }
        std::string Listing(CorvelFileSystem &pScanner)
        {
            std::string tOut;
            for(int32_t i = 0; i < pScanner.GetEntryCount(); i++) tOut += std::string(pScanner.GetEntry(i)->mPath) + "|";
            return tOut;
        }

        char mOldCwd[4096];
        ScratchFolder mRoot{"scan"};
    };
}

TEST_F(ScannerTest, ListsParentFirstThenStrcmpOrderWithRelativePaths)
{
    CorvelFileSystem tScanner;
    tScanner.ScanDirectory("Data/Maps/");
    EXPECT_STREQ("Data/Maps/", tScanner.GetRootPath());
    EXPECT_EQ("Data/Maps/..|Data/Maps/A.slf|Data/Maps/Sub/|Data/Maps/Sub/c.slf|Data/Maps/a.slf|Data/Maps/b.slf|",
              Listing(tScanner));
    EXPECT_EQ(1, tScanner.GetEntry(0)->mIsParentEntry);
    EXPECT_EQ(nullptr, tScanner.GetEntry(6));
    EXPECT_EQ(nullptr, tScanner.GetEntry(-1));

    CorvelFileSystem tFlat;
    tFlat.SetRecursive(0);
    tFlat.SetNoParentEntry(1);
    tFlat.ScanDirectory("Data/Maps");
    EXPECT_EQ("Data/Maps/A.slf|Data/Maps/Sub/|Data/Maps/a.slf|Data/Maps/b.slf|", Listing(tFlat));

    CorvelFileSystem tFilesOnly;
    tFilesOnly.SetSkipDirectories(1);
    tFilesOnly.ScanDirectory("Data/Maps/");
    EXPECT_EQ("Data/Maps/..|Data/Maps/A.slf|Data/Maps/Sub/c.slf|Data/Maps/a.slf|Data/Maps/b.slf|", Listing(tFilesOnly));

    // Rescanning replaces the listing and restarts the cursor.
    tScanner.Advance();
    tScanner.ScanDirectory("Data/Maps/Sub/");
    EXPECT_EQ(0, tScanner.GetCursor());
    EXPECT_EQ("Data/Maps/Sub/..|Data/Maps/Sub/c.slf|", Listing(tScanner));
}

TEST_F(ScannerTest, UnopenableLinkedAndOverlongDirectoriesAreNotDescended)
{
    CorvelFileSystem tScanner;
    tScanner.ScanDirectory("Data/Nowhere/");
    EXPECT_EQ("Data/Nowhere/..|", Listing(tScanner));
    tScanner.ScanDirectory("Data/Maps/a.slf");
    EXPECT_EQ("Data/Maps/a.slf/..|", Listing(tScanner));
    tScanner.ScanDirectory(nullptr);
    EXPECT_EQ(0, tScanner.GetEntryCount());

    // A link back up the tree is listed as a directory but never followed.
    ASSERT_EQ(0, symlink("..", "Data/Maps/Sub/Loop"));
    tScanner.ScanDirectory("Data/Maps/");
    EXPECT_EQ("Data/Maps/..|Data/Maps/A.slf|Data/Maps/Sub/|Data/Maps/Sub/Loop/|Data/Maps/Sub/c.slf|Data/Maps/a.slf|Data/Maps/b.slf|",
              Listing(tScanner));

    // Deep nesting stops at the depth bound; paths past 511 characters are left out.
    std::string tDeep = "Deep";
    mkdir(tDeep.c_str(), 0755);
    for(int i = 0; i < FS_MAX_DEPTH + 5; i++)
    {
        tDeep += "/d";
        mkdir(tDeep.c_str(), 0755);
    }
    tScanner.ScanDirectory("Deep/");
    EXPECT_EQ(FS_MAX_DEPTH + 2, tScanner.GetEntryCount());

    std::string tLong = "Long";
    mkdir(tLong.c_str(), 0755);
    for(int i = 0; i < 6; i++)
    {
        tLong += "/" + std::string(100, 'x');
        ASSERT_EQ(0, mkdir(tLong.c_str(), 0755));
    }
    tScanner.ScanDirectory("Long/");
    for(int32_t i = 0; i < tScanner.GetEntryCount(); i++) EXPECT_LE(strlen(tScanner.GetEntry(i)->mPath), (size_t)FS_MAX_PATH);
    EXPECT_EQ(6, tScanner.GetEntryCount());

    if(geteuid() != 0)
    {
        ASSERT_EQ(0, chmod("Data/Maps/Sub", 0));
        tScanner.ScanDirectory("Data/Maps/");
        chmod("Data/Maps/Sub", 0755);
        EXPECT_EQ("Data/Maps/..|Data/Maps/A.slf|Data/Maps/Sub/|Data/Maps/a.slf|Data/Maps/b.slf|", Listing(tScanner));
    }
}

TEST_F(ScannerTest, ScriptsWalkTheTopScannerOfTheStack)
{
    Application *rApplication = GetApplication();
    NamedLinkedList *rPreviousStack = rApplication->mScannerStack;
    rApplication->mScannerStack = new NamedLinkedList(1);
    lua_State *L = luaL_newstate();
    luaL_openlibs(L);
    RegisterFileSystemScannerLua(L);

    const char *tChunk =
        "FS_Open('Data/Maps/', false)\n"
        "FS_Open('Data/Maps/Sub')\n"
        "local t = {}\n"
        "for i = 1, 4 do t[#t + 1] = FS_Iterate() end\n"
        "FS_Reset()\n"
        "t[#t + 1] = FS_Iterate()\n"
        "FS_Close()\n"
        "t[#t + 1] = FS_Iterate()\n"
        "t[#t + 1] = FS_Iterate()\n"
        "FS_Close()\n"
        "FS_Close()\n"
        "t[#t + 1] = FS_Iterate()\n"
        "return table.concat(t, '|')";
    testing::internal::CaptureStderr();
    ASSERT_EQ(0, luaL_dostring(L, tChunk)) << lua_tostring(L, -1);
    EXPECT_STREQ("Data/Maps/Sub/..|Data/Maps/Sub/c.slf|NULL|NULL|Data/Maps/Sub/..|Data/Maps/..|Data/Maps/A.slf|NULL",
                 lua_tostring(L, -1));
    lua_settop(L, 0);
    ASSERT_EQ(0, luaL_dostring(L, "FS_Reset() FS_Open() FS_Open('a', true, 3)"));
    EXPECT_EQ("FS_Reset:  Failed, no open CorvelFileSystem.\n"
              "FS_Reset:  Failed, no open CorvelFileSystem.\n"
              "FS_Open: Failed, invalid argument list\n"
              "FS_Open: Failed, invalid argument list\n",
              CapturedStderr());
    EXPECT_EQ(0, rApplication->mScannerStack->GetCount());

    lua_close(L);
    delete rApplication->mScannerStack;
    rApplication->mScannerStack = rPreviousStack;
}

TEST(FileNameFromPath, TakesTextAfterTheLastSeparator)
{
    char *nName = GetFileNameFromPath("Data/Maps\\Level01.slf");
    EXPECT_STREQ("Level01.slf", nName);
    free(nName);
    nName = GetFileNameFromPath("plain");
    EXPECT_STREQ("plain", nName);
    free(nName);
    EXPECT_EQ(nullptr, GetFileNameFromPath(nullptr));
}

TEST_F(ScannerTest, MemoryFileReadsOnlyWholeRegularFiles)
{
    MemoryFile tDirectory("Data/Maps");
    EXPECT_FALSE(tDirectory.IsOpen());
    EXPECT_EQ(nullptr, tDirectory.GetBuffer());
    MemoryFile tMissing("Data/none.bin");
    EXPECT_FALSE(tMissing.IsOpen());
    MemoryFile tNull(nullptr);
    EXPECT_FALSE(tNull.IsOpen());

    WriteFile("data.bin", "0123456789");
    MemoryFile tFile("data.bin");
    ASSERT_TRUE(tFile.IsOpen());
    EXPECT_EQ(10u, tFile.GetSize());

    char tBuffer[16] = {0};
    EXPECT_TRUE(tFile.Read(tBuffer, 2, 3));
    EXPECT_STREQ("012345", tBuffer);
    EXPECT_EQ(6u, tFile.GetCursor());
    // A read past the end copies nothing and leaves the cursor.
    EXPECT_FALSE(tFile.Read(tBuffer, 1, 5));
    EXPECT_EQ(6u, tFile.GetCursor());
    EXPECT_FALSE(tFile.Read(tBuffer, 0x80000000u, 4));
    EXPECT_FALSE(tFile.Read(nullptr, 1, 1));
    EXPECT_TRUE(tFile.Read(tBuffer, 1, 4));
    EXPECT_EQ(0u, tFile.GetRemaining());

    tFile.Seek(2);
    tFile.Skip(3);
    EXPECT_EQ(5u, tFile.GetCursor());
    tFile.Skip(100);
    EXPECT_EQ(9u, tFile.GetCursor());
    tFile.Seek(50);
    EXPECT_EQ(0u, tFile.GetRemaining());
    EXPECT_FALSE(tFile.Read(tBuffer, 1, 1));

    EXPECT_TRUE(tFile.SaveToFile("copy.bin"));
    MemoryFile tCopy("copy.bin");
    ASSERT_TRUE(tCopy.IsOpen());
    EXPECT_EQ(0, memcmp(tCopy.GetBuffer(), "0123456789", 10));

    WriteFile("empty.bin", "");
    MemoryFile tEmpty("empty.bin");
    EXPECT_TRUE(tEmpty.IsOpen());
    tEmpty.Skip(4);
    EXPECT_EQ(0u, tEmpty.GetCursor());
    EXPECT_TRUE(tEmpty.Read(tBuffer, 1, 0));
    EXPECT_FALSE(tEmpty.Read(tBuffer, 1, 1));
}

namespace
{
    // Takes a heap string handed out by a reader.
    std::string Taken(char *pText)
    {
        std::string tResult = pText ? pText : "<null>";
        free(pText);
        return tResult;
    }
}

TEST_F(ScannerTest, MemoryFileTextReadersFollowLinesTokensAndDigitsToTheEndOnly)
{
    WriteFile("text.txt", "# one\r\n  # two\n\tname \"two words\" x\"y z\"\r\n12345 007\nlast");
    MemoryFile tFile("text.txt");
    ASSERT_TRUE(tFile.IsOpen());

    tFile.SkipCommentLines('#');
    EXPECT_EQ("name", Taken(tFile.ReadToken(true)));
    EXPECT_EQ("two words", Taken(tFile.ReadToken(false)));
    // Quotes inside a token are kept; only a surrounding pair goes.
    EXPECT_EQ("x\"y z\"", Taken(tFile.ReadToken(true)));
    EXPECT_EQ(123, tFile.ReadInt(3, false));
    EXPECT_EQ(45, tFile.ReadInt(0, true));
    EXPECT_EQ(7, tFile.ReadInt(0, false));
    EXPECT_EQ("", Taken(tFile.ReadLine()));
    EXPECT_EQ("last", Taken(tFile.ReadLine()));
    EXPECT_EQ("<null>", Taken(tFile.ReadLine()));
    EXPECT_EQ("<null>", Taken(tFile.ReadToken(true)));
    EXPECT_EQ(0, tFile.ReadInt(0, true));
    EXPECT_EQ(tFile.GetSize(), tFile.GetCursor());

    tFile.Seek(0);
    tFile.SkipLines(2);
    EXPECT_EQ("\tname \"two words\" x\"y z\"", Taken(tFile.ReadLine()));
    tFile.SkipLines(5);
    EXPECT_EQ(tFile.GetSize(), tFile.GetCursor());

    // An open quote runs to the end; a number too long for an i32 saturates.
    WriteFile("open.txt", "\"never closed 99999999999999");
    MemoryFile tOpen("open.txt");
    EXPECT_EQ("\"never closed 99999999999999", Taken(tOpen.ReadToken(false)));
    tOpen.Seek(14);
    EXPECT_EQ(2147483647, tOpen.ReadInt(0, false));
}

TEST_F(ScannerTest, MemoryFilePaddedRowsPadAboveAndRightAndRefuseShortFiles)
{
    WriteFile("rows.bin", "abcdef");
    MemoryFile tFile("rows.bin");
    ASSERT_TRUE(tFile.IsOpen());

    // Two rows of three 1-byte pixels into a 4 by 3 picture.
    uint8_t tPicture[12];
    memset(tPicture, '?', sizeof(tPicture));
    ASSERT_TRUE(tFile.ReadPaddedRows(tPicture, 3, 2, 4, 3, 1));
    EXPECT_EQ(0, memcmp(tPicture, "\0\0\0\0abc\0def\0", 12));
    EXPECT_EQ(6u, tFile.GetCursor());

    tFile.Seek(1);
    memset(tPicture, '?', sizeof(tPicture));
    EXPECT_FALSE(tFile.ReadPaddedRows(tPicture, 3, 2, 4, 3, 1));
    EXPECT_FALSE(tFile.ReadPaddedRows(tPicture, 5, 1, 4, 3, 1));
    EXPECT_FALSE(tFile.ReadPaddedRows(tPicture, 1, 1, 1, 1, 0));
    EXPECT_FALSE(tFile.ReadPaddedRows(tPicture, 0x7FFFFFFF, 0x7FFFFFFF, 0x7FFFFFFF, 0x7FFFFFFF, 4));
    EXPECT_EQ('?', tPicture[0]);
    EXPECT_EQ(1u, tFile.GetCursor());
}

#include "core/ByteStream.h"
#include "core/NamedLinkedList.h"
#include "core/Utilities.h"
#include "core/Wildcards.h"
#include "support/TestText.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>

namespace
{

    // Takes a heap string, returns it as a std::string and frees it ("<null>" for null).
    std::string Take(char *pText)
    {
        std::string tResult = pText ? pText : "<null>";
        free(pText);
        return tResult;
    }
}

TEST(UtilitiesStrings, ResetStringSlots)
{
    char *tSlot = nullptr;
    ResetString(&tSlot, "first");
    char *rFirst = tSlot;
    ResetString(&tSlot, tSlot);
    EXPECT_EQ(tSlot, rFirst);
    EXPECT_STREQ(tSlot, "first");
    ResetString(&tSlot, "second");
    EXPECT_STREQ(tSlot, "second");
    // The tail of the slot's own text is copied before the old text is released.
    ResetString(&tSlot, tSlot + 3);
    EXPECT_STREQ(tSlot, "ond");
    ResetString(&tSlot, nullptr);
    EXPECT_EQ(tSlot, nullptr);

    EXPECT_EQ(CopyText(nullptr), nullptr);
    const char *rSource = "copied";
    char *nCopy = CopyText(rSource);
    ASSERT_NE(nCopy, nullptr);
    EXPECT_NE(nCopy, rSource);
    EXPECT_STREQ(nCopy, "copied");
    free(nCopy);
}

TEST(UtilitiesStrings, IntegerTextAndWidth)
{
    EXPECT_EQ(Take(IntegerToText(0)), "0");
    EXPECT_EQ(Take(IntegerToText(1000000000)), "1000000000");
    EXPECT_EQ(Take(IntegerToText(1410065407)), "1410065407");
    EXPECT_EQ(Take(IntegerToText(2147483647)), "2147483647");
    EXPECT_EQ(Take(IntegerToText(-42)), "-42");

    EXPECT_EQ(CountDecimalCharacters(0), 1);
    EXPECT_EQ(CountDecimalCharacters(-1), 2);
    EXPECT_EQ(CountDecimalCharacters(-100), 4);
    EXPECT_EQ(CountDecimalCharacters(99), 2);
    EXPECT_EQ(CountDecimalCharacters(2147483647), 10);
    EXPECT_EQ(CountDecimalCharacters(INT32_MIN), 11);
}

TEST(UtilitiesStrings, TrimLeadingBlanks)
{
    char tMixed[] = "\t  ab";
    TrimLeadingBlanks(tMixed);
    EXPECT_STREQ(tMixed, "ab");
    char tBlanks[] = "   ";
    TrimLeadingBlanks(tBlanks);
    EXPECT_STREQ(tBlanks, "   ");
    char tClean[] = "a b";
    TrimLeadingBlanks(tClean);
    EXPECT_STREQ(tClean, "a b");
    TrimLeadingBlanks(nullptr);
}

TEST(UtilitiesStrings, FormatTextDirectivesAndBound)
{
    EXPECT_EQ(Take(FormatText("%i-%s-%f", 3, "ok", 2.5)), "3-ok-2.50");
    EXPECT_EQ(Take(FormatText("100%")), "100");
    EXPECT_EQ(Take(FormatText("%d")), "d");
    EXPECT_EQ(Take(FormatText("%%i", 7)), "7");

    std::string tLong(300, 'y');
    std::string tResult = Take(FormatText("%s%s", tLong.c_str(), "tail"));
    EXPECT_EQ(tResult, std::string(255, 'y'));
}

TEST(UtilitiesWildcards, ExpandWithAndWithoutTable)
{
    EXPECT_EQ(Take(ExpandWildcards("<NONE>", nullptr, 0)), "FAIL");
    EXPECT_EQ(Take(ExpandWildcards("a <NONE> b <OTHER>", nullptr, 0)), "a FAIL b INVALID");
    EXPECT_EQ(Take(ExpandWildcards(nullptr, nullptr, 0)), "<null>");

    WildcardPair **tTable = NewWildcardTable(2, "<NAME>", "Kestra", "<LEVEL>", "3");
    EXPECT_EQ(Take(ExpandWildcards("<NAME> on level <LEVEL>", tTable, 2)), "Kestra on level 3");
    EXPECT_EQ(Take(ExpandWildcards("<name>", tTable, 2)), "INVALID");
    EXPECT_EQ(Take(ExpandWildcards("<a<NAME>", tTable, 2)), "INVALID");

    testing::internal::CaptureStderr();
    EXPECT_EQ(Take(ExpandWildcards("<NAME> <broken", tTable, 2)), "<null>");
    EXPECT_EQ(CapturedStderr(), "Broken wildcard detected in string <NAME> <broken\n");
    FreeWildcardTable(2, tTable);
    EXPECT_EQ(NewWildcardTable(0), nullptr);

    std::string tLong(250, 'z');
    tLong += "<NONE><NONE>";
    EXPECT_EQ(Take(ExpandWildcards(tLong.c_str(), nullptr, 0)), std::string(250, 'z') + "FAILF");
}

TEST(UtilitiesConsole, ArgumentsAndQuotes)
{
    ClearConsoleParseErrorFlag();
    EXPECT_EQ(CountConsoleArguments("cmd"), 0);
    EXPECT_EQ(CountConsoleArguments("cmd a  bb \"c d\" "), 3);
    EXPECT_EQ(FindConsoleArgument("cmd a  bb", 1), 7);
    EXPECT_EQ(GetConsoleParseErrorFlag(), 0);

    const char *tLine = "say \"he said \\\"hi\\\" twice\"";
    EXPECT_EQ(CountConsoleArguments(tLine), 1);
    testing::internal::CaptureStderr();
    EXPECT_EQ(Take(ParseQuotedConsoleArgument(tLine, 0)), "he said \"hi\" twice");
    std::string tTrace = CapturedStderr();
    EXPECT_NE(tTrace.find("[Parsing] Completed he said \"hi\" twice\n"), std::string::npos);
    EXPECT_EQ(GetConsoleParseErrorFlag(), 0);

    testing::internal::CaptureStderr();
    EXPECT_EQ(ParseQuotedConsoleArgument("cmd", 0), nullptr);
    EXPECT_NE(CapturedStderr().find("[Parsing] 0th Letter is invalid.\n"), std::string::npos);
    EXPECT_EQ(GetConsoleParseErrorFlag(), 1);
    ClearConsoleParseErrorFlag();

    testing::internal::CaptureStderr();
    EXPECT_EQ(ParseQuotedConsoleArgument("cmd bare", 0), nullptr);
    EXPECT_NE(CapturedStderr().find("[Parsing] String was not a quote-surrounded string, starting at 4.\n"), std::string::npos);
    EXPECT_EQ(GetConsoleParseErrorFlag(), 1);
    ClearConsoleParseErrorFlag();

    testing::internal::CaptureStderr();
    EXPECT_EQ(ParseQuotedConsoleArgument(nullptr, 0), nullptr);
    EXPECT_NE(CapturedStderr().find("[Parsing] Failed, invalid header.\n"), std::string::npos);
    EXPECT_EQ(GetConsoleParseErrorFlag(), 1);
    ClearConsoleParseErrorFlag();

    EXPECT_EQ(FindConsoleArgument("cmd a", 3), 0);
    EXPECT_EQ(GetConsoleParseErrorFlag(), 1);
    ClearConsoleParseErrorFlag();
}

TEST(UtilitiesByteStream, LayoutAndRoundTrip)
{
    uint8_t tBuffer[64];
    memset(tBuffer, 0xEE, sizeof(tBuffer));
    uint32_t tPosition = 0;
    WriteInt32(1, &tPosition, tBuffer);
    EXPECT_EQ(tPosition, 4u);
    EXPECT_EQ(0, memcmp(tBuffer, "\x01\x00\x00\x00", 4));
    WriteString("hi", &tPosition, tBuffer);
    EXPECT_EQ(tPosition, 7u);
    EXPECT_EQ(0, memcmp(tBuffer + 4, "hi\0", 3));
    WriteFloat32(-1.5f, &tPosition, tBuffer);
    WriteUInt32(4000000000u, &tPosition, tBuffer);
    WriteInt32(-2, &tPosition, tBuffer);
    WriteBytes("xyz", 3, &tPosition, tBuffer);

    uint32_t tRead = 0;
    EXPECT_EQ(ReadInt32(&tRead, tBuffer), 1);
    EXPECT_EQ(Take(ReadString(&tRead, tBuffer)), "hi");
    EXPECT_FLOAT_EQ(ReadFloat32(&tRead, tBuffer), -1.5f);
    EXPECT_EQ(ReadUInt32(&tRead, tBuffer), 4000000000u);
    EXPECT_EQ(ReadInt32(&tRead, tBuffer), -2);
    char tBlock[3];
    ReadBytesInto(tBlock, 3, &tRead, tBuffer);
    EXPECT_EQ(0, memcmp(tBlock, "xyz", 3));
    EXPECT_EQ(tRead, tPosition);

    const uint8_t tKnown[] = {1, 2, 3, 4};
    tRead = 0;
    EXPECT_EQ(ReadUInt32(&tRead, tKnown), 67305985u);
    tRead = 1;
    void *nBlock = ReadBytes(2, &tRead, tKnown);
    EXPECT_EQ(0, memcmp(nBlock, "\x02\x03", 2));
    EXPECT_EQ(tRead, 3u);
    free(nBlock);
}

TEST(UtilitiesByteStream, NullBufferLeavesPosition)
{
    uint32_t tPosition = 5;
    WriteInt32(1, &tPosition, nullptr);
    WriteUInt32(1, &tPosition, nullptr);
    WriteFloat32(1.0f, &tPosition, nullptr);
    WriteString("abc", &tPosition, nullptr);
    WriteBytes("abc", 3, &tPosition, nullptr);
    EXPECT_EQ(ReadUInt32(&tPosition, nullptr), 0u);
    EXPECT_EQ(ReadInt32(&tPosition, nullptr), 0);
    EXPECT_EQ(ReadFloat32(&tPosition, nullptr), 0.0f);
    EXPECT_EQ(ReadString(&tPosition, nullptr), nullptr);
    EXPECT_EQ(ReadBytes(3, &tPosition, nullptr), nullptr);
    char tDestination[4];
    ReadBytesInto(tDestination, 3, &tPosition, nullptr);
    EXPECT_EQ(tPosition, 5u);

    uint8_t tBuffer[8];
    WriteBytes("abc", -1, &tPosition, tBuffer);
    EXPECT_EQ(ReadBytes(-4, &tPosition, tBuffer), nullptr);
    EXPECT_EQ(tPosition, 5u);
}

TEST(UtilitiesMisc, RandomAndListHelpers)
{
    bool tSawZero = false, tSawOne = false;
    for(int i = 0; i < 200000 && !(tSawZero && tSawOne); i++)
    {
        float tValue = GetRandomFraction();
        ASSERT_GE(tValue, 0.0f);
        ASSERT_LE(tValue, 1.0f);
        tSawZero |= (tValue == 0.0f);
        tSawOne |= (tValue == 1.0f);
    }
    EXPECT_TRUE(tSawZero);
    EXPECT_TRUE(tSawOne);

    NamedLinkedList tList;
    AddByteElement(&tList, "X|flag", 7);
    AddByteElement(nullptr, "lost", 1);
    AddElementIfData(&tList, "none", nullptr);
    AddElementIfData(&tList, "text", strdup("t"));
    ASSERT_EQ(tList.GetCount(), 2);
    EXPECT_EQ(*(uint8_t *)tList.GetElementByName("X"), 7);

    int tValue = 3;
    TypedValue *nValue = NewTypedValue(&tValue, TYPEDVALUE_INT);
    EXPECT_EQ(nValue->rData, &tValue);
    EXPECT_EQ(nValue->mType, 2);
    free(nValue);

    char tDestination[4] = "abc";
    CopyBytes(tDestination, "xy", 2);
    CopyBytes(tDestination, nullptr, 2);
    CopyBytes(tDestination, "zz", 0);
    EXPECT_STREQ(tDestination, "xyc");
    EXPECT_EQ(PlaceholderFloat(5, 6), 0.0f);
    EXPECT_EQ(PlaceholderInteger(5, 6), 0);
    EXPECT_EQ(PlaceholderZero(), 0);
}

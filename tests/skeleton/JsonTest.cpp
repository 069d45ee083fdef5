#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <unistd.h>

#include "skeleton/Json.h"
#include "skeleton/SkeletonRuntime.h"
#include "support/ScratchFolder.h"

namespace
{
    // Parses one value and disposes it with the test.
    struct Parsed
    {
        explicit Parsed(const char *pText) : mRoot(Json_create(pText)) {}
        Parsed(const char *pText, size_t pLength) : mRoot(Json_createWithLength(pText, pLength)) {}
        ~Parsed() { Json_dispose(mRoot); }
        JsonNode *mRoot;
    };
}

TEST(SkeletonJsonParser, ReadsEveryValueKindWithSizesNamesAndOrder)
{
    Parsed tDoc(" {\"a\": null, \"b\" :false,\"c\":true, \"d\": -12.5, \"e\": \"text\", \"f\": [1, [], {}], \"g\": {\"h\": 2}}");
    ASSERT_NE(nullptr, tDoc.mRoot);
    EXPECT_EQ(JSON_OBJECT, tDoc.mRoot->mType);
    EXPECT_EQ(7, tDoc.mRoot->mSize);
    EXPECT_EQ(nullptr, tDoc.mRoot->mName);
    EXPECT_EQ(JSON_NULL, Json_getItem(tDoc.mRoot, "a")->mType);
    EXPECT_EQ(JSON_FALSE, Json_getItem(tDoc.mRoot, "b")->mType);
    JsonNode *rTrue = Json_getItem(tDoc.mRoot, "c");
    EXPECT_EQ(JSON_TRUE, rTrue->mType);
    EXPECT_EQ(1, rTrue->mValueInt);
    EXPECT_FLOAT_EQ(-12.5f, Json_getFloat(tDoc.mRoot, "d", 0));
    EXPECT_EQ(-12, Json_getInt(tDoc.mRoot, "d", 0));
    EXPECT_STREQ("text", Json_getString(tDoc.mRoot, "e", nullptr));
    JsonNode *rArray = Json_getItem(tDoc.mRoot, "f");
    EXPECT_EQ(JSON_ARRAY, rArray->mType);
    EXPECT_EQ(3, rArray->mSize);
    EXPECT_EQ(nullptr, rArray->mChild->mName);
    EXPECT_EQ(JSON_ARRAY, rArray->mChild->mNext->mType);
    EXPECT_EQ(0, rArray->mChild->mNext->mSize);
    EXPECT_EQ(rArray->mChild, rArray->mChild->mNext->mPrev);
    EXPECT_EQ(2, Json_getInt(Json_getItem(tDoc.mRoot, "g"), "h", 0));
    // Defaults for missing keys; lookups on nothing are safe.
    EXPECT_EQ(7, Json_getInt(tDoc.mRoot, "zz", 7));
    EXPECT_STREQ("dflt", Json_getString(tDoc.mRoot, "zz", "dflt"));
    EXPECT_EQ(nullptr, Json_getItem(nullptr, "a"));
    EXPECT_EQ(nullptr, Json_getItem(rArray, "a"));
}

TEST(SkeletonJsonParser, KeysMatchWithoutCaseAndTheFirstMatchWins)
{
    Parsed tDoc("{\"ScaleX\": 3, \"scalex\": 4}");
    ASSERT_NE(nullptr, tDoc.mRoot);
    EXPECT_EQ(3, Json_getInt(tDoc.mRoot, "scaleX", 0));
    EXPECT_EQ(3, Json_getInt(tDoc.mRoot, "SCALEX", 0));
}

TEST(SkeletonJsonParser, NumbersFollowTheDigitRules)
{
    Parsed tLeadingZero("0123");
    EXPECT_EQ(123, tLeadingZero.mRoot->mValueInt);
    Parsed tExponent("1e2");
    EXPECT_FLOAT_EQ(100.0f, tExponent.mRoot->mValueFloat);
    Parsed tHalf("-0.5");
    EXPECT_FLOAT_EQ(-0.5f, tHalf.mRoot->mValueFloat);
    EXPECT_EQ(0, tHalf.mRoot->mValueInt);
    Parsed tNegativeExponent("25E-1");
    EXPECT_FLOAT_EQ(2.5f, tNegativeExponent.mRoot->mValueFloat);
    Parsed tPlusExponent("3e+1");
    EXPECT_EQ(30, tPlusExponent.mRoot->mValueInt);
}

TEST(SkeletonJsonParser, HugeNumbersSaturateInsteadOfOverflowing)
{
    Parsed tBig("1e10");
    EXPECT_EQ(INT32_MAX, tBig.mRoot->mValueInt);
    Parsed tNegative("-1e10");
    EXPECT_EQ(INT32_MIN, tNegative.mRoot->mValueInt);
    Parsed tBeyondFloat("1e39");
    EXPECT_TRUE(std::isinf(tBeyondFloat.mRoot->mValueFloat));
    Parsed tBeyondDouble("-1e400");
    EXPECT_TRUE(std::isinf(tBeyondDouble.mRoot->mValueFloat));
    EXPECT_LT(tBeyondDouble.mRoot->mValueFloat, 0.0f);
    Parsed tLongExponent("1e99999999999999999999");
    EXPECT_TRUE(std::isinf(tLongExponent.mRoot->mValueFloat));
    Parsed tTiny("1e-99999999999999999999");
    EXPECT_EQ(0.0f, tTiny.mRoot->mValueFloat);
    // Hundreds of digits (an infinite mantissa) with a tiny exponent give no NaN.
    char tDigits[520] = "1";
    memset(tDigits + 1, '9', 400);
    strcpy(tDigits + 401, "e-500");
    Parsed tManyDigits(tDigits);
    ASSERT_NE(nullptr, tManyDigits.mRoot);
    EXPECT_FALSE(std::isnan(tManyDigits.mRoot->mValueFloat));
}

TEST(SkeletonJsonParser, StringEscapesAndUnicode)
{
    Parsed tEscapes("\"a\\nb\\tc\\\"d\\\\e\\/f\\b\\f\\r\\q\"");
    EXPECT_STREQ("a\nb\tc\"d\\e/f\b\f\rq", tEscapes.mRoot->mValueString);
    Parsed tUtf8("\"\\u00e9\\u20AC\"");
    EXPECT_STREQ("\xC3\xA9\xE2\x82\xAC", tUtf8.mRoot->mValueString);
    Parsed tPair("\"\\uD83D\\uDE00\"");
    EXPECT_STREQ("\xF0\x9F\x98\x80", tPair.mRoot->mValueString);
    // Code point 0, a lone low surrogate and a lone high surrogate are dropped.
    Parsed tDropped("\"x\\u0000y\\uDC00z\\uD800w\"");
    EXPECT_STREQ("xyzw", tDropped.mRoot->mValueString);
}

TEST(SkeletonJsonParser, BrokenDocumentsFailAtTheirFaultWithoutReadingPastTheText)
{
    const char *cBroken[] = {"", "   ", "nul", "tru", "[1, 2", "[1 2]", "{\"a\" 1}", "{\"a\": 1,}", "{a: 1}", "-",
                             "\"unterminated", "\"ends in a backslash\\", "\"\\u12\"", "\"\\u12", "\"\\uZZZZ\"",
                             "[1,]", "{\"a\":}", "@"};
    for(const char *rText : cBroken)
    {
        Parsed tDoc(rText);
        EXPECT_EQ(nullptr, tDoc.mRoot) << rText;
        ASSERT_NE(nullptr, Json_getError()) << rText;
        EXPECT_GE(Json_getError(), rText);
        EXPECT_LE(Json_getError(), rText + strlen(rText));
    }
    Parsed tAt("[1, @]");
    EXPECT_STREQ("@]", Json_getError());

    // A buffer without a terminator: the closing quote lies beyond the given length.
    const char cBuffer[] = {'"', 'a', 'b', '"'};
    Parsed tShort(cBuffer, 3);
    EXPECT_EQ(nullptr, tShort.mRoot);
    Parsed tWhole(cBuffer, 4);
    ASSERT_NE(nullptr, tWhole.mRoot);
    EXPECT_STREQ("ab", tWhole.mRoot->mValueString);
    // Text after the root value is ignored.
    Parsed tTrailing("[1] trailing");
    EXPECT_NE(nullptr, tTrailing.mRoot);
}

TEST(SkeletonJsonParser, NestingIsLimitedAndLongDocumentsAreReleasedIteratively)
{
    const int32_t cDeep = 100000;
    char *nDeep = (char *)malloc(cDeep + 1);
    memset(nDeep, '[', cDeep);
    nDeep[cDeep] = 0;
    Parsed tTooDeep(nDeep);
    EXPECT_EQ(nullptr, tTooDeep.mRoot);
    free(nDeep);

    // Exactly at the limit still parses.
    char tLimit[2 * JSON_MAX_DEPTH + 1];
    for(int32_t i = 0; i < JSON_MAX_DEPTH; i++)
    {
        tLimit[i] = '[';
        tLimit[2 * JSON_MAX_DEPTH - 1 - i] = ']';
    }
    tLimit[2 * JSON_MAX_DEPTH] = 0;
    Parsed tAtLimit(tLimit);
    EXPECT_NE(nullptr, tAtLimit.mRoot);

    // A very long sibling list.
    const int32_t cWide = 200000;
    char *nWide = (char *)malloc(cWide * 2 + 2);
    nWide[0] = '[';
    for(int32_t i = 0; i < cWide; i++)
    {
        nWide[1 + i * 2] = '0';
        nWide[2 + i * 2] = ',';
    }
    nWide[cWide * 2] = ']';
    nWide[cWide * 2 + 1] = 0;
    Parsed tWide(nWide);
    ASSERT_NE(nullptr, tWide.mRoot);
    EXPECT_EQ(cWide, tWide.mRoot->mSize);
    free(nWide);
}

TEST(SkeletonRuntime, ErrorTextsAreCutAt256Characters)
{
    char *nError = nullptr;
    Runtime_setError(&nError, "First: ", "second");
    EXPECT_STREQ("First: second", nError);
    char tLong[400];
    memset(tLong, 'x', sizeof(tLong) - 1);
    tLong[sizeof(tLong) - 1] = 0;
    Runtime_setError(&nError, "Region not found: ", tLong);
    EXPECT_EQ((size_t)RUNTIME_ERROR_LENGTH, strlen(nError));
    Runtime_setError(&nError, tLong, "tail");
    EXPECT_EQ((size_t)RUNTIME_ERROR_LENGTH, strlen(nError));
    Runtime_setError(&nError, nullptr, nullptr);
    EXPECT_STREQ("", nError);
    Runtime_free(nError);
}

TEST(SkeletonRuntime, ReadFileTerminatesAndRefusesWhatIsNotAFile)
{
    int32_t tLength = -1;
    EXPECT_EQ(nullptr, Runtime_readFile("/nonexistent/file.json", &tLength));
    EXPECT_EQ(0, tLength);
    EXPECT_EQ(nullptr, Runtime_readFile("/tmp", &tLength));
    ScratchFolder tFolder("readfile");
    ASSERT_TRUE(tFolder.IsMade());
    ASSERT_TRUE(tFolder.WriteText("hello.json", "hello"));
    char *nText = Runtime_readFile(tFolder.File("hello.json").c_str(), &tLength);
    ASSERT_NE(nullptr, nText);
    EXPECT_EQ(5, tLength);
    EXPECT_STREQ("hello", nText);
    Runtime_free(nText);
}

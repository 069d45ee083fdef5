#pragma once
#include <cstdint>

// One template wildcard: the whole wildcard as written, brackets included ("<NONE>"), and the
// text that replaces it. A table is a heap array of pair pointers; the caller keeps its count.
struct WildcardPair
{
    char *mName;
    char *mValue;
};

// Takes pCount pairs of texts (name, value) after the count. Null for a count <= 0.
WildcardPair **NewWildcardTable(int32_t pCount, ...);
void FreeWildcardTable(int32_t pCount, WildcardPair **pTable);

// New heap string with each "<...>" replaced by the value of the first pair of that name, or
// "INVALID" when none matches. Without a table, "<NONE>" becomes "FAIL". Null for a null
// template, or (with a message) for a "<" that is never closed. The result holds at most 255
// characters; longer output is cut.
char *ExpandWildcards(const char *pTemplate, WildcardPair **pTable, int32_t pCount);

#pragma once

#include <cstddef>
#include <cstdint>

// Small JSON parser of the skeletal runtime. Every node is allocated through the runtime's
// memory hooks; a tree is released with Json_dispose.
enum JsonType : int32_t
{
    JSON_FALSE = 0,
    JSON_TRUE = 1,
    JSON_NULL = 2,
    JSON_NUMBER = 3,
    JSON_STRING = 4,
    JSON_ARRAY = 5,
    JSON_OBJECT = 6,
};

// Deepest nesting of arrays and objects a document may have; deeper documents fail to parse.
#define JSON_MAX_DEPTH 256

struct JsonNode
{
    JsonNode *mNext;
    JsonNode *mPrev;
    JsonNode *mChild;
    int32_t mType;
    int32_t mSize;
    char *mValueString;
    int32_t mValueInt;
    float mValueFloat;
    char *mName;
};

// Parses a zero-terminated text / the first pLength bytes of a text (no terminator needed).
// Null on failure, with Json_getError giving the failing position. Text after the root value
// is ignored.
JsonNode *Json_create(const char *pText);
JsonNode *Json_createWithLength(const char *pText, size_t pLength);

// Frees the node, its children and its following siblings, without recursion.
void Json_dispose(JsonNode *pNode);

// The first child whose key matches case-insensitively; null for a null node, a missing key or
// a node without named children.
JsonNode *Json_getItem(JsonNode *pObject, const char *pKey);
const char *Json_getString(JsonNode *pObject, const char *pKey, const char *pDefault);
float Json_getFloat(JsonNode *pObject, const char *pKey, float pDefault);
int32_t Json_getInt(JsonNode *pObject, const char *pKey, int32_t pDefault);

// Position in the parsed text where the last parse failed (null after a success). The text
// from there on is cut at the end of the parsed length.
const char *Json_getError();

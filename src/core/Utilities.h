#pragma once
#include <cstdint>

class NamedLinkedList;

// Type codes of a TypedValue's data.
enum TypedValueType : int32_t
{
    TYPEDVALUE_NONE = 0,
    TYPEDVALUE_BOOL = 1,     // u8
    TYPEDVALUE_INT = 2,      // i32
    TYPEDVALUE_FLOAT = 3,    // f32
    TYPEDVALUE_STRING = 4,   // char*
    TYPEDVALUE_UNSIGNED = 5, // u32
};

// A data pointer tagged with its type. The record never copies or owns the data; whoever
// made the data decides how it is released.
struct TypedValue
{
    void *rData;
    int32_t mType;
};

// New heap copy of the text, released with free; null for a null text or when memory runs out.
char *CopyText(const char *pText);

// Replaces the heap string in *pSlot with a heap copy of pText (null leaves the slot null).
// Passing the slot's own pointer does nothing, so a string can be "reset" to itself safely.
void ResetString(char **pSlot, const char *pText);

TypedValue *NewTypedValue(void *pData, int32_t pType);
// The list deleter of a record whose data is its own malloc'd block: frees the data, then the
// record. Null does nothing.
void DeleteTypedValueAndData(void *pValue);

// 0.000 to 1.000 in steps of 0.001, both ends included.
float GetRandomFraction();

// Spreads an address over all 32 bits, so tables keyed by pointers can take the low bits.
uint32_t HashPointer(const void *pPointer);

// Nothing for null pointers or a count <= 0.
void CopyBytes(void *pDestination, const void *pSource, int32_t pCount);

// Console command lines: a command word followed by arguments separated by runs of blanks.
// Double quotes not preceded by a backslash open and close quoted sections, inside which blanks
// do not separate. Arguments are counted from 0 after the command word.
//
// A failed lookup raises a process-wide parse error flag that the console dispatcher reads and
// clears after running a command.
int32_t CountConsoleArguments(const char *pLine);
// Position where argument pIndex begins; 0 (and the flag raised) when the line ends first or
// is null. Index -1 returns the argument count and never raises the flag.
int32_t FindConsoleArgument(const char *pLine, int32_t pIndex);
// New heap string with the contents of quoted argument pIndex; an escaped quote (\") becomes a
// plain quote. Null, with the flag raised, when the argument is missing or not quoted. Traces
// its work through the debug print stack, always on.
char *ParseQuotedConsoleArgument(const char *pLine, int32_t pIndex);
uint8_t GetConsoleParseErrorFlag();
void ClearConsoleParseErrorFlag();

// Appends a one-byte heap block (released with free by an owning list).
void AddByteElement(NamedLinkedList *pList, const char *pName, uint8_t pValue);
void AddElementIfData(NamedLinkedList *pList, const char *pName, void *pData);

// New heap string of the value in decimal, with a minus sign for negative values.
char *IntegerToText(int32_t pValue);
// Characters of the value in decimal, sign included: 1 for 0, 2 for -1, 11 for INT32_MIN.
int32_t CountDecimalCharacters(int32_t pValue);
// Moves the text after its leading tabs and blanks to the start. A text of only blanks stays.
void TrimLeadingBlanks(char *pText);

// Small formatter: %i (i32), %s (text), %f (double, two decimals). A "%" before anything else
// is dropped. The result is a new heap string of at most 255 characters; longer output is cut.
char *FormatText(const char *pFormat, ...);

// Stand-ins for hooks of the engine's interface that have nothing to compute here; an
// extension fills the hook with a real function of the same shape. All of them give zero.
float PlaceholderFloat(int32_t pA, int32_t pB);
int32_t PlaceholderInteger(int32_t pA, int32_t pB);
int32_t PlaceholderZero();

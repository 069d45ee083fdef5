#pragma once
#include <cstdint>

struct lua_State;

#define VC_COLUMNS 80
#define VC_ROWS 15
#define VC_TYPED_MAX 79

// One offered choice of a dialogue: the row it stands on, its text, and the script run with
// its number when it is chosen.
struct ConsoleDecision
{
    int32_t mRow;
    char *mText;
    char *mScript;
    float mNumber;
};

// A character grid of 80 by 15 drawn over the game with the system font. Scripts print
// dialogue into it and offer decisions (a ">" marker moved by "Up"/"Down" and confirmed by
// "Select"); as the developer console it takes a typed line on the bottom row and runs it as
// a console command. Each row is compiled into a display list that is rebuilt only after a
// cell of that row changed.
class VirtualConsole
{
public:
    VirtualConsole();
    ~VirtualConsole();

    // Registers the "VC_" globals.
    static void RegisterLua(lua_State *L);

    // The engine's global console, held by the Application; null before boot creates it.
    static VirtualConsole *FetchGlobal();

    void SetCursor(int32_t pColumn, int32_t pRow);
    int32_t GetCursorColumn() const { return mCursorX; }
    int32_t GetCursorRow() const { return mCursorY; }
    void SetChar(int32_t pColumn, int32_t pRow, char pCharacter);
    char GetChar(int32_t pColumn, int32_t pRow) const;
    // The row's cells as text (at most 80 characters, cut at the first empty cell).
    void GetRowText(int32_t pRow, char *sBuffer, int32_t pSize) const;
    // 0 cuts what does not fit, 1 breaks at the column limit, 2 breaks between words.
    void SetWrapMode(uint8_t pMode) { mWrapMode = pMode; }
    uint8_t GetWrapMode() const { return mWrapMode; }

    void Print(const char *pText);
    void NewLine();
    void PrintLine(const char *pText);
    void SetLine(int32_t pRow, const char *pText);
    void SetLineHere(const char *pText);
    void Clear();

    void BeginTyping();
    void EndTyping();
    bool IsTyping() const { return mTyping != 0; }
    const char *GetTypedLine() const { return mTypedLine; }

    void BeginDecision();
    void AppendDecision(const char *pText, const char *pScript, float pNumber);
    void FinalizeDecisions();
    void SelectDecision();
    void ClearDecisions();
    void HandleDecisionInput();
    bool IsDecisionMode() const { return mDecisionMode != 0; }
    int32_t GetDecisionCount() const { return mDecisionCount; }
    int32_t GetSelectedDecision() const { return mSelected; }

    void Update();
    void Render();

private:
    void PutCharacter(char pCharacter);
    void MarkRow(int32_t pRow);
    void TakeTypedCharacter(uint8_t pCode);

    int32_t mCursorX;
    int32_t mCursorY;
    uint32_t mRowLists[VC_ROWS];
    char mGrid[VC_ROWS][VC_COLUMNS];
    uint8_t mWrapMode;
    float mLeftMargin;
    float mTopMargin;
    float mRowHeight;
    uint8_t mDecisionMode;
    int32_t mSelected;
    int32_t mDecisionCount;
    ConsoleDecision *mDecisions;
    int32_t mTypingTicks;
    uint8_t mTyping;
    char mTypedLine[VC_TYPED_MAX + 1];
    // Set while a printed text stops at the column limit in wrap mode 0.
    uint8_t mCutOff;

    VirtualConsole(const VirtualConsole &) = delete;
    VirtualConsole &operator=(const VirtualConsole &) = delete;
};

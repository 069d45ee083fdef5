#include "interface/VirtualConsole.h"

#include <GL/gl.h>
#include <cstdlib>
#include <cstring>

#include "core/Application.h"
#include "core/ConsoleCommands.h"
#include "core/ControlManager.h"
#include "core/DebugPrint.h"
#include "core/LuaManager.h"
#include "core/Utilities.h"
#include "core/data/DataLibrary.h"
#include "core/render/Font.h"
#include "core/render/GLState.h"

static const float cTextScale = 0.18f;

VirtualConsole::VirtualConsole()
{
    mCursorX = 0;
    mCursorY = 0;
    memset(mRowLists, 0, sizeof(mRowLists));
    memset(mGrid, 0, sizeof(mGrid));
    mWrapMode = 2;
    mLeftMargin = 12.0f;
    mTopMargin = 8.0f;
    mRowHeight = 10.0f;
    mDecisionMode = 0;
    mSelected = 0;
    mDecisionCount = 0;
    mDecisions = nullptr;
    mTypingTicks = 0;
    mTyping = 0;
    memset(mTypedLine, 0, sizeof(mTypedLine));
    mCutOff = 0;
}

VirtualConsole::~VirtualConsole()
{
    for(int32_t i = 0; i < VC_ROWS; i++) MarkRow(i);
    ClearDecisions();
}

VirtualConsole *VirtualConsole::FetchGlobal()
{
    return GetApplication()->mGlobalConsole;
}

void VirtualConsole::MarkRow(int32_t pRow)
{
    if(pRow < 0 || pRow >= VC_ROWS) return;
    if(mRowLists[pRow]) glDeleteLists(mRowLists[pRow], 1);
    mRowLists[pRow] = 0;
}

void VirtualConsole::SetCursor(int32_t pColumn, int32_t pRow)
{
    if(pColumn >= 0 && pColumn < VC_COLUMNS) mCursorX = pColumn;
    if(pRow >= 0 && pRow < VC_ROWS) mCursorY = pRow;
}

void VirtualConsole::SetChar(int32_t pColumn, int32_t pRow, char pCharacter)
{
    if(pColumn < 0 || pColumn >= VC_COLUMNS || pRow < 0 || pRow >= VC_ROWS) return;
    mGrid[pRow][pColumn] = pCharacter;
    MarkRow(pRow);
}

char VirtualConsole::GetChar(int32_t pColumn, int32_t pRow) const
{
    if(pColumn < 0 || pColumn >= VC_COLUMNS || pRow < 0 || pRow >= VC_ROWS) return 0;
    return mGrid[pRow][pColumn];
}

void VirtualConsole::GetRowText(int32_t pRow, char *sBuffer, int32_t pSize) const
{
    if(!sBuffer || pSize < 1) return;
    sBuffer[0] = '\0';
    if(pRow < 0 || pRow >= VC_ROWS) return;
    int32_t tCount = 0;
    while(tCount < VC_COLUMNS && tCount < pSize - 1 && mGrid[pRow][tCount] != '\0')
    {
        sBuffer[tCount] = mGrid[pRow][tCount];
        tCount++;
    }
    sBuffer[tCount] = '\0';
}

// A row is full once the cursor stands past its last column; the character that needs the
// room decides how the row breaks. A blank at the break is dropped, so the next row starts
// with the next word.
void VirtualConsole::PutCharacter(char pCharacter)
{
    if(mCutOff) return;
    if(mCursorX >= VC_COLUMNS)
    {
        if(mWrapMode == 0)
        {
            mCutOff = 1;
            return;
        }
        if(mWrapMode == 2 && pCharacter == ' ')
        {
            NewLine();
            return;
        }
        int32_t tWordStart = VC_COLUMNS;
        if(mWrapMode == 2)
        {
            for(int32_t i = VC_COLUMNS - 1; i >= 0; i--)
            {
                if(mGrid[mCursorY][i] == ' ')
                {
                    tWordStart = i + 1;
                    break;
                }
            }
        }
        char tWord[VC_COLUMNS + 1];
        int32_t tWordLength = VC_COLUMNS - tWordStart;
        memcpy(tWord, &mGrid[mCursorY][tWordStart], (size_t)tWordLength);
        for(int32_t i = tWordStart; i < VC_COLUMNS; i++) mGrid[mCursorY][i] = ' ';
        MarkRow(mCursorY);
        NewLine();
        for(int32_t i = 0; i < tWordLength; i++) PutCharacter(tWord[i]);
    }
    mGrid[mCursorY][mCursorX] = pCharacter;
    MarkRow(mCursorY);
    mCursorX++;
}

void VirtualConsole::Print(const char *pText)
{
    if(!pText) return;
    mCutOff = 0;
    for(const char *c = pText; *c; c++)
    {
        PutCharacter(*c);
        if(mCutOff) break;
    }
    if(mCutOff) NewLine();
    mCutOff = 0;
}

void VirtualConsole::NewLine()
{
    mCursorX = 0;
    if(mCursorY < VC_ROWS - 1) mCursorY++;
}

void VirtualConsole::PrintLine(const char *pText)
{
    Print(pText);
    NewLine();
}

void VirtualConsole::SetLine(int32_t pRow, const char *pText)
{
    SetCursor(0, pRow);
    Print(pText);
    NewLine();
}

void VirtualConsole::SetLineHere(const char *pText)
{
    mCursorX = 0;
    Print(pText);
    NewLine();
}

void VirtualConsole::Clear()
{
    memset(mGrid, ' ', sizeof(mGrid));
    for(int32_t i = 0; i < VC_ROWS; i++) MarkRow(i);
    mCursorX = 0;
    mCursorY = 0;
}

void VirtualConsole::BeginTyping()
{
    memset(mTypedLine, 0, sizeof(mTypedLine));
    mTyping = 1;
    mTypingTicks = 0;
    ControlManager *rControls = ControlManager::Get();
    if(rControls) rControls->ClearTypedCharacters();
}

void VirtualConsole::EndTyping()
{
    mTyping = 0;
    ControlManager *rControls = ControlManager::Get();
    if(rControls) rControls->ClearTypedCharacters();
}

void VirtualConsole::BeginDecision()
{
    ClearDecisions();
    mDecisionMode = 1;
}

void VirtualConsole::AppendDecision(const char *pText, const char *pScript, float pNumber)
{
    if(!mDecisionMode || !pText || !pScript) return;
    ConsoleDecision *nList = (ConsoleDecision *)realloc(mDecisions, sizeof(ConsoleDecision) * (size_t)(mDecisionCount + 1));
    if(!nList) return;
    mDecisions = nList;
    ConsoleDecision &rDecision = mDecisions[mDecisionCount];
    rDecision.mRow = mCursorY;
    rDecision.mText = nullptr;
    rDecision.mScript = nullptr;
    ResetString(&rDecision.mText, pText);
    ResetString(&rDecision.mScript, pScript);
    rDecision.mNumber = pNumber;
    mDecisionCount++;
    NewLine();
}

void VirtualConsole::FinalizeDecisions()
{
    if(!mDecisionMode) return;
    for(int32_t i = 0; i < mDecisionCount; i++)
    {
        SetCursor(1, mDecisions[i].mRow);
        Print(mDecisions[i].mText);
    }
}

// The script path is taken over before the decisions are freed, and the script runs only
// after the console's own state is settled, so it may offer new decisions.
void VirtualConsole::SelectDecision()
{
    if(!mDecisionMode || mSelected < 0 || mSelected >= mDecisionCount) return;
    char *tScript = mDecisions[mSelected].mScript;
    mDecisions[mSelected].mScript = nullptr;
    float tNumber = mDecisions[mSelected].mNumber;
    ClearDecisions();
    LuaManager *rLua = LuaManager::Fetch();
    if(rLua && tScript) rLua->ExecuteLuaFile(tScript, 1, "N", (double)tNumber);
    free(tScript);
}

void VirtualConsole::ClearDecisions()
{
    for(int32_t i = 0; i < mDecisionCount; i++)
    {
        free(mDecisions[i].mText);
        free(mDecisions[i].mScript);
    }
    free(mDecisions);
    mDecisions = nullptr;
    mDecisionCount = 0;
    mDecisionMode = 0;
    mSelected = 0;
}

// With no decisions there is nothing to move over or run.
void VirtualConsole::HandleDecisionInput()
{
    if(!mDecisionMode || mDecisionCount < 1) return;
    if(ControlManager::IsPressed("Up"))
    {
        mSelected = (mSelected <= 0) ? mDecisionCount - 1 : mSelected - 1;
    }
    else if(ControlManager::IsPressed("Down"))
    {
        mSelected = (mSelected >= mDecisionCount - 1) ? 0 : mSelected + 1;
    }
    else if(ControlManager::IsPressed("Select"))
    {
        SelectDecision();
    }
}

void VirtualConsole::TakeTypedCharacter(uint8_t pCode)
{
    size_t tLength = strlen(mTypedLine);
    if(pCode == cTypedBackspace)
    {
        if(tLength > 0) mTypedLine[tLength - 1] = '\0';
    }
    else if(pCode == cTypedEnter)
    {
        char tLine[VC_TYPED_MAX + 1];
        memcpy(tLine, mTypedLine, sizeof(tLine));
        EndTyping();
        RunLuaCommand(tLine);
    }
    else if(pCode == cTypedEscape)
    {
        EndTyping();
    }
    else if(pCode >= 1 && pCode <= 127 && tLength < VC_TYPED_MAX)
    {
        mTypedLine[tLength] = (char)pCode;
        mTypedLine[tLength + 1] = '\0';
    }
}

void VirtualConsole::Update()
{
    if(mDecisionMode)
    {
        HandleDecisionInput();
        for(int32_t i = 0; mDecisionMode && i < mDecisionCount; i++) SetChar(0, mDecisions[i].mRow, ' ');
        if(mDecisionMode && mSelected >= 0 && mSelected < mDecisionCount) SetChar(0, mDecisions[mSelected].mRow, '>');
    }

    ControlManager *rControls = ControlManager::Get();
    if(!rControls) return;
    if(mTyping)
    {
        if(mTypingTicks < INT32_MAX) mTypingTicks++;
        uint8_t tCode = rControls->PopTypedCharacter();
        while(tCode && mTyping)
        {
            TakeTypedCharacter(tCode);
            if(mTyping) tCode = rControls->PopTypedCharacter();
        }
        return;
    }
    uint8_t tCode = rControls->PopTypedCharacter();
    while(tCode)
    {
        if(tCode == cTypedEnter)
        {
            BeginTyping();
            return;
        }
        tCode = rControls->PopTypedCharacter();
    }
}

void VirtualConsole::Render()
{
    Debug::PushPrint(0, "[Virtual Console] Begin Render\n");
    DataLibrary *rLibrary = DataLibrary::Fetch();
    Font *rFont = rLibrary ? static_cast<Font *>(rLibrary->GetEntryOfKind("Root/Fonts/All/All/SystemFont", DL_KIND_FONT)) : nullptr;
    if(!rFont)
    {
        Debug::PopPrint("[Virtual Console] Ended render, no font resolved\n");
        return;
    }

    rFont->BindCacheTexture();
    GLState::PushAll();
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    glTranslatef(mLeftMargin, mTopMargin, 0.0f);
    glTranslatef(0.0f, 5.0f, 0.0f);
    for(int32_t i = 0; i < VC_ROWS; i++)
    {
        if(mRowLists[i])
        {
            glCallList(mRowLists[i]);
            continue;
        }
        // A full row has no terminating cell: copy at most its 80 cells.
        char tRow[VC_COLUMNS + 1];
        GetRowText(i, tRow, sizeof(tRow));
        mRowLists[i] = glGenLists(1);
        glNewList(mRowLists[i], GL_COMPILE_AND_EXECUTE);
        glTranslatef(0.0f, (float)i * mRowHeight, 0.0f);
        glScalef(cTextScale, -cTextScale, cTextScale);
        rFont->DrawTextList(tRow);
        glScalef(1.0f / cTextScale, -1.0f / cTextScale, 1.0f / cTextScale);
        glTranslatef(0.0f, -(float)i * mRowHeight, 0.0f);
        glEndList();
    }
    if(mTyping)
    {
        char tLine[VC_TYPED_MAX + 2];
        memcpy(tLine, mTypedLine, VC_TYPED_MAX + 1);
        tLine[VC_TYPED_MAX + 1] = '\0';
        if(mTypingTicks % 10 < 5)
        {
            size_t tLength = strlen(tLine);
            tLine[tLength] = '_';
            tLine[tLength + 1] = '\0';
        }
        glTranslatef(0.0f, (float)(VC_ROWS - 1) * mRowHeight, 0.0f);
        glScalef(cTextScale, -cTextScale, cTextScale);
        rFont->DrawTextList(tLine);
        glScalef(1.0f / cTextScale, -1.0f / cTextScale, 1.0f / cTextScale);
        glTranslatef(0.0f, -(float)(VC_ROWS - 1) * mRowHeight, 0.0f);
    }
    GLState::PopAll();
    Debug::PopPrint("[Virtual Console] Complete Render\n");
}

#include "core/ConsoleCommands.h"

#include "core/DebugPrint.h"
#include "core/LuaManager.h"
#include "core/NamedLinkedList.h"
#include "core/Utilities.h"
#include "interface/VirtualConsole.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace
{
    struct ConsoleCommand
    {
        ConsoleCommandHandler rHandler;
    };

    NamedLinkedList *xCommands = nullptr;

    // What was entered stays readable on the global console above whatever it prints.
    void EchoToConsole(const char *pLine)
    {
        VirtualConsole *rConsole = VirtualConsole::FetchGlobal();
        if(rConsole) rConsole->PrintLine(pLine);
    }

    // "LM_Execute" and "LM": run argument 0, a quoted string, as a chunk.
    void ExecuteChunkCommand(const char *pLine)
    {
        EchoToConsole(pLine);
        if(CountConsoleArguments(pLine) < 1) return;
        char *tText = ParseQuotedConsoleArgument(pLine, 0);
        if(!tText) return;
        LuaManager *rManager = LuaManager::Fetch();
        if(rManager && rManager->RunChunkText(tText)) rManager->Execute();
        free(tText);
    }

    // "LM_Call": run the macro named by argument 0, a quoted string.
    void CallMacroCommand(const char *pLine)
    {
        EchoToConsole(pLine);
        char *tName = ParseQuotedConsoleArgument(pLine, 0);
        if(!tName) return;
        LuaManager *rManager = LuaManager::Fetch();
        if(rManager) rManager->CallMacro(tName);
        free(tName);
    }
}

void RegisterConsoleCommand(const char *pWord, ConsoleCommandHandler pHandler)
{
    if(!pWord || !pHandler) return;
    if(!xCommands) xCommands = new NamedLinkedList(1);
    ConsoleCommand *nCommand = (ConsoleCommand *)malloc(sizeof(ConsoleCommand));
    if(!nCommand) return;
    nCommand->rHandler = pHandler;
    xCommands->AddElementWithDeleter(pWord, nCommand, DeleteWithFree);
}

void ClearConsoleCommands()
{
    delete xCommands;
    xCommands = nullptr;
}

void RunLuaCommand(const char *pLine)
{
    if(!pLine || !pLine[0]) return;

    size_t tWordLen = strcspn(pLine, " ");
    char *tWord = (char *)malloc(tWordLen + 1);
    if(!tWord) return;
    memcpy(tWord, pLine, tWordLen);
    tWord[tWordLen] = '\0';

    char *tRewritten = nullptr;
    const char *rLine = pLine;
    if(tWord[0] == '/')
    {
        size_t tSize = strlen("LM_Call \"") + (tWordLen - 1) + strlen("\"") + 1;
        tRewritten = (char *)malloc(tSize);
        if(!tRewritten)
        {
            free(tWord);
            return;
        }
        snprintf(tRewritten, tSize, "LM_Call \"%s\"", tWord + 1);
        fprintf(stderr, "%s\n", tRewritten);
        rLine = tRewritten;

        free(tWord);
        tWord = (char *)malloc(sizeof("LM_Call"));
        if(!tWord)
        {
            free(tRewritten);
            return;
        }
        memcpy(tWord, "LM_Call", sizeof("LM_Call"));
    }

    ConsoleCommand *rCommand = xCommands ? (ConsoleCommand *)xCommands->GetElementByName(tWord) : nullptr;
    if(rCommand)
    {
        // Only a failure raised by this command's own parsing reports it as an error.
        ClearConsoleParseErrorFlag();
        rCommand->rHandler(rLine);
        if(GetConsoleParseErrorFlag())
        {
            ClearConsoleParseErrorFlag();
            Debug::ForcePrint("Error in command: %s\n", rLine);
        }
    }
    else
    {
        Debug::ForcePrint("Failed to execute command %s\n", tWord);
    }

    free(tWord);
    free(tRewritten);
}

void LuaManager::RegisterConsoleCommands()
{
    RegisterConsoleCommand("LM_Execute", ExecuteChunkCommand);
    RegisterConsoleCommand("LM", ExecuteChunkCommand);
    RegisterConsoleCommand("LM_Call", CallMacroCommand);
}

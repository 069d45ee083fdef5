#pragma once

// The process-wide console command table: a command word mapped to a handler that receives
// the whole entered line. The first handler registered under a word wins. Main thread only.
typedef void (*ConsoleCommandHandler)(const char *pLine);

void RegisterConsoleCommand(const char *pWord, ConsoleCommandHandler pHandler);

// Drops every registered command (shutdown, and tests that need a clean table).
void ClearConsoleCommands();

// Runs one entered line: the command word is the text up to the first blank. A word that
// begins with a slash runs the macro named by the rest of the word ("/name" becomes
// LM_Call "name"). Failures print forced lines on standard error.
void RunLuaCommand(const char *pLine);

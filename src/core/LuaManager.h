#pragma once

#include <cstdint>

extern "C" {
#include <lua.h>
}

class NamedLinkedList;
class RootObject;
struct ScriptPackEntry;

// Owns the program's one Lua state and runs every script: loose files under the run
// directory or, in script-pack mode, chunks compiled once from a lump file and kept in
// memory. Scripts read their arguments back through the "LM_" globals; the call stack
// records the names of the running (possibly nested) scripts for diagnostics.
//
// A run is LoadFile (pushes the chunk and the call-stack name) followed by Execute (runs
// it, pops the name). Execute always puts the Lua stack back where it was before the load,
// so scripts run every tick cannot grow the stack. Once a quit is asked (QuitRequested), a
// running script is stopped with an execution error, raised again outside any pcall or
// coroutine of its own that catches it, so one that never returns cannot keep the game from
// ending. Main thread only.
class LuaManager
{
public:
    LuaManager();
    ~LuaManager();

    // The instance held by the Application (may be null); constructs nothing.
    static LuaManager *Fetch();

    lua_State *GetState() { return mState; }

    bool LoadFile(const char *pPath);
    bool Execute();
    bool ExecuteFile(const char *pPath);
    // pCount pairs follow: a type text and a value. "N..." takes a double (stored as its
    // "%f" text of the f32 value), "S..." a const char*. Reading stops at the first unknown
    // type, since the type of its value cannot be known; those slots stay empty (nil).
    bool ExecuteLuaFile(const char *pPath, int32_t pCount, ...);

    // Loads the text as a chunk named "Passed Chunk" and pushes an empty call-stack name.
    // On a syntax error prints the load error, leaves the stack as it was and returns false,
    // in which case the caller must not Execute.
    bool RunChunkText(const char *pText);

    // Script arguments.
    void SetArgumentCount(int32_t pCount);
    void AddNumberArgument(float pValue);
    void AddStringArgument(const char *pText);
    void ClearArguments();
    int32_t GetArgumentCount() const { return mArgumentCount; }
    const char *GetArgument(int32_t pIndex) const;

    // Call stack, 0 = innermost running script; null out of range.
    const char *GetCallStackName(int32_t pDepth);
    int32_t GetCallStackDepth();

    // Script packs. BootScriptPack reads every script lump of the lump file at pPath and
    // installs them. InstallScriptPack takes ownership of the entries (and the array, which
    // must be malloc'd), compiles each, sorts them by name and turns script-pack mode on.
    void BootScriptPack(const char *pPath);
    void InstallScriptPack(ScriptPackEntry **pEntries, int32_t pCount);
    void ClearScriptPack();
    bool IsScriptPackMode() const { return mScriptPackMode != 0; }
    int32_t GetScriptPackCount() const { return mScriptPackCount; }
    // Exact-name lookup after ".." normalisation; null when missing or not in pack mode.
    ScriptPackEntry *FindScriptPackEntry(const char *pPath);
    // Heap copy of the path with every ".." removed together with the component before it.
    static char *NormaliseScriptPath(const char *pPath);

    // The next load reads the loose file even in script-pack mode (one shot).
    void SetLoadFromDiskFlag(uint8_t pFlag) { mLoadFromDiskFlag = pFlag ? 1 : 0; }
    uint8_t GetLoadFromDiskFlag() const { return mLoadFromDiskFlag; }
    uint8_t IsPrecompiledMode() const { return mPrecompiledFlag; }

    // Macros: named texts run as chunks.
    void NewMacro(const char *pName, const char *pCode);
    void AppendMacro(const char *pName, const char *pCode);
    const char *GetMacro(const char *pName);
    bool CallMacro(const char *pName);

    // Registers "LM_Execute", "LM" and "LM_Call" with the console command table.
    static void RegisterConsoleCommands();

    static bool FileExists(const char *pPath);

private:
    bool LoadFromScriptPack(ScriptPackEntry *pEntry, const char *pPath);
    bool CompileEntry(ScriptPackEntry *pEntry);
    void PushCallStackName(const char *pName);
    void PopCallStackName();

    lua_State *mState;

    int32_t mArgumentCount;
    int32_t mArgumentFill;
    char **mArguments;

    NamedLinkedList *mCallStack;

    uint8_t mScriptPackMode;
    int32_t mScriptPackCount;
    ScriptPackEntry **mScriptPack;

    NamedLinkedList *mMacros;

    uint8_t mPrecompiledFlag;
    uint8_t mLoadFromDiskFlag;

    LuaManager(const LuaManager &) = delete;
    LuaManager &operator=(const LuaManager &) = delete;
};

// What a script run for an object reads as its arguments (RunScriptAsActive's pArgs): the
// previous run's, none, or the one number given.
#define SCRIPT_ARGS_KEPT -1
#define SCRIPT_ARGS_NONE 0
#define SCRIPT_ARGS_NUMBER 1

// Runs the script at pPath with pObject as the data library's active object and puts the
// caller's active object back afterwards, so an object's hooks can run inside another's.
// Nothing runs without a path, a Lua manager or a library.
void RunScriptAsActive(RootObject *pObject, const char *pPath, int32_t pArgs = SCRIPT_ARGS_KEPT, double pNumber = 0.0);

// Registers the "LM_" globals on the state (called by the constructor).
void RegisterLuaManagerLua(lua_State *L);

#pragma once

#include "squirrel/squirrel.h"

#include <cstddef>
#include <string>
#include <unordered_map>

class CScriptActionAnimator;

// The one script machine of the process. It compiles every ".nut" file together into the root
// table, runs pieces of script code (actions from descriptions, dialogs and levels; compiled once
// per distinct text) and calls script functions by name. Every failure is reported to the user
// (and logged) and the call returns null; the machine and the game go on. Only the main thread
// may use it: a call from any other thread is a fatal error.
class CScriptHost {
public:
    CScriptHost();
    ~CScriptHost();
    CScriptHost(const CScriptHost&) = delete;
    CScriptHost& operator=(const CScriptHost&) = delete;

    squirrel::VM& vm() { return machine; }

    // Reads the script file and appends a line break and its text to the combined source.
    void appendScriptFile(const std::string& path);
    // Expands the sprite macros in the combined source, compiles it as one unit and runs it once.
    void compileAllScripts();
    // Rebuilds the combined source from every ".nut" file of the language and common data
    // folders, forgets the compiled pieces and compiles everything again; unless silent, says how
    // many files it read.
    void reloadScripts(bool silent);
    // Forgets every compiled piece of code.
    void clearCompiledScripts();
    // The closure compiled from exactly this text (compiled, and run once when `run` is set, the
    // first time the text is seen); null when it does not compile or its first run fails.
    squirrel::Object compileCached(const std::string& code, bool run);
    // Runs a piece of script code. With a context that is not null the code is a function name
    // and the function is called with the context (see callScriptFunction).
    squirrel::Object callScriptCode(const std::string& code,
                                    const squirrel::Object& context = squirrel::Object());
    // Calls the root table's function of that name (or, with a table name, the function of that
    // root-table table) with one argument. A text that ends with ";" or holds "(" and ")" is
    // code and runs through callScriptCode instead.
    squirrel::Object callScriptFunction(const std::string& nameOrCode,
                                        const squirrel::Object& argument,
                                        const std::string& tableName = std::string());
    // Frees what only reference cycles keep alive.
    void collectScriptGarbage();
    // Runs the action on the next frame through an action animator on the engine's root node
    // (given the context); null for an empty action or when there is no root node.
    CScriptActionAnimator* queueScriptAction(const std::string& action,
                                             const squirrel::Object& context = squirrel::Object());

    // What scripts printed since the last compile or call began, one line break at its end.
    const std::string& latestPrints() const { return LatestPrints; }
    const std::string& combinedSource() const { return CombinedSource; }
    std::size_t compiledCount() const { return CompiledCache.size(); }

private:
    // The fatal error for calls from another thread; then empties the latest prints and sets
    // the machine's operation budget from the configuration.
    void beginOperation();
    void appendPrint(std::string_view text);
    // Reports the error (with the latest prints) and writes the source beside it to the log.
    void reportScriptError(const std::string& message, const std::string& source);

    squirrel::VM machine;
    std::string CombinedSource;
    std::string LatestPrints;
    std::unordered_map<std::string, squirrel::Object> CompiledCache;
};

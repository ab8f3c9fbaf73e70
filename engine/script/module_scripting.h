#pragma once

#include "script/script_places.h"
#include "squirrel/squirrel.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <unordered_map>

class CScriptActionAnimator;

// The one script machine of the process. It compiles every ".nut" file together into the root
// table, runs pieces of script code (actions from descriptions, dialogs and levels; compiled once
// per distinct text) and calls script functions by name. Every failure is reported to the user
// (and logged) and the call returns null; the machine and the game go on. Only the main thread
// may use it: a call from any other thread is a fatal error. Error reports name the file and line
// an author wrote for the failed line and for every call-stack frame: in the script files
// compiled together, and in the file a piece of code came from (its origin file).
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
    // `originFile` is the file the code was written in: a description or dialog file whose key
    // holds it, or a script file whose text it starts with ("" for none).
    squirrel::Object compileCached(const std::string& code, bool run,
                                   const std::string& originFile = std::string());
    // Runs a piece of script code. With a context that is not null the code is a function name
    // and the function is called with the context (see callScriptFunction).
    squirrel::Object callScriptCode(const std::string& code,
                                    const squirrel::Object& context = squirrel::Object(),
                                    const std::string& originFile = std::string());
    // Calls the root table's function of that name (or, with a table name, the function of that
    // root-table table) with one argument. A text that ends with ";" or holds "(" and ")" is
    // code and runs through callScriptCode instead.
    squirrel::Object callScriptFunction(const std::string& nameOrCode,
                                        const squirrel::Object& argument,
                                        const std::string& tableName = std::string(),
                                        const std::string& originFile = std::string());
    // Frees what only reference cycles keep alive.
    void collectScriptGarbage();
    // Runs the action on the next frame through an action animator on the engine's root node
    // (given the context and the origin file); null for an empty action or when there is no root
    // node.
    CScriptActionAnimator* queueScriptAction(const std::string& action,
                                             const squirrel::Object& context = squirrel::Object(),
                                             const std::string& originFile = std::string());

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
    // The text of a failed call with the place of each call-stack frame added to its line: the
    // frames of the scripts compiled whole, those of `code` (compiled as `compilation`) from its
    // origin file, and those of cached code from a file.
    std::string placedCallError(const squirrel::SquirrelError& error, const std::string& code,
                                const std::string& originFile, std::uint32_t compilation) const;

    squirrel::VM machine;
    std::string CombinedSource;
    // Where the lines of CombinedSource come from.
    ScriptLineOrigins CombinedOrigins;
    // The same for the text the scripts' functions were last compiled from, and that compilation.
    ScriptLineOrigins CompiledOrigins;
    std::uint32_t CompiledCompilation = 0;
    std::string LatestPrints;
    std::unordered_map<std::string, squirrel::Object> CompiledCache;
    // The cached code that came from a file, with that file, by compilation: frames of the
    // functions it defined name their place in every later call too. The code is the key of its
    // CompiledCache entry; both are cleared together.
    struct CodeOrigin {
        const std::string* code;
        std::string file;
    };
    std::unordered_map<std::uint32_t, CodeOrigin> CodeOrigins;
};

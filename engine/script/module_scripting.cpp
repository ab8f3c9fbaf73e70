#include "module_scripting.h"

#include "core/vellumengine.h"
#include "platform/process.h"
#include "scene/sprite_macros.h"
#include "script/script_action_animator.h"
#include "utils/debug.h"
#include "utils/utils_fs.h"
#include "utils/utils_str.h"

#include <cstdint>
#include <vector>

namespace {

const char* const kSourceName = "console_buffer";
const char* const kErrorLog = "last_scriptcomp_error.log";
const char* const kCompiledSourceLog = "last_scriptcomp_error_all.log";

} // namespace

CScriptHost::CScriptHost() {
    machine.setPrintFunction([this](std::string_view text) { appendPrint(text); });
}

CScriptHost::~CScriptHost() {
    clearCompiledScripts();
}

void CScriptHost::beginOperation() {
    if (currentThreadId() != getEngine().getMainThreadId()) {
        reportError("Thread-unsafe method is called from altthread!!!", false);
    }
    LatestPrints.clear();
    // A runaway script stops with an error when it goes beyond the configured budget.
    machine.setOperationBudget(
        static_cast<std::uint64_t>(getEngine().getConfig().ScriptOperationBudget) * 1000000u);
}

void CScriptHost::appendPrint(std::string_view text) {
    LatestPrints.append(text);
    LatestPrints = trimRight(LatestPrints);
    LatestPrints += '\n';
}

void CScriptHost::appendScriptFile(const std::string& path) {
    std::string text;
    readTextFile(path, text);
    CombinedSource += '\n';
    CombinedSource += text;
}

void CScriptHost::compileAllScripts() {
    beginOperation();
    expandSpriteMacros(CombinedSource, nullptr, nullptr);
    try {
        machine.compile(CombinedSource, kSourceName).call();
        writeTextFile(debugFolder() + kCompiledSourceLog, CombinedSource);
    } catch (const squirrel::SquirrelError& error) {
        reportScriptError(error.what(), CombinedSource);
    }
}

void CScriptHost::reloadScripts(bool silent) {
    CombinedSource.clear();
    std::vector<std::string> files;
    listFiles(files, languageDataPath(""), "");
    listFiles(files, resolveDataPath(""), "");
    int count = 0;
    for (const std::string& file : files) {
        if (file.find(".nut") != std::string::npos) {
            appendScriptFile(file);
            ++count;
        }
    }
    clearCompiledScripts();
    compileAllScripts();
    if (!silent) {
        showErrorBox(format("Scripts recompiled! script files=%i", count), false);
    }
}

void CScriptHost::clearCompiledScripts() {
    CompiledCache.clear();
}

squirrel::Object CScriptHost::compileCached(const std::string& code, bool run) {
    beginOperation();
    auto cached = CompiledCache.find(code);
    if (cached != CompiledCache.end()) {
        return cached->second;
    }
    try {
        squirrel::Object closure = machine.compile(code, kSourceName);
        if (run) {
            closure.call();
        }
        CompiledCache.emplace(code, closure);
        return closure;
    } catch (const squirrel::SquirrelError& error) {
        reportScriptError(format("Error %s, Compiling script '%s'", error.what(), code.c_str()),
                          code);
    }
    return squirrel::Object();
}

squirrel::Object CScriptHost::callScriptCode(const std::string& code,
                                             const squirrel::Object& context) {
    beginOperation();
    ProfileScope scope("SCRIPT-CALLSCRIPT|" __FILE__, __LINE__, code.substr(0, 50) + "...");
    if (!context.isNull()) {
        return callScriptFunction(code, context);
    }
    squirrel::Object closure = compileCached(code, false);
    if (closure.isNull()) {
        return squirrel::Object();
    }
    try {
        return closure.call();
    } catch (const squirrel::SquirrelError& error) {
        reportScriptError(format("Error %s, Calling script code\n%s", error.what(), code.c_str()),
                          code);
    }
    return squirrel::Object();
}

squirrel::Object CScriptHost::callScriptFunction(const std::string& nameOrCode,
                                                 const squirrel::Object& argument,
                                                 const std::string& tableName) {
    beginOperation();
    bool isCode =
        (!nameOrCode.empty() && nameOrCode.back() == ';') ||
        (nameOrCode.find('(') != std::string::npos && nameOrCode.find(')') != std::string::npos);
    if (isCode) {
        return callScriptCode(nameOrCode);
    }
    ProfileScope scope("SCRIPT-CALLPRECOMPILED|" __FILE__, __LINE__);
    try {
        squirrel::Object owner = machine.rootTable();
        if (!tableName.empty()) {
            owner = owner.get(tableName);
        }
        squirrel::Object function = owner.get(nameOrCode);
        if (function.isNull()) {
            std::string missing = "the index '" + nameOrCode + "' does not exist";
            throw squirrel::SquirrelError("SquirrelFunction<> call failed: " + missing, missing, "",
                                          -1, 0, {});
        }
        return function.call({argument});
    } catch (const squirrel::SquirrelError& error) {
        reportScriptError(format("Error %s, Calling precompiled method '%s %s'", error.what(),
                                 tableName.c_str(), nameOrCode.c_str()),
                          std::string());
    }
    return squirrel::Object();
}

void CScriptHost::collectScriptGarbage() {
    machine.collectGarbage();
}

CScriptActionAnimator* CScriptHost::queueScriptAction(const std::string& action,
                                                      const squirrel::Object& context) {
    irr::scene::ISceneNode* root = getEngine().rootNode();
    if (action.empty() || !root) {
        return nullptr;
    }
    auto* animator = new CScriptActionAnimator(action, std::string(), std::string());
    animator->setContext(context);
    attachAnimator(root, animator);
    return animator;
}

void CScriptHost::reportScriptError(const std::string& message, const std::string& source) {
    std::string text = message;
    if (!LatestPrints.empty()) {
        text += "\n\nLatest prints:\n" + replaceAll(LatestPrints, "\r", "");
    }
    if (!source.empty()) {
        writeTextFile(debugFolder() + kErrorLog, source + "\n\n" + text);
    }
    reportError(text, true);
}

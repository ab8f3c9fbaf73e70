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

// The text with the place after it, when there is one.
std::string withPlace(const std::string& text, const std::string& place) {
    return place.empty() ? text : text + " " + place;
}

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
    CombinedOrigins.appendFile(path, text);
}

void CScriptHost::compileAllScripts() {
    beginOperation();
    std::string unexpanded = CombinedSource;
    expandSpriteMacros(CombinedSource, nullptr, nullptr);
    CombinedOrigins.followEdit(unexpanded, CombinedSource);
    squirrel::Object closure;
    try {
        closure = machine.compile(CombinedSource, kSourceName);
    } catch (const squirrel::SquirrelError& error) {
        reportScriptError(withPlace(error.what(), CombinedOrigins.place(error.line())),
                          CombinedSource);
        return;
    }
    CompiledOrigins = CombinedOrigins;
    CompiledCompilation = closure.compilation();
    try {
        closure.call();
        writeTextFile(debugFolder() + kCompiledSourceLog, CombinedSource);
    } catch (const squirrel::SquirrelError& error) {
        reportScriptError(placedCallError(error, std::string(), std::string(), 0), CombinedSource);
    }
}

void CScriptHost::reloadScripts(bool silent) {
    CombinedSource.clear();
    CombinedOrigins.clear();
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
    CodeOrigins.clear();
}

squirrel::Object CScriptHost::compileCached(const std::string& code, bool run,
                                            const std::string& originFile) {
    beginOperation();
    auto cached = CompiledCache.find(code);
    if (cached != CompiledCache.end()) {
        return cached->second;
    }
    squirrel::Object closure;
    std::string failure;
    try {
        closure = machine.compile(code, kSourceName);
    } catch (const squirrel::SquirrelError& error) {
        failure = withPlace(error.what(), codePlace(originFile, code, error.line()));
    }
    if (failure.empty() && run) {
        try {
            closure.call();
        } catch (const squirrel::SquirrelError& error) {
            failure = placedCallError(error, code, originFile, closure.compilation());
        }
    }
    if (!failure.empty()) {
        reportScriptError(format("Error %s, Compiling script '%s'", failure.c_str(), code.c_str()),
                          code);
        return squirrel::Object();
    }
    auto cachedCode = CompiledCache.emplace(code, closure).first;
    if (!originFile.empty()) {
        CodeOrigins[closure.compilation()] = CodeOrigin{&cachedCode->first, originFile};
    }
    return closure;
}

squirrel::Object CScriptHost::callScriptCode(const std::string& code,
                                             const squirrel::Object& context,
                                             const std::string& originFile) {
    beginOperation();
    ProfileScope scope("SCRIPT-CALLSCRIPT|" __FILE__, __LINE__, code.substr(0, 50) + "...");
    if (!context.isNull()) {
        return callScriptFunction(code, context, std::string(), originFile);
    }
    squirrel::Object closure = compileCached(code, false, originFile);
    if (closure.isNull()) {
        return squirrel::Object();
    }
    try {
        return closure.call();
    } catch (const squirrel::SquirrelError& error) {
        std::string failure = placedCallError(error, code, originFile, closure.compilation());
        reportScriptError(
            format("Error %s, Calling script code\n%s", failure.c_str(), code.c_str()), code);
    }
    return squirrel::Object();
}

squirrel::Object CScriptHost::callScriptFunction(const std::string& nameOrCode,
                                                 const squirrel::Object& argument,
                                                 const std::string& tableName,
                                                 const std::string& originFile) {
    beginOperation();
    bool isCode =
        (!nameOrCode.empty() && nameOrCode.back() == ';') ||
        (nameOrCode.find('(') != std::string::npos && nameOrCode.find(')') != std::string::npos);
    if (isCode) {
        return callScriptCode(nameOrCode, squirrel::Object(), originFile);
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
        std::string failure = placedCallError(error, std::string(), std::string(), 0);
        reportScriptError(format("Error %s, Calling precompiled method '%s %s'", failure.c_str(),
                                 tableName.c_str(), nameOrCode.c_str()),
                          std::string());
    }
    return squirrel::Object();
}

void CScriptHost::collectScriptGarbage() {
    machine.collectGarbage();
}

CScriptActionAnimator* CScriptHost::queueScriptAction(const std::string& action,
                                                      const squirrel::Object& context,
                                                      const std::string& originFile) {
    irr::scene::ISceneNode* root = getEngine().rootNode();
    if (action.empty() || !root) {
        return nullptr;
    }
    auto* animator =
        new CScriptActionAnimator(action, std::string(), std::string(), false, originFile);
    animator->setContext(context);
    attachAnimator(root, animator);
    return animator;
}

std::string CScriptHost::placedCallError(const squirrel::SquirrelError& error,
                                         const std::string& code, const std::string& originFile,
                                         std::uint32_t compilation) const {
    const std::vector<squirrel::StackFrameInfo>& frames = error.callStack();
    std::vector<std::string> lines = splitList(error.what(), '\n', true);
    if (frames.empty() || lines.size() <= frames.size()) {
        return error.what();
    }
    // The text ends with one line per frame, innermost first.
    size_t firstFrameLine = lines.size() - frames.size();
    std::string text;
    for (size_t line = 0; line < lines.size(); ++line) {
        std::string place;
        if (line >= firstFrameLine) {
            const squirrel::StackFrameInfo& frame = frames[line - firstFrameLine];
            if (frame.compilation != 0 && frame.compilation == CompiledCompilation) {
                place = CompiledOrigins.place(frame.line);
            } else if (frame.compilation != 0 && frame.compilation == compilation) {
                place = codePlace(originFile, code, frame.line);
            } else if (auto origin = CodeOrigins.find(frame.compilation);
                       origin != CodeOrigins.end()) {
                place = codePlace(origin->second.file, *origin->second.code, frame.line);
            }
        }
        text += (line == 0 ? "" : "\n") + withPlace(lines[line], place);
    }
    return text;
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

#include "script_check.h"

#include "core/vellumengine.h"
#include "description_check.h"
#include "reference_check.h"
#include "scene/sprite_macros.h"
#include "script/module_scripting.h"
#include "utils/source_text.h"
#include "utils/utils_fs.h"
#include "utils/utils_str.h"

#include <squirrel/squirrel.h>

#include <functional>
#include <regex>

namespace {

using LiteralCheck = void (*)(CheckSession&, const std::string&, const CheckPlace&);

void checkBackgroundImage(CheckSession& session, const std::string& name, const CheckPlace& place) {
    checkSpriteSource(session, resolveDataPath(name), place);
}

// Engine functions whose first argument names something, with the check of that name. With
// `alone` the name must be the only argument (a second one changes what it means).
struct LiteralCall {
    const char* function;
    LiteralCheck check;
    bool alone;
};

const LiteralCall kLiteralCalls[] = {
    {"core_OpenDialog", checkDialogName, false},
    {"core_PlayEffect", checkSoundEffect, false},
    {"core_SetBackgroundMusic", checkMusic, false},
    {"core_SetBackgroundImage", checkBackgroundImage, false},
    {"core_CreateSprite", checkSpriteSource, false},
    {"core_Translate", checkStringKey, true},
    {"core_GetTranslation", checkStringKey, true},
};

// Words that may stand before "(" without being a function call.
const char* const kKeywords[] = {"if",     "while",  "for",    "foreach", "switch", "function",
                                 "return", "typeof", "catch",  "resume",  "yield",  "delete",
                                 "clone",  "local",  "throw",  "in",      "base",   "this",
                                 "vargv",  "class",  "extends"};

std::string unescape(const std::string& literal) {
    std::string out;
    for (size_t i = 0; i < literal.size(); ++i) {
        if (literal[i] == '\\' && i + 1 < literal.size()) {
            char next = literal[++i];
            out += next == 'n' ? '\n' : next == 't' ? '\t' : next;
        } else {
            out += literal[i];
        }
    }
    return out;
}

// The script text as the engine compiles it: includes expanded (with each line's origin) and the
// sprite macros expanded line by line, so the lines stay where they were.
std::string expandedScript(const SourceText& source) {
    std::string text;
    for (const std::string& line : splitList(source.text, '\n', true)) {
        std::string expanded = line;
        expandSpriteMacros(expanded, nullptr, nullptr);
        text += replaceAll(expanded, "\n", " ") + "\n";
    }
    return text;
}

bool isCommentLine(const std::string& line) {
    std::string start = trimLeft(line);
    return startsWith(start, "//") || startsWith(start, "#");
}

// Script code handed to the timers as text runs like an action.
void checkTimerCode(CheckSession& session, const std::string& line, const CheckPlace& place) {
    static const std::regex timer(
        R"re(\bcore_Set(?:Timeout|Interval)\s*\([^,"]*,\s*"((?:[^"\\]|\\.)*)"\s*\))re");
    for (auto it = std::sregex_iterator(line.begin(), line.end(), timer);
         it != std::sregex_iterator(); ++it) {
        checkActionCode(session, unescape((*it)[1]), place);
    }
}

void checkLiteralCalls(CheckSession& session, const std::string& text,
                       const std::function<CheckPlace(size_t line)>& placeOfLine) {
    static const std::regex call(R"(\b((?:core|game)_[A-Za-z0-9_]+)\s*\()");
    static const std::regex literal(R"re(^\s*"((?:[^"\\]|\\.)*)"\s*([,)]))re");
    std::vector<std::string> lines = splitList(text, '\n', true);
    for (size_t index = 0; index < lines.size(); ++index) {
        const std::string& line = lines[index];
        if (isCommentLine(line)) {
            continue;
        }
        CheckPlace place = placeOfLine(index);
        checkTimerCode(session, line, place);
        for (auto it = std::sregex_iterator(line.begin(), line.end(), call);
             it != std::sregex_iterator(); ++it) {
            std::string function = (*it)[1];
            session.noteUse(function, place);
            std::smatch argument;
            std::string rest = line.substr(static_cast<size_t>(it->position() + it->length()));
            if (!std::regex_search(rest, argument, literal)) {
                continue;
            }
            for (const LiteralCall& known : kLiteralCalls) {
                if (function == known.function && (!known.alone || argument[2] == ")")) {
                    known.check(session, unescape(argument[1]), place);
                }
            }
        }
    }
}

void noteStringLiterals(CheckSession& session, const std::string& text) {
    static const std::regex literal(R"re("((?:[^"\\\n]|\\.)*)")re");
    for (auto it = std::sregex_iterator(text.begin(), text.end(), literal);
         it != std::sregex_iterator(); ++it) {
        session.scriptStrings.insert(unescape((*it)[1]));
    }
}

void noteDefinedFunctions(CheckSession& session, const std::string& text) {
    static const std::regex definition(
        R"(\bfunction\s+(?:::)?([A-Za-z_][A-Za-z0-9_]*)\s*\(|(?:^|[^.\w])(?:::)?([A-Za-z_][A-Za-z0-9_]*)\s*<-\s*function\b)");
    for (auto it = std::sregex_iterator(text.begin(), text.end(), definition);
         it != std::sregex_iterator(); ++it) {
        session.scriptFunctions.insert((*it)[1].matched ? (*it)[1] : (*it)[2]);
    }
}

squirrel::VM& machine() {
    return getEngine().getScripting().vm();
}

bool isKeyword(const std::string& word) {
    for (const char* keyword : kKeywords) {
        if (word == keyword) {
            return true;
        }
    }
    return false;
}

} // namespace

void checkScriptFile(CheckSession& session, const std::string& path) {
    SourceText source;
    if (!readSourceText(path, source)) {
        session.warning(CheckPlace{path, 0}, "empty script file");
        return;
    }
    reportMissingIncludes(session, source);
    std::string text;
    session.readAt(CheckPlace{path, 0}, [&] { text = expandedScript(source); });
    try {
        machine().compile(text, reportedFileName(path));
    } catch (const squirrel::SquirrelError& error) {
        session.error(
            source.originOfLine(static_cast<size_t>(
                error.line() > 0 ? error.line() - 1 : static_cast<int>(source.lines.size()))),
            "script does not compile: " + error.message());
    }
    noteDefinedFunctions(session, text);
    noteStringLiterals(session, text);
    checkLiteralCalls(session, text, [&](size_t line) { return source.originOfLine(line); });
}

void checkActionCode(CheckSession& session, const std::string& code, const CheckPlace& place) {
    try {
        machine().compile(code, "action");
    } catch (const squirrel::SquirrelError& error) {
        session.error(place, "action does not compile: " + error.message());
        return;
    }
    static const std::regex call(R"((^|[^.\w:])([A-Za-z_][A-Za-z0-9_]*)\s*\()");
    static const std::regex bareName(R"(^\s*([A-Za-z_][A-Za-z0-9_]*)\s*;?\s*$)");
    std::smatch name;
    if (std::regex_match(code, name, bareName)) {
        session.scriptCalls.emplace_back(name[1], place);
        return;
    }
    for (auto it = std::sregex_iterator(code.begin(), code.end(), call);
         it != std::sregex_iterator(); ++it) {
        std::string word = (*it)[2];
        if (!isKeyword(word)) {
            session.scriptCalls.emplace_back(word, place);
        }
    }
    checkLiteralCalls(session, code, [&](size_t) { return place; });
}

void checkScriptFunctionName(CheckSession& session, const std::string& name,
                             const CheckPlace& place) {
    session.scriptCalls.emplace_back(trim(name), place);
}

void checkScriptCalls(CheckSession& session) {
    squirrel::Object root = machine().rootTable();
    for (const auto& [name, place] : session.scriptCalls) {
        if (session.scriptFunctions.count(name) == 0 && !root.has(name)) {
            session.error(place, format("calls '%s', which no script defines and neither the "
                                        "engine nor the game provides",
                                        name.c_str()));
        }
    }
}

const std::vector<RequiredFunction>& engineRequiredFunctions() {
    static const std::vector<RequiredFunction> functions = {
        {"startGame", "at start, after scripts\\startup.nut has run"},
    };
    return functions;
}

void checkRequiredFunctions(CheckSession& session, const std::vector<RequiredFunction>& functions) {
    for (const RequiredFunction& function : functions) {
        const CheckPlace* use = nullptr;
        if (*function.neededBy != '\0') {
            use = session.firstUse(function.neededBy);
            if (!use) {
                continue;
            }
        }
        if (session.scriptFunctions.count(function.name) != 0) {
            continue;
        }
        CheckPlace place = use ? *use : CheckPlace{"scripts\\startup.nut", 0};
        session.error(place, format("no script defines %s(), which is called %s", function.name,
                                    function.purpose));
    }
}

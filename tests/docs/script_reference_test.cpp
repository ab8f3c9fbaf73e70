#include "docs/reference_headings.h"

#include "core/vellumengine.h"
#include "gameimplementation.h"
#include "script/module_scripting_core.h"
#include "utils/utils_str.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>
#include <string>

namespace {

// How many arguments the machine lets a registered function take; -1 when it takes any number.
using RegisteredFunctions = std::map<std::string, int>;

// The root-table functions named core_ or game_ after the game and the engine registered theirs,
// as the engine does once its device exists.
RegisteredFunctions registeredFunctions() {
    squirrel::VM& vm = getEngine().getScripting().vm();
    auto* game = new CGameImplementation();
    game->registerScriptFunctions();
    game->drop();
    registerCoreFunctions(vm);
    RegisteredFunctions functions;
    for (const auto& [key, value] : vm.rootTable()) {
        const std::string name = key.toString();
        if (key.type() != squirrel::Type::String ||
            (!startsWith(name, "core_") && !startsWith(name, "game_"))) {
            continue;
        }
        // The count the machine checks includes `this`; 0 means no check.
        int checked =
            vm.run("return ::" + name + ".getinfos().paramscheck;", "reference test").toInt();
        functions[name] = checked > 0 ? checked - 1 : -1;
    }
    return functions;
}

ReferenceHeadings documentedFunctions() {
    std::ifstream file(VELLUM_SCRIPT_REFERENCE);
    std::stringstream text;
    text << file.rdbuf();
    EXPECT_TRUE(file.is_open()) << "cannot read " << VELLUM_SCRIPT_REFERENCE;
    return readReferenceHeadings(text.str());
}

class ScriptReference : public testing::Test {
protected:
    static void SetUpTestSuite() {
        registered = new RegisteredFunctions(registeredFunctions());
        documented = new ReferenceHeadings(documentedFunctions());
    }
    static void TearDownTestSuite() {
        delete registered;
        delete documented;
    }

    static std::string where(const DocumentedFunction& function) {
        return std::string(VELLUM_SCRIPT_REFERENCE) + ":" + std::to_string(function.line);
    }

    static RegisteredFunctions* registered;
    static ReferenceHeadings* documented;
};

RegisteredFunctions* ScriptReference::registered = nullptr;
ReferenceHeadings* ScriptReference::documented = nullptr;

TEST_F(ScriptReference, EveryRegisteredFunctionHasAHeading) {
    // The engine and the game together register far more than a handful; an empty list would
    // mean the registration was not reached.
    EXPECT_GT(registered->size(), 50u);
    for (const auto& [name, count] : *registered) {
        EXPECT_EQ(documented->functions.count(name), 1u)
            << name << " is registered but has no \"### " << name << "(...)\" heading in "
            << VELLUM_SCRIPT_REFERENCE;
    }
}

TEST_F(ScriptReference, EveryHeadingNamesARegisteredFunctionOnce) {
    for (const auto& [name, function] : documented->functions) {
        EXPECT_EQ(registered->count(name), 1u)
            << where(function) << ": " << name << " is documented but not registered";
    }
    for (const auto& [name, line] : documented->duplicates) {
        ADD_FAILURE() << VELLUM_SCRIPT_REFERENCE << ":" << line << ": " << name
                      << " has a second heading";
    }
}

TEST_F(ScriptReference, SignaturesTakeAsManyArgumentsAsTheRegistrationAllows) {
    for (const auto& [name, function] : documented->functions) {
        EXPECT_TRUE(function.hasSignature)
            << where(function) << ": the heading of " << name << " has no argument list";
        auto found = registered->find(name);
        if (found == registered->end() || found->second < 0) {
            continue;
        }
        EXPECT_EQ(static_cast<int>(function.arguments.size()), found->second)
            << where(function) << ": " << name << " is registered for " << found->second
            << " argument(s)";
    }
}

TEST_F(ScriptReference, EveryFunctionHasAnExampleThatCallsIt) {
    for (const auto& [name, function] : documented->functions) {
        EXPECT_TRUE(function.hasExample) << where(function) << ": the section of " << name
                                         << " has no ```squirrel block calling it";
    }
}

} // namespace

#include "core/vellumengine.h"
#include "platform/process.h"
#include "script/module_scripting.h"
#include "support/message_box_recorder.h"
#include "support/test_program.h"
#include "utils/utils_fs.h"
#include "utils/utils_lang.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <thread>

namespace {

std::string readNative(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// The engine's script host on the main thread of a program folder of its own; every box is
// recorded and answered Yes (continue).
class ScriptHostTest : public testing::Test {
protected:
    void SetUp() override {
        setLanguage("data_en");
        clearTextCache();
        getEngine().setMainThreadId(currentThreadId());
        host().clearCompiledScripts();
        host().vm().run("calls <- 0; last <- null;"
                        "function count() { ::calls++; return ::calls; }"
                        "function remember(value) { ::last = value; return value * 2; }",
                        "setup");
    }
    void TearDown() override { getEngine().setMainThreadId(0); }

    static CScriptHost& host() { return getEngine().getScripting(); }
    static int rootInt(const char* name) { return host().vm().rootTable().get(name).toInt(); }
    std::string errorLog() const {
        return readNative(program.folder().native() + "last_scriptcomp_error.log");
    }

    TestProgram program;
    MessageBoxRecorder boxes{6};
};

} // namespace

TEST_F(ScriptHostTest, AnActionTextCompilesOnceAndADifferentTextCompilesAgain) {
    size_t before = host().compiledCount();
    EXPECT_EQ(host().callScriptCode("return count();").toInt(), 1);
    EXPECT_EQ(host().callScriptCode("return count();").toInt(), 2);
    EXPECT_EQ(host().compiledCount(), before + 1);
    EXPECT_EQ(host().callScriptCode("return count(); ").toInt(), 3);
    EXPECT_EQ(host().compiledCount(), before + 2);
    EXPECT_TRUE(boxes.boxes().empty());

    // The engine's cache clearing forgets compiled code too.
    getEngine().clearCaches(true);
    EXPECT_EQ(host().compiledCount(), 0u);
}

TEST_F(ScriptHostTest, CompileCachedRunsANewTextOnceWhenAsked) {
    host().compileCached("::calls += 10;", true);
    host().compileCached("::calls += 10;", true);
    EXPECT_EQ(rootInt("calls"), 10);
}

TEST_F(ScriptHostTest, CodeThatFailsToCompileIsReportedLoggedAndNotCached) {
    size_t before = host().compiledCount();
    EXPECT_TRUE(host().callScriptCode("return (1 +;").isNull());
    ASSERT_EQ(boxes.boxes().size(), 1u);
    const std::string& text = boxes.boxes()[0].text;
    EXPECT_EQ(text.rfind("Error console_buffer line", 0), 0u) << text;
    EXPECT_NE(text.find(", Compiling script 'return (1 +;'"), std::string::npos) << text;
    EXPECT_EQ(host().compiledCount(), before);
    EXPECT_EQ(errorLog().rfind("return (1 +;\n\nError ", 0), 0u) << errorLog();

    // The same text fails (and is reported) again rather than coming from the cache.
    host().callScriptCode("return (1 +;");
    EXPECT_EQ(boxes.boxes().size(), 2u);
    // The host goes on working.
    EXPECT_EQ(host().callScriptCode("return 5;").toInt(), 5);
}

TEST_F(ScriptHostTest, ARuntimeErrorIsReportedWithTheCodeAndTheHostGoesOn) {
    EXPECT_TRUE(host().callScriptCode("local t = {}; return t.missing;").isNull());
    ASSERT_EQ(boxes.boxes().size(), 1u);
    const std::string& text = boxes.boxes()[0].text;
    EXPECT_EQ(text.rfind("Error SquirrelFunction<> call failed", 0), 0u) << text;
    EXPECT_NE(text.find(", Calling script code\nlocal t = {}; return t.missing;"),
              std::string::npos)
        << text;
    EXPECT_EQ(host().callScriptCode("return count();").toInt(), 1);
}

TEST_F(ScriptHostTest, ABareNameWithAContextIsCalledWithItButCodeRunsAsCode) {
    EXPECT_EQ(host().callScriptCode("remember", squirrel::Object(21)).toInt(), 42);
    EXPECT_EQ(rootInt("last"), 21);

    // "();" makes it code even with a context.
    host().callScriptCode("count();", squirrel::Object(7));
    EXPECT_EQ(rootInt("calls"), 1);
    EXPECT_EQ(rootInt("last"), 21);

    // Without a context a bare name is code: an expression statement that does nothing.
    host().callScriptCode("count");
    EXPECT_EQ(rootInt("calls"), 1);
    EXPECT_TRUE(boxes.boxes().empty());
}

TEST_F(ScriptHostTest, CallScriptFunctionFindsFunctionsInNamedTables) {
    host().vm().run("tools <- { function triple(x) { return x * 3; } };", "tables");
    EXPECT_EQ(host().callScriptFunction("triple", squirrel::Object(5), "tools").toInt(), 15);
    EXPECT_EQ(host().callScriptFunction("return remember(4);", squirrel::Object(1)).toInt(), 8);
    EXPECT_EQ(rootInt("last"), 4);
}

TEST_F(ScriptHostTest, AMissingFunctionIsReportedWithTableNameAndLatestPrints) {
    host().vm().run("function chatty(x) { print(\"a\"); print(\"b  \\n\"); missing(); }", "p");
    host().callScriptFunction("chatty", squirrel::Object());
    host().callScriptFunction("nowhere", squirrel::Object(1), "tools");
    ASSERT_EQ(boxes.boxes().size(), 2u);

    const std::string& first = boxes.boxes()[0].text;
    EXPECT_EQ(first.rfind("Error SquirrelFunction<> call failed", 0), 0u) << first;
    EXPECT_NE(first.find("Calling precompiled method ' chatty'"), std::string::npos) << first;
    // The prints end the error text; the box adds its question after it.
    EXPECT_NE(first.find("'\n\nLatest prints:\na\nb\n\nYes to continue"), std::string::npos)
        << first;

    const std::string& second = boxes.boxes()[1].text;
    EXPECT_EQ(second.rfind("Error SquirrelFunction<> call failed", 0), 0u) << second;
    EXPECT_NE(second.find("Calling precompiled method 'tools nowhere'"), std::string::npos)
        << second;
    EXPECT_EQ(second.find("Latest prints"), std::string::npos) << second;
}

TEST_F(ScriptHostTest, LatestPrintsHoldOnlyWhatTheLastCallPrinted) {
    host().callScriptCode("print(\"first\");");
    EXPECT_EQ(host().latestPrints(), "first\n");
    host().callScriptCode("print(\"x\\r\\n\\n\"); print(\"y\");");
    EXPECT_EQ(host().latestPrints(), "x\ny\n");
    host().callScriptCode("return 1;");
    EXPECT_EQ(host().latestPrints(), "");
}

TEST_F(ScriptHostTest, CompileAllScriptsExpandsRunsAndLeavesTheSourceInTheLog) {
    program.writeData("scripts/a.nut", "function fromA() { return 11; }\n");
    program.writeData("scripts/b.nut", "fromB <- fromA() + 1;\n");
    host().appendScriptFile("scripts\\a.nut");
    host().appendScriptFile("scripts\\b.nut");
    host().compileAllScripts();
    EXPECT_TRUE(boxes.boxes().empty());
    EXPECT_EQ(rootInt("fromB"), 12);
    EXPECT_EQ(readNative(program.folder().native() + "last_scriptcomp_error_all.log"),
              host().combinedSource());
    EXPECT_EQ(host().combinedSource(),
              "\nfunction fromA() { return 11; }\n\nfromB <- fromA() + 1;\n");
}

TEST_F(ScriptHostTest, AFailedCompileOfAllScriptsLogsTheWholeSource) {
    program.writeData("scripts/bad.nut", "print(\"before\");\nfunction broken( {\n");
    host().reloadScripts(true);
    ASSERT_EQ(boxes.boxes().size(), 1u);
    EXPECT_EQ(boxes.boxes()[0].text.rfind("console_buffer line = (3)", 0), 0u)
        << boxes.boxes()[0].text;
    const std::string question = "\nYes to continue, No to stop";
    EXPECT_EQ(errorLog() + question, host().combinedSource() + "\n\n" + boxes.boxes()[0].text);
}

TEST_F(ScriptHostTest, ReloadingCountsTheScriptFilesOfBothFoldersAndForgetsCompiledCode) {
    program.writeData("scripts/one.nut", "reloaded <- 1;");
    program.writeData("scripts/deeper/two.nut", "reloaded2 <- 2;");
    program.writeData("scripts/notes.txt", "not a script");
    program.folder().write("data_en/three.nut", "reloaded3 <- 3;");
    host().callScriptCode("return 1;");
    ASSERT_GT(host().compiledCount(), 0u);
    host().reloadScripts(false);
    EXPECT_EQ(host().compiledCount(), 0u);
    EXPECT_EQ(rootInt("reloaded") + rootInt("reloaded2") + rootInt("reloaded3"), 6);
    EXPECT_TRUE(boxes.sawText("Scripts recompiled! script files=3"));
    // Values scripts stored survive a reload.
    EXPECT_EQ(rootInt("calls"), 0);
}

TEST_F(ScriptHostTest, AScriptCallFromAnotherThreadIsFatalBeforeAnythingRuns) {
    EXPECT_EXIT(
        {
            std::thread worker([] { host().callScriptCode("::calls = 100;"); });
            worker.join();
            exit(rootInt("calls") == 100 ? 3 : 2);
        },
        testing::ExitedWithCode(1), "");
}

namespace {

// Three script files. The second one includes a file and expands a macro of three lines before
// its own code, so its lines stand further down in the joined text than in the file: line 5 is
// line 15 of the joined text, and `end` is line 8 (18). The included file's line 2 is line 9.
class ScriptPlaces : public ScriptHostTest {
protected:
    void writeScripts(const std::string& end) {
        program.writeData("scripts/a.nut", "first <- 1;\nfunction fromA() {\n    return 1;\n}\n");
        program.writeData("scripts/helpers.inc",
                          "helperA <- 1;\nfunction helper(t) { return t.missing; }\n");
        program.writeData("scripts/b.nut", "// the second file\n"
                                           "${include(scripts\\helpers.inc)}\n"
                                           "shown <- @\"${virtualNode}\";\n"
                                           "function inner(t) {\n"
                                           "    local value = t.missing;\n"
                                           "    return value;\n"
                                           "}\n" +
                                               end);
        program.writeData("scripts/c.nut", "function outer(unused = null) {\n    local result = "
                                           "inner({});\n    return result;\n}\n");
        host().reloadScripts(true);
    }
    std::string onlyBox() const {
        EXPECT_EQ(boxes.boxes().size(), 1u);
        return boxes.boxes().empty() ? std::string() : boxes.boxes()[0].text;
    }
};

} // namespace

TEST_F(ScriptPlaces, ACompileErrorNamesTheScriptFileAndItsLineThere) {
    writeScripts("function broken( {\n");
    std::string text = onlyBox();
    EXPECT_EQ(text.rfind("console_buffer line = (18) column = (", 0), 0u) << text;
    EXPECT_NE(text.find(" (scripts\\b.nut line 8)\n"), std::string::npos) << text;
}

TEST_F(ScriptPlaces, ARunTimeErrorOfTheFirstRunNamesTheFileAndLineOfEachFrame) {
    writeScripts("shownValue <- inner({});\n");
    std::string text = onlyBox();
    EXPECT_EQ(text.rfind("SquirrelFunction<> call failed: the index 'missing' does not exist\n"
                         "*FUNCTION [inner()] console_buffer line [15] (scripts\\b.nut line 5)\n"
                         "*FUNCTION [main()] console_buffer line [18] (scripts\\b.nut line 8)",
                         0),
              0u)
        << text;
}

TEST_F(ScriptPlaces, ALineOfAnIncludedFileIsNamedByThatFileAndItsLine) {
    writeScripts("helped <- helper({});\n");
    std::string text = onlyBox();
    EXPECT_NE(
        text.find("*FUNCTION [helper()] console_buffer line [9] (scripts\\helpers.inc line 2)\n"
                  "*FUNCTION [main()] console_buffer line [18] (scripts\\b.nut line 8)"),
        std::string::npos)
        << text;
}

TEST_F(ScriptPlaces, ANestedCallNamesEachScriptFrameButNotTheActionTextThatMadeTheCall) {
    writeScripts("");
    ASSERT_TRUE(boxes.boxes().empty()) << boxes.boxes()[0].text;
    host().callScriptCode("local result = outer(); return result;");
    std::string text = onlyBox();
    EXPECT_NE(text.find("\n*FUNCTION [inner()] console_buffer line [15] (scripts\\b.nut line 5)\n"
                        "*FUNCTION [outer()] console_buffer line [20] (scripts\\c.nut line 2)\n"
                        "*FUNCTION [main()] console_buffer line [1], Calling script code\n"),
              std::string::npos)
        << text;

    // A function called by name: the same frames, and the message goes on as before.
    host().callScriptFunction("outer", squirrel::Object());
    ASSERT_EQ(boxes.boxes().size(), 2u);
    const std::string& byName = boxes.boxes()[1].text;
    EXPECT_NE(byName.find("*FUNCTION [outer()] console_buffer line [20] (scripts\\c.nut line 2), "
                          "Calling precompiled method ' outer'"),
              std::string::npos)
        << byName;
}

TEST_F(ScriptPlaces, ActionCodeNamesItsDescriptionFileAndTheLineOfItsKey) {
    const std::string file = "sprites\\panel.spr";
    program.writeData("sprites/panel.spr", "-Texture:\\gui\\orange.png\n"
                                           "-Event.Created.Action:\n"
                                           "local a = 1;\n"
                                           "local b = a.missing;\n"
                                           "-Event.Mouse.Click.Action:  return (1 +;\n");
    // A value on the lines after its key: the failing line of the code.
    host().callScriptCode("local a = 1;\nlocal b = a.missing;", squirrel::Object(), file);
    // A compile error of a value on the key's line.
    host().callScriptCode("return (1 +;", squirrel::Object(), file);
    // Code the file does not hold as it is (its macros changed it): only the file.
    host().callScriptCode("return (2 +;", squirrel::Object(), file);
    ASSERT_EQ(boxes.boxes().size(), 3u);
    EXPECT_NE(boxes.boxes()[0].text.find(
                  "*FUNCTION [main()] console_buffer line [2] (sprites\\panel.spr line 4), "),
              std::string::npos)
        << boxes.boxes()[0].text;
    EXPECT_EQ(boxes.boxes()[1].text.rfind("Error console_buffer line = (1) column = (", 0), 0u);
    EXPECT_NE(boxes.boxes()[1].text.find(" (sprites\\panel.spr line 5), Compiling script '"),
              std::string::npos)
        << boxes.boxes()[1].text;
    EXPECT_NE(boxes.boxes()[2].text.find(" (sprites\\panel.spr), Compiling script '"),
              std::string::npos)
        << boxes.boxes()[2].text;
}

TEST_F(ScriptPlaces, ActionCodeFromAnIncludedFileNamesThatFileAndLine) {
    program.writeData("sprites/actions.inc", "-Event.Created.Action:\n"
                                             "local c = 1;\n"
                                             "local d = c.absent;\n");
    program.writeData("sprites/holder.spr", "-Texture:\\gui\\orange.png\n"
                                            "${include(sprites\\actions.inc)}\n");
    host().callScriptCode("local c = 1;\nlocal d = c.absent;", squirrel::Object(),
                          "sprites\\holder.spr");
    EXPECT_NE(onlyBox().find(
                  "*FUNCTION [main()] console_buffer line [2] (sprites\\actions.inc line 3), "),
              std::string::npos)
        << onlyBox();
}

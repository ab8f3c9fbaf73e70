// Script sources with bad bytes, huge lines and absurd numbers: compile errors that name the line,
// or text the machine reads as it is; never a crash or a hang.
#include "squirrel/squirrel.h"

#include <gtest/gtest.h>

#include <string>

using squirrel::SquirrelError;
using squirrel::VM;

namespace {

using namespace std::string_literals;

struct CompileFailure {
    std::string message;
    int line = 0;
};

// The compile error of the source; an empty message when it compiles.
CompileFailure compileFailure(VM& vm, const std::string& source) {
    try {
        vm.compile(source, "edge.nut");
    } catch (const SquirrelError& e) {
        EXPECT_EQ(e.source(), "edge.nut");
        return {e.message(), e.line()};
    }
    return {};
}

TEST(ScriptSourceEdges, AbsurdNumericLiteralsAreCompileErrorsOnTheirLine) {
    VM vm;
    for (const std::string literal : {"1e308", "-1e308", "1.0e39", "3.5e38", "1e99999"}) {
        CompileFailure failure = compileFailure(vm, "local a = 1;\nlocal b = " + literal + ";");
        EXPECT_EQ(failure.message, "float literal out of range (the largest float is about 3.4e38)")
            << literal;
        EXPECT_EQ(failure.line, 2) << literal;
    }
    for (const std::string literal : {"4294967296", "99999999999999999999999"}) {
        CompileFailure failure = compileFailure(vm, "\n\nreturn " + literal + ";");
        EXPECT_EQ(failure.message, "integer literal out of range (more than 32 bits)") << literal;
        EXPECT_EQ(failure.line, 3) << literal;
    }
}

TEST(ScriptSourceEdges, NumbersAtTheEdgesOfTheirRangeStillRead) {
    VM vm;
    EXPECT_FLOAT_EQ(vm.run("return 3.4e38;", "a").toFloat(), 3.4e38f);
    EXPECT_EQ(vm.run("return 4294967295;", "b").toInt(), -1);
    EXPECT_EQ(vm.run("return -2147483648;", "c").toInt(), INT32_MIN);
    EXPECT_FLOAT_EQ(vm.run("return 1e-999;", "d").toFloat(), 0.0f);
    EXPECT_EQ(vm.run("return -0.0 == 0.0;", "e").toBool(), true);
    // Text that only looks like a number is no number.
    EXPECT_EQ(compileFailure(vm, "return 1e;").message, "exponent expected");
    EXPECT_EQ(vm.run("local nan = 1; local inf = 2; return nan + inf;", "f").toInt(), 3);
}

TEST(ScriptSourceEdges, ZeroByteIsAnUnexpectedCharacterOnItsLine) {
    VM vm;
    CompileFailure failure = compileFailure(vm, "local a = 1;\nlocal b\0 = 2;"s);
    EXPECT_EQ(failure.line, 2);
    EXPECT_NE(failure.message.find("unexpected character"), std::string::npos) << failure.message;
    // Inside a string literal it is a character of the string.
    EXPECT_EQ(vm.run("return \"a\0b\".len();"s, "z").toInt(), 3);
}

TEST(ScriptSourceEdges, HighBytesAreStringCharactersAndNoIdentifiers) {
    VM vm;
    const std::string bytes = "\x80\x81\x8D\x8F\x90\x9D\xFF";
    EXPECT_EQ(vm.run("return \"" + bytes + "\";", "s").toString(), bytes);
    EXPECT_EQ(vm.run("return \"" + bytes + "\".len();", "l").toInt(), 7);
    for (const char* byte : {"\xFF", "\x81", "\xC3\xA9"}) {
        CompileFailure failure = compileFailure(vm, std::string("local a") + byte + " = 1;");
        EXPECT_NE(failure.message.find("unexpected character"), std::string::npos) << byte;
        EXPECT_EQ(failure.line, 1);
    }
    // A byte-order mark in the middle of joined files is white space.
    EXPECT_EQ(vm.run("return 1 +\n\xEF\xBB\xBF 2;", "m").toInt(), 3);
}

TEST(ScriptSourceEdges, TruncatedSourcesAreCompileErrors) {
    VM vm;
    for (const std::string source :
         {"local s = \"unclosed", "local s = @\"unclosed", "function f() { return 1;",
          "local a = [1, 2", "/* unclosed comment", "local t = { a = 1,", "local c = 'x",
          "local e = \"\\x"}) {
        EXPECT_FALSE(compileFailure(vm, source).message.empty()) << source;
    }
}

TEST(ScriptSourceEdges, HugeLinesCompile) {
    VM vm;
    // Two megabytes on one line: a long string literal and a long sum.
    const std::string longText(2 * 1024 * 1024, 'q');
    EXPECT_EQ(vm.run("return \"" + longText + "\".len();", "long").toInt(), 2 * 1024 * 1024);
    std::string sum = "return 0";
    for (int i = 0; i < 100000; ++i) {
        sum += " + 1";
    }
    EXPECT_EQ(vm.run(sum + ";", "sum").toInt(), 100000);
    // A very long identifier is just a name.
    const std::string name(100000, 'n');
    EXPECT_EQ(vm.run("local " + name + " = 5; return " + name + ";", "name").toInt(), 5);
}

} // namespace

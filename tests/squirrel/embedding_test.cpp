// The embedding interface: compiling, calling, values, native functions, errors and memory.
#include "squirrel/squirrel.h"

#include <gtest/gtest.h>

#include <map>
#include <stdexcept>
#include <string>
#include <vector>

using squirrel::CallContext;
using squirrel::Object;
using squirrel::SquirrelError;
using squirrel::StackFrameInfo;
using squirrel::Type;
using squirrel::VM;

namespace {

// A VM whose print and error output is collected.
struct ScriptTest : ::testing::Test {
    ScriptTest() {
        vm.setPrintFunction([this](std::string_view text) { printed += text; });
        vm.setErrorFunction([this](std::string_view text) { errors += text; });
    }
    VM vm;
    std::string printed;
    std::string errors;
};

TEST_F(ScriptTest, CompiledScriptDefinesFunctionsThatCanBeCalledByName) {
    Object main = vm.compile("function twice(x) { return x * 2; }\nvalue <- 7;", "defs.nut");
    EXPECT_EQ(main.type(), Type::Closure);
    EXPECT_FALSE(vm.rootTable().has("twice"));
    main.call();
    EXPECT_EQ(vm.callFunction("twice", {21}).toInt(), 42);
    EXPECT_EQ(vm.rootTable().get("value").toInt(), 7);
    EXPECT_EQ(vm.run("return twice(value) + 1;", "expr").toInt(), 15);
}

TEST_F(ScriptTest, CallsRunWithTheRootTableOrTheGivenThis) {
    vm.run("function isRoot() { return this == getroottable(); }\n"
           "function field(n) { return this[n]; }",
           "this.nut");
    EXPECT_TRUE(vm.callFunction("isRoot").toBool());
    Object self = vm.newTable();
    self.set("answer", 42);
    Object field = vm.rootTable().get("field");
    EXPECT_EQ(field.callWithThis(self, {vm.string("answer")}).toInt(), 42);
    EXPECT_FALSE(vm.rootTable().get("isRoot").callWithThis(self, {}).toBool());
}

TEST_F(ScriptTest, ValuesCarryTheLanguageTypeCodes) {
    Object values =
        vm.run("return [1, 2.5, true, \"s\", {}, [], null, print, function() {}];", "types");
    ASSERT_EQ(values.size(), 9);
    EXPECT_EQ(static_cast<std::uint32_t>(values.get(0).type()), 83886082u);
    EXPECT_EQ(static_cast<std::uint32_t>(values.get(1).type()), 83886084u);
    EXPECT_EQ(static_cast<std::uint32_t>(values.get(2).type()), 16777224u);
    EXPECT_EQ(static_cast<std::uint32_t>(values.get(3).type()), 134217744u);
    EXPECT_EQ(static_cast<std::uint32_t>(values.get(4).type()), 167772192u);
    EXPECT_EQ(static_cast<std::uint32_t>(values.get(5).type()), 134217792u);
    EXPECT_EQ(static_cast<std::uint32_t>(values.get(6).type()), 16777217u);
    EXPECT_EQ(values.get(7).type(), Type::NativeClosure);
    EXPECT_EQ(values.get(8).type(), Type::Closure);
    EXPECT_STREQ(values.get(7).typeName(), "function");
    EXPECT_STREQ(values.get(4).typeName(), "table");
}

TEST_F(ScriptTest, NumbersAndBoolsConvert) {
    EXPECT_EQ(Object(2.75f).toInt(), 2);
    EXPECT_EQ(Object(-2.75).toInt(), -2);
    EXPECT_FLOAT_EQ(Object(3).toFloat(), 3.0f);
    EXPECT_EQ(Object(true).toInt(), 1);
    EXPECT_FALSE(Object(0).toBool());
    EXPECT_FALSE(Object(0.0f).toBool());
    EXPECT_FALSE(Object().toBool());
    EXPECT_TRUE(vm.string("").toBool());
    EXPECT_EQ(Object(12).toString(), "12");
    EXPECT_EQ(Object(1.5f).toString(), "1.5");
    EXPECT_EQ(Object(false).toString(), "false");
    EXPECT_EQ(Object().toString(), "null");
    EXPECT_EQ(vm.string("text").toString(), "text");
    EXPECT_EQ(vm.newTable().toString().rfind("(table : 0x", 0), 0u);
}

TEST_F(ScriptTest, TablesBuiltInNativeCodeAreSeenByScripts) {
    Object table = vm.newTable();
    EXPECT_TRUE(table.set("name", vm.string("box")));
    EXPECT_TRUE(table.set("size", 3));
    EXPECT_TRUE(table.set(Object(10), 2.5f));
    EXPECT_FALSE(table.set(Object(), 1)) << "null is no key";
    vm.rootTable().set("config", table);
    EXPECT_EQ(vm.run("return config.name + config.size + config[10];", "read").toString(),
              "box32.5");
    vm.run("config.added <- true; delete config.size;", "write");
    EXPECT_TRUE(table.get("added").toBool());
    EXPECT_FALSE(table.has("size"));
    EXPECT_TRUE(table.get("size").isNull());
    EXPECT_EQ(table.size(), 3);
    EXPECT_TRUE(table.remove("added"));
    EXPECT_FALSE(table.remove("added"));
    EXPECT_EQ(table.size(), 2);
}

TEST_F(ScriptTest, IterationVisitsEverySlotAndArraysInIndexOrder) {
    Object table = vm.run("local t = {a = 1, b = 2, c = 3}; delete t.b; t.d <- 4; return t;", "t");
    std::map<std::string, int> seen;
    for (auto [key, value] : table)
        seen[key.toString()] = value.toInt();
    EXPECT_EQ(seen, (std::map<std::string, int>{{"a", 1}, {"c", 3}, {"d", 4}}));

    Object array = vm.newArray(2);
    array.set(Object(0), vm.string("x"));
    array.append(7);
    EXPECT_FALSE(array.set(Object(5), 1)) << "arrays do not grow by assignment";
    std::string order;
    for (auto [index, value] : array)
        order += std::to_string(index.toInt()) + "=" + value.toString() + ";";
    EXPECT_EQ(order, "0=x;1=null;2=7;");
    vm.rootTable().set("list", array);
    EXPECT_EQ(vm.run("return list.len() + list.top();", "len").toInt(), 10);

    int visits = 0;
    for (auto entry : Object(5)) {
        (void)entry;
        ++visits;
    }
    EXPECT_EQ(visits, 0) << "scalars have nothing to iterate";
}

TEST_F(ScriptTest, HostAndScriptSeeTablesInTheSameNodeOrder) {
    Object table = vm.newTable();
    for (const char* key : {"alpha", "beta", "gamma", "delta", "epsilon"})
        table.set(key, 1);
    std::string hostOrder;
    for (auto [key, value] : table)
        hostOrder += key.toString() + " ";
    // The order of the node array, not the order of insertion.
    EXPECT_EQ(hostOrder, "beta epsilon gamma delta alpha ");
    vm.rootTable().set("host", table);
    EXPECT_EQ(vm.run("local s = \"\"; foreach (k, v in host) s += k + \" \"; return s;", "order")
                  .toString(),
              hostOrder);
}

TEST_F(ScriptTest, TablesKeepEverySlotThroughManyInsertionsAndRemovals) {
    // Collisions, moved nodes, reused emptied nodes, growth and shrinking all change the node
    // chains; every key must stay reachable and iteration must visit each slot once.
    Object table = vm.newTable();
    std::map<std::string, int> mirror;
    std::uint32_t seed = 12345;
    for (int step = 0; step < 20000; ++step) {
        seed = seed * 1103515245u + 12345u;
        int number = static_cast<int>((seed >> 8) % 300);
        bool asString = (seed >> 20) & 1;
        Object key = asString ? vm.string("k" + std::to_string(number)) : Object(number);
        std::string name = (asString ? "s" : "i") + std::to_string(number);
        if ((seed >> 24) % 3 == 0) {
            EXPECT_EQ(table.remove(key), mirror.erase(name) == 1) << name;
        } else {
            table.set(key, step);
            mirror[name] = step;
        }
        ASSERT_EQ(table.has(key), mirror.count(name) == 1) << "step " << step;
    }
    std::map<std::string, int> seen;
    for (auto [key, value] : table) {
        std::string name = (key.type() == Type::String ? "s" : "i") +
                           key.toString().substr(key.type() == Type::String ? 1 : 0);
        EXPECT_TRUE(seen.emplace(name, value.toInt()).second) << "visited twice: " << name;
    }
    EXPECT_EQ(seen, mirror);
}

TEST_F(ScriptTest, StringsMadeByTheHostEqualScriptStrings) {
    vm.run("function isHello(s) { return s == \"hello\" && typeof s == \"string\"; }", "s");
    EXPECT_TRUE(vm.callFunction("isHello", {vm.string("hello")}).toBool());
    EXPECT_FALSE(vm.callFunction("isHello", {vm.string("hell")}).toBool());
    Object withZero = vm.string(std::string_view("a\0b", 3));
    EXPECT_EQ(withZero.size(), 3);
}

TEST_F(ScriptTest, NativeFunctionsGetTheirArgumentsAndReturnValues) {
    vm.registerFunction(
        "add", [](CallContext& c) { return Object(c.floatArg(0) + c.floatArg(1)); }, 2, "nn");
    vm.registerFunction("describe", [](CallContext& c) {
        std::string text = std::to_string(c.argCount()) + ":";
        for (int i = 0; i < c.argCount(); ++i)
            text += std::string(c.arg(i).typeName()) + ",";
        return c.vm().string(text);
    });
    vm.registerFunction(
        "selfName", [](CallContext& c) { return c.self().get("name"); }, 0);
    EXPECT_FLOAT_EQ(vm.run("return add(1, 2.5);", "add").toFloat(), 3.5f);
    EXPECT_EQ(vm.run("return describe(1, \"s\", null);", "d").toString(), "3:integer,string,null,");
    EXPECT_EQ(vm.run("return describe();", "d0").toString(), "0:");
    EXPECT_EQ(vm.run("local t = {name = \"me\", f = selfName}; return t.f();", "self").toString(),
              "me");
    Object lib = vm.newTable();
    vm.registerFunction(
        lib, "three", [](CallContext&) { return Object(3); }, 0);
    vm.rootTable().set("lib", lib);
    EXPECT_EQ(vm.run("return lib.three();", "lib").toInt(), 3);
}

TEST_F(ScriptTest, NativeArgumentCountAndTypesAreCheckedBeforeTheCall) {
    int calls = 0;
    vm.registerFunction(
        "needsString",
        [&calls](CallContext& c) {
            ++calls;
            return Object(static_cast<int>(c.stringArg(0).size()));
        },
        1, "s");
    vm.registerFunction(
        "numberOrBool", [](CallContext& c) { return Object(c.arg(0).toInt()); }, 1, "n|b");
    vm.run("function try1(f) { try { return f(); } catch (e) { return e; } }", "t");
    auto attempt = [&](const char* code) {
        return vm.run(std::string("return try1(function() { return ") + code + "; });", "x")
            .toString();
    };
    EXPECT_EQ(attempt("needsString(\"abc\")"), "3");
    EXPECT_EQ(attempt("needsString()"), "wrong number of parameters");
    EXPECT_EQ(attempt("needsString(\"a\", \"b\")"), "wrong number of parameters");
    EXPECT_EQ(attempt("needsString(5)"),
              "parameter 1 has an invalid type 'integer' ; expected: 'string'");
    EXPECT_EQ(attempt("numberOrBool(true)"), "1");
    EXPECT_EQ(attempt("numberOrBool(2.5)"), "2");
    EXPECT_EQ(attempt("numberOrBool(\"x\")"),
              "parameter 1 has an invalid type 'string' ; expected: 'integer|float|bool'");
    EXPECT_EQ(calls, 1);
    EXPECT_THROW(vm.newFunction(
                     "bad", [](CallContext&) { return Object(); }, 1, "q"),
                 std::invalid_argument);
}

TEST_F(ScriptTest, ExceptionsOfNativeFunctionsBecomeScriptErrors) {
    vm.registerFunction("boom", [](CallContext&) -> Object { throw std::runtime_error("boom!"); });
    vm.registerFunction(
        "callBack", [](CallContext& c) { return c.vm().callFunction("scriptFails", {c.arg(0)}); });
    vm.run("function scriptFails(x) { throw \"script failed with \" + x; }", "f");
    EXPECT_EQ(vm.run("try { boom(); } catch (e) { return e; }", "b").toString(), "boom!");
    EXPECT_EQ(vm.run("try { callBack(5); } catch (e) { return e; }", "c").toString(),
              "script failed with 5");
    EXPECT_EQ(vm.run("local r = [1, 2].map(@(v) v * 10); return r[1];", "m").toInt(), 20);
}

TEST_F(ScriptTest, PrintAndErrorGoToTheirHooks) {
    vm.run("print(\"a\" + 1); print(2.5); print(null); error(\"bad\" + true);", "p");
    EXPECT_EQ(printed, "a12.5null");
    EXPECT_EQ(errors, "badtrue");
}

TEST_F(ScriptTest, AFailedCallThrowsSquirrelErrorWithTextPositionAndCallStack) {
    vm.run("function inner(t) {\n"
           "    return t.missing;\n"
           "}\n"
           "function outer() {\n"
           "    local t = {};\n"
           "    local result = inner(t);\n"
           "    return result;\n"
           "}\n",
           "stack.nut");
    try {
        vm.callFunction("outer");
        FAIL() << "the call should fail";
    } catch (const SquirrelError& e) {
        EXPECT_EQ(std::string(e.what()).rfind("SquirrelFunction<> call failed", 0), 0u);
        EXPECT_NE(std::string(e.what()).find("the index 'missing' does not exist"),
                  std::string::npos);
        EXPECT_EQ(e.message(), "the index 'missing' does not exist");
        EXPECT_EQ(e.source(), "stack.nut");
        EXPECT_EQ(e.line(), 2);
        ASSERT_EQ(e.callStack().size(), 2u);
        EXPECT_EQ(e.callStack()[0].function, "inner");
        EXPECT_EQ(e.callStack()[0].line, 2);
        EXPECT_EQ(e.callStack()[1].function, "outer");
        EXPECT_EQ(e.callStack()[1].line, 6);
    }
    // The machine is usable after the failure.
    EXPECT_EQ(vm.run("return 1 + 1;", "after").toInt(), 2);
}

TEST_F(ScriptTest, FramesNameTheCompilationOfTheirFunctionEvenUnderOneSourceName) {
    // Results kept in locals: a returned call would replace the caller's frame.
    Object library = vm.compile("function fail() { local x = null.x; return x; }\n"
                                "function viaText() { local r = compilestring(\"local r = fail(); "
                                "return r;\")(); return r; }",
                                "same");
    library.call();
    Object caller = vm.compile(
        "local f = function() { local r = viaText(); return r; };\nlocal r = f(); return r;",
        "same");
    EXPECT_NE(library.compilation(), 0u);
    EXPECT_NE(caller.compilation(), library.compilation());
    EXPECT_EQ(vm.rootTable().get("fail").compilation(), library.compilation());
    EXPECT_EQ(Object(3).compilation(), 0u);
    try {
        caller.call();
        FAIL() << "the call should fail";
    } catch (const SquirrelError& e) {
        // fail, the text compilestring made, viaText, the lambda and the caller's main function.
        std::vector<std::uint32_t> compilations;
        for (const StackFrameInfo& frame : e.callStack()) {
            EXPECT_EQ(frame.source == "NATIVE", frame.compilation == 0u) << frame.function;
            compilations.push_back(frame.compilation);
        }
        ASSERT_EQ(compilations.size(), 5u);
        EXPECT_EQ(compilations[0], library.compilation());
        EXPECT_NE(compilations[1], library.compilation());
        EXPECT_NE(compilations[1], caller.compilation());
        EXPECT_EQ(compilations[2], library.compilation());
        EXPECT_EQ(compilations[3], caller.compilation());
        EXPECT_EQ(compilations[4], caller.compilation());
    }
}

TEST_F(ScriptTest, ThrownValuesAndNativeFailuresAreReported) {
    vm.run("function throwsTable() { throw {code = 3}; }", "t");
    try {
        vm.callFunction("throwsTable");
        FAIL();
    } catch (const SquirrelError& e) {
        EXPECT_EQ(e.message().rfind("(table : 0x", 0), 0u);
    }
    try {
        vm.run("local a = [];\na.pop();", "native.nut");
        FAIL();
    } catch (const SquirrelError& e) {
        EXPECT_EQ(e.message(), "empty array");
        ASSERT_GE(e.callStack().size(), 2u);
        EXPECT_EQ(e.callStack()[0].function, "pop");
        EXPECT_EQ(e.callStack()[0].source, "NATIVE");
        EXPECT_EQ(e.source(), "native.nut");
        EXPECT_EQ(e.line(), 2);
    }
}

TEST_F(ScriptTest, ErrorsReportTheLineOfTheFailingExpression) {
    struct Case {
        const char* code;
        int line;
        const char* message;
    };
    const Case cases[] = {
        {"local a = 1;\nlocal b = a.x;", 2, "the index 'x' does not exist"},
        {"local t = {\n  a = 1,\n  b = undefinedName\n};", 3,
         "the index 'undefinedName' does not exist"},
        {"for (local i = 0; i < 3; i++) {\n  if (i == 2)\n    throw \"stop\";\n}", 3, "stop"},
        {"local s = \"a\" +\n  [] * 2;", 2, "arith op * on between 'array' and 'integer'"},
        {"local x = 0;\n\n\nx = 10 / x;", 4, "division by zero"},
        {"local f = function() {\n  return 1 % 0;\n};\nlocal r = f();", 2, "modulo by zero"},
    };
    for (const Case& c : cases) {
        try {
            vm.run(c.code, "lines.nut");
            ADD_FAILURE() << c.code;
        } catch (const SquirrelError& e) {
            EXPECT_EQ(e.line(), c.line) << c.code;
            EXPECT_EQ(e.message(), c.message) << c.code;
            EXPECT_EQ(e.source(), "lines.nut");
        }
    }
}

TEST_F(ScriptTest, CompileErrorsReportMessageAndPosition) {
    try {
        vm.compile("local a = 1;\nlocal b = ;", "broken.nut");
        FAIL();
    } catch (const SquirrelError& e) {
        EXPECT_EQ(e.message(), "expression expected");
        EXPECT_EQ(e.source(), "broken.nut");
        EXPECT_EQ(e.line(), 2);
        EXPECT_EQ(e.column(), 11);
        EXPECT_EQ(std::string(e.what()),
                  "broken.nut line = (2) column = (11) : error expression expected");
    }
}

TEST_F(ScriptTest, CallingAMissingFunctionByNameFails) {
    try {
        vm.callFunction("nowhere", {1});
        FAIL();
    } catch (const SquirrelError& e) {
        EXPECT_EQ(std::string(e.what()).rfind("SquirrelFunction<> call failed", 0), 0u);
        EXPECT_EQ(e.message(), "the index 'nowhere' does not exist");
    }
    vm.rootTable().set("notAFunction", 5);
    EXPECT_THROW(vm.callFunction("notAFunction"), SquirrelError);
}

TEST_F(ScriptTest, TheErrorHandlerSeesOnlyUncaughtErrors) {
    vm.run("seterrorhandler(function(e) { print(\"handler: \" + e + \"\\n\"); });", "h");
    vm.run("try { throw \"caught\"; } catch (e) {}", "caught");
    EXPECT_EQ(printed, "");
    EXPECT_THROW(vm.run("throw \"loose\";", "loose"), SquirrelError);
    EXPECT_EQ(printed, "handler: loose\n");
    printed.clear();
    vm.run("function fails() { throw 1; }", "f");
    EXPECT_THROW(vm.run("fails.pcall(this);", "p"), SquirrelError);
    EXPECT_EQ(printed, "") << "protected calls do not call the handler";
}

TEST_F(ScriptTest, CollectGarbageFreesCyclesButKeepsWhatIsReferenced) {
    vm.run("function makeCycles(n) {\n"
           "    for (local i = 0; i < n; i++) {\n"
           "        local a = {}, b = [a];\n"
           "        a.other <- b;\n"
           "        a.self <- a;\n"
           "    }\n"
           "}\n"
           "kept <- {};\n"
           "kept.me <- kept;\n",
           "gc.nut");
    vm.callFunction("makeCycles", {10});
    Object held = vm.run("local t = {}; t.loop <- [t]; return t;", "held");
    EXPECT_EQ(vm.collectGarbage(), 20);
    EXPECT_EQ(vm.collectGarbage(), 0);
    EXPECT_TRUE(vm.rootTable().get("kept").has("me"));
    EXPECT_EQ(held.get("loop").get(0).get("loop").size(), 1);
    held = Object();
    EXPECT_EQ(vm.collectGarbage(), 2);
    EXPECT_EQ(vm.run("return collectgarbage();", "c").toInt(), 0);
}

TEST(ScriptLifetime, ObjectsOutliveTheirVm) {
    Object table, function;
    {
        VM vm;
        table = vm.run("local t = {name = \"kept\"}; t.cycle <- t; return t;", "t");
        function = vm.compile("return 1;", "f");
    }
    EXPECT_EQ(table.get("name").toString(), "kept");
    EXPECT_EQ(table.get("cycle").get("name").toString(), "kept");
    EXPECT_THROW(function.call(), SquirrelError);
}

TEST(ScriptLifetime, ManyMachinesCanLiveSideBySide) {
    VM first, second;
    first.run("value <- 1;", "a");
    second.run("value <- 2;", "b");
    EXPECT_EQ(first.rootTable().get("value").toInt(), 1);
    EXPECT_EQ(second.rootTable().get("value").toInt(), 2);
}

TEST_F(ScriptTest, NativeCodeCanCallBackIntoScriptsRecursively) {
    vm.registerFunction(
        "viaNative",
        [](CallContext& c) {
            int n = c.intArg(0);
            if (n == 0)
                return Object(0);
            return Object(c.vm().callFunction("viaScript", {n - 1}).toInt() + 1);
        },
        1, "i");
    vm.run("function viaScript(n) { return viaNative(n); }", "r");
    EXPECT_EQ(vm.callFunction("viaScript", {50}).toInt(), 50);
}

TEST_F(ScriptTest, RunawayRecursionIsAnErrorNotACrash) {
    vm.run("function forever(n) { return 1 + forever(n + 1); }", "deep");
    try {
        vm.callFunction("forever", {0});
        FAIL();
    } catch (const SquirrelError& e) {
        EXPECT_EQ(e.message(), "stack overflow");
    }
    vm.registerFunction("nest", [](CallContext& c) { return c.vm().callFunction("nestAgain"); });
    vm.run("function nestAgain() { return nest(); }", "nest");
    try {
        vm.callFunction("nestAgain");
        FAIL();
    } catch (const SquirrelError& e) {
        EXPECT_EQ(e.message(), "native stack overflow");
    }
    vm.registerFunction("selfCall", [](CallContext& c) { return c.vm().callFunction("selfCall"); });
    try {
        vm.callFunction("selfCall");
        FAIL();
    } catch (const SquirrelError& e) {
        EXPECT_EQ(e.message(), "native stack overflow");
    }
    EXPECT_EQ(vm.run("return 3;", "ok").toInt(), 3);
}

TEST_F(ScriptTest, ScalarsAndMissingValuesAreHarmlessToAccess) {
    Object number(5);
    EXPECT_TRUE(number.get("x").isNull());
    EXPECT_FALSE(number.has("x"));
    EXPECT_FALSE(number.set("x", 1));
    EXPECT_FALSE(number.remove("x"));
    number.append(1);
    EXPECT_EQ(number.size(), 0);
    EXPECT_EQ(vm.string("four").size(), 4);
    Object array = vm.run("return [10, 20];", "a");
    EXPECT_EQ(array.get(Object(1.0f)).toInt(), 20) << "numeric keys index arrays";
    EXPECT_TRUE(array.get(2).isNull());
    EXPECT_TRUE(array.get(-1).isNull());
    EXPECT_TRUE(array.get("len").isNull()) << "no default delegate through the interface";
    try {
        Object().call();
        FAIL();
    } catch (const SquirrelError& e) {
        EXPECT_EQ(e.message(), "attempt to call 'null'");
    }
    try {
        array.call();
        FAIL();
    } catch (const SquirrelError& e) {
        EXPECT_EQ(e.message(), "attempt to call 'array'");
    }
}

TEST_F(ScriptTest, NativeFunctionsSeeMissingArgumentsAsNull) {
    vm.registerFunction("third", [](CallContext& c) { return c.arg(2); });
    vm.registerFunction("negative", [](CallContext& c) { return c.arg(-1); });
    EXPECT_TRUE(vm.run("return third(1);", "t").isNull());
    EXPECT_EQ(vm.run("return third(1, 2, \"x\");", "t").toString(), "x");
    EXPECT_TRUE(vm.run("return negative(1);", "n").isNull());
    Object f = vm.newFunction("made", [](CallContext& c) { return Object(c.argCount()); });
    EXPECT_EQ(f.type(), Type::NativeClosure);
    EXPECT_EQ(f.call({1, 2, 3}).toInt(), 3);
}

TEST_F(ScriptTest, HostHeldClosuresCanBeCalledLater) {
    Object make = vm.run("return function(start) { local n = start;"
                         " return function() { n += 1; return n; }; };",
                         "counter");
    Object counter = make.call({10});
    EXPECT_EQ(counter.call().toInt(), 11);
    EXPECT_EQ(counter.call().toInt(), 12);
    Object other = make.call({0});
    EXPECT_EQ(other.call().toInt(), 1);
    EXPECT_EQ(counter.call().toInt(), 13);
}

TEST_F(ScriptTest, CompileErrorsOfRunAreReportedBeforeAnythingRuns) {
    EXPECT_THROW(vm.run("print(\"ran\"); local = 1;", "bad"), SquirrelError);
    EXPECT_EQ(printed, "");
}

TEST(ScriptStack, ASmallStackOverflowsEarlyAndRecovers) {
    VM vm(256);
    vm.run("function down(n) { return n == 0 ? 0 : 1 + down(n - 1); }", "d");
    EXPECT_EQ(vm.callFunction("down", {20}).toInt(), 20);
    try {
        vm.callFunction("down", {1000});
        FAIL();
    } catch (const SquirrelError& e) {
        EXPECT_EQ(e.message(), "stack overflow");
    }
    EXPECT_EQ(vm.callFunction("down", {20}).toInt(), 20);
}

} // namespace

TEST_F(ScriptTest, HostMakesInstancesOfScriptClassesAndReadsTheirMembers) {
    vm.run("class Sprite {\n"
           "    constructor(n, px = 0) { name = n; x = px; }\n"
           "    function move(dx) { x += dx; return this; }\n"
           "    name = null; x = 0;\n"
           "    static kind = \"sprite\";\n"
           "}\n",
           "classes.nut");
    Object cls = vm.rootTable().get("Sprite");
    EXPECT_EQ(cls.type(), Type::Class);
    Object sprite = cls.call({vm.string("hero"), 3});
    EXPECT_EQ(sprite.type(), Type::Instance);
    EXPECT_STREQ(sprite.typeName(), "instance");
    EXPECT_EQ(sprite.get("name").toString(), "hero");
    EXPECT_EQ(sprite.get("kind").toString(), "sprite");
    EXPECT_TRUE(sprite.has("move"));
    EXPECT_FALSE(sprite.has("missing"));
    EXPECT_TRUE(sprite.set("x", 10));
    EXPECT_FALSE(sprite.set("kind", vm.string("no"))) << "statics are not fields";
    EXPECT_FALSE(sprite.set("missing", 1)) << "instances get no new members";
    sprite.get("move").callWithThis(sprite, {5});
    EXPECT_EQ(sprite.get("x").toInt(), 15);
    EXPECT_EQ(cls.get("x").toInt(), 0) << "the class keeps the default";
    EXPECT_EQ(cls.call({vm.string("other")}).get("x").toInt(), 0);
    try {
        cls.call();
        FAIL() << "the constructor needs a name";
    } catch (const SquirrelError& e) {
        EXPECT_EQ(e.message(), "wrong number of parameters");
    }
}

TEST_F(ScriptTest, UserPointersPassThroughScriptsUnchanged) {
    int node = 0;
    Object pointer = Object::fromUserPointer(&node);
    EXPECT_EQ(pointer.type(), Type::UserPointer);
    EXPECT_EQ(pointer.toUserPointer(), &node);
    EXPECT_EQ(Object(5).toUserPointer(), nullptr);
    vm.registerFunction(
        "touch",
        [](CallContext& c) {
            ++*static_cast<int*>(c.arg(0).toUserPointer());
            return c.arg(0);
        },
        1, "p");
    vm.run("function keep(p) { stored <- { node = p }; return typeof p; }", "p.nut");
    EXPECT_EQ(vm.callFunction("keep", {pointer}).toString(), "userpointer");
    Object back = vm.run("return touch(stored.node);", "touch");
    EXPECT_EQ(back.toUserPointer(), &node);
    EXPECT_EQ(node, 1);
    EXPECT_TRUE(vm.run("return stored.node == touch(stored.node);", "eq").toBool());
    EXPECT_EQ(node, 2);
    EXPECT_THROW(vm.run("touch(1);", "wrong"), SquirrelError);
}

TEST_F(ScriptTest, HostCallsMakeGeneratorsAndDriveThreads) {
    vm.run("function counter(n) { for (local i = 0; i < n; i++) yield i * 10; }\n"
           "function resumeOnce(g) { return resume g; }\n"
           "function worker(x) { local y = ::suspend(x + 1); return x + y; }\n",
           "co.nut");
    Object generator = vm.callFunction("counter", {3});
    EXPECT_EQ(generator.type(), Type::Generator);
    EXPECT_EQ(vm.callFunction("resumeOnce", {generator}).toInt(), 0);
    EXPECT_EQ(vm.callFunction("resumeOnce", {generator}).toInt(), 10);
    Object thread = vm.run("return newthread(worker);", "t");
    EXPECT_EQ(thread.type(), Type::Thread);
    EXPECT_EQ(thread.get("call").type(), Type::Null) << "get reads slots, not delegates";
    Object call = vm.run("return @(t, v) t.call(v);", "c");
    Object wakeup = vm.run("return @(t, v) t.wakeup(v);", "w");
    EXPECT_EQ(call.call({thread, 1}).toInt(), 2);
    EXPECT_EQ(wakeup.call({thread, 40}).toInt(), 41);
}

TEST_F(ScriptTest, CollectGarbageFreesClassAndInstanceCyclesButNotHeldOnes) {
    vm.run("class Node { next = null; owner = null; }\n"
           "function ring(n) {\n"
           "    local first = Node(), last = first;\n"
           "    for (local i = 1; i < n; i++) { local node = Node(); last.next = node; "
           "last = node; }\n"
           "    last.next = first;\n"
           "    return first;\n"
           "}\n"
           "function lonelyClass() { local C = class { static self = [] }; C.self.append(C()); }\n",
           "rings.nut");
    vm.callFunction("ring", {5});
    vm.callFunction("lonelyClass");
    Object held = vm.callFunction("ring", {3});
    Object weak = vm.run("return @(o) o.weakref();", "w").call({held});
    EXPECT_EQ(vm.collectGarbage(), 8) << "five nodes, and a class with its array and instance";
    EXPECT_EQ(held.get("next").get("next").get("next").type(), Type::Instance);
    held = Object();
    EXPECT_EQ(weak.type(), Type::WeakRef);
    EXPECT_EQ(vm.collectGarbage(), 3);
    EXPECT_TRUE(vm.run("return @(w) w.ref();", "r").call({weak}).isNull());
}

TEST_F(ScriptTest, StandardLibrariesAreInTheRootTable) {
    for (const char* name : {"format", "regexp", "blob", "file", "sqrt", "PI", "getenv", "date",
                             "newthread", "suspend", "dofile", "strip", "split"})
        EXPECT_TRUE(vm.rootTable().has(name)) << name;
    EXPECT_EQ(vm.run("return format(\"%03d|%s\", 7, \"x\");", "f").toString(), "007|x");
    EXPECT_TRUE(vm.run("return regexp(\"^a+$\").match(\"aaa\");", "r").toBool());
}

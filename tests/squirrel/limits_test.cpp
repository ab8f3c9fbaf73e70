// Resource limits: failed allocations and overlong strings are script errors, and the operation
// budget stops runaway scripts.
#include "squirrel/squirrel.h"

#include <gtest/gtest.h>

#include <new>
#include <string>

using squirrel::CallContext;
using squirrel::kOperationBudgetExceeded;
using squirrel::Object;
using squirrel::SquirrelError;
using squirrel::VM;

namespace {

// The message of the error the call fails with; empty when it succeeds.
template <class Call>
std::string failureOf(Call call) {
    try {
        call();
    } catch (const SquirrelError& e) {
        return e.message();
    }
    return {};
}

TEST(ScriptMemory, HugeArraysAreCatchableErrorsAndTheMachineGoesOn) {
    VM vm;
    vm.run("function huge() { return array(2147483647); }"
           "function caught(f) { try { f(); } catch (e) { return e; } return \"no error\"; }",
           "memory");
    EXPECT_EQ(vm.run("return caught(huge);", "a").toString(), "not enough memory");
    EXPECT_EQ(vm.run("return caught(@() [1].resize(2147483647));", "b").toString(),
              "not enough memory");

    // Uncaught, the error names the function that failed.
    try {
        vm.callFunction("huge");
        FAIL() << "array(2147483647) succeeded";
    } catch (const SquirrelError& e) {
        EXPECT_EQ(e.message(), "not enough memory");
        ASSERT_FALSE(e.callStack().empty());
        EXPECT_EQ(e.callStack()[0].function, "array");
        EXPECT_EQ(e.callStack()[1].function, "huge");
    }

    // Host functions that run out of memory fail the same way.
    vm.registerFunction("hostAllocates", [](CallContext&) -> Object { throw std::bad_alloc(); });
    EXPECT_EQ(vm.run("return caught(hostAllocates);", "c").toString(), "not enough memory");

    // Nothing is left behind: arrays, cycles and the collector work as before.
    EXPECT_EQ(vm.run("local a = array(3, 7); a.resize(5, 1); return a[2] + a[4];", "d").toInt(), 8);
    vm.run("local t = {}; t.self <- t;", "cycle");
    EXPECT_EQ(vm.collectGarbage(), 1);
}

// Strings grow by doubling up to 2^28 bytes of "\x01", which escape() turns into four bytes each:
// a 1 GiB string. Joining it with itself would make 2^31 bytes, one more than a string may hold;
// the join fails before anything is allocated.
TEST(ScriptMemory, StringsBeyondTheLengthLimitFailBeforeAllocating) {
    VM vm;
    vm.run("function grown(bytes) {"
           "    local s = \"\\x01\";"
           "    while (s.len() < bytes) s = s + s;"
           "    return s;"
           "}",
           "strings");
    // escape() works out the length first: 2^29 bytes would escape to 2^31.
    EXPECT_EQ(vm.run("try { escape(grown(1 << 29)); } catch (e) { return e; }", "a").toString(),
              "string too long");

    Object result = vm.run("local big = escape(grown(1 << 28));"
                           "local failure = null;"
                           "try { big + big; } catch (e) { failure = e; }"
                           "return [failure, big.len(), big.slice(-4), (big + \"\") == big];",
                           "b");
    EXPECT_EQ(result.get(0).toString(), "string too long");
    EXPECT_EQ(result.get(1).toInt(), 1 << 30);
    EXPECT_EQ(result.get(2).toString(), "\\x01");
    EXPECT_TRUE(result.get(3).toBool());
    result = Object();

    EXPECT_EQ(vm.run("return \"ab\" + \"c\" + escape(\"\\n\");", "c").toString(), "abc\\x0a");
}

TEST(ScriptMemory, ARepeatedGroupOverALongTextIsAnErrorNotACrash) {
    VM vm;
    Object result = vm.run("local s = \"a\";"
                           "while (s.len() < 100000) s = s + s;"
                           "local failure = null;"
                           "try { regexp(\"(a)*\").match(s); } catch (e) { failure = e; }"
                           "return [failure, regexp(\"a*b\").match(s + \"b\"),"
                           "    regexp(\"(a)*\").match(s.slice(0, 1000))];",
                           "regex");
    EXPECT_EQ(result.get(0).toString(), "the text is too long for the regular expression");
    EXPECT_TRUE(result.get(1).toBool());
    EXPECT_TRUE(result.get(2).toBool());
}

// A VM with a small budget and functions that run for ever in different ways.
struct ScriptBudget : ::testing::Test {
    static constexpr std::uint64_t kBudget = 1000000;

    ScriptBudget() {
        vm.setOperationBudget(kBudget);
        vm.run("rounds <- 0;"
               "function spin() { while (true) ::rounds++; }"
               "function tail() { return tail(); }"
               "function work(n) { local s = 0; for (local i = 0; i < n; i++) s++; return s; }",
               "budget");
    }
    std::string failure(const char* code) {
        return failureOf([&] { vm.run(code, "runaway"); });
    }
    VM vm;
};

TEST_F(ScriptBudget, RunawayLoopsAndTailCallsStopWithinTheBudget) {
    EXPECT_EQ(vm.operationBudget(), kBudget);
    try {
        vm.callFunction("spin");
        FAIL() << "spin() returned";
    } catch (const SquirrelError& e) {
        EXPECT_EQ(e.message(), kOperationBudgetExceeded);
        ASSERT_FALSE(e.callStack().empty());
        EXPECT_EQ(e.callStack()[0].function, "spin");
        EXPECT_EQ(e.callStack()[0].source, "budget");
    }
    // Every round costs at least one operation, and the loop ran most of the budget.
    int rounds = vm.rootTable().get("rounds").toInt();
    EXPECT_LE(rounds, static_cast<int>(kBudget));
    EXPECT_GE(rounds, static_cast<int>(kBudget / 20));

    EXPECT_EQ(failureOf([&] { vm.callFunction("tail"); }), kOperationBudgetExceeded);
    // A for loop whose step and test run as one instruction, kept going by its body.
    EXPECT_EQ(failure("for (local i = 0; i < 10; i++) i = 0;"), kOperationBudgetExceeded);
    // Recursion without loops or tail calls is counted too.
    EXPECT_EQ(failure("function fib(n) { return n < 2 ? n : fib(n - 1) + fib(n - 2); } fib(40);"),
              kOperationBudgetExceeded);
}

TEST_F(ScriptBudget, ScriptsCannotCatchTheBudgetError) {
    EXPECT_EQ(failure("::caught <- 0; try { spin(); } catch (e) { ::caught++; }"),
              kOperationBudgetExceeded);
    EXPECT_EQ(failure("while (true) { try { tail(); } catch (e) { ::caught++; } }"),
              kOperationBudgetExceeded);
    EXPECT_EQ(vm.rootTable().get("caught").toInt(), 0);

    // A host function that swallows the failure of its callback does not revive the call.
    vm.registerFunction("swallow", [](CallContext& c) {
        try {
            c.vm().callFunction("spin");
        } catch (const SquirrelError&) {
        }
        return Object(1);
    });
    EXPECT_EQ(failure("::after <- 0; swallow(); work(10); ::after++;"), kOperationBudgetExceeded);
    EXPECT_EQ(vm.rootTable().get("after").toInt(), 0);
    // Even when nothing runs after the swallowed error, the host call fails.
    EXPECT_EQ(failure("swallow();"), kOperationBudgetExceeded);
}

TEST_F(ScriptBudget, EachHostCallGetsTheWholeBudgetAndNestedWorkSharesIt) {
    // work(kBudget / 10) costs at least a tenth of the budget: twenty of them in one call are
    // more than the budget, twenty calls from the host each fit.
    const int n = static_cast<int>(kBudget / 10);
    EXPECT_EQ(failure("spin();"), kOperationBudgetExceeded);
    for (int i = 0; i < 20; ++i)
        ASSERT_EQ(vm.callFunction("work", {n}).toInt(), n) << i;
    vm.run("function workTimes(count, n) { for (local i = 0; i < count; i++) work(n); }", "w");
    EXPECT_EQ(failureOf([&] { vm.callFunction("workTimes", {20, n}); }), kOperationBudgetExceeded);

    // Callbacks of host functions, generators and threads run on the budget of the host call.
    vm.registerFunction("callBack",
                        [](CallContext& c) { return c.vm().callFunction("work", {c.arg(0)}); });
    EXPECT_EQ(failure("for (local i = 0; i < 20; i++) callBack(100000);"),
              kOperationBudgetExceeded);
    EXPECT_EQ(failure("function counter() { local i = 0; while (true) yield i++; }"
                      "foreach (v in counter()) {}"),
              kOperationBudgetExceeded);
    EXPECT_EQ(failure("local t = newthread(function() { while (true) {} }); t.call();"),
              kOperationBudgetExceeded);
    EXPECT_EQ(vm.callFunction("work", {4}).toInt(), 4);
}

TEST_F(ScriptBudget, CatastrophicRegularExpressionsStop) {
    EXPECT_EQ(failure("regexp(\"(a*)*b\").match(\"aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa\");"),
              kOperationBudgetExceeded);
    EXPECT_EQ(failure("regexp(\"(a|aa)*c\").search(\"aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa\");"),
              kOperationBudgetExceeded);
    EXPECT_TRUE(vm.run("return regexp(\"(a*)*b\").match(\"aaab\");", "fine").toBool());
}

TEST_F(ScriptBudget, WithoutABudgetLongWorkRuns) {
    vm.setOperationBudget(0);
    EXPECT_EQ(vm.operationBudget(), 0u);
    EXPECT_EQ(vm.callFunction("work", {3000000}).toInt(), 3000000);
}

} // namespace

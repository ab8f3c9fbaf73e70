#include "script_fixture.h"

namespace {

using ScriptTimers = ScriptTest;

TEST_F(ScriptTimers, IntervalRunsOnTheFirstFrameAfterCreationThenEverySecond) {
    EXPECT_GT(run("return core_SetInterval(1000, \"bump(\\\"tick\\\");\");").toInt(), 0);
    EXPECT_EQ(count("tick"), 0);
    frameAt(kStart);
    EXPECT_EQ(count("tick"), 1);
    framesFromTo(kStart + 50, kStart + 950, 50);
    EXPECT_EQ(count("tick"), 1);
    frameAt(kStart + 1000);
    EXPECT_EQ(count("tick"), 2);
    framesFromTo(kStart + 1050, kStart + 10000, 50);
    EXPECT_EQ(count("tick"), 11);
}

TEST_F(ScriptTimers, TimeoutRunsOnceAfterItsTimeAndIsThenDestroyed) {
    int handle = run("return core_SetTimeout(1000, \"bump(\\\"once\\\");\");").toInt();
    ASSERT_NE(CScriptActionAnimator::findById(handle - 1), nullptr);
    framesFromTo(kStart, kStart + 950, 50);
    EXPECT_EQ(count("once"), 0);
    frameAt(kStart + 1000);
    EXPECT_EQ(count("once"), 1);
    framesFromTo(kStart + 1050, kStart + 3000, 50);
    EXPECT_EQ(count("once"), 1);
    EXPECT_EQ(CScriptActionAnimator::findById(handle - 1), nullptr);
    EXPECT_TRUE(scene->root()->getAnimators().empty());
}

TEST_F(ScriptTimers, HandlesAreConsecutiveIdsPlusOneAndNullWithoutARootNode) {
    int first = run("return core_SetInterval(100, \"bump(\\\"a\\\");\");").toInt();
    int second = run("return core_SetTimeout(100, \"bump(\\\"b\\\");\");").toInt();
    EXPECT_EQ(second, first + 1);
    CScriptActionAnimator* timer = CScriptActionAnimator::findById(second - 1);
    ASSERT_NE(timer, nullptr);
    EXPECT_EQ(timer->getId(), second - 1);
    EXPECT_EQ(timer->getMode(), CScriptActionAnimator::kTimeout);
    EXPECT_EQ(timer->getInterval(), 100u);
    EXPECT_EQ(timer->getNode(), scene->root());

    getEngine().rootNode() = nullptr;
    EXPECT_TRUE(run("return core_SetInterval(100, \"bump(\\\"c\\\");\");").isNull());
    EXPECT_TRUE(run("return core_SetTimeout(100, \"bump(\\\"c\\\");\");").isNull());
    EXPECT_EQ(scene->root()->getAnimators().size(), 2u);
    getEngine().rootNode() = scene->root();
    // The failed calls used no number.
    EXPECT_EQ(run("return core_SetInterval(100, \"bump(\\\"d\\\");\");").toInt(), second + 1);
}

TEST_F(ScriptTimers, CancelIsTrueUntilTheTimerIsDestroyedAndFalseForHandleZero) {
    EXPECT_FALSE(run("return core_CancelInterval(0);").toBool());
    run("::h <- core_SetInterval(100, \"bump(\\\"cancelled\\\");\");");
    frameAt(kStart);
    EXPECT_EQ(count("cancelled"), 1);
    EXPECT_TRUE(run("return core_CancelInterval(::h);").toBool());
    EXPECT_TRUE(run("return core_CancelInterval(::h);").toBool());
    frameAt(kStart + 100);
    EXPECT_FALSE(run("return core_CancelInterval(::h);").toBool());
    framesFromTo(kStart + 200, kStart + 1000, 100);
    EXPECT_EQ(count("cancelled"), 1);

    run("::t <- core_SetTimeout(100, \"bump(\\\"never\\\");\");");
    EXPECT_TRUE(run("return core_CancelTimeout(::t);").toBool());
    framesFromTo(kStart + 1100, kStart + 1500, 100);
    EXPECT_FALSE(run("return core_CancelTimeout(::t);").toBool());
    EXPECT_EQ(count("never"), 0);
}

TEST_F(ScriptTimers, FailingTimerCodeReportsOncePerRunAndKeepsItsSchedule) {
    run("core_SetInterval(100, \"bump(\\\"failing\\\"); noSuchFunction();\");");
    framesFromTo(kStart, kStart + 250, 50);
    EXPECT_EQ(count("failing"), 3);
    ASSERT_EQ(boxes.boxes().size(), 3u);
    EXPECT_TRUE(boxes.sawText("noSuchFunction"));
    framesFromTo(kStart + 300, kStart + 400, 50);
    EXPECT_EQ(count("failing"), 5);
    EXPECT_EQ(boxes.boxes().size(), 5u);
}

TEST_F(ScriptTimers, ContextValueIsPassedToABareFunctionName) {
    run("function keep(value) { ::kept <- value; }");
    run("core_SetTimeout(100, \"keep\", {n = 7});");
    run("core_SetInterval(100, \"bump\", \"withContext\");");
    framesFromTo(kStart, kStart + 200, 100);
    EXPECT_EQ(run("return ::kept.n;").toInt(), 7);
    EXPECT_EQ(count("withContext"), 3);
    EXPECT_TRUE(boxes.boxes().empty());
}

TEST_F(ScriptTimers, BaseTimerKeyGivesTheTimerThatTimersSpeed) {
    EXPECT_FALSE(run("return core_SetIntervalTimer(0, 7);").toBool());
    run("::based <- core_SetInterval(100, \"bump(\\\"based\\\");\");");
    run("core_SetInterval(100, \"bump(\\\"plain\\\");\");");
    game->speeds[7] = 0;
    EXPECT_TRUE(run("return core_SetIntervalTimer(::based, 7);").toBool());
    framesFromTo(kStart, kStart + 1000, 50);
    EXPECT_EQ(count("based"), 0);
    EXPECT_EQ(count("plain"), 11);

    game->speeds[7] = 2;
    framesFromTo(kStart + 1050, kStart + 2000, 50);
    EXPECT_EQ(count("based"), 20);
    EXPECT_EQ(count("plain"), 21);
}

TEST_F(ScriptTimers, NegativeTimeRunsEveryFrameAndTheDormantIntervalStillRuns) {
    int fast = run("return core_SetInterval(-5, \"bump(\\\"fast\\\");\");").toInt();
    EXPECT_EQ(CScriptActionAnimator::findById(fast - 1)->getInterval(), 0u);
    run("core_SetTimeout(65535, \"bump(\\\"late\\\");\");");
    framesFromTo(kStart, kStart + 70000, 1000);
    EXPECT_EQ(count("fast"), 71);
    EXPECT_EQ(count("late"), 1);
}

} // namespace

TEST_F(ScriptTimers, AQueuedActionRunsOnceOnTheNextFrameWithItsContext) {
    run("function named(value) { bump(value); }");
    CScriptHost& host = getEngine().getScripting();
    EXPECT_EQ(host.queueScriptAction(""), nullptr);
    ASSERT_NE(host.queueScriptAction("bump(\"code\");"), nullptr);
    ASSERT_NE(host.queueScriptAction("named", host.vm().string("context")), nullptr);
    EXPECT_EQ(count("code"), 0);
    EXPECT_EQ(count("context"), 0);
    framesFromTo(kStart, kStart + 500, 25);
    EXPECT_EQ(count("code"), 1);
    EXPECT_EQ(count("context"), 1);
    EXPECT_TRUE(scene->root()->getAnimators().empty());
}

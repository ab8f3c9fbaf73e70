#include "script_core_api/core_api_fixture.h"

namespace {

using CoreEngineState = CoreApiTest;

TEST_F(CoreEngineState, TypeMasksRejectWrongArgumentsBeforeTheCall) {
    EXPECT_THROW(run("core_GetDataPath(5);"), squirrel::SquirrelError);
    EXPECT_THROW(run("core_AddDataPath();"), squirrel::SquirrelError);
    EXPECT_THROW(run("core_SaveFile(\"a.txt\");"), squirrel::SquirrelError);
    EXPECT_THROW(run("core_SaveFile(\"a.txt\", 5);"), squirrel::SquirrelError);
    EXPECT_THROW(run("core_SetBackgroundImage(\"gui\\\\x.png\");"), squirrel::SquirrelError);
    EXPECT_THROW(run("core_SetGameState(\"500\");"), squirrel::SquirrelError);
    EXPECT_THROW(run("core_GetGameState(1);"), squirrel::SquirrelError);
    EXPECT_THROW(run("core_Alert(1);"), squirrel::SquirrelError);
    EXPECT_EQ(getEngine().getStage(), STAGE_CREATED);
    EXPECT_TRUE(boxes.boxes().empty());
}

TEST_F(CoreEngineState, FunctionsWithoutMaskReadMissingArgumentsAsEmpty) {
    EXPECT_TRUE(eval("core_GetStrSlice()").isNull());
    EXPECT_EQ(eval("core_StrReplace(\"abc\")").toString(), "abc");
    EXPECT_EQ(eval("core_GetPathPart(\"z:\\\\a\\\\b.txt\")").toString(), "");
    EXPECT_EQ(eval("core_GetSprIniParameter(\"Name\")").toString(), "");
    EXPECT_EQ(eval("core_CreateRndSequence().len()").toInt(), 0);
}

TEST_F(CoreEngineState, GameStateIsTheEngineStage) {
    run("core_SetGameState(500);");
    EXPECT_EQ(getEngine().getStage(), STAGE_RUNNING);
    EXPECT_EQ(eval("core_GetGameState()").toInt(), 500);
    EXPECT_EQ(typeOf("core_GetGameState()"), "integer");
    getEngine().setStage(STAGE_PRELOADING);
    EXPECT_EQ(eval("core_GetGameState()").toInt(), 100);
}

TEST_F(CoreEngineState, PausedIsAnIntegerThatFollowsThePauseLevel) {
    CVellumEngine& engine = getEngine();
    engine.setStage(STAGE_PRELOADING);
    EXPECT_EQ(typeOf("core_IsGamePaused()"), "integer");
    EXPECT_EQ(eval("core_IsGamePaused()").toInt(), 0);
    engine.setPauseLevel(2, true);
    EXPECT_EQ(eval("core_IsGamePaused()").toInt(), 1);
    engine.setPauseLevel(2, false);
    EXPECT_EQ(eval("core_IsGamePaused()").toInt(), 0);
}

TEST_F(CoreEngineState, DebugIsAlwaysTheBooleanTrue) {
    EXPECT_EQ(typeOf("core_IsDebug()"), "bool");
    EXPECT_TRUE(eval("core_IsDebug() == true").toBool());
}

TEST_F(CoreEngineState, AlertShowsTheTextBelowItsTitleAndReturnsNothing) {
    EXPECT_TRUE(eval("core_Alert(\"Level two\")").isNull());
    ASSERT_EQ(boxes.boxes().size(), 1u);
    EXPECT_EQ(boxes.boxes()[0].text, "SqScript alert:\nLevel two");
    EXPECT_EQ(boxes.boxes()[0].kind & kBoxButtonMask, kBoxOk);
}

TEST_F(CoreEngineState, MissingBackgroundImageGivesZero) {
    EXPECT_EQ(eval("core_SetBackgroundImage(\"gui\\\\nothing.png\", 1)").toInt(), 0);
    EXPECT_EQ(getEngine().backgroundNode(), nullptr);
}

TEST_F(CoreEngineState, IniParameterIsTheConfigurationValue) {
    EXPECT_EQ(eval("core_GetIniParameter(\"XResolution\")").toString(), "640");
    EXPECT_EQ(eval("core_GetIniParameter(\"NoSuchKey\")").toString(), "");
}

// The exit request cannot be taken back, so it is made in a child process.
TEST_F(CoreEngineState, CloseGameRequestsTheExit) {
    EXPECT_EXIT(
        {
            getEngine().setMainThreadId(currentThreadId());
            bool ok = !getEngine().isExitRequested() && eval("core_CloseGame()").isNull() &&
                      getEngine().isExitRequested();
            exit(ok ? 0 : 2);
        },
        testing::ExitedWithCode(0), "");
}

} // namespace

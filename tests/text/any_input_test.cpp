#include "core/vellumengine.h"
#include "input/any_input.h"
#include "utils/system.h"

#include <gtest/gtest.h>

TEST(AnyInput, ConsumingTakesThePendingInputOnce) {
    clearAnyInput();
    EXPECT_FALSE(consumeAnyInput(0));
    setAnyInput();
    EXPECT_TRUE(consumeAnyInput(0));
    EXPECT_FALSE(consumeAnyInput(0));
    setAnyInput();
    clearAnyInput();
    EXPECT_FALSE(consumeAnyInput(0));
}

TEST(AnyInput, InputBeforeTheGivenTimeDoesNotCountAndStaysPending) {
    clearAnyInput();
    setAnyInput();
    EXPECT_FALSE(consumeAnyInput(getTicks() + 500));
    EXPECT_TRUE(consumeAnyInput(getTicks() - 500));
}

TEST(AnyInput, SpaceAndEnterKeyPressesSetItOnceTheGameRuns) {
    CVellumEngine& engine = getEngine();
    CInputModule& input = engine.getInput();
    irr::SEvent event{};
    event.EventType = irr::EET_KEY_INPUT_EVENT;
    event.KeyInput.PressedDown = true;
    event.KeyInput.Key = irr::KEY_SPACE;
    clearAnyInput();
    engine.setStage(STAGE_PRELOADING);
    input.OnEvent(event);
    EXPECT_FALSE(consumeAnyInput(0));

    engine.setStage(STAGE_RUNNING);
    input.OnEvent(event);
    EXPECT_TRUE(consumeAnyInput(0));
    // A second key right after the first would count as its repetition.
    clearAnyInput();
    event.KeyInput.Key = irr::KEY_RETURN;
    input.OnEvent(event);
    EXPECT_TRUE(consumeAnyInput(0));
    event.KeyInput.PressedDown = false;
    input.OnEvent(event);
    event.KeyInput.Key = irr::KEY_KEY_A;
    event.KeyInput.PressedDown = true;
    input.OnEvent(event);
    EXPECT_FALSE(consumeAnyInput(0));
    engine.setStage(STAGE_CREATED);
}

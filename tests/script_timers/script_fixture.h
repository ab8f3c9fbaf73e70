#pragma once

#include "platform/message_box.h"
#include "platform/process.h"
#include "script/module_scripting_core.h"
#include "script/script_action_animator.h"
#include "widgets/widget_fixture.h"

#include <map>
#include <string>

// A game whose base timers run at the speeds the test sets (1 for any other key).
class TimedGame : public TestGame {
public:
    float getBaseTimerSpeed(int key) override {
        auto speed = speeds.find(key);
        return speed != speeds.end() ? speed->second : 1.0f;
    }

    std::map<int, float> speeds;
};

// The engine's scene on the NULL driver with its time driven by the test, the scene's root as
// the engine's root node, the script host usable from this thread, the core functions
// registered, and script counters that the test's actions raise: count("name") reads them.
class ScriptTest : public WidgetTest {
protected:
    void SetUp() override {
        WidgetTest::SetUp();
        game = new TimedGame();
        getEngine().setClient(game);
        game->drop();
        boxes.setAnswer(kAnswerYes);
        getEngine().setMainThreadId(currentThreadId());
        getEngine().rootNode() = scene->root();
        squirrel::VM& vm = getEngine().getScripting().vm();
        registerCoreFunctions(vm);
        run("::counts <- {};"
            "function bump(name) { if (!(name in ::counts)) ::counts[name] <- 0; "
            "::counts[name]++; }");
    }

    void TearDown() override {
        getEngine().getRenderer().drainDeletionQueue();
        scene->scene()->clear();
        getEngine().rootNode() = nullptr;
        getEngine().setStage(STAGE_CREATED);
        getEngine().setPauseLevel(0, true);
        WidgetTest::TearDown();
    }

    static squirrel::Object run(const std::string& code) {
        return getEngine().getScripting().vm().run(code, "test");
    }
    static int count(const std::string& name) {
        return getEngine().getScripting().vm().rootTable().get("counts").get(name).toInt();
    }
    // Frames every `step` ms from `from` to `to`, both included.
    void framesFromTo(irr::u32 from, irr::u32 to, irr::u32 step) {
        for (irr::u32 time = from; time <= to; time += step) {
            frameAt(time);
        }
    }

    TimedGame* game = nullptr;
};

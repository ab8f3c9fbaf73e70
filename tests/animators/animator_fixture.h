#pragma once

#include "animators/abaseanimators.h"
#include "core/game_client.h"
#include "core/vellumengine.h"
#include "nodes/node_fixture.h"
#include "scene/node_utilities.h"
#include "support/test_game.h"

#include <map>
#include <vector>

// A game that only answers the base timer speeds the test sets (1 for any other key).
class SpeedGame : public TestGame {
public:
    float getBaseTimerSpeed(int key) override {
        auto speed = speeds.find(key);
        return speed != speeds.end() ? speed->second : 1.0f;
    }

    std::map<int, float> speeds;
};

// One step an animator saw: the time it was given, its elapsed time and its delta.
struct Step {
    irr::u32 time;
    irr::u32 elapsed;
    float delta;
};

// Records its steps where the test can read them after the animator is gone.
class RecordingAnimator : public CBaseAnimator {
public:
    explicit RecordingAnimator(std::vector<Step>& steps, bool removeAtFirstStep = false)
        : steps(steps), removeAtFirstStep(removeAtFirstStep) {}

    void onStep(irr::scene::ISceneNode*, float delta, irr::u32 time) override {
        steps.push_back({time, time - getStartTime(), delta});
        if (removeAtFirstStep) {
            removeThisAnimator();
        }
    }

private:
    std::vector<Step>& steps;
    bool removeAtFirstStep;
};

// Nodes on the NULL driver with the engine pointed at the device, its timer stopped and driven by
// the test, and a game that sets base timer speeds.
class AnimatorTest : public NodeTest {
protected:
    void SetUp() override {
        NodeTest::SetUp();
        getEngine().setDeviceServices(device);
        timer = device->getTimer();
        timer->stop();
        timer->setTime(kStart);
        game = new SpeedGame();
        getEngine().setClient(game);
        game->drop();
        liveAtStart = CBaseAnimator::liveCount();
    }

    void TearDown() override {
        getEngine().getRenderer().drainDeletionQueue();
        scene->clear();
        getEngine().setClient(nullptr);
        getEngine().setDeviceServices(nullptr);
        timer->start();
        NodeTest::TearDown();
    }

    // One frame at the given device time: animators step, then the deletion queue drains.
    void frameAt(irr::u32 time) {
        timer->setTime(time);
        getEngine().getRenderer().renderAll();
    }
    // Frames from `from` to `to` (both included) every `step` ms.
    void framesFromTo(irr::u32 from, irr::u32 to, irr::u32 step) {
        for (irr::u32 time = from; time <= to; time += step) {
            frameAt(time);
        }
    }

    static const irr::u32 kStart = 1000;
    irr::ITimer* timer = nullptr;
    SpeedGame* game = nullptr;
    int liveAtStart = 0;
};

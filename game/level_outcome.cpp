#include "level_outcome.h"

#include "core/vellumengine.h"
#include "script/module_scripting.h"

namespace {

struct LevelOutcome {
    bool finished = false;
    std::string nextLevel;
};

LevelOutcome& outcome() {
    static LevelOutcome* state = new LevelOutcome();
    return *state;
}

} // namespace

void startLevelOutcome(const std::string& nextLevel) {
    outcome().finished = false;
    outcome().nextLevel = nextLevel;
}

bool finishLevel(bool won, const std::string& nextLevel) {
    if (outcome().finished) {
        return false;
    }
    outcome().finished = true;
    CScriptHost& scripting = getEngine().getScripting();
    scripting.callScriptFunction(won ? "levelFinished_Good" : "levelFinished_Bad",
                                 scripting.vm().string(nextLevel));
    return true;
}

bool levelWon() {
    return finishLevel(true, outcome().nextLevel);
}

bool levelLost() {
    return finishLevel(false, outcome().nextLevel);
}

bool isLevelFinished() {
    return outcome().finished;
}

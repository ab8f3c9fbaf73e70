#include "engine_state.h"

namespace {

std::function<int()>& stageSource() {
    static auto* source = new std::function<int()>();
    return *source;
}

std::function<bool()>& debugModeSource() {
    static auto* source = new std::function<bool()>();
    return *source;
}

std::function<int()>& pauseLevelSource() {
    static auto* source = new std::function<int()>();
    return *source;
}

} // namespace

void setEngineStageSource(std::function<int()> source) {
    stageSource() = std::move(source);
}

int engineStage() {
    const std::function<int()>& source = stageSource();
    return source ? source() : 0;
}

void setDebugModeSource(std::function<bool()> source) {
    debugModeSource() = std::move(source);
}

bool debugModeActive() {
    const std::function<bool()>& source = debugModeSource();
    return source && source();
}

void setPauseLevelSource(std::function<int()> source) {
    pauseLevelSource() = std::move(source);
}

int enginePauseLevel() {
    const std::function<int()>& source = pauseLevelSource();
    return source ? source() : 0;
}

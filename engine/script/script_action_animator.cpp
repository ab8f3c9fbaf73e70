#include "script_action_animator.h"

#include "core/vellumengine.h"
#include "platform/locks.h"

#include <unordered_map>
#include <utility>

namespace {

// The live action animators by Id. Animators die through the deferred deletion queue, so the
// registry has a lock of its own. Never destroyed: animators may outlive static destruction.
struct ActionRegistry {
    CriticalSectionLock lock;
    int nextId = 0;
    std::unordered_map<int, CScriptActionAnimator*> animators;
};

ActionRegistry& registry() {
    static auto* instance = new ActionRegistry();
    return *instance;
}

// Above this pause level or engine stage the game is going away and destroyed actions are
// skipped: they would run against a half-dismantled scene.
const int kLastPauseLevelForActions = 98;
const int kLastStageForActions = 998;

} // namespace

CScriptActionAnimator::CScriptActionAnimator(const std::string& created,
                                             const std::string& whileVisible,
                                             const std::string& destroyed, bool runNow,
                                             const std::string& originFile)
    : CreatedAction(created), WhileVisibleAction(whileVisible), DestroyedAction(destroyed),
      OriginFile(originFile) {
    {
        ActionRegistry& actions = registry();
        ScopedLock guard(actions.lock);
        Id = actions.nextId++;
        actions.animators[Id] = this;
    }
    if (runNow && !CreatedAction.empty()) {
        runAction(std::exchange(CreatedAction, std::string()));
    }
    if (CreatedAction.empty() && WhileVisibleAction.empty() && !DestroyedAction.empty()) {
        Interval = kDormantInterval;
    }
}

CScriptActionAnimator::~CScriptActionAnimator() {
    {
        ActionRegistry& actions = registry();
        ScopedLock guard(actions.lock);
        actions.animators.erase(Id);
    }
    CVellumEngine& engine = getEngine();
    if (DestroyedAction.empty() || engine.getStage() > kLastStageForActions ||
        engine.getPauseLevel() > kLastPauseLevelForActions) {
        return;
    }
    runAction(DestroyedAction);
}

CScriptActionAnimator* CScriptActionAnimator::findById(int id) {
    ActionRegistry& actions = registry();
    ScopedLock guard(actions.lock);
    auto found = actions.animators.find(id);
    return found != actions.animators.end() ? found->second : nullptr;
}

void CScriptActionAnimator::runAction(const std::string& action) {
    getEngine().getScripting().callScriptCode(action, ContextValue, OriginFile);
}

void CScriptActionAnimator::onTick(irr::scene::ISceneNode*, irr::u32 time) {
    if (!CreatedAction.empty()) {
        // Emptied before it runs, so the action never runs twice even if it re-enters.
        runAction(std::exchange(CreatedAction, std::string()));
        if (WhileVisibleAction.empty()) {
            if (DestroyedAction.empty()) {
                removeThisAnimator();
            } else {
                Interval = kDormantInterval;
            }
            return;
        }
    }
    if (WhileVisibleAction.empty()) {
        return;
    }
    if (Mode == kTimeout) {
        if (time < getStartTime() + Interval) {
            return;
        }
        runAction(WhileVisibleAction);
        removeThisAnimator();
        return;
    }
    runAction(WhileVisibleAction);
}

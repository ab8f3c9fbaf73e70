#pragma once

#include "animators/abaseanimators.h"

#include "squirrel/squirrel.h"

#include <string>

// Runs script code for its node: the created action on its first tick, the while-visible action
// on every tick while the node is visible (or, as a script timer, every Interval ms or once
// after it), and the destroyed action when the animator dies (unless the game is exiting). Each
// instance takes the next number of a process-wide counter as its Id and is entered in a
// process-wide registry, so script timers can be found by their handle (Id + 1).
class CScriptActionAnimator : public CBaseAnimator {
public:
    enum TimerMode { kRepeating = 0, kTimeout = 1 };

    // With runNow, a created action runs at once (and is then emptied). With only a destroyed
    // action the animator is dormant. Errors of the actions name the origin file, the
    // description or dialog file they were written in ("" for none).
    CScriptActionAnimator(const std::string& created, const std::string& whileVisible,
                          const std::string& destroyed, bool runNow = false,
                          const std::string& originFile = std::string());
    ~CScriptActionAnimator() override;

    void onTick(irr::scene::ISceneNode* node, irr::u32 time) override;

    int getId() const { return Id; }
    int getMode() const { return Mode; }
    void setMode(int mode) { Mode = mode; }
    // The value the actions receive: a bare function name as action is called with it.
    void setContext(const squirrel::Object& value) { ContextValue = value; }
    const squirrel::Object& getContext() const { return ContextValue; }

    // The live animator with that Id, or null.
    static CScriptActionAnimator* findById(int id);

private:
    void runAction(const std::string& action);

    int Mode = kRepeating;
    squirrel::Object ContextValue;
    int Id;
    std::string CreatedAction;
    std::string WhileVisibleAction;
    std::string DestroyedAction;
    std::string OriginFile;
};

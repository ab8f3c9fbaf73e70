#pragma once

#include "animators/abaseanimators.h"
#include "script/node_table.h"

#include "squirrel/squirrel.h"

#include <string>

// An effect whose every step a script function computes. The animator keeps a script table as
// the effect's state and hands it to the function on each step: the node's attributes of the
// switched-on groups, "_pointer", the time and delta, the clone number and the parameter written
// after the function name in parentheses, plus switches the function sets to steer the effect
// ("_affectDiscretion" for the step interval, "_affectPosition" ... "_affectColor" for the groups
// applied back to the node, "_affectFlow", "_sharedMode", "_switchEffectTo", "_cancel",
// "_dieNow"). The node stays hidden until the first step has initialised it. A step function
// whose name has 5 characters or fewer runs for the initialising step only.
class CScriptedEffect : public CBaseAnimator {
public:
    // "name(parameter)" texts of the step function and of the initialising function (empty:
    // the step function also initialises).
    CScriptedEffect(const std::string& stepText, const std::string& initText);

    void setCloneNumber(int number) { CloneNumber = number; }

    void onAttached(irr::scene::ISceneNode* node) override;
    void onStep(irr::scene::ISceneNode* node, float delta, irr::u32 time) override;
    // Also lets go of the state table.
    void finish() override;

    const std::string& getStepFunction() const { return StepFunction; }
    const std::string& getStepParameter() const { return StepParameter; }
    const std::string& getInitFunction() const { return InitFunction; }
    const std::string& getInitParameter() const { return InitParameter; }

private:
    void initialise(CNodeBasement* node);

    int Initialised = 0;
    int AffectFlow = 1;
    int SharedMode = 0;
    int CloneNumber = 0;
    squirrel::Object State;
    NodeTableGroups Groups;
    std::string StepFunction;
    std::string InitFunction;
    std::string StepParameter;
    std::string InitParameter;
};

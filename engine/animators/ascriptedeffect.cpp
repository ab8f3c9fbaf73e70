#include "ascriptedeffect.h"

#include "core/vellumengine.h"
#include "scene/node_base.h"
#include "scene/node_utilities.h"
#include "utils/debug.h"
#include "utils/utils_str.h"

#include <algorithm>

namespace {

// Step functions with names this short only initialise.
const size_t kLongestInitOnlyName = 5;

// Splits "name(parameter)" into the function name (up to the first blank or parenthesis,
// trimmed) and the parameter (between the first "(" and the next ")", without line breaks,
// tabs, quotes and blanks at its ends).
void splitCall(const std::string& text, std::string& function, std::string& parameter) {
    function = trim(text.substr(0, std::min(text.find_first_of(" ()"), text.size())));
    parameter.clear();
    size_t open = text.find('(');
    if (open == std::string::npos) {
        return;
    }
    size_t close = text.find(')', open + 1);
    std::string inside =
        text.substr(open + 1, close == std::string::npos ? std::string::npos : close - open - 1);
    const char* const stripped = "\n\r\t\" ";
    size_t first = inside.find_first_not_of(stripped);
    if (first != std::string::npos) {
        parameter = inside.substr(first, inside.find_last_not_of(stripped) - first + 1);
    }
}

int intSlot(const squirrel::Object& table, const char* key) {
    return table.get(key).toInt();
}

} // namespace

CScriptedEffect::CScriptedEffect(const std::string& stepText, const std::string& initText) {
    splitCall(stepText, StepFunction, StepParameter);
    splitCall(initText, InitFunction, InitParameter);
}

void CScriptedEffect::onAttached(irr::scene::ISceneNode* node) {
    if (CNodeBasement* engineNode = asEngineNode(node)) {
        engineNode->setHideCount(engineNode->getHideCount() + 1);
    }
}

void CScriptedEffect::finish() {
    CBaseAnimator::finish();
    State = squirrel::Object();
}

void CScriptedEffect::initialise(CNodeBasement* node) {
    CScriptHost& scripting = getEngine().getScripting();
    squirrel::VM& vm = scripting.vm();
    State = vm.newTable();
    State.set("_affectDiscretion", squirrel::Object(static_cast<int>(Interval)));
    State.set("_affectPosition", squirrel::Object(1));
    State.set("_affectRotation", squirrel::Object(1));
    State.set("_affectSize", squirrel::Object(1));
    State.set("_affectAlpha", squirrel::Object(1));
    State.set("_affectFade", squirrel::Object(1));
    State.set("_affectColor", squirrel::Object(1));
    State.set("_affectFlow", squirrel::Object(1));
    State.set("_sharedMode", squirrel::Object(0));
    State.set("_switchEffectTo", vm.string(""));
    State.set("_cancel", squirrel::Object(0));
    State.set("_dieNow", squirrel::Object(0));
    State.set("_doInit", squirrel::Object(1));
    State.set("_time", squirrel::Object(0.0f));
    State.set("_delta", squirrel::Object(0.0f));
    State.set("_cloneNumber", squirrel::Object(CloneNumber));
    readNodeTable(vm, node, State, Groups);

    if (!InitFunction.empty()) {
        State.set("_parameter", vm.string(InitParameter));
        scripting.callScriptFunction(InitFunction, State);
        State.set("_parameter", vm.string(StepParameter));
    } else {
        State.set("_parameter", vm.string(StepParameter));
        scripting.callScriptFunction(StepFunction, State);
    }
    State.set("_doInit", squirrel::Object(0));

    // A negative interval would wrap to one that never comes; it means every frame.
    Interval = static_cast<irr::u32>(std::max(0, intSlot(State, "_affectDiscretion")));
    Groups.position = intSlot(State, "_affectPosition");
    Groups.rotation = intSlot(State, "_affectRotation");
    Groups.size = intSlot(State, "_affectSize");
    Groups.alpha = intSlot(State, "_affectAlpha");
    Groups.fade = intSlot(State, "_affectFade");
    Groups.colour = intSlot(State, "_affectColor");
    AffectFlow = intSlot(State, "_affectFlow");
    SharedMode = intSlot(State, "_sharedMode");
    applyNodeTable(node, State, Groups);
}

void CScriptedEffect::onStep(irr::scene::ISceneNode* node, float delta, irr::u32 time) {
    ProfileScope scope("ANIM-SCRIPTED|" __FILE__, __LINE__);
    CNodeBasement* engineNode = asEngineNode(node);
    if (engineNode == nullptr) {
        return;
    }
    if (Initialised == 0) {
        engineNode->setHideCount(engineNode->getHideCount() - 1);
        initialise(engineNode);
        Initialised = 1;
    }
    CScriptHost& scripting = getEngine().getScripting();
    State.set("_time", squirrel::Object(static_cast<int>(time - getStartTime())));
    State.set("_delta", squirrel::Object(delta));
    if (SharedMode != 0) {
        readNodeTable(scripting.vm(), engineNode, State, Groups);
    }
    scripting.callScriptFunction(StepFunction, State);
    applyNodeTable(engineNode, State, Groups);

    bool ended = false;
    if (AffectFlow != 0) {
        if (intSlot(State, "_dieNow") != 0) {
            removeThisAnimator();
            deleteNode(node);
        }
        squirrel::Object switchTo = State.get("_switchEffectTo");
        if (switchTo.type() == squirrel::Type::String && switchTo.size() > 0 &&
            switchTo.toString() != StepFunction) {
            StepFunction = switchTo.toString();
        }
        ended = intSlot(State, "_cancel") == 1;
    }
    if (ended || StepFunction.size() <= kLongestInitOnlyName) {
        removeThisAnimator();
    }
}

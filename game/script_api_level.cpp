#include "script_api.h"

#include "animators/afadeanimators.h"
#include "core/module_userprofile.h"
#include "core/vellumengine.h"
#include "hole_maker.h"
#include "input/focus_chain.h"
#include "input/modal_dialog_marker.h"
#include "level.h"
#include "scene/node_base.h"
#include "scene/node_factory.h"
#include "scene/node_utilities.h"
#include "script/core_arguments.h"
#include "userstats.h"
#include "utils/utils_fs.h"
#include "utils/utils_str.h"

#include <stdexcept>
#include <string>

namespace {

// Curtains cover everything else on screen.
constexpr float kCurtainDepth = -4.99f;

struct CurtainLook {
    const char* function;
    const char* source;
    float width;
    float height;
};

const CurtainLook kBlackCurtain = {"game_createFader_BlackCurtain", "gui\\black.png", 40, 30};
const CurtainLook kWhiteCurtain = {"game_createFader_WhiteCurtain", "gui\\curtain.spr", 1, 1};

// A curtain named by the first argument that fades in over the second (ms) and takes the input
// from everything below it until the scripts remove it. Without a name the scripts could never
// remove it, and a name already in use could not tell the two nodes apart: both are errors, as is
// a fade time that is not a number.
void createCurtain(squirrel::CallContext& call, const CurtainLook& look) {
    const squirrel::Object nameArgument = call.arg(0);
    if (nameArgument.type() != squirrel::Type::String || nameArgument.toString().empty()) {
        throw std::runtime_error(
            format("%s: the first argument must be the curtain's name (a string), not %s",
                   look.function, nameArgument.typeName()));
    }
    if (call.argCount() > 1 && !call.arg(1).isNumber()) {
        throw std::runtime_error(format("%s: the fade time must be a number of ms, not %s",
                                        look.function, call.arg(1).typeName()));
    }
    const std::string name = nameArgument.toString();
    if (getNodeByName(name) != nullptr) {
        throw std::runtime_error(
            format("%s: a node named '%s' exists already", look.function, name.c_str()));
    }
    CNodeBasement* curtain = createSprite(resolveDataPath(look.source), look.width, look.height,
                                          irr::core::vector3df(0, 0, kCurtainDepth),
                                          getEngine().rootNode(), nullptr, look.function);
    if (curtain == nullptr) {
        throw std::runtime_error(
            format("%s: no curtain made from '%s'", look.function, look.source));
    }
    setNodeName(curtain, name);
    attachAnimator(curtain, new CAlphaFadeAnimator(call.intArg(1), 0.0f, 1.0f));
    attachAnimatorDormant(curtain, new CModalDialogMarker());
}

} // namespace

squirrel::Object game_GetCurrentLevelName(squirrel::CallContext& call) {
    auto* statistics =
        dynamic_cast<CGameStatistics*>(getEngine().getActiveProfile()->getExtension());
    return call.vm().string(statistics != nullptr ? statistics->getCurrentLevel() : std::string());
}

squirrel::Object game_GetCurrentLevelPath(squirrel::CallContext& call) {
    CGameDialogFactory* level = currentLevel();
    return call.vm().string(level != nullptr ? level->levelFolder : std::string());
}

squirrel::Object game_GetNextLevelName(squirrel::CallContext& call) {
    CGameDialogFactory* level = currentLevel();
    return call.vm().string(level != nullptr ? level->nextLevel : std::string());
}

squirrel::Object game_createFader_BlackCurtain(squirrel::CallContext& call) {
    createCurtain(call, kBlackCurtain);
    return squirrel::Object();
}

squirrel::Object game_createFader_WhiteCurtain(squirrel::CallContext& call) {
    createCurtain(call, kWhiteCurtain);
    return squirrel::Object();
}

squirrel::Object game_IsLevelInPlay(squirrel::CallContext&) {
    return squirrel::Object(isLevelInPlay());
}

squirrel::Object game_AddHoleMark(squirrel::CallContext& call) {
    CGameDialogFactory* level = currentLevel();
    if (level == nullptr) {
        return squirrel::Object(false);
    }
    return squirrel::Object(queueHoleShot(level->shots, level->energy,
                                          getFocusChain().getLastClickPosition(), call.intArg(0)));
}

squirrel::Object game_SetLevelState(squirrel::CallContext& call) {
    if (CGameDialogFactory* level = currentLevel()) {
        level->state = call.intArg(0);
    }
    return squirrel::Object();
}

squirrel::Object game_GetLevelState(squirrel::CallContext&) {
    CGameDialogFactory* level = currentLevel();
    return squirrel::Object(level != nullptr ? level->state : 0);
}

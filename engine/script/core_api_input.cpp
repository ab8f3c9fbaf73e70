#include "core_api_input.h"

#include "core/vellumengine.h"
#include "input/any_input.h"
#include "input/click_behaviour.h"
#include "input/focus_chain.h"
#include "platform/key_state.h"
#include "scene/node_base.h"
#include "scene/node_utilities.h"
#include "script/core_arguments.h"
#include "script/node_table.h"
#include "script/screen_points.h"

#include <cmath>

namespace {

// {"_x", "_y"} of the screen point in the node's plane; null without a node or a camera.
squirrel::Object planePointTable(squirrel::VM& vm, irr::scene::ISceneNode* node,
                                 const irr::core::position2di& screenPoint, bool relative) {
    PlanePoint point;
    if (node == nullptr || !screenPointInPlane(node->getAbsolutePosition(), screenPoint, point)) {
        return squirrel::Object();
    }
    const irr::core::vector3df& offset = relative ? point.fromNode : point.fromCamera;
    squirrel::Object table = vm.newTable();
    table.set("_x", squirrel::Object(offset.X));
    table.set("_y", squirrel::Object(offset.Y));
    return table;
}

irr::scene::ISceneNode* rootNode() {
    return getEngine().rootNode();
}

} // namespace

squirrel::Object core_ClearAnyInputOcured(squirrel::CallContext&) {
    clearAnyInput();
    return squirrel::Object();
}

squirrel::Object core_SetAnyInputOcured(squirrel::CallContext&) {
    setAnyInput();
    return squirrel::Object();
}

squirrel::Object core_AnyInputOcured(squirrel::CallContext&) {
    return squirrel::Object(consumeAnyInput(0));
}

squirrel::Object core_IsAnyKeySince(squirrel::CallContext& call) {
    return squirrel::Object(consumeAnyInput(static_cast<uint32_t>(call.intArg(0))));
}

squirrel::Object core_KeyPressed(squirrel::CallContext& call) {
    getEngine().getInput().checkWindowFocus();
    return squirrel::Object(readKeyState(call.intArg(0)));
}

squirrel::Object core_GetLastClickPosition(squirrel::CallContext& call) {
    std::string name = textArgument(call, 0);
    irr::scene::ISceneNode* node = name.empty() ? rootNode() : getNodeByName(name);
    irr::core::vector2df click = getFocusChain().getLastClickPosition();
    irr::core::position2di screenPoint(static_cast<int>(std::lround(click.X)),
                                       static_cast<int>(std::lround(click.Y)));
    return planePointTable(call.vm(), node, screenPoint, call.boolArg(1));
}

squirrel::Object core_GetCurrentCursorPosition(squirrel::CallContext& call) {
    squirrel::Object reference = call.arg(0);
    irr::scene::ISceneNode* node =
        reference.isNull() ? rootNode() : resolveNodeReference(reference);
    CInputModule& input = getEngine().getInput();
    return planePointTable(
        call.vm(), node, irr::core::position2di(input.cursorX(), input.cursorY()), call.boolArg(1));
}

squirrel::Object core_GetIsLeftButtonDown(squirrel::CallContext&) {
    return squirrel::Object(getEngine().getInput().isLeftDown());
}

squirrel::Object core_SetNodeAction(squirrel::CallContext& call) {
    CNodeBasement* node = resolveNodeReference(call.arg(0));
    if (node == nullptr) {
        return squirrel::Object(false);
    }
    std::string action = textArgument(call, 1);
    auto* click = dynamic_cast<CClickBehaviour*>(node->findAnimator(CClickBehaviour::kName, false));
    if (click != nullptr) {
        click->setClickAction(action);
    } else {
        attachAnimator(node, new CClickBehaviour(std::string(), action, std::string(), false));
    }
    return squirrel::Object(true);
}

#include "core_api_ask.h"

#include "core/vellumengine.h"
#include "platform/locks.h"
#include "scene/picture_area.h"
#include "script/core_arguments.h"
#include "utils/popup_menu.h"
#include "utils/text_prompt.h"

#include <algorithm>

namespace {

// The engine's window, with the scene drawn as it stands beneath the menu or prompt: the script
// that asks waits inside a frame, so nothing may animate meanwhile.
ModalOwner engineOwner() {
    ModalOwner owner;
    owner.device = getEngine().getDevice();
    owner.drawFrame = [] {
        CVellumEngine& engine = getEngine();
        ScopedLock guard(engine.getSceneLock());
        PictureViewport viewport(engine.getDriver());
        engine.getRenderer().redrawWithoutAnimating();
    };
    return owner;
}

} // namespace

std::vector<std::string> choiceItems(const squirrel::Object& list) {
    std::vector<std::string> items;
    if (list.type() != squirrel::Type::Array) {
        return items;
    }
    const int count = std::min(list.size(), kMaxChoiceItems);
    for (int i = 0; i < count; ++i) {
        const squirrel::Object element = list.get(i);
        if (element.type() != squirrel::Type::String || element.size() == 0) {
            break;
        }
        items.push_back(element.toString());
    }
    return items;
}

squirrel::Object core_AskChoice(squirrel::CallContext& call) {
    const squirrel::Object list = call.argCount() >= 1 ? call.arg(0) : squirrel::Object();
    return squirrel::Object(showPopupMenu(choiceItems(list), engineOwner(), 0));
}

squirrel::Object core_AskString(squirrel::CallContext& call) {
    return call.vm().string(showTextPrompt(engineOwner(), textArgument(call, 1)));
}

#include "core_api_text_nodes.h"

#include "core/vellumengine.h"
#include "scene/node_text.h"
#include "scene/text_warnings.h"
#include "scene/text_wrap.h"
#include "script/core_arguments.h"
#include "script/node_table.h"

namespace {

const int kDefaultWarningMs = 3000;

CTextNode* textNodeArgument(const squirrel::CallContext& call, int index) {
    const squirrel::Object reference = call.arg(index);
    if (CTextNode* text = textNodeOf(resolveNodeReference(reference))) {
        return text;
    }
    return reference.type() == squirrel::Type::String ? findTextNode(reference.toString())
                                                      : nullptr;
}

bool warningsSwitchedOff() {
    static const bool off = getEngine().getConfig().getGameIniValue("nowarnings") == "yes";
    return off;
}

} // namespace

squirrel::Object core_SetNodeText(squirrel::CallContext& call) {
    CTextNode* text = textNodeArgument(call, 0);
    if (text == nullptr) {
        return squirrel::Object(false);
    }
    text->setText(textArgument(call, 1));
    return squirrel::Object(true);
}

squirrel::Object core_GetNodeText(squirrel::CallContext& call) {
    CTextNode* text = textNodeArgument(call, 0);
    if (text == nullptr) {
        return squirrel::Object(false);
    }
    return call.vm().string(text->getText());
}

squirrel::Object core_JustifyText(squirrel::CallContext& call) {
    return call.vm().string(wrapText(textArgument(call, 0), call.floatArg(1)));
}

squirrel::Object core_Warning(squirrel::CallContext& call) {
    if (warningsSwitchedOff()) {
        return squirrel::Object();
    }
    const int lifetime = call.argCount() > 1 ? call.intArg(1) : kDefaultWarningMs;
    showWarning(textArgument(call, 0), lifetime);
    return squirrel::Object();
}

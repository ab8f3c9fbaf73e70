#include "sprite_macros.h"

#include "sprite_creation_params.h"
#include "utils/debug.h"
#include "utils/utils_str.h"

#include <algorithm>

namespace {

void expandParameters(std::string& text, const std::vector<std::string>& macroParams) {
    for (const std::string& param : macroParams) {
        size_t equals = param.find('=');
        if (equals == std::string::npos || std::count(param.begin(), param.end(), '=') != 1) {
            std::string message = format("Wrong params in spr creation! %s", param.c_str());
            logDebug(message, __FILE__, __LINE__);
            reportError(message, false);
            return;
        }
        text = replaceAll(text, "${" + param.substr(0, equals) + "}", param.substr(equals + 1));
    }
}

} // namespace

void expandSpriteMacros(std::string& text, const std::vector<std::string>* macroParams,
                        const SpriteCreationParams*) {
    if (text.find('$') == std::string::npos) {
        return;
    }
    if (macroParams != nullptr) {
        expandParameters(text, *macroParams);
    }
}

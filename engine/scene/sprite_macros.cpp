#include "sprite_macros.h"

#include "core/game_client.h"
#include "core/vellumengine.h"
#include "sprite_creation_params.h"
#include "utils/debug.h"
#include "utils/math_fastmath.h"
#include "utils/number_text.h"
#include "utils/utils_fs.h"
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

// The value of one rnd argument: "a,b" integers give a..b, with a "." two floats give a value
// between them written with "%05f".
std::string randomValue(const std::string& argument) {
    size_t comma = argument.find(',');
    std::string first = argument.substr(0, comma);
    std::string second = comma == std::string::npos ? first : argument.substr(comma + 1);
    if (argument.find('.') == std::string::npos) {
        int low = parseInt(trim(first));
        int high = parseInt(trim(second));
        return intToText(randomInt(low, high + 1));
    }
    return format("%05f", randomFloat(parseFloat(trim(first)), parseFloat(trim(second))));
}

// Replaces each "${rnd(...)}" with its own random value. A macro without its closing ")}" ends
// the expansion and stays as it is.
void expandRandomMacros(std::string& text) {
    static const std::string opening = "${rnd(";
    static const std::string closing = ")}";
    size_t start = 0;
    while ((start = text.find(opening, start)) != std::string::npos) {
        size_t end = text.find(closing, start + opening.size());
        if (end == std::string::npos) {
            return;
        }
        std::string argument = text.substr(start + opening.size(), end - start - opening.size());
        std::string value = randomValue(argument);
        text.replace(start, end + closing.size() - start, value);
        start += value.size();
    }
}

} // namespace

void expandSpriteMacros(std::string& text, const std::vector<std::string>* macroParams,
                        const SpriteCreationParams* creationParams) {
    if (text.find('$') == std::string::npos) {
        return;
    }
    if (macroParams != nullptr) {
        expandParameters(text, *macroParams);
    }
    CVellumEngine& engine = getEngine();
    if (text.find('$') != std::string::npos && engine.hasClient()) {
        engine.getClient()->expandMacros(text, macroParams, creationParams);
    }
    expandRandomMacros(text);
    if (text.find("${virtualNode}") != std::string::npos) {
        text = replaceAll(text, "${virtualNode}",
                          format("%s\n-Invisible:1\n", resolveDataPath("gui\\empty.png").c_str()));
    }
    if (text.find("${Screen_") != std::string::npos) {
        CUserProfile* profile = engine.getActiveProfile();
        text = replaceAll(text, "${Screen_X}", intToText(profile->getXResolution()));
        text = replaceAll(text, "${Screen_Y}", intToText(profile->getYResolution()));
    }
    text = replaceAll(text, "${auto}", "-1");
    text = replaceAll(text, "${all}", "-1");
    text = replaceAll(text, "${VK_RETURN}", "13");
    text = replaceAll(text, "${VK_SPACE}", "32");
}

#include "core_api_text.h"

#include "scene/description_values.h"
#include "script/core_arguments.h"
#include "utils/key_value.h"
#include "utils/utils_lang.h"
#include "utils/utils_str.h"

#include <string>

squirrel::Object core_GetTranslation(squirrel::CallContext& call) {
    std::string key = textArgument(call, 0);
    std::string file = textArgument(call, 1);
    return call.vm().string(file.empty() ? localize(key) : localizeIn(key, nullptr, file));
}

squirrel::Object core_GetStrSlice(squirrel::CallContext& call) {
    int position = 0;
    std::string slice =
        getBetween(textArgument(call, 0), textArgument(call, 1), textArgument(call, 2), position);
    return slice.empty() ? squirrel::Object() : call.vm().string(slice);
}

squirrel::Object core_Escape(squirrel::CallContext& call) {
    return call.vm().string(urlEscape(call.stringArg(0)));
}

squirrel::Object core_Unescape(squirrel::CallContext& call) {
    return call.vm().string(urlUnescape(call.stringArg(0)));
}

squirrel::Object core_StrMask(squirrel::CallContext& call) {
    return squirrel::Object(wildcardMatch(textArgument(call, 0), textArgument(call, 1)));
}

squirrel::Object core_StrReplace(squirrel::CallContext& call) {
    return call.vm().string(
        replaceAll(textArgument(call, 0), textArgument(call, 1), textArgument(call, 2)));
}

squirrel::Object core_GetSprIniParameter(squirrel::CallContext& call) {
    std::string value;
    getKeyValue("\n" + textArgument(call, 1) + "\n", "-" + textArgument(call, 0) + ":", value);
    return call.vm().string(value);
}

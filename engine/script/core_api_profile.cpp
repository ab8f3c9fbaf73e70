#include "core_api_profile.h"

#include "core/vellumengine.h"
#include "script/core_arguments.h"

#include <cstdint>
#include <string>

namespace {

// The option types as findOption reports them.
enum StoredOptionType { kNoOption = 0, kStringOption = 1, kLongOption = 2, kDoubleOption = 3 };

} // namespace

squirrel::Object core_IsNewProfileRequired(squirrel::CallContext&) {
    return squirrel::Object(getEngine().getConfig().firstRun);
}

squirrel::Object core_GetActiveProfileName(squirrel::CallContext& call) {
    return call.vm().string(getEngine().getConfig().ActiveProfile);
}

squirrel::Object core_checkTextUsingProfile(squirrel::CallContext& call) {
    bool seen =
        getEngine().getActiveProfile()->isTooltipShown(textArgument(call, 0), call.intArg(1) != 0);
    return squirrel::Object(seen ? 1 : 0);
}

squirrel::Object core_GetProfileOption(squirrel::CallContext& call) {
    std::string text;
    int32_t number = 0;
    float real = 0;
    switch (getEngine().getActiveProfile()->getOptions().findOption(textArgument(call, 0), text,
                                                                    number, real)) {
    case kStringOption:
        return call.vm().string(text);
    case kLongOption:
        return squirrel::Object(static_cast<int>(number));
    case kDoubleOption:
        return squirrel::Object(real);
    default:
        return squirrel::Object(false);
    }
}

squirrel::Object core_SetProfileOption(squirrel::CallContext& call) {
    std::string key = textArgument(call, 0);
    squirrel::Object value = call.arg(1);
    StoredOptionType kind;
    switch (value.type()) {
    case squirrel::Type::String:
        kind = kStringOption;
        break;
    case squirrel::Type::Integer:
        kind = kLongOption;
        break;
    case squirrel::Type::Float:
        kind = kDoubleOption;
        break;
    default:
        return squirrel::Object(false);
    }
    OptionSet& options = getEngine().getActiveProfile()->getOptions();
    // The options are looked up string first, then integer, then float: an option of the key
    // kept under another type would hide the new value.
    std::string text;
    int32_t number = 0;
    float real = 0;
    int stored = options.findOption(key, text, number, real);
    if (stored != kNoOption && stored != kind) {
        options.removeOption(key);
    }
    if (kind == kStringOption) {
        options.setStringOption(key, value.toString());
    } else if (kind == kLongOption) {
        options.setLongOption(key, value.toInt());
    } else {
        options.setDoubleOption(key, value.toFloat());
    }
    return squirrel::Object(true);
}

squirrel::Object core_SaveProfile(squirrel::CallContext&) {
    getEngine().getActiveProfile()->save();
    return squirrel::Object();
}

#include "core_api_serialization.h"

#include "core_arguments.h"
#include "script_serialization.h"

#include <string>

squirrel::Object core_SerializeObj(squirrel::CallContext& call) {
    std::string text;
    int counter = 0;
    serializeValue(call.arg(0), text, counter);
    return call.vm().string(text);
}

squirrel::Object core_DeserializeObj(squirrel::CallContext& call) {
    squirrel::Object value = call.vm().newTable();
    int counter = 0;
    deserializeValue(call.vm(), textArgument(call, 0), value, counter);
    return value;
}

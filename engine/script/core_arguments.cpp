#include "core_arguments.h"

std::string textArgument(const squirrel::CallContext& call, int index) {
    squirrel::Object value = call.arg(index);
    return value.isNull() ? std::string() : value.toString();
}

// Classes of the standard library whose methods are native functions and whose instances carry
// native data (blob, file, regexp).
#pragma once

#include "class.h"
#include "function.h"

#include <string_view>

namespace squirrel::detail {

class Machine;

// A class marked with type; instances of it and of its subclasses are recognised by the mark.
Value newNativeClass(State& state, const void* type);
void addNativeMethod(State& state, const Value& cls, std::string_view name, NativeFn fn,
                     std::int32_t paramCheck = 0, std::string_view typeMask = {});
// Stores the data of an instance (this of a native constructor).
void setNativeData(Machine& m, const Value& self, std::unique_ptr<NativeData> data);
// The native data of self when it is an instance of the class marked type, else raises.
NativeData& nativeData(Machine& m, const Value& self, const void* type);

template <class T>
T& nativeDataOf(Machine& m, const Value& self, const void* type) {
    return static_cast<T&>(nativeData(m, self, type));
}

} // namespace squirrel::detail

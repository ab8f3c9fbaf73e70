#include "native_class.h"

#include "machine.h"

namespace squirrel::detail {

Value newNativeClass(State& state, const void* type) {
    Value cls = newClass(state, Value(), Value());
    cls.as<Class>()->nativeType = type;
    return cls;
}

void addNativeMethod(State& state, const Value& cls, std::string_view name, NativeFn fn,
                     std::int32_t paramCheck, std::string_view typeMask) {
    Value method = state.newNative(fn, name, paramCheck, typeMask);
    addMember(state, cls.as<Class>(), state.string(name), method, Value(), false);
}

void setNativeData(Machine& m, const Value& self, std::unique_ptr<NativeData> data) {
    if (self.tag != Tag::Instance)
        m.raiseError("a constructor needs an instance");
    self.as<Instance>()->native = std::move(data);
}

NativeData& nativeData(Machine& m, const Value& self, const void* type) {
    if (self.tag == Tag::Instance) {
        Instance* instance = self.as<Instance>();
        if (instance->cls()->nativeType == type && instance->native)
            return *instance->native;
    }
    m.raiseError("invalid type tag");
}

} // namespace squirrel::detail

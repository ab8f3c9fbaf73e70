#include "value.h"

#include "string_table.h"

namespace squirrel::detail {

std::uint32_t typeCode(Tag tag) {
    switch (tag) {
    case Tag::Null:
        return 0x01000001;
    case Tag::Integer:
        return 0x05000002;
    case Tag::Float:
        return 0x05000004;
    case Tag::Bool:
        return 0x01000008;
    case Tag::String:
        return 0x08000010;
    case Tag::Table:
        return 0x0A000020;
    case Tag::Array:
        return 0x08000040;
    case Tag::UserData:
        return 0x0A000080;
    case Tag::Closure:
        return 0x08000100;
    case Tag::NativeClosure:
        return 0x08000200;
    case Tag::Generator:
        return 0x08000400;
    case Tag::UserPointer:
        return 0x00000800;
    case Tag::Thread:
        return 0x08001000;
    case Tag::FunctionProto:
        return 0x08002000;
    case Tag::Class:
        return 0x08004000;
    case Tag::Instance:
        return 0x0A008000;
    case Tag::WeakRef:
        return 0x08010000;
    }
    return 0;
}

const char* typeName(Tag tag) {
    switch (tag) {
    case Tag::Null:
        return "null";
    case Tag::Integer:
        return "integer";
    case Tag::Float:
        return "float";
    case Tag::Bool:
        return "bool";
    case Tag::String:
        return "string";
    case Tag::Table:
        return "table";
    case Tag::Array:
        return "array";
    case Tag::UserData:
        return "userdata";
    case Tag::Closure:
    case Tag::NativeClosure:
        return "function";
    case Tag::Generator:
        return "generator";
    case Tag::UserPointer:
        return "userpointer";
    case Tag::Thread:
        return "thread";
    case Tag::FunctionProto:
        return "funcproto";
    case Tag::Class:
        return "class";
    case Tag::Instance:
        return "instance";
    case Tag::WeakRef:
        return "weakref";
    }
    return "unknown";
}

static std::uint32_t mix(std::uint64_t bits) {
    bits *= 0x9E3779B97F4A7C15ull;
    return static_cast<std::uint32_t>(bits >> 32);
}

std::uint32_t hashValue(const Value& key) {
    // Numbers and bools hash to their integer value, so that tables of them have a stable
    // layout; other objects hash by identity.
    switch (key.tag) {
    case Tag::String:
        return key.str()->keyHash();
    case Tag::Integer:
        return static_cast<std::uint32_t>(key.i);
    case Tag::Float:
        // Truncated; values out of the integer range (and NaN) share one hash.
        return static_cast<std::uint32_t>(Value::truncate(key.f));
    case Tag::Bool:
        return key.b ? 1u : 0u;
    default:
        return mix(key.raw ^ (static_cast<std::uint64_t>(key.tag) << 56));
    }
}

} // namespace squirrel::detail

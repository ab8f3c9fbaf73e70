// The text form of script values, as saved games and profiles hold it. What is read is written,
// and what is written must read back as the same value: tables are compared slot by slot in any
// order, since slots keyed by tables or arrays come back in another order. A value that changes
// is a fault, and aborts.
#include "fuzz/fuzz_host.h"
#include "script/script_serialization.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

squirrel::Object read(squirrel::VM& vm, const std::string& text) {
    // As core_DeserializeObj: a text without a value gives an empty table.
    squirrel::Object value = vm.newTable();
    int counter = 0;
    deserializeValue(vm, text, value, counter);
    return value;
}

std::string write(const squirrel::Object& value) {
    std::string text;
    int counter = 0;
    serializeValue(value, text, counter);
    return text;
}

// The value as text that does not depend on the order of table slots.
std::string canonical(const squirrel::Object& value) {
    switch (value.type()) {
    case squirrel::Type::Table:
    case squirrel::Type::Array: {
        std::vector<std::string> slots;
        for (const auto& [key, item] : value) {
            slots.push_back(canonical(key) + "=" + canonical(item));
        }
        if (value.type() == squirrel::Type::Table) {
            std::sort(slots.begin(), slots.end());
        }
        std::string text = value.type() == squirrel::Type::Table ? "{" : "[";
        for (const std::string& slot : slots) {
            text += slot + ",";
        }
        return text + (value.type() == squirrel::Type::Table ? "}" : "]");
    }
    case squirrel::Type::String:
        return "s" + std::to_string(value.size()) + ":" + value.toString();
    case squirrel::Type::Float: {
        char text[32];
        std::snprintf(text, sizeof text, "f%.9g", static_cast<double>(value.toFloat()));
        return text;
    }
    default:
        return std::string(value.typeName()) + ":" + value.toString();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::program();
    static squirrel::VM vm(1u << 12);
    try {
        const std::string written =
            write(read(vm, std::string(reinterpret_cast<const char*>(data), size)));
        const squirrel::Object first = read(vm, written);
        const std::string rewritten = write(first);
        const squirrel::Object second = read(vm, rewritten);
        if (canonical(second) != canonical(first)) {
            std::fprintf(stderr,
                         "value changed on reading back:\n--- written\n%s\n--- rewritten\n%s\n",
                         written.c_str(), rewritten.c_str());
            std::abort();
        }
    } catch (const fuzz::InputRefused&) {
    }
    vm.collectGarbage();
    return 0;
}

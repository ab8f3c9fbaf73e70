// Script text as an author writes it, compiled but never run. A compile error is the compiler
// refusing the text; anything else that goes wrong is a fault.
#include "squirrel/squirrel.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static squirrel::VM vm(1u << 14);
    try {
        vm.compile(std::string_view(reinterpret_cast<const char*>(data), size), "fuzz.nut");
    } catch (const squirrel::SquirrelError&) {
    }
    return 0;
}

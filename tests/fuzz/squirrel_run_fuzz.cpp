// Script text as an author writes it, compiled and run on a machine of its own without the
// functions that reach files, the environment or other processes, under an operation budget so
// that every script ends. A script error (running out of the budget included) is the machine
// refusing the script; anything else that goes wrong is a fault.
#include "fuzz/fuzz_host.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    squirrel::VM vm(1u << 12);
    fuzz::removeHostAccess(vm);
    vm.setOperationBudget(fuzz::kScriptOperationBudget);
    try {
        vm.run(std::string_view(reinterpret_cast<const char*>(data), size), "fuzz.nut");
    } catch (const squirrel::SquirrelError&) {
    }
    vm.collectGarbage();
    return 0;
}

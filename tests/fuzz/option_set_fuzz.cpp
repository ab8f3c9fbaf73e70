// Option records as a profile or settings file holds them. Whatever is read must be written so
// that reading it back gives the same records: a second write that differs from the first is a
// fault, and aborts.
#include "fuzz/fuzz_host.h"
#include "utils/option_set.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::program();
    try {
        OptionSet first;
        first.parseOptions(std::string(reinterpret_cast<const char*>(data), size));
        const std::string written = first.serializeOptions();
        OptionSet second;
        second.parseOptions(written);
        const std::string rewritten = second.serializeOptions();
        if (rewritten != written) {
            std::fprintf(stderr,
                         "options changed on reading back:\n--- written\n%s\n--- rewritten\n%s\n",
                         written.c_str(), rewritten.c_str());
            std::abort();
        }
    } catch (const fuzz::InputRefused&) {
    }
    return 0;
}

// A level's wave file: its actor lines (turned into the description that creates them) and its
// point blocks.
#include "fuzz/fuzz_host.h"
#include "wave_file.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::program();
    const std::string text(reinterpret_cast<const char*>(data), size);
    try {
        buildActorDescription(readWaveActors(text));
        readWavePoints(text);
        readWaveFileList(text, "levels\\fuzz\\");
    } catch (const fuzz::InputRefused&) {
    }
    return 0;
}

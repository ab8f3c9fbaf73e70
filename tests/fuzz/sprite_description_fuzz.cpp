// A sprite description as a ".spr" file holds it. When the input starts with "?", its first line
// holds "&"-separated macro parameters, as a description's name may carry them.
#include "fuzz/fuzz_host.h"
#include "scene/sprite_description.h"
#include "utils/utils_str.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::program();
    std::string text(reinterpret_cast<const char*>(data), size);
    std::vector<std::string> macroParams;
    if (startsWith(text, "?")) {
        size_t lineEnd = text.find('\n');
        macroParams = splitList(
            text.substr(1, lineEnd == std::string::npos ? lineEnd : lineEnd - 1), '&', false);
        text = lineEnd == std::string::npos ? std::string() : text.substr(lineEnd + 1);
    }
    SpriteDescription* description = new SpriteDescription();
    try {
        description->reset("sprites\\fuzz.spr");
        description->parseDescription("\n" + text + "\n", &macroParams, nullptr);
    } catch (const fuzz::InputRefused&) {
    }
    description->drop();
    return 0;
}

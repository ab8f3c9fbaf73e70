// A localization string table read through the engine's string lookup: the keys its first lines
// name (matched without regard to case), a key it lacks (whose default is then appended to the
// file for translators) and a literal text.
#include "fuzz/fuzz_host.h"
#include "utils/utils_lang.h"
#include "utils/utils_str.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace {

// Keys looked up per input: each missing one rewrites the file, so a few are enough.
constexpr size_t kLookedUpKeys = 16;

// The text before "=" on each of the first lines that have one.
std::vector<std::string> namedKeys(const std::string& text) {
    std::vector<std::string> keys;
    for (const std::string& line : splitList(text, '\n', false)) {
        const size_t equals = line.find('=');
        if (equals != std::string::npos) {
            keys.push_back(line.substr(0, equals));
        }
        if (keys.size() == kLookedUpKeys) {
            break;
        }
    }
    return keys;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::program();
    const std::string path = fuzz::writeDataFile("strings_fuzz.lng", data, size);
    clearLocalizationCaches();
    try {
        for (const std::string& key :
             namedKeys(std::string(reinterpret_cast<const char*>(data), size))) {
            localizeIn(key, nullptr, path);
            localizeIn(toLower(key), "default", path);
        }
        localizeIn("FUZZ.MISSING.KEY", "missing<br>text", path);
        localizeIn("#literal text", nullptr, path);
    } catch (const fuzz::InputRefused&) {
    }
    return 0;
}

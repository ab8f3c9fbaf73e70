// A player's profile file read through the profile's loader, with the game's own values in it.
// What is read must be saved so that reading it back gives the same profile: a second save that
// differs from the first is a fault, and aborts.
#include "core/module_userprofile.h"
#include "core/vellumengine.h"
#include "fuzz/fuzz_host.h"
#include "platform/files.h"
#include "platform/native_path.h"
#include "userstats.h"
#include "utils/utils_lang.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

namespace {

CUserProfile* newProfile() {
    return new CUserProfile("Fuzz Player", getEngine().getConfig(), new CGameStatistics());
}

// The file a save writes after the profile was read from the file as it is now.
std::string loadAndSave() {
    CUserProfile* profile = newProfile();
    std::string saved;
    try {
        profile->load();
        profile->markChanged();
        profile->save();
        readWholeFile(profile->profilePath(), saved);
    } catch (const fuzz::InputRefused&) {
    }
    profile->drop();
    return saved;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::program();
    static const std::string path = [] {
        CUserProfile* profile = newProfile();
        std::string made = profile->profilePath();
        profile->drop();
        return made;
    }();
    std::ofstream(toNativePath(path), std::ios::binary)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    const std::string saved = loadAndSave();
    const std::string savedAgain = loadAndSave();
    setLanguage("data_en");
    if (savedAgain != saved) {
        std::fprintf(stderr,
                     "profile changed on reading back:\n--- saved\n%s\n--- saved again\n%s\n",
                     saved.c_str(), savedAgain.c_str());
        std::abort();
    }
    return 0;
}

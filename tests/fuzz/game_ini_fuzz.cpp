// A game.ini read as the program reads it at start: the engine's configuration loads it (with the
// options file and high scores), the player it names becomes the active profile with its defaults
// from it, and at the end the configuration is saved and the profile let go. The user folder is
// emptied first and the configuration, language and unattended mark are put back afterwards, so
// no input sees what an earlier one read or saved.
#include "core/vellumengine.h"
#include "fuzz/fuzz_host.h"
#include "platform/message_box.h"
#include "support/test_program.h"
#include "utils/utils_fs.h"
#include "utils/utils_lang.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

void emptyUserFolder(const TestProgram& owner) {
    for (const auto& entry :
         std::filesystem::directory_iterator(owner.folder().native() + "Profile")) {
        std::filesystem::remove_all(entry.path());
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const TestProgram& owner = fuzz::program();
    emptyUserFolder(owner);
    std::ofstream(owner.folder().native() + "game.ini", std::ios::binary)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    CVellumEngine& engine = getEngine();
    const bool unattended = isUnattendedRun();
    try {
        engine.getConfig() = EngineConfig();
        engine.getConfig().load();
        engine.setActiveProfile(engine.getConfig().ActiveProfile);
        engine.getConfig().save();
    } catch (const fuzz::InputRefused&) {
    }
    try {
        engine.setActiveProfile("");
    } catch (const fuzz::InputRefused&) {
    }
    engine.getConfig() = EngineConfig();
    setAppDataFolderName("");
    setUnattendedRun(unattended);
    setLanguage("data_en");
    return 0;
}

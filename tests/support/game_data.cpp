#include "support/game_data.h"

#include <filesystem>
#include <string>

void copyGameData(const TestProgram& program) {
    const std::string source = __FILE__;
    const std::string repository = source.substr(0, source.rfind("tests/support/"));
    for (const char* folder : {"data", "data_en", "data_de"}) {
        std::filesystem::copy(repository + folder, program.folder().native() + folder,
                              std::filesystem::copy_options::recursive |
                                  std::filesystem::copy_options::overwrite_existing);
    }
}

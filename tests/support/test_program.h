#pragma once

#include "support/temporary_folder.h"

#include <string>

// A program folder of its own for one test: game.ini, the common and English data folders (with
// the engine's own images gui\empty.png and gui\black.png) and a "Profile" folder (so user data
// stays inside), with the engine pointed at it.
class TestProgram {
public:
    // `gameIni` is the whole text of game.ini.
    explicit TestProgram(const std::string& gameIni = defaultGameIni());
    // Releases the engine's active profile while its folder still exists.
    ~TestProgram();
    TestProgram(const TestProgram&) = delete;
    TestProgram& operator=(const TestProgram&) = delete;

    const TemporaryFolder& folder() const { return root; }
    // Writes a data file below "data/" (native relative path).
    void writeData(const std::string& relativePath, const std::string& content) const;
    // Copies an image of tests/data/images/ to a data file below "data/".
    void copyTestImage(const std::string& imageName, const std::string& relativePath) const;
    // Copies the game's main font (and with `withAlternative` its alternative font) from the
    // repository's data folder to the program's "data/gui/".
    void copyGameFonts(bool withAlternative) const;

    // A windowed 800 by 600 game in English with user data beside the program.
    static std::string defaultGameIni();

private:
    TemporaryFolder root;
};

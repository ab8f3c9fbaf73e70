#include "support/test_program.h"

#include "core/vellumengine.h"
#include "utils/debug.h"
#include "utils/utils_fs.h"

TestProgram::TestProgram(const std::string& gameIni) {
    root.write("game.ini", gameIni);
    root.write("data_en/strings.lng", "GAME.TITLE=Vellum test\nGAME.PAUSED=Paused\n");
    root.write("data/.keep", "");
    root.write("Profile/.keep", "");
    setProgramFolder(root.engine());
    setDebugLogFolder(root.engine());
}

TestProgram::~TestProgram() {
    getEngine().setActiveProfile("");
}

void TestProgram::writeData(const std::string& relativePath, const std::string& content) const {
    root.write("data/" + relativePath, content);
}

std::string TestProgram::defaultGameIni() {
    return "Version=test\nAppDataFolder=VellumTest\nDebug=0\nLogLevel=0\nRenderer=1\n"
           "BitsPerPixel=32\nSoundDevice=0\nFullscreen=0\nWinCursor=0\nEffectsVolume=0.5\n"
           "MusicVolume=0.5\nXResolution=640\nYResolution=480\nLanguage=data_en\n";
}

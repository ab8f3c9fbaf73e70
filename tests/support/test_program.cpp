#include "support/test_program.h"

#include "core/vellumengine.h"
#include "support/pixel_test_device.h"
#include "utils/debug.h"
#include "utils/utils_fs.h"

#include <fstream>
#include <iterator>
#include <vector>

namespace {

std::string fileBytes(const std::string& nativePath) {
    std::ifstream in(nativePath, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// A file of the repository's data folder "data/gui/".
std::string repositoryGuiFile(const std::string& name) {
    const std::string source = __FILE__;
    return fileBytes(source.substr(0, source.rfind("tests/support/")) + "data/gui/" + name);
}

} // namespace

TestProgram::TestProgram(const std::string& gameIni) {
    root.write("game.ini", gameIni);
    root.write("data/gui/empty.png", repositoryGuiFile("empty.png"));
    root.write("data/gui/black.png", repositoryGuiFile("black.png"));
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

void TestProgram::copyTestImage(const std::string& imageName,
                                const std::string& relativePath) const {
    writeData(relativePath, fileBytes(testImagePath(imageName)));
}

void TestProgram::copyGameFonts(bool withAlternative) const {
    std::vector<std::string> names = {"font-main.xml", "font-main.png"};
    if (withAlternative) {
        names.insert(names.end(), {"font-alt.xml", "font-alt.png"});
    }
    for (const std::string& name : names) {
        writeData("gui/" + name, repositoryGuiFile(name));
    }
}

std::string TestProgram::defaultGameIni() {
    return "Version=test\nAppDataFolder=VellumTest\nDebug=0\nLogLevel=0\nRenderer=1\n"
           "BitsPerPixel=32\nSoundDevice=0\nFullscreen=0\nWinCursor=0\nEffectsVolume=0.5\n"
           "MusicVolume=0.5\nXResolution=640\nYResolution=480\nLanguage=data_en\n";
}

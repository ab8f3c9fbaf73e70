#include "fuzz/fuzz_host.h"

#include "core/vellumengine.h"
#include "platform/message_box.h"
#include "platform/process.h"
#include "scene/node_factory.h"
#include "scene/node_text.h"
#include "scene/rendering_font.h"
#include "scene/texture_cache.h"
#include "support/engine_scene.h"
#include "support/test_game.h"
#include "support/test_program.h"
#include "text_effects.h"
#include "utils/debug.h"
#include "utils/utils_fs.h"
#include "utils/utils_lang.h"
#include "utils/utils_str.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace fuzz {

namespace {

// The game as the text and dialog targets need it: the repository's main font for every face
// and the game's own text effects.
class FuzzGame : public TestGame {
public:
    ~FuzzGame() override {
        if (font != nullptr) {
            font->drop();
        }
    }
    TextEffect* createTextEffect(const std::string& name) override {
        return createGameTextEffect(name);
    }
};

// Copies a folder of the repository's data folder to the program's data folder.
void copyRepositoryData(const std::string& folderName, const TestProgram& target) {
    const std::string source = __FILE__;
    std::filesystem::copy(source.substr(0, source.rfind("tests/fuzz/")) + "data/" + folderName,
                          target.folder().native() + "data/" + folderName,
                          std::filesystem::copy_options::recursive |
                              std::filesystem::copy_options::overwrite_existing);
}

// Whether the relative path names a file inside the folder it is written below.
bool staysInside(const std::string& relative) {
    const std::filesystem::path path(relative);
    if (relative.empty() || relative.find('\0') != std::string::npos || path.is_absolute() ||
        !path.has_filename()) {
        return false;
    }
    for (const std::filesystem::path& part : path) {
        if (part == "..") {
            return false;
        }
    }
    return true;
}

} // namespace

void answerBoxes() {
    // With VELLUM_FUZZ_BOXES set, every box text goes to standard error (to see why inputs stop).
    static const bool echo = std::getenv("VELLUM_FUZZ_BOXES") != nullptr;
    setMessageBoxHook([](const std::string& text, const std::string&, int kind) {
        if (echo) {
            std::fprintf(stderr, "box: %s\n", text.c_str());
        }
        return static_cast<int>((kind & kBoxButtonMask) == kBoxYesNo ? kAnswerYes : kAnswerOk);
    });
}

void copyGameData(const std::string& folderName) {
    copyRepositoryData(folderName, program());
}

TestProgram& program() {
    static TestProgram* made = [] {
        TestProgram* made = new TestProgram();
        copyRepositoryData("gui", *made);
        setLanguage("data_en");
        answerBoxes();
        // The folder goes at exit; the engine's own objects may still use the program then, so
        // the rest is left to the process's end.
        static std::string folder = made->folder().native();
        std::atexit([] {
            std::error_code ignored;
            std::filesystem::remove_all(folder, ignored);
        });
        return made;
    }();
    // Boxes and many engine messages are logged without a source place, which keeps them in the
    // log's memory until the process ends: a million inputs would fill it. Each input starts
    // with the log empty.
    setDebugLogFolder(made->folder().engine());
    return *made;
}

irr::IrrlichtDevice* scene() {
    program();
    static irr::IrrlichtDevice* device = [] {
        irr::IrrlichtDevice* made =
            irr::createDevice(irr::video::EDT_NULL, irr::core::dimension2du(800, 600));
        made->getTimer()->stop();
        made->getTimer()->setTime(1000);
        static EngineScene* engineScene = new EngineScene(made);
        CVellumEngine& engine = getEngine();
        engine.rootNode() = engineScene->root();
        engine.setMainThreadId(currentThreadId());
        removeHostAccess(engine.getScripting().vm());
        engine.getScripting().vm().setOperationBudget(kScriptOperationBudget);
        FuzzGame* game = new FuzzGame();
        game->font = createFont(resolveDataPath("gui\\font-main.xml"), 1.0f);
        engine.setClient(game);
        game->drop();
        setTextSoundPlayer([](const std::string&) {});
        return made;
    }();
    return device;
}

void clearScene() {
    CVellumEngine& engine = getEngine();
    engine.getRenderer().releaseLists();
    engine.rootNode()->removeAll();
    engine.getRenderer().drainDeletionQueue();
    engine.getScripting().clearCompiledScripts();
    clearDescriptionCache();
    limitTextures();
}

void limitTextures() {
    // Beyond this many the textures of earlier inputs are let go.
    const irr::u32 kKeptTextures = 64;
    irr::video::IVideoDriver* driver = scene()->getVideoDriver();
    if (driver->getTextureCount() > kKeptTextures) {
        forgetTextureCache();
        driver->removeAllTextures();
    }
}

std::string writeDataFile(const std::string& dataName, const std::uint8_t* data, std::size_t size) {
    const TestProgram& owner = program();
    std::string relative = dataName;
    for (char& c : relative) {
        if (c == '\\') {
            c = '/';
        }
    }
    std::ofstream(owner.folder().native() + "data/" + relative, std::ios::binary)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    clearTextCache();
    return resolveDataPath(dataName);
}

std::vector<InputFile> splitInputFiles(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::string marker = "@@ ";
    std::vector<InputFile> files;
    size_t lineStart = 0;
    while (lineStart < text.size()) {
        const size_t lineEnd = std::min(text.find('\n', lineStart), text.size());
        const size_t next = std::min(lineEnd + 1, text.size());
        if (text.compare(lineStart, marker.size(), marker) == 0) {
            std::string path =
                text.substr(lineStart + marker.size(), lineEnd - lineStart - marker.size());
            if (!path.empty() && path.back() == '\r') {
                path.pop_back();
            }
            files.push_back({path, std::string()});
        } else if (!files.empty()) {
            files.back().bytes.append(text, lineStart, next - lineStart);
        }
        lineStart = next;
    }
    return files;
}

std::string writeDataFolder(const std::string& folderName, const std::uint8_t* data,
                            std::size_t size) {
    const TestProgram& owner = program();
    const std::filesystem::path folder = owner.folder().native() + "data/" + folderName;
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    std::vector<InputFile> files = splitInputFiles(data, size);
    if (files.size() > kMaxInputFiles) {
        files.resize(kMaxInputFiles);
    }
    for (InputFile& file : files) {
        std::replace(file.path.begin(), file.path.end(), '\\', '/');
        if (!staysInside(file.path)) {
            continue;
        }
        const std::filesystem::path target = folder / file.path;
        // A folder the input's paths cannot have (a file of the same name) leaves the file out.
        std::error_code failed;
        std::filesystem::create_directories(target.parent_path(), failed);
        if (!failed) {
            std::ofstream(target, std::ios::binary)
                .write(file.bytes.data(), static_cast<std::streamsize>(file.bytes.size()));
        }
    }
    clearTextCache();
    clearLocalizationCaches();
    // Setting the program folder again makes the engine resolve every data path anew.
    setProgramFolder(owner.folder().engine());
    std::string enginePath = owner.folder().engine() + "data\\" + folderName + "\\";
    std::replace(enginePath.begin(), enginePath.end(), '/', '\\');
    return toLower(enginePath);
}

void removeHostAccess(squirrel::VM& vm) {
    squirrel::Object root = vm.rootTable();
    for (const char* name : {"file", "stdin", "stdout", "stderr", "loadfile", "dofile", "getenv",
                             "system", "remove", "rename"}) {
        root.remove(name);
    }
    vm.setPrintFunction([](std::string_view) {});
    vm.setErrorFunction([](std::string_view) {});
}

} // namespace fuzz

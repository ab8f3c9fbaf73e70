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
#include "utils/utils_fs.h"
#include "utils/utils_lang.h"

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

// Questions are answered Yes (go on) and other boxes OK, as a player would. With
// VELLUM_FUZZ_BOXES set, every box text goes to standard error (to see why inputs stop).
void answerBoxes() {
    static const bool echo = std::getenv("VELLUM_FUZZ_BOXES") != nullptr;
    setMessageBoxHook([](const std::string& text, const std::string&, int kind) {
        if (echo) {
            std::fprintf(stderr, "box: %s\n", text.c_str());
        }
        return static_cast<int>((kind & kBoxButtonMask) == kBoxYesNo ? kAnswerYes : kAnswerOk);
    });
}

} // namespace

TestProgram& program() {
    static TestProgram* made = [] {
        TestProgram* made = new TestProgram();
        const std::string source = __FILE__;
        std::filesystem::copy(source.substr(0, source.rfind("tests/fuzz/")) + "data/gui",
                              made->folder().native() + "data/gui",
                              std::filesystem::copy_options::recursive |
                                  std::filesystem::copy_options::overwrite_existing);
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
    return *made;
}

irr::IrrlichtDevice* scene() {
    static irr::IrrlichtDevice* device = [] {
        program();
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

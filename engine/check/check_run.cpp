#include "check_run.h"

#include "core/game_client.h"
#include "core/vellumengine.h"
#include "platform/files.h"
#include "platform/native_path.h"
#include "scene/particle_groups.h"
#include "scene/texture_cache.h"
#include "scene/texture_lists.h"
#include "script/module_scripting.h"
#include "script/module_scripting_core.h"
#include "script_check.h"
#include "utils/debug.h"
#include "utils/source_text.h"
#include "utils/utils_fs.h"
#include "utils/utils_lang.h"
#include "utils/utils_str.h"

#include <filesystem>

namespace {

const char kDefaultLanguage[] = "data_en";

// The files preloading reads: the language folder's, then the common folder's.
std::vector<std::string> preloadedFiles() {
    std::vector<std::string> files;
    listFiles(files, languageDataPath(""), "");
    listFiles(files, resolveDataPath(""), "");
    return files;
}

// Sound files must be what the sound library reads by their names.
void checkSoundFile(CheckSession& session, const std::string& path) {
    std::string bytes;
    readWholeFile(path, bytes);
    bool wave =
        bytes.size() > 12 && bytes.compare(0, 4, "RIFF") == 0 && bytes.compare(8, 4, "WAVE") == 0;
    bool vorbis = bytes.size() > 4 && bytes.compare(0, 4, "OggS") == 0;
    const std::string extension = splitPath(path, false, false, false, true);
    if (extension == ".wav" && !wave) {
        session.error(CheckPlace{path, 0}, "not a WAVE sound file (RIFF WAVE)");
    } else if (extension == ".ogg" && !vorbis) {
        session.error(CheckPlace{path, 0}, "not an Ogg Vorbis music file");
    }
}

// Particle groups and texture lists, read by the engine's own readers as preloading reads them.
void checkConfiguration(CheckSession& session, const std::string& path) {
    session.readAt(CheckPlace{path, 0}, [&] {
        std::string relative = path;
        makeDataRelative(relative);
        std::string text;
        readTextFile(path, text);
        if (!loadParticleGroups(text)) {
            loadTextureLists(relative, text, "", false);
        }
    });
}

void checkFile(CheckSession& session, const std::string& path) {
    switch (classifyPath(path)) {
    case kFileConfiguration:
        checkConfiguration(session, path);
        break;
    case kFileSpriteDescription:
        checkDescriptionFile(session, path, CheckPlace{path, 0});
        break;
    case kFileDialog:
        checkDialogFile(session, path);
        break;
    default: {
        const std::string extension = splitPath(path, false, false, false, true);
        if (extension == ".wav" || extension == ".ogg") {
            checkSoundFile(session, path);
        }
        break;
    }
    }
}

std::string checkedLanguage() {
    std::string language = trim(getEngine().getConfig().getGameIniValue("Language"));
    return language.empty() ? kDefaultLanguage : toLower(language);
}

// The line of game.ini that names the language; game.ini alone when none does (the language
// then comes from the command line or the default).
CheckPlace languagePlace() {
    const std::string path = gameFolder() + "game.ini";
    SourceText ini;
    if (readSourceText(path, ini)) {
        const size_t at = ("\n" + ini.text).find("\nLanguage=");
        if (at != std::string::npos) {
            return ini.originAt(at);
        }
    }
    return CheckPlace{path, 0};
}

} // namespace

int runCheck(IGameClient* client, const CheckExtensions& extensions, std::FILE* out) {
    CVellumEngine& engine = getEngine();
    // The check writes nothing into the game: the engine logs the messages the report already
    // holds, so its log goes to the temporary folder.
    std::string temporary = toEnginePath(std::filesystem::temp_directory_path().string());
    setDebugLogFolder(temporary.back() == '\\' ? temporary : temporary + "\\");
    engine.setClient(client);
    addDescriptionKeys(extensions.keys);
    setDescriptionRecordChecks(extensions.recordChecks);
    setDialogHeaderChecks(extensions.dialogChecks);
    int status = 0;
    {
        CheckSession session;
        // A language the engine refuses is reported at the line that names it.
        session.readAt(languagePlace(), [] { setLanguage(checkedLanguage()); });
        registerCoreFunctions(engine.getScripting().vm());
        if (client) {
            client->registerScriptFunctions();
        }
        // Dialog names and what the scripts define come first: descriptions and levels refer
        // to them.
        std::vector<std::string> files = preloadedFiles();
        for (const std::string& file : files) {
            if (classifyPath(file) == kFileDialog) {
                registerCheckedDialog(session, file);
            }
        }
        // Each file is read in a place of its own: whatever the engine says while it is read,
        // and a fatal report that ends its reading, is reported at that file.
        for (const std::string& file : files) {
            if (classifyPath(file) == kFileScript) {
                session.readAt(CheckPlace{file, 0}, [&] { checkScriptFile(session, file); });
            }
        }
        for (const std::string& file : files) {
            session.readAt(CheckPlace{file, 0}, [&] { checkFile(session, file); });
        }
        checkRequiredFiles(session, engineRequiredFiles());
        checkRequiredFiles(session, extensions.requiredFiles);
        checkRequiredFunctions(session, engineRequiredFunctions());
        checkRequiredFunctions(session, extensions.requiredFunctions);
        session.checkParents();
        session.checkAnchors();
        checkScriptCalls(session);
        session.report.print(out);
        status = session.report.errorCount() > 0 ? 1 : 0;
        forgetTextureCache();
    }
    engine.setClient(nullptr);
    return status;
}

#include "reference_check.h"

#include "core/game_client.h"
#include "core/vellumengine.h"
#include "description_check.h"
#include "scene/markup_values.h"
#include "scene/text_effect.h"
#include "sound/server_sound.h"
#include "utils/description_path.h"
#include "utils/utils_fs.h"
#include "utils/utils_lang.h"
#include "utils/utils_str.h"

#include <memory>

namespace {

const char kEnglish[] = "data_en";

// The string file a language reads: its own "strings.lng", else the common folder's.
std::string stringFileOf(const std::string& language) {
    std::string own = gameFolder() + language + "\\strings.lng";
    return fileExists(own) ? own : gameFolder() + "data\\strings.lng";
}

void checkInlineImage(CheckSession& session, const std::string& tag, const CheckPlace& place) {
    std::string source = markupAttribute(tag, "src");
    if (source.empty()) {
        session.error(place, "<img> without src: the engine makes a sprite of nothing");
        return;
    }
    checkSpriteSource(session, resolveDataPath(source), place);
}

void checkMarkupLine(CheckSession& session, const std::string& line, const CheckPlace& place) {
    if (line.size() > 1 && line[1] == '!') {
        return;
    }
    const std::string effectTag = "<font-effect:";
    size_t effect = line.find(effectTag);
    if (effect != std::string::npos) {
        std::string name = line.substr(effect + effectTag.size());
        IGameClient* client = getEngine().getClient();
        std::unique_ptr<TextEffect> made(client ? client->createTextEffect(name) : nullptr);
        if (!made) {
            session.error(place, format("the game knows no text effect '%s'", name.c_str()));
        }
    }
    if (line.find("<sound") != std::string::npos) {
        std::string name = markupTagValue(line, "sound");
        if (!name.empty()) {
            checkSoundEffect(session, name, place);
        }
    }
    if (line.find("<anchor") != std::string::npos) {
        session.useAnchor(markupTagValue(line, "anchor"), place);
    }
    if (line.find("<frame") != std::string::npos) {
        session.noteUse("frame markup", place);
    }
    std::string rest = line;
    for (size_t at = rest.find("<img"); at != std::string::npos; at = rest.find("<img")) {
        rest[at + 1] = '_';
        size_t end = rest.find('>', at + 4);
        checkInlineImage(session,
                         rest.substr(at + 4, end == std::string::npos ? end : end - at - 4), place);
    }
}

} // namespace

void checkSpriteSource(CheckSession& session, const std::string& source, const CheckPlace& place) {
    if (source.find("${") != std::string::npos || classifyPath(source) == kFileInline) {
        return;
    }
    std::string path = source.substr(0, source.find('?'));
    if (classifyPath(path) == kFileSpriteDescription) {
        checkDescriptionFile(session, source, place);
        return;
    }
    std::string resolved;
    // What the engine says of the name (its form, its case) belongs to the place naming it.
    session.readAt(place, [&] { resolved = resolveDataPath(path); });
    if (!fileExists(resolved)) {
        session.error(place, format("image '%s' does not exist", reportedFileName(path).c_str()));
    } else if (!session.imageLoads(resolved)) {
        session.error(place,
                      format("'%s' cannot be read as an image", reportedFileName(path).c_str()));
    }
}

void checkSoundEffect(CheckSession& session, const std::string& name, const CheckPlace& place) {
    if (name.find("${") != std::string::npos) {
        return;
    }
    std::string path = soundEffectPath(name);
    if (!fileExists(path)) {
        session.error(place, format("sound effect '%s' does not exist (looked for %s)",
                                    name.c_str(), reportedFileName(path).c_str()));
    }
}

void checkMusic(CheckSession& session, const std::string& name, const CheckPlace& place) {
    std::string path = musicPath(name);
    if (!fileExists(path)) {
        session.error(place, format("music '%s' does not exist (looked for %s)", name.c_str(),
                                    reportedFileName(path).c_str()));
    }
}

void checkStringKey(CheckSession& session, const std::string& value, const CheckPlace& place) {
    if (value.empty() || value.find("${") != std::string::npos) {
        return;
    }
    if (value[0] == '?' || value[0] == '#') {
        checkMarkup(session, value.substr(1), place);
        return;
    }
    for (const std::string& language : session.languages()) {
        std::string file = stringFileOf(language);
        std::string text = findStringInFile(value, file);
        if (text.empty()) {
            if (language == kEnglish) {
                session.error(place, format("string key '%s' has no text in %s: the key itself "
                                            "is shown, and the engine adds it to that file",
                                            value.c_str(), reportedFileName(file).c_str()));
            } else {
                session.warning(place, format("string key '%s' has no text in %s: the English text "
                                              "is shown, and the engine adds the key to that file",
                                              value.c_str(), reportedFileName(file).c_str()));
            }
            continue;
        }
        if (text[0] == '#') {
            std::string textFile = resolveDescriptionPath(trim(text.substr(1)), file);
            if (!fileExists(resolveDataPath(textFile))) {
                session.error(place, format("string key '%s' names the text file '%s' (in %s), "
                                            "which does not exist",
                                            value.c_str(), reportedFileName(textFile).c_str(),
                                            reportedFileName(file).c_str()));
            }
            continue;
        }
        checkMarkup(session, replaceAll(replaceAll(text, "<br>", "\n"), "\\n", "\n"), place);
    }
}

void checkMarkup(CheckSession& session, const std::string& text, const CheckPlace& place) {
    for (const std::string& line : splitList(text, '\n', false)) {
        if (!line.empty() && line[0] == '<') {
            checkMarkupLine(session, line, place);
        }
    }
}

void checkDialogName(CheckSession& session, const std::string& name, const CheckPlace& place) {
    if (session.dialogs.count(name) == 0) {
        session.error(place, format("no dialog is named '%s' (no -DialogName:%s in a .dlg file): "
                                    "the engine stops on \"incorrect dialog name\"",
                                    name.c_str(), name.c_str()));
    }
}

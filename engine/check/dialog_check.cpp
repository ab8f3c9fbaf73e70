#include "dialog_check.h"

#include "core/game_client.h"
#include "core/vellumengine.h"
#include "description_check.h"
#include "description_keys.h"
#include "dialogs/dialog_registry.h"
#include "dialogs/module_dialogfactory.h"
#include "reference_check.h"
#include "scene/description_values.h"
#include "scene/node_factory.h"
#include "script_check.h"
#include "utils/description_path.h"
#include "utils/utils_fs.h"
#include "utils/utils_str.h"

namespace {

std::vector<DialogHeaderCheck>& headerChecks() {
    static auto* checks = new std::vector<DialogHeaderCheck>();
    return *checks;
}

// The index of the line where the sprite part begins ("[Sprite]"), or the line count.
size_t spritePartLine(const SourceText& source) {
    std::vector<std::string> lines = splitList(source.text, '\n', true);
    for (size_t i = 0; i < lines.size(); ++i) {
        if (startsWith(lines[i], "[Sprite]")) {
            return i;
        }
    }
    return lines.size();
}

std::string headerValue(const DialogHeader& header, const char* key) {
    std::string value;
    return getKeyValue(header.text, key, value) ? trim(value) : std::string();
}

void checkHeaderReferences(CheckSession& session, const DialogHeader& header) {
    const CDialogFactory& dialog = header.dialog;
    if (headerValue(header, "-DialogName:").empty()) {
        session.warning(header.placeOf("-DialogName:"),
                        "no -DialogName: scripts cannot open this dialog by name");
    }
    std::string background = headerValue(header, "-BackgroundImage:");
    if (!background.empty()) {
        checkSpriteSource(session, resolveDescriptionPath(background, dialog.FilePath),
                          header.placeOf("-BackgroundImage:"));
    }
    std::string music = headerValue(header, "-BackgroundMusic:");
    if (!music.empty()) {
        checkMusic(session, music, header.placeOf("-BackgroundMusic:"));
    }
    std::string sound = headerValue(header, "-OpenSound:");
    if (!sound.empty()) {
        checkSoundEffect(session, sound, header.placeOf("-OpenSound:"));
    }
    for (const char* key :
         {"-Event.Keyboard.Esc.Pressed:", "-Event.OnKey.Action:", "-Event.Created.Action:",
          "-Event.WhileVisible.Action:", "-Event.Destroyed.Action:"}) {
        std::string code = headerValue(header, key);
        if (!code.empty()) {
            checkActionCode(session, code, header.placeOf(key));
        }
    }
}

void checkStructureFile(CheckSession& session, const DialogHeader& header) {
    const std::string& structure = header.dialog.StructureFile;
    if (structure.empty()) {
        return;
    }
    CheckPlace place = header.placeOf("-DialogSpriteStructure:");
    std::string path = resolveDataPath(structure);
    SourceText text;
    if (!readSourceText(path, text)) {
        session.error(place, format("structure file '%s' does not exist",
                                    reportedFileName(structure).c_str()));
        return;
    }
    checkDescriptionLines(session, text, 0, text.lines.size(),
                          DescriptionRoot{header.dialog.SpritePart, "", {}, true}, true);
}

} // namespace

CheckPlace DialogHeader::placeOf(const std::string& key) const {
    std::vector<std::string> lines = splitList(source.text, '\n', true);
    for (size_t i = 0; i < end && i < lines.size(); ++i) {
        if (lines[i].find(key) != std::string::npos) {
            return source.originOfLine(i);
        }
    }
    return CheckPlace{source.path, 0};
}

void setDialogHeaderChecks(std::vector<DialogHeaderCheck> checks) {
    headerChecks() = std::move(checks);
}

void registerCheckedDialog(CheckSession& session, const std::string& path) {
    session.readAt(CheckPlace{path, 0}, [&] { registerDialogFile(path); });
    std::string name;
    if (!getKeyValue(readDescriptionFile(path), "-DialogName:", name) || trim(name).empty()) {
        return;
    }
    name = trim(name);
    auto [known, added] = session.dialogs.emplace(name, path);
    if (!added && known->second != path) {
        session.error(CheckPlace{path, 0},
                      format("dialog name '%s' is also given by %s: the engine opens only one "
                             "of them",
                             name.c_str(), reportedFileName(known->second).c_str()));
    }
    session.defineName(name);
}

void checkDialogFile(CheckSession& session, const std::string& path) {
    SourceText source;
    if (!readSourceText(path, source)) {
        session.error(CheckPlace{path, 0}, "empty dialog file");
        return;
    }
    reportMissingIncludes(session, source);
    size_t spriteLine = spritePartLine(source);
    checkKeyLines(session, source, 0, spriteLine, kDialogHeaderKey);

    IGameClient* client = getEngine().getClient();
    CDialogFactory* dialog = client ? client->createDialogFactory() : new CDialogFactory();
    std::string headerText;
    bool read = session.readAt(CheckPlace{path, 0}, [&] {
        std::vector<std::string> macroParams;
        std::string name = path;
        makeDataRelative(name);
        headerText = readDialogDescription(*dialog, name, macroParams);
    });
    if (read) {
        DialogHeader header{source, spriteLine, headerText, *dialog};
        checkHeaderReferences(session, header);
        for (const DialogHeaderCheck& check : headerChecks()) {
            check(session, header);
        }
        if (spriteLine < source.lines.size()) {
            checkDescriptionLines(session, source, spriteLine, source.lines.size(),
                                  DescriptionRoot{dialog->SpritePart, "", {}, true}, false);
        }
        checkStructureFile(session, header);
    }
    dialog->drop();
}

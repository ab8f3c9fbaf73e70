#include "required_files.h"

#include "font_check.h"
#include "reference_check.h"
#include "utils/utils_fs.h"
#include "utils/utils_str.h"

namespace {

void checkRequiredFile(CheckSession& session, const RequiredFile& file) {
    const CheckPlace* use = nullptr;
    if (*file.neededBy != '\0') {
        use = session.firstUse(file.neededBy);
        if (!use) {
            return;
        }
    }
    std::string path = resolveDataPath(file.name);
    if (!fileExists(path)) {
        if (use) {
            session.error(*use, format("%s needs '%s' (%s), which the game lacks", file.neededBy,
                                       reportedFileName(file.name).c_str(), file.purpose));
        } else {
            session.error(CheckPlace{file.perLanguage ? languageDataPath(file.name) : file.name, 0},
                          format("missing: it is needed for %s", file.purpose));
        }
        return;
    }
    CheckPlace place = use ? *use : CheckPlace{path, 0};
    std::string extension = splitPath(path, false, false, false, true);
    if (extension == ".xml") {
        checkFontFile(session, path, file.fontCharacters);
    } else if (extension == ".spr" || extension == ".png") {
        checkSpriteSource(session, path, place);
    }
}

} // namespace

const std::vector<RequiredFile>& engineRequiredFiles() {
    static const std::vector<RequiredFile> files = {
        {"gui\\empty.png", "the image of every grouping node (the engine's root and each dialog)"},
        {"gui\\black.png", "the pause fader"},
        {"scripts\\startup.nut", "the script that starts the game (startGame())"},
        {"strings.lng", "the texts of the language", "", 1, true},
        {"gui\\canvas_bg.png", "the background of a <frame> in a text", "frame markup"},
        {"gui\\canvas_corner.spr", "the corners of a <frame> in a text", "frame markup"},
        {"gui\\canvas_edge.spr", "the edges of a <frame> in a text", "frame markup"},
        {"gui\\canvas_top.spr", "the top ornament of a <frame> in a text", "frame markup"},
    };
    return files;
}

void checkRequiredFiles(CheckSession& session, const std::vector<RequiredFile>& files) {
    for (const RequiredFile& file : files) {
        session.readAt(CheckPlace{file.name, 0}, [&] { checkRequiredFile(session, file); });
    }
}

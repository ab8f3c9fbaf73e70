#include "check_session.h"

#include "core/vellumengine.h"
#include "platform/files.h"
#include "platform/message_box.h"
#include "platform/native_path.h"
#include "scene/anchor_table.h"
#include "utils/debug.h"
#include "utils/text_file_check.h"
#include "utils/utils_fs.h"
#include "utils/utils_str.h"

#include <algorithm>

namespace {

const char kEnglish[] = "data_en";

// The engine's float reader warns of a comma in a plain number; the key check reports every
// such value itself, with its line, so this box would only repeat it.
const char kFloatCommaWarning[] = "whorg float delimiter";

// Thrown from the engine's fatal report while the check reads a piece of the game.
struct FatalReport {
    std::string text;
};

std::vector<std::string> findLanguageFolders() {
    std::vector<std::string> folders;
    for (const FolderEntry& entry : listFolder(gameFolder())) {
        std::string name = toLower(entry.name);
        if (entry.isFolder && startsWith(name, "data_")) {
            folders.push_back(name);
        }
    }
    std::sort(folders.begin(), folders.end(), [](const std::string& a, const std::string& b) {
        return (a == kEnglish) != (b == kEnglish) ? a == kEnglish : a < b;
    });
    return folders;
}

} // namespace

CheckSession::CheckSession() : languageFolders(findLanguageFolders()) {
    irr::SIrrlichtCreationParameters parameters;
    parameters.DriverType = irr::video::EDT_NULL;
    // The library's own messages would mix with the report on standard output.
    parameters.LoggingLevel = irr::ELL_NONE;
    device = irr::createDeviceEx(parameters);
    if (device) {
        videoDriver = device->getVideoDriver();
        getEngine().setDeviceServices(device);
    }
    setMessageBoxHook([this](const std::string& text, const std::string&, int kind) {
        onEngineMessage(text);
        return (kind & kBoxButtonMask) == kBoxYesNo ? kAnswerYes : kAnswerOk;
    });
    setFatalErrorHandler([](const std::string& text) { throw FatalReport{text}; });
    // Bad bytes and overlong lines are reported at their own line, once however often the file
    // is read.
    setTextFileProblemHandler([this](const TextFileProblem& problem) {
        const CheckPlace place{problem.path, problem.line};
        if (!firstVisit(format("text file problem %s:%i", problem.path.c_str(), problem.line))) {
            return;
        }
        if (problem.partNotRead) {
            error(place, "this line " + problem.what);
        } else {
            warning(place, "this line " + problem.what);
        }
    });
}

CheckSession::~CheckSession() {
    setTextFileProblemHandler(nullptr);
    setFatalErrorHandler(nullptr);
    setMessageBoxHook(nullptr);
    if (device) {
        getEngine().setDeviceServices(nullptr);
        device->drop();
    }
}

void CheckSession::error(const CheckPlace& place, const std::string& message) {
    report.error(place.file, place.line, message);
}

void CheckSession::warning(const CheckPlace& place, const std::string& message) {
    report.warning(place.file, place.line, message);
}

void CheckSession::onEngineMessage(const std::string& text) {
    if (text.find(kFloatCommaWarning) == std::string::npos) {
        pendingMessages.push_back(text);
    }
}

bool CheckSession::readAt(const CheckPlace& place, const std::function<void()>& work) {
    CheckPlace outer = current;
    std::vector<std::string> outerMessages;
    outerMessages.swap(pendingMessages);
    current = place;
    std::string fatal;
    try {
        work();
    } catch (const FatalReport& report) {
        fatal = report.text;
    }
    for (const std::string& message : pendingMessages) {
        if (message != fatal) {
            warning(place, "the engine reports: " + message);
        }
    }
    if (!fatal.empty()) {
        error(place, "the engine stops here: " + fatal);
    }
    pendingMessages.swap(outerMessages);
    current = outer;
    return fatal.empty();
}

bool CheckSession::imageLoads(const std::string& path) {
    auto known = images.find(path);
    if (known != images.end()) {
        return known->second;
    }
    bool loads = false;
    if (fileExists(path) && videoDriver) {
        irr::video::IImage* image = videoDriver->createImageFromFile(toNativePath(path).c_str());
        if (image) {
            loads = true;
            image->drop();
        }
    }
    images[path] = loads;
    return loads;
}

void CheckSession::useParent(const std::string& name, const CheckPlace& place) {
    parentUses.emplace_back(name, place);
}

void CheckSession::checkParents() {
    for (const auto& [name, place] : parentUses) {
        if (definedNames.count(name) == 0 && dialogs.count(name) == 0) {
            error(place, format("parent '%s' is never named (no -Name: or dialog of that name): "
                                "the engine stops when it creates this sprite",
                                name.c_str()));
        }
    }
}

void CheckSession::useAnchor(const std::string& name, const CheckPlace& place) {
    anchorUses.emplace_back(name, place);
}

void CheckSession::checkAnchors() {
    AnchorPoint anchor;
    for (const auto& [name, place] : anchorUses) {
        if (definedAnchors.count(name) == 0 && !findAnchor(name, anchor)) {
            error(place, format("anchor '%s' is never defined ([Anchor] -Name: or "
                                "-DefineAnchor:): the engine shows \"undeclared anchor point "
                                "used\"",
                                name.c_str()));
        }
    }
}

void CheckSession::noteUse(const std::string& feature, const CheckPlace& place) {
    uses.emplace(feature, place);
}

const CheckPlace* CheckSession::firstUse(const std::string& feature) const {
    auto found = uses.find(feature);
    return found == uses.end() ? nullptr : &found->second;
}

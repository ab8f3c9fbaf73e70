#include "engine_config.h"

#include "core/user_file_save.h"
#include "platform/files.h"
#include "platform/message_box.h"
#include "platform/process.h"
#include "utils/debug.h"
#include "utils/key_value.h"
#include "utils/number_text.h"
#include "utils/utils_fs.h"
#include "utils/utils_str.h"

#include <algorithm>

namespace {

int intValue(const std::string& text, const std::string& key) {
    return parseInt(getOption(text, key));
}

// The user's copy of a file, or the program's when the user has none.
std::string userOrProgramFile(const std::string& userName, const std::string& programName) {
    std::string userFile = userFolder() + userName;
    return pathExists(userFile) ? userFile : gameFolder() + programName;
}

// The last name of a folder path that ends with a backslash.
std::string folderName(const std::string& folder) {
    return splitPath(folder.substr(0, folder.size() - 1), false, false, true, true);
}

} // namespace

const std::string& EngineConfig::getGameIni() {
    if (!gameIniText.empty()) {
        return gameIniText;
    }
    std::string contents;
    const bool ownFolder = gameFolder() != programFolder();
    if (!readFileRaw(gameFolder() + "game.ini", contents) && ownFolder) {
        // A game folder without a game.ini of its own runs with the settings beside the program.
        readFileRaw(programFolder() + "game.ini", contents);
        contents = replaceAll("\n" + contents, "\nAppDataFolder=", "\n//AppDataFolder=");
    }
    std::string text = "\n" + contents + "\n";
    if (ownFolder && getOption(text, "AppDataFolder").empty()) {
        // Players' files of a game that names no user folder go to one named after its folder,
        // so no two games share profiles.
        text = "\nAppDataFolder=" + folderName(gameFolder()) + text;
    }
    for (const std::string& piece : splitList(commandLineText(), ' ', false)) {
        std::vector<std::string> parts = splitList(piece, '=', false);
        if (parts.size() != 2) {
            continue;
        }
        text = replaceAll(text, "\n" + parts[0], "\n//" + parts[0]);
        text += format("\n%s=%s\n", parts[0].c_str(), parts[1].c_str());
    }
    gameIniText = text;
    return gameIniText;
}

std::string EngineConfig::getGameIniValue(const std::string& key) {
    return getOption(getGameIni(), key);
}

void EngineConfig::load() {
    const std::string& text = getGameIni();
    setAppDataFolderName(getOption(text, "AppDataFolder"));
    Debug = intValue(text, "Debug");
    LogLevel = intValue(text, "LogLevel");
    Version = getOption(text, "Version");
    // Logged at level 0, which passes the LogLevel threshold only when it is 0 or below.
    if (LogLevel <= 0) {
        logDebug(format("Version:%s, Footprint:%s", Version.c_str(), ""));
    }
    HiQuality = intValue(text, "HiQuality");
    ShowTooltipAlways = intValue(text, "ShowTooltipAlways");
    Renderer = intValue(text, "Renderer");
    if (Renderer == 0) {
        Renderer = 3;
    }
    SoundDevice = intValue(text, "SoundDevice");
    std::string budget = getOption(text, "ScriptOperationBudget");
    ScriptOperationBudget =
        budget.empty() ? kDefaultScriptOperationBudget : std::max(0, parseInt(budget));
    Antialiasing = intValue(text, "Antialiasing");
    VSync = intValue(text, "VSync");
    BitsPerPixel = intValue(text, "BitsPerPixel");
    if (BitsPerPixel < 7) {
        BitsPerPixel = 32;
    }
    ExitAfterFrames = intValue(text, "ExitAfterFrames");
    FixedFrameTime = intValue(text, "FixedFrameTime");
    ScreenshotAt = parseScreenshotRequests(getOption(text, "ScreenshotAt"));
    InputRecord = trim(getOption(text, "InputRecord"));
    InputReplay = trim(getOption(text, "InputReplay"));
    // A recording holds no answers to boxes, so they answer themselves while one is made.
    if (ExitAfterFrames != 0 || FixedFrameTime != 0 || !InputRecord.empty() ||
        !InputReplay.empty()) {
        setUnattendedRun(true);
    }

    // A process killed while saving leaves a temporary file behind (the file it was replacing is
    // whole); such files are cleared away here.
    int leftovers = removeLeftoverTemporaries(userFolder());
    if (leftovers > 0) {
        logDebug(format("Removed %i unfinished saves from the user folder", leftovers));
    }
    std::string options;
    readSavedFileRaw(userOrProgramFile("game_options.ini", "game.ini"), options);
    options = "\n" + options + "\n";
    ActiveProfile = getOption(options, "ActiveProfile");
    PastProfiles = splitList(getOption(options, "PastProfiles"), ',', false);
    if (ActiveProfile.empty()) {
        firstRun = 1;
        ActiveProfile = "Player";
    }

    HighScores.loadHighScores("main", userOrProgramFile("hiscores.ini", "hiscores.ini"));
}

bool EngineConfig::save() {
    std::string text;
    writeOption(text, "ActiveProfile", ActiveProfile);
    writeOption(text, "PastProfiles", joinList(PastProfiles, ','));
    bool optionsSaved = saveUserFile(userFolder() + "game_options.ini", text);
    firstRun = 0;
    bool scoresSaved =
        !HighScores.isDirty() || HighScores.saveHighScores(userFolder() + "hiscores.ini");
    return optionsSaved && scoresSaved;
}

std::vector<ScreenshotRequest> parseScreenshotRequests(const std::string& text) {
    std::vector<ScreenshotRequest> requests;
    for (const std::string& piece : splitList(text, ',', false)) {
        int colon = findChar(piece, ':');
        if (colon <= 0) {
            continue;
        }
        ScreenshotRequest request;
        request.frame = parseInt(trim(left(piece, colon)));
        request.path = trim(mid(piece, colon + 1));
        if (!request.path.empty()) {
            requests.push_back(request);
        }
    }
    return requests;
}

void updatePastProfiles(std::vector<std::string>& pastProfiles, const std::string& name) {
    if (pastProfiles.empty()) {
        pastProfiles.push_back(name);
    }
    std::vector<std::string> updated;
    bool seen = false;
    size_t count = pastProfiles.size() < 10 ? pastProfiles.size() : 10;
    for (size_t i = 0; i < count; ++i) {
        const std::string& entry = pastProfiles[i];
        if (entry == name) {
            if (i < 3 && !seen) {
                updated.push_back(entry);
                seen = true;
            }
        } else if (!entry.empty()) {
            updated.push_back(entry);
        }
    }
    if (!seen) {
        updated.insert(updated.begin(), name);
    }
    pastProfiles = updated;
}

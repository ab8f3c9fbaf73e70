#include "level_check.h"

#include "check/description_keys.h"
#include "check/key_value_check.h"
#include "check/reference_check.h"
#include "dialogs/module_dialogfactory.h"
#include "scene/description_values.h"
#include "utils/source_text.h"
#include "utils/utils_fs.h"
#include "utils/utils_lang.h"
#include "utils/utils_str.h"
#include "wave_file.h"

#include <map>
#include <regex>

namespace {

// The level controller's text: the level's name from the level folder's string file.
const char kLevelNameKey[] = "LEVELNAME";
const char kShipName[] = "mad_ship";
const char kAimerName[] = "HoleMakerAimer";

const DescriptionKey kActorValues = {"Actor:", 0, KeyForm::Tagged, "xywh"};
const DescriptionKey kPointValues = {"Point[#]:", 0, KeyForm::Tagged, "xy"};

void reportValueProblems(CheckSession& session, const DescriptionKey& key, const std::string& value,
                         const CheckPlace& place, const std::string& what) {
    for (const ValueProblem& problem : checkKeyValue(key, value)) {
        session.error(place, what + " " + problem.message);
    }
}

void checkActors(CheckSession& session, const SourceText& wave,
                 const std::vector<std::string>& lines, bool firstWave) {
    std::vector<WaveActor> actors = readWaveActors(wave.text);
    size_t actor = 0;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (!startsWith(lines[i], "Actor:")) {
            continue;
        }
        CheckPlace place = wave.originOfLine(i);
        if (!firstWave) {
            session.warning(place, "actors of later waves are never created (only the first "
                                   "wave's are)");
            continue;
        }
        const WaveActor& read = actors[actor++];
        std::string line = lines[i].substr(std::string("Actor:").size());
        size_t colon = line.find(':');
        if (read.name.empty() || colon == std::string::npos) {
            session.error(place, "an actor line is 'Actor:NAME:x.. y.. w.. h..'");
            continue;
        }
        reportValueProblems(session, kActorValues, line.substr(colon + 1), place, "actor");
        if (read.w == 0 || read.h == 0) {
            session.error(place, format("actor '%s' has no size (w and h): it is not seen",
                                        read.name.c_str()));
        }
        checkSpriteSource(session, "actors\\" + read.name + ".spr", place);
    }
}

// Reads the "Point[i]:" lines of a block [first, end): each index must follow the one before.
int checkBlockPoints(CheckSession& session, const SourceText& wave,
                     const std::vector<std::string>& lines, size_t first, size_t end) {
    static const std::regex point(R"(^Point\[(-?\d+)\]:(.*)$)");
    std::map<int, size_t> seen;
    int expected = 0;
    int readPoints = -1;
    for (size_t i = first; i < end; ++i) {
        std::smatch match;
        if (!std::regex_match(lines[i], match, point)) {
            continue;
        }
        CheckPlace place = wave.originOfLine(i);
        int index = std::stoi(match[1]);
        reportValueProblems(session, kPointValues, match[2], place, format("Point[%d]:", index));
        if (!seen.emplace(index, i).second) {
            session.error(place,
                          format("Point[%d] is given twice: the engine reads the first", index));
            continue;
        }
        if (index != expected) {
            session.warning(place, format("Point[%d] comes where Point[%d] belongs: the points "
                                          "are out of order",
                                          index, expected));
        }
        ++expected;
    }
    for (int index = 0;; ++index) {
        if (seen.count(index) == 0) {
            readPoints = index;
            break;
        }
    }
    for (const auto& [index, line] : seen) {
        if (index > readPoints) {
            session.error(wave.originOfLine(line),
                          format("Point[%d] lies after a gap (no Point[%d]): the engine stops "
                                 "at the gap and never reads it",
                                 index, readPoints));
        }
    }
    return readPoints;
}

void checkPointBlocks(CheckSession& session, const SourceText& wave,
                      const std::vector<std::string>& lines, bool firstWave) {
    bool mainPath = false;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].find("<Points>") == std::string::npos) {
            continue;
        }
        size_t close = i + 1;
        while (close < lines.size() && lines[close].find("</Points>") == std::string::npos) {
            ++close;
        }
        CheckPlace open = wave.originOfLine(i);
        if (close == lines.size()) {
            session.error(open, "<Points> is never closed by </Points>: the engine reads no "
                                "further point blocks");
            break;
        }
        int points = checkBlockPoints(session, wave, lines, i + 1, close);
        std::string name;
        for (size_t k = i + 1; k < close; ++k) {
            if (startsWith(lines[k], "-Name:")) {
                name = lines[k].substr(std::string("-Name:").size());
                break;
            }
        }
        if (name.empty()) {
            session.warning(open, "a point block without -Name: is neither a main path nor a "
                                  "fire spot: the engine ignores it");
        }
        if (name.find("MainPath") != std::string::npos) {
            mainPath = true;
            if (points < 2) {
                session.error(open, format("the main path has %d point(s): the ship needs at "
                                           "least two to fly",
                                           points));
            }
        }
        if (name.find("firespot") != std::string::npos) {
            session.noteUse(kFireSpotFeature, open);
            if (points < 2) {
                session.error(open, format("fire spot '%s' has %d point(s): it needs a start and "
                                           "an end, the engine skips it",
                                           trim(name).c_str(), points));
            }
            std::string spotName = trim(replaceAll(replaceAll(name, "firespot", ""), "-", ""));
            spotName = spotName.substr(0, spotName.find(' '));
            if (spotName.size() > kMaxFireSpotName) {
                session.warning(open, format("fire spot name '%s' is cut to %d characters",
                                             spotName.c_str(), static_cast<int>(kMaxFireSpotName)));
            }
        }
        i = close;
    }
    if (firstWave && !mainPath) {
        session.error(CheckPlace{wave.path, 0}, "the first wave has no point block named "
                                                "MainPath: the ship has nothing to follow");
    }
}

void checkWaveFile(CheckSession& session, const std::string& path, bool firstWave,
                   const CheckPlace& namedAt) {
    SourceText wave;
    if (!readSourceText(path, wave)) {
        session.error(namedAt,
                      format("wave file '%s' does not exist", reportedFileName(path).c_str()));
        return;
    }
    std::vector<std::string> lines = splitList(wave.text, '\n', true);
    checkActors(session, wave, lines, firstWave);
    checkPointBlocks(session, wave, lines, firstWave);
}

// The wave keys "-Wave1:", "-Wave2:", ... of the header; the engine reads them up to the first
// missing number.
void checkWaveKeys(CheckSession& session, const DialogHeader& header) {
    static const std::regex waveKey(R"(^-Wave(\d+):)");
    std::vector<std::string> lines = splitList(header.source.text, '\n', true);
    std::map<int, CheckPlace> keys;
    for (size_t i = 0; i < header.end && i < lines.size(); ++i) {
        std::smatch match;
        if (std::regex_search(lines[i], match, waveKey)) {
            keys.emplace(std::stoi(match[1]), header.source.originOfLine(i));
        }
    }
    if (keys.count(1) == 0) {
        session.error(header.placeOf("-Game-"),
                      "a level without -Wave1: has no waves: it is won at once");
    }
    int read = 1;
    while (keys.count(read) != 0) {
        ++read;
    }
    for (const auto& [number, place] : keys) {
        if (number > read) {
            session.error(place, format("-Wave%d: lies after a gap (no -Wave%d:): the engine "
                                        "stops at the gap and never plays it",
                                        number, read));
        }
    }
    std::string levelFolder = splitPath(header.dialog.FilePath, true, true, false, false);
    std::vector<std::string> waves = readWaveFileList(header.text, levelFolder);
    for (size_t i = 0; i < waves.size(); ++i) {
        checkWaveFile(session, waves[i], i == 0,
                      header.placeOf(format("-Wave%d:", static_cast<int>(i + 1))));
    }
}

void checkLevelName(CheckSession& session, const DialogHeader& header) {
    std::string relative = splitPath(header.dialog.FilePath, true, true, false, false);
    makeDataRelative(relative);
    relative += "strings.lng";
    for (const std::string& language : session.languages()) {
        std::string file = gameFolder() + language + "\\" + relative;
        if (!fileExists(file)) {
            file = gameFolder() + "data\\" + relative;
        }
        if (findStringInFile(kLevelNameKey, file).empty()) {
            session.warning(header.placeOf("-Game-"),
                            format("%s has no %s: the level shows '%s', and the engine adds the "
                                   "key to that file",
                                   reportedFileName(file).c_str(), kLevelNameKey, kLevelNameKey));
        }
    }
}

void checkLevelNodes(CheckSession& session, const DialogHeader& header) {
    if (header.source.text.find(std::string("-Name:") + kShipName) == std::string::npos) {
        session.warning(header.placeOf("-Game-"),
                        format("no sprite is named %s: no ship flies the path, so the level is "
                               "never won",
                               kShipName));
    }
    if (header.source.text.find(std::string("-Name:") + kAimerName) == std::string::npos) {
        session.warning(header.placeOf("-Game-"),
                        format("no sprite is named %s: holes cannot be dropped", kAimerName));
    }
}

void checkNextLevel(CheckSession& session, const DialogHeader& header) {
    std::string next;
    if (!getKeyValue(header.text, "-Game-NextLevel:", next)) {
        return;
    }
    next = trim(next);
    if (session.dialogs.count(next) == 0 && session.scriptStrings.count(next) == 0) {
        session.warning(
            header.placeOf("-Game-NextLevel:"),
            format("next level '%s' is no dialog name and no script mentions it", next.c_str()));
    }
}

} // namespace

void checkLevelHeader(CheckSession& session, const DialogHeader& header) {
    if (header.text.find("-Game-") == std::string::npos) {
        return;
    }
    session.noteUse(kLevelFeature, header.placeOf("-Game-"));
    std::string tutorial;
    if (getKeyValue(header.text, "-Game-ShowTutorialOn1stFire:", tutorial) &&
        readDescriptionInt(tutorial) != 0) {
        session.noteUse(kFireTutorialFeature, header.placeOf("-Game-ShowTutorialOn1stFire:"));
    }
    checkWaveKeys(session, header);
    checkLevelName(session, header);
    checkLevelNodes(session, header);
    checkNextLevel(session, header);
}

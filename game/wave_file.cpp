#include "wave_file.h"

#include "scene/description_values.h"
#include "utils/debug.h"
#include "utils/number_text.h"
#include "utils/utils_fs.h"
#include "utils/utils_str.h"

namespace {

const char* const kActorKey = "Actor:";
const char* const kNameKey = "-Name:";
const char* const kBlockStart = "<Points>";
const char* const kBlockEnd = "</Points>";

// Index just after the first `key` at or after `from` that starts a line (at the start of the
// text or after a line feed), or npos.
size_t findLineKey(const std::string& text, const std::string& key, size_t from) {
    for (size_t at = text.find(key, from); at != std::string::npos; at = text.find(key, at + 1)) {
        if (at == 0 || text[at - 1] == '\n') {
            return at + key.size();
        }
    }
    return std::string::npos;
}

// The text from `from` up to the end of its line.
std::string restOfLine(const std::string& text, size_t from) {
    size_t end = text.find('\n', from);
    return text.substr(from, end == std::string::npos ? std::string::npos : end - from);
}

// Editor units in level units; a value whose level units are beyond the float range is
// reported and read as 0, like any number beyond it.
float toLevelUnits(float editorValue) {
    return engineFloat(static_cast<double>(editorValue) * kEditorUnit,
                       format("%g editor units", static_cast<double>(editorValue)));
}

irr::core::vector2df readTaggedPoint(const std::string& value) {
    float x = 0;
    float y = 0;
    readTaggedFloat(value, 'x', x);
    readTaggedFloat(value, 'y', y);
    return irr::core::vector2df(toLevelUnits(x), toLevelUnits(y));
}

WaveActor readActor(const std::string& line, int depth) {
    WaveActor actor;
    actor.depth = depth;
    size_t colon = line.find(':');
    std::string head = line.substr(0, colon);
    std::string values = colon == std::string::npos ? std::string() : line.substr(colon + 1);

    actor.name = head.substr(0, head.find_first_of(" #$|"));
    size_t rotation = head.find(" r[");
    if (rotation != std::string::npos) {
        rotation += 3;
        size_t close = head.find(']', rotation);
        actor.rotation = readDescriptionFloat(head.substr(
            rotation, close == std::string::npos ? std::string::npos : close - rotation));
    }
    readTaggedFloat(values, 'x', actor.x);
    readTaggedFloat(values, 'y', actor.y);
    readTaggedFloat(values, 'w', actor.w);
    readTaggedFloat(values, 'h', actor.h);
    actor.x = toLevelUnits(actor.x);
    actor.y = toLevelUnits(actor.y);
    actor.w = toLevelUnits(actor.w);
    actor.h = toLevelUnits(actor.h);
    return actor;
}

// A fire spot's name: the block name without "firespot" and "-", cut at its first blank.
std::string fireSpotName(const std::string& blockName) {
    std::string name = replaceAll(replaceAll(blockName, "firespot", ""), "-", "");
    name = trim(name.substr(0, name.find(' ')));
    return name.substr(0, kMaxFireSpotName);
}

void applyPointBlock(const std::string& block, WavePoints& points) {
    std::vector<irr::core::vector2df> blockPoints;
    for (int index = 0;; ++index) {
        std::string key = format("Point[%i]:", index);
        size_t at = block.find(key);
        if (at == std::string::npos) {
            break;
        }
        blockPoints.push_back(readTaggedPoint(restOfLine(block, at + key.size())));
    }
    size_t nameAt = findLineKey(block, kNameKey, 0);
    std::string name = nameAt == std::string::npos ? std::string() : restOfLine(block, nameAt);

    if (name.find("MainPath") != std::string::npos) {
        points.hasMainPath = true;
        points.mainPath = blockPoints;
    }
    if (name.find("firespot") != std::string::npos) {
        if (blockPoints.size() < 2) {
            logDebug(format("Fire spot \"%s\" has %d point(s), needs a start and an end: skipped",
                            name.c_str(), static_cast<int>(blockPoints.size())),
                     __FILE__, __LINE__);
            return;
        }
        FireSpot spot;
        spot.start = blockPoints[0];
        spot.end = blockPoints[1];
        spot.name = fireSpotName(name);
        points.fireSpots.push_back(spot);
    }
}

} // namespace

std::vector<std::string> readWaveFileList(const std::string& header,
                                          const std::string& levelFolder) {
    std::vector<std::string> files;
    std::string value;
    for (int number = 1; getKeyValue(header, format("-Wave%i:", number), value); ++number) {
        files.push_back(levelFolder + value);
    }
    return files;
}

std::vector<WaveActor> readWaveActors(const std::string& text) {
    std::vector<WaveActor> actors;
    int depth = 0;
    for (size_t at = findLineKey(text, kActorKey, 0); at != std::string::npos;
         at = findLineKey(text, kActorKey, at)) {
        actors.push_back(readActor(restOfLine(text, at), depth--));
    }
    return actors;
}

std::string buildActorDescription(const std::vector<WaveActor>& actors) {
    std::string description;
    for (const WaveActor& actor : actors) {
        description += "[Sprite]\n";
        description += format("-Texture:\\actors\\%s.spr\n", actor.name.c_str());
        description += format("-Position:x%f y%f s%i\n", actor.x, actor.y, actor.depth);
        description += format("-Size:w%f h%f\n", actor.w, actor.h);
        description += format("-Rotation:%f\n", actor.rotation);
        description += "\n";
    }
    return description;
}

WavePoints readWavePoints(const std::string& text) {
    WavePoints points;
    const std::string start = kBlockStart;
    const std::string end = kBlockEnd;
    for (size_t from = text.find(start); from != std::string::npos; from = text.find(start, from)) {
        from += start.size();
        size_t close = text.find(end, from);
        if (close == std::string::npos) {
            break;
        }
        applyPointBlock(text.substr(from, close - from), points);
        from = close + end.size();
    }
    return points;
}

std::string readWaveText(const std::string& path) {
    std::string text;
    if (!readTextFile(path, text)) {
        return std::string();
    }
    return text;
}

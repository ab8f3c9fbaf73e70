#include "description_check.h"

#include "core/game_client.h"
#include "core/vellumengine.h"
#include "description_keys.h"
#include "key_value_check.h"
#include "reference_check.h"
#include "scene/anchor_table.h"
#include "scene/description_values.h"
#include "scene/node_factory.h"
#include "scene/sprite_creation_params.h"
#include "scene/sprite_description.h"
#include "script_check.h"
#include "utils/utils_fs.h"
#include "utils/utils_str.h"

#include <algorithm>
#include <map>

namespace {

std::vector<DescriptionRecordCheck>& recordChecks() {
    static auto* checks = new std::vector<DescriptionRecordCheck>();
    return *checks;
}

struct Section {
    size_t first;
    size_t end;
    unsigned places;
};

std::vector<std::string> linesOf(const SourceText& source) {
    return splitList(source.text, '\n', true);
}

std::string placeName(unsigned places) {
    if (places & kAnchorKey) {
        return "an [Anchor] section";
    }
    if (places & kDialogHeaderKey) {
        return "a dialog header";
    }
    return "a sprite section";
}

// The key text of a key line: up to and with the first colon, or the trimmed line for a marker.
std::string keyTextOf(const std::string& line) {
    size_t colon = line.find(':');
    return colon == std::string::npos ? trim(line) : line.substr(0, colon + 1);
}

// The sprite sections (own, then sub-sprites) and anchor sections of lines [first, end), split as
// the engine's parser splits the text: everything from the first "[Anchor]" line on is anchors; a
// "[Sprite]" line opens a sub-sprite unless it is the text's first line.
std::vector<Section> splitSections(const std::vector<std::string>& lines, size_t first, size_t end,
                                   bool firstIsSubSprite) {
    std::vector<Section> sections;
    size_t anchors = end;
    for (size_t i = first; i < end; ++i) {
        if (startsWith(lines[i], "[Anchor]")) {
            anchors = i;
            break;
        }
    }
    size_t start = first;
    if (start < anchors && startsWith(lines[start], "[Sprite]")) {
        ++start;
    }
    unsigned ownPlaces = kSpriteKey | (firstIsSubSprite ? kSubSpriteKey : 0u);
    for (size_t i = start; i <= anchors; ++i) {
        if (i == anchors || startsWith(lines[i], "[Sprite]")) {
            sections.push_back(
                Section{start, i, sections.empty() ? ownPlaces : kSpriteKey | kSubSpriteKey});
            start = i + 1;
        }
    }
    for (size_t i = anchors; i < end; ++i) {
        if (!startsWith(lines[i], "[Anchor]")) {
            continue;
        }
        size_t next = i + 1;
        while (next < end && !startsWith(lines[next], "[Anchor]")) {
            ++next;
        }
        sections.push_back(Section{i + 1, next, kAnchorKey});
    }
    return sections;
}

bool isBlankSection(const std::vector<std::string>& lines, const Section& section) {
    for (size_t i = section.first; i < section.end; ++i) {
        if (!trim(lines[i]).empty()) {
            return false;
        }
    }
    return true;
}

std::string sectionText(const std::vector<std::string>& lines, const Section& section) {
    std::string text = "\n";
    for (size_t i = section.first; i < section.end; ++i) {
        text += lines[i] + "\n";
    }
    return text;
}

void checkTextureOf(CheckSession& session, const SpriteDescription& record,
                    const SectionLines& keys) {
    if (!record.Text.empty()) {
        checkStringKey(session, record.Text, keys.placeOf("-Text:"));
        return;
    }
    // Without a texture name the description's own folder is taken as the texture.
    if (record.TexturePath.empty() || record.TexturePath.back() == '\\') {
        session.error(keys.start(), "a sprite without -Texture: and without -Text: gets its own "
                                    "folder as its texture: the engine stops with \"Failed to "
                                    "load\"");
        return;
    }
    checkSpriteSource(session, record.TexturePath, keys.placeOf("-Texture:"));
}

void checkActions(CheckSession& session, const SpriteDescription& record,
                  const SectionLines& keys) {
    const std::pair<const char*, const std::string*> actions[] = {
        {"-Event.Mouse.Click.Action:", &record.ClickAction},
        {"-Event.Mouse.Drag.Action:", &record.DragAction},
        {"-Event.Mouse.RClick.Action:", &record.RClickAction},
        {"-Event.Mouse.Click.AutodisableIf.Action:", &record.AutodisableAction},
        {"-Event.Mouse.Over.In.Script:", &record.OverInScript},
        {"-Event.Mouse.Over.Out.Script:", &record.OverOutScript},
        {"-Event.Created.Action:", &record.CreatedAction},
        {"-Event.WhileVisible.Action:", &record.WhileVisibleAction},
        {"-Event.Destroyed.Action:", &record.DestroyedAction},
    };
    for (const auto& [key, code] : actions) {
        if (!code->empty()) {
            checkActionCode(session, *code, keys.placeOf(key));
        }
    }
    if (!record.ScriptName.empty()) {
        std::string value;
        CheckPlace place =
            keys.placeOf(getKeyValue(keys.text(), "-Animation.ByScriptMethod:", value)
                             ? "-Animation.ByScriptMethod:"
                             : "-Animation.Scripted:");
        checkScriptFunctionName(session, record.ScriptName, place);
        if (!record.ScriptArgs.empty()) {
            checkScriptFunctionName(session, record.ScriptArgs, place);
        }
    }
}

// What the record of one sprite section names and asks for.
void checkRecord(CheckSession& session, const SpriteDescription& record, const SectionLines& keys) {
    checkTextureOf(session, record, keys);
    const std::pair<const char*, const std::string*> images[] = {
        {"-Event.Mouse.Click.Image:", &record.ClickImage},
        {"-Event.Mouse.Over.Image:", &record.OverImage},
        {"-Event.Mouse.Click.AutodisableIf.Image:", &record.AutodisableImage},
    };
    for (const auto& [key, path] : images) {
        if (!path->empty()) {
            checkSpriteSource(session, *path, keys.placeOf(key));
        }
    }
    for (const std::string& file : record.GenFiles) {
        checkSpriteSource(session, file, keys.placeOf("-Animation.RandomSprGenerator:"));
    }
    const std::pair<const char*, const std::string*> sounds[] = {
        {"-Event.Created.Sound:", &record.CreatedSound},
        {"-Event.Destroyed.Sound:", &record.DestroyedSound},
        {"-Event.WhileVisible.Sound:", &record.WhileVisibleSound},
        {"-Event.Mouse.Over.Sound:", &record.OverSound},
        {"-Event.Mouse.Click.Sound:", &record.ClickSound},
    };
    for (const auto& [key, name] : sounds) {
        if (!name->empty()) {
            checkSoundEffect(session, *name, keys.placeOf(key));
        }
    }
    if (!record.Label.empty()) {
        checkStringKey(session, record.Label, keys.placeOf("-Label:"));
        checkMarkup(session, record.LabelFormatting, keys.placeOf("-Label.Formatting:"));
    }
    if (record.FrameTime != 0 && parseFrameLayout(record.FrameLayout).frames.empty()) {
        session.error(keys.placeOf("-Animation.Texture:"),
                      format("frame layout '%s' gives no frames: the sprite is not animated",
                             record.FrameLayout.c_str()));
    }
    if (!record.Name.empty() && record.Name.find('$') == std::string::npos) {
        session.defineName(record.Name);
    }
    if (!record.Parent.empty() && record.Parent.find('$') == std::string::npos) {
        session.useParent(record.Parent, keys.placeOf("-Parent:"));
    }
    if (!record.DefineAnchor.empty()) {
        session.defineAnchor(record.DefineAnchor);
    }
    if (!record.PositionAnchor.empty() && record.PositionAnchor.find('$') == std::string::npos) {
        session.useAnchor(record.PositionAnchor, keys.placeOf("-Position.Anchor:"));
    }
    checkActions(session, record, keys);
    for (const DescriptionRecordCheck& check : recordChecks()) {
        check(session, record, keys);
    }
}

void checkSpriteSection(CheckSession& session, const SourceText& source, const Section& section,
                        const std::vector<std::string>& lines, const std::string& name,
                        const std::string& sourceFolder,
                        const std::vector<std::string>& macroParams) {
    SectionLines keys{source, lines, section.first, section.end};
    IGameClient* client = getEngine().getClient();
    SpriteDescription* record =
        client ? client->createSpriteDescription() : new SpriteDescription();
    bool parsed = session.readAt(keys.start(), [&] {
        SpriteCreationParams params;
        params.SourceFolder = sourceFolder;
        record->reset(name);
        record->parseDescription(sectionText(lines, section), &macroParams,
                                 sourceFolder.empty() ? nullptr : &params);
    });
    if (parsed) {
        checkRecord(session, *record, keys);
    }
    record->drop();
}

} // namespace

std::string SectionLines::text() const {
    return sectionText(lines, Section{first, end, 0});
}

CheckPlace SectionLines::placeOf(const std::string& key) const {
    for (size_t i = first; i < end && i < lines.size(); ++i) {
        if (lines[i].find(key) != std::string::npos) {
            return source.originOfLine(i);
        }
    }
    return start();
}

CheckPlace SectionLines::start() const {
    // A section's place is its first key line, or the line before it (its header) when empty.
    return source.originOfLine(first > 0 && first >= end ? first - 1 : first);
}

void setDescriptionRecordChecks(std::vector<DescriptionRecordCheck> checks) {
    recordChecks() = std::move(checks);
}

void checkKeyLines(CheckSession& session, const SourceText& source, size_t first, size_t end,
                   unsigned places) {
    std::vector<std::string> lines = linesOf(source);
    std::map<std::string, size_t> seen;
    bool inMultiLineValue = false;
    for (size_t i = first; i < end && i < lines.size(); ++i) {
        const std::string& line = lines[i];
        CheckPlace place = source.originOfLine(i);
        if (line.empty() || line[0] != '-') {
            // Other lines are the author's notes, which the engine ignores; a key written
            // without its dash is ignored too, and surely meant.
            std::string dashed = "-" + keyTextOf(trim(line));
            if (!inMultiLineValue && dashed.back() == ':' && findDescriptionKey(dashed, ~0u)) {
                session.warning(place, format("'%s' lacks the dash of the key '%s': the engine "
                                              "ignores the line",
                                              trim(line).c_str(), dashed.c_str()));
            }
            continue;
        }
        inMultiLineValue = false;
        std::string keyText = keyTextOf(line);
        const DescriptionKey* key = findDescriptionKey(keyText, places);
        if (!key) {
            if (keyText.back() != ':') {
                // No key at all (a marker the game does not know, or a note): ignored.
                session.warning(place, format("'%s' has no colon: it is no key, the engine "
                                              "ignores it",
                                              keyText.c_str()));
            } else if (findDescriptionKey(keyText, ~0u)) {
                session.error(place, format("'%s' is not read in %s", keyText.c_str(),
                                            placeName(places).c_str()));
            } else {
                std::string closest = closestDescriptionKey(keyText, places);
                session.error(
                    place, format("unknown key '%s'%s", keyText.c_str(),
                                  closest.empty()
                                      ? ""
                                      : format(" (did you mean '%s'?)", closest.c_str()).c_str()));
            }
            continue;
        }
        auto [previous, firstTime] = seen.emplace(keyText, i);
        if (!firstTime) {
            session.warning(place,
                            format("'%s' repeats the key of line %d: the engine reads only "
                                   "the first",
                                   keyText.c_str(), source.originOfLine(previous->second).line));
        }
        if (key->form == KeyForm::Marker) {
            continue;
        }
        std::string value = line.substr(keyText.size());
        if (trim(value).empty()) {
            bool continues = i + 1 < end && !lines[i + 1].empty() && lines[i + 1][0] != '-' &&
                             lines[i + 1][0] != '[';
            if (continues) {
                inMultiLineValue = true;
            } else {
                session.warning(place, format("'%s' has no value: the engine ignores the key",
                                              keyText.c_str()));
            }
            continue;
        }
        for (const ValueProblem& problem : checkKeyValue(*key, value)) {
            if (problem.error) {
                session.error(place, keyText + " " + problem.message);
            } else {
                session.warning(place, keyText + " " + problem.message);
            }
        }
    }
}

void checkDescriptionLines(CheckSession& session, const SourceText& source, size_t first,
                           size_t end, const DescriptionRoot& root, bool firstIsSubSprite) {
    std::vector<std::string> lines = linesOf(source);
    end = std::min(end, lines.size());
    std::vector<Section> sections = splitSections(lines, first, end, firstIsSubSprite);
    bool own = !firstIsSubSprite;
    for (const Section& section : sections) {
        checkKeyLines(session, source, section.first, section.end, section.places);
        if (section.places & kAnchorKey) {
            // Into the engine's anchor table, as the parser reads them.
            session.readAt(source.originOfLine(section.first),
                           [&] { readAnchors("[Anchor]" + sectionText(lines, section)); });
            continue;
        }
        bool isOwn = own;
        own = false;
        if (!isOwn && isBlankSection(lines, section)) {
            continue;
        }
        if (isOwn) {
            checkSpriteSection(session, source, section, lines, root.name, root.sourceFolder,
                               root.macroParams);
            continue;
        }
        std::string subFolder = root.sourceFolder;
        if (subFolder.empty() && !root.isInline) {
            subFolder = root.name;
        }
        std::string body = sectionText(lines, section);
        checkSpriteSection(session, source, section, lines, "raw:\\" + body, subFolder,
                           root.macroParams);
    }
}

void checkDescriptionFile(CheckSession& session, const std::string& source,
                          const CheckPlace& namedAt) {
    std::string path = source;
    std::string parameters;
    std::vector<std::string> macroParams;
    size_t question = path.find('?');
    if (question != std::string::npos) {
        parameters = path.substr(question);
        macroParams = splitList(path.substr(question + 1), '&', false);
        path = path.substr(0, question);
    }
    std::string resolved;
    session.readAt(namedAt, [&] { resolved = resolveDataPath(path); });
    // A file is read once for each set of parameters, however it was named.
    if (!session.firstVisit(resolved + parameters)) {
        return;
    }
    for (const std::string& param : macroParams) {
        if (std::count(param.begin(), param.end(), '=') != 1) {
            session.error(namedAt, format("macro parameter '%s' is not name=value: the engine "
                                          "stops on \"Wrong params in spr creation\"",
                                          param.c_str()));
            return;
        }
    }
    if (!fileExists(resolved)) {
        session.error(namedAt,
                      format("description '%s' does not exist", reportedFileName(path).c_str()));
        return;
    }
    SourceText text;
    if (!readSourceText(resolved, text) || trim(text.text).empty()) {
        session.error(CheckPlace{resolved, 0}, "empty description: the engine shows \"Empty "
                                               "sprite\" and makes a sprite without texture");
        return;
    }
    reportMissingIncludes(session, text);
    std::string name = path;
    makeDataRelative(name);
    checkDescriptionLines(session, text, 0, text.lines.size(),
                          DescriptionRoot{name, std::string(), macroParams, false}, false);
}

void reportMissingIncludes(CheckSession& session, const SourceText& source) {
    for (const auto& [origin, missing] : source.missingIncludes) {
        session.error(
            origin, format("included file '%s' does not exist", reportedFileName(missing).c_str()));
    }
}

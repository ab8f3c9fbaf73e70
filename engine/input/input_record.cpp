#include "input_record.h"

#include "utils/utils_str.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <iterator>

namespace {

// Mouse event words, indexed by the device's event number.
const char* const kMouseEventNames[] = {
    "left-down",     "right-down",  "middle-down",  "left-up",       "right-up",
    "middle-up",     "move",        "wheel",        "left-double",   "right-double",
    "middle-double", "left-triple", "right-triple", "middle-triple",
};
static_assert(std::size(kMouseEventNames) == irr::EMIE_COUNT, "one word for each mouse event");

constexpr int kButtonMaskLimit = 31;
constexpr int kLastCharacter = 0x10FFFF;
const char* const kButtonsPrefix = "buttons=";

irr::SEvent emptyEvent() {
    irr::SEvent event;
    std::memset(&event, 0, sizeof event);
    return event;
}

// A line or word as a problem report quotes it: a long one (the file may hold anything) is
// cut.
std::string quoted(const std::string& text) {
    constexpr size_t kQuotedLength = 80;
    return text.size() <= kQuotedLength ? text : text.substr(0, kQuotedLength) + "...";
}

// A whole decimal number within [low, high]; nothing else may be in the word.
bool readNumber(const std::string& word, int low, int high, int& value) {
    int parsed = 0;
    const char* end = word.data() + word.size();
    std::from_chars_result result = std::from_chars(word.data(), end, parsed);
    if (result.ec != std::errc() || result.ptr != end || parsed < low || parsed > high) {
        return false;
    }
    value = parsed;
    return true;
}

bool readFlag(const std::string& word, bool& value) {
    int number = 0;
    if (!readNumber(word, 0, 1, number)) {
        return false;
    }
    value = number != 0;
    return true;
}

bool readDelta(const std::string& word, float& value) {
    const char* end = word.data() + word.size();
    std::from_chars_result result = std::from_chars(word.data(), end, value);
    return result.ec == std::errc() && result.ptr == end && std::isfinite(value);
}

std::vector<std::string> wordsOf(const std::string& line) {
    return splitList(replaceAll(line, "\t", " "), ' ', false);
}

// Fills the mouse part of the event from the words after "mouse"; an empty text when they are
// right, otherwise what is wrong.
std::string readMouse(const std::vector<std::string>& words, irr::SEvent& event) {
    if (words.size() < 5) {
        return "a mouse event needs the event and the position X Y";
    }
    const std::string name = toLower(words[2]);
    const char* const* found =
        std::find_if(std::begin(kMouseEventNames), std::end(kMouseEventNames),
                     [&name](const char* known) { return name == known; });
    if (found == std::end(kMouseEventNames)) {
        return format("unknown mouse event \"%s\"", quoted(words[2]).c_str());
    }
    irr::SEvent::SMouseInput& mouse = event.MouseInput;
    event.EventType = irr::EET_MOUSE_INPUT_EVENT;
    mouse.Event = static_cast<irr::EMOUSE_INPUT_EVENT>(found - std::begin(kMouseEventNames));
    int x = 0;
    int y = 0;
    if (!readNumber(words[3], INT32_MIN, INT32_MAX, x) ||
        !readNumber(words[4], INT32_MIN, INT32_MAX, y)) {
        return "the position X Y must be two whole numbers";
    }
    mouse.X = x;
    mouse.Y = y;
    size_t next = 5;
    if (mouse.Event == irr::EMIE_MOUSE_WHEEL) {
        if (words.size() <= next || !readDelta(words[next], mouse.Wheel)) {
            return "a wheel event needs the wheel's turn after the position";
        }
        ++next;
    }
    for (; next < words.size(); ++next) {
        const std::string word = toLower(words[next]);
        int mask = 0;
        if (word == "shift") {
            mouse.Shift = true;
        } else if (word == "ctrl") {
            mouse.Control = true;
        } else if (startsWith(word, kButtonsPrefix) &&
                   readNumber(mid(word, static_cast<int>(std::strlen(kButtonsPrefix))), 0,
                              kButtonMaskLimit, mask)) {
            mouse.ButtonStates = static_cast<irr::u32>(mask);
        } else {
            return format("unexpected \"%s\" (shift, ctrl or buttons=MASK from 0 to %d)",
                          quoted(words[next]).c_str(), kButtonMaskLimit);
        }
    }
    return std::string();
}

std::string readKey(const std::vector<std::string>& words, irr::SEvent& event) {
    if (words.size() != 7) {
        return "a key event is: FRAME key down|up KEYCODE CHAR SHIFT CTRL";
    }
    irr::SEvent::SKeyInput& key = event.KeyInput;
    event.EventType = irr::EET_KEY_INPUT_EVENT;
    const std::string direction = toLower(words[2]);
    if (direction != "down" && direction != "up") {
        return format("\"%s\" is neither down nor up", quoted(words[2]).c_str());
    }
    key.PressedDown = direction == "down";
    int code = 0;
    if (!readNumber(words[3], 0, irr::KEY_KEY_CODES_COUNT - 1, code)) {
        return format("the key code must be a number from 0 to %d", irr::KEY_KEY_CODES_COUNT - 1);
    }
    key.Key = static_cast<irr::EKEY_CODE>(code);
    int character = 0;
    if (!readNumber(words[4], 0, kLastCharacter, character)) {
        return "the character must be a number (0 for none)";
    }
    key.Char = static_cast<wchar_t>(character);
    bool shift = false;
    bool control = false;
    if (!readFlag(words[5], shift) || !readFlag(words[6], control)) {
        return "shift and ctrl must be 0 or 1";
    }
    key.Shift = shift;
    key.Control = control;
    return std::string();
}

// An empty text when the line holds an event, otherwise what is wrong.
std::string readLine(const std::vector<std::string>& words, RecordedEvent& recorded) {
    if (words.size() < 2) {
        return "a line is: FRAME mouse|key followed by the event";
    }
    if (!readNumber(words[0], 1, INT32_MAX, recorded.frame)) {
        return "the frame must be a whole number from 1 on";
    }
    const std::string device = toLower(words[1]);
    if (device == "mouse") {
        return readMouse(words, recorded.event);
    }
    if (device == "key") {
        return readKey(words, recorded.event);
    }
    return format("unknown input \"%s\" (mouse or key)", quoted(words[1]).c_str());
}

} // namespace

bool isRecordedInput(const irr::SEvent& event) {
    return event.EventType == irr::EET_MOUSE_INPUT_EVENT ||
           event.EventType == irr::EET_KEY_INPUT_EVENT;
}

std::string formatRecordedEvent(int frame, const irr::SEvent& event) {
    if (event.EventType == irr::EET_KEY_INPUT_EVENT) {
        const irr::SEvent::SKeyInput& key = event.KeyInput;
        return format("%d key %s %d %u %d %d", frame, key.PressedDown ? "down" : "up",
                      static_cast<int>(key.Key), static_cast<unsigned>(key.Char), key.Shift ? 1 : 0,
                      key.Control ? 1 : 0);
    }
    if (event.EventType != irr::EET_MOUSE_INPUT_EVENT ||
        event.MouseInput.Event >= irr::EMIE_COUNT) {
        return std::string();
    }
    const irr::SEvent::SMouseInput& mouse = event.MouseInput;
    std::string line = format("%d mouse %s %d %d", frame, kMouseEventNames[mouse.Event],
                              static_cast<int>(mouse.X), static_cast<int>(mouse.Y));
    if (mouse.Event == irr::EMIE_MOUSE_WHEEL) {
        // Nine significant digits give back the same float when read.
        line += format(" %.9g", static_cast<double>(mouse.Wheel));
    }
    if (mouse.Shift) {
        line += " shift";
    }
    if (mouse.Control) {
        line += " ctrl";
    }
    if (mouse.ButtonStates != 0) {
        line += format(" %s%u", kButtonsPrefix, static_cast<unsigned>(mouse.ButtonStates));
    }
    return line;
}

InputRecording parseInputRecording(const std::string& text) {
    InputRecording recording;
    std::vector<std::string> lines = splitList(text, '\n', true);
    for (size_t index = 0; index < lines.size(); ++index) {
        const std::string line = trim(lines[index]);
        if (line.empty() || line[0] == '#') {
            continue;
        }
        RecordedEvent recorded;
        recorded.event = emptyEvent();
        std::string problem = readLine(wordsOf(line), recorded);
        if (problem.empty()) {
            recording.events.push_back(recorded);
        } else {
            recording.problems.push_back(format("line %d (%s): %s", static_cast<int>(index + 1),
                                                quoted(line).c_str(), problem.c_str()));
        }
    }
    std::stable_sort(
        recording.events.begin(), recording.events.end(),
        [](const RecordedEvent& a, const RecordedEvent& b) { return a.frame < b.frame; });
    return recording;
}

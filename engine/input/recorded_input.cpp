#include "recorded_input.h"

#include "platform/files.h"
#include "utils/debug.h"
#include "utils/text_file_check.h"
#include "utils/utils_str.h"

namespace {

// A box lists this many malformed lines at most; the log has the same text.
constexpr size_t kListedProblems = 20;

std::string problemReport(const std::string& path, const std::vector<std::string>& problems) {
    std::string text = format("InputReplay: %d malformed line(s) in %s skipped:",
                              static_cast<int>(problems.size()), path.c_str());
    for (size_t i = 0; i < problems.size() && i < kListedProblems; ++i) {
        text += "\n" + problems[i];
    }
    if (problems.size() > kListedProblems) {
        text += format("\n... and %d more", static_cast<int>(problems.size() - kListedProblems));
    }
    return text;
}

} // namespace

bool CRecordedInput::startRecording(const std::string& path) {
    if (!recordFile.open(path)) {
        showErrorBox("InputRecord: cannot create " + path, false);
        return false;
    }
    recordPath = path;
    return true;
}

bool CRecordedInput::startReplay(const std::string& path) {
    std::string text;
    if (!readWholeFile(path, text)) {
        showErrorBox("InputReplay: cannot read " + path, false);
        return false;
    }
    if (!checkTextFileBytes(path, text)) {
        return false;
    }
    InputRecording recording = parseInputRecording(text);
    if (!recording.problems.empty()) {
        showErrorBox(problemReport(path, recording.problems), false);
    }
    replayEvents = std::move(recording.events);
    nextReplayEvent = 0;
    replaying = true;
    return true;
}

void CRecordedInput::replayFrame(irr::IrrlichtDevice* device) {
    irr::gui::ICursorControl* cursor = device->getCursorControl();
    while (nextReplayEvent < replayEvents.size() &&
           replayEvents[nextReplayEvent].frame <= currentFrame) {
        const irr::SEvent& event = replayEvents[nextReplayEvent].event;
        ++nextReplayEvent;
        if (event.EventType == irr::EET_MOUSE_INPUT_EVENT && cursor) {
            cursor->setPosition(event.MouseInput.X, event.MouseInput.Y);
        }
        posting = true;
        device->postEventFromUser(event);
        posting = false;
    }
}

bool CRecordedInput::OnEvent(const irr::SEvent& event) {
    struct DepthScope {
        int& depth;
        explicit DepthScope(int& depth) : depth(depth) { ++depth; }
        ~DepthScope() { --depth; }
    } scope(depth);
    if (depth == 1 && isRecordedInput(event)) {
        if (replaying && !posting) {
            return true;
        }
        if (recordFile.isOpen() &&
            !recordFile.write(formatRecordedEvent(currentFrame, event) + "\n")) {
            recordFile.close();
            showErrorBox("InputRecord: writing " + recordPath + " failed; recording stopped",
                         false);
        }
    }
    return target.OnEvent(event);
}

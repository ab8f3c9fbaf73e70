#pragma once

#include "input/input_record.h"
#include "platform/appending_file.h"

#include <irrlicht/irrlicht.h>

#include <string>
#include <vector>

// Stands between the device and the engine's input module in runs that record or replay input
// (the format is in input_record.h). Installed as the device's event receiver, it hands every
// event on. Recording writes each mouse and keyboard event with the number of the frame being
// made. Replaying posts each frame's recorded events through the device, so they take the path of
// live events (this receiver, the GUI, the scene), with the cursor moved to each mouse event's
// position first, so whoever asks the cursor control agrees with the events; live mouse and
// keyboard events are ignored then, so a replay does the same whatever happens at the machine.
// Events raised while another event is being handled are consequences, not input: they are
// passed on and never recorded. Both can run at once: the replayed events are then recorded.
class CRecordedInput : public irr::IEventReceiver {
public:
    explicit CRecordedInput(irr::IEventReceiver& target) : target(target) {}

    // Records into the file (a native or an engine path), created or emptied now. A file that
    // cannot be created is reported and nothing is recorded.
    bool startRecording(const std::string& path);
    // Replays the recording in the file. Malformed lines are reported with their line numbers
    // and skipped; a file that cannot be read is reported and nothing is replayed.
    bool startReplay(const std::string& path);
    bool isRecording() const { return recordFile.isOpen(); }
    bool isReplaying() const { return replaying; }

    // The frame now being made (the first is 1): events delivered from now on belong to it.
    void beginFrame(int frame) { currentFrame = frame; }
    // Posts the replayed events of the frames up to the current one that are not posted yet.
    void replayFrame(irr::IrrlichtDevice* device);

    bool OnEvent(const irr::SEvent& event) override;

private:
    irr::IEventReceiver& target;
    AppendingFile recordFile;
    std::string recordPath;
    std::vector<RecordedEvent> replayEvents;
    size_t nextReplayEvent = 0;
    bool replaying = false;
    // True while a replayed event is posted.
    bool posting = false;
    // Events being handled now (above 1: raised while handling another).
    int depth = 0;
    int currentFrame = 1;
};

#include "input/input_record.h"
#include "input/recorded_input.h"
#include "support/message_box_recorder.h"
#include "support/temporary_folder.h"
#include "utils/debug.h"
#include "utils/modal_gui_loop.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace {

// Writes down every event it receives as a recording line of the frame the test is at, with the
// cursor position the device reports for mouse events.
class WatchingReceiver : public irr::IEventReceiver {
public:
    bool OnEvent(const irr::SEvent& event) override {
        if (!isRecordedInput(event)) {
            seen.push_back("other");
        } else {
            std::string line = formatRecordedEvent(frame, event);
            if (event.EventType == irr::EET_MOUSE_INPUT_EVENT) {
                irr::core::position2di at = device->getCursorControl()->getPosition();
                line += " @" + std::to_string(at.X) + "," + std::to_string(at.Y);
            }
            seen.push_back(line);
        }
        if (reaction) {
            reaction(event);
        }
        return false;
    }

    irr::IrrlichtDevice* device = nullptr;
    int frame = 0;
    std::vector<std::string> seen;
    std::function<void(const irr::SEvent&)> reaction;
};

irr::SEvent fromLine(const std::string& line) {
    InputRecording recording = parseInputRecording(line);
    EXPECT_EQ(recording.events.size(), 1u) << line;
    return recording.events.front().event;
}

irr::SEvent userEvent() {
    irr::SEvent event;
    std::memset(&event, 0, sizeof event);
    event.EventType = irr::EET_USER_EVENT;
    return event;
}

// A NULL-driver device whose receiver is the recorder in front of a watching receiver.
class RecordedInputTest : public ::testing::Test {
protected:
    void SetUp() override {
        setDebugLogFolder(folder.engine());
        device = irr::createDevice(irr::video::EDT_NULL);
        watcher.device = device;
        device->setEventReceiver(&recorder);
    }
    void TearDown() override {
        device->setEventReceiver(nullptr);
        device->drop();
    }

    // Runs frames 1..last as the main loop does: the frame begins, then its events are posted.
    void runFrames(int last) {
        for (int frame = 1; frame <= last; ++frame) {
            watcher.frame = frame;
            recorder.beginFrame(frame);
            recorder.replayFrame(device);
        }
    }

    TemporaryFolder folder;
    MessageBoxRecorder boxes;
    irr::IrrlichtDevice* device = nullptr;
    WatchingReceiver watcher;
    CRecordedInput recorder{watcher};
};

} // namespace

TEST_F(RecordedInputTest, RecordingWritesEveryInputEventWithItsFrameAndPassesAllOn) {
    ASSERT_TRUE(recorder.startRecording(folder.native() + "input.txt"));
    recorder.beginFrame(2);
    device->postEventFromUser(fromLine("1 mouse move 30 40"));
    device->postEventFromUser(userEvent());
    recorder.beginFrame(5);
    device->postEventFromUser(fromLine("1 mouse left-down 30 40 buttons=1"));
    device->postEventFromUser(fromLine("1 key down 65 97 0 0"));
    // Written as it happens: the file is complete while the run goes on.
    EXPECT_EQ(folder.read("input.txt"), "2 mouse move 30 40\n"
                                        "5 mouse left-down 30 40 buttons=1\n"
                                        "5 key down 65 97 0 0\n");
    EXPECT_EQ(watcher.seen.size(), 4u);
    EXPECT_EQ(watcher.seen[1], "other");
}

TEST_F(RecordedInputTest, EventsRaisedWhileHandlingAnotherArePassedOnButNotRecorded) {
    ASSERT_TRUE(recorder.startRecording(folder.native() + "input.txt"));
    bool raised = false;
    watcher.reaction = [this, &raised](const irr::SEvent& event) {
        if (event.EventType == irr::EET_KEY_INPUT_EVENT && !raised) {
            raised = true;
            device->postEventFromUser(fromLine("1 mouse right-down 1 1"));
        }
    };
    watcher.frame = 3;
    recorder.beginFrame(3);
    device->postEventFromUser(fromLine("1 key down 13 13 0 0"));
    EXPECT_EQ(folder.read("input.txt"), "3 key down 13 13 0 0\n");
    ASSERT_EQ(watcher.seen.size(), 2u);
    EXPECT_EQ(watcher.seen[1].rfind("3 mouse right-down 1 1", 0), 0u) << watcher.seen[1];
}

TEST_F(RecordedInputTest, ReplayPostsEventsAtTheirFramesWithTheCursorAtTheirPositions) {
    folder.write("replay.txt", "2 mouse move 100 50\n"
                               "2 mouse left-down 101 51 buttons=1\n"
                               "4 mouse wheel 7 8 -1\n"
                               "4 key down 72 104 0 0\n"
                               "5 mouse left-up 9 9\n");
    ASSERT_TRUE(recorder.startReplay(folder.native() + "replay.txt"));
    EXPECT_TRUE(recorder.isReplaying());
    runFrames(4);
    EXPECT_EQ(watcher.seen, (std::vector<std::string>{
                                "2 mouse move 100 50 @100,50",
                                "2 mouse left-down 101 51 buttons=1 @101,51",
                                "4 mouse wheel 7 8 -1 @7,8",
                                "4 key down 72 104 0 0",
                            }));
    EXPECT_TRUE(boxes.boxes().empty());
}

TEST_F(RecordedInputTest, LiveInputIsIgnoredWhileReplayingButOtherEventsPass) {
    folder.write("replay.txt", "1 key down 65 97 0 0\n");
    ASSERT_TRUE(recorder.startReplay(folder.native() + "replay.txt"));
    device->postEventFromUser(fromLine("1 mouse move 5 5"));
    device->postEventFromUser(fromLine("1 key down 66 98 0 0"));
    device->postEventFromUser(userEvent());
    runFrames(1);
    EXPECT_EQ(watcher.seen, (std::vector<std::string>{"other", "1 key down 65 97 0 0"}));
}

TEST_F(RecordedInputTest, ARecordingReplayedAndRecordedAgainGivesTheSameEventsAndFile) {
    const std::string text = "1 mouse move 3 4\n"
                             "1 mouse left-down 3 4 buttons=1\n"
                             "1 mouse left-double 3 4\n"
                             "2 mouse left-up 3 4\n"
                             "3 mouse middle-triple 0 0 shift ctrl buttons=4\n"
                             "6 mouse wheel 1 2 0.5\n"
                             "6 key down 16 0 1 0\n"
                             "7 key down 65 65 1 0\n"
                             "7 key up 65 65 1 0\n";
    folder.write("first.txt", text);
    ASSERT_TRUE(recorder.startReplay(folder.native() + "first.txt"));
    ASSERT_TRUE(recorder.startRecording(folder.native() + "second.txt"));
    runFrames(8);
    EXPECT_EQ(folder.read("second.txt"), text);
    std::string seen;
    for (const std::string& line : watcher.seen) {
        seen += line.substr(0, line.find(" @")) + "\n";
    }
    EXPECT_EQ(seen, text);
}

TEST_F(RecordedInputTest, MalformedLinesAreReportedOnceWithTheirNumbersAndTheRestReplays) {
    folder.write("replay.txt", "1 mouse move 1 1\n"
                               "2 mouse fly 1 1\n"
                               "# fine\n"
                               "2 key down 65\n"
                               "3 key up 65 97 0 0\n");
    ASSERT_TRUE(recorder.startReplay(folder.native() + "replay.txt"));
    ASSERT_EQ(boxes.boxes().size(), 1u);
    const std::string& box = boxes.boxes()[0].text;
    EXPECT_NE(box.find("2 malformed line(s)"), std::string::npos) << box;
    EXPECT_NE(box.find("line 2 (2 mouse fly 1 1): unknown mouse event \"fly\""), std::string::npos)
        << box;
    EXPECT_NE(box.find("line 4 (2 key down 65)"), std::string::npos) << box;
    runFrames(3);
    EXPECT_EQ(watcher.seen,
              (std::vector<std::string>{"1 mouse move 1 1 @1,1", "3 key up 65 97 0 0"}));
}

TEST_F(RecordedInputTest, FilesThatCannotBeUsedAreReportedAndNothingHappens) {
    EXPECT_FALSE(recorder.startReplay(folder.native() + "missing.txt"));
    EXPECT_FALSE(recorder.startRecording(folder.native() + "no/such/folder/input.txt"));
    EXPECT_FALSE(recorder.isReplaying());
    EXPECT_FALSE(recorder.isRecording());
    EXPECT_TRUE(boxes.sawText("InputReplay: cannot read " + folder.native() + "missing.txt"));
    EXPECT_TRUE(boxes.sawText("InputRecord: cannot create"));
    device->postEventFromUser(fromLine("1 mouse move 5 5"));
    EXPECT_EQ(watcher.seen.size(), 1u);
}

namespace {

class CountingModalReceiver : public ModalEventReceiver {
public:
    int events = 0;

protected:
    bool handle(const irr::SEvent&) override {
        ++events;
        return true;
    }
};

} // namespace

TEST_F(RecordedInputTest, AModalLoopTakesTheEventsForItsTimeAndHandsTheRecorderBack) {
    ASSERT_TRUE(recorder.startRecording(folder.native() + "input.txt"));
    CountingModalReceiver modal;
    {
        ModalOwner owner{device, nullptr};
        ModalGuiLoop loop(owner, modal);
        device->postEventFromUser(fromLine("1 key down 65 97 0 0"));
    }
    EXPECT_EQ(modal.events, 1);
    EXPECT_EQ(device->getEventReceiver(), &recorder);
    recorder.beginFrame(2);
    device->postEventFromUser(fromLine("1 key down 66 98 0 0"));
    EXPECT_EQ(folder.read("input.txt"), "2 key down 66 98 0 0\n");
}

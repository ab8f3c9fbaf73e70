#include "input/input_record.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

irr::SEvent mouseEvent(irr::EMOUSE_INPUT_EVENT kind, int x, int y) {
    irr::SEvent event;
    std::memset(&event, 0, sizeof event);
    event.EventType = irr::EET_MOUSE_INPUT_EVENT;
    event.MouseInput.Event = kind;
    event.MouseInput.X = x;
    event.MouseInput.Y = y;
    return event;
}

irr::SEvent keyEvent(irr::EKEY_CODE key, wchar_t character, bool down, bool shift, bool control) {
    irr::SEvent event;
    std::memset(&event, 0, sizeof event);
    event.EventType = irr::EET_KEY_INPUT_EVENT;
    event.KeyInput.Key = key;
    event.KeyInput.Char = character;
    event.KeyInput.PressedDown = down;
    event.KeyInput.Shift = shift;
    event.KeyInput.Control = control;
    return event;
}

// The fields an input event carries, compared one by one.
void expectSameInput(const irr::SEvent& actual, const irr::SEvent& expected, const char* where) {
    SCOPED_TRACE(where);
    ASSERT_EQ(actual.EventType, expected.EventType);
    if (expected.EventType == irr::EET_MOUSE_INPUT_EVENT) {
        EXPECT_EQ(actual.MouseInput.Event, expected.MouseInput.Event);
        EXPECT_EQ(actual.MouseInput.X, expected.MouseInput.X);
        EXPECT_EQ(actual.MouseInput.Y, expected.MouseInput.Y);
        EXPECT_EQ(actual.MouseInput.Shift, expected.MouseInput.Shift);
        EXPECT_EQ(actual.MouseInput.Control, expected.MouseInput.Control);
        EXPECT_EQ(actual.MouseInput.ButtonStates, expected.MouseInput.ButtonStates);
        if (expected.MouseInput.Event == irr::EMIE_MOUSE_WHEEL) {
            EXPECT_EQ(actual.MouseInput.Wheel, expected.MouseInput.Wheel);
        }
    } else {
        EXPECT_EQ(actual.KeyInput.Key, expected.KeyInput.Key);
        EXPECT_EQ(actual.KeyInput.Char, expected.KeyInput.Char);
        EXPECT_EQ(actual.KeyInput.PressedDown, expected.KeyInput.PressedDown);
        EXPECT_EQ(actual.KeyInput.Shift, expected.KeyInput.Shift);
        EXPECT_EQ(actual.KeyInput.Control, expected.KeyInput.Control);
    }
}

} // namespace

TEST(InputRecord, LinesReadAsTheFormatDescribesThem) {
    irr::SEvent press = mouseEvent(irr::EMIE_LMOUSE_PRESSED_DOWN, 320, 200);
    press.MouseInput.ButtonStates = irr::EMBSM_LEFT;
    irr::SEvent wheel = mouseEvent(irr::EMIE_MOUSE_WHEEL, 5, 6);
    wheel.MouseInput.Wheel = -1.0f;
    wheel.MouseInput.Shift = true;
    wheel.MouseInput.Control = true;
    EXPECT_EQ(formatRecordedEvent(12, mouseEvent(irr::EMIE_MOUSE_MOVED, 320, 240)),
              "12 mouse move 320 240");
    EXPECT_EQ(formatRecordedEvent(41, press), "41 mouse left-down 320 200 buttons=1");
    EXPECT_EQ(formatRecordedEvent(7, wheel), "7 mouse wheel 5 6 -1 shift ctrl");
    EXPECT_EQ(formatRecordedEvent(60, keyEvent(irr::KEY_KEY_H, L'H', true, true, false)),
              "60 key down 72 72 1 0");
    EXPECT_EQ(formatRecordedEvent(3, keyEvent(irr::KEY_RETURN, 0, false, false, true)),
              "3 key up 13 0 0 1");

    irr::SEvent text;
    std::memset(&text, 0, sizeof text);
    text.EventType = irr::EET_LOG_TEXT_EVENT;
    EXPECT_EQ(formatRecordedEvent(1, text), "");
    EXPECT_FALSE(isRecordedInput(text));
}

TEST(InputRecord, EveryMouseEventAndKeyComesBackFromItsLine) {
    std::vector<irr::SEvent> events;
    for (int kind = 0; kind < irr::EMIE_COUNT; ++kind) {
        irr::SEvent event =
            mouseEvent(static_cast<irr::EMOUSE_INPUT_EVENT>(kind), 10 * kind - 3, 480 - kind);
        event.MouseInput.Shift = kind % 2 == 0;
        event.MouseInput.Control = kind % 3 == 0;
        event.MouseInput.ButtonStates = static_cast<irr::u32>(kind) & 0x1F;
        event.MouseInput.Wheel = kind == irr::EMIE_MOUSE_WHEEL ? 0.1f : 0.0f;
        events.push_back(event);
    }
    events.push_back(keyEvent(irr::KEY_KEY_A, L'a', true, false, false));
    events.push_back(keyEvent(irr::KEY_KEY_A, L'A', false, true, true));
    events.push_back(keyEvent(irr::KEY_NONE, 0x263A, true, false, true));
    events.push_back(keyEvent(irr::KEY_ESCAPE, 27, false, false, false));

    std::string text;
    for (size_t i = 0; i < events.size(); ++i) {
        text += formatRecordedEvent(static_cast<int>(i / 3 + 1), events[i]) + "\n";
    }
    InputRecording recording = parseInputRecording(text);
    EXPECT_TRUE(recording.problems.empty()) << recording.problems.front();
    ASSERT_EQ(recording.events.size(), events.size());
    for (size_t i = 0; i < events.size(); ++i) {
        EXPECT_EQ(recording.events[i].frame, static_cast<int>(i / 3 + 1));
        expectSameInput(recording.events[i].event, events[i],
                        formatRecordedEvent(0, events[i]).c_str());
    }
}

TEST(InputRecord, HandWrittenLinesMayUseAnyCaseBlanksAndComments) {
    InputRecording recording =
        parseInputRecording("# a comment\r\n\r\n   7\tMOUSE  Left-Down 1 2  BUTTONS=1 Ctrl \r\n"
                            "  # another\n8 Key DOWN 65 97 0 0");
    EXPECT_TRUE(recording.problems.empty());
    ASSERT_EQ(recording.events.size(), 2u);
    irr::SEvent press = mouseEvent(irr::EMIE_LMOUSE_PRESSED_DOWN, 1, 2);
    press.MouseInput.ButtonStates = 1;
    press.MouseInput.Control = true;
    EXPECT_EQ(recording.events[0].frame, 7);
    expectSameInput(recording.events[0].event, press, "mouse");
    EXPECT_EQ(recording.events[1].frame, 8);
    expectSameInput(recording.events[1].event, keyEvent(irr::KEY_KEY_A, L'a', true, false, false),
                    "key");
}

TEST(InputRecord, MalformedLinesAreReportedWithTheirNumbersAndSkipped) {
    const std::vector<std::string> bad = {
        "0 mouse move 1 2",            // frames start at 1
        "x mouse move 1 2",            // no frame number
        "12abc mouse move 1 2",        // trailing garbage in a number
        "5 pen move 1 2",              // unknown input
        "5 mouse jump 1 2",            // unknown mouse event
        "5 mouse move 1",              // no Y
        "5 mouse move 1 2.5",          // Y not whole
        "5 mouse wheel 1 2",           // no wheel turn
        "5 mouse wheel 1 2 up",        // wheel turn not a number
        "5 mouse move 1 2 alt",        // unknown flag
        "5 mouse move 1 2 buttons=64", // mask out of range
        "5 key down 65 97 0",          // a field missing
        "5 key pressed 65 97 0 0",     // neither down nor up
        "5 key down 256 0 0 0",        // key code out of range
        "5 key down 65 -1 0 0",        // character negative
        "5 key down 65 97 2 0",        // shift not 0 or 1
        "5 key down 65 97 0 0 extra",  // a field too many
        "5",                           // nothing after the frame
    };
    std::string text = "1 mouse move 10 10\n";
    for (const std::string& line : bad) {
        text += line + "\n2 mouse move 20 20\n";
    }
    InputRecording recording = parseInputRecording(text);
    ASSERT_EQ(recording.problems.size(), bad.size());
    for (size_t i = 0; i < bad.size(); ++i) {
        std::string expectedStart = "line " + std::to_string(2 * i + 2) + " (" + bad[i] + "): ";
        EXPECT_EQ(recording.problems[i].rfind(expectedStart, 0), 0u) << recording.problems[i];
        EXPECT_GT(recording.problems[i].size(), expectedStart.size());
    }
    EXPECT_EQ(recording.events.size(), bad.size() + 1);
}

TEST(InputRecord, EventsFollowFrameOrderAndKeepTheirOrderWithinAFrame) {
    InputRecording recording = parseInputRecording("5 mouse move 1 0\n"
                                                   "2 mouse move 2 0\n"
                                                   "5 mouse move 3 0\n"
                                                   "2 mouse move 4 0\n"
                                                   "3 mouse move 5 0\n");
    std::vector<std::pair<int, int>> order;
    for (const RecordedEvent& recorded : recording.events) {
        order.emplace_back(recorded.frame, recorded.event.MouseInput.X);
    }
    EXPECT_EQ(order, (std::vector<std::pair<int, int>>{{2, 2}, {2, 4}, {3, 5}, {5, 1}, {5, 3}}));
}

#pragma once

#include <irrlicht/irrlicht.h>

#include <string>
#include <vector>

// The text format of recorded input (game.ini's InputRecord and InputReplay). One mouse or
// keyboard event per line, led by the number of the frame it belongs to (the first frame drawn is
// 1, as in ScreenshotAt). Words are separated by blanks and read in either case; blank lines and
// lines starting with "#" are ignored.
//
//   FRAME mouse EVENT X Y [DELTA] [shift] [ctrl] [buttons=MASK]
//
// EVENT is one of move, wheel, left-down, left-up, right-down, right-up, middle-down, middle-up,
// left-double, right-double, middle-double, left-triple, right-triple, middle-triple (the double
// and triple clicks are the extra events the device sends after the second and third press). X and
// Y are the cursor's position in the window. DELTA, the wheel's turn (usually 1 or -1), follows
// wheel events only. The words after it are present when true: shift and ctrl held, and MASK the
// buttons held (1 left, 2 right, 4 middle, 8 and 16 the extra buttons).
//
//   FRAME key down|up KEYCODE CHAR SHIFT CTRL
//
// KEYCODE is the key's code (the Windows virtual-key value: 65 for A, 13 for Enter, 27 for
// Escape), CHAR the character the key typed as a number (0 for none), SHIFT and CTRL 0 or 1.
//
//   # press the first button, then type "Hi"
//   40 mouse move 320 200
//   41 mouse left-down 320 200 buttons=1
//   43 mouse left-up 320 200
//   60 key down 72 72 1 0
//   61 key up 72 72 1 0
//   62 key down 73 105 0 0
//   63 key up 73 105 0 0

struct RecordedEvent {
    int frame = 0;
    irr::SEvent event;
};

// The events of a recording and what was wrong with the lines that were left out.
struct InputRecording {
    // In frame order; events of one frame keep the order of their lines.
    std::vector<RecordedEvent> events;
    // One entry for each malformed line: "line N (TEXT): what is wrong".
    std::vector<std::string> problems;
};

// True for the events a recording holds: mouse and keyboard input.
bool isRecordedInput(const irr::SEvent& event);
// The line (without a line break) for a mouse or keyboard event; empty for any other event.
std::string formatRecordedEvent(int frame, const irr::SEvent& event);
// Reads a recording's text (line breaks "\n" or "\r\n").
InputRecording parseInputRecording(const std::string& text);

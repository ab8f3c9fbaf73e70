#pragma once

#include "support/test_program.h"

#include <functional>
#include <map>
#include <string>
#include <vector>

// A window's size in pixels; the scene's picture keeps its 4:3 shape in it, centred.
struct WindowSize {
    int width = 640;
    int height = 480;
};

// The bundled game (its real data) run unattended on the virtual display, driven by recorded
// input, with screenshots and a report of what was on screen at chosen frames.
struct MenuRun {
    // The recorded input (the replay file's text).
    std::string input;
    // Frame -> name under which its screenshot is kept.
    std::map<int, std::string> shots;
    // Frame -> what to report then: a dialog name (1 when it is open), "levelstate", or a script
    // global written "::name" (an integer).
    std::map<int, std::vector<std::string>> checks;
    // Frame -> script code run then (before the checks of that frame).
    std::map<int, std::string> code;
    // Frame -> what the test does to the running game then (before the script code).
    std::map<int, std::function<void()>> actions;
    int lastFrame = 0;
    std::string language = "data_en";
    WindowSize window;
};

// The window's pixel "X Y" that shows the scene point (x, y, z).
std::string screenPoint(float x, float y, float z, WindowSize window = {});
// Replay lines: a move onto the scene point at `frame`, a left click on it two frames later.
std::string clickAt(int frame, float x, float y, float z, WindowSize window = {});
// Replay lines: a key pressed at `frame` and released a frame later.
std::string keyPress(int frame, int keyCode, int character);
// Replay lines: the lower-case word typed from `frame` on, one key every two frames.
std::string typing(int frame, const std::string& word);

// What a run reported: "name@frame" -> value, with "boxes" (message boxes shown) and
// "languagefile" (1 when the language's strings.lng is unchanged, so every shown text had its
// key). Asking for a value the run never reported is a test failure (and gives -1).
class MenuReport {
public:
    int operator[](const std::string& name) const;
    std::map<std::string, int> values;
};

// Runs the game in `program` (whose data become the game's own) and returns its report.
// Screenshots are kept.
MenuReport runMenus(const TestProgram& program, const MenuRun& run);

// The value of the profile file's line "key=value" of the player "Player".
std::string profileValue(const TestProgram& program, const std::string& key);

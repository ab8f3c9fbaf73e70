#pragma once

#include "core/module_highscores.h"

#include <string>
#include <vector>

// Millions of operations one call into the scripts may run by default: about three seconds of
// script work on a current machine.
constexpr int kDefaultScriptOperationBudget = 2000;

// A frame of an unattended run to be written as a PNG to a native path.
struct ScreenshotRequest {
    int frame = 0;
    std::string path;
};

// The machine-wide configuration: game.ini of the game folder (any key overridable on the
// command line as key=value; a game folder of its own without one takes the program's, and one
// that names no AppDataFolder gets its folder's name), the recent players from
// "game_options.ini" in the user folder, and the high-score table.
class EngineConfig {
public:
    // game.ini with "\n" before and after it and the command line's key=value pieces applied:
    // an earlier line of the key is disabled ("//" put before it) and the piece appended as a
    // line. Read once and cached.
    const std::string& getGameIni();
    // The value of the key in getGameIni.
    std::string getGameIniValue(const std::string& key);

    // Reads game.ini, the options file (game.ini when the user has none) and the high scores,
    // after removing the temporary files of saves that a killed process left in the user folder.
    void load();
    // Writes the options file and the high scores (when changed) to the user folder. False when
    // a file could not be written (the player was told; the file on disk is the one before).
    bool save();

    CHighScoreTable HighScores;
    std::string Version = "0.0a";
    std::string ActiveProfile = "Player";
    // Most recent first.
    std::vector<std::string> PastProfiles;
    // 1 when no active profile was recorded at load; 0 after a save.
    int firstRun = 0;
    int Debug = 0;
    int HiQuality = 0;
    int softwareRendering = 0;
    int LogLevel = 0;
    int ShowTooltipAlways = 0;
    int Renderer = 0;
    int BitsPerPixel = 0;
    int VSync = 0;
    int Antialiasing = 0;
    // Cleared by the texture cache when the driver cannot hold large textures.
    int largeTextures = 1;
    int SoundDevice = 0;
    // What one call into the scripts may run, in millions of operations, before it is stopped
    // and reported as a runaway ("ScriptOperationBudget"; 0: no limit).
    int ScriptOperationBudget = kDefaultScriptOperationBudget;

    // Unattended runs: end after this many frames (0: never); advance the stopped device timer
    // by this many milliseconds per frame (0: real time); frames to write as screenshots
    // ("N:PATH[,N:PATH...]").
    int ExitAfterFrames = 0;
    int FixedFrameTime = 0;
    std::vector<ScreenshotRequest> ScreenshotAt;
    // Files (native paths) that every mouse and keyboard event of the run is written to, and whose
    // recorded events are fed to the input module at their frames (input/input_record.h).
    std::string InputRecord;
    std::string InputReplay;

private:
    std::string gameIniText;
};

// Parses "N:PATH[,N:PATH...]"; pieces without a ":" after their frame number are left out.
std::vector<ScreenshotRequest> parseScreenshotRequests(const std::string& text);

// Applies the rule for the list of recent players when `name` becomes active: kept in place
// when among the three most recent, otherwise moved (or added) to the front; at most the first
// ten old entries are kept, duplicates and empty entries are dropped.
void updatePastProfiles(std::vector<std::string>& pastProfiles, const std::string& name);

#pragma once

#include <map>
#include <string>
#include <vector>

// One unattended run of a bundled level: the game's real data (of its scripts only the rules) in
// a program folder of its own, with a start-up script that opens the level at once and counts
// how the level ends.
struct BundledLevelRun {
    std::string level;            // dialog name, for example "level1"
    int frames = 0;               // frames of FixedFrameTime ms before the run ends
    int frameTime = 20;           // ms of game time per frame
    int shotFrame = 0;            // frame of the screenshot, 0 for none
    std::string shotPath;         // where the screenshot goes
    std::string replay;           // recorded input fed to the run, empty for none
    std::vector<int> probeFrames; // frames at which the HUD and the notes are reported
};

// Runs the game (in a child process) and returns its report: for each name the numbers written
// under it. "good" and "bad": calls of levelFinished_Good and levelFinished_Bad; "boxes": message
// boxes (script errors among them); "target" and "rocks": the live TARGET and rock objects at the
// end;
// "ship@N": the ship's position and "target@N" the live TARGET objects at the screenshot's
// frame N. At each probe frame N: "energy@N": the level's energy, the column of the energy
// gauge's atlas it calls for and the column shown; "bars@N": the health bars shown (not faded
// out); "note@N": the box the first-fire tutorial's panel covers, seen in the plane of the
// objects (left, bottom, right, top in scene units; absent while there is none).
std::map<std::string, std::vector<float>> runBundledLevel(const BundledLevelRun& run);

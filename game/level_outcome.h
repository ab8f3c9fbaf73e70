#pragma once

#include <string>

// The end of a level. A level ends once: after it was won or lost, later wins and losses (a second
// target destroyed in the same step, the last wave finished after a loss) call no script until the
// next level starts.

// Arms the outcome for a level that starts, with the name of the level that follows it.
void startLevelOutcome(const std::string& nextLevel = std::string());
// Calls "levelFinished_Good" (won) or "levelFinished_Bad" with the next level's name, unless the
// level has already finished. Returns whether the script function was called.
bool finishLevel(bool won, const std::string& nextLevel);
// finishLevel with the next level given when the level started.
bool levelWon();
bool levelLost();
// Whether the current level has finished.
bool isLevelFinished();

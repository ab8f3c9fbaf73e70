#pragma once

#include <functional>

// The engine core reports its stage, its debug mode and its pause level here, so the utilities
// below it can follow them without depending on the core. Until a source is set the stage and the
// pause level are 0 and debug mode is off.

void setEngineStageSource(std::function<int()> source);
int engineStage();

void setDebugModeSource(std::function<bool()> source);
bool debugModeActive();

void setPauseLevelSource(std::function<int()> source);
int enginePauseLevel();

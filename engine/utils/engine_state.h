#pragma once

#include <functional>

// The engine core reports its stage and its debug mode here, so the utilities below it can follow
// them without depending on the core. Until a source is set the stage is 0 and debug mode is off.

void setEngineStageSource(std::function<int()> source);
int engineStage();

void setDebugModeSource(std::function<bool()> source);
bool debugModeActive();

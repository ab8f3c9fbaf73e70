#pragma once

#include <irrlicht/irrlicht.h>

#include <string>
#include <vector>

// The engine's on-screen warnings: small text lines at the top of the screen, newest at the top
// position, older ones moved down one line each time a new one comes, each removing itself after
// its lifetime.

// Shows "[time] message" for lifetimeMs and writes "core_warning: message" to the log (level 1).
void showWarning(const std::string& message, int lifetimeMs);
// The warnings on screen, oldest first, and their number.
const std::vector<irr::scene::ISceneNode*>& warningNodes();
int warningCount();

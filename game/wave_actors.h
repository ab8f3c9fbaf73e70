#pragma once

#include "wave_file.h"

#include <string>

class CNodeBasement;

// Creates the actors of a wave under `root` in one sprite creation, resolving their descriptions
// against the level's folder (a folder path ending with a backslash). Returns the first actor's
// node, or null when there are no actors or the factory made none.
CNodeBasement* createWaveActors(const std::vector<WaveActor>& actors, irr::scene::ISceneNode* root,
                                const std::string& levelFolder);

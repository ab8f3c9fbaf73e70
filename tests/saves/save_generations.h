#pragma once

#include "core/engine_config.h"
#include "core/module_userprofile.h"

#include <string>

// The player's three files (profile, options, high scores) filled with the content of one
// numbered generation, so that a file read back tells which generation it holds and whether it
// is whole. Generation 0 is the state before anything was saved.
namespace save_generations {

// The name of the player whose profile is saved.
extern const char* const kPlayer;

// Sets the profile, the options and the high-score table to the generation's content.
void apply(int generation, EngineConfig& config, CUserProfile& profile);

// Saves the profile, then the options and the high scores. True when every file was written.
bool saveAll(EngineConfig& config, CUserProfile& profile);

// The generation each file holds as the engine reads it back, or -1 when its content belongs to
// no generation (a damaged file); `problem` then says what did not match.
struct ReadBack {
    int profile = -1;
    int options = -1;
    int scores = -1;
    std::string problem;
};

// Reads the files the way a starting game does (the configuration's load, then the player's
// profile) and identifies their generations.
ReadBack readBack();

} // namespace save_generations

#pragma once

#include "check/check_run.h"

class IGameClient;

// What the game adds to the check mode: its description and level keys, the meaning of its
// sprite keys (physics items, object info, the hole-maker aimer), its levels, and the files it
// opens by name.
CheckExtensions gameCheckExtensions();

// The check mode of the game: `vellum -check [-game=DIR]`. Writes the report to standard output
// and returns the exit status.
int runGameCheck(IGameClient* game);

#pragma once

#include "description_check.h"
#include "description_keys.h"
#include "dialog_check.h"
#include "required_files.h"
#include "script_check.h"

#include <cstdio>
#include <vector>

class IGameClient;

// What a game adds to the check mode: its own description keys, checks of its own keys' meaning
// and of dialog headers, and the files and script functions it uses by name.
struct CheckExtensions {
    std::vector<DescriptionKey> keys;
    std::vector<DescriptionRecordCheck> recordChecks;
    std::vector<DialogHeaderCheck> dialogChecks;
    std::vector<RequiredFile> requiredFiles;
    std::vector<RequiredFunction> requiredFunctions;
};

// The check mode: reads the whole game in the game folder as preloading would (every data file
// of the language and common folders), without a window or sound, and writes every problem it
// finds to `out`, one a line, then the summary. Returns the process's exit status: 1 when there
// was an error, else 0.
int runCheck(IGameClient* client, const CheckExtensions& extensions, std::FILE* out);

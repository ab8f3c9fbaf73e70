#pragma once

#include "check_session.h"

#include <string>
#include <vector>

// Checks of the game's scripts. Each ".nut" file is compiled on its own (after the engine's
// include and macro expansion), so that every file's compile error is reported at the file and
// line the author wrote; literal names in calls of the engine's functions (dialogs, sounds,
// music, images, sprites, string keys) are checked like the keys that name them.

// Checks one script file (a resolved path) and notes the functions it defines.
void checkScriptFile(CheckSession& session, const std::string& path);
// A piece of script code in a description or dialog (an action): it must compile; the functions
// it calls are checked once every script is read (checkScriptCalls).
void checkActionCode(CheckSession& session, const std::string& code, const CheckPlace& place);
// A script function named by a description ("-Animation.ByScriptMethod:").
void checkScriptFunctionName(CheckSession& session, const std::string& name,
                             const CheckPlace& place);
// Every function called by name from descriptions and dialogs must be defined by a script or
// provided by the engine or the game.
void checkScriptCalls(CheckSession& session);

// A script function that the engine or the game calls by name.
struct RequiredFunction {
    const char* name;
    // When it is called, as the report says it.
    const char* purpose;
    // Empty when it is always called; otherwise the feature whose first use needs it (as
    // CheckSession::noteUse records it).
    const char* neededBy = "";
};
// The functions the engine calls by name.
const std::vector<RequiredFunction>& engineRequiredFunctions();
// Reports each required function no script defines: at the first use of its feature, or at the
// start-up script when it is always called.
void checkRequiredFunctions(CheckSession& session, const std::vector<RequiredFunction>& functions);

#pragma once

#include "squirrel/squirrel.h"

// The game's native script functions: the loading-screen bar, the options dialog, the level's
// names and state, full-screen curtains and the player's hole shots. Each has the signature of a
// core function; a function that fails throws, which the script sees as an error.

// Registers every game function in the root table, in the order scripts have always seen them.
void registerGameScriptFunctions(squirrel::VM& vm);

// Loading-screen bar (script_api.cpp).
squirrel::Object game_CreatePreloaderSlider(squirrel::CallContext& call);
squirrel::Object game_DeletePreloaderSlider(squirrel::CallContext& call);
squirrel::Object game_initOptionsDialog(squirrel::CallContext& call);

// Options dialog (script_api_options.cpp).
squirrel::Object game_SwitchFullScreen(squirrel::CallContext& call);
squirrel::Object game_SwitchWinCursor(squirrel::CallContext& call);
squirrel::Object game_SwitchVolume(squirrel::CallContext& call);
squirrel::Object game_SwitchEffect(squirrel::CallContext& call);

// Level, curtains and shots (script_api_level.cpp).
squirrel::Object game_GetCurrentLevelName(squirrel::CallContext& call);
squirrel::Object game_GetCurrentLevelPath(squirrel::CallContext& call);
squirrel::Object game_GetNextLevelName(squirrel::CallContext& call);
squirrel::Object game_createFader_BlackCurtain(squirrel::CallContext& call);
squirrel::Object game_createFader_WhiteCurtain(squirrel::CallContext& call);
squirrel::Object game_IsLevelInPlay(squirrel::CallContext& call);
squirrel::Object game_AddHoleMark(squirrel::CallContext& call);
squirrel::Object game_SetLevelState(squirrel::CallContext& call);
squirrel::Object game_GetLevelState(squirrel::CallContext& call);

#pragma once

#include "squirrel/squirrel.h"

// Core script functions over the engine's state: background, alerts, exit, stage, pause, the
// clock and the configuration.

// (file, fade) -> integer: 1 when the image is shown (or already was), 0 when there is no such
// file.
squirrel::Object core_SetBackgroundImage(squirrel::CallContext& call);
// (text): a box "SqScript alert:" with the text below it.
squirrel::Object core_Alert(squirrel::CallContext& call);
// (): the main loop ends after the current frame.
squirrel::Object core_CloseGame(squirrel::CallContext& call);
// () -> integer: the engine stage.
squirrel::Object core_GetGameState(squirrel::CallContext& call);
// (stage): sets the engine stage.
squirrel::Object core_SetGameState(squirrel::CallContext& call);
// () -> integer: 1 while the game is paused (or its pause fader still fades out), else 0.
squirrel::Object core_IsGamePaused(squirrel::CallContext& call);
// () -> bool: always true.
squirrel::Object core_IsDebug(squirrel::CallContext& call);
// () -> integer: the platform's millisecond tick count.
squirrel::Object core_GetTick(squirrel::CallContext& call);
// (key) -> string: the key's value in the configuration (game.ini and the command line).
squirrel::Object core_GetIniParameter(squirrel::CallContext& call);

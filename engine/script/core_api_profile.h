#pragma once

#include "squirrel/squirrel.h"

// Core script functions over the player's profile and the recent-players configuration.

// () -> integer: 1 when no active player was recorded at start (a new profile is wanted).
squirrel::Object core_IsNewProfileRequired(squirrel::CallContext& call);
// () -> string: the active player's name.
squirrel::Object core_GetActiveProfileName(squirrel::CallContext& call);
// (text, remember) -> integer: 1 when the profile has seen the text already, else 0; with
// remember, an unseen text is recorded as seen.
squirrel::Object core_checkTextUsingProfile(squirrel::CallContext& call);
// (key) -> string, integer, float or false: the profile's option by its stored type.
squirrel::Object core_GetProfileOption(squirrel::CallContext& call);
// (key, value) -> bool: stores an integer, float or string option (replacing an option of that
// key of another type); false for any other value.
squirrel::Object core_SetProfileOption(squirrel::CallContext& call);
// (): writes the profile file when the profile changed.
squirrel::Object core_SaveProfile(squirrel::CallContext& call);

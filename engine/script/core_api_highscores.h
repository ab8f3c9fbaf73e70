#pragma once

#include "squirrel/squirrel.h"

// Core script functions over the engine's high-score table "main", which is loaded and saved
// with the configuration.

// () -> array of tables {"_place", "_name", "_score"}: the filled entries, best first.
squirrel::Object core_GetHighScores(squirrel::CallContext& call);
// (score) -> integer: the 1-based place the score would take, or 0 when it would not enter the
// table (a score of 0 or below never does).
squirrel::Object core_GetHighScorePlace(squirrel::CallContext& call);
// (score, name, stamp) -> integer: enters the result and returns its 1-based place, or 0. An
// earlier entry with the same name and stamp is replaced, so a run that keeps its stamp keeps one
// entry; a stamp of 0 is made from the current time. Names are cut to the table's 40 characters.
squirrel::Object core_AddHighScore(squirrel::CallContext& call);

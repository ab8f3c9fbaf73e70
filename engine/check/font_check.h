#pragma once

#include "check_session.h"

#include <string>

// Checks an XML font file (a resolved path) the way the engine loads it: its font image must
// exist and decode, and the file must define at least `minimumCharacters` characters.
void checkFontFile(CheckSession& session, const std::string& path, int minimumCharacters);

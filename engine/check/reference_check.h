#pragma once

#include "check_session.h"

#include <string>

// Checks of the things that descriptions, dialogs and scripts name: each missing or unusable one
// is reported at the place that names it.

// A sprite source: an image (must exist and decode) or a description file (must exist; it is
// then checked itself, with the macro parameters after a "?"). `source` is a data name or path.
void checkSpriteSource(CheckSession& session, const std::string& source, const CheckPlace& place);
// A sound effect name ("click" plays "sounds\click.wav").
void checkSoundEffect(CheckSession& session, const std::string& name, const CheckPlace& place);
// A music file below "sounds\music\".
void checkMusic(CheckSession& session, const std::string& name, const CheckPlace& place);
// A "-Text:" or "-Label:" value: "?" and a literal text, or a key that every language's
// "strings.lng" should hold (English must). The texts found are checked as markup too.
void checkStringKey(CheckSession& session, const std::string& value, const CheckPlace& place);
// The text markup lines of a text ("<img src=...>", "<sound=...>", "<frame ...>",
// "<font-effect:...>").
void checkMarkup(CheckSession& session, const std::string& text, const CheckPlace& place);
// A dialog name, as scripts and headers use them, must be registered by some ".dlg" file.
void checkDialogName(CheckSession& session, const std::string& name, const CheckPlace& place);

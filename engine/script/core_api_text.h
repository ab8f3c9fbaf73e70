#pragma once

#include "squirrel/squirrel.h"

// Core script functions over texts: translations, slices, escaping, wildcards, replacing and
// reading keys of description texts.

// (key, file or folder) -> string: the key's localized text, from the current language's string
// file or, when a file is given, from that ".lng" file or the "strings.lng" of that file's folder.
// Registered as core_GetTranslation and core_Translate.
squirrel::Object core_GetTranslation(squirrel::CallContext& call);
// (text, start, end) -> string or null: what stands between the first start marker and the end
// marker after it; null when that is empty.
squirrel::Object core_GetStrSlice(squirrel::CallContext& call);
// (text) -> string: every byte as "%XX".
squirrel::Object core_Escape(squirrel::CallContext& call);
// (text) -> string: "%XX" back to bytes and "+" to blanks.
squirrel::Object core_Unescape(squirrel::CallContext& call);
// (text, mask) -> bool: wildcard match ("*" any run, "?" one character, case-sensitive).
squirrel::Object core_StrMask(squirrel::CallContext& call);
// (text, from, to) -> string: every occurrence replaced.
squirrel::Object core_StrReplace(squirrel::CallContext& call);
// (key, description text) -> string: the value of the line "-key:" in the text; empty when
// the text has none.
squirrel::Object core_GetSprIniParameter(squirrel::CallContext& call);

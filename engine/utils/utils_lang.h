#pragma once

#include <string>

// Localized strings. A language is a data folder (such as "data_en") whose "strings.lng" holds
// lines "key=value"; keys are matched without regard to case. In a value "<br>" and backslash-n
// stand for a line break and "<brr>" for a carriage return and a line break; a value starting
// with "#" names a text file that holds the value. A key missing from a language's file is taken
// from English, else from the default text (else the key itself), and written into the language's
// file so that translators see it.

// The current language folder, stored lower-cased; empty until first set. A name that is not one
// folder name (a path, "..") is reported and English is used instead.
void setLanguage(const std::string& folder);
std::string getLanguage();

// The text of the key in the current language's "strings.lng". A key starting with "#" is a
// literal text. The default may be null.
std::string localize(const std::string& key, const char* defaultText = nullptr);
// The text of the key in another string file: `name` is a ".lng" file, or any file whose
// folder's "strings.lng" is meant.
std::string localizeIn(const std::string& key, const char* defaultText, const std::string& name);
// The lookup behind both: with a folder, the file is folder + language + "\" + file + ".lng";
// without one, `file` is the string file's path. An empty language means the current one.
std::string lookupString(const std::string& key, const char* defaultText, const std::string& folder,
                         const std::string& file, const std::string& language);

// The text the string file (a resolved path) holds for the key exactly as written there, "" when
// the key is missing or has no text. Nothing falls back and nothing is written (the check mode).
std::string findStringInFile(const std::string& key, const std::string& file);

// Forgets the finished strings and the string files' texts (the engine's cache clearing).
void clearLocalizationCaches();

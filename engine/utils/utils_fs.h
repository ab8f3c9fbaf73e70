#pragma once

#include <string>
#include <vector>

// Where the engine's files are and how they are read. Every path here is in engine form
// (backslashes; an absolute path on drive "z:"); data names are lower case and relative to the
// data folders: the current language's folder first, the common folder "data" behind it.

// The program folder: drive and folder of the executable in engine form, lower case, ending
// with a backslash. Computed on first use.
std::string programFolder();
// Places the program folder elsewhere (tests and tools that run the engine over another data
// set). The resolved data paths and the user folder depend on it and are computed again.
void setProgramFolder(const std::string& folder);
// The game folder: the folder that holds the game's "data" and language folders, its game.ini
// and default high scores, and where the game's logs and relative saves go. Unless a game was
// chosen ("-game=DIR") it is the program folder, or, when that holds no "data" folder, the
// installed game "..\share\games\vellum\" beside it. Engine form, lower case, ending with a
// backslash.
std::string gameFolder();
// Makes the folder the game folder; an empty text makes the program folder the game folder again.
// The resolved data paths and the user folder depend on it and are computed again.
void setGameFolder(const std::string& folder);

// The folder of the game's logs: the game folder, except for the installed game, which never
// writes beside itself, and for a game folder the user may not write to: their logs go to the
// user's state folder joined with the AppData folder name ("vellum" while none is known), created
// when missing. Ends with a backslash.
std::string logFolder();

// The configuration's AppData folder name, which names the user folder below the system's
// per-user data folder. Setting it makes the next userFolder call compute the folder again.
void setAppDataFolderName(const std::string& name);
// The per-user folder, ending with a backslash: the command-line option "ul", else the folder
// "Profile" in the game folder when it exists, else the system's per-user data folder joined
// with the AppData folder name. Created (with any missing parents) when missing.
std::string userFolder();

// The file a data name stands for: the language folder's copy when it exists, else the common
// folder's, lower-cased and remembered. Absolute paths and "raw:\" texts come back unchanged.
// Once the engine runs (stage 500), a name of a known kind that was not resolved while
// preloading is a fatal error.
std::string resolveDataPath(const std::string& name);
// The same without looking into the cache (the answer is still remembered).
std::string resolveDataPathUncached(const std::string& name);
// The name inside the current language's folder, without any test; "" gives the folder itself.
std::string languageDataPath(const std::string& name);
// Lower-cases the path and removes both data folders from it, so a path below one of them
// becomes a data name.
void makeDataRelative(std::string& path);
// Data paths of sound effects (below "sounds\") and music (below "sounds\music\"); a music path
// that already starts with the game folder is kept.
std::string soundPath(const std::string& name);
std::string musicPath(const std::string& name);

// Reads a text file through the text cache: a data name is resolved first; carriage returns are
// removed and the macros "${thisfolder}\" (the file's own data folder) and "${include(name)}"
// (another text file, expanded in turn) are expanded. A missing file shows a box and gives false.
bool readTextFile(const std::string& name, std::string& out);
// The whole file into `out`, up to its first zero byte, after the checks every text file passes
// (text_file_check.h). False for an empty path, a missing or empty file, a failed read, or a file
// those checks refuse.
bool readFileRaw(const std::string& path, std::string& out);
// The same for the files the engine writes for the player (profile, options, high scores): a
// line of any length is read, since scripts may keep long values there and a refused file would
// be written afresh at the next save, losing the player's data.
bool readSavedFileRaw(const std::string& path, std::string& out);
// Writes the text through a temporary file renamed over the target, so an interrupted save never
// leaves a truncated file, and drops the path's cached text. True when every byte was written;
// otherwise `failure` (when given) says why (platform/files.h).
bool writeTextFile(const std::string& path, const std::string& text,
                   std::string* failure = nullptr);
// Forgets every cached text file (the engine's cache clearing).
void clearTextCache();

// Whether the file exists; a path into an archive (".zip\" or ".wsc\") asks for the archive, and
// anything from a "?" on is ignored.
bool fileExists(const std::string& path);

// File kinds by name.
enum FileKind {
    kFileOther = -1,
    kFileSound = 1,
    kFileImage = 2,
    kFileText = 3,
    kFileSpriteDescription = 4,
    kFileScript = 5,
    kFileDialog = 6,
    kFileConfiguration = 7,
    kFileInline = 8,
};
// The kind of a name, by the first of ".spr", ".txt", ".wav", ".dlg", ".nut", ".cfg" found in it;
// "raw:\" at the start is inline data; names shorter than 6 characters are kFileOther. No name is
// classified as an image.
int classifyPath(const std::string& name);
// Warns (boxes that do not stop anything) about a path with "/", with two backslashes in a row,
// or with upper-case letters outside the game folder.
void checkPathForm(const std::string& path);
// The chosen parts of the path, in the order drive, folder, name, extension. Web addresses and
// shell names ("::{") come back unchanged.
std::string splitPath(const std::string& path, bool drive, bool folder, bool name, bool extension);

// Appends the files below the folder (recursively, lower-cased full names) whose names match the
// wildcard pattern (all files when it is empty) and are not listed yet. Folders come before files
// and names are in alphabetical order; hidden entries and entries whose path below the folder
// contains "svn" or "u-" are left out. A relative folder is taken from the game folder.
void listFiles(std::vector<std::string>& out, const std::string& folder,
               const std::string& pattern);

// Looks for the option on the command line, written as one of - \ / # $ @ followed by the name
// and "=" or a blank; the value follows "=" (in double quotes when it has blanks) and is lower
// case. With file references allowed, a value "@file" is replaced by that file's contents.
// True when the option is present.
bool getCommandLineOption(const std::string& name, std::string& value, bool allowFileReference);
// The same option's value as it was written (case kept, no file reference), for values such as
// folder names that are shown back to the user.
bool getCommandLineOptionAsWritten(const std::string& name, std::string& value);

#pragma once

#include "fuzz/input_refused.h"
#include "squirrel/squirrel.h"

#include <irrlicht/irrlicht.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class TestProgram;

// What the fuzz targets share. Everything is made on first use and kept for the life of the
// process, so each input costs only its own parsing.
namespace fuzz {

// The engine over a program folder of the process's own (removed at exit) with the repository's
// game files (data/gui) in it, the debug log there and every box answered at once: Yes to a
// question, OK to any other. Each call empties the debug log's memory (targets call it, or
// scene(), once per input).
TestProgram& program();

// Puts a box hook in place that answers every box at once: Yes to a question, OK to any other
// (the check mode puts its own in place and takes it away again when it ends).
void answerBoxes();

// Copies a folder of the repository's game data ("actors", "gui", ...) into the program's data
// folder.
void copyGameData(const std::string& folderName);

// The engine's scene on a NULL device: the engine's root node, the script host usable from this
// thread with the file, system and input-output functions taken out of its machine and every
// call bounded by kScriptOperationBudget, and a game
// client with the repository's main font and the game's text effects. Includes program().
irr::IrrlichtDevice* scene();
// Empties the render passes (an input stopped by a box may leave a frame half drawn), deletes
// everything below the engine's root node, lets queued deletions happen and forgets compiled
// script pieces, cached descriptions and, past a few dozen, textures.
void clearScene();
// Lets go of the textures earlier inputs loaded (every new image name is a texture kept for the
// life of the process) once there are more than a few dozen.
void limitTextures();

// Writes the bytes to the named file below the program's data folder (reused by every input of
// the process) and returns its path as the engine resolves it. The text cache forgets the file.
std::string writeDataFile(const std::string& dataName, const std::uint8_t* data, std::size_t size);

// One file of an input that holds several: a line "@@ PATH" starts each file and its bytes run up
// to the next such line (newline included). PATH is relative, with "/" or a backslash between
// its folders; bytes before the first such line belong to no file.
struct InputFile {
    std::string path;
    std::string bytes;
};
std::vector<InputFile> splitInputFiles(const std::uint8_t* data, std::size_t size);

// The most files one input writes.
constexpr std::size_t kMaxInputFiles = 32;
// Empties the folder below the program's data folder (made when missing) and writes the input's
// files into it, so that nothing an earlier input wrote there is left. A file whose path is
// absolute or climbs out with "..", or that cannot be made, is left out. The engine forgets every
// text and string file it read and the data paths it resolved. At most kMaxInputFiles files are
// written. Returns the folder's path in engine form, ending with a backslash.
std::string writeDataFolder(const std::string& folderName, const std::uint8_t* data,
                            std::size_t size);

// The operations one call into fuzzed script code may run: enough for real scripts' work, few
// enough that a runaway loop ends within milliseconds.
constexpr std::uint64_t kScriptOperationBudget = 50000;

// Removes from the machine's root table every function that reaches files, the environment,
// other processes or the standard streams.
void removeHostAccess(squirrel::VM& vm);

} // namespace fuzz

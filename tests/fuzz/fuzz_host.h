#pragma once

#include "fuzz/input_refused.h"
#include "squirrel/squirrel.h"

#include <irrlicht/irrlicht.h>

#include <cstddef>
#include <cstdint>
#include <string>

class TestProgram;

// What the fuzz targets share. Everything is made on first use and kept for the life of the
// process, so each input costs only its own parsing.
namespace fuzz {

// The engine over a program folder of the process's own (removed at exit) with the repository's
// game files (data/gui) in it, the debug log there and every box answered at once: Yes to a
// question, OK to any other.
TestProgram& program();

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

// The operations one call into fuzzed script code may run: enough for real scripts' work, few
// enough that a runaway loop ends within milliseconds.
constexpr std::uint64_t kScriptOperationBudget = 50000;

// Removes from the machine's root table every function that reaches files, the environment,
// other processes or the standard streams.
void removeHostAccess(squirrel::VM& vm);

} // namespace fuzz

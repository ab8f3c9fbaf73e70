#pragma once

#include <irrlicht/irrlicht.h>

#include <string>
#include <vector>

// The contents of a level's wave files: the actors of the first wave, and every wave's main path
// and fire spots. Wave files are written in editor units; everything read here is already in
// level units (editor units times kEditorUnit).

constexpr float kEditorUnit = 40.0f;
// Longest fire spot name kept; longer names are cut.
constexpr size_t kMaxFireSpotName = 19;

// One "Actor:" line: a sprite "actors\<name>.spr" placed in the level.
struct WaveActor {
    std::string name;
    // Degrees, as the sprite key "-Rotation:" takes it.
    float rotation = 0;
    float x = 0;
    float y = 0;
    float w = 0;
    float h = 0;
    // 0 for the first actor of the file, one less for each following one.
    int depth = 0;
};

struct FireSpot {
    irr::core::vector2df start;
    irr::core::vector2df end;
    std::string name;
    int activated = 0;
};

// What the point blocks of one wave file give.
struct WavePoints {
    // Whether a block named "MainPath" was found; without one the previous main path stays.
    bool hasMainPath = false;
    std::vector<irr::core::vector2df> mainPath;
    std::vector<FireSpot> fireSpots;
};

// The wave files named by the keys "-Wave1:", "-Wave2:", ... of a level's header, each joined to
// the level's folder; the list ends at the first missing number.
std::vector<std::string> readWaveFileList(const std::string& header,
                                          const std::string& levelFolder);

// The actor lines of a wave text, in file order. The text is only read, never marked, so the
// same text (or the cached text of the same file) gives the same actors every time.
std::vector<WaveActor> readWaveActors(const std::string& text);

// The sprite description that creates the actors: one "[Sprite]" section per actor.
std::string buildActorDescription(const std::vector<WaveActor>& actors);

// The point blocks "<Points>" ... "</Points>" of a wave text, in file order. A later main path
// replaces an earlier one; a fire spot block with fewer than two points is skipped and logged.
WavePoints readWavePoints(const std::string& text);

// Reads a wave file through the text cache. A missing file gets the reader's box and gives an
// empty text, so it contributes no actors and no point blocks.
std::string readWaveText(const std::string& path);

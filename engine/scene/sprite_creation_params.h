#pragma once

#include <string>

// What a caller of the node factory may ask for besides the source, position and size. Callers
// start from a default (all zero) block and set what they need; the factory copies it whole when
// it needs a changed copy.
struct SpriteCreationParams {
    // Not read by the factory.
    int Reserved = 0;
    // Not 0: the description's sub-sprites are not created.
    int NoSubSprites = 0;
    // Not 0: sub-sprites without an "-AsChild:" key become children of the sprite.
    int SubSpritesAsChildren = 0;
    // Not 0: the new sprite gets this ID.
    int ForcedID = 0;
    // Not 0: the created and while-visible sounds are skipped.
    int Silent = 0;
    // Not 0: the parsed description is not cached.
    int NoCache = 0;
    // The file whose folder relative paths in the description are resolved against; empty for
    // none. Any length.
    std::string SourceFolder;
    // 0 for a sprite that is not a clone; 1, 2, ... for the copies made by "-MakeClones:".
    int CloneIndex = 0;
    // The description or dialog file a "raw:\" text was cut from, named by the errors of its
    // script actions; empty for a text made at run time.
    std::string OriginFile;
};

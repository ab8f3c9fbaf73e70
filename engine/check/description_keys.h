#pragma once

#include <string>
#include <vector>

// The one table of the description keys the engine reads (and, once registered, the game's), with
// where each is read and how its value is read, so the check mode can tell a misspelt key from a
// known one and a value the engine would read differently from what was written.

// Where a key is read; a key may be read in several places.
enum KeyPlace : unsigned {
    kSpriteKey = 1,       // a sprite's own section or a sub-sprite section
    kSubSpriteKey = 2,    // only in a sub-sprite section
    kAnchorKey = 4,       // an "[Anchor]" section
    kDialogHeaderKey = 8, // a dialog's header, before its first "[Sprite]"
};

// How the engine reads a key's value.
enum class KeyForm {
    Int,         // "+", "-" and digits from the first character on
    Number,      // a leading decimal number (blanks skipped), then the key's tags, if any
    Tagged,      // letter-number items such as "x1 y-2"; with `bareNumber`, a lone number too
    Text,        // any text, trimmed
    Raw,         // any text, as written
    Path,        // an image or description file, relative to the description or "\" + data name
    Sound,       // a sound effect name
    Music,       // a music file below "sounds\music\"
    StringKey,   // "?" and a literal text, or a key of the string files
    Action,      // script code or a script function name
    Colour,      // hexadecimal digits AARRGGBB, no prefix
    DialogNames, // a list of dialog names
    Marker,      // a marker line without a colon
};

struct DescriptionKey {
    // The whole key text as written, with its dash and colon ("-Position:"). A "#" stands for a
    // number ("-Wave#:" is "-Wave1:", "-Wave2:", ...).
    const char* name;
    unsigned places;
    KeyForm form;
    // The tag letters read from the value (Number and Tagged).
    const char* tags = "";
    // The character after which the rest of the value is a name (0: none).
    char tail = 0;
    // Tagged: a value without tags is read as one number.
    bool bareNumber = false;
    // The tags are looked for only before the tail (otherwise anywhere in the value).
    bool tagsBeforeTail = false;
    // Int: the largest value the engine takes (0: no limit).
    int maximum = 0;
};

// Adds keys that a game reads from the same texts (its own sprite and header keys).
void addDescriptionKeys(const std::vector<DescriptionKey>& keys);
// The known key that the key text names (with its dash and colon, or a marker line) read in one
// of those places, or null.
const DescriptionKey* findDescriptionKey(const std::string& keyText, unsigned places);
// The known key read in those places that is closest to the text (for "did you mean"), or "".
std::string closestDescriptionKey(const std::string& keyText, unsigned places);

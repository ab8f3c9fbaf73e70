#pragma once

#include <irrlicht/irrlicht.h>

class CNodeBasement;

// The hook through which text nodes animate their text. The font calls apply() once per drawn
// character (perLine 0) and the text node once per drawn line (perLine 1) after filling in the
// members below; apply() may change what the pointers point at. False stops drawing.
class TextEffect {
public:
    virtual ~TextEffect() = default;
    virtual bool apply() { return true; }

    int startTime = 0;      // device time (ms) when attached
    int nodeId = 0;         // the node's ID when attached
    int elapsed = 0;        // ms since startTime
    float progress = 0;     // character index / characters in the line
    int charIndex = 0;      // the character's index in its line
    int counter = 0;        // characters processed in the current frame
    float lineProgress = 0; // drawn line index / number of lines
    int lineIndex = 0;      // drawn line index
    int* glyphIndex = nullptr;
    irr::core::vector3df* pen = nullptr; // the character's pen position, or the line's offset
    irr::video::SColor* colour = nullptr;
    float* scale = nullptr;
    int perLine = 0;
    int value = 0; // given when attached
    CNodeBasement* node = nullptr;
};

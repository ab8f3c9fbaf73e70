#pragma once

#include <string>

class CGUIFont3D;

// The text broken into lines no wider than maxWidth (scene units at size 1 and scale 1, one
// character at a time as the font measures it). A line breaks after its last ".", ",", ";", " "
// or ":" (which stays at the end of the line), or inside a word when the line has none; every
// line keeps at least one character, so a width below one character still ends. Markup lines
// (those starting with "<") are copied unchanged and never broken.
std::string wrapText(const CGUIFont3D& font, const std::string& text, float maxWidth);
// The same with the game's main font; the text unchanged while there is none.
std::string wrapText(const std::string& text, float maxWidth);

#pragma once

#include <irrlicht/irrlicht.h>

#include <string>

// Named places in the scene that descriptions position and size nodes by ("-Position.Anchor:").
// They are defined by "[Anchor]" sections and by the key "-DefineAnchor:" and live until the
// process ends.
struct AnchorPoint {
    irr::core::vector3df Position;
    irr::core::dimension2df Size;
    std::string ParentName;
};

// Defines (or replaces) the anchor of that name.
void defineAnchor(const std::string& name, const irr::core::vector3df& position,
                  const irr::core::dimension2df& size, const std::string& parentName);
// Reads every "[Anchor]" section of a text: "-Name:" (a section without it is ignored),
// "-Position:" (tagged x, y, z), "-Size:" (tagged w and h, each defaulting to the value's
// untagged leading number) and "-Parent:".
void readAnchors(const std::string& text);
// The anchor of that name. A name never defined shows "Error: undeclared anchor point used: %s"
// and gives false (out unchanged).
bool getAnchor(const std::string& name, AnchorPoint& out);
// The same lookup without the error box (for callers that report a missing anchor themselves).
bool findAnchor(const std::string& name, AnchorPoint& out);

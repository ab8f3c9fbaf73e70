#pragma once

#include "scene/sprite_creation_params.h"

#include <irrlicht/irrlicht.h>

#include <functional>
#include <string>
#include <vector>

class CNodeBasement;
class SpriteDescription;

// Makes nodes from a sprite source: a ".spr" description file, a "raw:\" description text or an
// image. A source may end in "?name=value&..." macro parameters. The size is the description's
// times the two factors, the position the given one plus the description's; a null parent means
// the scene's root. The creation tag ("file:line" of the caller) is for diagnostics only.
// Returns the new node, owned by its parent, or null (a text sprite, or a full particle group).
CNodeBasement* createSprite(const std::string& source, float widthFactor, float heightFactor,
                            const irr::core::vector3df& position, irr::scene::ISceneNode* parent,
                            const SpriteCreationParams* params, const std::string& creationTag);

// An invisible grouping node from "gui\empty.png" with the given ID.
CNodeBasement* createEmptyNode(irr::scene::ISceneNode* parent, int id,
                               const irr::core::vector3df& position);

// A text node showing `text`, owned by its parent. Text nodes come from the text module, which
// registers how to make them; without it no text node is made and null is returned.
CNodeBasement* createTextNode(const std::string& text, const irr::core::vector3df& position,
                              irr::scene::ISceneNode* parent, int id);
using TextNodeCreator =
    std::function<CNodeBasement*(const std::string& text, const irr::core::vector3df& position,
                                 irr::scene::ISceneNode* parent, int id)>;
void setTextNodeCreator(TextNodeCreator creator);

// The cached or newly parsed description for a name; the caller gets one reference.
SpriteDescription* getDescription(const std::string& name, const std::string& text,
                                  const std::vector<std::string>* macroParams,
                                  const SpriteCreationParams* params);
// A line feed, the file's text (through the text-file cache) and a line feed.
std::string readDescriptionFile(const std::string& path);
void clearDescriptionCache();

// The grid and the frame order of an "-Animation.Texture:" layout.
struct FrameLayout {
    int columns = 0;
    int rows = 0;
    // (column, row) pairs in playing order.
    std::vector<irr::core::vector2di> frames;
};
// "8x1", "8x2", "16x1" and "NxM" play every cell row by row; "N-K/M" plays row K of N by M.
FrameLayout parseFrameLayout(const std::string& layout);

#pragma once

#include <irrlicht/irrlicht.h>

#include <string>

class CNodeBasement;
class CSpriteNode;

// A sprite made from `source`, stretched from p1 to p2 (or centred between them with
// `midpoint`), `thickness` high and turned along the line, with the given alpha. Null when the
// source makes no sprite.
CSpriteNode* createSpriteBetween(const std::string& source, const irr::core::vector3df& p1,
                                 const irr::core::vector3df& p2, float thickness, float alpha,
                                 irr::scene::ISceneNode* parent, bool midpoint);

// A frame of `width` by `height` around `position`, under an empty container node (its name
// ends with " [fld]") that is returned. With an image base the frame has four corners
// (base + "_corner.spr"), an ornament on top (base + "_top.spr") and four edges
// (base + "_edge.spr") whose texture repeats every `border` units; with a background path a
// background fills it, its texture repeating every `border` units too, and is handed back
// through `background` when that is given. A null parent is the scene's root.
CNodeBasement* createFrame(const irr::core::vector3df& position, float width, float height,
                           const std::string& imageBase, const std::string& backgroundPath,
                           float border, irr::scene::ISceneNode* parent,
                           CNodeBasement** background);

// The framed canvas of the text markup: the "gui\canvas" image set with its background.
CNodeBasement* createCanvas(const irr::core::vector3df& position, float width, float height,
                            irr::scene::ISceneNode* parent);

#pragma once

#include <string>

class CNodeBasement;
class SpriteDescription;

// The behaviours that a sprite description's input keys give the node made from it.

// "-Animation.SimpleTextEditor:": a text editor on the sprite's label, keeping the text in the
// label's property named by the key (emptied now), capitalized. Nothing without an editor size.
void attachLabelEditor(CNodeBasement* label, const SpriteDescription& description);
// In this order: the mouse-over behaviour ("-Event.Mouse.Over." keys); the click behaviour
// ("-Event.Mouse.Click.", ".RClick." and ".Drag." keys) with its auto-disabling; the click
// blocker ("-Event.Mouse.Click.Block:"). Script errors of their actions name the origin file (the
// description or dialog file the keys were written in; "" for none).
void attachInputBehaviours(CNodeBasement* node, const SpriteDescription& description,
                           const std::string& originFile);

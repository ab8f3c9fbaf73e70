#pragma once

#include <irrlicht/irrlicht.h>

#include <string>

// Applies the node effects written in an effect text as items name[value], anywhere in the text:
// - "delay[d a<a>]", only at creation: the node is invisible for d seconds, then fades in over
//   a seconds (1 second when a is 0 or missing);
// - "fadeout[n]": the node fades out over the last n / 2 of n seconds and is then deleted;
// - "sizeout[s<s> t<t>]": the node is resized by the factor s over t seconds.
// Nodes that are not engine nodes are left alone.
void applyNodeEffects(irr::scene::ISceneNode* node, const std::string& effects, bool atCreation);

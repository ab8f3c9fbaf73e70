#include "physics_parameters.h"

#include "utils/key_value.h"
#include "utils/number_text.h"
#include "utils/utils_str.h"

#include <cmath>

namespace {

// The text of the item `name` ("name[value]"), empty when the item is missing.
std::string item(const std::string& text, const char* name) {
    int position = 0;
    return getBetween(text, std::string(name) + "[", "]", position);
}

float floatItem(const std::string& text, const char* name) {
    return parseFloat(item(text, name));
}

} // namespace

const std::vector<std::string>& physicsParameterNames() {
    static const std::vector<std::string> names = {"shape",
                                                   "shapesize",
                                                   "vx",
                                                   "vy",
                                                   "speed",
                                                   "damping",
                                                   "restitution",
                                                   "density",
                                                   "affinitymodifier",
                                                   "trackrotation",
                                                   "collisiongroup",
                                                   "collisionmask",
                                                   "collisioncategory",
                                                   "affinityforce",
                                                   "affinityradius",
                                                   "affinitytrembling",
                                                   "affinitydeadzone"};
    return names;
}

PhysicsParameters parsePhysicsParameters(const std::string& text) {
    PhysicsParameters p;
    p.shape = item(text, "shape");
    p.shapeSize = floatItem(text, "shapesize");
    if (std::fabs(p.shapeSize) < 0.0001f) {
        p.shapeSize = 1;
    }
    p.vx = floatItem(text, "vx");
    p.vy = floatItem(text, "vy");
    p.speed = floatItem(text, "speed");
    p.damping = floatItem(text, "damping");
    p.restitution = floatItem(text, "restitution");
    p.density = floatItem(text, "density");
    p.hasAffinityModifier = text.find("affinitymodifier") != std::string::npos;
    if (p.hasAffinityModifier) {
        p.affinityModifier = floatItem(text, "affinitymodifier");
    }
    p.trackRotation = parseInt(item(text, "trackrotation"));
    p.collisionGroup = parseInt(item(text, "collisiongroup"));
    const std::string mask = item(text, "collisionmask");
    if (!mask.empty()) {
        p.collisionCategory = bitsFromString(item(text, "collisioncategory"));
        p.collisionMask = bitsFromString(mask);
    }
    p.affinityForce = floatItem(text, "affinityforce");
    p.affinityRadius = floatItem(text, "affinityradius");
    p.affinityTrembling = floatItem(text, "affinitytrembling");
    p.affinityDeadZone = floatItem(text, "affinitydeadzone");
    return p;
}

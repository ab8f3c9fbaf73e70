#pragma once

#include <string>

// Named counters that cap how many sprites of a decorative kind (sparks, debris) are alive.
// Up to `FullLimit` live sprites every new one is admitted, between `FullLimit` and `HalfLimit`
// about half of the requests, beyond `HalfLimit` none.
struct ParticleGroup {
    int FullLimit = 99999;
    int HalfLimit = 0;
    int LiveCount = 0;
};

// Reads every "[ParticleGroup]" section of a configuration text ("-Name:", "-100%:", "-50%:").
// A later definition of a name replaces its limits; the live count of sprites already counted is
// kept. A section without a name is the fatal error "Bad particle group name!". Returns true when
// the text holds at least one section.
bool loadParticleGroups(const std::string& text);

// Whether a sprite of the group may be created now. An empty name and a name that no
// configuration defined are always admitted.
bool admitParticle(const std::string& name);

// Counts a live sprite of the group in or out; an empty name does nothing. A name that no
// configuration defined is counted under a record with the default limits.
void joinParticleGroup(const std::string& name);
void leaveParticleGroup(const std::string& name);

// A copy of the group's record; false when the name has none.
bool getParticleGroup(const std::string& name, ParticleGroup& out);

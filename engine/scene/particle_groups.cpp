#include "particle_groups.h"

#include "description_values.h"
#include "platform/locks.h"
#include "utils/debug.h"
#include "utils/math_fastmath.h"
#include "utils/utils_str.h"

#include <map>

namespace {

const char kSectionHeader[] = "[ParticleGroup]";

struct ParticleGroupTable {
    CriticalSectionLock lock;
    std::map<std::string, ParticleGroup> groups;
};

ParticleGroupTable& table() {
    static ParticleGroupTable* instance = new ParticleGroupTable();
    return *instance;
}

void readSection(const std::string& section) {
    std::string value;
    getKeyValue(section, "-Name:", value);
    std::string name = trim(value);
    if (name.empty()) {
        reportError("Bad particle group name!", false);
        return;
    }
    ParticleGroup group;
    if (getKeyValue(section, "-100%:", value)) {
        group.FullLimit = readDescriptionInt(value);
    }
    if (getKeyValue(section, "-50%:", value)) {
        group.HalfLimit = readDescriptionInt(value);
    }
    ParticleGroupTable& groups = table();
    ScopedLock guard(groups.lock);
    auto existing = groups.groups.find(name);
    if (existing != groups.groups.end()) {
        // Sprites counted under the old definition are still alive and will leave the group.
        group.LiveCount = existing->second.LiveCount;
    }
    groups.groups[name] = group;
}

} // namespace

bool loadParticleGroups(const std::string& text) {
    size_t start = text.find(kSectionHeader);
    if (start == std::string::npos) {
        return false;
    }
    while (start != std::string::npos) {
        size_t bodyStart = start + sizeof(kSectionHeader) - 1;
        size_t next = text.find(kSectionHeader, bodyStart);
        std::string section = next == std::string::npos ? text.substr(bodyStart)
                                                        : text.substr(bodyStart, next - bodyStart);
        readSection(section);
        start = next;
    }
    return true;
}

bool admitParticle(const std::string& name) {
    if (name.empty()) {
        return true;
    }
    ParticleGroup group;
    {
        ParticleGroupTable& groups = table();
        ScopedLock guard(groups.lock);
        auto found = groups.groups.find(name);
        if (found == groups.groups.end()) {
            return true;
        }
        group = found->second;
    }
    if (group.LiveCount > group.FullLimit &&
        (group.LiveCount > group.HalfLimit || randomInt(0, 100) < 51)) {
        return false;
    }
    return true;
}

void joinParticleGroup(const std::string& name) {
    if (name.empty()) {
        return;
    }
    ParticleGroupTable& groups = table();
    ScopedLock guard(groups.lock);
    ++groups.groups[name].LiveCount;
}

void leaveParticleGroup(const std::string& name) {
    if (name.empty()) {
        return;
    }
    ParticleGroupTable& groups = table();
    ScopedLock guard(groups.lock);
    auto found = groups.groups.find(name);
    if (found != groups.groups.end() && found->second.LiveCount > 0) {
        --found->second.LiveCount;
    }
}

bool getParticleGroup(const std::string& name, ParticleGroup& out) {
    ParticleGroupTable& groups = table();
    ScopedLock guard(groups.lock);
    auto found = groups.groups.find(name);
    if (found == groups.groups.end()) {
        return false;
    }
    out = found->second;
    return true;
}

#include "node_effects.h"

#include "animators/adelayedattach.h"
#include "animators/afadeanimators.h"
#include "animators/alifetimeanimators.h"
#include "animators/apositionanimators.h"
#include "scene/description_values.h"
#include "scene/node_base.h"
#include "utils/utils_str.h"

namespace {

// The fade-in of "delay" when its value gives none.
constexpr int kDefaultDelayFadeMs = 1000;

// The value of the item name[value]: the text after "name[" up to the next "]" (or the end),
// trimmed. False when the item is not written.
bool readEffectItem(const std::string& effects, const std::string& name, std::string& value) {
    const int start = find(effects, name + "[");
    if (start < 0) {
        return false;
    }
    const int valueStart = start + static_cast<int>(name.size()) + 1;
    const int end = findChar(effects, ']', valueStart);
    value = trim(mid(effects, valueStart, end < 0 ? -1 : end - valueStart));
    return true;
}

// Seconds as milliseconds; negative times count as none.
irr::u32 secondsToMs(int seconds) {
    return seconds > 0 ? static_cast<irr::u32>(seconds) * 1000u : 0u;
}

void applyDelay(CNodeBasement* node, const std::string& value) {
    const int delaySeconds = readDescriptionInt(value);
    int fadeSeconds = 0;
    readTaggedInt(value, 'a', fadeSeconds);
    const int fadeMs = fadeSeconds != 0 ? fadeSeconds * 1000 : kDefaultDelayFadeMs;
    node->setAlpha(0);
    attachAnimatorAfter(secondsToMs(delaySeconds), node, new CAlphaFadeAnimator(fadeMs, 0, 1));
}

void applyFadeout(CNodeBasement* node, const std::string& value) {
    const int seconds = readDescriptionInt(value);
    attachAnimator(node, new CSelfDestructAnimator(seconds * 1000, seconds * 500));
}

void applySizeout(CNodeBasement* node, const std::string& value) {
    float scale = 0;
    float seconds = 0;
    readTaggedFloat(value, 's', scale);
    readTaggedFloat(value, 't', seconds);
    const irr::core::dimension2df size = node->getSize();
    attachAnimator(node,
                   new CSizeAnimator(size.Width, size.Height, static_cast<irr::u32>(seconds * 1000),
                                     size.Width * scale, size.Height * scale));
}

} // namespace

void applyNodeEffects(irr::scene::ISceneNode* node, const std::string& effects, bool atCreation) {
    CNodeBasement* engineNode = asEngineNode(node);
    if (engineNode == nullptr) {
        return;
    }
    std::string value;
    if (atCreation && readEffectItem(effects, "delay", value)) {
        applyDelay(engineNode, value);
    }
    if (readEffectItem(effects, "fadeout", value)) {
        applyFadeout(engineNode, value);
    }
    if (readEffectItem(effects, "sizeout", value)) {
        applySizeout(engineNode, value);
    }
}

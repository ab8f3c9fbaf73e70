#include "text_effects.h"

#include "input/any_input.h"
#include "utils/math_misc.h"
#include "utils/system.h"
#include "utils/utils_str.h"

#include <algorithm>

namespace {

const uint32_t kTypeTickMs = 30;
const int kTicksPerLine = 20;
const int kHighlightTicks = 10;
const int kMistiqueMs = 5000;

// The waves shared by every text using the effect, so that all of them move alike.
const NoiseOscillator& mistiqueNoise() {
    static const NoiseOscillator* noise = new NoiseOscillator(1, 1);
    return *noise;
}

const NoiseOscillator& jumperNoise() {
    static const NoiseOscillator* noise = new NoiseOscillator(1, 1);
    return *noise;
}

} // namespace

CTyperEffect::CTyperEffect() : LastTick(getTicks()) {}

bool CTyperEffect::apply() {
    if (perLine != 0 || Revealed) {
        return true;
    }
    if (consumeAnyInput(0)) {
        Revealed = true;
        return true;
    }
    const uint32_t now = getTicks();
    if (now - LastTick > kTypeTickMs) {
        ++Ticks;
        LastTick = now;
    }
    const int due = lineIndex * kTicksPerLine + charIndex;
    if (Ticks < due) {
        colour->setAlpha(0);
    } else if (Ticks < due + kHighlightTicks) {
        colour->setAlpha(255);
    }
    return true;
}

bool CMistiqueInEffect::apply() {
    if (perLine != 0 || elapsed >= kMistiqueMs) {
        return true;
    }
    const float d = static_cast<float>(elapsed) / kMistiqueMs;
    const float noise = mistiqueNoise().value(progress * 200 + lineProgress * 300 + d * 60);
    const int alpha = static_cast<int>((1 - noise * 2 * (1 - d)) * 255);
    colour->setAlpha(static_cast<irr::u32>(std::clamp(alpha, 0, 255)));
    return true;
}

bool CJumperEffect::apply() {
    if (perLine != 0) {
        pen->Y += jumperNoise().value(lineProgress * 300 + static_cast<float>(elapsed) * 0.01f);
    }
    return true;
}

TextEffect* createGameTextEffect(const std::string& name) {
    if (startsWith(name, "brake")) {
        return new CBrakeEffect();
    }
    if (startsWith(name, "mistiqueIn")) {
        return new CMistiqueInEffect();
    }
    if (startsWith(name, "typer")) {
        return new CTyperEffect();
    }
    if (startsWith(name, "jumper")) {
        return new CJumperEffect();
    }
    return nullptr;
}

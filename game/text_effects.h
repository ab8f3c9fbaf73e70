#pragma once

#include "scene/text_effect.h"

#include <cstdint>
#include <string>

// The game's text effects, named by the markup tag "<font-effect:".

// "typer": reveals the text one character per tick (a tick every 30 ms or more): character k of
// drawn line j appears at tick 20 j + k and stays fully opaque for 10 ticks, after which its
// own colour shows. A pending any-input (a key or a click nobody handled) reveals everything for
// good.
class CTyperEffect : public TextEffect {
public:
    CTyperEffect();
    bool apply() override;

private:
    uint32_t LastTick;
    int Ticks = 0;
    bool Revealed = false;
};

// "mistiqueIn": the characters flicker into view through noise over the first 5 seconds.
class CMistiqueInEffect : public TextEffect {
public:
    bool apply() override;
};

// "jumper": the lines bob up and down with noise.
class CJumperEffect : public TextEffect {
public:
    bool apply() override;
};

// "brake": changes nothing.
class CBrakeEffect : public TextEffect {};

// The effect whose name the text starts with ("brake", "mistiqueIn", "typer" or "jumper",
// tested in this order, case-sensitive); null for any other text. The caller owns the effect.
TextEffect* createGameTextEffect(const std::string& name);

#include "input/any_input.h"
#include "text_effects.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

// Points the effect's members at the given character state, as the font does.
struct CharacterCall {
    int glyph = 33;
    irr::core::vector3df pen{0, 0, 0};
    irr::video::SColor colour{200, 10, 20, 30};
    float scale = 1;

    bool apply(TextEffect& effect, int line, int character, int perLine = 0) {
        effect.lineIndex = line;
        effect.charIndex = character;
        effect.glyphIndex = &glyph;
        effect.pen = &pen;
        effect.colour = &colour;
        effect.scale = &scale;
        effect.perLine = perLine;
        return effect.apply();
    }
};

} // namespace

TEST(GameTextEffects, NamesSelectTheirEffectByTheStartOfTheText) {
    std::unique_ptr<TextEffect> typer(createGameTextEffect("typer>"));
    EXPECT_NE(dynamic_cast<CTyperEffect*>(typer.get()), nullptr);
    std::unique_ptr<TextEffect> mistique(createGameTextEffect("mistiqueIn and more"));
    EXPECT_NE(dynamic_cast<CMistiqueInEffect*>(mistique.get()), nullptr);
    std::unique_ptr<TextEffect> jumper(createGameTextEffect("jumper"));
    EXPECT_NE(dynamic_cast<CJumperEffect*>(jumper.get()), nullptr);
    std::unique_ptr<TextEffect> brake(createGameTextEffect("brakes"));
    EXPECT_NE(dynamic_cast<CBrakeEffect*>(brake.get()), nullptr);
    EXPECT_EQ(createGameTextEffect("Typer"), nullptr);
    EXPECT_EQ(createGameTextEffect(" typer"), nullptr);
    EXPECT_EQ(createGameTextEffect(""), nullptr);
}

TEST(GameTextEffects, TyperHidesCharactersNotYetDueAndShowsAllAfterAnyInput) {
    clearAnyInput();
    CTyperEffect typer;
    CharacterCall first;
    EXPECT_TRUE(first.apply(typer, 0, 0));
    EXPECT_EQ(first.colour.getAlpha(), 255u);
    CharacterCall later;
    EXPECT_TRUE(later.apply(typer, 1, 5));
    EXPECT_EQ(later.colour.getAlpha(), 0u);
    // Per-line calls change nothing.
    CharacterCall line;
    EXPECT_TRUE(line.apply(typer, 1, 0, 1));
    EXPECT_EQ(line.colour.getAlpha(), 200u);

    setAnyInput();
    CharacterCall revealed;
    revealed.apply(typer, 1, 5);
    EXPECT_EQ(revealed.colour.getAlpha(), 200u);
    // The input was taken, and the text stays revealed without another one.
    EXPECT_FALSE(consumeAnyInput(0));
    CharacterCall still;
    still.apply(typer, 3, 9);
    EXPECT_EQ(still.colour.getAlpha(), 200u);
}

TEST(GameTextEffects, MistiqueInFadesThroughNoiseForFiveSecondsOnly) {
    CMistiqueInEffect mistique;
    bool changed = false;
    for (int k = 0; k < 50; ++k) {
        mistique.elapsed = 100;
        mistique.progress = k / 50.0f;
        CharacterCall call;
        EXPECT_TRUE(call.apply(mistique, 0, k));
        changed = changed || call.colour.getAlpha() != 200u;
        EXPECT_EQ(call.colour.getRed(), 10u);
    }
    EXPECT_TRUE(changed);
    mistique.elapsed = 5000;
    CharacterCall late;
    late.apply(mistique, 0, 3);
    EXPECT_EQ(late.colour, irr::video::SColor(200, 10, 20, 30));
}

TEST(GameTextEffects, JumperMovesWholeLinesWithinOneUnit) {
    CJumperEffect jumper;
    CharacterCall line;
    line.pen.Y = 2;
    EXPECT_TRUE(line.apply(jumper, 0, 0, 1));
    EXPECT_GE(line.pen.Y, 2.0f);
    EXPECT_LE(line.pen.Y, 3.0f);
    CharacterCall character;
    character.apply(jumper, 0, 1);
    EXPECT_EQ(character.pen, irr::core::vector3df(0, 0, 0));
}

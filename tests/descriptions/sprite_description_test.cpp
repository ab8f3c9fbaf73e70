#include "description_fixture.h"

#include "scene/anchor_table.h"
#include "scene/sprite_creation_params.h"
#include "scene/sprite_description.h"

#include <irrlicht/irrlicht.h>

namespace {

class SpriteDescriptions : public DescriptionTest {
protected:
    // Parses a description text as the file "gui\test.spr" with the line feeds the description
    // reader puts around a file's text.
    SpriteDescription& parse(const std::string& text,
                             const std::vector<std::string>* macroParams = nullptr,
                             const SpriteCreationParams* creationParams = nullptr) {
        description.reset("gui\\test.spr");
        description.parseDescription("\n" + text + "\n", macroParams, creationParams);
        return description;
    }

    SpriteDescription description;
};

TEST_F(SpriteDescriptions, ResetRestoresEveryDefault) {
    parse("-Size:3\n-Alpha:0.5\n-Name:x\n-RenderOrder:1\n-Animation.AlphaPulsar:p3\n"
          "-Tint:ff000000\n[Sprite]\n-Texture:b.png\n");
    description.reset("Gui\\Other.spr");
    EXPECT_EQ(description.Initialized, 1);
    EXPECT_EQ(description.TexturePath, "gui\\other.spr");
    EXPECT_TRUE(description.SubSprites.empty());
    EXPECT_FLOAT_EQ(description.Width, 1);
    EXPECT_FLOAT_EQ(description.Height, 1);
    EXPECT_FLOAT_EQ(description.Alpha, 1.0f);
    EXPECT_FLOAT_EQ(description.AtlasZ, 0.001f);
    EXPECT_FLOAT_EQ(description.PulsarP, 1.0f);
    EXPECT_EQ(description.Name, "");
    EXPECT_EQ(description.RenderOrder, 4);
    EXPECT_EQ(description.MaterialType, -1);
    EXPECT_EQ(description.TextureFiltering, 3);
    EXPECT_EQ(description.Visible, 1);
    EXPECT_EQ(description.GenCount, 1);
    EXPECT_EQ(description.Tint, 0u);
}

TEST_F(SpriteDescriptions, ParsingWithoutResetIsFatal) {
    EXPECT_EXIT(
        {
            echoBoxesToStderr();
            SpriteDescription fresh;
            fresh.parseDescription("\n-Size:1\n", nullptr, nullptr);
        },
        testing::ExitedWithCode(1), "Parser is not initialized!");
}

TEST_F(SpriteDescriptions, SizeModesFollowTheGivenSide) {
    parse("-Size:3");
    EXPECT_FLOAT_EQ(description.Width, 3);
    EXPECT_FLOAT_EQ(description.Height, 3);
    EXPECT_EQ(description.SizeMode, 0);

    parse("-Size:h2");
    EXPECT_FLOAT_EQ(description.Width, 2);
    EXPECT_FLOAT_EQ(description.Height, 2);
    EXPECT_EQ(description.SizeMode, 1);

    parse("-Size:w4");
    EXPECT_FLOAT_EQ(description.Width, 4);
    EXPECT_FLOAT_EQ(description.Height, 4);
    EXPECT_EQ(description.SizeMode, 2);

    parse("-Size:w4 h0.5");
    EXPECT_FLOAT_EQ(description.Width, 4);
    EXPECT_FLOAT_EQ(description.Height, 0.5f);
    EXPECT_EQ(description.SizeMode, 0);
}

TEST_F(SpriteDescriptions, RenderOrderMapsOnlyOneToItsOwnPass) {
    EXPECT_EQ(parse("-RenderOrder:0").RenderOrder, 4);
    EXPECT_EQ(parse("-RenderOrder:1").RenderOrder, 6);
    EXPECT_EQ(parse("-RenderOrder:2").RenderOrder, 4);
    EXPECT_EQ(parse("-RenderOrder: 1").RenderOrder, 4);
}

TEST_F(SpriteDescriptions, PositionReadsTaggedNumbersAndTheRelativeNode) {
    parse("-Position: x1 y2 s7 @boxname");
    EXPECT_FLOAT_EQ(description.PosX, 1);
    EXPECT_FLOAT_EQ(description.PosY, 2);
    EXPECT_FLOAT_EQ(description.PosZ, 0);
    EXPECT_EQ(description.PosDepth, 7);
    EXPECT_EQ(description.PosRelativeTo, "boxname");

    parse("-Position:@box x1 y2");
    EXPECT_FLOAT_EQ(description.PosX, 0);
    EXPECT_FLOAT_EQ(description.PosY, 2);
    EXPECT_EQ(description.PosRelativeTo, "box x1 y2");
}

TEST_F(SpriteDescriptions, RotationIsStoredInRadians) {
    EXPECT_FLOAT_EQ(parse("-Rotation:90").Rotation, 1.5707964f);
}

TEST_F(SpriteDescriptions, TintIsAppliedOnlyWithoutAPrefix) {
    EXPECT_EQ(parse("-Tint: 80FF0000 ").Tint, 0x80FF0000u);
    EXPECT_EQ(parse("-Tint:0x80FF0000").Tint, 0u);
}

TEST_F(SpriteDescriptions, AlphaCarriesAnOptionalFadeTime) {
    parse("-Alpha:0.25 t300");
    EXPECT_FLOAT_EQ(description.Alpha, 0.25f);
    EXPECT_EQ(description.AlphaFadeTime, 300);
}

TEST_F(SpriteDescriptions, AtlasDepthIsTakenOnlyWhenPositive) {
    parse("-Atlas:x1 y2 w4 h3 z0.5");
    EXPECT_FLOAT_EQ(description.AtlasX, 1);
    EXPECT_FLOAT_EQ(description.AtlasY, 2);
    EXPECT_FLOAT_EQ(description.AtlasW, 4);
    EXPECT_FLOAT_EQ(description.AtlasH, 3);
    EXPECT_FLOAT_EQ(description.AtlasZ, 0.5f);
    EXPECT_FLOAT_EQ(parse("-Atlas:w4 h3 z0").AtlasZ, 0.001f);
}

TEST_F(SpriteDescriptions, MaterialTypeSwitchesFilteringOffUnlessFilteringIsGiven) {
    parse("-MaterialType:1");
    EXPECT_EQ(description.MaterialType, 1);
    EXPECT_EQ(description.TextureFiltering, 0);
    EXPECT_EQ(parse("-TextureFiltering:2\n-MaterialType:2").TextureFiltering, 2);
    EXPECT_EQ(parse("-MaterialType:0").TextureFiltering, 3);
}

TEST_F(SpriteDescriptions, RepeatedKeyUsesItsFirstOccurrence) {
    parse("-Name:first\n-Alpha:0.5\n-Name:second\n-Alpha:0.75");
    EXPECT_EQ(description.Name, "first");
    EXPECT_FLOAT_EQ(description.Alpha, 0.5f);
}

TEST_F(SpriteDescriptions, MultiLineTextIsTrimmedAndRawKeysKeepTheirLines) {
    parse("-Text:\n?Hello\nWorld\n-Animation.OnCreate:\ndelay 1\nfade\n-Alpha:1");
    EXPECT_EQ(description.Text, "?Hello\nWorld");
    EXPECT_EQ(description.OnCreate, "delay 1\nfade");
    EXPECT_EQ(description.HasAnimation, 1);
}

TEST_F(SpriteDescriptions, SubSpriteKeysStayInTheirOwnSection) {
    parse("[Sprite]\n-Name:outer\n-Size:2\n[Sprite]\n-Name:inner\n-Alpha:0.5\n-AsChild:1\n"
          "[Sprite]\n   \n[Sprite]\n-Name:third");
    EXPECT_EQ(description.Name, "outer");
    EXPECT_FLOAT_EQ(description.Alpha, 1.0f);
    ASSERT_EQ(description.SubSprites.size(), 2u);
    EXPECT_EQ(description.SubSprites[0], "raw:\\\n-Name:inner\n-Alpha:0.5\n-AsChild:1\n");
    EXPECT_EQ(description.SubSprites[1], "raw:\\\n-Name:third\n");

    SpriteDescription sub;
    sub.reset("gui\\test.spr");
    sub.parseDescription(description.SubSprites[0].substr(5), nullptr, nullptr);
    EXPECT_EQ(sub.Name, "inner");
    EXPECT_FLOAT_EQ(sub.Width, 1);
}

TEST_F(SpriteDescriptions, SubSpriteKeysDoNotReachASpriteWithoutThem) {
    parse("-Size:2\n[Sprite]\n-Name:inner\n-Event.Mouse.Click.Action:go()");
    EXPECT_EQ(description.Name, "");
    EXPECT_EQ(description.ClickAction, "");
    ASSERT_EQ(description.SubSprites.size(), 1u);
}

TEST_F(SpriteDescriptions, AnchorSectionsAreReadAndCutOff) {
    parse("-Name:sprite\n[Anchor]\n-Name:desc_anchor_a\n-Position:x1 y2 z3\n-Size:2\n"
          "-Parent:root\n[Anchor]\n-Name:desc_anchor_b\n-Size:w3 h1\n[Sprite]\n-Name:lost");
    EXPECT_EQ(description.Name, "sprite");
    EXPECT_TRUE(description.SubSprites.empty());

    AnchorPoint anchor;
    ASSERT_TRUE(getAnchor("desc_anchor_a", anchor));
    EXPECT_EQ(anchor.Position, irr::core::vector3df(1, 2, 3));
    EXPECT_FLOAT_EQ(anchor.Size.Width, 2);
    EXPECT_FLOAT_EQ(anchor.Size.Height, 2);
    EXPECT_EQ(anchor.ParentName, "root");
    ASSERT_TRUE(getAnchor("desc_anchor_b", anchor));
    EXPECT_FLOAT_EQ(anchor.Size.Width, 3);
    EXPECT_FLOAT_EQ(anchor.Size.Height, 1);
    EXPECT_EQ(anchor.ParentName, "");
}

TEST_F(SpriteDescriptions, TexturePathIsResolvedAgainstTheDescriptionOrTheSourceFile) {
    EXPECT_EQ(parse("-Texture:Button.PNG").TexturePath, "gui\\button.png");
    EXPECT_EQ(parse("-Texture:\\fx\\spark.png").TexturePath, "fx\\spark.png");
    EXPECT_EQ(parse("-Texture:z:\\Abs\\A.png").TexturePath, "z:\\Abs\\A.png");
    EXPECT_EQ(parse("-Alpha:1").TexturePath, "gui\\");

    SpriteCreationParams params;
    params.SourceFolder = "levels\\one\\level.dlg";
    EXPECT_EQ(parse("-Texture:rock.png", nullptr, &params).TexturePath, "levels\\one\\rock.png");
    // Parameters without a source file resolve against the description, as without parameters.
    SpriteCreationParams plain;
    EXPECT_EQ(parse("-Texture:rock.png", nullptr, &plain).TexturePath, "gui\\rock.png");
}

TEST_F(SpriteDescriptions, TextureLineIsNotTrimmedBeforeResolving) {
    EXPECT_EQ(parse("-Texture:a.png ").TexturePath, "gui\\a.png ");
}

TEST_F(SpriteDescriptions, PathKeysResolveAgainstTheDescription) {
    parse("-Event.Mouse.Click.Image:pressed.png\n-Event.Mouse.Over.Image:\\fx\\glow.png\n"
          "-Event.Mouse.Click.AutodisableIf.Image:off.png");
    EXPECT_EQ(description.ClickImage, "gui\\pressed.png");
    EXPECT_EQ(description.OverImage, "fx\\glow.png");
    EXPECT_EQ(description.AutodisableImage, "gui\\off.png");
}

TEST_F(SpriteDescriptions, LabelFormattingNeedsALabel) {
    EXPECT_EQ(parse("-Label.Formatting:<b>").LabelFormatting, "");
    parse("-Label:?OK\n-Label.Formatting:<b>");
    EXPECT_EQ(description.Label, "?OK");
    EXPECT_EQ(description.LabelFormatting, "<b>");
}

TEST_F(SpriteDescriptions, SelfDestructionWithoutTagReadsTheWholeValueAsTheDelay) {
    parse("-Selfdestruction:500");
    EXPECT_EQ(description.SelfDestructTime, 500);
    EXPECT_EQ(description.SelfDestructFade, 0);
    parse("-Selfdestruction:f200 t300");
    EXPECT_EQ(description.SelfDestructTime, 300);
    EXPECT_EQ(description.SelfDestructFade, 200);
}

TEST_F(SpriteDescriptions, AnimationKeysFillTheirFields) {
    parse("-Animation.Move:d2 x1 y-1 z0.5 t800\n-Animation.TextureScroller:x0.1 y-0.2\n"
          "-Animation.AlphaPulsar:t400 a0.5 l0.25\n-Animation.Rotation:s2 t100\n"
          "-Animation.Size:s1.5 t250\n-Animation.Texture:t40 m8x2\n-Animation.BaseTimer:1\n"
          "-Animation.SimpleTextEditor:s12 @playername\n-Animation.OnDestroy:fadeout");
    EXPECT_EQ(description.HasAnimation, 1);
    EXPECT_EQ(description.MoveMode, 2);
    EXPECT_EQ(description.MoveTarget, irr::core::vector3df(1, -1, 0.5f));
    EXPECT_EQ(description.MoveTime, 800);
    EXPECT_FLOAT_EQ(description.ScrollX, 0.1f);
    EXPECT_FLOAT_EQ(description.ScrollY, -0.2f);
    EXPECT_EQ(description.PulsarTime, 400);
    EXPECT_FLOAT_EQ(description.PulsarA, 0.5f);
    EXPECT_FLOAT_EQ(description.PulsarL, 0.25f);
    EXPECT_FLOAT_EQ(description.PulsarP, 1.0f);
    EXPECT_FLOAT_EQ(description.RotSpeed, 2);
    EXPECT_FLOAT_EQ(description.RotTime, 100);
    EXPECT_FLOAT_EQ(description.SizeScale, 1.5f);
    EXPECT_FLOAT_EQ(description.SizeTime, 250);
    EXPECT_EQ(description.FrameTime, 40);
    EXPECT_EQ(description.FrameLayout, "8x2");
    EXPECT_EQ(description.BaseTimer, 1);
    EXPECT_EQ(description.EditorSize, 12);
    EXPECT_EQ(description.EditorTarget, "playername");
    EXPECT_EQ(description.OnDestroy, "fadeout");
}

TEST_F(SpriteDescriptions, ScriptedAnimatorKeysSplitNameAndInitialiser) {
    parse("-Animation.ByScriptMethod: stepFn , initFn ");
    EXPECT_EQ(description.ScriptName, "stepFn");
    EXPECT_EQ(description.ScriptArgs, "initFn");
    parse("-Animation.ByScriptMethod:stepFn");
    EXPECT_EQ(description.ScriptArgs, "");
    parse("-Animation.ByScriptMethod:a,b\n-Animation.Scripted:other");
    EXPECT_EQ(description.ScriptName, "other");
    EXPECT_EQ(description.ScriptArgs, "");
}

TEST_F(SpriteDescriptions, RandomGeneratorFilesAreSplitAndResolved) {
    parse("-Animation.RandomSprGenerator:t500 c3 a0.5 @ spark.spr, \\fx\\smoke.spr,");
    EXPECT_EQ(description.GenTime, 500);
    EXPECT_EQ(description.GenCount, 3);
    EXPECT_FLOAT_EQ(description.GenA, 0.5f);
    ASSERT_EQ(description.GenFiles.size(), 2u);
    EXPECT_EQ(description.GenFiles[0], "gui\\spark.spr");
    EXPECT_EQ(description.GenFiles[1], "fx\\smoke.spr");
}

TEST_F(SpriteDescriptions, EventKeysFillTheirFields) {
    parse("-Event.Created.Sound:pop\n-Event.Destroyed.Action:gone()\n"
          "-Event.Mouse.Click.Action:click()\n-Event.Mouse.Click.KeyShortcut:13\n"
          "-Event.Mouse.RClick.Action:menu()\n-Event.Mouse.Click.Block:2\n"
          "-Event.Mouse.Over.In.Script:hover()");
    EXPECT_EQ(description.CreatedSound, "pop");
    EXPECT_EQ(description.DestroyedAction, "gone()");
    EXPECT_EQ(description.ClickAction, "click()");
    EXPECT_EQ(description.ClickKeyShortcut, 13);
    EXPECT_EQ(description.RClickAction, "menu()");
    EXPECT_EQ(description.ClickBlock, 2);
    EXPECT_EQ(description.OverInScript, "hover()");
}

TEST_F(SpriteDescriptions, MacroParametersAreExpandedInTheTextAndTheName) {
    std::vector<std::string> params = {"color=red", "n=3"};
    parse("-Name:btn_${color}\n-MakeClones:${n}", &params);
    EXPECT_EQ(description.Name, "btn_red");
    EXPECT_EQ(description.MakeClones, 3);

    std::vector<std::string> folder = {"dir=fx"};
    description.reset("${dir}\\test.spr");
    description.parseDescription("\n-Texture:a.png\n", &folder, nullptr);
    EXPECT_EQ(description.TexturePath, "fx\\a.png");
}

TEST_F(SpriteDescriptions, MalformedMacroParameterIsFatal) {
    std::vector<std::string> params = {"color"};
    EXPECT_EXIT(
        {
            echoBoxesToStderr();
            parse("-Name:${color}", &params);
        },
        testing::ExitedWithCode(1), "Wrong params in spr creation! color");
}

class CountingDescription : public SpriteDescription {
public:
    void parseCustomKeys(const std::string& text, const std::vector<std::string>*,
                         const SpriteCreationParams*) override {
        seenText = text;
    }
    std::string seenText;
};

TEST_F(SpriteDescriptions, CustomKeysSeeTheSpritesOwnExpandedText) {
    CountingDescription custom;
    std::vector<std::string> params = {"k=5"};
    custom.reset("gui\\test.spr");
    custom.parseDescription("\n-Game.Key:${k}\n[Sprite]\n-Game.Key:9\n", &params, nullptr);
    EXPECT_EQ(custom.seenText, "\n-Game.Key:5\n");
}

} // namespace

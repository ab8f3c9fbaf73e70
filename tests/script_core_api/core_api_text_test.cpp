#include "script_core_api/core_api_fixture.h"

namespace {

using CoreText = CoreApiTest;

TEST_F(CoreText, SliceIsTheTextBetweenMarkersOrNull) {
    EXPECT_EQ(eval("core_GetStrSlice(\"<a>(x)<b>(y)\", \"(\", \")\")").toString(), "x");
    EXPECT_TRUE(eval("core_GetStrSlice(\"a()b\", \"(\", \")\")").isNull());
    EXPECT_TRUE(eval("core_GetStrSlice(\"a(b\", \"(\", \")\")").isNull());
    EXPECT_TRUE(eval("core_GetStrSlice(\"ab\", \"[\", \"]\")").isNull());
    EXPECT_TRUE(eval("core_GetStrSlice(\"\", \"[\", \"]\")").isNull());
}

TEST_F(CoreText, EscapingRoundTripsAndMaskAndReplaceWorkOnWholeTexts) {
    EXPECT_EQ(eval("core_Unescape(core_Escape(\"x=1&y=\\n2\"))").toString(), "x=1&y=\n2");
    EXPECT_EQ(eval("core_Unescape(\"a+b%41\")").toString(), "a bA");
    EXPECT_TRUE(eval("core_StrMask(\"level01.spr\", \"*.spr\")").toBool());
    EXPECT_EQ(typeOf("core_StrMask(\"level01.spr\", \"*.spr\")"), "bool");
    EXPECT_FALSE(eval("core_StrMask(\"level01.spr\", \"level?.spr\")").toBool());
    EXPECT_FALSE(eval("core_StrMask(\"Level01.spr\", \"level*\")").toBool());
    EXPECT_EQ(eval("core_StrReplace(\"a-b-c\", \"-\", \"--\")").toString(), "a--b--c");
}

TEST_F(CoreText, SpriteKeyIsFoundAnywhereAndEmptyWhenAbsent) {
    run("::desc <- \"-Name:hero\\n-Texture:gui\\\\hero.png\\n-Size:w2 h3\";");
    EXPECT_EQ(eval("core_GetSprIniParameter(\"Name\", ::desc)").toString(), "hero");
    EXPECT_EQ(eval("core_GetSprIniParameter(\"Size\", ::desc)").toString(), "w2 h3");
    EXPECT_EQ(eval("core_GetSprIniParameter(\"Alpha\", ::desc)").toString(), "");
    EXPECT_EQ(typeOf("core_GetSprIniParameter(\"Alpha\", ::desc)"), "string");
    EXPECT_EQ(eval("core_GetSprIniParameter(\"Texture\", ::desc)").toString(), "gui\\hero.png");
}

TEST_F(CoreText, TranslationComesFromTheLanguageOrTheGivenFile) {
    EXPECT_EQ(eval("core_GetTranslation(\"GAME.TITLE\")").toString(), "Vellum test");
    EXPECT_EQ(eval("core_Translate(\"game.paused\")").toString(), "Paused");
    program.writeData("levels/strings.lng", "LEVEL.NAME=Forest\n");
    EXPECT_EQ(eval("core_GetTranslation(\"LEVEL.NAME\", \"levels\\\\one.txt\")").toString(),
              "Forest");
    EXPECT_EQ(eval("core_GetTranslation(\"#Literal\")").toString(), "#Literal");
}

} // namespace

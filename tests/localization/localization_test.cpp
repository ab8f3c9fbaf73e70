#include "localized_program.h"
#include "support/message_box_recorder.h"
#include "support/temporary_folder.h"
#include "utils/debug.h"
#include "utils/engine_state.h"
#include "utils/utils_fs.h"
#include "utils/utils_lang.h"

#include <gtest/gtest.h>

#include <thread>

namespace {

class Localization : public LocalizedProgram {
protected:
    Localization() : LocalizedProgram("data_en") {}

    std::string englishFile() const { return programFolder() + "data_en\\strings.lng"; }
};

TEST_F(Localization, KeysMatchWithoutRegardToCase) {
    program.write("data_en/strings.lng", "GAME.TITLE=Vellum Arcade\nGame.Paused=Paused");
    EXPECT_EQ(localize("GAME.TITLE"), "Vellum Arcade");
    EXPECT_EQ(localize("game.title"), "Vellum Arcade");
    EXPECT_EQ(localize("GAME.PAUSED"), "Paused");
}

TEST_F(Localization, ValueKeepsItsCaseAndBlanksToTheEndOfTheLine) {
    program.write("data_en/strings.lng", "\r\nGREETING= Hello There \r\nNEXT=x\r\n");
    EXPECT_EQ(localize("greeting"), " Hello There ");
}

TEST_F(Localization, LineBreakMarkupBecomesLineBreaks) {
    program.write("data_en/strings.lng",
                  "TWO=first<br>second\nWIN=a<brr>b\nESC=left\\nright\nKEEP=a\\tb");
    EXPECT_EQ(localize("TWO"), "first\nsecond");
    EXPECT_EQ(localize("WIN"), "a\r\nb");
    EXPECT_EQ(localize("ESC"), "left\nright");
    EXPECT_EQ(localize("KEEP"), "a\\tb");
}

TEST_F(Localization, MissingKeyTakesTheDefaultAndIsAppendedWithMarkup) {
    program.write("data_en/strings.lng", "A=1");
    EXPECT_EQ(localize("NEW.KEY", "line one\nline two\r\nthree"), "line one\nline two\r\nthree");
    EXPECT_EQ(program.read("data_en/strings.lng"), "A=1\nNEW.KEY=line one<br>line two<brr>three");
}

TEST_F(Localization, MissingKeyWithoutDefaultIsTheKeyItself) {
    program.write("data_en/strings.lng", "A=1");
    EXPECT_EQ(localize("ONLY.KEY"), "ONLY.KEY");
    EXPECT_EQ(program.read("data_en/strings.lng"), "A=1\nONLY.KEY=ONLY.KEY");
}

TEST_F(Localization, MissingStringFileIsCreatedWithTheKey) {
    program.write("data/other.txt", "");
    EXPECT_EQ(localize("FIRST", "one"), "one");
    EXPECT_EQ(program.read("data/strings.lng"), "\nFIRST=one");
}

TEST_F(Localization, SecondLookupDoesNotAppendAgain) {
    program.write("data_en/strings.lng", "A=1");
    localize("NEW", "x");
    clearLocalizationCaches();
    EXPECT_EQ(localize("NEW", "y"), "x");
    setDebugModeSource([] { return true; });
    localize("OTHER", "z");
    localize("OTHER", "z");
    EXPECT_EQ(program.read("data_en/strings.lng"), "A=1\nNEW=x\nOTHER=z");
}

TEST_F(Localization, KeyWithEmptyValueOnTheFirstLineIsNotAppendedAgain) {
    program.write("data_en/strings.lng", "empty.first=\nB=2");
    EXPECT_EQ(localize("EMPTY.FIRST", "fallback"), "fallback");
    EXPECT_EQ(program.read("data_en/strings.lng"), "empty.first=\nB=2");
}

TEST_F(Localization, KeyOnlyInEnglishFallsBackAndIsAppendedToTheOtherLanguage) {
    program.write("data_en/strings.lng", "SHARED=English text<br>two");
    program.write("data_de/strings.lng", "OWN=Eigener");
    setLanguage("data_de");
    EXPECT_EQ(localize("OWN"), "Eigener");
    EXPECT_EQ(localize("SHARED", "default"), "English text\ntwo");
    EXPECT_EQ(program.read("data_de/strings.lng"), "OWN=Eigener\nSHARED=English text<br>two");
    EXPECT_EQ(program.read("data_en/strings.lng"), "SHARED=English text<br>two");
}

TEST_F(Localization, FallbackWithAFolderReadsTheEnglishFileOfThatFolder) {
    program.write("data_en/menus.lng", "PLAY=Play");
    program.write("data_fr/menus.lng", "QUIT=Quitter");
    EXPECT_EQ(lookupString("PLAY", nullptr, programFolder(), "menus", "data_fr"), "Play");
    EXPECT_EQ(lookupString("QUIT", nullptr, programFolder(), "menus", "data_fr"), "Quitter");
    EXPECT_EQ(program.read("data_fr/menus.lng"), "QUIT=Quitter\nPLAY=Play");
}

TEST_F(Localization, KeyMissingEverywhereTakesTheDefaultIntoBothFiles) {
    program.write("data_en/strings.lng", "A=1");
    program.write("data_de/strings.lng", "B=2");
    setLanguage("data_de");
    EXPECT_EQ(localize("NOWHERE", "Default"), "Default");
    EXPECT_EQ(program.read("data_en/strings.lng"), "A=1\nNOWHERE=Default");
    EXPECT_EQ(program.read("data_de/strings.lng"), "B=2\nNOWHERE=Default");
}

TEST_F(Localization, LanguageChangeSwitchesTheStringFile) {
    program.write("data_en/strings.lng", "HELLO=Hello");
    program.write("data_de/strings.lng", "HELLO=Hallo");
    EXPECT_EQ(localize("HELLO"), "Hello");
    setLanguage("DATA_DE");
    EXPECT_EQ(getLanguage(), "data_de");
    EXPECT_EQ(localize("HELLO"), "Hallo");
}

TEST_F(Localization, LanguageWithoutStringFileUsesTheCommonOne) {
    program.write("data/strings.lng", "COMMON=Shared");
    setLanguage("data_xx");
    EXPECT_EQ(localize("COMMON"), "Shared");
}

// A language is listed and preloaded with all below it: a path would reach beyond the game.
TEST_F(Localization, LanguageThatIsAPathIsReportedAndEnglishIsUsed) {
    program.write("data_en/strings.lng", "HELLO=Hello");
    for (const char* path : {"..", ".", "..\\..\\..", "data_en\\..", "z:\\tmp", "a/b"}) {
        setLanguage("data_de");
        setLanguage(path);
        EXPECT_EQ(getLanguage(), "data_en") << path;
        EXPECT_TRUE(boxes.sawText(std::string("Language folder '") + path + "'")) << path;
    }
    EXPECT_EQ(localize("HELLO"), "Hello");
}

TEST_F(Localization, FirstLookupWithoutLanguageChoosesEnglish) {
    program.write("data_en/strings.lng", "HELLO=Hello");
    setLanguage("");
    EXPECT_EQ(localize("HELLO"), "Hello");
    EXPECT_EQ(getLanguage(), "data_en");

    setLanguage("");
    EXPECT_EQ(localizeIn("HELLO", nullptr, "strings.lng"), "Hello");
}

TEST_F(Localization, HashKeyIsALiteralTextAndTouchesNoFile) {
    EXPECT_EQ(localize("#Score: 100"), "#Score: 100");
    EXPECT_FALSE(program.exists("data_en/strings.lng"));
    EXPECT_FALSE(program.exists("data/strings.lng"));
    EXPECT_TRUE(boxes.boxes().empty());
}

TEST_F(Localization, HashValueNamesAFileBesideTheStringFile) {
    program.write("data_en/strings.lng", "INTRO=#texts\\intro.txt\nABS=#\\common.txt");
    program.write("data_en/texts/intro.txt", "Once upon<br>a time\r\n");
    program.write("data/common.txt", "from the data folders");
    EXPECT_EQ(localize("INTRO"), "Once upon\na time\n");
    EXPECT_EQ(localize("ABS"), "from the data folders");
}

TEST_F(Localization, EnglishHashValueIsReadFromTheEnglishFolder) {
    program.write("data_en/strings.lng", "STORY=#story.txt");
    program.write("data_en/story.txt", "english story");
    program.write("data_de/strings.lng", "X=1");
    setLanguage("data_de");
    EXPECT_EQ(localize("STORY"), "english story");
}

TEST_F(Localization, LocalizeInTakesTheStringFileBesideAnyFile) {
    program.write("data/gui/dialogs/strings.lng", "OK=Okay");
    program.write("data_en/gui/menus.lng", "PLAY=Play now");
    EXPECT_EQ(localizeIn("OK", nullptr, "gui\\dialogs\\options.dlg"), "Okay");
    EXPECT_EQ(localizeIn("OK", nullptr, programFolder() + "data\\gui\\dialogs\\a.dlg"), "Okay");
    EXPECT_EQ(localizeIn("PLAY", nullptr, "gui\\menus.lng"), "Play now");
}

TEST_F(Localization, FinishedStringsAreCachedUntilCleared) {
    program.write("data_en/strings.lng", "V=old");
    EXPECT_EQ(localize("V"), "old");
    program.write("data_en/strings.lng", "V=new");
    EXPECT_EQ(localize("V"), "old");
    clearLocalizationCaches();
    EXPECT_EQ(localize("V"), "new");
}

TEST_F(Localization, DebugModeBypassesOnlyTheFinishedStrings) {
    program.write("data_en/strings.lng", "V=old\nSTORY=#story.txt");
    program.write("data_en/story.txt", "first");
    EXPECT_EQ(localize("STORY"), "first");

    // The file's text stays cached in both modes.
    program.write("data_en/strings.lng", "V=new\nSTORY=#story.txt");
    setDebugModeSource([] { return true; });
    EXPECT_EQ(localize("V"), "old");

    // A value read from a file is read again in debug mode, and only there.
    program.write("data_en/story.txt", "second");
    clearTextCache();
    EXPECT_EQ(localize("STORY"), "second");
    setDebugModeSource(nullptr);
    EXPECT_EQ(localize("STORY"), "first");

    clearLocalizationCaches();
    EXPECT_EQ(localize("V"), "new");
}

TEST_F(Localization, EmptyKeyGivesEmptyText) {
    EXPECT_EQ(localize(""), "");
    EXPECT_FALSE(program.exists("data_en/strings.lng"));
}

// The sound thread resolves music paths while the main thread looks up strings, which resolves
// the string file under the language lock. Both must take the language lock and the path cache's
// lock in one order; the other order deadlocks now and then, and the thread sanitizer reports it
// at once.
TEST_F(Localization, LookupsAndPathResolutionOnTwoThreadsDoNotDeadlock) {
    program.write("data_en/strings.lng", "A=first");
    program.write("data/sounds/music/theme.ogg", "");
    const int rounds = 2000;
    std::string resolved;
    std::thread resolver([&resolved, rounds] {
        for (int round = 0; round < rounds; ++round) {
            resolved = resolveDataPathUncached("sounds\\music\\theme.ogg");
        }
    });
    std::string text;
    for (int round = 0; round < rounds; ++round) {
        setLanguage("data_en");
        text = localize("A");
    }
    resolver.join();
    EXPECT_EQ(text, "first");
    EXPECT_EQ(resolved, programFolder() + "data\\sounds\\music\\theme.ogg");
}

} // namespace

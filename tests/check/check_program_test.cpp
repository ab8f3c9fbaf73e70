// `vellum -check` as its own process, without a display (so it cannot open a window): the bundled
// game and the authors' example check clean, the planted pack fails with its summary.

#include "support/child_process.h"
#include "support/temporary_folder.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct CheckProcess {
    int exitCode = -1;
    std::string output;
};

CheckProcess runCheckProcess(const std::string& arguments) {
    TemporaryFolder working;
    const std::string command = "cd '" + working.native() + "' && CI=1 env -u DISPLAY '" +
                                VELLUM_EXECUTABLE "' -check " + arguments +
                                " >check.out 2>check.err";
    CheckProcess run;
    run.exitCode = runShellCommand(command);
    run.output = working.read("check.out");
    return run;
}

std::string lastLine(const std::string& text) {
    std::string trimmed = text.substr(0, text.find_last_not_of('\n') + 1);
    return trimmed.substr(trimmed.rfind('\n') + 1);
}

} // namespace

TEST(CheckProgram, TheBundledGameChecksClean) {
    CheckProcess run = runCheckProcess("");
    EXPECT_EQ(run.exitCode, 0) << run.output;
    EXPECT_EQ(run.output, "0 errors, 0 warnings\n");
}

TEST(CheckProgram, ThePlantedPackEndsWithItsSummaryAndStatusOne) {
    CheckProcess run = runCheckProcess("-game='" VELLUM_SOURCE_DIR "/tests/check/pack'");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(lastLine(run.output), "51 errors, 8 warnings") << run.output;
}

TEST(CheckProgram, TheAuthorsExampleChecksWithoutErrors) {
    CheckProcess run = runCheckProcess("-game='" VELLUM_SOURCE_DIR "/docs/example'");
    EXPECT_EQ(run.exitCode, 0) << run.output;
    EXPECT_EQ(lastLine(run.output).rfind("0 errors, ", 0), 0u) << run.output;
}

TEST(CheckProgram, AnEmptyGameListsEveryFileTheEngineNeedsWhereItIsLookedFor) {
    TemporaryFolder game;
    game.write("data/.keep", "");
    CheckProcess run = runCheckProcess("-game='" + game.native() + "'");
    EXPECT_EQ(run.exitCode, 1);
    for (const char* missing :
         {"data/gui/empty.png:0: error: missing", "data/gui/black.png:0: error: missing",
          "data/gui/font-main.xml:0: error: missing", "data/gui/font-alt.xml:0: error: missing",
          "data/gui/cursor_usual.png:0: error: missing",
          "data/gui/cursor_point.png:0: error: missing",
          "data/scripts/startup.nut:0: error: missing", "data_en/strings.lng:0: error: missing"}) {
        EXPECT_NE(("\n" + run.output).find(std::string("\n") + missing), std::string::npos)
            << missing << "\n"
            << run.output;
    }
}

TEST(CheckProgram, ALanguageTheEngineRefusesIsReportedAtItsLineOfGameIni) {
    TemporaryFolder game;
    game.write("game.ini", "; settings\nAppDataFolder=RefusedLanguage\nLanguage=..\\..\\data_en\n");
    game.write("data/.keep", "");
    CheckProcess run = runCheckProcess("-game='" + game.native() + "'");
    EXPECT_NE(run.output.find("game.ini:3: warning: the engine reports: Language folder "
                              "'..\\..\\data_en' is not a folder name: data_en is used instead"),
              std::string::npos)
        << run.output;
}

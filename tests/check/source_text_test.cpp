// Text files read the way the engine reads them, with each line's original file and line, and the
// report's names and order.

#include "check/check_report.h"
#include "support/temporary_folder.h"
#include "utils/source_text.h"
#include "utils/utils_fs.h"
#include "utils/utils_lang.h"

#include <gtest/gtest.h>

#include <string>

namespace {

class SourceTextTest : public testing::Test {
protected:
    void SetUp() override {
        setGameFolder(folder.engine());
        setLanguage("data_en");
    }
    void TearDown() override {
        clearTextCache();
        setGameFolder("");
    }

    SourceText read(const std::string& name) {
        SourceText source;
        EXPECT_TRUE(readSourceText(resolveDataPath(name), source)) << name;
        return source;
    }

    TemporaryFolder folder;
};

std::string where(const SourceText::Origin& origin) {
    return reportedFileName(origin.file) + ":" + std::to_string(origin.line);
}

} // namespace

TEST_F(SourceTextTest, IncludedLinesKeepTheirOwnFileAndLine) {
    folder.write("data/scripts/inner.inc", "i1\ni2\n");
    folder.write("data/scripts/outer.inc", "o1\n${include(scripts\\inner.inc)}o3\n");
    folder.write("data/scripts/main.nut", "m1\r\nm2 ${include(scripts\\outer.inc)}m3\nm4\n");
    SourceText source = read("scripts\\main.nut");
    std::string text;
    ASSERT_TRUE(readTextFile("scripts\\main.nut", text));
    // The same text the engine's reader gives.
    EXPECT_EQ(source.text, text);
    EXPECT_EQ(source.text, "m1\nm2 o1\ni1\ni2\no3\nm3\nm4\n");
    EXPECT_EQ(where(source.originOfLine(0)), "data/scripts/main.nut:1");
    // A line that starts in the including file belongs to it.
    EXPECT_EQ(where(source.originOfLine(1)), "data/scripts/main.nut:2");
    EXPECT_EQ(where(source.originOfLine(2)), "data/scripts/inner.inc:1");
    EXPECT_EQ(where(source.originOfLine(3)), "data/scripts/inner.inc:2");
    EXPECT_EQ(where(source.originOfLine(4)), "data/scripts/outer.inc:2");
    // What follows a directive on its line stays on that line.
    EXPECT_EQ(where(source.originOfLine(5)), "data/scripts/main.nut:2");
    EXPECT_EQ(where(source.originOfLine(6)), "data/scripts/main.nut:3");
    EXPECT_EQ(where(source.originAt(source.text.find("m4"))), "data/scripts/main.nut:3");
}

TEST_F(SourceTextTest, AMissingIncludeIsNamedWithItsDirectiveAndLeavesNothing) {
    folder.write("data/a.spr", "-Size:1\n${include(gone.inc)}\n-Alpha:1\n");
    SourceText source = read("a.spr");
    EXPECT_EQ(source.text, "-Size:1\n\n-Alpha:1\n");
    ASSERT_EQ(source.missingIncludes.size(), 1u);
    EXPECT_EQ(where(source.missingIncludes[0].first), "data/a.spr:2");
    EXPECT_EQ(reportedFileName(source.missingIncludes[0].second), "data/gone.inc");
    EXPECT_EQ(where(source.originOfLine(2)), "data/a.spr:3");
}

TEST_F(SourceTextTest, AFileIncludingItselfStopsExpandingAsTheEngineDoes) {
    folder.write("data/self.spr", "a\n${include(self.spr)}\nb\n");
    SourceText source = read("self.spr");
    std::string text;
    ASSERT_TRUE(readTextFile("self.spr", text));
    EXPECT_EQ(source.text, text);
}

TEST_F(SourceTextTest, ReportLinesAreRelativeSortedCountedOnceAndSummed) {
    CheckReport report;
    report.warning(gameFolder() + "data\\gui\\b.spr", 7, "second");
    report.error("gui\\a.spr", 3, "first\nof two lines");
    report.error("gui\\a.spr", 3, "first\nof two lines");
    report.error(gameFolder() + "data_en\\strings.lng", 0, "third");
    EXPECT_EQ(report.errorCount(), 2);
    EXPECT_EQ(report.warningCount(), 1);
    EXPECT_EQ(report.text(), "data/gui/a.spr:3: error: first of two lines\n"
                             "data/gui/b.spr:7: warning: second\n"
                             "data_en/strings.lng:0: error: third\n"
                             "2 errors, 1 warnings\n");
}

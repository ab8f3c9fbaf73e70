#include "utils/line_alignment.h"

#include <gtest/gtest.h>

#include <string>

using Origins = std::vector<int>;

TEST(LineAlignment, UnchangedAndReplacedLinesMapToWhereTheyCameFrom) {
    EXPECT_EQ(alignLines("a\nb\n", "a\nb\n"), (Origins{0, 1, 2}));
    EXPECT_EQ(alignLines("", ""), (Origins{0}));
    // One line grew into three: all three are that line, the rest moves down.
    EXPECT_EQ(alignLines("a\nX\nb\nc", "a\nx1\nx2\nx3\nb\nc"), (Origins{0, 1, 1, 1, 2, 3}));
    // Two lines became one, and a later line changed in place.
    EXPECT_EQ(alignLines("a\nX\nY\nb\nZ\nc", "a\nxy\nb\nz\nc"), (Origins{0, 1, 3, 4, 5}));
    // Lines only inserted count as the line before them (the first line at the start).
    EXPECT_EQ(alignLines("a\nb", "new\na\nmore\nb"), (Origins{0, 0, 0, 1}));
}

TEST(LineAlignment, LinesAfterAnIncludedBlockThatEndsLikeThemKeepTheirOwnNumbers) {
    // The include's text ends with the same lines that follow the include.
    std::string written = "top\n${include(x)}\n}\n\nfunction f() {\n}\n";
    std::string read = "top\nfunction g() {\n}\n\n}\n\nfunction f() {\n}\n";
    Origins origins = alignLines(written, read);
    ASSERT_EQ(origins.size(), 9u);
    EXPECT_EQ(origins[0], 0);
    EXPECT_EQ(origins[6], 4) << "function f";
    EXPECT_EQ(origins[7], 5);
    EXPECT_EQ(origins[8], 6);
}

TEST(LineAlignment, ATextChangedEverywhereStillMapsEveryLineInOrder) {
    std::string before;
    std::string after;
    for (int line = 0; line < 5000; ++line) {
        before += "old " + std::to_string(line) + "\n";
        after += "new " + std::to_string(line) + "\n";
    }
    before += "end";
    after += "end";
    Origins origins = alignLines(before, after);
    ASSERT_EQ(origins.size(), 5001u);
    EXPECT_EQ(origins[0], 0);
    EXPECT_EQ(origins[4000], 4000);
    EXPECT_EQ(origins[5000], 5000);
}

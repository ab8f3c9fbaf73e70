// The check mode over files with bad bytes and overlong lines: each problem is reported once, at
// the file and line that holds it.

#include "check/pack_check.h"
#include "support/temporary_folder.h"
#include "utils/text_file_check.h"
#include "utils/utils_fs.h"
#include "utils/utils_str.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

namespace {

using namespace std::string_literals;

// The report lines of a check over a copy of the pack of planted mistakes with the given files
// added.
std::vector<std::string> checkWith(const std::vector<std::pair<std::string, std::string>>& files) {
    TemporaryFolder folder;
    std::filesystem::copy(VELLUM_SOURCE_DIR "/tests/check/pack", folder.native() + "pack",
                          std::filesystem::copy_options::recursive);
    for (const auto& [name, text] : files) {
        folder.write("pack/" + name, text);
    }
    return checkGameFolder(folder.engine() + "pack\\").lines;
}

size_t countStarting(const std::vector<std::string>& lines, const std::string& start) {
    return static_cast<size_t>(
        std::count_if(lines.begin(), lines.end(),
                      [&](const std::string& line) { return startsWith(line, start); }));
}

TEST(TextFileCheck, BadBytesAndOverlongLinesAreReportedOnceAtTheirLine) {
    const std::vector<std::string> lines = checkWith({
        {"data/gui/zero.spr", "-Texture:button_normal.png\n-Name:zero\n-Al\0pha:1\n"s},
        {"data/gui/long.spr",
         "-Texture:button_normal.png\n-Hint:" + std::string(kMaxTextLineBytes + 1, 'h') + "\n"},
        {"data/gui/bom.spr", "\xEF\xBB\xBF-Texture:button_normal.png\n-Name:b\xC3\n"},
    });
    EXPECT_EQ(countStarting(lines, "data/gui/zero.spr:3: error: this line holds a zero byte: the "
                                   "text is read up to it"),
              1u);
    EXPECT_EQ(countStarting(lines, "data/gui/long.spr:2: error: this line is longer than 1048576 "
                                   "bytes (1 MiB), the longest line a text file may have: the "
                                   "file is not read"),
              1u);
    EXPECT_EQ(countStarting(lines, "data/gui/bom.spr:2: warning: this line is not UTF-8, though "
                                   "the file starts with a UTF-8 byte-order mark"),
              1u);
}

} // namespace

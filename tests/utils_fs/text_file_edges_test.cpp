#include "data_folders.h"

#include "utils/source_text.h"
#include "utils/text_file_check.h"

namespace {

using namespace std::string_literals;

// Bad bytes at the edges of every text file: the reader every format goes through.
using TextFileEdges = DataFolders;

std::string readText(const std::string& name) {
    std::string text = "unchanged";
    EXPECT_TRUE(readTextFile(name, text)) << name;
    return text;
}

TEST_F(TextFileEdges, ZeroByteEndsTheTextWithItsFileAndLineNamed) {
    program.write("data/zero.spr", "-Alpha:1\n-Size:w1 h\0\n-Rotation:5\n"s);
    EXPECT_EQ(readText("zero.spr"), "-Alpha:1\n-Size:w1 h");
    ASSERT_EQ(boxes.boxes().size(), 1u);
    EXPECT_EQ(boxes.boxes()[0].text, "Line 2 of " + enginePath("data\\zero.spr") +
                                         " holds a zero byte: the text is read up to it");
}

TEST_F(TextFileEdges, LineBeyondTheLimitRefusesTheFileNamingLineAndLimit) {
    const std::string longLine(kMaxTextLineBytes + 1, 'x');
    program.write("data/long.txt", "first\nsecond\n" + longLine + "\nlast\n");
    std::string text = "unchanged";
    EXPECT_FALSE(readTextFile("long.txt", text));
    EXPECT_EQ(text, "unchanged");
    EXPECT_TRUE(boxes.sawText("Line 3 of " + enginePath("data\\long.txt") +
                              " is longer than 1048576 bytes (1 MiB)"));
    // A last line without its line feed counts the same.
    program.write("data/long_last.txt", "first\n" + longLine);
    EXPECT_FALSE(readTextFile("long_last.txt", text));
    EXPECT_TRUE(boxes.sawText("Line 2 of " + enginePath("data\\long_last.txt")));
}

TEST_F(TextFileEdges, LineOfExactlyTheLimitIsRead) {
    const std::string longest(kMaxTextLineBytes, 'y');
    program.write("data/longest.txt", longest + "\n" + longest);
    EXPECT_EQ(readText("longest.txt"), longest + "\n" + longest);
    EXPECT_TRUE(boxes.boxes().empty());
}

TEST_F(TextFileEdges, HighBytesAreWindows1252TextKeptAsTheyAre) {
    // The code page's undefined bytes, its C1 range, 0xFF and a UTF-8 sequence without a
    // byte-order mark (which reads as its two Windows-1252 letters).
    const std::string bytes = "a\x80\x81\x8D\x8F\x90\x9D\x9F\xA0\xFF z \xC3\xA9 \xC3\n";
    program.write("data/high.txt", bytes);
    EXPECT_EQ(readText("high.txt"), bytes);
    EXPECT_TRUE(boxes.boxes().empty());
}

TEST_F(TextFileEdges, ByteOrderMarkMakesTheFileUtf8AndItsTextEngineText) {
    program.write("data/utf8.txt",
                  "\xEF\xBB\xBFK=Gr\xC3\xBC\xC3\x9F\x65 \xE2\x82\xAC \xE4\xB8\xAD\n");
    EXPECT_EQ(readText("utf8.txt"), "K=Gr\xFC\xDF\x65 \x80 ?\n");
    EXPECT_TRUE(boxes.boxes().empty());
}

TEST_F(TextFileEdges, ByteOrderMarkBeforeBadUtf8NamesTheLineAndKeepsTheBytes) {
    // The file is cut in the middle of a two-byte sequence on its second line.
    program.write("data/cut.txt", "\xEF\xBB\xBFone\ntwo \xC3");
    EXPECT_EQ(readText("cut.txt"), "one\ntwo \xC3");
    EXPECT_TRUE(boxes.sawText("Line 2 of " + enginePath("data\\cut.txt") +
                              " is not UTF-8, though the file starts with a UTF-8 byte-order "
                              "mark: the file is read as Windows-1252 text"));
    // Overlong forms and encoded surrogates are no UTF-8 either.
    for (const std::string bad : {"\xC0\xAF", "\xE0\x80\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80"}) {
        std::string bytes = "\xEF\xBB\xBF" + bad;
        EXPECT_TRUE(checkTextFileBytes("bad.txt", bytes));
        EXPECT_EQ(bytes, bad);
    }
}

TEST_F(TextFileEdges, CheckedFileReaderNamesTheLinesToo) {
    // The check mode and script places read through the same checks.
    program.write("data/zero.dlg", "[Header]\n\n[Sprite]\n-Al\0pha:1\n"s);
    SourceText source;
    ASSERT_TRUE(readSourceText(enginePath("data\\zero.dlg"), source));
    EXPECT_EQ(source.text, "[Header]\n\n[Sprite]\n-Al");
    EXPECT_TRUE(boxes.sawText("Line 4 of " + enginePath("data\\zero.dlg") + " holds a zero byte"));
}

TEST_F(TextFileEdges, TruncatedIncludeAndMacroLeaveTheRestAsWritten) {
    program.write("data/inc.txt", "[inc]");
    program.write("data/cut_macro.txt", "a${include(inc.txt)}b${include(inc.t");
    EXPECT_EQ(readText("cut_macro.txt"), "a[inc]b${include(inc.t");
}

} // namespace

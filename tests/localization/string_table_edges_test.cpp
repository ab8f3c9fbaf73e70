#include "localized_program.h"
#include "platform/files.h"
#include "support/message_box_recorder.h"
#include "support/temporary_folder.h"
#include "utils/debug.h"
#include "utils/engine_state.h"
#include "utils/text_file_check.h"
#include "utils/utils_fs.h"
#include "utils/utils_lang.h"

#include <gtest/gtest.h>

namespace {

using namespace std::string_literals;

// String tables ("strings.lng") with bad bytes, cut lines and absurd sizes.
class StringTableEdges : public LocalizedProgram {
protected:
    StringTableEdges() : LocalizedProgram("data_de") {}

    void SetUp() override {
        LocalizedProgram::SetUp();
        program.write("data_en/strings.lng", "HELLO=Hello\nNEW=New\n");
    }

    std::string germanFile() const { return programFolder() + "data_de\\strings.lng"; }
};

TEST_F(StringTableEdges, Windows1252EdgeBytesAreTheStringsOwnLetters) {
    program.write("data_de/strings.lng",
                  "EURO=\x80 \x81\x8D\x8F\x90\x9D\nUMLAUT=\xC4\xD6\xDC\xFF\nHALF=\xC3\n");
    EXPECT_EQ(localize("EURO"), "\x80 \x81\x8D\x8F\x90\x9D");
    EXPECT_EQ(localize("UMLAUT"), "\xC4\xD6\xDC\xFF");
    EXPECT_EQ(localize("HALF"), "\xC3");
    EXPECT_TRUE(boxes.boxes().empty());
}

TEST_F(StringTableEdges, Utf8TableWithByteOrderMarkFindsItsFirstKeyAndBecomesEngineText) {
    program.write("data_de/strings.lng", "\xEF\xBB\xBFHELLO=Gr\xC3\xBC\xC3\x9F Gott\n");
    EXPECT_EQ(localize("HELLO"), "Gr\xFC\xDF Gott");
}

TEST_F(StringTableEdges, ZeroByteEndsTheTableAndTheRewriteKeepsEveryByte) {
    const std::string original = "HELLO=Hal\0lo\nNEW=Neu"s;
    program.write("data_de/strings.lng", original);
    EXPECT_EQ(localize("HELLO"), "Hal");
    EXPECT_TRUE(boxes.sawText("Line 1 of " + germanFile() + " holds a zero byte"));
    // NEW stands after the zero byte: it falls back to English, and the file, which has the key,
    // is left as it was.
    EXPECT_EQ(localize("NEW"), "New");
    std::string bytes;
    ASSERT_TRUE(readWholeFile(germanFile(), bytes));
    EXPECT_EQ(bytes, original);
}

TEST_F(StringTableEdges, OverlongLineRefusesTheTableAndFallsBackToEnglish) {
    const std::string original = "HELLO=Hallo\nLONG=" + std::string(kMaxTextLineBytes, 'x') + "\n";
    program.write("data_de/strings.lng", original);
    EXPECT_EQ(localize("HELLO"), "Hello");
    EXPECT_TRUE(boxes.sawText("Line 2 of " + germanFile() + " is longer than 1048576 bytes"));
    // The missing key is appended to the file as it is on the disk, not to the refused text.
    std::string bytes;
    ASSERT_TRUE(readWholeFile(germanFile(), bytes));
    EXPECT_EQ(bytes.substr(0, original.size()), original);
}

TEST_F(StringTableEdges, TableCutInItsLastLineReadsWhatIsThere) {
    program.write("data_de/strings.lng", "HELLO=Hallo\nNEW=Ne");
    EXPECT_EQ(localize("NEW"), "Ne");
    program.write("data_de/strings.lng", "HELLO=Hallo\nNE");
    clearLocalizationCaches();
    EXPECT_EQ(localize("NEW"), "New");
}

} // namespace

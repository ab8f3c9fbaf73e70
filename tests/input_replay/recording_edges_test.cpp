#include "input/input_record.h"
#include "input/recorded_input.h"
#include "support/message_box_recorder.h"
#include "support/temporary_folder.h"
#include "utils/debug.h"
#include "utils/text_file_check.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace std::string_literals;

// The one problem the single line gives, or "" when it reads.
std::string problemOf(const std::string& line) {
    InputRecording recording = parseInputRecording(line + "\n");
    EXPECT_LE(recording.problems.size(), 1u);
    return recording.problems.empty() ? std::string() : recording.problems.front();
}

// Input recordings with absurd numbers, bad bytes, cut lines and overlong lines.
TEST(RecordingEdges, AbsurdNumbersAreMalformedLinesNamedByTheirNumber) {
    const std::vector<std::string> bad = {
        "99999999999 mouse move 1 1",     // frame beyond the int range
        "-0 mouse move 1 1",              // frame 0
        "1 mouse move 99999999999 1",     // position beyond the int range
        "1 mouse move 1e308 1",           // no whole number
        "1 mouse wheel 1 1 1e39",         // wheel beyond the float range
        "1 mouse wheel 1 1 nan",          // no number
        "1 mouse wheel 1 1 inf",          // no finite number
        "1 mouse wheel 1 1 -inf",         // no finite number
        "1 key down 65 4294967296 0 0",   // character beyond the range
        "1 key down 65 97 0 0 b99999999", // a field too many
    };
    for (const std::string& line : bad) {
        EXPECT_EQ(problemOf(line).rfind("line 1 (" + line + "): ", 0), 0u) << line;
    }
    // Numbers at the edges of their range read.
    EXPECT_EQ(problemOf("2147483647 mouse move -2147483648 2147483647"), "");
    EXPECT_EQ(problemOf("1 mouse wheel 0 0 -0"), "");
    EXPECT_EQ(problemOf("1 mouse wheel 0 0 3.4e38"), "");
}

TEST(RecordingEdges, BadBytesAndCutLinesAreMalformedLines) {
    for (const std::string& line :
         {"1 mouse move 1 1\xFF"s, "1 mouse \x81\x8D\x8F\x90\x9D 1 1"s, "1 mo\0use move 1 1"s,
          "1 \xEF\xBB\xBFmouse move 1 1"s, "1 mouse move 1"s, "1 mouse"s, "1 key down 6"s}) {
        EXPECT_EQ(problemOf(line).rfind("line 1 (", 0), 0u) << line;
    }
}

TEST(RecordingEdges, ProblemReportsQuoteLongLinesCut) {
    const std::string line = "1 mouse move 1 1 " + std::string(100000, 'x');
    const std::string problem = problemOf(line);
    EXPECT_EQ(problem.rfind("line 1 (" + line.substr(0, 80) + "...): ", 0), 0u)
        << problem.substr(0, 200);
    EXPECT_LT(problem.size(), 400u);
}

class RecordingFileEdges : public testing::Test {
protected:
    void SetUp() override { setDebugLogFolder(folder.engine()); }

    TemporaryFolder folder;
    MessageBoxRecorder boxes;
};

TEST_F(RecordingFileEdges, ReplayFilesPassTheTextFileChecks) {
    struct Ignoring : irr::IEventReceiver {
        bool OnEvent(const irr::SEvent&) override { return false; }
    } receiver;
    CRecordedInput recorder{receiver};
    folder.write("zero.txt", "1 mouse move 1 1\n2 mouse move 2\0 2\n"s);
    ASSERT_TRUE(recorder.startReplay(folder.native() + "zero.txt"));
    EXPECT_TRUE(boxes.sawText("Line 2 of " + folder.native() + "zero.txt holds a zero byte"));
    // The cut line that is left is malformed and reported as such.
    EXPECT_TRUE(boxes.sawText("line 2 (2 mouse move 2)"));

    folder.write("long.txt", "1 mouse move 1 1\n# " + std::string(kMaxTextLineBytes, '#') + "\n");
    EXPECT_FALSE(recorder.startReplay(folder.native() + "long.txt"));
    EXPECT_TRUE(boxes.sawText("Line 2 of " + folder.native() + "long.txt is longer than"));
}

} // namespace

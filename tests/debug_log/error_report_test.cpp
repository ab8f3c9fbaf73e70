#include "platform/message_box.h"
#include "support/message_box_recorder.h"
#include "support/temporary_folder.h"
#include "utils/debug.h"
#include "utils/utils_fs.h"

#include <gtest/gtest.h>

#include <unistd.h>

namespace {

class ErrorReport : public testing::Test {
protected:
    void SetUp() override { setDebugLogFolder(folder.engine()); }
    void TearDown() override { fullScreenMode = 0; }

    TemporaryFolder folder;
};

// Ends the process with code 5 if any box appears, so an exit code of 1 proves none did.
void failOnAnyBox() {
    setMessageBoxHook([](const std::string&, const std::string&, int) -> int { _exit(5); });
}

} // namespace

TEST_F(ErrorReport, RawBoxAddsTheExclamationIconOnlyToPlainKinds) {
    MessageBoxRecorder boxes;
    rawMessageBox("a", kBoxOk);
    rawMessageBox("b", kBoxYesNo);
    rawMessageBox("c", kBoxAbortRetryIgnore);
    rawMessageBox("d", kBoxRetryCancel);
    rawMessageBox("e", kBoxYesNo | 0x10);
    ASSERT_EQ(boxes.boxes().size(), 5u);
    EXPECT_EQ(boxes.boxes()[0].kind, kBoxOk | kBoxIconExclamation);
    EXPECT_EQ(boxes.boxes()[1].kind, kBoxYesNo | kBoxIconExclamation);
    EXPECT_EQ(boxes.boxes()[2].kind, kBoxAbortRetryIgnore);
    EXPECT_EQ(boxes.boxes()[3].kind, kBoxRetryCancel);
    EXPECT_EQ(boxes.boxes()[4].kind, kBoxYesNo | 0x10);
}

TEST_F(ErrorReport, FullScreenShowsNoBoxAndAnswersYesOnlyForYesNo) {
    MessageBoxRecorder boxes(kAnswerNo);
    fullScreenMode = 1;
    EXPECT_EQ(messageBox("q", kBoxYesNo), kAnswerYes);
    EXPECT_EQ(messageBox("q", kBoxOk), 0);
    EXPECT_EQ(messageBox("q", kBoxYesNoCancel), 0);
    EXPECT_TRUE(boxes.boxes().empty());
    EXPECT_EQ(rawMessageBox("always", kBoxOk), kAnswerNo);
    EXPECT_EQ(boxes.boxes().size(), 1u);
}

TEST_F(ErrorReport, ContinuableErrorAsksAndContinuesOnYes) {
    MessageBoxRecorder boxes(kAnswerYes);
    EXPECT_EQ(reportError("Broken key", true), 0);
    ASSERT_EQ(boxes.boxes().size(), 1u);
    EXPECT_EQ(boxes.boxes()[0].text, "Broken key\nYes to continue, No to stop");
    EXPECT_EQ(boxes.boxes()[0].kind, kBoxYesNo | kBoxIconExclamation);
}

TEST_F(ErrorReport, ShowErrorBoxWithoutAskingInformsAndReturnsFalse) {
    MessageBoxRecorder boxes(kAnswerOk);
    EXPECT_FALSE(showErrorBox("Just so you know", false));
    ASSERT_EQ(boxes.boxes().size(), 1u);
    EXPECT_EQ(boxes.boxes()[0].text, "Just so you know");
}

TEST_F(ErrorReport, ContinuableErrorAnsweredNoEndsWithCodeOne) {
    EXPECT_EXIT(
        {
            MessageBoxRecorder boxes(kAnswerNo);
            reportError("Stop here", true);
        },
        testing::ExitedWithCode(1), "");
}

TEST_F(ErrorReport, FatalErrorShowsTheBoxThenEndsWithCodeOneAndKeepsTheLog) {
    EXPECT_EXIT(
        {
            setMessageBoxHook([](const std::string& text, const std::string&, int) {
                fprintf(stderr, "box: %s\n", text.c_str());
                return kAnswerOk;
            });
            reportError("Fatal thing", false);
        },
        testing::ExitedWithCode(1), "box: Fatal thing");
    EXPECT_NE(folder.read("last_debug.log").find("\tFatal thing\n"), std::string::npos);
}

TEST_F(ErrorReport, FullScreenFatalErrorEndsWithoutABox) {
    EXPECT_EXIT(
        {
            failOnAnyBox();
            fullScreenMode = 1;
            reportError("Silent end", false);
        },
        testing::ExitedWithCode(1), "");
    EXPECT_NE(folder.read("last_debug.log").find("Silent end"), std::string::npos);
}

TEST_F(ErrorReport, FullScreenContinuableErrorContinuesWithoutABox) {
    EXPECT_EXIT(
        {
            failOnAnyBox();
            fullScreenMode = 1;
            exit(reportError("Go on", true) == 0 ? 0 : 3);
        },
        testing::ExitedWithCode(0), "");
}

#include "utils/option_set.h"

#include "support/message_box_recorder.h"

#include <gtest/gtest.h>

#include <cmath>

TEST(OptionSet, SettersCountOnlyRealChanges) {
    OptionSet options;
    options.setStringOption("name", "");
    options.setLongOption("count", 0);
    options.setDoubleOption("ratio", 0.0f);
    EXPECT_EQ(options.changeCount(), 0);
    options.setStringOption("name", "x");
    options.setStringOption("name", "x");
    options.setLongOption("count", 3);
    options.setDoubleOption("ratio", 0.5f);
    options.setDoubleOption("ratio", 0.5f);
    EXPECT_EQ(options.changeCount(), 3);
    EXPECT_EQ(options.getStringOption("name"), "x");
    EXPECT_EQ(options.getLongOption("count"), 3);
    EXPECT_FLOAT_EQ(options.getDoubleOption("ratio"), 0.5f);
    EXPECT_EQ(options.getStringOption("absent", "dflt"), "dflt");
    EXPECT_EQ(options.getLongOption("absent", 9), 9);
    EXPECT_FLOAT_EQ(options.getDoubleOption("absent", 2.5f), 2.5f);
}

TEST(OptionSet, FindOptionSearchesStringThenLongThenDouble) {
    OptionSet options;
    options.setDoubleOption("x", 1.5f);
    options.setLongOption("x", 7);
    options.setLongOption("y", 4);
    options.setDoubleOption("z", 2.5f);
    std::string text;
    int32_t number = 0;
    float real = 0;
    EXPECT_EQ(options.findOption("x", text, number, real), 2);
    EXPECT_EQ(number, 7);
    EXPECT_FLOAT_EQ(real, 0.0f);
    EXPECT_EQ(options.findOption("z", text, number, real), 3);
    EXPECT_FLOAT_EQ(real, 2.5f);
    options.setStringOption("x", "s");
    EXPECT_EQ(options.findOption("x", text, number, real), 1);
    EXPECT_EQ(text, "s");
    EXPECT_EQ(options.findOption("none", text, number, real), 0);
}

TEST(OptionSet, SerializesInKindAndSignedByteOrder) {
    OptionSet options;
    options.setLongOption("b", 2);
    options.setStringOption("\xe9t\xe9", "accent");
    options.setStringOption("ab", "2");
    options.setStringOption("a", "1");
    options.setDoubleOption("d", 1.0f / 3);
    options.setLongOption("a", -1);
    EXPECT_EQ(options.serializeOptions(), "\n"
                                          "Option[\xe9t\xe9]=accent\n"
                                          "Option[a]=1\n"
                                          "Option[ab]=2\n"
                                          "OptionLong[a]=-1\n"
                                          "OptionLong[b]=2\n"
                                          "OptionDouble[d]=0.33\n");
}

TEST(OptionSet, SerializeAppliesIncludeAndExcludePatterns) {
    OptionSet options;
    options.setStringOption("level.1", "a");
    options.setStringOption("level.2", "b");
    options.setLongOption("score", 5);
    EXPECT_EQ(options.serializeOptions("level.*", ""), "\nOption[level.1]=a\nOption[level.2]=b\n");
    EXPECT_EQ(options.serializeOptions("", "*.2"), "\nOption[level.1]=a\nOptionLong[score]=5\n");
    EXPECT_EQ(options.serializeOptions("level.*", "*.1"), "\nOption[level.2]=b\n");
}

TEST(OptionSet, RoundTripsMultiLineStringsThroughBase64) {
    OptionSet options;
    options.setStringOption("note", "line one\nline two\r\n");
    options.setStringOption("plain", "a = b");
    options.setLongOption("count", -12345678);
    options.setDoubleOption("third", 1.0f / 3);
    std::string text = options.serializeOptions();
    EXPECT_NE(text.find("\nOptionStrB64[note]=bGluZSBvbmUKbGluZSB0d28NCg==\n"), std::string::npos);

    OptionSet read;
    read.parseOptions(text);
    EXPECT_EQ(read.changeCount(), 0);
    EXPECT_EQ(read.getStringOption("note"), "line one\nline two\r\n");
    EXPECT_EQ(read.getStringOption("plain"), "a = b");
    EXPECT_EQ(read.getLongOption("count"), -12345678);
    EXPECT_FLOAT_EQ(read.getDoubleOption("third"), 0.33f);
    EXPECT_EQ(read.serializeOptions(), text);
}

TEST(OptionSet, ParseReadsEveryRecordKindAndIgnoresOtherLines) {
    OptionSet options;
    options.parseOptions("\nFullscreen=1\nOption[a]= x \nOptionLong[n]=123456789\n"
                         "OptionDouble[f]=2.5\nOptionStrB64[m]=YQpi\nOption[unclosed=3\n");
    EXPECT_EQ(options.getStringOption("a"), "x");
    EXPECT_EQ(options.getLongOption("n"), 12345678);
    EXPECT_FLOAT_EQ(options.getDoubleOption("f"), 2.5f);
    EXPECT_EQ(options.getStringOption("m"), "a\nb");
    std::string text;
    int32_t number;
    float real;
    EXPECT_EQ(options.findOption("Fullscreen", text, number, real), 0);
}

TEST(OptionSet, NamesTheFileCannotHoldAreRefusedAndTheFileReadsBackTheSame) {
    MessageBoxRecorder boxes;
    OptionSet options;
    options.setStringOption("a\nOption[b]=injected", "x");
    options.setLongOption("c]d", 4);
    options.setDoubleOption("e\rf", 1.5f);
    EXPECT_EQ(options.changeCount(), 0);
    EXPECT_EQ(boxes.boxes().size(), 3u);
    EXPECT_TRUE(boxes.sawText("Option name cannot be stored"));
    EXPECT_EQ(options.serializeOptions(), "\n");

    options.setStringOption("plain", "line one\nline two");
    options.setStringOption("name with spaces", "v");
    options.setLongOption("n", -3);
    options.setDoubleOption("d", 0.25f);
    const std::string written = options.serializeOptions();
    OptionSet reread;
    reread.parseOptions(written);
    EXPECT_EQ(reread.serializeOptions(), written);
    EXPECT_EQ(reread.getStringOption("plain"), "line one\nline two");

    // A record broken across lines in a hand-edited file is skipped, not read as a new name.
    OptionSet damaged;
    damaged.parseOptions("\nOption[a\nb]=1\nOption[ok]=2\n");
    EXPECT_EQ(damaged.serializeOptions(), "\nOption[ok]=2\n");
}

TEST(OptionSet, NamesHoldingZeroBytesAreWrittenWholeAndReadBackInTheSameOrder) {
    const std::string shorter("l", 1);
    const std::string zeroInside("l\0x", 3);
    const std::string highByte("l\xff\0y", 4);
    OptionSet options;
    options.parseOptions("\nOptionLong[" + zeroInside + "]=1\nOptionLong[" + highByte +
                         "]=2\nOptionLong[" + shorter + "]=3\nOption[" + zeroInside + "]=s\n");
    EXPECT_EQ(options.getLongOption(zeroInside), 1);
    EXPECT_EQ(options.getLongOption(highByte), 2);
    const std::string written = options.serializeOptions();
    EXPECT_EQ(written, "\nOption[" + zeroInside + "]=s\nOptionLong[" + shorter +
                           "]=3\nOptionLong[" + highByte + "]=2\nOptionLong[" + zeroInside +
                           "]=1\n");
    OptionSet reread;
    reread.parseOptions(written);
    EXPECT_EQ(reread.serializeOptions(), written);
}

TEST(OptionSet, StringValuesWithOuterBlanksSurviveWritingAndReading) {
    OptionSet options;
    options.setStringOption("lead", " x");
    options.setStringOption("trail", "line\t");
    options.setStringOption("inner", "a b");
    const std::string written = options.serializeOptions();
    EXPECT_NE(written.find("\nOption[inner]=a b\n"), std::string::npos) << written;
    OptionSet reread;
    reread.parseOptions(written);
    EXPECT_EQ(reread.getStringOption("lead"), " x");
    EXPECT_EQ(reread.getStringOption("trail"), "line\t");
    EXPECT_EQ(reread.getStringOption("inner"), "a b");
    EXPECT_EQ(reread.serializeOptions(), written);
}

TEST(OptionSet, LargeDoublesReadBackAsWrittenAndOnesBeyondFloatsAsZero) {
    MessageBoxRecorder boxes;
    OptionSet options;
    options.setDoubleOption("big", 1234567936.0f);
    options.parseOptions("\nOptionDouble[huge]=0.50e40\n");
    EXPECT_TRUE(boxes.sawText("The number '0.50e40' is beyond the range of numbers"));
    const std::string written = options.serializeOptions();
    EXPECT_NE(written.find("OptionDouble[big]=1234567936.00\n"), std::string::npos) << written;
    EXPECT_NE(written.find("OptionDouble[huge]=0.00\n"), std::string::npos) << written;
    OptionSet reread;
    reread.parseOptions(written);
    EXPECT_FLOAT_EQ(reread.getDoubleOption("big"), 1234567936.0f);
    EXPECT_EQ(reread.getDoubleOption("huge"), 0.0f);
    EXPECT_EQ(reread.serializeOptions(), written);
}

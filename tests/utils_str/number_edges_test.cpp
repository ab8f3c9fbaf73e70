#include "support/message_box_recorder.h"
#include "utils/key_value.h"
#include "utils/number_text.h"
#include "utils/option_set.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <string>

namespace {

// Absurd numbers in the text formats read through the shared number readers: each gives a
// finite float, and one beyond the float range is named in a box and read as 0.

bool isPositiveZero(float value) {
    return value == 0.0f && !std::signbit(value);
}

TEST(NumberEdges, FloatsBeyondTheRangeAreReportedAndReadAsZero) {
    MessageBoxRecorder boxes;
    for (const std::string text : {"1.0e39", "-1.0e39", "9.9e99999999", "1.5e308", "-1.0e308"}) {
        const float value = parseFloat(text);
        EXPECT_TRUE(isPositiveZero(value)) << text << " read as " << value;
        EXPECT_TRUE(boxes.sawText("The number '" + text +
                                  "' is beyond the range of numbers the engine reads (about "
                                  "3.4e38 either way): it is read as 0"))
            << text;
    }
    EXPECT_EQ(boxes.boxes().size(), 5u);
}

TEST(NumberEdges, FloatsInsideTheRangeReadWithoutABox) {
    MessageBoxRecorder boxes;
    EXPECT_FLOAT_EQ(parseFloat("3.4e38"), 3.4e38f);
    EXPECT_FLOAT_EQ(parseFloat("-3.4e38"), -3.4e38f);
    // Zero with any exponent is zero, and tiny values become zero.
    EXPECT_TRUE(isPositiveZero(parseFloat("0.0e99999999")));
    EXPECT_TRUE(isPositiveZero(parseFloat("1.0e-99999999")));
    // -0 is 0, so that it is never written back as "-0.00".
    EXPECT_TRUE(isPositiveZero(parseFloat("-0")));
    EXPECT_TRUE(isPositiveZero(parseFloat("-0.0")));
    // The exponent counts only after a fraction; "1e308" is the number 1.
    EXPECT_FLOAT_EQ(parseFloat("1e308"), 1.0f);
    EXPECT_FLOAT_EQ(parseFloat("-1e308"), -1.0f);
    // Words are no numbers.
    EXPECT_TRUE(isPositiveZero(parseFloat("nan")));
    EXPECT_TRUE(isPositiveZero(parseFloat("inf")));
    EXPECT_TRUE(isPositiveZero(parseFloat("-infinity")));
    EXPECT_TRUE(boxes.boxes().empty());
}

TEST(NumberEdges, IntegersBeyondTheirRangeStayInIt) {
    // Integers read at most eight digits.
    EXPECT_EQ(parseInt("99999999999999999999"), 99999999);
    EXPECT_EQ(parseInt("-99999999999999999999"), -99999999);
    EXPECT_EQ(parseInt("-0"), 0);
    EXPECT_EQ(parseIntAnyBase("0xFFFFFFFFFFFF"), -1);
    EXPECT_EQ(parseColor("99999999999999999999"), INT_MAX);
    EXPECT_EQ(parseColor("-99999999999999999999"), INT_MIN);
    EXPECT_EQ(parseColor("nan"), 0);
}

TEST(NumberEdges, KeyValueLinesReadAbsurdNumbersSafely) {
    MessageBoxRecorder boxes;
    const std::string text =
        "\nVolume=1.0e999\nGain=nan\nZero=-0\nCount=12345678901234\nWide=\xFF\x81\n";
    float value = 7.0f;
    EXPECT_TRUE(readFloatOption(value, text, "Volume"));
    EXPECT_TRUE(isPositiveZero(value));
    EXPECT_TRUE(boxes.sawText("'1.0e999'"));
    EXPECT_TRUE(readFloatOption(value, text, "Gain"));
    EXPECT_TRUE(isPositiveZero(value));
    EXPECT_TRUE(readFloatOption(value, text, "Zero"));
    EXPECT_TRUE(isPositiveZero(value));
    int count = 0;
    EXPECT_TRUE(readIntOption(count, text, "Count"));
    EXPECT_EQ(count, 12345678);
    std::string wide;
    EXPECT_TRUE(readStringOption(wide, text, "Wide"));
    EXPECT_EQ(wide, "\xFF\x81");
}

TEST(NumberEdges, OptionRecordsNeverHoldInfinityOrNaN) {
    MessageBoxRecorder boxes;
    OptionSet options;
    options.parseOptions("\nOptionDouble[a]=nan\nOptionDouble[b]=-inf\nOptionDouble[c]=1e308\n"
                         "OptionDouble[d]=-0\nOptionDouble[e]=3.0e38\n"
                         "OptionLong[f]=-99999999999999\nOption[g]=\x80\x9D\xFF\n");
    for (const char* name : {"a", "b", "c", "d"}) {
        EXPECT_TRUE(isPositiveZero(options.getDoubleOption(name, 5.0f))) << name;
    }
    EXPECT_FLOAT_EQ(options.getDoubleOption("e"), 3.0e38f);
    EXPECT_EQ(options.getLongOption("f"), -99999999);
    EXPECT_EQ(options.getStringOption("g"), "\x80\x9D\xFF");
    EXPECT_TRUE(boxes.sawText("'nan'"));
    EXPECT_TRUE(boxes.sawText("'-inf'"));
    EXPECT_TRUE(boxes.sawText("'1e308'"));
    EXPECT_EQ(boxes.boxes().size(), 3u);
}

} // namespace

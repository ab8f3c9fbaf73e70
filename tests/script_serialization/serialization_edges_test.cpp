#include "serialization_fixture.h"

#include "utils/utils_str.h"

#include <cmath>

namespace {

using namespace std::string_literals;
using squirrel::Object;
using squirrel::Type;

// Serialized values with absurd numbers, bad bytes and cut text.
using SerializationEdges = Serialization;

TEST_F(SerializationEdges, AbsurdNumbersReadAsFiniteValuesInRange) {
    const std::string written = serialize(vm.run("return [1, 2.5];", "value"));
    const std::string intElement = "<2_int val=\"1\"/>";
    const std::string floatElement = "<4_float val=\"2.500000\"/>";
    ASSERT_NE(written.find(intElement), std::string::npos) << written;
    ASSERT_NE(written.find(floatElement), std::string::npos) << written;
    struct Case {
        const char* intText;
        int intValue;
        const char* floatText;
    };
    for (const Case& c : {Case{"99999999999999999999", INT32_MAX, "1e308"},
                          Case{"-99999999999999999999", INT32_MIN, "-1e308"}, Case{"-0", 0, "nan"},
                          Case{"4294967296", INT32_MAX, "inf"}, Case{"1e308", 1, "-inf"}}) {
        std::string text =
            replaceAll(written, intElement, format("<2_int val=\"%s\"/>", c.intText));
        text = replaceAll(text, floatElement, format("<4_float val=\"%s\"/>", c.floatText));
        Object back = deserialize(text);
        ASSERT_EQ(back.size(), 2) << c.intText;
        EXPECT_EQ(back.get(0).toInt(), c.intValue) << c.intText;
        EXPECT_EQ(back.get(1).type(), Type::Float);
        EXPECT_TRUE(std::isfinite(back.get(1).toFloat())) << c.floatText;
        EXPECT_EQ(back.get(1).toFloat(), 0.0f) << c.floatText;
    }
}

TEST_F(SerializationEdges, StringsWithEveryByteButZeroRoundTrip) {
    std::string bytes;
    for (int byte = 1; byte < 256; ++byte) {
        bytes += static_cast<char>(byte);
    }
    bytes += "\xEF\xBB\xBF<8_str>\n";
    Object back = deserialize(serialize(vm.string(bytes)));
    EXPECT_EQ(back.toString(), bytes);
}

TEST_F(SerializationEdges, CutTextKeepsWhatIsWhole) {
    const std::string written = serialize(vm.run("return {a = 1, b = \"word\", c = [2.5]};", "v"));
    // Every cut of the text reads without a crash; the cut inside the first slot gives what was
    // before it.
    for (size_t length = 0; length < written.size(); ++length) {
        Object back = deserialize(written.substr(0, length));
        EXPECT_TRUE(back.type() == Type::Table || back.isNull()) << length;
    }
    EXPECT_EQ(deserialize(written).size(), 3);
}

TEST_F(SerializationEdges, BadBytesInTheMarkupAreDamagedElements) {
    const std::string written = serialize(vm.run("return [7];", "value"));
    const std::string damaged =
        replaceAll(written, "<2_int val=\"7\"/>", "<2_int val=\"\xFF\x81\"/>");
    Object back = deserialize(damaged);
    ASSERT_EQ(back.size(), 1);
    EXPECT_EQ(back.get(0).toInt(), 0);
    Object zero = deserialize(replaceAll(written, "<2_int", "<2_\0int"s));
    ASSERT_EQ(zero.size(), 1);
}

} // namespace

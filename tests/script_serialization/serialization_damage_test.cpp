// Unsupported values, damaged and hostile text, deep and self-holding values.
#include "serialization_fixture.h"

#include "utils/utils_str.h"

#include <chrono>

using squirrel::Object;
using squirrel::Type;

namespace {

const std::string kClosureCode = "134217984";
const std::string kNullCode = "16777217";

int countBoxesWith(const MessageBoxRecorder& boxes, const std::string& fragment) {
    int count = 0;
    for (const MessageBoxRecorder::Box& box : boxes.boxes()) {
        count += box.text.find(fragment) != std::string::npos ? 1 : 0;
    }
    return count;
}

// An array holding an array ... `levels` deep, each level's only element at key 0; the innermost
// holds the integer 7. Table ids are 0, 2, 4, ... as the writer numbers them.
std::string nestedArrayText(int levels, int id = 0) {
    if (levels == 0) {
        return format("<%i_type val=\"83886082\"/><%i_int val=\"7\"/>", id, id);
    }
    std::string slot = format("<%i_type val=\"83886082\"/><%i_int val=\"0\"/>", id + 1, id + 1) +
                       nestedArrayText(levels - 1, id + 2);
    return format("<%i_type val=\"134217792\"/>\n<%i_table>\n<%i_0_slot>\n%s\n</%i_0_slot>\n"
                  "</%i_table><%i_table_len val=\"1\"/>",
                  id, id, id, slot.c_str(), id, id, id);
}

// How many arrays are nested in the value, following element 0.
int arrayDepth(Object value) {
    int depth = 0;
    while (value.type() == Type::Array) {
        ++depth;
        if (value.size() == 0) {
            break;
        }
        value = value.get(0);
    }
    return depth;
}

TEST_F(Serialization, UnsupportedValuesAreReportedOnceEachAndReadBackAsNull) {
    std::string text = serialize(vm.run("return [1, null, function() {}, 4];", "value"));
    ASSERT_EQ(boxes.boxes().size(), 2u);
    EXPECT_EQ(boxes.boxes()[0].text, "Wrong SqSerialize type on serialize! " + kNullCode);
    EXPECT_EQ(boxes.boxes()[1].text, "Wrong SqSerialize type on serialize! " + kClosureCode);

    Object back = deserialize(text);
    ASSERT_EQ(back.size(), 4);
    EXPECT_EQ(back.get(0).toInt(), 1);
    EXPECT_TRUE(back.get(1).isNull());
    EXPECT_TRUE(back.get(2).isNull());
    EXPECT_EQ(back.get(3).toInt(), 4);
    ASSERT_EQ(boxes.boxes().size(), 4u);
    const std::string& framed = boxes.boxes()[3].text;
    EXPECT_TRUE(startsWith(framed, "Assert!\n")) << framed;
    EXPECT_NE(framed.find("script_serialization.cpp: "), std::string::npos) << framed;
    EXPECT_EQ(right(framed, 50), "\n\nWrong SqSerialize type on deserialize! " + kClosureCode);
    EXPECT_NE(boxes.boxes()[2].text.find("deserialize! " + kNullCode), std::string::npos);
}

TEST_F(Serialization, UnsupportedOutermostValueGivesAnEmptyTable) {
    std::string text = serialize(Object());
    EXPECT_EQ(text, "<0_type val=\"" + kNullCode + "\"/>");
    Object back = deserialize(text);
    EXPECT_EQ(back.type(), Type::Table);
    EXPECT_EQ(back.size(), 0);
    EXPECT_EQ(countBoxesWith(boxes, "Wrong SqSerialize type"), 2);
}

TEST_F(Serialization, TextWithoutElementZeroGivesAnEmptyTable) {
    for (const std::string& text : {std::string(), std::string("hello"),
                                    std::string("<1_type val=\"83886082\"/><1_int val=\"3\"/>"),
                                    std::string("<0_type val=\"abc\"/>")}) {
        Object back = deserialize(text);
        EXPECT_EQ(back.type(), Type::Table) << text;
        EXPECT_EQ(back.size(), 0) << text;
    }
    EXPECT_TRUE(boxes.boxes().empty());
}

TEST_F(Serialization, DamagedElementsReadAsEmptyText) {
    std::string text = serialize(vm.run("return [5, 2.5, true, \"word\"];", "value"));
    // Damage each scalar's element; the readable copy is ignored whatever it holds.
    text = replaceAll(text, "<2_int val=\"5\"/>", "<2_int val=\"x\"/>");
    text = replaceAll(text, "<4_float val=", "<4_flot val=");
    text = replaceAll(text, "<6_bool val=\"1\"", "<6_bool val=\"");
    text = replaceAll(text, "<8_str_debug>word<", "<8_str_debug>other<");
    Object back = deserialize(text);
    ASSERT_EQ(back.size(), 4);
    EXPECT_EQ(back.get(0).type(), Type::Integer);
    EXPECT_EQ(back.get(0).toInt(), 0);
    EXPECT_EQ(back.get(1).type(), Type::Float);
    EXPECT_EQ(back.get(1).toFloat(), 0.0f);
    EXPECT_EQ(back.get(2).type(), Type::Bool);
    EXPECT_FALSE(back.get(2).toBool());
    EXPECT_EQ(back.get(3).toString(), "word");

    std::string noString = replaceAll(text, "<8_str>", "<8_s>");
    EXPECT_EQ(deserialize(noString).get(3).toString(), "");
}

TEST_F(Serialization, ContainerKeepsTheSlotsBeforeAMissingOne) {
    std::string text = serialize(vm.run("return [1, 2, 3];", "value"));
    text = replaceAll(text, "<0_1_slot>", "<0_9_slot>");
    Object back = deserialize(text);
    ASSERT_EQ(back.type(), Type::Array);
    ASSERT_EQ(back.size(), 3);
    EXPECT_EQ(back.get(0).toInt(), 1);
    EXPECT_TRUE(back.get(1).isNull());
    EXPECT_TRUE(back.get(2).isNull());

    std::string noLength =
        replaceAll(serialize(vm.run("return {a = 1};", "value")), "<0_table_len val=\"1\"/>", "");
    EXPECT_EQ(deserialize(noLength).size(), 0);
}

TEST_F(Serialization, ForgedArrayLengthIsLimitedToTheSlotsPresent) {
    auto started = std::chrono::steady_clock::now();
    Object empty = deserialize(
        "<0_type val=\"134217792\"/>\n<0_table>\n</0_table><0_table_len val=\"99999999\"/>");
    ASSERT_EQ(empty.type(), Type::Array);
    EXPECT_EQ(empty.size(), 0);

    std::string two = replaceAll(serialize(vm.run("return [\"a\", \"b\"];", "value")),
                                 "<0_table_len val=\"2\"/>", "<0_table_len val=\"99999999\"/>");
    Object back = deserialize(two);
    ASSERT_EQ(back.size(), 2);
    EXPECT_EQ(back.get(1).toString(), "b");
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(2));
}

TEST_F(Serialization, ArrayKeysOutsideTheArrayAreSkipped) {
    std::string text = serialize(vm.run("return [\"a\", \"b\", \"c\"];", "value"));
    text = replaceAll(text, "<3_int val=\"1\"/>", "<3_int val=\"7\"/>");
    text = replaceAll(text, "<5_int val=\"2\"/>", "<5_int val=\"-1\"/>");
    Object back = deserialize(text);
    ASSERT_EQ(back.size(), 3);
    EXPECT_EQ(back.get(0).toString(), "a");
    EXPECT_TRUE(back.get(1).isNull());
    EXPECT_TRUE(back.get(2).isNull());
}

TEST_F(Serialization, NestingUpToTheLimitRoundTrips) {
    Object value = vm.run("local v = 7; for (local i = 0; i < 64; ++i) v = [v]; return v;", "deep");
    Object back = deserialize(serialize(value));
    EXPECT_EQ(arrayDepth(back), 64);
    Object innermost = back;
    for (int i = 0; i < 64; ++i) {
        innermost = innermost.get(0);
    }
    EXPECT_EQ(innermost.toInt(), 7);
    EXPECT_TRUE(boxes.boxes().empty());
}

TEST_F(Serialization, DeeperValuesAreReportedAndWrittenEmpty) {
    Object value =
        vm.run("local v = 7; for (local i = 0; i < 5000; ++i) v = [v]; return v;", "deep");
    std::string text = serialize(value);
    EXPECT_EQ(countBoxesWith(boxes, "SqSerialize value nested deeper than 64 levels on serialize!"),
              1);
    EXPECT_EQ(boxes.boxes().size(), 1u);
    Object back = deserialize(text);
    EXPECT_EQ(arrayDepth(back), 65);
    EXPECT_EQ(boxes.boxes().size(), 1u);
}

TEST_F(Serialization, DeeplyNestedTextIsReportedAndNotFollowed) {
    Object back = deserialize(nestedArrayText(64));
    EXPECT_EQ(arrayDepth(back), 64);
    EXPECT_TRUE(boxes.boxes().empty());

    back = deserialize(nestedArrayText(300));
    EXPECT_EQ(arrayDepth(back), 65);
    ASSERT_EQ(boxes.boxes().size(), 1u);
    EXPECT_EQ(boxes.boxes()[0].text,
              "SqSerialize value nested deeper than 64 levels on deserialize!");
}

TEST_F(Serialization, ValueHoldingItselfIsReportedAndWrittenOnce) {
    Object value = vm.run("local t = {n = 1}; t.self <- t; t.again <- t; t.list <- [t];"
                          "return t;",
                          "cycle");
    std::string text = serialize(value);
    EXPECT_EQ(countBoxesWith(boxes, "SqSerialize value contains itself on serialize!"), 3);
    Object back = deserialize(text);
    EXPECT_EQ(back.get("n").toInt(), 1);
    EXPECT_EQ(back.get("self").type(), Type::Table);
    EXPECT_EQ(back.get("self").size(), 0);
    EXPECT_EQ(back.get("again").size(), 0);
    ASSERT_EQ(back.get("list").size(), 1);
    EXPECT_EQ(back.get("list").get(0).size(), 0);
    EXPECT_EQ(boxes.boxes().size(), 3u);
}

TEST_F(Serialization, SharedValuesThatDoNotHoldThemselvesAreWrittenInFull) {
    Object back = roundTrip("function() { local s = {v = 2}; return {a = s, b = [s, s]}; }()");
    EXPECT_EQ(back.get("a").get("v").toInt(), 2);
    EXPECT_EQ(back.get("b").get(1).get("v").toInt(), 2);
    EXPECT_TRUE(boxes.boxes().empty());
}

} // namespace

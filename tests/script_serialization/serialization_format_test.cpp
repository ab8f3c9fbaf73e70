// The text form of script values and round trips of every supported type.
#include "serialization_fixture.h"

using squirrel::Object;
using squirrel::Type;

namespace {

const char* const kOneSlotTable = "<0_type val=\"167772192\"/>\n"
                                  "<0_table>\n"
                                  "\t<0_0_slot>\n"
                                  "\t<1_type val=\"134217744\"/><1_str>YQ==</1_str>"
                                  "<1_str_debug>a</1_str_debug>"
                                  "<2_type val=\"83886082\"/><2_int val=\"1\"/>\n"
                                  "\t</0_0_slot>\n"
                                  "</0_table><0_table_len val=\"1\"/>";

TEST_F(Serialization, OneSlotTableIsWrittenInTheStoredFormAndReadBack) {
    EXPECT_EQ(serialize(vm.run("return {a = 1};", "value")), kOneSlotTable);
    Object table = deserialize(kOneSlotTable);
    ASSERT_EQ(table.type(), Type::Table);
    EXPECT_EQ(table.size(), 1);
    EXPECT_EQ(table.get("a").type(), Type::Integer);
    EXPECT_EQ(table.get("a").toInt(), 1);
    EXPECT_TRUE(boxes.boxes().empty());
}

TEST_F(Serialization, CounterAdvancesOncePerScalarAndOncePerContainerBeforeItsSlots) {
    std::string text;
    int counter = 5;
    serializeValue(Object(7), text, counter);
    EXPECT_EQ(counter, 6);
    EXPECT_EQ(text, "<5_type val=\"83886082\"/><5_int val=\"7\"/>");

    text.clear();
    counter = 0;
    serializeValue(vm.run("return [true, 2.5];", "value"), text, counter);
    EXPECT_EQ(counter, 5);
    EXPECT_NE(text.find("<2_bool val=\"1\"/>"), std::string::npos);
    EXPECT_NE(text.find("<3_int val=\"1\"/><4_type val=\"83886084\"/><4_float val=\"2.500000\"/>"),
              std::string::npos);

    Object value;
    int readCounter = 0;
    EXPECT_EQ(deserializeValue(vm, text, value, readCounter), 1);
    EXPECT_EQ(readCounter, 5);
    EXPECT_EQ(value.size(), 2);

    Object untouched(3);
    readCounter = 9;
    EXPECT_EQ(deserializeValue(vm, text, untouched, readCounter), 0);
    EXPECT_EQ(readCounter, 9);
    EXPECT_EQ(untouched.toInt(), 3);
}

TEST_F(Serialization, NestedTablesAndArraysComeBackWithEveryScalar) {
    Object value = roundTrip("{ name = \"hero\", level = -12, big = 2147483647,"
                             "  small = -2147483647 - 1, done = true, lost = false,"
                             "  stats = { hp = 3.5, tags = [\"a\", [1, 2, []], {}] } }");
    ASSERT_EQ(value.type(), Type::Table);
    EXPECT_EQ(value.size(), 7);
    EXPECT_EQ(value.get("name").toString(), "hero");
    EXPECT_EQ(value.get("level").toInt(), -12);
    EXPECT_EQ(value.get("big").toInt(), 2147483647);
    EXPECT_EQ(value.get("small").toInt(), -2147483647 - 1);
    EXPECT_EQ(value.get("done").type(), Type::Bool);
    EXPECT_TRUE(value.get("done").toBool());
    EXPECT_EQ(value.get("lost").type(), Type::Bool);
    EXPECT_FALSE(value.get("lost").toBool());
    Object stats = value.get("stats");
    EXPECT_EQ(stats.get("hp").type(), Type::Float);
    EXPECT_FLOAT_EQ(stats.get("hp").toFloat(), 3.5f);
    Object tags = stats.get("tags");
    ASSERT_EQ(tags.type(), Type::Array);
    ASSERT_EQ(tags.size(), 3);
    EXPECT_EQ(tags.get(0).toString(), "a");
    ASSERT_EQ(tags.get(1).type(), Type::Array);
    EXPECT_EQ(tags.get(1).size(), 3);
    EXPECT_EQ(tags.get(1).get(1).toInt(), 2);
    EXPECT_EQ(tags.get(1).get(2).type(), Type::Array);
    EXPECT_EQ(tags.get(1).get(2).size(), 0);
    EXPECT_EQ(tags.get(2).type(), Type::Table);
    EXPECT_EQ(tags.get(2).size(), 0);
    EXPECT_TRUE(boxes.boxes().empty());
}

TEST_F(Serialization, NestedLevelsAreIndentedOneTabEach) {
    std::string text = serialize(vm.run("return {a = {b = 1}};", "value"));
    EXPECT_NE(text.find("\n\t<0_0_slot>"), std::string::npos);
    EXPECT_NE(text.find("\n\t<2_table>"), std::string::npos);
    EXPECT_NE(text.find("\n\t\t<2_0_slot>"), std::string::npos);
    EXPECT_EQ(deserialize(text).get("a").get("b").toInt(), 1);
}

TEST_F(Serialization, FloatsKeepSixDecimalsAndLargeValuesAllTheirDigits) {
    std::string text = serialize(Object(0.1234567f));
    EXPECT_EQ(text, "<0_type val=\"83886084\"/><0_float val=\"0.123457\"/>");
    Object values = roundTrip("[0.1234567, 0.0000004, -2.5, 123456789.0, 3.0]");
    ASSERT_EQ(values.size(), 5);
    for (int i = 0; i < values.size(); ++i) {
        EXPECT_EQ(values.get(i).type(), Type::Float) << i;
    }
    EXPECT_FLOAT_EQ(values.get(0).toFloat(), 0.123457f);
    EXPECT_EQ(values.get(1).toFloat(), 0.0f);
    EXPECT_EQ(values.get(2).toFloat(), -2.5f);
    EXPECT_EQ(values.get(3).toFloat(), 123456789.0f);
    EXPECT_EQ(values.get(4).toFloat(), 3.0f);
}

TEST_F(Serialization, StringsKeepLineBreaksAndMarkupUpToTheirFirstZeroByte) {
    Object list = vm.newArray();
    const std::string breaks = "line 1\r\nline 2\n\n\tend\r";
    const std::string markup = "<0_type val=\"1\"/> & </0_table> &lt; \"q\"";
    list.append(vm.string(breaks));
    list.append(vm.string(markup));
    list.append(vm.string(std::string("ab\0cd", 5)));
    list.append(vm.string(""));
    std::string text = serialize(list);
    // The readable copy holds the markup escaped, so the text has no stray elements.
    EXPECT_NE(text.find("&lt;0_type val=\"1\"/&gt; &amp; &lt;/0_table&gt; &amp;lt;"),
              std::string::npos);
    EXPECT_EQ(text.find("<0_type val=\"1\"/>"), std::string::npos);
    Object back = deserialize(text);
    ASSERT_EQ(back.size(), 4);
    EXPECT_EQ(back.get(0).toString(), breaks);
    EXPECT_EQ(back.get(1).toString(), markup);
    EXPECT_EQ(back.get(2).toString(), "ab");
    EXPECT_EQ(back.get(3).type(), Type::String);
    EXPECT_EQ(back.get(3).toString(), "");
}

TEST_F(Serialization, SerializedTextStoredInsideAnotherValueComesBackIntact) {
    vm.run("inner <- core_SerializeObj([10, {x = \"y\"}, 30]);"
           "outer <- core_SerializeObj([inner, 5, {saved = inner}]);",
           "nested");
    const std::string inner = vm.rootTable().get("inner").toString();
    Object back = deserialize(vm.rootTable().get("outer").toString());
    ASSERT_EQ(back.type(), Type::Array);
    ASSERT_EQ(back.size(), 3);
    EXPECT_EQ(back.get(0).toString(), inner);
    EXPECT_EQ(back.get(1).toInt(), 5);
    EXPECT_EQ(back.get(2).get("saved").toString(), inner);
    Object innerBack = deserialize(back.get(0).toString());
    ASSERT_EQ(innerBack.size(), 3);
    EXPECT_EQ(innerBack.get(1).get("x").toString(), "y");
    EXPECT_EQ(innerBack.get(2).toInt(), 30);
}

TEST_F(Serialization, ScriptsReadBackWhatTheyWrote) {
    Object result = vm.run("local saved = core_SerializeObj({ list = [1, 2, 3], name = \"n\" });"
                           "local back = core_DeserializeObj(saved);"
                           "return back.list[2] + back.list.len() + back.name.len();",
                           "script");
    EXPECT_EQ(result.toInt(), 3 + 3 + 1);
}

} // namespace

// The JSON adapter: lenient prefix parsing, UTF-16 member order, compact text, type errors.
#include "common/json_value.h"
#include "common/utf8.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

namespace quill {
namespace {

TEST(JsonLenientParse, CompleteValueAtStartOrNull) {
    struct Case {
        const char *text;
        const char *serialized; // nullptr: the parse yields null
    };
    const Case cases[] = {
        {"", nullptr},
        {"  \r\n\t", nullptr},
        {"null", nullptr},
        {"{\"a\":}", nullptr},
        {"{\"rules\":{\"a\":tru}}", nullptr},
        {"[1,2", nullptr},
        {"x{}", nullptr},
        {"{\"a\":5} x", "{\"a\":5}"},
        {"{\"a\":5}}}}", "{\"a\":5}"},
        {" \r\n\t{ \"a\" : [ 1 , true ] }", "{\"a\":[1,true]}"},
        {"12abc", "12"},
        {"\"x\" 1", "\"x\""},
        {"\xEF\xBB\xBF{}", "{}"},
    };
    for (const Case &c : cases) {
        JsonValue value = JsonValue::parseLenient(std::string_view(c.text));
        if (c.serialized == nullptr)
            EXPECT_TRUE(value.isNull()) << c.text;
        else
            EXPECT_EQ(value.serialize(), c.serialized) << c.text;
    }
}

TEST(JsonLenientParse, DeepNestingIsRefusedWithoutCrashing) {
    const auto nested = [](int depth) {
        return std::string(static_cast<std::size_t>(depth), '[') +
               std::string(static_cast<std::size_t>(depth), ']');
    };
    EXPECT_TRUE(JsonValue::parseLenient(nested(JsonValue::MAX_DEPTH)).isArray());
    EXPECT_TRUE(JsonValue::parseLenient(nested(JsonValue::MAX_DEPTH + 1)).isNull());
    EXPECT_TRUE(JsonValue::parseLenient(std::string(200000, '[')).isNull());
}

TEST(JsonLenientParse, Utf16TextWithUnpairedSurrogate) {
    std::u16string text = u"{\"k\":\"a";
    text += static_cast<char16_t>(0xD800);
    text += u"b\"}";
    JsonValue value = JsonValue::parseLenient(std::u16string_view(text));
    ASSERT_TRUE(value.isObject());
    EXPECT_EQ(value.member("k").serialize(), "\"a\xEF\xBF\xBD"
                                             "b\"");
}

TEST(JsonMembers, SortedByUtf16CodeUnits) {
    // U+E000 sorts after U+10000 in UTF-8 byte order but before it in UTF-16 order.
    JsonValue value = JsonValue::parseLenient(std::string_view(
        "{\"b\":1,\"\xEE\x80\x80\":2,\"\xF0\x90\x80\x80\":3,\"a\":4,\"~\":5,\"B\":6}"));
    std::vector<std::string> names;
    for (const auto &member : value.members())
        names.push_back(member.first);
    EXPECT_EQ(names,
              (std::vector<std::string>{"B", "a", "b", "~", "\xF0\x90\x80\x80", "\xEE\x80\x80"}));
}

TEST(JsonMembers, CompactValuesAndLookups) {
    JsonValue value = JsonValue::parseLenient(
        std::string_view("{ \"max\" : 3 , \"list\" : [ 1 , \"a b\" , { \"x\" : null } ] }"));
    EXPECT_EQ(value.member("max").serialize(), "3");
    EXPECT_EQ(value.member("list").serialize(), "[1,\"a b\",{\"x\":null}]");
    EXPECT_TRUE(value.hasMember("max"));
    EXPECT_FALSE(value.hasMember("Max"));
    EXPECT_TRUE(value.member("Max").isNull());
    EXPECT_FALSE(value.member("max").hasMember("x"));
}

TEST(JsonTypes, WrongTypesRaise) {
    JsonValue value = JsonValue::parseLenient(std::string_view("{\"s\":\"3\",\"n\":3,\"b\":true}"));
    EXPECT_THROW(value.member("s").asInteger(), JsonTypeError);
    EXPECT_THROW(value.member("b").asInteger(), JsonTypeError);
    EXPECT_THROW(value.member("n").asBool(), JsonTypeError);
    EXPECT_THROW(value.member("n").members(), JsonTypeError);
    EXPECT_THROW(value.member("n").member("x"), JsonTypeError);
    EXPECT_THROW(JsonValue().members(), JsonTypeError);
}

TEST(JsonTypes, IntegersCutAndClamped) {
    struct Case {
        const char *text;
        int expected;
    };
    const Case cases[] = {
        {"7", 7},
        {"-7", -7},
        {"2.9", 2},
        {"-2.9", -2},
        {"2147483647", INT_MAX},
        {"2147483648", INT_MAX},
        {"18446744073709551615", INT_MAX},
        {"-2147483649", INT_MIN},
        {"1e300", INT_MAX},
        {"-1e300", INT_MIN},
    };
    for (const Case &c : cases)
        EXPECT_EQ(JsonValue::parseLenient(std::string_view(c.text)).asInteger(), c.expected)
            << c.text;
}

TEST(JsonText, StringLiteralsAndUtf8Conversions) {
    EXPECT_EQ(jsonStringLiteral("a\"b\\c\x01", false), "\"a\\\"b\\\\c\\u0001\"");
    EXPECT_EQ(jsonStringLiteral("\xC3\xA9", false), "\"\xC3\xA9\"");
    EXPECT_EQ(jsonStringLiteral("\xC3\xA9", true), "\"\\u00e9\"");
    EXPECT_EQ(utf8FromUtf16(u"a\u00e9\u4e00\U0001F600"), "a\xC3\xA9\xE4\xB8\x80\xF0\x9F\x98\x80");
    EXPECT_EQ(utf16FromUtf8("a\xC3\xA9\xE4\xB8\x80\xF0\x9F\x98\x80"), u"a\u00e9\u4e00\U0001F600");
    // Overlong, surrogate and cut sequences become U+FFFD.
    EXPECT_EQ(utf16FromUtf8("\xC0\xAF"
                            "\xED\xA0\x80"
                            "\xE4\xB8"),
              std::u16string(7, u'\uFFFD'));
}

} // namespace
} // namespace quill

// The charset table and the code-page conversion, with the message box of a failure.
#include "mail/charset.h"

#include "tests/support/message_box_watcher.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

namespace quill {
namespace {

using test::MessageBoxRecorder;

struct CharsetCase {
    const char *name;
    int codePage;
};

class CodePageOfCharsetTest : public testing::TestWithParam<CharsetCase> {};

TEST_P(CodePageOfCharsetTest, MapsWholeNameIgnoringCase) {
    EXPECT_EQ(codePageOfCharset(GetParam().name), GetParam().codePage) << GetParam().name;
}

INSTANTIATE_TEST_SUITE_P(
    EveryRowInOtherCase, CodePageOfCharsetTest,
    testing::Values(CharsetCase{"us-ascii", 20127}, CharsetCase{"iso-8859-1", 28591},
                    CharsetCase{"iso-8859-2", 28592}, CharsetCase{"iso-8859-15", 28605},
                    CharsetCase{"iso-2022-jp", 50220}, CharsetCase{"ks_c_5601-1987", 949},
                    CharsetCase{"iso-2022-kr", 50225}, CharsetCase{"big5", 950},
                    CharsetCase{"gb2312", 936}, CharsetCase{"gb18030", 54936},
                    CharsetCase{"hz-gb-2312", 52936}, CharsetCase{"koi8-r", 20866},
                    CharsetCase{"koi8-u", 21866}, CharsetCase{"windows-1251", 1251},
                    CharsetCase{"utf-7", 65000}, CharsetCase{"utf-8", 65001},
                    CharsetCase{"UTF-8", 65001}, CharsetCase{"uTf-8", 65001},
                    CharsetCase{"ISO-2022-JP", 50220}));

INSTANTIATE_TEST_SUITE_P(NotInTableGiveAnsi, CodePageOfCharsetTest,
                         testing::Values(CharsetCase{"UTF8", 0}, CharsetCase{"Shift_JIS", 0},
                                         CharsetCase{"EUC-JP", 0}, CharsetCase{"windows-1252", 0},
                                         CharsetCase{"", 0}, CharsetCase{"UTF-8 ", 0},
                                         CharsetCase{"UTF-", 0}, CharsetCase{"UTF-88", 0},
                                         CharsetCase{"\"UTF-8\"", 0},
                                         CharsetCase{"ISO-8859-1\xE5", 0}));

// Shift_JIS bytes of "日本語のﾒｰﾙ、①テスト。" and the same text in UTF-8.
const std::string SAMPLE_SHIFT_JIS = "\x93\xFA\x96\x7B\x8C\xEA\x82\xCC\xD2\xB0\xD9\x81\x41\x87\x40"
                                     "\x83\x65\x83\x58\x83\x67\x81\x42";
const std::string SAMPLE_UTF8 = "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E\xE3\x81\xAE\xEF\xBE\x92\xEF"
                                "\xBD\xB0\xEF\xBE\x99\xE3\x80\x81\xE2\x91\xA0\xE3\x83\x86\xE3\x82"
                                "\xB9\xE3\x83\x88\xE3\x80\x82";

struct ConversionCase {
    const char *label;
    std::string text;
    int from;
    int to;
    std::string expected;
};

class ConvertCharSetTest : public testing::TestWithParam<ConversionCase> {};

TEST_P(ConvertCharSetTest, ConvertsWithoutMessage) {
    MessageBoxRecorder boxes;
    bool succeeded = false;
    std::string result = convertCharSet(GetParam().text, GetParam().from, GetParam().to, succeeded);
    EXPECT_TRUE(succeeded);
    EXPECT_EQ(result, GetParam().expected);
    EXPECT_EQ(boxes.count(), 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ConvertCharSetTest,
    testing::Values(
        ConversionCase{"ShiftJisToUtf8", SAMPLE_SHIFT_JIS, 932, 65001, SAMPLE_UTF8},
        ConversionCase{"Utf8ToShiftJis", SAMPLE_UTF8, 65001, 932, SAMPLE_SHIFT_JIS},
        ConversionCase{"AnsiIs932InTheTestLocale", SAMPLE_SHIFT_JIS, 0, 65001, SAMPLE_UTF8},
        ConversionCase{"Empty", "", 932, 65001, ""},
        ConversionCase{"EmptyBack", "", 65001, 932, ""},
        ConversionCase{"NulEndsTheText", std::string("ab\0cd", 5), 932, 65001, "ab"},
        ConversionCase{"CrLfKept", "a\r\nb\r\n", 932, 65001, "a\r\nb\r\n"},
        ConversionCase{"UnmappableBecomesDefaultChar", "\xE6\x97\xA5x", 65001, 1252, "?x"}),
    [](const testing::TestParamInfo<ConversionCase> &info) { return info.param.label; });

TEST(ConvertCharSetRoundTrip, ShiftJisThroughUtf8IsUnchanged) {
    MessageBoxRecorder boxes;
    std::string text = SAMPLE_SHIFT_JIS + "\r\n" + SAMPLE_SHIFT_JIS + " ASCII 123\r\n";
    EXPECT_EQ(convertCharSet(convertCharSet(text, 932, 65001), 65001, 932), text);
    EXPECT_EQ(boxes.count(), 0u);
}

TEST(ConvertCharSetRoundTrip, LargeTextConvertsWhole) {
    std::string text;
    for (int i = 0; i < 100000; ++i)
        text += SAMPLE_SHIFT_JIS;
    std::string utf8 = convertCharSet(text, 932, 65001);
    EXPECT_EQ(utf8.size(), SAMPLE_UTF8.size() * 100000);
    EXPECT_EQ(convertCharSet(utf8, 65001, 932), text);
}

// A character the target cannot hold, whether it would become the default character or a
// look-alike ("é" as "e"), is refused, silently: the caller tells the user in its own words.
TEST(ConvertCharSetLossless, RefusesWhatTheTargetCannotHoldWithoutAMessage) {
    using O = ConversionOutcome;
    struct Case {
        std::string text;
        int to;
        O outcome;
        std::string result;
    } cases[] = {
        {SAMPLE_UTF8 + "\r\n", 932, O::Converted, SAMPLE_SHIFT_JIS + "\r\n"},
        {"caf\xC3\xA9", 1252, O::Converted, "caf\xE9"},
        {"caf\xC3\xA9", 932, O::Unrepresentable, ""},
        {SAMPLE_UTF8 + "\xF0\x9F\x98\x80", 932, O::Unrepresentable, ""},
        {"\xE6\x97\xA5", 1252, O::Unrepresentable, ""},
    };
    MessageBoxRecorder boxes;
    for (const Case &c : cases) {
        ConversionOutcome outcome = O::Failed;
        EXPECT_EQ(c.result, convertCharSetLossless(c.text, 65001, c.to, outcome)) << c.text;
        EXPECT_EQ(c.outcome, outcome) << c.text;
    }
    EXPECT_EQ(0u, boxes.count());
}

const wchar_t TO_WIDE_CAPTION[] =
    L"convertCharSet() failed. cannot convert MultiByteChar to WideChar for result of lint text.";
const wchar_t TO_MULTI_BYTE_CAPTION[] =
    L"convertCharSet() failed. cannot convert WideChar to MultiByteChar for result of lint text.";

std::wstring invalidParameterText() {
    wchar_t *buffer = nullptr;
    FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                       FORMAT_MESSAGE_IGNORE_INSERTS,
                   nullptr, ERROR_INVALID_PARAMETER, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT),
                   reinterpret_cast<wchar_t *>(&buffer), 0, nullptr);
    std::wstring text = buffer != nullptr ? buffer : L"";
    LocalFree(buffer);
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' '))
        text.pop_back();
    return text;
}

struct FailureCase {
    const char *label;
    int from;
    int to;
    const wchar_t *caption;
};

class ConvertCharSetFailureTest : public testing::TestWithParam<FailureCase> {};

TEST_P(ConvertCharSetFailureTest, ShowsOneMessageAndReturnsEmpty) {
    MessageBoxRecorder boxes;
    bool succeeded = true;
    std::string result =
        convertCharSet(SAMPLE_SHIFT_JIS, GetParam().from, GetParam().to, succeeded);
    EXPECT_FALSE(succeeded);
    EXPECT_EQ(result, "");
    // MessageBox returns only after the recorder pressed its button: the box is recorded.
    auto shown = boxes.boxes();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].caption, GetParam().caption);
    EXPECT_FALSE(shown[0].text.empty());
    EXPECT_EQ(shown[0].text, invalidParameterText());
}

bool runningUnderWine() {
    return GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version") != nullptr;
}

INSTANTIATE_TEST_SUITE_P(
    UnsupportedCodePages, ConvertCharSetFailureTest,
    testing::Values(FailureCase{"UnknownSource", 12345, 65001, TO_WIDE_CAPTION},
                    FailureCase{"UnknownTarget", 932, 12345, TO_MULTI_BYTE_CAPTION}),
    [](const testing::TestParamInfo<FailureCase> &info) { return info.param.label; });

// Wine has no ISO-2022-JP converter; Windows has one.
TEST(ConvertCharSetIso2022Jp, FailsUnderWineLikeAnUnknownCodePage) {
    MessageBoxRecorder boxes;
    bool succeeded = false;
    std::string result = convertCharSet("\x1B$B$3$s$K$A$O\x1B(B", 50220, 65001, succeeded);
    if (!runningUnderWine()) {
        EXPECT_TRUE(succeeded);
        EXPECT_EQ(result, "\xE3\x81\x93\xE3\x82\x93\xE3\x81\xAB\xE3\x81\xA1\xE3\x81\xAF");
        return;
    }
    EXPECT_FALSE(succeeded);
    EXPECT_EQ(result, "");
    auto shown = boxes.boxes();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].caption, TO_WIDE_CAPTION);
}

} // namespace
} // namespace quill

// The resident textlint's line protocol: requests that carry the text as a cold run would
// write it, answers read strictly, findings rendered so that the report parser makes the cold
// run's rows of them.
#include "common/json_value.h"
#include "lint/compact_report.h"
#include "lint/resident/resident_protocol.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quill {
namespace {

TEST(ResidentRequest, CarriesTheTextAsTheColdRunWritesIt) {
    EXPECT_EQ(residentInputText(std::string("ab\0cd", 5)), "ab");
    EXPECT_FALSE(residentInputText(""));
    EXPECT_FALSE(residentInputText(std::string("\0x", 2)));
    EXPECT_FALSE(residentInputText("a\xE3\x81"));    // cut sequence
    EXPECT_FALSE(residentInputText("\xC0\xAF"));     // overlong
    EXPECT_FALSE(residentInputText("\xED\xA0\x80")); // surrogate
    EXPECT_EQ(residentInputText("\xF0\x9F\x98\x80\n"), "\xF0\x9F\x98\x80\n");

    std::string line =
        makeToolCallRequest(7, ResidentTool::FixText, "a\"\\\n\x01\xE3\x81\x82", true).value();
    ASSERT_EQ(line.back(), '\n');
    EXPECT_EQ(line.find('\n'), line.size() - 1);
    JsonValue request = JsonValue::parseLenient(line);
    EXPECT_EQ(request.member("id").asInteger(), 7);
    EXPECT_EQ(request.member("method").asString(), "tools/call");
    JsonValue params = request.member("params");
    EXPECT_EQ(params.member("name").asString(), "getLintFixedTextContent");
    EXPECT_EQ(params.member("arguments").member("text").asString(), "a\"\\\n\x01\xE3\x81\x82");
    EXPECT_EQ(params.member("arguments").member("stdinFilename").asString(), "mail.html");
    EXPECT_EQ(JsonValue::parseLenient(*makeToolCallRequest(8, ResidentTool::LintText, "x", false))
                  .member("params")
                  .member("arguments")
                  .member("stdinFilename")
                  .asString(),
              "mail.txt");
    EXPECT_FALSE(makeToolCallRequest(1, ResidentTool::LintText,
                                     std::string(RESIDENT_REQUEST_MAX_BYTES / 5, '\x01'), false));
}

std::string toolAnswer(const std::string &content) {
    return "{\"jsonrpc\":\"2.0\",\"id\":3,\"result\":{\"content\":[],\"structuredContent\":" +
           content + ",\"isError\":false}}";
}

TEST(ResidentAnswerReading, OnlyTheAwaitedWellFormedAnswerSucceeds) {
    constexpr ResidentAnswerKind OK = ResidentAnswerKind::Success;
    constexpr ResidentAnswerKind FAIL = ResidentAnswerKind::Failure;
    constexpr ResidentAnswerKind SKIP = ResidentAnswerKind::NotOurs;
    struct Case {
        std::string line;
        ResidentAnswerKind lint;
        ResidentAnswerKind fix;
    };
    const std::string good = "{\"messages\":[],\"output\":\"x\",\"isError\":false}";
    const Case cases[] = {
        {toolAnswer(good), OK, OK},
        {"", SKIP, SKIP},
        {"Debugger attached.", SKIP, SKIP},
        {"{\"jsonrpc\":\"2.0\",\"method\":\"notifications/message\",\"params\":{}}", SKIP, SKIP},
        {"{\"jsonrpc\":\"2.0\",\"id\":2,\"result\":{}}", SKIP, SKIP},
        {"{\"jsonrpc\":\"2.0\",\"id\":\"3\",\"result\":{}}", SKIP, SKIP},
        {"{\"jsonrpc\":\"2.0\",\"id\":3,\"error\":{\"code\":-32602}}", FAIL, FAIL},
        {"{\"jsonrpc\":\"2.0\",\"id\":3,\"result\":7}", FAIL, FAIL},
        {"{\"jsonrpc\":\"2.0\",\"id\":3,\"result\":{\"isError\":true,\"structuredContent\":" +
             good + "}}",
         FAIL, FAIL},
        {toolAnswer("{\"results\":[],\"error\":\"boom\",\"isError\":true}"), FAIL, FAIL},
        {toolAnswer("{\"messages\":{},\"output\":\"x\"}"), FAIL, FAIL},
        {toolAnswer("{\"messages\":[],\"output\":1}"), OK, FAIL},
        {toolAnswer("{\"messages\":[]}"), OK, FAIL},
        {toolAnswer("{\"messages\":[1],\"output\":\"x\"}"), FAIL, OK},
        {toolAnswer("{\"messages\":[{\"message\":\"m\",\"line\":1.5,\"column\":1}],"
                    "\"output\":\"x\"}"),
         FAIL, OK},
        {toolAnswer("{\"messages\":[{\"message\":\"m\",\"line\":1,\"column\":3e10}],"
                    "\"output\":\"x\"}"),
         FAIL, OK},
        {toolAnswer("{\"messages\":[{\"message\":2,\"line\":1,\"column\":1}],\"output\":\"x\"}"),
         FAIL, OK},
        {toolAnswer("{\"messages\":[{\"message\":\"m\",\"ruleId\":5,\"line\":1,\"column\":1}],"
                    "\"output\":\"x\"}"),
         FAIL, OK},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(readToolAnswer(c.line, 3, ResidentTool::LintText).kind, c.lint) << c.line;
        EXPECT_EQ(readToolAnswer(c.line, 3, ResidentTool::FixText).kind, c.fix) << c.line;
    }
    EXPECT_EQ(readToolAnswer(toolAnswer("{\"messages\":[],\"output\":\"a\\nb\\u0000c\"}"), 3,
                             ResidentTool::FixText)
                  .fixedText,
              "a\nb");
    EXPECT_EQ(readInitializeAnswer("{\"jsonrpc\":\"2.0\",\"id\":1,\"result\":{}}", 1).kind,
              ResidentAnswerKind::Success);
}

struct Row {
    int line;
    int index;
    std::string message;
    std::string rule;
    bool operator==(const Row &o) const {
        return line == o.line && index == o.index && message == o.message && rule == o.rule;
    }
};

TEST(ResidentAnswerReading, RendersFindingsIntoTheColdRunsRows) {
    std::string line = toolAnswer(
        "{\"filePath\":\"C:\\\\x\\\\mail.txt\",\"isError\":false,\"messages\":["
        "{\"ruleId\":\"max-ten\",\"message\":\"m1\",\"line\":2,\"column\":5,\"severity\":2},"
        "{\"ruleId\":\"ja-spacing/a\",\"message\":\"first\\r\\n\\nsecond (x)\",\"line\":3,"
        "\"column\":1,\"severity\":1},"
        "{\"message\":\"no rule\",\"line\":4,\"column\":1,\"severity\":2},"
        "{\"ruleId\":\"r\",\"message\":\"fatal\",\"line\":null,\"column\":0,\"severity\":1,"
        "\"fatal\":true},"
        "{\"ruleId\":\"i\",\"message\":\"info\",\"line\":5,\"column\":6,\"severity\":3},"
        "{\"ruleId\":\"w\",\"message\":\"odd\",\"line\":6,\"column\":7,\"severity\":9}]}");
    ResidentAnswer answer = readToolAnswer(line, 3, ResidentTool::LintText);
    ASSERT_EQ(answer.kind, ResidentAnswerKind::Success) << answer.failure;
    std::string report = renderCompactReport(answer.findings, "C:\\x\\mail.txt");
    EXPECT_EQ(report.substr(0, report.find('\n') + 1),
              "C:\\x\\mail.txt: line 2, col 5, Error - m1 (max-ten)\n");
    EXPECT_NE(report.find("\n\n6 problems\n"), std::string::npos);
    std::vector<Row> rows;
    EXPECT_EQ(
        splitCompactReport(
            report,
            [&](const CompactReportFinding &f) {
                rows.push_back({f.line, f.index, std::string(f.message), std::string(f.ruleName)});
                return true;
            }),
        CompactReportFailure::None);
    const std::vector<Row> expected = {
        {2, 5, "Error - m1", "max-ten"}, {3, 1, "Warning - first second (x)", "ja-spacing/a"},
        {0, 0, "Error - fatal", "r"},    {5, 6, "Info - info", "i"},
        {6, 7, "Warning - odd", "w"},
    };
    EXPECT_TRUE(rows == expected);
}

TEST(ResidentSoundness, VersionAndLoadedRulesAreReadFromTextLintsOutput) {
    EXPECT_EQ(parseTextLintVersion("v15.8.0\r\n"), std::make_pair(15, 8));
    EXPECT_EQ(parseTextLintVersion("15.2.1"), std::make_pair(15, 2));
    EXPECT_FALSE(parseTextLintVersion(""));
    EXPECT_FALSE(parseTextLintVersion("v15"));
    EXPECT_FALSE(parseTextLintVersion("Error: x"));
    EXPECT_TRUE(
        printedConfigHasRules("{\n \"rule\": [ { \"id\": \"max-ten\" } ], \"plugin\": [] }"));
    EXPECT_FALSE(printedConfigHasRules("{\n \"rule\": [], \"plugin\": [ { \"id\": \"x\" } ] }"));
    EXPECT_FALSE(printedConfigHasRules(""));
    EXPECT_FALSE(printedConfigHasRules("{\"rule\": {}}"));
}

} // namespace
} // namespace quill

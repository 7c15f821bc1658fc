// Requests and answers of the resident textlint's line protocol, and the rendering
// of its findings in the compact formatter's words.
#include "lint/resident/resident_protocol.h"

#include "common/json_value.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>
#include <exception>

namespace quill {

namespace {

// Read errors of the answer's shape; caught at the top, never seen by callers.
struct MalformedAnswer {
    const char *what;
};

[[noreturn]] void malformed(const char *what) {
    throw MalformedAnswer{what};
}

bool isValidUtf8(std::string_view text) {
    std::size_t i = 0;
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    while (i < text.size()) {
        unsigned char lead = byte(i);
        if (lead < 0x80) {
            ++i;
            continue;
        }
        std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 ? 2 : 0;
        if (length == 0 || lead > 0xF4 || text.size() - i < length)
            return false;
        for (std::size_t k = 1; k < length; ++k)
            if ((byte(i + k) & 0xC0) != 0x80)
                return false;
        unsigned char second = byte(i + 1);
        // Overlong forms, UTF-16 surrogates and values past U+10FFFF.
        if ((lead == 0xE0 && second < 0xA0) || (lead == 0xED && second >= 0xA0) ||
            (lead == 0xF0 && second < 0x90) || (lead == 0xF4 && second >= 0x90))
            return false;
        i += length;
    }
    return true;
}

// JavaScript's truthiness, for the formatter's `message.fatal` and `message.ruleId` tests.
bool truthy(const JsonValue &value) {
    if (value.isNull())
        return false;
    if (value.isBool())
        return value.asBool();
    if (value.isNumber()) {
        double number = value.asNumber();
        return number != 0 && !std::isnan(number);
    }
    if (value.isString())
        return !value.asString().empty();
    return true;
}

// A line or column number. JavaScript would print a fraction or a huge value in a form the
// report parser reads differently; such an answer is not used, and the cold run decides.
int wholeNumber(const JsonValue &value) {
    if (value.isNull())
        return 0; // `message.line || 0`
    if (!value.isNumber())
        malformed("a location is not a number");
    double number = value.asNumber();
    if (number != std::floor(number) || number < INT_MIN || number > INT_MAX)
        malformed("a location is not a whole number within range");
    return static_cast<int>(number);
}

const char *severityWord(const JsonValue &message) {
    if (truthy(message.member("fatal")))
        return "Error";
    JsonValue severity = message.member("severity");
    if (severity.isNumber()) {
        double value = severity.asNumber();
        if (value == 2)
            return "Error";
        if (value == 3)
            return "Info";
    }
    return "Warning";
}

// A replacement offered in a form that cannot be applied exactly (not two whole offsets in
// order, no text) is left out: the finding itself still counts.
void readFix(const JsonValue &fix, ResidentFinding &finding) {
    if (!fix.isObject())
        return;
    const JsonValue range = fix.member("range");
    const JsonValue text = fix.member("text");
    if (!range.isArray() || !text.isString())
        return;
    const std::vector<JsonValue> bounds = range.elements();
    if (bounds.size() != 2 || !bounds[0].isNumber() || !bounds[1].isNumber())
        return;
    const double start = bounds[0].asNumber();
    const double end = bounds[1].asNumber();
    if (start != std::floor(start) || end != std::floor(end) || start < 0 || end < start ||
        end > INT_MAX)
        return;
    finding.hasFix = true;
    finding.fixStart = static_cast<int>(start);
    finding.fixEnd = static_cast<int>(end);
    finding.fixText = text.asString();
}

ResidentFinding readFinding(const JsonValue &message) {
    if (!message.isObject())
        malformed("a message is not an object");
    ResidentFinding finding;
    finding.line = wholeNumber(message.member("line"));
    finding.column = wholeNumber(message.member("column"));
    finding.severityWord = severityWord(message);
    JsonValue text = message.member("message");
    if (!text.isString())
        malformed("a message has no text");
    finding.message = text.asString();
    JsonValue ruleId = message.member("ruleId");
    if (truthy(ruleId)) {
        if (!ruleId.isString())
            malformed("a rule id is not a string");
        finding.ruleId = ruleId.asString();
    }
    readFix(message.member("fix"), finding);
    return finding;
}

std::string cutAtNul(std::string text) {
    std::size_t nul = text.find('\0');
    if (nul != std::string::npos)
        text.resize(nul);
    return text;
}

// The result object of the answer with `id`, or the answer's kind when there is none.
ResidentAnswerKind matchAnswer(const JsonValue &answer, long long id, JsonValue &result,
                               std::string &failure) {
    if (!answer.isObject() || !answer.member("id").isNumber() ||
        answer.member("id").asNumber() != static_cast<double>(id))
        return ResidentAnswerKind::NotOurs;
    if (answer.hasMember("error")) {
        failure = "the server answered an error: " + answer.member("error").serialize();
        return ResidentAnswerKind::Failure;
    }
    result = answer.member("result");
    if (!result.isObject()) {
        failure = "the answer has no result";
        return ResidentAnswerKind::Failure;
    }
    return ResidentAnswerKind::Success;
}

void readToolResult(const JsonValue &result, ResidentTool tool, ResidentAnswer &answer) {
    JsonValue content = result.member("structuredContent");
    if (truthy(result.member("isError")) || !content.isObject() ||
        truthy(content.member("isError"))) {
        JsonValue error = content.isObject() ? content.member("error") : JsonValue();
        malformed(error.isString() ? "the tool reported an error" : "the tool's answer failed");
    }
    JsonValue messages = content.member("messages");
    if (!messages.isArray())
        malformed("the answer has no messages");
    if (tool == ResidentTool::LintText) {
        for (const JsonValue &message : messages.elements())
            answer.findings.push_back(readFinding(message));
    } else {
        JsonValue output = content.member("output");
        if (!output.isString())
            malformed("the answer has no fixed text");
        answer.fixedText = cutAtNul(output.asString());
    }
}

} // namespace

std::string makeInitializeRequest(long long id) {
    return "{\"jsonrpc\":\"2.0\",\"id\":" + std::to_string(id) +
           ",\"method\":\"initialize\",\"params\":{\"protocolVersion\":\"2025-06-18\","
           "\"capabilities\":{},\"clientInfo\":{\"name\":\"Quillcheck\",\"version\":\"1\"}}}\n";
}

std::string makeInitializedNotification() {
    return "{\"jsonrpc\":\"2.0\",\"method\":\"notifications/initialized\"}\n";
}

std::optional<std::string_view> residentInputText(std::string_view mailText) {
    std::size_t nul = mailText.find('\0');
    if (nul != std::string_view::npos)
        mailText = mailText.substr(0, nul);
    if (mailText.empty() || !isValidUtf8(mailText))
        return std::nullopt;
    return mailText;
}

std::optional<std::string> makeToolCallRequest(long long id, ResidentTool tool,
                                               std::string_view text, bool html) {
    // Escaping at most sextuples a byte; a text that cannot fit is not escaped at all.
    if (text.size() > RESIDENT_REQUEST_MAX_BYTES)
        return std::nullopt;
    std::string request =
        "{\"jsonrpc\":\"2.0\",\"id\":" + std::to_string(id) +
        ",\"method\":\"tools/call\",\"params\":{\"name\":\"" +
        (tool == ResidentTool::LintText ? "lintText" : "getLintFixedTextContent") +
        "\",\"arguments\":{\"text\":" + jsonStringLiteral(text, false) + ",\"stdinFilename\":\"" +
        (html ? "mail.html" : "mail.txt") + "\"}}}\n";
    if (request.size() > RESIDENT_REQUEST_MAX_BYTES)
        return std::nullopt;
    return request;
}

ResidentAnswer readInitializeAnswer(std::string_view line, long long id) {
    ResidentAnswer answer;
    try {
        JsonValue result;
        answer.kind = matchAnswer(JsonValue::parseLenient(line), id, result, answer.failure);
    } catch (const std::exception &e) {
        answer.kind = ResidentAnswerKind::Failure;
        answer.failure = e.what();
    }
    return answer;
}

ResidentAnswer readToolAnswer(std::string_view line, long long id, ResidentTool tool) {
    ResidentAnswer answer;
    try {
        JsonValue result;
        answer.kind = matchAnswer(JsonValue::parseLenient(line), id, result, answer.failure);
        if (answer.kind == ResidentAnswerKind::Success)
            readToolResult(result, tool, answer);
    } catch (const MalformedAnswer &e) {
        answer = ResidentAnswer();
        answer.kind = ResidentAnswerKind::Failure;
        answer.failure = e.what;
    } catch (const std::exception &e) {
        answer = ResidentAnswer();
        answer.kind = ResidentAnswerKind::Failure;
        answer.failure = e.what();
    }
    return answer;
}

std::string renderCompactReport(const std::vector<ResidentFinding> &findings,
                                std::string_view path) {
    std::string report;
    for (const ResidentFinding &finding : findings) {
        report.append(path);
        report += ": line " + std::to_string(finding.line) + ", col " +
                  std::to_string(finding.column) + ", " + finding.severityWord + " - ";
        report += finding.message;
        if (!finding.ruleId.empty())
            report += " (" + finding.ruleId + ")";
        report += '\n';
    }
    if (!findings.empty())
        report += "\n" + std::to_string(findings.size()) +
                  (findings.size() == 1 ? " problem\n" : " problems\n");
    return cutAtNul(std::move(report));
}

std::optional<std::pair<int, int>> parseTextLintVersion(std::string_view output) {
    std::size_t i = 0;
    while (i < output.size() && (output[i] == ' ' || output[i] == '\r' || output[i] == '\n'))
        ++i;
    if (i < output.size() && output[i] == 'v')
        ++i;
    int parts[2] = {0, 0};
    for (int part = 0; part < 2; ++part) {
        std::size_t digits = 0;
        for (; i < output.size() && output[i] >= '0' && output[i] <= '9'; ++i, ++digits) {
            if (parts[part] < 100000)
                parts[part] = parts[part] * 10 + (output[i] - '0');
        }
        if (digits == 0)
            return std::nullopt;
        if (part == 0) {
            if (i >= output.size() || output[i] != '.')
                return std::nullopt;
            ++i;
        }
    }
    return std::make_pair(parts[0], parts[1]);
}

bool printedConfigHasRules(std::string_view output) {
    try {
        JsonValue config = JsonValue::parseLenient(output);
        return config.isObject() && config.member("rule").isArray() &&
               !config.member("rule").elements().empty();
    } catch (...) {
        return false;
    }
}

} // namespace quill

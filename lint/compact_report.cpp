// Splitting of textlint's compact report: location lines, multi-line messages, rule names.
// Every byte is looked at a bounded number of times, so the split is linear in the report.
#include "lint/compact_report.h"

#include <climits>
#include <cstring>
#include <vector>

namespace quill {

namespace {

struct Range {
    std::size_t begin = 0;
    std::size_t end = 0; // exclusive
    bool empty() const { return begin >= end; }
};

// Reads the location ": line %d, col %d" the way a formatted scan does (a blank in the
// format matches any run of white space, a number may carry a sign), but never past the
// end of its line.
class LocationScanner {
  public:
    LocationScanner(std::string_view text, std::size_t pos, std::size_t end)
        : text_(text), pos_(pos), end_(end) {}

    bool scan(int &line, int &index) {
        return literal(":") && (skipSpace(), literal("line")) && number(line) && literal(",") &&
               (skipSpace(), literal("col")) && number(index);
    }

  private:
    static bool isSpace(char c) {
        return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\r';
    }
    void skipSpace() {
        while (pos_ < end_ && isSpace(text_[pos_]))
            ++pos_;
    }
    bool literal(std::string_view word) {
        if (end_ - pos_ < word.size() || text_.compare(pos_, word.size(), word) != 0)
            return false;
        pos_ += word.size();
        return true;
    }
    // A decimal number; values beyond the int range are held at its bounds.
    bool number(int &value) {
        skipSpace();
        bool negative = false;
        if (pos_ < end_ && (text_[pos_] == '+' || text_[pos_] == '-'))
            negative = text_[pos_++] == '-';
        std::size_t digits = 0;
        long long magnitude = 0;
        for (; pos_ < end_ && text_[pos_] >= '0' && text_[pos_] <= '9'; ++pos_, ++digits) {
            if (magnitude <= INT_MAX)
                magnitude = magnitude * 10 + (text_[pos_] - '0');
        }
        if (digits == 0)
            return false;
        if (negative)
            value = magnitude > -static_cast<long long>(INT_MIN) ? INT_MIN
                                                                 : static_cast<int>(-magnitude);
        else
            value = magnitude > INT_MAX ? INT_MAX : static_cast<int>(magnitude);
        return true;
    }

    std::string_view text_;
    std::size_t pos_;
    std::size_t end_;
};

std::size_t findInLine(std::string_view text, char c, std::size_t from, std::size_t end) {
    for (std::size_t i = from; i < end; ++i) {
        if (text[i] == c)
            return i;
    }
    return std::string_view::npos;
}

class ReportSplitter {
  public:
    ReportSplitter(std::string_view report, const CompactReportCallback &onFinding)
        : text_(report), onFinding_(onFinding) {}

    CompactReportFailure split() {
        std::size_t begin = 0;
        while (begin < text_.size() && failure_ == CompactReportFailure::None) {
            const void *lf = std::memchr(text_.data() + begin, '\n', text_.size() - begin);
            std::size_t next =
                lf ? static_cast<std::size_t>(static_cast<const char *>(lf) - text_.data())
                   : text_.size();
            Range line{begin, next};
            // A report written with CR LF line ends reads the same as one with LF.
            if (!line.empty() && text_[line.end - 1] == '\r')
                --line.end;
            takeLine(line);
            begin = next + 1;
        }
        if (failure_ == CompactReportFailure::None)
            finishFinding();
        return failure_;
    }

  private:
    void takeLine(Range line) {
        if (!havePath_) {
            std::size_t first = findInLine(text_, ':', line.begin, line.end);
            if (first == std::string_view::npos)
                return;
            std::size_t second = findInLine(text_, ':', first + 1, line.end);
            if (second == std::string_view::npos)
                return;
            path_ = text_.substr(line.begin, second - line.begin);
            havePath_ = true;
            takeLocationLine(line, second);
            return;
        }
        std::size_t colon = line.begin + path_.size();
        if (colon < line.end && text_[colon] == ':' &&
            text_.compare(line.begin, path_.size(), path_) == 0) {
            takeLocationLine(line, colon);
            return;
        }
        if (inFinding_)
            lines_.push_back(line);
    }

    void takeLocationLine(Range line, std::size_t colon) {
        finishFinding();
        if (failure_ != CompactReportFailure::None)
            return;
        int lineNumber = 0;
        int index = 0;
        if (!LocationScanner(text_, colon, line.end).scan(lineNumber, index)) {
            failure_ = CompactReportFailure::LocationScan;
            return;
        }
        // The message follows the comma after the line number and the one after the
        // column; a line without both belongs to no finding.
        std::size_t comma = findInLine(text_, ',', colon, line.end);
        if (comma != std::string_view::npos)
            comma = findInLine(text_, ',', comma + 1, line.end);
        if (comma == std::string_view::npos)
            return;
        std::size_t messageStart = comma + 1;
        if (messageStart < line.end && text_[messageStart] == ' ')
            ++messageStart;
        inFinding_ = true;
        lineNumber_ = lineNumber;
        index_ = index;
        lines_.push_back(Range{messageStart, line.end});
    }

    // Ends the finding begun by the last location line: finds its rule and joins its message.
    void finishFinding() {
        if (!inFinding_)
            return;
        inFinding_ = false;
        std::size_t ruleLine = lines_.size();
        for (std::size_t i = lines_.size(); i-- > 0;) {
            if (!lines_[i].empty() && text_[lines_[i].end - 1] == ')') {
                ruleLine = i;
                break;
            }
        }
        if (ruleLine == lines_.size()) {
            lines_.clear();
            return;
        }
        Range &last = lines_[ruleLine];
        std::size_t close = last.end - 1;
        std::size_t open = close;
        while (open > last.begin && text_[open - 1] != '(')
            --open;
        if (open == last.begin) {
            lines_.clear();
            return;
        }
        --open;
        CompactReportFinding finding;
        finding.line = lineNumber_;
        finding.index = index_;
        finding.ruleName = text_.substr(open + 1, close - open - 1);
        // The blank that textlint puts before the rule's parenthesis is not message text.
        last.end = open > last.begin && text_[open - 1] == ' ' ? open - 1 : open;
        finding.message = joinMessage(ruleLine);
        lines_.clear();
        if (finding.message.empty())
            failure_ = CompactReportFailure::EmptyMessage;
        else if (finding.ruleName.empty())
            failure_ = CompactReportFailure::EmptyRuleName;
        else if (!onFinding_(finding))
            failure_ = CompactReportFailure::Stopped;
    }

    // The message lines up to the rule's line: a single line is a view into the report;
    // more are joined by one blank each, empty ones left out.
    std::string_view joinMessage(std::size_t ruleLine) {
        std::size_t nonEmpty = 0;
        Range only;
        for (std::size_t i = 0; i <= ruleLine; ++i) {
            if (!lines_[i].empty()) {
                ++nonEmpty;
                only = lines_[i];
            }
        }
        if (nonEmpty <= 1)
            return text_.substr(only.begin, only.end - only.begin);
        joined_.clear();
        for (std::size_t i = 0; i <= ruleLine; ++i) {
            if (lines_[i].empty())
                continue;
            if (!joined_.empty())
                joined_ += ' ';
            joined_.append(text_.substr(lines_[i].begin, lines_[i].end - lines_[i].begin));
        }
        return joined_;
    }

    std::string_view text_;
    const CompactReportCallback &onFinding_;
    CompactReportFailure failure_ = CompactReportFailure::None;
    std::string joined_; // the last message over several lines
    std::string_view path_;
    bool havePath_ = false;
    bool inFinding_ = false;
    int lineNumber_ = 0;
    int index_ = 0;
    std::vector<Range> lines_; // message lines of the current finding
};

} // namespace

CompactReportFailure splitCompactReport(std::string_view report,
                                        const CompactReportCallback &onFinding) {
    return ReportSplitter(report, onFinding).split();
}

} // namespace quill

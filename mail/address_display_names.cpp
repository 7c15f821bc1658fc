// Reading an address list: one pass over the unfolded value that keeps the words of the
// phrase, the comments and the address of the mailbox it is in, and closes the mailbox at
// a comma or at the end of a group.
#include "mail/address_display_names.h"

#include "common/encoding.h"

namespace quill {

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// `text` with every run of blanks one space, and none at either end.
std::string collapsedBlanks(std::string_view text) {
    std::string out;
    bool pendingBlank = false;
    for (char c : text) {
        if (isBlank(c)) {
            pendingBlank = !out.empty();
            continue;
        }
        if (pendingBlank)
            out += ' ';
        pendingBlank = false;
        out += c;
    }
    return out;
}

// The text of a quoted string or comment that starts at `pos` with `open`, up to the
// `close` that matches it (comments nest; a backslash escapes the next character). `pos`
// ends past it, or at the end of a value that does not close it.
std::string delimitedText(std::string_view value, std::size_t &pos, char open, char close) {
    std::string text;
    int depth = 1;
    for (++pos; pos < value.size(); ++pos) {
        const char c = value[pos];
        if (c == '\\' && pos + 1 < value.size()) {
            text += value[++pos];
            continue;
        }
        if (c == close && --depth == 0) {
            ++pos;
            return text;
        }
        if (c == open && open != close)
            ++depth;
        text += c;
    }
    return text;
}

class AddressListReader {
  public:
    AddressListReader(std::string_view value, const CodePageToUtf8 &toUtf8)
        : value_(value), toUtf8_(toUtf8) {}

    std::vector<MailRecipient> read() {
        std::size_t pos = 0;
        while (pos < value_.size()) {
            const char c = value_[pos];
            if (c == '"') {
                addWord(delimitedText(value_, pos, '"', '"'));
            } else if (c == '(') {
                const std::string comment = delimitedText(value_, pos, '(', ')');
                if (comment_.empty())
                    comment_ = comment;
            } else if (c == '<') {
                const std::size_t close = value_.find('>', pos);
                const std::size_t end = close == std::string_view::npos ? value_.size() : close;
                address_ = collapsedBlanks(value_.substr(pos + 1, end - pos - 1));
                hasAngleAddress_ = true;
                pos = end == value_.size() ? end : end + 1;
            } else if (c == ':' && !hasAngleAddress_) {
                // The words so far name a group, which is nobody; its members follow.
                words_.clear();
                comment_.clear();
                ++pos;
            } else if (c == ',' || c == ';') {
                closeMailbox();
                ++pos;
            } else if (isBlank(c)) {
                wordBreak_ = true;
                ++pos;
            } else {
                if (wordBreak_ || words_.empty())
                    words_.emplace_back();
                wordBreak_ = false;
                words_.back() += c;
                ++pos;
            }
        }
        closeMailbox();
        return std::move(recipients_);
    }

  private:
    void addWord(std::string word) {
        words_.push_back(std::move(word));
        wordBreak_ = true;
    }

    std::string joinedWords(const char *separator) const {
        std::string joined;
        for (const std::string &word : words_) {
            if (!joined.empty())
                joined += separator;
            joined += word;
        }
        return joined;
    }

    std::string decoded(std::string_view text) const {
        return collapsedBlanks(decodeHeaderText(text, toUtf8_));
    }

    void closeMailbox() {
        MailRecipient recipient;
        if (hasAngleAddress_) {
            recipient.displayName = decoded(joinedWords(" "));
            recipient.address = address_;
        } else if (joinedWords("").find('@') != std::string::npos) {
            recipient.address = joinedWords("");
        } else {
            // Words without an address: a name the writer typed alone is still a name.
            recipient.displayName = decoded(joinedWords(" "));
        }
        if (recipient.displayName.empty() && !comment_.empty())
            recipient.displayName = decoded(comment_);
        if (!recipient.displayName.empty() || !recipient.address.empty())
            recipients_.push_back(std::move(recipient));
        words_.clear();
        comment_.clear();
        address_.clear();
        hasAngleAddress_ = false;
        wordBreak_ = false;
    }

    std::string_view value_;
    const CodePageToUtf8 &toUtf8_;
    std::vector<std::string> words_;
    std::string comment_;
    std::string address_;
    bool hasAngleAddress_ = false;
    bool wordBreak_ = false;
    std::vector<MailRecipient> recipients_;
};

// The value of a header line named `name` ("To", letter case ignored, blanks allowed
// before the colon); none for a line of another name.
std::optional<std::string_view> headerValue(std::string_view line, std::string_view name) {
    if (!startsWithIgnoringAsciiCase(line, name))
        return std::nullopt;
    std::size_t pos = name.size();
    while (pos < line.size() && (line[pos] == ' ' || line[pos] == '\t'))
        ++pos;
    if (pos >= line.size() || line[pos] != ':')
        return std::nullopt;
    return line.substr(pos + 1);
}

} // namespace

std::vector<MailRecipient> recipientsOfAddressList(std::string_view value,
                                                   const CodePageToUtf8 &toUtf8) {
    return AddressListReader(value, toUtf8).read();
}

std::vector<MailRecipient> toAndCcRecipients(const LineList &headerLines,
                                             const CodePageToUtf8 &toUtf8) {
    std::vector<MailRecipient> recipients;
    for (const std::string &line : headerLines) {
        std::optional<std::string_view> value = headerValue(line, "To");
        if (!value)
            value = headerValue(line, "Cc");
        if (!value)
            continue;
        for (MailRecipient &recipient : recipientsOfAddressList(*value, toUtf8))
            recipients.push_back(std::move(recipient));
    }
    return recipients;
}

} // namespace quill

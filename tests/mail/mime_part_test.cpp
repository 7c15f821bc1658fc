// The MIME parser: header, body and epilogue lines, delimiters, line breaks, long lines,
// nesting depth, and the Content-Type and parameter helpers.
#include "mail/mime_part.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace quill {
namespace {

using Lines = std::vector<std::string>;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

std::unique_ptr<MimePart> parse(const std::string &source) {
    auto part = std::make_unique<MimePart>();
    const char *cursor = source.c_str();
    parseMimePart(*part, cursor, nullptr);
    return part;
}

Lines lines(const LineList &list) {
    return Lines(list.begin(), list.end());
}

std::string joined(const LineList &list) {
    std::string all;
    for (const std::string &line : list)
        all += line;
    return all;
}

TEST(MimeParse, SinglePartKeepsHeaderBodyAndContentType) {
    auto part = parse("Subject: a\r\nContent-Type: text/plain; charset=UTF-8\r\n\r\n"
                      "line1\r\nline2\r\n");
    EXPECT_EQ(part->type, "text");
    EXPECT_EQ(part->subtype, "plain");
    EXPECT_THAT(
        lines(part->headerLines),
        ElementsAre("Subject: a\r\n", "Content-Type: text/plain; charset=UTF-8\r\n", "\r\n"));
    EXPECT_THAT(lines(part->bodyLines), ElementsAre("line1\r\n", "line2\r\n"));
    EXPECT_EQ(getContentTypeValue(*part), "text/plain; charset=UTF-8\r\n");
    EXPECT_FALSE(part->boundary);
    EXPECT_EQ(part->firstChild, nullptr);
}

TEST(MimeParse, FoldedContentTypeIsOneHeaderLineWithItsQuotedBoundary) {
    auto part = parse("Content-Type: multipart/alternative;\r\n\tboundary=\"b=1 x\"\r\n\r\n");
    EXPECT_THAT(
        lines(part->headerLines),
        ElementsAre("Content-Type: multipart/alternative;\r\n\tboundary=\"b=1 x\"\r\n", "\r\n"));
    EXPECT_EQ(part->subtype, "alternative");
    EXPECT_EQ(part->boundary, "b=1 x");
}

TEST(MimeParse, MultipartKeepsPreambleAndChildrenButNotTheEpilogue) {
    auto part = parse("Content-Type: multipart/mixed; BOUNDARY=xy\r\n\r\n"
                      "preamble\r\n--xy\r\nContent-Type: text/plain\r\n\r\none\r\n-- \r\n"
                      "--xy\r\n\r\ntwo\r\n--xy--\r\nepilogue\r\n");
    EXPECT_THAT(lines(part->bodyLines), ElementsAre("preamble\r\n"));
    ASSERT_NE(part->firstChild, nullptr);
    const MimePart &first = *part->firstChild;
    EXPECT_EQ(first.subtype, "plain");
    EXPECT_THAT(lines(first.bodyLines), ElementsAre("one\r\n", "-- \r\n"));
    ASSERT_NE(first.nextSibling, nullptr);
    EXPECT_THAT(lines(first.nextSibling->bodyLines), ElementsAre("two\r\n"));
    EXPECT_EQ(first.nextSibling->nextSibling, nullptr);
    EXPECT_THAT(lines(first.nextSibling->trailerLines), IsEmpty());
}

TEST(MimeParse, NestedMultipartKeepsItsEpilogueAndHandsBackTheOuterDelimiter) {
    auto part = parse("Content-Type: multipart/mixed; boundary=out\r\n\r\n"
                      "--out\r\nContent-Type: multipart/alternative; boundary=in\r\n\r\n"
                      "--in\r\n\r\ninner\r\n--in--\r\nafter inner\r\nxxout\r\n"
                      "--out\r\n\r\nlast\r\n--out--\r\n");
    const MimePart &nested = *part->firstChild;
    EXPECT_THAT(lines(nested.firstChild->bodyLines), ElementsAre("inner\r\n"));
    EXPECT_THAT(lines(nested.trailerLines), ElementsAre("after inner\r\n", "xxout\r\n"));
    ASSERT_NE(nested.nextSibling, nullptr);
    EXPECT_THAT(lines(nested.nextSibling->bodyLines), ElementsAre("last\r\n"));
    EXPECT_THAT(lines(part->bodyLines), IsEmpty());
}

TEST(MimeParse, LineBreaksBecomeCrLfAndTheLastLineStaysAsItIs) {
    struct Case {
        const char *source;
        Lines body;
    };
    const Case cases[] = {
        {"\nlf\ncr\rcrcrlf\r\r\nend", {"lf\r\n", "cr\r\n", "crcrlf\r\n", "\r\n", "end"}},
        {"\r\nonly", {"only"}},
        {"\r\n--", {"--"}},
        {"Content-Type: multipart/mixed; boundary=b\r\n\r\npre\r\n--other", {"pre\r\n", "--other"}},
        {"Subject: x\r\n--b\r\nno empty line\r\n", {}},
        {"", {}},
    };
    for (const Case &c : cases)
        EXPECT_EQ(lines(parse(c.source)->bodyLines), c.body) << c.source;
}

TEST(MimeParse, OverlongLinesAreSplitWithoutLosingABytes) {
    std::string longLine(MIME_LINE_CONTENT_MAX + 4465, 'a');
    longLine[MIME_LINE_CONTENT_MAX] = 'b';
    std::string exact(MIME_LINE_CONTENT_MAX, 'c');
    auto part = parse("\r\n" + longLine + "\r\n" + exact + "\r\nend\r\n");
    ASSERT_EQ(part->bodyLines.size(), 4u);
    EXPECT_EQ(part->bodyLines[0].size(), MIME_LINE_CONTENT_MAX);
    EXPECT_EQ(part->bodyLines[1].front(), 'b');
    EXPECT_EQ(joined(part->bodyLines), longLine + "\r\n" + exact + "\r\nend\r\n");

    // A folded header past the limit: the rest of the cut continuation is the next line.
    std::string header = "Content-Type: text/plain;\r\n\t" + std::string(70000, 'p') +
                         "\r\n\tcharset=x\r\nSubject: s\r\n\r\n";
    part = parse(header + "body\r\n");
    EXPECT_EQ(part->headerLines[0].size(), MIME_LINE_CONTENT_MAX);
    EXPECT_EQ(joined(part->headerLines), header);
    EXPECT_THAT(lines(part->bodyLines), ElementsAre("body\r\n"));
}

TEST(MimeParse, DeepNestingIsBoundedAndReleasedWithoutExhaustingTheStack) {
    const int levels = 100000;
    std::string source;
    for (int i = 0; i < levels; ++i)
        source += "Content-Type: multipart/mixed; boundary=b" + std::to_string(i) + "x\r\n\r\n--b" +
                  std::to_string(i) + "x\r\n";
    source += "\r\ntext\r\n";
    auto part = parse(source);
    int depth = 1;
    const MimePart *deepest = part.get();
    while (deepest->firstChild) {
        deepest = deepest->firstChild.get();
        ++depth;
    }
    EXPECT_EQ(depth, MIME_NESTING_MAX);
    ASSERT_FALSE(deepest->bodyLines.empty());
    EXPECT_EQ(deepest->bodyLines[0], "--b" + std::to_string(MIME_NESTING_MAX - 1) + "x\r\n");
    EXPECT_EQ(deepest->bodyLines.size(), 3u * (levels - MIME_NESTING_MAX) + 3);

    std::string siblings = "Content-Type: multipart/mixed; boundary=s\r\n\r\n";
    for (int i = 0; i < levels; ++i)
        siblings += "--s\r\n\r\n";
    part = parse(siblings);
    destroyMimePart(*part);
    EXPECT_EQ(part->firstChild, nullptr);
}

TEST(MimeParse, ContentTypeTokensAndOverrides) {
    auto part = parse("Content-Type: text/plain\r\nContent-Type:  " + std::string(50, 't') + "/" +
                      std::string(45, 's') + "\r\ncontent-type: justtype\r\n\r\n");
    EXPECT_EQ(part->type, std::string(40, 't'));
    EXPECT_EQ(part->subtype, std::string(40, 's'));
    EXPECT_EQ(getContentTypeValue(*part), "text/plain\r\n");

    part = parse("Content-Type : text/html\r\nX: " + std::string(200, 'v') + "\r\n\r\n");
    EXPECT_EQ(getContentTypeValue(*part), "");
    part = parse("CONTENT-TYPE:\t" + std::string(200, 'v') + "\r\n\r\n");
    EXPECT_EQ(getContentTypeValue(*part), std::string(127, 'v'));
}

TEST(MimeParameter, SplitsOneNameValuePairInPlace) {
    struct Case {
        const char *text;
        const char *name;
        const char *value;
        const char *rest;
    };
    const Case cases[] = {
        {"charset=UTF-8; format=flowed", "charset", "UTF-8", "format=flowed"},
        {" ;\r\n\tcharset=\"ISO-2022-JP\" ;x=1", "charset", "ISO-2022-JP", "x=1"},
        {"a=\"\"", "a", "", ""},
        {"a=\"open; b=c", "a", "open; b=c", ""},
        {"name = \t value\rnext", "name ", "value", "next"},
        {"a=b", "a", "b", ""},
    };
    for (const Case &c : cases) {
        std::string text = c.text;
        char *name = nullptr;
        char *value = nullptr;
        char *rest = parseMimeParameter(text.data(), &name, &value);
        ASSERT_NE(rest, nullptr) << c.text;
        EXPECT_STREQ(name, c.name) << c.text;
        EXPECT_STREQ(value, c.value) << c.text;
        EXPECT_STREQ(rest, c.rest) << c.text;
    }
    std::string none = "no equals; here";
    char *name = none.data();
    char *value = none.data();
    EXPECT_EQ(parseMimeParameter(none.data(), &name, &value), nullptr);
    EXPECT_EQ(name, nullptr);
    EXPECT_EQ(value, nullptr);
}

TEST(MimeReadLine, StoresOneLfAndNeverWritesPastTheBuffer) {
    std::string source = "abcdef\r\ngh";
    const char *cursor = source.c_str();
    char buffer[6] = {'x', 'x', 'x', 'x', 'x', 'x'};
    EXPECT_EQ(readMimeLine(cursor, buffer, 5), 3u);
    EXPECT_STREQ(buffer, "abc");
    EXPECT_EQ(buffer[5], 'x');
    EXPECT_EQ(readMimeLine(cursor, buffer, 6), 4u);
    EXPECT_STREQ(buffer, "def\n");
    EXPECT_EQ(readMimeLine(cursor, buffer, 6), 2u);
    const char *end = cursor;
    EXPECT_EQ(readMimeLine(cursor, buffer, 6), 0u);
    EXPECT_EQ(cursor, end);
}

} // namespace
} // namespace quill
